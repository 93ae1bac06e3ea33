// Savegame files and names on the real game: names by game mode, supplied
// games that may be neither overwritten nor deleted, the automatic and
// start-up games, the list of savegames and the typed name.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/zor_seams.h"
#include "model/gott_modus.h"
#include "model/message.h"
#include "network/str_junction_list.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_savegame.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

const char* Warning(Scenario& game) {
  const char* text = game.World().GetMessage()->GetAchtungMessage();
  return text ? text : "";
}

void Touch(const std::string& path) { WriteFile(path, "x"); }

TEST(SavegameNames, ExtensionsFollowTheGameMode) {
  EXPECT_STREQ(ZorSaveExtension(GAME_GOD), ".GTD");
  EXPECT_STREQ(ZorSaveExtension(GAME_NORMAL), ".GMD");
  EXPECT_STREQ(ZorSaveExtension(GAME_SCENARIO), ".SZD");
  EXPECT_STREQ(ZorSaveExtension(GAME_EXPO), ".EXD");
  EXPECT_STREQ(ZorSaveExtension(7), "");
  EXPECT_EQ(ZorCompanionName("SaveGame/GAME.GMD"), "SaveGame/GAME.GMM");
}

TEST(SavegameNames, TypedNamesAreLettersDigitsBlanksDashesAndUnderscores) {
  for (const char* good : {"A", "My town 2", "east-side_1", "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234"})
    EXPECT_TRUE(ZorIsValidSaveName(good)) << good;
  for (const char* bad : {"", "../GAME", "a/b", "a\\b", "a.b", "tab\there", "mail@home", "ABCDEFGHIJKLMNOPQRSTUVWXYZ12345",
                          "\xE4pfel"})
    EXPECT_FALSE(ZorIsValidSaveName(bad)) << bad;
  EXPECT_FALSE(ZorIsValidSaveName(nullptr));
}

TEST(SavegameNames, SavingUnderTheTypedNameUsesTheModeAndTheFolderIsMadeWhenMissing) {
  Scenario game;
  ASSERT_FALSE(Exists("SaveGame"));
  CZorvaWorld& world = game.World();
  EXPECT_EQ(world.SaveGame(), 1) << "no name typed";
  EXPECT_EQ(world.CheckForSaveGame(), 0);
  EXPECT_EQ(world.DeleteGame(), 0);
  world.SetLoadSaveName("Harbour");
  EXPECT_EQ(world.CheckForSaveGame(), 0);
  EXPECT_EQ(world.SaveGame(), 0);
  EXPECT_TRUE(Exists("SaveGame/Harbour.GMD"));
  EXPECT_TRUE(Exists("SaveGame/Harbour.GMM"));
  EXPECT_EQ(world.CheckForSaveGame(), 1);
  world.GetGottModus()->SetGameModus(GAME_GOD);
  EXPECT_EQ(world.SaveGame(), 0);
  EXPECT_TRUE(Exists("SaveGame/Harbour.GTD"));
  // A typed name that is no savegame name writes nothing anywhere.
  world.SetLoadSaveName("../Harbour");
  EXPECT_EQ(world.SaveGame(), 1);
  EXPECT_FALSE(Exists("Harbour.GTD"));
}

