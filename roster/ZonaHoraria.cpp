#include "ZonaHoraria.h"

#include "DateTime.h"

#include <libical/ical.h>

namespace DvZona {
namespace {
// The zone as libical builds it from the system's data, renamed to its plain location
// (libical prefixes its own TZIDs), so every calendar program recognises it.
icaltimezone* Construir() {
    icaltimezone* sistema = icaltimezone_get_builtin_timezone(Tzid());
    if (!sistema)
        return nullptr;
    icalcomponent* componente = icaltimezone_get_component(sistema);
    if (!componente)
        return nullptr;
    icalcomponent* copia = icalcomponent_new_clone(componente);
    icalproperty* tzid = icalcomponent_get_first_property(copia, ICAL_TZID_PROPERTY);
    if (!tzid) {
        icalcomponent_free(copia);
        return nullptr;
    }
    icalproperty_set_tzid(tzid, Tzid());
    icaltimezone* zona = icaltimezone_new();
    if (!icaltimezone_set_component(zona, copia)) {
        icaltimezone_free(zona, 1);
        icalcomponent_free(copia);
        return nullptr;
    }
    return zona; // owns the copy; lives as long as the program
}

icaltimetype Local(int dia, int minutos, icaltimezone* zona) {
    // Periods never start before their day's midnight; an end may lie days later.
    const int resto = minutos % 1440;
    const CDateTime fecha = CDateTime::FromDays(dia + minutos / 1440);
    icaltimetype t = icaltime_null_time();
    t.year = fecha.GetYear();
    t.month = fecha.GetMonth();
    t.day = fecha.GetDay();
    t.hour = resto / 60;
    t.minute = resto % 60;
    t.second = 0;
    t.is_date = 0;
    t.zone = zona;
    return t;
}
} // namespace

const char* Tzid() {
    return "Europe/Madrid";
}

icaltimezone* Zona() {
    static icaltimezone* const zona = Construir();
    return zona;
}

icalcomponent* NuevoVTimezone(int desdeAnio) {
    icaltimezone* zona = Zona();
    if (!zona)
        return nullptr;
    icalcomponent* vtimezone = icalcomponent_new_clone(icaltimezone_get_component(zona));
    // The rules of the years exported, not the zone's whole history since 1900; the
    // rules keep their own first dates, so every export carries the same definition.
    icaltimetype desde = icaltime_null_time();
    desde.year = desdeAnio;
    desde.month = 1;
    desde.day = 1;
    desde.zone = icaltimezone_get_utc_timezone();
    icaltimezone_truncate_vtimezone(vtimezone, desde, icaltime_null_time(), 1);
    return vtimezone;
}

long long SegundosUtc(int dia, int minutos) {
    icaltimezone* zona = Zona();
    icaltimezone* utc = icaltimezone_get_utc_timezone();
    const icaltimetype local = Local(dia, minutos, zona ? zona : utc);
    return static_cast<long long>(icaltime_as_timet_with_zone(local, zona ? zona : utc));
}

int MinutosReales(int dia, int inicio, int fin) {
    return static_cast<int>((SegundosUtc(dia, fin) - SegundosUtc(dia, inicio)) / 60);
}
} // namespace DvZona
