#pragma once
// Dialog units: template geometry is given in units of the dialog font, a quarter of its
// average character width horizontally and an eighth of its height vertically, so a
// dialog keeps its proportions whatever the font and screen resolution.

#include <QFont>
#include <QRect>
#include <QSize>

class CDialogUnits {
public:
    // Base units of the font: average width of the 52 Latin letters (rounded as the
    // original platform does, (width / 26 + 1) / 2) and the font's height in pixels.
    explicit CDialogUnits(const QFont& font);
    CDialogUnits(int baseX, int baseY) : m_baseX(baseX), m_baseY(baseY) {}

    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }

    int X(int units) const { return MulDiv(units, m_baseX, 4); }
    int Y(int units) const { return MulDiv(units, m_baseY, 8); }
    // Each edge is converted on its own, so neighbouring controls stay neighbours.
    QRect Map(const QRect& units) const;
    QSize MapSize(int width, int height) const { return QSize(X(width), Y(height)); }

    // a * b / c rounded half away from zero.
    static int MulDiv(int a, int b, int c);

    // The font of a template: the face mapped to an installed font with the same
    // metrics ("MS Sans Serif" and kin to Liberation Sans / Arial), its size in pixels
    // computed from points at the screen's logical resolution.
    static QFont DialogFont(const QString& face, int pointSize);
    // Logical dots per inch of the primary screen (96 when there is none).
    static int ScreenDpi();

private:
    int m_baseX = 6;
    int m_baseY = 13;
};
