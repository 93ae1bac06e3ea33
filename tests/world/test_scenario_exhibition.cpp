// The exhibition played as a visitor plays it: the game starts in the kiosk
// mode on its own map, the visitor follows the pages, builds the bus line or
// the street with the mouse, is warned after wrong clicks, gets the rating,
// and the kiosk goes back to its first page after the visit or when left idle.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "gui/screen_window.h"
#include "iso/iso_welt.h"
#include "measures/opnv.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "measures/opnv_line.h"
#include "model/gott_modus.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

constexpr int kRatingMs = 3000, kIdleMs = 8000;

// The exhibition's map where the game looks for it, and the game started in
// the kiosk mode with a short rating time and idle time-out.
std::unique_ptr<Scenario> StartExhibition() {
  namespace fs = std::filesystem;
  fs::create_directories("SaveGame");
  for (const char* name : {"EXPO.EXD", "EXPO.EXM"})
    fs::copy_file(BinaryDir() + "/gamedata/SaveGame/" + name, std::string("SaveGame/") + name,
                  fs::copy_options::overwrite_existing);
  return std::make_unique<Scenario>("EXPO=1\nRATING=" + std::to_string(kRatingMs / 1000) +
                                    "\nTIMEOUT=" + std::to_string(kIdleMs) + "\n");
}

CGottModus& God(Scenario& game) { return *game.World().GetGottModus(); }

int Lines(Scenario& game) {
  int count = 0;
  COpnv* opnv = game.World().GetOpnv();
  opnv->SetupLineCount();
  while (opnv->GetNextLine()) ++count;
  return count;
}

// The visitor pans the cell to the middle of the map (as with the small
// map) and clicks it at the screen point over it nearest the middle.
void ClickCell(Scenario& game, int cx, int cy) {
  game.Map().SetIsoCenter(cx, cy);
  game.Run({Frames(1)});
  int best = INT_MAX, bx = 0, by = 0;
  for (int y = 160; y < 440; y += 2)
    for (int x = 200; x < 600; x += 2) {
      int tx = -1, ty = -1;
      const int d = std::abs(x - 400) + std::abs(y - 300);
      if (game.Map().MouseKoorToIsoKoor(x, y, &tx, &ty) == 0 && tx == cx && ty == cy && d < best)
        best = d, bx = x, by = y;
    }
  ASSERT_NE(best, INT_MAX) << cx << "/" << cy;
  game.Click(bx, by).Do(Wait(40));
}

// An opening page stands in the middle of the screen.
void ExpectCentred(Scenario& game, int id) {
  CScreenWindow* w = CUserInt::topWindow->GetWindowByID(id);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->GetRealPosX(), game.Width() / 2 - w->GetSizeX() / 2) << id;
  EXPECT_EQ(w->GetRealPosY(), game.Height() / 2 - w->GetSizeY() / 2) << id;
}

// The opening pages up to the choice of task.
void OpeningPages(Scenario& game) {
  ASSERT_TRUE(game.IsOpen(300));
  ExpectCentred(game, 300);
  ASSERT_TRUE(game.ClickIn(300, 355, 152));
  ExpectCentred(game, 302);
  ASSERT_TRUE(game.ClickIn(302, 446, 210));
  ExpectCentred(game, 303);
  ASSERT_TRUE(game.IsOpen(303));
}

void ExpectBackAtTheStart(Scenario& game) {
  game.Run({Frames(2)});
  EXPECT_TRUE(game.IsOpen(300));
  ExpectCentred(game, 300);
  EXPECT_EQ(CGottModus::GetExpoModus(), EXPO_NONE);
  EXPECT_EQ(CGottModus::GetExpoState(), EXPO_IDLE);
  EXPECT_EQ(game.World().GetBlocked(), 0);
  EXPECT_EQ(CUiHost::Get()->GetExpoHold(), 0);
  EXPECT_EQ(Lines(game), 0) << "the map is the exhibition's again";
  EXPECT_EQ(God(game).Expo_Bus_IsMarkierung(79, 57), 0) << "the stop places are free again";
}

