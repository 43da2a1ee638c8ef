// The schema check and upgrade at open, the indexes, the making of a new file and the
// demonstration data.

#include "DataTestUtil.h"
#include "DbQuery.h"
#include "Resources.h"
#include "Schema.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <sqlite3.h>
#include <sys/stat.h>

using DataTest::RecordingConnection;

namespace {
QStringList Tables(const QString& path) {
    return DataTest::RawValue(path, "SELECT group_concat(name, ',') FROM (SELECT name FROM "
                                    "sqlite_master WHERE type = 'table' ORDER BY name)")
        .split(',');
}

QString SchemaVersion(const QString& path) {
    return DataTest::RawValue(path, "PRAGMA schema_version");
}

// A file as an older version of the program left it: no AUX and no VACACIONES.
QString OldFile() {
    const QString path = DataTest::NewPath("antigua");
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_exec(db,
                 "CREATE TABLE FUNCIONES (ID INTEGER PRIMARY KEY, NOMBRE VARCHAR(30));"
                 "CREATE TABLE PERSONAL (ID INTEGER PRIMARY KEY, NOMBRE VARCHAR(30), APELLIDOS "
                 "VARCHAR(50), NOMBREPLANILLA VARCHAR(40), ID_FUNCION INTEGER);"
                 "INSERT INTO FUNCIONES VALUES (1, 'Urgencias');",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return path;
}
} // namespace

class TestSchema : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DvTest::IsolateSettings(); }
    void newFileHasEveryTable();
    void refusesToOverwriteAndLeavesNothingOnFailure();
    void fileWithoutAuxIsUpgraded();
    void fileWithAuxRowIsLeftAlone();
    void fileWithEmptyAuxStillWorks();
    void indexesAddedToAnOlderFile();
    void datePlaceholders_data();
    void datePlaceholders();
    void demoDatabaseIsRichAndPlacedAroundTheMonth();
};

void TestSchema::newFileHasEveryTable() {
    const QString path = DataTest::NewDatabase("pradoluminar");
    QStringList expected = {
        "ACCESO",      "ASIG_TURNOS", "AUX",        "BAJAS",           "DIASPERSONALES",
        "EXCEPCIONES", "FIESTAS",     "FUNCIONES",  "PERSONAL",        "PREF_IMPRESION",
        "TIPOSTURNO",  "TURNOS",      "VACACIONES", "REGLAS_SERVICIO", "MINIMOS_COBERTURA"};
    expected.sort();
    QCOMPARE(Tables(path), expected);
    QCOMPARE(DataTest::RawValue(path, "SELECT COUNT(*) FROM AUX"), QString("1"));
    QCOMPARE(DataTest::RawValue(path, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' "
                                      "AND name LIKE 'IX_%'"),
             QString("19"));
    RecordingConnection c;
    QVERIFY(c->OpenFile(path, "pradoluminar"));
    QCOMPARE(c.Boxes(), 0);

    // The file gets the user's usual permissions, not those of a private temporary file.
    const mode_t old = umask(022);
    const QString shared = DataTest::NewDatabase();
    umask(old);
    const QFileDevice::Permissions p = QFileInfo(shared).permissions();
    QVERIFY(p & QFileDevice::ReadOther);
    QVERIFY(p & QFileDevice::ReadGroup);
    QVERIFY(!(p & QFileDevice::WriteOther));
}