TEST(SavegameNames, SuppliedGamesAreNeitherOverwrittenNorDeleted) {
  Scenario game("LANGUAGE=1\n");
  CZorvaWorld& world = game.World();
  std::filesystem::create_directory("SaveGame");
  WriteFile("SaveGame/GND.TXT", "\nTOUR.GMD\r\nCITY.GMD\n");
  WriteFile("SaveGame/TOUR.GMD", "supplied");
  WriteFile("SaveGame/TOUR.GMM", "supplied");
  world.SetLoadSaveName("TOUR");
  EXPECT_EQ(world.CheckForSaveGame(), 0) << "nothing to ask: the save refuses it";
  EXPECT_EQ(world.SaveGame(), 1);
  EXPECT_EQ(ReadFile("SaveGame/TOUR.GMD"), "supplied");
  EXPECT_STREQ(Warning(game), "Original game cannot be overwritten!");
  EXPECT_EQ(world.DeleteGame(), 0);
  EXPECT_TRUE(Exists("SaveGame/TOUR.GMD"));
  EXPECT_STREQ(Warning(game), "Original game cannot be deleted!");
  EXPECT_EQ(world.CheckForMitgeliefert("CITY"), 1);
  EXPECT_EQ(world.CheckForMitgeliefert("TOUR"), 1);
  EXPECT_EQ(world.CheckForMitgeliefert("tour"), 0) << "case counts";
  // A game of the player's is removed with its companion.
  world.SetLoadSaveName("MINE");
  ASSERT_EQ(world.SaveGame(), 0);
  EXPECT_EQ(world.CheckForLoadGame(), 1);
  EXPECT_EQ(world.DeleteGame(), 1);
  EXPECT_FALSE(Exists("SaveGame/MINE.GMD"));
  EXPECT_FALSE(Exists("SaveGame/MINE.GMM"));
  EXPECT_EQ(world.DeleteGame(), 0) << "nothing left to remove";
  // Wildcards never remove anything.
  Touch("SaveGame/A.GMD");
  world.SetLoadSaveName("*");
  EXPECT_EQ(world.DeleteGame(), 0);
  EXPECT_TRUE(Exists("SaveGame/A.GMD"));
}

TEST(SavegameNames, TheStartUpLoadsTheStartUpGameWhenThereIsNoAutomaticOne) {
  Scenario game;
  CZorvaWorld& world = game.World();
  std::filesystem::create_directory("SaveGame");
  EXPECT_FALSE(world.CheckForAutoLoadGame());
  // The periodic automatic save is not the automatic game of the start-up.
  ASSERT_EQ(world.AutoSaveGame(false), 0);
  EXPECT_TRUE(Exists("SaveGame/AUTOSAVE.GMD"));
  EXPECT_FALSE(world.CheckForAutoLoadGame());
  ASSERT_EQ(world.AutoSaveGame(true), 0);
  EXPECT_TRUE(Exists("SaveGame/FASTSAVE.AUD"));
  EXPECT_EQ(world.LoadStartupGame(), 1) << "no start-up game";
  std::filesystem::copy_file("SaveGame/FASTSAVE.AUD", "SaveGame/STARTUP.AUD");
  std::filesystem::copy_file("SaveGame/FASTSAVE.AUM", "SaveGame/STARTUP.AUM");
  // The start-up game and a new game begin a new game: unlike a saved
  // game's load they go on with the running random sequence, not from the
  // position saved with the town.
  zor_set_random_state(777);
  EXPECT_EQ(world.LoadStartupGame(), 0);
  EXPECT_EQ(zor_random_state(), 777u);
  EXPECT_EQ(world.ResetGame(), 1) << "no new game to reset to";
  std::filesystem::copy_file("SaveGame/FASTSAVE.AUD", "SaveGame/DATA.00D");
  std::filesystem::copy_file("SaveGame/FASTSAVE.AUM", "SaveGame/DATA.00M");
  world.GetGottModus()->SetGameModus(GAME_GOD);
  zor_set_random_state(778);
  EXPECT_EQ(world.ResetGame(), 0);
  EXPECT_EQ(zor_random_state(), 778u);
  EXPECT_EQ(world.GetGottModus()->GetGameModus(), GAME_NORMAL);
  std::filesystem::copy_file("SaveGame/FASTSAVE.AUD", "SaveGame/AUTOSAVE.AUD");
  EXPECT_TRUE(world.CheckForAutoLoadGame());
}

