#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <random>
#include <set>
#include <tuple>
#include <utility>

#include "framework/qno_bitmap.h"
#include "framework/qno_bytes.h"
#include "framework/qno_sprite.h"
#include "gfx_test_util.h"

using gfxtest::AddArchive;
using gfxtest::Canvas;
using zorgen::Bytes;
using zorgen::Image16;

namespace {

// A hand-made sprite: header, then the given u16 words from offset 14.
Bytes RawSprite(uint32_t width, uint32_t height, std::vector<uint16_t> words) {
  Bytes b(14 + 2 * words.size(), 0);
  qno_wr32(b.data(), 4, width);
  qno_wr32(b.data(), 8, height);
  qno_wr16(b.data(), 12, 565);
  for (size_t i = 0; i < words.size(); ++i) qno_wr16(b.data(), static_cast<uint32_t>(14 + 2 * i), words[i]);
  return b;
}

bool Valid(const Bytes& b) { return CIsoSprite::Validate(b.data(), static_cast<uint32_t>(b.size())); }

// A diamond-ish picture: row y visible from |y - 4| to 11 - |y - 4|, value 100 y + x.
Image16 Shape() {
  Image16 im(12, 9, 0, 0);
  for (int y = 0; y < 9; ++y)
    for (int x = std::abs(y - 4); x < 12 - std::abs(y - 4); ++x) {
      im.At(x, y) = static_cast<uint16_t>(100 * y + x);
      im.Visible(x, y) = 1;
    }
  return im;
}


// Every run length from 1 to 40 pixels: line y holds a run of y + 1 pixels
// that starts y % 5 columns in, a gap of 2 and a run of 40 - y pixels;
// line 20 is empty. Pixel (x, y) is 1000 + 64 y + x.
Image16 Ladder() {
  Image16 im(64, 40, 0, 0);
  for (int y = 0; y < 40; ++y) {
    if (y == 20) continue;
    const int a = y % 5, n = y + 1;
    for (int x = a; x < a + n + 2 + (40 - y); ++x) {
      if (x >= a + n && x < a + n + 2) continue;
      im.At(x, y) = static_cast<uint16_t>(1000 + 64 * y + x);
      im.Visible(x, y) = 1;
    }
  }
  return im;
}

constexpr uint16_t kBackground = 0xFFFF;

// What a canvas of w x h pixels filled with kBackground must show after
// the picture is drawn with its top-left pixel at (x, y), cut to the clip
// rectangle [left, right) x [top, bottom).
std::vector<uint16_t> Expected(const Image16& im, int x, int y, int w, int h, int left, int top, int right,
                               int bottom) {
  std::vector<uint16_t> v(static_cast<size_t>(w) * h, kBackground);
  for (int py = 0; py < im.height; ++py)
    for (int px = 0; px < im.width; ++px) {
      const int cx = x + px, cy = y + py;
      if (cx >= left && cx < right && cy >= top && cy < bottom && im.visible[py * im.width + px])
        v[static_cast<size_t>(cy) * w + cx] = im.pixels[py * im.width + px];
    }
  return v;
}

std::vector<uint16_t> Shown(const Canvas& c) {
  std::vector<uint16_t> v;
  for (int y = 0; y < c.surface.s->h; ++y)
    for (int x = 0; x < c.surface.s->w; ++x) v.push_back(c.At(x, y));
  return v;
}

uint8_t* PixelAt(Canvas& c, int x, int y) { return c.rb.GetBuffer() + y * c.rb.GetPitch() + 2 * x; }

}  // namespace

TEST(Sprite, SkipsAreCountedInBytes) {
  // line 0: first run (skip forced 0) of count 0 ends it; line 1: skip 20 bytes, 3 pixels.
  Bytes s = RawSprite(16, 2, {0, 0, 20, 3, 7, 8, 9, 0, 0});
  ASSERT_TRUE(Valid(s));
  Canvas c(20, 4);
  CIsoSprite::PutXYClipped16BitSprite(c.rb.GetBuffer(), s.data(), 0, 0, 16, 2, c.rb.GetPitch());
  EXPECT_EQ(c.surface.CountNot(0), 3);
  EXPECT_EQ(c.At(10, 1), 7);
  EXPECT_EQ(c.At(12, 1), 9);
}

TEST(Sprite, WriterRoundTripsAndWindowsStartInsideRuns) {
  int added = -1;
  Bytes s = zorgen::WriteSprite(Shape(), &added);
  ASSERT_TRUE(Valid(s));
  ASSERT_EQ(added, 1);  // the first line starts transparent
  const Image16 im = Shape();
  // Window: columns 5..9 of lines 2..6 of the picture (lines 3..7 of the sprite).
  Canvas c(20, 20);
  c.surface.Fill(0xFFFF);
  CIsoSprite::PutXYClipped16BitSprite(c.rb.GetBuffer(), s.data(), 5, 3, 5, 5, c.rb.GetPitch());
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool inWindow = x < 5 && y < 5;
      const int px = x + 5, py = y + 2;
      const bool vis = inWindow && im.visible[py * 12 + px];
      ASSERT_EQ(c.At(x, y), vis ? im.pixels[py * 12 + px] : 0xFFFF) << x << "," << y;
    }
}

TEST(Sprite, ClippedAtEveryEdgeOfTheClipRectangle) {
  Bytes s = zorgen::WriteSprite(Shape());
  const Image16 im = Shape();
  const int spots[][2] = {{-5, 3}, {14, 3}, {4, -4}, {4, 16}, {-8, -6}, {15, 17}};
  for (const auto& p : spots) {
    Canvas c(24, 24);
    c.surface.Fill(0xFFFF);
    c.rb.SetClipRect(1, 2, 22, 21);
    // The sprite carries one empty line on top.
    CIsoSprite::RenderClipped(&c.rb, s.data(), p[0], p[1] - 1);
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x) {
        const int px = x - p[0], py = y - p[1];
        const bool vis = x >= 1 && x < 22 && y >= 2 && y < 21 && px >= 0 && px < 12 && py >= 0 && py < 9 &&
                         im.visible[py * 12 + px];
        ASSERT_EQ(c.At(x, y), vis ? im.pixels[py * 12 + px] : 0xFFFF) << x << "," << y;
      }
  }
}

TEST(SpriteDecoding, UncutCopyCutWindowAndPictureAgree) {
  const Image16 im = Ladder();
  Bytes s = zorgen::WriteSprite(im);
  ASSERT_TRUE(Valid(s));
  const std::vector<uint16_t> want = Expected(im, 5, 4, 80, 50, 0, 0, 80, 50);
  Canvas uncut(80, 50), window(80, 50), rendered(80, 50);
  for (Canvas* c : {&uncut, &window, &rendered}) c->surface.Fill(kBackground);
  CIsoSprite::PutXY16BitSprite(PixelAt(uncut, 5, 4), s.data(), uncut.rb.GetPitch());
  CIsoSprite::PutXYClipped16BitSprite(PixelAt(window, 5, 4), s.data(), 0, 0, 64, 40, window.rb.GetPitch());
  CIsoSprite::RenderClipped(&rendered.rb, s.data(), 5, 4);
  EXPECT_EQ(Shown(uncut), want);
  EXPECT_EQ(Shown(window), want);
  EXPECT_EQ(Shown(rendered), want);
}

// Every run length from 1 to 150 pixels, each on its own line behind a skip
// of y % 3 pixels: the uncut copy takes runs in pieces by their size (up to
// 8, 16, 32 and 64 bytes, then a loop, then one library call past 256), and
// each piece must land on its own pixels and no others.
TEST(SpriteDecoding, RunsOfEveryLengthUpToPastTheLongestPiece) {
  constexpr int kLongest = 150;
  Image16 im(kLongest + 2, kLongest, 0, 0);
  for (int y = 0; y < kLongest; ++y)
    for (int x = y % 3; x < y % 3 + y + 1; ++x) {
      im.At(x, y) = static_cast<uint16_t>(7 * x + 311 * y + 1);
      im.Visible(x, y) = 1;
    }
  Bytes s = zorgen::WriteSprite(im);
  ASSERT_TRUE(Valid(s));
  Canvas c(kLongest + 8, kLongest + 4);
  c.surface.Fill(kBackground);
  CIsoSprite::PutXY16BitSprite(PixelAt(c, 3, 2), s.data(), c.rb.GetPitch());
  EXPECT_EQ(Shown(c), Expected(im, 3, 2, kLongest + 8, kLongest + 4, 0, 0, kLongest + 8, kLongest + 4));
}

