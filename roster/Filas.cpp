#include "Filas.h"

#include "Consultas.h"

#include <QStringList>

void DvFilas::Registrar(const QString& sql) {
    qCDebug(dvConsultas).noquote() << sql;
}

void DvFilas::AsegurarIndices() {
    CDbConnection& conexion = CDbConnection::Instance();
    if (!conexion.IsOpen())
        return;
    static const void* ultima = nullptr;
    static QString ultimaRuta;
    if (ultima == conexion.Handle() && ultimaRuta == conexion.Path())
        return;
    ultima = conexion.Handle();
    ultimaRuta = conexion.Path();
    static const char* const indices[] = {
        "CREATE INDEX IF NOT EXISTS IX_EXCEPCIONES_DIA ON EXCEPCIONES (DIA)",
        "CREATE INDEX IF NOT EXISTS IX_VACACIONES_FINAL ON VACACIONES (FINAL)",
        "CREATE INDEX IF NOT EXISTS IX_BAJAS_FINAL ON BAJAS (FINAL)",
        "CREATE INDEX IF NOT EXISTS IX_DIASPERSONALES_INICIO ON DIASPERSONALES (INICIO)",
    };
    CDbQuery consulta(conexion);
    for (const char* sql : indices)
        consulta.ExecuteCommand(QString::fromLatin1(sql), nullptr, 0);
}
