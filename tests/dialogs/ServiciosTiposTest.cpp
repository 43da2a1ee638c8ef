// The services dialog and the shift types dialog, driven through their controls: the
// list, adding, renaming through "Editar", refused and immediate deletes, the chooser.

#include "DialogIds.h"
#include "DialogTestUtil.h"
#include "MessageBox.h"
#include "Modal.h"
#include "ServiciosDlg.h"
#include "TestSupport.h"
#include "TiposTurnoDlg.h"

#include <QtTest>

using namespace DlgTest;

namespace {
void SeedServices() {
    QVERIFY(Exec({"INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'Urgencias')",
                  "INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (2, 'UCI')",
                  "INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (3, 'Quirófano')",
                  "INSERT INTO PERSONAL (ID, NOMBRE, APELLIDOS, NOMBREPLANILLA, ID_FUNCION) "
                  "VALUES (1, 'Ana', 'Ruiz Gil', 'Ana R.', 2)"}));
}
} // namespace

class ServiciosTiposTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DvTest::IsolateSettings(); }
    void init() {
        OpenNewDatabase();
        SeedServices();
    }
    void cleanup() {
        DvMessageBox::ClearAnswers();
        DvModal::ClearHandlers();
    }
    void cleanupTestCase() { CloseDatabase(); }

    void listsServicesAndAddsOneAtTheEnd();
    void sameNameInOtherLetterCaseIsRefused();
    void editRenamesTheRecordUnderItsId();
    void editAndAddUnchangedSavesAgain();
    void emptyNameEndsPendingEditWithoutWriting();
    void deleteIsRefusedWithWorkersAndImmediateWithout();
    void buttonsOnAnEmptyListDoNothing();
    void chooserReportsCurrentRowOrMinusOne();
    void failedSaveKeepsTheFormAndAddsNoRow();
    void shiftTypesFollowTheSameRulesWithTheirTexts();
    void pendingEditIsSavedOnOkAndEscapeAndChosen();
    void typedNameIsNeverDroppedByEnterOrOk();
};

void ServiciosTiposTest::listsServicesAndAddsOneAtTheEnd() {
    CServiciosDlg dialog;
    dialog.show();
    CConfigListGrid* list = dialog.List();
    QCOMPARE(ListTexts(list), (QStringList{"Urgencias", "UCI", "Quirófano"}));
    QCOMPARE(ListKeys(list), (QList<int>{1, 2, 3}));
    QString heading;
    list->GetCellText(0, -1, &heading);
    QCOMPARE(heading, QStringLiteral("Servicios"));
    QCOMPARE(Text(&dialog, DlgId::Name), QString());

    list->GotoCell(0, 1);
    SetText(&dialog, DlgId::Name, QStringLiteral("Cardiología"));
    Click(&dialog, DlgId::Add);
    QCOMPARE(Value("SELECT NOMBRE FROM FUNCIONES WHERE ID = 4"), QStringLiteral("Cardiología"));
    QCOMPARE(ListTexts(list).last(), QStringLiteral("Cardiología"));
    QCOMPARE(ListKeys(list).last(), 4);
    QCOMPARE(list->GetCurrentRow(), 1);
    QCOMPARE(Text(&dialog, DlgId::Name), QString());
    QVERIFY(DbErrors().isEmpty());
}

void ServiciosTiposTest::sameNameInOtherLetterCaseIsRefused() {
    DvMessageBox::Recorder boxes;
    CServiciosDlg dialog;
    dialog.show();
    SetText(&dialog, DlgId::Name, QStringLiteral("uci"));
    Click(&dialog, DlgId::Add);
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Last().text, QStringLiteral("Ya está insertado el servicio"));
    QCOMPARE(boxes.Last().caption, QStringLiteral("Dravonela"));
    QCOMPARE(boxes.Last().buttons, DvMessageBox::Ok);
    QCOMPARE(IntValue("SELECT COUNT(*) FROM FUNCIONES"), 3);
    QCOMPARE(dialog.List()->GetRowCount(), 3);
    QCOMPARE(Text(&dialog, DlgId::Name), QStringLiteral("uci"));
}

