#include "CommandLineInfo.h"

namespace {
bool IsSwitch(const QString& argument) {
    return argument.startsWith(QLatin1Char('-')) || argument.startsWith(QLatin1Char('/'));
}

// The toolkit's own options, which it also takes with two dashes ("--platform xcb").
const char* const ToolkitOptions[] = {
    "platform",      "platformpluginpath",
    "platformtheme", "plugin",
    "qmljsdebugger", "qwindowgeometry",
    "qwindowicon",   "qwindowtitle",
    "reverse",       "session",
    "style",         "stylesheet",
    "widgetcount",   "display",
    "geometry",      "title",
    "name",          "visual",
    "ncols",         "cmap",
    "nograb",        "dograb",
    "sync",          "fn",
    "font",          "bg",
    "background",    "fg",
    "foreground",    "btn",
    "button",        "im",
    "inputstyle",    "testability",
};
} // namespace

QString CCommandLineInfo::UnknownArgument(const QStringList& arguments) {
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (i == 0 && !IsSwitch(argument))
            return argument;
        if (!argument.startsWith(QLatin1String("--")))
            continue;
        const QString name = argument.mid(2).section(QLatin1Char('='), 0, 0);
        bool known = false;
        for (const char* option : ToolkitOptions)
            known = known || name == QLatin1String(option);
        if (!known)
            return argument;
    }
    return QString();
}

void CCommandLineInfo::Parse(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        const bool isSwitch =
            argument.startsWith(QLatin1Char('-')) || argument.startsWith(QLatin1Char('/'));
        if (!isSwitch) {
            if (m_fileName.isEmpty()) {
                m_fileName = argument;
                m_shellCommand = FileOpen;
            }
            continue;
        }
        const QString name = argument.mid(1);
        if (name.compare(QLatin1String("Embedding"), Qt::CaseInsensitive) == 0) {
            m_runEmbedded = true;
            m_shellCommand = FileNothing;
        } else if (name.compare(QLatin1String("Automation"), Qt::CaseInsensitive) == 0) {
            m_runAutomated = true;
            m_shellCommand = FileNothing;
        }
        // Any other switch (the platform's own, such as "-platform", and its value) is
        // left to the toolkit, which has already taken what it knows.
    }
}
