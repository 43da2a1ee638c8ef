#include "DialogBuilder.h"

#include "ComboList.h"
#include "MaskedEdit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStandardItemModel>
#include <QStyle>
#include <memory>

namespace {
constexpr int kSortKeyRole = Qt::UserRole + 100;

std::map<QString, ControlFactory>& ClassRegistry() {
    static std::map<QString, ControlFactory> registry = {
        {QStringLiteral("CEditSpecial"), [](QWidget* parent) { return new CEditSpecial(parent); }},
        {QStringLiteral("CComboList"), [](QWidget* parent) { return new CComboList(parent); }},
    };
    return registry;
}

// Alphabetical order as a person expects it: letter case and accents do not count,
// the text itself breaks ties.
QString SortKey(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString key;
    key.reserve(decomposed.size() * 2 + 1);
    for (QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            key += c;
    }
    return key.toCaseFolded() + QChar(0) + text;
}

// Keeps the items of a combo box in alphabetical order as they are added or renamed,
// so the item data added with a text stays with it.
void KeepSorted(QComboBox* combo) {
    auto* model = qobject_cast<QStandardItemModel*>(combo->model());
    if (!model)
        return;
    model->setSortRole(kSortKeyRole);
    auto busy = std::make_shared<bool>(false);
    auto resort = [model, busy]() {
        if (*busy)
            return;
        *busy = true;
        for (int row = 0; row < model->rowCount(); ++row) {
            QStandardItem* item = model->item(row);
            if (item)
                item->setData(SortKey(item->text()), kSortKeyRole);
        }
        model->sort(0);
        *busy = false;
    };
    QObject::connect(model, &QAbstractItemModel::rowsInserted, combo, resort);
    QObject::connect(model, &QAbstractItemModel::dataChanged, combo,
                     [resort](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                         if (roles.isEmpty() || roles.contains(Qt::DisplayRole) ||
                             roles.contains(Qt::EditRole))
                             resort();
                     });
}

QIcon IconFor(const QString& name) {
    if (!name.isEmpty()) {
        for (const char* ext : {".png", ".svg", ".ico"}) {
            const QString path = QStringLiteral(":/icons/") + name + QLatin1String(ext);
            QIcon icon(path);
            if (!icon.isNull() && !icon.availableSizes().isEmpty())
                return icon;
            if (QFile::exists(path))
                return icon;
        }
    }
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
    return icon;
}

Qt::Alignment TextAlignment(const CControlTemplate& control) {
    if (control.Has(ControlStyle::Center))
        return Qt::AlignHCenter;
    if (control.Has(ControlStyle::Right))
        return Qt::AlignRight;
    return Qt::AlignLeft;
}

bool TakesFocusByDefault(ControlKind kind) {
    switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::DefPushButton:
    case ControlKind::Edit:
    case ControlKind::SpecialEdit:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::ComboBox:
    case ControlKind::ListBox:
        return true;
    default:
        return false;
    }
}

QWidget* CreateStandard(const CControlTemplate& control, QWidget* parent) {
    switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefPushButton:
        return new QPushButton(parent);
    case ControlKind::Label:
    case ControlKind::Icon:
        return new QLabel(parent);
    case ControlKind::GroupBox:
        return new QGroupBox(parent);
    case ControlKind::Edit:
        return new QLineEdit(parent);
    case ControlKind::SpecialEdit:
        return new CEditSpecial(parent);
    case ControlKind::CheckBox:
        return new QCheckBox(parent);
    case ControlKind::RadioButton:
        return new QRadioButton(parent);
    case ControlKind::ComboBox:
        // Every list of the program carries item data (row IDs).
        return new CComboList(parent);
    case ControlKind::ListBox:
        return new QListWidget(parent);
    case ControlKind::Placeholder:
        return new QFrame(parent);
    case ControlKind::ProgressBar:
        return new QProgressBar(parent);
    }
    return new QWidget(parent);
}

