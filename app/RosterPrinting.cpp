#include "RosterPrinting.h"

#include "ArchivoSalida.h"
#include "CellGrid.h"
#include "Clock.h"
#include "CuadroPlanilla.h"
#include "DbQuery.h"
#include "MessageBox.h"
#include "Modal.h"
#include "PrintUtil.h"

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QStringList>
#include <QTranslator>
#include <algorithm>
#include <cmath>
#include <memory>

namespace {
// Where the title goes, in centimetres from the paper's left and top edges, and its font.
constexpr double kTituloX = 10.0;
constexpr double kTituloY = 0.7;
constexpr double kTituloAltoCm = -1.0;
constexpr int kTituloPeso = 400;
const char* const kTituloFuente = "Times New Roman";
// A fitted page: the grid below the title, its left edge far enough in for the hour
// labels, and the legend's line at the foot of the printable area.
constexpr double kCuadroArribaCm = 2.0;
constexpr double kCuadroIzquierdaCm = 1.6;
constexpr double kLeyendaAltoCm = 0.7;
constexpr double kLeyendaPuntos = 8.0;
constexpr double kHoraPuntos = 7.0;
// Shares of a day's width on a fitted page: the name column and the day number's.
constexpr double kPesoNombre = 3.0;
constexpr double kPesoDia = 1.0;
// A name too long for its cell is drawn down to this share of its size before it is cut.
constexpr double kMenorNombre = 0.75;

// The leave types by text colour: the mark drawn beside a substitute on paper.
enum class Marca { Ninguna, Vacaciones, Baja, Personal };

Marca MarcaDe(const CCellRecord& record) {
    if (!record.Has(CCellRecord::PropTextColor) || record.GetText().isEmpty())
        return Marca::Ninguna;
    switch (record.GetTextColor()) {
    case CCuadroPlanilla::ColorVacaciones:
        return Marca::Vacaciones;
    case CCuadroPlanilla::ColorBaja:
        return Marca::Baja;
    case CCuadroPlanilla::ColorPersonal:
        return Marca::Personal;
    default:
        return Marca::Ninguna;
    }
}

// The mark in the square box: a triangle for vacation, a square for sick leave, a
// circle for a personal day, filled with the leave colour, so a black-and-white copy
// still tells them apart.
void DibujarMarca(QPainter* dc, Marca marca, const QRectF& caja, const QColor& color) {
    if (marca == Marca::Ninguna)
        return;
    dc->save();
    dc->setRenderHint(QPainter::Antialiasing, true);
    dc->setPen(Qt::NoPen);
    dc->setBrush(color);
    switch (marca) {
    case Marca::Vacaciones: {
        const QPointF puntos[] = {QPointF(caja.center().x(), caja.top()), caja.bottomRight(),
                                  caja.bottomLeft()};
        dc->drawPolygon(puntos, 3);
        break;
    }
    case Marca::Baja:
        dc->drawRect(caja.adjusted(caja.width() * 0.08, caja.height() * 0.08, -caja.width() * 0.08,
                                   -caja.height() * 0.08));
        break;
    case Marca::Personal:
        dc->drawEllipse(caja);
        break;
    case Marca::Ninguna:
        break;
    }
    dc->restore();
}

// The side of a substitute's mark in a cell of the given height.
double LadoMarca(double alto) {
    return std::max(1.0, alto * 0.42);
}

// Device pixels of a length in points.
double Puntos(const CPrintDeviceMeasures& m, double puntos) {
    return puntos * std::max(1, m.dpiY) / 72.0;
}

// The number of a day-number cell (1 .. 31), 0 for any other cell.
int NumeroDeDia(const CCellRecord& record) {
    if (!record.Has(CCellRecord::PropItemData) || record.GetItemData() <= 0)
        return 0;
    bool ok = false;
    const int dia = record.GetText().toInt(&ok);
    return ok && dia >= 1 && dia <= 31 ? dia : 0;
}

// The fixed name of the print job or the PDF document.
void SetDocumentName(QPagedPaintDevice* device) {
    if (auto* printer = dynamic_cast<QPrinter*>(device))
        printer->setDocName(CImpresionPlanilla::NombreDocumento());
    else if (auto* writer = dynamic_cast<QPdfWriter*>(device))
        writer->setTitle(CImpresionPlanilla::NombreDocumento());
}
} // namespace

