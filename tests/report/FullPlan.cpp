#include "FullPlan.h"

#include "plan/Common.h"
#include "plan/Cp932.h"
#include "planfile/PlanFieldValue.h"

#include <array>

namespace {

std::string j(const char *utf8)
{
    return cp932::fromUtf8(utf8);
}

} // namespace

TPRACTDATA fullPlan()
{
    TPRACTDATA p;
    ResetPlan(p, encodeDateTime(2024, 1, 31, 14, 5, 9));
    p.BirthDate = encodeDate(1950, 3, 4);
    p.Name = j("山田太郎");
    p.Sex = 1;
    p.Age = AgeInYears(p.BirthDate, p.PlanDate);
    p.KaigoLevel = 4;
    p.Kenkou = j("脳梗塞（2023年5月）\r\n\r\n右片麻痺");
    p.Gapei = j("高血圧症");
    p.Seikatsu = j("廃用症候群");
    p.Home = true;
    p.Etc = true;
    p.EtcText = j("施設(A)");
    p.Taiin = true;
    p.HomeWork = j("洗濯物たたみ");
    p.Social = j("町内会");
    p.GoOut = j("週1回 買い物");
    p.FreeTime = j("園芸");
    p.TaiinText = j("通所リハ");
    p.ExerciseFlag = true;
    p.ExerciseText = j("右上下肢");
    p.SenseFlag = true;
    p.SenseText = j("しびれ");
    p.BrainFlag = true;
    p.BrainText = j("注意障害");
    p.KoushukuFlag = true;
    p.KoushukuText = j("右肩");
    p.ArthralgiaFlag = true;
    p.ArthralgiaText = j("左膝");
    p.SonotaFlag = true;
    p.SonotaText = "a\\b (c)";
    p.HDS = 21;

    static const std::array<const char *, 7> marks = {"A", "B", "C", "AB", "ABC", "AC", "BC"};
    int n = 0;
    for (const int row : planRowNumbers()) {
        TPRACTITEM &item = planRow(p, row);
        for (std::size_t c = 0; c < 5; ++c) {
            item.ABC[c] = marks[static_cast<std::size_t>(n + static_cast<int>(c)) % marks.size()];
        }
        item.Goods = j("器具") + std::to_string(row);
        item.Kaigo = j("介助") + std::to_string(row);
        item.Time = std::to_string(row + 1) + j("月");
        item.Special = row % 3;
        ++n;
    }
    p.PTOTST0Text = j("ＰＴ０\r\n\r\n週3回");
    p.Kango0Text = j("看護０");
    p.Jitchi0Text = j("実地０");
    p.PTOTST1Text = j("ＰＴ１\r\n歩行訓練");
    p.Kango1Text = j("看護１");
    p.Jitchi1Text = j("実地１");
    p.SelfHopeText = j("歩いて買い物に行きたい");
    p.FarmilyHopeText = j("家族の希望\r\n二行目");
    p.LifePointText = j("生活のポイント");
    p.RihaTergetText = j("目標(1)\r\n目標(2)");
    p.SelfDoText = j("自主トレ");
    p.AskFarmilyText = j("見守り");
    p.DiseseCareText = j("血圧管理");
    p.VariationText = j("変化点");
    p.RemarkText = j("備考です");
    for (int m = 1; m <= kTeamMembers; ++m) {
        p.Team[static_cast<std::size_t>(m)] = j("担当") + std::to_string(m);
    }
    p.Team[1] = j("医師 一郎");
    // A text field of a newer layout than these values were chosen for
    // holds a short text of its own.
    for (const planfile::PlanField &field : planfile::kPlanFields) {
        if ((field.kind == planfile::FieldKind::Text || field.kind == planfile::FieldKind::Memo) &&
            planfile::fieldText(p, field).empty()) {
            planfile::setFieldText(p, field, j("欄") + std::to_string(field.index));
        }
    }
    return p;
}
