#include "planio/PlanItems.h"

namespace planio {

ItemsByField itemsByField(const std::vector<TTextItem> &items, const planfile::PlanLayout &layout)
{
    return itemsByField(items, items.size(), layout);
}

ItemsByField itemsByField(const std::vector<TTextItem> &items, std::size_t itemCount,
                          const planfile::PlanLayout &layout)
{
    std::vector<planfile::ItemPlace> places;
    places.reserve(items.size());
    for (const TTextItem &item : items) {
        places.push_back({item.page, item.x / CurrencyScale, item.y / CurrencyScale});
    }
    const planfile::FieldItems held = planfile::findFieldItems(places, itemCount, layout);
    ItemsByField byField(held.size());
    for (std::size_t field = 0; field < held.size(); ++field) {
        byField[field] = held[field] == planfile::kNoItem ? nullptr : &items[held[field]];
    }
    return byField;
}

namespace {

planfile::FieldLines linesOf(const ItemsByField &byField)
{
    return [&byField](int field) -> const std::vector<std::string> * {
        const TTextItem *item = byField[static_cast<std::size_t>(field)];
        return item != nullptr ? &item->lines : nullptr;
    };
}

} // namespace

planfile::PrintedPlan decodeItems(const std::vector<TTextItem> &items, const planfile::PlanLayout &layout)
{
    const ItemsByField byField = itemsByField(items, layout);
    return planfile::decodePlan(linesOf(byField), layout);
}

planfile::PrintedPlan decodeItems(const std::vector<TTextItem> &items, std::size_t itemCount,
                                  const planfile::PlanLayout &layout, std::span<const int> fields)
{
    const ItemsByField byField = itemsByField(items, itemCount, layout);
    return planfile::decodePlan(linesOf(byField), layout, fields);
}

} // namespace planio
