// The personnel dialog, its search mode and the worker record, driven through their
// controls: the filter, new and edited workers, the record's checks and the worker
// cascade, whole or not at all.

#include "ComboList.h"
#include "DialogIds.h"
#include "DialogTestUtil.h"
#include "FichaPersonalDlg.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "Modal.h"
#include "PersonalDlg.h"
#include "ServiciosDlg.h"
#include "TestSupport.h"

#include <QtTest>

using namespace DlgTest;

namespace {
void Seed() {
    QVERIFY(Exec({
        "INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'Urgencias')",
        "INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (2, 'UCI')",
        "INSERT INTO PERSONAL VALUES (1, 'Ana', 'Ruiz Gil', 'Ana R.', 1)",
        "INSERT INTO PERSONAL VALUES (2, 'Luis', 'Abad Sanz', 'Luis', 2)",
        "INSERT INTO PERSONAL VALUES (3, 'Marta', 'Pérez', 'Marta P.', 1)",
        "INSERT INTO PERSONAL VALUES (4, 'Íñigo', 'Zubiri', 'Íñigo', 2)",
    }));
}

// Everything that names worker 1, as worker on leave or as substitute of worker 3.
void SeedWorkerOneEverywhere() {
    QVERIFY(Exec({
        "INSERT INTO EXCEPCIONES (ID, DIA, ID_PERSONAL, TIPO) VALUES (1, '2024/03/05', 1, 1)",
        "INSERT INTO EXCEPCIONES (ID, DIA, ID_PERSONAL, TIPO) VALUES (2, '2024/03/06', 3, 1)",
        "INSERT INTO ASIG_TURNOS VALUES (1, 1, '2024/01/01 00:00:00', 5)",
        "INSERT INTO ASIG_TURNOS VALUES (2, 3, '2024/01/01 00:00:00', 5)",
        "INSERT INTO VACACIONES VALUES (1, 1, '2024/07/01', '2024/07/15', 3)",
        "INSERT INTO VACACIONES VALUES (2, 3, '2024/08/01', '2024/08/15', 1)",
        "INSERT INTO BAJAS VALUES (1, 1, '2024/02/01', '2024/02/10', -1)",
        "INSERT INTO BAJAS VALUES (2, 3, '2024/04/01', '2024/04/10', 1)",
        "INSERT INTO DIASPERSONALES VALUES (1, 1, '2024/05/02', 3)",
        "INSERT INTO DIASPERSONALES VALUES (2, 3, '2024/05/03', 1)",
    }));
}

QStringList WorkerOneTraces() {
    QStringList traces;
    traces << Rows("SELECT 'P', ID FROM PERSONAL WHERE ID = 1");
    for (const char* table :
         {"EXCEPCIONES", "ASIG_TURNOS", "VACACIONES", "BAJAS", "DIASPERSONALES"})
        traces << Rows(QStringLiteral("SELECT '%1', ID FROM %1 WHERE ID_PERSONAL = 1").arg(table));
    for (const char* table : {"VACACIONES", "BAJAS", "DIASPERSONALES"})
        traces << Rows(
            QStringLiteral("SELECT '%1 suplente', ID FROM %1 WHERE ID_SUPLENTE = 1").arg(table));
    return traces;
}

CComboList* Filter(QWidget* dialog) {
    return qobject_cast<CComboList*>(DvFindDlgItem(dialog, DlgId::ServiceFilter));
}

int ServiceKey(QWidget* record) {
    return qobject_cast<CEditSpecial*>(DvFindDlgItem(record, DlgId::WorkerServiceKey))->GetValue();
}
} // namespace

class PersonalTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DvTest::IsolateSettings(); }
    void init() {
        OpenNewDatabase();
        Seed();
    }
    void cleanup() {
        DvMessageBox::ClearAnswers();
        DvModal::ClearHandlers();
    }
    void cleanupTestCase() { CloseDatabase(); }

    void listsAllOrOneServiceBySurnames();
    void newWorkerStartsWithTheFilteredService();
    void newWorkerWithoutServiceIsRefused();
    void emptyRosterNameIsRefusedFirst();
    void nameCopiesToRosterNameOnlyWhenChanged();
    void editRewritesTheRowAndAnUnchangedRecordIsNotSaved();
    void chooseServiceAndCancelledChooser();
    void failedSaveKeepsTheRecordOpen();
    void deleteRemovesEverythingAboutTheWorker();
    void answeringNoDeletesNothing();
    void cascadeFailingHalfWayChangesNothing();
    void cascadeGoesOnPastATableTheFileLacks();
    void searchReturnsTheDoubleClickedWorker();
    void doubleClickOpensTheRecordOutsideSearch();
};

