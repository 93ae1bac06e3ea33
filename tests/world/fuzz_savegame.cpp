// Feeds arbitrary savegames to the running game's savegame container. The
// game starts once on the generated game data (the optimised build's, which
// the full test run builds first, or ZOR_FUZZ_GAMEDATA); the seeds are the
// game's own savegames of an empty map, of a small town and of the town with
// buildings, written at start.
// Every input is loaded into the one game kept across inputs, the way a load
// reads a savegame once its files are read and its header is known: the
// game is made anew and the bytes are read into it. A load that is refused
// is not put back (the next load makes the game anew in any case; the tests
// hold a refused load to leaving the game as it was). A load that is taken
// leaves a game that saves, and what it saved loads and saves to the same
// bytes.
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

fuzzgame::FuzzWorld* g_world = nullptr;
std::string g_companion;

std::string Snapshot() { return fuzzgame::Snapshot(g_world); }

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
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  int version = 0;
  if (g_world->CheckSavegameHeader(bytes, version) != 0) return 0;
  if (!g_world->LoadFromMemory(bytes, g_companion, version)) return 0;
  // A game loaded goes on: it saves, and what it saved loads to a game
  // that saves the same bytes again.
  std::string saved, savedText;
  if (!g_world->SerializeToMemory(saved, savedText)) std::abort();
  if (!g_world->LoadFromMemory(saved, savedText, kSaveGameVersion)) std::abort();
  if (Snapshot() != saved) std::abort();
  return 0;
}
