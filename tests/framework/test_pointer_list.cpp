#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "framework/zor_pointer_list.h"
#include "test_objects.h"

namespace {

std::vector<int> Walk(CZorvaList& list, ListRichtungsType dir = 0) {
  std::vector<int> v;
  list.SetupZorvaCount(dir);
  while (CZorvaObject* o = list.GetNextZorva()) v.push_back(static_cast<TestThing*>(o)->value);
  return v;
}

struct FakeLocation {
  int lists = 0;
  int searches = 0;
  int id = 0;
  void IncrementListNumber() { ++lists; }
  void DecrementListNumber() { --lists; }
  void SearchNextBestCrossing() { ++searches; }
};
using FakeLocationList = CLocationListT<FakeLocation>;

}  // namespace

TEST(PointerList, SortKeysOrderAndNegativeKeysGoToTheEnds) {
  TestThing a, b, c, d, e;
  a.value = 51;
  b.value = 3;
  c.value = 52;
  d.value = -1;
  e.value = -2;
  CZorvaList list;
  list.Create();
  list.AddTailZorva(&a, 5);
  list.AddTailZorva(&b, 3);
  list.AddTailZorva(&c, 5);
  EXPECT_EQ(Walk(list), (std::vector<int>{3, 52, 51}));
  list.AddTailZorva(&d, -1);
  list.AddHeadZorva(&e, -1);
  EXPECT_EQ(Walk(list), (std::vector<int>{-2, 3, 52, 51, -1}));
  EXPECT_EQ(Walk(list, 1), (std::vector<int>{-1, 51, 52, 3, -2}));
  EXPECT_EQ(list.GetCount(), 5);
}

TEST(PointerList, EmptyWalkAndRemovals) {
  TestThing a, b, c;
  a.value = 1;
  b.value = 2;
  c.value = 3;
  CZorvaList list;
  list.Create();
  list.SetupZorvaCount(0);
  EXPECT_EQ(list.GetNextZorva(), nullptr);
  list.AddTailZorva(&a);
  list.AddTailZorva(&b);
  list.AddTailZorva(&c);
  EXPECT_EQ(list.CheckZorvaInList(&b), 0);
  EXPECT_EQ(list.RemoveZorva(&b), 0);
  EXPECT_EQ(list.RemoveZorva(&b), 1);
  EXPECT_EQ(list.CheckZorvaInList(&b), 1);
  EXPECT_EQ(list.CheckPointerInList(list.GetHeadZorvaPointer()), 0);
  EXPECT_EQ(list.RemoveHeadZorva(true), &a);
  EXPECT_EQ(list.RemoveTailZorva(false), nullptr);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.RemoveHeadZorva(true), nullptr);
}

TEST(PointerList, RemovingDuringAWalkIsSafe) {
  TestThing t[4];
  CZorvaList list;
  list.Create();
  for (int i = 0; i < 4; ++i) {
    t[i].value = i;
    list.AddTailZorva(&t[i]);
  }
  std::vector<int> seen;
  list.SetupZorvaCount(0);
  while (CZorvaObject* o = list.GetNextZorva()) {
    const int v = static_cast<TestThing*>(o)->value;
    seen.push_back(v);
    list.RemoveZorva(o);                            // the one just returned
    if (v == 1) list.RemoveZorva(&t[2]);             // the one the cursor points at
  }
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 3}));
  EXPECT_EQ(list.GetCount(), 0);
}

