#include "network/rail_junction_list.h"

#include <algorithm>

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

namespace {

// The box of cells a street's pieces run over.
struct Box {
  int x1 = 1 << 20, y1 = 1 << 20, x2 = -(1 << 20), y2 = -(1 << 20);
  explicit Box(CStrStrasse* s) {
    for (CZorvaObject* o = s->GetHead(); o; o = o->GetNext()) {
      auto* p = static_cast<CStrStrassenTeil*>(o);
      x1 = std::min({x1, static_cast<int>(p->GetStartX()), static_cast<int>(p->GetEndX())});
      y1 = std::min({y1, static_cast<int>(p->GetStartY()), static_cast<int>(p->GetEndY())});
      x2 = std::max({x2, static_cast<int>(p->GetStartX()), static_cast<int>(p->GetEndX())});
      y2 = std::max({y2, static_cast<int>(p->GetStartY()), static_cast<int>(p->GetEndY())});
    }
  }
  bool Empty() const { return x2 < x1; }
};

int Clamp(int v, int hi) { return v < 0 ? 0 : v > hi ? hi : v; }

}  // namespace

void CStrSchJuncList::IndexTracks() {
  m_Indexed.clear();
  for (auto& block : m_Blocks) block.clear();
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      auto* track = static_cast<CStrSchienen*>(j->GetStreetByNR(i));
      // Each track once, at its start (a loop is held twice there).
      if (track->GetStartJunction() != j || (i > 0 && j->GetStreetByNR(i - 1) == track)) continue;
      const Box b(track);
      if (b.Empty()) continue;
      const int n = static_cast<int>(m_Indexed.size());
      m_Indexed.push_back({track, b.x1, b.y1, b.x2, b.y2, 0});
      for (int by = Clamp(b.y1 / kBlock, kBlocks - 1); by <= Clamp(b.y2 / kBlock, kBlocks - 1); ++by)
        for (int bx = Clamp(b.x1 / kBlock, kBlocks - 1); bx <= Clamp(b.x2 / kBlock, kBlocks - 1); ++bx)
          m_Blocks[by * kBlocks + bx].push_back(n);
    }
  }
  m_Lookup = 0;
}

void CStrSchJuncList::TracksNear(CStrStrasse* street, std::vector<CStrSchienen*>* out) {
  out->clear();
  if (!m_UseIndex) {
    for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
      auto* j = static_cast<CStrJunction*>(o);
      for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
        auto* track = static_cast<CStrSchienen*>(j->GetStreetByNR(i));
        if (track->GetStartJunction() == j && std::find(out->begin(), out->end(), track) == out->end())
          out->push_back(track);
      }
    }
    return;
  }
  const Box b(street);
  if (b.Empty()) return;
  ++m_Lookup;
  for (int by = Clamp(b.y1 / kBlock, kBlocks - 1); by <= Clamp(b.y2 / kBlock, kBlocks - 1); ++by)
    for (int bx = Clamp(b.x1 / kBlock, kBlocks - 1); bx <= Clamp(b.x2 / kBlock, kBlocks - 1); ++bx)
      for (int n : m_Blocks[by * kBlocks + bx]) {
        IndexedTrack& t = m_Indexed[static_cast<size_t>(n)];
        if (t.seen == m_Lookup) continue;
        t.seen = m_Lookup;
        // Pieces cross only where their boxes meet.
        if (t.x1 <= b.x2 && b.x1 <= t.x2 && t.y1 <= b.y2 && b.y1 <= t.y2) out->push_back(t.track);
      }
}

void CStrSchJuncList::CheckStreet(CStrStrasse* street, const std::vector<CStrSchienen*>& tracks) {
  for (CStrSchienen* track : tracks) {
    bool redraw = false;
    for (int k = 0;; ++k) {
      CStrStrasse* hit = nullptr;
      CStrStrassenTeil* piece = nullptr;
      short x = 0, y = 0;
      if (!track->StrHitStr(street, &hit, &piece, x, y, k) || !piece) break;
      auto* trackPiece = static_cast<CStrSchStrTeil*>(piece);
      if (!trackPiece->HasCrossingFor(x, y)) {
        trackPiece->CreateExtraTeilAt(x, y, x, y, street->GetStreetType());
        redraw = true;
      } else if (!track->ShowsCrossingAt(x, y)) {
        // The street was drawn over the crossing since.
        redraw = true;
      }
    }
    if (!redraw) continue;
    track->RemoveFromIsoWelt(false);
    track->InsertIntoIsoWelt();
  }
}

int CStrSchJuncList::CheckForTrainCrossing(CStrJunction* start, CStrJunction* end, CStrStrasse* street, int*) {
  const char* missing = !start ? "pStartJunc==NULL" : !end ? "pEndJunc==NULL" : !street ? "pNewStreet==NULL" : nullptr;
  if (missing) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", missing);
    return 0;
  }
  // Tracks do not cross tracks at level crossings, nor streets of other kinds.
  if (street->GetStreetType().GetValue() >= 5) return 0;
  TracksNear(street, &m_Near);
  CheckStreet(street, m_Near);
  return 0;
}

int CStrSchJuncList::CheckForTrainCrossings(CStrJunctionList* streets) {
  if (!streets || !GetHead()) return 0;
  IndexTracks();
  m_UseIndex = true;
  for (CZorvaObject* o = streets->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* s = j->GetStreetByNR(i);
      if (s->GetStartJunction() != j) continue;
      int found = 0;
      CheckForTrainCrossing(j, j, s, &found);
    }
  }
  m_UseIndex = false;
  m_Indexed.clear();
  for (auto& block : m_Blocks) block.clear();
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
