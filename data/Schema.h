#pragma once
// The tables of the roster database: the check and upgrade run right after the
// connection opens, the indexes on the reference columns, and the making of a new file.

#include <QDate>
#include <QString>

class CDbConnection;
struct sqlite3;

namespace DvSchema {
// Marks a file as a roster database of this program (PRAGMA application_id).
constexpr int ApplicationId = 0x44524156; // "DRAV"

// What a file holds, read without changing a byte of it (no lock, no journal).
enum class FileKind {
    Roster,  // a roster database, of any age: it has one of the roster tables
    Foreign, // a database of some other program: none of the roster tables
    Unknown, // not readable as a database here; opening it tells why
};
FileKind InspectFile(const QString& path);
// "El fichero <path> no es una base de datos de Dravonela"
QString ForeignFileMessage(const QString& path);

// The upgrade run right after the connection opens: every step below in turn. Each
// step checks what the file lacks and adds only that, so a file that has it is left
// alone and a second run changes nothing; a new addition to the schema is one more
// step at the end of the list in Schema.cpp.
void Upgrade(CDbConnection& connection);

// Runs "SELECT * FROM AUX"; when it fails (reported, without the connection probe) or
// returns no row, tries silently to create AUX and VACACIONES.
void CheckAndUpgrade(CDbConnection& connection);

// Creates the indexes of :/sql/indexes.sql that the file lacks. Failures are silent.
void EnsureIndexes(sqlite3* db);

// Makes a new database file: all the tables, the AUX row, the indexes, the verifier of
// the password (none for an empty one) and, with demoSql, that text too (after its date
// placeholders are filled in for the given day). The database is made in memory and
// written whole by the program's one writer (DvArchivo::EscribirNuevo). Refuses an
// existing file; on any failure leaves nothing behind and puts the reason in error.
// Temporary files that an earlier run killed part-way left beside the file go first.
bool CreateDatabase(const QString& path, const QString& password, const QString& demoSql,
                    const QDate& today, QString& error);

// Fills in the date placeholders of demo SQL, relative to a day:
//   {F:m,d}        the literal of day d of the month m months after today's month
//   {F:m,d,HH:MM}  the same with a time of day
// d <= 0 counts back from the month's last day (0 is the last day); a day past the
// month's end is its last day. A placeholder that cannot be read is left as it is.
QString ExpandDatePlaceholders(const QString& sql, const QDate& today);

// The statements of a resource file of SQL, split at the ';' that end them.
QStringList StatementsOf(const QString& sqlText);
} // namespace DvSchema
