#include "Password.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QStringList>
#include <sodium.h>
#include <sqlite3.h>

namespace {
constexpr int HashLength = 32;
constexpr int SaltLength = 16;

// Compares in time independent of where the arrays first differ.
bool SameBytes(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (int i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}
} // namespace

namespace DvPassword {
QByteArray Pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int iterations,
                        int length) {
    QByteArray derived;
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password);
    for (quint32 block = 1; derived.size() < length; ++block) {
        QByteArray counter(4, '\0');
        counter[0] = static_cast<char>((block >> 24) & 0xff);
        counter[1] = static_cast<char>((block >> 16) & 0xff);
        counter[2] = static_cast<char>((block >> 8) & 0xff);
        counter[3] = static_cast<char>(block & 0xff);
        mac.reset();
        mac.addData(salt);
        mac.addData(counter);
        QByteArray u = mac.result();
        QByteArray t = u;
        for (int i = 1; i < iterations; ++i) {
            mac.reset();
            mac.addData(u);
            u = mac.result();
            for (int k = 0; k < t.size(); ++k)
                t[k] = static_cast<char>(t[k] ^ u[k]);
        }
        derived += t;
    }
    return derived.left(length);
}

QString MakeVerifier(const QString& password) {
    if (sodium_init() < 0)
        return {};
    const QByteArray utf8 = password.toUtf8();
    char out[crypto_pwhash_STRBYTES] = {};
    if (crypto_pwhash_str_alg(out, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                              crypto_pwhash_OPSLIMIT_INTERACTIVE,
                              crypto_pwhash_MEMLIMIT_INTERACTIVE,
                              crypto_pwhash_ALG_ARGON2ID13) != 0)
        return {};
    return QString::fromLatin1(out);
}

bool NeedsUpgrade(const QString& verifier) {
    const QByteArray text = verifier.trimmed().toLatin1();
    if (!text.startsWith("$argon2id$"))
        return true;
    if (sodium_init() < 0)
        return false;
    return crypto_pwhash_str_needs_rehash(text.constData(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0;
}

QString MakePbkdf2Verifier(const QString& password, int iterations) {
    if (iterations <= 0)
        iterations = DefaultIterations;
    QByteArray salt(SaltLength, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(salt.data()), SaltLength / 4);
    const QByteArray hash = Pbkdf2Sha256(password.toUtf8(), salt, iterations, HashLength);
    return QStringLiteral("pbkdf2-sha256$%1$%2$%3")
        .arg(iterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(hash.toBase64()));
}

bool Verify(const QString& password, const QString& verifier) {
    const QByteArray text = verifier.trimmed().toLatin1();
    if (text.startsWith("$argon2")) {
        if (sodium_init() < 0 || text.size() >= crypto_pwhash_STRBYTES)
            return false;
        const QByteArray utf8 = password.toUtf8();
        return crypto_pwhash_str_verify(text.constData(), utf8.constData(),
                                        static_cast<unsigned long long>(utf8.size())) == 0;
    }
    const QStringList parts = verifier.trimmed().split(QLatin1Char('$'));
    if (parts.size() != 4 || parts[0] != QLatin1String("pbkdf2-sha256"))
        return false;
    bool ok = false;
    const int iterations = parts[1].toInt(&ok);
    if (!ok || iterations < 1 || iterations > 10000000)
        return false;
    const QByteArray salt = QByteArray::fromBase64(parts[2].toLatin1());
    const QByteArray hash = QByteArray::fromBase64(parts[3].toLatin1());
    if (salt.isEmpty() || hash.size() != HashLength)
        return false;
    return SameBytes(Pbkdf2Sha256(password.toUtf8(), salt, iterations, HashLength), hash);
}

QString StoredVerifier(sqlite3* db, bool& ok) {
    ok = false;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                           "upper(name) = 'ACCESO'",
                           -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return {};
    }
    const bool stepped = sqlite3_step(stmt) == SQLITE_ROW;
    const bool hasTable = stepped && sqlite3_column_int(stmt, 0) > 0;
    sqlite3_finalize(stmt);
    if (!stepped)
        return {};
    if (!hasTable) {
        ok = true;
        return {};
    }
    stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT VERIFICADOR FROM ACCESO", -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return {};
    }
    QString verifier;
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(stmt, 0);
        // A row whose verifier is missing still guards the file: it matches nothing.
        verifier =
            text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QStringLiteral("-");
        if (verifier.isEmpty())
            verifier = QStringLiteral("-");
    }
    sqlite3_finalize(stmt);
    ok = rc == SQLITE_ROW || rc == SQLITE_DONE;
    return verifier;
}

bool StorePassword(sqlite3* db, const QString& password) {
    if (sqlite3_exec(db, "CREATE TABLE IF NOT EXISTS ACCESO (VERIFICADOR VARCHAR(255))", nullptr,
                     nullptr, nullptr) != SQLITE_OK)
        return false;
    if (sqlite3_exec(db, "DELETE FROM ACCESO", nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    if (password.isEmpty())
        return true;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "INSERT INTO ACCESO (VERIFICADOR) VALUES (?)", -1, &stmt, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(stmt);
        return false;
    }
    const QByteArray verifier = MakeVerifier(password).toUtf8();
    if (verifier.isEmpty()) {
        sqlite3_finalize(stmt);
        return false;
    }
    sqlite3_bind_text(stmt, 1, verifier.constData(), verifier.size(), SQLITE_TRANSIENT);
    const bool done = sqlite3_step(stmt) == SQLITE_DONE;
    sqlite3_finalize(stmt);
    return done;
}

bool UpgradeVerifier(sqlite3* db, const QString& password) {
    if (sqlite3_exec(db, "SAVEPOINT verificador", nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    if (!password.isEmpty() && StorePassword(db, password) &&
        sqlite3_exec(db, "RELEASE verificador", nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    sqlite3_exec(db, "ROLLBACK TO verificador", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "RELEASE verificador", nullptr, nullptr, nullptr);
    return false;
}
} // namespace DvPassword
