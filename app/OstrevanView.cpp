#include "OstrevanView.h"

#include "ArchivoInforme.h"
#include "ArchivoSalida.h"
#include "AsignacionDlg.h"
#include "Avisos.h"
#include "CalendarioArchivos.h"
#include "Clock.h"
#include "ComboList.h"
#include "CuadroPlanilla.h"
#include "DbConnection.h"
#include "DbQuery.h"
#include "DlgProgreso.h"
#include "FechasPlanilla.h"
#include "FestivosDlg.h"
#include "FileDialog.h"
#include "Informe.h"
#include "MaskedEdit.h"
#include "MessageBox.h"
#include "OpcionesPlanillaDlg.h"
#include "OstrevanApp.h"
#include "PersonalDlg.h"
#include "ReglasDlg.h"
#include "ReglasServicio.h"
#include "RevisionBd.h"
#include "RosterPrinting.h"
#include "ServiciosDlg.h"
#include "TiposTurnoDlg.h"
#include "TurnosDlg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QStandardPaths>

namespace {
const QString kCaption = QStringLiteral("Dravonela");

// The wait cursor for as long as it lives.
class CCursorEspera {
public:
    CCursorEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CCursorEspera() { QApplication::restoreOverrideCursor(); }
    CCursorEspera(const CCursorEspera&) = delete;
    CCursorEspera& operator=(const CCursorEspera&) = delete;
};

void Mensaje(QWidget* owner, const QString& texto) {
    DvMessageBox::Show(owner, texto, kCaption, DvMessageBox::Ok);
}
} // namespace

COstrevanView::COstrevanView(COstrevanDoc* document, QWidget* parent)
    : CTemplateForm(TemplateId, parent), m_document(document),
      m_cuadro(std::make_unique<CCuadroPlanilla>()) {
    setObjectName(QStringLiteral("COstrevanView"));
    if (CComboList* servicios = Servicios())
        connect(servicios, QOverload<int>::of(&QComboBox::activated), this, [this](int) {
            AplicarOpcionesServicio();
            ActualizarEstado();
        });
    if (CComboList* meses = Meses())
        connect(meses, QOverload<int>::of(&QComboBox::activated), this,
                [this](int) { ActualizarEstado(); });
    if (CEditSpecial* anio = CampoAnio())
        connect(anio, &QLineEdit::textChanged, this,
                [this](const QString&) { ActualizarEstado(); });
    if (QListWidget* avisos = PanelAvisos())
        connect(avisos, &QListWidget::itemActivated, this, &COstrevanView::AvisoElegido);
}

COstrevanView::~COstrevanView() = default;

CComboList* COstrevanView::Meses() const {
    return Item<CComboList>(IdMes);
}

CEditSpecial* COstrevanView::CampoAnio() const {
    return Item<CEditSpecial>(IdAnio);
}

CComboList* COstrevanView::Servicios() const {
    return Item<CComboList>(IdServicio);
}

int COstrevanView::MesSeleccionado() const {
    return Meses() ? Meses()->GetSelectedItemData() : -1;
}

int COstrevanView::AnioEscrito() const {
    return CampoAnio() ? CampoAnio()->GetValue() : 0;
}

int COstrevanView::ServicioSeleccionado() const {
    return Servicios() ? Servicios()->GetSelectedItemData() : -1;
}

void COstrevanView::OnInitDialog() {
    OnInitialUpdate();
}

void COstrevanView::OnInitialUpdate() {
    if (m_initialUpdateDone)
        return;
    m_initialUpdateDone = true;

    // The database; whatever the result the view goes on (failures have been shown).
    CDbConnection::Instance().Open();
    // A damaged file is told at once, with the offer of its newest good copy.
    DvRevision::RevisarAbierta(nullptr);

    m_cuadro->AttachToDialogItem(this, IdCuadro);
    AjustarCuadro();
    AjustarAvisos();

    if (CComboList* meses = Meses()) {
        meses->clear();
        for (int mes = 1; mes <= 12; ++mes)
            meses->AddItem(NombreMes(mes), mes);
    }
    RellenarServicios();

    const QDate hoy = DvClock::Today();
    if (CEditSpecial* anio = CampoAnio())
        anio->SetValue(hoy.year());
    if (CComboList* meses = Meses())
        meses->SelectByItemData(hoy.month());

    AplicarOpcionesServicio();
}

void COstrevanView::RellenarServicios() {
    if (CComboList* servicios = Servicios())
        servicios->FillFromQuery(QStringLiteral("SELECT * FROM FUNCIONES"),
                                 QStringLiteral("NOMBRE"), QStringLiteral("ID"), -1, true);
}

