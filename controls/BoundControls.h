#pragma once
// The controls of the record dialogs as the record binding sees them.
//
//   m_binding.BindText(DvBindControl(Item<CEditSpecial>(1022)), "NOMBRE", 30);
//
// A masked edit (CEditSpecial) converts with its own rules (padded numbers, "dd-mm-yy"
// dates, "hh:mm[:ss]" times); a plain line edit takes and gives plain text and numbers;
// a check box gives 0, 1 or 2 (cleared, ticked, undetermined). The adapter only points
// at its control: a control that is gone reads as empty and ignores writes.

#include "RecordBinding.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class QAbstractButton;
class QLineEdit;

// A line edit, masked or not.
class CBoundEdit : public IBoundControl {
public:
    explicit CBoundEdit(QLineEdit* edit);

    QString GetText() const override;
    void SetText(const QString& text) override;
    int GetValue() const override;
    void SetValue(int value) override;
    int GetCheck() const override { return 0; }
    void SetCheck(int) override {}
    bool GetDate(CDateTime& value) const override;
    void SetDate(const CDateTime& value) override;
    bool GetTime(CDateTime& value) const override;
    void SetTime(const CDateTime& value, bool withSeconds) override;
    void SetLimitText(int maxLength) override;

private:
    QPointer<QLineEdit> m_edit;
};

// A check box (or any checkable button).
class CBoundCheck : public IBoundControl {
public:
    explicit CBoundCheck(QAbstractButton* button);

    QString GetText() const override { return QString::number(GetCheck()); }
    void SetText(const QString&) override {}
    int GetValue() const override { return GetCheck(); }
    void SetValue(int value) override { SetCheck(value); }
    int GetCheck() const override;
    void SetCheck(int state) override;
    bool GetDate(CDateTime& value) const override;
    void SetDate(const CDateTime&) override {}
    bool GetTime(CDateTime& value) const override;
    void SetTime(const CDateTime&, bool) override {}
    void SetLimitText(int) override {}

private:
    QPointer<QAbstractButton> m_button;
};

// The adapter for a dialog's control: CBoundCheck for buttons, CBoundEdit for line
// edits. Any other widget, or none, gets an edit adapter that holds nothing (and a
// warning), so a template mistake shows as an empty field instead of a crash.
std::unique_ptr<IBoundControl> DvBindControl(QWidget* control);
