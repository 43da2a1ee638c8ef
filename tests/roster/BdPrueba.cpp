#include "BdPrueba.h"

#include "DbConnection.h"
#include "DbQuery.h"
#include "Schema.h"
#include "TestSupport.h"

#include <QDate>
#include <QFile>

namespace DvPrueba {
QStringList& Errores() {
    static QStringList errores;
    return errores;
}

bool AbrirBd(const QString& ruta) {
    CDbConnection& conexion = CDbConnection::Instance();
    conexion.Reset();
    conexion.SetErrorSink([](const QString& texto) { Errores() << texto; });
    return conexion.OpenFile(ruta, QString());
}

QString NuevaBd(const QString& nombre) {
    const QString ruta = DvTest::TempDir() + QLatin1Char('/') + nombre;
    QFile::remove(ruta);
    QString error;
    if (!DvSchema::CreateDatabase(ruta, QString(), QString(), QDate(2024, 1, 1), error)) {
        Errores() << error;
        return QString();
    }
    AbrirBd(ruta);
    return ruta;
}

void Sql(const QStringList& sentencias) {
    CDbQuery consulta;
    for (const QString& sql : sentencias)
        if (!consulta.ExecuteCommand(sql, nullptr, 0))
            Errores() << QStringLiteral("falló: %1").arg(sql);
}

QString F(int anio, int mes, int dia, int hora, int minuto) {
    return QString::asprintf("'%04d/%02d/%02d %02d:%02d:00'", anio, mes, dia, hora, minuto);
}
} // namespace DvPrueba