// An indexed list answers every operation as a plain one does, as long as
// it holds each object once; a second add of an object is refused.
TEST(PointerList, AnIndexedListAnswersAsAPlainOneAndHoldsEachObjectOnce) {
  TestThing t[6];
  for (int i = 0; i < 6; ++i) t[i].value = i;
  CZorvaList plain, indexed(1, true);
  std::vector<int> walks[2];
  int n = 0;
  for (CZorvaList* list : {&plain, &indexed}) {
    list->Create();
    list->AddTailZorva(&t[0]);
    list->AddHeadZorva(&t[1]);
    list->AddTailZorva(&t[2], 4);
    list->AddTailZorva(&t[3], 2);
    list->AddHeadZorva(&t[4]);
    EXPECT_EQ(list->RemoveZorva(&t[0]), 0);
    EXPECT_EQ(list->RemoveZorva(&t[0]), 1);
    EXPECT_EQ(list->CheckZorvaInList(&t[0]), 1);
    EXPECT_EQ(list->CheckZorvaInList(&t[3]), 0);
    EXPECT_EQ(list->RemoveHeadZorva(true), &t[4]);
    EXPECT_EQ(list->CheckZorvaInList(&t[4]), 1);
    list->AddTailZorva(&t[0]);
    EXPECT_EQ(list->RemoveTailZorva(true), &t[0]);
    EXPECT_EQ(list->CheckZorvaInList(&t[0]), 1);
    list->AddTailZorva(&t[5]);
    walks[n++] = Walk(*list);
  }
  EXPECT_EQ(walks[0], walks[1]);
  EXPECT_EQ(walks[1], (std::vector<int>{1, 3, 2, 5}));
  EXPECT_EQ(plain.AddTailZorva(&t[5]), 0);
  EXPECT_EQ(indexed.AddTailZorva(&t[5]), 1);
  EXPECT_EQ(indexed.AddHeadZorva(&t[1], 3), 1);
  EXPECT_EQ(indexed.GetCount(), 4);
  EXPECT_EQ(indexed.RemoveZorva(&t[5]), 0);
  EXPECT_EQ(indexed.AddHeadZorva(&t[5]), 0);
  EXPECT_EQ(Walk(indexed), (std::vector<int>{5, 1, 3, 2}));
  // Emptied, it finds nothing it held.
  indexed.Destroy();
  for (TestThing& thing : t) EXPECT_EQ(indexed.CheckZorvaInList(&thing), 1);
  EXPECT_EQ(indexed.AddTailZorva(&t[1]), 0);
  EXPECT_EQ(indexed.CheckZorvaInList(&t[1]), 0);
}

TEST(PointerList, ObjectsThatComeAndGoByTheHundredAreHeldAndFoundAsEver) {
  // The nodes of objects that left serve the next ones: more than the
  // spares kept go at once, objects come back, and an object held already
  // is refused while spares wait.
  constexpr int kThings = 700;
  std::vector<TestThing> t(kThings);
  for (int i = 0; i < kThings; ++i) t[static_cast<size_t>(i)].value = i;
  CZorvaList plain(0), indexed(0, true);
  std::vector<int> held;  // the expected walk, head first
  uint32_t bits = 12345u;
  for (int round = 0; round < 6; ++round) {
    // Add up to 600 objects at the head, then take most of them away again
    // in a scattered order.
    for (int i = 0; i < 600; ++i) {
      bits = bits * 1664525u + 1013904223u;
      const int k = static_cast<int>(bits >> 8) % kThings;
      const bool fresh = std::find(held.begin(), held.end(), k) == held.end();
      EXPECT_EQ(indexed.AddHeadZorva(&t[static_cast<size_t>(k)]), fresh ? 0 : 1) << k;
      if (!fresh) continue;
      plain.AddHeadZorva(&t[static_cast<size_t>(k)]);
      held.insert(held.begin(), k);
    }
    for (int i = 0; i < 500 && !held.empty(); ++i) {
      bits = bits * 1664525u + 1013904223u;
      const size_t at = (bits >> 8) % held.size();
      CZorvaObject* o = &t[static_cast<size_t>(held[at])];
      EXPECT_EQ(plain.RemoveZorva(o), 0);
      EXPECT_EQ(indexed.RemoveZorva(o), 0);
      EXPECT_EQ(indexed.RemoveZorva(o), 1);
      held.erase(held.begin() + static_cast<ptrdiff_t>(at));
    }
    ASSERT_EQ(Walk(plain), held) << "round " << round;
    ASSERT_EQ(Walk(indexed), held) << "round " << round;
    for (int k = 0; k < kThings; ++k) {
      const bool in = std::find(held.begin(), held.end(), k) != held.end();
      ASSERT_EQ(indexed.CheckZorvaInList(&t[static_cast<size_t>(k)]), in ? 0 : 1) << "round " << round << " " << k;
    }
  }
  plain.Destroy();
  indexed.Destroy();
  EXPECT_EQ(indexed.GetCount(), 0);
  EXPECT_EQ(indexed.AddTailZorva(&t[3]), 0);
  EXPECT_EQ(indexed.AddTailZorva(&t[3]), 1);
  EXPECT_EQ(Walk(indexed), (std::vector<int>{3}));
  // A node that held a key holds none when it serves an object without.
  for (CZorvaList* list : {&plain, &indexed}) {
    list->Destroy();
    list->AddHeadZorva(&t[1], 5);
    list->RemoveZorva(&t[1]);
    list->AddHeadZorva(&t[2]);
    list->AddHeadZorva(&t[4], 0);
    EXPECT_EQ(Walk(*list), (std::vector<int>{2, 4}));
  }
}

