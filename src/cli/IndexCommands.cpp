#include "cli/IndexCommands.h"

#include "cli/Cli.h"
#include "cli/PlanJson.h"
#include "cli/Program.h"
#include "plan/FilePath.h"
#include "plan/Cp932.h"
#include "plan/TextParse.h"
#include "planfile/PlanFormat.h"
#include "planindex/PlanDiff.h"
#include "planindex/PlanIndex.h"
#include "planio/PlanRead.h"
#include "planindex/ReviewDue.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <new>
#include <ostream>
#include <variant>

namespace fs = std::filesystem;

namespace cli {

const char *const kIndexUsage =
    "ovilant-plan: usage: ovilant-plan index FOLDER [--csv] [--due [--months N] [--on YYYY-MM-DD]]\n";
const char *const kDiffUsage = "ovilant-plan: usage: ovilant-plan diff OLD.pdf NEW.pdf\n";

namespace {

std::string utf8(std::string_view cp932Text)
{
    return cp932::toUtf8(cp932Text);
}

// A memo's CR LF as "\n", as the JSON form of a plan writes it.
std::string utf8Lines(std::string_view cp932Text)
{
    std::string text = utf8(cp932Text);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        out += text[i];
    }
    return out;
}

template <std::size_t N> std::string choiceText(const std::array<std::string_view, N> &items, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < N ? utf8(items[static_cast<std::size_t>(index)])
                                                              : std::string();
}

std::string dateText(const std::optional<TDateTime> &date)
{
    return date ? planjson::formatDate(*date) : std::string();
}

// The columns of a row, in the order of the CSV header.
std::vector<std::string> columns(const planindex::IndexedPlan &p)
{
    std::vector<std::string> row = {p.path,
                                    utf8(p.name),
                                    choiceText(planfile::kSexes, p.sex),
                                    dateText(p.birthDate),
                                    choiceText(planfile::kCareLevels, p.kaigoLevel),
                                    dateText(p.planDate)};
    for (int n = 1; n <= kTeamMembers; ++n) {
        row.push_back(utf8(p.team[static_cast<std::size_t>(n)]));
    }
    return row;
}

std::string csvField(const std::string &text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

nlohmann::ordered_json planLine(const planindex::IndexedPlan &p)
{
    const auto orNull = [](const std::string &text) { return text.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(text); };
    nlohmann::ordered_json j;
    j["File"] = p.path;
    j["Name"] = utf8(p.name);
    j["Sex"] = orNull(choiceText(planfile::kSexes, p.sex));
    j["BirthDate"] = orNull(dateText(p.birthDate));
    j["KaigoLevel"] = orNull(choiceText(planfile::kCareLevels, p.kaigoLevel));
    j["PlanDate"] = orNull(dateText(p.planDate));
    nlohmann::ordered_json team = nlohmann::ordered_json::array();
    for (int n = 1; n <= kTeamMembers; ++n) {
        team.push_back(utf8(p.team[static_cast<std::size_t>(n)]));
    }
    j["Team"] = std::move(team);
    return j;
}

bool flushed(std::ostream &out, std::ostream &err)
{
    out.flush();
    if (!out) {
        err << "ovilant-plan: cannot write to standard output\n";
        return false;
    }
    return true;
}

const auto kReplace = nlohmann::ordered_json::error_handler_t::replace;

struct IndexOptions {
    std::string folder;
    bool csv = false;
    bool due = false;
    int months = planindex::kDefaultReviewMonths;
    std::optional<TDateTime> on; // none: today
};

// The options after "index"; none when they are not understood. --months
// and --on belong to --due.
std::optional<IndexOptions> indexOptions(const std::vector<std::string> &args)
{
    IndexOptions o;
    bool reviewOption = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--csv") {
            o.csv = true;
        } else if (arg == "--due") {
            o.due = true;
        } else if (arg == "--months" && hasValue) {
            const auto months = plantext::parseInt<int>(args[++i]);
            if (!months || *months < planindex::kMinReviewMonths || *months > planindex::kMaxReviewMonths) {
                return std::nullopt;
            }
            o.months = *months;
            reviewOption = true;
        } else if (arg == "--on" && hasValue && args[i + 1].size() == 10) {
            o.on = planjson::parseDate(args[++i]);
            if (!o.on) {
                return std::nullopt;
            }
            reviewOption = true;
        } else if (o.folder.empty() && !arg.empty() && arg[0] != '-') {
            o.folder = arg;
        } else {
            return std::nullopt;
        }
    }
    if (o.folder.empty() || (reviewOption && !o.due)) {
        return std::nullopt;
    }
    return o;
}

