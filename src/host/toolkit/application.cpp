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
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

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

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// The one line said when the toolkit finds no display to show the windows on.
std::string noDisplayLine()
{
    const std::string display = environment("DISPLAY");
    const std::string wayland = environment("WAYLAND_DISPLAY");
    const std::string platform = environment("QT_QPA_PLATFORM");
    std::string line = "varnelook: ";
    if (display.empty() && wayland.empty() && platform.empty()) {
        line += "no display";
    } else {
        line += "cannot open the display";
        line += display.empty() ? std::string() : " " + display;
        line += wayland.empty() ? std::string() : " (Wayland " + wayland + ")";
        line += platform.empty() ? std::string() : " with the platform " + platform;
    }
    return line + "; start it in a desktop session, or headless with: xvfb-run -a varnelook  (or "
                  "QT_QPA_PLATFORM=offscreen varnelook)\n";
}

// While the toolkit starts, what it writes is held back. When it cannot make its platform (no
// display, or one that cannot be reached) it ends the process with an abort and several lines
// of advice about plugins; the program says one line of its own instead and exits with 1. When
// the toolkit has started, what was held back is written as it would have been; so it is before
// that line when the user asked the toolkit to explain itself (QT_DEBUG_PLUGINS,
// QT_LOGGING_RULES).
class ToolkitStart {
public:
    ToolkitStart() { previous() = qInstallMessageHandler(&hold); }
    ToolkitStart(const ToolkitStart&) = delete;
    ToolkitStart& operator=(const ToolkitStart&) = delete;
    ~ToolkitStart()
    {
        qInstallMessageHandler(previous());
        writeHeld();
    }

private:
    struct Held {
        QtMsgType type;
        std::string file;
        int line;
        std::string function;
        std::string category;
        QString text;
    };

    // The toolkit starts on the GUI thread alone, so one list and one handler serve.
    static std::vector<Held>& held()
    {
        static std::vector<Held> messages;
        return messages;
    }
    static QtMessageHandler& previous()
    {
        static QtMessageHandler handler = nullptr;
        return handler;
    }

    static void writeHeld()
    {
        for (const Held& message : held()) {
            const QMessageLogContext context(message.file.c_str(), message.line,
                                             message.function.c_str(), message.category.c_str());
            previous()(message.type, context, message.text);
        }
        held().clear();
    }

    static void hold(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (type == QtFatalMsg) {
            if (!environment("QT_DEBUG_PLUGINS").empty() ||
                !environment("QT_LOGGING_RULES").empty()) {
                writeHeld();
            }
            const std::string line = noDisplayLine();
            std::fputs(line.c_str(), stderr);
            std::fflush(stderr);
            // Nothing of the program has started yet: nothing to save or undo.
            std::_Exit(1);
        }
        const auto textOf = [](const char* value) {
            return value != nullptr ? std::string(value) : std::string();
        };
        held().push_back({type, textOf(context.file), context.line, textOf(context.function),
                          textOf(context.category), text});
    }
};

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
    std::optional<ToolkitStart> starting(std::in_place);
    QApplication toolkit(toolkitCount, toolkitArguments.data());
    starting.reset();
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
