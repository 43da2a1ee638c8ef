// Reference assignments: the form on opening, finding a worker through the personnel
// search, the two combos and the shift key, storing assignments (the date from the
// calendar), and assignments refused because nothing could use them.

#include "AsignacionDlg.h"
#include "CalendarGrid.h"
#include "ColorRef.h"
#include "ComboList.h"
#include "Dialogs2Support.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "Modal.h"
#include "PersonalDlg.h"
#include "PickDateDlg.h"

#include <QtTest>

using namespace Dlg2Test;

namespace {
using Dlg = CAsignacionDlg;

struct Shown {
    Dlg dialog;
    Shown() {
        dialog.show();
        Pump();
    }
    CAsignacionGrid* list() { return dialog.List(); }
    CComboList* types() { return Ctl<CComboList>(&dialog, Dlg::IdShiftType); }
    CComboList* shifts() { return Ctl<CComboList>(&dialog, Dlg::IdShift); }
    CEditSpecial* edit(int id) { return Ctl<CEditSpecial>(&dialog, id); }
    int shiftKey() { return edit(Dlg::IdShiftKey)->GetValue(); }
};

QStringList ComboTexts(CComboList* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

// Answers the personnel search with the worker listed as "Surnames, Name".
void QueueSearchFor(const QString& rowText, QString* title = nullptr) {
    DvModal::QueueHandler([rowText, title](QDialog& d) {
        auto& search = static_cast<CPersonalDlg&>(d);
        if (title)
            *title = search.windowTitle();
        const int row = search.List()->FindText(rowText);
        QVERIFY(row >= 0);
        search.List()->GotoCell(0, row);
        search.SendCommand(1);
    });
}
} // namespace

class AsignacionTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitTestProgram(); }
    void init() {
        NewDatabase(QStringLiteral("asignacion.mdb"));
        Exec({"INSERT INTO FUNCIONES VALUES (1, 'Urgencias')",
              "INSERT INTO PERSONAL VALUES (1, 'Ana', 'Ruiz', 'Ana R.', 1)",
              "INSERT INTO PERSONAL VALUES (2, 'Luis', 'Gil', 'Luis G.', 1)",
              "INSERT INTO TIPOSTURNO VALUES (1, 'Rotatorio')",
              "INSERT INTO TIPOSTURNO VALUES (2, 'Noches')",
              "INSERT INTO TURNOS VALUES (1, 'Mañana', " + Lit(2005, 1, 1, 8) + ", " +
                  Lit(2005, 1, 1, 15) + ", 1, 1)",
              "INSERT INTO TURNOS VALUES (2, 'Tarde', " + Lit(2005, 1, 1, 15) + ", " +
                  Lit(2005, 1, 1, 22) + ", 2, 1)",
              "INSERT INTO TURNOS VALUES (3, 'Noche', " + Lit(2005, 1, 1, 22) + ", " +
                  Lit(2005, 1, 1, 8) + ", 1, 2)",
              "INSERT INTO TURNOS VALUES (4, 'Libre', " + Lit(2001, 4, 23) + ", " +
                  Lit(2001, 4, 23) + ", 2, 2)"});
    }
    void cleanup() {
        DvModal::ClearHandlers();
        DvMessageBox::ClearAnswers();
        QVERIFY2(DbErrors().isEmpty(), qPrintable(DbErrors().join('\n')));
    }

    void formOnOpening();
    void searchListsTheWorkersAssignmentsOldestFirst();
    void shiftTypeRefillsShiftsAndTheKeyWaitsForAChoice();
    void assignStoresTheFormAndKeepsIt();
    void assignmentsNothingCouldUseAreRefused();
};

