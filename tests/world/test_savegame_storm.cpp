// Savegames under load: a town with every kind of object a player places
// plays on for days with traffic, saved and loaded at random moments; every
// load succeeds and saves again to the same bytes. Its savegames cut short
// or with a byte changed are refused, or load soundly; a refused load
// leaves the running game, and what the savegame does not hold, as it was.
//
// ZOR_STORM_LOADS sets the loads per seed (50 by default, 20 in the
// sanitizer build), ZOR_STORM_SEEDS the number of seeds (3), ZOR_STORM_DAMAGE
// the damaged files per savegame (50 cuts and 50 flips by default, 20 in the
// sanitizer build, where the fuzzing build's savegame target damages more).
// Each seed, and each part of the damaged-file run, is a test of its own so
// that they run side by side.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "model/gott_modus.h"
#include "measures/advice_centre.h"
#include "measures/carsharing.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/park_ride.h"
#include "measures/pta.h"
#include "model/data_exchange.h"
#include "model/finanzen.h"
#include "model/message.h"
#include "model/gott_modus.h"
#include "network/crossing_objects.h"
#include "network/rail_junction_list.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "sim/sim_city_model.h"
#include "sim/sim_parking_data.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "opnv_window_steps.h"
#include "scenario_opnv_steps.h"
#include "savegame_bytes.h"
#include "gui/dialog.h"
#include "gui/screen_window.h"
#include "ui/user_int.h"
#include "world/zor_load_keep.h"
#include "world/zor_world.h"
#include "worldbase/building_catalogue.h"

namespace {

using namespace zortest;

constexpr int kTurnMs = 50;
constexpr int kHourMs = 400;
#ifdef __SANITIZE_ADDRESS__
constexpr int kLoads = 20, kDamage = 20;
#else
constexpr int kLoads = 50, kDamage = 50;
#endif

int Setting(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && std::atoi(v) > 0 ? std::atoi(v) : fallback;
}

// The stop tool's subtool used at the cell, with the view centred on it.
CSecondLayerObject* PlaceStopInView(Scenario& game, int subtool, Cell c) {
  const int cx = game.Map().GetCenterX(), cy = game.Map().GetCenterY();
  game.Map().SetIsoCenter(c.x, c.y);
  game.Do(Wait(40));
  CSecondLayerObject* stop = PlaceStop(game, subtool, c);
  game.Map().SetIsoCenter(cx, cy);
  game.Do(Wait(40));
  return stop;
}

// Sets a variable of the street at the cell, as its window does.
void StreetVar(CZorvaWorld& world, int x, int y, const char* name, double value) {
  CWorldObj* street = world.GetIsoWelt()->GetIsoTileObject(x, y, ISO_LAYER_GROUND);
  ASSERT_NE(street, nullptr) << x << "/" << y;
  ASSERT_EQ(street->SetVarData(name, value), 0) << name << " at " << x << "/" << y;
}

CWorldObj* Put(CZorvaWorld& world, TObjectType kind, int resId, int x, int y) {
  return world.CreateObject(kind, resId, CIsoRichtung(0), x, y, SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0, -1);
}

// The town: streets of three types, a track with a tram line, bus lines with their buses, every building kind of the
// palette, and the measures' campaigns running.
struct StormTown {
  Scenario& game;
  CZorvaWorld& world;
  int ox = 0, oy = 0;
  CBuildingParkRideObject* station = nullptr;
  int firstLine = -1;
  explicit StormTown(Scenario& g) : game(g), world(g.World()) {}

