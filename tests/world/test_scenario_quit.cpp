// The player asks to quit: the question holds the game while it shows and
// lets it go however it is answered or replaced; yes saves and quits, and
// when the save fails the player is told and may still leave unsaved. A
// save by the key that fails is reported as well. Played through the
// frame loop on the real game at 800 x 600.
#include <gtest/gtest.h>

#include <SDL.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/zor_file_layer.h"
#include "model/message.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_frame_loop.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

constexpr int kYesNo = 247;
constexpr int kWarning = 220;
// The yes and no buttons of the question window.
constexpr int kYes[2] = {250 + 16 + 28, 150 + 83 + 8};
constexpr int kNo[2] = {250 + 215 + 28, 150 + 83 + 8};
// The networks button on the bar, its menu and the menu's close button.
constexpr int kNetworks[2] = {513, 523};
constexpr int kNetworksMenu = 20;
constexpr int kMenuClose[2] = {527, 262};
constexpr int kBarX = 600;
constexpr int kBarY = 590;
constexpr int kMapX = 400;
constexpr int kMapY = 250;

constexpr const char* kEnglish = "LANGUAGE=1\n";
constexpr const char* kSaveFailed = "The game could not be saved!";
constexpr const char* kQuitQuestion = "Do you really want to quit the game?";

bool Open(Scenario& game, int id) { return game.Ui().IsWindowOpen(id) == 0; }

// Whether the game's time moves over half a second of frames: the time
// gathered towards the next hour, or the date once an hour has begun.
bool TimeRuns(Scenario& game) {
  const int gathered = game.World().GetAccumulatedTime();
  const int hours = game.World().GetSimWelt()->Date().TicksFromStart();
  game.Do(Wait(500));
  return game.World().GetAccumulatedTime() != gathered || game.World().GetSimWelt()->Date().TicksFromStart() != hours;
}

std::string QuestionText(Scenario& game) {
  const char* text = game.World().GetMessage()->GetAchtungJaNeinText();
  return text ? text : "";
}

TEST(ScenarioQuit, TheQuestionHoldsTheGameOnlyWhileItShows) {
  Scenario game;
  game.Run({Move(kMapX, kMapY), Wait(40)});
  ASSERT_TRUE(TimeRuns(game));
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  ASSERT_TRUE(Open(game, kYesNo));
  EXPECT_FALSE(TimeRuns(game)) << "the question holds the game";
  game.Click(kNo[0], kNo[1]).Do(Wait(40));
  ASSERT_FALSE(Open(game, kYesNo));
  EXPECT_EQ(CUserInt::selObj.yesNoWarning, -1);
  EXPECT_TRUE(TimeRuns(game));
  // Windows opened and closed later hold nothing.
  game.Run({Move(kBarX, kBarY), Wait(40)});
  game.Click(kNetworks[0], kNetworks[1]).Do(Wait(40));
  ASSERT_TRUE(Open(game, kNetworksMenu));
  EXPECT_TRUE(TimeRuns(game));
  game.Click(kMenuClose[0], kMenuClose[1]).Do(Wait(40));
  ASSERT_FALSE(Open(game, kNetworksMenu));
  EXPECT_TRUE(TimeRuns(game));
  EXPECT_EQ(Leave_Game, 0);
}

