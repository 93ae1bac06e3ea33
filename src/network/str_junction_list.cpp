#include "network/str_junction_list.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <unordered_set>
#include <vector>

#include "framework/qno_log.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "microsim/micro_cells.h"
#include "network/str_ampel.h"
#include "network/rail_junction_list.h"
#include "network/str_strasse.h"
#include "network/crossing_objects.h"
#include "network/street_objects.h"
#include "sim/sim_welt.h"

CIsoWelt* CStrJunctionList::m_pIsoWelt = nullptr;
CSimWelt* CStrJunctionList::m_pSimWelt = nullptr;

namespace {

CStrJunction* AsJunction(CZorvaObject* o) { return static_cast<CStrJunction*>(o); }

void DestroyStreet(CStrStrasse* s) {
  s->Destroy();
  delete s;
}

bool IsSupportedType(CStrassenType t) {
  return t == STRASSE_1 || t == STRASSE_2 || t == STRASSE_EINBAHN || t == STRASSE_VIERSPURIG || t == STRASSE_SCHIENE;
}

}  // namespace

CStrJunctionList::CStrJunctionList(CIsoWelt* iso, CSimWelt* sim) {
  m_pIsoWelt = iso;
  m_pSimWelt = sim;
  // Junctions re-created by type name on loading take the network's map
  // and demand simulation.
  CStrJunction::m_pIsoWelt = iso;
  CStrJunction::m_pSimWelt = sim;
  CStrJunction::m_pStreetNet = this;
  SetElementType(CStrJunction::m_pClassType);
}

CStrJunctionList::~CStrJunctionList() {
  if (CStrJunction::m_pStreetNet == this) CStrJunction::m_pStreetNet = nullptr;
}

int CStrJunctionList::Create() {
  CList::Create(true, kHashSize);
  m_Cells.Clear();
  m_StreetsByID.clear();
  m_StreetIndexValid = false;
  return 0;
}

int CStrJunctionList::Destroy() {
  EditScope edit(this);
  m_Cells.Clear();
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    AsJunction(o)->RemoveAmpel();
    AsJunction(o)->ForgetLocations();
  }
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    CStrJunction* j = AsJunction(o);
    while (j->GetAnzLinkedStreets() > 0) {
      CStrStrasse* s = j->GetStreetByNR(0);
      const int before = j->GetAnzLinkedStreets();
      if (CStrJunction* start = s->GetStartJunction()) start->UnLinkStreet(s);
      if (CStrJunction* end = s->GetEndJunction()) end->UnLinkStreet(s);
      if (j->GetAnzLinkedStreets() == before) j->UnLinkStreet(s);
      DestroyStreet(s);
    }
  }
  m_StreetsByID.clear();
  return CList::Destroy();
}

CStrJunction* CStrJunctionList::CreateNewJunction(short x, short y, CStrassenType type) {
  auto* j = new CStrJunction(m_pIsoWelt, m_pSimWelt);
  if (j->Create(x, y, type) != 0) {
    j->Destroy();
    delete j;
    return nullptr;
  }
  return j;
}

CStrStrasse* CStrJunctionList::CreateNewStreet() { return new CStrStrasse(m_pIsoWelt, m_pSimWelt); }

// ---- the index of junctions ------------------------------------------------------

uint32_t CStrJunctionList::ListKey(const CStrJunction* j) {
  return j->GetSimID() != 0 ? j->GetSimID() : j->GetSimHashID();
}

bool CStrJunctionList::RebuildIndex(int size) {
  auto* table = new CHashTable(size);
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    const uint32_t key = ListKey(AsJunction(o));
    if (table->GetEntry(key) || !table->InsertEntry(key, o)) {
      delete table;
      return false;
    }
  }
  delete m_hashTable;
  m_hashTable = table;
  m_hashed = 1;
  return true;
}

bool CStrJunctionList::IndexJunction(CStrJunction* j, uint32_t key) {
  if (!m_hashTable) return true;
  if (m_hashTable->InsertEntry(key, j)) return true;
  // Crossing ids only grow, so a full table is grown rather than missed.
  for (int size = m_hashTable->GetSize() * 2; size <= (1 << 20); size *= 2) {
    if (!RebuildIndex(size)) continue;
    if (m_hashTable->InsertEntry(key, j)) return true;
  }
  QNO_ERROR(QNO_SEV_ERROR, "CStrJunctionList: no room to index crossing %d", static_cast<int>(key));
  return false;
}

int CStrJunctionList::AddJunction(CStrJunction* j) {
  if (!j || j->GetNext() || j->GetPrev() || GetHead() == j) return 1;
  const uint32_t key = ListKey(j);
  if (m_hashTable && m_hashTable->GetEntry(key)) {
    QNO_ERROR(QNO_SEV_ERROR, "CStrJunctionList: crossing %d is listed already", static_cast<int>(key));
    return 1;
  }
  if (!IndexJunction(j, key)) return 1;
  m_links.LinkHead(j);
  m_Cells.AddJunction(j);
  m_StreetIndexValid = false;
  return 0;
}

int CStrJunctionList::RemoveJunction(CStrJunction* j) {
  if (!j) return 1;
  // A cell that still shows the junction is cleared; one that shows
  // something else (the street a refused end lay on) keeps it.
  if (j->IsDrawn()) j->RemoveFromIsoWelt();
  j->ClearCellsOfCrossing();
  const uint32_t key = ListKey(j);
  j->RemoveFromSimWelt();
  m_Cells.RemoveJunction(j);
  m_StreetIndexValid = false;
  return DestroyObject(j, key);
}

CStrJunction* CStrJunctionList::GetJunctionByID(unsigned short id) {
  return m_hashTable ? AsJunction(m_hashTable->GetEntry(id)) : nullptr;
}

void CStrJunctionList::RebuildStreetIndex() {
  m_StreetsByID.clear();
  m_StreetWalk.clear();
  m_Counted.clear();
  m_CountedComplete = false;
  std::unordered_set<CStrStrasse*> met;
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    CStrJunction* j = AsJunction(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* s = j->GetStreetByNR(i);
      if (s && met.insert(s).second) {
        s->SetWalkPlace(this, static_cast<uint32_t>(m_StreetWalk.size()));
        m_StreetWalk.push_back(s);
      }
      // The first junction in list order that holds a street answers.
      for (short id : {s->GetSimID(), s->GetSimIDSecond()}) {
        if (id == 0) continue;
        const auto at = static_cast<uint16_t>(id);
        if (at >= m_StreetsByID.size()) m_StreetsByID.resize(static_cast<size_t>(at) + 1, nullptr);
        if (!m_StreetsByID[at]) m_StreetsByID[at] = s;
      }
    }
  }
  m_StreetIndexValid = true;
}

