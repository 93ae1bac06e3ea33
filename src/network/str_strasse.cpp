#include "network/str_strasse.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "framework/qno_log.h"
#include "framework/zor_record.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "microsim/micro_cells.h"
#include "microsim/micro_simulation.h"
#include "iso/iso_info.h"
#include "network/str_ampel.h"
#include "network/str_junction.h"
#include "network/rail_junction_list.h"
#include "network/rail_track.h"
#include "network/str_junction_list.h"
#include "network/street_objects.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"

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

// The micro simulation's linking rules keep no state of their own.
CMicroSimulation& Linker() {
  static CMicroSimulation linker;
  return linker;
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
  // Stand-in: an attached car park keeps its guidance display.
  m_pParking = nullptr;
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
      RemoveAmpelLayer(j);
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
  if (other->m_pStartJunction) other->m_pStartJunction->UnLinkStreet(other);
  if (other->m_pEndJunction && other->m_pEndJunction != other->m_pStartJunction)
    other->m_pEndJunction->UnLinkStreet(other);
  bend->UnLinkStreet(this);
  RemoveFromIsoWelt(false);
  other->RemoveFromIsoWelt(false);
  RemoveMicroSim();
  other->RemoveMicroSim();
  m_pEndJunction = far;
  if (far) far->LinkStreet(this);
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
  if (far && far != junction) far->UnLinkStreet(other);
  m_pEndJunction = far;
  if (far) far->LinkStreet(this);
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

bool CStrStrasse::DeletionLeavesLoneRing() const {
  CStrJunction* a = m_pStartJunction;
  CStrJunction* b = m_pEndJunction;
  if (!a || !b) return false;
  // The other streets at the two ends, as their end pairs, and the streets
  // each of their junctions holds once this street has gone.
  struct Edge {
    const CStrStrasse* street;
    CStrJunction* p;
    CStrJunction* q;
  };
  std::vector<Edge> edges;
  std::vector<std::pair<CStrJunction*, int>> held;
  auto count = [&held, this](CStrJunction* j) -> int& {
    for (auto& [k, n] : held)
      if (k == j) return n;
    held.push_back({j, j->GetAnzLinkedStreets() - (m_pStartJunction == j) - (m_pEndJunction == j)});
    return held.back().second;
  };
  for (CStrJunction* j : {a, b})
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      const CStrStrasse* s = j->GetStreetByNR(i);
      if (!s || s == this || !s->m_pStartJunction || !s->m_pEndJunction) continue;
      if (std::none_of(edges.begin(), edges.end(), [s](const Edge& e) { return e.street == s; }))
        edges.push_back({s, s->m_pStartJunction, s->m_pEndJunction});
    }
  for (const Edge& e : edges) {
    count(e.p);
    count(e.q);
  }
  // The joins the deletion makes, in its order: an end left with two
  // streets joins them into one between their far ends.
  for (CStrJunction* j : {a, b}) {
    if (count(j) != 2) continue;
    std::vector<size_t> at;
    for (size_t i = 0; i < edges.size(); ++i) {
      if (edges[i].p == j) at.push_back(i);
      if (edges[i].q == j) at.push_back(i);
    }
    if (at.size() != 2 || at[0] == at[1]) continue;
    Edge& u = edges[at[0]];
    const Edge& w = edges[at[1]];
    u.p = u.p == j ? u.q : u.p;
    u.q = w.p == j ? w.q : w.p;
    edges.erase(edges.begin() + static_cast<long>(at[1]));
    count(j) = 0;
  }
  return std::any_of(edges.begin(), edges.end(), [&count](const Edge& e) { return e.p == e.q && count(e.p) == 2; });
}

