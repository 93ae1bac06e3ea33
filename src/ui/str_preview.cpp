// The street preview's geometry: cells of the map, the drag with its
// straightening to one axis, the side of the second strip, the evaluation
// of both ends and what the street network reads when it builds.
#include "ui/str_preview.h"

#include <cstdlib>

#include "framework/qno_log.h"
#include "iso/iso_info.h"
#include "iso/iso_object.h"
#include "iso/iso_welt.h"
#include "network/crossing_objects.h"
#include "network/rail_junction_list.h"
#include "network/str_junction.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"

namespace {
signed char Sign(int v) { return static_cast<signed char>((v > 0) - (v < 0)); }
}  // namespace

// ---- the crossing rectangle ----

bool CGrdSelection::IsLess(short x, short y) const {
  if (x1 != x0) return x1 < x0 ? x > x0 : x < x0;
  return y0 < y1 ? y < y0 : y > y0;
}

bool CGrdSelection::PtHitRect(short x, short y) const {
  const int lx = x0 < x1 ? x0 : x1, hx = x0 < x1 ? x1 : x0;
  const int ly = y0 < y1 ? y0 : y1, hy = y0 < y1 ? y1 : y0;
  return x >= lx && x <= hx && y >= ly && y <= hy;
}

// ---- life ----

CStrPreviewRect::CStrPreviewRect(CIsoWelt* map, CStrJunctionList* streets, CStrSchJuncList* rails)
    : m_pMap(map), m_pStreets(streets), m_pRails(rails) {
  ClearAll();
}

CStrPreviewRect::~CStrPreviewRect() {
  delete m_pGrdSelection;
  delete[] m_pRailBend;
}

void CStrPreviewRect::ClearAll() {
  m_StartX = m_StartY = m_EndX = m_EndY = 0;
  m_SecDx = m_SecDy = m_DirX = m_DirY = 0;
  m_MinLength = -1;
  m_Valid = m_StartAtJunction = m_EndAtJunction = m_EndAtStreet = m_StartAtStreet = 0;
  m_StartValid = m_EndValid = m_StartOnBend = m_EndOnBend = m_StartOnEmpty = m_EndOnEmpty = 0;
  m_GrdHit = m_GrdConnect = m_Recheck = m_Shifted = m_DecLength = 0;
  m_GrdBuildType = 0;
  m_LastMessage = 0;
  m_NetRefusal = 0;
  BeginEvaluation();
  if (!m_pGrdSelection) m_pGrdSelection = new CGrdSelection;
  if (!m_pRailBend) m_pRailBend = new int[4];
  *m_pGrdSelection = CGrdSelection{};
  for (int i = 0; i < 4; ++i) m_pRailBend[i] = 0;
}

// ---- cells ----

CIsoInfo* CStrPreviewRect::Cell(int x, int y) const {
  // Coordinates count as unsigned 16-bit values: negative ones lie outside.
  if (!m_pMap || static_cast<uint16_t>(x) > 127 || static_cast<uint16_t>(y) > 127) return nullptr;
  return m_pMap->GetIsoInfo(x, y);
}

int CStrPreviewRect::Ground(int x, int y) const {
  CIsoInfo* c = Cell(x, y);
  return c ? static_cast<int>(c->GetType(ISO_LAYER_GROUND)) : -1;
}

int CStrPreviewRect::Upper(int x, int y) const {
  CIsoInfo* c = Cell(x, y);
  return c ? static_cast<int>(c->GetType(ISO_LAYER_UPPER)) : -1;
}

CWorldObj* CStrPreviewRect::GroundObject(int x, int y) const {
  CIsoInfo* c = Cell(x, y);
  return c ? c->GetWorldObject(ISO_LAYER_GROUND) : nullptr;
}

CIsoObjGroup* CStrPreviewRect::GroupAt(int x, int y) const {
  CIsoInfo* c = Cell(x, y);
  return c ? c->GetGroupObj(ISO_LAYER_GROUND) : nullptr;
}

