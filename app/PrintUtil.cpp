#include "PrintUtil.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

void CPrintUtil::Attach(QPainter* dc) {
    Attach(dc, CPrintDeviceMeasures::FromDevice(dc ? dc->device() : nullptr));
}

void CPrintUtil::Attach(QPainter* dc, const CPrintDeviceMeasures& measures) {
    m_dc = dc;
    m_measures = measures;
    m_paperWidth =
        measures.horzRes > 0
            ? static_cast<float>(measures.physWidth * measures.horzSizeMm / measures.horzRes)
            : 0.0f;
    m_paperHeight =
        measures.vertRes > 0
            ? static_cast<float>(measures.physHeight * measures.vertSizeMm / measures.vertRes)
            : 0.0f;
    m_updatePosition = false;
    m_position = QPoint();
    m_escapement = 0;
}

int CPrintUtil::CmToDeviceX(double cm) const {
    if (m_paperWidth <= 0.0f)
        return 0;
    return static_cast<int>(cm / (m_paperWidth * 0.1) * m_measures.physWidth - m_measures.offsetX);
}

int CPrintUtil::CmToDeviceY(double cm) const {
    if (m_paperHeight <= 0.0f)
        return 0;
    return static_cast<int>(cm / (m_paperHeight * 0.1) * m_measures.physHeight -
                            m_measures.offsetY);
}

void CPrintUtil::CreateFontCm(QFont* font, double heightCm, int weight, const QString& faceName,
                              int pitchAndFamily, int escapement) {
    if (!font)
        return;
    QFont f(faceName);
    f.setWeight(static_cast<QFont::Weight>(std::clamp(weight <= 0 ? 400 : weight, 100, 900)));
    // Pitch (low bits) and family (high bits) as hints to the font matching.
    if ((pitchAndFamily & 0x3) == 1)
        f.setFixedPitch(true);
    switch (pitchAndFamily & 0xF0) {
    case 0x10:
        f.setStyleHint(QFont::Serif);
        break;
    case 0x20:
        f.setStyleHint(QFont::SansSerif);
        break;
    case 0x30:
        f.setStyleHint(QFont::TypeWriter);
        break;
    case 0x40:
        f.setStyleHint(QFont::Cursive);
        break;
    case 0x50:
        f.setStyleHint(QFont::Decorative);
        break;
    default:
        break;
    }
    const int height = CmToDeviceY(heightCm + 10.0) - CmToDeviceY(10.0);
    if (height < 0) {
        // The characters' own height.
        f.setPixelSize(-height);
    } else if (height > 0) {
        // The whole line: the size whose ascent and descent add up to the height.
        f.setPixelSize(height);
        const double line = QFontMetricsF(f).height();
        if (line > 0)
            f.setPixelSize(std::max(1, static_cast<int>(std::lround(height * height / line))));
    } else if (m_measures.dpiY > 0) {
        // The face's usual size: 12 points on this device.
        f.setPixelSize(std::max(1, m_measures.dpiY / 6));
    }
    *font = f;
    m_escapement = escapement;
}

void CPrintUtil::SetUpdatePosition(bool flag) {
    m_updatePosition = flag;
}

void CPrintUtil::MoveToCm(double xCm, double yCm, int extra) {
    m_position = QPoint(CmToDeviceX(xCm), CmToDeviceY(yCm) + extra);
}

void CPrintUtil::TextOutCm(double xCm, double yCm, int extra, const QString& text) {
    MoveToCm(xCm, yCm, extra);
    if (!m_dc)
        return;
    const QPoint at = m_updatePosition ? m_position : QPoint(0, 0);
    const QFontMetricsF metrics(m_dc->font(), m_dc->device());
    m_dc->save();
    m_dc->translate(at);
    if (m_escapement != 0)
        m_dc->rotate(-m_escapement / 10.0);
    // The text's top at the position (the baseline one ascent lower).
    m_dc->drawText(QPointF(0.0, metrics.ascent()), text);
    m_dc->restore();
    if (m_updatePosition) {
        const double advance = metrics.horizontalAdvance(text);
        const double angle = m_escapement / 10.0 * M_PI / 180.0;
        m_position += QPoint(static_cast<int>(std::lround(advance * std::cos(angle))),
                             -static_cast<int>(std::lround(advance * std::sin(angle))));
    }
}
