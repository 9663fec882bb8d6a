#include "planindex/ReviewDue.h"

#include "plan/Cp932.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace planindex {

namespace {

int daysInMonth(int year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return kDays[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

// The whole day of a date-time value (its time of day dropped).
TDateTime day(TDateTime value)
{
    return std::trunc(value);
}

// The key that stands for a patient: the name without blanks, a separator
// that no CP932 name holds, then the birth day or, failing that, the text.
std::string patientKey(const IndexedPlan &plan)
{
    std::string key = nameWithoutBlanks(plan.name);
    if (plan.birthDate) {
        key += '\0';
        key += 'D';
        key += std::to_string(static_cast<long long>(day(*plan.birthDate)));
    } else {
        key += '\0';
        key += 'T';
        key += plan.birthText;
    }
    return key;
}

} // namespace

TDateTime addMonths(TDateTime date, int months)
{
    const CivilDate d = decodeDate(date);
    const long long total = static_cast<long long>(d.year) * 12 + (d.month - 1) + months;
    const long long year = total >= 0 ? total / 12 : (total - 11) / 12;
    const int month = static_cast<int>(total - year * 12) + 1;
    const int y = static_cast<int>(std::clamp(year, 1LL, 9999LL));
    return encodeDate(y, month, std::min(d.day, daysInMonth(y, month)));
}

int monthsBetween(TDateTime from, TDateTime to)
{
    from = day(from);
    to = day(to);
    if (to < from) {
        return 0;
    }
    const CivilDate a = decodeDate(from);
    const CivilDate b = decodeDate(to);
    int months = (b.year - a.year) * 12 + (b.month - a.month);
    // The same day number in `to`'s month (or that month's last day) may
    // still lie ahead of `to`.
    if (addMonths(from, months) > to) {
        --months;
    }
    return months;
}

std::string nameWithoutBlanks(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (cp932::isLeadByte(c) && i + 1 < name.size()) {
            // 0x81 0x40 is the full-width blank.
            if (!(c == 0x81 && static_cast<unsigned char>(name[i + 1]) == 0x40)) {
                out += name.substr(i, 2);
            }
            ++i;
        } else if (c != ' ') {
            out += name[i];
        }
    }
    return out;
}

bool isPatientOf(const IndexedPlan &plan, std::string_view name, TDateTime birthDate)
{
    return plan.birthDate && day(*plan.birthDate) == day(birthDate) &&
           nameWithoutBlanks(plan.name) == nameWithoutBlanks(name);
}

std::vector<Patient> patientsOf(const FolderIndex &index, int reviewMonths)
{
    // The index is newest first (undated plans last), so a patient's first
    // plan met is the latest and the patients come in the order wanted.
    std::vector<Patient> patients;
    std::unordered_map<std::string, std::size_t> byKey;
    byKey.reserve(index.plans.size());
    for (const IndexedPlan &plan : index.plans) {
        const auto [at, added] = byKey.try_emplace(patientKey(plan), patients.size());
        if (added) {
            Patient &p = patients.emplace_back();
            if (plan.planDate) {
                p.latestPlanDate = day(*plan.planDate);
                p.nextReview = addMonths(*p.latestPlanDate, reviewMonths);
            }
        }
        patients[at->second].plans.push_back(&plan);
    }
    return patients;
}

ReviewState reviewState(const Patient &patient, TDateTime today)
{
    if (!patient.nextReview) {
        return ReviewState::None;
    }
    const TDateTime next = *patient.nextReview;
    if (next < day(today)) {
        return ReviewState::Overdue;
    }
    return next <= day(today) + kDueSoonDays ? ReviewState::Soon : ReviewState::None;
}

std::vector<const Patient *> duePatients(const std::vector<Patient> &patients, TDateTime on)
{
    std::vector<const Patient *> due;
    for (const Patient &p : patients) {
        if (p.nextReview && *p.nextReview <= day(on)) {
            due.push_back(&p);
        }
    }
    std::stable_sort(due.begin(), due.end(), [](const Patient *a, const Patient *b) {
        if (*a->nextReview != *b->nextReview) {
            return *a->nextReview < *b->nextReview;
        }
        if (a->latest().name != b->latest().name) {
            return a->latest().name < b->latest().name;
        }
        return a->latest().birthText < b->latest().birthText;
    });
    return due;
}

} // namespace planindex
