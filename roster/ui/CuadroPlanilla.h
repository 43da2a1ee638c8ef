#pragma once
// CCuadroPlanilla: the grid in which the roster view shows a month's roster. A calendar
// of 14 columns, two per weekday from Monday (0 and 1) to Sunday (12 and 13): the name
// column 2w - 2 and the day-number column 2w - 1 of weekday w, one block of rows per
// calendar week. It owns the roster font and pens its cells refer to, and the engine
// context with which the roster is computed.
//
//   cuadro->AttachToDialogItem(view, 1015);       // lays the calendar out
//   cuadro->ActualizarFuente(tamFuente, altoFila); // the service's display options
//   cuadro->GenerarPlanilla(mes, anio, servicio, view);
//
// Colours are 0x00BBGGRR.

#include "CellGrid.h"
#include "DateTime.h"
#include "MotorPlanilla.h"

#include <QFont>
#include <QHash>
#include <QPen>

class IProgreso;

class CCuadroPlanilla : public CCellGrid {
    Q_OBJECT
public:
    static constexpr int Columnas = 14;
    // Share of the grid window's width each column takes (the 14 fill 96.6 % of it).
    static constexpr double AnchoColumna = 0.069;
    // The view's "Generar" button, whose command a rebuild after the day dialog posts.
    static constexpr int IdGenerar = 1056;

    static constexpr GridColor ColorFondo = 0xE1FFFF;   // pale yellow cell area
    static constexpr GridColor ColorFestivo = 0xB4B4B4; // Sundays and holidays
    // Text colour of an entry by leave type: in person, vacation, sick leave, personal day.
    static constexpr GridColor ColorEnPersona = 0x000000;
    static constexpr GridColor ColorVacaciones = 0x000096;
    static constexpr GridColor ColorBaja = 0x009600;
    static constexpr GridColor ColorPersonal = 0x960000;
    // Borders (GridBorder bits).
    static constexpr int BordeDia = 0x20D;      // day number: thick top, thin left/right/bottom
    static constexpr int BordeMismaHora = 0x05; // entry: thin left and right
    static constexpr int BordeOtraHora = 0x25;  // entry after another hour: medium top too
    static constexpr int BordeSemana = 0x200;   // first row of the next week: thick top

    explicit CCuadroPlanilla(QWidget* parent = nullptr);
    ~CCuadroPlanilla() override;

    // Builds the roster of the service for the month into the grid, showing the progress
    // window over `parent` (Cancel leaves an empty roster). Returns true; false only when
    // a build of this grid is already running (a command run while the progress window
    // pumps events), which is then left alone.
    bool GenerarPlanilla(int mes, int anio, int servicio, QWidget* parent);
    // The same, reporting to the given progress (no window: headless commands, tests).
    bool GenerarPlanilla(int mes, int anio, int servicio, QWidget* parent, IProgreso& progreso);
    bool Generando() const { return m_generando; }

    // New roster font height (cell height in pixels) and row height (1 to 1024; other
    // values leave the row height as it is). Cells already written follow: they all refer
    // to the one font object.
    void ActualizarFuente(int altoFuente, int altoFila);

    // Every column gets the window's width x 0.069.
    void AjustarColumnas();

    // The text colour of an entry of the leave type (0 in person, 1, 2, 3).
    static GridColor ColorLibranza(int tipo);
    // The roster font for a height: Arial, semi-bold (600), whose line height (ascent
    // plus descent) is `alto` pixels as near as the installed face allows.
    static QFont FuentePlanilla(int alto);

    int Servicio() const { return m_servicio; }
    // What the last complete build computed: its references and the day plan of every
    // day of the month (day 1 first). Empty before a build and after a cancelled one.
    const CListaReferencias& ReferenciasDelMes() const { return m_referenciasMes; }
    const std::vector<CListaPlanDia>& PlanesDelMes() const { return m_planesMes; }
    // Makes the day-number cell of the date the current cell, scrolled into view. False
    // when the roster shown has no such day.
    bool SeleccionarDia(const CDateTime& fecha);
    CMotorPlanilla& Motor() { return *m_motor; }
    const QFont& Fuente() const { return m_fuente; }
    int AltoFuente() const { return m_altoFuente; }
    const QPen& PlumaNegra() const { return m_plumaNegra; }
    const QPen& PlumaBlanca() const { return m_plumaBlanca; }

    // The hint of a name cell: the full name, the shift and its hours, and for a
    // substitute whom it replaces and why ("Ana — Noche 22:00–08:00, sustituye a Luis
    // (vacaciones)"). Empty for any other cell.
    QString TextoAyuda(int columna, int fila);

    // Hooks of the grid.
    void OnGridSetup() override;
    int OnHint(int column, int row, int section, QString* text) override;
    void OnCellDoubleClick(int column, int row, const QRect& rect, const QPoint& point,
                           int processed) override;
    GridColor OnGetDefaultBackColor(int section) override;

protected:
    // Opens the exceptions of the day (dialog "Configuración de excepciones") for the
    // date and the service of the last build, modally, owned by the grid's parent window,
    // and returns its result (QDialog::Accepted after OK). Until that dialog exists
    // nothing is opened and the answer is QDialog::Rejected.
    virtual int AbrirExcepcionesDelDia(const CDateTime& fecha, int servicio);
    // Asks "¿Quieres recargar la planilla con los cambios?" and, on Yes, posts the view's
    // "Generar" command so the roster is built again with the same selection.
    void PreguntarRecargar();

    void resizeEvent(QResizeEvent* event) override;

private:
    // Deletes every row (repainting off), and whatever a build left stored below them.
    void Vaciar();
    void BorrarSobrantes();
    void EscribirDia(int columna, int fila, const CDateTime& fecha);
    void EscribirEntrada(int columna, int fila, const CPlanDia& entrada, bool primera);
    void FijarBordeSemana(int fila);

    QFont m_fuente;
    int m_altoFuente = 0;
    QPen m_plumaNegra;
    QPen m_plumaBlanca;
    std::unique_ptr<CMotorPlanilla> m_motor;
    int m_servicio = 0;
    bool m_generando = false;
    CCellRecord m_registro; // scratch record of the build
    CListaReferencias m_referenciasMes;
    std::vector<CListaPlanDia> m_planesMes;
    // The entry each name cell shows, by row * Columnas + column, for its hint.
    QHash<qint64, CPlanDia> m_entradas;
};