void COstrevanView::DatosCambiados() {
    const int seleccionado = ServicioSeleccionado();
    RellenarServicios();
    if (CComboList* servicios = Servicios(); servicios && seleccionado != -1)
        servicios->SelectByItemData(seleccionado);
    AplicarOpcionesServicio();
    ActualizarEstado();
}

void COstrevanView::AplicarOpcionesServicio() {
    const int servicio = ServicioSeleccionado();
    CDbQuery consulta;
    int tamFuente = consulta.GetInt(QStringLiteral("PREF_IMPRESION"), QStringLiteral("TAM_FUENTE"),
                                    QStringLiteral("ID_SERVICIO"), servicio);
    int altoFila = consulta.GetInt(QStringLiteral("PREF_IMPRESION"), QStringLiteral("ALTO_FILA"),
                                   QStringLiteral("ID_SERVICIO"), servicio);
    if (tamFuente == -1)
        tamFuente = TamFuentePorDefecto;
    if (altoFila == -1)
        altoFila = AltoFilaPorDefecto;
    m_cuadro->ActualizarFuente(tamFuente, altoFila);
}

bool COstrevanView::OnCommand(int id) {
    if (id == IdGenerar) {
        OnGenerar();
        return true;
    }
    return CTemplateForm::OnCommand(id);
}

bool COstrevanView::OnMenuCommand(const QString& command) {
    struct Orden {
        const char* nombre;
        void (COstrevanView::*manejador)();
    };
    static const Orden ordenes[] = {
        {"ID_GENERAR_INFORME", &COstrevanView::OnGenerarInforme},
        {"ID_EXPORTAR_CALENDARIOS", &COstrevanView::OnExportarCalendarios},
        {"ID_CONFIG_SERVICIOS", &COstrevanView::OnConfigServicios},
        {"ID_CONFIG_PERSONAL", &COstrevanView::OnConfigPersonal},
        {"ID_CONFIG_TIPOSTURNO", &COstrevanView::OnConfigTiposTurno},
        {"ID_CONFIG_TURNOS", &COstrevanView::OnConfigTurnos},
        {"ID_CONFIG_ASIGNACION", &COstrevanView::OnConfigAsignacion},
        {"ID_CONFIG_OPCIONES", &COstrevanView::OnConfigOpciones},
        {"ID_CONFIG_FESTIVOS", &COstrevanView::OnConfigFestivos},
        {"ID_CONFIG_REGLAS", &COstrevanView::OnConfigReglas},
        {"ID_FILE_PRINT", &COstrevanView::OnFilePrint},
        {"ID_FILE_PRINT_PREVIEW", &COstrevanView::OnFilePrintPreview},
        {"ID_EXPORTAR_PDF", &COstrevanView::OnExportarPdf},
        {"ID_EXPORTAR_CSV", &COstrevanView::OnExportarCsv},
    };
    for (const Orden& orden : ordenes)
        if (command == QLatin1String(orden.nombre)) {
            (this->*orden.manejador)();
            return true;
        }
    return false;
}

bool COstrevanView::Ocupada() const {
    return m_generandoInforme || (m_cuadro && m_cuadro->Generando());
}

void COstrevanView::OnGenerar() {
    // A request that cannot be built says why instead of leaving the grid as it was.
    const int anio = AnioEscrito();
    if (anio <= 2000 || anio > 9999) {
        Mensaje(this, QStringLiteral("El año de la planilla debe estar entre 2001 y 9999"));
        return;
    }
    if (ServicioSeleccionado() <= 0) {
        const bool hayServicios = Servicios() && Servicios()->count() > 0;
        Mensaje(this, hayServicios ? QStringLiteral("No se ha elegido el servicio")
                                   : QStringLiteral("No hay ningún servicio: añádalo con "
                                                    "\"Servicios...\" del menú \"Configurar\""));
        return;
    }
    CCursorEspera espera;
    const CTituloPlanilla titulo = TituloSelectores();
    if (!m_cuadro->GenerarPlanilla(MesSeleccionado(), anio, ServicioSeleccionado(), this))
        return;
    // The roster on screen now belongs to this selection, whatever the selectors show
    // later.
    m_titulo = titulo;
    m_hayPlanilla = true;
    m_estadoAvisos.clear();
    ActualizarAvisos();
    ActualizarEstado();
}

