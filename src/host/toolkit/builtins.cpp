#include "host/toolkit/builtins.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace host {

void Yield()
{
    QCoreApplication::processEvents();
}

void SetPointer(Pointer pointer)
{
    // One override at most: the hourglass is either on or off, however often it is set.
    static bool busy = false;
    if (pointer == Pointer::HourGlass && !busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        busy = true;
    } else if (pointer == Pointer::Arrow && busy) {
        QApplication::restoreOverrideCursor();
        busy = false;
    }
}

namespace {
int busyScopes = 0; // BusyPointerScope objects alive; touched from the GUI thread only
} // namespace

BusyPointerScope::BusyPointerScope()
{
    if (busyScopes++ == 0) {
        SetPointer(Pointer::HourGlass);
    }
}

BusyPointerScope::~BusyPointerScope()
{
    Q_ASSERT(busyScopes > 0);
    if (--busyScopes == 0) {
        SetPointer(Pointer::Arrow);
    }
}

std::string GetCurrentDirectory()
{
    return QDir::toNativeSeparators(QDir::currentPath()).toStdString();
}

int ChangeDirectory(const std::string& directory)
{
    return QDir::setCurrent(QString::fromStdString(directory)) ? 1 : -1;
}

std::string DirectorySeparator()
{
    return QString(QDir::separator()).toStdString();
}

bool FileExists(const std::string& path)
{
    const QFileInfo info(QString::fromStdString(path));
    return info.exists() && !info.isDir();
}

bool FileDelete(const std::string& path)
{
    if (!FileExists(path)) {
        return false;
    }
    return QFile::remove(QString::fromStdString(path));
}

std::optional<FileIdentity> FileIdentityOf(const std::string& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev),
                        static_cast<std::uint64_t>(status.st_ino),
                        static_cast<std::int64_t>(status.st_ctim.tv_sec),
                        static_cast<std::int64_t>(status.st_ctim.tv_nsec)};
}

std::string Space(long count)
{
    return std::string(static_cast<std::size_t>(std::max(0L, count)), ' ');
}

long Pos(const std::string& text, const std::string& find, long start)
{
    if (start < 1 || static_cast<std::size_t>(start) > text.size() + 1) {
        return 0;
    }
    const auto at = text.find(find, static_cast<std::size_t>(start - 1));
    return at == std::string::npos ? 0 : static_cast<long>(at) + 1;
}

std::string Mid(const std::string& text, long start)
{
    if (start < 1 || static_cast<std::size_t>(start) > text.size()) {
        return {};
    }
    return text.substr(static_cast<std::size_t>(start - 1));
}

std::string Mid(const std::string& text, long start, long length)
{
    // Copies only the part asked for, never the rest of the text.
    if (length <= 0 || start < 1 || static_cast<std::size_t>(start) > text.size()) {
        return {};
    }
    return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length));
}

std::string String(long number)
{
    return std::to_string(number);
}

} // namespace host
