#pragma once
// A small town on the real game: two side streets meeting at (60, 63), and
// helpers to place buildings through the world's factory.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <vector>

#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_net_lengths.h"
#include "network/str_strasse.h"
#include "sim/sim_location_factory.h"
#include "support/scenario.h"
#include "world/zor_world.h"

namespace towntest {

struct Town : testing::Test {
  zortest::Scenario game;
  CZorvaWorld& world = game.World();
  void SetUp() override {
    std::filesystem::create_directories("SaveGame");
    for (const auto& [x1, y1, x2, y2] : {std::tuple{60, 60, 60, 66}, std::tuple{60, 63, 66, 63}})
      ASSERT_EQ(Street(x1, y1, x2, y2), STR_BUILD_OK);
  }
  int Street(int x1, int y1, int x2, int y2) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    return world.GetStreetNet()->CreateStreet(&line, STRASSE_1);
  }
  CSimLocationFactory* Factory() { return world.GetLocationFactory(); }
  CWorldObj* Place(TObjectType kind, int resId, int x, int y, int dir = 0,
                   ESimLocationHeight height = SIM_HEIGHT_ANY) {
    return world.CreateObject(kind, resId, CIsoRichtung(dir), x, y, height, nullptr, 0, nullptr, 0, -1);
  }
  CBuildingObject* BuildingAt(int x, int y) {
    return dynamic_cast<CBuildingObject*>(world.GetIsoWelt()->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
  }
  // Every street of the network once (each is listed at both its ends).
  std::vector<CStrStrasse*> Streets() {
    std::vector<CStrStrasse*> all;
    StrForEachStreet(world.GetStreetNet(), [&](CStrStrasse* s) { all.push_back(s); });
    return all;
  }
  // Locations registered at any crossing of the street network.
  int AtCrossings() {
    int n = 0;
    for (CZorvaObject* o = world.GetStreetNet()->GetHead(); o; o = o->GetNext())
      if (CLocationList* l = static_cast<CStrJunction*>(o)->GetLocationList()) n += l->GetCount();
    return n;
  }
  // A long street north to south at x 80 from y 40 to 90, with room for
  // stops away from its ends, joined to the town by way of (60, 40).
  void LongStreetAt80() {
    for (const auto& [x1, y1, x2, y2] :
         {std::tuple{60, 60, 60, 40}, std::tuple{60, 40, 80, 40}, std::tuple{80, 40, 80, 90}})
      ASSERT_EQ(Street(x1, y1, x2, y2), STR_BUILD_OK) << x1 << "/" << y1 << " to " << x2 << "/" << y2;
  }
  // The first catalogue row of a building of the kind, of the height class
  // (any below 1), of the size along x and y (any at 0), whose capacity word
  // at `word` is above 0; -1 when none is.
  static int RowWith(TObjectType kind, int height, int word, int w, int d) {
    for (int n = 0; n < CBuildingDataList::GetRowCount(); ++n) {
      const PotentialType* row = CBuildingDataList::GetPotentialByNr(n);
      if (row->objectType != kind || row->graphic != 1 || (height >= 1 && row->height != height) ||
          row->Word(word) == 0)
        continue;
      if (w > 0 && (CBuildingDataList::GetXSizeByNr(n, ISO_RICHTUNG_0) != w ||
                    CBuildingDataList::GetYSizeByNr(n, ISO_RICHTUNG_0) != d))
        continue;
      return n;
    }
    return -1;
  }
  // A single-cell building of the kind from the catalogue.
  static int OneCell(TObjectType kind) {
    TIsoRichtung dir = ISO_RICHTUNG_0;
    int resId = 0;
    for (int variant = 1; variant <= 3 && resId == 0; ++variant)
      CBuildingDataList::GetNrByData(kind, 1, 1, variant, dir, resId);
    return resId;
  }
};

}  // namespace towntest
