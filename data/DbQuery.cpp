#include "DbQuery.h"

#include "DiarioCambios.h"
#include "JetSql.h"

#include <QStringList>
#include <clocale>
#include <cmath>
#include <limits>
#include <sqlite3.h>
#include <vector>

namespace {
// How a column's values are converted: by the column's declared type, or by the
// stored value when the column is an expression without one.
enum class ColumnKind { ByValue, Int32, Int16, Text, Date, Flag };

ColumnKind KindOf(const char* declared) {
    if (!declared)
        return ColumnKind::ByValue;
    QByteArray type = QByteArray(declared).toUpper();
    const int paren = type.indexOf('(');
    if (paren >= 0)
        type.truncate(paren);
    type = type.trimmed();
    static const char* const int32[] = {"INTEGER", "INT", "LONG", "COUNTER", "AUTOINCREMENT"};
    static const char* const int16[] = {"SMALLINT", "SHORT", "INT2"};
    static const char* const text[] = {"TEXT", "VARCHAR", "CHAR", "MEMO", "NVARCHAR", "NCHAR"};
    static const char* const date[] = {"DATETIME", "DATE", "TIME", "TIMESTAMP"};
    static const char* const flag[] = {"BIT", "BOOLEAN", "YESNO", "LOGICAL", "BOOL"};
    for (const char* name : int32)
        if (type == name)
            return ColumnKind::Int32;
    for (const char* name : int16)
        if (type == name)
            return ColumnKind::Int16;
    for (const char* name : text)
        if (type == name)
            return ColumnKind::Text;
    for (const char* name : date)
        if (type == name)
            return ColumnKind::Date;
    for (const char* name : flag)
        if (type == name)
            return ColumnKind::Flag;
    // Other spellings, by the words SQLite itself looks for.
    if (type.contains("CHAR") || type.contains("TEXT") || type.contains("CLOB"))
        return ColumnKind::Text;
    if (type.contains("INT"))
        return ColumnKind::Int32;
    if (type.contains("DATE") || type.contains("TIME"))
        return ColumnKind::Date;
    if (type.contains("BOOL"))
        return ColumnKind::Flag;
    return ColumnKind::ByValue;
}

QString ColumnText(sqlite3_stmt* stmt, int column) {
    const unsigned char* text = sqlite3_column_text(stmt, column);
    if (!text)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(text),
                             sqlite3_column_bytes(stmt, column));
}

// A stored number read as a whole number, rounded as the original engine rounds a
// double into an integer column.
long long WholeNumber(sqlite3_stmt* stmt, int column, int type, bool& ok) {
    ok = true;
    switch (type) {
    case SQLITE_INTEGER:
        return sqlite3_column_int64(stmt, column);
    case SQLITE_FLOAT: {
        const double value = sqlite3_column_double(stmt, column);
        if (!std::isfinite(value) || std::fabs(value) > 9.0e18) {
            ok = false;
            return 0;
        }
        return std::llround(value);
    }
    case SQLITE_TEXT: {
        const QString text = ColumnText(stmt, column).trimmed();
        const long long value = text.toLongLong(&ok);
        if (ok)
            return value;
        const double real = text.toDouble(&ok);
        return ok && std::fabs(real) < 9.0e18 ? std::llround(real) : (ok = false, 0);
    }
    default:
        ok = false;
        return 0;
    }
}

// Runs the rest of a statement text after the first statement: only blanks,
// semicolons and comments may follow, so one call never runs two statements.
bool OnlyOneStatement(sqlite3* db, const char* tail) {
    while (tail && *tail) {
        sqlite3_stmt* extra = nullptr;
        const char* next = nullptr;
        const int rc = sqlite3_prepare_v2(db, tail, -1, &extra, &next);
        const bool found = extra != nullptr;
        sqlite3_finalize(extra);
        if (rc != SQLITE_OK || found)
            return false;
        if (next == tail)
            break;
        tail = next;
    }
    return true;
}

// "ROLLBACK ..." (also "ROLLBACK TO" a savepoint, which undoes part of a step).
bool IsRollback(sqlite3_stmt* stmt) {
    const char* text = sqlite3_sql(stmt);
    if (!text)
        return false;
    return QByteArray(text).trimmed().left(8).toUpper() == "ROLLBACK";
}

