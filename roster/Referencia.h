#pragma once
// The records of the roster engine: a worker's reference assignment as loaded for a
// month, and one entry of a day plan.

#include "DateTime.h"

#include <QString>
#include <vector>

// A worker tied to a rotation: on m_diaRef the worker held shift m_idTurno.
class CReferencia {
public:
    CReferencia() = default;
    CReferencia(const QString& nombrePlanilla, int idPersonal, int idTurno, const CDateTime& diaRef)
        : m_nombrePlanilla(nombrePlanilla), m_idPersonal(idPersonal), m_idTurno(idTurno),
          m_diaRef(diaRef) {}
    virtual ~CReferencia() = default;
    CReferencia(const CReferencia&) = default;
    CReferencia& operator=(const CReferencia&) = default;
    CReferencia(CReferencia&&) = default;
    CReferencia& operator=(CReferencia&&) = default;

    QString m_nombrePlanilla; // PERSONAL.NOMBREPLANILLA
    int m_idPersonal = -1;    // PERSONAL.ID
    int m_idTurno = -1;       // ASIG_TURNOS.ID_TURNO
    // ASIG_TURNOS.DIA_REF as stored (a time of day, if any, is kept: it counts in the
    // choice of the month's reference; the rotation counts whole days).
    CDateTime m_diaRef;
};

// One entry of a day plan: who is shown, at which hour, and for whom.
class CPlanDia {
public:
    CPlanDia() = default;
    CPlanDia(const QString& nombre, int idTurno, int hora, int tipoLibranza)
        : m_nombre(nombre), m_idTurno(idTurno), m_hora(hora), m_tipoLibranza(tipoLibranza) {}
    virtual ~CPlanDia() = default;
    CPlanDia(const CPlanDia&) = default;
    CPlanDia& operator=(const CPlanDia&) = default;
    CPlanDia(CPlanDia&&) = default;
    CPlanDia& operator=(CPlanDia&&) = default;

    // An empty entry used to line up the rows of a week at a given hour.
    static CPlanDia Relleno(int hora) { return CPlanDia(QString(), -1, hora, 0); }
    bool EsRelleno() const { return m_idPersonal == -1; }

    QString m_nombre;       // planilla name shown: the worker's or the substitute's
    int m_idTurno = -1;     // TURNOS.ID worked; -1 for fillers and exception entries
    int m_hora = 0;         // start hour of the period (second half of a split: +7)
    int m_tipoLibranza = 0; // 0 in person; 1 vacation, 2 sick leave, 3 personal day
    int m_idPersonal = -1;  // the worker the entry belongs to (the absent one)
    int m_idSuplente = -1;  // the substitute shown when m_tipoLibranza is not 0
};

bool operator==(const CPlanDia& a, const CPlanDia& b);
inline bool operator!=(const CPlanDia& a, const CPlanDia& b) {
    return !(a == b);
}

using CListaReferencias = std::vector<CReferencia>;
using CListaPlanDia = std::vector<CPlanDia>;
