#pragma once
// The popup calendar from which the record dialogs pick a day ("Elegir", "Buscar" next
// to a date field). It starts on the date it is given (today when that date cannot be
// read); OK (a double click on a day, Enter) gives the calendar's day, Cancel (Escape)
// gives back the date it was given.
//
//   CPickDateDlg::PickInto(this, Item<CEditSpecial>(1063)); // the usual way

#include "DateTime.h"
#include "TemplateDialog.h"

#include <QFont>

class CCalendarGrid;
class CEditSpecial;

// A date as the date fields show it: "dd-mm-yy" (the year modulo 100 when above 100);
// empty for a value that is not a valid date.
QString DvFieldDateText(const CDateTime& date);
// A hidden time-of-day field that holds no readable time gets 00:00, so the date it
// completes is stored with that time instead of not at all.
void DvFillEmptyTime(CEditSpecial* field, bool withSeconds);

class CPickDateDlg : public CTemplateDialog {
    Q_OBJECT
public:
    // Control id of the static the calendar takes over.
    static constexpr int IdCalendar = 100;

    explicit CPickDateDlg(QWidget* parent = nullptr);

    void SetPickedDate(const CDateTime& date) { m_picked = date; }
    const CDateTime& GetPickedDate() const { return m_picked; }
    CCalendarGrid* Calendar() const { return m_calendar; }

    // Places the popup just below a widget (normally the date field it fills), kept on
    // the screen. Without it the popup opens at its owner's top left corner.
    void PlaceBelow(const QWidget* anchor);

    // What every date field's button does: start on the field's date, run the picker and
    // write its date back into the field, whichever way it was closed (after a cancel
    // the field gets back the date it had). Returns the picker's result.
    static int PickInto(QWidget* parent, CEditSpecial* field);

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    CDateTime m_picked;
    CCalendarGrid* m_calendar = nullptr; // child of the dialog once initialised
    QFont m_font;
};