void AsignacionTest::formOnOpening() {
    Shown s;
    QCOMPARE(s.dialog.windowTitle(), QStringLiteral("Asignación de turno de referencia"));
    QCOMPARE(s.edit(Dlg::IdDate)->text(), QStringLiteral("05-03-07"));
    QCOMPARE(s.edit(Dlg::IdTime)->text(), QStringLiteral("00:00:00"));
    QCOMPARE(s.list()->GetRowCount(), 0);
    QVERIFY(s.edit(Dlg::IdWorkerName)->IsReadOnly());
    QCOMPARE(s.edit(Dlg::IdWorkerName)->GetBackgroundColor(), DvColor::Rgb(204, 236, 255));
    // Types in alphabetical order, the first one chosen; its shifts in the stored
    // order, none chosen.
    QCOMPARE(ComboTexts(s.types()), (QStringList{"Noches", "Rotatorio"}));
    QCOMPARE(s.types()->currentText(), QStringLiteral("Noches"));
    QCOMPARE(ComboTexts(s.shifts()), (QStringList{"Noche", "Libre"}));
    QCOMPARE(s.shifts()->currentIndex(), -1);
    QCOMPARE(s.shiftKey(), 0);
}

void AsignacionTest::searchListsTheWorkersAssignmentsOldestFirst() {
    Exec({"INSERT INTO ASIG_TURNOS VALUES (1, 1, " + Lit(2007, 2, 1) + ", 2)",
          "INSERT INTO ASIG_TURNOS VALUES (2, 1, " + Lit(2006, 11, 20) + ", 3)",
          "INSERT INTO ASIG_TURNOS VALUES (3, 2, " + Lit(2006, 1, 1) + ", 1)"});
    Shown s;
    QString title;
    QueueSearchFor(QStringLiteral("Ruiz, Ana"), &title);
    s.dialog.SendCommand(Dlg::IdFind);
    QCOMPARE(title, QStringLiteral("Búsqueda de personal"));
    QCOMPARE(s.edit(Dlg::IdWorkerName)->text(), QStringLiteral("Ana Ruiz"));
    QCOMPARE(s.edit(Dlg::IdWorkerKey)->GetValue(), 1);
    QCOMPARE(s.list()->GetRowCount(), 2);
    QCOMPARE(RowTexts(s.list(), 0), (QStringList{"Noches - Noche", "20-11-06"}));
    QCOMPARE(RowTexts(s.list(), 1), (QStringList{"Rotatorio - Tarde", "01-02-07"}));
    QCOMPARE(s.list()->RowKey(0), 2);

    // Another worker replaces the list; a search closed without choosing leaves none.
    QueueSearchFor(QStringLiteral("Gil, Luis"));
    s.dialog.SendCommand(Dlg::IdFind);
    QCOMPARE(s.list()->GetRowCount(), 1);
    DvModal::QueueHandler([](QDialog& d) { static_cast<CPersonalDlg&>(d).SendCommand(2); });
    s.dialog.SendCommand(Dlg::IdFind);
    QCOMPARE(s.edit(Dlg::IdWorkerKey)->GetValue(), -1);
    QCOMPARE(s.list()->GetRowCount(), 0);
}

void AsignacionTest::shiftTypeRefillsShiftsAndTheKeyWaitsForAChoice() {
    Shown s;
    s.shifts()->setCurrentIndex(0); // "Noche"
    QCOMPARE(s.shiftKey(), 3);
    s.types()->setCurrentIndex(s.types()->findText(QStringLiteral("Rotatorio")));
    QCOMPARE(ComboTexts(s.shifts()), (QStringList{"Mañana", "Tarde"}));
    QCOMPARE(s.shifts()->currentIndex(), -1);
    QCOMPARE(s.shiftKey(), 3);
    // The form shows no shift, so none is assigned.
    QueueSearchFor(QStringLiteral("Ruiz, Ana"));
    s.dialog.SendCommand(Dlg::IdFind);
    DvMessageBox::Recorder boxes;
    s.dialog.SendCommand(Dlg::IdAssign);
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Last().text, QStringLiteral("No se ha elegido el turno"));
    QCOMPARE(boxes.Last().caption, QStringLiteral("Dravonela"));
    QCOMPARE(Count("SELECT COUNT(*) FROM ASIG_TURNOS"), 0);
    s.shifts()->setCurrentIndex(1);
    QCOMPARE(s.shiftKey(), 2);
    // Back on the first type, its shift shows as chosen again only if it is the key.
    s.types()->setCurrentIndex(s.types()->findText(QStringLiteral("Noches")));
    QCOMPARE(s.shifts()->currentIndex(), -1);
}

