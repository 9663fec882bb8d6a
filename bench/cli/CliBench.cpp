// Reading a plan file from the command line: `ovilant-plan dump` against
// `pdftotext` on the same file, both started as separate processes with
// their output thrown away, so each figure includes process start-up. The
// in-process dump shows how much of that is the reading itself.
//
// The plan file is rendered once from tests/data/plans/full.json.
//
// Besides, hostile inputs that must stay cheap: a plan-like file whose name
// field is one huge literal string of control bytes (each printed as six
// bytes of JSON), and JSON texts with very many keys or very deep nesting.

#include "PdfBuilder.h"
#include "cli/Cli.h"
#include "cli/PlanJson.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char **environ;

namespace fs = std::filesystem;

namespace {

// Runs a program (looked up on PATH) with standard input, output and error
// on /dev/null; returns its exit status, or -1 when it could not run or
// ended by a signal.
int runProcess(const std::vector<std::string> &argv)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char *> args;
    for (const std::string &arg : argv) {
        args.push_back(const_cast<char *>(arg.c_str()));
    }
    args.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// The rendered plan file, made on first use and removed at exit.
const std::string &planFile()
{
    struct Made {
        fs::path dir;
        std::string pdf;
        Made()
        {
            dir = fs::temp_directory_path() / ("ovilant-bench-cli-" + std::to_string(getpid()));
            fs::create_directories(dir);
            pdf = (dir / "plan.pdf").string();
            if (runProcess({OVILANT_PLAN_TOOL, "render", OVILANT_TEST_DATA_DIR "/plans/full.json", pdf}) != 0) {
                pdf.clear();
            }
        }
        ~Made() { fs::remove_all(dir); }
    };
    static const Made made;
    return made.pdf;
}

void runEach(benchmark::State &state, const std::vector<std::string> &argv)
{
    if (planFile().empty()) {
        state.SkipWithError("the plan file could not be rendered");
        return;
    }
    for (auto _ : state) {
        if (runProcess(argv) != 0) {
            state.SkipWithError((argv[0] + " failed").c_str());
            break;
        }
    }
}

void BM_DumpProcess(benchmark::State &state)
{
    runEach(state, {OVILANT_PLAN_TOOL, "dump", planFile()});
}
BENCHMARK(BM_DumpProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PdftotextProcess(benchmark::State &state)
{
    runEach(state, {"pdftotext", planFile(), "-"});
}
BENCHMARK(BM_PdftotextProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DumpInProcess(benchmark::State &state)
{
    if (planFile().empty()) {
        state.SkipWithError("the plan file could not be rendered");
        return;
    }
    const std::vector<std::string> args = {"dump", planFile()};
    std::istringstream in;
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        if (cli::run(args, in, out, err) != cli::kExitOk) {
            state.SkipWithError("dump failed");
            break;
        }
        benchmark::DoNotOptimize(out.str().size());
    }
}
BENCHMARK(BM_DumpInProcess)->Unit(benchmark::kMillisecond);

// Dumps, in-process, a plan-like file whose name field is a literal string
// of `range(0)` bytes of 0x01.
void BM_DumpHugeLiteral(benchmark::State &state)
{
    const fs::path path = fs::temp_directory_path() / ("ovilant-bench-literal-" + std::to_string(getpid()) + ".pdf");
    const std::string name(static_cast<std::size_t>(state.range(0)), '\x01');
    std::ofstream(path, std::ios::binary)
        << pdftest::planFile({{{"40", "799.5", {name}}, {"166", "799.5", {"x"}}}}).build();
    const std::vector<std::string> args = {"dump", path.string()};
    std::istringstream in;
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        benchmark::DoNotOptimize(cli::run(args, in, out, err));
        state.counters["output bytes"] = static_cast<double>(out.str().size());
    }
    fs::remove(path);
}
BENCHMARK(BM_DumpHugeLiteral)->Arg(1 << 20)->Arg(16'600'000)->Unit(benchmark::kMillisecond)->Iterations(1);

// parseJsonText over one object of `range(0)` distinct keys.
void BM_ParseJsonManyKeys(benchmark::State &state)
{
    std::string text = "{";
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        text += (i > 0 ? ",\"k" : "\"k") + std::to_string(i) + "\":0";
    }
    text += "}";
    for (auto _ : state) {
        std::string error;
        benchmark::DoNotOptimize(planjson::parseJsonText(text, error));
    }
}
BENCHMARK(BM_ParseJsonManyKeys)->Arg(20'000)->Arg(200'000)->Unit(benchmark::kMillisecond)->Iterations(1);

// parseJsonText over `range(0)` nested arrays.
void BM_ParseJsonDeepNesting(benchmark::State &state)
{
    const auto depth = static_cast<std::size_t>(state.range(0));
    const std::string text = std::string(depth, '[') + std::string(depth, ']');
    for (auto _ : state) {
        std::string error;
        benchmark::DoNotOptimize(planjson::parseJsonText(text, error));
    }
}
BENCHMARK(BM_ParseJsonDeepNesting)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->Iterations(1);

// parseJsonText over `range(0)` keys whose values are empty objects, and
// over one array of `range(0)` empty objects: each closing object once made
// the parser look through its parent again.
void BM_ParseJsonEmptyObjects(benchmark::State &state)
{
    const bool inArray = state.range(1) != 0;
    std::string text = inArray ? "{\"Team\":[" : "{";
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        text += i > 0 ? "," : "";
        text += inArray ? "{}" : "\"k" + std::to_string(i) + "\":{}";
    }
    text += inArray ? "]}" : "}";
    for (auto _ : state) {
        std::string error;
        benchmark::DoNotOptimize(planjson::parseJsonText(text, error));
    }
}
BENCHMARK(BM_ParseJsonEmptyObjects)
    ->Args({40'000, 0})
    ->Args({1'000'000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
