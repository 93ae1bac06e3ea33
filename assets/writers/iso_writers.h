#pragma once
// Writers of the map's blobs: the iso tile, the iso group and the "Micr"
// micro-cell layout. The bytes the map never reads are written as 0.
#include <cstdint>
#include <vector>

#include "writers/blob_writers.h"

namespace zorgen {

constexpr int ISO_ZOOMS = 3;
constexpr int ISO_TURNS = 4;

struct IsoTileLayer {
  uint32_t spriteId = 0;  // 0 = nothing drawn
  uint8_t z = 0;          // 0-4 floor, 5 middle, above 5 upper
  int16_t x = 0;          // sprite's left edge right of the cell's anchor
  int16_t y = 0;          // sprite's bottom edge above the anchor
  uint32_t dataId = 0;    // micro-cell layout (layer 0 only)
};

// One cell's sprite layers for every zoom index and rotation.
struct IsoTileContent {
  int layerCount = 1;  // 1..63
  std::vector<IsoTileLayer> layers;  // (zoom x 4 + rotation) x layerCount + layer
  explicit IsoTileContent(int count = 1)
      : layerCount(count), layers(static_cast<size_t>(ISO_ZOOMS * ISO_TURNS * count)) {}
  IsoTileLayer& At(int zoom, int rotation, int layer) {
    return layers[static_cast<size_t>((zoom * ISO_TURNS + rotation) * layerCount + layer)];
  }
};
// Empty when the layer count is out of range or the table is short.
Bytes WriteIsoTile(const IsoTileContent& tile);

struct IsoGroupEntry {
  uint32_t x = 0, y = 0, layer = 0, tileId = 0;
};
struct IsoGroupContent {
  uint32_t width = 1, depth = 1;
  uint32_t microLayouts[2][4] = {};  // zoom index 0..1, rotation
  std::vector<IsoGroupEntry> entries;
};
// Empty when there are more than 255 entries.
Bytes WriteIsoGroup(const IsoGroupContent& group);

struct MicroCellContent {
  uint16_t id = 0;
  uint8_t laneKind = 0;
  int16_t x = 0, y = 0;
  uint32_t successors[4] = {};
  uint32_t predecessor = 0;
  uint32_t conflicts[4] = {};
  uint32_t nextRender = 0;
  uint8_t locked = 0;
};
struct MicroLayoutContent {
  uint32_t firstRender = 0;
  std::vector<MicroCellContent> cells;
};
// The successor count of each cell is the number of its non-zero successor
// slots. Empty when there are more than 255 cells.
Bytes WriteMicroLayout(const MicroLayoutContent& layout);

}  // namespace zorgen