TEST(PointerList, CopyReversesInFrontOfTarget) {
  TestThing a, b, c, x;
  a.value = 1;
  b.value = 2;
  c.value = 3;
  x.value = 9;
  CZorvaList src, dst;
  src.Create();
  dst.Create();
  src.AddTailZorva(&a);
  src.AddTailZorva(&b);
  src.AddTailZorva(&c);
  dst.AddTailZorva(&x);
  EXPECT_TRUE(src.Copy(&dst));
  EXPECT_EQ(Walk(dst), (std::vector<int>{3, 2, 1, 9}));
  EXPECT_EQ(Walk(src), (std::vector<int>{1, 2, 3}));
}

TEST(PointerList, NonOwningListLeavesObjectsAlive) {
  TestThing::destroyed = 0;
  TestThing a;
  {
    CZorvaList list(0);
    list.Create();
    list.AddTailZorva(&a);
  }
  {
    CZorvaList list(1);
    list.Create();
    list.AddTailZorva(&a);
  }
  EXPECT_EQ(TestThing::destroyed, 0);
}

TEST(LocationList, MembershipCountersFollowNonOwningLists) {
  FakeLocation loc;
  FakeLocationList one(0, 0), two(0, 0);
  one.Create();
  two.Create();
  one.AddHeadLocation(&loc);
  two.AddHeadLocation(&loc);
  EXPECT_EQ(loc.lists, 2);
  EXPECT_EQ(one.RemoveLocation(&loc), 0);
  EXPECT_EQ(loc.lists, 1);
  EXPECT_EQ(one.RemoveLocation(&loc), 1);
  EXPECT_EQ(loc.lists, 1);
  // An owning list leaves the counters alone.
  FakeLocation other;
  {
    FakeLocationList owning(1, 0);
    owning.Create();
    owning.AddHeadLocation(&other);
  }
  EXPECT_EQ(other.lists, 0);
}

TEST(LocationList, DestroyWithMessageAsksEveryLocationFromTheHead) {
  FakeLocation locs[3];
  std::vector<int> order;
  FakeLocationList list(1, 1);
  list.Create();
  for (int i = 0; i < 3; ++i) {
    locs[i].id = i;
    list.AddHeadLocation(&locs[i]);
  }
  list.SetupLocationCount(0);
  std::vector<int> walk;
  while (FakeLocation* l = list.GetNextLocation()) walk.push_back(l->id);
  EXPECT_EQ(walk, (std::vector<int>{2, 1, 0}));
  FakeLocationList copy(0, 0);
  copy.Create();
  list.Copy(&copy);
  copy.SetupLocationCount(0);
  walk.clear();
  while (FakeLocation* l = copy.GetNextLocation()) walk.push_back(l->id);
  EXPECT_EQ(walk, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(list.Destroy(), 0);
  for (const FakeLocation& l : locs) EXPECT_EQ(l.searches, 1);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetNextLocation(), nullptr);
}

TEST(PointerList, KeyZeroIsAKeyAndEqualKeysStandNewestFirst) {
  TestThing unkeyed, first, second, five;
  unkeyed.value = -1;
  first.value = 1;
  second.value = 2;
  five.value = 5;
  CZorvaList list;
  EXPECT_EQ(list.AddHeadZorva(&unkeyed, -1), 0);
  // No node has a key yet: a keyed node goes to the tail, even from the head.
  EXPECT_EQ(list.AddHeadZorva(&first, 0), 0);
  EXPECT_EQ(Walk(list), (std::vector<int>{-1, 1}));
  EXPECT_EQ(list.AddTailZorva(&five, 5), 0);
  EXPECT_EQ(list.AddTailZorva(&second, 0), 0);
  EXPECT_EQ(Walk(list), (std::vector<int>{-1, 2, 1, 5}));
  EXPECT_EQ(list.GetHeadZorvaPointer()->GetKey(), -1);
  EXPECT_EQ(list.GetTailZorvaPointer()->GetKey(), 5);
  EXPECT_EQ(list.GetTailZorvaPointer()->GetPrevZorvaPointer()->GetZorvaObject(), &first);
}

