// A fully filled plan laid out on both pages and written as a PDF file:
// into memory, and to a file (through the temporary file and rename); and
// the fit test that runs before a save.

#include "FullPlan.h"
#include "planfile/PlanFieldValue.h"
#include "report/PlanFit.h"
#include "report/PlanPdf.h"
#include "report/PrintFormatUnit.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

namespace {

TDateTime saveTime()
{
    return encodeDateTime(2024, 1, 31, 14, 5, 9);
}

// Filling the thread's layout form and writing the bytes: what one save
// costs once the form has been built by the first save.
void BM_PlanPdfInMemory(benchmark::State &state)
{
    const TPRACTDATA plan = fullPlan();
    const std::string creator = PlanCreatorText(saveTime());
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string pdf = MakePlanPdf(plan, creator, saveTime());
        bytes = pdf.size();
        benchmark::DoNotOptimize(pdf.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_PlanPdfInMemory)->Unit(benchmark::kMicrosecond);

// The same with a layout form built afresh for every save: what the first
// save of a thread costs.
void BM_PlanPdfFreshForm(benchmark::State &state)
{
    const TPRACTDATA plan = fullPlan();
    const std::string creator = PlanCreatorText(saveTime());
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

void BM_PlanPdfToFile(benchmark::State &state)
{
    const auto path =
        std::filesystem::temp_directory_path() / ("ovilant-bench-" + std::to_string(std::random_device{}()) + ".pdf");
    const TPRACTDATA plan = fullPlan();
    const std::string creator = PlanCreatorText(saveTime());
    for (auto _ : state) {
        SavePlanPdf(path.string(), plan, creator, saveTime());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_PlanPdfToFile)->Unit(benchmark::kMicrosecond);

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
