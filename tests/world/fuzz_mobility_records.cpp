// Feeds arbitrary bytes as one of the mobility services' records: park-and-
// ride, car sharing, the advice centre, the travel assistant, active and
// passive route guidance, the surrounding region, and a park-and-ride
// station's building record. The first byte picks the record and whether it
// is read in its current form or, where it has one, in its older form (the
// measures' blocks before version 1.5, the station without its own record
// before version 1.9); ZOR_FUZZ_RECORD (a record's name) pins the record.
// The other bytes stand for the record from its length on; its name stays.
// The current form goes through the running game's savegame container, in
// the game's own savegame of a small town with a station, a car-sharing
// office and outlet, a mast and the advice centre: a load that fails leaves
// the game exactly as it was; a load that succeeds leaves a game that saves
// and loads again. A savegame of an older version holds every other record
// in its older form too, which this game does not write, so the older form
// goes to the reader that the container hands the record to, with the
// length and version the container gives: a refused record leaves the
// measure as it was; an accepted one is written and read back whole.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>

#include "fuzz_game.h"
#include "measures/active_route_guidance.h"
#include "measures/advice_centre.h"
#include "measures/building_object.h"
#include "measures/carsharing.h"
#include "measures/measure.h"
#include "measures/park_ride.h"
#include "measures/passive_route_planning.h"
#include "measures/pta.h"
#include "measures/umland.h"
#include "network/str_junction_list.h"
#include "worldbase/building_catalogue.h"

