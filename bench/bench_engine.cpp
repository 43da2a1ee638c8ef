// Speed of the roster engine on generated files: one service of 50 or 500 workers with
// 1, 5 or 20 years of history (about one exception per worker a week, one period of each
// kind of leave per worker a year, one reference assignment per worker a year). Built
// month: June of the first (anio 0), a middle (1) or the last (2) year of the history,
// so a cost that grows with the history shows.
//
//   PlanesMes     the month build's engine calls: references, leave, the day plan and
//                 the holiday test of every day of the month. Counters: mediana_ms (its
//                 median), lectura_ms (the median of one plain read of the same rows
//                 straight from SQLite, in the same run) and proporcion (the two divided)
//   Informe       the monthly report of the service (counter mediana_ms)
//   LecturaPlana  the plain read alone
//   *Referencia   the same with the plain one-query-at-a-time implementation (the tests'
//                 yardstick), to show the factor between the two (last year only)
//
// The files are made once under the system's temporary folder (dravonela-bench/) and
// kept for later runs.

#include "../tests/roster/ReferenciaPorConsulta.h"
#include "BenchBd.h"

#include "DbConnection.h"
#include "FechasPlanilla.h"
#include "Informe.h"
#include "MotorPlanilla.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace {
constexpr int UltimoAnio = 2024;
constexpr int Mes = 6;
constexpr int Servicio = 1;

// The year built for a history of `anios` years: 0 the first, 1 the middle, 2 the last.
int AnioDe(int anios, int cual) {
    const int primero = UltimoAnio - anios + 1;
    return cual == 0 ? primero : cual == 1 ? primero + anios / 2 : UltimoAnio;
}

double Mediana(std::vector<double> tiempos) {
    if (tiempos.empty())
        return 0.0;
    std::sort(tiempos.begin(), tiempos.end());
    return tiempos[tiempos.size() / 2];
}

template <class F> double Milisegundos(F&& f) {
    const auto inicio = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - inicio)
        .count();
}

// Opens (making it first when needed) the file for a size and a history.
bool Abrir(int trabajadores, int anios) {
    return DvBench::AbrirConexion(
        DvBench::Fichero(QStringLiteral("motor-v1-%1-%2").arg(trabajadores).arg(anios),
                         trabajadores, UltimoAnio - anios + 1, anios, 7));
}

// The engine calls of the month build; returns the number of entries (kept alive).
int PlanesDelMes(int anio) {
    CMotorPlanilla motor;
    motor.m_mes = Mes;
    motor.m_anio = anio;
    motor.m_servicio = Servicio;
    CListaReferencias refs;
    CargarReferencias(motor, refs);
    motor.CargarLibranzas(refs);
    CListaPlanDia plan;
    int entradas = 0;
    for (int dia = 1; dia <= DiasDelMes(Mes, anio); ++dia) {
        const CDateTime fecha(anio, Mes, dia);
        CalcularDia(motor, refs, fecha, plan);
        entradas += static_cast<int>(plan.size()) + motor.EsFestivo(fecha);
    }
    return entradas;
}

int PlanesDelMesReferencia(int anio) {
    CListaReferencias refs;
    DvRef::CargarReferencias(Mes, anio, Servicio, refs);
    const DvRef::CLibs libranzas = DvRef::CargarLibranzas(refs, false);
    CListaPlanDia plan;
    int entradas = 0;
    for (int dia = 1; dia <= DiasDelMes(Mes, anio); ++dia) {
        const CDateTime fecha(anio, Mes, dia);
        DvRef::CalcularDia(refs, libranzas, fecha, plan);
        entradas += static_cast<int>(plan.size()) + DvRef::EsFestivo(fecha);
    }
    return entradas;
}

