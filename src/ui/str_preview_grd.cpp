// The street preview's level crossings and rail rules: where a dragged
// street meets a track (or a track a street) the preview marks a crossing,
// lays out the rectangle it will take and checks that both ways run on
// straight around it; a track may branch off a track or start on a rail
// bend only where the track geometry leaves room.
#include <algorithm>
#include <cstdlib>

#include "framework/qno_log.h"
#include "iso/iso_geometry.h"
#include "iso/iso_info.h"
#include "iso/iso_object.h"
#include "network/rail_junction_list.h"
#include "network/rail_track.h"
#include "network/str_junction.h"
#include "network/str_strasse.h"
#include "network/str_strassen_teil.h"
#include "network/street_objects.h"
#include "ui/str_preview.h"

static_assert(CStrPreviewRect::kGrdGroupA == CGrdCrossing::kResID4 && CStrPreviewRect::kGrdGroupB == CGrdCrossing::kResID,
              "the preview knows level crossings by the network's groups");
static_assert(CStrPreviewRect::kRailBendGroup == CStrSchienen::kCurveResID, "the rail bend is the network's group");

namespace {
int Sign(int v) { return (v > 0) - (v < 0); }
}  // namespace

bool CStrPreviewRect::ObjectsEqualAt(short x1, short y1, short x2, short y2) {
  if (!Cell(x1, y1) || !Cell(x2, y2)) return false;
  CWorldObj* a = GroundObject(x1, y1);
  return a && a == GroundObject(x2, y2);
}

bool CStrPreviewRect::IsGrdAt(short x, short y) {
  CIsoObjGroup* g = GroupAt(x, y);
  return g && (g->GetResID() == kGrdGroupA || g->GetResID() == kGrdGroupB);
}

bool CStrPreviewRect::SelectionHitGrd(CStrassenType type, short x, short y) {
  if (!Cell(x, y) || !ObjectIsStreet(Ground(x, y))) return false;
  auto* obj = dynamic_cast<CStreetObj*>(GroundObject(x, y));
  if (!obj) return false;
  const int crossed = obj->GetStreetType();
  bool mark = false;
  if (type == STRASSE_SCHIENE) {
    mark = crossed >= 1 && crossed <= 4;
  } else if (type == STRASSE_VIERSPURIG) {
    // Both strips of the track must be met.
    if (crossed == STRASSE_SCHIENE && ObjectIsStreet(Ground(x + m_DirX, y + m_DirY)))
      if (auto* next = dynamic_cast<CStreetObj*>(GroundObject(x + m_DirX, y + m_DirY)))
        mark = next->GetStreetType() == STRASSE_SCHIENE;
  } else {
    mark = crossed == STRASSE_SCHIENE;
  }
  if (!mark) return false;
  m_GrdHit = 1;
  CreateGrdDesciption(x, y, type);
  return true;
}

void CStrPreviewRect::SetGrdBuildType(short x, short y, CStrassenType type) {
  if (!Cell(x, y)) return;
  if (!(type == STRASSE_SCHIENE)) {
    if (Ground(x, y) != 50) {
      QNO_ERROR(QNO_SEV_WARNING, "No Schienen at %d/%d", x, y);
      return;
    }
    m_GrdBuildType = type > STRASSE_EINBAHN ? 1 : 0;
    return;
  }
  if (Ground(x, y) != 52) {
    QNO_ERROR(QNO_SEV_WARNING, "No Street at %d/%d", x, y);
    return;
  }
  if (auto* obj = dynamic_cast<CStreetObj*>(GroundObject(x, y))) m_GrdBuildType = obj->GetStreetType() > 3 ? 1 : 0;
}

