// The game is deterministic through its savegames: with the fixed seed and
// the hand-driven clock, thirty and thirty-one simulated days played
// straight through end in the same savegames as the same days with a save
// and a load at every midnight (an even and an odd number of loads); so do
// ninety days of a town with bus and tram lines, the service measures'
// buildings, fares, prices, taxes and lights, whose savegame at each
// midnight is also that of the same days saved at every midnight without a
// load. The line town's view is moved off the town before the first day: a
// load puts the view back on the town, so the reloaded game shows its cars
// and vehicles while the straight one shows none, and after each load the
// view moves on to another place, zoom level and turn: what the player
// looks at must not change the city, nor the ground that each load lays on
// the bare land. A save and a load in the middle of a day keep the hour's
// traffic on the streets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "framework/zor_seams.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "model/data_exchange.h"
#include "network/crossing_objects.h"
#include "network/rail_junction.h"
#include "network/rail_track.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "sim/sim_city_model.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "scenario_opnv_steps.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_obj.h"

namespace {

using namespace zortest;

constexpr int kDays = 31;
// The line town's days; the sanitizer build, where a day takes ten times
// as long, plays a third of them.
#ifdef __SANITIZE_ADDRESS__
constexpr int kLineTownDays = 30;
#else
constexpr int kLineTownDays = 90;
#endif
// Hand-driven time per turn and the game's time per simulated hour (ms).
constexpr int kTurnMs = 50;
constexpr int kHourMs = 400;
// The window of a street.
constexpr int kStreetWindow = 190;

// Lights at up to `most` junctions of three streets or more, right of way at
// the second of them; the count of crossings set.
int SetLights(CZorvaWorld& world, int most) {
  int controlled = 0;
  for (CZorvaObject* o = world.GetStreetNet()->GetHead(); o && controlled < most; o = o->GetNext()) {
    auto* junction = static_cast<CStrJunction*>(o);
    if (junction->GetAnzLinkedStreets() < 3) continue;
    // As the player sets it, through the crossing's window variable.
    CKreuzObj* crossing = junction->GetKreuzObject();
    const double kind = controlled == 1 ? Ampel_Vorfahrt : Ampel_Ampel;
    if (crossing && crossing->SetVarData("KR.AMPEL", kind) == 0) ++controlled;
  }
  return controlled;
}

// A town of 4 x 4 street nodes, 6 tiles apart, with lights at two junctions
// and right of way at one, and a river beside it.
void BuildTown(CZorvaWorld& world) {
  CStrJunctionList* net = world.GetStreetNet();
  auto build = [&](int x1, int y1, int x2, int y2, TStrassenType type) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    ASSERT_EQ(net->CreateStreet(&line, type), STR_BUILD_OK) << x1 << "/" << y1 << " - " << x2 << "/" << y2;
  };
  const int o = 50, d = 6;
  // A first row, columns down from it, then the rows between them.
  build(o, o, o + 3 * d, o, STRASSE_1);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 3; ++j) build(o + i * d, o + j * d, o + i * d, o + (j + 1) * d, i == 1 ? STRASSE_2 : STRASSE_1);
  for (int j = 1; j < 4; ++j)
    for (int i = 0; i < 3; ++i) build(o + i * d, o + j * d, o + (i + 1) * d, o + j * d, j == 2 ? STRASSE_2 : STRASSE_1);
  // A river beside the town.
  for (int y = o; y < o + 3 * d; ++y)
    ASSERT_NE(world.CreateObject(OBJ_RIVER, 38398, CIsoRichtung(0), o + 3 * d + 3, y,
                                 static_cast<ESimLocationHeight>(0), nullptr, 0, nullptr, 0, -1),
              nullptr);
  // Buildings inside the blocks: their records go through every save and
  // load, and the houses and offices are locations of the demand model.
  for (const auto& [kind, x, y] :
       {std::tuple{OBJ_RESIDENTIAL, o + 1, o + 1}, std::tuple{OBJ_OFFICE, o + 7, o + 1},
        std::tuple{OBJ_RESIDENTIAL, o + 1, o + 7}, std::tuple{OBJ_SHOPPING, o + 13, o + 1},
        std::tuple{OBJ_SCHOOL, o + 13, o + 7}, std::tuple{OBJ_PARK, o + 7, o + 13}, std::tuple{OBJ_INDUSTRY, o + 13, o + 13}}) {
    TIsoRichtung dir = ISO_RICHTUNG_0;
    int resId = 0;
    CBuildingDataList::GetNrByData(kind, 1, 1, 1, dir, resId);
    // The kinds without a one-cell building take their smallest.
    if (resId == 0) resId = CBuildingDataList::GetBuildingResIDByType(kind, 1, nullptr);
    ASSERT_GT(resId, 0) << kind;
    ASSERT_NE(world.CreateObject(kind, resId, CIsoRichtung(0), x, y, static_cast<ESimLocationHeight>(0), nullptr, 0,
                                 nullptr, 0, -1),
              nullptr)
        << kind;
  }
  ASSERT_NE(world.CreateObject(OBJ_CARPARK_OPEN, 39431, CIsoRichtung(0), o + 8, o + 8,
                               static_cast<ESimLocationHeight>(0), nullptr, 0, nullptr, 0, -1),
            nullptr);
  ASSERT_EQ(SetLights(world, 3), 3);
}

