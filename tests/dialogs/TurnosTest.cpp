// The shifts dialog and the shift record, driven through their controls: the list and
// its hours, choosing the shift type, new shifts and rest days, moving shifts and the
// order written on OK only.

#include "DetallesTurnoDlg.h"
#include "DialogIds.h"
#include "DialogTestUtil.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "Modal.h"
#include "TestSupport.h"
#include "TiposTurnoDlg.h"
#include "TurnosDlg.h"

#include <QCheckBox>
#include <QtTest>

using namespace DlgTest;

namespace {
void Seed() {
    QVERIFY(Exec({
        "INSERT INTO TIPOSTURNO (ID, NOMBRE) VALUES (1, 'Mañanas')",
        "INSERT INTO TIPOSTURNO (ID, NOMBRE) VALUES (2, 'Rotatorio')",
        "INSERT INTO TURNOS VALUES (1, 'Mañana', '2005/01/01 08:00:00', "
        "'2005/01/01 15:00:00', 1, 2)",
        "INSERT INTO TURNOS VALUES (2, 'Noche', '2005/01/01 22:00:00', "
        "'2005/01/01 08:00:00', 2, 2)",
        "INSERT INTO TURNOS VALUES (3, 'Libre', '2001/04/23 00:00:00', "
        "'2001/04/23 00:00:00', 3, 2)",
        "INSERT INTO TURNOS VALUES (4, 'Mañana', '2005/01/01 07:30:00', "
        "'2005/01/01 14:30:00', 1, 1)",
    }));
}

// Opens the shifts dialog and picks the shift type in row `row` of the chooser.
void ChooseType(CTurnosDlg& dialog, int row) {
    DvModal::QueueHandler([row](QDialog& live) {
        auto& chooser = static_cast<CTiposTurnoDlg&>(live);
        chooser.List()->GotoCell(0, row);
        Click(&chooser, DlgId::Ok);
    });
    Click(&dialog, DlgId::FindShiftType);
}

QStringList Orders() {
    return Rows("SELECT ID, ORDEN FROM TURNOS WHERE ID_TIPOTURNO = 2 ORDER BY ID");
}

QString TimeField(QWidget* record, int id) {
    return Text(record, id);
}
} // namespace

class TurnosTest : public QObject {
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

    void listShowsHoursAndRestDaysOfTheChosenType();
    void newBeforeAShiftTypeIsChosenIsRefused();
    void newShiftGetsNextOrderTypeAndShiftMarker();
    void newRestDayIsMarkedAndItsTimesLocked();
    void restDayRecordKeepsItsKind();
    void recordRewritesTheCurrentRow();
    void movesAtTheEndsChangeNothing();
    void movedOrderIsWrittenOnOkOnly();
    void deleteThenOkRenumbersTheRest();
    void orderHasNoGapNorRepeatAfterAnySequence();
    void assignedShiftCannotBeDeleted();
    void workingShiftNeedsBothTimes();
    void failedRenumberingKeepsTheDialogOpenAndTheOldOrder();
};

void TurnosTest::listShowsHoursAndRestDaysOfTheChosenType() {
    CTurnosDlg dialog;
    dialog.show();
    QCOMPARE(dialog.List()->GetRowCount(), 0);
    QString heading;
    dialog.List()->GetCellText(1, -1, &heading);
    QCOMPARE(heading, QStringLiteral("Horas"));
    auto* typeName = qobject_cast<CEditSpecial*>(DvFindDlgItem(&dialog, DlgId::ShiftTypeName));
    QVERIFY(typeName->IsReadOnly());

    ChooseType(dialog, 1);
    QCOMPARE(dialog.GetShiftType(), 2);
    QCOMPARE(typeName->text(), QStringLiteral("Rotatorio"));
    QCOMPARE(ListTexts(dialog.List(), 0), (QStringList{"Mañana", "Noche", "Libre"}));
    QCOMPARE(ListTexts(dialog.List(), 1), (QStringList{"08:00 - 15:00", "22:00 - 08:00", "Libre"}));
    QCOMPARE(ListKeys(dialog.List()), (QList<int>{1, 2, 3}));

    // The order is ORDEN's, not the IDs'.
    QVERIFY(Exec("UPDATE TURNOS SET ORDEN = 0 WHERE ID = 3"));
    ChooseType(dialog, 1);
    QCOMPARE(ListKeys(dialog.List()), (QList<int>{3, 1, 2}));

    // A chooser closed without choosing leaves no shift type.
    DvModal::QueueHandler([](QDialog& live) { Click(&live, DlgId::Cancel); });
    Click(&dialog, DlgId::FindShiftType);
    QCOMPARE(dialog.GetShiftType(), -1);
    QCOMPARE(typeName->text(), QString());
    QCOMPARE(dialog.List()->GetRowCount(), 0);
    QVERIFY(DbErrors().isEmpty());
}