void TestSchema::refusesToOverwriteAndLeavesNothingOnFailure() {
    const QString path = DataTest::NewPath("existe");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("datos del planificador");
    }
    QString error;
    QVERIFY(!DvSchema::CreateDatabase(path, "", QString(), QDate(2024, 3, 1), error));
    QVERIFY(error.contains("ya existe"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("datos del planificador"));

    // Demo SQL that fails halfway: no file, no temporary file left.
    const QString dir = DvTest::TempDir() + "/fallo";
    QVERIFY(QDir().mkpath(dir));
    QVERIFY(!DvSchema::CreateDatabase(dir + "/ostrevan.mdb", "",
                                      "INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'a');\n"
                                      "INSERT INTO NO_HAY VALUES (1);",
                                      QDate(2024, 3, 1), error));
    QVERIFY(error.contains("NO_HAY"));
    QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

void TestSchema::fileWithoutAuxIsUpgraded() {
    const QString path = OldFile();
    RecordingConnection c;
    QVERIFY(c->OpenFile(path, "pradoluminar"));
    QVERIFY(c->IsOpen());
    // The failed query is reported once; the creations are silent.
    QCOMPARE(c.Boxes(), 1);
    QVERIFY(c.Last().startsWith("Error 80040e37"));
    CDbQuery q(*c);
    QVERIFY(q.ExecuteCommand("INSERT INTO VACACIONES (ID, ID_PERSONAL, INICIO, FINAL, "
                             "ID_SUPLENTE) VALUES (1, 1, '2024/03/01 00:00:00', "
                             "'2024/03/10 00:00:00', -1)"));
    QCOMPARE(q.GetTextById("FUNCIONES", "NOMBRE", 1), QString("Urgencias"));
    QCOMPARE(c.Boxes(), 1);
    // No row is put into AUX.
    QCOMPARE(DataTest::RawValue(path, "SELECT COUNT(*) FROM AUX"), QString("0"));
}

void TestSchema::fileWithAuxRowIsLeftAlone() {
    const QString path = DataTest::NewDatabase();
    const QString version = SchemaVersion(path);
    RecordingConnection c;
    QVERIFY(c->OpenFile(path, ""));
    QCOMPARE(c.Boxes(), 0);
    c->Close();
    QCOMPARE(SchemaVersion(path), version);
    QCOMPARE(DataTest::RawValue(path, "SELECT COUNT(*) FROM AUX"), QString("1"));
}

void TestSchema::fileWithEmptyAuxStillWorks() {
    const QString path = DataTest::NewDatabase();
    QVERIFY(DataTest::RawExec(path, "DELETE FROM AUX"));
    for (int start = 0; start < 2; ++start) {
        RecordingConnection c;
        QVERIFY(c->OpenFile(path, ""));
        QCOMPARE(c.Boxes(), 0);
        CDbQuery q(*c);
        QVERIFY(q.ExecuteCommand("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (" +
                                 QString::number(q.NextId("FUNCIONES")) + ", 'x')"));
        QCOMPARE(c.Boxes(), 0);
    }
    QCOMPARE(DataTest::RawValue(path, "SELECT COUNT(*) FROM FUNCIONES"), QString("2"));
}

void TestSchema::indexesAddedToAnOlderFile() {
    const QString path = DataTest::NewDatabase();
    QVERIFY(DataTest::RawExec(path, "DROP INDEX IX_PERSONAL_ID_FUNCION; DROP INDEX "
                                    "IX_BAJAS_ID_SUPLENTE; DROP INDEX IX_BAJAS_DURACION"));
    RecordingConnection c;
    QVERIFY(c->OpenFile(path, ""));
    QCOMPARE(c.Boxes(), 0);
    c->Close();
    QCOMPARE(DataTest::RawValue(path, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' "
                                      "AND name IN ('IX_PERSONAL_ID_FUNCION', "
                                      "'IX_BAJAS_ID_SUPLENTE', 'IX_BAJAS_DURACION')"),
             QString("3"));
    // The leave indexes use only SQLite's own functions: a plain connection, without the
    // program's, still writes those tables in every date form.
    QVERIFY(DataTest::RawExec(
        path, "INSERT INTO BAJAS VALUES (1, 1, '2024/03/01 00:00:00', '2024-3-9', -1); "
              "INSERT INTO VACACIONES VALUES (1, 1, 45352, 'x', -1); "
              "UPDATE BAJAS SET FINAL = '2024/03/10' WHERE ID = 1"));
    QCOMPARE(DataTest::RawValue(path, "SELECT COUNT(*) FROM BAJAS, VACACIONES"), QString("1"));
    // A file lacking some tables gets the indexes it can, without a word.
    const QString old = OldFile();
    RecordingConnection c2;
    QVERIFY(c2->OpenFile(old, ""));
    QCOMPARE(c2.Boxes(), 1); // only the schema check's query
    c2->Close();
    QCOMPARE(DataTest::RawValue(old, "SELECT COUNT(*) FROM sqlite_master WHERE name = "
                                     "'IX_PERSONAL_ID_FUNCION'"),
             QString("1"));
}

void TestSchema::datePlaceholders_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QDate feb(2024, 2, 10);
    QTest::newRow("day of this month") << feb << "{F:0,5}"
                                       << "'2024/02/05 00:00:00'";
    QTest::newRow("past the month's end") << feb << "{F:0,31}"
                                          << "'2024/02/29 00:00:00'";
    QTest::newRow("last day") << feb << "{F:0,0}"
                              << "'2024/02/29 00:00:00'";
    QTest::newRow("counted back") << feb << "{F:-1,-1}"
                                  << "'2024/01/30 00:00:00'";
    QTest::newRow("with time") << feb << "{F:1,2,08:30}"
                               << "'2024/03/02 08:30:00'";
    QTest::newRow("over the year") << QDate(2024, 12, 31) << "({F:1,3}, {F:-12,1})"
                                   << "('2025/01/03 00:00:00', '2023/12/01 00:00:00')";
    QTest::newRow("unreadable left") << feb << "{F:x,1} {F:0,1,8}"
                                     << "{F:x,1} {F:0,1,8}";
}

void TestSchema::datePlaceholders() {
    QFETCH(QDate, today);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(DvSchema::ExpandDatePlaceholders(text, today), expected);
}

