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

// Adds, silently, the rules tables of the roster checks a file lacks; then runs "SELECT *
// FROM AUX" and, when it fails (reported, without the connection probe) or returns no
// row, tries silently to create AUX and VACACIONES.
void CheckAndUpgrade(CDbConnection& connection);

// Creates the indexes of :/sql/indexes.sql that the file lacks. Failures are silent.
void EnsureIndexes(sqlite3* db);

// Makes a new database file: all the tables, the AUX row, the indexes, the verifier of
// the password (none for an empty one) and, with demoSql, that text too (after its date
// placeholders are filled in for the given day). Refuses an existing file; on any
// failure leaves nothing behind and puts the reason in error.
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
