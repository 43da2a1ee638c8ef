#pragma once
// The progress window of the long operations (the roster build, the monthly report): a
// message line, a progress bar and a Cancel button, made from template 147.
//
// It is modeless and hidden when made; Mostrar centres it over its owner and shows it.
// Every update also lets the pending events run (Bombear), so the program keeps
// repainting and Cancel can be pressed while the operation runs on the same thread.
// Cancel, Escape and the close box only raise the cancelled flag: the window stays until
// the operation, which looks at the flag between days, is done with it.

#include "Progreso.h"
#include "TemplateDialog.h"

class QLabel;
class QProgressBar;

class CDlgProgreso : public CTemplateDialog, public IProgreso {
    Q_OBJECT
public:
    static constexpr int TemplateId = 147;
    static constexpr int IdPaso = 1099;     // step label (hidden by the template)
    static constexpr int IdMensaje = 1100;  // message line
    static constexpr int IdProgreso = 1101; // progress bar

    explicit CDlgProgreso(QWidget* parent = nullptr);
    ~CDlgProgreso() override;

    // IProgreso. Each update changes its control, then pumps and returns the pump's result.
    void Mostrar() override;
    void FijarRango(int n) override { FijarRangoBombeando(n); }
    void FijarPaso(int i, int n) override { FijarPasoBombeando(i, n); }
    void FijarMensaje(const QString& texto) override { FijarMensajeBombeando(texto); }
    void FijarPosicion(int i) override { FijarPosicionBombeando(i); }
    // Lets every pending event run. False when the application was asked to quit
    // meanwhile; that request is posted again, so the main loop still ends once the
    // operation is over.
    bool Bombear() override;
    bool Cancelado() const override { return m_cancelado; }
    void Cerrar() override;

    bool FijarRangoBombeando(int n);
    bool FijarPasoBombeando(int i, int n);
    bool FijarMensajeBombeando(const QString& texto);
    bool FijarPosicionBombeando(int i);

    QLabel* Paso() const;
    QLabel* Mensaje() const;
    QProgressBar* Barra() const;

protected:
    // Cancel (button, Escape, close box): raise the flag, keep the window.
    void OnCancel() override;
    // Enter must not close the window either.
    void OnOK() override {}
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    bool m_cancelado = false;
    bool m_bombeando = false;
    bool m_salir = false;
};
