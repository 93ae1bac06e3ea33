#pragma once
// What the fuzz targets that load savegames into the running game share:
// the game started once on the generated game data (the optimised build's,
// which the full test run builds first, or ZOR_FUZZ_GAMEDATA) with a
// hand-driven clock, and files written whole or not at all.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "framework/qno_log.h"
#include "framework/zor_seams.h"
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

// The savegame `base` with its record `bytes` at `at` made the fuzzer's
// `record`: its 4-byte length and the body after the 30-byte name, which
// stays. When given, `version` replaces the container's version tag (its
// second 30-byte tag).
inline std::string Splice(const std::string& base, size_t at, const std::string& bytes, const uint8_t* record,
                          size_t size, const char* version) {
  constexpr size_t kLength = 4, kName = 30;
  std::string game = base.substr(0, at);
  std::string length(kLength, '\0');
  std::memcpy(length.data(), record, size < kLength ? size : kLength);
  game += length;
  game += bytes.substr(kLength, kName);
  if (size > kLength) game.append(reinterpret_cast<const char*>(record) + kLength, size - kLength);
  game += base.substr(at + bytes.size());
  if (version) std::strncpy(game.data() + kName, version, kName);
  return game;
}

// The game as its savegame's bytes.
inline std::string Snapshot(CZorvaWorld* world) {
  std::string binary, companion;
  if (!world->SerializeToMemory(binary, companion)) std::abort();
  return binary;
}

}  // namespace fuzzgame
