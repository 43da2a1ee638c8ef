#include "DataTestUtil.h"

#include "Schema.h"
#include "TestSupport.h"

#include <QDate>
#include <QFile>
#include <QTest>
#include <sqlite3.h>

namespace DataTest {
QString NewPath(const QString& stem) {
    static int counter = 0;
    QString path;
    do {
        path = DvTest::TempDir() + QStringLiteral("/%1-%2.mdb").arg(stem).arg(++counter);
    } while (QFile::exists(path));
    return path;
}

QString NewDatabase(const QString& password) {
    const QString path = NewPath();
    QString error;
    if (!DvSchema::CreateDatabase(path, password, QString(), QDate(2024, 3, 15), error))
        qFatal("No se pudo crear la base de datos de prueba: %s", qPrintable(error));
    return path;
}

bool RawExec(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE,
                              nullptr) == SQLITE_OK;
    if (ok)
        ok = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

QString RawValue(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    QString value;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_text(stmt, 0))
            value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return value;
}

RecordingConnection::RecordingConnection()
    : m_boxes(std::make_shared<QStringList>()), m_connection(std::make_unique<CDbConnection>()) {
    auto boxes = m_boxes;
    m_connection->SetErrorSink([boxes](const QString& text) { boxes->append(text); });
}
} // namespace DataTest
