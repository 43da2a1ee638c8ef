// Exceptions of a day: the title and the list of the day, a new exception's record with
// its radio buttons and hours, saving additions and removals, editing, and the records
// that are refused because they could never reach a roster.

#include "ComboList.h"
#include "Dialogs2Support.h"
#include "ExcepcionesDlg.h"
#include "FichaExcepcionDlg.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "Modal.h"

#include <QLabel>
#include <QRadioButton>
#include <QtTest>

using namespace Dlg2Test;

namespace {
using Record = CFichaExcepcionDlg;

struct Shown {
    CExcepcionesDlg dialog;
    Shown(const CDateTime& day, int service) {
        dialog.SetDay(day);
        dialog.SetService(service);
        dialog.show();
        Pump();
    }
    CExcepcionesGrid* list() { return dialog.List(); }
};

QStringList ComboTexts(CComboList* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

void Select(QDialog& d, const QString& rosterName) {
    auto* person = Ctl<CComboList>(&d, Record::IdPerson);
    person->setCurrentIndex(person->findText(rosterName));
}

void Ok(QDialog& d) {
    static_cast<CTemplateDialog&>(d).SendCommand(1);
}
} // namespace

class ExcepcionesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitTestProgram(); }
    void init() {
        NewDatabase(QStringLiteral("excepciones.mdb"));
        Exec({"INSERT INTO FUNCIONES VALUES (1, 'Urgencias')",
              "INSERT INTO FUNCIONES VALUES (2, 'UCI')",
              "INSERT INTO PERSONAL VALUES (1, 'Ana', 'Ruiz', 'Ana R.', 1)",
              "INSERT INTO PERSONAL VALUES (2, 'Luis', 'Gil', 'Luis G.', 1)",
              "INSERT INTO PERSONAL VALUES (3, 'Eva', 'Sanz', 'Eva S.', 2)",
              "INSERT INTO PERSONAL VALUES (4, 'Bea', 'Mora', 'Bea M.', 1)"});
    }
    void cleanup() {
        DvModal::ClearHandlers();
        DvMessageBox::ClearAnswers();
        QVERIFY2(DbErrors().isEmpty(), qPrintable(DbErrors().join('\n')));
    }

    void titleAndListOfTheDay();
    void newExceptionStartsAsARemoval();
    void additionStoresItsHours();
    void editingRewritesOrDropsTheRow();
    void recordsThatCouldNeverReachARosterAreRefused();
};

void ExcepcionesTest::titleAndListOfTheDay() {
    Exec({"INSERT INTO EXCEPCIONES VALUES (1, " + Lit(2007, 3, 5) + ", 1, 1, " +
              Lit(1899, 12, 30, 8) + ", " + Lit(1899, 12, 30, 15) + ")",
          "INSERT INTO EXCEPCIONES VALUES (2, " + Lit(2007, 3, 5) + ", 3, 2, " +
              Lit(1899, 12, 30, 8, 30) + ", " + Lit(1899, 12, 30, 15, 45) + ")",
          "INSERT INTO EXCEPCIONES VALUES (3, " + Lit(2007, 3, 6) + ", 2, 1, NULL, NULL)",
          "INSERT INTO EXCEPCIONES VALUES (4, " + Lit(2006, 3, 5) + ", 2, 1, NULL, NULL)",
          "INSERT INTO EXCEPCIONES VALUES (5, " + Lit(2007, 3, 5, 22) + ", 2, 2, " +
              Lit(1899, 12, 30, 22) + ", " + Lit(1899, 12, 30, 8) + ")"});
    Shown s(CDateTime(2007, 3, 5), 1);
    QCOMPARE(s.dialog.windowTitle(), QStringLiteral("Excepciones para el día: 05/03/07"));
    QString heading;
    s.list()->GetCellText(1, -1, &heading);
    QCOMPARE(heading, QStringLiteral("Descipción"));
    // Every service's exceptions of that day, whatever time of day is stored with it.
    QCOMPARE(s.list()->GetRowCount(), 3);
    QCOMPARE(RowTexts(s.list(), 0), (QStringList{"Ana R.", "Eliminado del turno"}));
    QCOMPARE(RowTexts(s.list(), 1), (QStringList{"Eva S.", "Añadido de 8 a 15"}));
    QCOMPARE(RowTexts(s.list(), 2), (QStringList{"Luis G.", "Añadido de 22 a 8"}));
    QCOMPARE(s.list()->RowKey(2), 5);
}

