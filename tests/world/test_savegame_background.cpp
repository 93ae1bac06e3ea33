// The periodic save builds the savegame on the frame and writes its files
// on a worker thread: the frame does not wait for the disk, every other use
// of the savegame files waits for the write, and a failed write leaves the
// old savegame whole.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "framework/qno_log.h"
#include "framework/zor_file_layer.h"
#include "model/message.h"
#include "network/str_junction_list.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;
using namespace std::chrono_literals;

constexpr const char* kAuto = "SaveGame/AUTOSAVE.GMD";
constexpr const char* kAutoText = "SaveGame/AUTOSAVE.GMM";

std::string Bytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Notes every open and rename in order; its writes wait until the gate is
// opened (or ten seconds have passed, so that a save on the frame shows as
// a failed check rather than a test that hangs).
struct GatedDisk : ZorFileLayer {
  FILE* Open(const char* path, const char* mode) override {
    Note(std::string("open ") + path);
    return ZorFileLayer::Open(path, mode);
  }
  size_t Write(const void* data, size_t size, FILE* file) override {
    {
      std::unique_lock lock(m);
      writing = true;
      cv.notify_all();
      cv.wait_for(lock, 10s, [&] { return open; });
    }
    return ZorFileLayer::Write(data, size, file);
  }
  int Rename(const char* from, const char* to) override {
    Note(std::string("rename ") + to);
    return ZorFileLayer::Rename(from, to);
  }
  void Note(std::string call) {
    std::lock_guard lock(m);
    calls.push_back(std::move(call));
  }
  bool WaitUntilWriting() {
    std::unique_lock lock(m);
    return cv.wait_for(lock, 10s, [&] { return writing; });
  }
  void OpenGate() {
    std::lock_guard lock(m);
    open = true;
    cv.notify_all();
  }
  bool GateOpen() {
    std::lock_guard lock(m);
    return open;
  }
  std::vector<std::string> Calls() {
    std::lock_guard lock(m);
    return calls;
  }
  std::mutex m;
  std::condition_variable cv;
  bool open = false;
  bool writing = false;
  std::vector<std::string> calls;
};

// Fails its first write.
struct FullDisk : ZorFileLayer {
  size_t Write(const void* data, size_t size, FILE* file) override {
    if (writes++ == 0) return errno = ENOSPC, size / 2;
    return ZorFileLayer::Write(data, size, file);
  }
  int writes = 0;
};

void Town(Scenario& game) {
  game.Run({Wait(40)});
  CStrBuildLine line(60, 60, 60, 68);
  ASSERT_EQ(game.World().GetStreetNet()->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
  std::filesystem::create_directory("SaveGame");
  std::filesystem::remove(kAuto);
  std::filesystem::remove(kAutoText);
}

const char* Warning(CZorvaWorld& world) {
  const char* text = world.GetMessage()->GetAchtungMessage();
  return text ? text : "";
}

const char* SaveFailed() { return CUserInt::GetAchtungText(CUserInt::kWarningSaveFailed, CZorvaWorld::m_Language); }

// Runs turns until the periodic save's worker is done and a turn after it
// has run (at most ten seconds).
void TurnsUntilWritten(CZorvaWorld& world) {
  const auto until = std::chrono::steady_clock::now() + 10s;
  while (world.SaveBeingWritten() && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(2ms);
    world.OnPlayloopTurn();
  }
}

// Starts the periodic save through `disk` and returns once its worker
// waits at the gate, with a thread that opens the gate a moment later.
std::thread HoldThePeriodicSave(CZorvaWorld& world, GatedDisk& disk) {
  world.SetFileLayer(&disk);
  Clock().Advance(120001);
  world.OnPlayloopTurn();
  EXPECT_TRUE(disk.WaitUntilWriting());
  return std::thread([&disk] {
    std::this_thread::sleep_for(30ms);
    disk.OpenGate();
  });
}

bool NoFreshFiles() {
  for (const auto& entry : std::filesystem::directory_iterator("SaveGame"))
    if (entry.path().extension() == ".new") return false;
  return true;
}

}  // namespace

TEST(SavegameBackground, ThePeriodicSaveLeavesTheFrameAtOnceAndTheNextSaveWaitsForIt) {
  GatedDisk disk;
  Scenario game;
  Town(game);
  CZorvaWorld& world = game.World();
  world.SetFileLayer(&disk);
  Clock().Advance(120001);
  world.OnPlayloopTurn();
  // The turn is over while the worker still holds the first write.
  ASSERT_TRUE(disk.WaitUntilWriting());
  EXPECT_FALSE(disk.GateOpen());
  EXPECT_FALSE(std::filesystem::exists(kAuto));
  // A save by name while the periodic one is on the disk waits for it, and
  // lands after it.
  std::thread opener([&] {
    std::this_thread::sleep_for(30ms);
    disk.OpenGate();
  });
  EXPECT_EQ(world.AutoSaveGame(false), 0);
  opener.join();
  const std::vector<std::string> set = {"open SaveGame/AUTOSAVE.GMM.new", "open SaveGame/AUTOSAVE.GMD.new",
                                        "rename SaveGame/AUTOSAVE.GMM", "rename SaveGame/AUTOSAVE.GMD"};
  std::vector<std::string> twice = set;
  twice.insert(twice.end(), set.begin(), set.end());
  EXPECT_EQ(disk.Calls(), twice);
  EXPECT_TRUE(world.WaitForSave());
  EXPECT_TRUE(NoFreshFiles());
  // What the worker wrote is the game.
  std::string binary, companion;
  ASSERT_TRUE(world.SerializeToMemory(binary, companion));
  EXPECT_EQ(Bytes(kAuto), binary);
  EXPECT_EQ(Bytes(kAutoText), companion);
  EXPECT_EQ(world.SerializeGameLoad(kAuto), 0);
  world.SetFileLayer(nullptr);
}

