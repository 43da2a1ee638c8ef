#include "ReglasServicio.h"

#include "Filas.h"

int CReglasServicio::IndicePeriodo(int hora) {
    for (int i = 0; i < Periodos; ++i)
        if (HoraPeriodo[i] == hora)
            return i;
    return -1;
}

QString CReglasServicio::Validar() const {
    if (m_descansoMinimo < 0 || m_descansoMinimo > MaxDescanso)
        return QStringLiteral("El descanso mínimo entre turnos debe ser de 0 a %1 horas.")
            .arg(MaxDescanso);
    if (m_descansoSemanal < 0 || m_descansoSemanal > MaxSemanal)
        return QStringLiteral("El descanso semanal debe ser de 0 a %1 horas.").arg(MaxSemanal);
    if (m_nochesSeguidas < 0 || m_nochesSeguidas > MaxNoches)
        return QStringLiteral("El máximo de noches seguidas debe ser de 0 (sin límite) a %1.")
            .arg(MaxNoches);
    for (int i = 0; i < Periodos; ++i) {
        if (!m_hayMinimo[i])
            continue;
        if (m_minimoLaborable[i] < 0 || m_minimoLaborable[i] > MaxMinimo ||
            m_minimoFestivo[i] < 0 || m_minimoFestivo[i] > MaxMinimo)
            return QStringLiteral("Los mínimos de personas deben ser de 0 a %1.").arg(MaxMinimo);
    }
    return QString();
}

bool HayTablasReglas() {
    int tablas = 0;
    DvFilas::Recorrer(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND "
                                     "upper(name) IN ('REGLAS_SERVICIO', 'MINIMOS_COBERTURA')"),
                      [&](const CDbRecordset& fila) { tablas = fila.GetInt(0); });
    return tablas == 2;
}

bool LeerReglas(int servicio, CReglasServicio& reglas) {
    reglas = CReglasServicio();
    if (!HayTablasReglas())
        return true;
    // A stored NULL (a row written by another tool) keeps the default of its value.
    bool ok = DvFilas::Recorrer(
        QStringLiteral("SELECT DESCANSO_MINIMO, DESCANSO_SEMANAL, NOCHES_SEGUIDAS FROM "
                       "REGLAS_SERVICIO WHERE ID_SERVICIO = %1 ORDER BY ID LIMIT 1")
            .arg(servicio),
        [&](const CDbRecordset& fila) {
            if (!fila.IsNull(0))
                reglas.m_descansoMinimo = fila.GetInt(0);
            if (!fila.IsNull(1))
                reglas.m_descansoSemanal = fila.GetInt(1);
            if (!fila.IsNull(2))
                reglas.m_nochesSeguidas = fila.GetInt(2);
        });
    // The first row of a period counts (rows in ID order).
    ok = DvFilas::Recorrer(QStringLiteral("SELECT PERIODO, MINIMO_LABORABLE, MINIMO_FESTIVO FROM "
                                          "MINIMOS_COBERTURA WHERE ID_SERVICIO = %1 ORDER BY ID")
                               .arg(servicio),
                           [&](const CDbRecordset& fila) {
                               const int i = CReglasServicio::IndicePeriodo(fila.GetInt(0));
                               if (i < 0 || reglas.m_hayMinimo[i])
                                   return;
                               reglas.m_hayMinimo[i] = true;
                               reglas.m_minimoLaborable[i] = qMax(0, fila.GetInt(1));
                               reglas.m_minimoFestivo[i] = qMax(0, fila.GetInt(2));
                           }) &&
         ok;
    return ok;
}
