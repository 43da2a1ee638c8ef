#include "BoundControls.h"

#include "MaskedEdit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>

namespace {
// Leading blanks, an optional sign, then digits up to the first other character; 0
// when the text does not start with a number (the masked edit reads the same way).
int LeadingInt(const QString& text) {
    int i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    qint64 value = 0;
    while (i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9')) {
        value = value * 10 + (text.at(i).unicode() - '0');
        if (value > 0x80000000LL)
            value = 0x80000000LL;
        ++i;
    }
    if (negative)
        value = -value;
    if (value > 0x7FFFFFFFLL)
        value = 0x7FFFFFFFLL;
    return static_cast<int>(value);
}

CEditSpecial* AsSpecial(QLineEdit* edit) {
    return qobject_cast<CEditSpecial*>(edit);
}
} // namespace

CBoundEdit::CBoundEdit(QLineEdit* edit) : m_edit(edit) {}

QString CBoundEdit::GetText() const {
    return m_edit ? m_edit->text() : QString();
}

void CBoundEdit::SetText(const QString& text) {
    if (!m_edit)
        return;
    if (CEditSpecial* special = AsSpecial(m_edit))
        special->SetDisplayText(text);
    else
        m_edit->setText(text);
}

int CBoundEdit::GetValue() const {
    if (!m_edit)
        return 0;
    if (const CEditSpecial* special = AsSpecial(m_edit))
        return special->GetValue();
    return LeadingInt(m_edit->text());
}

void CBoundEdit::SetValue(int value) {
    if (!m_edit)
        return;
    if (CEditSpecial* special = AsSpecial(m_edit))
        special->SetValue(value);
    else
        m_edit->setText(QString::number(value));
}

bool CBoundEdit::GetDate(CDateTime& value) const {
    if (const CEditSpecial* special = m_edit ? AsSpecial(m_edit) : nullptr)
        return special->GetDate(value);
    value.SetStatus(CDateTime::Invalid);
    return false;
}

void CBoundEdit::SetDate(const CDateTime& value) {
    if (CEditSpecial* special = m_edit ? AsSpecial(m_edit) : nullptr)
        special->SetDate(value);
}

bool CBoundEdit::GetTime(CDateTime& value) const {
    if (const CEditSpecial* special = m_edit ? AsSpecial(m_edit) : nullptr)
        return special->GetTime(value);
    value.SetStatus(CDateTime::Invalid);
    return false;
}

void CBoundEdit::SetTime(const CDateTime& value, bool withSeconds) {
    if (CEditSpecial* special = m_edit ? AsSpecial(m_edit) : nullptr)
        special->SetTime(value, withSeconds);
}

void CBoundEdit::SetLimitText(int maxLength) {
    if (m_edit)
        m_edit->setMaxLength(maxLength > 0 ? maxLength : 32767);
}

// ---------------------------------------------------------------------------------------

CBoundCheck::CBoundCheck(QAbstractButton* button) : m_button(button) {}

int CBoundCheck::GetCheck() const {
    if (!m_button)
        return 0;
    if (auto* check = qobject_cast<QCheckBox*>(m_button.data())) {
        switch (check->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
        }
    }
    return m_button->isChecked() ? 1 : 0;
}

void CBoundCheck::SetCheck(int state) {
    if (!m_button)
        return;
    if (auto* check = qobject_cast<QCheckBox*>(m_button.data())) {
        if (state == 2 && check->isTristate())
            check->setCheckState(Qt::PartiallyChecked);
        else
            check->setCheckState(state == 0 ? Qt::Unchecked : Qt::Checked);
        return;
    }
    m_button->setChecked(state != 0);
}

bool CBoundCheck::GetDate(CDateTime& value) const {
    value.SetStatus(CDateTime::Invalid);
    return false;
}

bool CBoundCheck::GetTime(CDateTime& value) const {
    value.SetStatus(CDateTime::Invalid);
    return false;
}

// ---------------------------------------------------------------------------------------

std::unique_ptr<IBoundControl> DvBindControl(QWidget* control) {
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return std::make_unique<CBoundCheck>(button);
    auto* edit = qobject_cast<QLineEdit*>(control);
    if (!edit)
        qWarning("Control %s sin enlace posible con una columna",
                 control ? qPrintable(control->objectName()) : "(ninguno)");
    return std::make_unique<CBoundEdit>(edit);
}
