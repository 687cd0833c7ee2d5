#include "host/toolkit/list_box.h"

#include "host/toolkit/name_order_internal.h"
#include "host/toolkit/window_internal.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>

namespace host {

ListBox::ListBox(Window& parent) : ListBox(&widgetOf(parent)) {}

ListBox::ListBox(QWidget* parent)
    : Control(new QListWidget(parent)), // NOLINT(cppcoreguidelines-owning-memory): Qt parent
      list_(static_cast<QListWidget*>(widget()))
{
}

bool ListBox::dirlist(const std::string& pattern, unsigned mask)
{
    QDir directory(QDir::currentPath());
    if (!directory.isReadable()) {
        return false;
    }
    QDir::Filters filters = QDir::Files;
    if ((mask & HiddenFiles) != 0) {
        filters |= QDir::Hidden;
    }
    if ((mask & Directories) != 0) {
        filters |= QDir::Dirs | QDir::NoDotAndDotDot;
    }
    directory.setFilter(filters);
    directory.setNameFilters({QString::fromStdString(pattern)});

    entries_.clear();
    for (const QFileInfo& entry : directory.entryInfoList()) {
        // Read-only is the file's own attribute (no owner write permission), as it would be
        // on Windows, not whether this process may write it (root may write anything).
        const bool readOnly = !entry.permissions().testFlag(QFile::WriteOwner);
        if (entry.isFile() && readOnly && (mask & ReadOnlyFiles) == 0) {
            continue;
        }
        entries_.push_back(entry.fileName().toStdString());
    }
    sortNames(entries_);

    list_->clear();
    for (const std::string& entry : entries_) {
        list_->addItem(QString::fromStdString(entry));
    }
    return true;
}

long ListBox::totalitems() const
{
    return static_cast<long>(entries_.size());
}

std::string ListBox::text(long index) const
{
    if (index < 1 || index > totalitems()) {
        return {};
    }
    return entries_[static_cast<std::size_t>(index - 1)];
}

} // namespace host