TEST(SpriteDecoding, CutAtEachEdgeAndWhollyOutside) {
  const Image16 im = Ladder();
  Bytes s = zorgen::WriteSprite(im);
  // The sprite slides across the clip rectangle (3, 2)-(75, 46), from
  // wholly left of it to wholly right, and from wholly above to wholly below.
  std::vector<std::pair<int, int>> spots;
  for (int x = -66; x <= 78; ++x) spots.push_back({x, 4});
  for (int y = -42; y <= 48; ++y) spots.push_back({8, y});
  spots.push_back({-70, -50});
  spots.push_back({76, 47});
  for (const auto& [x, y] : spots) {
    Canvas c(80, 50);
    c.surface.Fill(kBackground);
    c.rb.SetClipRect(3, 2, 75, 46);
    CIsoSprite::RenderClipped(&c.rb, s.data(), x, y);
    ASSERT_EQ(Shown(c), Expected(im, x, y, 80, 50, 3, 2, 75, 46)) << "at " << x << "," << y;
  }
}

TEST(SpriteDecoding, EndRunsAndAdjacentRuns) {
  // Line 0: 2 pixels, then a run right after them (skip 0), then an end
  // run whose skip must not carry over; line 1: one pixel at column 0;
  // line 2: empty; line 3, the last: pixels at columns 2 and 4.
  Bytes s = RawSprite(8, 4, {0, 2, 11, 12, 0, 1, 13, 6, 0, 0, 1, 31, 0, 0, 0, 0, 4, 1, 21, 2, 1, 22, 0, 0});
  ASSERT_TRUE(Valid(s));
  Image16 im(8, 4, 0, 0);
  for (auto [x, y, v] : {std::tuple{0, 0, 11}, {1, 0, 12}, {2, 0, 13}, {0, 1, 31}, {2, 3, 21}, {4, 3, 22}}) {
    im.At(x, y) = static_cast<uint16_t>(v);
    im.Visible(x, y) = 1;
  }
  const std::vector<uint16_t> want = Expected(im, 1, 1, 10, 6, 0, 0, 10, 6);
  Canvas uncut(10, 6), window(10, 6);
  for (Canvas* c : {&uncut, &window}) c->surface.Fill(kBackground);
  CIsoSprite::PutXY16BitSprite(PixelAt(uncut, 1, 1), s.data(), uncut.rb.GetPitch());
  CIsoSprite::PutXYClipped16BitSprite(PixelAt(window, 1, 1), s.data(), 0, 0, 8, 4, window.rb.GetPitch());
  EXPECT_EQ(Shown(uncut), want);
  EXPECT_EQ(Shown(window), want);
}

TEST(SpriteDecoding, TheFirstSkipIsNeverReadFromTheTag) {
  // Tagged -565, the first skip word reads 0xFFFF; it still counts as 0.
  Bytes s = RawSprite(4, 2, {0, 2, 5, 6, 0, 0, 2, 1, 7, 0, 0});
  qno_wr32(s.data(), 12, QNO_SPRITE_TAG_M565);
  ASSERT_TRUE(Valid(s));
  ASSERT_EQ(qno_rd16(s.data(), 14), 0xFFFF);
  Canvas uncut(4, 2), window(4, 2);
  CIsoSprite::PutXY16BitSprite(uncut.rb.GetBuffer(), s.data(), uncut.rb.GetPitch());
  CIsoSprite::PutXYClipped16BitSprite(window.rb.GetBuffer(), s.data(), 0, 0, 4, 2, window.rb.GetPitch());
  for (Canvas* c : {&uncut, &window}) {
    EXPECT_EQ(c->At(0, 0), 5);
    EXPECT_EQ(c->At(1, 0), 6);
    EXPECT_EQ(c->At(1, 1), 7);
    EXPECT_EQ(c->surface.CountNot(0), 3);
  }
}

TEST(SpriteDecoding, TheLastLine) {
  Image16 im = Ladder();
  Bytes s = zorgen::WriteSprite(im);
  // A window of the last line only, cut inside both of its runs.
  Canvas c(80, 50);
  c.surface.Fill(kBackground);
  CIsoSprite::PutXYClipped16BitSprite(PixelAt(c, 0, 7), s.data(), 10, 39, 33, 1, c.rb.GetPitch());
  Image16 last(33, 1, 0, 0);
  for (int x = 0; x < 33; ++x) {
    last.At(x, 0) = im.At(x + 10, 39);
    last.Visible(x, 0) = im.Visible(x + 10, 39);
  }
  EXPECT_EQ(Shown(c), Expected(last, 0, 7, 80, 50, 0, 0, 80, 50));
  // The clip rectangle ending right below the last line keeps it; one
  // line higher cuts it.
  for (int bottom : {44, 43}) {
    Canvas d(80, 50);
    d.surface.Fill(kBackground);
    d.rb.SetClipRect(0, 0, 80, bottom);
    CIsoSprite::RenderClipped(&d.rb, s.data(), 2, 4);
    EXPECT_EQ(Shown(d), Expected(im, 2, 4, 80, 50, 0, 0, 80, bottom)) << bottom;
  }
}

TEST(Sprite, ConversionsKeepTheFirstRunAndComeBack) {
  Bytes s = zorgen::WriteSprite(zorgen::Image16(4, 2, 0xF81F, 1));
  CIsoSprite::Convert565SpriteToM565Sprite(s.data());
  EXPECT_EQ(CIsoSprite::GetTag(s.data()), QNO_SPRITE_TAG_M565);
  ASSERT_TRUE(Valid(s));
  const Bytes m565 = s;
  // Drawing into the 565 buffer converts the pixels it copies; the sprite
  // is only read, and the first run still starts at column 0.
  Canvas c(8, 4);
  CIsoSprite::RenderClipped(&c.rb, s.data(), 0, 0);
  EXPECT_EQ(s, m565);
  EXPECT_EQ(c.At(0, 0), 0xF81F);
  EXPECT_EQ(c.surface.CountNot(0), 8);
  CIsoSprite::ConvertToFormat(s.data(), 565);
  EXPECT_EQ(qno_rd16(s.data(), 18), 0xF81F);
  CIsoSprite::Convert565SpriteTo555Sprite(s.data());
  EXPECT_EQ(qno_rd16(s.data(), 18), 0x7C1F);
  // Red and blue trade places in -565; green stays.
  Bytes red = zorgen::WriteSprite(zorgen::Image16(2, 1, 0xF823, 1));
  CIsoSprite::Convert565SpriteToM565Sprite(red.data());
  EXPECT_EQ(qno_rd16(red.data(), 18), 0x183F);
  CIsoSprite::ConvertToFormat(s.data(), 565);
  EXPECT_EQ(qno_rd16(s.data(), 18), 0xF81F);
}

