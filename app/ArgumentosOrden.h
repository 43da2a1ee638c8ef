#pragma once
// What the headless commands share: reading a number argument and finding the service
// the user named by its ID or its name.

#include <QString>

namespace DvOrden {
bool LeerEntero(const QString& texto, int& valor);
// The service named by its ID or, failing that, by its name (exact letter case first,
// then any case); -1 when none, -2 when the name is ambiguous. Its name goes to nombre.
int BuscarServicio(const QString& texto, QString& nombre);
} // namespace DvOrden