bool CStrStrasse::JoinKeepsGraphics(CStrJunction* j) const {
  // The two streets left at the junction are joined with the larger type;
  // the junctions at their far ends need a graphic for it.
  if (j->GetAnzLinkedStreets() != 3) return true;
  CStrStrasse* rest[2] = {};
  int n = 0;
  for (int i = 0; i < 3; ++i)
    if (j->GetStreetByNR(i) != this && n < 2) rest[n++] = j->GetStreetByNR(i);
  if (n != 2 || rest[0] == rest[1]) return true;
  const CStrassenType larger = rest[0]->m_Type > rest[1]->m_Type ? rest[0]->m_Type : rest[1]->m_Type;
  for (CStrStrasse* s : rest)
    if (!(s->m_Type == larger) && !CStrJunctionList::FarJunctionKeepsGraphic(s, j, larger)) return false;
  return true;
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
      !JoinKeepsGraphics(a) || !JoinKeepsGraphics(b))
    return 3;
  RemoveFromSimWelt();
  RemoveFromIsoWelt(false);
  // Every entry goes: a street from a junction back to it is held twice.
  for (CStrJunction* j : {a, b})
    for (int i = j->GetAnzLinkedStreets() - 1; i >= 0; --i)
      if (j->GetStreetByNR(i) == this) j->UnLinkStreet(this);
  // A T junction takes the type of its remaining streets.
  for (CStrJunction* j : {a, b})
    if (j->GetAnzLinkedStreets() == 3) j->UpdateJunctionType(true);
  for (CStrJunction* j : {a, b}) {
    j->RemoveFromIsoWelt();
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
    // outer lane too.
    // Stand-in: tiles under a level crossing of the rail network get the bus lane like any other.
    const int nearDir = alongX ? 0 : 3;
    for (int x = sx, y = sy; (ex - x) * mx + (ey - y) * my >= 0; x += mx, y += my) {
      layerAt(x, y, 31243, nearDir);
      layerAt(x + ax, y + ay, 31243, (nearDir + 2) % 4);
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

// ------------------------------------------------------------ map drawing

int CStrStrasse::CalcStartAndEndPos(CStrStrassenTeil* piece, short& sx, short& sy, short& ex, short& ey,
                                    signed char& mx, signed char& my, CIsoRichtung& direction) {
  if (!piece) return 1;
  piece->CalcStartAndEndPos(sx, sy, ex, ey, mx, my, direction);
  return 0;
}

int CStrStrasse::FixeGroupOffset(CStrJunction* junction, short& x, short& y, signed char mx, signed char my) {
  if (!junction || !m_pIsoWelt || junction->GetType() < STRASSE_VIERSPURIG) return 0;
  const int nx = x + mx, ny = y + my;
  if (!IsoInMap(nx, ny) || !IsoInMap(junction->GetXPos(), junction->GetYPos())) return 0;
  if (m_pIsoWelt->IsSameGroup(junction->GetXPos(), junction->GetYPos(), static_cast<unsigned short>(nx),
                              static_cast<unsigned short>(ny), ISO_LAYER_GROUND)) {
    x = static_cast<short>(nx);
    y = static_cast<short>(ny);
  }
  return 0;
}

bool CStrStrasse::DrawRange(CStrStrassenTeil* piece, short& sx, short& sy, short& ex, short& ey, signed char& mx,
                            signed char& my, CIsoRichtung& direction) {
  CalcStartAndEndPos(piece, sx, sy, ex, ey, mx, my, direction);
  if (piece == Head()) FixeGroupOffset(m_pStartJunction, sx, sy, mx, my);
  if (piece == Tail())
    FixeGroupOffset(m_pEndJunction, ex, ey, static_cast<signed char>(-mx), static_cast<signed char>(-my));
  return (ex - sx) * mx + (ey - sy) * my >= 0;
}

int CStrStrasse::CreateSingleStreetPart(short& x, short& y, CStrStrassenTeil* piece, CIsoRichtung direction) {
  if (!m_pIsoWelt || !piece) return 1;
  if (CStrExtTlList* parts = piece->GetExtraTeilList()) {
    if (parts->StartAtKoor(x, y)) return parts->InsertIntoIsoWelt(m_pIsoWelt, x, y, m_pWorldObj, m_InLoadFile != 0);
  } else {
    // Stand-in: a street tile under a level crossing of the rail network is drawn like any other.
  }
  if (IsoInMap(x, y)) m_pIsoWelt->InsertStreetAt(x, y, direction, m_Type, m_pWorldObj);
  return 0;
}

int CStrStrasse::InsertKurveBetween(CStrStrassenTeil* a, CStrStrassenTeil* b) {
  CIsoRichtung r;
  if (!m_pIsoWelt || GetKurvenRichtung(&r, a, b) != 0) return 1;
  if (IsoInMap(a->GetEndX(), a->GetEndY())) m_pIsoWelt->SetKurveAt(a->GetEndX(), a->GetEndY(), r, m_pWorldObj, m_Type);
  return 0;
}

// Every tile a piece draws between its ends, piece by piece, with the
// piece's drawing direction.
template <typename Fn>
void CStrStrasse::ForEachDrawnTile(Fn fn) {
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) {
    short sx = 0, sy = 0, ex = 0, ey = 0;
    signed char mx = 0, my = 0;
    CIsoRichtung direction;
    if (!DrawRange(p, sx, sy, ex, ey, mx, my, direction)) continue;
    if (mx == 0 && my == 0) continue;
    for (short x = static_cast<short>(sx + mx), y = static_cast<short>(sy + my);
         (ex - x) * mx + (ey - y) * my > 0; x = static_cast<short>(x + mx), y = static_cast<short>(y + my)) {
      const short px = x, py = y;
      fn(x, y, p, direction);
      // An extra part hands back its last cell; one that is not ahead on
      // the piece's line (a part without extent) goes on from its first.
      if ((x - px) * mx + (y - py) * my < 0 || (mx != 0 ? y != py : x != px)) {
        x = px;
        y = py;
      }
    }
  }
}

int CStrStrasse::InsertIntoIsoWelt() {
  if (!m_pIsoWelt) return 1;
  ForEachDrawnTile([this](short& x, short& y, CStrStrassenTeil* p, CIsoRichtung direction) {
    CreateSingleStreetPart(x, y, p, direction);
  });
  for (CStrStrassenTeil* p = Head(); p && Next(p); p = Next(p)) InsertKurveBetween(p, Next(p));
  if (m_InLoadFile) return 0;
  CreateMicroZelle();
  // A four-lane group is laid on every tile and reaches one tile further:
  // at an end towards larger x or y it covers the junction's first cells,
  // which then take their crossing or end graphic again.
  if (m_Type == STRASSE_VIERSPURIG)
    for (CStrJunction* j : {m_pStartJunction, m_pEndJunction})
      if (j && j->GetAnzLinkedStreets() != 2 && !j->IsDrawn()) j->InsertIntoIsoWelt();
  return 0;
}

int CStrStrasse::RemoveSingleStreetPart(short& x, short& y, CStrStrassenTeil* piece) {
  if (!m_pIsoWelt || !piece) return 1;
  if (CStrExtTlList* parts = piece->GetExtraTeilList())
    if (parts->StartAtKoor(x, y)) return parts->RemoveFromIsoWelt(x, y);
  if (!IsoInMap(x, y)) return 0;
  if (m_Type >= STRASSE_VIERSPURIG)
    m_pIsoWelt->DeleteIsoGroupAt(x, y, ISO_LAYER_GROUND, false);
  else
    m_pIsoWelt->SetStdBase(x, y, ISO_LAYER_GROUND, false);
  return 0;
}

void CStrStrasse::RemoveBendAt(CStrStrassenTeil* a, CStrStrassenTeil* b) {
  short x = a->GetEndX(), y = a->GetEndY();
  if (m_Type == STRASSE_SCHIENE) {
    CIsoRichtung r;
    if (GetKurvenRichtung(&r, a, b) == 0) {
      if (r.GetValue() == 1 || r.GetValue() == 2) --x;
      if (r.GetValue() == 2 || r.GetValue() == 3) --y;
    }
  }
  RemoveSingleStreetPart(x, y, a);
}

int CStrStrasse::RemoveFromIsoWelt(bool) {
  if (m_BusSpurLayer) m_BusSpurLayer = 0;
  if (!m_pIsoWelt) return 1;
  ForEachDrawnTile([this](short& x, short& y, CStrStrassenTeil* p, CIsoRichtung) { RemoveSingleStreetPart(x, y, p); });
  for (CStrStrassenTeil* p = Head(); p && Next(p); p = Next(p)) RemoveBendAt(p, Next(p));
  // Last, the rivers under the bridges, whatever the groups removed after
  // a bridge took with them.
  for (CStrStrassenTeil* p = Head(); p; p = Next(p))
    for (CZorvaObject* o = p->GetExtraTeilList() ? p->GetExtraTeilList()->GetHead() : nullptr; o; o = o->GetNext())
      if (auto* bridge = dynamic_cast<CStrBride*>(o)) bridge->RestoreRiver();
  return 0;
}

// ------------------------------------------------------ demand simulation

int CStrStrasse::InsertIntoSimWelt() {
  if (!m_pSimWelt || !m_pStartJunction || !m_pEndJunction) return 1;
  // The street's own capacity and speed, kept while it was out of the
  // demand model, or its type's.
  const short capacity = m_Capacity > 0 ? m_Capacity : DefaultCapacity();
  const short capacitySecond = m_CapacitySecond > 0 ? m_CapacitySecond : DefaultCapacity();
  const auto from = static_cast<short>(m_pStartJunction->GetSimID());
  const auto to = static_cast<short>(m_pEndJunction->GetSimID());
  const TSimDirection fromDir = CalcSimDirection(true);
  const TSimDirection toDir = CalcSimDirection(false);
  CalcLaenge();
  m_SimID = static_cast<int16_t>(m_pSimWelt->AddStreet(from, fromDir, to, toDir, m_Laenge, 0));
  if (m_SimID == 0) {
    QNO_ERROR(QNO_SEV_ERROR, "Can't add street %d/%d -> %d/%d into SimWelt", GetStartPosX(), GetStartPosY(),
              GetEndPosX(), GetEndPosY());
    return 1;
  }
  m_pSimWelt->SetStreetCapacity(m_SimID, capacity);
  if (m_Velocity > 0) m_pSimWelt->SetStreetVelocity(m_SimID, m_Velocity);
  if (m_Type == STRASSE_EINBAHN) {
    ApplyTownLimit();
    return 0;
  }
  m_SimIDSecond = static_cast<int16_t>(m_pSimWelt->AddStreet(to, toDir, from, fromDir, m_Laenge, 0));
  if (m_SimIDSecond == 0) {
    // Half a street is no street: the forward direction goes again.
    QNO_ERROR(QNO_SEV_ERROR, "Can't add street %d/%d -> %d/%d into SimWelt", GetEndPosX(), GetEndPosY(),
              GetStartPosX(), GetStartPosY());
    m_pSimWelt->RemoveStreet(m_SimID);
    m_SimID = 0;
    return 1;
  }
  m_pSimWelt->SetStreetCapacity(m_SimIDSecond, capacitySecond);
  if (m_VelocitySecond > 0) m_pSimWelt->SetStreetVelocity(m_SimIDSecond, m_VelocitySecond);
  // A street built while the town has a limit runs at it too.
  ApplyTownLimit();
  return 0;
}

int CStrStrasse::RemoveFromSimWelt() {
  if (!m_pSimWelt) return 1;
  KeepSimAttributes();
  int result = 0;
  if (m_SimID == 0 || !m_pSimWelt->RemoveStreet(m_SimID)) result = 1;
  m_SimID = 0;
  // A backward direction goes whatever the type says now: a street turned
  // one-way still holds the id it was registered with.
  if (m_SimIDSecond != 0) {
    if (!m_pSimWelt->RemoveStreet(m_SimIDSecond)) result = 1;
  } else if (m_Type != STRASSE_EINBAHN) {
    result = 1;
  }
  m_SimIDSecond = 0;
  return result;
}

short CStrStrasse::AddToSim(CStrJunction* from, int fromDir, CStrJunction* to, int toDir, short id) {
  if (!m_pSimWelt || id == 0) return 0;
  const short got = static_cast<short>(m_pSimWelt->AddStreet(static_cast<short>(from->GetSimID()), fromDir,
                                                            static_cast<short>(to->GetSimID()), toDir, m_Laenge, id));
  if (got != id)
    QNO_ERROR(QNO_SEV_ERROR, "Can't add street %d/%d -> %d/%d into SimWelt", from->GetXPos(), from->GetYPos(),
              to->GetXPos(), to->GetYPos());
  return got;
}

// ---------------------------------------------------------------- savegame

int CStrStrasse::SerializeGameStore(FILE* file) {
  GetVelocity();
  ZorRecordWriter out(file);
  out.I16(m_Auslastung);
  out.I16(m_AuslastungSecond);
  out.I16(m_Capacity);
  out.I16(m_CapacitySecond);
  out.I32(m_Laenge);
  out.I16(m_SimID);
  out.I16(m_SimIDSecond);
  out.I32(m_Type.GetValue());
  out.U8(m_BusSpur);
  out.U8(m_VLS);
  for (int h = 0; h < kHours; ++h) {
    out.I16(m_Auslastung24[h]);
    out.I16(m_Auslastung24Second[h]);
  }
  // The street's own speeds: the council puts its town limit over them
  // again when its record is read.
  const bool limited = m_VelocityBeforeLimit > 0.0;
  out.F64(limited ? m_VelocityBeforeLimit : m_Velocity);
  out.F64(limited ? m_VelocityBeforeLimit : m_VelocitySecond);
  out.U16(m_pStartJunction ? m_pStartJunction->GetSimID() : 0);
  out.U16(m_pEndJunction ? m_pEndJunction->GetSimID() : 0);
  if (!out.Ok()) return 1;
  return CList::SerializeGameStore(file);
}

int CStrStrasse::SerializeGameLoad(FILE* file) {
  // A street is read once, into an empty street.
  if (GetNumber() != 0 || m_pStartJunction || m_pEndJunction) return 1;
  struct LoadFlag {
    LoadFlag() { m_InLoadFile = 1; }
    ~LoadFlag() { m_InLoadFile = 0; }
  } flag;
  ZorRecordReader in(file);
  m_Auslastung = in.I16();
  m_AuslastungSecond = in.I16();
  m_Capacity = in.I16();
  m_CapacitySecond = in.I16();
  m_Laenge = in.I32();
  const int16_t simId = in.I16();
  const int16_t simIdSecond = in.I16();
  const int32_t type = in.I32();
  m_BusSpur = in.U8();
  m_VLS = in.U8();
  for (int h = 0; h < kHours; ++h) {
    m_Auslastung24[h] = in.I16();
    m_Auslastung24Second[h] = in.I16();
  }
  m_Velocity = in.F64();
  m_VelocitySecond = in.F64();
  m_VelocityBeforeLimit = 0.0;
  const uint16_t startId = in.U16();
  const uint16_t endId = in.U16();
  if (!in.Ok()) return 1;
  if (type < STRASSE_1 || (type > STRASSE_VIERSPURIG && type != STRASSE_SCHIENE) || m_BusSpur > 1 || m_VLS > 1) {
    QNO_ERROR(QNO_SEV_ERROR, "Street record with type %d refused", type);
    return 1;
  }
  m_Type = static_cast<TStrassenType>(type);
  CStrJunction* start = nullptr;
  CStrJunction* end = nullptr;
  if (LoadJunctions(startId, endId, &start, &end) != 0) return 1;
  SetElementType(PieceType());
  if (CList::SerializeGameLoad(file) != 0 || GetNumber() == 0) {
    CList::Destroy();
    return 1;
  }
  m_pStartJunction = start;
  m_pEndJunction = end;
  if (end->LinkStreet(this) != 0) {
    m_pStartJunction = m_pEndJunction = nullptr;
    CList::Destroy();
    return 1;
  }
  InsertIntoIsoWelt();
  return RegisterLoaded(simId, simIdSecond);
}

int CStrStrasse::LoadJunctions(uint16_t startId, uint16_t endId, CStrJunction** start, CStrJunction** end) {
  CStrJunctionList* net = CStrJunction::m_pStreetNet;
  *start = net ? net->GetJunctionByID(startId) : nullptr;
  *end = net ? net->GetJunctionByID(endId) : nullptr;
  if (*start && *end) return 0;
  QNO_ERROR(QNO_SEV_ERROR, "Street record names crossings %d and %d, not both in the network", startId, endId);
  return 1;
}

CStrStrasse* CStrStrasse::NewSibling() { return new CStrStrasse(m_pIsoWelt, m_pSimWelt); }

const QnoObjectType* CStrStrasse::PieceType() const { return CStrStrassenTeil::m_pClassType; }

int CStrStrasse::RegisterLoaded(int16_t simId, int16_t simIdSecond) {
  CStrJunction* start = m_pStartJunction;
  CStrJunction* end = m_pEndJunction;
  m_SimID = AddToSim(start, CalcSimDirection(true), end, CalcSimDirection(false), simId);
  if (m_SimID && m_pSimWelt) m_pSimWelt->SetStreetCapacity(m_SimID, m_Capacity > 0 ? m_Capacity : DefaultCapacity());
  if (m_Type != STRASSE_EINBAHN) {
    m_SimIDSecond = AddToSim(end, CalcSimDirection(false), start, CalcSimDirection(true), simIdSecond);
    if (m_SimIDSecond && m_pSimWelt)
      m_pSimWelt->SetStreetCapacity(m_SimIDSecond, m_CapacitySecond > 0 ? m_CapacitySecond : DefaultCapacity());
  }
  if (m_pSimWelt) {
    if (m_SimID) m_pSimWelt->SetStreetVelocity(m_SimID, m_Velocity);
    if (m_SimIDSecond) m_pSimWelt->SetStreetVelocity(m_SimIDSecond, m_VelocitySecond);
  }
  return 0;
}

// ------------------------------------------------------------- micro cells

CQnoMicroZelle* CStrStrasse::GetMicroZellen(unsigned short x, unsigned short y) {
  return m_pMicroZellen ? m_pMicroZellen->FindZelle(x, y) : nullptr;
}

CQnoMicroZelle* CStrStrasse::GetFirstMicroZelle() {
  short x = 0, y = 0;
  if (GetFirstIsoPos(&x, &y) != 0) return nullptr;
  if (CQnoMicroZelle* cell = GetMicroZellen(static_cast<unsigned short>(x), static_cast<unsigned short>(y)))
    return cell;
  return BendCellAtEnd(Head(), Next(Head()), true);
}

CQnoMicroZelle* CStrStrasse::GetLastMicroZelle() {
  short x = 0, y = 0;
  if (GetLastIsoPos(&x, &y) != 0) return nullptr;
  if (CQnoMicroZelle* cell = GetMicroZellen(static_cast<unsigned short>(x), static_cast<unsigned short>(y)))
    return cell;
  return BendCellAtEnd(Tail(), Prev(Tail()), false);
}

// A four-lane bend covers the tile after it towards larger x or y, and a
// track's curve the tiles of its group: a piece from a junction to such a
// bend close by has no tile of its own, and the bend's layout is the
// street's first (or last) one. A curve's layout lies at its group's anchor.
CQnoMicroZelle* CStrStrasse::BendCellAtEnd(CStrStrassenTeil* end, CStrStrassenTeil* next, bool first) {
  if (!end || !next || m_Type < STRASSE_VIERSPURIG || !m_pMicroZellen) return nullptr;
  short bx = first ? end->GetEndX() : end->GetStartX();
  short by = first ? end->GetEndY() : end->GetStartY();
  if (m_Type == STRASSE_SCHIENE && m_pIsoWelt && IsoInMap(bx, by))
    if (CIsoObjGroup* g = m_pIsoWelt->GetGroupAt(static_cast<unsigned short>(bx), static_cast<unsigned short>(by),
                                                ISO_LAYER_GROUND)) {
      bx = static_cast<short>(g->GetStartPosX());
      by = static_cast<short>(g->GetStartPosY());
    }
  const CMicroZellenGroup::TGroupMember* m = m_pMicroZellen->GetFirst();
  if (!first)
    while (m && m->pNext) m = m->pNext;
  // A member's offset from the group's origin wraps below it.
  if (!m || static_cast<short>(m_pMicroZellen->GetX() + m->dx) != bx ||
      static_cast<short>(m_pMicroZellen->GetY() + m->dy) != by)
    return nullptr;
  return m->pZelle;
}

CQnoMicroZelle* CStrStrasse::CreateMicroZelleAt(short x, short y) {
  if (!m_pIsoWelt || !IsoInMap(x, y)) return nullptr;
  CIsoInfo* info = m_pIsoWelt->GetIsoInfo(x, y);
  if (!info) return nullptr;
  const auto ux = static_cast<unsigned short>(x), uy = static_cast<unsigned short>(y);
  // A four-lane tile takes the layout of its group, by zoom and by the
  // view's rotation turned by the group's own direction.
  CIsoZoomStufe zoom(static_cast<TIsoZoomStufe>(g_ZoomStufe));
  CIsoRichtung rotation(g_IsoRichtung);
  const uint32_t id = info->GetDataResID(&zoom, &rotation, ISO_LAYER_GROUND);
  if (id == 0) {
    if (m_Type > STRASSE_EINBAHN && info->GetGroupObj(ISO_LAYER_GROUND))
      QNO_ERROR(QNO_SEV_WARNING, " Can't load MicroZellen for IsoGroup %d", info->GetResID(ISO_LAYER_GROUND));
    else
      QNO_ERROR(QNO_SEV_WARNING, " Can't load MicroZellen for IsoTile %d", info->GetResID(ISO_LAYER_GROUND));
    return nullptr;
  }
  CQnoMicroZelle* cell = CQnoMicroZelle::Create(m_pIsoWelt->GetResourceManager(), id, info->IsVisible(ux, uy));
  if (!cell) {
    QNO_ERROR(QNO_SEV_ERROR, " Can't load MicroZellen with ResID %d", static_cast<int>(id));
    return nullptr;
  }
  cell->Konvert();
  return cell;
}

void CStrStrasse::PlaceMicroZelle(CQnoMicroZelle* cell, short x, short y) {
  const auto ux = static_cast<unsigned short>(x), uy = static_cast<unsigned short>(y);
  // A track's straight group turned towards -x or -y lies on the cell
  // before the one it was laid for, and the layout of a cell lies one cell
  // before it too; any other group of a track has its layout at its origin.
  unsigned short ox = ux, oy = uy;
  if (m_Type == STRASSE_SCHIENE)
    if (CIsoObjGroup* g = m_pIsoWelt->GetGroupAt(ux, uy, ISO_LAYER_GROUND)) {
      if (g->GetResID() == CStrSchienen::kStraightResID) {
        if (g->GetRichtung() == 2) --ox;
        if (g->GetRichtung() == 3) --oy;
      } else {
        ox = static_cast<unsigned short>(g->GetStartPosX());
        oy = static_cast<unsigned short>(g->GetStartPosY());
      }
    }
  int sx = 0, sy = 0;
  m_pIsoWelt->FixeIsoKoorCalc(ox, oy, sx, sy);
  m_pIsoWelt->FixeGroupRichtung(ox, oy, sx, sy);
  cell->SetScreenPos(sx, sy);
  m_pMicroZellen->AddZelle(cell, ux, uy);
}

void CStrStrasse::LinkZelleWith(CQnoMicroZelle* cell, CQnoMicroZelle* prev) {
  const auto fwd = static_cast<uint16_t>(m_SimID), back = static_cast<uint16_t>(m_SimIDSecond);
  if (prev) {
    if (m_Type >= STRASSE_VIERSPURIG && m_Type != STRASSE_SCHIENE)
      Linker().LinkStrasseD(prev, cell, m_Type, fwd, back);
    else
      Linker().Link(prev, cell, m_Type, fwd, back);
  } else if (m_Type != STRASSE_EINBAHN) {
    cell->SetFirstSimID(fwd);
    cell->SetSecSimID(back);
  }
  // The first cells of a one-way street take its id from the link with its
  // start: a tile of two lanes (a bridge) uses only the one linked.
  cell->UpdateSimID();
}

void CStrStrasse::CreateSingleMicroZelle(short x, short y, CQnoMicroZelle*& prev) {
  // A tile already holding a layout of this street (a group seen twice)
  // keeps it and stays the previous cell.
  if (CQnoMicroZelle* held = GetMicroZellen(static_cast<unsigned short>(x), static_cast<unsigned short>(y))) {
    prev = held;
    return;
  }
  CQnoMicroZelle* cell = CreateMicroZelleAt(x, y);
  if (!cell) return;
  PlaceMicroZelle(cell, x, y);
  LinkZelleWith(cell, prev);
  prev = cell;
}

void CStrStrasse::CreateSingleMicroZelleForSingleStreet(short x, short y, CQnoMicroZelle*& prev) {
  CQnoMicroZelle* cell = CreateMicroZelleAt(x, y);
  if (!cell) return;
  PlaceMicroZelle(cell, x, y);
  // The layout's lanes are laid for a street running towards larger x or
  // smaller y from its start; the other way the two directions swap.
  const bool swapped = m_pStartJunction && m_pEndJunction &&
                       (m_pEndJunction->GetXPos() > m_pStartJunction->GetXPos() ||
                        m_pEndJunction->GetYPos() < m_pStartJunction->GetYPos());
  // A one-way street's tile takes its id from the link with its start, as
  // in LinkZelleWith: of a bridge tile's two lanes only the one it uses.
  if (m_Type != STRASSE_EINBAHN) {
    cell->SetFirstSimID(static_cast<uint16_t>(swapped ? m_SimIDSecond : m_SimID));
    cell->SetSecSimID(static_cast<uint16_t>(swapped ? m_SimID : m_SimIDSecond));
  }
  cell->UpdateSimID();
  prev = cell;
}

void CStrStrasse::CreateExtaTeilMicroZelle(CStrExtTlList* parts, short& x, short& y, CQnoMicroZelle*& prev) {
  if (parts->IsGradeCrossing()) {
    CreateMicroSimGrade(parts, x, y, prev);
    return;
  }
  // A bridge: its tiles in its own walk, each linked from the one before;
  // a tile without a layout leaves the next one unlinked.
  short tx = x, ty = y;
  parts->StartMicroZellenCount(tx, ty);
  bool more = true;
  while (more) {
    CQnoMicroZelle* cell = GetMicroZellen(static_cast<unsigned short>(tx), static_cast<unsigned short>(ty))
                               ? nullptr
                               : CreateMicroZelleAt(tx, ty);
    if (cell) {
      PlaceMicroZelle(cell, tx, ty);
      LinkZelleWith(cell, prev);
    }
    prev = cell;
    more = parts->GetMicroZellenPos(tx, ty);
  }
  parts->GetEndKoor(x, y);
}

// A level crossing has one layout at its anchor, carrying the track and the
// street across it: the track's cell before it leads in, and the street's
// cells on either side of the track are joined to it.
void CStrStrasse::CreateMicroSimGrade(CStrExtTlList* parts, short& x, short& y, CQnoMicroZelle*& prev) {
  short ax = 0, ay = 0, ex = 0, ey = 0, ux = 0, uy = 0, lx = 0, ly = 0;
  parts->GetMicroZellenPos(ax, ay);
  parts->GetMicroStartKoor(ex, ey);
  parts->GetUpperStreetPos(ux, uy);
  parts->GetlowerStreetPos(lx, ly);
  const CStrassenType crossingType(static_cast<TStrassenType>(parts->GetType()));
  parts->DeleteUnderneathMicroSim();
  CStrJunctionList* streets = CStrJunction::m_pStreetNet;
  CStrJunctionList* rails = streets ? streets->GetRailNet() : nullptr;
  for (CStrJunctionList* net : {streets, rails})
    if (net) net->DestroyMicorSimAt(ax, ay);
  parts->GetEndKoor(x, y);
  CQnoMicroZelle* cell = IsoInMap(ax, ay) ? CreateMicroZelleAt(ax, ay) : nullptr;
  if (!cell) {
    prev = nullptr;
    return;
  }
  PlaceMicroZelle(cell, ax, ay);
  CQnoMicroZelle* entry = GetMicroZellen(static_cast<unsigned short>(ex), static_cast<unsigned short>(ey));
  if (!entry) entry = prev;
  const auto fwd = static_cast<uint16_t>(m_SimID), back = static_cast<uint16_t>(m_SimIDSecond);
  if (entry) Linker().Link(entry, cell, m_Type, fwd, back);
  cell->UpdateSimID();
  CQnoMicroZelle* upper = streets ? streets->GetMicroZelleAt(ux, uy) : nullptr;
  CQnoMicroZelle* lower = streets ? streets->GetMicroZelleAt(lx, ly) : nullptr;
  if (crossingType < STRASSE_VIERSPURIG || crossingType == STRASSE_SCHIENE) {
    Linker().Link(cell, upper, crossingType, 0, 0);
    Linker().Link(lower, cell, crossingType, 0, 0);
  } else {
    Linker().LinkStrasseD(upper, cell, crossingType, 0, 0);
    Linker().LinkStrasseD(lower, cell, crossingType, 0, 0);
  }
  prev = cell;
}

int CStrStrasse::CreateMicroZelle() {
  RemoveMicroSim();
  short fx = 0, fy = 0, lx = 0, ly = 0;
  if (!m_pIsoWelt || GetFirstIsoPos(&fx, &fy) != 0 || GetLastIsoPos(&lx, &ly) != 0) return 1;
  m_pMicroZellen = new CMicroZellenGroup;
  m_pMicroZellen->Create(static_cast<unsigned short>(fx), static_cast<unsigned short>(fy));
  CQnoMicroZelle* prev = nullptr;
  const bool wide = m_Type > STRASSE_EINBAHN;
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) {
    short sx = 0, sy = 0, ex = 0, ey = 0;
    signed char mx = 0, my = 0;
    CIsoRichtung direction;
    CalcStartAndEndPos(p, sx, sy, ex, ey, mx, my, direction);
    if (mx == 0 && my == 0) continue;
    if (p == Head()) {
      sx = static_cast<short>(fx - mx);
      sy = static_cast<short>(fy - my);
    }
    // The walk ends before the end junction's cells, however many cells its
    // graphic takes.
    if (p == Tail()) {
      ex = static_cast<short>(lx + mx);
      ey = static_cast<short>(ly + my);
    }
    // A bend of a two-tile-wide street covers the tile after it towards
    // larger x or y: the piece's own tiles begin or end beside it.
    if (wide) {
      signed char ox = 0, oy = 0;
      if (Next(p)) {
        p->FixeKurvenOff(ox, oy, false);
        ex = static_cast<short>(ex + ox);
        ey = static_cast<short>(ey + oy);
      }
      if (Prev(p)) {
        p->FixeKurvenOff(ox, oy, true);
        sx = static_cast<short>(sx + ox);
        sy = static_cast<short>(sy + oy);
      }
    }
    const int between = (ex - sx) * mx + (ey - sy) * my - 1;
    if (between == 1 && !Prev(p) && !Next(p)) {
      CreateSingleMicroZelleForSingleStreet(static_cast<short>(sx + mx), static_cast<short>(sy + my), prev);
    } else {
      CStrExtTlList* parts = p->GetExtraTeilList();
      for (short x = static_cast<short>(sx + mx), y = static_cast<short>(sy + my);
           (ex - x) * mx + (ey - y) * my > 0; x = static_cast<short>(x + mx), y = static_cast<short>(y + my)) {
        if (parts && parts->StartAtKoor(x, y))
          CreateExtaTeilMicroZelle(parts, x, y, prev);
        else
          CreateSingleMicroZelle(x, y, prev);
      }
    }
    // The bend tile joins this piece to the next; a track's curve group
    // has its layout at the group's anchor.
    if (Next(p)) {
      short kx = p->GetEndX(), ky = p->GetEndY();
      if (m_Type == STRASSE_SCHIENE && IsoInMap(kx, ky))
        if (CIsoObjGroup* g = m_pIsoWelt->GetGroupAt(static_cast<unsigned short>(kx), static_cast<unsigned short>(ky),
                                                    ISO_LAYER_GROUND)) {
          kx = g->GetStartPosX();
          ky = g->GetStartPosY();
        }
      CreateSingleMicroZelle(kx, ky, prev);
    }
  }
  LinkStartAndEndMicroSim();
  return 0;
}

