// Feeds arbitrary bytes as one of the mobility services' records: park-and-
// ride, car sharing, the advice centre, the travel assistant, active and
// passive route guidance, the surrounding region, and a park-and-ride
// station's building record. The first byte picks the record and whether it
// is read in its current form or, where it has one, in its older form (the
// measures' blocks before version 1.5, the station without its own record
// before version 1.9); ZOR_FUZZ_RECORD (a record's name) pins the record.
// The other bytes stand for the record from its length on; its name stays.
// The container's reader of the object list's records hands them, with the
// version of their form, to the game of a small town with a station, a
// car-sharing office and outlet, a mast and the advice centre, loaded once;
// the station is then taken off, so that its record finds its place free.
// For every input: a refused record leaves its measure's record as it was,
// and places no station; a taken one is written in the current form and
// reads back to the same bytes, after which the measure's record from
// before is put back, or the station placed is taken off again. A station
// in its older form never reads the 32 bytes of its own record.
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

fuzzgame::FuzzWorld* g_world = nullptr;
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

// The record in the form of `version`.
void Check(const Kind& kind, const uint8_t* record, size_t size, int version) {
  if (kind.measure) {
    fuzzgame::CheckSingleton(
        g_world, kind.name, [&kind](FILE* f) { return kind.measure(g_world)->SerializeGameStore(f, nullptr); }, record,
        size, version, false);
    return;
  }
  const fuzzgame::Read read = fuzzgame::CheckBuilding(g_world, kind.name, record, size, version);
  if (version == kind.olderVersion && read.reached && read.result == 0 &&
      read.consumed > static_cast<long>(kind.olderPayload))
    std::abort();
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
  // Every input starts from the town as loaded, without its station.
  fuzzgame::LoadBase(g_world);
  g_station = nullptr;
  for (CZorvaObject* o = g_world->GetObjectList()->GetHead(); o && !g_station; o = o->GetNext())
    g_station = dynamic_cast<CBuildingParkRideObject*>(o);
  if (!g_station || g_world->RemoveObject(g_station, 1, false) != 0) std::abort();
  g_station = nullptr;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int k = g_pinned >= 0 ? g_pinned : data[0] % kKinds;
  const Kind& kind = g_kinds[k];
  const bool older = (data[0] / kKinds) % 2 == 1 && kind.olderVersion;
  Check(kind, data + 1, size - 1, older ? kind.olderVersion : kSaveGameVersion);
  return 0;
}
