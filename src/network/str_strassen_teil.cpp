#include "network/str_strassen_teil.h"

#include <cstdlib>

#include "framework/qno_log.h"
#include "framework/zor_record.h"
#include "iso/iso_geometry.h"
#include "iso/iso_river.h"
#include "iso/iso_welt.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/rail_junction_list.h"
#include "network/str_strasse.h"

ZOR_IMPLEMENT_TYPE(CStrStrassenTeil, QnoObject)
ZOR_IMPLEMENT_TYPE(CStrExtTeil, QnoObject)
ZOR_IMPLEMENT_TYPE(CStrBride, CStrExtTeil)
ZOR_IMPLEMENT_TYPE(CGrdCrossing, CStrExtTeil)

CIsoWelt* CStrStrassenTeil::m_pIsoWelt = nullptr;
CIsoWelt* CStrExtTeil::m_pIsoWelt = nullptr;

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

// The direction in which street graphics of a run with step (mx, my) are
// drawn: 0 +x, 2 -x, 1 +y, 3 -y.
int GraphicRichtung(int mx, int my) {
  if (mx > 0) return 0;
  if (mx < 0) return 2;
  if (my > 0) return 1;
  if (my < 0) return 3;
  return 0;
}

// Whether t = num / den lies in [lo, hi] (den != 0), computed in floating point.
bool FractionIn(int num, int den, bool open) {
  const double f = static_cast<double>(num) / static_cast<double>(den);
  return open ? (f > 0.0 && f < 1.0) : (f >= 0.0 && f <= 1.0);
}

TObjectType GroundTypeAt(CIsoWelt* iso, int x, int y) {
  if (!iso || !IsoInMap(x, y)) return OBJ_NONE;
  return iso->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
}

}  // namespace

// ---------------------------------------------------------------- CStrExtTeil

int CStrExtTeil::Create(short x, short y, CStrassenType type) {
  m_StartX = m_EndX = x;
  m_StartY = m_EndY = y;
  m_Type = type;
  return 0;
}

int CStrExtTeil::Create(CZorvaObject& other) {
  auto* o = dynamic_cast<CStrExtTeil*>(&other);
  if (!o) return 1;
  m_StartX = o->m_StartX;
  m_StartY = o->m_StartY;
  m_EndX = o->m_EndX;
  m_EndY = o->m_EndY;
  m_DeltaX = o->m_DeltaX;
  m_DeltaY = o->m_DeltaY;
  m_ResID = o->m_ResID;
  m_Richtung = o->m_Richtung;
  m_MicroX = o->m_MicroX;
  m_MicroY = o->m_MicroY;
  m_Type = o->m_Type;
  return 0;
}

void CStrExtTeil::SetEndPoint(short x, short y) {
  m_EndX = x;
  m_EndY = y;
  m_DeltaX = static_cast<int16_t>(m_EndX - m_StartX);
  m_DeltaY = static_cast<int16_t>(m_EndY - m_StartY);
}

void CStrExtTeil::StoreBase(ZorRecordWriter& out) const {
  out.I16(m_StartX);
  out.I16(m_StartY);
  out.I16(m_EndX);
  out.I16(m_EndY);
  out.I16(m_DeltaX);
  out.I16(m_DeltaY);
  out.I32(m_ResID);
  out.I32(m_Richtung.GetValue());
  out.I32(m_Type.GetValue());
}

void CStrExtTeil::LoadBase(ZorRecordReader& in) {
  m_StartX = in.I16();
  m_StartY = in.I16();
  m_EndX = in.I16();
  m_EndY = in.I16();
  m_DeltaX = in.I16();
  m_DeltaY = in.I16();
  m_ResID = in.I32();
  m_Richtung = CIsoRichtung(in.I32() & 3);
  m_Type = static_cast<TStrassenType>(in.I32());
}

int CStrExtTeil::SerializeGameStore(FILE* file) {
  ZorRecordWriter out(file);
  StoreBase(out);
  return out.Ok() ? 0 : 1;
}

int CStrExtTeil::SerializeGameLoad(FILE* file) {
  ZorRecordReader in(file);
  LoadBase(in);
  return in.Ok() ? 0 : 1;
}

int CStrExtTeil::InsertIntoIsoWelt(CIsoWelt* iso, short& x, short& y, CWorldObj* obj, bool) {
  if (iso && IsoInMap(x, y))
    iso->SetIsoGroupTurnedAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND,
                             m_ResID, obj, m_Richtung);
  return GetEndKoor(x, y);
}

int CStrExtTeil::RemoveFromIsoWelt(short& x, short& y) {
  if (m_pIsoWelt && IsoInMap(m_StartX, m_StartY))
    m_pIsoWelt->DeleteIsoGroupAt(m_StartX, m_StartY, ISO_LAYER_GROUND, false);
  return GetEndKoor(x, y);
}

int CStrExtTeil::SetRichtung(CIsoRichtung& direction, CStrassenType) {
  m_Richtung = direction;
  return 0;
}

int CStrExtTeil::GetEndKoor(short& x, short& y) {
  x = m_EndX;
  y = m_EndY;
  return 0;
}

int CStrExtTeil::Turn() {
  std::swap(m_StartX, m_EndX);
  std::swap(m_StartY, m_EndY);
  m_Richtung = CIsoRichtung((m_Richtung.GetValue() + 2) & 3);
  return 0;
}

bool CStrExtTeil::PointHitExtraTeil(short x, short y) {
  if (x == m_StartX) {
    if (m_EndY == m_StartY) return false;
    return FractionIn(y - m_StartY, m_EndY - m_StartY, false);
  }
  if (y == m_StartY) {
    if (m_EndX == m_StartX) return false;
    return FractionIn(x - m_StartX, m_EndX - m_StartX, false);
  }
  return false;
}

