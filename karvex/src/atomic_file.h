// A file that is written without a name and given one only when it is complete, so a crash, a
// full disk or bad data leaves nothing at its path. Linux: O_TMPFILE, then linkat; on file
// systems without O_TMPFILE a hidden temporary name, then a link or a no-replace rename.
#pragma once

#include "error.h"
#include "member_reader.h"
#include "unique_fd.h"

#include <string>

namespace karvex {

// How the file is kept nameless while it is written. Unnamed falls back to Named by itself on
// file systems without O_TMPFILE; tests ask for Named to exercise that path anywhere.
enum class Temporary { Unnamed, Named };

class AtomicFile : public Sink {
public:
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile() override;

    // Starts an unnamed file in the folder open on `folderFd` (which must outlive this object).
    static Error create(int folderFd, std::unique_ptr<AtomicFile>& out,
                        Temporary temporary = Temporary::Unnamed);

    Error write(const char* data, std::size_t size) override;
    // Gives the complete file the name `leaf` in its folder; fails with Exists rather than
    // replacing a file of that name.
    Error publish(const std::string& leaf);
    // Gives the complete file the name `leaf`, replacing in one step any file of that name.
    Error publishReplacing(const std::string& leaf);

private:
    explicit AtomicFile(int folderFd) : folderFd_(folderFd) {}
    // Creates a hidden, randomly named file with `make` (which returns 0 or sets errno) and
    // keeps its name; false with errno set when no name could be taken.
    template <typename Make> bool takeTemporaryName(Make make);

    // Forgets the temporary name once it is gone (published by rename or removed).
    void dropTemporaryName();

    int folderFd_;
    UniqueFd fd_;
    std::string temporaryName_; // empty when the file is an O_TMPFILE
    int signalSlot_ = -1;       // where removeTemporaryFilesNow finds the name, or -1
};

// Removes every named temporary file this process is writing at this moment. Async-signal-safe,
// for a handler of SIGINT, SIGTERM or SIGHUP that then ends the process: on file systems
// without O_TMPFILE that is what keeps an interrupted unpack from leaving its part behind.
void removeTemporaryFilesNow() noexcept;

} // namespace karvex