  void Build() {
    Cell c;
    ASSERT_EQ(game.Map().MouseKoorToIsoKoor(250, 220, &c.x, &c.y), 0);
    ox = c.x - 12;
    oy = c.y - 4;
    auto street = [&](int x1, int y1, int x2, int y2, TStrassenType type) {
      EXPECT_EQ(BuildStreet(world, ox + x1, oy + y1, ox + x2, oy + y2, type), STR_BUILD_OK)
          << x1 << "/" << y1 << " - " << x2 << "/" << y2;
    };
    street(0, 0, 24, 0, STRASSE_2);
    street(0, 0, 0, 10, STRASSE_1);
    street(16, 0, 16, 10, STRASSE_1);
    street(24, 0, 24, 10, STRASSE_1);
    street(0, 10, 16, 10, STRASSE_1);
    street(16, 10, 24, 10, STRASSE_1);
    // A one-way street off the south row.
    street(0, 10, 0, 18, STRASSE_EINBAHN);
    // A four-lane street leaving the east street.
    street(24, 6, 38, 6, STRASSE_VIERSPURIG);
    // The tram's track, across the west street at a level crossing.
    CStrBuildLine track(static_cast<short>(ox - 8), static_cast<short>(oy + 3), static_cast<short>(ox + 14),
                        static_cast<short>(oy + 3));
    ASSERT_EQ(world.GetStreetNet()->GetRailNet()->CreateStreet(&track, STRASSE_SCHIENE), STR_BUILD_OK);
    ASSERT_TRUE(world.GetStreetNet()->GetRailNet()->HasGrdCrossingAt(static_cast<short>(ox), static_cast<short>(oy + 3)));
    const std::tuple<TObjectType, int, int> buildings[] = {
        {OBJ_RESIDENTIAL, 1, -2}, {OBJ_RESIDENTIAL, 4, -2}, {OBJ_RESIDENTIAL, 7, -2}, {OBJ_RESIDENTIAL, 2, -5},
        {OBJ_RESIDENTIAL, 5, -5}, {OBJ_RESIDENTIAL, 16, -2}, {OBJ_RESIDENTIAL, 22, -5}, {OBJ_OFFICE, 10, 12},
        {OBJ_OFFICE, 18, 7},      {OBJ_OFFICE, 22, 8},      {OBJ_INDUSTRY, 7, 12},     {OBJ_SHOPPING, 16, 12},
        {OBJ_SCHOOL, 21, 4},      {OBJ_PARK, 20, 12},       {OBJ_SPORTS, 3, 5},        {OBJ_RESIDENTIAL, 6, 5},
        {OBJ_OFFICE, 11, 5}, {OBJ_ENTERTAINMENT, 13, -6}};
    for (const auto& [kind, x, y] : buildings) {
      const int resId = CBuildingDataList::GetBuildingResIDByType(kind, 1, nullptr);
      ASSERT_GT(resId, 0) << kind;
      ASSERT_NE(Put(world, kind, resId, ox + x, oy + y), nullptr) << kind << " at " << x << "/" << y;
    }
    // Bus and tram stops; the park-and-ride station beside the east stop.
    CSecondLayerObject* west = PlaceStop(game, 1, {ox + 4, oy});
    CSecondLayerObject* east = PlaceStop(game, 1, {ox + 18, oy});
    CSecondLayerObject* middle = PlaceStop(game, 1, {ox + 16, oy + 6});
    CSecondLayerObject* south = PlaceStop(game, 1, {ox + 10, oy + 10});
    CSecondLayerObject* tramWest = PlaceStopInView(game, 4, {ox - 4, oy + 3});
    CSecondLayerObject* tramEast = PlaceStop(game, 4, {ox + 10, oy + 3});
    ASSERT_TRUE(west && east && middle && south && tramWest && tramEast) << ox << "/" << oy;
    // A stop with shelters on the west street, and both forms of stop on the four-lane street.
    CSecondLayerObject* shelter = PlaceStopInView(game, 2, {ox, oy + 7});
    CSecondLayerObject* sign4 = PlaceStopInView(game, 1, {ox + 29, oy + 6});
    CSecondLayerObject* shelter4 = PlaceStopInView(game, 2, {ox + 33, oy + 6});
    ASSERT_TRUE(shelter && sign4 && shelter4);
    EXPECT_EQ(shelter->GetType(), OBJ_BUSSTOP_SHELTER);
    EXPECT_EQ(sign4->GetType(), OBJ_BUSSTOP_SIGN4);
    EXPECT_EQ(shelter4->GetType(), OBJ_BUSSTOP_SHELTER4);
    // The streets' own measures: traffic guidance with its signs on the middle and the four-lane street, a bus
    // lane on the four-lane street, a lower speed on the one-way street.
    ASSERT_NO_FATAL_FAILURE(StreetVar(world, ox + 16, oy + 3, "ST.VLS", 1));
    ASSERT_NO_FATAL_FAILURE(StreetVar(world, ox + 31, oy + 6, "ST.VLS", 1));
    ASSERT_NO_FATAL_FAILURE(StreetVar(world, ox + 31, oy + 6, "ST.BUSSPUR", 1));
    ASSERT_NO_FATAL_FAILURE(StreetVar(world, ox, oy + 14, "ST.SPEED", 1));
    // A speed control on the south row and a train stop on the track, made by the world's factory and the rail
    // network as a savegame's records make them.
    ASSERT_NE(Put(world, OBJ_SPEED_CONTROL, 21018, ox + 20, oy + 10), nullptr);
    ASSERT_EQ(world.GetStreetNet()->GetRailNet()->SetTrainStopAt(static_cast<short>(ox + 6), static_cast<short>(oy + 3)), 0);
    const std::tuple<TObjectType, int, int, int> services[] = {
        {OBJ_CARPARK_OPEN, 39431, 2, 12},        {OBJ_CARPARK_GARAGE, 27552, 26, -2},
        {OBJ_CARPARK_GARAGE2, 28031, 30, -4},     {OBJ_CARSHARING_CENTRE, 28686, 10, -2},
        {OBJ_CARSHARING_STATION, 29793, 13, -2}, {OBJ_CARSHARING_STATION, 29793, 22, 12},
        {OBJ_ADVICE_CENTRE, 32456, 20, -2},      {OBJ_ZONE_RESIDENTIAL, 17021, 2, 14},
        {OBJ_TRANSMITTER, CBuildingDataList::GetBuildingResIDByType(OBJ_TRANSMITTER, 0, nullptr), 14, 16}};
    for (const auto& [kind, resId, x, y] : services)
      ASSERT_NE(Put(world, kind, resId, ox + x, oy + y), nullptr) << kind << " at " << x << "/" << y;
    // The open car park's guidance sign.
    CWorldObj* park = world.GetIsoWelt()->GetIsoTileObject(ox + 2, oy + 12, ISO_LAYER_GROUND);
    ASSERT_NE(park, nullptr);
    ASSERT_EQ(park->SetVarData("PH.PLS", 1), 0);
    station = dynamic_cast<CBuildingParkRideObject*>(Put(world, OBJ_PARKRIDE, 33149, ox + 20, oy + 2));
    ASSERT_NE(station, nullptr);
    COpnv& opnv = *world.GetOpnv();
    COpnvLine* one = MakeLine(opnv, NET_BUS, {west, east});
    COpnvLine* two = MakeLine(opnv, NET_BUS, {south, middle, east});
    COpnvLine* tram = MakeLine(opnv, NET_TRAM, {tramWest, tramEast});
    COpnvLine* three = MakeLine(opnv, NET_BUS, {shelter, sign4, shelter4});
    ASSERT_TRUE(one && two && three && tram);
    firstLine = one->GetID();
    opnv.CheckMakeVirtuellNet();
    ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL.BUYSELL", 12), 0);
    ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.BUYSELL.OK", 1), 0);
    ASSERT_EQ(opnv.SetVarData("OPNV.FP.TRAM.BUYSELL", 4), 0);
    ASSERT_EQ(opnv.SetVarData("OPNV.FP.TRAM.BUYSELL.OK", 1), 0);
    for (COpnvLine* line : {one, two, three, tram}) {
      opnv.SetActiveLine(line->GetID());
      for (int i = 0; i < line->GetData()->vehiclesNeeded; ++i) ASSERT_EQ(opnv.SetVarData("OPNV.MOVEFP.PLUS", 1), 0);
    }
    // Lights at one crossing, signs at another.
    int controlled = 0;
    for (CZorvaObject* o = world.GetStreetNet()->GetHead(); o && controlled < 2; o = o->GetNext()) {
      auto* junction = static_cast<CStrJunction*>(o);
      CKreuzObj* crossing = junction->GetAnzLinkedStreets() >= 3 ? junction->GetKreuzObject() : nullptr;
      if (crossing && crossing->SetVarData("KR.AMPEL", controlled == 0 ? Ampel_Ampel : Ampel_Vorfahrt) == 0)
        ++controlled;
    }
    ASSERT_EQ(controlled, 2);
    // The campaigns of the measures.
    ASSERT_EQ(world.GetParkRide()->SetVarData("PR.ADRADIO", 1), 0);
    ASSERT_EQ(world.GetCarsharing()->SetVarData("CS.ADVERTISMENT.RADIO", 1), 0);
    ASSERT_EQ(world.GetZorviZentrale()->SetVarData("MZ.ADRADIO", 1), 0);
    ASSERT_EQ(world.GetPta()->SetVarData("PTA.ADVERTISMENT.PRINT", 1), 0);
    world.GetSimWelt()->pCityModell()->AddResidents(600);
    world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - kHourMs);
  }

