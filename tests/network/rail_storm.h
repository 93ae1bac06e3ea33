#pragma once
// The edit storm with the rail network beside the streets: track builds and
// deletions mixed with street edits, checked after every step for the rail
// network's integrity (rail junctions and tracks link both ways, every level
// crossing lies on its track and belongs to a live street whose cells lead
// across it, every meeting of a street and a track holds one crossing, the
// map's rail cells name live tracks and rail junctions) besides the street
// network's,
// and saved and loaded with the street network. A step "B ... 9" builds a
// track, "D ... 9" deletes one.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "edit_storm.h"
#include "rail_crossing_check.h"
#include "network/rail_junction.h"
#include "network/rail_junction_list.h"
#include "network/rail_track.h"

namespace stormtest {

struct RailStormWorld : StormWorld {
  RailStormWorld() {
    rails = std::make_unique<CStrSchJuncList>(w.map, w.sim.get());
    rails->Create();
    w.net->SetRailNet(rails.get());
    // Every junction that a track's crossing or a street makes may carry
    // signs (StormWorld::signs), held to the checks with the rest.
    signs = true;
    // The trains' cells are checked with the cars': every cell leads into
    // a live layout of either network.
    checker.moreCellOwners = [this](std::vector<CStrJunction*>& js, std::vector<CStrStrasse*>& ts) {
      for (CZorvaObject* o = rails->GetHead(); o; o = o->GetNext()) js.push_back(static_cast<CStrJunction*>(o));
      ts = Tracks();
    };
  }
  ~RailStormWorld() {
    w.net->SetRailNet(nullptr);
    rails->Destroy();
  }
  RailStormWorld(const RailStormWorld&) = delete;
  RailStormWorld& operator=(const RailStormWorld&) = delete;

  std::vector<CStrStrasse*> Tracks() {
    std::vector<CStrStrasse*> out;
    std::set<CStrStrasse*> seen;
    for (CZorvaObject* o = rails->GetHead(); o; o = o->GetNext()) {
      auto* j = static_cast<CStrJunction*>(o);
      for (int i = 0; i < j->GetAnzLinkedStreets(); ++i)
        if (seen.insert(j->GetStreetByNR(i)).second) out.push_back(j->GetStreetByNR(i));
    }
    return out;
  }
  int Apply(const Op& o) {
    if (o.type != STRASSE_SCHIENE) return StormWorld::Apply(o);
    const int r = TrackStep(o);
    PutUpSigns(o, r);
    return r;
  }
  int TrackStep(const Op& o) {
    if (o.kind == 'B') {
      CStrBuildLine line(static_cast<short>(o.x1), static_cast<short>(o.y1), static_cast<short>(o.x2),
                         static_cast<short>(o.y2));
      return rails->CreateStreet(&line, STRASSE_SCHIENE);
    }
    for (CStrStrasse* t : Tracks()) {
      CStrJunction* a = t->GetStartJunction();
      CStrJunction* b = t->GetEndJunction();
      auto is = [](CStrJunction* j, int x, int y) { return j && j->GetXPos() == x && j->GetYPos() == y; };
      if ((is(a, o.x1, o.y1) && is(b, o.x2, o.y2)) || (is(a, o.x2, o.y2) && is(b, o.x1, o.y1)))
        return rails->DeleteStreet(t);
    }
    return -1;
  }
  ByteList Record() {
    RecordFile f;
    if (w.net->SerializeGameStore(f.f()) != 0 || rails->SerializeGameStore(f.f()) != 0) return {};
    return f.Bytes();
  }

