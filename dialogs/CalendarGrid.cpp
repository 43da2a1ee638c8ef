#include "CalendarGrid.h"

#include "ArrowCellType.h"
#include "Clock.h"
#include "Settings.h"
#include "TemplateDialog.h"

#include <QDate>
#include <array>

namespace {
constexpr int kColumns = 7;
constexpr int kRows = 6;
// The heading row with the month and the arrows, and the one with the weekday names.
constexpr int kMonthRow = -2;
constexpr int kWeekdayRow = -1;
// The month and year are written into the first of the joined heading cells 2 to 4.
constexpr int kMonthColumn = 2;
// Years the arrows stop at, so the shown date stays within what dates can hold.
constexpr int kFirstYear = 101;
constexpr int kLastYear = 9998;

// Names by language: 0 and 2 Spanish, 1 English. Weekdays from Monday, then the months.
const char* const kNames[2][19] = {
    {"Lun", "Mar", "Mie", "Jue", "Vie", "Sab", "Dom", "Enero", "Febrero", "Marzo", "Abril", "Mayo",
     "Junio", "Julio", "Agosto", "Septiembre", "Octubre", "Noviembre", "Diciembre"},
    {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun", "January", "February", "March", "April",
     "May", "June", "July", "August", "September", "October", "November", "December"},
};

int NameTable() {
    return DvSettings::Idioma() == 1 ? 1 : 0;
}

struct MonthNameCache {
    bool loaded = false;
    std::array<QString, 12> names;
};

MonthNameCache& MonthCache() {
    static MonthNameCache cache;
    return cache;
}

void LoadMonthNames() {
    MonthNameCache& cache = MonthCache();
    if (cache.loaded)
        return;
    const int table = NameTable();
    for (int m = 0; m < 12; ++m)
        cache.names[static_cast<size_t>(m)] = QString::fromLatin1(kNames[table][7 + m]);
    cache.loaded = true;
}

CDateTime Today() {
    const QDate today = DvClock::Today();
    return CDateTime(today.year(), today.month(), today.day());
}

int DaysInMonth(int year, int month) {
    return QDate(year, month, 1).daysInMonth();
}
} // namespace

CCalendarGrid::CCalendarGrid(QWidget* parent) : CCellGrid(parent), m_shown(Today()) {
    // Out of sight until it takes its placeholder's place.
    hide();
}

void CCalendarGrid::SetFont(const QFont& font) {
    m_font = font;
}

void CCalendarGrid::SetShownDate(const CDateTime& date) {
    // The month and the day loop need a real date: an unreadable one starts on today.
    m_shown = date.IsValid() && date.GetYear() >= 100 ? date.DatePart() : Today();
}

QString CCalendarGrid::WeekdayName(int weekday) {
    if (weekday < 0 || weekday > 6)
        return QString();
    return QString::fromLatin1(kNames[NameTable()][weekday]);
}

QString CCalendarGrid::MonthName(int month) {
    if (month < 1 || month > 12)
        return QString();
    LoadMonthNames();
    return MonthCache().names[static_cast<size_t>(month - 1)];
}

void CCalendarGrid::ForgetMonthNames() {
    MonthCache().loaded = false;
}

void CCalendarGrid::OnGridSetup() {
    CCellRecord def;
    GetGridDefault(&def);
    def.SetAlignment(GridAlign::HCenter | GridAlign::VCenter);
    def.SetFont(&m_font);
    SetGridDefault(&def);
    SetDefaultFont(&m_font);

    SetRowCount(kRows, 1);
    SetColumnCount(kColumns, 1);
    SetTopHeadingRowCount(2);
    SetTopHeadingHeight(GetTopHeadingHeight() * 2);
    SetSideHeadingWidth(0);
    SetVScrollWidth(0);
    SetHScrollHeight(0);
    SetSelectionHighlight(2);

    const int width = contentsRect().width() / kColumns;
    for (int c = 0; c < kColumns; ++c) {
        SetCellText(c, kWeekdayRow, WeekdayName(c));
        SetCellFont(c, kWeekdayRow, &m_font);
        SetColumnWidth(c, width);
    }

    JoinCells(kMonthColumn, kMonthRow, 4, kMonthRow);
    SetCellFont(kMonthColumn, kMonthRow, &m_font);
    const struct {
        int column;
        int style;
    } arrows[] = {{0, CArrowCellType::StyleDoubleLeft},
                  {1, CArrowCellType::StyleLeft},
                  {5, 0},
                  {6, CArrowCellType::StyleDoubleRight}};
    for (const auto& arrow : arrows) {
        SetCellTypeIndex(arrow.column, kMonthRow, GridCellType::Arrow);
        if (arrow.style != 0)
            SetCellTypeStyle(arrow.column, kMonthRow, arrow.style);
    }
    ShowMonth();
}

