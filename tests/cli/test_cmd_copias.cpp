// "copia", "comprobar" and "restaurar" as a planner runs them: the real program on real
// files, their messages and exit codes.

#include "FicherosPrueba.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

namespace {
struct Result {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

Result Run(const QStringList& args) {
    QProcess p;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.remove("DISPLAY");
    entorno.remove("QT_QPA_PLATFORM");
    p.setProcessEnvironment(entorno);
    p.start(QStringLiteral(DV_EXE), args);
    p.waitForFinished(120000);
    const int code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return {code, p.readAllStandardOutput(), p.readAllStandardError()};
}

QString Valor(const QString& ruta, const char* sql) {
    sqlite3* db = nullptr;
    QString valor;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(ruta).constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
            SQLITE_OK &&
        sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        valor = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return valor;
}

// Bytes overwritten at the start of the page of PERSONAL's b-tree.
bool Danar(const QString& ruta) {
    const int pagina =
        Valor(ruta, "SELECT rootpage FROM sqlite_master WHERE name = 'PERSONAL'").toInt();
    QFile f(ruta);
    if (pagina < 2 || !f.open(QIODevice::ReadWrite))
        return false;
    f.seek(qint64(pagina - 1) * 4096);
    return f.write(QByteArray(32, '\x5A')) == 32;
}
} // namespace

class TestCmdCopias : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        DvTest::IsolateSettings();
        QVERIFY(m_dir.isValid());
        m_bd = m_dir.filePath(QStringLiteral("planilla.mdb"));
        QCOMPARE(Run({"crear-bd", m_bd, "--demo"}).code, 0);
    }
    void copiaYComprobar();
    void danadaYRestaurada();
    void usoIncorrecto();

private:
    QTemporaryDir m_dir;
    QString m_bd;
};

void TestCmdCopias::copiaYComprobar() {
    Result r = Run({"comprobar", "--bd", m_bd});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, QByteArray("Correcta\n"));

    // Beside the database by default.
    r = Run({"copia", "--bd", m_bd});
    QCOMPARE(r.code, 0);
    const QString hecha = QString::fromLocal8Bit(r.out.trimmed());
    QCOMPARE(QFileInfo(hecha).absolutePath(),
             QDir(m_dir.path()).filePath(QStringLiteral("copias")));
    QVERIFY2(QRegularExpression(QStringLiteral("^ostrevan-\\d{8}-\\d{6}(-\\d+)?\\.mdb$"))
                 .match(QFileInfo(hecha).fileName())
                 .hasMatch(),
             qPrintable(hecha));
    QCOMPARE(Run({"comprobar", "--bd", hecha}).code, 0);
    QCOMPARE(Valor(hecha, "SELECT count(*) FROM PERSONAL"),
             Valor(m_bd, "SELECT count(*) FROM PERSONAL"));

    // Into a folder of one's choosing, made when missing.
    const QString destino = m_dir.filePath(QStringLiteral("otras/copias"));
    r = Run({"copia", "--bd", m_bd, "--destino", destino});
    QCOMPARE(r.code, 0);
    QCOMPARE(QDir(destino).entryList(QDir::Files).size(), 1);

    // A file that is not there.
    r = Run({"copia", "--bd", m_dir.filePath(QStringLiteral("no.mdb"))});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.startsWith("dravonela copia: No se hizo la copia de seguridad"));
}

