#pragma once

// A plan with every field set to a distinct value that fits its printed
// box: multi-line memos with an empty line, three marks in one cell, every
// priority mark, ticks, parentheses and a backslash in single-byte text.

#include "plan/PracticePlanType.h"

TPRACTDATA fullPlan();
