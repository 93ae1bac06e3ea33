#include "network/str_strasse.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "framework/qno_log.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "microsim/micro_cells.h"
#include "iso/iso_info.h"
#include "network/str_ampel.h"
#include "network/str_junction.h"
#include "network/rail_junction_list.h"
#include "network/rail_track.h"
#include "network/str_junction_list.h"
#include "network/street_objects.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"
#include "worldbase/zor_world_host.h"

CIsoWelt* CStrStrasse::m_pIsoWelt = nullptr;
CSimWelt* CStrStrasse::m_pSimWelt = nullptr;
uint8_t CStrStrasse::m_InLoadFile = 0;
double CStrStrasse::m_TownLimit = 0.0;

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

void ParamError(const char* condition) { QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", condition); }

// Whether (x, y) is one of the piece's own tiles, both ends included.
bool Covers(const CStrStrassenTeil* p, int x, int y) {
  const int sx = p->GetStartX(), sy = p->GetStartY(), ex = p->GetEndX(), ey = p->GetEndY();
  if (sy == ey && y == sy) return x >= std::min(sx, ex) && x <= std::max(sx, ex);
  if (sx == ex && x == sx) return y >= std::min(sy, ey) && y <= std::max(sy, ey);
  return false;
}

bool AlongX(const CStrStrassenTeil* p) { return p->GetStartY() == p->GetEndY() && p->GetStartX() != p->GetEndX(); }

// The direction a street reports for a tile: 0 +x, 1 -y, 2 -x, 3 +y.
int ReportedRichtung(int mx, int my) {
  if (mx > 0) return 0;
  if (mx < 0) return 2;
  if (my < 0) return 1;
  return 3;
}

TObjectType GroundTypeAt(CIsoWelt* iso, int x, int y) {
  if (!iso || !IsoInMap(x, y)) return OBJ_NONE;
  return iso->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
}

CWorldObj* GroundObjectAt(CIsoWelt* iso, int x, int y) {
  if (!iso || !IsoInMap(x, y)) return nullptr;
  return iso->GetIsoTileObject(x, y, ISO_LAYER_GROUND);
}

}  // namespace

CStrStrasse::CStrStrasse(CIsoWelt* iso, CSimWelt* sim) {
  m_pIsoWelt = iso;
  m_pSimWelt = sim;
  // Pieces and extra parts read back from a savegame are made without the
  // map; they find it here.
  CStrStrassenTeil::m_pIsoWelt = iso;
  CStrExtTeil::m_pIsoWelt = iso;
}

CStrStrasse::~CStrStrasse() {
  // Owners call Destroy() first; what is left are pieces never handed out.
  CList::Destroy();
  delete m_pMicroZellen;
}

// ----------------------------------------------------------------- creation

int CStrStrasse::Create() {
  CList::Create(false, 0);
  if (!m_pWorldObj && m_pIsoWelt) {
    const TObjectType kind = m_Type == STRASSE_SCHIENE ? OBJ_RAIL_PIECE : OBJ_STREET_PIECE;
    m_pWorldObj = dynamic_cast<CStreetObj*>(m_pIsoWelt->GetHost()->CreateObject(kind));
    if (m_pWorldObj) m_pWorldObj->SetData(this);
  }
  m_Type = STRASSE_1;
  return 0;
}

int CStrStrasse::Create(CStrJunction* start, CStrJunction* end, CStrassenType type) {
  if (!end) {
    ParamError("pEndJ == NULL");
    return 1;
  }
  if (m_pStartJunction) {
    ParamError("m_pStartJunction != NULL");
    return 1;
  }
  if (m_pEndJunction) {
    ParamError("m_pEndJunction != NULL");
    return 1;
  }
  if (!start) {
    ParamError("pStartJ == NULL");
    return 1;
  }
  Create();
  m_Type = type;
  CStrStrassenTeil* piece = CreateNewStrassenTeil();
  piece->Create(static_cast<short>(start->GetXPos()), static_cast<short>(start->GetYPos()),
                static_cast<short>(end->GetXPos()), static_cast<short>(end->GetYPos()), nullptr,
                type == STRASSE_SCHIENE, type);
  m_pStartJunction = start;
  m_pEndJunction = end;
  AddHead(piece, 0);
  CalcLaenge();
  return 0;
}

int CStrStrasse::Create(CStrStrasse* other) {
  Create();
  if (!other) return 0;
  m_Type = other->m_Type;
  m_StrassenTeilCount = other->m_StrassenTeilCount;
  m_Mark = other->m_Mark;
  m_Auslastung = other->m_Auslastung;
  m_AuslastungSecond = other->m_AuslastungSecond;
  m_BusSpur = other->m_BusSpur;
  m_BusSpurLayer = 0;
  m_VLS = 0;
  // The parts of a split street keep its speed and capacity.
  other->KeepSimAttributes();
  m_Velocity = other->m_Velocity;
  m_VelocitySecond = other->m_VelocitySecond;
  m_VelocityBeforeLimit = other->m_VelocityBeforeLimit;
  m_Capacity = other->m_Capacity;
  m_CapacitySecond = other->m_CapacitySecond;
  return 0;
}

void CStrStrasse::ClearCellsOf(CWorldObj* obj) {
  if (!m_pIsoWelt || !obj || !Head()) return;
  int x1 = 127, y1 = 127, x2 = 0, y2 = 0;
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) {
    x1 = std::min({x1, static_cast<int>(p->GetStartX()), static_cast<int>(p->GetEndX())});
    y1 = std::min({y1, static_cast<int>(p->GetStartY()), static_cast<int>(p->GetEndY())});
    x2 = std::max({x2, static_cast<int>(p->GetStartX()), static_cast<int>(p->GetEndX())});
    y2 = std::max({y2, static_cast<int>(p->GetStartY()), static_cast<int>(p->GetEndY())});
  }
  m_pIsoWelt->ClearGroundOf(obj, x1 - 2, y1 - 2, x2 + 2, y2 + 2);
}

short CStrStrasse::DefaultCapacity() const {
  return static_cast<short>(m_pIsoWelt ? m_pIsoWelt->GetStreetGetCapacity(m_Type) : 0);
}

void CStrStrasse::KeepSimAttributes() {
  CSimTrafficSlot* slot = m_pSimWelt ? m_pSimWelt->EditingSlot() : nullptr;
  if (!slot) return;
  // The capacity is kept by SetCapacity itself (0: the type's).
  auto keep = [slot](short id, double* velocity) {
    CSimStreet* street = id != 0 ? slot->GetStreet(id) : nullptr;
    if (street && street->IsCreated()) *velocity = street->Velocity();
  };
  keep(m_SimID, &m_Velocity);
  keep(m_SimIDSecond, &m_VelocitySecond);
}

int CStrStrasse::Destroy() {
  RemoveMicroSim();
  if (m_pVLSObject) DestroyVLSObject();
  // An attached car park's guidance display stood by this street: it goes.
  if (CBuildingParkingObject* parking = m_pParking) {
    m_pParking = nullptr;
    CWorldHost::Get()->DestroyPLSObject(parking);
  }
  if (m_pWorldObj) {
    CStreetObj* obj = m_pWorldObj;
    ClearCellsOf(obj);
    m_pWorldObj = nullptr;
    obj->SetData(nullptr);
    if (m_pIsoWelt)
      m_pIsoWelt->GetHost()->DestroyObject(obj, 1);
    else {
      obj->Destroy();
      delete obj;
    }
  }
  m_pStartJunction = nullptr;
  m_pEndJunction = nullptr;
  return CList::Destroy();
}

CStrStrassenTeil* CStrStrasse::CreateNewStrassenTeil() { return new CStrStrassenTeil(m_pIsoWelt); }

CStrStrassenTeil* CStrStrasse::CreateNewStrassenTeil(CStrStrassenTeil* old) {
  if (!old) {
    ParamError("pOldTeil==NULL");
    return nullptr;
  }
  return new CStrStrassenTeil(old);
}

// ----------------------------------------------------------------- geometry

