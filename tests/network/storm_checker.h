#pragma once
// The street network's integrity after an edit, as a list of findings (empty
// when sound), for the random edit storm and its replayed sequences: the
// network's links both ways, the demand model's crossings and streets
// against the live network, the map's cells against the live objects,
// rivers and junctions, and the micro cells' links.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "framework/zor_seams.h"
#include "iso/iso_river.h"
#include "junction_scene.h"
#include "network/str_ampel.h"
#include "microsim/micro_cells.h"
#include "sim/sim_traffic_slot.h"
#include "support/test_support.h"

namespace stormtest {

using junctiontest::World;
using Cell = BinaryMicroSimObject;
using CellXY = std::pair<int, int>;

// One flag per map cell; cells off the map read as unset.
class CellFlags {
 public:
  void Set(int x, int y) {
    if (On(x, y)) m_flags[x * ISO_MAP_SIZE + y] = 1;
  }
  bool Get(int x, int y) const { return On(x, y) && m_flags[x * ISO_MAP_SIZE + y]; }

 private:
  static bool On(int x, int y) { return x >= 0 && y >= 0 && x < ISO_MAP_SIZE && y < ISO_MAP_SIZE; }
  std::vector<char> m_flags = std::vector<char>(ISO_MAP_SIZE * ISO_MAP_SIZE, 0);
};

// The river tile the world's generated data holds.
constexpr int kRiverRes = 38398;

// Rivers as the world's factory lays them: a river object per cell, made by
// the host and put into the map's ground layer.
inline std::set<CellXY> LayRivers(World& w, const std::vector<CellXY>& cells) {
  std::set<CellXY> out;
  for (auto [x, y] : cells) {
    auto* r = dynamic_cast<CRiverObject*>(w.host.CreateObject(OBJ_RIVER));
    if (!r) continue;
    r->Place(static_cast<uint16_t>(x), static_cast<uint16_t>(y), CIsoRichtung(0), kRiverRes);
    w.map->SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(0), kRiverRes, r);
    out.insert({x, y});
  }
  return out;
}

// The storm's rivers: one two tiles wide along y, one a tile wide along x.
inline std::vector<CellXY> StormRiverCells() {
  std::vector<CellXY> cells;
  for (int y = 2; y <= 62; ++y)
    for (int x : {30, 31}) cells.push_back({x, y});
  for (int x = 2; x <= 62; ++x)
    if (x != 30 && x != 31) cells.push_back({x, 45});
  return cells;
}

inline std::vector<CStrJunction*> JunctionList(World& w) {
  std::vector<CStrJunction*> out;
  for (CZorvaObject* o = w.net->GetHead(); o; o = o->GetNext()) out.push_back(static_cast<CStrJunction*>(o));
  return out;
}

// The cells a street's centre line runs over, its end cells included.
inline std::vector<CellXY> StreetCells(CStrStrasse* s) {
  std::vector<CellXY> out;
  for (int i = 1; CStrStrassenTeil* p = s->GetStrassenTeil(i); ++i) {
    const int mx = (p->GetEndX() > p->GetStartX()) - (p->GetEndX() < p->GetStartX());
    const int my = (p->GetEndY() > p->GetStartY()) - (p->GetEndY() < p->GetStartY());
    for (int x = p->GetStartX(), y = p->GetStartY(), n = 0;; x += mx, y += my, ++n) {
      if (out.empty() || out.back() != CellXY{x, y}) out.push_back({x, y});
      if ((x == p->GetEndX() && y == p->GetEndY()) || n > 256) break;
    }
  }
  return out;
}

// The direction in which a street leaves the junction at its end there,
// from its cell beside the junction; the cell itself in `cell`.
inline CellXY LegSide(CStrJunction* j, CStrStrasse* s, CellXY* cell = nullptr) {
  short x = 0, y = 0;
  if ((s->GetStartJunction() == j ? s->GetFirstIsoPos(&x, &y) : s->GetLastIsoPos(&x, &y)) != 0) return {0, 0};
  if (cell) *cell = {x, y};
  return {(x > j->GetXPos()) - (x < j->GetXPos()), (y > j->GetYPos()) - (y < j->GetYPos())};
}
inline bool Opposite(CellXY a, CellXY b) { return a != CellXY{0, 0} && a.first == -b.first && a.second == -b.second; }

// The cells of the layouts of a micro-cell group.
inline std::unordered_set<BinaryMicroSimObject*> GroupCells(CMicroZellenGroup* g) {
  std::unordered_set<BinaryMicroSimObject*> out;
  for (auto* m = g ? g->GetFirst() : nullptr; m; m = m->pNext)
    if (m->pZelle)
      for (int i = 0; i < m->pZelle->GetCount(); ++i) out.insert(m->pZelle->GetZelle(i));
  return out;
}

// What a junction's lights are to a player: their cycle and green share,
// the sides of the priority arms, of the other arms and of the arms with a
// light, by junction cell. A load rebuilds them from the crossing's settings.
inline std::map<CellXY, std::string> LightsSeen(World& w) {
  std::map<CellXY, std::string> out;
  for (CStrJunction* j : JunctionList(w)) {
    CAmpelGroup* group = j->GetAmpelGroup();
    if (!j->HasAmpel() || !group) continue;
    std::set<CellXY> pair[2], lit;
    for (int i = 0; i < CAmpelGroup::kSlots; ++i)
      if (CStrStrasse* s = group->GetLinkedStreetsNr(i)) {
        pair[i / 2].insert(LegSide(j, s));
        if (group->GetAmpel(i)) lit.insert(LegSide(j, s));
      }
    std::ostringstream t;
    t << "cycle " << group->GetCycleTime() << " share " << group->GetShare();
    for (const auto& [name, sides] : {std::pair{" priority", pair[0]}, {" other", pair[1]}, {" lit", lit}}) {
      t << name;
      for (CellXY c : sides) t << ' ' << c.first << '/' << c.second;
    }
    out[{j->GetXPos(), j->GetYPos()}] = t.str();
  }
  return out;
}

