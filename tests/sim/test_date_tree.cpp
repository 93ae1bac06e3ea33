#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "framework/qno_log.h"
#include "sim/sim_binary_tree.h"
#include "sim/sim_date.h"
#include "support/test_support.h"

TEST(SimDate, HoursMonthsAndYears) {
  CSimDate d(20 + 9);  // the hour after 20 of year 0
  EXPECT_EQ(d.Hour(), 5);
  EXPECT_EQ(d.Year(), 1);
  EXPECT_EQ(d.Day(), 1);
  EXPECT_EQ(CSimDate(5).Month(), 0);
  EXPECT_EQ(CSimDate(6).Month(), 0);
  EXPECT_EQ(CSimDate(7).Month(), 1);
  EXPECT_EQ(CSimDate(19).Month(), 11);
  EXPECT_EQ(CSimDate(20).Month(), 11);
  EXPECT_DOUBLE_EQ(CSimDate(3 * 24 + 13).FYear(), 3.5);
  EXPECT_EQ(CSimDate(3 * 24 + 14).SecondsFromStart(), (3 * 24 + 14) * 3600);
  EXPECT_EQ(static_cast<int>(CSimDate(77)), 77);

  STime t = STime::FromDate(CSimDate(2 * 24 + 19));
  EXPECT_EQ(t.hour, 19);
  EXPECT_EQ(t.day, 1);
  EXPECT_EQ(t.year, 2);
  EXPECT_FLOAT_EQ(t.fyear, 2.0f + 11.0f / 12.0f);
}

TEST(SimDate, SavesFourLittleEndianBytes) {
  FILE* f = std::fopen("date.bin", "wb");
  ASSERT_TRUE(f);
  EXPECT_TRUE(CSimDate(0x01020304).Save(f));
  EXPECT_TRUE(CSimDate(-2).Save(f));
  std::fclose(f);
  EXPECT_EQ(zortest::ReadFile("date.bin"), std::string("\x04\x03\x02\x01\xfe\xff\xff\xff", 8));

  f = std::fopen("date.bin", "rb");
  CSimDate a, b, c(9);
  EXPECT_TRUE(a.Load(f));
  EXPECT_TRUE(b.Load(f));
  EXPECT_FALSE(c.Load(f));  // nothing left
  std::fclose(f);
  EXPECT_EQ(a.TicksFromStart(), 0x01020304);
  EXPECT_EQ(b.TicksFromStart(), -2);
  EXPECT_EQ(c.TicksFromStart(), 9);

  // Cut anywhere inside the four bytes: nothing changes.
  for (size_t n = 0; n < 4; ++n) {
    zortest::RecordFile cut(zortest::ByteList(n, 0x04));
    CSimDate d(5);
    EXPECT_FALSE(d.Load(cut.f())) << n;
    EXPECT_EQ(d.TicksFromStart(), 5);
  }
  CSimDate none(3);
  EXPECT_FALSE(none.Load(nullptr));
  EXPECT_FALSE(none.Save(nullptr));
}

namespace {
struct Node : CBinaryTreeNode {
  explicit Node(long k) { SetKey(k); }
};

// Depth of the subtree, checking every balance factor on the way.
int CheckedHeight(const CBinaryTreeNode* n, bool& ok) {
  if (!n) return 0;
  const int l = CheckedHeight(n->pLeft(), ok), r = CheckedHeight(n->pRight(), ok);
  if (r - l != n->Balance() || n->Balance() < -1 || n->Balance() > 1) ok = false;
  if (n->pLeft() && n->pLeft()->Key() >= n->Key()) ok = false;
  if (n->pRight() && n->pRight()->Key() <= n->Key()) ok = false;
  return 1 + std::max(l, r);
}

std::vector<long> ThreadedKeys(const CBinaryTree& t) {
  std::vector<long> keys;
  const CBinaryTreeNode* prev = nullptr;
  for (const CBinaryTreeNode* n = t.FindNodeWithSmalestKey(); n; n = n->pNext()) {
    EXPECT_EQ(n->pPrevious(), prev);
    keys.push_back(n->Key());
    prev = n;
  }
  return keys;
}
}  // namespace

TEST(BinaryTree, AscendingInsertionStaysBalancedAndThreaded) {
  std::vector<std::unique_ptr<Node>> nodes;
  nodes.push_back(std::make_unique<Node>(0));
  CBinaryTree tree(nodes[0].get());
  for (long k = 1; k <= 1000; ++k) {
    nodes.push_back(std::make_unique<Node>(k));
    ASSERT_TRUE(tree.InsertNode(nodes.back().get()));
  }
  bool ok = true;
  const int height = CheckedHeight(tree.pRoot(), ok);
  EXPECT_TRUE(ok);
  EXPECT_LE(height, 11);  // a perfectly balanced tree of 1001 nodes has height 10
  EXPECT_EQ(tree.Height(), height);
  std::vector<long> expect(1001);
  for (long k = 0; k <= 1000; ++k) expect[k] = k;
  EXPECT_EQ(ThreadedKeys(tree), expect);
  EXPECT_EQ(tree.FindNodeWithKey(517), nodes[517].get());
  EXPECT_EQ(tree.FindNodeWithKey(1001), nullptr);
}

TEST(BinaryTree, RandomOrderKeepsTheInvariantsAndRefusesDuplicates) {
  std::mt19937 rng(7);
  std::vector<long> keys(2000);
  for (size_t i = 0; i < keys.size(); ++i) keys[i] = static_cast<long>(i) - 300;  // negative keys too
  std::shuffle(keys.begin(), keys.end(), rng);
  std::vector<std::unique_ptr<Node>> nodes;
  nodes.push_back(std::make_unique<Node>(keys[0]));
  CBinaryTree tree(nodes[0].get());
  for (size_t i = 1; i < keys.size(); ++i) {
    nodes.push_back(std::make_unique<Node>(keys[i]));
    ASSERT_TRUE(tree.InsertNode(nodes.back().get()));
    if (i % 97 == 0) {
      bool ok = true;
      CheckedHeight(tree.pRoot(), ok);
      ASSERT_TRUE(ok) << "after " << i << " insertions";
    }
  }
  Node dup(keys[5]);
  EXPECT_FALSE(tree.InsertNode(&dup));
  CBinaryTreeNode unkeyed;
  EXPECT_FALSE(tree.InsertNode(&unkeyed));
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(ThreadedKeys(tree), keys);
  EXPECT_EQ(tree.FindNodeWithSmalestKey()->Key(), -300);
  EXPECT_TRUE(tree.RemoveNodeWithKey(5));
  EXPECT_NE(tree.FindNodeWithKey(5), nullptr);  // nodes leave only with the tree
}

TEST(BinaryTree, PrintLogsKeysInOrderWithTheirDepth) {
  Node a(2), b(1), c(3);
  CBinaryTree tree(&a);
  tree.InsertNode(&b);
  tree.InsertNode(&c);
  OpenErrorLog("errors.log");
  tree.Print();
  CloseErrorLog();
  EXPECT_EQ(zortest::ReadFile("errors.log"), "-1\n2\n-3\n");
}
