#include "DialogUnits.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <cstdlib>

CDialogUnits::CDialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = qMax(1, (width / 26 + 1) / 2);
    m_baseY = qMax(1, metrics.height());
}

QRect CDialogUnits::Map(const QRect& units) const {
    const int left = X(units.x());
    const int top = Y(units.y());
    const int right = X(units.x() + units.width());
    const int bottom = Y(units.y() + units.height());
    return QRect(left, top, right - left, bottom - top);
}

int CDialogUnits::MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const long long product = static_cast<long long>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const long long num = std::llabs(product);
    const long long den = std::llabs(static_cast<long long>(c));
    const long long result = (num + den / 2) / den;
    return static_cast<int>(negative ? -result : result);
}

int CDialogUnits::ScreenDpi() {
    if (qGuiApp) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const int dpi = qRound(screen->logicalDotsPerInchY());
            if (dpi > 0)
                return dpi;
        }
    }
    return 96;
}

QFont CDialogUnits::DialogFont(const QString& face, int pointSize) {
    QStringList families;
    const QString lower = face.toLower();
    if (lower == QLatin1String("ms sans serif") || lower == QLatin1String("ms shell dlg") ||
        lower == QLatin1String("ms shell dlg 2") ||
        lower == QLatin1String("microsoft sans serif") || lower == QLatin1String("tahoma") ||
        lower == QLatin1String("arial") || lower == QLatin1String("helvetica")) {
        families << QStringLiteral("Liberation Sans") << QStringLiteral("Arial")
                 << QStringLiteral("Helvetica") << QStringLiteral("DejaVu Sans")
                 << QStringLiteral("Sans Serif");
    } else {
        families << face << QStringLiteral("Liberation Sans") << QStringLiteral("Sans Serif");
    }
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(qMax(1, MulDiv(pointSize, ScreenDpi(), 72)));
    return font;
}
