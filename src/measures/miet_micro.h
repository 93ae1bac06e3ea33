#pragma once
// Rental micro cars.
// Stand-in for the measure's own fields, keys and steps: the common
// pattern alone, with no block, and what the world's start-up calls on it.
#include "sim/sim_date.h"
#include "measures/measure.h"

class CMietMicro : public CMeasure {
 public:
  CMietMicro() : CMeasure(kMeasureWithoutBlock, nullptr) {}
};
