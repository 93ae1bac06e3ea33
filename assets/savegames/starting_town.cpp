// Writes the savegames that the game reads but never writes itself: the
// new game "DATA.00D", the start-up game "STARTUP.AUD" and the automatic
// game "AUTOSAVE.AUD" from the starting town, the exhibition's "EXPO.EXD"
// from the exhibition's town and the scenarios ("*.SZD") from their towns,
// each with its companion.
// The real game starts in the current directory on the generated archives,
// builds the scripted starting town and saves it through its own savegame
// container:  zor_startsaves <game data folder> <town script> <savegame>...
// The savegames named are written from the one town the script builds.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "iso/iso_welt.h"
#include "model/gott_modus.h"
#include "network/crossing_objects.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/street_objects.h"
#include "sim/sim_welt.h"
#include "world/zor_world.h"
#include "worldbase/building_catalogue.h"

namespace {

// The game's turns while the town grows: a turn every 50 ms of the
// generator's clock, an hour every 400 ms, as at the game's fastest pace,
// so that the hours follow one another without a real wait.
constexpr uint32_t kGrowTurnMs = 50;
constexpr int kGrowHourMs = 400;
// More turns than the years can take, so that a town whose time stood
// still is refused instead of holding the build.
constexpr long kGrowTurnsPerYear = 100000;
// The seed of the game's chance while the towns are built and grown.
constexpr uint32_t kTownSeed = 20240611;

// Lets the town live through `years` game years of the game's own turns,
// hour by hour, before it is saved. The windows the game opens meanwhile
// (the start-up's, the advisers') hold it no longer than a player would
// take to put them away. False when the years did not pass.
bool Grow(CZorvaWorld& world, ZorManualClock& clock, int years) {
  CSimWelt* sim = world.GetSimWelt();
  if (!sim) return false;
  const int speed = world.GetGameSpeed();
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - kGrowHourMs);
  const int end = sim->Date().Year() + years;
  for (long turn = 0; turn < years * kGrowTurnsPerYear && sim->Date().Year() < end; ++turn) {
    clock.Advance(kGrowTurnMs);
    world.OnPlayloopTurn();
    if (world.IsPause()) world.SetPause(false);
  }
  world.SetGameSpeed(speed);
  return sim->Date().Year() >= end;
}

