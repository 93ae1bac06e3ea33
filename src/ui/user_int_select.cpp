// The join marking of the street tools: for every tile of the map, whether a
// new street or track of the current type may begin at, join or cross the
// network there, and in which directions it may leave the tile. The map
// draws it while the street tool is chosen: arrows where a street may
// join, a refusal marker on network tiles that take none.
#include <cstdio>
#include <cstring>

#include "iso/iso_info.h"
#include "iso/iso_welt.h"
#include "network/crossing_objects.h"
#include "network/rail_junction_list.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "ui/user_int.h"
#include "ui/user_int_select.h"

void CUserInt::SelTilesDeleter::operator()(SelStreetTiles* tiles) const { delete tiles; }

namespace {

// Join codes.
constexpr uint8_t kNotChecked = 0;
constexpr uint8_t kJoinable = 1;
constexpr uint8_t kRailNoCross = 2;
constexpr uint8_t kRailCrossOk = 3;
constexpr uint8_t kStreetNoCross = 4;
constexpr uint8_t kStreetCrossOk = 5;
constexpr uint8_t kBeforeJunction = 6;
constexpr uint8_t kTwoBeforeJunction = 7;
constexpr uint8_t kBeforeBend = 8;
constexpr uint8_t kTwoBeforeBend = 9;
constexpr uint8_t kBeforeRailCrossing = 10;
constexpr uint8_t kOnRailCrossing = 11;
constexpr uint8_t kNoMoreAB = 12;
constexpr uint8_t kNoMoreD = 13;
constexpr uint8_t kCross4 = 14;
constexpr uint8_t kBendWrongType = 16;
constexpr uint8_t kStopInWay = 17;
constexpr uint8_t kRemovedAfterCheck = 18;
constexpr uint8_t kEveryDirection = 255;

const char* const kFromToLabels[] = {"Keine Bau", "Kreuzung", "Endst\374ck", "Leer", "Gerade", "Kurve"};
const char* const kCodeLabels[] = {"Not Checked",   "OK",          "RC OnRail Not",   "RC OnRail OK",
                                   "RC OnStreet Not", "RC OnStreet Ok", "Before Crossing", "Two Before Crossing",
                                   "BeforeBend",    "TwoBeforeBend", nullptr,           "RailCrossing",
                                   "No More AB",    "No More D",   "Cross 4",         "Kurve Oversize",
                                   "Kruve Wrong Type", "HstInWay", "Removed aftercheck"};

// The ground type of a tile, street and crossing groups folded into
// pieces and junctions, and whether it is empty land: ground (land the map
// never covered holds no ground object yet, which the street network
// counts as free too) with nothing or ground above it.
void SelClassify(const CIsoInfo* info, int* type, bool* empty) {
  *type = OBJ_NONE;
  *empty = false;
  if (!info) return;
  int ground = info->GetType(ISO_LAYER_GROUND);
  if (ground == OBJ_NONE || ground == OBJ_GROUND) {
    const int upper = info->GetType(ISO_LAYER_UPPER);
    *empty = upper == OBJ_NONE || upper == OBJ_GROUND;
  }
  if (ground == OBJ_STREET_GROUP) ground = OBJ_STREET_PIECE;
  if (ground == OBJ_CROSSING_GROUP) ground = OBJ_CROSSING;
  *type = ground;
}

bool IsFourLaneOrTrack(CStrStrasse* s) {
  return s && (s->GetStreetType() == STRASSE_VIERSPURIG || s->GetStreetType() == STRASSE_SCHIENE);
}

}  // namespace

// ---- lookups and predicates ----

CStrSchJuncList* CUserInt::GetRailNet() const { return m_pStreetNet ? m_pStreetNet->GetRailNet() : nullptr; }

int CUserInt::SelTileType(int x, int y) const {
  if (m_pSelTiles && m_pSelTiles->cached) return InWorld(x, y) ? static_cast<int>(m_pSelTiles->type[x][y]) : 0;
  int type = OBJ_NONE;
  bool empty = false;
  if (m_pIsoWelt && InWorld(x, y)) SelClassify(m_pIsoWelt->GetIsoInfo(x, y), &type, &empty);
  return type;
}