bool CStrPreviewRect::SameGroup(int x1, int y1, int x2, int y2) const {
  CIsoObjGroup* a = GroupAt(x1, y1);
  CIsoObjGroup* b = GroupAt(x2, y2);
  return a && b && *a == *b;
}

CStrStrasse* CStrPreviewRect::StreetAt(int x, int y) const {
  if (!ObjectIsStreet(Ground(x, y))) return nullptr;
  auto* obj = dynamic_cast<CStreetObj*>(GroundObject(x, y));
  return obj ? obj->GetStreetList() : nullptr;
}

CKreuzObj* CStrPreviewRect::KreuzAt(int x, int y) const { return dynamic_cast<CKreuzObj*>(GroundObject(x, y)); }

CStrJunction* CStrPreviewRect::JunctionAt(int x, int y) const {
  if (!IsObjectKreuzung(Ground(x, y))) return nullptr;
  CKreuzObj* k = KreuzAt(x, y);
  return k ? k->GetWorldObject() : nullptr;
}

bool CStrPreviewRect::IsDeadEnd(const CStrJunction* j) { return j && j->GetAnzLinkedStreets() == 1; }

bool CStrPreviewRect::LeaveStep(CStrJunction* j, short* mx, short* my) {
  *mx = *my = 0;
  CStrStrasse* s = j ? j->GetStreetByNR(0) : nullptr;
  return s && s->CalcMAtPos(j, mx, my) == 0;
}

bool CStrPreviewRect::LeavesAlongDrag(CStrJunction* j) const {
  short mx = 0, my = 0;
  if (!LeaveStep(j, &mx, &my)) return false;
  return std::abs(mx) == std::abs(m_DirX) && std::abs(my) == std::abs(m_DirY);
}

bool CStrPreviewRect::NetworkHasJunction(CStrassenType type) const {
  CStrJunctionList* net = type == STRASSE_SCHIENE ? static_cast<CStrJunctionList*>(m_pRails) : m_pStreets;
  return net && net->GetNumber() != 0;
}

bool CStrPreviewRect::PointBeforJunction(CStrStrasse* s, int x, int y) const {
  bool deadEnd = false;
  return s && s->PointBeforJunction(static_cast<short>(x), static_cast<short>(y), deadEnd);
}

bool CStrPreviewRect::PointIsBend(CStrStrasse* s, int x, int y) const {
  return s && s->PointIsBend(static_cast<short>(x), static_cast<short>(y));
}

bool CStrPreviewRect::PointIsBeforBend(CStrStrasse* s, int x, int y) const {
  return s && s->PointIsBeforBend(static_cast<short>(x), static_cast<short>(y));
}

// ---- the drag ----

void CStrPreviewRect::Straighten(short x, short y, short* ex, short* ey) const {
  const int ax = std::abs(x - m_StartX), ay = std::abs(y - m_StartY);
  // Equal distances, the zero drag included, go to the start's column.
  if (ax > ay) {
    *ex = x;
    *ey = m_StartY;
  } else {
    *ex = m_StartX;
    *ey = y;
  }
}

bool CStrPreviewRect::SetStartPoint(short x, short y, CStrassenType type) {
  ClearAll();
  m_MinLength = 1;
  const bool ok = StartPosIsValid(x, y, type);
  m_StartX = m_EndX = x;
  m_StartY = m_EndY = y;
  if (ok)
    m_Valid = 1;
  else
    Because(kMsgNoStart);
  return ok;
}

