#include "OstrevanApp.h"

#include "AboutDlg.h"
#include "AppIcons.h"
#include "ArchivoSalida.h"
#include "Clock.h"
#include "CopiaSeguridad.h"
#include "DbConnection.h"
#include "FaltaBdDlg.h"
#include "FileDialog.h"
#include "MainFrame.h"
#include "MessageBox.h"
#include "Modal.h"
#include "OstrevanView.h"
#include "Resources.h"
#include "RevisionBd.h"
#include "RosterPrinting.h"
#include "Schema.h"
#include "Settings.h"
#include "UbicacionBd.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSettings>

namespace {
COstrevanApp* g_app = nullptr;

const QString kCaption = QStringLiteral("Dravonela");
const char* const kFiltroBd =
    "Bases de datos de Dravonela (*.mdb)|*.mdb|Todos los archivos (*.*)|*.*||";

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
    if (g_app == this) {
        g_app = nullptr;
        DvRevision::Desinstalar();
    }
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

    // The program's icon, for the first-run choice as for every later window; Qt's own
    // dialogs (open and save a file, print) in Spanish.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::setWindowIcon(DvIcons::Programa());
    DvImpresion::CargarTraduccionesQt();

    // 4. The database file: beside the executable, else the one the user chose, else the
    // user's own; an installed program offers to make or choose one when there is none.
    if (!LocateDatabase())
        return false;
    // The file beside the executable is opened later by the view: a database of another
    // program in its place is refused before anything touches it, and the program ends as
    // for a missing file.
    const QString enUso = m_databaseFile.isEmpty() ? DatabasePath() : m_databaseFile;
    if (DvSchema::InspectFile(enUso) == DvSchema::FileKind::Foreign) {
        DvMessageBox::Show(nullptr, DvSchema::ForeignFileMessage(enUso), kCaption, DvMessageBox::Ok,
                           DvMessageBox::Error);
        return false;
    }
    // Nothing the program writes ever goes over it.
    DvArchivo::Proteger(enUso);

