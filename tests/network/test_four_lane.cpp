// Four-lane streets built with the street tool's operation on the generated
// game data: the junction graphics chosen for their arms, the groups laid
// along them, and the lanes of streets and junctions joined where the
// pictures meet.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <vector>

#include "junction_scene.h"
#include "iso/iso_river.h"
#include "microsim/micro_cells.h"
#include "network/rail_junction_list.h"

namespace {

using namespace junctiontest;
using Cell = BinaryMicroSimObject;

std::vector<CQnoMicroZelle*> AllLayouts(World& w) {
  std::vector<CQnoMicroZelle*> out;
  for (CZorvaObject* o = w.net->GetHead(); o; o = o->GetNext())
    for (CQnoMicroZelle* l : Layouts(static_cast<CStrJunction*>(o)->GetMicroZellen())) out.push_back(l);
  for (CStrStrasse* s : w.Streets())
    for (CQnoMicroZelle* l : Layouts(s->GetMicroZellenGroup())) out.push_back(l);
  return out;
}

// Every cell of the network leads on and is reached (ends turn vehicles
// round), and a link from one tile's layout into the next spans no more than
// the step between two cells of a lane: the lanes meet where the pictures
// do.
void ExpectLanesJoined(World& w) {
  int joins = 0;
  for (CQnoMicroZelle* l : AllLayouts(w))
    for (int i = 0; i < l->GetCount(); ++i) {
      Cell* c = l->GetZelle(i);
      EXPECT_GT(c->m_AnzNachfolger, 0) << "layout of " << l->GetCount() << " kind " << int(c->m_LaneKind) << " cell " << c->m_ID << " at " << c->m_ScreenX << "/" << c->m_ScreenY;
      EXPECT_NE(c->m_pVorgaenger, nullptr) << "layout of " << l->GetCount() << " kind " << int(c->m_LaneKind) << " cell " << c->m_ID << " at " << c->m_ScreenX << "/" << c->m_ScreenY;
      for (int k = 0; k < c->m_AnzNachfolger; ++k) {
        Cell* n = c->m_pNachfolger[k];
        if (!n || n->m_pOwner == l) continue;
        ++joins;
        EXPECT_LE(std::hypot(n->m_ScreenX - c->m_ScreenX, n->m_ScreenY - c->m_ScreenY), 4.0)
            << "cell " << c->m_ID << " at " << c->m_ScreenX << "/" << c->m_ScreenY;
      }
    }
  EXPECT_GT(joins, 0);
}

CIsoObjGroup* GroupAt(World& w, int x, int y) { return w.map->GetIsoInfo(x, y)->GetGroupObj(ISO_LAYER_GROUND); }

// The junction's graphic: its group, anchored on the junction's cell.
void ExpectJunction(World& w, int x, int y, int id, int rotation) {
  SCOPED_TRACE(testing::Message() << "junction at " << x << "/" << y);
  ASSERT_NE(w.At(x, y), nullptr);
  CIsoObjGroup* g = GroupAt(w, x, y);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->GetResID(), id);
  EXPECT_EQ(static_cast<int>(g->GetRichtung()), rotation);
  EXPECT_EQ(g->GetStartPosX(), x);
  EXPECT_EQ(g->GetStartPosY(), y);
  EXPECT_EQ(w.GroundType(x, y), OBJ_CROSSING);
}

