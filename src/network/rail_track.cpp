#include "network/rail_track.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "framework/qno_log.h"
#include "iso/iso_geometry.h"
#include "iso/iso_object.h"
#include "iso/iso_welt.h"
#include "network/crossing_objects.h"
#include "network/rail_junction.h"
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
    // A crossing is laid from the street's line: a four-lane street's is
    // its row of lower x (or y), which a track towards -x or -y meets second.
    if (type == STRASSE_VIERSPURIG && (mx < 0 || my < 0) && first + 1 < i) ++first;
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
  if (!IsoInMap(x, y)) return 0;
  m_pIsoWelt->SetIsoGroupTurnedAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND,
                                  kStraightResID, m_pWorldObj, direction);
  // A straight group turned towards -x or -y reaches onto the cell it
  // follows: after a level crossing that is the crossing's anchor, which
  // carries the crossing's cells; the crossing's group is laid again.
  CStrExtTlList* parts = piece->GetExtraTeilList();
  for (CZorvaObject* o = parts ? parts->GetHead() : nullptr; o; o = o->GetNext()) {
    auto* crossing = dynamic_cast<CGrdCrossing*>(o);
    short ax = 0, ay = 0;
    if (!crossing || !crossing->GetMicroZellenPos(ax, ay) || !IsoInMap(ax, ay)) continue;
    const CIsoObjGroup* g =
        m_pIsoWelt->GetGroupAt(static_cast<unsigned short>(ax), static_cast<unsigned short>(ay), ISO_LAYER_GROUND);
    if (!g || g->GetResID() != kStraightResID) continue;
    short ex = 0, ey = 0;
    crossing->InsertIntoIsoWelt(m_pIsoWelt, ex, ey, m_pWorldObj, m_InLoadFile != 0);
  }
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

bool CStrSchienen::ShowsJunction(CStrJunction* j) {
  auto* rail = dynamic_cast<CStrSchJunction*>(j);
  return rail ? rail->ShowsWholeGroup() : j->IsDrawn();
}

int CStrSchienen::InsertIntoIsoWelt() {
  const int r = CStrStrasse::InsertIntoIsoWelt();
  if (r != 0 || m_InLoadFile) return r;
  bool drawn = false;
  // A junction group beside the track's ends may have lost cells to the
  // track drawn again (its end tiles reach into the group): the group is
  // laid again over them.
  for (CStrJunction* j : {m_pStartJunction, m_pEndJunction})
    if (j && j->GetAnzLinkedStreets() != 2 && !ShowsJunction(j)) {
      j->InsertIntoIsoWelt();
      drawn = true;
    }
  // The track's cells end beside its junctions' groups: laid again once
  // the groups are on the map, and joined to the junctions' cells.
  if (drawn) CreateMicroZelle();
  return 0;
}

int CStrSchienen::RemoveFromIsoWelt(bool repair) {
  const int r = CStrStrasse::RemoveFromIsoWelt(repair);
  CStrJunctionList* streets = CStrJunction::m_pStreetNet;
  if (!streets || !m_pIsoWelt) return r;
  if (repair) {
    // Every street under a level crossing draws itself again, with its
    // cells; the list stays off its piece meanwhile.
    for (CStrStrassenTeil* p = Head(); p; p = Next(p)) {
      CStrExtTlList* parts = p->DetachExtraTeilList();
      if (parts) parts->RepairOdlStreet(true);
      p->AttachExtraTeilList(parts);
    }
    return r;
  }
  // A level crossing took the street's cells under it: the street draws
  // those cells again (only those: its other crossings stay), and the
  // track, when it stays, draws its crossing over them. The street's cells
  // are laid again, and its junctions' lights take them.
  std::vector<CStrStrasse*> redrawn;
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
          if (std::find(redrawn.begin(), redrawn.end(), street) == redrawn.end()) redrawn.push_back(street);
        }
    }
  }
  for (CStrStrasse* street : redrawn) {
    street->CreateMicroZelle();
    for (CStrJunction* j : {street->GetStartJunction(), street->GetEndJunction()})
      if (j && j->HasAmpel()) j->UpdateAmpeln();
  }
  // The street's cells laid again run under the level crossings of other
  // tracks too, whose cells were joined to the street's old ones: those
  // tracks lay their cells again, and their crossings take the street's.
  if (!redrawn.empty() && m_pRailNet)
    for (CZorvaObject* o = m_pRailNet->GetHead(); o; o = o->GetNext()) {
      auto* j = static_cast<CStrJunction*>(o);
      for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
        auto* other = static_cast<CStrSchienen*>(j->GetStreetByNR(i));
        if (other != this && other->GetStartJunction() == j && other->CrossesAny(redrawn)) other->CreateMicroZelle();
      }
    }
  return r;
}

