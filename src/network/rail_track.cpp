#include "network/rail_track.h"

#include <algorithm>
#include <cstdlib>

#include "framework/qno_log.h"
#include "framework/zor_stand_in.h"
#include "iso/iso_geometry.h"
#include "iso/iso_object.h"
#include "iso/iso_welt.h"
#include "network/rail_junction_list.h"
#include "network/str_junction_list.h"
#include "network/street_objects.h"

ZOR_IMPLEMENT_TYPE(CStrSchStrTeil, CStrStrassenTeil)

uint16_t CStrSchienen::m_SchienenID = 0;
CStrSchJuncList* CStrSchienen::m_pRailNet = nullptr;

namespace {

int Step(int v) { return (v > 0) - (v < 0); }

TObjectType GroundAt(CIsoWelt* iso, int x, int y) {
  if (!iso || !IsoInMap(x, y)) return OBJ_NONE;
  return iso->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
}

}  // namespace

// ------------------------------------------------------------ CStrSchStrTeil

int CStrSchStrTeil::Create(short sx, short sy, short ex, short ey, CStrExtTlList* parts, bool) {
  m_StartX = sx;
  m_StartY = sy;
  m_EndX = ex;
  m_EndY = ey;
  m_Reserved1 = -1;
  m_Reserved2 = -1;
  m_HitTrain = Check_HitStreet() ? 1 : 0;
  if (parts && parts->IsInRange(sx, sy, ex, ey)) {
    DropExtraTeilList();
    m_pExtraTeilList = parts->Clone();
    // Only the crossings on this piece's cells come along: the two halves
    // of a split track would otherwise both hold every crossing.
    for (CZorvaObject* o = m_pExtraTeilList->GetHead(); o;) {
      auto* part = static_cast<CStrExtTeil*>(o);
      o = o->GetNext();
      if (!CoversPart(part)) m_pExtraTeilList->DestroyObject(part, 0);
    }
    if (!m_pExtraTeilList->GetHead()) DropExtraTeilList();
  }
  return 0;
}

bool CStrSchStrTeil::CoversPart(CStrExtTeil* part) const {
  const int mx = Step(m_EndX - m_StartX), my = Step(m_EndY - m_StartY);
  const int n = std::abs(m_EndX - m_StartX) + std::abs(m_EndY - m_StartY);
  for (int i = 0; i <= n; ++i)
    if (part->PointHitExtraTeil(static_cast<short>(m_StartX + i * mx), static_cast<short>(m_StartY + i * my)))
      return true;
  return false;
}

int CStrSchStrTeil::Create(short sx, short sy, short ex, short ey, CStrExtTlList* parts, bool testRail,
                           CStrassenType) {
  return Create(sx, sy, ex, ey, parts, testRail);
}

CIsoRichtung CStrSchStrTeil::CrossingRichtung() const {
  CIsoRichtung own;
  CalcRichtung(own);
  return CIsoRichtung((own.GetValue() + 3) & 3);
}

bool CStrSchStrTeil::Check_HitStreet() {
  const int mx = Step(m_EndX - m_StartX), my = Step(m_EndY - m_StartY);
  const int n = std::abs(m_EndX - m_StartX) + std::abs(m_EndY - m_StartY);
  int first = -1;
  for (int i = 0; i < n; ++i) {
    const int x = m_StartX + i * mx, y = m_StartY + i * my;
    if (!IsoInMap(x, y)) continue;
    const bool street = GroundAt(m_pIsoWelt, x, y) == OBJ_STREET_PIECE;
    if (street) {
      if (first < 0) first = i;
      continue;
    }
    if (first < 0) continue;
    auto* tile = m_pIsoWelt ? dynamic_cast<CStreetObj*>(m_pIsoWelt->GetIsoTileObject(
                                  m_StartX + first * mx, m_StartY + first * my, ISO_LAYER_GROUND))
                            : nullptr;
    const CStrassenType type = tile ? static_cast<TStrassenType>(tile->GetStreetType()) : STRASSE_1;
    CreateExtraTeilAt(static_cast<short>(m_StartX + first * mx), static_cast<short>(m_StartY + first * my), 0, 0,
                      type);
    first = -1;
  }
  return false;
}

int CStrSchStrTeil::CreateExtraTeilAt(short x, short y, short, short, CStrassenType t) {
  if (!m_pExtraTeilList) {
    m_pExtraTeilList = new CStrExtTlList;
    m_pExtraTeilList->Create();
  }
  auto* crossing = new CGrdCrossing;
  crossing->Create(x, y, t);
  CIsoRichtung direction = CrossingRichtung();
  crossing->SetRichtung(direction, t);
  m_pExtraTeilList->AddHead(crossing, 0);
  return 0;
}