TEST(SavegameNames, WithAutoloadTheGameStartsWithTheStartUpGame) {
  {
    Scenario first;
    CStrBuildLine line(60, 60, 60, 66);
    ASSERT_EQ(first.World().GetStreetNet()->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
    ASSERT_EQ(first.World().AutoSaveGame(true), 0);
    // The periodic automatic save, which the start-up does not take.
    ASSERT_EQ(first.World().AutoSaveGame(false), 0);
  }
  std::filesystem::rename("SaveGame/FASTSAVE.AUD", "SaveGame/STARTUP.AUD");
  std::filesystem::rename("SaveGame/FASTSAVE.AUM", "SaveGame/STARTUP.AUM");
  Scenario second("AUTOLOAD=1\n");
  EXPECT_EQ(second.World().GetStreetNet()->GetNumber(), 2u);
}

// A 30-byte tag field.
std::string Tag(const char* text) {
  std::string tag(30, '\0');
  tag.replace(0, std::char_traits<char>::length(text), text);
  return tag;
}

// The savegames the build wrote from the starting town through the game's
// own container are games the game loads, and each follows the layout: the
// city's state is a record of the object list, and the closing tag follows
// the demand simulation's block (what the loaded game's block writes) at
// the file's end.
TEST(SavegameNames, TheSuppliedStartingGamesLoad) {
  const std::filesystem::path supplied = BinaryDir() + "/gamedata/SaveGame";
  if (!std::filesystem::exists(supplied / "DATA.00D")) GTEST_SKIP() << "no game data in this build";
  std::filesystem::create_directory("SaveGame");
  std::vector<std::string> games;
  for (const auto& entry : std::filesystem::directory_iterator(supplied)) {
    std::filesystem::copy_file(entry.path(), std::filesystem::path("SaveGame") / entry.path().filename());
    const std::string file = entry.path().filename().string();
    if (file.back() == 'D') games.push_back("SaveGame/" + file);
  }
  EXPECT_EQ(games.size(), 7u);
  Scenario game;
  CZorvaWorld& world = game.World();
  for (const std::string& path : games) {
    ASSERT_EQ(world.SerializeGameLoad(path.c_str()), 0) << path;
    const std::string binary = ReadFile(path);
    char* block = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&block, &size);
    ASSERT_TRUE(out && world.GetSimWelt()->Save(out)) << path;
    std::fclose(out);
    const std::string written(block, size);
    std::free(block);
    const std::string tail = Tag("SIMWELT") + written + Tag("ENDEOFSAVEGAME");
    ASSERT_GT(binary.size(), tail.size()) << path;
    EXPECT_TRUE(binary.compare(binary.size() - tail.size(), tail.size(), tail) == 0) << path;
    const size_t record = binary.find(Tag("SIMWELTSTAND"));
    ASSERT_NE(record, std::string::npos) << path;
    EXPECT_EQ(binary.compare(record - 34, 30, Tag("ZorvaObject")), 0) << path;
    EXPECT_LT(record, binary.find(Tag("ZorvaObjectListEnde"))) << path;
  }
  ASSERT_EQ(world.LoadStartupGame(), 0);
  const uint32_t junctions = world.GetStreetNet()->GetNumber();
  EXPECT_GE(junctions, 10u);
  EXPECT_EQ(world.AutoLoadGame(false), 0);
  EXPECT_EQ(world.ResetGame(), 0);
  EXPECT_EQ(world.SerializeGameLoad("SaveGame/EXPO.EXD"), 0);
  EXPECT_GE(world.GetStreetNet()->GetNumber(), 10u) << "the exhibition's own town";
  EXPECT_NE(world.GetStreetNet()->GetNumber(), junctions);
}

// A copy of the game saved under `from` as the game `to`, with its companion.
void CopyGame(const std::string& from, const std::string& to) {
  namespace fs = std::filesystem;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  fs::copy_file(ZorCompanionName(from), ZorCompanionName(to), fs::copy_options::overwrite_existing);
}

