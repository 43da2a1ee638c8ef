#include "DlgProgreso.h"

#include "CentrarVentana.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>

CDlgProgreso::CDlgProgreso(QWidget* parent) : CTemplateDialog(TemplateId, parent) {
    setModal(false);
    setObjectName(QStringLiteral("CDlgProgreso"));
    // The step text is set by the report but stays hidden, as the template makes it.
}

CDlgProgreso::~CDlgProgreso() {
    if (m_bombeando)
        QCoreApplication::instance()->removeEventFilter(this);
}

QLabel* CDlgProgreso::Paso() const {
    return Item<QLabel>(IdPaso);
}

QLabel* CDlgProgreso::Mensaje() const {
    return Item<QLabel>(IdMensaje);
}

QProgressBar* CDlgProgreso::Barra() const {
    return Item<QProgressBar>(IdProgreso);
}

void CDlgProgreso::Mostrar() {
    EnsureInitialised();
    CentrarVentana(this, parentWidget());
    show();
    // The frame is known once the window is shown: centre it again with its frame.
    CentrarVentana(this, parentWidget());
    Bombear();
}

void CDlgProgreso::Cerrar() {
    hide();
}

bool CDlgProgreso::FijarRangoBombeando(int n) {
    if (QProgressBar* barra = Barra())
        barra->setRange(0, n < 0 ? 0 : n);
    return Bombear();
}

bool CDlgProgreso::FijarPasoBombeando(int i, int n) {
    if (QLabel* paso = Paso())
        paso->setText(QString::asprintf("Paso (%i/%i)", i, n));
    return Bombear();
}

bool CDlgProgreso::FijarMensajeBombeando(const QString& texto) {
    if (QLabel* mensaje = Mensaje())
        mensaje->setText(texto);
    return Bombear();
}

bool CDlgProgreso::FijarPosicionBombeando(int i) {
    if (QProgressBar* barra = Barra())
        barra->setValue(i);
    return Bombear();
}

void CDlgProgreso::OnCancel() {
    m_cancelado = true;
}

bool CDlgProgreso::eventFilter(QObject* objeto, QEvent* evento) {
    // A quit request that arrives while pumping is held back and posted again after the
    // pump: the operation in progress finishes first, then the main loop ends.
    if (m_bombeando && objeto == QCoreApplication::instance() && evento->type() == QEvent::Quit) {
        m_salir = true;
        return true;
    }
    return CTemplateDialog::eventFilter(objeto, evento);
}

bool CDlgProgreso::Bombear() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return true;
    // A pump inside a pump (an event handler that updates this window) just pumps.
    if (m_bombeando) {
        QCoreApplication::processEvents();
        return !m_salir;
    }
    m_bombeando = true;
    m_salir = false;
    app->installEventFilter(this);
    QCoreApplication::processEvents();
    app->removeEventFilter(this);
    m_bombeando = false;
    if (m_salir) {
        QCoreApplication::postEvent(app, new QEvent(QEvent::Quit));
        return false;
    }
    return true;
}