bool CStrSchienen::CrossesAny(const std::vector<CStrStrasse*>& streets) {
  CStrJunctionList* net = CStrJunction::m_pStreetNet;
  if (!net) return false;
  for (CStrStrassenTeil* p = Head(); p; p = Next(p))
    for (CZorvaObject* o = p->GetExtraTeilList() ? p->GetExtraTeilList()->GetHead() : nullptr; o; o = o->GetNext()) {
      auto* crossing = dynamic_cast<CGrdCrossing*>(o);
      short ux = 0, uy = 0;
      CStrStrasse* street = nullptr;
      CStrStrassenTeil* piece = nullptr;
      if (!crossing) continue;
      crossing->GetUpperStreetPos(ux, uy);
      if (net->PointHitStreet(ux, uy, &street, &piece) &&
          std::find(streets.begin(), streets.end(), street) != streets.end())
        return true;
    }
  return false;
}

// ------------------------------------------------------------- end cells

namespace {

// The group on a junction's cell, or null.
CIsoObjGroup* JunctionGroup(CIsoWelt* iso, CStrJunction* j) {
  if (!iso || !j || !IsoInMap(j->GetXPos(), j->GetYPos())) return nullptr;
  return iso->GetGroupAt(static_cast<unsigned short>(j->GetXPos()), static_cast<unsigned short>(j->GetYPos()),
                         ISO_LAYER_GROUND);
}

}  // namespace

int CStrSchienen::GetFirstIsoPos(short* x, short* y) {
  CStrStrassenTeil* p = Head();
  CStrJunction* j = m_pStartJunction;
  if (!p || !x || !y) return 1;
  short mx = 0, my = 0;
  p->CalcM(mx, my);
  *x = static_cast<short>(p->GetStartX() + mx);
  *y = static_cast<short>(p->GetStartY() + my);
  CIsoObjGroup* g = JunctionGroup(m_pIsoWelt, j);
  if (!g) return 0;
  const int jx = j->GetXPos(), jy = j->GetYPos();
  const int gx = g->GetStartPosX(), gy = g->GetStartPosY(), w = g->GetTurnedSizeX(), h = g->GetTurnedSizeY();
  const int tracks = j->GetAnzLinkedStreets();
  if (*x < jx && tracks == 3)
    *x = static_cast<short>(gx - 1);
  else if (*x <= jx && *y > jy)
    *y = static_cast<short>(gy + h);
  else if (*x <= jx && tracks >= 3)
    *y = static_cast<short>(*y - 1);
  else if (*x > jx)
    *x = static_cast<short>(tracks == 3 ? gx + w : *x - 1 + w);
  return 0;
}

int CStrSchienen::GetLastIsoPos(short* x, short* y) {
  CStrStrassenTeil* p = Tail();
  CStrJunction* j = m_pEndJunction;
  if (!p || !x || !y) return 1;
  short mx = 0, my = 0;
  CalcMAtTail(&mx, &my);
  *x = static_cast<short>(p->GetEndX() + mx);
  *y = static_cast<short>(p->GetEndY() + my);
  if (!j) return 0;
  CIsoObjGroup tmp;
  CIsoObjGroup* g = JunctionGroup(m_pIsoWelt, j);
  short gx = 0, gy = 0;
  if (g) {
    gx = g->GetStartPosX();
    gy = g->GetStartPosY();
  } else if (CreateTmpGroup(&tmp, &gx, &gy) == 0) {
    g = &tmp;
  } else {
    return 0;
  }
  const int jx = j->GetXPos(), jy = j->GetYPos(), tracks = j->GetAnzLinkedStreets();
  const int w = g->GetTurnedSizeX(), h = g->GetTurnedSizeY();
  if (*x > jx) {
    *x = static_cast<short>(*x - 1 + w);
    if (tracks == 3 && g->GetRichtung() == 2) *x = static_cast<short>(*x - 1);
  } else if (*x < jx && tracks == 3) {
    *x = static_cast<short>(gx - 1);
  } else if (*y > jy) {
    *y = static_cast<short>(*y - 1 + h);
  } else if (tracks > 2) {
    *y = static_cast<short>(*y - 1);
  }
  return 0;
}

