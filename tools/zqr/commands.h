// The zqr sub-commands. Each takes the arguments after its own name and returns the process's
// exit code: 0 success, 1 the operation failed or found problems, 2 the command line is wrong.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zqr {

using Arguments = std::vector<std::string>;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int listCommand(const Arguments& args);
int getCommand(const Arguments& args);
int checkCommand(const Arguments& args);
int packCommand(const Arguments& args);

// Prints "zqr: " and the message on one line to standard error.
void reportError(const std::string& message);

// Writes `text` to standard output; false once a write has failed (the failure is kept for
// finishOutput, and nothing more is written).
bool writeOutput(std::string_view text);

// Flushes standard output and returns `code`, or, when any write to it failed, says so on
// standard error and returns kExitFailed: output lost to a full disk must not pass as success.
int finishOutput(int code);

// "1 member" or "N members": counts in messages read as a person would write them.
std::string countOf(std::uint64_t count, const char* singular, const char* plural);

// A member's date and time exactly as the archive stores them (the packer's wall clock, seconds
// from 1970-01-01 00:00 of that clock), in strftime's `format`; empty when there is none. Read
// through this machine's zone, a time its clock skipped would move by an hour.
std::string storedTimeText(std::int64_t asStored, const char* format);

} // namespace zqr