void ServiciosTiposTest::editRenamesTheRecordUnderItsId() {
    DvMessageBox::Recorder boxes;
    CServiciosDlg dialog;
    dialog.show();
    CConfigListGrid* list = dialog.List();
    list->GotoCell(0, 2);
    Click(&dialog, DlgId::Edit);
    QCOMPARE(Text(&dialog, DlgId::Name), QStringLiteral("Quirófano"));
    QCOMPARE(dialog.EditingId(), 3L);
    QCOMPARE(ListTexts(list), (QStringList{"Urgencias", "UCI"}));
    QCOMPARE(Value("SELECT NOMBRE FROM FUNCIONES WHERE ID = 3"), QStringLiteral("Quirófano"));

    // A second "Editar" while one is pending does nothing.
    list->GotoCell(0, 0);
    Click(&dialog, DlgId::Edit);
    QCOMPARE(dialog.EditingId(), 3L);
    QCOMPARE(list->GetRowCount(), 2);

    SetText(&dialog, DlgId::Name, QStringLiteral("Quirófano 2"));
    Click(&dialog, DlgId::Add);
    QCOMPARE(Rows("SELECT ID, NOMBRE FROM FUNCIONES ORDER BY ID"),
             (QStringList{"1|Urgencias", "2|UCI", "3|Quirófano 2"}));
    QCOMPARE(ListTexts(list), (QStringList{"Urgencias", "UCI", "Quirófano 2"}));
    QCOMPARE(ListKeys(list), (QList<int>{1, 2, 3}));
    QCOMPARE(dialog.EditingId(), -1L);
    QCOMPARE(boxes.Count(), 0);
}

void ServiciosTiposTest::editAndAddUnchangedSavesAgain() {
    DvMessageBox::Recorder boxes;
    CServiciosDlg dialog;
    dialog.show();
    dialog.List()->GotoCell(0, 0);
    Click(&dialog, DlgId::Edit);
    Click(&dialog, DlgId::Add);
    QCOMPARE(boxes.Count(), 0);
    QCOMPARE(ListTexts(dialog.List()), (QStringList{"UCI", "Quirófano", "Urgencias"}));
    QCOMPARE(ListKeys(dialog.List()).last(), 1);
    QCOMPARE(IntValue("SELECT COUNT(*) FROM FUNCIONES"), 3);
}

void ServiciosTiposTest::emptyNameEndsPendingEditWithoutWriting() {
    CServiciosDlg dialog;
    dialog.show();
    dialog.List()->GotoCell(0, 1);
    Click(&dialog, DlgId::Edit);
    SetText(&dialog, DlgId::Name, QString());
    Click(&dialog, DlgId::Add);
    QCOMPARE(dialog.EditingId(), -1L);
    QCOMPARE(Value("SELECT NOMBRE FROM FUNCIONES WHERE ID = 2"), QStringLiteral("UCI"));
    // The record is only out of the list until the dialog is opened again.
    QCOMPARE(ListTexts(dialog.List()), (QStringList{"Urgencias", "Quirófano"}));
    CServiciosDlg again;
    again.show();
    QCOMPARE(again.List()->GetRowCount(), 3);
}

void ServiciosTiposTest::deleteIsRefusedWithWorkersAndImmediateWithout() {
    DvMessageBox::Recorder boxes;
    CServiciosDlg dialog;
    dialog.show();
    CConfigListGrid* list = dialog.List();
    list->GotoCell(0, 1); // UCI has Ana
    Click(&dialog, DlgId::Delete);
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Last().text,
             QStringLiteral("No se puede borrar un servicio con personas asignadas"));
    QCOMPARE(IntValue("SELECT COUNT(*) FROM FUNCIONES WHERE ID = 2"), 1);
    QCOMPARE(list->GetRowCount(), 3);

    list->GotoCell(0, 2);
    Click(&dialog, DlgId::Delete);
    QCOMPARE(boxes.Count(), 1); // no question asked
    QCOMPARE(IntValue("SELECT COUNT(*) FROM FUNCIONES WHERE ID = 3"), 0);
    QCOMPARE(ListTexts(list), (QStringList{"Urgencias", "UCI"}));
    QVERIFY(DbErrors().isEmpty());
}