QString COstrevanView::PedirFicheroSalida(const QString& extension, const QString& inicial,
                                          const QString& filtro) {
    // A name that can never be written (the database itself, a folder, a device) is
    // refused as the dialog closes, and the dialog is offered again.
    for (;;) {
        const QString ruta = DvFileDialog::GetSaveFileName(this, extension, inicial, filtro, true);
        if (ruta.isEmpty())
            return QString();
        const QString motivo = DvArchivo::MotivoRechazo(ruta);
        if (motivo.isEmpty())
            return ruta;
        DvMessageBox::Show(this, motivo, kCaption, DvMessageBox::Ok, DvMessageBox::Warning);
    }
}

void COstrevanView::OnGenerarInforme() {
    // The progress window lets events run: a second request meanwhile is ignored.
    if (m_generandoInforme)
        return;
    const QScopedValueRollback<bool> enCurso(m_generandoInforme, true);
    const QString ruta = PedirFicheroSalida(
        QStringLiteral("csv"), QStringLiteral("*.csv"),
        QStringLiteral("Archivos CSV files (*.csv)|*.csv|Todos los archivos (*.*)|*.*||"));
    if (ruta.isEmpty())
        return;

    QString texto;
    bool completo = false;
    {
        CDlgProgreso progreso(this);
        completo = GenerarInforme(MesSeleccionado(), AnioEscrito(), ServicioSeleccionado(), texto,
                                  progreso);
    }
    if (!completo) {
        Mensaje(this, QStringLiteral("Hubo un error generando el informe"));
        return;
    }
    if (!EscribirInforme(ruta, texto)) {
        Mensaje(this, QStringLiteral("No se pudo escribir en el fichero seleccionado"));
        return;
    }
    Mensaje(this, QStringLiteral("El informe fue generado correctamente"));
}

bool COstrevanView::EscribirInforme(const QString& ruta, const QString& texto) {
    // The program's one writer: a file marked read-only stays as it is, also for a user
    // the system would let replace it, and a full disk leaves the old file whole.
    return EscribirArchivoInforme(ruta, texto);
}

void COstrevanView::OnConfigServicios() {
    // The list follows the services as the dialog left them; the service then selected
    // brings its own display options.
    if (CServiciosDlg::Run(this) == QDialog::Accepted) {
        RellenarServicios();
        AplicarOpcionesServicio();
        ActualizarEstado();
    }
}

void COstrevanView::OnConfigPersonal() {
    CPersonalDlg::Run(this, [this](QWidget* owner, int id) { ExportarCalendarioDe(owner, id); });
}

void COstrevanView::OnConfigTiposTurno() {
    CTiposTurnoDlg::Run(this);
}

void COstrevanView::OnConfigTurnos() {
    CTurnosDlg::Run(this);
}

void COstrevanView::OnConfigAsignacion() {
    CAsignacionDlg::Run(this);
}

void COstrevanView::OnConfigOpciones() {
    // The stored sizes reach the grid at once; the roster is built again only when the
    // user asks for it.
    const COpcionesPlanillaDlg::Resultado resultado = COpcionesPlanillaDlg::Run(
        this, ServicioSeleccionado(),
        [this](int tamFuente, int altoFila) { m_cuadro->ActualizarFuente(tamFuente, altoFila); });
    if (resultado == COpcionesPlanillaDlg::Recargar)
        OnGenerar();
}

void COstrevanView::OnConfigFestivos() {
    CFestivosDlg::Run(this);
}

