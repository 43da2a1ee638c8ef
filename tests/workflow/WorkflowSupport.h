#pragma once
// Helpers of the workflow tests: the real program (main window, roster view) started on
// a database of the test's own, the configuration commands run as their menu items, and
// the dialogs closed the way a planner closes them under an X server without a window
// manager, where a dialog that was hidden is not activated again by anyone but Qt.

#include "MessageBox.h"

#include <QString>
#include <QStringList>
#include <memory>

class CCellGrid;
class CConfigListGrid;
class COstrevanApp;
class COstrevanView;
class QDialog;
class QWidget;

namespace Flow {
// Settings in a folder of the test program's own, the clock on 5 March 2007 at 10:30.
void InitTestProgram();
// Forgets the dialog handlers, box answers and file names a test left queued.
void ForgetQueued();

// Records every box shown while it lives; queued answers answer first, the rest get
// the box's first button.
class Boxes {
public:
    // The texts shown since the last call.
    QStringList Take();

private:
    DvMessageBox::Recorder m_recorder;
};

// How a dialog is closed: its OK button, its Cancel button (the close box where it has
// none) or the Escape key.
enum class Close { Ok, Cancel, Escape };
QString Name(Close how);

// The program started on a new database file: empty, or with the statements given.
class Program {
public:
    bool Start(const QString& fileName, const QStringList& statements = {});
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    COstrevanView* View() const { return m_view; }
    // Runs a menu command ("ID_CONFIG_PERSONAL" ...) as its menu item would.
    bool Command(const char* id);

private:
    std::unique_ptr<COstrevanApp> m_app;
    COstrevanView* m_view = nullptr;
};

// The first column of the first row of a query, as text ("" for none) or as a number
// (-1 for none).
QString Value(const QString& sql);
int Count(const QString& sql);

// Clicks the button as the mouse does (the button takes the focus), presses Escape in
// the widget that has the focus, or closes the window; then, when the dialog is gone
// from the screen, makes it the active window again before it is destroyed, as X does
// without a window manager: Qt then gives the focus to the widget after the one that
// had it. Returns the widget holding the focus afterwards.
QWidget* CloseAsOnX(QDialog& dialog, Close how);
// The second half of CloseAsOnX, for dialogs closed some other way (the calendar's
// Enter): lets posted commands run, then activates the dialog if it is hidden.
QWidget* ActivateHidden(QDialog& dialog);
// Where Qt's tab chain put the focus on another control of the hidden dialog, the list
// takes it, as it does when the planner clicked into it last: the dialog then goes with
// its list holding the focus. Fails the test when the list cannot take it.
void KeepFocusIn(CCellGrid* list);
// Clicks a button of a dialog with the mouse (the dialog made active first).
void ClickButton(QDialog& dialog, int id);
// True when the keyboard focus is in the widget or one of its children.
bool HasFocusIn(const QWidget* widget);

// Writes into a field (masked edits as the program writes them), chooses a combo item by
// its text, makes a list row current with the mouse.
void Type(QWidget* dialog, int id, const QString& text);
void Choose(QWidget* dialog, int id, const QString& text);
void ClickRow(CConfigListGrid* list, const QString& text);
void ClickRowAt(CCellGrid* list, int row);
} // namespace Flow