void PersonalTest::listsAllOrOneServiceBySurnames() {
    CPersonalDlg dialog;
    dialog.show();
    CComboList* filter = Filter(&dialog);
    QCOMPARE(filter->count(), 3);
    QCOMPARE(filter->currentText(), QStringLiteral("Todos"));
    QCOMPARE(filter->GetSelectedItemData(), 0);
    QCOMPARE(ListTexts(dialog.List()),
             (QStringList{"Abad Sanz, Luis", "Pérez, Marta", "Ruiz Gil, Ana", "Zubiri, Íñigo"}));
    QCOMPARE(ListKeys(dialog.List()), (QList<int>{2, 3, 1, 4}));

    filter->SelectByItemData(1);
    QCOMPARE(ListTexts(dialog.List()), (QStringList{"Pérez, Marta", "Ruiz Gil, Ana"}));
    filter->SelectByItemData(0);
    QCOMPARE(dialog.List()->GetRowCount(), 4);
    QVERIFY(DbErrors().isEmpty());
}

void PersonalTest::newWorkerStartsWithTheFilteredService() {
    CPersonalDlg dialog;
    dialog.show();
    Filter(&dialog)->SelectByItemData(2);
    QString shownService;
    DvModal::QueueHandler([&](QDialog& record) {
        shownService = Text(&record, DlgId::WorkerServiceName);
        QCOMPARE(ServiceKey(&record), 2);
        SetText(&record, DlgId::WorkerName, QStringLiteral("Sara"));
        LeaveField(&record, DlgId::WorkerName);
        SetText(&record, DlgId::WorkerSurnames, QStringLiteral("Díaz O'Neill"));
        Click(&record, DlgId::Ok);
    });
    Click(&dialog, DlgId::New);
    QCOMPARE(shownService, QStringLiteral("UCI"));
    QCOMPARE(Rows("SELECT * FROM PERSONAL WHERE ID = 5"),
             QStringList{"5|Sara|Díaz O'Neill|Sara|2"});
    QCOMPARE(ListTexts(dialog.List()).last(), QStringLiteral("Díaz O'Neill, Sara"));
    QCOMPARE(ListKeys(dialog.List()).last(), 5);

    // Cancel adds nothing.
    DvModal::QueueHandler([](QDialog& record) {
        SetText(&record, DlgId::WorkerRosterName, QStringLiteral("Nadie"));
        Click(&record, DlgId::Cancel);
    });
    Click(&dialog, DlgId::New);
    QCOMPARE(IntValue("SELECT COUNT(*) FROM PERSONAL"), 5);
    QCOMPARE(dialog.List()->GetRowCount(), 3);
}

void PersonalTest::newWorkerWithoutServiceIsRefused() {
    DvMessageBox::Recorder boxes;
    CPersonalDlg dialog;
    dialog.show();
    bool stayedOpen = false;
    DvModal::QueueHandler([&](QDialog& record) {
        QCOMPARE(Text(&record, DlgId::WorkerServiceName), QString());
        QCOMPARE(ServiceKey(&record), 0);
        SetText(&record, DlgId::WorkerRosterName, QStringLiteral("Pablo"));
        Click(&record, DlgId::Ok);
        stayedOpen = record.isVisible();
    });
    Click(&dialog, DlgId::New);
    QVERIFY(stayedOpen);
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Last().text, QStringLiteral("No se le ha asignado un servicio"));
    QCOMPARE(boxes.Last().caption, QStringLiteral("Dravonela"));
    QCOMPARE(IntValue("SELECT COUNT(*) FROM PERSONAL"), 4);
    QCOMPARE(dialog.List()->GetRowCount(), 4);
}

void PersonalTest::emptyRosterNameIsRefusedFirst() {
    DvMessageBox::Recorder boxes;
    CFichaPersonalDlg record;
    record.show();
    Click(&record, DlgId::Ok);
    QVERIFY(record.isVisible());
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Last().text,
             QStringLiteral("El nombre que va a salir en la planilla no puede estar vacío"));
    QCOMPARE(record.GetWorkerId(), -1L);
    QCOMPARE(IntValue("SELECT COUNT(*) FROM PERSONAL"), 4);
}

