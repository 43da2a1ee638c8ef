// The database password of the settings file: whatever characters it holds, it reads
// back as written, also after the program writes another value of the file.

#include "Settings.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

namespace {
QString Fichero() {
    return QSettings(DvSettings::Organisation, DvSettings::Application).fileName();
}

void Escribir(const QByteArray& texto) {
    QDir().mkpath(QFileInfo(Fichero()).absolutePath());
    QFile f(Fichero());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(texto);
}

QByteArray Leer() {
    QFile f(Fichero());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestSettingsClave : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DvTest::IsolateSettings(); }

    void passwordSurvivesAsWritten_data() {
        QTest::addColumn<QByteArray>("linea");
        QTest::addColumn<QString>("clave");
        QTest::newRow("coma") << QByteArray("DB_PASS=a,b") << "a,b";
        QTest::newRow("punto y coma") << QByteArray("DB_PASS=a;b") << "a;b";
        QTest::newRow("ambos y blancos") << QByteArray("DB_PASS = x, y ;z") << "x, y ;z";
        QTest::newRow("acentos") << QByteArray("DB_PASS=ñandú,río")
                                 << QString::fromUtf8("ñandú,río");
        // What older files hold reads as it always did.
        QTest::newRow("simple") << QByteArray("DB_PASS=pradoluminar") << "pradoluminar";
        QTest::newRow("entre comillas") << QByteArray("DB_PASS=\"c,d\"") << "c,d";
        QTest::newRow("vacía") << QByteArray("DB_PASS=") << "";
    }

    void passwordSurvivesAsWritten() {
        QFETCH(QByteArray, linea);
        QFETCH(QString, clave);
        Escribir("[CONFIG]\n" + linea + "\nIDIOMA=5\nTAM_FUENTE=12\n[Otra]\nDB_PASS=no,esta\n");
        QCOMPARE(DvSettings::DbPassword(), clave);
        // The program writes IDIOMA back: the password stays the same text.
        DvSettings::ForgetIdioma();
        QCOMPARE(DvSettings::Idioma(), 0);
        QVERIFY(Leer().contains("IDIOMA=0"));
        QCOMPARE(DvSettings::DbPassword(), clave);
        QCOMPARE(QSettings(DvSettings::Organisation, DvSettings::Application)
                     .value("CONFIG/DB_PASS")
                     .toString(),
                 clave);
        DvSettings::WriteInt("TAM_LINEA", 20);
        QCOMPARE(DvSettings::DbPassword(), clave);
        QCOMPARE(DvSettings::TamFuente(), 12);
        // A plain password is kept on its line exactly as it was.
        if (QByteArray(QTest::currentDataTag()) == "simple")
            QVERIFY(Leer().contains("\nDB_PASS=pradoluminar\n"));
    }

    void anyPasswordWrittenReadsBack() {
        Escribir("");
        for (const QString& clave :
             {QString("p;q,r"), QString("\"entre\""), QString(" blanco "), QString("barra\\n")}) {
            DvSettings::WriteText("DB_PASS", clave);
            DvSettings::WriteInt("IDIOMA", 1);
            QCOMPARE(DvSettings::DbPassword(), clave);
        }
    }
};

QTEST_GUILESS_MAIN(TestSettingsClave)
#include "test_settings_clave.moc"
