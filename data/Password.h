#pragma once
// The database password. A file made with a password keeps, in its table ACCESO, a
// verifier of it: Argon2id from libsodium at its interactive limits
// ("$argon2id$v=19$m=...,t=...,p=1$<salt>$<hash>"); files of earlier versions keep a
// PBKDF2-HMAC-SHA256 verifier, still accepted and replaced by an Argon2id one the
// first time the file opens with its password. Opening the file with another password
// is refused. This is an access gate for the program, as the original engine's
// database password was: the data in the file itself is not encrypted, and anyone who
// can read the file can read it with another tool.

#include <QByteArray>
#include <QString>

struct sqlite3;

namespace DvPassword {
// An Argon2id verifier of the password, with a fresh random salt; empty when libsodium
// could not make one (no memory).
QString MakeVerifier(const QString& password);
// The verifier of earlier versions: "pbkdf2-sha256$<iterations>$<salt, base64>$<hash,
// base64>" for a fresh random salt (tests of old files).
QString MakePbkdf2Verifier(const QString& password, int iterations = 0);
// True when the password matches the verifier, of either kind. A verifier that cannot
// be read matches no password.
bool Verify(const QString& password, const QString& verifier);
// True when the verifier should be made again: an old PBKDF2 one, or Argon2id with
// limits below the current ones.
bool NeedsUpgrade(const QString& verifier);
// PBKDF2-HMAC-SHA256 (RFC 8018), exposed for its known-answer test.
QByteArray Pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int iterations,
                        int length);

constexpr int DefaultIterations = 20000;

// The verifier stored in the file: empty when the file keeps none (no ACCESO table,
// or no row in it). ok is false when the file could not be read.
QString StoredVerifier(sqlite3* db, bool& ok);
// Creates ACCESO and stores the verifier of the password; an empty password stores
// nothing. Returns false when the statements fail.
bool StorePassword(sqlite3* db, const QString& password);
// After a successful open with an old verifier: stores a new one in one transaction.
// Silent when the file cannot be written (it keeps the old verifier, which still opens).
bool UpgradeVerifier(sqlite3* db, const QString& password);
} // namespace DvPassword