CQnoMicroZelle* CStrSchienen::GetLastMicroZelle() {
  if (CQnoMicroZelle* cell = CStrStrasse::GetLastMicroZelle()) return cell;
  // A crossing's picture has the street in its second column: turned round
  // with its track (a deletion joining two tracks turns one), it is laid
  // again from the street's cell and reaches a cell further towards the
  // track's new end, up to the end junction's group. The track's last cell
  // then lies under the crossing, whose one layout carries the track.
  short x = 0, y = 0;
  CStrStrassenTeil* tail = Tail();
  CStrExtTlList* parts = tail ? tail->GetExtraTeilList() : nullptr;
  if (!parts || GetLastIsoPos(&x, &y) != 0) return nullptr;
  for (CZorvaObject* o = parts->GetHead(); o; o = o->GetNext()) {
    auto* crossing = dynamic_cast<CGrdCrossing*>(o);
    if (!crossing || !crossing->PointHitExtraTeil(x, y)) continue;
    short ax = 0, ay = 0;
    crossing->GetMicroZellenPos(ax, ay);
    return GetMicroZellen(static_cast<unsigned short>(ax), static_cast<unsigned short>(ay));
  }
  return nullptr;
}

int CStrSchienen::CreateTmpGroup(CIsoObjGroup* group, short* x, short* y) {
  auto* j = dynamic_cast<CStrSchJunction*>(m_pEndJunction);
  if (!group || !x || !y || !j || j->GetAnzLinkedStreets() < 3) return 1;
  CStrJunction::Arm arms[CStrJunction::kMaxStreets];
  int rotation = 0;
  const int id = CStrSchJunction::GraphicForRailArms(arms, j->GetArms(arms), &rotation);
  if (id == 0) return 1;
  j->GroupOrigin(rotation, x, y);
  return group->Create(id, static_cast<TIsoRichtung>(rotation & 3), *x, *y);
}

int CStrSchienen::FixeGroupOffset(CStrJunction* junction, short& x, short& y, signed char mx, signed char my) {
  if (!junction || !m_pIsoWelt || junction->GetType() < STRASSE_VIERSPURIG) return 0;
  if (!IsoInMap(junction->GetXPos(), junction->GetYPos())) return 0;
  const auto jx = static_cast<unsigned short>(junction->GetXPos()), jy = static_cast<unsigned short>(junction->GetYPos());
  CIsoObjGroup* g = m_pIsoWelt->GetGroupAt(jx, jy, ISO_LAYER_GROUND);
  if (!g || g->GetResID() != CStrSchJunction::kTResID ||
      m_pIsoWelt->GetTypeAt(jx, jy, ISO_LAYER_GROUND) != OBJ_RAIL_JUNCTION)
    return 0;
  // Called with the head's step at the start and the tail's step turned
  // round at the end; a loop's two ends share the junction.
  CStrStrassenTeil* head = Head();
  const bool atStart = junction == m_pStartJunction && head && x == head->GetStartX() && y == head->GetStartY();
  g->GetKoorBeside(x, y, mx, my);
  // The straight groups are laid from a tile towards +x, and the walk
  // between the ends leaves both out: where the cell beside the group lies
  // on its +x side (a head leaving towards +x, a tail arriving towards -x)
  // the walk must end one short of it, or the track's tile there stays
  // bare and its cells lead nowhere. A tail arriving towards +x ends one
  // short of the group's first cell, so that its last group stays off it.
  if ((atStart && mx == 1) || (!atStart && mx != 0)) x = static_cast<short>(x - 1);
  return 0;
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
  for (CStrStrassenTeil* p = Head(); p; p = Next(p))
    if (CurveCovers(p, x, y)) return true;
  return false;
}

