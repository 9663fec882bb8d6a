#include "planfile/PlanFieldValue.h"

#include "plan/Common.h"
#include "plan/Cp932.h"
#include "plan/Marks.h"
#include "planfile/PlanFormat.h"

#include <algorithm>
#include <type_traits>
#include <unordered_map>

namespace planfile {

namespace {

template <typename Map> const PlanField *lookUp(const Map &map, std::string_view name)
{
    const auto it = map.find(name);
    return it == map.end() ? nullptr : it->second;
}

template <const char *PlanField::*Column> std::unordered_map<std::string_view, const PlanField *> indexBy()
{
    std::unordered_map<std::string_view, const PlanField *> map;
    for (const PlanField &field : kPlanFields) {
        map.emplace(field.*Column, &field);
    }
    return map;
}

// The record member of `field` in a plan that is only read.
FieldRef member(const TPRACTDATA &plan, const PlanField &field)
{
    return field.ref(const_cast<TPRACTDATA &>(plan));
}

template <typename T> constexpr bool isText = !std::is_arithmetic_v<T>;

} // namespace

const PlanField *fieldByKey(std::string_view key)
{
    static const auto byKey = indexBy<&PlanField::key>();
    return lookUp(byKey, key);
}

const PlanField *fieldByControl(std::string_view control)
{
    static const auto byControl = indexBy<&PlanField::control>();
    return lookUp(byControl, control);
}

const std::vector<const PlanField *> &checkedFields(const PlanLayout &layout)
{
    return perLayout<std::vector<const PlanField *>>(layout, [](const PlanLayout &l) {
        std::vector<const PlanField *> list;
        for (const PlanField &field : l.fields) {
            if (field.check > 0) {
                list.push_back(&field);
            }
        }
        std::sort(list.begin(), list.end(), [](const PlanField *a, const PlanField *b) { return a->check < b->check; });
        return list;
    });
}

std::string fieldCaption(const PlanField &field)
{
    return cp932::fromUtf8(field.caption);
}

std::span<const std::string_view> choiceItems(ChoiceList list)
{
    switch (list) {
    case ChoiceList::Sexes: return kSexes;
    case ChoiceList::CareLevels: return kCareLevels;
    case ChoiceList::None: break;
    }
    return {};
}

std::string_view fieldText(const TPRACTDATA &plan, const PlanField &field)
{
    return std::visit(
        [](auto *value) -> std::string_view {
            using T = std::remove_pointer_t<decltype(value)>;
            if constexpr (isText<T>) {
                return std::string_view(*value);
            } else {
                return {};
            }
        },
        member(plan, field));
}

void setFieldText(TPRACTDATA &plan, const PlanField &field, std::string_view text)
{
    std::visit(
        [text](auto *value) {
            using T = std::remove_pointer_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::string>) {
                value->assign(text);
            } else if constexpr (isText<T>) {
                *value = text;
            }
        },
        field.ref(plan));
}

std::int32_t fieldNumber(const TPRACTDATA &plan, const PlanField &field)
{
    return std::visit(
        [](auto *value) -> std::int32_t {
            using T = std::remove_pointer_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::int32_t> || std::is_same_v<T, bool>) {
                return static_cast<std::int32_t>(*value);
            } else {
                return 0;
            }
        },
        member(plan, field));
}

void setFieldNumber(TPRACTDATA &plan, const PlanField &field, std::int32_t number)
{
    const FieldRef ref = field.ref(plan);
    if (auto *value = std::get_if<std::int32_t *>(&ref)) {
        **value = number;
    }
}

bool fieldTick(const TPRACTDATA &plan, const PlanField &field)
{
    const FieldRef ref = member(plan, field);
    const auto *value = std::get_if<bool *>(&ref);
    return value != nullptr && **value;
}

void setFieldTick(TPRACTDATA &plan, const PlanField &field, bool tick)
{
    const FieldRef ref = field.ref(plan);
    if (auto *value = std::get_if<bool *>(&ref)) {
        **value = tick;
    }
}

TDateTime fieldDate(const TPRACTDATA &plan, const PlanField &field)
{
    const FieldRef ref = member(plan, field);
    const auto *value = std::get_if<TDateTime *>(&ref);
    return value != nullptr ? **value : 0;
}

void setFieldDate(TPRACTDATA &plan, const PlanField &field, TDateTime date)
{
    const FieldRef ref = field.ref(plan);
    if (auto *value = std::get_if<TDateTime *>(&ref)) {
        **value = date;
    }
}

std::string printedText(const TPRACTDATA &plan, const PlanField &field)
{
    switch (field.kind) {
    case FieldKind::Date: return FormatEraDate(fieldDate(plan, field));
    case FieldKind::Number: return std::to_string(fieldNumber(plan, field));
    case FieldKind::Choice: {
        const auto items = choiceItems(field.choices);
        const std::int32_t chosen = fieldNumber(plan, field);
        return chosen >= 0 && static_cast<std::size_t>(chosen) < items.size()
                   ? std::string(items[static_cast<std::size_t>(chosen)])
                   : std::string();
    }
    case FieldKind::Tick: return fieldTick(plan, field) ? std::string(kTick) : std::string(" ");
    case FieldKind::Mark: {
        // Three marks print on two lines: the first two, then the third.
        const std::string marks(fieldText(plan, field));
        return marks.size() <= 2 ? marks : marks.substr(0, 2) + '\r' + marks.substr(2);
    }
    case FieldKind::Priority: {
        const std::int32_t mark = fieldNumber(plan, field);
        return mark >= 0 && static_cast<std::size_t>(mark) < kPriorityMarks.size()
                   ? std::string(kPriorityMarks[static_cast<std::size_t>(mark)])
                   : std::string();
    }
    case FieldKind::Text:
    case FieldKind::Memo: break;
    }
    return std::string(fieldText(plan, field));
}

std::string shownText(const TPRACTDATA &plan, const PlanField &field)
{
    static const std::string blank = cp932::fromUtf8("　");
    switch (field.kind) {
    case FieldKind::Tick: return fieldTick(plan, field) ? std::string(kTick) : std::string();
    case FieldKind::Mark: return MarkToFullWidth(fieldText(plan, field));
    case FieldKind::Priority: {
        const std::int32_t mark = fieldNumber(plan, field);
        return mark == 1 || mark == 2 ? std::string(kPriorityMarks[static_cast<std::size_t>(mark)]) : std::string();
    }
    case FieldKind::Text: {
        // An empty target period shows the blank that the editor puts in it.
        std::string text(fieldText(plan, field));
        return text == blank ? std::string() : text;
    }
    default: break;
    }
    return printedText(plan, field);
}

} // namespace planfile
