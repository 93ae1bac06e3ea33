// A line's visible vehicles: how many it shows, putting them on the map and
// walking each along the route and its stops for the micro simulation.
#include <algorithm>

#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "measures/building_object.h"
#include "measures/opnv_line.h"
#include "microsim/micro_car.h"
#include "microsim/micro_cells.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"

namespace {

bool SameStreet(const CStrStrasse* s, short id) { return s && (id == s->GetSimID() || id == s->GetSimIDSecond()); }

}  // namespace

int COpnvLine::WantedVehicles(int needed) {
  if (needed <= 0) return 0;
  const int wanted = needed < 4 ? needed / 2 : (needed - 4) / 5 + 2;
  return std::clamp(wanted, 1, kVehicleSlots);
}

int COpnvLine::OnPlayloopTurn() {
  if (!IsActive() || m_Data.stopsOneWay < 2 || GetNetType() == NET_VIRTUELL) return 0;
  const uint32_t now = kfx_GetTicks();
  if (now < m_NextVehicleTime) return 0;
  int shown = 0;
  for (const VehicleSlot& s : m_Slot) shown += s.vehicle ? 1 : 0;
  const int buses = m_Data.normalBuses + m_Data.lowFloorBuses + m_Data.electricBuses + m_Data.hydrogenBuses;
  if (GetNetType() == NET_BUS ? buses <= 0 : m_Data.trams <= 0) return 0;
  if (WantedVehicles(m_Data.vehiclesNeeded) <= shown) return 0;
  int type = TRAM;
  if (GetNetType() == NET_BUS) {
    // A kind drawn in proportion to the buses of each kind on the line.
    const int draw = zor_random() % buses;
    const int bounds[4] = {m_Data.normalBuses, m_Data.normalBuses + m_Data.lowFloorBuses,
                           m_Data.normalBuses + m_Data.lowFloorBuses + m_Data.electricBuses, buses};
    const int kinds[4] = {BUS_NORMAL, BUS_LOWFLOOR, BUS_ELECTRIC, BUS_H2};
    type = BUS_NORMAL;
    for (int k = 3; k >= 0; --k)
      if (draw < bounds[k]) type = kinds[k];
  }
  for (int i = 0; i < kVehicleSlots; ++i) {
    if (m_Slot[i].vehicle) continue;
    if (CreateNewVehicle(type, i) == 0) {
      ++m_VehicleCount;
      m_NextVehicleTime = now + kVehicleGap;
      break;
    }
    m_NextVehicleTime = now + kVehicleRetry;
  }
  return 0;
}

bool COpnvLine::GetIsoPosFirstHst(int& x, int& y) const {
  const CSecondLayerObject* stop = GetFirstHst();
  if (!stop) return false;
  x = stop->GetXPos();
  y = stop->GetYPos();
  const int type = stop->GetType();
  if (type == OBJ_BUSSTOP_SHELTER || type == OBJ_BUSSTOP_SHELTER4) {
    const int dir = stop->GetRichtung();
    if (dir == 0 || dir == 2)
      ++y;
    else
      ++x;
  }
  return true;
}

int COpnvLine::CreateNewVehicle(int type, int slot) {
  if (!IsActive() || slot < 0 || slot >= kVehicleSlots) return 1;
  ClearSlot(slot);
  if (type < 0 || type > 4) return 1;
  CStrStrasse* street = m_pNetwork && m_Data.streetEntries ? m_pNetwork->GetStreetByID(m_Data.streetIds[0]) : nullptr;
  int x = 0, y = 0;
  if (!street || !street->GetMicroZellenGroup() || !GetIsoPosFirstHst(x, y)) return 1;
  auto* vehicle = new CMicroOpnv;
  vehicle->SetBusTramType(static_cast<EBusTramType>(type));
  vehicle->Create(this, slot);
  m_Slot[slot].vehicle = vehicle;
  CMicroZellenGroup* group = street->GetMicroZellenGroup();
  const auto ux = static_cast<unsigned short>(x), uy = static_cast<unsigned short>(y);
  BinaryMicroSimObject* cell = group->FindMember(ux, uy, static_cast<uint16_t>(m_Data.streetIds[0]), false);
  const int result = cell ? group->SetCar(cell, ux, uy, vehicle, true) : 2;
  if (result == 0) return 0;
  // The vehicle never stood in a cell: it leaves the line and goes.
  m_Slot[slot].vehicle = nullptr;
  vehicle->SetOpnvLine(nullptr, 0);
  vehicle->Destroy();
  delete vehicle;
  return 1;
}

void COpnvLine::ClearSlot(int i) {
  m_Slot[i].street = 0;
  m_Slot[i].reverse = 0;
  m_Slot[i].nextHst = 1;
}

void COpnvLine::RemoveVehicles() {
  for (int i = 0; i < kVehicleSlots; ++i) {
    CMicroOpnv* vehicle = m_Slot[i].vehicle;
    m_Slot[i] = VehicleSlot{};
    if (!vehicle) continue;
    // Detached first, so that its end does not call back into the line.
    vehicle->SetOpnvLine(nullptr, 0);
    vehicle->SetIsoXYPos(-32000, -32000);
    // A vehicle standing in a micro cell belongs to the cells: without a
    // line it leaves them at its next move. One in no cell goes now.
    if (vehicle->GetMicroSimObject()) continue;
    vehicle->Destroy();
    delete vehicle;
  }
  m_VehicleCount = 0;
}

int COpnvLine::SlotOf(const CMicroOpnv* vehicle) const {
  for (int i = 0; i < kVehicleSlots; ++i)
    if (vehicle && m_Slot[i].vehicle == vehicle) return i;
  return -1;
}

