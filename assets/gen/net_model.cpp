#include "gen/net_model.h"

#include <algorithm>
#include <cmath>

namespace zorgen {

double NetHalfWidth(uint8_t arm) {
  switch (arm) {
    case ARM_ONEWAY: return 0.2;
    case ARM_FOURLANE: return 0.86;
    default: return 0.24;
  }
}

double NetKerbWidth(uint8_t arm) { return arm == ARM_FOURLANE ? 0.11 : 0.12; }

double NetLength(const NetPieceArt& n) {
  if (n.shape == NetShape::Rail && n.variant == 0) return 1.0;
  const bool alongCells = n.group && (n.shape == NetShape::Bridge || (n.shape == NetShape::Road && n.arms[0] &&
                                                                       n.arms[2] && !n.arms[1] && !n.arms[3]));
  return alongCells ? 1.0 : n.width;
}

bool NetIsJunction(const NetPieceArt& n) {
  if (n.shape == NetShape::Rail) return n.variant == 2;
  if (n.shape != NetShape::Road) return false;
  int arms = 0;
  for (uint8_t a : n.arms) arms += a != ARM_NONE;
  return arms != 2;
}

namespace {

// Where the track meets the edges of a rail piece or a level crossing, as
// (side, p, q): the same lines the pictures draw the track on.
struct RailEnd {
  int side;
  double p, q;
};

std::vector<RailEnd> RailEnds(const NetPieceArt& n) {
  const double W = NetLength(n), D = n.depth;
  if (n.shape == NetShape::LevelCrossing) return {{0, W, D / 2}, {2, 0, D / 2}};
  if (n.shape != NetShape::Rail) return {};
  switch (n.variant) {
    case 1: return {{0, W, 1}, {1, 1, D}};             // curve from +x to +y
    case 2: return {{0, W, 1}, {1, 2, D}, {2, 0, 1}};  // T junction opening to +y
    case 3: return {{2, 0, D / 2}};                    // end, the track leaves towards -x
    default: return {{0, W, D / 2}, {2, 0, D / 2}};
  }
}

// One track each way, close either side of the track's middle.
constexpr double kRailLane = 0.08;

}  // namespace

std::vector<NetArmGeo> NetArms(const NetPieceArt& n) {
  std::vector<NetArmGeo> out;
  for (const RailEnd& e : RailEnds(n)) {
    NetArmGeo a;
    a.side = e.side;
    a.kind = ARM_RAIL;
    a.centre = {e.p, e.q};
    a.inward = e.side == 0 ? NetVec{-1, 0} : e.side == 1 ? NetVec{0, -1} : e.side == 2 ? NetVec{1, 0} : NetVec{0, 1};
    a.half = kRailLane;
    a.kerb = 0;
    a.in = {{kRailLane, 1}};
    a.out = {{kRailLane, 1}};
    out.push_back(a);
  }
  const double W = NetLength(n), D = n.depth;
  for (int side = 0; side < 4; ++side) {
    const uint8_t kind = n.arms[side];
    if (kind == ARM_NONE) continue;
    NetArmGeo a;
    a.side = side;
    a.kind = kind;
    a.half = NetHalfWidth(kind);
    a.kerb = NetKerbWidth(kind);
    // Across the side: a four-lane arm takes the whole side of its group, a
    // one-tile street the first cell (the second for the mirrored variant).
    const double across = side % 2 ? W : D;
    const double mid = kind == ARM_FOURLANE || across < 2 ? across / 2 : n.variant == 1 ? 1.5 : 0.5;
    switch (side) {
      case 0: a.centre = {W, mid}, a.inward = {-1, 0}; break;
      case 1: a.centre = {mid, D}, a.inward = {0, -1}; break;
      case 2: a.centre = {0, mid}, a.inward = {1, 0}; break;
      default: a.centre = {mid, 0}, a.inward = {0, 1}; break;
    }
    switch (kind) {
      case ARM_FOURLANE:
        a.in = {{0.27, 2}, {0.68, 1}};
        a.out = {{0.27, 2}, {0.68, 1}};
        break;
      case ARM_ONEWAY:
        // Which way a one-way street runs is the street's: a junction offers
        // both, side by side, and the street links the one that fits.
        a.in = {{0.05, 1}};
        a.out = {{0.05, 1}};
        break;
      default:
        a.in = {{0.12, 1}};
        a.out = {{0.12, 1}};
        break;
    }
    out.push_back(a);
  }
  // A straight one-way piece runs in the direction it is placed: in at -x,
  // out at +x. A bend does not know its street's direction and offers both.
  if (!NetIsJunction(n) && out.size() == 2 && out[0].kind == ARM_ONEWAY && out[1].side == 2) {
    out[0].in.clear(), out[0].out = {{0, 1}};
    out[1].out.clear(), out[1].in = {{0, 1}};
  }
  return out;
}

namespace {

NetVec Bezier(NetVec a, NetVec b, NetVec c, NetVec d, double t) {
  const double u = 1 - t;
  return a * (u * u * u) + b * (3 * u * u * t) + c * (3 * u * t * t) + d * (t * t * t);
}

double Length(NetVec v) { return std::hypot(v.p, v.q); }

}  // namespace

std::vector<NetCell> NetLaneGraph(const NetPieceArt& n, double spacing) {
  const std::vector<NetArmGeo> arms = NetArms(n);
  const bool junction = NetIsJunction(n);
  std::vector<NetCell> cells;
  struct End {
    int cell;
    NetVec heading;
    uint8_t kind;
  };
  // The edge cells: entries first, then exits, arm by arm.
  std::vector<std::vector<End>> entries(arms.size()), exits(arms.size());
  for (size_t i = 0; i < arms.size(); ++i)
    for (const NetLane& l : arms[i].in) {
      cells.push_back({arms[i].centre + RightOf(arms[i].inward) * l.offset, junction ? uint8_t{0} : l.kind, {}, -1});
      entries[i].push_back({static_cast<int>(cells.size()) - 1, arms[i].inward, l.kind});
    }
  for (size_t i = 0; i < arms.size(); ++i)
    for (const NetLane& l : arms[i].out) {
      cells.push_back({arms[i].centre - RightOf(arms[i].inward) * l.offset, junction ? uint8_t{0} : l.kind, {}, -1});
      exits[i].push_back({static_cast<int>(cells.size()) - 1, arms[i].inward * -1.0, l.kind});
    }
  auto path = [&](const End& from, const End& to, bool turnBack) {
    const NetVec a = cells[static_cast<size_t>(from.cell)].at, d = cells[static_cast<size_t>(to.cell)].at;
    const double gap = Length(d - a);
    // A turn back into the same arm swings out into the piece; other paths
    // keep close to circular arcs.
    const double reach = turnBack ? 0.55 + gap * 0.5 : gap * 0.4;
    const NetVec b = a + from.heading * reach, c = d - to.heading * reach;
    // Cells stand at equal distances along the curve.
    constexpr int SAMPLES = 64;
    std::vector<NetVec> points(SAMPLES + 1);
    std::vector<double> along(SAMPLES + 1, 0.0);
    for (int i = 0; i <= SAMPLES; ++i) {
      points[static_cast<size_t>(i)] = Bezier(a, b, c, d, static_cast<double>(i) / SAMPLES);
      if (i) along[static_cast<size_t>(i)] = along[static_cast<size_t>(i) - 1] + Length(points[static_cast<size_t>(i)] - points[static_cast<size_t>(i) - 1]);
    }
    const double len = along.back();
    const int segments = std::max(junction ? 2 : 1, static_cast<int>(std::lround(len / spacing)));
    auto at = [&](double distance) {
      size_t i = 1;
      while (i < along.size() - 1 && along[i] < distance) ++i;
      const double span = along[i] - along[i - 1];
      const double t = span > 0 ? (distance - along[i - 1]) / span : 0;
      return points[i - 1] + (points[i] - points[i - 1]) * t;
    };
    int prev = from.cell;
    for (int i = 1; i < segments; ++i) {
      cells.push_back({at(len * i / segments), cells[static_cast<size_t>(from.cell)].kind, {}, prev});
      cells[static_cast<size_t>(prev)].successors.push_back(static_cast<int>(cells.size()) - 1);
      prev = static_cast<int>(cells.size()) - 1;
    }
    cells[static_cast<size_t>(prev)].successors.push_back(to.cell);
    if (cells[static_cast<size_t>(to.cell)].predecessor < 0) cells[static_cast<size_t>(to.cell)].predecessor = prev;
  };
  for (size_t i = 0; i < arms.size(); ++i) {
    for (size_t j = 0; j < arms.size(); ++j) {
      if (i == j && arms.size() > 1) continue;
      const auto& in = entries[i];
      const auto& out = exits[j];
      if (in.empty() || out.empty()) continue;
      // A level crossing carries the street and the track across each
      // other: no lane turns from one onto the other.
      if ((arms[i].kind == ARM_RAIL) != (arms[j].kind == ARM_RAIL)) continue;
      if (!junction || i == j) {
        // Lane by lane: streets, bends and the turn at an end.
        for (size_t k = 0; k < std::min(in.size(), out.size()); ++k) path(in[k], out[k], i == j);
        continue;
      }
      // Turning right keeps to the outer lanes, turning left to the inner
      // ones; straight on lane by lane.
      const NetVec leave = arms[j].inward * -1.0;
      const NetVec right = RightOf(arms[i].inward);
      const bool straight = std::abs(leave.p - arms[i].inward.p) + std::abs(leave.q - arms[i].inward.q) < 1e-9;
      const bool turnRight = std::abs(leave.p - right.p) + std::abs(leave.q - right.q) < 1e-9;
      auto pick = [&](const std::vector<End>& lanes, bool outer) -> const End& {
        return lanes.size() > 1 && outer ? lanes[1] : lanes[0];
      };
      if (straight && in.size() == out.size()) {
        for (size_t k = 0; k < in.size(); ++k) path(in[k], out[k], false);
      } else {
        path(pick(in, turnRight || straight), pick(out, turnRight || straight), false);
      }
    }
  }
  return cells;
}

}  // namespace zorgen