QString CTituloPlanilla::Texto() const {
    return QString::asprintf("%s %i - %s", mes.toUtf8().constData(), anio,
                             servicio.toUtf8().constData());
}

// --- The view's steps -----------------------------------------------------------------------

const QString& CImpresionPlanilla::NombreDocumento() {
    static const QString name = QStringLiteral("Dravonela - Planilla");
    return name;
}

CImpresionPlanilla::CImpresionPlanilla(CCellGrid& cuadro, bool ajustar)
    : m_cuadro(cuadro), m_impresor(cuadro), m_ajustar(ajustar) {
    m_impresor.SetCellHooks(
        [this](QPainter*, const QRect& rect, int column, int row, CCellRecord& record,
               QFont& font) { AjustarNombre(rect, column, row, record, font); },
        [this](QPainter* dc, const QRect& rect, int column, int row, const CCellRecord& record) {
            MarcarSuplente(dc, rect, column, row, record);
        });
}

namespace {
// A flag of the service's row of PREF_IMPRESION; the default when it has none.
bool LeerOpcion(int servicioId, const QString& columna, bool porDefecto) {
    CDbQuery query;
    const QString tabla = QStringLiteral("PREF_IMPRESION");
    const QString clave = QStringLiteral("ID_SERVICIO");
    if (query.GetInt(tabla, QStringLiteral("ID"), clave, servicioId) == -1)
        return porDefecto;
    return query.GetFlag(tabla, columna, clave, servicioId);
}
} // namespace

bool CImpresionPlanilla::LeerHorizontal(int servicioId) {
    return LeerOpcion(servicioId, QStringLiteral("HORIZONTAL"), true);
}

bool CImpresionPlanilla::LeerAjustar(int servicioId) {
    return LeerOpcion(servicioId, QStringLiteral("AJUSTAR_HOJA"), true);
}

CFormaImpresion CImpresionPlanilla::LeerForma(int servicioId) {
    return CFormaImpresion{LeerHorizontal(servicioId), LeerAjustar(servicioId)};
}

std::vector<int> CImpresionPlanilla::InicioSemanas(CCellGrid& cuadro) {
    std::vector<int> filas;
    CCellRecord celda;
    const int columnas = cuadro.GetColumnCount();
    for (int fila = 0; fila < cuadro.GetRowCount(); ++fila)
        for (int columna = 1; columna < columnas; columna += 2) {
            cuadro.GetCell(columna, fila, &celda);
            if (NumeroDeDia(celda) > 0) {
                filas.push_back(fila);
                break;
            }
        }
    if (cuadro.GetRowCount() > 0 && (filas.empty() || filas.front() != 0))
        filas.insert(filas.begin(), 0);
    return filas;
}

std::vector<std::pair<int, QString>> CImpresionPlanilla::InicioHoras(CCellGrid& cuadro) {
    std::vector<std::pair<int, QString>> horas;
    const std::vector<int> semanas = InicioSemanas(cuadro);
    const int columnas = cuadro.GetColumnCount();
    CCellRecord celda;
    for (size_t s = 0; s < semanas.size(); ++s) {
        const int fin = s + 1 < semanas.size() ? semanas[s + 1] : cuadro.GetRowCount();
        int anterior = -1;
        for (int fila = semanas[s]; fila < fin; ++fila) {
            // The hour of the row: the one its name cells carry (every day of a week
            // has the same hour in a row).
            int hora = -1;
            for (int columna = 0; columna < columnas && hora < 0; columna += 2) {
                cuadro.GetCell(columna, fila, &celda);
                if (celda.Has(CCellRecord::PropItemData))
                    hora = celda.GetItemData();
            }
            if (hora < 0 || hora == anterior)
                continue;
            anterior = hora;
            horas.emplace_back(fila, QStringLiteral("%1:00").arg(hora % 24));
        }
    }
    return horas;
}

QString CImpresionPlanilla::TextoFecha() {
    return QStringLiteral("Impreso el ") + DvClock::Today().toString(QStringLiteral("dd/MM/yyyy"));
}

