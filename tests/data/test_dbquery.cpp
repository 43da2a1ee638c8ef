// Statements and typed reads: the conversions by declared type, the single-value reads
// and their failure values, ExecuteCommand's reporting rule, NextId, quoting, the
// original dialect's date literals and DATEPART on every stored date form.

#include "DataTestUtil.h"
#include "DbQuery.h"
#include "TestSupport.h"

#include <QTest>
#include <clocale>

using DataTest::RecordingConnection;

class TestDbQuery : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void singleValueReadsAndFailureValues();
    void conversionsByDeclaredType();
    void columnsByNameAndMissingColumns();
    void executeCommandReportingRule();
    void onlyOneStatementPerCall();
    void integrityViolationStoresNothing();
    void nextId();
    void quotedTextsRoundTrip_data();
    void quotedTextsRoundTrip();
    void originalStatementsRunUnchanged();
    void datePartOnEveryStoredForm();
    void textsSortAndCompareInSpanish();
    void numericLocaleIsC();
    void keptStatementsReadTheFileAsItIsNow();

private:
    std::unique_ptr<RecordingConnection> m_c;
    QString m_path;
};

void TestDbQuery::init() {
    m_path = DataTest::NewDatabase();
    m_c = std::make_unique<RecordingConnection>();
    QVERIFY((*m_c)->OpenFile(m_path, ""));
}

void TestDbQuery::cleanup() {
    m_c.reset();
}

void TestDbQuery::singleValueReadsAndFailureValues() {
    CDbQuery q(**m_c);
    QVERIFY(q.ExecuteCommand("INSERT INTO PERSONAL (ID, NOMBRE, APELLIDOS, NOMBREPLANILLA, "
                             "ID_FUNCION) VALUES (4, '  Ana ', 'Ruiz', 'Ana R.', NULL)"));
    QVERIFY(q.ExecuteCommand("INSERT INTO FIESTAS (ID, DIA, DESCRIPCION, CICLICO) VALUES "
                             "(2, '2024/05/01 00:00:00', 'Trabajo', TRUE)"));
    QVERIFY(q.ExecuteCommand("INSERT INTO TURNOS (ID, NOMBRE, ORDEN, ID_TIPOTURNO) VALUES "
                             "(7, 'M', 3, 2)"));

    QCOMPARE(q.GetInt("PERSONAL", "ID", "NOMBREPLANILLA", 0), -1); // no row ('Ana R.' = 0 false)
    QCOMPARE(q.GetIntById("PERSONAL", "ID_FUNCION", 4), -1);       // NULL
    QCOMPARE(q.GetIntById("PERSONAL", "ID_FUNCION", 99), -1);      // no row
    QCOMPARE(q.GetIntById("FIESTAS", "CICLICO", 2), 0);            // yes/no column
    QCOMPARE(q.GetIntByTwoKeys("TURNOS", "ID", "ORDEN", 3, "ID_TIPOTURNO", 2), 7);
    QCOMPARE(q.GetIntByTwoKeys("TURNOS", "ID", "ORDEN", 3, "ID_TIPOTURNO", 1), -1);
    QCOMPARE(q.GetTextById("PERSONAL", "NOMBRE", 4), QString("Ana")); // trimmed
    QCOMPARE(q.GetTextById("PERSONAL", "ID", 4), QString());          // number: empty
    QCOMPARE(q.GetTextById("FIESTAS", "DIA", 2), QString());          // date: empty
    QVERIFY(q.GetFlagById("FIESTAS", "CICLICO", 2));
    QVERIFY(q.GetFlag("FIESTAS", "CICLICO", "ID", 2));
    QVERIFY(!q.GetFlagById("FIESTAS", "CICLICO", 3));
    QVERIFY(!q.GetFlagById("FIESTAS", "ID", 2)); // not a yes/no column
    CDateTime day(2000, 1, 1);
    q.GetDateTimeById("FIESTAS", "DIA", 3, day);
    QCOMPARE(day, CDateTime(2000, 1, 1)); // no row: unchanged
    q.GetDateTimeById("FIESTAS", "DIA", 2, day);
    QCOMPARE(day, CDateTime(2024, 5, 1));
    QCOMPARE(m_c->Boxes(), 0);

    // A failed read reports once and gives its failure value; the connection stays.
    QCOMPARE(q.GetIntById("PERSONAL", "NO_HAY", 4), -1);
    QString text = "x";
    QVERIFY(!q.GetTextById("NO_HAY", "NOMBRE", 4, text));
    QCOMPARE(text, QString());
    QVERIFY(!q.GetFlagById("NO_HAY", "CICLICO", 2));
    q.GetDateTimeById("NO_HAY", "DIA", 2, day);
    QCOMPARE(day, CDateTime(2024, 5, 1));
    QCOMPARE(m_c->Boxes(), 4);
    QVERIFY((*m_c)->IsOpen());
}

