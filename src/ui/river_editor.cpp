#include "ui/river_editor.h"

#include <algorithm>

namespace {

bool InMap(int x, int y) { return x >= 0 && y >= 0 && x < CRiverEditor::kSize && y < CRiverEditor::kSize; }

}  // namespace

bool CRiverEditor::ShapeTile(bool w, bool n, bool e, bool s, int& resId, int& direction) {
  switch (8 * w + 4 * n + 2 * e + s) {
    case 3: resId = kOuterCorner, direction = 2; return true;
    case 6: resId = kOuterCorner, direction = 1; return true;
    case 7: resId = kShore, direction = 1; return true;
    case 9: resId = kOuterCorner, direction = 3; return true;
    case 11: resId = kShore, direction = 2; return true;
    case 12: resId = kOuterCorner, direction = 0; return true;
    case 13: resId = kShore, direction = 3; return true;
    case 14: resId = kShore, direction = 0; return true;
    case 15: resId = kOpenWater, direction = 0; return true;
    default: return false;
  }
}

bool CRiverEditor::IsWaterOrOutside(Cells& cells, int x, int y) {
  return !InMap(x, y) || cells.GroundType(x, y) == kWater;
}

void CRiverEditor::SetRiverCenter(Cells& cells, int x, int y) {
  std::fill(m_visited.begin(), m_visited.end(), 0);
  m_laid = 0;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (InMap(x + dx, y + dy) && cells.GroundType(x + dx, y + dy) == kGround)
        cells.PutWater(x + dx, y + dy, kOpenWater, 0, false);
  // The border pass: every water cell reached from the centre through its
  // four neighbours, each cell once. The tile a cell takes depends only on
  // which neighbours are water, which the pass does not change, so the order
  // of the walk does not matter.
  m_todo.clear();
  if (InMap(x, y)) m_todo.push_back(x * kSize + y);
  while (!m_todo.empty()) {
    const int at = m_todo.back();
    m_todo.pop_back();
    const int cx = at / kSize, cy = at % kSize;
    if (m_visited[at] || cells.GroundType(cx, cy) != kWater) continue;
    m_visited[at] = 1;
    Shape(cells, cx, cy);
    // Pushed in reverse so that west is taken first, then east, north and
    // south, as the cells' shapes are described.
    const int next[4][2] = {{cx, cy + 1}, {cx, cy - 1}, {cx + 1, cy}, {cx - 1, cy}};
    for (const auto& n : next)
      if (InMap(n[0], n[1]) && !m_visited[n[0] * kSize + n[1]]) m_todo.push_back(n[0] * kSize + n[1]);
  }
}

void CRiverEditor::Shape(Cells& cells, int x, int y) {
  const bool w = IsWaterOrOutside(cells, x - 1, y), e = IsWaterOrOutside(cells, x + 1, y);
  const bool n = IsWaterOrOutside(cells, x, y - 1), s = IsWaterOrOutside(cells, x, y + 1);
  int resId = 0, direction = 0;
  if (!ShapeTile(w, n, e, s, resId, direction)) return;
  if (resId == kOpenWater) {
    // A land cell on a diagonal makes an inner corner; the last one wins.
    const int diagonals[4][2] = {{x - 1, y - 1}, {x + 1, y - 1}, {x + 1, y + 1}, {x - 1, y + 1}};
    for (int d = 0; d < 4; ++d) {
      const int dx = diagonals[d][0], dy = diagonals[d][1];
      if (!InMap(dx, dy)) continue;
      const int type = cells.GroundType(dx, dy);
      if (type >= 0 && type != kWater) resId = kInnerCorner, direction = d;
    }
  }
  cells.PutWater(x, y, resId, direction, true);
  ++m_laid;
}
