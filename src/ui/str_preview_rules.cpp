// The street preview's legality: where a street or track may start and
// end, how it meets junctions, streets and bends, which cells it may run
// over, how long it must be and when it would close a cycle. A hard
// refusal shows its warning; a quiet one only clears the validity.
#include <cstdlib>

#include "framework/qno_log.h"
#include "iso/iso_geometry.h"
#include "iso/iso_info.h"
#include "iso/iso_object.h"
#include "network/crossing_objects.h"
#include "network/rail_junction_list.h"
#include "network/str_junction.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "ui/str_preview.h"
#include "worldbase/zor_types.h"

namespace {
constexpr int kMsgJunctionsClose = 8;
constexpr int kMsgBendClose = 9;
constexpr int kMsgSameType = 10;
constexpr int kMsgCycle = 28;

int Sign(int v) { return (v > 0) - (v < 0); }
bool Single(CStrassenType t) { return t < STRASSE_VIERSPURIG; }
}  // namespace

bool CStrPreviewRect::Refuse(int id, CStrassenType type) {
  MsgBox(GetMessageText(id, type));
  m_ShownThisTime = 1;
  m_Valid = 0;
  return false;
}

void CStrPreviewRect::ExplainRefusal(CStrassenType type) {
  if (m_ShownThisTime) return;
  MsgBox(GetMessageText(m_QuietReason ? m_QuietReason : kMsgNotPossible, type));
  m_ShownThisTime = 1;
}

bool CStrPreviewRect::CheckIsoKoorRange() const {
  return Cell(m_StartX, m_StartY) && Cell(m_StartX + m_SecDx, m_StartY + m_SecDy);
}

