// Leave periods of the three kinds: the list's title, caption, columns and rows, the
// record's title and fields, the substitute chosen through a service, the period check,
// the question without substitute, deleting, and a worker not saved yet.

#include "ComboList.h"
#include "DetallesLibranzaDlg.h"
#include "Dialogs2Support.h"
#include "LibranzasDlg.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "Modal.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace Dlg2Test;

namespace {
using Record = CDetallesLibranzaDlg;

struct ShownList {
    CLibranzasDlg dialog;
    ShownList(int worker, int kind) {
        dialog.SetWorker(worker);
        dialog.SetKind(kind);
        dialog.show();
        Pump();
    }
    CLibranzasGrid* list() { return dialog.List(); }
};

struct ShownRecord {
    Record dialog;
    ShownRecord(int kind, int worker, long id) {
        dialog.SetKind(kind);
        dialog.SetWorker(worker);
        dialog.SetPeriodId(id);
        dialog.show();
        Pump();
    }
    CComboList* substitutes() { return Ctl<CComboList>(&dialog, Record::IdSubstitute); }
    CComboList* services() { return Ctl<CComboList>(&dialog, Record::IdService); }
    CEditSpecial* edit(int id) { return Ctl<CEditSpecial>(&dialog, id); }
    void choose(const QString& name) {
        substitutes()->setCurrentIndex(substitutes()->findText(name));
    }
};

QStringList ComboTexts(CComboList* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

QStringList Headings(CCellGrid* grid) {
    QStringList texts;
    for (int c = 0; c < grid->GetColumnCount(); ++c) {
        QString text;
        grid->GetCellText(c, -1, &text);
        texts << text;
    }
    return texts;
}
} // namespace

class LibranzasTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitTestProgram(); }
    void init() {
        NewDatabase(QStringLiteral("libranzas.mdb"));
        Exec({"INSERT INTO FUNCIONES VALUES (1, 'Urgencias')",
              "INSERT INTO FUNCIONES VALUES (2, 'UCI')",
              "INSERT INTO PERSONAL VALUES (1, 'Pedro', 'Vidal', 'Pedro', 1)",
              "INSERT INTO PERSONAL VALUES (2, 'Ana', 'Ruiz', 'Ana', 1)",
              "INSERT INTO PERSONAL VALUES (3, 'Eva', 'Sanz', 'Eva', 2)",
              "INSERT INTO PERSONAL VALUES (4, 'Bea', 'Mora', 'Bea', 2)"});
    }
    void cleanup() {
        DvModal::ClearHandlers();
        DvMessageBox::ClearAnswers();
        QVERIFY2(DbErrors().isEmpty(), qPrintable(DbErrors().join('\n')));
    }

    void listsOfTheThreeKinds();
    void recordsOfTheThreeKinds();
    void serviceNarrowsTheSubstitutes();
    void storedPeriodShowsItsSubstitute();
    void endMustFollowStart();
    void noSubstituteIsAskedAbout();
    void deletingAsksTheKindsQuestion();
    void workerNotSavedYetGetsNoPeriods();
    void datesAreTypedInTheDateMask();
    void workerIsNotHisOwnSubstitute();
};

void LibranzasTest::listsOfTheThreeKinds() {
    Exec({"INSERT INTO VACACIONES VALUES (1, 1, " + Lit(2007, 8, 1) + ", " + Lit(2007, 8, 15) +
              ", 2)",
          "INSERT INTO VACACIONES VALUES (2, 1, " + Lit(2007, 2, 1) + ", " + Lit(2007, 2, 3) +
              ", -1)",
          "INSERT INTO VACACIONES VALUES (3, 2, " + Lit(2007, 1, 1) + ", " + Lit(2007, 1, 3) +
              ", 1)",
          "INSERT INTO BAJAS VALUES (1, 1, " + Lit(2007, 4, 2, 9, 15) + ", " + Lit(2007, 4, 9) +
              ", 3)",
          "INSERT INTO DIASPERSONALES VALUES (1, 1, " + Lit(2007, 5, 4) + ", -1)"});
    {
        ShownList s(1, 1);
        QCOMPARE(s.dialog.windowTitle(), QStringLiteral("Configuracion de vacaciones"));
        QCOMPARE(Ctl<QLabel>(&s.dialog, CLibranzasDlg::IdCaption)->text(),
                 QStringLiteral("Relacion de vacaciones para el empleado seleccionado"));
        QCOMPARE(Headings(s.list()), (QStringList{"Inicio", "Final", "Suplente"}));
        // Only this worker's, oldest first.
        QCOMPARE(s.list()->GetRowCount(), 2);
        QCOMPARE(RowTexts(s.list(), 0), (QStringList{"01-02-07", "03-02-07", ""}));
        QCOMPARE(RowTexts(s.list(), 1), (QStringList{"01-08-07", "15-08-07", "Ana"}));
    }
    {
        ShownList s(1, 2);
        QCOMPARE(s.dialog.windowTitle(), QStringLiteral("Configuracion de bajas"));
        QCOMPARE(RowTexts(s.list(), 0), (QStringList{"02-04-07", "09-04-07", "Eva"}));
    }
    {
        ShownList s(1, 3);
        QCOMPARE(s.dialog.windowTitle(), QStringLiteral("Configuracion de personales"));
        QCOMPARE(Headings(s.list()), (QStringList{"Día", "Suplente"}));
        QCOMPARE(RowTexts(s.list(), 0), (QStringList{"04-05-07", ""}));
    }
}

