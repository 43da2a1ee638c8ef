#pragma once
// The component windows of a grid, each in a file of its own: the cell area, the top and
// side headings, the corner, the scroll bars and the hint window.

#include "GridCellArea.h"
#include "GridCorner.h"
#include "GridHeading.h"
#include "GridHintWnd.h"
#include "GridScrollBar.h"