void PersonalTest::nameCopiesToRosterNameOnlyWhenChanged() {
    CFichaPersonalDlg record;
    record.SetWorkerId(1);
    record.show();
    QCOMPARE(Text(&record, DlgId::WorkerName), QStringLiteral("Ana"));
    QCOMPARE(Text(&record, DlgId::WorkerRosterName), QStringLiteral("Ana R."));
    QCOMPARE(Text(&record, DlgId::WorkerServiceName), QStringLiteral("Urgencias"));

    // Passing through the name keeps the worker's own roster name...
    EnterField(&record, DlgId::WorkerName);
    LeaveField(&record, DlgId::WorkerName);
    QCOMPARE(Text(&record, DlgId::WorkerRosterName), QStringLiteral("Ana R."));
    Click(&record, DlgId::Ok);
    QVERIFY(!record.isVisible());
    QCOMPARE(Value("SELECT NOMBREPLANILLA FROM PERSONAL WHERE ID = 1"), QStringLiteral("Ana R."));

    // ...a name typed anew replaces it whole.
    CFichaPersonalDlg again;
    again.SetWorkerId(1);
    again.show();
    EnterField(&again, DlgId::WorkerName);
    SetText(&again, DlgId::WorkerName, QStringLiteral("Ana María"));
    LeaveField(&again, DlgId::WorkerName);
    QCOMPARE(Text(&again, DlgId::WorkerRosterName), QStringLiteral("Ana María"));
    // Leaving it again without a new change leaves a roster name typed since alone.
    SetText(&again, DlgId::WorkerRosterName, QStringLiteral("A. María"));
    EnterField(&again, DlgId::WorkerName);
    LeaveField(&again, DlgId::WorkerName);
    QCOMPARE(Text(&again, DlgId::WorkerRosterName), QStringLiteral("A. María"));
}

void PersonalTest::editRewritesTheRowAndAnUnchangedRecordIsNotSaved() {
    QVERIFY(Exec("CREATE TABLE escrituras (n INTEGER)"));
    QVERIFY(Exec("CREATE TRIGGER cuenta AFTER UPDATE ON PERSONAL "
                 "BEGIN INSERT INTO escrituras VALUES (1); END"));
    CPersonalDlg dialog;
    dialog.show();
    dialog.List()->GotoCell(0, 2); // Ruiz Gil, Ana
    DvModal::QueueHandler([](QDialog& record) {
        QCOMPARE(Text(&record, DlgId::WorkerSurnames), QStringLiteral("Ruiz Gil"));
        Click(&record, DlgId::Ok);
    });
    Click(&dialog, DlgId::Edit);
    QCOMPARE(IntValue("SELECT COUNT(*) FROM escrituras"), 0);

    DvModal::QueueHandler([](QDialog& record) {
        SetText(&record, DlgId::WorkerSurnames, QStringLiteral("Ruiz Gil "));
        Click(&record, DlgId::Ok);
    });
    Click(&dialog, DlgId::Edit);
    QCOMPARE(IntValue("SELECT COUNT(*) FROM escrituras"), 1);
    QCOMPARE(Value("SELECT APELLIDOS FROM PERSONAL WHERE ID = 1"), QStringLiteral("Ruiz Gil "));

    DvModal::QueueHandler([](QDialog& record) {
        SetText(&record, DlgId::WorkerSurnames, QStringLiteral("Ruiz-Gil"));
        Click(&record, DlgId::Ok);
    });
    Click(&dialog, DlgId::Edit);
    QCOMPARE(dialog.List()->RowText(2), QStringLiteral("Ruiz-Gil, Ana"));
    QCOMPARE(dialog.List()->RowKey(2), 1);
    QCOMPARE(dialog.List()->GetRowCount(), 4);
}

