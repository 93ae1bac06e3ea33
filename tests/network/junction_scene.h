#pragma once
// A street network on a map of plain ground: the junction and four-lane
// graphics defined, a host that makes the network's world objects the way
// the world's factory does, the demand simulation with a test city, and
// streets built the way the street tool builds them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "iso/iso_scene.h"
#include "microsim/micro_cells.h"
#include "network_object_host.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/crossing_objects.h"
#include "network/street_objects.h"
#include "framework/qno_resource.h"
#include "support/test_support.h"
#include "sim/sim_error.h"
#include "sim/sim_test_city.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"

namespace junctiontest {

constexpr int kStraight = isotest::kBuilding;
constexpr int kCurve = isotest::kFlower;
constexpr int kEnd = isotest::kFilter;
constexpr int kFourLaneGroup = 3134;

// The scene's blobs with the four-lane crossing group of the tables.
inline std::map<uint32_t, zorgen::Bytes> JunctionBlobs() {
  auto b = isotest::SceneBlobs();
  b[kFourLaneGroup] = isotest::MakeGroup(
      2, 2, {{0, 0, 0, isotest::kBuilding}, {1, 0, 0, isotest::kBuilding}, {0, 1, 0, isotest::kBuilding},
             {1, 1, 0, isotest::kBuilding}});
  return b;
}

class NetHost : public NetObjectHost {
 public:
  int GetBaseResID(bool) override { return isotest::kGround; }
};

// One game's worth of map, demand simulation and street network.
struct GameData {};

struct World {
  explicit World(std::map<uint32_t, zorgen::Bytes> blobs = JunctionBlobs()) {
    Start(std::move(blobs));
    for (int type : {1, 2, 3})
      map->DefineStreet(type, kStraight, 0, kCurve, 0, kStraight, 0, kStraight, 0, kEnd, 0,
                        static_cast<unsigned short>(600 * type));
    map->DefineStreet(4, kStraight, 0, kCurve, 0, kStraight, 0, kStraight, 0, kEnd, 0, 2400);
    StartNetwork();
  }
  // The map reads the generated game archives, with the street types of
  // the game's start-up table (straight, bend, crossing, T, end, capacity).
  explicit World(GameData) {
    Start(isotest::SceneBlobs(), true);
    struct Row {
      int type, straight, bend, crossing, t, end, capacity;
    };
    for (const Row& r : {Row{1, 14549, 14631, 1503, 1482, 14551, 600}, Row{2, 1139, 1297, 1503, 1482, 1780, 1200},
                         Row{3, 1156, 1298, 1558, 1559, 1821, 1200}, Row{4, 2455, 2591, 2455, 2455, 5520, 2400}})
      map->DefineStreet(r.type, r.straight, 0, r.bend, 0, r.crossing, 0, r.t, 0, r.end, 0,
                        static_cast<unsigned short>(r.capacity));
    StartNetwork();
  }
  void Start(std::map<uint32_t, zorgen::Bytes> blobs, bool gameData = false) {
    scene = std::make_unique<isotest::Scene>(320, 240, std::move(blobs));
    if (gameData)
      for (const char* name : {"ZORVANTA", "BSOUNDS", "UPDATE"}) {
        char path[1024];
        QnoMakeValidPathname((zortest::BinaryDir() + "/gamedata").c_str(), name, ".GLA", path, sizeof path);
        EXPECT_EQ(scene->resources.AddWadFile(path), 0) << path;
      }
    scene->UseHost(&host);
    scene->CreateGround();
    map = scene->map.get();
  }
  void StartNetwork() {
    sim = std::make_unique<CSimWelt>(&parts);
    EXPECT_TRUE(sim->Create(nullptr));
    CStrStrassenTeil::m_pIsoWelt = map;
    CStrExtTeil::m_pIsoWelt = map;
    net = std::make_unique<CStrJunctionList>(map, sim.get());
    net->Create();
  }
  ~World() {
    net->Destroy();
    net.reset();
    CStrStrassenTeil::m_pIsoWelt = nullptr;
    CStrExtTeil::m_pIsoWelt = nullptr;
    sim->Destroy();
    sim.reset();
    scene.reset();
    SimCloseErrorLog();
  }
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  int Build(int x1, int y1, int x2, int y2, TStrassenType type = STRASSE_1) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2),
                       static_cast<short>(y2));
    return net->CreateStreet(&line, type);
  }
  CStrJunction* At(int x, int y) { return net->FindJunctionAt(static_cast<short>(x), static_cast<short>(y)); }
  int Junctions() { return static_cast<int>(net->GetNumber()); }
  // Every distinct street of the network.
  std::vector<CStrStrasse*> Streets() {
    std::vector<CStrStrasse*> out;
    for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) {
      auto* j = static_cast<CStrJunction*>(o);
      for (int i = 0; i < j->GetAnzLinkedStreets(); ++i)
        if (std::find(out.begin(), out.end(), j->GetStreetByNR(i)) == out.end()) out.push_back(j->GetStreetByNR(i));
    }
    return out;
  }
  // The street with these two end cells (in either order), or null.
  CStrStrasse* StreetBetween(int x1, int y1, int x2, int y2) {
    for (CStrStrasse* s : Streets()) {
      CStrJunction* a = s->GetStartJunction();
      CStrJunction* b = s->GetEndJunction();
      auto is = [](CStrJunction* j, int x, int y) { return j->GetXPos() == x && j->GetYPos() == y; };
      if ((is(a, x1, y1) && is(b, x2, y2)) || (is(a, x2, y2) && is(b, x1, y1))) return s;
    }
    return nullptr;
  }
  int GroundRes(int x, int y) { return map->GetIsoInfo(x, y)->GetResID(ISO_LAYER_GROUND); }
  TObjectType GroundType(int x, int y) { return map->GetTypeAt(x, y, ISO_LAYER_GROUND); }

  NetHost host;
  simtest::TestParts parts;
  std::unique_ptr<isotest::Scene> scene;
  CIsoWelt* map = nullptr;
  std::unique_ptr<CSimWelt> sim;
  std::unique_ptr<CStrJunctionList> net;
};

