#include "usage.h"

namespace zqr {

const char* const kUsage =
    "usage: zqr list [-l | --json | -0] ARCHIVE\n"
    "                                        print the names the viewer lists, one a line\n"
    "       zqr get ARCHIVE MEMBER [FOLDER | -]\n"
    "                                        unpack MEMBER into FOLDER (default: .), or to\n"
    "                                        standard output with -\n"
    "       zqr check ARCHIVE                print each member the viewer cannot list or open\n"
    "       zqr pack [--name-encoding utf-8|gbk] ARCHIVE FILE|FOLDER...\n"
    "                                        make a new archive\n"
    "       zqr --version                    print the library's version and inflater\n"
    "       zqr --help                       print this help\n"
    "       zqr COMMAND --help               print the command's own help\n"
    "Exit status: 0 success, 1 the operation failed or found a problem, 2 a wrong command line.\n";

const char* const kListUsage =
    "usage: zqr list [-l | --json | -0] ARCHIVE\n"
    "Prints the names the viewer lists, one a line, every one, and says on standard error how\n"
    "many members were left out.\n"
    "\n"
    "  -l          with size, packed size and date (as stored), a header and a totals line\n"
    "  --json      one JSON object a line per member (JSON Lines), left-out members with the\n"
    "              reason\n"
    "  -0          each name followed by a NUL byte instead of a newline, for xargs -0\n"
    "  -h, --help  show this help and exit\n";

const char* const kGetUsage =
    "usage: zqr get ARCHIVE MEMBER [FOLDER | -]\n"
    "Unpacks MEMBER into FOLDER (default: .), never over an existing file and never outside\n"
    "FOLDER. With - as FOLDER, writes the member's bytes to standard output instead; the exit\n"
    "status is 1 when its size or CRC turns out wrong after bytes went out.\n"
    "\n"
    "  -h, --help  show this help and exit\n";

const char* const kCheckUsage =
    "usage: zqr check ARCHIVE\n"
    "Reads every member to its end and prints each one the viewer cannot list or open, and why;\n"
    "exits 1 when it found any.\n"
    "\n"
    "  -h, --help  show this help and exit\n";

const char* const kPackUsage =
    "usage: zqr pack [--name-encoding utf-8|gbk] ARCHIVE FILE|FOLDER...\n"
    "Makes a new archive (never over an existing file) of the files and folders named.\n"
    "\n"
    "  --name-encoding utf-8|gbk  names in UTF-8, flagged as such (the default), or in GBK\n"
    "                             without the flag\n"
    "  -h, --help                 show this help and exit\n";

bool asksForHelp(const Arguments& args)
{
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            return true;
        }
        if (arg == "--" || arg.empty() || arg[0] != '-') {
            return false; // options end at the first operand
        }
    }
    return false;
}

int printUsage(const char* usage)
{
    writeOutput(usage);
    return kExitOk;
}

} // namespace zqr
