// The cells of the streets' layouts in the micro view stand at their tile's
// screen anchor plus their offset after the view scrolled, turned and
// zoomed, with cars on them and after a street with cars went; the trains'
// layouts stand where they were laid. A turn, a zoom or a new screen mode
// makes and places each layout once, and the picture with cars on the
// streets is the one of layouts laid afresh at that view.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "iso/iso_object.h"
#include "iso/iso_scene.h"
#include "microsim/micro_car.h"
#include "microsim/micro_cells.h"
#include "network/rail_junction.h"
#include "network/rail_junction_list.h"
#include "network/rail_track.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "world/map_fixture.h"

namespace {

using namespace maptest;
using Cell = BinaryMicroSimObject;

struct MicroViewTest : MapFixture<CZorvaWorld> {
  void SetUp() override {
    MapFixture::SetUp();
    g_IsoRichtung = 0;
    g_ZoomStufe = ISO_ZOOM_2;
    map->SetIsoCenter(64, 64);
    map->RefreshAfterModeChange();
  }
  void TearDown() override {
    g_IsoRichtung = 0;
    g_ZoomStufe = ISO_ZOOM_2;
    MapFixture::TearDown();
  }
  std::pair<int, int> Anchor(int x, int y) {
    int sx = 0, sy = 0;
    map->FixeIsoKoorCalc(static_cast<unsigned short>(x), static_cast<unsigned short>(y), sx, sy);
    map->FixeGroupRichtung(static_cast<unsigned short>(x), static_cast<unsigned short>(y), sx, sy);
    return {sx, sy};
  }
};

// Every layout of the street and junction tiles near the centre, by tile.
std::map<std::pair<int, int>, CQnoMicroZelle*> Layouts(CIsoWelt* map) {
  std::map<std::pair<int, int>, CQnoMicroZelle*> layouts;
  for (int x = 58; x <= 70; ++x)
    for (int y = 58; y <= 70; ++y)
      if (auto* road = dynamic_cast<CRoadObj*>(map->GetIsoTileObject(x, y, ISO_LAYER_GROUND)))
        if (CQnoMicroZelle* l = road->GetMicroZelle(static_cast<unsigned short>(x), static_cast<unsigned short>(y)))
          layouts[{x, y}] = l;
  return layouts;
}

TEST_F(MicroViewTest, StreetCellsStandAtTheirAnchorAfterScrollTurnAndZoomWithCarsOnThem) {
  CStrJunctionList* net = world->GetStreetNet();
  auto build = [&](int x1, int y1, int x2, int y2) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    return net->CreateStreet(&line, STRASSE_1);
  };
  ASSERT_EQ(build(60, 64, 64, 64), STR_BUILD_OK);
  ASSERT_EQ(build(64, 64, 68, 64), STR_BUILD_OK);
  ASSERT_EQ(build(64, 60, 64, 64), STR_BUILD_OK);
  ASSERT_EQ(build(64, 64, 64, 68), STR_BUILD_OK);
  map->Update();
  auto checkCells = [&](const char* what) {
    const auto layouts = Layouts(map);
    EXPECT_GT(layouts.size(), 10u) << what;
    for (const auto& [at, l] : layouts) {
      const auto [ax, ay] = Anchor(at.first, at.second);
      for (int i = 0; i < l->GetCount(); ++i) {
        const Cell* c = l->GetZelle(i);
        ASSERT_EQ(c->m_ScreenX, ax + c->m_XOffset) << what << " at " << at.first << "/" << at.second << " cell " << i;
        ASSERT_EQ(c->m_ScreenY, ay + c->m_YOffset) << what << " at " << at.first << "/" << at.second << " cell " << i;
      }
    }
  };
  // A car in the first cell of every layout that can take one.
  auto park = [&] {
    int parked = 0;
    for (const auto& [at, l] : Layouts(map)) {
      Cell* c = l->GetZelle(0);
      if (!CQnoMicroZelle::GetVirtNext(c) || c->m_pCar) continue;
      c->m_Choice = 0;
      parked += l->SetzeFahrzeug(c, new CCar, 0, false, false, false) == 0;
    }
    return parked;
  };
  checkCells("built");
  const int parked = park();
  ASSERT_GT(parked, 5);
  auto cars = [&] {
    int n = 0;
    for (const auto& [at, l] : Layouts(map)) n += l->GetVehicleCount();
    return n;
  };
  ASSERT_EQ(cars(), parked);

