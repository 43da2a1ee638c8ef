#include "PeriodosTrabajo.h"

#include "DatosMes.h"

CDateTime CPeriodoTrabajo::Inicio() const {
    return CDateTime::FromDays(m_dia + m_inicio / 1440.0);
}

CDateTime CPeriodoTrabajo::Fin() const {
    return CDateTime::FromDays(m_dia + m_fin / 1440.0);
}

void SpanDelPeriodo(int horaInicio, int minutoInicio, int horaFin, int minutoFin, int* inicio,
                    int* fin) {
    *inicio = horaInicio * 60 + minutoInicio;
    *fin = horaFin * 60 + minutoFin;
    if (*fin <= *inicio)
        *fin += 1440;
}

void PeriodosDelDia(CDatosMes& datos, const CListaPlanDia& plan, const CDateTime& fecha,
                    std::vector<CPeriodoTrabajo>& salida) {
    const int dia = fecha.DayNumber();
    const CTablaTurnos& turnos = datos.Turnos();
    const CExcepcionesMes& excepciones = datos.Excepciones();
    for (const CPlanDia& entrada : plan) {
        if (entrada.EsRelleno())
            continue;
        CPeriodoTrabajo periodo;
        periodo.m_dia = dia;
        periodo.m_idTurno = entrada.m_idTurno;
        periodo.m_tipoLibranza = entrada.m_tipoLibranza;
        periodo.m_nombre = entrada.m_nombre;
        if (entrada.m_tipoLibranza != 0) {
            periodo.m_idPersona = entrada.m_idSuplente;
            periodo.m_idAusente = entrada.m_idPersonal;
        } else {
            periodo.m_idPersona = entrada.m_idPersonal;
        }
        if (entrada.m_idTurno != -1) {
            const CTurno* turno = turnos.Buscar(entrada.m_idTurno);
            if (!turno)
                continue;
            // The second entry of a split shift belongs to the period of the first.
            if (entrada.m_hora != turno->m_horaInicial.GetHour())
                continue;
            SpanDelPeriodo(turno->m_horaInicial.GetHour(), turno->m_horaInicial.GetMinute(),
                           turno->m_horaFinal.GetHour(), turno->m_horaFinal.GetMinute(),
                           &periodo.m_inicio, &periodo.m_fin);
            periodo.m_nombreTurno = turno->m_nombre.trimmed();
        } else {
            const CExcepcion* excepcion = excepciones.Buscar(entrada.m_idPersonal, dia);
            if (!excepcion || entrada.m_hora != excepcion->m_horaInicio)
                continue;
            SpanDelPeriodo(excepcion->m_horaInicio, excepcion->m_minutoInicio, excepcion->m_horaFin,
                           excepcion->m_minutoFin, &periodo.m_inicio, &periodo.m_fin);
        }
        salida.push_back(periodo);
    }
}

QString TextoHoras(const CPeriodoTrabajo& periodo) {
    const auto hhmm = [](int minutos) {
        minutos %= 1440;
        return QStringLiteral("%1:%2")
            .arg(minutos / 60, 2, 10, QLatin1Char('0'))
            .arg(minutos % 60, 2, 10, QLatin1Char('0'));
    };
    return hhmm(periodo.m_inicio) + QChar(0x2013) + hhmm(periodo.m_fin);
}
