#pragma once
// "Opciones de planilla": the roster preferences of one service, one row of
// PREF_IMPRESION at most per service: the font size and row height of the roster grid
// and whether the roster prints in landscape and fitted to one sheet. A service without a
// row shows 15, 16, landscape and fitted ticked, and gets its row on OK even when nothing
// was changed. A row that cannot be saved keeps the dialog open, with a message.
//
// The roster view runs it with Run, which also passes the stored size and height to the
// roster grid and asks whether the roster should be built again:
//
//   const auto r = COpcionesPlanillaDlg::Run(this, ServicioSeleccionado(),
//       [this](int fuente, int fila) { Cuadro()->ActualizarFuente(fuente, fila); });
//   if (r == COpcionesPlanillaDlg::Recargar) OnGenerar();

#include "RecordBinding.h"
#include "TemplateDialog.h"

#include <functional>

class COpcionesPlanillaDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int TemplateId = 160;
    static constexpr int IdTamFuente = 1082;
    static constexpr int IdAltoFila = 1083;
    static constexpr int IdPorDefecto = 1084; // "Por defecto"
    static constexpr int IdServicio = 1102;   // hidden: ID_SERVICIO of the row
    static constexpr int IdHorizontal = 1103; // "Orientación de papel horizontal"
    static constexpr int IdAjustar = 1105;    // "Ajustar a una hoja"

    static constexpr int TamFuentePorDefecto = 15;
    static constexpr int AltoFilaPorDefecto = 16;
    // Digits the two number fields take.
    static constexpr int MaxDigitos = 3;

    // What Run ended with.
    enum Resultado {
        Cancelado, // closed with Cancel: nothing stored, nothing applied
        Aceptado,  // closed with OK, the roster is left as it is
        Recargar,  // closed with OK and the user wants the roster built again
    };
    // Receives the service's stored font size and row height after OK.
    using AplicarFuente = std::function<void(int tamFuente, int altoFila)>;

    explicit COpcionesPlanillaDlg(QWidget* parent = nullptr);

    // Runs the dialog for the service (-1 when none is selected). After OK it reads the
    // service's font size and row height back from the database and hands them to
    // aplicar (15 and 16 when the service still has no row because the save failed),
    // then asks whether to reload the roster.
    static Resultado Run(QWidget* parent, int servicio, const AplicarFuente& aplicar = {});

    // The font size and row height stored for the service; the defaults when it has no
    // row (or the read failed, which the data layer reports).
    static void LeerTamanos(int servicio, int& tamFuente, int& altoFila);

    // The service whose preferences are edited; set before the dialog is shown.
    void SetServicio(int servicio) { m_servicio = servicio; }
    int GetServicio() const { return m_servicio; }
    // PREF_IMPRESION.ID of the service's row: -1 while it has none, the new row's ID
    // once OK has inserted it.
    long GetFilaId() const { return m_filaId; }

protected:
    void OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnOK() override;

private:
    void PonerPorDefecto();
    // False (and a message, focus on the field) when a number field is empty or zero.
    bool ValoresValidos();

    CRecordBinding m_binding;
    int m_servicio = -1;
    long m_filaId = -1;
};