CStrStrasse* CStrJunctionList::GetStreetByID(short id) {
  if (id == 0) return nullptr;
  if (m_EditDepth > 0) {
    for (CZorvaObject* o = GetHead(); o; o = o->GetNext())
      if (CStrStrasse* s = AsJunction(o)->GetStreetByID(id)) return s;
    return nullptr;
  }
  if (!m_StreetIndexValid) RebuildStreetIndex();
  const auto at = static_cast<uint16_t>(id);
  return at < m_StreetsByID.size() ? m_StreetsByID[at] : nullptr;
}

// ---- lookups ------------------------------------------------------------------------

CStrJunction* CStrJunctionList::FindJunctionAt(short x, short y) {
  if (static_cast<unsigned short>(x) > 127 || static_cast<unsigned short>(y) > 127 || !m_pIsoWelt) return nullptr;
  CIsoInfo* info = m_pIsoWelt->GetIsoInfo(x, y);
  if (!info) return nullptr;
  const TObjectType kind = info->GetType(ISO_LAYER_GROUND);
  // A junction that shows no crossing of its own (two arms, drawn by its
  // streets or, at both ends of one street, by nothing) is still there.
  if (kind != OBJ_RAIL_JUNCTION && kind != OBJ_CROSSING) return JunctionAtCell(x, y);
  auto* cross = dynamic_cast<CKreuzObj*>(info->GetWorldObject(ISO_LAYER_GROUND));
  if (!cross) {
    QNO_ERROR(QNO_SEV_WARNING, "Cast 3");
    return nullptr;
  }
  return cross->GetWorldObject();
}

int CStrJunctionList::RegisterLocationAtCrossing(CSimLocation* location, unsigned short id) {
  CStrJunction* j = GetJunctionByID(id);
  return j ? j->RegisterLocation(location) : 1;
}

int CStrJunctionList::RemoveLocationFromCrossing(unsigned short id, CSimLocation* location) {
  CStrJunction* j = GetJunctionByID(id);
  return j ? j->RemoveLocation(location) : 1;
}

namespace {

// The four strips around an object group of w x h cells at (x, y), each
// walked row by row; f(cx, cy) sees every cell inside the map.
template <class F>
void WalkStrips(int x, int y, int w, int h, F f) {
  const int strips[4][4] = {{x - 3, x - 1, y - 3, y + h - 1},
                            {x, x + w + 2, y - 3, y},
                            {x + w - 1, x + w + 2, y, y + h + 2},
                            {x - 3, x + w - 1, y + h, y + h + 2}};
  for (const auto& s : strips)
    for (int cy = s[2]; cy <= s[3]; ++cy)
      for (int cx = s[0]; cx <= s[1]; ++cx)
        if (IsoInMap(cx, cy)) f(cx, cy);
}

}  // namespace

unsigned short CStrJunctionList::GetNearestCrossing(short x, short y, int* dist, unsigned short excluded,
                                                    CStrJunction** junction) {
  int w = 0, h = 0;
  if (m_pIsoWelt) m_pIsoWelt->GetGroupSize(x, y, ISO_LAYER_GROUND, w, h);
  if (w == 0 || h == 0) w = h = 1;
  const int cx = x + w / 2;
  const int cy = y + h / 2;
  CStrJunction* best = nullptr;
  long bestD = 0;
  auto offer = [&](CStrJunction* j, int px, int py) {
    if (!j || j->GetSimID() == 0 || j->GetSimID() == excluded) return;
    const long d = static_cast<long>(j->GetXPos() - px) * (j->GetXPos() - px) +
                   static_cast<long>(j->GetYPos() - py) * (j->GetYPos() - py);
    if (!best || d < bestD) {
      best = j;
      bestD = d;
    }
  };
  if (m_pIsoWelt)
    WalkStrips(x, y, w, h, [&](int px, int py) {
      CIsoInfo* info = m_pIsoWelt->GetIsoInfo(px, py);
      if (!info) return;
      CWorldObj* o = info->GetWorldObject(ISO_LAYER_GROUND);
      const TObjectType kind = info->GetType(ISO_LAYER_GROUND);
      if (kind == OBJ_CROSSING) {
        if (auto* cross = dynamic_cast<CKreuzObj*>(o)) offer(cross->GetWorldObject(), cx, cy);
      } else if (kind == OBJ_STREET_PIECE) {
        auto* piece = dynamic_cast<CStreetObj*>(o);
        if (CStrStrasse* s = piece ? piece->GetStreetList() : nullptr) {
          offer(s->GetStartJunction(), cx, cy);
          offer(s->GetEndJunction(), cx, cy);
        }
      }
    });
  int d = 0;
  if (!best) {
    for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) offer(AsJunction(o), x, y);
    d = best ? static_cast<int>(bestD) : -1;
  } else {
    d = static_cast<int>(std::sqrt(static_cast<double>(bestD)));
  }
  if (dist) *dist = d;
  if (junction) *junction = best;
  return best ? best->GetSimID() : 0;
}

bool CStrJunctionList::GetNearestStreet(short x, short y, int*, CStrStrasse** street, short* hitX, short* hitY) {
  int w = 0, h = 0;
  if (m_pIsoWelt) m_pIsoWelt->GetGroupSize(x, y, ISO_LAYER_GROUND, w, h);
  if (w == 0 || h == 0) w = h = 1;
  const int cx = x + w / 2;
  const int cy = y + h / 2;
  CStrStrasse* best = nullptr;
  long bestD = 0;
  if (hitX) *hitX = -1;
  if (hitY) *hitY = -1;
  if (!m_pIsoWelt) return false;
  WalkStrips(x, y, w, h, [&](int px, int py) {
    CIsoInfo* info = m_pIsoWelt->GetIsoInfo(px, py);
    if (!info) return;
    CWorldObj* o = info->GetWorldObject(ISO_LAYER_GROUND);
    const TObjectType kind = info->GetType(ISO_LAYER_GROUND);
    CStrStrasse* s = nullptr;
    int sx = px, sy = py;
    if (kind == OBJ_STREET_PIECE) {
      auto* piece = dynamic_cast<CStreetObj*>(o);
      s = piece ? piece->GetStreetList() : nullptr;
    } else if (kind == OBJ_CROSSING) {
      auto* cross = dynamic_cast<CKreuzObj*>(o);
      CStrJunction* j = cross ? cross->GetWorldObject() : nullptr;
      if (j && j->GetSimID() != 0) {
        s = j->GetStreetByNR(0);
        sx = j->GetXPos();
        sy = j->GetYPos();
      }
    }
    if (!s) return;
    const long d = static_cast<long>(sx - cx) * (sx - cx) + static_cast<long>(sy - cy) * (sy - cy);
    if (!best || d < bestD) {
      best = s;
      bestD = d;
      if (hitX) *hitX = static_cast<short>(px);
      if (hitY) *hitY = static_cast<short>(py);
    }
  });
  if (street) *street = best;
  return best != nullptr;
}

