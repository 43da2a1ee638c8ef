#pragma once
// "Ficha de excepción": one correction of a day's roster. "Quitar de día" takes the
// chosen worker off that day; "Añadir a día" adds him with the hours given (the hour
// fields are enabled only then). The workers offered are those of the opener's service.

#include "DateTime.h"
#include "RecordBinding.h"
#include "TemplateDialog.h"

class CFichaExcepcionDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int TemplateId = 174;
    static constexpr int IdDay = 1080;
    static constexpr int IdDayTime = 1081; // hidden: time of day of DIA
    static constexpr int IdPerson = 1082;
    static constexpr int IdWorkerKey = 1083; // hidden: ID_PERSONAL
    static constexpr int IdRemove = 1084;    // "Quitar de día"
    static constexpr int IdAddTo = 1085;     // "Añadir a día"
    static constexpr int IdKind = 1086;      // hidden: TIPO
    static constexpr int IdStartLabel = 1087;
    static constexpr int IdStart = 1088;
    static constexpr int IdEndLabel = 1089;
    static constexpr int IdEnd = 1090;
    static constexpr int IdHoursDate = 1091; // hidden: date part of both hours

    // TIPO of a worker taken off the day and of a worker added to it.
    static constexpr int KindRemove = 1;
    static constexpr int KindAdd = 2;

    explicit CFichaExcepcionDlg(QWidget* parent = nullptr);

    // The service whose workers are offered (FUNCIONES.ID).
    void SetService(int service) { m_service = service; }
    // The day a new exception is for.
    void SetDay(const CDateTime& day) { m_day = day.DatePart(); }
    // The exception shown (EXCEPCIONES.ID); -1 for a new one, replaced by the new ID on
    // insert.
    void SetExceptionId(long id) { m_exceptionId = id; }
    long GetExceptionId() const { return m_exceptionId; }

protected:
    void OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnOK() override;

private:
    void EnableHours(bool enable);
    // Shows the stored (or default) date of the hours with its four-digit year, so that it
    // reads back as the same date (a two-digit 99 would read as 1999).
    void ShowHoursDate();

    CRecordBinding m_binding;
    CDateTime m_day;
    int m_service = 0;
    long m_exceptionId = -1;
};
