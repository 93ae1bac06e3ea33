#pragma once
// The random edit storm of what stands on the streets and beside them:
// stops, lines and their vehicles, the buildings of the palette, zones and
// the measures' switches, on a town with streets and a track, driven
// through the calls the player's tools make (CUserInt's tool calls, the
// removal questions answered with the Return key, the public-transport
// window's variables). A step is one line of a replay:
//   S x y sub        the stop tool's subtool pressed at the cell
//   X x y            the stop removal tool at the cell, answered with yes
//   B x y tool sub   a building tool (6, 7, 8) pressed at the cell
//   Z x y x2 y2 tool a zone tool (10..12) dragged over the rectangle
//   C x y x2 y2      the zone clearing tool dragged over the rectangle
//   R x y            the removal tool at the cell, answered with yes
//   N x y x2 y2      a new line from the stop at the first cell to the second
//   E n x y tool     line n edited at the stop: 16 head, 17 tail, 19 out
//   D n              line n deleted
//   V n plus         a vehicle moved to (1) or from (0) line n
//   F kind count     vehicles bought (sold below 0): kind 0 buses, 1 trams
//   M row value      a measure's switch set
//   T x y            the street tool's removal at the cell
//   H hours          the game played on
//   W                saved and loaded
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <memory>
#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "framework/qno_event.h"
#include "savegame_bytes.h"
#include "gui/gui_host.h"
#include "model/message.h"
#include "iso/iso_welt.h"
#include "measures/active_route_guidance.h"
#include "measures/advice_centre.h"
#include "measures/building_object.h"
#include "measures/carsharing.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"
#include "measures/park_management.h"
#include "measures/park_ride.h"
#include "measures/pta.h"
#include "microsim/micro_car.h"
#include "model/data_exchange.h"
#include "network/rail_junction_list.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "scenario_opnv_steps.h"
#include "sim/sim_district.h"
#include "sim/sim_location.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/storm_support.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "ui/user_int_place.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_host.h"

namespace objstorm {

using zortest::Scenario;

struct Op {
  char kind = 'W';
  int a = 0, b = 0, c = 0, d = 0, e = 0;
};

inline std::string Format(const Op& o) {
  std::ostringstream s;
  s << o.kind << ' ' << o.a << ' ' << o.b << ' ' << o.c << ' ' << o.d << ' ' << o.e;
  return s.str();
}

// The steps of a text, one a line; lines that do not start with a step's
// letter (comments, notes) are left out.
inline std::vector<Op> Parse(const std::string& text) {
  std::vector<Op> out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || std::string("SXBZCRNEDVFMTHW").find(line[0]) == std::string::npos) continue;
    std::istringstream l(line);
    Op o;
    l >> o.kind >> o.a >> o.b >> o.c >> o.d >> o.e;
    out.push_back(o);
  }
  return out;
}

inline std::vector<Op> ReadSteps(const char* path) { return Parse(zortest::ReadFile(path)); }

// The measures' switches a step sets: the campaigns and the services'
// prices, as their pages set them.
struct Switch {
  int measure;  // 0 park-and-ride, 1 car sharing, 2 advice centre, 3 travel assistant
  const char* key;
  int most;
};
inline const std::vector<Switch>& Switches() {
  static const std::vector<Switch> all = {
      {0, "PR.ADRADIO", 1},           {0, "PR.ADPRINT", 1},     {1, "CS.ADVERTISMENT.RADIO", 1},
      {1, "CS.ADVERTISMENT.PRINT", 1}, {2, "MZ.ADRADIO", 1},     {2, "MZ.ADPRINT", 1},
      {3, "PTA.ADVERTISMENT.PRINT", 1}, {3, "PTA.ADVERTISMENT.RADIO", 1}};
  return all;
}

constexpr int kTurnMs = 50;
constexpr int kHourMs = 400;

// A building's kind is one the palette places and the removal tool takes.
inline bool IsPaletteKind(int kind) {
  return (kind >= OBJ_ZONE_RESIDENTIAL && kind <= OBJ_ZONE_INDUSTRIAL) ||
         (kind >= OBJ_SHOPPING && kind <= OBJ_ENTERTAINMENT) ||
         (kind >= OBJ_CARPARK_OPEN && kind <= OBJ_CARPARK_GARAGE2) ||
         (kind >= OBJ_TRANSMITTER && kind <= OBJ_CARSHARING_STATION) || kind == OBJ_PARKRIDE ||
         kind == OBJ_ADVICE_CENTRE;
}
inline bool IsStopKind(int kind) {
  return (kind >= OBJ_BUSSTOP_SIGN && kind <= OBJ_BUSSTOP_SHELTER4) || kind == OBJ_TRAMSTOP;
}

