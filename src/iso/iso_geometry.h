#pragma once
// The map's shared geometry: the grid size, the view's zoom level and
// rotation, and the tile sizes by zoom. Every part of the map reads these;
// nothing here depends on the map itself.
#include <cstdint>

#include "worldbase/zor_types.h"

constexpr int ISO_MAP_SIZE = 128;

// True when (x, y) is a cell of the grid.
inline bool IsoInMap(int x, int y) { return x >= 0 && x < ISO_MAP_SIZE && y >= 0 && y < ISO_MAP_SIZE; }

// The view state every conversion and drawing routine reads.
extern TIsoZoomStufe g_ZoomStufe;  // 1, 2 or 4; the program starts with 1
extern int32_t g_IsoRichtung;      // 0..3

// True at the levels where the streets carry their micro-cell layouts and
// vehicles run on them: 1 and 2. The game data has no layouts for the
// farthest level, and there the networks make none.
inline bool IsoMicroSimRuns() { return g_ZoomStufe != ISO_ZOOM_4; }

// Tile sizes by zoom index (g_ZoomStufe / 2). XDiv2 equals the height, so
// neighbouring tiles stand Tile_Size_X + 2 pixels apart.
extern const int32_t Tile_Size_X[3];
extern const int32_t Tile_Size_Y[3];
extern const int32_t Tile_Size_XDiv2[3];
extern const int32_t Tile_Size_YDiv2[3];

// The zoom index of the current zoom level, kept inside the tables; inline,
// for the walks ask for it per cell.
inline int IsoZoomIndex() {
  const int i = g_ZoomStufe / 2;
  return i < 0 ? 0 : (i > 2 ? 2 : i);
}
