// What `zqr --help` and `zqr COMMAND --help` print. The manual page's OPTIONS are checked
// against these texts by a test, so an option is never documented in one place only.
#pragma once

#include "commands.h"

namespace zqr {

// The whole tool's usage: one line or two per command.
extern const char* const kUsage;

// The usage of one command ("list", "get", "check", "pack"), with its options.
extern const char* const kListUsage;
extern const char* const kGetUsage;
extern const char* const kCheckUsage;
extern const char* const kPackUsage;

// Whether the command's arguments ask for its help: "--help" or "-h" where an option may stand
// (before the first operand), so a member or file named "-h" after it is still an operand.
bool asksForHelp(const Arguments& args);

// Prints `usage` to standard output; the command then ends with kExitOk.
int printUsage(const char* usage);

} // namespace zqr