bool CStrJunctionList::PointHitStreet(short x, short y, CStrStrasse** street, CStrStrassenTeil** piece) {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext())
    if (AsJunction(o)->PointHitStreet(x, y, street, piece)) return true;
  return false;
}

CQnoMicroZelle* CStrJunctionList::GetMicroZelleAt(short x, short y) {
  CStrStrasse* s = nullptr;
  CStrStrassenTeil* piece = nullptr;
  if (!PointHitStreet(x, y, &s, &piece) || !s) return nullptr;
  return s->GetMicroZellen(static_cast<unsigned short>(x), static_cast<unsigned short>(y));
}

int CStrJunctionList::DestroyMicorSimAt(short x, short y) {
  CStrStrasse* s = nullptr;
  CStrStrassenTeil* piece = nullptr;
  if (!PointHitStreet(x, y, &s, &piece) || !s) return 1;
  return s->RemoveMicroSimAt(x, y);
}

bool CStrJunctionList::NewStreetHitStreet(short x1, short y1, short x2, short y2) {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext())
    if (AsJunction(o)->PointHitStreet(x1, y1) || AsJunction(o)->PointHitStreet(x2, y2)) return true;
  return false;
}

// ---- building a street -------------------------------------------------------------

bool CStrJunctionList::CellMayHoldStreet(const CStrJunction* j) {
  CIsoInfo* info = m_pIsoWelt ? m_pIsoWelt->GetIsoInfo(j->GetXPos(), j->GetYPos()) : nullptr;
  if (!info) return true;
  const TObjectType kind = info->GetType(ISO_LAYER_GROUND);
  if (kind == OBJ_GROUND || kind == OBJ_NONE) return false;
  // A drawn T junction or crossing is an end of its streets: a street
  // through its cell would have been split there. A dead end may still be
  // drawn over the street that a new street ends on, until that is split.
  if (kind == OBJ_CROSSING && j->GetAnzLinkedStreets() >= 3) {
    auto* cross = dynamic_cast<CKreuzObj*>(info->GetWorldObject(ISO_LAYER_GROUND));
    if (cross && cross->GetWorldObject() == j) return false;
  }
  return true;
}

bool CStrJunctionList::StreetUnder(CStrJunction* end, CStrStrasse** street, CStrStrassenTeil** piece, short* x,
                                   short* y) {
  if (!CellMayHoldStreet(end)) return false;
  // The street whose tile the cell shows is the one to ask first.
  CIsoInfo* info = m_pIsoWelt ? m_pIsoWelt->GetIsoInfo(end->GetXPos(), end->GetYPos()) : nullptr;
  auto* tile = info ? dynamic_cast<CStreetObj*>(info->GetWorldObject(ISO_LAYER_GROUND)) : nullptr;
  CStrStrasse* shown = tile ? tile->GetStreetList() : nullptr;
  if (shown && shown->GetStartJunction() != end && shown->GetEndJunction() != end &&
      shown->JunctionHitStreet(end, piece, *x, *y)) {
    *street = shown;
    return true;
  }
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    CStrJunction* j = AsJunction(o);
    if (j == end) continue;
    if ((*street = j->StreetHitRoad(end, piece, x, y)) != nullptr) return true;
  }
  return false;
}

int CStrJunctionList::CheckForJunctions(CStrJunction* a, CStrJunction* b, CStrassenType type) {
  int result = 99;
  CStrStrasse* s = nullptr;
  CStrStrassenTeil* piece = nullptr;
  short x = 0, y = 0;
  if (StreetUnder(a, &s, &piece, &x, &y)) {
    const int r = a->InsertTJunction(b, s, piece, x, y, type);
    if (r == 100 || r < 99) return r;
  }
  if (StreetUnder(b, &s, &piece, &x, &y)) {
    const int r = a->InsertTJunction(b, s, piece, x, y, type);
    if (r == 100) result = 100;
    if (r < 99) return r;
  }
  if (result == 100) return 100;
  // Both ends are junctions (their cells were asked above): the street is made.
  CStrStrasse* n = CreateNewStreet();
  n->Create(a, b, type);
  int r = 0;
  const bool throughJunction = StreetHitJunction(n, a, b, &r);
  DestroyStreet(n);
  if (throughJunction) return r;
  // A street crossed on the way is split first, also from a T junction.
  if (StreetHitStreet(a, b, type)) return 100;
  if (a->GetAnzLinkedStreets() == 3) return a->CreateKreuzung(b, type) ? 100 : 1;
  return 99;
}

bool CStrJunctionList::StreetHitJunction(CStrStrasse* street, CStrJunction* a, CStrJunction* b) {
  int r = 0;
  return StreetHitJunction(street, a, b, &r) && r == 100;
}

bool CStrJunctionList::StreetHitJunction(CStrStrasse* street, CStrJunction* a, CStrJunction* b, int* result) {
  CStrJunction* start = street->GetStartJunction();
  CStrJunction* end = street->GetEndJunction();
  // The street's cells bound where a junction it passes can stand.
  short x1 = SHRT_MAX, y1 = SHRT_MAX, x2 = SHRT_MIN, y2 = SHRT_MIN;
  for (uint32_t k = 1; k <= street->GetNumber(); ++k) {
    CStrStrassenTeil* p = street->GetStrassenTeil(static_cast<int>(k));
    x1 = std::min({x1, p->GetStartX(), p->GetEndX()});
    y1 = std::min({y1, p->GetStartY(), p->GetEndY()});
    x2 = std::max({x2, p->GetStartX(), p->GetEndX()});
    y2 = std::max({y2, p->GetStartY(), p->GetEndY()});
  }
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    CStrJunction* j = AsJunction(o);
    if (j == start || j == end) continue;
    const int jx = j->GetXPos(), jy = j->GetYPos();
    if (jx < x1 || jx > x2 || jy < y1 || jy > y2) continue;
    CStrStrassenTeil* piece = nullptr;
    short x = 0, y = 0;
    if (street->JunctionHitStreet(j, &piece, x, y)) {
      *result = j->InsertTJunction(street, piece, x, y, a, b);
      return true;
    }
  }
  return false;
}