void PersonalTest::chooseServiceAndCancelledChooser() {
    CFichaPersonalDlg record;
    record.SetWorkerId(2);
    record.show();
    QCOMPARE(Text(&record, DlgId::WorkerServiceName), QStringLiteral("UCI"));

    DvModal::QueueHandler([](QDialog& live) {
        auto& chooser = static_cast<CServiciosDlg&>(live);
        chooser.List()->GotoCell(0, 0);
        Click(&chooser, DlgId::Ok);
    });
    Click(&record, DlgId::ChooseService);
    QCOMPARE(ServiceKey(&record), 1);
    QCOMPARE(Text(&record, DlgId::WorkerServiceName), QStringLiteral("Urgencias"));

    // Closing the chooser without choosing keeps the service just chosen.
    DvModal::QueueHandler([](QDialog& live) { QTest::keyClick(&live, Qt::Key_Escape); });
    Click(&record, DlgId::ChooseService);
    QCOMPARE(ServiceKey(&record), 1);
    QCOMPARE(Text(&record, DlgId::WorkerServiceName), QStringLiteral("Urgencias"));

    Click(&record, DlgId::Ok);
    QCOMPARE(IntValue("SELECT ID_FUNCION FROM PERSONAL WHERE ID = 2"), 1);
    QCOMPARE(DvModal::PendingHandlers(), 0);
}

void PersonalTest::failedSaveKeepsTheRecordOpen() {
    QVERIFY(Exec("CREATE TRIGGER lleno BEFORE INSERT ON PERSONAL "
                 "BEGIN SELECT RAISE(ABORT, 'disco lleno'); END"));
    CPersonalDlg dialog;
    dialog.show();
    Filter(&dialog)->SelectByItemData(1);
    bool stayedOpen = false;
    DvModal::QueueHandler([&](QDialog& record) {
        SetText(&record, DlgId::WorkerRosterName, QStringLiteral("Pablo"));
        Click(&record, DlgId::Ok);
        stayedOpen = record.isVisible();
        QCOMPARE(static_cast<CFichaPersonalDlg&>(record).GetWorkerId(), -1L);
    });
    Click(&dialog, DlgId::New);
    QVERIFY(stayedOpen);
    QCOMPARE(DbErrors().size(), 1);
    QCOMPARE(dialog.List()->GetRowCount(), 2);
}

void PersonalTest::deleteRemovesEverythingAboutTheWorker() {
    SeedWorkerOneEverywhere();
    DvMessageBox::Recorder boxes;
    CPersonalDlg dialog;
    dialog.show();
    dialog.List()->GotoCell(0, 2); // Ruiz Gil, Ana
    Click(&dialog, DlgId::Delete);
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Last().text,
             QStringLiteral("¿Esta seguro que desea borrar el elemento seleccionado?"));
    QCOMPARE(boxes.Last().buttons, DvMessageBox::YesNo);
    QCOMPARE(boxes.Last().icon, DvMessageBox::Question);
    QCOMPARE(WorkerOneTraces(), QStringList());
    QCOMPARE(ListKeys(dialog.List()), (QList<int>{2, 3, 4}));
    // Worker 3's own rows stay, with no substitute where worker 1 was.
    QCOMPARE(Rows("SELECT ID, ID_SUPLENTE FROM VACACIONES"), QStringList{"2|-1"});
    QCOMPARE(Rows("SELECT ID, ID_SUPLENTE FROM BAJAS"), QStringList{"2|-1"});
    QCOMPARE(Rows("SELECT ID, ID_SUPLENTE FROM DIASPERSONALES"), QStringList{"2|-1"});
    QCOMPARE(Rows("SELECT ID FROM EXCEPCIONES"), QStringList{"2"});
    QCOMPARE(Rows("SELECT ID FROM ASIG_TURNOS"), QStringList{"2"});
    QVERIFY(DbErrors().isEmpty());
}

void PersonalTest::answeringNoDeletesNothing() {
    SeedWorkerOneEverywhere();
    const QStringList before = WorkerOneTraces();
    DvMessageBox::Recorder boxes;
    DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
    CPersonalDlg dialog;
    dialog.show();
    dialog.List()->GotoCell(0, 2);
    Click(&dialog, DlgId::Delete);
    QCOMPARE(WorkerOneTraces(), before);
    QCOMPARE(dialog.List()->GetRowCount(), 4);
}

