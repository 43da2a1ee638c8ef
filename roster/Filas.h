#pragma once
// Walks the rows of one statement of the engine, with its text sent to the engine's
// logging category.

#include "DbQuery.h"

#include <QString>

namespace DvFilas {
// Calls fila(recordset) for every row. Returns false when the statement or a step
// failed (the failure has been reported); rows read before it have been handled.
template <class F> bool Recorrer(const QString& sql, F&& fila);

void Registrar(const QString& sql);

// Makes sure the date columns the engine reads by month are indexed, once per open
// database. Silent: a file that cannot take them (read-only) is read without.
void AsegurarIndices();
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
