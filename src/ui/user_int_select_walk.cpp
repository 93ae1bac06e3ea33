// The join marking's directions: from every joinable tile, a short walk in
// each of the four directions decides whether a new street may leave there
// and what it meets; the pruning passes then drop directions whose meeting
// tile does not answer, and directions of two-tile-wide streets and tracks
// that the tile beside does not share.
#include <cstdlib>
#include <cstring>

#include "iso/iso_welt.h"
#include "network/rail_junction_list.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "ui/user_int.h"
#include "ui/user_int_select.h"

namespace {

constexpr uint8_t kJoinable = 1;
constexpr uint8_t kRailCrossOk = 3;
constexpr uint8_t kStreetCrossOk = 5;
constexpr uint8_t kBendOversize = 15;
constexpr uint8_t kRemovedAfterCheck = 18;
constexpr uint8_t kJoinPlain = 7;
constexpr uint8_t kJoinAcross = 6;

int Opposite(int d) { return (d + 2) & 3; }

// The direction (0 +x, 1 -y, 2 -x, 3 +y) in which a junction's street
// leaves it; -1 when it has none.
int LeavingRichtung(CStrJunction* j, CStrStrasse* s) {
  short mx = 0, my = 0;
  if (!j || !s || s->CalcMAtPos(j, &mx, &my) != 0) return -1;
  if (mx > 0) return 0;
  if (mx < 0) return 2;
  if (my < 0) return 1;
  if (my > 0) return 3;
  return -1;
}

bool IsEnd(CStrJunction* j) { return j && j->GetAnzLinkedStreets() == 1; }

}  // namespace

void CUserInt::SelRichtungFirstWord(int x, int y) {
  SelStreetTiles& t = *m_pSelTiles;
  const int type = t.type[x][y];
  const auto sx = static_cast<short>(x), sy = static_cast<short>(y);
  uint8_t word = SEL_KEINE;
  if (type == OBJ_STREET_PIECE || type == OBJ_RAIL_PIECE) {
    CStrStrasse* s = type == OBJ_STREET_PIECE ? GetStrasseAt(x, y) : GetSchienenAt(x, y);
    if (!s) return;
    word = SEL_GERADE;
    if (s->PointIsBend(sx, sy)) {
      word = SEL_KURVE;
      if (type == OBJ_RAIL_PIECE && s->PointIsBendOverSize(sx, sy)) {
        m_TileMask[x][y] = kBendOversize;
        return;
      }
    }
    bool deadEnd = false;
    if ((s->GetStreetType() == STRASSE_VIERSPURIG || s->GetStreetType() == STRASSE_SCHIENE) &&
        s->PointBeforJunction(sx, sy, deadEnd) &&
        (s->PointBeforEndStueckDAndStreetLong(sx, sy, false) || s->PointBeforEndStueckSchienenAndRailLong(sx, sy, false)))
      word = SEL_ENDSTUECK;
  } else {
    CStrJunction* j = type == OBJ_CROSSING ? GetJunctionAt(x, y) : GetSchJunctionAt(x, y);
    if (!j) return;
    word = j->GetAnzLinkedStreets() == 1 ? SEL_ENDSTUECK : SEL_KREUZUNG;
  }
  for (int d = 0; d < 4; ++d) t.rec[x][y][d].from = word;
  m_TileMask2[x][y] = 0;
}

void CUserInt::CheckSelStreetRichtung() {
  SelStreetTiles& t = *m_pSelTiles;
  for (int x = 0; x < 128; ++x)
    for (int y = 0; y < 128; ++y)
      if (m_TileMask[x][y] == kJoinable) SelRichtungFirstWord(x, y);
  const bool track = m_SelType == STRASSE_SCHIENE;
  for (int x = 0; x < 128; ++x)
    for (int y = 0; y < 128; ++y) {
      if (m_TileMask[x][y] != kJoinable) continue;
      for (int d = 0; d < 4; ++d) {
        const bool ok = SelWalkDirection(x, y, d, track);
        if (ok) {
          m_TileMask2[x][y] |= static_cast<unsigned char>(1u << d);
        } else {
          m_TileMask2[x][y] &= static_cast<unsigned char>(~(1u << d));
          t.rec[x][y][d].to = SEL_KEINE;
        }
      }
    }
}