bool CStrJunctionList::StreetHitStreet(CStrJunction* a, CStrJunction* b, CStrassenType type) {
  CStrStrasse* n = CreateNewStreet();
  if (n->Create(a, b, type) != 0) {
    DestroyStreet(n);
    return false;
  }
  bool built = false;
  for (CZorvaObject* o = GetHead(); o && !built; o = o->GetNext()) {
    CStrStrasse* hit = nullptr;
    CStrStrassenTeil* piece = nullptr;
    short x = 0, y = 0;
    if (!AsJunction(o)->StrHitStr(n, &hit, &piece, &x, &y, 0) || !hit) continue;
    CStrJunction* k = CreateNewJunction(x, y, type);
    if (!k) break;
    if (k->CreateKreuzung(n, hit, piece) != 0 || AddJunction(k) != 0) {
      if (k->IsDrawn()) k->RemoveFromIsoWelt();
      k->RemoveFromSimWelt();
      k->Destroy();
      delete k;
      break;
    }
    built = true;
  }
  DestroyStreet(n);
  return built;
}

// What an edit did before it knew whether it completes: the junctions it
// made, the types it changed and the dead ends it shifted. Unless the edit
// commits, the guard takes them back in reverse order when it goes, so a
// refused edit leaves the network, the map and the demand model as they
// were. The edit's checks (CheckDrag, the legality of a removal) run before
// anything that the guard could not take back.
class CStrJunctionList::EditGuard {
 public:
  explicit EditGuard(CStrJunctionList* list) : m_list(list) {}
  ~EditGuard() {
    if (m_done) return;
    for (auto it = m_steps.rbegin(); it != m_steps.rend(); ++it) {
      if (it->made) {
        if (it->junction->GetAnzLinkedStreets() == 0) m_list->RemoveJunction(it->junction);
      } else if (it->street) {
        it->street->SetType(it->type);
      } else if (it->dx != 0 || it->dy != 0) {
        m_list->MoveJunction(it->junction, static_cast<short>(-it->dx), static_cast<short>(-it->dy));
      } else {
        it->junction->SetType(it->type);
      }
    }
  }
  EditGuard(const EditGuard&) = delete;
  EditGuard& operator=(const EditGuard&) = delete;
  void Made(CStrJunction* j) { m_steps.push_back({j, nullptr, true, 0, 0, j->GetType()}); }
  void Moved(CStrJunction* j, short dx, short dy) { m_steps.push_back({j, nullptr, false, dx, dy, j->GetType()}); }
  // Before the types of a junction and its streets change.
  void Retyping(CStrJunction* j) {
    m_steps.push_back({j, nullptr, false, 0, 0, j->GetType()});
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i)
      m_steps.push_back({j, j->GetStreetByNR(i), false, 0, 0, j->GetStreetByNR(i)->GetStreetType()});
  }
  void Commit() { m_done = true; }
  bool MadeAny() const {
    for (const Step& s : m_steps)
      if (s.made) return true;
    return false;
  }

 private:
  struct Step {
    CStrJunction* junction;
    CStrStrasse* street;
    bool made;
    short dx, dy;
    CStrassenType type;
  };
  CStrJunctionList* m_list;
  std::vector<Step> m_steps;
  bool m_done = false;
};

CStrJunction* CStrJunctionList::JunctionAtCell(short x, short y) { return m_Cells.JunctionAt(x, y); }

void CStrJunctionList::MoveJunction(CStrJunction* j, short dx, short dy) {
  const int x = j->GetXPos(), y = j->GetYPos();
  j->MoveTo(dx, dy);
  m_Cells.MovedJunction(j, x, y);
}

namespace {

// A rectangle of cells, both corners included.
struct CellBox {
  int x1, y1, x2, y2;
  static CellBox Of(int ax, int ay, int bx, int by) {
    return {std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by)};
  }
  CellBox Grown(int by) const { return {x1 - by, y1 - by, x2 + by, y2 + by}; }
  bool Holds(int x, int y) const { return x >= x1 && x <= x2 && y >= y1 && y <= y2; }
  bool Meets(const CellBox& o) const { return x1 <= o.x2 && o.x1 <= x2 && y1 <= o.y2 && o.y1 <= y2; }
};

// The steps from a cell along the centre line of a street that covers it:
// both ways inside a piece, the two legs at a bend. 0 when it does not.
int StreetArmsAt(CStrStrasse* s, short x, short y, CStrJunction::Arm* arms) {
  int n = 0;
  auto add = [&](short dx, short dy) {
    for (int i = 0; i < n; ++i)
      if (arms[i].dx == dx && arms[i].dy == dy) return;
    if (n < 2) arms[n++] = {dx, dy, s->GetStreetType()};
  };
  for (int k = 1; CStrStrassenTeil* p = s->GetStrassenTeil(k); ++k) {
    const short sx = p->GetStartX(), sy = p->GetStartY(), ex = p->GetEndX(), ey = p->GetEndY();
    const bool inside = (sx == ex && x == sx && y >= std::min(sy, ey) && y <= std::max(sy, ey)) ||
                        (sy == ey && y == sy && x >= std::min(sx, ex) && x <= std::max(sx, ex));
    if (!inside || (sx == ex && sy == ey)) continue;
    if (x != ex || y != ey) add(static_cast<short>((ex > sx) - (ex < sx)), static_cast<short>((ey > sy) - (ey < sy)));
    if (x != sx || y != sy) add(static_cast<short>((sx > ex) - (sx < ex)), static_cast<short>((sy > ey) - (sy < ey)));
  }
  return n;
}

// What lies near a drag, from the network's cell index: the junctions,
// each street once, and the bridges' cells. A drag's checks ask it cell by
// cell.
class DragSurroundings {
 public:
  DragSurroundings(CStrCellIndex& cells, CIsoWelt* map, const CellBox& near) : m_map(map) {
    cells.JunctionsIn(near.x1, near.y1, near.x2, near.y2, &m_junctions);
    std::vector<CStrStrasse*> streets;
    cells.StreetsIn(near.x1, near.y1, near.x2, near.y2, &streets);
    for (CStrStrasse* s : streets) Gather(s, near);
  }

  // Whether an end on the cell lies on a street beside its centre line
  // (the second column of a four-lane street).
  bool StreetHits(short x, short y) const {
    for (CStrStrasse* s : m_streets)
      if (s->PointHit(x, y)) return true;
    return false;
  }

  CStrJunction* JunctionAt(int x, int y) const {
    for (CStrJunction* j : m_junctions)
      if (j->GetXPos() == x && j->GetYPos() == y) return j;
    return nullptr;
  }

  bool JunctionBeside(int x, int y) const {
    for (CStrJunction* j : m_junctions)
      if (std::abs(j->GetXPos() - x) <= 1 && std::abs(j->GetYPos() - y) <= 1) return true;
    return false;
  }

