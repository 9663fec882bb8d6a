#include "FuzzEntry.h"

#include "cli/PlanJson.h"

#include <string>
#include <string_view>
#include <variant>

int planJsonFuzzOne(const std::uint8_t *data, std::size_t size)
{
    std::string error;
    const nlohmann::json json =
        planjson::parseJsonText(std::string_view(reinterpret_cast<const char *>(data), size), error);
    if (!error.empty())
        return 0;
    const auto result = planjson::planFromJson(json, 45000.5);
    if (const auto *plan = std::get_if<TPRACTDATA>(&result)) {
        // A plan that passed its checks is written back as JSON and read again.
        const auto again = planjson::planFromJson(nlohmann::json::parse(planjson::planToJson(*plan).dump()), 45000.5);
        if (!std::holds_alternative<TPRACTDATA>(again))
            __builtin_trap();
    }
    return 0;
}
