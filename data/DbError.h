#pragma once
// One database failure as the user sees it: an HRESULT-style code, the message of
// that code, the engine that raised it and the engine's own description.

#include <QString>
#include <cstdint>

struct CDbError {
    uint32_t code = 0x80004005u;
    QString message;     // empty: derived from the code when formatted
    QString source;      // printed as "(null)" when absent
    QString description; // printed as "(null)" when absent
    bool hasSource = false;
    bool hasDescription = false;

    // A failure raised by our database engine, with its own description.
    static CDbError Make(uint32_t code, const QString& description);
    // The failure SQLite reported: its result code mapped onto the code a user of the
    // original engine would have seen, its message as the description.
    static CDbError FromSqlite(int resultCode, const char* engineMessage);
};

// Codes a user of the original engine would have seen for the same failures.
namespace DbCode {
constexpr uint32_t MissingTable = 0x80040E37u;
constexpr uint32_t Syntax = 0x80040E14u;
constexpr uint32_t Integrity = 0x80040E2Fu;
constexpr uint32_t Authentication = 0x80040E4Du;
constexpr uint32_t NoConnection = 0x80004003u;
constexpr uint32_t Fail = 0x80004005u;
// A column name that is not in the result.
constexpr uint32_t ItemNotFound = 0x800A0CC1u;
} // namespace DbCode

// The name our database engine gives as the source of its failures.
QString DbEngineSource();
