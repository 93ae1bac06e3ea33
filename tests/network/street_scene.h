#pragma once
// A small street scene: a map of plain ground with the street graphics
// defined, a host that makes the street network's world objects, the
// demand simulation with a test city, and junctions placed by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "iso/iso_river.h"
#include "iso/iso_scene.h"
#include "network_object_host.h"
#include "microsim/micro_test_layouts.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/crossing_objects.h"
#include "network/street_objects.h"
#include "sim/sim_error.h"
#include "sim/sim_test_city.h"
#include "sim/sim_welt.h"

namespace streettest {

// Graphics of the street types in the scene: street tiles carry a cell
// layout at every zoom and rotation.
constexpr int kStraight = 540;
constexpr int kCurve = 541;
constexpr int kEnd = isotest::kFilter;
constexpr int kEnd2 = isotest::kBuilding;
constexpr int kRiverTile = isotest::kFlower;
constexpr int kLayout = 800;

inline std::map<uint32_t, zorgen::Bytes> StreetBlobs() {
  std::map<uint32_t, zorgen::Bytes> b = isotest::SceneBlobs();
  isotest::TileLayer layer = isotest::FlatLayer(isotest::FloorSprite, 0);
  for (auto& zoom : layer.data)
    for (uint32_t& id : zoom) id = kLayout;
  b[kStraight] = isotest::MakeTile({layer});
  b[kCurve] = isotest::MakeTile({layer});
  using microtest::C;
  // The level crossing's 2 x 2 group.
  b[CGrdCrossing::kResID] = isotest::MakeGroup(
      2, 2, {{0, 0, 0, kStraight}, {1, 0, 0, kStraight}, {0, 1, 0, kStraight}, {1, 1, 0, kStraight}});
  b[kLayout] = microtest::Record({C(1, 2, 0, 0, {2}, 0, 2), C(2, 2, 10, 0, {}, 1)});
  return b;
}

// Makes the network's world objects the way the world's factory does, rails
// and rivers too, and keeps them until they are given up.
class NetHost : public NetObjectHost {
 public:
  int GetBaseResID(bool) override { return isotest::kGround; }
  // Street-side objects are only recorded, not placed.
  struct Placed {
    TObjectType kind;
    int resId, x, y, direction;
  };
  CWorldObj* CreateObjectAt(TObjectType kind, int resId, CIsoRichtung direction, int x, int y) override {
    if (refuseSigns) return nullptr;
    auto* o = new CWorldObj;
    o->Create();
    o->SetType(kind);
    objects.insert(o);
    placed.push_back({kind, resId, x, y, direction.GetValue()});
    return o;
  }
  int RemoveObject(int x, int y, TBaseType layer) override {
    removed.push_back({OBJ_NONE, static_cast<int>(layer), x, y, 0});
    return 0;
  }
  bool refuseSigns = false;
  std::vector<Placed> placed;
  std::vector<Placed> removed;

 protected:
  CWorldObj* MakeObject(TObjectType kind) override {
    if (kind == OBJ_RAIL_PIECE) return new CRailObj;
    if (kind == OBJ_RIVER) return new CRiverObject;
    return NetObjectHost::MakeObject(kind);
  }
};

// The demand simulation, refusing on request every street that leaves one
// crossing.
class TestSim : public CSimWelt {
 public:
  explicit TestSim(CSimWeltParts* parts) : CSimWelt(parts) {}
  int AddStreet(const short& startId, const TSimDirection& startSide, const short& endId,
                const TSimDirection& endSide, int length, short id) override {
    ++addCalls;
    if (startId == refuseFrom) return 0;
    return CSimWelt::AddStreet(startId, startSide, endId, endSide, length, id);
  }
  short refuseFrom = -1;
  int addCalls = 0;
};

struct StreetScene : ::testing::Test {
  void SetUp() override {
    g_ZorLoadVersion = 240;
    scene = std::make_unique<isotest::Scene>(320, 240, StreetBlobs());
    scene->UseHost(&host);
    scene->CreateGround();
    map = scene->map.get();
    // Type 2 ends in a piece of its own.
    for (int type : {1, 2, 3})
      map->DefineStreet(type, kStraight, 0, kCurve, 0, kStraight, 0, kStraight, 0, type == 2 ? kEnd2 : kEnd, 0,
                        static_cast<unsigned short>(600 * type));
    map->DefineStreet(4, kStraight, 0, kCurve, 0, kStraight, 0, kStraight, 0, kEnd, 0, 2400);
    ASSERT_TRUE(sim.Create(nullptr));
    CStrStrassenTeil::m_pIsoWelt = map;
    CStrExtTeil::m_pIsoWelt = map;
    net = std::make_unique<CStrJunctionList>(map, &sim);
    net->Create();
    CStrJunction::m_pStreetNet = net.get();
  }
  void TearDown() override {
    for (CStrStrasse* s : streets) {
      for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) {
        auto* j = static_cast<CStrJunction*>(o);
        while (HasStreet(j, s)) j->UnLinkStreet(s);
      }
      s->Destroy();
      delete s;
    }
    streets.clear();
    CStrJunction::m_pStreetNet = nullptr;
    net->Destroy();
    net.reset();
    CStrStrassenTeil::m_pIsoWelt = nullptr;
    CStrExtTeil::m_pIsoWelt = nullptr;
    scene.reset();
    SimCloseErrorLog();
    g_ZorLoadVersion = 0;
  }

