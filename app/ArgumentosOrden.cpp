#include "ArgumentosOrden.h"

#include "DbConnection.h"
#include "DbQuery.h"
#include "Settings.h"

#include <vector>

namespace DvOrden {
bool LeerEntero(const QString& texto, int& valor) {
    bool ok = false;
    valor = texto.trimmed().toInt(&ok);
    return ok;
}

bool LeerOpciones(const QStringList& args, const std::map<QString, QString*>& opciones, bool* ayuda,
                  QStringList* dadas, QString* error) {
    *ayuda = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--ayuda") || arg == QLatin1String("--help") ||
            arg == QLatin1String("-h")) {
            *ayuda = true;
            return true;
        }
        const auto it = opciones.find(arg);
        if (it == opciones.end()) {
            *error = QStringLiteral("argumento no reconocido: %1").arg(arg);
            return false;
        }
        if (i + 1 >= args.size()) {
            *error = QStringLiteral("falta el valor de %1").arg(arg);
            return false;
        }
        *it->second = args[++i];
        if (dadas)
            dadas->append(arg);
    }
    return true;
}

int BuscarServicio(const QString& texto, QString& nombre) {
    struct CServicio {
        int id;
        QString nombre;
    };
    std::vector<CServicio> servicios;
    CDbQuery consulta;
    CDbRecordset filas =
        consulta.Open(QStringLiteral("SELECT ID, NOMBRE FROM FUNCIONES ORDER BY ID"));
    while (!filas.IsEOF()) {
        servicios.push_back({filas.GetInt(0), filas.GetText(1)});
        filas.MoveNext();
    }
    filas.Close();
    int id = 0;
    if (LeerEntero(texto, id))
        for (const CServicio& servicio : servicios)
            if (servicio.id == id) {
                nombre = servicio.nombre;
                return id;
            }
    const QString buscado = texto.trimmed();
    for (const Qt::CaseSensitivity caso : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        int encontrado = -1;
        int cuantos = 0;
        for (const CServicio& servicio : servicios)
            if (servicio.nombre.compare(buscado, caso) == 0) {
                encontrado = servicio.id;
                nombre = servicio.nombre;
                ++cuantos;
            }
        if (cuantos == 1)
            return encontrado;
        if (cuantos > 1)
            return -2;
    }
    return -1;
}

int AbrirBase(const QString& bd, const QString* clave,
              const std::function<void(const QString&)>& error, CBaseOrden& base) {
    QStringList& errores = *base.errores;
    auto lista = base.errores;
    CDbConnection& conexion = CDbConnection::Instance();
    conexion.SetErrorSink([lista](const QString& texto) { *lista << texto; });
    if (!conexion.OpenFile(bd, clave ? *clave : DvSettings::DbPassword())) {
        const QString detalle = errores.isEmpty() ? QString() : errores.first();
        if (detalle.contains(QStringLiteral("contraseña")))
            error(QStringLiteral("la contraseña de la base de datos %1 no es válida").arg(bd));
        else
            error(QStringLiteral("no se pudo abrir la base de datos %1: %2")
                      .arg(bd, detalle.section(QLatin1Char('\r'), -1)));
        return SalidaBaseDatos;
    }
    errores.clear();
    return 0;
}

int AbrirBaseYServicio(const QString& bd, const QString* clave, const QString& servicioTexto,
                       const std::function<void(const QString&)>& error, CBaseOrden& base) {
    if (const int salida = AbrirBase(bd, clave, error, base))
        return salida;
    QStringList& errores = *base.errores;
    base.servicio = BuscarServicio(servicioTexto, base.nombreServicio);
    if (!errores.isEmpty()) {
        error(QStringLiteral("error de base de datos: %1").arg(errores.first()));
        return SalidaBaseDatos;
    }
    if (base.servicio == -2) {
        error(QStringLiteral("hay varios servicios llamados %1; indique su número")
                  .arg(servicioTexto));
        return SalidaUso;
    }
    if (base.servicio < 0) {
        error(QStringLiteral("no existe el servicio %1").arg(servicioTexto));
        return SalidaUso;
    }
    return 0;
}
} // namespace DvOrden