// Every refusal clears the validity, the quiet ones too: the preview is
// drawn by it, and must not look buildable when it is not.
bool CStrPreviewRect::CheckValid(CStrassenType type) {
  m_GrdHit = 0;
  m_NetRefusal = 0;
  bool ok = true;
  int hits = 0, grdHits = 0;
  bool prevEmpty = true;
  int prevType = -1;
  if (!CheckIsoKoorRange()) return Refuse();
  if (BuildDouble(type) && !SecondStripSet()) return Refuse();
  if (m_StartAtJunction && !CheckFarSideStreets(type, true)) return Refuse();
  if (m_EndAtJunction && !CheckFarSideStreets(type, false)) return Refuse();
  const int sx = Sign(m_EndX - m_StartX), sy = Sign(m_EndY - m_StartY);
  RecalcMinStreetLength(type);
  if (!CheckStreetLength(type)) return RefuseQuietly(kMsgTooShort);
  const int n = GetSelectionLength();
  for (int k = 0; k <= n; ++k) {
    const int x = m_StartX + k * sx, y = m_StartY + k * sy;
    const auto cx = static_cast<short>(x), cy = static_cast<short>(y);
    if (!Cell(x, y)) return Refuse();
    const int t = Ground(x, y);
    if (!TypeIsRemoveble(t)) return Refuse();
    if (IsHst(Upper(x, y))) return Refuse(kMsgStopInWay, type);
    const int qx = x + m_SecDx, qy = y + m_SecDy;
    if (!Cell(qx, qy)) return Refuse();
    if (IsHst(Upper(qx, qy))) return Refuse(kMsgStopInWay, type);
    if (!m_GrdHit && SelectionHitGrd(type, cx, cy) && !GrdIsValid(type)) return RefuseQuietly(kMsgGrdJunctionClose);
    if (m_GrdHit && m_GrdConnect) {
      if (m_pGrdSelection->IsLess(cx, cy) && SelectionHitGrd(type, cx, cy)) return Refuse();
      if (grdHits > 2) return Refuse();
      if (type == STRASSE_SCHIENE && grdHits > 1 && TypeIsEmpty(t) && m_GrdBuildType != 1) return Refuse();
    }
    // A river's cells in a row are one bridge, and the cells of one
    // junction's group one junction: neither is a run over the network.
    const bool sameAsPrev = k > 0 && ((t == OBJ_RIVER && prevType == OBJ_RIVER) ||
                                      (IsObjectKreuzung(t) && KreuzAt(x, y) && KreuzAt(x, y) == KreuzAt(x - sx, y - sy)));
    if (hits > 1 && !m_GrdHit) {
      SelectionHitGrd(type, cx, cy);
      if (!m_GrdHit) {
        ok = false;
        Because(kMsgNotPossible);
      } else if (hits > 2) {
        return Refuse();
      }
    }
    // A street begun on open ground ends at the first street it meets.
    if (hits > 0 && m_StartOnEmpty && TypeIsEmpty(t) && !IsGrdCrossing()) return RefuseQuietly(kMsgNotPossible);
    if (!TypeIsEmpty(t) && !prevEmpty && !sameAsPrev && n > 2 && !IsGrdCrossing() &&
        !(type == STRASSE_SCHIENE && t == 50))
      return RefuseQuietly(kMsgNotPossible);
    const bool inner = k != 0 && k != n;
    if (inner && SecondStripSet()) {
      const int q = Ground(qx, qy);
      // Beside a river cell the second strip's river is the bridge's too.
      if (!TypeIsEmpty(q) && !(q == OBJ_RIVER && t == OBJ_RIVER)) {
        if (!(type == STRASSE_SCHIENE) && !IsGrdCrossing()) return RefuseQuietly(kMsgNotPossible);
        if (TypeIsEmpty(t)) return RefuseQuietly(kMsgNotPossible);
      }
    }
    prevEmpty = TypeIsEmpty(t);
    prevType = t;
    if ((ObjectIsStreet(t) || IsObjectKreuzung(t)) && !sameAsPrev) {
      ++hits;
      if (m_GrdHit && m_GrdConnect) ++grdHits;
    }
  }
  if (m_Valid && m_StartAtJunction && m_EndAtJunction) {
    // An end on the start's own junction (another cell of its group) has
    // not left the junction yet: no street, and no cycle either.
    if (KreuzAt(m_StartX, m_StartY) && KreuzAt(m_StartX, m_StartY) == KreuzAt(m_EndX, m_EndY))
      return RefuseQuietly(kMsgTooShort);
    if (!StartJunctIsEqualEndJunc()) return Refuse(kMsgSameType, type);
    if (BuildCycle()) return Refuse(kMsgCycle, type);
  }
  if (BuildDouble(type) && SecondStripSet()) {
    const int ex = m_EndX + m_SecDx, ey = m_EndY + m_SecDy;
    if (!Cell(ex, ey)) return Refuse();
    const int q = Ground(ex, ey);
    if (!TypeIsEmpty(q) && !IsObjectKreuzung(q) && !ObjectIsStreet(q)) return Refuse();
    if (q == 53) {
      if (!Cell(m_EndX, m_EndY)) return Refuse();
      if (TypeIsEmpty(Ground(m_EndX, m_EndY))) return Refuse();
    }
  }
  m_Valid = ok && m_StartValid && m_EndValid ? 1 : 0;
  // What the preview shows as buildable the network builds: its own
  // checks of the rectangle have the last word.
  if (m_Valid && (m_NetRefusal = AskNetwork(type)) != 0) {
    // A crossing the network has no room for: the drag's end too close to
    // it, or else the network around it (a junction, a bend) too close.
    int reason = kMsgNotPossible;
    if (m_GrdHit && m_NetRefusal == STR_BUILD_NO_ROOM) {
      const int nearEnd = EndTooCloseToGrd(type);
      reason = nearEnd != 0 ? nearEnd : kMsgGrdJunctionClose;
    }
    return RefuseQuietly(reason);
  }
  return true;
}

int CStrPreviewRect::AskNetwork(CStrassenType type) {
  short x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  GetStreetBuildRect(&x1, &y1, &x2, &y2);
  if (!IsoInMap(x1, y1) || !IsoInMap(x2, y2) || (x1 != x2 && y1 != y2)) return STR_BUILD_BAD_REQUEST;
  // Only the street types and the track are built.
  if (type < STRASSE_1 || (type > STRASSE_VIERSPURIG && !(type == STRASSE_SCHIENE))) return STR_BUILD_BAD_REQUEST;
  if (type == STRASSE_SCHIENE) {
    if (!m_pRails) return STR_BUILD_BAD_REQUEST;
    if (const int r = m_pRails->CheckTrackDrag(x1, y1, x2, y2); r != 0) return r;
    return m_pRails->CheckDrag(x1, y1, x2, y2, type);
  }
  if (!m_pStreets) return STR_BUILD_BAD_REQUEST;
  // The drag checks judge the street between the rectangle's ends as the
  // network would lay it; a drag onto a four-lane dead end is shifted
  // first, so only the straight rectangle is asked.
  if (const int r = m_pStreets->CheckDrag(x1, y1, x2, y2, type); r != 0) return r;
  if (m_pRails) return m_pRails->CheckStreetDrag(x1, y1, x2, y2, type);
  return 0;
}

