// Opening plan-like files and extracting their text items.
#include "pdfreader/Page.h"
#include "PdfBuilder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace pdftest;

namespace {

// A two-page plan in the writer's shape with about 250 text objects a page.
const std::string &planBytes()
{
    static const std::string bytes = planFile({planLikePage(1, 250), planLikePage(2, 250)}).build();
    return bytes;
}

std::size_t touchItems(const TPdfPage &reader)
{
    std::size_t lines = 0;
    for (const TTextItem &item : reader.strings().items())
        lines += item.lines.size();
    return lines;
}

void BM_PlanFromMemory(benchmark::State &state)
{
    for (auto _ : state) {
        auto reader = TPdfPage::fromBytes(planBytes());
        benchmark::DoNotOptimize(touchItems(*reader));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * planBytes().size()));
}
BENCHMARK(BM_PlanFromMemory)->Unit(benchmark::kMicrosecond);

void BM_PlanFromFile(benchmark::State &state)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "ovilant-bench-plan.pdf";
    std::ofstream(path, std::ios::binary) << planBytes();
    for (auto _ : state) {
        auto reader = TPdfPage::openFile(path.string());
        benchmark::DoNotOptimize(touchItems(*reader));
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_PlanFromFile)->Unit(benchmark::kMicrosecond);

// Uncompressed text files of N pages with 40 text objects each: the time
// should grow linearly with N.
void BM_ManyPages(benchmark::State &state)
{
    const int pageCount = static_cast<int>(state.range(0));
    std::vector<std::vector<TextObject>> pages;
    for (int page = 1; page <= pageCount; ++page)
        pages.push_back(planLikePage(page, 40));
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("ovilant-bench-" + std::to_string(pageCount) + ".pdf");
    std::ofstream(path, std::ios::binary) << planFile(pages).build();
    for (auto _ : state) {
        auto reader = TPdfPage::openFile(path.string());
        benchmark::DoNotOptimize(reader->itemCount());
    }
    state.SetComplexityN(pageCount);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_ManyPages)->Arg(125)->Arg(250)->Arg(500)->Arg(1000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
