// The doors tests use to answer message boxes, file dialogs and modal dialogs.

#include "FileDialog.h"
#include "MessageBox.h"
#include "Modal.h"
#include "TemplateDialog.h"
#include "TestSupport.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {
// A dialog that opens another one from its "Web" button, as record dialogs open
// choosers, and counts its initialisations.
class CNestingDlg : public CTemplateDialog {
public:
    explicit CNestingDlg(QWidget* parent = nullptr) : CTemplateDialog(100, parent) {}
    int inits = 0;
    int innerResult = -1;
    bool initialisedWhenHandled = false;

protected:
    void OnInitDialog() override { ++inits; }
    bool OnCommand(int id) override {
        if (id == 1057) {
            CTemplateDialog inner(147, this);
            innerResult = DvModal::Run(inner);
            return true;
        }
        return CTemplateDialog::OnCommand(id);
    }
};
} // namespace

class SeamsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DvTest::IsolateSettings(); }
    void cleanup() {
        DvMessageBox::ClearAnswers();
        DvMessageBox::SetHandler(nullptr);
        DvModal::ClearHandlers();
        DvFileDialog::ClearFileNames();
    }
    void recorderRecordsAndAnswers();
    void handlerAndUnansweredBoxes();
    void fileDialogAnswersAndFilters();
    void modalRunDrivesTheLiveDialog();
    void modalRunClosesWhatTheHandlerLeavesOpen();
    void nestedModalRunsTakeHandlersInOrder();
};

void SeamsTest::recorderRecordsAndAnswers() {
    DvMessageBox::Recorder recorder;
    DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
    const auto first =
        DvMessageBox::Show(nullptr, "¿Esta seguro que desea borrar el elemento seleccionado?",
                           "Dravonela", DvMessageBox::YesNo, DvMessageBox::Question);
    QCOMPARE(first, DvMessageBox::IdNo);
    // Nothing queued: the first button answers.
    QCOMPARE(DvMessageBox::Show(nullptr, "x", "Dravonela", DvMessageBox::YesNo),
             DvMessageBox::IdYes);
    QCOMPARE(DvMessageBox::Show(nullptr, "Hubo un error generando el informe", "Dravonela"),
             DvMessageBox::IdOk);

    QCOMPARE(recorder.Count(), 3);
    const DvMessageBox::Message& m = recorder.Messages().front();
    QCOMPARE(m.text, QString("¿Esta seguro que desea borrar el elemento seleccionado?"));
    QCOMPARE(m.caption, QString("Dravonela"));
    QCOMPARE(m.buttons, DvMessageBox::YesNo);
    QCOMPARE(m.icon, DvMessageBox::Question);
    QCOMPARE(recorder.Last().text, QString("Hubo un error generando el informe"));
    QCOMPARE(recorder.Last().buttons, DvMessageBox::Ok);
    QCOMPARE(recorder.Last().icon, DvMessageBox::NoIcon);

    {
        // An inner recorder takes the boxes while it lives.
        DvMessageBox::Recorder inner;
        DvMessageBox::Show(nullptr, "dentro", "Error", DvMessageBox::Ok, DvMessageBox::Error);
        QCOMPARE(inner.Count(), 1);
    }
    DvMessageBox::Show(nullptr, "fuera", "Dravonela");
    QCOMPARE(recorder.Count(), 4);
    QCOMPARE(recorder.Last().text, QString("fuera"));
}

void SeamsTest::handlerAndUnansweredBoxes() {
    QList<QString> seen;
    DvMessageBox::SetHandler([&](const DvMessageBox::Message& m) {
        seen << m.text;
        return m.buttons == DvMessageBox::OkCancel ? DvMessageBox::IdCancel : DvMessageBox::IdOk;
    });
    QCOMPARE(DvMessageBox::Show(nullptr, "a", "c", DvMessageBox::OkCancel), DvMessageBox::IdCancel);
    DvMessageBox::SetNextAnswer(DvMessageBox::IdOk); // a queued answer comes first
    QCOMPARE(DvMessageBox::Show(nullptr, "b", "c", DvMessageBox::OkCancel), DvMessageBox::IdOk);
    QCOMPARE(seen, QList<QString>{"a"});
    DvMessageBox::SetHandler(nullptr);

    // Nobody answers: offscreen, the box is logged and gets its first button at once.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("sin respuesta"));
    QCOMPARE(DvMessageBox::Show(nullptr, "solo", "Dravonela", DvMessageBox::RetryCancel),
             DvMessageBox::IdRetry);
    QCOMPARE(DvMessageBox::DefaultAnswer(DvMessageBox::AbortRetryIgnore), DvMessageBox::IdAbort);
}

