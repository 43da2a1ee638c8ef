// Prints a month laid out like the roster to PDF files, landscape and portrait, the
// way the program prints it, and turns their pages into PNG pictures (with pdftoppm,
// when installed), so anyone can look at what the printer gets:
//
//     QT_QPA_PLATFORM=offscreen print_shots [output folder]

// The roster printing belongs to the program's library, which helper programs do not
// link; its two files are built in here.
#include "../app/PrintUtil.cpp"
#include "../app/RosterPrinting.cpp"
#include "../tests/print/PrintTestGrid.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>

namespace {
bool Shoot(CCellGrid& grid, const CTituloPlanilla& titulo, bool horizontal, const QString& pdf) {
    QString error;
    if (!ImprimirPlanillaPdf(grid, titulo, horizontal, pdf, &error)) {
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
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir);

    // A month starting on a Thursday, five names a day; from a window 800 pixels wide it
    // fits a landscape page across, and takes two pages across in portrait.
    PrintTest::RosterHost host(800, 600);
    host.grid->Fill(3, 31, 5);
    const CTituloPlanilla titulo{QStringLiteral("Marzo"), 2024, QString::fromUtf8("Pediatría")};
    // The same grid on the screen, to set beside the printed pages.
    host.window->grab().save(dir + QStringLiteral("/planilla_pantalla.png"));
    bool ok = Shoot(*host.grid, titulo, true, dir + QStringLiteral("/planilla_horizontal.pdf"));
    ok = Shoot(*host.grid, titulo, false, dir + QStringLiteral("/planilla_vertical.pdf")) && ok;

    // A long month: pages down, the headings repeated on each.
    PrintTest::RosterHost tall(800, 600);
    tall.grid->Fill(6, 30, 14);
    const CTituloPlanilla largo{QStringLiteral("Septiembre"), 2024, QStringLiteral("Urgencias")};
    ok = Shoot(*tall.grid, largo, true, dir + QStringLiteral("/planilla_larga.pdf")) && ok;
    return ok ? 0 : 1;
}
