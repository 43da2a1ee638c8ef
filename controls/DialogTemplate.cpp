#include "DialogTemplate.h"

#include "Resources.h"

#include <QStringList>

namespace {
struct KindName {
    ControlKind kind;
    const char* name;
};
constexpr KindName kKindNames[] = {
    {ControlKind::PushButton, "button"},
    {ControlKind::DefPushButton, "defbutton"},
    {ControlKind::Label, "label"},
    {ControlKind::GroupBox, "group"},
    {ControlKind::Edit, "edit"},
    {ControlKind::SpecialEdit, "special"},
    {ControlKind::CheckBox, "check"},
    {ControlKind::RadioButton, "radio"},
    {ControlKind::ComboBox, "combo"},
    {ControlKind::ListBox, "listbox"},
    {ControlKind::Placeholder, "placeholder"},
    {ControlKind::ProgressBar, "progress"},
    {ControlKind::Icon, "icon"},
};

struct StyleName {
    unsigned style;
    const char* name;
};
constexpr StyleName kControlStyles[] = {
    {ControlStyle::Hidden, "hidden"},     {ControlStyle::Disabled, "disabled"},
    {ControlStyle::Center, "center"},     {ControlStyle::Right, "right"},
    {ControlStyle::TabStop, "tabstop"},   {ControlStyle::NoTabStop, "notabstop"},
    {ControlStyle::Group, "group"},       {ControlStyle::Sorted, "sorted"},
    {ControlStyle::ReadOnly, "readonly"}, {ControlStyle::Password, "password"},
    {ControlStyle::Number, "number"},     {ControlStyle::Border, "border"},
    {ControlStyle::NoWrap, "nowrap"},     {ControlStyle::Editable, "editable"},
    {ControlStyle::ThreeState, "3state"}, {ControlStyle::Default, "default"},
    {ControlStyle::Sunken, "sunken"},     {ControlStyle::Uppercase, "uppercase"},
};
constexpr StyleName kDialogStyles[] = {
    {DialogStyle::Popup, "popup"},           {DialogStyle::Child, "child"},
    {DialogStyle::Caption, "caption"},       {DialogStyle::SysMenu, "sysmenu"},
    {DialogStyle::ModalFrame, "modalframe"}, {DialogStyle::DialogFrame, "dlgframe"},
    {DialogStyle::Visible, "visible"},
};

struct Token {
    QString text;
    bool quoted = false;
};

// Splits a line into words and quoted texts. A word starting with '#' ends the line.
bool Tokenize(const QString& line, std::vector<Token>& tokens, QString& error) {
    int i = 0;
    const int n = line.size();
    while (i < n) {
        const QChar c = line.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('#'))
            break;
        Token token;
        if (c == QLatin1Char('"')) {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar q = line.at(i++);
                if (q == QLatin1Char('"')) {
                    closed = true;
                    break;
                }
                if (q == QLatin1Char('\\')) {
                    if (i >= n)
                        break;
                    const QChar e = line.at(i++);
                    if (e == QLatin1Char('n'))
                        token.text += QLatin1Char('\n');
                    else if (e == QLatin1Char('t'))
                        token.text += QLatin1Char('\t');
                    else if (e == QLatin1Char('"') || e == QLatin1Char('\\'))
                        token.text += e;
                    else {
                        error = QStringLiteral("escape desconocido \\%1").arg(e);
                        return false;
                    }
                    continue;
                }
                token.text += q;
            }
            if (!closed) {
                error = QStringLiteral("falta la comilla de cierre");
                return false;
            }
            if (i < n && !line.at(i).isSpace()) {
                error = QStringLiteral("falta un blanco tras el texto entre comillas");
                return false;
            }
        } else {
            while (i < n && !line.at(i).isSpace())
                token.text += line.at(i++);
        }
        tokens.push_back(token);
    }
    return true;
}

bool ToInt(const Token& token, int& value) {
    if (token.quoted)
        return false;
    bool ok = false;
    value = token.text.toInt(&ok);
    return ok;
}

QString Quote(const QString& text) {
    QString result = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            result += QLatin1Char('\\') + QString(c);
        else if (c == QLatin1Char('\n'))
            result += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            result += QStringLiteral("\\t");
        else
            result += c;
    }
    return result + QLatin1Char('"');
}

