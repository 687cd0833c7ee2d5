// The toolkit's built-in functions the program calls: yielding to pending messages, the mouse
// pointer, the current directory, files, and the text functions. Texts are UTF-8 bytes;
// positions and lengths count bytes and are 1-based, the way the program's text code counts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace host {

// Lets pending window messages (paints, clicks, closes) run, then returns.
void Yield();

enum class Pointer { Arrow, HourGlass };
// The application-wide mouse pointer: the hourglass while the program is busy, else the arrow.
void SetPointer(Pointer pointer);

// Shows the hourglass for a scope, on every exit path. Scopes nest: the arrow comes back when the
// outermost one ends.
class BusyPointerScope {
public:
    BusyPointerScope();
    BusyPointerScope(const BusyPointerScope&) = delete;
    BusyPointerScope& operator=(const BusyPointerScope&) = delete;
    ~BusyPointerScope();
};

// The process's current directory, without a trailing separator.
std::string GetCurrentDirectory();
// Makes `directory` the current directory: 1 when it is, -1 when it cannot be entered.
int ChangeDirectory(const std::string& directory);
// The separator that joins a directory and a name in paths the program builds.
std::string DirectorySeparator();

bool FileExists(const std::string& path);
bool FileDelete(const std::string& path);

// The identity of a file on disk, so the program can tell its own file from one that has taken
// its name since: device and inode, and the time the inode last changed, because a file system
// hands a freed inode number to the next new file at once. No value when there is no such file.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t changedSeconds = 0;
    std::int64_t changedNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> FileIdentityOf(const std::string& path);

// Text functions.
std::string Space(long count);
// Position of `find` in `text` at or after byte `start` (1-based), 0 when absent.
long Pos(const std::string& text, const std::string& find, long start = 1);
// `length` bytes of `text` from byte `start` (1-based); the rest of the text without a length.
std::string Mid(const std::string& text, long start);
std::string Mid(const std::string& text, long start, long length);
std::string String(long number);

} // namespace host
