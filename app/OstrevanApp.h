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

private:
    bool ProcessShellCommand();
    void LoadStdProfileSettings(int maxRecentFiles);
    void CreatePrinter();

    QString m_databasePath;
    CCommandLineInfo m_commandLine;
    QStringList m_recentFiles;
    std::unique_ptr<COstrevanDoc> m_document;
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::unique_ptr<QPrinter> m_printer;
};
