// Ways between junctions: the shortest way over street grids (two-way,
// one-way and dead ends) against a plain Dijkstra over the same graph, the
// check whether two junctions stay joined without a street, and the
// deletions that check refuses.
#include <gtest/gtest.h>

#include <vector>

#include "junction_scene.h"
#include "way_yardstick.h"

namespace {

using namespace junctiontest;

constexpr int kOrigin = 10;
constexpr int kStep = 4;

int Node(int i) { return kOrigin + kStep * i; }

// A grid of k x k nodes built row by row, then the columns; the corners
// are bends. Columns listed in `oneWayDown` run one-way towards larger y.
void BuildGrid(World& w, int k, const std::vector<int>& oneWayDown = {}) {
  auto columnType = [&](int i) {
    for (int c : oneWayDown)
      if (c == i) return STRASSE_EINBAHN;
    return STRASSE_1;
  };
  for (int j = 0; j < k; ++j)
    for (int i = 0; i + 1 < k; ++i) {
      if (j > 0 && i == 0) {
        ASSERT_EQ(w.Build(Node(0), Node(j - 1), Node(0), Node(j), columnType(0)), STR_BUILD_OK);
      }
      ASSERT_EQ(w.Build(Node(i), Node(j), Node(i + 1), Node(j)), STR_BUILD_OK);
    }
  for (int i = 1; i < k; ++i)
    for (int j = 0; j + 1 < k; ++j)
      ASSERT_EQ(w.Build(Node(i), Node(j), Node(i), Node(j + 1), columnType(i)), STR_BUILD_OK);
}

// After every search no street is marked and no junction labelled.
void ExpectClean(World& w) {
  for (CZorvaObject* o = w.net->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    EXPECT_EQ(j->GetLengthFromStart(), -1);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) EXPECT_EQ(j->GetStreetByNR(i)->GetMarkBits(), 0u);
  }
}

// Searches from a to b and holds the way to the yardstick: the ids lead
// from a to b and cost what the cheapest way costs.
void ExpectShortest(World& w, CStrJunction* a, CStrJunction* b) {
  ASSERT_TRUE(a && b);
  const waytest::Graph graph(*w.net);
  short ids[801];
  int count = -7;
  ASSERT_EQ(w.net->GetWayFromJunctionToJunction(a, b, ids, &count, 801), 0);
  const int cost = graph.Cost(a, b);
  ASSERT_GE(cost, 0);
  ASSERT_GE(count, 0);
  EXPECT_EQ(graph.Replay(a, b, ids, count), cost) << "from " << a->GetXPos() << "/" << a->GetYPos() << " to "
                                                   << b->GetXPos() << "/" << b->GetYPos();
  ExpectClean(w);
}

TEST(JunctionWay, EveryPairOfAGridFindsItsCheapestWay) {
  World w;
  BuildGrid(w, 5);
  std::vector<CStrJunction*> js;
  for (CZorvaObject* o = w.net->GetHead(); o; o = o->GetNext()) js.push_back(static_cast<CStrJunction*>(o));
  ASSERT_EQ(js.size(), 21u);
  for (CStrJunction* a : js)
    for (CStrJunction* b : js) ExpectShortest(w, a, b);
}