  // Scrolled: the cars stay in their cells, which moved with the view.
  map->SetPixelOffset(map->GetPixelOffsetX() + 7, map->GetPixelOffsetY() + 4);
  map->UpdateMicroSim();
  checkCells("scrolled");
  EXPECT_EQ(cars(), parked);
  map->UpdateMicroSim();
  checkCells("placed again");

  // Turned and zoomed: the layouts are made anew for the view.
  for (int turn = 0; turn < 4; ++turn) {
    park();
    map->UserIntTurnRight();
    checkCells("turned");
  }
  park();
  map->UserIntZoomOut();
  checkCells("zoomed out");
  map->UserIntZoomIn();
  checkCells("zoomed in");

  // A street with cars on it goes; the rest is placed as the view moves.
  park();
  CStrStrasse* gone = nullptr;
  for (CZorvaObject* o = net->GetHead(); o && !gone; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    for (int i = 0; i < j->GetAnzLinkedStreets() && !gone; ++i)
      if (j->GetStreetByNR(i)->GetMicroZellenGroup()) gone = j->GetStreetByNR(i);
  }
  ASSERT_NE(gone, nullptr);
  const size_t before = Layouts(map).size();
  EXPECT_EQ(net->DeleteStreet(gone), 0);
  EXPECT_LT(Layouts(map).size(), before);
  map->SetPixelOffset(map->GetPixelOffsetX() - 11, map->GetPixelOffsetY() + 2);
  map->UpdateMicroSim();
  checkCells("after a street went");
}

