#pragma once
// Traffic guidance signs.
// Stand-in for the measure's own fields, keys and steps: the common
// pattern alone, with no block, and what the world's start-up calls on it.
#include "sim/sim_date.h"
#include "measures/measure.h"

class CTrafficDisplay : public CMeasure {
 public:
  CTrafficDisplay() : CMeasure(kMeasureWithoutBlock, nullptr) {}
};