void TurnosTest::newBeforeAShiftTypeIsChosenIsRefused() {
    DvMessageBox::Recorder boxes;
    CTurnosDlg dialog;
    dialog.show();
    const int runs = DvModal::RunCount();
    Click(&dialog, DlgId::New);
    QCOMPARE(DvModal::RunCount(), runs);
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Last().caption, QStringLiteral("Dravonela"));
    QCOMPARE(IntValue("SELECT COUNT(*) FROM TURNOS"), 4);
}

void TurnosTest::newShiftGetsNextOrderTypeAndShiftMarker() {
    CTurnosDlg dialog;
    dialog.show();
    ChooseType(dialog, 1);
    DvModal::QueueHandler([](QDialog& record) {
        QCOMPARE(TimeField(&record, DlgId::ShiftStart), QStringLiteral("00:00:00"));
        QVERIFY(DvFindDlgItem(&record, DlgId::ShiftStart)->isEnabled());
        QVERIFY(!qobject_cast<QCheckBox*>(DvFindDlgItem(&record, DlgId::RestDay))->isChecked());
        SetText(&record, DlgId::ShiftName, QStringLiteral("Tarde"));
        auto* start = qobject_cast<CEditSpecial*>(DvFindDlgItem(&record, DlgId::ShiftStart));
        start->setFocus();
        start->setCursorPosition(0);
        QTest::keyClicks(start, QStringLiteral("150000"));
        qobject_cast<CEditSpecial*>(DvFindDlgItem(&record, DlgId::ShiftEnd))
            ->SetDisplayText(QStringLiteral("22:00:00"));
        Click(&record, DlgId::Ok);
    });
    Click(&dialog, DlgId::New);
    QCOMPARE(Rows("SELECT * FROM TURNOS WHERE ID = 5"),
             QStringList{"5|Tarde|2005/01/01 15:00:00|2005/01/01 22:00:00|4|2"});
    QCOMPARE(ListTexts(dialog.List(), 1).last(), QStringLiteral("15:00 - 22:00"));
    QCOMPARE(ListKeys(dialog.List()).last(), 5);
    // Created shifts stay even when the dialog is cancelled.
    Click(&dialog, DlgId::Cancel);
    QCOMPARE(IntValue("SELECT COUNT(*) FROM TURNOS WHERE ID = 5"), 1);
}

void TurnosTest::newRestDayIsMarkedAndItsTimesLocked() {
    CTurnosDlg dialog;
    dialog.show();
    ChooseType(dialog, 0);
    DvModal::QueueHandler([](QDialog& record) {
        SetText(&record, DlgId::ShiftName, QStringLiteral("Descanso"));
        // Times half typed before the day is made a rest day must not cost the marker.
        qobject_cast<CEditSpecial*>(DvFindDlgItem(&record, DlgId::ShiftStart))
            ->SetDisplayText(QStringLiteral("1_:__:__"));
        Click(&record, DlgId::RestDay);
        QVERIFY(!DvFindDlgItem(&record, DlgId::ShiftStart)->isEnabled());
        QVERIFY(!DvFindDlgItem(&record, DlgId::ShiftEnd)->isEnabled());
        Click(&record, DlgId::RestDay);
        QVERIFY(DvFindDlgItem(&record, DlgId::ShiftEnd)->isEnabled());
        Click(&record, DlgId::RestDay);
        Click(&record, DlgId::Ok);
    });
    Click(&dialog, DlgId::New);
    QCOMPARE(Rows("SELECT NOMBRE, HORAINICIAL, HORAFINAL, ORDEN, ID_TIPOTURNO FROM TURNOS "
                  "WHERE ID = 5"),
             QStringList{"Descanso|2001/04/23 00:00:00|2001/04/23 00:00:00|2|1"});
    QCOMPARE(ListTexts(dialog.List(), 1), (QStringList{"07:30 - 14:30", "Libre"}));
}

