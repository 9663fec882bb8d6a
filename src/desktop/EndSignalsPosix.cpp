#include "desktop/EndSignals.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace desktop {

namespace {

int g_pipe[2] = {-1, -1};

// Only what is safe in a signal handler: one byte into the pipe, which
// the event loop watches. A full pipe already holds a request.
extern "C" void onEndSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(g_pipe[1], &byte, 1);
}

} // namespace

int endRequestDescriptor()
{
    if (g_pipe[0] >= 0) {
        return g_pipe[0];
    }
    if (pipe(g_pipe) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return -1;
    }
    for (const int fd : g_pipe) {
        fcntl(fd, F_SETFD, FD_CLOEXEC);
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    struct sigaction action {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    return g_pipe[0];
}

} // namespace desktop
