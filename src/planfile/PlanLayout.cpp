#include "planfile/PlanLayout.h"

#include "planfile/PlanFormat.h"

#include <charconv>
#include <stdexcept>

namespace planfile {

namespace {

constexpr std::string_view kMarkPrefix = "OvilantLayout ";

} // namespace

const PlanField *PlanLayout::field(std::string_view key) const
{
    for (const PlanField &f : fields) {
        if (key == f.key) {
            return &f;
        }
    }
    return nullptr;
}

LayoutCatalog::LayoutCatalog(std::vector<const PlanLayout *> layouts) : m_layouts(std::move(layouts))
{
    for (std::size_t i = 0; i < m_layouts.size(); ++i) {
        if (m_layouts[i]->version != static_cast<int>(i) + 1) {
            throw std::logic_error("layout versions must run 1, 2, ... without gaps");
        }
    }
    if (m_layouts.empty()) {
        throw std::logic_error("a build knows at least one layout");
    }
}

const PlanLayout *LayoutCatalog::find(int version) const
{
    if (version < 1 || static_cast<std::size_t>(version) > m_layouts.size()) {
        return nullptr;
    }
    return m_layouts[static_cast<std::size_t>(version) - 1];
}

const PlanLayout &currentLayout()
{
    return builtInLayouts().newest();
}

std::string layoutMark(int version)
{
    return version <= 1 ? std::string() : std::string(kMarkPrefix) + std::to_string(version);
}

int markedLayout(std::string_view keywords)
{
    keywords = trimmedInfo(keywords);
    if (!keywords.starts_with(kMarkPrefix)) {
        return 1;
    }
    const std::string_view digits = keywords.substr(kMarkPrefix.size());
    int version = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), version);
    if (error != std::errc() || end != digits.data() + digits.size() || version < 1) {
        return 0;
    }
    return version;
}

} // namespace planfile