class Checker {
 public:
  explicit Checker(std::set<CellXY> rivers) : m_rivers(std::move(rivers)) {}
  // Further owners of micro cells that the street network's cells may lead
  // into (the rail network's junctions and tracks), checked with them.
  std::function<void(std::vector<CStrJunction*>&, std::vector<CStrStrasse*>&)> moreCellOwners;

  // Every check after each step; `fullIndex` false compares the cell index
  // only where the network is or was at the last check (CheckCellIndex).
  std::vector<std::string> Check(World& w, bool fullIndex = true) {
    m_out.clear();
    const std::vector<CStrJunction*> junctions = JunctionList(w);
    const std::set<CStrJunction*> live(junctions.begin(), junctions.end());
    const std::vector<CStrStrasse*> streets = w.Streets();
    const std::set<CStrStrasse*> liveStreets(streets.begin(), streets.end());
    CheckJunctions(w, junctions, live);
    CheckStreets(w, streets, live);
    CheckDemandModel(w, junctions, streets);
    CheckMap(w, junctions, live, streets, liveStreets);
    CheckMicroCells(junctions, streets);
    CheckCellIndex(w, junctions, streets, fullIndex);
    CheckOneWayDirections(streets);
    CheckSigns(w, junctions);
    CheckLights(w, junctions);
    return m_out;
  }

  // Before a deletion: the steps from cell to cell that the one-way
  // streets take, which the next check holds them to. The deletion joins
  // streets at its ends; a one-way part of a joined street runs on as it
  // ran. Any other step forgets them (ForgetOneWays).
  void NoteOneWays(const std::vector<CStrStrasse*>& streets) {
    m_oneWaySteps.clear();
    for (CStrStrasse* s : streets) {
      if (s->GetStreetType() != STRASSE_EINBAHN) continue;
      const std::vector<CellXY> cells = StreetCells(s);
      for (size_t k = 1; k < cells.size(); ++k) m_oneWaySteps.insert(Step(cells[k - 1], cells[k]));
    }
  }
  void ForgetOneWays() { m_oneWaySteps.clear(); }

 private:
  template <class... A>
  void Fault(A&&... parts) {
    std::ostringstream s;
    (s << ... << parts);
    m_out.push_back(s.str());
  }
  static std::string At(int x, int y) { return std::to_string(x) + "/" + std::to_string(y); }
  static std::string Name(CStrStrasse* s) {
    const CStrJunction* a = s->GetStartJunction();
    const CStrJunction* b = s->GetEndJunction();
    return "street " + (a ? At(a->GetXPos(), a->GetYPos()) : "?") + "-" + (b ? At(b->GetXPos(), b->GetYPos()) : "?") +
           " type " + std::to_string(s->GetStreetType().GetValue());
  }

  void CheckJunctions(World& w, const std::vector<CStrJunction*>& junctions, const std::set<CStrJunction*>& live) {
    std::set<unsigned short> ids;
    std::map<CellXY, CStrJunction*> cells;
    for (CStrJunction* j : junctions) {
      const std::string at = "junction " + At(j->GetXPos(), j->GetYPos());
      const int n = j->GetAnzLinkedStreets();
      if (n < 1 || n > CStrJunction::kMaxStreets) Fault(at, " has ", n, " streets");
      if (j->GetSimID() == 0) Fault(at, " has no crossing id");
      if (!ids.insert(j->GetSimID()).second) Fault(at, " shares crossing id ", j->GetSimID());
      if (w.net->GetJunctionByID(j->GetSimID()) != j) Fault(at, " is not indexed under its crossing id");
      if (!cells.insert({{j->GetXPos(), j->GetYPos()}, j}).second) Fault(at, " shares its cell with another junction");
      if (m_rivers.count({j->GetXPos(), j->GetYPos()})) Fault(at, " stands on water");
      // A dead end, a T junction and a crossing show themselves; a bend or
      // a joint is drawn by its streets.
      if (n != 2 && w.At(j->GetXPos(), j->GetYPos()) != j) Fault(at, " with ", n, " streets is not found on its cell");
      if (n >= 3 && j->IsDrawn()) CheckGraphic(w, j, at);
      for (int i = 0; i < n; ++i) {
        CStrStrasse* s = j->GetStreetByNR(i);
        if (!s) {
          Fault(at, " holds a null street");
          continue;
        }
        const int ends = (s->GetStartJunction() == j) + (s->GetEndJunction() == j);
        int held = 0;
        for (int k = 0; k < n; ++k) held += j->GetStreetByNR(k) == s;
        if (ends != held) Fault(at, " holds ", Name(s), " ", held, " times but is ", ends, " of its ends");
        if (!live.count(s->GetStartJunction()) || !live.count(s->GetEndJunction()))
          Fault(at, " holds ", Name(s), " whose other end is no listed junction");
      }
    }
  }

