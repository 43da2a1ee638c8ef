// Holidays: the list's texts, the record of a new and of a stored holiday, saving,
// deleting with its question, and days that cannot be read.

#include "Dialogs2Support.h"
#include "FestivosDlg.h"
#include "FichaFestivoDlg.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "Modal.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QtTest>

using namespace Dlg2Test;

namespace {
using Record = CFichaFestivoDlg;

// The holidays dialog shown, as its modal run shows it.
struct Shown {
    CFestivosDlg dialog;
    Shown() {
        dialog.show();
        Pump();
    }
    CFestivosGrid* list() { return dialog.List(); }
};
} // namespace

class FestivosTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitTestProgram(); }
    void init() {
        NewDatabase(QStringLiteral("festivos.mdb"));
        // Every update of a holiday is logged, to tell a write from no write.
        Exec({QStringLiteral("CREATE TABLE ESCRITO (ID INTEGER)"),
              QStringLiteral("CREATE TRIGGER FIESTAS_ESCRITO AFTER UPDATE ON FIESTAS BEGIN "
                             "INSERT INTO ESCRITO VALUES (NEW.ID); END")});
    }
    void cleanup() {
        DvModal::ClearHandlers();
        DvMessageBox::ClearAnswers();
        QVERIFY2(DbErrors().isEmpty(), qPrintable(DbErrors().join('\n')));
    }

    void listShowsYearlyAndSingleHolidays();
    void newHolidayStartsOnTodayYearly();
    void editingSavesEvenWithoutChanges();
    void openingAHolidayOfAnotherCenturyKeepsIt();
    void doubleClickOpensTheHoliday();
    void deletingAsksFirst();
    void dayThatCannotBeReadIsRefused();
};

void FestivosTest::listShowsYearlyAndSingleHolidays() {
    Exec({"INSERT INTO FIESTAS VALUES (1, " + Lit(2003, 1, 6) + ", 'Reyes', 1)",
          "INSERT INTO FIESTAS VALUES (2, " + Lit(2007, 10, 12) + ", 'Pilar', 0)",
          "INSERT INTO FIESTAS VALUES (3, " + Lit(1999, 12, 25, 14, 5) + ", 'Navidad 99', NULL)"});
    Shown s;
    QCOMPARE(s.dialog.windowTitle(), QStringLiteral("Configuración de dias festivos"));
    QCOMPARE(s.list()->GetRowCount(), 3);
    QCOMPARE(RowTexts(s.list(), 0), (QStringList{"Cada 06/01", "Reyes"}));
    QCOMPARE(RowTexts(s.list(), 1), (QStringList{"12/10/07", "Pilar"}));
    QCOMPARE(RowTexts(s.list(), 2), (QStringList{"25/12/99", "Navidad 99"}));
    QCOMPARE(s.list()->RowKey(1), 2);
}

void FestivosTest::newHolidayStartsOnTodayYearly() {
    Shown s;
    QString dayShown;
    bool yearlyTicked = false;
    QString description = QStringLiteral("?");
    DvModal::QueueHandler([&](QDialog& d) {
        dayShown = Ctl<CEditSpecial>(&d, Record::IdDay)->text();
        yearlyTicked = Ctl<QCheckBox>(&d, Record::IdYearly)->isChecked();
        description = Ctl<QLineEdit>(&d, Record::IdDescription)->text();
        Ctl<QLineEdit>(&d, Record::IdDescription)->setText(QStringLiteral("Día del 'patrón'"));
        static_cast<Record&>(d).SendCommand(1);
    });
    s.dialog.SendCommand(CFestivosDlg::IdAdd);
    QCOMPARE(dayShown, QStringLiteral("05-03-07"));
    QVERIFY(yearlyTicked);
    QCOMPARE(description, QString());
    QCOMPARE(Value("SELECT DESCRIPCION FROM FIESTAS WHERE ID=1").toString(),
             QStringLiteral("Día del 'patrón'"));
    // The day with the time of day the record was opened at.
    QCOMPARE(Value("SELECT DIA FROM FIESTAS WHERE ID=1").toString(),
             QStringLiteral("2007/03/05 10:30:00"));
    QCOMPARE(Value("SELECT CICLICO FROM FIESTAS WHERE ID=1").toInt(), 1);
    QCOMPARE(s.list()->GetRowCount(), 1);
    QCOMPARE(RowTexts(s.list(), 0), (QStringList{"Cada 05/03", "Día del 'patrón'"}));
}

void FestivosTest::editingSavesEvenWithoutChanges() {
    Exec({"INSERT INTO FIESTAS VALUES (4, " + Lit(2007, 10, 12) + ", 'Pilar', 0)"});
    Shown s;
    QString dayShown;
    bool yearly = true;
    DvModal::QueueHandler([&](QDialog& d) {
        dayShown = Ctl<CEditSpecial>(&d, Record::IdDay)->text();
        yearly = Ctl<QCheckBox>(&d, Record::IdYearly)->isChecked();
        static_cast<Record&>(d).SendCommand(1);
    });
    s.dialog.SendCommand(CFestivosDlg::IdEdit);
    QCOMPARE(dayShown, QStringLiteral("12-10-07"));
    QVERIFY(!yearly);
    QCOMPARE(Count("SELECT COUNT(*) FROM ESCRITO WHERE ID=4"), 1);
    QCOMPARE(Value("SELECT DIA FROM FIESTAS WHERE ID=4").toString(),
             QStringLiteral("2007/10/12 00:00:00"));
}

