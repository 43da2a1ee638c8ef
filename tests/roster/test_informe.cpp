#include <QtTest>
class TestInforme : public QObject {
    Q_OBJECT
};
QTEST_GUILESS_MAIN(TestInforme)
#include "test_informe.moc"
