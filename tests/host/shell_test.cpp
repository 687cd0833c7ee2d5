#include "desktop_association.h"
#include "host/desktop_open/desktop_open.h"
#include "host/win32/shell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using testing_support::TestDesktop;

[[maybe_unused]] TestDesktop* const desktop = TestDesktop::instance();

struct ShellOpen : testing::Test {
    QTemporaryDir folder;

    std::string make(const char* name, const QByteArray& content)
    {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return folder.path().toStdString();
    }
};

// Whether GIO's library is mapped into this process.
bool gioLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libgio-2.0.so");
}

// First in this file: GIO must not be loaded before anything has been opened (ctest runs each
// test in a process of its own).
TEST_F(ShellOpen, LoadsGioOnlyWhenTheFirstFileIsOpened)
{
    EXPECT_FALSE(gioLoaded()) << "GIO is loaded at start-up";
    const std::string directory = make("notes.txt", "plain words\n");
    EXPECT_GT(win32::ShellExecuteA(0, "open", "notes.txt", "", directory.c_str(), 1), 32u);
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("notes.txt").toStdString());
    EXPECT_TRUE(gioLoaded());
}

TEST_F(ShellOpen, WithoutItsModuleAnOpenFailsWithDllNotFoundAndWorksOnceTheModuleIsThere)
{
    const std::string directory = make("notes.txt", "plain words\n");
    win32::setDesktopOpenModule("VarnelookNoSuchModule");
    EXPECT_EQ(win32::ShellExecuteA(0, "open", "notes.txt", "", directory.c_str(), 1),
              win32::SE_ERR_DLLNOTFOUND);
    // What is wrong with the file itself is still told apart without the module.
    EXPECT_EQ(win32::ShellExecuteA(0, "open", "missing.txt", "", directory.c_str(), 1),
              win32::SE_ERR_FNF);
    EXPECT_FALSE(QFile::exists(TestDesktop::markerPath())) << "something was opened";

    win32::setDesktopOpenModule(kDesktopOpenModule);
    EXPECT_GT(win32::ShellExecuteA(0, "open", "notes.txt", "", directory.c_str(), 1), 32u);
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("notes.txt").toStdString());
}

TEST_F(ShellOpen, HandsAFileToItsAssociatedApplicationRelativeToTheDirectory)
{
    const std::string directory = make("notes.txt", "plain words\n");
    const auto result = win32::ShellExecuteA(0, "open", "notes.txt", "", directory.c_str(), 1);
    EXPECT_GT(result, 32u);
    EXPECT_EQ(TestDesktop::waitForOpen(), folder.filePath("notes.txt").toStdString());
}

TEST_F(ShellOpen, ReportsTheWin32CodesForWhatCannotBeOpened)
{
    const std::string directory = make("blob.varnelook-unknown", QByteArray("\x00\x01\x02\xff", 4));
    EXPECT_EQ(win32::ShellExecuteA(0, "open", "blob.varnelook-unknown", "", directory.c_str(), 1),
              win32::SE_ERR_NOASSOC);
    EXPECT_EQ(win32::ShellExecuteA(0, "open", "missing.txt", "", directory.c_str(), 1),
              win32::SE_ERR_FNF);
    EXPECT_EQ(win32::ShellExecuteA(0, "open", "", "", directory.c_str(), 1), win32::SE_ERR_FNF);
    EXPECT_EQ(win32::ShellExecuteA(0, "print", "blob.varnelook-unknown", "", directory.c_str(), 1),
              win32::SE_ERR_NOASSOC);
}

TEST_F(ShellOpen, AFileTheUserMayNotReadIsAccessDenied)
{
    if (geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    const std::string directory = make("secret.txt", "words\n");
    QFile::setPermissions(folder.filePath("secret.txt"), QFile::WriteOwner);
    EXPECT_EQ(win32::ShellExecuteA(0, "open", "secret.txt", "", directory.c_str(), 1),
              win32::SE_ERR_ACCESSDENIED);
}

} // namespace
