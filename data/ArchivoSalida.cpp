#include "ArchivoSalida.h"

#include "DbConnection.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DvArchivo {
namespace {
QStringList& Protegidos() {
    static QStringList lista;
    return lista;
}

bool MismoFichero(const struct stat& a, const QString& otro) {
    struct stat b {};
    if (otro.isEmpty() || ::stat(QFile::encodeName(otro).constData(), &b) != 0)
        return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

QString Causa(int numero) {
    switch (numero) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("no queda espacio en el disco");
    case EFBIG:
        return QStringLiteral("el fichero es demasiado grande");
    case EACCES:
    case EPERM:
        return QStringLiteral("permiso denegado");
    case EROFS:
        return QStringLiteral("el disco es de solo lectura");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("la carpeta no existe");
    case EIO:
        return QStringLiteral("error de entrada/salida");
    default:
        return QString::fromLocal8Bit(std::strerror(numero));
    }
}

QString FalloEscritura(const QString& ruta, int numero) {
    return QStringLiteral("No se pudo escribir el fichero %1: %2")
        .arg(QDir::toNativeSeparators(ruta), Causa(numero));
}

bool EscribirTodo(int fd, const QByteArray& contenido, int* numero) {
    const char* p = contenido.constData();
    qint64 queda = contenido.size();
    while (queda > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(queda));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *numero = errno;
            return false;
        }
        if (n == 0) {
            *numero = EIO;
            return false;
        }
        p += n;
        queda -= n;
    }
    return true;
}

void Poner(QString* error, const QString& texto) {
    if (error)
        *error = texto;
}
} // namespace

QString PrefijoTemporal(const QString& nombreDestino) {
    return QStringLiteral(".") + nombreDestino + QStringLiteral(".dvtmp-");
}

void Proteger(const QString& ruta) {
    if (!ruta.isEmpty())
        Protegidos().append(ruta);
}

void OlvidarProtegidos() {
    Protegidos().clear();
}

QString MotivoRechazo(const QString& ruta) {
    if (ruta.isEmpty())
        return QStringLiteral("No se ha indicado el fichero de salida");
    const QByteArray nativa = QFile::encodeName(ruta);
    struct stat st {};
    if (::stat(nativa.constData(), &st) != 0) {
        if (errno == ENOENT)
            return QString(); // a new file
        return FalloEscritura(ruta, errno);
    }
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("No se puede escribir en %1: no es un fichero normal")
            .arg(QDir::toNativeSeparators(ruta));
    QStringList contra = Protegidos();
    contra.append(CDbConnection::Instance().Path());
    for (const QString& otro : contra)
        if (MismoFichero(st, otro))
            return QStringLiteral("No se puede escribir sobre la base de datos: %1")
                .arg(QDir::toNativeSeparators(ruta));
    return QString();
}

bool Escribir(const QString& ruta, const QByteArray& contenido, QString* error,
              bool salidaEstandar) {
    if (salidaEstandar && ruta == QLatin1String("-")) {
        int numero = 0;
        std::fflush(stdout);
        if (!EscribirTodo(STDOUT_FILENO, contenido, &numero)) {
            Poner(
                error,
                QStringLiteral("No se pudo escribir en la salida estándar: %1").arg(Causa(numero)));
            return false;
        }
        return true;
    }
    const QString motivo = MotivoRechazo(ruta);
    if (!motivo.isEmpty()) {
        Poner(error, motivo);
        return false;
    }
    // A symbolic link stays a link: the file it names is the one replaced.
    QFileInfo destino(ruta);
    if (destino.isSymLink() && destino.exists())
        destino = QFileInfo(destino.canonicalFilePath());
    const QString carpeta = destino.absolutePath();
    const QByteArray plantilla =
        QFile::encodeName(carpeta + QLatin1Char('/') + PrefijoTemporal(destino.fileName())) +
        "XXXXXX";
    QByteArray temporal = plantilla;
    const int fd = ::mkstemp(temporal.data());
    if (fd < 0) {
        Poner(error, FalloEscritura(ruta, errno));
        return false;
    }
    // The new file keeps the old one's permissions; a new one gets the usual ones.
    struct stat viejo {};
    mode_t modo = 0;
    if (::stat(QFile::encodeName(destino.absoluteFilePath()).constData(), &viejo) == 0) {
        modo = viejo.st_mode & 07777;
    } else {
        const mode_t mascara = ::umask(0);
        ::umask(mascara);
        modo = 0666 & ~mascara;
    }
    (void)::fchmod(fd, modo); // a refused chmod is not worth a failure
    int numero = 0;
    bool ok = EscribirTodo(fd, contenido, &numero);
    if (ok && ::fsync(fd) != 0) {
        numero = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        numero = errno;
        ok = false;
    }
    if (ok) {
        // The bytes on the disk are the bytes given: a last check before replacing.
        struct stat escrito {};
        if (::stat(temporal.constData(), &escrito) != 0 || escrito.st_size != contenido.size()) {
            numero = EIO;
            ok = false;
        }
    }
    if (ok && ::rename(temporal.constData(),
                       QFile::encodeName(destino.absoluteFilePath()).constData()) != 0) {
        numero = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(temporal.constData());
        Poner(error, FalloEscritura(ruta, numero));
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(QFile::encodeName(carpeta).constData(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}
} // namespace DvArchivo