// The list holds only games the load can open: files that end in the mode's
// extension as the load writes it, under a name a savegame may have, that
// start with a savegame's header and have their companion. Nothing else in
// the folder is listed, opened for long or loaded.
TEST(SavegameNames, TheListShowsOnlyTheModesSoundGamesSortedAndStopsAtFifty) {
  namespace fs = std::filesystem;
  Scenario game;
  CZorvaWorld& world = game.World();
  world.GetGottModus()->SetGameModus(GAME_GOD);
  world.SetLoadSaveName("Test");
  ASSERT_EQ(world.SaveGame(), 0);
  const std::string sound = "SaveGame/Test.GTD";
  const std::string longest = std::string(30, 'L');
  for (const std::string& name : {std::string("b"), std::string("a"), std::string("A"), longest}) CopyGame(sound, "SaveGame/" + name + ".GTD");
  // Names no savegame has, extensions the load does not write, and files
  // and entries that are no savegame behind a good name.
  for (const std::string& name : std::vector<std::string>{"A.B.GTD", "X.GTD.BAK", "Lower.gtd", ".GTD", "..GTD", "a@b.GTD", "tab\tname.GTD",
                                  std::string(31, 'M') + ".GTD"})
    CopyGame(sound, "SaveGame/" + name);
  fs::create_directory("SaveGame/Dir.GTD");
  fs::create_directory("SaveGame/Dir.GTM");
  fs::create_symlink("SaveGame/nowhere", "SaveGame/Gone.GTD");
  Touch("SaveGame/Gone.GTM");
  ASSERT_EQ(mkfifo("SaveGame/Pipe.GTD", 0644), 0);
  Touch("SaveGame/Pipe.GTM");
  WriteFile("SaveGame/Junk.GTD", std::string(200, 'x'));
  Touch("SaveGame/Junk.GTM");
  WriteFile("SaveGame/Short.GTD", "ZORVANTA SAVEGAME");
  Touch("SaveGame/Short.GTM");
  std::string old = ReadFile(sound);
  old.replace(30, 11, "VERSION 0.1");
  WriteFile("SaveGame/Old.GTD", old);
  Touch("SaveGame/Old.GTM");
  fs::copy_file(sound, "SaveGame/Lone.GTD");
  fs::copy_file(sound, "SaveGame/NoText.GTD");
  fs::create_directory("SaveGame/NoText.GTM");
  CopyGame(sound, "SaveGame/Other.GMD");

  ASSERT_EQ(world.MakeLoadSaveGamesFromDirectory(nullptr, false), 5);
  const std::string expected[] = {"A", longest, "Test", "a", "b"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(world.GetLoadSaveName(i, false), expected[i]) << i;
  EXPECT_EQ(world.GetLoadSaveName(5, false), nullptr);
  EXPECT_EQ(world.GetLoadSaveName(-1, false), nullptr);
  // A name of thirty characters is kept whole and its game loads.
  world.SetSaveLoadFile(1);
  EXPECT_EQ(world.GetLoadSaveName(), longest);
  EXPECT_EQ(world.LoadGame(), 0);
  world.SetSaveLoadFile(2);
  EXPECT_STREQ(world.GetLoadSaveName(), "Test");
  world.SetSelectedLoadSaveName(2);
  EXPECT_TRUE(world.CheckSelectedLoadSaveName());
  world.SetSaveLoadFile(-1);
  EXPECT_STREQ(world.GetLoadSaveName(), "No File Selected");
  EXPECT_FALSE(world.CheckSelectedLoadSaveName());
  world.SetSaveLoadFile(5);
  EXPECT_STREQ(world.GetLoadSaveName(), "No File Selected");
  // Keeping the listing mode lists the normal games.
  world.GetGottModus()->m_ListingMode = GAME_NORMAL;
  EXPECT_EQ(world.MakeLoadSaveGamesFromDirectory(nullptr, true), 1);
  EXPECT_STREQ(world.GetLoadSaveName(0, false), "Other");
  // Of sixty more, the first fifty by name.
  for (int i = 0; i < 60; ++i) CopyGame(sound, "SaveGame/G" + std::to_string(100 + i) + ".GMD");
  EXPECT_EQ(world.MakeLoadSaveGamesFromDirectory(nullptr, true), CZorvaWorld::kMaxSaveNames);
  EXPECT_STREQ(world.GetLoadSaveName(0, false), "G100");
  EXPECT_STREQ(world.GetLoadSaveName(CZorvaWorld::kMaxSaveNames - 1, false), "G149");
  EXPECT_EQ(world.GetLoadSaveName(CZorvaWorld::kMaxSaveNames, false), nullptr);
}

}  // namespace
