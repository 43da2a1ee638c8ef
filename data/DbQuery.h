#pragma once
// Short-lived statement object bound to the one connection: statements without rows,
// single-value reads with their fixed statement texts and failure values, writes by
// key, ID allocation, and forward reading of a whole result (CDbRecordset).

#include "DateTime.h"
#include "DbConnection.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <utility>
#include <vector>

struct sqlite3_stmt;

// A forward-only result. Column values convert by the column's declared type:
// INTEGER/INT/LONG/COUNTER 32-bit, SMALLINT/SHORT 16-bit, TEXT/VARCHAR/CHAR/MEMO text,
// DATETIME/DATE/TIME date, BIT/BOOLEAN/YESNO/LOGICAL yes/no; an expression without a
// declared type (MAX(ID)) by its stored value.
class CDbRecordset {
public:
    CDbRecordset();
    CDbRecordset(CDbRecordset&&) noexcept;
    CDbRecordset& operator=(CDbRecordset&&) noexcept;
    ~CDbRecordset();

    bool IsOpen() const; // false when the statement failed
    bool IsEOF() const;  // true at the end, and for a failed statement
    bool MoveNext();     // false (and reported) on a failure while stepping
    void Close();

    int ColumnCount() const;
    int ColumnIndex(const QString& name) const; // -1 when absent (case-insensitive)
    QString ColumnName(int column) const;
    // True for a NULL value, and when there is no current row.
    bool IsNull(int column) const;
    bool IsNull(const QString& column) const;

    // Conversions of the typed reads: integer (NULL -> -1, other types -> 0),
    // text (trimmed; non-text -> empty), flag (yes/no non-zero; other types -> false),
    // date-time (anything convertible; NULL -> null status; else invalid).
    // A column name that is not in the result is reported once per result and reads
    // as the failure value (-1, empty, false, invalid).
    int GetInt(int column) const;
    int GetInt(const QString& column) const;
    QString GetText(int column) const;
    QString GetText(const QString& column) const;
    bool GetFlag(int column) const;
    bool GetFlag(const QString& column) const;
    CDateTime GetDateTime(int column) const;
    CDateTime GetDateTime(const QString& column) const;

private:
    friend class CDbQuery;
    struct Impl;
    std::unique_ptr<Impl> d;
};

class CDbQuery {
public:
    explicit CDbQuery(CDbConnection& connection = CDbConnection::Instance());
    virtual ~CDbQuery();

    // Reports a failed statement (error box) and runs the connection probe.
    virtual void OnDbError(const CDbError& error, bool show);
    // The connection with its lock taken, or null (and no lock) when it is not open.
    virtual sqlite3* AcquireConnection();
    virtual void ReleaseConnection();

    // A statement that returns no rows. On failure the code goes to errorCode when
    // given; the failure is reported only when reportUnless is non-zero and differs
    // from the code (0: silent).
    bool ExecuteCommand(const QString& sql, uint32_t* errorCode = nullptr,
                        uint32_t reportUnless = 0xFFFFFFFFu);
    // The rows the last ExecuteCommand inserted, changed or deleted (0 after a failure).
    int ChangedRows() const { return m_changedRows; }

    // Runs a statement that returns rows. A failure is reported (OnDbError) and the
    // result is then closed (IsOpen false, IsEOF true). An open result holds the
    // connection's lock until it is closed or destroyed.
    CDbRecordset Open(const QString& sql);
    // The same for a read run again and again: its prepared statement is kept by the
    // connection when the result is done with it, and taken again for the same text.
    // Named parameters of the text (":desde") take the values given; integral values
    // are bound as integers, others as reals, absent names are left NULL.
    using CValores = std::vector<std::pair<const char*, double>>;
    CDbRecordset OpenKept(const QString& sql, const CValores& valores = {});

    int GetInt(const QString& table, const QString& column, const QString& keyColumn, long key);
    int GetIntById(const QString& table, const QString& column, long id);
    int GetIntByTwoKeys(const QString& table, const QString& column, const QString& keyColumn1,
                        long key1, const QString& keyColumn2, long key2);
    QString GetTextById(const QString& table, const QString& column, long id);
    bool GetTextById(const QString& table, const QString& column, long id, QString& text);
    bool GetFlag(const QString& table, const QString& column, const QString& keyColumn, long key);
    bool GetFlagById(const QString& table, const QString& column, long id);
    // Leaves the value unchanged when there is no row or on failure.
    void GetDateTimeById(const QString& table, const QString& column, long id, CDateTime& value);

    bool SetIntById(const QString& table, const QString& column, long id, long value);
    bool DeleteWhere(const QString& table, const QString& keyColumn, int value);
    // MAX(ID) + 1, 1 for an empty table; retried a bounded number of times after a
    // reported failure; -1 when every attempt failed.
    int NextId(const QString& table);

    static constexpr int NextIdRetries = 3;
    static constexpr int NextIdAttempts = 1 + NextIdRetries;

    CDbConnection& Connection() { return m_connection; }

private:
    CDbRecordset OpenStatement(const QString& sql, const CValores* valores, bool keep);
    int ReadInt(const QString& sql);
    bool ReadFlag(const QString& sql);

    CDbConnection& m_connection;
    int m_held = 0; // times the connection's lock was taken and not yet left
    int m_changedRows = 0;
};

// "'%4d/%02d/%02d %02d:%02d:%02d'"
QString FormatDateTimeLiteral(const CDateTime& value);
// Every single quote doubled.
QString QuoteSqlText(const QString& text);
