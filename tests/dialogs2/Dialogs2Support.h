#pragma once
// Helpers of the dialog tests: a fresh database file opened as the program's one
// connection (errors recorded instead of shown), statements and single values, and the
// small steps of driving a dialog offscreen (finding controls by id, letting posted
// commands run, clicking grid cells with the mouse).

#include "DateTime.h"

#include <QString>
#include <QStringList>
#include <QVariant>

class CCellGrid;
class QWidget;

namespace Dlg2Test {
// Settings in a folder of the test's own, the clock fixed on 5 March 2007 at 10:30.
void InitTestProgram();

// A new empty database (no password) opened as the program's connection.
void NewDatabase(const QString& name);
// Database error texts reported since the database was opened.
QStringList& DbErrors();
// Runs statements; a failure is recorded in DbErrors.
void Exec(const QStringList& statements);
// The first column of the first row of a query; an invalid variant when there is none.
QVariant Value(const QString& sql);
int Count(const QString& sql);
// 'YYYY/MM/DD HH:MM:SS' as the program stores dates.
QString Lit(int year, int month, int day, int hour = 0, int minute = 0);

// The control with the id under a window (as the dialogs find them: "id<N>").
template <class T> T* Ctl(QWidget* root, int id);
QWidget* Find(QWidget* root, int id);
// Lets queued events and posted commands run.
void Pump();
// Clicks or double-clicks a cell of a grid's cell area with the mouse.
void ClickCell(CCellGrid* grid, int column, int row);
void DoubleClickCell(CCellGrid* grid, int column, int row);
// Clicks a top heading cell (row -1, -2, ...).
void ClickTopHeading(CCellGrid* grid, int column, int row, bool doubleClick = false);
// Presses a key in a grid's cell area.
void PressKey(CCellGrid* grid, int key);
// Texts of a grid row.
QStringList RowTexts(CCellGrid* grid, int row);
} // namespace Dlg2Test

#include <QWidget>
template <class T> T* Dlg2Test::Ctl(QWidget* root, int id) {
    return dynamic_cast<T*>(Find(root, id));
}
