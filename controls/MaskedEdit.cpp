#include "MaskedEdit.h"

#include "ColorRef.h"

#include <QApplication>
#include <QDate>
#include <QKeyEvent>
#include <QPalette>
#include <limits>

namespace {
// A text read as a C-style integer: leading blanks, an optional sign, then digits up to
// the first non-digit. Text that does not start with a number gives 0; values beyond the
// 32-bit range are clamped instead of wrapping.
int LeadingInt(const QString& text) {
    int i = 0;
    const int n = text.size();
    while (i < n && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    const long long limit = negative ? -static_cast<long long>(std::numeric_limits<int>::min())
                                     : std::numeric_limits<int>::max();
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = value * 10 + (c.unicode() - '0');
        if (value > limit)
            value = limit;
    }
    return static_cast<int>(negative ? -value : value);
}

// One part of a date or time: blanks trimmed, -1 when empty, else its leading number.
int PartValue(const QString& part) {
    const QString trimmed = part.trimmed();
    return trimmed.isEmpty() ? -1 : LeadingInt(trimmed);
}

bool IsDecimalDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
} // namespace

CEditSpecial::CEditSpecial(QWidget* parent) : QLineEdit(parent) {
    const QPalette pal = palette();
    m_textColor = DvColor::FromQColor(pal.color(QPalette::Active, QPalette::Text));
    m_backColor = DvColor::FromQColor(pal.color(QPalette::Active, QPalette::Base));
    connect(this, &QLineEdit::textEdited, this, &CEditSpecial::OnTextEdited);
}

void CEditSpecial::SetMask(const QString& mask, QChar /*prompt*/) {
    m_mask = mask;
    m_shownYear = 0;
    m_shown = MaskTemplate();
    PutShownText();
    SetCaret(0);
}

QString CEditSpecial::MaskTemplate() const {
    QString result = m_mask;
    for (int i = 0; i < result.size(); ++i) {
        if (!IsLiteral(i))
            result[i] = m_prompt;
    }
    return result;
}

void CEditSpecial::SetDisplayText(const QString& text) {
    m_shownYear = 0;
    m_shown = (!m_mask.isEmpty() && text.isEmpty()) ? MaskTemplate() : text;
    PutShownText();
    SetCaret(0);
}

int CEditSpecial::GetValue() const {
    return LeadingInt(text());
}

void CEditSpecial::SetValue(int value) {
    QString result = QString::number(value);
    if (!m_mask.isEmpty()) {
        while (result.size() < m_mask.size())
            result.prepend(QLatin1Char('0'));
    }
    SetDisplayText(result);
}

bool CEditSpecial::GetDate(CDateTime& value) const {
    QString screen = text();
    screen.replace(m_prompt, QLatin1Char(' '));
    const int day = PartValue(screen.mid(0, 2));
    const int month = PartValue(screen.mid(3, 2));
    const QString yearPart = screen.mid(6).trimmed();
    int year = PartValue(yearPart);
    if (yearPart.size() == 2) {
        // The two digits of a stored 1950 or 2120 read as 2050 and 2020: a record
        // opened and saved again would move by a century without anyone touching it.
        if (m_shownYear > 100 && year == m_shownYear % 100)
            year = m_shownYear;
        else if (year >= 96 && year <= 99)
            year += 1900;
        else if (year >= 0 && year <= 95)
            year += 2000;
    }
    if (year >= 100 && year <= 9999 && QDate::isValid(year, month, day)) {
        CDateTime result;
        if (result.SetDate(year, month, day)) {
            value = result;
            return true;
        }
    }
    value.SetStatus(CDateTime::Invalid);
    return false;
}

void CEditSpecial::SetDate(const CDateTime& value) {
    if (!value.IsValid()) {
        SetDisplayText(QString());
        return;
    }
    int year = value.GetYear();
    if (year > 100)
        year %= 100;
    SetDisplayText(
        QString::asprintf("%02d%c%02d%c%02d", value.GetDay(), '-', value.GetMonth(), '-', year));
    m_shownYear = value.GetYear();
}

bool CEditSpecial::GetTime(CDateTime& value) const {
    QString screen = text();
    screen.replace(m_prompt, QLatin1Char(' '));
    const int hours = PartValue(screen.mid(0, 2));
    const int minutes = PartValue(screen.mid(3, 2));
    int seconds = PartValue(screen.right(2));
    if (m_mask.size() <= 6)
        seconds = 0;
    if (hours >= 0 && hours <= 23 && minutes >= 0 && minutes <= 59 && seconds >= 0 &&
        seconds <= 59) {
        CDateTime result;
        if (result.SetTime(hours, minutes, seconds)) {
            value = result;
            return true;
        }
    }
    value.SetStatus(CDateTime::Invalid);
    return false;
}