void CStrStrasse::LinkStartAndEndMicroSim() {
  const auto fwd = static_cast<uint16_t>(m_SimID), back = static_cast<uint16_t>(m_SimIDSecond);
  // A junction of three or four streets makes its cells again: its turns
  // open and close with the directions its arms have now.
  for (CStrJunction* j : {m_pStartJunction, m_pEndJunction})
    if (j && j->GetAnzLinkedStreets() >= 3 && j->GetMicroZellen()) j->RebuildMicroZellen();
  if (m_pStartJunction && m_pStartJunction->GetAnzLinkedStreets() < 3) {
    CQnoMicroZelle* j = m_pStartJunction->GetMicroZelle(static_cast<short>(m_pStartJunction->GetXPos()),
                                                        static_cast<short>(m_pStartJunction->GetYPos()));
    if (j && GetFirstMicroZelle()) Linker().Link(j, GetFirstMicroZelle(), m_Type, fwd, back);
  }
  if (m_pEndJunction && m_pEndJunction->GetAnzLinkedStreets() < 3) {
    CQnoMicroZelle* j = m_pEndJunction->GetMicroZelle(static_cast<short>(m_pEndJunction->GetXPos()),
                                                      static_cast<short>(m_pEndJunction->GetYPos()));
    if (j && GetLastMicroZelle()) Linker().Link(GetLastMicroZelle(), j, m_Type, fwd, back);
    m_pEndJunction->CloseOneWayArm(this);
  }
}

