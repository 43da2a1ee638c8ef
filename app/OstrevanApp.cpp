#include "OstrevanApp.h"

#include "AboutDlg.h"
#include "AppIcons.h"
#include "ArchivoSalida.h"
#include "DbConnection.h"
#include "MainFrame.h"
#include "MessageBox.h"
#include "Modal.h"
#include "Schema.h"
#include "Settings.h"

#include <QApplication>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSettings>

namespace {
COstrevanApp* g_app = nullptr;

const QString kCaption = QStringLiteral("Dravonela");

// The platform's socket and component libraries, hosting of embedded controls and
// three-dimensional controls have no counterpart here: these steps always succeed.
bool InitSockets() {
    return true;
}
bool InitComponentLibraries() {
    return true;
}
} // namespace

COstrevanApp::COstrevanApp() {
    g_app = this;
}

COstrevanApp::~COstrevanApp() {
    // The window goes before the document it shows.
    m_mainFrame.reset();
    m_document.reset();
    if (g_app == this)
        g_app = nullptr;
}

COstrevanApp* COstrevanApp::Instance() {
    return g_app;
}

QString COstrevanApp::DatabasePath() const {
    return m_databasePath.isEmpty() ? CDbConnection::DatabasePath() : m_databasePath;
}

bool COstrevanApp::InitInstance(const QStringList& arguments) {
    // 1-3. Platform libraries.
    if (!InitSockets()) {
        DvMessageBox::Show(nullptr, QStringLiteral("Error al inicializar zócalos de Windows."),
                           kCaption, DvMessageBox::Ok, DvMessageBox::Error);
        return false;
    }
    if (!InitComponentLibraries()) {
        DvMessageBox::Show(nullptr,
                           QStringLiteral("Error de inicialización OLE. Cerciórese de tener la "
                                          "versión correcta de las bibliotecas OLE."),
                           kCaption, DvMessageBox::Ok, DvMessageBox::Error);
        return false;
    }

    // 4. The database file must be there; the program never makes it.
    if (!QFileInfo(DatabasePath()).isFile()) {
        DvMessageBox::Show(nullptr,
                           QStringLiteral("Aplicacion no válida. Falta fichero %1")
                               .arg(QStringLiteral("ostrevan.mdb")),
                           kCaption, DvMessageBox::Ok, DvMessageBox::Error);
        return false;
    }
    // A database of another program in its place is refused before anything touches
    // it; the program ends as for a missing file.
    if (DvSchema::InspectFile(DatabasePath()) == DvSchema::FileKind::Foreign) {
        DvMessageBox::Show(nullptr, DvSchema::ForeignFileMessage(DatabasePath()), kCaption,
                           DvMessageBox::Ok, DvMessageBox::Error);
        return false;
    }
    // Nothing the program writes ever goes over it.
    DvArchivo::Proteger(DatabasePath());

    // 5-6. The settings store of this program, and the standard entries kept there.
    QCoreApplication::setOrganizationName(QString::fromLatin1(DvSettings::Organisation));
    QCoreApplication::setApplicationName(QString::fromLatin1(DvSettings::Application));
    LoadStdProfileSettings(MaxRecentFiles);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::setWindowIcon(DvIcons::Programa());
    InstallDbErrorSink();
    CreatePrinter();

    // 7-8. The one document type; there is no automation registration here.
    // 9. The command line.
    m_commandLine = CCommandLineInfo();
    m_commandLine.Parse(arguments);

    // 10. Started for an automation client: no window, keep running for it.
    if (m_commandLine.RunsWithoutWindow())
        return true;

    // 11. A new document with its window and view.
    if (!ProcessShellCommand())
        return false;

    // 12. Show the window.
    m_mainFrame->show();
    return true;
}

bool COstrevanApp::ProcessShellCommand() {
    // Opening a named file means nothing for a document that holds no data: every
    // shell command gives the program's one window on a new document.
    m_document = std::make_unique<COstrevanDoc>();
    if (!m_document->OnNewDocument())
        return false;
    m_mainFrame = std::make_unique<CMainFrame>(this, m_document.get());
    m_mainFrame->InitialUpdateFrame();
    return true;
}

void COstrevanApp::LoadStdProfileSettings(int maxRecentFiles) {
    QSettings settings;
    m_recentFiles.clear();
    settings.beginGroup(QStringLiteral("Recent File List"));
    for (int i = 1; i <= maxRecentFiles; ++i) {
        const QString name = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!name.isEmpty())
            m_recentFiles << name;
    }
    settings.endGroup();
}

void COstrevanApp::CreatePrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter().isNull()
                                  ? (QPrinterInfo::availablePrinters().isEmpty()
                                         ? QPrinterInfo()
                                         : QPrinterInfo::availablePrinters().constFirst())
                                  : QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        m_printer.reset();
        return;
    }
    m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

void COstrevanApp::SetPrinter(std::unique_ptr<QPrinter> printer) {
    m_printer = std::move(printer);
}

void COstrevanApp::SetPrinterOrientation(bool landscape) {
    if (!m_printer)
        return;
    m_printer->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void COstrevanApp::InstallDbErrorSink() {
    CDbConnection::Instance().SetErrorSink([](const QString& text) {
        // The lines of the report are separated by carriage returns alone.
        QString shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        DvMessageBox::Show(nullptr, shown, QStringLiteral("Error"), DvMessageBox::Ok,
                           DvMessageBox::Error);
    });
}

bool COstrevanApp::OnCommand(const QString& command) {
    if (command == QLatin1String("ID_APP_ABOUT"))
        OnAppAbout();
    else if (command == QLatin1String("ID_FILE_PRINT_SETUP"))
        OnFilePrintSetup();
    else if (command == QLatin1String("ID_FILE_NEW"))
        OnFileNew();
    else if (command == QLatin1String("ID_FILE_OPEN"))
        OnFileOpen();
    else
        return false;
    return true;
}

void COstrevanApp::OnAppAbout() {
    CAboutDlg about(m_mainFrame.get());
    DvModal::Run(about);
}

void COstrevanApp::OnFilePrintSetup() {
    if (!m_printer) {
        DvMessageBox::Show(m_mainFrame.get(), QStringLiteral("No hay ninguna impresora instalada."),
                           kCaption, DvMessageBox::Ok, DvMessageBox::Information);
        return;
    }
    QPageSetupDialog setup(m_printer.get(), m_mainFrame.get());
    setup.setWindowTitle(QStringLiteral("Configurar impresora"));
    DvModal::Run(setup);
}

void COstrevanApp::OnFileNew() {
    // The document holds no data: a new one leaves the window as it is.
    if (m_document)
        m_document->OnNewDocument();
}

void COstrevanApp::OnFileOpen() {
    // There is no document file to open: everything lives in the database.
}
