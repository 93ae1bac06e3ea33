// A line's visible vehicles: how many it shows, putting them on the map and
// walking each along the route and its stops for the micro simulation.
#include <algorithm>
#include <utility>
#include <vector>

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

// The tile beside a shelter that its buses stop on: the next one along
// the shelter's direction. Other stops stand on their street's tile.
void StreetTileOfHst(const CSecondLayerObject* stop, int& x, int& y) {
  x = stop->GetXPos();
  y = stop->GetYPos();
  const int type = stop->GetType();
  if (type != OBJ_BUSSTOP_SHELTER && type != OBJ_BUSSTOP_SHELTER4) return;
  const int dir = stop->GetRichtung();
  if (dir == 0 || dir == 2)
    ++y;
  else
    ++x;
}

using Tile = std::pair<unsigned short, unsigned short>;

// The tiles of a street's cells in the order a vehicle drives them in the
// direction `id`: the group lists them from the street's first tile on.
std::vector<Tile> TilesInDrivingOrder(const CStrStrasse* street, const CMicroZellenGroup* group, short id) {
  std::vector<Tile> tiles;
  for (const CMicroZellenGroup::TGroupMember* m = group->GetFirst(); m; m = m->pNext)
    if (m->pZelle)
      tiles.emplace_back(static_cast<unsigned short>(group->GetX() + m->dx),
                         static_cast<unsigned short>(group->GetY() + m->dy));
  if (id == street->GetSimIDSecond() && id != street->GetSimID()) std::reverse(tiles.begin(), tiles.end());
  return tiles;
}

// A vehicle is in view while it stands in a cell of the map's view and
// can drive on in it: one whose next cell lies out of view stands at the
// view's edge, where line vehicles stop until the view comes back.
bool InView(CMicroOpnv* vehicle) {
  BinaryMicroSimObject* cell = vehicle->GetMicroSimObject();
  if (!cell || cell->m_pCar != vehicle || !cell->m_Visible) return false;
  const BinaryMicroSimObject* next = CQnoMicroZelle::GetNextZelle(cell);
  return !next || next->m_Visible;
}

}  // namespace

int COpnvLine::WantedVehicles(int needed) {
  if (needed <= 0) return 0;
  const int wanted = needed < 4 ? needed / 2 : (needed - 4) / 5 + 2;
  return std::clamp(wanted, 1, kVehicleSlots);
}

int COpnvLine::OnPlayloopTurn() {
  if (!IsActive() || m_Data.stopsOneWay < 2 || GetNetType() == NET_VIRTUELL) return 0;
  const uint32_t now = kfx_GetTicks();
  TakeOffVehiclesOutOfView(now);
  if (now - m_VehicleTime < m_VehicleWait) return 0;
  int shown = 0;
  for (const VehicleSlot& s : m_Slot) shown += s.vehicle ? 1 : 0;
  const int buses = m_Data.normalBuses + m_Data.lowFloorBuses + m_Data.electricBuses + m_Data.hydrogenBuses;
  if (GetNetType() == NET_BUS ? buses <= 0 : m_Data.trams <= 0) return 0;
  if (WantedVehicles(m_Data.vehiclesNeeded) <= shown) return 0;
  int type = TRAM;
  if (GetNetType() == NET_BUS) {
    // A kind drawn in proportion to the buses of each kind on the line.
    const int draw = zor_view_random().Next() % buses;
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
      m_VehicleTime = now, m_VehicleWait = kVehicleGap;
      break;
    }
    m_VehicleTime = now, m_VehicleWait = kVehicleRetry;
  }
  return 0;
}

void COpnvLine::TakeOffVehiclesOutOfView(uint32_t now) {
  // Line vehicles move only in view: one that reached its edge or lies
  // beyond it stands there until the view comes back. After a while it is
  // taken off and frees its slot for a vehicle where the player looks.
  for (VehicleSlot& slot : m_Slot) {
    CMicroOpnv* vehicle = slot.vehicle;
    if (!vehicle) continue;
    if (InView(vehicle)) {
      slot.outOfView = false;
      continue;
    }
    if (!slot.outOfView) {
      slot.outOfView = true;
      slot.outOfViewSince = now;
      continue;
    }
    if (now - slot.outOfViewSince < kOutOfViewTime) continue;
    BinaryMicroSimObject* cell = vehicle->GetMicroSimObject();
    if (cell && cell->m_pCar == vehicle) {
      if (!cell->m_pOwner) continue;
      cell->m_pOwner->RemoveVehicle(cell);
    } else {
      CCar::Discard(vehicle);
    }
    // Its end tells the line through the micro simulation's host; where
    // that did not reach the line, the slot is emptied here.
    if (slot.vehicle == vehicle) VehicleDestroyed(static_cast<int>(&slot - m_Slot));
  }
}

