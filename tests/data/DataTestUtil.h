#pragma once
// Helpers of the data store tests: database files in a temporary folder, a connection
// of the test's own whose error boxes are recorded instead of shown.

#include "DbConnection.h"

#include <QString>
#include <QStringList>
#include <memory>

struct sqlite3;

namespace DataTest {
// A path in the test's temporary folder that does not exist yet.
QString NewPath(const QString& stem = QStringLiteral("prueba"));
// A new database made as crear-bd makes it (no demo data); fails the test when it cannot.
QString NewDatabase(const QString& password = QString());
// Runs statements directly on a file, outside the program's connection.
bool RawExec(const QString& path, const QString& sql);
// The first column of the first row of a query run directly on a file.
QString RawValue(const QString& path, const QString& sql);

// A connection whose error texts are collected.
class RecordingConnection {
public:
    RecordingConnection();
    CDbConnection& operator*() { return *m_connection; }
    CDbConnection* operator->() { return m_connection.get(); }
    CDbConnection& Get() { return *m_connection; }
    int Boxes() const { return m_boxes->size(); }
    const QStringList& Texts() const { return *m_boxes; }
    QString Last() const { return m_boxes->isEmpty() ? QString() : m_boxes->last(); }
    void Clear() { m_boxes->clear(); }

private:
    std::shared_ptr<QStringList> m_boxes;
    std::unique_ptr<CDbConnection> m_connection;
};
} // namespace DataTest
