#pragma once

// The printed plan: the two pages of the form as report components, built
// from one layout version's items, and the fill that writes a plan record
// into them. The document's Keywords name the layout (nothing for layout 1).
//
// Use: copy the plan into PlanData, set CreatorText, then BeginReport,
// PrintPages, EndReportToString. After any failure call AbortReport so that
// the next report can begin.

#include "report/PReport.h"
#include "report/PRRecordCanvas.h"
#include "plan/PracticePlanType.h"
#include "planfile/PlanLayouts.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TPrintFormatForm {
public:
    explicit TPrintFormatForm(const planfile::PlanLayout &layout = planfile::currentLayout());
    ~TPrintFormatForm();
    TPrintFormatForm(const TPrintFormatForm &) = delete;
    TPrintFormatForm &operator=(const TPrintFormatForm &) = delete;

    // The plan to print (the form's own copy) and the document's Creator
    // text (CP932).
    TPRACTDATA PlanData;
    std::string CreatorText;
    // The time written as CreationDate and ModDate. Defaults to the current
    // local time.
    std::function<TDateTime()> Clock;

    // Sets the report's Author "Ｒ１．０", Creator, CreationDate and ModDate,
    // and opens the document.
    void BeginReport();
    // Fills every item from PlanData, then prints page 1 and page 2.
    void PrintPages();
    // Closes the document and returns the file's bytes.
    std::string EndReportToString();
    // Discards an open document.
    void AbortReport();

    // Writes PlanData into the items (done by PrintPages).
    void FillItems();

    // Fills the items from PlanData and prints both pages, as PrintPages
    // does, on a canvas that only records their text objects (page 1, then
    // page 2); no document is needed or touched. The list lives until the
    // next call.
    const std::vector<TPRTextObject> &RecordPages();

    // The page-2 header's text block that repeats the patient's name in a
    // box of its own width (wider than the name field's), and the one that
    // repeats the plan date.
    static constexpr std::string_view kPageTwoName = "UserNameLbl";
    static constexpr std::string_view kPageTwoDate = "PRDate";

    TPReport PReport1;
    TPRPage PRPage1;
    TPRPage PRPage2;
    TPRPanel PRLayoutPanel1;
    TPRPanel PRLayoutPanel2;

    // Items by name (nullptr when there is none, or of another class).
    TPRItem *FindItem(std::string_view name) const;
    TPRLabel *FindLabel(std::string_view name) const;
    TPRText *FindText(std::string_view name) const;
    // The items of page 1 or 2 in printing order.
    const std::vector<TPRItem *> &PageItems(int page) const;
    // The layout the form prints.
    const planfile::PlanLayout &Layout() const { return m_layout; }

private:
    const planfile::PlanLayout &m_layout;
    std::vector<std::unique_ptr<TPRItem>> m_owned;
    std::vector<TPRItem *> m_page1;
    std::vector<TPRItem *> m_page2;
    // Looked up by a string_view without making a string of it.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };
    std::unordered_map<std::string, TPRItem *, NameHash, std::equal_to<>> m_byName;
    // The label or text block of each field, by field index, found once.
    struct FieldItem {
        TPRLabel *label = nullptr;
        TPRText *text = nullptr;
    };
    std::vector<FieldItem> m_fieldItems;
    // The text blocks the fill writes besides the fields: the page-2 header's
    // date and name, and the two sample blocks.
    TPRText *m_pageTwoDate = nullptr;
    TPRText *m_pageTwoName = nullptr;
    TPRText *m_sample1 = nullptr;
    TPRText *m_sample2 = nullptr;
    std::unique_ptr<TPRRecordCanvas> m_recorder;
};