  // A junction of three or four streets shows the graphic of its arms as
  // they are now: a one-tile junction its tile, a four-lane one its group.
  void CheckGraphic(World& w, CStrJunction* j, const std::string& at) {
    CIsoRichtung dir;
    const int id = j->GetResID(&dir);
    const auto x = static_cast<unsigned short>(j->GetXPos()), y = static_cast<unsigned short>(j->GetYPos());
    if (j->GetType() < STRASSE_VIERSPURIG) {
      CIsoInfo* info = w.map->GetIsoInfo(x, y);
      if (info && (info->GetResID(ISO_LAYER_GROUND) != id || info->GetRichtungsValue(ISO_LAYER_GROUND) != dir.GetValue()))
        Fault(at, " shows graphic ", info->GetResID(ISO_LAYER_GROUND), " turned ",
              static_cast<int>(info->GetRichtungsValue(ISO_LAYER_GROUND)), ", its arms' is ", id, " turned ",
              static_cast<int>(dir.GetValue()));
      return;
    }
    const CIsoObjGroup* g = w.map->GetGroupAt(x, y, ISO_LAYER_GROUND);
    const int group = CStrJunction::GroupForRotation(id, dir.GetValue());
    if (!g || g->GetResID() != group)
      Fault(at, " shows group ", g ? g->GetResID() : 0, ", its arms' is ", group);
  }

  void CheckStreets(World& w, const std::vector<CStrStrasse*>& streets, const std::set<CStrJunction*>& live) {
    std::map<CellXY, CStrStrasse*> owner;
    std::set<CellXY> junctionCells;
    for (CZorvaObject* o = w.net->GetHead(); o; o = o->GetNext()) {
      auto* j = static_cast<CStrJunction*>(o);
      junctionCells.insert({j->GetXPos(), j->GetYPos()});
    }
    for (CStrStrasse* s : streets) {
      const std::string name = Name(s);
      CStrJunction* a = s->GetStartJunction();
      CStrJunction* b = s->GetEndJunction();
      if (!a || !b) {
        Fault(name, " lacks an end junction");
        continue;
      }
      for (CStrJunction* e : {a, b}) {
        int held = 0;
        for (int k = 0; k < e->GetAnzLinkedStreets(); ++k) held += e->GetStreetByNR(k) == s;
        if (held != (s->GetStartJunction() == e) + (s->GetEndJunction() == e))
          Fault(name, " is not held by its end ", At(e->GetXPos(), e->GetYPos()));
      }
      if (s->GetNumber() == 0) {
        Fault(name, " has no pieces");
        continue;
      }
      if (s->GetStartPosX() != a->GetXPos() || s->GetStartPosY() != a->GetYPos() || s->GetEndPosX() != b->GetXPos() ||
          s->GetEndPosY() != b->GetYPos())
        Fault(name, " runs from ", At(s->GetStartPosX(), s->GetStartPosY()), " to ",
              At(s->GetEndPosX(), s->GetEndPosY()), ", not between its junctions");
      for (int i = 1; CStrStrassenTeil* p = s->GetStrassenTeil(i); ++i) {
        if (p->GetStartX() != p->GetEndX() && p->GetStartY() != p->GetEndY())
          Fault(name, " has a piece that is no straight line");
        if (CStrStrassenTeil* q = s->GetStrassenTeil(i + 1))
          if (q->GetStartX() != p->GetEndX() || q->GetStartY() != p->GetEndY()) Fault(name, " has pieces that do not join");
      }
      // The street's own cells: no other street and no other junction.
      const std::vector<CellXY> cells = StreetCells(s);
      for (size_t k = 0; k < cells.size(); ++k) {
        const bool end = k == 0 || k + 1 == cells.size();
        if (end) continue;
        if (junctionCells.count(cells[k])) Fault(name, " runs over the junction at ", At(cells[k].first, cells[k].second));
        auto [it, fresh] = owner.insert({cells[k], s});
        if (!fresh && it->second != s)
          Fault(name, " and ", Name(it->second), " both run over ", At(cells[k].first, cells[k].second));
        else if (!fresh)
          Fault(name, " runs over its own cell ", At(cells[k].first, cells[k].second));
      }
      // The demand model's ids.
      if (s->GetSimID() == 0) Fault(name, " has no street id");
      if (w.net->GetStreetByID(s->GetSimID()) != s) Fault(name, " is not found by its street id ", s->GetSimID());
      const bool oneWay = s->GetStreetType() == STRASSE_EINBAHN;
      if (oneWay && s->GetSimIDSecond() != 0) Fault(name, " is one-way with a backward id ", s->GetSimIDSecond());
      if (!oneWay && (s->GetSimIDSecond() == 0 || w.net->GetStreetByID(s->GetSimIDSecond()) != s))
        Fault(name, " has no backward id the network finds");
      (void)live;
    }
  }