bool CStrExtTeil::IsInRange(short x1, short y1, short x2, short y2) const {
  // Both the range and the part may run either way along their axis.
  const short lo = std::min(x1 == m_StartX ? y1 : x1, x1 == m_StartX ? y2 : x2);
  const short hi = std::max(x1 == m_StartX ? y1 : x1, x1 == m_StartX ? y2 : x2);
  if (x1 == m_StartX) return std::max(m_StartY, m_EndY) >= lo && std::min(m_StartY, m_EndY) <= hi;
  if (y1 != m_StartY) return false;
  return std::max(m_StartX, m_EndX) >= lo && std::min(m_StartX, m_EndX) <= hi;
}

int CStrExtTeil::StartMicroZellenCount(short& x, short& y) {
  m_MicroX = GetMicroStartX();
  m_MicroY = GetMicroStartY();
  x = m_MicroX;
  y = m_MicroY;
  return 0;
}

int CStrExtTeil::GetMicroStartKoor(short&, short&) { return 0; }
int CStrExtTeil::GetMicroEndKoor(short&, short&) { return 0; }

bool CStrExtTeil::GetMicroZellenPos(short& x, short& y) {
  m_MicroX = static_cast<int16_t>(m_MicroX + Sign(m_EndX - m_StartX));
  m_MicroY = static_cast<int16_t>(m_MicroY + Sign(m_EndY - m_StartY));
  x = m_MicroX;
  y = m_MicroY;
  return PointHitExtraTeil(x, y);
}

// ------------------------------------------------------------------ CStrBride

int CStrBride::Create(CZorvaObject& other) {
  if (CStrExtTeil::Create(other) != 0) return 1;
  if (auto* o = dynamic_cast<CStrBride*>(&other)) {
    m_GroundRichtungEnd = o->m_GroundRichtungEnd;
    m_GroundRichtungStart = o->m_GroundRichtungStart;
    m_GroundRichtungMitte = o->m_GroundRichtungMitte;
    m_GroundResStart = o->m_GroundResStart;
    m_GroundResEnd = o->m_GroundResEnd;
    m_GroundResMitte = o->m_GroundResMitte;
  }
  return 0;
}

int CStrBride::SerializeGameStore(FILE* file) {
  ZorRecordWriter out(file);
  StoreBase(out);
  out.I32(m_GroundResStart);
  out.I32(m_GroundResEnd);
  out.I32(m_GroundResMitte);
  out.I32(m_GroundRichtungStart);
  out.I32(m_GroundRichtungEnd);
  out.I32(m_GroundRichtungMitte);
  return out.Ok() ? 0 : 1;
}

int CStrBride::SerializeGameLoad(FILE* file) {
  ZorRecordReader in(file);
  LoadBase(in);
  m_GroundResStart = in.I32();
  m_GroundResEnd = in.I32();
  m_GroundResMitte = in.I32();
  m_GroundRichtungStart = in.I32();
  m_GroundRichtungEnd = in.I32();
  m_GroundRichtungMitte = in.I32();
  return in.Ok() ? 0 : 1;
}

void CStrBride::GetResCopy(CIsoWelt* iso) {
  auto record = [iso](int x, int y, int32_t& res, int32_t& dir) {
    CIsoInfo* info = iso && IsoInMap(x, y) ? iso->GetIsoInfo(x, y) : nullptr;
    if (!info) return;
    res = info->GetResID(ISO_LAYER_GROUND);
    dir = info->GetRichtung(ISO_LAYER_GROUND);
  };
  record(m_StartX, m_StartY, m_GroundResStart, m_GroundRichtungStart);
  record(m_StartX + Sign(m_DeltaX), m_StartY + Sign(m_DeltaY), m_GroundResMitte, m_GroundRichtungMitte);
  record(m_EndX, m_EndY, m_GroundResEnd, m_GroundRichtungEnd);
}

int CStrBride::InsertIntoIsoWelt(CIsoWelt* iso, short& x, short& y, CWorldObj* obj, bool loading) {
  // A bridge records the river under it once, when first laid: drawn
  // again (after a split, a join, loading) the cells show the bridge.
  (void)loading;
  if (m_GroundResStart == -1) GetResCopy(iso);
  const bool up = m_DeltaX > 0 || m_DeltaY >= 1;
  const bool four = m_Type == STRASSE_VIERSPURIG;
  const int startRes = four ? (up ? kStartUp4 : kStartDown4) : (up ? kStartUp : kStartDown);
  const int endRes = four ? (up ? kStartDown4 : kStartUp4) : (up ? kStartDown : kStartUp);
  const int deckRes = four ? kDeck4 : kDeck;
  const int mx = Sign(m_EndX - m_StartX), my = Sign(m_EndY - m_StartY);
  const int n = std::abs(m_EndX - m_StartX) + std::abs(m_EndY - m_StartY);
  // A four-lane group reaches the next cell towards larger x or y: the
  // cells are laid from the lower end up, so that each shows its own group.
  // Its groups are turned only to the street's axis, as the street's own
  // straight groups are: a group turned round shows its other column on its
  // cell, whose cell layout lies a cell off the street's. The ends keep
  // their pictures by side (rising from the lower end, falling at the upper).
  const bool downwards = mx < 0 || my < 0;
  const CIsoRichtung groupDir(m_Richtung.GetValue() & 1);
  for (int k = 0; k <= n && iso; ++k) {
    const int i = four && downwards ? n - k : k;
    const int tx = m_StartX + i * mx, ty = m_StartY + i * my;
    if (!IsoInMap(tx, ty)) continue;
    const int res = i == 0 ? startRes : (i == n ? endRes : deckRes);
    if (four)
      iso->SetIsoGroupTurnedAt(static_cast<unsigned short>(tx), static_cast<unsigned short>(ty), ISO_LAYER_GROUND, res,
                               obj, groupDir);
    else
      iso->SetIsoTileAt(tx, ty, ISO_LAYER_GROUND, m_Richtung, res, obj);
  }
  return GetEndKoor(x, y);
}