// Sprites stored as 555 or -565 show the same pixels as a copy converted
// to 565 beforehand on every path (whole, cut to the clip rectangle, cut to an iso diamond),
// however often they are drawn, and stay byte for byte as stored.
TEST(Sprite, OtherFormatsDrawConvertedAndStayAsStored) {
  Image16 im = Ladder();
  const Bytes plain = zorgen::WriteSprite(im);
  auto draw = [](const Bytes& sprite, int path) {
    Canvas c(80, 50);
    c.surface.Fill(kBackground);
    if (path == 0) CIsoSprite::RenderClipped(&c.rb, sprite.data(), 2, 4);
    if (path == 1) {
      c.rb.SetClipRect(5, 6, 30, 20);
      CIsoSprite::RenderClipped(&c.rb, sprite.data(), 2, 4);
    }
    if (path == 2) CIsoSprite::RenderIsoClipped(&c.rb, sprite.data(), 2, 4, 4, 4, 40, 20);
    return Shown(c);
  };
  for (int variant = 0; variant < 2; ++variant) {
    Bytes other = plain;
    if (variant == 0) CIsoSprite::Convert565SpriteTo555Sprite(other.data());
    if (variant == 1) CIsoSprite::Convert565SpriteToM565Sprite(other.data());
    const Bytes stored = other;
    Bytes back = other;
    CIsoSprite::ConvertToFormat(back.data(), 565);
    if (variant == 1) {
      EXPECT_EQ(back, plain);
    }
    for (int path = 0; path < 3; ++path) {
      for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(draw(other, path), draw(back, path)) << variant << " " << path << " " << round;
        EXPECT_EQ(other, stored) << variant << " " << path;
      }
    }
  }
}

TEST(Sprite, RunsThatOverrunTheirLineOrTheBlobAreRefused) {
  EXPECT_TRUE(Valid(RawSprite(4, 1, {0, 1, 1, 2, 2, 3, 4, 0, 0})));
  EXPECT_FALSE(Valid(RawSprite(4, 1, {0, 1, 1, 4, 2, 3, 4, 0, 0})));  // 1 + 2 + 2 > 4
  EXPECT_FALSE(Valid(RawSprite(4, 1, {0, 1, 1, 3, 1, 3, 0, 0})));     // odd skip
  EXPECT_FALSE(Valid(RawSprite(4, 2, {0, 2, 1, 2, 0, 0})));               // second line missing
  EXPECT_FALSE(Valid(RawSprite(400, 1, {0, 300, 1})));                    // pixels past the end
  EXPECT_FALSE(Valid(RawSprite(4, 1, {0, 2, 1, 2})));                     // last line without its end run
  EXPECT_FALSE(Valid(RawSprite(4, 1, {0, 2, 1, 2, 0})));                  // end run cut in half
  EXPECT_FALSE(Valid(RawSprite(70000, 1, {0, 0})));                       // wider than a run can say
  Bytes tag = RawSprite(4, 1, {0, 0});
  qno_wr32(tag.data(), 12, 777);
  EXPECT_FALSE(Valid(tag));
  Bytes header = RawSprite(4, 0, {});
  EXPECT_FALSE(CIsoSprite::Validate(header.data(), static_cast<uint32_t>(header.size())));

  // Through the resource manager a damaged sprite is not handed out.
  QnoResourceManager manager;
  AddArchive(manager, "sprites.gla", {{1, RawSprite(4, 1, {0, 2, 1, 2, 0, 0})}, {2, RawSprite(4, 2, {0, 2, 1, 2, 0, 0})}});
  EXPECT_NE(CIsoSprite::FromResource(&manager, 1), nullptr);
  EXPECT_EQ(CIsoSprite::FromResource(&manager, 2), nullptr);
}

TEST(Sprite, IsoCutFollowsTheLowerSidesOfTheDiamond) {
  Bytes s = zorgen::WriteSprite(zorgen::Image16(20, 12, 0x0FF0, 1));
  Canvas c(40, 40);
  // Touching the left edge: nothing.
  CIsoSprite::RenderIsoClipped(&c.rb, s.data(), 0, 5, 0, 5, 20, 10);
  EXPECT_EQ(c.surface.CountNot(0), 0);
  // Tile 20 x 10 at (5, 5): middle line 10; the sprite fills its box.
  CIsoSprite::RenderIsoClipped(&c.rb, s.data(), 5, 5, 5, 5, 20, 10);
  for (int y = 5; y < 15; ++y) {
    const int k = std::max(0, y - 10);
    for (int x = 0; x < 40; ++x) {
      const bool vis = x >= 5 + 2 * k && x < 25 - 2 * k;
      ASSERT_EQ(c.At(x, y), vis ? 0x0FF0 : 0) << x << "," << y;
    }
  }
  EXPECT_EQ(c.surface.Box(0)[3], 14);

  // One pixel from the buffer's edges is enough.
  Canvas e(22, 14);
  CIsoSprite::RenderIsoClipped(&e.rb, s.data(), 1, 1, 1, 1, 20, 12);
  EXPECT_EQ(e.At(1, 1), 0x0FF0);
  Canvas f(21, 14);
  CIsoSprite::RenderIsoClipped(&f.rb, s.data(), 1, 1, 1, 1, 20, 12);
  EXPECT_EQ(f.surface.CountNot(0), 0);

  // A sprite reaching past the right side and the bottom of a tile 40 x 8
  // at (5, 10): cut to the tile's columns and ended at its bottom line,
  // where the narrowed span is still open.
  Bytes tall = zorgen::WriteSprite(zorgen::Image16(30, 20, 0x00F0, 1));
  Canvas g(60, 40);
  CIsoSprite::RenderIsoClipped(&g.rb, tall.data(), 20, 5, 5, 10, 40, 8);
  for (int y = 0; y < 40; ++y) {
    const int k = std::max(0, y - 14);
    for (int x = 0; x < 60; ++x) {
      const bool vis = y >= 5 && y < 18 && x >= std::max(20, 5 + 2 * k) && x < 45 - 2 * k;
      ASSERT_EQ(g.At(x, y), vis ? 0x00F0 : 0) << x << "," << y;
    }
  }
}

TEST(Lines, ClippedToTheBufferAndDrawnByBresenham) {
  Canvas c(100, 100);
  CIsoSprite::Line(&c.rb, -10, 5, 10, 5, 0xFFFF);
  EXPECT_EQ(c.surface.CountNot(0), 11);
  EXPECT_EQ(c.surface.Box(0), (std::vector<int>{0, 5, 10, 5}));
  Canvas d(100, 100);
  CIsoSprite::Line(&d.rb, 10, -50, 90, -1, 0xFFFF);
  EXPECT_EQ(d.surface.CountNot(0), 0);
  CIsoSprite::Line(&d.rb, 0, 0, 4, 2, 0xFFFF);
  EXPECT_EQ(d.surface.CountNot(0), 5);
  EXPECT_EQ(d.At(4, 2), 0xFFFF);
  EXPECT_EQ(d.At(0, 0), 0xFFFF);
  Canvas e(100, 100);
  CIsoSprite::Line(&e.rb, 50, 50, 50, 50, 0x1);
  EXPECT_EQ(e.surface.CountNot(0), 1);
  CIsoSprite::Line(&e.rb, -100, -100, 300, 300, 0x2);  // the diagonal through the whole buffer
  for (int i = 0; i < 100; ++i) ASSERT_EQ(e.At(i, i), 0x2);

  // A steep line steps along y every pixel and along x by the error term.
  Canvas f(10, 10);
  CIsoSprite::Line(&f.rb, 0, 0, 2, 5, 0x3);
  EXPECT_EQ(f.surface.CountNot(0), 6);
  for (auto [x, y] : {std::pair{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}}) EXPECT_EQ(f.At(x, y), 0x3) << x << "," << y;

  std::vector<uint16_t> mem(10 * 6, 0);
  CIsoSprite::LineMemory(mem.data(), 10, 6, 9, 0, 9, 20, 7);
  int n = 0;
  for (int y = 0; y < 6; ++y) n += mem[y * 10 + 9] == 7;
  EXPECT_EQ(n, 6);
}