  // Every crossing of the demand model's editing hour is a listed junction,
  // and its in and out streets are the directions of that junction's
  // streets; every street of the model is a direction of a live street.
  void CheckDemandModel(World& w, const std::vector<CStrJunction*>& junctions, const std::vector<CStrStrasse*>& streets) {
    CSimTrafficSlot* slot = w.sim->EditingSlot();
    if (!slot) {
      Fault("the demand model has no editing hour");
      return;
    }
    std::map<int, std::pair<int, int>> expected;  // crossing id -> (in, out)
    for (CStrJunction* j : junctions) expected[j->GetSimID()];
    for (CStrStrasse* s : streets) {
      const int a = s->GetStartJunction() ? s->GetStartJunction()->GetSimID() : 0;
      const int b = s->GetEndJunction() ? s->GetEndJunction()->GetSimID() : 0;
      for (auto [id, from, to] : {std::tuple<int, int, int>{s->GetSimID(), a, b}, {s->GetSimIDSecond(), b, a}}) {
        if (id == 0) continue;
        ++expected[from].second;
        ++expected[to].first;
        CSimStreet* m = slot->GetStreet(static_cast<short>(id));
        if (!m || !m->IsCreated()) {
          Fault(Name(s), " direction ", id, " is not in the demand model");
          continue;
        }
        const int mf = m->pStartCrossing() ? m->pStartCrossing()->ID() : 0;
        const int mt = m->pEndCrossing() ? m->pEndCrossing()->ID() : 0;
        if (mf != from || mt != to)
          Fault(Name(s), " direction ", id, " runs ", mf, "->", mt, " in the demand model, not ", from, "->", to);
      }
    }
    int crossings = 0;
    for (auto* c = slot->GetFirstCrossing(); c; c = static_cast<CSimCrossing*>(c->pNext())) {
      if (!c->IsCreated() || c->ID() == 0) continue;
      ++crossings;
      const auto it = expected.find(c->ID());
      if (it == expected.end()) {
        Fault("crossing ", c->ID(), " of the demand model belongs to no junction");
        continue;
      }
      if (c->NrOfInStreets() != it->second.first || c->NrOfOutStreets() != it->second.second)
        Fault("crossing ", c->ID(), " has ", c->NrOfInStreets(), " in and ", c->NrOfOutStreets(),
              " out streets in the demand model, its junction ", it->second.first, " and ", it->second.second);
      for (int side = 0; side < 4; ++side)
        for (CSimStreet* m : {c->pInStreet(side), c->pOutStreet(side)})
          if (m && (!m->IsCreated() || !w.net->GetStreetByID(static_cast<short>(m->ID()))))
            Fault("crossing ", c->ID(), " holds street ", m->ID(), " of no live street");
    }
    if (crossings != static_cast<int>(junctions.size()))
      Fault("the demand model has ", crossings, " crossings for ", junctions.size(), " junctions");
    // A street of the model that no live street names is found above: every
    // street of the model runs between two crossings, which cannot go while
    // they hold it.
  }

  void CheckMap(World& w, const std::vector<CStrJunction*>& junctions, const std::set<CStrJunction*>& live,
                const std::vector<CStrStrasse*>& streets, const std::set<CStrStrasse*>& liveStreets) {
    std::unordered_set<CWorldObj*> objects(w.host.objects.begin(), w.host.objects.end());
    for (CStrJunction* j : junctions)
      if (j->GetKreuzObject()) objects.insert(j->GetKreuzObject());
    for (CStrStrasse* s : streets)
      if (s->GetWorldObj()) objects.insert(s->GetWorldObj());
    // Flat per-cell tables: the check runs after every step of long storms
    // under the sanitizers, where tree look-ups per cell dominated.
    CellFlags covered, rivers;
    for (CStrStrasse* s : streets)
      for (CellXY c : StreetCells(s)) covered.Set(c.first, c.second);
    for (const CellXY& c : m_rivers) rivers.Set(c.first, c.second);
    for (int x = 0; x < 128; ++x)
      for (int y = 0; y < 128; ++y) {
        CIsoInfo* info = w.map->GetIsoInfo(x, y);
        if (!info) continue;
        // The cell's object is asked for its kind only while it lives.
        CWorldObj* named = info->GetWorldObject(ISO_LAYER_GROUND);
        if (named && named != &w.host.ground && !objects.count(named)) {
          Fault("cell ", At(x, y), " names an object that is gone");
          continue;
        }
        const TObjectType kind = info->GetType(ISO_LAYER_GROUND);
        const bool water = rivers.Get(x, y);
        if (kind == OBJ_CROSSING || kind == OBJ_STREET_PIECE || kind == OBJ_RAIL_JUNCTION || kind == OBJ_RIVER) {
          CWorldObj* o = info->GetWorldObject(ISO_LAYER_GROUND);
          if (!o || !objects.count(o)) {
            Fault("cell ", At(x, y), " of kind ", static_cast<int>(kind), " names an object that is gone");
            continue;
          }
          if (kind == OBJ_CROSSING) {
            auto* k = dynamic_cast<CKreuzObj*>(o);
            if (!k || !live.count(k->GetWorldObject()))
              Fault("cell ", At(x, y), " shows the crossing object of no listed junction");
            if (water) Fault("cell ", At(x, y), " of the river shows a junction");
          } else if (kind == OBJ_STREET_PIECE) {
            auto* p = dynamic_cast<CStreetObj*>(o);
            if (p && p->GetStreetList() && !liveStreets.count(p->GetStreetList()))
              Fault("cell ", At(x, y), " shows a street that is gone");
          }
        }
        if (!water && kind == OBJ_RIVER) Fault("cell ", At(x, y), " shows a river where none was");
        if (water && kind != OBJ_RIVER && kind != OBJ_STREET_PIECE && kind != OBJ_CROSSING)
          Fault("river cell ", At(x, y), " is lost (kind ", static_cast<int>(kind), ")");
        if (water && kind == OBJ_STREET_PIECE && !covered.Get(x, y)) {
          // A four-lane bridge also covers the cell beside its centre line.
          const bool beside = covered.Get(x - 1, y) || covered.Get(x, y - 1);
          if (!beside) Fault("river cell ", At(x, y), " shows a street no street runs over");
        }
      }
  }