void PersonalTest::cascadeFailingHalfWayChangesNothing() {
    SeedWorkerOneEverywhere();
    const QStringList before = WorkerOneTraces();
    QCOMPARE(before.size(), 9);
    // The sick-leave statements come after the worker's row, exceptions, assignments
    // and vacations are already gone.
    QVERIFY(Exec("CREATE TRIGGER bajas_bloqueadas BEFORE DELETE ON BAJAS "
                 "BEGIN SELECT RAISE(ABORT, 'bloqueado'); END"));
    DvMessageBox::Recorder boxes;
    CPersonalDlg dialog;
    dialog.show();
    dialog.List()->GotoCell(0, 2);
    Click(&dialog, DlgId::Delete);
    QCOMPARE(WorkerOneTraces(), before);
    QCOMPARE(ListKeys(dialog.List()), (QList<int>{2, 3, 1, 4}));
    QCOMPARE(boxes.Count(), 2);
    QVERIFY(boxes.Last().text.startsWith(QStringLiteral("No se ha podido borrar")));
    // Each statement's own failure stays silent; the connection is left usable.
    QVERIFY(DbErrors().isEmpty());
    QVERIFY(!CPersonalDlg::DeleteWorker(1));

    QVERIFY(Exec("DROP TRIGGER bajas_bloqueadas"));
    Click(&dialog, DlgId::Delete);
    QCOMPARE(WorkerOneTraces(), QStringList());
    QCOMPARE(ListKeys(dialog.List()), (QList<int>{2, 3, 4}));
}

void PersonalTest::cascadeGoesOnPastATableTheFileLacks() {
    SeedWorkerOneEverywhere();
    QVERIFY(Exec("DROP TABLE EXCEPCIONES"));
    QVERIFY(CPersonalDlg::DeleteWorker(1));
    QCOMPARE(IntValue("SELECT COUNT(*) FROM PERSONAL WHERE ID = 1"), 0);
    QCOMPARE(IntValue("SELECT COUNT(*) FROM ASIG_TURNOS WHERE ID_PERSONAL = 1"), 0);
    QCOMPARE(IntValue("SELECT COUNT(*) FROM DIASPERSONALES WHERE ID_SUPLENTE = 1"), 0);
    QVERIFY(DbErrors().isEmpty());

    // A worker's own row that cannot go stops everything, reported.
    QVERIFY(Exec("CREATE TRIGGER fijo BEFORE DELETE ON PERSONAL "
                 "BEGIN SELECT RAISE(ABORT, 'bloqueado'); END"));
    QVERIFY(!CPersonalDlg::DeleteWorker(3));
    QCOMPARE(DbErrors().size(), 1);
    QCOMPARE(IntValue("SELECT COUNT(*) FROM VACACIONES WHERE ID_PERSONAL = 3"), 1);
    // No transaction is left open behind.
    QVERIFY(Exec("BEGIN"));
    QVERIFY(Exec("COMMIT"));
}

void PersonalTest::searchReturnsTheDoubleClickedWorker() {
    int runsInside = 0;
    QString title;
    QString okText;
    DvModal::QueueHandler([&](QDialog& live) {
        auto& search = static_cast<CPersonalDlg&>(live);
        title = search.windowTitle();
        okText = Text(&search, DlgId::Ok);
        const int runs = DvModal::RunCount();
        DoubleClickRow(search.List(), 1);
        QCoreApplication::processEvents();
        runsInside = DvModal::RunCount() - runs;
    });
    QCOMPARE(CPersonalDlg::Search(nullptr), 3); // Pérez, Marta
    QCOMPARE(title, QStringLiteral("Búsqueda de personal"));
    QCOMPARE(okText, QStringLiteral("Seleccionar"));
    QCOMPARE(runsInside, 0);

    DvModal::QueueHandler([](QDialog& live) { QTest::keyClick(&live, Qt::Key_Escape); });
    QCOMPARE(CPersonalDlg::Search(nullptr), -1);

    DvModal::QueueHandler([](QDialog& live) {
        auto& search = static_cast<CPersonalDlg&>(live);
        search.List()->GotoCell(0, 3);
        Click(&search, DlgId::Ok);
    });
    QCOMPARE(CPersonalDlg::Search(nullptr), 4);
}

void PersonalTest::doubleClickOpensTheRecordOutsideSearch() {
    CPersonalDlg dialog;
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Configuración de personal"));
    long opened = 0;
    DvModal::QueueHandler([&](QDialog& record) {
        opened = static_cast<CFichaPersonalDlg&>(record).GetWorkerId();
        Click(&record, DlgId::Cancel);
    });
    dialog.List()->GotoCell(0, 3);
    DoubleClickRow(dialog.List(), 3);
    QCoreApplication::processEvents();
    QCOMPARE(opened, 4L);
    QVERIFY(dialog.isVisible());
}

QTEST_MAIN(PersonalTest)
#include "PersonalTest.moc"
