// The zqr sub-commands. Each takes the arguments after its own name and returns the process's
// exit code: 0 success, 1 the operation failed or found problems, 2 the command line is wrong.
#pragma once

#include <string>
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

} // namespace zqr
