// Speed of the grid control: filling 100,000 rows of 14 columns with repainting off,
// reading them back cell by cell, and painting a full roster-like cell area of
// 1200 x 800 pixels.

#include "BenchMain.h"
#include "CellGrid.h"
#include "GridComponents.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <benchmark/benchmark.h>
#include <memory>

namespace {
constexpr int kRows = 100000;
constexpr int kColumns = 14;

// A window with a grid whose cell area is 1200 x 800 pixels.
struct GridWindow {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    CCellGrid* grid = new CCellGrid;
    QFont font;
    QPen black{QColor(Qt::black), 1};

    GridWindow() {
        font.setFamily(QStringLiteral("Arial"));
        font.setPixelSize(15);
        font.setWeight(QFont::DemiBold);
        window->resize(1200 + 2 + 40, 800 + 2 + 20);
        grid->CreateGrid(window.get(), QRect(QPoint(0, 0), window->size()), 1055);
        CCellRecord def;
        grid->GetGridDefault(&def);
        def.SetAlignment(GridAlign::VCenter);
        def.SetFont(&font);
        def.SetBackColor(kPaleYellow);
        def.SetBorderPen(&black);
        grid->SetGridDefault(&def);
        grid->SetColumnCount(kColumns, 1);
        grid->SetDefaultRowHeight(16);
        grid->SetUniformRowHeight(1);
        // Wide enough that the bars do not show and the cells fill the area.
        grid->SetVScrollWidth(0);
        grid->SetHScrollHeight(0);
        for (int c = 0; c < kColumns; ++c)
            grid->SetColumnWidth(c, 1200 / kColumns + 1);
    }

    // Rows written the way the month build writes them: text, item data, colour, border.
    void Fill(int rows) {
        grid->EnableRedraw(0);
        CCellRecord r;
        static const QString names[] = {QStringLiteral("García"), QStringLiteral("Pérez"),
                                        QStringLiteral("López"), QStringLiteral("Martín")};
        for (int row = 0; row < rows; ++row) {
            grid->AppendRow();
            for (int c = 0; c < kColumns; ++c) {
                grid->GetCell(c, row, &r);
                if (c % 2 == 0) {
                    r.SetText(names[(row + c) % 4]);
                    r.SetItemData(8);
                    r.SetTextColor((row % 7 == 0) ? 0x000096 : 0);
                    r.SetBorder(r.GetBorder() | (row % 3 == 0 ? 0x25 : 0x05));
                } else {
                    r.SetText(QString::number(row % 31 + 1));
                    r.SetBorder(0x20D);
                }
                grid->SetCell(c, row, &r);
            }
        }
        grid->EnableRedraw(1);
    }
};

GridWindow& Shared() {
    static GridWindow shared;
    static bool filled = false;
    if (!filled) {
        shared.Fill(kRows);
        filled = true;
    }
    return shared;
}

void BM_FillRowsRedrawOff(benchmark::State& state) {
    for (auto _ : state) {
        GridWindow w;
        w.Fill(kRows);
        benchmark::DoNotOptimize(w.grid->GetRowCount());
        state.PauseTiming();
        w.window.reset(); // freeing a million cells is not part of filling
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows * kColumns);
}
BENCHMARK(BM_FillRowsRedrawOff)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SequentialGetCell(benchmark::State& state) {
    CCellGrid& g = *Shared().grid;
    CCellRecord r;
    for (auto _ : state) {
        long long sum = 0;
        for (int row = 0; row < kRows; ++row)
            for (int c = 0; c < kColumns; ++c) {
                g.GetCell(c, row, &r);
                sum += r.GetText().size();
            }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kRows * kColumns);
}
BENCHMARK(BM_SequentialGetCell)->Unit(benchmark::kMillisecond);

// Paints the whole cell area of a screenful of the roster, with week blocks joined the way
// the month build joins them, far down a 100,000-row grid.
void BM_PaintRosterCellArea(benchmark::State& state) {
    GridWindow& w = Shared();
    CCellGrid& g = *w.grid;
    static bool joined = false;
    const int top = state.range(0);
    if (!joined) {
        for (int row = 0; row < kRows; ++row)
            if (row % 5 != 0)
                for (int d = 0; d < 7; ++d)
                    g.JoinCells(2 * d, row, 2 * d + 1, row);
        joined = true;
    }
    g.SetTopRow(top);
    QImage image(g.CellArea()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        g.CellArea()->render(&image);
        benchmark::ClobberMemory();
    }
    state.counters["width"] = g.CellArea()->width();
    state.counters["height"] = g.CellArea()->height();
}
BENCHMARK(BM_PaintRosterCellArea)->Arg(0)->Arg(50000)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    return RunWidgetBenchmarks(argc, argv);
}
