#include "app/GuiText.h"

#include "plan/Cp932.h"

namespace guitext {

namespace {

std::u16string_view utf16(const QString &text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()), static_cast<std::size_t>(text.size())};
}

} // namespace

QString fromCp932(std::string_view bytes)
{
    const std::u16string text = cp932::toUtf16(bytes);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toCp932(const QString &text)
{
    return cp932::fromUtf16(utf16(text));
}

std::optional<qsizetype> firstUnrepresentable(const QString &text)
{
    const auto index = cp932::firstUnrepresentable(utf16(text));
    if (!index) {
        return std::nullopt;
    }
    return static_cast<qsizetype>(*index);
}

qsizetype characterLength(const QString &text, qsizetype index)
{
    if (index + 1 < text.size() && text.at(index).isHighSurrogate() && text.at(index + 1).isLowSurrogate()) {
        return 2;
    }
    return 1;
}

} // namespace guitext
