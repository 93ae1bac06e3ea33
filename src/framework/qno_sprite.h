#pragma once
// 16-bit run-length sprites of the isometric map, and clipped 16-bit lines.
// Sprites are stored line by line as runs of transparent and opaque pixels,
// so a blit copies only visible pixels.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/qno_bytes.h"
#include "framework/qno_display.h"
#include "framework/qno_resource.h"

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
  friend class QnoVisibleRuns;
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

// The pixels of a sequence of sprites drawn through one target that no
// later sprite of the sequence draws over, as runs to copy. Drawn in the
// order of the sequence's breaks (points where other work draws in
// between), they leave the buffer as drawing every sprite would, each
// pixel written once.
class QnoVisibleRuns {
 public:
  QnoVisibleRuns() = default;
  // Packed runs point into the picture: a copy would point into the
  // original's.
  QnoVisibleRuns(const QnoVisibleRuns&) = delete;
  QnoVisibleRuns& operator=(const QnoVisibleRuns&) = delete;
  QnoVisibleRuns(QnoVisibleRuns&&) = default;
  QnoVisibleRuns& operator=(QnoVisibleRuns&&) = default;
  // Starts over for the target's buffer and clip rectangle.
  void Begin(const QnoSpriteTarget& target);
  // The sequence is added from its last item to its first: a sprite with
  // its top-left corner at (x, y), or a break that `tag` names. False (and
  // nothing kept) for a sprite of another format than the buffer's.
  bool AddBackwards(const void* sprite, int x, int y);
  void BreakBackwards(size_t tag);
  // A break whose work draws little (a cell's vehicles): once packed, the
  // runs are not cut at it. Its work is done after the runs up to the next
  // plain break, and then the pixels of the sprites after it in the
  // sequence are put back wherever the buffer says the work drew, which
  // leaves the picture the sequence's order gives. Unpacked, it is a break.
  void OverlayBackwards(size_t tag);
  // Draws the runs in the sequence's order, calling atBreak(tag) at each
  // break.
  template <typename F>
  bool Draw(F&& atBreak) {
    return Draw([](size_t) { return false; }, atBreak);
  }
  // The same, passing over the overlays whose work the caller knows draws
  // nothing this time (drawsNothing(tag)), with no watch over the buffer.
  // True when only what changed was drawn (below).
  //
  // Packed runs with overlays and no plain break are drawn again only where
  // the buffer changed when the buffer still holds their last draw: the
  // picture is put back where the last draw's overlays drew and where the
  // buffer's watch, begun at the end of that draw, saw drawing since; the
  // rest holds the picture already.
  template <typename Skip, typename F>
  bool Draw(Skip&& drawsNothing, F&& atBreak) {
    if (!m_packed) {
      size_t end = m_runs.size();
      for (auto b = m_breaks.rbegin(); b != m_breaks.rend(); ++b) {
        DrawRuns(b->first, end);
        if (!b->overlay || !drawsNothing(b->tag)) atBreak(b->tag);
        end = b->first;
      }
      DrawRuns(0, end);
      return false;
    }
    const std::vector<QnoBox>* since = m_restorable && m_buffer ? m_buffer->DrawnSince(m_watch) : nullptr;
    m_watch = 0;
    for (const Step& step : m_order) {
      if (step.kind == Step::kRuns) {
        if (since)
          PutBackDrawn(*since);
        else
          DrawRuns(step.first, step.end);
        m_drawn.clear();
        NextStretch();
      } else if (step.kind == Step::kBreak) {
        atBreak(step.first);
      } else if (!drawsNothing(step.first)) {
        StartOverlay(step.end);
        atBreak(step.first);
        EndOverlay(step.end);
      }
    }
    if (m_restorable && m_buffer) m_watch = m_buffer->StartWatch();
    return since != nullptr;
  }
  // Inside an overlay's work: whether the buffer says it has drawn yet.
  bool OverlayDrew() const { return !m_touched.empty(); }
  // Inside an overlay's work, through the buffer (QnoRenderBuffer::
  // MarkDrawing and RedrawChangesNothing): whether drawing again inside
  // `box` the pixels of a sprite drawn at `mark` changes the picture the
  // sequence leaves. It does not when no overlay's work drew into the box
  // since the mark and no pixel of the box belongs to a sprite between the
  // mark's overlay and this one: the box then holds the sprite's own
  // pixels, or those of sprites after this overlay, which are put back
  // over it after the work.
  bool RedrawChangesNothing(const QnoDrawMark& mark, const QnoBox& box) const;
  // Copies the runs' pixels into a picture of the object's own (laid out
  // as the buffer's rows), sorts each stretch between two plain breaks in
  // the buffer's order and joins the runs whose bytes follow one another:
  // drawing then copies a few long runs from one place instead of many
  // short ones from the sprites. The picture drawn stays the same (the
  // pixels of a stretch never overlap); the runs no longer read the
  // sprites.
  void Pack();
  // The bytes the runs copy.
  uint64_t ByteCount() const {
    uint64_t n = 0;
    for (const Run& r : m_runs) n += r.bytes;
    return n;
  }
  // The copies a draw makes.
  size_t RunCount() const { return m_runs.size(); }

