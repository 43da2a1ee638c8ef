// The roster options of a service, through the real dialog and its Run entry point:
// the first save inserts the row with the columns in binding order, later saves update
// it only when a field changed, "Por defecto" and Cancel store nothing, and after OK the
// stored sizes reach the caller before the reload question.

#include "OpcionesPlanillaDlg.h"

#include "DbConnection.h"
#include "DialogTestUtil.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "Modal.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QtTest>
#include <sqlite3.h>

using namespace DlgTest;

namespace {
using Dlg = COpcionesPlanillaDlg;

const QString kPregunta =
    QStringLiteral("Para que los cambios tengan efecto se debe recargar la planilla.\r\n"
                   "¿Desea recargarla?");

// The INSERT and UPDATE statements run on the connection while it lives.
class StatementLog {
public:
    StatementLog() {
        sqlite3_trace_v2(CDbConnection::Instance().Handle(), SQLITE_TRACE_STMT,
                         &StatementLog::Trace, this);
    }
    ~StatementLog() { sqlite3_trace_v2(CDbConnection::Instance().Handle(), 0, nullptr, nullptr); }
    StatementLog(const StatementLog&) = delete;
    StatementLog& operator=(const StatementLog&) = delete;

    const QStringList& Writes() const { return m_writes; }

private:
    static int Trace(unsigned, void* context, void*, void* sql) {
        const QString text = QString::fromUtf8(static_cast<const char*>(sql)).trimmed();
        if (text.startsWith(QLatin1String("INSERT"), Qt::CaseInsensitive) ||
            text.startsWith(QLatin1String("UPDATE"), Qt::CaseInsensitive))
            static_cast<StatementLog*>(context)->m_writes << text;
        return 0;
    }
    QStringList m_writes;
};

// What the dialog showed when it opened.
struct Shown {
    QString fuente, fila, servicio;
    bool horizontal = false;
    bool visto = false;
};

bool Ticked(QDialog& dialog) {
    auto* box = qobject_cast<QAbstractButton*>(DvFindDlgItem(&dialog, Dlg::IdHorizontal));
    return box && box->isChecked();
}

Shown Read(QDialog& dialog) {
    return Shown{Text(&dialog, Dlg::IdTamFuente), Text(&dialog, Dlg::IdAltoFila),
                 Text(&dialog, Dlg::IdServicio), Ticked(dialog), true};
}

// Runs the options of the service with a handler that first records what is shown;
// returns the result, and the sizes handed to the caller in applied (none: {}).
Dlg::Resultado RunOptions(int servicio, const std::function<void(QDialog&)>& work, Shown& shown,
                          QList<int>& applied) {
    DvModal::QueueHandler([&](QDialog& dialog) {
        shown = Read(dialog);
        work(dialog);
    });
    return Dlg::Run(nullptr, servicio, [&](int fuente, int fila) {
        applied = QList<int>{fuente, fila};
    });
}

QString Prefs() {
    return Rows("SELECT ID, ID_SERVICIO, TAM_FUENTE, ALTO_FILA, HORIZONTAL FROM PREF_IMPRESION "
                "ORDER BY ID")
        .join(QLatin1Char(' '));
}
} // namespace

class OpcionesPlanillaTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DvTest::IsolateSettings(); }
    void init();
    void cleanup();
    void cleanupTestCase() { CloseDatabase(); }

    void firstUseInsertsRowInBindingOrder();
    void unchangedRowIsNotWrittenButReloadIsAsked();
    void changedRowIsUpdatedAndApplied();
    void porDefectoFillsFieldsAndCancelKeepsStore();
    void servicesKeepTheirOwnOptions();
    void noServiceSelectedUsesServiceMinusOne();
    void failedSaveKeepsTheDialogOpen();
    void fitToOneSheetIsTickedByDefaultAndStored();
    void olderFileGetsTheFitColumnTicked();
    void emptyOrZeroSizeIsRefused();

private:
    QString m_path;
};

void OpcionesPlanillaTest::init() {
    m_path = OpenNewDatabase();
    DvMessageBox::ClearAnswers();
    DvModal::ClearHandlers();
    QVERIFY(Exec(QStringList{
        "INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (1, 'Urgencias'), (2, 'Quirófano'), "
        "(3, 'Pediatría')",
        "INSERT INTO PREF_IMPRESION (ID, ID_SERVICIO, TAM_FUENTE, ALTO_FILA, HORIZONTAL) "
        "VALUES (1, 1, 13, 15, 1), (4, 2, 16, 19, 0)"}));
}

void OpcionesPlanillaTest::cleanup() {
    QCOMPARE(DvModal::PendingHandlers(), 0);
    DvModal::ClearHandlers();
    DvMessageBox::ClearAnswers();
}

