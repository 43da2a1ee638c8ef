// The date picker: the month laid out under its weekdays, the heading arrows with the
// day kept inside the new month, clicks, double clicks and keys, the language of the
// names, and what a date field gets back whichever way the picker closes.

#include "CalendarGrid.h"
#include "Dialogs2Support.h"
#include "MaskedEdit.h"
#include "Modal.h"
#include "PickDateDlg.h"
#include "Settings.h"

#include <QSettings>
#include <QtTest>

using namespace Dlg2Test;

namespace {
QString DateText(const CDateTime& d) {
    return d.IsValid() ? QString::asprintf("%02d/%02d/%04d", d.GetDay(), d.GetMonth(), d.GetYear())
                       : QStringLiteral("inválida");
}

QString Heading(CCalendarGrid* calendar) {
    QString text;
    calendar->GetCellText(2, -2, &text);
    return text;
}

void SetLanguage(const QVariant& value) {
    QSettings settings(DvSettings::Organisation, DvSettings::Application);
    if (value.isValid())
        settings.setValue(QStringLiteral("CONFIG/IDIOMA"), value);
    else
        settings.remove(QStringLiteral("CONFIG/IDIOMA"));
    settings.sync();
    DvSettings::ForgetIdioma();
    CCalendarGrid::ForgetMonthNames();
}

// A picker shown on a date, initialised as its modal run would.
struct ShownPicker {
    CPickDateDlg dialog;
    explicit ShownPicker(const CDateTime& date) {
        dialog.SetPickedDate(date);
        dialog.show();
        Pump();
    }
    ~ShownPicker() { dialog.hide(); }
    CCalendarGrid* calendar() { return dialog.Calendar(); }
};
} // namespace

class PickDateTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        InitTestProgram();
        SetLanguage(QVariant());
    }
    void cleanup() { DvModal::ClearHandlers(); }

    void monthLaidOutUnderItsWeekdays();
    void arrowsMoveAndKeepTheDayInsideTheMonth();
    void clicksChooseOnlyDays();
    void doubleClickClosesWithTheDay();
    void escapeGivesTheFieldItsDateBack();
    void enterTakesTheDayTheUserSees();
    void unreadableDateStartsOnToday();
    void namesFollowTheLanguageSetting();
};

void PickDateTest::monthLaidOutUnderItsWeekdays() {
    {
        // March 2007 starts on a Thursday.
        ShownPicker p(CDateTime(2007, 3, 15));
        CCalendarGrid* c = p.calendar();
        QVERIFY(c);
        QCOMPARE(c->GetColumnCount(), 7);
        QCOMPARE(c->GetRowCount(), 6);
        QCOMPARE(c->GetTopHeadingRowCount(), 2);
        QCOMPARE(Heading(c), QStringLiteral("Marzo 2007"));
        QStringList weekdays;
        for (int col = 0; col < 7; ++col) {
            QString text;
            c->GetCellText(col, -1, &text);
            weekdays << text;
        }
        QCOMPARE(weekdays.join(' '), QStringLiteral("Lun Mar Mie Jue Vie Sab Dom"));
        QCOMPARE(c->DayInCell(3, 0), 1);
        QCOMPARE(c->DayInCell(2, 0), 0);
        QCOMPARE(c->DayInCell(5, 4), 31);
        QCOMPARE(c->DayInCell(6, 4), 0);
        // The shown day is the current cell: 15 March is the Thursday of the third week.
        QCOMPARE(c->GetCurrentColumn(), 3);
        QCOMPARE(c->GetCurrentRow(), 2);
        // The columns share the grid's width.
        QCOMPARE(c->GetColumnWidth(0), c->contentsRect().width() / 7);
    }
    {
        // April 2007 starts on a Sunday: day 1 alone in the first row, day 30 in row 5.
        ShownPicker p(CDateTime(2007, 4, 1));
        QCOMPARE(p.calendar()->DayInCell(6, 0), 1);
        QCOMPARE(p.calendar()->DayInCell(0, 1), 2);
        QCOMPARE(p.calendar()->DayInCell(0, 5), 30);
        QCOMPARE(p.calendar()->GetCurrentColumn(), 6);
        QCOMPARE(p.calendar()->GetCurrentRow(), 0);
    }
}