int CStrStrasse::RemoveMicroSim() {
  if (!m_pMicroZellen) return 0;
  m_pMicroZellen->Destroy();
  delete m_pMicroZellen;
  m_pMicroZellen = nullptr;
  return 0;
}

int CStrStrasse::RemoveMicroSimAt(short x, short y) {
  if (!m_pMicroZellen) return 1;
  CQnoMicroZelle* cell = m_pMicroZellen->FindZelle(static_cast<unsigned short>(x), static_cast<unsigned short>(y));
  if (!cell) return 1;
  cell->Remove();
  m_pMicroZellen->DestroyAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y));
  delete cell;
  return 0;
}

int CStrStrasse::UpdateScreenPos(int sx, int sy, unsigned short x, unsigned short y) {
  return m_pMicroZellen ? m_pMicroZellen->UpdateScreenPos(sx, sy, x, y) : 1;
}

int CStrStrasse::TurnMicroSim(unsigned short x, unsigned short y, int sx, int sy, int resId) {
  if (!m_pMicroZellen || resId == 0 || !m_pIsoWelt) return 1;
  CQnoMicroZelle* cell = m_pMicroZellen->FindZelle(x, y);
  if (!cell) return 1;
  CQnoMicroZelle* turned =
      CQnoMicroZelle::Create(m_pIsoWelt->GetResourceManager(), static_cast<unsigned>(resId), cell->IsVisible());
  if (!turned) return 1;
  const int r = cell->TurnRichtung(turned, sx, sy);
  delete turned;
  return r;
}

