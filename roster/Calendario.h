#pragma once
// A worker's own months: every stretch of work (own shifts, days added by an exception,
// the shifts covered for absent workers of any service) at its real times, the worker's
// leave days, and the month's totals counted as the monthly report counts them.
//
//   CCalendarioTrabajador calendario;
//   if (!CargarCalendario(idPersona, mes, anio, meses, calendario))
//       ... // no such worker
//   for (const CMesTrabajador& m : calendario.m_meses) ...
//
// Totals follow the report's rules: a day worked is one day-plan entry (a split shift
// counts two), a night an entry at hour 22, every calendar day of a leave period counts
// under the period that wins that day. A substitute is credited for every entry of an
// absent worker's day plan that names them; each absent worker's day is computed once.

#include "PeriodosTrabajo.h"

#include <QString>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class CMotorPlanilla;

// One stretch of work of the worker.
struct CTrabajoCalendario {
    CPeriodoTrabajo m_periodo; // m_idPersona is the worker; m_idAusente whom they cover
    QString m_servicio;        // the service the shift belongs to (the absent worker's)
    QString m_ausente;         // the absent worker's planilla name (substitutions)
    int m_minutosReales = 0;   // elapsed minutes in Europe/Madrid (a night across the
                               // change of hour lasts 9 or 11 hours)
    bool m_noche = false;      // one of its day-plan entries is at hour 22

    // The shift's name; a period without one is "Noche" at night and "Turno añadido"
    // (an exception) or "Turno" otherwise.
    QString NombreTurno() const;
    // "Noche", or "Noche — sustituye a Ana" for a substitution.
    QString Titulo() const;
};

// A leave day of the worker: the period that covers the day (a vacation wins over a sick
// leave, which wins over a personal day).
struct CLibreCalendario {
    int m_dia = 0;  // day number (days since 30/12/1899)
    int m_tipo = 0; // 1 vacation, 2 sick leave, 3 personal day
};

// The month's figures, the first five as the report's line has them.
struct CTotalesMes {
    int m_diasTrabajados = 0;
    int m_noches = 0;
    int m_personales = 0;
    int m_vacaciones = 0;
    int m_diasBaja = 0;
    int m_minutos = 0; // real minutes of the month's stretches of work
};

struct CMesTrabajador {
    int m_mes = 0;
    int m_anio = 0;
    std::vector<CTrabajoCalendario> m_trabajos; // by start
    std::vector<CLibreCalendario> m_libres;     // by day
    std::vector<bool> m_festivos;               // by day of the month (index 1..31)
    CTotalesMes m_totales;

    bool EsFestivo(int diaDelMes) const;
};

struct CCalendarioTrabajador {
    int m_idPersona = -1;
    QString m_nombre;
    QString m_apellidos;
    QString m_nombrePlanilla;
    int m_idServicio = -1;
    QString m_servicio;
    std::vector<CMesTrabajador> m_meses;

    // "Nombre Apellidos", or the planilla name when both are empty.
    QString NombreCompleto() const;
};

// What several workers' calendars of the same months share: the months' shifts,
// exceptions, holidays and leave, and the services' names, read once.
class CDatosCalendarios {
public:
    CDatosCalendarios();
    ~CDatosCalendarios();
    CDatosCalendarios(const CDatosCalendarios&) = delete;
    CDatosCalendarios& operator=(const CDatosCalendarios&) = delete;

    // The context holding the month's data (read on first use).
    CMotorPlanilla& Mes(int mes, int anio);
    const QString& NombreServicio(int idServicio);

private:
    std::map<std::pair<int, int>, std::unique_ptr<CMotorPlanilla>> m_meses;
    std::map<int, QString> m_servicios;
    bool m_serviciosLeidos = false;
};

// Fills `salida` with the worker's `meses` consecutive months from mes/anio. False when
// the worker does not exist (nothing is filled). Database failures are reported by the
// data store as everywhere; the months then hold what could be read.
bool CargarCalendario(int idPersona, int mes, int anio, int meses, CCalendarioTrabajador& salida,
                      CDatosCalendarios* compartidos = nullptr);

// "Vacaciones", "Baja", "Día personal" for leave types 1, 2, 3.
QString TextoLibranza(int tipo);
// "9 h", "7 h 30 min".
QString TextoDuracion(int minutos);
