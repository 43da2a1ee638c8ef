#include "GridColors.h"

#include <QGuiApplication>
#include <QPalette>

GridColor GetGridSysColor(GridSysColor which) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        switch (which) {
        case GridSysColor::WindowText:
            return 0x000000;
        case GridSysColor::Window:
            return 0xFFFFFF;
        case GridSysColor::HighlightText:
            return 0xFFFFFF;
        case GridSysColor::Highlight:
            return GridRGB(0, 120, 215);
        case GridSysColor::ButtonFace:
            return GridRGB(240, 240, 240);
        case GridSysColor::ButtonShadow:
            return GridRGB(160, 160, 160);
        }
        return 0;
    }
    const QPalette pal = QGuiApplication::palette();
    switch (which) {
    case GridSysColor::WindowText:
        return FromQColor(pal.color(QPalette::Active, QPalette::Text));
    case GridSysColor::Window:
        return FromQColor(pal.color(QPalette::Active, QPalette::Base));
    case GridSysColor::HighlightText:
        return FromQColor(pal.color(QPalette::Active, QPalette::HighlightedText));
    case GridSysColor::Highlight:
        return FromQColor(pal.color(QPalette::Active, QPalette::Highlight));
    case GridSysColor::ButtonFace:
        return FromQColor(pal.color(QPalette::Active, QPalette::Button));
    case GridSysColor::ButtonShadow:
        return FromQColor(pal.color(QPalette::Active, QPalette::Dark));
    }
    return 0;
}
