// The planner's work through the real main window: a month built from an empty database
// with the menu commands and their dialogs only, down to the report file; and every
// configuration dialog with its nested dialogs opened and closed by OK, by Cancel and
// by Escape, each list dialog going with its list holding the keyboard focus.

#include "AsignacionDlg.h"
#include "CalendarGrid.h"
#include "Clock.h"
#include "ComboList.h"
#include "CuadroPlanilla.h"
#include "DetallesLibranzaDlg.h"
#include "DialogIds.h"
#include "ExcepcionesDlg.h"
#include "FestivosDlg.h"
#include "FichaExcepcionDlg.h"
#include "FichaFestivoDlg.h"
#include "FichaPersonalDlg.h"
#include "FileDialog.h"
#include "GridComponents.h"
#include "LibranzasDlg.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "Modal.h"
#include "OstrevanView.h"
#include "PersonalDlg.h"
#include "PickDateDlg.h"
#include "RosterDays.h"
#include "ServiciosDlg.h"
#include "TestSupport.h"
#include "TiposTurnoDlg.h"
#include "TurnosDlg.h"
#include "WorkflowSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace Flow;

namespace {
// Closes a list dialog; it goes with its list holding the focus.
void CloseList(QDialog& d, CCellGrid* list, Close how) {
    CloseAsOnX(d, how);
    QVERIFY2(!d.isVisible(), qPrintable(d.windowTitle()));
    KeepFocusIn(list);
}

// The date picker has no buttons to click: Enter in the calendar is OK, the close box
// Cancel, Escape Escape. It goes with the calendar holding the focus.
void ClosePicker(QDialog& d, Close how) {
    CCalendarGrid* calendar = static_cast<CPickDateDlg&>(d).Calendar();
    QApplication::setActiveWindow(&d);
    calendar->setFocus();
    switch (how) {
    case Close::Ok:
        QTest::keyClick(calendar->CellArea(), Qt::Key_Return);
        break;
    case Close::Cancel:
        d.close();
        break;
    case Close::Escape:
        QTest::keyClick(calendar->CellArea(), Qt::Key_Escape);
        break;
    }
    ActivateHidden(d);
    QVERIFY(!d.isVisible());
    KeepFocusIn(calendar);
}

void PickerClosed(Close how) {
    DvModal::QueueHandler([how](QDialog& picker) { ClosePicker(picker, how); });
}

// A services or shift types dialog: names added with Enter, the dialog closed with OK.
void AddNames(const QStringList& names) {
    DvModal::QueueHandler([names](QDialog& d) {
        QWidget* edit = DvFindDlgItem(&d, DlgId::Name);
        QApplication::setActiveWindow(&d);
        edit->setFocus();
        for (const QString& name : names) {
            Type(&d, DlgId::Name, name);
            QTest::keyClick(edit, Qt::Key_Return);
        }
        CloseList(d, static_cast<CNameListDlg&>(d).List(), Close::Ok);
    });
}

void AddWorker(const QString& name, const QString& surnames, const QString& rosterName) {
    DvModal::QueueHandler([=](QDialog& record) {
        Type(&record, DlgId::WorkerName, name);
        Type(&record, DlgId::WorkerSurnames, surnames);
        Type(&record, DlgId::WorkerRosterName, rosterName);
        CloseAsOnX(record, Close::Ok);
        QVERIFY(!record.isVisible());
    });
}

// The roster as the view shows it, March 2007.
struct Roster {
    CCuadroPlanilla* grid;
    QStringList Names(int day) const { return RosterDays::Names(grid, CDateTime(2007, 3, day)); }
    void DoubleClickDay(int day) const {
        int column = 0, row = 0;
        QVERIFY(RosterDays::DayCell(grid, CDateTime(2007, 3, day), &column, &row));
        QRect rect;
        QVERIFY(grid->GetCellRect(column, row, &rect) == 0);
        QTest::mouseClick(grid->CellArea(), Qt::LeftButton, Qt::NoModifier, rect.center());
        QTest::mouseDClick(grid->CellArea(), Qt::LeftButton, Qt::NoModifier, rect.center());
    }
};

void Generate(COstrevanView* view) {
    auto* button = view->findChild<QPushButton*>(QStringLiteral("id1056"));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

// A small service set up by hand: two workers on a rotation, one from another service
// who covers a vacation, a holiday, one of each kind of leave and an exception.
const QStringList kSetUp = {
    "INSERT INTO FUNCIONES VALUES (1, 'Urgencias')",
    "INSERT INTO FUNCIONES VALUES (2, 'UCI')",
    "INSERT INTO TIPOSTURNO VALUES (1, 'Rotatorio')",
    "INSERT INTO TURNOS VALUES (1, 'Mañana', '2005/01/01 08:00:00', '2005/01/01 15:00:00', 1, 1)",
    "INSERT INTO TURNOS VALUES (2, 'Tarde', '2005/01/01 15:00:00', '2005/01/01 22:00:00', 2, 1)",
    "INSERT INTO TURNOS VALUES (3, 'Libre', '2001/04/23 00:00:00', '2001/04/23 00:00:00', 3, 1)",
    "INSERT INTO PERSONAL VALUES (1, 'Ana', 'Ruiz', 'Ana R.', 1)",
    "INSERT INTO PERSONAL VALUES (2, 'Luis', 'Gil', 'Luis G.', 1)",
    "INSERT INTO PERSONAL VALUES (3, 'Eva', 'Sanz', 'Eva S.', 2)",
    "INSERT INTO ASIG_TURNOS VALUES (1, 1, '2007/03/01 00:00:00', 1)",
    "INSERT INTO ASIG_TURNOS VALUES (2, 2, '2007/03/01 00:00:00', 2)",
    "INSERT INTO FIESTAS VALUES (1, '2007/03/19 00:00:00', 'San José', 0)",
    "INSERT INTO VACACIONES VALUES (1, 1, '2007/03/10 00:00:00', '2007/03/12 00:00:00', 3)",
    "INSERT INTO BAJAS VALUES (1, 1, '2007/03/20 00:00:00', '2007/03/22 00:00:00', 3)",
    "INSERT INTO DIASPERSONALES VALUES (1, 1, '2007/03/26 00:00:00', 3)",
    "INSERT INTO EXCEPCIONES VALUES (1, '2007/03/05 00:00:00', 1, 1, "
    "'1899/12/30 08:00:00', '1899/12/30 15:00:00')",
};

// Every table's rows, to tell what a run of dialogs changed.
QStringList Everything() {
    QStringList rows;
    for (const char* table :
         {"FUNCIONES", "TIPOSTURNO", "TURNOS", "PERSONAL", "ASIG_TURNOS", "FIESTAS", "VACACIONES",
          "BAJAS", "DIASPERSONALES", "EXCEPCIONES", "PREF_IMPRESION"})
        rows << QStringLiteral("%1 %2")
                    .arg(QLatin1String(table))
                    .arg(
                        Count(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))));
    return rows;
}
} // namespace

class PlannerWorkflowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitTestProgram(); }
    void init() { m_boxes = std::make_unique<Boxes>(); }
    void cleanup() {
        m_boxes.reset();
        ForgetQueued();
    }

    void monthFromAnEmptyDatabase();
    void everyDialogClosesEachWay_data();
    void everyDialogClosesEachWay();

private:
    QStringList TakeBoxes() { return m_boxes->Take(); }

    std::unique_ptr<Boxes> m_boxes;
};

void PlannerWorkflowTest::monthFromAnEmptyDatabase() {
    Program program;
    QVERIFY(program.Start(QStringLiteral("desde_cero.mdb")));
    COstrevanView* view = program.View();

    // Services, typed one after the other with Enter; the view's list follows them.
    AddNames({QStringLiteral("Urgencias"), QStringLiteral("UCI")});
    QVERIFY(program.Command("ID_CONFIG_SERVICIOS"));
    QCOMPARE(view->Servicios()->count(), 2);

    // The rotation: a shift type and its three days.
    AddNames({QStringLiteral("Rotatorio")});
    QVERIFY(program.Command("ID_CONFIG_TIPOSTURNO"));
    DvModal::QueueHandler([](QDialog& d) {
        auto& shifts = static_cast<CTurnosDlg&>(d);
        DvModal::QueueHandler([](QDialog& chooser) {
            auto& types = static_cast<CTiposTurnoDlg&>(chooser);
            ClickRow(types.List(), QStringLiteral("Rotatorio"));
            CloseList(chooser, types.List(), Close::Ok);
        });
        ClickButton(d, DlgId::FindShiftType);
        struct Day {
            const char *name, *start, *end;
        };
        for (const Day& day : {Day{"Mañana", "08:00:00", "15:00:00"},
                               Day{"Tarde", "15:00:00", "22:00:00"}, Day{"Libre", "", ""}}) {
            DvModal::QueueHandler([day](QDialog& record) {
                Type(&record, DlgId::ShiftName, QString::fromUtf8(day.name));
                if (*day.start) {
                    Type(&record, DlgId::ShiftStart, QLatin1String(day.start));
                    Type(&record, DlgId::ShiftEnd, QLatin1String(day.end));
                } else {
                    ClickButton(record, DlgId::RestDay);
                }
                CloseAsOnX(record, Close::Ok);
                QVERIFY(!record.isVisible());
            });
            ClickButton(d, DlgId::New);
        }
        QCOMPARE(shifts.List()->GetRowCount(), 3);
        CloseList(d, shifts.List(), Close::Ok);
    });
    QVERIFY(program.Command("ID_CONFIG_TURNOS"));
    QCOMPARE(Value("SELECT group_concat(NOMBRE || ORDEN, ',') FROM TURNOS"),
             QStringLiteral("Mañana1,Tarde2,Libre3"));

    // The workers, each entered with the service filter set to his service.
    DvModal::QueueHandler([](QDialog& d) {
        auto& personnel = static_cast<CPersonalDlg&>(d);
        Choose(&d, DlgId::ServiceFilter, QStringLiteral("Urgencias"));
        AddWorker(QStringLiteral("Ana"), QStringLiteral("Ruiz"), QStringLiteral("Ana R."));
        ClickButton(d, DlgId::New);
        AddWorker(QStringLiteral("Luis"), QStringLiteral("Gil"), QStringLiteral("Luis G."));
        ClickButton(d, DlgId::New);
        Choose(&d, DlgId::ServiceFilter, QStringLiteral("UCI"));
        AddWorker(QStringLiteral("Eva"), QStringLiteral("Sanz"), QStringLiteral("Eva S."));
        ClickButton(d, DlgId::New);
        QCOMPARE(personnel.List()->RowText(0), QStringLiteral("Sanz, Eva"));
        CloseList(d, personnel.List(), Close::Ok);
    });
    QVERIFY(program.Command("ID_CONFIG_PERSONAL"));
    QCOMPARE(Value("SELECT group_concat(NOMBREPLANILLA || '/' || ID_FUNCION, ',') FROM PERSONAL"),
             QStringLiteral("Ana R./1,Luis G./1,Eva S./2"));

    // Reference assignments: Ana on the morning shift on 1 March (typed), Luis on the
    // afternoon shift the same day (picked from the calendar).
    DvModal::QueueHandler([](QDialog& d) {
        using A = CAsignacionDlg;
        const auto findWorker = [&d](const QString& row) {
            DvModal::QueueHandler([row](QDialog& search) {
                auto& people = static_cast<CPersonalDlg&>(search);
                ClickRow(people.List(), row);
                CloseList(search, people.List(), Close::Ok);
            });
            ClickButton(d, A::IdFind);
        };
        findWorker(QStringLiteral("Ruiz, Ana"));
        Choose(&d, A::IdShiftType, QStringLiteral("Rotatorio"));
        Choose(&d, A::IdShift, QStringLiteral("Mañana"));
        Type(&d, A::IdDate, QStringLiteral("01-03-07"));
        ClickButton(d, A::IdAssign);
        findWorker(QStringLiteral("Gil, Luis"));
        Choose(&d, A::IdShift, QStringLiteral("Tarde"));
        DvModal::QueueHandler([](QDialog& picker) {
            CCalendarGrid* calendar = static_cast<CPickDateDlg&>(picker).Calendar();
            int column = 0, row = 0;
            QVERIFY(calendar->CellOfDay(1, &column, &row));
            QApplication::setActiveWindow(&picker);
            QRect rect;
            QVERIFY(calendar->GetCellRect(column, row, &rect) == 0);
            QTest::mouseClick(calendar->CellArea(), Qt::LeftButton, Qt::NoModifier, rect.center());
            ClosePicker(picker, Close::Ok);
        });
        ClickButton(d, A::IdChooseDate);
        QCOMPARE(DvGetWindowText(DvFindDlgItem(&d, A::IdDate)), QStringLiteral("01-03-07"));
        ClickButton(d, A::IdAssign);
        CloseList(d, static_cast<CAsignacionDlg&>(d).List(), Close::Ok);
    });
    QVERIFY(program.Command("ID_CONFIG_ASIGNACION"));
    QCOMPARE(TakeBoxes(), QStringList());
    QCOMPARE(Count("SELECT COUNT(*) FROM ASIG_TURNOS"), 2);

    // A one-off holiday on 19 March.
    DvModal::QueueHandler([](QDialog& d) {
        DvModal::QueueHandler([](QDialog& record) {
            Type(&record, CFichaFestivoDlg::IdDay, QStringLiteral("19-03-07"));
            Type(&record, CFichaFestivoDlg::IdDescription, QStringLiteral("San José"));
            ClickButton(record, CFichaFestivoDlg::IdYearly);
            CloseAsOnX(record, Close::Ok);
        });
        ClickButton(d, CFestivosDlg::IdAdd);
        CloseList(d, static_cast<CFestivosDlg&>(d).List(), Close::Ok);
    });
    QVERIFY(program.Command("ID_CONFIG_FESTIVOS"));

    // Ana's vacation from 10 to 12 March, covered by Eva from the UCI; the first OK is
    // refused, the dates typed the wrong way round.
    DvModal::QueueHandler([](QDialog& d) {
        auto& personnel = static_cast<CPersonalDlg&>(d);
        ClickRow(personnel.List(), QStringLiteral("Ruiz, Ana"));
        DvModal::QueueHandler([](QDialog& record) {
            DvModal::QueueHandler([](QDialog& leave) {
                DvModal::QueueHandler([](QDialog& period) {
                    using R = CDetallesLibranzaDlg;
                    Type(&period, R::IdStart, QStringLiteral("12-03-07"));
                    Type(&period, R::IdEnd, QStringLiteral("10-03-07"));
                    ClickButton(period, DlgId::Ok);
                    QVERIFY(period.isVisible());
                    Type(&period, R::IdStart, QStringLiteral("10-03-07"));
                    Type(&period, R::IdEnd, QStringLiteral("12-03-07"));
                    Choose(&period, R::IdService, QStringLiteral("UCI"));
                    Choose(&period, R::IdSubstitute, QStringLiteral("Eva S."));
                    CloseAsOnX(period, Close::Ok);
                    QVERIFY(!period.isVisible());
                });
                ClickButton(leave, CLibranzasDlg::IdAdd);
                CloseList(leave, static_cast<CLibranzasDlg&>(leave).List(), Close::Ok);
            });
            ClickButton(record, DlgId::Vacations);
            CloseAsOnX(record, Close::Ok);
        });
        ClickButton(d, DlgId::Edit);
        CloseList(d, personnel.List(), Close::Ok);
    });
    QVERIFY(program.Command("ID_CONFIG_PERSONAL"));
    QCOMPARE(TakeBoxes(), QStringList{"El final del periodo debe ser posterior al inicio"});

    // The month: a rotation of three from the 1st, Ana in the morning, Luis in the
    // afternoon.
    QCOMPARE(view->MesSeleccionado(), 3);
    QCOMPARE(view->AnioEscrito(), 2007);
    QCOMPARE(view->Servicios()->currentText(), QStringLiteral("UCI")); // alphabetical
    view->Servicios()->setCurrentIndex(view->Servicios()->findText(QStringLiteral("Urgencias")));
    Generate(view);
    const Roster roster{view->Cuadro()};
    QCOMPARE(roster.Names(1), (QStringList{"Ana R.", "Luis G."}));
    QCOMPARE(roster.Names(2), (QStringList{"Ana R."}));
    QCOMPARE(roster.Names(3), (QStringList{"Luis G."}));
    QCOMPARE(roster.Names(10), (QStringList{"Eva S.", "Luis G."}));
    QCOMPARE(roster.Names(11), (QStringList{"Eva S."}));

    // On 5 March Ana stays at home: from the day number, and the roster is rebuilt.
    DvModal::QueueHandler([](QDialog& d) {
        DvModal::QueueHandler([](QDialog& record) {
            Choose(&record, CFichaExcepcionDlg::IdPerson, QStringLiteral("Ana R."));
            CloseAsOnX(record, Close::Ok);
        });
        ClickButton(d, CExcepcionesDlg::IdAdd);
        CloseList(d, static_cast<CExcepcionesDlg&>(d).List(), Close::Ok);
    });
    DvMessageBox::SetNextAnswer(DvMessageBox::IdYes);
    roster.DoubleClickDay(5);
    QTRY_COMPARE(roster.Names(5), QStringList());
    QCOMPARE(TakeBoxes(), QStringList{"¿Quieres recargar la planilla con los cambios?"});

    // The report of the month.
    const QString report = DvTest::TempDir() + QStringLiteral("/marzo.csv");
    DvFileDialog::SetNextFileName(report);
    QVERIFY(program.Command("ID_GENERAR_INFORME"));
    QCOMPARE(TakeBoxes(), QStringList{"El informe fue generado correctamente"});
    QFile file(report);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // Ana: 21 of the month's 31 days are hers to work, less two in her vacation and the
    // 5th; Luis: 21 as well (his rest days are the 2nd, 5th ... 29th); Eva is of the UCI.
    QCOMPARE(QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n")),
             (QStringList{"INFORME MES Marzo DE 2007 DEL SERVICIO Urgencias",
                          "TRABAJADOR;DIAS TRABAJADOS;NOCHES;PERSONALES;VACACIONES;DIAS BAJA;"
                          "COMENTARIOS",
                          "Ruiz, Ana;18;0;0;3;0;", "Gil, Luis;21;0;0;0;0;", ""}));
    QCOMPARE(DvModal::PendingHandlers(), 0);
}

