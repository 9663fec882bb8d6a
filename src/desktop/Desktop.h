#pragma once

// What the editor asks of the desktop beyond Qt: the mode of the Japanese
// input method of a window, whether a window with a given title is showing,
// and whether a program it started still runs. Standard C++ in the
// interface; one source file per platform (DesktopWin.cpp, DesktopPosix.cpp),
// so that the Windows calls compile in the Windows build of the core
// although the editor itself is not built there.

#include <cstdint>
#include <string_view>

namespace desktop {

// True where setJapaneseInput() does something (Windows). Elsewhere the
// input method follows the hints Qt hands it and nothing more is done.
bool setsInputModes();

// Opens the input method of the top-level window `window` (its native
// handle, as QWidget::winId() gives it) in full-width hiragana, or closes
// it. A window without an input method is left alone.
void setJapaneseInput(std::uintptr_t window, bool open);

// True when a top-level window titled exactly `title` exists (Windows; the
// other systems are not asked and answer false).
bool windowWithTitle(std::u16string_view title);

// True while the process `process` (its id, as QProcess::startDetached
// gives it) runs; a process that has ended, or on POSIX systems waits as a
// zombie to be reaped, does not.
bool processRunning(std::int64_t process);

} // namespace desktop
