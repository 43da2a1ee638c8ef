#pragma once
// What the headless commands share: reading a number argument and finding the service
// the user named by its ID or its name.

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

namespace DvOrden {
bool LeerEntero(const QString& texto, int& valor);
// The service named by its ID or, failing that, by its name (exact letter case first,
// then any case); -1 when none, -2 when the name is ambiguous. Its name goes to nombre.
int BuscarServicio(const QString& texto, QString& nombre);

// Reads "--option value" pairs into the texts of `opciones` (option -> text) and lists
// the options given in `dadas`. True with *ayuda set for --help, -h or --ayuda. False
// with the one-line reason for an unknown option or one without its value.
bool LeerOpciones(const QStringList& args, const std::map<QString, QString*>& opciones, bool* ayuda,
                  QStringList* dadas, QString* error);

constexpr int SalidaUso = 2;
constexpr int SalidaBaseDatos = 1;

// The database of a headless command, opened, with the service it names.
struct CBaseOrden {
    // Database failures are collected here instead of shown in a box; shared with the
    // connection's sink, which outlives the command.
    std::shared_ptr<QStringList> errores = std::make_shared<QStringList>();
    int servicio = -1;
    QString nombreServicio;
};

// Opens the file (the given password, or the settings' one when there is none) and finds
// the service. Returns 0, or the exit code after writing its one-line message through
// error.
int AbrirBaseYServicio(const QString& bd, const QString* clave, const QString& servicioTexto,
                       const std::function<void(const QString&)>& error, CBaseOrden& base);
// The same without a service (commands about one worker).
int AbrirBase(const QString& bd, const QString* clave,
              const std::function<void(const QString&)>& error, CBaseOrden& base);
} // namespace DvOrden
