#pragma once
// The river editor of the debug tools: it lays open water on the empty
// ground of a 3 x 3 block and then gives every water cell reached from the
// centre the shore tile its four neighbours ask for. The walk over the water
// keeps its own list of cells to visit, so a lake as large as the map takes
// no deeper call chain than a single pond.
#include <vector>

class CRiverEditor {
 public:
  // What the editor reads and changes of the map.
  class Cells {
   public:
    virtual ~Cells() = default;
    // The object type of the cell's ground (1 empty ground, 2 water);
    // -1 when the map has no cell there.
    virtual int GroundType(int x, int y) = 0;
    // Lays water with the tile and direction on the cell, in place of the
    // water that is there.
    virtual void PutWater(int x, int y, int resId, int direction, bool replace) = 0;
  };

  static constexpr int kSize = 128;
  static constexpr int kOpenWater = 37804;
  static constexpr int kShore = 37800;
  static constexpr int kOuterCorner = 37806;
  static constexpr int kInnerCorner = 38398;
  static constexpr int kGround = 1;
  static constexpr int kWater = 2;

  // The tile (and direction) of a water cell with the given neighbours;
  // false when the shape keeps the tile it has.
  static bool ShapeTile(bool west, bool north, bool east, bool south, int& resId, int& direction);

  // Lays the block around (x, y) and walks its water.
  void SetRiverCenter(Cells& cells, int x, int y);
  // Cells given a tile by the last walk.
  int TilesLaid() const { return m_laid; }

 private:
  bool IsWaterOrOutside(Cells& cells, int x, int y);
  void Shape(Cells& cells, int x, int y);

  std::vector<unsigned char> m_visited = std::vector<unsigned char>(kSize * kSize);
  std::vector<int> m_todo;
  int m_laid = 0;
};
