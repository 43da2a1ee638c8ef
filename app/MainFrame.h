#pragma once
// The main window: menu bar, accelerators, toolbar and status bar of resource set 128
// around the roster view. The caption is "Ostrevan", followed by the database file's
// name when the program works on a file other than the one beside the executable.
//
// Commands are named by their identifier ("ID_FILE_PRINT") and go first to the view,
// then to the window itself (toolbar and status bar toggles, exit), then to the
// application object (About, printer set-up, new and open); a command nobody handles
// (the edit and pane keys) does nothing.

#include "MenuResource.h"

#include <QMainWindow>
#include <QString>
#include <map>

class COstrevanApp;
class COstrevanDoc;
class COstrevanView;
class QAction;
class QLabel;
class QScrollArea;
class QToolBar;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int ResourceId = 128;

    CMainFrame(COstrevanApp* app, COstrevanDoc* document, QWidget* parent = nullptr);
    ~CMainFrame() override;

    COstrevanView* View() const { return m_view; }
    COstrevanDoc* Document() const { return m_document; }
    QToolBar* ToolBar() const { return m_toolBar; }
    // The status bar's message pane ("Preparado") and its lock indicators.
    QLabel* MessagePane() const { return m_messagePane; }
    QLabel* IndicatorPane(int index) const;
    static constexpr int IndicatorCount = 3;

    // The action of a menu item or toolbar button; null when the command has none.
    QAction* CommandAction(const QString& command) const;
    const CMenuResource& Resource() const { return m_resource; }

    // Runs a command as its menu item, button or key would. True when handled.
    bool OnCmdMsg(const QString& command);

    // A note in the status bar's message pane (a copy made or skipped, a step undone).
    void MostrarNota(const QString& texto);

    // "Edición": undo and redo of the last change made in the data, their items naming
    // the step ("&Deshacer: borrar trabajador Ana García").
    void OnEditUndo();
    void OnEditRedo();
    void UpdateEditItems();

    // The database file named in the caption (empty: "Ostrevan" alone).
    void SetDatabaseFile(const QString& path);
    QString Caption() const;
    // Another database is open: the caption names it, the selectors are filled from it
    // and a roster on screen is built again from it (same month, the service now
    // selected), so nothing of the old file stays shown.
    void OnDatabaseChanged(const QString& path);

    // The view's first update, then the window fitted to the form.
    void InitialUpdateFrame();
    // Resizes the window so that the view shows the whole form.
    void RecalcLayoutToFitForm();

protected:
    void changeEvent(QEvent* event) override;

private:
    // Undoes (or redoes) the journal's next step; the view then follows the data.
    void AplicarPaso(bool deshacer);
    void CreateMenus();
    void CreateAccelerators();
    void CreateToolBar();
    void CreateStatusBar();
    QAction* MakeAction(const QString& command, const QString& text);
    void UpdateToggleChecks();
    bool OnOwnCommand(const QString& command);

    COstrevanApp* m_app = nullptr;
    COstrevanDoc* m_document = nullptr;
    CMenuResource m_resource;
    std::map<QString, QAction*> m_actions; // menu and toolbar actions by command
    COstrevanView* m_view = nullptr;       // owned through the scroll area
    QScrollArea* m_scroll = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_messagePane = nullptr;
    QLabel* m_indicators[IndicatorCount] = {};
    QString m_databaseName; // file name shown in the caption
};