// One plain read, straight from SQLite, of the rows the month build uses: the service's
// workers and their assignments before the 28th, every shift and holiday, the month's
// exceptions and personal days through their date indexes, the vacations and sick leave
// that touch the month by row ID (as fast as any index could give them), and the
// substitutes' names. Every value is copied out, nothing is computed. The bench files
// hold dates in the program's own form only, so plain text comparisons find them.
class CLecturaPlana {
public:
    explicit CLecturaPlana(int anio) {
        const QDate primero(anio, Mes, 1);
        m_desde = primero.toString(QStringLiteral("yyyy/MM/dd")).toStdString();
        m_hasta = primero.addMonths(1).toString(QStringLiteral("yyyy/MM/dd")).toStdString();
        m_limite = QDate(anio, Mes, 28).toString(QStringLiteral("yyyy/MM/dd")).toStdString();
        // The leave rows that touch the month, found beforehand.
        for (const char* tabla : {"VACACIONES", "BAJAS"}) {
            std::string ids;
            Filas(std::string("SELECT ID, ID_SUPLENTE FROM ") + tabla + " WHERE FINAL >= '" +
                      m_desde + "' AND INICIO < '" + m_hasta + "'",
                  [&](sqlite3_stmt* st) {
                      ids += (ids.empty() ? "" : ",") + std::to_string(sqlite3_column_int(st, 0));
                      if (sqlite3_column_int(st, 1) > 0)
                          m_suplentes += (m_suplentes.empty() ? "" : ",") +
                                         std::to_string(sqlite3_column_int(st, 1));
                  });
            m_libranzas.push_back(std::string("SELECT ID, ID_PERSONAL, INICIO, FINAL, "
                                              "ID_SUPLENTE FROM ") +
                                  tabla + " WHERE ID IN (" + ids + ")");
        }
        Filas("SELECT ID_SUPLENTE FROM DIASPERSONALES WHERE INICIO >= '" + m_desde +
                  "' AND INICIO < '" + m_hasta + "' AND ID_SUPLENTE > 0",
              [&](sqlite3_stmt* st) {
                  m_suplentes +=
                      (m_suplentes.empty() ? "" : ",") + std::to_string(sqlite3_column_int(st, 0));
              });
    }

    // Returns the number of values read.
    long Leer() const {
        long valores = 0;
        const auto copiar = [&](sqlite3_stmt* st) {
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                if (sqlite3_column_type(st, c) == SQLITE_TEXT)
                    m_texto.assign(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                   static_cast<std::size_t>(sqlite3_column_bytes(st, c)));
                else
                    m_numero = sqlite3_column_double(st, c);
                ++valores;
            }
        };
        const std::string servicio = std::to_string(Servicio);
        Filas("SELECT ID, NOMBREPLANILLA FROM PERSONAL WHERE ID_FUNCION = " + servicio, copiar);
        Filas("SELECT ASIG_TURNOS.ID_PERSONAL, ASIG_TURNOS.ID, ID_TURNO, DIA_REF FROM PERSONAL, "
              "ASIG_TURNOS WHERE PERSONAL.ID = ASIG_TURNOS.ID_PERSONAL AND ID_FUNCION = " +
                  servicio + " AND DIA_REF < '" + m_limite + "'",
              copiar);
        Filas("SELECT ID, ORDEN, ID_TIPOTURNO, HORAINICIAL, HORAFINAL, NOMBRE FROM TURNOS", copiar);
        Filas("SELECT DIA, CICLICO FROM FIESTAS", copiar);
        Filas("SELECT ID, ID_PERSONAL, DIA, TIPO, HORAINICIAL, HORAFINAL FROM EXCEPCIONES "
              "WHERE DIA >= '" +
                  m_desde + "' AND DIA < '" + m_hasta + "'",
              copiar);
        Filas("SELECT ID, ID_PERSONAL, INICIO, ID_SUPLENTE FROM DIASPERSONALES WHERE INICIO >= '" +
                  m_desde + "' AND INICIO < '" + m_hasta + "'",
              copiar);
        for (const std::string& sql : m_libranzas)
            Filas(sql, copiar);
        Filas("SELECT ID, NOMBREPLANILLA FROM PERSONAL WHERE ID IN (" + m_suplentes + ")", copiar);
        return valores;
    }

