#pragma once
// Where the parts of a multi-cell group land when it is placed turned to a
// direction, and the order in which placement and previews visit them.
#include <cstdint>

struct IsoGroupCell {
  int partX, partY;  // cell of the unturned group
  int dx, dy;        // offset of the covered cell from the anchor
};

// The covered cell of part (a, b) of a W x D group turned to direction.
inline void IsoGroupPartCell(int direction, int w, int d, int a, int b, int& dx, int& dy) {
  switch (direction & 3) {
    case 1:
      dx = d - 1 - b;
      dy = a;
      break;
    case 2:
      dx = w - 1 - a;
      dy = d - 1 - b;
      break;
    case 3:
      dx = b;
      dy = w - 1 - a;
      break;
    default:
      dx = a;
      dy = b;
      break;
  }
}

// Visits the parts in placement order: the covered rectangle row by row
// along y, each row along x. Stops early when visit returns false.
template <class Visit>
bool IsoVisitGroupPlacement(int direction, int w, int d, Visit visit) {
  const bool turned = (direction & 1) != 0;
  const int tw = turned ? d : w;
  const int td = turned ? w : d;
  for (int dy = 0; dy < td; ++dy) {
    for (int dx = 0; dx < tw; ++dx) {
      int a = dx, b = dy;
      switch (direction & 3) {
        case 1:
          a = dy;
          b = d - 1 - dx;
          break;
        case 2:
          a = w - 1 - dx;
          b = d - 1 - dy;
          break;
        case 3:
          a = w - 1 - dy;
          b = dx;
          break;
        default:
          break;
      }
      if (!visit(IsoGroupCell{a, b, dx, dy})) return false;
    }
  }
  return true;
}

// Visits the parts in preview drawing order: part rows along the part y
// axis, running so that the drawing goes from back to front.
template <class Visit>
bool IsoVisitGroupPreview(int direction, int w, int d, Visit visit) {
  const int dir = direction & 3;
  const bool yDown = dir == 1 || dir == 2;
  const bool xDown = dir == 2 || dir == 3;
  for (int i = 0; i < d; ++i) {
    const int b = yDown ? d - 1 - i : i;
    for (int j = 0; j < w; ++j) {
      const int a = xDown ? w - 1 - j : j;
      IsoGroupCell part{a, b, 0, 0};
      IsoGroupPartCell(dir, w, d, a, b, part.dx, part.dy);
      if (!visit(part)) return false;
    }
  }
  return true;
}
