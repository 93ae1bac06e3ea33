// The street network's lane layouts as the generated archives hold them:
// every layout is a well-formed graph whose entries and exits lie on the
// piece's edges, the same cells in every rotation; lanes run on the drawn
// carriageway; and neighbouring straight pieces meet lane for lane.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "framework/qno_resource.h"
#include "framework/qno_sprite.h"
#include "iso/iso_blob.h"
#include "manifest.h"
#include "support/test_support.h"

namespace {

constexpr int YD[2] = {23, 11};

class StreetArt : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"ZORVANTA", "BSOUNDS", "UPDATE"}) {
      char path[1024];
      QnoMakeValidPathname((zortest::BinaryDir() + "/gamedata").c_str(), name, ".GLA", path, sizeof path);
      ASSERT_EQ(m.AddWadFile(path), 0) << path;
    }
  }
  // The layout a placed piece takes for a zoom index and drawing rotation.
  MicroLayoutBlob LayoutOf(const zorgen::NetPieceArt& n, int zoom, int rotation) {
    uint32_t id;
    if (n.group) {
      id = IsoGroupBlob::FromResource(&m, n.id).MicroLayoutId(zoom, rotation);
    } else {
      id = IsoTileBlob::FromResource(&m, n.id).Entry(zoom, rotation, 0).dataId;
    }
    return MicroLayoutBlob::FromResource(&m, id);
  }
  QnoResourceManager m;
};

struct Cell {
  MicroCell c;
  bool entry, exit;
};

std::vector<Cell> Cells(const MicroLayoutBlob& l) {
  std::vector<Cell> out;
  for (uint32_t i = 0; i < l.CellCount(); ++i) {
    const MicroCell c = l.Cell(i);
    int successors = 0;
    for (uint32_t s : c.successors) successors += s != 0;
    out.push_back({c, c.predecessor == 0, successors == 0});
  }
  return out;
}

// Cell units of the unturned piece from a layout offset: the anchor is the
// footprint's top corner XD to the left, the footprint turned by `rotation`.
void ModelOf(const zorgen::NetPieceArt& n, int zoom, int rotation, int x, int y, double* p, double* q) {
  const double xd = 2.0 * YD[zoom], yd = YD[zoom];
  const double u = (x - (xd - 1)) / xd, v = y / yd;  // tp - tq, tp + tq
  const double tp = (u + v) / 2, tq = (v - u) / 2;
  const double W = n.width, D = n.depth;
  switch (rotation) {
    case 0: *p = tp, *q = tq; break;
    case 1: *p = tq, *q = D - tp; break;
    case 2: *p = W - tp, *q = D - tq; break;
    default: *p = W - tq, *q = tp; break;
  }
}

bool Carries(const zorgen::NetPieceArt& n) { return n.firstLayout != 0; }

}  // namespace

