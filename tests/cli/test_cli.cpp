// The headless commands as a user runs them: the real program, real files, exit codes.

#include "DiscoLleno.h"
#include "FicherosPrueba.h"
#include "TestSupport.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
struct Result {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// The program run as a user runs it, with no display to open a window on; preparar
// sets up the process further (its standard output, a file size limit).
Result Run(const QStringList& args, const std::function<void(QProcess&)>& preparar = {},
           const QString& programa = QStringLiteral(DV_EXE)) {
    QProcess p;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.remove("DISPLAY");
    entorno.remove("WAYLAND_DISPLAY");
    entorno.remove("QT_QPA_PLATFORM");
    p.setProcessEnvironment(entorno);
    if (preparar)
        preparar(p);
    p.start(programa, args);
    p.waitForFinished(120000);
    const int code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return {code, p.readAllStandardOutput(), p.readAllStandardError()};
}

// A database of some other program.
bool BaseAjena(const QString& ruta) {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(QFile::encodeName(ruta).constData(), &db) == SQLITE_OK &&
              sqlite3_exec(db, "CREATE TABLE notas (id INTEGER); INSERT INTO notas VALUES (1)",
                           nullptr, nullptr, nullptr) == SQLITE_OK;
    return sqlite3_close(db) == SQLITE_OK && ok;
}

// One line on standard error, naming the command.
bool UnaLinea(const QByteArray& err, const QByteArray& empieza) {
    return err.startsWith(empieza) && err.count('\n') == 1 && err.endsWith('\n');
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

using DvTest::Contenido;

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
        const Result r =
            Run({"informe", "--bd", m_db, "--mes", "3", "--anio", m_anio, "--servicio", "1"});
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
        Result r = Run({"informe", "--bd", m_db, "--mes", "13", "--anio", m_anio, "--servicio", "1",
                        "--salida", salida});
        QCOMPARE(r.code, 2);
        QVERIFY(!QFile::exists(salida));
        r = Run({"informe", "--bd", Path("falta.mdb"), "--mes", "1", "--anio", m_anio, "--servicio",
                 "1", "--salida", salida});
        QCOMPARE(r.code, 1);
        QVERIFY(!QFile::exists(salida));
        r = Run({"informe", "--bd", m_db, "--clave", "otra", "--mes", "1", "--anio", m_anio,
                 "--servicio", "1", "--salida", salida});
        QCOMPARE(r.code, 1);
        QVERIFY(!QFile::exists(salida));
        r = Run({"planilla", "--bd", m_db, "--mes", "1", "--anio", m_anio, "--servicio", "NoExiste",
                 "--formato", "json", "--salida", salida});
        QCOMPARE(r.code, 2);
        QVERIFY(!QFile::exists(salida));
    }

