#include "MainFrame.h"

#include "AppIcons.h"
#include "CuadroPlanilla.h"
#include "DbConnection.h"
#include "DiarioCambios.h"
#include "MessageBox.h"
#include "OstrevanApp.h"
#include "OstrevanDoc.h"
#include "OstrevanView.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>

namespace {
const char* const kIndicatorTexts[CMainFrame::IndicatorCount] = {"MAY", "NUM", "DESP"};
} // namespace

CMainFrame::CMainFrame(COstrevanApp* app, COstrevanDoc* document, QWidget* parent)
    : QMainWindow(parent), m_app(app), m_document(document) {
    setObjectName(QStringLiteral("CMainFrame"));
    QString error;
    if (!CMenuResource::Load(ResourceId, m_resource, &error))
        qWarning("Menú %d no disponible: %s", ResourceId, qPrintable(error));

    setWindowIcon(DvIcons::Programa());
    setWindowTitle(Caption());

    CreateMenus();
    CreateAccelerators();
    CreateToolBar();
    CreateStatusBar();

    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_view = new COstrevanView(document, this);
    m_scroll->setWidget(m_view);
    setCentralWidget(m_scroll);
}

CMainFrame::~CMainFrame() = default;

QLabel* CMainFrame::IndicatorPane(int index) const {
    return index >= 0 && index < IndicatorCount ? m_indicators[index] : nullptr;
}

QAction* CMainFrame::CommandAction(const QString& command) const {
    const auto found = m_actions.find(command);
    return found == m_actions.end() ? nullptr : found->second;
}

QAction* CMainFrame::MakeAction(const QString& command, const QString& text) {
    if (QAction* existing = CommandAction(command))
        return existing;
    auto* action = new QAction(text, this);
    action->setObjectName(command);
    action->setStatusTip(m_resource.StatusText(command));
    action->setToolTip(m_resource.ToolTip(command));
    connect(action, &QAction::triggered, this, [this, command]() { OnCmdMsg(command); });
    m_actions[command] = action;
    return action;
}

void CMainFrame::CreateMenus() {
    for (const CMenuPopup& popup : m_resource.popups) {
        QMenu* menu = menuBar()->addMenu(popup.text);
        for (const CMenuItem& item : popup.items) {
            if (item.IsSeparator()) {
                menu->addSeparator();
                continue;
            }
            // The text after the tab is shown in the shortcut column; the keys that
            // really run a command are the accelerators.
            menu->addAction(MakeAction(item.command, item.text));
        }
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateToggleChecks);
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateEditItems);
    }
    UpdateEditItems();
    for (const char* toggle : {"ID_VIEW_TOOLBAR", "ID_VIEW_STATUS_BAR"})
        if (QAction* action = CommandAction(QString::fromLatin1(toggle)))
            action->setCheckable(true);
}

void CMainFrame::CreateAccelerators() {
    for (const CAccelerator& accelerator : m_resource.accelerators) {
        const QKeySequence keys(accelerator.keys, QKeySequence::PortableText);
        if (keys.isEmpty()) {
            qWarning("Tecla no reconocida en el menú %d: %s", ResourceId,
                     qPrintable(accelerator.keys));
            continue;
        }
        // Separate from the menu items, so a menu shows its own key text. A focused
        // edit box keeps its own editing keys (copy, paste, undo).
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("accel:") + accelerator.command);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        const QString command = accelerator.command;
        connect(action, &QAction::triggered, this, [this, command]() { OnCmdMsg(command); });
        addAction(action);
    }
}

void CMainFrame::CreateToolBar() {
    m_toolBar = new QToolBar(QStringLiteral("Estándar"), this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar128"));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const CToolbarButton& button : m_resource.toolbar) {
        if (button.IsSeparator()) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* action = MakeAction(button.command, m_resource.ToolTip(button.command));
        action->setIcon(DvIcons::Load(button.icon));
        m_toolBar->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    m_messagePane = new QLabel(QStringLiteral("Preparado"), bar);
    m_messagePane->setObjectName(QStringLiteral("MessagePane"));
    bar->addWidget(m_messagePane, 1);
    for (int i = 0; i < IndicatorCount; ++i) {
        auto* pane = new QLabel(QString::fromLatin1(kIndicatorTexts[i]), bar);
        pane->setObjectName(QStringLiteral("Indicator%1").arg(i));
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(pane->text()) + 12);
        bar->addPermanentWidget(pane);
        m_indicators[i] = pane;
    }
}

void CMainFrame::UpdateToggleChecks() {
    if (QAction* action = CommandAction(QStringLiteral("ID_VIEW_TOOLBAR")))
        action->setChecked(m_toolBar->isVisibleTo(this));
    if (QAction* action = CommandAction(QStringLiteral("ID_VIEW_STATUS_BAR")))
        action->setChecked(statusBar()->isVisibleTo(this));
}

bool CMainFrame::OnCmdMsg(const QString& command) {
    if (m_view && m_view->OnMenuCommand(command))
        return true;
    if (OnOwnCommand(command))
        return true;
    return m_app && m_app->OnCommand(command);
}