void TurnosTest::restDayRecordKeepsItsKind() {
    CDetallesTurnoDlg record;
    record.SetShiftId(3);
    record.show();
    QVERIFY(qobject_cast<QCheckBox*>(DvFindDlgItem(&record, DlgId::RestDay))->isChecked());
    QVERIFY(!DvFindDlgItem(&record, DlgId::ShiftStart)->isEnabled());
    SetText(&record, DlgId::ShiftName, QStringLiteral("Libranza"));
    Click(&record, DlgId::Ok);
    QCOMPARE(record.GetShiftId(), 3L);
    QCOMPARE(Rows("SELECT NOMBRE, HORAINICIAL, HORAFINAL, ORDEN FROM TURNOS WHERE ID = 3"),
             QStringList{"Libranza|2001/04/23 00:00:00|2001/04/23 00:00:00|3"});

    // A working shift turned into a rest day, and back.
    CDetallesTurnoDlg working;
    working.SetShiftId(1);
    working.show();
    QVERIFY(!qobject_cast<QCheckBox*>(DvFindDlgItem(&working, DlgId::RestDay))->isChecked());
    QCOMPARE(TimeField(&working, DlgId::ShiftStart), QStringLiteral("08:00:00"));
    Click(&working, DlgId::RestDay);
    Click(&working, DlgId::Ok);
    QCOMPARE(Value("SELECT HORAINICIAL FROM TURNOS WHERE ID = 1"),
             QStringLiteral("2001/04/23 08:00:00"));
    QVERIFY(DbErrors().isEmpty());
}

void TurnosTest::recordRewritesTheCurrentRow() {
    CTurnosDlg dialog;
    dialog.show();
    ChooseType(dialog, 1);
    dialog.List()->GotoCell(0, 1);
    DvModal::QueueHandler([](QDialog& record) {
        QCOMPARE(Text(&record, DlgId::ShiftName), QStringLiteral("Noche"));
        qobject_cast<CEditSpecial*>(DvFindDlgItem(&record, DlgId::ShiftEnd))
            ->SetDisplayText(QStringLiteral("07:00:00"));
        Click(&record, DlgId::Ok);
    });
    Click(&dialog, DlgId::ShiftRecord);
    QCOMPARE(dialog.List()->RowText(1, 1), QStringLiteral("22:00 - 07:00"));
    QCOMPARE(Value("SELECT HORAFINAL FROM TURNOS WHERE ID = 2"),
             QStringLiteral("2005/01/01 07:00:00"));
    QCOMPARE(dialog.List()->GetRowCount(), 3);
}

void TurnosTest::movesAtTheEndsChangeNothing() {
    CTurnosDlg dialog;
    dialog.show();
    Click(&dialog, DlgId::MoveUp); // no rows at all
    Click(&dialog, DlgId::MoveDown);
    ChooseType(dialog, 1);
    dialog.List()->GotoCell(0, 0);
    Click(&dialog, DlgId::MoveUp);
    QCOMPARE(ListKeys(dialog.List()), (QList<int>{1, 2, 3}));
    QCOMPARE(dialog.List()->GetCurrentRow(), 0);
    dialog.List()->GotoCell(0, 2);
    Click(&dialog, DlgId::MoveDown);
    QCOMPARE(ListKeys(dialog.List()), (QList<int>{1, 2, 3}));
    QCOMPARE(dialog.List()->GetCurrentRow(), 2);
}

void TurnosTest::movedOrderIsWrittenOnOkOnly() {
    const QStringList before = Orders();
    {
        CTurnosDlg dialog;
        dialog.show();
        ChooseType(dialog, 1);
        dialog.List()->GotoCell(1, 2);
        Click(&dialog, DlgId::MoveUp);
        QCOMPARE(ListKeys(dialog.List()), (QList<int>{1, 3, 2}));
        QCOMPARE(ListTexts(dialog.List(), 1),
                 (QStringList{"08:00 - 15:00", "Libre", "22:00 - 08:00"}));
        QCOMPARE(dialog.List()->GetCurrentRow(), 1);
        QCOMPARE(dialog.List()->GetCurrentColumn(), 0);
        Click(&dialog, DlgId::Cancel);
    }
    QCOMPARE(Orders(), before);

    CTurnosDlg dialog;
    dialog.show();
    ChooseType(dialog, 1);
    dialog.List()->GotoCell(0, 0);
    Click(&dialog, DlgId::MoveDown);
    Click(&dialog, DlgId::MoveDown);
    QCOMPARE(ListKeys(dialog.List()), (QList<int>{2, 3, 1}));
    QCOMPARE(dialog.List()->GetCurrentRow(), 2);
    Click(&dialog, DlgId::Ok);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(Orders(), (QStringList{"1|3", "2|1", "3|2"}));
    // Other shift types are untouched.
    QCOMPARE(IntValue("SELECT ORDEN FROM TURNOS WHERE ID = 4"), 1);
}

