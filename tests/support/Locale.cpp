#include "support/Locale.h"

#include "support/Processes.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace testsupport {

namespace {

bool decimalIsComma()
{
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    return std::strcmp(probe, "1,5") == 0;
}

} // namespace

CommaDecimalLocale::CommaDecimalLocale()
{
    if (const char *old = std::getenv("LOCPATH")) {
        m_hadLocPath = true;
        m_oldLocPath = old;
    }
    // POSIX names first, then the names Windows knows the same locales by.
    for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8", "nl_NL.UTF-8",
                             "German_Germany.1252", "French_France.1252", "de-DE", "fr-FR"}) {
        if (std::setlocale(LC_ALL, name) != nullptr && decimalIsComma()) {
            m_name = name;
            return;
        }
    }
    if (!toolInstalled("localedef")) {
        m_problem = "no comma-decimal locale installed and " + missingTools({"localedef"});
        std::setlocale(LC_ALL, "C");
        return;
    }
    m_built = std::make_unique<TempDir>("ovilant-locale");
    const auto target = *m_built / "de_DE.UTF-8";
    // localedef may exit non-zero over mere warnings: the folder it writes
    // is what counts.
    const RunResult run = runCommand("localedef -i de_DE -f UTF-8 " + shellQuote(target.string()));
    if (!std::filesystem::exists(target / "LC_NUMERIC")) {
        m_problem = "localedef could not build de_DE.UTF-8 (exit " + std::to_string(run.status) + "): " + run.err;
        return;
    }
    setEnvironment("LOCPATH", m_built->path().string());
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr || !decimalIsComma()) {
        m_problem = "the locale built by localedef does not use a decimal comma";
        std::setlocale(LC_ALL, "C");
        return;
    }
    m_name = "de_DE.UTF-8 (built with localedef)";
}

CommaDecimalLocale::~CommaDecimalLocale()
{
    std::setlocale(LC_ALL, "C");
    if (m_hadLocPath) {
        setEnvironment("LOCPATH", m_oldLocPath);
    } else {
        unsetEnvironment("LOCPATH");
    }
}

} // namespace testsupport
