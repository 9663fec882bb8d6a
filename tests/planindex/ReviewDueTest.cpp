// Review dates: calendar-month arithmetic at the ends of months, patients
// told apart by name without blanks and birth date, and which patients are
// due on a day. The index is built in memory: no plan file is needed.

#include "planindex/ReviewDue.h"
#include "plan/Cp932.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// The last day of every month of 2025 plus three months, then the leap day
// and a step back.
const std::tuple<TDateTime, int, TDateTime> kMonthCases[] = {
    {encodeDate(2025, 1, 31), 3, encodeDate(2025, 4, 30)},  {encodeDate(2025, 2, 28), 3, encodeDate(2025, 5, 28)},
    {encodeDate(2025, 3, 31), 3, encodeDate(2025, 6, 30)},  {encodeDate(2025, 4, 30), 3, encodeDate(2025, 7, 30)},
    {encodeDate(2025, 5, 31), 3, encodeDate(2025, 8, 31)},  {encodeDate(2025, 6, 30), 3, encodeDate(2025, 9, 30)},
    {encodeDate(2025, 7, 31), 3, encodeDate(2025, 10, 31)}, {encodeDate(2025, 8, 31), 3, encodeDate(2025, 11, 30)},
    {encodeDate(2025, 9, 30), 3, encodeDate(2025, 12, 30)}, {encodeDate(2025, 10, 31), 3, encodeDate(2026, 1, 31)},
    {encodeDate(2025, 11, 30), 3, encodeDate(2026, 2, 28)}, {encodeDate(2025, 12, 31), 3, encodeDate(2026, 3, 31)},
    {encodeDate(2023, 11, 30), 3, encodeDate(2024, 2, 29)}, {encodeDate(2024, 1, 31), 1, encodeDate(2024, 2, 29)},
    {encodeDate(2024, 3, 31), -1, encodeDate(2024, 2, 29)}, {encodeDate(2024, 2, 29), 12, encodeDate(2025, 2, 28)},
};

TEST(ReviewDue, MonthsAreCalendarMonthsThatStopAtTheLastDayOfAShorterMonth)
{
    for (const auto &[from, months, expected] : kMonthCases) {
        SCOPED_TRACE(std::to_string(from) + " + " + std::to_string(months));
        EXPECT_EQ(planindex::addMonths(from + 0.75, months), expected);
        if (months > 0) {
            EXPECT_EQ(planindex::monthsBetween(from, expected), months);
            EXPECT_EQ(planindex::monthsBetween(from, expected - 1), months - 1);
        }
    }
    EXPECT_EQ(planindex::monthsBetween(encodeDate(2025, 5, 1), encodeDate(2025, 4, 1)), 0);
}

planindex::IndexedPlan plan(const char *name, TDateTime birth, TDateTime date, const char *file)
{
    planindex::IndexedPlan p;
    std::tie(p.fileName, p.name, p.birthDate, p.planDate) = std::tuple(file, cp932::fromUtf8(name), birth, date);
    return p;
}

TEST(ReviewDue, PatientsAreNameWithoutBlanksAndBirthDateAndTheLatestPlanCounts)
{
    const TDateTime born1940 = encodeDate(1940, 2, 3);
    const TDateTime born1955 = encodeDate(1955, 8, 9);
    planindex::FolderIndex index; // newest first, as indexFolder gives it
    index.plans = {plan("山田　太郎", born1940, encodeDate(2026, 3, 31), "a3.pdf"),
                   plan("山田 太郎", born1955, encodeDate(2026, 2, 10), "b2.pdf"),
                   plan("山田太郎", born1940, encodeDate(2025, 12, 1), "a2.pdf"),
                   plan("メ@ 花子", born1955, encodeDate(2025, 11, 1), "c1.pdf"),
                   plan("山田 太郎", born1940, encodeDate(2025, 9, 1), "a1.pdf")};
    const std::vector<planindex::Patient> patients = planindex::patientsOf(index, 3);
    ASSERT_EQ(patients.size(), 3U);
    ASSERT_EQ(patients[0].plans.size(), 3U);
    EXPECT_EQ(patients[0].latest().fileName, "a3.pdf");
    EXPECT_EQ(patients[0].plans[2]->fileName, "a1.pdf");
    EXPECT_EQ(patients[0].nextReview, encodeDate(2026, 6, 30));
    EXPECT_EQ(patients[1].latest().fileName, "b2.pdf");
    // "メ" ends in the byte 0x81: with the "@" after it, it must not read as a full-width blank.
    EXPECT_EQ(planindex::nameWithoutBlanks(patients[2].latest().name), cp932::fromUtf8("メ@花子"));

    // The patient of a3 has older plans long past the interval but is not due
    // before the interval has run from the latest one.
    const auto due = [&](TDateTime on) {
        std::vector<std::string> files;
        for (const planindex::Patient *p : planindex::duePatients(patients, on)) {
            files.push_back(p->latest().fileName);
        }
        return files;
    };
    EXPECT_EQ(due(encodeDate(2026, 5, 9)), (std::vector<std::string>{"c1.pdf"}));
    EXPECT_EQ(due(encodeDate(2026, 5, 10) + 0.9), (std::vector<std::string>{"c1.pdf", "b2.pdf"}));
    EXPECT_EQ(due(encodeDate(2026, 6, 30)), (std::vector<std::string>{"c1.pdf", "b2.pdf", "a3.pdf"}));

    using enum planindex::ReviewState;
    const auto state = [&](int month, int day) {
        return planindex::reviewState(patients[0], encodeDate(2026, month, day) + 0.5);
    };
    EXPECT_EQ((std::vector{state(6, 15), state(6, 16), state(6, 30), state(7, 1)}),
              (std::vector{None, Soon, Soon, Overdue}));
}

} // namespace
