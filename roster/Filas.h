#pragma once
// Walks the rows of one statement of the engine, with its text sent to the engine's
// logging category.

#include "DbQuery.h"

#include <QString>

namespace DvFilas {
// Calls fila(recordset) for every row. Returns false when the statement or a step
// failed (the failure has been reported); rows read before it have been handled.
template <class F> bool Recorrer(const QString& sql, F&& fila);

// Logs the statement and makes sure the engine's SQL functions are there.
void Registrar(const QString& sql);
} // namespace DvFilas

template <class F> bool DvFilas::Recorrer(const QString& sql, F&& fila) {
    Registrar(sql);
    CDbQuery consulta;
    CDbRecordset filas = consulta.Open(sql);
    if (!filas.IsOpen())
        return false;
    while (!filas.IsEOF()) {
        fila(static_cast<const CDbRecordset&>(filas));
        // MoveNext is false at the end too; a failed step also closes the result.
        if (!filas.MoveNext())
            return filas.IsOpen();
    }
    return true;
}
