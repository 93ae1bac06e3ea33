// Streets and tracks joined into one at a bend or in line take the cells of
// both, and the junctions at their far ends link their cells with the new
// ones: after every step each micro cell leads into a live layout, and a
// train or car reaches one end of the joined line from the other.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "network/str_ampel.h"
#include "rail_storm.h"

namespace {

using namespace stormtest;
using junctiontest::LayersAround;
using junctiontest::Reached;

constexpr int OK = STR_BUILD_OK;

// Saved records are read as the current savegame version writes them.
class MergedStreets : public testing::Test {
 protected:
  void SetUp() override { g_ZorLoadVersion = 240; }
  void TearDown() override { g_ZorLoadVersion = 0; }
};

// Runs the steps (rails too), each giving its result and leaving every
// check of the storm sound, the cells of level crossings included.
template <class W>
void Steps(W& sw, const std::string& text, const std::vector<int>& results) {
  const std::vector<Op> ops = Parse(text);
  ASSERT_EQ(ops.size(), results.size());
  for (size_t i = 0; i < ops.size(); ++i) {
    SCOPED_TRACE(Format(ops[i]));
    ASSERT_EQ(sw.Apply(ops[i]), results[i]);
    for (const std::string& f : sw.checker.Check(sw.w)) ADD_FAILURE() << f;
  }
}

CQnoMicroZelle* Own(CStrJunction* j) {
  return j ? j->GetMicroZelle(static_cast<short>(j->GetXPos()), static_cast<short>(j->GetYPos())) : nullptr;
}

TEST_F(MergedStreets, ALitTJunctionKeepsEveryArmsLightWhenAnArmIsContinuedFromItsDeadEnd) {
  // A lit T junction at 15/10 with an arm down to the dead end 15/20, drawn
  // either way; a street from its dead end on, round a bend or straight,
  // drawn either way, joins the arm. The T junction shows a light at each of
  // its three arms and its cells lead into the joined street.
  for (const char* arm : {"B 15 20 15 10 1", "B 15 10 15 20 1"})
    for (const char* on : {"B 25 20 15 20 1", "B 15 20 25 20 1", "B 15 30 15 20 1", "B 15 20 15 30 1"}) {
      SCOPED_TRACE(testing::Message() << arm << ", " << on);
      StormWorld sw;
      Steps(sw, std::string("B 5 10 25 10 1  ") + arm, {OK, OK});
      CStrJunction* t = sw.w.At(15, 10);
      ASSERT_NE(t, nullptr);
      ASSERT_EQ(t->GetKreuzObject()->SetVarData("KR.AMPEL", Ampel_Ampel), 0);
      Steps(sw, on, {OK});
      ASSERT_EQ(sw.w.At(15, 10), t);
      EXPECT_EQ(sw.w.At(15, 20), nullptr);
      EXPECT_EQ(LayersAround(sw.w, 15, 10, CStrJunction::kAmpelResID), 3);
      ASSERT_NE(t->GetAmpelGroup(), nullptr);
      for (int i = 0; i < 3; ++i) EXPECT_NE(t->GetAmpelGroup()->GetAmpelForStreet(t->GetStreetByNR(i)), nullptr) << i;
      const Op far = Parse(on)[0];
      CStrJunction* end = far.x1 == 15 && far.y1 == 20 ? sw.w.At(far.x2, far.y2) : sw.w.At(far.x1, far.y1);
      ASSERT_NE(end, nullptr);
      EXPECT_TRUE(Reached(Own(t)).count(Own(end)));
      EXPECT_TRUE(Reached(Own(end)).count(Own(t)));
    }
}

TEST_F(MergedStreets, ATrackBentInEveryDirectionCarriesTrainsThroughItsCurve) {
  // Each track runs on from the end of the first and turns by a quarter,
  // both ways from each of the four directions.
  struct Bend {
    const char* steps;
    int x1, y1, x2, y2;
  };
  for (const Bend& b : {Bend{"B 10 20 20 20 9  B 20 20 20 35 9", 10, 20, 20, 35},
                        Bend{"B 10 20 20 20 9  B 20 20 20 5 9", 10, 20, 20, 5},
                        Bend{"B 25 20 15 20 9  B 15 20 15 35 9", 25, 20, 15, 35},
                        Bend{"B 25 20 15 20 9  B 15 20 15 5 9", 25, 20, 15, 5},
                        Bend{"B 15 10 15 25 9  B 15 25 25 25 9", 15, 10, 25, 25},
                        Bend{"B 15 10 15 25 9  B 15 25 5 25 9", 15, 10, 5, 25},
                        Bend{"B 15 35 15 20 9  B 15 20 25 20 9", 15, 35, 25, 20},
                        Bend{"B 15 35 15 20 9  B 15 20 5 20 9", 15, 35, 5, 20}}) {
    SCOPED_TRACE(b.steps);
    RailStormWorld sw;
    Steps(sw, b.steps, {OK, OK});
    for (const std::string& f : CheckRails(sw)) ADD_FAILURE() << f;
    ASSERT_EQ(sw.Tracks().size(), 1u);
    CStrStrasse* track = sw.Tracks()[0];
    EXPECT_EQ(track->GetNumber(), 2u);
    // The curve's layout lies at the anchor of the curve's group.
    CStrStrassenTeil* first = track->GetStrassenTeil(1);
    CIsoObjGroup* curve = sw.w.map->GetGroupAt(static_cast<unsigned short>(first->GetEndX()),
                                               static_cast<unsigned short>(first->GetEndY()), ISO_LAYER_GROUND);
    ASSERT_NE(curve, nullptr);
    EXPECT_NE(track->GetMicroZellen(static_cast<unsigned short>(curve->GetStartPosX()),
                                    static_cast<unsigned short>(curve->GetStartPosY())),
              nullptr);
    CQnoMicroZelle* a = Own(sw.rails->FindJunctionAt(static_cast<short>(b.x1), static_cast<short>(b.y1)));
    CQnoMicroZelle* z = Own(sw.rails->FindJunctionAt(static_cast<short>(b.x2), static_cast<short>(b.y2)));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(z, nullptr);
    EXPECT_TRUE(Reached(a).count(z));
    EXPECT_TRUE(Reached(z).count(a));
  }
}

TEST_F(MergedStreets, TracksJoinedInLineAreOneTrackBetweenRedrawnEnds) {
  for (const char* steps : {"B 10 20 18 20 9  B 18 20 27 20 9", "B 18 20 10 20 9  B 18 20 27 20 9",
                            "B 15 8 15 20 9  B 15 34 15 20 9"}) {
    SCOPED_TRACE(steps);
    RailStormWorld sw;
    Steps(sw, steps, {OK, OK});
    for (const std::string& f : CheckRails(sw)) ADD_FAILURE() << f;
    ASSERT_EQ(sw.Tracks().size(), 1u);
    CStrStrasse* track = sw.Tracks()[0];
    EXPECT_EQ(track->GetNumber(), 1u);
    CQnoMicroZelle* a = Own(track->GetStartJunction());
    CQnoMicroZelle* z = Own(track->GetEndJunction());
    ASSERT_NE(a, nullptr);
    ASSERT_NE(z, nullptr);
    EXPECT_TRUE(Reached(a).count(z));
    EXPECT_TRUE(Reached(z).count(a));
  }
}

}  // namespace
