// What the interface draws: the open windows back to front, the bottom
// panel only while shown, the balloon help and the mouse cursor.
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
