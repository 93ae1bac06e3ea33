// Street and crossing graphics in the map: the graphics of each street type,
// straight pieces, bends, end pieces, crossings and four-lane groups.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "iso/iso_host.h"
#include "iso/iso_welt.h"
#include "iso/street_info_list.h"
#include "iso_scene.h"
#include "support/test_support.h"
#include "worldbase/zor_world_obj.h"

namespace {

using namespace isotest;

// Street graphics of the scene.
constexpr int kStraight = 700, kBend = 701, kCross = 702, kTee = 703, kEnd = 704;
constexpr int kStraightLayer = 710, kEndLayer = 711;
constexpr int kFourLane = 720, kFourLaneEnd = 721, kFourLaneCross = 722, kRail = 723;
constexpr uint16_t kStreetColour = Rgb565(90, 90, 90);

inline uint32_t StreetSprite(int zi) { return 670 + zi; }

std::map<uint32_t, Bytes> StreetBlobs() {
  auto b = SceneBlobs();
  for (int zi = 0; zi < 3; ++zi) b[StreetSprite(zi)] = DiamondSprite(zi, kStreetColour);
  for (int id : {kStraight, kBend, kCross, kTee, kEnd}) b[static_cast<uint32_t>(id)] = MakeTile({FlatLayer(StreetSprite, 0)});
  b[kStraightLayer] = MakeTile({FlatLayer(FlowerSprite, 5)});
  b[kEndLayer] = MakeTile({FlatLayer(FilterSprite, 3)});
  for (int id : {kFourLane, kFourLaneEnd, kFourLaneCross, kRail})
    b[static_cast<uint32_t>(id)] =
        MakeGroup(2, 2, {{0, 0, 0, kStraight}, {1, 0, 0, kStraight}, {0, 1, 0, kStraight}, {1, 1, 0, kStraight}});
  return b;
}

struct StreetHost : CIsoHost {
  std::vector<std::pair<int, int>> recoloured;
  CWorldObj ground;
  CWorldObj* CreateObjectEmpty() override { return &ground; }
  int GetBaseResID(bool) override { return kGround; }
  void UpdateViewFilter(int x, int y) override { recoloured.push_back({x, y}); }
};

struct IsoStreetTest : testing::Test {
  Scene scene{320, 240, StreetBlobs()};
  StreetHost host;
  std::vector<std::unique_ptr<CWorldObj>> objects;