void TestDbQuery::conversionsByDeclaredType() {
    // A table as another tool may have declared it.
    CDbQuery q(**m_c);
    QVERIFY(q.ExecuteCommand("CREATE TABLE OTRA (ID COUNTER, C SMALLINT, L LONG, M MEMO, "
                             "S CHAR(5), Y YESNO, B BIT, D DATE, T TIME, R REAL, N)"));
    QVERIFY(q.ExecuteCommand("INSERT INTO OTRA VALUES (1, 70000, 5000000000, 12, ' abc ', 1, "
                             "'True', '2024-03-28', 0.5, 2.5, 'texto')"));
    QVERIFY(q.ExecuteCommand("INSERT INTO OTRA VALUES (2, '12', 7.6, NULL, NULL, 0, NULL, 45379, "
                             "'08:15', NULL, 42)"));
    CDbRecordset rs = q.Open("SELECT * FROM OTRA ORDER BY ID");
    QVERIFY(!rs.IsEOF());
    QCOMPARE(rs.GetInt("ID"), 1);
    QCOMPARE(rs.GetInt("C"), 4464);           // 16-bit
    QCOMPARE(rs.GetInt("L"), int(705032704)); // 32-bit
    QCOMPARE(rs.GetText("M"), QString("12")); // memo: text
    QCOMPARE(rs.GetInt("M"), 0);              // text column: not an integer
    QCOMPARE(rs.GetText("S"), QString("abc"));
    QVERIFY(rs.GetFlag("Y"));
    QVERIFY(rs.GetFlag("B"));
    QCOMPARE(rs.GetInt("Y"), 0);
    QCOMPARE(rs.GetDateTime("D"), CDateTime(2024, 3, 28));
    QCOMPARE(rs.GetDateTime("T").GetHour(), 12);
    QCOMPARE(rs.GetInt("R"), 0);                 // a double is not an integer
    QCOMPARE(rs.GetText("N"), QString("texto")); // no declared type: by value
    QCOMPARE(rs.GetInt("N"), 0);
    QVERIFY(!rs.GetDateTime("Y").IsValid());
    QVERIFY(rs.MoveNext());
    QCOMPARE(rs.GetInt("C"), 12);
    QCOMPARE(rs.GetInt("L"), 8); // rounded
    QCOMPARE(rs.GetInt("M"), -1);
    QCOMPARE(rs.GetText("S"), QString());
    QVERIFY(rs.IsNull("S"));
    QVERIFY(!rs.GetFlag("Y"));
    QVERIFY(!rs.GetFlag("B"));
    QCOMPARE(rs.GetDateTime("D"), CDateTime(2024, 3, 28));
    QCOMPARE(rs.GetDateTime("T").GetMinute(), 15);
    QCOMPARE(rs.GetDateTime("R").GetStatus(), CDateTime::Null);
    QCOMPARE(rs.GetInt("N"), 42);
    QCOMPARE(rs.GetText("N"), QString()); // a number is not a text
    QVERIFY(!rs.MoveNext());
    QVERIFY(rs.IsEOF());
    QCOMPARE(rs.GetInt("ID"), -1); // past the end: no value
    QCOMPARE(m_c->Boxes(), 0);

    // An expression has no declared type: MAX(ID) reads by its stored value.
    CDbRecordset max = q.Open("SELECT MAX(ID), COUNT(*), MAX(D) FROM OTRA");
    QCOMPARE(max.GetInt(0), 2);
    QCOMPARE(max.GetInt(1), 2);
    QCOMPARE(max.GetDateTime(2), CDateTime(2024, 3, 28));
}

