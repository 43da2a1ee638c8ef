// Fills grids the way the roster, a configuration list and the date picker's calendar use
// them and saves pictures of them, so anyone can look at what the grid draws:
//
//     QT_QPA_PLATFORM=offscreen grid_shots [output folder]

#include "CellGrid.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLabel>
#include <QPen>
#include <cstdio>

namespace {
constexpr GridColor kGrey = GridRGB(180, 180, 180);

QWidget* MakeDialog(const QSize& size, int placeholderId, const QRect& place) {
    auto* dialog = new QWidget;
    dialog->resize(size);
    auto* placeholder = new QLabel(dialog);
    placeholder->setGeometry(place);
    placeholder->setProperty("dlgId", placeholderId);
    placeholder->setObjectName(QStringLiteral("id%1").arg(placeholderId));
    return dialog;
}

// A month of the roster: 14 columns, two per weekday, joined weekday headings.
class RosterLikeGrid : public CCellGrid {
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
        SetVScrollMode(1);
        SetHScrollMode(1);
        SetSelectionHighlight(2);
        SetRowHighlight(0);
        SetDefaultRowHeight(16);
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

    // Writes a week block: names per weekday (empty = filler), day numbers.
    void Fill() {
        EnableRedraw(0);
        static const char* names[] = {"García", "Pérez",   "López",  "Martín", "Sánchez",
                                      "Romero", "Navarro", "Torres", "Ruiz",   "Díaz"};
        int weekStart = 0;
        int day = 1;
        const int firstWeekday = 3; // the 1st is a Thursday (index 3)
        const int daysInMonth = 31;
        for (int week = 0; day <= daysInMonth; ++week) {
            const int rows = 3 + week % 2;
            for (int i = 0; i < rows; ++i)
                AppendRow();
            const int startColumnDay = week == 0 ? firstWeekday : 0;
            for (int wd = startColumnDay; wd < 7 && day <= daysInMonth; ++wd, ++day) {
                CCellRecord rec;
                GetCell(2 * wd + 1, weekStart, &rec);
                rec.SetText(QString::number(day));
                rec.SetItemData(39000 + day);
                rec.SetBorder(rec.GetBorder() | 0x20D);
                if (wd == 6 || day == 15)
                    rec.SetBackColor(kGrey);
                SetCell(2 * wd + 1, weekStart, &rec);
                for (int i = 0; i < rows; ++i) {
                    const int r = weekStart + i;
                    if (i > 0)
                        JoinCells(2 * wd, r, 2 * wd + 1, r);
                    GetCell(2 * wd, r, &rec);
                    const bool filler = (day + i) % 5 == 0;
                    rec.SetText(filler ? QString() : QString::fromUtf8(names[(day * 3 + i) % 10]));
                    rec.SetItemData(i < 2 ? 8 : 15);
                    static const GridColor colours[] = {0, 0x000096, 0x009600, 0x960000};
                    rec.SetTextColor(colours[(day + i) % 7 == 0 ? 1 + i % 3 : 0]);
                    rec.SetBorder(rec.GetBorder() | (i == 2 ? 0x25 : 0x05));
                    SetCell(2 * wd, r, &rec);
                }
            }
            if (week == 0)
                JoinCells(0, 0, 13 - 2 * (7 - firstWeekday), rows - 1);
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

private:
    QFont m_font;
    QPen m_black{QColor(Qt::black), 1};
};

// A configuration list: row highlighting, headings, pale yellow.
class ListLikeGrid : public CCellGrid {
public:
    explicit ListLikeGrid(const QFont& font) : m_font(font) {}
    void OnGridSetup() override {
        CCellRecord def;
        GetGridDefault(&def);
        def.SetAlignment(GridAlign::VCenter);
        def.SetFont(&m_font);
        def.SetBackColor(GridRGB(255, 255, 225));
        SetGridDefault(&def);
        SetColumnCount(3, 1);
        SetRowCount(0, 1);
        SetSideHeadingWidth(0);
        SetRowHighlight(1);
        SetSelectionHighlight(2);
        SetVScrollMode(1);
        SetHScrollMode(1);
        const int w = contentsRect().width();
        const char* headings[] = {"Nombre", "Apellidos", "Servicio"};
        const double fractions[] = {0.3, 0.4, 0.25};
        for (int c = 0; c < 3; ++c) {
            SetCellText(c, -1, QString::fromUtf8(headings[c]));
            SetColumnWidth(c, static_cast<int>(w * fractions[c]));
            CCellRecord heading;
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

private:
    QFont m_font;
};

// The date picker's calendar: two heading rows with arrows, 7 × 6 days.
class CalendarLikeGrid : public CCellGrid {
public:
    explicit CalendarLikeGrid(const QFont& font) : m_font(font) {}
    void OnGridSetup() override {
        SetRowCount(6, 1);
        SetColumnCount(7, 1);
        SetTopHeadingRowCount(2);
        SetTopHeadingHeight(GetTopHeadingHeight() * 2);
        SetSideHeadingWidth(0);
        SetVScrollWidth(0);
        SetHScrollHeight(0);
        SetSelectionHighlight(2);
        const char* names[] = {"Lun", "Mar", "Mie", "Jue", "Vie", "Sab", "Dom"};
        for (int c = 0; c < 7; ++c) {
            SetCellText(c, -1, QString::fromLatin1(names[c]));
            SetCellFont(c, -1, &m_font);
            SetColumnWidth(c, contentsRect().width() / 7);
        }
        JoinCells(2, -2, 4, -2);
        const int styles[] = {0x80, 0x20, 0, 0, 0, 0, 0x40};
        for (int c : {0, 1, 5, 6}) {
            SetCellTypeIndex(c, -2, GridCellType::Arrow);
            SetCellTypeStyle(c, -2, c == 5 ? 0 : styles[c]);
        }
        SetCellText(2, -2, QStringLiteral("Marzo 2007"));
        SetCellFont(2, -2, &m_font);
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 7; ++c)
                SetCellText(c, r, QString());
        int column = 3, row = 0;
        for (int d = 1; d <= 31; ++d) {
            SetCellText(column, row, QString::number(d));
            if (++column == 7) {
                column = 0;
                ++row;
            }
        }
        GotoCell(2, 2);
        RedrawAll();
    }
    int OnCanMove(int, int, int column, int row) override {
        QString text;
        GetCellText(column, row, &text);
        return text.isEmpty() ? 0 : 1;
    }
    int OnCanSizeColumn(int) override { return 0; }
    int OnCanSizeRow(int) override { return 0; }

private:
    QFont m_font;
};

// Every cell type and the parts the program's grids leave unused: a side heading with row
// numbers, a locked column, both scroll bars, text running over empty cells, a check box, a
// drop list, a bitmap and word wrapping.
class ShowcaseGrid : public CCellGrid {
public:
    void OnGridSetup() override {
        SetColumnCount(8, 1);
        SetRowCount(40, 1);
        SetUniformRowHeight(1);
        SetSideHeadingWidth(36);
        LockColumns(1);
        for (int c = 0; c < 8; ++c)
            SetCellText(c, -1, QString(QChar(u'A' + c)));
        for (int r = 0; r < 40; ++r) {
            SetCellText(-1, r, QString::number(r + 1));
            SetCellText(0, r, QStringLiteral("Fila %1").arg(r + 1));
        }
        SetCellText(1, 1, QStringLiteral("Este texto sigue por las celdas vacías"));
        CCellRecord r;
        r.SetCellType(GridCellType::CheckBox);
        r.SetNumber(1);
        r.SetLabel(QStringLiteral("Activo"));
        SetCell(1, 3, &r);
        CCellRecord d;
        d.SetCellType(GridCellType::DropList);
        d.SetLabel(QStringLiteral("Mañana\nTarde\nNoche\n"));
        d.SetText(QStringLiteral("Tarde"));
        SetCell(2, 3, &d);
        CCellRecord b;
        m_pixmap = QPixmap(12, 12);
        m_pixmap.fill(Qt::darkGreen);
        b.SetBitmap(&m_pixmap);
        b.SetText(QStringLiteral("icono"));
        SetCell(3, 3, &b);
        CCellRecord e;
        e.SetText(QStringLiteral("Un texto cortado con puntos"));
        e.SetCellTypeStyle(4);
        SetCell(1, 5, &e);
        CCellRecord colours;
        colours.SetText(QStringLiteral("gris"));
        colours.SetBackColor(kGrey);
        colours.SetTextColor(0x000096);
        colours.SetAlignment(GridAlign::Right | GridAlign::VCenter);
        colours.SetBorder(0x20D);
        SetCell(2, 5, &colours);
        JoinCells(1, 7, 3, 8);
        CCellRecord joined;
        GetCell(1, 7, &joined);
        joined.SetText(QStringLiteral("Bloque unido de tres por dos"));
        joined.SetAlignment(GridAlign::HCenter | GridAlign::VCenter);
        joined.SetBackColor(GridRGB(200, 230, 255));
        SetCell(1, 7, &joined);
        GotoCell(2, 5);
    }

private:
    QPixmap m_pixmap;
};

bool Save(QWidget* widget, const QString& path) {
    const bool ok = widget->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("grid-shots");
    QDir().mkpath(folder);
    bool ok = true;

    {
        QWidget* view = MakeDialog(QSize(1000, 520), 1055, QRect(10, 10, 980, 500));
        // The dialog owns the grid once it takes the placeholder's place.
        auto* grid = new RosterLikeGrid;
        grid->AttachToDialogItem(view, 1055);
        grid->Fill();
        grid->GotoCell(7, 4);
        view->show();
        ok &= Save(view, folder + QStringLiteral("/roster.png"));
        delete view;
    }
    {
        QFont font(QStringLiteral("Sans Serif"));
        font.setPointSize(9);
        QWidget* dialog = MakeDialog(QSize(420, 260), 1015, QRect(10, 50, 320, 190));
        auto* list = new ListLikeGrid(font);
        CCellGrid& grid = *list;
        grid.AttachToDialogItem(dialog, 1015);
        grid.EnableRedraw(0);
        const char* people[][3] = {{"Ana", "García López", "Urgencias"},
                                   {"Luis", "Pérez Martín", "Urgencias"},
                                   {"Marta", "Sánchez Ruiz", "Quirófano"},
                                   {"Jorge", "Romero Díaz", "Planta 3"},
                                   {"Elena", "Navarro Torres", "Urgencias"},
                                   {"Pablo", "Ruiz", "Planta 2"},
                                   {"Sara", "Díaz", "UCI"},
                                   {"Iván", "Moreno", "UCI"},
                                   {"Nuria", "Gil", "Planta 1"},
                                   {"Raúl", "Ortega", "Quirófano"},
                                   {"Lucía", "Vidal", "Planta 2"}};
        int row = 0;
        for (auto& person : people) {
            grid.AppendRow();
            for (int c = 0; c < 3; ++c)
                grid.SetCellText(c, row, QString::fromUtf8(person[c]));
            ++row;
        }
        grid.EnableRedraw(1);
        grid.RedrawAll();
        grid.GotoCell(1, 2);
        dialog->show();
        ok &= Save(dialog, folder + QStringLiteral("/list.png"));
        delete dialog;
    }
    {
        QFont font(QStringLiteral("Sans Serif"));
        font.setPointSize(9);
        QWidget* popup = MakeDialog(QSize(270, 163), 100, QRect(0, 0, 270, 163));
        auto* calendar = new CalendarLikeGrid(font);
        calendar->AttachToDialogItem(popup, 100);
        popup->show();
        ok &= Save(popup, folder + QStringLiteral("/calendar.png"));
        delete popup;
    }
    {
        QWidget* window = MakeDialog(QSize(460, 260), 1015, QRect(5, 5, 450, 250));
        auto* showcase = new ShowcaseGrid;
        showcase->AttachToDialogItem(window, 1015);
        window->show();
        ok &= Save(window, folder + QStringLiteral("/showcase.png"));
        delete window;
    }
    return ok ? 0 : 1;
}