void TestSchema::demoDatabaseIsRichAndPlacedAroundTheMonth() {
    const QString demo = DvResources::ReadText(":/sql/demo.sql");
    QVERIFY(!demo.isEmpty());
    const QDate today(2025, 2, 12);
    const QString path = DataTest::NewPath("demo");
    QString error;
    QVERIFY2(DvSchema::CreateDatabase(path, "pradoluminar", demo, today, error), qPrintable(error));
    RecordingConnection c;
    QVERIFY(c->OpenFile(path, "pradoluminar"));
    CDbQuery q(*c);

    // Four services of 12 to 25 workers; names with accents.
    CDbRecordset rs = q.Open("SELECT FUNCIONES.ID, (SELECT COUNT(*) FROM PERSONAL WHERE "
                             "ID_FUNCION = FUNCIONES.ID) FROM FUNCIONES");
    int services = 0;
    for (; !rs.IsEOF(); rs.MoveNext(), ++services) {
        QVERIFY(rs.GetInt(1) >= 12);
        QVERIFY(rs.GetInt(1) <= 25);
    }
    QCOMPARE(services, 4);
    rs = q.Open("SELECT NOMBREPLANILLA FROM PERSONAL");
    QSet<QString> names;
    bool accents = false;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const QString name = rs.GetText(0);
        QVERIFY(!name.isEmpty());
        names.insert(name);
        accents = accents || name.contains(QRegularExpression("[áéíóúñÁÉÍÓÚÑ]"));
    }
    QVERIFY(accents);
    QCOMPARE(names.size(), q.NextId("PERSONAL") - 1); // planilla names are unique

    // Everyone has a reference assignment before the 28th of the month, to a shift
    // that exists.
    rs = q.Open("SELECT COUNT(*) FROM PERSONAL WHERE ID NOT IN (SELECT ID_PERSONAL FROM "
                "ASIG_TURNOS WHERE DIA_REF < #28/02/25#)");
    QCOMPARE(rs.GetInt(0), 0);
    rs = q.Open("SELECT COUNT(*) FROM ASIG_TURNOS WHERE ID_TURNO NOT IN (SELECT ID FROM TURNOS)");
    QCOMPARE(rs.GetInt(0), 0);

    // Every rule of the roster: rest days and each kind of working period.
    QSet<QString> periods;
    rs = q.Open("SELECT HORAINICIAL, HORAFINAL FROM TURNOS");
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const CDateTime start = rs.GetDateTime(0);
        const CDateTime end = rs.GetDateTime(1);
        periods.insert(start.GetYear() == 2001
                           ? QString("libre")
                           : QString("%1-%2").arg(start.GetHour()).arg(end.GetHour()));
    }
    QCOMPARE(periods, QSet<QString>({"libre", "8-15", "15-22", "22-8", "8-22", "15-8"}));

    // Leave, exceptions and the one-off holiday fall in or touch the current month.
    const QString inMonth = "DATEPART('m', %1) = 2 AND DATEPART('yyyy', %1) = 2025";
    auto count = [&](const QString& sql) {
        CDbRecordset r = q.Open(sql);
        return r.GetInt(0);
    };
    QVERIFY(count("SELECT COUNT(*) FROM VACACIONES WHERE ID_SUPLENTE > 0 AND INICIO <= "
                  "'2025/02/28 00:00:00' AND FINAL >= '2025/02/01 00:00:00'") >= 2);
    QVERIFY(count("SELECT COUNT(*) FROM BAJAS WHERE ID_SUPLENTE = -1 AND " +
                  inMonth.arg("INICIO")) >= 1);
    QVERIFY(count("SELECT COUNT(*) FROM DIASPERSONALES WHERE " + inMonth.arg("INICIO")) >= 2);
    QVERIFY(count("SELECT COUNT(*) FROM EXCEPCIONES WHERE TIPO = 1 AND " + inMonth.arg("DIA")) >=
            1);
    QVERIFY(count("SELECT COUNT(*) FROM EXCEPCIONES WHERE TIPO = 2 AND " + inMonth.arg("DIA")) >=
            1);
    QCOMPARE(count("SELECT COUNT(*) FROM FIESTAS WHERE CICLICO = FALSE AND " + inMonth.arg("DIA")),
             1);
    QVERIFY(count("SELECT COUNT(*) FROM FIESTAS WHERE CICLICO = TRUE") >= 8);
    QCOMPARE(count("SELECT COUNT(*) FROM PREF_IMPRESION"), 2);
    // Substitutes name existing workers; periods end after they start.
    QCOMPARE(count("SELECT COUNT(*) FROM (SELECT ID_SUPLENTE FROM VACACIONES UNION ALL SELECT "
                   "ID_SUPLENTE FROM BAJAS UNION ALL SELECT ID_SUPLENTE FROM DIASPERSONALES) "
                   "WHERE ID_SUPLENTE <> -1 AND ID_SUPLENTE NOT IN (SELECT ID FROM PERSONAL)"),
             0);
    QCOMPARE(count("SELECT COUNT(*) FROM (SELECT INICIO, FINAL FROM VACACIONES UNION ALL SELECT "
                   "INICIO, FINAL FROM BAJAS) WHERE FINAL <= INICIO"),
             0);
    QCOMPARE(c.Boxes(), 0);
}

QTEST_GUILESS_MAIN(TestSchema)
#include "test_schema.moc"