int CCalendarGrid::FirstColumn() const {
    const CDateTime first(m_shown.GetYear(), m_shown.GetMonth(), 1);
    // Day of week 1 = Sunday ... 7 = Saturday; Monday goes to column 0, Sunday to 6.
    const int dayOfWeek = first.GetDayOfWeek();
    return dayOfWeek == 1 ? 6 : dayOfWeek - 2;
}

void CCalendarGrid::ShowMonth() {
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c)
            SetCellText(c, r, QString());

    const int year = m_shown.GetYear();
    const int month = m_shown.GetMonth();
    SetCellText(kMonthColumn, kMonthRow,
                QString::asprintf("%s %d", qPrintable(MonthName(month)), year));

    const int days = DaysInMonth(year, month);
    int column = FirstColumn();
    int row = 0;
    int shownColumn = column;
    int shownRow = row;
    for (int d = 1; d <= days; ++d) {
        SetCellText(column, row, QString::number(d));
        if (d == m_shown.GetDay()) {
            shownColumn = column;
            shownRow = row;
        }
        if (++column == kColumns) {
            column = 0;
            ++row;
        }
    }
    GotoCell(shownColumn, shownRow);
    RedrawAll();
}

int CCalendarGrid::DayInCell(int column, int row) {
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows)
        return 0;
    QString text;
    GetCellText(column, row, &text);
    return text.toInt();
}

bool CCalendarGrid::CellOfDay(int day, int* column, int* row) const {
    if (day < 1 || day > DaysInMonth(m_shown.GetYear(), m_shown.GetMonth()))
        return false;
    const int index = FirstColumn() + day - 1;
    *column = index % kColumns;
    *row = index / kColumns;
    return true;
}

int CCalendarGrid::OnCanMove(int, int, int newColumn, int newRow) {
    // Only the cells that hold a day can become current.
    return DayInCell(newColumn, newRow) > 0 ? 1 : 0;
}

int CCalendarGrid::OnCanSizeColumn(int) {
    return 0;
}

int CCalendarGrid::OnCanSizeRow(int) {
    return 0;
}

void CCalendarGrid::OnCellClick(int column, int row, int, const QRect&, const QPoint&, int) {
    const int day = DayInCell(column, row);
    if (day > 0)
        m_shown = CDateTime(m_shown.GetYear(), m_shown.GetMonth(), day);
}

void CCalendarGrid::OnCellDoubleClick(int column, int row, const QRect&, const QPoint&, int) {
    if (DayInCell(column, row) > 0)
        Post(CommandOk);
}

void CCalendarGrid::OnTopHeadingClick(int column, int row, int buttonDown, const QRect&,
                                      const QPoint&, int) {
    if (buttonDown != 1 || row != kMonthRow)
        return;
    int day = m_shown.GetDay();
    int month = m_shown.GetMonth();
    int year = m_shown.GetYear();
    switch (column) {
    case 0: // previous year
        if (year > kFirstYear)
            --year;
        break;
    case 1: // previous month
        if (month > 1) {
            --month;
        } else if (year > kFirstYear) {
            month = 12;
            --year;
        }
        break;
    case 5: // next month
        if (month < 12) {
            ++month;
        } else if (year < kLastYear) {
            month = 1;
            ++year;
        }
        break;
    case 6: // next year
        if (year < kLastYear)
            ++year;
        break;
    default:
        return;
    }
    // A day the new month lacks becomes its last possible one.
    if (day == 31 && (month == 4 || month == 6 || month == 9 || month == 11))
        day = 30;
    if (month == 2 && day > 28)
        day = 28;
    m_shown = CDateTime(year, month, day);
    ShowMonth();
}

void CCalendarGrid::OnTopHeadingDoubleClick(int column, int row, const QRect& rect,
                                            const QPoint& point, int processed) {
    // The second click of a double click on an arrow moves once more.
    OnTopHeadingClick(column, row, 1, rect, point, processed);
}

void CCalendarGrid::OnKeyDown(int* key, int) {
    if (!key)
        return;
    switch (*key) {
    case Qt::Key_Escape:
        *key = 0;
        Post(CommandCancel);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // Enter confirms the day the user sees selected, also after moving to it with
        // the arrow keys.
        const int day = DayInCell(GetCurrentColumn(), GetCurrentRow());
        if (day > 0)
            m_shown = CDateTime(m_shown.GetYear(), m_shown.GetMonth(), day);
        *key = 0;
        Post(CommandOk);
        break;
    }
    default:
        break;
    }
}

void CCalendarGrid::Post(int command) {
    if (m_sink) {
        m_sink(command);
        return;
    }
    if (auto* dialog = qobject_cast<CTemplateDialog*>(window()))
        dialog->PostCommand(command);
}
