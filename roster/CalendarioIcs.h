#pragma once
// A worker's months as an iCalendar file (RFC 5545) for the phone: built with libical and
// read back by it before it is handed over.
//
//   QByteArray ics;
//   QString error;
//   if (!DvIcs::Generar(calendario, DvClock::Now(), ics, &error)) ... // error says why
//
// Work is one event per stretch of work, in local time of Europe/Madrid with the zone's
// VTIMEZONE; a leave day is an all-day event. Every event's UID depends only on the
// worker, the date and which stretch it is, so importing a later export of the same
// days updates the events instead of adding copies:
//   dravonela-<worker>-<yyyymmdd>-turno@dravonela             own work of the day
//   dravonela-<worker>-<yyyymmdd>-sustituye-<absent>@dravonela work covering <absent>
//   dravonela-<worker>-<yyyymmdd>-libranza@dravonela          the leave day

#include "Calendario.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace DvIcs {
// The UID of the worker's own work on the day (day number), of the work covering an
// absent worker, and of the leave day.
QString UidTrabajo(int idPersona, int dia, int idAusente = -1);
QString UidLibranza(int idPersona, int dia);

// The file of the calendar's months. `marca` is the moment of the export (DTSTAMP).
// False, with the reason, when the zone's data is missing or libical does not accept
// what was built.
bool Generar(const CCalendarioTrabajador& calendario, const QDateTime& marca, QByteArray& salida,
             QString* error);

// Reads an iCalendar text back with libical: it must parse without errors, every event
// must carry UID, DTSTAMP and a start before its end, and every TZID must name a
// VTIMEZONE of the file. "" when it holds, else the first fault found.
QString Validar(const QByteArray& texto);
} // namespace DvIcs
