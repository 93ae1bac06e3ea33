#include "sim/sim_trip.h"

#include <cstdint>

#include "sim/sim_error.h"

namespace {
void PutI32(unsigned char* p, uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
  p[2] = static_cast<unsigned char>(v >> 16);
  p[3] = static_cast<unsigned char>(v >> 24);
}

uint32_t GetU32(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

int GetI32(const unsigned char* p) { return static_cast<int>(GetU32(p)); }
}  // namespace

bool CSimTrip::Create(CSimDestination* from, CSimDestination* to, unsigned size) {
  if (!from || !to) throw CSimErrorNullPtr::SetError("CSimTrip::Create()");
  Reset();
  m_mode = SIM_MODE_NONE;
  m_fromDest = from;
  m_toDest = to;
  m_size = size;
  m_crossingsMapped = 0;
  m_stopsMapped = 0;
  m_valid = 1;
  return true;
}

bool CSimTrip::Create(const CSimTrip* other) {
  if (!other) throw CSimError::SetError("CSimTrip::Create()", "<Null-Ptr>");
  m_fromDest = other->m_fromDest;
  m_toDest = other->m_toDest;
  m_mode = other->m_mode;
  m_tripValid = other->m_tripValid;
  m_driving = other->m_driving;
  m_access = other->m_access;
  m_transfer = other->m_transfer;
  m_parking = other->m_parking;
  m_length = other->m_length;
  m_size = other->m_size;
  m_crossingsMapped = 0;
  m_stopsMapped = 0;
  m_valid = 1;
  return true;
}

bool CSimTrip::Destroy() {
  m_fromDest = m_toDest = nullptr;
  m_valid = 0;
  return true;
}

void CSimTrip::Reset() {
  m_driving = m_access = m_transfer = m_parking = 0;
  m_length = 0;
  m_tripValid = 0;
}

short CSimTrip::FromCrossing() {
  m_crossingsMapped = 0;
  return m_fromCrossing;
}

short CSimTrip::ToCrossing() {
  m_crossingsMapped = 0;
  return m_toCrossing;
}

short CSimTrip::FromBusStop() {
  m_stopsMapped = 0;
  return m_fromStop;
}

short CSimTrip::ToBusStop() {
  m_stopsMapped = 0;
  return m_toStop;
}

int CSimTrip::Reisezeit() const {
  switch (m_mode) {
    case SIM_MODE_WALK: return m_driving;
    case SIM_MODE_BUS: return m_driving + m_access + m_transfer;
    case SIM_MODE_CAR: return m_parking + m_access + m_driving;
    default: return 0;
  }
}

bool CSimTrip::MapDestinationsToCrossings() {
  if (!m_fromDest || !m_toDest) {
    m_fromCrossing = m_toCrossing = 0;
    throw CSimErrorNullPtr::SetError("CSimTrip::MapDestinationsToCrossings()");
  }
  m_fromCrossing = m_fromDest->pLocation()->NearestCrossing();
  m_toCrossing = m_toDest->pLocation()->NearestCrossing();
  m_crossingsMapped = 1;
  return true;
}

bool CSimTrip::MapDestinationsToBusStops() {
  if (!m_fromDest || !m_toDest) throw CSimErrorNullPtr::SetError("CSimTrip::MapDestinationsToCrossings()");
  short fromStop = 0, toStop = 0;
  int fromDist = 0, toDist = 0;
  if (!m_fromDest->pLocation()->GetNearestHst(fromStop, fromDist) ||
      !m_toDest->pLocation()->GetNearestHst(toStop, toDist)) {
    m_stopsMapped = 0;
    return false;
  }
  m_fromStop = fromStop;
  m_fromStopDist = fromDist;
  m_toStop = toStop;
  m_toStopDist = toDist;
  m_stopsMapped = 1;
  return true;
}

bool CSimTrip::MapDestinationsToWalkDistance() {
  if (!m_fromDest || !m_toDest) throw CSimErrorNullPtr::SetError("CSimTrip::MapDestinationsToWalkDistance()");
  m_walkDistance = m_fromDest->pLocation()->LocationDistance(m_toDest->pLocation());
  m_walkMapped = 1;
  return true;
}

bool CSimTrip::Save(FILE* file) const {
  if (!file) return false;
  unsigned char b[kRecordSize];
  const bool both = m_fromDest && m_toDest;
  PutI32(b + 0, both ? static_cast<uint32_t>(m_fromDest->Destination()) : static_cast<uint32_t>(SIM_DEST_NONE));
  PutI32(b + 4, both ? m_fromDest->Count() : 0);
  PutI32(b + 8, both ? static_cast<uint32_t>(m_toDest->Destination()) : static_cast<uint32_t>(SIM_DEST_NONE));
  PutI32(b + 12, both ? m_toDest->Count() : 0);
  PutI32(b + 16, m_size);
  PutI32(b + 20, static_cast<uint32_t>(m_driving));
  PutI32(b + 24, static_cast<uint32_t>(m_access));
  PutI32(b + 28, static_cast<uint32_t>(m_transfer));
  PutI32(b + 32, static_cast<uint32_t>(m_parking));
  PutI32(b + 36, static_cast<uint32_t>(m_length));
  PutI32(b + 40, static_cast<uint32_t>(m_mode));
  return std::fwrite(b, sizeof b, 1, file) == 1;
}

bool CSimTrip::Load(FILE* file, const CSimDestinationList* list) {
  unsigned char b[20];
  if (!file || std::fread(b, sizeof b, 1, file) != 1) return false;
  if (m_valid) Destroy();
  CSimDestination* from = nullptr;
  CSimDestination* to = nullptr;
  if (list) {
    from = list->FindDestination(static_cast<ESimDestination>(GetI32(b + 0)), GetU32(b + 4));
    to = list->FindDestination(static_cast<ESimDestination>(GetI32(b + 8)), GetU32(b + 12));
  }
  if (!from || !to) throw CSimErrorNullPtr::SetError("CSimTrip::Create()");
  return Create(from, to, GetU32(b + 16));
}

bool CSimTrip::LoadStatistikData(FILE* file) {
  unsigned char b[20];
  if (!file || std::fread(b, sizeof b, 1, file) != 1) return false;
  m_driving = GetI32(b + 0);
  m_access = GetI32(b + 4);
  m_transfer = GetI32(b + 8);
  m_parking = GetI32(b + 12);
  m_length = GetI32(b + 16);
  return true;
}

bool CSimTrip::LoadTransportationMode(FILE* file) {
  unsigned char b[4];
  if (!file || std::fread(b, sizeof b, 1, file) != 1) return false;
  m_mode = static_cast<ESimTransportationMode>(GetI32(b));
  return true;
}
