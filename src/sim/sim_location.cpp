#include "sim/sim_location.h"

#include <cmath>

#include "sim/sim_error.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_model_iface.h"
#include "worldbase/zor_world_obj.h"

bool CSimLocation::Create(const CSimRasterPos* position, const SimLocationSizeType& size,
                          const ESimLocationType& type, const ESimLocationHeight&) {
  m_Potential.size = size;
  m_Potential.locationType = type;
  if (position) m_Position = *position;
  m_NearestCrossing = 0;
  m_pDistrict = nullptr;
  m_valid = 1;
  return true;
}

void CSimLocation::SetPotential(const PotentialType* potential) {
  if (!potential) return;
  // Bytes 0 to 67 are copied; what follows is the location's own, and the
  // two parking words add up.
  const PotentialType held = m_Potential;
  m_Potential = *potential;
  m_Potential.carried = held.carried;
  m_Potential.SetWord(40, static_cast<uint16_t>(held.Word(40) + potential->Word(40)));
  m_Potential.SetWord(42, static_cast<uint16_t>(held.Word(42) + potential->Word(42)));
}

namespace {

// used / capacity, 0 when the location offers none of the kind or the
// district has no capacity of it.
double Quote(const CSimDistrict* district, int own, int used, int capacity) {
  if (!district || own == 0 || capacity == 0) return 0.0;
  return static_cast<double>(used) / capacity;
}

}  // namespace

double CSimLocation::QuoteHomesUsed() const {
  const CSimDistrict* d = m_pDistrict;
  return d ? Quote(d, NrOfHomes(), d->NrOfResidents(), d->NrOfHomes()) : 0.0;
}

double CSimLocation::QuoteWorkUsed() const {
  const CSimDistrict* d = m_pDistrict;
  return d ? Quote(d, NrOfJobs(), d->NrOfWorkers(), d->NrOfJobs()) : 0.0;
}

double CSimLocation::NrOfShoppingUsed() const {
  const CSimDistrict* d = m_pDistrict;
  return d ? Quote(d, NrOfShops(), d->NrOfConsumers(), d->NrOfShops()) : 0.0;
}

double CSimLocation::QuoteLeisureUsed() const {
  const CSimDistrict* d = m_pDistrict;
  return d ? Quote(d, NrOfLeisurePoints(), d->NrOfLeisurers(), d->NrOfLeisurePoints()) : 0.0;
}

double CSimLocation::QuoteSchoolsUsed() const {
  const CSimDistrict* d = m_pDistrict;
  return d ? Quote(d, NrOfEducation(), d->NrOfScholars(), d->NrOfSchoolSeats()) : 0.0;
}

int CSimLocation::CalculateRemoveCost() const {
  const int homes = NrOfHomes(), jobs = NrOfJobs();
  const int base = (homes + jobs) * 1000 + 1000;
  if (homes + jobs == 0) return base;
  const float used = static_cast<float>(homes * QuoteHomesUsed() + jobs * QuoteWorkUsed()) /
                     static_cast<float>(homes + jobs);
  return static_cast<int>((1.0f + used) * static_cast<float>(base));
}

int CSimLocation::LocationDistance(const CSimLocation* other) const {
  if (!other) return 1000000;
  const double dx = 100.0 * (m_Position.PosX() - other->m_Position.PosX());
  const double dy = 100.0 * (m_Position.PosY() - other->m_Position.PosY());
  return static_cast<int>(std::sqrt(dx * dx + dy * dy));
}

CSimDistrict* CSimLocation::pDistrict() const {
  if (!m_pDistrict) throw CSimErrorNullPtr::SetError("CSimLocation::pDistrict()");
  return m_pDistrict;
}

short CSimLocation::GetDistrictID() const { return m_pDistrict ? m_pDistrict->ID() : 0; }

void CSimLocation::SearchNextCrossing() {
  if (m_pFactory) m_pFactory->ChangeNearestCrossing(this, false);
}

void CSimLocation::SearchNextBestCrossing() {
  if (m_pFactory) m_pFactory->ChangeNearestCrossing(this, true);
}

void CSimLocation::SetNearestHst(const short* ids, const int* distances, unsigned char count) {
  if (count > kMaxStops) count = kMaxStops;
  if (!ids || !distances) count = 0;
  for (int i = 0; i < count; ++i) {
    m_HstID[i] = ids[i];
    m_HstDistance[i] = distances[i];
  }
  m_HstCount = count;
}

bool CSimLocation::GetNearestHst(short& id, int& distance) const {
  id = 0;
  distance = 0;
  if (m_HstCount == 0) return false;
  int best = 0;
  for (int i = 1; i < m_HstCount; ++i)
    if (m_HstDistance[i] < m_HstDistance[best]) best = i;
  id = m_HstID[best];
  distance = m_HstDistance[best];
  return true;
}

void CSimLocation::FindNearestHst() {
  if (m_pFactory) m_pFactory->FindNearestHst(this);
}

int CSimLocation::GetXSizeRichtung() const { return m_pBuilding ? m_pBuilding->GetXSizeRichtung() : 1; }

int CSimLocation::GetYSizeRichtung() const { return m_pBuilding ? m_pBuilding->GetYSizeRichtung() : 1; }

int CSimLocation::CheckLocationInFactoryList() {
  return m_pFactory ? m_pFactory->CheckLocationInFactoryList(this) : 1;
}
