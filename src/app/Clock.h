#pragma once

// The current date and time as the plan record holds it, behind an
// interface so that tests can fix the day.

#include "plan/DateTime.h"

class Clock {
public:
    virtual ~Clock() = default;
    virtual TDateTime now() const = 0;
};

class SystemClock : public Clock {
public:
    TDateTime now() const override { return currentDateTime(); }
};
