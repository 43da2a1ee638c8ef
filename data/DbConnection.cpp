#include "DbConnection.h"

#include "DbQuery.h"
#include "DiarioCambios.h"
#include "JetSql.h"
#include "Password.h"
#include "Schema.h"
#include "Settings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMutexLocker>
#include <cstdio>
#include <sqlite3.h>

namespace {
// Runs one statement that needs no result; the SQLite result code.
int ExecQuiet(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// System texts of the codes that have one, as a Spanish system gives them.
struct CodeText {
    uint32_t code;
    const char* text;
};
const CodeText SystemTexts[] = {
    {0x80004001u, "No implementado"},
    {0x80004003u, "Puntero no válido"},
    {0x80004004u, "Operación anulada"},
    {0x80004005u, "Error no especificado"},
    {0x8000FFFFu, "Error catastrófico"},
    {0x80070005u, "Acceso denegado."},
    {0x80070006u, "Controlador no válido."},
    {0x8007000Eu, "Memoria insuficiente para completar esta operación."},
    {0x80070057u, "El parámetro no es correcto."},
};
} // namespace

void CDbConnection::SqliteCloser::operator()(sqlite3* db) const {
    // close_v2 waits for statements still open (a result being read) before it
    // really closes.
    sqlite3_close_v2(db);
}

void CDbConnection::SoltarHandle() {
    m_sentencias.Vaciar();
    m_db.reset();
}

CDbConnection& CDbConnection::Instance() {
    static CDbConnection instance;
    return instance;
}

CDbConnection::CDbConnection() : m_diario(std::make_unique<CDiarioCambios>(*this)) {}

CDbConnection::~CDbConnection() {
    Close();
    m_diario.reset();
    SoltarHandle();
}

void CDbConnection::SetBeforeFirstChange(ChangeHook hook) {
    m_beforeFirstChange = std::move(hook);
}

void CDbConnection::AntesDeCambiar() {
    if (m_changed || !m_open || !m_db)
        return;
    m_changed = true;
    if (m_beforeFirstChange)
        m_beforeFirstChange(m_db.get());
}

QString CDbConnection::DatabasePathFor(const QString& executablePath) {
    const int slash = qMax(executablePath.lastIndexOf(QLatin1Char('/')),
                           executablePath.lastIndexOf(QLatin1Char('\\')));
    return executablePath.left(slash + 1) + QStringLiteral("ostrevan.mdb");
}

QString CDbConnection::DatabasePath() {
    return DatabasePathFor(QCoreApplication::applicationFilePath());
}

QString CDbConnection::ConnectionString(const QString& path, const QString& password) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path +
           QStringLiteral(";Jet OLEDB:Database Password=") + password + QStringLiteral(";");
}

bool CDbConnection::Open() {
    return OpenImpl(DatabasePath(), DvSettings::DbPassword());
}

bool CDbConnection::OpenFile(const QString& path, const QString& password) {
    return OpenImpl(path, password);
}

bool CDbConnection::OpenImpl(const QString& path, const QString& password) {
    QMutexLocker locker(&m_lock);
    if (m_open)
        return true;
    m_open = true;
    m_path = path;
    m_diario->Vaciar();
    m_changed = false;
    SoltarHandle();
    CDbError error;
    if (!OpenEngine(path, password, error)) {
        m_open = false;
        SoltarHandle();
        ReportDbError(error, true);
    }
    if (m_open) {
        ++m_aperturas;
        DvSchema::Upgrade(*this);
    }
    return m_open;
}

