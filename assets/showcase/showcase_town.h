#pragma once
// The little town the showcase programs place in the middle of the map: a
// few buildings of every kind, each with its catalogue group, cell and
// direction, counted from the cell (kOrigin, kOrigin).
namespace showcase {

struct Building {
  int resId, x, y, dir;
};

constexpr Building kTown[] = {
    {37749, 1, 1, 0},  {18510, 2, 1, 1},  {11896, 3, 1, 2},  {11897, 4, 1, 3},  {11949, 1, 3, 0},
    {14023, 3, 3, 0},  {35759, 6, 1, 0},  {14073, 9, 1, 1},  {11871, 12, 1, 0}, {10302, 13, 1, 0},
    {18383, 14, 1, 0}, {39546, 12, 4, 0}, {10328, 9, 4, 0},  {16918, 5, 5, 0},  {26509, 1, 9, 0},
    {30008, 4, 9, 0},  {11878, 4, 10, 1}, {18332, 8, 8, 0},  {30540, 10, 8, 0}, {12555, 1, 5, 0},
    {12513, 6, 10, 0}, {30083, 6, 8, 0},  {29793, 8, 11, 0}, {25669, 12, 11, 0},
};
constexpr int kOrigin = 56;

}  // namespace showcase