  // Runs the game's turns for `hours` simulated hours and `turns` more.
  void Play(int hours, int turns) {
    CSimWelt* sim = world.GetSimWelt();
    const int until = sim->Date().TicksFromStart() + hours;
    for (int i = 0; i < 100000 && sim->Date().TicksFromStart() < until; ++i) Turn();
    for (int i = 0; i < turns; ++i) Turn();
  }
  void Turn() {
    Clock().Advance(kTurnMs);
    world.OnPlayloopTurn();
    // The message that the town passed its growth target holds the game.
    if (world.IsPause() && game.IsOpen(236)) {
      world.DeActivateWindow(236);
      world.SetPause(false);
    }
  }
};

// What the game holds, counted: its objects by kind, its streets and tracks
// by type and its level crossings.
std::map<std::string, int> Inventory(CZorvaWorld& world) {
  std::map<std::string, int> counts;
  for (CZorvaObject* o = world.GetObjectList()->GetHead(); o; o = o->GetNext())
    ++counts["kind " + std::to_string(static_cast<CWorldObj*>(o)->GetType())];
  CStrSchJuncList* rails = world.GetStreetNet()->GetRailNet();
  for (CStrJunctionList* net : {static_cast<CStrJunctionList*>(world.GetStreetNet()), static_cast<CStrJunctionList*>(rails)})
    for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) {
      auto* junction = static_cast<CStrJunction*>(o);
      for (int i = 0; i < junction->GetAnzLinkedStreets(); ++i)
        if (junction->GetStreetByNR(i)->GetStartJunction() == junction)
          ++counts["street type " + std::to_string(junction->GetStreetByNR(i)->GetStreetType().GetValue())];
    }
  for (short x = 0; x < 128; ++x)
    for (short y = 0; y < 128; ++y) {
      if (rails->HasGrdCrossingAt(x, y)) ++counts["level crossing cells"];
      // The train stop is drawn where it stands.
      const CWorldObj* upper = world.GetIsoWelt()->GetIsoTileObject(x, y, ISO_LAYER_UPPER);
      if (upper && upper->GetType() == OBJ_STREETSIDE) ++counts["train stop cells on the map"];
    }
  return counts;
}

// Saves the game to the file and loads it; saved, loaded and saved again at
// the same moment it is the same to the byte. (A load stamps the measures'
// messages with the time of the load, so the game saved before the first
// load differs from it in those stamps alone.)
void SaveAndLoad(CZorvaWorld& world, const char* path, const std::string& when) {
  const std::map<std::string, int> saved = Inventory(world);
  ASSERT_EQ(world.SerializeGameStore(path), 0) << when;
  ASSERT_EQ(world.SerializeGameLoad(path), 0) << when;
  ASSERT_EQ(Inventory(world), saved) << when;
  const std::string loaded = Snapshot(world);
  ASSERT_EQ(world.SerializeGameStore(path), 0) << when;
  ASSERT_EQ(world.SerializeGameLoad(path), 0) << when;
  const std::string again = Snapshot(world);
  if (again != loaded && std::getenv("ZOR_STORM_DUMP")) {
    WriteFile(std::string(std::getenv("ZOR_STORM_DUMP")) + "/loaded.bin", loaded);
    WriteFile(std::string(std::getenv("ZOR_STORM_DUMP")) + "/again.bin", again);
  }
  ASSERT_TRUE(SameBytes(again, loaded)) << when;
}

struct SavegameStorm : testing::TestWithParam<int> {};