int CStrStrasse::Render(QnoDisplay* display, unsigned short x, unsigned short y, TIsoZoomStufe zoom) {
  return m_pMicroZellen ? m_pMicroZellen->Render(display, x, y, zoom) : 1;
}

// The light pictures at the street's end beside a junction: the pole and
// its stop line (a wider stop line for four-lane streets).
static constexpr int kAmpelStopResID = 21308;
static constexpr int kAmpelStopWideResID = 26515;

int CStrStrasse::AddAmpelLayer(CStrJunction* junction) {
  AddLayerAtJunction(junction, CStrJunction::kAmpelResID);
  return AddLayerAtJunction(junction, m_Type >= STRASSE_VIERSPURIG ? kAmpelStopWideResID : kAmpelStopResID);
}

int CStrStrasse::RemoveAmpelLayer(CStrJunction* junction) {
  RemoveLayerAtJunction(junction, CStrJunction::kAmpelResID);
  return RemoveLayerAtJunction(junction, m_Type >= STRASSE_VIERSPURIG ? kAmpelStopWideResID : kAmpelStopResID);
}

int CStrStrasse::LayerTileAtJunction(CStrJunction* junction, short* x, short* y, CIsoRichtung* dir) {
  if (!junction || !m_pIsoWelt) return 1;
  const bool atStart = junction == m_pStartJunction;
  if (!atStart && junction != m_pEndJunction) return 1;
  if ((atStart ? GetFirstIsoPos(x, y) : GetLastIsoPos(x, y)) != 0 || !IsoInMap(*x, *y)) return 1;
  unsigned char found = 0;
  int first = 0;
  bool bend = false;
  const int r = GetRichtung(*x, *y, found, first, bend);
  // A layer at the start looks back towards the junction.
  *dir = CIsoRichtung(atStart ? (r + 2) & 3 : r & 3);
  return 0;
}

