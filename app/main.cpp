// The program's entry: a headless command named by the first word, the general help
// and version, or the window program.

#include "CommandLineInfo.h"
#include "Commands.h"

#include <QString>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <cstring>

#ifndef DV_VERSION
#define DV_VERSION "?"
#endif

namespace {
// The headless commands: the word that names each, its entry and its line in the
// general help. One line per command.
struct COrdenPrograma {
    const char* nombre;
    int (*entrada)(int, char**);
    const char* descripcion;
};
const COrdenPrograma kOrdenes[] = {
    {"crear-bd", RunCrearBd, "crea una base de datos nueva, vacía o de demostración"},
    {"informe", RunInforme, "informe mensual de un servicio"},
    {"planilla", RunPlanilla, "planilla de un mes de un servicio en json, csv o pdf"},
    {"avisos", RunAvisos, "avisos de la planilla de un mes: descansos, solapes, cobertura"},
    {"calendario", RunCalendario, "calendario de un trabajador en ics o su hoja personal en pdf"},
    {"copia", RunCopia, "hace ahora una copia de seguridad de la base de datos"},
    {"comprobar", RunComprobar, "comprueba que la base de datos no está dañada"},
    {"restaurar", RunRestaurar, "pone una copia en lugar de la base de datos, que se conserva"},
};

void ImprimirUso(std::FILE* destino) {
    std::fputs("Uso: dravonela [OPCIONES DE LA VENTANA]\n"
               "       dravonela ORDEN [ARGUMENTOS]\n"
               "       dravonela ORDEN --help\n"
               "       dravonela --help | --version\n"
               "Sin orden abre la ventana del programa. Las órdenes trabajan sin ventana:\n",
               destino);
    for (const COrdenPrograma& orden : kOrdenes)
        std::fprintf(destino, "  %-12s %s\n", orden.nombre, orden.descripcion);
    std::fputs("Opciones:\n"
               "  --help       muestra esta ayuda\n"
               "  --version    muestra la versión del programa\n",
               destino);
}
} // namespace

int main(int argc, char** argv) {
    // Past a file size limit a write fails (and says so) instead of ending the program
    // halfway through it.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc >= 2) {
        for (const COrdenPrograma& orden : kOrdenes)
            if (std::strcmp(argv[1], orden.nombre) == 0)
                return orden.entrada(argc, argv);
        const QString primera = QString::fromLocal8Bit(argv[1]);
        if (primera == QLatin1String("--help") || primera == QLatin1String("-h") ||
            primera == QLatin1String("--ayuda")) {
            ImprimirUso(stdout);
            return 0;
        }
        if (primera == QLatin1String("--version")) {
            std::printf("Dravonela versión %s\n", DV_VERSION);
            return 0;
        }
        // Anything else must be one of the window program's own switches.
        QStringList argumentos;
        for (int i = 1; i < argc; ++i)
            argumentos << QString::fromLocal8Bit(argv[i]);
        const QString ajeno = CCommandLineInfo::UnknownArgument(argumentos);
        if (!ajeno.isEmpty()) {
            const bool orden = !ajeno.startsWith(QLatin1Char('-'));
            std::fprintf(stderr, "dravonela: %s: %s\n",
                         orden ? "orden desconocida" : "argumento no reconocido",
                         ajeno.toLocal8Bit().constData());
            ImprimirUso(stderr);
            return 2;
        }
    }
    return RunGui(argc, argv);
}
