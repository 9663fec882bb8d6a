#include "desktop/Arguments.h"

#include <cstdio>
#include <string>

#include <fcntl.h>
#include <io.h>

#include <windows.h>
#include <shellapi.h>

namespace desktop {
namespace {

std::string utf8(const wchar_t *text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back(); // the terminating NUL
    return out;
}

} // namespace

std::vector<std::string> commandLineArguments(int, char **)
{
    std::vector<std::string> args;
    int count = 0;
    wchar_t **words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr) {
        return args;
    }
    for (int i = 1; i < count; ++i) {
        args.push_back(utf8(words[i]));
    }
    LocalFree(words);
    return args;
}

void useParentConsole()
{
    // Started with its output redirected, the program keeps those handles.
    if (GetStdHandle(STD_OUTPUT_HANDLE) != nullptr && GetStdHandle(STD_ERROR_HANDLE) != nullptr) {
        return;
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
        return; // started from Explorer or the Start menu: no console to write to
    }
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
}

void writeText(bool toStdErr, const std::string &text)
{
    std::FILE *stream = toStdErr ? stderr : stdout;
    std::fflush(stream);
    const HANDLE handle = GetStdHandle(toStdErr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(size), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    _setmode(_fileno(stream), _O_BINARY); // line ends as on Linux, like ovilant-plan
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

} // namespace desktop