bool CStrPreviewRect::SetEndPoint(short x, short y, CStrassenType type) {
  if (x == m_EndX && y == m_EndY) {
    if ((type > STRASSE_EINBAHN && m_SecDx != 0 && m_SecDy != 0) || (m_StartX == m_EndX && m_StartY == m_EndY)) {
      Because(kMsgTooShort);
      m_Valid = 0;
      return false;
    }
    return true;
  }
  BeginEvaluation();
  if (x == m_StartX && y == m_StartY) {
    m_SecDx = m_SecDy = m_DirX = m_DirY = 0;
    m_Valid = m_StartValid;
    m_EndAtJunction = 0;
  }
  if (BuildDouble(type) && SecondStripSet() && x == m_StartX + m_SecDx && y == m_StartY + m_SecDy) {
    m_SecDx = m_SecDy = m_DirX = m_DirY = 0;
    m_StartValid = m_Valid = StartPosIsValid(m_StartX, m_StartY, type) ? 1 : 0;
    m_EndAtJunction = 0;
  }
  short ex = 0, ey = 0;
  Straighten(x, y, &ex, &ey);
  if (ex != m_EndX || ey != m_EndY) {
    m_EndAtJunction = m_EndOnBend = m_EndOnEmpty = m_EndValid = 0;
    m_GrdHit = m_GrdConnect = m_Recheck = m_EndAtStreet = m_StartAtStreet = 0;
    m_MinLength = 1;
  }
  // Stored before the evaluation, which may move the preview sideways.
  m_EndX = ex;
  m_EndY = ey;
  EndPosValid(ex, ey, type);
  CalcLr(type);
  CalcLrStrD(type);
  m_Valid = StartPosIsValid(m_StartX, m_StartY, type) ? 1 : 0;
  if (m_Recheck) {
    m_Valid = m_Valid && CheckSetStartPoint();
    if (!m_Valid) return false;
  } else {
    m_Valid = m_Valid && EndPosValid(m_EndX, m_EndY, type);
    m_Recheck = 0;
  }
  return CheckValid(type);
}

bool CStrPreviewRect::SetFinalEndPos(short x, short y, CStrassenType type) {
  if (!SetEndPoint(x, y, type) || !m_StartValid || !m_Valid || !m_EndValid) return false;
  // A preview moved sideways keeps the end its move gave; otherwise the
  // end is evaluated once more where the mouse was let go.
  if (!m_Shifted) {
    short ex = 0, ey = 0;
    Straighten(x, y, &ex, &ey);
    if (!EndPosValid(ex, ey, type)) return false;
    m_EndX = ex;
    m_EndY = ey;
  }
  // The rectangle handed to the network is the one it was asked about.
  if (!m_Valid || !m_EndValid || (m_NetRefusal = AskNetwork(type)) != 0) {
    Because(kMsgNotPossible);
    m_Valid = 0;
    return false;
  }
  return true;
}

bool CStrPreviewRect::CheckSetStartPoint() {
  if (!Cell(m_StartX, m_StartY) || !Cell(m_StartX + m_SecDx, m_StartY + m_SecDy)) return false;
  if (TypeIsEmpty(Ground(m_StartX, m_StartY))) return true;
  return !TypeIsEmpty(Ground(m_StartX + m_SecDx, m_StartY + m_SecDy));
}

void CStrPreviewRect::CalcLr(CStrassenType type) {
  const signed char oldX = m_DirX, oldY = m_DirY;
  const int dx = m_EndX - m_StartX, dy = m_EndY - m_StartY;
  if (dx == 0 && dy == 0) return;
  const signed char nx = dx != 0 ? Sign(dx) : 0;
  const signed char ny = dx != 0 ? 0 : Sign(dy);
  if (nx == oldX && ny == oldY) return;
  m_SecDx = m_SecDy = 0;
  m_DirX = nx;
  m_DirY = ny;
  CalcLrStrD(type);
  const bool start = StartPosIsValid(m_StartX, m_StartY, type);
  const bool valid = start && CheckValid(type);
  m_Valid = valid && EndPosValid(m_EndX, m_EndY, type);
}