bool CStrPreviewRect::CheckFarSideStreets(CStrassenType type, bool atStart) {
  if (m_DirX == 0 && m_DirY == 0) return true;
  const int x = atStart ? m_StartX : m_EndX, y = atStart ? m_StartY : m_EndY;
  const int t = Ground(x, y);
  if (t < 0 || TypeIsEmpty(t)) return false;
  CKreuzObj* k = KreuzAt(x, y);
  CStrJunction* j = k ? k->GetWorldObject() : nullptr;
  if (!j || j->GetAnzLinkedStreets() != 3) return true;
  CStrStrasse* s = j->GetStreetWithLr(static_cast<short>(-m_DirX), static_cast<short>(-m_DirY));
  if (!s) return Refuse(kMsgNoStart, type);
  if (s->GetStreetType() == type || type == STRASSE_SCHIENE || s->GetStreetType() < STRASSE_VIERSPURIG) return true;
  return Refuse(kMsgSameType, type);
}

bool CStrPreviewRect::StartAtJunctionValid(short x, short y, CStrassenType type) {
  if (!Cell(x, y) || !IsObjectKreuzung(Ground(x, y))) return false;
  m_MinLength = 1;
  CStrJunction* j = JunctionAt(x, y);
  if (!j) return false;
  const int n = j->GetAnzLinkedStreets();
  if (n == 1 && !(Single(type) && j->GetType() < STRASSE_VIERSPURIG) && !(j->GetType() == type))
    return Refuse(kMsgSameType, type);
  if (n > 3) return Refuse(kMsgNoStart, type);
  const int qx = x + m_SecDx, qy = y + m_SecDy;
  if (type == STRASSE_SCHIENE) {
    if (n > 2) return Refuse(kMsgNoStart, type);
    if (SecondStripSet()) {
      if (!Cell(qx, qy)) return false;
      CStrStrasse* qs = StreetAt(qx, qy);
      if (qs && PointIsBend(qs, qx, qy)) return false;
      if (Ground(qx, qy) == 52) return false;
    }
  }
  if (BuildDouble(type) && SecondStripSet()) {
    CKreuzObj* k = KreuzAt(x, y);
    if (k && k->GetWorldObject() && !IsDeadEnd(k->GetWorldObject())) {
      if (!Cell(qx, qy)) return false;
      if (GroundObject(qx, qy) != k) return false;
    }
  }
  if (type == STRASSE_SCHIENE && (m_DirX != 0 || m_DirY != 0)) {
    CStrStrasse* qs = StreetAt(qx, qy);
    if (qs && (qs->GetStartJunction() == j || qs->GetEndJunction() == j)) {
      short mx = 0, my = 0;
      qs->CalcMAtPos(j, &mx, &my);
      const bool across = (mx != 0 || my != 0) && (std::abs(mx) != std::abs(m_DirX) || std::abs(my) != std::abs(m_DirY));
      if (across)
        if (CIsoObjGroup* g = GroupAt(x, y))
          return RailBendLegeal(x, y, g->GetStartPosX(), g->GetStartPosY(), static_cast<signed char>(mx),
                                static_cast<signed char>(my));
    }
  }
  if (type == STRASSE_VIERSPURIG && SecondStripSet()) {
    const int fx = x + 2 * m_SecDx, fy = y + 2 * m_SecDy;
    if (Ground(fx, fy) == 50 && IsGrdAt(static_cast<short>(fx), static_cast<short>(fy)))
      return Refuse(kMsgLevelCrossingClose, type);
    const int f = Ground(fx, fy);
    if ((f == 53 || f == 65) && ObjectsEqualAt(x, y, static_cast<short>(fx), static_cast<short>(fy))) return false;
  }
  if (IsDeadEnd(j) || m_EndAtJunction) return true;
  RaiseMinLength(type);
  return true;
}

