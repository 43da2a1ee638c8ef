#include "LeerIcs.h"

#include <libical/ical.h>

namespace DvPruebaIcs {
namespace {
QDateTime Utc(icaltimetype t) {
    if (icaltime_is_null_time(t))
        return QDateTime();
    const icaltimezone* zona = t.is_date ? icaltimezone_get_utc_timezone() : t.zone;
    const time_t segundos =
        icaltime_as_timet_with_zone(t, zona ? zona : icaltimezone_get_utc_timezone());
    return QDateTime::fromSecsSinceEpoch(segundos, Qt::UTC);
}

QString Texto(icaltimetype t) {
    return QString::fromLatin1(icaltime_as_ical_string(t));
}
} // namespace

const CEvento* CCalendario::Uid(const QString& uid) const {
    for (const CEvento& e : eventos)
        if (e.uid == uid)
            return &e;
    return nullptr;
}

std::vector<const CEvento*> CCalendario::DelDia(const QString& fecha) const {
    std::vector<const CEvento*> salida;
    for (const CEvento& e : eventos)
        if (e.inicioLocal.startsWith(fecha))
            salida.push_back(&e);
    return salida;
}

CCalendario Leer(const QByteArray& ics) {
    CCalendario cal;
    icalcomponent* raiz = icalparser_parse_string(ics.constData());
    if (!raiz)
        return cal;
    cal.valido = icalcomponent_isa(raiz) == ICAL_VCALENDAR_COMPONENT;
    cal.errores = icalcomponent_count_errors(raiz);
    cal.valido = cal.valido && cal.errores == 0;
    for (icalcomponent* z = icalcomponent_get_first_component(raiz, ICAL_VTIMEZONE_COMPONENT); z;
         z = icalcomponent_get_next_component(raiz, ICAL_VTIMEZONE_COMPONENT)) {
        if (cal.zonas++ == 0)
            if (icalproperty* p = icalcomponent_get_first_property(z, ICAL_TZID_PROPERTY))
                cal.tzidZona = QString::fromUtf8(icalproperty_get_tzid(p));
    }
    for (icalcomponent* e = icalcomponent_get_first_component(raiz, ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(raiz, ICAL_VEVENT_COMPONENT)) {
        CEvento evento;
        evento.uid = QString::fromUtf8(icalcomponent_get_uid(e));
        evento.resumen = QString::fromUtf8(icalcomponent_get_summary(e));
        evento.descripcion = QString::fromUtf8(icalcomponent_get_description(e));
        const icaltimetype inicio = icalcomponent_get_dtstart(e);
        const icaltimetype fin = icalcomponent_get_dtend(e);
        evento.todoElDia = inicio.is_date;
        evento.inicioLocal = Texto(inicio);
        evento.finLocal = Texto(fin);
        if (icalproperty* p = icalcomponent_get_first_property(e, ICAL_DTSTART_PROPERTY))
            if (icalparameter* tz = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER))
                evento.tzid = QString::fromUtf8(icalparameter_get_tzid(tz));
        if (inicio.zone)
            evento.zona =
                QString::fromUtf8(icaltimezone_get_tzid(const_cast<icaltimezone*>(inicio.zone)));
        evento.inicio = Utc(inicio);
        evento.fin = Utc(fin);
        evento.sello = Utc(icalcomponent_get_dtstamp(e));
        cal.eventos.push_back(evento);
    }
    icalcomponent_free(raiz);
    return cal;
}
} // namespace DvPruebaIcs