TEST(ExhibitionScenario, TheBusLineFromTheFirstPageToItsRatingAndBack) {
  auto game = StartExhibition();
  ASSERT_EQ(God(*game).GetGameModus(), GAME_EXPO);
  OpeningPages(*game);
  ASSERT_TRUE(game->ClickIn(303, 60, 183));  // a bus line
  EXPECT_EQ(CGottModus::GetExpoModus(), EXPO_BUS);
  ASSERT_TRUE(game->ClickIn(304, 305, 170));
  ASSERT_TRUE(game->IsOpen(326));
  ASSERT_TRUE(game->ClickIn(326, 20, 30));  // the stop sign
  EXPECT_FALSE(game->IsOpen(326));
  EXPECT_EQ(CGottModus::GetExpoState(), EXPO_PLACE_STOPS);

  // A click beside the places is answered by the warning, which goes by itself.
  ClickCell(*game, 70, 50);
  EXPECT_TRUE(game->IsOpen(306));
  EXPECT_EQ(God(*game).Expo_GetStopCount(), 0);
  game->Run({Wait(1800)});
  EXPECT_FALSE(game->IsOpen(306));

  ClickCell(*game, 80, 57);
  EXPECT_EQ(God(*game).Expo_GetStopCount(), 1);
  EXPECT_TRUE(game->IsOpen(307));
  EXPECT_EQ(God(*game).Expo_Bus_IsMarkierung(79, 57), -1) << "a used place is no longer marked";
  ClickCell(*game, 80, 57);
  EXPECT_TRUE(game->IsOpen(306)) << "the used place is no place any more";
  ClickCell(*game, 48, 8);
  EXPECT_EQ(God(*game).Expo_GetStopCount(), 2);
  EXPECT_TRUE(game->IsOpen(308));
  EXPECT_FALSE(game->IsOpen(307));
  EXPECT_EQ(CGottModus::GetExpoState(), EXPO_STOPS_PLACED);
  ClickCell(*game, 70, 50);
  EXPECT_FALSE(game->IsOpen(306)) << "with both stops placed the map takes no task click";

  ASSERT_TRUE(game->ClickIn(308, 110, 105));  // every 15 minutes
  COpnvLine* line = God(*game).Expo_GetLine();
  ASSERT_NE(line, nullptr);
  double headway = 0, needed = 0, fleet = 0;
  line->GetVarData("OPNV.LINE.TAKT", &headway);
  line->GetVarData("OPNV.LINE.FPNEEDED", &needed);
  line->GetVarData("OPNV.LINE.FP", &fleet);
  EXPECT_EQ(headway, 15);
  EXPECT_GT(needed, 0);
  EXPECT_GE(fleet, needed) << "the line has the buses it needs";
  EXPECT_TRUE(God(*game).Expo_Bus_LineGood());
  double passengers = 0;
  line->GetVarData("OPNV.LINE.PASSENGER", &passengers);
  EXPECT_EQ(passengers, 4 * line->GetPassengers()) << "a good line counts its passengers four times";

  ASSERT_TRUE(game->IsOpen(309));
  ASSERT_TRUE(game->ClickIn(309, 305, 165));
  EXPECT_TRUE(game->IsOpen(311));
  EXPECT_EQ(CGottModus::GetExpoState(), EXPO_LINE_RUNS);
  game->Run({Wait(kRatingMs + 200)});
  EXPECT_TRUE(game->IsOpen(313)) << "a good line with a headway above 14 minutes";
  EXPECT_FALSE(game->IsOpen(311));
  EXPECT_EQ(game->World().GetBlocked(), 1);
  EXPECT_EQ(CUiHost::Get()->GetExpoHold(), 1) << "the interface sees the game held and shows the pause mark";
  game->Shot("exhibition_rating");

  ASSERT_TRUE(game->ClickIn(313, 165, 245));
  ExpectBackAtTheStart(*game);
}

