#pragma once
// The join marking's per-tile records and the state of one direction's
// walk, shared by the files of the marking.
#include <cstdint>

#include "network/str_strasse.h"
#include "ui/user_int.h"

struct CUserInt::SelStreetTiles {
  SelRichtung rec[128][128][4];
  int16_t meetX[128][128][4];
  int16_t meetY[128][128][4];
  // The tile types of the computation, street and crossing groups folded
  // into pieces and junctions.
  uint8_t type[128][128];
  // Empty land (ground, nothing above it) at the tile.
  bool empty[128][128];
  // The two tables above hold the map as the computation found it; the
  // lookups answer from them while it runs.
  bool cached = false;
  int storedX = -1, storedY = -1;
  unsigned char flag = 0;
};

// The state of one direction's walk.
struct CUserInt::SelWalk {
  int x = 0, y = 0, dir = 0;
  int lookAhead = 0;
  bool track = false;    // the track tool walks
  bool crossed = false;  // the walk crossed a track (or, for tracks, a street)
  bool skipNext = false;
  SelRichtung rec{};
  int mx = -1, my = -1;
};

// The street's direction at a tile (0 +x, 1 -y, 2 -x, 3 +y), -1 on a bend
// or off the street.
inline int SelStraightRichtung(CStrStrasse* s, int x, int y) {
  if (!s || s->PointIsBend(static_cast<short>(x), static_cast<short>(y))) return -1;
  unsigned char found = 0;
  int first = 0;
  bool bend = false;
  const int r = s->GetRichtung(x, y, found, first, bend);
  return found && !bend && r >= 0 && r <= 3 ? r : -1;
}

// A street of direction r runs across direction d: r even runs along x,
// d even moves along y.
inline bool SelRunsAcross(int r, int d) { return ((r + d) & 1) == 0; }
