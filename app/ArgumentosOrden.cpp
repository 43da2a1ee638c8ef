#include "ArgumentosOrden.h"

#include "ArchivoSalida.h"
#include "DbConnection.h"
#include "DbQuery.h"
#include "Schema.h"
#include "Settings.h"

#include <QByteArray>
#include <QFileInfo>

namespace DvOrden {
namespace {
bool PideAyuda(const QString& palabra) {
    return palabra == QLatin1String("--help") || palabra == QLatin1String("-h") ||
           palabra == QLatin1String("--ayuda");
}
} // namespace

COrden::COrden(const char* nombre, const char* uso)
    : m_nombre(QString::fromUtf8(nombre)), m_uso(uso) {}

void COrden::Valor(const char* opcion, QString* valor, bool* dada) {
    m_opciones.push_back({QString::fromUtf8(opcion), valor, dada});
}

void COrden::Interruptor(const char* opcion, bool* activo) {
    m_opciones.push_back({QString::fromUtf8(opcion), nullptr, activo});
}

void COrden::Posicional(QString* valor) {
    m_posicionales.push_back(valor);
}

const COrden::COpcion* COrden::Buscar(const QString& palabra) const {
    for (const COpcion& opcion : m_opciones)
        if (opcion.nombre == palabra)
            return &opcion;
    return nullptr;
}

int COrden::Leer(int argc, char** argv) {
    QStringList palabras;
    for (int i = 2; i < argc; ++i)
        palabras << QString::fromLocal8Bit(argv[i]);
    return Leer(palabras);
}

int COrden::Leer(const QStringList& palabras) {
    // Help wins wherever it stands, so "informe --mes 3 --help" still helps.
    for (int i = 0; i < palabras.size(); ++i) {
        const COpcion* opcion = Buscar(palabras[i]);
        if (opcion && opcion->valor) {
            ++i; // a value, whatever it looks like
            continue;
        }
        if (PideAyuda(palabras[i])) {
            ImprimirUso(stdout);
            return 0;
        }
    }
    size_t siguiente = 0;
    for (int i = 0; i < palabras.size(); ++i) {
        const QString& palabra = palabras[i];
        if (const COpcion* opcion = Buscar(palabra)) {
            if (opcion->marca)
                *opcion->marca = true;
            if (!opcion->valor)
                continue;
            if (i + 1 >= palabras.size())
                return ErrorDeUso(QStringLiteral("falta el valor de %1").arg(palabra));
            *opcion->valor = palabras[++i];
            continue;
        }
        // "-" alone is a word (standard output where a command allows it).
        const bool esOpcion = palabra.startsWith(QLatin1Char('-')) && palabra.size() > 1;
        if (esOpcion || siguiente >= m_posicionales.size())
            return ErrorDeUso(QStringLiteral("argumento no reconocido: %1").arg(palabra));
        *m_posicionales[siguiente++] = palabra;
    }
    return Seguir;
}

void COrden::Error(const QString& texto) const {
    QString linea = texto;
    linea.replace(QLatin1Char('\r'), QLatin1Char(' '));
    linea.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "dravonela %s: %s\n", m_nombre.toLocal8Bit().constData(),
                 linea.simplified().toLocal8Bit().constData());
    std::fflush(stderr);
}

bool COrden::LeerMes(const QString& texto, int* mes) const {
    if (LeerEntero(texto, *mes) && *mes >= 1 && *mes <= 12)
        return true;
    Error(QStringLiteral("el mes debe ser un número de 1 a 12: %1").arg(texto));
    return false;
}

bool COrden::LeerAnio(const QString& texto, int* anio, int minimo, int maximo) const {
    if (LeerEntero(texto, *anio) && *anio >= minimo && *anio <= maximo)
        return true;
    Error(minimo == 2001
              ? QStringLiteral("el año debe ser un número posterior a 2000: %1").arg(texto)
              : QStringLiteral("el año debe ser un número de %1 a %2: %3")
                    .arg(minimo)
                    .arg(maximo)
                    .arg(texto));
    return false;
}

int COrden::ErrorDeUso(const QString& texto) const {
    Error(texto);
    ImprimirUso(stderr);
    return SalidaUso;
}

void COrden::ImprimirUso(std::FILE* destino) const {
    std::fputs(m_uso, destino);
    std::fflush(destino);
}

