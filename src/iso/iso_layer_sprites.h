#pragma once
// The sprites the map's tiles resolve to, remembered: for a tile, the zoom
// level, a drawing direction and a sprite layer, the sprite and where it
// lies against the cell's anchor. After a turn or zoom every cell in view
// makes its sprite cache again, and thousands of cells share a few hundred
// tiles: each tile layer is then read from its blobs once, not once per cell.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/qno_resource.h"
#include "iso/iso_geometry.h"

class CIsoLayerSprites {
 public:
  struct Layer {
    uint32_t key;  // 0 marks an empty entry
    // False when the tile itself is missing or damaged.
    bool tile;
    // What CIsoTile::GetRenderSprite answers at the anchor (0, 0): the
    // sprite (null when nothing is drawn), its id and its top-left corner.
    int32_t spriteId;
    int32_t dx, dy;
    const void* sprite;
  };

  // The entry of the tile layer at the current zoom level; null when the
  // tile id or the layer lies beyond what an entry can name (then the
  // caller reads the tile itself). Entries are dropped whenever the
  // resources change (another manager, or the manager's generation).
  // Inline: a cell's cache asks for each of its layers.
  const Layer* Find(QnoResourceManager* resources, int resId, int rot, int layer) {
    if (resId < 1 || resId >= (1 << 20) || layer < 0 || layer > 255) return nullptr;
    if (resources == m_resources && resources && resources->Generation() == m_generation && !m_table.empty()) {
      const uint32_t key = Key(resId, IsoZoomIndex(), rot, layer);
      const Layer* e = Slot(key);
      if (e->key == key) return e;
    }
    return Add(resources, resId, rot, layer);
  }
  size_t Size() const { return m_count; }

 private:
  static constexpr size_t kFirstCapacity = 1024;
  static uint32_t Key(int resId, int zoomIndex, int rot, int layer) {
    return static_cast<uint32_t>(resId) << 12 | static_cast<uint32_t>(zoomIndex) << 10 |
           static_cast<uint32_t>(rot & 3) << 8 | static_cast<uint32_t>(layer);
  }
  Layer* Slot(uint32_t key) {
    const size_t mask = m_table.size() - 1;
    // Fibonacci hashing spreads the neighbouring ids of one tile family.
    size_t i = static_cast<size_t>((static_cast<uint64_t>(key) * 0x9E3779B97F4A7C15ull) >> 32) & mask;
    while (m_table[i].key != 0 && m_table[i].key != key) i = (i + 1) & mask;
    return &m_table[i];
  }
  // The entry of a key not yet known, read from the tile.
  const Layer* Add(QnoResourceManager* resources, int resId, int rot, int layer);
  void Grow();

  std::vector<Layer> m_table;
  size_t m_count = 0;
  QnoResourceManager* m_resources = nullptr;
  uint32_t m_generation = 0;
};
