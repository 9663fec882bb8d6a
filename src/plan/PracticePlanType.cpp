#include "plan/PracticePlanType.h"

#include <stdexcept>

TPRACTITEM &planRow(TPRACTDATA &plan, int number)
{
    if (number >= 0 && number < kActivityRows) {
        return plan.ActivityItems[static_cast<std::size_t>(number)];
    }
    if (number >= kMotionFirstRow && number < kMotionFirstRow + kMotionRows) {
        return plan.MotionItems[static_cast<std::size_t>(number - kMotionFirstRow)];
    }
    throw std::out_of_range("no table row with this number");
}

const TPRACTITEM &planRow(const TPRACTDATA &plan, int number)
{
    return planRow(const_cast<TPRACTDATA &>(plan), number);
}

const std::array<int, kActivityRows + kMotionRows> &planRowNumbers()
{
    static const std::array<int, kActivityRows + kMotionRows> numbers = [] {
        std::array<int, kActivityRows + kMotionRows> n{};
        for (int i = 0; i < kActivityRows; ++i) {
            n[static_cast<std::size_t>(i)] = i;
        }
        for (int i = 0; i < kMotionRows; ++i) {
            n[static_cast<std::size_t>(kActivityRows + i)] = kMotionFirstRow + i;
        }
        return n;
    }();
    return numbers;
}

void ResetPlan(TPRACTDATA &plan, TDateTime now)
{
    plan = TPRACTDATA{};
    plan.PlanDate = now;
    plan.BirthDate = now;
    plan.Sex = -1;
    plan.KaigoLevel = -1;
    plan.Age = 0;
    plan.HDS = 30;
}