// Prepares a statement of the program: rewritten from the original dialect, exactly
// one statement. On failure stmt is null and error says why.
bool PrepareStatement(sqlite3* db, const QString& sql, sqlite3_stmt*& stmt, CDbError& error) {
    stmt = nullptr;
    const QByteArray utf8 = DvJetSql::Translate(sql).toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), utf8.size() + 1, &stmt, &tail);
    if (rc != SQLITE_OK) {
        error = CDbError::FromSqlite(rc, sqlite3_errmsg(db));
        sqlite3_finalize(stmt);
        stmt = nullptr;
        return false;
    }
    if (!stmt) {
        error = CDbError::Make(DbCode::Syntax,
                               QStringLiteral("Instrucción SQL no válida: el texto está vacío."));
        return false;
    }
    if (!OnlyOneStatement(db, tail)) {
        sqlite3_finalize(stmt);
        stmt = nullptr;
        error = CDbError::Make(
            DbCode::Syntax,
            QStringLiteral("Se encontraron caracteres después del final de la instrucción SQL."));
        return false;
    }
    return true;
}

CDbError NoConnectionError() {
    return CDbError::Make(DbCode::NoConnection,
                          QStringLiteral("No hay conexión abierta con la base de datos."));
}
} // namespace

struct CDbRecordset::Impl {
    sqlite3_stmt* stmt = nullptr;
    CDbConnection* connection = nullptr;
    QString keptText; // the connection keeps the statement under this text when done
    bool kept = false;
    bool locked = false;
    bool eof = true;
    std::vector<ColumnKind> kinds;
    QStringList names;
    QStringList reportedMissing;

    ~Impl() { Finish(); }

    void Finish() {
        if (stmt) {
            // A statement that failed, or whose handle is gone, is not kept.
            if (kept && connection && connection->Handle() == sqlite3_db_handle(stmt))
                connection->Sentencias().Devolver(keptText, stmt);
            else
                sqlite3_finalize(stmt);
            stmt = nullptr;
            kept = false;
        }
        eof = true;
        if (locked && connection) {
            connection->Lock().unlock();
            locked = false;
        }
    }

    void Report(const CDbError& error) {
        if (!connection)
            return;
        connection->ReportDbError(error, true);
        connection->Probe();
    }

    // Column of a name, reported once per result when it is not there.
    int Find(const QString& name) {
        for (int i = 0; i < names.size(); ++i)
            if (names[i].compare(name, Qt::CaseInsensitive) == 0)
                return i;
        if (!reportedMissing.contains(name)) {
            reportedMissing.append(name);
            Report(CDbError::Make(
                DbCode::ItemNotFound,
                QStringLiteral("No se encuentra la columna %1 en el resultado.").arg(name)));
        }
        return -1;
    }

    bool HasRow(int column) const {
        return stmt && !eof && column >= 0 && column < static_cast<int>(kinds.size());
    }
};

CDbRecordset::CDbRecordset() : d(std::make_unique<Impl>()) {}
CDbRecordset::CDbRecordset(CDbRecordset&&) noexcept = default;
CDbRecordset& CDbRecordset::operator=(CDbRecordset&&) noexcept = default;
CDbRecordset::~CDbRecordset() = default;

bool CDbRecordset::IsOpen() const {
    return d && d->stmt;
}
bool CDbRecordset::IsEOF() const {
    return !d || !d->stmt || d->eof;
}

bool CDbRecordset::MoveNext() {
    if (IsEOF())
        return false;
    const int rc = sqlite3_step(d->stmt);
    if (rc == SQLITE_ROW)
        return true;
    d->eof = true;
    if (rc == SQLITE_DONE)
        return false;
    d->kept = false;
    CDbError error = CDbError::FromSqlite(rc, sqlite3_errmsg(sqlite3_db_handle(d->stmt)));
    d->Finish();
    d->Report(error);
    return false;
}

void CDbRecordset::Close() {
    if (d)
        d->Finish();
}

int CDbRecordset::ColumnCount() const {
    return d ? static_cast<int>(d->kinds.size()) : 0;
}

