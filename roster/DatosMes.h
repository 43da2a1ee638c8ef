#pragma once
// What the roster of one month needs from the database, read in a handful of statements
// and then looked up in memory: the shifts of every rotation, the month's exceptions,
// its holidays and the leave periods that touch it.

#include "DateTime.h"
#include "Libranzas.h"

#include <QStringList>

#include <unordered_map>
#include <vector>

// A shift of a rotation (a row of TURNOS).
struct CTurno {
    int m_id = -1;
    int m_orden = -1;       // ORDEN (-1 when NULL)
    int m_idTipo = -1;      // ID_TIPOTURNO (-1 when NULL)
    bool m_tipoNulo = true; // ID_TIPOTURNO is NULL: the shift belongs to no rotation
    CDateTime m_horaInicial;
    CDateTime m_horaFinal;
    QString m_nombre; // NOMBRE, the text shown for the shift
    // Worked out from the row when the table is read, for the day plans.
    int m_horaInicio = 0; // hour of HORAINICIAL
    int m_horaFin = 0;    // hour of HORAFINAL
    bool m_libre = false; // a rest day: 23 April 2001 in HORAINICIAL
    int m_rotacion = -1;  // the rotation of its type in the table, -1 when it has none
    bool EsLibre() const { return m_libre; }
};

// Every shift of every rotation, with the rotation arithmetic.
class CTablaTurnos {
public:
    // "SELECT ... FROM TURNOS": one statement. Returns false after a reported failure.
    bool Cargar();
    bool Cargada() const { return m_cargada; }
    void Vaciar();

    const CTurno* Buscar(int idTurno) const;
    // The shift worked `dias` days after the reference day on which the worker held
    // shift idTurnoRef (negative: before). None when the reference shift is gone, its
    // rotation has no shifts, or no shift holds the position that falls on the day.
    const CTurno* TurnoDelDia(int idTurnoRef, int dias) const;
    // The same from the reference shift itself (one of this table's).
    const CTurno* TurnoDesde(const CTurno& referencia, int dias) const;

private:
    struct CRotacion {
        int m_cantidad = 0;          // number of shifts of the type
        std::vector<int> m_porOrden; // position 1..n -> index of the first shift, or -1
    };
    std::vector<CTurno> m_turnos;
    std::unordered_map<int, int> m_porId;
    std::vector<CRotacion> m_rotaciones; // by CTurno::m_rotacion
    bool m_cargada = false;
};

// One exception as the day plan uses it.
struct CExcepcion {
    int m_tipo = 0; // 2 adds the worker to the day; anything else removes the worker
    // The hours, read for an exception that adds the worker (0 for the others).
    int m_horaInicio = 0;   // hour of HORAINICIAL
    int m_horaFin = 0;      // hour of HORAFINAL
    int m_minutoInicio = 0; // minute of HORAINICIAL
    int m_minutoFin = 0;    // minute of HORAFINAL
};

// The exceptions of every worker on the days of one month.
class CExcepcionesMes {
public:
    // The exceptions of the days desde..hasta, found through the date ranges given (each
    // row in one of them at most; DvFechasSql::RangosEntre when none are given).
    bool Cargar(int desde, int hasta, const QStringList& rangos = {});
    bool Cargada() const { return m_cargada; }
    // The first exception (lowest row ID) of the worker on the day, or none.
    const CExcepcion* Buscar(int idPersonal, int dia) const;

    // The worker's rows, to look up many days of one worker without searching again.
    struct CRango {
        int m_desde = 0;
        int m_hasta = 0; // one past the last
    };
    CRango RangoDe(int idPersonal) const;
    const CExcepcion* BuscarEn(const CRango& rango, int dia) const;

private:
    struct CFila {
        int m_idPersonal;
        int m_dia;
        int m_id;
        CExcepcion m_excepcion;
    };
    std::vector<CFila> m_filas; // sorted by worker, day, row ID
    std::unordered_map<int, CRango> m_porPersonal;
    bool m_cargada = false;
};

// Which days of one month are holidays (FIESTAS rows, yearly or of that year only).
class CFestivosMes {
public:
    bool Cargar(int mes, int anio);
    bool Cargada() const { return m_cargada; }
    // Sundays are not marked here; only FIESTAS rows. Day 1..31.
    bool EsFiesta(int dia) const { return dia >= 1 && dia <= 31 && m_fiesta[dia]; }

private:
    bool m_fiesta[32] = {};
    bool m_cargada = false;
};

// The month's data, each part read on first use.
class CDatosMes {
public:
    CDatosMes(int mes, int anio);

    int Mes() const { return m_mes; }
    int Anio() const { return m_anio; }
    int Desde() const { return m_desde; }
    int Hasta() const { return m_hasta; }
    bool Valido() const { return m_hasta >= m_desde; }
    bool Contiene(int dia) const { return dia >= m_desde && dia <= m_hasta; }

    const CTablaTurnos& Turnos();
    const CExcepcionesMes& Excepciones();
    const CFestivosMes& Festivos();
    const CReservaLibranzas& Libranzas();

private:
    int m_mes;
    int m_anio;
    int m_desde = 0;
    int m_hasta = -1;
    CTablaTurnos m_turnos;
    CExcepcionesMes m_excepciones;
    CFestivosMes m_festivos;
    CReservaLibranzas m_libranzas;
    bool m_libranzasCargadas = false;
};