// A four-lane street from (x1, y1) to (x2, y2) along one axis: every tile
// of its first row between the junctions' groups holds a straight group of
// its own, whose cell beside it across the street belongs to it too, and
// has one cell layout carrying both directions, each on an outer and an
// inner lane.
void ExpectFourLaneStreet(World& w, int x1, int y1, int x2, int y2) {
  SCOPED_TRACE(testing::Message() << "street " << x1 << "/" << y1 << " - " << x2 << "/" << y2);
  CStrStrasse* s = w.StreetBetween(x1, y1, x2, y2);
  ASSERT_NE(s, nullptr);
  short fx, fy, lx, ly;
  ASSERT_EQ(s->GetFirstIsoPos(&fx, &fy), 0);
  ASSERT_EQ(s->GetLastIsoPos(&lx, &ly), 0);
  const int mx = (lx > fx) - (lx < fx), my = (ly > fy) - (ly < fy);
  int tiles = 0;
  for (int x = fx, y = fy;; x += mx, y += my) {
    SCOPED_TRACE(testing::Message() << "tile " << x << "/" << y);
    CIsoObjGroup* g = GroupAt(w, x, y);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->GetResID(), 2455);
    EXPECT_EQ(static_cast<int>(g->GetRichtung()) % 2, my != 0 ? 1 : 0);
    CIsoObjGroup* across = GroupAt(w, x + (my != 0), y + (mx != 0));
    ASSERT_NE(across, nullptr);
    EXPECT_TRUE(*across == *g);
    CQnoMicroZelle* l = s->GetMicroZellen(static_cast<unsigned short>(x), static_cast<unsigned short>(y));
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(s->GetMicroZellen(static_cast<unsigned short>(x + (my != 0)), static_cast<unsigned short>(y + (mx != 0))),
              nullptr);
    std::set<std::pair<int, int>> lanes;  // (sim id, lane kind)
    for (int i = 0; i < l->GetCount(); ++i) lanes.insert({l->GetZelle(i)->m_SimID, l->GetZelle(i)->m_LaneKind});
    const std::set<std::pair<int, int>> expected = {
        {s->GetSimID(), 1}, {s->GetSimID(), 2}, {s->GetSimIDSecond(), 1}, {s->GetSimIDSecond(), 2}};
    EXPECT_EQ(lanes, expected);
    ++tiles;
    if (x == lx && y == ly) break;
    ASSERT_LT(tiles, 128);
  }
  EXPECT_EQ(static_cast<int>(Layouts(s->GetMicroZellenGroup()).size()), tiles);
}

TEST(FourLaneStreet, AStreetBetweenTwoEndsIsLaidGroupByGroupWithEndPiecesTurnedAway) {
  {
    World w{GameData{}};
    ASSERT_EQ(w.Build(10, 20, 40, 20, STRASSE_VIERSPURIG), STR_BUILD_OK);
    ExpectJunction(w, 10, 20, 5520, 2);
    ExpectJunction(w, 40, 20, 5520, 0);
    ExpectFourLaneStreet(w, 10, 20, 40, 20);
    ExpectLanesJoined(w);
  }
  // Along y the same, turned, and drawn from its far end.
  World v{GameData{}};
  ASSERT_EQ(v.Build(30, 40, 30, 10, STRASSE_VIERSPURIG), STR_BUILD_OK);
  ExpectJunction(v, 30, 10, 5520, 3);
  ExpectJunction(v, 30, 40, 5520, 1);
  ExpectFourLaneStreet(v, 30, 10, 30, 40);
  ExpectLanesJoined(v);
}

struct Arm {
  int x, y;
  TStrassenType type;
};

struct JunctionCase {
  const char* name;
  Arm main1, main2;        // the street first built through the junction
  std::vector<Arm> arms;   // streets then built from the junction outwards
  int id, rotation;
  int placed = 0;  // the group laid when it is not `id`
};

