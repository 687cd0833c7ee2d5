#include "host/toolkit/save_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <utility>

namespace host {

namespace {

SaveDialogHandler& currentHandler()
{
    static SaveDialogHandler handler;
    return handler;
}

} // namespace

std::optional<SaveChoice> GetSaveFileName(const SaveDialogRequest& request)
{
    if (const auto& handler = currentHandler()) {
        return handler(request);
    }
    const QString start =
        QDir(QString::fromStdString(request.folder)).filePath(QString::fromStdString(request.name));
    // The dialog confirms the replacing of an existing file before it returns it.
    const QString chosen = QFileDialog::getSaveFileName(
        QApplication::activeWindow(), QString::fromStdString(request.title), start);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return SaveChoice{chosen.toStdString(), QFileInfo::exists(chosen)};
}

SaveDialogHandler setSaveDialogHandler(SaveDialogHandler handler)
{
    return std::exchange(currentHandler(), std::move(handler));
}

std::string DocumentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::homePath();
    }
    return folder.toStdString();
}

} // namespace host
