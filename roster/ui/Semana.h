#pragma once
// Lining up the day plans of one calendar week, so that a row of the roster holds the
// same hour on every day of the week.

#include "Referencia.h"

// Pads the first `cuantos` plans of `planes` (Monday onwards) with filler entries until
// they all have the same length and, position by position, the same hour. At each
// position the smallest hour among the plans that have an entry there wins (24 when
// none is smaller); a plan whose entry there has another hour gets a filler of that
// hour inserted before it, a plan without an entry there gets one appended.
//
// Example: Monday [8, 15, 22], Tuesday [8, 8, 22] become
//          Monday [8, filler 8, 15, 22], Tuesday [8, 8, filler 15, 22].
void AlinearSemana(CListaPlanDia* planes, int cuantos);
