// The binding of record dialogs to table columns, on real edits and check boxes: what a
// new row shows, the statements it builds, when it sees a change, and what it stores.

#include "RecordBinding.h"
#include "BoundControls.h"
#include "DialogTestUtil.h"
#include "MaskedEdit.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QtTest>

using namespace DlgTest;

class RecordBindingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DvTest::IsolateSettings(); }
    void init() { OpenNewDatabase(); }
    void cleanupTestCase() { CloseDatabase(); }

    void newRowShowsDefaultsAndTakesLimits();
    void rosterOptionsStatementsAndNewIds();
    void changesAreSeenControlByControl();
    void quotesAreStoredUnchanged();
    void dateAndTimeAreJoinedAndSplit();
    void incompleteDateStoresNull();
    void updateOfIdZeroChangesNothing();
    void refusedValueStoresNothing();
};

void RecordBindingTest::newRowShowsDefaultsAndTakesLimits() {
    QWidget form;
    auto* name = new QLineEdit(QStringLiteral("resto de otra ficha"), &form);
    auto* size = new CEditSpecial(&form);
    auto* yearly = new QCheckBox(&form);
    CRecordBinding binding;
    binding.SetTable(QStringLiteral("FIESTAS"));
    binding.BindText(DvBindControl(name), QStringLiteral("DESCRIPCION"), 30);
    binding.BindInt(DvBindControl(size), QStringLiteral("TAM_FUENTE"), 15);
    binding.BindFlag(DvBindControl(yearly), QStringLiteral("CICLICO"), true);
    binding.Load(-1);
    QCOMPARE(name->text(), QString());
    QCOMPARE(name->maxLength(), 30);
    QCOMPARE(size->text(), QStringLiteral("15"));
    QVERIFY(yearly->isChecked());
    // Any ID not above 0 is a new row.
    name->setText(QStringLiteral("x"));
    binding.Load(0);
    QCOMPARE(name->text(), QString());
    QVERIFY(binding.IsModified(-1));
    QVERIFY(binding.IsModified(0));
    QVERIFY(DbErrors().isEmpty());
}

void RecordBindingTest::rosterOptionsStatementsAndNewIds() {
    QWidget form;
    auto* font = new CEditSpecial(&form);
    auto* row = new CEditSpecial(&form);
    auto* service = new CEditSpecial(&form);
    auto* landscape = new QCheckBox(&form);
    CRecordBinding binding;
    binding.SetTable(QStringLiteral("PREF_IMPRESION"));
    binding.BindInt(DvBindControl(font), QStringLiteral("TAM_FUENTE"), 15);
    binding.BindInt(DvBindControl(row), QStringLiteral("ALTO_FILA"), 16);
    binding.BindInt(DvBindControl(service), QStringLiteral("ID_SERVICIO"), 0);
    binding.BindFlag(DvBindControl(landscape), QStringLiteral("HORIZONTAL"), true);
    binding.Load(-1);
    service->SetValue(3);

    long id = -1;
    QVERIFY(binding.Save(id));
    QCOMPARE(id, 1L);
    QCOMPARE(binding.InsertStatement(id),
             QStringLiteral("INSERT INTO PREF_IMPRESION (ID,TAM_FUENTE,ALTO_FILA,ID_SERVICIO,"
                            "HORIZONTAL) VALUES(1,15,16,3,1)"));
    QCOMPARE(Rows("SELECT ID, TAM_FUENTE, ALTO_FILA, ID_SERVICIO, HORIZONTAL FROM PREF_IMPRESION"),
             QStringList{"1|15|16|3|1"});

    // New IDs follow the highest one, whatever gaps lie below.
    QVERIFY(Exec("INSERT INTO PREF_IMPRESION (ID) VALUES (7)"));
    landscape->setChecked(false);
    font->SetValue(12);
    id = -1;
    QVERIFY(binding.Save(id));
    QCOMPARE(id, 8L);
    QCOMPARE(Value("SELECT TAM_FUENTE || '/' || HORIZONTAL FROM PREF_IMPRESION WHERE ID = 8"),
             QStringLiteral("12/0"));

    row->SetValue(20);
    QVERIFY(binding.Save(id));
    QCOMPARE(binding.UpdateStatement(id),
             QStringLiteral("UPDATE PREF_IMPRESION SET TAM_FUENTE = 12,ALTO_FILA = 20,"
                            "ID_SERVICIO = 3,HORIZONTAL = 0 WHERE ID = 8"));
    QCOMPARE(IntValue("SELECT ALTO_FILA FROM PREF_IMPRESION WHERE ID = 8"), 20);
    QCOMPARE(IntValue("SELECT COUNT(*) FROM PREF_IMPRESION"), 3);
    QVERIFY(DbErrors().isEmpty());
}

