// What the interface draws: the open windows back to front, the bottom
// panel only while shown, the balloon help and the mouse cursor.
#include <algorithm>
#include <cmath>

#include "framework/qno_font.h"
#include "writers/blob_writers.h"
#include "ui_fixture.h"

using uitest::Controller;
using uitest::Screen;

namespace {
struct Drawing : Controller {
  Screen screen{800, 600};
  QnoResourceManager resources;
  void SetUp() override {
    Controller::SetUp();
    resources.AddWadFile((zortest::BinaryDir() + "/gamedata/ZORVANTA.GLA").c_str());
    // White boards for the notices and the pause mark.
    zorgen::GlaWriter extra;
    for (uint32_t id : {49785u, 50123u, 49888u, 50120u})
      extra.Add(id, zorgen::WriteQbmp16(zorgen::Image16(40, 20, 0xFFFF), 0xF81F, true));
    for (uint32_t id : {49784u, 50122u}) extra.Add(id, zorgen::WriteQbmp16(zorgen::Image16(40, 20, 0x07E0), 0xF81F, true));
    ASSERT_TRUE(extra.WriteFile("extra.GLA"));
    ASSERT_EQ(resources.AddWadFile("extra.GLA"), 0);
    host.display = &screen.display;
    host.resources = &resources;
    ASSERT_EQ(ui->OnCreate(&resources, &screen.display, nullptr, nullptr, nullptr), 0);
    // A solid rectangle over each window of the test tree.
    for (int id : {6, 120, 20}) builder.AddItem(id, -1, 0, 0, 100, 80, 4, FILL_SOLID, Colour(id));
  }
  static int Colour(int id) { return id == 6 ? 0xFF0000 : id == 120 ? 0x00FF00 : 0x0000FF; }
  uint16_t Pixel565(int id) {
    const int c = Colour(id);
    return static_cast<uint16_t>(screen.display.GetRenderBuffer()->GetClosestColor(c >> 16, (c >> 8) & 255, c & 255));
  }
};
}  // namespace

TEST_F(Drawing, TheFrontWindowIsDrawnLast) {
  // 120 and 20 overlap; 20 at (100, 400), 120 at (300, 20): move 120 over 20.
  Window(120)->SetPosX(120);
  Window(120)->SetPosY(420);
  ui->ActivateWindow(120);
  ui->ActivateWindow(20);
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_EQ(screen.Pixel(130, 430), Pixel565(20));
  ui->ActivateWindow(120);
  ui->Render(&screen.display);
  EXPECT_EQ(screen.Pixel(130, 430), Pixel565(120));
  EXPECT_EQ(screen.Pixel(105, 405), Pixel565(20)) << "the back window still shows where nothing covers it";
}

TEST_F(Drawing, MainScreenWindowsShowOnlyWithThePanel) {
  ui->ActivateWindow(6);
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_EQ(screen.Count(0, 0, 800, 600, Pixel565(6)), 0);
  CUserInt::selObj.panelShown = 1;
  ui->Render(&screen.display);
  const CScreenWindow* w = Window(6);
  EXPECT_EQ(screen.Pixel(w->GetPosX() + 5, w->GetPosY() + 5), Pixel565(6));
}

TEST_F(Drawing, TheStatusLineIsDrawnOnlyWithThePanel) {
  const uint16_t status = static_cast<uint16_t>(screen.display.GetRenderBuffer()->GetClosestColor(173, 179, 195));
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_EQ(screen.Count(400, 540, 800, 600, status), 0);
  CUserInt::selObj.panelShown = 1;
  ui->Render(&screen.display);
  EXPECT_GT(screen.Count(400, 540, 800, 600, status), 0) << "population label and date";
}

