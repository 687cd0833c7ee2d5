#include "host/toolkit/termination_signals.h"

#include <QApplication>
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace host {

namespace {

// The write end of the pipe that wakes the message loop; written from the signal handler.
int wakeFd = -1;

extern "C" void onTerminationSignal(int /*signal*/)
{
    const int saved = errno;
    const char byte = 1;
    // Async-signal-safe; a full pipe already holds a wake-up, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t written = ::write(wakeFd, &byte, 1);
    errno = saved;
}

} // namespace

void closeWindowsOnTerminationSignals()
{
    static bool installed = false;
    if (installed || QCoreApplication::instance() == nullptr) {
        return;
    }
    std::array<int, 2> fds{};
    if (::pipe2(fds.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    installed = true;
    wakeFd = fds[1];
    // Owned by the application object (Qt parent), and lives as long as it.
    auto* notifier = new QSocketNotifier( // NOLINT(cppcoreguidelines-owning-memory)
        fds[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [readFd = fds[0]] {
        std::array<char, 64> drained{};
        while (::read(readFd, drained.data(), drained.size()) > 0) {
        }
        QApplication::closeAllWindows();
    });

    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // Once: a second signal ends the process the usual way, should the windows not close.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        ::sigaction(signal, &action, nullptr);
    }
}

} // namespace host