    void planillaJsonAndCsv() {
        const QString json = Path("planilla.json");
        Result r = Run({"planilla", "--bd", m_db, "--mes", m_mes, "--anio", m_anio, "--servicio",
                        "1", "--formato", "json", "--salida", json});
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
        QMap<int, int> days;
        for (const QString& page : pages) {
            if (page.trimmed().isEmpty())
                continue;
            QVERIFY2(page.contains("Febrero " + m_anio), qPrintable(page.left(200)));
            // Every sheet: the week's headings whole and the legend at its foot.
            for (const char* word :
                 {"Lunes", "Martes", "Miércoles", "Jueves", "Viernes", "Sábado", "Domingo",
                  "Vacaciones", "Baja", "Día personal", "Domingo o festivo", "Impreso el "})
                QVERIFY2(page.contains(QString::fromUtf8(word)), word);
            for (const QString& word : page.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts)) {
                bool ok = false;
                const int n = word.toInt(&ok);
                if (ok && n >= 1 && n <= 31 && word == QString::number(n))
                    ++days[n];
            }
        }
        // February's day numbers once each, nothing beyond its last day.
        const int last = QDate(m_anio.toInt(), 2, 1).daysInMonth();
        for (int d = 1; d <= last; ++d)
            QVERIFY2(days.value(d) == 1,
                     qPrintable(QString("day %1: %2").arg(d).arg(days.value(d))));
        QCOMPARE(days.value(last + 1), 0);
    }

    void helpAndVersion() {
        Result r = Run({"--help"});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.startsWith("Uso: dravonela"));
        for (const char* orden : {"crear-bd", "informe", "planilla"})
            QVERIFY(r.out.contains(QByteArray("\n  ") + orden + " "));
        QVERIFY(r.err.isEmpty());
        r = Run({"--version"});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, QByteArray("Dravonela versión " DV_VERSION "\n"));
        // Each command's own text, also when other arguments come first.
        for (const QStringList& args :
             {QStringList{"crear-bd", "--help"}, QStringList{"informe", "--mes", "3", "--help"},
              QStringList{"planilla", "-h"}}) {
            r = Run(args);
            QCOMPARE(r.code, 0);
            QVERIFY2(r.out.startsWith("Uso: dravonela " + args[0].toLatin1() + " "), r.out);
            QVERIFY(r.err.isEmpty());
        }
    }

    void unknownCommandsAndOptionsGetTheUsage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("mensaje");
        QTest::addColumn<QByteArray>("uso");
        QTest::newRow("orden") << QStringList{"infrome"}
                               << QByteArray("dravonela: orden desconocida: infrome")
                               << QByteArray("Uso: dravonela [");
        QTest::newRow("opción") << QStringList{"--ayudame"}
                                << QByteArray("dravonela: argumento no reconocido: --ayudame")
                                << QByteArray("Uso: dravonela [");
        QTest::newRow("de informe")
            << QStringList{"informe", "--bd", m_db, "--mess", "3"}
            << QByteArray("dravonela informe: argumento no reconocido: --mess")
            << QByteArray("Uso: dravonela informe ");
        QTest::newRow("sin valor") << QStringList{"planilla", "--formato"}
                                   << QByteArray("dravonela planilla: falta el valor de --formato")
                                   << QByteArray("Uso: dravonela planilla ");
        QTest::newRow("palabra de más")
            << QStringList{"crear-bd", Path("x.mdb"), "otra"}
            << QByteArray("dravonela crear-bd: argumento no reconocido: otra")
            << QByteArray("Uso: dravonela crear-bd ");
    }

    void unknownCommandsAndOptionsGetTheUsage() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, mensaje);
        QFETCH(QByteArray, uso);
        const Result r = Run(args);
        QCOMPARE(r.code, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.startsWith(mensaje + "\n" + uso), r.err);
        QVERIFY(!QFile::exists(Path("x.mdb")));
    }

    // The window program's own switches still open the window: it keeps running until
    // it is closed. The program copied beside a database of its own, so nothing of the
    // build is touched.
    void windowSwitchesStillOpenTheWindow() {
        const QString carpeta = Path("ventana");
        QVERIFY(QDir().mkpath(carpeta));
        const QString programa = carpeta + "/dravonela";
        QVERIFY(::link(DV_EXE, QFile::encodeName(programa).constData()) == 0 ||
                QFile::copy(DV_EXE, programa));
        QVERIFY(QFile::copy(m_db, carpeta + "/ostrevan.mdb"));
        for (const QStringList& args : {QStringList{"-platform", "offscreen"},
                                        QStringList{"--platform", "offscreen", "-reverse"},
                                        QStringList{"-platform", "offscreen", "-Automation"}}) {
            QProcess p;
            p.start(programa, args);
            QVERIFY(p.waitForStarted());
            QVERIFY2(!p.waitForFinished(1500),
                     qPrintable(args.join(' ') + ": " + p.readAllStandardError()));
            p.kill();
            p.waitForFinished();
        }

        // Another program's database in its place: refused before any window, untouched.
        QVERIFY(QFile::remove(carpeta + "/ostrevan.mdb"));
        QVERIFY(BaseAjena(carpeta + "/ostrevan.mdb"));
        const QByteArray antes = ReadAll(carpeta + "/ostrevan.mdb");
        const Result r = Run({"-platform", "offscreen"}, {}, programa);
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains("no es una base de datos de Dravonela"), r.err);
        QCOMPARE(ReadAll(carpeta + "/ostrevan.mdb"), antes);
        QCOMPARE(Contenido(carpeta), QStringList({"dravonela", "ostrevan.mdb"}));
    }

    void outputThatIsTheDatabaseIsRefused() {
        const QString carpeta = Path("propia");
        QVERIFY(QDir().mkpath(carpeta));
        const QString bd = carpeta + "/demo.mdb";
        QVERIFY(QFile::copy(m_db, bd));
        QVERIFY(QFile::link(bd, carpeta + "/enlace.csv"));
        QVERIFY(::link(QFile::encodeName(bd).constData(),
                       QFile::encodeName(carpeta + "/duro.csv").constData()) == 0);
        const QByteArray antes = ReadAll(bd);
        for (const QString& salida : {bd, carpeta + "/../propia/./demo.mdb",
                                      carpeta + "/enlace.csv", carpeta + "/duro.csv"}) {
            const QStringList comun{"--bd", bd,           "--mes", m_mes,      "--anio",
                                    m_anio, "--servicio", "1",     "--salida", salida};
            for (const QStringList& args : {QStringList{"informe"} + comun,
                                            QStringList{"planilla", "--formato", "pdf"} + comun}) {
                const Result r = Run(args);
                QCOMPARE(r.code, 2);
                QVERIFY2(UnaLinea(r.err, "dravonela " + args[0].toLatin1() +
                                             ": No se puede escribir sobre la base de datos: " +
                                             QFile::encodeName(salida)),
                         r.err);
                QCOMPARE(ReadAll(bd), antes);
            }
        }
        QCOMPARE(Contenido(carpeta), QStringList({"demo.mdb", "duro.csv", "enlace.csv"}));
    }

    void outputThatIsNoRegularFileIsRefused() {
        const QString carpeta = Path("especiales");
        QVERIFY(QDir().mkpath(carpeta));
        const QString fifo = carpeta + "/tuberia";
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);
        for (const QString& salida : {carpeta, fifo, QString("/dev/null")}) {
            const Result r = Run({"informe", "--bd", m_db, "--mes", m_mes, "--anio", m_anio,
                                  "--servicio", "1", "--salida", salida});
            QCOMPARE(r.code, 2);
            QVERIFY2(UnaLinea(r.err, "dravonela informe: No se puede escribir en " +
                                         QFile::encodeName(salida) + ": "),
                     r.err);
        }
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(fifo).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
        QCOMPARE(Contenido(carpeta), QStringList{"tuberia"});
    }

    void fullDiskKeepsThePreviousFile_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("informe") << QStringList{"informe"};
        QTest::newRow("csv") << QStringList{"planilla", "--formato", "csv"};
        QTest::newRow("json") << QStringList{"planilla", "--formato", "json"};
        QTest::newRow("pdf") << QStringList{"planilla", "--formato", "pdf"};
    }

    void fullDiskKeepsThePreviousFile() {
        QFETCH(QStringList, args);
        const QString carpeta = Path(QStringLiteral("lleno-") + QTest::currentDataTag());
        const QByteArray antes = "el fichero del mes pasado\r\n";
        DvTest::CDiscoLleno disco;
        QVERIFY(disco.Preparar(carpeta, {{"salida", antes}}));
        const QStringList inicial = Contenido(carpeta);
        const Result r = Run(args + QStringList{"--bd", m_db, "--mes", m_mes, "--anio", m_anio,
                                                "--servicio", "1", "--salida", carpeta + "/salida"},
                             [&disco](QProcess& p) { disco.Aplicar(p); });
        QCOMPARE(r.code, 1);
        QVERIFY2(UnaLinea(r.err, "dravonela " + args[0].toLatin1() +
                                     ": No se pudo escribir el "
                                     "fichero "),
                 r.err);
        QCOMPARE(ReadAll(carpeta + "/salida"), antes);
        QCOMPARE(Contenido(carpeta), inicial);
    }

    void informeOnStandardOutputThatCannotTakeIt() {
        const QStringList args{"informe", "--bd", m_db,         "--mes", m_mes,
                               "--anio",  m_anio, "--servicio", "1"};
        Result r = Run(args, [](QProcess& p) { p.setStandardOutputFile("/dev/full"); });
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err, QByteArray("dravonela informe: No se pudo escribir en la salida "
                                   "estándar: no queda espacio en el disco\n"));
        // "-" as the file: the report file's bytes, on standard output.
        r = Run(args + QStringList{"--salida", "-"});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.startsWith("INFORME MES "));
        QCOMPARE(r.out.count('\n'), r.out.count("\r\n"));
    }

    void crearBdClearsWhatKilledRunsLeft() {
        const QString carpeta = Path("crear");
        QVERIFY(QDir().mkpath(carpeta));
        // A run of this version and one of an earlier version, both killed part-way; a
        // file of the user's that only looks alike.
        for (const char* nombre : {".nueva.mdb.dvtmp-Ab12Cd", ".nueva.mdb.Ab12Cd"})
            QVERIFY(QFile(carpeta + "/" + nombre).open(QIODevice::WriteOnly));
        {
            QFile f(carpeta + "/.nueva.mdb.copia1");
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("del usuario");
        }
        const Result r = Run({"crear-bd", carpeta + "/nueva.mdb"});
        QCOMPARE(r.code, 0);
        QCOMPARE(Contenido(carpeta), QStringList({".nueva.mdb.copia1", "nueva.mdb"}));
    }

    void anotherProgramsDatabaseIsRefused() {
        const QString carpeta = Path("ajena");
        QVERIFY(QDir().mkpath(carpeta));
        const QString bd = carpeta + "/notas.db";
        QVERIFY(BaseAjena(bd));
        const QByteArray antes = ReadAll(bd);
        const QStringList comun{"--bd", bd, "--mes", m_mes, "--anio", m_anio, "--servicio", "1"};
        for (const QStringList& args :
             {QStringList{"informe"} + comun,
              QStringList{"planilla", "--formato", "csv", "--salida", carpeta + "/p.csv"} +
                  comun}) {
            const Result r = Run(args);
            QCOMPARE(r.code, 1);
            QVERIFY2(UnaLinea(r.err, "dravonela " + args[0].toLatin1() + ": El fichero " +
                                         QFile::encodeName(bd) +
                                         " no es una base de datos de Dravonela"),
                     r.err);
            QCOMPARE(ReadAll(bd), antes);
            QCOMPARE(Contenido(carpeta), QStringList{"notas.db"});
        }
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "test_cli.moc"