    // 5-6. The settings store of this program, and the standard entries kept there.
    QCoreApplication::setOrganizationName(QString::fromLatin1(DvSettings::Organisation));
    QCoreApplication::setApplicationName(QString::fromLatin1(DvSettings::Application));
    LoadStdProfileSettings(MaxRecentFiles);
    InstallDbErrorSink();
    DvRevision::Instalar([](const QString& nota) {
        if (const COstrevanApp* app = COstrevanApp::Instance(); app && app->MainFrame())
            app->MainFrame()->MostrarNota(nota);
    });
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

bool COstrevanApp::LocateDatabase() {
    CUbicacionBd ubicacion(m_executablePath);
    if (!m_databasePath.isEmpty())
        ubicacion.FijarJuntoAlEjecutable(m_databasePath);
    const CUbicacionBd::Hallazgo hallazgo = ubicacion.Buscar();
    m_databaseFile.clear();
    // The file beside the executable is opened by the view, as it always was.
    if (hallazgo.origen == CUbicacionBd::Origen::JuntoAlEjecutable)
        return true;
    if (!ubicacion.Instalado()) {
        if (hallazgo.origen == CUbicacionBd::Origen::Ninguno) {
            DvMessageBox::Show(nullptr,
                               QStringLiteral("Aplicacion no válida. Falta fichero %1")
                                   .arg(QString::fromLatin1(CUbicacionBd::NombreFichero)),
                               kCaption, DvMessageBox::Ok, DvMessageBox::Error);
            return false;
        }
        return OpenAtStart(hallazgo.ruta);
    }

    if (hallazgo.origen != CUbicacionBd::Origen::Ninguno) {
        if (OpenAtStart(hallazgo.ruta))
            return true;
        return OfferDatabase(QStringLiteral("No se pudo abrir la base de datos %1.")
                                 .arg(QDir::toNativeSeparators(hallazgo.ruta)));
    }
    const QString recordada = CUbicacionBd::RutaRecordada();
    return OfferDatabase(recordada.isEmpty()
                             ? QStringLiteral("Todavía no hay ninguna base de datos de Dravonela.")
                             : QStringLiteral("No se encuentra la base de datos %1.")
                                   .arg(QDir::toNativeSeparators(recordada)));
}

bool COstrevanApp::OfferDatabase(QString reason) {
    InstallDbErrorSink();
    for (;;) {
        const int eleccion = CFaltaBdDlg::Preguntar(reason + QStringLiteral("\n¿Qué desea hacer?"));
        QString ruta;
        if (eleccion == CFaltaBdDlg::IdVacia || eleccion == CFaltaBdDlg::IdDemostracion) {
            // A new file goes to the user's data folder, never over one already there.
            ruta = CUbicacionBd::RutaCarpetaUsuario();
            QDir().mkpath(CUbicacionBd::CarpetaUsuario());
            const QString demo = eleccion == CFaltaBdDlg::IdDemostracion
                                     ? DvResources::ReadText(QStringLiteral(":/sql/demo.sql"))
                                     : QString();
            QString error;
            if (!DvSchema::CreateDatabase(ruta, DvSettings::DbPassword(), demo, DvClock::Today(),
                                          error)) {
                DvMessageBox::Show(
                    nullptr, QStringLiteral("No se pudo crear la base de datos.\n%1").arg(error),
                    kCaption, DvMessageBox::Ok, DvMessageBox::Error);
                continue;
            }
        } else if (eleccion == CFaltaBdDlg::IdAbrir) {
            ruta = DvFileDialog::GetOpenFileName(nullptr, QString::fromUtf8(kFiltroBd),
                                                 QDir::homePath());
            if (ruta.isEmpty())
                continue;
        } else {
            return false;
        }
        if (OpenAtStart(ruta)) {
            CUbicacionBd::Recordar(ruta);
            return true;
        }
        reason = QStringLiteral("No se pudo abrir la base de datos %1.")
                     .arg(QDir::toNativeSeparators(ruta));
    }
}

bool COstrevanApp::OpenAtStart(const QString& path) {
    QString motivo;
    if (!CUbicacionBd::EsBaseDePlanillas(path, &motivo)) {
        DvMessageBox::Show(nullptr, motivo, kCaption, DvMessageBox::Ok, DvMessageBox::Error);
        return false;
    }
    InstallDbErrorSink();
    CDbConnection& conexion = CDbConnection::Instance();
    if (conexion.IsOpen() && conexion.Path() == path) {
        m_databaseFile = path;
        return true;
    }
    conexion.Reset();
    conexion.OpenFile(path, DvSettings::DbPassword());
    // A damaged file is told, with the offer of its newest good copy.
    DvRevision::RevisarAbierta(nullptr);
    if (!conexion.IsOpen()) {
        // Failures have been shown; the next open starts afresh.
        conexion.Reset();
        return false;
    }
    m_databaseFile = path;
    return true;
}

bool COstrevanApp::OpenDatabase(const QString& path) {
    if (const CMainFrame* marco = m_mainFrame.get();
        marco && marco->View() && marco->View()->Ocupada()) {
        DvMessageBox::Show(m_mainFrame.get(),
                           QStringLiteral("Espere a que termine la operación en curso."), kCaption,
                           DvMessageBox::Ok, DvMessageBox::Information);
        return false;
    }
    QString motivo;
    if (!CUbicacionBd::EsBaseDePlanillas(path, &motivo)) {
        DvMessageBox::Show(m_mainFrame.get(), motivo, kCaption, DvMessageBox::Ok,
                           DvMessageBox::Error);
        return false;
    }
    const QString clave = DvSettings::DbPassword();
    // Tried on a connection of its own first (with the check and upgrade of every
    // open), so the file in use stays open when the new one cannot be used.
    {
        CDbConnection prueba;
        prueba.SetErrorSink(&COstrevanApp::ShowDbError);
        if (!prueba.OpenFile(path, clave)) {
            // A file too damaged to open: its newest good copy is offered.
            const QStringList problemas = DvCopia::ProblemasFichero(path, true);
            if (problemas.isEmpty() ||
                !DvRevision::OfrecerCopia(m_mainFrame.get(), path, problemas, {}))
                return false;
            prueba.Reset();
            if (!prueba.OpenFile(path, clave))
                return false;
        }
    }
    CDbConnection& conexion = CDbConnection::Instance();
    const QString anterior = conexion.Path();
    conexion.Reset();
    if (!conexion.OpenFile(path, clave)) {
        conexion.Reset();
        if (!anterior.isEmpty())
            conexion.OpenFile(anterior, clave);
        return false;
    }
    DvRevision::RevisarAbierta(m_mainFrame.get());
    m_databaseFile = path;
    CUbicacionBd::Recordar(path);
    AddToRecentFileList(QFileInfo(path).absoluteFilePath());
    if (m_mainFrame)
        m_mainFrame->OnDatabaseChanged(path);
    return true;
}

void COstrevanApp::AddToRecentFileList(const QString& path) {
    m_recentFiles.removeAll(path);
    m_recentFiles.prepend(path);
    while (m_recentFiles.size() > MaxRecentFiles)
        m_recentFiles.removeLast();
    QSettings settings;
    settings.beginGroup(QStringLiteral("Recent File List"));
    for (int i = 1; i <= MaxRecentFiles; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= m_recentFiles.size())
            settings.setValue(key, m_recentFiles.at(i - 1));
        else
            settings.remove(key);
    }
    settings.endGroup();
    settings.sync();
}

bool COstrevanApp::ProcessShellCommand() {
    // Opening a named file means nothing for a document that holds no data: every
    // shell command gives the program's one window on a new document.
    m_document = std::make_unique<COstrevanDoc>();
    if (!m_document->OnNewDocument())
        return false;
    m_mainFrame = std::make_unique<CMainFrame>(this, m_document.get());
    m_mainFrame->SetDatabaseFile(m_databaseFile);
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
    CDbConnection::Instance().SetErrorSink(&COstrevanApp::ShowDbError);
}

void COstrevanApp::ShowDbError(const QString& text) {
    // The lines of the report are separated by carriage returns alone.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    DvMessageBox::Show(nullptr, shown, QStringLiteral("Error"), DvMessageBox::Ok,
                       DvMessageBox::Error);
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
    // The document holds nothing; what "Abrir..." opens is another database file.
    // It starts where the database in use lies.
    const QString actual = CDbConnection::Instance().Path();
    const QString ruta = DvFileDialog::GetOpenFileName(
        m_mainFrame.get(), QString::fromUtf8(kFiltroBd),
        actual.isEmpty() ? QDir::homePath() : QFileInfo(actual).absolutePath());
    if (!ruta.isEmpty())
        OpenDatabase(ruta);
}