// One simulated day is one game year.
int Day(CZorvaWorld& world) { return world.GetSimWelt()->Date().Year(); }

struct Ending {
  // The game at each midnight, as it was saved there (or would have been).
  std::vector<std::string> nights;
  // The game at the start of the last day, and at the end of the days.
  std::string eve;
  std::string game;
  // The same after one more save and load at a fixed time.
  std::string settled;
};

// The town of the public-transport scenarios with two bus lines and a tram
// line, their fares and vehicles; beside it the advice centre, a guidance
// mast, a car-sharing office with an outlet; parking prices, the advice's
// price, a raised tax and lights at the junctions.
void BuildLineTown(Scenario& game) {
  CZorvaWorld& world = game.World();
  LineTown town;
  ASSERT_NO_FATAL_FAILURE(zortest::BuildLineTown(game, town));
  const struct {
    TObjectType kind;
    int resId, x, y;
  } services[] = {{OBJ_ADVICE_CENTRE, 32456, 13, 7},
                  {OBJ_TRANSMITTER, CBuildingDataList::GetBuildingResIDByType(OBJ_TRANSMITTER, 0, nullptr), 2, 8},
                  {OBJ_CARSHARING_CENTRE, 28686, 20, -2},
                  {OBJ_CARSHARING_STATION, 29793, 9, 8}};
  for (const auto& b : services)
    ASSERT_NE(world.CreateObject(b.kind, b.resId, CIsoRichtung(0), town.ox + b.x, town.oy + b.y, SIM_HEIGHT_ANY,
                                 nullptr, 0, nullptr, 0, -1),
              nullptr)
        << b.kind;
  CDataExchange& dx = *world.GetDataExchange();
  for (const auto& [name, value] : {std::pair<const char*, double>{"OPNV.PRICE.BASE", 2.5},
                                    {"OPNV.PRICE.KM", 0.3},
                                    {"SV.TAX.KFZ.PKW", 120},
                                    {"MZ.PRICE.BERATUNG", 2},
                                    {"SV.TAX.GENERAL", 28}}) {
    dx.SetVarValue(name, value);
    EXPECT_NEAR(dx.GetVarValue(name), value, 1e-6) << name;
  }
  ASSERT_GE(SetLights(world, 2), 1);
  // The view goes off the town, to a corner of empty land; a load puts it
  // back in the middle of the map, where the town stands.
  game.Map().SetIsoCenter(12, 12);
}

