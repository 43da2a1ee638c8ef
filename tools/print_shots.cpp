// Prints rosters to PDF files the way the program prints them, and turns their pages
// into PNG pictures (with pdftoppm, when installed), so anyone can look at what the
// printer gets: a month laid out like the roster, landscape and portrait and long, and
// months of 28, 30 and 31 days of every service of a new demo database, built by the
// roster grid and printed fitted to one sheet in both orientations (and unfitted in the
// service's own orientation).
//
//     QT_QPA_PLATFORM=offscreen print_shots [output folder]

#include "../tests/print/PrintTestGrid.h"

#include "Clock.h"
#include "CuadroPlanilla.h"
#include "DbConnection.h"
#include "DbQuery.h"
#include "FechasPlanilla.h"
#include "Progreso.h"
#include "Resources.h"
#include "RosterPrinting.h"
#include "Schema.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>

namespace {
bool Shoot(CCellGrid& grid, const CTituloPlanilla& titulo, const CFormaImpresion& forma,
           const QString& pdf) {
    QString error;
    if (!ImprimirPlanillaPdf(grid, titulo, forma, pdf, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    std::printf("%s\n", qPrintable(pdf));
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (!pdftoppm.isEmpty()) {
        QString stem = pdf;
        stem.chop(4);
        QProcess::execute(pdftoppm, {QStringLiteral("-r"), QStringLiteral("80"),
                                     QStringLiteral("-png"), pdf, stem});
    }
    return true;
}

// The current month of each demo service, from a demo database made in the folder.
bool ShootDemo(const QString& dir) {
    const QString db = dir + QStringLiteral("/demo.mdb");
    QFile::remove(db);
    QString error;
    const QString demoSql = DvResources::ReadText(QStringLiteral(":/sql/demo.sql"));
    if (!DvSchema::CreateDatabase(db, QString(), demoSql, DvClock::Today(), error) ||
        !CDbConnection::Instance().OpenFile(db, QString())) {
        std::fprintf(stderr, "demo: %s\n", qPrintable(error));
        return false;
    }
    // February, September and December: 28, 30 and 31 days.
    const QDate today = DvClock::Today();
    const int meses[] = {2, 9, 12};
    bool ok = true;
    CDbQuery query;
    for (CDbRecordset rs =
             query.Open(QStringLiteral("SELECT ID, NOMBRE FROM FUNCIONES ORDER BY ID"));
         !rs.IsEOF(); rs.MoveNext()) {
        const int servicio = rs.GetInt(0);
        for (const int mes : meses) {
            // The grid of a view 780 pixels wide, with the service's font and row height.
            QWidget window;
            window.resize(780, 600);
            auto* cuadro = new CCuadroPlanilla;
            cuadro->CreateGrid(&window, QRect(0, 0, 780, 600), 1015);
            CDbQuery pref;
            const int fuente =
                pref.GetInt(QStringLiteral("PREF_IMPRESION"), QStringLiteral("TAM_FUENTE"),
                            QStringLiteral("ID_SERVICIO"), servicio);
            const int fila =
                pref.GetInt(QStringLiteral("PREF_IMPRESION"), QStringLiteral("ALTO_FILA"),
                            QStringLiteral("ID_SERVICIO"), servicio);
            cuadro->ActualizarFuente(fuente > 0 ? fuente : 15, fila > 0 ? fila : 16);
            CProgresoSinVentana progreso;
            cuadro->GenerarPlanilla(mes, today.year(), servicio, &window, progreso);
            const CTituloPlanilla titulo{NombreMes(mes), today.year(), rs.GetText(1)};
            const QString base =
                dir + QStringLiteral("/demo_servicio%1_mes%2").arg(servicio).arg(mes);
            ok = Shoot(*cuadro, titulo, {true, true}, base + QStringLiteral("_horizontal.pdf")) &&
                 ok;
            ok =
                Shoot(*cuadro, titulo, {false, true}, base + QStringLiteral("_vertical.pdf")) && ok;
            ok = Shoot(*cuadro, titulo, {CImpresionPlanilla::LeerHorizontal(servicio), false},
                       base + QStringLiteral("_sin_ajustar.pdf")) &&
                 ok;
            if (servicio == 1 && mes == 12)
                window.grab().save(dir + QStringLiteral("/demo_servicio1_pantalla.png"));
        }
    }
    return ok;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir);

    // A month starting on a Thursday, five names a day: fitted, one sheet in either
    // orientation; unfitted from a window 780 pixels wide, two pages across in portrait.
    PrintTest::RosterHost host(780, 600);
    host.grid->Fill(3, 31, 5);
    const CTituloPlanilla titulo{QStringLiteral("Marzo"), 2024, QString::fromUtf8("Pediatría")};
    // The same grid on the screen, to set beside the printed pages.
    host.window->grab().save(dir + QStringLiteral("/planilla_pantalla.png"));
    bool ok =
        Shoot(*host.grid, titulo, {true, true}, dir + QStringLiteral("/planilla_horizontal.pdf"));
    ok = Shoot(*host.grid, titulo, {false, true}, dir + QStringLiteral("/planilla_vertical.pdf")) &&
         ok;
    ok = Shoot(*host.grid, titulo, {false, false},
               dir + QStringLiteral("/planilla_vertical_sin_ajustar.pdf")) &&
         ok;

    // A long month: pages down, the headings repeated on each.
    PrintTest::RosterHost tall(780, 600);
    tall.grid->Fill(6, 30, 14);
    const CTituloPlanilla largo{QStringLiteral("Septiembre"), 2024, QStringLiteral("Urgencias")};
    ok = Shoot(*tall.grid, largo, {true, true}, dir + QStringLiteral("/planilla_larga.pdf")) && ok;
    ok = ShootDemo(dir) && ok;
    return ok ? 0 : 1;
}
