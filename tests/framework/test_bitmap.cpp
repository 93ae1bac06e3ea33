#include <gtest/gtest.h>

#include <cstring>

#include "framework/qno_bitmap.h"
#include "framework/qno_bytes.h"
#include "gfx_test_util.h"

using gfxtest::Canvas;
using gfxtest::Solid;
using zorgen::Bytes;
using zorgen::Image16;
using zorgen::Image8;

namespace {

QnoBitmap* AsBitmap(Bytes& b) {
  EXPECT_TRUE(QnoBitmap::Validate(b.data(), static_cast<uint32_t>(b.size())));
  return reinterpret_cast<QnoBitmap*>(b.data());
}

// A picture whose every pixel differs: value = 1 + x + 16 y.
Image16 Numbered(int w, int h) {
  Image16 im(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) im.At(x, y) = static_cast<uint16_t>(1 + x + 16 * y);
  return im;
}

Image8 Numbered8(int w, int h) {
  Image8 im;
  im.width = w, im.height = h;
  im.pixels.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) im.pixels[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(1 + (x + 7 * y) % 250);
  for (int i = 0; i < 256; ++i) im.palette[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 40};
  return im;
}

uint16_t PaletteColour(const Image8& im, uint8_t index) {
  const auto& e = im.palette[index];
  return static_cast<uint16_t>((e[0] >> 3) << 11 | (e[1] >> 2) << 5 | e[2] >> 3);
}

}  // namespace

TEST(Bitmap, PicturesAreCentredOnThePoint) {
  Canvas c(30, 30);
  Bytes odd = zorgen::WriteQbmp16(Solid(5, 5, 0x7777), zorgen::KEY_565, false);
  c.rb.DrawBitmap(AsBitmap(odd), 10, 10, 0);
  EXPECT_EQ(c.surface.Box(0), (std::vector<int>{8, 8, 12, 12}));
  Canvas d(30, 30);
  Bytes even = zorgen::WriteQbmp16(Solid(4, 4, 0x7777), zorgen::KEY_565, false);
  d.rb.DrawBitmap(AsBitmap(even), 10, 10, 0);
  EXPECT_EQ(d.surface.Box(0), (std::vector<int>{8, 8, 11, 11}));
}

TEST(Bitmap, UprightPixelExactFromEveryLayout) {
  const Image16 im = Numbered(6, 4);
  std::vector<Bytes> blobs = {zorgen::WriteQbmp16(im, zorgen::KEY_565, false), zorgen::WriteBmp16(im, false),
                              zorgen::WriteBmp16(im, true)};
  for (Bytes& b : blobs) {
    Canvas c(20, 20);
    c.rb.DrawBitmap(AsBitmap(b), 10, 10, 0);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 6; ++x) ASSERT_EQ(c.At(7 + x, 8 + y), im.pixels[y * 6 + x]) << x << "," << y;
  }
}

TEST(Bitmap, TwentyFourBitPicturesArePackedTo565) {
  Image16 im(3, 2);
  const uint16_t colours[] = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x8410, 0x0000};
  for (int i = 0; i < 6; ++i) im.pixels[i] = colours[i];
  for (Bytes b : {zorgen::WriteQbmp24(im, 0x123456), zorgen::WriteBmp24(im, false), zorgen::WriteBmp24(im, true)}) {
    Canvas c(10, 10);
    c.surface.Fill(0x5555);
    c.rb.DrawBitmap(AsBitmap(b), 5, 5, 0);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(c.At(4 + i % 3, 4 + i / 3), colours[i]) << i;
  }
}

TEST(Bitmap, EightBitPicturesUseTheirOwnPalette) {
  const Image8 im = Numbered8(7, 5);
  for (Bytes b : {zorgen::WriteQbmp8(im, 0, zorgen::Rle::None), zorgen::WriteBmp8(im, false), zorgen::WriteBmp8(im, true)}) {
    Canvas c(20, 20);
    c.rb.DrawBitmap(AsBitmap(b), 10, 10, 0);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) ASSERT_EQ(c.At(7 + x, 8 + y), PaletteColour(im, im.pixels[y * 7 + x]));
  }
}

TEST(Bitmap, RunLengthSchemesDrawLikeTheUncompressedPicture) {
  Image8 im = Numbered8(70, 9);
  // long runs, key pixels and values that need escaping in scheme B
  for (int x = 0; x < 70; ++x) im.pixels[2 * 70 + x] = 0xC5;
  for (int x = 10; x < 50; ++x) im.pixels[4 * 70 + x] = 0;
  im.pixels[6 * 70 + 3] = 0xFF;
  Bytes plain = zorgen::WriteQbmp8(im, 0, zorgen::Rle::None);
  for (zorgen::Rle rle : {zorgen::Rle::SchemeA, zorgen::Rle::SchemeB}) {
    Bytes packed = zorgen::WriteQbmp8(im, 0, rle);
    ASSERT_TRUE(AsBitmap(packed)->HasRleTable());
    for (int cx : {35, 5, 75}) {  // whole, cut left, cut right
      for (int cy : {10, 2, 14}) {
        Canvas a(80, 20), b(80, 20);
        a.surface.Fill(0x1111);
        b.surface.Fill(0x1111);
        a.rb.DrawBitmap(AsBitmap(plain), cx, cy, 1);
        b.rb.DrawBitmap(AsBitmap(packed), cx, cy, 1);
        for (int y = 0; y < 20; ++y)
          for (int x = 0; x < 80; ++x) ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y << " at " << cx << "," << cy;
      }
    }
  }
}