void CStrPreviewRect::CreateGrdDesciption(short x, short y, CStrassenType type) {
  CGrdSelection& r = *m_pGrdSelection;
  const int dx = m_DirX, dy = m_DirY, sdx = m_SecDx, sdy = m_SecDy;
  if (!(type == STRASSE_SCHIENE)) {
    r.x0 = x - dy;
    r.y0 = y - dx;
    if (type == STRASSE_VIERSPURIG) {
      if (dx != 0)
        r.y0 = y - sdy;
      else
        r.x0 = x - sdx;
    }
    SetGrdBuildType(x, y, type);
    const int across = m_GrdBuildType == 1 ? 3 : 2;
    if (dx != 0) {
      r.x1 = r.x0 + dx;
      r.y1 = r.y0 + (m_GrdBuildType == 1 ? across * sdy : across * dx);
    } else {
      r.x1 = r.x0 + (m_GrdBuildType == 1 ? across * sdx : across * dy);
      r.y1 = r.y0 + dy;
    }
    return;
  }
  r.x0 = x - dx;
  r.y0 = y - dy;
  SetGrdBuildType(x, y, type);
  const int along = m_GrdBuildType == 1 ? 3 : 2;
  if (dx != 0) {
    r.x1 = r.x0 + along * dx;
    r.y1 = r.y0 + sdy;
  } else {
    r.x1 = r.x0 + sdx;
    r.y1 = r.y0 + along * dy;
  }
}

bool CStrPreviewRect::GrdIsValid(CStrassenType type) {
  m_GrdConnect = 0;
  const CGrdSelection& r = *m_pGrdSelection;
  const int dx = m_DirX, dy = m_DirY;
  // An end that extends a dead end along the drag may reach the crossing.
  auto extension = [this](CStrJunction* j) { return IsDeadEnd(j) && LeavesAlongDrag(j); };
  // Too near either end of the drag, the crossing is refused: what lies
  // too close to it is the new street's or track's own end, no junction of
  // the network; the drag is told the cells it lacks beside the crossing.
  const int nearEnd = type == STRASSE_SCHIENE ? kMsgTrackBesideStreet : kMsgStreetBesideTrack;
  const int e = m_EndAtJunction && extension(JunctionAt(m_EndX, m_EndY)) ? 0 : 2;
  if (dx != 0 ? Sign(dx * e + r.x1 - m_EndX) == dx : Sign(dy * e + r.y1 - m_EndY) == dy) {
    Because(nearEnd);
    return false;
  }
  const int s = m_StartAtJunction && extension(JunctionAt(m_StartX, m_StartY)) ? 0 : 2;
  if (s != 0 && (dx != 0 ? Sign(r.x0 - dx * s - m_StartX) != dx : Sign(r.y0 - dy * s - m_StartY) != dy)) {
    Because(nearEnd);
    return false;
  }
  m_GrdConnect = 1;
  return type == STRASSE_SCHIENE ? GrdConnectToStreet() : GrdConnectToSchienen();
}

int CStrPreviewRect::EndTooCloseToGrd(CStrassenType type) const {
  const CGrdSelection& r = *m_pGrdSelection;
  // Cells from the crossing's far side to the drag's end, along the drag.
  const int dir = m_DirX != 0 ? m_DirX : m_DirY;
  const int room = m_DirX != 0 ? (m_EndX - r.x1) * m_DirX : (m_EndY - r.y1) * m_DirY;
  if (type == STRASSE_SCHIENE) return room >= 3 ? 0 : kMsgTrackBesideStreet;
  // A street needs two cells after the track; a four-lane street dragged
  // towards -x or -y three, as its end's group takes the cell after its
  // end towards the track too.
  return room >= (type == STRASSE_VIERSPURIG && dir < 0 ? 3 : 2) ? 0 : kMsgStreetBesideTrack;
}

bool CStrPreviewRect::IsSimpleRail(short x, short y) {
  if (Ground(x, y) != 50) return false;
  CWorldObj* obj = GroundObject(x, y);
  auto* rail = dynamic_cast<CRailObj*>(obj);
  if (!rail) {
    QNO_ERROR(QNO_SEV_WARNING, "CRailObj Obj erwartet at %d/%d", x, y);
    return false;
  }
  CStrStrasse* track = rail->GetStreetList();
  if (!track || track->PointIsBend(x, y)) return false;
  CStrStrassenTeil* piece = track->FindStrassenTeilAt(x, y);
  CStrExtTlList* parts = piece ? piece->GetExtraTeilList() : nullptr;
  if (parts && parts->PointHitExtraTeil(x, y)) return false;
  return !IsHst(Upper(x, y));
}