// Applies the template's text and styles to whatever widget was made for the control.
void Configure(QWidget* widget, const CControlTemplate& control) {
    const Qt::Alignment align = TextAlignment(control);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(control.text);
        edit->setAlignment(align | Qt::AlignVCenter);
        if (control.Has(ControlStyle::ReadOnly))
            edit->setReadOnly(true);
        if (control.Has(ControlStyle::Password))
            edit->setEchoMode(QLineEdit::Password);
        if (control.Has(ControlStyle::Number)) {
            if (auto* special = qobject_cast<CEditSpecial*>(edit))
                special->SetDigitsOnly(true);
            else
                edit->setValidator(new QRegularExpressionValidator(
                    QRegularExpression(QStringLiteral("[0-9]*")), edit));
        }
        if (control.Has(ControlStyle::Uppercase)) {
            QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
                const QString upper = text.toUpper();
                if (upper != text) {
                    const int caret = edit->cursorPosition();
                    edit->setText(upper);
                    edit->setCursorPosition(caret);
                }
            });
        }
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setEditable(control.Has(ControlStyle::Editable));
        if (control.Has(ControlStyle::Sorted))
            KeepSorted(combo);
        combo->setProperty("sorted", control.Has(ControlStyle::Sorted));
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        list->setSortingEnabled(control.Has(ControlStyle::Sorted));
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(control.text);
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        check->setText(control.text);
        check->setTristate(control.Has(ControlStyle::ThreeState));
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(control.text);
        button->setDefault(control.Has(ControlStyle::Default));
    } else if (auto* other = qobject_cast<QAbstractButton*>(widget)) {
        other->setText(control.text);
    } else if (auto* progress = qobject_cast<QProgressBar*>(widget)) {
        progress->setRange(0, 100);
        progress->setValue(0);
        progress->setTextVisible(false);
        progress->setOrientation(Qt::Horizontal);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (control.kind == ControlKind::Icon) {
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        } else {
            label->setTextFormat(Qt::PlainText);
            label->setText(control.text);
            label->setAlignment(align | Qt::AlignTop);
            label->setWordWrap(!control.Has(ControlStyle::NoWrap));
        }
    }
    if (auto* frame = qobject_cast<QFrame*>(widget)) {
        if (control.kind == ControlKind::Label || control.kind == ControlKind::Placeholder ||
            control.kind == ControlKind::Icon) {
            if (control.Has(ControlStyle::Sunken))
                frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            else if (control.Has(ControlStyle::Border))
                frame->setFrameStyle(QFrame::Box | QFrame::Plain);
            else
                frame->setFrameStyle(QFrame::NoFrame);
        }
    }
}

// A label text with "&" marks the key that moves the focus to the control after it;
// without such a control the marks are dropped.
QString WithoutMnemonics(const QString& text) {
    QString result;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('&'))
                result += text.at(++i);
            continue;
        }
        result += text.at(i);
    }
    return result;
}
} // namespace

void CDialogItems::Add(int id, QWidget* widget) {
    m_all.emplace_back(widget);
    if (!m_byId.contains(id))
        m_byId.insert(id, widget);
}

void CDialogBuilder::RegisterClass(const QString& name, ControlFactory factory) {
    ClassRegistry()[name] = std::move(factory);
}

bool CDialogBuilder::IsClassRegistered(const QString& name) {
    return ClassRegistry().count(name) != 0;
}

int CDialogBuilder::ComboHeight(const QFont& font) {
    return QFontMetrics(font).height() + 8;
}