void CImpresionPlanilla::SetPrinterOrientation(QPrinter* printer, bool landscape) {
    if (!printer)
        return;
    printer->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

bool CImpresionPlanilla::OnPreparePrinting(QPrinter* printer, int servicioId) {
    if (!printer)
        return false;
    SetPrinterOrientation(printer, LeerHorizontal(servicioId));
    printer->setResolution(Resolucion);
    printer->setDocName(NombreDocumento());
    return true;
}

int CImpresionPlanilla::OnBeginPrinting(const QPaintDevice* device) {
    CPrintDeviceMeasures m = CPrintDeviceMeasures::FromDevice(device);
    CPrintUtil util;
    util.Attach(nullptr, m);
    // The legend's line at the foot of the printable area is kept free of rows.
    const int leyenda = static_cast<int>(std::ceil(kLeyendaAltoCm / 2.54 * std::max(1, m.dpiY)));
    const int columnas = m_cuadro.GetColumnCount();
    const int filas = m_cuadro.GetRowCount();
    if (m_ajustar) {
        CGridFitLayout forma;
        const int izquierda = std::max(0, util.CmToDeviceX(kCuadroIzquierdaCm));
        const int arriba = std::max(0, util.CmToDeviceY(kCuadroArribaCm));
        forma.area = QRect(QPoint(izquierda, arriba),
                           QPoint(m.horzRes - 1, m.vertRes - leyenda - 1 - leyenda / 4));
        forma.breakRows = InicioSemanas(m_cuadro);
        // The text's size on screen in points gives the least scale that keeps it
        // legible.
        CCellRecord defecto;
        m_cuadro.GetGridDefault(&defecto);
        const QFont* fuente = defecto.GetFont();
        const QFont base = fuente ? *fuente : m_cuadro.font();
        const double pixeles = base.pixelSize() > 0 ? base.pixelSize()
                               : base.pointSizeF() > 0
                                   ? base.pointSizeF() * m_impresor.ScreenDpiY() / 72.0
                                   : 12.0;
        const double puntos = pixeles * 72.0 / m_impresor.ScreenDpiY();
        forma.minScale = PuntosMinimos / puntos;
        forma.maxScale = 1.0;
        if (columnas == CCuadroPlanilla::Columnas)
            for (int c = 0; c < columnas; ++c)
                forma.columnWeights.push_back(c % 2 == 0 ? kPesoNombre : kPesoDia);
        m_paginas = m_impresor.PrintPrepareFit(m, 0, 0, columnas - 1, filas - 1, forma);
    } else {
        m.vertRes = std::max(1, m.vertRes - leyenda);
        m.vertSizeMm = m.dpiY > 0 ? m.vertRes * 25.4 / m.dpiY : m.vertSizeMm;
        m_paginas = m_impresor.PrintPrepare(m, 0, 0, columnas - 1, filas - 1);
    }
    m_horas = InicioHoras(m_cuadro);
    // An empty roster still prints its title.
    m_paginas = std::max(m_paginas, 1);
    m_paginaActual = 0;
    m_imprimiendo = true;
    return m_paginas;
}

void CImpresionPlanilla::OnPrint(QPainter* dc, int pagina, const CTituloPlanilla& titulo) {
    if (!m_imprimiendo || !dc)
        return;
    m_paginaActual = pagina;
    const QPaintDevice* device = dc->device();
    m_rectDibujo = device ? QRect(0, 0, device->width(), device->height()) : QRect();
    ImprimirTitulo(dc, titulo);
    m_impresor.PrintPage(dc, pagina);
    ImprimirHoras(dc, pagina);
    ImprimirLeyenda(dc);
}

void CImpresionPlanilla::ImprimirTitulo(QPainter* dc, const CTituloPlanilla& titulo) {
    const QPaintDevice* device = dc->device();
    CPrintUtil util;
    util.Attach(dc);
    QFont fuente;
    util.CreateFontCm(&fuente, kTituloAltoCm, kTituloPeso, QString::fromLatin1(kTituloFuente), 0,
                      0);
    dc->save();
    dc->setFont(fuente);
    dc->setPen(Qt::black);
    // 10 cm from the paper's left edge; a title too long for the rest of the line is
    // moved left just enough to end at the printable area's right edge.
    const QString texto = titulo.Texto();
    double x = kTituloX;
    const CPrintDeviceMeasures& m = util.Measures();
    if (device && m.physWidth > 0) {
        const double cmPorPunto = util.GetPaperWidth() * 0.1 / m.physWidth;
        const int ancho = static_cast<int>(std::ceil(
            QFontMetricsF(fuente, const_cast<QPaintDevice*>(device)).horizontalAdvance(texto)));
        const int sobra = util.CmToDeviceX(x) + ancho - device->width();
        if (sobra > 0)
            x = std::max(x - sobra * cmPorPunto, m.offsetX * cmPorPunto);
    }
    util.SetUpdatePosition(true);
    util.TextOutCm(x, kTituloY, 0, texto);
    util.SetUpdatePosition(false);
    dc->restore();
}

void CImpresionPlanilla::ImprimirHoras(QPainter* dc, int pagina) {
    if (m_horas.empty())
        return;
    const CPrintDeviceMeasures m = CPrintDeviceMeasures::FromDevice(dc->device());
    const std::vector<CGridPrintRowBand> bandas = m_impresor.RowBands(pagina);
    if (bandas.empty())
        return;
    const double derecha = m_impresor.BlockLeft() - Puntos(m, 2.0);
    if (derecha <= 0)
        return;
    dc->save();
    dc->setPen(Qt::black);
    for (const CGridPrintRowBand& banda : bandas) {
        const auto it = std::lower_bound(
            m_horas.begin(), m_horas.end(), banda.row,
            [](const std::pair<int, QString>& h, int fila) { return h.first < fila; });
        if (it == m_horas.end() || it->first != banda.row)
            continue;
        QFont fuente(QStringLiteral("Arial"));
        const double alto = banda.bottom - banda.top;
        fuente.setPixelSize(
            std::max(1, static_cast<int>(std::min(Puntos(m, kHoraPuntos), alto * 0.8))));
        dc->setFont(fuente);
        const QRectF caja(0.0, banda.top, derecha, alto);
        dc->drawText(caja, Qt::AlignRight | Qt::AlignVCenter, it->second);
    }
    dc->restore();
}

void CImpresionPlanilla::ImprimirLeyenda(QPainter* dc) {
    const QPaintDevice* device = dc->device();
    if (!device)
        return;
    const CPrintDeviceMeasures m = CPrintDeviceMeasures::FromDevice(device);
    const double alto = kLeyendaAltoCm / 2.54 * std::max(1, m.dpiY);
    const QRectF linea(0.0, m.vertRes - alto, m.horzRes, alto);
    QFont fuente(QStringLiteral("Arial"));
    fuente.setPixelSize(std::max(1, static_cast<int>(Puntos(m, kLeyendaPuntos))));
    const QFontMetricsF medidas(fuente, const_cast<QPaintDevice*>(device));
    const double lado = medidas.ascent() * 0.85;
    const double hueco = medidas.horizontalAdvance(QStringLiteral("  "));
    const double centro = linea.center().y();
    const double izquierda = std::max(0.0, m_impresor.BlockLeft());

    dc->save();
    dc->setFont(fuente);
    double x = izquierda;
    const auto texto = [&](const QString& t, const QColor& color) {
        dc->setPen(color);
        const double ancho = medidas.horizontalAdvance(t);
        dc->drawText(QRectF(x, linea.top(), ancho + 2, alto), Qt::AlignLeft | Qt::AlignVCenter, t);
        x += ancho + hueco * 2;
    };
    struct Entrada {
        Marca marca;
        GridColor color;
        const char* nombre;
    };
    static const Entrada entradas[] = {
        {Marca::Vacaciones, CCuadroPlanilla::ColorVacaciones, "Vacaciones"},
        {Marca::Baja, CCuadroPlanilla::ColorBaja, "Baja"},
        {Marca::Personal, CCuadroPlanilla::ColorPersonal, "Día personal"},
    };
    for (const Entrada& e : entradas) {
        const QColor color = ToQColor(e.color);
        DibujarMarca(dc, e.marca, QRectF(x, centro - lado / 2, lado, lado), color);
        x += lado + hueco / 2;
        texto(QString::fromUtf8(e.nombre), color);
    }
    // The shading of Sundays and holidays, in a box with the roster's border.
    const QRectF muestra(x, centro - lado * 0.6, lado * 2.2, lado * 1.2);
    dc->fillRect(muestra, ToQColor(CCuadroPlanilla::ColorFestivo));
    dc->setPen(QPen(Qt::black, std::max(1.0, Puntos(m, 0.5))));
    dc->setBrush(Qt::NoBrush);
    dc->drawRect(muestra);
    x += muestra.width() + hueco / 2;
    texto(QStringLiteral("Domingo o festivo"), Qt::black);

    const QString fecha = TextoFecha();
    const double anchoFecha = medidas.horizontalAdvance(fecha);
    dc->setPen(Qt::black);
    dc->drawText(QRectF(std::max(x, m.horzRes - anchoFecha - 2), linea.top(), anchoFecha + 2, alto),
                 Qt::AlignRight | Qt::AlignVCenter, fecha);
    dc->restore();
}

void CImpresionPlanilla::AjustarNombre(const QRect& rect, int column, int row, CCellRecord& record,
                                       QFont& font) {
    if (row < 0 || column % 2 != 0 || record.GetText().isEmpty() || font.pixelSize() <= 0)
        return;
    const int margen = m_cuadro.Sheet().Options().textMargin;
    const Marca marca = MarcaDe(record);
    const double marcaAncho = marca == Marca::Ninguna ? 0.0 : LadoMarca(rect.height()) + margen;
    const double sitio = rect.width() - 2.0 * margen - marcaAncho - 1.0;
    if (sitio <= 0)
        return;
    const QString texto = record.GetText();
    const int tam = font.pixelSize();
    const int menor = std::max(1, static_cast<int>(std::ceil(tam * kMenorNombre)));
    QFont prueba = font;
    for (int t = tam; t >= menor; --t) {
        prueba.setPixelSize(t);
        if (QFontMetricsF(prueba).horizontalAdvance(texto) <= sitio) {
            font = prueba;
            return;
        }
    }
    prueba.setPixelSize(menor);
    font = prueba;
    record.SetText(QFontMetricsF(prueba).elidedText(texto, Qt::ElideRight, sitio));
}

void CImpresionPlanilla::MarcarSuplente(QPainter* dc, const QRect& rect, int column, int row,
                                        const CCellRecord& record) {
    if (row < 0 || column % 2 != 0)
        return;
    const Marca marca = MarcaDe(record);
    if (marca == Marca::Ninguna)
        return;
    const int margen = m_cuadro.Sheet().Options().textMargin;
    const double lado = LadoMarca(rect.height());
    const QRectF caja(rect.right() + 1 - margen / 2.0 - lado, rect.center().y() + 0.5 - lado / 2,
                      lado, lado);
    DibujarMarca(dc, marca, caja, ToQColor(record.GetTextColor()));
}

void CImpresionPlanilla::OnEndPrinting() {
    m_imprimiendo = false;
}

bool CImpresionPlanilla::Imprimir(QPagedPaintDevice* device, const CTituloPlanilla& titulo,
                                  int primera, int ultima, QString* error) {
    if (!device) {
        if (error)
            *error = QStringLiteral("No hay impresora.");
        return false;
    }
    SetDocumentName(device);
    QPainter painter;
    if (!painter.begin(device)) {
        if (error)
            *error = QStringLiteral("No se pudo iniciar la impresión.");
        return false;
    }
    const int paginas = OnBeginPrinting(device);
    const int desde = primera > 0 ? primera : 1;
    const int hasta = ultima > 0 ? std::min(ultima, paginas) : paginas;
    bool ok = true;
    for (int pagina = desde; pagina <= hasta; ++pagina) {
        if (pagina > desde && !device->newPage()) {
            ok = false;
            break;
        }
        OnPrint(&painter, pagina, titulo);
    }
    OnEndPrinting();
    if (!painter.end())
        ok = false;
    if (!ok && error)
        *error = QStringLiteral("La impresión no se pudo completar.");
    return ok;
}

// --- PDF file -------------------------------------------------------------------------------

namespace {
// Pages first .. last (0 for all) of the roster as a PDF document made in memory, on
// pages of the given layout; the file is written afterwards, whole or not at all.
bool PaginasPdf(CCellGrid& cuadro, const CTituloPlanilla& titulo, bool ajustar,
                const QPageLayout& pagina, int primera, int ultima, QByteArray& bytes,
                QString* error) {
    bytes.clear();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString reason;
    bool ok = false;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(CImpresionPlanilla::Resolucion);
        writer.setCreator(QStringLiteral("Dravonela"));
        writer.setPageLayout(pagina);
        CImpresionPlanilla impresion(cuadro, ajustar);
        ok = impresion.Imprimir(&writer, titulo, primera, ultima, &reason);
    }
    if (!ok) {
        bytes.clear();
        if (error)
            *error = reason;
    }
    return ok;
}

// A printer set to print into a PDF file (and not only drawing a preview): its pages
// are written by the program's own writer rather than by the printer.
bool ImprimeEnFicheroPdf(QPrinter* printer) {
    const QPaintEngine* motor = printer->paintEngine();
    return printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty() &&
           motor && motor->type() == QPaintEngine::Pdf;
}
} // namespace

