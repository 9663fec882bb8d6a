#pragma once

// What the tests of `ovilant-plan` share: the tool called in-process with
// captured streams, a temporary folder, the reviewed full plan
// (tests/data/plans/full.json), and SOURCE_DATE_EPOCH set to 2024-01-31
// 14:05:09 UTC while a test runs, so that every file written has fixed
// bytes.

#include "cli/Cli.h"
#include "cli/PlanJson.h"

#include "support/Files.h"
#include "support/Processes.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

// `plan` (JSON form) with every key of the field table that it lacks, at
// the value a new plan starts with: what the tool writes back for a plan
// that left those keys out (a field added after the fixture was written).
inline nlohmann::json withEveryKey(nlohmann::json plan)
{
    TPRACTDATA empty;
    ResetPlan(empty, 0);
    const nlohmann::json all = nlohmann::json::parse(planjson::planToJson(empty).dump());
    for (const auto &[key, value] : all.items()) {
        if (!plan.contains(key)) {
            plan[key] = value;
        }
    }
    return plan;
}

class CliFixture : public ::testing::Test {
protected:
    explicit CliFixture(std::string_view folderPrefix) : m_dir(folderPrefix) {}

    void SetUp() override
    {
        testsupport::setEnvironment("SOURCE_DATE_EPOCH", "1706709909");
        std::ifstream in(std::string(OVILANT_TEST_DATA_DIR) + "/plans/full.json");
        m_full = nlohmann::json::parse(in);
    }
    void TearDown() override { testsupport::unsetEnvironment("SOURCE_DATE_EPOCH"); }

    // Runs the tool with `args` (after the program name) and `input` as
    // standard input; the streams are kept in m_last.
    int run(const std::vector<std::string> &args, const std::string &input = {})
    {
        m_last = testsupport::runInProcess(cli::run, args, input);
        return m_last.status;
    }
    // Writes `text` into the file `name` of the folder.
    std::filesystem::path write(const std::string &name, const std::string &text)
    {
        const std::filesystem::path path = m_dir / name;
        testsupport::writeFile(path, text);
        return path;
    }

    testsupport::TempDir m_dir;
    nlohmann::json m_full;
    testsupport::RunResult m_last;
};
