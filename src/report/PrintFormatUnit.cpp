#include "report/PrintFormatUnit.h"

#include "plan/Common.h"
#include "plan/Cp932.h"
#include "planfile/PlanFieldValue.h"
#include "planfile/PlanFormat.h"

#include <array>
#include <stdexcept>

namespace {

using planfile::LayoutItemDef;
using planfile::LayoutItemKind;

// The fixed texts of both pages' items in CP932, converted once per layout.
using PageTexts = std::array<std::vector<std::string>, 2>;

PageTexts convertTexts(const planfile::PlanLayout &layout)
{
    PageTexts texts;
    for (int page = 1; page <= 2; ++page) {
        auto &list = texts[static_cast<std::size_t>(page - 1)];
        for (const LayoutItemDef &def : layout.items(page)) {
            list.push_back(cp932::fromUtf8(def.text));
        }
    }
    return texts;
}

template <class ByName>
void buildPage(std::span<const LayoutItemDef> defs, const std::vector<std::string> &texts, TPRPanel &panel,
               std::vector<std::unique_ptr<TPRItem>> &owned, std::vector<TPRItem *> &pageItems, ByName &byName)
{
    pageItems.reserve(defs.size());
    for (std::size_t i = 0; i < defs.size(); ++i) {
        const LayoutItemDef &def = defs[i];
        std::unique_ptr<TPRItem> item;
        switch (def.kind) {
        case LayoutItemKind::Label: {
            auto label = std::make_unique<TPRLabel>(def.name);
            label->SetFontSize(def.fontSize);
            label->SetFontBold(def.bold);
            label->Caption = texts[i];
            item = std::move(label);
            break;
        }
        case LayoutItemKind::Text: {
            auto text = std::make_unique<TPRText>(def.name);
            text->SetFontSize(def.fontSize);
            text->SetFontBold(def.bold);
            text->SetLeading(def.leading);
            text->WordWrap = def.wordWrap;
            text->SetText(texts[i]);
            item = std::move(text);
            break;
        }
        case LayoutItemKind::Rect:
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

// The text block `name` of the form; the layout must have it.
TPRText *textBlock(const TPrintFormatForm &form, std::string_view name)
{
    TPRText *item = form.FindText(name);
    if (item == nullptr) {
        throw std::logic_error("the layout has no text block " + std::string(name));
    }
    return item;
}

} // namespace

TPrintFormatForm::TPrintFormatForm(const planfile::PlanLayout &layout)
    : Clock(currentDateTime), PRPage1("PRPage1"), PRPage2("PRPage2"), PRLayoutPanel1("PRLayoutPanel1"),
      PRLayoutPanel2("PRLayoutPanel2"), m_layout(layout)
{
    PReport1.SetAuthor(std::string(planfile::kAuthor));
    PReport1.SetSubject(std::string(planfile::kSubject));
    PReport1.SetKeywords(planfile::layoutMark(layout.version));
    PReport1.SetUseOutlines(false);
    PReport1.SetViewerPreference(0);

    const std::array<TPRPanel *, 2> panels = {&PRLayoutPanel1, &PRLayoutPanel2};
    const std::array<TPRPage *, 2> pages = {&PRPage1, &PRPage2};
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const planfile::PageDef &page = layout.pages[i];
        panels[i]->SetBounds(page.panelLeft, page.panelTop, page.panelWidth, page.panelHeight);
        panels[i]->SetParent(pages[i]);
    }

    m_owned.reserve(layout.page1Items.size() + layout.page2Items.size());
    const PageTexts &texts = planfile::perLayout<PageTexts>(layout, convertTexts);
    buildPage(layout.page1Items, texts[0], PRLayoutPanel1, m_owned, m_page1, m_byName);
    buildPage(layout.page2Items, texts[1], PRLayoutPanel2, m_owned, m_page2, m_byName);

    m_fieldItems.reserve(layout.fields.size());
    for (const planfile::PlanField &field : layout.fields) {
        FieldItem &item = m_fieldItems.emplace_back();
        item.label = FindLabel(field.item);
        item.text = item.label == nullptr ? FindText(field.item) : nullptr;
        if (item.label == nullptr && item.text == nullptr) {
            throw std::logic_error("the layout has no item " + std::string(field.item));
        }
    }
    m_pageTwoDate = textBlock(*this, kPageTwoDate);
    m_pageTwoName = textBlock(*this, kPageTwoName);
    m_sample1 = textBlock(*this, "PRSample1");
    m_sample2 = textBlock(*this, "PRSample2");
}

TPrintFormatForm::~TPrintFormatForm()
{
    // Last made, first freed: each item leaves its panel's list from the end.
    while (!m_owned.empty()) {
        m_owned.pop_back();
    }
}

TPRItem *TPrintFormatForm::FindItem(std::string_view name) const
{
    const auto it = m_byName.find(name);
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

void TPrintFormatForm::FillItems()
{
    const TPRACTDATA &p = PlanData;
    for (std::size_t i = 0; i < m_layout.fields.size(); ++i) {
        const FieldItem &item = m_fieldItems[i];
        if (item.label != nullptr) {
            item.label->Caption = planfile::printedText(p, m_layout.fields[i]);
        } else {
            item.text->SetText(planfile::printedText(p, m_layout.fields[i]));
        }
    }
    // The page-2 header repeats the plan date and the name.
    m_pageTwoDate->SetText(FormatEraDate(p.PlanDate));
    m_pageTwoName->SetText(p.Name);
    // The two sample blocks are always printed empty.
    m_sample1->SetText("");
    m_sample2->SetText("");
}

const std::vector<TPRTextObject> &TPrintFormatForm::RecordPages()
{
    FillItems();
    if (!m_recorder) {
        m_recorder = std::make_unique<TPRRecordCanvas>();
    }
    m_recorder->Clear();
    m_recorder->SetPage(1);
    PRPage1.Print(*m_recorder);
    m_recorder->SetPage(2);
    PRPage2.Print(*m_recorder);
    return m_recorder->Objects();
}

void TPrintFormatForm::BeginReport()
{
    const TDateTime now = Clock();
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

std::string TPrintFormatForm::EndReportToString()
{
    return PReport1.EndDocToString();
}

void TPrintFormatForm::AbortReport()
{
    PReport1.Abort();
}
