#pragma once
// What the fuzz targets that load savegames into the running game share:
// the game started once on the generated game data (the optimised build's,
// which the full test run builds first, or ZOR_FUZZ_GAMEDATA) with a
// hand-driven clock and no log file, files written whole or not at all, and the container's
// reader of single records of the object list, which takes the fuzzer's
// bytes in place of one record without loading a whole game for each.
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "framework/qno_log.h"
#include "framework/zor_list.h"
#include "framework/zor_record.h"
#include "framework/zor_seams.h"
#include "measures/measure.h"
#include "measures/park_management.h"
#include "model/data_exchange.h"
#include "network/str_junction_list.h"
#include "world/zor_savegame.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_obj.h"

#ifndef ZOR_FUZZ_GAMEDATA_DIR
#define ZOR_FUZZ_GAMEDATA_DIR ""
#endif

namespace fuzzgame {

// The game, with the container's reader of single records at hand.
class FuzzWorld : public CZorvaWorld {
 public:
  using CZorvaWorld::CheckSavegameHeader;
  using CZorvaWorld::LoadFromMemory;
  using CZorvaWorld::Measures;
  using CZorvaWorld::ReadRecord;
};

inline void Write(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) std::abort();
}

// The game, started headless, with the folders SaveGame and corpus made.
inline FuzzWorld* Start(const char* target) {
  static ZorManualClock clock{1000};
  const char* data = std::getenv("ZOR_FUZZ_GAMEDATA");
  if (!data || !*data) data = ZOR_FUZZ_GAMEDATA_DIR;
  const std::string archive = std::string(data) + "/ZORVANTA.GLA";
  if (access(archive.c_str(), R_OK) != 0) {
    std::fprintf(stderr, "%s: no game data at %s (the optimised build makes it)\n", target, data);
    std::abort();
  }
  if (FILE* f = std::fopen("ZORVANTA.INI", "w")) {
    std::fprintf(f, "[Allgemein]\nWADPATH=%s\nSOUNDEFFEKTE=0\nSOUNDATMO=0\n", data);
    std::fclose(f);
  }
  // The log's messages are formatted as in the game and written nowhere:
  // the game logs at every load, some hundred bytes an input, which a long
  // run would pile up until the disk is full.
  OpenErrorLog("/dev/null");
  ZorSetClock(&clock);
  auto* world = new FuzzWorld;
  world->Create();
  world->OnStartup();
  if (std::system("mkdir -p SaveGame corpus") != 0) std::abort();
  return world;
}

// Two side streets meeting at (60, 63), then the game saved as
// SaveGame/BASE.GMD with its companion, both also handed back.
inline void SaveSmallTown(CZorvaWorld* world, std::string* base, std::string* companion,
                          const std::function<void(CZorvaWorld*)>& more = {}) {
  const short lines[][4] = {{60, 60, 60, 66}, {60, 63, 66, 63}};
  for (const auto& l : lines) {
    CStrBuildLine line(l[0], l[1], l[2], l[3]);
    if (world->GetStreetNet()->CreateStreet(&line, STRASSE_1) != STR_BUILD_OK) std::abort();
  }
  if (more) more(world);
  if (!world->SerializeToMemory(*base, *companion)) std::abort();
  Write("SaveGame/BASE.GMD", *base);
  Write("SaveGame/BASE.GMM", *companion);
}

// The game as its savegame's bytes.
inline std::string Snapshot(CZorvaWorld* world) {
  std::string binary, companion;
  if (!world->SerializeToMemory(binary, companion)) std::abort();
  return binary;
}

// A record of the savegame the fuzzer stands in for: its name, how the game
// writes it, its bytes as written and where they stand in the savegame.
struct RecordKind {
  const char* name;
  std::function<int(CZorvaWorld*, FILE*)> store;
  std::string bytes;
  size_t at = 0;
};

constexpr size_t kLengthBytes = 4, kNameBytes = 30;

// A record as `store` writes it.
inline std::string RecordBytes(const std::function<int(FILE*)>& store) {
  char* data = nullptr;
  size_t size = 0;
  FILE* f = open_memstream(&data, &size);
  if (!f || store(f) != 0 || std::fclose(f) != 0) std::abort();
  std::string bytes(data, size);
  std::free(data);
  return bytes;
}

