// The three sequences that crashed the program under an X server without a window
// manager, through the real main window and dialogs. Each list dialog here goes with
// its list holding the keyboard focus, as it did there: Qt moved the focus from the
// button that closed the dialog to the next widget in the tab chain, the list, and the
// list was then destroyed with the focus in it. Under the sanitizers a read of what the
// list had already freed fails the test even when nothing crashes.

#include "Clock.h"
#include "DetallesLibranzaDlg.h"
#include "DialogIds.h"
#include "FestivosDlg.h"
#include "FichaPersonalDlg.h"
#include "LibranzasDlg.h"
#include "MessageBox.h"
#include "Modal.h"
#include "PersonalDlg.h"
#include "TestSupport.h"
#include "WorkflowSupport.h"

#include <QtTest>

using namespace Flow;

namespace {
const QStringList kServices = {
    "INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'Urgencias')",
    "INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (2, 'UCI')",
};
} // namespace

class CrashSequencesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitTestProgram(); }
    // Any box the sequence does not expect fails the test, a database error too.
    void init() { m_boxes = std::make_unique<Boxes>(); }
    void cleanup() {
        m_boxes.reset();
        ForgetQueued();
    }

    void workerAddedWithTheServiceFilterSet();
    void vacationListClosedAfterARefusedFirstOk();
    void holidaysCancelledWithNothingTyped();

private:
    std::unique_ptr<Boxes> m_boxes;
};

void CrashSequencesTest::workerAddedWithTheServiceFilterSet() {
    Program program;
    QVERIFY(program.Start(QStringLiteral("filtro.mdb"), kServices));
    bool focusInList = false;
    DvModal::QueueHandler([&focusInList](QDialog& d) {
        auto& personnel = static_cast<CPersonalDlg&>(d);
        Choose(&d, DlgId::ServiceFilter, QStringLiteral("UCI"));
        DvModal::QueueHandler([](QDialog& record) {
            Type(&record, DlgId::WorkerName, QStringLiteral("Ana"));
            Type(&record, DlgId::WorkerSurnames, QStringLiteral("Ruiz"));
            Type(&record, DlgId::WorkerRosterName, QStringLiteral("Ana R."));
            CloseAsOnX(record, Close::Ok);
            QVERIFY(!record.isVisible());
        });
        ClickButton(d, DlgId::New);
        QCOMPARE(personnel.List()->RowText(0), QStringLiteral("Ruiz, Ana"));
        CloseAsOnX(d, Close::Ok);
        focusInList = HasFocusIn(personnel.List());
    });
    QVERIFY(program.Command("ID_CONFIG_PERSONAL"));
    QVERIFY2(focusInList, "la lista debía tener el foco al cerrarse el diálogo");
    QCOMPARE(DvModal::PendingHandlers(), 0);
    QCOMPARE(Value("SELECT NOMBREPLANILLA || '|' || ID_FUNCION FROM PERSONAL"),
             QStringLiteral("Ana R.|2"));
    const QStringList boxes = m_boxes->Take();
    QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join('\n')));
}

void CrashSequencesTest::vacationListClosedAfterARefusedFirstOk() {
    Program program;
    QVERIFY(
        program.Start(QStringLiteral("vacaciones.mdb"),
                      kServices + QStringList{
                                      "INSERT INTO PERSONAL VALUES (1, 'Ana', 'Ruiz', 'Ana R.', 1)",
                                      "INSERT INTO PERSONAL VALUES (2, 'Eva', 'Sanz', 'Eva S.', 2)",
                                  }));
    bool focusInList = false;
    DvModal::QueueHandler([&focusInList](QDialog& d) {
        auto& personnel = static_cast<CPersonalDlg&>(d);
        ClickRow(personnel.List(), QStringLiteral("Ruiz, Ana"));
        DvModal::QueueHandler([&focusInList](QDialog& record) {
            DvModal::QueueHandler([&focusInList](QDialog& leave) {
                auto& vacations = static_cast<CLibranzasDlg&>(leave);
                DvModal::QueueHandler([](QDialog& period) {
                    using R = CDetallesLibranzaDlg;
                    Type(&period, R::IdStart, QStringLiteral("10-03-07"));
                    Type(&period, R::IdEnd, QStringLiteral("01-03-07"));
                    ClickButton(period, DlgId::Ok); // refused: the end is before the start
                    QVERIFY(period.isVisible());
                    Type(&period, R::IdEnd, QStringLiteral("12-03-07"));
                    Choose(&period, R::IdService, QStringLiteral("UCI"));
                    Choose(&period, R::IdSubstitute, QStringLiteral("Eva S."));
                    CloseAsOnX(period, Close::Ok);
                    QVERIFY(!period.isVisible());
                });
                ClickButton(leave, CLibranzasDlg::IdAdd);
                QCOMPARE(vacations.List()->RowText(0, 2), QStringLiteral("Eva S."));
                CloseAsOnX(leave, Close::Ok);
                focusInList = HasFocusIn(vacations.List());
            });
            ClickButton(record, DlgId::Vacations);
            CloseAsOnX(record, Close::Ok);
        });
        ClickButton(d, DlgId::Edit);
        CloseAsOnX(d, Close::Ok);
    });
    QVERIFY(program.Command("ID_CONFIG_PERSONAL"));
    QVERIFY2(focusInList, "la lista debía tener el foco al cerrarse el diálogo");
    QCOMPARE(DvModal::PendingHandlers(), 0);
    QCOMPARE(Value("SELECT ID_PERSONAL || '|' || ID_SUPLENTE || '|' || INICIO || '|' || FINAL "
                   "FROM VACACIONES"),
             QStringLiteral("1|2|2007/03/10 10:30:00|2007/03/12 10:30:00"));
    QCOMPARE(m_boxes->Take(), QStringList{"El final del periodo debe ser posterior al inicio"});
}

void CrashSequencesTest::holidaysCancelledWithNothingTyped() {
    Program program;
    QVERIFY(program.Start(QStringLiteral("festivos.mdb")));
    bool focusInList = false;
    DvModal::QueueHandler([&focusInList](QDialog& d) {
        DvModal::QueueHandler([](QDialog& record) { CloseAsOnX(record, Close::Cancel); });
        ClickButton(d, CFestivosDlg::IdAdd);
        CloseAsOnX(d, Close::Cancel);
        focusInList = HasFocusIn(static_cast<CFestivosDlg&>(d).List());
    });
    QVERIFY(program.Command("ID_CONFIG_FESTIVOS"));
    QVERIFY2(focusInList, "la lista debía tener el foco al cerrarse el diálogo");
    QCOMPARE(DvModal::PendingHandlers(), 0);
    QCOMPARE(Count("SELECT COUNT(*) FROM FIESTAS"), 0);
    const QStringList boxes = m_boxes->Take();
    QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join('\n')));
}

QTEST_MAIN(CrashSequencesTest)
#include "CrashSequencesTest.moc"
