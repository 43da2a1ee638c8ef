#pragma once
// Colours travel through the program as 24-bit values 0x00BBGGRR (red in the low byte)
// and become QColor only where something is painted.

#include <QColor>
#include <cstdint>

namespace DvColor {
constexpr uint32_t Rgb(int red, int green, int blue) {
    return (static_cast<uint32_t>(red) & 0xFF) | ((static_cast<uint32_t>(green) & 0xFF) << 8) |
           ((static_cast<uint32_t>(blue) & 0xFF) << 16);
}
constexpr int Red(uint32_t color) {
    return static_cast<int>(color & 0xFF);
}
constexpr int Green(uint32_t color) {
    return static_cast<int>((color >> 8) & 0xFF);
}
constexpr int Blue(uint32_t color) {
    return static_cast<int>((color >> 16) & 0xFF);
}

inline QColor ToQColor(uint32_t color) {
    return QColor(Red(color), Green(color), Blue(color));
}
inline uint32_t FromQColor(const QColor& color) {
    return Rgb(color.red(), color.green(), color.blue());
}

// Background of the display-only fields of the record dialogs (red 204, green 236, blue 255).
constexpr uint32_t ReadOnlyField = Rgb(204, 236, 255);
} // namespace DvColor
