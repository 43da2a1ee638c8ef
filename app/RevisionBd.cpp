#include "RevisionBd.h"

#include "Clock.h"
#include "CopiaSeguridad.h"
#include "DbConnection.h"
#include "DiarioCambios.h"
#include "MessageBox.h"
#include "Settings.h"
#include "UbicacionBd.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace DvRevision {
namespace {
const QString kCaption = QStringLiteral("Dravonela");

QString Mostrada(const QString& ruta) {
    return QDir::toNativeSeparators(ruta);
}

QString Fecha(const QDateTime& momento) {
    return QStringLiteral("%1 a las %2")
        .arg(momento.toString(QStringLiteral("dd/MM/yyyy")),
             momento.toString(QStringLiteral("HH:mm")));
}

// The opening last checked: the same opening is checked once.
int& Revisada() {
    static int apertura = 0;
    return apertura;
}
} // namespace

QString CarpetaCopias(const QString& bd) {
    return DvCopia::Carpeta(bd, CUbicacionBd::CarpetaUsuario());
}

void Instalar(std::function<void(const QString&)> nota) {
    CDbConnection& conexion = CDbConnection::Instance();
    conexion.Diario().Activar(true);
    conexion.SetBeforeFirstChange([nota = std::move(nota)](sqlite3* db) {
        const QString bd = CDbConnection::Instance().Path();
        const DvCopia::CResultado hecha = DvCopia::Copiar(db, CarpetaCopias(bd), DvClock::Now());
        if (nota)
            nota(hecha.mensaje);
    });
}

void Desinstalar() {
    CDbConnection& conexion = CDbConnection::Instance();
    conexion.SetBeforeFirstChange(nullptr);
    conexion.Diario().Activar(false);
}

bool RevisarAbierta(QWidget* padre) {
    CDbConnection& conexion = CDbConnection::Instance();
    const QString bd = conexion.Path();
    if (bd.isEmpty())
        return false;
    // A file so damaged that it did not open is checked from outside.
    const bool abierta = conexion.IsOpen() && conexion.Handle();
    if (abierta && Revisada() == conexion.Aperturas())
        return true;
    if (abierta)
        Revisada() = conexion.Aperturas();
    const QStringList problemas =
        abierta ? DvCopia::Problemas(conexion.Handle(), true) : DvCopia::ProblemasFichero(bd, true);
    if (problemas.isEmpty() || (!abierta && !QFileInfo(bd).isFile()))
        return abierta;

    // Closed only once the planner has said yes; then open again on whatever lies there.
    bool cerrada = false;
    const bool restaurada = OfrecerCopia(padre, bd, problemas, [&]() {
        conexion.Reset();
        cerrada = true;
    });
    if (!cerrada)
        return false;
    const bool reabierta = conexion.OpenFile(bd, DvSettings::DbPassword());
    Revisada() = conexion.Aperturas();
    return restaurada && reabierta;
}

bool OfrecerCopia(QWidget* padre, const QString& bd, const QStringList& problemas,
                  const std::function<void()>& cerrar) {
    const QString nombre = QFileInfo(bd).fileName();
    const DvCopia::CCopia buena = DvCopia::UltimaBuena(CarpetaCopias(bd));
    // "la base de datos está dañada: <SQLite's words>" told as one sentence.
    QString detalle = problemas.value(0);
    detalle.remove(QStringLiteral("la base de datos está dañada: "));
    const QString danada =
        QStringLiteral("La base de datos %1 está dañada (%2).").arg(Mostrada(bd), detalle);
    if (buena.ruta.isEmpty()) {
        DvMessageBox::Show(padre,
                           danada + QStringLiteral("\n\nNo hay ninguna copia buena de %1. Guarde "
                                                   "el fichero en otro lugar antes de seguir "
                                                   "trabajando con él.")
                                        .arg(nombre),
                           kCaption, DvMessageBox::Ok, DvMessageBox::Warning);
        return false;
    }
    const QDateTime ahora = DvClock::Now();
    const QString aparte = DvCopia::NombreApartado(bd, ahora);
    const QString pregunta =
        danada + QStringLiteral("\n\nLa copia buena más reciente es %1, del %2.\n\n¿Desea "
                                "restaurarla? La base de datos dañada se conserva como %3.")
                     .arg(Mostrada(buena.ruta), Fecha(buena.momento), Mostrada(aparte));
    if (DvMessageBox::Show(padre, pregunta, kCaption, DvMessageBox::YesNo, DvMessageBox::Warning) !=
        DvMessageBox::IdYes)
        return false;

    if (cerrar)
        cerrar();
    QString apartado, error;
    if (!DvCopia::Restaurar(bd, buena.ruta, ahora, &apartado, &error)) {
        DvMessageBox::Show(padre, QStringLiteral("No se pudo restaurar la copia: %1").arg(error),
                           kCaption, DvMessageBox::Ok, DvMessageBox::Error);
        return false;
    }
    DvMessageBox::Show(padre,
                       QStringLiteral("Se ha restaurado la copia del %1.\nLa base de datos dañada "
                                      "se conserva como %2.")
                           .arg(Fecha(buena.momento), Mostrada(apartado)),
                       kCaption, DvMessageBox::Ok, DvMessageBox::Information);
    return true;
}
} // namespace DvRevision