void LibranzasTest::recordsOfTheThreeKinds() {
    const QString titles[] = {"Ficha de vacaciones", "Ficha de baja", "Ficha de personal"};
    for (int kind = 1; kind <= 3; ++kind) {
        ShownRecord r(kind, 1, -1);
        QCOMPARE(r.dialog.windowTitle(), titles[kind - 1]);
        QCOMPARE(r.edit(Record::IdWorkerName)->text(), QStringLiteral("Pedro"));
        QVERIFY(r.edit(Record::IdWorkerName)->IsReadOnly());
        // New periods start and end today.
        QCOMPARE(r.edit(Record::IdStart)->text(), QStringLiteral("05-03-07"));
        const bool personal = kind == 3;
        QCOMPARE(Ctl<QLabel>(&r.dialog, Record::IdStartLabel)->text(),
                 personal ? QStringLiteral("Fecha:") : QStringLiteral("Inicio:"));
        QCOMPARE(r.edit(Record::IdEnd)->isVisible(), !personal);
        QCOMPARE(Ctl<QLabel>(&r.dialog, Record::IdEndLabel)->isVisible(), !personal);
        QCOMPARE(Ctl<QPushButton>(&r.dialog, Record::IdChooseEnd)->isVisible(), !personal);
        if (!personal)
            QCOMPARE(r.edit(Record::IdEnd)->text(), QStringLiteral("05-03-07"));
    }
    // A personal day is one day: it is saved without an end.
    ShownRecord r(3, 1, -1);
    r.edit(Record::IdStart)->SetDisplayText(QStringLiteral("04-05-07"));
    r.choose(QStringLiteral("Eva"));
    r.dialog.SendCommand(1);
    QCOMPARE(r.dialog.GetPeriodId(), 1L);
    QCOMPARE(Value("SELECT INICIO FROM DIASPERSONALES WHERE ID=1").toString(),
             QStringLiteral("2007/05/04 10:30:00"));
    QCOMPARE(Value("SELECT ID_SUPLENTE FROM DIASPERSONALES WHERE ID=1").toInt(), 3);
    QCOMPARE(Value("SELECT ID_PERSONAL FROM DIASPERSONALES WHERE ID=1").toInt(), 1);
}

void LibranzasTest::serviceNarrowsTheSubstitutes() {
    ShownRecord r(1, 1, -1);
    // A new period: any service, every worker, none chosen.
    QCOMPARE(r.services()->currentText(), QStringLiteral("Cualquiera"));
    QCOMPARE(ComboTexts(r.services()), (QStringList{"Cualquiera", "UCI", "Urgencias"}));
    QCOMPARE(ComboTexts(r.substitutes()), (QStringList{"Ana", "Bea", "Eva", "Ninguno", "Pedro"}));
    QCOMPARE(r.substitutes()->currentIndex(), -1);
    QCOMPARE(r.edit(Record::IdSubstituteKey)->GetValue(), -1);

    r.services()->setCurrentIndex(r.services()->findText(QStringLiteral("UCI")));
    QCOMPARE(ComboTexts(r.substitutes()), (QStringList{"Bea", "Eva", "Ninguno"}));
    r.choose(QStringLiteral("Eva"));
    QCOMPARE(r.edit(Record::IdSubstituteKey)->GetValue(), 3);
    r.services()->setCurrentIndex(r.services()->findText(QStringLiteral("Cualquiera")));
    QCOMPARE(ComboTexts(r.substitutes()).size(), 5);
    QCOMPARE(r.substitutes()->currentText(), QStringLiteral("Eva"));
    r.services()->setCurrentIndex(r.services()->findText(QStringLiteral("Urgencias")));
    QCOMPARE(ComboTexts(r.substitutes()), (QStringList{"Ana", "Ninguno", "Pedro"}));
    QCOMPARE(r.substitutes()->currentIndex(), -1);
}