// Whether the demand simulation holds the crossing (a removed crossing
// stays known to it, but no longer created).
inline bool Registered(World& w, unsigned short id) {
  CSimTrafficSlot* slot = w.sim->EditingSlot();
  CSimCrossing* c = slot ? slot->GetCrossing(static_cast<short>(id)) : nullptr;
  return c && c->IsCreated();
}

// The cell layouts of a group, in the group's order.
inline std::vector<CQnoMicroZelle*> Layouts(CMicroZellenGroup* g) {
  std::vector<CQnoMicroZelle*> out;
  for (auto* m = g ? g->GetFirst() : nullptr; m; m = m->pNext)
    if (m->pZelle) out.push_back(m->pZelle);
  return out;
}

// The layouts a vehicle can reach from any cell of `from`, nearest first;
// the walk stops once it reaches `stop` or has passed `limit` cells.
inline std::set<CQnoMicroZelle*> Reached(CQnoMicroZelle* from, CQnoMicroZelle* stop = nullptr,
                                         size_t limit = SIZE_MAX) {
  std::set<CQnoMicroZelle*> layouts;
  std::set<BinaryMicroSimObject*> seen;
  std::deque<BinaryMicroSimObject*> open;
  for (int i = 0; from && i < from->GetCount(); ++i) open.push_back(from->GetZelle(i));
  while (!open.empty() && seen.size() < limit) {
    BinaryMicroSimObject* c = open.front();
    open.pop_front();
    if (!seen.insert(c).second) continue;
    layouts.insert(c->m_pOwner);
    if (stop && c->m_pOwner == stop) break;
    for (int k = 0; k < c->m_AnzNachfolger && k < BinaryMicroSimObject::kLinks; ++k)
      if (c->m_pNachfolger[k]) open.push_back(c->m_pNachfolger[k]);
  }
  return layouts;
}

// How many tiles around (x, y) carry the layer.
inline int LayersAround(World& w, int x, int y, int resId) {
  int n = 0;
  for (int cx = x - 2; cx <= x + 2; ++cx)
    for (int cy = y - 2; cy <= y + 2; ++cy) {
      CIsoObjLst* objects = w.map->GetIsoInfo(cx, cy)->GetIsoObjects(ISO_LAYER_GROUND);
      for (CZorvaObject* o = objects ? objects->GetHead() : nullptr; o; o = o->GetNext())
        n += static_cast<CIsoObject*>(o)->GetResID() == resId;
    }
  return n;
}

// A crossing made by a street that cuts another: a street (10, 10)-(10, 30),
// a T junction at (10, 15) with an arm bending from (20, 15) down to
// (20, 25), and from there a street west to (5, 25) across the first.
inline void BuildCrossing(World& w) {
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(20, 15, 10, 15), STR_BUILD_OK);
  ASSERT_EQ(w.Build(20, 15, 20, 25), STR_BUILD_OK);
  ASSERT_EQ(w.Build(20, 25, 5, 25), STR_BUILD_OK);
}

// Every link of the network agrees with itself: junctions hold the streets
// that name them as ends, as often as they name them, and the demand
// simulation knows every crossing and street id.
inline void ExpectConsistent(World& w) {
  std::set<unsigned short> crossings;
  for (CZorvaObject* o = w.net->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    EXPECT_GT(j->GetAnzLinkedStreets(), 0) << "isolated junction at " << j->GetXPos() << "/" << j->GetYPos();
    EXPECT_NE(j->GetSimID(), 0);
    EXPECT_TRUE(crossings.insert(j->GetSimID()).second);
    EXPECT_TRUE(Registered(w, j->GetSimID()));
    EXPECT_EQ(w.net->GetJunctionByID(j->GetSimID()), j);
    EXPECT_EQ(w.At(j->GetXPos(), j->GetYPos()), j);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* s = j->GetStreetByNR(i);
      const int ends = (s->GetStartJunction() == j) + (s->GetEndJunction() == j);
      int held = 0;
      for (int k = 0; k < j->GetAnzLinkedStreets(); ++k) held += j->GetStreetByNR(k) == s;
      EXPECT_EQ(ends, held);
    }
  }
  for (CStrStrasse* s : w.Streets()) {
    EXPECT_NE(s->GetSimID(), 0);
    EXPECT_EQ(w.net->GetStreetByID(s->GetSimID()), s);
    if (s->GetStreetType() != STRASSE_EINBAHN) {
      EXPECT_EQ(w.net->GetStreetByID(s->GetSimIDSecond()), s);
    }
  }
}

}  // namespace junctiontest
