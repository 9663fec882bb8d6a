#include "report/PrintFormatUnit.h"

#include "plan/Common.h"
#include "plan/Cp932.h"
#include "planfile/PlanFormat.h"
#include "report/PlanLayoutTable.h"

#include <array>
#include <stdexcept>

namespace {

// The fixed texts of a page's items in CP932, converted once per run.
template <std::size_t N> std::vector<std::string> convertTexts(const std::array<planlayout::LayoutItemDef, N> &defs)
{
    std::vector<std::string> texts;
    texts.reserve(N);
    for (const auto &def : defs) {
        texts.push_back(cp932::fromUtf8(def.text));
    }
    return texts;
}

template <std::size_t N>
void buildPage(const std::array<planlayout::LayoutItemDef, N> &defs, const std::vector<std::string> &texts,
               TPRLayoutPanel &panel, std::vector<std::unique_ptr<TPRItem>> &owned, std::vector<TPRItem *> &pageItems,
               std::unordered_map<std::string, TPRItem *> &byName)
{
    pageItems.reserve(N);
    for (std::size_t i = 0; i < N; ++i) {
        const planlayout::LayoutItemDef &def = defs[i];
        std::unique_ptr<TPRItem> item;
        switch (def.kind) {
        case planlayout::LayoutItemKind::Label: {
            auto label = std::make_unique<TPRLabel>(def.name);
            label->SetFontSize(def.fontSize);
            label->SetFontBold(def.bold);
            label->Caption = texts[i];
            item = std::move(label);
            break;
        }
        case planlayout::LayoutItemKind::Text: {
            auto text = std::make_unique<TPRText>(def.name);
            text->SetFontSize(def.fontSize);
            text->SetFontBold(def.bold);
            text->SetLeading(def.leading);
            text->WordWrap = def.wordWrap;
            text->SetText(texts[i]);
            item = std::move(text);
            break;
        }
        case planlayout::LayoutItemKind::Rect:
            item = std::make_unique<TPRRect>(def.name);
            break;
        }
        item->SetBounds(def.left, def.top, def.width, def.height);
        item->SetParent(&panel);
        pageItems.push_back(item.get());
        byName.emplace(def.name, item.get());
        owned.push_back(std::move(item));
    }
}

} // namespace

std::string MarkItemName(int row, int column)
{
    return "ABC" + std::to_string(row) + std::to_string(column);
}

std::string RowItemName(std::string_view stem, int row)
{
    return std::string(stem) + std::to_string(row);
}

std::string TeamItemName(int n)
{
    return "TeamBox" + std::to_string(n);
}

TPrintFormatForm::TPrintFormatForm()
    : Clock(currentDateTime), PRPage1("PRPage1"), PRPage2("PRPage2"), PRLayoutPanel1("PRLayoutPanel1"),
      PRLayoutPanel2("PRLayoutPanel2")
{
    PReport1.SetAuthor(std::string(planfile::kAuthor));
    PReport1.SetSubject(std::string(planfile::kSubject));
    PReport1.SetUseOutlines(false);
    PReport1.SetViewerPreference(0);

    PRLayoutPanel1.SetBounds(0, 0, 594, 841);
    PRLayoutPanel1.SetParent(&PRPage1);
    PRLayoutPanel2.SetBounds(1, 1, 594, 842);
    PRLayoutPanel2.SetParent(&PRPage2);

    m_owned.reserve(planlayout::kPage1Items.size() + planlayout::kPage2Items.size());
    static const std::vector<std::string> texts1 = convertTexts(planlayout::kPage1Items);
    static const std::vector<std::string> texts2 = convertTexts(planlayout::kPage2Items);
    buildPage(planlayout::kPage1Items, texts1, PRLayoutPanel1, m_owned, m_page1, m_byName);
    buildPage(planlayout::kPage2Items, texts2, PRLayoutPanel2, m_owned, m_page2, m_byName);
}

TPrintFormatForm::~TPrintFormatForm() = default;

TPRItem *TPrintFormatForm::FindItem(std::string_view name) const
{
    const auto it = m_byName.find(std::string(name));
    return it == m_byName.end() ? nullptr : it->second;
}

TPRLabel *TPrintFormatForm::FindLabel(std::string_view name) const
{
    return dynamic_cast<TPRLabel *>(FindItem(name));
}

TPRText *TPrintFormatForm::FindText(std::string_view name) const
{
    return dynamic_cast<TPRText *>(FindItem(name));
}

const std::vector<TPRItem *> &TPrintFormatForm::PageItems(int page) const
{
    return page == 2 ? m_page2 : m_page1;
}

void TPrintFormatForm::SetText(std::string_view name, std::string_view text)
{
    TPRText *item = FindText(name);
    if (item == nullptr) {
        throw std::logic_error("the layout has no text block " + std::string(name));
    }
    item->SetText(text);
}

void TPrintFormatForm::SetCaption(std::string_view name, std::string_view text)
{
    TPRLabel *item = FindLabel(name);
    if (item == nullptr) {
        throw std::logic_error("the layout has no label " + std::string(name));
    }
    item->Caption = text;
}