bool CUserInt::CheckDStreetForLength(CStrStrasse* street, CStrJunction* junction, int x, int y, int dir) const {
  const int r = LeavingRichtung(junction, street);
  if (r < 0 || SelRunsAcross(r, dir)) return true;
  const int ax = (r == 0) - (r == 2), ay = (r == 3) - (r == 1);
  const int tx = x + 2 * ax, ty = y + 2 * ay;
  return InWorld(tx, ty) && SelTileType(tx, ty) != OBJ_CROSSING;
}

bool CUserInt::CheckForKurvenOverSizeFree(CStrStrasse* street, CStrJunction* junction, int x, int y, int dir) const {
  const int r = LeavingRichtung(junction, street);
  if (r < 0 || SelRunsAcross(r, dir)) return false;
  const int ax = (r == 0) - (r == 2), ay = (r == 3) - (r == 1);
  const int tx = x + 2 * ax + kDirDx[dir], ty = y + 2 * ay + kDirDy[dir];
  return SelEmptyLand(tx, ty);
}

bool CUserInt::CheckSelSchienenKurveFreeTeil(int x1, int y1, int x2, int y2, int dir) const {
  if (!m_pIsoWelt || !InWorld(x1, y1)) return false;
  if (m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(x1), static_cast<unsigned short>(y1), ISO_LAYER_GROUND) == 9)
    return false;
  CStrStrasse* s = GetSchienenAt(x1, y1);
  if (!s) return false;
  int sx = x1 - x2, sy = y1 - y2;
  if (s->PointIsBendOuterPoint(static_cast<short>(x1), static_cast<short>(y1))) {
    sx = -sx;
    sy = -sy;
  }
  const int tx = x1 + 2 * sx + kDirDx[dir], ty = y1 + 2 * sy + kDirDy[dir];
  return InWorld(tx, ty) && m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(tx), static_cast<unsigned short>(ty),
                                                  ISO_LAYER_GROUND) == OBJ_GROUND;
}

// The first step onto a tile that is not empty land: the networks of the
// source and of the neighbour decide. True to go on (over a crossing),
// false to end the walk; `w.rec.to` is set when it ends as a join.
bool CUserInt::SelFirstStep(SelWalk& w, int nx, int ny) {
  SelStreetTiles& t = *m_pSelTiles;
  const int d = w.dir;
  auto junctionAt = [&](int x, int y) { return w.track ? GetSchJunctionAt(x, y) : GetJunctionAt(x, y); };
  auto pieceAt = [&](int x, int y) { return w.track ? GetSchienenAt(x, y) : GetStrasseAt(x, y); };
  CStrJunction* jS = junctionAt(w.x, w.y);
  CStrJunction* jN = junctionAt(nx, ny);
  auto join = [&]() {
    w.rec.to = t.rec[nx][ny][d].from ? t.rec[nx][ny][d].from : static_cast<uint8_t>(SEL_ENDSTUECK);
    w.mx = nx;
    w.my = ny;
    return false;
  };
  auto refuse = [&]() {
    w.rec.to = SEL_KEINE;
    w.mx = w.my = -1;
    return false;
  };
  if (jS && jS == jN) return refuse();
  const uint8_t codeN = m_TileMask[nx][ny];
  if (IsEnd(jS)) {
    const int rS = LeavingRichtung(jS, jS->GetStreetByNR(0));
    if (IsEnd(jN)) return join();
    if (jN) return rS >= 0 && SelRunsAcross(rS, d) ? join() : refuse();
    CStrStrasse* sN = pieceAt(nx, ny);
    if (sN && codeN == kJoinable) {
      const bool bendN = sN->PointIsBend(static_cast<short>(nx), static_cast<short>(ny));
      const int rN = SelStraightRichtung(sN, nx, ny);
      if (!bendN) return rS >= 0 && rN >= 0 && ((rS ^ rN) & 1) ? join() : refuse();
      return rS >= 0 && SelRunsAcross(rS, d) ? join() : refuse();
    }
    const uint8_t crossCode = w.track ? kStreetCrossOk : kRailCrossOk;
    if (codeN == crossCode && !w.crossed) {
      if (rS < 0 || SelRunsAcross(rS, d)) return refuse();
      CStrStrasse* crossedStreet = w.track ? GetStrasseAt(nx, ny) : nullptr;
      if (w.track && !crossedStreet) return refuse();
      w.lookAhead += w.track && crossedStreet->GetStreetType() == STRASSE_VIERSPURIG ? 4 : 3;
      w.crossed = true;
      w.skipNext = true;
      return true;
    }
    return refuse();
  }
  if (jS) {
    if (!IsEnd(jN)) return refuse();
    const int rN = LeavingRichtung(jN, jN->GetStreetByNR(0));
    return rN >= 0 && SelRunsAcross(rN, d) ? join() : refuse();
  }
  CStrStrasse* sS = pieceAt(w.x, w.y);
  if (sS && IsEnd(jN) && m_TileMask[w.x][w.y] == kJoinable) {
    const bool bendS = sS->PointIsBend(static_cast<short>(w.x), static_cast<short>(w.y));
    const int rN = LeavingRichtung(jN, jN->GetStreetByNR(0));
    const int rS = SelStraightRichtung(sS, w.x, w.y);
    if (!bendS && rS >= 0 && rN >= 0 && ((rS ^ rN) & 1)) return join();
    if (bendS && rN >= 0 && SelRunsAcross(rN, d)) return join();
  }
  return refuse();
}

