#include "host/toolkit/list_box.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(ListBoxDirlist, TakesOrdinaryAndReadOnlyFilesOnlyInNaturalOrder)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    touch(folder.filePath("b10.zqr"));
    touch(folder.filePath("b2.ZQR"));
    touch(folder.filePath("a.zqr"));
    touch(folder.filePath(".h.zqr"));    // hidden
    touch(folder.filePath("notes.txt")); // another pattern
    ASSERT_TRUE(QDir(folder.path()).mkdir("y.zqr"));
    touch(folder.filePath("z.zqr"));
    QFile::setPermissions(folder.filePath("z.zqr"), QFile::ReadOwner);

    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    QWidget window;
    host::ListBox box(&window);
    const bool listed = box.dirlist("*.zqr", host::ListBox::ReadOnlyFiles);
    std::vector<std::string> entries;
    for (long i = 1; i <= box.totalitems(); ++i) {
        entries.push_back(box.text(i));
    }
    host::ListBox readWriteOnly(&window);
    readWriteOnly.dirlist("*.zqr", host::ListBox::ReadWriteFiles);
    QDir::setCurrent(previous);

    EXPECT_TRUE(listed);
    EXPECT_EQ(entries, (std::vector<std::string>{"a.zqr", "b2.ZQR", "b10.zqr", "z.zqr"}));
    EXPECT_EQ(box.text(0), "");
    EXPECT_EQ(box.text(5), "");
    EXPECT_EQ(readWriteOnly.totalitems(), 3); // without the read-only z.zqr
}

} // namespace