void TPrintFormatForm::FillItems()
{
    const TPRACTDATA &p = PlanData;

    const std::string planDate = FormatEraDate(p.PlanDate);
    SetText("PlanDateText", planDate);
    SetText("PRDate", planDate);
    SetText("BirthText", FormatEraDate(p.BirthDate));
    SetText("NameText", p.Name);
    SetText("UserNameLbl", p.Name);

    // No sex or care level chosen (-1) prints an empty item, which reads
    // back as "nothing chosen".
    SetText("SexText", p.Sex >= 0 && p.Sex <= 1 ? planfile::kSexes[static_cast<std::size_t>(p.Sex)] : "");
    SetText("KaigoText",
            p.KaigoLevel >= 0 && p.KaigoLevel <= 6 ? planfile::kCareLevels[static_cast<std::size_t>(p.KaigoLevel)] : "");

    SetText("OldText", std::to_string(p.Age));
    SetText("HDSText", std::to_string(p.HDS));

    // A ticked box prints "レ"; an unticked one a single space, which the
    // text block trims away to an empty block.
    const auto tick = [](bool set) -> std::string_view { return set ? planfile::kTick : " "; };
    SetText("HomeBox", tick(p.Home));
    SetText("EtcBox", tick(p.Etc));
    SetText("TaiinBox", tick(p.Taiin));
    SetText("ExerciseBox", tick(p.ExerciseFlag));
    SetText("SenseBox", tick(p.SenseFlag));
    SetText("BrainBox", tick(p.BrainFlag));
    SetText("KoushukuBox", tick(p.KoushukuFlag));
    SetText("ArthralgiaBox", tick(p.ArthralgiaFlag));
    SetText("SonotaBox", tick(p.SonotaFlag));

    SetText("KenkouMemo", p.Kenkou);
    SetText("GapeiMemo", p.Gapei);
    SetText("SeikatsuMemo", p.Seikatsu);
    SetText("PrEtcText", p.EtcText);
    SetText("HomeWorkText", p.HomeWork);
    SetText("SocialText", p.Social);
    SetText("GoOutText", p.GoOut);
    SetText("FreeTimeText", p.FreeTime);
    SetText("TaiinText", p.TaiinText);
    SetText("ExerciseText", p.ExerciseText);
    SetText("SenseText", p.SenseText);
    SetText("BrainText", p.BrainText);
    SetText("KoushukuText", p.KoushukuText);
    SetText("ArthralgiaText", p.ArthralgiaText);
    SetText("SonotaText", p.SonotaText);

    SetText("PdfPTOTST0", p.PTOTST0Text);
    SetText("PdfKango0", p.Kango0Text);
    SetText("PdfJitshi0", p.Jitchi0Text);
    SetText("PdfPTOTST1", p.PTOTST1Text);
    SetText("PdfKango1", p.Kango1Text);
    SetText("PdfJitshi1", p.Jitchi1Text);

    for (const int row : planRowNumbers()) {
        const TPRACTITEM &item = planRow(p, row);
        for (int c = 0; c < 5; ++c) {
            // Three marks print on two lines: the first two, then the third.
            const std::string &marks = item.ABC[static_cast<std::size_t>(c)].str();
            SetText(MarkItemName(row, c), marks.size() <= 2 ? marks : marks.substr(0, 2) + '\r' + marks[2]);
        }
        SetText(RowItemName("Goods", row), item.Goods);
        SetText(RowItemName("Kaigo", row), item.Kaigo);
        SetCaption(RowItemName("Time", row), item.Time);
        // A value that is not a priority mark prints nothing, as the label
        // stands in the layout; it must not keep the mark of an earlier plan.
        const bool isMark = item.Special >= 0 && item.Special <= 2;
        SetCaption(RowItemName("Point", row),
                   isMark ? std::string(planfile::kPriorityMarks[static_cast<std::size_t>(item.Special)]) : std::string());
    }

    SetText("PdfSelfHope", p.SelfHopeText);
    SetText("PdfFarmilyHope", p.FarmilyHopeText);
    SetText("PdfLifePoint", p.LifePointText);
    SetText("PdfRihaTarget", p.RihaTergetText);
    SetText("PdfSelfDo", p.SelfDoText);
    SetText("PdfAskFarmily", p.AskFarmilyText);
    SetText("PdfDiseseCare", p.DiseseCareText);
    SetText("PdfVariation", p.VariationText);
    SetText("PdfReMark", p.RemarkText);
    for (int n = 1; n <= kTeamMembers; ++n) {
        SetText(TeamItemName(n), p.Team[static_cast<std::size_t>(n)]);
    }

    // The two sample blocks are always printed empty.
    SetText("PRSample1", "");
    SetText("PRSample2", "");
}

void TPrintFormatForm::BeginReport(const std::filesystem::path &fileName)
{
    const TDateTime now = Clock();
    PReport1.SetFileName(fileName);
    PReport1.SetAuthor(std::string(planfile::kAuthor));
    PReport1.SetCreator(CreatorText);
    PReport1.SetCreationDate(now);
    PReport1.SetModDate(now);
    PReport1.SetClock(Clock);
    PReport1.BeginDoc();
}

void TPrintFormatForm::PrintPages()
{
    FillItems();
    PReport1.Print(PRPage1);
    PReport1.Print(PRPage2);
}

void TPrintFormatForm::EndReport()
{
    PReport1.EndDoc();
}

std::string TPrintFormatForm::EndReportToString()
{
    return PReport1.EndDocToString();
}

void TPrintFormatForm::AbortReport()
{
    PReport1.Abort();
}