bool CStrSchStrTeil::HasCrossingFor(short x, short y) {
  if (!m_pExtraTeilList) return false;
  signed char mx = 0, my = 0;
  CalcM(mx, my);
  // The street cell beside the track's first row names the crossing.
  const short ux = static_cast<short>(mx != 0 ? x : x - 1), uy = static_cast<short>(mx != 0 ? y - 1 : y);
  for (CZorvaObject* o = m_pExtraTeilList->GetHead(); o; o = o->GetNext()) {
    auto* part = static_cast<CStrExtTeil*>(o);
    if (part->PointHitExtraTeil(x, y)) return true;
    auto* crossing = dynamic_cast<CGrdCrossing*>(part);
    short cx = 0, cy = 0;
    if (crossing) crossing->GetUpperStreetPos(cx, cy);
    if (crossing && cx == ux && cy == uy) return true;
  }
  return false;
}

bool CStrSchStrTeil::RemoveIsolatedGrdCrossings() {
  CStrJunctionList* streets = CStrJunction::m_pStreetNet;
  if (!m_pExtraTeilList || !streets) return false;
  bool removed = false;
  for (CZorvaObject* o = m_pExtraTeilList->GetHead(); o;) {
    auto* crossing = dynamic_cast<CGrdCrossing*>(o);
    o = o->GetNext();
    if (!crossing) continue;
    // The street must still pass on both sides of the track.
    short ux = 0, uy = 0, lx = 0, ly = 0;
    crossing->GetUpperStreetPos(ux, uy);
    crossing->GetLowerStreetPos(lx, ly);
    CStrStrasse* street = nullptr;
    CStrStrassenTeil* piece = nullptr;
    if (streets->PointHitStreet(ux, uy, &street, &piece) && streets->PointHitStreet(lx, ly, &street, &piece)) continue;
    m_pExtraTeilList->DestroyObject(crossing, 0);
    removed = true;
  }
  if (!m_pExtraTeilList->GetHead()) DropExtraTeilList();
  return removed;
}

int CStrSchStrTeil::FixeKurvenOff(signed char& dx, signed char& dy, bool atStart) {
  dx = dy = 0;
  if (m_StartX == m_EndX && m_StartY == m_EndY) return 0;
  signed char mx = 0, my = 0;
  CalcM(mx, my);
  if (!atStart) {
    mx = static_cast<signed char>(-mx);
    my = static_cast<signed char>(-my);
  }
  if (mx > 0) dx = 2;
  if (mx < 0) dx = -1;
  if (my > 0) dy = 2;
  if (my < 0) dy = -1;
  return 0;
}

// -------------------------------------------------------------- CStrSchienen

int CStrSchienen::Create() {
  // The world object's kind follows the type the street has when it is made.
  m_Type = STRASSE_SCHIENE;
  CStrStrasse::Create();
  m_Type = STRASSE_SCHIENE;
  m_SimID = static_cast<int16_t>(m_SchienenID + 1);
  m_SimIDSecond = static_cast<int16_t>(m_SchienenID + 2);
  m_SchienenID = static_cast<uint16_t>(m_SchienenID + 2);
  return 0;
}

int CStrSchienen::Create(CStrStrasse* other) {
  CStrStrasse::Create(other);
  m_Type = STRASSE_SCHIENE;
  // Tracks carry no cars: nothing of the demand model's speeds is kept.
  m_Velocity = m_VelocitySecond = 0.0;
  return 0;
}

// Stand-in for the trains' micro cells: the rail groups carry no cell
// layouts, so tracks make no cells.
int CStrSchienen::CreateMicroZelle() {
  ZOR_STAND_IN("CStrSchienen");
  return 0;
}

int CStrSchienen::InsertIntoSimWelt() {
  CalcLaenge();
  return 0;
}

CStrStrassenTeil* CStrSchienen::CreateNewStrassenTeil() { return new CStrSchStrTeil(m_pIsoWelt); }

CStrStrassenTeil* CStrSchienen::CreateNewStrassenTeil(CStrStrassenTeil* old) {
  if (!old) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", "pOldTeil==NULL");
    return nullptr;
  }
  return new CStrSchStrTeil(old);
}

const QnoObjectType* CStrSchienen::PieceType() const { return CStrSchStrTeil::m_pClassType; }

CStrStrasse* CStrSchienen::NewSibling() { return new CStrSchienen(m_pIsoWelt, m_pSimWelt); }

// ------------------------------------------------------------------ drawing