// The trains' cells: where a track, its bends, a rail junction or a level
// crossing lays its layouts is where the map places them again as the view
// scrolls, in every rotation and zoom, and the layouts of neighbouring tiles
// meet there, the streets' beside a level crossing too.
struct RailViewTest : MicroViewTest {
  int Track(int x1, int y1, int x2, int y2) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    return world->GetRailNet()->CreateStreet(&line, STRASSE_SCHIENE);
  }
  int Street(int x1, int y1, int x2, int y2) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    return world->GetStreetNet()->CreateStreet(&line, STRASSE_1);
  }
  // The groups on the ground of the scene's cells: (picture, direction).
  std::set<std::pair<int, int>> Groups() {
    std::set<std::pair<int, int>> seen;
    for (int x = 50; x < 80; ++x)
      for (int y = 50; y < 80; ++y)
        if (const CIsoObjGroup* g = map->GetGroupAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                                    ISO_LAYER_GROUND))
          seen.insert({g->GetResID(), g->GetRichtung()});
    return seen;
  }
  bool HasGroup(int resId) {
    const auto groups = Groups();
    return std::any_of(groups.begin(), groups.end(), [&](const auto& g) { return g.first == resId; });
  }
  // Every layout of the rail network (its tracks carry the level
  // crossings' layouts), and with the streets' too.
  std::vector<CQnoMicroZelle*> Layouts(bool streets = true) {
    std::set<CMicroZellenGroup*> groups;
    std::vector<CStrJunctionList*> nets{world->GetRailNet()};
    if (streets) nets.push_back(world->GetStreetNet());
    for (CStrJunctionList* net : nets)
      for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) {
        auto* j = static_cast<CStrJunction*>(o);
        groups.insert(j->GetMicroZellen());
        for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) groups.insert(j->GetStreetByNR(i)->GetMicroZellenGroup());
      }
    std::vector<CQnoMicroZelle*> out;
    for (CMicroZellenGroup* g : groups)
      for (auto* m = g ? g->GetFirst() : nullptr; m; m = m->pNext)
        if (m->pZelle) out.push_back(m->pZelle);
    return out;
  }
  using Positions = std::map<const Cell*, std::pair<int, int>>;
  Positions Where() {
    Positions at;
    for (CQnoMicroZelle* l : Layouts())
      for (int i = 0; i < l->GetCount(); ++i) at[l->GetZelle(i)] = {l->GetZelle(i)->m_ScreenX, l->GetZelle(i)->m_ScreenY};
    return at;
  }
  // Every link from one layout of the rail network into another spans no
  // more than the longest step between two cells of one layout.
  void ExpectLayoutsMeet(const char* what, bool carried) {
    double inside = 0, across = 0;
    int joins = 0;
    const Cell* worst = nullptr;
    const std::vector<CQnoMicroZelle*> rail = Layouts(false);
    for (CQnoMicroZelle* l : rail)
      for (int i = 0; i < l->GetCount(); ++i) {
        const Cell* c = l->GetZelle(i);
        for (int k = 0; k < c->m_AnzNachfolger && k < Cell::kLinks; ++k) {
          const Cell* n = c->m_pNachfolger[k];
          if (!n || std::find(rail.begin(), rail.end(), n->m_pOwner) == rail.end()) continue;
          const double d = std::hypot(n->m_ScreenX - c->m_ScreenX, n->m_ScreenY - c->m_ScreenY);
          if (n->m_pOwner == l) {
            inside = std::max(inside, d);
          } else {
            ++joins;
            if (d > across) across = d, worst = c;
          }
        }
      }
    if (carried) {
      EXPECT_GT(joins, 10) << what;
    }
    EXPECT_LE(across, inside + 1.0) << what << ": a join of " << across << " pixels from the cell at "
                                    << (worst ? worst->m_ScreenX : 0) << "/" << (worst ? worst->m_ScreenY : 0);
  }
  // The layouts of the streets on the tiles beside a level crossing (one
  // tile away, either axis), with their tiles.
  std::map<CQnoMicroZelle*, std::pair<int, int>> StreetLayoutsBesideCrossings() {
    std::map<CQnoMicroZelle*, std::pair<int, int>> out;
    CStrSchJuncList* rails = world->GetRailNet();
    auto nearCrossing = [&](int x, int y) {
      for (int cx = x - 1; cx <= x + 1; ++cx)
        for (int cy = y - 1; cy <= y + 1; ++cy)
          if (rails->HasGrdCrossingAt(static_cast<short>(cx), static_cast<short>(cy))) return true;
      return false;
    };
    auto add = [&](CMicroZellenGroup* g) {
      for (auto* m = g ? g->GetFirst() : nullptr; m; m = m->pNext) {
        const int x = static_cast<uint16_t>(g->GetX() + m->dx), y = static_cast<uint16_t>(g->GetY() + m->dy);
        if (m->pZelle && !rails->HasGrdCrossingAt(static_cast<short>(x), static_cast<short>(y)) && nearCrossing(x, y))
          out[m->pZelle] = {x, y};
      }
    };
    for (CZorvaObject* o = world->GetStreetNet()->GetHead(); o; o = o->GetNext()) {
      auto* j = static_cast<CStrJunction*>(o);
      add(j->GetMicroZellen());
      for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) add(j->GetStreetByNR(i)->GetMicroZellenGroup());
    }
    return out;
  }
  // How many street layouts beside the crossings a scene has at least at
  // the levels whose art carries layouts.
  size_t minBeside = 4;
  // Every link into or out of a street's layout beside a level crossing,
  // from the street's tile before it or from the crossing's layout, spans
  // no more than the longest step inside one of those layouts or the
  // rail network's: a car does not jump there.
  void ExpectStreetJoinsBesideCrossings(const char* what, bool carried) {
    const auto beside = StreetLayoutsBesideCrossings();
    if (carried) {
      ASSERT_GE(beside.size(), minBeside) << what;
    }
    double inside = 0, across = 0;
    int joins = 0;
    std::pair<int, int> worst{0, 0};
    for (CQnoMicroZelle* l : Layouts())
      for (int i = 0; i < l->GetCount(); ++i) {
        const Cell* c = l->GetZelle(i);
        for (int k = 0; k < c->m_AnzNachfolger && k < Cell::kLinks; ++k) {
          const Cell* n = c->m_pNachfolger[k];
          if (!n) continue;
          const auto from = beside.find(l), to = beside.find(n->m_pOwner);
          if (from == beside.end() && to == beside.end()) continue;
          const double d = std::hypot(n->m_ScreenX - c->m_ScreenX, n->m_ScreenY - c->m_ScreenY);
          if (n->m_pOwner == l) {
            inside = std::max(inside, d);
          } else {
            ++joins;
            if (d > across) across = d, worst = (to != beside.end() ? to : from)->second;
          }
        }
      }
    for (CQnoMicroZelle* l : Layouts(false))
      for (int i = 0; i < l->GetCount(); ++i) {
        const Cell* c = l->GetZelle(i);
        for (int k = 0; k < c->m_AnzNachfolger && k < Cell::kLinks; ++k)
          if (const Cell* n = c->m_pNachfolger[k]; n && n->m_pOwner == l)
            inside = std::max(inside, std::hypot(n->m_ScreenX - c->m_ScreenX, n->m_ScreenY - c->m_ScreenY));
      }
    if (carried) {
      EXPECT_GE(joins, 8) << what;
    }
    EXPECT_LE(across, inside + 1.0) << what << ": a join of " << across << " pixels at the street's tile "
                                    << worst.first << "/" << worst.second;
  }
  // The layouts as laid for the view stay where they are when the map
  // places them again, and follow a scroll pixel for pixel.
  void ExpectCellsStayPut(const char* what, bool carried) {
    const Positions laid = Where();
    if (carried) {
      ASSERT_GT(laid.size(), 50u) << what;
    }
    map->UpdateMicroSim();
    const Positions again = Where();
    int moved = 0;
    for (const auto& [c, p] : laid) moved += again.at(c) != p;
    EXPECT_EQ(moved, 0) << what << ": cells moved by placing them again";
    const int dx = 5, dy = -3;
    map->SetPixelOffset(map->GetPixelOffsetX() + dx, map->GetPixelOffsetY() + dy);
    map->UpdateMicroSim();
    const Positions scrolled = Where();
    int followed = 0;
    for (const auto& [c, p] : laid)
      followed += scrolled.at(c) == std::make_pair(p.first + dx, p.second + dy);
    EXPECT_EQ(followed, static_cast<int>(laid.size())) << what << ": cells that followed the scroll";
    map->SetPixelOffset(map->GetPixelOffsetX() - dx, map->GetPixelOffsetY() - dy);
    map->UpdateMicroSim();
  }
  // Every rotation at every zoom level, the layouts laid anew for each;
  // with streets across the tracks, the streets' joins beside the crossings.
  void ExpectEveryView(bool streetsCross = false) {
    for (TIsoZoomStufe zoom : {ISO_ZOOM_1, ISO_ZOOM_2, ISO_ZOOM_4}) {
      while (g_ZoomStufe > zoom) map->UserIntZoomOut();
      while (g_ZoomStufe < zoom) map->UserIntZoomIn();
      ASSERT_EQ(g_ZoomStufe, zoom);
      // The art carries layouts at the two nearer levels only.
      const bool carried = zoom != ISO_ZOOM_4;
      for (int turn = 0; turn < 4; ++turn) {
        map->UserIntTurnRight();
        SCOPED_TRACE(testing::Message() << "zoom " << zoom << " rotation " << g_IsoRichtung);
        ExpectLayoutsMeet("laid", carried);
        if (streetsCross) ExpectStreetJoinsBesideCrossings("laid", carried);
        ExpectCellsStayPut("laid", carried);
        ExpectLayoutsMeet("placed again", carried);
        if (streetsCross) ExpectStreetJoinsBesideCrossings("placed again", carried);
      }
    }
  }
};

