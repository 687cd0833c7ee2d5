// The application object: names itself "browser" and opens the main window. The command line
// is accepted and not read.
#pragma once

#include "host/toolkit/application.h"

class browser : public host::Application {
protected:
    void onCreate() override;
    void onOpen(const std::string& commandline) override;
    void onDestroy() override;
};