bool COpnvLine::GetIsoPosFirstHst(int& x, int& y) const {
  const CSecondLayerObject* stop = GetFirstHst();
  if (!stop) return false;
  StreetTileOfHst(stop, x, y);
  return true;
}

bool COpnvLine::RouteCellInView(int slot, RouteCell& out) const {
  const int n2 = m_Data.streetEntries;
  if (!m_pNetwork || n2 <= 0) return false;
  const int start = slot % 2 ? m_Data.streetsOneWay % n2 : 0;
  for (int d = 0; d < n2; ++d) {
    const int entry = (start + d) % n2;
    const short id = m_Data.streetIds[entry];
    CStrStrasse* street = m_pNetwork->GetStreetByID(id);
    CMicroZellenGroup* group = street ? street->GetMicroZellenGroup() : nullptr;
    if (!group) continue;
    const std::vector<Tile> tiles = TilesInDrivingOrder(street, group, id);
    for (int along = 0; along < static_cast<int>(tiles.size()); ++along) {
      const auto [x, y] = tiles[static_cast<size_t>(along)];
      BinaryMicroSimObject* cell = group->FindMember(x, y, static_cast<uint16_t>(id), false);
      if (!cell || !cell->m_Visible) continue;
      out = {group, cell, x, y, entry, along};
      return true;
    }
  }
  return false;
}

int COpnvLine::NextHstAfter(int street, int along) const {
  // Each stop entry's street entry, found along the route from the one
  // before: the first stop at or after the vehicle's place is the next.
  const int n2 = m_Data.streetEntries;
  for (int k = 0, from = 0; k < m_Data.stopEntries; ++k) {
    int at = from;
    while (at < n2 && m_Data.streetIds[at] != m_Data.stopStreetIds[k]) ++at;
    if (at == n2) continue;
    from = at;
    if (at > street) return k;
    if (at < street) continue;
    const CSecondLayerObject* stop = Hst(k);
    CStrStrasse* s = stop && m_pNetwork ? m_pNetwork->GetStreetByID(m_Data.streetIds[at]) : nullptr;
    const CMicroZellenGroup* group = s ? s->GetMicroZellenGroup() : nullptr;
    if (!group) continue;
    int x = 0, y = 0;
    StreetTileOfHst(stop, x, y);
    const std::vector<Tile> tiles = TilesInDrivingOrder(s, group, m_Data.streetIds[at]);
    const auto here =
        std::find(tiles.begin(), tiles.end(), Tile(static_cast<unsigned short>(x), static_cast<unsigned short>(y)));
    if (here != tiles.end() && here - tiles.begin() >= along) return k;
  }
  return 0;
}

int COpnvLine::CreateNewVehicle(int type, int slot) {
  if (!IsActive() || slot < 0 || slot >= kVehicleSlots) return 1;
  ClearSlot(slot);
  if (type < 0 || type > 4) return 1;
  CStrStrasse* street = m_pNetwork && m_Data.streetEntries ? m_pNetwork->GetStreetByID(m_Data.streetIds[0]) : nullptr;
  int x = 0, y = 0;
  if (!street || !street->GetMicroZellenGroup() || !GetIsoPosFirstHst(x, y)) return 1;
  CMicroZellenGroup* group = street->GetMicroZellenGroup();
  auto ux = static_cast<unsigned short>(x), uy = static_cast<unsigned short>(y);
  BinaryMicroSimObject* cell = group->FindMember(ux, uy, static_cast<uint16_t>(m_Data.streetIds[0]), false);
  // A vehicle is put up at the first stop. With that stop out of the map's
  // view it enters where the route first comes into view, heading for the
  // stop after that place.
  if (RouteCell in; (!cell || !cell->m_Visible) && RouteCellInView(slot, in)) {
    group = in.group;
    cell = in.cell;
    ux = in.x;
    uy = in.y;
    m_Slot[slot].street = in.street;
    m_Slot[slot].nextHst = NextHstAfter(in.street, in.along);
  }
  auto* vehicle = new CMicroOpnv;
  vehicle->SetBusTramType(static_cast<EBusTramType>(type));
  vehicle->Create(this, slot);
  m_Slot[slot].vehicle = vehicle;
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
  m_Slot[i].outOfView = false;
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
  if (stop->GetXPos() == x && stop->GetYPos() == y) return true;
  int sx = 0, sy = 0;
  StreetTileOfHst(stop, sx, sy);
  return sx == x && sy == y;
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