// The town the storm works on and the game that holds it.
class StormGame {
 public:
  StormGame() {
    zortest::Clock().Set(0);
    zor_srandom(1);
    game = std::make_unique<Scenario>();
    zortest::LineTown town;
    zortest::BuildLineTown(*game, town);
    ox = town.ox;
    oy = town.oy;
    World().GetDataExchange()->VarAddValue("F.KONTO", 2e8);
    EXPECT_EQ(zortest::BuildStreet(World(), ox + 24, oy + 6, ox + 38, oy + 6, STRASSE_VIERSPURIG), STR_BUILD_OK);
    // The lines follow the split street, as after the street tool.
    Opnv().GetBusNet()->CheckAllLinesForStreetChange();
    World().SetGameSpeed(CZorvaWorld::kGameSpeedSum - kHourMs);
  }

  CZorvaWorld& World() { return game->World(); }
  CUserInt& Ui() { return game->Ui(); }
  COpnv& Opnv() { return *World().GetOpnv(); }

  // The cells the storm uses.
  int X0() const { return ox - 6; }
  int X1() const { return ox + 40; }
  int Y0() const { return oy - 12; }
  int Y1() const { return oy + 20; }

  std::unique_ptr<Scenario> game;
  int ox = 0, oy = 0;
};

// The cell a placed building or stop stands on (its first), -1/-1 for
// other objects.
inline int XOf(const CWorldObj* o) {
  auto* b = dynamic_cast<const CBuildingObject*>(o);
  return b ? b->GetXPos() : -1;
}
inline int YOf(const CWorldObj* o) {
  auto* b = dynamic_cast<const CBuildingObject*>(o);
  return b ? b->GetYPos() : -1;
}

// The tools' calls on a mouse press and release, as the interface's input
// filter makes them on the map.
struct Tools : CUserInt {
  static int Build(CUserInt& u, int x, int y) { return (u.*&Tools::BuildBuildingLayerObject)(x, y); }
  static int StopShow(CUserInt& u, int x, int y) { return (u.*&Tools::CheckBusStopTypeRichtungShow)(x, y); }
  static int Remove(CUserInt& u, int x, int y, int layer) { return (u.*&Tools::RemoveObject)(x, y, layer); }
  static int AreaStart(CUserInt& u, int x, int y) { return (u.*&Tools::SelectFlaecheStartPoint)(x, y); }
  static int AreaEnd(CUserInt& u, int x, int y) { return (u.*&Tools::SelectFlaecheFinishPoint)(x, y); }
  static int Zone(CUserInt& u) { return (u.*&Tools::BuildFlaeche)(selObj); }
  static int ClearZone(CUserInt& u) { return (u.*&Tools::RemoveFlaeche)(selObj); }
  static int ListBuildings(CUserInt& u) { return (u.*&Tools::CheckBuildingList)(); }
  static int AskRemoval(CUserInt& u) { return (u.*&Tools::RemoveBuildingSelection)(); }
  static int LineAt(CUserInt& u, int x, int y) { return (u.*&Tools::BuildRemoveOpnvLine)(x, y); }
  static int DeleteStreetAt(CUserInt& u, int x, int y) { return (u.*&Tools::DeleteStreet)(x, y); }
  static int ResetList(CUserInt& u) { return (u.*&Tools::ResetSelectedBuildingList)(); }
};

// Objects of the world's list.
inline std::vector<CWorldObj*> Objects(CZorvaWorld& w) {
  std::vector<CWorldObj*> out;
  for (CZorvaObject* o = w.GetObjectList()->GetHead(); o; o = o->GetNext()) out.push_back(static_cast<CWorldObj*>(o));
  return out;
}

inline std::vector<COpnvLine*> Lines(COpnv& opnv) {
  std::vector<COpnvLine*> out;
  opnv.SetupLineCount();
  while (COpnvLine* l = opnv.GetNextLine()) out.push_back(l);
  return out;
}

inline double Account(CZorvaWorld& w, const char* name) { return w.GetDataExchange()->GetVarValue(name); }

// The accounts a step may book on.
struct Accounts {
  // The cash, the two accounts the tools book on, and the measures'
  // balances, which the cash follows whenever the city books.
  double konto = 0, build = 0, stops = 0, measures = 0;
  static Accounts Of(CZorvaWorld& w) {
    return {Account(w, "F.KONTO"), Account(w, place::kBuildCosts), Account(w, place::kStopCosts),
            Account(w, "F.INCOME.ZORV")};
  }
};

// The price of placing (cls 0) or removing (cls 1) an object of the kind.
inline double PriceOf(CWorldObj* o, int cls) {
  CWorldHost* host = CWorldHost::Get();
  const int kind = o->GetType();
  auto* b = dynamic_cast<CBuildingObject*>(o);
  if (cls == 1 && kind >= OBJ_RESIDENTIAL && kind <= OBJ_INDUSTRY) {
    double cost = 0;
    o->GetVarData("BUILDING.REMOVECOST", &cost);
    return static_cast<int>(cost);
  }
  // A placement is priced by its catalogue row, a removal by what stands.
  const int height = cls == 0 && b ? place::Height(place::Potential(b->GetResID())) : place::Height(b);
  const int entry = kind >= OBJ_ZONE_RESIDENTIAL && kind <= OBJ_ZONE_INDUSTRIAL ? place::ZoneEntry(kind, height)
                    : cls == 0                                                   ? place::PlaceEntry(kind, height)
                                                                                 : place::RemoveEntry(kind, height);
  return entry < 0 ? 0 : static_cast<int>(host->GetPreis(entry, cls));
}