bool CStrPreviewRect::GrdConnectToSchienen() {
  const CGrdSelection& r = *m_pGrdSelection;
  // The track runs on straight past both sides of the crossing, on both
  // of its strips.
  const int lx = std::min(r.x0, r.x1), hx = std::max(r.x0, r.x1);
  const int ly = std::min(r.y0, r.y1), hy = std::max(r.y0, r.y1);
  const bool alongX = m_DirY == 0;
  const int side0 = alongX ? ly - 1 : lx - 1, side1 = alongX ? hy + 1 : hx + 1;
  for (int side : {side0, side1})
    for (int c : {alongX ? lx : ly, alongX ? hx : hy}) {
      const int x = alongX ? c : side, y = alongX ? side : c;
      if (!IsSimpleRail(static_cast<short>(x), static_cast<short>(y))) {
        // What stands in the crossing's way tells the player why; where
        // no track goes on, the track has turned away.
        CStrStrasse* track = StreetAt(x, y);
        if (IsHst(Upper(x, y)))
          Because(kMsgStopInWay);
        else if (IsObjectKreuzung(Ground(x, y)))
          Because(kMsgGrdJunctionClose);
        else if (track && track->PointIsRailCrossing(static_cast<short>(x), static_cast<short>(y)))
          Because(kMsgLevelCrossingClose);
        else
          Because(kMsgGrdBendClose);
        return false;
      }
    }
  return true;
}

bool CStrPreviewRect::GrdConnectToStreet() {
  const CGrdSelection& r = *m_pGrdSelection;
  // Inclusive ranges from the smaller to the larger corner, whichever side
  // the track's second strip lies on: the street's cells between the
  // rectangle's first and last cell along the track, across the whole
  // rectangle, and the street going on straight on both sides of it.
  const bool alongX = m_DirX != 0;
  const int lx = std::min(r.x0, r.x1), hx = std::max(r.x0, r.x1);
  const int ly = std::min(r.y0, r.y1), hy = std::max(r.y0, r.y1);
  const int a0 = alongX ? lx + 1 : ly + 1, a1 = alongX ? hx - 1 : hy - 1;
  const int c0 = alongX ? ly : lx, c1 = alongX ? hy : hx;
  auto at = [alongX](int along, int across, int* x, int* y) {
    *x = alongX ? along : across;
    *y = alongX ? across : along;
  };
  for (int a = a0; a <= a1; ++a) {
    for (int c = c0; c <= c1; ++c) {
      int x = 0, y = 0;
      at(a, c, &x, &y);
      if (Ground(x, y) != 52) {
        Because(kMsgGrdJunctionClose);
        return false;
      }
      if (!dynamic_cast<CStreetObj*>(GroundObject(x, y))) {
        QNO_ERROR(QNO_SEV_WARNING, "Street Obj erwartet at %d/%d", x, y);
        return false;
      }
    }
    for (int c : {c0 - 1, c1 + 1}) {
      int x = 0, y = 0;
      at(a, c, &x, &y);
      CStrStrasse* s = StreetAt(x, y);
      const bool bend = s && s->PointIsBend(static_cast<short>(x), static_cast<short>(y));
      if (Ground(x, y) != 52 || !s || bend) {
        Because(bend ? kMsgGrdOnBend : kMsgGrdJunctionClose);
        return false;
      }
    }
  }
  return true;
}

bool CStrPreviewRect::GrgBeside(short x, short y) {
  if (Ground(x, y) != 52) return false;
  auto* obj = dynamic_cast<CStreetObj*>(GroundObject(x, y));
  if (!obj) return false;
  signed char ddx = 0, ddy = 0;
  obj->GetStreetDirectionAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ddx, ddy);
  const int nx = x + ddx, ny = y + ddy;
  if (IsoInMap(nx, ny) && Ground(nx, ny) == 50) return IsGrdAt(static_cast<short>(nx), static_cast<short>(ny));
  const int px = x - ddx, py = y - ddy;
  return Ground(px, py) == 50 && IsGrdAt(static_cast<short>(px), static_cast<short>(py));
}

