#include "framework/qno_sprite.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "framework/qno_bytes.h"
#include "framework/qno_display.h"
#include "framework/qno_resource.h"

namespace {

// Walks the runs of a sprite's lines: each run is a u16 skip (transparent
// bytes, 2 per pixel), a u16 count of pixels and the pixels; a count of 0
// ends the line. The first run of the first line has its skip word in the
// upper half of the colour tag: it is always taken as 0, so a tag
// rewritten to -565 cannot turn into a 65535-byte skip. The mask does that
// without a test per run.
struct RunCursor {
  const uint8_t* p;
  uint32_t skipMask;
  RunCursor() : p(nullptr), skipMask(0) {}
  explicit RunCursor(const void* sprite)
      : p(static_cast<const uint8_t*>(sprite) + QNO_SPRITE_LINES_AT), skipMask(0) {}
  // Hands every run of the line under the cursor to
  // f(skipBytes, count, pixels) and moves the cursor to the next line.
  template <typename F>
  void ForEachRun(F&& f) {
    for (;;) {
      const uint32_t skipBytes = qno_rd16(p, 0) & skipMask;
      skipMask = 0xFFFF;
      const uint32_t count = qno_rd16(p, 2);
      p += 4;
      if (count == 0) return;
      f(skipBytes, count, p);
      p += 2 * static_cast<size_t>(count);
    }
  }
  void SkipLine() {
    ForEachRun([](uint32_t, uint32_t, const uint8_t*) {});
  }
};

// Rewrites every pixel of a sprite the caller owns.
template <typename F>
void ForEachPixel(void* sprite, F f) {
  uint8_t* base = static_cast<uint8_t*>(sprite);
  RunCursor cur(sprite);
  const uint32_t h = CIsoSprite::GetHeight(sprite);
  for (uint32_t l = 0; l < h; ++l)
    cur.ForEachRun([&](uint32_t, uint32_t count, const uint8_t* pixels) {
      uint8_t* w = base + (pixels - base);
      for (uint32_t i = 0; i < count; ++i) qno_wr16(w, 2 * i, f(qno_rd16(w, 2 * i)));
    });
}

uint16_t To555(uint16_t p) { return static_cast<uint16_t>(((p >> 6) << 8 | ((p << 3) & 0xFF)) >> 3); }
uint16_t From555(uint16_t p) { return static_cast<uint16_t>((p & 0x7FE0) << 1 | (p & 0x1F)); }
uint16_t SwapRedBlue(uint16_t p) { return static_cast<uint16_t>(p << 11 | (p & 0x7E0) | p >> 11); }

// Pixels stored in one format drawn into a buffer of another: through 565,
// the format pictures are made in. Sprites are shared resources and stay as
// stored; each pixel is converted on its way to the buffer.
struct Recolour {
  uint32_t from, to;
  uint16_t operator()(uint16_t p) const {
    if (from == QNO_SPRITE_TAG_555) p = From555(p);
    if (from == QNO_SPRITE_TAG_M565) p = SwapRedBlue(p);
    if (to == QNO_SPRITE_TAG_555) p = To555(p);
    if (to == QNO_SPRITE_TAG_M565) p = SwapRedBlue(p);
    return p;
  }
};
// Pixels copied as stored.
struct AsStored {};

// Copies the n bytes (n >= 2, even) of one run. Map sprites are cut into
// short runs, a tile wide at most: those are copied in fixed-size pieces,
// the last one overlapping the one before, which the compiler turns into
// plain loads and stores instead of a library call per run. Up to 64 bytes
// there are four sizes of run and no loop: the fewer the branches whose
// way changes from run to run, the fewer the processor guesses wrong.
inline void CopyRun(uint8_t* dst, const uint8_t* src, size_t n) {
  if (n <= 16) {
    if (n >= 8) {
      std::memcpy(dst, src, 8);
      std::memcpy(dst + n - 8, src + n - 8, 8);
    } else if (n >= 4) {
      std::memcpy(dst, src, 4);
      std::memcpy(dst + n - 4, src + n - 4, 4);
    } else {
      std::memcpy(dst, src, 2);
    }
  } else if (n <= 32) {
    std::memcpy(dst, src, 16);
    std::memcpy(dst + n - 16, src + n - 16, 16);
  } else if (n <= 64) {
    std::memcpy(dst, src, 32);
    std::memcpy(dst + n - 32, src + n - 32, 32);
  } else if (n <= 256) {
    for (size_t i = 0; i + 32 < n; i += 32) std::memcpy(dst + i, src + i, 32);
    std::memcpy(dst + n - 32, src + n - 32, 32);
  } else {
    std::memcpy(dst, src, n);
  }
}

inline void CopyPixels(uint8_t* dst, const uint8_t* src, size_t count, AsStored) { CopyRun(dst, src, 2 * count); }
inline void CopyPixels(uint8_t* dst, const uint8_t* src, size_t count, const Recolour& r) {
  for (size_t i = 0; i < count; ++i)
    qno_wr16(dst, static_cast<uint32_t>(2 * i), r(qno_rd16(src, static_cast<uint32_t>(2 * i))));
}

// Puts the picture's pixel back over dst wherever its owner is at most
// `limit`; owner 0 (no sprite) wraps past every limit. Without a branch a
// pixel, so that the compiler copies many pixels a step.
template <size_t N>
inline void PutBackPiece(uint16_t* __restrict dst, const uint16_t* __restrict picture,
                         const uint16_t* __restrict owner, uint16_t limit) {
  for (size_t i = 0; i < N; ++i) {
    const uint16_t keep = static_cast<uint16_t>(static_cast<uint16_t>(owner[i] - 1) <= limit ? 0xFFFF : 0);
    dst[i] = static_cast<uint16_t>((picture[i] & keep) | (dst[i] & ~keep));
  }
}

// The boxes put back are a car's width or so: as CopyRun does, the row goes
// in pieces of a fixed size, the last one overlapping the one before (a
// pixel put back twice is put back once), instead of a vector loop with a
// pixel-by-pixel tail for every row.
void PutBackLater(uint16_t* dst, const uint16_t* picture, const uint16_t* owner, size_t count, uint16_t limit) {
  if (count >= 8) {
    for (size_t i = 0; i + 8 < count; i += 8) PutBackPiece<8>(dst + i, picture + i, owner + i, limit);
    PutBackPiece<8>(dst + count - 8, picture + count - 8, owner + count - 8, limit);
  } else if (count >= 4) {
    PutBackPiece<4>(dst, picture, owner, limit);
    PutBackPiece<4>(dst + count - 4, picture + count - 4, owner + count - 4, limit);
  } else {
    for (size_t i = 0; i < count; ++i) PutBackPiece<1>(dst + i, picture + i, owner + i, limit);
  }
}

// The rows of a box from where its first row starts, `pitch` pixels apart
// in the buffer, the picture and the owners alike: the places are stepped
// through in locals instead of worked out again from the object's fields,
// which every store through a byte pointer forces the compiler to read
// again.
void PutBackLaterRows(uint16_t* dst, const uint16_t* picture, const uint16_t* owner, size_t count, uint16_t limit,
                      size_t pitch, int rows) {
  for (int r = 0; r < rows; ++r, dst += pitch, picture += pitch, owner += pitch)
    PutBackLater(dst, picture, owner, count, limit);
}

// The same for a copy of n bytes a row, rows `pitch` bytes apart.
void CopyRows(uint8_t* dst, const uint8_t* src, size_t n, size_t pitch, int rows) {
  for (int r = 0; r < rows; ++r, dst += pitch, src += pitch) CopyRun(dst, src, n);
}

// The span of columns [first, end) a line is cut to.
struct Columns {
  int first, end;
};
// No cut: every run is copied whole.
struct AllColumns {};

// Draws the line under the cursor to dst and moves the cursor to the next
// line: every run as one straight copy ...
template <typename Pixels = AsStored>
inline void DrawLine(RunCursor& cur, uint8_t* dst, AllColumns, Pixels px = {}) {
  cur.ForEachRun([&](uint32_t skipBytes, uint32_t count, const uint8_t* pixels) {
    dst += skipBytes;
    CopyPixels(dst, pixels, count, px);
    dst += 2 * static_cast<size_t>(count);
  });
}

// ... or only the pixels inside the span, dst standing for its first column.
template <typename Pixels = AsStored>
inline void DrawLine(RunCursor& cur, uint8_t* dst, Columns clip, Pixels px = {}) {
  int col = 0;
  cur.ForEachRun([&](uint32_t skipBytes, uint32_t count, const uint8_t* pixels) {
    col += static_cast<int>(skipBytes / 2);
    const int end = col + static_cast<int>(count);
    const int a = std::max(col, clip.first), b = std::min(end, clip.end);
    if (a < b) CopyPixels(dst + 2 * (a - clip.first), pixels + 2 * (a - col), static_cast<size_t>(b - a), px);
    col = end;
  });
}

// Draws `lineCount` lines from line `firstLine` on, each cut to `clip`, the
// first to `row` and each next one `pitch` bytes further.
template <typename Clip, typename Pixels = AsStored>
inline void DrawLines(const void* sprite, uint8_t* row, int pitch, int firstLine, int lineCount, Clip clip,
                      Pixels px = {}) {
  RunCursor cur(sprite);
  for (int l = 0; l < firstLine; ++l) cur.SkipLine();
  for (int l = 0; l < lineCount; ++l, row += pitch) DrawLine(cur, row, clip, px);
}

}  // namespace

