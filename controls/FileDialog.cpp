#include "FileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <deque>

namespace DvFileDialog {
namespace {
struct State {
    std::deque<QString> names;
    Request last;
    std::deque<QString> folders;
};
State& Seam() {
    static State state;
    return state;
}

// Records the request; true when it is answered without a dialog: by the next queued
// name, or, on a platform that shows nothing, by a cancel (an empty name).
bool Answered(const Request& request, const char* kind, QString& name) {
    State& seam = Seam();
    seam.last = request;
    if (!seam.names.empty()) {
        name = seam.names.front();
        seam.names.pop_front();
        return true;
    }
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) {
        qWarning("Diálogo de %s sin respuesta en pantalla invisible: se cancela", kind);
        name.clear();
        return true;
    }
    return false;
}
} // namespace

QString ToQtFilter(const QString& filter) {
    QString text = filter;
    while (text.endsWith(QLatin1Char('|')))
        text.chop(1);
    const QStringList parts = text.split(QLatin1Char('|'));
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QString patterns =
            parts.at(i + 1).trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        if (description.contains(QLatin1Char('(')) && description.contains(patterns))
            result << description;
        else
            result << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return result.join(QStringLiteral(";;"));
}

QString WithDefaultExtension(const QString& path, const QString& extension) {
    if (path.isEmpty() || extension.isEmpty())
        return path;
    if (QFileInfo(path).fileName().contains(QLatin1Char('.')))
        return path;
    return path + QLatin1Char('.') + extension;
}

QString GetSaveFileName(QWidget* owner, const QString& defaultExtension, const QString& initialName,
                        const QString& filter, bool confirmOverwrite) {
    QString name;
    if (Answered(Request{defaultExtension, initialName, filter, confirmOverwrite, true}, "guardar",
                 name))
        return WithDefaultExtension(name, defaultExtension);

    QFileDialog dialog(owner, QStringLiteral("Guardar como"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(ToQtFilter(filter).split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(defaultExtension);
    if (!confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    // A name with wildcards only says what kind of file is wanted; it is not a name.
    if (!initialName.contains(QLatin1Char('*')) && !initialName.contains(QLatin1Char('?')))
        dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return WithDefaultExtension(dialog.selectedFiles().constFirst(), defaultExtension);
}

QString GetOpenFileName(QWidget* owner, const QString& filter, const QString& folder) {
    QString name;
    if (Answered(Request{QString(), folder, filter, false, true}, "abrir", name))
        return name;

    QFileDialog dialog(owner, QStringLiteral("Abrir"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(ToQtFilter(filter).split(QStringLiteral(";;")));
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void SetNextFileName(const QString& path) {
    Seam().names.push_back(path);
}

void ClearFileNames() {
    Seam().names.clear();
}

Request LastRequest() {
    return Seam().last;
}

QString GetFolderName(QWidget* owner, const QString& title, const QString& initialFolder) {
    State& seam = Seam();
    if (!seam.folders.empty()) {
        const QString name = seam.folders.front();
        seam.folders.pop_front();
        return name;
    }
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) {
        qWarning("Diálogo de carpeta sin respuesta en pantalla invisible: se cancela");
        return QString();
    }
    QFileDialog dialog(owner, title, initialFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void SetNextFolderName(const QString& path) {
    Seam().folders.push_back(path);
}

void ClearFolderNames() {
    Seam().folders.clear();
}
} // namespace DvFileDialog
