// The archives the build generates: every blob passes its kind's check, the
// manifest is complete, and the pieces the game needs first are usable.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "framework/qno_animation.h"
#include "framework/qno_bitmap.h"
#include "framework/qno_font.h"
#include "framework/qno_sprite.h"
#include "gfx_test_util.h"
#include "manifest.h"

namespace {

std::string DataDir() { return zortest::BinaryDir() + "/gamedata"; }

void OpenAll(QnoResourceManager& m) {
  for (const char* name : {"ZORVANTA", "BSOUNDS", "UPDATE"}) {
    char path[1024];
    QnoMakeValidPathname(DataDir().c_str(), name, ".GLA", path, sizeof path);
    ASSERT_EQ(m.AddWadFile(path), 0) << path;
  }
}

// 1 valid, 0 not; -1 for the map's own kinds, which the map's tests check
// against its readers (the framework knows nothing of them).
int ValidAs(zorgen::BlobKind kind, const uint8_t* d, uint32_t n) {
  switch (kind) {
    case zorgen::BlobKind::Bitmap: return QnoBitmap::Validate(d, n);
    case zorgen::BlobKind::Palette: return QnoRgbPalette::Validate(d, n);
    case zorgen::BlobKind::Font: return QnoBitmapFont::Validate(d, n);
    case zorgen::BlobKind::Animation: return QnoValidateAnimation(d, n);
    case zorgen::BlobKind::Sprite: return CIsoSprite::Validate(d, n);
    case zorgen::BlobKind::Text: return QnoValidateText(d, n);
    case zorgen::BlobKind::IsoTile:
    case zorgen::BlobKind::IsoGroup:
    case zorgen::BlobKind::MicroLayout: return -1;
  }
  return 0;
}

}  // namespace

TEST(GameData, EveryListedBlobPassesItsKindsCheckAndTheManifestIsComplete) {
  QnoResourceManager m;
  OpenAll(m);
  std::ifstream list(DataDir() + "/" + zorgen::MANIFEST_FILE);
  ASSERT_TRUE(list) << "the build writes the list beside the archives";
  std::string archive, kindName;
  uint32_t id;
  std::set<uint32_t> seen;
  while (list >> archive >> id >> kindName) {
    zorgen::BlobKind kind;
    ASSERT_TRUE(zorgen::KindFromName(kindName, &kind)) << kindName;
    const uint8_t* blob = static_cast<const uint8_t*>(m.GetResource(id));
    ASSERT_NE(blob, nullptr) << id;
    EXPECT_NE(ValidAs(kind, blob, m.GetResourceLength(id)), 0) << id << " " << kindName;
    seen.insert(id);
  }
  for (const zorgen::ManifestEntry& e : zorgen::Manifest()) EXPECT_TRUE(seen.count(e.id)) << e.id << " " << e.what;
}

TEST(GameData, FontsCoverTheCodePageWithUmlautsAndSharpS) {
  QnoResourceManager m;
  OpenAll(m);
  gfxtest::Canvas c(200, 40);
  for (uint32_t id : {zorgen::FONT_STANDARD, zorgen::FONT_STATUS, zorgen::FONT_FIGURES, zorgen::FONT_TITLE}) {
    const QnoBitmapFont* f = QnoBitmapFont::FromResource(&m, id);
    ASSERT_NE(f, nullptr) << id;
    EXPECT_GE(f->GetHeight(), 10) << id;
    EXPECT_LE(f->GetHeight(), 20) << id;
    const std::string text = zorgen::Utf8ToCp1252("Größe ÄÖÜ äöü ß €");
    EXPECT_GT(c.rb.GetTextLength(f, text.c_str()), 0) << id;
    for (unsigned char ch : std::string("\xc4\xd6\xdc\xe4\xf6\xfc\xdf" "AZaz09"))
      EXPECT_GT(f->GetGlyphWidth(ch), 0) << id << " " << int(ch);
    // ink on every letter that has any
    gfxtest::Canvas d(40, 30);
    d.rb.RenderText(f, 2, 2, "\xdf", 0xFFFF);
    EXPECT_GT(d.surface.CountNot(0), 5) << id;
  }
}

// A figure must not read as a letter: "2008" with eights like B's, or an
// "O" in a save's name taken for a nought. The pairs are drawn alone and
// compared pixel for pixel.
TEST(GameData, FiguresLookUnlikeTheLettersTheyResemble) {
  QnoResourceManager m;
  OpenAll(m);
  auto ink = [](const QnoBitmapFont* f, char ch) {
    gfxtest::Canvas c(30, 30);
    const char text[2] = {ch, 0};
    c.rb.RenderText(f, 2, 2, text, 0xFFFF);
    std::string rows;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 30; ++x) rows += c.At(x, y) ? '#' : '.';
    return rows;
  };
  for (uint32_t id : {zorgen::FONT_STANDARD, zorgen::FONT_STATUS, zorgen::FONT_FIGURES, zorgen::FONT_TITLE}) {
    const QnoBitmapFont* f = QnoBitmapFont::FromResource(&m, id);
    ASSERT_NE(f, nullptr) << id;
    for (auto [figure, letter] : {std::pair{'8', 'B'}, {'0', 'O'}, {'5', 'S'}, {'1', 'l'}, {'1', 'I'}, {'2', 'Z'}})
      EXPECT_NE(ink(f, figure), ink(f, letter)) << "font " << id << ": " << figure << " looks like " << letter;
  }
}

TEST(GameData, CursorsAnimateVisiblePicturesWithThePointerTipOnTheMouse) {
  QnoResourceManager m;
  OpenAll(m);
  for (const zorgen::CursorEntry& e : zorgen::Cursors()) {
    QnoAniMotor motor(&m);
    motor.SetResourceID(e.animationId, 0);
    ASSERT_TRUE(motor.IsBound()) << e.animationId;
    gfxtest::Canvas c(100, 100);
    c.surface.Fill(0x1234);  // not a colour the cursors use
    QnoAnimationContext ctx;
    ctx.manager = &m;
    ctx.renderBuffer = &c.rb;
    ctx.tick = 5;
    EXPECT_EQ(QnoAnimation2D(&ctx, &motor, 50, 50, 1.0f), 1) << e.animationId;
    EXPECT_GT(c.surface.CountNot(0x1234), 40) << e.animationId;
    if (e.design == zorgen::CursorDesign::Pointer) {
      // The arrow's tip is the mouse position: nothing above or left of it.
      const std::vector<int> box = c.surface.Box(0x1234);
      EXPECT_EQ(box[0], 50);
      EXPECT_EQ(box[1], 50);
    }
  }
  // The drag cursor has the two states the map asks for.
  QnoAniMotor drag(&m);
  drag.SetResourceID(25951, 0);
  drag.SetState(1, 0);
  EXPECT_TRUE(drag.IsBound());
}

TEST(GameData, LoadingPicturesHaveTheSizeTheProgressBarIsPlacedFor) {
  QnoResourceManager m;
  OpenAll(m);
  for (uint32_t id : {zorgen::PIC_LOADING_DE, zorgen::PIC_LOADING_EN}) {
    QnoBitmap* b = QnoBitmap::FromResource(&m, id);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetSizeX(), 287);
    EXPECT_EQ(b->GetSizeY(), 80);
  }
}