TEST(FourLaneStreet, CrossingsAndTJunctionsTakeTheGroupOfTheirArmsAndMeetEveryArmsLanes) {
  constexpr TStrassenType F = STRASSE_VIERSPURIG, S = STRASSE_1;
  const JunctionCase cases[] = {
      {"four four-lane arms", {10, 20, F}, {40, 20, F}, {{25, 35, F}, {25, 5, F}}, 7380, 0},
      {"four-lane T towards +y", {10, 20, F}, {40, 20, F}, {{25, 35, F}}, 3994, 0},
      {"four-lane T towards -y", {10, 20, F}, {40, 20, F}, {{25, 5, F}}, 3994, 2},
      {"four-lane T towards +x", {25, 5, F}, {25, 35, F}, {{40, 20, F}}, 3994, 3},
      {"four-lane T towards -x", {25, 5, F}, {25, 35, F}, {{10, 20, F}}, 3994, 1},
      {"a street across the four-lane one", {10, 20, F}, {40, 20, F}, {{25, 35, S}, {25, 5, S}}, 7285, 0},
      {"a street crossing one along y", {25, 5, F}, {25, 35, F}, {{40, 20, S}, {10, 20, S}}, 7285, 3, 7286},
      {"a street leaving towards +y", {10, 20, F}, {40, 20, F}, {{25, 35, S}}, 3488, 0},
      {"a street leaving towards -y", {10, 20, F}, {40, 20, F}, {{25, 5, S}}, 3488, 2, 3489},
      {"a street leaving towards +x", {25, 5, F}, {25, 35, F}, {{40, 20, S}}, 3488, 3, 3489},
      {"a street leaving towards -x", {25, 5, F}, {25, 35, F}, {{10, 20, S}}, 3488, 1},
      {"a four-lane street leaving one along x towards +y", {10, 20, S}, {40, 20, S}, {{25, 35, F}}, 3134, 0},
      {"a four-lane street leaving one along x towards -y", {10, 20, S}, {40, 20, S}, {{25, 5, F}}, 3134, 2, 3135},
      {"a four-lane street leaving one along y towards +x", {25, 5, S}, {25, 35, S}, {{40, 20, F}}, 3134, 3},
      {"a four-lane street leaving one along y towards -x", {25, 5, S}, {25, 35, S}, {{10, 20, F}}, 3134, 1, 3135},
  };
  for (const JunctionCase& c : cases) {
    SCOPED_TRACE(c.name);
    World w{GameData{}};
    ASSERT_EQ(w.Build(c.main1.x, c.main1.y, c.main2.x, c.main2.y, c.main1.type), STR_BUILD_OK);
    for (const Arm& a : c.arms) ASSERT_EQ(w.Build(25, 20, a.x, a.y, a.type), STR_BUILD_OK);
    CIsoRichtung chosen;
    EXPECT_EQ(w.At(25, 20)->GetResID(&chosen), c.id);
    ExpectJunction(w, 25, 20, c.placed ? c.placed : c.id, c.rotation);
    EXPECT_EQ(w.At(25, 20)->GetAnzLinkedStreets(), static_cast<int>(c.arms.size()) + 2);
    for (const Arm& a : {c.main1, c.main2})
      if (a.type == F) ExpectFourLaneStreet(w, 25, 20, a.x, a.y);
    for (const Arm& a : c.arms)
      if (a.type == F) ExpectFourLaneStreet(w, 25, 20, a.x, a.y);
    ExpectLanesJoined(w);
    ExpectConsistent(w);
  }
}

TEST(FourLaneStreet, ABendIsOneGroupThatBothLegsMeet) {
  struct BendCase {
    int x1, y1, x2, y2, rotation;
  };
  // From (20, 20) to each side and then on at a right angle.
  for (const BendCase& b : {BendCase{10, 20, 20, 30, 1}, BendCase{30, 20, 20, 30, 0}, BendCase{30, 20, 20, 10, 3},
                            BendCase{10, 20, 20, 10, 2}}) {
    SCOPED_TRACE(testing::Message() << "bend from " << b.x1 << "/" << b.y1 << " to " << b.x2 << "/" << b.y2);
    World w{GameData{}};
    ASSERT_EQ(w.Build(b.x1, b.y1, 20, 20, STRASSE_VIERSPURIG), STR_BUILD_OK);
    ASSERT_EQ(w.Build(20, 20, b.x2, b.y2, STRASSE_VIERSPURIG), STR_BUILD_OK);
    EXPECT_EQ(w.At(20, 20), nullptr);  // one street with a bend
    ASSERT_EQ(w.Streets().size(), 1u);
    CIsoObjGroup* g = GroupAt(w, 20, 20);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->GetResID(), 2591);
    EXPECT_EQ(static_cast<int>(g->GetRichtung()), b.rotation);
    // One layout for the bend's group, none for the cells it covers.
    CStrStrasse* s = w.Streets()[0];
    int held = 0;
    for (int x = 20; x < 22; ++x)
      for (int y = 20; y < 22; ++y)
        held += s->GetMicroZellen(static_cast<unsigned short>(x), static_cast<unsigned short>(y)) != nullptr;
    EXPECT_EQ(held, 1);
    ExpectLanesJoined(w);
  }
}

}  // namespace