void ExcepcionesTest::newExceptionStartsAsARemoval() {
    Shown s(CDateTime(2007, 3, 5), 1);
    QStringList offered;
    int chosen = 0;
    bool removeChecked = false, startEnabled = true, endEnabled = true, labelEnabled = true;
    QString start, end, day;
    DvModal::QueueHandler([&](QDialog& d) {
        offered = ComboTexts(Ctl<CComboList>(&d, Record::IdPerson));
        chosen = Ctl<CComboList>(&d, Record::IdPerson)->currentIndex();
        removeChecked = Ctl<QRadioButton>(&d, Record::IdRemove)->isChecked();
        startEnabled = Ctl<CEditSpecial>(&d, Record::IdStart)->isEnabled();
        endEnabled = Ctl<CEditSpecial>(&d, Record::IdEnd)->isEnabled();
        labelEnabled = Ctl<QLabel>(&d, Record::IdStartLabel)->isEnabled();
        start = Ctl<CEditSpecial>(&d, Record::IdStart)->text();
        end = Ctl<CEditSpecial>(&d, Record::IdEnd)->text();
        day = Ctl<CEditSpecial>(&d, Record::IdDay)->text();
        Select(d, QStringLiteral("Luis G."));
        Ok(d);
    });
    s.dialog.SendCommand(CExcepcionesDlg::IdAdd);
    // Only the workers of the roster's service, in alphabetical order, none chosen.
    QCOMPARE(offered, (QStringList{"Ana R.", "Bea M.", "Luis G."}));
    QCOMPARE(chosen, -1);
    QVERIFY(removeChecked);
    QVERIFY(!startEnabled && !endEnabled && !labelEnabled);
    QCOMPARE(start, QStringLiteral("08:00"));
    QCOMPARE(end, QStringLiteral("15:00"));
    QCOMPARE(day, QStringLiteral("05-03-07"));

    QCOMPARE(Value("SELECT TIPO FROM EXCEPCIONES WHERE ID=1").toInt(), 1);
    QCOMPARE(Value("SELECT ID_PERSONAL FROM EXCEPCIONES WHERE ID=1").toInt(), 2);
    QCOMPARE(Value("SELECT DIA FROM EXCEPCIONES WHERE ID=1").toString(),
             QStringLiteral("2007/03/05 00:00:00"));
    QCOMPARE(s.list()->GetRowCount(), 1);
    QCOMPARE(RowTexts(s.list(), 0), (QStringList{"Luis G.", "Eliminado del turno"}));
}

void ExcepcionesTest::additionStoresItsHours() {
    Shown s(CDateTime(2007, 3, 5), 1);
    bool enabledAfterClick = false, disabledAgain = false;
    DvModal::QueueHandler([&](QDialog& d) {
        Ctl<QRadioButton>(&d, Record::IdAddTo)->click();
        enabledAfterClick = Ctl<CEditSpecial>(&d, Record::IdStart)->isEnabled() &&
                            Ctl<QLabel>(&d, Record::IdEndLabel)->isEnabled();
        Ctl<QRadioButton>(&d, Record::IdRemove)->click();
        disabledAgain = !Ctl<CEditSpecial>(&d, Record::IdEnd)->isEnabled();
        Ctl<QRadioButton>(&d, Record::IdAddTo)->click();
        Ctl<CEditSpecial>(&d, Record::IdEnd)->SetDisplayText(QStringLiteral("22:00"));
        Select(d, QStringLiteral("Bea M."));
        Ok(d);
    });
    s.dialog.SendCommand(CExcepcionesDlg::IdAdd);
    QVERIFY(enabledAfterClick);
    QVERIFY(disabledAgain);
    QCOMPARE(Value("SELECT TIPO FROM EXCEPCIONES WHERE ID=1").toInt(), 2);
    QCOMPARE(Value("SELECT ID_PERSONAL FROM EXCEPCIONES WHERE ID=1").toInt(), 4);
    // The hours stay on the date a time of day alone lies on.
    QCOMPARE(Value("SELECT HORAINICIAL FROM EXCEPCIONES WHERE ID=1").toString(),
             QStringLiteral("1899/12/30 08:00:00"));
    QCOMPARE(Value("SELECT HORAFINAL FROM EXCEPCIONES WHERE ID=1").toString(),
             QStringLiteral("1899/12/30 22:00:00"));
    QCOMPARE(RowTexts(s.list(), 0), (QStringList{"Bea M.", "Añadido de 8 a 22"}));

    // Opened again, it shows as an addition with its hours enabled, and saved unchanged
    // it keeps its hours where they were.
    bool addChecked = false, startEnabled = false;
    QString end, person;
    DvModal::QueueHandler([&](QDialog& d) {
        addChecked = Ctl<QRadioButton>(&d, Record::IdAddTo)->isChecked();
        startEnabled = Ctl<CEditSpecial>(&d, Record::IdStart)->isEnabled();
        end = Ctl<CEditSpecial>(&d, Record::IdEnd)->text();
        person = Ctl<CComboList>(&d, Record::IdPerson)->currentText();
        Ok(d);
    });
    DoubleClickCell(s.list(), 0, 0);
    Pump();
    QVERIFY(addChecked);
    QVERIFY(startEnabled);
    QCOMPARE(end, QStringLiteral("22:00"));
    QCOMPARE(person, QStringLiteral("Bea M."));
    QCOMPARE(Value("SELECT HORAINICIAL FROM EXCEPCIONES WHERE ID=1").toString(),
             QStringLiteral("1899/12/30 08:00:00"));
}