void CStrPreviewRect::CalcLrStrD(CStrassenType type) {
  if (!BuildDouble(type) || !m_StartValid || m_Shifted) return;
  if (m_DirX != 0) {
    m_SecDx = 0;
    m_SecDy = 1;
  } else if (m_DirY != 0) {
    m_SecDx = 1;
    m_SecDy = 0;
  } else {
    m_SecDx = m_SecDy = 0;
    m_Recheck = 1;
    return;
  }
  if (!Cell(m_StartX, m_StartY)) return;
  if (m_StartOnBend || m_EndOnBend) {
    m_Recheck = 1;
    UpdateLrForBend(type);
    return;
  }
  if (!IsObjectKreuzung(Ground(m_StartX, m_StartY))) return;
  CStrJunction* j = JunctionAt(m_StartX, m_StartY);
  if (!j) return;
  const int qx = m_StartX + m_SecDx, qy = m_StartY + m_SecDy;
  if (IsDeadEnd(j)) {
    if (!Cell(qx, qy)) {
      if (qx < 128 && qy < 128) {
        m_SecDx = m_SecDy = 0;
      } else {
        m_SecDx = static_cast<signed char>(-m_SecDx);
        m_SecDy = static_cast<signed char>(-m_SecDy);
      }
      return;
    }
    if (!SameGroup(m_StartX, m_StartY, qx, qy)) {
      m_SecDx = static_cast<signed char>(-m_SecDx);
      m_SecDy = static_cast<signed char>(-m_SecDy);
    }
    short mx = 0, my = 0;
    LeaveStep(j, &mx, &my);
    if (my == 1 && m_DirX != 0) m_SecDy = static_cast<signed char>(-m_SecDy);
    if (mx == 1) m_SecDx = static_cast<signed char>(-m_SecDx);
  } else if (j->GetAnzLinkedStreets() == 3) {
    UpdateLrForJunction();
  }
}

void CStrPreviewRect::UpdateLrForJunction() {
  const int qx = m_StartX + m_SecDx, qy = m_StartY + m_SecDy;
  if (!Cell(qx, qy)) return;
  if (!SameGroup(m_StartX, m_StartY, qx, qy)) {
    m_SecDx = static_cast<signed char>(-m_SecDx);
    m_SecDy = static_cast<signed char>(-m_SecDy);
    m_Recheck = 1;
  }
}

void CStrPreviewRect::UpdateLrForBend(CStrassenType type) {
  const int px = m_EndOnBend ? m_EndX : m_StartX, py = m_EndOnBend ? m_EndY : m_StartY;
  const int qx = px + m_SecDx, qy = py + m_SecDy;
  if (!Cell(qx, qy)) return;
  CIsoObjGroup* a = GroupAt(px, py);
  CIsoObjGroup* b = GroupAt(qx, qy);
  auto negate = [this] {
    m_SecDx = static_cast<signed char>(-m_SecDx);
    m_SecDy = static_cast<signed char>(-m_SecDy);
  };
  if (!(type == STRASSE_SCHIENE)) {
    if (!a && !b) {
      (m_EndOnBend ? m_EndOnBend : m_StartOnBend) = 0;
      m_Recheck = 1;
    } else if (!a) {
      if (m_DirX != 0) {
        ++m_StartY;
        ++m_EndY;
      } else {
        ++m_StartX;
        ++m_EndX;
      }
      m_Recheck = 1;
    } else if (!b || *a != *b) {
      negate();
    }
    return;
  }
  if (a && a->GetResID() == kRailBendGroup && (!b || b->GetResID() != kRailBendGroup)) {
    negate();
    return;
  }
  const int q = Ground(qx, qy);
  if (q != 49 && q != 50) {
    negate();
    m_Recheck = 1;
    return;
  }
  const int rx = px + 2 * m_SecDx, ry = py + 2 * m_SecDy;
  CIsoObjGroup* r = GroupAt(rx, ry);
  if (!Cell(rx, ry) || !r || r->GetResID() == kRailBendGroup) return;
  if (ObjectsEqualAt(static_cast<short>(px), static_cast<short>(py), static_cast<short>(rx), static_cast<short>(ry)))
    negate();
}