TEST_F(RailViewTest, StraightTrackLaidTowardsEveryDirection) {
  // A new track joins the network: one line round three corners.
  ASSERT_EQ(Track(58, 60, 70, 60), STR_BUILD_OK);
  ASSERT_EQ(Track(70, 60, 70, 68), STR_BUILD_OK);
  ASSERT_EQ(Track(70, 68, 58, 68), STR_BUILD_OK);
  ASSERT_EQ(Track(58, 68, 58, 63), STR_BUILD_OK);
  for (int direction = 0; direction < 4; ++direction)
    ASSERT_TRUE(Groups().count({CStrSchienen::kStraightResID, direction})) << direction;
  ExpectEveryView();
}

TEST_F(RailViewTest, BendsAndAThreeTrackJunction) {
  ASSERT_EQ(Track(59, 69, 59, 59), STR_BUILD_OK);
  ASSERT_EQ(Track(59, 59, 69, 59), STR_BUILD_OK);
  ASSERT_EQ(Track(69, 59, 69, 69), STR_BUILD_OK);
  ASSERT_EQ(Track(64, 59, 64, 69), STR_BUILD_OK);
  ASSERT_TRUE(HasGroup(CStrSchienen::kCurveResID));
  ASSERT_TRUE(HasGroup(CStrSchJunction::kTResID));
  ExpectEveryView();
}