// What a player does with the view after the load of each day: looks at
// another part of the map, at another zoom level, turned on by a quarter,
// as the buttons do it, and opens a window.
void LookElsewhere(Scenario& game, int day) {
  CIsoWelt& map = game.Map();
  const struct {
    int x, y;
    TIsoZoomStufe zoom;
  } looks[] = {{64, 64, ISO_ZOOM_2}, {50, 58, ISO_ZOOM_4}, {78, 70, ISO_ZOOM_1}, {110, 100, ISO_ZOOM_4}};
  const auto& look = looks[day % 4];
  map.SetIsoCenter(look.x, look.y);
  while (g_ZoomStufe < look.zoom) map.UserIntZoomIn();
  while (g_ZoomStufe > look.zoom) map.UserIntZoomOut();
  ASSERT_EQ(g_ZoomStufe, look.zoom);
  map.UserIntTurnRight();
  // A click on the middle of the view opens the window of what stands
  // there: a street's in the second look, which stays open into the day.
  game.Click(400, 300);
  if (day % 4 == 1) {
    EXPECT_TRUE(game.IsOpen(kStreetWindow)) << day;
  }
}

void LookAsAtTheStart(Scenario& game) {
  while (g_ZoomStufe > ISO_ZOOM_1) game.Map().UserIntZoomOut();
  while (g_IsoRichtung != 0) game.Map().UserIntTurnRight();
}

// What a game does at each change of day: plays on, or keeps the savegame
// it would write there and plays on, or saves and loads again.
enum class Midnight { kPlayOn, kSave, kSaveAndLoad };

// Plays the days in the town `build` makes, doing `midnight` at every
// change of day; with `look`, moves the view after each load.
Ending Play(Midnight midnight, const std::function<void(Scenario&)>& build = nullptr, int days = kDays,
            bool look = false) {
  const bool reload = midnight == Midnight::kSaveAndLoad;
  Clock().Set(0);
  // The rail networks number their junctions and tracks on from the last
  // game of the process: each run starts from the numbers a fresh process
  // has, so that both towns get the same ones.
  CStrSchJunction::m_SchJuncID = 1;
  CStrSchienen::m_SchienenID = 0;
  Scenario game;
  CZorvaWorld& world = game.World();
  if (build) {
    build(game);
  } else {
    BuildTown(world);
  }
  // People move into the town's homes: the agents and their trips go
  // through every save and load.
  world.GetDataExchange()->SetTargetPeople(2000);
  // The slider value whose hour lasts kHourMs.
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - kHourMs);
  std::filesystem::create_directory("SaveGame");
  const int first = Day(world);
  int day = first;
  int loads = 0;
  std::vector<int> firstGround;
  Ending end;
  for (int turn = 0; turn < 100000 && day - first < days; ++turn) {
    Clock().Advance(kTurnMs);
    world.OnPlayloopTurn();
    if (Day(world) == day) continue;
    day = Day(world);
    if (midnight == Midnight::kSave) {
      std::string binary, companion;
      EXPECT_TRUE(world.SerializeToMemory(binary, companion));
      end.nights.push_back(binary + companion);
    }
    if (reload) {
      EXPECT_EQ(world.SerializeGameStore("SaveGame/NIGHT.GMD"), 0);
      end.nights.push_back(ReadFile("SaveGame/NIGHT.GMD") + ReadFile("SaveGame/NIGHT.GMM"));
      EXPECT_EQ(world.SerializeGameLoad("SaveGame/NIGHT.GMD"), 0);
      ++loads;
      std::vector<int> ground;
      for (int c = 0; c < 128 * 128; ++c)
        if (CIsoInfo* cell = game.Map().GetIsoInfo(c / 128, c % 128); cell->GetType(ISO_LAYER_GROUND) == OBJ_GROUND)
          ground.push_back(cell->GetResID(ISO_LAYER_GROUND));
      if (firstGround.empty()) firstGround = ground;
      EXPECT_TRUE(ground == firstGround && ground.size() > 8000u) << day;
      if (look) LookElsewhere(game, day);
    }
    if (day - first == days - 1) {
      std::string binary, companion;
      EXPECT_TRUE(world.SerializeToMemory(binary, companion));
      end.eve = binary + companion;
    }
  }
  EXPECT_EQ(day - first, days);
  EXPECT_GT(world.GetSimWelt()->pCityModell()->NrOfAgents(), 0);
  if (reload) {
    EXPECT_EQ(loads, days);
  }
  std::string binary, companion;
  EXPECT_TRUE(world.SerializeToMemory(binary, companion));
  end.game = binary + companion;
  Clock().Set(100000000);
  EXPECT_EQ(world.SerializeGameStore("SaveGame/END.GMD"), 0);
  EXPECT_EQ(world.SerializeGameLoad("SaveGame/END.GMD"), 0);
  EXPECT_TRUE(world.SerializeToMemory(binary, companion));
  end.settled = binary + companion;
  LookAsAtTheStart(game);
  return end;
}

