// The savegame records of agents and their destinations.
#include <cstdint>

#include "framework/zor_record.h"
#include "sim/sim_agent.h"
#include "sim/sim_city_model.h"
#include "sim/sim_district.h"
#include "sim/sim_error.h"
#include "sim/sim_location.h"

namespace {
// A district is 8 x 8 cells of the map.
constexpr int kDistrictCells = 8;
// Trips carry their statistics from this savegame version on, and their
// mode from the second.
constexpr int kTripStatisticsFrom = 120;
constexpr int kTripModeFrom = 130;
constexpr int kTripFirstPart = 20;
constexpr int kTripStatisticsPart = 20;
constexpr int kTripModePart = 4;

int TripRecordSize(int version) {
  return kTripFirstPart + (version >= kTripStatisticsFrom ? kTripStatisticsPart : 0) +
         (version >= kTripModeFrom ? kTripModePart : 0);
}

bool KnownMode(int32_t mode) {
  return mode == SIM_MODE_WALK || mode == SIM_MODE_BUS || mode == SIM_MODE_CAR || mode == SIM_MODE_NONE;
}
}  // namespace

void CSimDestination::Load(FILE* file, CSimCityModell* model, CSimAgent* agent) {
  ZorRecordReader in(file);
  const int32_t kind = in.I32();
  const uint32_t count = in.U32();
  const int16_t district = in.I16();
  if (!in.Ok()) throw CSimError::SetError("CSimDestination::Load()", "Record too short");
  if (!model || !agent) throw CSimErrorNullPtr::SetError("CSimDestination::Load()");
  if (m_valid) Destroy();
  m_pLocation = nullptr;
  m_pNext = nullptr;
  m_kind = kind >= SIM_DEST_HOME && kind <= SIM_DEST_NONE ? static_cast<ESimDestination>(kind) : SIM_DEST_NONE;
  m_count = count;
  m_valid = 1;
  if (kind < SIM_DEST_HOME || kind > SIM_DEST_LEISURE) throw CSimError::SetError("CSimDestination::Load()", "Invalid Destination");
  if (district != 0) {
    if (district < 1 || district > CSimCityModell::kDistricts)
      throw CSimError::SetError("CSimDestination::Load()", "district-ID invalid");
    CSimDistrict* home = model->pDistrict(district);
    if (!home->LinkAgent(m_kind, agent)) throw CSimError::SetError("CSimDestination::Load()", "No Space for Agent");
    m_pLocation = home->pFindLocation(m_kind, agent->Size());
    if (!m_pLocation) {
      // The link above must not outlive the refused destination.
      home->UnlinkAgent(m_kind, agent);
      throw CSimError::SetError("CSimDestination::Load()", "No Location for Agent");
    }
    return;
  }
  m_pLocation = model->FindLocation(m_kind, agent);
  if (!m_pLocation) throw CSimError::SetError("CSimDestination::Load()", "No Location!");
  if (!m_pLocation->pDistrict()->LinkAgent(m_kind, agent)) {
    m_pLocation = nullptr;
    throw CSimError::SetError("CSimDestination::Load()", "No Space for Agent");
  }
}

void CSimDestinationList::Append(CSimDestination* destination) {
  CheckValid("CSimDestinationList::Insert()");
  if (!destination) throw CSimErrorNullPtr::SetError("CSimDestinationList::Insert()");
  if (FindDestination(destination->Destination(), destination->Count()))
    throw CSimError::SetError("CSimDestinationList::Insert()", "<No destination found>");
  CSimDestination** end = &m_pFirst;
  while (*end) end = &(*end)->m_pNext;
  destination->SetNextPtr(nullptr);
  *end = destination;
}

void CSimDestinationList::Load(FILE* file, CSimCityModell* model, CSimAgent* agent) {
  if (m_valid) Destroy();
  Create();
  ZorRecordReader in(file);
  const int32_t n = in.I32();
  if (!in.Ok() || n < 0 || n > kMaxRecordEntries)
    throw CSimError::SetError("CSimDestionationList::Load()", "Nr Of Destinations <0 or > 100");
  if (!in.Fits(static_cast<uint64_t>(n), CSimDestination::kRecordSize))
    throw CSimError::SetError("CSimDestionationList::Load()", "Record too short");
  for (int i = 0; i < n; ++i) {
    auto* d = new CSimDestination;
    try {
      d->Load(file, model, agent);
      try {
        Append(d);
      } catch (const char*) {
        // Linked by its load, so unlinked again before it goes.
        d->pLocation()->pDistrict()->UnlinkAgent(d->Destination(), agent);
        throw;
      }
    } catch (const char* text) {
      CSimError::PrintError(text);
      delete d;
    }
  }
}

bool CSimAgent::Save(FILE* file) const {
  ZorRecordWriter out(file);
  out.I32(m_size);
  out.I32(m_group);
  if (!out.Ok()) return false;
  if (m_pDestinations) {
    if (!m_pDestinations->Save(file)) return false;
  } else {
    out.I32(0);
  }
  for (int h = 0; h < kHours && out.Ok(); ++h) {
    if (!m_trips[h]) continue;
    out.I32(h);
    if (!out.Ok() || !m_trips[h]->Save(file)) return false;
  }
  out.I32(BuildingsWord());
  return out.Ok();
}

