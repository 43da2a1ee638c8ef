#pragma once
// Colours of the grid interface: 24-bit values 0x00BBGGRR (blue in the high byte), turned
// into QColor only when painting. The "system" colours follow the application palette.

#include <QColor>
#include <cstdint>

using GridColor = std::uint32_t;

constexpr GridColor GridRGB(int r, int g, int b) {
    return static_cast<GridColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GridRed(GridColor c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GridGreen(GridColor c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GridBlue(GridColor c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

inline QColor ToQColor(GridColor c) {
    return QColor(GridRed(c), GridGreen(c), GridBlue(c));
}
inline GridColor FromQColor(const QColor& c) {
    return GridRGB(c.red(), c.green(), c.blue());
}

// The desktop colours the grid falls back on.
enum class GridSysColor {
    WindowText,    // text of cells without a text colour
    Window,        // background of cells without a background colour
    HighlightText, // text of the current cell
    Highlight,     // background of the current cell
    ButtonFace,    // headings and the area beside them
    ButtonShadow,  // dark side of 3-D frames
};

// The colour from the application palette, or the classic desktop value when no
// graphical application exists (pure model use).
GridColor GetGridSysColor(GridSysColor which);

constexpr GridColor kPaleYellow = 0xE1FFFF;
constexpr GridColor kGridLineColor = 0xDCDCDC;
constexpr GridColor kWhite = 0xFFFFFF;
