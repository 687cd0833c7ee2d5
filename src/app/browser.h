// The application object: names itself "browser" and opens the main window. The command line
// string it is opened with is not read; the executable reads its arguments itself and hands
// over the start place (start_place.h).
#pragma once

#include "app/start_place.h"
#include "host/toolkit/application.h"
#include "toolbar/uo_toolbarutil.h"

#include <utility>

class browser : public host::Application {
public:
    explicit browser(app::StartPlace place = {}) : start_(std::move(place)) {}

protected:
    void onCreate() override;
    void onOpen(const std::string& commandline) override;
    void onDestroy() override;

private:
    app::StartPlace start_;
};

// The program-wide frame toolbar utility. Nothing in the program binds or calls it: the frame's
// toolbar keeps the toolkit's own look; it is there for a caller that wants to adjust it.
extern uo_toolbarutil guo_toolbarutil;