int32_t CSimAgent::BuildingsWord() const {
  uint32_t word = kBuildingsMark;
  int i = 0;
  for (CSimDestination* d = m_pDestinations ? m_pDestinations->pFirst() : nullptr; d; d = d->pNext(), ++i) {
    if (i >= kBuildingsInWord || !d->HasLocation()) return kTripsEnd;
    const CSimLocation* l = d->pLocation();
    const short id = l->GetDistrictID();
    int dx = 0, dy = 0;
    if (id < 1 || id > CSimCityModell::kDistricts || !CSimCityModell::District(id, dx, dy)) return kTripsEnd;
    const int x = l->Position().PosX(), y = l->Position().PosY();
    if (x / kDistrictCells != dx || y / kDistrictCells != dy) return kTripsEnd;
    word |= static_cast<uint32_t>((x % kDistrictCells) << 3 | (y % kDistrictCells)) << (6 * i);
  }
  return static_cast<int32_t>(word);
}

void CSimAgent::RestoreBuildings(int32_t word) {
  const uint32_t bits = static_cast<uint32_t>(word);
  if ((bits & kBuildingsMark) != kBuildingsMark || !m_pDestinations) return;
  int i = 0;
  for (CSimDestination* d = m_pDestinations->pFirst(); d && i < kBuildingsInWord; d = d->pNext(), ++i) {
    if (!d->HasLocation()) continue;
    CSimDistrict* district = d->pLocation()->pDistrict();
    const short id = district->ID();
    int dx = 0, dy = 0;
    if (id < 1 || id > CSimCityModell::kDistricts || !CSimCityModell::District(id, dx, dy)) continue;
    const uint32_t cell = bits >> (6 * i) & 0x3F;
    const int x = dx * kDistrictCells + static_cast<int>(cell >> 3);
    const int y = dy * kDistrictCells + static_cast<int>(cell & 7);
    if (CSimLocation* l = district->pLocationAt(d->Destination(), x, y)) d->SetLocation(l);
  }
}

namespace {
// Reads over an agent's destinations and trips without placing them; false
// when the body is not framed as an agent's.
bool SkipAgentBody(FILE* file, int version) {
  ZorRecordReader in(file);
  const int32_t n = in.I32();
  if (!in.Ok() || n < 0 || n > CSimDestinationList::kMaxRecordEntries) return false;
  if (!in.Skip(static_cast<uint64_t>(n) * CSimDestination::kRecordSize)) return false;
  for (;;) {
    const int32_t h = in.I32();
    if (!in.Ok()) return false;
    if (h < 0 || h >= CSimAgent::kHours) return true;
    if (!in.Skip(static_cast<uint64_t>(TripRecordSize(version)))) return false;
  }
}
}  // namespace

void CSimAgent::Load(FILE* file, CSimCityModell* model) {
  if (m_valid) Destroy();
  ZorRecordReader in(file);
  const int32_t size = in.I32();
  const int32_t group = in.I32();
  if (!in.Ok()) throw CSimError::SetError("CSimAgent::Load()", "Load broken");
  // An agent of no persons, of more than any city holds, or of a group
  // that no table knows cannot take part; its record is read over.
  if (size < 1 || size > kMaxPersons || group < 0 || group >= kSimStatusGroups) {
    SkipAgentBody(file, s_loadVersion);
    throw CSimError::SetError("CSimAgent::Load()", "<Size or status group out of range>");
  }
  Create(static_cast<ESimStatusGroup>(group), size, model, nullptr);
  // The list reads its destinations; a list that cannot be read leaves the
  // file out of step, and the section ends there.
  m_pDestinations->Load(file, model, this);
  bool broken = false;
  for (;;) {
    const int32_t h = in.I32();
    if (!in.Ok()) throw CSimError::SetError("CSimAgent::Load()", "Load broken");
    if (h < 0 || h >= kHours) {
      RestoreBuildings(h);
      break;
    }
    auto* trip = new CSimTrip;
    bool placed = false;
    try {
      placed = trip->Load(file, m_pDestinations);
    } catch (const char* text) {
      CSimError::PrintError(text);
    }
    if (placed && !m_trips[h]) {
      m_trips[h] = trip;
      UpdateTripInfo(h, model ? model->pTrafficSlot(0) : nullptr);
    } else {
      // Its destinations are gone or the hour is taken twice: the rest of
      // the record is read into a trip that is dropped.
      broken = true;
    }
    bool ok = true;
    if (s_loadVersion >= kTripStatisticsFrom) ok = trip->LoadStatistikData(file);
    if (ok && s_loadVersion >= kTripModeFrom) {
      ok = trip->LoadTransportationMode(file) && KnownMode(trip->TransportationMode());
      if (ok) trip->SetTripValid(true);
    }
    if (!ok) broken = true;
    if (m_trips[h] != trip) delete trip;
    if (!in.Ok()) throw CSimError::SetError("CSimAgent::Load()", "Load broken");
  }
  if (broken) throw CSimError::SetError("CSimAgent::Load()", "Load broken");
}
