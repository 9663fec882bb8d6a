#include "planindex/PlanFields.h"

#include "plan/Common.h"
#include "plan/Cp932.h"
#include "plan/Marks.h"
#include "planfile/PlanFormat.h"

#include <array>

namespace planindex {

namespace {

std::string cp(const char *utf8)
{
    return cp932::fromUtf8(utf8);
}

// Group and caption joined as the list shows them.
std::string within(const char *group, const char *caption)
{
    return cp(group) + cp("　") + cp(caption);
}

std::string tick(bool on)
{
    return on ? std::string(planfile::kTick) : std::string();
}

template <std::size_t N> std::string choice(const std::array<std::string_view, N> &items, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < N ? std::string(items[static_cast<std::size_t>(index)])
                                                              : std::string();
}

std::vector<PlanField> makeFields()
{
    std::vector<PlanField> f;
    const auto add = [&f](std::string key, std::string caption, FieldKind kind,
                          std::function<std::string(const TPRACTDATA &)> value) {
        f.push_back({std::move(key), std::move(caption), kind, std::move(value)});
    };
    using K = FieldKind;
#define OV_TEXT(member, kind, caption)                                                                               \
    add(#member, caption, kind, [](const TPRACTDATA &p) { return std::string(std::string_view(p.member)); })
#define OV_TICK(member, caption) add(#member, caption, K::Tick, [](const TPRACTDATA &p) { return tick(p.member); })

    add("PlanDate", cp("計画評価実施日"), K::Date, [](const TPRACTDATA &p) { return FormatEraDate(p.PlanDate); });
    OV_TEXT(Name, K::Text, cp("氏名"));
    add("Sex", cp("性別"), K::Choice, [](const TPRACTDATA &p) { return choice(planfile::kSexes, p.Sex); });
    add("BirthDate", cp("生年月日"), K::Date, [](const TPRACTDATA &p) { return FormatEraDate(p.BirthDate); });
    add("Age", cp("歳"), K::Number, [](const TPRACTDATA &p) { return std::to_string(p.Age); });
    add("KaigoLevel", cp("要介護度"), K::Choice,
        [](const TPRACTDATA &p) { return choice(planfile::kCareLevels, p.KaigoLevel); });
    OV_TEXT(Kenkou, K::Memo, cp("健康状態(原因疾患，発症・受傷日等)"));
    OV_TEXT(Gapei, K::Memo, cp("合併疾患・コントロール状態"));
    OV_TEXT(Seikatsu, K::Memo, cp("生活不活発病(廃用症候群)"));

    const char *discharge = "入院・入所中の場合の退院先";
    OV_TICK(Home, within(discharge, "自宅"));
    OV_TICK(Etc, within(discharge, "その他"));
    OV_TEXT(EtcText, K::Text, within(discharge, "その他："));
    OV_TICK(Taiin, within(discharge, "退院未定"));
    OV_TEXT(HomeWork, K::Text, cp("家庭内役割（家事への参加、等）："));
    OV_TEXT(Social, K::Text, cp("社会活動："));
    OV_TEXT(GoOut, K::Text, cp("外出(内容・頻度等)："));
    OV_TEXT(FreeTime, K::Text, cp("余暇活動(内容・頻度等)："));
    OV_TEXT(TaiinText, K::Text, cp("退院後利用資源："));

    // Each impairment: the tick by the check box's caption, its details by
    // the caption with the colon after which they are written.
    const char *body = "心身機能";
    OV_TICK(ExerciseFlag, within(body, "運動器機能障害"));
    OV_TEXT(ExerciseText, K::Text, within(body, "運動器機能障害："));
    OV_TICK(SenseFlag, within(body, "感覚機能障害"));
    OV_TEXT(SenseText, K::Text, within(body, "感覚機能障害："));
    OV_TICK(BrainFlag, within(body, "高次脳機能障害"));
    OV_TEXT(BrainText, K::Text, within(body, "高次脳機能障害："));
    OV_TICK(KoushukuFlag, within(body, "拘縮（部位）"));
    OV_TEXT(KoushukuText, K::Text, within(body, "拘縮（部位）："));
    OV_TICK(ArthralgiaFlag, within(body, "関節痛（部位）"));
    OV_TEXT(ArthralgiaText, K::Text, within(body, "関節痛（部位）："));
    OV_TICK(SonotaFlag, within(body, "その他"));
    OV_TEXT(SonotaText, K::Memo, within(body, "その他："));
    add("HDS", cp("認知症評価 HDS-R"), K::Number, [](const TPRACTDATA &p) { return std::to_string(p.HDS); });

    static const std::array<const char *, kActivityRows> activities = {
        "トイレへの移動", "階段昇降", "屋内移動", "屋外移動", "食事", "排泄（昼）", "排泄（夜）",
        "整容", "更衣", "入浴", "コミュニケーション", "家事", "外出"};
    static const std::array<const char *, kMotionRows> motions = {"寝返り", "起き上がり", "座位", "立ち上がり",
                                                                  "立位", "移乗動作", "歩行", "摂食・嚥下"};
    static const std::array<const char *, 5> levels = {"自立", "見守り", "一部介助", "全介助", "行わず"};
    const auto rows = [&](const char *array, int count, const char *const *items, auto rowOf) {
        for (int k = 0; k < count; ++k) {
            const std::string at = std::string(array) + "[" + std::to_string(k) + "].";
            for (int c = 0; c < 5; ++c) {
                add(at + "ABC[" + std::to_string(c) + "]", within(items[k], levels[static_cast<std::size_t>(c)]),
                    K::Mark, [rowOf, k, c](const TPRACTDATA &p) {
                        return MarkToFullWidth(rowOf(p, k).ABC[static_cast<std::size_t>(c)]);
                    });
            }
            add(at + "Goods", within(items[k], "使用用具"), K::Memo,
                [rowOf, k](const TPRACTDATA &p) { return rowOf(p, k).Goods.str(); });
            add(at + "Kaigo", within(items[k], "介護内容"), K::Memo,
                [rowOf, k](const TPRACTDATA &p) { return rowOf(p, k).Kaigo.str(); });
            add(at + "Time", within(items[k], "到達時期"), K::Text, [rowOf, k](const TPRACTDATA &p) {
                const std::string &time = rowOf(p, k).Time.str();
                return time == cp932::fromUtf8("　") ? std::string() : time;
            });
            add(at + "Special", within(items[k], "重点項目"), K::Priority, [rowOf, k](const TPRACTDATA &p) {
                const int mark = rowOf(p, k).Special;
                return mark == 1 || mark == 2 ? std::string(planfile::kPriorityMarks[static_cast<std::size_t>(mark)])
                                              : std::string();
            });
        }
    };
    const char *table1 = "日常生活・社会活動";
    const char *table2 = "起居動作";
    rows("ActivityItems", kActivityRows, activities.data(),
         [](const TPRACTDATA &p, int k) -> const TPRACTITEM & { return p.ActivityItems[static_cast<std::size_t>(k)]; });
    OV_TEXT(PTOTST0Text, K::Memo, within(table1, "PT,OT,STが実施する内容・頻度等"));
    OV_TEXT(Kango0Text, K::Memo, within(table1, "看護・介護職等が、実施する内容・頻度等"));
    OV_TEXT(Jitchi0Text, K::Memo, within(table1, "実施上の留意点"));
    rows("MotionItems", kMotionRows, motions.data(),
         [](const TPRACTDATA &p, int k) -> const TPRACTITEM & { return p.MotionItems[static_cast<std::size_t>(k)]; });
    OV_TEXT(PTOTST1Text, K::Memo, within(table2, "PT,OT,STが実施する内容・頻度等"));
    OV_TEXT(Kango1Text, K::Memo, within(table2, "看護・介護職等が、実施する内容・頻度等"));
    OV_TEXT(Jitchi1Text, K::Memo, within(table2, "実施上の留意点"));

    OV_TEXT(SelfHopeText, K::Memo, cp("本人の希望"));
    OV_TEXT(FarmilyHopeText, K::Memo, cp("ご家族の希望"));
    OV_TEXT(LifePointText, K::Memo, within("生活目標", "その人らしく生活するポイント"));
    OV_TEXT(RihaTergetText, K::Memo, within("リハビリテーション計画", "本人の状態およびリハビリテーションの目標"));
    OV_TEXT(SelfDoText, K::Memo, cp("ご本人に行ってもらうこと"));
    OV_TEXT(AskFarmilyText, K::Memo, cp("ご家族にお願いしたいこと"));
    OV_TEXT(DiseseCareText, K::Memo, cp("病気との関係で気をつけること"));
    OV_TEXT(VariationText, K::Memo, cp("前回計画書作成時からの変化点"));
    OV_TEXT(RemarkText, K::Memo, cp("備考"));
#undef OV_TEXT
#undef OV_TICK

    // The team boxes by their row caption, numbered within the row when it
    // holds four.
    for (int n = 1; n <= kTeamMembers; ++n) {
        std::string caption;
        if (n == 1) {
            caption = cp("●担当医：");
        } else {
            const char *row = n <= 5 ? "●ＰＴ・ＯＴ・ＳＴ：" : n <= 9 ? "●看護・介護：" : "●その他：";
            caption = cp(row) + std::to_string((n - 2) % 4 + 1);
        }
        add("Team[" + std::to_string(n) + "]", caption, K::Text,
            [n](const TPRACTDATA &p) { return p.Team[static_cast<std::size_t>(n)]; });
    }
    return f;
}

} // namespace

const std::vector<PlanField> &planFields()
{
    static const std::vector<PlanField> fields = makeFields();
    return fields;
}

} // namespace planindex