  void CheckMicroCells(const std::vector<CStrJunction*>& junctions, const std::vector<CStrStrasse*>& streets) {
    // Each layout with its owner, named only when a finding needs it.
    struct Place {
      CQnoMicroZelle* layout;
      CStrJunction* junction;
      CStrStrasse* street;
      int x, y;
    };
    std::vector<Place> places;
    std::unordered_set<CQnoMicroZelle*> layouts;
    auto collect = [&](CMicroZellenGroup* g, CStrJunction* j, CStrStrasse* s) {
      for (auto* m = g ? g->GetFirst() : nullptr; m; m = m->pNext)
        if (m->pZelle && layouts.insert(m->pZelle).second)
          places.push_back({m->pZelle, j, s, static_cast<int16_t>(g->GetX() + m->dx), static_cast<int16_t>(g->GetY() + m->dy)});
    };
    std::vector<CStrJunction*> moreJunctions;
    std::vector<CStrStrasse*> moreStreets;
    if (moreCellOwners) moreCellOwners(moreJunctions, moreStreets);
    moreJunctions.insert(moreJunctions.begin(), junctions.begin(), junctions.end());
    moreStreets.insert(moreStreets.begin(), streets.begin(), streets.end());
    for (CStrJunction* j : moreJunctions) collect(j->GetMicroZellen(), j, nullptr);
    for (CStrStrasse* s : moreStreets) collect(s->GetMicroZellenGroup(), nullptr, s);
    auto where = [](const Place& p) {
      const std::string owner = p.junction ? "junction " + At(p.junction->GetXPos(), p.junction->GetYPos()) + " of " +
                                                 std::to_string(p.junction->GetAnzLinkedStreets()) + " streets,"
                                           : Name(p.street) + ",";
      return owner + " tile " + At(p.x, p.y);
    };
    std::unordered_set<Cell*> cells;
    for (const Place& p : places)
      for (int i = 0; i < p.layout->GetCount(); ++i) cells.insert(p.layout->GetZelle(i));
    for (const Place& p : places)
      for (int i = 0; i < p.layout->GetCount(); ++i) {
        Cell* c = p.layout->GetZelle(i);
        if (c->m_AnzNachfolger > Cell::kLinks) {
          Fault("a micro cell has ", static_cast<int>(c->m_AnzNachfolger), " successors");
          continue;
        }
        // A lane that no direction uses (the other lane of a one-way end)
        // is left to the micro simulation; a used one leads on.
        if (c->m_AnzNachfolger == 0 && c->m_SimID != 0)
          Fault("micro cell ", c->m_ID, " of ", where(p), " (sim id ", c->m_SimID, ", lane ",
                static_cast<int>(c->m_LaneKind), ") leads nowhere");
        for (int k = 0; k < c->m_AnzNachfolger; ++k) {
          Cell* n = c->m_pNachfolger[k];
          if (n && !cells.count(n))
            Fault("a micro cell at ", c->m_ScreenX, "/", c->m_ScreenY, " leads into a layout that is gone");
        }
        if (c->m_pVorgaenger && !cells.count(c->m_pVorgaenger))
          Fault("a micro cell at ", c->m_ScreenX, "/", c->m_ScreenY, " follows a layout that is gone");
      }
  }

  // A step from one cell to the next as one number.
  static int64_t Step(CellXY a, CellXY b) {
    auto cell = [](CellXY c) { return static_cast<int64_t>(c.first) * ISO_MAP_SIZE + c.second; };
    return cell(a) * ISO_MAP_SIZE * ISO_MAP_SIZE + cell(b);
  }

  // After a deletion, every one-way street runs each step it shares with
  // a one-way street before it the same way. Two one-way streets of one
  // step between the same cells, one each way, hold both steps; a street
  // over them keeps either.
  // The signs of the junctions with signs (three or more legs): each leg is
  // held by the junction's sign group, and its cell beside the junction
  // carries the junction's sign for it, the priority sign on the two legs
  // of the priority pair, which lie opposite each other, and the give-way
  // sign on the others. A cell that is the leg of two junctions (a street
  // of one cell between them) carries a sign for each. No other sign
  // stands anywhere.
  void CheckSigns(World& w, const std::vector<CStrJunction*>& junctions) {
    auto signsAt = [&w](int x, int y, int resId) {
      CIsoInfo* info = w.map->GetIsoInfo(x, y);
      CIsoObjLst* objects = info ? info->GetIsoObjects(ISO_LAYER_GROUND) : nullptr;
      int n = 0;
      for (CZorvaObject* o = objects ? objects->GetHead() : nullptr; o; o = o->GetNext())
        n += static_cast<CIsoObject*>(o)->GetResID() == resId;
      return n;
    };
    // The priority and give-way signs each cell is to carry, and the
    // junction that asked for them last.
    struct Want {
      int priority = 0, yield = 0;
      std::string junction;
      bool priorityLeg = false;
    };
    std::map<CellXY, Want> want;
    for (CStrJunction* j : junctions) {
      const int legs = j->GetAnzLinkedStreets();
      CAmpelGroup* group = j->GetAmpelGroup();
      if (j->GetAmpelType() != Ampel_Vorfahrt || legs < 3 || !group) continue;
      const std::string at = At(j->GetXPos(), j->GetYPos());
      if (group->GetCount() != legs) Fault("the sign group of junction ", at, " holds ", group->GetCount(), " of ", legs, " legs");
      // The direction in which each leg leaves the junction.
      std::map<CStrStrasse*, CellXY> side;
      for (int i = 0; i < legs; ++i) {
        CStrStrasse* s = j->GetStreetByNR(i);
        if (!group->HasStreet(s)) Fault("a leg of junction ", at, " is not in its sign group");
        short x = 0, y = 0;
        if ((s->GetStartJunction() == j ? s->GetFirstIsoPos(&x, &y) : s->GetLastIsoPos(&x, &y)) != 0) continue;
        side[s] = {(x > j->GetXPos()) - (x < j->GetXPos()), (y > j->GetYPos()) - (y < j->GetYPos())};
        const bool priority = s == group->GetLinkedStreetsNr(0) || s == group->GetLinkedStreetsNr(1);
        Want& cell = want[{x, y}];
        ++(priority ? cell.priority : cell.yield);
        cell.junction = at;
        cell.priorityLeg = priority;
      }
      CStrStrasse* a = group->GetLinkedStreetsNr(0);
      CStrStrasse* b = group->GetLinkedStreetsNr(1);
      if (!a || !b || !side.count(a) || !side.count(b) || side[a].first != -side[b].first ||
          side[a].second != -side[b].second)
        Fault("the priority legs of junction ", at, " are not an opposite pair");
    }
    for (int x = 0; x < 128; ++x)
      for (int y = 0; y < 128; ++y) {
        const int priority = signsAt(x, y, CStrJunction::kVorfahrtResID);
        const int yield = signsAt(x, y, CStrJunction::kWartepflichtResID);
        const auto it = want.find({x, y});
        if (it == want.end()) {
          if (priority + yield > 0) Fault(priority + yield, " signs stand at ", At(x, y), ", on no leg of a junction with signs");
          continue;
        }
        const Want& c = it->second;
        if (priority != c.priority || yield != c.yield)
          Fault("the ", c.priorityLeg ? "priority" : "give-way", " leg of junction ", c.junction, " at ", At(x, y),
                " carries ", priority, " priority and ", yield, " give-way signs for ", c.priority, " and ", c.yield);
      }
  }

