// Loads arbitrary bytes as one of the records of the council and the
// scores (the administration, the indicators, the statistics, god mode),
// the way the savegame container hands them over after their length and
// name: a record is taken whole or refused, a refused one leaves the object
// as it was, and a taken one saves and loads again to the same bytes.
// The first byte picks the record and the savegame version of its form
// (the current one, the float rows of 1.7, the short statistics of 1.3);
// ZOR_FUZZ_RECORD (0 administration, 1 indicators, 2 statistics, 3 god
// mode) pins the record.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/zor_list.h"
#include "model/gott_modus.h"
#include "model/indikatoren.h"
#include "model/stadt_verwaltung.h"
#include "model/statistik.h"

namespace {

// The record as the object writes it, after its length and name.
template <class Store>
std::string Body(Store store) {
  char* data = nullptr;
  size_t size = 0;
  FILE* f = open_memstream(&data, &size);
  if (!f || store(f) != 0 || std::fclose(f) != 0) std::abort();
  std::string bytes(data, size);
  std::free(data);
  return size >= 34 ? bytes.substr(34) : std::string();
}

// Loads the input into a fresh object: refused, it is as it was; taken, it
// loads what it saves and saves it again to the same bytes.
template <class T, class Load, class Store>
void Check(const uint8_t* data, size_t size, Load load, Store store) {
  T object;
  const std::string fresh = Body([&](FILE* f) { return store(object, f); });
  FILE* in = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!in) return;
  const int result = load(object, in, static_cast<int>(size));
  std::fclose(in);
  const std::string after = Body([&](FILE* f) { return store(object, f); });
  if (result != 0) {
    if (after != fresh) std::abort();
    return;
  }
  const int saved = g_ZorLoadVersion;
  g_ZorLoadVersion = 240;
  T again;
  FILE* back = fmemopen(const_cast<char*>(after.data()), after.size(), "rb");
  if (!back || load(again, back, static_cast<int>(after.size())) != 0) std::abort();
  std::fclose(back);
  if (Body([&](FILE* f) { return store(again, f); }) != after) std::abort();
  g_ZorLoadVersion = saved;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const int kVersions[] = {240, 170, 130};
  g_ZorLoadVersion = kVersions[(data[0] / 4) % 3];
  ++data;
  --size;
  static const int pinned = std::getenv("ZOR_FUZZ_RECORD") ? std::atoi(std::getenv("ZOR_FUZZ_RECORD")) : -1;
  switch (pinned >= 0 ? pinned : data[-1] % 4) {
    case 0:
      Check<CStadtVerwaltung>(
          data, size, [](CStadtVerwaltung& o, FILE* f, int) { return o.SerializeGameLoad(f); },
          [](CStadtVerwaltung& o, FILE* f) { return o.SerializeGameStore(f, nullptr); });
      break;
    case 1:
      Check<CIndikatoren>(
          data, size, [](CIndikatoren& o, FILE* f, int n) { return o.SerializeGameLoad(f, n); },
          [](CIndikatoren& o, FILE* f) { return o.SerializeGameStore(f, nullptr); });
      break;
    case 2:
      Check<CStatistik>(
          data, size, [](CStatistik& o, FILE* f, int n) { return o.SerializeGameLoad(f, n); },
          [](CStatistik& o, FILE* f) { return o.SerializeGameStore(f); });
      break;
    default:
      Check<CGottModus>(
          data, size, [](CGottModus& o, FILE* f, int) { return o.SerializeGameLoad(f); },
          [](CGottModus& o, FILE* f) { return o.SerializeGameStore(f); });
      break;
  }
  return 0;
}