TEST(Lines, ClipLineMovesEndsOntoTheEdges) {
  int x1 = -10, y1 = 0, x2 = 10, y2 = 20;
  ASSERT_TRUE(CIsoSprite::ClipLine(x1, y1, x2, y2, 100, 100));
  EXPECT_EQ(x1, 0);
  EXPECT_EQ(y1, 10);
  int a = -5, b = -5, cc = -1, d = 50;
  EXPECT_FALSE(CIsoSprite::ClipLine(a, b, cc, d, 100, 100));
  int p = 0, q = 250, r = 250, t = 0;  // passes beyond the corner of a 100 x 100 buffer
  EXPECT_FALSE(CIsoSprite::ClipLine(p, q, r, t, 100, 100));

  // Exact ends in a 10 x 8 buffer (the first case 10 x 10): a moved end lies
  // on its edge and its other coordinate is the line's value there,
  // truncated (2.5 gives 2, 3.5 gives 3, 1.875 gives 1). Each line is also
  // clipped the other way round and must give the same two ends.
  struct Case {
    int x1, y1, x2, y2, h;
    int cx1, cy1, cx2, cy2;
  };
  const Case cases[] = {
      {-10, 0, 10, 5, 10, 0, 2, 9, 4},  // left and right edge
      {4, 0, 14, 7, 8, 4, 0, 9, 3},     // right edge
      {0, -3, 5, 5, 8, 1, 0, 5, 5},     // top edge
      {3, 2, 8, 12, 8, 3, 2, 5, 7},     // bottom edge
      {-7, 3, 12, -2, 8, 0, 1, 4, 0},   // left and top edge
      {-2, 11, 11, -4, 8, 1, 7, 7, 0},  // bottom and top edge
      {-3, -2, 3, 2, 8, 0, 0, 3, 2},    // through the top left corner
      {12, -2, 6, 2, 8, 9, 0, 6, 2},    // through the top right corner
      {-4, 9, 4, 5, 8, 0, 7, 4, 5},     // through the bottom left corner
      {6, 5, 15, 11, 8, 6, 5, 9, 7},    // through the bottom right corner
      {-9, -7, 18, 14, 8, 0, 0, 9, 7},  // corner to corner
      {-5, -3, 9, 5, 8, 0, 0, 9, 5},    // onto the top edge at 0.25 from the corner
  };
  for (const Case& c : cases) {
    int a1 = c.x1, b1 = c.y1, a2 = c.x2, b2 = c.y2;
    ASSERT_TRUE(CIsoSprite::ClipLine(a1, b1, a2, b2, 10, c.h)) << c.x1 << "," << c.y1;
    EXPECT_EQ(std::make_tuple(a1, b1, a2, b2), std::make_tuple(c.cx1, c.cy1, c.cx2, c.cy2)) << c.x1 << "," << c.y1;
    a1 = c.x2, b1 = c.y2, a2 = c.x1, b2 = c.y1;
    ASSERT_TRUE(CIsoSprite::ClipLine(a1, b1, a2, b2, 10, c.h)) << c.x2 << "," << c.y2;
    EXPECT_EQ(std::make_tuple(a1, b1, a2, b2), std::make_tuple(c.cx2, c.cy2, c.cx1, c.cy1)) << c.x2 << "," << c.y2;
  }
}

// A line whose end lands on an edge after the other end is moved (a zero
// length along one axis), and ends far outside the range a pixel can have:
// each is clipped without overflow or refused.
TEST(Lines, ClipLineHoldsDegenerateAndFarEnds) {
  int a = -12, b = -12, c = 10, d = 0;  // passes just above the corner of 10 x 10
  EXPECT_FALSE(CIsoSprite::ClipLine(a, b, c, d, 10, 10));
  int e = 10, f = 0, g = 10, h = 9;  // upright, one column beyond the right edge
  EXPECT_FALSE(CIsoSprite::ClipLine(e, f, g, h, 10, 10));
  int i = 9, j = -5, k = 9, l = 20;  // upright on the last column
  ASSERT_TRUE(CIsoSprite::ClipLine(i, j, k, l, 10, 10));
  EXPECT_EQ(std::make_tuple(i, j, k, l), std::make_tuple(9, 0, 9, 9));
  int m = INT_MIN, n = 5, o = INT_MAX, r = 5;
  ASSERT_TRUE(CIsoSprite::ClipLine(m, n, o, r, 100, 100));
  EXPECT_EQ(std::make_tuple(m, n, o, r), std::make_tuple(0, 5, 99, 5));
}

// Random lines against a small rectangle: a kept line has both ends inside
// it and on the original line (within a pixel), and a refused one has no
// point of its length inside the rectangle.
TEST(Lines, ClipLineKeepsExactlyTheLinesThatCrossTheRectangle) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> near(-40, 60), far(-2000000000, 2000000000);
  const int w = 17, hgt = 9;
  int kept = 0;
  for (int n = 0; n < 8000; ++n) {
    auto pick = [&] { return n % 10 == 0 ? far(rng) : near(rng); };
    const int ox1 = pick(), oy1 = pick(), ox2 = pick(), oy2 = pick();
    int x1 = ox1, y1 = oy1, x2 = ox2, y2 = oy2;
    const double dx = static_cast<double>(ox2) - ox1, dy = static_cast<double>(oy2) - oy1;
    const double len = std::hypot(dx, dy);
    if (CIsoSprite::ClipLine(x1, y1, x2, y2, w, hgt)) {
      ++kept;
      for (auto [x, y] : {std::pair{x1, y1}, std::pair{x2, y2}}) {
        ASSERT_TRUE(x >= 0 && x < w && y >= 0 && y < hgt) << ox1 << "," << oy1 << " " << ox2 << "," << oy2;
        if (len > 0) {
          const double off = std::abs(dy * (x - ox1) - dx * (y - oy1)) / len;
          EXPECT_LE(off, 1.0) << ox1 << "," << oy1 << " " << ox2 << "," << oy2 << " -> " << x << "," << y;
        }
      }
    } else {
      for (int s = 0; s <= 1000; ++s) {
        const double t = s / 1000.0, px = ox1 + t * dx, py = oy1 + t * dy;
        ASSERT_FALSE(px > 0.01 && px < w - 1.01 && py > 0.01 && py < hgt - 1.01)
            << "refused " << ox1 << "," << oy1 << " " << ox2 << "," << oy2 << " crosses at " << px << "," << py;
      }
    }
  }
  EXPECT_GT(kept, 400);
}

// Sprites at random spots, cut by every edge of the clip rectangle, with
// breaks that fill boxes in between: the visible runs drawn with the
// breaks' work leave the buffer as drawing every sprite does.
TEST(SpriteVisibleRuns, DrawAsEverySpriteDrawnInTurn) {
  std::mt19937 rng(7);
  const Bytes shapes[] = {zorgen::WriteSprite(Shape()), zorgen::WriteSprite(Ladder())};
  for (int round = 0; round < 20; ++round) {
    Canvas each(90, 70), runs(90, 70);
    for (Canvas* c : {&each, &runs}) {
      c->surface.Fill(kBackground);
      c->rb.SetClipRect(3, 2, 85 + round % 3, 66);
    }
    struct Item {
      const void* sprite;  // null: a break that fills a box
      int x, y;
    };
    std::vector<Item> items;
    for (int i = 0; i < 40; ++i) {
      const int x = static_cast<int>(rng() % 110) - 20, y = static_cast<int>(rng() % 90) - 20;
      items.push_back({rng() % 7 == 0 ? nullptr : shapes[rng() % 2].data(), x, y});
    }
    auto fill = [](Canvas& c, const Item& it) {
      SDL_Rect box{static_cast<Sint16>(std::max(it.x, 0)), static_cast<Sint16>(std::max(it.y, 0)), 6, 5};
      SDL_FillRect(c.surface.s, &box, static_cast<Uint32>(0x1234 + it.x));
    };
    const QnoSpriteTarget eachTarget(&each.rb);
    for (const Item& it : items) it.sprite ? eachTarget.Draw(it.sprite, it.x, it.y) : fill(each, it);

    QnoVisibleRuns visible;
    visible.Begin(QnoSpriteTarget(&runs.rb));
    for (size_t i = items.size(); i-- > 0;) {
      if (items[i].sprite) {
        ASSERT_TRUE(visible.AddBackwards(items[i].sprite, items[i].x, items[i].y));
      } else {
        visible.BreakBackwards(i);
      }
    }
    // Each pixel of the clip rectangle written once at most, although the
    // sprites overlap many times over.
    EXPECT_LE(visible.ByteCount(), 2u * (82 + round % 3) * 64) << round;
    EXPECT_GT(visible.ByteCount(), 0u);
    visible.Draw([&](size_t i) { fill(runs, items[i]); });
    ASSERT_EQ(Shown(runs), Shown(each)) << round;
  }
  // A sprite of another format than the buffer's is refused.
  Bytes other = zorgen::WriteSprite(Shape());
  qno_wr32(other.data(), 12, QNO_SPRITE_TAG_555);
  Canvas c(20, 20);
  QnoVisibleRuns visible;
  visible.Begin(QnoSpriteTarget(&c.rb));
  EXPECT_FALSE(visible.AddBackwards(other.data(), 0, 0));
}

