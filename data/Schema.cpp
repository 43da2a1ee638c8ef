#include "Schema.h"

#include "DbConnection.h"
#include "DbQuery.h"
#include "Password.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QTemporaryFile>
#include <sqlite3.h>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {
// The schema check reports the failure of its query but does not probe the
// connection: the creations that follow still run on it.
class CSchemaQuery : public CDbQuery {
public:
    using CDbQuery::CDbQuery;
    void OnDbError(const CDbError& error, bool show) override {
        Connection().ReportDbError(error, show);
    }
};

QString ReadResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QFileDevice::Permissions NewFilePermissions() {
    QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ReadUser | QFileDevice::WriteUser;
#ifdef Q_OS_UNIX
    const mode_t mask = umask(0);
    umask(mask);
    if (!(mask & S_IRGRP))
        permissions |= QFileDevice::ReadGroup;
    if (!(mask & S_IWGRP))
        permissions |= QFileDevice::WriteGroup;
    if (!(mask & S_IROTH))
        permissions |= QFileDevice::ReadOther;
    if (!(mask & S_IWOTH))
        permissions |= QFileDevice::WriteOther;
#endif
    return permissions;
}

bool Exec(sqlite3* db, const QString& sql, QString& error) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc == SQLITE_OK)
        return true;
    error = message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_free(message);
    return false;
}
// The tables of the roster checks' rules, added to a file made before them: each one
// the file lacks is created as a new file has it. Silent: a read-only file goes without
// (the checks then use their defaults).
void EnsureRulesTables(sqlite3* db) {
    if (!db)
        return;
    static const char* const tables[] = {"REGLAS_SERVICIO", "MINIMOS_COBERTURA"};
    const QStringList statements =
        DvSchema::StatementsOf(ReadResource(QStringLiteral(":/sql/schema.sql")));
    for (const char* table : tables) {
        sqlite3_stmt* stmt = nullptr;
        bool present = true;
        if (sqlite3_prepare_v2(db,
                               "SELECT 1 FROM sqlite_master WHERE type = 'table' AND upper(name) "
                               "= ?1",
                               -1, &stmt, nullptr) == SQLITE_OK) {
            sqlite3_bind_text(stmt, 1, table, -1, SQLITE_STATIC);
            present = sqlite3_step(stmt) == SQLITE_ROW;
        }
        sqlite3_finalize(stmt);
        if (present)
            continue;
        const QRegularExpression create(
            QStringLiteral("^CREATE\\s+TABLE\\s+%1\\s*\\(").arg(QLatin1String(table)),
            QRegularExpression::CaseInsensitiveOption);
        for (const QString& statement : statements)
            if (create.match(statement).hasMatch())
                sqlite3_exec(db, statement.toUtf8().constData(), nullptr, nullptr, nullptr);
    }
}
} // namespace

namespace DvSchema {
void CheckAndUpgrade(CDbConnection& connection) {
    EnsureRulesTables(connection.Handle());
    CSchemaQuery query(connection);
    {
        CDbRecordset rs = query.Open(QStringLiteral("SELECT * FROM AUX"));
        if (rs.IsOpen() && !rs.IsEOF()) {
            // The version is read; nothing depends on it yet.
            rs.GetInt(QStringLiteral("VERSION_MAJOR"));
            rs.GetInt(QStringLiteral("VERSION_MINOR"));
            rs.GetInt(QStringLiteral("VERSION_REV"));
            return;
        }
    }
    query.ExecuteCommand(
        QStringLiteral(
            "CREATE TABLE AUX (VERSION_MAJOR INTEGER ,VERSION_MINOR INTEGER,VERSION_REV INTEGER)"),
        nullptr, 0);
    query.ExecuteCommand(
        QStringLiteral("CREATE TABLE VACACIONES (ID INTEGER PRIMARY KEY,ID_PERSONAL INTEGER,INICIO "
                       "DATETIME,FINAL DATETIME,ID_SUPLENTE INTEGER)"),
        nullptr, 0);
}

QStringList StatementsOf(const QString& sqlText) {
    QStringList statements;
    QString current;
    const QStringList lines = sqlText.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1String("--")))
            continue;
        current += line + QLatin1Char('\n');
        if (trimmed.endsWith(QLatin1Char(';'))) {
            statements.append(current.trimmed());
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements.append(current.trimmed());
    return statements;
}

