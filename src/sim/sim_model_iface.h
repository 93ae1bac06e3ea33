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

class CSimDestination {
 public:
  virtual ~CSimDestination() = default;
  virtual CSimLocation* pLocation() const = 0;
  virtual ESimDestination Destination() const = 0;
  virtual unsigned Count() const = 0;
};

class CSimDestinationList {
 public:
  virtual ~CSimDestinationList() = default;
  virtual CSimDestination* FindDestination(ESimDestination kind, unsigned count) const = 0;
};