int CStrSchienen::CreateSingleStreetPart(short& x, short& y, CStrStrassenTeil* piece, CIsoRichtung direction) {
  if (!m_pIsoWelt || !piece) return 1;
  if (CStrExtTlList* parts = piece->GetExtraTeilList())
    if (parts->StartAtKoor(x, y)) return parts->InsertIntoIsoWelt(m_pIsoWelt, x, y, m_pWorldObj, m_InLoadFile != 0);
  if (IsoInMap(x, y))
    m_pIsoWelt->SetIsoGroupTurnedAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND,
                                    kStraightResID, m_pWorldObj, direction);
  return 0;
}

int CStrSchienen::InsertKurveBetween(CStrStrassenTeil* a, CStrStrassenTeil* b) {
  CIsoRichtung r;
  if (!m_pIsoWelt || GetKurvenRichtung(&r, a, b) != 0) return 1;
  int x = a->GetEndX(), y = a->GetEndY();
  if (r.GetValue() == 1 || r.GetValue() == 2) --x;
  if (r.GetValue() == 2 || r.GetValue() == 3) --y;
  if (!IsoInMap(x, y)) return 1;
  return m_pIsoWelt->SetIsoGroupTurnedAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                         ISO_LAYER_GROUND, kCurveResID, m_pWorldObj, r);
}

int CStrSchienen::InsertIntoIsoWelt() {
  const int r = CStrStrasse::InsertIntoIsoWelt();
  if (r != 0 || m_InLoadFile) return r;
  for (CStrJunction* j : {m_pStartJunction, m_pEndJunction})
    if (j && j->GetAnzLinkedStreets() != 2 && !j->IsDrawn()) j->InsertIntoIsoWelt();
  return 0;
}

int CStrSchienen::RemoveFromIsoWelt(bool repair) {
  const int r = CStrStrasse::RemoveFromIsoWelt(repair);
  // A level crossing took the street's cells under it: the street draws
  // those cells again (only those: its other crossings stay), and the
  // track, when it stays, draws its crossing over them.
  CStrJunctionList* streets = CStrJunction::m_pStreetNet;
  if (!streets || !m_pIsoWelt) return r;
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) {
    CStrExtTlList* parts = p->GetExtraTeilList();
    for (CZorvaObject* o = parts ? parts->GetHead() : nullptr; o; o = o->GetNext()) {
      auto* crossing = dynamic_cast<CGrdCrossing*>(o);
      if (!crossing) continue;
      const int x0 = std::min(crossing->GetStartX(), crossing->GetEndX()) - 1;
      const int x1 = std::max(crossing->GetStartX(), crossing->GetEndX()) + 2;
      const int y0 = std::min(crossing->GetStartY(), crossing->GetEndY()) - 1;
      const int y1 = std::max(crossing->GetStartY(), crossing->GetEndY()) + 2;
      for (int cx = x0; cx <= x1; ++cx)
        for (int cy = y0; cy <= y1; ++cy) {
          if (!crossing->PointHitExtraTeil(static_cast<short>(cx), static_cast<short>(cy))) continue;
          CStrStrasse* street = nullptr;
          CStrStrassenTeil* under = nullptr;
          if (!streets->PointHitStreet(static_cast<short>(cx), static_cast<short>(cy), &street, &under) || !under)
            continue;
          // Only cells on the piece's own line: a four-lane group laid there
          // covers its second row as well.
          const bool onLine = under->GetStartX() == under->GetEndX() ? cx == under->GetStartX() : cy == under->GetStartY();
          if (!onLine) continue;
          CIsoRichtung direction;
          under->CalcRichtung(direction);
          short sx = static_cast<short>(cx), sy = static_cast<short>(cy);
          street->CreateSingleStreetPart(sx, sy, under, direction);
        }
    }
  }
  return r;
}

// ------------------------------------------------------------------ queries

bool CStrSchienen::HasExtraTeilAt(short x, short y) {
  for (CStrStrassenTeil* p = Head(); p; p = Next(p))
    if (p->HasExtraTeilAt(x, y)) return true;
  return false;
}

bool CStrSchienen::ShowsCrossingAt(short x, short y) {
  // A street drawn over the crossing since names itself at the cell.
  return m_pIsoWelt && IsoInMap(x, y) && IsWorldTileOfStreet(x, y);
}

bool CStrSchienen::RemoveIsolatedGrdCrossings() {
  bool removed = false;
  for (CStrStrassenTeil* p = Head(); p; p = Next(p))
    if (static_cast<CStrSchStrTeil*>(p)->RemoveIsolatedGrdCrossings()) removed = true;
  return removed;
}