bool CIsoSprite::Validate(const uint8_t* d, uint32_t len) {
  if (!d || len < QNO_SPRITE_LINES_AT + 4) return false;
  const uint32_t width = qno_rd32(d, 4), height = qno_rd32(d, 8), tag = qno_rd32(d, 12);
  if (tag != QNO_SPRITE_TAG_565 && tag != QNO_SPRITE_TAG_555 && tag != QNO_SPRITE_TAG_M565) return false;
  if (width > 65535 || height > 65535) return false;
  uint64_t p = QNO_SPRITE_LINES_AT;
  bool firstRun = true;
  for (uint32_t l = 0; l < height; ++l) {
    uint64_t col = 0;
    for (;;) {
      if (!qno_in_blob(p, 4, len)) return false;
      const uint32_t skip = firstRun ? 0 : qno_rd16(d, static_cast<uint32_t>(p));
      const uint32_t count = qno_rd16(d, static_cast<uint32_t>(p) + 2);
      firstRun = false;
      p += 4;
      if (count == 0) break;
      if (skip & 1) return false;
      col += skip / 2 + count;
      if (col > width || !qno_in_blob(p, 2ull * count, len)) return false;
      p += 2ull * count;
    }
  }
  return true;
}


void CIsoSprite::PutXYClipped16BitSprite(void* destination, const void* sprite, int firstColumn, int firstLine,
                                         int columnCount, int lineCount, int destinationPitch) {
  if (!destination || !sprite || columnCount <= 0 || lineCount <= 0 || firstLine < 0 || firstColumn < 0) return;
  DrawLines(sprite, static_cast<uint8_t*>(destination), destinationPitch, firstLine, lineCount,
            Columns{firstColumn, firstColumn + columnCount});
}

