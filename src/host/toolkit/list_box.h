// List box control: a list of texts in ascending order, here filled from the current
// directory by a file pattern and a file-type mask.
#pragma once

#include "host/toolkit/control.h"

#include <string>
#include <vector>

class QListWidget;

namespace host {

class ListBox : public Control {
public:
    // File-type mask of dirlist: ordinary (read-write) files are always taken.
    enum DirListMask : unsigned {
        ReadWriteFiles = 0,
        ReadOnlyFiles = 1,
        HiddenFiles = 2,
        Directories = 16,
    };

    // On a window of the program's; the bare widget is for the host and its tests.
    explicit ListBox(Window& parent);
    explicit ListBox(QWidget* parent);

    // Replaces the entries with the names (no directory) of the current directory's entries
    // that match `pattern` (wildcards, case ignored) and the mask. False when the directory
    // cannot be read.
    bool dirlist(const std::string& pattern, unsigned mask);

    [[nodiscard]] long totalitems() const;
    // The text of entry `index` (1-based), empty when there is none.
    [[nodiscard]] std::string text(long index) const;

private:
    QListWidget* list_;
    std::vector<std::string> entries_;
};

} // namespace host
