#pragma once
// Calendar helpers of the roster and the report.

#include "DateTime.h"

#include <QString>

// Number of days of a month (28 to 31); 0 for a month outside 1..12.
int DiasDelMes(int mes, int anio);
// 1 Monday ... 7 Sunday.
int DiaDeSemana(const CDateTime& fecha);
// "Enero" ... "Diciembre" for 1..12; any other number leaves the text as it was.
void NombreMes(int mes, QString& nombre);
// The same as a returned value (empty for a month outside 1..12).
QString NombreMes(int mes);