TEST(PointerList, RemovingDuringABackwardWalkIsSafe) {
  TestThing t[5];
  CZorvaList list;
  for (int i = 0; i < 5; ++i) {
    t[i].value = i;
    list.AddTailZorva(&t[i]);
  }
  std::vector<int> seen;
  list.SetupZorvaCount(1);
  while (CZorvaObject* o = list.GetNextZorva()) {
    const int v = static_cast<TestThing*>(o)->value;
    seen.push_back(v);
    if (v == 4) list.RemoveZorva(&t[3]);          // the one the cursor points at
    if (v == 2) list.RemoveHeadZorva(false);      // the last one, still to come
  }
  EXPECT_EQ(seen, (std::vector<int>{4, 2, 1}));
  EXPECT_EQ(Walk(list), (std::vector<int>{1, 2, 4}));
  // The walk has ended; the cursor stays at the end until set up again.
  EXPECT_EQ(list.GetNextZorva(), nullptr);
}

TEST(PointerList, OnlyTheFirstNodeOfAnObjectIsRemovedAndNodesAreTheListsOwn) {
  TestThing a, b;
  a.value = 1;
  b.value = 2;
  CZorvaList list, other;
  list.AddTailZorva(&a);
  list.AddTailZorva(&b);
  list.AddTailZorva(&a);
  EXPECT_EQ(list.RemoveZorva(&a), 0);
  EXPECT_EQ(Walk(list), (std::vector<int>{2, 1}));
  EXPECT_EQ(list.CheckZorvaInList(&a), 0);
  other.AddTailZorva(&a);
  EXPECT_EQ(list.CheckPointerInList(list.GetTailZorvaPointer()), 0);
  EXPECT_EQ(list.CheckPointerInList(other.GetHeadZorvaPointer()), 1);
  EXPECT_EQ(list.CheckPointerInList(nullptr), 1);
  EXPECT_EQ(list.RemoveTailZorva(true), &a);
  EXPECT_EQ(list.CheckZorvaInList(&a), 1);
  EXPECT_EQ(other.CheckZorvaInList(&a), 0);
  EXPECT_EQ(list.AddTailZorva(&a), 0);
  EXPECT_EQ(list.Destroy(), 0);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetHeadZorvaPointer(), nullptr);
}

TEST(LocationList, RemovingDuringAWalkMovesTheCursorOnInEitherDirection) {
  FakeLocation locs[4];
  FakeLocationList list(0, 0);
  for (int i = 0; i < 4; ++i) {
    locs[i].id = i;
    list.AddHeadLocation(&locs[i]);  // 3 2 1 0
  }
  std::vector<int> walk;
  list.SetupLocationCount(0);
  while (FakeLocation* l = list.GetNextLocation()) {
    walk.push_back(l->id);
    if (l->id == 3) list.RemoveLocation(&locs[2]);
  }
  EXPECT_EQ(walk, (std::vector<int>{3, 1, 0}));
  walk.clear();
  list.SetupLocationCount(1);
  while (FakeLocation* l = list.GetNextLocation()) {
    walk.push_back(l->id);
    if (l->id == 0) list.RemoveLocation(&locs[1]);
  }
  EXPECT_EQ(walk, (std::vector<int>{0, 3}));
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(locs[1].lists, 0);
  EXPECT_EQ(locs[3].lists, 1);
}

TEST(LocationList, DestroyLowersCountersButTheDestructorOnlyForgets) {
  FakeLocation a, b;
  {
    FakeLocationList list(0, 0);
    list.AddHeadLocation(&a);
    list.AddHeadLocation(&b);
    EXPECT_EQ(list.RemoveHeadLocation(), &b);
    EXPECT_EQ(b.lists, 0);
    list.AddHeadLocation(&b);
    EXPECT_EQ(list.Destroy(), 0);
    EXPECT_EQ(list.RemoveHeadLocation(), nullptr);
    EXPECT_EQ(a.lists, 0);
    EXPECT_EQ(b.lists, 0);
    EXPECT_EQ(a.searches + b.searches, 0);  // no message asked for
    list.AddHeadLocation(&a);
  }
  // Destroyed with a node left: the counter stays raised.
  EXPECT_EQ(a.lists, 1);
  EXPECT_EQ(a.searches, 0);
}