TEST_P(SavegameStorm, EveryLoadAtRandomMomentsSucceedsAndSavesToTheSameBytes) {
  const int loads = Setting("ZOR_STORM_LOADS", kLoads);
  std::filesystem::create_directories("SaveGame");
  {
    const int seed = GetParam();
    Clock().Set(0);
    zor_srandom(static_cast<uint32_t>(seed));
    Scenario game;
    StormTown town(game);
    ASSERT_NO_FATAL_FAILURE(town.Build());
    // The first load numbers the demand model's streets as every later
    // load does: from then on each load gives the game it was saved from.
    const int trainStopCells = Inventory(town.world)["train stop cells on the map"];
    ASSERT_GT(trainStopCells, 0);
    ASSERT_EQ(town.world.SerializeGameStore("SaveGame/STORM.GMD"), 0);
    ASSERT_EQ(town.world.SerializeGameLoad("SaveGame/STORM.GMD"), 0);
    EXPECT_EQ(Inventory(town.world)["train stop cells on the map"], trainStopCells) << "loaded, it is drawn again";
    std::mt19937 moments(static_cast<uint32_t>(seed));
    for (int n = 0; n < loads; ++n) {
      town.Play(static_cast<int>(moments() % 4), static_cast<int>(moments() % (kHourMs / kTurnMs)));
      ASSERT_NO_FATAL_FAILURE(SaveAndLoad(town.world, "SaveGame/STORM.GMD",
                                          "seed " + std::to_string(seed) + ", load " + std::to_string(n)));
    }
    EXPECT_GT(town.world.GetSimWelt()->pCityModell()->NrOfAgents(), 0) << "seed " << seed;
  }
}

INSTANTIATE_TEST_SUITE_P(Seed, SavegameStorm, testing::Range(1, Setting("ZOR_STORM_SEEDS", 3) + 1));


// What became of the damaged savegames: refused with the warning that the
// file is damaged (38) or of no known version (37), or loaded.
struct DamageTally {
  int refused38 = 0, refused37 = 0, loaded = 0;
  int Refused() const { return refused38 + refused37; }
};

// A savegame damaged: refused, with the game as it was and the player
// warned, or loaded soundly (it saves and loads again to the same bytes);
// the town is loaded again after each that loads.
void Damaged(CZorvaWorld& world, const std::string& binary, const std::string& companion, const std::string& bytes,
             const std::string& what, DamageTally& tally, const std::string* badCompanion = nullptr) {
  const std::string before = Snapshot(world);
  WriteFile("SaveGame/BAD.GMD", bytes);
  WriteFile("SaveGame/BAD.GMM", badCompanion ? *badCompanion : companion);
  world.GetMessage()->DeactivateAchtungMessage();
  world.DeActivateWindow(220);
  if (world.SerializeGameLoad("SaveGame/BAD.GMD") != 0) {
    ASSERT_TRUE(SameBytes(Snapshot(world), before)) << what << " was refused and changed the game";
    const char* shown = world.GetMessage()->GetAchtungMessage();
    const std::string warning = shown ? shown : "";
    if (warning == CUserInt::GetAchtungText(38, CZorvaWorld::m_Language))
      ++tally.refused38;
    else if (warning == CUserInt::GetAchtungText(37, CZorvaWorld::m_Language))
      ++tally.refused37;
    else
      ADD_FAILURE() << what << " was refused with the warning \"" << warning << "\"";
    EXPECT_EQ(world.GetUserInt()->IsWindowOpen(220), 0) << what << " was refused without the warning's window";
    return;
  }
  ++tally.loaded;
  ASSERT_NO_FATAL_FAILURE(SaveAndLoad(world, "SaveGame/AGAIN.GMD", what));
  WriteFile("SaveGame/TOWN.GMD", binary);
  WriteFile("SaveGame/TOWN.GMM", companion);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/TOWN.GMD"), 0) << what;
}

// Where the fields of each record named `name` lie in the savegame's bytes:
// from behind its name up to the next record of the street network or the
// object list, `most` bytes at most.
std::vector<std::pair<size_t, size_t>> Fields(const std::string& bytes, const std::string& name, size_t most) {
  std::vector<std::pair<size_t, size_t>> out;
  const std::string tag = name + '\0';
  for (size_t at = bytes.find(tag); at != std::string::npos; at = bytes.find(tag, at + 1)) {
    const size_t from = at + tag.size();
    size_t to = std::min(bytes.size(), from + most);
    for (const char* next : {"CStrJunction", "CStrStrassenTeil", "CStrBride", "ZorvaObject"})
      to = std::min(to, bytes.find(next, from));
    out.push_back({from, to});
  }
  return out;
}

// The damaged-file run in parts: the part 0 cuts and flips bytes at random,
// each part from 1 to kFieldParts changes every kFieldParts-th byte of the
// records' fields.
constexpr int kFieldParts = 3;
struct SavegameDamage : testing::TestWithParam<int> {};