void CEditSpecial::SetTime(const CDateTime& value, bool withSeconds) {
    if (!value.IsValid()) {
        SetDisplayText(QString());
        return;
    }
    if (withSeconds)
        SetDisplayText(QString::asprintf("%02d:%02d:%02d", value.GetHour(), value.GetMinute(),
                                         value.GetSecond()));
    else
        SetDisplayText(QString::asprintf("%02d:%02d", value.GetHour(), value.GetMinute()));
}

void CEditSpecial::SetReadOnly(bool readOnly, uint32_t backgroundColor) {
    m_readOnly = readOnly;
    // The line edit's own lock also keeps paste, cut and drops from the context menu
    // and the mouse away from a display-only field; the program's writes still show.
    setReadOnly(readOnly);
    SetBackgroundColor(backgroundColor);
}

void CEditSpecial::SetBackgroundColor(uint32_t color) {
    m_backColor = color & 0x00FFFFFF;
    m_customColors = true;
    ApplyColors();
    if (isVisible())
        repaint();
}

void CEditSpecial::ApplyColors() {
    QPalette pal = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Base, DvColor::ToQColor(m_backColor));
        pal.setColor(group, QPalette::Text, DvColor::ToQColor(m_textColor));
    }
    setPalette(pal);
}

void CEditSpecial::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (m_readOnly) {
        // Enter and Escape belong to the dialog (default button, cancel); copying
        // changes nothing. Every other key is swallowed.
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            event->ignore();
            return;
        }
        if (event->matches(QKeySequence::Copy)) {
            QLineEdit::keyPressEvent(event);
            return;
        }
        event->accept();
        return;
    }
    if (!m_mask.isEmpty()) {
        m_deletePressed = key == Qt::Key_Delete;
        m_backspacePressed = key == Qt::Key_Backspace;
    }
    if (m_digitsOnly) {
        const QString typed = event->text();
        if (!typed.isEmpty() && typed.at(0).isPrint() && !IsDecimalDigit(typed.at(0)) &&
            !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            QApplication::beep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void CEditSpecial::OnTextEdited(const QString&) {
    EnforceMask();
}

bool CEditSpecial::IsLiteral(int position) const {
    if (position < 0 || position >= m_mask.size())
        return false;
    const QChar c = m_mask.at(position);
    return c != QLatin1Char('#') && c != QLatin1Char('?');
}

void CEditSpecial::PutShownText() {
    if (text() != m_shown)
        setText(m_shown);
}

void CEditSpecial::SetCaret(int position) {
    // An empty selection at the position; the line edit scrolls the caret into view.
    setCursorPosition(qBound(0, position, text().size()));
}

void CEditSpecial::EnforceMask() {
    if (m_mask.isEmpty())
        return;
    const int caret = cursorPosition();
    const QString screen = text();
    if (screen == m_shown)
        return;

    const QString maskTemplate = MaskTemplate();
    // Writes one character of the shown text, lengthening it with the template when it
    // was shown shorter than the mask. Positions beyond the mask are never written.
    auto writeAt = [&](int position, QChar c) {
        if (position < 0 || position >= m_mask.size())
            return;
        if (m_shown.size() <= position)
            m_shown += maskTemplate.mid(m_shown.size(), position + 1 - m_shown.size());
        m_shown[position] = c;
    };
    auto repairChar = [&](int position) {
        return IsLiteral(position) ? m_mask.at(position) : m_prompt;
    };

    if (m_backspacePressed) {
        int p = caret;
        writeAt(p, repairChar(p));
        PutShownText();
        while (p > 0 && IsLiteral(p - 1))
            --p;
        SetCaret(p);
        return;
    }
    if (m_deletePressed) {
        const int p = caret;
        writeAt(p, repairChar(p));
        PutShownText();
        int target = p + 1;
        while (target < m_mask.size() && IsLiteral(target))
            ++target;
        SetCaret(target);
        return;
    }

    const int i = caret - 1;
    if (i < 0)
        return;
    const QChar typed = screen.at(i);
    bool accepted = false;
    if (i < m_mask.size()) {
        const QChar m = m_mask.at(i);
        if (m == QLatin1Char('#'))
            accepted = IsDecimalDigit(typed);
        else if (m == QLatin1Char('?'))
            accepted = typed.isLetter();
        else
            accepted = true;
    }
    if (!accepted) {
        PutShownText();
        SetCaret(i);
        return;
    }
    if (m_shown.size() < caret)
        m_shown += maskTemplate.mid(m_shown.size(), caret - m_shown.size());
    writeAt(i, IsLiteral(i) ? m_mask.at(i) : typed);
    PutShownText();
    int target = caret;
    while (target < m_mask.size() && IsLiteral(target))
        ++target;
    SetCaret(target);
}
