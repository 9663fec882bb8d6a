#include "planindex/PlanDiff.h"

#include "plan/Cp932.h"

namespace planindex {

namespace {

constexpr std::size_t kSummaryValueBytes = 40;

// A value as the summary shows it: on one line, shortened, never empty.
std::string summaryValue(const std::string &value)
{
    if (value.empty()) {
        return cp932::fromUtf8("なし");
    }
    std::string oneLine;
    const std::string lineBreak = cp932::fromUtf8("／");
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n') {
            oneLine += lineBreak;
            ++i;
        } else if (value[i] == '\r' || value[i] == '\n') {
            oneLine += lineBreak;
        } else {
            oneLine += value[i];
        }
    }
    if (oneLine.size() <= kSummaryValueBytes) {
        return oneLine;
    }
    // Whole characters only: a double-byte character is kept or dropped whole.
    std::size_t end = 0;
    while (end < oneLine.size()) {
        const std::size_t width = cp932::isLeadByte(static_cast<unsigned char>(oneLine[end])) ? 2 : 1;
        if (end + width > kSummaryValueBytes) {
            break;
        }
        end += width;
    }
    return oneLine.substr(0, end) + cp932::fromUtf8("…");
}

} // namespace

std::vector<FieldChange> diffPlans(const TPRACTDATA &older, const TPRACTDATA &newer)
{
    std::vector<FieldChange> changes;
    for (const PlanField &field : planFields()) {
        std::string before = field.value(older);
        std::string after = field.value(newer);
        if (before != after) {
            changes.push_back({&field, std::move(before), std::move(after)});
        }
    }
    return changes;
}

std::string changeSummary(const std::vector<FieldChange> &changes)
{
    std::string text;
    for (const FieldChange &change : changes) {
        const std::string &key = change.field->key;
        if (key == "PlanDate" || key == "Age" || key == "VariationText") {
            continue;
        }
        if (!text.empty()) {
            text += "\r\n";
        }
        text += cp932::fromUtf8("・") + change.field->caption + cp932::fromUtf8("：") + summaryValue(change.before) +
                cp932::fromUtf8(" → ") + summaryValue(change.after);
    }
    return text;
}

} // namespace planindex