void OpcionesPlanillaTest::firstUseInsertsRowInBindingOrder() {
    DvMessageBox::Recorder boxes;
    DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
    StatementLog log;
    Shown shown;
    QList<int> applied;
    // OK without touching anything still stores the new row.
    const auto result = RunOptions(
        3, [](QDialog& d) { Click(&d, Dlg::IdOk); }, shown, applied);

    QVERIFY(shown.visto);
    QCOMPARE(shown.fuente, QStringLiteral("15"));
    QCOMPARE(shown.fila, QStringLiteral("16"));
    QCOMPARE(shown.servicio, QStringLiteral("3"));
    QVERIFY(shown.horizontal);
    QCOMPARE(log.Writes(), QStringList{"INSERT INTO PREF_IMPRESION (ID,TAM_FUENTE,ALTO_FILA,"
                                       "ID_SERVICIO,HORIZONTAL,AJUSTAR_HOJA) VALUES(5,15,16,3,1,"
                                       "1)"});
    QCOMPARE(Prefs(), QStringLiteral("1|1|13|15|1 4|2|16|19|0 5|3|15|16|1"));
    QCOMPARE(applied, (QList<int>{15, 16}));
    QCOMPARE(result, Dlg::Aceptado);
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Last().text, kPregunta);
    QCOMPARE(boxes.Last().caption, QStringLiteral("Dravonela"));
    QCOMPARE(boxes.Last().buttons, DvMessageBox::YesNo);
    QVERIFY(DbErrors().isEmpty());
}

void OpcionesPlanillaTest::unchangedRowIsNotWrittenButReloadIsAsked() {
    DvMessageBox::Recorder boxes;
    DvMessageBox::SetNextAnswer(DvMessageBox::IdYes);
    StatementLog log;
    Shown shown;
    QList<int> applied;
    const auto result = RunOptions(
        2, [](QDialog& d) { Click(&d, Dlg::IdOk); }, shown, applied);

    QCOMPARE(shown.fuente, QStringLiteral("16"));
    QCOMPARE(shown.fila, QStringLiteral("19"));
    QCOMPARE(shown.servicio, QStringLiteral("2"));
    QVERIFY(!shown.horizontal);
    QVERIFY(log.Writes().isEmpty());
    QCOMPARE(applied, (QList<int>{16, 19}));
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Last().text, kPregunta);
    QCOMPARE(result, Dlg::Recargar);
}

void OpcionesPlanillaTest::changedRowIsUpdatedAndApplied() {
    DvMessageBox::Recorder boxes;
    DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
    StatementLog log;
    Shown shown;
    QList<int> applied;
    const auto result = RunOptions(
        2,
        [](QDialog& d) {
            SetText(&d, Dlg::IdTamFuente, QStringLiteral("12"));
            Click(&d, Dlg::IdHorizontal);
            Click(&d, Dlg::IdOk);
        },
        shown, applied);

    QCOMPARE(log.Writes(), QStringList{"UPDATE PREF_IMPRESION SET TAM_FUENTE = 12,ALTO_FILA = 19,"
                                       "ID_SERVICIO = 2,HORIZONTAL = 1,AJUSTAR_HOJA = 1 WHERE ID "
                                       "= 4"});
    QCOMPARE(Prefs(), QStringLiteral("1|1|13|15|1 4|2|12|19|1"));
    QCOMPARE(applied, (QList<int>{12, 19}));
    QCOMPARE(result, Dlg::Aceptado);
}

void OpcionesPlanillaTest::porDefectoFillsFieldsAndCancelKeepsStore() {
    DvMessageBox::Recorder boxes;
    StatementLog log;
    Shown shown, defaults;
    QList<int> applied;
    // "Por defecto" changes the fields only; Cancel then stores and applies nothing.
    auto result = RunOptions(
        2,
        [&](QDialog& d) {
            Click(&d, Dlg::IdPorDefecto);
            defaults = Read(d);
            QVERIFY(d.isVisible());
            Click(&d, Dlg::IdCancel);
        },
        shown, applied);
    QCOMPARE(defaults.fuente, QStringLiteral("15"));
    QCOMPARE(defaults.fila, QStringLiteral("16"));
    QCOMPARE(defaults.servicio, QStringLiteral("2"));
    QVERIFY(defaults.horizontal);
    QCOMPARE(result, Dlg::Cancelado);
    QVERIFY(log.Writes().isEmpty());
    QVERIFY(applied.isEmpty());
    QCOMPARE(boxes.Count(), 0);
    QCOMPARE(Prefs(), QStringLiteral("1|1|13|15|1 4|2|16|19|0"));

    // The same followed by OK stores the defaults on the service's row.
    DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
    result = RunOptions(
        2,
        [](QDialog& d) {
            Click(&d, Dlg::IdPorDefecto);
            Click(&d, Dlg::IdOk);
        },
        shown, applied);
    QCOMPARE(result, Dlg::Aceptado);
    QCOMPARE(Prefs(), QStringLiteral("1|1|13|15|1 4|2|15|16|1"));
    QCOMPARE(applied, (QList<int>{15, 16}));
    QCOMPARE(log.Writes().size(), 1);
    QVERIFY(log.Writes().first().startsWith(QLatin1String("UPDATE")));
}

