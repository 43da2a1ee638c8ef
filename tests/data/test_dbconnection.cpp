// The one connection: opening, the password gate, the fixed error report, the probe
// and the lost state, files that are not databases or cannot be written, and the
// settings it reads.

#include "DataTestUtil.h"
#include "DbQuery.h"
#include "Password.h"
#include "Settings.h"
#include "TestSupport.h"

#include "Schema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTest>
#include <sqlite3.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using DataTest::RecordingConnection;

class TestDbConnection : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DvTest::IsolateSettings(); }
    void errorTextFormat();
    void messagesForCodes();
    void opensOnceAndTunesTheFile();
    void missingFileFailsWithoutCreatingIt();
    void filesThatAreNotDatabases_data();
    void filesThatAreNotDatabases();
    void passwordGate();
    void oldVerifiersOpenAndAreUpgraded();
    void verifierKnownAnswer();
    void missingTableLeavesConnectionUsable();
    void brokenConnectionIsMarkedLost();
    void readOnlyFile();
    void waitsForAnotherProgramsWriteLock();
    void pathsAndConnectionString();
    void settingsValuesAndDefaults();
};

void TestDbConnection::errorTextFormat() {
    CDbError error;
    error.code = 0x80040E37u;
    error.source = "Motor";
    error.description = "no such table: NADA";
    QCOMPARE(CDbConnection::FormatDbError(error),
             QString("Error 80040e37 \rMensaje: IDispatch error #3127 \rFuente:  Motor \rDescrip: "
                     "no such table: NADA"));
    CDbError bare;
    bare.code = 0x80004005u;
    QCOMPARE(CDbConnection::FormatDbError(bare),
             QString("Error 80004005 \rMensaje: Error no especificado \rFuente:  (null) \rDescrip: "
                     "(null)"));
}

void TestDbConnection::messagesForCodes() {
    QCOMPARE(CDbConnection::MessageForCode(0x80004003u), QString("Puntero no válido"));
    QCOMPARE(CDbConnection::MessageForCode(0x80040200u), QString("Unknown error 0x80040200"));
    QCOMPARE(CDbConnection::MessageForCode(0x80040201u), QString("IDispatch error #1"));
    QCOMPARE(CDbConnection::MessageForCode(0x80040E4Du), QString("IDispatch error #3149"));
    QCOMPARE(CDbConnection::MessageForCode(0x8004FFFFu), QString("IDispatch error #65023"));
    QCOMPARE(CDbConnection::MessageForCode(0x80050000u), QString("Unknown error 0x80050000"));
    QCOMPARE(CDbConnection::MessageForCode(0x800A0CC1u), QString("Unknown error 0x800A0CC1"));
}

void TestDbConnection::opensOnceAndTunesTheFile() {
    const QString path = DataTest::NewDatabase();
    RecordingConnection c;
    QVERIFY(c->OpenFile(path, "x"));
    sqlite3* first = c->Handle();
    QVERIFY(c->OpenFile(path, "x"));
    QCOMPARE(c->Handle(), first);
    QCOMPARE(c.Boxes(), 0);

    CDbQuery q(*c);
    CDbRecordset rs = q.Open("PRAGMA synchronous");
    QCOMPARE(rs.GetInt(0), 2); // FULL
    rs.Close();
    rs = q.Open("PRAGMA journal_mode");
    QCOMPARE(rs.GetText(0), QString("delete"));
    rs.Close();
    rs = q.Open("PRAGMA application_id");
    QCOMPARE(rs.GetInt(0), 0x44524156);
    rs.Close();

    c->Close();
    QVERIFY(!c->IsOpen());
    QVERIFY(!c->IsLost());
    c->Close(); // a second close does nothing
    QCOMPARE(c.Boxes(), 0);
}

