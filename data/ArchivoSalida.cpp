#include "ArchivoSalida.h"

#include "DbConnection.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DvArchivo {
namespace {
QStringList& Protegidos() {
    static QStringList lista;
    return lista;
}

QByteArray Nativa(const QString& ruta) {
    return QFile::encodeName(ruta);
}

bool MismoFichero(const struct stat& a, const QString& otro) {
    struct stat b {};
    if (otro.isEmpty() || ::stat(Nativa(otro).constData(), &b) != 0)
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

// The file a write to ruta replaces: a symbolic link to an existing file stands for
// that file.
QFileInfo Destino(const QString& ruta) {
    QFileInfo destino(ruta);
    if (destino.isSymLink() && destino.exists())
        destino = QFileInfo(destino.canonicalFilePath());
    return destino;
}

// A temporary name of ours: the prefix, then the six characters mkstemp puts.
bool EsTemporal(const QString& nombre, const QString& prefijo) {
    if (!nombre.startsWith(prefijo) || nombre.size() != prefijo.size() + 6)
        return false;
    for (int i = prefijo.size(); i < nombre.size(); ++i) {
        const QChar c = nombre.at(i);
        if (c.unicode() > 127 || !c.isLetterOrNumber())
            return false;
    }
    return true;
}

// Puts the finished temporary file in the target's place. A new file must not replace
// one that appeared meanwhile: the kernel refuses that for us where the file system
// lets it, else a hard link does it.
bool Colocar(const QByteArray& temporal, const QByteArray& destino, bool nuevo, int* numero) {
    if (!nuevo) {
        if (::rename(temporal.constData(), destino.constData()) == 0)
            return true;
        *numero = errno;
        return false;
    }
    if (::renameat2(AT_FDCWD, temporal.constData(), AT_FDCWD, destino.constData(),
                    RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) {
        *numero = errno;
        return false;
    }
    if (::link(temporal.constData(), destino.constData()) != 0) {
        *numero = errno;
        return false;
    }
    ::unlink(temporal.constData());
    return true;
}

bool EscribirEnFichero(const QString& ruta, const QByteArray& contenido, QString* error,
                       bool nuevo) {
    const QString motivo = MotivoRechazo(ruta);
    if (!motivo.isEmpty()) {
        Poner(error, motivo);
        return false;
    }
    const QFileInfo destino = Destino(ruta);
    const QByteArray final = Nativa(destino.absoluteFilePath());
    struct stat viejo {};
    const bool existe = ::lstat(final.constData(), &viejo) == 0;
    if (!existe && errno != ENOENT) {
        Poner(error, FalloEscritura(ruta, errno));
        return false;
    }
    if (existe && nuevo) {
        Poner(error, QStringLiteral("El fichero %1 ya existe; no se sobrescribe.")
                         .arg(QDir::toNativeSeparators(ruta)));
        return false;
    }
    // A file marked read-only stays as it is, also for a user the system would let
    // replace it (the old file is replaced by a rename, which its permissions do not
    // govern).
    if (existe && ((viejo.st_mode & 0222) == 0 || ::access(final.constData(), W_OK) != 0)) {
        Poner(error, FalloEscritura(ruta, EACCES));
        return false;
    }

    LimpiarTemporales(destino.absoluteFilePath());
    const QString carpeta = destino.absolutePath();
    QByteArray temporal =
        Nativa(carpeta + QLatin1Char('/') + PrefijoTemporal(destino.fileName())) + "XXXXXX";
    const int fd = ::mkstemp(temporal.data());
    if (fd < 0) {
        Poner(error, FalloEscritura(ruta, errno));
        return false;
    }
    // Held until the file is in place: a later run sees the file is in use.
    (void)::flock(fd, LOCK_EX | LOCK_NB);
    // The new file keeps the old one's permissions and owner; a new one gets the usual
    // permissions. A refused change is not worth a failure.
    if (existe) {
        [[maybe_unused]] const int dueno = ::fchown(fd, viejo.st_uid, viejo.st_gid);
        (void)::fchmod(fd, viejo.st_mode & 07777);
    } else {
        const mode_t mascara = ::umask(0);
        ::umask(mascara);
        (void)::fchmod(fd, 0666 & ~mascara);
    }
    int numero = 0;
    bool ok = EscribirTodo(fd, contenido, &numero);
    if (ok && ::fsync(fd) != 0) {
        numero = errno;
        ok = false;
    }
    if (ok) {
        // The bytes on the disk are the bytes given: a last check before replacing.
        struct stat escrito {};
        if (::fstat(fd, &escrito) != 0 || escrito.st_size != contenido.size()) {
            numero = EIO;
            ok = false;
        }
    }
    if (ok)
        ok = Colocar(temporal, final, nuevo, &numero);
    ::close(fd);
    if (!ok) {
        ::unlink(temporal.constData());
        if (nuevo && numero == EEXIST)
            Poner(error, QStringLiteral("El fichero %1 ya existe; no se sobrescribe.")
                             .arg(QDir::toNativeSeparators(ruta)));
        else
            Poner(error, FalloEscritura(ruta, numero));
        return false;
    }
    // The new name itself reaches the disk with the folder.
    const int dir = ::open(Nativa(carpeta).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool EscribirSalidaEstandar(const QByteArray& contenido, QString* error) {
    int numero = 0;
    std::fflush(stdout);
    bool ok = EscribirTodo(STDOUT_FILENO, contenido, &numero);
    // Redirected to a file, the bytes are only safe once they reach the disk.
    struct stat st {};
    if (ok && ::fstat(STDOUT_FILENO, &st) == 0 && S_ISREG(st.st_mode) &&
        ::fsync(STDOUT_FILENO) != 0 && errno != EINVAL) {
        numero = errno;
        ok = false;
    }
    if (!ok)
        Poner(error,
              QStringLiteral("No se pudo escribir en la salida estándar: %1").arg(Causa(numero)));
    return ok;
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
    const QString mostrada = QDir::toNativeSeparators(ruta);
    struct stat st {};
    if (::stat(Nativa(ruta).constData(), &st) != 0) {
        // A new file, or one the write itself will fail on and explain; a name that
        // ends in a separator can only be a folder.
        if (QFileInfo(ruta).fileName().isEmpty())
            return QStringLiteral("No se puede escribir en %1: es una carpeta").arg(mostrada);
        return QString();
    }
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("No se puede escribir en %1: es una carpeta").arg(mostrada);
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("No se puede escribir en %1: no es un fichero normal").arg(mostrada);
    QStringList contra = Protegidos();
    contra.append(CDbConnection::Instance().Path());
    for (const QString& otro : contra)
        if (MismoFichero(st, otro))
            return QStringLiteral("No se puede escribir sobre la base de datos: %1").arg(mostrada);
    return QString();
}

bool Escribir(const QString& ruta, const QByteArray& contenido, QString* error,
              bool salidaEstandar) {
    if (salidaEstandar && ruta == QLatin1String("-"))
        return EscribirSalidaEstandar(contenido, error);
    return EscribirEnFichero(ruta, contenido, error, false);
}

bool EscribirNuevo(const QString& ruta, const QByteArray& contenido, QString* error) {
    return EscribirEnFichero(ruta, contenido, error, true);
}

int LimpiarTemporales(const QString& ruta) {
    const QFileInfo destino = Destino(ruta);
    const QString prefijo = PrefijoTemporal(destino.fileName());
    const QDir carpeta = destino.absoluteDir();
    const QStringList nombres =
        carpeta.entryList({prefijo + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::System);
    int quitados = 0;
    for (const QString& nombre : nombres) {
        if (!EsTemporal(nombre, prefijo))
            continue;
        const QByteArray camino = Nativa(carpeta.filePath(nombre));
        const int fd = ::open(camino.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat st {};
        // Nobody holds it: the write that made it has ended without placing it.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::unlink(camino.constData()) == 0)
            ++quitados;
        ::close(fd);
    }
    return quitados;
}
} // namespace DvArchivo
