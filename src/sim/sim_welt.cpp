#include "sim/sim_welt.h"

#include <climits>
#include <cstring>
#include <utility>

#include "framework/zor_record.h"
#include "sim/sim_bus_matrix.h"
#include "sim/sim_error.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_trip.h"

namespace {
constexpr const char* kDefinitionFile = "WTEMP.DEF";
constexpr int kHighestId = SHRT_MAX;
// The hour after `d`: after the last simulated hour of a day comes hour 5
// of the next one.
CSimDate NextHour(const CSimDate& d) {
  return CSimDate(d.Hour() == 20 ? d.TicksFromStart() + 9 : d.TicksFromStart() + 1);
}

}  // namespace

CSimWelt::CSimWelt(CSimWeltParts* parts) : m_parts(parts) {}

CSimWelt::~CSimWelt() {
  if (m_valid || m_city || m_editing || m_active || m_computed || m_computing || m_firstMatrix || m_secondMatrix ||
      m_cyberNet)
    Destroy();
}

CSimTrafficSlot* CSimWelt::DeleteSlot(CSimTrafficSlot* slot) {
  if (slot) {
    slot->Destroy();
    delete slot;
  }
  return nullptr;
}

bool CSimWelt::Create(CSimLocationFactory* factory) {
  if (m_parts && !m_firstMatrix && !m_secondMatrix) {
    m_firstMatrix = m_parts->NewBusNetMatrix();
    if (m_firstMatrix) m_firstMatrix->Create();
    m_secondMatrix = m_parts->NewBusNetMatrix();
    if (m_secondMatrix) m_secondMatrix->Create();
  }
  SimEnsureErrorLog();
  if (m_valid) return SimSetError(6, "Fehler in CSimWelt::Create()"), false;
  m_editing = m_active = m_computed = m_computing = nullptr;
  m_countdown = 0;
  m_state = 0;
  m_crossingIds = IdSource{};
  m_streetIds = IdSource{};
  m_slotIds = 0;

  m_city = m_parts ? m_parts->NewCityModell() : nullptr;
  if (!m_city) return SimSetError(17, "Fehler in CSimWelt::Create()"), false;
  if (!m_city->Create(factory, this)) return SimSetError(19, "Fehler in CSimWelt::Create()"), false;

  m_cyberNet = m_parts->NewCyberNet();
  if (!m_cyberNet) return SimSetError(17, "Fehler in CSimWelt::Create()"), false;
  // The network reader parses files, so the definition goes through one.
  const char* text = m_parts->CyberNetDefinition();
  if (!text) return SimSetError(2, "Fehler in CSimWelt::Create(): keine Definition des Wirkungsnetzes"), false;
  // No simulation runs on a network that was not written or read whole.
  if (!ZorWriteFile(kDefinitionFile, text, std::strlen(text)))
    return SimSetError(2, "Fehler in CSimWelt::Create(): WTEMP.DEF nicht geschrieben"), false;
  FILE* in = std::fopen(kDefinitionFile, "r");
  if (!in) return SimSetError(2, "Fehler in CSimWelt::Create(): WTEMP.DEF nicht lesbar"), false;
  const bool read = m_parts->ReadCyberNet(m_cyberNet, in);
  std::fclose(in);
  if (!read) return SimSetError(2, "Fehler in CSimWelt::Create(): Wirkungsnetz nicht gelesen"), false;

  m_valid = 1;
  // Two hours to completion: the first start only makes the editing slot,
  // the second freezes it, so the first hour is computed and activated.
  for (int round = 0; round < 2; ++round) {
    StartNextIntervall(true);
    while (Computate(1) != 0) {
    }
  }
  ActivateCalculatedSlot();
  return true;
}