namespace {

constexpr int kLengthBytes = 4, kNameBytes = 30;

struct Kind {
  const char* name;
  // The singleton that reads the record; null for the station's record.
  std::function<CMeasure*(CZorvaWorld*)> measure;
  // The savegame version of the older form and the bytes of the payload
  // that it keeps (the current payload's first bytes); 0 when the record
  // has one form.
  int olderVersion;
  size_t olderPayload;
  std::string bytes;  // the record as the game writes it
  size_t at = 0;      // where it stands in the savegame
};

CZorvaWorld* g_world = nullptr;
std::string g_base, g_companion;
CBuildingParkRideObject* g_station = nullptr;

template <class M>
std::function<CMeasure*(CZorvaWorld*)> Of(M* (CZorvaWorld::*get)()) {
  return [get](CZorvaWorld* w) -> CMeasure* { return (w->*get)(); };
}

Kind g_kinds[] = {
    {"ParkRide", Of(&CZorvaWorld::GetParkRide), 140, 36, {}, 0},
    {"Carsharing", Of(&CZorvaWorld::GetCarsharing), 140, 1104, {}, 0},
    {"ZorviZentrale", Of(&CZorvaWorld::GetZorviZentrale), 0, 0, {}, 0},
    {"Pta", Of(&CZorvaWorld::GetPta), 140, 60, {}, 0},
    {"AktiveRP", Of(&CZorvaWorld::GetAktiveRP), 140, 1108, {}, 0},
    {"PassiveRP", Of(&CZorvaWorld::GetPassiveRP), 0, 0, {}, 0},
    {"Umland", Of(&CZorvaWorld::GetUmland), 0, 0, {}, 0},
    // The station's building record of 140 bytes; before version 1.9 its
    // own 32 bytes do not follow.
    {"BuildingParkRide", nullptr, 180, 140 - kNameBytes, {}, 0},
};
constexpr int kKinds = sizeof g_kinds / sizeof g_kinds[0];
int g_pinned = -1;

std::string Store(const Kind& kind) {
  return fuzzgame::RecordBytes([&kind](FILE* f) {
    return kind.measure ? kind.measure(g_world)->SerializeGameStore(f, nullptr) : g_station->SerializeGameStore(f, nullptr);
  });
}

void Seed(const std::string& name, int selector, const std::string& body) {
  fuzzgame::Write("corpus/seed_" + name, std::string(1, static_cast<char>(selector)) + body);
}

// The current form through the savegame container.
void LoadCurrent(const Kind& kind, const uint8_t* record, size_t size) {
  fuzzgame::LoadAndCheck(g_world, fuzzgame::Splice(g_base, kind.at, kind.bytes, record, size, nullptr), g_companion);
}

// The older form to the record's reader, with the payload's length as the
// container takes it from the length field (the station's reader knows its
// own size) and the older version.
void LoadOlder(const Kind& kind, const uint8_t* record, size_t size) {
  if (size < kLengthBytes) return;
  uint32_t length = 0;
  for (int b = kLengthBytes - 1; b >= 0; --b) length = length << 8 | record[b];
  const size_t left = size - kLengthBytes;
  // The container refuses a length shorter than the name or past the file.
  if (length < static_cast<uint32_t>(kNameBytes) || length - kNameBytes > left) return;
  // The payload as a file of its own size (an empty one reads nothing).
  std::string bytes(reinterpret_cast<const char*>(record) + kLengthBytes, left);
  FILE* file = left ? fmemopen(bytes.data(), left, "rb") : std::fopen("/dev/null", "rb");
  if (!file) std::abort();
  if (!kind.measure) {
    BuildingDataType data;
    PotentialType potential;
    short district = 0;
    ParkRideDataType station;
    const int read =
        CBuildingParkRideObject::SerializeGameLoad(file, &data, &potential, &district, &station, kind.olderVersion);
    // Without its own record the station's 32 bytes are never read.
    if (read == 0 && std::ftell(file) > static_cast<long>(kind.olderPayload)) std::abort();
    std::fclose(file);
    return;
  }
  CMeasure* measure = kind.measure(g_world);
  const std::string before = Store(kind);
  const int read = measure->SerializeGameLoad(file, length - kNameBytes, kind.olderVersion);
  std::fclose(file);
  if (read != 0) {
    if (Store(kind) != before) std::abort();
    return;
  }
  // What was read is written in the current form and reads back the same.
  const std::string again = Store(kind);
  FILE* back = fmemopen(const_cast<char*>(again.data() + kLengthBytes + kNameBytes),
                        again.size() - kLengthBytes - kNameBytes, "rb");
  if (!back) std::abort();
  const int reread = measure->SerializeGameLoad(back, static_cast<uint32_t>(measure->GetBlockSize()), 240);
  std::fclose(back);
  if (reread != 0) std::abort();
  fuzzgame::LoadBase(g_world);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_world = fuzzgame::Start("fuzz_mobility_records");
  // A station, a car-sharing office and outlet, a mast and the advice
  // centre, so that the measures' records hold counts and money.
  const struct {
    TObjectType kind;
    int resId, x, y;
  } placed[] = {{OBJ_PARKRIDE, CBuildingParkRideObject::kResIDZ[0], 62, 61},
                {OBJ_CARSHARING_CENTRE, 28686, 62, 65},
                {OBJ_CARSHARING_STATION, 29793, 58, 61},
                {OBJ_TRANSMITTER, CBuildingDataList::GetBuildingResIDByType(OBJ_TRANSMITTER, 0, nullptr), 58, 65},
                {OBJ_ADVICE_CENTRE, 32456, 64, 61}};
  fuzzgame::SaveSmallTown(g_world, &g_base, &g_companion, [&placed](CZorvaWorld* world) {
    for (const auto& p : placed) {
      CWorldObj* made =
          world->CreateObject(p.kind, p.resId, CIsoRichtung(0), p.x, p.y, SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0, -1);
      if (!made) {
        std::fprintf(stderr, "fuzz_mobility_records: building %d was not placed\n", static_cast<int>(p.kind));
        std::abort();
      }
      if (p.kind == OBJ_PARKRIDE) g_station = dynamic_cast<CBuildingParkRideObject*>(made);
    }
  });
  if (!g_station) std::abort();
  const char* pinned = std::getenv("ZOR_FUZZ_RECORD");
  for (int k = 0; k < kKinds; ++k) {
    Kind& kind = g_kinds[k];
    kind.bytes = Store(kind);
    kind.at = g_base.find(kind.bytes);
    if (kind.at == std::string::npos || g_base.find(kind.bytes, kind.at + 1) != std::string::npos) {
      std::fprintf(stderr, "fuzz_mobility_records: the %s record is not once in the savegame\n", kind.name);
      std::abort();
    }
    if (pinned && std::strcmp(pinned, kind.name) == 0) g_pinned = k;
    // The record as written, without its body, and in its older form: the
    // payload's leading bytes under the older length (the station's length
    // field counts its building record alone in both forms).
    const std::string length = kind.bytes.substr(0, kLengthBytes);
    const std::string payload = kind.bytes.substr(kLengthBytes + kNameBytes);
    Seed(kind.name, k, length + payload);
    Seed(std::string(kind.name) + "_empty", k, length);
    if (kind.olderVersion) {
      std::string olderLength = length;
      const uint32_t n = static_cast<uint32_t>(kNameBytes + kind.olderPayload);
      for (int b = 0; b < kLengthBytes; ++b) olderLength[static_cast<size_t>(b)] = static_cast<char>(n >> (8 * b));
      Seed(std::string(kind.name) + "_older", k + kKinds, olderLength + payload.substr(0, kind.olderPayload));
    }
  }
  // Every input starts from the town as loaded.
  fuzzgame::LoadBase(g_world);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int k = g_pinned >= 0 ? g_pinned : data[0] % kKinds;
  const Kind& kind = g_kinds[k];
  if ((data[0] / kKinds) % 2 == 1 && kind.olderVersion)
    LoadOlder(kind, data + 1, size - 1);
  else
    LoadCurrent(kind, data + 1, size - 1);
  return 0;
}