int CStrBride::RemoveFromIsoWelt(short& x, short& y) {
  CIsoWelt* iso = m_pIsoWelt;
  const int mx = Sign(m_EndX - m_StartX), my = Sign(m_EndY - m_StartY);
  const int n = std::abs(m_EndX - m_StartX) + std::abs(m_EndY - m_StartY);
  for (int i = 0; i <= n && iso; ++i) {
    const int tx = m_StartX + i * mx, ty = m_StartY + i * my;
    const bool deck = i != 0 && i != n;
    const int res = i == 0 ? m_GroundResStart : (deck ? m_GroundResMitte : m_GroundResEnd);
    const int dir = i == 0 ? m_GroundRichtungStart : (deck ? m_GroundRichtungMitte : m_GroundRichtungEnd);
    // A four-lane bridge also covers the cell beside each of its cells (at
    // larger y along x, larger x along y), its first and last included: the
    // river goes back there too where the bridge showed over it.
    const bool alongY = (m_Richtung.GetValue() & 1) != 0;
    const int bx = tx + (alongY ? 1 : 0), by = ty + (alongY ? 0 : 1);
    CWorldObj* shown = IsoInMap(tx, ty) ? iso->GetIsoTileObject(tx, ty, ISO_LAYER_GROUND) : nullptr;
    const bool besideToo = m_Type == STRASSE_VIERSPURIG && IsoInMap(bx, by) && shown &&
                           iso->GetIsoTileObject(bx, by, ISO_LAYER_GROUND) == shown;
    auto* river = dynamic_cast<CRiverObject*>(iso->GetHost()->CreateObject(OBJ_RIVER));
    if (!river) {
      if (IsoInMap(tx, ty)) iso->SetStdBase(tx, ty, ISO_LAYER_GROUND, false);
      continue;
    }
    river->Place(static_cast<uint16_t>(tx), static_cast<uint16_t>(ty), CIsoRichtung(dir), res);
    if (IsoInMap(tx, ty)) iso->SetIsoTileAt(tx, ty, ISO_LAYER_GROUND, CIsoRichtung(dir), res, river);
    if (besideToo) {
      auto* beside = dynamic_cast<CRiverObject*>(iso->GetHost()->CreateObject(OBJ_RIVER));
      if (beside) {
        beside->Place(static_cast<uint16_t>(bx), static_cast<uint16_t>(by), CIsoRichtung(dir), res);
        iso->SetIsoTileAt(bx, by, ISO_LAYER_GROUND, CIsoRichtung(dir), res, beside);
      }
    }
  }
  return GetEndKoor(x, y);
}

void CStrBride::RestoreRiver() {
  CIsoWelt* iso = m_pIsoWelt;
  if (!iso) return;
  const int mx = Sign(m_EndX - m_StartX), my = Sign(m_EndY - m_StartY);
  const int n = std::abs(m_EndX - m_StartX) + std::abs(m_EndY - m_StartY);
  const bool alongY = (m_Richtung.GetValue() & 1) != 0;
  for (int i = 0; i <= n; ++i) {
    const bool deck = i != 0 && i != n;
    const int res = i == 0 ? m_GroundResStart : (deck ? m_GroundResMitte : m_GroundResEnd);
    const int dir = i == 0 ? m_GroundRichtungStart : (deck ? m_GroundRichtungMitte : m_GroundRichtungEnd);
    const int tx = m_StartX + i * mx, ty = m_StartY + i * my;
    for (int side = 0; side <= (m_Type == STRASSE_VIERSPURIG ? 1 : 0); ++side) {
      const int cx = tx + (alongY ? side : 0), cy = ty + (alongY ? 0 : side);
      if (!IsoInMap(cx, cy) || iso->GetTypeAt(static_cast<unsigned short>(cx), static_cast<unsigned short>(cy),
                                              ISO_LAYER_GROUND) != OBJ_GROUND)
        continue;
      auto* river = dynamic_cast<CRiverObject*>(iso->GetHost()->CreateObject(OBJ_RIVER));
      if (!river) continue;
      river->Place(static_cast<uint16_t>(cx), static_cast<uint16_t>(cy), CIsoRichtung(dir), res);
      iso->SetIsoTileAt(cx, cy, ISO_LAYER_GROUND, CIsoRichtung(dir), res, river);
    }
  }
}

int CStrBride::Turn() {
  CStrExtTeil::Turn();
  std::swap(m_GroundResStart, m_GroundResEnd);
  return 0;
}

int CStrBride::StartMicroZellenCount(short& x, short& y) {
  m_MicroX = m_StartX;
  m_MicroY = m_StartY;
  x = m_MicroX;
  y = m_MicroY;
  return 0;
}

bool CStrBride::GetMicroZellenPos(short& x, short& y) {
  const auto nx = static_cast<short>(m_MicroX + Sign(m_EndX - m_StartX));
  const auto ny = static_cast<short>(m_MicroY + Sign(m_EndY - m_StartY));
  if (!PointHitExtraTeil(nx, ny)) return false;
  m_MicroX = nx;
  m_MicroY = ny;
  x = nx;
  y = ny;
  return true;
}

// --------------------------------------------------------------- CGrdCrossing

CGrdCrossing::~CGrdCrossing() { delete m_pIsoGroup; }

int CGrdCrossing::Destroy() {
  delete m_pIsoGroup;
  m_pIsoGroup = nullptr;
  return 0;
}

int CGrdCrossing::Create(short x, short y, CStrassenType type) {
  CStrExtTeil::Create(x, y, type);
  m_ResID = type == STRASSE_VIERSPURIG ? kResID4 : kResID;
  return 0;
}

int CGrdCrossing::Create(CZorvaObject& other) {
  if (CStrExtTeil::Create(other) != 0) return 1;
  if (auto* o = dynamic_cast<CGrdCrossing*>(&other)) {
    m_MX = o->m_MX;
    m_MY = o->m_MY;
    m_OnRail = o->m_OnRail;
    delete m_pIsoGroup;
    m_pIsoGroup = o->m_pIsoGroup ? new CIsoObjGroup(*o->m_pIsoGroup) : nullptr;
  }
  return 0;
}

