// Destination choice by the gravity rule: every district is weighted by its
// free capacity for the kind and, away from home, by a power of the inverse
// travel time from the agent's home district; one is drawn by weight and
// picks a location of its own.
#include <cmath>
#include <cstdint>

#include "framework/zor_seams.h"
#include "sim/sim_agent.h"
#include "sim/sim_city_model.h"
#include "sim/sim_district.h"
#include "sim/sim_error.h"
#include "sim/sim_location.h"

namespace {
// The factor of nearness is at least 10 and at most this, so that 256
// districts of any capacity sum to a weight far inside 64 bits.
constexpr double kMaxNearness = 1.0e6;

// What a district still takes of a kind; -1 for a kind no district counts.
int64_t FreeCapacity(const CSimDistrict& d, ESimDestination kind) {
  switch (kind) {
    case SIM_DEST_HOME: return static_cast<int64_t>(d.NrOfHomes()) - d.NrOfResidents();
    case SIM_DEST_WORK: return static_cast<int64_t>(d.NrOfJobs()) - d.NrOfWorkers();
    case SIM_DEST_EDUCATION: return static_cast<int64_t>(d.NrOfSchoolSeats()) - d.NrOfScholars();
    case SIM_DEST_SHOPPING: return d.NrOfShops();
    case SIM_DEST_LEISURE: return d.NrOfLeisurePoints();
    default: return -1;
  }
}

// 10 x (1/T)^(2e), at least 10 and at most kMaxNearness.
int64_t NearnessFactor(double oneOverTime, double gravity) {
  double g = std::pow(oneOverTime, 2.0 * gravity);
  if (!(g >= 1.0)) g = 1.0;
  const double factor = 10.0 * g;
  return static_cast<int64_t>(factor < kMaxNearness ? factor : kMaxNearness);
}
}  // namespace

CSimLocation* CSimCityModell::FindLocation(ESimDestination kind, CSimAgent* agent) {
  if (!agent) return SimSetError(2, "Fehler in CSimCityModell::FindLocation()"), nullptr;
  if (kind < SIM_DEST_HOME || kind > SIM_DEST_LEISURE)
    return SimSetError(1, "Fehler in CSimCityModell::FindLocation() / wrong destination"), nullptr;
  short home = 0;
  if (kind != SIM_DEST_HOME) {
    try {
      home = agent->pHomeDestination()->pLocation()->GetDistrictID();
    } catch (const char*) {
      home = 0;
    }
  }
  const int64_t size = agent->Size();
  uint64_t weights[kDistricts] = {};
  uint64_t total = 0;
  for (int x = 0; x < kGrid; ++x)
    for (int y = 0; y < kGrid; ++y) {
      const int64_t w = FreeCapacity(m_Districts[x][y], kind);
      if (w < size || w <= 0) continue;
      uint64_t weight = static_cast<uint64_t>(w);
      if (home != 0) {
        const short id = DistrictID(x, y);
        weight *= static_cast<uint64_t>(NearnessFactor(AverageOneOverTravelTime(home, id, true), m_Gravity));
      }
      weights[x * kGrid + y] = weight;
      total += weight;
    }
  if (total == 0) return nullptr;
  // Two draws of 31 bits make one of 62, taken over the sum in unsigned
  // 64-bit arithmetic.
  const uint64_t a = static_cast<uint32_t>(zor_random());
  const uint64_t b = static_cast<uint32_t>(zor_random());
  const uint64_t r = ((a << 31) | b) % total;
  uint64_t running = 0;
  for (int i = 0; i < kDistricts; ++i) {
    if (weights[i] == 0) continue;
    running += weights[i];
    if (r < running) return m_Districts[i / kGrid][i % kGrid].pFindLocation(kind, agent->Size());
  }
  return SimSetError(2, "Fehler in CSimCityModell::FindLocation()"), nullptr;
}
