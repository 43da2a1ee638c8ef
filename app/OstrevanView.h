#pragma once
// The roster view: the form of template 101 in the main window, with the month, year
// and service selectors, the "Generar" button and the roster grid below them. It opens
// the database when first shown, builds the roster on request, writes the monthly
// report file and runs the configuration commands.

#include "RosterPrinting.h"
#include "TemplateDialog.h"

#include <QRect>
#include <QString>
#include <memory>

class CComboList;
class QListWidget;
class QListWidgetItem;
class CCuadroPlanilla;
class CEditSpecial;
class COstrevanDoc;

class COstrevanView : public CTemplateForm {
    Q_OBJECT
public:
    static constexpr int TemplateId = 101;
    static constexpr int IdMes = 1053;
    static constexpr int IdAnio = 1054;
    static constexpr int IdServicio = 1055;
    static constexpr int IdGenerar = 1056;
    static constexpr int IdCuadro = 1015;
    static constexpr int IdAvisos = 1058;       // the list of the roster's warnings
    static constexpr int IdTituloAvisos = 1059; // its label

    // Default font size and row height of a service without stored preferences.
    static constexpr int TamFuentePorDefecto = 15;
    static constexpr int AltoFilaPorDefecto = 16;

    COstrevanView(COstrevanDoc* document, QWidget* parent = nullptr);
    ~COstrevanView() override;

    COstrevanDoc* Document() const { return m_document; }

    // The first update: opens the database, takes over the placeholder with the roster
    // grid, fills the month and service lists, selects today's month and year and
    // applies the service's display options. Runs once.
    void OnInitialUpdate();
    bool IsInitialUpdateDone() const { return m_initialUpdateDone; }

    // A menu or toolbar command; true when the view handles it.
    bool OnMenuCommand(const QString& command);
    // A roster build or a report is running (their progress windows let events in).
    bool Ocupada() const;

    CComboList* Meses() const;
    CEditSpecial* CampoAnio() const;
    CComboList* Servicios() const;
    CCuadroPlanilla* Cuadro() const { return m_cuadro.get(); }
    QListWidget* PanelAvisos() const;

    // The selection: month 1-12 (-1 when none), year as typed, service ID (-1 when none).
    int MesSeleccionado() const;
    int AnioEscrito() const;
    int ServicioSeleccionado() const;

    // The selected service's font size and row height, passed to the roster grid.
    void AplicarOpcionesServicio();
    // Fills the service list again; the first service in alphabetical order is selected.
    void RellenarServicios();
    // The stored data changed outside the dialogs (undo, redo): the service list is
    // filled again, the selected service kept while it still exists.
    void DatosCambiados();

    // Commands.
    void OnGenerar();
    void OnGenerarInforme();
    void OnConfigServicios();
    void OnConfigPersonal();
    void OnConfigTiposTurno();
    void OnConfigTurnos();
    void OnConfigAsignacion();
    void OnConfigOpciones();
    void OnConfigFestivos();
    // "Exportar calendarios del servicio...": one calendar file per worker of the roster
    // on screen, into a folder the user chooses.
    void OnExportarCalendarios();
    // "Calendario..." of the personnel list: the worker's month (the selectors' month and
    // year) as a calendar file or a personal sheet, by the extension chosen.
    void ExportarCalendarioDe(QWidget* owner, int idPersona);
    void OnConfigReglas();

    // Checks the roster just built and lists its warnings under the grid, one line each
    // ("Sin avisos" when there are none), with their count in the status bar. Does
    // nothing unless the grid holds a complete build of the selected month and service.
    void ActualizarAvisos();
    // A double click on a warning selects its day on the roster.
    void AvisoElegido(QListWidgetItem* item);
    // Printing and preview of the roster on screen, under the title of the month, year
    // and service it was built for, in its service's orientation and layout.
    void OnFilePrint();
    void OnFilePrintPreview();
    // "Exportar a PDF..." and "Exportar a CSV...": the roster on screen as the headless
    // "planilla --formato pdf|csv" writes it, to a file the user chooses (offered as
    // "Planilla <mes> <año> <servicio>.pdf").
    void OnExportarPdf();
    void OnExportarCsv();

    // The title of the roster on screen (the last "Generar"); false before any.
    bool HayPlanilla() const { return m_hayPlanilla; }
    const CTituloPlanilla& TituloPlanilla() const { return m_titulo; }
    // The file name offered for an export: "Planilla Diciembre 2026 Pediatría.<ext>".
    QString NombreSugerido(const QString& extension) const;
    // The status bar: "Planilla mostrada: <title>" while the selectors name another
    // roster than the one on screen, else the warnings of the roster.
    void ActualizarEstado();

    // Writes the report text to the file as the report command does: Windows-1252, no
    // byte-order mark, replacing the file only once every byte is written. A file
    // marked read-only is left as it is. False on any failure.
    static bool EscribirInforme(const QString& ruta, const QString& texto);

protected:
    void OnInitDialog() override;
    bool OnCommand(int id) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The save dialog until it names a file the program may write; empty when cancelled.
    QString PedirFicheroSalida(const QString& extension, const QString& inicial,
                               const QString& filtro);
    // Places the roster grid to fill the form below the selectors, and its columns to
    // fill the grid.
    void AjustarCuadro();
    // The warnings list under the grid, as wide as the grid.
    void AjustarAvisos();
    // The print title: the roster's on screen, or the selectors' before any build.
    CTituloPlanilla TituloImpresion() const;
    // The title as the selectors show it now.
    CTituloPlanilla TituloSelectores() const;
    // Export of the roster on screen: the file asked for, then its bytes written.
    void Exportar(bool pdf);
    void MostrarEstado(const QString& texto);

    COstrevanDoc* m_document = nullptr;
    std::unique_ptr<CCuadroPlanilla> m_cuadro;
    bool m_initialUpdateDone = false;
    bool m_generandoInforme = false;
    bool m_hayPlanilla = false;
    CTituloPlanilla m_titulo;
    QString m_estadoAvisos; // the warnings' count last shown
};