bool CStrSchienen::PointIsRailCrossing(short x, short y) { return HasExtraTeilAt(x, y); }

bool CStrSchienen::PointIsBend(short x, short y) {
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) {
    if (!Next(p)) break;
    if (p->GetEndX() == x && p->GetEndY() == y) return true;
    CIsoRichtung r;
    if (GetKurvenRichtung(&r, p, Next(p)) != 0) continue;
    int gx = p->GetEndX(), gy = p->GetEndY();
    if (r.GetValue() == 1 || r.GetValue() == 2) --gx;
    if (r.GetValue() == 2 || r.GetValue() == 3) --gy;
    if (x >= gx && x < gx + 3 && y >= gy && y < gy + 3) return true;
  }
  return false;
}

bool CStrSchienen::PointIsBendOverSize(short x, short y) {
  if (!PointIsBend(x, y)) return false;
  for (CStrStrassenTeil* p = Head(); p; p = Next(p))
    if (x >= p->GetEndX() && x < p->GetEndX() + 2 && y >= p->GetEndY() && y < p->GetEndY() + 2) return false;
  return true;
}

bool CStrSchienen::PointIsBendOuterPoint(short x, short y) {
  for (CStrStrassenTeil* p = Head(); p && Next(p); p = Next(p)) {
    CIsoRichtung r;
    if (GetKurvenRichtung(&r, p, Next(p)) != 0) continue;
    int gx = p->GetEndX(), gy = p->GetEndY();
    const int v = r.GetValue();
    if (v == 1 || v == 2) --gx;
    if (v == 2 || v == 3) --gy;
    const int ox = v == 1 || v == 2 ? gx + 2 : gx;
    const int oy = v == 2 || v == 3 ? gy + 2 : gy;
    if (x == ox && y == oy) return true;
  }
  return false;
}

bool CStrSchienen::CrossingAlong(short x, short y, int d) {
  signed char dx = 0, dy = 0;
  GetStreetDirectionAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), dx, dy);
  if (dx == 0 && dy == 0) return false;
  for (int s : {-1, 1}) {
    const short cx = static_cast<short>(x + s * d * dx), cy = static_cast<short>(y + s * d * dy);
    if (HasExtraTeilAt(cx, cy)) return true;
  }
  return false;
}

bool CStrSchienen::PointIsBeforeRailCrossing(short x, short y) {
  if (PointIsBend(x, y) || HasExtraTeilAt(x, y)) return false;
  return CrossingAlong(x, y, 1);
}

bool CStrSchienen::PointIsTwoBeforeRailCrossing(short x, short y) {
  if (PointIsBend(x, y) || HasExtraTeilAt(x, y)) return false;
  return CrossingAlong(x, y, 2);
}

bool CStrSchienen::PointTwoBeforJunction(short x, short y) {
  if (!IsoInMap(x, y) || GroundAt(m_pIsoWelt, x, y) != OBJ_RAIL_PIECE || !IsWorldTileOfStreet(x, y) ||
      PointIsBend(x, y))
    return false;
  signed char dx = 0, dy = 0;
  GetStreetDirectionAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), dx, dy);
  if (dx == 0 && dy == 0) return false;
  for (int s : {-2, 2})
    if (GroundAt(m_pIsoWelt, x + s * dx, y + s * dy) == OBJ_RAIL_JUNCTION) return true;
  return false;
}

// ------------------------------------------------------------------ loading

int CStrSchienen::LoadJunctions(uint16_t startId, uint16_t endId, CStrJunction** start, CStrJunction** end) {
  if (!(m_Type == STRASSE_SCHIENE)) {
    QNO_ERROR(QNO_SEV_ERROR, "Track record with street type %d refused", m_Type.GetValue());
    return 1;
  }
  *start = m_pRailNet ? m_pRailNet->GetJunctionByID(startId) : nullptr;
  *end = m_pRailNet ? m_pRailNet->GetJunctionByID(endId) : nullptr;
  if (*start && *end) return 0;
  QNO_ERROR(QNO_SEV_ERROR, "Track record names rail junctions %d and %d, not both in the rail network", startId,
            endId);
  return 1;
}

int CStrSchienen::RegisterLoaded(int16_t simId, int16_t simIdSecond) {
  m_SimID = simId;
  m_SimIDSecond = simIdSecond;
  // The counter continues above every id read.
  for (int16_t id : {simId, simIdSecond})
    if (id > 0 && static_cast<uint16_t>(id) + 1 > m_SchienenID) m_SchienenID = static_cast<uint16_t>(id + 1);
  CalcLaenge();
  return 0;
}