int CGrdCrossing::Width() const { return m_pIsoGroup ? m_pIsoGroup->GetTurnedSizeX() : m_DeltaX; }
int CGrdCrossing::Depth() const { return m_pIsoGroup ? m_pIsoGroup->GetTurnedSizeY() : m_DeltaY; }

void CGrdCrossing::RebuildGroup(short anchorX, short anchorY) {
  delete m_pIsoGroup;
  m_pIsoGroup = new CIsoObjGroup;
  if (m_pIsoGroup->Create(m_ResID, static_cast<TIsoRichtung>(m_Richtung.GetValue()), anchorX, anchorY) != 0) {
    delete m_pIsoGroup;
    m_pIsoGroup = nullptr;
  }
}

int CGrdCrossing::SetRichtung(CIsoRichtung& direction, CStrassenType type) {
  m_Richtung = CIsoRichtung((direction.GetValue() + 1) & 3);
  RebuildGroup(m_StartX, m_StartY);
  const int w = m_pIsoGroup ? m_pIsoGroup->GetTurnedSizeX() : 0;
  const int h = m_pIsoGroup ? m_pIsoGroup->GetTurnedSizeY() : 0;
  Lay(w, h, type == STRASSE_VIERSPURIG);
  return 0;
}

void CGrdCrossing::Lay(int w, int h, bool four) {
  m_DeltaX = static_cast<int16_t>(w);
  m_DeltaY = static_cast<int16_t>(h);
  const short oldX = m_StartX, oldY = m_StartY;
  switch (m_Richtung.GetValue()) {
    case 0:
      m_StartX = static_cast<int16_t>(oldX - 1);
      m_EndX = static_cast<int16_t>(oldX - 2 + w);
      m_EndY = m_StartY;
      break;
    case 2:
      m_StartX = static_cast<int16_t>(oldX + (four ? 2 : 1));
      m_EndX = static_cast<int16_t>(m_StartX + 1 - w);
      m_EndY = m_StartY;
      break;
    case 1:
      m_StartY = static_cast<int16_t>(oldY - 1);
      m_EndX = m_StartX;
      m_EndY = static_cast<int16_t>(oldY - 2 + h);
      break;
    default:
      m_StartY = static_cast<int16_t>(oldY + (four ? 2 : 1));
      m_EndX = m_StartX;
      m_EndY = static_cast<int16_t>(m_StartY + 1 - h);
      break;
  }
  m_MX = static_cast<int8_t>(m_EndX - m_StartX);
  m_MY = static_cast<int8_t>(m_EndY - m_StartY);
}

void CGrdCrossing::GetStreetCell(short& x, short& y) const {
  const int back = m_Type == STRASSE_VIERSPURIG ? 2 : 1;
  x = m_StartX;
  y = m_StartY;
  switch (m_Richtung.GetValue()) {
    case 0:
      x = static_cast<short>(m_StartX + 1);
      break;
    case 2:
      x = static_cast<short>(m_StartX - back);
      break;
    case 1:
      y = static_cast<short>(m_StartY + 1);
      break;
    default:
      y = static_cast<short>(m_StartY - back);
      break;
  }
}

bool CGrdCrossing::Rect(int& x0, int& y0, int& x1, int& y1) const {
  const int w = Width(), h = Depth();
  if (w <= 0 || h <= 0) return false;
  x0 = m_StartX, x1 = m_StartX + w - 1, y0 = m_StartY, y1 = m_StartY + h - 1;
  if (m_MX < 0) {
    x0 = m_StartX - (w - 1);
    x1 = m_StartX;
  } else if (m_MX == 0 && m_MY < 0) {
    y0 = m_StartY - (h - 1);
    y1 = m_StartY;
  }
  return true;
}

bool CGrdCrossing::PointHitExtraTeil(short x, short y) {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  return Rect(x0, y0, x1, y1) && x >= x0 && x <= x1 && y >= y0 && y <= y1;
}

void CGrdCrossing::GetInsertPoint(short& x, short& y) const {
  switch (m_Richtung.GetValue()) {
    case 2:
      x = m_EndX;
      y = m_StartY;
      break;
    case 3:
      x = m_StartX;
      y = m_EndY;
      break;
    default:
      x = m_StartX;
      y = m_StartY;
      break;
  }
}

bool CGrdCrossing::GetMicroZellenPos(short& x, short& y) {
  GetInsertPoint(x, y);
  return true;
}

int CGrdCrossing::InsertIntoIsoWelt(CIsoWelt* iso, short& x, short& y, CWorldObj* obj, bool) {
  m_OnRail = obj && obj->GetType() == OBJ_RAIL_PIECE ? 1 : 0;
  DeleteUnderneathMicroSim();
  short ax = 0, ay = 0;
  GetInsertPoint(ax, ay);
  if (iso && IsoInMap(ax, ay))
    iso->SetIsoGroupTurnedAt(static_cast<unsigned short>(ax), static_cast<unsigned short>(ay), ISO_LAYER_GROUND,
                             m_ResID, obj, m_Richtung);
  return GetEndKoor(x, y);
}

int CGrdCrossing::RemoveFromIsoWelt(short& x, short& y) {
  DeleteUnderneathMicroSim();
  return CStrExtTeil::RemoveFromIsoWelt(x, y);
}

int CGrdCrossing::Turn() {
  // The crossing's picture is not symmetric along the track: the street
  // runs through its second column. Turned round, it is laid again from
  // the street cell, so the street keeps its place and its cells on either
  // side of the track stay the crossing's.
  short x = 0, y = 0;
  GetStreetCell(x, y);
  const int w = Width(), h = Depth();
  m_StartX = x;
  m_StartY = y;
  m_Richtung = CIsoRichtung((m_Richtung.GetValue() + 2) & 3);
  RebuildGroup(x, y);
  // Half a turn keeps the group's extent; without a group the old one holds.
  Lay(m_pIsoGroup ? m_pIsoGroup->GetTurnedSizeX() : w, m_pIsoGroup ? m_pIsoGroup->GetTurnedSizeY() : h,
      m_Type == STRASSE_VIERSPURIG);
  return 0;
}