void CIsoSprite::PutXY16BitSprite(void* destination, const void* sprite, int destinationPitch) {
  if (!destination || !sprite) return;
  DrawLines(sprite, static_cast<uint8_t*>(destination), destinationPitch, 0, static_cast<int>(GetHeight(sprite)),
            AllColumns{});
}

void CIsoSprite::RenderClipped(QnoRenderBuffer* buffer, const void* sprite, int x, int y) {
  uint8_t* base = buffer ? buffer->GetBuffer() : nullptr;
  if (!base || !sprite) return;
  const int w = static_cast<int>(GetWidth(sprite)), h = static_cast<int>(GetHeight(sprite));
  // Wholly inside and in the buffer's format, as the map's vehicles mostly
  // are: every run is copied without cutting, and nothing else is asked.
  if (x >= buffer->ClipLeft() && y >= buffer->ClipTop() && x + w <= buffer->ClipRight() &&
      y + h <= buffer->ClipBottom() && w > 0 && h > 0 &&
      GetTag(sprite) == static_cast<uint32_t>(buffer->GetColorFormat())) {
    buffer->NoteTouched(x, y, x + w, y + h);
    DrawLines(sprite, base + static_cast<ptrdiff_t>(y) * buffer->GetPitch() + 2 * x, buffer->GetPitch(), 0, h,
              AllColumns{});
    return;
  }
  const int x0 = std::max(x, buffer->ClipLeft()), x1 = std::min(x + w, buffer->ClipRight());
  const int y0 = std::max(y, buffer->ClipTop()), y1 = std::min(y + h, buffer->ClipBottom());
  if (x0 >= x1 || y0 >= y1) return;
  buffer->NoteTouched(x0, y0, x1, y1);
  uint8_t* dst = base + static_cast<ptrdiff_t>(y0) * buffer->GetPitch() + 2 * x0;
  const int pitch = buffer->GetPitch();
  const bool whole = x0 == x && x1 == x + w && y0 == y && y1 == y + h;
  const Recolour recolour{GetTag(sprite), static_cast<uint32_t>(buffer->GetColorFormat())};
  // Wholly inside: every run is copied without cutting.
  if (recolour.from == recolour.to) {
    if (whole)
      PutXY16BitSprite(dst, sprite, pitch);
    else
      PutXYClipped16BitSprite(dst, sprite, x0 - x, y0 - y, x1 - x0, y1 - y0, pitch);
  } else if (whole) {
    DrawLines(sprite, dst, pitch, 0, h, AllColumns{}, recolour);
  } else {
    DrawLines(sprite, dst, pitch, y0 - y, y1 - y0, Columns{x0 - x, x1 - x}, recolour);
  }
}

QnoSpriteTarget::QnoSpriteTarget(QnoRenderBuffer* buffer)
    : m_buffer(buffer),
      m_pixels(buffer ? buffer->GetBuffer() : nullptr),
      m_pitch(buffer ? buffer->GetPitch() : 0),
      m_left(buffer ? buffer->ClipLeft() : 0),
      m_top(buffer ? buffer->ClipTop() : 0),
      m_right(buffer ? buffer->ClipRight() : 0),
      m_bottom(buffer ? buffer->ClipBottom() : 0),
      m_format(buffer ? static_cast<uint32_t>(buffer->GetColorFormat()) : 0) {}

void QnoSpriteTarget::Draw(const void* sprite, int x, int y) const {
  if (!m_pixels || !sprite) return;
  const int w = static_cast<int>(CIsoSprite::GetWidth(sprite)), h = static_cast<int>(CIsoSprite::GetHeight(sprite));
  if (x >= m_left && y >= m_top && x + w <= m_right && y + h <= m_bottom && CIsoSprite::GetTag(sprite) == m_format) {
    m_buffer->NoteTouched(x, y, x + w, y + h);
    DrawLines(sprite, m_pixels + static_cast<ptrdiff_t>(y) * m_pitch + 2 * x, m_pitch, 0, h, AllColumns{});
    return;
  }
  CIsoSprite::RenderClipped(m_buffer, sprite, x, y);
}

void QnoVisibleRuns::Begin(const QnoSpriteTarget& target) {
  m_buffer = target.m_buffer;
  m_pixels = target.m_pixels;
  m_pitch = target.m_pitch;
  m_left = target.m_left;
  m_top = target.m_top;
  m_right = std::max(target.m_right, target.m_left);
  m_bottom = std::max(target.m_bottom, target.m_top);
  m_format = target.m_format;
  m_words = static_cast<size_t>(m_right - m_left + 63) / 64;
  m_covered.assign(m_words * static_cast<size_t>(m_bottom - m_top), 0);
  m_runs.clear();
  m_breaks.clear();
  m_packed = false;
  m_order.clear();
  m_picture.clear();
  m_owner.clear();
  m_restorable = false;
  m_watch = 0;
  m_drawn.clear();
}

