#include "AboutDlg.h"

#include <QDesktopServices>
#include <QProcess>
#include <QSettings>

namespace {
// Opens the page with the browser named in the class registry, where there is one;
// elsewhere with the desktop's default browser. A failure is silent.
void AbrirPagina(const QUrl& pagina) {
#ifdef Q_OS_WIN
    QSettings registro(QStringLiteral("HKEY_CLASSES_ROOT\\http\\shell\\open\\command"),
                       QSettings::NativeFormat);
    const QString ruta = RutaNavegador(registro.value(QStringLiteral("Default")).toString());
    if (!ruta.isEmpty() && QProcess::startDetached(ruta, {pagina.toString()}))
        return;
#endif
    QDesktopServices::openUrl(pagina);
}
} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : CTemplateDialog(TemplateId, parent) {}

QUrl CAboutDlg::PaginaWeb() {
    return QUrl(QStringLiteral("https://dravonela.example/"));
}

bool CAboutDlg::OnCommand(int id) {
    if (id == IdWeb) {
        OnWeb();
        return true;
    }
    return CTemplateDialog::OnCommand(id);
}

void CAboutDlg::OnWeb() {
    AbrirPagina(PaginaWeb());
}

QString RutaNavegador(const QString& lineaComandos) {
    QString linea = lineaComandos;
    if (linea.isEmpty())
        return QString();
    const QChar comillas = QLatin1Char('"');
    if (!linea.contains(comillas)) {
        const int barra = linea.lastIndexOf(QLatin1Char('\\'));
        if (barra < 0)
            return linea;
        const int blanco = linea.indexOf(QLatin1Char(' '), barra);
        return blanco < 0 ? linea : linea.left(blanco);
    }
    linea = linea.toUpper();
    if (linea.contains(QLatin1String("FIREFOX.EXE"))) {
        const int url = linea.indexOf(QLatin1String(" -URL"));
        // Without " -URL" the quoted path below still names the program.
        if (url >= 0)
            return linea.left(url);
    }
    const int primera = linea.indexOf(comillas);
    const int ultima = linea.lastIndexOf(comillas);
    if (primera == ultima)
        return linea;
    return linea.mid(primera + 1, ultima - primera - 1);
}