TEST(Bitmap, TransparentDrawSkipsTheKeyUnlessThePictureIsAlwaysOpaque) {
  Canvas c(10, 10);
  c.surface.Fill(0x2222);
  Bytes allKey = zorgen::WriteQbmp16(Solid(4, 4, zorgen::KEY_565), zorgen::KEY_565, false);
  c.rb.DrawBitmap(AsBitmap(allKey), 5, 5, 1);
  EXPECT_EQ(c.surface.CountNot(0x2222), 0);
  c.rb.DrawBitmap(AsBitmap(allKey), 5, 5, 0);
  EXPECT_EQ(c.surface.CountNot(0x2222), 16);

  Canvas d(10, 10);
  d.surface.Fill(0x2222);
  Bytes opaque = zorgen::WriteQbmp16(Solid(4, 4, zorgen::KEY_565), zorgen::KEY_565, true);
  d.rb.DrawBitmap(AsBitmap(opaque), 5, 5, 1);
  EXPECT_EQ(d.surface.CountNot(0x2222), 16);

  // Invisible pixels of a drawing become the key.
  Image16 ring = Solid(3, 3, 0x0F0F);
  ring.Visible(1, 1) = 0;
  Canvas e(10, 10);
  Bytes r = zorgen::WriteQbmp16(ring, zorgen::KEY_565, false);
  e.rb.DrawBitmap(AsBitmap(r), 5, 5, 1);
  EXPECT_EQ(e.surface.CountNot(0), 8);
  EXPECT_EQ(e.At(5, 5), 0);
}

// Pictures are shared resources: drawing converts the pixels it copies and
// leaves the picture byte for byte as stored, however often it is drawn.
TEST(Bitmap, OtherSixteenBitFormatsAreConvertedAsDrawn) {
  const Image16 im = Numbered(5, 3);
  for (int code : {1, 3}) {
    Bytes b = zorgen::WriteQbmp16As(im, code);
    const Bytes stored = b;
    QnoBitmap* bm = AsBitmap(b);
    EXPECT_EQ(bm->GetColorFormat(), code == 1 ? 555 : -565);
    for (int pass = 0; pass < 4; ++pass) {
      Canvas c(10, 10);
      c.rb.DrawBitmap(bm, 5, 5, pass % 2);
      EXPECT_EQ(b, stored) << code << " " << pass;
      EXPECT_EQ(bm->GetColorFormat(), code == 1 ? 555 : -565);
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
          uint16_t want = im.pixels[y * 5 + x];
          if (code == 1) want &= ~0x20;  // 555 keeps five bits of green
          ASSERT_EQ(c.At(3 + x, 4 + y), want);
        }
    }
  }
}

TEST(Bitmap, ClippedPixelExactAtEveryEdge) {
  const Image16 im = Numbered(6, 6);
  Bytes b = zorgen::WriteQbmp16(im, zorgen::KEY_565, false);
  const int points[][2] = {{1, 10}, {18, 10}, {10, 1}, {10, 18}, {0, 0}, {19, 19}, {-3, 10}, {22, 10}};
  for (const auto& p : points) {
    Canvas c(20, 20);
    c.rb.SetClipRect(2, 2, 18, 18);
    c.rb.DrawBitmap(AsBitmap(b), p[0], p[1], 0);
    const int left = p[0] - 3, top = p[1] - 3;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        const bool inside = x >= 2 && x < 18 && y >= 2 && y < 18 && x >= left && x < left + 6 && y >= top && y < top + 6;
        ASSERT_EQ(c.At(x, y), inside ? im.pixels[(y - top) * 6 + (x - left)] : 0) << x << "," << y;
      }
  }
}

TEST(Bitmap, DamagedOrForeignBlobsAreRefused) {
  Bytes good = zorgen::WriteQbmp16(Solid(8, 8, 1), zorgen::KEY_565, false);
  for (size_t cut : {size_t{0}, size_t{10}, size_t{27}, size_t{28}, good.size() - 1})
    EXPECT_FALSE(QnoBitmap::Validate(good.data(), static_cast<uint32_t>(cut))) << cut;
  Bytes bad = good;
  qno_wr32(bad.data(), 16, 0xFFFFFFF0u);  // pixels far outside
  EXPECT_FALSE(QnoBitmap::Validate(bad.data(), static_cast<uint32_t>(bad.size())));
  bad = good;
  qno_wr16(bad.data(), 8, 9000);  // wider than its pixel data
  EXPECT_FALSE(QnoBitmap::Validate(bad.data(), static_cast<uint32_t>(bad.size())));
  bad = good;
  bad[6] = 12;
  EXPECT_FALSE(QnoBitmap::Validate(bad.data(), static_cast<uint32_t>(bad.size())));
  Bytes rle = zorgen::WriteQbmp8(Numbered8(9, 9), 0, zorgen::Rle::SchemeA);
  qno_wr32(rle.data(), qno_rd32(rle.data(), 24) + 8, 0x7FFFFFFF);  // a row past the data
  EXPECT_FALSE(QnoBitmap::Validate(rle.data(), static_cast<uint32_t>(rle.size())));
  Bytes bmp = zorgen::WriteBmp16(Numbered(5, 5), false);
  for (size_t cut : {size_t{20}, size_t{60}, bmp.size() - 2})
    EXPECT_FALSE(QnoBitmap::Validate(bmp.data(), static_cast<uint32_t>(cut))) << cut;
  qno_wr32(bmp.data(), 22, 0x7FFFFFFFu);
  EXPECT_FALSE(QnoBitmap::Validate(bmp.data(), static_cast<uint32_t>(bmp.size())));
}