void PickDateTest::arrowsMoveAndKeepTheDayInsideTheMonth() {
    struct Case {
        CDateTime from;
        int column; // 0 previous year, 1 previous month, 5 next month, 6 next year
        bool doubleClick;
        QString expected;
        QString heading;
    };
    const Case cases[] = {
        {CDateTime(2008, 1, 31), 5, false, "28/02/2008", "Febrero 2008"},
        {CDateTime(2007, 5, 31), 1, false, "30/04/2007", "Abril 2007"},
        {CDateTime(2007, 1, 10), 1, false, "10/12/2006", "Diciembre 2006"},
        {CDateTime(2007, 12, 31), 5, false, "31/01/2008", "Enero 2008"},
        {CDateTime(2008, 2, 29), 6, false, "28/02/2009", "Febrero 2009"},
        {CDateTime(2007, 3, 31), 0, false, "31/03/2006", "Marzo 2006"},
        // A double click on an arrow moves twice.
        {CDateTime(2007, 3, 31), 5, true, "30/05/2007", "Mayo 2007"},
        // The month title is no arrow.
        {CDateTime(2007, 3, 31), 3, false, "31/03/2007", "Marzo 2007"},
    };
    for (const Case& k : cases) {
        ShownPicker p(k.from);
        ClickTopHeading(p.calendar(), k.column, -2, k.doubleClick);
        QCOMPARE(DateText(p.calendar()->GetShownDate()), k.expected);
        QCOMPARE(Heading(p.calendar()), k.heading);
        // The new month is laid out and its shown day is current.
        int column = -1, row = -1;
        QVERIFY(p.calendar()->CellOfDay(p.calendar()->GetShownDate().GetDay(), &column, &row));
        QCOMPARE(p.calendar()->GetCurrentColumn(), column);
        QCOMPARE(p.calendar()->GetCurrentRow(), row);
        QCOMPARE(p.calendar()->DayInCell(column, row), p.calendar()->GetShownDate().GetDay());
    }
}

void PickDateTest::clicksChooseOnlyDays() {
    ShownPicker p(CDateTime(2007, 3, 15));
    CCalendarGrid* c = p.calendar();
    // An empty cell before day 1: nothing changes, the current cell stays on the 15th.
    ClickCell(c, 1, 0);
    QCOMPARE(DateText(c->GetShownDate()), QStringLiteral("15/03/2007"));
    QCOMPARE(c->GetCurrentColumn(), 3);
    QCOMPARE(c->GetCurrentRow(), 2);
    // A day becomes the shown date and the current cell.
    ClickCell(c, 4, 0);
    QCOMPARE(DateText(c->GetShownDate()), QStringLiteral("02/03/2007"));
    QCOMPARE(c->GetCurrentColumn(), 4);
    QCOMPARE(c->GetCurrentRow(), 0);
    // The keys move only onto days: left of day 1 there is none.
    ClickCell(c, 3, 0);
    PressKey(c, Qt::Key_Left);
    QCOMPARE(c->GetCurrentColumn(), 3);
    PressKey(c, Qt::Key_Right);
    QCOMPARE(c->GetCurrentColumn(), 4);
    // Moving with the keys does not change the shown date.
    QCOMPARE(DateText(c->GetShownDate()), QStringLiteral("01/03/2007"));
    // The calendar's columns and rows cannot be resized.
    QCOMPARE(c->OnCanSizeColumn(0), 0);
    QCOMPARE(c->OnCanSizeRow(0), 0);
}

void PickDateTest::doubleClickClosesWithTheDay() {
    CPickDateDlg picker;
    picker.SetPickedDate(CDateTime(2007, 3, 15));
    DvModal::QueueHandler([](QDialog& d) {
        auto* calendar = static_cast<CPickDateDlg&>(d).Calendar();
        DoubleClickCell(calendar, 6, 3); // Sunday 25 March
        Pump();
    });
    QCOMPARE(DvModal::Run(picker), int(QDialog::Accepted));
    QCOMPARE(DateText(picker.GetPickedDate()), QStringLiteral("25/03/2007"));

    // A double click on an empty cell does not close the picker.
    CPickDateDlg again;
    again.SetPickedDate(CDateTime(2007, 3, 15));
    bool stillOpen = false;
    DvModal::QueueHandler([&stillOpen](QDialog& d) {
        DoubleClickCell(static_cast<CPickDateDlg&>(d).Calendar(), 0, 5);
        Pump();
        stillOpen = d.isVisible();
    });
    QCOMPARE(DvModal::Run(again), int(QDialog::Rejected));
    QVERIFY(stillOpen);
    QCOMPARE(DateText(again.GetPickedDate()), QStringLiteral("15/03/2007"));
}

