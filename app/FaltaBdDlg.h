#pragma once
// The choice the installed program offers when it finds no database it can open: a new
// empty database, a new one with the demonstration data, or an existing file. The dialog
// ends with the id of the button pressed; "Salir", Escape and the close box end it with
// IdCancel.

#include "TemplateDialog.h"

#include <QString>

class CFaltaBdDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int TemplateId = 185;
    static constexpr int IdTexto = 1201;
    static constexpr int IdVacia = 1202;
    static constexpr int IdDemostracion = 1203;
    static constexpr int IdAbrir = 1204;

    // texto: why the dialog is shown (which file is missing or could not be opened).
    explicit CFaltaBdDlg(const QString& texto, QWidget* parent = nullptr);

    // Runs the dialog modally; the id of the choice, or IdCancel.
    static int Preguntar(const QString& texto, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;
    bool OnCommand(int id) override;

private:
    QString m_texto;
};
