#include "network/rail_junction_list.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <utility>
#include <vector>

#include "framework/qno_log.h"
#include "iso/iso_geometry.h"
#include "iso/iso_object.h"
#include "iso/iso_welt.h"
#include "network/rail_junction.h"
#include "network/rail_track.h"
#include "network/street_objects.h"
#include "iso/iso_host.h"
#include "worldbase/zor_world_obj.h"

CStrSchJuncList::CStrSchJuncList(CIsoWelt* iso, CSimWelt* sim, CStrJunctionList* streets)
    : CStrJunctionList(iso, sim) {
  CStrJunction::m_pStreetNet = streets;
  SetElementType(CStrSchJunction::m_pClassType);
  CStrSchienen::m_pRailNet = this;
}

CStrSchJuncList::~CStrSchJuncList() {
  if (CStrSchienen::m_pRailNet == this) CStrSchienen::m_pRailNet = nullptr;
}

int CStrSchJuncList::Create() {
  CStrJunctionList::Create();
  SetElementType(CStrSchJunction::m_pClassType);
  return 0;
}

CStrJunction* CStrSchJuncList::CreateNewJunction(short x, short y, CStrassenType type) {
  auto* j = new CStrSchJunction(m_pIsoWelt, m_pSimWelt);
  if (j->Create(x, y, type) != 0) {
    j->Destroy();
    delete j;
    return nullptr;
  }
  return j;
}

CStrStrasse* CStrSchJuncList::CreateNewStreet() { return new CStrSchienen(m_pIsoWelt, m_pSimWelt); }

// ---- drag checks ---------------------------------------------------------------

namespace {

enum class CellKind { Free, Water, Street, StreetJunction, Rail, RailJunction, Other };

CellKind KindAt(CIsoWelt* map, int x, int y) {
  if (!map || !IsoInMap(x, y)) return CellKind::Other;
  switch (map->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND)) {
    case OBJ_NONE:
    case OBJ_GROUND: return CellKind::Free;
    case OBJ_RIVER: return CellKind::Water;
    case OBJ_STREET_PIECE:
    case OBJ_STREET_GROUP: return CellKind::Street;
    case OBJ_CROSSING:
    case OBJ_CROSSING_GROUP: return CellKind::StreetJunction;
    case OBJ_RAIL_PIECE: return CellKind::Rail;
    case OBJ_RAIL_JUNCTION: return CellKind::RailJunction;
    default: return CellKind::Other;
  }
}

