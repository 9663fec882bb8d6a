#include "desktop/Desktop.h"

#include <string>

#include <windows.h>
#include <imm.h>

namespace desktop {

bool setsInputModes()
{
    return true;
}

void setJapaneseInput(std::uintptr_t window, bool open)
{
    const auto handle = reinterpret_cast<HWND>(window);
    const HIMC context = ImmGetContext(handle);
    if (context == nullptr) {
        return; // no input method on this window (Qt detaches it from fields without one)
    }
    if (!open) {
        ImmSetOpenStatus(context, FALSE);
    } else {
        ImmSetOpenStatus(context, TRUE);
        DWORD conversion = 0;
        DWORD sentence = 0;
        ImmGetConversionStatus(context, &conversion, &sentence);
        conversion &= ~static_cast<DWORD>(IME_CMODE_KATAKANA);
        conversion |= IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE;
        ImmSetConversionStatus(context, conversion, sentence);
    }
    ImmReleaseContext(handle, context);
}

bool windowWithTitle(std::u16string_view title)
{
    const std::wstring text(title.begin(), title.end());
    return FindWindowW(nullptr, text.c_str()) != nullptr;
}

bool processRunning(std::int64_t process)
{
    if (process <= 0) {
        return false;
    }
    const HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(process));
    if (handle == nullptr) {
        return false;
    }
    const bool running = WaitForSingleObject(handle, 0) == WAIT_TIMEOUT;
    CloseHandle(handle);
    return running;
}

} // namespace desktop