int CDbRecordset::ColumnIndex(const QString& name) const {
    if (!d)
        return -1;
    for (int i = 0; i < d->names.size(); ++i)
        if (d->names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString CDbRecordset::ColumnName(int column) const {
    return d && column >= 0 && column < d->names.size() ? d->names[column] : QString();
}

bool CDbRecordset::IsNull(int column) const {
    return (!d || !d->HasRow(column)) || sqlite3_column_type(d->stmt, column) == SQLITE_NULL;
}

bool CDbRecordset::IsNull(const QString& column) const {
    return d ? IsNull(d->Find(column)) : true;
}

int CDbRecordset::GetInt(int column) const {
    if ((!d || !d->HasRow(column)))
        return -1;
    sqlite3_stmt* stmt = d->stmt;
    const int type = sqlite3_column_type(stmt, column);
    if (type == SQLITE_NULL)
        return -1;
    bool ok = false;
    switch (d->kinds[column]) {
    case ColumnKind::Int32: {
        const long long value = WholeNumber(stmt, column, type, ok);
        return ok ? static_cast<int>(static_cast<int32_t>(value)) : 0;
    }
    case ColumnKind::Int16: {
        const long long value = WholeNumber(stmt, column, type, ok);
        return ok ? static_cast<int>(static_cast<int16_t>(value)) : 0;
    }
    case ColumnKind::ByValue:
        if (type == SQLITE_INTEGER) {
            const long long value = sqlite3_column_int64(stmt, column);
            if (value >= std::numeric_limits<int32_t>::min() &&
                value <= std::numeric_limits<int32_t>::max())
                return static_cast<int>(value);
        }
        return 0;
    default:
        return 0;
    }
}

int CDbRecordset::GetInt(const QString& column) const {
    const int index = d ? d->Find(column) : -1;
    return index < 0 ? -1 : GetInt(index);
}

QString CDbRecordset::GetText(int column) const {
    if ((!d || !d->HasRow(column)))
        return {};
    sqlite3_stmt* stmt = d->stmt;
    const int type = sqlite3_column_type(stmt, column);
    if (type == SQLITE_NULL)
        return {};
    const ColumnKind kind = d->kinds[column];
    if (kind == ColumnKind::Text || (kind == ColumnKind::ByValue && type == SQLITE_TEXT))
        return ColumnText(stmt, column).trimmed();
    return {};
}

QString CDbRecordset::GetText(const QString& column) const {
    const int index = d ? d->Find(column) : -1;
    return index < 0 ? QString() : GetText(index);
}

bool CDbRecordset::GetFlag(int column) const {
    if ((!d || !d->HasRow(column)) || d->kinds[column] != ColumnKind::Flag)
        return false;
    sqlite3_stmt* stmt = d->stmt;
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        return sqlite3_column_int64(stmt, column) != 0;
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, column) != 0.0;
    case SQLITE_TEXT: {
        const QString text = ColumnText(stmt, column).trimmed().toLower();
        if (text == QLatin1String("true") || text == QLatin1String("yes") ||
            text == QLatin1String("sí") || text == QLatin1String("si") ||
            text == QLatin1String("verdadero"))
            return true;
        bool ok = false;
        const double value = text.toDouble(&ok);
        return ok && value != 0.0;
    }
    default:
        return false;
    }
}

bool CDbRecordset::GetFlag(const QString& column) const {
    const int index = d ? d->Find(column) : -1;
    return index < 0 ? false : GetFlag(index);
}

CDateTime CDbRecordset::GetDateTime(int column) const {
    if ((!d || !d->HasRow(column)))
        return CDateTime::MakeInvalid();
    sqlite3_stmt* stmt = d->stmt;
    if (d->kinds[column] == ColumnKind::Flag)
        return CDateTime::MakeInvalid();
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        return CDateTime::MakeNull();
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return CDateTime::FromDays(sqlite3_column_double(stmt, column));
    case SQLITE_TEXT:
        return CDateTime::ParseUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
            sqlite3_column_bytes(stmt, column));
    default:
        return CDateTime::MakeInvalid();
    }
}

CDateTime CDbRecordset::GetDateTime(const QString& column) const {
    const int index = d ? d->Find(column) : -1;
    return index < 0 ? CDateTime::MakeInvalid() : GetDateTime(index);
}