// The street or track a cell shows, null for none.
CStrStrasse* StreetShownAt(CIsoWelt* map, int x, int y) {
  auto* tile = dynamic_cast<CStreetObj*>(map->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
  return tile ? tile->GetStreetList() : nullptr;
}

// Whether a T junction made on the corner of a bend, where the piece `in`
// ends and the next begins, would crowd the track. The bend's own curve
// gives way to the junction whole, but the junction's group reaches along
// both pieces, two cells towards +x or +y and one towards -x or -y: the
// next bend's curve may not lie there, nor on the cell after it, which
// stays plain track so that the track's cells between the groups meet
// both. A level crossing keeps clear of the group by a cell of plain track
// as on a straight track: within two cells of the corner, and where the
// piece ends at the corner from above, within three.
bool CornerJunctionCrowdsTrack(CStrSchienen* track, CStrStrassenTeil* in, int x, int y) {
  CStrStrassenTeil* out = static_cast<CStrStrassenTeil*>(in->GetNext());
  if (!out) return false;
  signed char ix = 0, iy = 0, ox = 0, oy = 0;
  in->CalcM(ix, iy);
  out->CalcM(ox, oy);
  struct Arm {
    int ux, uy;
    bool endsAtCorner;
  };
  for (const Arm& arm : {Arm{-ix, -iy, true}, Arm{ox, oy, false}}) {
    const bool up = arm.ux + arm.uy > 0;
    for (int d = 1; d <= 3; ++d) {
      const auto cx = static_cast<short>(x + d * arm.ux), cy = static_cast<short>(y + d * arm.uy);
      if ((d <= 2 || (up && arm.endsAtCorner)) && track->HasExtraTeilAt(cx, cy)) return true;
      if (d > (up ? 3 : 2)) continue;
      for (int k = 1; CStrStrassenTeil* p = track->GetStrassenTeil(k); ++k)
        if (p != in && track->CurveCovers(p, cx, cy)) return true;
    }
  }
  return false;
}

// Whether a T junction made on the track's cell would crowd the track's
// curves or level crossings. Its group takes the cell before the junction
// and two after it along the track. A curve there (it spans both of the
// track's rows, so the end's own row shows it) would lose cells to the
// group, and the curve's cells would no longer meet the junction's. The
// group may not cover a level crossing's cells either, and a crossing below
// it keeps a cell of plain track between them: the track's cells there end
// before the group, and a crossing's cell in their place left the track and
// the junction without cells that meet (a crossing just above the group
// begins where the track's cells begin, as at a track's end). The corner of
// a bend, where a piece ends on the track, is the one curve cell that takes
// a junction: the curve gives way to it whole, and the corner's own rule
// keeps the group off the curves and crossings beyond. The cells the
// preview marks as before a bend along the track's run take none either. Where the track
// runs towards -x or -y, its piece above the junction ends at the group
// rather than beginning there: like a track's end, it keeps a cell of plain
// track between the group and a crossing above it, or the crossing's cells
// towards the junction lead nowhere.
bool TJunctionCrowdsTrack(CStrSchienen* track, int x, int y) {
  for (int k = 1; CStrStrassenTeil* p = track->GetStrassenTeil(k); ++k)
    if (p->GetEndX() == x && p->GetEndY() == y) return CornerJunctionCrowdsTrack(track, p, x, y);
  const auto px = static_cast<short>(x), py = static_cast<short>(y);
  if (track->PointIsBend(px, py) || track->PointIsBeforBend(px, py) || track->PointIsTwoBeforBend(px, py)) return true;
  signed char dx = 0, dy = 0;
  track->GetStreetDirectionAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), dx, dy);
  const int ax = dx != 0 ? 1 : 0, ay = dy != 0 ? 1 : 0;
  for (int along = -2; along <= 2 && ax + ay == 1; ++along) {
    const auto cx = static_cast<short>(x + along * ax), cy = static_cast<short>(y + along * ay);
    if (track->HasExtraTeilAt(cx, cy) || (along >= -1 && track->PointIsBend(cx, cy))) return true;
  }
  if ((dx < 0 || dy < 0) && ax + ay == 1 &&
      track->HasExtraTeilAt(static_cast<short>(x + 3 * ax), static_cast<short>(y + 3 * ay)))
    return true;
  return false;
}

}  // namespace

int CStrSchJuncList::CreateStreet(CStrBuildRequest* preview, CStrassenType type) {
  if (!(type == STRASSE_SCHIENE)) {
    QNO_ERROR(QNO_SEV_ERROR, "Unsupported Street Type %d", type.GetValue());
    return STR_BUILD_BAD_REQUEST;
  }
  if (preview) {
    short x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    preview->GetStreetBuildRect(&x1, &y1, &x2, &y2);
    if (IsoInMap(x1, y1) && IsoInMap(x2, y2) && (x1 == x2 || y1 == y2))
      if (const int refused = CheckTrackDrag(x1, y1, x2, y2); refused != 0) return refused;
  }
  return CStrJunctionList::CreateStreet(preview, type);
}