  // A river, or a bridge's cell.
  bool IsWater(int x, int y) const {
    if (!IsoInMap(x, y) || !m_map) return false;
    if (m_map->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND) ==
        OBJ_RIVER)
      return true;
    for (const CellBox& b : m_bridges)
      if (b.Holds(x, y)) return true;
    return false;
  }

  // Whether a street runs over the cell (x, y) other than straight on from
  // the cell (cx, cy): one that does not run over (cx, cy), or that does
  // but comes to (x, y) another way (bent back to run beside itself).
  bool OtherStreetOver(short x, short y, short cx, short cy) const {
    const auto dx = static_cast<short>((x > cx) - (x < cx)), dy = static_cast<short>((y > cy) - (y < cy));
    auto hasArm = [](const CStrJunction::Arm* arms, int n, short ax, short ay) {
      for (int a = 0; a < n; ++a)
        if (arms[a].dx == ax && arms[a].dy == ay) return true;
      return false;
    };
    CStrJunction::Arm atCell[2], atJunction[2];
    for (CStrStrasse* s : m_streets) {
      const int n = StreetArmsAt(s, x, y, atCell);
      if (n == 0) continue;
      const int m = StreetArmsAt(s, cx, cy, atJunction);
      const bool inLine = (dx == 0) != (dy == 0);
      if (!inLine || !hasArm(atJunction, m, dx, dy) || !hasArm(atCell, n, static_cast<short>(-dx), static_cast<short>(-dy)))
        return true;
    }
    return false;
  }

  // The arms of the streets whose centre line runs over the cell, at most `room`.
  int StreetArmsOver(short x, short y, CStrJunction::Arm* arms, int room) const {
    int count = 0;
    for (CStrStrasse* s : m_streets) {
      if (count > CStrJunction::kMaxStreets) break;
      CStrJunction::Arm found[2];
      const int m = StreetArmsAt(s, x, y, found);
      for (int a = 0; a < m && count < room; ++a) arms[count++] = found[a];
    }
    return count;
  }

 private:
  void Gather(CStrStrasse* s, const CellBox& near) {
    bool meets = false;
    for (int k = 1; CStrStrassenTeil* p = s->GetStrassenTeil(k); ++k) {
      meets = meets || near.Meets(CellBox::Of(p->GetStartX(), p->GetStartY(), p->GetEndX(), p->GetEndY()));
      CStrExtTlList* parts = p->GetExtraTeilList();
      if (!p->HitRiver() || !parts) continue;
      for (CZorvaObject* e = parts->GetHead(); e; e = e->GetNext())
        if (auto* bridge = dynamic_cast<CStrBride*>(e)) {
          const CellBox b = CellBox::Of(bridge->GetStartX(), bridge->GetStartY(), bridge->GetEndX(), bridge->GetEndY());
          if (near.Meets(b)) m_bridges.push_back(b);
        }
    }
    if (meets) m_streets.push_back(s);
  }

  CIsoWelt* m_map;
  std::vector<CStrJunction*> m_junctions;
  std::vector<CStrStrasse*> m_streets;
  std::vector<CellBox> m_bridges;
};

}  // namespace

bool CStrJunctionList::FarJunctionKeepsGraphic(CStrJunction* end, CStrassenType type) {
  return FarJunctionKeepsGraphic(end->GetStreetByNR(0), end, type);
}

bool CStrJunctionList::FarJunctionKeepsGraphic(CStrStrasse* s, CStrJunction* end, CStrassenType type) {
  CStrJunction* far = s->GetStartJunction() == end ? s->GetEndJunction() : s->GetStartJunction();
  if (!far || far == end || far->GetAnzLinkedStreets() < 3) return true;
  CStrJunction::Arm arms[CStrJunction::kMaxStreets];
  const int count = far->GetArms(arms);
  for (int i = 0; i < count; ++i)
    if (far->GetStreetByNR(i) == s) arms[i].type = type;
  int rotation = 0;
  return CStrJunction::GraphicForArms(arms, count, &rotation) != 0;
}

