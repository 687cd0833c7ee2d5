#include "app/browser.h"
#include "host/toolkit/application.h"

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    // A folder or an archive to start on; a bad command line ends the run before any window.
    const app::StartCommand start = app::enterStartPlace(app::argumentsOf(argc, argv));
    if (!start.error.empty()) {
        std::fprintf(stderr, "varnelook: %s\n", start.error.c_str());
        return 2;
    }
    if (!start.output.empty()) {
        std::fputs(start.output.c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    host::setDesktopEntry("org.example.Varnelook");
    return host::run(argc, argv, [&start] { return std::make_unique<browser>(start.place); });
}
