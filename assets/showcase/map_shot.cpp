// Starts the real game in the current directory (its settings file points at
// the game data), lays out a small town through the world's own factory, or
// a street network through the map's street placement, runs a few frames and
// saves the screen:  zor_mapshot <output.bmp> [zoom level 1, 2 or 4] [streets | streettown | busytown | railtown]
// ("busytown": the street town with lights, signs and an hour's flows, after
// enough turns of the map that cars have come onto its streets).
// ("railtown": the street town with a railway beside it: level crossings,
// a curve, a branch and a station.)
// Run it under Xvfb to look at what a player would see.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/qno_log.h"
#include "showcase_town.h"
#include "framework/zor_pointer_list.h"
#include "framework/zor_seams.h"
#include "iso/iso_welt.h"
#include "microsim/micro_host.h"
#include "network/str_junction.h"
#include "network/rail_junction_list.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "sim/sim_network.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"
#include "ui/user_int.h"
#include "world/zor_frame_loop.h"
#include "worldbase/zor_world_obj.h"
#include "world/zor_world.h"

namespace {

using showcase::Building;
using showcase::kOrigin;
using showcase::kTown;

// A street network placed as the street network places its graphics: the
// street types' pieces, their junctions' crossing graphics and layers.
int PlaceStreets(CZorvaWorld& world) {
  CIsoWelt* iso = world.GetIsoWelt();
  CWorldObj* ground = world.GetGroundObject();
  const int o = kOrigin;
  auto street = [&](int x, int y, int dir, TStrassenType t) { iso->InsertStreetAt(o + x, o + y, CIsoRichtung(dir), t, ground); };
  auto bend = [&](int x, int y, int dir, TStrassenType t) { iso->SetKurveAt(o + x, o + y, CIsoRichtung(dir), ground, t); };
  auto end = [&](int x, int y, int dir, TStrassenType t) {
    CIsoRichtung d(dir);
    iso->InsertKreuzungAt(o + x, o + y, 0, &d, ground, t, 1);
  };
  auto crossing = [&](int x, int y, int id, int dir, TStrassenType t) {
    CIsoRichtung d(dir);
    if (t < STRASSE_VIERSPURIG) return iso->InsertKreuzungAt(o + x, o + y, id, &d, ground, t, 3);
    return iso->InsertKreuzungsGroupAt(o + x, o + y, id, &d, ground, t);
  };
  // Layers face the junction they belong to: direction 0 for one at +x.
  auto layer = [&](int x, int y, int id, int dir) {
    iso->GetIsoInfo(o + x, o + y)->MergeLayerFromIsoTile(id, CIsoRichtung(dir), ISO_LAYER_GROUND);
  };
  // a lake in the corner, bridged by the street along y = 10
  for (int y = 9; y < 16; ++y)
    for (int x : {14, 15}) iso->SetIsoTileAt(o + x, o + y, ISO_LAYER_GROUND, CIsoRichtung(0), y == 9 ? 37806 : 38398, ground);
  for (int x = 0; x < 13; ++x) street(x, 7, 0, STRASSE_VIERSPURIG);
  crossing(7, 7, 7285, 0, STRASSE_VIERSPURIG);
  end(13, 7, 2, STRASSE_VIERSPURIG);
  end(0, 3, 2, STRASSE_2);
  for (int x = 1; x < 12; ++x) street(x, 3, 0, STRASSE_2);
  bend(12, 3, 1, STRASSE_2);
  for (int y = 4; y < 7; ++y) street(12, y, 1, STRASSE_2);
  crossing(11, 7, 3488, 2, STRASSE_VIERSPURIG);
  end(7, 0, 3, STRASSE_1);
  for (int y : {1, 2, 4, 5, 6, 9, 11, 12}) street(7, y, 1, STRASSE_1);
  crossing(7, 3, 1503, 0, STRASSE_1);
  crossing(7, 10, 1482, 3, STRASSE_1);
  street(8, 10, 0, STRASSE_1), street(13, 10, 0, STRASSE_1);
  iso->SetIsoGroupTurnedAt(o + 9, o + 10, ISO_LAYER_GROUND, 21493, ground, CIsoRichtung(0));
  iso->SetIsoTileAt(o + 14, o + 10, ISO_LAYER_GROUND, CIsoRichtung(0), 42427, ground);
  iso->SetIsoTileAt(o + 15, o + 10, ISO_LAYER_GROUND, CIsoRichtung(0), 42425, ground);
  end(2, 13, 2, STRASSE_EINBAHN);
  for (int x : {3, 4, 5, 6, 8, 9, 10, 11, 12}) street(x, 13, 0, STRASSE_EINBAHN);
  crossing(7, 13, 1644, 2, STRASSE_1);
  end(13, 13, 0, STRASSE_EINBAHN);
  layer(6, 3, 19482, 0), layer(8, 3, 19482, 2), layer(7, 2, 19484, 1), layer(7, 4, 19484, 3);
  layer(7, 6, 12802, 1), layer(7, 6, 21308, 1), layer(7, 9, 12802, 3), layer(7, 9, 21308, 3);
  layer(6, 8, 12802, 0), layer(6, 8, 26515, 0), layer(9, 7, 12802, 2), layer(9, 7, 26515, 2);
  return 1;
}

// A town of 10 x 10 street nodes built as the player builds it, street by
// street through the street network: a four-lane avenue first, columns of
// one-tile streets branching from it, rows between them (one of them
// one-way), a river that the avenue and one row cross on bridges, dead ends
// and bends. Returns the number of streets refused.
constexpr int kStep = 4;
constexpr int kTownOrigin = 44;
int TownNode(int i) { return kTownOrigin + kStep * i; }

// Drags one street as the street tool does; 1 (and a line on stderr) when
// the network refuses it.
int BuildStreet(CStrJunctionList* net, int x1, int y1, int x2, int y2, TStrassenType t) {
  CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
  const int r = net->CreateStreet(&line, t);
  if (r == STR_BUILD_OK) return 0;
  std::fprintf(stderr, "street %d/%d - %d/%d of type %d refused: %d\n", x1, y1, x2, y2, static_cast<int>(t), r);
  return 1;
}

int BuildStreetTown(CZorvaWorld& world) {
  CStrJunctionList* net = world.GetStreetNet();
  int refused = 0;
  auto build = [&](int x1, int y1, int x2, int y2, TStrassenType t) { refused += BuildStreet(net, x1, y1, x2, y2, t); };
  // the river between columns 7 and 8
  for (int y = TownNode(0) - 3; y <= TownNode(9) + 3; ++y)
    for (int x : {TownNode(7) + 2, TownNode(7) + 3})
      world.CreateObject(OBJ_RIVER, 38398, CIsoRichtung(0), x, y, static_cast<ESimLocationHeight>(0), nullptr, 0,
                         nullptr, 0, -1);
  const int avenue = 5;
  build(TownNode(0) - kStep, TownNode(avenue), TownNode(9), TownNode(avenue), STRASSE_VIERSPURIG);
  build(TownNode(9), TownNode(avenue), TownNode(9), TownNode(avenue) + 8, STRASSE_VIERSPURIG);  // a bend
  // columns 0 to 7 from the avenue outwards
  for (int i = 0; i <= 7; ++i) {
    const TStrassenType t = i == 3 ? STRASSE_2 : STRASSE_1;
    for (int j = avenue - 1; j >= 0; --j) build(TownNode(i), TownNode(j + 1), TownNode(i), TownNode(j), t);
    for (int j = avenue; j < 9; ++j) build(TownNode(i), TownNode(j), TownNode(i), TownNode(j + 1), t);
  }
  // rows; row 1 crosses the river and ends in a bend and a dead end
  for (int j = 0; j <= 9; ++j) {
    if (j == avenue) continue;
    const TStrassenType t = j == 8 ? STRASSE_EINBAHN : j % 2 ? STRASSE_2 : STRASSE_1;
    const int last = j == 1 ? 9 : 7;
    for (int i = 0; i < last; ++i) build(TownNode(i), TownNode(j), TownNode(i + 1), TownNode(j), t);
  }
  build(TownNode(9), TownNode(1), TownNode(9), TownNode(1) - 3, STRASSE_2);
  // dead ends off the grid
  build(TownNode(0), TownNode(0), TownNode(0) - 3, TownNode(0), STRASSE_1);
  build(TownNode(4), TownNode(9), TownNode(4), TownNode(9) + 3, STRASSE_1);
  return refused;
}

// A railway built as the player builds it: west of the town from the
// south, across the four-lane avenue and the dead end west of row 0 at
// level crossings, with a station between them, a curve to the west and a
// branch to the north. A crossing needs plain street a cell away from a
// junction, a bend or a street's end on either side of the track's two
// columns, so the avenue and the dead end are first dragged on westwards
// to meet the railway. Returns the number of streets, tracks and stops
// refused.
int BuildRailway(CZorvaWorld& world) {
  CStrSchJuncList* rails = world.GetRailNet();
  CStrJunctionList* streets = world.GetStreetNet();
  const int x = TownNode(0) - 9;
  int refused = BuildStreet(streets, TownNode(0) - kStep, TownNode(5), x - 6, TownNode(5), STRASSE_VIERSPURIG);
  refused += BuildStreet(streets, TownNode(0) - 3, TownNode(0), x - 6, TownNode(0), STRASSE_1);
  auto track = [&](int x1, int y1, int x2, int y2) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    const int r = rails->CreateStreet(&line, STRASSE_SCHIENE);
    if (r != STR_BUILD_OK) {
      std::fprintf(stderr, "track %d/%d - %d/%d refused: %d\n", x1, y1, x2, y2, r);
      ++refused;
    }
  };
  track(x, TownNode(8), x, TownNode(0) - 14);
  track(x, TownNode(0) - 14, x - 22, TownNode(0) - 14);
  track(x - 12, TownNode(0) - 14, x - 12, TownNode(0) - 34);
  if (rails->SetTrainStopAt(static_cast<short>(x), static_cast<short>(TownNode(2))) != 0) {
    std::fprintf(stderr, "no train stop at %d/%d\n", x, TownNode(2));
    ++refused;
  }
  return refused;
}

