#pragma once
// The street network's pieces in model units (p along the piece's x, q along
// its y, the unturned footprint of width x depth cells): where each arm meets
// the piece, how wide its carriageway is, where its lanes run, and the lane
// graph the vehicles drive along.
#include <vector>

#include "manifest.h"

namespace zorgen {

struct NetVec {
  double p = 0, q = 0;
};
inline NetVec operator+(NetVec a, NetVec b) { return {a.p + b.p, a.q + b.q}; }
inline NetVec operator-(NetVec a, NetVec b) { return {a.p - b.p, a.q - b.q}; }
inline NetVec operator*(NetVec a, double k) { return {a.p * k, a.q * k}; }
// To the right of a heading, seen from above the map (right-hand traffic
// keeps to this side).
inline NetVec RightOf(NetVec h) { return {-h.q, h.p}; }

// A lane of an arm: its distance from the arm's middle and its kind.
struct NetLane {
  double offset;
  uint8_t kind;  // 1 outer lane, 2 inner lane
};

struct NetArmGeo {
  int side;       // 0 +x, 1 +y, 2 -x, 3 -y
  uint8_t kind;   // NetArm
  NetVec centre;  // where the arm's middle meets the edge
  NetVec inward;  // unit step into the piece
  double half;    // half the carriageway
  double kerb;    // pavement width beside it
  std::vector<NetLane> in, out;  // lanes arriving (right of inward) and leaving (left)
};

// Carriageway half width and pavement width of an arm kind.
double NetHalfWidth(uint8_t arm);
double NetKerbWidth(uint8_t arm);

// The arms of a piece. A straight four-lane group and its bridge parts are
// laid once per cell along the street, so their arms stand one cell apart.
std::vector<NetArmGeo> NetArms(const NetPieceArt& n);
// Along p as far as the piece's lanes reach: 1 for the four-lane groups laid
// once per cell, else the width.
double NetLength(const NetPieceArt& n);
// Ends, junctions: pieces whose cells join lanes of several streets.
bool NetIsJunction(const NetPieceArt& n);

struct NetCell {
  NetVec at;
  uint8_t kind = 0;
  std::vector<int> successors;
  int predecessor = -1;
};

// The lane graph of a piece; `spacing` is the wanted distance between cells
// in cell units. Entries (no predecessor) and exits (no successor) lie on the
// piece's edges.
std::vector<NetCell> NetLaneGraph(const NetPieceArt& n, double spacing);

}  // namespace zorgen
