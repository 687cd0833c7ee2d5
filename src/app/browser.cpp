#include "app/browser.h"

#include "app/w_main.h"
#include "host/toolkit/frame.h"

// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): program-wide by design
uo_toolbarutil guo_toolbarutil;

void browser::onCreate()
{
    setAppName("browser");
}

void browser::onOpen(const std::string& /*commandline*/)
{
    w_main* frame = host::open<w_main>();
    app::listStartArchive(*frame, start_);
}

void browser::onDestroy()
{
    // Nothing is saved; the program-wide objects go with the process.
}
