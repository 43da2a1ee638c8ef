#pragma once
// The roster checks itself: warnings with their reasons for one service and month.
//
//   CReglasServicio reglas;
//   LeerReglas(servicio, reglas);
//   CListaAvisos avisos = ComprobarPlanilla(mes, anio, servicio, reglas);
//
// Nine kinds (m_tipo):
//   sin_asignacion     a worker of the service without a reference assignment for the
//                      month: left out of the roster and the report
//   nombre_repetido    two workers of the roster with the same planilla name
//   solapamiento       one person in two work periods that overlap in time
//   autosuplencia      a leave period whose substitute is the absent worker
//   suplente_ausente   a substitute working on a day of their own leave
//   descanso           less than the minimum rest between two work periods
//   descanso_semanal   less than the minimum uninterrupted rest in a Monday-Sunday week
//   noches_seguidas    more nights in a row than the service allows
//   cobertura          fewer people in a period of a day than the service's minimum
//
// Every person who appears in the service's roster (own shifts and substitutions) is
// followed through all their work, in any service, over the whole Monday-Sunday weeks
// the month touches, so the last days of the month before and the first of the next
// count too. A warning belongs to the month when its date does: a rest or overlap
// across the month's edge is dated by the period that lies in the month.
//
// Rest is real elapsed time in the given time zone (the system's one by default): on
// the night the clocks go forward a 22:00-08:00 night lasts nine hours and the rest
// around it is an hour shorter than the clock shows; when they go back, an hour longer.

#include "Referencia.h"
#include "ReglasServicio.h"

#include <QString>
#include <QTimeZone>
#include <vector>

class CMotorPlanilla;

namespace DvAvisos {
inline constexpr const char* SinAsignacion = "sin_asignacion";
inline constexpr const char* NombreRepetido = "nombre_repetido";
inline constexpr const char* Solapamiento = "solapamiento";
inline constexpr const char* Autosuplencia = "autosuplencia";
inline constexpr const char* SuplenteAusente = "suplente_ausente";
inline constexpr const char* Descanso = "descanso";
inline constexpr const char* DescansoSemanal = "descanso_semanal";
inline constexpr const char* NochesSeguidas = "noches_seguidas";
inline constexpr const char* Cobertura = "cobertura";
} // namespace DvAvisos

struct CAviso {
    QString m_tipo;        // one of the DvAvisos kinds
    int m_dia = 0;         // the date (CDateTime::DayNumber); 0 when the warning has none
    int m_idPersonal = -1; // the worker concerned; -1 when none (coverage)
    QString m_nombre;      // the worker's planilla name; the service's name for coverage
    QString m_texto;       // plain Spanish with the reason and the numbers

    bool TieneFecha() const { return m_dia > 0; }
};
using CListaAvisos = std::vector<CAviso>;

// What a build of the month has already computed, as the roster grid keeps it: its
// engine (holding the month's data), its references and the day plan of every day.
struct CMesCalculado {
    CMotorPlanilla* m_motor = nullptr;
    const CListaReferencias* m_referencias = nullptr;
    const std::vector<CListaPlanDia>* m_planes = nullptr; // day 1 first, one per day
};

// The warnings of the service's roster for the month, in the order of OrdenarAvisos.
// With `calculado` (a build of the same month, service and database state), what it
// has read and computed is used instead of being done again. Database failures are
// reported by the engine; the checks go on with what could be read.
CListaAvisos ComprobarPlanilla(int mes, int anio, int servicio, const CReglasServicio& reglas,
                               const QTimeZone& zona = QTimeZone::systemTimeZone(),
                               const CMesCalculado* calculado = nullptr);

// By date (undated first), kind, then worker id (none first); equal keys keep their order.
void OrdenarAvisos(CListaAvisos& avisos);

// "dd/mm/aaaa" of a warning's date ("" when it has none), and "aaaa-mm-dd" for files.
QString FechaAviso(const CAviso& aviso);
QString FechaIsoAviso(const CAviso& aviso);
