#include "DatosMes.h"

#include "FechasPlanilla.h"
#include "FechasSql.h"
#include "Filas.h"
#include "MotorPlanilla.h"

#include <algorithm>

bool CTurno::EsLibre() const {
    // The date part that marks a rest day in TURNOS.HORAINICIAL (computed on first use:
    // the date type's own constants are set up at start-up in another file).
    static const int diaLibre = CDateTime(2001, 4, 23).DayNumber();
    return m_horaInicial.IsValid() && m_horaInicial.DayNumber() == diaLibre;
}

void CTablaTurnos::Vaciar() {
    m_turnos.clear();
    m_porId.clear();
    m_rotaciones.clear();
    m_cargada = false;
}

bool CTablaTurnos::Cargar() {
    Vaciar();
    const bool ok =
        DvFilas::Recorrer(QStringLiteral("SELECT ID, ORDEN, ID_TIPOTURNO, HORAINICIAL, HORAFINAL, "
                                         "ID_TIPOTURNO IS NULL, NOMBRE FROM TURNOS ORDER BY ID"),
                          [this](const CDbRecordset& fila) {
                              CTurno turno;
                              turno.m_id = fila.GetInt(0);
                              turno.m_orden = fila.GetInt(1);
                              turno.m_idTipo = fila.GetInt(2);
                              turno.m_tipoNulo = fila.GetInt(5) != 0;
                              turno.m_horaInicial = fila.GetDateTime(3);
                              turno.m_horaFinal = fila.GetDateTime(4);
                              turno.m_nombre = fila.GetText(6);
                              m_turnos.push_back(turno);
                          });
    m_porId.reserve(m_turnos.size());
    for (int i = 0; i < static_cast<int>(m_turnos.size()); ++i) {
        m_porId.emplace(m_turnos[i].m_id, i); // keeps the first of equal IDs
        if (!m_turnos[i].m_tipoNulo)
            ++m_rotaciones[m_turnos[i].m_idTipo].m_cantidad;
    }
    for (auto& par : m_rotaciones)
        par.second.m_porOrden.assign(par.second.m_cantidad + 1, -1);
    // Rows come in ID order, so the first shift found at a position has the lowest ID.
    for (int i = 0; i < static_cast<int>(m_turnos.size()); ++i) {
        const CTurno& turno = m_turnos[i];
        if (turno.m_tipoNulo)
            continue;
        CRotacion& rotacion = m_rotaciones[turno.m_idTipo];
        if (turno.m_orden >= 1 && turno.m_orden <= rotacion.m_cantidad &&
            rotacion.m_porOrden[turno.m_orden] < 0)
            rotacion.m_porOrden[turno.m_orden] = i;
    }
    m_cargada = true;
    return ok;
}

const CTurno* CTablaTurnos::Buscar(int idTurno) const {
    const auto it = m_porId.find(idTurno);
    return it == m_porId.end() ? nullptr : &m_turnos[it->second];
}

const CTurno* CTablaTurnos::TurnoDelDia(int idTurnoRef, int dias) const {
    const CTurno* referencia = Buscar(idTurnoRef);
    if (!referencia)
        return nullptr;
    // A shift without type reads as type -1, which only shifts typed -1 share.
    const int tipo = referencia->m_tipoNulo ? -1 : referencia->m_idTipo;
    const auto it = m_rotaciones.find(tipo);
    if (it == m_rotaciones.end() || it->second.m_cantidad <= 0)
        return nullptr;
    const int posicion = PosicionRotacion(dias, referencia->m_orden, it->second.m_cantidad);
    if (posicion < 1)
        return nullptr;
    const int indice = it->second.m_porOrden[posicion];
    return indice < 0 ? nullptr : &m_turnos[indice];
}

