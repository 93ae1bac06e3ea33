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
  SIM_DEST_NONE = 8
};

class CSimDistrict {
 public:
  virtual ~CSimDistrict() = default;
  virtual int Zugangszeit() const = 0;  // access time, seconds
  virtual int Parksuchzeit() const = 0;  // parking search time, seconds
  // The district's id (1..256) and the capacities and persons it counts,
  // as its locations' use quotes read them.
  virtual short ID() const { return Missing(); }
  virtual int NrOfHomes() const { return Missing(); }
  virtual int NrOfResidents() const { return Missing(); }
  virtual int NrOfJobs() const { return Missing(); }
  virtual int NrOfWorkers() const { return Missing(); }
  virtual int NrOfShops() const { return Missing(); }
  virtual int NrOfConsumers() const { return Missing(); }
  virtual int NrOfLeisurePoints() const { return Missing(); }
  virtual int NrOfLeisurers() const { return Missing(); }
  virtual int NrOfSchoolSeats() const { return Missing(); }
  virtual int NrOfScholars() const { return Missing(); }

 private:
  // Stands in for the city model's districts, which count nothing yet: 0.
  static int Missing();
};

// The destinations themselves; they need the kinds above.
#include "sim/sim_destination.h"
