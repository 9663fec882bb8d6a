// Indexing a folder of 10,000 plan files: cold (no cache: every file is
// read, on all cores) and warm (every file unchanged since the cache was
// written: only the folder is listed). Then the review dates: the plans
// grouped by patient with each patient's next review date and the patients
// due, from the index in memory, and the warm index with them, which is
// what `ovilant-plan index --due` and 計画書一覧 do. The files are written
// once, with MakePlanPdf, into a temporary folder that is removed at exit;
// every four plans are one patient's, each plan has its own date.

#include "plan/Common.h"
#include "plan/Cp932.h"
#include "planindex/PlanIndex.h"
#include "planindex/ReviewDue.h"
#include "planio/PlanSave.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 10000;

struct Folder {
    fs::path dir;
    fs::path plans;
    Folder()
    {
        dir = fs::temp_directory_path() / ("ovilant-bench-index-" + std::to_string(getpid()));
        plans = dir / "plans";
        fs::create_directories(plans);
        for (int i = 0; i < kFiles; ++i) {
            TPRACTDATA p;
            const TDateTime date = encodeDate(2020, 1, 1) + i % 1500;
            ResetPlan(p, date);
            p.Name = cp932::fromUtf8("利用者") + std::to_string(i / 4);
            const int patient = i / 4;
            p.BirthDate = encodeDate(1930 + patient % 50, 1 + patient % 12, 1 + patient % 28);
            p.Age = AgeInYears(p.BirthDate, date);
            p.Kenkou = cp932::fromUtf8("脳梗塞\r\n右片麻痺");
            p.Team[1] = cp932::fromUtf8("山本 一郎");
            const std::string bytes = MakePlanPdf(p, PlanCreatorText(date), date);
            std::ofstream(plans / ("plan" + std::to_string(i) + ".pdf"), std::ios::binary) << bytes;
        }
    }
    ~Folder() { fs::remove_all(dir); }
};

const Folder &folder()
{
    static const Folder made;
    return made;
}

void BM_IndexCold(benchmark::State &state)
{
    const Folder &f = folder();
    const fs::path cache = f.dir / "cold-cache";
    for (auto _ : state) {
        fs::remove(cache);
        const auto index = planindex::indexFolder(f.plans, cache, static_cast<unsigned>(state.range(0)));
        if (index.plans.size() != kFiles) {
            state.SkipWithError("not every file was read as a plan");
        }
    }
    state.counters["files/s"] = benchmark::Counter(kFiles, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_IndexWarm(benchmark::State &state)
{
    const Folder &f = folder();
    const fs::path cache = f.dir / "warm-cache";
    planindex::indexFolder(f.plans, cache);
    for (auto _ : state) {
        const auto index = planindex::indexFolder(f.plans, cache);
        if (index.filesRead != 0 || index.plans.size() != kFiles) {
            state.SkipWithError("the cache was not used");
        }
    }
}

// The day on which some four patients in ten are due.
const TDateTime kDueOn = encodeDate(2022, 1, 1);

void BM_ReviewDue(benchmark::State &state)
{
    const Folder &f = folder();
    const auto index = planindex::indexFolder(f.plans, f.dir / "warm-cache");
    std::size_t due = 0;
    for (auto _ : state) {
        const auto patients = planindex::patientsOf(index, planindex::kDefaultReviewMonths);
        due = planindex::duePatients(patients, kDueOn).size();
        benchmark::DoNotOptimize(due);
    }
    state.counters["due"] = static_cast<double>(due);
    state.counters["plans/s"] = benchmark::Counter(kFiles, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_IndexWarmAndDue(benchmark::State &state)
{
    const Folder &f = folder();
    const fs::path cache = f.dir / "warm-cache";
    planindex::indexFolder(f.plans, cache);
    for (auto _ : state) {
        const auto index = planindex::indexFolder(f.plans, cache);
        const auto patients = planindex::patientsOf(index, planindex::kDefaultReviewMonths);
        benchmark::DoNotOptimize(planindex::duePatients(patients, kDueOn).size());
        if (index.filesRead != 0) {
            state.SkipWithError("a plan file was read again");
        }
    }
}

} // namespace

// CPU time counts every thread of the process: on a loaded machine it shows
// what the reading costs when the wall time does not.
BENCHMARK(BM_IndexCold)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_IndexWarm)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_ReviewDue)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_IndexWarmAndDue)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

BENCHMARK_MAIN();