int CStrSchJuncList::CheckTrackDrag(short x1, short y1, short x2, short y2) {
  const int mx = (x2 > x1) - (x2 < x1), my = (y2 > y1) - (y2 < y1);
  const int n = std::abs(x2 - x1) + std::abs(y2 - y1);
  // The track's second row or column.
  const int px = my != 0 ? 1 : 0, py = mx != 0 ? 1 : 0;
  int runStart = -1, runEnd = -10;
  CStrStrasse* runStreet = nullptr;
  std::vector<std::pair<int, int>> runs;
  // An end's group (the end piece, or a T junction's on a track) covers
  // cells around the end's cell: only ground and track there.
  // A new end on free ground lays its end group (the cell and those after
  // it towards +x and +y) on free ground; an end on the network may become
  // a T junction, whose group reaches a cell further each way, over no
  // other rail junction.
  for (const auto& [ex, ey] : {std::pair{x1, y1}, std::pair{x2, y2}}) {
    const bool joins = KindAt(m_pIsoWelt, ex, ey) == CellKind::Rail || KindAt(m_pIsoWelt, ex, ey) == CellKind::RailJunction;
    CWorldObj* own = joins ? m_pIsoWelt->GetIsoTileObject(ex, ey, ISO_LAYER_GROUND) : nullptr;
    const int lo = joins ? -1 : 0, hi = joins ? 2 : 1;
    for (int x = ex + lo; x <= ex + hi; ++x)
      for (int y = ey + lo; y <= ey + hi; ++y) {
        const CellKind kind = KindAt(m_pIsoWelt, x, y);
        if (kind == CellKind::Water) return STR_BUILD_ON_WATER;
        if (kind == CellKind::Free) continue;
        if (!joins || (kind != CellKind::Rail && kind != CellKind::RailJunction)) return STR_BUILD_NO_ROOM;
        if (kind == CellKind::RailJunction && m_pIsoWelt->GetIsoTileObject(x, y, ISO_LAYER_GROUND) != own)
          return STR_BUILD_NO_ROOM;
      }
    if (KindAt(m_pIsoWelt, ex, ey) == CellKind::Rail)
      if (auto* track = dynamic_cast<CStrSchienen*>(StreetShownAt(m_pIsoWelt, ex, ey));
          track && TJunctionCrowdsTrack(track, ex, ey))
        return STR_BUILD_NO_ROOM;
  }
  for (int k = 0; k <= n; ++k) {
    const int cx = x1 + k * mx, cy = y1 + k * my;
    CStrStrasse* street = nullptr;
    for (int side = 0; side <= 1; ++side) {
      const int x = cx + side * px, y = cy + side * py;
      switch (KindAt(m_pIsoWelt, x, y)) {
        case CellKind::Water: return STR_BUILD_ON_WATER;
        case CellKind::Other:
        case CellKind::StreetJunction: return STR_BUILD_NO_ROOM;
        case CellKind::Rail:
        case CellKind::RailJunction:
          // Only the ends join tracks; the base checks decide how.
          if (k > 1 && k < n - 1) return STR_BUILD_NO_ROOM;
          break;
        case CellKind::Street: {
          CStrStrasse* s = StreetShownAt(m_pIsoWelt, x, y);
          signed char dx = 0, dy = 0;
          // A four-lane street's second row lies beside its line.
          for (const auto& [lx, ly] : {std::pair{x, y}, std::pair{x - 1, y}, std::pair{x, y - 1}})
            if (s && dx == 0 && dy == 0 && !s->PointIsBend(static_cast<short>(lx), static_cast<short>(ly)))
              s->GetStreetDirectionAt(static_cast<unsigned short>(lx), static_cast<unsigned short>(ly), dx, dy);
          // Across a straight piece of the street only.
          if (!s || (dx == 0 && dy == 0) || dx * mx + dy * my != 0) return STR_BUILD_ALONG_STREET;
          // The crossing takes plain street: no bend or cell before one, no
          // cell next to the street's junction (whose cells join the
          // street's last cell), no stop and no crossing beside it.
          if (!s->PointIsSpaceForRailCrossing(static_cast<short>(x), static_cast<short>(y))) return STR_BUILD_NO_ROOM;
          if (street && street != s) return STR_BUILD_NO_ROOM;
          street = s;
          break;
        }
        case CellKind::Free: break;
      }
    }
    if (!street) continue;
    // Runs of street cells become crossings along the track: one cell
    // before the street, the street (one or two cells), and one after it.
    // Only a four-lane street's second row carries a run on. The next cell
    // of a narrower street is another stretch of it (a street that turns
    // back beside itself): a second meeting, with no room for its crossing.
    if (street == runStreet && k == runEnd + 1 && k - runStart < 2 && street->GetStreetType() == STRASSE_VIERSPURIG) {
      runEnd = k;
      runs.back().second = k;
      continue;
    }
    if (k < 2 || k + 2 > n - 1 || (runStreet && k < runStart + 4)) return STR_BUILD_NO_ROOM;
    runStreet = street;
    runStart = runEnd = k;
    runs.emplace_back(k, k);
  }
  if (runStreet && runEnd + 1 > n - 1) return STR_BUILD_NO_ROOM;
  // Along the track's axis a crossing takes its street's cells and the
  // cell below and above them, whichever way the track runs; the ends'
  // groups take their cell and the one above. The crossing's one layout
  // lies on its lowest cell. A cell of plain track lies between a crossing
  // and the group above it: the track's cells end beside the group, and
  // without it they would be the crossing's cells without a layout, leading
  // nowhere. Below the crossing its layout may meet the low end's group
  // where the track runs down into that end; a track running up out of it
  // keeps a cell of plain track there too.
  const int lowEnd = std::min(mx != 0 ? x1 : y1, mx != 0 ? x2 : y2);
  const int highEnd = std::max(mx != 0 ? x1 : y1, mx != 0 ? x2 : y2);
  const int start = mx != 0 ? x1 : y1, step = mx != 0 ? mx : my;
  // Joined to a dead end, the new track becomes part of that end's track
  // and runs as it runs: on out of the end where the track ends there,
  // into the end where it starts there; joining two dead ends it may run
  // either way. A track leaving the low end across the drag makes a bend
  // there, whose curve reaches a cell further than an end's group.
  int runsTowards[2] = {step, step}, joined = 0;
  bool lowBend = false;
  // An end on a track's cell or on a bend becomes a T junction. At the
  // drag's high end its group reaches a cell below the junction's cell as
  // well, and a cell of plain track lies below that one. A track arriving
  // there towards +x ends a cell short of the group besides (its last
  // straight group stays off it).
  // At the low end a T junction turns into a bend when its third track goes,
  // and the two joined tracks may then run either way: the crossing keeps
  // clear of the bend's curve as a crossing of a track running down does.
  bool highT = false, lowT = false;
  for (const auto& [ex, ey] : {std::pair{x1, y1}, std::pair{x2, y2}}) {
    const CellKind kind = KindAt(m_pIsoWelt, ex, ey);
    const CStrJunction* end = kind == CellKind::RailJunction ? FindJunctionAt(ex, ey) : nullptr;
    const bool becomesT = kind == CellKind::Rail || (end && end->GetAnzLinkedStreets() == 2);
    ((mx != 0 ? ex : ey) == highEnd ? highT : lowT) = becomesT;
  }
  for (const auto& [ex, ey, out] : {std::tuple{x1, y1, step}, std::tuple{x2, y2, -step}}) {
    CStrJunction* end = KindAt(m_pIsoWelt, ex, ey) == CellKind::RailJunction ? FindJunctionAt(ex, ey) : nullptr;
    if (!end || end->GetAnzLinkedStreets() != 1) continue;
    CStrStrasse* track = end->GetStreetByNR(0);
    runsTowards[joined++] = track->GetStartJunction() == end ? -out : out;
    short tx = 0, ty = 0;
    track->CalcMAtPos(end, &tx, &ty);
    const bool bend = mx != 0 ? tx == 0 : ty == 0;
    if (bend && (mx != 0 ? ex : ey) == lowEnd) lowBend = true;
    // The curve takes the end's track two cells on: no level crossing of
    // that track there, on either of its rows.
    if (auto* rails = dynamic_cast<CStrSchienen*>(track); bend && rails)
      for (int i = 1; i <= 2; ++i)
        for (int row = 0; row <= 1; ++row)
          if (rails->HasExtraTeilAt(static_cast<short>(ex + i * tx + row * (tx == 0)),
                                    static_cast<short>(ey + i * ty + row * (ty == 0))))
            return STR_BUILD_NO_ROOM;
  }
  if (joined == 1) runsTowards[1] = runsTowards[0];
  if (joined == 2) runsTowards[0] = -runsTowards[1];
  const int highGroup = highT ? 1 + (mx != 0 && runsTowards[0] > 0 ? 1 : 0) : 0;
  for (const auto& [a, b] : runs) {
    const int lo = std::min(start + a * step, start + b * step);
    const int hi = std::max(start + a * step, start + b * step);
    const int low = lo - 1, high = hi + 1;
    if (low < lowEnd + 2 || high > highEnd - 2 - highGroup) return STR_BUILD_NO_ROOM;
    // A T junction or a bend at the low end reaches further up: a one-lane
    // street's crossing keeps two cells of plain track from its end.
    if ((lowT || lowBend) && low - (lo == hi ? 1 : 0) < lowEnd + 3) return STR_BUILD_NO_ROOM;
    for (const int dir : runsTowards)
      if (dir > 0 && low < lowEnd + 3) return STR_BUILD_NO_ROOM;
  }
  return 0;
}