bool CUserInt::SelWalkDirection(int x, int y, int dir, bool track) {
  SelStreetTiles& t = *m_pSelTiles;
  SelWalk w;
  w.x = x;
  w.y = y;
  w.dir = dir;
  w.track = track;
  w.rec = t.rec[x][y][dir];
  w.rec.to = SEL_KEINE;
  const int T = m_SelType;
  const bool asSingle = T >= STRASSE_1 && T <= STRASSE_EINBAHN;
  w.lookAhead = asSingle ? 2 : 3;
  const int dx = kDirDx[dir], dy = kDirDy[dir];
  const int typeS = t.type[x][y];
  const int nx = x + dx, ny = y + dy;
  bool ok = true;

  if (!track) {
    if (typeS == OBJ_STREET_PIECE && (T == STRASSE_1 || T == STRASSE_2)) {
      CStrJunction* jN = GetJunctionAt(nx, ny);
      CStrJunction* rN = GetSchJunctionAt(nx, ny);
      if ((IsEnd(jN) && jN->GetStreetByNR(0)->GetStreetType() == STRASSE_VIERSPURIG) || IsEnd(rN)) ok = false;
    }
  }
  // From an end junction of a four-lane street or a track, a direction
  // across its street goes one tile only; along it the track needs room
  // for its bend, and either way the street must be long enough.
  CStrJunction* end = nullptr;
  if (!track && ok && T == STRASSE_VIERSPURIG && typeS == OBJ_CROSSING) end = GetJunctionAt(x, y);
  if (track && T == STRASSE_SCHIENE && typeS == OBJ_RAIL_JUNCTION) end = GetSchJunctionAt(x, y);
  if (IsEnd(end)) {
    CStrStrasse* s = end->GetStreetByNR(0);
    const int r = LeavingRichtung(end, s);
    if (r >= 0 && SelRunsAcross(r, dir)) {
      w.lookAhead = 1;
      w.rec.to = SEL_LEER;
      w.mx = nx;
      w.my = ny;
    } else if (track && !CheckForKurvenOverSizeFree(s, end, x, y, dir)) {
      ok = false;
    }
    if (!CheckDStreetForLength(s, end, x, y, dir)) ok = false;
  }

  CStrStrasse* sourceTrack = track && typeS == OBJ_RAIL_PIECE ? GetSchienenAt(x, y) : nullptr;
  // The other tiles of the source's own junction group belong to the
  // source: the walk's steps count from the first tile beyond them.
  CStrJunction* own = track ? GetSchJunctionAt(x, y) : GetJunctionAt(x, y);
  int groupTiles = 0;
  for (int step = 1; ok && step <= w.lookAhead + groupTiles; ++step) {
    const int qx = x + step * dx, qy = y + step * dy;
    if (!InWorld(qx, qy) || !m_pIsoWelt->GetIsoInfo(qx, qy)) {
      ok = false;
      break;
    }
    if (own && step == groupTiles + 1 && (track ? GetSchJunctionAt(qx, qy) : GetJunctionAt(qx, qy)) == own) {
      ++groupTiles;
      continue;
    }
    const int k = step - groupTiles;
    if (w.skipNext) {
      w.skipNext = false;
      continue;
    }
    if (sourceTrack && t.type[qx][qy] == OBJ_RAIL_PIECE) {
      CStrStrasse* other = GetSchienenAt(qx, qy);
      if (StreetsAreParallel(sourceTrack, x, y, other, qx, qy) ||
          sourceTrack->PointIsBend(static_cast<short>(x), static_cast<short>(y)) ||
          (other && other->PointIsBend(static_cast<short>(qx), static_cast<short>(qy)))) {
        ok = false;
        break;
      }
    }
    const bool empty = SelEmptyLand(qx, qy);
    if (k == 1 && !empty) {
      if (!SelFirstStep(w, qx, qy)) {
        ok = w.rec.to != SEL_KEINE;
        break;
      }
      continue;
    }
    if (empty) {
      if (k >= 2) {
        w.rec.to = SEL_LEER;
        w.mx = qx;
        w.my = qy;
      }
      continue;
    }
    const uint8_t code = m_TileMask[qx][qy];
    const uint8_t crossCode = track ? kStreetCrossOk : kRailCrossOk;
    if (code == crossCode && !w.crossed && (!track || typeS == OBJ_RAIL_JUNCTION)) {
      if (track) {
        CStrStrasse* street = GetStrasseAt(qx, qy);
        CStrJunction* jS = GetSchJunctionAt(x, y);
        CStrStrasse* own = jS ? jS->GetStreetByNR(0) : nullptr;
        if (!street || StreetIsQuerRichtung(own, x, y, dir)) {
          ok = false;
          break;
        }
        const bool four = street->GetStreetType() == STRASSE_VIERSPURIG;
        w.lookAhead += four ? (k == 2 ? 3 : 4) : (k == 2 ? 2 : 3);
      } else {
        w.lookAhead += k == 2 && T == STRASSE_VIERSPURIG ? 2 : 3;
      }
      w.skipNext = true;
      w.crossed = true;
      continue;
    }
    if (code == kJoinable) {
      w.rec.to = t.rec[qx][qy][dir].from;
      w.mx = qx;
      w.my = qy;
      break;
    }
    ok = false;
  }
  if (ok && w.rec.to == SEL_KEINE) ok = false;
  SelRichtung& rec = t.rec[x][y][dir];
  rec.from = w.rec.from;
  rec.to = ok ? w.rec.to : static_cast<uint8_t>(SEL_KEINE);
  rec.join = w.crossed ? kJoinAcross : kJoinPlain;
  t.meetX[x][y][dir] = static_cast<int16_t>(ok ? w.mx : -1);
  t.meetY[x][y][dir] = static_cast<int16_t>(ok ? w.my : -1);
  return ok;
}

