// A street taken off the map (its drawing removed, as a split, a join or a
// deletion does) leaves plain ground where it showed and nothing else: the
// junctions at its ends and a level crossing on it keep their pictures, the
// river under its bridges comes back, and drawn again it shows as before.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "iso/iso_info.h"
#include "iso/iso_object.h"
#include "rail_storm.h"

namespace {

using stormtest::RailStormWorld;

// What a cell shows: its ground picture, group, object and its kind.
struct Shown {
  int res = 0, group = 0;
  CWorldObj* obj = nullptr;
  TObjectType kind = OBJ_NONE;
  bool operator==(const Shown& o) const { return res == o.res && group == o.group && obj == o.obj; }
};

using Picture = std::map<std::pair<int, int>, Shown>;

Picture PictureOf(RailStormWorld& sw, int x1, int y1, int x2, int y2) {
  Picture out;
  for (int x = x1; x <= x2; ++x)
    for (int y = y1; y <= y2; ++y) {
      const CIsoObjGroup* g = sw.w.map->GetGroupAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                                   ISO_LAYER_GROUND);
      out[{x, y}] = {sw.w.GroundRes(x, y), g ? g->GetResID() : 0, sw.w.map->GetIsoTileObject(x, y, ISO_LAYER_GROUND),
                     sw.w.GroundType(x, y)};
    }
  return out;
}

// The cells whose picture differs.
std::string Changed(const Picture& before, const Picture& after) {
  std::ostringstream out;
  for (const auto& [at, was] : before)
    if (!(after.at(at) == was)) out << ' ' << at.first << '/' << at.second;
  return out.str();
}

// Runs the steps with every step checked; false when one was refused.
bool RunSteps(RailStormWorld& sw, const std::string& steps) {
  const std::vector<stormtest::Op> ops = stormtest::Parse(steps);
  for (size_t i = 0; i < ops.size(); ++i) {
    int result = -1;
    for (const std::string& f : stormtest::RailStep(sw, ops[i], static_cast<int>(i), 0, &result))
      ADD_FAILURE() << stormtest::Format(ops[i]) << ": " << f;
    if (result != (ops[i].kind == 'B' ? STR_BUILD_OK : 0)) return false;
  }
  return true;
}

CStrStrasse* StreetOfType(RailStormWorld& sw, int type) {
  for (CStrStrasse* s : sw.w.Streets())
    if (s->GetStreetType().GetValue() == type) return s;
  return nullptr;
}

// "B x1 y1 x2 y2 t": a step along x at y (or along y at x) from a to b.
std::string Step(char kind, bool alongY, int at, int a, int b, int type) {
  std::ostringstream s;
  if (alongY)
    s << kind << ' ' << at << ' ' << a << ' ' << at << ' ' << b << ' ' << type << '\n';
  else
    s << kind << ' ' << a << ' ' << at << ' ' << b << ' ' << at << ' ' << type << '\n';
  return s.str();
}

TEST(StreetTakenOffTheMap, LeavesPlainGroundWhereItShowedAndTheJunctionsAtItsEnds) {
  for (int type : {1, 2, 3, 4})
    for (bool alongY : {false, true})
      for (bool up : {true, false}) {
        SCOPED_TRACE(testing::Message() << "type " << type << (alongY ? " along y" : " along x")
                                        << (up ? " drawn up" : " drawn down"));
        RailStormWorld sw;
        ASSERT_TRUE(RunSteps(sw, Step('B', alongY, 14, up ? 6 : 24, up ? 24 : 6, type)));
        CStrStrasse* street = StreetOfType(sw, type);
        ASSERT_NE(street, nullptr);
        CWorldObj* own = street->GetWorldObj();
        const Picture before = PictureOf(sw, 3, 3, 27, 27);
        int shown = 0;
        for (const auto& [at, s] : before) shown += s.obj == own;
        // Every tile between the ends, two cells across for a four-lane one.
        ASSERT_GE(shown, (type == 4 ? 2 : 1) * 15);
        ASSERT_EQ(street->RemoveFromIsoWelt(false), 0);
        const Picture away = PictureOf(sw, 3, 3, 27, 27);
        for (const auto& [at, s] : before) {
          const Shown now = away.at(at);
          if (s.obj == own) {
            EXPECT_EQ(sw.w.map->GetTypeAt(at.first, at.second, ISO_LAYER_GROUND), OBJ_GROUND) << at.first << "/" << at.second;
            EXPECT_EQ(now.res, isotest::kGround) << at.first << "/" << at.second;
            EXPECT_EQ(now.group, 0) << at.first << "/" << at.second;
          } else {
            // The dead ends' pictures and the open ground beside stay.
            EXPECT_TRUE(now == s) << at.first << "/" << at.second;
          }
        }
        ASSERT_EQ(street->InsertIntoIsoWelt(), 0);
        EXPECT_EQ(Changed(before, PictureOf(sw, 3, 3, 27, 27)), "");
      }
}

