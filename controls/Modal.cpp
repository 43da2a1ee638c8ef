#include "Modal.h"

#include <QGuiApplication>
#include <deque>

namespace DvModal {
namespace {
struct State {
    std::deque<Handler> queued;
    Handler handler;
    int runs = 0;
};
State& Seam() {
    static State state;
    return state;
}
} // namespace

int Run(QDialog& dialog) {
    State& seam = Seam();
    ++seam.runs;
    Handler handler;
    if (!seam.queued.empty()) {
        handler = std::move(seam.queued.front());
        seam.queued.pop_front();
    } else {
        handler = seam.handler;
    }
    if (!handler) {
        const QString platform = QGuiApplication::platformName();
        if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) {
            qWarning("Diálogo «%s» sin manejador en pantalla invisible: se cancela",
                     qPrintable(dialog.windowTitle()));
            return QDialog::Rejected;
        }
        return dialog.exec();
    }
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    handler(dialog);
    if (dialog.isVisible())
        dialog.done(QDialog::Rejected);
    return dialog.result();
}

void QueueHandler(Handler handler) {
    Seam().queued.push_back(std::move(handler));
}

void SetHandler(Handler handler) {
    Seam().handler = std::move(handler);
}

void ClearHandlers() {
    Seam().queued.clear();
    Seam().handler = nullptr;
}

int PendingHandlers() {
    return static_cast<int>(Seam().queued.size());
}

int RunCount() {
    return Seam().runs;
}
} // namespace DvModal