bool CStrSchienen::CurveCovers(CStrStrassenTeil* p, short x, short y) {
  if (!p || !Next(p)) return false;
  if (p->GetEndX() == x && p->GetEndY() == y) return true;
  CIsoRichtung r;
  if (GetKurvenRichtung(&r, p, Next(p)) != 0) return false;
  int gx = p->GetEndX(), gy = p->GetEndY();
  if (r.GetValue() == 1 || r.GetValue() == 2) --gx;
  if (r.GetValue() == 2 || r.GetValue() == 3) --gy;
  return x >= gx && x < gx + 3 && y >= gy && y < gy + 3;
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

bool CStrSchienen::BeforeBendAt(short x, short y, int low, int high) {
  for (CStrStrassenTeil* p = Head(); p; p = Next(p)) {
    if (!Prev(p) && !Next(p)) continue;
    signed char mx = 0, my = 0;
    p->CalcM(mx, my);
    if (mx == 0 && my == 0) continue;
    const bool alongX = mx != 0;
    const int step = alongX ? mx : my;
    const int lo = alongX ? std::min(p->GetStartX(), p->GetEndX()) : std::min(p->GetStartY(), p->GetEndY());
    const int hi = alongX ? std::max(p->GetStartX(), p->GetEndX()) : std::max(p->GetStartY(), p->GetEndY());
    const int across = alongX ? p->GetStartY() : p->GetStartX();
    const int run = alongX ? x : y, cross = alongX ? y : x;
    if (cross != across && cross != across + 1) continue;
    const bool lowBend = (Prev(p) && step > 0) || (Next(p) && step < 0);
    const bool highBend = (Prev(p) && step < 0) || (Next(p) && step > 0);
    if ((lowBend && run == lo + low) || (highBend && run == hi - high)) return true;
  }
  return false;
}

bool CStrSchienen::PointIsBeforBend(short x, short y) { return BeforeBendAt(x, y, 3, 2); }

bool CStrSchienen::PointIsTwoBeforBend(short x, short y) { return BeforeBendAt(x, y, 4, 3); }

bool CStrSchienen::PointIsSpaceForRailCrossing(short x, short y) {
  if (!IsoInMap(x, y) || PointIsBend(x, y)) return false;
  signed char dx = 0, dy = 0;
  GetStreetDirectionAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), dx, dy);
  if (dx == 0 && dy == 0) return false;
  for (int d : {-2, -1, 1, 2}) {
    const auto cx = static_cast<short>(x + d * dx), cy = static_cast<short>(y + d * dy);
    if (PointIsBend(cx, cy) || PointIsBeforBend(cx, cy)) return false;
    if (GroundAt(m_pIsoWelt, cx, cy) == OBJ_RAIL_JUNCTION) return false;
    if (m_pRailNet ? m_pRailNet->HasGrdCrossingAt(cx, cy) : HasExtraTeilAt(cx, cy)) return false;
    if (PointIsHst(cx, cy)) return false;
  }
  return true;
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

bool CStrSchienen::PointBeforEndStueckSchienenAndRailLong(short x, short y, bool checkLong) {
  if (m_Type.GetValue() < STRASSE_VIERSPURIG || !m_pIsoWelt) return false;
  bool deadEnd = false;
  if (!PointBeforJunction(x, y, deadEnd)) return false;
  for (CStrJunction* j : {m_pStartJunction, m_pEndJunction}) {
    if (!j || j->GetAnzLinkedStreets() != 1) continue;
    // The slope of the piece at this end, from the end into the track.
    CStrStrassenTeil* p = j == m_pStartJunction ? Head() : Tail();
    if (!p) continue;
    const int jx = j->GetXPos(), jy = j->GetYPos();
    const int ox = j == m_pStartJunction ? p->GetEndX() : p->GetStartX();
    const int oy = j == m_pStartJunction ? p->GetEndY() : p->GetStartY();
    const int mx = Step(ox - jx), my = Step(oy - jy);
    if ((mx != 0) == (my != 0)) continue;
    // The end's group covers the end's cell and, towards +x or +y, the
    // next: the first cell past it on the track's line, and its row beside.
    int cx = jx, cy = jy;
    CWorldObj* end = j->GetKreuzObject();
    for (int i = 0; i < 2 && end && IsoInMap(cx, cy) && m_pIsoWelt->GetIsoTileObject(cx, cy, ISO_LAYER_GROUND) == end;
         ++i) {
      cx += mx;
      cy += my;
    }
    const bool inside = (x == cx && y == cy) || (x == cx + (mx == 0) && y == cy + (my == 0));
    if (!inside) continue;
    if (!checkLong) return true;
    const int x2 = x + 2 * mx, y2 = y + 2 * my, x3 = x + 3 * mx, y3 = y + 3 * my;
    if (GroundAt(m_pIsoWelt, x2, y2) != OBJ_RAIL_PIECE || GroundAt(m_pIsoWelt, x3, y3) != OBJ_RAIL_PIECE) continue;
    if (PointIsBend(static_cast<short>(x2), static_cast<short>(y2)) ||
        PointIsBend(static_cast<short>(x3), static_cast<short>(y3)))
      continue;
    const auto sx3 = static_cast<short>(x3), sy3 = static_cast<short>(y3);
    if (m_pRailNet ? m_pRailNet->HasGrdCrossingAt(sx3, sy3) : HasExtraTeilAt(sx3, sy3)) continue;
    return true;
  }
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
