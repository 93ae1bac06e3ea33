#pragma once
// What the network slots and the trips need of the agent model: districts,
// locations and destinations. The classes of the city model fill these in,
// and tests give small stand-ins.
#include "sim/sim_location.h"

enum ESimDestination : int {
  SIM_DEST_HOME = 0,
  SIM_DEST_WORK = 1,
  SIM_DEST_EDUCATION = 2,
  SIM_DEST_SHOPPING = 3,
  SIM_DEST_LEISURE = 4,
  SIM_DEST_OTHER = 5,
  SIM_DEST_NONE = 8
};

// The districts of the city model.
#include "sim/sim_district.h"  // IWYU pragma: export

// The destinations themselves; they need the kinds above.
#include "sim/sim_destination.h"