void QnoVisibleRuns::BreakBackwards(size_t tag) { m_breaks.push_back({m_runs.size(), tag, false}); }
void QnoVisibleRuns::OverlayBackwards(size_t tag) { m_breaks.push_back({m_runs.size(), tag, true}); }

void QnoVisibleRuns::AddSpan(int row, int a, int b, const uint8_t* src) {
  uint64_t* bits = m_covered.data() + static_cast<size_t>(row - m_top) * m_words;
  const uint32_t rowAt = static_cast<uint32_t>(row * m_pitch);
  // Columns relative to the clip's left edge; bit c of the row is column c.
  int c = a - m_left;
  const int end = b - m_left;
  auto bit = [&](int k) { return (bits[k >> 6] >> (k & 63)) & 1; };
  while (c < end) {
    // Past the columns drawn over already, then up to the next one.
    while (c < end && (c & 63) == 0 && end - c >= 64 && bits[c >> 6] == ~0ull) c += 64;
    while (c < end && bit(c)) ++c;
    const int from = c;
    while (c < end && (c & 63) == 0 && end - c >= 64 && bits[c >> 6] == 0) c += 64;
    while (c < end && !bit(c)) ++c;
    if (c > from)
      m_runs.push_back({src + 2 * (from - (a - m_left)), rowAt + 2 * static_cast<uint32_t>(from + m_left),
                        2 * static_cast<uint32_t>(c - from)});
  }
  for (int k = a - m_left; k < end; ++k) bits[k >> 6] |= 1ull << (k & 63);
}

bool QnoVisibleRuns::AddBackwards(const void* sprite, int x, int y) {
  if (!sprite) return true;
  if (CIsoSprite::GetTag(sprite) != m_format) return false;
  const int h = static_cast<int>(CIsoSprite::GetHeight(sprite));
  const int firstLine = std::max(0, m_top - y), endLine = std::min(h, m_bottom - y);
  if (firstLine >= endLine || x >= m_right || x + static_cast<int>(CIsoSprite::GetWidth(sprite)) <= m_left) return true;
  RunCursor cur(sprite);
  for (int l = 0; l < firstLine; ++l) cur.SkipLine();
  for (int l = firstLine; l < endLine; ++l) {
    int col = x;
    cur.ForEachRun([&](uint32_t skipBytes, uint32_t count, const uint8_t* pixels) {
      col += static_cast<int>(skipBytes / 2);
      const int a = std::max(col, m_left), b = std::min(col + static_cast<int>(count), m_right);
      if (a < b) AddSpan(y + l, a, b, pixels + 2 * (a - col));
      col += static_cast<int>(count);
    });
  }
  return true;
}

