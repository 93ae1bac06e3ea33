#pragma once
// Locations for the city model's tests: a one-cell building at a cell with
// the capacities given.
#include <memory>

#include "sim/sim_location.h"

namespace simtest {

struct Capacities {
  int homes = 0, jobs = 0, shops = 0, leisure = 0, school = 0, parking = 0;
  int type = 1, height = 0;
};

inline std::unique_ptr<CSimLocation> MakeLocation(int x, int y, const Capacities& c) {
  auto l = std::make_unique<CSimLocation>();
  const CSimRasterPos at(x, y);
  l->Create(&at, SimLocationSizeType{1, 1}, c.type, SIM_HEIGHT_ANY);
  PotentialType p;
  p.locationType = c.type;
  p.height = static_cast<uint16_t>(c.height);
  p.SetWord(24, static_cast<uint16_t>(c.homes));
  p.SetWord(36, static_cast<uint16_t>(c.jobs));
  p.SetWord(40, static_cast<uint16_t>(c.parking));
  p.SetWord(44, static_cast<uint16_t>(c.leisure));
  p.SetWord(48, static_cast<uint16_t>(c.shops));
  p.SetWord(60, static_cast<uint16_t>(c.school));
  l->SetPotential(&p);
  return l;
}

}  // namespace simtest