  // The lights of the junctions with traffic lights. The junction's control
  // is its crossing's, which is what a load rebuilds it from; lights need
  // three or more arms. Every arm that traffic enters the junction by (a
  // cell of its street leads into the junction's) has one light of its
  // own, held in a slot with its street and locking that cell, and no
  // other arm has a light that locks a cell; slots 0 and 1 hold the opposite priority pair,
  // slots 2 and 3 the other arms, packed from the front; the group runs
  // the crossing's cycle and green share. Every arm shows one light and one
  // stop line on its cell beside the junction, and no such picture stands
  // anywhere else. Then the lights run a while on the checker's clock: the
  // priority arms are open together, the other arms together and exactly
  // while the priority arms are closed.
  void CheckLights(World& w, const std::vector<CStrJunction*>& junctions) {
    std::map<CellXY, std::map<int, int>> want;
    for (CStrJunction* j : junctions) {
      const std::string at = At(j->GetXPos(), j->GetYPos());
      const int legs = j->GetAnzLinkedStreets();
      CAmpelGroup* group = j->GetAmpelGroup();
      if (CKreuzObj* crossing = j->GetKreuzObject(); crossing && crossing->GetAmpelType() != j->GetAmpelType())
        Fault("junction ", at, " has control ", static_cast<int>(j->GetAmpelType()), ", its crossing ",
              crossing->GetAmpelType());
      if (!j->HasAmpel()) {
        if (group && !dynamic_cast<CVorfahrtGroup*>(group)) Fault("junction ", at, " without lights keeps a light group");
        continue;
      }
      if (legs < 3) Fault("junction ", at, " of ", legs, " streets has lights");
      if (!group || dynamic_cast<CVorfahrtGroup*>(group)) {
        Fault("junction ", at, " with lights has no light group");
        continue;
      }
      if (CKreuzObj* crossing = j->GetKreuzObject()) {
        const int32_t cycle = crossing->GetCycleTime() * 100;
        if (group->GetCycleTime() != cycle ||
            group->GetShare() != static_cast<int32_t>(crossing->GetAmpelQuote() * static_cast<float>(cycle)))
          Fault("the lights of junction ", at, " run ", group->GetCycleTime(), "/", group->GetShare(),
                " ms, its crossing ", crossing->GetCycleTime(), " at ", crossing->GetAmpelQuote());
      }
      const std::unordered_set<Cell*> into = GroupCells(j->GetMicroZellen());
      auto leadsIn = [&into](Cell* c) {
        for (int k = 0; c && k < c->m_AnzNachfolger && k < Cell::kLinks; ++k)
          if (into.count(c->m_pNachfolger[k])) return true;
        return false;
      };
      int entering = 0;
      std::set<CStrStrasse*> ways;
      for (int i = 0; i < legs; ++i) {
        CStrStrasse* s = j->GetStreetByNR(i);
        bool second = false;
        for (int k = 0; k < i; ++k) second = second || j->GetStreetByNR(k) == s;
        // A loop street is two arms, each a way in unless one-way.
        bool enters = s->GetStartJunction() == j && s->GetEndJunction() == j
                          ? s->GetStreetType() != STRASSE_EINBAHN || second
                          : false;
        if (s->GetStartJunction() != s->GetEndJunction())
          for (Cell* c : GroupCells(s->GetMicroZellenGroup())) enters = enters || leadsIn(c);
        entering += enters;
        if (enters) ways.insert(s);
        if (enters && !group->HasStreet(s)) Fault("an arm of junction ", at, " with lights is in no slot of its group");
        if (second) continue;
        CellXY cell;
        LegSide(j, s, &cell);
        ++want[cell][CStrJunction::kAmpelResID];
        ++want[cell][s->GetStreetType() >= STRASSE_VIERSPURIG ? CStrStrasse::kAmpelStopWideResID
                                                             : CStrStrasse::kAmpelStopResID];
      }
      int lights = 0;
      CellXY side[CAmpelGroup::kSlots] = {};
      for (int i = 0; i < CAmpelGroup::kSlots; ++i) {
        CStrStrasse* s = group->GetLinkedStreetsNr(i);
        CAmpel* light = group->GetAmpel(i);
        bool leg = false;
        for (int k = 0; s && k < legs; ++k) leg = leg || j->GetStreetByNR(k) == s;
        for (int k = 0; s && k < i; ++k)
          if (group->GetLinkedStreetsNr(k) == s) Fault("the lights of junction ", at, " hold a street twice");
        if (s && !leg) Fault("slot ", i, " of the lights of junction ", at, " holds a street that is no arm of it");
        if (light && !s) Fault("slot ", i, " of the lights of junction ", at, " holds a light without a street");
        for (int k = 0; light && k < i; ++k)
          if (group->GetAmpel(k) == light) Fault("the lights of junction ", at, " hold a light twice");
        if (light) CheckLightTimes(group, i, light, at);
        if (!s || !leg) continue;
        side[i] = LegSide(j, s);
        // A light of an arm that leads nothing in may lock no cell: it runs
        // no cycle.
        if (!light || (!light->GetZelle(0) && !ways.count(s))) continue;
        ++lights;
        // The light's cells: its street's own, in front of the junction.
        const std::unordered_set<Cell*> own = GroupCells(s->GetMicroZellenGroup());
        for (int n = 0; n < 2; ++n) {
          Cell* c = light->GetZelle(n);
          if (!c && (n == 0 || s->GetStreetType() > STRASSE_EINBAHN))
            Fault("the light of slot ", i, " at junction ", at, " locks no cell ", n + 1);
          else if (c && (!own.count(c) || !leadsIn(c)))
            Fault("the light of slot ", i, " at junction ", at, " locks a cell ", n + 1,
                  own.count(c) ? " that does not lead into the junction" : " that is not its street's");
        }
      }
      if (lights != entering) Fault("junction ", at, " has ", lights, " lights for ", entering, " arms that traffic enters by");
      if ((group->GetCount() > 0 && !group->GetLinkedStreetsNr(0)) ||
          (group->GetLinkedStreetsNr(3) && !group->GetLinkedStreetsNr(2)))
        Fault("the slots of the lights of junction ", at, " are not packed");
      for (int i : {0, 2})
        if (group->GetLinkedStreetsNr(i) && group->GetLinkedStreetsNr(i + 1) && !Opposite(side[i], side[i + 1]))
          Fault("slots ", i, " and ", i + 1, " of the lights of junction ", at, " are no opposite pair");
      RunLights(group, at);
    }
    CheckPictures(w, want, {CStrJunction::kAmpelResID, CStrStrasse::kAmpelStopResID, CStrStrasse::kAmpelStopWideResID});
  }

