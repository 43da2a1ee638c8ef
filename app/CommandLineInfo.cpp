#include "CommandLineInfo.h"

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
