#pragma once

// The end a session or a process manager asks of the editor: on POSIX
// systems SIGTERM (kill, a shutdown) and SIGHUP (a logout, a closed
// terminal). The editor then ends as on a normal close, letting go of its
// plan's lock, instead of being killed where it stands.

namespace desktop {

// Installs the handlers (once) and returns a descriptor that becomes
// readable when one of these signals has arrived; -1 where there are none
// (Windows, where the session's end reaches the windows as a close).
int endRequestDescriptor();

} // namespace desktop