// The clock that stopped for good after a side-street drag: the quit
// question, once asked and taken away by Escape, held every window opened
// later, the networks menu that offers the side street among them.
TEST(ScenarioQuit, TheClockRunsThroughASideStreetDragAfterTheQuestionWasTakenAway) {
  constexpr int kSideStreet[2] = {512, 290};
  Scenario game;
  game.Run({Move(kMapX, kMapY), Wait(40)});
  ASSERT_TRUE(TimeRuns(game));
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  ASSERT_FALSE(Open(game, kYesNo));
  game.Run({Move(kBarX, kBarY), Wait(40)});
  game.Click(kNetworks[0], kNetworks[1]).Do(Wait(40));
  game.Click(kSideStreet[0], kSideStreet[1]).Do(Wait(40));
  ASSERT_EQ(CUserInt::selObj.tool, 2);
  EXPECT_TRUE(TimeRuns(game));
  game.Drag(300, 200, 450, 260, kLeft, 8).Do(Wait(40));
  EXPECT_TRUE(TimeRuns(game));
  // Nor do right clicks and a window opened and closed stop it.
  game.Click(kMapX, kMapY, kRight).Click(kMapX, kMapY, kRight).Do(Wait(40));
  game.Run({Move(kBarX, kBarY), Wait(40)});
  game.Click(kNetworks[0], kNetworks[1]).Click(kMenuClose[0], kMenuClose[1]).Do(Wait(40));
  EXPECT_TRUE(TimeRuns(game));
  const int hours = game.World().GetSimWelt()->Date().TicksFromStart();
  game.Do(Wait(2 * game.World().GetGameSpeedMs()));
  EXPECT_GT(game.World().GetSimWelt()->Date().TicksFromStart(), hours) << "the date moves on";
}

TEST(ScenarioQuit, AQuestionThatReplacesItLetsTheGameGoWhenItCloses) {
  Scenario game;
  game.Run({Move(kMapX, kMapY), Wait(40)});
  // Escape asks to quit; the quit question holds the keys, so F5 asks
  // nothing. The load question, asked as the load key asks it, replaces
  // it; Escape takes that question away.
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  ASSERT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionQuit));
  game.Key(SDLK_F5).Do(Wait(40));
  ASSERT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionQuit));
  game.Ui().SetAchtungWindowJaNein(CUserInt::kQuestionReplaceGame, CUserInt::kActionFastLoad);
  game.Do(Wait(40));
  ASSERT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionReplaceGame));
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  ASSERT_FALSE(Open(game, kYesNo));
  EXPECT_EQ(CUserInt::selObj.yesNoWarning, -1);
  EXPECT_TRUE(TimeRuns(game));
  // The other way round: the quit question replacing the load question
  // holds the game, and closing it lets go.
  game.Key(SDLK_F5).Do(Wait(40));
  EXPECT_TRUE(TimeRuns(game));
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  ASSERT_FALSE(Open(game, kYesNo));
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  ASSERT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionQuit));
  EXPECT_FALSE(TimeRuns(game));
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  EXPECT_TRUE(TimeRuns(game));
}

// A disk that takes no file: every save fails.
struct FullDisk : ZorFileLayer {
  FILE* Open(const char*, const char*) override {
    errno = ENOSPC;
    return nullptr;
  }
};

TEST(ScenarioQuit, YesWhenTheSaveFailsTellsThePlayerAndAsksAgain) {
  Scenario game(kEnglish);
  FullDisk full;
  game.World().SetFileLayer(&full);
  game.Run({Move(kMapX, kMapY), Wait(40)});
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  ASSERT_EQ(QuestionText(game), kQuitQuestion);
  game.Click(kYes[0], kYes[1]).Do(Wait(100));
  EXPECT_EQ(Leave_Game, 0) << "the game is not left behind unsaved unasked";
  ASSERT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionQuit));
  EXPECT_EQ(QuestionText(game), std::string(kSaveFailed) + " " + kQuitQuestion);
  EXPECT_FALSE(TimeRuns(game)) << "the question asked again holds the game too";
  game.Shot("quit-save-failed");
  // No: the game goes on, and the next yes tries the save again.
  game.Click(kNo[0], kNo[1]).Do(Wait(40));
  EXPECT_FALSE(Open(game, kYesNo));
  EXPECT_TRUE(TimeRuns(game));
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  ASSERT_EQ(QuestionText(game), kQuitQuestion);
  game.Click(kYes[0], kYes[1]).Do(Wait(100));
  ASSERT_EQ(QuestionText(game), std::string(kSaveFailed) + " " + kQuitQuestion);
  EXPECT_EQ(Leave_Game, 0);
  // Yes now leaves the game unsaved: the frame loop ends.
  game.Click(kYes[0], kYes[1]);
  EXPECT_EQ(Leave_Game, 1);
}

