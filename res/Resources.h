#pragma once
// Access to the compiled-in resources (":/sql/...", ":/dialogs/...", ...).

#include <QByteArray>
#include <QString>

namespace DvResources {
// The whole content of a resource file, or an empty array when it does not exist.
QByteArray Read(const QString& path);
QString ReadText(const QString& path);
} // namespace DvResources
