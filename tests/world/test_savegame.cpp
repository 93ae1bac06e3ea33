// The savegame container on the real game: a save that fails at any file
// operation, or whose process is killed halfway, leaves the savegame before
// it whole; a load of a foreign, damaged, cut or unknown file leaves the
// game running as it was; the records are bounded by their lengths.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "framework/qno_log.h"
#include "framework/qno_bytes.h"
#include "framework/zor_block_pool.h"
#include "framework/zor_file_layer.h"
#include "framework/zor_seams.h"
#include "model/finanzen.h"
#include "model/gott_modus.h"
#include "model/message.h"
#include "network/str_junction_list.h"
#include "sim/sim_city_model.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_savegame.h"
#include "world/zor_sim_parts.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_obj.h"

namespace {

using namespace zortest;

constexpr const char* kGame = "SaveGame/TOWN.GMD";
constexpr const char* kCompanion = "SaveGame/TOWN.GMM";

// A file layer that fails its n-th call (counted from 0) and counts calls.
struct FailingCall : ZorFileLayer {
  explicit FailingCall(int n) : failAt(n) {}
  bool Fails() { return calls++ == failAt; }
  FILE* Open(const char* path, const char* mode) override {
    if (Fails()) return errno = EACCES, nullptr;
    return ZorFileLayer::Open(path, mode);
  }
  size_t Write(const void* data, size_t size, FILE* file) override {
    if (Fails()) return errno = ENOSPC, size / 2;
    return ZorFileLayer::Write(data, size, file);
  }
  int Flush(FILE* file) override {
    if (Fails()) return errno = EIO, -1;
    return ZorFileLayer::Flush(file);
  }
  int Close(FILE* file) override {
    const int closed = ZorFileLayer::Close(file);
    if (Fails()) return errno = EIO, -1;
    return closed;
  }
  int Rename(const char* from, const char* to) override {
    if (Fails()) return errno = EXDEV, -1;
    return ZorFileLayer::Rename(from, to);
  }
  int failAt;
  int calls = 0;
};

// A layer that takes its time over every call, so that a kill lands inside
// a save.
struct SlowDisk : ZorFileLayer {
  FILE* Open(const char* path, const char* mode) override {
    usleep(1500);
    return ZorFileLayer::Open(path, mode);
  }
  size_t Write(const void* data, size_t size, FILE* file) override {
    usleep(1500);
    return ZorFileLayer::Write(data, size, file);
  }
  int Close(FILE* file) override {
    usleep(1500);
    return ZorFileLayer::Close(file);
  }
  int Rename(const char* from, const char* to) override {
    usleep(1500);
    return ZorFileLayer::Rename(from, to);
  }
};

bool NoFreshFiles() {
  for (const auto& entry : std::filesystem::directory_iterator("SaveGame"))
    if (entry.path().extension() == ".new") return false;
  return true;
}

int Junctions(Scenario& game) { return static_cast<int>(game.World().GetStreetNet()->GetNumber()); }

void Build(Scenario& game, int x1, int y1, int x2, int y2) {
  CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
  ASSERT_EQ(game.World().GetStreetNet()->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
}

// The game as bytes, to tell whether it changed.
std::string Snapshot(Scenario& game) {
  std::string binary, companion;
  EXPECT_TRUE(game.World().SerializeToMemory(binary, companion));
  return binary + companion;
}

// Equal bytes, or where they part.
testing::AssertionResult SameBytes(const std::string& a, const std::string& b) {
  if (a == b) return testing::AssertionSuccess();
  size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  return testing::AssertionFailure() << "sizes " << a.size() << " and " << b.size() << ", first difference at "
                                     << at;
}

// Saves and loads the game once, so that what a load makes afresh (the
// demand model's street numbers, the time stamps a load sets) is as any
// later load makes it.
void Settle(Scenario& game) {
  std::filesystem::create_directory("SaveGame");
  ASSERT_EQ(game.World().SerializeGameStore("SaveGame/SETTLE.GMD"), 0);
  ASSERT_EQ(game.World().SerializeGameLoad("SaveGame/SETTLE.GMD"), 0);
}

struct SavedTown {
  Scenario game;
  std::string binary, companion;
  explicit SavedTown(const std::function<CZorvaWorld*()>& make = [] { return new CZorvaWorld; }) : game(make) {
    game.Run({Wait(40)});
    Build(game, 60, 60, 60, 68);
    Build(game, 60, 64, 68, 64);
    for (int y = 58; y < 62; ++y)
      EXPECT_NE(game.World().CreateObject(OBJ_RIVER, 38398, CIsoRichtung(0), 66, y,
                                          static_cast<ESimLocationHeight>(0), nullptr, 0, nullptr, 0, -1),
                nullptr);
    Settle(game);
    EXPECT_EQ(game.World().SerializeGameStore(kGame), 0);
    binary = ReadFile(kGame);
    companion = ReadFile(kCompanion);
  }
  // Loads the bytes as a savegame; the game must be as before a failed load.
  int LoadBytes(const std::string& bytes) {
    WriteFile("SaveGame/BAD.GMD", bytes);
    WriteFile("SaveGame/BAD.GMM", companion);
    return game.World().SerializeGameLoad("SaveGame/BAD.GMD");
  }
};

const char* Warning(Scenario& game) {
  const char* text = game.World().GetMessage()->GetAchtungMessage();
  return text ? text : "";
}

// Faults of the game's own making, through the world's factories: the
// finances that refuse to write their record when told, and the demand
// simulation's parts that make no city model the next `refusals` times, so
// that the demand simulation cannot be made.
struct RefusingFinanzen : CFinanzen {
  static inline bool refuse = false;
  using CFinanzen::SerializeGameStore;
  int SerializeGameStore(FILE* file, char* name) override {
    return refuse ? 1 : CFinanzen::SerializeGameStore(file, name);
  }
};
struct RefusingSimParts : CZorWorldSimParts {
  using CZorWorldSimParts::CZorWorldSimParts;
  static inline int refusals = 0;
  CSimCityModell* NewCityModell() override {
    if (refusals > 0) return --refusals, nullptr;
    return CZorWorldSimParts::NewCityModell();
  }
};
struct FaultyWorld : CZorvaWorld {
  CFinanzen* NewFinanzen() override { return new RefusingFinanzen; }
  CSimWelt* NewSimWelt() override {
    if (!m_pSimParts) m_pSimParts = new RefusingSimParts(m_pResourceManager, this);
    return new CSimWelt(m_pSimParts);
  }
};

std::string Tag(const char* text) {
  std::string tag(30, '\0');
  std::memcpy(tag.data(), text, std::strlen(text));
  return tag;
}

std::string Le32(int32_t v) {
  uint8_t b[4];
  qno_wr32(b, 0, static_cast<uint32_t>(v));
  return std::string(reinterpret_cast<char*>(b), 4);
}

TEST(SavegameStore, AFailureAtAnyFileOperationLeavesTheOldSavegameWhole) {
  SavedTown town;
  ASSERT_FALSE(town.binary.empty());
  ASSERT_FALSE(town.companion.empty());
  Build(town.game, 60, 62, 64, 62);
  std::string newBinary, newCompanion;
  ASSERT_TRUE(town.game.World().SerializeToMemory(newBinary, newCompanion));
  ASSERT_NE(newBinary, town.binary);
  int failures = 0;
  for (int n = 0; n < 40; ++n) {
    // Back to the old pair before each try.
    WriteFile(kGame, town.binary);
    WriteFile(kCompanion, town.companion);
    FailingCall layer(n);
    town.game.World().SetFileLayer(&layer);
    const int result = town.game.World().SerializeGameStore(kGame);
    town.game.World().SetFileLayer(nullptr);
    const std::string binary = ReadFile(kGame), companion = ReadFile(kCompanion);
    EXPECT_TRUE(NoFreshFiles()) << "call " << n;
    if (layer.calls <= n) {
      // Nothing failed: the save went through.
      EXPECT_EQ(result, 0);
      EXPECT_TRUE(SameBytes(binary, newBinary));
      EXPECT_TRUE(SameBytes(companion, newCompanion));
      break;
    }
    ++failures;
    EXPECT_EQ(result, 1) << "call " << n << " failed, so the save did";
    // Both old, or (a rename failed after the other went through, and the
    // pair was finished) both new: never a mix.
    const bool old = binary == town.binary && companion == town.companion;
    const bool whole = binary == newBinary && companion == newCompanion;
    EXPECT_TRUE(old || whole) << "call " << n;
  }
  // Open, write, flush, close for each file and two renames.
  EXPECT_GE(failures, 10);
}

TEST(SavegameStore, AnEmptyNameOrAMissingFolderFailsAndTheLogSaysWhy) {
  SavedTown town;
  OpenErrorLog("errors.log");
  EXPECT_EQ(town.game.World().SerializeGameStore(""), 1);
  EXPECT_EQ(town.game.World().SerializeGameStore("NoSuchFolder/GAME.GMD"), 1);
  CloseErrorLog();
  const std::string log = ReadFile("errors.log");
  EXPECT_NE(log.find("DatiName scheint nicht sinnvoll!"), std::string::npos);
  EXPECT_NE(log.find("Cannot save to file 'NoSuchFolder/GAME.GMD': No such file or directory"), std::string::npos);
  EXPECT_EQ(log.find("Errno Fehler"), std::string::npos);
}

// A game that cannot be put into a savegame (its finances refuse their
// record): the save key tells the player, the last fast save stays on the
// disk as it was, a load is refused, and the game is the one before the key.
TEST(SavegameStore, AGameThatCannotBePutIntoASavegameIsToldAndWritesNothing) {
  SavedTown town([] { return new FaultyWorld; });
  ASSERT_TRUE(dynamic_cast<RefusingFinanzen*>(town.game.World().GetFinanzen()));
  town.game.Key(SDLK_F4).Do(Wait(200));
  const std::string fast = ReadFile("SaveGame/FASTSAVE.AUD"), fastText = ReadFile("SaveGame/FASTSAVE.AUM");
  ASSERT_FALSE(fast.empty());
  Build(town.game, 60, 62, 64, 62);
  town.game.World().SetPause(true);
  const std::string game = Snapshot(town.game);

  RefusingFinanzen::refuse = true;
  EXPECT_EQ(town.game.World().SerializeGameStore(kGame), 1);
  town.game.Key(SDLK_F4).Do(Wait(200));
  EXPECT_TRUE(town.game.IsOpen(CUserInt::kWarningWindow));
  EXPECT_STREQ(Warning(town.game), CUserInt::GetAchtungText(CUserInt::kWarningSaveFailed, CZorvaWorld::m_Language));
  // A load keeps the running game as a savegame to go back to: one that
  // cannot be kept refuses the load rather than tear the game down, and
  // says the load failed, not that the file is no game.
  EXPECT_EQ(town.game.World().SerializeGameLoad(kGame), 1);
  RefusingFinanzen::refuse = false;
  EXPECT_STREQ(Warning(town.game), CUserInt::GetAchtungText(CUserInt::kWarningLoadFailed, CZorvaWorld::m_Language));
  EXPECT_TRUE(SameBytes(ReadFile(kGame), town.binary));
  EXPECT_TRUE(SameBytes(ReadFile(kCompanion), town.companion));
  EXPECT_TRUE(SameBytes(ReadFile("SaveGame/FASTSAVE.AUD"), fast));
  EXPECT_TRUE(SameBytes(ReadFile("SaveGame/FASTSAVE.AUM"), fastText));
  EXPECT_TRUE(NoFreshFiles());
  EXPECT_TRUE(SameBytes(Snapshot(town.game), game));
}

TEST(SavegameStore, AProcessKilledWhileSavingLeavesOneWholeSavegame) {
  SavedTown town;
  Build(town.game, 60, 62, 64, 62);
  std::string newBinary, newCompanion;
  ASSERT_TRUE(town.game.World().SerializeToMemory(newBinary, newCompanion));
  SlowDisk slow;
  int oldSeen = 0, newSeen = 0;
  const std::string paths[2] = {kGame, kCompanion};
  for (int round = 0; round < 16; ++round) {
    WriteFile(kGame, town.binary);
    WriteFile(kCompanion, town.companion);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      town.game.World().SetFileLayer(&slow);
      for (;;) town.game.World().SerializeGameStore(kGame);
    }
    // The save takes about 12 ms; the kill lands somewhere inside one.
    usleep(static_cast<useconds_t>(500 + round * 1000));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    // What the next save or load does first.
    EXPECT_TRUE(ZorFinishSafeWrite(ZorFileLayer::Real(), paths, 2));
    EXPECT_TRUE(NoFreshFiles());
    const std::string binary = ReadFile(kGame), companion = ReadFile(kCompanion);
    const bool old = binary == town.binary && companion == town.companion;
    const bool whole = binary == newBinary && companion == newCompanion;
    EXPECT_TRUE(old || whole) << "round " << round;
    oldSeen += old;
    newSeen += whole;
  }
  EXPECT_GT(oldSeen + newSeen, 0);
  // The pair left behind loads.
  EXPECT_EQ(town.game.World().SerializeGameLoad(kGame), 0);
}

TEST(SavegameLoad, TheGameLoadedSavesToTheSameBytes) {
  SavedTown town;
  const int junctions = Junctions(town.game);
  Build(town.game, 60, 62, 64, 62);
  ASSERT_NE(Junctions(town.game), junctions);
  // An object of the game replaced that holds a reference more than its
  // list gives up (as the rivers a bridge gave back once did) goes with it.
  CWorldObj* kept = town.game.World().CreateObject(OBJ_RIVER, 38398, CIsoRichtung(0), 40, 40, SIM_HEIGHT_ANY, nullptr,
                                                   0, nullptr, 0, -1);
  ASSERT_NE(kept, nullptr);
  kept->IncAllocCounter();
  ASSERT_EQ(town.game.World().SerializeGameLoad(kGame), 0);
  EXPECT_EQ(Junctions(town.game), junctions);
  std::string binary, companion;
  ASSERT_TRUE(town.game.World().SerializeToMemory(binary, companion));
  EXPECT_TRUE(SameBytes(binary, town.binary));
  EXPECT_TRUE(SameBytes(companion, town.companion));
}

TEST(SavegameLoad, AForeignOrUnknownFileLeavesTheGameAndWarns) {
  SavedTown town;
  Build(town.game, 60, 62, 64, 62);
  Settle(town.game);
  const std::string before = Snapshot(town.game);
  struct Case {
    std::string bytes;
    int warning;
  } cases[] = {
      {"PK\3\4 not a savegame at all, but long enough to read two tags from it", 38},
      {Tag("ZORVANTA SAVEGAMX") + town.binary.substr(30), 38},
      {Tag("ZORVANTA SAVEGAME") + Tag("VERSION 9.9") + town.binary.substr(60), 37},
      {town.binary.substr(0, 40), 38},
      {"", 38},
  };
  for (const Case& c : cases) {
    town.game.World().GetMessage()->SetAchtungMessage("none");
    EXPECT_EQ(town.LoadBytes(c.bytes), 1);
    EXPECT_TRUE(SameBytes(Snapshot(town.game), before));
    EXPECT_STREQ(Warning(town.game), CUserInt::GetAchtungText(c.warning, CZorvaWorld::m_Language));
  }
}

TEST(SavegameLoad, ASavegameCutAnywhereLeavesTheGameAsItWas) {
  SavedTown town;
  Build(town.game, 60, 62, 64, 62);
  Settle(town.game);
  const std::string before = Snapshot(town.game);
  const size_t size = town.binary.size();
  for (size_t cut = 60; cut < size; cut += 1 + cut / 8) {
    EXPECT_EQ(town.LoadBytes(town.binary.substr(0, cut)), 1) << "cut at " << cut;
    ASSERT_TRUE(SameBytes(Snapshot(town.game), before)) << "cut at " << cut;
  }
  // The whole file still loads.
  EXPECT_EQ(town.LoadBytes(town.binary), 0);
}

// A demand simulation that cannot be made while a whole savegame is read:
// the load is refused, the player is told, and the game, its files and its
// demand simulation go on as before; the same file loads afterwards.
TEST(SavegameLoad, ADemandSimulationThatCannotBeMadeRefusesTheLoadAndTheGameStays) {
  SavedTown town([] { return new FaultyWorld; });
  Build(town.game, 60, 62, 64, 62);
  const std::string game = Snapshot(town.game);
  const int junctions = Junctions(town.game);

  RefusingSimParts::refusals = 1;
  EXPECT_EQ(town.game.World().SerializeGameLoad(kGame), 1);
  EXPECT_EQ(RefusingSimParts::refusals, 0);
  RefusingSimParts::refusals = 0;
  EXPECT_TRUE(town.game.IsOpen(CUserInt::kWarningWindow)) << "the player is told";
  EXPECT_STRNE(Warning(town.game), "");
  EXPECT_EQ(Junctions(town.game), junctions);
  EXPECT_TRUE(SameBytes(Snapshot(town.game), game));
  EXPECT_TRUE(town.game.World().GetSimWelt()->IsValid());
  EXPECT_TRUE(SameBytes(ReadFile(kGame), town.binary));
  EXPECT_TRUE(SameBytes(ReadFile(kCompanion), town.companion));
  // Nothing of the file is read into a game without its demand simulation:
  // the refusal follows the failure at once.
  const std::string log = ReadFile("errors.log");
  const size_t failed = log.find("The demand simulation could not be created");
  ASSERT_NE(failed, std::string::npos) << log;
  const std::string next = log.substr(log.find('\n', failed) + 1, 21);
  EXPECT_EQ(next, "Cannot load from file");
  town.game.Run({Wait(400)});
  EXPECT_EQ(town.game.World().SerializeGameLoad(kGame), 0);
  EXPECT_NE(Junctions(town.game), junctions);
}

TEST(SavegameLoad, AMissingCompanionLeavesTheGameUntouched) {
  SavedTown town;
  Build(town.game, 60, 62, 64, 62);
  Settle(town.game);
  const std::string before = Snapshot(town.game);
  std::filesystem::remove(kCompanion);
  EXPECT_EQ(town.game.World().SerializeGameLoad(kGame), 1);
  EXPECT_TRUE(SameBytes(Snapshot(town.game), before));
  // A file that cannot be read is no damaged game: the player hears so.
  EXPECT_STREQ(Warning(town.game), CUserInt::GetAchtungText(CUserInt::kWarningLoadFailed, CZorvaWorld::m_Language));
  EXPECT_EQ(town.game.World().SerializeGameLoad("SaveGame/NONE.GMD"), 1);
  EXPECT_TRUE(SameBytes(Snapshot(town.game), before));
}

// The list part of a savegame: where it starts and where it ends.
struct ListPart {
  size_t begin, end;
};
ListPart FindList(const std::string& binary) {
  const size_t end = binary.find(Tag("ZorvaObjectListEnde"));
  // The first singleton's tag opens the records.
  const size_t begin = binary.find(Tag("ZorvaObject"));
  return {begin, end};
}

TEST(SavegameLoad, RecordsAreBoundedByTheirLengths) {
  SavedTown town;
  const ListPart list = FindList(town.binary);
  ASSERT_NE(list.begin, std::string::npos);
  ASSERT_NE(list.end, std::string::npos);
  auto with = [&](const std::string& record) {
    return town.binary.substr(0, list.end) + record + town.binary.substr(list.end);
  };
  const std::string plain = Tag("ZorvaObject") + Le32(30) + Tag("NoSaveData");
  const std::string foreign = Tag("SomethingElse") + Le32(5) + "12345";
  const std::string unknown = Tag("ZorvaObject") + Le32(34) + Tag("LaterKind") + "abcd";
  // A name that fills its field without a terminator is read as 30 letters.
  const std::string unterminated = Tag("ZorvaObject") + Le32(30) + std::string(30, 'Z');
  const auto endWindow = [](char code) { return Tag("ZorvaObject") + Le32(31) + Tag("SZENARIOENDE") + code; };
  EXPECT_EQ(town.LoadBytes(with(plain + foreign + unknown + unterminated)), 0) << "records passed over whole";
  EXPECT_EQ(Junctions(town.game), 4);
  // Loaded with the fast-load key, an end window of a later kind (3) is none
  // this game knows, and the goal (1) and the years over (2) are no end of
  // this free game: none shows, and the game is not held.
  for (const char code : {'\1', '\2', '\3'}) {
    WriteFile("SaveGame/FASTSAVE.AUD", with(endWindow(code)));
    WriteFile("SaveGame/FASTSAVE.AUM", town.companion);
    ASSERT_EQ(town.game.World().AutoLoadGame(true), 0) << "code " << int{code};
    EXPECT_FALSE(town.game.IsOpen(CGottModus::kGoalWindowId)) << "code " << int{code};
    EXPECT_FALSE(town.game.IsOpen(CGottModus::kTimeWindowId)) << "code " << int{code};
    EXPECT_FALSE(town.game.World().IsPause()) << "code " << int{code};
    EXPECT_EQ(town.game.World().GetBlocked(), 0) << "code " << int{code};
  }
  const std::string before = Snapshot(town.game);
  int n = 0;
  // An end-window record cut before its code is refused like any record
  // shorter than what it holds.
  for (const std::string& bad : {Tag("ZorvaObject") + Le32(30) + Tag("SZENARIOENDE"),
                                 Tag("ZorvaObject") + Le32(29) + Tag("NoSaveData"),
                                 Tag("ZorvaObject") + Le32(-7) + Tag("NoSaveData"),
                                 Tag("ZorvaObject") + Le32(1 << 30) + Tag("NoSaveData"),
                                 Tag("SomethingElse") + Le32(-2), Tag("SomethingElse") + Le32(1 << 30)}) {
    EXPECT_EQ(town.LoadBytes(with(bad)), 1) << "record " << n;
    EXPECT_TRUE(SameBytes(Snapshot(town.game), before)) << "record " << n;
    ++n;
  }
  // A header whose first tag has other bytes behind its terminator loads.
  std::string header = town.binary;
  header[25] = 'x';
  EXPECT_EQ(town.LoadBytes(header), 0);
}

TEST(SavegameLoad, VersionsAreKnownByTheirTagAndTheCurrentOneEndsWithItsClosingTag) {
  SavedTown town;
  const std::string closing = Tag("ENDEOFSAVEGAME");
  ASSERT_EQ(town.binary.substr(town.binary.size() - 30), closing);
  const std::string body = town.binary.substr(60, town.binary.size() - 90);
  auto version = [&](const char* v, bool closed) {
    return Tag("ZORVANTA SAVEGAME") + Tag(v) + body + (closed ? closing : "");
  };
  EXPECT_EQ(town.LoadBytes(version("VERSION 2.4", true)), 0);
  EXPECT_EQ(town.LoadBytes(version("VERSION 2.4", false)), 1) << "a savegame of this version ends with its tag";
  // The demand simulation's block stands behind its own tag: a file with
  // another tag there is refused, and the game stays as it was.
  const std::string before = Snapshot(town.game);
  std::string retagged = town.binary;
  const size_t block = retagged.rfind(Tag("SIMWELT"));
  ASSERT_NE(block, std::string::npos);
  retagged[block] = 'X';
  EXPECT_EQ(town.LoadBytes(retagged), 1);
  EXPECT_TRUE(SameBytes(Snapshot(town.game), before));
  EXPECT_EQ(CZorvaWorld::g_LoadVersion, kSaveGameVersion) << "the version is the game's again after a load";
  EXPECT_EQ(ZorSaveGameVersion("VERSION 2.1"), 210);
  EXPECT_EQ(ZorSaveGameVersion("VERSION 1.0"), 110);
  EXPECT_EQ(ZorSaveGameVersion("VERSION 3.0"), 0);
}

// A record of the object list keeps the city model's state (here a
// measured travel time) and the indicators' hour counter; the closing tag
// follows the demand simulation's block. A file of the previous layout (the
// record behind the block, before the closing tag) whose network lacks a
// node of the definition loads to the same game: the node is the
// definition's own. The same network cut after a node is refused and the
// game stays as it was. A file without the record loads as the block alone
// makes it; values out of their ranges are held to them; a record at the
// end longer than the file refuses the load.
TEST(SavegameLoad, TheCityStateRecordOfTheListOrOfThePreviousLayoutIsTakenAndHeldToItsRanges) {
  SavedTown town;
  CSimCityModell* city = town.game.World().GetSimWelt()->pCityModell();
  city->NewCarData(20, 37, 95);
  const double measured = city->AverageOneOverTravelTime(20, 37, false);
  ASSERT_GT(measured, 0.0);
  std::string binary, companion;
  ASSERT_TRUE(town.game.World().SerializeToMemory(binary, companion));
  const std::string closing = Tag("ENDEOFSAVEGAME");
  ASSERT_EQ(binary.substr(binary.size() - 30), closing);
  // The record: its tag, its length, its name and its payload, in the list.
  const size_t name = binary.find(Tag("SIMWELTSTAND"));
  ASSERT_NE(name, std::string::npos);
  const size_t record = name - 34;
  ASSERT_EQ(binary.substr(record, 30), Tag("ZorvaObject"));
  const uint32_t length = qno_rd32(reinterpret_cast<const uint8_t*>(binary.data()), static_cast<int>(name - 4));
  ASSERT_LE(name + length, binary.find(Tag("ZorvaObjectListEnde"))) << "the record lies in the list";
  const std::string payload = binary.substr(name + 30, length - 30);
  const std::string withoutRecord = binary.substr(0, record) + binary.substr(name + length);
  town.companion = companion;
  ASSERT_EQ(town.LoadBytes(binary), 0);
  const std::string loaded = Snapshot(town.game);
  EXPECT_EQ(town.game.World().GetSimWelt()->pCityModell()->AverageOneOverTravelTime(20, 37, false), measured);

  // The previous layout, its network without the node the definition
  // reads first.
  const std::string previous = withoutRecord.substr(0, withoutRecord.size() - 30) + Tag("SIMWELTSTAND") +
                               Le32(static_cast<int32_t>(payload.size())) + payload + closing;
  const size_t g3 = companion.find("Name G3\n");
  ASSERT_NE(g3, std::string::npos);
  const size_t begin = companion.rfind("NodeBegin", g3), end = companion.find("NodeEnd\n\n", g3) + 9;
  const std::string lacking = companion.substr(0, begin) + companion.substr(end);
  town.companion = lacking;
  ASSERT_EQ(town.LoadBytes(previous), 0);
  EXPECT_NE(town.game.World().GetSimWelt()->pCityModell(), nullptr);
  EXPECT_EQ(town.game.World().GetSimWelt()->pCityModell()->AverageOneOverTravelTime(20, 37, false), measured);
  EXPECT_TRUE(SameBytes(Snapshot(town.game), loaded)) << "the previous layout loads to the same game";
  // Cut after a node, the network ends where no whole one ends.
  size_t cut = 0;
  for (int block = 0; block < 60; ++block) cut = lacking.find("NodeEnd\n\n", cut) + 9;
  town.companion = lacking.substr(0, cut);
  EXPECT_EQ(town.LoadBytes(previous), 1);
  EXPECT_TRUE(SameBytes(Snapshot(town.game), loaded)) << "a refused load leaves the game";

  town.companion = companion;
  ASSERT_EQ(town.LoadBytes(withoutRecord), 0);
  EXPECT_EQ(town.game.World().GetSimWelt()->pCityModell()->AverageOneOverTravelTime(20, 37, false), 0.0);

  // A re-planning count below 0, a behaviour parameter and a measured value
  // that are no numbers: held to their ranges, and the game loads.
  std::string bad = binary;
  qno_wr32(reinterpret_cast<uint8_t*>(bad.data()), static_cast<int>(name + 34), static_cast<uint32_t>(-5));
  const uint32_t nan = 0x7fc00000u;
  qno_wr32(reinterpret_cast<uint8_t*>(bad.data()), static_cast<int>(name + 38), nan);
  // Behind the counter, the count, the seven parameters and 256 districts'
  // parking fields: the measured cells, an index and a value each.
  const size_t cells = name + 30 + 4 + 4 + 7 * 4 + 256 * 8;
  const uint32_t count = qno_rd32(reinterpret_cast<const uint8_t*>(bad.data()), static_cast<int>(cells));
  ASSERT_EQ(cells + 4 + count * 6, name + length);
  for (uint32_t i = 0; i < count; ++i)
    qno_wr32(reinterpret_cast<uint8_t*>(bad.data()), static_cast<int>(cells + 4 + i * 6 + 2), nan);
  ASSERT_EQ(town.LoadBytes(bad), 0);
  city = town.game.World().GetSimWelt()->pCityModell();
  EXPECT_EQ(city->ReplanCount(), 0);
  EXPECT_EQ(city->TripScale(), 0.0f);
  EXPECT_EQ(city->AverageOneOverTravelTime(20, 37, false), 0.0);

  std::string overlong = previous;
  const size_t old = overlong.size() - 30 - payload.size() - 4;
  qno_wr32(reinterpret_cast<uint8_t*>(overlong.data()), static_cast<int>(old), static_cast<uint32_t>(payload.size()) + 31);
  EXPECT_EQ(town.LoadBytes(overlong), 1);
}

// A load draws from the city's random sequence while it reads (the agents'
// places among others) and then goes on from the position saved with the
// game, wherever the sequence stood when the player loaded: the loaded game
// draws the numbers the saved one would have drawn. A savegame without that
// position goes on where the load found the sequence.
TEST(SavegameLoad, ALoadGoesOnFromTheRandomPositionSavedWithTheGame) {
  SavedTown town;
  const uint64_t saved = zor_random_state();
  for (int i = 0; i < 3; ++i) {
    for (int k = 0; k <= i; ++k) zor_random();
    ASSERT_NE(zor_random_state(), saved);
    ASSERT_EQ(town.game.World().SerializeGameLoad(kGame), 0);
    EXPECT_EQ(zor_random_state(), saved) << "load " << i;
  }
  // A file without the course record loads with the sequence where the
  // load found it.
  const size_t name = town.binary.find(Tag("SIMWELTLAUF"));
  ASSERT_NE(name, std::string::npos);
  const uint32_t length = qno_rd32(reinterpret_cast<const uint8_t*>(town.binary.data()), static_cast<int>(name - 4));
  zor_random();
  const uint64_t found = zor_random_state();
  ASSERT_EQ(town.LoadBytes(town.binary.substr(0, name - 34) + town.binary.substr(name + length)), 0);
  EXPECT_EQ(zor_random_state(), found);
  // A load that fails half-way puts the game back with the sequence where
  // it found it.
  zor_random();
  const uint64_t before = zor_random_state();
  ASSERT_EQ(town.LoadBytes(town.binary.substr(0, town.binary.size() - 100)), 1);
  EXPECT_EQ(zor_random_state(), before);
}

// The map's and the networks' objects come from a pool that the leak checker cannot see
// into: a load gives back every block that the game it replaces held.
TEST(SavegameLoad, ALoadGivesBackEveryPooledBlockOfTheGameItReplaces) {
  SavedTown town;
  const size_t held = ZorBlockPool::Shared().BlocksInUse();
  ASSERT_GT(held, 0u);
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(town.game.World().SerializeGameLoad(kGame), 0);
    EXPECT_EQ(ZorBlockPool::Shared().BlocksInUse(), held) << "load " << i;
  }
  // A damaged savegame puts the old game back, with no block more or less.
  EXPECT_EQ(town.LoadBytes(town.binary.substr(0, town.binary.size() - 100)), 1);
  EXPECT_EQ(ZorBlockPool::Shared().BlocksInUse(), held);
}

}  // namespace
