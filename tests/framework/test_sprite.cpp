#include <gtest/gtest.h>

#include "framework/qno_bytes.h"
#include "framework/qno_sprite.h"
#include "gfx_test_util.h"

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

TEST(Sprite, ConversionsKeepTheFirstRunAndComeBack) {
  Bytes s = zorgen::WriteSprite(zorgen::Image16(4, 2, 0xF81F, 1));
  Bytes original = s;
  CIsoSprite::Convert565SpriteToM565Sprite(s.data());
  EXPECT_EQ(CIsoSprite::GetTag(s.data()), QNO_SPRITE_TAG_M565);
  ASSERT_TRUE(Valid(s));
  // Drawing into the 565 buffer converts back; the first run still starts at column 0.
  Canvas c(8, 4);
  CIsoSprite::RenderClipped(&c.rb, s.data(), 0, 0);
  EXPECT_EQ(s, original);
  EXPECT_EQ(c.At(0, 0), 0xF81F);
  EXPECT_EQ(c.surface.CountNot(0), 8);
  CIsoSprite::Convert565SpriteTo555Sprite(s.data());
  EXPECT_EQ(qno_rd16(s.data(), 18), 0x7C1F);
  CIsoSprite::ConvertToFormat(s.data(), 565);
  EXPECT_EQ(qno_rd16(s.data(), 18), 0xF81F);
}

TEST(Sprite, RunsThatOverrunTheirLineOrTheBlobAreRefused) {
  EXPECT_TRUE(Valid(RawSprite(4, 1, {0, 1, 1, 2, 2, 3, 4, 0, 0})));
  EXPECT_FALSE(Valid(RawSprite(4, 1, {0, 1, 1, 4, 2, 3, 4, 0, 0})));  // 1 + 2 + 2 > 4
  EXPECT_FALSE(Valid(RawSprite(4, 1, {0, 1, 1, 3, 1, 3, 0, 0})));     // odd skip
  EXPECT_FALSE(Valid(RawSprite(4, 2, {0, 2, 1, 2, 0, 0})));               // second line missing
  EXPECT_FALSE(Valid(RawSprite(400, 1, {0, 300, 1})));                    // pixels past the end
  Bytes tag = RawSprite(4, 1, {0, 0});
  qno_wr32(tag.data(), 12, 777);
  EXPECT_FALSE(Valid(tag));
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
}
