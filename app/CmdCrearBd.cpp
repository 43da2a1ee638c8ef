// dravonela crear-bd FILE [--demo] [--clave TEXT]
// Makes a new roster database file, without any window. With --demo it also holds the
// demonstration data, its leave periods and exceptions placed around the current month.

#include "Clock.h"
#include "Commands.h"
#include "Resources.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {
void PrintUsage() {
    std::fputs("Uso: dravonela crear-bd FICHERO [--demo] [--clave TEXTO]\n"
               "  Crea una base de datos nueva (no sobrescribe un fichero existente).\n"
               "  --demo         incluye los datos de demostración\n"
               "  --clave TEXTO  contraseña de la base de datos (por omisión \"pradoluminar\";\n"
               "                 vacía: sin contraseña)\n",
               stderr);
}

void PrintError(const QString& text) {
    std::fprintf(stderr, "dravonela crear-bd: %s\n", text.toLocal8Bit().constData());
}
} // namespace

int RunCrearBd(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(2);

    QString path;
    QString password = QStringLiteral("pradoluminar");
    bool demo = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--demo")) {
            demo = true;
        } else if (arg == QLatin1String("--clave")) {
            if (i + 1 >= args.size()) {
                PrintError(QStringLiteral("falta el texto de --clave"));
                PrintUsage();
                return 2;
            }
            password = args[++i];
        } else if (arg == QLatin1String("--ayuda") || arg == QLatin1String("--help") ||
                   arg == QLatin1String("-h")) {
            PrintUsage();
            return 0;
        } else if (arg.startsWith(QLatin1String("--")) || !path.isEmpty()) {
            PrintError(QStringLiteral("argumento no reconocido: %1").arg(arg));
            PrintUsage();
            return 2;
        } else {
            path = arg;
        }
    }
    if (path.isEmpty()) {
        PrintUsage();
        return 2;
    }

    QString demoSql;
    if (demo) {
        demoSql = DvResources::ReadText(QStringLiteral(":/sql/demo.sql"));
        if (demoSql.isEmpty()) {
            PrintError(QStringLiteral("faltan los datos de demostración en el programa"));
            return 1;
        }
    }
    QString error;
    if (!DvSchema::CreateDatabase(path, password, demoSql, DvClock::Today(), error)) {
        PrintError(error);
        return 1;
    }
    std::printf("Base de datos creada: %s%s\n", path.toLocal8Bit().constData(),
                demo ? " (con datos de demostración)" : "");
    return 0;
}
