// dravonela avisos --bd FICHERO --mes M --anio A --servicio ID|NOMBRE [--clave TEXTO]
//                  [--formato texto|json] [--salida FICHERO]
// The warnings of a month's roster without any window: the same checks the roster view
// shows under the grid, as plain text (one line each) or as JSON, on standard output or
// into a file.

#include "ArchivoSalida.h"
#include "ArgumentosOrden.h"
#include "Avisos.h"
#include "Commands.h"
#include "ReglasServicio.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <cstdio>
#include <memory>

namespace {
using DvOrden::SalidaBaseDatos;
using DvOrden::SalidaUso;

const char* const kUso =
    "Uso: dravonela avisos --bd FICHERO --mes M --anio A --servicio ID|NOMBRE\n"
    "                       [--clave TEXTO] [--formato texto|json] [--salida FICHERO]\n"
    "  Comprueba la planilla de un mes de un servicio y muestra sus avisos: personas\n"
    "  sin asignación de referencia, nombres repetidos, turnos solapados, suplencias\n"
    "  de uno mismo o de quien está ausente, descansos entre turnos y semanales,\n"
    "  noches seguidas y mínimos de personas por periodo.\n"
    "  --bd FICHERO    base de datos\n"
    "  --mes M         mes de 1 a 12\n"
    "  --anio A        año posterior a 2000 (cuatro cifras)\n"
    "  --servicio S    número o nombre del servicio\n"
    "  --clave TEXTO   contraseña de la base de datos (por omisión la de la\n"
    "                  configuración, o \"pradoluminar\")\n"
    "  --formato F     texto (por omisión): un aviso por línea;\n"
    "                  json: {\"servicio\", \"mes\", \"anio\", \"avisos\": [...]}\n"
    "  --salida F      fichero que se escribe (UTF-8); sin él, la salida estándar\n"
    "  Sale con 0 haya o no avisos, 2 si los argumentos no son válidos y 1 si falla\n"
    "  la base de datos o la escritura.\n"
    "  --help          muestra esta ayuda\n";

QByteArray TextoJson(const QString& texto) {
    const QByteArray arreglo = QJsonDocument(QJsonArray{texto}).toJson(QJsonDocument::Compact);
    return arreglo.mid(1, arreglo.size() - 2);
}

QByteArray AvisosJson(int servicio, int mes, int anio, const CListaAvisos& avisos) {
    QByteArray json = "{\"servicio\": " + QByteArray::number(servicio) +
                      ", \"mes\": " + QByteArray::number(mes) +
                      ", \"anio\": " + QByteArray::number(anio) + ", \"avisos\": [";
    bool primero = true;
    for (const CAviso& aviso : avisos) {
        json += primero ? "\n  " : ",\n  ";
        primero = false;
        json += "{\"tipo\": " + TextoJson(aviso.m_tipo);
        json += ", \"fecha\": " +
                (aviso.TieneFecha() ? TextoJson(FechaIsoAviso(aviso)) : QByteArray("null"));
        json +=
            ", \"id_personal\": " +
            (aviso.m_idPersonal >= 0 ? QByteArray::number(aviso.m_idPersonal) : QByteArray("null"));
        json += ", \"nombre\": " + TextoJson(aviso.m_nombre);
        json += ", \"texto\": " + TextoJson(aviso.m_texto) + "}";
    }
    json += primero ? "]}\n" : "\n]}\n";
    return json;
}

QByteArray AvisosTexto(const CListaAvisos& avisos) {
    if (avisos.empty())
        return QByteArrayLiteral("Sin avisos\n");
    QByteArray texto;
    for (const CAviso& aviso : avisos)
        texto += aviso.m_texto.toUtf8() + '\n';
    return texto;
}
} // namespace

int RunAvisos(int argc, char** argv) {
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance())
        app = std::make_unique<QCoreApplication>(argc, argv);
    DvOrden::COrden orden("avisos", kUso);
    QString bd, mesTexto, anioTexto, servicioTexto, clave, salida;
    QString formato = QStringLiteral("texto");
    bool hayClave = false;
    bool haySalida = false;
    orden.Valor("--bd", &bd);
    orden.Valor("--mes", &mesTexto);
    orden.Valor("--anio", &anioTexto);
    orden.Valor("--servicio", &servicioTexto);
    orden.Valor("--formato", &formato);
    orden.Valor("--clave", &clave, &hayClave);
    orden.Valor("--salida", &salida, &haySalida);
    if (const int fin = orden.Leer(argc, argv); fin != DvOrden::Seguir)
        return fin;
    if (bd.isEmpty() || mesTexto.isEmpty() || anioTexto.isEmpty() || servicioTexto.isEmpty()) {
        return orden.ErrorDeUso(QStringLiteral("faltan argumentos: --bd, --mes, --anio y "
                                               "--servicio son obligatorios"));
    }
    int mes = 0, anio = 0;
    if (!orden.LeerMes(mesTexto, &mes) || !orden.LeerAnio(anioTexto, &anio))
        return SalidaUso;
    formato = formato.trimmed().toLower();
    const bool json = formato == QLatin1String("json");
    if (!json && formato != QLatin1String("texto")) {
        orden.Error(QStringLiteral("formato no reconocido: %1 (use texto o json)").arg(formato));
        return SalidaUso;
    }
    if (haySalida && salida.isEmpty()) {
        orden.Error(QStringLiteral("falta el nombre del fichero de --salida"));
        return SalidaUso;
    }
    if (haySalida) {
        if (const int fin = orden.ComprobarSalida(salida, bd); fin != DvOrden::Seguir)
            return fin;
    }
    if (!QFileInfo(bd).isFile()) {
        orden.Error(QStringLiteral("no existe el fichero de base de datos %1").arg(bd));
        return SalidaBaseDatos;
    }

    // The warnings never go over the database, whatever it is called.
    DvArchivo::Proteger(bd);
    DvOrden::CBaseOrden base;
    if (const int salidaError = DvOrden::AbrirBaseYServicio(
            bd, hayClave ? &clave : nullptr, servicioTexto,
            [&orden](const QString& texto) { orden.Error(texto); }, base))
        return salidaError;
    const QStringList& errores = *base.errores;

    CReglasServicio reglas;
    LeerReglas(base.servicio, reglas);
    const CListaAvisos avisos =
        errores.isEmpty() ? ComprobarPlanilla(mes, anio, base.servicio, reglas) : CListaAvisos();
    if (!errores.isEmpty()) {
        orden.Error(
            QStringLiteral("Hubo un error comprobando la planilla: %1").arg(errores.first()));
        return SalidaBaseDatos;
    }

    const QByteArray bytes =
        json ? AvisosJson(base.servicio, mes, anio, avisos) : AvisosTexto(avisos);
    return orden.EscribirSalida(haySalida ? salida : QStringLiteral("-"), bytes);
}