void TestCmdCopias::danadaYRestaurada() {
    const QString bd = m_dir.filePath(QStringLiteral("danada.mdb"));
    QVERIFY(QFile::copy(m_bd, bd));
    const QString carpeta = m_dir.filePath(QStringLiteral("copias-danada"));
    Result r = Run({"copia", "--bd", bd, "--destino", carpeta});
    QCOMPARE(r.code, 0);
    const QString copia = QString::fromLocal8Bit(r.out.trimmed());
    QVERIFY(Danar(bd));
    const QByteArray danada = DvTest::Leer(bd);

    r = Run({"comprobar", "--bd", bd});
    QCOMPARE(r.code, 1);
    QVERIFY(!r.out.contains("Correcta"));
    QVERIFY2(r.out.contains("dañad"), r.out.constData());
    {
        // A page whose cells are all overwritten: a few findings a line, then how many more.
        const QString muyDanada = m_dir.filePath(QStringLiteral("muy-danada.mdb"));
        QVERIFY(QFile::copy(m_bd, muyDanada));
        const int pagina =
            Valor(muyDanada, "SELECT rootpage FROM sqlite_master WHERE name = 'PERSONAL'").toInt();
        QFile f(muyDanada);
        QVERIFY(pagina >= 2 && f.open(QIODevice::ReadWrite));
        f.seek(qint64(pagina - 1) * 4096 + 100);
        QCOMPARE(f.write(QByteArray(3000, '\xFF')), qint64(3000));
        f.close();
        const Result m = Run({"comprobar", "--bd", muyDanada});
        QCOMPARE(m.code, 1);
        const QList<QByteArray> lineas = m.out.trimmed().split('\n');
        QVERIFY2(lineas.size() >= 2 && lineas.size() <= 4, m.out.constData());
        for (const QByteArray& linea : lineas)
            QVERIFY2(linea.size() < 200, linea.constData());
    }
    // Nothing of a damaged file is copied.
    r = Run({"copia", "--bd", bd, "--destino", carpeta});
    QCOMPARE(r.code, 1);
    QCOMPARE(QDir(carpeta).entryList(QDir::Files).size(), 1);

    r = Run({"restaurar", "--bd", bd, "--desde", copia});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.startsWith("Restaurada "));
    const QStringList apartados =
        QDir(m_dir.path()).entryList({QStringLiteral("danada.mdb.dañado-*")}, QDir::Files);
    QCOMPARE(apartados.size(), 1);
    QVERIFY(QRegularExpression(QStringLiteral("^danada\\.mdb\\.dañado-\\d{8}-\\d{6}$"))
                .match(apartados.first())
                .hasMatch());
    QCOMPARE(DvTest::Leer(m_dir.filePath(apartados.first())), danada);
    QCOMPARE(DvTest::Leer(bd), DvTest::Leer(copia));
    QCOMPARE(Run({"comprobar", "--bd", bd}).out, QByteArray("Correcta\n"));

    // A damaged copy is refused and changes nothing.
    QVERIFY(Danar(copia));
    const QByteArray buena = DvTest::Leer(bd);
    r = Run({"restaurar", "--bd", bd, "--desde", copia});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.startsWith("dravonela restaurar: la copia "));
    QCOMPARE(DvTest::Leer(bd), buena);
}

void TestCmdCopias::usoIncorrecto() {
    for (const QStringList& args :
         {QStringList{"copia"}, QStringList{"comprobar"}, QStringList{"restaurar", "--bd", m_bd},
          QStringList{"copia", "--bd", m_bd, "--destino", m_bd},
          QStringList{"comprobar", "--bd", m_bd, "--salida", "x"}}) {
        const Result r = Run(args);
        QVERIFY2(r.code == 2, qPrintable(args.join(' ')));
        QVERIFY(r.err.contains("Uso: dravonela " + args.first().toLatin1()));
    }
    for (const char* orden : {"copia", "comprobar", "restaurar"}) {
        const Result r = Run({QString::fromLatin1(orden), "--help"});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.startsWith(QByteArray("Uso: dravonela ") + orden));
    }
    const Result ayuda = Run({"--help"});
    for (const char* orden : {"copia ", "comprobar ", "restaurar "})
        QVERIFY(ayuda.out.contains(QByteArray("\n  ") + orden));
}

QTEST_GUILESS_MAIN(TestCmdCopias)
#include "test_cmd_copias.moc"