// A street across a track, on a piece of its own or on one that also holds
// a bridge over the river at x 30-31.
TEST(StreetTakenOffTheMap, LeavesTheLevelCrossingOnIt) {
  for (int type : {1, 2, 4})
    for (bool bridge : {false, true})
      for (bool up : {true, false}) {
        SCOPED_TRACE(testing::Message() << "type " << type << (bridge ? " with a bridge" : "")
                                        << (up ? " drawn up" : " drawn down"));
        RailStormWorld sw;
        const int a = up ? 8 : (bridge ? 40 : 24), b = up ? (bridge ? 40 : 24) : 8;
        ASSERT_TRUE(RunSteps(sw, Step('B', false, 14, a, b, type) + "B 16 6 16 26 9\n"));
        ASSERT_EQ(stormtest::CountCrossings(sw), 1u);
        CStrStrasse* street = StreetOfType(sw, type);
        ASSERT_NE(street, nullptr);
        const Picture before = PictureOf(sw, 5, 11, 43, 18);
        Picture crossing;
        for (const auto& [at, s] : before)
          if (sw.rails->HasGrdCrossingAt(static_cast<short>(at.first), static_cast<short>(at.second))) crossing[at] = s;
        // Three cells along the track for a narrow street, four for a four-lane one.
        ASSERT_EQ(crossing.size(), type == 4 ? 8u : 6u);
        ASSERT_EQ(street->RemoveFromIsoWelt(false), 0);
        EXPECT_EQ(Changed(crossing, PictureOf(sw, 5, 11, 43, 18)), "");
        ASSERT_EQ(street->InsertIntoIsoWelt(), 0);
        EXPECT_EQ(Changed(before, PictureOf(sw, 5, 11, 43, 18)), "");
        for (const std::string& f : stormtest::CheckAll(sw)) ADD_FAILURE() << f;
      }
}

// A street over the river at x 30-31 deleted, and one drawn again: the
// river's cells show the river as they did before the street came.
TEST(StreetTakenOffTheMap, GivesTheRiverUnderItsBridgeBack) {
  for (int type : {1, 2, 3, 4})
    for (bool up : {true, false}) {
      SCOPED_TRACE(testing::Message() << "type " << type << (up ? " drawn up" : " drawn down"));
      RailStormWorld sw;
      const Picture river = PictureOf(sw, 28, 12, 33, 17);
      ASSERT_EQ(river.at({30, 14}).res, stormtest::kRiverRes);
      const std::string build = Step('B', false, 14, up ? 20 : 40, up ? 40 : 20, type);
      ASSERT_TRUE(RunSteps(sw, build));
      CStrStrasse* street = StreetOfType(sw, type);
      ASSERT_NE(street, nullptr);
      // The bridge covers the river.
      EXPECT_EQ(sw.w.map->GetIsoTileObject(30, 14, ISO_LAYER_GROUND), street->GetWorldObj());
      const Picture bridged = PictureOf(sw, 28, 12, 33, 17);
      ASSERT_EQ(street->RemoveFromIsoWelt(false), 0);
      for (int x : {30, 31})
        for (int y = 12; y <= 17; ++y) {
          EXPECT_EQ(sw.w.map->GetTypeAt(x, y, ISO_LAYER_GROUND), OBJ_RIVER) << x << "/" << y;
          EXPECT_EQ(sw.w.GroundRes(x, y), stormtest::kRiverRes) << x << "/" << y;
          // Made by the factory, a river holds the one reference the world's
          // list gives up when the game goes: one more outlives the game.
          CWorldObj* back = sw.w.map->GetIsoTileObject(x, y, ISO_LAYER_GROUND);
          EXPECT_EQ(back ? back->GetAllocCount() : 0, 1) << x << "/" << y;
        }
      ASSERT_EQ(street->InsertIntoIsoWelt(), 0);
      EXPECT_EQ(Changed(bridged, PictureOf(sw, 28, 12, 33, 17)), "");
      ASSERT_TRUE(RunSteps(sw, Step('D', false, 14, up ? 20 : 40, up ? 40 : 20, type)));
      // Deleted, the street leaves the river and the ground as they were
      // (the river's cells hold river objects of their own again).
      const Picture after = PictureOf(sw, 28, 12, 33, 17);
      for (const auto& [at, was] : river) {
        const Shown now = after.at(at);
        EXPECT_TRUE(now.res == was.res && now.group == was.group) << at.first << "/" << at.second;
        if (was.kind == OBJ_RIVER) {
          EXPECT_EQ(now.kind, OBJ_RIVER) << at.first << "/" << at.second;
        }
      }
    }
}

}  // namespace