void QnoVisibleRuns::Pack() {
  // Owners are counted in 16 bits: with more breaks, every one is plain.
  constexpr size_t kMaxOwnedBreaks = 0xFFFE;
  bool overlays = false;
  for (Break& b : m_breaks) {
    if (m_breaks.size() > kMaxOwnedBreaks) b.overlay = false;
    overlays = overlays || b.overlay;
  }
  const size_t pitchPixels = static_cast<size_t>(m_pitch) / 2;
  const size_t rowsAt = static_cast<size_t>(m_top) * pitchPixels;
  m_picture.assign(static_cast<size_t>(m_bottom - m_top) * pitchPixels, 0);
  m_owner.assign(overlays ? m_picture.size() : 0, 0);
  // The runs pushed before the k-th break pushed (the sequence is added
  // from its end) have k breaks after them.
  size_t k = 0;
  for (size_t i = 0; i < m_runs.size(); ++i) {
    while (k < m_breaks.size() && m_breaks[k].first <= i) ++k;
    const Run& r = m_runs[i];
    const size_t at = r.dst / 2 - rowsAt;
    std::memcpy(m_picture.data() + at, r.src, r.bytes);
    if (overlays) std::fill_n(m_owner.data() + at, r.bytes / 2, static_cast<uint16_t>(k + 1));
  }
  // The least owner of each block, so that an overlay's box over blocks
  // that no later sprite draws costs nothing.
  m_blocksWide = static_cast<size_t>(m_right - m_left + kBlock - 1) / kBlock;
  m_blockOwner.assign(overlays ? m_blocksWide * static_cast<size_t>((m_bottom - m_top + kBlock - 1) / kBlock) : 0,
                      0xFFFF);
  // And whether a sprite draws every pixel of the block.
  std::vector<uint8_t> blockWhole(m_blockOwner.size(), 1);
  for (int row = m_top; overlays && row < m_bottom; ++row) {
    const uint16_t* owner = m_owner.data() + static_cast<size_t>(row - m_top) * pitchPixels;
    const size_t band = static_cast<size_t>((row - m_top) / kBlock) * m_blocksWide;
    uint16_t* blocks = m_blockOwner.data() + band;
    uint8_t* whole = blockWhole.data() + band;
    for (int c = m_left; c < m_right; ++c) {
      uint16_t& least = blocks[(c - m_left) / kBlock];
      least = std::min(least, static_cast<uint16_t>(owner[c] - 1));
      whole[(c - m_left) / kBlock] &= owner[c] != 0;
    }
  }
  // The open blocks counted over the rectangles from the first block.
  const size_t bands = m_blocksWide ? m_blockOwner.size() / m_blocksWide : 0;
  const size_t stride = m_blocksWide + 1;
  m_openBlocks.assign(overlays ? (bands + 1) * stride : 0, 0);
  for (size_t band = 0; band < bands; ++band) {
    uint32_t open = 0;
    for (size_t b = 0; b < m_blocksWide; ++b) {
      open += blockWhole[band * m_blocksWide + b] ? 0 : 1;
      m_openBlocks[(band + 1) * stride + b + 1] = m_openBlocks[band * stride + b + 1] + open;
    }
  }
  // The stretches are the ranges of runs between the plain breaks' first
  // runs.
  std::vector<size_t> bounds{0, m_runs.size()};
  for (const Break& b : m_breaks)
    if (!b.overlay) bounds.push_back(b.first);
  std::sort(bounds.begin(), bounds.end());
  bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
  std::vector<Run> packed;
  packed.reserve(m_runs.size());
  std::vector<size_t> newFirst(bounds.size());
  for (size_t s = 0; s + 1 < bounds.size(); ++s) {
    newFirst[s] = packed.size();
    const auto lo = m_runs.begin() + static_cast<ptrdiff_t>(bounds[s]);
    const auto hi = m_runs.begin() + static_cast<ptrdiff_t>(bounds[s + 1]);
    std::sort(lo, hi, [](const Run& a, const Run& b) { return a.dst < b.dst; });
    for (auto r = lo; r != hi; ++r) {
      // The picture's bytes follow one another as the buffer's do: a run
      // that starts where the last one ends lengthens it.
      if (packed.size() > newFirst[s] && packed.back().dst + packed.back().bytes == r->dst)
        packed.back().bytes += r->bytes;
      else
        packed.push_back({reinterpret_cast<const uint8_t*>(m_picture.data() + (r->dst / 2 - rowsAt)), r->dst, r->bytes});
    }
  }
  newFirst.back() = packed.size();
  auto packedFirst = [&](size_t first) {
    return newFirst[static_cast<size_t>(std::lower_bound(bounds.begin(), bounds.end(), first) - bounds.begin())];
  };
  // In the sequence's order: each stretch's runs, the overlays inside it,
  // then the plain break that ends it.
  m_order.clear();
  std::vector<Step> overlaysOfStretch;
  size_t end = packed.size();
  for (size_t n = m_breaks.size(); n-- > 0;) {
    const Break& b = m_breaks[n];
    if (b.overlay) {
      overlaysOfStretch.push_back({Step::kOverlay, b.tag, n});
      continue;
    }
    const size_t first = packedFirst(b.first);
    m_order.push_back({Step::kRuns, first, end});
    m_order.insert(m_order.end(), overlaysOfStretch.begin(), overlaysOfStretch.end());
    overlaysOfStretch.clear();
    m_order.push_back({Step::kBreak, b.tag, 0});
    end = first;
  }
  m_order.push_back({Step::kRuns, 0, end});
  m_order.insert(m_order.end(), overlaysOfStretch.begin(), overlaysOfStretch.end());
  m_runs = std::move(packed);
  m_packed = true;
  m_restorable = overlays && bounds.size() == 2;
  m_watch = 0;
  m_drawn.clear();
}

void QnoVisibleRuns::StartOverlay(size_t at) {
  m_touched.clear();
  m_overlayAt = at;
  if (!m_buffer) return;
  m_buffer->SetTouchedList(&m_touched);
  m_buffer->SetOverlayRuns(this, m_stretch, static_cast<uint32_t>(m_drawn.size()), static_cast<uint32_t>(at));
}

void QnoVisibleRuns::NextStretch() {
  static uint32_t s_serial = 0;
  if (++s_serial == 0) ++s_serial;
  m_stretch = s_serial;
}

bool QnoVisibleRuns::RedrawChangesNothing(const QnoDrawMark& mark, const QnoBox& box) const {
  if (mark.stretch != m_stretch || mark.stretch == 0 || mark.overlay < m_overlayAt || m_blockOwner.empty())
    return false;
  // The first draw was cut to the clip rectangle, the one of the runs.
  if (box.left >= box.right || box.top >= box.bottom || box.left < m_left || box.right > m_right ||
      box.top < m_top || box.bottom > m_bottom)
    return false;
  const size_t drawn = m_drawn.size(), total = drawn + m_touched.size();
  if (mark.box > total) return false;
  for (size_t i = mark.box; i < total; ++i) {
    const QnoBox& b = i < drawn ? m_drawn[i] : m_touched[i - drawn];
    if (b.left < box.right && box.left < b.right && b.top < box.bottom && box.top < b.bottom) return false;
  }
  // A pixel's owner - 1 counts the breaks after its sprite: the sprites
  // after the mark's overlay and up to this one count from this one's
  // number + 1 to the mark's. Blocks whose least owner lies before the
  // mark's overlay hold none of them.
  const uint16_t after = static_cast<uint16_t>(m_overlayAt + 1);
  const uint16_t span = static_cast<uint16_t>(mark.overlay - m_overlayAt);
  const size_t pitchPixels = static_cast<size_t>(m_pitch) / 2;
  const int firstBlock = (box.left - m_left) / kBlock, lastBlock = (box.right - 1 - m_left) / kBlock;
  for (int blockRow = (box.top - m_top) / kBlock; blockRow <= (box.bottom - 1 - m_top) / kBlock; ++blockRow) {
    const uint16_t* blocks = m_blockOwner.data() + static_cast<size_t>(blockRow) * m_blocksWide;
    for (int b = firstBlock; b <= lastBlock; ++b) {
      if (blocks[b] > mark.overlay) continue;
      const int c0 = std::max(box.left, m_left + b * kBlock), c1 = std::min(box.right, m_left + (b + 1) * kBlock);
      const int r0 = std::max(box.top, m_top + blockRow * kBlock);
      const int r1 = std::min(box.bottom, m_top + (blockRow + 1) * kBlock);
      for (int row = r0; row < r1; ++row) {
        const uint16_t* owner = m_owner.data() + static_cast<size_t>(row - m_top) * pitchPixels;
        for (int c = c0; c < c1; ++c)
          if (static_cast<uint16_t>(owner[c] - 1 - after) < span) return false;
      }
    }
  }
  return true;
}