void RecordBindingTest::changesAreSeenControlByControl() {
    QVERIFY(Exec("INSERT INTO FIESTAS (ID, DIA, DESCRIPCION, CICLICO) VALUES "
                 "(4, '2024/12/25 00:00:00', 'Navidad', 1)"));
    QWidget form;
    auto* description = new QLineEdit(&form);
    auto* yearly = new QCheckBox(&form);
    auto* id = new CEditSpecial(&form);
    CRecordBinding binding;
    binding.SetTable(QStringLiteral("FIESTAS"));
    binding.BindText(DvBindControl(description), QStringLiteral("DESCRIPCION"), 30);
    binding.BindFlag(DvBindControl(yearly), QStringLiteral("CICLICO"), false);
    binding.BindInt(DvBindControl(id), QStringLiteral("ID"), 0);
    binding.Load(4);
    QCOMPARE(description->text(), QStringLiteral("Navidad"));
    QVERIFY(yearly->isChecked());
    QCOMPARE(id->GetValue(), 4);
    QVERIFY(!binding.IsModified(4));

    yearly->setChecked(false);
    QVERIFY(binding.IsModified(4));
    // The undetermined state of a three-state box is neither yes nor no.
    yearly->setTristate(true);
    yearly->setCheckState(Qt::PartiallyChecked);
    QVERIFY(binding.IsModified(4));
    yearly->setCheckState(Qt::Checked);
    id->SetValue(5);
    QVERIFY(binding.IsModified(4));
    id->SetValue(4);
    QVERIFY(!binding.IsModified(4));

    // A blank typed after the stored text is a change, and it is stored.
    description->setText(QStringLiteral("Navidad "));
    QVERIFY(binding.IsModified(4));
    long key = 4;
    QVERIFY(binding.Save(key));
    QCOMPARE(key, 4L);
    QCOMPARE(Value("SELECT DESCRIPCION FROM FIESTAS WHERE ID = 4"), QStringLiteral("Navidad "));
    // Read back trimmed, the stored row and the form agree again.
    binding.Load(4);
    QVERIFY(!binding.IsModified(4));
    QVERIFY(DbErrors().isEmpty());
}

void RecordBindingTest::quotesAreStoredUnchanged() {
    QWidget form;
    auto* name = new QLineEdit(&form);
    CRecordBinding binding;
    binding.SetTable(QStringLiteral("FUNCIONES"));
    binding.BindText(DvBindControl(name), QStringLiteral("NOMBRE"), 30);
    binding.Load(-1);
    name->setText(QStringLiteral("Planta 'A' d'O"));
    long id = -1;
    QVERIFY(binding.Save(id));
    QCOMPARE(binding.InsertStatement(id),
             QStringLiteral("INSERT INTO FUNCIONES (ID,NOMBRE) VALUES(1,'Planta ''A'' d''O')"));
    QCOMPARE(Value("SELECT NOMBRE FROM FUNCIONES WHERE ID = 1"), QStringLiteral("Planta 'A' d'O"));
    binding.Load(1);
    QCOMPARE(name->text(), QStringLiteral("Planta 'A' d'O"));
    QVERIFY(!binding.IsModified(1));
}

void RecordBindingTest::dateAndTimeAreJoinedAndSplit() {
    QVERIFY(Exec("INSERT INTO TURNOS (ID, NOMBRE, HORAINICIAL, HORAFINAL, ORDEN, ID_TIPOTURNO) "
                 "VALUES (3, 'Tarde', '2005/01/01 15:30:15', '2005/01/01 22:00:00', 1, 1)"));
    QWidget form;
    auto* day = new CEditSpecial(&form);
    auto* start = new CEditSpecial(&form);
    auto* end = new CEditSpecial(&form);
    day->SetMask(QStringLiteral("##-##-##"));
    start->SetMask(QStringLiteral("##:##:##"));
    end->SetMask(QStringLiteral("##:##"));
    CRecordBinding binding;
    binding.SetTable(QStringLiteral("TURNOS"));
    binding.BindDateTime(DvBindControl(day), DvBindControl(start), QStringLiteral("HORAINICIAL"),
                         CDateTime(1899, 12, 30), true);
    binding.BindDateTime(DvBindControl(day), DvBindControl(end), QStringLiteral("HORAFINAL"),
                         CDateTime(1899, 12, 30), false);

    binding.Load(-1);
    QCOMPARE(start->text(), QStringLiteral("00:00:00"));
    QCOMPARE(end->text(), QStringLiteral("00:00"));

    binding.Load(3);
    QCOMPARE(day->text(), QStringLiteral("01-01-05"));
    QCOMPARE(start->text(), QStringLiteral("15:30:15"));
    QCOMPARE(end->text(), QStringLiteral("22:00"));
    QVERIFY(!binding.IsModified(3));

    start->SetDisplayText(QStringLiteral("16:00:00"));
    QVERIFY(binding.IsModified(3));
    long id = 3;
    QVERIFY(binding.Save(id));
    QCOMPARE(binding.UpdateStatement(3),
             QStringLiteral("UPDATE TURNOS SET HORAINICIAL = '2005/01/01 16:00:00',"
                            "HORAFINAL = '2005/01/01 22:00:00' WHERE ID = 3"));
    QCOMPARE(Value("SELECT HORAINICIAL FROM TURNOS WHERE ID = 3"),
             QStringLiteral("2005/01/01 16:00:00"));

    // Shown without seconds, a stored time with seconds reads as changed and loses them.
    QVERIFY(Exec("UPDATE TURNOS SET HORAFINAL = '2005/01/01 22:00:30' WHERE ID = 3"));
    binding.Load(3);
    QCOMPARE(end->text(), QStringLiteral("22:00"));
    QVERIFY(binding.IsModified(3));
    QVERIFY(DbErrors().isEmpty());
}