bool PlanillaPdf(CCellGrid& cuadro, const CTituloPlanilla& titulo, const CFormaImpresion& forma,
                 QByteArray& bytes, QString* error) {
    // The page keeps the unprinted edge of a printer, so the PDF prints whole.
    const double margen = CImpresionPlanilla::MargenPdfMm;
    const QPageLayout pagina(QPageSize(QPageSize::A4),
                             forma.horizontal ? QPageLayout::Landscape : QPageLayout::Portrait,
                             QMarginsF(margen, margen, margen, margen), QPageLayout::Millimeter);
    return PaginasPdf(cuadro, titulo, forma.ajustar, pagina, 0, 0, bytes, error);
}

bool ImprimirPlanillaPdf(CCellGrid& cuadro, const CTituloPlanilla& titulo,
                         const CFormaImpresion& forma, const QString& archivo, QString* error) {
    // A name that can never be written is refused before the pages are made.
    const QString motivo = DvArchivo::MotivoRechazo(archivo);
    if (!motivo.isEmpty()) {
        if (error)
            *error = motivo;
        return false;
    }
    QByteArray bytes;
    return PlanillaPdf(cuadro, titulo, forma, bytes, error) &&
           DvArchivo::Escribir(archivo, bytes, error);
}

namespace {
// One field of the calendar; a field holding the separator or a quote is quoted, so a
// spreadsheet keeps the 14 columns.
QString CampoCsv(QString texto) {
    if (texto.contains(QLatin1Char(';')) || texto.contains(QLatin1Char('"')) ||
        texto.contains(QLatin1Char('\n')) || texto.contains(QLatin1Char('\r'))) {
        texto.replace(QLatin1String("\""), QLatin1String("\"\""));
        return QLatin1Char('"') + texto + QLatin1Char('"');
    }
    return texto;
}
} // namespace

