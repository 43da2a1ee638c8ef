#pragma once
// The one process-wide connection to the roster database file.
//
// Opened once (Open), used by every statement through CDbQuery, probed after every
// reported failure and marked lost for the rest of the run when the probe fails.
// Failures are shown through a replaceable sink, so this layer never touches a window:
// the program installs a sink that shows a message box captioned "Error"; tests install
// a recorder.

#include "DbError.h"
#include "SentenciasGuardadas.h"

#include <QRecursiveMutex>
#include <QString>
#include <functional>
#include <memory>

class CDiarioCambios;
struct sqlite3;

class CDbConnection {
public:
    using ErrorSink = std::function<void(const QString& text)>;
    using ChangeHook = std::function<void(sqlite3* db)>;

    static CDbConnection& Instance();

    CDbConnection();
    ~CDbConnection();
    CDbConnection(const CDbConnection&) = delete;
    CDbConnection& operator=(const CDbConnection&) = delete;

    // Opens DatabasePath() with the password of the settings (DB_PASS, default
    // "pradoluminar"); once open, returns true at once. Runs the schema check and upgrade
    // after a successful open. A database of another program (none of the roster
    // tables) is refused without a byte of it changed.
    bool Open();
    // Same, on a given file and password (headless commands, tests).
    bool OpenFile(const QString& path, const QString& password);
    void Close();
    bool IsOpen() const { return m_open; }
    // True after a failed probe: the connection is kept but no longer used.
    bool IsLost() const { return !m_open && m_db != nullptr; }

    // How long a statement waits for another program's write lock on the file.
    static constexpr int BusyTimeoutMs = 3000;
    // Changes that wait on the open connection (tests).
    void SetBusyTimeout(int milliseconds);

    // Closes and forgets the lost state, so the next Open starts afresh (tests, and the
    // headless commands that open several files in one run).
    void Reset();

    // The directory of the executable followed by "ostrevan.mdb".
    static QString DatabasePath();
    static QString DatabasePathFor(const QString& executablePath);
    // "Provider=...;Data Source=<path>;Jet OLEDB:Database Password=<pw>;" kept for
    // reference and tests; the engine is opened from its parts.
    static QString ConnectionString(const QString& path, const QString& password);

    // "Error %08lx \rMensaje: %s \rFuente:  %s \rDescrip: %s"
    static QString FormatDbError(const CDbError& error);
    static QString MessageForCode(uint32_t code);
    void ReportDbError(const CDbError& error, bool show);
    // A failure of the data layer's own logic, in plain Spanish words, through the same
    // sink as the database errors.
    void ReportMessage(const QString& text);

    // The sink that shows error texts. The default writes to standard error.
    void SetErrorSink(ErrorSink sink);
    static void DefaultErrorSink(const QString& text);

    // Used through CDbQuery.
    sqlite3* Handle() const { return m_db.get(); }
    QRecursiveMutex& Lock() { return m_lock; }
    // The read statements kept for reuse on this handle (emptied before it closes).
    CSentenciasGuardadas& Sentencias() { return m_sentencias; }
    // Runs the probe ("SELECT * FROM AUX"); clears the open flag when it fails, except
    // when the file is only locked by another program for longer than the wait.
    void Probe();
    void MarkLost() { m_open = false; }

    QString Path() const { return m_path; }

    // Runs once per file opened, right before the first statement that would change it
    // (the window program takes its copy there); the handle is the open connection,
    // with no change of this run in it yet. Null removes it.
    void SetBeforeFirstChange(ChangeHook hook);
    // Called before every statement that changes the file (CDbQuery, undo and redo).
    void AntesDeCambiar();
    // How many times a file has been opened on this connection (each opening is told
    // apart from the one before).
    int Aperturas() const { return m_aperturas; }
    // True once the hook has run for the file open now.
    bool Changed() const { return m_changed; }

    // The journal of this connection's changes ("Deshacer", "Rehacer").
    CDiarioCambios& Diario() { return *m_diario; }

private:
    bool OpenImpl(const QString& path, const QString& password);
    bool OpenEngine(const QString& path, const QString& password, CDbError& error);

    struct SqliteCloser {
        void operator()(sqlite3* db) const;
    };

    // Empties the kept statements, then closes the handle.
    void SoltarHandle();

    bool m_open = false;
    std::unique_ptr<sqlite3, SqliteCloser> m_db;
    CSentenciasGuardadas m_sentencias;
    QRecursiveMutex m_lock;
    ErrorSink m_sink;
    QString m_path;
    ChangeHook m_beforeFirstChange;
    bool m_changed = false;
    int m_aperturas = 0;
    std::unique_ptr<CDiarioCambios> m_diario;
};
