#pragma once
// Progress of a long operation (the roster build, the report) and its Cancel request.
// The progress window implements it on screen; CProgresoSinVentana serves where there
// is no window (headless commands, tests).

#include <QString>
#include <functional>

class IProgreso {
public:
    virtual ~IProgreso() = default;

    // Shows the window, if any, before the first day.
    virtual void Mostrar() {}
    // Range 0..n of the progress bar.
    virtual void FijarRango(int n) = 0;
    // "Paso (%i/%i)".
    virtual void FijarPaso(int i, int n) = 0;
    virtual void FijarMensaje(const QString& texto) = 0;
    virtual void FijarPosicion(int i) = 0;
    // Lets pending events run; false when the application has been asked to quit.
    virtual bool Bombear() = 0;
    // True once the user has asked to cancel.
    virtual bool Cancelado() const = 0;
    // Closes the window, if any, at the end of the operation.
    virtual void Cerrar() {}
};

// Keeps the last values set; can be cancelled by a call, or by a hook run at each pump
// (tests cancel at a chosen day that way).
class CProgresoSinVentana : public IProgreso {
public:
    void FijarRango(int n) override { m_rango = n; }
    void FijarPaso(int i, int n) override { m_paso = QStringLiteral("Paso (%1/%2)").arg(i).arg(n); }
    void FijarMensaje(const QString& texto) override { m_mensaje = texto; }
    void FijarPosicion(int i) override { m_posicion = i; }
    bool Bombear() override;
    bool Cancelado() const override { return m_cancelado; }
    void Cerrar() override { m_cerrado = true; }

    void Cancelar() { m_cancelado = true; }
    // Run at each pump; returning true cancels.
    void AlBombear(std::function<bool(const CProgresoSinVentana&)> gancho) {
        m_gancho = std::move(gancho);
    }

    int Rango() const { return m_rango; }
    int Posicion() const { return m_posicion; }
    QString Paso() const { return m_paso; }
    QString Mensaje() const { return m_mensaje; }
    int Bombeos() const { return m_bombeos; }
    bool Cerrado() const { return m_cerrado; }

private:
    int m_rango = 0;
    int m_posicion = 0;
    int m_bombeos = 0;
    QString m_paso;
    QString m_mensaje;
    bool m_cancelado = false;
    bool m_cerrado = false;
    std::function<bool(const CProgresoSinVentana&)> m_gancho;
};
