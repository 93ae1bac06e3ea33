// The edit storm with tracks: street and track builds and deletions with a
// fixed seed of their own, every step checked for both networks (see
// rail_storm.h). CI runs 400 steps; ZOR_STORM_STEPS and ZOR_STORM_SEED run
// others; ZOR_STORM_PROGRESS=n reports every n steps; ZOR_STORM_TRACE=file
// writes every step there as it is drawn (a crash leaves them); ZOR_RAIL_REPLAY=file
// replays a file of steps, with ZOR_STORM_MINIMIZE=1 also shortened to the
// fewest steps found that still show its first finding at the same place.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "rail_storm.h"

namespace {

using namespace stormtest;

// Applies the steps with every check and a save and load after every step;
// each must give its result of `results`, or without them go through.
void ReplayEveryStepChecked(RailStormWorld& sw, const char* steps, const std::vector<int>& results = {}) {
  const std::vector<Op> ops = Parse(steps);
  ASSERT_TRUE(results.empty() || results.size() == ops.size());
  for (size_t i = 0; i < ops.size(); ++i) {
    int result = 0;
    for (const std::string& x : RailStep(sw, ops[i], static_cast<int>(i), 1, &result))
      ADD_FAILURE() << "step " << i + 1 << ": " << x;
    EXPECT_EQ(result, !results.empty() ? results[i] : ops[i].kind == 'B' ? STR_BUILD_OK : 0) << Format(ops[i]);
  }
}

// The steps, each checked as ReplayEveryStepChecked checks it: every one
// goes through but the last, which is refused for want of room (and, as
// every refused step, changes nothing); the level crossings left standing.
size_t ReplayRefusingTheLast(const char* steps) {
  RailStormWorld sw;
  std::vector<int> results(Parse(steps).size(), STR_BUILD_OK);
  results.back() = STR_BUILD_NO_ROOM;
  ReplayEveryStepChecked(sw, steps, results);
  return CountCrossings(sw);
}

// A new world with `steps` built, each of which must go through, then
// `last` with every check; the world stays for the caller's own checks.
struct Built {
  std::unique_ptr<RailStormWorld> sw = std::make_unique<RailStormWorld>();
  int result = 0;
};
Built BuildThen(const std::vector<Op>& steps, const Op& last) {
  Built b;
  for (const Op& o : steps) EXPECT_EQ(b.sw->Apply(o), STR_BUILD_OK) << Format(o);
  for (const std::string& f : RailStep(*b.sw, last, static_cast<int>(steps.size()), 0, &b.result)) ADD_FAILURE() << f;
  return b;
}

// A build from a1 to a2 along x (or y), at c1 and c2 across it.
Op AxisLine(bool alongX, int a1, int c1, int a2, int c2, int type) {
  Op o;
  o.type = type;
  (alongX ? o.x1 : o.y1) = a1;
  (alongX ? o.y1 : o.x1) = c1;
  (alongX ? o.x2 : o.y2) = a2;
  (alongX ? o.y2 : o.x2) = c2;
  return o;
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
  ReplayEveryStepChecked(sw,
                         "B 8 40 8 6 9  B 8 6 24 6 9  B 24 6 24 40 9  D 8 40 24 40 9  B 49 34 21 34 4  B 47 24 47 42 9",
                         {STR_BUILD_OK, STR_BUILD_OK, STR_BUILD_OK, 0, STR_BUILD_OK, STR_BUILD_NO_ROOM});
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

// A track drawn out of a cell one before a bend made a T junction whose
// group covered the bend's corner: the other track took the junction's
// layout for its curve's, and that layout's cells led nowhere. It is
// refused, and the networks stay sound.
TEST(RailStorm, ATrackOutOfACellBeforeABendIsRefused) {
  g_ZorLoadVersion = 240;
  EXPECT_EQ(ReplayRefusingTheLast("B 9 30 9 39 9  B 9 39 5 39 9  B 9 38 13 38 9"), 0u);
  g_ZorLoadVersion = 0;
}

// A track drawn out of another track's cell splits it into a T junction,
// whose group takes a cell back and two on along the track. Branches off
// both legs of a bend, on both sides: refused on the curve's cells but its
// corner (the split there takes the curve away) and up to three cells
// from the corner (four where the curve lies at the leg's lower end), built
// from five cells on, and every branch built leaves both networks sound.
TEST(RailStorm, BranchesKeepClearOfCurves) {
  g_ZorLoadVersion = 240;
  struct Leg {
    int dx, dy;
    bool bendAtLowEnd;
  };
  struct Shape {
    const char* steps;
    Leg legs[2];
  };
  // Bends at 16/16: legs towards -y and +x, and towards +y and -x.
  const Shape shapes[] = {{"B 16 4 16 16 9  B 16 16 28 16 9", {{0, -1, false}, {1, 0, true}}},
                          {"B 16 28 16 16 9  B 16 16 4 16 9", {{0, 1, true}, {-1, 0, false}}}};
  for (const Shape& shape : shapes)
    for (const Leg& leg : shape.legs)
      for (int k = 0; k <= 6; ++k)
        for (int side : {-1, 1}) {
          const int x = 16 + k * leg.dx, y = 16 + k * leg.dy;
          Op branch;
          branch.kind = 'B';
          branch.x1 = x;
          branch.y1 = y;
          branch.x2 = x + 6 * side * leg.dy;
          branch.y2 = y + 6 * side * leg.dx;
          branch.type = STRASSE_SCHIENE;
          SCOPED_TRACE(std::string(shape.steps) + "  " + Format(branch));
          const Built b = BuildThen(Parse(shape.steps), branch);
          const int result = b.result;
          if (k >= 1 && k <= (leg.bendAtLowEnd ? 4 : 3)) {
            EXPECT_EQ(result, STR_BUILD_NO_ROOM);
          } else if (k >= 5) {
            EXPECT_EQ(result, STR_BUILD_OK);
          }
          // The track split in two, and the branch.
          if (result == STR_BUILD_OK) {
            EXPECT_EQ(b.sw->Tracks().size(), 3u);
          }
        }
  g_ZorLoadVersion = 0;
}

// A track drawn out of a bend's corner makes a T junction there, whose
// group reaches two cells on along both legs (one towards -x or -y). The
// next bend three cells along a leg, or a level crossing three cells up a
// leg that ends at the corner, met the group with no cell of plain track
// between: the track's cells there led nowhere. Such branches are
// refused, and the networks stay sound.
TEST(RailStorm, ATrackOutOfABendsCornerKeepsItsGroupOffTheNextCurveAndCrossing) {
  g_ZorLoadVersion = 240;
  EXPECT_EQ(ReplayRefusingTheLast("B 15 37 10 37 9  B 10 37 10 34 9  B 10 34 27 34 9  B 10 34 10 7 9"), 0u);
  EXPECT_EQ(ReplayRefusingTheLast("B 52 40 52 23 9  B 52 23 49 23 9  B 49 23 49 38 9  B 49 23 49 10 9"), 0u);
  for (const char* street : {"B 34 32 50 32 2", "B 34 32 50 32 4"}) {
    SCOPED_TRACE(street);
    const std::string steps = std::string(street) + "  B 39 38 39 28 9  B 39 28 46 28 9  B 39 28 39 4 9";
    EXPECT_EQ(ReplayRefusingTheLast(steps.c_str()), 1u);
  }
  g_ZorLoadVersion = 0;
}

// Branches out of the first corner of a U whose middle leg is two to
// seven cells long, for every way the U can lie: refused while the next
// curve is four cells or fewer from the corner, built from five on, and
// every branch built leaves both networks sound.
TEST(RailStorm, BranchesOutOfACornerKeepClearOfTheNextCurve) {
  g_ZorLoadVersion = 240;
  for (int len = 2; len <= 7; ++len)
    for (int a : {-1, 1})
      for (int b : {-1, 1})
        for (bool alongX : {true, false}) {
          // The corner at 20/20: the first leg along one axis, the middle
          // leg of `len` cells along the other, the last leg back beside the first.
          auto at = [alongX](int u, int v) {
            return alongX ? std::to_string(20 + u) + " " + std::to_string(20 + v)
                          : std::to_string(20 + v) + " " + std::to_string(20 + u);
          };
          const std::string steps = "B " + at(8 * a, 0) + " " + at(0, 0) + " 9  B " + at(0, 0) + " " + at(0, len * b) +
                                    " 9  B " + at(0, len * b) + " " + at(8 * a, len * b) + " 9";
          const std::string branch = "B " + at(0, 0) + " " + at(0, -8 * b) + " 9";
          SCOPED_TRACE(steps + "  " + branch);
          // A middle leg of two cells leaves no room for both curves.
          if (len == 2) continue;
          const Built built = BuildThen(Parse(steps), Parse(branch)[0]);
          EXPECT_EQ(built.result, len <= 4 ? STR_BUILD_NO_ROOM : STR_BUILD_OK);
        }
  g_ZorLoadVersion = 0;
}

// A track drawn towards -x across a street two cells from its start: the
// crossing, laid a cell lower than a track drawn the other way lays it,
// met the start's group, and the track's first cells were the crossing's,
// whose cells towards the start led nowhere. It is refused.
TEST(RailStorm, ATrackWhoseCrossingWouldMeetItsStartIsRefused) {
  g_ZorLoadVersion = 240;
  EXPECT_EQ(ReplayRefusingTheLast("B 22 31 22 39 1  B 24 34 16 34 9"), 0u);
  g_ZorLoadVersion = 0;
}

// Tracks from 10 to 21 drawn both ways along both axes across a one-lane
// and a four-lane street at every cell from 14 on: those well inside are built, and
// every track built leaves both networks sound, whichever end its
// crossing comes close to.
TEST(RailStorm, CrossingsKeepAPlainCellBeforeBothEnds) {
  g_ZorLoadVersion = 240;
  for (int type : {1, 4})
    for (bool alongX : {true, false})
      for (bool towardsLow : {false, true})
        for (int s = 14; s <= 20; ++s) {
          auto line = [alongX](int a1, int c1, int a2, int c2, int type) {
            return AxisLine(alongX, a1, c1, a2, c2, type);
          };
          const Op street = line(s, 11, s, 19, type);
          const Op track = towardsLow ? line(21, 15, 10, 15, STRASSE_SCHIENE) : line(10, 15, 21, 15, STRASSE_SCHIENE);
          SCOPED_TRACE(Format(street) + "  " + Format(track));
          const Built b = BuildThen({street}, track);
          if (s <= 17) {
            EXPECT_EQ(b.result, STR_BUILD_OK);
          }
          if (b.result == STR_BUILD_OK) {
            EXPECT_EQ(CountCrossings(*b.sw), 1u);
          }
        }
  g_ZorLoadVersion = 0;
}

// The shortest tracks across a one-lane and a four-lane street, both ways
// along both axes: four cells of track before the first street cell met,
// and three after the street, are built with their crossing and leave
// both networks sound. A cell shorter at the end is refused, and so is one
// shorter at the start of a track running up, which keeps a cell of plain
// track below its crossing; a track running down may meet its start's
// group a cell sooner (the preview asks for the four cells either way).
TEST(RailStorm, TheShortestTracksAcrossAStreetAreBuiltAndOneCellLessIsNot) {
  g_ZorLoadVersion = 240;
  constexpr int s = 20;
  for (int type : {1, 4})
    for (bool alongX : {true, false})
      for (bool towardsLow : {false, true}) {
        const int wide = type == 4 ? 1 : 0;
        // The drag's start and end along the track's axis.
        const int from = towardsLow ? s + wide + 4 : s - 4, to = towardsLow ? s - 3 : s + wide + 3;
        const int step = towardsLow ? -1 : 1;
        const Op street = AxisLine(!alongX, 12, s, 28, s, type);
        for (const auto& [a, b, built] : {std::tuple{from, to, true}, std::tuple{from + step, to, towardsLow},
                                          std::tuple{from, to - step, false}}) {
          const Op track = AxisLine(alongX, a, 18, b, 18, STRASSE_SCHIENE);
          SCOPED_TRACE(Format(street) + "  " + Format(track));
          const Built r = BuildThen({street}, track);
          EXPECT_EQ(r.result, built ? STR_BUILD_OK : STR_BUILD_NO_ROOM);
          EXPECT_EQ(CountCrossings(*r.sw), built ? 1u : 0u);
        }
      }
  g_ZorLoadVersion = 0;
}

// A street whose dead end, or whose T junction on a street beside the
// track, lay right beside a track it crossed: the crossing joined the
// junction's cell as the street's cell, and the junction's cells led
// nowhere. Both are refused.
TEST(RailStorm, AStreetWhoseJunctionWouldMeetACrossingIsRefused) {
  g_ZorLoadVersion = 240;
  EXPECT_EQ(ReplayRefusingTheLast("B 27 22 6 22 9  B 10 21 10 48 2"), 0u);
  EXPECT_EQ(ReplayRefusingTheLast("B 27 22 6 22 9  B 5 21 15 21 2  B 10 21 10 40 2"), 0u);
  g_ZorLoadVersion = 0;
}

// A street drawn out of a dead end across a street and a track beside it:
// the junction it makes on the street lay right beside its crossing, whose
// cells joined the junction's cell as the street's, and the junction's
// cells led nowhere. It is refused; with a cell of plain street between
// junction and crossing it is built.
TEST(RailStorm, AStreetCrossingAStreetBesideATrackKeepsItsJunctionOffTheCrossing) {
  g_ZorLoadVersion = 240;
  const std::string loop = "B 25 48 25 16 1  B 25 48 39 48 1  B 39 48 39 38 1  B 39 38 34 38 1  ";
  EXPECT_EQ(ReplayRefusingTheLast((loop + "B 26 41 26 13 9  B 34 38 6 38 2").c_str()), 0u);
  RailStormWorld sw;
  ReplayEveryStepChecked(sw, (loop + "B 27 41 27 13 9  B 34 38 6 38 2").c_str());
  EXPECT_EQ(CountCrossings(sw), 1u);
  g_ZorLoadVersion = 0;
}

// A one-lane and a four-lane street drawn both ways across a track, ending
// near it above or below: refused right beside it and built two cells
// off, every street built leaving both networks sound; and refused exactly
// where a track drawn across the same street afterwards is.
TEST(RailStorm, StreetEndsBesideATrackAreRefusedAsTracksBesideThemAre) {
  g_ZorLoadVersion = 240;
  const Op track = Parse("B 27 22 6 22 9")[0];  // on rows 22 and 23
  for (int type : {1, 4})
    for (int end : {19, 20, 21, 24, 25, 26})
      for (bool endFirst : {true, false}) {
        const int far = end < 22 ? 38 : 8;
        Op street;
        street.type = type;
        street.x1 = street.x2 = 10;
        street.y1 = endFirst ? end : far;
        street.y2 = endFirst ? far : end;
        SCOPED_TRACE(Format(street));
        const int streetSecond = BuildThen({track}, street).result;
        const int trackSecond = BuildThen({street}, track).result;
        EXPECT_EQ(streetSecond == STR_BUILD_OK, trackSecond == STR_BUILD_OK) << streetSecond << " " << trackSecond;
        if (end == 21 || end == 24) {
          EXPECT_EQ(streetSecond, STR_BUILD_NO_ROOM);
        } else if (end == 19 || end == 26) {
          EXPECT_EQ(streetSecond, STR_BUILD_OK);
        }
      }
  g_ZorLoadVersion = 0;
}

// A track drawn on from a dead end across a street four cells on: joined
// to the dead end's track it ran the other way, its crossing lay a cell
// lower and took a cell of the bend's curve; the street's and the track's
// cells there led nowhere. It is refused.
TEST(RailStorm, ATrackJoinedToADeadEndKeepsItsCrossingOffTheBend) {
  g_ZorLoadVersion = 240;
  EXPECT_EQ(ReplayRefusingTheLast("B 8 31 8 9 2  B 4 19 4 9 9  B 4 19 17 19 9"), 0u);
  g_ZorLoadVersion = 0;
}

// A track drawn on from the dead end at 16/16 of a track along y, both
// ways and towards both sides, the dead end's track starting or ending
// there, across a street at every cell from 3 to 9 cells on: the joined
// track runs as the dead end's track ran, and every track built leaves
// both networks sound; a crossing well clear of both ends is built.
TEST(RailStorm, TracksJoinedToADeadEndCrossStreetsClearOfTheirEnds) {
  g_ZorLoadVersion = 240;
  for (const char* existing : {"B 16 16 16 26 9", "B 16 26 16 16 9"})
    for (int dir : {1, -1})
      for (bool fromEnd : {true, false})
        for (int k = 3; k <= 9; ++k) {
          const int s = 16 + k * dir, far = 16 + 12 * dir;
          Op street = Parse("B 0 11 0 21 1")[0];
          street.x1 = street.x2 = s;
          Op track = Parse("B 16 16 0 16 9")[0];
          track.x1 = fromEnd ? 16 : far;
          track.x2 = fromEnd ? far : 16;
          SCOPED_TRACE(std::string(existing) + "  " + Format(street) + "  " + Format(track));
          const Built b = BuildThen({street, Parse(existing)[0]}, track);
          if (k == 6) {
            EXPECT_EQ(b.result, STR_BUILD_OK);
          }
          if (b.result == STR_BUILD_OK) {
            EXPECT_EQ(CountCrossings(*b.sw), 1u);
            EXPECT_EQ(b.sw->Tracks().size(), 1u);
          }
        }
  g_ZorLoadVersion = 0;
}

// A street drawn out of a street's cell right beside that street's level
// crossing: the T junction took the cell that the crossing joins as the
// street's, and the junction's cells led nowhere. It is refused.
TEST(RailStorm, AJunctionBesideALevelCrossingIsRefused) {
  g_ZorLoadVersion = 240;
  EXPECT_EQ(ReplayRefusingTheLast("B 42 4 42 39 9  B 33 22 52 22 2  B 44 22 44 18 1"), 1u);
  g_ZorLoadVersion = 0;
}

// Branches out of a one-lane and a four-lane street that crosses the
// track on cells 42 and 43, at every cell from 38 to 47 and to both
// sides: refused on the cells beside the crossing (and, for the four-lane
// street, on the cell whose junction group would reach one), built three
// cells off, and every branch built leaves both networks sound.
TEST(RailStorm, BranchesKeepClearOfLevelCrossings) {
  g_ZorLoadVersion = 240;
  for (const auto& [crossed, wide] :
       {std::pair{"B 42 4 42 39 9  B 33 22 52 22 2", false}, std::pair{"B 42 4 42 39 9  B 33 22 52 22 4", true}})
    for (int x : {38, 39, 40, 41, 44, 45, 46, 47}) {
      // A four-lane street takes rows 22 and 23: its branches leave upwards.
      for (int dir : wide ? std::vector<int>{-1} : std::vector<int>{-1, 1}) {
        Op branch = Parse("B 0 22 0 0 2")[0];
        branch.x1 = branch.x2 = x;
        branch.y2 = 22 + 5 * dir;
        SCOPED_TRACE(std::string(crossed) + "  " + Format(branch));
        const int result = BuildThen(Parse(crossed), branch).result;
        if (x == 41 || x == 44 || (wide && x == 40)) {
          EXPECT_EQ(result, STR_BUILD_NO_ROOM);
        } else if (x <= 39 || x >= 46) {
          EXPECT_EQ(result, STR_BUILD_OK);
        }
      }
    }
  g_ZorLoadVersion = 0;
}

// A street drawn across two tracks: the second track drawn again with its
// new crossing laid the street's cells again, under the first track's
// crossing as well, whose cells still led to the street's old ones. Every
// track crossing the street lays its cells again, and any track drawn
// again leaves the other's crossing joined.
TEST(RailStorm, AStreetAcrossTwoTracksKeepsBothCrossingsJoined) {
  g_ZorLoadVersion = 240;
  for (const char* steps : {"B 35 30 50 30 9  B 47 30 47 14 9  B 41 30 41 8 9  B 34 23 52 23 1",
                            "B 35 30 50 30 9  B 47 30 47 14 9  B 41 30 41 8 9  B 52 23 34 23 2"}) {
    SCOPED_TRACE(steps);
    RailStormWorld sw;
    ReplayEveryStepChecked(sw, steps);
    EXPECT_EQ(CountCrossings(sw), 2u);
    for (CStrStrasse* t : sw.Tracks()) {
      t->RemoveFromIsoWelt(false);
      t->InsertIntoIsoWelt();
      for (const std::string& f : CheckAll(sw)) ADD_FAILURE() << f;
    }
  }
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

// A track drawn on across from a dead end four cells from the dead end's
// level crossing: the bend's curve took cells of the crossing, and the
// crossing's cells and the track's beside it led nowhere. It is refused.
TEST(RailStorm, ABendIsNotMadeBesideALevelCrossing) {
  g_ZorLoadVersion = 240;
  EXPECT_EQ(ReplayRefusingTheLast("B 39 25 58 25 1  B 48 35 48 22 9  B 48 22 42 22 9"), 1u);
  // Four cells off, the bend is made.
  RailStormWorld sw;
  ReplayEveryStepChecked(sw, "B 48 35 48 22 9  B 39 26 58 26 1  B 48 22 42 22 9");
  g_ZorLoadVersion = 0;
}

// Tracks along y both ways to and from the dead end at 20/20, crossing a
// street 4 to 6 cells off, drawn on across towards both sides: every bend
// made leaves both networks sound, and six cells off it is made.
TEST(RailStorm, BendsAtDeadEndsKeepClearOfLevelCrossings) {
  g_ZorLoadVersion = 240;
  for (const char* track : {"B 20 20 20 34 9", "B 20 34 20 20 9", "B 20 20 20 6 9", "B 20 6 20 20 9"})
    for (int k = 4; k <= 6; ++k)
      for (int side : {-1, 1}) {
        const int dy = Parse(track)[0].y1 + Parse(track)[0].y2 > 40 ? 1 : -1;
        Op street = Parse("B 16 0 24 0 1")[0];
        street.y1 = street.y2 = 20 + k * dy;
        Op bend = Parse("B 20 20 0 20 9")[0];
        bend.x2 = 20 + 6 * side;
        SCOPED_TRACE(std::string(track) + "  " + Format(street) + "  " + Format(bend));
        const Built b = BuildThen({Parse(track)[0], street}, bend);
        if (k == 6) {
          EXPECT_EQ(b.result, STR_BUILD_OK);
        }
        EXPECT_EQ(CountCrossings(*b.sw), 1u);
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

// A rectangle of tracks through a T junction, closed at a second T
// junction whose spur is then deleted: the two tracks left there join into
// a loop from the first junction back to it. The loop's head, leaving
// towards -y, started inside the junction's group, and neither its cells
// nor the junction's led into the other's.
TEST(RailStorm, ADeletionLeavingALoopTrackKeepsItsCellsJoined) {
  g_ZorLoadVersion = 240;
  RailStormWorld sw;
  ReplayEveryStepChecked(sw, "B 50 42 50 30 9  B 50 42 40 42 9  B 44 42 44 34 9  B 44 34 50 34 9  D 50 34 50 30 9");
  ASSERT_EQ(sw.Tracks().size(), 2u);
  CStrStrasse* loop = sw.Tracks()[0]->GetStartJunction() == sw.Tracks()[0]->GetEndJunction() ? sw.Tracks()[0]
                                                                                               : sw.Tracks()[1];
  EXPECT_EQ(loop->GetStartJunction(), loop->GetEndJunction());
  g_ZorLoadVersion = 0;
}

// A track with a level crossing three cells before its dead end, drawn
// towards the junction that a branch then makes on it; deleting the track
// beyond the branch joins the other two, and the crossing's track turns
// round. Its picture, laid again from the street's cell, then reaches the
// cell right before the dead end's group: that cell has no layout of its
// own, and the track's cells and the dead end's led nowhere. Made in every
// turn and mirror of the map, every step checked. A dead end towards -x or
// -y covers its own cell and the next one towards +x or +y: the street
// there crosses a cell further from it.
TEST(RailStorm, ADeletionTurningACrossingUpToADeadEndKeepsTheirCellsJoined) {
  g_ZorLoadVersion = 240;
  int local[4][4] = {{11, 0, -9, 0}, {8, -6, 8, 6}, {0, 0, 0, -12}, {0, 0, -9, 0}};
  for (int turns = 0; turns < 4; ++turns)
    for (bool mirrored : {false, true}) {
      auto turned = [&](int x, int y) {
        if (mirrored) x = -x;
        for (int t = 0; t < turns; ++t) x = -std::exchange(y, x);
        return std::pair{x, y};
      };
      auto place = [&](int x, int y) {
        auto [tx, ty] = turned(x, y);
        return std::to_string(46 + tx) + " " + std::to_string(20 + ty);
      };
      const auto [ex, ey] = turned(11, 0);
      local[1][0] = local[1][2] = ex + ey < 0 ? 7 : 8;
      std::string steps;
      for (int i = 0; i < 4; ++i)
        steps += std::string(i < 3 ? "B " : "D ") + place(local[i][0], local[i][1]) + " " +
                 place(local[i][2], local[i][3]) + (i == 1 ? " 1  " : " 9  ");
      SCOPED_TRACE(steps);
      RailStormWorld sw;
      ReplayEveryStepChecked(sw, steps.c_str());
      EXPECT_EQ(sw.Tracks().size(), 1u);
      EXPECT_EQ(CountCrossings(sw), 1u);
    }
  g_ZorLoadVersion = 0;
}

// A loop track at a junction of three tracks, made around the junction at
// (46, 22) in every turn and mirror of the map with its tracks drawn both
// ways, every step checked; `look` gets each world and its loop. The steps:
// the far corner's track, the track drawn on from it through the
// junction's cell, the branch at the junction, the branch drawn on to the
// far track, and the far track's spur deleted.
template <class Look>
void ForEveryLoop(Look look) {
  const int local[5][4] = {{8, 0, 8, -12}, {8, 0, -5, 0}, {0, 0, 0, -9}, {0, -9, 8, -9}, {8, -9, 8, -12}};
  for (bool reversed : {false, true})
    for (int turns = 0; turns < 4; ++turns)
      for (bool mirrored : {false, true}) {
        auto place = [&](int x, int y) {
          if (mirrored) x = -x;
          for (int t = 0; t < turns; ++t) x = -std::exchange(y, x);
          return std::pair{46 + x, 22 + y};
        };
        std::string steps;
        for (int i = 0; i < 5; ++i) {
          auto [ax, ay] = place(local[i][0], local[i][1]);
          auto [bx, by] = place(local[i][2], local[i][3]);
          if (reversed && i < 4) std::swap(ax, bx), std::swap(ay, by);
          steps += (i < 4 ? "B " : "D ") + std::to_string(ax) + " " + std::to_string(ay) + " " + std::to_string(bx) +
                   " " + std::to_string(by) + " 9  ";
        }
        SCOPED_TRACE(steps);
        RailStormWorld sw;
        ReplayEveryStepChecked(sw, steps.c_str());
        CStrStrasse* loop = nullptr;
        for (CStrStrasse* t : sw.Tracks())
          if (t->GetStartJunction() == t->GetEndJunction()) loop = t;
        ASSERT_NE(loop, nullptr);
        look(sw, loop);
      }
}

// The same loop made in every turn and mirror of the map, its tracks drawn
// both ways: every step leaves both networks sound, and the loop's first
// and last cells lie outside its junction's group, along the loop's head
// and tail one cell past the group's edge (the tail up to two towards +x
// or +y, where a track's last group reaches back onto the cell before).
TEST(RailStorm, ALoopTrackStepsOutOfItsJunctionsGroupAtBothEnds) {
  g_ZorLoadVersion = 240;
  ForEveryLoop([](RailStormWorld& sw, CStrStrasse* loop) {
    CStrJunction* j = loop->GetStartJunction();
    const CIsoObjGroup* g = sw.w.map->GetGroupAt(static_cast<unsigned short>(j->GetXPos()),
                                                 static_cast<unsigned short>(j->GetYPos()), ISO_LAYER_GROUND);
    ASSERT_NE(g, nullptr);
    const int x0 = g->GetStartPosX(), y0 = g->GetStartPosY();
    const int x1 = x0 + g->GetTurnedSizeX() - 1, y1 = y0 + g->GetTurnedSizeY() - 1;
    short hx = 0, hy = 0, tx = 0, ty = 0;
    loop->CalcMAtHead(&hx, &hy);
    loop->CalcMAtTail(&tx, &ty);
    // How many cells past the group's edge the cell lies, along the
    // direction it leaves the group by.
    auto past = [&](short x, short y, short dx, short dy) {
      return dx > 0 ? x - x1 : dx < 0 ? x0 - x : dy > 0 ? y - y1 : y0 - y;
    };
    short x = 0, y = 0;
    ASSERT_EQ(loop->GetFirstIsoPos(&x, &y), 0);
    EXPECT_EQ(past(x, y, hx, hy), 1) << "head at " << x << "/" << y << " leaving " << hx << "/" << hy;
    ASSERT_EQ(loop->GetLastIsoPos(&x, &y), 0);
    const int tail = past(x, y, tx, ty);
    EXPECT_TRUE(tail == 1 || (tail == 2 && (tx > 0 || ty > 0)))
        << "tail at " << x << "/" << y << " leaving " << tx << "/" << ty;
  });
  g_ZorLoadVersion = 0;
}

// The loop's junction taken off the map and drawn again: with no group on
// its cell the loop's last cell steps out of the group that the junction's
// arms would give it, and those arms ask for the loop's last cell again
// (that went on until the stack ran out). The cell and the arms are those
// the drawn junction gave, and the junction is drawn as it was.
TEST(RailStorm, ALoopsLastCellAtItsJunctionOffTheMapIsFoundOnce) {
  g_ZorLoadVersion = 240;
  ForEveryLoop([](RailStormWorld& sw, CStrStrasse* loop) {
    CStrJunction* j = loop->GetStartJunction();
    ASSERT_EQ(j->GetAnzLinkedStreets(), 3);
    const auto jx = static_cast<unsigned short>(j->GetXPos()), jy = static_cast<unsigned short>(j->GetYPos());
    auto drawn = [&] {
      const CIsoObjGroup* g = sw.w.map->GetGroupAt(jx, jy, ISO_LAYER_GROUND);
      return g ? std::vector<int>{g->GetResID(), g->GetRichtung(), g->GetStartPosX(), g->GetStartPosY()}
               : std::vector<int>{};
    };
    auto arms = [&] {
      CStrJunction::Arm a[CStrJunction::kMaxStreets];
      std::vector<std::pair<int, int>> out;
      for (int i = 0, n = j->GetArms(a); i < n; ++i) out.emplace_back(a[i].dx, a[i].dy);
      return out;
    };
    const std::vector<int> group = drawn();
    ASSERT_FALSE(group.empty());
    const auto armsDrawn = arms();
    short lx = 0, ly = 0;
    ASSERT_EQ(loop->GetLastIsoPos(&lx, &ly), 0);

    ASSERT_EQ(j->RemoveFromIsoWelt(), 0);
    ASSERT_TRUE(drawn().empty());
    short x = 0, y = 0;
    ASSERT_EQ(loop->GetLastIsoPos(&x, &y), 0);
    EXPECT_EQ(std::pair(x, y), std::pair(lx, ly));
    EXPECT_EQ(arms(), armsDrawn);
    int id = 0;
    CIsoRichtung dir;
    EXPECT_EQ(j->GetKreuzungsIDStrasseD(&id, &dir), 0);
    EXPECT_EQ(std::vector<int>({id, dir.GetValue()}), std::vector<int>(group.begin(), group.begin() + 2));

    ASSERT_EQ(j->InsertIntoIsoWelt(), 0);
    EXPECT_EQ(drawn(), group);
    for (const std::string& f : CheckAll(sw)) ADD_FAILURE() << f;
  });
  g_ZorLoadVersion = 0;
}

// A branch deleted from a track that runs round into a loop: the branch's
// junction goes, the two tracks beside it join, and the loop's junction,
// drawn again, asked for the loop's last cell, which asked for the
// junction's arms, without end (the game crashed). Both ways round the
// loop; the loop stays at its junction of three tracks.
TEST(RailStorm, DeletingABranchBesideALoopEnds) {
  g_ZorLoadVersion = 240;
  for (const char* steps : {"B 24 40 24 12 9  B 24 12 18 12 9  B 18 12 6 12 9  B 6 12 6 22 9  B 6 22 24 22 9  "
                            "B 24 26 14 26 9  D 24 26 14 26 9",
                            "B 36 34 44 34 9  B 44 34 44 22 9  B 36 34 36 9 9  B 44 22 36 22 9  B 36 15 47 15 9  "
                            "B 47 15 47 6 9  D 36 15 47 6 9"}) {
    SCOPED_TRACE(steps);
    RailStormWorld sw;
    ReplayEveryStepChecked(sw, steps);
    const std::vector<CStrStrasse*> tracks = sw.Tracks();
    const auto loop = std::find_if(tracks.begin(), tracks.end(),
                                   [](CStrStrasse* t) { return t->GetStartJunction() == t->GetEndJunction(); });
    ASSERT_NE(loop, tracks.end());
    EXPECT_EQ((*loop)->GetStartJunction()->GetAnzLinkedStreets(), 3);
  }
  g_ZorLoadVersion = 0;
}

// A street across a track drawn towards -x, four cells from the dead end
// it leads to: the track drawn again with its crossing laid its last tile
// over half of the dead end's group, and a street then drawn across two
// cells from that dead end was built (nothing there showed the end any
// more); the end's cells and the track's beside them led nowhere. The
// group stays whole, and that street is refused.
TEST(RailStorm, AStreetIsRefusedBesideADeadEndThatACrossingRedrew) {
  g_ZorLoadVersion = 240;
  RailStormWorld sw;
  ReplayEveryStepChecked(sw, "B 25 47 15 47 9  B 22 53 22 34 1  D 22 53 22 34 1  B 18 39 18 55 1",
                         {STR_BUILD_OK, STR_BUILD_OK, 0, STR_BUILD_NO_ROOM});
  EXPECT_EQ(CountCrossings(sw), 0u);
  g_ZorLoadVersion = 0;
}

// Tracks along both axes drawn both ways between dead ends at 6 and 18,
// crossed by a street at every cell from 9 to 15 (those built) and the
// street deleted again: after each step both dead ends show their group
// on all its cells.
TEST(RailStorm, DeadEndsKeepTheirGroupsWhenTheirTrackIsDrawnAgain) {
  g_ZorLoadVersion = 240;
  int crossed = 0;
  for (bool alongX : {true, false})
    for (bool towardsLow : {false, true})
      for (int at = 9; at <= 15; ++at) {
        auto line = [alongX](int a1, int c1, int a2, int c2, int type) {
          return AxisLine(alongX, a1, c1, a2, c2, type);
        };
        const Op track = towardsLow ? line(18, 40, 6, 40, STRASSE_SCHIENE) : line(6, 40, 18, 40, STRASSE_SCHIENE);
        const Op street = line(at, 34, at, 46, 1);
        Op gone = street;
        gone.kind = 'D';
        SCOPED_TRACE(Format(track) + "  " + Format(street));
        RailStormWorld sw;
        int result = 0;
        for (const Op& o : {track, street, gone}) {
          // A street refused leaves nothing to delete.
          if (o.kind == 'D' && result != STR_BUILD_OK) break;
          for (const std::string& f : RailStep(sw, o, 0, 1, &result)) ADD_FAILURE() << f;
          if (o.type != STRASSE_SCHIENE && o.kind == 'B' && result == STR_BUILD_OK) ++crossed;
          for (int end : {6, 18}) {
            const auto jx = static_cast<short>(alongX ? end : 40), jy = static_cast<short>(alongX ? 40 : end);
            const CIsoObjGroup* g = sw.w.map->GetGroupAt(jx, jy, ISO_LAYER_GROUND);
            ASSERT_NE(g, nullptr) << Format(o) << ": dead end " << jx << "/" << jy;
            EXPECT_EQ(std::pair(g->GetStartPosX(), g->GetStartPosY()), std::pair(jx, jy)) << Format(o);
            for (int x = jx; x < jx + g->GetTurnedSizeX(); ++x)
              for (int y = jy; y < jy + g->GetTurnedSizeY(); ++y)
                EXPECT_EQ(sw.w.map->GetTypeAt(x, y, ISO_LAYER_GROUND), OBJ_RAIL_JUNCTION) << Format(o) << ": " << x << "/" << y;
          }
        }
      }
  // Four cells or more from the low end and three from the high end every
  // street is built, whichever way the track was drawn.
  EXPECT_EQ(crossed, 24);

  // A dead end whose group lost a cell says so, and its track drawn again
  // lays the group again.
  RailStormWorld sw;
  ASSERT_EQ(sw.Apply(Parse("B 18 40 6 40 9")[0]), STR_BUILD_OK);
  auto* end = dynamic_cast<CStrSchJunction*>(sw.rails->FindJunctionAt(6, 40));
  ASSERT_NE(end, nullptr);
  EXPECT_TRUE(end->ShowsWholeGroup());
  sw.w.map->SetStdBase(7, 41, ISO_LAYER_GROUND, false);
  EXPECT_FALSE(end->ShowsWholeGroup());
  EXPECT_TRUE(end->IsDrawn());
  CStrStrasse* track = end->GetStreetByNR(0);
  track->RemoveFromIsoWelt(false);
  track->InsertIntoIsoWelt();
  EXPECT_TRUE(end->ShowsWholeGroup());
  EXPECT_EQ(sw.w.map->GetTypeAt(7, 41, ISO_LAYER_GROUND), OBJ_RAIL_JUNCTION);
  for (const std::string& f : CheckAll(sw)) ADD_FAILURE() << f;
  g_ZorLoadVersion = 0;
}

// A street from a junction back to it across a track twice, made before
// or after the track: it meets the track twice and holds a level crossing
// at each meeting. The check of every street against every track met the
// loop at both of its entries at the junction and counted four meetings.
TEST(RailStorm, ALoopStreetAcrossATrackMeetsItOncePerCrossing) {
  g_ZorLoadVersion = 240;
  const std::string loop = "B 10 10 20 10 2  B 12 10 12 32 2  B 12 32 18 32 2  B 18 32 18 10 2  D 10 10 12 10 2  ";
  for (const std::string& steps : {loop + "B 7 26 22 26 9", "B 7 26 22 26 9  " + loop}) {
    SCOPED_TRACE(steps);
    RailStormWorld sw;
    ReplayEveryStepChecked(sw, steps.c_str());
    EXPECT_EQ(railtest::Meetings(sw.w.net.get(), sw.rails.get()), 2u);
    EXPECT_EQ(CountCrossings(sw), 2u);
    CStrStrasse* ring = nullptr;
    for (CStrStrasse* s : sw.w.Streets())
      if (s->GetStartJunction() == s->GetEndJunction()) ring = s;
    ASSERT_NE(ring, nullptr);
    EXPECT_EQ(ring->GetStartJunction()->GetAnzLinkedStreets(), 3);
  }
  g_ZorLoadVersion = 0;
}

// A street that turns back beside itself, its two stretches on
// neighbouring rows, and a track drawn across both: the drag took the
// stretches for the two rows of one four-lane street and laid one level
// crossing, and the cells of the second stretch beside it led nowhere. It
// is refused.
TEST(RailStorm, ATrackAcrossAStreetTurnedBackBesideItselfIsRefused) {
  g_ZorLoadVersion = 240;
  EXPECT_EQ(ReplayRefusingTheLast("B 57 38 29 38 2  B 29 38 29 39 2  B 29 39 57 39 2  B 43 22 43 42 9"), 0u);
  g_ZorLoadVersion = 0;
}

// Streets that turn back with their stretches 1 to 6 rows apart (a
// four-lane one, two rows wide, from 3: closer, its stretches would touch
// and it is not built), along both axes, and tracks drawn both ways across
// both stretches: refused up to three rows apart, where the crossings
// would share cells, and from four rows built with a level crossing at
// each stretch; every track built or refused leaves both networks sound.
TEST(RailStorm, ATrackMeetsAStreetTurnedBackOncePerStretch) {
  g_ZorLoadVersion = 240;
  for (int type : {1, 2, 4})
    for (bool alongX : {true, false})
      for (bool towardsLow : {false, true})
        for (int gap = type == 4 ? 3 : 1; gap <= 6; ++gap) {
          const std::vector<Op> street = {AxisLine(alongX, 26, 12, 6, 12, type), AxisLine(alongX, 6, 12, 6, 12 + gap, type),
                                          AxisLine(alongX, 6, 12 + gap, 26, 12 + gap, type)};
          const Op track = towardsLow ? AxisLine(!alongX, 28, 16, 4, 16, STRASSE_SCHIENE)
                                      : AxisLine(!alongX, 4, 16, 28, 16, STRASSE_SCHIENE);
          SCOPED_TRACE(Format(street[0]) + "  " + Format(street[1]) + "  " + Format(street[2]) + "  " + Format(track));
          const Built b = BuildThen(street, track);
          if (gap <= 3) {
            EXPECT_EQ(b.result, STR_BUILD_NO_ROOM);
            EXPECT_EQ(CountCrossings(*b.sw), 0u);
          } else {
            EXPECT_EQ(b.result, STR_BUILD_OK);
            EXPECT_EQ(CountCrossings(*b.sw), 2u);
          }
        }
  g_ZorLoadVersion = 0;
}

// A four-lane street drawn towards -x over the river and across a track:
// the bridge was laid a cell off the river, its cell layouts a cell off the
// street's, and the street's lanes ran in circles between neighbouring
// tiles; the level crossing then took the cells beside it from those
// circles, and the street's and the track's cells there led nowhere.
TEST(RailStorm, AFourLaneStreetOverABridgeCrossesATrack) {
  g_ZorLoadVersion = 240;
  RailStormWorld sw;
  ReplayEveryStepChecked(sw, "B 26 34 26 18 9  B 34 24 17 24 4");
  EXPECT_EQ(CountCrossings(sw), 1u);
  g_ZorLoadVersion = 0;
}

// Four-lane streets over the storm's rivers (along y at x 30 and 31, along
// x at y 45) and across a track, drawn both ways, the street before the
// track and after it, the track both ways: every step leaves both networks
// sound, with one level crossing.
TEST(RailStorm, FourLaneStreetsOverBridgesCrossTracksWhicheverWayDrawn) {
  g_ZorLoadVersion = 240;
  struct Case {
    const char* street;
    const char* track;
  };
  for (const Case& c : {Case{"B 34 24 17 24 4", "B 26 34 26 18 9"}, Case{"B 33 15 19 15 4", "B 26 5 26 25 9"},
                        Case{"B 40 52 40 30 4", "B 33 38 50 38 9"}})
    for (bool streetReversed : {false, true})
      for (bool trackReversed : {false, true})
        for (bool trackFirst : {false, true}) {
          Op street = Parse(c.street)[0], track = Parse(c.track)[0];
          if (streetReversed) street = Op{street.kind, street.x2, street.y2, street.x1, street.y1, street.type};
          if (trackReversed) track = Op{track.kind, track.x2, track.y2, track.x1, track.y1, track.type};
          const std::string steps = trackFirst ? Format(track) + "  " + Format(street) : Format(street) + "  " + Format(track);
          SCOPED_TRACE(steps);
          RailStormWorld sw;
          ReplayEveryStepChecked(sw, steps.c_str());
          EXPECT_EQ(CountCrossings(sw), 1u);
        }
  g_ZorLoadVersion = 0;
}

// A four-lane bridge is the same whichever way its street was drawn: its
// groups lie on the river's cells, the map shows the same tiles, and the
// street's cars get from one end of the street to the other across it.
TEST(RailStorm, AFourLaneBridgeIsTheSameWhicheverWayItsStreetWasDrawn) {
  g_ZorLoadVersion = 240;
  // Along x over the river at x 30 and 31, and along y over the one at y 45.
  for (const auto& [forward, cells] : {std::pair{"B 19 15 33 15 4", std::pair{26, 15}},
                                       std::pair{"B 40 30 40 52 4", std::pair{40, 45}}}) {
    SCOPED_TRACE(forward);
    const Op there = Parse(forward)[0];
    const Op back{there.kind, there.x2, there.y2, there.x1, there.y1, there.type};
    std::vector<std::vector<int>> seen;
    for (const Op& o : {there, back}) {
      RailStormWorld sw;
      ASSERT_EQ(sw.Apply(o), STR_BUILD_OK) << Format(o);
      for (const std::string& f : CheckAll(sw)) ADD_FAILURE() << f;
      std::vector<int> ground;
      for (int x = cells.first - 6; x <= cells.first + 6; ++x)
        for (int y = cells.second - 6; y <= cells.second + 6; ++y) {
          CIsoObjGroup* g = sw.w.map->GetGroupAt(x, y, ISO_LAYER_GROUND);
          ground.insert(ground.end(), {sw.w.map->GetIsoInfo(x, y)->GetResID(ISO_LAYER_GROUND), g ? g->GetResID() : 0,
                                       g ? g->GetStartPosX() : -1, g ? g->GetStartPosY() : -1});
        }
      seen.push_back(ground);
      // The layouts one cell inside either end reach each other.
      CStrStrasse* s = sw.Find(o);
      ASSERT_NE(s, nullptr);
      const int mx = (o.x2 > o.x1) - (o.x2 < o.x1), my = (o.y2 > o.y1) - (o.y2 < o.y1);
      CQnoMicroZelle* first = s->GetMicroZellen(static_cast<unsigned short>(o.x1 + 2 * mx), static_cast<unsigned short>(o.y1 + 2 * my));
      CQnoMicroZelle* last = s->GetMicroZellen(static_cast<unsigned short>(o.x2 - 2 * mx), static_cast<unsigned short>(o.y2 - 2 * my));
      ASSERT_NE(first, nullptr);
      ASSERT_NE(last, nullptr);
      EXPECT_TRUE(junctiontest::Reached(first, last).count(last));
      EXPECT_TRUE(junctiontest::Reached(last, first).count(first));
    }
    EXPECT_EQ(seen[0], seen[1]);
  }
  g_ZorLoadVersion = 0;
}

// A street along the row below a four-lane T junction, on from a dead end
// beside the junction's street, across the cells the junction's group
// covers there. Built, its tiles hid the group's lower row; when the
// four-lane street's far part went, the junction was drawn again, took
// back that row's tiles and cells, and the street's cells beside them led
// nowhere. It is refused, and the deletion leaves both networks sound.
TEST(RailStorm, AStreetAcrossTheGroupOfAFourLaneJunctionBesideItIsRefused) {
  g_ZorLoadVersion = 240;
  RailStormWorld sw;
  ReplayEveryStepChecked(sw,
                         "B 35 36 8 36 2  B 8 36 8 37 2  B 12 36 12 28 4  B 23 33 12 33 4  "
                         "B 8 37 14 37 2  D 12 33 12 28 4",
                         {STR_BUILD_OK, STR_BUILD_OK, STR_BUILD_OK, STR_BUILD_OK, STR_BUILD_NO_ROOM, 0});
  g_ZorLoadVersion = 0;
}

// A track along -y across a four-lane street, then a T junction on it
// whose group ends right below the crossing: the piece above the junction
// ends at the group, and the crossing's cell next to it led nowhere. The
// junction is refused; so is a narrow street drawn across such a track
// right above a junction's group.
TEST(RailStorm, ATJunctionRightBelowACrossingOnATrackRunningDownIsRefused) {
  g_ZorLoadVersion = 240;
  EXPECT_EQ(ReplayRefusingTheLast("B 19 22 6 22 4  B 13 34 13 11 9  B 13 18 20 18 9"), 1u);
  EXPECT_EQ(ReplayRefusingTheLast("B 13 34 13 11 9  B 13 17 20 17 9  B 19 21 6 21 2"), 0u);
  g_ZorLoadVersion = 0;
}

// The longest tables of steps, a test for each street type (one lane, two
// lanes, four lanes) so that they run side by side.
struct RailStormByType : testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(Street, RailStormByType, testing::Values(1, 2, 4),
                         [](const testing::TestParamInfo<int>& i) { return "Type" + std::to_string(i.param); });

// A street of each type across a track drawn either way along x or y (a
// four-lane street on the crossing row and the one after), and a track
// leaving it to either side at rows below, before or after the street:
// every step leaves both networks sound. Two cells of plain track below the
// crossing keep room for the junction's group and a plain cell, in either
// order; on a track running down the junction right below that is refused
// in either order, as the crossing's cells there would lead into the group,
// while on a track running up the group may meet the crossing.
TEST_P(RailStormByType, TJunctionsBelowACrossingKeepAPlainCellBetween) {
  g_ZorLoadVersion = 240;
  for (bool alongX : {false, true}) {
    // The track's line, and a shift along it that keeps the ends on land.
    const int c = alongX ? 22 : 13, o = alongX ? -7 : 0;
    for (int type : {GetParam()})
      for (bool down : {true, false})
        for (int row = 15; row <= 18; ++row)
          for (int branchTo : {c + 7, c - 7})
            for (bool streetFirst : {true, false}) {
              const Op street = AxisLine(!alongX, c + 6, 22 + o, c - 7, 22 + o, type);
              const Op track = down ? AxisLine(alongX, 34 + o, c, 11 + o, c, STRASSE_SCHIENE)
                                    : AxisLine(alongX, 11 + o, c, 34 + o, c, STRASSE_SCHIENE);
              const Op branch = AxisLine(!alongX, c, row + o, branchTo, row + o, STRASSE_SCHIENE);
              SCOPED_TRACE(Format(street) + "  " + Format(track) + "  " + Format(branch) +
                           (streetFirst ? "" : " (street last)"));
              const Built b = streetFirst ? BuildThen({street, track}, branch) : BuildThen({track, branch}, street);
              // The lowest row whose group meets the crossing's lowest cell,
              // the cell below its street whichever way the track runs.
              const int meets = 18;
              if (row < meets || (!down && row == meets && streetFirst)) {
                EXPECT_EQ(b.result, STR_BUILD_OK);
              }
              if (down && row == meets) {
                EXPECT_EQ(b.result, STR_BUILD_NO_ROOM);
              }
              EXPECT_EQ(CountCrossings(*b.sw), b.result == STR_BUILD_OK || streetFirst ? 1u : 0u);
            }
  }
  g_ZorLoadVersion = 0;
}

// A track drawn either way along x or y between a T junction it makes on
// another track's cell (its high end) and free ground, across a one-lane
// or a four-lane street 3 to 7 cells from the junction: the junction's
// group reaches a cell below the junction, and a crossing right below the
// group left the junction's cells and the track's leading nowhere. Every
// step leaves both networks sound; a crossing a plain cell clear of the
// group is built (two cells on a track arriving towards +x), and a cell
// closer it is refused.
TEST(RailStorm, ATrackFromATJunctionAboveKeepsAPlainCellBelowItsGroup) {
  g_ZorLoadVersion = 240;
  for (bool alongX : {false, true})
    for (bool fromJunction : {true, false})
      for (int type : {1, 4})
        for (int gap = 3; gap <= 7; ++gap) {
          // The junction at 40/33 on a track along x, or at 58/20 on one along y.
          const int a = alongX ? 58 : 33, c = alongX ? 20 : 40, far = alongX ? 35 : 10;
          const Op main = alongX ? AxisLine(false, 10, 58, 40, 58, STRASSE_SCHIENE)
                                 : AxisLine(true, 34, 33, 59, 33, STRASSE_SCHIENE);
          const Op street = AxisLine(!alongX, c - 6, a - gap, c + 6, a - gap, type);
          const Op track = fromJunction ? AxisLine(alongX, a, c, far, c, STRASSE_SCHIENE)
                                        : AxisLine(alongX, far, c, a, c, STRASSE_SCHIENE);
          SCOPED_TRACE(Format(main) + "  " + Format(street) + "  " + Format(track));
          const Built b = BuildThen({main, street}, track);
          // A four-lane street's crossing reaches a cell higher.
          const int clear = (type == 4 ? 5 : 4) + (alongX && !fromJunction ? 1 : 0);
          if (gap >= clear) {
            EXPECT_EQ(b.result, STR_BUILD_OK);
          } else if (gap == clear - 1) {
            EXPECT_EQ(b.result, STR_BUILD_NO_ROOM);
          }
          EXPECT_EQ(CountCrossings(*b.sw), b.result == STR_BUILD_OK ? 1u : 0u);
        }
  g_ZorLoadVersion = 0;
}

// A track out of a cell of a track along y, either way, across a street
// 3 to 7 cells on; then a track at the junction deleted, either one, which
// joins the other two into a bend. The joined track may run the other way,
// its crossing then a cell lower: right beside the bend's curve, the
// street's and the track's cells there led nowhere. Such a branch is
// refused; every step leaves both networks sound, and a narrow street five
// cells on (a four-lane one six) is crossed.
TEST_P(RailStormByType, ABranchWhoseJunctionMayBecomeABendKeepsItsCrossingOffTheCurve) {
  g_ZorLoadVersion = 240;
  for (const char* branch : {"B 9 34 19 34 9", "B 19 34 9 34 9"})
    for (const char* gone : {"D 9 34 9 41 9", "D 9 23 9 34 9"})
      for (int type : {GetParam()})
        for (int x = 12; x <= 16; ++x) {
          Op street = Parse("B 0 49 0 15 1")[0];
          street.x1 = street.x2 = x;
          street.type = type;
          const std::vector<Op> steps = {Parse("B 9 23 9 41 9")[0], street, Parse(branch)[0], Parse(gone)[0]};
          SCOPED_TRACE(Format(street) + "  " + branch + "  " + gone);
          RailStormWorld sw;
          int result = 0;
          for (size_t i = 0; i < steps.size(); ++i) {
            for (const std::string& f : RailStep(sw, steps[i], static_cast<int>(i), 1, &result)) ADD_FAILURE() << f;
            if (i == 2 && x == (type == 4 ? 15 : 14)) {
              EXPECT_EQ(result, STR_BUILD_OK);
            }
            if (i == 2 && result != STR_BUILD_OK) break;
          }
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
    for (const Op& o : MinimizeRail(f.ops, f.faults[0])) replay += Format(o) + "\n";
    ADD_FAILURE() << "shortened:\n" << replay;
  }
  g_ZorLoadVersion = 0;
}

}  // namespace