void CGrdCrossing::GetUpperStreetPos(short& x, short& y) const {
  const bool four = m_Type == STRASSE_VIERSPURIG;
  const short sx = m_StartX, sy = m_StartY;
  switch (m_Richtung.GetValue()) {
    case 0:
      x = static_cast<short>(sx + 1), y = static_cast<short>(sy - 1);
      break;
    case 2:
      x = static_cast<short>(sx - (four ? 2 : 1)), y = static_cast<short>(sy - 1);
      break;
    case 1:
      x = static_cast<short>(sx - 1), y = static_cast<short>(sy + 1);
      break;
    default:
      x = static_cast<short>(sx - 1), y = static_cast<short>(sy - (four ? 2 : 1));
      break;
  }
}

void CGrdCrossing::GetLowerStreetPos(short& x, short& y) const {
  const bool four = m_Type == STRASSE_VIERSPURIG;
  const short sx = m_StartX, sy = m_StartY;
  switch (m_Richtung.GetValue()) {
    case 0:
      x = static_cast<short>(sx + 1), y = static_cast<short>(sy + 2);
      break;
    case 2:
      x = static_cast<short>(sx - (four ? 2 : 1)), y = static_cast<short>(sy + 2);
      break;
    case 1:
      x = static_cast<short>(sx + 2), y = static_cast<short>(sy + 1);
      break;
    default:
      x = static_cast<short>(sx + 2), y = static_cast<short>(sy - (four ? 2 : 1));
      break;
  }
}

int CGrdCrossing::GetMicroStartKoor(short& x, short& y) {
  switch (m_Richtung.GetValue()) {
    case 0:
      x = static_cast<short>(m_StartX - 1), y = m_EndY;
      break;
    case 2:
      x = static_cast<short>(m_StartX + 1), y = m_StartY;
      break;
    case 1:
      x = m_StartX, y = static_cast<short>(m_StartY - 1);
      break;
    default:
      x = m_StartX, y = static_cast<short>(m_StartY + 1);
      break;
  }
  return 0;
}

int CGrdCrossing::GetMicroEndKoor(short& x, short& y) {
  switch (m_Richtung.GetValue()) {
    case 0:
      x = static_cast<short>(m_EndX + 1), y = m_EndY;
      break;
    case 2:
      x = static_cast<short>(m_EndX - 1), y = m_StartY;
      break;
    case 1:
      x = m_StartX, y = static_cast<short>(m_EndY + 1);
      break;
    default:
      x = m_StartX, y = static_cast<short>(m_EndY - 1);
      break;
  }
  return 0;
}

short CGrdCrossing::GetMicroStartX() {
  return m_Richtung.GetValue() == 1 ? m_StartX : static_cast<short>(m_StartX - 1);
}

short CGrdCrossing::GetMicroStartY() {
  switch (m_Richtung.GetValue()) {
    case 2:
      return m_StartY;
    case 0:
      return static_cast<short>(m_EndY - Depth());
    default:
      return static_cast<short>(m_StartY - 1);
  }
}

int CGrdCrossing::DeleteUnderneathMicroSim() {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  CStrJunctionList* streets = CStrJunction::m_pStreetNet;
  CStrJunctionList* rails = streets ? streets->GetRailNet() : nullptr;
  if (!Rect(x0, y0, x1, y1)) return 0;
  for (int x = x0; x <= x1; ++x)
    for (int y = y0; y <= y1; ++y)
      for (CStrJunctionList* net : {streets, rails})
        if (net) net->DestroyMicorSimAt(static_cast<short>(x), static_cast<short>(y));
  return 0;
}

int CGrdCrossing::RepairOldStreet(bool street) {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  CStrJunctionList* streets = CStrJunction::m_pStreetNet;
  CStrJunctionList* net = street ? streets : streets ? streets->GetRailNet() : nullptr;
  if (!net || !Rect(x0, y0, x1, y1)) return 0;
  for (int x = x0; x <= x1; ++x)
    for (int y = y0; y <= y1; ++y) {
      CStrStrasse* found = nullptr;
      CStrStrassenTeil* piece = nullptr;
      if (!net->PointHitStreet(static_cast<short>(x), static_cast<short>(y), &found, &piece) || !found) continue;
      // The street (or track) draws itself again, with its cells; a
      // junction's lights are drawn again over its new cells.
      found->RemoveFromIsoWelt(false);
      found->InsertIntoIsoWelt();
      if (street)
        for (CStrJunction* j : {found->GetStartJunction(), found->GetEndJunction()})
          if (j && j->HasAmpel()) {
            j->RemoveAmpelLayer();
            j->AddAmpelLayer();
            j->UpdateAmpeln();
          }
      return 0;
    }
  return 0;
}

bool CGrdCrossing::IsolatedGrdCrossings() {
  short ux = 0, uy = 0, lx = 0, ly = 0;
  GetUpperStreetPos(ux, uy);
  GetLowerStreetPos(lx, ly);
  return GroundTypeAt(m_pIsoWelt, ux, uy) == OBJ_GROUND && GroundTypeAt(m_pIsoWelt, lx, ly) == OBJ_GROUND;
}

int CGrdCrossing::SerializeGameStore(FILE* file) {
  ZorRecordWriter out(file);
  StoreBase(out);
  short ax = 0, ay = 0;
  if (m_pIsoGroup) {
    ax = m_pIsoGroup->GetStartPosX();
    ay = m_pIsoGroup->GetStartPosY();
  } else {
    GetInsertPoint(ax, ay);
  }
  out.U8(m_OnRail);
  out.I8(m_MX);
  out.I8(m_MY);
  out.I16(ax);
  out.I16(ay);
  return out.Ok() ? 0 : 1;
}

