#pragma once
// The component windows of a grid, each in a file of its own: the cell area (with the
// tracking line of a divider drag), the top and side headings, the corner, the scroll
// bars, the sheet-tab strip and the hint window.

#include "GridCellArea.h"
#include "GridCorner.h"
#include "GridHeading.h"
#include "GridHintWnd.h"
#include "GridScrollBar.h"
#include "GridTabStrip.h"