void ExcepcionesTest::editingRewritesOrDropsTheRow() {
    Exec({"INSERT INTO EXCEPCIONES VALUES (7, " + Lit(2007, 3, 5) + ", 1, 2, " +
              Lit(1899, 12, 30, 8) + ", " + Lit(1899, 12, 30, 15) + ")",
          "INSERT INTO EXCEPCIONES VALUES (8, " + Lit(2007, 3, 5) + ", 2, 1, NULL, NULL)"});
    Shown s(CDateTime(2007, 3, 5), 1);
    DvModal::QueueHandler([](QDialog& d) {
        Ctl<QRadioButton>(&d, Record::IdRemove)->click();
        Ok(d);
    });
    s.dialog.SendCommand(CExcepcionesDlg::IdEdit); // the first row is current
    QCOMPARE(RowTexts(s.list(), 0), (QStringList{"Ana R.", "Eliminado del turno"}));
    QCOMPARE(Value("SELECT TIPO FROM EXCEPCIONES WHERE ID=7").toInt(), 1);

    // Moved to another day, the exception leaves this day's list.
    ClickCell(s.list(), 0, 1);
    DvModal::QueueHandler([](QDialog& d) {
        Ctl<CEditSpecial>(&d, Record::IdDay)->SetDisplayText(QStringLiteral("06-03-07"));
        Ok(d);
    });
    s.dialog.SendCommand(CExcepcionesDlg::IdEdit);
    QCOMPARE(Value("SELECT DIA FROM EXCEPCIONES WHERE ID=8").toString(),
             QStringLiteral("2007/03/06 00:00:00"));
    QCOMPARE(s.list()->GetRowCount(), 1);
    QCOMPARE(s.list()->RowKey(0), 7);
}

void ExcepcionesTest::recordsThatCouldNeverReachARosterAreRefused() {
    Record record;
    record.SetService(1);
    record.SetDay(CDateTime(2007, 3, 5));
    record.SetExceptionId(-1);
    record.show();
    Pump();
    DvMessageBox::Recorder boxes;
    // No worker chosen.
    record.SendCommand(1);
    QCOMPARE(boxes.Last().text, QStringLiteral("No se ha elegido la persona"));
    // An addition whose hours cannot be read.
    Select(record, QStringLiteral("Ana R."));
    Ctl<QRadioButton>(&record, Record::IdAddTo)->click();
    Ctl<CEditSpecial>(&record, Record::IdStart)->SetDisplayText(QStringLiteral("25:00"));
    record.SendCommand(1);
    QCOMPARE(boxes.Last().text,
             QStringLiteral("Las horas de inicio y de final deben ser horas válidas (hh:mm)"));
    // A day that cannot be read.
    Ctl<CEditSpecial>(&record, Record::IdStart)->SetDisplayText(QStringLiteral("07:00"));
    Ctl<CEditSpecial>(&record, Record::IdDay)->SetDisplayText(QStringLiteral("5 de marzo"));
    record.SendCommand(1);
    QCOMPARE(boxes.Last().text, QStringLiteral("La fecha no es válida"));
    QCOMPARE(boxes.Count(), 3);
    QVERIFY(record.isVisible());
    QCOMPARE(Count("SELECT COUNT(*) FROM EXCEPCIONES"), 0);
    // Put right, the record is stored.
    Ctl<CEditSpecial>(&record, Record::IdDay)->SetDisplayText(QStringLiteral("05-03-07"));
    record.SendCommand(1);
    QVERIFY(!record.isVisible());
    QCOMPARE(record.GetExceptionId(), 1L);
    QCOMPARE(Value("SELECT HORAINICIAL FROM EXCEPCIONES WHERE ID=1").toString(),
             QStringLiteral("1899/12/30 07:00:00"));
}

QTEST_MAIN(ExcepcionesTest)
#include "ExcepcionesTest.moc"