// Finds each kind's record once in `base`, or stops. Writes two seeds for
// each to corpus/: the record as written and the record without its body,
// each after the byte `k` that picks kind k; returns the kind named by
// ZOR_FUZZ_RECORD, -1 for none.
inline int FindRecords(CZorvaWorld* world, const std::string& base, RecordKind* kinds, int count, const char* target) {
  const char* pinnedName = std::getenv("ZOR_FUZZ_RECORD");
  int pinned = -1;
  for (int k = 0; k < count; ++k) {
    RecordKind& kind = kinds[k];
    kind.bytes = RecordBytes([&](FILE* f) { return kind.store(world, f); });
    kind.at = base.find(kind.bytes);
    if (kind.at == std::string::npos || base.find(kind.bytes, kind.at + 1) != std::string::npos) {
      std::fprintf(stderr, "%s: the %s record is not once in the savegame\n", target, kind.name);
      std::abort();
    }
    if (pinnedName && std::strcmp(pinnedName, kind.name) == 0) pinned = k;
    const std::string body = kind.bytes.substr(0, kLengthBytes) + kind.bytes.substr(kLengthBytes + kNameBytes);
    Write("corpus/seed_" + std::string(kind.name), std::string(1, static_cast<char>(k)) + body);
    Write("corpus/seed_" + std::string(kind.name) + "_empty",
          std::string(1, static_cast<char>(k)) + body.substr(0, kLengthBytes));
  }
  return pinned;
}

// Loads SaveGame/BASE.GMD, the town every input starts from; stops when it
// cannot.
inline void LoadBase(CZorvaWorld* world) {
  if (world->SerializeGameLoad("SaveGame/BASE.GMD") != 0) std::abort();
}

// A record as the fuzzer gives it: the length field and what follows the
// name, which is the kind's own.
inline std::string WithoutName(const std::string& record) {
  if (record.size() < kLengthBytes + kNameBytes) std::abort();
  return record.substr(0, kLengthBytes) + record.substr(kLengthBytes + kNameBytes);
}

// What the container made of one record.
struct Read {
  int result = 1;             // the reader's: 0 taken, non-zero refused
  bool reached = false;       // false when the container refused the length first
  long consumed = 0;          // the bytes the reader took after the name
  CWorldObj* made = nullptr;  // the building a building record placed
};

// Hands one record of the object list to the container's reader the way a
// load of `version` does: `record` is the length field (which counts the
// name `name`) and what follows the name. The container refuses a length
// shorter than the name or past the end; a reader that knows its own size
// reads on past the length, every other one gets the bytes the length gives.
inline Read ReadListRecord(FuzzWorld* world, const char* name, const uint8_t* record, size_t size, int version,
                           bool knowsSize) {
  Read read;
  if (size < kLengthBytes) return read;
  uint32_t length = 0;
  for (int b = static_cast<int>(kLengthBytes) - 1; b >= 0; --b) length = length << 8 | record[b];
  const size_t left = size - kLengthBytes;
  if (length < kNameBytes || length - kNameBytes > left || length > 0x7fffffffu) return read;
  const size_t payload = length - kNameBytes;
  const size_t given = knowsSize ? left : payload;
  ZorMemoryStream memory(record + kLengthBytes, given);
  // An empty stream is no memory stream: it reads nothing.
  FILE* empty = given ? nullptr : std::fopen("/dev/null", "rb");
  FILE* file = given ? memory.f() : empty;
  if (!file) std::abort();
  std::vector<CWorldObj*> order;
  const int listVersion = g_ZorLoadVersion;
  CZorvaWorld::g_isLoad = true;
  CZorvaWorld::g_LoadVersion = version;
  g_ZorLoadVersion = version;
  // The container matches names upper-cased.
  std::string upper(name);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  read.result = world->ReadRecord(file, upper.c_str(), static_cast<int>(payload), order);
  CZorvaWorld::g_isLoad = false;
  CZorvaWorld::g_LoadVersion = kSaveGameVersion;
  g_ZorLoadVersion = listVersion;
  read.reached = true;
  read.consumed = std::ftell(file);
  read.made = order.empty() ? nullptr : order.back();
  if (empty) std::fclose(empty);
  return read;
}

