// What the safety of the file costs the planner:
//
//   Verificar/Argon2id   checking the password at each start (libsodium, interactive
//                        limits), beside
//   Verificar/Pbkdf2     the verifier of earlier versions (20,000 iterations)
//   Copia                the copy taken before the first change of a run, of a file of
//                        500 workers with their history (backup, check, write)
//   Comprobacion         the quick check run when the window program opens that file

#include "../tests/roster/GeneradorBd.h"

#include "CopiaSeguridad.h"
#include "DbConnection.h"
#include "Password.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {
void VerificarArgon2id(benchmark::State& state) {
    const QString verificador = DvPassword::MakeVerifier(QStringLiteral("pradoluminar"));
    for (auto _ : state)
        benchmark::DoNotOptimize(DvPassword::Verify(QStringLiteral("pradoluminar"), verificador));
}
BENCHMARK(VerificarArgon2id)->Name("Verificar/Argon2id")->Unit(benchmark::kMillisecond);

void VerificarPbkdf2(benchmark::State& state) {
    const QString verificador = DvPassword::MakePbkdf2Verifier(QStringLiteral("pradoluminar"));
    for (auto _ : state)
        benchmark::DoNotOptimize(DvPassword::Verify(QStringLiteral("pradoluminar"), verificador));
}
BENCHMARK(VerificarPbkdf2)->Name("Verificar/Pbkdf2")->Unit(benchmark::kMillisecond);

// A file of 500 workers and five years of history, made once per run.
const QString& Fichero() {
    static QTemporaryDir carpeta;
    static const QString ruta = [] {
        const QString r = carpeta.filePath(QStringLiteral("grande.mdb"));
        DvGenerador::COpciones op;
        op.servicios = 1;
        op.trabajadores = 500;
        op.anioInicio = 2020;
        op.anios = 5;
        QString error;
        if (!DvGenerador::CGenerador(op).Generar(r, error))
            std::fprintf(stderr, "no se pudo generar %s: %s\n", qPrintable(r), qPrintable(error));
        return r;
    }();
    return ruta;
}

void Copia(benchmark::State& state) {
    QTemporaryDir destino;
    CDbConnection conexion;
    conexion.OpenFile(Fichero(), QString());
    int n = 0;
    for (auto _ : state) {
        const DvCopia::CResultado r =
            DvCopia::Copiar(conexion.Handle(), destino.path(),
                            QDateTime(QDate(2024, 1, 1), QTime(0, 0)).addSecs(n++), 0);
        if (r.estado != DvCopia::Estado::Hecha)
            state.SkipWithError(r.mensaje.toLocal8Bit().constData());
    }
}
BENCHMARK(Copia)->Unit(benchmark::kMillisecond);

void Comprobacion(benchmark::State& state) {
    CDbConnection conexion;
    conexion.OpenFile(Fichero(), QString());
    for (auto _ : state)
        benchmark::DoNotOptimize(DvCopia::Integridad(conexion.Handle(), true));
}
BENCHMARK(Comprobacion)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
