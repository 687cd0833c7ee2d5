#include "host/toolkit/folder_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <utility>

namespace host {

namespace {

FolderDialogHandler& currentHandler()
{
    static FolderDialogHandler handler;
    return handler;
}

} // namespace

std::optional<std::string> GetFolderName(const FolderDialogRequest& request)
{
    if (const auto& handler = currentHandler()) {
        return handler(request);
    }
    const QString chosen = QFileDialog::getExistingDirectory(
        QApplication::activeWindow(), QString::fromStdString(request.title),
        QString::fromStdString(request.folder), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen.toStdString();
}

FolderDialogHandler setFolderDialogHandler(FolderDialogHandler handler)
{
    return std::exchange(currentHandler(), std::move(handler));
}

} // namespace host