// What a record's reader or a building's coming and going may change beside
// the record's own object: the measures' blocks (a car park counts in
// parking management's places, a loaded advice centre takes its price back
// until its building books it again), the exchange block, parking
// management's record (it has no described block) and the shared random
// source.
class KeptState {
 public:
  explicit KeptState(FuzzWorld* world) : m_world(world), m_random(zor_random_state()) {
    for (const CMeasure* m : world->Measures()) m_measures.push_back(m ? m->KeepBlock() : std::vector<char>());
    if (CDataExchange* exchange = world->GetDataExchange()) m_exchange = exchange->KeepBlock();
    m_parking = Parking();
  }
  void PutBack() const {
    const std::vector<CMeasure*> measures = m_world->Measures();
    for (size_t i = 0; i < measures.size() && i < m_measures.size(); ++i)
      if (measures[i]) measures[i]->PutBackBlock(m_measures[i]);
    if (CDataExchange* exchange = m_world->GetDataExchange()) exchange->PutBackBlock(m_exchange);
    if (Parking() != m_parking) {
      const std::string fed = WithoutName(m_parking);
      const Read back = ReadListRecord(m_world, "ParkManagement", reinterpret_cast<const uint8_t*>(fed.data()),
                                       fed.size(), kSaveGameVersion, false);
      if (back.result != 0 || Parking() != m_parking) std::abort();
    }
    zor_set_random_state(m_random);
  }

 private:
  std::string Parking() const {
    return RecordBytes([this](FILE* f) { return m_world->GetParkManagement()->SerializeGameStore(f, nullptr); });
  }

  FuzzWorld* m_world;
  uint64_t m_random;
  std::string m_parking;
  std::vector<std::vector<char>> m_measures;
  SDataExchangeBlock m_exchange{};
};

// One singleton's record: a refused one leaves the object's record as it
// was; a taken one is written, read back at the current version to the same
// bytes, and then the object's record from before is put back.
inline void CheckSingleton(FuzzWorld* world, const char* name, const std::function<int(FILE*)>& store,
                           const uint8_t* record, size_t size, int version, bool knowsSize) {
  const KeptState kept(world);
  const std::string before = RecordBytes(store);
  const Read read = ReadListRecord(world, name, record, size, version, knowsSize);
  if (!read.reached) return;
  const std::string after = RecordBytes(store);
  if (read.result != 0) {
    if (after != before) std::abort();
    return;
  }
  auto readBack = [&](const std::string& bytes) {
    const std::string fed = WithoutName(bytes);
    const Read again = ReadListRecord(world, name, reinterpret_cast<const uint8_t*>(fed.data()), fed.size(),
                                      kSaveGameVersion, knowsSize);
    if (again.result != 0 || RecordBytes(store) != bytes) std::abort();
  };
  readBack(after);
  // A measure's block comes back as it was; any other object reads its
  // record from before back to the same bytes.
  kept.PutBack();
  if (RecordBytes(store) != before) readBack(before);
}

// One building record: a refused one places nothing; a placed building
// writes a record that places it again with the same record, and each is
// taken off the map again. Gives what the container made of the record.
inline Read CheckBuilding(FuzzWorld* world, const char* name, const uint8_t* record, size_t size, int version) {
  const KeptState kept(world);
  CList* list = world->GetObjectList();
  const uint32_t objects = list->GetNumber();
  auto store = [](CWorldObj* building) {
    return RecordBytes([building](FILE* f) { return building->SerializeGameStore(f, nullptr); });
  };
  // Takes the building off again; the game is then as before the record.
  auto takeOff = [&](CWorldObj* building) {
    if (building) world->RemoveObject(building, 1, false);
    if (list->GetNumber() != objects) std::abort();
    kept.PutBack();
  };
  const Read read = ReadListRecord(world, name, record, size, version, true);
  if (read.result != 0 && read.made) std::abort();
  const std::string written = read.made ? store(read.made) : std::string();
  takeOff(read.made);
  if (!read.made) return read;
  const std::string fed = WithoutName(written);
  const Read again =
      ReadListRecord(world, name, reinterpret_cast<const uint8_t*>(fed.data()), fed.size(), kSaveGameVersion, true);
  if (again.result != 0 || !again.made || store(again.made) != written) std::abort();
  takeOff(again.made);
  return read;
}

}  // namespace fuzzgame