int CStrJunctionList::CheckDrag(short x1, short y1, short x2, short y2, CStrassenType type) {
  const short mx = static_cast<short>((x2 > x1) - (x2 < x1));
  const short my = static_cast<short>((y2 > y1) - (y2 < y1));
  const int n = std::abs(x2 - x1) + std::abs(y2 - y1);
  // Every cell a check below looks at lies within three cells of the drag.
  const DragSurroundings near(m_Cells, m_pIsoWelt, CellBox::Of(x1, y1, x2, y2).Grown(3));
  // The first refusal of each kind; the most basic one is given.
  bool water = false, fifth = false, along = false, noGraphic = false, noRoom = false;
  int crossed = 0, endsOnStreets = 0;
  // The last cell of the drag where a junction stands or will stand, and
  // whether a four-lane street meets there.
  int lastJunction = -1;
  bool lastFour = false;
  // The drag's cells (it is straight).
  const CellBox line = CellBox::Of(x1, y1, x2, y2);
  // Whether a street (of the four-lane type only, when asked) runs over the
  // cell along the drag's axis.
  auto runsAlong = [&near, mx](short x, short y, bool fourOnly) {
    CStrJunction::Arm arms[CStrJunction::kMaxStreets + 2];
    const int count = near.StreetArmsOver(x, y, arms, CStrJunction::kMaxStreets + 2);
    for (int a = 0; a < count; ++a)
      if ((!fourOnly || arms[a].type == STRASSE_VIERSPURIG) && (arms[a].dx != 0) == (mx != 0)) return true;
    return false;
  };
  for (int k = 0; k <= n; ++k) {
    const auto cx = static_cast<short>(x1 + k * mx);
    const auto cy = static_cast<short>(y1 + k * my);
    const bool end = k == 0 || k == n;
    if (end && near.IsWater(cx, cy)) water = true;
    // An end on a cell that a four-lane junction's group covers beside the
    // junction's own would be that junction, a cell away from the drag.
    // Nor does the drag run over such a cell of a junction it does not
    // meet: its tiles there would hide part of the group, and the group,
    // drawn again when the junction's streets change, would take the
    // drag's tiles and cells there, which would then lead nowhere.
    if (const CStrJunction* shown = FindJunctionAt(cx, cy);
        shown && (shown->GetXPos() != cx || shown->GetYPos() != cy) &&
        (end || !line.Holds(shown->GetXPos(), shown->GetYPos())))
      noRoom = true;
    // A four-lane drag's second column passes no junction, and runs over
    // water exactly where its centre line does: a bridge's record names the
    // centre line's river cells only, and its removal puts the river back
    // beside them too.
    if (type == STRASSE_VIERSPURIG) {
      const auto sx = static_cast<short>(cx + (my != 0)), sy = static_cast<short>(cy + (mx != 0));
      if (near.JunctionAt(sx, sy)) noRoom = true;
      if (near.IsWater(sx, sy) != near.IsWater(cx, cy)) water = true;
      // Nor runs along a street there: its group would be drawn over that
      // street's tiles, and its removal would leave ground under them.
      if (runsAlong(sx, sy, false)) noRoom = true;
    }
    // Any drag keeps off the second column of a four-lane street along it.
    if (runsAlong(static_cast<short>(cx - (my != 0)), static_cast<short>(cy - (mx != 0)), true)) noRoom = true;
    // A four-lane end's piece covers the cells beside and after its own.
    // A new end's piece is drawn over those cells: no other junction stands there.
    const bool newEnd = end && type == STRASSE_VIERSPURIG && !near.JunctionAt(cx, cy);
    // A new dead end's piece is drawn over the cells after it as well: no
    // street runs there, or the piece would take that street's tile and its
    // cells (a bend's among them) would lead nowhere.
    CStrJunction::Arm over[CStrJunction::kMaxStreets + 2];
    const bool deadEnd = newEnd && near.StreetArmsOver(cx, cy, over, CStrJunction::kMaxStreets + 2) == 0;
    const int after = k == 0 ? -1 : 1;
    if (deadEnd)
      for (int side = 0; side <= 1; ++side) {
        const auto ox = static_cast<short>(cx + after * mx + side * (my != 0));
        const auto oy = static_cast<short>(cy + after * my + side * (mx != 0));
        if (near.StreetArmsOver(ox, oy, over, CStrJunction::kMaxStreets + 2) > 0) noRoom = true;
      }
    if (end && type == STRASSE_VIERSPURIG)
      for (int along = -1; along <= 1; ++along)
        for (int side = 0; side <= 1; ++side) {
          const auto ox = static_cast<short>(cx + along * mx + side * (my != 0));
          const auto oy = static_cast<short>(cy + along * my + side * (mx != 0));
          if (near.IsWater(ox, oy)) water = true;
          if (newEnd && (along != 0 || side != 0) && near.JunctionAt(ox, oy)) noRoom = true;
        }
    CStrJunction::Arm arms[CStrJunction::kMaxStreets + 2];
    int count = 0;
    if (CStrJunction* j = near.JunctionAt(cx, cy)) {
      count = j->GetArms(arms);
      if (!end) ++crossed;
      // An end of fewer than three streets takes the larger one-tile type.
      if (end && count < 3 && type < STRASSE_VIERSPURIG && j->GetType() < STRASSE_VIERSPURIG) {
        for (int i = 0; i < count; ++i) arms[i].type = arms[i].type > type ? arms[i].type : type;
        // So does its street, which is an arm of the junction at its far
        // end too: that junction needs a graphic for it.
        if (count == 1 && !(arms[0].type == j->GetStreetByNR(0)->GetStreetType()) &&
            !FarJunctionKeepsGraphic(j, arms[0].type))
          noGraphic = true;
      }
    } else {
      count = near.StreetArmsOver(cx, cy, arms, CStrJunction::kMaxStreets + 2);
    }
    // Two junctions of the drag, new or old, leave room for a four-lane
    // junction's group between them: a four-lane street a tile between its
    // end groups, another street the cell after the group.
    if (end || count > 0) {
      bool fourHere = type == STRASSE_VIERSPURIG;
      for (int a = 0; a < count; ++a) fourHere = fourHere || arms[a].type == STRASSE_VIERSPURIG;
      if (lastJunction >= 0 && (fourHere || lastFour) && k - lastJunction < (type == STRASSE_VIERSPURIG ? 3 : 2))
        noRoom = true;
      lastJunction = k;
      lastFour = fourHere;
    }
    if (!near.JunctionAt(cx, cy)) {
      if (count == 0) {
        // An end on a four-lane street's second column lies on the street.
        if (end && near.StreetHits(cx, cy)) noRoom = true;
        continue;
      }
      if (count > 2) along = true;  // two streets over one cell
      if (near.IsWater(cx, cy)) water = true;
      if (end)
        ++endsOnStreets;
      else
        ++crossed;
    }
    // The new street's arms at the cell must be arms of their own.
    const int before = count;
    if (k > 0) arms[count++] = {static_cast<short>(-mx), static_cast<short>(-my), type};
    if (k < n) arms[count++] = {mx, my, type};
    for (int a = before; a < count; ++a)
      for (int b = 0; b < before; ++b)
        if (arms[a].dx == arms[b].dx && arms[a].dy == arms[b].dy) along = true;
    if (count > CStrJunction::kMaxStreets) {
      fifth = true;
      continue;
    }
    int rotation = 0;
    const int graphic = count >= 3 ? CStrJunction::GraphicForArms(arms, count, &rotation) : 0;
    if (count >= 3 && graphic == 0) noGraphic = true;
    // A new four-lane junction's group covers the cells around its own.
    bool four = false;
    for (int a = 0; a < count; ++a) four = four || arms[a].type == STRASSE_VIERSPURIG;
    if (four && !near.JunctionAt(cx, cy) && near.JunctionBeside(cx, cy)) noRoom = true;
    // A four-lane junction's group is drawn over every cell it covers; none
    // of them may be water.
    int gw = 0, gd = 0;
    if (four && graphic > 0 && m_pIsoWelt &&
        m_pIsoWelt->GetIsoGroupSize(graphic, static_cast<TIsoRichtung>(rotation & 3), gw, gd) == 0)
      for (int gx = cx; gx < cx + gw; ++gx)
        for (int gy = cy; gy < cy + gd; ++gy) {
          if (near.IsWater(static_cast<short>(gx), static_cast<short>(gy))) water = true;
          // Nor a street that does not meet at the junction: the group
          // would take that street's cells there.
          if ((gx != cx || gy != cy) && near.OtherStreetOver(static_cast<short>(gx), static_cast<short>(gy), cx, cy))
            noRoom = true;
          // Nor a bend of a street: the group would hide the tile that
          // joins the bend's two pieces.
          CStrJunction::Arm bend[CStrJunction::kMaxStreets];
          if ((gx != cx || gy != cy) &&
              near.StreetArmsOver(static_cast<short>(gx), static_cast<short>(gy), bend, CStrJunction::kMaxStreets) == 2 &&
              (bend[0].dx != -bend[1].dx || bend[0].dy != -bend[1].dy))
            noRoom = true;
        }
  }
  if (water) return STR_BUILD_ON_WATER;
  if (fifth) return STR_BUILD_BAD_REQUEST;
  if (along) return STR_BUILD_ALONG_STREET;
  if (crossed > 1 || (crossed == 1 && endsOnStreets > 0)) return STR_BUILD_CROSSES_SEVERAL;
  if (noGraphic) return STR_BUILD_NO_GRAPHIC;
  // A four-lane street needs room for its end groups and a tile between.
  if (noRoom || (type == STRASSE_VIERSPURIG && n < 3)) return STR_BUILD_NO_ROOM;
  return 0;
}

