#include "ReglasDlg.h"

#include "BoundControls.h"
#include "DbQuery.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "Modal.h"

namespace {
const QString kCaption = QStringLiteral("Dravonela");
const QString kTablaReglas = QStringLiteral("REGLAS_SERVICIO");
const QString kTablaMinimos = QStringLiteral("MINIMOS_COBERTURA");
const QString kPreguntaRecargar =
    QStringLiteral("Para que los cambios tengan efecto se debe recargar la planilla.\r\n"
                   "¿Desea recargarla?");

// A column whose value the dialog fixes (the service, the period): bound like a control,
// so the binding writes it, but never shown.
class CValorFijo : public IBoundControl {
public:
    explicit CValorFijo(int valor) : m_valor(valor) {}
    QString GetText() const override { return QString::number(m_valor); }
    void SetText(const QString&) override {}
    int GetValue() const override { return m_valor; }
    void SetValue(int) override {}
    int GetCheck() const override { return 0; }
    void SetCheck(int) override {}
    bool GetDate(CDateTime& value) const override {
        value = CDateTime::MakeInvalid();
        return false;
    }
    void SetDate(const CDateTime&) override {}
    bool GetTime(CDateTime& value) const override { return GetDate(value); }
    void SetTime(const CDateTime&, bool) override {}
    void SetLimitText(int) override {}

private:
    int m_valor;
};

struct CCampoNumero {
    int id;
    int maximo;
    const char* mensaje;
};
const CCampoNumero kCamposReglas[] = {
    {CReglasDlg::IdDescanso, CReglasServicio::MaxDescanso,
     "Escriba el descanso mínimo entre turnos, de 0 a %1 horas."},
    {CReglasDlg::IdSemanal, CReglasServicio::MaxSemanal,
     "Escriba el descanso semanal, de 0 a %1 horas seguidas."},
    {CReglasDlg::IdNoches, CReglasServicio::MaxNoches,
     "Escriba el máximo de noches seguidas, de 1 a %1 (0 lo deja sin límite)."},
};
} // namespace

CReglasDlg::CReglasDlg(QWidget* parent) : CTemplateDialog(TemplateId, parent) {}

void CReglasDlg::SetServicio(int servicio, const QString& nombre) {
    m_servicio = servicio;
    m_nombreServicio = nombre;
}

CEditSpecial* CReglasDlg::Campo(int id) const {
    return Item<CEditSpecial>(id);
}

void CReglasDlg::OnInitDialog() {
    SetDlgItemText(IdServicio, m_nombreServicio);
    for (int id = IdDescanso; id < IdPorDefecto; ++id)
        if (CEditSpecial* campo = Campo(id))
            campo->setMaxLength(MaxDigitos);

    CDbQuery consulta;
    m_filaReglas = consulta.GetInt(kTablaReglas, QStringLiteral("ID"),
                                   QStringLiteral("ID_SERVICIO"), m_servicio);
    m_reglas.SetTable(kTablaReglas);
    m_reglas.BindInt(std::make_unique<CValorFijo>(m_servicio), QStringLiteral("ID_SERVICIO"),
                     m_servicio);
    m_reglas.BindInt(DvBindControl(GetDlgItem(IdDescanso)), QStringLiteral("DESCANSO_MINIMO"),
                     CReglasServicio::DescansoPorDefecto);
    m_reglas.BindInt(DvBindControl(GetDlgItem(IdSemanal)), QStringLiteral("DESCANSO_SEMANAL"),
                     CReglasServicio::SemanalPorDefecto);
    m_reglas.BindInt(DvBindControl(GetDlgItem(IdNoches)), QStringLiteral("NOCHES_SEGUIDAS"),
                     CReglasServicio::NochesPorDefecto);
    m_reglas.Load(m_filaReglas);

    for (int i = 0; i < CReglasServicio::Periodos; ++i) {
        const int hora = CReglasServicio::HoraPeriodo[i];
        m_filaMinimo[i] = consulta.GetIntByTwoKeys(kTablaMinimos, QStringLiteral("ID"),
                                                   QStringLiteral("ID_SERVICIO"), m_servicio,
                                                   QStringLiteral("PERIODO"), hora);
        CRecordBinding& minimo = m_minimos[i];
        minimo.SetTable(kTablaMinimos);
        minimo.BindInt(std::make_unique<CValorFijo>(m_servicio), QStringLiteral("ID_SERVICIO"),
                       m_servicio);
        minimo.BindInt(std::make_unique<CValorFijo>(hora), QStringLiteral("PERIODO"), hora);
        minimo.BindInt(DvBindControl(GetDlgItem(IdMinimo(i, false))),
                       QStringLiteral("MINIMO_LABORABLE"), 0);
        minimo.BindInt(DvBindControl(GetDlgItem(IdMinimo(i, true))),
                       QStringLiteral("MINIMO_FESTIVO"), 0);
        minimo.Load(m_filaMinimo[i]);
        // A period without a row has no minimum: its fields stay blank.
        if (m_filaMinimo[i] <= 0)
            for (bool festivo : {false, true})
                if (CEditSpecial* campo = Campo(IdMinimo(i, festivo)))
                    campo->clear();
    }

    if (CEditSpecial* descanso = Campo(IdDescanso)) {
        descanso->setFocus();
        descanso->selectAll();
    }
}

bool CReglasDlg::OnCommand(int id) {
    if (id == IdPorDefecto) {
        PonerPorDefecto();
        return true;
    }
    return CTemplateDialog::OnCommand(id);
}