short CStrStrasse::GetStartPosX() { return Head() ? Head()->GetStartX() : -1; }
short CStrStrasse::GetStartPosY() { return Head() ? Head()->GetStartY() : -1; }
short CStrStrasse::GetEndPosX() { return Tail() ? Tail()->GetEndX() : -1; }
short CStrStrasse::GetEndPosY() { return Tail() ? Tail()->GetEndY() : -1; }

CStrStrassenTeil* CStrStrasse::GetStrassenTeil(int n) {
  return n < 1 ? nullptr : static_cast<CStrStrassenTeil*>(GetAt(static_cast<uint32_t>(n)));
}

CStrStrassenTeil* CStrStrasse::FindStrassenTeilAt(short x, short y) {
  for (CStrStrassenTeil* p = Head(); p; p = Next(p))
    if (Covers(p, x, y)) return p;
  return nullptr;
}

bool CStrStrasse::PointHit(short x, short y) {
  CStrStrasse* s = nullptr;
  CStrStrassenTeil* t = nullptr;
  return PointHit(x, y, &s, &t);
}

bool CStrStrasse::PointHit(short x, short y, CStrStrasse** street, CStrStrassenTeil** piece) {
  const bool wide = m_Type > STRASSE_EINBAHN;
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) {
    bool hit = Covers(p, x, y);
    if (!hit && wide) hit = AlongX(p) ? Covers(p, x, y - 1) : Covers(p, x - 1, y);
    if (hit) {
      if (street) *street = this;
      if (piece) *piece = p;
      return true;
    }
  }
  return false;
}

CStrStrassenTeil* CStrStrasse::GetStrassenTeilAt(short x, short y) {
  CStrStrassenTeil* t = nullptr;
  return PointHit(x, y, nullptr, &t) ? t : nullptr;
}

int CStrStrasse::GetStreetDirectionAt(unsigned short x, unsigned short y, signed char& dx, signed char& dy) {
  dx = dy = 0;
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) {
    if (!Covers(p, x, y)) continue;
    const bool bendAtEnd = Next(p) && p->GetEndX() == x && p->GetEndY() == y;
    const bool bendAtStart = Prev(p) && p->GetStartX() == x && p->GetStartY() == y;
    if (!bendAtEnd && !bendAtStart) p->CalcM(dx, dy);
    return 0;
  }
  return 0;
}

int CStrStrasse::GetRichtung(int x, int y, unsigned char& found, int& firstDir, bool& bend) {
  found = 0;
  bend = false;
  if (!IsoInMap(x, y)) return 0;
  const bool wide = m_Type >= STRASSE_VIERSPURIG;
  int result = 0;
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) {
    if (Next(p) && p->GetEndX() == x && p->GetEndY() == y) bend = true;
    bool passes = Covers(p, x, y);
    if (!passes && wide) {
      passes = AlongX(p) ? Covers(p, x, y - 1) : Covers(p, x - 1, y);
      // The 2 x 2 bend tiles beyond the piece's ends toward its neighbours.
      auto inBend = [x, y](int bx, int by) { return x >= bx && x <= bx + 1 && y >= by && y <= by + 1; };
      if (!passes && Next(p)) passes = inBend(p->GetEndX(), p->GetEndY());
      if (!passes && Prev(p)) passes = inBend(p->GetStartX(), p->GetStartY());
    }
    if (!passes) continue;
    signed char mx = 0, my = 0;
    p->CalcM(mx, my);
    const int d = ReportedRichtung(mx, my);
    if (!found) {
      found = 1;
      firstDir = d;
      result = d;
    } else {
      result = d;
      break;
    }
  }
  return result;
}

int CStrStrasse::GetKurvenRichtung(CIsoRichtung* r, CStrStrassenTeil* a, CStrStrassenTeil* b) {
  if (!r || !a || !b) return 1;
  signed char ax = 0, ay = 0, bx = 0, by = 0;
  a->CalcM(ax, ay);
  b->CalcM(bx, by);
  auto is = [&](int px, int py, int qx, int qy) { return ax == px && ay == py && bx == qx && by == qy; };
  int v = -1;
  if (is(0, -1, 1, 0) || is(-1, 0, 0, 1))
    v = 0;
  else if (is(0, -1, -1, 0) || is(1, 0, 0, 1))
    v = 1;
  else if (is(1, 0, 0, -1) || is(0, 1, -1, 0))
    v = 2;
  else if (is(-1, 0, 0, -1) || is(0, 1, 1, 0))
    v = 3;
  if (v < 0) return 1;
  *r = CIsoRichtung(v);
  return 0;
}

bool CStrStrasse::JunctionHitStreet(CStrJunction* junction, CStrStrassenTeil** piece, short& x, short& y) {
  if (!junction) return false;
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) {
    bool hit = p->JunctionHitStreet(junction, x, y);
    if (!hit && Next(p) && p->GetEndX() == junction->GetXPos() && p->GetEndY() == junction->GetYPos()) {
      x = p->GetEndX();
      y = p->GetEndY();
      hit = true;
    }
    if (hit) {
      if (piece) *piece = p;
      return true;
    }
  }
  return false;
}

bool CStrStrasse::StrHitStr(CStrStrasse* other, CStrStrasse** street, CStrStrassenTeil** piece, short& x, short& y,
                            int skip) {
  if (!other) return false;
  int seen = 0;
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) {
    for (CStrStrassenTeil* q = other->Head(); q; q = Next(q)) {
      short hx = 0, hy = 0;
      if (!p->Hit(q, hx, hy)) continue;
      if (seen++ < skip) continue;
      if (street) *street = this;
      if (piece) *piece = p;
      x = hx;
      y = hy;
      return true;
    }
  }
  return false;
}

int CStrStrasse::SetupStrassenTeilCount(short simId) {
  m_StrassenTeilCount = simId != 0 && simId != m_SimID ? static_cast<int32_t>(GetNumber()) : 1;
  return 0;
}

CStrStrassenTeil* CStrStrasse::GetNextStrassenTeil(int* x1, int* y1, int* x2, int* y2, short simId) {
  const bool upward = simId == 0 || simId == m_SimID;
  CStrStrassenTeil* p = GetStrassenTeil(m_StrassenTeilCount);
  if (!p) return nullptr;
  m_StrassenTeilCount += upward ? 1 : -1;
  if (x1 && y1 && x2 && y2) {
    *x1 = upward ? p->GetStartX() : p->GetEndX();
    *y1 = upward ? p->GetStartY() : p->GetEndY();
    *x2 = upward ? p->GetEndX() : p->GetStartX();
    *y2 = upward ? p->GetEndY() : p->GetStartY();
  }
  return p;
}

int CStrStrasse::CalculateLengthFromJunctionToXYIso(CStrJunction* junction, short simId, int x, int y,
                                                    int* length) {
  if (!length || !m_pIsoWelt) return 1;
  const TObjectType target = GroundTypeAt(m_pIsoWelt, x, y);
  if (target != OBJ_STREET_PIECE && target != OBJ_STREET_GROUP && target != OBJ_RAIL_PIECE) return 1;
  CIsoObjGroup* targetGroup = IsoInMap(x, y) ? m_pIsoWelt->GetGroupAt(static_cast<unsigned short>(x),
                                                                       static_cast<unsigned short>(y), ISO_LAYER_GROUND)
                                             : nullptr;
  const bool forward = junction == m_pStartJunction && simId == m_SimID;
  int sum = 0;
  for (CStrStrassenTeil* p = forward ? Head() : Tail(); p; p = forward ? Next(p) : Prev(p)) {
    const int sx = forward ? p->GetStartX() : p->GetEndX(), sy = forward ? p->GetStartY() : p->GetEndY();
    const int ex = forward ? p->GetEndX() : p->GetStartX(), ey = forward ? p->GetEndY() : p->GetStartY();
    if (sx != ex && sy != ey) return 1;
    if (Covers(p, x, y) || (targetGroup && p->HasExtraTeilAt(static_cast<short>(x), static_cast<short>(y)))) {
      const int mx = Sign(ex - sx), my = Sign(ey - sy);
      const int n = std::abs(ex - sx) + std::abs(ey - sy);
      for (int i = 0; i <= n; ++i) {
        const int tx = sx + i * mx, ty = sy + i * my;
        const TObjectType t = GroundTypeAt(m_pIsoWelt, tx, ty);
        if (t != OBJ_STREET_PIECE && t != OBJ_STREET_GROUP && t != OBJ_CROSSING && t != OBJ_CROSSING_GROUP &&
            t != OBJ_RAIL_PIECE && t != OBJ_RAIL_JUNCTION)
          return 1;
        const bool same = tx == x && ty == y;
        const bool sameGroup =
            targetGroup && m_pIsoWelt->GetGroupAt(static_cast<unsigned short>(tx), static_cast<unsigned short>(ty),
                                                  ISO_LAYER_GROUND) == targetGroup;
        if (same || sameGroup) {
          *length = sum + i * 100;
          return 0;
        }
      }
      return 1;
    }
    sum += p->CalcLaenge();
  }
  return 1;
}