  // A light runs on the crossing's cycle: the group's amber, and the
  // priority pair's green share with the rest of the cycle red, or the
  // other way round for the other arms. A priority light has the priority
  // times; a light of the other pair may keep those it had as a priority
  // light.
  void CheckLightTimes(const CAmpelGroup* group, int slot, const CAmpel* light, const std::string& at) {
    const int32_t share = group->GetShare(), rest = group->GetCycleTime() - CAmpelGroup::kGelbGroup - share;
    const bool priority = light->GetGruen() == share && light->GetRot() == rest;
    const bool other = light->GetGruen() == rest && light->GetRot() == share;
    if (light->GetGelb() != CAmpelGroup::kGelbGroup || !(priority || (slot >= 2 && other)))
      Fault("the light of slot ", slot, " at junction ", at, " runs ", light->GetGruen(), " green, ", light->GetGelb(),
            " amber, ", light->GetRot(), " red on a cycle of ", group->GetCycleTime(), " with ", share, " green");
  }

  // The group's turns over two whole cycles, every 100 ms of the checker's
  // clock: a light shows green while its cell is unlocked.
  void RunLights(CAmpelGroup* group, const std::string& at) {
    ZorClock* was = ZorGetClock();
    ZorSetClock(&m_clock);
    const uint32_t span = 2 * static_cast<uint32_t>(group->GetCycleTime() + 2 * CAmpelGroup::kGelbGroup);
    bool open[2] = {}, closed[2] = {}, wrong = false;
    for (uint32_t t = 0; t <= span && !wrong; t += 100, m_clock.Advance(100)) {
      group->OnPlayloopTurn();
      int state[CAmpelGroup::kSlots];
      for (int i = 0; i < CAmpelGroup::kSlots; ++i) {
        CAmpel* l = group->GetAmpel(i);
        state[i] = l && l->GetZelle(0) ? l->GetZelle(0)->m_Locked != 0 : -1;
      }
      const int lead = state[0] >= 0 ? state[0] : state[1];
      const int follow = state[2] >= 0 ? state[2] : state[3];
      if ((state[0] >= 0 && state[1] >= 0 && state[0] != state[1]) ||
          (state[2] >= 0 && state[3] >= 0 && state[2] != state[3]) || (lead >= 0 && follow >= 0 && lead == follow)) {
        Fault("the lights of junction ", at, " show ", state[0], state[1], state[2], state[3], " (slots 0-3, 1 red) ", t,
              " ms into their run");
        wrong = true;
      }
      if (lead >= 0) (lead ? closed : open)[0] = true;
      if (follow >= 0) (follow ? closed : open)[1] = true;
    }
    ZorSetClock(was);
    if (!wrong && (open[0] != closed[0] || open[1] != closed[1])) Fault("the lights of junction ", at, " do not change");
  }