void ServiciosTiposTest::buttonsOnAnEmptyListDoNothing() {
    QVERIFY(Exec({"DELETE FROM FUNCIONES", "DELETE FROM PERSONAL"}));
    DvMessageBox::Recorder boxes;
    CServiciosDlg dialog;
    dialog.show();
    Click(&dialog, DlgId::Delete);
    // "Editar" with nothing to edit must not turn the next "Añadir" into an update of
    // no record, which would lose the typed name.
    Click(&dialog, DlgId::Edit);
    QCOMPARE(dialog.EditingId(), -1L);
    SetText(&dialog, DlgId::Name, QStringLiteral("Pediatría"));
    Click(&dialog, DlgId::Add);
    QCOMPARE(Rows("SELECT ID, NOMBRE FROM FUNCIONES"), QStringList{"1|Pediatría"});
    QCOMPARE(ListTexts(dialog.List()), QStringList{"Pediatría"});
    QCOMPARE(boxes.Count(), 0);
    QVERIFY(DbErrors().isEmpty());
}

void ServiciosTiposTest::chooserReportsCurrentRowOrMinusOne() {
    DvModal::QueueHandler([](QDialog& live) {
        auto& dialog = static_cast<CServiciosDlg&>(live);
        dialog.List()->GotoCell(0, 2);
        Click(&dialog, DlgId::Ok);
    });
    QCOMPARE(CServiciosDlg::Choose(nullptr), 3);

    DvModal::QueueHandler([](QDialog& live) { QTest::keyClick(&live, Qt::Key_Escape); });
    QCOMPARE(CServiciosDlg::Choose(nullptr), -1);

    QVERIFY(Exec("DELETE FROM FUNCIONES"));
    DvModal::QueueHandler([](QDialog& live) { Click(&live, DlgId::Ok); });
    QCOMPARE(CServiciosDlg::Choose(nullptr), 0);
    QCOMPARE(DvModal::PendingHandlers(), 0);
}

void ServiciosTiposTest::failedSaveKeepsTheFormAndAddsNoRow() {
    QVERIFY(Exec("CREATE TRIGGER no_funciones BEFORE INSERT ON FUNCIONES "
                 "BEGIN SELECT RAISE(ABORT, 'disco lleno'); END"));
    CServiciosDlg dialog;
    dialog.show();
    SetText(&dialog, DlgId::Name, QStringLiteral("Cardiología"));
    Click(&dialog, DlgId::Add);
    QCOMPARE(DbErrors().size(), 1);
    QCOMPARE(dialog.List()->GetRowCount(), 3);
    QCOMPARE(Text(&dialog, DlgId::Name), QStringLiteral("Cardiología"));
    QCOMPARE(dialog.EditingId(), -1L);

    QVERIFY(Exec("DROP TRIGGER no_funciones"));
    Click(&dialog, DlgId::Add);
    QCOMPARE(Value("SELECT NOMBRE FROM FUNCIONES WHERE ID = 4"), QStringLiteral("Cardiología"));
    QCOMPARE(ListKeys(dialog.List()), (QList<int>{1, 2, 3, 4}));

    // A failed rename keeps the pending edit, so the next try still renames.
    QVERIFY(Exec("CREATE TRIGGER no_cambios BEFORE UPDATE ON FUNCIONES "
                 "BEGIN SELECT RAISE(ABORT, 'bloqueado'); END"));
    dialog.List()->GotoCell(0, 0);
    Click(&dialog, DlgId::Edit);
    SetText(&dialog, DlgId::Name, QStringLiteral("Urgencias adultos"));
    Click(&dialog, DlgId::Add);
    QCOMPARE(DbErrors().size(), 2);
    QCOMPARE(dialog.EditingId(), 1L);
    QVERIFY(Exec("DROP TRIGGER no_cambios"));
    Click(&dialog, DlgId::Add);
    QCOMPARE(Value("SELECT NOMBRE FROM FUNCIONES WHERE ID = 1"),
             QStringLiteral("Urgencias adultos"));
    QCOMPARE(IntValue("SELECT COUNT(*) FROM FUNCIONES"), 4);
    QCOMPARE(ListTexts(dialog.List()).last(), QStringLiteral("Urgencias adultos"));
}