int CStrSchJuncList::CheckStreetDrag(short x1, short y1, short x2, short y2, CStrassenType type) {
  if (!GetHead() || !m_pIsoWelt) return 0;
  const int mx = (x2 > x1) - (x2 < x1), my = (y2 > y1) - (y2 < y1);
  const int n = std::abs(x2 - x1) + std::abs(y2 - y1);
  const int wide = type == STRASSE_VIERSPURIG ? 1 : 0;
  // A four-lane end's group covers the cells after and beside its cell.
  if (wide)
    for (const auto& [ex, ey] : {std::pair<int, int>{x1, y1}, std::pair<int, int>{x2, y2}})
      for (int x = ex - 1; x <= ex + 1; ++x)
        for (int y = ey - 1; y <= ey + 1; ++y) {
          const CellKind kind = KindAt(m_pIsoWelt, x, y);
          if (kind == CellKind::Rail || kind == CellKind::RailJunction) return STR_BUILD_NO_ROOM;
        }
  // The cells of the drag where it meets another street: the junctions
  // there are made or joined with the new street's.
  std::vector<int> junctions;
  for (int k = 1; k < n; ++k)
    for (int side = 0; side <= wide; ++side) {
      const CellKind kind = KindAt(m_pIsoWelt, x1 + k * mx + side * (my != 0), y1 + k * my + side * (mx != 0));
      if (kind == CellKind::Street || kind == CellKind::StreetJunction) {
        junctions.push_back(k);
        break;
      }
    }
  for (int k = 0; k <= n; ++k)
    for (int side = 0; side <= wide; ++side) {
      const int x = x1 + k * mx + side * (my != 0), y = y1 + k * my + side * (mx != 0);
      const CellKind kind = KindAt(m_pIsoWelt, x, y);
      // A junction made on a street's cell beside one of its level
      // crossings would take the cell that the crossing joins as the
      // street's (a four-lane junction's group also the cell after its
      // own): the junction's cells would lead nowhere.
      if (kind == CellKind::Street)
        if (CStrStrasse* s = StreetShownAt(m_pIsoWelt, x, y)) {
          signed char sx = 0, sy = 0;
          s->GetStreetDirectionAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), sx, sy);
          const bool wideStreet = s->GetStreetType() == STRASSE_VIERSPURIG;
          if (s->PointIsBeforeRailCrossing(static_cast<short>(x), static_cast<short>(y)) ||
              (wideStreet && s->PointIsBeforeRailCrossing(static_cast<short>(x + std::abs(sx)),
                                                          static_cast<short>(y + std::abs(sy)))))
            return STR_BUILD_NO_ROOM;
        }
      if (kind == CellKind::RailJunction) return STR_BUILD_NO_ROOM;
      if (kind != CellKind::Rail) continue;
      // The crossing joins the street's cells on either side of the track:
      // a cell of the street's own lies between the track and each end's
      // cells (a four-lane end's group takes the cell after it towards +x
      // or +y as well), or that end's cells would lead nowhere.
      const int step = mx + my;
      if (k <= 1 + (wide && step > 0) || k >= n - 1 - (wide && step < 0)) return STR_BUILD_NO_ROOM;
      // So does a junction where the drag meets another street.
      for (int j : junctions)
        if ((j < k && k - j <= 1 + (wide && step > 0)) || (j > k && j - k <= 1 + (wide && step < 0)))
          return STR_BUILD_NO_ROOM;
      auto* track = dynamic_cast<CStrSchienen*>(StreetShownAt(m_pIsoWelt, x, y));
      if (!track) return STR_BUILD_NO_ROOM;
      // The cell on the track's line: the track covers it and the cell
      // beside it towards +x or +y.
      int lx = x, ly = y;
      signed char dx = 0, dy = 0;
      track->GetStreetDirectionAt(static_cast<unsigned short>(lx), static_cast<unsigned short>(ly), dx, dy);
      for (const auto& [bx, by] : {std::pair{x - 1, y}, std::pair{x, y - 1}}) {
        if (dx != 0 || dy != 0 || track->PointIsBend(static_cast<short>(lx), static_cast<short>(ly))) break;
        lx = bx;
        ly = by;
        track->GetStreetDirectionAt(static_cast<unsigned short>(lx), static_cast<unsigned short>(ly), dx, dy);
      }
      // Across a straight piece of the track only.
      if ((dx == 0 && dy == 0) || dx * mx + dy * my != 0) return STR_BUILD_ALONG_STREET;
      if (track->PointIsBend(static_cast<short>(lx), static_cast<short>(ly))) return STR_BUILD_ALONG_STREET;
      // Two cells of plain track each side: no junction, bend, stop or
      // other crossing there (a junction's group right beside the crossing
      // leaves the track no cells of its own between them).
      if (!track->PointIsSpaceForRailCrossing(static_cast<short>(lx), static_cast<short>(ly))) return STR_BUILD_NO_ROOM;
      // The crossing reaches a cell above its street's cells: the track's
      // cells end before its end junction's group, so the cell above the
      // crossing is plain track, not that group.
      const int above = wide ? 3 : 2;
      const int ux = lx + above * std::abs(dx), uy = ly + above * std::abs(dy);
      const CStrJunction* end = track->GetEndJunction();
      if (KindAt(m_pIsoWelt, ux, uy) == CellKind::RailJunction && end && std::abs(end->GetXPos() - ux) <= 1 &&
          std::abs(end->GetYPos() - uy) <= 1)
        return STR_BUILD_NO_ROOM;
      // On a track running towards -x or -y the end junction lies below:
      // where it is a T junction, whose group reaches two cells above its
      // cell, the crossing's lowest cell keeps a cell of plain track above
      // that group as well.
      if ((dx < 0 || dy < 0) && end && end->GetAnzLinkedStreets() > 1) {
        const int row = (mx != 0 ? y1 : x1) - 2;
        const int bx = std::abs(dx) ? row : lx, by = std::abs(dy) ? row : ly;
        if (KindAt(m_pIsoWelt, bx, by) == CellKind::RailJunction && std::abs(end->GetXPos() - bx) <= 2 &&
            std::abs(end->GetYPos() - by) <= 2)
          return STR_BUILD_NO_ROOM;
      }
      // The crossing's cells along the track are plain track of this one,
      // no bend and no other crossing.
      const int ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
      for (int d : {-1, 1, 2}) {
        const int tx = lx + d * ax, ty = ly + d * ay;
        if (track->HasExtraTeilAt(static_cast<short>(tx), static_cast<short>(ty)) ||
            track->PointIsBend(static_cast<short>(tx), static_cast<short>(ty)))
          return STR_BUILD_NO_ROOM;
        for (int row = 0; row <= 1; ++row) {
          const int rx = tx + row * ay, ry = ty + row * ax;
          const bool street = rx >= std::min(x1, x2) - 1 && rx <= std::max(x1, x2) + 1 && ry >= std::min(y1, y2) - 1 &&
                              ry <= std::max(y1, y2) + 1 && (mx != 0 ? ry == y1 || ry == y1 + wide : rx == x1 || rx == x1 + wide);
          if (street) continue;
          if (KindAt(m_pIsoWelt, rx, ry) != CellKind::Rail || StreetShownAt(m_pIsoWelt, rx, ry) != track)
            return STR_BUILD_NO_ROOM;
        }
      }
    }
  return 0;
}