TEST_F(Drawing, BalloonHelpWaitsHalfASecondAndOpensLeftAtTheEdge) {
  zortest::Clock().Set(1000);
  ui->SetBalloonHelp("Zoom", 300, 105, -1);
  zortest::Clock().Set(1400);
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_EQ(screen.Count(290, 90, 400, 130, 0xFFFF), 0);
  zortest::Clock().Set(1600);
  ui->Render(&screen.display);
  EXPECT_EQ(screen.Pixel(301, 101), 0xFFFF) << "the box starts at x and 5 above y";
  EXPECT_EQ(screen.Pixel(300, 100), 0) << "framed black";
  EXPECT_EQ(screen.Pixel(299, 101), 0);

  ui->SetBalloonHelp("Zoom", 795, 205, 25000);
  zortest::Clock().Set(2200);
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_EQ(screen.Pixel(780, 210), 0xFFFF) << "the box lies to the left of x";
  EXPECT_GT(screen.Count(600, 225, 800, 226, 0xFFFF), 0) << "a cost line makes the box 32 high";
  EXPECT_EQ(screen.Count(600, 233, 800, 234, 0xFFFF), 0);

  ui->SetBalloonHelp("", 10, 10, -1);
  EXPECT_EQ(ui->GetBalloonText(), nullptr);
  ui->SetBalloonHelp("A", 10, 10, -1);
  ui->ResetBalloonHelp();
  EXPECT_EQ(ui->GetBalloonText(), nullptr);
}

TEST_F(Drawing, AnAutoSaveNoticeShowsInEveryFrameOfItsCountdown) {
  CUserInt::selObj.doLater = DOLATER_AUTOSAVE;
  CUserInt::selObj.countdown = 3;
  int drawn = 0;
  for (int frame = 0; frame < 5; ++frame) {
    screen.Clear();
    ui->Render(&screen.display);
    drawn += screen.Pixel(400, 300) == 0xFFFF ? 1 : 0;
  }
  EXPECT_EQ(drawn, 3);
  EXPECT_EQ(CUserInt::selObj.countdown, 0);
}

TEST_F(Drawing, ThePauseMarkShowsOnlyInAStartedGame) {
  CUserInt::selObj.pause = 1;
  screen.Clear();
  ui->Render(&screen.display);
  const int before = screen.Count(50, 0, 100, 30, 0);
  EXPECT_EQ(before, 50 * 30);
  host.started = true;
  ui->Render(&screen.display);
  EXPECT_EQ(screen.Pixel(73, 15), 0xFFFF) << "centred at (73, 15)";
  host.started = false;
  CUserInt::selObj.pause = 0;
  host.expoHold = 1;
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_EQ(screen.Pixel(73, 15), 0) << "the exhibition hold counts only in a started game";
  host.started = true;
  ui->Render(&screen.display);
  EXPECT_EQ(screen.Pixel(73, 15), 0xFFFF);
}

TEST_F(Drawing, TheCursorIsDrawnLastAtTheMousePosition) {
  screen.Clear();
  EXPECT_EQ(ui->RenderPass(0, nullptr, nullptr, 0, 0), 0) << "no cursor chosen: nothing to draw";
  EXPECT_EQ(screen.Count(0, 0, 800, 600, 0), 800 * 600);
  ui->SetMousePosition(400, 300);
  ui->SetCursorID(CUserInt::kCursorWindow, 0);
  ASSERT_NE(ui->GetCursorMotor(), nullptr);
  EXPECT_EQ(ui->RenderPass(0, nullptr, nullptr, 0, 0), 0);
  const int near = 32 * 32 - screen.Count(384, 284, 416, 316, 0);
  EXPECT_GT(near, 0);
  EXPECT_EQ(screen.Count(0, 0, 800, 250, 0), 800 * 250) << "nothing far from the mouse";
}

TEST_F(Drawing, AutomaticSavesWaitHalfTheFrameRateAndAtLeastTwoFrames) {
  auto frameRate = [this](int fps) {
    zortest::Clock().Advance(2000);
    screen.display.FlipBuffer();
    for (int i = 1; i < fps; ++i) screen.display.FlipBuffer();
    zortest::Clock().Advance(1001);
    screen.display.FlipBuffer();
    return screen.display.GetRealFrameRate();
  };
  ASSERT_EQ(frameRate(3), 3);
  ui->SetDoLater(DOLATER_AUTOSAVE);
  EXPECT_EQ(CUserInt::selObj.countdown, 1);
  ASSERT_EQ(frameRate(1), 1);
  ui->SetDoLater(DOLATER_AUTOSAVE);
  EXPECT_EQ(CUserInt::selObj.countdown, 2) << "half of 1 is 0: two frames then";
  ASSERT_EQ(frameRate(2), 2);
  ui->SetDoLater(DOLATER_AUTOLOAD);
  EXPECT_EQ(CUserInt::selObj.countdown, 1);
  ASSERT_EQ(frameRate(60), 60);
  ui->SetDoLater(DOLATER_AUTOSAVE);
  EXPECT_EQ(CUserInt::selObj.countdown, 30);
  ui->SetDoLater(DOLATER_ZOOM_IN);
  EXPECT_EQ(CUserInt::selObj.countdown, 1) << "only the automatic ones wait for the frame rate";
}