void COpnvLine::VehicleDestroyed(int i) {
  if (i < 0 || i >= kVehicleSlots) return;
  if (m_Slot[i].vehicle && m_VehicleCount > 0) --m_VehicleCount;
  m_Slot[i] = VehicleSlot{};
}

void COpnvLine::SetupMicroStreetCount(int i, int direction) {
  if (i < 0 || i >= kVehicleSlots) return;
  m_Slot[i].street = 0;
  m_Slot[i].nextHst = 1;
  m_Slot[i].reverse = direction;
}

CStrStrasse* COpnvLine::GetAktualMicroStreet(int i, bool& against) {
  against = false;
  if (i < 0 || i >= kVehicleSlots || !m_pNetwork) return nullptr;
  const int S = m_Slot[i].street;
  if (S < 0 || S >= m_Data.streetEntries) return nullptr;
  CStrStrasse* s = m_pNetwork->GetStreetByID(m_Data.streetIds[S]);
  if (s) against = m_Data.streetIds[S] == s->GetSimIDSecond();
  return s;
}

CStrStrasse* COpnvLine::GetNextMicroStreet(int i, bool& against, bool& turn, bool atStop) {
  turn = false;
  against = false;
  if (i < 0 || i >= kVehicleSlots || !m_pNetwork) return nullptr;
  VehicleSlot& v = m_Slot[i];
  const int n2 = m_Data.streetEntries, m2 = m_Data.stopEntries;
  if (n2 == 0 || m2 == 0) return nullptr;
  if (v.street < 0 || v.street >= n2) v.street = 0;
  const short id = m_Data.streetIds[v.street];
  CStrStrasse* s = m_pNetwork->GetStreetByID(id);
  if (!s) {
    v.nextHst = 1;
    v.street = v.reverse = 0;
    return nullptr;
  }
  against = id == s->GetSimIDSecond();
  if (v.reverse) {
    if (--v.street < 1) {
      v.reverse = 0;
      v.street = 2;
    }
    return s;
  }
  if (!atStop) {
    ++v.street;
    if (v.nextHst > m2) {
      v.nextHst = v.street = v.reverse = 0;
    } else if (v.street >= n2) {
      if (v.nextHst < m2) {
        v.street = 0;
        turn = true;
      } else {
        v.nextHst = v.street = v.reverse = 0;
      }
    }
    return s;
  }
  if (v.street > 0 && !SameStreet(s, m_Data.streetIds[v.street - 1])) {
    --v.street;
  } else {
    const int N = v.nextHst % m2, N1 = (v.nextHst + 1) % m2;
    if (m_Data.stopIds[N] == m_Data.stopIds[N1]) {
      v.nextHst = N1;
    } else if (SameStreet(s, m_Data.stopStreetIds[N1]) && SameStreet(s, m_Data.stopStreetIds[N]) &&
               id != m_Data.stopStreetIds[N1] && v.street > 0) {
      --v.street;
      turn = true;
    }
    v.nextHst = (v.nextHst + 1) % m2;
  }
  if (++v.street >= n2) {
    v.street = 0;
    if (m_Data.streetsOneWay == 1 && m_Data.stopsOneWay >= 2) {
      v.nextHst = m_Data.stopsOneWay + 1;
    } else {
      v.nextHst = 1;
      v.reverse = 0;
    }
  }
  return s;
}

bool COpnvLine::IsIsoPosHst(int i, int x, int y) {
  if (i < 0 || i >= kVehicleSlots || m_Data.stopEntries == 0) return false;
  const int N = m_Slot[i].nextHst % m_Data.stopEntries;
  const CSecondLayerObject* stop = Hst(N);
  if (!stop) return false;
  const int sx = stop->GetXPos(), sy = stop->GetYPos();
  if (sx == x && sy == y) return true;
  const int type = stop->GetType();
  if (type != OBJ_BUSSTOP_SHELTER && type != OBJ_BUSSTOP_SHELTER4) return false;
  const int dir = stop->GetRichtung();
  return dir == 0 || dir == 2 ? (sx == x && sy + 1 == y) : (sx + 1 == x && sy == y);
}

int COpnvLine::GetNextMicroHstID(int i, int& n) {
  if (i < 0 || i >= kVehicleSlots || m_Data.stopEntries == 0) return -1;
  n = m_Slot[i].nextHst;
  if (n < 0 || n >= m_Data.stopEntries) return -1;
  return m_Data.stopIds[n];
}

int COpnvLine::GetOverNextMicroHstID(int i, int& n) {
  if (i < 0 || i >= kVehicleSlots || m_Data.stopEntries == 0) return -1;
  n = (m_Slot[i].nextHst + 1) % m_Data.stopEntries;
  return m_Data.stopIds[n];
}

void COpnvLine::IncrementNextMicroHst(int i) {
  if (i < 0 || i >= kVehicleSlots || m_Data.stopEntries == 0) return;
  m_Slot[i].nextHst = (m_Slot[i].nextHst + 1) % m_Data.stopEntries;
}

CStrStrasse* COpnvLine::GetNextMicroStreetFrom(int i, int simId, bool& against) {
  against = false;
  const int n2 = m_Data.streetEntries;
  if (i < 0 || i >= kVehicleSlots || !m_pNetwork || n2 == 0) return nullptr;
  VehicleSlot& v = m_Slot[i];
  if (v.street < 0 || v.street >= n2) v.street = 0;
  for (int d = 0; simId != 0 && d < n2; ++d) {
    const int k = (v.street + d) % n2;
    if (m_Data.streetIds[k] != simId) continue;
    v.street = k;
    break;
  }
  const short next = m_Data.streetIds[(v.street + 1) % n2];
  CStrStrasse* s = m_pNetwork->GetStreetByID(next);
  if (s) against = next == s->GetSimIDSecond();
  return s;
}