CDbQuery::CDbQuery(CDbConnection& connection) : m_connection(connection) {
    // Numbers are written and read with a decimal point whatever the user's locale.
    std::setlocale(LC_ALL, "C");
}

CDbQuery::~CDbQuery() {
    while (m_held > 0)
        ReleaseConnection();
}

void CDbQuery::OnDbError(const CDbError& error, bool show) {
    m_connection.ReportDbError(error, show);
    m_connection.Probe();
}

sqlite3* CDbQuery::AcquireConnection() {
    if (!m_connection.IsOpen() || !m_connection.Handle())
        return nullptr;
    m_connection.Lock().lock();
    ++m_held;
    return m_connection.Handle();
}

void CDbQuery::ReleaseConnection() {
    // The lock is left as often as it was taken, also when the connection was marked
    // lost in between.
    if (m_held > 0) {
        --m_held;
        m_connection.Lock().unlock();
    }
}

bool CDbQuery::ExecuteCommand(const QString& sql, uint32_t* errorCode, uint32_t reportUnless) {
    m_changedRows = 0;
    CDbError error;
    bool ok = false;
    sqlite3* db = AcquireConnection();
    if (!db) {
        error = NoConnectionError();
    } else {
        sqlite3_stmt* stmt = nullptr;
        if (PrepareStatement(db, sql, stmt, error)) {
            // A change: the copy of the file before the first one, and the journal.
            const bool writes = !sqlite3_stmt_readonly(stmt);
            const bool rollsBack = IsRollback(stmt);
            CDiarioCambios& journal = m_connection.Diario();
            if (writes) {
                m_connection.AntesDeCambiar();
                journal.AntesDeEscribir(db);
            }
            int rc;
            do {
                rc = sqlite3_step(stmt);
            } while (rc == SQLITE_ROW);
            if (rc == SQLITE_DONE) {
                ok = true;
                m_changedRows = sqlite3_changes(db);
            } else {
                error = CDbError::FromSqlite(rc, sqlite3_errmsg(db));
            }
            sqlite3_finalize(stmt);
            journal.DespuesDe(db, ok, rollsBack);
        }
    }
    ReleaseConnection();
    if (ok)
        return true;
    if (errorCode)
        *errorCode = error.code;
    if (reportUnless != 0 && reportUnless != error.code)
        OnDbError(error, true);
    return false;
}

CDbRecordset CDbQuery::Open(const QString& sql) {
    return OpenStatement(sql, nullptr, false);
}

CDbRecordset CDbQuery::OpenKept(const QString& sql, const CValores& valores) {
    return OpenStatement(sql, &valores, true);
}

CDbRecordset CDbQuery::OpenStatement(const QString& sql, const CValores* valores, bool keep) {
    CDbRecordset result;
    CDbError error;
    bool ok = false;
    sqlite3* db = AcquireConnection();
    if (!db) {
        error = NoConnectionError();
    } else {
        sqlite3_stmt* stmt = keep ? m_connection.Sentencias().Tomar(db, sql) : nullptr;
        if (stmt || PrepareStatement(db, sql, stmt, error)) {
            if (valores)
                for (const auto& [nombre, valor] : *valores) {
                    const int indice = sqlite3_bind_parameter_index(stmt, nombre);
                    if (indice <= 0)
                        continue;
                    if (valor == std::floor(valor) && std::fabs(valor) < 9.0e18)
                        sqlite3_bind_int64(stmt, indice, static_cast<sqlite3_int64>(valor));
                    else
                        sqlite3_bind_double(stmt, indice, valor);
                }
            const int rc = sqlite3_step(stmt);
            if (rc == SQLITE_ROW || rc == SQLITE_DONE) {
                CDbRecordset::Impl& r = *result.d;
                r.stmt = stmt;
                r.connection = &m_connection;
                r.kept = keep;
                if (keep)
                    r.keptText = sql;
                r.eof = rc == SQLITE_DONE;
                const int count = sqlite3_column_count(stmt);
                r.kinds.reserve(count);
                for (int i = 0; i < count; ++i) {
                    r.kinds.push_back(KindOf(sqlite3_column_decltype(stmt, i)));
                    r.names.append(QString::fromUtf8(sqlite3_column_name(stmt, i)));
                }
                // The result holds the connection's lock until it is closed.
                m_connection.Lock().lock();
                r.locked = true;
                ok = true;
            } else {
                error = CDbError::FromSqlite(rc, sqlite3_errmsg(db));
                sqlite3_finalize(stmt);
            }
        }
    }
    ReleaseConnection();
    if (!ok)
        OnDbError(error, true);
    return result;
}

