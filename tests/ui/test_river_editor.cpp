// The river editor on a plain grid of cells: the shapes of a new lake, the
// inner corners of open water beside land, and a walk over water as large
// as the whole map.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ui/river_editor.h"

namespace {

constexpr int N = CRiverEditor::kSize;

// A map of ground and water; -1 marks a cell the map does not have.
struct Grid : CRiverEditor::Cells {
  std::vector<int> type = std::vector<int>(N * N, CRiverEditor::kGround);
  std::vector<std::pair<int, int>> tile = std::vector<std::pair<int, int>>(N * N, {0, 0});
  int replaced = 0;
  int GroundType(int x, int y) override { return type[x * N + y]; }
  void PutWater(int x, int y, int resId, int direction, bool replace) override {
    // Water is laid on ground, and replaced only where water is.
    EXPECT_EQ(type[x * N + y], replace ? CRiverEditor::kWater : CRiverEditor::kGround) << x << "," << y;
    type[x * N + y] = CRiverEditor::kWater;
    tile[x * N + y] = {resId, direction};
    replaced += replace;
  }
  std::pair<int, int> At(int x, int y) const { return tile[x * N + y]; }
};

TEST(RiverEditor, ANewLakeGetsItsCornersEdgesAndOpenWater) {
  Grid g;
  CRiverEditor editor;
  editor.SetRiverCenter(g, 10, 20);
  EXPECT_EQ(editor.TilesLaid(), 9);
  const std::pair<int, int> corner = {CRiverEditor::kOuterCorner, 0}, shore = {CRiverEditor::kShore, 0};
  // Outer corners: water east and south (3), north and east (6), west and
  // south (9), west and north (12).
  EXPECT_EQ(g.At(9, 19), std::make_pair(CRiverEditor::kOuterCorner, 2));
  EXPECT_EQ(g.At(9, 21), std::make_pair(CRiverEditor::kOuterCorner, 1));
  EXPECT_EQ(g.At(11, 19), std::make_pair(CRiverEditor::kOuterCorner, 3));
  EXPECT_EQ(g.At(11, 21), corner);
  // Edges: land west (7), north (11), east (13), south (14).
  EXPECT_EQ(g.At(9, 20), std::make_pair(CRiverEditor::kShore, 1));
  EXPECT_EQ(g.At(10, 19), std::make_pair(CRiverEditor::kShore, 2));
  EXPECT_EQ(g.At(11, 20), std::make_pair(CRiverEditor::kShore, 3));
  EXPECT_EQ(g.At(10, 21), shore);
  EXPECT_EQ(g.At(10, 20), std::make_pair(CRiverEditor::kOpenWater, 0));
  EXPECT_EQ(g.At(12, 20), std::make_pair(0, 0)) << "land stays land";
}

TEST(RiverEditor, ShapesWithoutATileKeepTheirsAndLandOnADiagonalMakesAnInnerCorner) {
  int res = -1, dir = -1;
  // No water around (code 0), a strip (5, 10) and dead ends keep their tile.
  for (int code : {0, 1, 2, 4, 5, 8, 10}) {
    EXPECT_FALSE(CRiverEditor::ShapeTile(code & 8, code & 4, code & 2, code & 1, res, dir)) << code;
    EXPECT_EQ(res, -1);
  }
  // A 4 x 4 lake whose corner cell (13, 13) is land again: the water cell
  // at (12, 12) has land on its south-east diagonal (direction 2).
  Grid g;
  for (int x = 10; x < 14; ++x)
    for (int y = 10; y < 14; ++y) g.type[x * N + y] = CRiverEditor::kWater;
  g.type[13 * N + 13] = CRiverEditor::kGround;
  g.type[0] = -1;
  CRiverEditor editor;
  editor.SetRiverCenter(g, 11, 11);
  EXPECT_EQ(g.At(12, 12), std::make_pair(CRiverEditor::kInnerCorner, 2));
  EXPECT_EQ(g.At(11, 11), std::make_pair(CRiverEditor::kOpenWater, 0));
  EXPECT_EQ(editor.TilesLaid(), 15);
}

TEST(RiverEditor, WaterAcrossTheWholeMapIsWalkedCellByCell) {
  Grid g;
  std::fill(g.type.begin(), g.type.end(), CRiverEditor::kWater);
  CRiverEditor editor;
  editor.SetRiverCenter(g, 0, 0);
  // The map's edge counts as water: every cell is open water.
  EXPECT_EQ(editor.TilesLaid(), N * N);
  EXPECT_EQ(g.replaced, N * N);
  EXPECT_EQ(g.At(N - 1, N - 1), std::make_pair(CRiverEditor::kOpenWater, 0));
  // A centre outside the map lays nothing and walks nothing.
  Grid land;
  editor.SetRiverCenter(land, 0, 300);
  EXPECT_EQ(editor.TilesLaid(), 0);
  EXPECT_EQ(land.At(2, 44), std::make_pair(0, 0)) << "no other cell is taken for it";
}

}  // namespace
