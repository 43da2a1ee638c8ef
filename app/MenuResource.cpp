#include "MenuResource.h"

#include "Resources.h"

#include <QStringList>

namespace {
// Splits a line into words; double-quoted words keep their blanks and understand the
// escapes \" \\ \n and \t.
bool SplitWords(const QString& line, QStringList& words, QString& error) {
    words.clear();
    int i = 0;
    const int n = line.size();
    while (i < n) {
        while (i < n && line[i].isSpace())
            ++i;
        if (i >= n)
            break;
        if (line[i] == QLatin1Char('"')) {
            QString word;
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar c = line[i++];
                if (c == QLatin1Char('"')) {
                    closed = true;
                    break;
                }
                if (c == QLatin1Char('\\') && i < n) {
                    const QChar e = line[i++];
                    if (e == QLatin1Char('n'))
                        word += QLatin1Char('\n');
                    else if (e == QLatin1Char('t'))
                        word += QLatin1Char('\t');
                    else
                        word += e;
                    continue;
                }
                word += c;
            }
            if (!closed) {
                error = QStringLiteral("comillas sin cerrar");
                return false;
            }
            words << word;
        } else {
            const int start = i;
            while (i < n && !line[i].isSpace())
                ++i;
            words << line.mid(start, i - start);
        }
    }
    return true;
}
} // namespace

QString CMenuResource::Prompt(const QString& command) const {
    for (const auto& [name, prompt] : m_prompts)
        if (name == command)
            return prompt;
    return QString();
}

QString CMenuResource::StatusText(const QString& command) const {
    return Prompt(command).section(QLatin1Char('\n'), 0, 0);
}

QString CMenuResource::ToolTip(const QString& command) const {
    const QString prompt = Prompt(command);
    const int newline = prompt.indexOf(QLatin1Char('\n'));
    return newline < 0 ? prompt : prompt.mid(newline + 1);
}

std::vector<QString> CMenuResource::KeysOf(const QString& command) const {
    std::vector<QString> keys;
    for (const CAccelerator& accelerator : accelerators)
        if (accelerator.command == command)
            keys.push_back(accelerator.keys);
    return keys;
}

bool CMenuResource::Parse(const QString& text, CMenuResource& out, QString* error) {
    out = CMenuResource();
    CMenuPopup* popup = nullptr;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int number = 1; number <= lines.size(); ++number) {
        const QString line = lines[number - 1].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        QStringList words;
        QString reason;
        auto fail = [&](const QString& why) {
            if (error)
                *error = QStringLiteral("línea %1: %2").arg(number).arg(why);
            return false;
        };
        if (!SplitWords(line, words, reason))
            return fail(reason);
        const QString keyword = words.takeFirst();
        if (keyword == QLatin1String("popup")) {
            if (popup)
                return fail(QStringLiteral("\"popup\" dentro de otro menú"));
            if (words.size() != 1)
                return fail(QStringLiteral("\"popup\" lleva un texto"));
            out.popups.push_back(CMenuPopup{words[0], {}});
            popup = &out.popups.back();
        } else if (keyword == QLatin1String("end")) {
            if (!popup)
                return fail(QStringLiteral("\"end\" sin \"popup\""));
            popup = nullptr;
        } else if (keyword == QLatin1String("item")) {
            if (!popup)
                return fail(QStringLiteral("\"item\" fuera de un menú"));
            if (words.size() < 2 || words.size() > 3)
                return fail(QStringLiteral("\"item\" lleva orden, texto y aviso opcional"));
            popup->items.push_back(CMenuItem{words[0], words[1]});
            if (words.size() == 3)
                out.m_prompts.emplace_back(words[0], words[2]);
        } else if (keyword == QLatin1String("separator")) {
            if (!words.isEmpty())
                return fail(QStringLiteral("\"separator\" no lleva nada más"));
            if (popup)
                popup->items.push_back(CMenuItem{});
            else
                out.toolbar.push_back(CToolbarButton{});
        } else if (keyword == QLatin1String("accel")) {
            if (popup || words.size() != 2)
                return fail(QStringLiteral("\"accel\" lleva orden y teclas, fuera de los menús"));
            out.accelerators.push_back(CAccelerator{words[0], words[1]});
        } else if (keyword == QLatin1String("button")) {
            if (popup || words.size() != 2)
                return fail(QStringLiteral("\"button\" lleva orden e icono, fuera de los menús"));
            out.toolbar.push_back(CToolbarButton{words[0], words[1]});
        } else if (keyword == QLatin1String("prompt")) {
            if (words.size() != 2)
                return fail(QStringLiteral("\"prompt\" lleva orden y aviso"));
            out.m_prompts.emplace_back(words[0], words[1]);
        } else {
            return fail(QStringLiteral("palabra desconocida \"%1\"").arg(keyword));
        }
    }
    if (popup) {
        if (error)
            *error = QStringLiteral("falta \"end\" del menú \"%1\"").arg(popup->text);
        return false;
    }
    return true;
}

bool CMenuResource::Load(int id, CMenuResource& out, QString* error) {
    const QString path = QStringLiteral(":/menu/%1.menu").arg(id);
    const QByteArray bytes = DvResources::Read(path);
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("no existe %1").arg(path);
        out = CMenuResource();
        return false;
    }
    return Parse(QString::fromUtf8(bytes), out, error);
}