void TestDbConnection::missingFileFailsWithoutCreatingIt() {
    const QString path = DataTest::NewPath("falta");
    RecordingConnection c;
    QVERIFY(!c->OpenFile(path, "pradoluminar"));
    QVERIFY(!c->IsOpen());
    QCOMPARE(c.Boxes(), 1);
    QVERIFY(c.Last().startsWith("Error 80004005 \rMensaje: Error no especificado"));
    QVERIFY(!QFile::exists(path));

    // With no connection every operation reports, and reads give their failure value.
    CDbQuery q(*c);
    QCOMPARE(q.GetIntById("FUNCIONES", "ID", 1), -1);
    QCOMPARE(c.Boxes(), 2);
    QVERIFY(c.Last().startsWith("Error 80004003 \rMensaje: Puntero no válido"));
}

void TestDbConnection::filesThatAreNotDatabases_data() {
    QTest::addColumn<QByteArray>("content");
    QByteArray random(8192, '\0');
    for (int i = 0; i < random.size(); ++i)
        random[i] = char((i * 7919 + 13) % 251);
    QTest::newRow("random bytes") << random;
    QByteArray access(4096, '\0');
    access.replace(0, 19, QByteArray("\x00\x01\x00\x00Standard Jet DB", 19));
    QTest::newRow("an Access file") << access;
    QTest::newRow("empty file") << QByteArray();
}

void TestDbConnection::filesThatAreNotDatabases() {
    QFETCH(QByteArray, content);
    const QString path = DataTest::NewPath("ajeno");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    RecordingConnection c;
    QVERIFY(!c->OpenFile(path, "pradoluminar"));
    QCOMPARE(c.Boxes(), 1);
    QVERIFY(c.Last().contains("not a database"));
    QVERIFY(!c->IsOpen());
    // The file is left exactly as it was.
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
    file.close();
    // The program goes on without a connection.
    CDbQuery q(*c);
    QVERIFY(!q.ExecuteCommand("DELETE FROM FUNCIONES"));
    QCOMPARE(c.Boxes(), 2);
}

void TestDbConnection::passwordGate() {
    const QString guarded = DataTest::NewDatabase("secreto");
    {
        RecordingConnection c;
        QVERIFY(!c->OpenFile(guarded, "otro"));
        QCOMPARE(c.Boxes(), 1);
        QVERIFY(c.Last().startsWith("Error 80040e4d \rMensaje: IDispatch error #3149"));
        QVERIFY(!c->IsOpen());
        QVERIFY(!c->OpenFile(guarded, ""));
        QVERIFY(!c->OpenFile(guarded, "Secreto"));
        QVERIFY(c->OpenFile(guarded, "secreto"));
        QCOMPARE(c.Boxes(), 3);
    }
    // A file without a verifier opens with any password, the empty one too.
    const QString open = DataTest::NewDatabase("");
    for (const QString& password : {QString("pradoluminar"), QString(), QString("x")}) {
        RecordingConnection c;
        QVERIFY(c->OpenFile(open, password));
        QCOMPARE(c.Boxes(), 0);
    }
    // A damaged verifier guards the file rather than opening it to anyone.
    QVERIFY(DataTest::RawExec(guarded, "UPDATE ACCESO SET VERIFICADOR = 'basura'"));
    RecordingConnection c;
    QVERIFY(!c->OpenFile(guarded, "secreto"));
    QCOMPARE(c.Boxes(), 1);
    // The verifier is Argon2id and salted: the same password gives different verifiers.
    const QString argon = DvPassword::MakeVerifier("a");
    QVERIFY(argon.startsWith("$argon2id$"));
    QVERIFY(argon != DvPassword::MakeVerifier("a"));
    QVERIFY(DvPassword::Verify("a", argon));
    QVERIFY(!DvPassword::Verify("b", argon));
    QVERIFY(!DvPassword::NeedsUpgrade(argon));
    QVERIFY(DvPassword::NeedsUpgrade(DvPassword::MakePbkdf2Verifier("a", 10)));
}

