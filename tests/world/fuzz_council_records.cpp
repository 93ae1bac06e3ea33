// Feeds arbitrary bytes to the running game's savegame container as one of
// the records of the council and the scores: the administration (to its end
// tag), the indicators, the statistics and god mode. The first byte picks
// the record and, for the statistics, the savegame version whose form is
// read (the current one, the float series of 1.4 to 1.9, the short table of
// 1.3); ZOR_FUZZ_RECORD (a record's name) pins the record. The other bytes
// stand for the record from its length on; its name stays. The rest of the
// savegame is the game's own savegame of a small town.
// For every input: a load that fails leaves the game exactly as it was; a
// load that succeeds leaves a game that saves and loads again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>

#include "fuzz_game.h"
#include "model/gott_modus.h"
#include "model/indikatoren.h"
#include "model/stadt_verwaltung.h"
#include "model/statistik.h"
#include "network/str_junction_list.h"

namespace {

constexpr int kLengthBytes = 4, kNameBytes = 30;

struct Kind {
  const char* name;
  std::function<int(CZorvaWorld*, FILE*)> store;
  std::string bytes;  // the record as the game writes it
  size_t at = 0;      // where it stands in the savegame
};

CZorvaWorld* g_world = nullptr;
std::string g_base, g_companion;
Kind g_kinds[] = {
    {"StadtVerwaltung", [](CZorvaWorld* w, FILE* f) { return w->GetStadtVerwaltung()->SerializeGameStore(f, nullptr); }, {}, 0},
    {"Indikatoren", [](CZorvaWorld* w, FILE* f) { return w->GetIndikatoren()->SerializeGameStore(f, nullptr); }, {}, 0},
    {"STATISTIK", [](CZorvaWorld* w, FILE* f) { return w->GetStatistik()->SerializeGameStore(f); }, {}, 0},
    {"GOTTMODUS", [](CZorvaWorld* w, FILE* f) { return w->GetGottModus()->SerializeGameStore(f); }, {}, 0},
};
constexpr int kKinds = sizeof g_kinds / sizeof g_kinds[0];
constexpr int kStatistik = 2;
const char* const kStatistikVersions[] = {"VERSION 2.4", "VERSION 1.9", "VERSION 1.3"};
int g_pinned = -1;

void LoadBase() {
  if (g_world->SerializeGameLoad("SaveGame/BASE.GMD") != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_world = fuzzgame::Start("fuzz_council_records");
  for (const auto& [x1, y1, x2, y2] : {std::tuple{60, 60, 60, 66}, std::tuple{60, 63, 66, 63}}) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    if (g_world->GetStreetNet()->CreateStreet(&line, STRASSE_1) != STR_BUILD_OK) std::abort();
  }
  if (!g_world->SerializeToMemory(g_base, g_companion)) std::abort();
  fuzzgame::Write("SaveGame/BASE.GMD", g_base);
  fuzzgame::Write("SaveGame/BASE.GMM", g_companion);
  const char* pinned = std::getenv("ZOR_FUZZ_RECORD");
  for (int k = 0; k < kKinds; ++k) {
    Kind& kind = g_kinds[k];
    kind.bytes = fuzzgame::RecordBytes([&kind](FILE* f) { return kind.store(g_world, f); });
    kind.at = g_base.find(kind.bytes);
    if (kind.at == std::string::npos || g_base.find(kind.bytes, kind.at + 1) != std::string::npos) {
      std::fprintf(stderr, "fuzz_council_records: the %s record is not once in the savegame\n", kind.name);
      std::abort();
    }
    if (pinned && std::strcmp(pinned, kind.name) == 0) g_pinned = k;
    // The record as written, and without its body.
    const std::string body = kind.bytes.substr(0, kLengthBytes) + kind.bytes.substr(kLengthBytes + kNameBytes);
    fuzzgame::Write("corpus/seed_" + std::string(kind.name), std::string(1, static_cast<char>(k)) + body);
    fuzzgame::Write("corpus/seed_" + std::string(kind.name) + "_empty",
                    std::string(1, static_cast<char>(k)) + body.substr(0, kLengthBytes));
  }
  // Every input starts from the town as loaded.
  LoadBase();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int k = g_pinned >= 0 ? g_pinned : data[0] % kKinds;
  const char* version = k == kStatistik ? kStatistikVersions[(data[0] / kKinds) % 3] : nullptr;
  const std::string before = fuzzgame::Snapshot(g_world);
  const Kind& kind = g_kinds[k];
  fuzzgame::Write("SaveGame/FUZZ.GMD", fuzzgame::Splice(g_base, kind.at, kind.bytes, data + 1, size - 1, version));
  fuzzgame::Write("SaveGame/FUZZ.GMM", g_companion);
  if (g_world->SerializeGameLoad("SaveGame/FUZZ.GMD") != 0) {
    if (fuzzgame::Snapshot(g_world) != before) std::abort();
    return 0;
  }
  if (g_world->SerializeGameStore("SaveGame/AGAIN.GMD") != 0) std::abort();
  if (g_world->SerializeGameLoad("SaveGame/AGAIN.GMD") != 0) std::abort();
  LoadBase();
  return 0;
}
