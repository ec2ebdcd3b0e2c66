#include "endsignals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int pipeEnds[2] = {-1, -1};
constexpr int Signals[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void OnEndSignal(int signo)
{
    const int saved = errno;
    const char byte = static_cast<char>(signo);
    // Only async-signal-safe calls here; a full pipe drops the byte (one
    // waiting is enough to end the program).
    (void)!::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

}  // namespace

namespace EndSignals {

void Install()
{
    if (pipeEnds[0] < 0) {
        if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
            pipeEnds[0] = pipeEnds[1] = -1;
            return;
        }
    }
    struct sigaction action { };
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : Signals)
        ::sigaction(s, &action, nullptr);
}

void Restore()
{
    for (int s : Signals)
        ::signal(s, SIG_DFL);
}

int ReadEnd()
{
    return pipeEnds[0];
}

}  // namespace EndSignals