int CStrJunctionList::CreateStreet(CStrBuildRequest* preview, CStrassenType type) {
  if (!preview) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "pSelecRect==NULL");
    return STR_BUILD_BAD_REQUEST;
  }
  EditScope edit(this);
  // Everything below that does not complete is taken back by the guard.
  EditGuard guard(this);
  short x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  preview->GetStreetBuildRect(&x1, &y1, &x2, &y2);
  if (preview->DecStreetLength()) {
    short dx = 0, dy = 0;
    CStrJunction* dec1 = preview->GetDecJunction();
    preview->GetDecOffset(&dx, &dy);
    if (dec1) {
      MoveJunction(dec1, dx, dy);
      guard.Moved(dec1, dx, dy);
    }
    if (CStrJunction* dec2 = preview->GetSecDecOffset()) {
      MoveJunction(dec2, dx, dy);
      guard.Moved(dec2, dx, dy);
      if (!dec1) preview->StartAtJunction(dec2);
    }
  }
  if (!IsSupportedType(type)) {
    QNO_ERROR(QNO_SEV_ERROR, "Unsupported Street Type %d", type.GetValue());
    return STR_BUILD_BAD_REQUEST;
  }
  // The pieces of a street run along one axis inside the map.
  if (!IsoInMap(x1, y1) || !IsoInMap(x2, y2) || (x1 != x2 && y1 != y2)) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "street not straight inside the map");
    return STR_BUILD_BAD_REQUEST;
  }
  CStrassenType t = type;
  // An existing end of fewer than three streets takes the larger of two
  // one-tile types; the four-lane street and rails join only their own.
  auto typeFits = [](CStrJunction* j, CStrassenType tt) {
    if (tt < STRASSE_VIERSPURIG && j->GetType() < STRASSE_VIERSPURIG) return true;
    return j->GetType() == tt || j->GetAnzLinkedStreets() >= 3;
  };
  auto matchEnd = [&t, &guard](CStrJunction* j) {
    if (t < STRASSE_VIERSPURIG && j->GetType() < STRASSE_VIERSPURIG && !(j->GetType() == t) &&
        j->GetAnzLinkedStreets() < 3) {
      const CStrassenType larger = j->GetType() > t ? j->GetType() : t;
      guard.Retyping(j);
      t = larger;
      j->SetType(larger);
      if (CStrStrasse* first = j->GetStreetByNR(0)) first->SetType(larger);
    }
  };
  CStrJunction* a = FindJunctionAt(x1, y1);
  CStrJunction* b = FindJunctionAt(x2, y2);
  if ((a && !typeFits(a, t)) || (b && !typeFits(b, t))) return STR_BUILD_TYPE_CONFLICT;
  if (x1 == x2 && y1 == y2) return STR_BUILD_SAME_JUNCTION;
  if (a && b && (a->LeadTo(b) || b->LeadTo(a)) && a->GetAnzLinkedStreets() < 3 && b->GetAnzLinkedStreets() < 3)
    return STR_BUILD_ALREADY_JOINED;
  // A one-way street continues a dead end only in its street's direction:
  // out of the end its street runs into, into the end its street leaves.
  CStrassenType oneWay = t;
  for (CStrJunction* e : {a, b})
    if (e && e->GetAnzLinkedStreets() < 3 && oneWay < STRASSE_VIERSPURIG && e->GetType() < STRASSE_VIERSPURIG &&
        e->GetType() > oneWay)
      oneWay = e->GetType();
  if (oneWay == STRASSE_EINBAHN && ((a && a->GetAnzLinkedStreets() == 1 && a->GetStreetByNR(0)->GetEndJunction() != a) ||
                                    (b && b->GetAnzLinkedStreets() == 1 && b->GetStreetByNR(0)->GetStartJunction() != b)))
    return STR_BUILD_TYPE_CONFLICT;
  // A drag that the sequence below cannot build soundly changes nothing;
  // it is checked with the type it takes from the dead ends it continues
  // (oneWay: the larger one-tile type of those ends).
  if (const int refused = CheckDrag(x1, y1, x2, y2, oneWay); refused != 0) {
    if (refused == STR_BUILD_BAD_REQUEST) QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "m_AnzLinkedStreets>=4");
    return refused;
  }
  // A street crosses tracks only where a level crossing fits.
  if (m_pRailNet && t < STRASSE_SCHIENE)
    if (const int refused = m_pRailNet->CheckStreetDrag(x1, y1, x2, y2, t); refused != 0) return refused;
  if (m_pSimWelt && !m_pSimWelt->HasFreeIds(kBuildCrossingIds, kBuildStreetIds)) {
    QNO_ERROR(QNO_SEV_ERROR, "No free ids in SimWelt for street %d/%d -> %d/%d", x1, y1, x2, y2);
    return STR_BUILD_NO_IDS;
  }
  bool touches = false;
  if (a) {
    matchEnd(a);
  } else {
    touches = NewStreetHitStreet(x1, y1, x2, y2);
    a = CreateNewJunction(x1, y1, t);
    if (!a) return STR_BUILD_NO_JUNCTION;
    if (a->InsertIntoSimWelt() != 0 || AddJunction(a) != 0) {
      a->RemoveFromSimWelt();
      a->Destroy();
      delete a;
      return STR_BUILD_NO_JUNCTION;
    }
    guard.Made(a);
  }
  if (b) {
    matchEnd(b);
  } else {
    if (guard.MadeAny() && GetNumber() >= 2 && !touches) return STR_BUILD_OFF_NETWORK;
    b = CreateNewJunction(x2, y2, t);
    if (!b) return STR_BUILD_NO_JUNCTION;
    if (b->InsertIntoSimWelt() != 0 || AddJunction(b) != 0) {
      b->RemoveFromSimWelt();
      b->Destroy();
      delete b;
      return STR_BUILD_NO_JUNCTION;
    }
    guard.Made(b);
  }
  if (a->GetAnzLinkedStreets() >= CStrJunction::kMaxStreets || b->GetAnzLinkedStreets() >= CStrJunction::kMaxStreets) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "m_AnzLinkedStreets>=4");
    return STR_BUILD_BAD_REQUEST;
  }
  const int r = CheckForJunctions(a, b, t);
  if (r == 100) {
    // The repeat checks look for a street under an end; an end that was
    // dissolved into a bend has no streets and is no end any more.
    if (a->GetAnzLinkedStreets() == 1 && b->GetAnzLinkedStreets() > 0) CheckForJunctions(a, b, t);
    if (a->GetAnzLinkedStreets() == 2) {
      CStrStrasse* s = a->GetStreetByNR(0)->GetEndJunction() == b ? a->GetStreetByNR(0) : a->GetStreetByNR(1);
      a->HandleExtension(b, s);
    }
    if (b->GetAnzLinkedStreets() == 2) {
      CStrStrasse* s = b->GetStreetByNR(0)->GetStartJunction() == a ? b->GetStreetByNR(0) : b->GetStreetByNR(1);
      b->HandleExtension(a, s);
    }
    if (b->GetAnzLinkedStreets() == 1 && a->GetAnzLinkedStreets() > 0) CheckForJunctions(b, a, t);
  } else if (r == 99) {
    const int c = a->ConnectWith(b, t);
    if (c != 100) return c;
    if (b->GetAnzLinkedStreets() == 2) {
      CStrStrasse* s = b->GetStreetByNR(0)->GetStartJunction() == a ? b->GetStreetByNR(0) : b->GetStreetByNR(1);
      b->HandleExtension(a, s);
    }
    UpdateChanges();
  } else {
    // A junction on the way refused another arm.
    return STR_BUILD_BAD_REQUEST;
  }
  guard.Commit();
  UpdateChanges();
  QNO_ERROR(QNO_SEV_WARNING, "Build Street %d/%d --> %d/%d", x1, y1, x2, y2);
  return STR_BUILD_OK;
}