void TurnosTest::deleteThenOkRenumbersTheRest() {
    DvMessageBox::Recorder boxes;
    CTurnosDlg dialog;
    dialog.show();
    ChooseType(dialog, 1);
    dialog.List()->GotoCell(0, 1);
    DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
    Click(&dialog, DlgId::Delete);
    QCOMPARE(IntValue("SELECT COUNT(*) FROM TURNOS WHERE ID = 2"), 1);
    Click(&dialog, DlgId::Delete);
    QCOMPARE(boxes.Count(), 2);
    QCOMPARE(boxes.Last().text,
             QStringLiteral("¿Esta seguro que desea borrar el elemento seleccionado?"));
    QCOMPARE(IntValue("SELECT COUNT(*) FROM TURNOS WHERE ID = 2"), 0);
    QCOMPARE(ListKeys(dialog.List()), (QList<int>{1, 3}));
    // The rotation closes up at once: no gap waits for OK.
    QCOMPARE(Orders(), (QStringList{"1|1", "3|2"}));
    Click(&dialog, DlgId::Ok);
    QCOMPARE(Orders(), (QStringList{"1|1", "3|2"}));
}

void TurnosTest::orderHasNoGapNorRepeatAfterAnySequence() {
    // An older file with a gap and a repeated place.
    QVERIFY(Exec({"UPDATE TURNOS SET ORDEN = 5 WHERE ID = 3",
                  "INSERT INTO TURNOS VALUES (6, 'Tarde', '2005/01/01 15:00:00', "
                  "'2005/01/01 22:00:00', 2, 2)"}));
    const auto addShift = [](CTurnosDlg& dialog, const QString& name) {
        DvModal::QueueHandler([name](QDialog& record) {
            SetText(&record, DlgId::ShiftName, name);
            Click(&record, DlgId::RestDay);
            Click(&record, DlgId::Ok);
        });
        Click(&dialog, DlgId::New);
    };
    {
        // Delete, then Cancel with a move pending: the stored order closes up, the move
        // is lost.
        CTurnosDlg dialog;
        dialog.show();
        ChooseType(dialog, 1);
        QCOMPARE(ListKeys(dialog.List()), (QList<int>{1, 2, 6, 3}));
        dialog.List()->GotoCell(0, 0);
        DvMessageBox::SetNextAnswer(DvMessageBox::IdYes);
        Click(&dialog, DlgId::Delete);
        dialog.List()->GotoCell(0, 2);
        Click(&dialog, DlgId::MoveUp);
        Click(&dialog, DlgId::Cancel);
        QCOMPARE(Orders(), (QStringList{"2|1", "3|3", "6|2"}));
    }
    {
        // "Nuevo" after a delete takes the next free place, never a taken one.
        CTurnosDlg dialog;
        dialog.show();
        ChooseType(dialog, 1);
        dialog.List()->GotoCell(0, 1);
        DvMessageBox::SetNextAnswer(DvMessageBox::IdYes);
        Click(&dialog, DlgId::Delete);
        addShift(dialog, QStringLiteral("Libre 2"));
        addShift(dialog, QStringLiteral("Libre 3"));
        QCOMPARE(ListKeys(dialog.List()), (QList<int>{2, 3, 5, 6}));
        Click(&dialog, DlgId::Cancel);
        QCOMPARE(Orders(), (QStringList{"2|1", "3|2", "5|3", "6|4"}));
    }
    QCOMPARE(IntValue("SELECT ORDEN FROM TURNOS WHERE ID = 4"), 1);
    QVERIFY(DbErrors().isEmpty());
}

