#pragma once
// 16-bit run-length sprites of the isometric map, and clipped 16-bit lines.
// Sprites are stored line by line as runs of transparent and opaque pixels,
// so a blit copies only visible pixels.
#include <cstdint>

#include "framework/qno_bytes.h"
#include "framework/qno_resource.h"

class QnoRenderBuffer;

constexpr uint32_t QNO_SPRITE_LINES_AT = 14;
constexpr uint32_t QNO_SPRITE_TAG_565 = 565;
constexpr uint32_t QNO_SPRITE_TAG_555 = 555;
constexpr uint32_t QNO_SPRITE_TAG_M565 = static_cast<uint32_t>(-565);

// A sprite with its top-left corner at (x, y).
struct QnoPlacedSprite {
  const void* sprite;
  int x, y;
};

// A render buffer's pixels and clip rectangle, read once for the many
// sprites of a frame.
class QnoSpriteTarget {
 public:
  explicit QnoSpriteTarget(QnoRenderBuffer* buffer);
  // Draws as CIsoSprite::RenderClipped does; a sprite of the buffer's
  // format wholly inside the clip rectangle goes straight to the uncut
  // copy.
  void Draw(const void* sprite, int x, int y) const;

 private:
  QnoRenderBuffer* m_buffer;
  uint8_t* m_pixels;
  int m_pitch, m_left, m_top, m_right, m_bottom;
  uint32_t m_format;
};

class CIsoSprite {
 public:
  // True when the tag is known and every line's runs stay inside the blob
  // and inside the sprite's width.
  static bool Validate(const uint8_t* data, uint32_t length);
  // Inline: a turn's first frame asks for the sprite of every cell's layers.
  static void* FromResource(QnoResourceManager* manager, unsigned id) {
    return manager ? manager->GetResource(id, &CIsoSprite::Validate) : nullptr;
  }

  // Inline: the map reads them for every sprite it places and draws.
  static uint32_t GetWidth(const void* sprite) { return qno_rd32(sprite, 4); }
  static uint32_t GetHeight(const void* sprite) { return qno_rd32(sprite, 8); }
  static uint32_t GetTag(const void* sprite) { return qno_rd32(sprite, 12); }

  // Draws the window of `lineCount` lines and `columnCount` columns that
  // starts at (firstColumn, firstLine) of the sprite; `destination` is where
  // the window's top-left pixel goes.
  static void PutXYClipped16BitSprite(void* destination, const void* sprite, int firstColumn, int firstLine,
                                      int columnCount, int lineCount, int destinationPitch);
  // Draws the whole sprite, uncut, with its top-left pixel at `destination`:
  // the caller knows it lies inside the buffer.
  static void PutXY16BitSprite(void* destination, const void* sprite, int destinationPitch);
  // Draws the whole sprite with its top-left corner at (x, y), clipped to
  // the buffer's clip rectangle, each pixel converted to the buffer's format
  // on the way; the sprite itself is only read. A sprite wholly inside the
  // rectangle takes the uncut copy.
  static void RenderClipped(QnoRenderBuffer* buffer, const void* sprite, int x, int y);
  static void RenderIsoClipped(QnoRenderBuffer* buffer, const void* sprite, int x, int y, int tileX, int tileY,
                               int tileWidth, int tileHeight);

  // True when every visible pixel of `sprite` with its top-left corner at
  // (x, y) lies under a visible pixel of at least one of the `count`
  // covers, so that drawing the covers after it leaves nothing of it; false
  // also when there are more covers or cover runs on a line than it checks.
  static bool IsCovered(const void* sprite, int x, int y, const QnoPlacedSprite* covers, int count);

  // In-place conversions of a sprite the caller owns (never a resource:
  // those are shared and drawn through the converting blits above).
  static void Convert565SpriteTo555Sprite(void* sprite);
  static void Convert565SpriteToM565Sprite(void* sprite);
  // Brings an owned sprite to a colour format (565, 555 or -565) from
  // whatever its tag says; nothing when they agree.
  static void ConvertToFormat(void* sprite, int format);

  static void Line(QnoRenderBuffer* buffer, int x1, int y1, int x2, int y2, uint16_t pixel);
  static void LineMemory(void* pixels, int width, int height, int x1, int y1, int x2, int y2, uint16_t pixel);
  static bool ClipLine(int& x1, int& y1, int& x2, int& y2, int width, int height);
};
