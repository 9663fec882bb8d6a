#pragma once

// The bytes of a plan's file as the layout form prints them, for the tests
// of the report library (the save path above it keeps one form per thread).

#include "plan/DateTime.h"
#include "plan/PracticePlanType.h"

#include <string>

std::string formPdf(const TPRACTDATA &plan, const std::string &creator, TDateTime time);