namespace {

// A river two tiles wide along y at x = 20 and 21, and a street across it
// along x: the bridge's pieces lie on the water tiles, each with its cells,
// and the lanes run on over the bridge.
void ExpectBridge(TStrassenType type, int head, int deck, int tail, int lanes) {
  SCOPED_TRACE(testing::Message() << "street type " << static_cast<int>(type));
  World w{GameData{}};
  std::vector<std::unique_ptr<CRiverObject>> river;
  for (int y = 5; y < 40; ++y)
    for (int x : {20, 21, 22}) {
      river.push_back(std::make_unique<CRiverObject>());
      river.back()->Create(static_cast<uint16_t>(x), static_cast<uint16_t>(y), CIsoRichtung(0), 38398);
      w.map->SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(0), 38398, river.back().get());
    }
  ASSERT_EQ(w.Build(10, 20, 30, 20, type), STR_BUILD_OK);
  CStrStrasse* s = w.StreetBetween(10, 20, 30, 20);
  ASSERT_NE(s, nullptr);
  const int expected[] = {head, deck, tail};
  for (int x = 20; x <= 22; ++x) {
    SCOPED_TRACE(testing::Message() << "tile " << x);
    EXPECT_EQ(w.GroundType(x, 20), OBJ_STREET_PIECE);
    CIsoObjGroup* g = GroupAt(w, x, 20);
    EXPECT_EQ(g ? g->GetResID() : w.GroundRes(x, 20), expected[x - 20]);
    CQnoMicroZelle* l = s->GetMicroZellen(static_cast<unsigned short>(x), 20);
    ASSERT_NE(l, nullptr);
    std::set<int> ids;
    for (int i = 0; i < l->GetCount(); ++i) ids.insert(l->GetZelle(i)->m_SimID);
    EXPECT_EQ(ids, (std::set<int>{s->GetSimID(), s->GetSimIDSecond()}));
    // Each lane of the bridge goes on to the tile after it.
    int out = 0;
    for (int i = 0; i < l->GetCount(); ++i)
      for (int k = 0; k < l->GetZelle(i)->m_AnzNachfolger; ++k) {
        const Cell* n = l->GetZelle(i)->m_pNachfolger[k];
        out += n && n->m_pOwner != l;
      }
    EXPECT_EQ(out, lanes);
  }
  ExpectLanesJoined(w);
  w.net->Destroy();
}

// A street or track deleted again leaves nothing of it on the map: every
// cell of its two rows and of its bend's group shows plain ground.
TEST(FourLaneStreet, ADeletedStreetOrTrackWithABendLeavesPlainGroundOnBothRows) {
  struct BendCase {
    int x1, y1, x2, y2;
  };
  for (TStrassenType type : {STRASSE_VIERSPURIG, STRASSE_SCHIENE})
    for (const BendCase& b : {BendCase{10, 20, 20, 30}, BendCase{30, 20, 20, 30}, BendCase{30, 20, 20, 10},
                              BendCase{10, 20, 20, 10}}) {
      SCOPED_TRACE(testing::Message() << "type " << static_cast<int>(type) << " bend from " << b.x1 << "/" << b.y1
                                      << " to " << b.x2 << "/" << b.y2);
      World w{GameData{}};
      CStrJunctionList* net = w.net.get();
      std::unique_ptr<CStrSchJuncList> rails;
      if (type == STRASSE_SCHIENE) {
        rails = std::make_unique<CStrSchJuncList>(w.map, w.sim.get());
        rails->Create();
        w.net->SetRailNet(rails.get());
        net = rails.get();
      }
      for (const CStrBuildLine& line : {CStrBuildLine(static_cast<short>(b.x1), static_cast<short>(b.y1), 20, 20),
                                        CStrBuildLine(20, 20, static_cast<short>(b.x2), static_cast<short>(b.y2))}) {
        CStrBuildLine l = line;
        ASSERT_EQ(net->CreateStreet(&l, type), STR_BUILD_OK);
      }
      CStrJunction* end = net->FindJunctionAt(static_cast<short>(b.x1), static_cast<short>(b.y1));
      ASSERT_NE(end, nullptr);
      ASSERT_EQ(end->GetAnzLinkedStreets(), 1);
      ASSERT_EQ(net->DeleteStreet(end->GetStreetByNR(0)), 0);
      EXPECT_EQ(net->GetNumber(), 0u);
      for (int x = 5; x <= 35; ++x)
        for (int y = 5; y <= 35; ++y) {
          EXPECT_EQ(w.map->GetIsoInfo(x, y)->GetGroupObj(ISO_LAYER_GROUND), nullptr) << x << "/" << y;
          EXPECT_LE(w.GroundType(x, y), OBJ_GROUND) << x << "/" << y;
        }
      if (rails) {
        w.net->SetRailNet(nullptr);
        rails->Destroy();
      }
    }
}