void QnoVisibleRuns::EndOverlay(size_t later) {
  if (!m_buffer) return;
  m_buffer->SetTouchedList(nullptr);
  // Kept for the next draw's put back, and meanwhile for the marks.
  m_drawn.insert(m_drawn.end(), m_touched.begin(), m_touched.end());
  const size_t pitchPixels = static_cast<size_t>(m_pitch) / 2;
  const uint16_t limit = static_cast<uint16_t>(later);
  for (const QnoBox& box : m_touched) {
    // The list is cut to the buffer's clip rectangle, which the key of the
    // recorded frame holds to the one the runs were made for.
    const int left = std::max(box.left, m_left), right = std::min(box.right, m_right);
    const int top = std::max(box.top, m_top), bottom = std::min(box.bottom, m_bottom);
    if (left >= right || top >= bottom) continue;
    const int firstBlock = (left - m_left) / kBlock, lastBlock = (right - 1 - m_left) / kBlock;
    for (int blockRow = (top - m_top) / kBlock; blockRow <= (bottom - 1 - m_top) / kBlock; ++blockRow) {
      // The columns of the blocks in this band that a later sprite draws.
      const uint16_t* blocks = m_blockOwner.data() + static_cast<size_t>(blockRow) * m_blocksWide;
      int a = firstBlock, b = lastBlock;
      while (a <= b && blocks[a] > limit) ++a;
      while (b >= a && blocks[b] > limit) --b;
      if (a > b) continue;
      const int c0 = std::max(left, m_left + a * kBlock), c1 = std::min(right, m_left + (b + 1) * kBlock);
      const int r0 = std::max(top, m_top + blockRow * kBlock), r1 = std::min(bottom, m_top + (blockRow + 1) * kBlock);
      for (int row = r0; row < r1; ++row) {
        uint16_t* dst = reinterpret_cast<uint16_t*>(m_pixels + static_cast<ptrdiff_t>(row) * m_pitch);
        const size_t at = static_cast<size_t>(row - m_top) * pitchPixels;
        PutBackLater(dst + c0, m_picture.data() + at + c0, m_owner.data() + at + c0, static_cast<size_t>(c1 - c0),
                     limit);
      }
    }
  }
}

void QnoVisibleRuns::PutBackDrawn(const std::vector<QnoBox>& since) {
  const size_t pitchPixels = static_cast<size_t>(m_pitch) / 2;
  // Box by box: where boxes overlap, the picture is put back twice, which
  // costs less than working out their union.
  auto putBack = [&](const QnoBox& box) {
    const int left = std::max(box.left, m_left), right = std::min(box.right, m_right);
    const int top = std::max(box.top, m_top), bottom = std::min(box.bottom, m_bottom);
    if (left >= right || top >= bottom) return;
    // Inside blocks that sprites draw wholly, a copy; elsewhere only the
    // pixels a sprite draws, and those no sprite draws keep what the
    // buffer holds, as a draw of the runs leaves them.
    const bool whole = BlocksWhole(static_cast<unsigned>(top - m_top) / kBlock,
                                   static_cast<unsigned>(bottom - 1 - m_top) / kBlock,
                                   static_cast<unsigned>(left - m_left) / kBlock,
                                   static_cast<unsigned>(right - 1 - m_left) / kBlock);
    const size_t count = static_cast<size_t>(right - left);
    // The buffer's rows of 16-bit pixels are pitchPixels apart, as the
    // picture's are.
    uint8_t* dst = m_pixels + static_cast<ptrdiff_t>(top) * m_pitch + 2 * left;
    const size_t at = static_cast<size_t>(top - m_top) * pitchPixels + static_cast<size_t>(left);
    if (whole)
      CopyRows(dst, reinterpret_cast<const uint8_t*>(m_picture.data() + at), 2 * count, 2 * pitchPixels,
               bottom - top);
    else
      PutBackLaterRows(reinterpret_cast<uint16_t*>(dst), m_picture.data() + at, m_owner.data() + at, count, 0xFFFE,
                       pitchPixels, bottom - top);
  };
  for (const QnoBox& box : since) putBack(box);
  for (const QnoBox& box : m_drawn) putBack(box);
}

void QnoVisibleRuns::DrawRuns(size_t first, size_t end) const {
  for (size_t i = first; i < end; ++i) CopyRun(m_pixels + m_runs[i].dst, m_runs[i].src, m_runs[i].bytes);
}

void CIsoSprite::RenderIsoClipped(QnoRenderBuffer* buffer, const void* sprite, int x, int y, int tileX, int tileY,
                                  int tileWidth, int tileHeight) {
  RenderIsoClipped(buffer, sprite, x, y, tileX, tileY, tileWidth, tileHeight,
                   IsoClippedBox(buffer, sprite, x, y, tileX, tileY, tileWidth, tileHeight));
}