int CStrStrasse::CalcSimDirection(bool atStart) {
  short dx = 0, dy = 0;
  if (atStart)
    CalcMAtHead(&dx, &dy);
  else
    CalcMAtTail(&dx, &dy);
  const int v = 2 * dx + dy;
  return v < 0 ? v + 2 : v + 1;
}

void CStrStrasse::CalcMAtHead(short* dx, short* dy) {
  *dx = *dy = 0;
  if (Head()) Head()->CalcM(*dx, *dy);
}

void CStrStrasse::CalcMAtTail(short* dx, short* dy) {
  *dx = *dy = 0;
  if (!Tail()) return;
  Tail()->CalcM(*dx, *dy);
  *dx = static_cast<short>(-*dx);
  *dy = static_cast<short>(-*dy);
}

int CStrStrasse::CalcMAtPos(CStrJunction* junction, short* dx, short* dy) {
  if (!dx || !dy) return 1;
  *dx = *dy = 0;
  if (!junction) {
    ParamError("pTargetJ==NULL");
    return 1;
  }
  if (GetNumber() <= 0) {
    ParamError("GetNumber()<=0");
    return 1;
  }
  if (junction == m_pStartJunction) {
    CalcMAtHead(dx, dy);
    return 0;
  }
  if (junction == m_pEndJunction) {
    CalcMAtTail(dx, dy);
    return 0;
  }
  QNO_ERROR(QNO_SEV_ERROR, "Strasse von (%d/%d) --> (%d/%d) ist ", GetStartPosX(), GetStartPosY(), GetEndPosX(),
            GetEndPosY());
  QNO_ERROR(QNO_SEV_ERROR, " nicht an Junction at (%d/%d) gelinked", junction->GetXPos(), junction->GetYPos());
  return 1;
}

int CStrStrasse::GetFirstIsoPos(short* x, short* y) {
  CStrStrassenTeil* p = Head();
  if (!p || !x || !y) return 1;
  short mx = 0, my = 0;
  p->CalcM(mx, my);
  *x = static_cast<short>(p->GetStartX() + mx);
  *y = static_cast<short>(p->GetStartY() + my);
  StepPastJunctionGroup(m_pStartJunction, mx, my, x, y);
  return 0;
}

int CStrStrasse::GetLastIsoPos(short* x, short* y) {
  CStrStrassenTeil* p = Tail();
  if (!p || !x || !y) return 1;
  short mx = 0, my = 0;
  CalcMAtTail(&mx, &my);
  *x = static_cast<short>(p->GetEndX() + mx);
  *y = static_cast<short>(p->GetEndY() + my);
  StepPastJunctionGroup(m_pEndJunction, mx, my, x, y);
  return 0;
}

// A junction drawn as a group (four-lane or rail) is wider than one cell:
// the street's cell beside it lies past the group's far side when the street
// leaves towards +x or +y.
void CStrStrasse::StepPastJunctionGroup(CStrJunction* j, short mx, short my, short* x, short* y) {
  if (!j || !m_pIsoWelt || !IsoInMap(j->GetXPos(), j->GetYPos())) return;
  CIsoObjGroup* g = m_pIsoWelt->GetGroupAt(j->GetXPos(), j->GetYPos(), ISO_LAYER_GROUND);
  if (!g) return;
  if (mx > 0)
    *x = static_cast<short>(*x - 1 + g->GetTurnedSizeX());
  else if (my > 0)
    *y = static_cast<short>(*y - 1 + g->GetTurnedSizeY());
}

int CStrStrasse::CalcLaenge() {
  int sum = 0;
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) sum += p->CalcLaenge();
  m_Laenge = sum + 100;
  return m_Laenge;
}

bool CStrStrasse::IsSameGroup(short x1, short y1, short x2, short y2) {
  if (m_Type != STRASSE_VIERSPURIG && m_Type != STRASSE_SCHIENE) return false;
  if (!m_pIsoWelt || !IsoInMap(x1, y1) || !IsoInMap(x2, y2)) return false;
  return m_pIsoWelt->IsSameGroup(static_cast<unsigned short>(x1), static_cast<unsigned short>(y1),
                                 static_cast<unsigned short>(x2), static_cast<unsigned short>(y2), ISO_LAYER_GROUND);
}

bool CStrStrasse::IsWorldTileOfStreet(short x, short y) {
  CWorldObj* obj = GroundObjectAt(m_pIsoWelt, x, y);
  return obj && obj == m_pWorldObj;
}

// ------------------------------------------------------ junctions and graph

int CStrStrasse::Relink(CStrJunction* start, CStrJunction* end) { return SetJunctions(start, end); }

int CStrStrasse::SetJunctions(CStrJunction* start, CStrJunction* end) {
  m_pStartJunction = start;
  m_pEndJunction = end;
  return 0;
}

int CStrStrasse::SetEndJunction(CStrJunction* end) {
  if (!end) {
    ParamError("pNewEndJunction == NULL");
    return 1;
  }
  if (GetNumber() <= 0) {
    ParamError("GetNumber()<=0");
    return 1;
  }
  Tail()->SetEnd(static_cast<short>(end->GetXPos()), static_cast<short>(end->GetYPos()));
  m_pEndJunction = end;
  end->LinkStreet(this);
  CalcLaenge();
  return 0;
}

int CStrStrasse::Turn() {
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) p->Turn();
  TurnMembers();
  std::swap(m_pStartJunction, m_pEndJunction);
  return 0;
}

void CStrStrasse::TakePiecesOf(CStrStrasse* other) {
  while (CStrStrassenTeil* p = other->Head()) {
    AddTail(CreateNewStrassenTeil(p), 0);
    other->DestroyObject(p, 0);
  }
}

void CStrStrasse::RelightEnds() {
  for (CStrJunction* j : {m_pStartJunction, m_pEndJunction})
    if (j && j->HasAmpel() && j->GetAmpelGroup() && j->GetAmpelGroup()->HasStreet(this)) {
      AddAmpelLayer(j);
    }
}