TEST_F(StreetArt, EveryLayoutIsAGraphWhoseEndsLieOnThePiecesEdges) {
  int pieces = 0;
  for (const zorgen::NetPieceArt& n : zorgen::NetPieces()) {
    if (!Carries(n)) continue;
    ++pieces;
    for (int zoom = 0; zoom < 2; ++zoom) {
      std::vector<std::pair<uint16_t, std::vector<uint32_t>>> first;  // rotation 0's ids and links
      for (int rot = 0; rot < 4; ++rot) {
        SCOPED_TRACE(testing::Message() << n.id << " zoom " << zoom << " rotation " << rot);
        const MicroLayoutBlob l = LayoutOf(n, zoom, rot);
        ASSERT_FALSE(l.Empty());
        ASSERT_TRUE(l.IsValid());
        const std::vector<Cell> cells = Cells(l);
        std::map<uint32_t, const Cell*> byId;
        for (const Cell& c : cells) EXPECT_TRUE(byId.emplace(c.c.id, &c).second) << "cell id " << c.c.id << " twice";
        int entries = 0, exits = 0;
        for (const Cell& c : cells) {
          for (uint32_t s : c.c.successors)
            if (s) {
              ASSERT_TRUE(byId.count(s)) << c.c.id << " -> " << s;
              EXPECT_NE(byId[s]->c.predecessor, 0u);  // only entries lack one
            }
          if (c.c.predecessor) {
            ASSERT_TRUE(byId.count(c.c.predecessor));
            const MicroCell& pre = byId[c.c.predecessor]->c;
            EXPECT_TRUE(std::count(pre.successors, pre.successors + 4, c.c.id)) << c.c.id;
          }
          EXPECT_FALSE(c.entry && c.exit) << c.c.id;
          if (c.entry || c.exit) {
            double p, q;
            ModelOf(n, zoom, rot, c.c.x, c.c.y, &p, &q);
            const double tol = 1.5 / YD[zoom];
            // Straight four-lane groups and straight track are laid once
            // per cell: their lanes reach one cell along.
            const bool alongCells = (n.group && n.width == 2 && n.arms[0] && n.arms[2] && !n.arms[1] && !n.arms[3]) ||
                                    (n.shape == zorgen::NetShape::Rail && n.variant == 0);
            const double len = alongCells ? 1 : n.width;
            const bool edge = std::abs(p) < tol || std::abs(p - len) < tol || std::abs(q) < tol ||
                              std::abs(q - n.depth) < tol;
            EXPECT_TRUE(edge) << "end cell " << c.c.id << " at " << p << ", " << q;
          }
          entries += c.entry, exits += c.exit;
          // Streets keep their lanes' kinds (outer lanes 1, inner 2); the
          // cells of ends and junctions join any lane.
          int arms = 0;
          for (uint8_t a : n.arms) arms += a != zorgen::ARM_NONE;
          // The rail T junction joins its tracks like a junction.
          const bool railJunction = n.shape == zorgen::NetShape::Rail && n.variant == 2;
          if (!railJunction && (arms == 2 || n.shape != zorgen::NetShape::Road)) {
            EXPECT_TRUE(c.c.laneKind == 1 || c.c.laneKind == 2) << int{c.c.laneKind};
          } else {
            EXPECT_EQ(c.c.laneKind, 0);
          }
        }
        EXPECT_GE(entries, 1);
        EXPECT_EQ(entries, exits);
        // Vehicles step a third of a cell at the nearer zoom, half a cell at
        // the farther, and never stand still; a lane keeps its kind; only
        // four-lane streets have inner lanes.
        const bool fourLane = std::count(n.arms, n.arms + 4, zorgen::ARM_FOURLANE) > 0;
        for (const Cell& c : cells)
          for (uint32_t sId : c.c.successors) {
            if (!sId) continue;
            const MicroCell& d = byId[sId]->c;
            double p0, q0, p1, q1;
            ModelOf(n, zoom, rot, c.c.x, c.c.y, &p0, &q0);
            ModelOf(n, zoom, rot, d.x, d.y, &p1, &q1);
            const double step = std::hypot(p1 - p0, q1 - q0);
            EXPECT_GT(step, 0.05) << c.c.id << " -> " << sId;
            EXPECT_LT(step, zoom == 0 ? 0.45 : 0.65) << c.c.id << " -> " << sId;
            EXPECT_EQ(d.laneKind, c.c.laneKind) << c.c.id << " -> " << sId;
            if (!fourLane) {
              EXPECT_LE(c.c.laneKind, 1);
            }
          }
        // The render chain visits every cell once.
        std::set<uint32_t> seen;
        for (uint32_t id = l.FirstRenderId(); id && seen.size() <= cells.size(); id = byId[id]->c.nextRender) {
          ASSERT_TRUE(byId.count(id));
          EXPECT_TRUE(seen.insert(id).second);
        }
        EXPECT_EQ(seen.size(), cells.size());
        // A rotation moves cells, never renames or relinks them.
        std::vector<std::pair<uint16_t, std::vector<uint32_t>>> links;
        for (const Cell& c : cells)
          links.push_back({c.c.id, std::vector<uint32_t>(c.c.successors, c.c.successors + 4)});
        if (rot == 0) first = links;
        EXPECT_EQ(links, first);
      }
    }
  }
  // 49 street pieces and the four rail groups.
  EXPECT_EQ(pieces, 53);
}