void printPlans(const planindex::FolderIndex &index, bool csv, std::ostream &out)
{
    if (csv) {
        out << "File,Name,Sex,BirthDate,KaigoLevel,PlanDate";
        for (int n = 1; n <= kTeamMembers; ++n) {
            out << ",Team" << n;
        }
        out << "\r\n";
        for (const auto &plan : index.plans) {
            const auto row = columns(plan);
            for (std::size_t i = 0; i < row.size(); ++i) {
                out << (i > 0 ? "," : "") << csvField(row[i]);
            }
            out << "\r\n";
        }
    } else {
        for (const auto &plan : index.plans) {
            out << planLine(plan).dump(-1, ' ', false, kReplace) << "\n";
        }
    }
}

// The patients due for review on `o.on`, soonest first: name, birth date,
// latest plan date, next review date and the latest plan's file.
void printDue(const planindex::FolderIndex &index, const IndexOptions &o, std::ostream &out)
{
    const std::vector<planindex::Patient> patients = planindex::patientsOf(index, o.months);
    const auto due = planindex::duePatients(patients, o.on ? *o.on : currentDateTime());
    if (o.csv) {
        out << "Name,BirthDate,LatestPlanDate,NextReview,File\r\n";
    }
    for (const planindex::Patient *p : due) {
        const planindex::IndexedPlan &latest = p->latest();
        const std::vector<std::string> row = {utf8(latest.name), dateText(latest.birthDate),
                                              dateText(p->latestPlanDate), dateText(p->nextReview), latest.path};
        if (o.csv) {
            for (std::size_t i = 0; i < row.size(); ++i) {
                out << (i > 0 ? "," : "") << csvField(row[i]);
            }
            out << "\r\n";
            continue;
        }
        nlohmann::ordered_json j;
        const char *const keys[] = {"Name", "BirthDate", "LatestPlanDate", "NextReview", "File"};
        for (std::size_t i = 0; i < row.size(); ++i) {
            j[keys[i]] = row[i].empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(row[i]);
        }
        out << j.dump(-1, ' ', false, kReplace) << "\n";
    }
}

} // namespace

int indexCommand(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    const auto options = indexOptions(args);
    if (!options) {
        err << kIndexUsage;
        return kExitUsage;
    }
    planindex::FolderIndex index;
    try {
        const fs::path cache = program::cacheFolder();
        index = planindex::indexFolder(pathFromUtf8(options->folder),
                                       cache.empty() ? fs::path() : planindex::cacheFileIn(cache));
    } catch (const std::bad_alloc &) {
        throw;
    } catch (const std::exception &) {
        err << "ovilant-plan: cannot read the folder " << options->folder << "\n";
        return kExitFailure;
    }
    if (options->due) {
        printDue(index, *options, out);
    } else {
        printPlans(index, options->csv, out);
    }
    bool outOfMemory = false;
    for (const auto &other : index.others) {
        err << "ovilant-plan: " << other.path << ": " << utf8(other.text) << other.messageFileName << "\n";
        outOfMemory = outOfMemory || other.outOfMemory;
    }
    // A file left unread for want of memory makes the list incomplete.
    return flushed(out, err) && !outOfMemory ? kExitOk : kExitFailure;
}

int diffCommand(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    if (args.size() != 3 || args[1].empty() || args[2].empty()) {
        err << kDiffUsage;
        return kExitUsage;
    }
    std::array<TPRACTDATA, 2> plans;
    for (std::size_t i = 0; i < 2; ++i) {
        auto read = planio::readPlanFile(pathFromUtf8(args[i + 1]));
        if (const auto *fault = std::get_if<planio::ReadFault>(&read)) {
            err << "ovilant-plan: " << args[i + 1] << ": " << utf8(fault->text) << fault->fileName << "\n";
            return kExitFailure;
        }
        plans[i] = std::get<planio::PlanFileRead>(read).printed.Plan;
    }
    nlohmann::ordered_json j;
    j["Old"] = args[1];
    j["New"] = args[2];
    nlohmann::ordered_json changes = nlohmann::ordered_json::array();
    for (const auto &change : planindex::diffPlans(plans[0], plans[1])) {
        nlohmann::ordered_json c;
        c["Field"] = change.field->key;
        c["Caption"] = change.field->caption;
        c["Old"] = utf8Lines(change.before);
        c["New"] = utf8Lines(change.after);
        changes.push_back(std::move(c));
    }
    j["Changes"] = std::move(changes);
    out << j.dump(2, ' ', false, kReplace) << "\n";
    return flushed(out, err) ? kExitOk : kExitFailure;
}

} // namespace cli
