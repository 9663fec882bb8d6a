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

const auto kReplace = nlohmann::ordered_json::error_handler_t::replace;

// The length of the well-formed UTF-8 sequence that starts `text` with the
// non-ASCII byte text[0]; 0 when there is none there (a stray or missing
// continuation byte, an overlong form, a surrogate, beyond U+10FFFF).
std::size_t utf8SequenceLength(std::string_view text)
{
    const auto c = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    unsigned char low = 0x80; // the bounds of the second byte
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        low = c == 0xE0 ? 0xA0 : 0x80;
        high = c == 0xED ? 0x9F : 0xBF;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        low = c == 0xF0 ? 0x90 : 0x80;
        high = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    const auto second = static_cast<unsigned char>(text[1]);
    if (second < low || second > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

// Appends `text` (UTF-8) as a JSON string, byte for byte as
// nlohmann::json::dump(-1, ' ', false, replace) writes it: the quotation
// mark, the backslash and control characters escaped, everything else as
// it is. A text that is not well-formed UTF-8 (a file name can be any
// bytes) is left to the library, whose replacement rules it then follows.
void appendJsonString(std::string &out, std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    const std::size_t start = out.size();
    out += '"';
    std::size_t plain = 0; // start of the bytes not yet appended
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = utf8SequenceLength(text.substr(i));
            if (length == 0) {
                out.resize(start);
                out += nlohmann::ordered_json(std::string(text)).dump(-1, ' ', false, kReplace);
                return;
            }
            i += length;
            continue;
        }
        if (c >= 0x20 && c != '"' && c != '\\') {
            ++i;
            continue;
        }
        out.append(text.data() + plain, i - plain);
        plain = ++i;
        out += '\\';
        switch (c) {
        case '"':
            out += '"';
            break;
        case '\\':
            out += '\\';
            break;
        case '\b':
            out += 'b';
            break;
        case '\t':
            out += 't';
            break;
        case '\n':
            out += 'n';
            break;
        case '\f':
            out += 'f';
            break;
        case '\r':
            out += 'r';
            break;
        default:
            out += "u00";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    out.append(text.data() + plain, text.size() - plain);
    out += '"';
}

// A text, or null when it is empty.
void appendJsonStringOrNull(std::string &out, std::string_view text)
{
    if (text.empty()) {
        out += "null";
    } else {
        appendJsonString(out, text);
    }
}

// One plan as a line of JSON (File, Name, Sex, BirthDate, KaigoLevel,
// PlanDate, Team), written straight into `out` as nlohmann's ordered_json
// of these keys would dump it on one line.
void appendPlanLine(std::string &out, const planindex::IndexedPlan &p)
{
    out += "{\"File\":";
    appendJsonString(out, p.path);
    out += ",\"Name\":";
    appendJsonString(out, utf8(p.name));
    out += ",\"Sex\":";
    appendJsonStringOrNull(out, choiceText(planfile::kSexes, p.sex));
    out += ",\"BirthDate\":";
    appendJsonStringOrNull(out, dateText(p.birthDate));
    out += ",\"KaigoLevel\":";
    appendJsonStringOrNull(out, choiceText(planfile::kCareLevels, p.kaigoLevel));
    out += ",\"PlanDate\":";
    appendJsonStringOrNull(out, dateText(p.planDate));
    out += ",\"Team\":[";
    for (int n = 1; n <= kTeamMembers; ++n) {
        if (n > 1) {
            out += ',';
        }
        appendJsonString(out, utf8(p.team[static_cast<std::size_t>(n)]));
    }
    out += "]}\n";
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
        // The lines are gathered and written in pieces of some 64 KiB.
        std::string lines;
        for (const auto &plan : index.plans) {
            appendPlanLine(lines, plan);
            if (lines.size() >= 64 * 1024) {
                out.write(lines.data(), static_cast<std::streamsize>(lines.size()));
                lines.clear();
            }
        }
        out.write(lines.data(), static_cast<std::streamsize>(lines.size()));
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