void AsignacionTest::assignStoresTheFormAndKeepsIt() {
    Shown s;
    QueueSearchFor(QStringLiteral("Ruiz, Ana"));
    s.dialog.SendCommand(Dlg::IdFind);
    s.types()->setCurrentIndex(s.types()->findText(QStringLiteral("Rotatorio")));
    s.shifts()->setCurrentIndex(1); // "Tarde"
    QString heading;
    DvModal::QueueHandler([&heading](QDialog& d) {
        CCalendarGrid* calendar = static_cast<CPickDateDlg&>(d).Calendar();
        calendar->GetCellText(2, -2, &heading);
        ClickCell(calendar, 1, 3); // Tuesday 20 March 2007
        static_cast<CPickDateDlg&>(d).SendCommand(1);
    });
    s.dialog.SendCommand(Dlg::IdChooseDate);
    QCOMPARE(heading, QStringLiteral("Marzo 2007"));
    QCOMPARE(s.edit(Dlg::IdDate)->text(), QStringLiteral("20-03-07"));

    s.dialog.SendCommand(Dlg::IdAssign);
    QCOMPARE(Count("SELECT COUNT(*) FROM ASIG_TURNOS"), 1);
    QCOMPARE(Value("SELECT ID_PERSONAL FROM ASIG_TURNOS WHERE ID=1").toInt(), 1);
    QCOMPARE(Value("SELECT ID_TURNO FROM ASIG_TURNOS WHERE ID=1").toInt(), 2);
    QCOMPARE(Value("SELECT DIA_REF FROM ASIG_TURNOS WHERE ID=1").toString(),
             QStringLiteral("2007/03/20 00:00:00"));
    QCOMPARE(s.list()->GetRowCount(), 1);
    QCOMPARE(RowTexts(s.list(), 0), (QStringList{"Rotatorio - Tarde", "20-03-07"}));
    QCOMPARE(s.list()->RowKey(0), 1);

    // The form keeps its values: the same assignment can be added again.
    QCOMPARE(s.edit(Dlg::IdDate)->text(), QStringLiteral("20-03-07"));
    s.dialog.SendCommand(Dlg::IdAssign);
    QCOMPARE(Count("SELECT COUNT(*) FROM ASIG_TURNOS WHERE ID_TURNO=2 AND ID_PERSONAL=1"), 2);
    QCOMPARE(s.list()->GetRowCount(), 2);
    QCOMPARE(s.list()->RowKey(1), 2);
}

void AsignacionTest::assignmentsNothingCouldUseAreRefused() {
    Shown s;
    s.shifts()->setCurrentIndex(0);
    DvMessageBox::Recorder boxes;
    // No worker found yet.
    s.dialog.SendCommand(Dlg::IdAssign);
    QCOMPARE(boxes.Last().text, QStringLiteral("Elija primero con \"Buscar\" el trabajador"));
    // A date that cannot be read.
    s.dialog.ShowWorker(2);
    s.edit(Dlg::IdDate)->SetDisplayText(QStringLiteral("12-__-07"));
    s.dialog.SendCommand(Dlg::IdAssign);
    QCOMPARE(boxes.Last().text, QStringLiteral("La fecha no es válida"));
    QCOMPARE(boxes.Count(), 2);
    QCOMPARE(Count("SELECT COUNT(*) FROM ASIG_TURNOS"), 0);
    s.edit(Dlg::IdDate)->SetDisplayText(QStringLiteral("12-10-07"));
    s.dialog.SendCommand(Dlg::IdAssign);
    QCOMPARE(Value("SELECT DIA_REF FROM ASIG_TURNOS WHERE ID_PERSONAL=2").toString(),
             QStringLiteral("2007/10/12 00:00:00"));
}

QTEST_MAIN(AsignacionTest)
#include "AsignacionTest.moc"