// Runs the script; the number of steps refused.
int BuildTown(CZorvaWorld& world, ZorManualClock& clock, std::istream& script) {
  int refused = 0;
  std::string line;
  for (int number = 1; std::getline(script, line); ++number) {
    std::istringstream in(line);
    std::string step;
    if (!(in >> step) || step[0] == '#') continue;
    int a = 0, b = 0, c = 0, d = 0, e = 0;
    bool ok = false;
    if (step == "street" && in >> a >> b >> c >> d >> e) {
      CStrBuildLine drag(static_cast<short>(a), static_cast<short>(b), static_cast<short>(c), static_cast<short>(d));
      ok = world.GetStreetNet()->CreateStreet(&drag, static_cast<CStrassenType>(static_cast<TStrassenType>(e))) ==
           STR_BUILD_OK;
    } else if (step == "remove" && in >> a >> b) {
      // The street over the cell, taken away as the bulldozer takes it.
      auto* piece = dynamic_cast<CStreetObj*>(world.GetIsoWelt()->GetIsoTileObject(a, b, ISO_LAYER_GROUND));
      CStrStrasse* street = piece ? piece->GetStreetList() : nullptr;
      ok = street && world.GetStreetNet()->DeleteStreet(street) == 0;
    } else if (step == "river" && in >> a >> b >> c >> d) {
      ok = true;
      for (int x = a; x <= c; ++x)
        for (int y = b; y <= d; ++y)
          ok = world.CreateObject(OBJ_RIVER, 38398, CIsoRichtung(0), x, y, static_cast<ESimLocationHeight>(0), nullptr,
                                  0, nullptr, 0, -1) != nullptr &&
               ok;
    } else if (step == "control" && in >> a >> b >> c) {
      CStrJunction* junction = world.GetStreetNet()->FindJunctionAt(static_cast<short>(a), static_cast<short>(b));
      CKreuzObj* crossing = junction ? junction->GetKreuzObject() : nullptr;
      ok = crossing && crossing->SetVarData("KR.AMPEL", c) == 0;
    } else if (step == "zone" && in >> a >> b >> c >> d >> e) {
      // As the zone tools lay them: the zone's picture of its density on
      // every cell of the rectangle, each of which must be free land.
      int density = 0;
      const auto kind = static_cast<TObjectType>(e);
      ok = kind >= OBJ_ZONE_RESIDENTIAL && kind <= OBJ_ZONE_INDUSTRIAL && in >> density;
      const int resId = ok ? CBuildingDataList::GetBuildingResIDByType(kind, density, nullptr) : 0;
      ok = ok && resId > 0;
      for (int x = a; ok && x <= c; ++x)
        for (int y = b; ok && y <= d; ++y)
          ok = world.CreateObject(kind, resId, CIsoRichtung(0), x, y, static_cast<ESimLocationHeight>(density), nullptr,
                                  0, nullptr, 0, -1) != nullptr;
    } else if (step == "unzone" && in >> a >> b >> c >> d) {
      // As the tool that removes zoning clears them: every zoned cell of
      // the rectangle that nothing was built on becomes free land again.
      CIsoWelt* map = world.GetIsoWelt();
      ok = map != nullptr;
      for (int x = a; ok && x <= c; ++x)
        for (int y = b; ok && y <= d; ++y) {
          const int kind = map->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                           ISO_LAYER_GROUND);
          if (kind >= OBJ_ZONE_RESIDENTIAL && kind <= OBJ_ZONE_INDUSTRIAL)
            ok = world.RemoveObject(x, y, ISO_LAYER_GROUND, false) == 0;
        }
    } else if (step == "building" && in >> a >> b >> c) {
      // A shop, a school or a park, as the building tool places it.
      const auto kind = static_cast<TObjectType>(c);
      const int resId = kind >= OBJ_SHOPPING && kind <= OBJ_PARK
                            ? CBuildingDataList::GetBuildingResIDByType(kind, 1, nullptr)
                            : 0;
      ok = resId > 0 && world.CreateObject(kind, resId, CIsoRichtung(0), a, b, static_cast<ESimLocationHeight>(0),
                                           nullptr, 0, nullptr, 0, -1) != nullptr;
    } else if (step == "seed" && in >> a) {
      // The town's own seed of the game's chance from here on, so that each
      // town grows from a start chosen for it.
      ok = a > 0;
      if (ok) zor_srandom(static_cast<uint32_t>(a));
    } else if (step == "grow" && in >> a) {
      ok = a > 0 && Grow(world, clock, a);
    } else if (step == "scenario") {
      // The task: partial indicator a above the target within b years. The
      // game plays a scenario up to and including its end year and shows
      // the lose window in the year after it; the town is saved in the
      // first hour of a year, so the task's b years end with the year
      // b - 1 after this one.
      float target = 0;
      CGottModus* god = world.GetGottModus();
      ok = god && in >> a >> target >> b && a >= 0 && a <= 12 && target > 0 && target < 1 && b > 0;
      if (ok) {
        god->SetGameModus(GAME_SCENARIO);
        god->SetSzenario(0, a, target, b - 1);
      }
    }
    if (!ok) {
      std::fprintf(stderr, "line %d refused: %s\n", number, line.c_str());
      ++refused;
    }
  }
  return refused;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <game data folder> <town script> <savegame>...\n", argv[0]);
    return 2;
  }
  const std::string data = argv[1];
  std::ifstream script(argv[2]);
  if (!script) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 1;
  }
  {
    std::ofstream ini("ZORVANTA.INI");
    ini << "[Allgemein]\nWADPATH=" << data << "\nFULLSCREEN=1\nSOUNDEFFEKTE=0\nSOUNDATMO=0\n";
  }
  OpenErrorLog("errors.log");
  // One chance sequence and a clock that moves only with the turns played,
  // so that a grown town is the same town each time it is made.
  ZorFixStartupSeed(kTownSeed);
  ZorManualClock clock;
  ZorSetClock(&clock);
  CZorvaWorld world;
  world.Create();
  world.OnStartup();
  int failed = BuildTown(world, clock, script);
  for (int i = 3; i < argc; ++i) {
    const std::string path = data + "/SaveGame/" + argv[i];
    if (world.SerializeGameStore(path.c_str()) != 0) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      ++failed;
    }
  }
  world.OnShutdown();
  world.Destroy();
  ZorSetClock(nullptr);
  return failed == 0 ? 0 : 1;
}