int CStrStrasse::LinkStreet(CStrStrasse* other, CStrJunction* bend) {
  if (!other) {
    ParamError("pLinkStreet==NULL");
    return 1;
  }
  if (!bend) {
    ParamError("pKurveJunc==NULL");
    return 1;
  }
  if (m_Type > STRASSE_EINBAHN || other->m_Type > STRASSE_EINBAHN) {
    if (!(m_Type == other->m_Type)) return 1;
  } else if (!(m_Type == other->m_Type)) {
    const CStrassenType larger = m_Type > other->m_Type ? m_Type : other->m_Type;
    m_Type = larger;
    other->m_Type = larger;
  }
  if (other->m_BusSpur) m_BusSpur = 1;
  CStrJunction* far = other->m_pStartJunction == bend ? other->m_pEndJunction : other->m_pStartJunction;
  // Both streets run through the bend: this one ends there, the other starts there.
  if (m_pStartJunction == bend && m_pEndJunction != bend) Turn();
  if (other->m_pStartJunction != bend) other->Turn();
  // At the far end the joined street is the leg the other street was.
  const bool kept = far && far != bend && far->HandOverStreet(other, this) == 0;
  if (other->m_pStartJunction) other->m_pStartJunction->UnLinkStreet(other);
  if (!kept && other->m_pEndJunction && other->m_pEndJunction != other->m_pStartJunction)
    other->m_pEndJunction->UnLinkStreet(other);
  bend->UnLinkStreet(this);
  RemoveFromIsoWelt(false);
  other->RemoveFromIsoWelt(false);
  RemoveMicroSim();
  other->RemoveMicroSim();
  m_pEndJunction = far;
  if (far && !kept) far->LinkStreet(this);
  bend->RemoveFromIsoWelt();
  TakePiecesOf(other);
  other->RemoveFromSimWelt();
  other->Destroy();
  delete other;
  RemoveFromSimWelt();
  InsertIntoSimWelt();
  InsertIntoIsoWelt();
  // The joined street may have taken the other's type: the junctions at
  // its ends show the graphic of their arms.
  for (CStrJunction* j : {m_pStartJunction, m_pEndJunction})
    if (j) j->RedrawIfStale();
  RelightEnds();
  return 0;
}

int CStrStrasse::ConnetWith(CStrStrasse* other, CStrJunction* junction) {
  if (!other || !junction || other == this) {
    ParamError("pConnectStreet==NULL || pAtJunction==NULL");
    return 1;
  }
  // This street is to end at the junction and the other to start there.
  if (m_pEndJunction != junction && m_pStartJunction == junction) Turn();
  if (other->m_pStartJunction != junction && other->m_pEndJunction == junction) other->Turn();
  if (m_pEndJunction != junction || other->m_pStartJunction != junction) return 1;
  short ax = 0, ay = 0, bx = 0, by = 0;
  CalcMAtPos(junction, &ax, &ay);
  other->CalcMAtPos(junction, &bx, &by);
  const bool bend = ax != -bx && ay != -by;
  RemoveFromIsoWelt(false);
  other->RemoveFromIsoWelt(false);
  TakePiecesOf(other);
  junction->UnLinkStreet(other);
  CStrJunction* far = other->m_pEndJunction;
  // At the far end the joined street is the leg the other street was.
  const bool kept = far && far != junction && far->HandOverStreet(other, this) == 0;
  if (far && far != junction && !kept) far->UnLinkStreet(other);
  m_pEndJunction = far;
  if (far && !kept) far->LinkStreet(this);
  if (!bend) junction->UnLinkStreet(this);
  other->RemoveFromSimWelt();
  other->Destroy();
  delete other;
  int result = 0;
  if (bend) {
    CalcLaenge();
  } else if (Optimize() != 0) {
    result = 1;
  }
  RemoveFromSimWelt();
  InsertIntoSimWelt();
  // Drawn again whatever Optimize found: the street stays registered.
  InsertIntoIsoWelt();
  RelightEnds();
  if (!bend && m_Type == STRASSE_SCHIENE) {
    for (CStrJunction* j : {m_pStartJunction, m_pEndJunction}) {
      if (!j) continue;
      j->RemoveFromIsoWelt();
      j->InsertIntoIsoWelt();
    }
  }
  return result;
}

int CStrStrasse::Optimize() {
  CStrStrassenTeil* a = Head();
  while (a && Next(a)) {
    CStrStrassenTeil* b = Next(a);
    signed char ax = 0, ay = 0, bx = 0, by = 0;
    a->CalcM(ax, ay);
    b->CalcM(bx, by);
    if (ax == bx && ay == by) {
      a->SetEnd(b->GetEndX(), b->GetEndY());
      a->AddExtraTeilList(b->GetExtraTeilList());
      DestroyObject(b, 0);
      return 0;
    }
    const bool aSingle = a->GetStartX() == a->GetEndX() && a->GetStartY() == a->GetEndY();
    const bool bSingle = b->GetStartX() == b->GetEndX() && b->GetStartY() == b->GetEndY();
    if (aSingle) {
      b->SetStart(a->GetStartX(), a->GetStartY());
      b->AddExtraTeilList(a->GetExtraTeilList());
      DestroyObject(a, 0);
      a = b;
    } else if (bSingle) {
      a->SetEnd(b->GetEndX(), b->GetEndY());
      a->AddExtraTeilList(b->GetExtraTeilList());
      DestroyObject(b, 0);
    } else {
      a = b;
    }
  }
  return 1;
}

int CStrStrasse::SplitAt(CStrStrassenTeil* piece, short x, short y, CStrStrasse** first, CStrStrasse** second) {
  if (!piece || !first || !second || !Contains(piece)) return 0;
  const bool atBend = Next(piece) && piece->GetEndX() == x && piece->GetEndY() == y;
  const bool rail = m_Type == STRASSE_SCHIENE;
  CStrStrasse* a = NewSibling();
  a->Create(this);
  for (CStrStrassenTeil* p = Head(); p != piece; p = Next(p)) a->AddTail(CreateNewStrassenTeil(p), 0);
  CStrStrassenTeil* head = a->CreateNewStrassenTeil();
  head->Create(piece->GetStartX(), piece->GetStartY(), x, y, piece->GetExtraTeilList(), rail, m_Type);
  a->AddTail(head, 0);
  CStrStrasse* b = NewSibling();
  b->Create(this);
  if (!atBend) {
    CStrStrassenTeil* tail = b->CreateNewStrassenTeil();
    tail->Create(x, y, piece->GetEndX(), piece->GetEndY(), piece->GetExtraTeilList(), rail, m_Type);
    b->AddTail(tail, 0);
  }
  for (CStrStrassenTeil* p = Next(piece); p; p = Next(p)) b->AddTail(CreateNewStrassenTeil(p), 0);
  a->Optimize();
  b->Optimize();
  a->CalcLaenge();
  b->CalcLaenge();
  *first = a;
  *second = b;
  return 1;
}

namespace {

// What deleting a street makes of the streets at its ends, as the deletion
// does it: an end left with two streets joins them into one between their
// far ends with the larger type, its start first and then its end, so that
// the second join may take in the street the first made.
class DeletionJoins {
 public:
  // A street after the joins: the streets it is made of, its ends (start
  // first where it runs one way) and its type.
  struct Joined {
    std::vector<const CStrStrasse*> parts;
    CStrJunction* p;
    CStrJunction* q;
    CStrassenType type;
  };

  explicit DeletionJoins(const CStrStrasse* gone) : m_gone(gone) {
    CStrJunction* a = gone->GetStartJunction();
    CStrJunction* b = gone->GetEndJunction();
    for (CStrJunction* j : {a, b})
      for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
        const CStrStrasse* s = j->GetStreetByNR(i);
        if (!s || s == gone || !s->GetStartJunction() || !s->GetEndJunction() || Of(s)) continue;
        m_streets.push_back({{s}, s->GetStartJunction(), s->GetEndJunction(), s->GetStreetType()});
      }
    for (const Joined& e : m_streets) {
      Held(e.p);
      Held(e.q);
    }
    for (CStrJunction* j : {a, b}) Join(j);
  }

  // Whether every join joins streets that may be one: two one-way streets
  // only when one runs in and the other out.
  bool Legal() const { return m_legal; }

  // Whether a street is left from a junction back to it with nothing else
  // at that junction.
  bool LeavesLoneRing() {
    for (const Joined& e : m_streets)
      if (e.p == e.q && Held(e.p) == 2) return true;
    return false;
  }