int CGrdCrossing::SerializeGameLoad(FILE* file) {
  ZorRecordReader in(file);
  LoadBase(in);
  m_OnRail = in.U8();
  m_MX = in.I8();
  m_MY = in.I8();
  const short ax = in.I16();
  const short ay = in.I16();
  if (!in.Ok()) return 1;
  const int want = Sign(m_EndX - m_StartX);
  if (want != 0 && Sign(m_MX) != want) m_MX = static_cast<int8_t>(-m_MX);
  RebuildGroup(ax, ay);
  // A narrow street's crossing saved when its picture took a cell more
  // along the track (two cells after the street) is laid again from its
  // street cell, as its picture lies now: its cells, its anchor and its
  // extent all follow the picture.
  const bool alongX = (m_Richtung.GetValue() & 1) == 0;
  const int saved = (alongX ? std::abs(m_EndX - m_StartX) : std::abs(m_EndY - m_StartY)) + 1;
  if (m_pIsoGroup && m_ResID == kResID &&
      saved == (alongX ? m_pIsoGroup->GetTurnedSizeX() : m_pIsoGroup->GetTurnedSizeY()) + 1) {
    short x = 0, y = 0;
    GetStreetCell(x, y);
    m_StartX = x;
    m_StartY = y;
    RebuildGroup(x, y);
    if (m_pIsoGroup) Lay(m_pIsoGroup->GetTurnedSizeX(), m_pIsoGroup->GetTurnedSizeY(), m_Type == STRASSE_VIERSPURIG);
  }
  return 0;
}

// -------------------------------------------------------------- CStrExtTlList

int CStrExtTlList::Destroy() {
  m_pAktTeil = nullptr;
  return CList::Destroy();
}

bool CStrExtTlList::StartAtKoor(short x, short y) {
  m_pAktTeil = nullptr;
  if (!IsoInMap(x, y)) return false;
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    auto* p = static_cast<CStrExtTeil*>(o);
    if (p->GetStartX() == x && p->GetStartY() == y) {
      m_pAktTeil = p;
      return true;
    }
  }
  return false;
}

int CStrExtTlList::InsertIntoIsoWelt(CIsoWelt* iso, short& x, short& y, CWorldObj* obj, bool loading) {
  if (!m_pAktTeil) return 1;
  m_pAktTeil->InsertIntoIsoWelt(iso, x, y, obj, loading);
  m_pAktTeil = nullptr;
  return 0;
}

int CStrExtTlList::RemoveFromIsoWelt(short& x, short& y) {
  if (!m_pAktTeil) return 1;
  m_pAktTeil->RemoveFromIsoWelt(x, y);
  m_pAktTeil = nullptr;
  return 0;
}

int CStrExtTlList::GetEndKoor(short& x, short& y) { return m_pAktTeil ? m_pAktTeil->GetEndKoor(x, y) : 1; }
int CStrExtTlList::StartMicroZellenCount(short& x, short& y) {
  return m_pAktTeil ? m_pAktTeil->StartMicroZellenCount(x, y) : 1;
}
int CStrExtTlList::GetMicroStartKoor(short& x, short& y) {
  return m_pAktTeil ? m_pAktTeil->GetMicroStartKoor(x, y) : 1;
}
int CStrExtTlList::GetMicroEndKoor(short& x, short& y) { return m_pAktTeil ? m_pAktTeil->GetMicroEndKoor(x, y) : 1; }
bool CStrExtTlList::GetMicroZellenPos(short& x, short& y) {
  return m_pAktTeil ? m_pAktTeil->GetMicroZellenPos(x, y) : false;
}
bool CStrExtTlList::IsGradeCrossing() { return m_pAktTeil ? m_pAktTeil->IsGradeCrossing() : false; }
int CStrExtTlList::DeleteUnderneathMicroSim() { return m_pAktTeil ? m_pAktTeil->DeleteUnderneathMicroSim() : 1; }
int CStrExtTlList::GetType() { return m_pAktTeil ? m_pAktTeil->GetType().GetValue() : 1; }

void CStrExtTlList::GetUpperStreetPos(short& x, short& y) {
  x = y = 0;
  if (auto* c = dynamic_cast<CGrdCrossing*>(m_pAktTeil)) c->GetUpperStreetPos(x, y);
}

void CStrExtTlList::GetlowerStreetPos(short& x, short& y) {
  x = y = 0;
  if (auto* c = dynamic_cast<CGrdCrossing*>(m_pAktTeil)) c->GetLowerStreetPos(x, y);
}

bool CStrExtTlList::PointHitExtraTeil(short x, short y) {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext())
    if (static_cast<CStrExtTeil*>(o)->PointHitExtraTeil(x, y)) return true;
  return false;
}

bool CStrExtTlList::IsInRange(short x1, short y1, short x2, short y2) {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext())
    if (static_cast<CStrExtTeil*>(o)->IsInRange(x1, y1, x2, y2)) return true;
  return false;
}

bool CStrExtTlList::IsMember(const CStrExtTeil* part) {
  if (!part) return false;
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext())
    if (*static_cast<CStrExtTeil*>(o) == *part) return true;
  return false;
}

int CStrExtTlList::Turn() {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) static_cast<CStrExtTeil*>(o)->Turn();
  return 0;
}

int CStrExtTlList::RepairOdlStreet(bool street) {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) static_cast<CStrExtTeil*>(o)->RepairOldStreet(street);
  return 0;
}

bool CStrExtTlList::RemoveIsolatedGrdCrossings() {
  bool removed = false;
  CZorvaObject* o = GetHead();
  while (o) {
    CZorvaObject* next = o->GetNext();
    auto* c = dynamic_cast<CGrdCrossing*>(o);
    if (c && c->IsolatedGrdCrossings()) {
      if (m_pAktTeil == c) m_pAktTeil = nullptr;
      DestroyObject(c, 0);
      removed = true;
    }
    o = next;
  }
  return removed;
}

CStrExtTlList* CStrExtTlList::Clone() {
  auto* copy = new CStrExtTlList;
  copy->Create();
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    auto* part = dynamic_cast<CStrExtTeil*>(QnoCreateObject(o->GetTypeName()));
    if (!part) continue;
    part->Create(*o);
    copy->AddTail(part, 0);
  }
  return copy;
}

