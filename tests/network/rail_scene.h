#pragma once
// A street network with the rail network beside it, on the map of the
// generated game data: tracks are built the way the rail tool builds them.
#include <memory>
#include <vector>

#include "junction_scene.h"
#include "rail_crossing_check.h"
#include "network/rail_junction.h"
#include "network/rail_junction_list.h"
#include "network/rail_track.h"
#include "network/street_objects.h"

namespace railtest {

struct RailWorld : junctiontest::World {
  RailWorld() : World(junctiontest::GameData{}) {
    rails = std::make_unique<CStrSchJuncList>(map, sim.get());
    rails->Create();
    net->SetRailNet(rails.get());
  }
  ~RailWorld() {
    net->SetRailNet(nullptr);
    rails->Destroy();
    rails.reset();
  }
  RailWorld(const RailWorld&) = delete;
  RailWorld& operator=(const RailWorld&) = delete;

  // The street 10/10-10/30 and the track 2/20-30/20 across it, in either
  // order: the scene of a level crossing built both ways.
  bool StreetAndTrack(bool trackFirst) {
    if (trackFirst && Track(2, 20, 30, 20) != STR_BUILD_OK) return false;
    if (Build(10, 10, 10, 30) != STR_BUILD_OK) return false;
    return trackFirst || Track(2, 20, 30, 20) == STR_BUILD_OK;
  }
  int Track(int x1, int y1, int x2, int y2) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2),
                       static_cast<short>(y2));
    return rails->CreateStreet(&line, STRASSE_SCHIENE);
  }
  CStrSchJunction* RailAt(int x, int y) {
    return static_cast<CStrSchJunction*>(rails->FindJunctionAt(static_cast<short>(x), static_cast<short>(y)));
  }
  // Every distinct track.
  std::vector<CStrSchienen*> Tracks() { return TracksOf(rails.get()); }
  // The track the cell shows, or null.
  CStrSchienen* TrackAt(int x, int y) {
    auto* tile = dynamic_cast<CStreetObj*>(map->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
    return tile ? dynamic_cast<CStrSchienen*>(tile->GetStreetList()) : nullptr;
  }
  // The level crossings of every track: (start x, start y, end x, end y).
  std::vector<CGrdCrossing*> Crossings() {
    std::vector<CGrdCrossing*> out;
    for (CStrSchienen* t : Tracks())
      for (int k = 1; CStrStrassenTeil* p = t->GetStrassenTeil(k); ++k)
        for (CZorvaObject* o = p->GetExtraTeilList() ? p->GetExtraTeilList()->GetHead() : nullptr; o; o = o->GetNext())
          if (auto* c = dynamic_cast<CGrdCrossing*>(o)) out.push_back(c);
    return out;
  }

  std::unique_ptr<CStrSchJuncList> rails;
};

}  // namespace railtest
