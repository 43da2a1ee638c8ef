#include "ArchivoInforme.h"

#include "ArchivoSalida.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {
// The length of the UTF-8 sequence that starts with `byte` (1 for a stray byte).
int LargoUtf8(unsigned char byte) {
    if (byte >= 0xF0)
        return 4;
    if (byte >= 0xE0)
        return 3;
    if (byte >= 0xC0)
        return 2;
    return 1;
}

// Lines end in CR LF: a bare LF gets its CR, a bare CR its LF.
QString FinesDeLinea(const QString& texto) {
    QString salida;
    salida.reserve(texto.size() + texto.size() / 40 + 2);
    for (int i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (c == QLatin1Char('\r')) {
            salida += QLatin1String("\r\n");
            if (i + 1 < texto.size() && texto[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            salida += QLatin1String("\r\n");
        } else {
            salida += c;
        }
    }
    return salida;
}
} // namespace

bool TextoAWindows1252(const QString& texto, QByteArray& bytes) {
    bytes.clear();
    iconv_t conversor = iconv_open("WINDOWS-1252", "UTF-8");
    if (conversor == reinterpret_cast<iconv_t>(-1))
        return false;
    QByteArray entrada = FinesDeLinea(texto).toUtf8();
    bytes.resize(entrada.size() + 16);
    char* origen = entrada.data();
    size_t quedan = static_cast<size_t>(entrada.size());
    char* destino = bytes.data();
    size_t libre = static_cast<size_t>(bytes.size());
    bool ok = true;
    while (quedan > 0) {
        const size_t r = iconv(conversor, &origen, &quedan, &destino, &libre);
        if (r != static_cast<size_t>(-1))
            break;
        if (errno == EILSEQ || errno == EINVAL) {
            // No Windows-1252 form: one '?' for the whole character.
            if (libre == 0)
                break;
            *destino++ = '?';
            --libre;
            const size_t largo = std::min<size_t>(
                quedan, static_cast<size_t>(LargoUtf8(static_cast<unsigned char>(*origen))));
            origen += largo;
            quedan -= largo;
        } else if (errno == E2BIG) {
            // Cannot happen (one byte out per character in), but never write past the end.
            ok = false;
            break;
        } else {
            ok = false;
            break;
        }
    }
    iconv_close(conversor);
    if (!ok) {
        bytes.clear();
        return false;
    }
    bytes.resize(static_cast<int>(destino - bytes.data()));
    return true;
}

bool EscribirArchivoInforme(const QString& ruta, const QString& texto, QString* error,
                            bool salidaEstandar) {
    QByteArray bytes;
    if (!TextoAWindows1252(texto, bytes)) {
        if (error)
            *error = QStringLiteral("No se puede convertir el texto a Windows-1252");
        return false;
    }
    return DvArchivo::Escribir(ruta, bytes, error, salidaEstandar);
}
