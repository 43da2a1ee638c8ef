#include "TramoDias.h"

#include "FechasSql.h"
#include "Filas.h"
#include "MotorPlanilla.h"

#include <QStringList>
#include <unordered_set>

namespace {
// The 28th of the month of the day: a reference dated before it holds for that month.
int Dia28(int dia) {
    const CDateTime fecha = CDateTime::FromDays(dia);
    return CDateTime(fecha.GetYear(), fecha.GetMonth(), 28).DayNumber();
}
} // namespace

const CReservaLibranzas& CTramoDias::Libranzas() {
    if (m_externa)
        return *m_externa;
    if (!m_reservaLeida) {
        m_reservaOk = m_reserva.CargarEntre(m_desde, m_hasta);
        m_reservaLeida = true;
    }
    return m_reserva;
}

bool CTramoDias::CargarReferencias(const std::vector<int>& ids, const CListaReferencias& vecinas,
                                   int diaVecino) {
    // A month's reference is the worker's latest assignment dated before its 28th. The
    // neighbour's one still holds before it when it is dated before this month's 28th,
    // and after it unless an assignment is dated between the two 28ths. Only the others
    // are read.
    const int limite = Dia28(m_desde);
    const int limiteVecino = Dia28(diaVecino);
    bool ok = true;
    std::unordered_set<int> cambian;
    if (limiteVecino < limite && !vecinas.empty())
        ok = DvFilas::Recorrer(
            // The program's own form ('YYYY/MM/DD ...') from this month's 28th on is left
            // out at once; any other form is checked on its day.
            QStringLiteral("SELECT ID_PERSONAL, DV_DIA(DIA_REF) FROM ASIG_TURNOS WHERE %1 AND "
                           "(DIA_REF < '%2' OR NOT (DIA_REF GLOB "
                           "'[0-9][0-9][0-9][0-9]/[0-9][0-9]/[0-9][0-9]*'))")
                .arg(DvFechasSql::DesdeDia(QStringLiteral("DIA_REF"), limiteVecino),
                     CDateTime::FromDays(limite).ToQDate().toString(QStringLiteral("yyyy/MM/dd"))),
            [&](const CDbRecordset& fila) {
                const int dia = fila.GetInt(1);
                if (!fila.IsNull(1) && dia >= limiteVecino && dia < limite)
                    cambian.insert(fila.GetInt(0));
            });
    std::unordered_map<int, const CReferencia*> valen;
    for (const CReferencia& ref : vecinas) {
        const bool vale = limiteVecino < limite
                              ? !cambian.count(ref.m_idPersonal)
                              : ref.m_diaRef.IsValid() && ref.m_diaRef.Days() < limite;
        if (vale)
            valen.emplace(ref.m_idPersonal, &ref);
    }
    std::vector<int> leer;
    for (int id : ids)
        if (!valen.count(id))
            leer.push_back(id);
    const CDateTime primero = CDateTime::FromDays(m_desde);
    const auto leidas = CargarReferenciasDe(leer, primero.GetMonth(), primero.GetYear());

    m_referencias.clear();
    m_referencias.reserve(ids.size());
    for (int id : ids) {
        const auto vale = valen.find(id);
        if (vale != valen.end()) {
            m_referencias.push_back(*vale->second);
            continue;
        }
        const auto leida = leidas.find(id);
        if (leida != leidas.end())
            m_referencias.push_back(leida->second);
    }
    return ok;
}

bool CTramoDias::CargarExcepciones() {
    return m_excepciones.Cargar(
        m_desde, m_hasta, DvFechasSql::RangosSueltos(QStringLiteral("DIA"), m_desde, m_hasta));
}

const CExcepcion* CTramoDias::Excepcion(int idPersonal, int dia) const {
    return m_excepciones.Buscar(idPersonal, dia);
}

bool CTramoDias::Cargar(const CTablaTurnos& turnos, const std::vector<int>& ids,
                        const CListaReferencias& vecinas, int diaVecino) {
    m_turnos = &turnos;
    bool ok = CargarReferencias(ids, vecinas, diaVecino);
    ok = CargarExcepciones() && ok;
    m_libranzas.CargarDeReserva(Libranzas(), m_referencias, false, m_desde, m_hasta);
    return ok && m_reservaOk;
}

void CTramoDias::Periodos(int dia, std::vector<CPeriodoTrabajo>& salida) {
    if (!m_turnos || dia < m_desde || dia > m_hasta)
        return;
    const CDateTime fecha = CDateTime::FromDays(dia);
    for (const CReferencia& ref : m_referencias) {
        const int id = ref.m_idPersonal;
        CPeriodoTrabajo periodo;
        periodo.m_dia = dia;
        periodo.m_idPersona = id;
        periodo.m_nombre = ref.m_nombrePlanilla;

        // An exception of the day wins over leave and rotation.
        if (const CExcepcion* excepcion = Excepcion(id, dia)) {
            if (excepcion->m_tipo != 2)
                continue;
            SpanDelPeriodo(excepcion->m_horaInicio, excepcion->m_minutoInicio, excepcion->m_horaFin,
                           excepcion->m_minutoFin, &periodo.m_inicio, &periodo.m_fin);
            salida.push_back(periodo);
            continue;
        }

        // A leave period puts the substitute on the worker's shift, or nobody.
        QString nombreSuplente;
        int suplente = -1;
        int tipo = -1;
        const bool ausente = m_libranzas.BuscarLibranza(id, fecha, nombreSuplente, suplente, tipo);
        if (ausente && nombreSuplente.isEmpty())
            continue;

        const CTurno* turno = m_turnos->TurnoDelDia(ref.m_idTurno, dia - ref.m_diaRef.DayNumber());
        if (!turno || turno->EsLibre())
            continue;
        if (ausente) {
            periodo.m_idPersona = suplente;
            periodo.m_idAusente = id;
            periodo.m_tipoLibranza = tipo;
            periodo.m_nombre = nombreSuplente;
        }
        periodo.m_idTurno = turno->m_id;
        periodo.m_nombreTurno = turno->m_nombre.trimmed();
        SpanDelPeriodo(turno->m_horaInicial.GetHour(), turno->m_horaInicial.GetMinute(),
                       turno->m_horaFinal.GetHour(), turno->m_horaFinal.GetMinute(),
                       &periodo.m_inicio, &periodo.m_fin);
        salida.push_back(periodo);
    }
}