void TestDbQuery::columnsByNameAndMissingColumns() {
    CDbQuery q(**m_c);
    QVERIFY(q.ExecuteCommand("INSERT INTO PERSONAL (ID, NOMBREPLANILLA) VALUES (1, 'Ana'), "
                             "(2, 'Luis')"));
    CDbRecordset rs = q.Open("SELECT PERSONAL.ID AS IDPERSONA, NOMBREPLANILLA FROM PERSONAL "
                             "ORDER BY ID");
    QCOMPARE(rs.ColumnCount(), 2);
    QCOMPARE(rs.ColumnIndex("idpersona"), 0);
    QCOMPARE(rs.GetInt("IDPERSONA"), 1);
    // A name not in the result: failure value, one box for the whole result.
    QCOMPARE(rs.GetInt("ID_FUNCION"), -1);
    rs.MoveNext();
    QCOMPARE(rs.GetInt("ID_FUNCION"), -1);
    QCOMPARE(rs.GetText("NOMBREPLANILLA"), QString("Luis"));
    QCOMPARE(m_c->Boxes(), 1);
    QVERIFY(m_c->Last().startsWith("Error 800a0cc1"));
    QVERIFY(m_c->Last().contains("ID_FUNCION"));
    QVERIFY((*m_c)->IsOpen());
}

void TestDbQuery::executeCommandReportingRule() {
    CDbQuery q(**m_c);
    uint32_t code = 0;
    // 0: silent, yet the code is given back.
    QVERIFY(!q.ExecuteCommand("CREATE TABLE AUX (A INTEGER)", &code, 0));
    QCOMPARE(code, 0x80004005u);
    QCOMPARE(m_c->Boxes(), 0);
    // The code named as the third argument is not reported either.
    QVERIFY(!q.ExecuteCommand("DELETE FROM NO_HAY", &code, 0x80040E37u));
    QCOMPARE(code, 0x80040E37u);
    QCOMPARE(m_c->Boxes(), 0);
    // Another code is.
    QVERIFY(!q.ExecuteCommand("DELETE FORM FUNCIONES", &code, 0x80040E37u));
    QCOMPARE(code, 0x80040E14u);
    QCOMPARE(m_c->Boxes(), 1);
    QVERIFY(!q.ExecuteCommand("DELETE FROM NO_HAY"));
    QCOMPARE(m_c->Boxes(), 2);
    QVERIFY(q.ExecuteCommand("DELETE FROM FUNCIONES"));
    QVERIFY(q.SetIntById("FUNCIONES", "ID", 1, 2)); // no row changed is no failure
    QVERIFY(q.DeleteWhere("FUNCIONES", "ID", 0));
    QVERIFY(!q.SetIntById("NO_HAY", "ID", 1, 2));
    QVERIFY(!q.DeleteWhere("NO_HAY", "ID", 1));
    QCOMPARE(m_c->Boxes(), 4);
}

void TestDbQuery::onlyOneStatementPerCall() {
    CDbQuery q(**m_c);
    QVERIFY(q.ExecuteCommand("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'UCI');"));
    uint32_t code = 0;
    QVERIFY(!q.ExecuteCommand("DELETE FROM FUNCIONES; DROP TABLE PERSONAL", &code));
    QCOMPARE(code, 0x80040E14u);
    QVERIFY(!q.Open("SELECT * FROM FUNCIONES; DROP TABLE PERSONAL").IsOpen());
    QVERIFY(!q.ExecuteCommand("   ", &code));
    QCOMPARE(code, 0x80040E14u);
    QCOMPARE(m_c->Boxes(), 3);
    QCOMPARE(q.GetIntById("FUNCIONES", "ID", 1), 1);
    QCOMPARE(q.GetIntById("PERSONAL", "ID", 1), -1);
    QCOMPARE(m_c->Boxes(), 3);
}