bool CSimWelt::Destroy() {
  m_loadedPending = 0;
  CSimTrafficSlot::FreeTrips(std::exchange(m_loadTrips, nullptr));
  for (CBusNetMatrix** m : {&m_firstMatrix, &m_secondMatrix}) {
    if (*m) {
      (*m)->Destroy();
      delete *m;
      *m = nullptr;
    }
  }
  if (m_cyberNet && m_parts) m_parts->DeleteCyberNet(m_cyberNet);
  m_cyberNet = nullptr;
  m_editing = DeleteSlot(m_editing);
  m_computing = DeleteSlot(m_computing);
  m_computed = DeleteSlot(m_computed);
  m_active = DeleteSlot(m_active);
  if (m_city) {
    m_city->Destroy();
    delete m_city;
    m_city = nullptr;
  }
  m_valid = 0;
  return true;
}

void CSimWelt::ReleaseAgents() {
  if (m_city) m_city->RemoveAllAgents();
}

int CSimWelt::StartNextIntervall(bool modelStep) {
  FinishLoadedHour();
  const CSimDate d = m_editing ? m_editing->Date() : CSimDate(5);
  m_modelStep = modelStep ? 1 : 0;
  if (!m_valid) return SimSetError(8, "Fehler in CSimWelt::StartNextIntervall()"), 0;
  if (m_computing) return SimSetError(3, "Fehler in CSimWelt::StartNextIntervall()"), 0;
  auto* slot = new CSimTrafficSlot(&m_firstMatrix, &m_secondMatrix, m_parts);
  const CSimDate next = NextHour(d);
  if (!slot->Create(static_cast<short>(m_slotIds + 1), next, m_editing)) {
    SimSetError(19, "Fehler in CSimWelt::StartNextIntervall()", "slot %d for hour %d", m_slotIds + 1, next.Hour());
    DeleteSlot(slot);
    return 0;
  }
  const int previous = m_slotIds;
  ++m_slotIds;
  m_computing = m_editing;
  m_editing = slot;
  m_state = 2;
  return previous;
}

int CSimWelt::Computate(int countdown) {
  if (!m_valid) return SimSetError(8, "Fehler in CSimWelt::Computate()"), 0;
  if (m_loadedPending && m_active->Computate() == 0) m_loadedPending = 0;
  if (m_countdown >= 1) {
    --m_countdown;
    return m_state;
  }
  switch (m_state) {
    case 1:
    case 3:
      ++m_state;
      break;
    case 2:
      if (m_computing) {
        // A load computes the saved hour from the trips it was saved with.
        CSimTrip* trips = m_loadTrips ? std::exchange(m_loadTrips, nullptr) : m_city->Trips(m_computing->Date().Hour());
        if (!m_computing->SwitchToComputateMode(trips)) {
          // Refused trips are still ours to free.
          CSimTrafficSlot::FreeTrips(trips);
          SimSetError(29, "Fehler in CSimWelt::Computate()", "slot %d", m_computing->ID());
          return 0;
        }
      }
      m_state += 2;
      m_countdown = countdown;
      break;
    case 4:
      if (m_computing) {
        if (m_computing->Computate() != 0) {
          m_countdown = countdown;
          return 4;
        }
        m_computed = DeleteSlot(m_computed);
        m_computed = m_computing;
        m_computing = nullptr;
      }
      m_state = 5;
      m_countdown = countdown;
      break;
    case 5:
      if (m_modelStep == 1 && m_computed) {
        const int hour = m_computed->Date().Hour();
        // The whole date: the city model tells the first hours of a game
        // from the count of hours.
        if (!m_city->StartNextIntervall(m_computed->Date()))
          return SimSetError(1, "Fehler in CSimWelt::Computate()", "hour %d", hour), 0;
        m_city->CalculateTripStats(m_computed);
        if (hour % 7 == 0) m_city->CalculateParkingData();
      }
      m_state = 0;
      break;
    default:
      break;
  }
  return m_state;
}

void CSimWelt::FinishLoadedHour() const {
  if (!m_loadedPending) return;
  m_loadedPending = 0;
  while (m_active->Computate() != 0) {
  }
}

