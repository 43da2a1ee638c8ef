// The default behaviour of CCellGrid's hooks: allow, or do nothing, unless said otherwise.

#include "CellGrid.h"

#include <QPainter>
#include <utility>

// --- Default hooks -----------------------------------------------------------------------

void CCellGrid::OnSetFocus(int) {}
void CCellGrid::OnGridSetup() {}
void CCellGrid::OnSheetSetup(int) {}
int CCellGrid::OnCanMove(int, int, int, int) {
    return 1;
}
int CCellGrid::OnCanViewMove(int, int, int, int) {
    return 1;
}
void CCellGrid::OnHitBottom(int, int, int*) {}
void CCellGrid::OnReserved1() {}
int CCellGrid::OnCanSizeColumn(int) {
    return 1;
}
void CCellGrid::OnColumnSizing(int, int*) {}
void CCellGrid::OnColumnSized(int, int*) {}
int CCellGrid::OnCanSizeRow(int) {
    return 1;
}
void CCellGrid::OnRowSizing(int, int*) {}
void CCellGrid::OnRowSized(int, int*) {}
int CCellGrid::OnCanSizeTopHeading() {
    return 1;
}
int CCellGrid::OnCanSizeSideHeading() {
    return 1;
}
void CCellGrid::OnTopHeadingSizing(int*) {}
void CCellGrid::OnSideHeadingSizing(int*) {}
void CCellGrid::OnTopHeadingSized(int*) {}
void CCellGrid::OnSideHeadingSized(int*) {}
void CCellGrid::OnColumnChange(int, int) {}
void CCellGrid::OnRowChange(int, int) {}
void CCellGrid::OnCellChange(int, int, int, int) {}
void CCellGrid::OnLeftColumnChange(int, int) {}
void CCellGrid::OnTopRowChange(int, int) {}
void CCellGrid::OnCellClick(int, int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnCellRightClick(int, int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnCellDoubleClick(int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnMouseMoveOverCell(int, int, const QPoint&, int) {}
void CCellGrid::OnTopHeadingClick(int, int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnTopHeadingRightClick(int, int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnTopHeadingDoubleClick(int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnSideHeadingClick(int, int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnSideHeadingRightClick(int, int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnSideHeadingDoubleClick(int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnCornerClick(int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnCornerRightClick(int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnCornerDoubleClick(const QRect&, const QPoint&, int) {}
void CCellGrid::OnKeyDown(int*, int) {}
void CCellGrid::OnCharTyped(int*, int) {}
void CCellGrid::OnGetCell(int, int, CCellRecord*) {}
void CCellGrid::OnSetCell(int, int, CCellRecord*) {}
void CCellGrid::OnReserved2() {}
int CCellGrid::OnCellTypeNotify(int, int, int, int, qintptr) {
    return 1;
}
int CCellGrid::OnEditStart(int, int, QWidget**) {
    return 1;
}
int CCellGrid::OnEditVerify(int, int, QWidget*, int*) {
    return 1;
}
int CCellGrid::OnEditFinish(int, int, QWidget*, const QString&, int) {
    return 1;
}
int CCellGrid::OnEditContinue(int, int, int*, int*) {
    return 1;
}
void CCellGrid::OnMenuCommand(int, int, int, int) {}
int CCellGrid::OnMenuStart(int, int, int) {
    return 1;
}

int CCellGrid::OnHint(int column, int row, int, QString* text) {
    if (text)
        *text = QString::asprintf("Col:%d Row:%ld", column, static_cast<long>(row));
    return 1;
}

int CCellGrid::OnVScrollHint(int, QString*) {
    return 1;
}
int CCellGrid::OnHScrollHint(int, QString*) {
    return 1;
}

int CCellGrid::OnSortCompare(const CCellRecord* a, const CCellRecord* b, int flags) {
    if (flags & 2)
        std::swap(a, b);
    if (!a && !b)
        return 0;
    if (!a)
        return -1;
    if (!b)
        return 1;
    const bool textA = a->Has(CCellRecord::PropText);
    const bool textB = b->Has(CCellRecord::PropText);
    if (!textA || !textB)
        return textA == textB ? 0 : (textA ? 1 : -1);
    const int type = a->GetDataType();
    if (type == 2 || type == 3 || type == 5) {
        const double x = a->GetNumber();
        const double y = b->GetNumber();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return QString::compare(a->GetText(), b->GetText(), Qt::CaseSensitive);
}

void CCellGrid::OnSetupDevice(QPainter*, QPainter*, int) {}
void CCellGrid::OnComponentsLaidOut(QRect*, QRect*, QRect*, QRect*, QRect*, QRect*, QRect*) {}
void CCellGrid::OnTabSelected(int) {}

GridColor CCellGrid::OnGetDefaultBackColor(int section) {
    return section == GridSection::CellArea ? GetGridSysColor(GridSysColor::Window)
                                            : GetGridSysColor(GridSysColor::ButtonFace);
}

void CCellGrid::OnDrawFocusRect(QPainter* dc, const QRect& rect) {
    // A dotted rectangle, one pixel inside the right and bottom edges.
    QPen pen(QColor(Qt::black), 1, Qt::CustomDashLine);
    pen.setDashPattern({1.0, 1.0});
    pen.setCosmetic(true);
    dc->save();
    dc->setPen(pen);
    dc->setBrush(Qt::NoBrush);
    dc->drawRect(QRect(rect.left(), rect.top(), rect.width() - 2, rect.height() - 2));
    dc->restore();
}

void CCellGrid::OnKillFocus(int) {}
int CCellGrid::OnCanDragColumn(int) {
    return 1;
}
int CCellGrid::OnCanDropColumn(int, int) {
    return 1;
}
void CCellGrid::OnTrackingWindowMove(const QRect&, QRect*) {}