void ServiciosTiposTest::shiftTypesFollowTheSameRulesWithTheirTexts() {
    QVERIFY(
        Exec({"INSERT INTO TIPOSTURNO (ID, NOMBRE) VALUES (1, 'Rotatorio')",
              "INSERT INTO TIPOSTURNO (ID, NOMBRE) VALUES (2, 'Noches')",
              "INSERT INTO TURNOS (ID, NOMBRE, ORDEN, ID_TIPOTURNO) VALUES (1, 'Noche', 1, 2)"}));
    DvMessageBox::Recorder boxes;
    CTiposTurnoDlg dialog;
    dialog.show();
    CConfigListGrid* list = dialog.List();
    QString heading;
    list->GetCellText(0, -1, &heading);
    QCOMPARE(heading, QStringLiteral("Nombre"));
    QCOMPARE(ListTexts(list), (QStringList{"Rotatorio", "Noches"}));

    SetText(&dialog, DlgId::Name, QStringLiteral("NOCHES"));
    Click(&dialog, DlgId::Add);
    QCOMPARE(boxes.Last().text, QStringLiteral("Ya está insertada el tipo de turno"));

    SetText(&dialog, DlgId::Name, QStringLiteral("Mañanas"));
    Click(&dialog, DlgId::Add);
    QCOMPARE(Value("SELECT NOMBRE FROM TIPOSTURNO WHERE ID = 3"), QStringLiteral("Mañanas"));
    QCOMPARE(ListKeys(list), (QList<int>{1, 2, 3}));

    list->GotoCell(0, 1);
    Click(&dialog, DlgId::Delete);
    QCOMPARE(boxes.Last().text,
             QStringLiteral("No se puede borrar un tipo de turno con turnos asignados"));
    QCOMPARE(IntValue("SELECT COUNT(*) FROM TIPOSTURNO"), 3);
    const int before = boxes.Count();
    list->GotoCell(0, 0);
    Click(&dialog, DlgId::Delete);
    QCOMPARE(boxes.Count(), before);
    QCOMPARE(Rows("SELECT ID FROM TIPOSTURNO ORDER BY ID"), (QStringList{"2", "3"}));

    // As chooser: OK gives the current row, Cancel gives -1.
    DvModal::QueueHandler([](QDialog& live) {
        auto& chooser = static_cast<CTiposTurnoDlg&>(live);
        chooser.List()->GotoCell(0, 1);
        Click(&chooser, DlgId::Ok);
    });
    QCOMPARE(CTiposTurnoDlg::Choose(nullptr), 3);
    DvModal::QueueHandler([](QDialog& live) { Click(&live, DlgId::Cancel); });
    QCOMPARE(CTiposTurnoDlg::Choose(nullptr), -1);
    QVERIFY(DbErrors().isEmpty());
}

