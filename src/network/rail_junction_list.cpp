#include "network/rail_junction_list.h"

#include "framework/qno_log.h"
#include "iso/iso_geometry.h"
#include "iso/iso_object.h"
#include "iso/iso_welt.h"
#include "network/rail_junction.h"
#include "network/rail_track.h"
#include "iso/iso_host.h"
#include "worldbase/zor_world_obj.h"

CStrSchJuncList::CStrSchJuncList(CIsoWelt* iso, CSimWelt* sim, CStrJunctionList* streets)
    : CStrJunctionList(iso, sim) {
  CStrJunction::m_pStreetNet = streets;
  SetElementType(CStrSchJunction::m_pClassType);
  CStrSchienen::m_pRailNet = this;
}

CStrSchJuncList::~CStrSchJuncList() {
  if (CStrSchienen::m_pRailNet == this) CStrSchienen::m_pRailNet = nullptr;
}

int CStrSchJuncList::Create() {
  CStrJunctionList::Create();
  SetElementType(CStrSchJunction::m_pClassType);
  return 0;
}

CStrJunction* CStrSchJuncList::CreateNewJunction(short x, short y, CStrassenType type) {
  auto* j = new CStrSchJunction(m_pIsoWelt, m_pSimWelt);
  if (j->Create(x, y, type) != 0) {
    j->Destroy();
    delete j;
    return nullptr;
  }
  return j;
}

CStrStrasse* CStrSchJuncList::CreateNewStreet() { return new CStrSchienen(m_pIsoWelt, m_pSimWelt); }

CStrSchJunction* CStrSchJuncList::RailJunctionAt(uint32_t n) { return static_cast<CStrSchJunction*>(GetAt(n)); }

int CStrSchJuncList::SerializeGameLoad(FILE* file) {
  CStrSchienen::m_pRailNet = this;
  return CStrJunctionList::SerializeGameLoad(file);
}

int CStrSchJuncList::CheckForTrainCrossing(CStrJunction* start, CStrJunction* end, CStrStrasse* street, int*) {
  const char* missing = !start ? "pStartJunc==NULL" : !end ? "pEndJunc==NULL" : !street ? "pNewStreet==NULL" : nullptr;
  if (missing) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", missing);
    return 0;
  }
  // Tracks do not cross tracks at level crossings, nor streets of other kinds.
  if (street->GetStreetType().GetValue() >= 5) return 0;
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrSchJunction*>(o);
    for (int k = 0;; ++k) {
      CStrStrasse* track = nullptr;
      CStrStrassenTeil* piece = nullptr;
      short x = 0, y = 0;
      if (!j->StrHitStr(street, &track, &piece, &x, &y, k) || !track || !piece) break;
      if (!piece->HasExtraTeilAt(x, y))
        static_cast<CStrSchStrTeil*>(piece)->CreateExtraTeilAt(x, y, x, y, street->GetStreetType());
      track->RemoveFromIsoWelt(false);
      track->InsertIntoIsoWelt();
    }
  }
  return 0;
}

int CStrSchJuncList::UpdateChanges() { return RemoveIsolatedGrdCrossings(); }

bool CStrSchJuncList::HasGrdCrossingAt(short x, short y) {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext())
    if (static_cast<CStrSchJunction*>(o)->HasGrdCrossingAt(x, y)) return true;
  return false;
}

int CStrSchJuncList::RemoveIsolatedGrdCrossings() {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) static_cast<CStrSchJunction*>(o)->RemoveIsolatedGrdCrossings();
  return 0;
}

int CStrSchJuncList::SetTrainStopAt(short x, short y) {
  if (!m_pIsoWelt || !IsoInMap(x, y)) return 1;
  const auto ux = static_cast<unsigned short>(x), uy = static_cast<unsigned short>(y);
  if (m_pIsoWelt->GetTypeAt(ux, uy, ISO_LAYER_GROUND) != OBJ_RAIL_PIECE) return 1;
  CIsoObjGroup* group = m_pIsoWelt->GetGroupAt(ux, uy, ISO_LAYER_GROUND);
  if (!group || group->GetResID() != CStrSchienen::kStraightResID) return 1;
  const int r = group->GetRichtung();
  const int ox = group->GetStartPosX(), oy = group->GetStartPosY();
  const int nx = ox + (r == 0 ? 1 : r == 2 ? -1 : 0);
  const int ny = oy + (r == 1 ? 1 : r == 3 ? -1 : 0);
  if (!IsoInMap(nx, ny) ||
      m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(nx), static_cast<unsigned short>(ny), ISO_LAYER_GROUND) !=
          OBJ_RAIL_PIECE)
    return 1;
  CIsoHost* host = m_pIsoWelt->GetHost();
  CWorldObj* stop = host ? host->CreateObjectAt(OBJ_STREETSIDE, kTrainStopResID, CIsoRichtung(r), ox, oy) : nullptr;
  if (!stop) return 1;
  if (m_pIsoWelt->SetIsoGroupTurnedAt(static_cast<unsigned short>(ox), static_cast<unsigned short>(oy),
                                      ISO_LAYER_UPPER, kTrainStopResID, stop, CIsoRichtung(r)) == 0)
    return 0;
  host->DestroyObject(stop, 1);
  return 1;
}
