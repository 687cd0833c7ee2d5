#include "atomic_file.h"
#include "commands.h"
#include "error.h"
#include "extract.h"
#include "member_reader.h"
#include "names.h"

#include <csignal>

namespace zqr {
namespace {

// Ctrl+C, kill and a closed terminal end an unpack as they would any program, but first take
// away the part file it was writing (where the file system has no unnamed files).
extern "C" void removePartAndEnd(int signal)
{
    karvex::removeTemporaryFilesNow();
    // SA_RESETHAND has put back the default action; raising again ends the process by this
    // signal once the handler returns, so the shell sees how it ended.
    ::raise(signal);
}

void removePartOnSignals()
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction previous {};
        // A signal ignored by whoever started zqr (nohup, a background job) stays ignored.
        if (::sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = removePartAndEnd;
        ::sigemptyset(&action.sa_mask);
        ::sigaddset(&action.sa_mask, SIGINT);
        ::sigaddset(&action.sa_mask, SIGTERM);
        ::sigaddset(&action.sa_mask, SIGHUP);
        action.sa_flags = SA_RESETHAND;
        ::sigaction(signal, &action, nullptr);
    }
}

// Passes a member's bytes to standard output as they are read, and counts them: once some are
// out, a failed check at the end cannot take them back, and the user must be told.
class StandardOutputSink : public karvex::Sink {
public:
    karvex::Error write(const char* data, std::size_t size) override
    {
        if (!writeOutput(std::string_view(data, size))) {
            return karvex::Error::Write;
        }
        written_ += size;
        return karvex::Error::None;
    }

    std::uint64_t written() const { return written_; }

private:
    std::uint64_t written_ = 0;
};

// `zqr get ARCHIVE MEMBER -`: the member to standard output, under the same checks as an
// unpack, with nothing written to disk.
int getToStandardOutput(const std::string& archive, const std::string& member)
{
    StandardOutputSink sink;
    std::uint64_t memoryNeeded = 0;
    const karvex::Error error =
        karvex::streamMember(archive.c_str(), member.c_str(), sink, &memoryNeeded);
    if (error == karvex::Error::Write) {
        return kExitFailed; // standard output failed; main says so
    }
    if (error != karvex::Error::None) {
        std::string message =
            "get: " + karvex::printableName(member) + ": " + karvex::describe(error, memoryNeeded);
        if (sink.written() != 0) {
            message += "; the " + countOf(sink.written(), "byte", "bytes") +
                       " already written to standard output are not the member's true data";
        }
        reportError(message);
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

int getCommand(const Arguments& args)
{
    if (args.size() != 2 && args.size() != 3) {
        reportError("get: expected an archive, a member and maybe a folder "
                    "(zqr get ARCHIVE MEMBER [FOLDER])");
        return kExitUsage;
    }
    // An empty folder would turn into "/" plus the member name: a place the user never named.
    if (args.size() == 3 && args[2].empty()) {
        reportError("get: the folder is empty (give \".\" for the current folder)");
        return kExitUsage;
    }
    if (args.size() == 3 && args[2] == "-") {
        return getToStandardOutput(args[0], args[1]);
    }
    std::string folder = args.size() == 3 ? args[2] : ".";
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    const std::string savePath = (folder == "/" ? "" : folder) + "/" + args[1];
    removePartOnSignals();
    std::uint64_t memoryNeeded = 0;
    karvex::ExtractOptions options;
    options.memoryNeeded = &memoryNeeded;
    const karvex::Error error =
        karvex::extractMember(args[0].c_str(), args[1].c_str(), savePath.c_str(), options);
    if (error != karvex::Error::None) {
        reportError("get: " + karvex::printableName(args[1]) + ": " +
                    karvex::describe(error, memoryNeeded));
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace zqr