  // Whether every junction of three or four streets that stays, whose arms
  // lose the street or take another type, has a graphic for its arms then.
  bool KeepGraphics() {
    std::vector<CStrJunction*> touched = {m_gone->GetStartJunction(), m_gone->GetEndJunction()};
    for (const Joined& e : m_streets)
      for (const CStrStrasse* s : e.parts)
        if (!(s->GetStreetType() == e.type)) {
          touched.push_back(e.p);
          touched.push_back(e.q);
        }
    for (CStrJunction* j : touched) {
      if (Held(j) < 3) continue;
      CStrJunction::Arm all[CStrJunction::kMaxStreets];
      CStrJunction::Arm arms[CStrJunction::kMaxStreets];
      const int n = j->GetArms(all);
      int count = 0;
      for (int i = 0; i < n; ++i) {
        const CStrStrasse* s = j->GetStreetByNR(i);
        if (s == m_gone) continue;
        arms[count] = all[i];
        if (const Joined* e = Of(s)) arms[count].type = e->type;
        ++count;
      }
      int rotation = 0;
      if (count >= 3 && CStrJunction::GraphicForArms(arms, count, &rotation) == 0) return false;
    }
    return true;
  }

 private:
  // The streets the junction holds once the deleted street has gone and
  // the joins are made (0 at a junction a join took away).
  int& Held(CStrJunction* j) {
    for (auto& [k, n] : m_held)
      if (k == j) return n;
    m_held.push_back({j, j->GetAnzLinkedStreets() - (m_gone->GetStartJunction() == j) - (m_gone->GetEndJunction() == j)});
    return m_held.back().second;
  }

  const Joined* Of(const CStrStrasse* s) const {
    for (const Joined& e : m_streets)
      if (std::find(e.parts.begin(), e.parts.end(), s) != e.parts.end()) return &e;
    return nullptr;
  }

  void Join(CStrJunction* j) {
    if (Held(j) != 2) return;
    std::vector<size_t> at;
    for (size_t i = 0; i < m_streets.size(); ++i) {
      if (m_streets[i].p == j) at.push_back(i);
      if (m_streets[i].q == j) at.push_back(i);
    }
    if (at.size() != 2 || at[0] == at[1]) return;
    const Joined u = m_streets[at[0]];
    const Joined w = m_streets[at[1]];
    const bool uOneWay = u.type == STRASSE_EINBAHN, wOneWay = w.type == STRASSE_EINBAHN;
    // A street the first join made may have become one-way. (The four-lane
    // street's rule needs no second look: a join keeps a four-lane type or
    // makes none.)
    if (uOneWay && wOneWay && (u.q == j) == (w.q == j)) m_legal = false;
    // The street that runs into the junction comes first; a one-way
    // street keeps its direction.
    const bool wFirst = (wOneWay && w.q == j) || (uOneWay && u.p == j);
    const Joined& in = wFirst ? w : u;
    const Joined& out = wFirst ? u : w;
    Joined joined{in.parts, in.p == j ? in.q : in.p, out.p == j ? out.q : out.p, u.type > w.type ? u.type : w.type};
    joined.parts.insert(joined.parts.end(), out.parts.begin(), out.parts.end());
    m_streets[at[0]] = joined;
    m_streets.erase(m_streets.begin() + static_cast<long>(at[1]));
    Held(j) = 0;
  }

  const CStrStrasse* m_gone;
  std::vector<Joined> m_streets;
  std::vector<std::pair<CStrJunction*, int>> m_held;
  bool m_legal = true;
};

}  // namespace

bool CStrStrasse::DeletionLeavesLoneRing() const {
  if (!m_pStartJunction || !m_pEndJunction) return false;
  return DeletionJoins(this).LeavesLoneRing();
}

bool CStrStrasse::DeletionJoinsSoundly() const {
  if (!m_pStartJunction || !m_pEndJunction) return true;
  DeletionJoins joins(this);
  return joins.Legal() && joins.KeepGraphics();
}

int CStrStrasse::DeleteStreet(CStrJunctionList* list) {
  const bool rail = m_Type == STRASSE_SCHIENE;
  if (!list) return rail ? 5 : 4;
  CStrJunction* a = m_pStartJunction;
  CStrJunction* b = m_pEndJunction;
  if (!a || !b) return rail ? 5 : 4;
  const bool deadEnd = a->GetAnzLinkedStreets() == 1 || b->GetAnzLinkedStreets() == 1;
  // Another way must lead from the start to the end and, on a street of
  // both directions, from the end back to the start.
  if (!deadEnd) {
    if (list->CheckForWayFromJunctionToJunction(a, b, this) != 0) return rail ? 2 : 1;
    if (m_Type != STRASSE_EINBAHN && list->CheckForWayFromJunctionToJunction(b, a, this) != 0) return rail ? 2 : 1;
  }
  // Decided before anything changes: a refused removal leaves all as it was.
  if (!a->RemovingStreetIsLegal(this) || !b->RemovingStreetIsLegal(this) || DeletionLeavesLoneRing() ||
      !DeletionJoinsSoundly())
    return 3;
  // The signs at both ends come down before the legs change: a leg of one
  // cell carries its sign on the cell of the junction at its far end, which
  // the removal leaves as it is. The network puts them up again where a
  // junction keeps three legs or more.
  for (CStrJunction* j : {a, b}) j->RemoveVorfahr();
  // Lights need three streets: a junction left with fewer loses them
  // through its crossing's settings, as a player takes them down, while
  // all its arms still stand, so that every arm's pictures go, those of
  // an arm without a light (on a dead end's cell beyond a one-cell
  // street) too.
  for (CStrJunction* j : {a, b}) {
    int held = 0;
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) held += j->GetStreetByNR(i) == this;
    if (j->HasAmpel() && j->GetAnzLinkedStreets() - held < 3) j->TakeDownControl();
  }
  RemoveFromSimWelt();
  RemoveFromIsoWelt(false);
  // Every entry goes: a street from a junction back to it is held twice.
  for (CStrJunction* j : {a, b})
    for (int i = j->GetAnzLinkedStreets() - 1; i >= 0; --i)
      if (j->GetStreetByNR(i) == this) j->UnLinkStreet(this);
  // A T junction takes the type of its remaining streets, and so does a
  // dead end: a four-lane street from a junction back to it may leave the
  // junction with one street of a smaller type.
  bool retyped[2] = {false, false};
  for (int k = 0; k < 2; ++k) {
    CStrJunction* j = k == 0 ? a : b;
    const int n = j->GetAnzLinkedStreets();
    if (n != 3 && n != 1) continue;
    const CStrassenType before = j->GetType();
    j->UpdateJunctionType(true);
    retyped[k] = !(j->GetType() == before);
  }
  for (int k = 0; k < 2; ++k) {
    CStrJunction* j = k == 0 ? a : b;
    j->RemoveFromIsoWelt();
    // A dead end that lost its four-lane group no longer covers the first
    // tile of its street: the street draws that tile before the end is
    // drawn, whose cells then link into the street's. Drawn the other way
    // round, the end of a street of one tile finds no cell of the street
    // and joins its cells to the far end's, a link that stays when the
    // street's tile comes.
    if (retyped[k] && j->GetAnzLinkedStreets() == 1) {
      CStrStrasse* rest = j->GetStreetByNR(0);
      rest->RemoveFromIsoWelt(false);
      rest->InsertIntoIsoWelt();
    }
    j->InsertIntoIsoWelt();
    if (j->GetAnzLinkedStreets() == 0) j->RemoveFromSimWelt();
    if (b == a) break;
  }
  for (CStrJunction* j : {a, b}) {
    if (j->GetAnzLinkedStreets() != 2) continue;
    CStrStrasse* s1 = j->GetStreetByNR(0);
    CStrStrasse* s2 = j->GetStreetByNR(1);
    if (!s1 || !s2 || s1 == s2) continue;
    // u runs into j and w out of it; a one-way street keeps its direction.
    CStrStrasse* u = s2;
    CStrStrasse* w = s1;
    if ((s1->m_Type == STRASSE_EINBAHN && s1->m_pEndJunction == j) ||
        (s2->m_Type == STRASSE_EINBAHN && s2->m_pStartJunction == j))
      std::swap(u, w);
    if (u->m_pEndJunction != j) u->Turn();
    if (w->m_pStartJunction != j) w->Turn();
    // Joined streets take the larger type.
    const CStrassenType larger = u->m_Type > w->m_Type ? u->m_Type : w->m_Type;
    u->SetType(larger);
    w->SetType(larger);
    j->RemoveFromIsoWelt();
    u->ConnetWith(w, j);
    while (j->GetAnzLinkedStreets() > 0) j->UnLinkStreet(j->GetStreetByNR(0));
    j->RemoveFromSimWelt();
  }
  // A street left running from a junction back to it: both are drawn again.
  for (CStrJunction* j : {a, b}) {
    CStrStrasse* loop = j->GetStreetByNR(0);
    const int n = j->GetAnzLinkedStreets();
    if (!loop || (n != 1 && !(n == 2 && j->GetStreetByNR(1) == loop))) continue;
    if (loop->m_pStartJunction != j || loop->m_pEndJunction != j) continue;
    j->UpdateJunctionType(true);
    j->RemoveFromIsoWelt();
    j->InsertIntoIsoWelt();
    loop->RemoveFromIsoWelt(false);
    loop->InsertIntoIsoWelt();
  }
  list->RemoveIsolatedGrdCrossings();
  m_pStartJunction = nullptr;
  m_pEndJunction = nullptr;
  return 0;
}

