#pragma once
// The database password. A file made with a password keeps, in its table ACCESO, a
// salted and iterated hash of it (PBKDF2 with HMAC-SHA256); opening the file with
// another password is refused. This is an access gate for the program, as the original
// engine's database password was: the data in the file itself is not encrypted.

#include <QByteArray>
#include <QString>

struct sqlite3;

namespace DvPassword {
// "pbkdf2-sha256$<iterations>$<salt, base64>$<hash, base64>" for a fresh random salt.
QString MakeVerifier(const QString& password, int iterations = 0);
// True when the password matches the verifier. A verifier that cannot be read
// matches no password.
bool Verify(const QString& password, const QString& verifier);
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
} // namespace DvPassword
