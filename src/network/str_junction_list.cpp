#include "network/str_junction_list.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "framework/qno_log.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "network/str_ampel.h"
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
  m_StreetsByID.clear();
  m_StreetIndexValid = false;
  return 0;
}

int CStrJunctionList::Destroy() {
  EditScope edit(this);
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
  m_StreetIndexValid = false;
  return 0;
}

int CStrJunctionList::RemoveJunction(CStrJunction* j) {
  if (!j) return 1;
  // A cell that still shows the junction is cleared; one that shows
  // something else (the street a refused end lay on) keeps it.
  if (j->IsDrawn()) j->RemoveFromIsoWelt();
  const uint32_t key = ListKey(j);
  j->RemoveFromSimWelt();
  m_StreetIndexValid = false;
  return DestroyObject(j, key);
}

void CStrJunctionList::DropNewJunction(CStrJunction* j) {
  if (j) RemoveJunction(j);
}

CStrJunction* CStrJunctionList::GetJunctionByID(unsigned short id) {
  return m_hashTable ? AsJunction(m_hashTable->GetEntry(id)) : nullptr;
}

void CStrJunctionList::RebuildStreetIndex() {
  m_StreetsByID.clear();
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    CStrJunction* j = AsJunction(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* s = j->GetStreetByNR(i);
      // The first junction in list order that holds a street answers.
      for (short id : {s->GetSimID(), s->GetSimIDSecond()})
        if (id != 0) m_StreetsByID.emplace(id, s);
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
  const auto it = m_StreetsByID.find(id);
  return it == m_StreetsByID.end() ? nullptr : it->second;
}

// ---- lookups ------------------------------------------------------------------------

CStrJunction* CStrJunctionList::FindJunctionAt(short x, short y) {
  if (static_cast<unsigned short>(x) > 127 || static_cast<unsigned short>(y) > 127 || !m_pIsoWelt) return nullptr;
  CIsoInfo* info = m_pIsoWelt->GetIsoInfo(x, y);
  if (!info) return nullptr;
  const TObjectType kind = info->GetType(ISO_LAYER_GROUND);
  if (kind != OBJ_RAIL_JUNCTION && kind != OBJ_CROSSING) return nullptr;
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
  CStrStrasse* n = CreateNewStreet();
  if (n->Create(a, b, type) != 0) {
    DestroyStreet(n);
    return 1;
  }
  int r = 0;
  const bool throughJunction = StreetHitJunction(n, a, b, &r);
  DestroyStreet(n);
  if (throughJunction) return r;
  if (a->GetAnzLinkedStreets() == 3) return a->CreateKreuzung(b, type) ? 100 : 1;
  return StreetHitStreet(a, b, type) ? 100 : 99;
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

int CStrJunctionList::CreateStreet(CStrBuildRequest* preview, CStrassenType type) {
  if (!preview) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "pSelecRect==NULL");
    return STR_BUILD_BAD_REQUEST;
  }
  EditScope edit(this);
  short x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  preview->GetStreetBuildRect(&x1, &y1, &x2, &y2);
  CStrJunction* dec1 = nullptr;
  CStrJunction* dec2 = nullptr;
  short dx = 0, dy = 0;
  if (preview->DecStreetLength()) {
    dec1 = preview->GetDecJunction();
    preview->GetDecOffset(&dx, &dy);
    if (dec1) dec1->MoveTo(dx, dy);
    dec2 = preview->GetSecDecOffset();
    if (dec2) {
      dec2->MoveTo(dx, dy);
      if (!dec1) preview->StartAtJunction(dec2);
    }
  }
  auto moveBack = [&]() {
    if (dec1) dec1->MoveTo(static_cast<short>(-dx), static_cast<short>(-dy));
    if (dec2) dec2->MoveTo(static_cast<short>(-dx), static_cast<short>(-dy));
  };
  if (!IsSupportedType(type)) {
    QNO_ERROR(QNO_SEV_ERROR, "Unsupported Street Type %d", type.GetValue());
    moveBack();
    return STR_BUILD_BAD_REQUEST;
  }
  // The pieces of a street run along one axis inside the map.
  if (!IsoInMap(x1, y1) || !IsoInMap(x2, y2) || (x1 != x2 && y1 != y2)) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "street not straight inside the map");
    moveBack();
    return STR_BUILD_BAD_REQUEST;
  }
  CStrassenType t = type;
  // An existing end of fewer than three streets takes the larger of two
  // one-tile types; the four-lane street and rails join only their own.
  auto matchEnd = [&t](CStrJunction* j) {
    if (t < STRASSE_VIERSPURIG && j->GetType() < STRASSE_VIERSPURIG) {
      if (!(j->GetType() == t) && j->GetAnzLinkedStreets() < 3) {
        const CStrassenType larger = j->GetType() > t ? j->GetType() : t;
        t = larger;
        j->SetType(larger);
        if (CStrStrasse* first = j->GetStreetByNR(0)) first->SetType(larger);
      }
      return true;
    }
    return j->GetType() == t || j->GetAnzLinkedStreets() >= 3;
  };
  CStrJunction* a = FindJunctionAt(x1, y1);
  CStrJunction* newA = nullptr;
  bool touches = false;
  if (a) {
    if (!matchEnd(a)) {
      moveBack();
      return STR_BUILD_TYPE_CONFLICT;
    }
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
    newA = a;
  }
  CStrJunction* b = FindJunctionAt(x2, y2);
  CStrJunction* newB = nullptr;
  if (b) {
    if (!matchEnd(b)) {
      DropNewJunction(newA);
      moveBack();
      return STR_BUILD_TYPE_CONFLICT;
    }
  } else {
    if (newA && GetNumber() >= 2 && !touches) {
      DropNewJunction(newA);
      moveBack();
      return STR_BUILD_OFF_NETWORK;
    }
    b = CreateNewJunction(x2, y2, t);
    if (!b) {
      moveBack();
      return STR_BUILD_NO_JUNCTION;
    }
    if (b->InsertIntoSimWelt() != 0 || AddJunction(b) != 0) {
      b->RemoveFromSimWelt();
      b->Destroy();
      delete b;
      moveBack();
      return STR_BUILD_NO_JUNCTION;
    }
    newB = b;
  }
  if (a == b) {
    DropNewJunction(newA);
    moveBack();
    return STR_BUILD_SAME_JUNCTION;
  }
  if ((a->LeadTo(b) || b->LeadTo(a)) && a->GetAnzLinkedStreets() < 3 && b->GetAnzLinkedStreets() < 3) {
    if (a->GetAnzLinkedStreets() == 0) DropNewJunction(a);
    if (b->GetAnzLinkedStreets() == 0) DropNewJunction(b);
    moveBack();
    return STR_BUILD_ALREADY_JOINED;
  }
  if (a->GetAnzLinkedStreets() >= CStrJunction::kMaxStreets || b->GetAnzLinkedStreets() >= CStrJunction::kMaxStreets) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "m_AnzLinkedStreets>=4");
    DropNewJunction(newA);
    DropNewJunction(newB);
    moveBack();
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
    if (c != 100) {
      // Junctions this call made and left without streets go at once.
      RemoveIsolatedJunctions();
      return c;
    }
    if (b->GetAnzLinkedStreets() == 2) {
      CStrStrasse* s = b->GetStreetByNR(0)->GetStartJunction() == a ? b->GetStreetByNR(0) : b->GetStreetByNR(1);
      if (a->GetAnzLinkedStreets() == 0 && s->GetStartJunction()) a = s->GetStartJunction();
      b->HandleExtension(a, s);
    }
    UpdateChanges();
  } else {
    // A junction on the way refused another arm.
    RemoveIsolatedJunctions();
    moveBack();
    return STR_BUILD_BAD_REQUEST;
  }
  UpdateChanges();
  QNO_ERROR(QNO_SEV_WARNING, "Build Street %d/%d --> %d/%d", x1, y1, x2, y2);
  return STR_BUILD_OK;
}

