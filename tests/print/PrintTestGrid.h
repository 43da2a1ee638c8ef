#pragma once
// A grid laid out and filled the way the roster grid is: 14 columns, two per weekday,
// joined weekday headings, a week block of rows per week with the day numbers on top,
// names joined across the day's two columns, leave colours, holiday shading, blank
// blocks for the days outside the month, and the roster's print options.

#include "CellGrid.h"

#include <QApplication>
#include <QFont>
#include <QPen>
#include <QStringList>
#include <QWidget>
#include <memory>

namespace PrintTest {

constexpr GridColor kGrey = GridRGB(180, 180, 180);
constexpr GridColor kRed = 0x000096;
constexpr GridColor kGreen = 0x009600;
constexpr GridColor kBlue = 0x960000;

class RosterGrid : public CCellGrid {
public:
    void OnGridSetup() override {
        m_font.setFamily(QStringLiteral("Arial"));
        m_font.setPixelSize(15);
        m_font.setWeight(QFont::DemiBold);
        CCellRecord def;
        GetGridDefault(&def);
        def.SetAlignment(GridAlign::VCenter);
        def.SetFont(&m_font);
        def.SetBackColor(kPaleYellow);
        def.SetBorderPen(&m_black);
        SetGridDefault(&def);
        SetColumnCount(14, 1);
        SetRowCount(0, 1);
        SetSideHeadingWidth(0);
        SetSelectionHighlight(2);
        SetRowHighlight(0);
        SetDefaultRowHeight(16);
        SetPrintOption(1, 1);
        SetPrintOption(4, 10);
        SetPrintOption(6, 10);
        const int w = static_cast<int>(contentsRect().width() * 0.069);
        for (int c = 0; c < 14; ++c)
            SetColumnWidth(c, w);
        static const char* days[] = {"Lunes",   "Martes", "Miércoles", "Jueves",
                                     "Viernes", "Sábado", "Domingo"};
        for (int d = 0; d < 7; ++d) {
            JoinCells(2 * d, -1, 2 * d + 1, -1);
            SetCellText(2 * d, -1, QString::fromUtf8(days[d]));
        }
        CCellRecord heading;
        for (int c = 0; c < 14; ++c) {
            GetCell(c, -1, &heading);
            heading.SetAlignment(GridAlign::HCenter);
            heading.SetFont(&m_font);
            SetCell(c, -1, &heading);
        }
        SetUniformRowHeight(1);
    }
    GridColor OnGetDefaultBackColor(int section) override {
        return section == GridSection::CellArea ? kPaleYellow
                                                : GetGridSysColor(GridSysColor::ButtonFace);
    }

    // A month of daysInMonth days whose 1st falls on weekday firstWeekday (0 Monday),
    // rowsPerWeek entries a day. Names are "N<day>-<entry>", so every name is unique.
    void Fill(int firstWeekday, int daysInMonth, int rowsPerWeek) {
        EnableRedraw(0);
        int weekStart = 0;
        int day = 1;
        for (int week = 0; day <= daysInMonth; ++week) {
            const int rows = rowsPerWeek;
            for (int i = 0; i < rows; ++i)
                AppendRow();
            const int from = week == 0 ? firstWeekday : 0;
            for (int wd = from; wd < 7 && day <= daysInMonth; ++wd, ++day) {
                CCellRecord rec;
                GetCell(2 * wd + 1, weekStart, &rec);
                rec.SetText(QString::number(day));
                rec.SetItemData(39000 + day);
                rec.SetBorder(rec.GetBorder() | 0x20D);
                if (wd == 6)
                    rec.SetBackColor(kGrey);
                SetCell(2 * wd + 1, weekStart, &rec);
                for (int i = 0; i < rows; ++i) {
                    const int r = weekStart + i;
                    if (i > 0)
                        JoinCells(2 * wd, r, 2 * wd + 1, r);
                    GetCell(2 * wd, r, &rec);
                    rec.SetText(QStringLiteral("N%1-%2").arg(day).arg(i));
                    rec.SetItemData(i < rows / 2 ? 8 : 15);
                    static const GridColor colours[] = {0, kRed, kGreen, kBlue};
                    rec.SetTextColor(colours[(day + i) % 4]);
                    rec.SetBorder(rec.GetBorder() | (i == rows / 2 ? 0x25 : 0x05));
                    SetCell(2 * wd, r, &rec);
                }
            }
            if (week == 0 && firstWeekday > 0)
                JoinCells(0, 0, 2 * firstWeekday - 1, rows - 1);
            weekStart += rows;
            for (int c = 0; c < 14; ++c)
                SetCellBorder(c, weekStart, 0x200);
            if (day > daysInMonth) {
                const int lastWd = (firstWeekday + daysInMonth - 1) % 7;
                if (lastWd < 6)
                    JoinCells(2 * (lastWd + 1), weekStart - rows, 13, weekStart - 1);
            }
        }
        EnableRedraw(1);
        RedrawAll();
    }

    QFont m_font;
    QPen m_black{QColor(Qt::black), 1};
};

// A window holding a roster grid of the given width.
struct RosterHost {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    RosterGrid* grid = nullptr;

    explicit RosterHost(int width, int height = 500) {
        window->resize(width, height);
        grid = new RosterGrid;
        grid->CreateGrid(window.get(), QRect(0, 0, width, height), 1015);
    }
};

} // namespace PrintTest
