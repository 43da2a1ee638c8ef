#include "MessageBox.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <deque>

namespace DvMessageBox {
namespace {
struct State {
    std::deque<Answer> answers;
    Handler handler;
    Recorder* recorder = nullptr;
};
State& Seam() {
    static State state;
    return state;
}

bool Offscreen() {
    return QGuiApplication::platformName() == QLatin1String("offscreen") ||
           QGuiApplication::platformName() == QLatin1String("minimal");
}

Answer ShowReal(QWidget* owner, const Message& message) {
    QMessageBox box(owner);
    box.setWindowTitle(message.caption);
    box.setText(message.text);
    box.setTextFormat(Qt::PlainText);
    switch (message.icon) {
    case Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Information:
        box.setIcon(QMessageBox::Information);
        break;
    case NoIcon:
        break;
    }
    struct Choice {
        Answer answer;
        const char* text;
        QMessageBox::ButtonRole role;
    };
    // Built by return, not assigned: GCC 12 warns falsely on assigning a braced list.
    const auto choicesFor = [](Buttons set) -> std::vector<Choice> {
        switch (set) {
        case Ok:
            return {{IdOk, "Aceptar", QMessageBox::AcceptRole}};
        case OkCancel:
            return {{IdOk, "Aceptar", QMessageBox::AcceptRole},
                    {IdCancel, "Cancelar", QMessageBox::RejectRole}};
        case YesNo:
            return {{IdYes, "Sí", QMessageBox::YesRole}, {IdNo, "No", QMessageBox::NoRole}};
        case YesNoCancel:
            return {{IdYes, "Sí", QMessageBox::YesRole},
                    {IdNo, "No", QMessageBox::NoRole},
                    {IdCancel, "Cancelar", QMessageBox::RejectRole}};
        case RetryCancel:
            return {{IdRetry, "Reintentar", QMessageBox::AcceptRole},
                    {IdCancel, "Cancelar", QMessageBox::RejectRole}};
        case AbortRetryIgnore:
            return {{IdAbort, "Anular", QMessageBox::RejectRole},
                    {IdRetry, "Reintentar", QMessageBox::AcceptRole},
                    {IdIgnore, "Omitir", QMessageBox::AcceptRole}};
        }
        return {{IdOk, "Aceptar", QMessageBox::AcceptRole}};
    };
    const std::vector<Choice> choices = choicesFor(message.buttons);
    std::vector<std::pair<QPushButton*, Answer>> buttons;
    for (const Choice& choice : choices)
        buttons.emplace_back(box.addButton(QString::fromUtf8(choice.text), choice.role),
                             choice.answer);
    box.setDefaultButton(buttons.front().first);
    box.exec();
    for (const auto& [button, answer] : buttons) {
        if (box.clickedButton() == button)
            return answer;
    }
    // Closed without a button: the cancel answer when the box has one, else its default.
    for (const auto& [button, answer] : buttons) {
        if (answer == IdCancel || answer == IdNo)
            return answer;
    }
    return buttons.front().second;
}
} // namespace

Answer DefaultAnswer(Buttons buttons) {
    switch (buttons) {
    case Ok:
    case OkCancel:
        return IdOk;
    case YesNo:
    case YesNoCancel:
        return IdYes;
    case RetryCancel:
        return IdRetry;
    case AbortRetryIgnore:
        return IdAbort;
    }
    return IdOk;
}

Answer Show(QWidget* owner, const QString& text, const QString& caption, Buttons buttons,
            Icon icon) {
    const Message message{text, caption, buttons, icon};
    State& seam = Seam();
    if (seam.recorder)
        seam.recorder->Record(message);
    if (!seam.answers.empty()) {
        const Answer answer = seam.answers.front();
        seam.answers.pop_front();
        return answer;
    }
    if (seam.handler)
        return seam.handler(message);
    if (seam.recorder)
        return DefaultAnswer(buttons);
    if (Offscreen()) {
        qWarning("Mensaje sin respuesta en pantalla invisible («%s»: %s)", qPrintable(caption),
                 qPrintable(text));
        return DefaultAnswer(buttons);
    }
    return ShowReal(owner, message);
}

void SetNextAnswer(Answer answer) {
    Seam().answers.push_back(answer);
}

void ClearAnswers() {
    Seam().answers.clear();
}

void SetHandler(Handler handler) {
    Seam().handler = std::move(handler);
}

Recorder::Recorder() : m_previous(Seam().recorder) {
    Seam().recorder = this;
}

Recorder::~Recorder() {
    Seam().recorder = m_previous;
}
} // namespace DvMessageBox