bool CExcepcionesMes::Cargar(int desde, int hasta) {
    m_filas.clear();
    const bool ok = DvFilas::Recorrer(
        // Each stored value is read once: the day, and the hour and minute together; the
        // day's exact range is checked here.
        QStringLiteral("SELECT ID, ID_PERSONAL, DV_DIA(DIA), TIPO, DV_MINUTOS(HORAINICIAL), "
                       "DV_MINUTOS(HORAFINAL) FROM EXCEPCIONES WHERE %1")
            .arg(DvFechasSql::DiasEntre(QStringLiteral("DIA"), desde, hasta)),
        [&](const CDbRecordset& fila) {
            CFila nueva;
            nueva.m_dia = fila.IsNull(2) ? desde - 1 : fila.GetInt(2);
            if (nueva.m_dia < desde || nueva.m_dia > hasta)
                return;
            nueva.m_id = fila.GetInt(0);
            nueva.m_idPersonal = fila.GetInt(1);
            nueva.m_excepcion.m_tipo = fila.GetInt(3);
            const int inicio = fila.GetInt(4);
            const int fin = fila.GetInt(5);
            nueva.m_excepcion.m_horaInicio = inicio / 60;
            nueva.m_excepcion.m_horaFin = fin / 60;
            nueva.m_excepcion.m_minutoInicio = inicio % 60;
            nueva.m_excepcion.m_minutoFin = fin % 60;
            m_filas.push_back(nueva);
        });
    std::sort(m_filas.begin(), m_filas.end(), [](const CFila& a, const CFila& b) {
        if (a.m_idPersonal != b.m_idPersonal)
            return a.m_idPersonal < b.m_idPersonal;
        if (a.m_dia != b.m_dia)
            return a.m_dia < b.m_dia;
        return a.m_id < b.m_id;
    });
    m_cargada = true;
    return ok;
}

const CExcepcion* CExcepcionesMes::Buscar(int idPersonal, int dia) const {
    const auto it =
        std::lower_bound(m_filas.begin(), m_filas.end(), std::make_pair(idPersonal, dia),
                         [](const CFila& fila, const std::pair<int, int>& clave) {
                             if (fila.m_idPersonal != clave.first)
                                 return fila.m_idPersonal < clave.first;
                             return fila.m_dia < clave.second;
                         });
    if (it == m_filas.end() || it->m_idPersonal != idPersonal || it->m_dia != dia)
        return nullptr;
    return &it->m_excepcion;
}

bool CFestivosMes::Cargar(int mes, int anio) {
    std::fill(std::begin(m_fiesta), std::end(m_fiesta), false);
    // FIESTAS is a short table (a few rows a year), read whole: a yearly holiday may be
    // stored in any year.
    const bool ok =
        DvFilas::Recorrer(QStringLiteral("SELECT DIA, CICLICO IS NULL, CICLICO <> 0 FROM FIESTAS"),
                          [&](const CDbRecordset& fila) {
                              if (fila.GetInt(1) != 0)
                                  return; // neither yearly nor of one date
                              const CDateTime dia = fila.GetDateTime(0);
                              if (!dia.IsValid() || dia.GetMonth() != mes)
                                  return;
                              const bool ciclico = fila.GetInt(2) != 0;
                              if (ciclico || dia.GetYear() == anio)
                                  m_fiesta[dia.GetDay()] = true;
                          });
    m_cargada = true;
    return ok;
}

CDatosMes::CDatosMes(int mes, int anio) : m_mes(mes), m_anio(anio) {
    const CDateTime primero(anio, mes, 1);
    const int dias = DiasDelMes(mes, anio);
    if (primero.IsValid() && dias > 0) {
        m_desde = primero.DayNumber();
        m_hasta = m_desde + dias - 1;
    }
}

const CTablaTurnos& CDatosMes::Turnos() {
    if (!m_turnos.Cargada())
        m_turnos.Cargar();
    return m_turnos;
}

const CExcepcionesMes& CDatosMes::Excepciones() {
    if (!m_excepciones.Cargada())
        m_excepciones.Cargar(m_desde, m_hasta);
    return m_excepciones;
}

const CFestivosMes& CDatosMes::Festivos() {
    if (!m_festivos.Cargada())
        m_festivos.Cargar(m_mes, m_anio);
    return m_festivos;
}

const CReservaLibranzas& CDatosMes::Libranzas() {
    if (!m_libranzasCargadas) {
        m_libranzas.CargarEntre(m_desde, m_hasta);
        m_libranzasCargadas = true;
    }
    return m_libranzas;
}