int COrden::ComprobarSalida(const QString& salida, const QString& bd, bool salidaEstandar) const {
    DvArchivo::Proteger(bd);
    if (salidaEstandar && salida == QLatin1String("-"))
        return Seguir;
    const QString motivo = DvArchivo::MotivoRechazo(salida);
    if (motivo.isEmpty())
        return Seguir;
    Error(motivo);
    return SalidaUso;
}

int COrden::EscribirSalida(const QString& salida, const QByteArray& bytes,
                           bool salidaEstandar) const {
    QString error;
    if (DvArchivo::Escribir(salida, bytes, &error, salidaEstandar))
        return 0;
    Error(error);
    return SalidaBaseDatos;
}

void CallarAvisosDelToolkit() {
    static QtMessageHandler anterior = nullptr;
    anterior = qInstallMessageHandler(
        [](QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
            if (tipo != QtFatalMsg)
                return;
            if (anterior)
                anterior(tipo, contexto, texto);
            else
                std::fprintf(stderr, "%s\n", texto.toLocal8Bit().constData());
        });
}

bool LeerEntero(const QString& texto, int& valor) {
    bool ok = false;
    valor = texto.trimmed().toInt(&ok);
    return ok;
}

int BuscarServicio(const QString& texto, QString& nombre) {
    struct CServicio {
        int id;
        QString nombre;
    };
    std::vector<CServicio> servicios;
    CDbQuery consulta;
    CDbRecordset filas =
        consulta.Open(QStringLiteral("SELECT ID, NOMBRE FROM FUNCIONES ORDER BY ID"));
    while (!filas.IsEOF()) {
        servicios.push_back({filas.GetInt(0), filas.GetText(1)});
        filas.MoveNext();
    }
    filas.Close();
    int id = 0;
    if (LeerEntero(texto, id))
        for (const CServicio& servicio : servicios)
            if (servicio.id == id) {
                nombre = servicio.nombre;
                return id;
            }
    const QString buscado = texto.trimmed();
    for (const Qt::CaseSensitivity caso : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        int encontrado = -1;
        int cuantos = 0;
        for (const CServicio& servicio : servicios)
            if (servicio.nombre.compare(buscado, caso) == 0) {
                encontrado = servicio.id;
                nombre = servicio.nombre;
                ++cuantos;
            }
        if (cuantos == 1)
            return encontrado;
        if (cuantos > 1)
            return -2;
    }
    return -1;
}

int AbrirBase(const QString& bd, const QString* clave,
              const std::function<void(const QString&)>& error, CBaseOrden& base) {
    QStringList& errores = *base.errores;
    auto lista = base.errores;
    // Nothing of the program's is ever written over this file in this run.
    DvArchivo::Proteger(bd);
    if (DvSchema::InspectFile(bd) == DvSchema::FileKind::Foreign) {
        error(DvSchema::ForeignFileMessage(bd));
        return SalidaBaseDatos;
    }
    CDbConnection& conexion = CDbConnection::Instance();
    conexion.SetErrorSink([lista](const QString& texto) { *lista << texto; });
    if (!conexion.OpenFile(bd, clave ? *clave : DvSettings::DbPassword())) {
        const QString detalle = errores.isEmpty() ? QString() : errores.first();
        if (detalle.contains(QStringLiteral("contraseña")))
            error(QStringLiteral("la contraseña de la base de datos %1 no es válida").arg(bd));
        else
            error(QStringLiteral("no se pudo abrir la base de datos %1: %2")
                      .arg(bd, detalle.section(QLatin1Char('\r'), -1)));
        return SalidaBaseDatos;
    }
    errores.clear();
    return 0;
}

int AbrirBaseYServicio(const QString& bd, const QString* clave, const QString& servicioTexto,
                       const std::function<void(const QString&)>& error, CBaseOrden& base) {
    if (const int salida = AbrirBase(bd, clave, error, base))
        return salida;
    QStringList& errores = *base.errores;
    base.servicio = BuscarServicio(servicioTexto, base.nombreServicio);
    if (!errores.isEmpty()) {
        error(QStringLiteral("error de base de datos: %1").arg(errores.first()));
        return SalidaBaseDatos;
    }
    if (base.servicio == -2) {
        error(QStringLiteral("hay varios servicios llamados %1; indique su número")
                  .arg(servicioTexto));
        return SalidaUso;
    }
    if (base.servicio < 0) {
        error(QStringLiteral("no existe el servicio %1").arg(servicioTexto));
        return SalidaUso;
    }
    return 0;
}
} // namespace DvOrden
