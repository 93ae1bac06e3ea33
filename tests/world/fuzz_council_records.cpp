// Feeds arbitrary bytes to the running game's savegame container as one of
// the records of the council and the scores: the administration (to its end
// tag), the indicators, the statistics and god mode. The first byte picks
// the record and, for the statistics, the savegame version whose form is
// read (the current one, the float series of 1.4 to 1.9, the short table of
// 1.3); ZOR_FUZZ_RECORD (a record's name) pins the record. The other bytes
// stand for the record from its length on; its name stays. The container's
// reader of the object list's records hands them to the objects of the game
// of a small town, loaded once.
// For every input: a refused record leaves its object's record as it was; a
// taken one is written and reads back to the same bytes, and the object's
// record from before is then put back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_game.h"
#include "model/gott_modus.h"
#include "model/indikatoren.h"
#include "model/stadt_verwaltung.h"
#include "model/statistik.h"

namespace {

using fuzzgame::RecordKind;

fuzzgame::FuzzWorld* g_world = nullptr;
std::string g_base, g_companion;
RecordKind g_kinds[] = {
    {"StadtVerwaltung", [](CZorvaWorld* w, FILE* f) { return w->GetStadtVerwaltung()->SerializeGameStore(f, nullptr); }, {}, 0},
    {"Indikatoren", [](CZorvaWorld* w, FILE* f) { return w->GetIndikatoren()->SerializeGameStore(f, nullptr); }, {}, 0},
    {"STATISTIK", [](CZorvaWorld* w, FILE* f) { return w->GetStatistik()->SerializeGameStore(f); }, {}, 0},
    {"GOTTMODUS", [](CZorvaWorld* w, FILE* f) { return w->GetGottModus()->SerializeGameStore(f); }, {}, 0},
};
constexpr int kKinds = sizeof g_kinds / sizeof g_kinds[0];
constexpr int kStatistik = 2;
constexpr int kStatistikVersions[] = {240, 190, 130};
// The administration's reader knows its size: its length counts its rows at
// 76 bytes.
constexpr int kStadtVerwaltung = 0;
int g_pinned = -1;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_world = fuzzgame::Start("fuzz_council_records");
  fuzzgame::SaveSmallTown(g_world, &g_base, &g_companion);
  g_pinned = fuzzgame::FindRecords(g_world, g_base, g_kinds, kKinds, "fuzz_council_records");
  // Every input starts from the town as loaded.
  fuzzgame::LoadBase(g_world);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int k = g_pinned >= 0 ? g_pinned : data[0] % kKinds;
  const int version = k == kStatistik ? kStatistikVersions[(data[0] / kKinds) % 3] : kSaveGameVersion;
  const RecordKind& kind = g_kinds[k];
  fuzzgame::CheckSingleton(
      g_world, kind.name, [&kind](FILE* f) { return kind.store(g_world, f); }, data + 1, size - 1, version,
      k == kStadtVerwaltung);
  return 0;
}
