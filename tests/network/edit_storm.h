#pragma once
// The random edit storm: street builds and deletions of every street type
// on the real network, map and demand model of the generated game data,
// with rivers, checked after every step (storm_checker.h). A step is one
// line of a replay: "B x1 y1 x2 y2 t" builds a street of type t from cell
// x1/y1 to x2/y2, "D x1 y1 x2 y2 t" deletes the street of type t between
// those end cells. Two steps work the crossing window of the junction at
// x/y: "L x y k c q" sets its control kind k, then, when that was taken,
// the cycle c and the green quote q percent; "P x y v 0 0" sets its
// priority direction to v.
#include <chrono>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "iso/iso_object.h"
#include "storm_checker.h"
#include "way_yardstick.h"
#include "support/storm_support.h"

namespace stormtest {

using stormkit::EnvInt;
using stormkit::Kind;
using stormkit::MinimizeBy;
using stormkit::WithoutOpen;

using junctiontest::GameData;
using zortest::ByteList;
using zortest::RecordFile;

struct Op {
  char kind = 'B';
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0, type = 1;
};

inline std::string Format(const Op& o) {
  std::ostringstream s;
  s << o.kind << ' ' << o.x1 << ' ' << o.y1 << ' ' << o.x2 << ' ' << o.y2 << ' ' << o.type;
  return s.str();
}

inline std::vector<Op> Parse(const std::string& text) {
  std::vector<Op> out;
  std::istringstream in(text);
  Op o;
  while (in >> o.kind >> o.x1 >> o.y1 >> o.x2 >> o.y2 >> o.type) out.push_back(o);
  return out;
}

// The steps of a file, one a line as the storms write them; other lines
// (comments, notes) are left out.
inline std::vector<Op> ReadSteps(const char* path) {
  std::string text;
  if (FILE* in = std::fopen(path, "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, in))
      if (line[0] == 'B' || line[0] == 'D' || line[0] == 'L' || line[0] == 'P') text += line;
    std::fclose(in);
  }
  return Parse(text);
}

// A world of the generated game data with the storm's rivers, and the
// checker that knows them.
struct StormWorld {
  StormWorld() : rivers(LayRivers(w, StormRiverCells())), checker(rivers) {}
  World w{GameData{}};
  std::set<CellXY> rivers;
  Checker checker;
  // Whether the last deletion would have cut the network.
  bool cutting = false;

  // The street of the type between the two end cells, in either direction.
  CStrStrasse* Find(const Op& o) {
    for (CStrStrasse* s : w.Streets()) {
      CStrJunction* a = s->GetStartJunction();
      CStrJunction* b = s->GetEndJunction();
      if (!a || !b || s->GetStreetType().GetValue() != o.type) continue;
      auto is = [](CStrJunction* j, int x, int y) { return j->GetXPos() == x && j->GetYPos() == y; };
      if ((is(a, o.x1, o.y1) && is(b, o.x2, o.y2)) || (is(a, o.x2, o.y2) && is(b, o.x1, o.y1))) return s;
    }
    return nullptr;
  }
  // With `signs`, after a step that changed the network every junction of
  // three or more legs without control on a cell whose x + y is a multiple
  // of three gets signs through its crossing object, as the crossing
  // window puts them up, so that joins and deletions meet junctions with
  // signs.
  bool signs = false;

  // The step's result code; -1 for a deletion that finds no street.
  int Apply(const Op& o) {
    const int r = Step(o);
    PutUpSigns(o, r);
    return r;
  }
  void PutUpSigns(const Op& o, int r) {
    if (signs && (o.kind == 'B' ? r == STR_BUILD_OK : o.kind == 'D' && r == 0))
      for (CStrJunction* j : JunctionList(w))
        if (j->GetAnzLinkedStreets() >= 3 && j->GetAmpelType() == Ampel_Rvl && j->GetKreuzObject() &&
            (j->GetXPos() + j->GetYPos()) % 3 == 0)
          j->GetKreuzObject()->SetVarData("KR.AMPEL", Ampel_Vorfahrt);
  }
  // The crossing window of the junction at x/y; -1 when none stands there.
  int Window(const Op& o) {
    CKreuzObj* crossing = nullptr;
    for (CStrJunction* j : JunctionList(w))
      if (j->GetXPos() == o.x1 && j->GetYPos() == o.y1) crossing = j->GetKreuzObject();
    if (!crossing) return -1;
    if (o.kind == 'P') return crossing->SetVarData("KR.AMPEL.RICHTUNG", o.x2);
    const int r = crossing->SetVarData("KR.AMPEL", o.x2);
    if (r != 0) return r;
    crossing->SetVarData("KR.AMPEL.TIME", o.y2);
    crossing->SetVarData("KR.AMPEL.QUOTE", o.type / 100.0);
    return 0;
  }
  int Step(const Op& o) {
    cutting = false;
    checker.ForgetOneWays();
    if (o.kind == 'L' || o.kind == 'P') return Window(o);
    if (o.kind == 'B') return w.Build(o.x1, o.y1, o.x2, o.y2, static_cast<TStrassenType>(o.type));
    CStrStrasse* s = Find(o);
    if (!s) return -1;
    checker.NoteOneWays(w.Streets());
    // Told by a walk of its own before the step: neither end is a dead end
    // and no other way leads from the start to the end, or, for a street
    // of both directions, from the end back to the start.
    CStrJunction* a = s->GetStartJunction();
    CStrJunction* b = s->GetEndJunction();
    const waytest::Graph without(*w.net, s);
    cutting = a->GetAnzLinkedStreets() > 1 && b->GetAnzLinkedStreets() > 1 &&
              (without.Cost(a, b) < 0 || (s->GetStreetType() != STRASSE_EINBAHN && without.Cost(b, a) < 0));
    return w.net->DeleteStreet(s);
  }
  // A deletion is refused (1) exactly when it would cut the network.
  std::vector<std::string> CheckDeletion(const Op& o, int r) const {
    if (o.kind != 'D' || r < 0) return {};
    if (cutting && r != 1) return {"a deletion that cut the network gave " + std::to_string(r)};
    if (!cutting && r == 1) return {"a deletion was refused as cutting though another way remained"};
    return {};
  }
  ByteList Record() {
    RecordFile f;
    if (w.net->SerializeGameStore(f.f()) != 0) return {};
    return f.Bytes();
  }
};

// The cells of the map in use, the streets' types of a mix.
constexpr int kLo = 4, kHi = 60;

struct Mix {
  const char* name;
  std::vector<int> types;
};

inline const std::vector<Mix>& Mixes() {
  static const std::vector<Mix> mixes = {
      {"two-way", {1, 2}}, {"one-way", {3, 3, 1}}, {"four-lane", {4, 4, 1}}, {"all", {1, 2, 3, 4}}};
  return mixes;
}

// Draws the next step from the network as it stands.
class OpSource {
 public:
  OpSource(uint32_t seed, Mix mix) : m_rng(seed), m_mix(std::move(mix)) {}

  Op Next(StormWorld& sw) {
    for (;;) {
      Op o;
      if (Draw(sw, &o)) return o;
    }
  }

 private:
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
  bool Chance(int percent) { return Int(0, 99) < percent; }
  int Type() { return m_mix.types[static_cast<size_t>(Int(0, static_cast<int>(m_mix.types.size()) - 1))]; }
  int Length() {
    // Stubs of one to three cells are common, long drags rare.
    const int r = Int(0, 9);
    return r < 3 ? Int(1, 3) : r < 8 ? Int(4, 14) : Int(15, 40);
  }
  static bool In(int v) { return v >= kLo && v <= kHi; }
  bool Line(Op* o, int x, int y, int dx, int dy, int len) {
    o->kind = 'B';
    o->x1 = x;
    o->y1 = y;
    o->x2 = x + dx * len;
    o->y2 = y + dy * len;
    o->type = Type();
    return In(o->x1) && In(o->y1) && In(o->x2) && In(o->y2) && len > 0;
  }
  void Dir(int* dx, int* dy) {
    static const int d[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    const int k = Int(0, 3);
    *dx = d[k][0];
    *dy = d[k][1];
  }

  bool Draw(StormWorld& sw, Op* o) {
    const std::vector<CStrJunction*> js = JunctionList(sw.w);
    const std::vector<CStrStrasse*> ss = sw.w.Streets();
    int dx = 0, dy = 0;
    Dir(&dx, &dy);
    if (js.empty()) return Line(o, Int(kLo, kHi), Int(kLo, kHi), dx, dy, Int(4, 30));
    if (Chance(10)) {
      // The crossing window, mostly at a junction of three or more streets.
      std::vector<CStrJunction*> arms;
      for (CStrJunction* j : js)
        if (j->GetAnzLinkedStreets() >= 3) arms.push_back(j);
      const std::vector<CStrJunction*>& from = arms.empty() || Chance(15) ? js : arms;
      CStrJunction* j = from[static_cast<size_t>(Int(0, static_cast<int>(from.size()) - 1))];
      o->x1 = j->GetXPos();
      o->y1 = j->GetYPos();
      if (Chance(25)) {
        o->kind = 'P';
        o->x2 = Int(0, 1);
        o->y2 = o->type = 0;
        return true;
      }
      o->kind = 'L';
      const int k = Int(0, 9);
      o->x2 = k < 5 ? Ampel_Ampel : k < 8 ? Ampel_Rvl : Ampel_Vorfahrt;
      o->y2 = 60 + 10 * Int(0, 6);
      o->type = Int(20, 85);
      return true;
    }
    const int pick = Int(0, 99);
    if (pick < 28 && !ss.empty()) {
      // A deletion.
      CStrStrasse* s = ss[static_cast<size_t>(Int(0, static_cast<int>(ss.size()) - 1))];
      o->kind = 'D';
      o->x1 = s->GetStartJunction()->GetXPos();
      o->y1 = s->GetStartJunction()->GetYPos();
      o->x2 = s->GetEndJunction()->GetXPos();
      o->y2 = s->GetEndJunction()->GetYPos();
      o->type = s->GetStreetType().GetValue();
      return true;
    }
    CStrJunction* j = js[static_cast<size_t>(Int(0, static_cast<int>(js.size()) - 1))];
    if (pick < 50) return Line(o, j->GetXPos(), j->GetYPos(), dx, dy, Length());  // on from a junction
    if (pick < 66 && !ss.empty()) {
      // Out of a street's cell (a T junction), or ending on one.
      CStrStrasse* s = ss[static_cast<size_t>(Int(0, static_cast<int>(ss.size()) - 1))];
      const std::vector<CellXY> cells = StreetCells(s);
      const CellXY c = cells[static_cast<size_t>(Int(0, static_cast<int>(cells.size()) - 1))];
      const int len = Length();
      if (Chance(50)) return Line(o, c.first, c.second, dx, dy, len);
      return Line(o, c.first - dx * len, c.second - dy * len, dx, dy, len);
    }
    if (pick < 74) {
      // Two junctions in one line: loops and drags across what lies between.
      CStrJunction* k = js[static_cast<size_t>(Int(0, static_cast<int>(js.size()) - 1))];
      if (k == j || (k->GetXPos() != j->GetXPos() && k->GetYPos() != j->GetYPos())) {
        // Towards k's row or column instead.
        const bool alongX = Chance(50);
        const int x2 = alongX ? k->GetXPos() : j->GetXPos();
        const int y2 = alongX ? j->GetYPos() : k->GetYPos();
        const int len = std::abs(x2 - j->GetXPos()) + std::abs(y2 - j->GetYPos());
        if (len == 0) return false;
        return Line(o, j->GetXPos(), j->GetYPos(), (x2 > j->GetXPos()) - (x2 < j->GetXPos()),
                    (y2 > j->GetYPos()) - (y2 < j->GetYPos()), len);
      }
      const int len = std::abs(k->GetXPos() - j->GetXPos()) + std::abs(k->GetYPos() - j->GetYPos());
      return Line(o, j->GetXPos(), j->GetYPos(), (k->GetXPos() > j->GetXPos()) - (k->GetXPos() < j->GetXPos()),
                  (k->GetYPos() > j->GetYPos()) - (k->GetYPos() < j->GetYPos()), len);
    }
    if (pick < 80 && !ss.empty()) {
      // Along a street's own line, overlapping it.
      CStrStrasse* s = ss[static_cast<size_t>(Int(0, static_cast<int>(ss.size()) - 1))];
      const std::vector<CellXY> cells = StreetCells(s);
      if (cells.size() < 2) return false;
      const CellXY a = cells[static_cast<size_t>(Int(0, static_cast<int>(cells.size()) - 2))];
      const CellXY b = cells[static_cast<size_t>(Int(0, static_cast<int>(cells.size()) - 1))];
      if (a == b || (a.first != b.first && a.second != b.second)) return false;
      const int ex = Int(-3, 3);
      const int mx = (b.first > a.first) - (b.first < a.first), my = (b.second > a.second) - (b.second < a.second);
      const int len = std::abs(b.first - a.first) + std::abs(b.second - a.second) + ex;
      return Line(o, a.first, a.second, mx, my, len);
    }
    if (pick < 88) {
      // Over a river, or ending on one.
      if (Chance(50)) {
        const int y = Int(kLo, kHi);
        const int x = Int(22, 30);
        return Line(o, x, y, 1, 0, Chance(20) ? Int(1, 6) : Int(3, 14));
      }
      const int x = Int(kLo, kHi);
      const int y = Int(38, 45);
      return Line(o, x, y, 0, 1, Chance(20) ? Int(1, 6) : Int(3, 14));
    }
    if (pick < 94) {
      // A long drag anywhere: across several streets, or off the network.
      return Line(o, Int(kLo, kHi), Int(kLo, kHi), dx, dy, Int(10, 50));
    }
    // Beside a dead end: one cell before it, on its street.
    if (j->GetAnzLinkedStreets() != 1) return false;
    CStrStrasse* s = j->GetStreetByNR(0);
    const std::vector<CellXY> cells = StreetCells(s);
    if (cells.size() < 3) return false;
    const CellXY c = s->GetStartJunction() == j ? cells[1] : cells[cells.size() - 2];
    const int len = Length();
    const bool alongX = c.second == j->GetYPos();
    const int sx = alongX ? 0 : 1, sy = alongX ? 1 : 0;
    const int sign = Chance(50) ? 1 : -1;
    return Line(o, c.first + sx * sign * len, c.second + sy * sign * len, -sx * sign, -sy * sign, len);
  }

  std::mt19937 m_rng;
  Mix m_mix;
};

// What a run found: the step, its findings and the steps that led there.
struct Finding {
  int step = -1;
  std::vector<std::string> faults;
  std::vector<Op> ops;
  int result = 0;
};

// Saving and loading the network into a new world gives the same network
// and, saved again, the same bytes.
// The network's classes reach the map and the demand model through
// statics that the newest world set; they go back to this one.
inline void Rebind(World& w) {
  CStrJunctionList::m_pIsoWelt = CStrJunction::m_pIsoWelt = CStrStrasse::m_pIsoWelt = w.map;
  CStrStrassenTeil::m_pIsoWelt = CStrExtTeil::m_pIsoWelt = w.map;
  CStrJunctionList::m_pSimWelt = CStrJunction::m_pSimWelt = CStrStrasse::m_pSimWelt = w.sim.get();
  CStrJunction::m_pStreetNet = w.net.get();
  CIsoObject::m_pResources = w.map->GetResourceManager();
}

// What the game does once a savegame is loaded: every crossing puts its
// priority back where its code says.
inline void SettleLoaded(World& w) {
  for (CStrJunction* j : JunctionList(w))
    if (CKreuzObj* crossing = j->GetKreuzObject()) crossing->CheckAmpelRichtungAfterLoad();
}

inline std::vector<std::string> CheckRoundTrip(StormWorld& sw) {
  std::vector<std::string> out;
  const ByteList bytes = sw.Record();
  if (bytes.empty()) return {"the network could not be saved"};
  const std::map<CellXY, std::string> lights = LightsSeen(sw.w);
  {
    StormWorld v;
    RecordFile f(bytes);
    if (v.w.net->SerializeGameLoad(f.f()) != 0) {
      out.push_back("the saved network could not be loaded");
    } else {
      SettleLoaded(v.w);
      for (const std::string& s : v.checker.Check(v.w)) out.push_back("after loading: " + s);
      if (v.Record() != bytes) out.push_back("the loaded network is saved as other bytes");
      if (v.w.Junctions() != sw.w.Junctions()) out.push_back("the loaded network has another number of junctions");
      const std::map<CellXY, std::string> loaded = LightsSeen(v.w);
      for (const auto& [cell, seen] : lights) {
        const auto it = loaded.find(cell);
        if (it == loaded.end() || it->second != seen)
          out.push_back("the lights of junction " + std::to_string(cell.first) + "/" + std::to_string(cell.second) +
                        " (" + seen + ") are loaded as " + (it == loaded.end() ? "none" : "(" + it->second + ")"));
      }
      if (loaded.size() > lights.size()) out.push_back("the loaded network has lights the saved one had not");
      if (v.w.Streets().size() != sw.w.Streets().size())
        out.push_back("the loaded network has another number of streets");
    }
  }
  Rebind(sw.w);
  return out;
}

// The demand model's hour turns every this many steps, as it does while a
// player edits: the ids that removals freed come free with the hours.
constexpr int kHourSteps = 250;

inline void TurnHour(World& w) {
  w.sim->StartNextIntervall(false);
  while (w.sim->Computate(1) != 0) {
  }
  w.sim->ActivateCalculatedSlot();
}

// Runs the steps on a new world: every step checked, and a refused step
// must leave the network's record as it was; every `saveEvery` steps a
// round trip. Stops at the first step with a finding.
inline Finding RunOps(const std::vector<Op>& ops, int saveEvery = 500, bool checkRefused = true) {
  Finding f;
  StormWorld sw;
  sw.signs = true;
  for (size_t i = 0; i < ops.size(); ++i) {
    const ByteList before = checkRefused ? sw.Record() : ByteList{};
    const int r = sw.Apply(ops[i]);
    std::vector<std::string> faults = WithoutOpen(sw.checker.Check(sw.w), "");
    for (const std::string& x : sw.CheckDeletion(ops[i], r)) faults.push_back(x);
    const bool refused = ops[i].kind == 'B' ? r != STR_BUILD_OK : r > 0;
    if (checkRefused && refused && sw.Record() != before)
      faults.push_back("a refused step (" + std::to_string(r) + ") changed the network");
    if (saveEvery > 0 && (i + 1) % static_cast<size_t>(saveEvery) == 0 && faults.empty()) faults = WithoutOpen(CheckRoundTrip(sw), "");
    if ((i + 1) % kHourSteps == 0) TurnHour(sw.w);
    if (!faults.empty()) {
      f.step = static_cast<int>(i);
      f.faults = faults;
      f.result = r;
      f.ops.assign(ops.begin(), ops.begin() + static_cast<long>(i) + 1);
      return f;
    }
  }
  return f;
}

// The storm compares the whole map's cell index with the network every this
// many steps and at its last step; the steps between compare the cells the
// network covers or covered a step before (Checker::CheckCellIndex).
constexpr int kFullIndexSteps = 50;

// The storm: `steps` steps drawn from the network as it stands.
inline Finding RunStorm(uint32_t seed, const Mix& mix, int steps, int saveEvery = 500) {
  Finding f;
  StormWorld sw;
  sw.signs = true;
  OpSource source(seed, mix);
  std::vector<Op> ops;
  const int progress = EnvInt("ZOR_STORM_PROGRESS", 0);
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < steps; ++i) {
    if (progress > 0 && i > 0 && i % progress == 0) {
      std::printf("storm %s seed %u: %d steps clean in %.0f s\n", mix.name, seed, i,
                  std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
      std::fflush(stdout);
    }
    const Op o = source.Next(sw);
    ops.push_back(o);
    const ByteList before = sw.Record();
    const int r = sw.Apply(o);
    const bool fullIndex = (i + 1) % kFullIndexSteps == 0 || i + 1 == steps;
    std::vector<std::string> faults = WithoutOpen(sw.checker.Check(sw.w, fullIndex), "");
    for (const std::string& x : sw.CheckDeletion(o, r)) faults.push_back(x);
    const bool refused = o.kind == 'B' ? r != STR_BUILD_OK : r > 0;
    if (refused && sw.Record() != before)
      faults.push_back("a refused step (" + std::to_string(r) + ") changed the network");
    if (saveEvery > 0 && (i + 1) % saveEvery == 0 && faults.empty()) faults = WithoutOpen(CheckRoundTrip(sw), "");
    if ((i + 1) % kHourSteps == 0) TurnHour(sw.w);
    if (!faults.empty()) {
      f.step = i;
      f.faults = faults;
      f.result = r;
      f.ops = ops;
      return f;
    }
  }
  return f;
}

// The findings after the last of the steps, the steps before it run
// unchecked: a shortened sequence is tried many times, and the whole
// check after every step made that the slow part. With `roundTrip` the
// network is then saved and loaded too, as every 500 steps of a storm.
inline std::vector<std::string> FindingsAtEnd(const std::vector<Op>& ops, bool roundTrip = false) {
  StormWorld sw;
  sw.signs = true;
  for (size_t i = 0; i + 1 < ops.size(); ++i) {
    sw.Apply(ops[i]);
    if ((i + 1) % kHourSteps == 0) TurnHour(sw.w);
  }
  const Op& last = ops.back();
  const ByteList before = sw.Record();
  const int r = sw.Apply(last);
  std::vector<std::string> faults = WithoutOpen(sw.checker.Check(sw.w), "");
  for (const std::string& x : sw.CheckDeletion(last, r)) faults.push_back(x);
  const bool refused = last.kind == 'B' ? r != STR_BUILD_OK : r > 0;
  if (refused && sw.Record() != before) faults.push_back("a refused step (" + std::to_string(r) + ") changed the network");
  if (roundTrip && faults.empty()) faults = WithoutOpen(CheckRoundTrip(sw), "");
  return faults;
}

// Whether a finding came of a save and a load (CheckRoundTrip).
inline bool OfRoundTrip(const std::string& finding) {
  return finding.starts_with("after loading") || finding.find("saved") != std::string::npos ||
         finding.find("loaded") != std::string::npos;
}

// A shorter sequence that still shows a finding of the same kind after
// its last step.
inline std::vector<Op> Minimize(std::vector<Op> ops, const std::string& kind) {
  const bool roundTrip = OfRoundTrip(kind);
  return MinimizeBy(std::move(ops), [&kind, roundTrip](const std::vector<Op>& seq) {
    for (const std::string& s : FindingsAtEnd(seq, roundTrip))
      if (Kind(s) == kind) return true;
    return false;
  });
}

}  // namespace stormtest