// ---- pruning ----

void CUserInt::SelDropDirection(int x, int y, int dir) {
  m_TileMask2[x][y] &= static_cast<unsigned char>(~(1u << dir));
  m_pSelTiles->rec[x][y][dir].to = SEL_KEINE;
}

bool CUserInt::SelMeetingAccepts(int x, int y, int dir) const {
  const int mx = m_pSelTiles->meetX[x][y][dir], my = m_pSelTiles->meetY[x][y][dir];
  if (!InWorld(mx, my)) return false;
  if (SelEmptyLand(mx, my)) return true;
  return m_TileMask[mx][my] == kJoinable && (m_TileMask2[mx][my] & (1u << Opposite(dir)));
}

void CUserInt::SelMarkEmptyAs18() {
  SelStreetTiles& t = *m_pSelTiles;
  for (int x = 0; x < 128; ++x)
    for (int y = 0; y < 128; ++y) {
      if (m_TileMask[x][y] != kJoinable || m_TileMask2[x][y] != 0) continue;
      m_TileMask[x][y] = kRemovedAfterCheck;
      std::memset(t.rec[x][y], 0, sizeof t.rec[x][y]);
    }
}

void CUserInt::CheckStreetRemoveBauABNotValid() {
  SelStreetTiles& t = *m_pSelTiles;
  for (int x = 0; x < 128; ++x)
    for (int y = 0; y < 128; ++y)
      for (int d = 0; d < 4; ++d) {
        const SelRichtung& r = t.rec[x][y][d];
        const bool examined = r.join == kJoinAcross || (r.from == SEL_ENDSTUECK && (m_TileMask2[x][y] & (1u << d)));
        if (examined && (m_TileMask2[x][y] & (1u << d)) && !SelMeetingAccepts(x, y, d)) SelDropDirection(x, y, d);
      }
  SelMarkEmptyAs18();
}

