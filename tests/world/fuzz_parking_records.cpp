// Feeds arbitrary bytes to the running game's savegame container as one of
// the parking records: a car park ("BuildingParkingObject", the first of
// three sizes), the parking management (to its end mark), microcar rental
// and the traffic displays. The first byte picks the record; ZOR_FUZZ_RECORD
// (a record's name) pins it. The other bytes stand for the record from its
// length on; its name stays. The container's reader of the object list's
// records hands them on in the game of a small town with three car parks,
// loaded once; the first car park is then taken off, so that its record
// finds its place free.
// For every input: a refused record leaves its object's record as it was,
// and places no car park; a taken one is written and reads back to the same
// bytes, after which the object's record from before is put back, or the
// car park placed is taken off again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_game.h"
#include "measures/building_object.h"
#include "measures/miet_micro.h"
#include "measures/park_management.h"
#include "measures/traffic_display.h"

namespace {

using fuzzgame::RecordKind;

fuzzgame::FuzzWorld* g_world = nullptr;
std::string g_base, g_companion;

// The first car park of the parking management's list.
CWorldObj* FirstCarPark(CZorvaWorld* w) {
  CZorvaList* list = w->GetParkManagement()->GetList("PRM.PLACELIST");
  CZorvaPointer* head = list ? list->GetHeadZorvaPointer() : nullptr;
  return head ? dynamic_cast<CWorldObj*>(head->GetZorvaObject()) : nullptr;
}

RecordKind g_kinds[] = {
    {"BuildingParkingObject",
     [](CZorvaWorld* w, FILE* f) {
       CWorldObj* park = FirstCarPark(w);
       return park ? park->SerializeGameStore(f, nullptr) : 1;
     },
     {}, 0},
    {"ParkManagement", [](CZorvaWorld* w, FILE* f) { return w->GetParkManagement()->SerializeGameStore(f, nullptr); }, {}, 0},
    {"MietMicro", [](CZorvaWorld* w, FILE* f) { return w->GetMietMicro()->SerializeGameStore(f, nullptr); }, {}, 0},
    {"TrafficDisplay", [](CZorvaWorld* w, FILE* f) { return w->GetTrafficDisplay()->SerializeGameStore(f, nullptr); }, {}, 0},
};
constexpr int kKinds = sizeof g_kinds / sizeof g_kinds[0];
constexpr int kCarPark = 0;
int g_pinned = -1;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_world = fuzzgame::Start("fuzz_parking_records");
  fuzzgame::SaveSmallTown(g_world, &g_base, &g_companion, [](CZorvaWorld* w) {
    const struct {
      TObjectType kind;
      int resId, x, y;
    } parks[] = {{OBJ_CARPARK_OPEN, 39431, 62, 64}, {OBJ_CARPARK_GARAGE, 27552, 57, 61},
                 {OBJ_CARPARK_GARAGE2, 28031, 63, 60}};
    for (const auto& p : parks)
      if (!w->CreateObject(p.kind, p.resId, CIsoRichtung(0), p.x, p.y, SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0, -1))
        std::abort();
  });
  g_pinned = fuzzgame::FindRecords(g_world, g_base, g_kinds, kKinds, "fuzz_parking_records");
  // Every input starts from the town as loaded, without the car park whose
  // record the fuzzer stands in for.
  fuzzgame::LoadBase(g_world);
  CWorldObj* park = nullptr;
  for (CZorvaObject* o = g_world->GetObjectList()->GetHead(); o && !park; o = o->GetNext()) {
    auto* candidate = dynamic_cast<CBuildingParkingObject*>(o);
    if (candidate && fuzzgame::RecordBytes([candidate](FILE* f) { return candidate->SerializeGameStore(f, nullptr); }) ==
                         g_kinds[kCarPark].bytes)
      park = candidate;
  }
  if (!park || g_world->RemoveObject(park, 1, false) != 0) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int k = g_pinned >= 0 ? g_pinned : data[0] % kKinds;
  const RecordKind& kind = g_kinds[k];
  if (k == kCarPark) {
    fuzzgame::CheckBuilding(g_world, kind.name, data + 1, size - 1, kSaveGameVersion);
    return 0;
  }
  fuzzgame::CheckSingleton(
      g_world, kind.name, [&kind](FILE* f) { return kind.store(g_world, f); }, data + 1, size - 1, kSaveGameVersion,
      false);
  return 0;
}