void PlannerWorkflowTest::everyDialogClosesEachWay_data() {
    QTest::addColumn<int>("way");
    QTest::newRow("OK") << int(Close::Ok);
    QTest::newRow("Cancel") << int(Close::Cancel);
    QTest::newRow("Escape") << int(Close::Escape);
}

void PlannerWorkflowTest::everyDialogClosesEachWay() {
    QFETCH(int, way);
    const Close how = static_cast<Close>(way);
    Program program;
    QVERIFY(program.Start(QStringLiteral("cada_dialogo.mdb"), kSetUp));
    const QStringList before = Everything();

    // Services and shift types, with a row clicked.
    for (const char* command : {"ID_CONFIG_SERVICIOS", "ID_CONFIG_TIPOSTURNO"}) {
        DvModal::QueueHandler([how](QDialog& d) {
            CConfigListGrid* list = static_cast<CNameListDlg&>(d).List();
            ClickRowAt(list, 0);
            CloseList(d, list, how);
        });
        QVERIFY(program.Command(command));
    }

    // Shifts: the shift type chooser, a shift's record, a new shift.
    DvModal::QueueHandler([how](QDialog& d) {
        auto& shifts = static_cast<CTurnosDlg&>(d);
        for (Close chooserWay : {how, Close::Ok}) {
            DvModal::QueueHandler([chooserWay](QDialog& chooser) {
                auto& types = static_cast<CTiposTurnoDlg&>(chooser);
                ClickRow(types.List(), QStringLiteral("Rotatorio"));
                CloseList(chooser, types.List(), chooserWay);
            });
            ClickButton(d, DlgId::FindShiftType);
        }
        ClickRowAt(shifts.List(), 1);
        DvModal::QueueHandler([how](QDialog& record) { CloseAsOnX(record, how); });
        ClickButton(d, DlgId::ShiftRecord);
        DvModal::QueueHandler([how](QDialog& record) {
            Type(&record, DlgId::ShiftName, QStringLiteral("Noche"));
            Type(&record, DlgId::ShiftStart, QStringLiteral("22:00:00"));
            Type(&record, DlgId::ShiftEnd, QStringLiteral("08:00:00"));
            CloseAsOnX(record, how);
            QVERIFY(!record.isVisible());
        });
        ClickButton(d, DlgId::New);
        CloseList(d, shifts.List(), how);
    });
    QVERIFY(program.Command("ID_CONFIG_TURNOS"));

    // Personnel: a worker's record with the service chooser, the three leave lists each
    // with a period's record and its date picker; a new worker.
    DvModal::QueueHandler([how](QDialog& d) {
        auto& personnel = static_cast<CPersonalDlg&>(d);
        ClickRow(personnel.List(), QStringLiteral("Ruiz, Ana"));
        DvModal::QueueHandler([how](QDialog& record) {
            DvModal::QueueHandler([how](QDialog& chooser) {
                auto& services = static_cast<CServiciosDlg&>(chooser);
                ClickRow(services.List(), QStringLiteral("Urgencias"));
                CloseList(chooser, services.List(), how);
            });
            ClickButton(record, DlgId::ChooseService);
            for (int kind : {DlgId::Vacations, DlgId::SickLeave, DlgId::PersonalDays}) {
                DvModal::QueueHandler([how](QDialog& leave) {
                    CCellGrid* list = static_cast<CLibranzasDlg&>(leave).List();
                    ClickRowAt(list, 0);
                    DvModal::QueueHandler([how](QDialog& period) {
                        PickerClosed(how);
                        ClickButton(period, CDetallesLibranzaDlg::IdChooseStart);
                        CloseAsOnX(period, how);
                        QVERIFY(!period.isVisible());
                    });
                    ClickButton(leave, CLibranzasDlg::IdEdit);
                    CloseList(leave, list, how);
                });
                ClickButton(record, kind);
            }
            CloseAsOnX(record, how);
            QVERIFY(!record.isVisible());
        });
        ClickButton(d, DlgId::Edit);
        Choose(&d, DlgId::ServiceFilter, QStringLiteral("UCI"));
        DvModal::QueueHandler([how](QDialog& record) {
            Type(&record, DlgId::WorkerName, QStringLiteral("Bea"));
            Type(&record, DlgId::WorkerRosterName, QStringLiteral("Bea"));
            CloseAsOnX(record, how);
            QVERIFY(!record.isVisible());
        });
        ClickButton(d, DlgId::New);
        CloseList(d, personnel.List(), how);
    });
    QVERIFY(program.Command("ID_CONFIG_PERSONAL"));

    // Reference assignments: the worker search and the date picker.
    DvModal::QueueHandler([how](QDialog& d) {
        auto& assignments = static_cast<CAsignacionDlg&>(d);
        for (Close searchWay : {Close::Ok, how}) {
            DvModal::QueueHandler([searchWay](QDialog& search) {
                auto& people = static_cast<CPersonalDlg&>(search);
                ClickRow(people.List(), QStringLiteral("Gil, Luis"));
                CloseList(search, people.List(), searchWay);
            });
            ClickButton(d, CAsignacionDlg::IdFind);
            if (searchWay == Close::Ok)
                QCOMPARE(assignments.List()->GetRowCount(), 1);
        }
        PickerClosed(how);
        ClickButton(d, CAsignacionDlg::IdChooseDate);
        CloseList(d, assignments.List(), how);
    });
    QVERIFY(program.Command("ID_CONFIG_ASIGNACION"));

    // Holidays: a holiday's record with its date picker, a new holiday.
    DvModal::QueueHandler([how](QDialog& d) {
        CCellGrid* list = static_cast<CFestivosDlg&>(d).List();
        ClickRowAt(list, 0);
        DvModal::QueueHandler([how](QDialog& record) {
            PickerClosed(how);
            ClickButton(record, CFichaFestivoDlg::IdChooseDay);
            CloseAsOnX(record, how);
        });
        ClickButton(d, CFestivosDlg::IdEdit);
        DvModal::QueueHandler([how](QDialog& record) { CloseAsOnX(record, how); });
        ClickButton(d, CFestivosDlg::IdAdd);
        CloseList(d, list, how);
    });
    QVERIFY(program.Command("ID_CONFIG_FESTIVOS"));

    // The roster options, then the day's exceptions from the roster.
    DvModal::QueueHandler([how](QDialog& d) { CloseAsOnX(d, how); });
    QVERIFY(program.Command("ID_CONFIG_OPCIONES"));
    COstrevanView* view = program.View();
    view->Servicios()->setCurrentIndex(view->Servicios()->findText(QStringLiteral("Urgencias")));
    Generate(view);
    DvModal::QueueHandler([how](QDialog& d) {
        CCellGrid* list = static_cast<CExcepcionesDlg&>(d).List();
        ClickRowAt(list, 0);
        DvModal::QueueHandler([how](QDialog& record) { CloseAsOnX(record, how); });
        ClickButton(d, CExcepcionesDlg::IdEdit);
        DvModal::QueueHandler([how](QDialog& record) {
            Choose(&record, CFichaExcepcionDlg::IdPerson, QStringLiteral("Luis G."));
            CloseAsOnX(record, how);
        });
        ClickButton(d, CExcepcionesDlg::IdAdd);
        CloseList(d, list, how);
    });
    DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
    Roster{view->Cuadro()}.DoubleClickDay(5);
    QApplication::processEvents();
    QCOMPARE(DvModal::PendingHandlers(), 0);

    // OK saved what the new records held, and only that; Cancel and Escape saved nothing.
    QStringList expected = before;
    if (how == Close::Ok) {
        expected.replaceInStrings(QStringLiteral("TURNOS 3"), QStringLiteral("TURNOS 4"));
        expected.replaceInStrings(QStringLiteral("PERSONAL 3"), QStringLiteral("PERSONAL 4"));
        expected.replaceInStrings(QStringLiteral("FIESTAS 1"), QStringLiteral("FIESTAS 2"));
        expected.replaceInStrings(QStringLiteral("EXCEPCIONES 1"), QStringLiteral("EXCEPCIONES 2"));
        // The roster options of a service without its own are stored on OK.
        expected.replaceInStrings(QStringLiteral("PREF_IMPRESION 0"),
                                  QStringLiteral("PREF_IMPRESION 1"));
        QCOMPARE(TakeBoxes(), (QStringList{"Para que los cambios tengan efecto se debe recargar la "
                                           "planilla.\r\n¿Desea recargarla?",
                                           "¿Quieres recargar la planilla con los cambios?"}));
        QCOMPARE(Count("SELECT ORDEN FROM TURNOS WHERE NOMBRE = 'Noche'"), 4);
        QCOMPARE(Count("SELECT ID_FUNCION FROM PERSONAL WHERE NOMBRE = 'Bea'"), 2);
    } else {
        const QStringList boxes = TakeBoxes();
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join('\n')));
    }
    QCOMPARE(Everything(), expected);
    // The stored periods and assignments are as they were, whichever way.
    QCOMPARE(Value("SELECT INICIO || FINAL || ID_SUPLENTE FROM VACACIONES"),
             QStringLiteral("2007/03/10 00:00:002007/03/12 00:00:003"));
    QCOMPARE(Value("SELECT DIA_REF || ID_TURNO FROM ASIG_TURNOS WHERE ID = 2"),
             QStringLiteral("2007/03/01 00:00:002"));
}

QTEST_MAIN(PlannerWorkflowTest)
#include "PlannerWorkflowTest.moc"