TEST_F(StreetArt, AStraightPieceHasEvenlySpacedLanesFromEdgeToEdge) {
  // (piece, lanes); zoom 0 steps a third of a cell, zoom 1 half a cell.
  for (const auto& [id, lanes] : {std::pair<uint32_t, int>{14549, 2}, {1139, 2}, {1156, 1}, {2455, 4}}) {
    const zorgen::NetPieceArt* n = zorgen::FindNetPiece(id);
    ASSERT_NE(n, nullptr);
    for (int zoom = 0; zoom < 2; ++zoom) {
      const std::vector<Cell> cells = Cells(LayoutOf(*n, zoom, 0));
      EXPECT_EQ(static_cast<int>(cells.size()), lanes * (zoom == 0 ? 4 : 3)) << id;
      std::map<int, int> perLane;  // cells by their distance across the street, in fifths of a cell
      for (const Cell& c : cells) {
        double p, q;
        ModelOf(*n, zoom, 0, c.c.x, c.c.y, &p, &q);
        const double step = zoom == 0 ? 1.0 / 3 : 0.5;
        EXPECT_NEAR(p / step, std::round(p / step), 0.1) << id << " cell " << c.c.id;
        ++perLane[static_cast<int>(std::lround(q * 5))];
      }
      EXPECT_EQ(static_cast<int>(perLane.size()), lanes) << id;
    }
  }
}

TEST_F(StreetArt, LaneCellsOfOneTilePiecesLieOnTheDrawnCarriageway) {
  for (const zorgen::NetPieceArt& n : zorgen::NetPieces()) {
    if (!Carries(n) || n.group) continue;
    const IsoTileBlob tile = IsoTileBlob::FromResource(&m, n.id);
    for (int zoom = 0; zoom < 2; ++zoom)
      for (int rot = 0; rot < 4; ++rot) {
        SCOPED_TRACE(testing::Message() << n.id << " zoom " << zoom << " rotation " << rot);
        const IsoTileEntry e = tile.Entry(zoom, rot, 0);
        const void* s = CIsoSprite::FromResource(&m, e.spriteId);
        ASSERT_NE(s, nullptr);
        const int w = static_cast<int>(CIsoSprite::GetWidth(s)), h = static_cast<int>(CIsoSprite::GetHeight(s));
        std::vector<uint16_t> px(static_cast<size_t>(w) * h, 0);
        CIsoSprite::PutXYClipped16BitSprite(px.data(), s, 0, 0, w, h, w * 2);
        for (const Cell& c : Cells(LayoutOf(n, zoom, rot))) {
          if (c.entry || c.exit) continue;  // on the edge, shared with the neighbour
          // The layout's anchor lies 2 YD above the drawing anchor.
          const int x = c.c.x - e.x, y = c.c.y - 2 * YD[zoom] + e.y + h;
          ASSERT_TRUE(x >= 0 && y >= 0 && x < w && y < h) << c.c.id;
          const uint16_t p = px[static_cast<size_t>(y) * w + x];
          const int r = (p >> 11) << 3, g = ((p >> 5) & 63) << 2, b = (p & 31) << 3;
          // Asphalt and its white paint are an even grey; grass, water and
          // the sandy pavements are not.
          EXPECT_LE(std::max({r, g, b}) - std::min({r, g, b}), 16) << "cell " << c.c.id << " colour " << r << "," << g << "," << b;
        }
      }
  }
}

