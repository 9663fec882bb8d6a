#pragma once

// Windows reports failures of its file calls with its own error codes
// (GetLastError); the rest of the program words errno values. This turns
// one into the other, so that a caller that tells reasons apart (the
// editor's save messages) needs one switch on every platform.

namespace winerror {

// The errno value for a Windows error code: a missing file or folder is
// ENOENT, access denied EACCES, a file held open by another program EBUSY,
// a full disk ENOSPC, a name Windows does not allow EINVAL, a name too long
// ENAMETOOLONG, a write-protected medium EROFS; a code with no counterpart
// is EIO.
int toErrno(unsigned long windowsError);

} // namespace winerror
