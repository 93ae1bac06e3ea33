#pragma once
// Read-only views of the two graphics resources of the map, seen in place
// inside their blobs: the iso tile (one cell's sprites for every zoom
// level, drawing direction and sprite layer) and the iso group (a
// multi-cell object: its size, micro-cell layouts and part tiles).
// Both are only ever reached through a pointer into a validated blob.
#include <cstdint>

#include "framework/qno_bytes.h"
#include "framework/qno_sprite.h"
#include "iso/iso_geometry.h"
#include "worldbase/zor_types.h"

class QnoRenderBuffer;
class QnoResourceManager;

class CIsoTile {
 public:
  static constexpr uint32_t kHeaderSize = 24;
  static constexpr uint32_t kEntrySize = 28;
  // Where the fields lie in the header and in an entry (as in iso_blob.h).
  static constexpr uint32_t kAtHighestLayer = 16, kAtEntriesPerZoom = 17;
  static constexpr uint32_t kAtSprite = 8, kAtZ = 13, kAtX = 14, kAtY = 16, kAtMicr = 20;

  // The tile resource after the layout check of iso_blob.h (header and
  // all 3E entries present, every layer 0..L inside E / 4); null when it is
  // missing or damaged.
  static CIsoTile* Get(QnoResourceManager* resources, int resId);

  // Inline: a turn's first frame reads them for every layer of every cell.
  int GetHighestLayer() const { return m_header[kAtHighestLayer]; }      // L
  int GetEntriesPerZoom() const { return m_header[kAtEntriesPerZoom]; }  // E
  // Fields of entry (zoomIndex, rot, layer); the layer is not range-checked
  // against L here, callers check it (every entry index stays inside the blob
  // because L + 1 <= E / 4).
  uint32_t GetSpriteID(int z, int r, int l) const { return qno_rd32(this, EntryAt(z, r, l) + kAtSprite); }
  int GetZValue(int z, int r, int l) const { return reinterpret_cast<const uint8_t*>(this)[EntryAt(z, r, l) + kAtZ]; }
  int GetXOffset(int z, int r, int l) const {
    return static_cast<int16_t>(qno_rd16(this, EntryAt(z, r, l) + kAtX));
  }
  int GetYOffset(int z, int r, int l) const {
    return static_cast<int16_t>(qno_rd16(this, EntryAt(z, r, l) + kAtY));
  }
  uint32_t GetDataResID(int z, int r, int l) const { return qno_rd32(this, EntryAt(z, r, l) + kAtMicr); }

  // Draws sprite layer `layer` in the current zoom with anchor (x, y);
  // the sprite's height, or -1 (layer above L, no sprite id, sprite missing).
  int Render(QnoRenderBuffer* buffer, QnoResourceManager* resources, int x, int y, unsigned char layer,
             TIsoRichtung rot) const;
  // Draws layers 0..L; the height of the last sprite drawn (0 when none).
  int RenderFloor(QnoRenderBuffer* buffer, QnoResourceManager* resources, int x, int y, TIsoRichtung rot) const;
  // The sprites RenderFloor draws, in its order, with their top-left
  // corners: draw(sprite, left, top) for each.
  template <typename F>
  void ForEachFloorSprite(QnoResourceManager* resources, int x, int y, TIsoRichtung rot, F&& draw) const {
    const int zi = IsoZoomIndex();
    for (int l = 0; l <= GetHighestLayer(); ++l) {
      const uint32_t id = GetSpriteID(zi, rot, l);
      const void* sprite = id ? CIsoSprite::FromResource(resources, id) : nullptr;
      if (!sprite) continue;
      const int height = static_cast<int>(CIsoSprite::GetHeight(sprite));
      draw(sprite, x + GetXOffset(zi, rot, l), y - (GetYOffset(zi, rot, l) + height));
    }
  }
  // Where Render would put the sprite: its id and top-left corner; 0, or 1
  // when nothing would be drawn.
  int GetRenderSpriteXY(QnoResourceManager* resources, int x, int y, unsigned char layer, TIsoRichtung rot,
                        int& spriteId, int& sx, int& sy) const;
  // The same, answering the sprite itself; null when nothing would be drawn.
  const void* GetRenderSprite(QnoResourceManager* resources, int x, int y, unsigned char layer, TIsoRichtung rot,
                              int& spriteId, int& sx, int& sy) const;

  // Draws a run-length sprite with its top-left corner at (left, top), its
  // pixels converted to the buffer's format as they are copied (the sprite
  // is only read): unclipped when it lies inside the clip rectangle, clipped
  // when partly visible, not at all when wholly outside.
  static void DrawSprite(QnoRenderBuffer* buffer, const void* sprite, int left, int top);

 private:
  CIsoTile() = delete;
  uint32_t EntryAt(int zoomIndex, int rot, int layer) const {
    const int e = GetEntriesPerZoom();
    const uint32_t n = static_cast<uint32_t>(zoomIndex * e + (rot & 3) * (e / 4) + layer);
    return kHeaderSize + n * kEntrySize;
  }
  uint8_t m_header[kHeaderSize];
};

class CIsoGroup {
 public:
  static constexpr uint32_t kHeaderSize = 64;
  static constexpr uint32_t kEntrySize = 16;
  static constexpr uint32_t kMaxEntries = 255;

  // The group resource after the layout check of iso_blob.h (W and D at
  // most 128, N at most 255, every entry present); null otherwise.
  static CIsoGroup* Get(QnoResourceManager* resources, int resId);

  int GetSizeX() const;  // W
  int GetSizeY() const;  // D
  // Micro-cell layout for zoom index 0..1 and rotation 0..3; 0 otherwise.
  uint32_t GetDataResID(int zoomIndex, int rot) const;
  int GetEntryCount() const;
  // Tile resource id of the entry at (x, y, layer); -1 when none.
  int FindObject(int x, int y, int layer) const;

 private:
  CIsoGroup() = delete;
  uint8_t m_header[kHeaderSize];
};
