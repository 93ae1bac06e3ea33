// The thematic map and the small map on the real game: a town whose streets
// carry the network's loads, the map window opened from the interface with
// a layer chosen by its button, the lines drawn over the public-transport
// layers, and clicks on both maps that move the view.
#include <gtest/gtest.h>

#include "sim/sim_city_model.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>

#include "framework/qno_log.h"
#include "framework/qno_resource.h"
#include "framework/zor_stand_in.h"
#include "gui/gui_host.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "sim/sim_network.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/town_fixture.h"
#include "world/zor_world.h"

namespace {

using zortest::Scenario;

constexpr int kBusStop = 32290;
// The first of the side streets that carry the loads.
constexpr int kY0 = 68;

struct ThematicMap : towntest::Town {
  CTwoDMap& Map() { return *game.Ui().GetTwoDMap(); }
  // The world picture's pixel of cell (x, y).
  static uint16_t At(int x, int y) { return CTwoDMap::WorldPicture().Get(y, 127 - x); }
  CStrStrasse* StreetAt(int x, int y) {
    auto* road = dynamic_cast<CStreetObj*>(world.GetIsoWelt()->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
    return road ? road->GetStreetList() : nullptr;
  }
  // The hour that holds the new streets is computed and becomes active.
  void ActivateHour() {
    CSimWelt* sim = world.GetSimWelt();
    for (int guard = 0; sim->Computate(1) != 0 && guard < 100000; ++guard) {
    }
    ASSERT_GT(sim->StartNextIntervall(false), 0);
    for (int guard = 0; sim->Computate(1) != 0 && guard < 100000; ++guard) {
    }
    ASSERT_TRUE(sim->ActivateCalculatedSlot());
  }
  // Puts a flow and a capacity on both directions of the street in the
  // active hour; the network pulls them as the game does.
  void Load(CStrStrasse* s, int flow, short capacity) {
    ASSERT_NE(s, nullptr);
    for (int id : {s->GetSimID(), s->GetSimIDSecond()}) {
      CSimStreet* d = id ? world.GetSimWelt()->ActiveSlot()->GetStreet(static_cast<short>(id)) : nullptr;
      if (!d) continue;
      d->ResetCarFlow();
      d->AddCarFlow(id == s->GetSimID() ? flow : 0);
      d->SetCapacity(capacity);
    }
  }
  CSecondLayerObject* Stop(int x, int y) {
    auto* stop = dynamic_cast<CSecondLayerObject*>(Place(OBJ_BUSSTOP_SIGN, kBusStop, x, y));
    EXPECT_NE(stop, nullptr) << "a stop at " << x << "/" << y;
    return stop;
  }
  static short SimID(CSecondLayerObject* stop) {
    int x, y;
    CStreetObj* street = stop->GetStreet(&x, &y);
    return street ? static_cast<short>(street->GetSimID()) : 0;
  }
  COpnvLine* Line(std::initializer_list<CSecondLayerObject*> stops) {
    COpnvLine* line = COpnv::Get()->CreateNewLine(1);
    EXPECT_NE(line, nullptr);
    for (CSecondLayerObject* s : stops) EXPECT_EQ(line->ToolAddHstTail(s, SimID(s)), 0);
    return line;
  }
  static uint16_t LineColour(COpnvLine* line) {
    unsigned char r, g, b;
    line->GetColor(r, g, b);
    return Scenario::Rgb(r, g, b);
  }
};

TEST_F(ThematicMap, TheLoadLayerColoursEachStreetByTheNetworksLoad) {
  // Four streets apart, and one whose capacity is 0.
  const int flows[] = {300, 400, 875, 876, 900};
  const short capacities[] = {600, 600, 600, 600, 0};
  // Red and green of the load's colour; 876 and more is full red, and a
  // street without capacity counts as unloaded.
  const int expected[][2] = {{126, 128}, {169, 85}, {254, 0}, {255, 0}, {0, 255}};
  // Five side streets off a street joined to the town.
  ASSERT_EQ(Street(66, 63, 70, 63), STR_BUILD_OK);
  ASSERT_EQ(Street(70, 63, 70, 100), STR_BUILD_OK);
  for (int i = 0; i < 5; ++i) ASSERT_EQ(Street(70, kY0 + 6 * i, 76, kY0 + 6 * i), STR_BUILD_OK) << i;
  ASSERT_NO_FATAL_FAILURE(ActivateHour());
  for (int i = 0; i < 5; ++i) ASSERT_NO_FATAL_FAILURE(Load(StreetAt(73, kY0 + 6 * i), flows[i], capacities[i]));
  world.GetStreetNet()->UpdateCarFlow();
  ASSERT_EQ(StreetAt(73, kY0)->GetAuslastung(), 300) << "the network holds the hour's load";

  Map().ChangeFilter(7);
  ASSERT_EQ(Map().GetFilter(), 7);
  for (int i = 0; i < 5; ++i) {
    TMap_ColorHeight c;
    ASSERT_EQ(CViewFilter::GetIsoTileColor(Map().GetMapIndex(), 73, kY0 + 6 * i, &c), 0);
    EXPECT_EQ(c.red, expected[i][0]) << "flow " << flows[i];
    EXPECT_EQ(c.green, expected[i][1]) << "flow " << flows[i];
    EXPECT_EQ(c.blue, 0);
    EXPECT_EQ(At(73, kY0 + 6 * i), Scenario::Rgb(expected[i][0], expected[i][1], 0)) << "flow " << flows[i];
  }
  // Junctions light grey, open land grass.
  EXPECT_EQ(At(60, 63), Scenario::Rgb(180, 180, 180));
  EXPECT_EQ(At(20, 20), Scenario::Rgb(0, 159, 98));

  // A new hour's load reaches the picture at the hour's refresh.
  ASSERT_NO_FATAL_FAILURE(Load(StreetAt(73, kY0), 0, 600));
  world.GetStreetNet()->UpdateCarFlow();
  EXPECT_EQ(At(73, kY0), Scenario::Rgb(126, 128, 0)) << "nothing rebuilt yet";
  Map().DisplayHideMap(DISPLAY_SHOW);
  Map().UpdateAll();
  Map().OnPlayloopTurn();
  EXPECT_EQ(At(73, kY0), Scenario::Rgb(0, 255, 0));
}

TEST_F(ThematicMap, TheReachLayerAndTheStatisticLayersDrawTheLinesOverTheNet) {
  ASSERT_NO_FATAL_FAILURE(LongStreetAt80());
  ASSERT_EQ(Street(80, 70, 90, 70), STR_BUILD_OK);
  const int house = RowWith(OBJ_RESIDENTIAL, 1, 24, 1, 1);
  ASSERT_GE(house, 0);
  ASSERT_NE(Place(OBJ_RESIDENTIAL, CBuildingDataList::GetPotentialByNr(house)->resId, 82, 60), nullptr);
  CSecondLayerObject* a = Stop(80, 50);
  CSecondLayerObject* b = Stop(80, 62);
  ASSERT_TRUE(a && b);

  // Reach: the house's nearest stop serves no line yet.
  Map().ChangeFilter(8);
  EXPECT_EQ(At(82, 60), Scenario::Rgb(255, 0, 0));
  // One line on one street, between its two stops.
  COpnvLine* single = Line({a, b});
  Map().ChangeFilter(8);
  TMap_ColorHeight c;
  ASSERT_EQ(CViewFilter::GetIsoTileColor(Map().GetMapIndex(), 82, 60, &c), 0);
  short id = -1;
  int distance = -1;
  ASSERT_TRUE(BuildingAt(82, 60)->GetSimLocation()->GetNearestHst(id, distance));
  ASSERT_GT(distance, 100);
  EXPECT_EQ(c.red, distance / 4) << "a quarter of the distance to the served stop";
  EXPECT_EQ(c.green, 255 - distance / 4);
  EXPECT_EQ(c.height, distance / 4);
  EXPECT_EQ(At(82, 60), Scenario::Rgb(c.red, c.green, 0));
  EXPECT_EQ(At(80, 56), LineColour(single));
  EXPECT_EQ(At(80, 45), Scenario::Rgb(180, 180, 180)) << "before the first stop: the street alone";
  EXPECT_EQ(At(80, 66), Scenario::Rgb(180, 180, 180)) << "after the last stop";

  // A second line over two streets, from its stop to the shared crossing
  // and on to its other stop; shown in a statistic layer over the net.
  CSecondLayerObject* north = Stop(80, 40 + 20);
  CSecondLayerObject* east = Stop(85, 70);
  ASSERT_TRUE(north && east);
  COpnvLine* two = Line({north, east});
  ASSERT_EQ(two->GetData()->streetsOneWay, 2);
  Map().ChangeFilter(9);
  EXPECT_EQ(At(80, 66), LineColour(two)) << "on the way to the crossing";
  EXPECT_EQ(At(83, 70), LineColour(two)) << "from the crossing to the stop";
  EXPECT_EQ(At(88, 70), Scenario::Rgb(180, 180, 180)) << "past the last stop";
  EXPECT_EQ(At(80, 80), Scenario::Rgb(180, 180, 180)) << "the route turns at the crossing";
  EXPECT_EQ(At(30, 30), Map().GetPaletteEntry(0)) << "a district without persons has no bus share";
  // The layer of free homes draws the city's homes less its residents per
  // district, on a scale from 0 to 2000 at the least.
  ASSERT_NE(Place(OBJ_RESIDENTIAL, OneCell(OBJ_RESIDENTIAL), 61, 61), nullptr);
  const CSimDistrict* district = world.GetSimWelt()->pCityModell()->pDistrictAt(7, 7);
  const int free = district->NrOfHomes() - district->NrOfResidents();
  ASSERT_GT(free, 0);
  Map().ChangeFilter(4);
  const float maximum = std::max(2000.0f, static_cast<float>(free));
  EXPECT_EQ(At(61, 61), Map().GetPaletteEntry(static_cast<int>(static_cast<float>(free) / maximum * 255.0f)));
  EXPECT_EQ(At(30, 100), Map().GetPaletteEntry(0)) << "a district without homes";
  // Layer 0, reached from a number outside the table, is the net alone.
  Map().ChangeFilter(25);
  EXPECT_EQ(Map().GetFilter(), 0);
  EXPECT_EQ(At(80, 56), Scenario::Rgb(180, 180, 180));
  Map().ChangeFilter(-3);
  EXPECT_EQ(Map().GetFilter(), 0);
}

TEST_F(ThematicMap, OpenedFromTheInterfaceItShowsTheChosenLayerAndBothMapsMoveTheView) {
  QnoResourceManager& resources = *world.GetResourceManager();
  resources.TrackRequests(true);
  ASSERT_NO_FATAL_FAILURE(ActivateHour());
  ASSERT_NO_FATAL_FAILURE(Load(StreetAt(60, 61), 876, 600));
  world.GetStreetNet()->UpdateCarFlow();

  // M opens the map window with its city page; the traffic tab, then the
  // street-load button.
  game.Key(SDLK_m).Run({zortest::Frames(2)});
  ASSERT_FALSE(Map().IsHidden());
  EXPECT_EQ(game.Ui().IsWindowOpen(201), 0);
  game.Click(424, 86).Run({zortest::Frames(2)});
  ASSERT_EQ(game.Ui().IsWindowOpen(204), 0) << "the traffic page";
  game.Click(415, 130).Run({zortest::Frames(7)});
  ASSERT_EQ(Map().GetFilter(), 7);
  // A press inside the page, off its buttons, keeps the page and its layer.
  game.Click(50 + 279 + 165, 50 + 29 + 250).Run({zortest::Frames(2)});
  EXPECT_EQ(game.Ui().IsWindowOpen(204), 0);
  EXPECT_EQ(Map().GetFilter(), 7);

  // The map item at (64, 80) shows the screen picture: the loaded street
  // is red on the screen.
  const int left = 50 + 14, top = 50 + 30;
  int column, row;
  CTwoDMap::CellToScreen(60, 61, &column, &row);
  EXPECT_EQ(game.Pixel(left + column, top + 255 - row), At(60, 61));
  TMap_ColorHeight c;
  ASSERT_EQ(CViewFilter::GetIsoTileColor(Map().GetMapIndex(), 60, 61, &c), 0);
  EXPECT_GT(c.red, 128) << "the loaded street is drawn toward red";
  EXPECT_EQ(At(60, 61), Scenario::Rgb(c.red, c.green, 0));

  // A click on the map centres the view on the cell under the cursor.
  CTwoDMap::CellToScreen(40, 90, &column, &row);
  game.Click(left + column, top + 255 - row).Run({zortest::Frames(2)});
  EXPECT_NEAR(game.Map().GetCenterX(), 40, 1);
  EXPECT_NEAR(game.Map().GetCenterY(), 90, 1);

  // The small map in the shown panel: a click on a cell's pixel jumps there.
  CSmallMap* small = game.Ui().GetSmallMap();
  game.Run({zortest::Move(400, 590), zortest::Frames(7)});
  int px, py;
  small->IsoKoorToScreenKoor(100, 30, &px, &py);
  game.Click(small->GetWindowPosX() + px, small->GetWindowPosY() + small->GetHeight() - 1 - py)
      .Run({zortest::Frames(7)});
  EXPECT_NEAR(game.Map().GetCenterX(), 100, 1);
  EXPECT_NEAR(game.Map().GetCenterY(), 30, 1);
  resources.TrackRequests(false);
  EXPECT_TRUE(resources.MissingIds().empty()) << "first missing: " << *resources.MissingIds().begin();
  game.Shot("thematic-map-loads");
}

// Every layer of the thematic map, chosen from the interface: the layers
// with a button on the map's pages by a click on it, the others as the
// interface's layer action chooses them. Each shows its own colour key,
// whose ends on the screen are the ends of its layer's palette, or no key;
// the layers whose data the game does not make yet say so in the log, once.
TEST_F(ThematicMap, EveryLayerShowsItsOwnKeyAndTheLayersWithoutDataSaySoOnce) {
  struct Page {
    int id, tabX, keyY;
    std::vector<int> layers;  // the layer buttons from the top
  };
  const Page pages[] = {{202, 345, 153, {1, 2, 3, 4, 5}},
                        {204, 424, 220, {6, 7, 8, 9, 10, 11, 13, 14}},
                        {203, 475, 120, {15, 16, 17}}};
  // The pages stand at (329, 79) on the screen; their buttons 17 pixels
  // apart from y 26 on, their keys at x 11.
  constexpr int kPageX = 329, kPageY = 79;
  // The key's end colours: palette entries 0 and 253 (its first and last
  // column); none for a layer that shows no key.
  struct Ends {
    int r0, g0, b0, r1, g1, b1;
  };
  const Ends blackToGreen{0, 0, 0, 0, 253, 0}, greenToRed{0, 0, 0, 253, 2, 0}, loads{0, 255, 0, 253, 2, 0},
      bumpBlue{10, 10, 150, 5, 251, 0}, bumpGrass{0, 159, 98, 5, 251, 0}, bumpBlack{0, 0, 0, 5, 251, 0},
      reversed{0, 0, 0, 251, 5, 0}, ramp{255, 0, 0, 0, 254, 0}, greenToBlack{0, 255, 0, 0, 2, 0};
  const std::map<int, Ends> keys = {{2, blackToGreen}, {3, blackToGreen}, {4, greenToRed},  {5, greenToRed},
                                    {7, loads},        {8, bumpBlue},     {9, bumpGrass},   {10, bumpBlack},
                                    {11, bumpBlack},   {12, bumpBlack},   {13, bumpBlack},  {14, bumpBlack},
                                    {15, reversed},    {16, reversed},    {17, ramp},       {18, greenToBlack},
                                    {19, greenToBlack}};
  // The layers whose pictures the game cannot fill yet, by what stands in.
  const std::map<std::string, std::vector<int>> standIns = {};
  std::map<std::string, int> reachedBefore;
  for (const auto& [name, layers] : standIns) reachedBefore[name] = ZorStandInCount(name);

  game.Key(SDLK_m).Run({zortest::Frames(2)});
  ASSERT_FALSE(Map().IsHidden());
  int shownPage = 202;
  const Page* onPage = &pages[0];
  auto keyColumn = [&](int column) {
    const int keyX = kPageX + 11, keyY = kPageY + onPage->keyY;
    return game.Pixel(keyX + column, keyY + 2);
  };
  std::map<int, uint64_t> keyRegion;
  for (int layer = 1; layer <= 24; ++layer) {
    const Page* page = nullptr;
    int button = -1;
    for (const Page& p : pages)
      for (size_t k = 0; k < p.layers.size(); ++k)
        if (p.layers[k] == layer) page = &p, button = static_cast<int>(k);
    std::map<std::string, int> reached;
    for (const auto& [name, layers] : standIns) reached[name] = ZorStandInCount(name);
    if (page) {
      if (page->id != shownPage) {
        game.Click(page->tabX, kPageY + 7).Run({zortest::Frames(2)});
        ASSERT_EQ(game.Ui().IsWindowOpen(page->id), 0) << "page " << page->id;
        shownPage = page->id;
        onPage = page;
      }
      game.Click(kPageX + 80, kPageY + 26 + 17 * button + 8);
    } else {
      CGuiHost::Get()->ChangeThematicMapFilter(layer);
    }
    game.Run({zortest::Frames(7)});
    // Layer 24 is not offered: the map turns to layer 0, the net alone.
    EXPECT_EQ(Map().GetFilter(), layer == 24 ? 0 : layer);
    const zortest::Region region{kPageX + 11, kPageY + onPage->keyY, kPageX + 11 + 152, kPageY + onPage->keyY + 12};
    keyRegion[layer] = game.Fingerprint(region);
    if (const auto it = keys.find(layer); it != keys.end()) {
      const Ends& e = it->second;
      EXPECT_EQ(keyColumn(0), Scenario::Rgb(e.r0, e.g0, e.b0)) << "the key's start in layer " << layer;
      EXPECT_EQ(keyColumn(151), Scenario::Rgb(e.r1, e.g1, e.b1)) << "the key's end in layer " << layer;
      EXPECT_EQ(Map().GetPaletteEntry(0), Scenario::Rgb(e.r0, e.g0, e.b0)) << layer;
    }
    for (const auto& [name, layers] : standIns) {
      const bool standsIn = std::find(layers.begin(), layers.end(), layer) != layers.end();
      EXPECT_EQ(ZorStandInCount(name) > reached[name], standsIn) << name << " in layer " << layer;
    }
  }
  // Layers 20 and 21 keep black to green, 22 turns the bump with dark blue
  // at 0, and 23 and 0 keep what 22 made.
  EXPECT_EQ(Map().GetPaletteEntry(0), Scenario::Rgb(10, 10, 150));
  EXPECT_EQ(Map().GetPaletteEntry(253), Scenario::Rgb(5, 251, 0));
  // No key in 20 and above and in layer 0, nor in the layers of the city's
  // structure and of street types: the page's background shows.
  const zortest::Region lastKey{kPageX + 11, kPageY + 120, kPageX + 11 + 152, kPageY + 120 + 12};
  for (int layer : {1, 6}) {
    CGuiHost::Get()->ChangeThematicMapFilter(layer);
    game.Run({zortest::Frames(7)});
    keyRegion[layer] = game.Fingerprint(lastKey);
  }
  EXPECT_EQ(keyRegion[6], keyRegion[1]);
  for (int layer : {20, 21, 22, 23, 24}) EXPECT_EQ(keyRegion[layer], keyRegion[1]) << layer;
  EXPECT_NE(keyRegion[17], keyRegion[1]);
  // Every key differs from the next layer's, but for the layers that share
  // their palette.
  EXPECT_NE(keyRegion[3], keyRegion[4]);
  EXPECT_NE(keyRegion[7], keyRegion[8]);
  EXPECT_NE(keyRegion[8], keyRegion[9]);
  EXPECT_NE(keyRegion[14], keyRegion[15]);
  EXPECT_NE(keyRegion[16], keyRegion[17]);
  EXPECT_NE(keyRegion[17], keyRegion[18]);

  // Each stand-in's line stands in the log once at most, and here when it
  // was first reached by these layers.
  CloseErrorLog();
  const std::string log = zortest::ReadFile("errors.log");
  for (const auto& [name, layers] : standIns) {
    int lines = 0;
    const std::string line = "Not built yet: " + name;
    for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++lines;
    EXPECT_LE(lines, 1) << name;
    if (reachedBefore[name] == 0) {
      EXPECT_EQ(lines, 1) << name;
    }
  }
  OpenErrorLog("errors.log");
}

}  // namespace
