#pragma once
// Work periods: the entries of a day plan at their real times, one per stretch of work.
//
// A day plan lists who is shown in which period of the day (8, 15, 22); a shift from 8 to
// 22 or from 15 to 8 is shown in two of them. A work period folds those two entries back
// into one and carries the real start and end with minutes: the shift's HORAINICIAL and
// HORAFINAL for a rotation shift (a substitute works the absent worker's shift), the
// exception's own hours for a worker added to the day. An end at or before the start is
// on the next day. Times are wall-clock times of the day they fall on.
//
//   std::vector<CPeriodoTrabajo> periodos;
//   PeriodosDelDia(motor.DatosPara(fecha), plan, fecha, periodos);
//
// The warnings checker and the workers' calendars both build on this.

#include "DateTime.h"
#include "Referencia.h"

#include <QString>
#include <vector>

class CDatosMes;

struct CPeriodoTrabajo {
    int m_idPersona = -1;   // who works: the worker, or the substitute shown for them
    int m_idAusente = -1;   // for a substitution, the absent worker covered; else -1
    int m_tipoLibranza = 0; // 0 own work; 1 vacation, 2 sick leave, 3 personal day covered
    int m_idTurno = -1;     // TURNOS.ID; -1 for an exception's own hours
    QString m_nombre;       // planilla name shown in the roster (the one who works)
    QString m_nombreTurno;  // the shift's NOMBRE, trimmed; empty for an exception
    int m_dia = 0;          // day number (CDateTime::DayNumber) of the plan's date
    int m_inicio = 0;       // minutes after midnight of m_dia
    int m_fin = 0;          // minutes after midnight of m_dia; more than m_inicio

    bool EsSuplencia() const { return m_tipoLibranza != 0; }
    bool EsExcepcion() const { return m_idTurno == -1; }
    int Minutos() const { return m_fin - m_inicio; }
    // Minutes since 30/12/1899 00:00, for comparing periods of different days.
    long long InicioAbsoluto() const { return m_dia * 1440LL + m_inicio; }
    long long FinAbsoluto() const { return m_dia * 1440LL + m_fin; }
    // The start and end as date-times (the end may fall on the next day).
    CDateTime Inicio() const;
    CDateTime Fin() const;
};

// The real span of a period from hour:minute to hour:minute on one day, in minutes after
// that day's midnight: the end moves to the next day when it is at or before the start.
void SpanDelPeriodo(int horaInicio, int minutoInicio, int horaFin, int minutoFin, int* inicio,
                    int* fin);

// Appends to `salida` the work periods of `plan`, the day plan of `fecha` computed on
// `datos` (the month data holding the date). Fillers are skipped; an entry whose shift is
// no longer in the table is skipped too. Plan order is kept.
void PeriodosDelDia(CDatosMes& datos, const CListaPlanDia& plan, const CDateTime& fecha,
                    std::vector<CPeriodoTrabajo>& salida);

// "HH:MM–HH:MM" of a period (en dash), as the window and the files show hours.
QString TextoHoras(const CPeriodoTrabajo& periodo);