TEST(FourLaneStreet, BridgesCarryTheLanesOfOneTileAndFourLaneStreets) {
  ExpectBridge(STRASSE_1, 42427, 42426, 42425, 2);
  ExpectBridge(STRASSE_VIERSPURIG, 42458, 42457, 42441, 4);
}

}  // namespace

namespace {

// The bus-lane layers merged onto a cell, with their directions.
std::multiset<std::pair<int, int>> BusLayers(World& w, int x, int y) {
  std::multiset<std::pair<int, int>> out;
  CIsoObjLst* objects = w.map->GetIsoInfo(x, y)->GetIsoObjects(ISO_LAYER_GROUND);
  for (CZorvaObject* o = objects ? objects->GetHead() : nullptr; o; o = o->GetNext()) {
    auto* object = static_cast<CIsoObject*>(o);
    const int id = object->GetResID();
    if (id == 31243 || id == 31245 || id == 31251 || id == 31922 || id == 31923)
      out.insert({id, static_cast<int>(object->GetRichtungsValue())});
  }
  return out;
}

using Layers = std::multiset<std::pair<int, int>>;

TEST(FourLaneStreet, ABusLaneLiesOnTheOuterLaneOfEachHalfAndGoesAgain) {
  struct Case {
    int x1, y1, x2, y2;
    int nearDir, farDir;  // of the layer along the tiles
  };
  // Along x the near half is the tile of smaller y; along y that of smaller x.
  for (const Case& c : {Case{10, 20, 40, 20, 0, 2}, Case{40, 20, 10, 20, 0, 2}, Case{30, 40, 30, 10, 3, 1},
                        Case{30, 10, 30, 40, 3, 1}}) {
    SCOPED_TRACE(testing::Message() << "street " << c.x1 << "/" << c.y1 << " - " << c.x2 << "/" << c.y2);
    World w{GameData{}};
    ASSERT_EQ(w.Build(c.x1, c.y1, c.x2, c.y2, STRASSE_VIERSPURIG), STR_BUILD_OK);
    CStrStrasse* s = w.Streets()[0];
    ASSERT_EQ(s->CreateBusSpur(), 0);
    EXPECT_TRUE(s->HasBusSpur());
    EXPECT_EQ(s->CreateBusSpur(), 1);
    short fx, fy, lx, ly;
    s->GetFirstIsoPos(&fx, &fy);
    s->GetLastIsoPos(&lx, &ly);
    const int mx = (lx > fx) - (lx < fx), my = (ly > fy) - (ly < fy);
    const int ax = my != 0, ay = mx != 0;
    const int d = mx > 0 ? 0 : mx < 0 ? 2 : my > 0 ? 1 : 3;
    int along = 0;
    for (int x = fx + mx, y = fy + my; x != lx || y != ly; x += mx, y += my, ++along) {
      SCOPED_TRACE(testing::Message() << "tile " << x << "/" << y);
      EXPECT_EQ(BusLayers(w, x, y), (Layers{{31243, c.nearDir}}));
      EXPECT_EQ(BusLayers(w, x + ax, y + ay), (Layers{{31243, c.farDir}}));
    }
    EXPECT_EQ(along, 26);
    // The end pieces lie in the street's direction, the near and the far
    // half's picture on the tile where that half lies.
    const bool turned = d == 1 || d == 2;
    EXPECT_EQ(BusLayers(w, fx, fy), (Layers{{turned ? 31923 : 31922, d}}));
    EXPECT_EQ(BusLayers(w, fx + ax, fy + ay), (Layers{{turned ? 31922 : 31923, d}}));
    EXPECT_EQ(BusLayers(w, lx, ly), (Layers{{turned ? 31251 : 31245, d}}));
    EXPECT_EQ(BusLayers(w, lx + ax, ly + ay), (Layers{{turned ? 31245 : 31251, d}}));
    // Nothing on the junctions' cells.
    EXPECT_TRUE(BusLayers(w, fx - mx, fy - my).empty());
    EXPECT_TRUE(BusLayers(w, lx + mx, ly + my).empty());
    ASSERT_EQ(s->DeleteBusSpur(), 0);
    EXPECT_FALSE(s->HasBusSpur());
    for (int x = fx, y = fy;; x += mx, y += my) {
      EXPECT_TRUE(BusLayers(w, x, y).empty()) << x << "/" << y;
      EXPECT_TRUE(BusLayers(w, x + ax, y + ay).empty()) << x << "/" << y;
      if (x == lx && y == ly) break;
    }
  }
}

TEST(FourLaneStreet, ABusLaneRunsRoundABendAndIsDrawnAgainWhenTheStreetIsRedrawn) {
  zortest::ByteList saved;
  {
    World w{GameData{}};
    ASSERT_EQ(w.Build(10, 20, 20, 20, STRASSE_VIERSPURIG), STR_BUILD_OK);
    ASSERT_EQ(w.Build(20, 20, 20, 30, STRASSE_VIERSPURIG), STR_BUILD_OK);
    CStrStrasse* s = w.Streets()[0];
    ASSERT_EQ(s->CreateBusSpur(), 0);
    // Along x up to the tile before the bend's group, along y from the tile
    // after it.
    EXPECT_EQ(BusLayers(w, 19, 20), (Layers{{31243, 0}}));
    EXPECT_EQ(BusLayers(w, 19, 21), (Layers{{31243, 2}}));
    for (int x = 20; x < 22; ++x)
      for (int y = 20; y < 22; ++y) EXPECT_TRUE(BusLayers(w, x, y).empty()) << x << "/" << y;
    EXPECT_EQ(BusLayers(w, 20, 22), (Layers{{31243, 3}}));
    EXPECT_EQ(BusLayers(w, 21, 22), (Layers{{31243, 1}}));
    // Redrawn, the street has lost its layers until the network's update.
    s->RemoveFromIsoWelt(false);
    s->InsertIntoIsoWelt();
    EXPECT_TRUE(BusLayers(w, 19, 20).empty());
    EXPECT_FALSE(s->IsBusSpurDrawn());
    s->UpdateChanges();
    EXPECT_TRUE(s->IsBusSpurDrawn());
    EXPECT_EQ(BusLayers(w, 19, 20), (Layers{{31243, 0}}));
    EXPECT_EQ(BusLayers(w, 20, 23), (Layers{{31243, 3}}));
    zortest::RecordFile f;
    ASSERT_EQ(w.net->SerializeGameStore(f.f()), 0);
    saved = f.Bytes();
  }
  // A saved game shows the lane again once it is loaded.
  World w{GameData{}};
  zortest::RecordFile f(saved);
  g_ZorLoadVersion = 240;
  const int loaded = w.net->SerializeGameLoad(f.f());
  g_ZorLoadVersion = 0;
  ASSERT_EQ(loaded, 0);
  ASSERT_EQ(w.Streets().size(), 1u);
  EXPECT_TRUE(w.Streets()[0]->IsBusSpurDrawn());
  EXPECT_EQ(BusLayers(w, 19, 21), (Layers{{31243, 2}}));
  EXPECT_EQ(BusLayers(w, 21, 22), (Layers{{31243, 1}}));
}

}  // namespace