void CStrPreviewRect::CheckSecPktForBend(short x, short y) {
  const int qx = x + m_SecDx, qy = y + m_SecDy;
  CStrStrasse* s = StreetAt(qx, qy);
  if (s && PointIsBend(s, qx, qy)) m_EndOnBend = 1;
}

bool CStrPreviewRect::StartPosIsValid(short x, short y, CStrassenType type) {
  if (!Cell(x, y)) return false;
  const int t = Ground(x, y);
  bool ok = false;
  if (TypeIsEmpty(t)) {
    if (BuildDouble(type) && SecondStripSet()) {
      const int q = Ground(x + m_SecDx, y + m_SecDy);
      if (q >= 0 && !TypeIsEmpty(q)) {
        m_StartOnEmpty = m_Valid = m_StartValid = 0;
        return false;
      }
    }
    m_StartOnEmpty = m_Valid = m_StartValid = 1;
    return true;
  }
  if (ObjectIsStreet(t)) {
    ok = StartAtStreetValid(x, y, type);
    m_StartAtStreet = ok ? 1 : 0;
  } else if (IsObjectKreuzung(t)) {
    ok = StartAtJunctionValid(x, y, type);
    m_StartAtJunction = 1;
  } else {
    m_Valid = 0;
    return false;
  }
  m_StartValid = m_Valid = ok ? 1 : 0;
  m_StartOnEmpty = 0;
  return ok;
}

bool CStrPreviewRect::ShiftOntoJunction(short x, short y, bool* moved) {
  *moved = false;
  const int qx = x + m_SecDx, qy = y + m_SecDy;
  if (!Cell(qx, qy)) return false;
  int sx = 0, sy = 0;
  if (IsObjectKreuzung(Ground(qx, qy))) {
    sx = m_SecDx;
    sy = m_SecDy;
  } else {
    const int ox = x - m_SecDx, oy = y - m_SecDy;
    if (!Cell(ox, oy)) return false;
    if (!IsObjectKreuzung(Ground(ox, oy))) return true;
    sx = -m_SecDx;
    sy = -m_SecDy;
  }
  // Across the drag only: x for a drag along y, y otherwise.
  if (m_DirY != 0) {
    m_StartX = static_cast<int16_t>(m_StartX + sx);
    m_EndX = static_cast<int16_t>(m_EndX + sx);
  } else {
    m_StartY = static_cast<int16_t>(m_StartY + sy);
    m_EndY = static_cast<int16_t>(m_EndY + sy);
  }
  if (sx == m_SecDx && sy == m_SecDy) {
    m_SecDx = static_cast<signed char>(-m_SecDx);
    m_SecDy = static_cast<signed char>(-m_SecDy);
  }
  m_Shifted = 1;
  *moved = true;
  return true;
}

