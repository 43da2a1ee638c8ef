#pragma once
// Helpers of the configuration dialog tests: a new database for each test on the
// program's own connection (error boxes recorded), direct statements and reads, and
// the controls of a dialog by id.

#include "TemplateDialog.h"

#include <QString>
#include <QStringList>

class CConfigListGrid;

namespace DlgTest {
// Makes a new empty database, opens the program's connection on it and clears the
// recorded error boxes. Fails the test program when the file cannot be made.
QString OpenNewDatabase();
void CloseDatabase();
// The error boxes of the data layer since the database was opened.
QStringList& DbErrors();

// Runs statements on the program's connection; false (and a warning) on a failure.
bool Exec(const QString& sql);
bool Exec(const QStringList& statements);
// The first column of the first row as text ("" for none or NULL).
QString Value(const QString& sql);
int IntValue(const QString& sql);
// Every row of a query, the columns joined by "|".
QStringList Rows(const QString& sql);

// Texts of a list's rows (column 0 unless given) and their keys.
QStringList ListTexts(CConfigListGrid* list, int column = 0);
QList<int> ListKeys(CConfigListGrid* list);

// Clicks the control with the id (a button or check box) as the user would.
void Click(QWidget* dialog, int id);
void SetText(QWidget* dialog, int id, const QString& text);
QString Text(QWidget* dialog, int id);
// Sends the focus events a control gets when the user enters or leaves it.
void EnterField(QWidget* dialog, int id);
void LeaveField(QWidget* dialog, int id);
// Double-clicks a cell of a list.
void DoubleClickRow(CConfigListGrid* list, int row);
} // namespace DlgTest
