#include "planfile/PlanFormat.h"

namespace planfile {

std::string_view trimmedInfo(std::string_view text)
{
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool isPlanFile(std::string_view author, std::string_view subject)
{
    return trimmedInfo(author) == kAuthor && trimmedInfo(subject) == kSubject;
}

} // namespace planfile