bool CMainFrame::OnOwnCommand(const QString& command) {
    if (command == QLatin1String("ID_VIEW_TOOLBAR")) {
        m_toolBar->setVisible(!m_toolBar->isVisibleTo(this));
    } else if (command == QLatin1String("ID_VIEW_STATUS_BAR")) {
        statusBar()->setVisible(!statusBar()->isVisibleTo(this));
    } else if (command == QLatin1String("ID_APP_EXIT")) {
        close();
    } else if (command == QLatin1String("ID_EDIT_UNDO")) {
        OnEditUndo();
        return true;
    } else if (command == QLatin1String("ID_EDIT_REDO")) {
        OnEditRedo();
        return true;
    } else {
        return false;
    }
    UpdateToggleChecks();
    return true;
}

void CMainFrame::MostrarNota(const QString& texto) {
    if (m_messagePane)
        m_messagePane->setText(texto.isEmpty() ? QStringLiteral("Preparado") : texto);
}

void CMainFrame::UpdateEditItems() {
    const CDiarioCambios& diario = CDbConnection::Instance().Diario();
    const struct {
        const char* command;
        QString text;
        QString step;
    } items[] = {
        {"ID_EDIT_UNDO", QStringLiteral("&Deshacer"), diario.TextoDeshacer()},
        {"ID_EDIT_REDO", QStringLiteral("&Rehacer"), diario.TextoRehacer()},
    };
    for (const auto& item : items) {
        QAction* action = CommandAction(QString::fromLatin1(item.command));
        if (!action)
            continue;
        const QString keys = action->text().section(QLatin1Char('\t'), 1);
        QString text = item.text;
        if (!item.step.isEmpty())
            text += QStringLiteral(": ") + item.step;
        if (!keys.isEmpty())
            text += QLatin1Char('\t') + keys;
        action->setText(text);
        action->setEnabled(!item.step.isEmpty());
    }
}

void CMainFrame::OnEditUndo() {
    AplicarPaso(true);
}

void CMainFrame::OnEditRedo() {
    AplicarPaso(false);
}

void CMainFrame::AplicarPaso(bool deshacer) {
    CDiarioCambios& diario = CDbConnection::Instance().Diario();
    if (deshacer ? !diario.PuedeDeshacer() : !diario.PuedeRehacer())
        return;
    if (m_view && m_view->Ocupada()) {
        DvMessageBox::Show(this, QStringLiteral("Espere a que termine la operación en curso."),
                           QStringLiteral("Dravonela"), DvMessageBox::Ok,
                           DvMessageBox::Information);
        return;
    }
    const QString paso = deshacer ? diario.TextoDeshacer() : diario.TextoRehacer();
    QString error;
    if (deshacer ? diario.Deshacer(&error) : diario.Rehacer(&error)) {
        if (m_view)
            m_view->DatosCambiados();
        MostrarNota(
            (deshacer ? QStringLiteral("Deshecho: %1") : QStringLiteral("Rehecho: %1")).arg(paso));
    } else {
        DvMessageBox::Show(this, error, QStringLiteral("Dravonela"), DvMessageBox::Ok,
                           DvMessageBox::Warning);
    }
    UpdateEditItems();
}

void CMainFrame::InitialUpdateFrame() {
    m_view->OnInitialUpdate();
    RecalcLayoutToFitForm();
    UpdateToggleChecks();
}

void CMainFrame::RecalcLayoutToFitForm() {
    const QSize form = m_view->minimumSizeHint();
    int height = form.height();
    if (menuBar()->isVisibleTo(this))
        height += menuBar()->sizeHint().height();
    if (m_toolBar->isVisibleTo(this) && toolBarArea(m_toolBar) == Qt::TopToolBarArea)
        height += m_toolBar->sizeHint().height();
    if (statusBar()->isVisibleTo(this))
        height += statusBar()->sizeHint().height();
    QSize size(form.width(), height);
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size);
}

QString CMainFrame::Caption() const {
    const QString titulo = m_document ? m_document->GetTitle() : QStringLiteral("Ostrevan");
    return m_databaseName.isEmpty() ? titulo : titulo + QStringLiteral(" - ") + m_databaseName;
}

void CMainFrame::SetDatabaseFile(const QString& path) {
    m_databaseName = path.isEmpty() ? QString() : QFileInfo(path).fileName();
    setWindowTitle(Caption());
}

void CMainFrame::OnDatabaseChanged(const QString& path) {
    SetDatabaseFile(path);
    if (!m_view || !m_view->IsInitialUpdateDone())
        return;
    CCuadroPlanilla* cuadro = m_view->Cuadro();
    const bool habiaPlanilla = cuadro && cuadro->GetRowCount() > 0;
    m_view->RellenarServicios();
    m_view->AplicarOpcionesServicio();
    if (habiaPlanilla)
        cuadro->GenerarPlanilla(cuadro->Motor().m_mes, cuadro->Motor().m_anio,
                                m_view->ServicioSeleccionado(), m_view);
}

void CMainFrame::changeEvent(QEvent* event) {
    // The caption never carries a document name.
    if (event->type() == QEvent::WindowTitleChange && windowTitle() != Caption())
        setWindowTitle(Caption());
    QMainWindow::changeEvent(event);
}