void COstrevanView::ExportarCalendarioDe(QWidget* owner, int idPersona) {
    const int mes = MesSeleccionado();
    const int anio = AnioEscrito();
    if (mes < 1 || anio <= 2000) {
        Mensaje(owner, QStringLiteral("Elija en la ventana principal el mes y un año posterior "
                                      "a 2000."));
        return;
    }
    const QString nombre = CDbQuery().GetTextById(QStringLiteral("PERSONAL"),
                                                  QStringLiteral("NOMBREPLANILLA"), idPersona);
    const QString planilla = DvCalendario::NombreSeguro(nombre);
    const QString sugerido =
        QStringLiteral("%1 %2 %3.ics")
            .arg(planilla.isEmpty() ? QStringLiteral("Calendario") : planilla, NombreMes(mes))
            .arg(anio);
    DvImpresion::CargarTraduccionesQt(); // Qt's own file dialog in Spanish
    const QString ruta = DvFileDialog::GetSaveFileName(
        owner, QStringLiteral("ics"), sugerido,
        QStringLiteral("Calendario para el móvil (*.ics)|*.ics|Hoja personal en PDF "
                       "(*.pdf)|*.pdf||"),
        true);
    if (ruta.isEmpty())
        return;
    const DvCalendario::Formato formato = DvCalendario::FormatoDe(ruta);
    QString error = DvArchivo::MotivoRechazo(ruta);
    QByteArray bytes;
    bool hecho = error.isEmpty();
    if (hecho) {
        CCursorEspera espera;
        hecho = DvCalendario::Contenido(idPersona, mes, anio, 1, formato, bytes, &error) &&
                DvArchivo::Escribir(ruta, bytes, &error);
    }
    if (!hecho) {
        DvMessageBox::Show(owner, error, kCaption, DvMessageBox::Ok, DvMessageBox::Error);
        return;
    }
    Mensaje(owner, QStringLiteral("%1 de %2 de %3 de %4 escrit%5 en %6")
                       .arg(formato == DvCalendario::Formato::Pdf ? QStringLiteral("Hoja personal")
                                                                  : QStringLiteral("Calendario"),
                            NombreMes(mes))
                       .arg(anio)
                       .arg(nombre,
                            formato == DvCalendario::Formato::Pdf ? QStringLiteral("a")
                                                                  : QStringLiteral("o"),
                            QDir::toNativeSeparators(ruta)));
}

void COstrevanView::OnExportarCalendarios() {
    // The workers of the roster as it was built, whatever the selectors show now.
    if (m_cuadro->GetRowCount() == 0) {
        Mensaje(this, QStringLiteral("No hay planilla en pantalla: pulse \"Generar\" y vuelva "
                                     "a intentarlo."));
        return;
    }
    const CMotorPlanilla& construida = m_cuadro->Motor();
    const int mes = construida.m_mes;
    const int anio = construida.m_anio;
    CMotorPlanilla motor;
    motor.m_mes = mes;
    motor.m_anio = anio;
    motor.m_servicio = m_cuadro->Servicio();
    CListaReferencias referencias;
    CargarReferencias(motor, referencias);
    if (referencias.empty()) {
        Mensaje(this, QStringLiteral("La planilla en pantalla no tiene trabajadores."));
        return;
    }

    DvImpresion::CargarTraduccionesQt();
    QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documentos.isEmpty() || !QDir(documentos).exists())
        documentos = QDir::homePath();
    const QString carpeta = DvFileDialog::GetFolderName(
        this,
        QStringLiteral("Carpeta para los calendarios de %1 de %2").arg(NombreMes(mes)).arg(anio),
        documentos);
    if (carpeta.isEmpty())
        return;
    if (!QFileInfo(carpeta).isDir()) {
        DvMessageBox::Show(this, QStringLiteral("No existe la carpeta %1").arg(carpeta), kCaption,
                           DvMessageBox::Ok, DvMessageBox::Error);
        return;
    }
    const auto archivos = DvCalendario::ArchivosDe(carpeta, referencias);
    int existentes = 0;
    for (const auto& archivo : archivos)
        if (QFileInfo::exists(archivo.m_ruta))
            ++existentes;
    if (existentes > 0 &&
        DvMessageBox::Show(this,
                           QStringLiteral("La carpeta ya tiene %1 de estos calendarios. ¿Desea "
                                          "reemplazarlos?")
                               .arg(existentes),
                           kCaption, DvMessageBox::YesNo,
                           DvMessageBox::Question) != DvMessageBox::IdYes)
        return;

    QStringList fallos;
    {
        CCursorEspera espera;
        fallos = DvCalendario::Exportar(archivos, mes, anio);
    }
    const int escritos = static_cast<int>(archivos.size()) - fallos.size();
    const QString resumen = QStringLiteral("Calendarios de %1 de %2 escritos en %3: %4 de %5.")
                                .arg(NombreMes(mes))
                                .arg(anio)
                                .arg(QDir::toNativeSeparators(carpeta))
                                .arg(escritos)
                                .arg(archivos.size());
    if (fallos.isEmpty()) {
        Mensaje(this, resumen);
        return;
    }
    DvMessageBox::Show(this,
                       resumen + QStringLiteral("\nNo se pudieron escribir:\n") +
                           fallos.join(QLatin1Char('\n')),
                       kCaption, DvMessageBox::Ok, DvMessageBox::Warning);
}

void COstrevanView::OnConfigReglas() {
    const QString nombre = Servicios() ? Servicios()->currentText() : QString();
    if (CReglasDlg::Run(this, ServicioSeleccionado(), nombre) == CReglasDlg::Recargar)
        OnGenerar();
}

