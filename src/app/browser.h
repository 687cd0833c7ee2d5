// The application object: names itself "browser" and opens the main window. The command line
// is accepted and not read.
#pragma once

#include "host/toolkit/application.h"
#include "toolbar/uo_toolbarutil.h"

class browser : public host::Application {
protected:
    void onCreate() override;
    void onOpen(const std::string& commandline) override;
    void onDestroy() override;
};

// The program-wide frame toolbar utility. Nothing in the program binds or calls it: the frame's
// toolbar keeps the toolkit's own look; it is there for a caller that wants to adjust it.
extern uo_toolbarutil guo_toolbarutil;