void TestDbQuery::integrityViolationStoresNothing() {
    CDbQuery q(**m_c);
    uint32_t code = 0;
    const QString tooLong(31, QChar(0x00F1)); // 31 letters "ñ": one more than the column
    QVERIFY(!q.ExecuteCommand(QString("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'UCI'), "
                                      "(2, '%1')")
                                  .arg(tooLong),
                              &code));
    QCOMPARE(code, 0x80040E2Fu);
    QCOMPARE(q.NextId("FUNCIONES"), 1); // the first row was not kept either
    QVERIFY(q.ExecuteCommand(
        QString("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, '%1')").arg(tooLong.left(30))));
    QVERIFY(!q.ExecuteCommand("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'Otra')", &code));
    QCOMPARE(code, 0x80040E2Fu);
    QCOMPARE(q.GetTextById("FUNCIONES", "NOMBRE", 1), tooLong.left(30));
    QCOMPARE(m_c->Boxes(), 2);
    QVERIFY(m_c->Last().startsWith("Error 80040e2f \rMensaje: IDispatch error #3119"));
}

void TestDbQuery::nextId() {
    CDbQuery q(**m_c);
    QCOMPARE(q.NextId("FUNCIONES"), 1);
    QVERIFY(q.ExecuteCommand("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (2, 'a'), (7, 'b')"));
    QCOMPARE(q.NextId("FUNCIONES"), 8);
    QCOMPARE(m_c->Boxes(), 0);
    // Every attempt fails: each is reported, then -1 (the caller stores nothing).
    QCOMPARE(q.NextId("NO_HAY"), -1);
    QCOMPARE(m_c->Boxes(), CDbQuery::NextIdAttempts);
}

void TestDbQuery::quotedTextsRoundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("one quote") << "Ruiz d'Ávila";
    QTest::newRow("three quotes") << "'a'b'";
    QTest::newRow("statement inside") << "x'); DROP TABLE FUNCIONES; --";
    QTest::newRow("double quotes and hash") << "\"#28/03/24#\" 100%";
}

void TestDbQuery::quotedTextsRoundTrip() {
    QFETCH(QString, text);
    CDbQuery q(**m_c);
    QCOMPARE(QuoteSqlText(text).count("''"), text.count('\''));
    QVERIFY(q.ExecuteCommand(
        QString("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, '%1')").arg(QuoteSqlText(text))));
    QCOMPARE(q.GetTextById("FUNCIONES", "NOMBRE", 1), text);
    QVERIFY(q.ExecuteCommand(
        QString("UPDATE FUNCIONES SET NOMBRE = '%1' WHERE NOMBRE = '%1'").arg(QuoteSqlText(text))));
    QCOMPARE(q.GetIntById("FUNCIONES", "ID", 1), 1);
    QCOMPARE(q.GetIntById("PERSONAL", "ID", 1), -1); // the table is still there
    QCOMPARE(m_c->Boxes(), 0);
}

void TestDbQuery::originalStatementsRunUnchanged() {
    CDbQuery q(**m_c);
    QVERIFY(q.ExecuteCommand("INSERT INTO PERSONAL (ID, NOMBREPLANILLA, ID_FUNCION) VALUES "
                             "(1, 'Ana', 3), (2, 'Luis', 3)"));
    QVERIFY(q.ExecuteCommand(QString("INSERT INTO ASIG_TURNOS (ID, ID_PERSONAL, DIA_REF, ID_TURNO) "
                                     "VALUES (1, 1, %1, 5), (2, 1, %2, 6), (3, 2, %3, 7)")
                                 .arg(FormatDateTimeLiteral(CDateTime(2024, 3, 27, 23, 0, 0)),
                                      FormatDateTimeLiteral(CDateTime(2024, 3, 28)),
                                      FormatDateTimeLiteral(CDateTime(2024, 2, 1)))));
    // References dated before the 28th of March 2024, newest first.
    const QString sql =
        QString::asprintf("SELECT PERSONAL.ID AS IDPERSONA,NOMBREPLANILLA ,DIA_REF,ID_TURNO FROM  "
                          "PERSONAL, ASIG_TURNOS WHERE PERSONAL.ID = ASIG_TURNOS.ID_PERSONAL AND "
                          "DIA_REF < #28/%02d/%02d# AND PERSONAL.ID_FUNCION=%i ORDER BY DIA_REF "
                          "DESC",
                          3, 24, 3);
    CDbRecordset rs = q.Open(sql);
    QVERIFY(rs.IsOpen());
    QCOMPARE(rs.GetInt("IDPERSONA"), 1);
    QCOMPARE(rs.GetInt("ID_TURNO"), 5);
    QCOMPARE(rs.GetDateTime("DIA_REF"), CDateTime(2024, 3, 27, 23, 0, 0));
    QVERIFY(rs.MoveNext());
    QCOMPARE(rs.GetText("NOMBREPLANILLA"), QString("Luis"));
    QVERIFY(!rs.MoveNext());
    QCOMPARE(m_c->Boxes(), 0);
}