QListWidget* COstrevanView::PanelAvisos() const {
    return Item<QListWidget>(IdAvisos);
}

void COstrevanView::ActualizarAvisos() {
    QListWidget* panel = PanelAvisos();
    if (!panel || m_cuadro->Generando())
        return;
    // Only a complete build of what the selectors show: a cancelled one leaves nothing
    // to check.
    CMotorPlanilla& motor = m_cuadro->Motor();
    const int mes = MesSeleccionado();
    const int anio = AnioEscrito();
    const int servicio = ServicioSeleccionado();
    if (motor.m_mes != mes || motor.m_anio != anio || motor.m_servicio != servicio)
        return;
    panel->clear();
    if (static_cast<int>(m_cuadro->PlanesDelMes().size()) != DiasDelMes(mes, anio))
        return;

    CReglasServicio reglas;
    LeerReglas(servicio, reglas);
    const CMesCalculado calculado{&motor, &m_cuadro->ReferenciasDelMes(),
                                  &m_cuadro->PlanesDelMes()};
    const CListaAvisos avisos =
        ComprobarPlanilla(mes, anio, servicio, reglas, QTimeZone::systemTimeZone(), &calculado);

    for (const CAviso& aviso : avisos) {
        auto* linea = new QListWidgetItem(aviso.m_texto, panel);
        linea->setData(Qt::UserRole, aviso.m_dia);
        linea->setToolTip(aviso.m_texto);
    }
    if (avisos.empty()) {
        auto* linea = new QListWidgetItem(QStringLiteral("Sin avisos"), panel);
        linea->setFlags(Qt::ItemIsEnabled);
    }
    const int n = static_cast<int>(avisos.size());
    const QString cuenta = n == 0   ? QStringLiteral("Sin avisos")
                           : n == 1 ? QStringLiteral("1 aviso")
                                    : QStringLiteral("%1 avisos").arg(n);
    m_estadoAvisos = cuenta;
    MostrarEstado(cuenta);
}

void COstrevanView::MostrarEstado(const QString& texto) {
    if (QLabel* estado = window()->findChild<QLabel*>(QStringLiteral("MessagePane")))
        estado->setText(texto);
}

void COstrevanView::ActualizarEstado() {
    if (!m_hayPlanilla)
        return;
    const CTituloPlanilla ahora = TituloSelectores();
    const bool otra = ahora.mes != m_titulo.mes || ahora.anio != m_titulo.anio ||
                      ahora.servicio != m_titulo.servicio;
    if (otra)
        MostrarEstado(QStringLiteral("Planilla mostrada: ") + m_titulo.Texto());
    else
        MostrarEstado(m_estadoAvisos.isEmpty() ? QStringLiteral("Preparado") : m_estadoAvisos);
}

void COstrevanView::AvisoElegido(QListWidgetItem* item) {
    if (!item)
        return;
    const int dia = item->data(Qt::UserRole).toInt();
    if (dia > 0 && m_cuadro->SeleccionarDia(CDateTime::FromDays(dia)))
        m_cuadro->setFocus();
}

CTituloPlanilla COstrevanView::TituloSelectores() const {
    return CTituloPlanilla{Meses() ? Meses()->currentText() : QString(), AnioEscrito(),
                           Servicios() ? Servicios()->currentText() : QString()};
}

CTituloPlanilla COstrevanView::TituloImpresion() const {
    return m_hayPlanilla ? m_titulo : TituloSelectores();
}

void COstrevanView::OnFilePrint() {
    COstrevanApp* app = COstrevanApp::Instance();
    const int servicio = m_hayPlanilla ? m_cuadro->Servicio() : ServicioSeleccionado();
    DvImpresion::Imprimir(this, app ? app->Printer() : nullptr, *m_cuadro, servicio,
                          TituloImpresion());
}

void COstrevanView::OnFilePrintPreview() {
    COstrevanApp* app = COstrevanApp::Instance();
    const int servicio = m_hayPlanilla ? m_cuadro->Servicio() : ServicioSeleccionado();
    DvImpresion::PresentacionPreliminar(this, app ? app->Printer() : nullptr, *m_cuadro, servicio,
                                        TituloImpresion());
}

