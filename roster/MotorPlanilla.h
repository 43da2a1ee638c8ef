#pragma once
// The roster engine: who works on a date, at which hour, from the reference
// assignments, the rotations, the exceptions and the leave periods.
//
// Typical use (the month build and the report):
//   motor.m_mes = mes; motor.m_anio = anio; motor.m_servicio = servicio;
//   CargarReferencias(motor, referencias);
//   motor.CargarLibranzas(referencias);           // leave of those workers, by worker
//   for each day: CalcularDia(motor, referencias, fecha, plan); motor.EsFestivo(fecha);
//
// A context reads what a month needs in a few statements on first use and looks it up
// in memory afterwards; CargarReferencias starts afresh, so every build sees the
// database as it is at that moment.

#include "DateTime.h"
#include "DatosMes.h"
#include "Libranzas.h"
#include "Referencia.h"

#include <memory>
#include <unordered_map>
#include <vector>

class CMotorPlanilla {
public:
    CMotorPlanilla();
    virtual ~CMotorPlanilla();
    CMotorPlanilla(const CMotorPlanilla&) = delete;
    CMotorPlanilla& operator=(const CMotorPlanilla&) = delete;

    CListaLibranzas m_libranzas; // leave periods of the workers, loaded by worker
    int m_mes = 0;
    int m_anio = 0;
    int m_servicio = -1;

    // Fills m_libranzas with the periods of the references' workers, by worker, from the
    // month's data (m_mes, m_anio).
    void CargarLibranzas(const CListaReferencias& referencias);
    // Sunday, or a holiday of FIESTAS.
    bool EsFestivo(const CDateTime& fecha);

    // The data of the month holding the date: the one already read when it covers the
    // date, otherwise read anew.
    CDatosMes& DatosPara(const CDateTime& fecha);
    // The data of m_mes / m_anio.
    CDatosMes& DatosDelMes();
    // Use the month data of another context (a report's second context).
    void CompartirDatos(const CMotorPlanilla& otro);
    // Forget what was read; the next use reads the database again.
    void OlvidarDatos();

    // The day plan of the references for the date (see the free CalcularDia).
    void CalcularDia(const CListaReferencias& referencias, const CDateTime& fecha,
                     CListaPlanDia& salida);

private:
    // What the day plans need of one reference, looked up once for the month data and
    // the leave list in use, and kept while the reference stays the same.
    struct CPreparada {
        int m_idPersonal = -1; // the reference it was worked out for
        int m_idTurno = -1;
        double m_diaRefDias = 0.0;
        int m_diaRef = 0;                              // day number of the reference day
        const CTurno* m_turnoRef = nullptr;            // null: the shift is gone
        CExcepcionesMes::CRango m_excepciones;         // the worker's exceptions of the month
        const std::vector<int>* m_libranzas = nullptr; // the worker's periods, or null
    };
    void Preparar(const CListaReferencias& referencias, CDatosMes& datos);

    std::shared_ptr<CDatosMes> m_datos;
    CListaPlanDia m_trabajo; // working entries of CalcularDia, kept to reuse their storage
    std::vector<CPreparada> m_preparadas; // by position in the references
    std::shared_ptr<CDatosMes> m_preparadasDatos;
    unsigned m_preparadasVersion = 0; // of m_libranzas
};

// Appends the reference assignments of the workers of the context's service that hold
// for its month: per worker the latest one dated strictly before the 28th of the month at
// 00:00 (equal dates: the lowest ASIG_TURNOS.ID), newest first, one per planilla name.
// Returns false after a reported database failure (the list holds what was loaded).
bool CargarReferencias(CMotorPlanilla& motor, CListaReferencias& lista);

// The reference assignment of one worker for the month of the date, or none.
std::unique_ptr<CReferencia> CargarReferencia(const CDateTime& fecha, int idPersonal);

// The same for several workers at once (one statement): worker id -> reference.
std::unordered_map<int, CReferencia> CargarReferenciasDe(const std::vector<int>& ids, int mes,
                                                         int anio);

// Empties `salida` and fills it with the day plan of the references for the date,
// ordered by hour. The context's leave list must hold the references' periods.
void CalcularDia(CMotorPlanilla& motor, const CListaReferencias& referencias,
                 const CDateTime& fecha, CListaPlanDia& salida);

// Position 1..n of the rotation `dias` days after the day on which position `orden`
// was held. -1 when n is not positive.
int PosicionRotacion(long long dias, long long orden, int n);

// True when a period from horaInicio to horaFin is shown in two periods of the day
// (8 to 22, 15 to 8); the second one starts 7 hours later.
bool EsTurnoPartido(int horaInicio, int horaFin);

// Copies the entries of `trabajo` into `salida` grouped by ascending hour (0 to 24),
// keeping their order within an hour; entries with other hours are left out.
void OrdenarPorHora(const CListaPlanDia& trabajo, CListaPlanDia& salida);

// Sunday, or a holiday of FIESTAS (one date, or yearly on its day and month).
bool EsFestivo(const CDateTime& fecha);

// The worker's first exception (lowest ID) on the date; on false `resultado` is untouched.
bool BuscarExcepcion(int idPersonal, const CDateTime& fecha, CExcepcion& resultado);