void TestDbQuery::datePartOnEveryStoredForm() {
    CDbQuery q(**m_c);
    // The 5th of May 2024 stored in every form, and one value that is no date.
    QVERIFY(q.ExecuteCommand(
        "INSERT INTO FIESTAS (ID, DIA, DESCRIPCION, CICLICO) VALUES "
        "(1, '2024/05/05 10:00:00', 'a', FALSE), (2, '2024-05-05 10:00:00', 'b', FALSE), "
        "(3, '2024-05-05', 'c', FALSE), (4, '2024/05/05', 'd', FALSE), (5, 45417.5, 'e', FALSE), "
        "(6, 'nunca', 'f', FALSE), (7, NULL, 'g', FALSE), (8, '2001/05/05 00:00:00', 'h', TRUE), "
        "(9, '2024/05/06 00:00:00', 'i', FALSE)"));
    const QString oneOff = QString::asprintf(
        "SELECT * FROM FIESTAS WHERE CICLICO=FALSE AND DATEPART(\"d\",DIA)=%02d AND "
        "DATEPART(\"m\",DIA)=%02d AND DATEPART(\"yyyy\",DIA)=%04d",
        5, 5, 2024);
    CDbRecordset rs = q.Open(oneOff);
    QStringList found;
    for (; !rs.IsEOF(); rs.MoveNext())
        found << rs.GetText("DESCRIPCION");
    QCOMPARE(found, QStringList({"a", "b", "c", "d", "e"}));
    const QString yearly = QString::asprintf("SELECT * FROM FIESTAS WHERE CICLICO=TRUE AND "
                                             "DATEPART(\"d\",DIA)=%d AND DATEPART(\"m\",DIA)=%d",
                                             5, 5);
    rs = q.Open(yearly);
    QCOMPARE(rs.GetText("DESCRIPCION"), QString("h"));
    QVERIFY(!rs.MoveNext());
    rs = q.Open("SELECT DATEPART('h', DIA), DATEPART('w', DIA), DATEPART('ww', DIA, 2, 2) "
                "FROM FIESTAS WHERE ID = 5");
    QCOMPARE(rs.GetInt(0), 12);
    QCOMPARE(rs.GetInt(1), 1); // a Sunday
    QCOMPARE(rs.GetInt(2), 18);
    rs.Close();
    QCOMPARE(m_c->Boxes(), 0);
    // An unknown interval is an error of the statement.
    QVERIFY(!q.Open("SELECT DATEPART('semana', DIA) FROM FIESTAS").IsOpen());
    QCOMPARE(m_c->Boxes(), 1);
}

void TestDbQuery::textsSortAndCompareInSpanish() {
    CDbQuery q(**m_c);
    QVERIFY(q.ExecuteCommand(
        "INSERT INTO PERSONAL (ID, APELLIDOS, NOMBREPLANILLA) VALUES (1, 'Zubiri', 'a'), "
        "(2, 'Álvarez', 'b'), (3, 'Nuñez', 'c'), (4, 'Nuno', 'd'), (5, 'benítez', 'e'), "
        "(6, 'Ortega', 'f'), (7, 'Ñandú', 'g')"));
    CDbRecordset rs = q.Open("SELECT ID, NOMBRE,APELLIDOS FROM PERSONAL  ORDER BY APELLIDOS");
    QStringList order;
    for (; !rs.IsEOF(); rs.MoveNext())
        order << rs.GetText("APELLIDOS");
    QCOMPARE(order,
             QStringList({"Álvarez", "benítez", "Nuno", "Nuñez", "Ñandú", "Ortega", "Zubiri"}));
    // Letter case does not count in a comparison; accents do.
    QCOMPARE(q.GetInt("PERSONAL", "ID", "APELLIDOS = 'ZUBIRI' AND 1", 1), 1);
    QCOMPARE(q.GetInt("PERSONAL", "ID", "APELLIDOS = 'Alvarez' AND 1", 1), -1);
    QCOMPARE(m_c->Boxes(), 0);
}