CDialogItems CDialogBuilder::Build(const CDialogTemplate& dialog, QWidget* parent,
                                   const CDialogUnits& units, const ControlFactories& byId,
                                   QPoint origin) {
    CDialogItems items;
    QButtonGroup* radioGroup = nullptr;
    std::vector<QWidget*> groupBoxes;
    const int iconSide = CDialogUnits::MulDiv(32, CDialogUnits::ScreenDpi(), 96);

    for (const CControlTemplate& control : dialog.controls) {
        QWidget* widget = nullptr;
        const auto byIdFactory = byId.find(control.id);
        if (byIdFactory != byId.end() && byIdFactory->second) {
            widget = byIdFactory->second(parent);
        } else if (!control.className.isEmpty()) {
            const auto registered = ClassRegistry().find(control.className);
            if (registered != ClassRegistry().end())
                widget = registered->second(parent);
            else
                qWarning("Plantilla %d, control %d: clase desconocida %s; se usa el control "
                         "normal",
                         dialog.id, control.id, qPrintable(control.className));
        }
        if (!widget)
            widget = CreateStandard(control, parent);
        if (widget->parentWidget() != parent)
            widget->setParent(parent);

        widget->setProperty("dlgId", control.id);
        widget->setObjectName(QStringLiteral("id%1").arg(control.id));
        Configure(widget, control);

        QRect rect = units.Map(control.rect).translated(origin);
        if (qobject_cast<QComboBox*>(widget)) {
            widget->setProperty("dropHeight", rect.height());
            const int closed = ComboHeight(parent->font());
            auto* combo = static_cast<QComboBox*>(widget);
            const int line = QFontMetrics(parent->font()).height() + 2;
            combo->setMaxVisibleItems(qMax(1, (rect.height() - closed) / qMax(1, line)));
            rect.setHeight(closed);
        } else if (control.kind == ControlKind::Icon) {
            const QIcon icon = IconFor(control.text);
            static_cast<QLabel*>(widget)->setPixmap(icon.pixmap(iconSide, iconSide));
            rect.setSize(QSize(iconSide, iconSide));
        }
        widget->setGeometry(rect);

        // Radio buttons: one exclusive group per run of controls that starts with a
        // "group" style (or with the first radio button after other controls).
        if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            if (!radioGroup || control.Has(ControlStyle::Group)) {
                radioGroup = new QButtonGroup(parent);
                radioGroup->setExclusive(true);
            }
            radioGroup->addButton(radio);
        } else {
            radioGroup = nullptr;
        }

        const bool tabStop =
            control.Has(ControlStyle::TabStop) ||
            (TakesFocusByDefault(control.kind) && !control.Has(ControlStyle::NoTabStop));
        if (!TakesFocusByDefault(control.kind) && !control.Has(ControlStyle::TabStop))
            widget->setFocusPolicy(Qt::NoFocus);
        else
            widget->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);

        widget->setEnabled(!control.Has(ControlStyle::Disabled));
        widget->setVisible(!control.Has(ControlStyle::Hidden));
        if (control.kind == ControlKind::GroupBox)
            groupBoxes.push_back(widget);
        items.Add(control.id, widget);
    }

    // Mnemonics of labels lead to the next control that takes the focus.
    const auto& all = items.All();
    for (size_t i = 0; i < all.size(); ++i) {
        auto* label = qobject_cast<QLabel*>(all[i].data());
        if (!label || !label->text().contains(QLatin1Char('&')))
            continue;
        QWidget* buddy = nullptr;
        for (size_t j = i + 1; j < all.size() && !buddy; ++j) {
            if (all[j] && all[j]->focusPolicy() != Qt::NoFocus)
                buddy = all[j];
        }
        if (buddy)
            label->setBuddy(buddy);
        else
            label->setText(WithoutMnemonics(label->text()));
    }
    for (QWidget* group : groupBoxes)
        group->lower();
    return items;
}

QString DvGetWindowText(const QWidget* widget) {
    if (!widget)
        return QString();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    if (auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->currentText();
    return widget->windowTitle();
}

void DvSetWindowText(QWidget* widget, const QString& text) {
    if (!widget)
        return;
    if (auto* special = qobject_cast<CEditSpecial*>(widget))
        special->SetDisplayText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(text);
    else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentIndex(combo->findText(text));
    } else
        widget->setWindowTitle(text);
}

int DvControlId(const QWidget* widget) {
    if (!widget)
        return -1;
    const QVariant id = widget->property("dlgId");
    return id.isValid() ? id.toInt() : -1;
}

QWidget* DvFindDlgItem(const QWidget* root, int id) {
    if (!root)
        return nullptr;
    for (QWidget* child : root->findChildren<QWidget*>()) {
        if (DvControlId(child) == id && child->property("dlgId").isValid())
            return child;
    }
    return nullptr;
}
