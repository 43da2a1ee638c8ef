// A whole roster from an empty database, entered through the dialogs only, as a planner
// sets up a new service: services, a rotation with its shifts, workers, their reference
// assignments, a holiday, a vacation with a substitute, and the day's exceptions opened
// from the roster itself; then the month built into the roster grid is checked day by
// day.

#include "AsignacionDlg.h"
#include "CalendarGrid.h"
#include "ComboList.h"
#include "CuadroPlanilla.h"
#include "DetallesLibranzaDlg.h"
#include "DetallesTurnoDlg.h"
#include "DialogIds.h"
#include "Dialogs2Support.h"
#include "ExcepcionesDlg.h"
#include "FestivosDlg.h"
#include "FichaExcepcionDlg.h"
#include "FichaFestivoDlg.h"
#include "FichaPersonalDlg.h"
#include "LibranzasDlg.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "Modal.h"
#include "PersonalDlg.h"
#include "PickDateDlg.h"
#include "Progreso.h"
#include "RosterDays.h"
#include "ServiciosDlg.h"
#include "TiposTurnoDlg.h"
#include "TurnosDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>
#include <memory>

using namespace Dlg2Test;

namespace {
CTemplateDialog& T(QDialog& d) {
    return static_cast<CTemplateDialog&>(d);
}

void Type(QDialog& d, int id, const QString& text) {
    auto* edit = Ctl<QLineEdit>(&d, id);
    QVERIFY2(edit, qPrintable(QStringLiteral("sin control %1").arg(id)));
    if (auto* special = dynamic_cast<CEditSpecial*>(edit))
        special->SetDisplayText(text);
    else
        edit->setText(text);
}

void Choose(QDialog& d, int id, const QString& text) {
    auto* combo = Ctl<CComboList>(&d, id);
    QVERIFY(combo);
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setCurrentIndex(index);
}

// Makes the row with the text current in a configuration list and closes with OK.
void PickRow(CConfigListGrid* list, CTemplateDialog& d, const QString& text) {
    const int row = list->FindText(text);
    QVERIFY2(row >= 0, qPrintable(text));
    list->GotoCell(0, row);
    d.SendCommand(DlgId::Ok);
}

// Adds names to a services or shift types dialog and closes it.
void AddNames(const QStringList& names) {
    DvModal::QueueHandler([names](QDialog& d) {
        for (const QString& name : names) {
            Type(d, DlgId::Name, name);
            T(d).SendCommand(DlgId::Add);
        }
        T(d).SendCommand(DlgId::Ok);
    });
}

struct Shift {
    QString name;
    QString start, end; // "hh:mm:ss"; empty for a rest day
};

void AddWorker(const QString& name, const QString& surnames, const QString& rosterName,
               const QString& service) {
    DvModal::QueueHandler([=](QDialog& list) {
        DvModal::QueueHandler([=](QDialog& record) {
            Type(record, DlgId::WorkerName, name);
            Type(record, DlgId::WorkerSurnames, surnames);
            Type(record, DlgId::WorkerRosterName, rosterName);
            DvModal::QueueHandler([=](QDialog& chooser) {
                auto& services = static_cast<CServiciosDlg&>(chooser);
                PickRow(services.List(), services, service);
            });
            T(record).SendCommand(DlgId::ChooseService);
            T(record).SendCommand(DlgId::Ok);
        });
        T(list).SendCommand(DlgId::New);
        T(list).SendCommand(DlgId::Ok);
    });
    CPersonalDlg::Run(nullptr);
}

// The roster grid as the view holds it; its day-number double click opens the day's
// exceptions the way the roster view does.
class CCuadroConExcepciones : public CCuadroPlanilla {
protected:
    int AbrirExcepcionesDelDia(const CDateTime& fecha, int servicio) override {
        return CExcepcionesDlg::Run(parentWidget(), fecha, servicio);
    }
};

struct Roster {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    CCuadroConExcepciones* grid = new CCuadroConExcepciones;
    Roster() {
        window->resize(1000, 700);
        grid->CreateGrid(window.get(), QRect(0, 0, 1000, 700), 1015);
        window->show();
        QApplication::processEvents();
    }
    void Build(int service) {
        CProgresoSinVentana silent;
        QVERIFY(grid->GenerarPlanilla(3, 2007, service, window.get(), silent));
    }
    // The day-number cell of a day of the month, and the names under it.
    bool DayCell(int day, int* column, int* row) {
        return RosterDays::DayCell(grid, CDateTime(2007, 3, day), column, row);
    }
    QStringList Names(int day, QList<GridColor>* colours = nullptr) {
        return RosterDays::Names(grid, CDateTime(2007, 3, day), colours);
    }
    GridColor DayBack(int day) {
        int column = 0, row = 0;
        if (!DayCell(day, &column, &row))
            return 0xFFFFFFFF;
        CCellRecord cell;
        grid->GetCell(column, row, &cell);
        return cell.Has(CCellRecord::PropBackColor) ? cell.GetBackColor() : 0xFFFFFFFF;
    }
};
} // namespace

class RosterFromDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        InitTestProgram();
        NewDatabase(QStringLiteral("desde_cero.mdb"));
    }
    void cleanup() {
        DvModal::ClearHandlers();
        DvMessageBox::ClearAnswers();
        DvMessageBox::SetHandler(nullptr);
    }
    void wholeRosterFromAnEmptyDatabase();
};

void RosterFromDialogsTest::wholeRosterFromAnEmptyDatabase() {
    // Nothing but the dialogs' own answers may show: any other box fails the test.
    QStringList unexpected;
    DvMessageBox::SetHandler([&unexpected](const DvMessageBox::Message& m) {
        unexpected << m.text;
        return DvMessageBox::DefaultAnswer(m.buttons);
    });

    // Services and the rotation pattern.
    AddNames({QStringLiteral("Urgencias"), QStringLiteral("UCI")});
    CServiciosDlg::Run(nullptr);
    AddNames({QStringLiteral("Rotatorio")});
    CTiposTurnoDlg::Run(nullptr);
    const QList<Shift> shifts = {
        {"Mañana", "08:00:00", "15:00:00"}, {"Tarde", "15:00:00", "22:00:00"}, {"Libre", "", ""}};
    DvModal::QueueHandler([&shifts](QDialog& d) {
        DvModal::QueueHandler([](QDialog& chooser) {
            auto& types = static_cast<CTiposTurnoDlg&>(chooser);
            PickRow(types.List(), types, QStringLiteral("Rotatorio"));
        });
        T(d).SendCommand(DlgId::FindShiftType);
        for (const Shift& shift : shifts) {
            DvModal::QueueHandler([shift](QDialog& record) {
                Type(record, DlgId::ShiftName, shift.name);
                if (shift.start.isEmpty()) {
                    Ctl<QCheckBox>(&record, DlgId::RestDay)->click();
                } else {
                    Type(record, DlgId::ShiftStart, shift.start);
                    Type(record, DlgId::ShiftEnd, shift.end);
                }
                T(record).SendCommand(DlgId::Ok);
            });
            T(d).SendCommand(DlgId::New);
        }
        T(d).SendCommand(DlgId::Ok);
    });
    CTurnosDlg::Run(nullptr);
    QCOMPARE(Count("SELECT COUNT(*) FROM TURNOS"), 3);

    // The workers: two in the service, one in another service who substitutes.
    AddWorker("Ana", "Ruiz", "Ana R.", "Urgencias");
    AddWorker("Luis", "Gil", "Luis G.", "Urgencias");
    AddWorker("Eva", "Sanz", "Eva S.", "UCI");
    const int urgencias = Count("SELECT ID FROM FUNCIONES WHERE NOMBRE='Urgencias'");
    const int ana = Count("SELECT ID FROM PERSONAL WHERE NOMBRE='Ana'");
    QVERIFY(urgencias > 0 && ana > 0);

    // Reference assignments: Ana on the morning shift on 1 March (typed), Luis on the
    // afternoon shift the same day (picked from the calendar).
    DvModal::QueueHandler([](QDialog& d) {
        using A = CAsignacionDlg;
        DvModal::QueueHandler([](QDialog& search) {
            auto& people = static_cast<CPersonalDlg&>(search);
            PickRow(people.List(), people, QStringLiteral("Ruiz, Ana"));
        });
        T(d).SendCommand(A::IdFind);
        Choose(d, A::IdShiftType, QStringLiteral("Rotatorio"));
        Choose(d, A::IdShift, QStringLiteral("Mañana"));
        Type(d, A::IdDate, QStringLiteral("01-03-07"));
        T(d).SendCommand(A::IdAssign);

        DvModal::QueueHandler([](QDialog& search) {
            auto& people = static_cast<CPersonalDlg&>(search);
            PickRow(people.List(), people, QStringLiteral("Gil, Luis"));
        });
        T(d).SendCommand(A::IdFind);
        Choose(d, A::IdShift, QStringLiteral("Tarde"));
        DvModal::QueueHandler([](QDialog& picker) {
            auto* calendar = static_cast<CPickDateDlg&>(picker).Calendar();
            int column = 0, row = 0;
            QVERIFY(calendar->CellOfDay(1, &column, &row));
            DoubleClickCell(calendar, column, row);
            Pump();
        });
        T(d).SendCommand(A::IdChooseDate);
        T(d).SendCommand(A::IdAssign);
        T(d).SendCommand(DlgId::Ok);
    });
    CAsignacionDlg::Run(nullptr);
    QCOMPARE(Count("SELECT COUNT(*) FROM ASIG_TURNOS"), 2);

    // A one-off holiday on 19 March.
    DvModal::QueueHandler([](QDialog& d) {
        DvModal::QueueHandler([](QDialog& record) {
            Type(record, CFichaFestivoDlg::IdDay, QStringLiteral("19-03-07"));
            Type(record, CFichaFestivoDlg::IdDescription, QStringLiteral("San José"));
            Ctl<QCheckBox>(&record, CFichaFestivoDlg::IdYearly)->setChecked(false);
            T(record).SendCommand(DlgId::Ok);
        });
        T(d).SendCommand(CFestivosDlg::IdAdd);
        T(d).SendCommand(DlgId::Ok);
    });
    CFestivosDlg::Run(nullptr);

    // Ana's vacation from 10 to 12 March, covered by Eva from the UCI.
    DvModal::QueueHandler([](QDialog& d) {
        DvModal::QueueHandler([](QDialog& record) {
            using R = CDetallesLibranzaDlg;
            Type(record, R::IdStart, QStringLiteral("10-03-07"));
            Type(record, R::IdEnd, QStringLiteral("12-03-07"));
            Choose(record, R::IdService, QStringLiteral("UCI"));
            Choose(record, R::IdSubstitute, QStringLiteral("Eva S."));
            T(record).SendCommand(DlgId::Ok);
        });
        T(d).SendCommand(CLibranzasDlg::IdAdd);
        T(d).SendCommand(DlgId::Ok);
    });
    QCOMPARE(CLibranzasDlg::Run(nullptr, ana, CFichaPersonalDlg::Vacaciones),
             int(QDialog::Accepted));

    // The month, built once.
    Roster roster;
    roster.Build(urgencias);
    QCOMPARE(roster.Names(1), (QStringList{"Ana R.", "Luis G."}));
    QCOMPARE(roster.Names(2), (QStringList{"Ana R."}));
    QCOMPARE(roster.Names(3), (QStringList{"Luis G."}));
    QCOMPARE(roster.Names(5), (QStringList{"Ana R."}));

    // On 5 March Ana stays at home and Luis comes for the night: a double click on the
    // day number opens the day's exceptions, and the roster is rebuilt on consent.
    int column = 0, row = 0;
    QVERIFY(roster.DayCell(5, &column, &row));
    DvModal::QueueHandler([](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Excepciones para el día: 05/03/07"));
        DvModal::QueueHandler([](QDialog& record) {
            Choose(record, CFichaExcepcionDlg::IdPerson, QStringLiteral("Ana R."));
            T(record).SendCommand(DlgId::Ok);
        });
        T(d).SendCommand(CExcepcionesDlg::IdAdd);
        DvModal::QueueHandler([](QDialog& record) {
            Choose(record, CFichaExcepcionDlg::IdPerson, QStringLiteral("Luis G."));
            Ctl<QRadioButton>(&record, CFichaExcepcionDlg::IdAddTo)->click();
            Type(record, CFichaExcepcionDlg::IdStart, QStringLiteral("22:00"));
            Type(record, CFichaExcepcionDlg::IdEnd, QStringLiteral("08:00"));
            T(record).SendCommand(DlgId::Ok);
        });
        T(d).SendCommand(CExcepcionesDlg::IdAdd);
        QCOMPARE(RowTexts(static_cast<CExcepcionesDlg&>(d).List(), 1),
                 (QStringList{"Luis G.", "Añadido de 22 a 8"}));
        T(d).SendCommand(DlgId::Ok);
    });
    DvMessageBox::Recorder boxes;
    DvMessageBox::SetNextAnswer(DvMessageBox::IdYes);
    DoubleClickCell(roster.grid, column, row);
    Pump();
    QCOMPARE(boxes.Last().text, QStringLiteral("¿Quieres recargar la planilla con los cambios?"));
    QCOMPARE(Count("SELECT COUNT(*) FROM EXCEPCIONES"), 2);
    roster.Build(urgencias);

    // The rotation of three (morning, afternoon, rest) from the 1st: Ana on the morning
    // shift, Luis on the afternoon shift.
    QCOMPARE(roster.Names(1), (QStringList{"Ana R.", "Luis G."}));
    QCOMPARE(roster.Names(2), (QStringList{"Ana R."}));
    QCOMPARE(roster.Names(3), (QStringList{"Luis G."}));
    QCOMPARE(roster.Names(4), (QStringList{"Ana R.", "Luis G."}));
    // The exceptions of the 5th.
    QCOMPARE(roster.Names(5), (QStringList{"Luis G."}));
    // The vacation: Eva works Ana's shifts, in the vacation colour.
    QList<GridColor> colours;
    QCOMPARE(roster.Names(10, &colours), (QStringList{"Eva S.", "Luis G."}));
    QCOMPARE(colours.value(0), CCuadroPlanilla::ColorVacaciones);
    QCOMPARE(colours.value(1), CCuadroPlanilla::ColorEnPersona);
    QCOMPARE(roster.Names(11), (QStringList{"Eva S."}));
    QCOMPARE(roster.Names(12), (QStringList{"Luis G."}));
    QCOMPARE(roster.Names(13), (QStringList{"Ana R.", "Luis G."}));
    QCOMPARE(roster.Names(31), (QStringList{"Ana R.", "Luis G."}));
    // Sundays and the holiday are shaded.
    QCOMPARE(roster.DayBack(19), CCuadroPlanilla::ColorFestivo);
    QCOMPARE(roster.DayBack(4), CCuadroPlanilla::ColorFestivo);
    QVERIFY(roster.DayBack(20) != CCuadroPlanilla::ColorFestivo);

    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join('\n')));
    QVERIFY2(DbErrors().isEmpty(), qPrintable(DbErrors().join('\n')));
    QCOMPARE(DvModal::PendingHandlers(), 0);
}

QTEST_MAIN(RosterFromDialogsTest)
#include "RosterFromDialogsTest.moc"