// What the checks compare of a refused step: the lines' records, the stops
// and the managers' lists, and the demand model's locations.
inline std::string Fingerprint(StormGame& g) {
  std::ostringstream s;
  for (COpnvLine* l : Lines(g.Opnv())) {
    const LineDataType* d = l->GetData();
    s << 'L' << l->GetID() << ':' << d->stopsOneWay << '/' << d->streetsOneWay << '/' << d->vehiclesNeeded << '/'
      << d->normalBuses + d->trams;
    for (int i = 0; i < d->stopEntries && i < LineDataType::kMaxStopEntries; ++i) s << ',' << d->stopIds[i];
    for (int i = 0; i < d->streetEntries && i < LineDataType::kMaxStreets; ++i) s << ';' << d->streetIds[i];
  }
  s << " H" << g.Opnv().GetHstCount() << " O" << Objects(g.World()).size() << " F"
    << g.World().GetLocationFactory()->GetLocationCount();
  return s.str();
}

// The checks after a step.
class Checker {
 public:
  explicit Checker(StormGame& g) : m_g(g) {}

  std::vector<std::string> Check() {
    std::vector<std::string> out;
    CZorvaWorld& w = m_g.World();
    CIsoWelt& map = *w.GetIsoWelt();
    const std::vector<CWorldObj*> objects = Objects(w);
    const std::set<const CWorldObj*> live(objects.begin(), objects.end());
    auto name = [](const CWorldObj* o) {
      return "kind " + std::to_string(o->GetType()) + " at " + std::to_string(XOf(o)) + "/" +
             std::to_string(YOf(o));
    };
    // Every building and stop on each of its cells.
    std::map<int, std::set<const CWorldObj*>> byKind;
    for (CWorldObj* o : objects) {
      const int kind = o->GetType();
      byKind[kind].insert(o);
      if (!IsPaletteKind(kind) && !IsStopKind(kind) && !(kind >= OBJ_RESIDENTIAL && kind <= OBJ_INDUSTRY)) continue;
      const TBaseType layer = IsStopKind(kind) ? ISO_LAYER_UPPER : ISO_LAYER_GROUND;
      if (IsStopKind(kind)) {
        if (map.GetIsoTileObject(XOf(o), YOf(o), layer) != o)
          out.push_back("a stop is not on its cell: " + name(o));
        continue;
      }
      const int sx = std::max(1, o->GetXSizeRichtung()), sy = std::max(1, o->GetYSizeRichtung());
      for (int x = XOf(o); x < XOf(o) + sx; ++x)
        for (int y = YOf(o); y < YOf(o) + sy; ++y)
          if (map.GetIsoTileObject(x, y, layer) != o) out.push_back("a building is not on its cell: " + name(o));
    }
    // Every object the map shows in the storm's cells is a live one.
    for (int x = m_g.X0() - 4; x <= m_g.X1() + 4; ++x)
      for (int y = m_g.Y0() - 4; y <= m_g.Y1() + 4; ++y)
        for (TBaseType layer : {ISO_LAYER_GROUND, ISO_LAYER_UPPER}) {
          CWorldObj* o = map.GetIsoTileObject(x, y, layer);
          if (!o || o->GetType() == OBJ_GROUND) continue;
          const int kind = o->GetType();
          if ((IsPaletteKind(kind) || IsStopKind(kind)) && !live.count(o))
            out.push_back("the map shows a building that is gone at " + std::to_string(x) + "/" + std::to_string(y));
        }
    // The managers' lists: only live buildings of their kinds, and every
    // live one of those kinds.
    struct ListOf {
      const char* what;
      CZorvaList* list;
      std::vector<int> kinds;
    };
    const ListOf lists[] = {
        {"car sharing", w.GetCarsharing()->GetList("CS.PLACELIST"), {OBJ_CARSHARING_CENTRE, OBJ_CARSHARING_STATION}},
        {"parking", w.GetParkManagement()->GetList("PRM.PLACELIST"),
         {OBJ_CARPARK_OPEN, OBJ_CARPARK_GARAGE, OBJ_CARPARK_GARAGE2}},
        {"park-and-ride", w.GetParkRide()->GetList("PR.PLACELIST"), {OBJ_PARKRIDE}},
        {"advice centre", w.GetZorviZentrale()->GetList("MZ.PLACELIST"), {OBJ_ADVICE_CENTRE}},
        {"route guidance", w.GetAktiveRP()->GetList("AR.OUTLETLIST"), {OBJ_TRANSMITTER}},
        {"stops", m_g.Opnv().GetHstList(),
         {OBJ_BUSSTOP_SIGN, OBJ_BUSSTOP_SIGN4, OBJ_BUSSTOP_SHELTER, OBJ_BUSSTOP_SHELTER4, OBJ_TRAMSTOP}},
    };
    for (const ListOf& l : lists) {
      std::set<const CWorldObj*> listed;
      for (CZorvaPointer* n = l.list ? l.list->GetHeadZorvaPointer() : nullptr; n; n = n->GetNextZorvaPointer()) {
        auto* o = static_cast<const CWorldObj*>(n->GetZorvaObject());
        if (!live.count(o)) {
          out.push_back(std::string("the ") + l.what + " list names a building that is gone");
          continue;
        }
        if (!listed.insert(o).second) out.push_back(std::string("the ") + l.what + " list names a building twice");
        if (std::find(l.kinds.begin(), l.kinds.end(), o->GetType()) == l.kinds.end())
          out.push_back(std::string("the ") + l.what + " list names a " + name(o));
      }
      for (int kind : l.kinds)
        for (const CWorldObj* o : byKind[kind])
          if (!listed.count(o)) out.push_back(std::string("the ") + l.what + " list misses a " + name(o));
    }
    // Car parks, park-and-ride sites and car-sharing outlets stand within
    // reach of a street: a street or crossing cell in the ring of their
    // access distance around the footprint.
    for (CWorldObj* o : objects) {
      const int kind = o->GetType();
      if (!NeedsStreetAccess(kind)) continue;
      const int reach = StreetAccessDistance(kind);
      const int sx = std::max(1, o->GetXSizeRichtung()), sy = std::max(1, o->GetYSizeRichtung());
      bool street = false;
      for (int x = XOf(o) - reach; x < XOf(o) + sx + reach; ++x)
        for (int y = YOf(o) - reach; y < YOf(o) + sy + reach; ++y) {
          if (x < 0 || y < 0 || x > 127 || y > 127) continue;
          const int t = map.GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
          street = street || t == OBJ_STREET_PIECE || t == OBJ_CROSSING;
        }
      if (!street) out.push_back("no street within reach of a " + name(o));
    }
    // One car-sharing office and one advice centre at most.
    if (byKind[OBJ_CARSHARING_CENTRE].size() > 1) out.push_back("more than one car-sharing office stands");
    if (byKind[OBJ_ADVICE_CENTRE].size() > 1) out.push_back("more than one advice centre stands");
    // The demand model's locations: each building's in the factory and in
    // its district, and none of a building that is gone.
    CSimLocationFactory* factory = w.GetLocationFactory();
    std::set<const CSimLocation*> inDistricts;
    for (int dx = 0; dx < 16; ++dx)
      for (int dy = 0; dy < 16; ++dy) {
        CSimDistrict* d = w.GetSimWelt()->GetDistrict(dx, dy);
        if (!d) continue;
        CLocationListT<CSimLocation> copy(2, 0);
        d->pCopyOfLocationList(&copy);
        copy.SetupLocationCount(0);
        while (CSimLocation* x = copy.GetNextLocation()) inDistricts.insert(x);
      }
    std::set<const CSimLocation*> ofBuildings;
    for (CWorldObj* o : objects) {
      auto* b = dynamic_cast<CBuildingObject*>(o);
      CSimLocation* l = b ? b->GetSimLocation() : nullptr;
      if (!l) continue;
      ofBuildings.insert(l);
      if (factory->CheckLocationInFactoryList(l) != 0) out.push_back("the factory misses the location of a " + name(o));
      if (!inDistricts.count(l)) out.push_back("the district does not list the location of a " + name(o));
    }
    for (const CSimLocation* l : inDistricts)
      if (!ofBuildings.count(l)) out.push_back("a district lists a location no building stands for");
    for (int i = 0; i < factory->GetLocationCount(); ++i)
      if (!ofBuildings.count(factory->GetLocation(i)))
        out.push_back("the factory keeps a location no building stands for");
    // Lines: over live streets of their network, at live stops of their
    // kind, with their vehicles on them.
    CBuildingList* stops = m_g.Opnv().GetHstList();
    for (COpnvLine* line : Lines(m_g.Opnv())) {
      const LineDataType* d = line->GetData();
      const std::string ln = "line " + std::to_string(line->GetID());
      std::set<short> streets;
      for (int k = 0; k < d->streetEntries && k < LineDataType::kMaxStreets; ++k) {
        streets.insert(d->streetIds[k]);
        if (!line->GetNetwork() || !line->GetNetwork()->GetStreetByID(d->streetIds[k]))
          out.push_back(ln + " runs over a street that is gone");
      }
      for (int i = 0; i < d->stopsOneWay && i < LineDataType::kMaxStopsOneWay; ++i) {
        auto* stop = static_cast<CWorldObj*>(d->stopObjects[i]);
        if (!stop || !live.count(stop) || stops->CheckZorvaInList(static_cast<CBuildingObject*>(stop)) != 0) {
          out.push_back(ln + " stops at a stop that is gone");
          continue;
        }
        const bool tram = stop->GetType() == OBJ_TRAMSTOP;
        if (tram != (line->GetNetType() == NET_TRAM)) out.push_back(ln + " stops at a stop of the other kind");
        if (static_cast<int>(static_cast<CSecondLayerObject*>(stop)->GetID()) != d->stopIds[i]) out.push_back(ln + " names a stop by another's id");
      }
      for (int i = 0; i < COpnvLine::kVehicleSlots; ++i) {
        CMicroOpnv* v = line->GetVehicle(i);
        if (!v) continue;
        if (v->GetOpnvLine() != line) out.push_back(ln + " has a vehicle of another line");
        bool against = false;
        CStrStrasse* s = line->GetAktualMicroStreet(i, against);
        if (s && !streets.count(static_cast<short>(s->GetSimID())) &&
            !streets.count(static_cast<short>(s->GetSimIDSecond())))
          out.push_back(ln + " has a vehicle off its streets");
      }
    }
    return out;
  }