// Tracks laid either way across a street running along x = 64 from y 57
// to `streetEnd`, and across a second one from 64/65 to 56/65: five cells
// from the T junction at the track's low end, which may later turn into a
// bend that a nearer crossing would touch.
void BuildLevelCrossings(RailViewTest& t, int streetEnd) {
  ASSERT_EQ(t.Street(64, 57, 64, streetEnd), STR_BUILD_OK);
  ASSERT_EQ(t.Street(64, 65, 56, 65), STR_BUILD_OK);
  ASSERT_EQ(t.Track(55, 60, 70, 60), STR_BUILD_OK);
  ASSERT_EQ(t.Track(70, 60, 70, 69), STR_BUILD_OK);
  ASSERT_EQ(t.Track(70, 69, 55, 69), STR_BUILD_OK);
  ASSERT_EQ(t.Track(58, 69, 58, 60), STR_BUILD_OK);
  // A crossing near each place where a track runs over a street.
  auto crossingNear = [&](int x, int y) {
    for (int cx = x - 1; cx <= x + 1; ++cx)
      for (int cy = y - 1; cy <= y + 1; ++cy)
        if (t.world->GetRailNet()->HasGrdCrossingAt(static_cast<short>(cx), static_cast<short>(cy))) return true;
    return false;
  };
  ASSERT_TRUE(crossingNear(64, 60));
  ASSERT_TRUE(crossingNear(64, 69));
  ASSERT_TRUE(crossingNear(58, 65));
}

TEST_F(RailViewTest, LevelCrossingsOfTracksLaidEitherWay) {
  ASSERT_NO_FATAL_FAILURE(BuildLevelCrossings(*this, 75));
  ExpectEveryView(true);
}

// The street's dead end three cells past the crossing at y 69: its one
// tile between them leads into the crossing and into the dead end.
TEST_F(RailViewTest, LevelCrossingWithADeadEndThreeCellsPast) {
  ASSERT_NO_FATAL_FAILURE(BuildLevelCrossings(*this, 72));
  ExpectEveryView(true);
}

// A street that ends in a dead end a few cells past a level crossing: the
// street's tile between the crossing and the dead end leads into both, and
// its lanes meet theirs however the view is turned or zoomed. The crossing
// covers the track's cell and the one after it towards +x or +y, so a dead
// end two cells past it that way would stand right beside it.
struct DeadEndPastCrossing {
  int dx, dy;  // the way the street runs from the track to its dead end
  int past;    // cells from the track to the dead end
};

struct DeadEndPastCrossingTest : RailViewTest, testing::WithParamInterface<DeadEndPastCrossing> {};

TEST_P(DeadEndPastCrossingTest, StreetTileBesideTheCrossingJoinsBothNeighbours) {
  const auto [dx, dy, past] = GetParam();
  // The track runs across the street's line at 64/64; the street comes
  // from eight cells before it.
  const int ax = dx != 0 ? 0 : 1, ay = 1 - ax;
  ASSERT_EQ(Track(64 - 8 * ax, 64 - 8 * ay, 64 + 8 * ax, 64 + 8 * ay), STR_BUILD_OK);
  const short x1 = static_cast<short>(64 - 8 * dx), y1 = static_cast<short>(64 - 8 * dy);
  const short x2 = static_cast<short>(64 + past * dx), y2 = static_cast<short>(64 + past * dy);
  const bool besideCrossing = past == 2 && dx + dy > 0;
  // The preview asks the rail network what the drag would build.
  EXPECT_EQ(world->GetRailNet()->CheckStreetDrag(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2),
                                                 std::max(y1, y2), STRASSE_1),
            besideCrossing ? STR_BUILD_NO_ROOM : 0);
  const int built = Street(x1, y1, x2, y2);
  if (besideCrossing) {
    EXPECT_EQ(built, STR_BUILD_NO_ROOM);
    EXPECT_FALSE(world->GetRailNet()->HasGrdCrossingAt(64, 64));
    return;
  }
  ASSERT_EQ(built, STR_BUILD_OK);
  ASSERT_TRUE(world->GetRailNet()->HasGrdCrossingAt(64, 64));
  // Every tile of the street between its junctions off the crossing holds
  // one of its layouts, the one beside the dead end too.
  for (int k = -7; k < past; ++k) {
    const auto x = static_cast<short>(64 + k * dx), y = static_cast<short>(64 + k * dy);
    if (world->GetRailNet()->HasGrdCrossingAt(x, y)) continue;
    EXPECT_NE(world->GetStreetNet()->GetMicroZelleAt(x, y), nullptr) << x << "/" << y;
  }
  // One crossing: the street's two tiles on either side of it.
  minBeside = 2;
  ASSERT_EQ(StreetLayoutsBesideCrossings().size(), minBeside);
  ExpectEveryView(true);
}

