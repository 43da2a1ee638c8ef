#pragma once
// Printing of the roster shown in the roster view: the paper's orientation and layout
// from the service's roster options, the grid laid out on the pages by its grid printer,
// and on every page the title line "<month> <year> - <service>" 10 cm from the paper's
// left edge and 0.7 cm from its top, the start hour of each hour group of a week in the
// left margin, and a legend of the colours with the date of printing at the foot. The
// same pages go to a printer, to the print preview or to a PDF file.
//
// Fitted to one sheet (the default): the week's 14 columns fill the paper's printable
// width whatever the window's size, and the text keeps its size on screen or shrinks so
// that the month fits one sheet; below a legible size (6 pt) the month goes on more
// sheets, broken only between weeks, each with the weekday headings. Not fitted: the
// grid printer's own page split from the screen widths.
//
// The view's print command, with the title of the roster last built:
//
//   DvImpresion::Imprimir(this, app->Printer(), *Cuadro(), Cuadro()->Servicio(), titulo);
//
// and its preview command DvImpresion::PresentacionPreliminar with the same arguments.

#include "GridPrinter.h"

#include <QRect>
#include <QString>
#include <utility>
#include <vector>

class CCellGrid;
class CCellRecord;
class QByteArray;
class QFont;
class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class QPrinter;
class QWidget;

// The title's three parts: the month, year and service of the roster built.
struct CTituloPlanilla {
    QString mes;
    int anio = 0;
    QString servicio;

    // "%s %i - %s": "Marzo 2024 - Urgencias".
    QString Texto() const;
};

// How a service's roster goes on paper (its row of PREF_IMPRESION).
struct CFormaImpresion {
    bool horizontal = true; // landscape
    bool ajustar = true;    // fitted to one sheet across, broken only between weeks
};

// The view's steps of a print or preview run.
class CImpresionPlanilla {
public:
    // The least size of the roster's text on a fitted page, in points.
    static constexpr double PuntosMinimos = 6.0;
    // The name under which print jobs and PDF files of the roster appear.
    static const QString& NombreDocumento();
    // Device pixels per inch of the printed pages; the grid's page origin is worked out
    // from the printer's pixels per millimetre, so every page is laid out alike.
    static constexpr int Resolucion = 600;
    // The edge of a PDF page left unprinted, as most printers leave it, in millimetres, so
    // a printed PDF loses nothing.
    static constexpr double MargenPdfMm = 5.0;

    explicit CImpresionPlanilla(CCellGrid& cuadro, bool ajustar = true);

    // The service's orientation: the flag HORIZONTAL of its row of PREF_IMPRESION;
    // landscape when the service has no row, as its options dialog shows it.
    static bool LeerHorizontal(int servicioId);
    // The flag AJUSTAR_HOJA of the service's row; fitted when it has none.
    static bool LeerAjustar(int servicioId);
    static CFormaImpresion LeerForma(int servicioId);
    // Landscape or portrait for the next print or preview; nothing without a printer.
    static void SetPrinterOrientation(QPrinter* printer, bool landscape);
    // Prepare: the service's orientation and the resolution of the pages on the printer.
    // False when there is no printer (printing does not start).
    static bool OnPreparePrinting(QPrinter* printer, int servicioId);

    // Begin: lays the roster out on the device's pages and sets the printing state.
    // Returns the number of pages to print: the grid's pages, or one page carrying the
    // title alone when the roster has no rows.
    int OnBeginPrinting(const QPaintDevice* device);
    // One page (1 .. page count): the title, then the grid's part of that page. The
    // painter draws on the printer in device pixels. Nothing outside a print run.
    void OnPrint(QPainter* dc, int pagina, const CTituloPlanilla& titulo);
    // End: clears the printing state.
    void OnEndPrinting();

    bool IsPrinting() const { return m_imprimiendo; }
    int PageCount() const { return m_paginas; }
    int CurrentPage() const { return m_paginaActual; }
    // The drawing rectangle of the page being printed (device pixels).
    QRect DrawingRect() const { return m_rectDibujo; }
    const CGridPrinter& GridPrinter() const { return m_impresor; }
    bool Ajustada() const { return m_ajustar; }

    // The rows of the roster with which a week starts (those holding day numbers).
    static std::vector<int> InicioSemanas(CCellGrid& cuadro);
    // The start hour of each row that opens an hour group of its week ("8:00" ...), by
    // row; rows not opening one are left out.
    static std::vector<std::pair<int, QString>> InicioHoras(CCellGrid& cuadro);
    // The text of the legend's date: "Impreso el 08/12/2026" (the program's clock).
    static QString TextoFecha();

    // A whole run on a printer or PDF writer: begin, pages first .. last (0 for all; the
    // range is cut to the pages there are), end. False, with the reason, when the device
    // cannot be painted on.
    bool Imprimir(QPagedPaintDevice* device, const CTituloPlanilla& titulo, int primera = 0,
                  int ultima = 0, QString* error = nullptr);

private:
    void ImprimirTitulo(QPainter* dc, const CTituloPlanilla& titulo);
    void ImprimirHoras(QPainter* dc, int pagina);
    void ImprimirLeyenda(QPainter* dc);
    // A name cell on paper: smaller (down to three quarters) and then cut with "…" when
    // it does not fit, leaving room for the substitute's mark.
    void AjustarNombre(const QRect& rect, int column, int row, CCellRecord& record, QFont& font);
    void MarcarSuplente(QPainter* dc, const QRect& rect, int column, int row,
                        const CCellRecord& record);

    CCellGrid& m_cuadro;
    CGridPrinter m_impresor;
    bool m_ajustar = true;
    std::vector<std::pair<int, QString>> m_horas;
    bool m_imprimiendo = false;
    int m_paginas = 0;
    int m_paginaActual = 0;
    QRect m_rectDibujo;
};

// The roster's pages as a PDF document (A4, in the orientation and layout given), the
// same pages the printer gets, made in memory. False, with the reason in error, when
// they cannot be drawn.
bool PlanillaPdf(CCellGrid& cuadro, const CTituloPlanilla& titulo, const CFormaImpresion& forma,
                 QByteArray& bytes, QString* error);
// The same pages written to a PDF file through the program's one writer
// (DvArchivo::Escribir): never over the database or anything but a regular file, and
// replaced only once complete. False, with the reason in error, when it cannot be
// written.
bool ImprimirPlanillaPdf(CCellGrid& cuadro, const CTituloPlanilla& titulo,
                         const CFormaImpresion& forma, const QString& archivo, QString* error);
// The calendar as shown, for a spreadsheet: the weekday names, then one line per row,
// fields separated by ";" (quoted when they hold one), lines ended by CR LF.
QString PlanillaCsv(CCellGrid& cuadro);

namespace DvImpresion {
// Qt's own dialogs (print, preview, page set-up) in Spanish: loads qtbase_es from Qt's
// translations folder once. False when the translation cannot be found.
bool CargarTraduccionesQt();

// "&Imprimir...": the service's orientation and layout, Qt's print dialog (which also prints to a
// PDF file), then the chosen pages. Without a printer a PDF printer serves. True when
// the pages were printed; false when cancelled or failed (a message says why).
bool Imprimir(QWidget* parent, QPrinter* printer, CCellGrid& cuadro, int servicioId,
              const CTituloPlanilla& titulo);
// "&Presentación preliminar": the service's orientation and Qt's preview window over the
// same pages; its print button prints them. True when the window was shown.
bool PresentacionPreliminar(QWidget* parent, QPrinter* printer, CCellGrid& cuadro, int servicioId,
                            const CTituloPlanilla& titulo);
} // namespace DvImpresion
