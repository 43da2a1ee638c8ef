#pragma once
// What the headless commands share: reading their arguments, their usage text and
// messages, checking and writing the output file, reading a number argument and
// finding the service the user named by its ID or its name.
//
// Every command follows the same pattern:
//
//   const char* const kUso =
//       "Uso: dravonela foo --bd FICHERO [--demo] [--salida FICHERO]\n"
//       "  Hace foo.\n"
//       "  --demo  ...\n";
//
//   int RunFoo(int argc, char** argv) {
//       QCoreApplication app(argc, argv);
//       DvOrden::COrden orden("foo", kUso);
//       QString bd, salida;
//       bool demo = false;
//       orden.Valor("--bd", &bd);
//       orden.Valor("--salida", &salida);
//       orden.Interruptor("--demo", &demo);
//       if (const int fin = orden.Leer(argc, argv); fin != DvOrden::Seguir)
//           return fin; // --help (0), or a bad argument (2), already printed
//       if (bd.isEmpty())
//           return orden.ErrorDeUso("falta --bd");
//       if (const int fin = orden.ComprobarSalida(salida, bd); fin != DvOrden::Seguir)
//           return fin; // the database itself, a folder, a device ... (2)
//       ...
//       return orden.EscribirSalida(salida, bytes); // 0, or 1 after its message
//   }
//
// "--help" (also "-h" and "--ayuda") prints the usage text on standard output and the
// command ends with 0; an unknown option, an option without its value or a word too
// many prints "dravonela foo: <why>" and the usage text on standard error and ends
// with 2. Messages are one line on standard error, "dravonela foo: <text>".

#include <QString>
#include <QStringList>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

class QByteArray;

namespace DvOrden {
constexpr int SalidaUso = 2;
constexpr int SalidaBaseDatos = 1;
// Leer and ComprobarSalida: the command goes on.
constexpr int Seguir = -1;

// One headless command's arguments and messages.
class COrden {
public:
    // The command's name ("informe") and its usage text (Spanish, ending in a newline).
    COrden(const char* nombre, const char* uso);

    // An option followed by its value ("--mes 3"); dada, when given, tells it was there.
    void Valor(const char* opcion, QString* valor, bool* dada = nullptr);
    // An option on its own ("--demo").
    void Interruptor(const char* opcion, bool* activo);
    // A word that is not an option ("crear-bd FICHERO"), taken in the order declared.
    void Posicional(QString* valor);

    // Reads the words after the command's name (argv[2] on). Seguir, or the exit code
    // the command returns at once (its text has been printed).
    int Leer(int argc, char** argv);
    int Leer(const QStringList& palabras);

    // "dravonela <command>: <text>" on one line of standard error.
    void Error(const QString& texto) const;
    // The month (1 to 12) and the year (minimo to maximo) of --mes and --anio; false after
    // the message, when the command returns SalidaUso.
    bool LeerMes(const QString& texto, int* mes) const;
    bool LeerAnio(const QString& texto, int* anio, int minimo = 2001, int maximo = 9999) const;
    // The message, then the usage text, on standard error; returns SalidaUso.
    int ErrorDeUso(const QString& texto) const;
    void ImprimirUso(std::FILE* destino) const;

    // The output file may be written? The database file bd (protected from here on), a
    // folder, a device or a FIFO is refused with its message (SalidaUso). "-" is
    // standard output when salidaEstandar. Seguir when it may be tried.
    int ComprobarSalida(const QString& salida, const QString& bd, bool salidaEstandar = true) const;
    // Writes the bytes through the program's one writer: 0, or SalidaBaseDatos after
    // the message (a full disk, a folder that does not exist ...).
    int EscribirSalida(const QString& salida, const QByteArray& bytes,
                       bool salidaEstandar = true) const;

private:
    struct COpcion {
        QString nombre;
        QString* valor = nullptr; // null: a switch
        bool* marca = nullptr;
    };
    const COpcion* Buscar(const QString& palabra) const;

    QString m_nombre;
    const char* m_uso;
    std::vector<COpcion> m_opciones;
    std::vector<QString*> m_posicionales;
};

// Standard error holds the command's own messages only: the toolkit's warnings and
// notes (a runtime folder it would like, a font it replaced) are dropped; only a fatal
// message, which ends the program, still shows.
void CallarAvisosDelToolkit();

bool LeerEntero(const QString& texto, int& valor);
// The service named by its ID or, failing that, by its name (exact letter case first,
// then any case); -1 when none, -2 when the name is ambiguous. Its name goes to nombre.
int BuscarServicio(const QString& texto, QString& nombre);

// The database of a headless command, opened, with the service it names.
struct CBaseOrden {
    // Database failures are collected here instead of shown in a box; shared with the
    // connection's sink, which outlives the command.
    std::shared_ptr<QStringList> errores = std::make_shared<QStringList>();
    int servicio = -1;
    QString nombreServicio;
};

// Opens the file (the given password, or the settings' one when there is none) and finds
// the service. A file that is not a roster database is refused untouched. Returns 0, or
// the exit code after writing its one-line message through error.
int AbrirBaseYServicio(const QString& bd, const QString* clave, const QString& servicioTexto,
                       const std::function<void(const QString&)>& error, CBaseOrden& base);
// The same without a service (commands about one worker).
int AbrirBase(const QString& bd, const QString* clave,
              const std::function<void(const QString&)>& error, CBaseOrden& base);
} // namespace DvOrden