CStrJunction* JunctionAt(CStrJunctionList* net, int i, int j) {
  for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) {
    auto* junction = static_cast<CStrJunction*>(o);
    if (junction->GetXPos() == TownNode(i) && junction->GetYPos() == TownNode(j)) return junction;
  }
  return nullptr;
}

// Lights at three crossings around the middle of the town and right-of-way
// signs at three others; the hour that holds the streets is computed and
// activated, and every direction of every street is given a flow of
// `percent` of its capacity. Returns the number of junctions refused.
int MakeTraffic(CZorvaWorld& world, int percent) {
  CStrJunctionList* net = world.GetStreetNet();
  CSimWelt* sim = world.GetSimWelt();
  int refused = 0;
  struct Control {
    int i, j;
    EAmpelType type;
  };
  for (const Control& c : {Control{4, 5, Ampel_Ampel}, Control{5, 6, Ampel_Ampel}, Control{6, 4, Ampel_Ampel},
                           Control{5, 4, Ampel_Vorfahrt}, Control{4, 6, Ampel_Vorfahrt}, Control{6, 6, Ampel_Vorfahrt}}) {
    CStrJunction* junction = JunctionAt(net, c.i, c.j);
    if (!junction || junction->SetAmpelData(c.type, 20, 0.5f) != 0) {
      std::fprintf(stderr, "junction %d/%d refused %d\n", c.i, c.j, static_cast<int>(c.type));
      ++refused;
    }
  }
  if (sim->StartNextIntervall(false) <= 0) return refused + 1;
  for (int guard = 0; sim->Computate(1) != 0 && guard < 100000; ++guard) {
  }
  if (!sim->ActivateCalculatedSlot()) return refused + 1;
  auto feed = [&](short id) {
    CSimStreet* s = id ? sim->ActiveSlot()->GetStreet(id) : nullptr;
    if (!s) return;
    if (s->Capacity() <= 0) s->SetCapacity(600);
    s->ResetCarFlow();
    s->AddCarFlow(s->Capacity() * percent / 100);
  };
  for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) {
    auto* junction = static_cast<CStrJunction*>(o);
    for (int k = 0; k < junction->GetAnzLinkedStreets(); ++k) {
      CStrStrasse* street = junction->GetStreetByNR(k);
      if (street->GetStartJunction() != junction) continue;
      feed(static_cast<short>(street->GetSimID()));
      feed(static_cast<short>(street->GetSimIDSecond()));
    }
  }
  net->UpdateCarFlow();
  return refused;
}