 private:
  StormGame& m_g;
};

// What a run found: the step, its findings and the steps that led there.
struct Finding {
  int step = -1;
  std::vector<std::string> faults;
  std::vector<Op> ops;
};

// The game and its checker, applying steps.
class Storm {
 public:
  Storm() : m_checker(m_g) {
    // The first load numbers the demand model's streets as every later load
    // does: from then on a load gives the game it was saved from.
    EXPECT_EQ(World().SerializeGameStore("SaveGame/OBJSTORM.GMD"), 0);
    EXPECT_EQ(World().SerializeGameLoad("SaveGame/OBJSTORM.GMD"), 0);
  }
  StormGame& Game() { return m_g; }
  CZorvaWorld& World() { return m_g.World(); }

  // Applies the step; the findings of the step's own checks (money,
  // refusals, round trips) and, with `check`, of the whole checker.
  std::vector<std::string> Apply(const Op& o, bool check = true) {
    std::vector<std::string> out;
    CZorvaWorld& w = World();
    CloseQuestions();
    const std::vector<CWorldObj*> before = Objects(w);
    // An object is told by its address, kind and cell: a new one may take
    // the address of one that went in the same step.
    using Id = std::tuple<const CWorldObj*, int, int, int>;
    auto id = [](const CWorldObj* obj) { return Id{obj, obj->GetType(), XOf(obj), YOf(obj)}; };
    std::set<Id> b;
    for (CWorldObj* obj : before) b.insert(id(obj));
    std::map<const CWorldObj*, double> removal;
    const bool edits = std::string("SXBZCRT").find(o.kind) != std::string::npos;
    if (edits)
      for (CWorldObj* obj : before)
        if (IsPaletteKind(obj->GetType()) || IsStopKind(obj->GetType()) ||
            (obj->GetType() >= OBJ_RESIDENTIAL && obj->GetType() <= OBJ_INDUSTRY))
          removal[obj] = PriceOf(obj, 1);
    const Accounts was = Accounts::Of(w);
    const std::string print = check ? Fingerprint(m_g) : std::string();
    const size_t streets = Streets();
    Do(o, out);
    if (!check) return out;
    const std::vector<CWorldObj*> after = Objects(w);
    std::set<Id> a;
    for (CWorldObj* obj : after) a.insert(id(obj));
    double build = 0, stops = 0;
    int changes = 0;
    for (CWorldObj* obj : after)
      if (!b.count(id(obj))) {
        ++changes;
        (IsStopKind(obj->GetType()) ? stops : build) += PriceOf(obj, 0);
      }
    for (const auto& [obj, kind, x, y] : b)
      if (!a.count(Id{obj, kind, x, y})) {
        ++changes;
        // What a placement takes away (a zone under a building) is not the
        // player's removal.
        if (std::string("RCX").find(o.kind) != std::string::npos) build += removal.count(obj) ? removal[obj] : 0;
      }
    const Accounts now = Accounts::Of(w);
    auto money = [&](const char* what, double change, double expected) {
      // The accounts are floats: a change is exact to a few of their steps.
      double most = 0;
      for (const Accounts* x : {&was, &now})
        for (double v : {x->konto, x->build, x->stops, x->measures}) most = std::max(most, std::abs(v));
      const double step = most * 2.4e-7;
      if (std::abs(change - expected) > std::max(0.01, step))
        out.push_back(std::string(what) + " changed by " + std::to_string(change) + " where the step's price is " +
                      std::to_string(expected));
    };
    if (edits) {
      const bool refused = changes == 0 && Streets() == streets;
      // A street that goes is priced by the street tool's own rules; a
      // refused one costs nothing.
      if (o.kind != 'T' || refused) {
        money("the building costs", now.build - was.build, build);
        // The stops' costs reach the cash with public transport's balance.
        money("the cash", now.konto - was.konto, -build + (now.measures - was.measures));
      }
      money("the stops' costs", now.stops - was.stops, stops);
      if (refused && Fingerprint(m_g) != print) out.push_back("a refused step changed the game");
    } else if (o.kind != 'H' && o.kind != 'W' && o.kind != 'F') {
      money("the building costs", now.build - was.build, 0);
      money("the stops' costs", now.stops - was.stops, 0);
      money("the cash", now.konto - was.konto, now.measures - was.measures);
    }
    for (const std::string& f : m_checker.Check()) out.push_back(f);
    return out;
  }

