#pragma once
// Calendar files read back with libical, as a phone's calendar would read them: the
// events with their instants in UTC, for the tests to compare.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <vector>

namespace DvPruebaIcs {
struct CEvento {
    QString uid;
    QString resumen;     // SUMMARY
    QString descripcion; // DESCRIPTION
    bool todoElDia = false;
    QString inicioLocal; // DTSTART as written ("20240330T220000" or "20240310")
    QString finLocal;
    QString tzid;     // DTSTART's TZID ("" for dates)
    QString zona;     // TZID of the VTIMEZONE libical took for DTSTART
    QDateTime inicio; // UTC (dates: 00:00 UTC of the day)
    QDateTime fin;
    QDateTime sello; // DTSTAMP

    int Minutos() const { return static_cast<int>(inicio.secsTo(fin) / 60); }
};

struct CCalendario {
    bool valido = false; // parsed as a VCALENDAR without errors
    int errores = 0;     // libical's count of errors
    int zonas = 0;       // VTIMEZONE components
    QString tzidZona;    // TZID of the first VTIMEZONE
    std::vector<CEvento> eventos;

    const CEvento* Uid(const QString& uid) const;
    // The events whose local start begins with the text ("20240311").
    std::vector<const CEvento*> DelDia(const QString& fecha) const;
};

CCalendario Leer(const QByteArray& ics);
} // namespace DvPruebaIcs
