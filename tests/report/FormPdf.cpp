#include "FormPdf.h"

#include "report/PrintFormatUnit.h"

std::string formPdf(const TPRACTDATA &plan, const std::string &creator, TDateTime time)
{
    TPrintFormatForm form;
    form.PlanData = plan;
    form.CreatorText = creator;
    form.Clock = [time] { return time; };
    form.BeginReport();
    form.PrintPages();
    return form.EndReportToString();
}