void OpcionesPlanillaTest::servicesKeepTheirOwnOptions() {
    DvMessageBox::Recorder boxes;
    Shown shown;
    QList<int> applied;
    RunOptions(
        3,
        [](QDialog& d) {
            SetText(&d, Dlg::IdTamFuente, QStringLiteral("20"));
            SetText(&d, Dlg::IdAltoFila, QStringLiteral("24"));
            Click(&d, Dlg::IdOk);
        },
        shown, applied);
    RunOptions(
        1,
        [](QDialog& d) {
            SetText(&d, Dlg::IdAltoFila, QStringLiteral("17"));
            Click(&d, Dlg::IdOk);
        },
        shown, applied);
    QCOMPARE(applied, (QList<int>{13, 17}));
    QCOMPARE(Prefs(), QStringLiteral("1|1|13|17|1 4|2|16|19|0 5|3|20|24|1"));

    // Each service opens on its own row.
    RunOptions(
        3, [](QDialog& d) { Click(&d, Dlg::IdCancel); }, shown, applied);
    QCOMPARE(shown.fuente, QStringLiteral("20"));
    QCOMPARE(shown.fila, QStringLiteral("24"));
    QCOMPARE(shown.servicio, QStringLiteral("3"));
    RunOptions(
        2, [](QDialog& d) { Click(&d, Dlg::IdCancel); }, shown, applied);
    QCOMPARE(shown.fuente, QStringLiteral("16"));
    QCOMPARE(shown.fila, QStringLiteral("19"));
    QVERIFY(DbErrors().isEmpty());
}

void OpcionesPlanillaTest::noServiceSelectedUsesServiceMinusOne() {
    DvMessageBox::Recorder boxes;
    Shown shown;
    QList<int> applied;
    RunOptions(
        -1, [](QDialog& d) { Click(&d, Dlg::IdOk); }, shown, applied);
    QCOMPARE(shown.servicio, QStringLiteral("-1"));
    QCOMPARE(Value("SELECT ID || '/' || TAM_FUENTE || '/' || ALTO_FILA FROM PREF_IMPRESION "
                   "WHERE ID_SERVICIO = -1"),
             QStringLiteral("5/15/16"));
    // A second OK finds that row again instead of adding another.
    RunOptions(
        -1, [](QDialog& d) { Click(&d, Dlg::IdOk); }, shown, applied);
    QCOMPARE(IntValue("SELECT COUNT(*) FROM PREF_IMPRESION"), 3);
}

void OpcionesPlanillaTest::failedSaveKeepsTheDialogOpen() {
    // The database refuses the new row: the dialog says so and stays open with what was
    // typed; Cancel then leaves without claiming anything was stored.
    QVERIFY(Exec("CREATE TRIGGER NO_PREF BEFORE INSERT ON PREF_IMPRESION "
                 "BEGIN SELECT RAISE(ABORT, 'disco lleno'); END"));
    DvMessageBox::Recorder boxes;
    Shown shown;
    QList<int> applied{-7, -7};
    bool stayedOpen = false;
    QString typed;
    const auto result = RunOptions(
        3,
        [&](QDialog& d) {
            SetText(&d, Dlg::IdTamFuente, QStringLiteral("30"));
            Click(&d, Dlg::IdOk);
            stayedOpen = d.isVisible() && d.result() != QDialog::Accepted;
            typed = Text(&d, Dlg::IdTamFuente);
            Click(&d, Dlg::IdCancel);
        },
        shown, applied);
    QVERIFY(stayedOpen);
    QCOMPARE(typed, QStringLiteral("30"));
    QCOMPARE(DbErrors().size(), 1);
    QCOMPARE(IntValue("SELECT COUNT(*) FROM PREF_IMPRESION WHERE ID_SERVICIO = 3"), 0);
    QCOMPARE(result, Dlg::Cancelado);
    QCOMPARE(applied, (QList<int>{-7, -7}));
    QCOMPARE(boxes.Count(), 1);
    QVERIFY(boxes.Last().text.startsWith(
        QStringLiteral("No se pudieron guardar las opciones de planilla")));

    // Once the database takes it, the same dialog saves and closes.
    QVERIFY(Exec("DROP TRIGGER NO_PREF"));
    DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
    RunOptions(
        3,
        [](QDialog& d) {
            SetText(&d, Dlg::IdTamFuente, QStringLiteral("30"));
            Click(&d, Dlg::IdOk);
        },
        shown, applied);
    QCOMPARE(applied, (QList<int>{30, 16}));
}

