// Where the viewer starts: `varnelook` in the current directory, `varnelook FOLDER` in that
// folder, `varnelook ARCHIVE.zqr` in the archive's folder with that archive listed (`--` before
// a path that starts with '-'); `--help` and `--version` print and start nothing. The
// catalogue lists the archives of the current directory, so the folder becomes the current
// directory before the frame opens; the archive is listed once the sheet is open, by the same
// handler as a click on it. A folder or an archive dropped onto the running viewer is opened
// the same way.
#pragma once

#include <string>
#include <vector>

class w_main;

namespace app {

struct StartPlace {
    // The archive's name in the start folder; empty to list none.
    std::string archive;
};

struct StartCommand {
    StartPlace place;
    // One line for standard error when the command line cannot be followed; empty when it can.
    std::string error;
    // What the command line asks to be shown instead of a window (the help, the version), for
    // standard output; empty when it asks for the viewer.
    std::string output;
};

// A folder or an archive to open: the folder, and the archive's name in it (empty for a
// folder); or why the path cannot be opened, and nothing else.
struct Place {
    std::string folder;
    std::string archive;
    std::string error;
};

// What `path` names: an existing folder, or an existing `.zqr` file (any case) in its folder.
[[nodiscard]] Place placeOf(const std::string& path);

// The arguments after the program's name.
[[nodiscard]] std::vector<std::string> argumentsOf(int argc, char** argv);

// Reads the viewer's arguments and, for a folder or an archive, makes its folder the current
// directory. Nothing changes when the answer carries an error.
[[nodiscard]] StartCommand enterStartPlace(const std::vector<std::string>& arguments);

// Lists the start archive in the frame's sheet and marks it in the catalogue, as a click on it
// does; nothing when there is none or the catalogue does not show it.
void listStartArchive(w_main& frame, const StartPlace& place);

// Opens `path` in the running viewer as `varnelook PATH` would start it: the sheet lists the
// folder (an archive's folder, with that archive listed and marked), opened first if it was
// closed. A path that is no longer a folder or an archive is refused with a message.
void openPlace(w_main& frame, const std::string& path);

} // namespace app
