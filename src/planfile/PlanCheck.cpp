#include "planfile/PlanCheck.h"

#include "plan/TextParse.h"

#include "plan/Common.h"
#include "plan/Cp932.h"
#include "planfile/PlanFieldValue.h"

#include <array>
#include <tuple>

namespace planfile {

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

std::optional<long> readNumber(std::string_view text)
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

bool bornAfterPlanDate(TDateTime birthDate, TDateTime planDate)
{
    const CivilDate birth = decodeDate(birthDate);
    const CivilDate plan = decodeDate(planDate);
    return std::tie(birth.year, birth.month, birth.day) > std::tie(plan.year, plan.month, plan.day);
}

namespace {

// The steps of the checks, each storing its values once it passed.
class Checker {
public:
    Checker(const PlanEntry &entry, TPRACTDATA *store, const PlanLayout &layout)
        : m_entry(entry), m_store(store), m_layout(layout)
    {
    }

    void run()
    {
        for (const PlanField *field : checkedFields(m_layout)) {
            keepUncheckedBefore(field);
            if (!check(*field)) {
                return;
            }
        }
        keepUncheckedBefore(nullptr);
    }

    std::optional<PlanFault> fault() const { return m_fault; }

private:
    bool check(const PlanField &field)
    {
        switch (field.kind) {
        case FieldKind::Date: return birthDate(field);
        case FieldKind::Number: return hds(field);
        default: return text(field);
        }
    }

    // Copies the fields without a check that are due before `next` is
    // checked (all that are left when `next` is nullptr). PlanDate stays as
    // the store has it; the priority marks are kept by their cells; the age
    // comes with the birth date.
    void keepUncheckedBefore(const PlanField *next)
    {
        if (m_store == nullptr) {
            return;
        }
        for (const PlanField &field : m_layout.fields) {
            if (field.check > 0 || (next != nullptr && storedBefore(field) != next)) {
                continue;
            }
            if (field.kind != FieldKind::Date && field.kind != FieldKind::Priority && field.kind != FieldKind::Number) {
                copy(field);
            }
        }
    }

    // The checked field before which a field without a check is copied: the
    // first checked field after it in its own group (a table row: its marks
    // before its Goods), else the first checked field after it at all (Sex
    // after Name, a tick before the text that follows it); nullptr when
    // none follows.
    const PlanField *storedBefore(const PlanField &field) const
    {
        const auto &due = perLayout<std::vector<const PlanField *>>(m_layout, [](const PlanLayout &layout) {
            const auto group = [](const PlanField &f) {
                const std::string_view key = f.key;
                return key.substr(0, key.find('.'));
            };
            const std::span<const PlanField> fields = layout.fields;
            std::vector<const PlanField *> list(fields.size());
            for (const PlanField &f : fields) {
                const PlanField *inGroup = nullptr;
                const PlanField *after = nullptr;
                for (std::size_t i = static_cast<std::size_t>(f.index) + 1; i < fields.size(); ++i) {
                    const PlanField &later = fields[i];
                    if (later.check == 0) {
                        continue;
                    }
                    if (after == nullptr) {
                        after = &later;
                    }
                    if (group(later) == group(f)) {
                        inGroup = &later;
                        break;
                    }
                }
                list[static_cast<std::size_t>(f.index)] = inGroup != nullptr ? inGroup : after;
            }
            return list;
        });
        return due[static_cast<std::size_t>(field.index)];
    }

    void copy(const PlanField &field)
    {
        switch (field.kind) {
        case FieldKind::Tick: setFieldTick(*m_store, field, fieldTick(m_entry.Plan, field)); break;
        case FieldKind::Choice: setFieldNumber(*m_store, field, fieldNumber(m_entry.Plan, field)); break;
        default: setFieldText(*m_store, field, fieldText(m_entry.Plan, field)); break;
        }
    }

    bool fail(const PlanField &field, std::string message)
    {
        m_fault = PlanFault{&field, std::move(message)};
        return false;
    }

    bool unrepresentable(const PlanField &field) const { return m_entry.Unrepresentable == &field; }

    // A control character other than a memo's line break (a tab, an escape,
    // a null, DEL): no field holds one, and a file whose text does was
    // changed after it was written. No byte of a CP932 double-byte
    // character lies below 0x40 or is 0x7F, so the bytes are read one by one.
    static bool holdsControlCharacter(std::string_view text)
    {
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if ((byte < 0x20 && c != '\r' && c != '\n') || byte == 0x7F) {
                return true;
            }
        }
        return false;
    }

    bool text(const PlanField &field)
    {
        if (unrepresentable(field)) {
            return fail(field, unrepresentableMessage());
        }
        const std::string_view value = fieldText(m_entry.Plan, field);
        if (holdsControlCharacter(value)) {
            return fail(field, unrepresentableMessage());
        }
        if (value.size() > field.limit) {
            return fail(field, tooLongMessage(field.limit));
        }
        if (m_store != nullptr) {
            setFieldText(*m_store, field, value);
        }
        return true;
    }

    // The birth date reads as an era date on or before the plan date; the
    // age follows from it.
    bool birthDate(const PlanField &field)
    {
        const TPRACTDATA &p = m_entry.Plan;
        TDateTime birth = 0;
        if (!ParseEraDate(m_entry.BirthText, birth) || bornAfterPlanDate(birth, p.PlanDate)) {
            return fail(field, dateErrorMessage());
        }
        if (m_store != nullptr) {
            m_store->BirthDate = birth;
            m_store->Age = AgeInYears(m_store->BirthDate, m_store->PlanDate);
        }
        return true;
    }

    // The HDS-R score: at most two bytes, a number, 0 to 30.
    bool hds(const PlanField &field)
    {
        if (unrepresentable(field)) {
            return fail(field, unrepresentableMessage());
        }
        if (m_entry.HDSText.size() > field.limit) {
            return fail(field, tooLongMessage(field.limit));
        }
        const std::optional<long> score = readNumber(m_entry.HDSText);
        if (!score) {
            return fail(field, hdsDigitsMessage());
        }
        if (*score < 0 || *score > 30) {
            return fail(field, hdsRangeMessage());
        }
        if (m_store != nullptr) {
            setFieldNumber(*m_store, field, static_cast<std::int32_t>(*score));
        }
        return true;
    }

    const PlanEntry &m_entry;
    TPRACTDATA *m_store;
    const PlanLayout &m_layout;
    std::optional<PlanFault> m_fault;
};

} // namespace

std::optional<PlanFault> CheckPlan(const PlanEntry &entry, TPRACTDATA *store, const PlanLayout &layout)
{
    Checker checker(entry, store, layout);
    checker.run();
    return checker.fault();
}

} // namespace planfile