TEST(Bitmap, OtherVersionsAndCompressedBmpsDrawNothing) {
  Bytes b = zorgen::WriteQbmp16(Solid(4, 4, 0xFFFF), zorgen::KEY_565, false);
  b[4] = 2;
  Canvas c(10, 10);
  EXPECT_EQ(c.rb.DrawBitmap(AsBitmap(b), 5, 5, 0), 1);
  Bytes bmp = zorgen::WriteBmp24(Solid(4, 4, 0xFFFF), false);
  qno_wr32(bmp.data(), 30, 1);  // run-length BMP
  EXPECT_EQ(c.rb.DrawBitmap(AsBitmap(bmp), 5, 5, 0), 1);
  EXPECT_EQ(c.surface.CountNot(0), 0);
}

TEST(Palette, ClosestIndexPrefersTheLowerOfEqualEntries) {
  Bytes p = zorgen::WriteCmap({{0, 0, 0}, {200, 10, 10}, {255, 255, 255}, {200, 10, 10}, {10, 200, 10}});
  ASSERT_TRUE(QnoRgbPalette::Validate(p.data(), static_cast<uint32_t>(p.size())));
  const QnoRgbPalette* pal = reinterpret_cast<QnoRgbPalette*>(p.data());
  EXPECT_EQ(pal->GetClosestColorIndex(0xC80A0A, 0, 255), 1u);
  EXPECT_EQ(pal->GetClosestColorIndex(0xC80A0A, 2, 255), 3u);
  EXPECT_EQ(pal->GetClosestColorIndex(0x00F000, 0, 255), 4u);
  EXPECT_EQ(pal->GetClosestColorIndex(0xFFFFFF, 3, 1), 0u);
  EXPECT_FALSE(QnoRgbPalette::Validate(p.data(), static_cast<uint32_t>(p.size() - 1)));
  qno_wr32(p.data(), 8, 300);
  EXPECT_FALSE(QnoRgbPalette::Validate(p.data(), static_cast<uint32_t>(p.size())));
}

TEST(ZorvaBitmapTest, DefaultPicturesCanBeClearedAndDrawn) {
  uint8_t* blob = ZorvaBitmap::CreateDefault(10, 3, 16);
  ASSERT_NE(blob, nullptr);
  QnoBitmap* bm = reinterpret_cast<QnoBitmap*>(blob);
  const uint32_t size = 28 + 3 * 20;
  EXPECT_TRUE(QnoBitmap::Validate(blob, size));
  EXPECT_EQ(bm->GetColorFormat(), 555);
  ZorvaBitmap::Clear(bm, 0x1F);
  Canvas c(20, 20);
  c.rb.DrawBitmap(bm, 10, 10, 0);
  // every byte 0x1F: the 555 pixel 0x1F1F, drawn as 565
  EXPECT_EQ(c.At(10, 10), 0x3E1F);
  EXPECT_EQ(c.surface.CountNot(0), 30);
  std::free(blob);
  uint8_t* grey = ZorvaBitmap::CreateDefault(4, 4, 8);
  EXPECT_TRUE(QnoBitmap::Validate(grey, 28 + 1024 + 16));
  EXPECT_EQ(grey[28 + 4 * 200], 200);
  std::free(grey);
}

TEST(Bitmap, HeaderOnlyBmpOfAnyDepthIsReadWithinItsLength) {
  // Found by the blob fuzzer: the colour masks were read from BMPs too short
  // to hold them.
  for (Bytes b : {zorgen::WriteBmp24(Image16(0, 0), false), zorgen::WriteBmp8(Image8{}, false)}) {
    b.resize(std::min<size_t>(b.size(), 54));
    if (b.size() == 54) qno_wr32(b.data(), 10, 54);
    ASSERT_TRUE(QnoBitmap::Validate(b.data(), static_cast<uint32_t>(b.size())));
    Bytes exact(b.begin(), b.end());  // no slack past the header
    Canvas c(8, 8);
    c.rb.DrawBitmap(reinterpret_cast<QnoBitmap*>(exact.data()), 4, 4, 0);
    EXPECT_EQ(c.surface.CountNot(0), 0);
  }
}