// Where a record lies in a savegame: its length field stands before its
// name; the length is given where the name alone could be part of another.
std::pair<size_t, size_t> RecordOf(const std::string& game, const std::string& name, uint32_t length = 0) {
  std::string key = name + std::string(1, '\0');
  if (length)
    for (int i = 3; i >= 0; --i) key.insert(key.begin(), static_cast<char>(length >> (8 * i) & 0xFF));
  const size_t at = game.find(key);
  if (at == std::string::npos) return {0, 0};
  const size_t start = length ? at : at - 4;
  uint32_t stored = 0;
  for (int i = 3; i >= 0; --i) stored = stored << 8 | static_cast<uint8_t>(game[start + static_cast<size_t>(i)]);
  return {start, start + 4 + stored};
}

// A load stamps the messages of the data exchange, of park-and-ride, of car
// sharing, of route guidance and of the travel assistant with the time of
// the load and the quotes of the moment: the last four fields of the data
// exchange's record and the last two of each measure's. Nothing else of the
// game may differ.
void ExpectSameGame(const std::string& straight, const std::string& reloaded, const char* when) {
  ASSERT_FALSE(straight.empty()) << when;
  ASSERT_EQ(straight.size(), reloaded.size()) << when;
  const auto [from, to] = RecordOf(straight, "DATAEXCHANGE");
  ASSERT_LT(from + 16, to) << when;
  std::vector<std::pair<size_t, size_t>> stamps = {{to - 16, to}};
  for (const auto& [name, length] : {std::pair<const char*, uint32_t>{"ParkRide", 74},
                                     {"Carsharing", 1142},
                                     {"AktiveRP", 1146},
                                     {"Pta", 98}}) {
    const auto [start, end] = RecordOf(straight, name, length);
    ASSERT_LT(start + 8, end) << name;
    stamps.push_back({end - 8, end});
  }
  size_t differing = 0;
  std::string first;
  for (size_t i = 0; i < straight.size(); ++i) {
    if (straight[i] == reloaded[i]) continue;
    bool stamp = false;
    for (const auto& [a, b] : stamps) stamp = stamp || (i >= a && i < b);
    if (stamp) continue;
    if (++differing > 20) continue;
    first += ' ';
    first += std::to_string(i);
  }
  EXPECT_EQ(differing, 0u) << when << ": the games differ outside the message stamps, first at" << first;
}

TEST(SavegameDeterminism, DaysStraightAndWithALoadEveryMidnightEndInTheSameSavegame) {
  const Ending straight = Play(Midnight::kPlayOn);
  const Ending reloaded = Play(Midnight::kSaveAndLoad);
  if (const char* dir = std::getenv("ZOR_DETERMINISM_DUMP")) {
    WriteFile(std::string(dir) + "/straight.bin", straight.game);
    WriteFile(std::string(dir) + "/reloaded.bin", reloaded.game);
  }
  ExpectSameGame(straight.eve, reloaded.eve, "after 30 days");
  ExpectSameGame(straight.game, reloaded.game, "after 31 days");
  // Loaded once more at the same time, the two are the same to the byte.
  EXPECT_TRUE(straight.settled == reloaded.settled);
}