bool CStrPreviewRect::EndAtJunctionValid(short x, short y, CStrassenType type) {
  if (!Cell(x, y)) return false;
  const int qx = x + m_SecDx, qy = y + m_SecDy;
  m_EndAtJunction = IsObjectKreuzung(Ground(x, y)) && (x != m_StartX || y != m_StartY) ? 1 : 0;
  if (BuildDouble(type)) {
    if (!Cell(qx, qy)) return false;
    if (IsObjectKreuzung(Ground(qx, qy))) m_EndAtJunction = 1;
  }
  if (!StartAtJunctionValid(x, y, type)) return false;
  if (!m_StartOnEmpty && m_EndAtJunction && Single(type)) return true;
  CStrJunction* j = m_EndAtJunction ? JunctionAt(x, y) : nullptr;
  if (j && IsDeadEnd(j) && !(Single(type) && j->GetType() < STRASSE_VIERSPURIG) && !(j->GetType() == type))
    return false;
  if (SecondStripSet()) {
    CKreuzObj* k = KreuzAt(x, y);
    if (k) {
      if (!Cell(qx, qy)) return false;
      CKreuzObj* kq = KreuzAt(qx, qy);
      if (kq && kq != k) return false;
    }
  }
  if (BuildDouble(type)) {
    if (!Cell(qx, qy)) return false;
    if (j && j->GetAnzLinkedStreets() >= 3) {
      if (!IsObjectKreuzung(Ground(qx, qy))) return false;
    } else if (TypeIsEmpty(Ground(qx, qy))) {
      return false;
    }
    CStrStrasse* qs = StreetAt(qx, qy);
    if (qs && PointIsBend(qs, qx, qy)) return false;
  }
  return true;
}

bool CStrPreviewRect::StartAtStreetValid(short x, short y, CStrassenType type) {
  if (!Cell(x, y)) return false;
  m_StartOnBend = 0;
  auto* obj = dynamic_cast<CStreetObj*>(GroundObject(x, y));
  if (!obj) {
    QNO_ERROR(QNO_SEV_WARNING, "CStreetObj erwartet at %d/%d", x, y);
    return false;
  }
  CStrStrasse* s = obj->GetStreetList();
  if (!s) return false;
  const int t = Ground(x, y);
  if (type == STRASSE_SCHIENE) return t == 50 && SchienenTKreuzLegalAt(x, y, type, true);
  if (t == 50) return false;
  m_MinLength = 1;
  const bool bend = PointIsBend(s, x, y);
  const int qx = x + m_SecDx, qy = y + m_SecDy;
  if (bend) {
    if (!(Single(type) && Single(s->GetStreetType())) && !(s->GetStreetType() == type))
      return Refuse(kMsgNoStart, type);
    m_StartOnBend = 1;
  } else {
    if (PointIsBeforBend(s, x, y)) return Refuse(kMsgBendClose, type);
    if (BuildDouble(type) && PointIsBeforBend(StreetAt(qx, qy), qx, qy)) return Refuse(kMsgBendClose, type);
  }
  if (PointBeforJunction(s, x, y)) {
    if (Single(type)) return Refuse(kMsgJunctionsClose, type);
    if (SecondStripSet()) {
      bool moved = false;
      if (!ShiftOntoJunction(x, y, &moved)) return false;
      if (moved) {
        const bool ok = StartAtJunctionValid(m_StartX, m_StartY, type);
        m_StartAtJunction = ok ? 1 : 0;
        return ok;
      }
    }
  }
  if (BuildDouble(type) && SecondStripSet() && PointBeforJunction(s, qx, qy))
    return Refuse(kMsgJunctionsClose, type);
  if (GrgBeside(x, y)) return Refuse(kMsgLevelCrossingClose, type);
  if (type == STRASSE_VIERSPURIG && SecondStripSet() && GrgBeside(static_cast<short>(qx), static_cast<short>(qy)))
    return Refuse(kMsgLevelCrossingClose, type);
  if (HstAt(type, x, y, s)) return false;
  if (!m_StartAtJunction) RaiseMinLength(type);
  if (!bend) return true;
  if (PointIsBeforBend(s, x, y)) return Refuse(kMsgBendClose, type);
  if (PointBeforJunction(s, x, y)) return Refuse(kMsgJunctionsClose, type);
  return true;
}

