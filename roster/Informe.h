#pragma once
// The monthly report of a service: per worker, days worked, nights, personal days,
// vacation days and sick-leave days, as semicolon-separated text.

#include "Progreso.h"

#include <QString>

// The counters of one worker.
class CDatosInforme {
public:
    virtual ~CDatosInforme() = default;

    int m_idPersonal = -1;
    int m_diasTrabajados = 0; // DIAS TRABAJADOS (one per day-plan entry, nights included)
    int m_noches = 0;         // NOCHES (entries at hour 22)
    int m_vacaciones = 0;     // VACACIONES
    int m_diasBaja = 0;       // DIAS BAJA
    int m_personales = 0;     // PERSONALES
};

// Builds the report of the month into `texto` (title line, heading line, one line per
// worker of the month's roster, every line ending in CR LF). The counts are the
// rosters': each absent worker's day counts once, for the substitute their roster
// shows, and a substitute is credited for every worker they cover. A line end or NUL
// inside a stored name is written as a blank, and a worker field holding ';' or '"' is
// quoted (inner quotes doubled); other names are written as stored. Reports progress per day
// and stops at the next day when cancelled. Returns true when it ran to the end, false
// when it was cancelled (the text then holds the counts so far).
bool GenerarInforme(int mes, int anio, int idServicio, QString& texto, IProgreso& progreso);
