#pragma once
// Pieces of the towns the benchmarks of the whole game build through the
// game itself: a grid of streets, and a stop beside a street with the id of
// the street it stands on.
#include "measures/building_object.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "worldbase/building_catalogue.h"
#include "world/zor_world.h"

namespace benchworld {

// A grid of `nodes` x `nodes` crossings `spacing` cells apart from
// (origin, origin), every third row and column a main road; the number of
// streets the network refused.
inline int BuildStreetGrid(CZorvaWorld& world, int nodes, int spacing, int origin) {
  CStrJunctionList* net = world.GetStreetNet();
  int refused = 0;
  auto street = [&](int x1, int y1, int x2, int y2, int i) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    refused += net->CreateStreet(&line, i % 3 == 0 ? STRASSE_2 : STRASSE_1) != STR_BUILD_OK;
  };
  const int end = origin + (nodes - 1) * spacing;
  // The first row, the columns down from it, then the rows between them.
  street(origin, origin, end, origin, 0);
  for (int i = 0; i < nodes; ++i)
    for (int j = 0; j + 1 < nodes; ++j)
      street(origin + i * spacing, origin + j * spacing, origin + i * spacing, origin + (j + 1) * spacing, i);
  for (int j = 1; j < nodes; ++j)
    for (int i = 0; i + 1 < nodes; ++i)
      street(origin + i * spacing, origin + j * spacing, origin + (i + 1) * spacing, origin + j * spacing, j);
  return refused;
}

// A stop of `kind` at the cell, in whichever direction the cell takes one;
// null when it takes none.
inline CSecondLayerObject* PlaceStop(CZorvaWorld& world, TObjectType kind, int x, int y) {
  const int resId = CBuildingDataList::GetBuildingResIDByType(kind, 0, nullptr);
  for (int d = 0; d < 4 && resId > 0; ++d) {
    CWorldObj* made = world.CreateObject(kind, resId, CIsoRichtung(d), x, y, static_cast<ESimLocationHeight>(0),
                                         nullptr, 0, nullptr, 0, -1);
    if (auto* stop = dynamic_cast<CSecondLayerObject*>(made)) return stop;
  }
  return nullptr;
}

// The demand model's id of the street a stop stands on; 0 without one.
inline short StreetIdOf(CSecondLayerObject* stop) {
  int x = -1, y = -1;
  CStreetObj* street = stop ? stop->GetStreet(&x, &y) : nullptr;
  CStrStrasse* s = street ? street->GetStreetList() : nullptr;
  return s ? static_cast<short>(s->GetSimID()) : 0;
}

}  // namespace benchworld