void CUserInt::CheckStreetRemoveWideNotValid(bool track) {
  SelStreetTiles& t = *m_pSelTiles;
  const uint8_t keepCode = track ? kStreetCrossOk : kRailCrossOk;
  for (int x = 0; x < 128; ++x)
    for (int y = 0; y < 128; ++y)
      if (m_TileMask[x][y] != kJoinable && m_TileMask[x][y] != keepCode) {
        m_TileMask2[x][y] = 0;
        std::memset(t.rec[x][y], 0, sizeof t.rec[x][y]);
      }
  for (int x = 0; x < 128; ++x)
    for (int y = 0; y < 128; ++y)
      for (int d = 0; d < 4; ++d)
        if (t.rec[x][y][d].join == kJoinAcross && (m_TileMask2[x][y] & (1u << d)) && !SelMeetingAccepts(x, y, d))
          SelDropDirection(x, y, d);
  const int pieceType = track ? OBJ_RAIL_PIECE : OBJ_STREET_PIECE;
  const int junctionType = track ? OBJ_RAIL_JUNCTION : OBJ_CROSSING;
  for (int x = 0; x < 128; ++x)
    for (int y = 0; y < 128; ++y) {
      const int type = t.type[x][y];
      if ((type != pieceType && type != junctionType) || m_TileMask[x][y] != kJoinable || !m_TileMask2[x][y]) continue;
      for (int d = 0; d < 4; ++d) {
        if (!(m_TileMask2[x][y] & (1u << d))) continue;
        const SelRichtung& r = t.rec[x][y][d];
        const int px = (d & 1) ? 0 : 1, py = (d & 1) ? 1 : 0;
        bool shared = false;
        for (int side : {-1, 1}) {
          const int sx = x + side * px, sy = y + side * py;
          if (!InWorld(sx, sy) || !(m_TileMask2[sx][sy] & (1u << d)) || m_TileMask[sx][sy] != kJoinable) continue;
          const SelRichtung& o = t.rec[sx][sy][d];
          if (o.from != r.from || o.to != r.to || SelStreetQuelleZielDif(sx, sy, d) != SelStreetQuelleZielDif(x, y, d))
            continue;
          if (r.from == SEL_KURVE) {
            CStrStrasse* s = track ? GetSchienenAt(x, y) : GetStrasseAt(x, y);
            if (!s || !s->IsSameGroup(static_cast<short>(x), static_cast<short>(y), static_cast<short>(sx),
                                      static_cast<short>(sy)))
              continue;
            if (track && !CheckSelSchienenKurveFreeTeil(x, y, sx, sy, d)) continue;
          }
          if (r.from == SEL_ENDSTUECK) {
            auto junctionOf = [&](int ax, int ay) -> CStrJunction* {
              if (t.type[ax][ay] == junctionType) return track ? GetSchJunctionAt(ax, ay) : GetJunctionAt(ax, ay);
              CStrStrasse* s = track ? GetSchienenAt(ax, ay) : GetStrasseAt(ax, ay);
              if (!s) return nullptr;
              CStrJunction* a = s->GetStartJunction();
              CStrJunction* b = s->GetEndJunction();
              const int da = a ? std::abs(a->GetXPos() - ax) + std::abs(a->GetYPos() - ay) : 1 << 20;
              const int db = b ? std::abs(b->GetXPos() - ax) + std::abs(b->GetYPos() - ay) : 1 << 20;
              return da <= db ? a : b;
            };
            if (junctionOf(x, y) != junctionOf(sx, sy)) continue;
            if (r.to == SEL_ENDSTUECK) {
              const int m1x = t.meetX[x][y][d], m1y = t.meetY[x][y][d];
              const int m2x = t.meetX[sx][sy][d], m2y = t.meetY[sx][sy][d];
              if (!InWorld(m1x, m1y) || !InWorld(m2x, m2y) || junctionOf(m1x, m1y) != junctionOf(m2x, m2y)) continue;
            }
          }
          shared = true;
          break;
        }
        if (!shared) {
          if (r.from == SEL_KURVE) {
            const int mx = t.meetX[x][y][d], my = t.meetY[x][y][d];
            if (InWorld(mx, my)) SelDropDirection(mx, my, Opposite(d));
          }
          SelDropDirection(x, y, d);
        }
      }
    }
  SelMarkEmptyAs18();
}

