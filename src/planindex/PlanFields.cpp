#include "planindex/PlanFields.h"

#include "planfile/PlanFieldValue.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace planindex {

namespace {

// The fields in the order of the form: the table's field order, but the
// cells of a table row together ("ActivityItems[3].ABC[0]" to
// "ActivityItems[3].Special"), where the row's first cell stands.
std::vector<const planfile::PlanField *> formOrder()
{
    std::unordered_map<std::string_view, int> groupStart;
    const auto group = [](const planfile::PlanField &field) {
        const std::string_view key = field.key;
        return key.substr(0, key.find('.'));
    };
    std::vector<const planfile::PlanField *> order;
    for (const planfile::PlanField &field : planfile::kPlanFields) {
        groupStart.emplace(group(field), field.index);
        order.push_back(&field);
    }
    std::stable_sort(order.begin(), order.end(), [&](const planfile::PlanField *a, const planfile::PlanField *b) {
        return groupStart[group(*a)] < groupStart[group(*b)];
    });
    return order;
}

} // namespace

const std::vector<PlanField> &planFields()
{
    static const std::vector<PlanField> fields = [] {
        std::vector<PlanField> list;
        list.reserve(planfile::kPlanFields.size());
        for (const planfile::PlanField *field : formOrder()) {
            list.push_back({field->key, planfile::fieldCaption(*field), field->kind,
                            [field](const TPRACTDATA &p) { return planfile::shownText(p, *field); }});
        }
        return list;
    }();
    return fields;
}

} // namespace planindex
