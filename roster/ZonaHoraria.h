#pragma once
// The time zone of the workers' calendars: Europe/Madrid as the system's time-zone data
// describes it, read once through libical. Wall-clock times of the roster become real
// instants here, so a night across the change of hour lasts what it really lasts.

struct _icaltimezone;
struct icalcomponent_impl;

namespace DvZona {
// "Europe/Madrid", the TZID the calendar files carry.
const char* Tzid();

// The zone, or null when the system has no data for it (package tzdata).
_icaltimezone* Zona();

// A new VTIMEZONE of the zone (owned by the caller) holding the rules from the start of
// the given year on; null when the zone is not there.
icalcomponent_impl* NuevoVTimezone(int desdeAnio);

// Seconds since 1970-01-01 00:00 UTC of a wall-clock time of the zone: a day number
// (days since 30/12/1899) and minutes after its midnight (1440 or more fall on the next
// days). Without zone data the time is taken as UTC.
long long SegundosUtc(int dia, int minutos);

// Elapsed minutes between two wall-clock times of the zone (see SegundosUtc).
int MinutosReales(int dia, int inicio, int fin);
} // namespace DvZona
