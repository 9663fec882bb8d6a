#include "planfile/PlanCheck.h"

#include "plan/TextParse.h"

#include "plan/Common.h"
#include "plan/Cp932.h"

#include <stdexcept>
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

std::string_view inputName(PlanInput input)
{
    switch (input) {
    case PlanInput::Name: return "Name";
    case PlanInput::BirthDate: return "BirthDate";
    case PlanInput::Kenkou: return "Kenkou";
    case PlanInput::Gapei: return "Gapei";
    case PlanInput::Seikatsu: return "Seikatsu";
    case PlanInput::EtcText: return "EtcText";
    case PlanInput::HomeWork: return "HomeWork";
    case PlanInput::Social: return "Social";
    case PlanInput::GoOut: return "GoOut";
    case PlanInput::FreeTime: return "FreeTime";
    case PlanInput::TaiinText: return "TaiinText";
    case PlanInput::ExerciseText: return "ExerciseText";
    case PlanInput::SenseText: return "SenseText";
    case PlanInput::BrainText: return "BrainText";
    case PlanInput::KoushukuText: return "KoushukuText";
    case PlanInput::ArthralgiaText: return "ArthralgiaText";
    case PlanInput::SonotaText: return "SonotaText";
    case PlanInput::HDS: return "HDS";
    case PlanInput::Goods: return "Goods";
    case PlanInput::Kaigo: return "Kaigo";
    case PlanInput::Time: return "Time";
    case PlanInput::PTOTST0Text: return "PTOTST0Text";
    case PlanInput::Kango0Text: return "Kango0Text";
    case PlanInput::Jitchi0Text: return "Jitchi0Text";
    case PlanInput::PTOTST1Text: return "PTOTST1Text";
    case PlanInput::Kango1Text: return "Kango1Text";
    case PlanInput::Jitchi1Text: return "Jitchi1Text";
    case PlanInput::SelfHopeText: return "SelfHopeText";
    case PlanInput::FarmilyHopeText: return "FarmilyHopeText";
    case PlanInput::LifePointText: return "LifePointText";
    case PlanInput::RihaTergetText: return "RihaTergetText";
    case PlanInput::SelfDoText: return "SelfDoText";
    case PlanInput::AskFarmilyText: return "AskFarmilyText";
    case PlanInput::DiseseCareText: return "DiseseCareText";
    case PlanInput::VariationText: return "VariationText";
    case PlanInput::RemarkText: return "RemarkText";
    case PlanInput::Team: return "Team";
    }
    return {};
}

const std::vector<PlanInputRef> &checkedInputs()
{
    static const std::vector<PlanInputRef> inputs = [] {
        std::vector<PlanInputRef> list;
        const auto add = [&](PlanInput first, PlanInput last) {
            for (int i = static_cast<int>(first); i <= static_cast<int>(last); ++i) {
                list.push_back({static_cast<PlanInput>(i)});
            }
        };
        const auto rows = [&](int first, int last) {
            for (int row = first; row <= last; ++row) {
                list.insert(list.end(), {{PlanInput::Goods, row}, {PlanInput::Kaigo, row}, {PlanInput::Time, row}});
            }
        };
        add(PlanInput::Name, PlanInput::HDS);
        rows(0, kActivityRows - 1);
        add(PlanInput::PTOTST0Text, PlanInput::Jitchi0Text);
        rows(kMotionFirstRow, kMotionFirstRow + kMotionRows - 1);
        add(PlanInput::PTOTST1Text, PlanInput::RemarkText);
        for (int n = 1; n <= kTeamMembers; ++n) {
            list.push_back({PlanInput::Team, n});
        }
        return list;
    }();
    return inputs;
}

bool onSecondPage(PlanInput input)
{
    return input >= PlanInput::SelfHopeText;
}