int CStrStrasse::AddLayerAtJunction(CStrJunction* junction, int resId) {
  short x = 0, y = 0;
  CIsoRichtung dir;
  if (LayerTileAtJunction(junction, &x, &y, &dir) != 0) return 1;
  CIsoInfo* info = m_pIsoWelt->GetIsoInfo(x, y);
  return info ? info->MergeLayerFromIsoTile(resId, dir, ISO_LAYER_GROUND) : 1;
}

int CStrStrasse::RemoveLayerAtJunction(CStrJunction* junction, int resId) {
  short x = 0, y = 0;
  CIsoRichtung dir;
  if (LayerTileAtJunction(junction, &x, &y, &dir) != 0) return 1;
  CIsoInfo* info = m_pIsoWelt->GetIsoInfo(x, y);
  return info ? info->DeleteLayerFromIsoTile(resId, ISO_LAYER_GROUND) : 1;
}

int CStrStrasse::FindAmpelZellen(CStrJunction* junction, BinaryMicroSimObject** a, BinaryMicroSimObject** b) {
  *a = nullptr;
  *b = nullptr;
  if (!m_pMicroZellen || !junction || !junction->GetMicroZellen()) return 1;
  short x = 0, y = 0;
  if ((junction == m_pStartJunction ? GetFirstIsoPos(&x, &y) : GetLastIsoPos(&x, &y)) != 0) return 1;
  const auto ux = static_cast<unsigned short>(x);
  const auto uy = static_cast<unsigned short>(y);
  *a = m_pMicroZellen->FindZelleWithTargetJunction(junction->GetMicroZellen(), ux, uy, 0);
  if (m_Type > STRASSE_EINBAHN) *b = m_pMicroZellen->FindZelleWithTargetJunction(junction->GetMicroZellen(), ux, uy, 1);
  return *a ? 0 : 1;
}

CAmpel* CStrStrasse::LinkAmpelAtJunction(CStrJunction* junction) {
  BinaryMicroSimObject* a = nullptr;
  BinaryMicroSimObject* b = nullptr;
  if (FindAmpelZellen(junction, &a, &b) != 0) return nullptr;
  auto* light = new CAmpel;
  light->Create();
  light->LinkZelle(a, b);
  return light;
}

int CStrStrasse::RelinkAmpelZellen(CAmpel* light, CStrJunction* junction) {
  if (!junction) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "pAtJunction==NULL");
    return 1;
  }
  if (!light) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "pAtAmpel==NULL");
    return 1;
  }
  BinaryMicroSimObject* a = nullptr;
  BinaryMicroSimObject* b = nullptr;
  FindAmpelZellen(junction, &a, &b);
  return light->ReLinkZelle(a, b);
}
