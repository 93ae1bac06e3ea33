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
#include "model/gott_modus.h"
#include "network/crossing_objects.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "world/zor_world.h"
#include "worldbase/building_catalogue.h"

namespace {

CStrJunction* JunctionAt(CStrJunctionList* net, int x, int y) {
  for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) {
    auto* junction = static_cast<CStrJunction*>(o);
    if (junction->GetXPos() == x && junction->GetYPos() == y) return junction;
  }
  return nullptr;
}

// Runs the script; the number of steps refused.
int BuildTown(CZorvaWorld& world, std::istream& script) {
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
    } else if (step == "river" && in >> a >> b >> c >> d) {
      ok = true;
      for (int x = a; x <= c; ++x)
        for (int y = b; y <= d; ++y)
          ok = world.CreateObject(OBJ_RIVER, 38398, CIsoRichtung(0), x, y, static_cast<ESimLocationHeight>(0), nullptr,
                                  0, nullptr, 0, -1) != nullptr &&
               ok;
    } else if (step == "control" && in >> a >> b >> c) {
      CStrJunction* junction = JunctionAt(world.GetStreetNet(), a, b);
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
    } else if (step == "scenario") {
      // The task: partial indicator a above the target within the years.
      float target = 0;
      CGottModus* god = world.GetGottModus();
      ok = god && in >> a >> target >> b && a >= 0 && a <= 12 && target > 0 && target < 1 && b > 0;
      if (ok) {
        god->SetGameModus(GAME_SCENARIO);
        god->SetSzenario(0, a, target, b);
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
  CZorvaWorld world;
  world.Create();
  world.OnStartup();
  int failed = BuildTown(world, script);
  for (int i = 3; i < argc; ++i) {
    const std::string path = data + "/SaveGame/" + argv[i];
    if (world.SerializeGameStore(path.c_str()) != 0) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      ++failed;
    }
  }
  world.OnShutdown();
  world.Destroy();
  return failed == 0 ? 0 : 1;
}