// ----------------------------------------------------------- CStrStrassenTeil

CStrStrassenTeil::CStrStrassenTeil(const CStrStrassenTeil* other) {
  if (!other) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter pOldTeil == NULL");
    return;
  }
  m_HitRiver = other->m_HitRiver;
  m_HitTrain = other->m_HitTrain;
  m_StartX = other->m_StartX;
  m_StartY = other->m_StartY;
  m_EndX = other->m_EndX;
  m_EndY = other->m_EndY;
  m_Reserved1 = other->m_Reserved1;
  m_Reserved2 = other->m_Reserved2;
  if (other->m_pExtraTeilList) m_pExtraTeilList = other->m_pExtraTeilList->Clone();
}

CStrStrassenTeil::~CStrStrassenTeil() { DropExtraTeilList(); }

void CStrStrassenTeil::DropExtraTeilList() {
  if (!m_pExtraTeilList) return;
  m_pExtraTeilList->Destroy();
  delete m_pExtraTeilList;
  m_pExtraTeilList = nullptr;
}

int CStrStrassenTeil::Destroy() {
  DropExtraTeilList();
  return 0;
}

int CStrStrassenTeil::Create(short sx, short sy, short ex, short ey, CStrExtTlList* parts, bool testRail,
                             CStrassenType type) {
  DropExtraTeilList();
  m_StartX = sx;
  m_StartY = sy;
  m_EndX = ex;
  m_EndY = ey;
  m_Reserved1 = m_Reserved2 = -1;
  m_HitRiver = Check_HitRiver(type) ? 1 : 0;
  m_HitTrain = testRail && Check_HitTrain(type) ? 1 : 0;
  if (parts && parts->IsInRange(sx, sy, ex, ey)) {
    DropExtraTeilList();
    m_pExtraTeilList = parts->Clone();
    // The map shows the old piece's bridge, not the river under it: a
    // piece that takes the bridge over is a piece over the river, and the
    // bridge keeps the river it recorded.
    for (CZorvaObject* o = m_pExtraTeilList ? m_pExtraTeilList->GetHead() : nullptr; o; o = o->GetNext())
      if (dynamic_cast<CStrBride*>(o)) m_HitRiver = 1;
  }
  return 0;
}

void CStrStrassenTeil::CalcM(signed char& dx, signed char& dy) const {
  dx = static_cast<signed char>(Sign(m_EndX - m_StartX));
  dy = static_cast<signed char>(Sign(m_EndY - m_StartY));
}

void CStrStrassenTeil::CalcM(short& dx, short& dy) const {
  dx = static_cast<short>(Sign(m_EndX - m_StartX));
  dy = static_cast<short>(Sign(m_EndY - m_StartY));
}

int CStrStrassenTeil::CalcLaenge() const {
  return (std::abs(m_StartX - m_EndX) + std::abs(m_StartY - m_EndY) - 1) * 100;
}

void CStrStrassenTeil::CalcRichtung(CIsoRichtung& direction) const {
  direction = CIsoRichtung(GraphicRichtung(Sign(m_EndX - m_StartX), Sign(m_EndY - m_StartY)));
}

void CStrStrassenTeil::CalcStartAndEndPos(short& sx, short& sy, short& ex, short& ey, signed char& mx,
                                          signed char& my, CIsoRichtung& direction) const {
  GetXY(sx, sy, ex, ey);
  CalcM(mx, my);
  CalcRichtung(direction);
}

void CStrStrassenTeil::MoveStartPoint(short dx, short dy) {
  m_StartX = static_cast<int16_t>(m_StartX + dx);
  m_StartY = static_cast<int16_t>(m_StartY + dy);
}

void CStrStrassenTeil::MoveEndPoint(short dx, short dy) {
  m_EndX = static_cast<int16_t>(m_EndX + dx);
  m_EndY = static_cast<int16_t>(m_EndY + dy);
}

int CStrStrassenTeil::Turn() {
  std::swap(m_StartX, m_EndX);
  std::swap(m_StartY, m_EndY);
  if (m_pExtraTeilList) m_pExtraTeilList->Turn();
  return 0;
}

bool CStrStrassenTeil::PointHitStreet(short x, short y) const {
  if (m_StartX != m_EndX) return y == m_StartY && FractionIn(x - m_StartX, m_EndX - m_StartX, false);
  if (m_StartY != m_EndY) return x == m_StartX && FractionIn(y - m_StartY, m_EndY - m_StartY, false);
  return false;
}

bool CStrStrassenTeil::Hit(CStrStrassenTeil* other, short& x, short& y) const {
  if (!other) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter pSec == NULL");
    return false;
  }
  const bool thisAlongY = m_StartX == m_EndX && m_StartY != m_EndY;
  const bool thisAlongX = m_StartY == m_EndY && m_StartX != m_EndX;
  const bool otherAlongY = other->m_StartX == other->m_EndX && other->m_StartY != other->m_EndY;
  const bool otherAlongX = other->m_StartY == other->m_EndY && other->m_StartX != other->m_EndX;
  const CStrStrassenTeil* a = nullptr;  // along y
  const CStrStrassenTeil* b = nullptr;  // along x
  if (thisAlongY && otherAlongX) {
    a = this;
    b = other;
  } else if (thisAlongX && otherAlongY) {
    a = other;
    b = this;
  } else {
    return false;
  }
  if (!FractionIn(b->m_StartY - a->m_StartY, a->m_EndY - a->m_StartY, true)) return false;
  if (!FractionIn(a->m_StartX - b->m_StartX, b->m_EndX - b->m_StartX, true)) return false;
  x = a->m_StartX;
  y = b->m_StartY;
  return true;
}

