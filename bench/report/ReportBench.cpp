// A fully filled plan laid out on both pages by a new layout form and
// written as a PDF file in memory, and the fit test that runs before a save.

#include "FullPlan.h"
#include "plan/Cp932.h"
#include "planfile/PlanFieldValue.h"
#include "report/PlanFit.h"
#include "report/PrintFormatUnit.h"

#include <benchmark/benchmark.h>

namespace {

TDateTime saveTime()
{
    return encodeDateTime(2024, 1, 31, 14, 5, 9);
}

// A layout form built afresh for every save: what the first save of a
// thread costs.
void BM_PlanPdfFreshForm(benchmark::State &state)
{
    const TPRACTDATA plan = fullPlan();
    const std::string creator = cp932::fromUtf8("１４：０５：０９");
    for (auto _ : state) {
        TPrintFormatForm form;
        form.PlanData = plan;
        form.CreatorText = creator;
        form.Clock = saveTime;
        form.BeginReport();
        form.PrintPages();
        const std::string pdf = form.EndReportToString();
        benchmark::DoNotOptimize(pdf.data());
    }
}
BENCHMARK(BM_PlanPdfFreshForm)->Unit(benchmark::kMicrosecond);

// The fit test of a full plan before a save: filling the items and
// measuring every text input. Target: well under a millisecond.
void BM_PlanFit(benchmark::State &state)
{
    const TPRACTDATA plan = fullPlan();
    for (auto _ : state) {
        const auto cuts = planfit::CheckPlanFit(plan);
        benchmark::DoNotOptimize(cuts.data());
    }
}
BENCHMARK(BM_PlanFit)->Unit(benchmark::kMicrosecond);

// One memo measured alone, as on every keystroke.
void BM_FieldFit(benchmark::State &state)
{
    const TPRACTDATA plan = fullPlan();
    for (auto _ : state) {
        const auto fit = planfit::CheckFieldFit(*planfile::fieldByKey("Kenkou"), plan.Kenkou);
        benchmark::DoNotOptimize(fit.wideLines.data());
    }
}
BENCHMARK(BM_FieldFit)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
