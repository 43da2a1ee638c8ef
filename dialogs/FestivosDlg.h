#pragma once
// "Configuración de dias festivos": the holidays (table FIESTAS), yearly ones ("Cada
// 06/01") and single dates ("12/10/07"), with "Añadir", "Editar" (also a double click)
// and "Borrar". Each holiday is kept in "Ficha de día festivo" (CFichaFestivoDlg).

#include "ConfigListGrid.h"
#include "DateTime.h"
#include "TemplateDialog.h"

class CFestivosDlg;

// The holidays list: "Día" and "Descripción", the holiday's ID as the row key. A double
// click opens the holiday.
class CFestivosGrid : public CConfigListGrid {
    Q_OBJECT
public:
    explicit CFestivosGrid(CFestivosDlg* dialog);

    // The "Día" text: "Cada dd/mm" for a yearly holiday, else "dd/mm/yy".
    static QString DayText(const CDateTime& day, bool yearly);
    // The texts of a stored holiday's row.
    static QStringList HolidayTexts(int id);

    void OnCellDoubleClick(int column, int row, const QRect& rect, const QPoint& point,
                           int processed) override;

private:
    CFestivosDlg* m_dialog;
};

class CFestivosDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int TemplateId = 171;
    static constexpr int IdList = 1015;
    static constexpr int IdAdd = 1017;
    static constexpr int IdEdit = 1018;
    static constexpr int IdDelete = 1019;

    explicit CFestivosDlg(QWidget* parent = nullptr);

    // Runs the dialog modally (menu "&Festivos..."); returns the dialog's result.
    static int Run(QWidget* parent);

    CFestivosGrid* List() const { return m_list; }

protected:
    void OnInitDialog() override;
    bool OnCommand(int id) override;

    void OnAdd();
    void OnEdit();
    void OnDelete();

private:
    CFestivosGrid* m_list = nullptr; // owned by the dialog as its child
};
