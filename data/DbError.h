#pragma once
// One database failure as the user sees it: an HRESULT-style code, the message of
// that code, the engine that raised it and the engine's own description.

#include <QString>
#include <cstdint>

struct CDbError {
    uint32_t code = 0x80004005u;
    QString message;     // empty: derived from the code when formatted
    QString source;      // empty prints as "(null)"
    QString description; // empty prints as "(null)"
    bool hasSource = false;
    bool hasDescription = false;
};

// Codes a user of the original engine would have seen for the same failures.
namespace DbCode {
constexpr uint32_t MissingTable = 0x80040E37u;
constexpr uint32_t Syntax = 0x80040E14u;
constexpr uint32_t Integrity = 0x80040E2Fu;
constexpr uint32_t Authentication = 0x80040E4Du;
constexpr uint32_t NoConnection = 0x80004003u;
constexpr uint32_t Fail = 0x80004005u;
} // namespace DbCode
