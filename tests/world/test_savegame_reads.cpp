// The load reads a savegame and its companion through the world's file
// layer: a read that fails partway refuses the load before the running
// game is touched, and the same files load once they read whole.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "framework/zor_file_layer.h"
#include "network/str_junction_list.h"
#include "world/town_fixture.h"
#include "world/zor_savegame.h"

namespace {

using towntest::Town;

// Fails the read of one file after the bytes given, and reads every file in
// small pieces.
struct FailingRead : ZorFileLayer {
  FILE* Open(const char* path, const char* mode) override {
    FILE* f = ZorFileLayer::Open(path, mode);
    if (f && mode[0] == 'r') {
      current = f;
      failing = failPath == path;
      given = 0;
    }
    return f;
  }
  long Read(void* data, size_t size, FILE* file) override {
    ++reads;
    if (file == current && failing && given >= failAfter) return errno = EIO, -1;
    const long n = ZorFileLayer::Read(data, size < 100 ? size : 100, file);
    if (n > 0) given += n;
    return n;
  }
  std::string failPath;
  long failAfter = 0;
  FILE* current = nullptr;
  bool failing = false;
  long given = 0;
  int reads = 0;
};

struct SavegameReads : Town {};

TEST_F(SavegameReads, AReadFailingPartwayRefusesTheLoadAndTheGameGoesOn) {
  ASSERT_EQ(world.SerializeGameStore("SaveGame/READ.GMD"), 0);
  const uint32_t junctions = world.GetStreetNet()->GetNumber();
  // A street more in the running game, which a load would take away.
  ASSERT_EQ(Street(60, 63, 55, 63), STR_BUILD_OK);
  const uint32_t running = world.GetStreetNet()->GetNumber();
  ASSERT_NE(running, junctions);
  FailingRead disk;
  world.SetFileLayer(&disk);
  for (const std::string& path : {std::string("SaveGame/READ.GMD"), ZorCompanionName("SaveGame/READ.GMD")})
    for (long after : {0L, 300L}) {
      disk.failPath = path;
      disk.failAfter = after;
      EXPECT_EQ(world.SerializeGameLoad("SaveGame/READ.GMD"), 1) << path << " after " << after;
      EXPECT_EQ(world.GetStreetNet()->GetNumber(), running) << path << " after " << after;
    }
  // Read whole, in pieces, the savegame loads.
  disk.failPath.clear();
  disk.reads = 0;
  EXPECT_EQ(world.SerializeGameLoad("SaveGame/READ.GMD"), 0);
  EXPECT_GT(disk.reads, 2) << "both files are read through the layer";
  EXPECT_EQ(world.GetStreetNet()->GetNumber(), junctions);
  world.SetFileLayer(nullptr);
}

}  // namespace
