#include "CentrarVentana.h"

#include <QWidget>

namespace {
// The window's rectangle on the screen: the frame of a top-level window, the widget
// itself for a child.
QRect RectEnPantalla(const QWidget* w) {
    if (w->isWindow())
        return w->frameGeometry();
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}
} // namespace

void CentrarVentana(QWidget* ventana, QWidget* sobre) {
    if (!ventana || !sobre)
        return;
    const QRect otra = RectEnPantalla(sobre);
    const QRect propia = RectEnPantalla(ventana);
    // Right and bottom edges as the platform gives them: one past the last pixel.
    const int izquierda = (otra.left() + otra.left() + otra.width()) / 2 - propia.width() / 2;
    const int arriba = (otra.top() + otra.top() + otra.height()) / 2 - propia.height() / 2;
    QPoint destino(izquierda, arriba);
    if (!ventana->isWindow() && ventana->parentWidget())
        destino = ventana->parentWidget()->mapFromGlobal(destino);
    // move() places the frame of a top-level window; the stacking order is left alone.
    ventana->move(destino);
}