 private:
  struct Run {
    const uint8_t* src;
    uint32_t dst;    // byte offset in the buffer
    uint32_t bytes;
  };
  struct Break {
    size_t first;  // the runs before it in the sequence start here
    size_t tag;
    bool overlay;
  };
  // One step of a packed draw, in the sequence's order: the runs
  // [first, end); a break with tag `first`; an overlay with tag `first`
  // after which the pixels whose owner is at most `end` are put back.
  struct Step {
    enum Kind : uint8_t { kRuns, kBreak, kOverlay } kind;
    size_t first, end;
  };
  void DrawRuns(size_t first, size_t end) const;
  // Adds the parts of columns [a, b) of the row not drawn over yet, from
  // src on, and marks the columns drawn over.
  void AddSpan(int row, int a, int b, const uint8_t* src);
  // Around an overlay's work: the buffer lists where it draws, then the
  // later sprites' pixels there are put back.
  void StartOverlay(size_t at);
  void EndOverlay(size_t later);
  // Numbers the stretches drawn, of every object alike, so that a mark
  // made in one holds in no other.
  void NextStretch();
  // Puts the picture back inside the boxes drawn since the last draw and
  // the boxes its overlays drew in.
  void PutBackDrawn(const std::vector<QnoBox>& since);

  QnoRenderBuffer* m_buffer = nullptr;
  uint8_t* m_pixels = nullptr;
  int m_pitch = 0, m_left = 0, m_top = 0, m_right = 0, m_bottom = 0;
  uint32_t m_format = 0;
  size_t m_words = 0;  // 64-bit words of the drawn-over bits a row
  std::vector<uint64_t> m_covered;
  std::vector<Run> m_runs;
  std::vector<Break> m_breaks;  // the sequence's last break first
  bool m_packed = false;
  std::vector<Step> m_order;
  // The packed pixels, rows m_top.. of the buffer's pitch, and for each
  // pixel 1 + the number of breaks after the sprite it comes from (0: no
  // sprite draws it); the owners are kept only when there are overlays.
  std::vector<uint16_t> m_picture;
  std::vector<uint16_t> m_owner;
  // The least owner - 1 (as 16 bits: 0xFFFF for no sprite) of each block
  // of kBlock x kBlock pixels of the clip rectangle, m_blocksWide a row.
  static constexpr int kBlock = 8;
  std::vector<uint16_t> m_blockOwner;
  size_t m_blocksWide = 0;
  // The blocks that some pixel of no sprite leaves open, counted over every
  // rectangle of blocks from the first: entry (band, block) of rows
  // m_blocksWide + 1 long counts those above band and left of block, so
  // that four entries tell whether a box lies wholly over drawn blocks.
  std::vector<uint32_t> m_openBlocks;
  // Whether the blocks [firstBlock, lastBlock] of the bands [firstBand,
  // lastBand] are all drawn wholly by sprites.
  bool BlocksWhole(size_t firstBand, size_t lastBand, size_t firstBlock, size_t lastBlock) const {
    const size_t stride = m_blocksWide + 1;
    const uint32_t* top = m_openBlocks.data() + firstBand * stride;
    const uint32_t* bottom = m_openBlocks.data() + (lastBand + 1) * stride;
    return bottom[lastBlock + 1] - bottom[firstBlock] - top[lastBlock + 1] + top[firstBlock] == 0;
  }
  std::vector<QnoBox> m_touched;
  // The stretch being drawn, and the break number of the overlay whose
  // work is being done.
  uint32_t m_stretch = 0;
  size_t m_overlayAt = 0;
  // One stretch of runs and overlays after it: a draw may put back only
  // what changed.
  bool m_restorable = false;
  // The buffer's watch begun at the end of the last draw, and the boxes
  // that draw's overlays drew in (those of this stretch while drawing).
  unsigned m_watch = 0;
  std::vector<QnoBox> m_drawn;
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
  // The same inside `box`, which IsoClippedBox gave for these arguments.
  static void RenderIsoClipped(QnoRenderBuffer* buffer, const void* sprite, int x, int y, int tileX, int tileY,
                               int tileWidth, int tileHeight, const QnoBox& box);
  // The box that holds every pixel RenderIsoClipped may draw (empty when
  // it draws none).
  static QnoBox IsoClippedBox(const QnoRenderBuffer* buffer, const void* sprite, int x, int y, int tileX, int tileY,
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
