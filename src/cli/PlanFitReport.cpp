#include "cli/PlanFitReport.h"

#include "cli/PlanJson.h"
#include "plan/Cp932.h"

#include <ostream>
#include <variant>

namespace planfitreport {

namespace {

using ordered_json = nlohmann::ordered_json;

// A CP932 text as a JSON string literal in UTF-8.
std::string quoted(const std::string &cp932)
{
    return ordered_json(cp932::toUtf8(cp932)).dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}

} // namespace

void printWarnings(const std::vector<planfit::FieldFit> &cuts, std::ostream &err)
{
    for (const planfit::FieldFit &fit : cuts) {
        err << "ovilant-plan: warning: " << fit.where->json << ": will not print:";
        const char *separator = " ";
        for (const planfit::WideLine &wide : fit.wideLines) {
            err << separator << "line " << wide.line << " beyond the right edge " << quoted(wide.lost);
            separator = "; ";
        }
        if (fit.firstDroppedLine > 0) {
            err << separator << "line " << fit.firstDroppedLine << " and below " << quoted(fit.dropped);
        }
        err << "\n";
    }
}

void printLookAlikes(const std::vector<planjson::LookAlikeChange> &changes, std::ostream &err)
{
    for (const planjson::LookAlikeChange &change : changes) {
        const auto literal = [](const std::string &utf8) { return ordered_json(utf8).dump(); };
        err << "ovilant-plan: warning: " << change.key << ": " << literal(change.from) << " is saved as "
            << literal(change.to) << "\n";
    }
}

nlohmann::ordered_json fitToJson(const planfit::FieldFit &fit)
{
    ordered_json json;
    json["key"] = fit.where->json;
    json["wideLines"] = ordered_json::array();
    for (const planfit::WideLine &wide : fit.wideLines) {
        json["wideLines"].push_back({{"line", wide.line}, {"lost", cp932::toUtf8(wide.lost)}});
    }
    json["belowBox"] = nullptr;
    if (fit.firstDroppedLine > 0) {
        json["belowBox"] = {{"firstLine", fit.firstDroppedLine}, {"lost", cp932::toUtf8(fit.dropped)}};
    }
    return json;
}

int check(const nlohmann::json &plan, TDateTime now, std::ostream &out)
{
    ordered_json findings;
    findings["fault"] = nullptr;
    findings["cut"] = ordered_json::array();
    findings["lookAlikes"] = ordered_json::array();
    std::vector<planjson::LookAlikeChange> lookAlikes;
    const auto result = planjson::planFromJson(plan, now, &lookAlikes);
    if (const auto *fault = std::get_if<planjson::Fault>(&result)) {
        findings["fault"] = {{"key", fault->key}, {"message", fault->message}};
    } else {
        for (const planfit::FieldFit &fit : planfit::CheckPlanFit(std::get<TPRACTDATA>(result))) {
            findings["cut"].push_back(fitToJson(fit));
        }
        for (const planjson::LookAlikeChange &change : lookAlikes) {
            findings["lookAlikes"].push_back({{"key", change.key}, {"from", change.from}, {"to", change.to}});
        }
    }
    out << findings.dump(2, ' ', false, ordered_json::error_handler_t::replace) << "\n";
    return findings["fault"].is_null() && findings["cut"].empty() ? 0 : 1;
}

} // namespace planfitreport
