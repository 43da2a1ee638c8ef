#include "DiscoLleno.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace DvTest {
namespace {
// A mount namespace of this test program's own, so its mounts vanish with it and are
// never seen by anything else on the machine.
bool EspacioPropio() {
    static const bool propio = ::unshare(CLONE_NEWNS) == 0 &&
                               ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return propio;
}

bool EscribirFichero(const QString& ruta, const QByteArray& bytes) {
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() &&
           f.flush();
}

// Writes until the file system refuses another page.
void Llenar(const QString& carpeta) {
    const int fd = ::open(QFile::encodeName(carpeta + "/.relleno").constData(),
                          O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return;
    const QByteArray bloque(4096, 'r');
    while (::write(fd, bloque.constData(), bloque.size()) > 0) {
    }
    while (::write(fd, bloque.constData(), 1) > 0) {
    }
    ::close(fd);
}

bool NadaCabe(const QString& carpeta) {
    const QString prueba = carpeta + "/.prueba";
    QFile f(prueba);
    const bool cabe = f.open(QIODevice::WriteOnly) && f.write("x", 1) == 1 && f.flush();
    f.close();
    QFile::remove(prueba);
    return !cabe;
}
} // namespace

bool CDiscoLleno::Preparar(const QString& carpeta, const QMap<QString, QByteArray>& ficheros) {
    if (!QDir().mkpath(carpeta))
        return false;
    // DV_SIN_TMPFS=1 tries the file size limit where mounting would work.
    m_tmpfs = qEnvironmentVariableIsEmpty("DV_SIN_TMPFS") && EspacioPropio() &&
              ::mount("tmpfs", QFile::encodeName(carpeta).constData(), "tmpfs", 0,
                      "size=256k,mode=0755") == 0;
    for (auto it = ficheros.constBegin(); it != ficheros.constEnd(); ++it)
        if (!EscribirFichero(carpeta + QLatin1Char('/') + it.key(), it.value()))
            return false;
    if (!m_tmpfs) {
        qInfo("%s: sin tmpfs, un límite de tamaño de fichero hace de disco lleno",
              qPrintable(carpeta));
        return true;
    }
    Llenar(carpeta);
    return NadaCabe(carpeta);
}

CDiscoLleno::CGuarda::CGuarda(bool activa) : m_activa(activa) {
    if (!m_activa)
        return;
    m_senal = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &m_anterior);
    struct rlimit limite = m_anterior;
    limite.rlim_cur = Limite;
    ::setrlimit(RLIMIT_FSIZE, &limite);
}

CDiscoLleno::CGuarda::~CGuarda() {
    if (!m_activa)
        return;
    ::setrlimit(RLIMIT_FSIZE, &m_anterior);
    std::signal(SIGXFSZ, m_senal);
}

void CDiscoLleno::Aplicar(QProcess& proceso) const {
    if (m_tmpfs)
        return;
    // An ignored signal stays ignored across exec: the write fails instead of killing.
    proceso.setChildProcessModifier([] {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limite {};
        ::getrlimit(RLIMIT_FSIZE, &limite);
        limite.rlim_cur = Limite;
        ::setrlimit(RLIMIT_FSIZE, &limite);
    });
}
} // namespace DvTest
