#include "desktop/Desktop.h"

#include <fstream>
#include <iterator>
#include <string>

#include <signal.h>
#include <sys/types.h>

namespace desktop {

bool setsInputModes()
{
    return false;
}

void setJapaneseInput(std::uintptr_t, bool) {}

bool windowWithTitle(std::u16string_view)
{
    return false;
}

bool processRunning(std::int64_t process)
{
    if (process <= 0) {
        return false;
    }
    // A detached child is reaped by no one here until it ends; a process
    // that no longer exists (or is a zombie) counts as ended.
    if (::kill(static_cast<pid_t>(process), 0) != 0) {
        return false;
    }
    std::ifstream stat("/proc/" + std::to_string(process) + "/stat");
    const std::string line((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t close = line.rfind(')');
    return close == std::string::npos || close + 2 >= line.size() || line[close + 2] != 'Z';
}

} // namespace desktop
