#pragma once
// Printing of the roster shown in the roster view: the paper's orientation from the
// service's roster options, the grid split into pages by its grid printer, and on every
// page the title line "<month> <year> - <service>" 10 cm from the paper's left edge and
// 0.7 cm from its top. The same pages go to a printer, to the print preview or to a PDF
// file.
//
// The view's print command:
//
//   CTituloPlanilla titulo{Meses()->currentText(), AnioEscrito(), Servicios()->currentText()};
//   DvImpresion::Imprimir(this, app->Printer(), *Cuadro(), ServicioSeleccionado(), titulo);
//
// and its preview command DvImpresion::PresentacionPreliminar with the same arguments.

#include "GridPrinter.h"

#include <QRect>
#include <QString>

class CCellGrid;
class QByteArray;
class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class QPrinter;
class QWidget;

// The title's three parts, as the selectors show them when printing starts.
struct CTituloPlanilla {
    QString mes;
    int anio = 0;
    QString servicio;

    // "%s %i - %s": "Marzo 2024 - Urgencias".
    QString Texto() const;
};

// The view's steps of a print or preview run.
class CImpresionPlanilla {
public:
    // The name under which print jobs and PDF files of the roster appear.
    static const QString& NombreDocumento();
    // Device pixels per inch of the printed pages; the grid's page origin is worked out
    // from the printer's pixels per millimetre, so every page is laid out alike.
    static constexpr int Resolucion = 600;
    // The edge of a PDF page left unprinted, as most printers leave it, in millimetres, so
    // a printed PDF loses nothing.
    static constexpr double MargenPdfMm = 5.0;

    explicit CImpresionPlanilla(CCellGrid& cuadro);

    // The service's orientation: the flag HORIZONTAL of its row of PREF_IMPRESION;
    // false (portrait) when the service has no row or the read fails.
    static bool LeerHorizontal(int servicioId);
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

    // A whole run on a printer or PDF writer: begin, pages first .. last (0 for all; the
    // range is cut to the pages there are), end. False, with the reason, when the device
    // cannot be painted on.
    bool Imprimir(QPagedPaintDevice* device, const CTituloPlanilla& titulo, int primera = 0,
                  int ultima = 0, QString* error = nullptr);

private:
    CCellGrid& m_cuadro;
    CGridPrinter m_impresor;
    bool m_imprimiendo = false;
    int m_paginas = 0;
    int m_paginaActual = 0;
    QRect m_rectDibujo;
};

// The roster's pages as a PDF document (A4, in the orientation given), the same pages
// the printer gets, made in memory. False, with the reason in error, when they cannot be
// drawn.
bool PlanillaPdf(CCellGrid& cuadro, const CTituloPlanilla& titulo, bool horizontal,
                 QByteArray& bytes, QString* error);
// The same pages written to a PDF file through the program's one writer
// (DvArchivo::Escribir): never over the database or anything but a regular file, and
// replaced only once complete. False, with the reason in error, when it cannot be
// written.
bool ImprimirPlanillaPdf(CCellGrid& cuadro, const CTituloPlanilla& titulo, bool horizontal,
                         const QString& archivo, QString* error);

namespace DvImpresion {
// Qt's own dialogs (print, preview, page set-up) in Spanish: loads qtbase_es from Qt's
// translations folder once. False when the translation cannot be found.
bool CargarTraduccionesQt();

// "&Imprimir...": the service's orientation, Qt's print dialog (which also prints to a
// PDF file), then the chosen pages. Without a printer a PDF printer serves. True when
// the pages were printed; false when cancelled or failed (a message says why).
bool Imprimir(QWidget* parent, QPrinter* printer, CCellGrid& cuadro, int servicioId,
              const CTituloPlanilla& titulo);
// "&Presentación preliminar": the service's orientation and Qt's preview window over the
// same pages; its print button prints them. True when the window was shown.
bool PresentacionPreliminar(QWidget* parent, QPrinter* printer, CCellGrid& cuadro, int servicioId,
                            const CTituloPlanilla& titulo);
} // namespace DvImpresion
