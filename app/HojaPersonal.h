#pragma once
// The personal sheet: a worker's month on one A4 page, for the notice board or the
// locker. A calendar of the month with, per day, the shift's name and hours (a
// substitution in the colour of the leave it covers, with the absent worker's name; a
// leave day named), Sundays and holidays shaded, and the month's totals, which agree
// with the worker's line in the monthly report.
//
//   QByteArray pdf;
//   if (!HojaPersonalPdf(calendario, DvClock::Now(), pdf, &error)) ...
//   DvArchivo::Escribir(ruta, pdf, &error);

#include "Calendario.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

class QPainter;

// Draws the month on the painter's page, `puntosPorMm` device units to a millimetre,
// the page's top-left corner at (0, 0).
void DibujarHojaPersonal(QPainter& painter, double puntosPorMm,
                         const CCalendarioTrabajador& calendario, const CMesTrabajador& mes,
                         const QDateTime& generado);

// The sheets of every month of the calendar, one A4 portrait page each, as a PDF file's
// bytes. False, with the reason, when the PDF cannot be drawn.
bool HojaPersonalPdf(const CCalendarioTrabajador& calendario, const QDateTime& generado,
                     QByteArray& pdf, QString* error);
