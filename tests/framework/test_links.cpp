#include <gtest/gtest.h>

#include <vector>

#include "framework/zor_links.h"
#include "test_objects.h"

namespace {

struct Node {
  int id = 0;
  Node* m_prev = nullptr;
  Node* m_next = nullptr;
};
using Links = CZorvaLinks<Node, ZorLinkFields<Node>>;

// The ids from the head, after checking that walking back from the tail
// meets the same nodes and that the count agrees.
std::vector<int> Ids(const Links& links) {
  std::vector<int> forward, backward;
  for (Node* n = links.GetHead(); n; n = Links::Next(n)) forward.push_back(n->id);
  for (Node* n = links.GetTail(); n; n = Links::Prev(n)) backward.insert(backward.begin(), n->id);
  EXPECT_EQ(forward, backward);
  EXPECT_EQ(links.GetCount(), static_cast<int>(forward.size()));
  EXPECT_EQ(links.IsEmpty(), forward.empty());
  return forward;
}

std::vector<int> Walk(Links& links, int direction) {
  std::vector<int> ids;
  links.SetupWalk(direction);
  while (Node* n = links.WalkNext()) ids.push_back(n->id);
  return ids;
}

struct LinksTest : testing::Test {
  Node n[5];
  Links links;
  void SetUp() override {
    for (int i = 0; i < 5; ++i) n[i].id = i;
  }
  // 0 1 2 3 4
  void LinkAll() {
    for (Node& node : n) links.LinkTail(&node);
  }
};

}  // namespace

TEST_F(LinksTest, EmptyListHasNothingToWalkFindOrTurn) {
  EXPECT_EQ(links.GetHead(), nullptr);
  EXPECT_EQ(links.GetTail(), nullptr);
  EXPECT_EQ(Ids(links), std::vector<int>{});
  EXPECT_EQ(Walk(links, 0), std::vector<int>{});
  EXPECT_EQ(Walk(links, 1), std::vector<int>{});
  EXPECT_EQ(links.WalkNext(), nullptr);
  EXPECT_FALSE(links.Contains(nullptr));
  EXPECT_FALSE(links.Contains(&n[0]));
  EXPECT_EQ(links.Find([](const Node*) { return true; }), nullptr);
  links.Reverse();
  EXPECT_EQ(Ids(links), std::vector<int>{});
}

TEST_F(LinksTest, SingleNodeIsHeadAndTailAndLeavesNoLinksBehind) {
  links.LinkHead(&n[0]);
  EXPECT_EQ(links.GetHead(), &n[0]);
  EXPECT_EQ(links.GetTail(), &n[0]);
  EXPECT_EQ(n[0].m_prev, nullptr);
  EXPECT_EQ(n[0].m_next, nullptr);
  links.Reverse();
  EXPECT_EQ(Ids(links), std::vector<int>{0});
  EXPECT_EQ(Walk(links, 1), std::vector<int>{0});
  links.SetupWalk(1);
  links.Unlink(&n[0]);
  EXPECT_EQ(links.WalkNext(), nullptr);
  EXPECT_EQ(Ids(links), std::vector<int>{});
  EXPECT_EQ(links.GetHead(), nullptr);
  EXPECT_EQ(links.GetTail(), nullptr);
  // Linked again at the other end it is still alone.
  links.LinkTail(&n[0]);
  EXPECT_EQ(Ids(links), std::vector<int>{0});
}

TEST_F(LinksTest, LinkAtHeadMiddleAndTail) {
  links.LinkTail(&n[2]);
  links.LinkHead(&n[0]);
  links.LinkTail(&n[4]);
  links.LinkBefore(&n[1], &n[2]);  // in the middle
  links.LinkBefore(&n[3], &n[4]);  // in front of the tail
  EXPECT_EQ(Ids(links), (std::vector<int>{0, 1, 2, 3, 4}));
  Node first, last;
  first.id = -1;
  last.id = 9;
  links.LinkBefore(&first, &n[0]);  // in front of the head: the new head
  links.LinkBefore(&last, nullptr);  // no node to stand before: the tail
  EXPECT_EQ(Ids(links), (std::vector<int>{-1, 0, 1, 2, 3, 4, 9}));
  EXPECT_EQ(links.GetHead(), &first);
  EXPECT_EQ(links.GetTail(), &last);
}

