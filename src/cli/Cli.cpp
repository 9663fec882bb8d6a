#include "cli/Cli.h"

#include "cli/Program.h"
#include "plan/FilePath.h"
#include "pdfreader/PdfReadError.h"
#include "cli/IndexCommands.h"
#include "cli/PlanDump.h"
#include "cli/PlanFitReport.h"
#include "cli/PlanJson.h"
#include "plan/Cp932.h"
#include "plan/DateTime.h"
#include "plan/TextParse.h"
#include "planio/FileReplace.h"
#include "planio/PlanRead.h"
#include "planio/PlanSave.h"
#include "planio/ReadBackCheck.h"
#include "report/PlanFit.h"

#include <nlohmann/json.hpp>

#include <array>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <new>
#include <optional>

namespace cli {

namespace {

const char *const kRenderUsage = "ovilant-plan: usage: ovilant-plan render [--strict] PLAN.json OUT.pdf\n";
const char *const kDumpUsage = "ovilant-plan: usage: ovilant-plan dump IN.pdf\n";
const char *const kCheckUsage = "ovilant-plan: usage: ovilant-plan check PLAN.json\n";
// What --help prints: every command.
const char *const kUsage = "usage: ovilant-plan render [--strict] PLAN.json OUT.pdf\n"
                           "       ovilant-plan dump IN.pdf\n"
                           "       ovilant-plan check PLAN.json\n"
                           "       ovilant-plan index FOLDER [--csv] [--due [--months N] [--on YYYY-MM-DD]]\n"
                           "       ovilant-plan diff OLD.pdf NEW.pdf\n"
                           "       ovilant-plan print FILE.pdf... [--printer NAME] [--to OUT.pdf]\n"
                           "       ovilant-plan --version\n"
                           "       ovilant-plan --help\n";
const char *const kHelpHint = "; \"ovilant-plan --help\" lists the commands\n";

// The time from SOURCE_DATE_EPOCH, read as UTC; nothing when it is unset.
// A value that is not a whole number of seconds from 0 up to the end of
// year 9999 is an error.
std::optional<TDateTime> sourceDateEpoch(bool &bad)
{
    bad = false;
    const char *value = std::getenv("SOURCE_DATE_EPOCH");
    if (value == nullptr) {
        return std::nullopt;
    }
    const std::optional<long long> parsed = plantext::parseInt<long long>(value);
    if (!parsed || *parsed > 253402300799LL) {
        bad = true;
        return std::nullopt;
    }
    const long long seconds = *parsed;
    const long long days = seconds / 86400;
    const long long rest = seconds % 86400;
    const CivilDate d = decodeDate(25569.0 + static_cast<double>(days)); // 1970-01-01
    return encodeDateTime(d.year, d.month, d.day, static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                          static_cast<int>(rest % 60));
}

// The rest of `in`. Read in pieces rather than with `<< rdbuf()`, which
// would swallow a failed allocation and hand back part of the text.
std::string readRest(std::istream &in)
{
    std::string text;
    std::array<char, 64 * 1024> piece;
    while (in.read(piece.data(), piece.size()) || in.gcount() > 0) {
        text.append(piece.data(), static_cast<std::size_t>(in.gcount()));
    }
    return text;
}

bool readAll(const std::string &path, std::istream &in, std::string &text, std::ostream &err)
{
    if (path == "-") {
        text = readRest(in);
        return true;
    }
    std::ifstream file(pathFromUtf8(path), std::ios::binary);
    if (!file) {
        err << "ovilant-plan: cannot read " << path << "\n";
        return false;
    }
    text = readRest(file);
    if (file.bad()) {
        err << "ovilant-plan: cannot read " << path << "\n";
        return false;
    }
    return true;
}

// Takes the option `name` out of `args`; true when it was there.
bool takeOption(std::vector<std::string> &args, const std::string &name)
{
    const auto before = args.size();
    std::erase(args, name);
    return args.size() != before;
}

// Warns on `err` about every text of `plan` that will not print whole;
// false when there is one and `strict` forbids writing.
bool fitsOrWarn(const TPRACTDATA &plan, bool strict, std::ostream &err)
{
    const std::vector<planfit::FieldFit> cuts = planfit::CheckPlanFit(plan);
    planfitreport::printWarnings(cuts, err);
    if (strict && !cuts.empty()) {
        err << "ovilant-plan: --strict: nothing written\n";
        return false;
    }
    return true;
}

// Reads a JSON plan strictly (no NUL bytes, nothing after the value, no key
// given twice, no number beyond a double); false after saying why.
bool readJson(const std::string &path, std::istream &in, nlohmann::json &json, std::ostream &err)
{
    std::string text;
    if (!readAll(path, in, text, err)) {
        return false;
    }
    std::string jsonError;
    json = planjson::parseJsonText(text, jsonError);
    if (!jsonError.empty()) {
        err << "ovilant-plan: " << path << " is not valid JSON: " << jsonError << "\n";
        return false;
    }
    return true;
}

// Checks a JSON plan as render would and prints the findings (see
// PlanFitReport.h) without writing anything.
int check(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err)
{
    if (args.size() != 2 || args[1].empty()) {
        err << kCheckUsage;
        return kExitUsage;
    }
    nlohmann::json json;
    if (!readJson(args[1], in, json, err)) {
        return kExitFailure;
    }
    const int status = planfitreport::check(json, currentDateTime(), out);
    out.flush();
    if (!out) {
        err << "ovilant-plan: cannot write to standard output\n";
        return kExitFailure;
    }
    return status;
}

int render(std::vector<std::string> args, std::istream &in, std::ostream &out, std::ostream &err)
{
    const bool strict = takeOption(args, "--strict");
    if (args.size() != 3 || args[1].empty() || args[2].empty()) {
        err << kRenderUsage;
        return kExitUsage;
    }
    const std::string &planPath = args[1];
    const std::string &outPath = args[2];

    bool badEpoch = false;
    const std::optional<TDateTime> epoch = sourceDateEpoch(badEpoch);
    if (badEpoch) {
        err << "ovilant-plan: SOURCE_DATE_EPOCH must be a whole number of seconds since 1970-01-01\n";
        return kExitUsage;
    }
    const TDateTime now = epoch ? *epoch : currentDateTime();

    nlohmann::json json;
    if (!readJson(planPath, in, json, err)) {
        return kExitFailure;
    }
    std::vector<planjson::LookAlikeChange> lookAlikes;
    auto result = planjson::planFromJson(json, now, &lookAlikes);
    if (const auto *fault = std::get_if<planjson::Fault>(&result)) {
        err << "ovilant-plan: " << fault->text() << "\n";
        return kExitFailure;
    }
    planfitreport::printLookAlikes(lookAlikes, err);
    const TPRACTDATA &plan = std::get<TPRACTDATA>(result);
    if (!fitsOrWarn(plan, strict, err)) {
        return kExitFailure;
    }

    try {
        const std::string bytes = MakePlanPdf(plan, PlanCreatorText(now), now);
        if (outPath == "-") {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.flush();
            if (!out) {
                err << "ovilant-plan: cannot write to standard output\n";
                return kExitFailure;
            }
        } else {
            ReplaceFile(pathFromUtf8(outPath), bytes);
        }
    } catch (const std::exception &e) {
        err << "ovilant-plan: cannot write " << outPath << ": " << e.what() << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

// Checks that the plan read back prints what the file holds, as the open
// command does; when it does not, says so and names the first field where
// they part on the error stream. True when the file is sound.
bool checkReadBack(const planio::PlanFileRead &read, std::ostream &err)
{
    const auto difference = planio::findDifference(read);
    if (!difference) {
        return true;
    }
    err << "ovilant-plan: " << cp932::toUtf8(planio::damagedPlanMessage()) << "\n";
    err << "ovilant-plan: first difference: "
        << (difference->itemName.empty() ? std::string("(not in the layout)") : difference->itemName) << " (page "
        << difference->page << ", " << difference->x << ", " << difference->y << ")\n";
    return false;
}

// Reads a plan file as the editor's open command does and prints the plan
// it would refill, as JSON.
int dump(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    if (args.size() != 2 || args[1].empty()) {
        err << kDumpUsage;
        return kExitUsage;
    }
    const auto result = planio::readPlanFile(pathFromUtf8(args[1]));
    if (const auto *fault = std::get_if<planio::ReadFault>(&result)) {
        // Everything the tool prints is UTF-8; the file name already is.
        err << "ovilant-plan: " << cp932::toUtf8(fault->text) << fault->fileName << "\n";
        return kExitFailure;
    }
    const planio::PlanFileRead &read = std::get<planio::PlanFileRead>(result);
    const bool sound = checkReadBack(read, err);
    const nlohmann::ordered_json plan = plandump::dumpPlan(read.printed, *read.layout);
    out << plan.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
    out.flush();
    if (!out) {
        err << "ovilant-plan: cannot write to standard output\n";
        return kExitFailure;
    }
    return sound ? kExitOk : kExitDamaged;
}

// `print` draws through Qt, which this tool does not load: it hands its
// arguments to ovilant-print, installed beside it, and answers with its
// exit status.
int printCommand(const std::vector<std::string> &args, std::ostream &err)
{
    const std::filesystem::path folder = program::ownFolder();
    const std::filesystem::path printer = folder / (std::string("ovilant-print") + program::kExecutableSuffix);
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_regular_file(printer, ec)) {
        err << "ovilant-plan: print needs ovilant-print, which is not installed beside this program\n";
        return kExitFailure;
    }
    err.flush();
    const int status = program::runAndWait(printer, "ovilant-plan", std::vector<std::string>(args.begin() + 1, args.end()));
    if (status < 0) {
        err << "ovilant-plan: cannot start " << utf8FromPath(printer) << "\n";
        return kExitFailure;
    }
    return status;
}

} // namespace

namespace {

int runCommand(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err)
{
    if (args.empty()) {
        err << "ovilant-plan: no command given" << kHelpHint;
        return kExitUsage;
    }
    if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help" || args[0] == "help")) {
        out << kUsage;
        return kExitOk;
    }
    if (args.size() == 1 && args[0] == "--version") {
        out << "ovilant-plan " << OVILANT_VERSION << "\n";
        return kExitOk;
    }
    if (args[0] == "print") {
        return printCommand(args, err);
    }
    // Commands over a folder or two plans (IndexCommands.h).
    if (!args.empty() && args[0] == "index") {
        return indexCommand(args, out, err);
    }
    if (!args.empty() && args[0] == "diff") {
        return diffCommand(args, out, err);
    }
    if (!args.empty() && args[0] == "render") {
        return render(args, in, out, err);
    }
    if (!args.empty() && args[0] == "dump") {
        return dump(args, out, err);
    }
    if (!args.empty() && args[0] == "check") {
        return check(args, in, out, err);
    }
    err << "ovilant-plan: unknown command \"" << args[0] << "\"" << kHelpHint;
    return kExitUsage;
}

} // namespace

int run(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err)
{
    // A command that runs out of memory ends with a message, not an abort;
    // what it held is freed by then.
    try {
        return runCommand(args, in, out, err);
    } catch (const std::bad_alloc &) {
        err << "ovilant-plan: out of memory\n";
        return kExitFailure;
    }
}

} // namespace cli