INSTANTIATE_TEST_SUITE_P(EveryWayAndDistance, DeadEndPastCrossingTest,
                         testing::Values(DeadEndPastCrossing{0, 1, 2}, DeadEndPastCrossing{0, 1, 3},
                                         DeadEndPastCrossing{0, 1, 4}, DeadEndPastCrossing{0, -1, 2},
                                         DeadEndPastCrossing{0, -1, 3}, DeadEndPastCrossing{0, -1, 4},
                                         DeadEndPastCrossing{1, 0, 2}, DeadEndPastCrossing{1, 0, 3},
                                         DeadEndPastCrossing{1, 0, 4}, DeadEndPastCrossing{-1, 0, 2},
                                         DeadEndPastCrossing{-1, 0, 3}, DeadEndPastCrossing{-1, 0, 4}),
                         [](const testing::TestParamInfo<DeadEndPastCrossing>& info) {
                           const DeadEndPastCrossing& p = info.param;
                           const char* way = p.dy > 0 ? "PlusY" : p.dy < 0 ? "MinusY" : p.dx > 0 ? "PlusX" : "MinusX";
                           return std::string(way) + "Past" + std::to_string(p.past);
                         });

// A private car with a picture of its own, not one drawn from the game's
// sequence: parked twice, it looks the same both times.
struct ParkedCar : CCar {
  ParkedCar() { m_SpriteKind = 0; }
};

struct ViewChangeTest : RailViewTest {
  void SetUp() override {
    RailViewTest::SetUp();
    // A cross of two-way streets, a one-way street and a dead end beside it.
    for (auto [x1, y1, x2, y2, type] :
         {std::tuple{60, 64, 64, 64, STRASSE_1}, std::tuple{64, 64, 68, 64, STRASSE_1},
          std::tuple{64, 60, 64, 64, STRASSE_2}, std::tuple{64, 64, 64, 68, STRASSE_2},
          std::tuple{68, 64, 68, 69, STRASSE_EINBAHN}, std::tuple{60, 64, 60, 61, STRASSE_1}}) {
      CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
      ASSERT_EQ(world->GetStreetNet()->CreateStreet(&line, type), STR_BUILD_OK);
    }
    map->Update();
  }
  // A car in the first cell of every layout that can take one.
  int Park() {
    int parked = 0;
    for (CQnoMicroZelle* l : Layouts()) {
      Cell* c = l->GetZelle(0);
      if (!CQnoMicroZelle::GetVirtNext(c) || c->m_pCar) continue;
      c->m_Choice = 0;
      parked += l->SetzeFahrzeug(c, new ParkedCar, 0, false, false, false) == 0;
    }
    return parked;
  }
  // The screen drawn afresh: the plain renderer, or the sprite lists'.
  // With `kept` set, the sprite lists draw over the last frame on a screen
  // said to keep its pixels, and a window (a box through the buffer) is
  // drawn over the map in every other frame, as the interface does.
  uint32_t Frame(bool plain) {
    SDL_Surface* s = world->GetScreen();
    QnoRenderBuffer* buffer = world->GetDisplay()->GetRenderBuffer();
    if (plain || !kept) SDL_FillRect(s, nullptr, 0);
    buffer->SetPictureKept(kept && !plain);
    plain ? map->Render(world->GetDisplay()) : map->RenderSpriteList_Left_Right(world->GetDisplay());
    buffer->SetPictureKept(false);
    const uint32_t sum = isotest::Checksum(s);
    if (kept && !plain && ++windowFrames % 2 == 0) buffer->FillRect(300, 200, 420, 280, 0x7BEF);
    return sum;
  }
  bool kept = false;
  int windowFrames = 0;
  struct Change {
    std::string name;
    std::function<void()> act;
  };
  std::vector<Change> Changes() {
    return {{"turned right", [this] { map->UserIntTurnRight(); }},
            {"zoomed out", [this] { map->UserIntZoomOut(); }},
            {"turned left", [this] { map->UserIntTurnLeft(); }},
            {"zoomed in", [this] { map->UserIntZoomIn(); }},
            {"turned left again", [this] { map->UserIntTurnLeft(); }},
            {"new screen mode", [this] { map->RefreshAfterModeChange(); }}};
  }
};

