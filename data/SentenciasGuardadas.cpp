#include "SentenciasGuardadas.h"

#include <sqlite3.h>

CSentenciasGuardadas::~CSentenciasGuardadas() {
    Vaciar();
}

sqlite3_stmt* CSentenciasGuardadas::Tomar(sqlite3* db, const QString& texto) {
    for (auto it = m_guardadas.end(); it != m_guardadas.begin();) {
        --it;
        if (it->first == texto && sqlite3_db_handle(it->second) == db) {
            sqlite3_stmt* sentencia = it->second;
            m_guardadas.erase(it);
            return sentencia;
        }
    }
    return nullptr;
}

void CSentenciasGuardadas::Devolver(const QString& texto, sqlite3_stmt* sentencia) {
    if (!sentencia)
        return;
    sqlite3_reset(sentencia);
    sqlite3_clear_bindings(sentencia);
    m_guardadas.emplace_back(texto, sentencia);
    if (static_cast<int>(m_guardadas.size()) > Capacidad) {
        sqlite3_finalize(m_guardadas.front().second);
        m_guardadas.erase(m_guardadas.begin());
    }
}

void CSentenciasGuardadas::Vaciar() {
    for (auto& guardada : m_guardadas)
        sqlite3_finalize(guardada.second);
    m_guardadas.clear();
}
