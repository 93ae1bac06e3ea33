#include <gtest/gtest.h>

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
