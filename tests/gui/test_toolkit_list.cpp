#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gui/action.h"
#include "gui_fakes.h"

namespace {
std::vector<int> Kinds(CActionList& list) {
  std::vector<int> kinds;
  list.SetupActionCount();
  while (CAction* a = list.GetNextAction()) kinds.push_back(a->m_kind);
  return kinds;
}
}  // namespace

TEST(ToolkitList, UnlinkCountsMembershipsAndRefusesStrangers) {
  CActionList list, other;
  CAction* a = MakeAction(1, WHEN_MOVE, INOUT_ALWAYS);
  CAction* b = MakeAction(2, WHEN_MOVE, INOUT_ALWAYS);
  CAction* c = MakeAction(3, WHEN_MOVE, INOUT_ALWAYS);
  list.AddHeadAction(a);
  list.AddHeadAction(b);
  list.AddHeadAction(c);
  EXPECT_EQ(list.AddHead(nullptr), 1);
  EXPECT_EQ(Kinds(list), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(list.Unlink(b), 0);  // from the middle
  EXPECT_EQ(b->GetListNumber(), 0);
  EXPECT_EQ(b->GetNext(), nullptr);
  EXPECT_EQ(list.Unlink(b), 1);
  EXPECT_EQ(b->GetListNumber(), 0);
  EXPECT_EQ(Kinds(list), (std::vector<int>{3, 1}));
  EXPECT_EQ(list.GetTail(), a);
  other.AddHeadAction(b);
  EXPECT_EQ(list.DestroyElement(b), 1);  // not this list's to destroy
  EXPECT_EQ(other.GetCount(), 1);
  EXPECT_EQ(b->GetListNumber(), 1);
  EXPECT_EQ(list.GetCount(), 2);
}

TEST(ToolkitList, DestroyingTheCursorsElementMovesTheWalkOn) {
  CActionList list;
  for (int kind : {4, 3, 2, 1}) list.AddHeadAction(MakeAction(kind, WHEN_MOVE, INOUT_ALWAYS));
  std::vector<int> seen;
  list.SetupActionCount();
  while (CAction* a = list.GetNextAction()) {
    seen.push_back(a->m_kind);
    // A visitor walks the same list without disturbing this walk.
    int visited = 0;
    list.ForEach([&](CAction*) { ++visited; });
    EXPECT_EQ(visited, list.GetCount());
    if (a->m_kind == 1) list.DestroyAction(static_cast<CAction*>(a->GetNext()));
    if (a->m_kind == 3) list.DestroyAction(a);
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(Kinds(list), (std::vector<int>{1, 4}));
}

TEST(ToolkitList, DestroyEndsAWalkEvenOnATemporaryAction) {
  CActionList list;
  list.AddHeadAction(MakeAction(1, WHEN_MOVE, INOUT_ALWAYS));
  CAction extra;
  extra.Set(99, WHEN_MOVE, INOUT_ALWAYS, 0, 0, 0, 0);
  list.SetupActionCount();
  list.InsertTemporaryNextAction(&extra);
  list.Destroy();
  EXPECT_EQ(list.GetNextAction(), nullptr);
  EXPECT_EQ(list.GetHead(), nullptr);
  EXPECT_EQ(list.GetCount(), 0);
}

TEST(ActionSelection, RunsNewestFirstAndTakesAnInsertedActionNext) {
  CActionList own;
  for (int k = 1; k <= 3; ++k) own.AddHeadAction(MakeAction(k, WHEN_LEFT_DOWN, INOUT_ALWAYS));
  CAction* first = own.GetTail();  // kind 1
  CAction* third = own.GetHead();  // kind 3
  CActionSelection sel;
  sel.AddHeadAction(first);
  sel.AddHeadAction(nullptr);  // nothing to select
  sel.AddHeadAction(third);
  ASSERT_EQ(sel.GetCount(), 2);
  std::unique_ptr<CAction> extra(MakeAction(9, WHEN_LEFT_DOWN, INOUT_ALWAYS));
  std::vector<int> kinds;
  sel.SetupActionCount();
  while (const CAction* a = sel.GetNextAction()) {
    kinds.push_back(a->m_kind);
    if (a == third) sel.InsertTemporaryNextAction(extra.get());
  }
  EXPECT_EQ(kinds, (std::vector<int>{3, 9, 1}));
  // A fresh walk no longer holds the inserted action.
  sel.SetupActionCount();
  EXPECT_EQ(sel.GetNextAction(), third);
}

TEST(ActionSelection, ASelectionMadeWhileAnotherLivesEndsWithoutTouchingIt) {
  CActionList own;
  own.AddHeadAction(MakeAction(1, WHEN_LEFT_DOWN, INOUT_ALWAYS));
  own.AddHeadAction(MakeAction(2, WHEN_LEFT_DOWN, INOUT_ALWAYS));
  CActionSelection outer;
  outer.AddHeadAction(own.GetTail());
  {
    CActionSelection inner;
    EXPECT_EQ(inner.GetCount(), 0);
    inner.AddHeadAction(own.GetHead());
    inner.AddHeadAction(own.GetHead());
    EXPECT_EQ(inner.GetCount(), 2);
    EXPECT_EQ(outer.GetCount(), 3);  // outer sees the stack above it while inner lives
  }
  ASSERT_EQ(outer.GetCount(), 1);
  EXPECT_EQ(outer.GetAction(0)->m_kind, 1);
}

TEST(Actions, AnEventCopyReadsTheSourcesNameAndAReusedBlockStartsClean) {
  CAction source;
  source.Set(33, WHEN_MOVE, INOUT_INSIDE, 1, 2, 3, 4);
  source.m_reserved = 7;
  source.SetName("hover");
  CAction* copy = source.CopyForEvent();
  EXPECT_EQ(copy->GetName(), source.GetName());
  EXPECT_EQ(copy->m_kind, 33);
  EXPECT_EQ(copy->m_when, WHEN_MOVE);
  EXPECT_EQ(copy->m_inout, INOUT_INSIDE);
  EXPECT_EQ(copy->m_p1 + copy->m_p2 * 10 + copy->m_p3 * 100 + copy->m_p4 * 1000, 4321);
  EXPECT_EQ(copy->m_reserved, 7);
  EXPECT_EQ(copy->GetListNumber(), 0);
  delete copy;
  EXPECT_STREQ(source.GetName(), "hover");
  // A block given back serves the next action, which owns what it is given.
  CAction* next = new CAction;
  EXPECT_EQ(next->GetName(), nullptr);
  EXPECT_EQ(next->m_kind, 1);
  next->SetName("own");
  CAction* owned = next->Clone();
  delete next;
  EXPECT_STREQ(owned->GetName(), "own");
  delete owned;
}

TEST(Actions, AFreedActionsBlockServesTheNextAction) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "sanitizer builds give every block back to the heap";
#else
  CAction* a = new CAction;
  const void* block = a;
  const int waiting = CAction::FreeBlockCount();
  delete a;
  ASSERT_EQ(CAction::FreeBlockCount(), waiting + 1);
  CAction* b = new CAction;
  EXPECT_EQ(static_cast<const void*>(b), block);
  EXPECT_EQ(CAction::FreeBlockCount(), waiting);
  CAction::operator delete(nullptr, sizeof(CAction));
  EXPECT_EQ(CAction::FreeBlockCount(), waiting) << "giving back nothing keeps nothing";
  delete b;
  EXPECT_EQ(CAction::FreeBlockCount(), waiting + 1);
#endif
}