bool CStrPreviewRect::EndAtStreetValid(short x, short y, CStrassenType type) {
  if (!Cell(x, y)) return false;
  const int t = Ground(x, y);
  if (type == STRASSE_SCHIENE) return t == 50 && SchienenTKreuzLegalAt(x, y, type, false);
  if (t == 50) return false;
  CStrStrasse* s = StreetAt(x, y);
  if (!s) return false;
  const int qx = x + m_SecDx, qy = y + m_SecDy;
  const bool bend = PointIsBend(s, x, y);
  if (bend) {
    if (!(Single(type) && Single(s->GetStreetType())) && !(s->GetStreetType() == type)) {
      m_EndOnBend = 0;
      return Refuse(kMsgNoStart, type);
    }
    if (SecondStripSet() && !PointIsBend(s, qx, qy)) {
      m_EndOnBend = 0;
      return false;
    }
    m_EndOnBend = 1;
  } else {
    if (PointIsBeforBend(s, x, y)) return Refuse(kMsgBendClose, type);
    if (BuildDouble(type) && PointIsBeforBend(StreetAt(qx, qy), qx, qy)) return Refuse(kMsgBendClose, type);
  }
  if (PointBeforJunction(s, x, y)) return Refuse(kMsgJunctionsClose, type);
  if (BuildDouble(type) && PointBeforJunction(StreetAt(qx, qy), qx, qy)) return Refuse(kMsgJunctionsClose, type);
  if (SecondStripSet() && !bend && PointIsBend(StreetAt(qx, qy), qx, qy)) return false;
  if (GrgBeside(x, y)) return Refuse(kMsgLevelCrossingClose, type);
  if (type == STRASSE_VIERSPURIG && SecondStripSet() && GrgBeside(static_cast<short>(qx), static_cast<short>(qy)))
    return Refuse(kMsgLevelCrossingClose, type);
  if (HstAt(type, x, y, s)) {
    m_EndOnBend = 0;
    return false;
  }
  if (!m_StartAtJunction && !m_StartValid) RaiseMinLength(type);
  if (PointIsBeforBend(s, x, y)) return Refuse(kMsgBendClose, type);
  return true;
}

bool CStrPreviewRect::HstAt(CStrassenType type, short x, short y, CStrStrasse* street) {
  if (!street) return false;
  unsigned char found = 0;
  int first = 0;
  bool bend = false;
  const int r = street->GetRichtung(x, y, found, first, bend);
  // Directions 0 and 2 run along x, 1 and 3 along y.
  const int ax = (r == 0 || r == 2) ? 1 : 0, ay = ax ? 0 : 1;
  const int cells[4][2] = {{x, y}, {x - ax, y - ay}, {x + ax, y + ay}, {x + 2 * m_SecDx, y + 2 * m_SecDy}};
  const int count = BuildDouble(type) && SecondStripSet() ? 4 : 3;
  for (int i = 0; i < count; ++i) {
    if (!Cell(cells[i][0], cells[i][1])) return false;
    if (IsHst(Upper(cells[i][0], cells[i][1]))) {
      Refuse(kMsgStopInWay, type);
      return true;
    }
  }
  return false;
}

bool CStrPreviewRect::StartJunctIsEqualEndJunc() {
  if ((m_StartX == m_EndX && m_StartY == m_EndY) || !Cell(m_StartX, m_StartY)) return false;
  CKreuzObj* a = KreuzAt(m_StartX, m_StartY);
  if (!a) return true;
  if (!m_EndAtJunction) return m_EndOnEmpty != 0;
  if (!Cell(m_EndX, m_EndY)) return false;
  CKreuzObj* b = KreuzAt(m_EndX, m_EndY);
  if (!b) return true;
  return !(a->GetStreetType() > 3 && b->GetStreetType() > 3 && a->GetStreetType() != b->GetStreetType());
}

bool CStrPreviewRect::BuildCycle() {
  if ((m_StartX == m_EndX && m_StartY == m_EndY) || !Cell(m_StartX, m_StartY)) return false;
  CKreuzObj* a = KreuzAt(m_StartX, m_StartY);
  if (!a) return true;
  if (!Cell(m_EndX, m_EndY)) return false;
  CKreuzObj* b = KreuzAt(m_EndX, m_EndY);
  if (!b) return false;
  return a->BuildCycleWith(b);
}