CStrSchJunction* CStrSchJuncList::RailJunctionAt(uint32_t n) { return static_cast<CStrSchJunction*>(GetAt(n)); }

int CStrSchJuncList::SerializeGameLoad(FILE* file) {
  CStrSchienen::m_pRailNet = this;
  return CStrJunctionList::SerializeGameLoad(file);
}

void CStrSchJuncList::TracksNear(CStrStrasse* street, std::vector<CStrSchienen*>* out) {
  out->clear();
  // A track crosses a street on a cell of both centre lines, so the tracks
  // the network's cell index holds on the street's cells are all there are.
  auto cells = [&](int xa, int ya, int xb, int yb) {
    for (int y = std::min(ya, yb); y <= std::max(ya, yb); ++y)
      for (int x = std::min(xa, xb); x <= std::max(xa, xb); ++x)
        for (CStrStrasse* t : StreetsIndexedAt(static_cast<short>(x), static_cast<short>(y))) {
          auto* track = static_cast<CStrSchienen*>(t);
          if (std::find(out->begin(), out->end(), track) == out->end()) out->push_back(track);
        }
  };
  // A street of one piece runs between its junctions' cells.
  const CStrJunction* a = street->GetStartJunction();
  const CStrJunction* b = street->GetEndJunction();
  if (a && b && street->GetNumber() == 1) {
    cells(a->GetXPos(), a->GetYPos(), b->GetXPos(), b->GetYPos());
    return;
  }
  for (CZorvaObject* o = street->GetHead(); o; o = o->GetNext()) {
    auto* p = static_cast<CStrStrassenTeil*>(o);
    cells(p->GetStartX(), p->GetStartY(), p->GetEndX(), p->GetEndY());
  }
}