void SeamsTest::fileDialogAnswersAndFilters() {
    const QString filter = "Archivos CSV files (*.csv)|*.csv|Todos los archivos (*.*)|*.*||";
    QCOMPARE(DvFileDialog::ToQtFilter(filter),
             QString("Archivos CSV files (*.csv);;Todos los archivos (*.*)"));
    QCOMPARE(DvFileDialog::ToQtFilter("Texto|*.txt;*.log||"), QString("Texto (*.txt *.log)"));

    const QString dir = DvTest::TempDir();
    DvFileDialog::SetNextFileName(dir + "/informe");
    DvFileDialog::SetNextFileName(dir + "/informe.txt");
    DvFileDialog::SetNextFileName(QString());
    QCOMPARE(DvFileDialog::GetSaveFileName(nullptr, "csv", "*.csv", filter), dir + "/informe.csv");
    const DvFileDialog::Request request = DvFileDialog::LastRequest();
    QVERIFY(request.asked);
    QCOMPARE(request.defaultExtension, QString("csv"));
    QCOMPARE(request.initialName, QString("*.csv"));
    QCOMPARE(request.filter, filter);
    QVERIFY(request.confirmOverwrite);
    QCOMPARE(DvFileDialog::GetSaveFileName(nullptr, "csv", "*.csv", filter, false),
             dir + "/informe.txt");
    QVERIFY(!DvFileDialog::LastRequest().confirmOverwrite);
    QCOMPARE(DvFileDialog::GetSaveFileName(nullptr, "csv", "*.csv", filter), QString()); // cancel
    QCOMPARE(DvFileDialog::WithDefaultExtension("/a.b/informe", "csv"),
             QString("/a.b/informe.csv"));

    // Nobody answers: offscreen it is a cancel, at once.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("sin respuesta"));
    QCOMPARE(DvFileDialog::GetSaveFileName(nullptr, "csv", "*.csv", filter), QString());
}

void SeamsTest::modalRunDrivesTheLiveDialog() {
    const int runsBefore = DvModal::RunCount();
    CNestingDlg dialog;
    bool wasVisible = false;
    int initsSeen = -1;
    DvModal::QueueHandler([&](QDialog& live) {
        wasVisible = live.isVisible();
        initsSeen = static_cast<CNestingDlg&>(live).inits;
        live.findChild<QPushButton*>("id1")->click();
    });
    QCOMPARE(DvModal::Run(dialog), int(QDialog::Accepted));
    QVERIFY(wasVisible);
    QCOMPARE(initsSeen, 1); // initialised before the handler sees it
    QVERIFY(!dialog.isVisible());
    QCOMPARE(DvModal::RunCount(), runsBefore + 1);
    QCOMPARE(DvModal::PendingHandlers(), 0);

    // Escape is a cancel.
    DvModal::QueueHandler([](QDialog& live) { QTest::keyClick(&live, Qt::Key_Escape); });
    QCOMPARE(DvModal::Run(dialog), int(QDialog::Rejected));
}

void SeamsTest::modalRunClosesWhatTheHandlerLeavesOpen() {
    CTemplateDialog dialog(100);
    DvModal::SetHandler([](QDialog&) {});
    QCOMPARE(DvModal::Run(dialog), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
    // The standing handler answers every run.
    QCOMPARE(DvModal::Run(dialog), int(QDialog::Rejected));
    DvModal::SetHandler(nullptr);

    // No handler at all: offscreen the run is a cancel instead of a wait.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("sin manejador"));
    QCOMPARE(DvModal::Run(dialog), int(QDialog::Rejected));
}

void SeamsTest::nestedModalRunsTakeHandlersInOrder() {
    CNestingDlg outer;
    QStringList order;
    DvModal::QueueHandler([&](QDialog& live) {
        order << live.windowTitle();
        live.findChild<QPushButton*>("id1057")->click(); // opens the inner dialog
        live.findChild<QPushButton*>("id1")->click();
    });
    DvModal::QueueHandler([&](QDialog& live) {
        order << live.windowTitle();
        QCOMPARE(live.findChild<QLabel*>("id1100")->text(), QString());
        live.findChild<QPushButton*>("id2")->click();
    });
    QCOMPARE(DvModal::Run(outer), int(QDialog::Accepted));
    QCOMPARE(order, (QStringList{"Acerca de Dravonela", "Progreso de operación"}));
    QCOMPARE(outer.innerResult, int(QDialog::Rejected));
}

QTEST_MAIN(SeamsTest)
#include "SeamsTest.moc"
