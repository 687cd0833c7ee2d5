#include "host/toolkit/application.h"

#include "host/toolkit/application_style.h"
#include "host/toolkit/event_boundary.h"
#include "host/toolkit/frame_internal.h"
#include "host/toolkit/termination_signals.h"
#include "host/toolkit/translations.h"
#include "host/toolkit/worker.h"

#include <QApplication>
#include <QWidget>
#include <array>

namespace host {

namespace {

// The command line as one string: the arguments after the program's name, space-separated.
std::string commandLine(int argc, char** argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (!line.empty()) {
            line += ' ';
        }
        line += argv[i]; // NOLINT(cppcoreguidelines-pro-bounds-pointer-arithmetic)
    }
    return line;
}

bool anyWindowVisible()
{
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            return true;
        }
    }
    return false;
}

} // namespace

void Application::setAppName(const std::string& name)
{
    QCoreApplication::setApplicationName(QString::fromStdString(name));
}

void Application::start(const std::string& commandline)
{
    installToolkitTranslations();
    ApplicationStyle::install();
    raiseEvent([this] { onCreate(); });
    raiseEvent([this, &commandline] { onOpen(commandline); });
}

void Application::finish()
{
    // Work still running for windows that are gone winds down and is undone before the end.
    finishWorkers();
    raiseEvent([this] { onDestroy(); });
}

void setDesktopEntry(const std::string& name)
{
    QGuiApplication::setDesktopFileName(QString::fromStdString(name));
}

int run(int argc, char** argv, const std::function<std::unique_ptr<Application>()>& make)
{
    // The command line belongs to the program: Qt gets only the program's name, so that none of
    // Qt's own options (-style, -stylesheet, -reverse, ...) changes how the program looks or
    // behaves. Both must outlive the QApplication, which keeps references to them.
    std::string fallbackName = "varnelook";
    // NOLINTNEXTLINE(cppcoreguidelines-pro-bounds-pointer-arithmetic)
    std::array<char*, 2> toolkitArguments{
        argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName.data(), nullptr};
    int toolkitCount = 1;
    QApplication toolkit(toolkitCount, toolkitArguments.data());
    const std::string commandline = commandLine(argc, argv);
    closeWindowsOnTerminationSignals();
    std::unique_ptr<Application> application = make();
    application->start(commandline);
    // With no window open there is nothing left to drive the program.
    const int code = anyWindowVisible() ? QApplication::exec() : 0;
    // The windows the loop left open go before the program's last event.
    destroyOpenWindows();
    application->finish();
    return code;
}

} // namespace host