void CStrSchJuncList::CheckStreet(CStrStrasse* street, const std::vector<CStrSchienen*>& tracks) {
  for (CStrSchienen* track : tracks) {
    bool redraw = false;
    for (int k = 0;; ++k) {
      CStrStrasse* hit = nullptr;
      CStrStrassenTeil* piece = nullptr;
      short x = 0, y = 0;
      if (!track->StrHitStr(street, &hit, &piece, x, y, k) || !piece) break;
      auto* trackPiece = static_cast<CStrSchStrTeil*>(piece);
      if (!trackPiece->HasCrossingFor(x, y)) {
        trackPiece->CreateExtraTeilAt(x, y, x, y, street->GetStreetType());
        redraw = true;
      } else if (!track->ShowsCrossingAt(x, y)) {
        // The street was drawn over the crossing since.
        redraw = true;
      }
    }
    if (!redraw) continue;
    Carries(track);
    track->RemoveFromIsoWelt(false);
    track->InsertIntoIsoWelt();
  }
}

void CStrSchJuncList::Carries(CStrSchienen* track) {
  if (m_pCheckedNet && std::find(m_Carrying.begin(), m_Carrying.end(), track) == m_Carrying.end())
    m_Carrying.push_back(track);
}

bool CStrSchJuncList::TracksUnchanged() {
  if (!TakeIndexChanges(&m_Changed, &m_Gone) || !m_Changed.empty() || !m_Gone.empty()) m_pCheckedNet = nullptr;
  return m_pCheckedNet != nullptr;
}

