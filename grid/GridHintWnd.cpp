#include "GridHintWnd.h"

#include "GridColors.h"

#include <QPainter>

CGridHintWnd::CGridHintWnd(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void CGridHintWnd::SetText(const QString& text) {
    m_text = text;
    const QFontMetrics fm(font());
    resize(fm.horizontalAdvance(text) + 8, fm.height() + 4);
    update();
}

void CGridHintWnd::ShowAt(const QPoint& globalPoint) {
    move(globalPoint);
    show();
    raise();
}

void CGridHintWnd::paintEvent(QPaintEvent*) {
    QPainter dc(this);
    dc.fillRect(rect(), ToQColor(kPaleYellow));
    dc.setPen(QColor(Qt::black));
    dc.drawRect(rect().adjusted(0, 0, -1, -1));
    dc.drawText(rect(), Qt::AlignCenter, m_text);
}