void CIsoSprite::RenderIsoClipped(QnoRenderBuffer* buffer, const void* sprite, int x, int y, int tileX, int tileY,
                                  int tileWidth, int tileHeight, const QnoBox& box) {
  uint8_t* base = buffer ? buffer->GetBuffer() : nullptr;
  if (!base || !sprite || box.left >= box.right || box.top >= box.bottom) return;
  buffer->NoteTouched(box.left, box.top, box.right, box.bottom);
  const int w = static_cast<int>(GetWidth(sprite));
  const Recolour recolour{GetTag(sprite), static_cast<uint32_t>(buffer->GetColorFormat())};
  const int colEnd = std::min(w, tileX + tileWidth - x);
  const int lineEnd = box.bottom - y;
  const int mid = tileY + tileHeight / 2;
  RunCursor cur(sprite);
  for (int l = 0; l < lineEnd; ++l) {
    const int row = y + l;
    // Below the middle line the diamond narrows by 2 pixels per line on
    // each side.
    const int k = std::max(0, row - mid);
    const int first = std::max({0, tileX - x, tileX + 2 * k - x});
    const int end = std::min(colEnd, tileX + tileWidth - 2 * k - x);
    if (end <= first) {
      if (row > mid) break;
      cur.SkipLine();
      continue;
    }
    uint8_t* dst = base + static_cast<ptrdiff_t>(row) * buffer->GetPitch() + 2 * (x + first);
    if (recolour.from == recolour.to)
      DrawLine(cur, dst, Columns{first, end});
    else
      DrawLine(cur, dst, Columns{first, end}, recolour);
  }
}

QnoBox CIsoSprite::IsoClippedBox(const QnoRenderBuffer* buffer, const void* sprite, int x, int y, int tileX,
                                 int tileY, int tileWidth, int tileHeight) {
  if (!buffer || !sprite) return {};
  const int w = static_cast<int>(GetWidth(sprite)), h = static_cast<int>(GetHeight(sprite));
  // A sprite that reaches the buffer's edge is not drawn at all.
  if (x < 1 || y < 1 || x + w >= buffer->GetWidth() || y + h >= buffer->GetHeight()) return {};
  const int colEnd = std::min(w, tileX + tileWidth - x);
  const int lineEnd = std::min(h, tileY + tileHeight - y);
  if (lineEnd <= 0) return {};
  // Only the tile's columns and lines are drawn.
  return {std::max(x, tileX), y, x + std::max(colEnd, 0), y + lineEnd};
}

bool CIsoSprite::IsCovered(const void* sprite, int x, int y, const QnoPlacedSprite* covers, int count) {
  constexpr int kMaxCovers = 16, kMaxSpans = 64;
  if (!sprite || !covers || count <= 0 || count > kMaxCovers) return false;
  struct Cover {
    RunCursor cur;
    int nextLine, height, x, y;
  };
  Cover c[kMaxCovers] = {};
  for (int i = 0; i < count; ++i) {
    if (!covers[i].sprite) return false;
    c[i] = Cover{RunCursor(covers[i].sprite), 0, static_cast<int>(GetHeight(covers[i].sprite)), covers[i].x, covers[i].y};
  }
  struct Span {
    int a, b;
  };
  RunCursor own(sprite);
  const int h = static_cast<int>(GetHeight(sprite));
  for (int l = 0; l < h; ++l) {
    const int row = y + l;
    // The covers' visible spans on this screen row, merged.
    Span spans[kMaxSpans];
    int n = 0;
    bool tooMany = false;
    for (int i = 0; i < count; ++i) {
      Cover& cv = c[i];
      const int line = row - cv.y;
      if (line < 0 || line >= cv.height) continue;
      for (; cv.nextLine < line; ++cv.nextLine) cv.cur.SkipLine();
      int col = cv.x;
      cv.cur.ForEachRun([&](uint32_t skipBytes, uint32_t runCount, const uint8_t*) {
        col += static_cast<int>(skipBytes / 2);
        if (n < kMaxSpans)
          spans[n++] = Span{col, col + static_cast<int>(runCount)};
        else
          tooMany = true;
        col += static_cast<int>(runCount);
      });
      ++cv.nextLine;
    }
    if (tooMany) return false;
    std::sort(spans, spans + n, [](const Span& p, const Span& q) { return p.a < q.a; });
    int m = 0;
    for (int i = 0; i < n; ++i) {
      if (m > 0 && spans[i].a <= spans[m - 1].b)
        spans[m - 1].b = std::max(spans[m - 1].b, spans[i].b);
      else
        spans[m++] = spans[i];
    }
    // Every run of the sprite's line inside one merged span.
    bool covered = true;
    int col = x;
    own.ForEachRun([&](uint32_t skipBytes, uint32_t runCount, const uint8_t*) {
      col += static_cast<int>(skipBytes / 2);
      const int a = col, b = col + static_cast<int>(runCount);
      col = b;
      bool inside = false;
      for (int i = 0; i < m && !inside; ++i) inside = spans[i].a <= a && b <= spans[i].b;
      covered = covered && inside;
    });
    if (!covered) return false;
  }
  return true;
}

void CIsoSprite::Convert565SpriteTo555Sprite(void* sprite) {
  qno_wr32(sprite, 12, QNO_SPRITE_TAG_555);
  ForEachPixel(sprite, To555);
}