// ---- minimum length ----

void CStrPreviewRect::CalcMinStreetLength(CStrassenType) { m_MinLength = 1; }

void CStrPreviewRect::IncMinStreetLength(CStrassenType type) {
  if (type >= STRASSE_VIERSPURIG) {
    if (m_StartOnBend && m_EndOnBend) return;
    if (m_MinLength < 3) ++m_MinLength;
    return;
  }
  if (m_MinLength < 127) ++m_MinLength;
}

bool CStrPreviewRect::CheckStreetLength(CStrassenType) const {
  return !(std::abs(m_StartX - m_EndX) < m_MinLength && std::abs(m_StartY - m_EndY) < m_MinLength);
}

void CStrPreviewRect::RecalcMinStreetLength(CStrassenType type) {
  if (!Cell(m_StartX, m_StartY)) return;
  const bool dbl = BuildDouble(type);
  m_MinLength = NetworkHasJunction(type) ? 1 : 3;
  bool dead = false, aligned = false;
  CStrJunction* sj = m_StartAtJunction ? JunctionAt(m_StartX, m_StartY) : nullptr;
  CStrJunction* ej = nullptr;
  if (IsDeadEnd(sj)) {
    dead = true;
    aligned = LeavesAlongDrag(sj);
  }
  auto set = [this](int v) { m_MinLength = static_cast<signed char>(v); };
  auto atLeast = [this](int v) {
    if (m_MinLength < v) m_MinLength = static_cast<signed char>(v);
  };
  if (m_EndAtJunction) {
    if (!IsObjectKreuzung(Ground(m_EndX, m_EndY))) {
      set(2);
      return;
    }
    ej = JunctionAt(m_EndX, m_EndY);
    if (IsDeadEnd(ej)) dead = true;
    // The end's first street leaving along the drag counts once an end is dead.
    if (dead && ej) {
      short mx = 0, my = 0;
      CStrStrasse* first = ej->GetStreetByNR(0);
      if (first && first->CalcMAtPos(ej, &mx, &my) == 0 && std::abs(mx) == std::abs(m_DirX) &&
          std::abs(my) == std::abs(m_DirY))
        aligned = true;
    }
  }
  // An aligned end goes straight to the rules of the open ends.
  const bool jumpTo8 = aligned;
  if (!jumpTo8) {
    if (sj && ej) {
      if (!(IsDeadEnd(sj) && IsDeadEnd(ej))) {
        set(2);
        if (dbl) return;
      } else {
        set(dbl ? 2 : 1);
        if (dbl) return;
      }
    }
    const bool endOnBend = m_EndOnBend != 0, startOnBend = m_StartOnBend != 0;
    if ((endOnBend || startOnBend) && (m_StartOnEmpty || m_EndOnEmpty) && !dbl) set(2);
    if (m_StartAtJunction && endOnBend) {
      set(2);
      return;
    }
    if (startOnBend && m_EndAtJunction) {
      set(2);
      if (dbl) return;
    }
  }
  if (aligned) return;
  const bool sEmpty = m_StartOnEmpty != 0, eEmpty = m_EndOnEmpty != 0;
  if (!dbl) {
    const bool endDead = IsDeadEnd(ej);
    if ((sEmpty != eEmpty) && !endDead && !IsDeadEnd(sj)) atLeast(2);
    if (!sEmpty && !eEmpty && !m_StartAtJunction && !m_EndAtJunction) atLeast(2);
    if ((m_StartAtStreet && m_EndAtJunction) || (m_EndAtStreet && m_StartAtJunction)) atLeast(2);
    return;
  }
  if (m_StartOnBend && !eEmpty) return set(2);
  if (m_EndOnBend && !sEmpty) return set(2);
  if ((m_StartOnBend || m_StartAtJunction) && eEmpty) return atLeast(3);
  if ((m_EndOnBend || m_EndAtJunction) && sEmpty) return atLeast(3);
  if (m_StartAtJunction && !eEmpty) return set(2);
  if (m_EndAtJunction && !sEmpty) return set(2);
  if (sEmpty != eEmpty) return set(3);
  if (!m_StartAtJunction && !m_StartOnBend && !m_EndOnBend && !sEmpty && !eEmpty && m_EndAtStreet) set(2);
}
