#include <gtest/gtest.h>

#include "framework/qno_bytes.h"
#include "framework/qno_font.h"
#include "gfx_test_util.h"

using gfxtest::Canvas;
using zorgen::Bytes;
using zorgen::Glyph;

namespace {

// A font of codes 'A'..'C', 4 rows high: 'A' a 3-wide block, 'B' a 2-wide
// vertical bar in its left column, 'C' 5 wide and empty.
Bytes TestFont() {
  Glyph a{3, std::vector<uint8_t>(12, 1)};
  Glyph b{2, {1, 0, 1, 0, 1, 0, 1, 0}};
  Glyph c{5, std::vector<uint8_t>(20, 0)};
  return zorgen::WriteFont('A', 'C', 4, {a, b, c});
}

const QnoBitmapFont* AsFont(Bytes& b) {
  EXPECT_TRUE(QnoBitmapFont::Validate(b.data(), static_cast<uint32_t>(b.size())));
  return reinterpret_cast<const QnoBitmapFont*>(b.data());
}

}  // namespace

TEST(Font, TextLengthSumsGlyphWidthsAndIsZeroForAnyUnknownCode) {
  Bytes f = TestFont();
  Canvas c(10, 10);
  EXPECT_EQ(c.rb.GetTextLength(AsFont(f), "ABCA"), 3 + 2 + 5 + 3);
  EXPECT_EQ(c.rb.GetTextLength(AsFont(f), ""), 0);
  EXPECT_EQ(c.rb.GetTextLength(AsFont(f), "AxB"), 0);
  EXPECT_EQ(c.rb.GetTextLength(nullptr, "A"), 0);
  EXPECT_EQ(c.rb.GetTextLength(AsFont(f), nullptr), 0);
}

TEST(Font, GlyphsAreDrawnSideBySideFromTheTopLeftCorner) {
  Bytes f = TestFont();
  Canvas c(20, 10);
  EXPECT_EQ(c.rb.RenderText(AsFont(f), 2, 3, "AxBA", 0xF800), 0);
  // 'A' at 2..4, 'x' skipped without advancing, 'B' at 5..6, 'A' at 7..9; rows 3..6.
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool rows = y >= 3 && y <= 6;
      const bool ink = rows && ((x >= 2 && x <= 4) || x == 5 || (x >= 7 && x <= 9));
      ASSERT_EQ(c.At(x, y), ink ? 0xF800 : 0) << x << "," << y;
    }
  // Drawing again changes nothing; background pixels stay.
  c.rb.RenderText(AsFont(f), 2, 3, "AxBA", 0xF800);
  EXPECT_EQ(c.surface.CountNot(0), 4 * 7);
  EXPECT_EQ(c.rb.RenderText(nullptr, 0, 0, "A", 1), 1);
  EXPECT_EQ(c.rb.RenderText(AsFont(f), 0, 0, nullptr, 1), 1);
  EXPECT_EQ(c.rb.RenderText(AsFont(f), 0, 0, "", 1), 0);
}

TEST(Font, GlyphsAreClippedPixelExactly) {
  Bytes f = TestFont();
  Canvas c(20, 10);
  c.rb.SetClipRect(3, 4, 8, 6);
  c.rb.RenderText(AsFont(f), 2, 3, "AAA", 0x001F);
  EXPECT_EQ(c.surface.Box(0), (std::vector<int>{3, 4, 7, 5}));
  EXPECT_EQ(c.surface.CountNot(0), 10);
  Canvas d(6, 6);
  d.rb.RenderText(AsFont(f), -2, -2, "AAA", 0x001F);
  EXPECT_EQ(d.surface.CountNot(0), 6 * 2);
}

TEST(Font, DamagedFontsAreRefused) {
  Bytes f = TestFont();
  EXPECT_FALSE(QnoBitmapFont::Validate(f.data(), static_cast<uint32_t>(f.size() - 1)));
  EXPECT_FALSE(QnoBitmapFont::Validate(f.data(), 27));
  Bytes bad = f;
  qno_wr16(bad.data(), 10, 300);  // codes beyond a byte
  EXPECT_FALSE(QnoBitmapFont::Validate(bad.data(), static_cast<uint32_t>(bad.size())));
  bad = f;
  qno_wr16(bad.data(), 8, 'D');  // first after last
  EXPECT_FALSE(QnoBitmapFont::Validate(bad.data(), static_cast<uint32_t>(bad.size())));
  bad = f;
  qno_wr32(bad.data(), 28 + 8 + 4, 0x40000000);  // a glyph far outside
  EXPECT_FALSE(QnoBitmapFont::Validate(bad.data(), static_cast<uint32_t>(bad.size())));
  bad = f;
  qno_wr16(bad.data(), 28 + 2, 900);  // a glyph wider than its pixels
  EXPECT_FALSE(QnoBitmapFont::Validate(bad.data(), static_cast<uint32_t>(bad.size())));
}