TEST_P(SavegameDamage, DamagedSavegamesAreRefusedOrLoadSoundlyAndARefusalChangesNothing) {
  const int part = GetParam();
  const int each = Setting("ZOR_STORM_DAMAGE", kDamage);
  const int seeds = Setting("ZOR_STORM_SEEDS", 1);
  std::filesystem::create_directories("SaveGame");
  DamageTally cuts, flips;
  for (int seed = 1; seed <= seeds && part == 0; ++seed) {
    Clock().Set(0);
    zor_srandom(static_cast<uint32_t>(seed));
    Scenario game;
    StormTown town(game);
    ASSERT_NO_FATAL_FAILURE(town.Build());
    std::mt19937 pick(static_cast<uint32_t>(seed) * 7919u);
    town.Play(20 + static_cast<int>(pick() % 10), static_cast<int>(pick() % 8));
    ASSERT_NO_FATAL_FAILURE(SaveAndLoad(town.world, "SaveGame/TOWN.GMD", "the town"));
    const std::string binary = ReadFile("SaveGame/TOWN.GMD"), companion = ReadFile("SaveGame/TOWN.GMM");
    ASSERT_GT(binary.size(), 1000u);
    for (int n = 0; n < each; ++n) {
      const size_t cut = pick() % binary.size();
      ASSERT_NO_FATAL_FAILURE(Damaged(town.world, binary, companion, binary.substr(0, cut),
                                      "seed " + std::to_string(seed) + ", cut at " + std::to_string(cut), cuts));
    }
    for (int n = 0; n < each; ++n) {
      std::string flipped = binary;
      const size_t at = pick() % binary.size();
      flipped[at] = static_cast<char>(flipped[at] ^ static_cast<char>(1 + pick() % 255));
      ASSERT_NO_FATAL_FAILURE(Damaged(town.world, binary, companion, flipped,
                                      "seed " + std::to_string(seed) + ", byte " + std::to_string(at) + " changed",
                                      flips));
    }
    // Damage that is always refused as such: the header's name changed or
    // run on behind a valid version tag, and the demand simulation's block
    // cut short with the closing tag behind it.
    auto tag = [](const char* text) {
      std::string t(30, '\0');
      std::copy(text, text + std::char_traits<char>::length(text), t.begin());
      return t;
    };
    const size_t sim = binary.rfind(tag("SIMWELT"));
    ASSERT_NE(sim, std::string::npos);
    std::string renamed = binary, runOn = binary;
    renamed[16] = 'X';
    runOn[17] = 'S';
    DamageTally always;
    for (const auto& [bytes, what] : {std::pair{renamed, "the header named otherwise"},
                                      std::pair{runOn, "the header's name run on"},
                                      std::pair{binary.substr(0, sim + 33) + tag("ENDEOFSAVEGAME"),
                                                "the demand simulation's block cut short"}})
      ASSERT_NO_FATAL_FAILURE(Damaged(town.world, binary, companion, bytes, what, always));
    EXPECT_EQ(always.refused38, 3);
  }
  // Whole records with a field changed, each byte in turn as the byte 0 of a bridge's street once became 0x27: a
  // bridge of the supplied new game (refused, it must give back nothing of its river), its crossings' own fields and
  // the line town's stops. The running game is the line town.
  DamageTally fields;
  if (part > 0) {
    Clock().Set(0);
    zor_srandom(5);
    Scenario game;
    StormTown town(game);
    ASSERT_NO_FATAL_FAILURE(town.Build());
    ASSERT_NO_FATAL_FAILURE(SaveAndLoad(town.world, "SaveGame/TOWN.GMD", "the town"));
    const std::string binary = ReadFile("SaveGame/TOWN.GMD"), companion = ReadFile("SaveGame/TOWN.GMM");
    const std::string supplied = ReadFile(BinaryDir() + "/gamedata/SaveGame/DATA.00D");
    const std::string suppliedCompanion = ReadFile(BinaryDir() + "/gamedata/SaveGame/DATA.00M");
    const auto bridges = Fields(supplied, "CStrBride", 256);
    const auto crossings = Fields(supplied, "CStrJunction", 24);
    const auto stops = Fields(binary, "SecondLayerObject", 96);
    ASSERT_GE(bridges.size(), 2u);
    ASSERT_GE(crossings.size(), 3u);
    ASSERT_GE(stops.size(), 1u);
    struct Field {
      const std::string& bytes;
      const std::string& companion;
      std::pair<size_t, size_t> at;
      const char* what;
    } fieldsOf[] = {{supplied, suppliedCompanion, bridges[1], "bridge"},
                    {supplied, suppliedCompanion, crossings[0], "junction"},
                    {supplied, suppliedCompanion, crossings[1], "junction"},
                    {supplied, suppliedCompanion, crossings[2], "junction"},
                    {binary, companion, stops[0], "stop"}};
    for (const Field& f : fieldsOf)
      for (size_t at = f.at.first; at < f.at.second; ++at) {
        if (static_cast<int>((at - f.at.first) % kFieldParts) != part - 1) continue;
        std::string changed = f.bytes;
        changed[at] = static_cast<char>(changed[at] ^ 0x27);
        ASSERT_NO_FATAL_FAILURE(Damaged(town.world, binary, companion, changed,
                                        std::string(f.what) + " record, byte " + std::to_string(at) + " changed",
                                        fields, &f.companion));
      }
  }
  if (part > 0) {
    EXPECT_GT(fields.Refused(), 0);
    EXPECT_GT(fields.loaded, 0);
    std::printf("fields: %d refused, %d loaded soundly\n", fields.Refused(), fields.loaded);
    return;
  }
  // A savegame cut short is never whole.
  EXPECT_EQ(cuts.loaded, 0);
  EXPECT_EQ(cuts.Refused() + flips.Refused() + flips.loaded, 2 * each * seeds);
  for (const auto& [name, tally] : {std::pair{"cut", cuts}, std::pair{"flipped", flips}}) {
    RecordProperty(std::string(name) + "_refused", tally.Refused());
    RecordProperty(std::string(name) + "_refused_unknown_version", tally.refused37);
    RecordProperty(std::string(name) + "_loaded", tally.loaded);
    std::printf("%s: %d refused (%d as damaged, %d of no known version), %d loaded soundly\n", name, tally.Refused(),
                tally.refused38, tally.refused37, tally.loaded);
  }
}

INSTANTIATE_TEST_SUITE_P(Part, SavegameDamage, testing::Range(0, kFieldParts + 1));

