#pragma once
// Walks the rows of one statement of the engine, with its text sent to the engine's
// logging category.

#include "DbQuery.h"

#include <QString>
#include <utility>

namespace DvFilas {
// Calls fila(recordset) for every row. Returns false when the statement or a step
// failed (the failure has been reported); rows read before it have been handled. The
// prepared statement is kept for the next read of the same text; named parameters
// (":desde") take `valores`.
template <class F> bool Recorrer(const QString& sql, F&& fila);
template <class F> bool Recorrer(const QString& sql, const CDbQuery::CValores& valores, F&& fila);

// Logs the statement and makes sure the engine's SQL functions are there.
void Registrar(const QString& sql);
// The file has an index of that name (a read-only file that was never upgraded may lack
// the engine's ones).
bool HayIndice(const QString& nombre);
} // namespace DvFilas

template <class F> bool DvFilas::Recorrer(const QString& sql, F&& fila) {
    return Recorrer(sql, CDbQuery::CValores{}, std::forward<F>(fila));
}

template <class F>
bool DvFilas::Recorrer(const QString& sql, const CDbQuery::CValores& valores, F&& fila) {
    Registrar(sql);
    CDbQuery consulta;
    CDbRecordset filas = consulta.OpenKept(sql, valores);
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