// --------------------------------------------------------------- attributes

int CStrStrasse::SetType(CStrassenType type) {
  if (type == m_Type) return 0;
  // A registered street whose directions change registers again.
  const bool reregister = (m_SimID != 0 || m_SimIDSecond != 0) && ((type == STRASSE_EINBAHN) != (m_Type == STRASSE_EINBAHN));
  if (reregister) RemoveFromSimWelt();
  m_Type = type;
  if (reregister) InsertIntoSimWelt();
  // Without a capacity of its own the street takes the new type's.
  if (m_pSimWelt && !reregister) {
    if (m_SimID && m_Capacity <= 0) m_pSimWelt->SetStreetCapacity(m_SimID, DefaultCapacity());
    if (m_SimIDSecond && m_CapacitySecond <= 0) m_pSimWelt->SetStreetCapacity(m_SimIDSecond, DefaultCapacity());
  }
  for (CStrJunction* j : {m_pStartJunction, m_pEndJunction})
    if (j) j->UpdateJunctionType(true);
  for (CStrJunction* j : {m_pStartJunction, m_pEndJunction}) {
    if (j && j->GetAnzLinkedStreets() == 1 && j->GetStreetByNR(0) == this) j->InsertIntoIsoWelt();
    if (m_pStartJunction == m_pEndJunction) break;
  }
  // A junction's graphic tells one-way arms from others: those whose arms
  // now take another graphic are drawn again.
  for (CStrJunction* j : {m_pStartJunction, m_pEndJunction})
    if (j) j->RedrawIfStale();
  return 0;
}

int CStrStrasse::SetCapacity(short capacity) {
  m_Capacity = capacity;
  m_CapacitySecond = capacity;
  if (!m_pSimWelt) return 1;
  if (m_SimID) m_pSimWelt->SetStreetCapacity(m_SimID, capacity);
  if (m_SimIDSecond) m_pSimWelt->SetStreetCapacity(m_SimIDSecond, capacity);
  return 0;
}

short CStrStrasse::GetCapacity(short capacity) {
  m_Capacity = capacity;
  m_CapacitySecond = capacity;
  if (m_pSimWelt) {
    if (m_SimID) m_Capacity = static_cast<int16_t>(m_pSimWelt->StreetCapacity(m_SimID));
    if (m_SimIDSecond) m_CapacitySecond = static_cast<int16_t>(m_pSimWelt->StreetCapacity(m_SimIDSecond));
  }
  return m_Capacity;
}

int CStrStrasse::SetVelocity(double velocity) {
  m_VelocityBeforeLimit = 0.0;
  if (m_TownLimit > 0.0 && velocity > m_TownLimit) {
    m_VelocityBeforeLimit = velocity;
    velocity = m_TownLimit;
  }
  m_Velocity = velocity;
  m_VelocitySecond = velocity;
  if (!m_pSimWelt) return 1;
  if (m_SimID) m_pSimWelt->SetStreetVelocity(m_SimID, velocity);
  if (m_SimIDSecond) m_pSimWelt->SetStreetVelocity(m_SimIDSecond, velocity);
  return 0;
}

double CStrStrasse::GetVelocity() {
  if (m_pSimWelt) {
    if (m_SimID) m_Velocity = m_pSimWelt->StreetVelocity(m_SimID);
    if (m_SimIDSecond) m_VelocitySecond = m_pSimWelt->StreetVelocity(m_SimIDSecond);
  }
  return m_Velocity;
}

double CStrStrasse::GetOwnVelocity() {
  const double now = GetVelocity();
  return m_VelocityBeforeLimit > 0.0 ? m_VelocityBeforeLimit : now;
}

bool CStrStrasse::ApplyTownLimit() {
  const double before = GetVelocity();
  const double own = GetOwnVelocity();
  // A street at its own speed below the limit stays as it is.
  if (m_VelocityBeforeLimit <= 0.0 && (m_TownLimit <= 0.0 || own <= m_TownLimit)) return false;
  SetVelocity(own);
  return m_Velocity != before;
}

double CStrStrasse::GetVelocitySecond() {
  GetVelocity();
  return m_VelocitySecond;
}

int CStrStrasse::SetVLSSimWelt(bool on) {
  if (!m_pSimWelt) return 1;
  if (m_SimID) m_pSimWelt->SetStreetVls(m_SimID, on);
  if (m_SimIDSecond) m_pSimWelt->SetStreetVls(m_SimIDSecond, on);
  return 0;
}

bool CStrStrasse::SetVLS(bool on, bool destroySign) {
  m_VLS = on ? 1 : 0;
  m_VelocitySecond = m_Velocity;
  if (m_pSimWelt) {
    if (m_SimID) m_pSimWelt->SetStreetVelocity(m_SimID, m_Velocity);
    if (m_SimIDSecond) m_pSimWelt->SetStreetVelocity(m_SimIDSecond, m_Velocity);
  }
  if (!on) {
    if (m_pVLSObject) {
      if (destroySign)
        DestroyVLSObject();
      else
        m_pVLSObject = nullptr;
    }
    SetVLSSimWelt(false);
    return true;
  }
  if (CreateVLSObject() != 0) {
    m_VLS = 0;
    SetVLSSimWelt(false);
    return false;
  }
  SetVLSSimWelt(true);
  return true;
}

int CStrStrasse::FindVLSLocation(short& x, short& y, int& direction, bool second) {
  if (!m_pIsoWelt) return 1;
  CStrStrassenTeil* from = Head();
  if (second) {
    if (m_pParking) return 1;
    if (m_SimIDSecond != 0 && m_SimIDSecond != m_SimID) from = Tail();
  }
  for (CStrStrassenTeil* p = from; p; p = Next(p)) {
    const int sx = p->GetStartX(), sy = p->GetStartY(), ex = p->GetEndX(), ey = p->GetEndY();
    if (sx != ex && sy != ey) return 1;
    const int mx = Sign(ex - sx), my = Sign(ey - sy);
    const int n = std::abs(ex - sx) + std::abs(ey - sy);
    for (int i = 0; i <= n; ++i) {
      const int tx = sx + i * mx, ty = sy + i * my;
      if (!IsoInMap(tx, ty)) return 1;
      const auto ux = static_cast<unsigned short>(tx), uy = static_cast<unsigned short>(ty);
      if (m_pIsoWelt->GetTypeAt(ux, uy, ISO_LAYER_GROUND) != OBJ_STREET_PIECE) continue;
      const TObjectType upper = m_pIsoWelt->GetTypeAt(ux, uy, ISO_LAYER_UPPER);
      if (upper != OBJ_NONE && upper != OBJ_GROUND) continue;
      bool deadEnd = false;
      const auto sx16 = static_cast<short>(tx), sy16 = static_cast<short>(ty);
      if (PointIsBeforBend(sx16, sy16) || PointBeforJunction(sx16, sy16, deadEnd) || PointIsBend(sx16, sy16))
        continue;
      x = sx16;
      y = sy16;
      direction = mx > 0 ? 0 : (mx < 0 ? 2 : (my > 0 ? 3 : 1));
      return 0;
    }
  }
  return 1;
}