void RecordBindingTest::incompleteDateStoresNull() {
    QVERIFY(Exec("INSERT INTO FIESTAS (ID, DIA, DESCRIPCION, CICLICO) VALUES "
                 "(1, '2024/05/01 00:00:00', 'Trabajo', 1)"));
    QWidget form;
    auto* day = new CEditSpecial(&form);
    auto* time = new CEditSpecial(&form);
    day->SetMask(QStringLiteral("##-##-##"));
    time->SetMask(QStringLiteral("##:##"));
    CRecordBinding binding;
    binding.SetTable(QStringLiteral("FIESTAS"));
    binding.BindDateTime(DvBindControl(day), DvBindControl(time), QStringLiteral("DIA"),
                         CDateTime(2024, 1, 1), false);
    binding.Load(1);
    QCOMPARE(day->text(), QStringLiteral("01-05-24"));
    day->SetDisplayText(QStringLiteral("01-05-__"));
    QVERIFY(binding.IsModified(1));
    long id = 1;
    QVERIFY(binding.Save(id));
    QCOMPARE(binding.UpdateStatement(1),
             QStringLiteral("UPDATE FIESTAS SET DIA = null WHERE ID = 1"));
    QCOMPARE(Rows("SELECT DIA FROM FIESTAS WHERE ID = 1"), QStringList{"NULL"});
    // A NULL column shows both fields empty and is no change against empty fields.
    binding.Load(1);
    QCOMPARE(day->text(), QStringLiteral("__-__-__"));
    QCOMPARE(time->text(), QStringLiteral("__:__"));
    QVERIFY(!binding.IsModified(1));

    // An impossible date is no date either; a new row with one inserts NULL.
    day->SetDisplayText(QStringLiteral("31-02-07"));
    time->SetDisplayText(QStringLiteral("10:00"));
    id = -1;
    QVERIFY(binding.Save(id));
    QCOMPARE(binding.InsertStatement(id),
             QStringLiteral("INSERT INTO FIESTAS (ID,DIA) VALUES(2,null)"));
    QVERIFY(DbErrors().isEmpty());
}

void RecordBindingTest::updateOfIdZeroChangesNothing() {
    QVERIFY(Exec("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'UCI')"));
    QWidget form;
    auto* name = new QLineEdit(&form);
    CRecordBinding binding;
    binding.SetTable(QStringLiteral("FUNCIONES"));
    binding.BindText(DvBindControl(name), QStringLiteral("NOMBRE"), 30);
    name->setText(QStringLiteral("Urgencias"));
    long id = 0;
    QVERIFY(binding.Save(id));
    QCOMPARE(id, 0L);
    QCOMPARE(Rows("SELECT ID, NOMBRE FROM FUNCIONES"), QStringList{"1|UCI"});
    QVERIFY(DbErrors().isEmpty());
}

void RecordBindingTest::refusedValueStoresNothing() {
    QVERIFY(Exec("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (5, 'UCI')"));
    QWidget form;
    auto* name = new QLineEdit(&form);
    CRecordBinding binding;
    binding.SetTable(QStringLiteral("FUNCIONES"));
    // No input limit: the column itself refuses the 31st character.
    binding.BindText(DvBindControl(name), QStringLiteral("NOMBRE"), 0);
    binding.Load(-1);
    QCOMPARE(name->maxLength(), 32767);
    name->setText(QString(31, QLatin1Char('x')));
    long id = -1;
    QVERIFY(!binding.Save(id));
    QCOMPARE(id, 6L); // the ID the insert asked for
    QCOMPARE(DbErrors().size(), 1);
    QVERIFY(DbErrors().first().startsWith(QStringLiteral("Error 80040e2f")));
    QCOMPARE(IntValue("SELECT COUNT(*) FROM FUNCIONES"), 1);

    id = 5;
    QVERIFY(!binding.Save(id));
    QCOMPARE(Value("SELECT NOMBRE FROM FUNCIONES WHERE ID = 5"), QStringLiteral("UCI"));
    QCOMPARE(DbErrors().size(), 2);
}

QTEST_MAIN(RecordBindingTest)
#include "RecordBindingTest.moc"