bool CDbConnection::OpenEngine(const QString& path, const QString& password, CDbError& error) {
    // A database of some other program, named by mistake, is left exactly as it is: it
    // is not opened for writing, so it gains no table, index, mark or journal.
    if (DvSchema::InspectFile(path) == DvSchema::FileKind::Foreign) {
        error = CDbError::Make(DbCode::Fail, DvSchema::ForeignFileMessage(path));
        return false;
    }
    // The file must exist: the program never creates its database. Only the window's
    // thread uses the connection, under the connection's own lock, so SQLite's lock
    // around every call is left out.
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    m_db.reset(raw);
    if (rc != SQLITE_OK) {
        error = CDbError::FromSqlite(rc, raw ? sqlite3_errmsg(raw) : nullptr);
        error.description += QStringLiteral(": ") + path;
        return false;
    }
    sqlite3* db = m_db.get();
    sqlite3_extended_result_codes(db, 1);
    // Another program using the file holds its write lock for a moment: wait for it.
    sqlite3_busy_timeout(db, BusyTimeoutMs);
    // A month's reads come back to the same pages (the month, then the checker and the
    // report); keep up to 32 MB of them instead of SQLite's 2 MB.
    sqlite3_exec(db, "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
    DvJetSql::RegisterFunctions(db);

    // An empty file would silently become a new database; it is not one of ours.
    if (QFileInfo(path).size() == 0) {
        error = CDbError::FromSqlite(SQLITE_NOTADB, nullptr);
        return false;
    }
    // Reading the catalogue tells at once whether the file is a database at all.
    sqlite3_stmt* stmt = nullptr;
    int check = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master", -1, &stmt, nullptr);
    if (check == SQLITE_OK) {
        check = sqlite3_step(stmt);
        if (check == SQLITE_ROW)
            check = SQLITE_OK;
    }
    if (check != SQLITE_OK) {
        error = CDbError::FromSqlite(check, sqlite3_errmsg(db));
        sqlite3_finalize(stmt);
        return false;
    }
    sqlite3_finalize(stmt);

    bool readable = false;
    const QString verifier = DvPassword::StoredVerifier(db, readable);
    if (!readable) {
        error = CDbError::FromSqlite(sqlite3_errcode(db), sqlite3_errmsg(db));
        return false;
    }
    if (!verifier.isEmpty() && !DvPassword::Verify(password, verifier)) {
        error =
            CDbError::Make(DbCode::Authentication, QStringLiteral("La contraseña no es válida."));
        return false;
    }

    // Writes are on disk when a statement returns. A file left in write-ahead mode is
    // put back to a rollback journal, so it keeps working on a share and read-only.
    ExecQuiet(db, "PRAGMA synchronous=FULL");
    // A verifier of an earlier version gives way to the current kind, now that the
    // password is known to be right.
    if (!verifier.isEmpty() && DvPassword::NeedsUpgrade(verifier) &&
        !sqlite3_db_readonly(db, "main")) {
        AntesDeCambiar();
        DvPassword::UpgradeVerifier(db, password);
    }
    stmt = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        const char* mode = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        const bool wal = mode && QByteArray(mode).toLower() == "wal";
        sqlite3_finalize(stmt);
        stmt = nullptr;
        if (wal)
            ExecQuiet(db, "PRAGMA journal_mode=DELETE");
    }
    sqlite3_finalize(stmt);
    return true;
}

void CDbConnection::Close() {
    QMutexLocker locker(&m_lock);
    if (!m_open)
        return;
    m_open = false;
    // The steps of this file mean nothing on another one; a session dies before its handle.
    m_diario->Vaciar();
    m_sentencias.Vaciar();
    if (m_db) {
        const int rc = sqlite3_close_v2(m_db.release());
        if (rc != SQLITE_OK)
            ReportDbError(CDbError::FromSqlite(rc, nullptr), true);
    }
}

void CDbConnection::Reset() {
    QMutexLocker locker(&m_lock);
    // Also for a lost connection, whose handle Close leaves: no session outlives it.
    m_diario->Vaciar();
    Close();
    m_open = false;
    SoltarHandle();
    m_path.clear();
}

QString CDbConnection::MessageForCode(uint32_t code) {
    for (const CodeText& entry : SystemTexts) {
        if (entry.code == code)
            return QString::fromUtf8(entry.text);
    }
    if (code >= 0x80040201u && code <= 0x8004FFFFu)
        return QString::asprintf("IDispatch error #%d", static_cast<int>(code - 0x80040200u));
    return QString::asprintf("Unknown error 0x%0lX", static_cast<unsigned long>(code));
}

QString CDbConnection::FormatDbError(const CDbError& error) {
    const QString message = error.message.isEmpty() ? MessageForCode(error.code) : error.message;
    const bool hasSource = error.hasSource || !error.source.isEmpty();
    const bool hasDescription = error.hasDescription || !error.description.isEmpty();
    return QString::asprintf("Error %08lx \rMensaje: ", static_cast<unsigned long>(error.code)) +
           message + QStringLiteral(" \rFuente:  ") +
           (hasSource ? error.source : QStringLiteral("(null)")) + QStringLiteral(" \rDescrip: ") +
           (hasDescription ? error.description : QStringLiteral("(null)"));
}

void CDbConnection::ReportDbError(const CDbError& error, bool show) {
    const QString text = FormatDbError(error);
    if (!show)
        return;
    if (m_sink)
        m_sink(text);
    else
        DefaultErrorSink(text);
}

void CDbConnection::ReportMessage(const QString& text) {
    if (m_sink)
        m_sink(text);
    else
        DefaultErrorSink(text);
}

void CDbConnection::SetErrorSink(ErrorSink sink) {
    m_sink = std::move(sink);
}

void CDbConnection::DefaultErrorSink(const QString& text) {
    QString lines = text;
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    std::fprintf(stderr, "%s\n", lines.toLocal8Bit().constData());
    std::fflush(stderr);
}

void CDbConnection::Probe() {
    QMutexLocker locker(&m_lock);
    if (!m_open || !m_db) {
        m_open = false;
        return;
    }
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(m_db.get(), "SELECT * FROM AUX", -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW || rc == SQLITE_DONE)
            rc = SQLITE_OK;
    }
    sqlite3_finalize(stmt);
    // A file that another program keeps locked past the wait is busy, not broken: the
    // connection stays in use.
    const int primary = rc & 0xff;
    if (rc != SQLITE_OK && primary != SQLITE_BUSY && primary != SQLITE_LOCKED)
        m_open = false;
}

void CDbConnection::SetBusyTimeout(int milliseconds) {
    QMutexLocker locker(&m_lock);
    if (m_db)
        sqlite3_busy_timeout(m_db.get(), milliseconds);
}
