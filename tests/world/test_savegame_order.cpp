// A load lists the world's objects in the order they were saved in: the
// buildings, stops and rivers keep their places among each other and among
// the objects that the networks make again, so a game saves to the same
// bytes however often it was loaded, and a failed load gives the game back
// in its order. Public transport's stops keep their order too, and with it
// the walking links between them and the lines the demand model reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "iso/iso_river.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "network/str_junction_list.h"
#include "scenario_opnv_steps.h"
#include "sim/sim_line_data.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_obj.h"

namespace {

using namespace zortest;

constexpr const char* kGame = "SaveGame/ORDER.GMD";

void Street(CZorvaWorld& world, int x1, int y1, int x2, int y2) {
  CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
  ASSERT_EQ(world.GetStreetNet()->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
}

void Place(CZorvaWorld& world, TObjectType kind, int resId, int x, int y) {
  ASSERT_NE(world.CreateObject(kind, resId, CIsoRichtung(0), x, y, SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0, -1),
            nullptr)
      << kind << " at " << x << "/" << y;
}

// Rivers, buildings of every record, a stop and streets, made in turns so
// that each kind stands between the others in the list.
void BuildMixedTown(CZorvaWorld& world) {
  Street(world, 60, 60, 60, 66);
  Place(world, OBJ_RIVER, 38398, 70, 58);
  Place(world, OBJ_RESIDENTIAL, 37749, 61, 61);
  Place(world, OBJ_RIVER, 38398, 70, 59);
  Place(world, OBJ_ZONE_RESIDENTIAL, 17021, 59, 61);
  Street(world, 60, 63, 66, 63);
  Place(world, OBJ_RIVER, 38398, 70, 60);
  Place(world, OBJ_CARPARK_OPEN, 39431, 62, 64);
  Place(world, OBJ_BUSSTOP_SIGN, 32290, 63, 63);
  Place(world, OBJ_RIVER, 38398, 71, 60);
  Place(world, OBJ_RESIDENTIAL, 37749, 64, 61);
}

// The world's list as the savegame sees it: each building by its kind and
// cell, each other saved object as "-" (their records carry no identity),
// the guidance signs left out (they are never saved). With `rivers`, the
// rivers alone, by their cells: the map's record keeps their order.
std::vector<std::string> ListOrder(CZorvaWorld& world, bool rivers = false) {
  std::vector<std::string> order;
  for (CZorvaObject* o = world.GetObjectList()->GetHead(); o; o = o->GetNext()) {
    auto* object = static_cast<CWorldObj*>(o);
    const int kind = static_cast<int>(object->GetType());
    if (kind >= OBJ_PARKING_SIGN1 && kind <= OBJ_TRAFFIC_SIGN4) continue;
    auto* b = dynamic_cast<CBuildingObject*>(object);
    auto* r = dynamic_cast<CRiverObject*>(object);
    if (rivers) {
      if (r) order.push_back(std::to_string(r->GetX()) + "/" + std::to_string(r->GetY()));
    } else if (b) {
      order.push_back(std::to_string(kind) + "@" + std::to_string(b->GetXPos()) + "/" + std::to_string(b->GetYPos()));
    } else {
      order.push_back("-");
    }
  }
  return order;
}

// The buildings alone.
std::vector<std::string> Buildings(CZorvaWorld& world) {
  std::vector<std::string> order = ListOrder(world);
  std::erase(order, "-");
  return order;
}

std::string Binary(CZorvaWorld& world) {
  std::string binary, companion;
  EXPECT_TRUE(world.SerializeToMemory(binary, companion));
  return binary;
}

struct MixedTown {
  Scenario game;
  CZorvaWorld& world = game.World();
  MixedTown() {
    std::filesystem::create_directory("SaveGame");
    BuildMixedTown(world);
  }
  int SaveAndLoad() {
    if (world.SerializeGameStore(kGame) != 0) return 1;
    return world.SerializeGameLoad(kGame);
  }
};

TEST(SavegameOrder, ALoadListsTheObjectsAsTheyWereAndSavesTheSameBytesEveryTime) {
  MixedTown town;
  const std::vector<std::string> played = ListOrder(town.world);
  const std::vector<std::string> rivers = ListOrder(town.world, true);
  // Each kind stands between the others, so a reversal or a regrouping shows.
  ASSERT_EQ(Buildings(town.world).size(), 5u);
  ASSERT_EQ(rivers.size(), 4u);
  ASSERT_EQ(town.SaveAndLoad(), 0);
  EXPECT_EQ(ListOrder(town.world), played);
  EXPECT_EQ(ListOrder(town.world, true), rivers);
  // The first load numbers the demand model's streets afresh; from then on
  // the bytes are the same after one load, after two and after three.
  const std::string once = Binary(town.world);
  for (int load = 2; load <= 4; ++load) {
    ASSERT_EQ(town.SaveAndLoad(), 0);
    EXPECT_EQ(ListOrder(town.world), played) << "load " << load;
    EXPECT_EQ(ListOrder(town.world, true), rivers) << "load " << load;
    EXPECT_TRUE(Binary(town.world) == once) << "load " << load;
  }
}

TEST(SavegameOrder, AFailedLoadGivesTheGameBackInItsOrder) {
  MixedTown town;
  ASSERT_EQ(town.SaveAndLoad(), 0);
  const std::vector<std::string> before = ListOrder(town.world);
  const std::vector<std::string> rivers = ListOrder(town.world, true);
  const std::string bytes = Binary(town.world);
  const std::string saved = ReadFile(kGame);
  const std::string companion = ReadFile("SaveGame/ORDER.GMM");
  WriteFile("SaveGame/CUT.GMM", companion);
  // Cut inside the list, inside the public transport and near the end.
  for (size_t cut : {saved.size() / 3, saved.size() / 2, saved.size() - 40}) {
    WriteFile("SaveGame/CUT.GMD", saved.substr(0, cut));
    EXPECT_EQ(town.world.SerializeGameLoad("SaveGame/CUT.GMD"), 1) << cut;
    EXPECT_EQ(ListOrder(town.world), before) << cut;
    EXPECT_EQ(ListOrder(town.world, true), rivers) << cut;
    EXPECT_TRUE(Binary(town.world) == bytes) << cut;
  }
}

// Where the records of the world's list stand: after the 15 singletons'
// records, up to the list's closing tag.
size_t ListStart(const std::string& binary) {
  const std::string tag = std::string("ZorvaObject") + std::string(19, '\0');
  size_t at = 0;
  for (int singleton = 0; singleton <= 15; ++singleton) {
    at = binary.find(tag, singleton == 0 ? 0 : at + tag.size());
    if (at == std::string::npos) return at;
  }
  return at;
}

TEST(SavegameOrder, ObjectsWithoutARecordAreKeptAndRecordsWithoutAnObjectLeaveNoGap) {
  MixedTown town;
  ASSERT_EQ(town.SaveAndLoad(), 0);
  const std::vector<std::string> before = ListOrder(town.world);
  const std::vector<std::string> buildings = Buildings(town.world), rivers = ListOrder(town.world, true);
  const size_t objects = town.world.GetObjectList()->GetNumber();
  const std::string saved = ReadFile(kGame);
  const size_t first = ListStart(saved);
  ASSERT_NE(first, std::string::npos);
  const std::string plain = std::string("ZorvaObject") + std::string(19, '\0') + std::string("\x1e\0\0\0", 4) +
                            std::string("NoSaveData") + std::string(20, '\0');
  WriteFile("SaveGame/EDIT.GMM", ReadFile("SaveGame/ORDER.GMM"));
  const size_t at = saved.find(plain, first);
  ASSERT_NE(at, std::string::npos);
  // One passed-over record fewer: the object it stood for is still listed.
  WriteFile("SaveGame/EDIT.GMD", saved.substr(0, at) + saved.substr(at + plain.size()));
  ASSERT_EQ(town.world.SerializeGameLoad("SaveGame/EDIT.GMD"), 0);
  EXPECT_EQ(town.world.GetObjectList()->GetNumber(), objects);
  std::vector<std::string> kept = ListOrder(town.world), all = before;
  std::sort(kept.begin(), kept.end());
  std::sort(all.begin(), all.end());
  EXPECT_EQ(kept, all);
  // Two passed-over records more: nothing is made for them, and the
  // buildings and rivers keep their order.
  WriteFile("SaveGame/EDIT.GMD", saved.substr(0, first) + plain + plain + saved.substr(first));
  ASSERT_EQ(town.world.SerializeGameLoad("SaveGame/EDIT.GMD"), 0);
  EXPECT_EQ(town.world.GetObjectList()->GetNumber(), objects);
  EXPECT_EQ(Buildings(town.world), buildings);
  EXPECT_EQ(ListOrder(town.world, true), rivers);
}

// The operator's stops by id, in the order of its list: the walking links
// are made in this order and a stop walks to the first of equally near ones.
std::vector<int> StopOrder(COpnv& opnv) {
  std::vector<int> ids;
  for (CZorvaPointer* n = opnv.GetHstList()->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer())
    if (auto* stop = dynamic_cast<CSecondLayerObject*>(static_cast<CBuildingObject*>(n->GetZorvaObject())))
      ids.push_back(static_cast<int>(stop->GetID()));
  return ids;
}

// The lines as the demand model's route matrices read them: each by net
// type and number with its stops one way, in the order of the walk.
std::vector<std::string> LinesRead(COpnv& opnv) {
  std::vector<std::string> lines;
  opnv.SimSetupLineDataCount();
  while (const LineDataType* d = opnv.SimGetNextLineData()) {
    std::string line = std::to_string(d->netType) + "/" + std::to_string(d->lineNumber) + ":";
    for (int s = 0; s < d->stopsOneWay; ++s) {
      line += ' ';
      line += std::to_string(d->stopIds[s]);
    }
    lines.push_back(line);
  }
  return lines;
}

TEST(SavegameOrder, ALoadKeepsTheStopsInTheirOrderAndTheWalkingLinksAsTheyWere) {
  std::filesystem::create_directory("SaveGame");
  Scenario game;
  LineTown town;
  ASSERT_NO_FATAL_FAILURE(BuildLineTown(game, town));
  COpnv& opnv = *game.World().GetOpnv();
  const std::vector<int> stops = StopOrder(opnv);
  const std::vector<std::string> lines = LinesRead(opnv);
  ASSERT_EQ(stops.size(), 6u);
  // The east tram stop lies as near the west bus stop as the middle one:
  // which of them it walks to follows the stops' order.
  const auto id = [](CSecondLayerObject* stop) { return static_cast<int>(stop->GetID()); };
  ASSERT_EQ(opnv.HstToHstAirDistance(id(town.tramEast), id(town.west)),
            opnv.HstToHstAirDistance(id(town.tramEast), id(town.middle)));
  for (int load = 1; load <= 2; ++load) {
    ASSERT_EQ(game.World().SerializeGameStore(kGame), 0);
    ASSERT_EQ(game.World().SerializeGameLoad(kGame), 0);
    COpnv& loaded = *game.World().GetOpnv();
    EXPECT_EQ(StopOrder(loaded), stops) << "load " << load;
    EXPECT_EQ(LinesRead(loaded), lines) << "load " << load;
  }
}

}  // namespace