namespace {
// The status line's values and a vehicle for the small map.
struct StatusHost : uitest::ScriptedUiHost {
  bool GetMoney(double* value) override {
    *value = money;
    return hasMoney;
  }
  int GetPeople() override { return 54321; }
  void GetDate(int* month, int* year) override {
    *month = 4;
    *year = 3;
  }
  const char* GetTickerText() override { return "Neue Linie"; }
  double money = 1234567.4;
  bool hasMoney = true;
};

struct Vehicle : CIsoVehicle {
  Vehicle(int x, int y, bool line) : m_x(x), m_y(y), m_line(line) {}
  bool GetIsoXYPos(int& x, int& y) const override {
    x = m_x;
    y = m_y;
    return true;
  }
  COpnvLine* GetOpnvLine() const override { return m_line ? reinterpret_cast<COpnvLine*>(8) : nullptr; }
  int m_x, m_y;
  bool m_line;
};

struct Status : Drawing {
  StatusHost status;
  uitest::Screen expected{800, 600};
  void SetUp() override {
    Drawing::SetUp();
    status.display = &screen.display;
    status.resources = &resources;
    CUserInt::selObj.panelShown = 1;
  }
  // True when the region shows exactly the text as the status font draws it.
  bool ShowsText(const char* text, int x, int y, int w) {
    expected.Clear();
    QnoRenderBuffer* b = expected.display.GetRenderBuffer();
    const QnoBitmapFont* font = QnoBitmapFont::FromResource(&resources, 19671);
    if (!font) return false;
    b->RenderText(font, x, y, text, static_cast<int>(b->GetClosestColor(173, 179, 195)));
    for (int yy = y - 2; yy < y + 16; ++yy)
      for (int xx = x - 2; xx < x + w; ++xx)
        if (screen.Pixel(xx, yy) != expected.Pixel(xx, yy)) return false;
    return true;
  }
};
}  // namespace

TEST_F(Status, MoneyPopulationDateAndTickerStandInTheirFields) {
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_TRUE(ShowsText("1.234.567", 445, 557, 100));
  EXPECT_TRUE(ShowsText("Ew:", 548, 557, 30));
  EXPECT_TRUE(ShowsText("54.321", 582, 557, 60));
  EXPECT_TRUE(ShowsText("Mai  2002", 721, 557, 79));
  EXPECT_TRUE(ShowsText("Neue Linie", 423, 579, 200));
  language.language = 1;
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_TRUE(ShowsText("1,234,567", 445, 557, 100));
  EXPECT_TRUE(ShowsText("Pop:", 548, 557, 30));
  EXPECT_TRUE(ShowsText("May  2002", 721, 557, 79));
  status.money = -2.5e20;
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_TRUE(ShowsText("-990,000,000,000,000", 445, 557, 100)) << "held at the line's edge";
  status.money = 9.9e14 + 1;
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_TRUE(ShowsText("990,000,000,000,000", 445, 557, 100)) << "held at the line's other edge";
  status.money = std::nan("");
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_TRUE(ShowsText("0", 445, 557, 100)) << "a value that is no number reads 0";
  status.hasMoney = false;
  status.modus = 3;
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_TRUE(ShowsText("0", 445, 557, 100)) << "an account no one answers for reads 0";
  EXPECT_TRUE(ShowsText("", 423, 579, 200)) << "no ticker in the exhibition";
}