bool CStrStrassenTeil::JunctionHitStreet(CStrJunction* junction, short& x, short& y) const {
  if (!junction) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter pSearchJunc == NULL");
    return false;
  }
  const int jx = junction->GetXPos(), jy = junction->GetYPos();
  bool inside = false;
  if (m_StartX != m_EndX)
    inside = jy == m_StartY && FractionIn(jx - m_StartX, m_EndX - m_StartX, true);
  else if (m_StartY != m_EndY)
    inside = jx == m_StartX && FractionIn(jy - m_StartY, m_EndY - m_StartY, true);
  if (!inside) return false;
  x = static_cast<short>(jx);
  y = static_cast<short>(jy);
  return true;
}

bool CStrStrassenTeil::HasExtraTeilAt(short x, short y) const {
  return m_pExtraTeilList && m_pExtraTeilList->PointHitExtraTeil(x, y);
}

int CStrStrassenTeil::FixeKurvenOff(signed char& dx, signed char& dy, bool atStart) {
  signed char mx = 0, my = 0;
  CalcM(mx, my);
  if (!atStart) {
    mx = static_cast<signed char>(-mx);
    my = static_cast<signed char>(-my);
  }
  dx = dy = 0;
  if (mx > 0)
    dx = 1;
  else if (my > 0)
    dy = 1;
  return 0;
}

int CStrStrassenTeil::AddExtraTeilList(CStrExtTlList* other) {
  if (!other) return 0;
  if (!m_pExtraTeilList) {
    m_pExtraTeilList = new CStrExtTlList;
    m_pExtraTeilList->Create();
  }
  for (CZorvaObject* o = other->GetHead(); o; o = o->GetNext()) {
    auto* part = dynamic_cast<CStrExtTeil*>(QnoCreateObject(o->GetTypeName()));
    if (!part) continue;
    part->Create(*o);
    if (m_pExtraTeilList->IsMember(part)) {
      part->Destroy();
      delete part;
      continue;
    }
    m_pExtraTeilList->AddTail(part, 0);
    // A piece that takes a bridge over runs over the river it recorded.
    if (dynamic_cast<CStrBride*>(part)) m_HitRiver = 1;
  }
  return 0;
}

bool CStrStrassenTeil::Check_HitRiver(CStrassenType type) {
  const int mx = Sign(m_EndX - m_StartX), my = Sign(m_EndY - m_StartY);
  const int n = std::abs(m_EndX - m_StartX) + std::abs(m_EndY - m_StartY);
  int first = -1, last = -1;
  for (int i = 0; i <= n; ++i) {
    const bool water = GroundTypeAt(m_pIsoWelt, m_StartX + i * mx, m_StartY + i * my) == OBJ_RIVER;
    if (first < 0) {
      if (water) first = i;
    } else if (!water) {
      last = i - 1;
      break;
    }
  }
  // No water, or water up to the end tile: no bridge.
  if (first < 0 || last < 0) return false;
  if (!m_pExtraTeilList) {
    m_pExtraTeilList = new CStrExtTlList;
    m_pExtraTeilList->Create();
  }
  auto* bridge = new CStrBride;
  bridge->Create(static_cast<short>(m_StartX + first * mx), static_cast<short>(m_StartY + first * my), type);
  bridge->SetEndPoint(static_cast<short>(m_StartX + last * mx), static_cast<short>(m_StartY + last * my));
  CIsoRichtung direction(GraphicRichtung(mx, my));
  bridge->SetRichtung(direction, type);
  m_pExtraTeilList->AddHead(bridge, 0);
  return true;
}

bool CStrStrassenTeil::Check_HitTrain(CStrassenType type) {
  const int mx = Sign(m_EndX - m_StartX), my = Sign(m_EndY - m_StartY);
  const int n = std::abs(m_EndX - m_StartX) + std::abs(m_EndY - m_StartY);
  int first = -1;
  bool closed = false;
  for (int i = 0; i < n; ++i) {
    const bool rail = GroundTypeAt(m_pIsoWelt, m_StartX + i * mx, m_StartY + i * my) == OBJ_RAIL_PIECE;
    if (first < 0) {
      if (rail) first = i;
    } else if (!rail) {
      closed = true;
      break;
    }
  }
  if (first < 0 || !closed) return false;
  if (!m_pExtraTeilList) {
    m_pExtraTeilList = new CStrExtTlList;
    m_pExtraTeilList->Create();
  }
  auto* crossing = new CGrdCrossing;
  crossing->Create(static_cast<short>(m_StartX + first * mx), static_cast<short>(m_StartY + first * my), type);
  CIsoRichtung direction(GraphicRichtung(mx, my));
  crossing->SetRichtung(direction, type);
  m_pExtraTeilList->AddHead(crossing, 0);
  return true;
}

int CStrStrassenTeil::SerializeGameStore(FILE* file) {
  ZorRecordWriter out(file);
  out.I16(m_EndX);
  out.I16(m_EndY);
  out.I16(m_StartX);
  out.I16(m_StartY);
  out.I16(m_Reserved1);
  out.I16(m_Reserved2);
  out.U8(m_HitRiver);
  out.U8(m_HitTrain);
  out.U8(m_pExtraTeilList ? 1 : 0);
  if (!out.Ok()) return 1;
  if (m_pExtraTeilList) return m_pExtraTeilList->SerializeGameStore(file);
  return 0;
}

int CStrStrassenTeil::SerializeGameLoad(FILE* file) {
  ZorRecordReader in(file);
  m_EndX = in.I16();
  m_EndY = in.I16();
  m_StartX = in.I16();
  m_StartY = in.I16();
  m_Reserved1 = in.I16();
  m_Reserved2 = in.I16();
  m_HitRiver = in.U8();
  m_HitTrain = in.U8();
  const uint8_t withParts = in.U8();
  if (!in.Ok() || withParts > 1) return 1;
  DropExtraTeilList();
  if (!withParts) return 0;
  m_pExtraTeilList = new CStrExtTlList;
  m_pExtraTeilList->Create();
  m_pExtraTeilList->SetElementType(CStrExtTeil::m_pClassType);
  return m_pExtraTeilList->SerializeGameLoad(file);
}
