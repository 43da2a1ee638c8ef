#pragma once
// The generated files of the benchmarks: one service of generated workers and history,
// made once under the system's temporary folder (dravonela-bench/) and kept for later
// runs, and opened on the program's connection.

#include "../tests/roster/GeneradorBd.h"

#include "DbConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace DvBench {

// The file <nombre>.mdb of the benchmarks' folder, generated first when missing (under
// another name, renamed once whole). Empty when it could not be made.
inline QString Fichero(const QString& nombre, int trabajadores, int anioInicio, int anios,
                       int semilla) {
    const QString carpeta = QDir::tempPath() + QStringLiteral("/dravonela-bench");
    QDir().mkpath(carpeta);
    const QString ruta = carpeta + QLatin1Char('/') + nombre + QStringLiteral(".mdb");
    if (QFileInfo::exists(ruta))
        return ruta;
    DvGenerador::COpciones op;
    op.servicios = 1;
    op.trabajadores = trabajadores;
    op.anioInicio = anioInicio;
    op.anios = anios;
    op.semilla = semilla;
    op.formasVariadas = false;
    op.libranzasPorAnio = 1;
    op.asignacionesPorAnio = 1;
    DvGenerador::CGenerador generador(op);
    QString error;
    const QString temporal = ruta + QStringLiteral(".tmp");
    if (!generador.Generar(temporal, error) || !QFile::rename(temporal, ruta)) {
        std::fprintf(stderr, "no se pudo generar %s: %s\n", qPrintable(ruta), qPrintable(error));
        return QString();
    }
    return ruta;
}

// Opens the file on the program's connection, unless it is the one open already.
inline bool AbrirConexion(const QString& ruta) {
    if (ruta.isEmpty())
        return false;
    CDbConnection& conexion = CDbConnection::Instance();
    if (conexion.IsOpen() && conexion.Path() == ruta)
        return true;
    conexion.Reset();
    conexion.SetErrorSink([](const QString& texto) {
        std::fprintf(stderr, "error de base de datos: %s\n", qPrintable(texto));
    });
    return conexion.OpenFile(ruta, QString());
}

} // namespace DvBench
