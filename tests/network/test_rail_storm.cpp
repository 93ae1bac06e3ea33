// The edit storm with tracks: street and track builds and deletions with a
// fixed seed of their own, every step checked for both networks (see
// rail_storm.h). CI runs 400 steps; ZOR_STORM_STEPS and ZOR_STORM_SEED run
// others; ZOR_STORM_PROGRESS=n reports every n steps; ZOR_RAIL_REPLAY=file
// replays a file of steps, with ZOR_STORM_MINIMIZE=1 also shortened.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>

#include "rail_storm.h"

namespace {

using namespace stormtest;

// Applies the steps, each of which must go through, with every check and
// a save and load after every step.
void ReplayEveryStepChecked(RailStormWorld& sw, const char* steps) {
  const std::vector<Op> ops = Parse(steps);
  for (size_t i = 0; i < ops.size(); ++i) {
    int result = 0;
    for (const std::string& x : RailStep(sw, ops[i], static_cast<int>(i), 1, &result))
      ADD_FAILURE() << "step " << i + 1 << ": " << x;
    EXPECT_EQ(result, ops[i].kind == 'B' ? STR_BUILD_OK : 0) << Format(ops[i]);
  }
}

TEST(RailStorm, TracksAcrossStreetsOfEveryType) {
  g_ZorLoadVersion = 240;
  const int steps = EnvInt("ZOR_STORM_STEPS", 400);
  const auto seed = static_cast<uint32_t>(EnvInt("ZOR_STORM_SEED", 11));
  RailStormStats stats;
  const Finding f = RunRailStorm(seed, Mix{"rails", {1, 2, 4}}, steps, 250, &stats);
  std::printf("rail storm seed %u: %d steps, %d tracks built, up to %zu level crossings, %s\n", seed,
              f.step < 0 ? steps : f.step + 1, stats.tracksBuilt, stats.crossings, f.step < 0 ? "no faults" : "a fault");
  // The storm builds tracks and crosses streets, or it tests nothing.
  if (f.step < 0 && steps >= 400) {
    EXPECT_GE(stats.tracksBuilt, 10);
    EXPECT_GE(stats.crossings, 1u);
  }
  if (f.step >= 0) {
    std::string text;
    for (const std::string& x : f.faults) text += "  " + x + "\n";
    std::string replay;
    for (const Op& o : f.ops) replay += Format(o) + "\n";
    if (const char* dir = std::getenv("ZOR_STORM_OUT"))
      if (FILE* out = std::fopen((std::string(dir) + "/rail-storm-" + std::to_string(seed) + ".txt").c_str(), "w")) {
        std::fprintf(out, "%s", replay.c_str());
        std::fclose(out);
      }
    ADD_FAILURE() << "rail storm seed " << seed << ": step " << f.step + 1 << " (" << Format(f.ops.back())
                  << ", result " << f.result << ") left:\n"
                  << text;
  }
  g_ZorLoadVersion = 0;
}

// Sequences whose trains' or cars' cells led nowhere, every cell checked.
TEST(RailStorm, TrainsAndCarsCellsLeadOnAtLevelCrossingsCurvesAndSwitches) {
  g_ZorLoadVersion = 240;
  // A track along -y: the straight tile after its level crossing was laid
  // over the crossing's anchor, which carries the crossing's cells.
  // A curve two and three cells before a dead end, and a switch three
  // cells from one: the short track has no tile of its own, and the cells
  // of the groups at its ends lead into each other.
  for (const char* steps : {"B 8 40 8 6 9  B 8 6 24 6 9  B 24 6 24 40 9  B 2 30 28 30 1", "B 20 10 12 10 9  B 12 10 12 13 9",
                            "B 12 10 20 10 9  B 12 10 12 13 9", "B 20 10 12 10 9  B 12 10 12 12 9",
                            "B 12 32 24 32 9  B 15 32 15 7 9", "B 24 32 12 32 9  B 15 32 15 7 9"}) {
    SCOPED_TRACE(steps);
    RailStormWorld sw;
    for (const Op& o : Parse(steps)) EXPECT_EQ(sw.Apply(o), STR_BUILD_OK) << Format(o);
    for (const std::string& f : sw.checker.Check(sw.w)) ADD_FAILURE() << f;
    for (const std::string& f : CheckRails(sw)) ADD_FAILURE() << f;
  }
  g_ZorLoadVersion = 0;
}

// Sequences that left a network unsound, replayed with every check.
TEST(RailStorm, SequencesThatOnceFailedPassEveryCheck) {
  g_ZorLoadVersion = 240;
  // Two tracks joined into one over a level crossing when a third track
  // leaves their junction: the turned track kept its crossing.
  for (const char* steps : {"B 10 10 10 30 1  B 2 20 26 20 9  B 20 20 20 35 9  D 20 20 20 35 9",
                            "B 10 10 10 30 4  B 26 20 2 20 9  B 20 35 20 20 9  D 20 35 20 20 9",
                            "B 10 10 26 10 2  B 20 2 20 30 9  B 20 20 26 20 9  D 20 20 26 20 9"}) {
    SCOPED_TRACE(steps);
    RailStormWorld sw;
    ReplayEveryStepChecked(sw, steps);
    EXPECT_EQ(CountCrossings(sw), 1u);
  }
  g_ZorLoadVersion = 0;
}

// A track across a four-lane street, its crossing on the cell before the
// street's dead end: the dead end's cells led nowhere. It is refused, and
// the networks stay sound.
TEST(RailStorm, ATrackWhoseCrossingWouldMeetADeadEndIsRefused) {
  g_ZorLoadVersion = 240;
  RailStormWorld sw;
  const std::vector<Op> ops = Parse("B 8 40 8 6 9  B 8 6 24 6 9  B 24 6 24 40 9  D 8 40 24 40 9  B 49 34 21 34 4  B 47 24 47 42 9");
  const int results[] = {STR_BUILD_OK, STR_BUILD_OK, STR_BUILD_OK, 0, STR_BUILD_OK, STR_BUILD_NO_ROOM};
  for (size_t i = 0; i < ops.size(); ++i) {
    int result = 0;
    for (const std::string& x : RailStep(sw, ops[i], static_cast<int>(i), 1, &result))
      ADD_FAILURE() << "step " << i + 1 << ": " << x;
    EXPECT_EQ(result, results[i]) << Format(ops[i]);
  }
  EXPECT_EQ(CountCrossings(sw), 0u);
  g_ZorLoadVersion = 0;
}

// A track drawn again beside a junction of three tracks (after its level
// crossing's street was deleted) reached into the junction's group: the
// group lost cells, and the junction's cells no longer met the third track.
TEST(RailStorm, JunctionGroupStaysWholeWhenATrackBesideItIsDrawnAgain) {
  g_ZorLoadVersion = 240;
  RailStormWorld sw;
  ReplayEveryStepChecked(sw, "B 8 40 8 6 9  B 8 6 24 6 9  B 24 6 24 40 9  B 2 30 28 30 1  B 8 16 14 16 9  D 2 30 28 30 1");
  EXPECT_EQ(CountCrossings(sw), 0u);
  auto* junction = dynamic_cast<CStrSchJunction*>(sw.rails->FindJunctionAt(8, 16));
  ASSERT_NE(junction, nullptr);
  ASSERT_EQ(junction->GetAnzLinkedStreets(), 3);
  EXPECT_TRUE(junction->ShowsWholeGroup());
  // The group's cells all show the junction (it spans 8/15 to 10/18 here).
  for (int x = 8; x <= 10; ++x)
    for (int y = 15; y <= 18; ++y)
      EXPECT_EQ(sw.w.map->GetTypeAt(x, y, ISO_LAYER_GROUND), OBJ_RAIL_JUNCTION) << x << "/" << y;

  // A cell of the group cleared: the junction no longer shows its whole
  // group, and the next track drawn there lays it again.
  sw.w.map->SetStdBase(9, 18, ISO_LAYER_GROUND, false);
  EXPECT_FALSE(junction->ShowsWholeGroup());
  EXPECT_TRUE(junction->IsDrawn());
  CStrStrasse* spur = nullptr;
  for (CStrStrasse* t : sw.Tracks())
    if (t->GetEndJunction()->GetXPos() == 14 || t->GetStartJunction()->GetXPos() == 14) spur = t;
  ASSERT_NE(spur, nullptr);
  spur->RemoveFromIsoWelt(false);
  spur->InsertIntoIsoWelt();
  EXPECT_TRUE(junction->ShowsWholeGroup());
  EXPECT_EQ(sw.w.map->GetTypeAt(9, 18, ISO_LAYER_GROUND), OBJ_RAIL_JUNCTION);
  for (const std::string& f : CheckAll(sw)) ADD_FAILURE() << f;
  g_ZorLoadVersion = 0;
}

// A track arriving at a junction of three tracks from its +x side, built
// so or made so when a deletion joined two tracks into it: its last tile
// beside the junction's group stayed bare, and neither the track's cells
// nor the junction's led into the other's.
TEST(RailStorm, ATrackArrivingFromPlusXMeetsItsJunctionsCells) {
  g_ZorLoadVersion = 240;
  for (const char* steps : {"B 50 11 50 24 9  B 57 15 50 15 9",
                            "B 50 11 50 24 9  B 50 15 57 15 9  B 54 15 54 23 9  D 54 15 54 23 9"}) {
    SCOPED_TRACE(steps);
    RailStormWorld sw;
    ReplayEveryStepChecked(sw, steps);
    EXPECT_EQ(sw.w.map->GetTypeAt(53, 15, ISO_LAYER_GROUND), OBJ_RAIL_PIECE);
  }
  g_ZorLoadVersion = 0;
}

// A junction made on a track three cells before its bend, or right above
// a level crossing: the junction's group took cells of the curve, or the
// track's cells before the group were the crossing's, and the track's and
// the junction's cells no longer met. It is refused, and the networks stay
// as they were.
TEST(RailStorm, AJunctionTooCloseToACurveOrALevelCrossingIsRefused) {
  g_ZorLoadVersion = 240;
  // A track with its bend or crossing, and the track that would leave it
  // too close.
  for (auto [steps, refused] : {std::pair{"B 43 18 43 25 9  B 43 18 33 18 9", "B 40 18 40 31 9"},
                                std::pair{"B 11 9 11 39 9  B 11 9 5 9 9", "B 8 29 8 9 9"},
                                std::pair{"B 51 38 51 18 9  B 51 18 40 18 9", "B 48 18 48 32 9"},
                                std::pair{"B 5 33 22 33 9  B 13 28 13 38 2", "B 16 33 16 15 9"}}) {
    SCOPED_TRACE(refused);
    RailStormWorld sw;
    ReplayEveryStepChecked(sw, steps);
    int result = 0;
    for (const std::string& x : RailStep(sw, Parse(refused).at(0), 2, 1, &result)) ADD_FAILURE() << x;
    EXPECT_EQ(result, STR_BUILD_NO_ROOM);
    EXPECT_EQ(sw.Tracks().size(), 1u);
  }
  g_ZorLoadVersion = 0;
}

TEST(RailStorm, Replay) {
  const char* path = std::getenv("ZOR_RAIL_REPLAY");
  if (!path) GTEST_SKIP() << "set ZOR_RAIL_REPLAY to a file of steps";
  g_ZorLoadVersion = 240;
  // A path the test cannot read (a relative one, from the test's own
  // working folder) gives no steps: that is a failed replay, not a clean one.
  const std::vector<Op> steps = ReadSteps(path);
  ASSERT_FALSE(steps.empty()) << "no steps read from " << path;
  const Finding f = RunRailOps(steps);
  for (const std::string& x : f.faults) ADD_FAILURE() << "step " << f.step + 1 << ": " << x;
  if (f.step >= 0 && EnvInt("ZOR_STORM_MINIMIZE", 0)) {
    std::string replay;
    for (const Op& o : MinimizeRail(f.ops, Kind(f.faults[0]))) replay += Format(o) + "\n";
    ADD_FAILURE() << "shortened:\n" << replay;
  }
  g_ZorLoadVersion = 0;
}

}  // namespace