 private:
  CUserInt& Ui() { return m_g.Ui(); }
  size_t Streets() {
    size_t n = 0;
    for (CStrJunctionList* net : {static_cast<CStrJunctionList*>(World().GetStreetNet()),
                                  static_cast<CStrJunctionList*>(World().GetStreetNet()->GetRailNet())})
      for (CZorvaObject* j = net->GetHead(); j; j = j->GetNext()) n += static_cast<CStrJunction*>(j)->GetAnzLinkedStreets();
    return n;
  }
  // Warnings and open questions of the step before are closed, as a player
  // closes them before the next.
  void CloseQuestions() {
    World().GetMessage()->DeactivateAchtungMessage();
    for (int id : {220, 223, 243, 244, 247}) World().DeActivateWindow(id);
  }
  // The Return key, which answers the open question with yes.
  void Return() {
    zortest::Clock().Advance(400);
    QnoInteractionEvent e;
    e.type = QNO_EVENT_KEYDOWN;
    e.x = QNO_KEY_RETURN;
    World().InputFilter(&e, nullptr);
  }
  bool Open(int id) { return Ui().IsWindowOpen(id) == 0; }
  COpnvLine* Line(int number) { return m_g.Opnv().GetLineByID(number); }
  void LeaveLineTools() { Ui().SetToolNr(1, -1, -1); }

