#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/qno_display.h"
#include "framework/qno_font.h"
#include "framework/qno_resource.h"
#include "gui/balloon_help.h"
#include "gui/item_text.h"
#include "gui/text_markup.h"
#include "gui_fakes.h"
#include "support/test_support.h"
#include "worldbase/zor_world_host.h"

namespace {
// Every character 6 px wide; records each drawn run.
struct FixedPainter : CTextPainter {
  struct Run {
    int x, y;
    std::string text;
  };
  int Measure(const char* text) override { return static_cast<int>(std::strlen(text)) * 6; }
  void Draw(int x, int y, const char* text, int) override { runs.push_back({x, y, text}); }
  std::vector<Run> runs;
};

CTextLayout Layout(int width, bool wrap = false, EHO h = HO_LEFT) {
  CTextLayout l;
  l.left = l.startX = 100;
  l.top = l.startY = 50;
  l.width = width;
  l.h = h;
  l.wrap = wrap;
  return l;
}

std::string Format(EVarType type, double v, int language) {
  char out[64] = "unchanged";
  CTextMarkup::FormatValue(type, v, language, 0, out, sizeof out);
  return out;
}
}  // namespace

TEST(TextFormats, NumbersAndSeparators) {
  EXPECT_EQ(Format(VAR_INT, 123, 0), "123");
  EXPECT_EQ(Format(VAR_INT, 1234, 0), "1.234");
  EXPECT_EQ(Format(VAR_INT, 1234567, 0), "1.234.567");
  EXPECT_EQ(Format(VAR_INT, 1234567, 1), "1,234,567");
  EXPECT_EQ(Format(VAR_INT, -1234, 0), "-1.234");
  EXPECT_EQ(Format(VAR_FLOAT, 2.5, 0), "2,50 ");
  EXPECT_EQ(Format(VAR_FLOAT, 2.5, 1), "2.50 ");
  EXPECT_EQ(Format(VAR_DOUBLE, 2.5, 1), "2,50 ");
  EXPECT_EQ(Format(static_cast<EVarType>(9), 2.5, 1), "unchanged");
  // Huge and broken values stay inside the buffer.
  EXPECT_EQ(Format(VAR_INT, 1e300, 0), "999.999.999.999.999");
  EXPECT_EQ(Format(VAR_INT, -1e300, 1), "-999,999,999,999,999");
  EXPECT_EQ(Format(VAR_INT, std::nan(""), 0), "0");
  char tight[6] = "12345";
  EXPECT_EQ(CTextMarkup::InsertTausenderPunkt(tight, sizeof tight, 0), 0);
  EXPECT_STREQ(tight, "12345");
}

TEST(TextMarkup, TokensAlignAndBreak) {
  FixedPainter p;
  auto lookup = [](const char* name, std::string* out) {
    if (std::strcmp(name, "F.KONTO") != 0) return false;
    *out = "1.500";
    return true;
  };
  CTextMarkup::Run("Konto: @#var,INT,NULL,F.KONTO# DM@#var,INT,NULL,NONE#!", Layout(200), p, lookup);
  ASSERT_EQ(p.runs.size(), 1u);
  EXPECT_EQ(p.runs[0].text, "Konto: 1.500 DM!");
  EXPECT_EQ(p.runs[0].x, 104);

  FixedPainter q;
  CTextMarkup::Run("ab@#ALIGNH,RIGHT#cd@#alignh,right#@#POSITION,10,20#ef@nl gh", Layout(200), q, nullptr);
  ASSERT_EQ(q.runs.size(), 4u);
  EXPECT_EQ(q.runs[0].x, 104);  // drawn with the alignment before the token
  EXPECT_EQ(q.runs[1].x, 100 + 200 - 12 - 4);
  EXPECT_EQ(q.runs[2].text, "ef");
  EXPECT_EQ(q.runs[2].y, 70);
  EXPECT_EQ(q.runs[3].text, "gh");
  EXPECT_EQ(q.runs[3].y, 85);
  // "@nl" moved the line; "gh" follows with the separator skipped.
  FixedPainter r;
  CTextMarkup::Run("ab@nl cd@nl", Layout(200), r, nullptr);
  ASSERT_EQ(r.runs.size(), 2u);
  EXPECT_EQ(r.runs[1].text, "cd");
  EXPECT_EQ(r.runs[1].y, 65);
}

