#include "CuadroPlanilla.h"

#include "DlgProgreso.h"
#include "ExcepcionesDlg.h"
#include "FechasPlanilla.h"
#include "GridComponents.h"
#include "MessageBox.h"
#include "Semana.h"
#include "Settings.h"
#include "TemplateDialog.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFontMetrics>
#include <QResizeEvent>
#include <QTimer>
#include <algorithm>

namespace {
const char* const kDiasSemana[] = {"Lunes",   "Martes", "Miércoles", "Jueves",
                                   "Viernes", "Sábado", "Domingo"};

// The first window up the parent chain that handles commands by control id.
bool PublicarOrden(QWidget* desde, int id) {
    for (QWidget* w = desde; w; w = w->parentWidget()) {
        if (auto* forma = qobject_cast<CTemplateForm*>(w)) {
            forma->PostCommand(id);
            return true;
        }
        if (auto* dialogo = qobject_cast<CTemplateDialog*>(w)) {
            dialogo->PostCommand(id);
            return true;
        }
    }
    // A window not made from a template: click its button with that id.
    if (desde) {
        if (auto* boton = qobject_cast<QAbstractButton*>(DvFindDlgItem(desde->window(), id))) {
            QTimer::singleShot(0, boton, [boton]() { boton->click(); });
            return true;
        }
    }
    return false;
}
} // namespace

CCuadroPlanilla::CCuadroPlanilla(QWidget* parent)
    : CCellGrid(parent), m_motor(std::make_unique<CMotorPlanilla>()) {}

CCuadroPlanilla::~CCuadroPlanilla() = default;

QFont CCuadroPlanilla::FuentePlanilla(int alto) {
    QFont fuente(QStringLiteral("Arial"));
    fuente.setWeight(static_cast<QFont::Weight>(600));
    fuente.setItalic(false);
    fuente.setUnderline(false);
    fuente.setStrikeOut(false);
    if (alto == 0)
        alto = 15;
    if (alto < 0) {
        // A negative height names the character height rather than the cell height.
        fuente.setPixelSize(-alto);
        return fuente;
    }
    // A positive height is the whole cell (ascent plus descent): the largest pixel size
    // whose line fits in it.
    int tam = alto;
    fuente.setPixelSize(tam);
    while (tam > 1 && QFontMetrics(fuente).height() > alto) {
        --tam;
        fuente.setPixelSize(tam);
    }
    return fuente;
}

GridColor CCuadroPlanilla::ColorLibranza(int tipo) {
    switch (tipo) {
    case 1:
        return ColorVacaciones;
    case 2:
        return ColorBaja;
    case 3:
        return ColorPersonal;
    default:
        return ColorEnPersona;
    }
}

// --- Set-up and display options -----------------------------------------------------------

void CCuadroPlanilla::OnGridSetup() {
    const int tamFuente = DvSettings::TamFuente();
    const int tamLinea = DvSettings::TamLinea();

    m_plumaNegra = QPen(QColor(Qt::black), 1, Qt::SolidLine);
    m_plumaBlanca = QPen(QColor(Qt::white), 1, Qt::SolidLine);
    m_fuente = FuentePlanilla(tamFuente);
    m_altoFuente = tamFuente;

    CCellRecord defecto;
    GetGridDefault(&defecto);
    defecto.SetAlignment(GridAlign::VCenter);
    defecto.SetFont(&m_fuente);
    defecto.SetBackColor(ColorFondo);
    defecto.SetBorderPen(&m_plumaNegra);
    SetGridDefault(&defecto);

    SetColumnCount(Columnas, 1);
    SetRowCount(0, 1);
    SetSideHeadingWidth(0);
    SetVScrollMode(1);
    SetHScrollMode(1);
    SetSelectionHighlight(2);
    SetRowHighlight(0);
    SetDefaultRowHeight(tamLinea);
    SetPrintOption(GridPrintOption::TopHeadings, 1);
    SetPrintOption(GridPrintOption::TopMargin, 10);
    SetPrintOption(GridPrintOption::BottomMargin, 10);

    AjustarColumnas();

    for (int dia = 0; dia < 7; ++dia) {
        JoinCells(2 * dia, -1, 2 * dia + 1, -1);
        SetCellText(2 * dia, -1, QString::fromUtf8(kDiasSemana[dia]));
    }
    CCellRecord cabecera;
    for (int columna = 0; columna < Columnas; ++columna) {
        GetCell(columna, -1, &cabecera);
        cabecera.SetAlignment(GridAlign::HCenter);
        cabecera.SetFont(&m_fuente);
        SetCell(columna, -1, &cabecera);
    }
    SetUniformRowHeight(1);
    // The hint of a name cell tells what the cell may be too narrow to show.
    UseHints(1);
}