template <size_t N> QString StyleWords(unsigned styles, const StyleName (&names)[N]) {
    QString result;
    for (const StyleName& s : names) {
        if (styles & s.style)
            result += QLatin1Char(' ') + QLatin1String(s.name);
    }
    return result;
}

template <size_t N>
bool StyleFromName(const QString& word, const StyleName (&names)[N], unsigned& style) {
    for (const StyleName& s : names) {
        if (word == QLatin1String(s.name)) {
            style = s.style;
            return true;
        }
    }
    return false;
}
} // namespace

QString ControlKindName(ControlKind kind) {
    for (const KindName& k : kKindNames) {
        if (k.kind == kind)
            return QLatin1String(k.name);
    }
    return QString();
}

bool ControlKindFromName(const QString& name, ControlKind& kind) {
    for (const KindName& k : kKindNames) {
        if (name == QLatin1String(k.name)) {
            kind = k.kind;
            return true;
        }
    }
    return false;
}

CDialogTemplate MakeDatePickerTemplate() {
    CDialogTemplate dialog;
    dialog.id = 0;
    dialog.rect = QRect(0, 0, 180, 100);
    dialog.styles = DialogStyle::Popup | DialogStyle::Visible | DialogStyle::DialogFrame |
                    DialogStyle::ModalFrame;
    CControlTemplate calendar;
    calendar.kind = ControlKind::Placeholder;
    calendar.id = 100;
    calendar.rect = QRect(0, 0, 180, 100);
    dialog.controls.push_back(calendar);
    return dialog;
}

const CControlTemplate* CDialogTemplate::Find(int controlId) const {
    for (const CControlTemplate& control : controls) {
        if (control.id == controlId)
            return &control;
    }
    return nullptr;
}

QString CDialogTemplate::ResourcePath(int id) {
    return QStringLiteral(":/dialogs/%1.dlg").arg(id);
}

bool CDialogTemplate::Load(int id, CDialogTemplate& out, QString* error) {
    const QString path = ResourcePath(id);
    const QByteArray data = DvResources::Read(path);
    if (data.isEmpty()) {
        if (error)
            *error = QStringLiteral("%1: no existe la plantilla").arg(path);
        return false;
    }
    QString why;
    if (!Parse(QString::fromUtf8(data), out, &why)) {
        if (error)
            *error = path + QStringLiteral(": ") + why;
        return false;
    }
    if (out.id != id) {
        if (error)
            *error = QStringLiteral("%1: la plantilla dice ser la %2").arg(path).arg(out.id);
        return false;
    }
    return true;
}

