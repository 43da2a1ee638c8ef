#pragma once
// The rules a service's roster is checked against: the minimum rest between two work
// periods, the minimum uninterrupted weekly rest, the most nights in a row, and the
// fewest people each period of the day needs on weekdays and on Sundays and holidays.
//
// Stored per service in REGLAS_SERVICIO (one row at most) and MINIMOS_COBERTURA (one
// row per period at most). A service without a rules row gets the defaults; a period
// without a row has no minimum.

#include <QString>

struct CReglasServicio {
    static constexpr int DescansoPorDefecto = 12; // hours between two work periods
    static constexpr int SemanalPorDefecto = 36;  // hours in a row in a Monday-Sunday week
    static constexpr int NochesPorDefecto = 5;    // nights in a row; 0 means no limit
    static constexpr int MaxDescanso = 24;
    static constexpr int MaxSemanal = 168;
    static constexpr int MaxNoches = 31;
    static constexpr int MaxMinimo = 999;

    // The periods of the day, as the roster shows them.
    static constexpr int Periodos = 3;
    static constexpr int HoraPeriodo[Periodos] = {8, 15, 22};

    int m_descansoMinimo = DescansoPorDefecto;
    int m_descansoSemanal = SemanalPorDefecto;
    int m_nochesSeguidas = NochesPorDefecto;
    // Per period (index of HoraPeriodo): whether it has a minimum, and the minimums.
    bool m_hayMinimo[Periodos] = {false, false, false};
    int m_minimoLaborable[Periodos] = {0, 0, 0};
    int m_minimoFestivo[Periodos] = {0, 0, 0};

    // The index of a period's start hour (8, 15, 22) in HoraPeriodo, or -1.
    static int IndicePeriodo(int hora);
    // "" when every value is within its range, else what is wrong (Spanish, one line).
    QString Validar() const;
};

// Reads the rules of the service. A file without the rules tables (an old file opened
// read-only, where they could not be added) gives the defaults. False after a reported
// database failure; the values read until then are kept.
bool LeerReglas(int servicio, CReglasServicio& reglas);

// Whether the file has both rules tables.
bool HayTablasReglas();
