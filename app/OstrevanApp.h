#pragma once
// The application object: starts the program (database file check, settings store,
// command line, main window), owns the main window, the document and the printer
// settings the roster printing changes, and runs the commands that belong to the
// program as a whole (About box, printer set-up, new and open document).

#include "CommandLineInfo.h"
#include "OstrevanDoc.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class CMainFrame;
class QPrinter;

class COstrevanApp : public QObject {
    Q_OBJECT
public:
    COstrevanApp();
    ~COstrevanApp() override;
    COstrevanApp(const COstrevanApp&) = delete;
    COstrevanApp& operator=(const COstrevanApp&) = delete;

    // The application object of this run (null before one is made).
    static COstrevanApp* Instance();

    // The database file whose presence start-up checks: beside the executable unless
    // set (tests).
    void SetDatabasePath(const QString& path) { m_databasePath = path; }
    QString DatabasePath() const;
    // The executable whose place decides where the database is looked for and whether
    // the program is installed (CUbicacionBd); the running program unless set (tests).
    void SetExecutablePath(const QString& path) { m_executablePath = path; }
    // The database file in use when it is not the one beside the executable (chosen at
    // start or with "Abrir..."); empty otherwise.
    QString DatabaseFile() const { return m_databaseFile; }

    // Opens another database file as the program's connection: refused with a message
    // when it is not a roster database or cannot be opened (the file in use then stays
    // open), else checked and upgraded as at start, remembered in DB_RUTA and first in
    // the recent-file list, and shown by the main window. True when it was opened.
    bool OpenDatabase(const QString& path);

    // Starts the program with the arguments after the program's name. False when the
    // program must end at once (a message has then been shown).
    bool InitInstance(const QStringList& arguments);

    CMainFrame* MainFrame() const { return m_mainFrame.get(); }
    COstrevanDoc* Document() const { return m_document.get(); }
    const CCommandLineInfo& CommandLine() const { return m_commandLine; }
    // The framework's recent-file list (at most MaxRecentFiles names) read at start.
    const QStringList& RecentFiles() const { return m_recentFiles; }
    static constexpr int MaxRecentFiles = 4;

    // The default printer settings; null when no printer is installed.
    QPrinter* Printer() const { return m_printer.get(); }
    // Landscape or portrait for the next print or preview; nothing without a printer.
    void SetPrinterOrientation(bool landscape);
    // Tests and printing: replaces the default printer settings (null: no printer).
    void SetPrinter(std::unique_ptr<QPrinter> printer);

    // Commands of the application ("&Acerca de Ostrevan...", printer set-up, new and
    // open document). True when the command is one of them.
    bool OnCommand(const QString& command);
    void OnAppAbout();
    void OnFilePrintSetup();
    void OnFileNew();
    void OnFileOpen();

    // Shows database failures in a message box captioned "Error" with the error icon.
    static void InstallDbErrorSink();
    static void ShowDbError(const QString& text);

private:
    // Start-up step 4: finds the database (CUbicacionBd) and, unless it is the one beside
    // the executable (which the view opens), opens it; an installed program offers to
    // make or choose one when there is none. False ends the program.
    bool LocateDatabase();
    // The installed program's choices until one gives a database that opens.
    bool OfferDatabase(QString reason);
    // Opens the file found or chosen at start (a message when it is not one of ours).
    bool OpenAtStart(const QString& path);
    void AddToRecentFileList(const QString& path);
    bool ProcessShellCommand();
    void LoadStdProfileSettings(int maxRecentFiles);
    void CreatePrinter();

    QString m_databasePath;
    QString m_executablePath;
    QString m_databaseFile;
    CCommandLineInfo m_commandLine;
    QStringList m_recentFiles;
    std::unique_ptr<COstrevanDoc> m_document;
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::unique_ptr<QPrinter> m_printer;
};