void TurnosTest::assignedShiftCannotBeDeleted() {
    QVERIFY(Exec({"INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'UCI')",
                  "INSERT INTO PERSONAL VALUES (1, 'Ana', 'Ruiz', 'Ana', 1)",
                  "INSERT INTO ASIG_TURNOS VALUES (1, 1, '2007/03/01 00:00:00', 2)"}));
    DvMessageBox::Recorder boxes;
    CTurnosDlg dialog;
    dialog.show();
    ChooseType(dialog, 1);
    dialog.List()->GotoCell(0, 1);
    Click(&dialog, DlgId::Delete);
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Last().text,
             QStringLiteral("No se puede borrar un turno con personas asignadas"));
    QCOMPARE(boxes.Last().caption, QStringLiteral("Dravonela"));
    QCOMPARE(IntValue("SELECT COUNT(*) FROM TURNOS WHERE ID = 2"), 1);
    QCOMPARE(ListKeys(dialog.List()), (QList<int>{1, 2, 3}));
    // A shift nobody holds still goes, after the question.
    dialog.List()->GotoCell(0, 0);
    DvMessageBox::SetNextAnswer(DvMessageBox::IdYes);
    Click(&dialog, DlgId::Delete);
    QCOMPARE(boxes.Count(), 2);
    QCOMPARE(ListKeys(dialog.List()), (QList<int>{2, 3}));
}

void TurnosTest::workingShiftNeedsBothTimes() {
    DvMessageBox::Recorder boxes;
    CDetallesTurnoDlg record;
    record.SetShiftId(1);
    record.show();
    auto* end = qobject_cast<CEditSpecial*>(DvFindDlgItem(&record, DlgId::ShiftEnd));
    end->setCursorPosition(3);
    QTest::keyClick(end, Qt::Key_Delete);
    QTest::keyClick(end, Qt::Key_Delete);
    QCOMPARE(end->text(), QStringLiteral("15:__:00"));
    Click(&record, DlgId::Ok);
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Last().text, QStringLiteral("La hora no es válida"));
    QVERIFY(record.isVisible());
    QCOMPARE(Value("SELECT HORAFINAL FROM TURNOS WHERE ID = 1"),
             QStringLiteral("2005/01/01 15:00:00"));
    // A new working shift with nothing typed is no shift either.
    CDetallesTurnoDlg fresh;
    fresh.SetShiftTypeDefault(2);
    fresh.show();
    qobject_cast<CEditSpecial*>(DvFindDlgItem(&fresh, DlgId::ShiftStart))
        ->SetDisplayText(QString());
    SetText(&fresh, DlgId::ShiftName, QStringLiteral("Guardia"));
    Click(&fresh, DlgId::Ok);
    QCOMPARE(boxes.Count(), 2);
    QVERIFY(fresh.isVisible());
    QCOMPARE(IntValue("SELECT COUNT(*) FROM TURNOS"), 4);

    end->SetDisplayText(QStringLiteral("16:00:00"));
    Click(&record, DlgId::Ok);
    QVERIFY(!record.isVisible());
    QCOMPARE(Value("SELECT HORAFINAL FROM TURNOS WHERE ID = 1"),
             QStringLiteral("2005/01/01 16:00:00"));
}

void TurnosTest::failedRenumberingKeepsTheDialogOpenAndTheOldOrder() {
    QVERIFY(Exec("CREATE TRIGGER orden_fijo BEFORE UPDATE OF ORDEN ON TURNOS WHEN NEW.ID = 3 "
                 "BEGIN SELECT RAISE(ABORT, 'bloqueado'); END"));
    CTurnosDlg dialog;
    dialog.show();
    ChooseType(dialog, 1);
    dialog.List()->GotoCell(0, 2);
    Click(&dialog, DlgId::MoveUp);
    Click(&dialog, DlgId::Ok);
    QVERIFY(dialog.isVisible());
    QCOMPARE(DbErrors().size(), 1);
    QCOMPARE(Orders(), (QStringList{"1|1", "2|2", "3|3"}));
    QCOMPARE(ListKeys(dialog.List()), (QList<int>{1, 3, 2}));

    QVERIFY(Exec("DROP TRIGGER orden_fijo"));
    Click(&dialog, DlgId::Ok);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(Orders(), (QStringList{"1|1", "2|3", "3|2"}));
}

QTEST_MAIN(TurnosTest)
#include "TurnosTest.moc"
