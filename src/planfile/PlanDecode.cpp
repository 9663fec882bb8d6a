#include "planfile/PlanDecode.h"

#include "plan/Common.h"
#include "plan/Marks.h"
#include "planfile/PlanCheck.h"
#include "planfile/PlanFieldTable.h"
#include "planfile/PlanFieldValue.h"
#include "planfile/PlanFormat.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace planfile {

namespace {

bool readNumber32(std::string_view text, std::int32_t &out)
{
    const auto value = readNumber(text);
    if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
        *value > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    out = static_cast<std::int32_t>(*value);
    return true;
}

class Decoder {
public:
    Decoder(const FieldLines &lines, const PlanLayout &layout) : m_lines(lines), m_layout(layout) {}

    // Every field, or those with the indices `only`.
    PrintedPlan run(const std::span<const int> *only = nullptr)
    {
        PrintedPlan out;
        out.Layout = &m_layout;
        out.FirstLines.resize(m_layout.fields.size());
        out.Readable.resize(m_layout.fields.size());
        if (only != nullptr) {
            for (const int index : *only) {
                decodeField(m_layout.fields[static_cast<std::size_t>(index)], out);
            }
        } else {
            for (const PlanField &field : m_layout.fields) {
                decodeField(field, out);
            }
        }
        // The dates, the age and the score are kept as printed too, so that
        // a text that does not read can be shown as it is.
        const auto keep = [&](const char *key, std::string &text, bool &readable) {
            if (const PlanField *field = m_layout.field(key)) {
                text = out.FirstLines[static_cast<std::size_t>(field->index)];
                readable = out.Readable[static_cast<std::size_t>(field->index)];
            }
        };
        keep("PlanDate", out.PlanDateText, out.HasPlanDate);
        keep("BirthDate", out.BirthText, out.HasBirthDate);
        keep("Age", out.AgeText, out.HasAge);
        keep("HDS", out.HDSText, out.HasHDS);
        return out;
    }

private:
    void decodeField(const PlanField &field, PrintedPlan &out) const
    {
        TPRACTDATA &p = out.Plan;
        const auto at = static_cast<std::size_t>(field.index);
        const std::string first = line1(field.index);
        out.FirstLines[at] = first;
        out.Readable[at] = true;
        switch (field.kind) {
        case FieldKind::Date: {
            TDateTime date = 0;
            out.Readable[at] = ParseEraDate(first, date);
            setFieldDate(p, field, date);
            break;
        }
        case FieldKind::Number: {
            std::int32_t number = 0;
            out.Readable[at] = readNumber32(first, number);
            setFieldNumber(p, field, number);
            break;
        }
        case FieldKind::Choice: {
            const auto items = choiceItems(field.choices);
            const auto found = std::find(items.begin(), items.end(), first);
            setFieldNumber(p, field, found == items.end() ? -1 : static_cast<std::int32_t>(found - items.begin()));
            break;
        }
        case FieldKind::Tick: setFieldTick(p, field, first == kTick); break;
        case FieldKind::Mark: setFieldText(p, field, marks(field.index)); break;
        case FieldKind::Priority: {
            out.PriorityTexts.push_back(first);
            const int mark = choiceIndex(kPriorityMarks, first);
            setFieldNumber(p, field, mark > 0 ? mark : 0);
            break;
        }
        case FieldKind::Text: setFieldText(p, field, first); break;
        case FieldKind::Memo: setFieldText(p, field, allLines(field.index)); break;
        }
    }

    const std::vector<std::string> *lines(int field) const { return m_lines(field); }

    // Line 1, or empty when nothing (or an object without lines) was printed.
    std::string line1(int field) const
    {
        const auto *l = lines(field);
        return l != nullptr && !l->empty() ? l->front() : std::string();
    }

    // Every line, empty ones included, joined as a memo joins them.
    std::string allLines(int field) const
    {
        std::string text;
        if (const auto *l = lines(field)) {
            for (std::size_t i = 0; i < l->size(); ++i) {
                if (i > 0) {
                    text += "\r\n";
                }
                text += (*l)[i];
            }
        }
        return text;
    }