bool CStrPreviewRect::EndPosValid(short x, short y, CStrassenType type) {
  if (!Cell(x, y)) return false;
  m_EndValid = 1;
  m_EndAtJunction = m_EndOnBend = 0;
  const int t = Ground(x, y);
  if (TypeIsEmpty(t)) {
    m_EndOnEmpty = 1;
    // A free-standing street is allowed only as the first one.
    if (m_StartOnEmpty && NetworkHasJunction(type)) {
      m_EndValid = 0;
      Because(kMsgJoinNetwork);
      return true;
    }
    if (BuildDouble(type)) {
      CheckSecPktForBend(x, y);
      if (m_EndOnBend) UpdateLrForBend(type);
      const int q = Ground(x + m_SecDx, y + m_SecDy);
      if (q < 0) return false;
      if (SecondStripSet() && !TypeIsEmpty(q)) {
        m_EndValid = 0;
        return false;
      }
    }
    m_EndValid = 1;
    return true;
  }
  m_EndOnEmpty = 0;
  const int q = Ground(x + m_SecDx, y + m_SecDy);
  if (ObjectIsStreet(t) && (!BuildDouble(type) || ObjectIsStreet(q))) {
    const bool ok = EndAtStreetValid(x, y, type);
    m_EndAtStreet = m_EndValid = ok ? 1 : 0;
    if (!ok) m_Valid = 0;
    if (ok && m_StartOnEmpty) RaiseMinLength(type);
    return ok;
  }
  if (IsObjectKreuzung(t)) {
    const bool ok = EndAtJunctionValid(x, y, type);
    m_EndValid = ok ? 1 : 0;
    if (!ok) m_Valid = 0;
    return ok;
  }
  if (BuildDouble(type) && ObjectIsStreet(t) && SecondStripSet()) {
    if (q < 0 || !IsObjectKreuzung(q) || !m_StartValid) {
      m_Shifted = 0;
      m_EndValid = m_Valid = 0;
      return false;
    }
    short jx = 0, jy = 0;
    if (m_DirX == 0) {
      m_StartX = static_cast<int16_t>(m_StartX + m_SecDx);
      m_EndX = static_cast<int16_t>(m_EndX + m_SecDx);
      jx = m_EndX;
      jy = static_cast<short>(m_EndY + m_DirY);
    } else {
      m_StartY = static_cast<int16_t>(m_StartY + m_SecDy);
      m_EndY = static_cast<int16_t>(m_EndY + m_SecDy);
      jx = static_cast<short>(m_EndX + m_DirX);
      jy = m_EndY;
    }
    m_SecDx = static_cast<signed char>(-m_SecDx);
    m_SecDy = static_cast<signed char>(-m_SecDy);
    m_Shifted = 1;
    const bool ok = EndAtJunctionValid(jx, jy, type);
    m_EndValid = ok ? 1 : 0;
    if (!ok) m_Valid = 0;
    return ok;
  }
  m_EndValid = 0;
  return false;
}

// ---- what the network reads ----

short CStrPreviewRect::GetSelectionLength() const {
  return static_cast<short>(std::abs(m_StartX - m_EndX) + std::abs(m_StartY - m_EndY));
}

bool CStrPreviewRect::StartsAtJunction(CStrJunction* j) {
  return j && IsObjectKreuzung(Ground(m_StartX, m_StartY)) && JunctionAt(m_StartX, m_StartY) == j;
}

CStrJunction* CStrPreviewRect::GetStartJunction() {
  return m_StartAtJunction ? JunctionAt(m_StartX, m_StartY) : nullptr;
}

CStrJunction* CStrPreviewRect::GetEndJunction() { return m_EndAtJunction ? JunctionAt(m_EndX, m_EndY) : nullptr; }

void CStrPreviewRect::GetDecOffset(short* dx, short* dy) {
  *dx = m_SecDx;
  *dy = m_SecDy;
}

bool CStrPreviewRect::DecStreetLength() {
  m_DecLength = 0;
  if (m_StartAtJunction && m_EndAtJunction) {
    for (int k = 0; k < 2; ++k) {
      const int jx = k == 0 ? m_StartX : m_EndX, jy = k == 0 ? m_StartY : m_EndY;
      const int sx = k == 0 ? m_EndX : m_StartX, sy = k == 0 ? m_EndY : m_StartY;
      if (!Cell(jx, jy) || !Cell(sx, sy) || !Cell(sx + m_SecDx, sy + m_SecDy)) return false;
      if (IsObjectKreuzung(Ground(jx, jy)) && ObjectIsStreet(Ground(sx, sy)) &&
          IsObjectKreuzung(Ground(sx + m_SecDx, sy + m_SecDy)) && IsDeadEnd(JunctionAt(jx, jy)) &&
          IsDeadEnd(JunctionAt(sx + m_SecDx, sy + m_SecDy))) {
        m_DecLength = 1;
        return true;
      }
    }
  }
  if (m_SecDx >= 0 && m_SecDy >= 0) return false;
  if (m_StartAtJunction) {
    CStrJunction* j = JunctionAt(m_StartX, m_StartY);
    if (IsDeadEnd(j) && !LeavesAlongDrag(j)) return true;
  }
  if (m_EndAtJunction) {
    CStrJunction* j = JunctionAt(m_EndX, m_EndY);
    return IsDeadEnd(j) && !LeavesAlongDrag(j);
  }
  return false;
}