// Finances whose record, while `show` is set, opens their window each time
// it is read: a load that opens a window on its way.
struct ShowingFinanzen : CFinanzen {
  static constexpr int kWindow = 116;
  static inline bool show = false;
  static inline int shown = 0;
  int SerializeGameLoad(FILE* file) override {
    if (show && CUserInt::topWindow && CUserInt::topWindow->ActivateWindow(kWindow, OVER_SINGLE) == 0) ++shown;
    return CFinanzen::SerializeGameLoad(file);
  }
};

// A world that shows what it keeps over a load: the turn's clocks are its
// own and nothing else tells them.
struct WatchedWorld : CZorvaWorld {
  CFinanzen* NewFinanzen() override { return new ShowingFinanzen; }
  ZorKeptPlay Watch() { return KeepPlay(); }
};

testing::AssertionResult SameTime(const STime& a, const STime& b) {
  if (a.hour == b.hour && a.day == b.day && a.year == b.year && a.fyear == b.fyear)
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << a.hour << "h day " << a.day << " year " << a.year << " against " << b.hour
                                     << "h day " << b.day << " year " << b.year;
}

CWorldObj* Shows(int window) { return CUserInt::topWindow->GetVarWorldObject(window); }

// The screen point of the line's row on the lines page, whose click opens
// the line's window.
bool LineRow(CDialogList* dialogs, int line, int* x, int* y) {
  bool found = false;
  if (dialogs)
    dialogs->ForEach([&](CDialog* list) {
      if (!found) found = LineRow(list->GetDialogs(), line, x, y);
      list->GetItems()->ForEach([&](CItem* i) {
        if (i->GetActions())
          i->GetActions()->ForEach([&](CAction* a) {
            if (found || a->m_kind != 69 || a->m_p1 != line) return;
            *x = list->GetRealPosX() + i->GetXPos() + 8;
            *y = list->GetRealPosY() + i->GetYPos() + 7;
            found = true;
          });
      });
    });
  return found;
}

std::vector<int> OpenWindows(CUserInt& ui) {
  std::vector<int> ids;
  if (CZorvaList* open = ui.GetRenderList())
    for (CZorvaPointer* n = open->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer())
      ids.push_back(static_cast<CScreenWindow*>(n->GetZorvaObject())->GetID());
  return ids;
}