int CStrJunctionList::DeleteStreet(CStrStrasse* street) {
  if (!street) return 4;
  EditScope edit(this);
  const int r = street->DeleteStreet(this);
  if (r != 0) return r;
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
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    CStrJunction* j = AsJunction(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* s = j->GetStreetByNR(i);
      if (s->GetStartJunction() != j) continue;
      int flag = 0;
      m_pRailNet->CheckForTrainCrossing(j, j, s, &flag);
    }
  }
  return m_pRailNet->UpdateChanges();
}

// ---- lights, micro cells and flows -----------------------------------------------

int CStrJunctionList::UpdateAmpel() {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    CStrJunction* j = AsJunction(o);
    if (j->GetAnzLinkedStreets() <= 2) continue;
    if (j->GetAmpelType() > Ampel_Vorfahrt) {
      CAmpelGroup* group = j->GetAmpelGroup();
      if (!group) {
        j->CreateNewAmpel();
        continue;
      }
      for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
        CStrStrasse* s = j->GetStreetByNR(i);
        if (group->HasStreet(s)) continue;
        s->AddAmpelLayer(j);
        group->Add(s->LinkAmpelAtJunction(j), s);
      }
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
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    CStrJunction* j = AsJunction(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i)
      if (j->GetStreetByNR(i)->GetStartJunction() == j) j->GetStreetByNR(i)->RemoveMicroSim();
    if (j->GetAnzLinkedStreets() > 0) j->RemoveMicroSim();
  }
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
  return UpdateAmpeln();
}

// Stand-in: the way search between junctions answers that a way exists.
bool CStrJunctionList::CheckForWayFromJunctionToJunction(CStrJunction*, CStrJunction*) { return true; }

int CStrSchJuncList::Create() { return CList::Create(true, 2000); }