// Packed runs: the same picture with the breaks' work in between, fewer
// copies where sprites meet side by side, and the sprites no longer read.
TEST(SpriteVisibleRuns, PackedRunsDrawTheSamePictureWithFewerCopies) {
  Image16 square(8, 6, 0, 0);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) {
      square.At(x, y) = static_cast<uint16_t>(300 + 8 * y + x);
      square.Visible(x, y) = 1;
    }
  Bytes tile = zorgen::WriteSprite(square);
  const Bytes shape = zorgen::WriteSprite(Shape());
  struct Item {
    const void* sprite;  // null: a break that fills a box
    int x, y;
  };
  // A row of squares edge to edge across a break, a diamond over them and
  // a square cut by the clip's right edge.
  std::vector<Item> items;
  for (int i = 0; i < 5; ++i) items.push_back({tile.data(), 2 + 8 * i, 4});
  items.push_back({nullptr, 10, 6});
  for (int i = 0; i < 5; ++i) items.push_back({tile.data(), 2 + 8 * i, 10});
  items.push_back({shape.data(), 12, 7});
  items.push_back({nullptr, 30, 12});
  items.push_back({tile.data(), 45, 14});
  auto fill = [](Canvas& c, const Item& it) {
    SDL_Rect box{static_cast<Sint16>(it.x), static_cast<Sint16>(it.y), 5, 4};
    SDL_FillRect(c.surface.s, &box, static_cast<Uint32>(0x4321 + it.x));
  };
  Canvas each(60, 30), plain(60, 30), packed(60, 30);
  for (Canvas* c : {&each, &plain, &packed}) {
    c->surface.Fill(kBackground);
    c->rb.SetClipRect(1, 1, 50, 29);
  }
  const QnoSpriteTarget eachTarget(&each.rb);
  for (const Item& it : items) it.sprite ? eachTarget.Draw(it.sprite, it.x, it.y) : fill(each, it);
  auto record = [&](QnoVisibleRuns& runs, Canvas& c) {
    runs.Begin(QnoSpriteTarget(&c.rb));
    for (size_t i = items.size(); i-- > 0;) {
      if (items[i].sprite)
        ASSERT_TRUE(runs.AddBackwards(items[i].sprite, items[i].x, items[i].y));
      else
        runs.BreakBackwards(i);
    }
  };
  QnoVisibleRuns plainRuns, packedRuns;
  record(plainRuns, plain);
  record(packedRuns, packed);
  packedRuns.Pack();
  EXPECT_EQ(packedRuns.ByteCount(), plainRuns.ByteCount());
  // The first stretch's five squares make one run a line, not five.
  EXPECT_LT(packedRuns.RunCount(), plainRuns.RunCount() - 4 * 6);
  // The square's pixels were taken along: changing them now changes nothing.
  std::fill(tile.begin() + 20, tile.end(), uint8_t{0x5a});
  std::vector<size_t> breaks;
  plainRuns.Draw([&](size_t i) { fill(plain, items[i]); });
  packedRuns.Draw([&](size_t i) {
    breaks.push_back(i);
    fill(packed, items[i]);
  });
  EXPECT_EQ(breaks, (std::vector<size_t>{5, 12}));
  EXPECT_EQ(Shown(packed), Shown(each));
  EXPECT_NE(Shown(plain), Shown(each)) << "the unpacked runs read the changed square";
  // Runs of two stretches that meet in the buffer stay apart: the break
  // between them draws over the first one's pixels.
  Image16 line(8, 1, 0, 0);
  for (int x = 0; x < 8; ++x) {
    line.At(x, 0) = static_cast<uint16_t>(700 + x);
    line.Visible(x, 0) = 1;
  }
  const Bytes lineSprite = zorgen::WriteSprite(line);
  const std::vector<Item> meeting = {{lineSprite.data(), 10, 3}, {nullptr, 10, 2}, {lineSprite.data(), 2, 3}};
  Canvas meetEach(30, 10), meetPacked(30, 10);
  for (Canvas* c : {&meetEach, &meetPacked}) c->surface.Fill(kBackground);
  const QnoSpriteTarget meetTarget(&meetEach.rb);
  for (const Item& it : meeting) it.sprite ? meetTarget.Draw(it.sprite, it.x, it.y) : fill(meetEach, it);
  QnoVisibleRuns meetRuns;
  meetRuns.Begin(QnoSpriteTarget(&meetPacked.rb));
  for (size_t i = meeting.size(); i-- > 0;) {
    if (meeting[i].sprite)
      ASSERT_TRUE(meetRuns.AddBackwards(meeting[i].sprite, meeting[i].x, meeting[i].y));
    else
      meetRuns.BreakBackwards(i);
  }
  meetRuns.Pack();
  EXPECT_EQ(meetRuns.RunCount(), 2u);
  meetRuns.Draw([&](size_t i) { fill(meetPacked, meeting[i]); });
  EXPECT_EQ(Shown(meetPacked), Shown(meetEach));
  // Nothing to pack: no runs, no breaks.
  QnoVisibleRuns empty;
  empty.Begin(QnoSpriteTarget(&packed.rb));
  empty.Pack();
  EXPECT_EQ(empty.RunCount(), 0u);
  int called = 0;
  empty.Draw([&](size_t) { ++called; });
  EXPECT_EQ(called, 0);
}