namespace {

// Calls `use` with the record field of a text input (a std::string, a
// ShortText or a TextBuffer).
template <typename Plan, typename Use> void withField(Plan &p, PlanInputRef ref, Use &&use)
{
    switch (ref.input) {
    case PlanInput::Name: return use(p.Name);
    case PlanInput::Kenkou: return use(p.Kenkou);
    case PlanInput::Gapei: return use(p.Gapei);
    case PlanInput::Seikatsu: return use(p.Seikatsu);
    case PlanInput::EtcText: return use(p.EtcText);
    case PlanInput::HomeWork: return use(p.HomeWork);
    case PlanInput::Social: return use(p.Social);
    case PlanInput::GoOut: return use(p.GoOut);
    case PlanInput::FreeTime: return use(p.FreeTime);
    case PlanInput::TaiinText: return use(p.TaiinText);
    case PlanInput::ExerciseText: return use(p.ExerciseText);
    case PlanInput::SenseText: return use(p.SenseText);
    case PlanInput::BrainText: return use(p.BrainText);
    case PlanInput::KoushukuText: return use(p.KoushukuText);
    case PlanInput::ArthralgiaText: return use(p.ArthralgiaText);
    case PlanInput::SonotaText: return use(p.SonotaText);
    case PlanInput::Goods: return use(planRow(p, ref.number).Goods);
    case PlanInput::Kaigo: return use(planRow(p, ref.number).Kaigo);
    case PlanInput::Time: return use(planRow(p, ref.number).Time);
    case PlanInput::PTOTST0Text: return use(p.PTOTST0Text);
    case PlanInput::Kango0Text: return use(p.Kango0Text);
    case PlanInput::Jitchi0Text: return use(p.Jitchi0Text);
    case PlanInput::PTOTST1Text: return use(p.PTOTST1Text);
    case PlanInput::Kango1Text: return use(p.Kango1Text);
    case PlanInput::Jitchi1Text: return use(p.Jitchi1Text);
    case PlanInput::SelfHopeText: return use(p.SelfHopeText);
    case PlanInput::FarmilyHopeText: return use(p.FarmilyHopeText);
    case PlanInput::LifePointText: return use(p.LifePointText);
    case PlanInput::RihaTergetText: return use(p.RihaTergetText);
    case PlanInput::SelfDoText: return use(p.SelfDoText);
    case PlanInput::AskFarmilyText: return use(p.AskFarmilyText);
    case PlanInput::DiseseCareText: return use(p.DiseseCareText);
    case PlanInput::VariationText: return use(p.VariationText);
    case PlanInput::RemarkText: return use(p.RemarkText);
    case PlanInput::Team:
        if (ref.number < 1 || ref.number > kTeamMembers) {
            throw std::out_of_range("no team member with this number");
        }
        return use(p.Team[static_cast<std::size_t>(ref.number)]);
    case PlanInput::BirthDate:
    case PlanInput::HDS:
        break;
    }
    throw std::invalid_argument("not a text input of the record");
}

// The steps of the checks, each storing its values once it passed.
class Checker {
public:
    Checker(const PlanEntry &entry, TPRACTDATA *store) : m_entry(entry), m_store(store) {}

    bool run()
    {
        const TPRACTDATA &p = m_entry.Plan;
        if (!text({PlanInput::Name}, kName)) {
            return false;
        }
        keep([&](TPRACTDATA &s) { s.Sex = p.Sex; });
        TDateTime birth = 0;
        if (!ParseEraDate(m_entry.BirthText, birth) || bornAfterPlanDate(birth, p.PlanDate)) {
            return fail({PlanInput::BirthDate}, dateErrorMessage());
        }
        keep([&](TPRACTDATA &s) {
            s.BirthDate = birth;
            s.Age = AgeInYears(s.BirthDate, s.PlanDate);
            s.KaigoLevel = p.KaigoLevel;
        });
        if (!texts({PlanInput::Kenkou, PlanInput::Gapei, PlanInput::Seikatsu}, kHealthMemo)) {
            return false;
        }
        keep([&](TPRACTDATA &s) {
            s.Home = p.Home;
            s.Etc = p.Etc;
        });
        if (!text({PlanInput::EtcText}, kEtc)) {
            return false;
        }
        keep([&](TPRACTDATA &s) { s.Taiin = p.Taiin; });
        if (!texts({PlanInput::HomeWork, PlanInput::Social, PlanInput::GoOut, PlanInput::FreeTime,
                    PlanInput::TaiinText},
                   kLine)) {
            return false;
        }
        // Each impairment's tick is stored before its text is checked.
        const std::pair<bool TPRACTDATA::*, PlanInput> impairments[] = {
            {&TPRACTDATA::ExerciseFlag, PlanInput::ExerciseText}, {&TPRACTDATA::SenseFlag, PlanInput::SenseText},
            {&TPRACTDATA::BrainFlag, PlanInput::BrainText},       {&TPRACTDATA::KoushukuFlag, PlanInput::KoushukuText},
            {&TPRACTDATA::ArthralgiaFlag, PlanInput::ArthralgiaText}, {&TPRACTDATA::SonotaFlag, PlanInput::SonotaText},
        };
        for (const auto &impairment : impairments) {
            bool TPRACTDATA::*const flag = impairment.first;
            keep([&](TPRACTDATA &s) { s.*flag = p.*flag; });
            if (!text({impairment.second}, kLine)) {
                return false;
            }
        }
        if (!hds()) {
            return false;
        }
        for (int row = 0; row < kActivityRows; ++row) {
            if (!tableRow(row)) {
                return false;
            }
        }
        if (!texts({PlanInput::PTOTST0Text, PlanInput::Kango0Text, PlanInput::Jitchi0Text}, kBuffer)) {
            return false;
        }
        for (int row = kMotionFirstRow; row < kMotionFirstRow + kMotionRows; ++row) {
            if (!tableRow(row)) {
                return false;
            }
        }
        if (!texts({PlanInput::PTOTST1Text, PlanInput::Kango1Text, PlanInput::Jitchi1Text}, kBuffer) ||
            !texts({PlanInput::SelfHopeText, PlanInput::FarmilyHopeText, PlanInput::LifePointText,
                    PlanInput::RihaTergetText, PlanInput::SelfDoText, PlanInput::AskFarmilyText,
                    PlanInput::DiseseCareText, PlanInput::VariationText, PlanInput::RemarkText},
                   kBuffer)) {
            return false;
        }
        for (int n = 1; n <= kTeamMembers; ++n) {
            if (!text({PlanInput::Team, n}, kName)) {
                return false;
            }
        }
        return true;
    }