TEST_F(Status, BusDotsBlinkOnTheSmallMapGreenWithALine) {
  Vehicle onLine(127, 127, true), noLine(0, 127, false), outside(128, 0, true);
  ui->AddBus(&onLine);
  ui->AddBus(&noLine);
  ui->AddBus(&outside);
  QnoRenderBuffer* b = screen.display.GetRenderBuffer();
  const uint16_t green = static_cast<uint16_t>(b->GetClosestColor(0, 255, 0));
  const uint16_t red = static_cast<uint16_t>(b->GetClosestColor(255, 0, 0));
  const int mapX = ui->GetSmallMap()->GetWindowPosX(), mapY = ui->GetSmallMap()->GetWindowPosY();
  auto dot = [&](int tx, int ty) {
    int sx = 0, sy = 0;
    ui->GetSmallMap()->IsoKoorToScreenKoor(tx, ty, &sx, &sy);
    return screen.Pixel(mapX + sx, mapY + 72 - sy - 1);
  };
  zortest::Clock().Set(10000);
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_EQ(dot(127, 127), green);
  EXPECT_EQ(dot(0, 127), red);
  EXPECT_EQ(screen.Count(0, 0, 800, 600, green), 2 * 2) << "one dot of 2 x 2, none for the bus off the map";
  zortest::Clock().Set(10600);
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_EQ(dot(127, 127), 0) << "the dark part of the cycle";
  zortest::Clock().Set(10701);
  ui->Render(&screen.display);
  EXPECT_EQ(dot(127, 127), green) << "a new cycle";
  CUserInt::selObj.panelShown = 0;
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_EQ(dot(127, 127), 0);
  for (CIsoVehicle* v : {static_cast<CIsoVehicle*>(&onLine), static_cast<CIsoVehicle*>(&noLine),
                         static_cast<CIsoVehicle*>(&outside)})
    ui->RemoveBus(v);
}

TEST_F(Drawing, ALinkedWindowShowsItsCompanionWhileItsHintIsSet) {
  builder.AddWindow(81, 500, 50, 100, 80, 1, WINDOW_NORMAL, POSITION_FIXED, 82);
  builder.AddItem(81, -1, 0, 0, 100, 80, 4, FILL_SOLID, 0xFF00FF);
  builder.AddWindow(82, 500, 50, 100, 80, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  builder.AddItem(82, -1, 0, 0, 100, 80, 4, FILL_SOLID, 0x00FFFF);
  QnoRenderBuffer* b = screen.display.GetRenderBuffer();
  const uint16_t own = static_cast<uint16_t>(b->GetClosestColor(255, 0, 255));
  const uint16_t companion = static_cast<uint16_t>(b->GetClosestColor(0, 255, 255));
  ui->ActivateWindow(81);
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_EQ(screen.Pixel(510, 60), own);
  Window(81)->SetHinweisWindow(true);
  ui->Render(&screen.display);
  EXPECT_EQ(screen.Pixel(510, 60), companion);
  RemoveWindow(82);
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_EQ(screen.Pixel(510, 60), 0) << "a missing companion draws nothing";
}

TEST_F(Drawing, AnAutoLoadHasItsOwnNotice) {
  CUserInt::selObj.doLater = DOLATER_AUTOLOAD;
  CUserInt::selObj.countdown = 1;
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_EQ(screen.Pixel(400, 300), 0x07E0);
  CUserInt::selObj.doLater = DOLATER_ZOOM_IN;
  CUserInt::selObj.countdown = 1;
  screen.Clear();
  ui->Render(&screen.display);
  EXPECT_EQ(screen.Pixel(400, 300), 0) << "other actions wait without a notice";
}

TEST_F(Drawing, TheBalloonWritesItsTextAndTheCostWithThousandsPoints) {
  zortest::Clock().Set(1000);
  ui->SetBalloonHelp("Zoom", 100, 105, 25000);
  zortest::Clock().Set(2000);
  screen.Clear();
  ui->Render(&screen.display);
  uitest::Screen expected(800, 600);
  QnoRenderBuffer* b = expected.display.GetRenderBuffer();
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(&resources, 823);
  ASSERT_NE(font, nullptr);
  const int width = std::max(b->GetTextLength(font, "Zoom"), b->GetTextLength(font, "Kosten: 25.000 "));
  b->FillRect(100, 100, 100 + width + 8, 132, 0xFFFF);
  b->FrameRect(100, 100, 100 + width + 8, 132, 0);
  b->RenderText(font, 104, 100, "Zoom", 0);
  b->RenderText(font, 104, 116, "Kosten: 25.000 ", 0);
  int differing = 0;
  for (int y = 95; y < 140; ++y)
    for (int x = 95; x < 100 + width + 20; ++x) differing += screen.Pixel(x, y) != expected.Pixel(x, y);
  EXPECT_EQ(differing, 0);
}
