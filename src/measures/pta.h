#pragma once
// The travel assistant on cell phones.
// Stand-in for the measure's own fields, keys and steps: the common
// pattern alone, with no block, and what the world's start-up calls on it.
#include "sim/sim_date.h"
#include "measures/measure.h"

class CPta : public CMeasure {
 public:
  CPta() : CMeasure(kMeasureWithoutBlock, nullptr) {}
};
