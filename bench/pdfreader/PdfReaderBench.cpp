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

// A cross-reference section of `range(0)` one-entry subsections whose keys
// (number * 65599 + generation) all leave one remainder by `range(1)`, the
// bucket count a standard hash table of that many keys grows to: one
// bucket, had the lookup hashed the numbers. The file fails once its
// catalog is read; the work is finding it.
void BM_CrossReferenceOneBucket(benchmark::State &state)
{
    const std::int64_t entries = state.range(0);
    const std::int64_t buckets = state.range(1);
    std::string bytes = "%PDF-1.2 \r\n";
    const std::size_t catalog = bytes.size();
    bytes += "1 0 obj\r\n<<\r\n/Type /Catalog\r\n/Pages 2 0 R\r\n>>\r\nendobj\r\n";
    const std::size_t xref = bytes.size();
    char line[64];
    std::snprintf(line, sizeof line, "xref\r\n0 2\r\n0000000000 65535 f\r\n%010zu 00000 n\r\n", catalog);
    bytes += line;
    std::int64_t number = 3;
    for (std::int64_t made = 0; made < entries; ++number) {
        const std::int64_t generation = ((-number * 65599) % buckets + buckets) % buckets;
        if (generation > 99999)
            continue;
        std::snprintf(line, sizeof line, "%lld 1\r\n%010zu %05lld n\r\n", static_cast<long long>(number), catalog,
                      static_cast<long long>(generation));
        bytes += line;
        ++made;
    }
    bytes += "trailer\r\n<<\r\n/Size " + std::to_string(number) + "\r\n/Root 1 0 R\r\n>>\r\nstartxref\r\n"
        + std::to_string(xref) + "\r\n%%EOF\r\n";
    for (auto _ : state) {
        try {
            TPdfPage::fromBytes(bytes);
        } catch (const EPdfReadError &) {
        }
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_CrossReferenceOneBucket)
    ->Args({170'000, 172'933})
    ->Args({350'000, 351'061})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
