#include "plan/PlanLimits.h"

#include "plan/Cp932.h"

namespace planlimits {

std::string tooLongMessage(std::size_t limit)
{
    std::string utf8 = "入力文字数がオーバーしています。\n半角" + std::to_string(limit) + "文字";
    if (limit == kHds) {
        utf8 += "で入力してください。";
    } else {
        utf8 += "・全角" + std::to_string(limit / 2) + "文字以内で入力してください。";
    }
    return cp932::fromUtf8(utf8);
}

std::string hdsDigitsMessage()
{
    return cp932::fromUtf8("半角2文字の数字で入力してください。");
}

std::string hdsRangeMessage()
{
    return cp932::fromUtf8("0 から 30 までの数値を入力してください。");
}

std::string dateErrorMessage()
{
    return cp932::fromUtf8("日付エラーです。");
}

std::string unrepresentableMessage()
{
    return cp932::fromUtf8("使用できない文字が含まれています。");
}

std::optional<long> readHdsNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9' || value > 100000000) {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

} // namespace planlimits