void CReglasDlg::PonerPorDefecto() {
    // Only the fields change; nothing is stored until OK.
    if (CEditSpecial* campo = Campo(IdDescanso))
        campo->SetValue(CReglasServicio::DescansoPorDefecto);
    if (CEditSpecial* campo = Campo(IdSemanal))
        campo->SetValue(CReglasServicio::SemanalPorDefecto);
    if (CEditSpecial* campo = Campo(IdNoches))
        campo->SetValue(CReglasServicio::NochesPorDefecto);
    for (int i = 0; i < CReglasServicio::Periodos; ++i)
        for (bool festivo : {false, true})
            if (CEditSpecial* campo = Campo(IdMinimo(i, festivo)))
                campo->clear();
}

bool CReglasDlg::Leer(CReglasServicio& reglas) {
    const auto rechazar = [this](CEditSpecial* campo, const QString& texto) {
        DvMessageBox::Show(this, texto, kCaption, DvMessageBox::Ok, DvMessageBox::Warning);
        if (campo) {
            campo->setFocus();
            campo->selectAll();
        }
        return false;
    };
    int valores[3] = {};
    for (int k = 0; k < 3; ++k) {
        const CCampoNumero& c = kCamposReglas[k];
        CEditSpecial* campo = Campo(c.id);
        const QString texto = campo ? campo->text().trimmed() : QString();
        bool ok = false;
        valores[k] = texto.toInt(&ok);
        if (!ok || valores[k] < 0 || valores[k] > c.maximo)
            return rechazar(campo, QString::fromUtf8(c.mensaje).arg(c.maximo));
    }
    reglas.m_descansoMinimo = valores[0];
    reglas.m_descansoSemanal = valores[1];
    reglas.m_nochesSeguidas = valores[2];
    for (int i = 0; i < CReglasServicio::Periodos; ++i) {
        int minimo[2] = {0, 0};
        bool alguno = false;
        for (int festivo = 0; festivo < 2; ++festivo) {
            CEditSpecial* campo = Campo(IdMinimo(i, festivo != 0));
            const QString texto = campo ? campo->text().trimmed() : QString();
            if (texto.isEmpty())
                continue;
            bool ok = false;
            minimo[festivo] = texto.toInt(&ok);
            if (!ok || minimo[festivo] < 0 || minimo[festivo] > CReglasServicio::MaxMinimo)
                return rechazar(campo, QStringLiteral("Escriba el mínimo de personas, de 0 a %1, "
                                                      "o deje el periodo en blanco.")
                                           .arg(CReglasServicio::MaxMinimo));
            alguno = true;
        }
        reglas.m_hayMinimo[i] = alguno;
        reglas.m_minimoLaborable[i] = minimo[0];
        reglas.m_minimoFestivo[i] = minimo[1];
    }
    return true;
}

bool CReglasDlg::Guardar(const CReglasServicio& reglas) {
    // The rules: a service that has no row and keeps the defaults gets none, so it
    // follows the program's defaults.
    const CReglasServicio defecto;
    const bool sonDefecto = reglas.m_descansoMinimo == defecto.m_descansoMinimo &&
                            reglas.m_descansoSemanal == defecto.m_descansoSemanal &&
                            reglas.m_nochesSeguidas == defecto.m_nochesSeguidas;
    if (!(m_filaReglas <= 0 && sonDefecto) && m_reglas.IsModified(m_filaReglas)) {
        if (!m_reglas.Save(m_filaReglas))
            return false;
        m_guardado = true;
    }
    for (int i = 0; i < CReglasServicio::Periodos; ++i) {
        if (!reglas.m_hayMinimo[i]) {
            if (m_filaMinimo[i] > 0) {
                if (!CDbQuery().DeleteWhere(kTablaMinimos, QStringLiteral("ID"), m_filaMinimo[i]))
                    return false;
                m_filaMinimo[i] = -1;
                m_guardado = true;
            }
            continue;
        }
        // A blank field of a period with a minimum is no minimum for that kind of day.
        for (bool festivo : {false, true})
            if (CEditSpecial* campo = Campo(IdMinimo(i, festivo)))
                if (campo->text().trimmed().isEmpty())
                    campo->SetValue(0);
        if (m_minimos[i].IsModified(m_filaMinimo[i])) {
            if (!m_minimos[i].Save(m_filaMinimo[i]))
                return false;
            m_guardado = true;
        }
    }
    return true;
}

void CReglasDlg::OnOK() {
    CReglasServicio reglas;
    if (!Leer(reglas))
        return;
    // A failed statement has been reported; the dialog stays open to try again or
    // cancel.
    if (!Guardar(reglas))
        return;
    CTemplateDialog::OnOK();
}

CReglasDlg::Resultado CReglasDlg::Run(QWidget* parent, int servicio,
                                      const QString& nombreServicio) {
    if (servicio < 0) {
        DvMessageBox::Show(parent, QStringLiteral("Elija primero un servicio."), kCaption,
                           DvMessageBox::Ok, DvMessageBox::Information);
        return Cancelado;
    }
    CReglasDlg dialog(parent);
    dialog.SetServicio(servicio, nombreServicio);
    if (DvModal::Run(dialog) != QDialog::Accepted)
        return Cancelado;
    if (!dialog.Guardado())
        return Aceptado;
    const auto respuesta = DvMessageBox::Show(parent, kPreguntaRecargar, kCaption,
                                              DvMessageBox::YesNo, DvMessageBox::Question);
    return respuesta == DvMessageBox::IdYes ? Recargar : Aceptado;
}
