#pragma once
// A folder on which nothing more can be written, for the tests of what a failed write
// leaves behind.
//
//   DvTest::CDiscoLleno disco;
//   QVERIFY(disco.Preparar(carpeta, {{"informe.csv", "anterior"}}));
//   {
//       const auto limite = disco.Limitar(); // in this process
//       ... write into carpeta: it fails ...
//   }
//   disco.Aplicar(proceso); // or in a child process
//
// Where the test may mount file systems, the folder is a small tmpfs of a mount
// namespace of the test's own (gone with the test), holding the given files and then
// filled to the last page: every write fails with ENOSPC. Elsewhere the same folder
// is an ordinary one, and writes fail through a file size limit (RLIMIT_FSIZE, with
// SIGXFSZ ignored so the write returns EFBIG) set while Limitar's guard lives, or in
// the child processes given to Aplicar. DV_SIN_TMPFS=1 in the environment asks for the
// limit even where mounting would work.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <sys/resource.h>

class QProcess;

namespace DvTest {
class CDiscoLleno {
public:
    // Files of at most this size can be written under the limit (tmpfs: none).
    static constexpr rlim_t Limite = 16;

    // Makes carpeta (created when missing) hold these files and nothing more fit.
    bool Preparar(const QString& carpeta, const QMap<QString, QByteArray>& ficheros);
    // True when the folder is a full tmpfs; false when the file size limit stands in.
    bool EsTmpfs() const { return m_tmpfs; }

    class CGuarda {
    public:
        explicit CGuarda(bool activa);
        ~CGuarda();
        CGuarda(const CGuarda&) = delete;
        CGuarda& operator=(const CGuarda&) = delete;

    private:
        bool m_activa;
        struct rlimit m_anterior {};
        void (*m_senal)(int) = nullptr;
    };
    // The file size limit in this process while the guard lives (nothing on tmpfs).
    CGuarda Limitar() const { return CGuarda(!m_tmpfs); }
    // The file size limit in the process's children (nothing on tmpfs).
    void Aplicar(QProcess& proceso) const;

private:
    bool m_tmpfs = false;
};
} // namespace DvTest