TEST(TextMarkup, MalformedInputStopsCleanly) {
  FixedPainter p;
  CTextMarkup::Run("seen @ unseen", Layout(200), p, nullptr);
  ASSERT_EQ(p.runs.size(), 1u);
  EXPECT_EQ(p.runs[0].text, "seen ");
  FixedPainter q;
  CTextMarkup::Run("a@#POSITION#b@#VAR#c@#POSITION,5#d@#open", Layout(200), q, nullptr);
  std::string all;
  for (auto& r : q.runs) all += r.text;
  EXPECT_EQ(all, "abcd");
  FixedPainter s;
  CTextMarkup::Run("x@nl", Layout(200), s, nullptr);  // "@nl" at the very end
  ASSERT_EQ(s.runs.size(), 1u);
  const std::string big(20000, 'z');
  FixedPainter t;
  CTextMarkup::Run(big.c_str(), Layout(200000), t, nullptr);
  EXPECT_EQ(t.runs[0].text.size(), CTextMarkup::kMaxGathered);
}

TEST(TextMarkup, MessagesWrapAtBlanks) {
  FixedPainter p;
  CTextLayout l = Layout(120, true, HO_LEFT);
  CTextMarkup::Run("Die Stadt braucht dringend neue Buslinien", l, p, nullptr);
  ASSERT_GE(p.runs.size(), 2u);
  for (size_t i = 0; i < p.runs.size(); ++i) EXPECT_EQ(p.runs[i].y, 50 + 15 * static_cast<int>(i));
  EXPECT_EQ(p.runs[0].text.back(), ' ');
  std::string joined;
  for (auto& r : p.runs) joined += r.text;
  EXPECT_EQ(joined, "Die Stadt braucht dringend neue Buslinien");
  // A very narrow item still advances one character per line.
  FixedPainter narrow;
  CTextMarkup::Run("abcdef", Layout(1, true), narrow, nullptr);
  EXPECT_EQ(narrow.runs.size(), 6u);
}

namespace {
// A world that speaks the language the test sets.
struct LanguageHost : CWorldHost {
  int language = 0;
  int GetLanguage() override { return language; }
};
}  // namespace

TEST(BalloonHelp, TableAndLanguage) {
  LanguageHost host;
  CWorldHost::Install(&host);
  EXPECT_STREQ(CBalloonHelp::GetText(0), "Spielleiste ein-/ausblenden");
  EXPECT_STREQ(CBalloonHelp::GetText(4), "Ausschnitt vergr\xF6\xDF" "ern");
  EXPECT_STREQ(CBalloonHelp::GetText(229), "Konto");
  host.language = 1;
  EXPECT_STREQ(CBalloonHelp::GetText(232), "Switch resolution to 1024x768");
  EXPECT_STREQ(CBalloonHelp::GetText(22), "Utilization of streets (percentage)");
  EXPECT_STREQ(CBalloonHelp::GetText(245), "Indicator: traffic safety");
  EXPECT_EQ(CBalloonHelp::GetText(246), nullptr);
  EXPECT_EQ(CBalloonHelp::GetText(-1), nullptr);
  CWorldHost::Install(nullptr);
  // Without a world the texts are German.
  EXPECT_STREQ(CBalloonHelp::GetText(229), "Konto");
}