TEST_F(ViewChangeTest, EachLayoutOfTheNewViewIsMadeAndPlacedOnce) {
  for (const Change& change : Changes()) {
    ASSERT_GT(Park(), 5) << change.name;
    const uint64_t made = CQnoMicroZelle::GetMadeCount(), placed = CQnoMicroZelle::GetPlacedCount();
    change.act();
    const size_t layouts = Layouts().size();
    EXPECT_GT(layouts, 15u) << change.name;
    EXPECT_EQ(CQnoMicroZelle::GetMadeCount() - made, layouts) << change.name;
    EXPECT_EQ(CQnoMicroZelle::GetPlacedCount() - placed, layouts) << change.name;
  }
}

TEST_F(ViewChangeTest, ViewWithCarsAfterAChangeIsTheViewLaidAfresh) {
  ASSERT_NE(world->GetScreen(), nullptr);
  for (const Change& change : Changes()) {
    Park();
    change.act();
    ASSERT_GT(Park(), 5) << change.name;
    const uint32_t changed = Frame(false);
    // The layouts made again at the same view, placed again, with the same
    // cars in the same cells, and drawn the plain way.
    world->GetStreetNet()->TurnMicroSim();
    map->UpdateMicroSim();
    const uint32_t withoutCars = Frame(true);
    ASSERT_GT(Park(), 5) << change.name;
    const uint32_t afresh = Frame(true);
    EXPECT_NE(afresh, withoutCars) << change.name << ": the cars are drawn";
    EXPECT_EQ(changed, afresh) << change.name;
  }
}

