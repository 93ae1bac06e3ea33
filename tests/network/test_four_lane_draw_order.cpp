// A four-lane street over a river, dragged either way: drawn again and
// loaded from a saved game it shows the same map as it did when built, and
// the same whichever way it was dragged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "iso/iso_info.h"
#include "iso/iso_object.h"
#include "rail_storm.h"

namespace {

using stormtest::Op;
using stormtest::RailStormWorld;

// Picture, group and group anchor of every cell of the box.
std::vector<int> Ground(CIsoWelt* map, int x1, int y1, int x2, int y2) {
  std::vector<int> out;
  for (int x = x1; x <= x2; ++x)
    for (int y = y1; y <= y2; ++y) {
      const CIsoObjGroup* g = map->GetGroupAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                              ISO_LAYER_GROUND);
      out.insert(out.end(), {map->GetIsoInfo(x, y)->GetResID(ISO_LAYER_GROUND), g ? g->GetResID() : 0,
                             g ? g->GetStartPosX() : -1, g ? g->GetStartPosY() : -1});
    }
  return out;
}

TEST(FourLaneDrawOrder, AStreetOverARiverShowsTheSameMapDrawnAgainLoadedAndDraggedEitherWay) {
  g_ZorLoadVersion = 240;
  // Along x over the river at x 30-31 with a street on from its end, and
  // along y over the one at y 45 with a track across it past the bridge.
  struct Case {
    const char* steps;
    int x1, y1, x2, y2;
  };
  for (const Case& c : {Case{"B 20 14 40 14 4\nB 40 14 40 24 4\n", 18, 10, 42, 26},
                        Case{"B 24 36 24 56 4\nB 20 52 28 52 9\n", 20, 32, 28, 58}}) {
    SCOPED_TRACE(c.steps);
    const std::vector<Op> there = stormtest::Parse(c.steps);
    // The same steps with the streets dragged the other way (a level
    // crossing's picture follows the way its track was dragged).
    std::vector<Op> back;
    for (const Op& o : there)
      back.push_back(o.type == STRASSE_SCHIENE ? o : Op{o.kind, o.x2, o.y2, o.x1, o.y1, o.type});
    std::vector<std::vector<int>> built;
    for (const std::vector<Op>& steps : {there, back}) {
      RailStormWorld sw;
      for (size_t i = 0; i < steps.size(); ++i) {
        int result = -1;
        for (const std::string& f : stormtest::RailStep(sw, steps[i], static_cast<int>(i), 0, &result))
          ADD_FAILURE() << stormtest::Format(steps[i]) << ": " << f;
        ASSERT_EQ(result, STR_BUILD_OK) << stormtest::Format(steps[i]);
      }
      const std::vector<int> ground = Ground(sw.w.map, c.x1, c.y1, c.x2, c.y2);
      built.push_back(ground);
      for (CStrStrasse* s : sw.w.Streets()) ASSERT_EQ(s->InsertIntoIsoWelt(), 0);
      EXPECT_EQ(Ground(sw.w.map, c.x1, c.y1, c.x2, c.y2), ground) << "drawn again";
      for (const std::string& f : stormtest::CheckAll(sw)) ADD_FAILURE() << "drawn again: " << f;
      EXPECT_TRUE(stormtest::WithLoadedCopy(sw, [&](RailStormWorld& loaded) {
        EXPECT_EQ(Ground(loaded.w.map, c.x1, c.y1, c.x2, c.y2), ground) << "loaded";
        for (const std::string& x : stormtest::CheckAll(loaded)) ADD_FAILURE() << "loaded: " << x;
      }));
    }
    EXPECT_EQ(built[0], built[1]);
  }
  g_ZorLoadVersion = 0;
}

}  // namespace
