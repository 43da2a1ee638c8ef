#pragma once
// The work periods of some workers on a short span of days next to a month already
// read, reading little more than those days.
//
// The month build reads a whole month at a time; the checks also need a few days of the
// month before or after. For those days this reads the exceptions of just those days,
// the leave periods that touch them, and the references that month's roster uses (taken
// from the month next to it where they cannot differ, read otherwise). The periods come
// out as PeriodosDelDia gives them from the engine's day plans: an exception of the day
// first (added hours, or nobody), then a leave period (the substitute on the absent
// worker's shift, or nobody), then the rotation.
//
//   CTramoDias tramo(desde, hasta);            // whole days, within one month
//   ... tramo.Libranzas() ...                  // who stands in for whom on those days
//   tramo.Cargar(datos.Turnos(), ids, refsDelMes, diaDelMes);
//   tramo.Periodos(dia, periodos);             // appended, in reference order

#include "DatosMes.h"
#include "Libranzas.h"
#include "PeriodosTrabajo.h"
#include "Referencia.h"

#include <unordered_map>
#include <vector>

class CTramoDias {
public:
    // With `reserva` (periods read for a span holding this one, outliving it), the leave
    // is taken from there instead of being read.
    CTramoDias(int desde, int hasta, const CReservaLibranzas* reserva = nullptr)
        : m_desde(desde), m_hasta(hasta), m_externa(reserva) {}
    CTramoDias(const CTramoDias&) = delete;
    CTramoDias& operator=(const CTramoDias&) = delete;

    int Desde() const { return m_desde; }
    int Hasta() const { return m_hasta; }

    // The leave periods that touch the span (any worker); read on first use.
    const CReservaLibranzas& Libranzas();
    // Reads what the periods of the workers need. `turnos` (the shifts table) must
    // outlive the span. `vecinas` are the references of the month next to the span (the
    // one after it or before it, holding the day diaVecino), used for the workers whose
    // reference cannot differ there. False after a reported failure.
    bool Cargar(const CTablaTurnos& turnos, const std::vector<int>& ids,
                const CListaReferencias& vecinas, int diaVecino);
    const CListaReferencias& Referencias() const { return m_referencias; }

    // Appends the work periods of the workers on the day (Desde..Hasta).
    void Periodos(int dia, std::vector<CPeriodoTrabajo>& salida);

private:
    bool CargarReferencias(const std::vector<int>& ids, const CListaReferencias& vecinas,
                           int diaVecino);
    bool CargarExcepciones();
    const CExcepcion* Excepcion(int idPersonal, int dia) const;

    int m_desde;
    int m_hasta;
    const CTablaTurnos* m_turnos = nullptr;
    CListaReferencias m_referencias;
    CExcepcionesMes m_excepciones; // of just the span's days
    const CReservaLibranzas* m_externa;
    CReservaLibranzas m_reserva;
    bool m_reservaLeida = false;
    bool m_reservaOk = true;
    CListaLibranzas m_libranzas; // the workers' own leave, by worker
};