// A frame drawn again from the last one's record draws the cars of every
// cell that holds one now, and of none that held one before: after a car
// left its tile, after a car came to a tile that had none, after a street
// was built with cars on it, and after a scroll, a turn and a zoom, the
// replayed frame is the frame drawn afresh.
struct ReplayedCarsTest : ViewChangeTest {
  // Frames of the sprite lists until three in a row are replayed (from
  // the third on, from the packed picture).
  void Settle(const std::string& what) {
    int inARow = 0;
    for (int i = 0; i < 60 && inARow < 3; ++i) {
      const uint32_t before = map->GetReplayedFrameCount();
      Frame(false);
      inARow = map->GetReplayedFrameCount() > before ? inARow + 1 : 0;
    }
    ASSERT_EQ(inARow, 3) << what;
  }
  void ExpectReplayedAsAfresh(const std::string& what) {
    const uint32_t before = map->GetReplayedFrameCount(), changesOnly = map->GetChangesOnlyFrameCount();
    const uint32_t replayed = Frame(false);
    EXPECT_EQ(map->GetReplayedFrameCount(), before + 1) << what << ": replayed";
    EXPECT_EQ(map->GetChangesOnlyFrameCount(), changesOnly + (kept ? 1 : 0)) << what << ": only the changes drawn";
    EXPECT_EQ(replayed, Frame(true)) << what;
    // The frame drawn afresh wrote the screen past the buffer: the frame
    // that follows draws it whole and the one after that the changes.
    if (kept) {
      Frame(false);
      Frame(false);
    }
  }
  // The layouts that hold a vehicle and those that hold none.
  std::pair<std::vector<CQnoMicroZelle*>, std::vector<CQnoMicroZelle*>> ByVehicles() {
    std::vector<CQnoMicroZelle*> with, without;
    for (CQnoMicroZelle* l : Layouts()) (l->GetVehicleCount() ? with : without).push_back(l);
    return {with, without};
  }
  // The first cell of a layout with a way on, else null.
  static Cell* FirstWayOn(CQnoMicroZelle* l) {
    for (int i = 0; i < l->GetCount(); ++i)
      if (CQnoMicroZelle::GetVirtNext(l->GetZelle(i))) return l->GetZelle(i);
    return nullptr;
  }
  // Takes every vehicle of one layout out and puts it into an empty one,
  // each step checked against a frame drawn afresh.
  void MoveCarsAndCompare(const std::string& what) {
    auto [with, without] = ByVehicles();
    ASSERT_FALSE(with.empty()) << what;
    ASSERT_FALSE(without.empty()) << what;
    Settle(what);
    std::vector<CCar*> taken;
    for (int i = 0; i < with.front()->GetCount(); ++i)
      if (CCar* car = with.front()->GetZelle(i)->m_pCar) {
        taken.push_back(car);
        CQnoMicroZelle::HoldVehicle(with.front()->GetZelle(i), nullptr);
      }
    ExpectReplayedAsAfresh(what + ", a tile's cars left");
    Cell* to = nullptr;
    for (CQnoMicroZelle* l : without)
      if ((to = FirstWayOn(l))) break;
    ASSERT_NE(to, nullptr) << what;
    to->m_Choice = 0;
    to->m_Position = 40;
    CQnoMicroZelle::HoldVehicle(to, taken.front());
    ExpectReplayedAsAfresh(what + ", a car came to an empty tile");
    CQnoMicroZelle::HoldVehicle(to, nullptr);
    to->m_Position = Cell::kNoPosition;
    to->m_Choice = Cell::kNoChoice;
    for (CCar* car : taken) {
      car->SetMicroSimObject(nullptr);
      car->Destroy();
      delete car;
    }
    ExpectReplayedAsAfresh(what + ", gone again");
  }
  // Cars moved and compared as built, after a street was built in view (its
  // cells' objects change), after a scroll and after each change of the view.
  void MoveCarsThroughChanges() {
    ASSERT_GT(Park(), 5);
    MoveCarsAndCompare("as built");
    CStrBuildLine line(61, 66, 64, 66);
    ASSERT_EQ(world->GetStreetNet()->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
    map->Update();
    Park();
    MoveCarsAndCompare("a new street");
    map->SetIsoCenter(63, 65);
    Park();
    MoveCarsAndCompare("scrolled");
    for (const Change& change : Changes()) {
      change.act();
      ASSERT_GT(Park(), 5) << change.name;
      MoveCarsAndCompare(change.name);
    }
  }
};

TEST_F(ReplayedCarsTest, CarsComingAndGoingAfterChangesOfTheMapAndViewMatchAFrameDrawnAfresh) {
  MoveCarsThroughChanges();
}

// The same on a screen that keeps its pixels from frame to frame, with a
// window drawn over the map in every other frame: each frame drawn only
// where it changed is the frame drawn afresh.
TEST_F(ReplayedCarsTest, OnAKeptScreenCarsComingAndGoingAfterChangesOfTheMapAndViewMatchAFrameDrawnAfresh) {
  kept = true;
  MoveCarsThroughChanges();
}

// At the level of the smallest tiles the game has no layouts: a turn there
// makes and places none, and the streets keep none of the level before.
TEST_F(ViewChangeTest, AtTheSmallestTilesNoLayoutIsMadeOrPlaced) {
  Park();
  const uint64_t made = CQnoMicroZelle::GetMadeCount(), placed = CQnoMicroZelle::GetPlacedCount();
  map->UserIntZoomIn();
  ASSERT_EQ(g_ZoomStufe, ISO_ZOOM_4);
  map->UserIntTurnRight();
  EXPECT_TRUE(Layouts().empty());
  EXPECT_EQ(CQnoMicroZelle::GetMadeCount(), made);
  EXPECT_EQ(CQnoMicroZelle::GetPlacedCount(), placed);
  map->UserIntZoomOut();
  EXPECT_GT(Layouts().size(), 15u);
}

}  // namespace