void EnsureIndexes(sqlite3* db) {
    if (!db)
        return;
    QSet<QString> existing;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT upper(name) FROM sqlite_master WHERE type = 'index'", -1,
                           &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return;
    }
    while (sqlite3_step(stmt) == SQLITE_ROW)
        existing.insert(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))));
    sqlite3_finalize(stmt);

    static const QRegularExpression nameOf(QStringLiteral("INDEX\\s+IF\\s+NOT\\s+EXISTS\\s+(\\w+)"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QStringList statements = StatementsOf(ReadResource(QStringLiteral(":/sql/indexes.sql")));
    for (const QString& statement : statements) {
        const QRegularExpressionMatch match = nameOf.match(statement);
        if (match.hasMatch() && existing.contains(match.captured(1).toUpper()))
            continue;
        sqlite3_exec(db, statement.toUtf8().constData(), nullptr, nullptr, nullptr);
    }
}

QString ExpandDatePlaceholders(const QString& sql, const QDate& today) {
    static const QRegularExpression placeholder(
        QStringLiteral("\\{F:(-?\\d+),(-?\\d+)(?:,(\\d{1,2}):(\\d{2}))?\\}"));
    QString out;
    out.reserve(sql.size());
    int last = 0;
    QRegularExpressionMatchIterator it = placeholder.globalMatch(sql);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(sql).mid(last, m.capturedStart() - last);
        last = m.capturedEnd();
        const QDate first = QDate(today.year(), today.month(), 1).addMonths(m.captured(1).toInt());
        const int length = first.daysInMonth();
        int day = m.captured(2).toInt();
        if (day <= 0)
            day = length + day;
        day = qBound(1, day, length);
        const int hour = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
        const int minute = m.captured(4).isEmpty() ? 0 : m.captured(4).toInt();
        const CDateTime value(first.year(), first.month(), day, hour, minute, 0);
        out += value.IsValid() ? value.ToSqlLiteral() : m.captured(0);
    }
    out += QStringView(sql).mid(last);
    return out;
}

bool CreateDatabase(const QString& path, const QString& password, const QString& demoSql,
                    const QDate& today, QString& error) {
    if (QFileInfo::exists(path)) {
        error = QStringLiteral("El fichero %1 ya existe; no se sobrescribe.").arg(path);
        return false;
    }
    const QString schema = ReadResource(QStringLiteral(":/sql/schema.sql"));
    const QString indexes = ReadResource(QStringLiteral(":/sql/indexes.sql"));
    if (schema.isEmpty() || indexes.isEmpty()) {
        error = QStringLiteral("Falta el esquema de la base de datos en el programa.");
        return false;
    }

    // The file is made under a temporary name beside the target and renamed at the
    // end, so a failure leaves no half-made database behind.
    const QFileInfo target(path);
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                        QStringLiteral(".XXXXXX"));
    if (!temp.open()) {
        error = QStringLiteral("No se puede crear el fichero en %1: %2")
                    .arg(target.absolutePath(), temp.errorString());
        return false;
    }
    temp.close();
    // A temporary file is private to its owner; the database gets the permissions of
    // any new file of the user.
    temp.setPermissions(NewFilePermissions());

    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(temp.fileName()).constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        error = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        return false;
    }
    bool ok = Exec(db, QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId), error) &&
              Exec(db, QStringLiteral("PRAGMA journal_mode = DELETE"), error) &&
              Exec(db, QStringLiteral("BEGIN"), error) && Exec(db, schema, error) &&
              Exec(db, indexes, error);
    if (ok && !DvPassword::StorePassword(db, password)) {
        error = QString::fromUtf8(sqlite3_errmsg(db));
        ok = false;
    }
    if (ok && !demoSql.isEmpty())
        ok = Exec(db, ExpandDatePlaceholders(demoSql, today), error);
    if (ok)
        ok = Exec(db, QStringLiteral("COMMIT"), error);
    else
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    if (sqlite3_close(db) != SQLITE_OK && ok) {
        error = QStringLiteral("No se pudo cerrar la base de datos nueva.");
        ok = false;
    }
    if (!ok)
        return false;
    if (!QFile::rename(temp.fileName(), path)) {
        error = QFileInfo::exists(path)
                    ? QStringLiteral("El fichero %1 ya existe; no se sobrescribe.").arg(path)
                    : QStringLiteral("No se puede crear el fichero %1.").arg(path);
        return false;
    }
    temp.setAutoRemove(false);
    return true;
}
} // namespace DvSchema
