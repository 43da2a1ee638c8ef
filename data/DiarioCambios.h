#pragma once
// The journal of the changes made through CDbQuery in this run, for "Deshacer" and
// "Rehacer".
//
// One step is one statement that changes the file outside a transaction, or everything
// between a "BEGIN TRANSACTION" and its "COMMIT TRANSACTION" (the worker cascade, a
// renumbering of shifts). SQLite's session extension records, inside the same
// transaction as the change, the rows before and after it; a step that fails or is
// rolled back is forgotten.
//
// Undo applies the inverse of the step, redo the step again, each in one transaction.
// Either is refused, and nothing changes, when a row it touches is no longer as the
// step left it (or, for redo, as it found it). A new step empties the redo list; the
// lists are emptied when another file is opened.
//
//   CDiarioCambios& diario = CDbConnection::Instance().Diario();
//   diario.Activar(true);                 // the window program
//   ... dialogs change the file ...
//   diario.TextoDeshacer();               // "borrar trabajador Ana García"
//   QString error;
//   if (!diario.Deshacer(&error)) ...     // show error

#include <QByteArray>
#include <QString>
#include <vector>

class CDbConnection;
struct sqlite3;
struct sqlite3_session;

class CDiarioCambios {
public:
    // The journal of this connection's changes (owned by it).
    explicit CDiarioCambios(CDbConnection& conexion);
    ~CDiarioCambios();
    CDiarioCambios(const CDiarioCambios&) = delete;
    CDiarioCambios& operator=(const CDiarioCambios&) = delete;

    // Journalling on or off (off: nothing is recorded and the lists are emptied).
    void Activar(bool activo);
    bool Activo() const { return m_activo; }

    // Used by CDbQuery around each statement it runs: before a statement that changes
    // the file, and after every statement that ran (ok: it succeeded; deshace: it was a
    // ROLLBACK). A statement that could not even be prepared changed nothing and is not
    // reported.
    void AntesDeEscribir(sqlite3* db);
    void DespuesDe(sqlite3* db, bool ok, bool deshace);

    bool PuedeDeshacer() const { return !m_deshacer.empty(); }
    bool PuedeRehacer() const { return !m_rehacer.empty(); }
    // What the step undone or redone next did ("borrar trabajador Ana García"); empty
    // when there is none.
    QString TextoDeshacer() const;
    QString TextoRehacer() const;

    // On the open connection. False, with the reason in Spanish in error, when nothing
    // could be done; the step then stays where it was.
    bool Deshacer(QString* error);
    bool Rehacer(QString* error);

    // Forgets every step (another file opened, tests).
    void Vaciar();

    // The name of the step recorded in a changeset ("borrar trabajador Ana García"),
    // read from its rows and, for a change that does not carry them, from db.
    static QString NombrarPaso(sqlite3* db, const QByteArray& cambios);

private:
    struct CPaso {
        QString nombre;
        QByteArray cambios; // the changeset, forwards
    };
    void CerrarSesion();
    bool Aplicar(std::vector<CPaso>& desde, std::vector<CPaso>& hacia, bool inverso,
                 QString* error);

    CDbConnection& m_conexion;
    bool m_activo = false;
    sqlite3_session* m_sesion = nullptr;
    sqlite3* m_db = nullptr;
    bool m_fallo = false;
    std::vector<CPaso> m_deshacer;
    std::vector<CPaso> m_rehacer;
};
