#pragma once
// Placing a window over another one.

class QWidget;

// Moves `ventana`, keeping its size and its place in the stacking order, so that its
// centre lies over the centre of `sobre` (screen coordinates, integer halves: left =
// (left + right of the other) / 2 - width / 2, the same for top). Does nothing when
// either window is missing.
void CentrarVentana(QWidget* ventana, QWidget* sobre);