QString PlanillaCsv(CCellGrid& cuadro) {
    // The text of a joined block stands in its first cell.
    const int columnas = cuadro.GetColumnCount();
    QString texto;
    QStringList campos;
    for (int columna = 0; columna < columnas; ++columna) {
        QString nombre;
        cuadro.GetCellText(columna, -1, &nombre);
        campos << CampoCsv(nombre);
    }
    texto += campos.join(QLatin1Char(';')) + QLatin1String("\r\n");
    for (int fila = 0; fila < cuadro.GetRowCount(); ++fila) {
        campos.clear();
        for (int columna = 0; columna < columnas; ++columna) {
            QString celda;
            cuadro.GetCellText(columna, fila, &celda);
            campos << CampoCsv(celda);
        }
        texto += campos.join(QLatin1Char(';')) + QLatin1String("\r\n");
    }
    return texto;
}

// --- Print and preview commands -------------------------------------------------------------

namespace DvImpresion {
bool CargarTraduccionesQt() {
    static QTranslator* instalada = nullptr;
    if (instalada)
        return true;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    // Owned by the application object, which outlives every dialog.
    auto translator = std::make_unique<QTranslator>(app);
    if (!translator->load(QStringLiteral("qtbase_es"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    instalada = translator.release();
    return true;
}

namespace {
// The printer to use: the program's, or, when no printer is installed, one that writes
// a PDF file (offered in the user's documents folder, else the home folder).
QPrinter* ImpresoraDe(QPrinter* printer, std::unique_ptr<QPrinter>& propia) {
    if (printer)
        return printer;
    propia = std::make_unique<QPrinter>(QPrinter::HighResolution);
    propia->setOutputFormat(QPrinter::PdfFormat);
    QString carpeta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (carpeta.isEmpty() || !QDir(carpeta).exists())
        carpeta = QDir::homePath();
    propia->setOutputFileName(QDir(carpeta).filePath(QStringLiteral("planilla.pdf")));
    return propia.get();
}

// Prints the pages the printer's settings ask for; false with the reason on failure.
bool ImprimirPaginas(QPrinter* printer, CCellGrid& cuadro, const CTituloPlanilla& titulo,
                     bool ajustar, QString* error) {
    int desde = 0, hasta = 0;
    if (printer->printRange() == QPrinter::PageRange) {
        desde = printer->fromPage();
        hasta = printer->toPage();
    }
    if (ImprimeEnFicheroPdf(printer)) {
        QByteArray bytes;
        return PaginasPdf(cuadro, titulo, ajustar, printer->pageLayout(), desde, hasta, bytes,
                          error) &&
               DvArchivo::Escribir(printer->outputFileName(), bytes, error);
    }
    CImpresionPlanilla impresion(cuadro, ajustar);
    return impresion.Imprimir(printer, titulo, desde, hasta, error);
}
} // namespace

bool Imprimir(QWidget* parent, QPrinter* printer, CCellGrid& cuadro, int servicioId,
              const CTituloPlanilla& titulo) {
    std::unique_ptr<QPrinter> propia;
    printer = ImpresoraDe(printer, propia);
    CargarTraduccionesQt();
    CImpresionPlanilla::OnPreparePrinting(printer, servicioId);
    const bool ajustar = CImpresionPlanilla::LeerAjustar(servicioId);

    // The page range offered is the roster's pages on the printer as it is set now.
    int paginas = 1;
    {
        CImpresionPlanilla impresion(cuadro, ajustar);
        paginas = impresion.OnBeginPrinting(printer);
        impresion.OnEndPrinting();
    }
    QPrintDialog dialog(printer, parent);
    dialog.setMinMax(1, paginas);
    dialog.setFromTo(1, paginas);
    if (DvModal::Run(dialog) != QDialog::Accepted)
        return false;
    printer->setResolution(CImpresionPlanilla::Resolucion);

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const bool ok = ImprimirPaginas(printer, cuadro, titulo, ajustar, &error);
    QGuiApplication::restoreOverrideCursor();
    if (!ok)
        DvMessageBox::Show(parent, error, QStringLiteral("Dravonela"), DvMessageBox::Ok,
                           DvMessageBox::Error);
    return ok;
}

bool PresentacionPreliminar(QWidget* parent, QPrinter* printer, CCellGrid& cuadro, int servicioId,
                            const CTituloPlanilla& titulo) {
    std::unique_ptr<QPrinter> propia;
    printer = ImpresoraDe(printer, propia);
    CargarTraduccionesQt();
    CImpresionPlanilla::OnPreparePrinting(printer, servicioId);
    const bool ajustar = CImpresionPlanilla::LeerAjustar(servicioId);

    QPrintPreviewDialog preview(printer, parent);
    if (parent)
        preview.resize(parent->window()->size());
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&cuadro, &titulo, parent, ajustar](QPrinter* destino) {
                         QString error;
                         if (!ImprimirPaginas(destino, cuadro, titulo, ajustar, &error))
                             DvMessageBox::Show(parent, error, QStringLiteral("Dravonela"),
                                                DvMessageBox::Ok, DvMessageBox::Error);
                     });
    DvModal::Run(preview);
    return true;
}
} // namespace DvImpresion
