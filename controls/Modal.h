#pragma once
// Every modal dialog of the program runs through DvModal::Run, so tests can drive the
// real dialog without waiting on it.
//
//   CServiciosDlg dialog(this);
//   if (DvModal::Run(dialog) == QDialog::Accepted) ...
//
// Tests install a handler; Run then shows the dialog without a nested event loop,
// hands it to the handler, which works its controls by id and closes it (for example
// by clicking button 1), and returns the dialog's result. A dialog the handler leaves
// open is closed as cancelled.
//
//   DvModal::QueueHandler([](QDialog& d) {
//       d.findChild<QLineEdit*>("id1060")->setText("Urgencias");
//       d.findChild<QPushButton*>("id1")->click();
//   });

#include <QDialog>
#include <functional>

namespace DvModal {
using Handler = std::function<void(QDialog& dialog)>;

// Runs the dialog modally and returns its result (QDialog::Accepted or Rejected, or
// what it passed to done()).
int Run(QDialog& dialog);

// Tests: the next modal run goes to this handler (handlers queue up in order).
void QueueHandler(Handler handler);
// Tests: every modal run not taken by a queued handler goes to this one (null removes).
void SetHandler(Handler handler);
void ClearHandlers();
int PendingHandlers();
// Number of modal runs so far (tests check that a dialog was or was not opened).
int RunCount();
} // namespace DvModal