private:
    template <class F> static void Filas(const std::string& sql, F&& fila) {
        sqlite3* db = CDbConnection::Instance().Handle();
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK)
            while (sqlite3_step(st) == SQLITE_ROW)
                fila(st);
        sqlite3_finalize(st);
    }

    std::string m_desde, m_hasta, m_limite, m_suplentes;
    std::vector<std::string> m_libranzas;
    mutable std::string m_texto;
    mutable double m_numero = 0.0;
};

bool Preparar(benchmark::State& estado, int& anio) {
    const int anios = static_cast<int>(estado.range(1));
    anio = AnioDe(anios, static_cast<int>(estado.range(2)));
    if (!Abrir(static_cast<int>(estado.range(0)), anios)) {
        estado.SkipWithError("sin base de datos");
        return false;
    }
    PlanesDelMes(anio); // the first use fills SQLite's page cache
    return true;
}

void PlanesMes(benchmark::State& estado) {
    int anio = 0;
    if (!Preparar(estado, anio))
        return;
    const CLecturaPlana lectura(anio);
    std::vector<double> motor, plana;
    for (auto _ : estado) {
        motor.push_back(Milisegundos([&] { benchmark::DoNotOptimize(PlanesDelMes(anio)); }));
        estado.PauseTiming();
        plana.push_back(Milisegundos([&] { benchmark::DoNotOptimize(lectura.Leer()); }));
        estado.ResumeTiming();
    }
    estado.counters["mediana_ms"] = Mediana(motor);
    estado.counters["lectura_ms"] = Mediana(plana);
    estado.counters["proporcion"] = Mediana(motor) / std::max(Mediana(plana), 1e-6);
}

void LecturaPlana(benchmark::State& estado) {
    int anio = 0;
    if (!Preparar(estado, anio))
        return;
    const CLecturaPlana lectura(anio);
    for (auto _ : estado)
        benchmark::DoNotOptimize(lectura.Leer());
}

void PlanesMesReferencia(benchmark::State& estado) {
    int anio = 0;
    if (!Preparar(estado, anio))
        return;
    for (auto _ : estado)
        benchmark::DoNotOptimize(PlanesDelMesReferencia(anio));
}

void Informe(benchmark::State& estado) {
    int anio = 0;
    if (!Preparar(estado, anio))
        return;
    std::vector<double> tiempos;
    for (auto _ : estado) {
        tiempos.push_back(Milisegundos([&] {
            CProgresoSinVentana progreso;
            QString texto;
            GenerarInforme(Mes, anio, Servicio, texto, progreso);
            benchmark::DoNotOptimize(texto.size());
        }));
    }
    estado.counters["mediana_ms"] = Mediana(tiempos);
}

void InformeReferencia(benchmark::State& estado) {
    int anio = 0;
    if (!Preparar(estado, anio))
        return;
    for (auto _ : estado)
        benchmark::DoNotOptimize(DvRef::GenerarInforme(Mes, anio, Servicio).size());
}

// Sizes and histories; with more than one year of history, its first, middle and last
// year.
void Tamanos(benchmark::internal::Benchmark* b) {
    for (int trabajadores : {50, 500})
        for (int anios : {1, 5, 20})
            for (int cual = anios == 1 ? 2 : 0; cual <= 2; ++cual)
                b->Args({trabajadores, anios, cual});
    b->ArgNames({"trabajadores", "anios", "anio"});
}

void UltimoAnioSolo(benchmark::internal::Benchmark* b) {
    for (int trabajadores : {50, 500})
        for (int anios : {1, 5, 20})
            b->Args({trabajadores, anios, 2});
    b->ArgNames({"trabajadores", "anios", "anio"});
}
} // namespace

BENCHMARK(PlanesMes)
    ->Apply(Tamanos)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(Informe)
    ->Apply(Tamanos)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(LecturaPlana)
    ->Apply(Tamanos)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(PlanesMesReferencia)->Apply(UltimoAnioSolo)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(InformeReferencia)->Apply(UltimoAnioSolo)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
