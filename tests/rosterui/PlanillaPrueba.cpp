#include "PlanillaPrueba.h"

#include "BdPrueba.h"
#include "FechasPlanilla.h"
#include "MotorPlanilla.h"

#include <QApplication>
#include <QStringList>
#include <map>

namespace DvPlanilla {
using DvPrueba::Sql;

void Turnos() {
    const QString w = QStringLiteral("2005/01/01 ");
    auto turno = [&](int id, const QString& nombre, const QString& ini, const QString& fin,
                     int orden, int tipo) {
        return QStringLiteral("INSERT INTO TURNOS VALUES (%1,'%2','%3','%4',%5,%6)")
            .arg(id)
            .arg(nombre, ini, fin)
            .arg(orden)
            .arg(tipo);
    };
    QStringList sql = {"INSERT INTO FUNCIONES VALUES (1, 'Urgencias')",
                       "INSERT INTO FUNCIONES VALUES (2, 'Vacío')",
                       turno(1, "M", w + "08:00:00", w + "15:00:00", 1, 1),
                       turno(2, "T", w + "15:00:00", w + "22:00:00", 1, 2),
                       turno(3, "D", w + "08:00:00", w + "22:00:00", 1, 3),
                       turno(5, "N", w + "22:00:00", w + "08:00:00", 1, 5)};
    for (int i = 0; i < 7; ++i)
        sql << turno(11 + i, "M", w + "08:00:00", w + "15:00:00", 1 + i, 4);
    for (int i = 0; i < 7; ++i)
        sql << turno(18 + i, "L", "2001/04/23 08:00:00", "2001/04/23 15:00:00", 8 + i, 4);
    Sql(sql);
}

void Persona(int id, const QString& planilla, int servicio) {
    Sql({QStringLiteral("INSERT INTO PERSONAL VALUES (%1, 'N%1', 'A%1', '%2', %3)")
             .arg(id)
             .arg(planilla)
             .arg(servicio)});
}

void Asignar(int id, int persona, const QString& dia, int turno) {
    Sql({QStringLiteral("INSERT INTO ASIG_TURNOS VALUES (%1, %2, %3, %4)")
             .arg(id)
             .arg(persona)
             .arg(dia)
             .arg(turno)});
}

CVentana::CVentana(int ancho, int alto, CCuadroPlanilla* propio)
    : ventana(std::make_unique<QWidget>()) {
    ventana->resize(ancho, alto);
    cuadro = propio ? propio : new CCuadroPlanilla;
    cuadro->CreateGrid(ventana.get(), QRect(0, 0, ancho, alto), 1015);
    ventana->show();
    QApplication::processEvents();
}

void Generar(CCuadroPlanilla& cuadro, int mes, int anio, int servicio, IProgreso* progreso) {
    CProgresoSinVentana silencioso;
    cuadro.GenerarPlanilla(mes, anio, servicio, cuadro.window(), progreso ? *progreso : silencioso);
}

QString Texto(CCellGrid& g, int c, int f) {
    CCellRecord r;
    g.GetCell(c, f, &r);
    return r.GetText();
}

int Dato(CCellGrid& g, int c, int f) {
    CCellRecord r;
    g.GetCell(c, f, &r);
    return r.GetItemData();
}

int Borde(CCellGrid& g, int c, int f) {
    CCellRecord r;
    g.GetCell(c, f, &r);
    return r.Has(CCellRecord::PropBorder) ? r.GetBorder() : -1;
}

long long ColorTexto(CCellGrid& g, int c, int f) {
    CCellRecord r;
    g.GetCell(c, f, &r);
    return r.Has(CCellRecord::PropTextColor) ? static_cast<long long>(r.GetTextColor()) : -1;
}

long long ColorFondo(CCellGrid& g, int c, int f) {
    CCellRecord r;
    g.GetCell(c, f, &r);
    return r.Has(CCellRecord::PropBackColor) ? static_cast<long long>(r.GetBackColor()) : -1;
}

QString Union(CCellGrid& g, int c, int f) {
    int c0, f0, c1, f1;
    if (g.GetJoinRange(c, f, &c0, &f0, &c1, &f1) != 0)
        return QString();
    return QStringLiteral("%1,%2-%3,%4").arg(c0).arg(f0).arg(c1).arg(f1);
}

QStringList Volcado(CCellGrid& g) {
    QStringList celdas;
    for (int f = 0; f <= g.GetRowCount(); ++f)
        for (int c = 0; c < g.GetColumnCount(); ++c)
            celdas << QStringLiteral("%1|%2|%3|%4|%5")
                          .arg(Texto(g, c, f))
                          .arg(Dato(g, c, f))
                          .arg(Borde(g, c, f))
                          .arg(ColorFondo(g, c, f))
                          .arg(Union(g, c, f));
    return celdas;
}

QString ComprobarMes(CCuadroPlanilla& cuadro, int mes, int anio, int servicio) {
    CMotorPlanilla motor;
    motor.m_mes = mes;
    motor.m_anio = anio;
    motor.m_servicio = servicio;
    CListaReferencias refs;
    CargarReferencias(motor, refs);
    motor.CargarLibranzas(refs);

    const int dias = DiasDelMes(mes, anio);
    const int filas = cuadro.GetRowCount();
    // Where each day's number stands.
    std::map<int, int> filaDelDia;
    for (int f = 0; f < filas; ++f)
        for (int c = 1; c < 14; c += 2) {
            CCellRecord r;
            cuadro.GetCell(c, f, &r);
            if (!r.Has(CCellRecord::PropItemData))
                continue;
            const CDateTime fecha = CDateTime::FromDays(r.GetItemData());
            if (fecha.GetMonth() != mes || fecha.GetYear() != anio)
                return QStringLiteral("fecha ajena en %1,%2").arg(c).arg(f);
            if (filaDelDia.count(fecha.GetDay()))
                return QStringLiteral("el día %1 aparece dos veces").arg(fecha.GetDay());
            if (c != 2 * DiaDeSemana(fecha) - 1)
                return QStringLiteral("el día %1 no está en su columna").arg(fecha.GetDay());
            if (r.GetText() != QString::number(fecha.GetDay()))
                return QStringLiteral("texto del día %1: %2").arg(fecha.GetDay()).arg(r.GetText());
            filaDelDia[fecha.GetDay()] = f;
        }
    if (static_cast<int>(filaDelDia.size()) != dias)
        return QStringLiteral("%1 días escritos de %2").arg(filaDelDia.size()).arg(dias);

    for (int d = 1; d <= dias; ++d) {
        const CDateTime fecha(anio, mes, d);
        const int w = DiaDeSemana(fecha);
        const int inicio = filaDelDia[d];
        // The week ends where the next week's day numbers stand.
        int fin = filas;
        for (int e = d + 1; e <= dias; ++e)
            if (DiaDeSemana(CDateTime(anio, mes, e)) == 1) {
                fin = filaDelDia[e];
                break;
            }
        // Days of one week share the start row.
        const int lunes = std::max(1, d - w + 1);
        if (filaDelDia[lunes] != inicio)
            return QStringLiteral("el día %1 no empieza con su semana").arg(d);
        CListaPlanDia plan;
        motor.CalcularDia(refs, fecha, plan);
        QStringList esperado, escrito;
        for (const CPlanDia& e : plan)
            esperado << e.m_nombre;
        int horaAnterior = -1;
        for (int f = inicio; f < fin; ++f) {
            const QString t = Texto(cuadro, 2 * w - 2, f);
            if (!t.isEmpty())
                escrito << t;
            const int hora = Dato(cuadro, 2 * w - 2, f);
            if (f > inicio && hora < horaAnterior)
                return QStringLiteral("horas desordenadas el día %1").arg(d);
            horaAnterior = hora;
            // Lined up: every day of the week written in the month has the same hour here.
            const int otro = lunes == d ? std::min(dias, d + 1) : lunes;
            const int wo = DiaDeSemana(CDateTime(anio, mes, otro));
            if (otro != d && filaDelDia[otro] == inicio && !plan.empty() &&
                Dato(cuadro, 2 * wo - 2, f) != hora)
                return QStringLiteral("fila %1 no alineada entre los días %2 y %3")
                    .arg(f)
                    .arg(d)
                    .arg(otro);
            if (f > inicio && f - inicio < static_cast<int>(plan.size()) &&
                Union(cuadro, 2 * w - 2, f) !=
                    QStringLiteral("%1,%2-%3,%2").arg(2 * w - 2).arg(f).arg(2 * w - 1))
                return QStringLiteral("nombre sin unir el día %1 fila %2").arg(d).arg(f);
        }
        if (escrito != esperado)
            return QStringLiteral("día %1: [%2] en vez de [%3]")
                .arg(d)
                .arg(escrito.join(','), esperado.join(','));
    }
    return QString();
}
} // namespace DvPlanilla