  // Each cell carries as many pictures of each of the ids as `want` names
  // for it.
  void CheckPictures(World& w, const std::map<CellXY, std::map<int, int>>& want, const std::vector<int>& ids) {
    for (int x = 0; x < 128; ++x)
      for (int y = 0; y < 128; ++y) {
        CIsoInfo* info = w.map->GetIsoInfo(x, y);
        CIsoObjLst* objects = info ? info->GetIsoObjects(ISO_LAYER_GROUND) : nullptr;
        const auto it = want.find({x, y});
        for (int id : ids) {
          int n = 0;
          for (CZorvaObject* o = objects ? objects->GetHead() : nullptr; o; o = o->GetNext())
            n += static_cast<CIsoObject*>(o)->GetResID() == id;
          int wanted = 0;
          if (it != want.end())
            if (const auto k = it->second.find(id); k != it->second.end()) wanted = k->second;
          if (n != wanted) Fault(n, " pictures ", id, " of lights stand at ", At(x, y), " for ", wanted);
        }
      }
  }

  void CheckOneWayDirections(const std::vector<CStrStrasse*>& streets) {
    if (m_oneWaySteps.empty()) return;
    for (CStrStrasse* s : streets) {
      if (s->GetStreetType() != STRASSE_EINBAHN) continue;
      const std::vector<CellXY> cells = StreetCells(s);
      for (size_t k = 1; k < cells.size(); ++k)
        if (m_oneWaySteps.count(Step(cells[k], cells[k - 1])) && !m_oneWaySteps.count(Step(cells[k - 1], cells[k]))) {
          Fault(Name(s), " runs from ", At(cells[k - 1].first, cells[k - 1].second), " to ",
                At(cells[k].first, cells[k].second), ", against the one-way street there before the deletion");
          break;
        }
    }
    m_oneWaySteps.clear();
  }

  std::set<CellXY> m_rivers;
  std::unordered_set<int64_t> m_oneWaySteps;
  // The clock the lights run on while they are checked: it only moves on.
  ZorManualClock m_clock{1000};
  // The network's cell index against a fresh scan: every cell holds the
  // junctions standing there and the streets whose centre line runs over it,
  // each once. A full check compares every cell of the map; a partial one
  // the cells that the network covers now or covered at the last check,
  // which is where an edit adds, moves or leaves entries. Only an entry on a
  // cell the network never covered escapes a partial check; the full checks
  // find it.
  void CheckCellIndex(World& w, const std::vector<CStrJunction*>& junctions, const std::vector<CStrStrasse*>& streets,
                      bool full) {
    constexpr int n = ISO_MAP_SIZE;
    auto slot = [](int x, int y) { return x >= 0 && y >= 0 && x < n && y < n ? x * n + y : -1; };
    // The scan as (cell, object) pairs in cell order: the tables are kept
    // between checks, a check allocates nothing per cell.
    m_scanJ.clear();
    m_scanS.clear();
    for (CStrJunction* j : junctions)
      if (const int i = slot(j->GetXPos(), j->GetYPos()); i >= 0) m_scanJ.push_back({i, j});
    for (CStrStrasse* s : streets)
      for (const CellXY& c : StreetCells(s))
        if (const int i = slot(c.first, c.second); i >= 0) m_scanS.push_back({i, s});
    std::sort(m_scanJ.begin(), m_scanJ.end());
    std::sort(m_scanS.begin(), m_scanS.end());
    // A street over a cell twice (a ring's ends) is there once.
    m_scanS.erase(std::unique(m_scanS.begin(), m_scanS.end()), m_scanS.end());
    std::vector<int> covered;
    for (const auto& e : m_scanJ) covered.push_back(e.first);
    for (const auto& e : m_scanS) covered.push_back(e.first);
    std::vector<int> cells = covered;
    if (full) {
      cells.resize(n * n);
      for (int i = 0; i < n * n; ++i) cells[i] = i;
    } else {
      cells.insert(cells.end(), m_lastCovered.begin(), m_lastCovered.end());
      std::sort(cells.begin(), cells.end());
      cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    }
    std::sort(covered.begin(), covered.end());
    covered.erase(std::unique(covered.begin(), covered.end()), covered.end());
    m_lastCovered = std::move(covered);
    size_t kj = 0, ks = 0;
    std::vector<CStrJunction*> scanJ, indexedJ;
    std::vector<CStrStrasse*> scanS, indexedS;
    for (const int i : cells) {
      const auto x = static_cast<short>(i / n), y = static_cast<short>(i % n);
      scanJ.clear();
      scanS.clear();
      for (; kj < m_scanJ.size() && m_scanJ[kj].first <= i; ++kj)
        if (m_scanJ[kj].first == i) scanJ.push_back(m_scanJ[kj].second);
      for (; ks < m_scanS.size() && m_scanS[ks].first <= i; ++ks)
        if (m_scanS[ks].first == i) scanS.push_back(m_scanS[ks].second);
      const auto& js = w.net->JunctionsIndexedAt(x, y);
      const auto& ss = w.net->StreetsIndexedAt(x, y);
      if (js.empty() && ss.empty() && scanJ.empty() && scanS.empty()) continue;
      indexedJ.assign(js.begin(), js.end());
      indexedS.assign(ss.begin(), ss.end());
      std::sort(indexedJ.begin(), indexedJ.end());
      std::sort(indexedS.begin(), indexedS.end());
      if (indexedJ != scanJ)
        Fault("cell index: junctions at ", At(x, y), " differ from the network (", indexedJ.size(), " indexed)");
      // Each street once: a street indexed twice at a cell differs too.
      if (indexedS != scanS)
        Fault("cell index: streets over ", At(x, y), " differ from the network (", ss.size(), " indexed)");
    }
  }

  std::vector<std::pair<int, CStrJunction*>> m_scanJ;
  std::vector<std::pair<int, CStrStrasse*>> m_scanS;
  std::vector<int> m_lastCovered;
  std::vector<std::string> m_out;
};

}  // namespace stormtest