namespace {
struct Screen : ::testing::Test {
  SDL_Surface* surface = nullptr;
  QnoRenderBuffer buffer;
  QnoDisplay display;
  QnoResourceManager resources;
  FakeHost host;
  void SetUp() override {
    surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 320, 120, 16, 0xF800, 0x07E0, 0x001F, 0);
    ASSERT_NE(surface, nullptr);
    QnoDisplayCreateStruct cs;
    cs.screenWidth = cs.viewWidth = 320;
    cs.screenHeight = cs.viewHeight = 120;
    ASSERT_EQ(display.Create(nullptr, &cs, surface), 0);
    resources.AddWadFile((zortest::BinaryDir() + "/gamedata/ZORVANTA.GLA").c_str());
  }
  void TearDown() override {
    // Rendering left the display as the measure context; it goes now.
    CItemText::SetMeasureContext(nullptr, nullptr);
    SDL_FreeSurface(surface);
  }
  uint16_t Pixel(int x, int y) {
    return reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch)[x];
  }
  std::string Ink(int x0, int y0, int w, int h) {
    std::string s;
    for (int y = y0; y < y0 + h; ++y) {
      for (int x = x0; x < x0 + w; ++x) s += Pixel(x, y) ? '#' : '.';
      s += '\n';
    }
    return s;
  }
};
}  // namespace

TEST_F(Screen, TextItemDrawsItsRunWhereTheAlignmentPutsIt) {
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(&resources, 823);
  ASSERT_NE(font, nullptr) << "the generated game data holds the standard font";
  CItemText item;
  item.Create(10, 20, 200, 20, 7, "Konto @#var,INT,NULL,F.KONTO#", HO_RIGHT, VO_CENTER, 3, 823, 0, 1, 2, 3, nullptr);
  item.AddVar(new FakeVar(VAR_INT, "F.KONTO", 25000));
  item.Render(&display, &resources, 5, 6);

  // The same run drawn directly, right-aligned 4 px inside the item.
  SDL_Surface* expected = SDL_CreateRGBSurface(SDL_SWSURFACE, 320, 120, 16, 0xF800, 0x07E0, 0x001F, 0);
  QnoRenderBuffer direct;
  direct.SetSurface(expected);
  const char* shown = "Konto 25.000";
  const int w = direct.GetTextLength(font, shown);
  ASSERT_GT(w, 0);
  const uint32_t colour = direct.GetClosestColor(39, 48, 70);
  direct.RenderText(font, 5 + 10 + 200 - w - 4, 6 + 20 + 10 - 7, shown, static_cast<int>(colour));
  auto firstInk = [](SDL_Surface* s) {
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 320; ++x)
        if (reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch)[x]) return y * 1000 + x;
    return -1;
  };
  EXPECT_EQ(firstInk(surface), firstInk(expected)) << Ink(130, 20, 60, 24);
  EXPECT_EQ(std::memcmp(surface->pixels, expected->pixels, static_cast<size_t>(surface->pitch) * 120), 0);
  EXPECT_EQ(Pixel(5 + 10 + 200 - w - 4 - 1, 20), 0);
  SDL_FreeSurface(expected);
}

TEST_F(Screen, TextItemInADialogReadsTheDialogsVariables) {
  ASSERT_NE(QnoBitmapFont::FromResource(&resources, 823), nullptr);
  const char* text = "Konto @#var,INT,NULL,F.KONTO#";
  // Drawn once with the variable on the item itself...
  CItemText own;
  own.Create(10, 20, 200, 20, 7, text, HO_LEFT, VO_CENTER, 3, 823, 0, 1, 2, 3, nullptr);
  own.AddVar(new FakeVar(VAR_INT, "F.KONTO", 25000));
  own.Render(&display, &resources, 5, 6);
  const std::string withOwnVariable = Ink(0, 0, 320, 60);
  // ...and once with the variable held by the dialog around the item.
  SDL_FillRect(surface, nullptr, 0);
  CDialog dialog;
  dialog.Create(0, 0, 300, 60, DIALOG_GROUP, 1, nullptr);
  dialog.AddVar(new FakeVar(VAR_INT, "F.KONTO", 25000), -1);
  auto* item = new CItemText;
  item->Create(10, 20, 200, 20, 7, text, HO_LEFT, VO_CENTER, 3, 823, 0, 1, 2, 3, nullptr);
  int number = -1;
  dialog.AddItem(item, &number);
  EXPECT_EQ(number, 0);
  dialog.Render(&display, &resources, 5, 6);
  EXPECT_EQ(Ink(0, 0, 320, 60), withOwnVariable);
  // Without the number the run is shorter, so the check above can fail.
  SDL_FillRect(surface, nullptr, 0);
  CItemText bare;
  bare.Create(10, 20, 200, 20, 7, text, HO_LEFT, VO_CENTER, 3, 823, 0, 1, 2, 3, nullptr);
  bare.Render(&display, &resources, 5, 6);
  EXPECT_NE(Ink(0, 0, 320, 60), withOwnVariable);
}

