// The headless commands as a user runs them: the real program, real files, exit codes.

#include "TestSupport.h"

#include <QDate>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct Result {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

Result Run(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(DV_EXE), args);
    p.waitForFinished(120000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class CliTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_db;
    QString m_mes;
    QString m_anio;

    QString Path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_db = Path("demo.mdb");
        const Result r = Run({"crear-bd", m_db, "--demo"});
        QCOMPARE(r.code, 0);
        QVERIFY(QFile::exists(m_db));
        const QDate hoy = QDate::currentDate();
        m_mes = QString::number(hoy.month());
        m_anio = QString::number(hoy.year());
    }

    void crearBdRefusesToOverwrite() {
        const QByteArray before = ReadAll(m_db);
        const Result r = Run({"crear-bd", m_db});
        QVERIFY(r.code != 0);
        QVERIFY(!r.err.isEmpty());
        QCOMPARE(ReadAll(m_db), before);
    }

    void informeOnStandardOutputAndAsFile() {
        const Result r = Run({"informe", "--bd", m_db, "--mes", "3", "--anio", m_anio,
                              "--servicio", "1"});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.startsWith("INFORME MES Marzo DE " + m_anio.toLatin1() + " DEL SERVICIO "));

        const QString salida = Path("informe.csv");
        const Result f = Run({"informe", "--bd", m_db, "--mes", m_mes, "--anio", m_anio,
                              "--servicio", "1", "--salida", salida});
        QCOMPARE(f.code, 0);
        const QByteArray bytes = ReadAll(salida);
        QVERIFY(bytes.contains("\r\n"));
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        // Every line break is CR LF, and the accented names of the demo are single bytes.
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QVERIFY(QString::fromUtf8(bytes).contains(QChar::ReplacementCharacter));
    }

    void badArgumentsWriteNothing() {
        const QString salida = Path("no.csv");
        Result r = Run({"informe", "--bd", m_db, "--mes", "13", "--anio", m_anio, "--servicio",
                        "1", "--salida", salida});
        QCOMPARE(r.code, 2);
        QVERIFY(!QFile::exists(salida));
        r = Run({"informe", "--bd", Path("falta.mdb"), "--mes", "1", "--anio", m_anio,
                 "--servicio", "1", "--salida", salida});
        QCOMPARE(r.code, 1);
        QVERIFY(!QFile::exists(salida));
        r = Run({"informe", "--bd", m_db, "--clave", "otra", "--mes", "1", "--anio", m_anio,
                 "--servicio", "1", "--salida", salida});
        QCOMPARE(r.code, 1);
        QVERIFY(!QFile::exists(salida));
        r = Run({"planilla", "--bd", m_db, "--mes", "1", "--anio", m_anio, "--servicio",
                 "NoExiste", "--formato", "json", "--salida", salida});
        QCOMPARE(r.code, 2);
        QVERIFY(!QFile::exists(salida));
    }

    void planillaJsonAndCsv() {
        const QString json = Path("planilla.json");
        Result r = Run({"planilla", "--bd", m_db, "--mes", m_mes, "--anio", m_anio,
                        "--servicio", "1", "--formato", "json", "--salida", json});
        QCOMPARE(r.code, 0);
        const QJsonObject doc = QJsonDocument::fromJson(ReadAll(json)).object();
        QCOMPARE(doc.value("columnas").toInt(), 14);
        QVERIFY(doc.value("filas").toInt() > 0);
        QVERIFY(!doc.value("celdas").toArray().isEmpty());

        const QString csv = Path("planilla.csv");
        r = Run({"planilla", "--bd", m_db, "--mes", m_mes, "--anio", m_anio, "--servicio", "1",
                 "--formato", "csv", "--salida", csv});
        QCOMPARE(r.code, 0);
        const QByteArray bytes = ReadAll(csv);
        QVERIFY(bytes.startsWith("Lunes;"));
        QVERIFY(bytes.contains("Mi\xE9rcoles")); // Windows-1252 é
    }

    void planillaPdfHasTheTitleOnEveryPage() {
        const QString pdf = Path("planilla.pdf");
        const Result r = Run({"planilla", "--bd", m_db, "--mes", "2", "--anio", m_anio,
                              "--servicio", "1", "--formato", "pdf", "--salida", pdf});
        QCOMPARE(r.code, 0);
        QVERIFY(ReadAll(pdf).startsWith("%PDF"));
        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed");
        QProcess p;
        p.start(pdftotext, {pdf, "-"});
        QVERIFY(p.waitForFinished(60000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        const QStringList pages = text.split(QChar('\f'), Qt::SkipEmptyParts);
        QVERIFY(!pages.isEmpty());
        for (const QString& page : pages)
            if (!page.trimmed().isEmpty())
                QVERIFY2(page.contains("Febrero " + m_anio), qPrintable(page.left(200)));
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "test_cli.moc"