  void SetUp() override {
    scene.UseHost(&host);
    scene.CreateGround();
    CIsoWelt& m = *scene.map;
    EXPECT_EQ(m.DefineStreet(1, kStraight, kStraightLayer, kBend, 0, kCross, 0, kTee, 0, kEnd, kEndLayer, 600), 0);
    // Type 3 has no bend.
    m.DefineStreet(3, kStraight, 0, 0, 0, kCross, 0, kTee, 0, kEnd, 0, 1200);
    m.DefineStreet(4, kFourLane, 0, kFourLane, 0, kFourLaneCross, 0, kFourLaneCross, 0, kFourLaneEnd, 0, 2400);
    host.recoloured.clear();
  }
  void TearDown() override {
    scene.map.reset();
    g_ZoomStufe = ISO_ZOOM_1;
    g_IsoRichtung = 0;
  }
  CWorldObj* Object(TObjectType type) {
    objects.push_back(std::make_unique<CWorldObj>());
    objects.back()->SetType(type);
    return objects.back().get();
  }
  CIsoInfo& Cell(int x, int y) { return *scene.map->GetIsoInfo(x, y); }
  int ResAt(int x, int y) { return Cell(x, y).GetResID(ISO_LAYER_GROUND); }
  bool HasZ(int x, int y, int z) {
    const SortedList* list = Cell(x, y).GetRenderList();
    for (int i = 0; list && i < list->GetCount(); ++i)
      if (list->GetAt(i).z == z) return true;
    return false;
  }
};

TEST(StreetInfoList, LookupsByTypeAndByPieceId) {
  const int ids1[5] = {10, 11, 12, 13, 14}, layers1[5] = {20, 21, 22, 23, 24};
  const int ids2[5] = {30, 31, 32, 33, 34}, layers2[5] = {0, 0, 0, 0, 0};
  // A second record of the first family: same straight piece, other pieces.
  const int ids3[5] = {10, 41, 42, 43, 44};
  CStreetInfoList head(STRASSE_1, ids1, layers1, 600);
  head.Append(new CStreetInfoList(STRASSE_VIERSPURIG, ids2, layers2, 2400));
  head.Append(new CStreetInfoList(STRASSE_2, ids3, layers2, 1200));
  ASSERT_NE(head.GetNext(), nullptr);
  EXPECT_EQ(head.GetNext()->GetNext()->GetPrev(), head.GetNext());

  EXPECT_EQ(head.FindElement(CStrassenType(STRASSE_VIERSPURIG)), head.GetNext());
  EXPECT_EQ(head.FindElement(CStrassenType(STRASSE_SCHIENE)), nullptr);
  EXPECT_EQ(head.GetStrassenID(STRASSE_1), 10);
  EXPECT_EQ(head.GetKurvenID(STRASSE_1), 11);
  EXPECT_EQ(head.GetEndStueckID(STRASSE_1), 14);
  EXPECT_EQ(head.GetStrassenLayerID(STRASSE_1), 20);
  EXPECT_EQ(head.GetKurvenLayer(STRASSE_1), 21);
  EXPECT_EQ(head.GetEndStueckLayer(STRASSE_1), 24);
  EXPECT_EQ(head.GetCapacity(STRASSE_VIERSPURIG), 2400);
  EXPECT_EQ(head.GetCapacity(STRASSE_2), 1200);
  for (int v : {head.GetStrassenID(STRASSE_SCHIENE), head.GetKurvenID(STRASSE_SCHIENE),
                head.GetEndStueckID(STRASSE_SCHIENE), head.GetStrassenLayerID(STRASSE_SCHIENE),
                head.GetKurvenLayer(STRASSE_SCHIENE), head.GetEndStueckLayer(STRASSE_SCHIENE)})
    EXPECT_EQ(v, -1);
  EXPECT_EQ(head.GetCapacity(STRASSE_SCHIENE), 0);

  // A piece of the second record of a family answers for the family's
  // first record.
  EXPECT_EQ(head.FindElement(41), &head);
  EXPECT_EQ(head.GetKreuzungsID(41), 12);
  EXPECT_EQ(head.GetTKreuzung(44), 13);
  EXPECT_EQ(head.GetEndStueckID(11), 14);
  EXPECT_EQ(head.GetKreuzungsID(33), 32);
  EXPECT_EQ(head.FindElement(99), nullptr);
  EXPECT_EQ(head.GetKreuzungsID(99), -1);
  EXPECT_EQ(head.GetTKreuzung(99), -1);
  EXPECT_EQ(head.GetEndStueckID(99), -1);
  EXPECT_TRUE(head.IsEqual(10, 43));
  EXPECT_TRUE(head.IsEqual(10, 12));
  EXPECT_FALSE(head.IsEqual(10, 31));
  EXPECT_FALSE(head.IsEqual(11, 11));
  // Lookups walk forward from the record asked.
  EXPECT_EQ(head.GetNext()->GetStrassenID(STRASSE_1), -1);
  head.DeleteFollowing();
  EXPECT_EQ(head.GetNext(), nullptr);
}

TEST_F(IsoStreetTest, CapacitiesByType) {
  CIsoWelt& m = *scene.map;
  EXPECT_EQ(m.GetStreetGetCapacity(STRASSE_1), 600);
  EXPECT_EQ(m.GetStreetGetCapacity(STRASSE_VIERSPURIG), 2400);
  EXPECT_EQ(m.GetStreetGetCapacity(STRASSE_SCHIENE), 0);
  EXPECT_EQ(m.GetStreetGetCapacity(STRASSE_2), 0);
  ASSERT_NE(m.GetStreetInfoList(), nullptr);
  EXPECT_EQ(m.GetStreetInfoList()->GetType(), STRASSE_1);
  // A map without records.
  CIsoWelt bare(&host, &scene.resources, &scene.display);
  EXPECT_EQ(bare.GetStreetGetCapacity(STRASSE_1), 0);
  EXPECT_EQ(bare.GetStreetInfoList(), nullptr);
}

TEST_F(IsoStreetTest, StraightPiecesTakeTheirLayerAndTellTheViewFilter) {
  CIsoWelt& m = *scene.map;
  CWorldObj* street = Object(OBJ_STREET_PIECE);
  CIsoWelt::m_SPOK[5][6] = 1;
  EXPECT_EQ(m.InsertStreetAt(5, 6, CIsoRichtung(3), STRASSE_1, street), 0);
  EXPECT_EQ(ResAt(5, 6), kStraight);
  EXPECT_EQ(Cell(5, 6).GetRichtung(ISO_LAYER_GROUND), ISO_RICHTUNG_3);
  EXPECT_EQ(Cell(5, 6).GetWorldObject(ISO_LAYER_GROUND), street);
  EXPECT_TRUE(HasZ(5, 6, 5));  // the merged layer tile
  EXPECT_EQ(CIsoWelt::m_SPOK[5][6], 0);
  EXPECT_EQ(host.recoloured, (std::vector<std::pair<int, int>>{{5, 6}}));

  // Type 3 has no straight layer.
  m.InsertStreetAt(7, 6, CIsoRichtung(0), STRASSE_EINBAHN, street);
  EXPECT_EQ(ResAt(7, 6), kStraight);
  EXPECT_FALSE(HasZ(7, 6, 5));

  // A type without record places the tile -1, which draws nothing.
  EXPECT_EQ(m.InsertStreetAt(8, 6, CIsoRichtung(0), STRASSE_2, street), 0);
  EXPECT_EQ(ResAt(8, 6), -1);
  EXPECT_EQ(Cell(8, 6).GetWorldObject(ISO_LAYER_GROUND), street);

  // Off the map nothing happens.
  host.recoloured.clear();
  EXPECT_EQ(m.InsertStreetAt(-1, 6, CIsoRichtung(0), STRASSE_1, street), 0);
  EXPECT_EQ(m.InsertStreetAt(128, 6, CIsoRichtung(0), STRASSE_1, street), 0);
  EXPECT_TRUE(host.recoloured.empty());
}

TEST_F(IsoStreetTest, FourLanePiecesAreGroups) {
  CIsoWelt& m = *scene.map;
  CWorldObj* street = Object(OBJ_STREET_PIECE);
  EXPECT_EQ(m.InsertStreetAt(20, 20, CIsoRichtung(1), STRASSE_VIERSPURIG, street), 0);
  for (auto [x, y] : {std::pair{20, 20}, {21, 20}, {20, 21}, {21, 21}}) {
    EXPECT_EQ(ResAt(x, y), kStraight);
    EXPECT_EQ(Cell(x, y).GetWorldObject(ISO_LAYER_GROUND), street);
    EXPECT_NE(Cell(x, y).GetGroupObj(ISO_LAYER_GROUND), nullptr);
  }
  EXPECT_EQ(ResAt(22, 20), kGround);
  // A group that does not fit is not placed; the piece still answers 0.
  EXPECT_EQ(m.InsertStreetAt(127, 127, CIsoRichtung(0), STRASSE_VIERSPURIG, street), 0);
  EXPECT_EQ(ResAt(127, 127), kGround);
}

// A four-lane group covers its own tile and the next one towards larger x
// (turned along x) or larger y (turned along y). On its own tile it is laid
// over anything; on the next tile over anything but a track, which lies over
// the street at a level crossing, and a river, which a bridge crosses.
TEST_F(IsoStreetTest, AFourLaneGroupLeavesATrackOrARiverOnTheNextTile) {
  CIsoWelt& m = *scene.map;
  CWorldObj* street = Object(OBJ_STREET_PIECE);
  CWorldObj* rail = Object(OBJ_RAIL_PIECE);
  CWorldObj* junction = Object(OBJ_CROSSING);
  auto shows = [&](int x, int y) { return Cell(x, y).GetWorldObject(ISO_LAYER_GROUND); };
  // Along y: the track's group at 80/80 and 81/80 keeps them, the street's
  // row at 79 is laid.
  ASSERT_EQ(m.SetIsoGroupTurnedAt(80, 80, ISO_LAYER_GROUND, kRail, rail, CIsoRichtung(0)), 0);
  EXPECT_EQ(m.InsertStreetAt(80, 79, CIsoRichtung(1), STRASSE_VIERSPURIG, street), 0);
  for (auto [x, y] : {std::pair{80, 79}, {81, 79}}) EXPECT_EQ(shows(x, y), street) << x << "," << y;
  for (auto [x, y] : {std::pair{80, 80}, {81, 80}, {80, 81}, {81, 81}}) {
    EXPECT_EQ(shows(x, y), rail) << x << "," << y;
    const CIsoObjGroup* g = Cell(x, y).GetGroupObj(ISO_LAYER_GROUND);
    EXPECT_TRUE(g && g->GetResID() == kRail && g->GetStartPosX() == 80 && g->GetStartPosY() == 80) << x << "," << y;
  }
  // Along x, the same.
  ASSERT_EQ(m.SetIsoGroupTurnedAt(90, 90, ISO_LAYER_GROUND, kRail, rail, CIsoRichtung(0)), 0);
  EXPECT_EQ(m.InsertStreetAt(89, 90, CIsoRichtung(0), STRASSE_VIERSPURIG, street), 0);
  for (auto [x, y] : {std::pair{89, 90}, {89, 91}}) EXPECT_EQ(shows(x, y), street) << x << "," << y;
  for (auto [x, y] : {std::pair{90, 90}, {90, 91}}) EXPECT_EQ(shows(x, y), rail) << x << "," << y;
  // On its own tile the group is laid over the track.
  EXPECT_EQ(m.InsertStreetAt(90, 90, CIsoRichtung(1), STRASSE_VIERSPURIG, street), 0);
  for (auto [x, y] : {std::pair{90, 90}, {91, 90}}) EXPECT_EQ(shows(x, y), street) << x << "," << y;
  for (auto [x, y] : {std::pair{90, 91}, {91, 91}}) EXPECT_EQ(shows(x, y), rail) << x << "," << y;
  // A river's cell too: the bridge laid there records the river under it.
  CWorldObj* river = Object(OBJ_RIVER);
  m.SetIsoTileAt(111, 110, ISO_LAYER_GROUND, CIsoRichtung(0), kFlower, river);
  EXPECT_EQ(m.InsertStreetAt(110, 110, CIsoRichtung(0), STRASSE_VIERSPURIG, street), 0);
  EXPECT_EQ(shows(111, 110), river);
  EXPECT_EQ(ResAt(111, 110), kFlower);
  EXPECT_EQ(shows(111, 111), street);
  // A junction's cells on the next tile are laid over, as before.
  ASSERT_EQ(m.SetIsoGroupTurnedAt(100, 100, ISO_LAYER_GROUND, kFourLaneCross, junction, CIsoRichtung(0)), 0);
  EXPECT_EQ(m.InsertStreetAt(100, 99, CIsoRichtung(1), STRASSE_VIERSPURIG, street), 0);
  for (auto [x, y] : {std::pair{100, 100}, {101, 100}}) EXPECT_EQ(shows(x, y), street) << x << "," << y;
  EXPECT_EQ(shows(100, 101), junction);
}

TEST_F(IsoStreetTest, BendsOnlyForTypesWithABend) {
  CIsoWelt& m = *scene.map;
  CWorldObj* street = Object(OBJ_STREET_PIECE);
  EXPECT_EQ(m.SetKurveAt(3, 3, CIsoRichtung(2), street, STRASSE_EINBAHN), 0);
  EXPECT_EQ(ResAt(3, 3), kGround);
  EXPECT_EQ(Cell(3, 3).GetWorldObject(ISO_LAYER_GROUND), nullptr);  // the scene's ground
  EXPECT_TRUE(host.recoloured.empty());
  EXPECT_EQ(m.SetKurveAt(3, 3, CIsoRichtung(2), street, STRASSE_SCHIENE), 0);
  EXPECT_EQ(ResAt(3, 3), kGround);
  EXPECT_EQ(m.SetKurveAt(3, 3, CIsoRichtung(2), street, STRASSE_1), 0);
  EXPECT_EQ(ResAt(3, 3), kBend);
  EXPECT_EQ(Cell(3, 3).GetRichtung(ISO_LAYER_GROUND), ISO_RICHTUNG_2);
  EXPECT_FALSE(HasZ(3, 3, 5));  // type 1's bend has no layer
}

TEST_F(IsoStreetTest, EndPiecesAnswerOneAndCrossingsReplaceTheStreetGroup) {
  CIsoWelt& m = *scene.map;
  CWorldObj* street = Object(OBJ_STREET_PIECE);
  CWorldObj* junction = Object(OBJ_CROSSING);
  CIsoRichtung dir(1);
  // The end piece with its layer; still 1.
  EXPECT_EQ(m.InsertKreuzungAt(4, 9, 0, &dir, junction, STRASSE_1, 1), 1);
  EXPECT_EQ(ResAt(4, 9), kEnd);
  EXPECT_EQ(Cell(4, 9).GetRichtung(ISO_LAYER_GROUND), ISO_RICHTUNG_1);
  EXPECT_TRUE(HasZ(4, 9, 3));
  // A type without end piece leaves the plain ground.
  m.InsertStreetAt(5, 9, CIsoRichtung(0), STRASSE_1, street);
  EXPECT_EQ(m.InsertKreuzungAt(5, 9, 0, &dir, junction, STRASSE_SCHIENE, 1), 1);
  EXPECT_EQ(ResAt(5, 9), kGround);
  EXPECT_EQ(Cell(5, 9).GetWorldObject(ISO_LAYER_GROUND), &host.ground);

  // A crossing on a cell of a four-lane street: the whole group goes, the
  // cell's upper layer stays.
  m.InsertStreetAt(30, 30, CIsoRichtung(0), STRASSE_VIERSPURIG, street);
  CWorldObj* sign = Object(OBJ_TRAFFIC_SIGN);
  m.SetIsoTileAt(31, 31, ISO_LAYER_UPPER, CIsoRichtung(0), kFlower, sign);
  EXPECT_EQ(m.InsertKreuzungAt(31, 31, kCross, &dir, junction, STRASSE_1, 3), 0);
  EXPECT_EQ(ResAt(31, 31), kCross);
  EXPECT_EQ(Cell(31, 31).GetWorldObject(ISO_LAYER_GROUND), junction);
  EXPECT_EQ(Cell(31, 31).GetGroupObj(ISO_LAYER_GROUND), nullptr);
  EXPECT_EQ(Cell(31, 31).GetWorldObject(ISO_LAYER_UPPER), sign);
  for (auto [x, y] : {std::pair{30, 30}, {31, 30}, {30, 31}}) {
    EXPECT_EQ(ResAt(x, y), kGround) << x << "," << y;
    EXPECT_EQ(Cell(x, y).GetWorldObject(ISO_LAYER_GROUND), &host.ground);
  }
  EXPECT_FALSE(HasZ(31, 31, 3));  // no layer on a crossing

  // On a cell that holds no street piece only that cell changes.
  CWorldObj* house = Object(OBJ_RESIDENTIAL);
  m.SetIsoGroupTurnedAt(40, 40, ISO_LAYER_GROUND, kFourLane, house, CIsoRichtung(0));
  EXPECT_EQ(m.InsertKreuzungAt(41, 41, kTee, &dir, junction, STRASSE_1, 3), 0);
  EXPECT_EQ(ResAt(41, 41), kTee);
  EXPECT_EQ(Cell(40, 40).GetWorldObject(ISO_LAYER_GROUND), house);
}

TEST_F(IsoStreetTest, UnknownJunctionKindsAreRefused) {
  CIsoWelt& m = *scene.map;
  CWorldObj* street = Object(OBJ_STREET_PIECE);
  CIsoRichtung dir(0);
  m.InsertStreetAt(6, 6, CIsoRichtung(0), STRASSE_1, street);
  host.recoloured.clear();
  for (unsigned char kind : {0, 2, 4}) EXPECT_EQ(m.InsertKreuzungAt(6, 6, kCross, &dir, street, STRASSE_1, kind), 1);
  EXPECT_EQ(m.InsertKreuzungAt(6, 6, kCross, nullptr, street, STRASSE_1, 3), 1);
  EXPECT_EQ(m.InsertKreuzungsGroupAt(6, 6, kFourLaneCross, nullptr, street, STRASSE_VIERSPURIG), 1);
  EXPECT_EQ(ResAt(6, 6), kStraight);
  EXPECT_TRUE(host.recoloured.empty());
}

TEST_F(IsoStreetTest, FourLaneCrossingsReplaceARailGroup) {
  CIsoWelt& m = *scene.map;
  CWorldObj* rail = Object(OBJ_RAIL_PIECE);
  CWorldObj* junction = Object(OBJ_CROSSING);
  CIsoRichtung dir(2);
  ASSERT_EQ(m.SetIsoGroupTurnedAt(50, 50, ISO_LAYER_GROUND, kRail, rail, CIsoRichtung(0)), 0);
  EXPECT_EQ(m.InsertKreuzungsGroupAt(51, 51, kFourLaneCross, &dir, junction, STRASSE_VIERSPURIG), 0);
  // The rail group is gone where the crossing does not reach.
  for (auto [x, y] : {std::pair{50, 50}, {51, 50}, {50, 51}}) {
    EXPECT_EQ(ResAt(x, y), kGround);
    EXPECT_EQ(Cell(x, y).GetWorldObject(ISO_LAYER_GROUND), &host.ground);
  }
  for (auto [x, y] : {std::pair{51, 51}, {52, 51}, {51, 52}, {52, 52}}) {
    EXPECT_EQ(Cell(x, y).GetWorldObject(ISO_LAYER_GROUND), junction);
    EXPECT_EQ(Cell(x, y).GetRichtung(ISO_LAYER_GROUND), ISO_RICHTUNG_2);
  }

  // Over a street group the rest of that group stays.
  CWorldObj* street = Object(OBJ_STREET_PIECE);
  m.InsertStreetAt(60, 60, CIsoRichtung(0), STRASSE_VIERSPURIG, street);
  EXPECT_EQ(m.InsertKreuzungsGroupAt(61, 61, kFourLaneCross, &dir, junction, STRASSE_VIERSPURIG), 0);
  EXPECT_EQ(Cell(60, 60).GetWorldObject(ISO_LAYER_GROUND), street);

  // A missing group resource fails.
  EXPECT_EQ(m.InsertKreuzungsGroupAt(70, 70, 9999, &dir, junction, STRASSE_VIERSPURIG), 1);
  EXPECT_EQ(ResAt(70, 70), kGround);
}

}  // namespace