void LibranzasTest::storedPeriodShowsItsSubstitute() {
    Exec({"INSERT INTO BAJAS VALUES (5, 1, " + Lit(2007, 4, 2) + ", " + Lit(2007, 4, 9) + ", 4)"});
    {
        ShownRecord r(2, 0, 5);
        QCOMPARE(r.edit(Record::IdEnd)->text(), QStringLiteral("09-04-07"));
        QCOMPARE(r.services()->currentText(), QStringLiteral("UCI"));
        QCOMPARE(ComboTexts(r.substitutes()), (QStringList{"Bea", "Eva", "Ninguno"}));
        QCOMPARE(r.substitutes()->currentText(), QStringLiteral("Bea"));
        r.dialog.SendCommand(1);
        QVERIFY(!r.dialog.isVisible());
        QCOMPARE(Value("SELECT ID_SUPLENTE FROM BAJAS WHERE ID=5").toInt(), 4);
    }
}

void LibranzasTest::endMustFollowStart() {
    ShownRecord r(1, 1, -1);
    r.choose(QStringLiteral("Ana"));
    DvMessageBox::Recorder boxes;
    r.edit(Record::IdStart)->SetDisplayText(QStringLiteral("10-08-07"));
    r.edit(Record::IdEnd)->SetDisplayText(QStringLiteral("10-08-07"));
    r.dialog.SendCommand(1);
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Last().text,
             QStringLiteral("El final del periodo debe ser posterior al inicio"));
    QCOMPARE(boxes.Last().buttons, DvMessageBox::Ok);
    // An end that cannot be read counts as 30/12/1899.
    r.edit(Record::IdEnd)->SetDisplayText(QStringLiteral("__-08-07"));
    r.dialog.SendCommand(1);
    QCOMPARE(boxes.Last().text,
             QStringLiteral("El final del periodo debe ser posterior al inicio"));
    // A start that cannot be read would be stored without a date.
    r.edit(Record::IdStart)->SetDisplayText(QStringLiteral("32-07-07"));
    r.edit(Record::IdEnd)->SetDisplayText(QStringLiteral("15-08-07"));
    r.dialog.SendCommand(1);
    QCOMPARE(boxes.Last().text, QStringLiteral("La fecha no es válida"));
    QCOMPARE(boxes.Count(), 3);
    QVERIFY(r.dialog.isVisible());
    QCOMPARE(Count("SELECT COUNT(*) FROM VACACIONES"), 0);

    r.edit(Record::IdStart)->SetDisplayText(QStringLiteral("01-08-07"));
    r.dialog.SendCommand(1);
    QVERIFY(!r.dialog.isVisible());
    QCOMPARE(Value("SELECT INICIO FROM VACACIONES WHERE ID=1").toString(),
             QStringLiteral("2007/08/01 10:30:00"));
    QCOMPARE(Value("SELECT FINAL FROM VACACIONES WHERE ID=1").toString(),
             QStringLiteral("2007/08/15 10:30:00"));
    QCOMPARE(Value("SELECT ID_SUPLENTE FROM VACACIONES WHERE ID=1").toInt(), 2);
}

void LibranzasTest::noSubstituteIsAskedAbout() {
    ShownRecord r(2, 1, -1);
    r.edit(Record::IdEnd)->SetDisplayText(QStringLiteral("09-03-07"));
    DvMessageBox::Recorder boxes;
    // Nothing chosen.
    DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
    r.dialog.SendCommand(1);
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Last().text,
             QStringLiteral("No se ha seleccionado un suplente.\r\n¿Desea continuar?"));
    QCOMPARE(boxes.Last().buttons, DvMessageBox::YesNo);
    QVERIFY(r.dialog.isVisible());
    QCOMPARE(Count("SELECT COUNT(*) FROM BAJAS"), 0);
    // "Ninguno", and Yes: saved without substitute.
    r.choose(QStringLiteral("Ninguno"));
    DvMessageBox::SetNextAnswer(DvMessageBox::IdYes);
    r.dialog.SendCommand(1);
    QCOMPARE(boxes.Count(), 2);
    QVERIFY(!r.dialog.isVisible());
    QCOMPARE(Value("SELECT ID_SUPLENTE FROM BAJAS WHERE ID=1").toInt(), -1);
}