namespace {

TEST(FourLaneStreet, BothHalvesOfASplitStreetKeepTheBusLane) {
  World w{GameData{}};
  ASSERT_EQ(w.Build(10, 20, 40, 20, STRASSE_VIERSPURIG), STR_BUILD_OK);
  ASSERT_EQ(w.Streets()[0]->CreateBusSpur(), 0);
  // A street ending on the avenue makes a T junction there.
  ASSERT_EQ(w.Build(25, 35, 25, 20, STRASSE_1), STR_BUILD_OK);
  for (auto [x1, x2] : {std::pair{10, 25}, std::pair{25, 40}}) {
    SCOPED_TRACE(testing::Message() << "half " << x1 << " - " << x2);
    CStrStrasse* half = w.StreetBetween(x1, 20, x2, 20);
    ASSERT_NE(half, nullptr);
    EXPECT_TRUE(half->HasBusSpur());
    EXPECT_TRUE(half->IsBusSpurDrawn());
    short fx, fy;
    half->GetFirstIsoPos(&fx, &fy);
    EXPECT_EQ(BusLayers(w, fx + 1, 20), (Layers{{31243, 0}}));
    EXPECT_EQ(BusLayers(w, fx + 1, 21), (Layers{{31243, 2}}));
  }
  // The street across has none.
  CStrStrasse* side = w.StreetBetween(25, 20, 25, 35);
  ASSERT_NE(side, nullptr);
  EXPECT_FALSE(side->HasBusSpur());
  EXPECT_TRUE(BusLayers(w, 25, 30).empty());
}

}  // namespace

