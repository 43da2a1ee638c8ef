#include "DialogTestUtil.h"

#include "ConfigListGrid.h"
#include "DbConnection.h"
#include "GridComponents.h"
#include "Schema.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDate>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTest>
#include <sqlite3.h>

namespace DlgTest {
QStringList& DbErrors() {
    static QStringList errors;
    return errors;
}

QString OpenNewDatabase() {
    static int counter = 0;
    const QString path = DvTest::TempDir() + QStringLiteral("/dlg-%1.mdb").arg(++counter);
    QFile::remove(path);
    QString error;
    if (!DvSchema::CreateDatabase(path, QString(), QString(), QDate(2024, 3, 15), error))
        qFatal("No se pudo crear la base de datos de prueba: %s", qPrintable(error));
    CDbConnection& connection = CDbConnection::Instance();
    connection.Reset();
    connection.SetErrorSink([](const QString& text) { DbErrors() << text; });
    if (!connection.OpenFile(path, QString()))
        qFatal("No se pudo abrir la base de datos de prueba");
    DbErrors().clear();
    return path;
}

void CloseDatabase() {
    CDbConnection::Instance().Reset();
}

bool Exec(const QString& sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(CDbConnection::Instance().Handle(), sql.toUtf8().constData(),
                                nullptr, nullptr, &message);
    if (rc != SQLITE_OK)
        qWarning("Falló «%s»: %s", qPrintable(sql), message ? message : "");
    sqlite3_free(message);
    return rc == SQLITE_OK;
}

bool Exec(const QStringList& statements) {
    bool ok = true;
    for (const QString& sql : statements)
        ok &= Exec(sql);
    return ok;
}

QStringList Rows(const QString& sql) {
    QStringList rows;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(CDbConnection::Instance().Handle(), sql.toUtf8().constData(), -1, &stmt,
                           nullptr) != SQLITE_OK) {
        qWarning("No se pudo preparar «%s»", qPrintable(sql));
        return rows;
    }
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList columns;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
            columns << (text ? QString::fromUtf8(text) : QStringLiteral("NULL"));
        }
        rows << columns.join(QLatin1Char('|'));
    }
    sqlite3_finalize(stmt);
    return rows;
}

QString Value(const QString& sql) {
    const QStringList rows = Rows(sql);
    if (rows.isEmpty() || rows.first() == QLatin1String("NULL"))
        return QString();
    return rows.first().section(QLatin1Char('|'), 0, 0);
}

int IntValue(const QString& sql) {
    bool ok = false;
    const int value = Value(sql).toInt(&ok);
    return ok ? value : -99999;
}

QStringList ListTexts(CConfigListGrid* list, int column) {
    QStringList texts;
    for (int row = 0; row < list->GetRowCount(); ++row)
        texts << list->RowText(row, column);
    return texts;
}

QList<int> ListKeys(CConfigListGrid* list) {
    QList<int> keys;
    for (int row = 0; row < list->GetRowCount(); ++row)
        keys << list->RowKey(row);
    return keys;
}

void Click(QWidget* dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(DvFindDlgItem(dialog, id));
    if (!button)
        qFatal("No hay botón %d", id);
    QVERIFY(button->isEnabled());
    button->click();
}

void SetText(QWidget* dialog, int id, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(DvFindDlgItem(dialog, id));
    if (!edit)
        qFatal("No hay campo %d", id);
    edit->setText(text);
}

QString Text(QWidget* dialog, int id) {
    return DvGetWindowText(DvFindDlgItem(dialog, id));
}

void LeaveField(QWidget* dialog, int id) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(DvFindDlgItem(dialog, id), &out);
}

void EnterField(QWidget* dialog, int id) {
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(DvFindDlgItem(dialog, id), &in);
}

void DoubleClickRow(CConfigListGrid* list, int row) {
    QRect rect;
    list->GetCellRect(0, row, &rect);
    // As the window system delivers it: a click, then the second press as a double click.
    QTest::mouseClick(list->CellArea(), Qt::LeftButton, Qt::NoModifier, rect.center());
    QTest::mouseDClick(list->CellArea(), Qt::LeftButton, Qt::NoModifier, rect.center());
}
} // namespace DlgTest