int CStrStrasse::CreateVLSObject() {
  if (m_pVLSObject || !m_pIsoWelt) return 1;
  short x = 0, y = 0;
  int direction = 0;
  if (FindVLSLocation(x, y, direction, false) != 0) return 1;
  const bool four = m_Type == STRASSE_VIERSPURIG;
  CWorldObj* sign = m_pIsoWelt->GetHost()->CreateObjectAt(four ? OBJ_TRAFFIC_SIGN4 : OBJ_TRAFFIC_SIGN,
                                                          four ? 43861 : 21018, CIsoRichtung(direction), x, y);
  if (!sign) return 1;
  sign->SetData(this);
  m_pVLSObject = sign;
  m_VLSPosX = x;
  m_VLSPosY = y;
  return 0;
}

int CStrStrasse::DestroyVLSObject() {
  if (!m_pVLSObject) return 1;
  if (m_pIsoWelt) m_pIsoWelt->GetHost()->RemoveObject(m_VLSPosX, m_VLSPosY, ISO_LAYER_UPPER);
  m_pVLSObject = nullptr;
  return 0;
}

int CStrStrasse::CreateBusSpur() {
  if (m_BusSpur) return 1;
  AddBusSpurLayer();
  m_BusSpur = 1;
  m_BusSpurLayer = 1;
  return 0;
}

int CStrStrasse::DeleteBusSpur() {
  if (!m_BusSpur) return 1;
  RemoveBusSpurLayer();
  m_BusSpur = 0;
  m_BusSpurLayer = 0;
  return 0;
}

int CStrStrasse::UpdateChanges() {
  if (m_BusSpur && !m_BusSpurLayer) {
    AddBusSpurLayer();
    m_BusSpurLayer = 1;
  }
  return 0;
}

int CStrStrasse::AddBusSpurLayer() { return BusSpurLayers(true); }
int CStrStrasse::RemoveBusSpurLayer() { return BusSpurLayers(false); }

// The bus lanes are the outer lanes of both halves of a four-lane street,
// drawn on both tiles across it: pieces for its first and last tile that
// end at the junction, pieces along the tiles between, and a bend piece on
// every bend's group.
int CStrStrasse::BusSpurLayers(bool add) {
  if (!m_pIsoWelt || m_Type != STRASSE_VIERSPURIG) return 1;
  short fx = 0, fy = 0, lx = 0, ly = 0;
  if (GetFirstIsoPos(&fx, &fy) != 0 || GetLastIsoPos(&lx, &ly) != 0) return 1;
  auto layerAt = [&](int x, int y, int id, int dir) {
    CIsoInfo* info = IsoInMap(x, y) ? m_pIsoWelt->GetIsoInfo(x, y) : nullptr;
    if (!info) return;
    if (add)
      info->MergeLayerFromIsoTile(id, CIsoRichtung(dir), ISO_LAYER_GROUND);
    else
      info->DeleteLayerFromIsoTile(id, ISO_LAYER_GROUND);
    m_pIsoWelt->InvalidateSpriteRenderList(x, y);
  };
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) {
    short sx = 0, sy = 0, ex = 0, ey = 0;
    signed char mx = 0, my = 0;
    CIsoRichtung direction;
    CalcStartAndEndPos(p, sx, sy, ex, ey, mx, my, direction);
    if (mx == 0 && my == 0) continue;
    const int d = direction.GetValue();
    const bool alongX = mx != 0;
    // The tile across the street from (x, y): one further in y along x,
    // one further in x along y.
    const int ax = alongX ? 0 : 1, ay = alongX ? 1 : 0;
    // The end pieces are laid in the piece's direction: the near or far
    // half's picture, cut short on the junction's side.
    if (p == Head()) {
      layerAt(fx, fy, d == 1 || d == 2 ? 31923 : 31922, d);
      layerAt(fx + ax, fy + ay, alongX ? (d == 2 ? 31922 : 31923) : (d == 3 ? 31923 : 31922), d);
      sx = static_cast<short>(fx + mx);
      sy = static_cast<short>(fy + my);
    } else {
      signed char ox = 0, oy = 0;
      p->FixeKurvenOff(ox, oy, true);
      sx = static_cast<short>(sx + (ox || oy ? 2 * ox : mx));
      sy = static_cast<short>(sy + (ox || oy ? 2 * oy : my));
    }
    if (p == Tail()) {
      layerAt(lx, ly, d == 1 || d == 2 ? 31251 : 31245, d);
      layerAt(lx + ax, ly + ay, alongX ? (d == 2 ? 31245 : 31251) : (d == 3 ? 31251 : 31245), d);
      ex = static_cast<short>(lx - mx);
      ey = static_cast<short>(ly - my);
    } else {
      signed char ox = 0, oy = 0;
      p->FixeKurvenOff(ox, oy, false);
      ex = static_cast<short>(ex + (ox || oy ? 2 * ox : -mx));
      ey = static_cast<short>(ey + (ox || oy ? 2 * oy : -my));
    }
    // The piece along the tiles paints the near half's outer lane: on the
    // far tile it is laid turned round, so that it paints that half's
    // outer lane too. A level crossing of the rail network shows its own
    // picture and gets no lane; the lane is taken off every tile, so that
    // one laid before the track came goes as well.
    const int nearDir = alongX ? 0 : 3;
    auto laneAt = [&](int x, int y, int dir) {
      if (!add || !RailNetCrossesAt(static_cast<short>(x), static_cast<short>(y))) layerAt(x, y, 31243, dir);
    };
    for (int x = sx, y = sy; (ex - x) * mx + (ey - y) * my >= 0; x += mx, y += my) {
      laneAt(x, y, nearDir);
      laneAt(x + ax, y + ay, (nearDir + 2) % 4);
    }
    if (Next(p)) {
      CIsoRichtung r;
      if (GetKurvenRichtung(&r, p, Next(p)) == 0 && IsoInMap(p->GetEndX(), p->GetEndY())) {
        CIsoInfo* bend = m_pIsoWelt->GetIsoInfo(p->GetEndX(), p->GetEndY());
        if (add)
          bend->MergeLayerFromTGV(44306, r, ISO_LAYER_GROUND);
        else
          bend->DeleteLayerFromTGV(44306, r, ISO_LAYER_GROUND);
      }
    }
  }
  return 0;
}

int CStrStrasse::SetParking(CBuildingParkingObject* parking) {
  if (!parking) {
    m_pParking = nullptr;
    return 0;
  }
  if (m_pParking) return 1;
  m_pParking = parking;
  return 0;
}

bool CStrStrasse::RemoveIsolatedGrdCrossings() {
  bool removed = false;
  for (CStrStrassenTeil* p = Head(); p; p = Next(p))
    if (p->GetExtraTeilList() && p->GetExtraTeilList()->RemoveIsolatedGrdCrossings()) removed = true;
  return removed;
}

// -------------------------------------------------------- geometry predicates

bool CStrStrasse::PointIsTwoBeforeRailCrossing(short, short) { return false; }
bool CStrStrasse::PointBeforEndStueckSchienenAndRailLong(short, short, bool) { return false; }
bool CStrStrasse::PointIsBendOuterPoint(short, short) { return false; }
bool CStrStrasse::PointIsTwoBeforBend(short, short) { return false; }
bool CStrStrasse::PointTwoBeforJunction(short, short) { return false; }
bool CStrStrasse::PointIsRailCrossing(short, short) { return false; }
bool CStrStrasse::PointIsBendOverSize(short, short) { return false; }

bool CStrStrasse::PointIsBend(short x, short y) {
  const bool group = m_Type == STRASSE_VIERSPURIG || m_Type == STRASSE_SCHIENE;
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) {
    if (!Next(p)) continue;
    if (p->GetEndX() == x && p->GetEndY() == y) return true;
    if (group && x >= p->GetEndX() && x <= p->GetEndX() + 1 && y >= p->GetEndY() && y <= p->GetEndY() + 1)
      return true;
  }
  return false;
}