bool CSimWelt::ActivateCalculatedSlot() {
  FinishLoadedHour();
  if (!m_computed) return false;
  DeleteSlot(m_active);
  m_active = m_computed;
  m_computed = nullptr;
  return true;
}

int CSimWelt::ComputateSlotState(int& pass) const { return m_computing ? m_computing->GetSlotState(pass) : 0; }

CSimDate CSimWelt::Date() const {
  // Callers build their hour from the answer, so a missing slot still gives
  // the day's first hour rather than garbage.
  if (!m_valid) return SimSetError(8, "Fehler in CSimWelt::Date()"), CSimDate(5);
  if (!m_active) return SimSetError(5, "Fehler in CSimWelt::Date()"), CSimDate(5);
  return m_active->Date();
}

void CSimWelt::ResetDate() {
  if (m_editing) m_editing->GetDatePointer()->SetTicksFromStart(1);
  if (m_active) m_active->GetDatePointer()->SetTicksFromStart(1);
}

void CSimWelt::PrintData(FILE* /*file*/) {
  if (!m_valid) return SimSetError(8, "Fehler in CSimWelt::PrintData()");
  FinishLoadedHour();
  if (!m_active) SimSetError(5, "Fehler in CSimWelt::PrintData()");
}

// ------------------------------------------------------------------ editing

bool CSimWelt::EditingReady(const char* where) const {
  if (!m_valid) return SimSetError(8, where), false;
  if (!m_editing) return SimSetError(4, where), false;
  return true;
}

bool CSimWelt::IdInUse(short id, bool street) const {
  for (CSimTrafficSlot* slot : {m_editing, m_computing, m_computed, m_active})
    if (slot && slot->HoldsId(id, street)) return true;
  return false;
}

short CSimWelt::NextId(IdSource& ids, bool street) {
  if (ids.highest < kHighestId) return static_cast<short>(++ids.highest);
  for (int n = 0; n < kHighestId; ++n) {
    const auto id = static_cast<short>(ids.reuseFrom);
    ids.reuseFrom = static_cast<unsigned short>(ids.reuseFrom >= kHighestId ? 1 : ids.reuseFrom + 1);
    if (!IdInUse(id, street)) return id;
  }
  return 0;
}

int CSimWelt::CountFreeIds(const IdSource& ids, bool street, int enough) const {
  int free = kHighestId - ids.highest;
  for (int id = 1; id <= ids.highest && free < enough; ++id)
    if (!IdInUse(static_cast<short>(id), street)) ++free;
  return free;
}

bool CSimWelt::HasFreeIds(int crossings, int streets) const {
  return CountFreeIds(m_crossingIds, false, crossings) >= crossings &&
         CountFreeIds(m_streetIds, true, streets) >= streets;
}

int CSimWelt::AddCrossing(short id) {
  if (!EditingReady("Fehler in CSimWelt::AddCrossing()")) return 0;
  if (id == 0) {
    // Ids are 16-bit and must stay positive to be routed.
    id = NextId(m_crossingIds, false);
    if (id == 0)
      return SimSetError(22, "Fehler in CSimWelt::AddCrossing()", "no free id up to %d", kHighestId), 0;
  } else if (id > 0 && id > m_crossingIds.highest) {
    m_crossingIds.highest = static_cast<unsigned short>(id);
  }
  if (!m_editing->AddCrossing(id, SIM_CROSSING_NONE, 30, 30))
    return SimSetError(22, "Fehler in CSimWelt::AddCrossing()", "crossing %d", id), 0;
  return id;
}

int CSimWelt::AddStreet(const short& startId, const TSimDirection& startSide, const short& endId,
                        const TSimDirection& endSide, int length, short id) {
  if (!EditingReady("Fehler in CSimWelt::AddStreet()")) return 0;
  if (id == 0) {
    id = NextId(m_streetIds, true);
    if (id == 0) return SimSetError(23, "Fehler in CSimWelt::AddStreet()", "no free id up to %d", kHighestId), 0;
  } else if (id > 0 && id > m_streetIds.highest) {
    m_streetIds.highest = static_cast<unsigned short>(id);
  }
  if (!m_editing->AddStreet(id, startId, startSide, endId, endSide, length, -1.0, 0))
    return SimSetError(23, "Fehler in CSimWelt::AddStreet()", "street %d from crossing %d to crossing %d", id, startId,
                       endId),
           0;
  return id;
}