void TestDbConnection::oldVerifiersOpenAndAreUpgraded() {
    // A file of an earlier version: its verifier is PBKDF2.
    const QString old = DataTest::NewDatabase("");
    const QString pbkdf2 = DvPassword::MakePbkdf2Verifier("secreto");
    QVERIFY(pbkdf2.startsWith("pbkdf2-sha256$20000$"));
    QVERIFY(DataTest::RawExec(old, QStringLiteral("CREATE TABLE IF NOT EXISTS ACCESO (VERIFICADOR "
                                                  "VARCHAR(255)); DELETE FROM ACCESO; INSERT INTO "
                                                  "ACCESO VALUES ('%1')")
                                       .arg(pbkdf2)));
    // Read-only, it opens with its password and keeps the old verifier (the superuser
    // writes any file: then nothing to see here).
    if (geteuid() != 0) {
        QFile::setPermissions(old, QFileDevice::ReadOwner);
        {
            RecordingConnection c;
            QVERIFY(!c->OpenFile(old, "otro"));
            QVERIFY(c->OpenFile(old, "secreto"));
        }
        QCOMPARE(DataTest::RawValue(old, "SELECT VERIFICADOR FROM ACCESO"), pbkdf2);
        QFile::setPermissions(old, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    // A wrong password changes nothing.
    {
        RecordingConnection c;
        QVERIFY(!c->OpenFile(old, "Secreto"));
    }
    QCOMPARE(DataTest::RawValue(old, "SELECT VERIFICADOR FROM ACCESO"), pbkdf2);
    // The right one opens it and leaves an Argon2id verifier, the only row.
    {
        RecordingConnection c;
        QVERIFY(c->OpenFile(old, "secreto"));
        QCOMPARE(c.Boxes(), 0);
    }
    const QString upgraded = DataTest::RawValue(old, "SELECT VERIFICADOR FROM ACCESO");
    QVERIFY(upgraded.startsWith("$argon2id$"));
    QCOMPARE(DataTest::RawValue(old, "SELECT count(*) FROM ACCESO"), QString("1"));
    for (const char* password : {"otro", "", "secreto "}) {
        RecordingConnection c;
        QVERIFY2(!c->OpenFile(old, password), password);
    }
    RecordingConnection c;
    QVERIFY(c->OpenFile(old, "secreto"));
    QCOMPARE(DataTest::RawValue(old, "SELECT VERIFICADOR FROM ACCESO"), upgraded);
}

void TestDbConnection::verifierKnownAnswer() {
    // RFC 7914, section 11: PBKDF2-HMAC-SHA256, P = "passwd", S = "salt", c = 1.
    QCOMPARE(DvPassword::Pbkdf2Sha256("passwd", "salt", 1, 64).toHex(),
             QByteArray("55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"
                        "49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783"));
    // The same document, c = 80000, P = "Password", S = "NaCl", first 32 bytes.
    QCOMPARE(DvPassword::Pbkdf2Sha256("Password", "NaCl", 80000, 32).toHex(),
             QByteArray("4ddcd8f60b98be21830cee5ef22701f9641a4418d04c0414aeff08876b34ab56"));
}

void TestDbConnection::missingTableLeavesConnectionUsable() {
    const QString path = DataTest::NewDatabase();
    RecordingConnection c;
    QVERIFY(c->OpenFile(path, ""));
    CDbQuery q(*c);
    CDbRecordset rs = q.Open("SELECT * FROM NO_EXISTE");
    QVERIFY(!rs.IsOpen());
    QVERIFY(rs.IsEOF());
    QCOMPARE(c.Boxes(), 1);
    QCOMPARE(c.Last().section('\r', 0, 0), QString("Error 80040e37 "));
    QVERIFY(c->IsOpen());
    QVERIFY(q.ExecuteCommand("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'UCI')"));
    QCOMPARE(q.GetTextById("FUNCIONES", "NOMBRE", 1), QString("UCI"));
    QCOMPARE(c.Boxes(), 1);
}

void TestDbConnection::brokenConnectionIsMarkedLost() {
    const QString path = DataTest::NewDatabase();
    RecordingConnection c;
    QVERIFY(c->OpenFile(path, ""));
    // Another program takes the probe's table away: the next failure's probe fails.
    QVERIFY(DataTest::RawExec(path, "DROP TABLE AUX"));
    CDbQuery q(*c);
    QCOMPARE(q.GetIntById("NO_EXISTE", "ID", 1), -1);
    QCOMPARE(c.Boxes(), 1);
    QVERIFY(!c->IsOpen());
    QVERIFY(c->IsLost());

    // The table comes back, but no further attempt reaches the file: every operation
    // still shows its box and gives its failure value.
    QVERIFY(DataTest::RawExec(path, "CREATE TABLE AUX (VERSION_MAJOR INTEGER);"
                                    "INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'UCI')"));
    QCOMPARE(q.GetIntById("FUNCIONES", "ID", 1), -1);
    QVERIFY(!q.ExecuteCommand("DELETE FROM FUNCIONES"));
    QCOMPARE(q.NextId("FUNCIONES"), -1);
    QCOMPARE(c.Boxes(), 3 + CDbQuery::NextIdAttempts);
    for (int i = 1; i < c.Boxes(); ++i)
        QVERIFY(c.Texts()[i].startsWith("Error 80004003"));
    QCOMPARE(DataTest::RawValue(path, "SELECT COUNT(*) FROM FUNCIONES"), QString("1"));
    QVERIFY(!c->IsOpen());
    // Open is not retried by the lost connection's close.
    c->Close();
    QVERIFY(c->IsLost());
}

namespace {
// The read-only checks, run where the file really cannot be written. Returns the
// number of the first failed check, 0 when all hold.
int ReadOnlyChecks(const QString& path) {
    DataTest::RecordingConnection c;
    if (!c->OpenFile(path, ""))
        return 1;
    CDbQuery q(*c);
    if (q.GetTextById("FUNCIONES", "NOMBRE", 1) != "UCI")
        return 2;
    if (c.Boxes() != 0)
        return 3;
    if (q.ExecuteCommand("UPDATE FUNCIONES SET NOMBRE = 'X'") || c.Boxes() != 1)
        return 4;
    if (q.SetIntById("FUNCIONES", "ID", 1, 5) || c.Boxes() != 2)
        return 5;
    if (!c.Last().startsWith("Error 80004005"))
        return 6;
    if (!c->IsOpen() || q.GetTextById("FUNCIONES", "NOMBRE", 1) != "UCI")
        return 7;
    return 0;
}
} // namespace

void TestDbConnection::readOnlyFile() {
    const QString dir = DvTest::TempDir() + "/solo-lectura";
    QVERIFY(QDir().mkpath(dir));
    const QString path = dir + "/ostrevan.mdb";
    QString error;
    QVERIFY(DvSchema::CreateDatabase(path, "", QString(), QDate(2024, 3, 1), error));
    QVERIFY(DataTest::RawExec(path, "INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'UCI')"));
    const QByteArray before = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                   QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    QFile::setPermissions(DvTest::TempDir(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther);
    int result = -1;
    if (geteuid() != 0) {
        result = ReadOnlyChecks(path);
    } else {
        // The superuser writes any file: check as an ordinary user in a child process.
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                _exit(100);
            _exit(ReadOnlyChecks(path));
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        result = WEXITSTATUS(status);
    }
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(result, 0);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
}

void TestDbConnection::waitsForAnotherProgramsWriteLock() {
    const QString path = DataTest::NewDatabase();
    RecordingConnection c;
    QVERIFY(c->OpenFile(path, ""));

    sqlite3* other = nullptr;
    QCOMPARE(sqlite3_open_v2(QFile::encodeName(path).constData(), &other, SQLITE_OPEN_READWRITE,
                             nullptr),
             SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    std::thread releaser([other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    });
    QElapsedTimer timer;
    timer.start();
    CDbQuery q(*c);
    const bool written = q.ExecuteCommand("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'UCI')");
    const qint64 waited = timer.elapsed();
    releaser.join();
    sqlite3_close(other);
    QVERIFY(written);
    QCOMPARE(c.Boxes(), 0);
    QVERIFY(waited >= 300);

    // Locked for longer than the wait: the write fails with its box, but a busy file is
    // not a broken connection.
    c->SetBusyTimeout(100);
    QCOMPARE(sqlite3_open_v2(QFile::encodeName(path).constData(), &other, SQLITE_OPEN_READWRITE,
                             nullptr),
             SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    QVERIFY(!q.ExecuteCommand("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (2, 'Urgencias')"));
    QCOMPARE(c.Boxes(), 1);
    QVERIFY(c->IsOpen());
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    QVERIFY(q.ExecuteCommand("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (2, 'Urgencias')"));
    QCOMPARE(c.Boxes(), 1);
}

void TestDbConnection::pathsAndConnectionString() {
    QCOMPARE(CDbConnection::DatabasePathFor("/opt/dravonela/bin/dravonela"),
             QString("/opt/dravonela/bin/ostrevan.mdb"));
    QCOMPARE(CDbConnection::DatabasePathFor("C:/Programas/Dravonela/dravonela.exe"),
             QString("C:/Programas/Dravonela/ostrevan.mdb"));
    QCOMPARE(CDbConnection::DatabasePathFor("C:\\Programas\\dravonela.exe"),
             QString("C:\\Programas\\ostrevan.mdb"));
    QCOMPARE(CDbConnection::DatabasePathFor("dravonela"), QString("ostrevan.mdb"));
    QCOMPARE(CDbConnection::ConnectionString("/d/ostrevan.mdb", ""),
             QString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/d/ostrevan.mdb;Jet "
                     "OLEDB:Database Password=;"));
}

void TestDbConnection::settingsValuesAndDefaults() {
    QSettings raw(DvSettings::Organisation, DvSettings::Application);
    raw.clear();
    raw.sync();
    QCOMPARE(DvSettings::DbPassword(), QString("pradoluminar"));
    QCOMPARE(DvSettings::TamFuente(), 15);
    QCOMPARE(DvSettings::TamLinea(), 16);
    QVERIFY(!DvSettings::Has("DB_PASS")); // never written

    DvSettings::WriteText("DB_PASS", "");
    QCOMPARE(DvSettings::DbPassword(), QString());
    DvSettings::WriteText("TAM_FUENTE", "grande");
    QCOMPARE(DvSettings::TamFuente(), 15);
    DvSettings::WriteInt("TAM_LINEA", 22);
    QCOMPARE(DvSettings::TamLinea(), 22);
    QCOMPARE(raw.value("CONFIG/TAM_LINEA").toInt(), 22);

    // IDIOMA: absent or out of range becomes 0 and is written back; 2 stays 2.
    DvSettings::ForgetIdioma();
    QCOMPARE(DvSettings::Idioma(), 0);
    raw.sync();
    QCOMPARE(raw.value("CONFIG/IDIOMA").toInt(), 0);
    DvSettings::WriteInt("IDIOMA", 5);
    DvSettings::ForgetIdioma();
    QCOMPARE(DvSettings::Idioma(), 0);
    raw.sync();
    QCOMPARE(raw.value("CONFIG/IDIOMA").toInt(), 0);
    DvSettings::WriteInt("IDIOMA", 2);
    DvSettings::ForgetIdioma();
    QCOMPARE(DvSettings::Idioma(), 2);
    // Kept for the run: a later change of the store is not seen.
    DvSettings::WriteInt("IDIOMA", 1);
    QCOMPARE(DvSettings::Idioma(), 2);
    raw.clear();
}

QTEST_GUILESS_MAIN(TestDbConnection)
#include "test_dbconnection.moc"
