#include "planio/PlanSave.h"

#include "plan/Cp932.h"
#include "plan/DateTime.h"
#include "planio/FileReplace.h"
#include "planio/LayoutForm.h"
#include "report/PrintFormatUnit.h"

#include <cmath>

std::string MakePlanPdf(const TPRACTDATA &plan, const std::string &creator, TDateTime time,
                        const planfile::PlanLayout &layout)
{
    // Every save fills every filled item of the thread's form afresh, so a
    // file depends only on its own plan, creator and time.
    TPrintFormatForm &form = planio::threadLayoutForm(layout);
    form.PlanData = plan;
    form.CreatorText = creator;
    form.Clock = [time] { return time; };
    try {
        form.BeginReport();
        form.PrintPages();
        return form.EndReportToString();
    } catch (...) {
        form.AbortReport();
        throw;
    }
}

void SavePlanPdf(const std::filesystem::path &path, const TPRACTDATA &plan, const std::string &creator, TDateTime time)
{
    ReplaceFile(path, MakePlanPdf(plan, creator, time));
}

std::string PlanFileName(const TPRACTDATA &plan)
{
    static const std::string prefix = cp932::fromUtf8("実施計画 ");
    const CivilDate d = decodeDate(plan.PlanDate);
    return prefix + plan.Name + " " + std::to_string(d.year) + "_" + std::to_string(d.month) + "_" +
           std::to_string(d.day) + ".pdf";
}

bool IsPlainFileName(std::string_view name)
{
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (cp932::isLeadByte(c)) {
            ++i; // the trail byte may be 0x5C and is no separator
            continue;
        }
        if (c == '/' || c == '\\' || c == '\0') {
            return false;
        }
    }
    return true;
}

std::string PlanCreatorText(TDateTime time)
{
    const auto [h, m, s] = timeOfDay(time);
    const auto two = [](int v) {
        return std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10);
    };
    return FullWidthTimeText(std::to_string(h) + ":" + two(m) + ":" + two(s));
}

std::string FullWidthTimeText(std::string_view text)
{
    static const std::u16string digits = u"０１２３４５６７８９";
    std::u16string wide;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            wide += digits[static_cast<std::size_t>(c - '0')];
        } else if (c == '.') {
            wide += u'．';
        } else if (c == '/') {
            wide += u'／';
        } else if (c == ':') {
            wide += u'：';
        } else {
            if (cp932::isLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
                ++i; // the trail byte belongs to the same character
            }
            wide += u'０';
        }
    }
    return cp932::fromUtf16(wide);
}