bool CSimWelt::RemoveStreet(const short& id) {
  if (!EditingReady("Fehler in CSimWelt::RemoveStreet()")) return false;
  if (!m_editing->RemoveStreet(id))
    return SimSetError(24, "Fehler in CSimWelt::RemoveStreet()", "street %d", id), false;
  return true;
}

bool CSimWelt::RelinkStreet(const short& id, const short& startId, const TSimDirection& startSide, const short& endId,
                            const TSimDirection& endSide, const int& length) {
  if (!EditingReady("Fehler in CSimWelt::RelinkStreet()")) return false;
  if (!m_editing->RelinkStreet(id, startId, startSide, endId, endSide, length))
    return SimSetError(27, "Fehler in CSimWelt::RelinkStreet()", "street %d to run from crossing %d to crossing %d", id,
                       startId, endId),
           false;
  return true;
}

bool CSimWelt::RemoveCrossing(const short& id) {
  if (!EditingReady("Fehler in CSimWelt::RemoveCrossing()")) return false;
  if (!m_editing->RemoveCrossing(id))
    return SimSetError(25, "Fehler in CSimWelt::RemoveCrossing()", "crossing %d", id), false;
  return true;
}

bool CSimWelt::MergeCrossings(short kept, short merged) {
  if (!EditingReady("Fehler in CSimWelt::MergeCrossings()")) return false;
  if (!m_editing->MergeCrossings(kept, merged))
    return SimSetError(28, "Fehler in CSimWelt::MergeCrossings()", "crossing %d into crossing %d", merged, kept), false;
  return true;
}

bool CSimWelt::GetCrossingsOfStreet(const short& id, short* start, short* end) {
  if (!EditingReady("Fehler in CSimWelt::GetCrossingsOfStreet()")) return false;
  short a = 0, b = 0;
  const bool ok = m_editing->GetCrossingsOfStreet(id, a, b);
  if (start) *start = a;
  if (end) *end = b;
  if (!ok) return SimSetError(1, "Fehler in CSimWelt::GetCrossingsOfStreet()", "street %d", id), false;
  return true;
}

bool CSimWelt::SetCrossingType(short id, ESimCrossingType type) {
  return EditingReady("Fehler in CSimWelt::SetCrossingType()") && m_editing->SetCrossingType(id, type);
}

bool CSimWelt::SetNW_GoTime(short id, int seconds) {
  return EditingReady("Fehler in CSimWelt::SetNW_GoTime()") && m_editing->SetNW_GoTime(id, seconds);
}

bool CSimWelt::SetNE_GoTime(short id, int seconds) {
  return EditingReady("Fehler in CSimWelt::SetNE_GoTime()") && m_editing->SetNE_GoTime(id, seconds);
}

// The street setters answer what the slot did, so that the street network
// learns of an unknown id instead of believing the change was made.
bool CSimWelt::SetStreetCapacity(const short& id, const short& capacity) {
  return m_editing && m_editing->SetStreetCapacity(id, capacity);
}

bool CSimWelt::SetStreetLength(const short& id, const int& length) {
  return m_editing && m_editing->SetStreetLength(id, length);
}

bool CSimWelt::SetStreetVelocity(const short& id, const double& velocity) {
  return m_editing && m_editing->SetStreetVelocity(id, velocity);
}

bool CSimWelt::SetStreetVls(const short& id, bool on) { return m_editing && m_editing->SetStreetVls(id, on); }

bool CSimWelt::IsCrossingValid(short id) const { return m_editing && m_editing->IsCrossingValid(id); }

