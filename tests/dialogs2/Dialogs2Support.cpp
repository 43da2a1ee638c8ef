#include "Dialogs2Support.h"

#include "CellGrid.h"
#include "Clock.h"
#include "DbConnection.h"
#include "DbQuery.h"
#include "DialogBuilder.h"
#include "GridComponents.h"
#include "Schema.h"
#include "Settings.h"
#include "TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QtTest>
#include <sqlite3.h>

namespace Dlg2Test {
void InitTestProgram() {
    DvTest::IsolateSettings();
    DvClock::SetFixed(QDateTime(QDate(2007, 3, 5), QTime(10, 30)));
}

QStringList& DbErrors() {
    static QStringList errors;
    return errors;
}

void NewDatabase(const QString& name) {
    const QString path = DvTest::TempDir() + QLatin1Char('/') + name;
    QFile::remove(path);
    QString error;
    QVERIFY2(DvSchema::CreateDatabase(path, QString(), QString(), QDate(2007, 3, 5), error),
             qPrintable(error));
    CDbConnection& connection = CDbConnection::Instance();
    connection.Reset();
    DbErrors().clear();
    connection.SetErrorSink([](const QString& text) { DbErrors() << text; });
    QVERIFY(connection.OpenFile(path, QString()));
}

void Exec(const QStringList& statements) {
    CDbQuery query;
    for (const QString& sql : statements) {
        if (!query.ExecuteCommand(sql, nullptr, 0))
            DbErrors() << QStringLiteral("falló: %1").arg(sql);
    }
}

QVariant Value(const QString& sql) {
    // Read as stored, without the program's conversions by declared column type.
    sqlite3* db = CDbConnection::Instance().Handle();
    sqlite3_stmt* statement = nullptr;
    QVariant value;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK) {
        DbErrors() << QStringLiteral("consulta de prueba fallida: %1").arg(sql);
        return value;
    }
    if (sqlite3_step(statement) == SQLITE_ROW) {
        switch (sqlite3_column_type(statement, 0)) {
        case SQLITE_INTEGER:
            value = static_cast<int>(sqlite3_column_int64(statement, 0));
            break;
        case SQLITE_FLOAT:
            value = sqlite3_column_double(statement, 0);
            break;
        case SQLITE_NULL:
            break;
        default:
            value =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
            break;
        }
    }
    sqlite3_finalize(statement);
    return value;
}

int Count(const QString& sql) {
    return Value(sql).toInt();
}

QString Lit(int year, int month, int day, int hour, int minute) {
    return QString::asprintf("'%04d/%02d/%02d %02d:%02d:00'", year, month, day, hour, minute);
}

QWidget* Find(QWidget* root, int id) {
    return DvFindDlgItem(root, id);
}

void Pump() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

namespace {
void Send(QWidget* target, QEvent::Type type, const QPoint& pos, Qt::MouseButtons buttons) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(pos), QPointF(target->mapToGlobal(pos)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void ClickAt(QWidget* target, const QPoint& p, bool doubleClick) {
    Send(target, QEvent::MouseButtonPress, p, Qt::LeftButton);
    Send(target, QEvent::MouseButtonRelease, p, Qt::NoButton);
    if (doubleClick) {
        Send(target, QEvent::MouseButtonDblClick, p, Qt::LeftButton);
        Send(target, QEvent::MouseButtonRelease, p, Qt::NoButton);
    }
}

void CellClick(CCellGrid* grid, int column, int row, bool doubleClick) {
    QRect rect;
    QVERIFY2(grid->GetCellRect(column, row, &rect) == 0, "la celda no está a la vista");
    ClickAt(grid->CellArea(), rect.center(), doubleClick);
}
} // namespace

void ClickCell(CCellGrid* grid, int column, int row) {
    CellClick(grid, column, row, false);
}

void DoubleClickCell(CCellGrid* grid, int column, int row) {
    CellClick(grid, column, row, true);
}

void ClickTopHeading(CCellGrid* grid, int column, int row, bool doubleClick) {
    // The heading rows sit against the cells: row -1 at the bottom of the top heading.
    const CGridSheet& sheet = grid->Sheet();
    int y = sheet.TopHeadingHeight();
    for (int r = -1; r >= row; --r)
        y -= sheet.RowHeight(r);
    y += sheet.RowHeight(row) / 2;
    int x = 0;
    for (int c = 0; c < column; ++c)
        x += sheet.ColumnWidth(c);
    x += sheet.ColumnWidth(column) / 2;
    ClickAt(grid->TopHeading(), QPoint(x, y), doubleClick);
}

void PressKey(CCellGrid* grid, int key) {
    QTest::keyClick(grid->CellArea(), static_cast<Qt::Key>(key));
}

QStringList RowTexts(CCellGrid* grid, int row) {
    QStringList texts;
    for (int c = 0; c < grid->GetColumnCount(); ++c) {
        QString text;
        grid->GetCellText(c, row, &text);
        texts << text;
    }
    return texts;
}
} // namespace Dlg2Test
