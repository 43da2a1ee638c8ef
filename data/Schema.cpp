#include "Schema.h"

#include "ArchivoSalida.h"
#include "DbConnection.h"
#include "DbQuery.h"
#include "Password.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QUrl>
#include <sqlite3.h>

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

bool Exec(sqlite3* db, const QString& sql, QString& error) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc == SQLITE_OK)
        return true;
    error = message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_free(message);
    return false;
}
// The tables of a roster database, of this version and of older ones.
const char* const RosterTables[] = {"FUNCIONES",   "PERSONAL",       "TIPOSTURNO",     "TURNOS",
                                    "ASIG_TURNOS", "FIESTAS",        "EXCEPCIONES",    "VACACIONES",
                                    "BAJAS",       "DIASPERSONALES", "PREF_IMPRESION", "AUX"};

// Steps of the upgrade; each checks what the file lacks and adds only that.
void IndexStep(CDbConnection& connection) {
    DvSchema::EnsureIndexes(connection.Handle());
}

// Earlier versions made a new file under ".<name>.XXXXXX" (random letters and digits)
// beside it, and a run killed part-way left it there with its journal. Such a file is
// recognised by its content: empty, or a database marked as ours; its journal by the
// journal's own mark once its file is gone.
bool IsOldTemporary(const QString& path, const QByteArray& mark, int markOffset,
                    quint32 applicationId) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(100);
    if (head.isEmpty())
        return true;
    if (!head.startsWith(mark))
        return false;
    if (markOffset < 0)
        return true;
    if (head.size() < markOffset + 4)
        return false;
    const auto byte = [&head](int i) { return static_cast<quint32>(static_cast<uchar>(head[i])); };
    const quint32 id = byte(markOffset) << 24 | byte(markOffset + 1) << 16 |
                       byte(markOffset + 2) << 8 | byte(markOffset + 3);
    return id == applicationId;
}

void RemoveOldTemporaries(const QFileInfo& target) {
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9]{6}(-journal)?$"));
    static const QByteArray databaseMark("SQLite format 3\0", 16);
    static const QByteArray journalMark("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8);
    const QString prefix = QStringLiteral(".") + target.fileName() + QLatin1Char('.');
    const QDir folder = target.absoluteDir();
    QStringList names = folder.entryList({prefix + QLatin1Char('*')},
                                         QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    names.sort(); // a file before its journal
    for (const QString& entry : names) {
        const QString rest = entry.mid(prefix.size());
        if (!name.match(rest).hasMatch())
            continue;
        const QString path = folder.filePath(entry);
        const bool journal = rest.endsWith(QLatin1String("-journal"));
        if (journal
                ? (!QFileInfo::exists(path.chopped(8)) && IsOldTemporary(path, journalMark, -1, 0))
                : IsOldTemporary(path, databaseMark, 68, DvSchema::ApplicationId))
            QFile::remove(path);
    }
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

void RulesStep(CDbConnection& connection) {
    EnsureRulesTables(connection.Handle());
}

// Whether the table has the column (names compared without regard to case).
bool HasColumn(sqlite3* db, const char* table, const char* column) {
    sqlite3_stmt* stmt = nullptr;
    bool found = false;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM pragma_table_info(?1) WHERE upper(name) = upper(?2)",
                           -1, &stmt, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(stmt, 1, table, -1, SQLITE_STATIC);
        sqlite3_bind_text(stmt, 2, column, -1, SQLITE_STATIC);
        found = sqlite3_step(stmt) == SQLITE_ROW;
    }
    sqlite3_finalize(stmt);
    return found;
}

// The roster options' "Ajustar a una hoja": older files get the column, ticked for the
// services that already have options, as it is for those that have none.
void FitToSheetStep(CDbConnection& connection) {
    sqlite3* db = connection.Handle();
    if (!db || !HasColumn(db, "PREF_IMPRESION", "ID") ||
        HasColumn(db, "PREF_IMPRESION", "AJUSTAR_HOJA"))
        return;
    sqlite3_exec(db, "ALTER TABLE PREF_IMPRESION ADD COLUMN AJUSTAR_HOJA BOOLEAN DEFAULT 1",
                 nullptr, nullptr, nullptr);
}
} // namespace

namespace DvSchema {
FileKind InspectFile(const QString& path) {
    const QFileInfo info(path);
    // An empty file is no database at all; opening it says so.
    if (!info.isFile() || info.size() == 0)
        return FileKind::Unknown;
    // Immutable: read as it lies, no lock taken, no journal or other file made.
    const QByteArray uri =
        QUrl::fromLocalFile(info.absoluteFilePath()).toEncoded() + "?immutable=1";
    sqlite3* db = nullptr;
    FileKind kind = FileKind::Unknown;
    if (sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db,
                               "SELECT upper(name) FROM sqlite_master WHERE type = 'table' "
                               "UNION ALL SELECT application_id FROM pragma_application_id",
                               -1, &stmt, nullptr) == SQLITE_OK) {
            QSet<QString> names;
            int rc;
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
                names.insert(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))));
            if (rc == SQLITE_DONE) {
                kind = names.contains(QString::number(ApplicationId)) ? FileKind::Roster
                                                                      : FileKind::Foreign;
                for (const char* table : RosterTables)
                    if (names.contains(QLatin1String(table)))
                        kind = FileKind::Roster;
            }
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return kind;
}

QString ForeignFileMessage(const QString& path) {
    return QStringLiteral("El fichero %1 no es una base de datos de Dravonela")
        .arg(QDir::toNativeSeparators(path));
}

void Upgrade(CDbConnection& connection) {
    using Step = void (*)(CDbConnection&);
    static const Step steps[] = {
        &CheckAndUpgrade, // AUX and VACACIONES
        &IndexStep,       // the indexes on the reference columns
        &RulesStep,       // the tables of the roster checks' rules
        &FitToSheetStep,  // PREF_IMPRESION.AJUSTAR_HOJA
    };
    for (const Step step : steps)
        step(connection);
}

void CheckAndUpgrade(CDbConnection& connection) {
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
    const QFileInfo target(path);
    if (target.exists() || target.isSymLink()) {
        error = QStringLiteral("El fichero %1 ya existe; no se sobrescribe.").arg(path);
        return false;
    }
    const QString schema = ReadResource(QStringLiteral(":/sql/schema.sql"));
    const QString indexes = ReadResource(QStringLiteral(":/sql/indexes.sql"));
    if (schema.isEmpty() || indexes.isEmpty()) {
        error = QStringLiteral("Falta el esquema de la base de datos en el programa.");
        return false;
    }
    RemoveOldTemporaries(target);

    // Made in memory, so nothing is on the disk until the whole file is written at once.
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        error = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        return false;
    }
    bool ok = Exec(db, QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId), error) &&
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
    QByteArray bytes;
    if (ok) {
        sqlite3_int64 size = 0;
        unsigned char* image = sqlite3_serialize(db, "main", &size, 0);
        if (image && size > 0)
            bytes = QByteArray(reinterpret_cast<const char*>(image), static_cast<int>(size));
        else {
            error = QStringLiteral("No se pudo preparar la base de datos nueva.");
            ok = false;
        }
        sqlite3_free(image);
    }
    sqlite3_close(db);
    if (!ok)
        return false;
    // A file of the program's own making, like the rest; the memory database's header
    // already names a rollback journal, which the file keeps.
    return DvArchivo::EscribirNuevo(path, bytes, &error);
}
} // namespace DvSchema
