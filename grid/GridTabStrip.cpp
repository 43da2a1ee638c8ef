#include "GridTabStrip.h"

#include "GridColors.h"

#include <QPainter>

CGridTabStrip::CGridTabStrip(QWidget* parent) : QWidget(parent) {}

void CGridTabStrip::paintEvent(QPaintEvent*) {
    QPainter dc(this);
    dc.fillRect(rect(), ToQColor(GetGridSysColor(GridSysColor::ButtonFace)));
}