// A scenario game with car parks and park-and-ride, bus lines with their
// buses and car sharing, its crossing's window open with a tool
// chosen, the view turned and moved, held at a speed of its own: a damaged
// savegame is refused and leaves all of it as it was, the turn's clocks
// and the random source too, and the game plays on.
TEST(SavegameRefusedLoad, LeavesTheGameTheInterfaceTheViewTheClocksAndTheRandomSourceAsTheyWere) {
  std::filesystem::create_directories("SaveGame");
  Clock().Set(0);
  zor_srandom(11);
  WatchedWorld* world = nullptr;
  Scenario game([&] { return world = new WatchedWorld; });
  StormTown town(game);
  ASSERT_NO_FATAL_FAILURE(town.Build());
  ASSERT_EQ(world->GetGottModus()->SetGameModus(GAME_SCENARIO), 0);
  world->GetGottModus()->SetSzenario(1, 12, 0.98f, 4);
  town.Play(6, 3);
  ASSERT_EQ(world->SerializeGameStore("SaveGame/TOWN.GMD"), 0);
  ASSERT_EQ(world->SerializeGameLoad("SaveGame/TOWN.GMD"), 0);
  ASSERT_EQ(world->SerializeGameStore("SaveGame/TOWN.GMD"), 0);
  const std::string binary = ReadFile("SaveGame/TOWN.GMD");
  WriteFile("SaveGame/BAD.GMD", binary.substr(0, binary.size() * 2 / 3));
  WriteFile("SaveGame/BAD.GMM", ReadFile("SaveGame/TOWN.GMM"));
  // The game plays on from the load, so that its clocks are no longer the load's.
  town.Play(2, 5);

  // The player's interface: the window of the crossing with lights, a tool,
  // the view turned and moved, the game held at a speed of its own.
  CStrJunction* lights = nullptr;
  for (CZorvaObject* o = world->GetStreetNet()->GetHead(); o && !lights; o = o->GetNext()) {
    auto* junction = static_cast<CStrJunction*>(o);
    double kind = 0;
    if (junction->GetKreuzObject() && junction->GetKreuzObject()->GetVarData("KR.AMPEL", &kind) == 0 &&
        kind == static_cast<double>(Ampel_Ampel))
      lights = junction;
  }
  ASSERT_NE(lights, nullptr);
  game.Map().SetIsoCenter(lights->GetXPos(), lights->GetYPos());
  game.Do(Wait(100));
  int sx = 0, sy = 0;
  ASSERT_TRUE(game.ScreenOfCell(lights->GetXPos(), lights->GetYPos(), &sx, &sy));
  game.Click(sx, sy).Do(Wait(100));
  // A car park's window on its settings page, and a line's window opened
  // from its row on the lines page.
  const Cell carPark = {town.ox + 2, town.oy + 12};
  game.Map().SetIsoCenter(carPark.x, carPark.y);
  game.Do(Wait(100));
  ASSERT_TRUE(game.ScreenOfCell(carPark.x, carPark.y, &sx, &sy));
  game.Click(sx, sy).Do(Wait(100));
  ASSERT_TRUE(game.IsOpen(170)) << "the car park's window";
  ASSERT_TRUE(game.ClickIn(170, 6 + 13, 72 + 13));
  ASSERT_TRUE(game.IsOpen(172));
  ASSERT_EQ(Shows(172), game.Map().GetIsoTileObject(carPark.x, carPark.y, ISO_LAYER_GROUND));
  BarButton(game, kOpnvButton);
  ClickAt(game, kOpnvMenuFirst);
  ClickAt(game, Tab(kTabLines));
  ASSERT_TRUE(game.IsOpen(129));
  game.Do(Wait(200));
  ASSERT_TRUE(LineRow(CUserInt::topWindow->GetWindowByID(129)->GetDialogs(), town.firstLine, &sx, &sy));
  game.Click(sx, sy).Do(Wait(100));
  ASSERT_TRUE(game.IsOpen(227)) << "the line's window";
  ASSERT_EQ(Shows(227), world->GetOpnv()->GetLineByID(town.firstLine));
  game.Map().SetIsoCenter(lights->GetXPos(), lights->GetYPos());
  game.Do(Wait(100));
  game.Key(SDLK_x).Do(Wait(100));
  ASSERT_EQ(g_IsoRichtung, 1);
  game.Map().SetIsoCenter(game.Map().GetCenterX() + 3, game.Map().GetCenterY() - 2);
  ASSERT_TRUE(game.IsOpen(229)) << "the crossing's window";
  ASSERT_EQ(CUserInt::selObj.selectedCrossing, lights->GetKreuzObject());
  CUserInt::selObj.tool = 5;
  CUserInt::selObj.subtool = 1;
  world->SetGameSpeed(CZorvaWorld::GetGameSpeedMin() + 1000);
  world->SetPause(true);
  Clock().Advance(777);

  const std::string before = Snapshot(*world);
  const ZorKeptPlay kept = world->Watch();
  // The refusal's warning opens over the windows that were open.
  std::vector<int> windows = OpenWindows(game.Ui());
  windows.insert(windows.begin(), 220);
  const uint64_t random = zor_random_state();
  const int speed = world->GetGameSpeed();
  const uint32_t ticksAfterLoad = CZorvaWorld::m_TicksAfterLoad;
  const uint32_t startupWindow = world->GetStartupWindowTime();

  OpenErrorLog("refused.log");
  EXPECT_EQ(world->SerializeGameLoad("SaveGame/BAD.GMD"), 1);
  CloseErrorLog();
  const std::string log = ReadFile("refused.log");
  EXPECT_EQ(log.find("could not be put back"), std::string::npos) << log;

  // The savegame's part.
  EXPECT_TRUE(SameBytes(Snapshot(*world), before));
  EXPECT_EQ(world->GetGottModus()->GetGameModus(), GAME_SCENARIO);
  // The part a savegame does not hold.
  const ZorKeptPlay now = world->Watch();
  EXPECT_EQ(zor_random_state(), random);
  EXPECT_TRUE(SameTime(now.lastHour, kept.lastHour));
  EXPECT_TRUE(SameTime(now.lastDay, kept.lastDay));
  EXPECT_EQ(now.indikatorenCounter, kept.indikatorenCounter);
  EXPECT_EQ(CZorvaWorld::m_TicksAfterLoad, ticksAfterLoad);
  EXPECT_EQ(world->GetStartupWindowTime(), startupWindow);
  EXPECT_EQ(g_IsoRichtung, 1);
  EXPECT_EQ(now.zoom, kept.zoom);
  EXPECT_EQ(now.centerX, kept.centerX);
  EXPECT_EQ(now.centerY, kept.centerY);
  EXPECT_EQ(now.pixelX, kept.pixelX);
  EXPECT_EQ(now.pixelY, kept.pixelY);
  EXPECT_TRUE(world->IsPause());
  EXPECT_EQ(world->GetGameSpeed(), speed);
  EXPECT_EQ(OpenWindows(game.Ui()), windows);
  EXPECT_EQ(CUserInt::selObj.tool, 5);
  EXPECT_EQ(CUserInt::selObj.subtool, 1);
  // The crossing the window shows is the one standing where it stood.
  CWorldObj* shown = game.Map().GetIsoTileObject(kept.selectedCrossing.x, kept.selectedCrossing.y, ISO_LAYER_GROUND);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(CUserInt::selObj.selectedCrossing, shown);
  EXPECT_EQ(kept.selectedCrossing.kind, ZorObjectPlace::kCell);

  EXPECT_FALSE(world->IsEingabeAktiv()) << "the name field stays as it was";

  // Each window shows the object put back where its own stood, and what is
  // changed through it changes that object.
  CWorldObj* crossing = Shows(229);
  ASSERT_EQ(crossing, shown);
  auto* park = dynamic_cast<CBuildingParkingObject*>(Shows(172));
  ASSERT_NE(park, nullptr);
  EXPECT_EQ(park, game.Map().GetIsoTileObject(carPark.x, carPark.y, ISO_LAYER_GROUND));
  COpnvLine* line = world->GetOpnv()->GetLineByID(town.firstLine);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(Shows(227), line);
  world->SetPause(false);
  game.Click(700, 60).Do(Wait(40));
  ASSERT_FALSE(game.IsOpen(220)) << "the warning is put away";
  const float price = park->GetParkingData()->price;
  ASSERT_TRUE(game.ClickIn(172, 160 + 45 + 4, 113 + 8));
  EXPECT_GT(park->GetParkingData()->price, price);
  // Its close box uncovers the crossing's window.
  ASSERT_TRUE(game.ClickIn(170, 247 + 7, 3 + 7));
  ASSERT_FALSE(game.IsOpen(170));
  // The lights' timing page opens from the crossing's window with it.
  double cycle = 0, value = 0;
  ASSERT_EQ(crossing->GetVarData("KR.AMPEL.TIME", &cycle), 0);
  ASSERT_TRUE(game.ClickIn(229, 190, 92));
  ASSERT_TRUE(game.IsOpen(230));
  EXPECT_EQ(Shows(230), crossing);
  ASSERT_TRUE(game.ClickIn(230, 148 + 51, 103 + 8));
  ASSERT_EQ(crossing->GetVarData("KR.AMPEL.TIME", &value), 0);
  EXPECT_GT(value, cycle);
  ASSERT_TRUE(game.ClickIn(230, 150, 35));
  ASSERT_EQ(crossing->GetVarData("KR.AMPEL", &value), 0);
  EXPECT_EQ(value, 0) << "the lights are off";
  ASSERT_TRUE(game.ClickIn(230, 186, 9));
  ASSERT_FALSE(game.IsOpen(230));
  // The line window's tool adds the middle stop at the line's end.
  ASSERT_EQ(line->GetData()->stopsOneWay, 2);
  ClickAt(game, ButtonOf(227, 96, 26));
  ASSERT_EQ(CUserInt::selObj.tool, 17);
  const Cell middle = {town.ox + 16, town.oy + 6};
  game.Map().SetIsoCenter(middle.x, middle.y);
  game.Do(Wait(100));
  ASSERT_TRUE(game.ScreenOfCell(middle.x, middle.y, &sx, &sy));
  game.Click(sx, sy).Do(Wait(100));
  EXPECT_EQ(line->GetData()->stopsOneWay, 3);
  EXPECT_EQ(Shows(227), line);

  // And it plays on, with its windows working.
  town.Play(2, 0);
  game.Do(Wait(100));
  EXPECT_TRUE(game.IsOpen(227));
}