QString COstrevanView::NombreSugerido(const QString& extension) const {
    const CTituloPlanilla& t = m_titulo;
    QString nombre = QStringLiteral("Planilla %1 %2 %3").arg(t.mes).arg(t.anio).arg(t.servicio);
    nombre = DvCalendario::NombreSeguro(nombre.simplified());
    if (nombre.isEmpty())
        nombre = QStringLiteral("Planilla");
    return nombre + QLatin1Char('.') + extension;
}

void COstrevanView::OnExportarPdf() {
    Exportar(true);
}

void COstrevanView::OnExportarCsv() {
    Exportar(false);
}

void COstrevanView::Exportar(bool pdf) {
    if (!m_hayPlanilla) {
        Mensaje(this, QStringLiteral("No hay planilla en pantalla: pulse \"Generar\" y vuelva "
                                     "a intentarlo."));
        return;
    }
    const QString extension = pdf ? QStringLiteral("pdf") : QStringLiteral("csv");
    const QString filtro = pdf ? QStringLiteral("Documentos PDF (*.pdf)|*.pdf|Todos los archivos "
                                                "(*.*)|*.*||")
                               : QStringLiteral("Archivos CSV (*.csv)|*.csv|Todos los archivos "
                                                "(*.*)|*.*||");
    QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documentos.isEmpty() || !QDir(documentos).exists())
        documentos = QDir::homePath();
    DvImpresion::CargarTraduccionesQt();
    const QString ruta =
        PedirFicheroSalida(extension, QDir(documentos).filePath(NombreSugerido(extension)), filtro);
    if (ruta.isEmpty())
        return;
    QByteArray bytes;
    QString error;
    bool hecho = false;
    {
        CCursorEspera espera;
        if (pdf)
            hecho = PlanillaPdf(*m_cuadro, m_titulo,
                                CImpresionPlanilla::LeerForma(m_cuadro->Servicio()), bytes, &error);
        else if (!(hecho = TextoAWindows1252(PlanillaCsv(*m_cuadro), bytes)))
            error = QStringLiteral("No se puede convertir el texto a Windows-1252");
        // The one writer: never over the database, replaced only once complete.
        hecho = hecho && DvArchivo::Escribir(ruta, bytes, &error);
    }
    if (!hecho) {
        DvMessageBox::Show(this, error, kCaption, DvMessageBox::Ok, DvMessageBox::Error);
        return;
    }
    Mensaje(this, QStringLiteral("Planilla de %1 escrita en %2")
                      .arg(m_titulo.Texto(), QDir::toNativeSeparators(ruta)));
}

void COstrevanView::resizeEvent(QResizeEvent* event) {
    CTemplateForm::resizeEvent(event);
    AjustarCuadro();
    AjustarAvisos();
}

void COstrevanView::AjustarCuadro() {
    if (!m_cuadro || m_cuadro->parentWidget() != this)
        return;
    const CControlTemplate* hueco = Template().Find(IdCuadro);
    if (!hueco)
        return;
    // The template's margins to the right and below the grid are kept; the grid takes
    // the rest of the form, never less than the template gives it.
    const QRect base = MapDialogRect(hueco->rect);
    const QSize forma = sizeHint();
    const int margenDerecho = forma.width() - (base.x() + base.width());
    const int margenInferior = forma.height() - (base.y() + base.height());
    const QRect nuevo(base.topLeft(),
                      QSize(qMax(base.width(), width() - base.x() - margenDerecho),
                            qMax(base.height(), height() - base.y() - margenInferior)));
    if (m_cuadro->geometry() != nuevo)
        m_cuadro->setGeometry(nuevo);
    m_cuadro->AjustarColumnas();
}

void COstrevanView::AjustarAvisos() {
    QListWidget* panel = PanelAvisos();
    const CControlTemplate* hueco = Template().Find(IdCuadro);
    const CControlTemplate* lista = Template().Find(IdAvisos);
    if (!panel || !hueco || !lista || !m_cuadro || m_cuadro->parentWidget() != this)
        return;
    // The list keeps its height and its distance below the grid, and the grid's width.
    const QRect base = MapDialogRect(hueco->rect);
    const QRect propio = MapDialogRect(lista->rect);
    const QRect cuadro = m_cuadro->geometry();
    const int bajada = cuadro.bottom() - base.bottom();
    panel->setGeometry(QRect(propio.x(), propio.y() + bajada, cuadro.width(), propio.height()));
    if (QWidget* titulo = GetDlgItem(IdTituloAvisos)) {
        const CControlTemplate* plantilla = Template().Find(IdTituloAvisos);
        if (plantilla)
            titulo->move(MapDialogRect(plantilla->rect).topLeft() + QPoint(0, bajada));
    }
}