TEST(SavegameBackground, ALoadWaitsForThePeriodicSaveAndReadsWhatItWrote) {
  GatedDisk disk;
  Scenario game;
  Town(game);
  CZorvaWorld& world = game.World();
  const uint32_t junctions = world.GetStreetNet()->GetNumber();
  std::thread opener = HoldThePeriodicSave(world, disk);
  // Without the wait the load would find no savegame (or clear the fresh
  // files away as a broken save).
  EXPECT_EQ(world.SerializeGameLoad(kAuto), 0);
  opener.join();
  EXPECT_EQ(world.GetStreetNet()->GetNumber(), junctions);
  EXPECT_TRUE(NoFreshFiles());
  world.SetFileLayer(nullptr);
}

TEST(SavegameBackground, AFailedPeriodicWriteKeepsTheOldSavegameAndIsReported) {
  FullDisk disk;
  Scenario game;
  Town(game);
  CZorvaWorld& world = game.World();
  ASSERT_EQ(world.AutoSaveGame(false), 0);
  const std::string old = Bytes(kAuto), oldText = Bytes(kAutoText);
  ASSERT_FALSE(old.empty());
  CStrBuildLine line(60, 64, 68, 64);
  ASSERT_EQ(world.GetStreetNet()->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
  world.SetFileLayer(&disk);
  Clock().Advance(120001);
  world.OnPlayloopTurn();
  EXPECT_FALSE(world.WaitForSave());
  EXPECT_EQ(disk.writes, 1);
  EXPECT_EQ(Bytes(kAuto), old);
  EXPECT_EQ(Bytes(kAutoText), oldText);
  EXPECT_TRUE(NoFreshFiles());
  // Reported once: nothing is being written any more.
  EXPECT_TRUE(world.WaitForSave());
  world.SetFileLayer(nullptr);
  // The next save writes the changed town.
  ASSERT_EQ(world.AutoSaveGame(false), 0);
  EXPECT_NE(Bytes(kAuto), old);
}

TEST(SavegameBackground, AFailedPeriodicWriteIsToldAtTheNextTurnsAfterIt) {
  FullDisk disk;
  Scenario game;
  Town(game);
  CZorvaWorld& world = game.World();
  world.GetMessage()->SetAchtungMessage("none");
  world.SetFileLayer(&disk);
  Clock().Advance(120001);
  world.OnPlayloopTurn();
  // No other save or load comes: the turns alone find the failure.
  TurnsUntilWritten(world);
  EXPECT_FALSE(world.SaveBeingWritten());
  EXPECT_EQ(disk.writes, 1);
  EXPECT_STREQ(Warning(world), SaveFailed());
  world.SetFileLayer(nullptr);
}

TEST(SavegameBackground, AFailedPeriodicWriteThatTheNextSaveWaitsForIsToldToo) {
  Scenario game;
  Town(game);
  CZorvaWorld& world = game.World();
  // Holds the first write at the gate, then fails it.
  struct GatedFullDisk : GatedDisk {
    size_t Write(const void* data, size_t size, FILE* file) override {
      GatedDisk::Write(data, 0, file);
      return errno = ENOSPC, size / 2;
    }
  } disk;
  world.GetMessage()->SetAchtungMessage("none");
  std::thread opener = HoldThePeriodicSave(world, disk);
  // The save by name (on the real disk) waits for the periodic one, whose
  // failure the player is told before any turn has run.
  world.SetFileLayer(nullptr);
  EXPECT_EQ(world.SerializeGameStore("SaveGame/BYNAME.GMD"), 0);
  opener.join();
  EXPECT_STREQ(Warning(world), SaveFailed());
  EXPECT_FALSE(world.SaveBeingWritten());
}

TEST(SavegameBackground, AWrittenPeriodicSaveTellsNothing) {
  Scenario game;
  Town(game);
  CZorvaWorld& world = game.World();
  world.GetMessage()->SetAchtungMessage("none");
  Clock().Advance(120001);
  world.OnPlayloopTurn();
  TurnsUntilWritten(world);
  EXPECT_FALSE(world.SaveBeingWritten());
  EXPECT_TRUE(std::filesystem::exists(kAuto));
  EXPECT_STREQ(Warning(world), "none");
}