TEST(ExhibitionScenario, TheRatingFollowsTheHeadwayAndThePlaces) {
  const struct {
    int places[2][2], headway, page;
  } cases[] = {{{{79, 57}, {48, 8}}, 14, 315}, {{{79, 57}, {48, 8}}, 15, 313}, {{{33, 22}, {64, 61}}, 5, 314}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    auto game = StartExhibition();
    CGottModus& god = God(*game);
    god.SetExpoModus(EXPO_BUS);
    god.Expo_Bus_SetHstType(25);
    god.SetExpoState(EXPO_PLACE_STOPS);
    for (const auto& p : c.places) ASSERT_TRUE(god.Expo_Bus_SetHst(p[0], p[1]));
    god.Expo_Bus_SetTakt(c.headway);
    god.SetExpoState(EXPO_LINE_RUNS);
    god.Expo_SetTimeRating();
    game->Run({Wait(kRatingMs - 500)});
    EXPECT_FALSE(game->IsOpen(c.page)) << "not before the rating time";
    game->Run({Wait(700)});
    EXPECT_TRUE(game->IsOpen(c.page));
  }
}

// The street pages up to the choice of the street's type: the menu's first
// button is the main street, its second the four-lane street.
void StreetPages(Scenario& game, int typeButtonY) {
  OpeningPages(game);
  ASSERT_TRUE(game.ClickIn(303, 60, 201));  // a street
  EXPECT_EQ(CGottModus::GetExpoModus(), EXPO_STREET);
  ASSERT_TRUE(game.ClickIn(316, 260, 160));
  ASSERT_TRUE(game.ClickIn(318, 155, 90));
  ASSERT_TRUE(game.IsOpen(325));
  ASSERT_TRUE(game.ClickIn(325, 20, typeButtonY));
  EXPECT_FALSE(game.IsOpen(317));
  EXPECT_EQ(CGottModus::GetExpoState(), EXPO_BUILD_STREET);
}

TEST(ExhibitionScenario, TheStreetWithItsWarningsTheIdleTimeOutItsSpeedAndItsRating) {
  auto game = StartExhibition();
  StreetPages(*game, 60);  // four lanes
  ClickCell(*game, 70, 50);
  EXPECT_TRUE(game->IsOpen(327)) << "no marked cell";
  ClickCell(*game, 60, 44);
  EXPECT_TRUE(game->IsOpen(328)) << "four lanes do not fit the short street";
  EXPECT_FALSE(game->IsOpen(327)) << "one warning at a time";
  game->Run({Wait(1800)});
  EXPECT_FALSE(game->IsOpen(328));
  // The visitor walks away.
  game->Run({Wait(kIdleMs + 200)});
  ExpectBackAtTheStart(*game);

  // The next one builds the main street of task 0 and keeps its calm speed.
  StreetPages(*game, 30);
  ClickCell(*game, 85, 40);
  EXPECT_EQ(God(*game).Expo_GetStreetNr(), 0);
  ASSERT_NE(God(*game).Expo_GetStreet(), nullptr);
  EXPECT_TRUE(game->IsOpen(319));
  EXPECT_TRUE(game->IsOpen(330)) << "the window of a two-lane street";
  EXPECT_EQ(God(*game).Expo_Street_IsMarkierung(85, 40), -1) << "the runs are no longer marked";
  EXPECT_EQ(God(*game).Expo_Street_IsMarkierung(56, 44), -1);
  double speed = 0;
  God(*game).Expo_GetStreet()->GetVarData("ST.SPEED", &speed);
  EXPECT_EQ(speed, 1);
  ClickCell(*game, 85, 40);
  EXPECT_EQ(CGottModus::GetExpoState(), EXPO_STREET_RUNS);
  game->Run({Wait(kRatingMs + 200)});
  EXPECT_TRUE(game->IsOpen(323)) << "the calm speed the street was built with";
  EXPECT_FALSE(game->IsOpen(330));
  ASSERT_TRUE(game->ClickIn(323, 165, 245));
  ExpectBackAtTheStart(*game);
}