  std::unique_ptr<CStrSchJuncList> rails;
};

// The rail network's findings.
inline std::vector<std::string> CheckRails(RailStormWorld& sw) {
  std::vector<std::string> out;
  auto at = [](int x, int y) { return std::to_string(x) + "/" + std::to_string(y); };
  std::set<CStrJunction*> live;
  std::set<unsigned short> ids;
  for (CZorvaObject* o = sw.rails->GetHead(); o; o = o->GetNext()) live.insert(static_cast<CStrJunction*>(o));
  for (CStrJunction* j : live) {
    const std::string name = "rail junction " + at(j->GetXPos(), j->GetYPos());
    const int n = j->GetAnzLinkedStreets();
    if (n != 1 && n != 3) out.push_back(name + " has " + std::to_string(n) + " tracks");
    if (j->GetSimID() == 0 || !ids.insert(j->GetSimID()).second) out.push_back(name + " has no id of its own");
    if (sw.rails->GetJunctionByID(j->GetSimID()) != j) out.push_back(name + " is not indexed under its id");
    if ((n == 1 || n == 3) && !j->IsDrawn()) out.push_back(name + " is not drawn on its cell");
    for (int i = 0; i < n; ++i) {
      CStrStrasse* t = j->GetStreetByNR(i);
      if (!live.count(t->GetStartJunction()) || !live.count(t->GetEndJunction()))
        out.push_back(name + " holds a track whose end is no rail junction");
      else if (!t->GetStartJunction()->HasStreet(t) || !t->GetEndJunction()->HasStreet(t))
        out.push_back(name + " holds a track that its other end does not");
    }
  }
  std::set<CWorldObj*> trackObjects, junctionObjects;
  for (CStrJunction* j : live) junctionObjects.insert(j->GetKreuzObject());
  for (CStrStrasse* t : sw.Tracks()) {
    trackObjects.insert(t->GetWorldObj());
    if (!(t->GetStreetType() == STRASSE_SCHIENE)) out.push_back("a track of type " + std::to_string(t->GetStreetType().GetValue()));
    const std::vector<CellXY> cells = StreetCells(t);
    if (cells.empty() || cells.front() != CellXY{t->GetStartJunction()->GetXPos(), t->GetStartJunction()->GetYPos()} ||
        cells.back() != CellXY{t->GetEndJunction()->GetXPos(), t->GetEndJunction()->GetYPos()})
      out.push_back("a track does not run between its junctions");
    for (int k = 1; CStrStrassenTeil* p = t->GetStrassenTeil(k); ++k) {
      CStrExtTlList* parts = p->GetExtraTeilList();
      for (CZorvaObject* e = parts ? parts->GetHead() : nullptr; e; e = e->GetNext()) {
        auto* c = dynamic_cast<CGrdCrossing*>(e);
        if (!c) continue;
        short ux = 0, uy = 0, lx = 0, ly = 0;
        c->GetUpperStreetPos(ux, uy);
        c->GetLowerStreetPos(lx, ly);
        const std::string where = "level crossing " + at(c->GetStartX(), c->GetStartY());
        CStrStrasse* s = nullptr;
        CStrStrassenTeil* sp = nullptr;
        if (!sw.w.net->PointHitStreet(ux, uy, &s, &sp) || !sw.w.net->PointHitStreet(lx, ly, &s, &sp))
          out.push_back(where + " belongs to no live street");
        bool onPiece = false;
        for (const CellXY& cell : cells)
          onPiece = onPiece || c->PointHitExtraTeil(static_cast<short>(cell.first), static_cast<short>(cell.second));
        if (!onPiece) out.push_back(where + " lies off its track");
        // The street's cars cross the track: its cells on one side lead
        // through the crossing to the other (both ways unless one-way).
        CStrStrasse* su = nullptr;
        CStrStrasse* sl = nullptr;
        if (!sw.w.net->PointHitStreet(ux, uy, &su, &sp) || !sw.w.net->PointHitStreet(lx, ly, &sl, &sp) || su != sl)
          continue;
        CQnoMicroZelle* upper = su->GetMicroZellen(static_cast<unsigned short>(ux), static_cast<unsigned short>(uy));
        CQnoMicroZelle* lower = su->GetMicroZellen(static_cast<unsigned short>(lx), static_cast<unsigned short>(ly));
        if (!upper || !lower) continue;  // a junction's cell beside the track
        const bool down = junctiontest::Reached(upper, lower, 400).count(lower) != 0;
        const bool up = junctiontest::Reached(lower, upper, 400).count(upper) != 0;
        if (su->GetStreetType() == STRASSE_EINBAHN ? !down && !up : !down || !up)
          out.push_back(where + ": the street's cells at " + at(ux, uy) + " and " + at(lx, ly) +
                        " do not lead into each other");
      }
    }
  }
  for (int x = 0; x < 128; ++x)
    for (int y = 0; y < 128; ++y) {
      const TObjectType kind = sw.w.map->GetTypeAt(x, y, ISO_LAYER_GROUND);
      if (kind != OBJ_RAIL_PIECE && kind != OBJ_RAIL_JUNCTION) continue;
      CWorldObj* obj = sw.w.map->GetIsoTileObject(x, y, ISO_LAYER_GROUND);
      if (kind == OBJ_RAIL_PIECE ? !trackObjects.count(obj) : !junctionObjects.count(obj))
        out.push_back("cell " + at(x, y) + " shows a rail object that is gone");
    }
  return out;
}

// Street and rail findings together.
inline std::vector<std::string> CheckAll(RailStormWorld& sw) {
  std::vector<std::string> out = WithoutOpen(sw.checker.Check(sw.w));
  for (const std::string& f : CheckRails(sw)) out.push_back(f);
  return out;
}

inline void RebindRails(RailStormWorld& sw) {
  Rebind(sw.w);
  CStrSchienen::m_pRailNet = sw.rails.get();
}

inline std::vector<std::string> CheckRailRoundTrip(RailStormWorld& sw) {
  std::vector<std::string> out;
  const ByteList bytes = sw.Record();
  if (bytes.empty()) return {"the networks could not be saved"};
  {
    RailStormWorld v;
    RecordFile f(bytes);
    if (v.w.net->SerializeGameLoad(f.f()) != 0 || v.rails->SerializeGameLoad(f.f()) != 0) {
      out.push_back("the saved networks could not be loaded");
    } else {
      SettleLoaded(v.w);
      for (const std::string& s : CheckAll(v)) out.push_back("after loading: " + s);
      if (v.Record() != bytes) out.push_back("the loaded networks are saved as other bytes");
    }
  }
  RebindRails(sw);
  return out;
}

// Saves the networks, loads them into a new world and hands that to `look`;
// false when they could not be saved or loaded.
template <class Look>
bool WithLoadedCopy(RailStormWorld& sw, Look look) {
  const ByteList bytes = sw.Record();
  bool loaded = false;
  if (!bytes.empty()) {
    RailStormWorld v;
    RecordFile f(bytes);
    loaded = v.w.net->SerializeGameLoad(f.f()) == 0 && v.rails->SerializeGameLoad(f.f()) == 0;
    if (loaded) SettleLoaded(v.w);
    if (loaded) look(v);
  }
  RebindRails(sw);
  return loaded;
}

// Draws storm steps: street steps from the street storm's source, and
// track steps: on from a rail junction, out of a track, across streets,
// long drags anywhere, and deletions.
class RailOpSource {
 public:
  RailOpSource(uint32_t seed, Mix streets) : m_rng(seed), m_streets(seed * 7 + 1, std::move(streets)) {}