    // Three marks print as two lines ("AB" over "C"): the first two lines
    // together are the cell's letters, as far as a mark cell shows them.
    std::string marks(int field) const
    {
        std::string letters;
        if (const auto *l = lines(field)) {
            for (std::size_t i = 0; i < l->size() && i < 2; ++i) {
                letters += (*l)[i];
            }
        }
        return MarkToHalfWidth(MarkToFullWidth(letters));
    }

    const FieldLines &m_lines;
    const PlanLayout &m_layout;
};

} // namespace

bool liesNear(int page, std::int64_t x, std::int64_t y, int pointPage, std::int64_t pointX, std::int64_t pointY)
{
    return page == pointPage && x >= pointX - kFieldTolerance && x <= pointX + kFieldTolerance &&
           y >= pointY - kFieldTolerance && y <= pointY + kFieldTolerance;
}

bool liesAtField(const PlanField &field, int page, std::int64_t x, std::int64_t y)
{
    return liesNear(page, x, y, field.page, field.x, field.y);
}

namespace {

// The fields of each page ordered by their y, so that the fields near an
// item are found by a search instead of a look at every field.
struct FieldsByHeight {
    std::array<std::vector<const PlanField *>, 2> pages;

    explicit FieldsByHeight(const PlanLayout &layout)
    {
        for (const PlanField &field : layout.fields) {
            pages.at(static_cast<std::size_t>(field.page - 1)).push_back(&field);
        }
        for (auto &fields : pages) {
            std::stable_sort(fields.begin(), fields.end(),
                             [](const PlanField *a, const PlanField *b) { return a->y < b->y; });
        }
    }
};

} // namespace

FieldItems findFieldItems(std::span<const ItemPlace> places, const PlanLayout &layout)
{
    return findFieldItems(places, places.size(), layout);
}

FieldItems findFieldItems(std::span<const ItemPlace> places, std::size_t itemCount, const PlanLayout &layout)
{
    const auto &byHeight =
        perLayout<FieldsByHeight>(layout, [](const PlanLayout &l) { return FieldsByHeight(l); });
    FieldItems held(layout.fields.size(), kNoItem);
    for (std::size_t i = 0; i < places.size(); ++i) {
        const ItemPlace &at = places[i];
        if (at.page < 1 || at.page > 2) {
            continue;
        }
        const auto &fields = byHeight.pages[static_cast<std::size_t>(at.page - 1)];
        auto it = std::lower_bound(fields.begin(), fields.end(), at.y - kFieldTolerance,
                                   [](const PlanField *f, std::int64_t y) { return f->y < y; });
        for (; it != fields.end() && (*it)->y <= at.y + kFieldTolerance; ++it) {
            const auto index = static_cast<std::size_t>((*it)->index);
            if (held[index] == kNoItem && index < itemCount && liesAtField(**it, at.page, at.x, at.y)) {
                held[index] = i;
            }
        }
    }
    return held;
}

std::string_view PrintedPlan::firstLine(const PlanField &field) const
{
    const auto at = static_cast<std::size_t>(field.index);
    if (Layout == nullptr || at >= FirstLines.size()) {
        return {};
    }
    // Layouts keep the fields of their predecessors in place, so the same
    // index is almost always the same member.
    const PlanField *same = std::string_view(Layout->fields[at].key) == field.key ? &Layout->fields[at]
                                                                                  : Layout->field(field.key);
    return same != nullptr ? std::string_view(FirstLines[static_cast<std::size_t>(same->index)]) : std::string_view();
}

PrintedPlan decodePlan(const FieldLines &lines, const PlanLayout &layout)
{
    return Decoder(lines, layout).run();
}

PrintedPlan decodePlan(const FieldLines &lines, const PlanLayout &layout, std::span<const int> fields)
{
    return Decoder(lines, layout).run(&fields);
}

} // namespace planfile