int CCuadroPlanilla::OnHint(int column, int row, int, QString* text) {
    const QString ayuda = TextoAyuda(column, row);
    if (text)
        *text = ayuda;
    return ayuda.isEmpty() ? 0 : 1;
}

QString CCuadroPlanilla::TextoAyuda(int columna, int fila) {
    // Below the day number a name takes the day's two columns: the block's first holds it.
    int c0 = 0, f0 = 0, c1 = 0, f1 = 0;
    if (fila >= 0 && GetJoinRange(columna, fila, &c0, &f0, &c1, &f1) == 0 && f0 == f1) {
        columna = c0;
        fila = f0;
    }
    const auto it = m_entradas.constFind(static_cast<qint64>(fila) * Columnas + columna);
    if (it == m_entradas.constEnd() || it->m_nombre.isEmpty())
        return QString();
    const CPlanDia& entrada = *it;
    const CTurno* turno = entrada.m_idTurno >= 0
                              ? m_motor->DatosDelMes().Turnos().Buscar(entrada.m_idTurno)
                              : nullptr;
    QString texto = entrada.m_nombre;
    const auto hora = [](const CDateTime& t) {
        return QStringLiteral("%1:%2")
            .arg(t.GetHour(), 2, 10, QLatin1Char('0'))
            .arg(t.GetMinute(), 2, 10, QLatin1Char('0'));
    };
    if (turno) {
        texto += QString::fromUtf8(" — %1 %2–%3")
                     .arg(turno->m_nombre, hora(turno->m_horaInicial), hora(turno->m_horaFinal));
    } else {
        texto += QString::fromUtf8(" — desde las %1:00").arg(entrada.m_hora % 24);
    }
    if (entrada.m_tipoLibranza != 0) {
        QString ausente;
        for (const CReferencia& ref : m_referenciasMes)
            if (ref.m_idPersonal == entrada.m_idPersonal) {
                ausente = ref.m_nombrePlanilla;
                break;
            }
        static const char* const motivos[] = {"", "vacaciones", "baja", "día personal"};
        const int tipo =
            entrada.m_tipoLibranza >= 1 && entrada.m_tipoLibranza <= 3 ? entrada.m_tipoLibranza : 0;
        texto += QStringLiteral(", sustituye a %1").arg(ausente);
        if (tipo > 0)
            texto += QStringLiteral(" (%1)").arg(QString::fromUtf8(motivos[tipo]));
    }
    return texto;
}

void CCuadroPlanilla::ActualizarFuente(int altoFuente, int altoFila) {
    SetDefaultRowHeight(altoFila);
    // The font object stays; its contents change, and every cell refers to it.
    m_fuente = FuentePlanilla(altoFuente);
    m_altoFuente = altoFuente;
    CCellRecord defecto;
    GetGridDefault(&defecto);
    defecto.SetFont(&m_fuente);
    SetGridDefault(&defecto);
    // Shown at once, also while repainting stays off after a build.
    if (CellArea())
        CellArea()->update();
    if (TopHeading())
        TopHeading()->update();
}

void CCuadroPlanilla::AjustarColumnas() {
    if (GetColumnCount() != Columnas)
        return;
    const int ancho = static_cast<int>(width() * AnchoColumna);
    for (int columna = 0; columna < Columnas; ++columna)
        if (GetColumnWidth(columna) != ancho)
            SetColumnWidth(columna, ancho);
}

void CCuadroPlanilla::resizeEvent(QResizeEvent* event) {
    CCellGrid::resizeEvent(event);
    // The columns keep filling the window, as a planner reads the roster maximised.
    AjustarColumnas();
}

GridColor CCuadroPlanilla::OnGetDefaultBackColor(int section) {
    return section == GridSection::CellArea ? ColorFondo
                                            : GetGridSysColor(GridSysColor::ButtonFace);
}

// --- The day dialog --------------------------------------------------------------------------