TEST_F(LinksTest, UnlinkAtHeadMiddleAndTailClearsTheLinks) {
  LinkAll();
  links.Unlink(&n[2]);
  EXPECT_EQ(Ids(links), (std::vector<int>{0, 1, 3, 4}));
  EXPECT_EQ(n[2].m_prev, nullptr);
  EXPECT_EQ(n[2].m_next, nullptr);
  links.Unlink(&n[0]);
  EXPECT_EQ(Ids(links), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(links.GetHead(), &n[1]);
  EXPECT_EQ(n[0].m_next, nullptr);
  links.Unlink(&n[4]);
  EXPECT_EQ(Ids(links), (std::vector<int>{1, 3}));
  EXPECT_EQ(links.GetTail(), &n[3]);
  EXPECT_EQ(n[4].m_prev, nullptr);
  EXPECT_TRUE(links.Contains(&n[3]));
  EXPECT_FALSE(links.Contains(&n[2]));
  // An unlinked node can go in again.
  links.LinkBefore(&n[2], &n[3]);
  EXPECT_EQ(Ids(links), (std::vector<int>{1, 2, 3}));
}

TEST_F(LinksTest, CursorMovesOffAnUnlinkedNodeWalkingForwards) {
  LinkAll();
  // 0 returned, the cursor stands on 1.
  links.SetupWalk(0);
  EXPECT_EQ(links.WalkNext(), &n[0]);
  EXPECT_EQ(links.GetCursor(), &n[1]);
  links.Unlink(&n[1]);
  EXPECT_EQ(links.GetCursor(), &n[2]);
  links.Unlink(&n[0]);  // behind the cursor: it stays
  links.Unlink(&n[4]);  // ahead of it: it stays too
  EXPECT_EQ(links.GetCursor(), &n[2]);
  EXPECT_EQ(links.WalkNext(), &n[2]);
  links.Unlink(&n[3]);  // the cursor's node is the tail: the walk ends
  EXPECT_EQ(links.WalkNext(), nullptr);
  EXPECT_EQ(Ids(links), std::vector<int>{2});
}

TEST_F(LinksTest, CursorMovesOffAnUnlinkedNodeWalkingBackwards) {
  LinkAll();
  // 4 returned, the cursor stands on 3.
  links.SetupWalk(1);
  EXPECT_EQ(links.WalkNext(), &n[4]);
  links.Unlink(&n[3]);
  EXPECT_EQ(links.GetCursor(), &n[2]);
  EXPECT_EQ(links.WalkNext(), &n[2]);
  links.Unlink(&n[1]);
  EXPECT_EQ(links.WalkNext(), &n[0]);
  EXPECT_EQ(links.WalkNext(), nullptr);
  // The cursor on the head, walking back: unlinking it ends the walk.
  links.SetupWalk(1);
  links.WalkNext();
  links.WalkNext();
  EXPECT_EQ(links.GetCursor(), &n[0]);
  links.Unlink(&n[0]);
  EXPECT_EQ(links.WalkNext(), nullptr);
  EXPECT_EQ(Ids(links), (std::vector<int>{2, 4}));
}

TEST_F(LinksTest, TurningDuringAWalkVisitsTheRestOnce) {
  LinkAll();
  links.SetupWalk(0);
  std::vector<int> seen{links.WalkNext()->id, links.WalkNext()->id};
  links.Reverse();
  EXPECT_EQ(Ids(links), (std::vector<int>{4, 3, 2, 1, 0}));
  while (Node* node = links.WalkNext()) seen.push_back(node->id);
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
  // Turning back restores the order; a new walk starts from the new head.
  links.Reverse();
  EXPECT_EQ(Walk(links, 0), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(Walk(links, 1), (std::vector<int>{4, 3, 2, 1, 0}));
}

TEST_F(LinksTest, CursorSetToAForeignNodeGoesOnThroughItsLinks) {
  LinkAll();
  links.SetupWalk(0);
  links.WalkNext();
  Node extra;
  extra.id = 99;
  extra.m_next = links.GetCursor();
  links.SetCursor(&extra);
  std::vector<int> seen;
  while (Node* node = links.WalkNext()) seen.push_back(node->id);
  EXPECT_EQ(seen, (std::vector<int>{99, 1, 2, 3, 4}));
  EXPECT_EQ(links.GetCount(), 5);
}

TEST_F(LinksTest, ForEachMayUnlinkTheVisitedNodeAndForgetKeepsTheNodes) {
  LinkAll();
  std::vector<int> seen;
  links.ForEach([&](Node* node) {
    seen.push_back(node->id);
    if (node->id % 2 == 0) links.Unlink(node);
  });
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(Ids(links), (std::vector<int>{1, 3}));
  EXPECT_EQ(links.Find([](const Node* node) { return node->id > 1; }), &n[3]);
  links.SetupWalk(0);
  links.Forget();
  EXPECT_EQ(Ids(links), std::vector<int>{});
  EXPECT_EQ(links.WalkNext(), nullptr);
  EXPECT_EQ(n[1].m_next, &n[3]);  // the nodes are left as they were
}

TEST(LinksOfObjects, GameObjectsCarryTheirOwnLinks) {
  TestThing a, b, c;
  CZorvaLinks<TestThing> links;
  links.LinkTail(&b);
  links.LinkHead(&a);
  links.LinkTail(&c);
  EXPECT_EQ(a.GetNext(), &b);
  EXPECT_EQ(c.GetPrev(), &b);
  EXPECT_EQ(CZorvaLinks<TestThing>::Next(&a), &b);
  links.Unlink(&b);
  EXPECT_EQ(a.GetNext(), &c);
  EXPECT_EQ(c.GetPrev(), &a);
  EXPECT_EQ(b.GetNext(), nullptr);
  EXPECT_EQ(b.GetPrev(), nullptr);
  links.Reverse();
  EXPECT_EQ(links.GetHead(), &c);
  EXPECT_EQ(c.GetNext(), &a);
  EXPECT_EQ(a.GetPrev(), &c);
  EXPECT_EQ(links.GetCount(), 2);
}