// The traffic part of the game's turns on a hand-driven clock, 40 ms apart:
// the evaluation of counted cars and the map's turn over the micro view.
// Returns the number of cars on the map afterwards.
int RunTrafficTurns(CZorvaWorld& world, ZorManualClock& clock, int turns) {
  CMicroSimHost* host = CMicroSimHost::Get();
  for (int t = 0; t < turns; ++t) {
    clock.Advance(40);
    host->SetFrameTime(40);
    host->SetWorldTime(clock.Now());
    world.GetStreetNet()->BerechneISOAuslastung();
    world.GetIsoWelt()->OnPlayloopTurn();
  }
  CZorvaList* cars = world.GetUserInt() ? world.GetUserInt()->GetCarList() : nullptr;
  return cars ? cars->GetCount() : 0;
}

// The start-up windows (the title, then the welcome) open over the map in
// the game's first turns and pause it until the player clicks them away;
// they are closed as they open, so that the picture shows the map.
void CloseStartupWindows(CZorvaWorld& world) {
  CUserInt* ui = world.GetUserInt();
  if (!ui) return;
  for (int id : {249, 246, 245, 237}) ui->DeActivateWindow(id);
  if (world.IsPause()) world.SetPause(false);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <output.bmp> [zoom level 1, 2 or 4] [streets | streettown | busytown | railtown]\n",
                 argv[0]);
    return 2;
  }
  OpenErrorLog("errors.log");
  CZorvaWorld world;
  world.Create();
  world.OnStartup();
  const std::string what = argc > 3 ? argv[3] : "";
  const bool busyTown = what == "busytown";
  const bool railTown = what == "railtown";
  const bool streetTown = what == "streettown" || busyTown || railTown;
  const bool streets = what == "streets" || streetTown;
  // Anything the networks refuse fails the run: the picture would not show
  // what it is meant to.
  int placed = 0;
  if (streetTown)
    placed = BuildStreetTown(world) == 0 ? 1 : 0;
  else if (streets)
    placed = PlaceStreets(world);
  if (railTown && BuildRailway(world) != 0) placed = 0;
  for (const Building& b : kTown)
    if (!streets && world.CreateObject(OBJ_FIXED_BUILDING, b.resId, CIsoRichtung(b.dir), kOrigin + b.x, kOrigin + b.y,
                           static_cast<ESimLocationHeight>(0), nullptr, 0, nullptr, 0, -1))
      ++placed;
  // The map starts at level 2; level 1 is the closest view.
  const int level = argc > 2 ? std::atoi(argv[2]) : 1;
  if (level == 1) world.GetIsoWelt()->UserIntZoomOut();
  if (level == 4) world.GetIsoWelt()->UserIntZoomIn();
  if (railTown)
    world.GetIsoWelt()->SetIsoCenter(TownNode(0) - 6, TownNode(1) + 1);
  else if (streetTown)
    world.GetIsoWelt()->SetIsoCenter(TownNode(5), TownNode(5));
  else
    world.GetIsoWelt()->SetIsoCenter(kOrigin + 7, kOrigin + 6);
  ZorManualClock clock{1000};
  int cars = 0;
  if (busyTown) {
    ZorSetClock(&clock);
    if (MakeTraffic(world, 80) != 0) placed = 0;
    cars = RunTrafficTurns(world, clock, 400);
    std::printf("%d cars on the map\n", cars);
  }
  CZorFrameLoop loop(&world);
  for (int i = 0; i < 10; ++i) {
    clock.Advance(40);
    loop.Iterate();
    CloseStartupWindows(world);
  }
  const int saved = SDL_SaveBMP(world.GetScreen(), argv[1]);
  std::printf("%d of %d buildings placed\n", placed, static_cast<int>(sizeof kTown / sizeof kTown[0]));
  world.OnShutdown();
  world.Destroy();
  ZorSetClock(nullptr);
  return saved == 0 && placed > 0 && (!busyTown || cars > 0) ? 0 : 1;
}
