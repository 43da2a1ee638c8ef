#include "CalendarioIcs.h"

#include "ZonaHoraria.h"

#include <libical/ical.h>

#include <QSet>
#include <QStringList>
#include <limits>
#include <memory>

namespace DvIcs {
namespace {
struct CLiberarComponente {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using CComponente = std::unique_ptr<icalcomponent, CLiberarComponente>;

QString Fecha(int dia) {
    return CDateTime::FromDays(dia).ToQDate().toString(QStringLiteral("yyyyMMdd"));
}

QString Base(int idPersona, int dia) {
    return QStringLiteral("dravonela-%1-%2-").arg(idPersona).arg(Fecha(dia));
}

icaltimetype FechaIcal(int dia) {
    const CDateTime fecha = CDateTime::FromDays(dia);
    icaltimetype t = icaltime_null_date();
    t.year = fecha.GetYear();
    t.month = fecha.GetMonth();
    t.day = fecha.GetDay();
    return t;
}

// A wall-clock time of the zone: day number and minutes after its midnight.
icaltimetype HoraLocal(int dia, int minutos, icaltimezone* zona) {
    icaltimetype t = FechaIcal(dia + minutos / 1440);
    t.is_date = 0;
    t.hour = (minutos % 1440) / 60;
    t.minute = minutos % 60;
    t.second = 0;
    t.zone = zona;
    return t;
}

void Agregar(icalcomponent* componente, icalproperty* propiedad) {
    icalcomponent_add_property(componente, propiedad);
}

// A text value's bytes: control characters a stored name may hold (CR, NUL...) are not
// allowed in an iCalendar text and become blanks; line breaks are kept (libical writes
// them escaped).
QByteArray Limpio(QString texto) {
    for (QChar& c : texto)
        if ((c.unicode() < 0x20 && c != QLatin1Char('\n')) || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    return texto.toUtf8();
}

void AgregarTexto(icalcomponent* evento, icalproperty* (*nueva)(const char*),
                  const QString& texto) {
    Agregar(evento, nueva(Limpio(texto).constData()));
}

// DTSTART or DTEND in local time, with the zone named.
icalproperty* ConZona(icalproperty* propiedad) {
    icalproperty_add_parameter(propiedad, icalparameter_new_tzid(DvZona::Tzid()));
    return propiedad;
}

icalcomponent* NuevoEvento(const QString& uid, const icaltimetype& marca) {
    icalcomponent* evento = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    AgregarTexto(evento, icalproperty_new_uid, uid);
    Agregar(evento, icalproperty_new_dtstamp(marca));
    return evento;
}

QString Descripcion(const CTrabajoCalendario& trabajo) {
    QStringList lineas;
    if (!trabajo.m_servicio.isEmpty())
        lineas << QStringLiteral("Servicio: %1").arg(trabajo.m_servicio);
    lineas << QStringLiteral("Horario: %1 (%2)")
                  .arg(TextoHoras(trabajo.m_periodo), TextoDuracion(trabajo.m_minutosReales));
    if (trabajo.m_periodo.EsSuplencia())
        lineas << QStringLiteral("Sustituye a %1 (%2)")
                      .arg(trabajo.m_ausente,
                           TextoLibranza(trabajo.m_periodo.m_tipoLibranza).toLower());
    return lineas.join(QLatin1Char('\n'));
}

icalcomponent* EventoTrabajo(const CTrabajoCalendario& trabajo, const QString& uid,
                             const icaltimetype& marca, icaltimezone* zona) {
    const CPeriodoTrabajo& p = trabajo.m_periodo;
    icalcomponent* evento = NuevoEvento(uid, marca);
    Agregar(evento, ConZona(icalproperty_new_dtstart(HoraLocal(p.m_dia, p.m_inicio, zona))));
    Agregar(evento, ConZona(icalproperty_new_dtend(HoraLocal(p.m_dia, p.m_fin, zona))));
    AgregarTexto(evento, icalproperty_new_summary, trabajo.Titulo());
    AgregarTexto(evento, icalproperty_new_description, Descripcion(trabajo));
    return evento;
}

icalcomponent* EventoLibranza(const CCalendarioTrabajador& calendario,
                              const CLibreCalendario& libre, const icaltimetype& marca) {
    icalcomponent* evento = NuevoEvento(UidLibranza(calendario.m_idPersona, libre.m_dia), marca);
    Agregar(evento, icalproperty_new_dtstart(FechaIcal(libre.m_dia)));
    Agregar(evento, icalproperty_new_dtend(FechaIcal(libre.m_dia + 1)));
    AgregarTexto(evento, icalproperty_new_summary, TextoLibranza(libre.m_tipo));
    if (!calendario.m_servicio.isEmpty())
        AgregarTexto(evento, icalproperty_new_description,
                     QStringLiteral("Servicio: %1").arg(calendario.m_servicio));
    // A day off does not make the worker busy.
    Agregar(evento, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    return evento;
}

icalproperty* PropiedadX(const char* nombre, const QString& valor) {
    icalproperty* propiedad = icalproperty_new_x(Limpio(valor).constData());
    icalproperty_set_x_name(propiedad, nombre);
    return propiedad;
}

// The first error libical marked in the component or below it.
QString PrimerError(icalcomponent* componente) {
    for (icalproperty* p = icalcomponent_get_first_property(componente, ICAL_XLICERROR_PROPERTY); p;
         p = icalcomponent_get_next_property(componente, ICAL_XLICERROR_PROPERTY))
        return QString::fromUtf8(icalproperty_get_xlicerror(p));
    for (icalcomponent* c = icalcomponent_get_first_component(componente, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(componente, ICAL_ANY_COMPONENT)) {
        const QString error = PrimerError(c);
        if (!error.isEmpty())
            return error;
    }
    return QString();
}

QString ValidarEvento(icalcomponent* calendario, icalcomponent* evento) {
    const char* uid = icalcomponent_get_uid(evento);
    if (!uid || !*uid)
        return QStringLiteral("un evento no tiene UID");
    const QString cual = QString::fromUtf8(uid);
    if (icaltime_is_null_time(icalcomponent_get_dtstamp(evento)))
        return QStringLiteral("el evento %1 no tiene DTSTAMP").arg(cual);
    for (icalproperty* p = icalcomponent_get_first_property(evento, ICAL_ANY_PROPERTY); p;
         p = icalcomponent_get_next_property(evento, ICAL_ANY_PROPERTY)) {
        icalparameter* tzid = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER);
        if (tzid && !icalcomponent_get_timezone(calendario, icalparameter_get_tzid(tzid)))
            return QStringLiteral("el evento %1 nombra una zona horaria que no está en el "
                                  "fichero")
                .arg(cual);
    }
    const icaltimetype inicio = icalcomponent_get_dtstart(evento);
    const icaltimetype fin = icalcomponent_get_dtend(evento);
    if (!icaltime_is_valid_time(inicio) || icaltime_is_null_time(inicio))
        return QStringLiteral("el evento %1 no tiene comienzo").arg(cual);
    if (!icaltime_is_valid_time(fin) || icaltime_is_null_time(fin) ||
        icaltime_compare(inicio, fin) >= 0)
        return QStringLiteral("el evento %1 no termina después de empezar").arg(cual);
    return QString();
}
} // namespace

QString UidTrabajo(int idPersona, int dia, int idAusente) {
    return Base(idPersona, dia) +
           (idAusente == -1 ? QStringLiteral("turno")
                            : QStringLiteral("sustituye-%1").arg(idAusente)) +
           QStringLiteral("@dravonela");
}

QString UidLibranza(int idPersona, int dia) {
    return Base(idPersona, dia) + QStringLiteral("libranza@dravonela");
}

bool Generar(const CCalendarioTrabajador& calendario, const QDateTime& marca, QByteArray& salida,
             QString* error) {
    const auto fallo = [error](const QString& texto) {
        if (error)
            *error = texto;
        return false;
    };
    icaltimezone* zona = DvZona::Zona();
    const int desde =
        calendario.m_meses.empty() ? marca.date().year() : calendario.m_meses.front().m_anio;
    CComponente vtimezone(zona ? DvZona::NuevoVTimezone(desde) : nullptr);
    if (!vtimezone)
        return fallo(QStringLiteral("No se encuentran los datos de la zona horaria %1 "
                                    "(paquete tzdata)")
                         .arg(QLatin1String(DvZona::Tzid())));

    CComponente vcalendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent* cal = vcalendar.get();
    Agregar(cal, icalproperty_new_prodid("-//Dravonela//Planilla de turnos//ES"));
    Agregar(cal, icalproperty_new_version("2.0"));
    Agregar(cal, icalproperty_new_calscale("GREGORIAN"));
    Agregar(cal, PropiedadX("X-WR-CALNAME",
                            QStringLiteral("Turnos de %1").arg(calendario.m_nombrePlanilla)));
    Agregar(cal, PropiedadX("X-WR-TIMEZONE", QLatin1String(DvZona::Tzid())));
    icalcomponent_add_component(cal, vtimezone.release());

    const icaltimetype sello = icaltime_from_timet_with_zone(
        static_cast<time_t>(marca.toSecsSinceEpoch()), 0, icaltimezone_get_utc_timezone());
    QSet<QString> usados;
    for (const CMesTrabajador& mes : calendario.m_meses) {
        // Day by day: the leave day first, then the stretches of work by start.
        std::size_t siguienteLibre = 0;
        const auto libresHasta = [&](int dia) {
            for (;
                 siguienteLibre < mes.m_libres.size() && mes.m_libres[siguienteLibre].m_dia <= dia;
                 ++siguienteLibre)
                icalcomponent_add_component(
                    cal, EventoLibranza(calendario, mes.m_libres[siguienteLibre], sello));
        };
        for (const CTrabajoCalendario& trabajo : mes.m_trabajos) {
            const CPeriodoTrabajo& p = trabajo.m_periodo;
            libresHasta(p.m_dia);
            QString uid =
                UidTrabajo(calendario.m_idPersona, p.m_dia, p.EsSuplencia() ? p.m_idAusente : -1);
            // A worker has one stretch of own work a day and one per absent worker covered;
            // should a day ever hold more, the later ones are numbered.
            for (int n = 2; usados.contains(uid); ++n)
                uid = UidTrabajo(calendario.m_idPersona, p.m_dia,
                                 p.EsSuplencia() ? p.m_idAusente : -1)
                          .replace(QStringLiteral("@"), QStringLiteral("-%1@").arg(n));
            usados.insert(uid);
            icalcomponent_add_component(cal, EventoTrabajo(trabajo, uid, sello, zona));
        }
        libresHasta(std::numeric_limits<int>::max());
    }

    char* texto = icalcomponent_as_ical_string_r(cal);
    if (!texto)
        return fallo(QStringLiteral("No se pudo componer el calendario"));
    QByteArray bytes(texto);
    icalmemory_free_buffer(texto);

    const QString invalido = Validar(bytes);
    if (!invalido.isEmpty())
        return fallo(QStringLiteral("El calendario no es válido: %1").arg(invalido));
    salida = bytes;
    return true;
}

QString Validar(const QByteArray& texto) {
    CComponente leido(icalparser_parse_string(texto.constData()));
    if (!leido || icalcomponent_isa(leido.get()) != ICAL_VCALENDAR_COMPONENT)
        return QStringLiteral("no es un VCALENDAR");
    icalcomponent* cal = leido.get();
    if (icalcomponent_count_errors(cal) > 0)
        return PrimerError(cal);
    if (!icalcomponent_get_first_property(cal, ICAL_VERSION_PROPERTY) ||
        !icalcomponent_get_first_property(cal, ICAL_PRODID_PROPERTY))
        return QStringLiteral("faltan VERSION o PRODID");
    if (!icalrestriction_check(cal))
        return PrimerError(cal);
    QSet<QString> uids;
    for (icalcomponent* evento = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT);
         evento; evento = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
        const QString fallo = ValidarEvento(cal, evento);
        if (!fallo.isEmpty())
            return fallo;
        const QString uid = QString::fromUtf8(icalcomponent_get_uid(evento));
        if (uids.contains(uid))
            return QStringLiteral("el UID %1 se repite").arg(uid);
        uids.insert(uid);
    }
    return QString();
}
} // namespace DvIcs