void CStrSchJuncList::FollowChanges(CStrJunctionList* streets) {
  const bool tracksSame = TracksUnchanged();
  const bool logComplete = streets->TakeIndexChanges(&m_Changed, &m_Gone);
  if (tracksSame && logComplete && streets == m_pCheckedNet) {
    // Only the streets the edits touched can have come onto or left a track.
    auto drop = [&](CStrStrasse* s) {
      const auto it = std::find(m_OverTracks.begin(), m_OverTracks.end(), s);
      if (it != m_OverTracks.end()) m_OverTracks.erase(it);
    };
    for (CStrStrasse* s : m_Gone) drop(s);
    for (CStrStrasse* s : m_Changed) {
      drop(s);
      TracksNear(s, &m_Near);
      if (!m_Near.empty()) m_OverTracks.push_back(s);
    }
    return;
  }
  m_pCheckedNet = streets;
  m_OverTracks.clear();
  for (CZorvaObject* o = streets->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* s = j->GetStreetByNR(i);
      if (s->GetStartJunction() != j) continue;
      TracksNear(s, &m_Near);
      if (!m_Near.empty()) m_OverTracks.push_back(s);
    }
  }
  m_Carrying.clear();
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      auto* t = static_cast<CStrSchienen*>(j->GetStreetByNR(i));
      if (t->GetStartJunction() != j) continue;
      for (CZorvaObject* p = t->GetHead(); p; p = p->GetNext())
        if (static_cast<CStrStrassenTeil*>(p)->GetExtraTeilList()) {
          Carries(t);
          break;
        }
    }
  }
}