  Op Next(RailStormWorld& sw) {
    for (;;) {
      if (Int(0, 99) < 45) return m_streets.Next(sw);
      Op o;
      if (Draw(sw, &o)) return o;
    }
  }

 private:
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
  bool Line(Op* o, int x, int y, int dx, int dy, int len) {
    o->kind = 'B';
    o->x1 = x;
    o->y1 = y;
    o->x2 = x + dx * len;
    o->y2 = y + dy * len;
    o->type = STRASSE_SCHIENE;
    auto in = [](int v) { return v >= kLo && v <= kHi; };
    return in(o->x1) && in(o->y1) && in(o->x2) && in(o->y2) && len > 0;
  }
  bool Draw(RailStormWorld& sw, Op* o) {
    static const int d[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    const int k = Int(0, 3);
    const int dx = d[k][0], dy = d[k][1];
    const std::vector<CStrStrasse*> tracks = sw.Tracks();
    const int pick = Int(0, 99);
    if (tracks.empty() || pick < 10) return Line(o, Int(kLo, kHi), Int(kLo, kHi), dx, dy, Int(6, 40));
    CStrStrasse* t = tracks[static_cast<size_t>(Int(0, static_cast<int>(tracks.size()) - 1))];
    if (pick < 30) {
      o->kind = 'D';
      o->x1 = t->GetStartJunction()->GetXPos();
      o->y1 = t->GetStartJunction()->GetYPos();
      o->x2 = t->GetEndJunction()->GetXPos();
      o->y2 = t->GetEndJunction()->GetYPos();
      o->type = STRASSE_SCHIENE;
      return true;
    }
    if (pick < 65) {
      CStrJunction* j = Int(0, 1) ? t->GetStartJunction() : t->GetEndJunction();
      return Line(o, j->GetXPos(), j->GetYPos(), dx, dy, Int(3, 30));
    }
    const std::vector<CellXY> cells = StreetCells(t);
    const CellXY c = cells[static_cast<size_t>(Int(0, static_cast<int>(cells.size()) - 1))];
    if (pick < 72) return Line(o, c.first, c.second, dx, dy, Int(3, 30));
    if (pick < 80) {
      // The shortest track across a street's cell: four cells of its own
      // before the street and three after it (a four-lane street's second
      // row lies a cell further towards +x or +y).
      std::vector<CStrStrasse*> streets;
      for (CStrJunction* j : JunctionList(sw.w))
        for (int i = 0; i < j->GetAnzLinkedStreets(); ++i)
          if (j->GetStreetByNR(i)->GetStartJunction() == j) streets.push_back(j->GetStreetByNR(i));
      if (streets.empty()) return false;
      CStrStrasse* s = streets[static_cast<size_t>(Int(0, static_cast<int>(streets.size()) - 1))];
      const std::vector<CellXY> sc = StreetCells(s);
      const CellXY m = sc[static_cast<size_t>(Int(0, static_cast<int>(sc.size()) - 1))];
      signed char sx = 0, sy = 0;
      s->GetStreetDirectionAt(static_cast<unsigned short>(m.first), static_cast<unsigned short>(m.second), sx, sy);
      if (sx == 0 && sy == 0) return false;
      // Across the street, either way.
      const int way = dx + dy > 0 ? 1 : -1, tx = sx != 0 ? 0 : way, ty = sx != 0 ? way : 0;
      const int wide = s->GetStreetType() == STRASSE_VIERSPURIG ? 1 : 0;
      const int before = 4 + (way > 0 ? 0 : wide);
      return Line(o, m.first - tx * before, m.second - ty * before, tx, ty, 7 + wide);
    }
    // A street across the track: from a street junction in line with the
    // track's cell, or straight across it.
    const std::vector<CStrJunction*> js = JunctionList(sw.w);
    const bool fromJunction = !js.empty() && Int(0, 1);
    CStrJunction* j = fromJunction ? js[static_cast<size_t>(Int(0, static_cast<int>(js.size()) - 1))] : nullptr;
    const int len = Int(6, 20);
    if (j && j->GetXPos() == c.first)
      Line(o, j->GetXPos(), j->GetYPos(), 0, c.second > j->GetYPos() ? 1 : -1, std::abs(c.second - j->GetYPos()) + 4);
    else if (j && j->GetYPos() == c.second)
      Line(o, j->GetXPos(), j->GetYPos(), c.first > j->GetXPos() ? 1 : -1, 0, std::abs(c.first - j->GetXPos()) + 4);
    else if (!Line(o, c.first - dx * len / 2, c.second - dy * len / 2, dx, dy, len))
      return false;
    static const int types[3] = {1, 2, 4};
    o->type = types[Int(0, 2)];
    auto in = [](int v) { return v >= kLo && v <= kHi; };
    return in(o->x1) && in(o->y1) && in(o->x2) && in(o->y2) && (o->x1 != o->x2 || o->y1 != o->y2);
  }

  std::mt19937 m_rng;
  OpSource m_streets;
};

inline size_t CountCrossings(RailStormWorld& sw) {
  size_t n = 0;
  for (CStrStrasse* t : sw.Tracks())
    for (int k = 1; CStrStrassenTeil* p = t->GetStrassenTeil(k); ++k)
      n += p->GetExtraTeilList() ? p->GetExtraTeilList()->GetNumber() : 0;
  return n;
}

// One step on the world: its findings, with a refused step that changed
// either record, and every `saveEvery` steps a round trip.
inline std::vector<std::string> RailStep(RailStormWorld& sw, const Op& o, int i, int saveEvery, int* result) {
  const ByteList before = sw.Record();
  *result = sw.Apply(o);
  std::vector<std::string> faults = CheckAll(sw);
  const bool refused = o.kind == 'B' ? *result != STR_BUILD_OK : *result > 0;
  if (refused && sw.Record() != before)
    faults.push_back("a refused step (" + std::to_string(*result) + ") changed the networks");
  // Every edit leaves each meeting of a street and a track with its level
  // crossing, as a check of every street against every track would, and no
  // crossing besides.
  if (!refused) {
    for (const std::string& x : railtest::MissedCrossings(sw.w.net.get(), sw.rails.get())) faults.push_back(x);
    const size_t meetings = railtest::Meetings(sw.w.net.get(), sw.rails.get()), held = CountCrossings(sw);
    if (held != meetings)
      faults.push_back(std::to_string(meetings) + " meetings of streets and tracks hold " + std::to_string(held) +
                       " level crossings");
  }
  if (saveEvery > 0 && (i + 1) % saveEvery == 0 && faults.empty()) faults = CheckRailRoundTrip(sw);
  return faults;
}

// Runs the steps on a new world, every step checked; stops at the first
// step with a finding.
inline Finding RunRailOps(const std::vector<Op>& ops, int saveEvery = 250) {
  RailStormWorld sw;
  for (size_t i = 0; i < ops.size(); ++i) {
    Finding f;
    f.faults = RailStep(sw, ops[i], static_cast<int>(i), saveEvery, &f.result);
    if (f.faults.empty()) continue;
    f.step = static_cast<int>(i);
    f.ops.assign(ops.begin(), ops.begin() + static_cast<long>(i) + 1);
    return f;
  }
  return {};
}

// The findings of the last of the steps, the steps before it run
// unchecked (as FindingsAtEnd for the street storm).
inline std::vector<std::string> RailFindingsAtEnd(const std::vector<Op>& ops) {
  RailStormWorld sw;
  for (size_t i = 0; i + 1 < ops.size(); ++i) sw.Apply(ops[i]);
  int result = 0;
  return RailStep(sw, ops.back(), static_cast<int>(ops.size()) - 1, 0, &result);
}

// A shorter sequence that still shows `finding` after its last step, the
// same text but for what follows " (" (the ids and lanes that other steps
// number otherwise); then, where a step before the last shows a finding of
// its own, shortened again until none does.
inline std::vector<Op> MinimizeRail(std::vector<Op> ops, const std::string& finding) {
  const std::string place = finding.substr(0, finding.find(" ("));
  auto shows = [&place](const std::vector<std::string>& faults) {
    for (const std::string& s : faults)
      if (s.substr(0, s.find(" (")) == place) return true;
    return false;
  };
  ops = MinimizeBy(std::move(ops), [&](const std::vector<Op>& seq) { return shows(RailFindingsAtEnd(seq)); });
  return MinimizeBy(std::move(ops), [&](const std::vector<Op>& seq) {
    const Finding f = RunRailOps(seq, 0);
    return f.step + 1 == static_cast<int>(seq.size()) && shows(f.faults);
  });
}

// What a storm built: track builds that went through, and the most level
// crossings standing at once.
struct RailStormStats {
  int tracksBuilt = 0;
  size_t crossings = 0;
};

inline Finding RunRailStorm(uint32_t seed, const Mix& streets, int steps, int saveEvery = 250,
                            RailStormStats* stats = nullptr) {
  RailStormWorld sw;
  RailOpSource source(seed, streets);
  std::vector<Op> ops;
  // A railway the streets will cross: a U west of the river, and a street
  // across both its arms.
  const std::vector<Op> start = Parse("B 8 40 8 6 9\nB 8 6 24 6 9\nB 24 6 24 40 9\nB 2 30 28 30 1\n");
  // A long run reports how far it got (ZOR_STORM_PROGRESS=n: every n steps).
  const int progress = EnvInt("ZOR_STORM_PROGRESS", 0);
  // ZOR_STORM_TRACE=file writes every step there before it is applied, so
  // a run that crashes leaves the steps that led to the crash.
  const char* tracePath = std::getenv("ZOR_STORM_TRACE");
  std::unique_ptr<FILE, int (*)(FILE*)> trace(tracePath ? std::fopen(tracePath, "w") : nullptr, &std::fclose);
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < steps; ++i) {
    if (progress > 0 && i > 0 && i % progress == 0) {
      std::printf("rail storm seed %u: %d steps clean in %.0f s\n", seed, i,
                  std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
      std::fflush(stdout);
    }
    const Op o = i < static_cast<int>(start.size()) ? start[static_cast<size_t>(i)] : source.Next(sw);
    ops.push_back(o);
    if (trace) {
      std::fprintf(trace.get(), "%s\n", Format(o).c_str());
      std::fflush(trace.get());
    }
    Finding f;
    f.faults = RailStep(sw, o, i, saveEvery, &f.result);
    if (stats && o.type == STRASSE_SCHIENE && o.kind == 'B' && f.result == STR_BUILD_OK) ++stats->tracksBuilt;
    if (stats) stats->crossings = std::max(stats->crossings, CountCrossings(sw));
    if (f.faults.empty()) continue;
    f.step = i;
    f.ops = ops;
    return f;
  }
  return {};
}

}  // namespace stormtest
