#include "sim/sim_trip.h"

#include <cstdint>

#include "framework/zor_record.h"
#include "sim/sim_error.h"

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
  ZorRecordWriter out(file);
  const bool both = m_fromDest && m_toDest;
  out.I32(both ? m_fromDest->Destination() : SIM_DEST_NONE);
  out.U32(both ? m_fromDest->Count() : 0);
  out.I32(both ? m_toDest->Destination() : SIM_DEST_NONE);
  out.U32(both ? m_toDest->Count() : 0);
  out.U32(m_size);
  out.I32(m_driving);
  out.I32(m_access);
  out.I32(m_transfer);
  out.I32(m_parking);
  out.I32(m_length);
  out.I32(m_mode);
  return out.Ok();
}

bool CSimTrip::Load(FILE* file, const CSimDestinationList* list) {
  ZorRecordReader in(file);
  const int32_t fromKind = in.I32();
  const uint32_t fromCount = in.U32();
  const int32_t toKind = in.I32();
  const uint32_t toCount = in.U32();
  const uint32_t size = in.U32();
  if (!in.Ok()) return false;
  if (m_valid) Destroy();
  CSimDestination* from = nullptr;
  CSimDestination* to = nullptr;
  if (list) {
    from = list->FindDestination(static_cast<ESimDestination>(fromKind), fromCount);
    to = list->FindDestination(static_cast<ESimDestination>(toKind), toCount);
  }
  if (!from || !to) throw CSimErrorNullPtr::SetError("CSimTrip::Create()");
  return Create(from, to, size);
}

bool CSimTrip::LoadStatistikData(FILE* file) {
  ZorRecordReader in(file);
  const int32_t driving = in.I32();
  const int32_t access = in.I32();
  const int32_t transfer = in.I32();
  const int32_t parking = in.I32();
  const int32_t length = in.I32();
  if (!in.Ok()) return false;
  m_driving = driving;
  m_access = access;
  m_transfer = transfer;
  m_parking = parking;
  m_length = length;
  return true;
}

bool CSimTrip::LoadTransportationMode(FILE* file) {
  ZorRecordReader in(file);
  const int32_t mode = in.I32();
  if (!in.Ok()) return false;
  m_mode = static_cast<ESimTransportationMode>(mode);
  return true;
}
