#include "UbicacionBd.h"

#include "DbConnection.h"
#include "Schema.h"
#include "Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
bool Fallo(QString* motivo, const QString& texto) {
    if (motivo)
        *motivo = texto;
    return false;
}
} // namespace

CUbicacionBd::CUbicacionBd(const QString& ejecutable)
    : m_ejecutable(ejecutable.isEmpty() ? QCoreApplication::applicationFilePath() : ejecutable) {}

QString CUbicacionBd::JuntoAlEjecutable() const {
    return m_junto.isEmpty() ? CDbConnection::DatabasePathFor(m_ejecutable) : m_junto;
}

CUbicacionBd::Hallazgo CUbicacionBd::Buscar() const {
    const QString junto = JuntoAlEjecutable();
    if (QFileInfo(junto).isFile())
        return {junto, Origen::JuntoAlEjecutable};
    const QString recordada = RutaRecordada();
    if (!recordada.isEmpty() && QFileInfo(recordada).isFile())
        return {recordada, Origen::Ajuste};
    const QString usuario = RutaCarpetaUsuario();
    if (QFileInfo(usuario).isFile())
        return {usuario, Origen::CarpetaUsuario};
    return {};
}

bool CUbicacionBd::Instalado() const {
    const QDir bin = QFileInfo(m_ejecutable).absoluteDir();
    if (bin.dirName() != QLatin1String("bin"))
        return false;
    return QFileInfo(bin.absoluteFilePath(QStringLiteral("../share/dravonela"))).isDir();
}

QString CUbicacionBd::RutaRecordada() {
    return DvSettings::ReadText(QString::fromLatin1(ClaveRuta), QString()).trimmed();
}

void CUbicacionBd::Recordar(const QString& ruta) {
    DvSettings::WriteText(QString::fromLatin1(ClaveRuta), QFileInfo(ruta).absoluteFilePath());
}

QString CUbicacionBd::CarpetaUsuario() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Dravonela");
}

QString CUbicacionBd::RutaCarpetaUsuario() {
    return CarpetaUsuario() + QLatin1Char('/') + QString::fromLatin1(NombreFichero);
}

bool CUbicacionBd::EsBaseDePlanillas(const QString& ruta, QString* motivo) {
    const QFileInfo info(ruta);
    const QString nombre = QDir::toNativeSeparators(ruta);
    if (!info.exists())
        return Fallo(motivo, QStringLiteral("No existe el fichero %1.").arg(nombre));
    if (!info.isFile())
        return Fallo(motivo, QStringLiteral("%1 no es un fichero.").arg(nombre));
    const QString ajeno =
        QStringLiteral("El fichero %1 no es una base de datos de Dravonela.").arg(nombre);

    // The header tells an SQLite file before the engine is asked anything.
    QFile fichero(ruta);
    if (!fichero.open(QIODevice::ReadOnly))
        return Fallo(motivo, QStringLiteral("No se puede leer el fichero %1.").arg(nombre));
    if (fichero.read(16) != QByteArray("SQLite format 3\0", 16))
        return Fallo(motivo, ajeno);
    fichero.close();

    // The same reading the connection makes before it opens a file: our mark, or one of
    // the roster tables of any age.
    switch (DvSchema::InspectFile(ruta)) {
    case DvSchema::FileKind::Roster:
        return true;
    case DvSchema::FileKind::Foreign:
        return Fallo(motivo, ajeno);
    case DvSchema::FileKind::Unknown:
        break;
    }
    return Fallo(motivo, QStringLiteral("No se puede leer el fichero %1.").arg(nombre));
}
