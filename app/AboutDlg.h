#pragma once
// The About box: the program's icon, its name and version, "Aceptar" and "Web", which
// opens the product's web page in the user's browser.

#include "TemplateDialog.h"

#include <QString>
#include <QUrl>

class CAboutDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int TemplateId = 100;
    static constexpr int IdWeb = 1057;

    explicit CAboutDlg(QWidget* parent = nullptr);

    // The product's web page.
    static QUrl PaginaWeb();

protected:
    bool OnCommand(int id) override;

private:
    void OnWeb();
};

// The program to start from the browser's command line as the system's class registry
// keeps it ("http\shell\open\command"):
//  - without double quotes: the text up to the first blank after the last "\" (the
//    whole text when there is no "\" or no blank after it);
//  - with double quotes: the text in upper case; for Firefox the part before " -URL",
//    otherwise the text between the first and the last double quote (unchanged when
//    there is only one).
// An empty command line gives an empty path.
QString RutaNavegador(const QString& lineaComandos);