void ServiciosTiposTest::pendingEditIsSavedOnOkAndEscapeAndChosen() {
    DvMessageBox::Recorder boxes;
    // The chooser: "Editar" on UCI takes its row out; OK must save the new name and
    // report UCI, not the row that took its place.
    DvModal::QueueHandler([](QDialog& live) {
        auto& dialog = static_cast<CServiciosDlg&>(live);
        dialog.List()->GotoCell(0, 1);
        Click(&dialog, DlgId::Edit);
        SetText(&dialog, DlgId::Name, QStringLiteral("UCI adultos"));
        Click(&dialog, DlgId::Ok);
        QVERIFY(!dialog.isVisible());
    });
    QCOMPARE(CServiciosDlg::Choose(nullptr), 2);
    QCOMPARE(Value("SELECT NOMBRE FROM FUNCIONES WHERE ID = 2"), QStringLiteral("UCI adultos"));

    // Escape finishes the rename too; the chooser still reports nothing chosen.
    DvModal::QueueHandler([](QDialog& live) {
        auto& dialog = static_cast<CServiciosDlg&>(live);
        dialog.List()->GotoCell(0, 0);
        Click(&dialog, DlgId::Edit);
        SetText(&dialog, DlgId::Name, QStringLiteral("Urgencias generales"));
        QTest::keyClick(&live, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    });
    QCOMPARE(CServiciosDlg::Choose(nullptr), -1);
    QCOMPARE(Value("SELECT NOMBRE FROM FUNCIONES WHERE ID = 1"),
             QStringLiteral("Urgencias generales"));

    // A rename onto another service's name is refused and the dialog stays open with
    // the pending edit, whichever way it was being closed.
    CTiposTurnoDlg types;
    QVERIFY(Exec("INSERT INTO TIPOSTURNO (ID, NOMBRE) VALUES (1, 'Rotatorio'), (2, 'Noches')"));
    types.show();
    types.List()->GotoCell(0, 0);
    Click(&types, DlgId::Edit);
    SetText(&types, DlgId::Name, QStringLiteral("noches"));
    Click(&types, DlgId::Ok);
    QVERIFY(types.isVisible());
    Click(&types, DlgId::Cancel);
    QVERIFY(types.isVisible());
    QCOMPARE(boxes.Count(), 2);
    QCOMPARE(boxes.Last().text, QStringLiteral("Ya está insertada el tipo de turno"));
    QCOMPARE(types.EditingId(), 1L);
    // Emptied, the edit ends without writing and the record stays as it was.
    SetText(&types, DlgId::Name, QString());
    Click(&types, DlgId::Ok);
    QVERIFY(!types.isVisible());
    QCOMPARE(types.GetChosen(), 1);
    QCOMPARE(Rows("SELECT NOMBRE FROM TIPOSTURNO ORDER BY ID"),
             (QStringList{"Rotatorio", "Noches"}));
    QVERIFY(DbErrors().isEmpty());
}

void ServiciosTiposTest::typedNameIsNeverDroppedByEnterOrOk() {
    DvMessageBox::Recorder boxes;
    CServiciosDlg dialog;
    dialog.show();
    dialog.activateWindow();
    QWidget* name = DvFindDlgItem(&dialog, DlgId::Name);
    name->setFocus();
    QTRY_VERIFY(name->hasFocus());
    // Enter in the name edit adds the name and leaves the dialog open for the next one.
    QTest::keyClicks(name, QStringLiteral("Neonatos"));
    QTest::keyClick(name, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QCOMPARE(Value("SELECT NOMBRE FROM FUNCIONES WHERE ID = 4"), QStringLiteral("Neonatos"));
    QCOMPARE(ListTexts(dialog.List()).last(), QStringLiteral("Neonatos"));
    QCOMPARE(Text(&dialog, DlgId::Name), QString());
    // With the edit empty, Enter is OK.
    QTest::keyClick(name, Qt::Key_Return);
    QVERIFY(!dialog.isVisible());

    // OK with a name typed saves it and reports it.
    DvModal::QueueHandler([](QDialog& live) {
        SetText(&live, DlgId::Name, QStringLiteral("Pediatría"));
        Click(&live, DlgId::Ok);
    });
    QCOMPARE(CServiciosDlg::Choose(nullptr), 5);
    QCOMPARE(Value("SELECT NOMBRE FROM FUNCIONES WHERE ID = 5"), QStringLiteral("Pediatría"));
    QCOMPARE(boxes.Count(), 0);
    QVERIFY(DbErrors().isEmpty());
}

QTEST_MAIN(ServiciosTiposTest)
#include "ServiciosTiposTest.moc"
