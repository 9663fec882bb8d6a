#pragma once

// When each patient's plan is to be reviewed. A plan is written again at a
// fixed interval of calendar months after the patient's latest plan; this
// file groups the plans of a folder index by patient and works out, per
// patient, the latest plan date, the months since it and the next review
// date, and which patients are due on a given day.
//
// A patient is a name and a birth date. Names are compared with their
// blanks removed (half-width U+0020 and full-width U+3000, as CP932 bytes),
// so "山田 太郎" and "山田太郎" are one patient; two patients with one name
// and different birth dates stay apart. A birth date that does not read as
// a date is compared as its printed text.
//
// Everything works on the index already read: no plan file is opened.
// Dates are whole days; a time of day is ignored.

#include "plan/DateTime.h"
#include "planindex/PlanIndex.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace planindex {

// The review interval in months: its default and the range the editor's
// setting and the command line accept.
constexpr int kDefaultReviewMonths = 3;
constexpr int kMinReviewMonths = 1;
constexpr int kMaxReviewMonths = 24;

// Patients whose next review date is at most this many days ahead are due
// soon (the plan list marks them).
constexpr int kDueSoonDays = 14;

// The day `months` calendar months after `date` (before it when negative).
// A day that the target month does not have becomes that month's last day:
// 2026-03-31 + 3 months is 2026-06-30, 2024-01-31 + 1 month is 2024-02-29.
TDateTime addMonths(TDateTime date, int months);

// Whole calendar months from `from` to `to`: the largest n with
// addMonths(from, n) on or before `to`; 0 when `to` is before `from`.
int monthsBetween(TDateTime from, TDateTime to);

// `name` (CP932) without its half- and full-width blanks; the bytes of
// double-byte characters are never mistaken for a blank.
std::string nameWithoutBlanks(std::string_view name);

// True when `plan` is of the patient with this name (CP932) and birth date:
// names equal without blanks, birth dates on the same day.
bool isPatientOf(const IndexedPlan &plan, std::string_view name, TDateTime birthDate);

struct Patient {
    // The patient's plans, newest first as in the index; never empty. The
    // pointers point into the index, which must outlive them.
    std::vector<const IndexedPlan *> plans;
    // The latest plan: its name and birth date are the ones shown.
    const IndexedPlan &latest() const { return *plans.front(); }
    // The date of the latest plan and that date + the interval; none when no
    // plan of the patient has a readable date.
    std::optional<TDateTime> latestPlanDate;
    std::optional<TDateTime> nextReview;
};

// The patients of `index` in the order of their latest plan, newest first
// (patients without a dated plan last), with the next review date
// `reviewMonths` after the latest plan. Linear in the number of plans.
std::vector<Patient> patientsOf(const FolderIndex &index, int reviewMonths);

enum class ReviewState {
    None,    // no next review date, or later than kDueSoonDays days from today
    Soon,    // from today to kDueSoonDays days ahead
    Overdue, // before today
};
ReviewState reviewState(const Patient &patient, TDateTime today);

// The patients whose next review date is on or before the day `on`, soonest
// first (then by name and birth text). Points into `patients`.
std::vector<const Patient *> duePatients(const std::vector<Patient> &patients, TDateTime on);

} // namespace planindex
