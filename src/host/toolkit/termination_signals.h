// Ending the program the way its user would: when the process is asked to end (SIGTERM at log
// out or shut down, SIGHUP when its terminal goes, SIGINT from Ctrl+C), its windows are closed
// as their close boxes close them, so each window's close does its cleaning up (the browse sheet
// removes the file it unpacked), and the message loop ends as usual.
#pragma once

namespace host {

// From now on, the first of those signals closes every top-level window from the message loop
// (the signal handler itself only wakes the loop); a second one ends the process as usual, in
// case the windows do not close.
void closeWindowsOnTerminationSignals();

} // namespace host