void FestivosTest::openingAHolidayOfAnotherCenturyKeepsIt() {
    // Shown as two digits, 1975 and 2120 would read back as 2075 and 2020: a holiday
    // is saved on OK, so merely opening it would move it.
    Exec({"INSERT INTO FIESTAS VALUES (1, " + Lit(1975, 12, 8) + ", 'Inmaculada', 0)",
          "INSERT INTO FIESTAS VALUES (2, " + Lit(2120, 1, 6) + ", 'Reyes', 0)"});
    Shown s;
    for (int row = 0; row < 2; ++row) {
        s.list()->GotoCell(0, row);
        DvModal::QueueHandler([](QDialog& d) { static_cast<Record&>(d).SendCommand(1); });
        s.dialog.SendCommand(CFestivosDlg::IdEdit);
    }
    // Another day of the same two-digit year stays in the century too.
    s.list()->GotoCell(0, 0);
    DvModal::QueueHandler([](QDialog& d) {
        auto* day = Ctl<CEditSpecial>(&d, Record::IdDay);
        day->setCursorPosition(0);
        QTest::keyClicks(day, QStringLiteral("09"));
        static_cast<Record&>(d).SendCommand(1);
    });
    s.dialog.SendCommand(CFestivosDlg::IdEdit);
    QCOMPARE(Value("SELECT DIA FROM FIESTAS WHERE ID=1").toString(),
             QStringLiteral("1975/12/09 00:00:00"));
    QCOMPARE(Value("SELECT DIA FROM FIESTAS WHERE ID=2").toString(),
             QStringLiteral("2120/01/06 00:00:00"));
    QCOMPARE(RowTexts(s.list(), 0), (QStringList{"09/12/75", "Inmaculada"}));
}

void FestivosTest::doubleClickOpensTheHoliday() {
    Exec({"INSERT INTO FIESTAS VALUES (1, " + Lit(2007, 1, 1) + ", 'Año nuevo', 1)",
          "INSERT INTO FIESTAS VALUES (2, " + Lit(2007, 5, 1) + ", 'Trabajo', 1)"});
    Shown s;
    QString opened;
    DvModal::QueueHandler([&](QDialog& d) {
        opened = Ctl<QLineEdit>(&d, Record::IdDescription)->text();
        Ctl<QLineEdit>(&d, Record::IdDescription)->setText(QStringLiteral("Día del trabajo"));
        static_cast<Record&>(d).SendCommand(1);
    });
    DoubleClickCell(s.list(), 1, 1);
    Pump();
    QCOMPARE(opened, QStringLiteral("Trabajo"));
    QCOMPARE(RowTexts(s.list(), 1), (QStringList{"Cada 01/05", "Día del trabajo"}));
    QCOMPARE(RowTexts(s.list(), 0), (QStringList{"Cada 01/01", "Año nuevo"}));
}

void FestivosTest::deletingAsksFirst() {
    Exec({"INSERT INTO FIESTAS VALUES (1, " + Lit(2007, 1, 1) + ", 'Año nuevo', 1)",
          "INSERT INTO FIESTAS VALUES (2, " + Lit(2007, 5, 1) + ", 'Trabajo', 1)"});
    Shown s;
    ClickCell(s.list(), 0, 1);
    DvMessageBox::Recorder boxes;
    DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
    s.dialog.SendCommand(CFestivosDlg::IdDelete);
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Last().text,
             QStringLiteral("¿Esta seguro que desea borrar el elemento seleccionado?"));
    QCOMPARE(boxes.Last().icon, DvMessageBox::Question);
    QCOMPARE(Count("SELECT COUNT(*) FROM FIESTAS"), 2);
    QCOMPARE(s.list()->GetRowCount(), 2);

    DvMessageBox::SetNextAnswer(DvMessageBox::IdYes);
    s.dialog.SendCommand(CFestivosDlg::IdDelete);
    QCOMPARE(Count("SELECT COUNT(*) FROM FIESTAS"), 1);
    QCOMPARE(Count("SELECT COUNT(*) FROM FIESTAS WHERE ID=2"), 0);
    QCOMPARE(s.list()->GetRowCount(), 1);
    QCOMPARE(s.list()->RowKey(0), 1);
}

void FestivosTest::dayThatCannotBeReadIsRefused() {
    Exec({"INSERT INTO FIESTAS VALUES (1, " + Lit(2007, 1, 6) + ", 'Reyes', 1)"});
    Record record;
    record.SetHolidayId(1);
    record.show();
    Pump();
    DvMessageBox::Recorder boxes;
    Ctl<CEditSpecial>(&record, Record::IdDay)->SetDisplayText(QStringLiteral("31-02-07"));
    record.SendCommand(1);
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Last().text, QStringLiteral("La fecha no es válida"));
    QVERIFY(record.isVisible());
    QCOMPARE(Count("SELECT COUNT(*) FROM ESCRITO"), 0);
    QCOMPARE(Value("SELECT DIA FROM FIESTAS WHERE ID=1").toString(),
             QStringLiteral("2007/01/06 00:00:00"));
}

QTEST_MAIN(FestivosTest)
#include "FestivosTest.moc"
