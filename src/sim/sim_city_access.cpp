// How well public transport connects two places (the access grade) and how
// far apart they are in travel time (the distance class).
#include "sim/sim_city_model.h"
#include "sim/sim_district.h"
#include "sim/sim_error.h"
#include "sim/sim_location.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_trip.h"

namespace {
// Grades: 1 a bus route with little transfer, 2 one with much, 3 none.
constexpr int kGood = 1;
constexpr int kPoor = 2;
constexpr int kNone = 3;
constexpr int kUnknown = 4;

int AccessGrade(CSimTrafficSlot* slot, const CSimLocation* from, const CSimLocation* to, int transferLimit,
                bool poorFromLimit) {
  short fromStop = 0, toStop = 0;
  int fromDistance = 0, toDistance = 0;
  if (!from || !to || !slot) return kNone;
  // A game without public transport's route matrix has no bus routes.
  if (!slot->HasBusNetMatrix()) return kNone;
  if (!from->GetNearestHst(fromStop, fromDistance) || !to->GetNearestHst(toStop, toDistance)) return kNone;
  CSimTrip scratch;
  if (!slot->FindBusRoute(fromStop, toStop, &scratch, 0, false)) return kNone;
  const int transfer = scratch.Umsteigezeit();
  if (poorFromLimit) return transfer >= transferLimit ? kPoor : kGood;
  return transfer < transferLimit ? kGood : kPoor;
}
}  // namespace

int CSimCityModell::Erschliessunggrad(CSimLocation* from, CSimLocation* to) {
  return AccessGrade(pTrafficSlot(0), from, to, 1200, false);
}

int CSimCityModell::Erschliessunggrad(short fromDistrict, short toDistrict) {
  CSimDistrict* a = pDistrict(fromDistrict);
  CSimDistrict* b = pDistrict(toDistrict);
  CSimLocation* from = a->GetHeadLocation();
  CSimLocation* to = b->GetHeadLocation();
  if (!from || !to) return kUnknown;
  return AccessGrade(pTrafficSlot(0), from, to, 600, true);
}

int CSimCityModell::Entfernungsklasse(short fromDistrict, short toDistrict) {
  const double v = AverageOneOverTravelTime(fromDistrict, toDistrict, true);
  if (fromDistrict == toDistrict) return 0;
  if (v == 0.0) return 2;
  if (v > 15.0) return 0;  // under 4 minutes
  if (v > 4.0) return 1;   // under 15 minutes
  if (v > 2.3) return 2;
  return 3;
}

int CSimCityModell::Entfernungsklasse(CSimLocation* from, CSimLocation* to) {
  return Entfernungsklasse(from ? from->GetDistrictID() : static_cast<short>(0),
                           to ? to->GetDistrictID() : static_cast<short>(0));
}
