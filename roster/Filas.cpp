#include "Filas.h"

#include "Consultas.h"
#include "FuncionesSql.h"

void DvFilas::Registrar(const QString& sql) {
    DvFuncionesSql::Preparar();
    qCDebug(dvConsultas).noquote() << sql;
}
