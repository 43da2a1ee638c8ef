#pragma once
// "Ficha de día festivo": one holiday, its day (chosen from the calendar with
// "Buscar"), its description and whether it comes back every year. A new holiday
// starts on today, yearly, with no description.

#include "RecordBinding.h"
#include "TemplateDialog.h"

class CFichaFestivoDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int TemplateId = 172;
    static constexpr int IdDay = 1070;
    static constexpr int IdChooseDay = 1071; // "Buscar"
    static constexpr int IdTime = 1072;      // hidden: time of day of DIA
    static constexpr int IdDescription = 1073;
    static constexpr int IdYearly = 1074; // "Todos los años"

    explicit CFichaFestivoDlg(QWidget* parent = nullptr);

    // The holiday shown (FIESTAS.ID); -1 for a new one, replaced by the new ID on insert.
    void SetHolidayId(long id) { m_holidayId = id; }
    long GetHolidayId() const { return m_holidayId; }

protected:
    void OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnOK() override;

private:
    CRecordBinding m_binding;
    long m_holidayId = -1;
};
