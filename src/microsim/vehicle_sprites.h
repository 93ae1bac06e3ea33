#pragma once
// The resource ids of the vehicles' run-length sprites: 28 sprite kinds x
// 3 zoom columns x 64 direction entries. Column 0 is drawn at zoom level 1,
// column 1 at zoom levels 2 and 4; column 2 repeats column 1. Entry e holds
// the picture of direction 63 - e. The game data generator draws one picture
// per id; the game reads the same ids, so both include this header alone.
#include <cstdint>

namespace zorveh {

constexpr int VEHICLE_SPRITE_KINDS = 28;
constexpr int VEHICLE_SPRITE_COLUMNS = 3;
constexpr int VEHICLE_DIRECTIONS = 64;
constexpr int VEHICLE_DRAWN_COLUMNS = 2;

// Sprite kinds of the line vehicles, by bus-or-tram kind 0..3 and any other.
constexpr int VEHICLE_KIND_BUS = 23;
constexpr int VEHICLE_KIND_BUS_H2 = 24;
constexpr int VEHICLE_KIND_BUS_LOWFLOOR = 25;
constexpr int VEHICLE_KIND_BUS_ELECTRIC = 26;
constexpr int VEHICLE_KIND_TRAM = 27;

// The interface pictures (16-bit bitmaps) of the line vehicles.
constexpr uint32_t VEHICLE_PICTURE_BUS = 13014;
constexpr uint32_t VEHICLE_PICTURE_BUS_LOWFLOOR = 41469;
constexpr uint32_t VEHICLE_PICTURE_BUS_H2 = 41337;
constexpr uint32_t VEHICLE_PICTURE_BUS_ELECTRIC = 41658;
constexpr uint32_t VEHICLE_PICTURE_TRAM = 24352;
constexpr int VEHICLE_PICTURE_WIDTH = 64;
constexpr int VEHICLE_PICTURE_HEIGHT = 32;

// Kinds with a picture of their own, in the order their ids are handed out.
// Kinds 1, 5, 21 and 22 show the picture of another kind (VehicleSpriteSource).
constexpr int VEHICLE_DRAWN_KINDS[] = {0, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                                       23, 24, 25, 26, 27};
constexpr int VEHICLE_DRAWN_KIND_COUNT = static_cast<int>(sizeof(VEHICLE_DRAWN_KINDS) / sizeof(int));

// The kind whose pictures a kind shows.
constexpr int VehicleSpriteSource(int kind) {
  switch (kind) {
    case 1: return 2;
    case 5: return 6;
    case 21: return 19;
    case 22: return 20;
    default: return kind;
  }
}

// Position of a kind in VEHICLE_DRAWN_KINDS; -1 for a kind without pictures.
constexpr int VehicleDrawnSlot(int kind) {
  for (int s = 0; s < VEHICLE_DRAWN_KIND_COUNT; ++s)
    if (VEHICLE_DRAWN_KINDS[s] == kind) return s;
  return -1;
}

// The fixed ids of entry 0 in columns 0 and 1; 0 where the id is handed out.
constexpr uint32_t VehicleFirstSpriteId(int kind, int column) {
  struct Row {
    int kind;
    uint32_t ids[2];
  };
  constexpr Row rows[] = {{0, {44614, 44500}},  {23, {48819, 48786}}, {24, {49049, 48950}},
                          {25, {49067, 49147}}, {26, {49212, 49277}}, {27, {46526, 46461}}};
  for (const Row& r : rows)
    if (r.kind == kind && column >= 0 && column < 2) return r.ids[column];
  return 0;
}

// The handed-out ids fill two free blocks, the first one before the second.
constexpr uint32_t VEHICLE_BLOCK_A_FIRST = 46527;
constexpr uint32_t VEHICLE_BLOCK_A_END = 48786;
constexpr uint32_t VEHICLE_BLOCK_B_FIRST = 22100;
constexpr uint32_t VEHICLE_BLOCK_B_END = 24000;

// Sprite id of [kind][column][entry]; 0 when the arguments are out of range.
constexpr uint32_t VehicleSpriteId(int kind, int column, int entry) {
  if (kind < 0 || kind >= VEHICLE_SPRITE_KINDS || column < 0 || column >= VEHICLE_SPRITE_COLUMNS || entry < 0 ||
      entry >= VEHICLE_DIRECTIONS)
    return 0;
  if (column >= VEHICLE_DRAWN_COLUMNS) column = VEHICLE_DRAWN_COLUMNS - 1;
  kind = VehicleSpriteSource(kind);
  if (entry == 0 && VehicleFirstSpriteId(kind, column)) return VehicleFirstSpriteId(kind, column);
  const uint32_t n = static_cast<uint32_t>((VehicleDrawnSlot(kind) * VEHICLE_DRAWN_COLUMNS + column) * VEHICLE_DIRECTIONS + entry);
  constexpr uint32_t sizeA = VEHICLE_BLOCK_A_END - VEHICLE_BLOCK_A_FIRST;
  return n < sizeA ? VEHICLE_BLOCK_A_FIRST + n : VEHICLE_BLOCK_B_FIRST + (n - sizeA);
}

// The direction entry of sprite direction dir (0..63).
constexpr int VehicleEntry(int dir) { return VEHICLE_DIRECTIONS - 1 - dir; }

constexpr bool EveryKindDrawn() {
  for (int k = 0; k < VEHICLE_SPRITE_KINDS; ++k)
    if (VehicleDrawnSlot(VehicleSpriteSource(k)) < 0) return false;
  return true;
}
static_assert(EveryKindDrawn());
static_assert(VehicleSpriteId(0, 0, 0) == 44614 && VehicleSpriteId(27, 1, 0) == 46461);
static_assert(VehicleSpriteId(27, 1, 63) < VEHICLE_BLOCK_B_END);

}  // namespace zorveh