void CIsoSprite::Convert565SpriteToM565Sprite(void* sprite) {
  qno_wr32(sprite, 12, QNO_SPRITE_TAG_M565);
  ForEachPixel(sprite, SwapRedBlue);
}

void CIsoSprite::ConvertToFormat(void* sprite, int format) {
  const uint32_t tag = GetTag(sprite), want = static_cast<uint32_t>(format);
  if (tag == want) return;
  // Through 565: the only format pictures are stored in.
  if (tag == QNO_SPRITE_TAG_555) ForEachPixel(sprite, From555);
  if (tag == QNO_SPRITE_TAG_M565) ForEachPixel(sprite, SwapRedBlue);
  qno_wr32(sprite, 12, QNO_SPRITE_TAG_565);
  if (want == QNO_SPRITE_TAG_555) Convert565SpriteTo555Sprite(sprite);
  if (want == QNO_SPRITE_TAG_M565) Convert565SpriteToM565Sprite(sprite);
}

namespace {

// A point of a line's parameter range as an exact fraction: num / den, den > 0.
struct SLineParam {
  int64_t num, den;
};

bool Before(SLineParam a, SLineParam b) {
  return static_cast<__int128>(a.num) * b.den < static_cast<__int128>(b.num) * a.den;
}

}  // namespace

bool CIsoSprite::ClipLine(int& x1, int& y1, int& x2, int& y2, int width, int height) {
  if (width <= 0 || height <= 0) return false;
  // Cuts the segment's parameter range [t0, t1] against each edge of the
  // rectangle, with exact fractions: no division by a zero length, no end
  // pushed beyond the range of an int, no rounding that decides which edge
  // an end is moved onto. A line that misses the rectangle leaves an empty
  // range and is refused.
  const int64_t ax = x1, ay = y1, dx = static_cast<int64_t>(x2) - ax, dy = static_cast<int64_t>(y2) - ay;
  const int64_t lastX = width - 1, lastY = height - 1;
  SLineParam t0{0, 1}, t1{1, 1};
  int edge0 = -1, edge1 = -1;  // the edge each end is moved onto, -1 for none
  const int64_t p[4] = {-dx, dx, -dy, dy};
  const int64_t q[4] = {ax, lastX - ax, ay, lastY - ay};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;  // parallel to this edge and beyond it
      continue;
    }
    const SLineParam r = p[i] < 0 ? SLineParam{-q[i], -p[i]} : SLineParam{q[i], p[i]};
    if (p[i] < 0) {
      if (Before(t1, r)) return false;
      if (Before(t0, r)) t0 = r, edge0 = i;
    } else {
      if (Before(r, t0)) return false;
      if (Before(r, t1)) t1 = r, edge1 = i;
    }
  }
  // An end moved onto an edge takes that edge's coordinate; the other one is
  // the line's value there, truncated. The exact value lies inside the
  // rectangle, so the truncated one does too.
  auto move = [&](int edge, int& x, int& y) {
    if (edge < 0) return;
    if (edge < 2) {
      const int64_t ex = edge == 0 ? 0 : lastX;
      x = static_cast<int>(ex);
      y = static_cast<int>((static_cast<__int128>(ay) * dx + static_cast<__int128>(ex - ax) * dy) / dx);
    } else {
      const int64_t ey = edge == 2 ? 0 : lastY;
      y = static_cast<int>(ey);
      x = static_cast<int>((static_cast<__int128>(ax) * dy + static_cast<__int128>(ey - ay) * dx) / dy);
    }
  };
  move(edge0, x1, y1);
  move(edge1, x2, y2);
  return true;
}

void CIsoSprite::LineMemory(void* pixels, int width, int height, int x1, int y1, int x2, int y2, uint16_t pixel) {
  if (!pixels) return;
  uint8_t* base = static_cast<uint8_t*>(pixels);
  const int pitch = 2 * width;
  if (!ClipLine(x1, y1, x2, y2, width, height)) return;
  const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
  const int sx = x2 >= x1 ? 1 : -1, sy = y2 >= y1 ? 1 : -1;
  auto plot = [&](int x, int y) { qno_wr16(base, static_cast<uint32_t>(y * pitch + 2 * x), pixel); };
  int x = x1, y = y1;
  if (dx >= dy) {
    int err = 2 * dy - dx;
    for (int i = 0; i <= dx; ++i, x += sx) {
      plot(x, y);
      if (err > 0) {
        y += sy;
        err -= 2 * dx;
      }
      err += 2 * dy;
    }
  } else {
    int err = 2 * dx - dy;
    for (int i = 0; i <= dy; ++i, y += sy) {
      plot(x, y);
      if (err > 0) {
        x += sx;
        err -= 2 * dy;
      }
      err += 2 * dx;
    }
  }
}

void CIsoSprite::Line(QnoRenderBuffer* buffer, int x1, int y1, int x2, int y2, uint16_t pixel) {
  if (!buffer || !buffer->GetBuffer()) return;
  // The buffer's rows may be padded: draw row by row with its pitch.
  const int pitchPixels = buffer->GetPitch() / 2;
  if (!ClipLine(x1, y1, x2, y2, buffer->GetWidth(), buffer->GetHeight())) return;
  buffer->NoteTouched(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1);
  LineMemory(buffer->GetBuffer(), pitchPixels, buffer->GetHeight(), x1, y1, x2, y2, pixel);
}
