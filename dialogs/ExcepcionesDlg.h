#pragma once
// "Configuración de excepciones": the corrections of one day of the roster, a worker
// taken off that day ("Eliminado del turno") or added to it with hours of his own
// ("Añadido de 8 a 15"). Opened from the roster for a day and a service; new
// exceptions offer the workers of that service. The list shows the day's exceptions of
// every service.

#include "ConfigListGrid.h"
#include "DateTime.h"
#include "TemplateDialog.h"

class CExcepcionesDlg;

// The exceptions list: "Personal" (the roster name) and "Descipción", the exception's ID
// as the row key. A double click opens the exception.
class CExcepcionesGrid : public CConfigListGrid {
    Q_OBJECT
public:
    explicit CExcepcionesGrid(CExcepcionesDlg* dialog);

    // "Eliminado del turno" for kind 1, else "Añadido de %i a %i" with the two hours.
    static QString DescriptionText(int kind, const CDateTime& start, const CDateTime& end);
    // The texts of a stored exception's row.
    static QStringList ExceptionTexts(int id);

    void OnCellDoubleClick(int column, int row, const QRect& rect, const QPoint& point,
                           int processed) override;

private:
    CExcepcionesDlg* m_dialog;
};

class CExcepcionesDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int TemplateId = 173;
    static constexpr int IdList = 1015;
    static constexpr int IdAdd = 1017;
    static constexpr int IdEdit = 1018;
    static constexpr int IdDelete = 1019;

    explicit CExcepcionesDlg(QWidget* parent = nullptr);

    // Set by the opener before the run: the day (its date part counts) and the service
    // (FUNCIONES.ID) whose workers new exceptions offer.
    void SetDay(const CDateTime& day) { m_day = day.DatePart(); }
    const CDateTime& GetDay() const { return m_day; }
    void SetService(int service) { m_service = service; }
    int GetService() const { return m_service; }

    // Runs the exceptions of the day for the service modally (the roster's double click
    // on a day number); returns the dialog's result.
    static int Run(QWidget* parent, const CDateTime& day, int service);

    CExcepcionesGrid* List() const { return m_list; }

protected:
    void OnInitDialog() override;
    bool OnCommand(int id) override;

    void OnAdd();
    void OnEdit();
    void OnDelete();

private:
    // Whether a stored exception lies on the dialog's day.
    bool IsOnDay(int id) const;

    CExcepcionesGrid* m_list = nullptr; // owned by the dialog as its child
    CDateTime m_day;
    int m_service = 0;
};
