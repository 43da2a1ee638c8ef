#include "Filas.h"

#include "Consultas.h"
#include "FuncionesSql.h"

void DvFilas::Registrar(const QString& sql) {
    DvFuncionesSql::Preparar();
    qCDebug(dvConsultas).noquote() << sql;
}

bool DvFilas::HayIndice(const QString& nombre) {
    bool hay = false;
    Recorrer(
        QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND upper(name) = '%1'")
            .arg(nombre.toUpper()),
        [&](const CDbRecordset&) { hay = true; });
    return hay;
}