// ---- agreement with the network's own drag checks ----

void CUserInt::CheckSelDragsValid() {
  SelStreetTiles& t = *m_pSelTiles;
  CStrSchJuncList* rails = GetRailNet();
  const int T = m_SelType;
  const bool track = T == STRASSE_SCHIENE;
  const bool wide = T == STRASSE_VIERSPURIG || track;
  if (!m_pStreetNet || (track && !rails)) return;
  const CStrassenType type = static_cast<TStrassenType>(T);
  auto buildable = [&](int x1, int y1, int x2, int y2) {
    if (!InWorld(x1, y1) || !InWorld(x2, y2)) return false;
    const auto a = static_cast<short>(x1), b = static_cast<short>(y1), c = static_cast<short>(x2),
               e = static_cast<short>(y2);
    if (track) return rails->CheckTrackDrag(a, b, c, e) == 0;
    if (m_pStreetNet->CheckDrag(a, b, c, e, type) != 0) return false;
    return !rails || rails->CheckStreetDrag(a, b, c, e, type) == 0;
  };
  for (int x = 0; x < 128; ++x)
    for (int y = 0; y < 128; ++y) {
      if (m_TileMask[x][y] != kJoinable || !m_TileMask2[x][y]) continue;
      for (int d = 0; d < 4; ++d) {
        if (!(m_TileMask2[x][y] & (1u << d))) continue;
        // A street's straight piece's side onto open land, with nothing
        // crossed, is the plain case that the walk itself settles; every
        // other arrow (from a junction, a bend or an end piece, onto the
        // network, across a track, or any track's) is asked of the networks.
        const SelRichtung& r = t.rec[x][y][d];
        if (!track && r.from == SEL_GERADE && r.to == SEL_LEER && r.join == kJoinPlain) continue;
        const int mx = t.meetX[x][y][d], my = t.meetY[x][y][d];
        bool ok = buildable(x, y, mx, my);
        // A two-tile-wide drag is laid from its first column; this tile may
        // be the second.
        if (!ok && wide) {
          const int px = (d & 1) ? 0 : 1, py = (d & 1) ? 1 : 0;
          ok = buildable(x - px, y - py, mx - px, my - py);
        }
        if (!ok) SelDropDirection(x, y, d);
      }
    }
  // A two-tile-wide direction dropped on one tile goes on its partner too.
  if (wide && !m_StaticCity) CheckStreetRemoveWideNotValid(track);
  SelMarkEmptyAs18();
}
