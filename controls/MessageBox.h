#pragma once
// Message boxes of the program, through one door so tests can answer them.
//
//   DvMessageBox::Show(this, "Ya está insertado el servicio", "Dravonela");
//   if (DvMessageBox::Show(this, text, "Dravonela", DvMessageBox::YesNo,
//                          DvMessageBox::Question) == DvMessageBox::IdNo) ...
//
// Tests: a DvMessageBox::Recorder records every box (text, caption, buttons, icon)
// and answers with the queued answers (SetNextAnswer), else with the box's first
// button. Without a recorder, queued answers and a handler still answer; a box that
// nobody answers under the offscreen platform is logged and gets its first button,
// so a test never waits on a window.

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

namespace DvMessageBox {
enum Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum Icon { NoIcon, Error, Warning, Question, Information };
enum Answer { IdOk = 1, IdCancel = 2, IdAbort = 3, IdRetry = 4, IdIgnore = 5, IdYes = 6, IdNo = 7 };

struct Message {
    QString text;
    QString caption;
    Buttons buttons = Ok;
    Icon icon = NoIcon;
};

// Shows the box modally over owner (may be null) and returns the button pressed.
Answer Show(QWidget* owner, const QString& text, const QString& caption, Buttons buttons = Ok,
            Icon icon = NoIcon);

// The answer of the box's first button (its default).
Answer DefaultAnswer(Buttons buttons);

// Tests: the next box gets this answer (answers queue up in order).
void SetNextAnswer(Answer answer);
void ClearAnswers();
// Tests: every box not answered from the queue goes to the handler (null removes it).
using Handler = std::function<Answer(const Message&)>;
void SetHandler(Handler handler);

// Tests: records the boxes shown while it lives.
class Recorder {
public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    const std::vector<Message>& Messages() const { return m_messages; }
    int Count() const { return static_cast<int>(m_messages.size()); }
    // The last box shown; an empty message when there was none.
    Message Last() const { return m_messages.empty() ? Message() : m_messages.back(); }
    void Clear() { m_messages.clear(); }

    void Record(const Message& message) { m_messages.push_back(message); }

private:
    std::vector<Message> m_messages;
    Recorder* m_previous = nullptr;
};
} // namespace DvMessageBox