CStrJunction* CStrPreviewRect::GetDecJunction() {
  DecStreetLength();
  if (!Cell(m_StartX, m_StartY) || m_StartOnEmpty) return nullptr;
  CStrJunction* j = JunctionAt(m_StartX, m_StartY);
  return IsDeadEnd(j) && !LeavesAlongDrag(j) ? j : nullptr;
}

bool CStrPreviewRect::GetSecDecOffset(CStrJunction* j, CStrJunction** out) {
  CStrJunction* end = m_EndAtJunction ? JunctionAt(m_EndX, m_EndY) : nullptr;
  if (!IsDeadEnd(end)) return false;
  *out = end;
  if (!j) return true;
  short ax = 0, ay = 0, bx = 0, by = 0;
  if (!LeaveStep(j, &ax, &ay) || !LeaveStep(end, &bx, &by)) return false;
  return std::abs(ax) == std::abs(bx) && std::abs(ay) == std::abs(by);
}

CStrJunction* CStrPreviewRect::GetSecDecOffset() {
  CStrJunction* out = nullptr;
  return GetSecDecOffset(GetDecJunction(), &out) ? out : nullptr;
}

void CStrPreviewRect::GetStreetBuildRect(short* x1, short* y1, short* x2, short* y2) {
  short rx0 = m_StartX, ry0 = m_StartY, rx1 = m_EndX, ry1 = m_EndY;
  bool startMoved = false, endMoved = false;
  CStrJunction* dec = nullptr;
  auto anchor = [this](int x, int y, bool addStrip, short* ax, short* ay) {
    CIsoObjGroup* g = GroupAt(x, y);
    if (!g) return false;
    int gx = g->GetStartPosX(), gy = g->GetStartPosY();
    if (addStrip) {
      gx += m_SecDx;
      gy += m_SecDy;
    }
    if (g->GetResID() == kRailBendGroup) {
      switch (static_cast<int>(g->GetRichtung()) & 3) {
        case 1: gx += 1; break;
        case 2: gx += 1; gy += 1; break;
        case 3: gy += 1; break;
        default: break;
      }
    }
    *ax = static_cast<short>(gx);
    *ay = static_cast<short>(gy);
    return true;
  };
  short sx = rx0, sy = ry0;
  if (m_StartAtJunction && DecStreetLength()) dec = GetDecJunction();
  if (anchor(m_StartX, m_StartY, m_StartAtJunction && dec, &sx, &sy)) {
    startMoved = sx != m_StartX || sy != m_StartY;
    rx0 = sx;
    ry0 = sy;
  }
  short ex = rx1, ey = ry1;
  CStrJunction* second = nullptr;
  const bool endDec = m_EndAtJunction && DecStreetLength() && GetSecDecOffset(dec, &second);
  if (anchor(m_EndX, m_EndY, endDec, &ex, &ey)) {
    endMoved = ex != m_EndX || ey != m_EndY;
    rx1 = ex;
    ry1 = ey;
  }
  // Keep the rectangle on one axis.
  if (endMoved && !startMoved) {
    if (m_SecDx != 0) rx0 = rx1;
    if (m_SecDy != 0) ry0 = ry1;
  } else if (startMoved && !endMoved) {
    if (m_SecDx != 0) rx1 = rx0;
    if (m_SecDy != 0) ry1 = static_cast<short>(ry1 + (ry0 - m_StartY));
  } else if (startMoved && endMoved) {
    if (m_EndAtStreet) {
      if (m_SecDx != 0)
        rx1 = rx0;
      else
        ry1 = ry0;
    }
    if (m_SecDx != 0) rx0 = rx1;
    if (m_SecDy != 0) ry0 = ry1;
  }
  *x1 = rx0;
  *y1 = ry0;
  *x2 = rx1;
  *y2 = ry1;
}