namespace {

// The layout anchor of a one-cell piece at (x, y) in a view rotation.
void CellAnchor(int x, int y, int view, int zoom, int* ax, int* ay) {
  const int xd = 2 * YD[zoom], yd = YD[zoom];
  int rx, ry;
  switch (view) {
    case 0: rx = (x - y) * xd, ry = (x + y) * yd; break;
    case 1: rx = -(x + y) * xd, ry = (x - y) * yd; break;
    case 2: rx = -(x - y) * xd, ry = -(x + y) * yd; break;
    default: rx = (x + y) * xd, ry = (y - x) * yd; break;
  }
  *ax = rx - xd, *ay = ry;
}

// Exits of one layout paired with entries of the other within `reach` pixels.
int Joined(const std::vector<Cell>& from, int fx, int fy, const std::vector<Cell>& to, int tx, int ty, int reach) {
  int pairs = 0;
  for (const Cell& e : from) {
    if (!e.exit) continue;
    for (const Cell& f : to)
      if (f.entry && std::abs(fx + e.c.x - tx - f.c.x) <= reach && std::abs(fy + e.c.y - ty - f.c.y) <= reach) ++pairs;
  }
  return pairs;
}

}  // namespace

TEST_F(StreetArt, EveryArmOfAJunctionBendOrEndMeetsTheStreetThatLeavesIt) {
  const int stepX[4] = {1, 0, -1, 0}, stepY[4] = {0, 1, 0, -1};
  int arms = 0;
  for (const zorgen::NetPieceArt& n : zorgen::NetPieces()) {
    if (!Carries(n) || n.group || n.shape != zorgen::NetShape::Road) continue;
    for (int dir = 0; dir < 4; ++dir)
      for (int side = 0; side < 4; ++side) {
        const uint8_t arm = n.arms[side];
        if (arm == zorgen::ARM_NONE || (n.arms[(side + 2) % 4] == arm && !n.arms[(side + 1) % 4] && !n.arms[(side + 3) % 4]))
          continue;  // straight pieces have their own test
        ++arms;
        // The street beside the arm, turned along it; a one-way street both
        // leaving and arriving.
        const uint32_t streetId = arm == zorgen::ARM_ONEWAY ? 1156 : arm == zorgen::ARM_MAIN ? 1139 : 14549;
        const int shown = (side + dir) % 4;
        for (int streetDir : {shown % 2, shown % 2 + 2}) {
          if (arm != zorgen::ARM_ONEWAY && streetDir > 1) continue;
          for (int zoom = 0; zoom < 2; ++zoom)
            for (int view = 0; view < 4; ++view) {
              SCOPED_TRACE(testing::Message() << n.id << " direction " << dir << " side " << side << " street "
                                              << streetDir << " zoom " << zoom << " view " << view);
              int ax, ay, bx, by;
              CellAnchor(0, 0, view, zoom, &ax, &ay);
              CellAnchor(stepX[shown], stepY[shown], view, zoom, &bx, &by);
              const std::vector<Cell> a = Cells(LayoutOf(n, zoom, (view + dir) & 3));
              const std::vector<Cell> b = Cells(LayoutOf(*zorgen::FindNetPiece(streetId), zoom, (view + streetDir) & 3));
              // A two-way street meets its lanes at the edge; a one-way one
              // meets the nearer of the junction's two offers.
              const int reach = arm == zorgen::ARM_ONEWAY ? 3 : 1;
              EXPECT_EQ(Joined(a, ax, ay, b, bx, by, reach) + Joined(b, bx, by, a, ax, ay, reach),
                        arm == zorgen::ARM_ONEWAY ? 1 : 2);
            }
        }
      }
  }
  EXPECT_GT(arms, 200);
}