// A world whose automatic save writes its file, as a working savegame
// container does; only the written file counts as saved.
class SavingWorld : public CZorvaWorld {
 public:
  int AutoSaveGame(bool) override {
    ++saves;
    mkdir("SaveGame", 0755);
    std::FILE* f = std::fopen(kAutoSave, "wb");
    if (!f) return 1;
    const bool written = std::fputs("ZORVANTA", f) >= 0;
    return std::fclose(f) == 0 && written ? 0 : 1;
  }
  // Videos are recorded, not shown.
  int PlayVideo(const char* path, int, bool) override {
    videos.emplace_back(path ? path : "");
    return 0;
  }
  int saves = 0;
  std::vector<std::string> videos;
  static constexpr const char* kAutoSave = "SaveGame/AUTOSAVE.GMD";
};

bool AutoSaveWritten() {
  struct stat st{};
  return stat(SavingWorld::kAutoSave, &st) == 0 && st.st_size > 0;
}

// The same promise from the game's world and from the test's: a save
// reports success exactly when the automatic savegame was written.
TEST(ScenarioQuit, AnAutomaticSaveSucceedsOnlyWhenItsFileIsWritten) {
  for (bool real : {true, false}) {
    std::remove(SavingWorld::kAutoSave);
    Scenario game([real]() -> CZorvaWorld* { return real ? new CZorvaWorld : new SavingWorld; });
    const bool saved = game.World().AutoSaveGame(false) == 0;
    EXPECT_EQ(saved, AutoSaveWritten()) << (real ? "the game's world" : "the test's");
  }
  std::remove(SavingWorld::kAutoSave);
}

TEST(ScenarioQuit, YesWhenTheSaveSucceedsQuitsAtOnce) {
  std::remove(SavingWorld::kAutoSave);
  mkdir("movies", 0755);
  zortest::WriteFile("movies/abspann.mpg", "end");
  SavingWorld* world = nullptr;
  Scenario game([&] { return world = new SavingWorld; }, std::string(kEnglish) + "MOVIEPATH=movies\n");
  game.Run({Move(kMapX, kMapY), Wait(40)});
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  ASSERT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionQuit));
  game.Click(kYes[0], kYes[1]);
  EXPECT_EQ(world->saves, 1);
  EXPECT_TRUE(AutoSaveWritten());
  EXPECT_EQ(Leave_Game, 1) << "the frame loop ends";
  EXPECT_NE(ReadFile("errors.log").find("The game ends: the player left it"), std::string::npos);
  // The pause that lets the click be heard is the clock's, not a sleep.
  EXPECT_EQ(Clock().LastWait(), 300u);
  EXPECT_FALSE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionQuit)) << "nothing is asked again";
  ASSERT_EQ(world->videos.size(), 1u) << "the closing video plays before the game ends";
  EXPECT_NE(world->videos[0].find("abspann.mpg"), std::string::npos);
  std::remove(SavingWorld::kAutoSave);
  std::remove("movies/abspann.mpg");
}

TEST(ScenarioQuit, ASaveByTheKeyThatFailsShowsItsWarning) {
  Scenario game(kEnglish);
  FullDisk full;
  game.World().SetFileLayer(&full);
  game.Run({Move(kMapX, kMapY), Wait(40)});
  game.Key(SDLK_F4).Do(Wait(200));
  ASSERT_TRUE(Open(game, kWarning));
  const char* text = game.World().GetMessage()->GetAchtungMessage();
  EXPECT_STREQ(text ? text : "", kSaveFailed);
  EXPECT_EQ(game.Ui().GetCursorID(), 1409) << "the wait cursor is gone";
}

}  // namespace
