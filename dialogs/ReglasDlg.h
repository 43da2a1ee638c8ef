#pragma once
// "Reglas y mínimos": the rules one service's roster is checked against. The minimum
// rest between two work periods, the minimum uninterrupted weekly rest and the most
// nights in a row are one row of REGLAS_SERVICIO (none while they are the defaults);
// the fewest people each period of the day needs, on weekdays and on Sundays and
// holidays, one row of MINIMOS_COBERTURA per period (none: the period has no minimum).
//
// The roster view runs it for the selected service:
//
//   if (CReglasDlg::Run(this, ServicioSeleccionado(), nombre) == CReglasDlg::Recargar)
//       OnGenerar();

#include "RecordBinding.h"
#include "ReglasServicio.h"
#include "TemplateDialog.h"

class CEditSpecial;

class CReglasDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int TemplateId = 163;
    static constexpr int IdServicio = 1110;     // the service's name
    static constexpr int IdDescanso = 1111;     // hours between two work periods
    static constexpr int IdSemanal = 1112;      // hours in a row each week
    static constexpr int IdNoches = 1113;       // nights in a row (0: no limit)
    static constexpr int IdPrimerMinimo = 1114; // weekday, holiday for 8; then 15, 22
    static constexpr int IdPorDefecto = 1120;   // "Por defecto"
    // Digits the number fields take.
    static constexpr int MaxDigitos = 3;

    enum Resultado {
        Cancelado, // closed with Cancel, or no service to edit
        Aceptado,  // closed with OK, nothing changed
        Recargar,  // closed with OK after a change, and the user wants the roster again
    };

    explicit CReglasDlg(QWidget* parent = nullptr);

    // Runs the dialog for the service (none selected: a message, nothing opened). After
    // a change, asks whether the roster should be built again.
    static Resultado Run(QWidget* parent, int servicio, const QString& nombreServicio);

    void SetServicio(int servicio, const QString& nombre);
    int GetServicio() const { return m_servicio; }
    // Whether OK stored anything.
    bool Guardado() const { return m_guardado; }

    // The field of the weekday (festivo false) or Sunday-and-holiday minimum of period i.
    static int IdMinimo(int periodo, bool festivo) {
        return IdPrimerMinimo + 2 * periodo + (festivo ? 1 : 0);
    }

protected:
    void OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnOK() override;

private:
    void PonerPorDefecto();
    // The values of the fields; false (a message, the focus on the field) when one is
    // empty or out of its range.
    bool Leer(CReglasServicio& reglas);
    bool Guardar(const CReglasServicio& reglas);
    CEditSpecial* Campo(int id) const;

    int m_servicio = -1;
    QString m_nombreServicio;
    CRecordBinding m_reglas;
    long m_filaReglas = -1;
    CRecordBinding m_minimos[CReglasServicio::Periodos];
    long m_filaMinimo[CReglasServicio::Periodos] = {-1, -1, -1};
    bool m_guardado = false;
};
