#include <QtTest>
class TestMotor : public QObject {
    Q_OBJECT
};
QTEST_GUILESS_MAIN(TestMotor)
#include "test_motor.moc"