  void Play(int hours) {
    CSimWelt* sim = World().GetSimWelt();
    const int until = sim->Date().TicksFromStart() + hours;
    for (int i = 0; i < 2000 && sim->Date().TicksFromStart() < until; ++i) {
      zortest::Clock().Advance(kTurnMs);
      World().OnPlayloopTurn();
      if (World().IsPause() && m_g.game->IsOpen(236)) {
        World().DeActivateWindow(236);
        World().SetPause(false);
      }
    }
  }

  void Do(const Op& o, std::vector<std::string>& out) {
    CUserInt& ui = Ui();
    selObjType& sel = CUserInt::selObj;
    switch (o.kind) {
      case 'S':
        ui.SetToolNr(5, o.c, -1);
        sel.startX = sel.endX = o.a;
        sel.startY = sel.endY = o.b;
        Tools::StopShow(ui, o.a, o.b);
        Tools::Build(ui, o.a, o.b);
        break;
      case 'X': {
        ui.SetToolNr(23, -1, -1);
        const TObjectType upper = World().GetIsoWelt()->GetTypeAt(static_cast<unsigned short>(o.a),
                                                                  static_cast<unsigned short>(o.b), ISO_LAYER_UPPER);
        if (!IsStopKind(upper)) break;
        Tools::Remove(ui, o.a, o.b, 1);
        if (Open(223)) Return();
        break;
      }
      case 'B':
        ui.SetToolNr(o.c, o.d, o.e);
        sel.startX = sel.endX = o.a;
        sel.startY = sel.endY = o.b;
        Tools::Build(ui, o.a, o.b);
        break;
      case 'Z':
      case 'C':
        ui.SetToolNr(o.kind == 'Z' ? o.e : 13, 1, o.kind == 'Z' ? 1 : -1);
        sel.leftDrag = 1;
        Tools::AreaStart(ui, o.a, o.b);
        Tools::AreaEnd(ui, o.c, o.d);
        if (o.kind == 'Z')
          Tools::Zone(ui);
        else
          Tools::ClearZone(ui);
        sel.leftDrag = 0;
        sel.startX = -1;
        break;
      case 'R':
        ui.SetToolNr(15, -1, -1);
        Tools::ResetList(ui);
        sel.startX = sel.endX = o.a;
        sel.startY = sel.endY = o.b;
        Tools::ListBuildings(ui);
        Tools::Remove(ui, o.a, o.b, 0);
        sel.endX = o.a;
        sel.endY = o.b;
        Tools::AskRemoval(ui);
        if (Open(223) || Open(243) || Open(244)) Return();
        break;
      case 'N':
        LeaveLineTools();
        ui.SetToolNr(20, 0, 1);
        Tools::LineAt(ui, o.a, o.b);
        Tools::LineAt(ui, o.c, o.d);
        LeaveLineTools();
        break;
      case 'E':
      case 'D': {
        COpnvLine* line = Line(o.a);
        if (!line) break;
        LeaveLineTools();
        CGuiHost::Get()->SetSelectedLine(line, line->GetID());
        if (o.kind == 'D') {
          CGuiHost::Get()->RemoveSelectedLine();
          CGuiHost::Get()->SetSelectedLine(nullptr, -1);
          break;
        }
        ui.SetToolNr(o.d, 0, 1);
        CGuiHost::Get()->SetSelectedLine(line, line->GetID());
        Tools::LineAt(ui, o.b, o.c);
        LeaveLineTools();
        break;
      }
      case 'V':
        if (!Line(o.a)) break;
        m_g.Opnv().SetActiveLine(o.a);
        m_g.Opnv().SetVarData(o.b ? "OPNV.MOVEFP.PLUS" : "OPNV.MOVEFP.MINUS", 1);
        break;
      case 'F':
        m_g.Opnv().SetVarData(o.a == 0 ? "OPNV.FP.BUS.NORMAL.BUYSELL" : "OPNV.FP.TRAM.BUYSELL", o.b);
        m_g.Opnv().SetVarData(o.a == 0 ? "OPNV.FP.BUS.BUYSELL.OK" : "OPNV.FP.TRAM.BUYSELL.OK", 1);
        break;
      case 'M': {
        const Switch& s = Switches()[static_cast<size_t>(o.a) % Switches().size()];
        CWorldObj* measures[] = {World().GetParkRide(), World().GetCarsharing(), World().GetZorviZentrale(),
                                 World().GetPta()};
        measures[s.measure]->SetVarData(s.key, o.b);
        break;
      }
      case 'T':
        ui.SetToolNr(9, -1, -1);
        Tools::DeleteStreetAt(ui, o.a, o.b);
        break;
      case 'H':
        Play(o.a);
        break;
      case 'W':
        for (const std::string& f : RoundTrip()) out.push_back(f);
        break;
      default:
        break;
    }
    CloseQuestions();
  }