void OpcionesPlanillaTest::fitToOneSheetIsTickedByDefaultAndStored() {
    DvMessageBox::Recorder boxes;
    Shown shown;
    QList<int> applied;
    const auto fitted = [](QDialog& d) {
        auto* box = qobject_cast<QAbstractButton*>(DvFindDlgItem(&d, Dlg::IdAjustar));
        return box && box->isChecked();
    };
    QAbstractButton* box = nullptr;
    bool shownNew = false, shownOld = false, afterDefaults = false;
    QString label;
    // A service without options, and one whose row came before the column: both ticked.
    DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
    RunOptions(
        3,
        [&](QDialog& d) {
            shownNew = fitted(d);
            box = qobject_cast<QAbstractButton*>(DvFindDlgItem(&d, Dlg::IdAjustar));
            label = box ? box->text() : QString();
            Click(&d, Dlg::IdAjustar);
            Click(&d, Dlg::IdOk);
        },
        shown, applied);
    QVERIFY(shownNew);
    QCOMPARE(label, QStringLiteral("Ajustar a una hoja"));
    QCOMPARE(Value("SELECT AJUSTAR_HOJA FROM PREF_IMPRESION WHERE ID_SERVICIO = 3"),
             QStringLiteral("0"));
    RunOptions(
        2,
        [&](QDialog& d) {
            shownOld = fitted(d);
            Click(&d, Dlg::IdCancel);
        },
        shown, applied);
    QVERIFY(shownOld);
    // "Por defecto" ticks it again.
    RunOptions(
        3,
        [&](QDialog& d) {
            QVERIFY(!fitted(d));
            Click(&d, Dlg::IdPorDefecto);
            afterDefaults = fitted(d);
            Click(&d, Dlg::IdCancel);
        },
        shown, applied);
    QVERIFY(afterDefaults);
}

void OpcionesPlanillaTest::olderFileGetsTheFitColumnTicked() {
    // A file made before the column: its options rows keep their values and read as
    // fitted once the file is opened.
    const QString path = m_path;
    CloseDatabase();
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, "ALTER TABLE PREF_IMPRESION DROP COLUMN AJUSTAR_HOJA", nullptr,
                          nullptr, nullptr),
             SQLITE_OK);
    sqlite3_close(db);
    QVERIFY(CDbConnection::Instance().OpenFile(path, QString()));
    QCOMPARE(Rows("SELECT ID_SERVICIO, TAM_FUENTE, HORIZONTAL, AJUSTAR_HOJA FROM PREF_IMPRESION "
                  "ORDER BY ID"),
             (QStringList{"1|13|1|1", "2|16|0|1"}));
    // Opening it again adds nothing.
    QVERIFY(CDbConnection::Instance().OpenFile(path, QString()));
    QCOMPARE(IntValue("SELECT COUNT(*) FROM pragma_table_info('PREF_IMPRESION') WHERE name = "
                      "'AJUSTAR_HOJA'"),
             1);
    QVERIFY(DbErrors().isEmpty());
}

void OpcionesPlanillaTest::emptyOrZeroSizeIsRefused() {
    DvMessageBox::Recorder boxes;
    StatementLog log;
    Shown shown;
    QList<int> applied;
    QStringList refusals;
    const auto result = RunOptions(
        1,
        [&](QDialog& d) {
            auto* fuente = qobject_cast<QLineEdit*>(DvFindDlgItem(&d, Dlg::IdTamFuente));
            QVERIFY(fuente);
            // Only digits get in, and no more than three.
            fuente->clear();
            QTest::keyClicks(fuente, QStringLiteral("1a2b34"));
            QCOMPARE(fuente->text(), QStringLiteral("123"));

            fuente->clear();
            Click(&d, Dlg::IdOk);
            QVERIFY(d.isVisible());
            SetText(&d, Dlg::IdTamFuente, QStringLiteral("14"));
            SetText(&d, Dlg::IdAltoFila, QStringLiteral("0"));
            Click(&d, Dlg::IdOk);
            QVERIFY(d.isVisible());
            for (const auto& box : boxes.Messages())
                refusals << box.text;
            QVERIFY(log.Writes().isEmpty());

            SetText(&d, Dlg::IdAltoFila, QStringLiteral("18"));
            Click(&d, Dlg::IdOk);
        },
        shown, applied);
    QCOMPARE(refusals.size(), 2);
    QCOMPARE(refusals.first(), QStringLiteral("El tamaño de fuente y el alto de fila deben ser "
                                              "números mayores que cero."));
    QCOMPARE(result, Dlg::Recargar);
    QCOMPARE(Prefs(), QStringLiteral("1|1|14|18|1 4|2|16|19|0"));
}

QTEST_MAIN(OpcionesPlanillaTest)
#include "OpcionesPlanillaTest.moc"