int CStrSchJuncList::CheckForTrainCrossing(CStrJunction* start, CStrJunction* end, CStrStrasse* street, int*) {
  const char* missing = !start ? "pStartJunc==NULL" : !end ? "pEndJunc==NULL" : !street ? "pNewStreet==NULL" : nullptr;
  if (missing) {
    QNO_ERROR(QNO_SEV_ERROR, "Parameter Check Error: %s ", missing);
    return 0;
  }
  // Tracks do not cross tracks at level crossings, nor streets of other kinds.
  if (street->GetStreetType().GetValue() >= 5) return 0;
  TracksNear(street, &m_Near);
  CheckStreet(street, m_Near);
  return 0;
}

int CStrSchJuncList::CheckForTrainCrossings(CStrJunctionList* streets) {
  if (!streets || !GetHead()) return 0;
  // Every street of the network is checked; a street that runs over no
  // track's cell finds nothing, so only those over a track are looked at.
  FollowChanges(streets);
  for (size_t i = 0; i < m_OverTracks.size(); ++i) {
    CStrStrasse* s = m_OverTracks[i];
    int found = 0;
    CheckForTrainCrossing(s->GetStartJunction(), s->GetStartJunction(), s, &found);
  }
  return 0;
}

int CStrSchJuncList::UpdateChanges() {
  if (!TracksUnchanged()) return RemoveIsolatedGrdCrossings();
  // Only tracks with level crossings can lose one.
  for (size_t i = 0; i < m_Carrying.size(); ++i) {
    CStrSchienen* track = m_Carrying[i];
    if (!track->RemoveIsolatedGrdCrossings()) continue;
    track->RemoveFromIsoWelt(false);
    track->InsertIntoIsoWelt();
  }
  return 0;
}

bool CStrSchJuncList::HasGrdCrossingAt(short x, short y) {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext())
    if (static_cast<CStrSchJunction*>(o)->HasGrdCrossingAt(x, y)) return true;
  return false;
}

int CStrSchJuncList::RemoveIsolatedGrdCrossings() {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) static_cast<CStrSchJunction*>(o)->RemoveIsolatedGrdCrossings();
  return 0;
}

int CStrSchJuncList::SetTrainStopAt(short x, short y) {
  if (!m_pIsoWelt || !IsoInMap(x, y)) return 1;
  const auto ux = static_cast<unsigned short>(x), uy = static_cast<unsigned short>(y);
  if (m_pIsoWelt->GetTypeAt(ux, uy, ISO_LAYER_GROUND) != OBJ_RAIL_PIECE) return 1;
  CIsoObjGroup* group = m_pIsoWelt->GetGroupAt(ux, uy, ISO_LAYER_GROUND);
  if (!group || group->GetResID() != CStrSchienen::kStraightResID) return 1;
  const int r = group->GetRichtung();
  const int ox = group->GetStartPosX(), oy = group->GetStartPosY();
  const int nx = ox + (r == 0 ? 1 : r == 2 ? -1 : 0);
  const int ny = oy + (r == 1 ? 1 : r == 3 ? -1 : 0);
  if (!IsoInMap(nx, ny) ||
      m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(nx), static_cast<unsigned short>(ny), ISO_LAYER_GROUND) !=
          OBJ_RAIL_PIECE)
    return 1;
  CIsoHost* host = m_pIsoWelt->GetHost();
  CWorldObj* stop = host ? host->CreateObjectAt(OBJ_STREETSIDE, kTrainStopResID, CIsoRichtung(r), ox, oy) : nullptr;
  if (!stop) return 1;
  if (m_pIsoWelt->SetIsoGroupTurnedAt(static_cast<unsigned short>(ox), static_cast<unsigned short>(oy),
                                      ISO_LAYER_UPPER, kTrainStopResID, stop, CIsoRichtung(r)) == 0)
    return 0;
  host->DestroyObject(stop, 1);
  return 1;
}