double CSimWelt::StreetVelocity(short id) const { return m_editing ? m_editing->StreetVelocity(id) : 0.0; }

// ------------------------------------------------------------------ queries

int CSimWelt::CarFlow(const short& street) const {
  if (!m_valid) return SimSetError(8, "Fehler in CSimWelt::CarFlow()", "street %d", street), 0;
  if (!m_active) return SimSetError(5, "Fehler in CSimWelt::CarFlow()", "street %d", street), 0;
  FinishLoadedHour();
  return m_active->CarFlow(street, nullptr);
}

int CSimWelt::StreetCapacity(short street) const {
  FinishLoadedHour();
  CSimStreet* s = m_active ? m_active->GetStreet(street) : nullptr;
  return s ? s->Capacity() : 0;
}

int CSimWelt::CrossingFlow(short /*crossing*/, short street) const {
  FinishLoadedHour();
  CSimStreet* s = m_active ? m_active->GetStreet(street) : nullptr;
  return s ? s->CarFlow() : 0;
}

int CSimWelt::CrossingCapacity(short /*crossing*/, short street) const { return StreetCapacity(street); }

int CSimWelt::StreetLength(short street) const {
  FinishLoadedHour();
  return m_active ? m_active->StreetLength(street) : 0;
}

int CSimWelt::StreetTravelTime(short street) const {
  FinishLoadedHour();
  return m_active ? m_active->StreetTravelTime(street) : 0;
}

CSimTrafficSlot* CSimWelt::pTrafficSlot(int /*which*/) const {
  FinishLoadedHour();
  return m_active;
}

CSimTrafficSlot* CSimWelt::SlotByRole(int which) const {
  if (which == 2) FinishLoadedHour();
  switch (which) {
    case 0: return m_editing;
    case 1: return m_computing;
    case 2: return m_active;
    default: return nullptr;
  }
}

CSimStreet* CSimWelt::GetStreet(short id, int which) const {
  CSimTrafficSlot* slot = SlotByRole(which);
  return slot ? slot->GetStreet(id) : nullptr;
}

CSimCrossing* CSimWelt::GetFirstCrossing(int which) const {
  CSimTrafficSlot* slot = SlotByRole(which);
  return slot ? slot->GetFirstCrossing() : nullptr;
}

bool CSimWelt::RegisterLocation(CSimLocation* location, short districtId) {
  if (!m_valid || !m_city) return SimSetError(8, "Fehler in CSimWelt::RegisterLocation()"), false;
  return m_city->RegisterLocation(location, districtId);
}

bool CSimWelt::RemoveLocation(CSimLocation* location) {
  if (!m_valid || !m_city) return SimSetError(8, "Fehler in CSimWelt::RemoveLocation()"), false;
  return m_city->RemoveLocation(location);
}

CSimDistrict* CSimWelt::GetDistrict(int x, int y) const {
  return m_city ? m_city->pDistrict(static_cast<short>(x + 16 * y + 1)) : nullptr;
}

CCyberNet* CSimWelt::pCyberNet() const {
  if (!m_valid) return SimSetError(8, "Fehler in CSimWelt::pCyberNet()"), nullptr;
  return m_cyberNet;
}

bool CSimWelt::CyberNodeSize(const char* name, double& size) const {
  return m_parts && m_cyberNet && name && m_parts->CyberNodeSize(m_cyberNet, name, size);
}

CSimParkingDataSource* CSimWelt::ParkingData() const { return m_parts ? m_parts->ParkingData() : nullptr; }

bool CSimWelt::GrowthTargets(int& jobs, int& homes, int& people) const {
  return m_parts && m_parts->GrowthTargets(jobs, homes, people);
}

bool CSimWelt::LoadingGame() const { return m_parts && m_parts->LoadingGame(); }

void CSimWelt::LoadProgress(FILE* file) const {
  if (m_parts) m_parts->LoadProgress(file);
}