bool CStrPreviewRect::SchienenTKreuzLegalAt(short x, short y, CStrassenType type, bool atStart) {
  CIsoObjGroup* g = GroupAt(x, y);
  auto* obj = dynamic_cast<CStreetObj*>(GroundObject(x, y));
  if (!Cell(x, y) || !g || !obj) return false;
  CStrStrasse* track = obj->GetStreetList();
  const int gx = g->GetStartPosX(), gy = g->GetStartPosY();
  const int sdx = m_SecDx, sdy = m_SecDy;
  if (track && track->PointIsBend(x, y)) return RailBendToJuncLegalAt(x, y, atStart);
  if (m_DirX == 0 && m_DirY == 0) return true;
  if (atStart && PointBeforJunction(track, x, y) && ObjectIsStreet(Ground(x, y)) && SecondStripSet()) {
    bool moved = false;
    if (!ShiftOntoJunction(x, y, &moved)) return false;
    if (moved) {
      const bool ok = StartAtJunctionValid(m_StartX, m_StartY, type);
      m_StartAtJunction = ok ? 1 : 0;
      return ok;
    }
  }
  const int dX = atStart ? Sign(m_EndX - m_StartX) : -Sign(m_EndX - m_StartX);
  const int dY = atStart ? Sign(m_EndY - m_StartY) : -Sign(m_EndY - m_StartY);
  auto rail = [this](int cx, int cy) { return IsSimpleRail(static_cast<short>(cx), static_cast<short>(cy)); };
  auto empty = [this](int cx, int cy) { return Cell(cx, cy) && TypeIsEmpty(Ground(cx, cy)); };
  // Inclusive ranges that step from a towards b.
  auto range = [](int a, int b, auto&& f) {
    const int st = a <= b ? 1 : -1;
    for (int v = a;; v += st) {
      if (!f(v)) return false;
      if (v == b) return true;
    }
  };
  int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
  if (dX == 0 && dY > 0) {
    X0 = gx - sdx;
    Y0 = gy;
    X1 = gx + 2 * sdx;
    Y1 = gy + 2;
    if (!range(X0, X1, [&](int cx) { return range(Y0, Y0 + 1, [&](int cy) { return rail(cx, cy); }); })) return false;
    if (!empty(X1, Y1)) return false;
    return rail(X0 - sdx, Y0) && rail(X0 - sdx, Y0 + 1) && rail(X1 + sdx, Y0) && rail(X1 + sdx, Y0 + 1);
  }
  if (dX == 0) {
    X0 = gx + 2;
    Y0 = gy + 1;
    X1 = gx - 1;
    Y1 = gy - 1;
    if (!range(X0, X1, [&](int cx) { return range(Y0, Y0 - 1, [&](int cy) { return rail(cx, cy); }); })) return false;
    if (!range(X0, X1, [&](int cx) { return empty(cx, Y1); })) return false;
    return rail(X0 + sdx, Y0) && rail(X0 + sdx, Y0 - 1) && rail(X1 - sdx, Y0) && rail(X1 - sdx, Y0 - 1);
  }
  if (dX < 0) {
    X0 = gx + 1;
    Y0 = sdy == 1 ? gy + 2 : gy + 1;
    X1 = gx - 1;
    Y1 = Y0 - 3;
    if (!range(X0, X0 - 1, [&](int cx) { return range(Y0, Y1, [&](int cy) { return rail(cx, cy); }); })) return false;
    if (!range(Y0, Y1, [&](int cy) { return empty(X1, cy); })) return false;
    return rail(X0, Y0 + sdy) && rail(X0 - 1, Y0 + sdy) && rail(X0, Y1 - sdy) && rail(X0 - 1, Y1 - sdy);
  }
  X0 = gx;
  Y0 = sdy > 0 ? gy - 1 : gy - 2;
  X1 = gx + 2;
  Y1 = Y0 + 3;
  if (!range(X0, X1 - 1, [&](int cx) { return range(Y0, Y1, [&](int cy) { return rail(cx, cy); }); })) return false;
  if (!range(Y0, Y1, [&](int cy) { return empty(X1, cy); })) return false;
  return rail(X0, Y0 - sdy) && rail(X0 + 1, Y0 - sdy) && rail(X0, Y1 + sdy) && rail(X0 + 1, Y1 + sdy);
}