bool CUserInt::SelEmptyLand(int x, int y) const {
  if (m_pSelTiles && m_pSelTiles->cached) return InWorld(x, y) && m_pSelTiles->empty[x][y];
  int type = OBJ_NONE;
  bool empty = false;
  if (m_pIsoWelt && InWorld(x, y)) SelClassify(m_pIsoWelt->GetIsoInfo(x, y), &type, &empty);
  return empty;
}

CStrJunction* CUserInt::GetJunctionAt(int x, int y) const {
  if (SelTileType(x, y) != OBJ_CROSSING) return nullptr;
  auto* k = dynamic_cast<CKreuzObj*>(m_pIsoWelt->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
  return k ? k->GetWorldObject() : nullptr;
}

CStrJunction* CUserInt::GetSchJunctionAt(int x, int y) const {
  if (SelTileType(x, y) != OBJ_RAIL_JUNCTION) return nullptr;
  auto* k = dynamic_cast<CKreuzObj*>(m_pIsoWelt->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
  return k ? k->GetWorldObject() : nullptr;
}

CStrStrasse* CUserInt::GetStrasseAt(int x, int y) const {
  if (SelTileType(x, y) != OBJ_STREET_PIECE) return nullptr;
  auto* s = dynamic_cast<CStreetObj*>(m_pIsoWelt->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
  return s ? s->GetStreetList() : nullptr;
}

CStrStrasse* CUserInt::GetSchienenAt(int x, int y) const {
  if (SelTileType(x, y) != OBJ_RAIL_PIECE) return nullptr;
  auto* s = dynamic_cast<CStreetObj*>(m_pIsoWelt->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
  return s ? s->GetStreetList() : nullptr;
}

bool CUserInt::CalcSteigung(int x1, int y1, int x2, int y2, int& dx, int& dy) {
  dx = (x2 > x1) - (x2 < x1);
  dy = (y2 > y1) - (y2 < y1);
  return (dx != 0) != (dy != 0);
}

bool CUserInt::StreetIsQuerRichtung(CStrStrasse* street, int x, int y, int dir) {
  const int r = SelStraightRichtung(street, x, y);
  return r >= 0 && SelRunsAcross(r, dir);
}

bool CUserInt::StreetsAreQuer(CStrStrasse* s1, int x1, int y1, CStrStrasse* s2, int x2, int y2) {
  const int r1 = SelStraightRichtung(s1, x1, y1), r2 = SelStraightRichtung(s2, x2, y2);
  return r1 >= 0 && r2 >= 0 && ((r1 ^ r2) & 1) != 0;
}

bool CUserInt::StreetsAreParallel(CStrStrasse* s1, int x1, int y1, CStrStrasse* s2, int x2, int y2) {
  const int r1 = SelStraightRichtung(s1, x1, y1), r2 = SelStraightRichtung(s2, x2, y2);
  return r1 >= 0 && r2 >= 0 && ((r1 ^ r2) & 1) == 0;
}

bool CUserInt::CheckSelStrasseSpaceForRailCrossing(int x, int y) const {
  CStrStrasse* s = GetStrasseAt(x, y);
  return s && m_SelType == STRASSE_SCHIENE && s->PointIsSpaceForRailCrossing(static_cast<short>(x), static_cast<short>(y));
}

bool CUserInt::CheckSelSchienenSpaceForRailCrossing(int x, int y) const {
  CStrStrasse* s = GetSchienenAt(x, y);
  const bool street = m_SelType == STRASSE_1 || m_SelType == STRASSE_2 || m_SelType == STRASSE_VIERSPURIG;
  return s && street && s->PointIsSpaceForRailCrossing(static_cast<short>(x), static_cast<short>(y));
}

int CUserInt::SelStreetQuelleZielDif(int x, int y, int dir) const {
  if (!InWorld(x, y) || !m_pSelTiles || dir < 0 || dir > 3) return -1;
  return (x + y) - (m_pSelTiles->meetX[x][y][dir] + m_pSelTiles->meetY[x][y][dir]);
}

void CUserInt::SelStreetFT(char* out, ESelStreetFromTo kind) {
  const int k = static_cast<int>(kind);
  std::strcpy(out, k >= 0 && k <= 5 ? kFromToLabels[k] : "Out Of Enum");
}

void CUserInt::SelStreet(char* out, int code) {
  const char* label = code >= 0 && code <= kRemovedAfterCheck ? kCodeLabels[code] : nullptr;
  std::strcpy(out, label ? label : "Out Of Enum");
}

const CUserInt::SelRichtung& CUserInt::GetSelRichtung(int x, int y, int dir) const {
  static const SelRichtung none{};
  if (!m_pSelTiles || !InWorld(x, y) || dir < 0 || dir > 3) return none;
  return m_pSelTiles->rec[x][y][dir];
}

bool CUserInt::GetSelMeeting(int x, int y, int dir, int& mx, int& my) const {
  mx = my = -1;
  if (!m_pSelTiles || !InWorld(x, y) || dir < 0 || dir > 3) return false;
  mx = m_pSelTiles->meetX[x][y][dir];
  my = m_pSelTiles->meetY[x][y][dir];
  return mx != -1;
}

int CUserInt::GetSelStoredX() const { return m_pSelTiles ? m_pSelTiles->storedX : -1; }
int CUserInt::GetSelStoredY() const { return m_pSelTiles ? m_pSelTiles->storedY : -1; }

// ---- the marking ----

int CUserInt::ResetSelStreet() {
  if (!m_pSelTiles) m_pSelTiles.reset(new SelStreetTiles);
  SelStreetTiles& t = *m_pSelTiles;
  std::memset(t.rec, 0, sizeof t.rec);
  std::memset(t.meetX, 0xff, sizeof t.meetX);
  std::memset(t.meetY, 0xff, sizeof t.meetY);
  std::memset(t.type, 0, sizeof t.type);
  std::memset(t.empty, 0, sizeof t.empty);
  t.cached = false;
  std::memset(m_TileMask, 0, sizeof m_TileMask);
  std::memset(m_TileMask2, 0, sizeof m_TileMask2);
  t.storedX = t.storedY = -1;
  t.flag = 0;
  return 0;
}

int CUserInt::SelFirstCode(int x, int y, int type) const {
  const auto sx = static_cast<short>(x), sy = static_cast<short>(y);
  const int T = m_SelType;
  if (T == STRASSE_SCHIENE) {
    switch (type) {
      case OBJ_RAIL_JUNCTION: {
        CStrJunction* j = GetSchJunctionAt(x, y);
        return j && j->GetAnzLinkedStreets() == 1 ? kJoinable : kCross4;
      }
      case OBJ_RAIL_PIECE: {
        CStrStrasse* s = GetSchienenAt(x, y);
        if (!s) return kNotChecked;
        bool deadEnd = false;
        if (s->PointBeforJunction(sx, sy, deadEnd))
          return s->PointBeforEndStueckSchienenAndRailLong(sx, sy, true) ? kJoinable : kBeforeJunction;
        if (s->PointTwoBeforJunction(sx, sy)) return kTwoBeforeJunction;
        if (s->PointIsBeforBend(sx, sy)) return kBeforeBend;
        if (s->PointIsTwoBeforBend(sx, sy)) return kTwoBeforeBend;
        if (s->PointIsBeforeRailCrossing(sx, sy) || s->PointIsTwoBeforeRailCrossing(sx, sy))
          return kBeforeRailCrossing;
        if (s->PointIsRailCrossing(sx, sy)) return kOnRailCrossing;
        if (!s->PointIsHst(sx, sy) && (s->PointIsBend(sx, sy) || !s->PointIsBeforeHst(sx, sy))) return kJoinable;
        return kStopInWay;
      }
      case OBJ_STREET_PIECE: return CheckSelStrasseSpaceForRailCrossing(x, y) ? kStreetCrossOk : kStreetNoCross;
      case OBJ_CROSSING: return kStreetNoCross;
      default: return kNotChecked;
    }
  }
  switch (type) {
    case OBJ_RAIL_JUNCTION: return kRailNoCross;
    case OBJ_RAIL_PIECE: return CheckSelSchienenSpaceForRailCrossing(x, y) ? kRailCrossOk : kRailNoCross;
    case OBJ_STREET_PIECE: {
      CStrStrasse* s = GetStrasseAt(x, y);
      if (!s) return kNotChecked;
      bool deadEnd = false;
      const bool wideTool = T == STRASSE_VIERSPURIG || T == STRASSE_SCHIENE;
      if (s->PointBeforJunction(sx, sy, deadEnd)) {
        if (IsFourLaneOrTrack(s) && wideTool && s->PointBeforEndStueckDAndStreetLong(sx, sy, true)) return kJoinable;
        return kBeforeJunction;
      }
      if (s->PointIsBeforBend(sx, sy)) return kBeforeBend;
      if (s->PointIsBeforeRailCrossing(sx, sy)) return kBeforeRailCrossing;
      CStrSchJuncList* rails = GetRailNet();
      if (rails && rails->HasGrdCrossingAt(sx, sy)) return kOnRailCrossing;
      const bool bend = s->PointIsBend(sx, sy);
      if (bend && ((T == STRASSE_VIERSPURIG) != (s->GetStreetType() == STRASSE_VIERSPURIG))) return kBendWrongType;
      if (s->PointIsHst(sx, sy) || (!bend && s->PointIsBeforeHst(sx, sy))) return kStopInWay;
      return kJoinable;
    }
    case OBJ_CROSSING: {
      CStrJunction* j = GetJunctionAt(x, y);
      if (!j) return kNotChecked;
      const int n = j->GetAnzLinkedStreets();
      if (n != 1 && n != 3) return kCross4;
      int four = 0;
      for (int i = 0; i < n; ++i) {
        CStrStrasse* s = j->GetStreetByNR(i);
        four += s && s->GetStreetType() == STRASSE_VIERSPURIG;
      }
      if (T == STRASSE_1 || T == STRASSE_2) return four == 1 || four == 3 ? kNoMoreAB : kJoinable;
      if (T == STRASSE_VIERSPURIG) {
        const int other = n - four;
        return other == 1 || other == 3 || (n == 1 && four == 0) ? kNoMoreD : kJoinable;
      }
      return kNotChecked;
    }
    default: return kNotChecked;
  }
}

int CUserInt::CheckSelStreet(int x, int y) {
  RecordMapCall("CheckSelStreet", x, y, 0);
  ResetSelStreet();
  SelStreetTiles& t = *m_pSelTiles;
  t.storedX = x;
  t.storedY = y;
  t.flag = 0;
  m_SelType = selObj.subtool;
  if (!m_pIsoWelt) return 0;
  for (int tx = 0; tx < 128; ++tx)
    for (int ty = 0; ty < 128; ++ty) {
      int type = OBJ_NONE;
      SelClassify(m_pIsoWelt->GetIsoInfo(tx, ty), &type, &t.empty[tx][ty]);
      t.type[tx][ty] = static_cast<uint8_t>(type);
    }
  t.cached = true;
  for (int tx = 0; tx < 128; ++tx)
    for (int ty = 0; ty < 128; ++ty) {
      const int type = t.type[tx][ty];
      if (type < OBJ_RAIL_PIECE || type > OBJ_CROSSING) continue;
      const int code = SelFirstCode(tx, ty, type);
      m_TileMask[tx][ty] = static_cast<unsigned char>(code);
      if (code == kRailCrossOk || code == kStreetCrossOk) m_TileMask2[tx][ty] = kEveryDirection;
    }
  CheckSelStreetRichtung();
  if (!m_StaticCity) {
    switch (m_SelType) {
      case STRASSE_VIERSPURIG:
        CheckStreetRemoveBauDNotValid();
        CheckStreetRemoveBauDNotValid();
        break;
      case STRASSE_SCHIENE:
        for (int i = 0; i < 3; ++i) CheckStreetRemoveSchienenNotValid();
        break;
      case STRASSE_1:
      case STRASSE_2:
        CheckStreetRemoveBauABNotValid();
        break;
      default:
        break;
    }
  }
  CheckSelDragsValid();
  t.cached = false;
  return 0;
}
