// Reads arbitrary bytes as the street network's savegame record into an
// empty network, and what follows it as the rail network's. A refused
// record leaves nothing behind: no junction, no world object and no
// crossing in the demand simulation. A network that loads links every
// street and track into both of its ends and writes a record that reads
// back to the same network. The map is made once, and every input that
// laid streets on it must leave it as it was made.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "../sim/sim_test_city.h"
#include "../sim/sim_work_dir.h"
#include "network_object_host.h"
#include "framework/qno_log.h"
#include "iso/iso_welt.h"
#include "network/rail_junction_list.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/crossing_objects.h"
#include "network/street_objects.h"

namespace {

using FuzzHost = NetObjectHost;

// The map and its object host, made once: building a whole map's tiles
// costs far more than a record's load, and a network cleared from the map
// leaves it as it found it.
struct FuzzMap {
  FuzzMap() {
    OpenErrorLog("/dev/null");
    g_ZorLoadVersion = 240;
    map = new CIsoWelt(&host, nullptr, nullptr);
    map->OnCreate();
    for (int type : {1, 2, 3, 4}) map->DefineStreet(type, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 600);
    CStrStrassenTeil::m_pIsoWelt = map;
    CStrExtTeil::m_pIsoWelt = map;
    fresh = Types();
  }
  // What every cell holds on both layers.
  std::vector<TObjectType> Types() const {
    std::vector<TObjectType> types;
    types.reserve(2 * ISO_MAP_SIZE * ISO_MAP_SIZE);
    for (int x = 0; x < ISO_MAP_SIZE; ++x)
      for (int y = 0; y < ISO_MAP_SIZE; ++y)
        for (TBaseType layer : {ISO_LAYER_GROUND, ISO_LAYER_UPPER})
          types.push_back(map->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), layer));
    return types;
  }
  // A cleared network leaves every cell as the fresh map had it, so the
  // next input meets the same map.
  void CheckFresh() const {
    if (Types() != fresh) std::abort();
  }
  FuzzHost host;
  CIsoWelt* map = nullptr;
  std::vector<TObjectType> fresh;
};

FuzzMap& SharedMap() {
  static FuzzMap* shared = new FuzzMap;
  return *shared;
}

// The demand simulation and both networks over the shared map: made anew
// after every load that used crossing ids.
struct FuzzWorld {
  FuzzWorld() : host(SharedMap().host), map(SharedMap().map) {
    sim = new CSimWelt(&parts);
    if (!simtest::InSimWorkDir([&] { return sim->Create(nullptr); })) std::abort();
    net = new CStrJunctionList(map, sim);
    net->Create();
    rails = new CStrSchJuncList(map, sim);
    rails->Create();
    net->SetRailNet(rails);
  }
  ~FuzzWorld() {
    net->SetRailNet(nullptr);
    rails->Destroy();
    delete rails;
    net->Destroy();
    delete net;
    sim->Destroy();
    delete sim;
  }
  FuzzWorld(const FuzzWorld&) = delete;
  FuzzWorld& operator=(const FuzzWorld&) = delete;
  FuzzHost& host;
  CIsoWelt* map = nullptr;
  simtest::TestParts parts;
  CSimWelt* sim = nullptr;
  CStrJunctionList* net = nullptr;
  CStrSchJuncList* rails = nullptr;
};

// Every street of a network (or every track of the rail network).
std::vector<CStrStrasse*> StreetsOf(CStrJunctionList* net) {
  std::vector<CStrStrasse*> out;
  for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i)
      if (std::find(out.begin(), out.end(), j->GetStreetByNR(i)) == out.end()) out.push_back(j->GetStreetByNR(i));
  }
  return out;
}

// Takes a loaded network out of the map and the demand simulation again.
void Clear(CStrJunctionList* net) {
  for (CStrStrasse* s : StreetsOf(net)) {
    s->RemoveFromIsoWelt(false);
    s->RemoveFromSimWelt();
  }
  for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    j->RemoveFromIsoWelt();
    j->RemoveFromSimWelt();
  }
  net->Destroy();
  net->Create();
}

void Clear(FuzzWorld& w) {
  Clear(w.rails);
  Clear(w.net);
}

void Check(CStrJunctionList* net) {
  for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    if (j->GetAnzLinkedStreets() > CStrJunction::kMaxStreets) std::abort();
    if (net->GetJunctionByID(j->GetSimID()) != j) std::abort();
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* s = j->GetStreetByNR(i);
      if (!s->GetStartJunction() || !s->GetEndJunction()) std::abort();
      if (!s->GetStartJunction()->HasStreet(s) || !s->GetEndJunction()->HasStreet(s)) std::abort();
    }
  }
}

void Check(FuzzWorld& w) {
  Check(w.net);
  Check(w.rails);
  for (CStrStrasse* t : StreetsOf(w.rails))
    if (!(t->GetStreetType() == STRASSE_SCHIENE) || t->GetSimID() == 0) std::abort();
}

// Loads the street network's record and, when bytes follow, the rail
// network's; 1 when either is refused (the rail network is then empty).
int Load(FuzzWorld& w, FILE* in) {
  if (w.net->SerializeGameLoad(in) != 0) return 1;
  const int next = std::fgetc(in);
  if (next == EOF) return 0;
  std::ungetc(next, in);
  const size_t objects = w.host.objects.size();
  if (w.rails->SerializeGameLoad(in) == 0) return 0;
  if (w.rails->GetNumber() != 0 || w.host.objects.size() != objects) std::abort();
  return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A refused record leaves the world as it was; one that loads has used
  // its crossing ids, which a game never gives out twice, so the next load
  // gets a new world.
  static FuzzWorld* w = new FuzzWorld;
  FILE* in = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!in) return 0;
  const int r = Load(*w, in);
  std::fclose(in);
  if (r != 0) {
    // A refused street record leaves nothing; a refused rail record leaves
    // the streets that loaded, which go with the world.
    if (w->net->GetNumber() != 0) {
      Clear(*w);
      delete w;
      w = new FuzzWorld;
      SharedMap().CheckFresh();
    }
    if (!w->host.objects.empty()) std::abort();
    return 0;
  }
  Check(*w);
  const uint32_t junctions = w->net->GetNumber();
  const size_t streets = StreetsOf(w->net).size();
  const uint32_t railJunctions = w->rails->GetNumber();
  const size_t tracks = StreetsOf(w->rails).size();
  FILE* out = std::tmpfile();
  if (!out || w->net->SerializeGameStore(out) != 0 || w->rails->SerializeGameStore(out) != 0) std::abort();
  Clear(*w);
  if (!w->host.objects.empty()) std::abort();
  SharedMap().CheckFresh();
  delete w;
  w = new FuzzWorld;
  std::rewind(out);
  if (Load(*w, out) != 0) std::abort();
  std::fclose(out);
  if (w->net->GetNumber() != junctions || StreetsOf(w->net).size() != streets) std::abort();
  if (w->rails->GetNumber() != railJunctions || StreetsOf(w->rails).size() != tracks) std::abort();
  Check(*w);
  Clear(*w);
  SharedMap().CheckFresh();
  delete w;
  w = new FuzzWorld;
  return 0;
}
