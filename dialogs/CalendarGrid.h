#pragma once
// The month calendar of the date picker: one column per weekday from Monday to Sunday,
// six week rows, and two heading rows: the weekday names below, the month and year
// between four arrows above (previous year, previous month, next month, next year).
//
// A click on a day makes it the shown date; a double click on a day, or Enter, closes
// the picker with it; Escape closes the picker without choosing. The grid only moves
// onto cells that hold a day.

#include "CellGrid.h"
#include "DateTime.h"

#include <QFont>
#include <QString>
#include <functional>

class CCalendarGrid : public CCellGrid {
    Q_OBJECT
public:
    // Commands the calendar sends to its dialog (the ids of OK and Cancel).
    static constexpr int CommandOk = 1;
    static constexpr int CommandCancel = 2;

    explicit CCalendarGrid(QWidget* parent = nullptr);

    // The font of the days and headings (kept by the grid).
    void SetFont(const QFont& font);
    const QFont& Font() const { return m_font; }

    // The day shown and selected. An invalid value shows today (from the program's clock).
    void SetShownDate(const CDateTime& date);
    const CDateTime& GetShownDate() const { return m_shown; }

    // Where the calendar posts its OK and Cancel commands. By default they go to the
    // dialog the grid lives in, if it is a template dialog.
    using CommandSink = std::function<void(int command)>;
    void SetCommandSink(CommandSink sink) { m_sink = std::move(sink); }

    // Writes the shown month into the grid and makes the shown day current.
    void ShowMonth();

    // The day number in a cell; 0 for an empty cell or one outside the days.
    int DayInCell(int column, int row);
    // The cell of a day of the shown month; false when the month has no such day.
    bool CellOfDay(int day, int* column, int* row) const;

    // The names the calendar shows, by the language setting (IDIOMA): weekday 0 is
    // Monday, month 1 is January.
    static QString WeekdayName(int weekday);
    static QString MonthName(int month);
    // The month names are taken from the table once, the first time a month is shown,
    // and kept for the rest of the run; tests forget them to try another language.
    static void ForgetMonthNames();

    // Hooks of the grid.
    void OnGridSetup() override;
    int OnCanMove(int oldColumn, int oldRow, int newColumn, int newRow) override;
    int OnCanSizeColumn(int column) override;
    int OnCanSizeRow(int row) override;
    void OnCellClick(int column, int row, int buttonDown, const QRect& rect, const QPoint& point,
                     int processed) override;
    void OnCellDoubleClick(int column, int row, const QRect& rect, const QPoint& point,
                           int processed) override;
    void OnTopHeadingClick(int column, int row, int buttonDown, const QRect& rect,
                           const QPoint& point, int processed) override;
    void OnTopHeadingDoubleClick(int column, int row, const QRect& rect, const QPoint& point,
                                 int processed) override;
    void OnKeyDown(int* key, int processed) override;

private:
    void Post(int command);
    // Column of day 1 of the shown month (Monday 0 ... Sunday 6).
    int FirstColumn() const;

    CDateTime m_shown;
    QFont m_font;
    CommandSink m_sink;
};
