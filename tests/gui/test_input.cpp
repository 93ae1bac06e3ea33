#include <gtest/gtest.h>

#include "gui/window_builder.h"
#include "gui_fakes.h"
#include "support/test_support.h"

namespace {
// Records what reaches the window interpreter.
class RecordingWindow : public CScreenWindow {
 public:
  int ActionAuswertung(CActionList* list, EInOutType hit, int, int, EPosition*) override {
    lastHit = hit;
    kinds.clear();
    list->ForEach([&](CAction* a) { kinds.push_back(a->m_kind); });
    return 0;
  }
  int CloseOnEscAndRightMouse(int id) override {
    closed.push_back(id);
    return 0;
  }
  std::vector<int> kinds;
  std::vector<int> closed;
  EInOutType lastHit = INOUT_NONE;
};

struct Input : ::testing::Test {
  FakeHost host;
  RecordingWindow* root = nullptr;
  void SetUp() override {
    root = new RecordingWindow;
    root->Create(0, 0, 800, 600, 1, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
  }
  void TearDown() override {
    root->Destroy();
    delete root;
  }
  CScreenWindow* AddChild(int id, int x, int y, int w, int h, int parent = 1, EScreenWindowType t = WINDOW_NORMAL) {
    auto* c = new CScreenWindow;
    c->Create(x, y, w, h, id, 0, t, POSITION_FIXED, 0);
    EXPECT_EQ(root->AddWindow(c, parent), 0);
    root->ActivateWindow(id, OVER_GROUP);
    return c;
  }
};
}  // namespace

TEST(Actions, ListOperations) {
  CActionList list;
  CAction* a = MakeAction(1, WHEN_MOVE, INOUT_ALWAYS, 1, -1, -1, "first");
  list.AddHeadAction(a);
  EXPECT_EQ(a->GetListNumber(), 1);
  list.DestroyAction(a);
  EXPECT_EQ(list.GetHead(), nullptr);
  EXPECT_EQ(list.GetTail(), nullptr);
  EXPECT_EQ(list.GetCount(), 0);

  CAction* b = MakeAction(2, WHEN_MOVE, INOUT_ALWAYS, 2, -1, -1, "source");
  CAction* c = MakeAction(3, WHEN_MOVE, INOUT_ALWAYS);
  list.AddHeadAction(c);
  list.AddHeadAction(b);
  {
    CActionList copies;
    list.CopyMatching(&copies, WHEN_MOVE);
    EXPECT_EQ(copies.GetHead()->m_kind, 3);  // each copy went to the head
    EXPECT_STREQ(copies.GetTail()->GetName(), "source");
  }
  EXPECT_STREQ(b->GetName(), "source");

  // An inserted action is the very next one; the walk then goes on.
  CAction extra;
  extra.Set(99, WHEN_MOVE, INOUT_ALWAYS, 0, 0, 0, 0);
  list.SetupActionCount();
  std::vector<int> seen{list.GetNextAction()->m_kind};
  list.InsertTemporaryNextAction(&extra);
  for (CAction* x = list.GetNextAction(); x; x = list.GetNextAction()) seen.push_back(x->m_kind);
  EXPECT_EQ(seen, (std::vector<int>{2, 99, 3}));
  EXPECT_EQ(list.GetCount(), 2);
}

TEST_F(Input, MoveCollectsWhen1BeforeWhen10AndEdgesAreHalfOpen) {
  CScreenWindow* w = AddChild(5, 100, 100, 50, 40);
  w->GetActions()->AddHeadAction(MakeAction(10, WHEN_MOVE_FIRST, INOUT_ALWAYS));
  w->GetActions()->AddHeadAction(MakeAction(11, WHEN_MOVE, INOUT_ALWAYS));
  auto* rec = new RecordingWindow;
  // Use a recording child to see the collected order.
  rec->Create(0, 0, 10, 10, 6, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
  root->AddWindow(rec, 1);
  root->ActivateWindow(6, OVER_GROUP);
  rec->GetActions()->AddHeadAction(MakeAction(10, WHEN_MOVE_FIRST, INOUT_ALWAYS));
  rec->GetActions()->AddHeadAction(MakeAction(11, WHEN_MOVE, INOUT_ALWAYS));
  QnoInteractionEvent move = MakeEvent(QNO_EVENT_MOUSEMOVE, 5, 5);
  EXPECT_EQ(rec->InputFilter(&move, nullptr, 0, 0, 5, 5, INOUT_ALWAYS), 0);
  EXPECT_EQ(rec->kinds, (std::vector<int>{11, 10}));

  EPosition zone = 0;
  EXPECT_EQ(w->OverWindow(100, 100, 150, 120, &zone, OVER_SINGLE), INOUT_OUTSIDE);
  EXPECT_EQ(zone, 7);
  EXPECT_EQ(w->OverWindow(100, 100, 100, 100, &zone, OVER_SINGLE), INOUT_INSIDE);
  EXPECT_EQ(w->OverWindow(100, 100, 99, 140, &zone, OVER_SINGLE), INOUT_OUTSIDE);
  EXPECT_EQ(zone, 6);
  EXPECT_EQ(w->OverWindow(100, 100, 110, 110, &zone, OVER_OUTSIDE), INOUT_OUTSIDE);
}

TEST_F(Input, RightPressInsideClosesAndIsConsumedAlone) {
  CScreenWindow* w = AddChild(120, 100, 100, 50, 40);
  auto* item = new CItem;
  item->Create(0, 0, 50, 40, 1, 0, -1);
  item->GetActions()->AddHeadAction(MakeAction(7, WHEN_OTHER_DOWN, INOUT_ALWAYS));
  int n = -1;
  root->AddItem(item, 120, -1, &n);
  QnoInteractionEvent right = MakeEvent(QNO_EVENT_BUTTONDOWN, 110, 110, 1);
  EXPECT_EQ(w->InputFilter(&right, nullptr, 0, 0, 110, 110, INOUT_ALWAYS), 0);
  EXPECT_EQ(root->closed, (std::vector<int>{120}));
  EXPECT_EQ(item->GetHitState(), INOUT_OUTSIDE);  // the item never saw the event
}

TEST_F(Input, LeftPressOutsideClosesOnlySubMenus) {
  CScreenWindow* sub = AddChild(35, 10, 10, 40, 40, 1, WINDOW_SUBMENU);
  CScreenWindow* normal = AddChild(36, 100, 10, 40, 40, 1, WINDOW_NORMAL);
  QnoInteractionEvent press = MakeEvent(QNO_EVENT_BUTTONDOWN, 300, 300, 0);
  EXPECT_EQ(sub->InputFilter(&press, nullptr, 0, 0, 300, 300, INOUT_ALWAYS), 1);
  EXPECT_EQ(normal->InputFilter(&press, nullptr, 0, 0, 300, 300, INOUT_ALWAYS), 1);
  EXPECT_FALSE(sub->IsActive());
  EXPECT_TRUE(normal->IsActive());
  EXPECT_FALSE(host.IsWindowOpen(35));
}

TEST_F(Input, PressBringsPagesAndGroupChildrenToFront) {
  CScreenWindow* group = AddChild(140, 0, 0, 400, 300);
  CScreenWindow* page = AddChild(141, 50, 0, 300, 300, 140);
  CScreenWindow* other = AddChild(9, 500, 500, 50, 50);
  (void)other;
  QnoInteractionEvent press = MakeEvent(QNO_EVENT_BUTTONDOWN, 60, 10, 0);
  page->InputFilter(&press, nullptr, 0, 0, 60, 10, INOUT_ALWAYS);
  ASSERT_GE(host.renderList.size(), 2u);
  EXPECT_EQ(host.renderList[0], page);
  EXPECT_EQ(host.renderList[1], group);

  host.BringToFront(other);
  QnoInteractionEvent onGroup = MakeEvent(QNO_EVENT_BUTTONDOWN, 5, 5, 0);
  group->InputFilter(&onGroup, nullptr, 0, 0, 5, 5, INOUT_ALWAYS);
  EXPECT_EQ(host.renderList[0], page);  // the open child comes in front of its group
  EXPECT_EQ(host.renderList[1], group);
}

TEST_F(Input, RootItemsAlwaysSeeInsideAndOutsideOwnersNeverConsume) {
  auto* item = new CItem;
  item->Create(0, 0, 20, 20, 1, 0, -1);
  // Kind 46 is the owner's to carry out: the item passes it up as it is.
  item->GetActions()->AddHeadAction(MakeAction(46, WHEN_LEFT_DOWN, INOUT_ALWAYS));
  int n = -1;
  root->AddItem(item, 1, -1, &n);
  root->SetActive(true);
  QnoInteractionEvent press = MakeEvent(QNO_EVENT_BUTTONDOWN, 700, 500, 0);
  root->InputFilter(&press, nullptr, 0, 0, 700, 500, INOUT_ALWAYS);
  EXPECT_EQ(root->lastHit, INOUT_INSIDE);
  EXPECT_EQ(root->kinds, (std::vector<int>{46}));

  CActionList passUp;
  QnoInteractionEvent inside = MakeEvent(QNO_EVENT_BUTTONDOWN, 5, 5, 0);
  EXPECT_EQ(item->InputFilter(&inside, nullptr, &passUp, 0, 0, 5, 5, INOUT_OUTSIDE, INOUT_NONE), 1);
  EXPECT_TRUE(item->HasEntered());
}

TEST(Items, HitBoxClickFeedbackAndTriggers) {
  FakeHost host;
  CItem big;
  big.Create(0, 0, 40, 40, 37, 0, -1);
  EXPECT_EQ(big.OverItem(0, 0, 9, 20), INOUT_OUTSIDE);
  EXPECT_EQ(big.OverItem(0, 0, 10, 10), INOUT_INSIDE);
  EXPECT_EQ(big.OverItem(0, 0, 30, 20), INOUT_OUTSIDE);
  EXPECT_EQ(big.OverItem(0, 0, 29, 29), INOUT_INSIDE);

  CItem item;
  item.Create(0, 0, 10, 10, 1, 0, -1);
  item.GetActions()->AddHeadAction(MakeAction(4, WHEN_LEFT_DOWN, INOUT_INSIDE));
  item.GetActions()->AddHeadAction(MakeAction(10, WHEN_LEFT_HELD, INOUT_INSIDE));
  item.GetActions()->AddHeadAction(MakeAction(3, WHEN_OTHER_DOWN, INOUT_INSIDE));
  QnoInteractionEvent left = MakeEvent(QNO_EVENT_BUTTONDOWN, 5, 5, 0);
  {
    CActionSelection sel;
    item.CheckEvent(&left, item.GetActions(), &sel, 5, 5);
    ASSERT_EQ(sel.GetCount(), 2);
    EXPECT_EQ(sel.GetAction(0)->m_kind, 10);  // 2 then 12, each at the head
    EXPECT_EQ(sel.GetAction(1)->m_kind, 4);
    // The item's own actions are selected, not copies.
    EXPECT_EQ(sel.GetAction(1), item.GetActions()->GetTail());
  }
  {
    CActionSelection sel2;
    QnoInteractionEvent right = MakeEvent(QNO_EVENT_BUTTONDOWN, 5, 5, 1);
    item.CheckEvent(&right, item.GetActions(), &sel2, 5, 5);
    ASSERT_EQ(sel2.GetCount(), 1);
    EXPECT_EQ(sel2.GetAction(0)->m_kind, 3);
  }

  zortest::Clock().Set(1000);
  CActionList up;
  EXPECT_EQ(item.InputFilter(&left, nullptr, &up, 0, 0, 5, 5, INOUT_INSIDE, INOUT_NONE), 0);
  EXPECT_EQ(item.GetPressedUntil(), 1200u);
  EXPECT_EQ(host.sounds, (std::vector<std::string>{"Klick"}));
  EXPECT_EQ(up.GetCount(), 2);  // passed up to the owner
}

TEST(Items, PressedLooks) {
  FakeHost host;
  CItem item;
  item.Create(0, 0, 10, 10, 13, 0, -1);
  host.layer = 4;
  item.GetActions()->AddHeadAction(MakeAction(51, WHEN_LEFT_DOWN, INOUT_INSIDE, 4));
  CActionSelection sel;
  item.CheckAllAktion(item.GetActions(), &sel, WHEN_TURN, 0, 0);
  EXPECT_EQ(item.GetPressedLook(), 3);
  item.SetPressed(1, 5, 0, 0);  // a map layer look is not replaced
  EXPECT_EQ(item.GetPressedLook(), 3);
  host.layer = 5;
  item.CheckPressed();
  EXPECT_EQ(item.GetPressedLook(), 0);

  item.SetPressed(19, 12, 0, 0);
  item.SetState(3);
  item.CheckPressed();
  EXPECT_EQ(item.GetPressedLook(), 0);
  EXPECT_EQ(item.GetState(), 0);

  auto* var = new FakeVar(VAR_INT, "V", 2);
  item.AddVar(var);
  item.SetPressed(18, 2, 0, 0);
  item.CheckPressed();
  EXPECT_EQ(item.GetPressedLook(), 18);
  var->m_readable = false;
  item.CheckPressed();
  EXPECT_EQ(item.GetPressedLook(), 0);

  CScreenWindow w;
  w.Create(0, 0, 1, 1, 77, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
  item.SetPressed(1, 77, 0, 0);
  host.AddToRenderList(&w);
  item.CheckPressed();
  EXPECT_EQ(item.GetPressedLook(), 1);
  host.RemoveFromRenderList(&w);
  item.CheckPressed();
  EXPECT_EQ(item.GetPressedLook(), 0);
  w.Destroy();
}

TEST(Windows, PositionsFollowTheScreenAndParents) {
  FakeHost host;
  auto* root = new CScreenWindow;
  root->Create(0, 0, 1024, 768, 1, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
  auto* parent = new CScreenWindow;
  parent->Create(100, 50, 300, 200, 10, 0, WINDOW_NORMAL, POSITION_CENTERED, 0);
  root->AddWindow(parent, 1);
  auto* child = new CScreenWindow;
  child->Create(20, 30, 700, 50, 11, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
  root->AddWindow(child, 10);

  parent->Reposition(801, 601);
  EXPECT_EQ(parent->GetPosX(), 400 - 150);
  EXPECT_EQ(parent->GetPosY(), 300 - 100);
  EXPECT_EQ(parent->GetStandardPosX(), 100);
  EXPECT_EQ(child->GetRealPosX(), 250 + 20);

  root->CheckForXYInScreen(640, 480);
  EXPECT_EQ(root->GetPosX(), 0);  // the root stays even when larger
  EXPECT_EQ(child->GetPosX(), (640 - 700) / 2 - parent->GetPosX());
  EXPECT_EQ(child->GetStandardPosX(), child->GetPosX());

  parent->SetPosX(parent->GetStandardPosX() + 7);
  parent->ResetPos(0, 0, false);
  EXPECT_EQ(parent->GetPosX(), parent->GetStandardPosX());
  root->Destroy();
  delete root;
}

TEST(Windows, ACentredWindowOpensInTheMiddleOfTheScreenAsItIsThen) {
  FakeHost host;
  host.screenWidth = 1024;
  host.screenHeight = 768;
  auto* root = new CScreenWindow;
  root->Create(0, 0, 1024, 768, 1, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
  auto* page = new CScreenWindow;
  page->Create(50, 50, 383, 170, 300, 0, WINDOW_NORMAL, POSITION_CENTERED, 0);
  root->AddWindow(page, 1);
  auto* fixed = new CScreenWindow;
  fixed->Create(50, 50, 100, 100, 306, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
  root->AddWindow(fixed, 1);

  ASSERT_EQ(root->ActivateWindow(300, OVER_SINGLE), 0);
  EXPECT_EQ(page->GetRealPosX(), 512 - 191);
  EXPECT_EQ(page->GetRealPosY(), 384 - 85);
  root->ActivateWindow(306, OVER_SINGLE);
  EXPECT_EQ(fixed->GetRealPosX(), 50) << "a fixed window stands where it was built";

  // Moved by the player while open: bringing it forward keeps it there.
  page->SetPosX(page->GetPosX() + 40);
  root->ActivateWindow(300, OVER_FRONT);
  EXPECT_EQ(page->GetRealPosX(), 512 - 191 + 40);
  // Closing puts it back to its standard place; it opens again centred on
  // the screen it is opened on.
  root->DeActivateWindow(300, OVER_SINGLE);
  EXPECT_EQ(page->GetRealPosX(), 50);
  host.screenWidth = 640;
  host.screenHeight = 480;
  root->ActivateWindow(300, OVER_SINGLE);
  EXPECT_EQ(page->GetRealPosX(), 320 - 191);
  EXPECT_EQ(page->GetRealPosY(), 240 - 85);
  root->Destroy();
  delete root;
}

TEST(Windows, WarningWindowsComeForwardEveryTurn) {
  FakeHost host;
  CScreenWindow yesNo;
  yesNo.Create(0, 0, 10, 10, 247, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
  yesNo.OnPlayloopTurn();
  EXPECT_EQ(host.pendingCleared, 1);  // closed: the confirmation is dropped
  host.AddToRenderList(&yesNo);
  host.yesNo = 81;
  const int before = host.frontCalls;
  yesNo.OnPlayloopTurn();
  EXPECT_EQ(host.pendingCleared, 1);
  EXPECT_EQ(host.frontCalls, before + 1);
  host.yesNo = 3;
  yesNo.OnPlayloopTurn();
  EXPECT_EQ(host.pendingCleared, 2);
  yesNo.Destroy();
}
