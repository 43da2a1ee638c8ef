// Speed of the month build through the roster grid, as the roster view runs it: the
// grid shown in a window 1000 pixels wide, GenerarPlanilla writing the month (texts,
// colours, borders, joins and the repaint at its end) and the paint that follows, on
// generated files of one service of 500 and 2000 workers. Built month: June 2024.
//
// The files are made once under the system's temporary folder (dravonela-bench/) and
// kept for later runs. Each run rebuilds the same grid, so the emptying of the previous
// month is part of it, as when the planner presses "Generar" again.

#include "BenchBd.h"

#include "BenchMain.h"
#include "CuadroPlanilla.h"
#include "DbConnection.h"
#include "Progreso.h"

#include <QApplication>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <memory>

namespace {
constexpr int Anio = 2024;
constexpr int Mes = 6;
constexpr int Servicio = 1;

bool Abrir(int trabajadores) {
    return DvBench::AbrirConexion(DvBench::Fichero(QStringLiteral("cuadro-v1-%1").arg(trabajadores),
                                                   trabajadores, Anio, 1, 11));
}

// The roster view's grid: a shown window of the view's usual size.
struct Ventana {
    std::unique_ptr<QWidget> ventana = std::make_unique<QWidget>();
    CCuadroPlanilla* cuadro = new CCuadroPlanilla;
    Ventana() {
        ventana->resize(1000, 600);
        cuadro->CreateGrid(ventana.get(), QRect(0, 0, 1000, 600), 1015);
        ventana->show();
        QApplication::processEvents();
    }
};

void GenerarMes(benchmark::State& estado) {
    if (!Abrir(static_cast<int>(estado.range(0)))) {
        estado.SkipWithError("sin base de datos");
        return;
    }
    Ventana v;
    CProgresoSinVentana progreso;
    v.cuadro->GenerarPlanilla(Mes, Anio, Servicio, v.ventana.get(), progreso); // indexes
    QApplication::processEvents();
    for (auto _ : estado) {
        CProgresoSinVentana p;
        v.cuadro->GenerarPlanilla(Mes, Anio, Servicio, v.ventana.get(), p);
        QApplication::processEvents(); // the paint of the new month
    }
    estado.counters["filas"] = v.cuadro->GetRowCount();
}
BENCHMARK(GenerarMes)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
} // namespace

int main(int argc, char** argv) {
    const int result = RunWidgetBenchmarks(argc, argv);
    CDbConnection::Instance().Reset();
    return result;
}
