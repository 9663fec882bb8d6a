#pragma once

// The byte limits that a plan's texts must keep before it is saved, and the
// messages that report a breach. Limits count code-page-932 bytes; a memo's
// line break (CR LF) counts 2. Messages are CP932 texts with "\n" as line break.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace planlimits {

constexpr std::size_t kName = 50;       // NameEdit, TeamBox1-13
constexpr std::size_t kHealthMemo = 254; // KenkouMemo, GapeiMemo, SeikatsuMemo
constexpr std::size_t kEtc = 38;        // EtcEdit
constexpr std::size_t kLine = 98;       // participation and impairment texts, SonotaMemo
constexpr std::size_t kGoods = 58;      // Goods, Kaigo of a row
constexpr std::size_t kTime = 8;        // Time of a row
constexpr std::size_t kBuffer = 1000;   // approach memos and page-2 memos
constexpr std::size_t kHds = 2;         // HDSEdit

// "入力文字数がオーバーしています。\n半角L文字・全角L/2文字以内で入力してください。"
// ("半角2文字で入力してください。" for the limit 2).
std::string tooLongMessage(std::size_t limit);
// "半角2文字の数字で入力してください。"
std::string hdsDigitsMessage();
// "0 から 30 までの数値を入力してください。"
std::string hdsRangeMessage();
// "日付エラーです。"
std::string dateErrorMessage();
// "使用できない文字が含まれています。" (a character code page 932 cannot hold)
std::string unrepresentableMessage();

// Reads the HDS-R text as an integer: leading spaces skipped, an optional
// sign, then digits; an empty or otherwise shaped text gives nothing.
std::optional<long> readHdsNumber(std::string_view text);

} // namespace planlimits