int CStrJunctionList::DeleteStreet(CStrStrasse* street) {
  if (!street) return 4;
  EditScope edit(this);
  EditGuard guard(this);
  for (CStrJunction* j : {street->GetStartJunction(), street->GetEndJunction()})
    if (j) guard.Retyping(j);
  const int r = street->DeleteStreet(this);
  if (r != 0) return r;
  guard.Commit();
  DestroyStreet(street);
  RemoveIsolatedJunctions();
  CStrJunctionList* net = CStrJunction::m_pStreetNet ? CStrJunction::m_pStreetNet : this;
  return net->UpdateChanges() != 0 ? 4 : 0;
}

int CStrJunctionList::RemoveIsolatedJunctions() {
  EditScope edit(this);
  for (CZorvaObject* o = GetHead(); o;) {
    CStrJunction* j = AsJunction(o);
    o = o->GetNext();
    if (j->GetAnzLinkedStreets() == 0) {
      RemoveJunction(j);
    } else if (j->GetAnzLinkedStreets() == 1) {
      if (j->GetAmpelType() > Ampel_Vorfahrt)
        j->RemoveAmpel();
      else if (j->GetAmpelType() == Ampel_Vorfahrt)
        j->RemoveVorfahr();
    }
  }
  return 0;
}

int CStrJunctionList::UpdateChanges() {
  EditScope edit(this);
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) AsJunction(o)->UpdateChanges();
  RemoveIsolatedJunctions();
  UpdateAmpel();
  if (!m_pRailNet) return 0;
  m_pRailNet->CheckForTrainCrossings(this);
  return m_pRailNet->UpdateChanges();
}

// ---- lights, micro cells and flows -----------------------------------------------

int CStrJunctionList::UpdateAmpel() {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    CStrJunction* j = AsJunction(o);
    if (j->GetAnzLinkedStreets() <= 2) continue;
    if (j->GetAmpelType() != Ampel_Rvl && j->HasLoopStreet()) {
      // A join made one street of two arms: the signs and lights, one per
      // street, cannot tell them apart and go, through the crossing's
      // settings where there are any, as a player takes them down.
      j->TakeDownControl();
    } else if (j->GetAmpelType() > Ampel_Vorfahrt) {
      CAmpelGroup* group = j->GetAmpelGroup();
      if (!group) {
        j->CreateNewAmpel();
        continue;
      }
      for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
        CStrStrasse* s = j->GetStreetByNR(i);
        if (i > 0 && j->GetStreetByNR(i - 1) == s) continue;
        // Every arm shows its light's pictures once: an edit may have drawn
        // its cell anew (a four-lane junction's group laid over it), and an
        // arm without a light stays out of the group and is met here after
        // every edit.
        s->AddAmpelLayer(j);
        if (!group->HasStreet(s)) group->Add(s->LinkAmpelAtJunction(j), s);
      }
      // The edit may have laid the arms' cells anew (a street joined at its
      // far end redraws its tiles beside a four-lane junction): the lights
      // lock the cells there now.
      j->UpdateAmpeln();
      // Arms that lead nothing in leave the group, and the lights follow
      // the priority direction the crossing shows: what a load rebuilds.
      // A priority arm that left took the pictures of the arms outside the
      // group with it: they stand again.
      if (j->ReleaseDarkArms())
        for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) j->GetStreetByNR(i)->AddAmpelLayer(j);
      if (CKreuzObj* crossing = j->GetKreuzObject()) crossing->FollowPriorityCode();
    } else if (j->GetAmpelType() == Ampel_Vorfahrt) {
      j->CreateVorfahr(Ampel_Vorfahrt);
    }
  }
  return 0;
}

int CStrJunctionList::UpdateAmpeln() {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext())
    if (AsJunction(o)->HasAmpel()) AsJunction(o)->UpdateAmpeln();
  return 0;
}

int CStrJunctionList::RemoveIsolatedGrdCrossings() {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    CStrJunction* j = AsJunction(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* s = j->GetStreetByNR(i);
      if (!s->RemoveIsolatedGrdCrossings()) continue;
      s->RemoveFromIsoWelt(false);
      s->InsertIntoIsoWelt();
    }
  }
  return 0;
}

int CStrJunctionList::TurnMicroSim() {
  RemoveViewMicroSim();
  LayViewMicroSim();
  return 0;
}

void CStrJunctionList::TurnNetworksMicroSim(CStrJunctionList* streets, CStrJunctionList* rails) {
  // The streets' layouts are laid first and the tracks' after them, their
  // level crossings joining the streets' cells on either side. A street
  // laid while a crossing still held the old view's layout would join its
  // cells to that one by the old screen places, taking the wrong lanes,
  // which its dead end or neighbour then could not take.
  {
    CQnoMicroZelle::WholeNetworksGo networksGo;
    if (streets) streets->RemoveViewMicroSim();
    if (rails) rails->RemoveViewMicroSim();
  }
  if (streets) streets->LayViewMicroSim();
  if (rails) rails->LayViewMicroSim();
}

void CStrJunctionList::RemoveViewMicroSim() {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    CStrJunction* j = AsJunction(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i)
      if (j->GetStreetByNR(i)->GetStartJunction() == j) j->GetStreetByNR(i)->RemoveMicroSim();
    if (j->GetAnzLinkedStreets() > 0) j->RemoveMicroSim();
  }
}

void CStrJunctionList::LayViewMicroSim() {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    CStrJunction* j = AsJunction(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* s = j->GetStreetByNR(i);
      // A loop street is met twice at its junction; its cells are made once.
      if (s->GetStartJunction() == j && !s->GetMicroZellenGroup()) s->CreateMicroZelle();
    }
  }
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext())
    if (AsJunction(o)->GetAnzLinkedStreets() > 0) AsJunction(o)->CreateMicroZelle();
  // The lights forgot their cells with the old layouts; they take the new ones.
  UpdateAmpeln();
}

