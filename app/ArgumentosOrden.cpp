#include "ArgumentosOrden.h"

#include "DbQuery.h"

#include <vector>

namespace DvOrden {
bool LeerEntero(const QString& texto, int& valor) {
    bool ok = false;
    valor = texto.trimmed().toInt(&ok);
    return ok;
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
} // namespace DvOrden
