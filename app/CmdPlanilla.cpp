// dravonela planilla --bd FICHERO --mes M --anio A --servicio ID|NOMBRE [--clave TEXTO]
//                    --formato json|csv|pdf --salida FICHERO
// The roster of a month without any window: built with the same GenerarPlanilla on an
// offscreen roster grid, then written as the grid's cells (json) or as the calendar a
// planner reads (csv, Windows-1252, CR LF).

#include "ArchivoInforme.h"
#include "ArgumentosOrden.h"
#include "Commands.h"
#include "CuadroPlanilla.h"
#include "DbConnection.h"
#include "DbQuery.h"
#include "FechasPlanilla.h"
#include "Progreso.h"
#include "RosterPrinting.h"
#include "Settings.h"

#include <QApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <memory>
#include <vector>

namespace {
using DvOrden::SalidaBaseDatos;
using DvOrden::SalidaUso;
using DvOrden::Seguir;
constexpr int IdCuadro = 1015;

const char* const kUso =
    "Uso: dravonela planilla --bd FICHERO --mes M --anio A --servicio ID|NOMBRE\n"
    "                         [--clave TEXTO] --formato json|csv|pdf --salida FICHERO\n"
    "  Genera la planilla de un mes de un servicio y la escribe en un fichero.\n"
    "  --bd FICHERO    base de datos\n"
    "  --mes M         mes de 1 a 12\n"
    "  --anio A        año posterior a 2000 (cuatro cifras)\n"
    "  --servicio S    número o nombre del servicio\n"
    "  --clave TEXTO   contraseña de la base de datos (por omisión la de la\n"
    "                  configuración, o \"pradoluminar\")\n"
    "  --formato F     json: las celdas del cuadro con sus propiedades;\n"
    "                  csv: el calendario tal como se ve (Windows-1252, CR LF);\n"
    "                  pdf: las páginas impresas, con la orientación del servicio\n"
    "  --salida F      fichero que se escribe (\"-\": la salida estándar)\n"
    "  --help          muestra esta ayuda\n";

// A JSON text literal.
QByteArray TextoJson(const QString& texto) {
    const QByteArray arreglo = QJsonDocument(QJsonArray{texto}).toJson(QJsonDocument::Compact);
    return arreglo.mid(1, arreglo.size() - 2);
}

QByteArray EnteroONulo(bool hay, long long valor) {
    return hay ? QByteArray::number(valor) : QByteArrayLiteral("null");
}

// Every stored cell of the rows with any property, by row, then column; one cell per
// line, its fields in a fixed order.
QByteArray PlanillaJson(CCuadroPlanilla& cuadro) {
    const int filas = cuadro.GetRowCount();
    const int columnas = cuadro.GetColumnCount();
    QByteArray json;
    json += "{\"filas\": " + QByteArray::number(filas) +
            ", \"columnas\": " + QByteArray::number(columnas) + ", \"celdas\": [";
    bool primera = true;
    CCellRecord celda;
    for (int fila = 0; fila < filas; ++fila) {
        for (int columna = 0; columna < columnas; ++columna) {
            cuadro.GetCell(columna, fila, &celda);
            if (celda.GetMask() == 0)
                continue;
            json += primera ? "\n  " : ",\n  ";
            primera = false;
            json += "{\"col\": " + QByteArray::number(columna);
            json += ", \"fila\": " + QByteArray::number(fila);
            json += ", \"texto\": " + TextoJson(celda.GetText());
            json += ", \"dato\": " + QByteArray::number(celda.GetItemData());
            json += ", \"color_texto\": " +
                    EnteroONulo(celda.Has(CCellRecord::PropTextColor), celda.GetTextColor());
            json += ", \"color_fondo\": " +
                    EnteroONulo(celda.Has(CCellRecord::PropBackColor), celda.GetBackColor());
            json += ", \"borde\": " +
                    EnteroONulo(celda.Has(CCellRecord::PropBorder), celda.GetBorder());
            int c0 = 0, f0 = 0, c1 = 0, f1 = 0;
            if (cuadro.GetJoinRange(columna, fila, &c0, &f0, &c1, &f1) == 0)
                json += ", \"union\": [" + QByteArray::number(c0) + ", " + QByteArray::number(f0) +
                        ", " + QByteArray::number(c1) + ", " + QByteArray::number(f1) + "]}";
            else
                json += ", \"union\": null}";
        }
    }
    json += primera ? "]}\n" : "\n]}\n";
    return json;
}

} // namespace

