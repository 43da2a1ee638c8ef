#include "DatosMes.h"

#include "FechasPlanilla.h"
#include "FechasSql.h"
#include "Filas.h"
#include "MotorPlanilla.h"

#include <algorithm>

namespace {
bool MarcaLibre(const CDateTime& horaInicial) {
    // The date part that marks a rest day in TURNOS.HORAINICIAL (computed on first use:
    // the date type's own constants are set up at start-up in another file).
    static const int diaLibre = CDateTime(2001, 4, 23).DayNumber();
    return horaInicial.IsValid() && horaInicial.DayNumber() == diaLibre;
}
} // namespace

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
                              turno.m_horaInicio = turno.m_horaInicial.GetHour();
                              turno.m_horaFin = turno.m_horaFinal.GetHour();
                              turno.m_libre = MarcaLibre(turno.m_horaInicial);
                              m_turnos.push_back(turno);
                          });
    // The rotations are the types of the typed shifts; a shift without type reads as
    // type -1, which only shifts typed -1 share.
    std::unordered_map<int, int> porTipo;
    for (const CTurno& turno : m_turnos)
        if (!turno.m_tipoNulo && porTipo.emplace(turno.m_idTipo, int(porTipo.size())).second)
            m_rotaciones.emplace_back();
    m_porId.reserve(m_turnos.size());
    for (int i = 0; i < static_cast<int>(m_turnos.size()); ++i) {
        CTurno& turno = m_turnos[i];
        m_porId.emplace(turno.m_id, i); // keeps the first of equal IDs
        const auto tipo = porTipo.find(turno.m_tipoNulo ? -1 : turno.m_idTipo);
        turno.m_rotacion = tipo == porTipo.end() ? -1 : tipo->second;
        if (!turno.m_tipoNulo)
            ++m_rotaciones[turno.m_rotacion].m_cantidad;
    }
    for (CRotacion& rotacion : m_rotaciones)
        rotacion.m_porOrden.assign(rotacion.m_cantidad + 1, -1);
    // Rows come in ID order, so the first shift found at a position has the lowest ID.
    for (int i = 0; i < static_cast<int>(m_turnos.size()); ++i) {
        const CTurno& turno = m_turnos[i];
        if (turno.m_tipoNulo)
            continue;
        CRotacion& rotacion = m_rotaciones[turno.m_rotacion];
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
    return referencia ? TurnoDesde(*referencia, dias) : nullptr;
}

const CTurno* CTablaTurnos::TurnoDesde(const CTurno& referencia, int dias) const {
    if (referencia.m_rotacion < 0)
        return nullptr;
    const CRotacion& rotacion = m_rotaciones[referencia.m_rotacion];
    if (rotacion.m_cantidad <= 0)
        return nullptr;
    const int posicion = PosicionRotacion(dias, referencia.m_orden, rotacion.m_cantidad);
    if (posicion < 1)
        return nullptr;
    const int indice = rotacion.m_porOrden[posicion];
    return indice < 0 ? nullptr : &m_turnos[indice];
}

bool CExcepcionesMes::Cargar(int desde, int hasta, const QStringList& rangos) {
    m_filas.clear();
    // The stored values come as they are and are read here (as DV_DIA and DV_MINUTOS
    // read them); the day's exact range is checked on each row.
    // Each range is its own arm, read through the index on DIA; a file without that
    // index (read-only, never upgraded) is read once with the ranges together.
    const QStringList deDias =
        rangos.isEmpty() ? DvFechasSql::RangosEntre(QStringLiteral("DIA"), desde, hasta) : rangos;
    const QString columnas =
        QStringLiteral("SELECT ID, ID_PERSONAL, DIA, TIPO, HORAINICIAL, HORAFINAL FROM EXCEPCIONES "
                       "WHERE ");
    QStringList brazos;
    if (DvFilas::HayIndice(QStringLiteral("IX_EXCEPCIONES_DIA")))
        for (const QString& rango : deDias)
            brazos << columnas + rango;
    else
        brazos << columnas + DvFechasSql::CualquieraDe(deDias);
    const auto minutos = [](const CDateTime& hora) {
        return hora.GetHour() * 60 + hora.GetMinute();
    };
    const bool ok =
        DvFilas::Recorrer(brazos.join(QLatin1String(" UNION ALL ")), [&](const CDbRecordset& fila) {
            const CDateTime dia = fila.GetDateTime(2);
            if (!dia.IsValid())
                return;
            CFila nueva;
            nueva.m_dia = dia.DayNumber();
            if (nueva.m_dia < desde || nueva.m_dia > hasta)
                return;
            nueva.m_id = fila.GetInt(0);
            nueva.m_idPersonal = fila.GetInt(1);
            nueva.m_excepcion.m_tipo = fila.GetInt(3);
            // Only an exception that adds the worker has hours that count.
            if (nueva.m_excepcion.m_tipo == 2) {
                const int inicio = minutos(fila.GetDateTime(4));
                const int fin = minutos(fila.GetDateTime(5));
                nueva.m_excepcion.m_horaInicio = inicio / 60;
                nueva.m_excepcion.m_horaFin = fin / 60;
                nueva.m_excepcion.m_minutoInicio = inicio % 60;
                nueva.m_excepcion.m_minutoFin = fin % 60;
            }
            m_filas.push_back(nueva);
        });
    std::sort(m_filas.begin(), m_filas.end(), [](const CFila& a, const CFila& b) {
        if (a.m_idPersonal != b.m_idPersonal)
            return a.m_idPersonal < b.m_idPersonal;
        if (a.m_dia != b.m_dia)
            return a.m_dia < b.m_dia;
        return a.m_id < b.m_id;
    });
    m_porPersonal.clear();
    for (int i = 0; i < static_cast<int>(m_filas.size()); ++i) {
        CRango& rango =
            m_porPersonal.try_emplace(m_filas[i].m_idPersonal, CRango{i, i}).first->second;
        rango.m_hasta = i + 1;
    }
    m_cargada = true;
    return ok;
}

const CExcepcion* CExcepcionesMes::Buscar(int idPersonal, int dia) const {
    return BuscarEn(RangoDe(idPersonal), dia);
}

CExcepcionesMes::CRango CExcepcionesMes::RangoDe(int idPersonal) const {
    const auto it = m_porPersonal.find(idPersonal);
    return it == m_porPersonal.end() ? CRango{} : it->second;
}

const CExcepcion* CExcepcionesMes::BuscarEn(const CRango& rango, int dia) const {
    // A worker has a handful of exceptions in a month, in day order.
    for (int i = rango.m_desde; i < rango.m_hasta; ++i)
        if (m_filas[i].m_dia >= dia)
            return m_filas[i].m_dia == dia ? &m_filas[i].m_excepcion : nullptr;
    return nullptr;
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
