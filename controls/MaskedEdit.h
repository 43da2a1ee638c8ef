#pragma once
// The single-line edit of the record dialogs.
//
// With a mask ("##-##-##" for dates, "##:##" or "##:##:##" for times) it always shows
// the whole template and works in overtype: each typed character replaces the
// placeholder it lands on, separators are stepped over, Backspace and Delete put the
// prompt character back instead of closing the gap, and characters that do not fit
// the position are refused. Without a mask it is an ordinary line edit.
//
// It converts its text to and from integers, dates and times, and can be locked
// against typing and painted on a background colour of its own (display-only
// fields). Record keys live in hidden controls of this class.

#include "DateTime.h"

#include <QLineEdit>
#include <cstdint>

class CEditSpecial : public QLineEdit {
    Q_OBJECT
public:
    static constexpr QChar PromptChar = QLatin1Char('_');

    explicit CEditSpecial(QWidget* parent = nullptr);

    // Stores the mask and shows its template. The prompt argument is accepted for the
    // callers' sake; the prompt character is always "_".
    void SetMask(const QString& mask, QChar prompt = PromptChar);
    const QString& GetMask() const { return m_mask; }
    // The mask with every placeholder replaced by the prompt character.
    QString MaskTemplate() const;

    // Shows the text (the mask's template when a mask is set and the text is empty).
    void SetDisplayText(const QString& text);
    const QString& GetDisplayText() const { return m_shown; }

    // The text read as a decimal integer (leading blanks, optional sign, digits);
    // 0 when it does not start with a number.
    int GetValue() const;
    // "%d", padded on the left with "0" up to the mask length when a mask is set.
    void SetValue(int value);

    // Reads "dd-mm-yy" (two-digit years: 96..99 -> 1996..1999, 00..95 -> 2000..2095,
    // except that two digits still those of the date SetDate showed keep its century).
    // On success value becomes that date at 00:00 and the result is true; otherwise
    // value's status becomes invalid and the result is false.
    bool GetDate(CDateTime& value) const;
    // "dd-mm-yy"; an invalid or null value shows the empty template. The full year is
    // remembered, so a date outside 1996..2095 reads back in its own century.
    void SetDate(const CDateTime& value);

    // Reads "hh:mm" or "hh:mm:ss" (seconds only with a mask longer than 6) into a time
    // on 30/12/1899; invalid status and false when it is not a time of day.
    bool GetTime(CDateTime& value) const;
    void SetTime(const CDateTime& value, bool withSeconds = false);

    // Locks the control against typing and paints it on the given background colour
    // (0x00BBGGRR). Text set by the program still shows.
    void SetReadOnly(bool readOnly, uint32_t backgroundColor);
    bool IsReadOnly() const { return m_readOnly; }
    // Paints the control with its own background colour (0x00BBGGRR) from now on.
    void SetBackgroundColor(uint32_t color);
    uint32_t GetBackgroundColor() const { return m_backColor; }
    uint32_t GetTextColor() const { return m_textColor; }
    bool HasCustomColors() const { return m_customColors; }

    // Typed characters that are not decimal digits are refused (set by the dialog
    // template's "number" style).
    void SetDigitsOnly(bool digitsOnly) { m_digitsOnly = digitsOnly; }
    bool IsDigitsOnly() const { return m_digitsOnly; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnTextEdited(const QString& text);
    void EnforceMask();
    void PutShownText();
    void SetCaret(int position);
    bool IsLiteral(int position) const;
    void ApplyColors();

    bool m_customColors = false;
    bool m_readOnly = false;
    uint32_t m_textColor = 0;
    uint32_t m_backColor = 0;
    QChar m_prompt = PromptChar;
    QString m_mask;
    QString m_shown;
    bool m_deletePressed = false;
    bool m_backspacePressed = false;
    bool m_digitsOnly = false;
    // The year of the date SetDate last showed (0 when the text came from elsewhere).
    int m_shownYear = 0;
};
