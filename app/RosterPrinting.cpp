#include "RosterPrinting.h"

#include "ArchivoSalida.h"
#include "CellGrid.h"
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

CImpresionPlanilla::CImpresionPlanilla(CCellGrid& cuadro) : m_cuadro(cuadro), m_impresor(cuadro) {}

bool CImpresionPlanilla::LeerHorizontal(int servicioId) {
    CDbQuery query;
    return query.GetFlag(QStringLiteral("PREF_IMPRESION"), QStringLiteral("HORIZONTAL"),
                         QStringLiteral("ID_SERVICIO"), servicioId);
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
    m_paginas = m_impresor.PrintPrepare(device, nullptr, 0, 0, m_cuadro.GetColumnCount() - 1,
                                        m_cuadro.GetRowCount() - 1);
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

    m_impresor.PrintPage(dc, pagina);
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
bool PaginasPdf(CCellGrid& cuadro, const CTituloPlanilla& titulo, const QPageLayout& pagina,
                int primera, int ultima, QByteArray& bytes, QString* error) {
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
        CImpresionPlanilla impresion(cuadro);
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

bool PlanillaPdf(CCellGrid& cuadro, const CTituloPlanilla& titulo, bool horizontal,
                 QByteArray& bytes, QString* error) {
    // The page keeps the unprinted edge of a printer, so the PDF prints whole.
    const double margen = CImpresionPlanilla::MargenPdfMm;
    const QPageLayout pagina(QPageSize(QPageSize::A4),
                             horizontal ? QPageLayout::Landscape : QPageLayout::Portrait,
                             QMarginsF(margen, margen, margen, margen), QPageLayout::Millimeter);
    return PaginasPdf(cuadro, titulo, pagina, 0, 0, bytes, error);
}

bool ImprimirPlanillaPdf(CCellGrid& cuadro, const CTituloPlanilla& titulo, bool horizontal,
                         const QString& archivo, QString* error) {
    // A name that can never be written is refused before the pages are made.
    const QString motivo = DvArchivo::MotivoRechazo(archivo);
    if (!motivo.isEmpty()) {
        if (error)
            *error = motivo;
        return false;
    }
    QByteArray bytes;
    return PlanillaPdf(cuadro, titulo, horizontal, bytes, error) &&
           DvArchivo::Escribir(archivo, bytes, error);
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
                     QString* error) {
    int desde = 0, hasta = 0;
    if (printer->printRange() == QPrinter::PageRange) {
        desde = printer->fromPage();
        hasta = printer->toPage();
    }
    if (ImprimeEnFicheroPdf(printer)) {
        QByteArray bytes;
        return PaginasPdf(cuadro, titulo, printer->pageLayout(), desde, hasta, bytes, error) &&
               DvArchivo::Escribir(printer->outputFileName(), bytes, error);
    }
    CImpresionPlanilla impresion(cuadro);
    return impresion.Imprimir(printer, titulo, desde, hasta, error);
}
} // namespace

bool Imprimir(QWidget* parent, QPrinter* printer, CCellGrid& cuadro, int servicioId,
              const CTituloPlanilla& titulo) {
    std::unique_ptr<QPrinter> propia;
    printer = ImpresoraDe(printer, propia);
    CargarTraduccionesQt();
    CImpresionPlanilla::OnPreparePrinting(printer, servicioId);

    // The page range offered is the roster's pages on the printer as it is set now.
    int paginas = 1;
    {
        CImpresionPlanilla impresion(cuadro);
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
    const bool ok = ImprimirPaginas(printer, cuadro, titulo, &error);
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

    QPrintPreviewDialog preview(printer, parent);
    if (parent)
        preview.resize(parent->window()->size());
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&cuadro, &titulo, parent](QPrinter* destino) {
                         QString error;
                         if (!ImprimirPaginas(destino, cuadro, titulo, &error))
                             DvMessageBox::Show(parent, error, QStringLiteral("Dravonela"),
                                                DvMessageBox::Ok, DvMessageBox::Error);
                     });
    DvModal::Run(preview);
    return true;
}
} // namespace DvImpresion