void PickDateTest::escapeGivesTheFieldItsDateBack() {
    CEditSpecial field;
    field.SetMask(QStringLiteral("##-##-##"));
    field.SetDate(CDateTime(2007, 10, 12));
    DvModal::QueueHandler([](QDialog& d) {
        auto* calendar = static_cast<CPickDateDlg&>(d).Calendar();
        ClickCell(calendar, 0, 1); // 8 October, then Escape
        PressKey(calendar, Qt::Key_Escape);
        Pump();
    });
    QCOMPARE(CPickDateDlg::PickInto(nullptr, &field), int(QDialog::Rejected));
    QCOMPARE(field.text(), QStringLiteral("12-10-07"));

    // The same with a click on a day and OK writes that day.
    DvModal::QueueHandler([](QDialog& d) {
        ClickCell(static_cast<CPickDateDlg&>(d).Calendar(), 0, 1);
        static_cast<CPickDateDlg&>(d).SendCommand(1);
    });
    QCOMPARE(CPickDateDlg::PickInto(nullptr, &field), int(QDialog::Accepted));
    QCOMPARE(field.text(), QStringLiteral("08-10-07"));
}

void PickDateTest::enterTakesTheDayTheUserSees() {
    CEditSpecial field;
    field.SetMask(QStringLiteral("##-##-##"));
    field.SetDate(CDateTime(2007, 3, 15));
    DvModal::QueueHandler([](QDialog& d) {
        auto* calendar = static_cast<CPickDateDlg&>(d).Calendar();
        PressKey(calendar, Qt::Key_Down); // the 22nd is selected now
        PressKey(calendar, Qt::Key_Return);
        Pump();
    });
    QCOMPARE(CPickDateDlg::PickInto(nullptr, &field), int(QDialog::Accepted));
    QCOMPARE(field.text(), QStringLiteral("22-03-07"));
}

void PickDateTest::unreadableDateStartsOnToday() {
    CEditSpecial field;
    field.SetMask(QStringLiteral("##-##-##"));
    field.SetDisplayText(QStringLiteral("31-02-07")); // no such day
    QString heading;
    CDateTime shown;
    DvModal::QueueHandler([&](QDialog& d) {
        auto* calendar = static_cast<CPickDateDlg&>(d).Calendar();
        heading = Heading(calendar);
        shown = calendar->GetShownDate();
    });
    // Cancelled: the field gets back what it held, an unreadable date, shown empty.
    QCOMPARE(CPickDateDlg::PickInto(nullptr, &field), int(QDialog::Rejected));
    QCOMPARE(heading, QStringLiteral("Marzo 2007"));
    QCOMPARE(DateText(shown), QStringLiteral("05/03/2007"));
    QCOMPARE(field.text(), field.MaskTemplate());

    // Accepted without a click: today.
    DvModal::QueueHandler([](QDialog& d) { static_cast<CPickDateDlg&>(d).SendCommand(1); });
    QCOMPARE(CPickDateDlg::PickInto(nullptr, &field), int(QDialog::Accepted));
    QCOMPARE(field.text(), QStringLiteral("05-03-07"));

    // A picker nobody gave a date starts on today too.
    CPickDateDlg fresh;
    QCOMPARE(DateText(fresh.GetPickedDate()), QStringLiteral("05/03/2007"));
}

void PickDateTest::namesFollowTheLanguageSetting() {
    SetLanguage(1);
    {
        ShownPicker p(CDateTime(2007, 3, 15));
        QString monday, sunday;
        p.calendar()->GetCellText(0, -1, &monday);
        p.calendar()->GetCellText(6, -1, &sunday);
        QCOMPARE(monday, QStringLiteral("Mon"));
        QCOMPARE(sunday, QStringLiteral("Sun"));
        QCOMPARE(Heading(p.calendar()), QStringLiteral("March 2007"));
    }
    // The month names are kept for the rest of the run once shown.
    DvSettings::WriteInt(QStringLiteral("IDIOMA"), 0);
    DvSettings::ForgetIdioma();
    {
        ShownPicker p(CDateTime(2007, 9, 1));
        QCOMPARE(Heading(p.calendar()), QStringLiteral("September 2007"));
    }
    // A value outside 0..2 counts as 0 and is written back as 0; 2 is Spanish as well.
    for (const QVariant& value : {QVariant(7), QVariant(2), QVariant()}) {
        SetLanguage(value);
        ShownPicker p(CDateTime(2007, 9, 1));
        QString monday;
        p.calendar()->GetCellText(0, -1, &monday);
        QCOMPARE(monday, QStringLiteral("Lun"));
        QCOMPARE(Heading(p.calendar()), QStringLiteral("Septiembre 2007"));
        QCOMPARE(DvSettings::ReadInt(QStringLiteral("IDIOMA"), 99), value == QVariant(2) ? 2 : 0);
    }
    SetLanguage(QVariant());
}

QTEST_MAIN(PickDateTest)
#include "PickDateTest.moc"