TEST(JunctionWay, AJunctionToItselfIsAnEmptyWay) {
  World w;
  BuildGrid(w, 3);
  short ids[4] = {9, 9, 9, 9};
  int count = -7;
  CStrJunction* j = w.At(Node(1), Node(1));
  EXPECT_EQ(w.net->GetWayFromJunctionToJunction(j, j, ids, &count, 4), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(ids[0], 9);
}

TEST(JunctionWay, OneWayStreetsAreWalkedOnlyTheirWay) {
  World w;
  // Columns 1 and 3 run one-way downwards.
  BuildGrid(w, 5, {1, 3});
  CStrJunction* top = w.At(Node(1), Node(0));
  CStrJunction* below = w.At(Node(1), Node(1));
  const waytest::Graph graph(*w.net);
  short ids[801];
  int count = 0;
  // Down the one-way column: the street itself.
  ASSERT_EQ(w.net->GetWayFromJunctionToJunction(top, below, ids, &count, 801), 0);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(ids[0], w.StreetBetween(Node(1), Node(0), Node(1), Node(1))->GetSimID());
  // Up against it: round by the grid's first column, whose corner is a
  // bend, so two streets, and never the one-way street's id.
  ASSERT_EQ(w.net->GetWayFromJunctionToJunction(below, top, ids, &count, 801), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(graph.Replay(below, top, ids, count), graph.Cost(below, top));
  const short oneWay = w.StreetBetween(Node(1), Node(0), Node(1), Node(1))->GetSimID();
  for (int k = 0; k < count; ++k) EXPECT_NE(ids[k], oneWay);
  // Every pair, the ends of the one-way streets among them: standing where
  // a one-way street ends, the search passes over its missing way back.
  std::vector<CStrJunction*> js;
  for (CZorvaObject* o = w.net->GetHead(); o; o = o->GetNext()) js.push_back(static_cast<CStrJunction*>(o));
  for (CStrJunction* a : js)
    for (CStrJunction* b : js) ExpectShortest(w, a, b);
}

TEST(JunctionWay, DeadEndsAreReachedAndLeft) {
  World w;
  BuildGrid(w, 3);
  // A stub out of the grid's middle row.
  ASSERT_EQ(w.Build(Node(2), Node(1), Node(2) + 6, Node(1)), STR_BUILD_OK);
  CStrJunction* end = w.At(Node(2) + 6, Node(1));
  ASSERT_TRUE(end);
  ASSERT_EQ(end->GetAnzLinkedStreets(), 1);
  ExpectShortest(w, w.At(Node(0), Node(1)), end);
  ExpectShortest(w, end, w.At(Node(1), Node(0)));
}

TEST(JunctionWay, NoWayLeavesTheCallersIdsAlone) {
  World w;
  // A one-way street has no way back.
  ASSERT_EQ(w.Build(10, 10, 20, 10), STR_BUILD_OK);
  ASSERT_EQ(w.Build(20, 10, 30, 10, STRASSE_EINBAHN), STR_BUILD_OK);
  short ids[4] = {5, 5, 5, 5};
  int count = -7;
  EXPECT_EQ(w.net->GetWayFromJunctionToJunction(w.At(30, 10), w.At(10, 10), ids, &count, 4), 0);
  EXPECT_EQ(count, -7);
  EXPECT_EQ(ids[0], 5);
  ExpectClean(w);
  EXPECT_EQ(w.net->GetWayFromJunctionToJunction(w.At(10, 10), w.At(30, 10), ids, &count, 4), 0);
  EXPECT_GT(count, 0);
  EXPECT_EQ(waytest::Graph(*w.net).Replay(w.At(10, 10), w.At(30, 10), ids, count), 2000);
}

TEST(JunctionWay, AWayLongerThanTheCallersArrayIsGivenUp) {
  World w;
  BuildGrid(w, 4);
  CStrJunction* a = w.At(Node(0), Node(1));
  CStrJunction* b = w.At(Node(3), Node(2));
  short ids[8] = {};
  int count = -7;
  // The cheapest way has four streets: three ids are too few.
  EXPECT_EQ(w.net->GetWayFromJunctionToJunction(a, b, ids, &count, 3), 1);
  EXPECT_EQ(count, -7);
  EXPECT_EQ(ids[0], 0);
  EXPECT_EQ(w.net->GetWayFromJunctionToJunction(a, b, ids, &count, 4), 0);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(w.net->GetWayFromJunctionToJunction(nullptr, b, ids, &count, 4), 1);
  EXPECT_EQ(w.net->GetWayFromJunctionToJunction(a, nullptr, ids, &count, 4), 1);
  ExpectClean(w);
}

TEST(JunctionWay, ASearchStartsAndEndsWithEveryMarkCleared) {
  World w;
  BuildGrid(w, 3);
  CStrJunction* a = w.At(Node(1), Node(0));
  CStrJunction* b = w.At(Node(1), Node(1));
  CStrStrasse* direct = w.StreetBetween(Node(1), Node(0), Node(1), Node(1));
  ASSERT_TRUE(direct);
  // A mark left over from elsewhere does not hide the street.
  direct->SetMarkBits(3);
  a->SetLengthFromStart(5);
  short ids[8];
  int count = 0;
  ASSERT_EQ(w.net->GetWayFromJunctionToJunction(a, b, ids, &count, 8), 0);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(ids[0], direct->GetSimID());
  ExpectClean(w);
  direct->SetMarkBits(2);
  EXPECT_EQ(w.net->CheckForWayFromJunctionToJunction(b, a, w.StreetBetween(Node(0), Node(1), Node(1), Node(1))), 0);
  ExpectClean(w);
}

TEST(JunctionWay, TheCheckFindsOnlyWaysWithoutTheStreet) {
  World w;
  BuildGrid(w, 3);
  ASSERT_EQ(w.Build(Node(2), Node(1), Node(2) + 6, Node(1)), STR_BUILD_OK);
  CStrJunction* a = w.At(Node(1), Node(0));
  CStrJunction* b = w.At(Node(1), Node(1));
  CStrJunction* end = w.At(Node(2) + 6, Node(1));
  CStrStrasse* inner = w.StreetBetween(Node(1), Node(0), Node(1), Node(1));
  CStrStrasse* stub = w.StreetBetween(Node(2), Node(1), Node(2) + 6, Node(1));
  ASSERT_TRUE(a && b && end && inner && stub);
  // One of two connections: a way remains, either way round.
  EXPECT_EQ(w.net->CheckForWayFromJunctionToJunction(a, b, inner), 0);
  EXPECT_EQ(w.net->CheckForWayFromJunctionToJunction(b, a, inner), 0);
  // The only street to the stub's end.
  EXPECT_EQ(w.net->CheckForWayFromJunctionToJunction(w.At(Node(2), Node(1)), end, stub), 1);
  EXPECT_EQ(w.net->CheckForWayFromJunctionToJunction(a, end, stub), 1);
  EXPECT_EQ(w.net->CheckForWayFromJunctionToJunction(a, end, inner), 0);
  EXPECT_EQ(w.net->CheckForWayFromJunctionToJunction(a, b, nullptr), 1);
  EXPECT_EQ(w.net->CheckForWayFromJunctionToJunction(nullptr, b, inner), 1);
  ExpectClean(w);
}

// A one-way street's end junction: the check stands there, passes over the
// street's missing way back and goes on (the search is not given up).
TEST(JunctionWay, TheCheckGoesOnPastTheEndOfAOneWayStreet) {
  World w;
  BuildGrid(w, 3, {1});
  CStrJunction* below = w.At(Node(1), Node(1));
  CStrJunction* top = w.At(Node(1), Node(0));
  CStrStrasse* oneWay = w.StreetBetween(Node(1), Node(0), Node(1), Node(1));
  ASSERT_TRUE(oneWay);
  ASSERT_EQ(oneWay->GetEndJunction(), below);
  CStrStrasse* row = w.StreetBetween(Node(0), Node(1), Node(1), Node(1));
  ASSERT_TRUE(row);
  EXPECT_EQ(w.net->CheckForWayFromJunctionToJunction(below, top, row), 0);
  EXPECT_EQ(w.net->CheckForWayFromJunctionToJunction(top, below, oneWay), 0);
  ExpectClean(w);
}

// Deleting a street that holds two parts of the network together is
// refused and changes nothing; deleting one of two connections is done.
TEST(JunctionWay, ACuttingDeletionIsRefused) {
  World w;
  BuildGrid(w, 3);
  // A second block hangs on one street: (Node2, Node1) east to a square.
  const int x0 = Node(2) + 6, x1 = x0 + 6;
  ASSERT_EQ(w.Build(Node(2), Node(1), x0, Node(1)), STR_BUILD_OK);
  ASSERT_EQ(w.Build(x0, Node(1), x1, Node(1)), STR_BUILD_OK);
  ASSERT_EQ(w.Build(x0, Node(1), x0, Node(2)), STR_BUILD_OK);
  ASSERT_EQ(w.Build(x0, Node(2), x1, Node(2)), STR_BUILD_OK);
  ASSERT_EQ(w.Build(x1, Node(2), x1, Node(1)), STR_BUILD_OK);
  CStrStrasse* link = w.StreetBetween(Node(2), Node(1), x0, Node(1));
  ASSERT_TRUE(link);
  ASSERT_GT(link->GetStartJunction()->GetAnzLinkedStreets(), 1);
  ASSERT_GT(link->GetEndJunction()->GetAnzLinkedStreets(), 1);
  const int junctions = w.Junctions();
  const size_t streets = w.Streets().size();
  EXPECT_EQ(w.net->DeleteStreet(link), 1);
  EXPECT_EQ(w.Junctions(), junctions);
  EXPECT_EQ(w.Streets().size(), streets);
  EXPECT_EQ(w.StreetBetween(Node(2), Node(1), x0, Node(1)), link);
  ExpectConsistent(w);
  ExpectClean(w);
  // A street of the grid has a way round it.
  CStrStrasse* inner = w.StreetBetween(Node(1), Node(0), Node(1), Node(1));
  ASSERT_TRUE(inner);
  EXPECT_EQ(w.net->DeleteStreet(inner), 0);
  EXPECT_EQ(w.StreetBetween(Node(1), Node(0), Node(1), Node(1)), nullptr);
  // Its end at the grid's edge had two streets left and joins them.
  EXPECT_EQ(w.Junctions(), junctions - 1);
  ExpectConsistent(w);
}

}  // namespace
