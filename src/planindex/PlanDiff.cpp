#include "planindex/PlanDiff.h"

#include "plan/Cp932.h"
#include "planfile/PlanFieldValue.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

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

// The fields in the order of the form: the table's field order, but the
// cells of a table row together ("ActivityItems[3].ABC[0]" to
// "ActivityItems[3].Special"), where the row's first cell stands.
std::vector<const planfile::PlanField *> formOrder(const planfile::PlanLayout &layout)
{
    std::unordered_map<std::string_view, int> groupStart;
    const auto group = [](const planfile::PlanField &field) {
        const std::string_view key = field.key;
        return key.substr(0, key.find('.'));
    };
    std::vector<const planfile::PlanField *> order;
    for (const planfile::PlanField &field : layout.fields) {
        groupStart.emplace(group(field), field.index);
        order.push_back(&field);
    }
    std::stable_sort(order.begin(), order.end(), [&](const planfile::PlanField *a, const planfile::PlanField *b) {
        return groupStart[group(*a)] < groupStart[group(*b)];
    });
    return order;
}

} // namespace

std::vector<FieldChange> diffPlans(const TPRACTDATA &older, const TPRACTDATA &newer)
{
    const auto &order = planfile::perLayout<std::vector<const planfile::PlanField *>>(planfile::currentLayout(), formOrder);
    std::vector<FieldChange> changes;
    for (const planfile::PlanField *field : order) {
        std::string before = planfile::shownText(older, *field);
        std::string after = planfile::shownText(newer, *field);
        if (before != after) {
            changes.push_back({field, std::move(before), std::move(after)});
        }
    }
    return changes;
}

std::string changeSummary(const std::vector<FieldChange> &changes)
{
    std::string text;
    for (const FieldChange &change : changes) {
        const std::string_view key = change.field->key;
        if (key == "PlanDate" || key == "Age" || key == "VariationText") {
            continue;
        }
        if (!text.empty()) {
            text += "\r\n";
        }
        text += cp932::fromUtf8("・") + planfile::fieldCaption(*change.field) + cp932::fromUtf8("：") + summaryValue(change.before) +
                cp932::fromUtf8(" → ") + summaryValue(change.after);
    }
    return text;
}

} // namespace planindex
