// The pieces of the street network and the ids of their cells, sprites and
// micro-cell layouts, handed out in list order.
#include "manifest.h"

namespace zorgen {

namespace {

struct NetRow {
  uint32_t id;
  NetShape shape;
  uint8_t variant;
  uint8_t width, depth;
  bool group;
  uint8_t arms[4];
  uint8_t layers;
  bool vehicles;
};

constexpr uint8_t S = ARM_STREET, M = ARM_MAIN, O = ARM_ONEWAY, F = ARM_FOURLANE, _ = ARM_NONE;

std::vector<NetPieceArt> BuildNetPieces() {
  using N = NetShape;
  const NetRow rows[] = {
      // one-tile streets: straight along x, bend from +x to +y, end piece
      // whose street leaves towards -x
      {14549, N::Road, 0, 1, 1, false, {S, _, S, _}, 1, true},
      {14631, N::Road, 0, 1, 1, false, {S, S, _, _}, 1, true},
      {14551, N::Road, 0, 1, 1, false, {_, _, S, _}, 1, true},
      {1139, N::Road, 0, 1, 1, false, {M, _, M, _}, 1, true},
      {1297, N::Road, 0, 1, 1, false, {M, M, _, _}, 1, true},
      {1780, N::Road, 0, 1, 1, false, {_, _, M, _}, 1, true},
      {1156, N::Road, 0, 1, 1, false, {O, _, O, _}, 1, true},
      {1298, N::Road, 0, 1, 1, false, {O, O, _, _}, 1, true},
      {1821, N::Road, 0, 1, 1, false, {_, _, O, _}, 1, true},
      // junctions of one-tile streets; the T junctions open to -y
      {1616, N::Road, 0, 1, 1, false, {S, O, O, _}, 1, true},
      {1644, N::Road, 0, 1, 1, false, {O, S, O, _}, 1, true},
      {1657, N::Road, 0, 1, 1, false, {O, O, S, _}, 1, true},
      {1587, N::Road, 0, 1, 1, false, {S, S, O, _}, 1, true},
      {1630, N::Road, 0, 1, 1, false, {O, S, S, _}, 1, true},
      {1482, N::Road, 0, 1, 1, false, {S, S, S, _}, 1, true},
      {1601, N::Road, 0, 1, 1, false, {S, O, S, _}, 1, true},
      {1559, N::Road, 0, 1, 1, false, {O, O, O, _}, 1, true},
      {1503, N::Road, 0, 1, 1, false, {S, S, S, S}, 1, true},
      {1558, N::Road, 0, 1, 1, false, {O, O, O, O}, 1, true},
      {1678, N::Road, 0, 1, 1, false, {S, S, O, S}, 1, true},
      {1691, N::Road, 0, 1, 1, false, {S, O, S, S}, 1, true},
      {1705, N::Road, 0, 1, 1, false, {S, O, O, S}, 1, true},
      {1720, N::Road, 0, 1, 1, false, {O, S, O, S}, 1, true},
      {1734, N::Road, 0, 1, 1, false, {O, O, O, S}, 1, true},
      // the four-lane street: straight (also its crossing and T), bend, end
      {2455, N::Road, 0, 2, 2, true, {F, _, F, _}, 1, true},
      {2591, N::Road, 0, 2, 2, true, {F, F, _, _}, 1, true},
      {5520, N::Road, 0, 2, 2, true, {_, _, F, _}, 1, true},
      // junctions with four-lane streets
      {3134, N::Road, 0, 2, 2, true, {S, F, S, _}, 1, true},
      {3994, N::Road, 0, 2, 2, true, {F, F, F, _}, 1, true},
      {3311, N::Road, 0, 2, 2, true, {O, F, O, _}, 1, true},
      {3656, N::Road, 0, 2, 2, true, {O, F, _, F}, 1, true},
      {3488, N::Road, 0, 2, 2, true, {F, S, F, _}, 1, true},
      {7285, N::Road, 0, 2, 2, true, {F, S, F, S}, 1, true},
      {7325, N::Road, 0, 2, 2, true, {F, F, F, S}, 1, true},
      {7326, N::Road, 1, 2, 2, true, {F, F, F, S}, 1, true},
      {7380, N::Road, 0, 2, 2, true, {F, F, F, F}, 1, true},
      // bridges: heads and deck, one-tile and four-lane
      {42427, N::Bridge, 0, 1, 1, false, {S, _, S, _}, 2, true},
      {42426, N::Bridge, 1, 1, 1, false, {S, _, S, _}, 2, true},
      {42425, N::Bridge, 2, 1, 1, false, {S, _, S, _}, 2, true},
      {42458, N::Bridge, 0, 2, 2, true, {F, _, F, _}, 2, true},
      {42457, N::Bridge, 1, 2, 2, true, {F, _, F, _}, 2, true},
      {42441, N::Bridge, 2, 2, 2, true, {F, _, F, _}, 2, true},
      // level crossings
      {21493, N::LevelCrossing, 1, 3, 2, true, {_, S, _, S}, 2, true},
      {39079, N::LevelCrossing, 0, 4, 2, true, {_, F, _, F}, 2, true},
      // layers merged onto the street tile next to a junction at +x
      {12802, N::Light, 0, 1, 1, false, {_, _, _, _}, 1, false},
      {21308, N::StopLine, 1, 1, 1, false, {_, _, _, _}, 1, false},
      {26515, N::StopLine, 2, 1, 1, false, {_, _, _, _}, 1, false},
      {19482, N::PrioritySign, 0, 1, 1, false, {_, _, _, _}, 1, false},
      {19484, N::GiveWaySign, 0, 1, 1, false, {_, _, _, _}, 1, false},
      // bus lanes on the outer lanes of a four-lane street: along the cells,
      // first and last cell (of the near and the far half), and its bends
      {31243, N::BusLane, 0, 1, 1, false, {_, _, _, _}, 1, false},
      {31922, N::BusLane, 1, 1, 1, false, {_, _, _, _}, 1, false},
      {31923, N::BusLane, 3, 1, 1, false, {_, _, _, _}, 1, false},
      {31245, N::BusLane, 2, 1, 1, false, {_, _, _, _}, 1, false},
      {31251, N::BusLane, 4, 1, 1, false, {_, _, _, _}, 1, false},
      {44306, N::BusBend, 0, 2, 2, true, {F, F, _, _}, 1, false},
      // junctions with four-lane streets whose one-tile arms meet the other
      // cell of their side, laid where a turn moves the first one away from
      // the street
      {3135, N::Road, 1, 2, 2, true, {S, F, S, _}, 1, true},
      {3312, N::Road, 1, 2, 2, true, {O, F, O, _}, 1, true},
      {3657, N::Road, 1, 2, 2, true, {O, F, _, F}, 1, true},
      {3489, N::Road, 1, 2, 2, true, {F, S, F, _}, 1, true},
      {7286, N::Road, 1, 2, 2, true, {F, S, F, S}, 1, true},
      // the rail network: straight track, curve, T junction, end
      {18353, N::Rail, 0, 2, 2, true, {_, _, _, _}, 1, true},
      {18364, N::Rail, 1, 3, 3, true, {_, _, _, _}, 1, true},
      {21276, N::Rail, 2, 4, 3, true, {_, _, _, _}, 1, true},
      {19806, N::Rail, 3, 2, 2, true, {_, _, _, _}, 1, true},
  };
  std::vector<NetPieceArt> out;
  uint32_t tile = NET_PART_TILES_FIRST, sprite = NET_SPRITES_FIRST, layout = NET_LAYOUTS_FIRST;
  for (const NetRow& r : rows) {
    NetPieceArt n{r.id, r.shape, r.variant, r.width, r.depth, r.group, {r.arms[0], r.arms[1], r.arms[2], r.arms[3]},
                  r.layers, r.group ? tile : 0, sprite, r.vehicles ? layout : 0};
    // A piece that no longer fits into its block begins the next one.
    if (sprite + n.SpriteCount() > NET_SPRITES_END && sprite <= NET_SPRITES_END && sprite >= NET_SPRITES_FIRST) {
      sprite = NET_SPRITES_MORE_FIRST;
      n.firstSprite = sprite;
    } else if (sprite + n.SpriteCount() > NET_SPRITES_MORE_END && sprite < NET_SPRITES_MORE_END) {
      sprite = NET_SPRITES_RAIL_FIRST;
      n.firstSprite = sprite;
    }
    if (r.group) tile += static_cast<uint32_t>(n.Parts());
    sprite += n.SpriteCount();
    layout += n.LayoutCount();
    out.push_back(n);
  }
  return out;
}

}  // namespace

const std::vector<NetPieceArt>& NetPieces() {
  static const std::vector<NetPieceArt> pieces = BuildNetPieces();
  return pieces;
}

const NetPieceArt* FindNetPiece(uint32_t id) {
  for (const NetPieceArt& n : NetPieces())
    if (n.id == id) return &n;
  return nullptr;
}

}  // namespace zorgen