  // A junction at (x, y), registered with the simulation and listed.
  CStrJunction* Junction(int x, int y, TStrassenType type = STRASSE_1) {
    auto* j = new CStrJunction(map, &sim);
    EXPECT_EQ(j->Create(static_cast<short>(x), static_cast<short>(y), type), 0);
    EXPECT_EQ(j->InsertIntoSimWelt(), 0);
    net->AddHead(j, j->GetSimID());
    return j;
  }
  // A street kept by the test, with its pieces given as corner tiles.
  CStrStrasse* Street(CStrJunction* a, CStrJunction* b, TStrassenType type = STRASSE_1,
                      std::vector<std::pair<int, int>> corners = {}) {
    auto* s = new CStrStrasse(map, &sim);
    EXPECT_EQ(s->Create(a, b, type), 0);
    if (!corners.empty()) {
      s->CList::Destroy();
      std::pair<int, int> from{a->GetXPos(), a->GetYPos()};
      corners.push_back({b->GetXPos(), b->GetYPos()});
      for (auto to : corners) {
        CStrStrassenTeil* p = s->CreateNewStrassenTeil();
        p->Create(static_cast<short>(from.first), static_cast<short>(from.second), static_cast<short>(to.first),
                  static_cast<short>(to.second), nullptr, false, type);
        s->AddTail(p, 0);
        from = to;
      }
      s->CalcLaenge();
    }
    streets.push_back(s);
    return s;
  }
  static bool HasStreet(CStrJunction* j, CStrStrasse* s) {
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i)
      if (j->GetStreetByNR(i) == s) return true;
    return false;
  }
  // Forgets a street the test no longer keeps (it was deleted elsewhere).
  void Forget(CStrStrasse* s) { streets.erase(std::remove(streets.begin(), streets.end(), s), streets.end()); }

  TObjectType GroundAt(int x, int y) {
    return map->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
  }
  CWorldObj* ObjectAt(int x, int y) { return map->GetIsoTileObject(x, y, ISO_LAYER_GROUND); }
  // A river tile as the map's loader puts one.
  void River(int x, int y, int resId = kRiverTile) {
    auto* r = static_cast<CRiverObject*>(host.CreateObject(OBJ_RIVER));
    r->Place(static_cast<uint16_t>(x), static_cast<uint16_t>(y), CIsoRichtung(0), resId);
    map->SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(0), resId, r);
  }
  // A rail tile of no track.
  void Rail(int x, int y) {
    map->SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(0), kStraight, host.CreateObject(OBJ_RAIL_PIECE));
  }
  CSimStreet* SimStreet(short id) { return sim.GetStreet(id, 0); }

  NetHost host;
  std::unique_ptr<isotest::Scene> scene;
  CIsoWelt* map = nullptr;
  simtest::TestParts parts;
  TestSim sim{&parts};
  std::unique_ptr<CStrJunctionList> net;
  std::vector<CStrStrasse*> streets;
};

// Pieces as (start x, start y, end x, end y), head first.
inline std::vector<std::array<int, 4>> Pieces(CStrStrasse* s) {
  std::vector<std::array<int, 4>> out;
  for (int i = 1; CStrStrassenTeil* p = s->GetStrassenTeil(i); ++i)
    out.push_back({p->GetStartX(), p->GetStartY(), p->GetEndX(), p->GetEndY()});
  return out;
}

}  // namespace streettest