bool CDialogTemplate::Parse(const QString& text, CDialogTemplate& out, QString* error) {
    out = CDialogTemplate();
    out.styles = 0;
    bool haveDialog = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int index = 0; index < lines.size(); ++index) {
        auto fail = [&](const QString& why) {
            if (error)
                *error = QStringLiteral("línea %1: %2").arg(index + 1).arg(why);
            return false;
        };
        std::vector<Token> tokens;
        QString why;
        if (!Tokenize(lines.at(index), tokens, why))
            return fail(why);
        if (tokens.empty())
            continue;
        const Token& head = tokens.front();
        if (head.quoted)
            return fail(QStringLiteral("se esperaba una palabra clave"));
        const QString& word = head.text;

        if (word == QLatin1String("dialog")) {
            if (haveDialog)
                return fail(QStringLiteral("línea «dialog» repetida"));
            int values[5];
            if (tokens.size() < 6)
                return fail(QStringLiteral("«dialog» necesita id, x, y, ancho y alto"));
            for (int k = 0; k < 5; ++k) {
                if (!ToInt(tokens[k + 1], values[k]))
                    return fail(QStringLiteral("número no válido «%1»").arg(tokens[k + 1].text));
            }
            if (values[3] < 0 || values[4] < 0)
                return fail(QStringLiteral("tamaño negativo"));
            out.id = values[0];
            out.rect = QRect(values[1], values[2], values[3], values[4]);
            for (size_t k = 6; k < tokens.size(); ++k) {
                unsigned style = 0;
                if (tokens[k].quoted || !StyleFromName(tokens[k].text, kDialogStyles, style))
                    return fail(
                        QStringLiteral("estilo de diálogo desconocido «%1»").arg(tokens[k].text));
                out.styles |= style;
            }
            haveDialog = true;
            continue;
        }
        if (!haveDialog)
            return fail(QStringLiteral("la plantilla debe empezar por «dialog»"));

        if (word == QLatin1String("title")) {
            if (tokens.size() != 2 || !tokens[1].quoted)
                return fail(QStringLiteral("«title» necesita un texto entre comillas"));
            out.title = tokens[1].text;
            continue;
        }
        if (word == QLatin1String("font")) {
            int size = 0;
            if (tokens.size() != 3 || !ToInt(tokens[1], size) || size <= 0 || !tokens[2].quoted)
                return fail(QStringLiteral("«font» necesita un tamaño y un nombre entre comillas"));
            out.fontPointSize = size;
            out.fontFace = tokens[2].text;
            continue;
        }

        CControlTemplate control;
        if (!ControlKindFromName(word, control.kind))
            return fail(QStringLiteral("tipo de control desconocido «%1»").arg(word));
        if (tokens.size() < 7)
            return fail(QStringLiteral("un control necesita id, texto, x, y, ancho y alto"));
        if (!ToInt(tokens[1], control.id))
            return fail(QStringLiteral("id no válido «%1»").arg(tokens[1].text));
        if (!tokens[2].quoted)
            return fail(QStringLiteral("el texto del control va entre comillas"));
        control.text = tokens[2].text;
        int geometry[4];
        for (int k = 0; k < 4; ++k) {
            if (!ToInt(tokens[k + 3], geometry[k]))
                return fail(QStringLiteral("número no válido «%1»").arg(tokens[k + 3].text));
        }
        if (geometry[2] < 0 || geometry[3] < 0)
            return fail(QStringLiteral("tamaño negativo"));
        control.rect = QRect(geometry[0], geometry[1], geometry[2], geometry[3]);
        for (size_t k = 7; k < tokens.size(); ++k) {
            const Token& t = tokens[k];
            if (!t.quoted && t.text.startsWith(QLatin1String("class="))) {
                control.className = t.text.mid(6);
                if (control.className.isEmpty())
                    return fail(QStringLiteral("«class=» sin nombre"));
                continue;
            }
            unsigned style = 0;
            if (t.quoted || !StyleFromName(t.text, kControlStyles, style))
                return fail(QStringLiteral("estilo de control desconocido «%1»").arg(t.text));
            control.styles |= style;
        }
        if (control.kind == ControlKind::DefPushButton)
            control.styles |= ControlStyle::Default;
        out.controls.push_back(control);
    }
    if (!haveDialog) {
        if (error)
            *error = QStringLiteral("falta la línea «dialog»");
        return false;
    }
    return true;
}

QString CDialogTemplate::ToText() const {
    QString result = QStringLiteral("dialog %1 %2 %3 %4 %5")
                         .arg(id)
                         .arg(rect.x())
                         .arg(rect.y())
                         .arg(rect.width())
                         .arg(rect.height());
    result += StyleWords(styles, kDialogStyles) + QLatin1Char('\n');
    result += QStringLiteral("title ") + Quote(title) + QLatin1Char('\n');
    result += QStringLiteral("font %1 ").arg(fontPointSize) + Quote(fontFace) + QLatin1Char('\n');
    for (const CControlTemplate& c : controls) {
        unsigned styles = c.styles;
        if (c.kind == ControlKind::DefPushButton)
            styles &= ~ControlStyle::Default;
        result += ControlKindName(c.kind) + QStringLiteral(" %1 ").arg(c.id) + Quote(c.text) +
                  QStringLiteral(" %1 %2 %3 %4")
                      .arg(c.rect.x())
                      .arg(c.rect.y())
                      .arg(c.rect.width())
                      .arg(c.rect.height()) +
                  StyleWords(styles, kControlStyles);
        if (!c.className.isEmpty())
            result += QStringLiteral(" class=") + c.className;
        result += QLatin1Char('\n');
    }
    return result;
}