void TestDbQuery::numericLocaleIsC() {
    std::setlocale(LC_ALL, "");
    CDbQuery q(**m_c);
    QCOMPARE(QString(std::setlocale(LC_NUMERIC, nullptr)), QString("C"));
}

void TestDbQuery::keptStatementsReadTheFileAsItIsNow() {
    CDbConnection& c = **m_c;
    CDbQuery q(c);
    QVERIFY(q.ExecuteCommand("INSERT INTO FIESTAS (ID, DIA, DESCRIPCION, CICLICO) VALUES "
                             "(1, '2024/05/01 00:00:00', 'Uno', TRUE), "
                             "(2, '2024/12/25 00:00:00', 'Dos', TRUE)"));
    const QString sql = "SELECT ID FROM FIESTAS WHERE ID >= :desde AND ID <= :hasta ORDER BY ID";
    const auto ids = [&](const CDbQuery::CValores& valores) {
        QList<int> leidos;
        CDbRecordset filas = q.OpenKept(sql, valores);
        for (; filas.IsOpen() && !filas.IsEOF(); filas.MoveNext())
            leidos << filas.GetInt(0);
        return leidos;
    };
    QCOMPARE(c.Sentencias().Cantidad(), 0);
    QCOMPARE(ids({{":desde", 1}, {":hasta", 2}}), QList<int>({1, 2}));
    QCOMPARE(c.Sentencias().Cantidad(), 1);
    // The same text again: the kept statement, with the new values and the new rows; a
    // value left out reads NULL (no row), not the one bound before.
    QVERIFY(q.ExecuteCommand("INSERT INTO FIESTAS (ID, DIA, DESCRIPCION, CICLICO) VALUES "
                             "(3, '2025/01/01 00:00:00', 'Tres', TRUE)"));
    QCOMPARE(ids({{":desde", 2}, {":hasta", 3.0}}), QList<int>({2, 3}));
    QCOMPARE(ids({{":desde", 1}}), QList<int>());
    QCOMPARE(ids({{":desde", 1.5}, {":hasta", 9}, {":otro", 4}}), QList<int>({2, 3}));
    QCOMPARE(c.Sentencias().Cantidad(), 1);

    // Two results of the same text at once each have their own statement.
    {
        CDbRecordset a = q.OpenKept(sql, {{":desde", 1}, {":hasta", 3}});
        CDbRecordset b = q.OpenKept(sql, {{":desde", 3}, {":hasta", 3}});
        QCOMPARE(c.Sentencias().Cantidad(), 0);
        QCOMPARE(a.GetInt(0), 1);
        QCOMPARE(b.GetInt(0), 3);
        QVERIFY(a.MoveNext());
        QCOMPARE(a.GetInt(0), 2);
        QCOMPARE(b.GetInt(0), 3);
    }
    QCOMPARE(c.Sentencias().Cantidad(), 2);

    // A change of the table's shape is seen by the kept statement.
    QVERIFY(q.ExecuteCommand("DELETE FROM FIESTAS WHERE ID = 2"));
    QVERIFY(q.ExecuteCommand("CREATE INDEX IX_PRUEBA ON FIESTAS (DESCRIPCION)"));
    QCOMPARE(ids({{":desde", 1}, {":hasta", 3}}), QList<int>({1, 3}));

    // The store is bounded, and emptied when the file is closed and opened again.
    for (int i = 0; i < CSentenciasGuardadas::Capacidad + 5; ++i)
        QVERIFY(q.OpenKept(QStringLiteral("SELECT %1").arg(i)).IsOpen());
    QCOMPARE(c.Sentencias().Cantidad(), CSentenciasGuardadas::Capacidad);
    c.Close();
    QCOMPARE(c.Sentencias().Cantidad(), 0);
    QVERIFY(c.OpenFile(m_path, ""));
    QCOMPARE(ids({{":desde", 1}, {":hasta", 3}}), QList<int>({1, 3}));
    c.Reset();
    QCOMPARE(c.Sentencias().Cantidad(), 0);
}

QTEST_GUILESS_MAIN(TestDbQuery)
#include "test_dbquery.moc"