namespace {

// A bus lane round a bend, whichever way the street turns and runs: every
// tile of both legs between the end pieces and the bend's group carries
// the lane on both of its columns, the bend's group none, and the count of
// lane tiles is the same for all eight shapes.
TEST(FourLaneStreet, ABusLaneRoundABendCoversBothLegsForEveryTurn) {
  struct Shape {
    int x1, y1, x2, y2, x3, y3;
  };
  std::set<int> counts;
  for (const Shape& c : {Shape{10, 20, 20, 20, 20, 30}, Shape{30, 20, 20, 20, 20, 30}, Shape{10, 30, 20, 30, 20, 20},
                         Shape{30, 30, 20, 30, 20, 20}, Shape{20, 30, 20, 20, 10, 20}, Shape{20, 30, 20, 20, 30, 20},
                         Shape{20, 10, 20, 20, 10, 20}, Shape{20, 10, 20, 20, 30, 20}}) {
    SCOPED_TRACE(testing::Message() << c.x1 << "/" << c.y1 << " - " << c.x2 << "/" << c.y2 << " - " << c.x3 << "/"
                                    << c.y3);
    World w{GameData{}};
    ASSERT_EQ(w.Build(c.x1, c.y1, c.x2, c.y2, STRASSE_VIERSPURIG), STR_BUILD_OK);
    ASSERT_EQ(w.Build(c.x2, c.y2, c.x3, c.y3, STRASSE_VIERSPURIG), STR_BUILD_OK);
    ASSERT_EQ(w.Streets().size(), 1u);
    CStrStrasse* s = w.Streets()[0];
    ASSERT_EQ(s->CreateBusSpur(), 0);
    CIsoObjGroup* bend = GroupAt(w, c.x2, c.y2);
    ASSERT_NE(bend, nullptr);
    int lanes = 0;
    for (int x = 0; x < 50; ++x)
      for (int y = 0; y < 50; ++y) {
        const Layers here = BusLayers(w, x, y);
        if (GroupAt(w, x, y) == bend) {
          EXPECT_TRUE(here.empty()) << x << "/" << y;
        }
        lanes += static_cast<int>(here.count({31243, 0}) + here.count({31243, 1}) + here.count({31243, 2}) +
                                  here.count({31243, 3}));
        EXPECT_LE(here.size(), 1u) << x << "/" << y;
      }
    counts.insert(lanes);
    // The tiles next to the bend's group on both legs carry the lane.
    for (auto [lx, ly] : {std::pair{c.x1, c.y1}, std::pair{c.x3, c.y3}}) {
      const int mx = (lx > c.x2) - (lx < c.x2), my = (ly > c.y2) - (ly < c.y2);
      // The group reaches one cell further towards +x and +y.
      const int step = mx > 0 || my > 0 ? 2 : 1;
      const int tx = c.x2 + step * mx, ty = c.y2 + step * my;
      const int bx = c.x2 + (mx != 0 ? step * mx : 1), by = c.y2 + (my != 0 ? step * my : 1);
      EXPECT_EQ(BusLayers(w, tx, ty).count({31243, mx != 0 ? 0 : 3}) + BusLayers(w, tx, ty).count({31243, mx != 0 ? 2 : 1}), 1u)
          << "tile " << tx << "/" << ty;
      EXPECT_EQ(BusLayers(w, bx, by).size(), 1u) << "tile " << bx << "/" << by;
    }
  }
  EXPECT_EQ(counts.size(), 1u);
}

}  // namespace
