#include "PickDateDlg.h"

#include "CalendarGrid.h"
#include "Clock.h"
#include "MaskedEdit.h"
#include "Modal.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace {
CDateTime Today() {
    const QDate today = DvClock::Today();
    return CDateTime(today.year(), today.month(), today.day());
}
} // namespace

QString DvFieldDateText(const CDateTime& date) {
    if (!date.IsValid())
        return QString();
    int year = date.GetYear();
    if (year > 100)
        year %= 100;
    return QString::asprintf("%02d%c%02d%c%02d", date.GetDay(), '-', date.GetMonth(), '-', year);
}

void DvFillEmptyTime(CEditSpecial* field, bool withSeconds) {
    CDateTime time;
    if (field && !field->GetTime(time))
        field->SetTime(CDateTime(), withSeconds);
}

CPickDateDlg::CPickDateDlg(QWidget* parent)
    : CTemplateDialog(MakeDatePickerTemplate(), parent), m_picked(Today()) {
    // The template places the popup at its owner's top left corner.
    if (parent)
        move(parent->mapToGlobal(QPoint(0, 0)));
}

void CPickDateDlg::OnInitDialog() {
    m_font = font();
    m_calendar = new CCalendarGrid(this);
    m_calendar->SetFont(m_font);
    m_calendar->SetShownDate(m_picked);
    m_calendar->AttachToDialogItem(this, IdCalendar);

    // Out-of-sight OK and Cancel buttons, so the commands the calendar posts (and a
    // click on them) close the dialog as its own buttons would.
    for (int id : {IdOk, IdCancel}) {
        auto* button = new QPushButton(this);
        button->setGeometry(0, 0, 1, 1);
        button->setProperty("dlgId", id);
        button->setObjectName(QStringLiteral("id%1").arg(id));
        button->setAutoDefault(false);
        button->hide();
        connect(button, &QPushButton::clicked, this, [this, id]() { SendCommand(id); });
    }
    m_calendar->setFocus();
}

void CPickDateDlg::OnOK() {
    if (m_calendar)
        m_picked = m_calendar->GetShownDate();
    CTemplateDialog::OnOK();
}

void CPickDateDlg::PlaceBelow(const QWidget* anchor) {
    if (!anchor)
        return;
    QPoint at = anchor->mapToGlobal(QPoint(0, anchor->height()));
    if (const QScreen* screen = anchor->screen()) {
        const QRect area = screen->availableGeometry();
        if (at.y() + height() > area.bottom())
            at.setY(anchor->mapToGlobal(QPoint(0, 0)).y() - height());
        at.setX(qBound(area.left(), at.x(), qMax(area.left(), area.right() - width())));
        at.setY(qMax(area.top(), at.y()));
    }
    move(at);
}

int CPickDateDlg::PickInto(QWidget* parent, CEditSpecial* field) {
    if (!field)
        return QDialog::Rejected;
    CDateTime date;
    field->GetDate(date); // an unreadable date stays invalid: the picker starts on today
    CPickDateDlg picker(parent);
    picker.SetPickedDate(date);
    picker.PlaceBelow(field);
    const int result = DvModal::Run(picker);
    field->SetDate(picker.GetPickedDate());
    return result;
}
