// Builds the roster of the current month for every service of a database on an
// offscreen roster grid and saves a picture of each, with one of the progress window,
// so anyone can look at what the roster view shows:
//
//     QT_QPA_PLATFORM=offscreen roster_shots [database] [output folder]
//
// The database defaults to build/bin/ostrevan.mdb; when it does not exist a demo
// database is made in a temporary folder (the same data as "dravonela crear-bd --demo").

#include "Clock.h"
#include "CuadroPlanilla.h"
#include "DbConnection.h"
#include "DbQuery.h"
#include "DlgProgreso.h"
#include "FechasPlanilla.h"
#include "GridComponents.h"
#include "Progreso.h"
#include "Resources.h"
#include "Schema.h"
#include "Settings.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

namespace {
struct CServicio {
    int id;
    QString nombre;
};

std::vector<CServicio> Servicios() {
    std::vector<CServicio> servicios;
    CDbQuery consulta;
    CDbRecordset filas =
        consulta.Open(QStringLiteral("SELECT ID, NOMBRE FROM FUNCIONES ORDER BY ID"));
    while (!filas.IsEOF()) {
        servicios.push_back({filas.GetInt(0), filas.GetText(1)});
        filas.MoveNext();
    }
    return servicios;
}

// The roster of one service: a title line as the view's selectors read, and the grid
// tall enough for every row.
bool FotoPlanilla(const CServicio& servicio, int mes, int anio, const QString& ruta) {
    QWidget ventana;
    const int ancho = 1200;
    ventana.resize(ancho, 900);
    auto* titulo = new QLabel(&ventana);
    titulo->setGeometry(8, 4, ancho - 16, 24);
    titulo->setText(
        QStringLiteral("%1 %2 — %3").arg(NombreMes(mes)).arg(anio).arg(servicio.nombre));
    auto* cuadro = new CCuadroPlanilla;
    cuadro->CreateGrid(&ventana, QRect(0, 32, ancho, 860), 1015);
    ventana.show();
    CProgresoSinVentana progreso;
    cuadro->GenerarPlanilla(mes, anio, servicio.id, &ventana, progreso);
    const int alto =
        cuadro->GetTopHeadingHeight() + cuadro->GetRowCount() * cuadro->GetDefaultRowHeight() + 24;
    ventana.resize(ancho, 32 + alto);
    cuadro->setGeometry(0, 32, ancho, alto);
    QApplication::processEvents();
    std::printf("%s: %d filas\n", qPrintable(servicio.nombre), cuadro->GetRowCount());
    return ventana.grab().save(ruta);
}

bool FotoProgreso(const QString& ruta) {
    QWidget dueno;
    dueno.resize(600, 400);
    dueno.show();
    CDlgProgreso progreso(&dueno);
    progreso.Mostrar();
    progreso.FijarRango(31);
    progreso.FijarPosicion(12);
    progreso.FijarMensaje(QStringLiteral("Procesando datos para día: 12"));
    return progreso.grab().save(ruta);
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QString bd =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("build/bin/ostrevan.mdb");
    const QString salida = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::currentPath();
    QDir().mkpath(salida);

    QTemporaryDir temporal;
    QString clave = DvSettings::DbPassword();
    if (!QFileInfo(bd).isFile()) {
        bd = temporal.path() + QStringLiteral("/ostrevan.mdb");
        QString error;
        if (!DvSchema::CreateDatabase(bd, clave,
                                      DvResources::ReadText(QStringLiteral(":/sql/demo.sql")),
                                      DvClock::Today(), error)) {
            std::fprintf(stderr, "roster_shots: no se pudo crear la base de demostración: %s\n",
                         qPrintable(error));
            return 1;
        }
        std::printf("Base de demostración nueva: %s\n", qPrintable(bd));
    }
    CDbConnection& conexion = CDbConnection::Instance();
    conexion.SetErrorSink([](const QString& texto) {
        std::fprintf(stderr, "roster_shots: %s\n", qPrintable(texto));
    });
    if (!conexion.OpenFile(bd, clave))
        return 1;

    const QDate hoy = DvClock::Today();
    int fallos = 0;
    for (const CServicio& servicio : Servicios()) {
        const QString ruta = salida + QStringLiteral("/planilla_%1.png").arg(servicio.id);
        if (!FotoPlanilla(servicio, hoy.month(), hoy.year(), ruta))
            ++fallos;
    }
    if (!FotoProgreso(salida + QStringLiteral("/progreso.png")))
        ++fallos;
    return fallos == 0 ? 0 : 1;
}
