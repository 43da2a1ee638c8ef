#pragma once
// Prepared read statements kept by their text for the next time the same text is read
// (the month build, the report and the checker run the same reads again and again).
// A statement is taken out while a result uses it, so two results never share one.

#include <QString>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class CSentenciasGuardadas {
public:
    static constexpr int Capacidad = 32;

    CSentenciasGuardadas() = default;
    ~CSentenciasGuardadas();
    CSentenciasGuardadas(const CSentenciasGuardadas&) = delete;
    CSentenciasGuardadas& operator=(const CSentenciasGuardadas&) = delete;

    // The statement kept for the text on that handle, now the caller's; null when none.
    sqlite3_stmt* Tomar(sqlite3* db, const QString& texto);
    // Keeps a statement the caller is done with, reset and without bindings; the one
    // used longest ago goes when there are too many.
    void Devolver(const QString& texto, sqlite3_stmt* sentencia);
    // Finalizes every kept statement (before the handle is closed).
    void Vaciar();
    int Cantidad() const { return static_cast<int>(m_guardadas.size()); }

private:
    std::vector<std::pair<QString, sqlite3_stmt*>> m_guardadas; // last given back at the end
};