int RunPlanilla(int argc, char** argv) {
    // No window is ever shown: the roster grid is built on the offscreen platform. An
    // application that already runs (a test calling the command) is used as it is.
    std::unique_ptr<QApplication> app;
    if (!QCoreApplication::instance()) {
        DvOrden::CallarAvisosDelToolkit();
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    }
    DvOrden::COrden orden("planilla", kUso);
    QString bd, mesTexto, anioTexto, servicioTexto, formato, salida, clave;
    bool hayClave = false;
    orden.Valor("--bd", &bd);
    orden.Valor("--mes", &mesTexto);
    orden.Valor("--anio", &anioTexto);
    orden.Valor("--servicio", &servicioTexto);
    orden.Valor("--formato", &formato);
    orden.Valor("--salida", &salida);
    orden.Valor("--clave", &clave, &hayClave);
    if (const int fin = orden.Leer(argc, argv); fin != Seguir)
        return fin;
    if (bd.isEmpty() || mesTexto.isEmpty() || anioTexto.isEmpty() || servicioTexto.isEmpty() ||
        formato.isEmpty() || salida.isEmpty())
        return orden.ErrorDeUso(QStringLiteral("faltan argumentos: --bd, --mes, --anio, "
                                               "--servicio, --formato y --salida son "
                                               "obligatorios"));
    int mes = 0, anio = 0;
    if (!orden.LeerMes(mesTexto, &mes) || !orden.LeerAnio(anioTexto, &anio))
        return SalidaUso;
    formato = formato.trimmed().toLower();
    const bool pdf = formato == QLatin1String("pdf");
    if (!pdf && formato != QLatin1String("json") && formato != QLatin1String("csv")) {
        orden.Error(QStringLiteral("formato no reconocido: %1 (use json, csv o pdf)").arg(formato));
        return SalidaUso;
    }
    if (const int fin = orden.ComprobarSalida(salida, bd); fin != Seguir)
        return fin;
    if (!QFileInfo(bd).isFile()) {
        orden.Error(QStringLiteral("no existe el fichero de base de datos %1").arg(bd));
        return SalidaBaseDatos;
    }

    // Database failures are collected and end the command, instead of a message box.
    DvOrden::CBaseOrden base;
    if (const int salidaError = DvOrden::AbrirBaseYServicio(
            bd, hayClave ? &clave : nullptr, servicioTexto,
            [&orden](const QString& texto) { orden.Error(texto); }, base))
        return salidaError;
    QStringList& errores = *base.errores;
    const int servicio = base.servicio;
    const QString& nombreServicio = base.nombreServicio;

    // The grid as the roster view holds it: a window of the view's usual width. For
    // paper, the width at which a landscape page takes the whole week across when the
    // service prints its roster unfitted (a fitted one ignores the window's width).
    const int ancho = pdf ? 780 : 1000;
    QWidget ventana;
    ventana.resize(ancho, 600);
    auto* cuadro = new CCuadroPlanilla;
    cuadro->CreateGrid(&ventana, QRect(0, 0, ancho, 600), IdCuadro);
    CProgresoSinVentana progreso;
    cuadro->GenerarPlanilla(mes, anio, servicio, &ventana, progreso);
    if (!errores.isEmpty()) {
        orden.Error(QStringLiteral("Hubo un error generando la planilla: %1").arg(errores.first()));
        return SalidaBaseDatos;
    }

    // The whole file is made in memory, then written at once.
    QByteArray bytes;
    if (pdf) {
        const CTituloPlanilla titulo{NombreMes(mes), anio, nombreServicio};
        QString error;
        if (!PlanillaPdf(*cuadro, titulo, CImpresionPlanilla::LeerForma(servicio), bytes, &error)) {
            orden.Error(error);
            return SalidaBaseDatos;
        }
    } else if (formato == QLatin1String("json")) {
        bytes = PlanillaJson(*cuadro);
    } else if (!TextoAWindows1252(PlanillaCsv(*cuadro), bytes)) {
        orden.Error(QStringLiteral("No se puede convertir el texto a Windows-1252"));
        return SalidaBaseDatos;
    }
    return orden.EscribirSalida(salida, bytes);
}
