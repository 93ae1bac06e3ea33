// Feeds arbitrary savegames to the running game's savegame container. The
// game starts once on the generated game data (the optimised build's, which
// the full test run builds first, or ZOR_FUZZ_GAMEDATA); the seeds are the
// game's own savegames of an empty map, of a small town and of the town with
// buildings, written at start.
// For every input: a load that fails leaves the game exactly as it was; a
// load that succeeds leaves a game that saves and loads again.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_game.h"
#include "network/str_junction_list.h"
#include "world/zor_savegame.h"

namespace {

using fuzzgame::Write;

CZorvaWorld* g_world = nullptr;
std::string g_companion;

std::string Snapshot() { return fuzzgame::Snapshot(g_world); }

// Puts the town of the streets alone back, as loaded, so that every input
// starts from the same game.
void LoadBase() {
  if (g_world->SerializeGameLoad("SaveGame/BASE.GMD") != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_world = fuzzgame::Start("fuzz_savegame");
  std::string binary;
  if (!g_world->SerializeToMemory(binary, g_companion)) std::abort();
  Write("corpus/seed_empty_map", binary);
  for (const auto& [x1, y1, x2, y2] : {std::array<short, 4>{60, 60, 60, 66}, std::array<short, 4>{60, 63, 66, 63}}) {
    CStrBuildLine line(x1, y1, x2, y2);
    if (g_world->GetStreetNet()->CreateStreet(&line, STRASSE_1) != STR_BUILD_OK) std::abort();
  }
  if (!g_world->SerializeToMemory(binary, g_companion)) std::abort();
  Write("corpus/seed_small_town", binary);
  // Every input starts from this town as loaded (see LoadBase).
  Write("SaveGame/BASE.GMD", binary);
  Write("SaveGame/BASE.GMM", g_companion);
  // The same town with buildings of each record: a house, a car park, a
  // zoned lot and a stop sign, so that the building records are fuzzed too.
  struct Placed {
    TObjectType kind;
    int resId, x, y;
  };
  for (const Placed& p : {Placed{OBJ_RESIDENTIAL, 37749, 61, 61}, Placed{OBJ_CARPARK_OPEN, 39431, 62, 64},
                          Placed{OBJ_ZONE_RESIDENTIAL, 17021, 59, 61}, Placed{OBJ_BUSSTOP_SIGN, 32290, 60, 65}})
    g_world->CreateObject(p.kind, p.resId, CIsoRichtung(0), p.x, p.y, SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0, -1);
  if (!g_world->SerializeToMemory(binary, g_companion)) std::abort();
  Write("corpus/seed_town_buildings", binary);
  LoadBase();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string before = Snapshot();
  Write("SaveGame/FUZZ.GMD", std::string(reinterpret_cast<const char*>(data), size));
  Write("SaveGame/FUZZ.GMM", g_companion);
  if (g_world->SerializeGameLoad("SaveGame/FUZZ.GMD") != 0) {
    if (Snapshot() != before) std::abort();
    return 0;
  }
  // A game loaded goes on: it saves, and what it saved loads.
  if (g_world->SerializeGameStore("SaveGame/AGAIN.GMD") != 0) std::abort();
  if (g_world->SerializeGameLoad("SaveGame/AGAIN.GMD") != 0) std::abort();
  LoadBase();
  return 0;
}