void LibranzasTest::deletingAsksTheKindsQuestion() {
    Exec({"INSERT INTO VACACIONES VALUES (1, 1, " + Lit(2007, 8, 1) + ", " + Lit(2007, 8, 15) +
              ", 2)",
          "INSERT INTO BAJAS VALUES (1, 1, " + Lit(2007, 4, 2) + ", " + Lit(2007, 4, 9) + ", 3)",
          "INSERT INTO DIASPERSONALES VALUES (1, 1, " + Lit(2007, 5, 4) + ", -1)"});
    const QString questions[] = {
        "¿Esta seguro que desea borrar el periodo de vacaciones seleccionado",
        "¿Esta seguro que desea borrar el periodo de baja seleccionado",
        "¿Esta seguro que desea borrar el permiso seleccionado"};
    const QString tables[] = {"VACACIONES", "BAJAS", "DIASPERSONALES"};
    for (int kind = 1; kind <= 3; ++kind) {
        ShownList s(1, kind);
        DvMessageBox::Recorder boxes;
        DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
        s.dialog.SendCommand(CLibranzasDlg::IdDelete);
        QCOMPARE(boxes.Count(), 1);
        QCOMPARE(boxes.Last().text, questions[kind - 1]);
        QCOMPARE(boxes.Last().icon, DvMessageBox::NoIcon);
        QCOMPARE(boxes.Last().buttons, DvMessageBox::YesNo);
        QCOMPARE(Count("SELECT COUNT(*) FROM " + tables[kind - 1]), 1);
        DvMessageBox::SetNextAnswer(DvMessageBox::IdYes);
        s.dialog.SendCommand(CLibranzasDlg::IdDelete);
        QCOMPARE(Count("SELECT COUNT(*) FROM " + tables[kind - 1]), 0);
        QCOMPARE(s.list()->GetRowCount(), 0);
        // Nothing left: no question.
        s.dialog.SendCommand(CLibranzasDlg::IdDelete);
        QCOMPARE(boxes.Count(), 2);
    }
}

void LibranzasTest::workerNotSavedYetGetsNoPeriods() {
    DvMessageBox::Recorder boxes;
    const int runs = DvModal::RunCount();
    QCOMPARE(CLibranzasDlg::Run(nullptr, -1, 1), int(QDialog::Rejected));
    QCOMPARE(DvModal::RunCount(), runs);
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Last().text, CLibranzasDlg::UnsavedWorkerMessage());
    // A record opened for no worker does not store a period either.
    ShownRecord r(1, -1, -1);
    r.edit(Record::IdEnd)->SetDisplayText(QStringLiteral("09-03-07"));
    r.choose(QStringLiteral("Ana"));
    r.dialog.SendCommand(1);
    QVERIFY(r.dialog.isVisible());
    QCOMPARE(Count("SELECT COUNT(*) FROM VACACIONES"), 0);
    // A saved worker gets his list.
    DvModal::QueueHandler([](QDialog& d) { d.done(QDialog::Accepted); });
    QCOMPARE(CLibranzasDlg::Run(nullptr, 1, 2), int(QDialog::Accepted));
}

void LibranzasTest::datesAreTypedInTheDateMask() {
    ShownRecord r(1, 1, -1);
    r.choose(QStringLiteral("Ana"));
    for (int id : {Record::IdStart, Record::IdEnd}) {
        CEditSpecial* field = r.edit(id);
        QCOMPARE(field->GetMask(), QStringLiteral("##-##-##"));
        // Overtyping the whole field with digits gives a date, separators stepped over.
        field->setFocus();
        field->setCursorPosition(0);
        QTest::keyClicks(field, id == Record::IdStart ? QStringLiteral("110127")
                                                      : QStringLiteral("200127x"));
    }
    QCOMPARE(r.edit(Record::IdStart)->text(), QStringLiteral("11-01-27"));
    QCOMPARE(r.edit(Record::IdEnd)->text(), QStringLiteral("20-01-27"));
    r.dialog.SendCommand(1);
    QVERIFY(!r.dialog.isVisible());
    QCOMPARE(Value("SELECT INICIO FROM VACACIONES WHERE ID=1").toString(),
             QStringLiteral("2027/01/11 10:30:00"));
}

void LibranzasTest::workerIsNotHisOwnSubstitute() {
    DvMessageBox::Recorder boxes;
    ShownRecord r(3, 1, -1);
    r.choose(QStringLiteral("Pedro"));
    r.dialog.SendCommand(1);
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Last().text, QStringLiteral("Un trabajador no puede ser su propio suplente"));
    QCOMPARE(boxes.Last().caption, QStringLiteral("Dravonela"));
    QVERIFY(r.dialog.isVisible());
    QCOMPARE(Count("SELECT COUNT(*) FROM DIASPERSONALES"), 0);
    r.choose(QStringLiteral("Ana"));
    r.dialog.SendCommand(1);
    QVERIFY(!r.dialog.isVisible());
    QCOMPARE(Value("SELECT ID_SUPLENTE FROM DIASPERSONALES WHERE ID=1").toInt(), 2);
}

QTEST_MAIN(LibranzasTest)
#include "LibranzasTest.moc"