TEST_F(StreetArt, EveryFourLaneArmOfAGroupMeetsTheFourLaneStreetBesideIt) {
  // Where the straight group beside each map side stands; it is laid along
  // x (direction 0) or y (direction 1) and carries lanes on its first cells.
  const int nextX[4] = {2, 0, -1, 0}, nextY[4] = {0, 2, 0, -1};
  const zorgen::NetPieceArt* straight = zorgen::FindNetPiece(2455);
  ASSERT_NE(straight, nullptr);
  int arms = 0;
  for (const zorgen::NetPieceArt& n : zorgen::NetPieces()) {
    if (!Carries(n) || !n.group || n.shape != zorgen::NetShape::Road || n.width != 2 || n.id == 2455) continue;
    for (int dir = 0; dir < 4; ++dir)
      for (int side = 0; side < 4; ++side) {
        if (n.arms[side] != zorgen::ARM_FOURLANE) continue;
        ++arms;
        const int shown = (side + dir) % 4;
        for (int zoom = 0; zoom < 2; ++zoom)
          for (int view = 0; view < 4; ++view) {
            SCOPED_TRACE(testing::Message() << n.id << " direction " << dir << " side " << side << " zoom " << zoom
                                            << " view " << view);
            // 2 x 2 footprints: the anchor is their top cell in the view.
            const int dx = view == 2 || view == 3 ? 1 : 0, dy = view == 1 || view == 2 ? 1 : 0;
            int ax, ay, bx, by;
            CellAnchor(dx, dy, view, zoom, &ax, &ay);
            CellAnchor(nextX[shown] + dx, nextY[shown] + dy, view, zoom, &bx, &by);
            const std::vector<Cell> a = Cells(LayoutOf(n, zoom, (view + dir) & 3));
            const std::vector<Cell> b = Cells(LayoutOf(*straight, zoom, (view + shown % 2) & 3));
            EXPECT_EQ(Joined(a, ax, ay, b, bx, by, 1) + Joined(b, bx, by, a, ax, ay, 1), 4);
          }
      }
  }
  EXPECT_GT(arms, 30);
}

TEST_F(StreetArt, NeighbouringStraightPiecesMeetLaneForLane) {
  // (piece, lanes across it)
  const std::pair<uint32_t, int> straights[] = {{14549, 2}, {1139, 2}, {1156, 1}, {42426, 2}, {2455, 4}, {42457, 4}};
  for (const auto& [id, lanes] : straights) {
    const zorgen::NetPieceArt* n = zorgen::FindNetPiece(id);
    ASSERT_NE(n, nullptr);
    for (int zoom = 0; zoom < 2; ++zoom)
      for (int dir = 0; dir < 4; ++dir)
        for (int view = 0; view < 4; ++view) {
          SCOPED_TRACE(testing::Message() << id << " zoom " << zoom << " direction " << dir << " view " << view);
          // The second piece stands one cell on in the piece's direction.
          const int stepX[4] = {1, 0, -1, 0}, stepY[4] = {0, 1, 0, -1};
          const int tw = dir % 2 ? n->depth : n->width, td = dir % 2 ? n->width : n->depth;
          auto anchor = [&](int x, int y, int* ax, int* ay) {
            // The cells' anchor: the footprint's top cell in this view.
            const int cx = view == 2 || view == 3 ? x + tw - 1 : x, cy = view == 1 || view == 2 ? y + td - 1 : y;
            const int xd = 2 * YD[zoom], yd = YD[zoom];
            int rx, ry;
            switch (view) {
              case 0: rx = (cx - cy) * xd, ry = (cx + cy) * yd; break;
              case 1: rx = -(cx + cy) * xd, ry = (cx - cy) * yd; break;
              case 2: rx = -(cx - cy) * xd, ry = -(cx + cy) * yd; break;
              default: rx = (cx + cy) * xd, ry = (cy - cx) * yd; break;
            }
            *ax = rx - xd, *ay = ry;
          };
          int ax, ay, bx, by;
          anchor(0, 0, &ax, &ay);
          anchor(stepX[dir], stepY[dir], &bx, &by);
          const std::vector<Cell> a = Cells(LayoutOf(*n, zoom, (view + dir) & 3));
          const std::vector<Cell> b = a;
          auto joined = [&](const std::vector<Cell>& from, int fx, int fy, const std::vector<Cell>& to, int tx, int ty) {
            int pairs = 0;
            for (const Cell& e : from) {
              if (!e.exit) continue;
              for (const Cell& f : to)
                if (f.entry && std::abs(fx + e.c.x - tx - f.c.x) <= 1 && std::abs(fy + e.c.y - ty - f.c.y) <= 1) ++pairs;
            }
            return pairs;
          };
          EXPECT_EQ(joined(a, ax, ay, b, bx, by) + joined(b, bx, by, a, ax, ay), lanes);
        }
  }
}
