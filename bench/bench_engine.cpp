// Speed of the roster engine on generated files: one service of 50 or 500 workers with
// 1, 5 or 20 years of history (about one exception per worker a week, three leave
// periods per worker a year, one reference assignment per worker a year), two more
// services of 20 workers beside it. Built month: June of the last year of history.
//
//   PlanesMes     the month build's engine calls: references, leave, the day plan and
//                 the holiday test of every day of the month
//   Informe       the monthly report of the service
//   *Referencia   the same with the plain one-query-at-a-time implementation (the tests'
//                 yardstick), to show the factor between the two
//
// The files are made once under the system's temporary folder (dravonela-bench/) and
// kept for later runs.

#include "../tests/roster/GeneradorBd.h"
#include "../tests/roster/ReferenciaPorConsulta.h"

#include "DbConnection.h"
#include "FechasPlanilla.h"
#include "Informe.h"
#include "MotorPlanilla.h"

#include <QDir>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {
constexpr int UltimoAnio = 2024;
constexpr int Mes = 6;
constexpr int Servicio = 1;

// Opens (making it first when needed) the file for a size and a history.
bool Abrir(int trabajadores, int anios) {
    static std::map<std::pair<int, int>, QString> hechos;
    const auto clave = std::make_pair(trabajadores, anios);
    QString ruta;
    auto it = hechos.find(clave);
    if (it != hechos.end()) {
        ruta = it->second;
    } else {
        const QString carpeta = QDir::tempPath() + QStringLiteral("/dravonela-bench");
        QDir().mkpath(carpeta);
        ruta = carpeta + QStringLiteral("/motor-v1-%1-%2.mdb").arg(trabajadores).arg(anios);
        if (!QFileInfo::exists(ruta)) {
            DvGenerador::COpciones op;
            op.servicios = 1;
            op.trabajadores = trabajadores;
            op.anioInicio = UltimoAnio - anios + 1;
            op.anios = anios;
            op.semilla = 7;
            op.formasVariadas = false;
            op.libranzasPorAnio = 1;
            op.asignacionesPorAnio = 1;
            DvGenerador::CGenerador generador(op);
            QString error;
            const QString temporal = ruta + QStringLiteral(".tmp");
            if (!generador.Generar(temporal, error) || !QFile::rename(temporal, ruta)) {
                std::fprintf(stderr, "no se pudo generar %s: %s\n", qPrintable(ruta),
                             qPrintable(error));
                return false;
            }
        }
        hechos[clave] = ruta;
    }
    CDbConnection& conexion = CDbConnection::Instance();
    if (conexion.IsOpen() && conexion.Path() == ruta)
        return true;
    conexion.Reset();
    conexion.SetErrorSink([](const QString& texto) {
        std::fprintf(stderr, "error de base de datos: %s\n", qPrintable(texto));
    });
    return conexion.OpenFile(ruta, QString());
}

// The engine calls of the month build; returns the number of entries (kept alive).
int PlanesDelMes() {
    CMotorPlanilla motor;
    motor.m_mes = Mes;
    motor.m_anio = UltimoAnio;
    motor.m_servicio = Servicio;
    CListaReferencias refs;
    CargarReferencias(motor, refs);
    motor.CargarLibranzas(refs);
    CListaPlanDia plan;
    int entradas = 0;
    for (int dia = 1; dia <= DiasDelMes(Mes, UltimoAnio); ++dia) {
        const CDateTime fecha(UltimoAnio, Mes, dia);
        CalcularDia(motor, refs, fecha, plan);
        entradas += static_cast<int>(plan.size()) + motor.EsFestivo(fecha);
    }
    return entradas;
}

int PlanesDelMesReferencia() {
    CListaReferencias refs;
    DvRef::CargarReferencias(Mes, UltimoAnio, Servicio, refs);
    const DvRef::CLibs libranzas = DvRef::CargarLibranzas(refs, false);
    CListaPlanDia plan;
    int entradas = 0;
    for (int dia = 1; dia <= DiasDelMes(Mes, UltimoAnio); ++dia) {
        const CDateTime fecha(UltimoAnio, Mes, dia);
        DvRef::CalcularDia(refs, libranzas, fecha, plan);
        entradas += static_cast<int>(plan.size()) + DvRef::EsFestivo(fecha);
    }
    return entradas;
}

void PlanesMes(benchmark::State& estado) {
    if (!Abrir(static_cast<int>(estado.range(0)), static_cast<int>(estado.range(1)))) {
        estado.SkipWithError("sin base de datos");
        return;
    }
    PlanesDelMes(); // the first use adds the engine's indexes to a new file
    for (auto _ : estado)
        benchmark::DoNotOptimize(PlanesDelMes());
}

void PlanesMesReferencia(benchmark::State& estado) {
    if (!Abrir(static_cast<int>(estado.range(0)), static_cast<int>(estado.range(1)))) {
        estado.SkipWithError("sin base de datos");
        return;
    }
    PlanesDelMes();
    for (auto _ : estado)
        benchmark::DoNotOptimize(PlanesDelMesReferencia());
}

void Informe(benchmark::State& estado) {
    if (!Abrir(static_cast<int>(estado.range(0)), static_cast<int>(estado.range(1)))) {
        estado.SkipWithError("sin base de datos");
        return;
    }
    PlanesDelMes();
    for (auto _ : estado) {
        CProgresoSinVentana progreso;
        QString texto;
        GenerarInforme(Mes, UltimoAnio, Servicio, texto, progreso);
        benchmark::DoNotOptimize(texto.size());
    }
}

void InformeReferencia(benchmark::State& estado) {
    if (!Abrir(static_cast<int>(estado.range(0)), static_cast<int>(estado.range(1)))) {
        estado.SkipWithError("sin base de datos");
        return;
    }
    PlanesDelMes();
    for (auto _ : estado)
        benchmark::DoNotOptimize(DvRef::GenerarInforme(Mes, UltimoAnio, Servicio).size());
}

void Tamanos(benchmark::internal::Benchmark* b) {
    for (int trabajadores : {50, 500})
        for (int anios : {1, 5, 20})
            b->Args({trabajadores, anios});
    b->ArgNames({"trabajadores", "anios"});
}
} // namespace

BENCHMARK(PlanesMes)->Apply(Tamanos)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(Informe)->Apply(Tamanos)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(PlanesMesReferencia)->Apply(Tamanos)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(InformeReferencia)->Apply(Tamanos)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
