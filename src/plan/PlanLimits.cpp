#include "plan/PlanLimits.h"

#include "plan/Cp932.h"
#include "plan/TextParse.h"

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
    // Values beyond 1000000009 either way are not numbers here: they report
    // the digits message, not the range message.
    constexpr long kLargest = 1000000009;
    const std::optional<long> value = plantext::parseInt<long>(text, plantext::IntForm::Signed);
    if (!value || *value > kLargest || *value < -kLargest) {
        return std::nullopt;
    }
    return value;
}

} // namespace planlimits