int CDbQuery::GetInt(const QString& table, const QString& column, const QString& keyColumn,
                     long key) {
    return ReadInt(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = %4")
                       .arg(column, table, keyColumn, QString::number(key)));
}

int CDbQuery::GetIntById(const QString& table, const QString& column, long id) {
    return ReadInt(
        QStringLiteral("SELECT %1 FROM %2 WHERE ID = %3").arg(column, table, QString::number(id)));
}

int CDbQuery::GetIntByTwoKeys(const QString& table, const QString& column,
                              const QString& keyColumn1, long key1, const QString& keyColumn2,
                              long key2) {
    return ReadInt(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = %4 AND %5 = %6")
                       .arg(column, table, keyColumn1, QString::number(key1), keyColumn2,
                            QString::number(key2)));
}

QString CDbQuery::GetTextById(const QString& table, const QString& column, long id) {
    QString text;
    GetTextById(table, column, id, text);
    return text;
}

bool CDbQuery::GetTextById(const QString& table, const QString& column, long id, QString& text) {
    text.clear();
    CDbRecordset rs = Open(
        QStringLiteral("SELECT %1 FROM %2 WHERE ID = %3").arg(column, table, QString::number(id)));
    if (!rs.IsOpen())
        return false;
    if (!rs.IsEOF())
        text = rs.GetText(0);
    return true;
}

bool CDbQuery::GetFlag(const QString& table, const QString& column, const QString& keyColumn,
                       long key) {
    return ReadFlag(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = %4")
                        .arg(column, table, keyColumn, QString::number(key)));
}

bool CDbQuery::GetFlagById(const QString& table, const QString& column, long id) {
    return ReadFlag(
        QStringLiteral("SELECT %1 FROM %2 WHERE ID = %3").arg(column, table, QString::number(id)));
}

void CDbQuery::GetDateTimeById(const QString& table, const QString& column, long id,
                               CDateTime& value) {
    CDbRecordset rs = Open(
        QStringLiteral("SELECT %1 FROM %2 WHERE ID = %3").arg(column, table, QString::number(id)));
    if (rs.IsOpen() && !rs.IsEOF())
        value = rs.GetDateTime(0);
}

bool CDbQuery::SetIntById(const QString& table, const QString& column, long id, long value) {
    return ExecuteCommand(QStringLiteral("UPDATE %1 SET %2 = %3 WHERE ID = %4")
                              .arg(table, column, QString::number(value), QString::number(id)));
}

bool CDbQuery::DeleteWhere(const QString& table, const QString& keyColumn, int value) {
    return ExecuteCommand(QStringLiteral("DELETE FROM %1 WHERE %2 = %3")
                              .arg(table, keyColumn, QString::number(value)));
}

int CDbQuery::NextId(const QString& table) {
    const QString sql = QStringLiteral("SELECT MAX(%1) FROM %2").arg(QStringLiteral("ID"), table);
    for (int attempt = 0; attempt < NextIdAttempts; ++attempt) {
        CDbRecordset rs = Open(sql);
        if (!rs.IsOpen())
            continue; // reported by Open; try again
        if (rs.IsEOF())
            return 1;
        const int highest = rs.GetInt(0);
        return highest == -1 ? 1 : highest + 1;
    }
    return -1;
}

int CDbQuery::ReadInt(const QString& sql) {
    CDbRecordset rs = Open(sql);
    if (!rs.IsOpen() || rs.IsEOF())
        return -1;
    return rs.GetInt(0);
}

bool CDbQuery::ReadFlag(const QString& sql) {
    CDbRecordset rs = Open(sql);
    if (!rs.IsOpen() || rs.IsEOF())
        return false;
    return rs.GetFlag(0);
}

QString FormatDateTimeLiteral(const CDateTime& value) {
    return value.ToSqlLiteral();
}

QString QuoteSqlText(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return quoted;
}
