// The application object: where the program's own logic begins and ends. The program's
// application class derives from it; run() creates it, raises create and open (start installs
// the application's style first, application_style.h), drives the message loop until the last
// window closes, then raises destroy. Start also has Qt's own texts speak the program's
// language (translations.h).
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace host {

class Application {
public:
    Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    virtual ~Application() = default;

    void setAppName(const std::string& name);

    // Raises create, then open with the command line.
    void start(const std::string& commandline);
    // Raises destroy.
    void finish();

protected:
    virtual void onCreate() {}
    virtual void onOpen(const std::string& /*commandline*/) {}
    virtual void onDestroy() {}
};

// Ties the running windows to the installed desktop entry `name` (its name and icon in the task
// switcher), whatever the application calls itself. Called before run().
void setDesktopEntry(const std::string& name);

// The process's whole run: the toolkit, the application object made by `make`, the message
// loop. Returns the process's exit code. When the toolkit finds no display to show windows on,
// the process ends there, with one line on standard error and exit code 1.
int run(int argc, char** argv, const std::function<std::unique_ptr<Application>()>& make);

} // namespace host
