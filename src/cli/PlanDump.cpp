#include "cli/PlanDump.h"

#include "cli/PlanJson.h"
#include "planfile/PlanDecode.h"
#include "planfile/PlanFormat.h"

namespace plandump {

bool isPlanFile(std::string_view author, std::string_view subject)
{
    return planfile::isPlanFile(author, subject);
}

const std::string &notAPlanMessage()
{
    static const std::string message(planfile::kNotAPlanMessage);
    return message;
}

nlohmann::ordered_json dumpPlan(const ItemLookup &item, const planfile::PlanLayout &layout)
{
    return dumpPlan(planfile::decodePlan(item, layout), layout);
}

nlohmann::ordered_json dumpPlan(const planfile::PrintedPlan &printed, const planfile::PlanLayout &layout)
{
    nlohmann::ordered_json j = planjson::planToJson(printed.Plan, layout);
    if (!printed.HasPlanDate) {
        j["PlanDate"] = nullptr;
    }
    if (!printed.HasBirthDate) {
        j["BirthDate"] = nullptr;
    }
    if (!printed.HasAge) {
        j["Age"] = nullptr;
    }
    if (!printed.HasHDS) {
        j["HDS"] = nullptr;
    }
    return j;
}

} // namespace plandump
