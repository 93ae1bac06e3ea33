#pragma once
// What the fuzz targets that load savegames into the running game share:
// the game started once on the generated game data (the optimised build's,
// which the full test run builds first, or ZOR_FUZZ_GAMEDATA) with a
// hand-driven clock, files written whole or not at all, and one record of
// a savegame spliced out for the fuzzer's bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "network/str_junction_list.h"
#include "world/zor_world.h"

#ifndef ZOR_FUZZ_GAMEDATA_DIR
#define ZOR_FUZZ_GAMEDATA_DIR ""
#endif

namespace fuzzgame {

inline void Write(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) std::abort();
}

// The game, started headless, with the folders SaveGame and corpus made.
inline CZorvaWorld* Start(const char* target) {
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
  OpenErrorLog("errors.log");
  ZorSetClock(&clock);
  auto* world = new CZorvaWorld;
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

// `base` with its record `bytes` at `at` given the length and body of
// `record` (its name stays) and, when given, another version tag.
inline std::string Splice(const std::string& base, size_t at, const std::string& bytes, const uint8_t* record,
                          size_t size, const char* version) {
  std::string game = base.substr(0, at);
  std::string length(kLengthBytes, '\0');
  std::memcpy(length.data(), record, size < kLengthBytes ? size : kLengthBytes);
  game += length;
  game += bytes.substr(kLengthBytes, kNameBytes);
  if (size > kLengthBytes) game.append(reinterpret_cast<const char*>(record) + kLengthBytes, size - kLengthBytes);
  game += base.substr(at + bytes.size());
  // The version tag is the container's second 30-byte tag.
  if (version) std::strncpy(game.data() + kNameBytes, version, kNameBytes);
  return game;
}

inline std::string Splice(const std::string& base, const RecordKind& kind, const uint8_t* record, size_t size,
                          const char* version) {
  return Splice(base, kind.at, kind.bytes, record, size, version);
}

// Loads SaveGame/BASE.GMD, the town every input starts from; stops when it
// cannot.
inline void LoadBase(CZorvaWorld* world) {
  if (world->SerializeGameLoad("SaveGame/BASE.GMD") != 0) std::abort();
}

// Loads `game` with the base's companion. A load that fails must leave the
// game as it was; one that succeeds must leave a game that saves and loads
// again, after which the base is loaded back. Stops on either fault.
inline void LoadAndCheck(CZorvaWorld* world, const std::string& game, const std::string& companion) {
  const std::string before = Snapshot(world);
  Write("SaveGame/FUZZ.GMD", game);
  Write("SaveGame/FUZZ.GMM", companion);
  if (world->SerializeGameLoad("SaveGame/FUZZ.GMD") != 0) {
    if (Snapshot(world) != before) std::abort();
    return;
  }
  if (world->SerializeGameStore("SaveGame/AGAIN.GMD") != 0) std::abort();
  if (world->SerializeGameLoad("SaveGame/AGAIN.GMD") != 0) std::abort();
  LoadBase(world);
}

}  // namespace fuzzgame
