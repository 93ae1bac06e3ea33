#include "network/str_junction.h"

// The graphics of junctions of one-tile streets by their arm mask: two bits
// per side (smaller x 1 or 3, larger x 4 or 12, smaller y 16 or 48, larger
// y 64 or 192; the lower bit alone for a one-way street). The first
// matching row wins.
const KurveIDType CStrJunction::KurveID[CStrJunction::kKurveIDRows] = {
    {77, 1616, 0}, {209, 1616, 1}, {23, 1616, 2}, {116, 1616, 3},
    {193, 1644, 0}, {83, 1644, 1}, {53, 1644, 2}, {92, 1644, 3},
    {71, 1657, 0}, {113, 1657, 1}, {29, 1657, 2}, {212, 1657, 3},
    {205, 1587, 0}, {211, 1587, 1}, {55, 1587, 2}, {124, 1587, 3},
    {199, 1630, 0}, {115, 1630, 1}, {61, 1630, 2}, {220, 1630, 3},
    {207, 1482, 0}, {243, 1482, 1}, {63, 1482, 2}, {252, 1482, 3},
    {197, 1644, 0}, {83, 1644, 1}, {53, 1644, 2}, {92, 1644, 3},
    {79, 1601, 0}, {241, 1601, 1}, {31, 1601, 2}, {244, 1601, 3},
    {69, 1559, 0}, {81, 1559, 1}, {21, 1559, 2}, {84, 1559, 3},
    {255, 1503, 0}, {255, 1503, 1}, {255, 1503, 2}, {255, 1503, 3},
    {85, 1558, 0}, {85, 1558, 1}, {85, 1558, 2}, {85, 1558, 3},
    {253, 1678, 0}, {223, 1678, 1}, {247, 1678, 2}, {127, 1678, 3},
    {127, 1691, 0}, {253, 1691, 1}, {223, 1691, 2}, {247, 1691, 3},
    {125, 1705, 0}, {221, 1705, 1}, {215, 1705, 2}, {119, 1705, 3},
    {245, 1720, 0}, {95, 1720, 1}, {245, 1720, 2}, {95, 1720, 3},
    {117, 1734, 0}, {93, 1734, 1}, {213, 1734, 2}, {87, 1734, 3},
};

// The graphics of junctions with a four-lane street, by the per-side type
// codes of GetKreuzungsIDStrasseD.
const KurveIDType CStrJunction::KurveIDStrasseD[CStrJunction::kKurveIDStrasseDRows] = {
    {8768, 3134, 3}, {1058, 3134, 2}, {16418, 3134, 0}, {8708, 3134, 1},
    {16452, 3994, 0}, {1092, 3994, 2}, {17472, 3994, 3}, {17412, 3994, 1},
    {16393, 3311, 0}, {1033, 3311, 2}, {2240, 3311, 3}, {2180, 3311, 1},
    {16452, 3656, 0}, {17409, 3656, 2}, {196, 3656, 3}, {16384, 3656, 1},
    {8260, 3488, 0}, {580, 3488, 2}, {17440, 3488, 3}, {17410, 3488, 1},
    {4164, 3488, 0}, {324, 3488, 2}, {17424, 3488, 3}, {17410, 3488, 1},
    {8772, 7285, 0}, {17442, 7285, 3}, {4420, 7285, 0}, {17426, 7285, 3},
    {8516, 7285, 0}, {4676, 7285, 0}, {16708, 7325, 0}, {5188, 7326, 2},
    {17474, 7326, 3}, {17428, 7325, 1}, {16964, 7325, 0}, {9284, 7326, 2},
    {17474, 7326, 3}, {17444, 7325, 1}, {16402, 3134, 0}, {1042, 3134, 2},
    {4416, 3134, 3}, {4356, 3134, 1}, {17476, 7380, 0},
};

namespace {

struct GroupTwin {
  int id, twin;
  unsigned rotations;  // bit r: the twin is laid for rotation r
};

// One-tile arms on the sides at x (0 and 2 of the unturned group) leave the
// group's first cell for rotations 1 and 2; those on the sides at y for 2
// and 3.
constexpr GroupTwin kGroupTwins[] = {
    {3134, 3135, 0b0110}, {3311, 3312, 0b0110}, {3656, 3657, 0b0110}, {3488, 3489, 0b1100}, {7285, 7286, 0b1100},
};

}  // namespace

int CStrJunction::GroupForRotation(int resId, int rotation) {
  for (const GroupTwin& t : kGroupTwins)
    if (t.id == resId) return (t.rotations >> (rotation & 3)) & 1u ? t.twin : resId;
  return resId;
}