// Overlays (work drawn through the render buffer between the sprites, like
// a cell's vehicles) and plain breaks (work drawn past the buffer, straight
// into the surface) among random sprites: the packed runs drawn with the
// overlays' work, which moves from draw to draw, leave the buffer as
// drawing every item in turn does, with fewer copies than when every
// overlay is a plain break.
TEST(SpriteVisibleRuns, OverlaysOverThePackedPictureLeaveTheSequencesPicture) {
  std::mt19937 rng(11);
  const Bytes shapes[] = {zorgen::WriteSprite(Shape()), zorgen::WriteSprite(Ladder())};
  const Bytes car = zorgen::WriteSprite(gfxtest::Solid(7, 5, 0x0F0F));
  enum Kind { kSprite, kBreak, kOverlay };
  struct Item {
    Kind kind;
    const void* sprite;
    int x, y;
  };
  auto work = [&](Canvas& c, const Item& it, int frame) {
    if (it.kind == kBreak) {
      SDL_Rect box{static_cast<Sint16>(std::max(it.x, 0)), static_cast<Sint16>(std::max(it.y, 0)), 6, 5};
      SDL_FillRect(c.surface.s, &box, static_cast<Uint32>(0x1234 + it.x + frame));
      return;
    }
    CIsoSprite::RenderClipped(&c.rb, car.data(), it.x + 2 * frame, it.y - frame);
    c.rb.FillRect(it.x - frame, it.y + frame, it.x + 3, it.y + 9, static_cast<uint32_t>(0x2345 + frame));
  };
  for (int round = 0; round < 12; ++round) {
    std::vector<Item> items;
    for (int i = 0; i < 60; ++i) {
      const int x = static_cast<int>(rng() % 110) - 20, y = static_cast<int>(rng() % 90) - 20;
      const unsigned pick = rng() % 16;
      const Kind kind = pick < 4 ? kOverlay : pick == 4 ? kBreak : kSprite;
      items.push_back({kind, shapes[rng() % 2].data(), x, y});
    }
    Canvas each(90, 70), runs(90, 70), cut(90, 70);
    for (Canvas* c : {&each, &runs, &cut}) c->rb.SetClipRect(3, 2, 85 + round % 3, 66);
    QnoVisibleRuns visible, allBreaks;
    visible.Begin(QnoSpriteTarget(&runs.rb));
    allBreaks.Begin(QnoSpriteTarget(&cut.rb));
    for (size_t i = items.size(); i-- > 0;) {
      const Item& it = items[i];
      if (it.kind == kSprite) {
        ASSERT_TRUE(visible.AddBackwards(it.sprite, it.x, it.y));
        ASSERT_TRUE(allBreaks.AddBackwards(it.sprite, it.x, it.y));
      } else {
        it.kind == kOverlay ? visible.OverlayBackwards(i) : visible.BreakBackwards(i);
        allBreaks.BreakBackwards(i);
      }
    }
    visible.Pack();
    allBreaks.Pack();
    EXPECT_EQ(visible.ByteCount(), allBreaks.ByteCount());
    EXPECT_LT(visible.RunCount(), allBreaks.RunCount()) << round;
    const QnoSpriteTarget eachTarget(&each.rb);
    for (int frame = 0; frame < 3; ++frame) {
      for (Canvas* c : {&each, &runs, &cut}) c->surface.Fill(kBackground);
      for (const Item& it : items) it.kind == kSprite ? eachTarget.Draw(it.sprite, it.x, it.y) : work(each, it, frame);
      visible.Draw([&](size_t i) { work(runs, items[i], frame); });
      allBreaks.Draw([&](size_t i) { work(cut, items[i], frame); });
      ASSERT_EQ(Shown(runs), Shown(each)) << round << " frame " << frame;
      ASSERT_EQ(Shown(cut), Shown(each)) << round << " frame " << frame;
    }
  }
}

// A sequence of sprites and overlays drawn into a buffer that keeps its
// pixels.
using KeptItem = gfxtest::SequenceItem;

// Fills both canvases with the background, sets their clip rectangle and
// packs the sequence's runs for the kept one's buffer.
void PackForKeptCanvas(QnoVisibleRuns& visible, Canvas& each, Canvas& kept, const QnoBox& clip,
                       const std::vector<KeptItem>& items) {
  for (Canvas* c : {&each, &kept}) {
    c->surface.Fill(kBackground);
    c->rb.SetClipRect(clip.left, clip.top, clip.right, clip.bottom);
  }
  gfxtest::PackSequence(visible, &kept.rb, items);
}

// A buffer that keeps its pixels from draw to draw: the packed runs are
// drawn again only where the last draw's overlays and the drawing since
// (an interface over the picture, a window that opens and closes) wrote.
// Every frame equals drawing every item in turn over the last frame; a
// pixel written past the buffer stays while the watch holds, and is drawn
// again once the buffer no longer says it keeps its pixels, once a touched
// list ended the watch, or once the surface changed.
TEST(SpriteVisibleRuns, AKeptPictureIsDrawnAgainOnlyWhereItChanged) {
  std::mt19937 rng(5);
  const Bytes shapes[] = {zorgen::WriteSprite(Shape()), zorgen::WriteSprite(Ladder())};
  // The ground leaves the clip rectangle's right and bottom edges to no
  // sprite: what the cars draw there stays, as it does in the buffer.
  const Bytes ground = zorgen::WriteSprite(gfxtest::Solid(80, 60, 0x0421));
  const Bytes car = zorgen::WriteSprite(gfxtest::Solid(7, 5, 0x0F0F));
  using Item = KeptItem;
  std::vector<Item> items{{false, ground.data(), 1, 2}};
  for (int i = 0; i < 50; ++i) {
    const int x = static_cast<int>(rng() % 110) - 20, y = static_cast<int>(rng() % 90) - 20;
    items.push_back({rng() % 4 == 0, shapes[rng() % 2].data(), x, y});
  }
  // The cars move from frame to frame, and some frames draw none.
  auto work = [&](Canvas& c, const Item& it, int frame) {
    if (frame % 5 == 3) return;
    CIsoSprite::RenderClipped(&c.rb, car.data(), it.x + 3 * frame % 11, it.y - frame % 4);
  };
  // The interface drawn after the map: a bar, and a window open in some
  // frames only.
  auto interface = [](Canvas& c, int frame) {
    c.rb.SetClipRect(0, 0, 90, 70);
    c.rb.FillRect(0, 60, 90, 70, static_cast<uint32_t>(0x5555 + frame));
    if (frame % 4 < 2) c.rb.FillRect(20 + frame, 10, 50, 30, 0x7777);
    c.rb.SetClipRect(3, 2, 86, 66);
  };
  Canvas each(90, 70), kept(90, 70);
  QnoVisibleRuns visible;
  PackForKeptCanvas(visible, each, kept, {3, 2, 86, 66}, items);
  if (HasFatalFailure()) return;
  const QnoSpriteTarget eachTarget(&each.rb);
  auto frameOf = [&](int frame, bool keeps = true) {
    for (const Item& it : items) it.overlay ? work(each, it, frame) : eachTarget.Draw(it.sprite, it.x, it.y);
    interface(each, frame);
    kept.rb.SetPictureKept(keeps);
    visible.Draw([&](size_t i) { work(kept, items[i], frame); });
    interface(kept, frame);
    kept.rb.SetPictureKept(false);
  };
  for (int frame = 0; frame < 12; ++frame) {
    frameOf(frame);
    ASSERT_EQ(Shown(kept), Shown(each)) << "frame " << frame;
  }
  // A pixel of the ground far from every car, written past the buffer:
  // kept while the watch holds ...
  int gx = -1, gy = -1;
  for (int y = 2; y < 60 && gx < 0; ++y)
    for (int x = 3; x < 81 && gx < 0; ++x) {
      const bool nearCar = std::any_of(items.begin(), items.end(), [&](const Item& it) {
        return it.overlay && x >= it.x - 2 && x < it.x + 20 && y >= it.y - 6 && y < it.y + 7;
      });
      if (!nearCar && kept.At(x, y) == 0x0421) gx = x, gy = y;
    }
  ASSERT_GE(gx, 0);
  auto scribble = [&] { qno_wr16(PixelAt(kept, gx, gy), 0, 0xBEEF); };
  scribble();
  frameOf(12);
  EXPECT_EQ(kept.At(gx, gy), 0xBEEF);
  // ... and drawn again when the buffer does not say it keeps its pixels,
  frameOf(13, false);
  EXPECT_EQ(Shown(kept), Shown(each));
  // when a touched list ended the watch,
  frameOf(14);
  scribble();
  std::vector<QnoBox> boxes;
  kept.rb.SetTouchedList(&boxes);
  kept.rb.SetTouchedList(nullptr);
  frameOf(15);
  EXPECT_EQ(Shown(kept), Shown(each));
  // and when the buffer was given another surface and this one back.
  scribble();
  gfxtest::MemSurface other(90, 70);
  kept.rb.SetSurface(other.s);
  kept.rb.SetSurface(kept.surface.s);
  frameOf(16);
  EXPECT_EQ(Shown(kept), Shown(each));
  // Drawing past the most boxes a list holds folds them into one box that
  // holds them all: every dot is drawn over again.
  frameOf(17);
  for (int i = 0; i < 3 * static_cast<int>(QnoRenderBuffer::kMaxTouchedBoxes); ++i)
    kept.rb.FillRect(4 + i % 80, 3 + (i / 80) % 60, 5 + i % 80, 4 + (i / 80) % 60, 0x1F1F);
  frameOf(18);
  EXPECT_EQ(Shown(kept), Shown(each));
}