    std::optional<PlanFault> fault() const { return m_fault; }

private:
    template <typename Store> void keep(Store &&store)
    {
        if (m_store != nullptr) {
            store(*m_store);
        }
    }

    bool fail(PlanInputRef where, std::string message)
    {
        m_fault = PlanFault{where, std::move(message)};
        return false;
    }

    bool unrepresentable(PlanInputRef ref) const { return m_entry.Unrepresentable == ref; }

    bool text(PlanInputRef ref, std::size_t limit)
    {
        if (unrepresentable(ref)) {
            return fail(ref, unrepresentableMessage());
        }
        const std::string_view value = inputText(m_entry.Plan, ref);
        if (value.size() > limit) {
            return fail(ref, tooLongMessage(limit));
        }
        keep([&](TPRACTDATA &s) { setInputText(s, ref, value); });
        return true;
    }

    bool texts(std::initializer_list<PlanInput> inputs, std::size_t limit)
    {
        for (const PlanInput input : inputs) {
            if (!text({input}, limit)) {
                return false;
            }
        }
        return true;
    }

    // At most two bytes, a number, 0 to 30.
    bool hds()
    {
        const PlanInputRef ref{PlanInput::HDS};
        if (unrepresentable(ref)) {
            return fail(ref, unrepresentableMessage());
        }
        if (m_entry.HDSText.size() > kHds) {
            return fail(ref, tooLongMessage(kHds));
        }
        const std::optional<long> score = readNumber(m_entry.HDSText);
        if (!score) {
            return fail(ref, hdsDigitsMessage());
        }
        if (*score < 0 || *score > 30) {
            return fail(ref, hdsRangeMessage());
        }
        keep([&](TPRACTDATA &s) { s.HDS = static_cast<std::int32_t>(*score); });
        return true;
    }

    // The marks need no check; the priority mark is kept by its cell.
    bool tableRow(int row)
    {
        keep([&](TPRACTDATA &s) { planRow(s, row).ABC = planRow(m_entry.Plan, row).ABC; });
        return text({PlanInput::Goods, row}, kGoods) && text({PlanInput::Kaigo, row}, kGoods) &&
               text({PlanInput::Time, row}, kTime);
    }

    const PlanEntry &m_entry;
    TPRACTDATA *m_store;
    std::optional<PlanFault> m_fault;
};

} // namespace

std::string_view inputText(const TPRACTDATA &plan, PlanInputRef ref)
{
    std::string_view text;
    withField(plan, ref, [&](const auto &field) { text = field; });
    return text;
}

void setInputText(TPRACTDATA &plan, PlanInputRef ref, std::string_view text)
{
    withField(plan, ref, [&](auto &field) { field = text; });
}

std::optional<PlanFault> CheckPlan(const PlanEntry &entry, TPRACTDATA *store)
{
    Checker checker(entry, store);
    checker.run();
    return checker.fault();
}

} // namespace planfile
