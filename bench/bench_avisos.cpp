// What the warnings checker adds to a month: the month build's engine calls alone, and
// the same followed by the checker on the month data they read (as the roster view runs
// it after "Generar"), in the same run. Generated files as for the engine benchmark:
// one service of 50 or 500 workers with 1, 5 or 20 years of history, June of the last
// year (and May, whose first and last weeks reach into both neighbouring months); the
// service has coverage minimums for its three periods, so every check runs.
//
//   PlanesMes          references, leave, the day plan and the holiday test of every day
//   PlanesMesYAvisos   the same, then the service's rules and every check of the month
//   AvisosTrasPlanes   the checker alone, on a month computed once before
//   AvisosSolos        the checker on its own, reading the month itself (the headless
//                      command)
//
// The files are made once under the system's temporary folder (dravonela-bench/) and
// kept for later runs.

#include "BenchBd.h"

#include "Avisos.h"
#include "DbConnection.h"
#include "DbQuery.h"
#include "FechasPlanilla.h"
#include "MotorPlanilla.h"
#include "ReglasServicio.h"

#include <benchmark/benchmark.h>
#include <set>

namespace {
constexpr int UltimoAnio = 2024;
constexpr int Servicio = 1;

bool Abrir(int trabajadores, int anios) {
    // The coverage minimums are written the first time a file is used in this run.
    static std::set<std::pair<int, int>> usados;
    const bool nuevo = usados.insert(std::make_pair(trabajadores, anios)).second;
    if (!DvBench::AbrirConexion(
            DvBench::Fichero(QStringLiteral("avisos-v1-%1-%2").arg(trabajadores).arg(anios),
                             trabajadores, UltimoAnio - anios + 1, anios, 7)))
        return false;
    if (nuevo) {
        // About a third of the service in each period on weekdays, fewer on holidays.
        const int laborable = trabajadores / 3;
        CDbQuery consulta;
        consulta.ExecuteCommand(QStringLiteral("DELETE FROM MINIMOS_COBERTURA"));
        for (int i = 0; i < CReglasServicio::Periodos; ++i)
            consulta.ExecuteCommand(QStringLiteral("INSERT INTO MINIMOS_COBERTURA VALUES "
                                                   "(%1, %2, %3, %4, %5)")
                                        .arg(i + 1)
                                        .arg(Servicio)
                                        .arg(CReglasServicio::HoraPeriodo[i])
                                        .arg(laborable)
                                        .arg(laborable / 2));
    }
    return true;
}

// The month build's engine calls, keeping what the roster grid keeps for the checker:
// the context with the month's data, the references and the day plans.
struct CMes {
    CMotorPlanilla motor;
    CListaReferencias refs;
    std::vector<CListaPlanDia> planes;
};

int PlanesDelMes(CMes& mes, int m) {
    CMotorPlanilla& motor = mes.motor;
    motor.m_mes = m;
    motor.m_anio = UltimoAnio;
    motor.m_servicio = Servicio;
    CargarReferencias(motor, mes.refs);
    motor.CargarLibranzas(mes.refs);
    CListaPlanDia plan;
    int entradas = 0;
    for (int dia = 1; dia <= DiasDelMes(m, UltimoAnio); ++dia) {
        const CDateTime fecha(UltimoAnio, m, dia);
        CalcularDia(motor, mes.refs, fecha, plan);
        mes.planes.push_back(plan);
        entradas += static_cast<int>(plan.size()) + motor.EsFestivo(fecha);
    }
    return entradas;
}

int Avisos(CMes* mes, int m) {
    CReglasServicio reglas;
    LeerReglas(Servicio, reglas);
    CMesCalculado calculado;
    if (mes) {
        calculado.m_motor = &mes->motor;
        calculado.m_referencias = &mes->refs;
        calculado.m_planes = &mes->planes;
    }
    return static_cast<int>(ComprobarPlanilla(m, UltimoAnio, Servicio, reglas,
                                              QTimeZone("Europe/Madrid"),
                                              mes ? &calculado : nullptr)
                                .size());
}

int MesDe(const benchmark::State& estado) {
    return static_cast<int>(estado.range(2));
}

bool Preparar(benchmark::State& estado) {
    if (!Abrir(static_cast<int>(estado.range(0)), static_cast<int>(estado.range(1)))) {
        estado.SkipWithError("sin base de datos");
        return false;
    }
    CMes mes; // the first use adds the engine's indexes to a new file
    PlanesDelMes(mes, MesDe(estado));
    estado.counters["avisos"] = Avisos(&mes, MesDe(estado));
    return true;
}

void PlanesMes(benchmark::State& estado) {
    if (!Preparar(estado))
        return;
    for (auto _ : estado) {
        CMes mes;
        benchmark::DoNotOptimize(PlanesDelMes(mes, MesDe(estado)));
    }
}

void PlanesMesYAvisos(benchmark::State& estado) {
    if (!Preparar(estado))
        return;
    for (auto _ : estado) {
        CMes mes;
        benchmark::DoNotOptimize(PlanesDelMes(mes, MesDe(estado)));
        benchmark::DoNotOptimize(Avisos(&mes, MesDe(estado)));
    }
}

void AvisosTrasPlanes(benchmark::State& estado) {
    if (!Preparar(estado))
        return;
    CMes mes;
    PlanesDelMes(mes, MesDe(estado));
    for (auto _ : estado)
        benchmark::DoNotOptimize(Avisos(&mes, MesDe(estado)));
}

void AvisosSolos(benchmark::State& estado) {
    if (!Preparar(estado))
        return;
    for (auto _ : estado)
        benchmark::DoNotOptimize(Avisos(nullptr, MesDe(estado)));
}

// June, as the engine's benchmark, for every size; May (which needs days of both
// neighbouring months) for the large service.
void Tamanos(benchmark::internal::Benchmark* b) {
    for (int trabajadores : {50, 500})
        for (int anios : {1, 5, 20})
            b->Args({trabajadores, anios, 6});
    for (int anios : {1, 20})
        b->Args({500, anios, 5});
    b->ArgNames({"trabajadores", "anios", "mes"});
}
} // namespace
BENCHMARK(PlanesMes)
    ->Apply(Tamanos)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(PlanesMesYAvisos)
    ->Apply(Tamanos)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(AvisosTrasPlanes)
    ->Apply(Tamanos)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(AvisosSolos)
    ->Apply(Tamanos)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
