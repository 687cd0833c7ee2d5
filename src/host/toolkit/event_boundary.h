// The boundary between the host and an event of the program: a run-time error (or any other
// failure the event lets escape) ends that event only; it is shown in a message box and the
// program goes on. Pending screen updates are published when the outermost event ends.
#pragma once

#include <exception>
#include <functional>

namespace host {

// Runs one event of the program. Returns false when the event ended with an error.
bool raiseEvent(const std::function<void()>& event);

// The message box that reports an error which ended an event.
void reportEventError(const std::exception& error);

} // namespace host