// The message list and the panel with its event's text, both open, the
// map dragged by a few pixels and the game paused: a damaged savegame is
// refused and the screen is as it was, the windows in their order (the
// panel's reopening brings its list over it), the view to the pixel, and
// no window more once the warning is put away, not even one the load
// opened on its way.
TEST(SavegameRefusedLoad, LeavesTheWindowsInTheirOrderAndTheViewToThePixel) {
  std::filesystem::create_directories("SaveGame");
  Scenario game([] { return new WatchedWorld; }, "LANGUAGE=0\n");
  CZorvaWorld& world = game.World();
  ASSERT_EQ(world.SerializeGameStore("SaveGame/TOWN.GMD"), 0);
  const std::string binary = ReadFile("SaveGame/TOWN.GMD");
  WriteFile("SaveGame/BAD.GMD", binary.substr(0, binary.size() / 2));
  WriteFile("SaveGame/BAD.GMM", ReadFile("SaveGame/TOWN.GMM"));
  CMessage* message = world.GetMessage();
  for (int entry = 0; entry < 3; ++entry) ASSERT_EQ(message->AddMessage(7, entry), 0) << entry;
  message->SelectEvent(1);
  // The list by its key; the selected event's text opens the panel.
  constexpr int kList = 218, kPanel = 239;
  game.Key(SDLK_e).Run({Frames(2)});
  ASSERT_TRUE(game.IsOpen(kList));
  game.Click(364 + 95 + 60, 26 + 17 + 4 + 5).Run({Frames(1)});
  ASSERT_TRUE(game.IsOpen(kPanel));
  // The map dragged with the right button by less than a cell.
  CIsoWelt& map = game.Map();
  game.Run({Move(300, 400), Press(300, 400, kRight), Move(303, 402), Wait(40), Move(305, 403), Wait(40),
            Release(305, 403, kRight), Wait(40)});
  ASSERT_TRUE(map.GetPixelOffsetX() != 0 || map.GetPixelOffsetY() != 0) << "the drag moves the map";
  world.SetPause(true);
  game.Run({Move(700, 60), Wait(300)});
  const Region screen = {0, 0, game.Width(), game.Height()};
  const uint64_t drawn = game.Fingerprint(screen);
  std::vector<int> windows = OpenWindows(game.Ui());
  ASSERT_LT(std::find(windows.begin(), windows.end(), kPanel), std::find(windows.begin(), windows.end(), kList))
      << "the panel in front of its list";
  const int pixelX = map.GetPixelOffsetX(), pixelY = map.GetPixelOffsetY();
  const int centerX = map.GetCenterX(), centerY = map.GetCenterY();
  const IsoViewRectType view = map.GetViewRect();

  ShowingFinanzen::show = true;
  EXPECT_EQ(world.SerializeGameLoad("SaveGame/BAD.GMD"), 1);
  ShowingFinanzen::show = false;
  ASSERT_GT(ShowingFinanzen::shown, 0) << "the load opened the finances' window";
  windows.insert(windows.begin(), 220);
  EXPECT_EQ(OpenWindows(game.Ui()), windows) << "the refusal's warning over the windows as they stood";
  game.Run({Wait(100)});
  game.Shot("refused-load-warning-over-the-message-list-and-panel");
  EXPECT_EQ(map.GetPixelOffsetX(), pixelX);
  EXPECT_EQ(map.GetPixelOffsetY(), pixelY);
  EXPECT_EQ(map.GetCenterX(), centerX);
  EXPECT_EQ(map.GetCenterY(), centerY);
  const IsoViewRectType now = map.GetViewRect();
  EXPECT_EQ(std::make_tuple(now.k0x, now.k0y, now.k1x, now.k1y, now.k2x, now.k2y, now.k3x, now.k3y),
            std::make_tuple(view.k0x, view.k0y, view.k1x, view.k1y, view.k2x, view.k2y, view.k3x, view.k3y));
  // The click that puts the warning away shows the screen as it was.
  game.Click(700, 60).Run({Wait(300)});
  ASSERT_FALSE(game.IsOpen(220));
  EXPECT_EQ(game.Fingerprint(screen), drawn);
}

}  // namespace