  // Saved, loaded, saved and loaded again: the same bytes.
  std::vector<std::string> RoundTrip() {
    CZorvaWorld& w = World();
    const char* path = "SaveGame/OBJSTORM.GMD";
    const size_t objects = Objects(w).size();
    if (w.SerializeGameStore(path) != 0) return {"the game could not be saved"};
    if (w.SerializeGameLoad(path) != 0) return {"the saved game could not be loaded"};
    std::vector<std::string> out;
    if (Objects(w).size() != objects) out.push_back("the loaded game has another number of objects");
    std::string loaded, companion;
    w.SerializeToMemory(loaded, companion);
    if (w.SerializeGameStore(path) != 0 || w.SerializeGameLoad(path) != 0) return {"the loaded game could not be saved and loaded again"};
    std::string again, again2;
    w.SerializeToMemory(again, again2);
    if (again != loaded || again2 != companion) {
      const testing::AssertionResult same = zortest::SameBytes(again + again2, loaded + companion);
      out.push_back(std::string("the loaded game is saved as other bytes: ") + same.message());
    }
    return out;
  }

  StormGame m_g;
  Checker m_checker;
};

// Draws the next step from the game as it stands.
class OpSource {
 public:
  explicit OpSource(uint32_t seed) : m_rng(seed) {}

  Op Next(Storm& storm, int index) {
    if (index > 0 && index % 50 == 49) return {'W'};
    for (;;) {
      Op o;
      if (Draw(storm.Game(), &o)) return o;
    }
  }

 private:
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
  template <class T>
  const T& Pick(const std::vector<T>& v) {
    return v[static_cast<size_t>(Int(0, static_cast<int>(v.size()) - 1))];
  }

