// The signals that end a session: SIGTERM (what a logout sends), SIGHUP and
// SIGINT. Their handler does no work: it writes the signal's number into a
// pipe, and the program reads it in its event loop (a socket notifier on the
// pipe's read end) and ends there in good order.
#pragma once

namespace EndSignals {

// Installs the handlers, once per process; later calls do nothing.
void Install();
// The default handlers back (the pipe stays).
void Restore();
// The pipe's read end; -1 before Install. Each signal puts one byte there:
// its number.
int ReadEnd();

}  // namespace EndSignals
