// Sequences that the edit storm (test_edit_storm.cpp) or a player's edits
// showed faulty, replayed step by step with every check of the storm after each
// step, and the result each step must give. A refused step must leave the
// network's record as it was.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "edit_storm.h"

namespace {

using namespace stormtest;

// Replays the steps; each gives its result and leaves a sound network.
// `open`: the text of a finding that is known and not yet mended, which
// the replay leaves aside.
// `setup` prepares the world before the first step.
void Replay(const std::string& text, const std::vector<int>& results, const std::string& open = "",
            const std::function<void(StormWorld&)>& setup = nullptr) {
  g_ZorLoadVersion = 240;
  const std::vector<Op> ops = Parse(text);
  ASSERT_EQ(ops.size(), results.size());
  StormWorld sw;
  if (setup) setup(sw);
  for (size_t i = 0; i < ops.size(); ++i) {
    SCOPED_TRACE(Format(ops[i]));
    const ByteList before = sw.Record();
    const size_t objects = sw.w.host.objects.size();
    EXPECT_EQ(sw.Apply(ops[i]), results[i]);
    for (const std::string& f : sw.checker.Check(sw.w))
      if (open.empty() || f.find(open) == std::string::npos) ADD_FAILURE() << f;
    if (results[i] != STR_BUILD_OK && results[i] != 0) {
      EXPECT_EQ(sw.Record(), before) << "a refused step changed the network";
      EXPECT_EQ(sw.w.host.objects.size(), objects) << "a refused step left world objects";
    }
  }
  for (const std::string& f : CheckRoundTrip(sw))
    if (open.empty() || f.find(open) == std::string::npos) ADD_FAILURE() << f;
  g_ZorLoadVersion = 0;
}

constexpr int OK = STR_BUILD_OK;

TEST(EditReplay, ALoneFourLaneStreetBuiltAndDeletedLeavesNoCellNamingItsEnds) {
  Replay("B 84 32 65 32 4  D 84 32 65 32 4", {OK, 0});
  Replay("B 84 32 65 32 4  D 84 32 65 32 4  B 84 32 65 32 4", {OK, 0, OK});
}

TEST(EditReplay, ADragAcrossTwoStreetsIsRefusedAndChangesNothing) {
  // Three streets down from one along y = 10, and a drag across all three.
  Replay("B 70 10 90 10 1  B 70 10 70 40 1  B 80 10 80 40 1  B 90 10 90 40 1  B 65 25 100 25 1",
         {OK, OK, OK, OK, STR_BUILD_CROSSES_SEVERAL});
  // Across two.
  Replay("B 70 10 90 10 1  B 70 10 70 40 1  B 80 10 80 40 1  B 65 25 85 25 1",
         {OK, OK, OK, STR_BUILD_CROSSES_SEVERAL});
  // Over one dead end on the way: built through it.
  Replay("B 70 10 90 10 1  B 70 10 70 40 1  B 80 10 80 40 1  B 70 40 90 40 1", {OK, OK, OK, OK});
  // Through a dead end and across a street after it: the dead end counts
  // as a street crossed.
  Replay("B 70 10 90 10 1  B 80 10 80 40 1  B 90 10 90 50 1  B 75 40 100 40 1",
         {OK, OK, OK, STR_BUILD_CROSSES_SEVERAL});
}

TEST(EditReplay, ADragThatCrossesOneStreetAndEndsOnAnotherIsRefused) {
  Replay("B 70 10 90 10 1  B 70 10 70 40 1  B 90 10 90 40 1  B 65 30 90 30 1",
         {OK, OK, OK, STR_BUILD_CROSSES_SEVERAL});
  // Ending on one street and starting on another is built: two T junctions.
  Replay("B 70 10 90 10 1  B 70 10 70 40 1  B 90 10 90 40 1  B 70 30 90 30 1", {OK, OK, OK, OK});
}

TEST(EditReplay, ADragAlongAStreetIsRefused) {
  Replay("B 87 13 114 13 1  B 92 13 114 13 1  B 80 13 100 13 2  B 100 13 90 13 1",
         {OK, STR_BUILD_ALONG_STREET, STR_BUILD_ALONG_STREET, STR_BUILD_ALONG_STREET});
}

TEST(EditReplay, AFourLaneArmAtAJunctionOfOneTileStreetsIsRefused) {
  Replay("B 70 20 100 20 1  B 85 20 85 35 1  B 85 20 85 5 4", {OK, OK, STR_BUILD_NO_GRAPHIC});
}

TEST(EditReplay, StreetsDoNotEndOnWaterNorPutAJunctionOnABridge) {
  // The river runs along y at x = 30 and 31.
  Replay("B 20 10 30 10 1  B 31 20 40 20 1", {STR_BUILD_ON_WATER, STR_BUILD_ON_WATER});
  // A bridge, then a street ending on its deck or crossing it.
  Replay("B 20 10 40 10 1  B 30 5 30 10 1  B 31 20 31 5 1  D 20 10 40 10 1",
         {OK, STR_BUILD_ON_WATER, STR_BUILD_ON_WATER, 0});
}

TEST(EditReplay, ABridgeKeptBySplitsAndJoinsPutsTheRiverBack) {
  // A street over the river at x = 30 and 31 running towards -x, bent into
  // a second street and split at the bend: the half that keeps the bridge
  // gives the river back when it goes.
  Replay("B 35 19 20 19 2  B 20 23 20 19 2  B 20 5 20 19 2  D 35 19 20 19 2", {OK, OK, OK, 0});
  Replay("B 35 19 20 19 2  B 20 23 20 19 2  B 20 5 20 19 2  D 20 23 20 19 2  D 35 19 20 5 2", {OK, OK, OK, 0, 0});
}

TEST(EditReplay, AFourLaneBridgeGivesBothColumnsOfItsRiverBack) {
  // Built towards -x: the group of the tile after the bridge reaches onto
  // the bridge's last cells when it goes.
  Replay("B 35 17 6 17 4  D 35 17 6 17 4", {OK, 0});
  // A four-lane street bent round twice over the river along x at y = 45.
  Replay("B 47 15 41 15 4  B 43 15 43 47 4  D 43 15 41 15 4  B 47 15 47 47 4  D 43 47 47 47 4", {OK, OK, 0, OK, 0});
}

TEST(EditReplay, AFourLaneBridgeNeedsTheRiverUnderBothColumns) {
  // The river along y ends at y = 62: a bridge at y = 62 would have land
  // under its second column, which its removal turned into river.
  Replay("B 20 62 40 62 4", {STR_BUILD_ON_WATER});
  Replay("B 20 61 40 61 4  D 20 61 40 61 4", {OK, 0});
  // The river along x ends at x = 62; the one along y meets it at x = 30/31.
  Replay("B 62 40 62 50 4", {STR_BUILD_ON_WATER});
  Replay("B 61 40 61 50 4  D 61 40 61 50 4", {OK, 0});
  Replay("B 29 40 29 50 4", {STR_BUILD_ON_WATER});
  // Beside a river: the second column on water, the centre line on land.
  Replay("B 20 44 28 44 4", {STR_BUILD_ON_WATER});
  Replay("B 29 10 29 20 4", {STR_BUILD_ON_WATER});
}

TEST(EditReplay, AFourLaneDragLeavesRoomBetweenItsOwnJunctions) {
  // The long all-types storm, shortened: the four-lane street continued
  // from its dead end 32/41 across the street along y = 46 would end at
  // 32/47, under the group of its new crossing at 32/46.
  const std::string steps =
      "B 21 14 21 26 4  B 21 14 6 14 4  D 6 14 21 26 4  B 42 12 42 28 2  B 51 27 42 27 2  D 42 27 42 28 2  "
      "B 25 13 42 13 2  D 51 27 42 13 2  D 25 13 42 12 2  B 25 30 21 30 4  B 25 30 25 17 4  D 25 17 21 30 4  "
      "B 32 32 36 32 2  B 36 32 36 49 2  D 32 32 36 49 2  B 27 40 27 24 2  B 27 36 21 36 1  B 21 36 21 49 3  "
      "B 21 49 27 49 3  B 27 49 27 43 2  B 37 38 27 38 4  B 32 38 32 41 4  B 27 46 59 46 1  B 32 41 32 47 4";
  const std::vector<int> results = {OK, OK, 0, OK, OK, 0, OK, 0, 0, OK, OK, 0, OK, OK, 0, OK, OK, OK, OK, OK, OK, OK, OK};
  // The one-way street's lane over its bridge at 27/45 is set aside here.
  // Two cells after the crossing the end's group would touch the
  // crossing's; three cells after it has room.
  const std::string before = steps.substr(0, steps.rfind('B'));
  for (auto [last, result] : {std::pair<const char*, int>{"B 32 41 32 47 4", STR_BUILD_NO_ROOM},
                              {"B 32 41 32 48 4", STR_BUILD_NO_ROOM}, {"B 32 41 32 49 4", OK}}) {
    std::vector<int> all = results;
    all.push_back(result);
    Replay(before + last, all, "leads nowhere");
  }
}

TEST(EditReplay, AStreetContinuedOverABridgeKnowsItsRiver) {
  // The four-lane street continued over the river along x at y = 45 is
  // one piece with the bridge of the drag that continued it: a T junction
  // a cell before the river would draw its group over the bridge.
  Replay("B 21 14 21 40 4  B 21 40 21 50 4  B 21 44 34 44 1", {OK, OK, STR_BUILD_ON_WATER});
  Replay("B 21 50 21 40 4  B 21 40 21 14 4  B 21 44 34 44 1", {OK, OK, STR_BUILD_ON_WATER});
  // Two cells before it the group has room; the joined street gives its
  // river back when it goes.
  Replay("B 21 14 21 40 4  B 21 40 21 50 4  B 21 43 34 43 1", {OK, OK, OK});
  Replay("B 21 14 21 40 4  B 21 40 21 50 4  D 21 14 21 50 4", {OK, OK, 0});
}

TEST(EditReplay, AFourLaneJunctionsGroupCoversNoBend) {
  // The four-lane T junction at 51/26 would cover the bend at 52/26.
  Replay("B 47 26 52 26 1  B 52 26 52 23 1  B 51 31 51 26 4", {OK, OK, STR_BUILD_NO_ROOM});
  // One cell further from the bend it is built.
  Replay("B 47 26 52 26 1  B 52 26 52 23 1  B 50 31 50 26 4", {OK, OK, OK});
}

TEST(EditReplay, AFourLaneBendTwoCellsBeforeAJunctionLeadsIntoIt) {
  // The bend at 48/33 covers 48/34: the piece on to the T junction at 48/35
  // has no tile of its own, and the bend's lanes lead into the junction.
  // The join that a deletion makes, and a T junction built there, from
  // either side of the bend.
  Replay("B 37 33 55 33 4  B 48 33 48 37 4  B 53 35 48 35 1  D 48 33 55 33 4", {OK, OK, OK, 0});
  Replay("B 37 33 55 33 4  B 48 33 48 37 4  B 53 35 48 35 1  D 48 33 37 33 4", {OK, OK, OK, 0});
  Replay("B 59 33 48 33 4  B 48 33 48 43 4  B 53 35 48 35 1", {OK, OK, OK});
  Replay("B 37 33 48 33 4  B 48 33 48 43 4  B 43 35 48 35 4", {OK, OK, OK});
}

TEST(EditReplay, AOneWayStreetFromAJunctionBackToItClosesTheArmItComesInBy) {
  // The deletion joins the streets at 13/22 into one one-way street from
  // the junction 20/21 round to it again, beside the two-way street along
  // y = 21: the junction's turns into the arm the ring comes in by go.
  Replay("B 13 37 13 21 1  B 13 37 23 37 1  B 13 22 20 22 3  B 20 22 20 21 3  B 20 37 20 38 3  B 13 21 53 21 1  "
         "B 20 38 11 38 1  B 11 38 11 42 3  D 23 37 20 37 1  D 13 22 11 42 3",
         {OK, OK, OK, OK, OK, OK, OK, OK, 0, 0});
}

TEST(EditReplay, ADragContinuingAOneWayDeadEndIsCheckedAsOneWay) {
  // The two-way drag from the one-way street's dead end at 21/34 becomes
  // one-way; a four-lane crossing has no graphic for one-way arms.
  Replay("B 27 24 27 40 4  B 27 36 21 36 1  B 21 36 21 34 3  B 21 34 38 34 1", {OK, OK, OK, STR_BUILD_NO_GRAPHIC});
  // Across a one-lane street the crossing has one.
  Replay("B 27 24 27 40 1  B 27 36 21 36 1  B 21 36 21 34 3  B 21 34 29 34 1", {OK, OK, OK, OK});
}

TEST(EditReplay, AFourLaneStreetsSecondColumnRunsAlongNoStreet) {
  // Its group would be drawn over the street along y = 40, and its removal
  // left ground under that street's tiles, so that a T junction later
  // built there did not split it.
  Replay("B 41 40 49 40 1  B 45 39 55 39 4", {OK, STR_BUILD_NO_ROOM});
  // Nor does a street run along a four-lane street's second column, off
  // its ends' groups too.
  Replay("B 45 39 55 39 4  B 41 40 49 40 1", {OK, STR_BUILD_NO_ROOM});
  Replay("B 4 20 26 20 4  B 10 21 20 21 1", {OK, STR_BUILD_NO_ROOM});
  Replay("B 12 4 12 26 4  B 13 8 13 18 2", {OK, STR_BUILD_NO_ROOM});
}

TEST(EditReplay, AFourLaneJunctionsGroupTakesNoCellOfAStreetBesideIt) {
  // The T junction at 54/32 on the street along x = 54 would cover 55/32
  // and 55/33 of the street beside it along x = 55.
  Replay("B 55 28 25 28 1  B 54 41 54 28 1  B 55 28 55 41 1  B 54 32 45 32 4", {OK, OK, OK, STR_BUILD_NO_ROOM});
}

// A street continued from a dead end one cell off its line runs back
// beside itself. A four-lane T junction on its first row took cells of its
// second, which the junction's street bent back into: those cells led
// nowhere. Refused on every cell of the first row; from the other side the
// group keeps to the second row and its own, and is built.
TEST(EditReplay, AFourLaneJunctionsGroupTakesNoCellOfItsStreetBentBackBesideIt) {
  Replay("B 24 33 24 58 2  B 36 57 24 57 2  D 24 33 24 57 2  B 24 58 36 58 1  B 26 54 26 57 4",
         {OK, OK, 0, OK, STR_BUILD_NO_ROOM});
  const std::string bentBack = "B 40 10 40 21 2  B 52 20 40 20 2  D 40 10 40 20 2  B 40 21 52 21 1  ";
  for (int x = 41; x <= 50; ++x) {
    const std::string at = std::to_string(x);
    Replay(bentBack + "B " + at + " 12 " + at + " 20 4", {OK, OK, 0, OK, STR_BUILD_NO_ROOM});
    Replay(bentBack + "B " + at + " 29 " + at + " 21 4", {OK, OK, 0, OK, OK});
  }
}

TEST(EditReplay, AStreetBentIntoAnotherLinksItsFarEndsCellsAgain) {
  Replay("B 70 10 90 10 1  B 70 10 70 40 1", {OK, OK});
}

TEST(EditReplay, ATwoWayStreetTurnedOneWayByContinuingLeavesNoBackwardStreet) {
  Replay("B 70 10 80 10 1  B 80 10 86 10 3  D 70 10 86 10 3", {OK, OK, 0});
}

TEST(EditReplay, DeletingTheStreetThatClosesALoop) {
  // Three legs bent into one street and back onto the first street: a loop
  // of two streets between two T junctions, deleted either way.
  const char* loop = "B 70 10 90 10 1  B 75 10 75 20 1  B 75 20 85 20 1  B 85 20 85 10 1  ";
  Replay(std::string(loop) + "D 75 10 85 10 1  D 70 10 90 10 1", {OK, OK, OK, OK, 0, 0});
  // Three legs from a dead end back onto it make a street from a junction to itself.
  Replay("B 70 10 80 10 1  B 80 10 80 20 1  B 80 20 70 20 1  B 70 20 70 10 1",
         {OK, OK, OK, STR_BUILD_ALREADY_JOINED});
}

// A four-lane street from a junction round and back to it, with a street
// of one lane out of the junction: deleting the ring leaves a dead end of
// the one-lane street, which takes that street's type, tile and cells.
TEST(EditReplay, DeletingAFourLaneRingLeavesTheDeadEndOfTheStreetBesideIt) {
  // The street out of the ring's junction towards larger y, where the
  // junction's four-lane group covered its first tile.
  const char* closeSouth = "B 20 20 20 10 4  B 50 20 50 10 4  B 20 10 50 10 4  ";
  const std::vector<int> built = {OK, OK, OK, OK, OK, 0};
  Replay(std::string("B 20 20 50 20 4  B 35 20 35 40 1  ") + closeSouth + "D 35 20 35 20 4", built);
  // The same street of a single tile, which the group covered: its cells
  // of both directions lead on into the ends.
  Replay(std::string("B 20 20 50 20 4  B 35 20 35 22 1  ") + closeSouth + "D 35 20 35 20 4", built);
  // Towards smaller y, and a four-lane street out of it, which keeps the
  // junction's type.
  Replay("B 20 10 50 10 4  B 35 10 35 3 1  B 20 10 20 20 4  B 50 10 50 20 4  B 20 20 50 20 4  D 35 10 35 10 4",
         built);
  Replay(std::string("B 20 20 50 20 4  B 35 20 35 40 4  ") + closeSouth + "D 35 20 35 20 4", built);
}

TEST(EditReplay, ADeletionThatWouldLeaveALoneRingIsRefused) {
  // Three streets between 20/16 and 20/21: straight, round by the east and
  // round by the west. Deleting the straight one would join the other two
  // at 20/16 into a street from 20/21 back to it, with nothing else at
  // 20/21: a ring whose junction has no graphic and no cells.
  const std::string three = "B 14 16 26 16 2  B 20 16 20 21 2  B 20 21 26 21 2  B 20 21 14 21 2  "
                            "B 26 16 26 21 2  B 14 16 14 21 2  ";
  const std::vector<int> built = {OK, OK, OK, OK, OK, OK};
  std::vector<int> results = built;
  results.push_back(3);
  Replay(three + "D 20 16 20 21 2", results);
  // With a street out of 20/21 the straight street is deleted and the ring
  // keeps a T junction; the street out of the ring is then refused, and
  // drags from the ring's junction and from its bend are built.
  results = built;
  results.insert(results.end(), {OK, 0, 3});
  Replay(three + "B 20 21 20 27 2  D 20 16 20 21 2  D 20 21 20 27 2", results);
  for (const char* drag : {"B 20 21 20 18 2", "B 14 16 14 10 1"}) {
    results = built;
    results.insert(results.end(), {OK, 0, OK});
    Replay(three + "B 20 21 20 27 2  D 20 16 20 21 2  " + drag, results);
  }
}

TEST(EditReplay, ATJunctionOneCellBeforeADeadEnd) {
  Replay("B 70 10 80 10 1  B 79 15 79 10 1", {OK, OK});
  Replay("B 70 10 80 10 1  B 79 5 79 10 1  D 79 5 79 10 1", {OK, OK, 0});
}

TEST(EditReplay, JoiningAOneWayWithATwoWayStreetKeepsTheOneWaysDirection) {
  // A T junction of a one-way arm into a two-way street; deleting the third
  // street joins the one-way with the two-way one.
  // The joined street's dead end at 90/10 is a one-way street's: no
  // direction leaves it.
  Replay("B 70 10 80 10 3  B 80 10 90 10 1  B 80 10 80 20 1  D 80 10 80 20 1", {OK, OK, OK, 0});
}

TEST(EditReplay, TheChecksFindAOneWayStreetTurnedRoundOverADeletion) {
  // The checks hold the one-way streets after a deletion to the way they ran
  // before it: the street put back the other way round is found, the same
  // way round is not, and a build between forgets them.
  g_ZorLoadVersion = 240;
  for (const bool reversed : {true, false}) {
    StormWorld sw;
    ASSERT_EQ(sw.Apply(Op{'B', 70, 10, 90, 10, STRASSE_EINBAHN}), OK);
    sw.checker.NoteOneWays(sw.w.Streets());
    ASSERT_EQ(sw.w.net->DeleteStreet(sw.Find(Op{'D', 70, 10, 90, 10, STRASSE_EINBAHN})), 0);
    ASSERT_EQ(reversed ? sw.w.Build(90, 10, 70, 10, STRASSE_EINBAHN) : sw.w.Build(70, 10, 90, 10, STRASSE_EINBAHN), OK);
    std::string found;
    for (const std::string& f : sw.checker.Check(sw.w)) found += f + "\n";
    EXPECT_EQ(found.find("against the one-way street") != std::string::npos, reversed) << found;
    EXPECT_TRUE(sw.checker.Check(sw.w).empty()) << "a check holds the streets to one deletion only";
  }
  StormWorld sw;
  sw.checker.NoteOneWays(sw.w.Streets());
  ASSERT_EQ(sw.Apply(Op{'B', 70, 10, 90, 10, STRASSE_EINBAHN}), OK);
  ASSERT_EQ(sw.Apply(Op{'D', 70, 10, 90, 10, STRASSE_EINBAHN}), 0);
  ASSERT_EQ(sw.Apply(Op{'B', 90, 10, 70, 10, STRASSE_EINBAHN}), OK);
  EXPECT_TRUE(sw.checker.Check(sw.w).empty());
  g_ZorLoadVersion = 0;
}

TEST(EditReplay, AOneWayStreetStartingOnABridgeTileUsesOneOfItsLanes) {
  // Over the river along x at y = 45, its first tile a bridge tile of two
  // lanes; either way round.
  Replay("B 37 46 37 19 3", {OK});
  Replay("B 37 44 37 60 3", {OK});
}

TEST(EditReplay, AJunctionClosesItsTurnsIntoAOneWayArmThatOnlyComesIn) {
  // A T junction on a one-way street, one cell before its dead end, and the
  // one-way street split again above it.
  Replay("B 47 26 47 43 3  B 49 42 47 42 1", {OK, OK});
  Replay("B 47 26 47 43 3  B 49 42 47 42 1  B 12 29 47 29 1", {OK, OK, OK});
  // Two one-way arms come in, one leaves; both that come in are closed.
  Replay("B 37 9 37 36 3  B 37 19 42 19 2", {OK, OK});
  Replay("B 37 9 37 36 3  B 36 35 37 35 3", {OK, OK});
}

TEST(EditReplay, AFourLaneEndBesideARiverIsRefusedAndTwoCellsAwayBuilt) {
  // The river runs along x at y = 45: a four-lane end's piece covers the
  // cell after its own.
  Replay("B 51 44 51 49 4", {STR_BUILD_ON_WATER});
  Replay("B 51 46 51 40 4", {STR_BUILD_ON_WATER});
  Replay("B 51 43 51 30 4  B 51 47 51 60 4", {OK, STR_BUILD_OFF_NETWORK});
}

TEST(EditReplay, AFourLaneJunctionsGroupStandsOnNoRiverCell) {
  // A four-lane bridge over the river at y = 45; a T junction at 60/44
  // would draw its group over 60/45 and 61/45.
  Replay("B 60 47 60 39 4  B 60 44 55 44 1", {OK, STR_BUILD_ON_WATER});
  Replay("B 60 47 60 39 4  B 60 44 66 44 2", {OK, STR_BUILD_ON_WATER});
  // A cell further from the river, and the far bank, have room for it.
  Replay("B 60 47 60 39 4  B 60 43 55 43 1", {OK, OK});
  Replay("B 60 50 60 39 4  B 60 46 55 46 1", {OK, OK});
}

TEST(EditReplay, AOneWayDragAgainstItsDeadEndsStreetIsRefusedAndChangesNothing) {
  // The two-way street leaves 71/29; a one-way street out of 71/29 would
  // run against it once the street turned one-way.
  Replay("B 71 29 82 29 1  B 71 29 71 30 3", {OK, STR_BUILD_TYPE_CONFLICT});
  // Into the end the street leaves, and out of the end it runs into.
  Replay("B 71 29 82 29 3  B 71 35 71 29 3  B 90 29 82 29 3  B 82 29 90 29 3",
         {OK, OK, STR_BUILD_TYPE_CONFLICT, OK});
}

TEST(EditReplay, FourLaneJunctionsNeedTheRoomOfTheirGroup) {
  // From the second column of a four-lane street onto its centre line.
  Replay("B 107 15 107 47 4  B 108 36 107 36 1", {OK, STR_BUILD_NO_ROOM});
  // Four-lane stubs of one and two cells.
  Replay("B 109 30 109 40 4  B 109 42 109 41 4  B 109 40 111 40 4  B 109 30 108 30 4",
         {OK, STR_BUILD_NO_ROOM, STR_BUILD_NO_ROOM, STR_BUILD_NO_ROOM});
  // A four-lane drag whose second column runs over a dead end.
  Replay("B 100 37 108 37 1  B 107 30 107 45 4", {OK, STR_BUILD_NO_ROOM});
  // A T junction one cell before a four-lane dead end.
  Replay("B 116 33 116 22 4  B 111 32 116 32 2", {OK, STR_BUILD_NO_ROOM});
  // A new four-lane end whose piece would cover the dead end 11/15 of a
  // street bent round to it; three cells off it is built.
  const std::string bent = "B 11 25 11 15 4  B 11 25 20 25 4  ";
  Replay(bent + "B 20 25 20 14 4  B 20 14 12 14 4", {OK, OK, OK, STR_BUILD_NO_ROOM});
  Replay(bent + "B 20 25 20 14 4  B 20 14 14 14 4", {OK, OK, OK, OK});
  // From and to the cells that a four-lane T junction's group covers
  // beside the junction's own cell 41/22, on a one-lane street's line too.
  for (const char* t : {"B 34 22 50 22 1  B 41 32 41 22 4  ", "B 41 32 41 12 4  B 41 22 34 22 1  "})
    for (const char* drag : {"B 42 22 42 17 1", "B 42 17 42 22 1", "B 42 23 50 23 1", "B 48 23 42 23 1"})
      Replay(std::string(t) + drag, {OK, OK, STR_BUILD_NO_ROOM});
}

TEST(EditReplay, AJunctionBuiltOnAStreetKeepsBothHalvesSpeedAndCapacity) {
  g_ZorLoadVersion = 240;
  StormWorld sw;
  ASSERT_EQ(sw.w.Build(70, 10, 70, 40), OK);
  CStrStrasse* s = sw.w.Streets()[0];
  ASSERT_EQ(s->SetVelocity(8.5), 0);
  ASSERT_EQ(s->SetCapacity(300), 0);
  // A T junction splits the street in two.
  ASSERT_EQ(sw.w.Build(65, 25, 70, 25), OK);
  CSimTrafficSlot* slot = sw.w.sim->EditingSlot();
  for (auto [y1, y2] : {std::pair{10, 25}, std::pair{25, 40}}) {
    SCOPED_TRACE(testing::Message() << "half " << y1 << " - " << y2);
    CStrStrasse* half = sw.w.StreetBetween(70, y1, 70, y2);
    ASSERT_NE(half, nullptr);
    for (short id : {half->GetSimID(), half->GetSimIDSecond()}) {
      CSimStreet* m = slot->GetStreet(id);
      ASSERT_NE(m, nullptr);
      EXPECT_DOUBLE_EQ(m->Velocity(), 8.5);
      EXPECT_EQ(m->Capacity(), 300);
    }
  }
  // The side street has its type's.
  CStrStrasse* side = sw.w.StreetBetween(65, 25, 70, 25);
  ASSERT_NE(side, nullptr);
  EXPECT_EQ(slot->GetStreet(side->GetSimID())->Capacity(), side->DefaultCapacity());
  // Saved and loaded, the halves keep them.
  for (const std::string& f : CheckRoundTrip(sw)) ADD_FAILURE() << f;
  g_ZorLoadVersion = 0;
}

TEST(EditReplay, AStreetEndingAtADeadEndOfALargerTypeTakesThatType) {
  g_ZorLoadVersion = 240;
  StormWorld sw;
  ASSERT_EQ(sw.w.Build(70, 10, 80, 10, STRASSE_2), OK);
  // Dragged towards the type-2 street's dead end: one street of type 2,
  // with a type-2 end where the drag began.
  ASSERT_EQ(sw.w.Build(90, 10, 80, 10, STRASSE_1), OK);
  ASSERT_EQ(sw.w.Streets().size(), 1u);
  EXPECT_EQ(sw.w.Streets()[0]->GetStreetType(), STRASSE_2);
  ASSERT_NE(sw.w.At(90, 10), nullptr);
  EXPECT_EQ(sw.w.At(90, 10)->GetType(), STRASSE_2);
  for (const std::string& f : sw.checker.Check(sw.w)) ADD_FAILURE() << f;
  g_ZorLoadVersion = 0;
}

// The demand model has given every id up to its highest once, as after a
// long game or a loaded one that holds the highest id: a crossing and a
// street under the highest ids, removed again.
void GiveEveryIdOnce(StormWorld& sw) {
  CSimWelt* sim = sw.w.sim.get();
  const auto a = static_cast<short>(sim->AddCrossing(0));
  ASSERT_EQ(sim->AddCrossing(SHRT_MAX), SHRT_MAX);
  ASSERT_EQ(sim->AddStreet(a, 0, SHRT_MAX, 0, 100, SHRT_MAX), SHRT_MAX);
  ASSERT_TRUE(sim->RemoveStreet(SHRT_MAX));
  ASSERT_TRUE(sim->RemoveCrossing(SHRT_MAX));
  ASSERT_TRUE(sim->RemoveCrossing(a));
}

TEST(EditReplay, StreetsGetIdsAfterTheDemandModelGaveItsHighest) {
  // The long two-way storm's step that built a street without ids, after
  // some twenty thousand steps had given every id once.
  Replay("B 27 9 49 9 2", {OK}, "", GiveEveryIdOnce);
  // Builds, splits, joins and deletions, over and over: every street and
  // junction gets ids of its own, and freed ones are given again.
  std::string text;
  std::vector<int> results;
  for (int i = 0; i < 40; ++i) {
    text += "B 60 10 80 10 2  B 70 4 70 10 1  B 70 10 70 20 3  D 70 4 70 10 1  D 70 10 70 20 3  D 60 10 80 10 2  ";
    results.insert(results.end(), {OK, OK, OK, 0, 0, 0});
  }
  Replay(text, results, "", GiveEveryIdOnce);
}

TEST(EditReplay, ABuildIsRefusedWhenTheDemandModelHasNoIdsLeft) {
  g_ZorLoadVersion = 240;
  StormWorld sw;
  ASSERT_EQ(sw.Apply(Parse("B 60 10 80 10 2")[0]), OK);
  // Every crossing id but a few is taken outside the network.
  CSimWelt* sim = sw.w.sim.get();
  std::vector<short> taken;
  while (sim->HasFreeIds(CStrJunctionList::kBuildCrossingIds - 1, 0)) {
    const int id = sim->AddCrossing(0);
    ASSERT_GT(id, 0);
    taken.push_back(static_cast<short>(id));
  }
  const ByteList before = sw.Record();
  const size_t objects = sw.w.host.objects.size();
  // A T junction on the street and a street out of its end.
  for (const char* step : {"B 70 4 70 10 1", "B 80 10 80 20 1"}) {
    SCOPED_TRACE(step);
    EXPECT_EQ(sw.Apply(Parse(step)[0]), STR_BUILD_NO_IDS);
    EXPECT_EQ(sw.Record(), before) << "a refused step changed the network";
    EXPECT_EQ(sw.w.host.objects.size(), objects) << "a refused step left world objects";
  }
  // With room again, once the hours that held the removed ids are gone,
  // the same drags are built soundly.
  for (short id : taken) ASSERT_TRUE(sim->RemoveCrossing(id));
  EXPECT_EQ(sw.Apply(Parse("B 70 4 70 10 1")[0]), STR_BUILD_NO_IDS);
  TurnHour(sw.w);
  TurnHour(sw.w);
  EXPECT_EQ(sw.Apply(Parse("B 70 4 70 10 1")[0]), OK);
  EXPECT_EQ(sw.Apply(Parse("B 80 10 80 20 1")[0]), OK);
  for (const std::string& f : sw.checker.Check(sw.w)) ADD_FAILURE() << f;
  g_ZorLoadVersion = 0;
}

// Whether a vehicle leaving the junction's cells can reach the other's.
bool LaneLeadsFrom(CStrJunction* from, CStrJunction* to) {
  std::vector<Cell*> open;
  std::set<Cell*> seen;
  CQnoMicroZelle* start = from->GetMicroZelle(static_cast<short>(from->GetXPos()), static_cast<short>(from->GetYPos()));
  CQnoMicroZelle* goal = to->GetMicroZelle(static_cast<short>(to->GetXPos()), static_cast<short>(to->GetYPos()));
  if (!start || !goal) return false;
  for (int i = 0; i < start->GetCount(); ++i) open.push_back(start->GetZelle(i));
  while (!open.empty()) {
    Cell* c = open.back();
    open.pop_back();
    if (goal->Owns(c)) return true;
    for (int k = 0; k < c->m_AnzNachfolger; ++k)
      if (Cell* n = c->m_pNachfolger[k]; n && seen.insert(n).second) open.push_back(n);
  }
  return false;
}

TEST(EditReplay, AOneWayStreetsLaneLeadsFromItsStartToItsEnd) {
  g_ZorLoadVersion = 240;
  {
    // Over a bridge.
    StormWorld sw;
    ASSERT_EQ(sw.w.Build(13, 23, 36, 23, STRASSE_EINBAHN), OK);
    EXPECT_TRUE(LaneLeadsFrom(sw.w.At(13, 23), sw.w.At(36, 23)));
    for (const std::string& f : sw.checker.Check(sw.w)) ADD_FAILURE() << f;
  }
  // Alone, and split by a T junction.
  StormWorld sw;
  ASSERT_EQ(sw.w.Build(47, 26, 47, 43, STRASSE_EINBAHN), OK);
  EXPECT_TRUE(LaneLeadsFrom(sw.w.At(47, 26), sw.w.At(47, 43)));
  EXPECT_FALSE(LaneLeadsFrom(sw.w.At(47, 43), sw.w.At(47, 26))) << "a one-way street leads back";
  ASSERT_EQ(sw.w.Build(12, 29, 47, 29), OK);
  EXPECT_TRUE(LaneLeadsFrom(sw.w.At(47, 26), sw.w.At(47, 29)));
  EXPECT_TRUE(LaneLeadsFrom(sw.w.At(47, 29), sw.w.At(47, 43)));
  EXPECT_TRUE(LaneLeadsFrom(sw.w.At(12, 29), sw.w.At(47, 43)));
  EXPECT_TRUE(LaneLeadsFrom(sw.w.At(47, 26), sw.w.At(12, 29)));
  for (const std::string& f : sw.checker.Check(sw.w)) ADD_FAILURE() << f;
  g_ZorLoadVersion = 0;
}

TEST(EditReplay, AOneWayStreetContinuedPastABendLeadsIntoItsDeadEnd) {
  // The dead end's cells are joined to the bend tile's lane of the street,
  // not to the lane the street does not use.
  Replay("B 10 51 10 40 3  B 10 40 11 40 1", {OK, OK});
  g_ZorLoadVersion = 240;
  StormWorld sw;
  ASSERT_EQ(sw.w.Build(10, 51, 10, 40, STRASSE_EINBAHN), OK);
  ASSERT_EQ(sw.w.Build(10, 40, 11, 40), OK);
  EXPECT_TRUE(LaneLeadsFrom(sw.w.At(10, 51), sw.w.At(11, 40)));
  g_ZorLoadVersion = 0;
}

// The directions the cells of a junction's own tile carry.
std::set<int> CellSimIds(CStrJunction* j) {
  std::set<int> ids;
  CQnoMicroZelle* own = j ? j->GetMicroZelle(static_cast<short>(j->GetXPos()), static_cast<short>(j->GetYPos())) : nullptr;
  for (int i = 0; own && i < own->GetCount(); ++i) ids.insert(own->GetZelle(i)->m_SimID);
  return ids;
}

TEST(EditReplay, AJunctionThatOnlyOneWayStreetsComeIntoEndsTheirWays) {
  // One-way streets in from the north, the south and the east; the
  // two-way street to the west goes last.
  const std::string in = "B 50 20 90 20 1  B 70 10 70 20 3  B 70 30 70 20 3  D 70 20 90 20 1  B 90 20 70 20 3  ";
  Replay(in + "D 50 20 70 20 1", {OK, OK, OK, 0, OK, 0});
  g_ZorLoadVersion = 240;
  StormWorld sw;
  for (const Op& o : Parse(in)) ASSERT_EQ(sw.Apply(o), o.kind == 'B' ? OK : 0) << Format(o);
  // While the two-way street leaves, its direction away runs over the
  // junction's cells.
  CStrStrasse* west = sw.w.StreetBetween(50, 20, 70, 20);
  ASSERT_NE(west, nullptr);
  const int away = west->GetStartJunction() == sw.w.At(70, 20) ? west->GetSimID() : west->GetSimIDSecond();
  EXPECT_TRUE(CellSimIds(sw.w.At(70, 20)).count(away));
  // Once it is gone, no direction leaves: every way ends on the cells.
  ASSERT_EQ(sw.Apply(Parse("D 50 20 70 20 1")[0]), 0);
  ASSERT_NE(sw.w.At(70, 20), nullptr);
  EXPECT_EQ(CellSimIds(sw.w.At(70, 20)), std::set<int>{0});
  for (const std::string& f : sw.checker.Check(sw.w)) ADD_FAILURE() << f;
  g_ZorLoadVersion = 0;
}

TEST(EditReplay, ALaneIntoAJunctionThatOnlyItsOwnStreetLeavesEndsThere) {
  // One-way streets come into 50/29 from the north and the west; the
  // two-way street to the T junction at 51/29, a cell away, is the only
  // way out, and its lane back ends on 50/29's cells. The street beyond
  // 51/29 is split last, so that 51/29 makes its cells again after 50/29
  // closed its turns.
  const std::string steps = "B 49 29 56 29 1  B 50 26 50 29 3  B 43 29 49 29 3  B 51 15 51 29 1  B 55 28 55 29 1";
  Replay(steps, {OK, OK, OK, OK, OK});
  g_ZorLoadVersion = 240;
  StormWorld sw;
  for (const Op& o : Parse(steps)) {
    ASSERT_EQ(sw.Apply(o), OK) << Format(o);
    CStrJunction* from = sw.w.At(51, 29);
    CStrJunction* to = sw.w.At(50, 29);
    if (!from) continue;
    ASSERT_NE(to, nullptr);
    EXPECT_TRUE(junctiontest::Reached(from->GetMicroZelle(51, 29)).count(to->GetMicroZelle(50, 29))) << Format(o);
  }
  g_ZorLoadVersion = 0;
}

TEST(EditReplay, AOneWayDragRetypesADeadEndsStreetOnlyWhereItsFarJunctionHasAGraphic) {
  // The street from the dead end 56/34 meets a four-lane street at 56/25:
  // no graphic has a one-way arm there.
  Replay("B 56 34 56 7 1  B 56 25 17 25 4  B 56 38 56 34 3", {OK, OK, STR_BUILD_NO_GRAPHIC});
  // At a T junction of one-tile streets the arm turns one-way.
  Replay("B 56 34 56 7 1  B 56 25 40 25 1  B 56 38 56 34 3", {OK, OK, OK});
}

// The layouts of a junction's cells, tile by tile.
std::vector<int> CellCounts(CStrJunction* j) {
  std::vector<int> out;
  for (auto* m = j && j->GetMicroZellen() ? j->GetMicroZellen()->GetFirst() : nullptr; m; m = m->pNext)
    out.push_back(m->pZelle ? m->pZelle->GetCount() : -1);
  return out;
}

TEST(EditReplay, AStreetTurnedOneWayRedrawsTheJunctionAtItsFarEnd) {
  // The street from the T junction 27/36 to the dead end 21/36 turns
  // one-way when a one-way drag continues the dead end: the junction shows
  // the graphic with a one-way arm (the checks compare every junction's
  // graphic with its arms), with a one-tile and with a four-lane street
  // through it, and its cells are those a load draws for that graphic.
  for (const char* through : {"B 27 24 27 40 1  ", "B 27 24 27 40 4  "}) {
    const std::string steps = std::string(through) + "B 27 36 21 36 1  B 21 36 21 34 3";
    SCOPED_TRACE(steps);
    Replay(steps, {OK, OK, OK});
    g_ZorLoadVersion = 240;
    StormWorld sw;
    for (const Op& o : Parse(steps)) ASSERT_EQ(sw.Apply(o), OK) << Format(o);
    const int shown = sw.w.At(27, 36)->ArmsGraphic().id;
    const ByteList bytes = sw.Record();
    {
      StormWorld loaded;
      RecordFile f(bytes);
      ASSERT_EQ(loaded.w.net->SerializeGameLoad(f.f()), 0);
      EXPECT_EQ(loaded.w.At(27, 36)->ArmsGraphic().id, shown);
      EXPECT_EQ(CellCounts(loaded.w.At(27, 36)), CellCounts(sw.w.At(27, 36)));
    }
    Rebind(sw.w);
    g_ZorLoadVersion = 0;
  }
  // A two-way street from the T junction 14/57 bent at its dead end 14/59
  // into a drag that takes the one-way type of the dead end 12/59.
  Replay("B 11 57 18 57 3  B 12 59 12 57 3  B 14 57 14 59 1  B 14 59 12 59 1", {OK, OK, OK, OK});
  // The street's type set alone, one-way and back again as a refused
  // edit takes its types back: the junction shows each time the graphic of
  // its arms.
  g_ZorLoadVersion = 240;
  StormWorld sw;
  for (const Op& o : Parse("B 27 24 27 40 1  B 27 36 21 36 1")) ASSERT_EQ(sw.Apply(o), OK) << Format(o);
  CStrStrasse* arm = sw.w.StreetBetween(27, 36, 21, 36);
  ASSERT_NE(arm, nullptr);
  CIsoInfo* tile = sw.w.map->GetIsoInfo(27, 36);
  const int twoWay = tile->GetResID(ISO_LAYER_GROUND);
  for (TStrassenType t : {STRASSE_EINBAHN, STRASSE_1, STRASSE_2}) {
    ASSERT_EQ(arm->SetType(t), 0);
    EXPECT_EQ(tile->GetResID(ISO_LAYER_GROUND) == twoWay, t != STRASSE_EINBAHN) << t;
    EXPECT_EQ(tile->GetResID(ISO_LAYER_GROUND), sw.w.At(27, 36)->ArmsGraphic().id) << t;
  }
  g_ZorLoadVersion = 0;
}

TEST(EditReplay, AOneWayStreetOfOneBridgeTileLeadsOnOverItsOwnLane) {
  // The T junction at 35/44 leaves the piece to 35/46 a single tile, on the
  // bridge over the river along x.
  Replay("B 35 40 35 46 3  B 35 44 38 44 1", {OK, OK});
}

TEST(EditReplay, AOneWayBridgeTileBetweenACrossingAndADeadEndLeadsIntoTheDeadEnd) {
  // The one-way street down to the dead end 26/43 is continued over the
  // street along y = 44 to 26/46: the crossing at 26/44 leaves a street of
  // the one bridge tile 26/45 over the river along x. The dead end was
  // joined to the tile before the crossing gave the lane its id; its lane
  // and the one the crossing leads into are the same.
  const std::string steps =
      "B 26 36 26 43 3  B 20 36 26 36 3  B 20 44 20 36 3  B 14 44 20 44 3  B 20 44 28 44 3  B 28 44 28 48 3  ";
  Replay(steps + "B 26 43 26 46 3", {OK, OK, OK, OK, OK, OK, OK});
  g_ZorLoadVersion = 240;
  StormWorld sw;
  for (const Op& o : Parse(steps + "B 26 43 26 46 3")) ASSERT_EQ(sw.Apply(o), OK) << Format(o);
  EXPECT_TRUE(LaneLeadsFrom(sw.w.At(26, 44), sw.w.At(26, 46)));
  g_ZorLoadVersion = 0;
}

TEST(EditReplay, ADeletionThatWouldJoinStreetsIntoAnArmWithoutAGraphicIsRefused) {
  // Deleting 49/40-48/40 would join the two-way street from 46/40 with the
  // one-way street from 48/46 into one one-way street, whose far end is the
  // four-lane junction at 38/38: no graphic has a one-way arm there.
  Replay("B 38 41 38 28 1  B 46 40 38 40 2  B 38 38 35 38 4  B 38 41 33 41 2  B 46 40 49 40 1  B 48 46 48 40 3  "
         "D 38 40 33 41 2  D 49 40 48 40 2",
         {OK, OK, OK, OK, OK, OK, 0, 3});
}

TEST(EditReplay, ADeletionsTwoJoinsAreCheckedTogether) {
  // Deleting the one-way street 70/30-80/30 joins the two-way streets at
  // 70/30 into one from 70/20 round to 80/30, and that one at 80/30 with the
  // one-way street on to 88/30: the whole becomes one-way, and the
  // four-lane junction at 70/20 would have a one-way arm, which no graphic
  // has. Each join alone keeps a graphic at the far ends it has before.
  const std::string around = "B 70 30 88 30 3  B 80 30 80 40 1  B 70 40 80 40 1  D 70 30 80 30 3";
  Replay("B 60 20 80 20 4  B 70 20 70 40 2  B 70 20 70 10 2  " + around, {OK, OK, OK, OK, OK, OK, 3});
  Replay("B 60 20 80 20 4  B 70 20 70 40 2  " + around, {OK, OK, OK, OK, OK, 3});
  // At a one-tile junction the one-way arm has a graphic.
  Replay("B 60 20 80 20 1  B 70 20 70 40 2  " + around, {OK, OK, OK, OK, OK, 0});
  // Deleting 60/30-70/30 joins the one-way street down into 60/30 with the
  // two-way street from there round to 70/30: one street, one-way into
  // 70/30, where the one-way street down from 70/20 comes in as well. The
  // second join would turn one of them round.
  Replay("B 56 30 74 30 1  B 60 20 60 30 3  B 70 20 70 30 3  B 56 30 56 36 1  B 74 30 74 36 1  B 56 36 74 36 1  "
         "D 60 30 70 30 1",
         {OK, OK, OK, OK, OK, OK, 3});
}

TEST(EditReplay, DeletingAStreetOfBothDirectionsIsRefusedWhenNoWayLeadsBack) {
  // From 27/36 to 21/40 another way leads over the one-way street down from
  // 21/36; none leads back.
  Replay("B 27 24 27 40 4  B 27 36 21 36 1  B 27 40 21 40 4  B 21 36 21 49 3  D 27 36 21 40 4", {OK, OK, OK, OK, 1});
}

TEST(EditReplay, AFourLaneDeadEndIsRefusedWhereItsPieceWouldCoverAStreetsBend) {
  // A four-lane street bends at 27/27 from the west to the south and ends
  // at 27/20 after another bend at 17/20 and one at 17/27. A drag from that
  // end to 27/26 would put the new dead end's piece over the bend's tile,
  // and the lanes coming up from the south would lead nowhere; a tile
  // shorter it keeps off the bend.
  const std::string steps =
      "B 27 24 27 40 4  B 27 24 34 24 4  B 34 24 34 10 4  B 34 10 28 10 4  B 20 27 27 27 4  B 20 27 17 27 4  "
      "D 28 10 27 27 4  B 17 27 17 18 4  B 27 20 17 20 4  D 17 20 17 18 4  ";
  const std::vector<int> built = {OK, OK, OK, OK, OK, OK, 0, OK, OK, 0};
  std::vector<int> results = built;
  results.push_back(STR_BUILD_NO_ROOM);
  Replay(steps + "B 27 20 27 26 4", results);
  results.back() = OK;
  Replay(steps + "B 27 20 27 25 4", results);
}

TEST(EditReplay, ADragThroughAFourLaneDeadEndBesideItsNewEndIsRefused) {
  // The four-lane dead end at 50/20 is a cell after the drag's new end at
  // 49/20: its junction's group would need the new end's cell.
  Replay("B 50 20 50 40 4  B 49 20 60 20 2", {OK, STR_BUILD_NO_ROOM});
  Replay("B 50 20 50 40 4  B 49 20 60 20 1", {OK, STR_BUILD_NO_ROOM});
}

// A four-lane junction's group is drawn over the cells beside its own: a
// street that runs over them without meeting the junction would hide part
// of the group, and the group, drawn again when the junction's streets
// change, would take that street's tiles and cells. Such a drag is
// refused, either way; a cell further off it is built, and so is a street
// into the junction through the group.
TEST(EditReplay, NoStreetRunsOverTheGroupOfAFourLaneJunctionThatItDoesNotMeet) {
  struct Case {
    const char* junction;  // a T junction at 41/22 whose group covers 41..42/22..23
    // A lead to a dead end, and a street of the type from it over the
    // group's free cells; the same a cell further off.
    const char* over;
    const char* after;
    const char* into;  // a four-lane street into the junction through the group
  };
  const Case cases[] = {
      {"B 34 22 50 22 1  B 41 12 41 22 4  ", "B 50 22 50 23 1  B 50 23 36 23", "B 50 22 50 24 1  B 50 24 36 24",
       "B 41 30 41 22 4"},
      {"B 41 12 41 32 1  B 33 22 41 22 4  ", "B 41 32 42 32 1  B 42 32 42 15", "B 41 32 43 32 1  B 43 32 43 15",
       "B 50 22 41 22 4"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.junction);
    Replay(c.junction + std::string(c.into), {OK, OK, OK});
    for (bool reversed : {false, true})
      for (int type : {1, 2}) {
        // The lead, then the street of the type drawn either way.
        auto steps = [&](const char* leadAndStreet) {
          const std::vector<Op> ops = Parse(std::string(leadAndStreet) + " " + std::to_string(type));
          Op o = ops[1];
          if (reversed) o = Op{'B', o.x2, o.y2, o.x1, o.y1, type};
          return c.junction + Format(ops[0]) + "  " + Format(o);
        };
        Replay(steps(c.over), {OK, OK, OK, STR_BUILD_NO_ROOM});
        Replay(steps(c.after), {OK, OK, OK, OK});
      }
  }
}

// An arm that gets no light, a one-way street leaving the junction or a
// one-tile street to a dead end, still shows the light's pictures once, and
// edits after the lights went up do not add more; the lights keep their
// priority arm through a load.
TEST(EditReplay, AnArmWithoutALightShowsItsPicturesOnce) {
  Replay("B 25 15 14 15 3  B 15 15 15 9 1  L 15 15 2 90 32  B 15 9 20 9 1", {OK, OK, 0, OK});
  Replay("B 46 20 46 40 1  B 46 36 47 36 1  L 46 36 2 90 76  B 46 20 50 20 1", {OK, OK, 0, OK});
  // A fourth arm across from the third of a lit T whose straight pair has
  // one light pairs with that third arm.
  Replay("B 41 33 54 33 2  B 53 46 53 33 2  L 53 33 2 70 31  B 53 23 53 33 1", {OK, OK, 0, OK});
  // Lit at once, a crossing whose first opposite pair has an arm without
  // a light (turned one-way out of it) pairs the two arms across.
  Replay("B 36 41 29 41 1  B 33 41 33 54 1  B 33 41 33 35 1  B 29 41 29 40 3  L 33 41 2 100 27", {OK, OK, OK, OK, 0});
}

// A lit junction that a deletion leaves with two streets goes, and its
// lights' pictures with it: on a dead end's cell beyond a one-cell arm, and
// on a four-lane arm's cell that the group of a crossing beside it covers.
// Before, an arm crossed there led nothing in and its light ran no cycle:
// the light across takes the lead, and the arm crossing it turns red.
// One street that leaves a junction at both its ends is two arms that a
// light group, one light a street, cannot tell apart: such a junction
// takes no lights, and a lit one that a join leaves so loses them.
// The priority direction a player sets at a crossing is found by the
// axis its first priority arm leaves by, whichever arm of that axis it is,
// and a load gives the lights that direction again.
// An arm that an edit adds leaves the priority the direction the crossing
// shows, and an arm that an edit leaves leading nothing in leaves the group:
// the lights are those a load builds from the crossing's settings.
TEST(EditReplay, APriorityDirectionSetAtALitCrossingSurvivesALoad) {
  Replay("B 32 11 45 11 3  B 41 11 41 17 3  B 41 17 32 17 1  B 38 17 38 42 3  B 38 17 38 6 3  B 32 17 32 11 3  "
         "L 38 11 2 80 37  P 38 11 1 0 0",
         {OK, OK, OK, OK, OK, OK, 0, 0});
  Replay("B 40 22 40 33 3  B 40 27 14 27 3  L 40 27 2 90 72  B 40 27 45 27 1", {OK, OK, 0, OK});
  Replay("B 15 27 9 27 1  B 12 54 12 27 4  L 12 27 2 100 85  B 12 14 12 27 4  D 15 27 12 27 1  B 21 27 12 27 4",
         {OK, OK, 0, OK, 0, OK});
  Replay("B 40 22 40 33 2  B 40 27 14 27 1  L 40 27 2 90 72  B 40 33 46 33 3", {OK, OK, 0, OK});
  Replay("B 23 57 19 57 3  B 20 57 20 58 3  L 20 57 2 120 59  B 21 57 21 53 3", {OK, OK, 0, OK});
  // A crossing left a T by a deletion gives the priority to its straight
  // pair, as a T's lights put up have it.
  Replay("B 25 38 11 38 1  B 11 38 11 28 2  B 25 38 39 38 2  D 39 38 11 28 2  B 27 40 27 36 4  B 27 38 41 38 2  "
         "B 27 36 27 22 4  L 27 38 2 110 67  B 27 38 25 38 2  D 27 40 27 38 4",
         {OK, OK, OK, 0, OK, OK, OK, 0, OK, 0});
}

// The arms of the priority pair of a lit junction may come to lead
// nothing in: a one-way street leaving it, one cell to a T beside it, or
// short arms under a four-lane junction's group. The lit arms of the other
// pair still turn green and red: they stood at red for good.
TEST(EditReplay, TheOtherArmsOfALitJunctionChangeWhenNoPriorityArmLeadsIn) {
  // The priority arm turned one-way out of the junction.
  Replay("B 41 21 45 21 1  B 42 8 42 21 3  L 42 21 2 90 66  B 45 21 59 21 2  B 59 21 59 19 3", {OK, OK, 0, OK, OK});
  Replay("B 34 24 52 24 3  B 51 22 51 24 2  L 51 24 2 110 49  B 51 28 51 24 1  B 50 23 50 24 2  D 51 24 51 28 1",
         {OK, OK, 0, OK, OK, 0});
  Replay("B 52 22 33 22 4  B 45 17 45 22 1  L 45 22 2 70 66  B 45 20 42 20 4  B 45 24 45 22 1  D 52 22 45 22 4",
         {OK, OK, 0, OK, OK, 0});
}

// The slots of a lit junction's lights hold opposite pairs, the priority
// pair first. A priority arm that goes while no other pair is there leaves
// the priority to the arm across; an arm that comes to a junction whose
// lights a redraw took takes a free slot, not that of an arm waiting for
// its light again.
TEST(EditReplay, TheArmsOfALitJunctionKeepTheirPairsThroughEdits) {
  Replay("B 18 59 18 39 1  B 24 54 18 54 1  B 18 55 21 55 3  B 19 53 18 53 1  L 18 54 2 80 47  B 9 54 18 54 3  "
         "D 9 54 18 54 3",
         {OK, OK, OK, OK, 0, OK, 0});
  Replay("B 48 27 10 27 1  B 47 26 47 27 2  B 45 27 45 34 4  D 45 27 45 34 4  L 47 27 2 80 62  B 48 27 48 26 1  "
         "B 47 27 47 38 1",
         {OK, OK, OK, 0, 0, OK, OK});
  // A drag across the four-lane arm two cells from the lit junction leaves
  // that arm nothing to lead in: its light keeps none of the cells laid
  // before.
  Replay("B 41 19 41 10 1  B 42 18 41 18 2  D 41 19 41 18 1  D 42 18 41 10 2  B 48 42 48 38 2  "
         "B 48 38 48 28 1  D 48 42 48 28 2  B 27 44 7 44 1  B 7 44 7 46 2  B 27 44 27 57 1  D 7 46 27 57 2  "
         "B 41 27 41 39 1  B 41 39 41 58 3  D 41 27 41 58 3  B 39 43 39 55 2  B 39 51 9 51 3  "
         "B 39 55 42 55 3  B 26 55 39 55 3  B 34 51 34 55 4  D 39 51 39 55 3  B 42 55 45 55 2  "
         "B 45 55 45 40 3  L 34 55 2 100 76  B 45 53 47 53 1  B 45 53 29 53 1",
         {OK, OK, 0, 0, OK, OK, 0, OK, OK, OK, 0, OK, OK, 0, OK, OK, OK, OK, OK, 0, OK, OK, 0, OK, OK});
}

TEST(EditReplay, AJunctionLeftByOneStreetAtBothEndsHasNoLights) {
  Replay("B 5 32 5 10 2  B 5 10 6 10 1  B 6 10 6 13 1  B 6 13 5 13 2  L 5 13 2 110 42", {OK, OK, OK, OK, 1});
  Replay("B 5 32 5 10 2  B 5 13 7 13 2  L 5 13 2 110 42  B 7 13 7 10 2  B 7 10 5 10 2", {OK, OK, 0, OK, OK});
}

TEST(EditReplay, LightsGoWithAJunctionLeftWithTwoStreets) {
  Replay("B 33 29 33 9 2  B 35 10 33 10 2  L 33 10 2 60 53  D 35 10 33 10 2", {OK, OK, 0, 0});
  Replay("B 15 21 40 21 4  B 25 24 25 21 1  B 25 24 23 24 1  L 25 21 2 70 55  B 23 24 23 11 1  D 23 21 25 21 1",
         {OK, OK, OK, 0, OK, 0});
  // A T three cells along a four-lane street from a lit one goes: the
  // joined street's cells beside the lit junction are laid anew, and its
  // lights lock them.
  Replay("B 15 21 40 21 4  B 34 21 34 7 4  B 37 18 37 21 4  L 37 21 2 60 24  D 34 21 34 7 4", {OK, OK, OK, 0, 0});
}

TEST(EditReplay, AnEmptyNetworkHasNoNearestCrossing) {
  StormWorld sw;
  int dist = 0;
  CStrJunction* j = nullptr;
  EXPECT_EQ(sw.w.net->GetNearestCrossing(20, 20, &dist, 0, &j), 0);
  EXPECT_EQ(j, nullptr);
}

}  // namespace