// Overlays whose boxes take every width from 1 to 40 pixels, over sprites
// with holes and under later sprites: where their work drew, the later
// sprites' pixels are put back right after it, and the whole box from the
// picture in the next frame of a buffer that keeps its pixels, each row in
// fixed-size pieces. Every frame equals drawing every item in turn. With
// the whole buffer as the clip rectangle, boxes end at its last pixel, where
// a piece that reached past a row would leave the buffer's memory and the
// picture's.
TEST(SpriteVisibleRuns, OverlayBoxesOfEveryWidthArePutBackWhole) {
  for (const QnoBox clip : {QnoBox{2, 3, 88, 67}, QnoBox{0, 0, 90, 70}}) {
    std::mt19937 rng(23);
    const Bytes shapes[] = {zorgen::WriteSprite(Shape()), zorgen::WriteSprite(Ladder())};
    std::vector<KeptItem> items;
    for (int i = 0; i < 70; ++i) {
      const int x = static_cast<int>(rng() % 100) - 15, y = static_cast<int>(rng() % 80) - 10;
      items.push_back({rng() % 3 == 0, shapes[rng() % 2].data(), x, y});
    }
    // Work in the bottom-right corner, cut there by the clip rectangle.
    for (int i = 0; i < 8; ++i) items.push_back({true, nullptr, clip.right - 1 - i, clip.bottom - 2});
    auto widthOf = [](size_t i, int frame) { return 1 + static_cast<int>(i * 7 + static_cast<size_t>(frame)) % 40; };
    auto work = [&](Canvas& c, size_t i, int frame) {
      const int x = items[i].x + frame % 5 - 2, y = items[i].y + frame % 3;
      c.rb.FillRect(x, y, x + widthOf(i, frame), y + 2 + frame % 3, static_cast<uint32_t>(0x3000 + 16 * i + frame));
    };
    Canvas each(90, 70), kept(90, 70);
    QnoVisibleRuns visible;
    PackForKeptCanvas(visible, each, kept, clip, items);
    if (HasFatalFailure()) return;
    const QnoSpriteTarget eachTarget(&each.rb);
    std::set<int> widths;
    for (int frame = 0; frame < 45; ++frame) {
      for (size_t i = 0; i < items.size(); ++i)
        items[i].overlay ? work(each, i, frame) : eachTarget.Draw(items[i].sprite, items[i].x, items[i].y);
      kept.rb.SetPictureKept(true);
      const bool changesOnly = visible.Draw([&](size_t i) {
        work(kept, i, frame);
        widths.insert(widthOf(i, frame));
      });
      kept.rb.SetPictureKept(false);
      EXPECT_EQ(changesOnly, frame > 0);
      ASSERT_EQ(Shown(kept), Shown(each)) << "clip right " << clip.right << " frame " << frame;
    }
    EXPECT_EQ(widths.size(), 40u);
  }
}

// A buffer whose rows are padded past its width (91 pixels of 16 bits in
// rows of 184 bytes): the boxes put back step from row to row by the
// buffer's pitch, in the buffer, the picture and the owners alike. Half the
// clip rectangle lies under a ground that draws every pixel of its blocks
// (the boxes there are copied whole), half under sprites with holes (only
// the pixels some sprite draws are put back). Every frame equals drawing
// every item in turn.
TEST(SpriteVisibleRuns, BoxesArePutBackRowByRowInAPaddedBuffer) {
  Canvas each(91, 70), kept(91, 70);
  ASSERT_GT(kept.rb.GetPitch(), 2 * 91);
  std::mt19937 rng(41);
  const Bytes shape = zorgen::WriteSprite(Shape());
  const Bytes ground = zorgen::WriteSprite(gfxtest::Solid(48, 64, 0x0421));
  // The ground on the left; on the right, shapes apart from one another
  // (their corners are drawn by no sprite), each after an overlay.
  std::vector<KeptItem> items{{false, ground.data(), 0, 0}};
  for (int i = 0; i < 12; ++i) {
    const int x = static_cast<int>(rng() % 90) - 5, y = static_cast<int>(rng() % 70) - 3;
    items.push_back({true, nullptr, x, y});
    items.push_back({false, shape.data(), 52 + 14 * (i % 3), 4 + 16 * (i / 3)});
  }
  auto work = [&](Canvas& c, size_t i, int frame) {
    const int x = items[i].x + frame % 7 - 3, y = items[i].y + frame % 4;
    const int width = 1 + static_cast<int>(i * 5 + static_cast<size_t>(frame)) % 24;
    c.rb.FillRect(x, y, x + width, y + 3 + frame % 5, static_cast<uint32_t>(0x2000 + 16 * i + frame));
  };
  QnoVisibleRuns visible;
  PackForKeptCanvas(visible, each, kept, {0, 0, 91, 70}, items);
  if (HasFatalFailure()) return;
  const QnoSpriteTarget eachTarget(&each.rb);
  for (int frame = 0; frame < 20; ++frame) {
    for (size_t i = 0; i < items.size(); ++i)
      items[i].overlay ? work(each, i, frame) : eachTarget.Draw(items[i].sprite, items[i].x, items[i].y);
    kept.rb.SetPictureKept(true);
    EXPECT_EQ(visible.Draw([&](size_t i) { work(kept, i, frame); }), frame > 0);
    kept.rb.SetPictureKept(false);
    ASSERT_EQ(Shown(kept), Shown(each)) << "frame " << frame;
  }
}

// More overlays than the picture's owners can number: every one is drawn
// as a plain break, and the picture stays the sequence's.
TEST(SpriteVisibleRuns, OverlaysPastTheOwnersCountAreBreaks) {
  const Bytes shape = zorgen::WriteSprite(Shape());
  const Bytes dot = zorgen::WriteSprite(gfxtest::Solid(2, 2, 0x0F0F));
  constexpr size_t kOverlays = 70000;
  Canvas each(40, 30), runs(40, 30);
  for (Canvas* c : {&each, &runs}) c->surface.Fill(kBackground);
  // Sequence: a shape, the overlays (each a dot), a shape over the dots.
  auto dotAt = [&](Canvas& c, size_t i) { CIsoSprite::RenderClipped(&c.rb, dot.data(), 10 + static_cast<int>(i % 7), 10); };
  const QnoSpriteTarget eachTarget(&each.rb);
  eachTarget.Draw(shape.data(), 5, 5);
  for (size_t i = 1; i <= kOverlays; ++i) dotAt(each, i);
  eachTarget.Draw(shape.data(), 12, 6);
  QnoVisibleRuns visible;
  visible.Begin(QnoSpriteTarget(&runs.rb));
  ASSERT_TRUE(visible.AddBackwards(shape.data(), 12, 6));
  for (size_t i = kOverlays; i >= 1; --i) visible.OverlayBackwards(i);
  ASSERT_TRUE(visible.AddBackwards(shape.data(), 5, 5));
  visible.Pack();
  visible.Draw([&](size_t i) { dotAt(runs, i); });
  EXPECT_EQ(Shown(runs), Shown(each));
  EXPECT_GT(runs.surface.Count(0x0F0F), 0);
}

