// Saving and opening a fully filled plan: the bytes of the file in memory
// and written to a file (through the temporary file and rename); the plan
// read back from the bytes in memory.

#include "FullPlan.h"
#include "planio/PlanRead.h"
#include "planio/PlanSave.h"
#include "planio/ReadBackCheck.h"

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

// Opening a plan from its bytes in memory as the open command does: the
// reader, the markers, the pages and the plan decoded once; then the same
// with the check that the file reads back as printed. Targets: 0.3 ms with
// the check.
const std::string &planBytes()
{
    static const std::string bytes = MakePlanPdf(fullPlan(), PlanCreatorText(saveTime()), saveTime());
    return bytes;
}

void BM_OpenInMemory(benchmark::State &state)
{
    for (auto _ : state) {
        const planio::PlanFileRead read = planio::loadPlanBytes(planBytes());
        benchmark::DoNotOptimize(read.printed.Plan.Name.data());
    }
}
BENCHMARK(BM_OpenInMemory)->Unit(benchmark::kMillisecond);

void BM_OpenInMemoryWithCheck(benchmark::State &state)
{
    for (auto _ : state) {
        const planio::PlanFileRead read = planio::loadPlanBytes(planBytes());
        if (planio::findDifference(read)) {
            state.SkipWithError("a plan as written was flagged");
            break;
        }
        benchmark::DoNotOptimize(read.printed.Plan.Name.data());
    }
}
BENCHMARK(BM_OpenInMemoryWithCheck)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