TEST(ExhibitionScenario, TheKioskTakesOnlyWhatItsChainAllows) {
  auto game = StartExhibition();
  CUserInt& ui = game->Ui();
  // Escape neither closes the page nor asks to quit.
  game->Key(SDLK_ESCAPE);
  EXPECT_TRUE(game->IsOpen(300));
  EXPECT_FALSE(game->IsOpen(CUserInt::kYesNoWindow));
  // A window of the normal game, open from the debug mode, takes no click.
  CUserInt::m_ActivateDebugInfo = 1;
  CUserInt::topWindow->ActivateWindow(110, OVER_SINGLE);
  CUserInt::m_ActivateDebugInfo = 0;
  ASSERT_TRUE(game->IsOpen(110));
  CScreenWindow* w = CUserInt::topWindow->GetWindowByID(110);
  ASSERT_TRUE(game->ClickIn(110, w->GetSizeX() - 10, 10));
  EXPECT_TRUE(game->IsOpen(110));
  // A right click on the map released after 300 ms still drops the tool
  // (beside the first page, which stands in the middle).
  ui.SetToolNr(5, 2, -1);
  game->Run({Move(700, 120), Press(700, 120, kRight), Wait(300), Release(700, 120, kRight)});
  EXPECT_EQ(CUserInt::selObj.tool, 1);
  // A click on the map in no task places nothing and warns of nothing.
  ClickCell(*game, 79, 57);
  EXPECT_EQ(God(*game).Expo_GetStopCount(), 0);
  EXPECT_FALSE(game->IsOpen(306));
}

// The four-lane tasks on the exhibition's town: each is built from the
// street it starts on to the one it ends on, both joined by junctions of
// three streets, and rated as its task asks.
TEST(ExhibitionScenario, BothFourLaneTasksAreBuiltAndRated) {
  const struct {
    int task, click[2], start[2], end[2], page;
  } cases[] = {{0, {85, 40}, {85, 55}, {48, 20}, 323}, {3, {30, 57}, {55, 57}, {1, 41}, 324}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.task);
    auto game = StartExhibition();
    StreetPages(*game, 60);  // four lanes
    ClickCell(*game, c.click[0], c.click[1]);
    EXPECT_FALSE(game->IsOpen(327)) << "the street was built";
    EXPECT_EQ(God(*game).Expo_GetStreetNr(), c.task);
    ASSERT_NE(God(*game).Expo_GetStreet(), nullptr);
    EXPECT_TRUE(game->IsOpen(332)) << "the window of a four-lane street";
    CStrJunctionList* net = game->World().GetStreetNet();
    for (const int* at : {c.start, c.end}) {
      CStrJunction* j = net->FindJunctionAt(static_cast<short>(at[0]), static_cast<short>(at[1]));
      ASSERT_NE(j, nullptr) << at[0] << "/" << at[1];
      EXPECT_EQ(j->GetAnzLinkedStreets(), 3) << "the task's street joins the street there";
      int four = 0;
      for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) four += j->GetStreetByNR(i)->GetStreetType() == STRASSE_VIERSPURIG;
      EXPECT_EQ(four, 1) << at[0] << "/" << at[1];
    }
    ClickCell(*game, c.click[0], c.click[1]);
    EXPECT_EQ(CGottModus::GetExpoState(), EXPO_STREET_RUNS);
    game->Run({Wait(kRatingMs + 200)});
    EXPECT_TRUE(game->IsOpen(c.page));
    EXPECT_FALSE(game->IsOpen(332));
  }
}

}  // namespace
