// Speed of the month build through the roster grid, as the roster view runs it: the
// grid shown in a window 1000 pixels wide, GenerarPlanilla writing the month (texts,
// colours, borders, joins and the repaint at its end) and the paint that follows, on
// generated files of one service of 500 and 2000 workers. Built month: June 2024.
//
// The files are made once under the system's temporary folder (dravonela-bench/) and
// kept for later runs. Each run rebuilds the same grid, so the emptying of the previous
// month is part of it, as when the planner presses "Generar" again.

#include "../tests/roster/GeneradorBd.h"

#include "BenchMain.h"
#include "CuadroPlanilla.h"
#include "DbConnection.h"
#include "Progreso.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>

namespace {
constexpr int Anio = 2024;
constexpr int Mes = 6;
constexpr int Servicio = 1;

bool Abrir(int trabajadores) {
    static std::map<int, QString> hechos;
    QString ruta;
    if (auto it = hechos.find(trabajadores); it != hechos.end()) {
        ruta = it->second;
    } else {
        const QString carpeta = QDir::tempPath() + QStringLiteral("/dravonela-bench");
        QDir().mkpath(carpeta);
        ruta = carpeta + QStringLiteral("/cuadro-v1-%1.mdb").arg(trabajadores);
        if (!QFileInfo::exists(ruta)) {
            DvGenerador::COpciones op;
            op.servicios = 1;
            op.trabajadores = trabajadores;
            op.anioInicio = Anio;
            op.anios = 1;
            op.semilla = 11;
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
        hechos[trabajadores] = ruta;
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