bool CStrStrasse::PointIsBeforBend(short x, short y) {
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) {
    short mx = 0, my = 0;
    p->CalcM(mx, my);
    if (m_Type != STRASSE_VIERSPURIG) {
      if (Prev(p) && x == p->GetStartX() + mx && y == p->GetStartY() + my) return true;
      if (Next(p) && x == p->GetEndX() - mx && y == p->GetEndY() - my) return true;
      continue;
    }
    // Two tiles wide: the bend's group lies at the lower end's coordinate
    // and one more across.
    const bool alongX = AlongX(p);
    const int run = alongX ? x : y;
    const int cross = alongX ? y : x;
    const int pieceCross = alongX ? p->GetStartY() : p->GetStartX();
    if (cross != pieceCross && cross != pieceCross + 1) continue;
    auto bendAt = [&](int end) {
      const int lo = std::min(alongX ? p->GetStartX() : p->GetStartY(), alongX ? p->GetEndX() : p->GetEndY());
      return end == lo ? run == end + 2 : run == end - 1;
    };
    if (Prev(p) && bendAt(alongX ? p->GetStartX() : p->GetStartY())) return true;
    if (Next(p) && bendAt(alongX ? p->GetEndX() : p->GetEndY())) return true;
  }
  return false;
}

bool CStrStrasse::PointIsOnBendBeforBend(short x, short y) { return PointIsBend(x, y) && PointIsBeforBend(x, y); }

bool CStrStrasse::PointBeforJunction(short x, short y, bool& deadEnd) {
  deadEnd = false;
  const TObjectType here = GroundTypeAt(m_pIsoWelt, x, y);
  if ((here != OBJ_STREET_PIECE && here != OBJ_RAIL_PIECE) || !IsWorldTileOfStreet(x, y)) return false;
  const bool onBend = PointIsBend(x, y);
  if (onBend && (m_Type == STRASSE_VIERSPURIG || m_Type == STRASSE_SCHIENE)) return false;
  CStrStrassenTeil* p = FindStrassenTeilAt(x, y);
  if (!p) return false;
  short mx = 0, my = 0;
  if (onBend && Next(p) && p->GetEndX() == x && p->GetEndY() == y) {
    CStrStrassenTeil* n = Next(p);
    short nx = 0, ny = 0;
    n->CalcM(nx, ny);
    p->CalcM(mx, my);
    const int cand[2][2] = {{x + nx, y + ny}, {x - mx, y - my}};
    for (const auto& c : cand) {
      const TObjectType t = GroundTypeAt(m_pIsoWelt, c[0], c[1]);
      if (t == OBJ_CROSSING || t == OBJ_RAIL_JUNCTION) {
        CStrJunction* j = (m_pStartJunction && m_pStartJunction->GetXPos() == c[0] && m_pStartJunction->GetYPos() == c[1])
                              ? m_pStartJunction
                              : m_pEndJunction;
        deadEnd = j && j->GetAnzLinkedStreets() == 1;
        return true;
      }
    }
    return false;
  }
  p->CalcM(mx, my);
  const int cand[2][2] = {{x + mx, y + my}, {x - mx, y - my}};
  for (const auto& c : cand) {
    const TObjectType t = GroundTypeAt(m_pIsoWelt, c[0], c[1]);
    if (t != OBJ_CROSSING && t != OBJ_RAIL_JUNCTION) continue;
    CStrJunction* j = nullptr;
    for (CStrJunction* e : {m_pStartJunction, m_pEndJunction})
      if (e && e->GetXPos() == c[0] && e->GetYPos() == c[1]) j = e;
    deadEnd = j && j->GetAnzLinkedStreets() == 1;
    return true;
  }
  return false;
}

bool CStrStrasse::PointIsSpaceForRailCrossing(short x, short y) {
  if (m_Type == STRASSE_SCHIENE) return false;
  bool deadEnd = false;
  if (PointIsBeforBend(x, y) || PointIsBend(x, y)) return false;
  if (GroundTypeAt(m_pIsoWelt, x, y) == OBJ_CROSSING) return false;
  if (PointBeforJunction(x, y, deadEnd)) return false;
  if (PointIsHst(x, y)) return false;
  return !PointIsBeforeRailCrossing(x, y);
}

bool CStrStrasse::PointBeforEndStueckDAndStreetLong(short x, short y, bool checkLong) {
  if (m_Type < STRASSE_VIERSPURIG) return false;
  bool deadEnd = false;
  if (!PointBeforJunction(x, y, deadEnd) || !deadEnd) return false;
  for (CStrJunction* j : {m_pStartJunction, m_pEndJunction}) {
    if (!j || j->GetAnzLinkedStreets() != 1) continue;
    short mx = 0, my = 0;
    if (CalcMAtPos(j, &mx, &my) != 0) continue;
    const int sx = j->GetXPos() + mx, sy = j->GetYPos() + my;
    const bool lane = (x == sx && y == sy) || (mx != 0 ? (x == sx && y == sy + 1) : (x == sx + 1 && y == sy));
    if (!lane) continue;
    if (!checkLong) return true;
    const int tx = x + mx, ty = y + my;
    if (IsoInMap(tx, ty) && GroundTypeAt(m_pIsoWelt, tx, ty) == OBJ_STREET_PIECE) return true;
  }
  return false;
}

// A plain cell of this street whose neighbour along the street is a level
// crossing of the rail network. A track's second row lies one cell towards
// +x or +y of the cells it is indexed by, so the tracks indexed at the
// neighbour and one cell back on either axis are asked whether they cross
// there.
bool CStrStrasse::PointIsBeforeRailCrossing(short x, short y) {
  if (m_Type == STRASSE_SCHIENE || !m_pIsoWelt || !IsoInMap(x, y)) return false;
  if (GroundTypeAt(m_pIsoWelt, x, y) != OBJ_STREET_PIECE || !IsWorldTileOfStreet(x, y) || PointIsBend(x, y))
    return false;
  CStrJunctionList* streets = CStrJunction::m_pStreetNet;
  CStrJunctionList* rails = streets ? streets->GetRailNet() : nullptr;
  if (!rails) return false;
  signed char dx = 0, dy = 0;
  GetStreetDirectionAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), dx, dy);
  if (dx == 0 && dy == 0) return false;
  for (int s : {-1, 1}) {
    const short cx = static_cast<short>(x + s * dx), cy = static_cast<short>(y + s * dy);
    if (!IsoInMap(cx, cy)) continue;
    for (const auto& [ix, iy] : {std::pair<int, int>{cx, cy}, {cx - 1, cy}, {cx, cy - 1}}) {
      if (!IsoInMap(ix, iy)) continue;
      for (CStrStrasse* t : rails->StreetsIndexedAt(static_cast<short>(ix), static_cast<short>(iy))) {
        auto* track = dynamic_cast<CStrSchienen*>(t);
        if (track && track->HasExtraTeilAt(cx, cy)) return true;
      }
    }
  }
  return false;
}

bool CStrStrasse::PointIsHst(short x, short y) {
  if (!IsoInMap(x, y) || PointIsBend(x, y) || !m_pIsoWelt) return false;
  return IsHst(m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_UPPER));
}

bool CStrStrasse::PointIsBeforeHst(short x, short y) {
  if (!IsoInMap(x, y) || PointIsBend(x, y) || !m_pIsoWelt) return false;
  unsigned char found = 0;
  int first = 0;
  bool bend = false;
  const int d = GetRichtung(x, y, found, first, bend);
  const int n[2][2] = {{d == 0 || d == 2 ? x - 1 : x, d == 0 || d == 2 ? y : y - 1},
                       {d == 0 || d == 2 ? x + 1 : x, d == 0 || d == 2 ? y : y + 1}};
  for (const auto& c : n)
    if (IsoInMap(c[0], c[1]) &&
        IsHst(m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(c[0]), static_cast<unsigned short>(c[1]),
                                    ISO_LAYER_UPPER)))
      return true;
  return false;
}
