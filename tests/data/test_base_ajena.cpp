// Database files that must come out as they went in: another program's database named
// by mistake, the temporary files of a new database that was never finished, a full
// disk while one is made, and a record saved after another copy of the program
// deleted it.

#include "ArchivoSalida.h"
#include "DataTestUtil.h"
#include "DbQuery.h"
#include "DiscoLleno.h"
#include "FicherosPrueba.h"
#include "RecordBinding.h"
#include "Schema.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <sqlite3.h>

using DataTest::RecordingConnection;

namespace {
// A database made by some other program.
bool Sqlite(const QString& ruta, const char* sql) {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(QFile::encodeName(ruta).constData(), &db,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK &&
              sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    ok = sqlite3_close(db) == SQLITE_OK && ok;
    return ok;
}

// The text box of a record dialog, as far as the binding sees it.
class CTexto : public IBoundControl {
public:
    explicit CTexto(QString* texto) : m_texto(texto) {}
    QString GetText() const override { return *m_texto; }
    void SetText(const QString& text) override { *m_texto = text; }
    int GetValue() const override { return m_texto->toInt(); }
    void SetValue(int value) override { *m_texto = QString::number(value); }
    int GetCheck() const override { return 0; }
    void SetCheck(int) override {}
    bool GetDate(CDateTime&) const override { return false; }
    void SetDate(const CDateTime&) override {}
    bool GetTime(CDateTime&) const override { return false; }
    void SetTime(const CDateTime&, bool) override {}
    void SetLimitText(int) override {}

private:
    QString* m_texto;
};
} // namespace

using DvTest::Contenido;
using DvTest::Leer;

class TestBaseAjena : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DvTest::IsolateSettings(); }

    void anotherProgramsDatabaseIsLeftAsItIs_data() {
        QTest::addColumn<QByteArray>("sql");
        QTest::newRow("otra tabla") << QByteArray("CREATE TABLE notas (id INTEGER, texto TEXT);"
                                                  "CREATE INDEX ix_notas ON notas (id);"
                                                  "INSERT INTO notas VALUES (1, 'personal');");
        QTest::newRow("en modo wal") << QByteArray("PRAGMA journal_mode = WAL;"
                                                   "CREATE TABLE lugares (url TEXT);");
        QTest::newRow("sin tablas") << QByteArray("PRAGMA user_version = 7;");
    }

    void anotherProgramsDatabaseIsLeftAsItIs() {
        QFETCH(QByteArray, sql);
        const QString carpeta = DvTest::TempDir() + "/ajena-" + QTest::currentDataTag();
        QVERIFY(QDir().mkpath(carpeta));
        const QString ruta = carpeta + "/datos.sqlite";
        QVERIFY(Sqlite(ruta, sql.constData()));
        const QByteArray antes = Leer(ruta);
        QCOMPARE(DvSchema::InspectFile(ruta), DvSchema::FileKind::Foreign);

        RecordingConnection c;
        QVERIFY(!c->OpenFile(ruta, "pradoluminar"));
        QVERIFY(!c->IsOpen());
        QCOMPARE(c.Boxes(), 1);
        QVERIFY(c.Last().contains(DvSchema::ForeignFileMessage(ruta)));
        // Not a byte changed; no table, index, mark or journal added.
        QCOMPARE(Leer(ruta), antes);
        QCOMPARE(Contenido(carpeta), QStringList{"datos.sqlite"});
    }

    void olderRosterFilesAreStillUpgradedOnce() {
        const QString ruta = DataTest::NewPath("antigua");
        QVERIFY(Sqlite(ruta, "CREATE TABLE FUNCIONES (ID INTEGER PRIMARY KEY, NOMBRE VARCHAR(30));"
                             "CREATE TABLE PERSONAL (ID INTEGER PRIMARY KEY, NOMBRE VARCHAR(30), "
                             "APELLIDOS VARCHAR(50), NOMBREPLANILLA VARCHAR(40), ID_FUNCION "
                             "INTEGER);"));
        QCOMPARE(DvSchema::InspectFile(ruta), DvSchema::FileKind::Roster);
        {
            RecordingConnection c;
            QVERIFY(c->OpenFile(ruta, QString()));
        }
        QCOMPARE(DataTest::RawValue(ruta, "SELECT count(*) FROM sqlite_master WHERE name IN "
                                          "('AUX', 'VACACIONES', 'IX_PERSONAL_ID_FUNCION')"),
                 QString("3"));
        // A second start finds nothing missing and changes nothing.
        const QByteArray upgraded = Leer(ruta);
        {
            RecordingConnection c;
            QVERIFY(c->OpenFile(ruta, QString()));
            QCOMPARE(c.Boxes(), 0);
        }
        QCOMPARE(Leer(ruta), upgraded);
    }

    void aNewDatabaseClearsWhatKilledRunsLeft() {
        const QString carpeta = DvTest::TempDir() + "/crear";
        QVERIFY(QDir().mkpath(carpeta));
        const QString base = carpeta + "/.ostrevan.mdb.";
        // Earlier versions: a file killed before anything was written, one killed halfway
        // with its journal, and a journal whose file has gone.
        QVERIFY(QFile(base + "Ab12Cd").open(QIODevice::WriteOnly));
        QVERIFY(Sqlite(base + "Qw34Er", "PRAGMA application_id = 1146241366;"
                                        "CREATE TABLE FUNCIONES (ID INTEGER);"));
        const QByteArray journal("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7\0\0\0\0", 12);
        for (const char* nombre : {"Qw34Er-journal", "Zx56Cv-journal"}) {
            QFile f(base + QLatin1String(nombre));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(journal);
        }
        // This version: a temporary file nobody holds.
        QVERIFY(QFile(carpeta + "/" + DvArchivo::PrefijoTemporal("ostrevan.mdb") + "Rt78Yu")
                    .open(QIODevice::WriteOnly));
        // The user's own files, which only look alike.
        {
            QFile f(base + "backup");
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("copia de seguridad");
        }
        QVERIFY(Sqlite(base + "Foreig", "CREATE TABLE notas (id INTEGER);"));

        QString error;
        QVERIFY2(DvSchema::CreateDatabase(carpeta + "/ostrevan.mdb", "clave", QString(),
                                          QDate(2024, 3, 1), error),
                 qPrintable(error));
        QCOMPARE(Contenido(carpeta),
                 QStringList({".ostrevan.mdb.Foreig", ".ostrevan.mdb.backup", "ostrevan.mdb"}));
        QCOMPARE(Leer(base + "backup"), QByteArray("copia de seguridad"));
        QCOMPARE(DvSchema::InspectFile(carpeta + "/ostrevan.mdb"), DvSchema::FileKind::Roster);
        QCOMPARE(DataTest::RawValue(carpeta + "/ostrevan.mdb", "PRAGMA application_id"),
                 QString::number(DvSchema::ApplicationId));
    }

    void aNewDatabaseOnAFullDiskLeavesNothing() {
        const QString carpeta = DvTest::TempDir() + "/crear-lleno";
        DvTest::CDiscoLleno disco;
        QVERIFY(disco.Preparar(carpeta, {{"otra.mdb", "datos"}}));
        const QStringList antes = Contenido(carpeta);
        QString error;
        bool creada = true;
        {
            const auto limite = disco.Limitar();
            creada = DvSchema::CreateDatabase(carpeta + "/ostrevan.mdb", QString(), QString(),
                                              QDate(2024, 3, 1), error);
        }
        QVERIFY(!creada);
        QVERIFY2(error.startsWith("No se pudo escribir el fichero "), qPrintable(error));
        QCOMPARE(Contenido(carpeta), antes);
    }

    void savingARecordDeletedMeanwhileSaysSo() {
        const QString ruta = DataTest::NewDatabase();
        QVERIFY(DataTest::RawExec(ruta,
                                  "INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'UCI');"
                                  "INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (2, 'Urgencias')"));
        RecordingConnection c;
        QVERIFY(c->OpenFile(ruta, QString()));
        QString nombre;
        CRecordBinding registro(*c);
        registro.SetTable("FUNCIONES");
        registro.BindText(std::make_unique<CTexto>(&nombre), "NOMBRE", 30);

        registro.Load(1);
        QCOMPARE(nombre, QString("UCI"));
        // Another copy of the program deletes the record while it is open here.
        QVERIFY(DataTest::RawExec(ruta, "DELETE FROM FUNCIONES WHERE ID = 1"));
        nombre = "UCI pediátrica";
        QVERIFY(registro.IsModified(1));
        long id = 1;
        QVERIFY(!registro.Save(id));
        QCOMPARE(id, 1L);
        QCOMPARE(c.Boxes(), 1);
        QCOMPARE(c.Last(), CRecordBinding::RowGoneMessage());
        QCOMPARE(DataTest::RawValue(ruta, "SELECT group_concat(NOMBRE) FROM FUNCIONES"),
                 QString("Urgencias"));
        QVERIFY(c->IsOpen()); // the connection itself is sound

        // A record that is still there saves as always, without a word.
        registro.Load(2);
        nombre = "Urgencias generales";
        id = 2;
        QVERIFY(registro.Save(id));
        QCOMPARE(c.Boxes(), 1);
        QCOMPARE(DataTest::RawValue(ruta, "SELECT NOMBRE FROM FUNCIONES WHERE ID = 2"),
                 QString("Urgencias generales"));
    }
};

QTEST_GUILESS_MAIN(TestBaseAjena)
#include "test_base_ajena.moc"