  bool Draw(StormGame& g, Op* o) {
    CIsoWelt& map = *g.World().GetIsoWelt();
    std::vector<std::pair<int, int>> roads, tracks;
    for (int x = g.X0(); x <= g.X1(); ++x)
      for (int y = g.Y0(); y <= g.Y1(); ++y) {
        const TObjectType t = map.GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
        if (t == OBJ_STREET_PIECE) roads.push_back({x, y});
        if (t == OBJ_RAIL_PIECE) tracks.push_back({x, y});
      }
    std::vector<std::pair<int, int>> stops, buildings;
    std::vector<int> lines;
    for (CWorldObj* obj : Objects(g.World())) {
      if (IsStopKind(obj->GetType())) stops.push_back({XOf(obj), YOf(obj)});
      if (IsPaletteKind(obj->GetType()) || (obj->GetType() >= OBJ_RESIDENTIAL && obj->GetType() <= OBJ_INDUSTRY))
        buildings.push_back({XOf(obj), YOf(obj)});
    }
    for (COpnvLine* l : Lines(g.Opnv())) lines.push_back(l->GetID());
    const int x = Int(g.X0(), g.X1()), y = Int(g.Y0(), g.Y1());
    const int pick = Int(0, 99);
    if (pick < 14) {  // a stop
      const bool tram = Int(0, 3) == 0;
      const auto& cells = tram ? tracks : roads;
      if (cells.empty()) return false;
      const auto [cx, cy] = Pick(cells);
      *o = {'S', cx, cy, tram ? 4 : Int(1, 2)};
      return true;
    }
    if (pick < 20) {  // a stop removed
      if (stops.empty()) return false;
      const auto [cx, cy] = Pick(stops);
      *o = {'X', cx, cy};
      return true;
    }
    if (pick < 36) {  // a building of the palette
      static const std::vector<std::array<int, 3>> palette = {
          {6, 1, 1}, {6, 2, 1}, {6, 2, 2}, {6, 3, 1}, {6, 5, 1}, {6, 6, 1}, {7, 1, 1}, {7, 2, 1}, {7, 2, 1},
          {7, 7, 1}, {7, 8, 1}, {7, 9, 1}, {8, 1, 1}, {8, 2, 1}, {8, 3, 1}};
      const auto& p = Pick(palette);
      *o = {'B', x, y, p[0], p[1], p[2]};
      return true;
    }
    if (pick < 40) {
      *o = {'Z', x, y, x + Int(0, 3), y + Int(0, 3), Int(10, 12)};
      return true;
    }
    if (pick < 43) {
      *o = {'C', x, y, x + Int(0, 4), y + Int(0, 4)};
      return true;
    }
    if (pick < 53) {  // a building removed
      if (buildings.empty()) return false;
      const auto [cx, cy] = Pick(buildings);
      *o = {'R', cx, cy};
      return true;
    }
    if (pick < 61) {  // a new line
      if (stops.size() < 2) return false;
      const auto [ax, ay] = Pick(stops);
      const auto [bx, by] = Pick(stops);
      *o = {'N', ax, ay, bx, by};
      return true;
    }
    if (pick < 73) {  // a line extended, shortened
      if (lines.empty() || stops.empty()) return false;
      const auto [cx, cy] = Pick(stops);
      static const std::vector<int> tools = {16, 17, 17, 19};
      *o = {'E', Pick(lines), cx, cy, Pick(tools)};
      return true;
    }
    if (pick < 76) {
      if (lines.empty()) return false;
      *o = {'D', Pick(lines)};
      return true;
    }
    if (pick < 83) {
      if (lines.empty()) return false;
      *o = {'V', Pick(lines), Int(0, 2) > 0 ? 1 : 0};
      return true;
    }
    if (pick < 86) {
      *o = {'F', Int(0, 1), Int(-3, 4)};
      return true;
    }
    if (pick < 90) {
      *o = {'M', Int(0, static_cast<int>(Switches().size()) - 1), Int(0, 1)};
      return true;
    }
    if (pick < 98) {  // a street or track deleted: often one under a stop
      const auto& cells = Int(0, 2) == 0 ? tracks : roads;
      if (cells.empty()) return false;
      const auto [cx, cy] = Pick(cells);
      *o = {'T', cx, cy};
      return true;
    }
    *o = {'H', 1};
    return true;
  }

  std::mt19937 m_rng;
};

// Runs the steps on a new game, checking each; stops at the first step
// with a finding.
inline Finding RunOps(const std::vector<Op>& ops) {
  Finding f;
  Storm storm;
  for (size_t i = 0; i < ops.size(); ++i) {
    std::vector<std::string> faults = stormkit::WithoutOpen(storm.Apply(ops[i]));
    if (!faults.empty()) {
      f.step = static_cast<int>(i);
      f.faults = faults;
      f.ops.assign(ops.begin(), ops.begin() + static_cast<long>(i) + 1);
      return f;
    }
  }
  return f;
}

// The storm: `steps` steps drawn from the game as it stands.
inline Finding RunStorm(uint32_t seed, int steps) {
  Finding f;
  Storm storm;
  OpSource source(seed);
  const int progress = stormkit::EnvInt("ZOR_STORM_PROGRESS", 0);
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < steps; ++i) {
    if (progress > 0 && i > 0 && i % progress == 0) {
      std::printf("object storm seed %u: %d steps clean in %.0f s\n", seed, i,
                  std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
      std::fflush(stdout);
    }
    const Op o = source.Next(storm, i);
    f.ops.push_back(o);
    std::vector<std::string> faults = stormkit::WithoutOpen(storm.Apply(o));
    if (!faults.empty()) {
      f.step = i;
      f.faults = faults;
      return f;
    }
  }
  f.ops.clear();
  return f;
}

// The findings after the last of the steps, the steps before it run
// unchecked.
inline std::vector<std::string> FindingsAtEnd(const std::vector<Op>& ops) {
  Storm storm;
  for (size_t i = 0; i + 1 < ops.size(); ++i) storm.Apply(ops[i], false);
  return stormkit::WithoutOpen(storm.Apply(ops.back()));
}

// A shorter sequence that still shows a finding of the same kind after its
// last step.
inline std::vector<Op> Minimize(std::vector<Op> ops, const std::string& finding) {
  const std::string kind = stormkit::Kind(finding);
  return stormkit::MinimizeBy(std::move(ops), [&kind](const std::vector<Op>& seq) {
    for (const std::string& s : FindingsAtEnd(seq))
      if (stormkit::Kind(s) == kind) return true;
    return false;
  });
}

}  // namespace objstorm