TEST_F(Screen, TypedNamesAreNeverMarkup) {
  CItemText item;
  item.Create(0, 0, 300, 20, 24, "", HO_LEFT, VO_CENTER, 3, 19671, 0, 1, 2, 3, nullptr);
  host.name = "A@nl";
  host.nameOpen = true;
  host.nameCursor = 1;
  item.Render(&display, &resources, 0, 0);
  ASSERT_NE(QnoBitmapFont::FromResource(&resources, 19671), nullptr);
  const int width = display.GetRenderBuffer()->GetTextLength(QnoBitmapFont::FromResource(&resources, 19671), "A@nl");
  int inkRight = 0;
  for (int x = 0; x < 320; ++x)
    for (int y = 0; y < 20; ++y)
      if (Pixel(x, y)) inkRight = std::max(inkRight, x);
  EXPECT_GT(inkRight, 4 + width / 2);  // the characters after '@' are drawn too
  EXPECT_EQ(CItemText::GetUnderlinePos(),
            display.GetRenderBuffer()->GetTextLength(QnoBitmapFont::FromResource(&resources, 19671), "A"));
}

TEST(TextMarkup, TokenFieldsAreReadWithoutTheirBlanks) {
  FixedPainter p;
  std::vector<std::string> asked;
  auto lookup = [&](const char* name, std::string* out) {
    asked.push_back(name);
    if (std::strcmp(name, "F.KONTO") != 0) return false;
    *out = "7";
    return true;
  };
  CTextMarkup::Run("K @#var, INT, NULL, F.KONTO #!@# ALIGNH , RIGHT #x", Layout(200), p, lookup);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], "F.KONTO");
  ASSERT_EQ(p.runs.size(), 2u);
  EXPECT_EQ(p.runs[0].text, "K 7!");
  // The blanks around "RIGHT" do not keep the alignment from taking effect.
  EXPECT_EQ(p.runs[1].x, 100 + 200 - 6 - 4);
  std::string fields[CTextMarkup::kMaxFields];
  const char* inner = " a ,\tb\t, ,c";
  ASSERT_EQ(CTextMarkup::SplitFields(inner, inner + std::strlen(inner), fields), 4);
  EXPECT_EQ(fields[0], "a");
  EXPECT_EQ(fields[1], "b");
  EXPECT_EQ(fields[2], "");
  EXPECT_EQ(fields[3], "c");
}

TEST_F(Screen, AnEmptyTextBlanksTheItem) {
  ASSERT_NE(QnoBitmapFont::FromResource(&resources, 823), nullptr);
  CItemText item;
  item.Create(10, 20, 200, 20, 7, "Konto", HO_LEFT, VO_CENTER, 3, 823, 0, 1, 2, 3, nullptr);
  item.Render(&display, &resources, 0, 0);
  const std::string label = Ink(0, 0, 320, 60);
  EXPECT_NE(label.find('#'), std::string::npos);
  SDL_FillRect(surface, nullptr, 0);
  item.SetText("");
  ASSERT_NE(item.GetDynamicText(), nullptr);
  item.Render(&display, &resources, 0, 0);
  EXPECT_EQ(Ink(0, 0, 320, 60).find('#'), std::string::npos);
  // Null keeps what was set; a text again shows.
  item.SetText(nullptr);
  EXPECT_STREQ(item.GetDynamicText(), "");
  item.SetText("Konto");
  SDL_FillRect(surface, nullptr, 0);
  item.Render(&display, &resources, 0, 0);
  EXPECT_EQ(Ink(0, 0, 320, 60), label);
}
