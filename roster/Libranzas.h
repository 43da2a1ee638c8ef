#pragma once
// Leave periods (vacations, sick leave, personal days) with their substitutes, and the
// two lookups of the day plan and the report: which period covers a worker on a date,
// and whom a worker stands in for on a date.

#include "DateTime.h"
#include "Referencia.h"

#include <QString>
#include <QStringList>
#include <unordered_map>
#include <vector>

// One leave period. It covers every calendar day from m_inicio to m_final inclusive.
class CLibranza {
public:
    virtual ~CLibranza() = default;
    CLibranza() = default;
    CLibranza(const CLibranza&) = default;
    CLibranza& operator=(const CLibranza&) = default;
    CLibranza(CLibranza&&) = default;
    CLibranza& operator=(CLibranza&&) = default;

    bool Cubre(int dia) const { return m_diaInicio <= dia && dia <= m_diaFinal; }

    int m_idPersonal = -1; // ID_PERSONAL, the absent worker
    CDateTime m_inicio;    // INICIO, date at 00:00
    CDateTime m_final;     // FINAL, date at 00:00 (a personal day ends where it starts)
    int m_idSuplente = -1; // ID_SUPLENTE; greater than 0 names the substitute
    int m_tipo = -1;       // 1 vacation, 2 sick leave, 3 personal day

    // Kept with the period when it is loaded, so lookups do not go back to the database.
    int m_id = -1;       // row ID in its table
    int m_diaInicio = 0; // whole days of m_inicio and m_final
    int m_diaFinal = -1;
    QString m_nombreSuplente; // the substitute's NOMBREPLANILLA (empty when none)
};

// The leave periods of the three kinds as read from the database, each kind in row ID
// order, with the rows of each worker and of each substitute at hand.
class CReservaLibranzas {
public:
    // Reads every period of the given workers (by absent worker, or by substitute),
    // whole history. Returns false when a statement failed (it has been reported).
    bool CargarDe(const std::vector<int>& ids, bool porSuplente);
    // Reads every period that touches the days desde..hasta (whole days), any worker.
    bool CargarEntre(int desde, int hasta);

    // Appends to `lista` the periods of the references: all vacations, then all sick
    // leave, then all personal days; within a kind grouped by reference in list order,
    // and within one reference in row ID order.
    void Llenar(const CListaReferencias& refs, bool porSuplente,
                class CListaLibranzas& lista) const;

    bool Vacia() const;

private:
    bool CargarTipo(int tipo, const QStringList& condiciones, int desde, int hasta, bool acotado);
    bool CargarNombres();
    void Indexar();

    std::vector<CLibranza> m_filas[3];
    std::unordered_map<int, std::vector<int>> m_porPersonal[3];
    std::unordered_map<int, std::vector<int>> m_porSuplente[3];
};

// An ordered list of leave periods. Its order decides which period wins when periods
// overlap: the first one in the list.
class CListaLibranzas {
public:
    CListaLibranzas() = default;
    virtual ~CListaLibranzas() = default;
    CListaLibranzas(const CListaLibranzas&) = delete;
    CListaLibranzas& operator=(const CListaLibranzas&) = delete;

    void Vaciar();
    // Clears the list and loads every period of the workers of the references (by absent
    // worker, or with porSuplente by substitute). Returns false when a statement failed
    // (reported); the list then holds what could be read.
    bool CargarLibranzas(const CListaReferencias& refs, bool porSuplente);
    // Clears the list and fills it from periods already read for a month. The list then
    // knows only the days desde..hasta; a lookup outside them loads the whole history of
    // the same workers first.
    void CargarDeReserva(const CReservaLibranzas& reserva, const CListaReferencias& refs,
                         bool porSuplente, int desde, int hasta);

    void Agregar(const CLibranza& libranza);

    // The first period of the list that covers the worker on the date. On true sets the
    // leave type and the substitute id, and, when the substitute id is greater than 0,
    // the substitute's planilla name (empty when that worker no longer exists). On false
    // nothing is set.
    bool BuscarLibranza(int idPersonal, const CDateTime& fecha, QString& nombreSuplente,
                        int& idSuplente, int& tipo);
    // A list filled for a month loads the rest of its workers' history before a day
    // outside the month is looked up (the lookups here do it themselves).
    void AsegurarDia(int dia);
    // Positions in Libranzas() of the worker's periods (as the absent worker), in list
    // order, or null when there are none. Valid while Version() stays the same.
    const std::vector<int>* PosicionesDe(int idPersonal);
    // Changes whenever the periods or their positions change.
    unsigned Version() const { return m_version; }
    // The first period of the list in which the worker is the substitute on the date.
    bool BuscarSuplencia(int idPersonal, const CDateTime& fecha, int& idAusente, int& tipo);

    const std::vector<CLibranza>& Libranzas() const { return m_libranzas; }
    int Cantidad() const { return static_cast<int>(m_libranzas.size()); }

private:
    const CLibranza* Primera(int id, int dia, bool porSuplente);
    void Indexar();

    std::vector<CLibranza> m_libranzas;

    // What the list was loaded for, so a lookup outside a month can load the rest.
    std::vector<int> m_ids;
    bool m_porSuplente = false;
    bool m_acotada = false;
    int m_desde = 0;
    int m_hasta = -1;

    // Positions of each worker's (and each substitute's) periods, built on first lookup.
    std::unordered_map<int, std::vector<int>> m_indicePersonal;
    std::unordered_map<int, std::vector<int>> m_indiceSuplente;
    bool m_indiceValido = false;
    unsigned m_version = 0;
};