TEST(SavegameDeterminism, ALineTownsDaysStraightAndWithALoadEveryMidnightEndInTheSameSavegame) {
  const Ending straight = Play(Midnight::kPlayOn, BuildLineTown, kLineTownDays);
  const Ending saving = Play(Midnight::kSave, BuildLineTown, kLineTownDays);
  const Ending reloaded = Play(Midnight::kSaveAndLoad, BuildLineTown, kLineTownDays, true);
  if (const char* dir = std::getenv("ZOR_DETERMINISM_DUMP")) {
    WriteFile(std::string(dir) + "/line_straight.bin", straight.game);
    WriteFile(std::string(dir) + "/line_reloaded.bin", reloaded.game);
  }
  // At each midnight the game that loads again saves what the game that
  // only saves does: a difference that one day brings and the next takes
  // away shows here, not in the end.
  ASSERT_EQ(saving.nights.size(), reloaded.nights.size());
  for (size_t day = 0; day < saving.nights.size(); ++day)
    ExpectSameGame(saving.nights[day], reloaded.nights[day], ("at midnight " + std::to_string(day + 1)).c_str());
  ExpectSameGame(straight.game, saving.game, "after the line town's days, saved at each midnight");
  ExpectSameGame(straight.game, reloaded.game, "after the line town's days");
  EXPECT_TRUE(straight.settled == reloaded.settled);
}

// The cars of the active hour on the town's streets, both directions.
long HourTraffic(CZorvaWorld& world) {
  long cars = 0;
  for (CZorvaObject* o = world.GetStreetNet()->GetHead(); o; o = o->GetNext()) {
    auto* junction = static_cast<CStrJunction*>(o);
    for (int i = 0; i < junction->GetAnzLinkedStreets(); ++i)
      if (CStrStrasse* s = junction->GetStreetByNR(i); s && s->GetStartJunction() == junction)
        for (short id : {s->GetSimID(), s->GetSimIDSecond()})
          if (id > 0) cars += world.GetSimWelt()->CarFlow(id);
  }
  return cars;
}

// Saved in the morning of the second day, in the hour the town's people go
// to work, and loaded after the game ran on: the hour keeps their traffic on
// its streets (the loaded hour is not computed again after the load, so a
// load that left it empty would show bare streets for an hour and feed them
// to every reader of the hour), and the hours after the load are those the
// saved game played, to the byte, although the random sequence had moved on.
TEST(SavegameDeterminism, AGameLoadedInTheMorningKeepsTheHoursTrafficAndPlaysOnAsSaved) {
  // The hour in which the town's people drive to work.
  constexpr int kWorkHour = 9;
  Clock().Set(0);
  Scenario game;
  CZorvaWorld& world = game.World();
  BuildTown(world);
  world.GetDataExchange()->SetTargetPeople(2000);
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - kHourMs);
  std::filesystem::create_directory("SaveGame");
  CSimWelt* sim = world.GetSimWelt();
  auto playTo = [&](int day, int hour) {
    for (int turn = 0; turn < 100000 && !(Day(world) == day && sim->Date().Hour() == hour); ++turn) {
      Clock().Advance(kTurnMs);
      world.OnPlayloopTurn();
    }
    ASSERT_EQ(sim->Date().Hour(), hour);
  };
  const int first = Day(world);
  ASSERT_NO_FATAL_FAILURE(playTo(first + 1, kWorkHour));
  const long before = HourTraffic(world);
  ASSERT_GT(before, 0);
  ASSERT_EQ(world.SerializeGameStore("SaveGame/MORNING.GMD"), 0);
  const uint32_t saved = Clock().Now();
  ASSERT_NO_FATAL_FAILURE(playTo(first + 2, 12));
  std::string binary, companion;
  ASSERT_TRUE(world.SerializeToMemory(binary, companion));
  const std::string straight = binary + companion;

  Clock().Set(saved);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/MORNING.GMD"), 0);
  ASSERT_EQ(sim->Date().Hour(), kWorkHour);
  EXPECT_EQ(HourTraffic(world), before);
  ASSERT_NO_FATAL_FAILURE(playTo(first + 2, 12));
  ASSERT_TRUE(world.SerializeToMemory(binary, companion));
  ExpectSameGame(straight, binary + companion, "a day after the morning's load");
}

}  // namespace