int CSimWelt::LoadVersion() const { return m_parts ? m_parts->LoadVersion() : CSimWeltParts::kCurrentVersion; }

void CSimWelt::CalculateTripStats() {
  FinishLoadedHour();
  if (m_city && m_active) m_city->CalculateTripStats(m_active);
}

// ------------------------------------------------------------------ savegame

bool CSimWelt::Save(FILE* file) {
  if (!m_valid) return SimSetError(8, "Fehler in CSimWelt::Save()"), false;
  if (!file || std::feof(file)) return SimSetError(2, "Fehler in CSimWelt::Save()"), false;
  if (!Date().Save(file)) return SimSetError(2, "Fehler in CSimWelt::Save()"), false;
  return m_city->Save(file);
}

bool CSimWelt::Load(FILE* file) {
  if (!m_valid) return SimSetError(8, "Fehler in CSimWelt::Load()"), false;
  if (!file || std::feof(file)) return SimSetError(2, "Fehler in CSimWelt::Load()"), false;
  CSimDate date;
  if (!date.Load(file)) return SimSetError(2, "Fehler in CSimWelt::Load()"), false;
  // A half-read population is no game to go on with: the load fails and the
  // caller tears the world down instead of carrying on.
  try {
    if (!m_city->Load(file)) return false;
  } catch (const char* text) {
    CSimError::PrintError(text);
    return false;
  }
  // The network the street records rebuilt becomes the loaded hour's active
  // slot, without a model step, with the trips the hour was saved with
  // (TakeHourTrips), or else the loaded people's trips of that hour: the
  // hour carries its traffic, not bare streets. Its trips and routing
  // inputs are taken now; the routing pass runs on the following turns, a
  // slice at a time, and is done before anything reads the hour
  // (FinishLoadedHour).
  if (m_editing) m_editing->GetDatePointer()->SetTicksFromStart(date.TicksFromStart());
  StartNextIntervall(false);
  if (Computate(1) == 4 && m_computing && m_computing->Computate() == 2) {
    m_computed = DeleteSlot(m_computed);
    DeleteSlot(m_active);
    m_active = m_computing;
    m_active->KeepLineData();
    m_computing = nullptr;
    m_state = 0;
    m_countdown = 0;
    m_loadedPending = 1;
  } else {
    while (Computate(1) != 0) {
    }
    ActivateCalculatedSlot();
  }
  // Trips taken for a load whose hour was not computed are not kept for
  // another.
  CSimTrafficSlot::FreeTrips(std::exchange(m_loadTrips, nullptr));
  // The loaded hour is the active one and the editing slot is the hour after
  // it, as in the game that was saved: the next hour computed is the one
  // that game would have computed next, not the loaded hour once more.
  if (m_editing) m_editing->GetDatePointer()->SetTicksFromStart(NextHour(date).TicksFromStart());
  if (m_active) m_active->GetDatePointer()->SetTicksFromStart(date.TicksFromStart());
  return true;
}

uint32_t CSimWelt::HourTripsSize() const { return m_active ? m_active->TripsSize() : 4; }

bool CSimWelt::SaveHourTrips(FILE* file) const {
  if (m_active) return m_active->SaveTrips(file);
  ZorRecordWriter out(file);
  out.U32(0);
  return out.Ok();
}

bool CSimWelt::TakeHourTrips(FILE* file, uint32_t length) {
  CSimTrip* chain = nullptr;
  if (!m_valid || !CSimTrafficSlot::LoadTrips(file, length, &chain)) return false;
  CSimTrafficSlot::FreeTrips(std::exchange(m_loadTrips, chain));
  return true;
}

uint32_t CSimWelt::StateSize() const { return m_city ? m_city->StateSize() : 0; }

bool CSimWelt::SaveState(FILE* file) const { return m_valid && m_city && m_city->SaveState(file); }

bool CSimWelt::LoadState(FILE* file, uint32_t length) { return m_valid && m_city && m_city->LoadState(file, length); }