// Every drawing call of the render buffer and the sprite blits lists, while
// a list is set, a box inside the clip rectangle around every pixel of the
// clip rectangle it changed.
TEST(RenderBufferTouched, EveryDrawingCallListsWhereItDrew) {
  const Bytes shape = zorgen::WriteSprite(Shape());
  std::vector<uint8_t> pixels16(2 * 10 * 6), mask(9 * 5);
  for (size_t i = 0; i < pixels16.size(); i += 2) qno_wr16(pixels16.data(), static_cast<uint32_t>(i), static_cast<uint16_t>(0x0100 + i));
  for (size_t i = 0; i < mask.size(); ++i) mask[i] = static_cast<uint8_t>(i % 3);
  auto picture = [](const std::vector<uint8_t>& pixels, int width, int height, int16_t bits, uint32_t key) {
    QnoBitmapInfo info;
    info.pixels = pixels.data();
    info.rowBytes = width * bits / 8;
    info.width = width;
    info.height = height;
    info.bitsPerPixel = bits;
    info.bottomFirst = 0;
    info.keyColor = key;
    return info;
  };
  const QnoBitmapInfo bitmap = picture(pixels16, 10, 6, 16, 0x0104), masked = picture(mask, 9, 5, 8, 0);
  const std::vector<std::pair<const char*, std::function<void(QnoRenderBuffer&)>>> calls = {
      {"fill", [](QnoRenderBuffer& rb) { rb.FillRect(-5, 10, 30, 20, 0x0001); }},
      {"frame", [](QnoRenderBuffer& rb) { rb.FrameRect(8, 8, 80, 60, 0x0002); }},
      {"line", [](QnoRenderBuffer& rb) { CIsoSprite::Line(&rb, 0, 0, 89, 69, 0x0003); }},
      {"steep line", [](QnoRenderBuffer& rb) { CIsoSprite::Line(&rb, 60, -20, 20, 100, 0x0004); }},
      {"sprite cut", [&](QnoRenderBuffer& rb) { CIsoSprite::RenderClipped(&rb, shape.data(), 1, 45); }},
      {"sprite", [&](QnoRenderBuffer& rb) { CIsoSprite::RenderClipped(&rb, shape.data(), 20, 20); }},
      {"sprite in a tile", [&](QnoRenderBuffer& rb) { CIsoSprite::RenderIsoClipped(&rb, shape.data(), 30, 30, 28, 28, 32, 16); }},
      {"sprite cut by a tile", [&](QnoRenderBuffer& rb) { CIsoSprite::RenderIsoClipped(&rb, shape.data(), 30, 30, 33, 30, 6, 8); }},
      {"target", [&](QnoRenderBuffer& rb) { QnoSpriteTarget(&rb).Draw(shape.data(), 40, 10); }},
      {"target cut", [&](QnoRenderBuffer& rb) { QnoSpriteTarget(&rb).Draw(shape.data(), 64, 45); }},
      {"opaque picture", [&](QnoRenderBuffer& rb) { rb.DrawBitmap_Opaque(&bitmap, 6, 5); }},
      {"keyed picture", [&](QnoRenderBuffer& rb) { rb.DrawBitmap_Transp(&bitmap, 68, 30); }},
      {"mask", [&](QnoRenderBuffer& rb) { rb.DrawBitmap_Mask(&masked, 35, 48, 0x0005); }},
  };
  const int left = 5, top = 4, right = 70, bottom = 50;
  for (const auto& [name, draw] : calls) {
    Canvas c(90, 70);
    c.surface.Fill(kBackground);
    c.rb.SetClipRect(left, top, right, bottom);
    std::vector<QnoBox> boxes;
    c.rb.SetTouchedList(&boxes);
    draw(c.rb);
    c.rb.SetTouchedList(nullptr);
    draw(c.rb);  // with no list set, nothing is listed
    for (const QnoBox& b : boxes) {
      EXPECT_TRUE(b.left >= left && b.top >= top && b.right <= right && b.bottom <= bottom) << name;
      EXPECT_TRUE(b.left < b.right && b.top < b.bottom) << name;
    }
    int changed = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) {
        if (c.At(x, y) == kBackground) continue;
        ++changed;
        const bool listed = std::any_of(boxes.begin(), boxes.end(), [&](const QnoBox& b) {
          return x >= b.left && x < b.right && y >= b.top && y < b.bottom;
        });
        ASSERT_TRUE(listed) << name << " drew " << x << "," << y << " outside its boxes";
      }
    EXPECT_GT(changed, 0) << name;
    EXPECT_EQ(boxes.size(), 1u) << name;
  }
}

// A sprite drawn whole by one overlay's work and again, cut to a tile, by
// a later overlay's (a car at its cell's edge drawn again at the tile in
// front): the second draw is passed over when the buffer says it changes
// nothing of the sequence's picture.
struct DrawnTwice {
  const void* sprite;
  int x, y;
  QnoBox tile;  // left, top, width, height of the tile of the second draw
  QnoDrawMark mark;

  void First(Canvas& c) {
    CIsoSprite::RenderClipped(&c.rb, sprite, x, y);
    mark = c.rb.MarkDrawing();
  }
  // True when it was drawn.
  bool Again(Canvas& c, bool mayPass) const {
    const QnoBox box = CIsoSprite::IsoClippedBox(&c.rb, sprite, x, y, tile.left, tile.top, tile.right, tile.bottom);
    if (mayPass && c.rb.RedrawChangesNothing(mark, box)) return false;
    CIsoSprite::RenderIsoClipped(&c.rb, sprite, x, y, tile.left, tile.top, tile.right, tile.bottom);
    return true;
  }
};

// Cars at random places, each drawn by one overlay's work and again, cut to
// a tile about it, by a later one's, among sprites and other overlays'
// cars, over frames where the cars move: every frame equals drawing every
// item and every second draw in turn, and some second draws are passed
// over while others are not.
TEST(SpriteVisibleRuns, SecondDrawsPassedOverLeaveTheSequencesPicture) {
  std::mt19937 rng(29);
  const Bytes ground = zorgen::WriteSprite(gfxtest::Solid(84, 64, 0x0421));
  const Bytes shapes[] = {zorgen::WriteSprite(Shape()), zorgen::WriteSprite(gfxtest::Solid(9, 7, 0x3333))};
  const Bytes cars[] = {zorgen::WriteSprite(gfxtest::Solid(7, 5, 0x0F0F)), zorgen::WriteSprite(Shape())};
  std::vector<KeptItem> items{{false, ground.data(), 1, 1}};
  for (int i = 0; i < 80; ++i) {
    const int x = static_cast<int>(rng() % 100) - 10, y = static_cast<int>(rng() % 80) - 10;
    items.push_back({rng() % 2 == 0, shapes[rng() % 2].data(), x, y});
  }
  std::vector<size_t> overlays;
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].overlay) overlays.push_back(i);
  struct Car {
    size_t first, second;
    DrawnTwice twice;
  };
  std::vector<Car> placed;
  for (int k = 0; k < 40; ++k) {
    const size_t a = rng() % overlays.size(), b = a + 1 + rng() % 6;
    if (b >= overlays.size()) continue;
    const int x = static_cast<int>(rng() % 84), y = static_cast<int>(rng() % 64);
    const QnoBox tile{x - 4 + static_cast<int>(rng() % 9), y + static_cast<int>(rng() % 8), 16, 8};
    placed.push_back({overlays[a], overlays[b], {cars[rng() % 2].data(), x, y, tile, {}}});
  }
  int passed = 0, drawn = 0;
  auto work = [&](Canvas& c, size_t i, int frame, bool mayPass) {
    for (Car& car : placed)
      if (car.second == i) {
        const bool again = car.twice.Again(c, mayPass);
        if (mayPass) again ? ++drawn : ++passed;
      }
    for (Car& car : placed)
      if (car.first == i) car.twice.First(c);
    (void)frame;
  };
  Canvas each(90, 70), kept(90, 70);
  QnoVisibleRuns visible;
  PackForKeptCanvas(visible, each, kept, {2, 1, 87, 68}, items);
  if (HasFatalFailure()) return;
  const QnoSpriteTarget eachTarget(&each.rb);
  for (int frame = 0; frame < 8; ++frame) {
    // The cars move; a car whose first draw moved elsewhere draws again.
    for (Car& car : placed) {
      car.twice.x += frame % 3 - 1;
      car.twice.tile.left += frame % 3 - 1;
    }
    for (size_t i = 0; i < items.size(); ++i)
      items[i].overlay ? work(each, i, frame, false) : eachTarget.Draw(items[i].sprite, items[i].x, items[i].y);
    kept.rb.SetPictureKept(true);
    visible.Draw([&](size_t i) { work(kept, i, frame, true); });
    kept.rb.SetPictureKept(false);
    ASSERT_EQ(Shown(kept), Shown(each)) << "frame " << frame;
  }
  EXPECT_GT(passed, 0);
  EXPECT_GT(drawn, 0);
}