void CCuadroPlanilla::OnCellDoubleClick(int column, int row, const QRect&, const QPoint&, int) {
    // Only the day numbers react (columns 1, 3, ... 13).
    if (column < 0 || column >= Columnas || column % 2 == 0 || row < 0 || row >= GetRowCount())
        return;
    CCellRecord celda;
    GetCell(column, row, &celda);
    // A cell without a date (below a day number) names no day.
    if (!celda.Has(CCellRecord::PropItemData) || celda.GetItemData() <= 0)
        return;
    const CDateTime fecha = CDateTime::FromDays(celda.GetItemData());
    if (AbrirExcepcionesDelDia(fecha, m_servicio) == QDialog::Accepted)
        PreguntarRecargar();
}

int CCuadroPlanilla::AbrirExcepcionesDelDia(const CDateTime& fecha, int servicio) {
    // The day's exceptions, owned by the view that holds the roster.
    return CExcepcionesDlg::Run(parentWidget(), fecha, servicio);
}

void CCuadroPlanilla::PreguntarRecargar() {
    QWidget* vista = parentWidget();
    if (DvMessageBox::Show(vista ? vista : this,
                           QStringLiteral("¿Quieres recargar la planilla con los cambios?"),
                           QStringLiteral("Dravonela"), DvMessageBox::YesNo,
                           DvMessageBox::Question) == DvMessageBox::IdYes)
        PublicarOrden(vista, IdGenerar);
}

bool CCuadroPlanilla::SeleccionarDia(const CDateTime& fecha) {
    // The day numbers stand in the odd columns, in the first row of each week's block,
    // with the date as their item data.
    const int dia = fecha.DayNumber();
    const int columna = 2 * DiaDeSemana(fecha) - 1;
    CCellRecord celda;
    for (int fila = 0; fila < GetRowCount(); ++fila) {
        GetCell(columna, fila, &celda);
        if (!celda.Has(CCellRecord::PropItemData) || celda.GetItemData() != dia)
            continue;
        if (GotoCell(columna, fila) != 0)
            return false;
        // Repainting stays off after a build: show the new current cell at once.
        if (CellArea())
            CellArea()->update();
        return true;
    }
    return false;
}

// --- The month build -----------------------------------------------------------------------

void CCuadroPlanilla::Vaciar() {
    m_entradas.clear();
    const int filas = GetRowCount();
    EnableRedraw(0);
    for (int i = 0; i < filas; ++i)
        DeleteRow(0);
    BorrarSobrantes();
}

void CCuadroPlanilla::BorrarSobrantes() {
    // The week separator set below the last row (and the day numbers of a month without
    // references) are stored beyond the rows; once the rows are gone they would come
    // back into the first row of the next build.
    if (GetRowCount() == 0)
        for (int columna = 0; columna < Columnas; ++columna)
            DeleteCell(columna, 0);
}

void CCuadroPlanilla::EscribirDia(int columna, int fila, const CDateTime& fecha) {
    GetCell(columna, fila, &m_registro);
    m_registro.SetText(QString::number(fecha.GetDay()));
    m_registro.SetItemData(fecha.DayNumber());
    if (m_motor->EsFestivo(fecha))
        m_registro.SetBackColor(ColorFestivo);
    m_registro.SetBorder(BordeDia);
    SetCell(columna, fila, &m_registro);
}

void CCuadroPlanilla::EscribirEntrada(int columna, int fila, const CPlanDia& entrada,
                                      bool primera) {
    bool mismaHora = primera;
    if (!primera) {
        GetCell(columna, fila - 1, &m_registro);
        mismaHora = m_registro.GetItemData() == entrada.m_hora;
    }
    GetCell(columna, fila, &m_registro);
    m_registro.SetText(entrada.m_nombre);
    m_registro.SetItemData(entrada.m_hora);
    m_registro.SetTextColor(ColorLibranza(entrada.m_tipoLibranza));
    m_registro.SetBorder(m_registro.GetBorder() | (mismaHora ? BordeMismaHora : BordeOtraHora));
    SetCell(columna, fila, &m_registro);
    if (!entrada.m_nombre.isEmpty())
        m_entradas.insert(static_cast<qint64>(fila) * Columnas + columna, entrada);
}

void CCuadroPlanilla::FijarBordeSemana(int fila) {
    for (int columna = 0; columna < Columnas; ++columna) {
        GetCell(columna, fila, &m_registro);
        m_registro.SetBorder(BordeSemana);
        SetCell(columna, fila, &m_registro);
    }
}

