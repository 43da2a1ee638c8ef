#pragma once
// The program's icons, from the compiled-in resources (":/icons/<name>-<size>.png").

#include <QIcon>
#include <QString>

namespace DvIcons {
// Every size of ":/icons/<name>-<size>.png" in one icon; a null icon when there is none.
QIcon Load(const QString& name);
// The program's icon (windows, About box).
QIcon Programa();
} // namespace DvIcons