bool CStrPreviewRect::RailBendToJuncLegalAt(short x, short y, bool atStart) {
  uint8_t& flag = atStart ? m_StartOnBend : m_EndOnBend;
  auto fail = [&flag] {
    flag = 0;
    return false;
  };
  CIsoObjGroup* g = GroupAt(x, y);
  if (!Cell(x, y) || !g) return false;
  if (m_DirX == 0 && m_DirY == 0) {
    flag = 1;
    return true;
  }
  const int sdx = m_SecDx, sdy = m_SecDy;
  const int gx = g->GetStartPosX(), gy = g->GetStartPosY();
  const int w = g->GetTurnedSizeX(), h = g->GetTurnedSizeY();
  const int qx = x + sdx, qy = y + sdy;
  const int dir = atStart ? 1 : -1;
  if (qx >= gx && qx <= gx + w - 1 && qy >= gy && qy <= gy + h - 1) {
    const int fx = x + 2 * sdx, fy = y + 2 * sdy;
    if (!Cell(fx, fy)) return false;
    if (!TypeIsEmpty(Ground(fx, fy))) {
      const int ox = m_DirX != 0 ? x + dir * m_DirX : x + 2 * sdx;
      const int oy = m_DirX != 0 ? y + 2 * sdy : y + dir * m_DirY;
      if (ObjectsEqualAt(x, y, static_cast<short>(ox), static_cast<short>(oy))) return fail();
    }
  } else {
    const int ox = m_DirX != 0 ? x + dir * m_DirX : x - sdx;
    const int oy = m_DirX != 0 ? y - sdy : y + dir * m_DirY;
    if (!Cell(ox, oy)) return false;
    if (!TypeIsEmpty(Ground(ox, oy))) return fail();
  }
  if (SecondStripSet() && IsSimpleRail(static_cast<short>(x - sdx), static_cast<short>(y - sdy))) {
    CStrStrasse* a = StreetAt(x - sdx, y - sdy);
    CStrStrasse* b = StreetAt(x, y);
    if (!a || !b) QNO_ERROR(QNO_SEV_WARNING, "%s", "No legal StreetObj");
    if (a && a == b) return fail();
  }
  flag = 1;
  return true;
}

bool CStrPreviewRect::RailBendLegeal(short x, short y, short gx, short gy, signed char mx, signed char my) {
  if (!SecondStripSet()) return true;
  const int sdx = m_SecDx, sdy = m_SecDy;
  int* R = m_pRailBend;
  int area[3][2] = {};
  int bx0 = 0, bx1 = 0, by0 = 0, by1 = 0;
  if (my != 0 && sdy != 0) {
    if (gx == x) {
      R[0] = gx + 1, R[1] = gy, R[2] = gx - 1, R[3] = gy + 2 * sdy;
    } else {
      R[0] = gx, R[1] = gy, R[2] = gx + 2, R[3] = gy + 2 * sdy;
    }
    for (int i = 0; i < 3; ++i) area[i][0] = R[2], area[i][1] = gy + i * sdy;
    bx0 = R[0];
    bx1 = R[0] + Sign(R[2] - R[0]);
    by0 = gy + 2 * sdy;
    by1 = gy + 3 * sdy;
  } else if (my == 0 && sdx != 0) {
    if (gy == y) {
      R[0] = gx, R[1] = gy + 1, R[2] = gx + 2 * sdx, R[3] = gy - 1;
    } else {
      R[0] = gx, R[1] = gy, R[2] = gx + 2 * sdx, R[3] = gy + 2;
    }
    for (int i = 0; i < 3; ++i) area[i][0] = gx + i * sdx, area[i][1] = R[3];
    bx0 = gx + 2 * sdx;
    bx1 = gx + 3 * sdx;
    by0 = R[1];
    by1 = R[1] + Sign(R[3] - R[1]);
  } else {
    return true;
  }
  (void)mx;
  for (const auto& c : area) {
    if (!Cell(c[0], c[1])) return false;
    if (!TypeIsEmpty(Ground(c[0], c[1])) && !(m_StartAtJunction && m_EndAtJunction && m_MinLength <= 1)) return false;
  }
  for (int cx = std::min(bx0, bx1); cx <= std::max(bx0, bx1); ++cx)
    for (int cy = std::min(by0, by1); cy <= std::max(by0, by1); ++cy)
      if (!IsSimpleRail(static_cast<short>(cx), static_cast<short>(cy))) return false;
  return true;
}