bool CCuadroPlanilla::GenerarPlanilla(int mes, int anio, int servicio, QWidget* parent) {
    if (m_generando)
        return false;
    CDlgProgreso progreso(parent ? parent : this);
    return GenerarPlanilla(mes, anio, servicio, parent, progreso);
}

bool CCuadroPlanilla::GenerarPlanilla(int mes, int anio, int servicio, QWidget*,
                                      IProgreso& progreso) {
    // The progress window pumps events, so a second "Generar" can arrive meanwhile; it
    // must not write into the roster being built.
    if (m_generando)
        return false;
    m_generando = true;
    m_servicio = servicio;
    m_referenciasMes.clear();
    m_planesMes.clear();

    Vaciar();

    CMotorPlanilla& motor = *m_motor;
    motor.m_mes = mes;
    motor.m_anio = anio;
    motor.m_servicio = servicio;
    CListaReferencias referencias;
    CargarReferencias(motor, referencias);
    motor.CargarLibranzas(referencias);

    progreso.Mostrar();
    const int dias = DiasDelMes(mes, anio);
    progreso.FijarRango(dias);

    // A week whose days are all empty still gets a row for its day numbers, unless the
    // month has nobody at all: then the roster has no rows.
    const int filasMinimas = referencias.empty() ? 0 : 1;
    CListaPlanDia planes[8]; // by weekday, 1 Monday ... 7 Sunday
    int inicioSemana = 0;
    int d = 0;
    while (d < dias) {
        progreso.Bombear();
        if (progreso.Cancelado())
            break;
        int filasSemana = 0;
        const int primerDia = d + 1;

        // The plans of the week's days, up to its Sunday or the month's end.
        int w = 0;
        for (;;) {
            ++d;
            progreso.FijarMensaje(QString::asprintf("Procesando datos para día: %i", d));
            progreso.FijarPosicion(d);
            const CDateTime fecha(anio, mes, d);
            w = DiaDeSemana(fecha);
            motor.CalcularDia(referencias, fecha, planes[w]);
            m_planesMes.push_back(planes[w]);
            if (w == 7 || d >= dias)
                break;
            progreso.Bombear();
            if (progreso.Cancelado())
                break;
        }
        progreso.Bombear();
        if (progreso.Cancelado())
            break;

        AlinearSemana(&planes[1], w);
        for (int e = primerDia;; ++e) {
            const CDateTime fecha(anio, mes, e);
            const int dia = DiaDeSemana(fecha);
            const CListaPlanDia& plan = planes[dia];
            const int k = std::max(static_cast<int>(plan.size()), filasMinimas);
            while (filasSemana < k) {
                AppendRow();
                ++filasSemana;
            }
            EscribirDia(2 * dia - 1, inicioSemana, fecha);
            for (size_t i = 0; i < plan.size(); ++i) {
                const int fila = inicioSemana + static_cast<int>(i);
                if (i > 0)
                    JoinCells(2 * dia - 2, fila, 2 * dia - 1, fila);
                EscribirEntrada(2 * dia - 2, fila, plan[i], i == 0);
            }
            if (dia == 7 || e >= dias)
                break;
            progreso.Bombear();
            if (progreso.Cancelado())
                break;
        }

        // The days outside the month form one empty block.
        const int ultimaFila = inicioSemana + filasSemana - 1;
        if (d < 7)
            JoinCells(0, 0, 13 - 2 * d, ultimaFila);
        else if (d == dias && w < 7)
            JoinCells(2 * w, inicioSemana, 13, ultimaFila);

        inicioSemana += filasSemana;
        FijarBordeSemana(inicioSemana);
    }
    m_referenciasMes = std::move(referencias);
    referencias.clear();

    progreso.Bombear();
    if (progreso.Cancelado()) {
        Vaciar();
        m_referenciasMes.clear();
        m_planesMes.clear();
    }
    // A month without anybody leaves an empty roster, with nothing stored in it.
    BorrarSobrantes();

    // Repaint the cells written; the last row and column, and whatever the rows of an
    // earlier roster covered, are repainted with the window.
    const int filas = GetRowCount();
    const int columnas = GetColumnCount();
    for (int fila = 0; fila < filas - 1; ++fila)
        for (int columna = 0; columna < columnas - 1; ++columna)
            RedrawCell(columna, fila);
    if (CellArea())
        CellArea()->update();

    progreso.Cerrar();
    m_generando = false;
    return true;
}
