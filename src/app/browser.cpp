#include "app/browser.h"

#include "app/w_main.h"
#include "browse/w_brow.h"
#include "host/toolkit/frame.h"

// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): program-wide by design
uo_toolbarutil guo_toolbarutil;

void browser::onCreate()
{
    setAppName("browser");
}

void browser::onOpen(const std::string& /*commandline*/)
{
    // Drag copies are big at times; a viewer that was killed leaves its own behind.
    w_brow::removeAbandonedDragCopies();
    w_main* frame = host::open<w_main>();
    app::listStartArchive(*frame, start_);
}

void browser::onDestroy()
{
    // Nothing is saved; the program-wide objects go with the process.
}
