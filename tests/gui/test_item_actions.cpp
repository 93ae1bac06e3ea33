#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "gui/item_text.h"
#include "gui_fakes.h"
#include "support/test_support.h"
#include "worldbase/zor_world_host.h"

namespace {
CWorldObj* Object(int n) {
  static char storage[4];
  return reinterpret_cast<CWorldObj*>(&storage[n]);
}

struct English : CWorldHost {
  int GetLanguage() override { return 1; }
};

// What went up to the owner: kind, p1, p2, p3 and the reserved word.
using Passed = std::tuple<int, int, int, int, int>;

struct ItemActions : ::testing::Test {
  FakeHost host;
  CScreenWindow* root = nullptr;
  CItem* item = nullptr;        // directly in window 30
  CItem* dialogItem = nullptr;  // in dialog 1 of window 30

  void SetUp() override {
    CItemText::SetMeasureContext(nullptr, nullptr);
    zortest::Clock().Set(100000);
    root = new CScreenWindow;
    root->Create(0, 0, 800, 600, 1, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
    item = NewItemIn(AddWindow(30), -1);
    auto* d = new CDialog;
    d->Create(0, 0, 50, 50, DIALOG_GROUP, 1, root->GetWindowByID(30));
    root->AddDialog(d, 30);
    dialogItem = NewItemIn(30, 1);
  }
  void TearDown() override {
    root->Destroy();
    delete root;
  }
  int AddWindow(int id, int parent = 1) {
    auto* w = new CScreenWindow;
    w->Create(10, 10, 100, 100, id, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
    EXPECT_EQ(root->AddWindow(w, parent), 0);
    return id;
  }
  CItem* NewItemIn(int window, int dialog, EItemType type = 13) {
    auto* i = new CItem;
    i->Create(0, 0, 20, 20, type, 0, -1);
    int n = -1;
    EXPECT_EQ(root->AddItem(i, window, dialog, &n), 0);
    return i;
  }
  // Runs one action through the item's interpreter; what went up.
  std::vector<Passed> Run(CItem* target, EActionType kind, int p1 = -1, int p2 = -1, int p3 = -1,
                          EInOutType hit = INOUT_INSIDE, EInOutType claim = INOUT_NONE,
                          EInOutType inout = INOUT_ALWAYS, int x = 0, int y = 0, int p4 = -1) {
    CActionList own;
    CActionSelection selected;
    CActionList up;
    CAction* a = MakeAction(kind, WHEN_LEFT_DOWN, inout, p1, p2, p3);
    a->m_p4 = p4;
    own.AddHeadAction(a);
    selected.AddHeadAction(a);
    target->ActionAuswertung(&up, &selected, x, y, hit, claim);
    std::vector<Passed> passed;
    for (CAction* p = up.GetTail(); p; p = static_cast<CAction*>(p->GetPrev()))
      passed.emplace_back(p->m_kind, p->m_p1, p->m_p2, p->m_p3, p->m_reserved);
    return passed;
  }
  std::vector<Passed> Run(EActionType kind, int p1 = -1, int p2 = -1, int p3 = -1,
                          EInOutType hit = INOUT_INSIDE) {
    return Run(item, kind, p1, p2, p3, hit);
  }
  FakeVar* Var(CItem* target, double value, double lo = 0, double hi = 100) {
    auto* v = new FakeVar(VAR_INT, "V", value, lo, hi);
    target->AddVar(v);
    return v;
  }
  bool Open(int id) { return host.IsWindowOpen(id); }
};
}  // namespace

TEST_F(ItemActions, ConditionsAndWhatGoesUpToTheOwner) {
  for (int kind : {3, 4, 10, 15, 18, 20, 26, 37, 46, 47, 73, 74, 77, 118, 125, 126, 127, 128, 149, 151, 0, 156, 400})
    EXPECT_EQ(Run(kind, 7, 8, 9), (std::vector<Passed>{{kind, 7, 8, 9, -1}})) << kind;
  EXPECT_TRUE(Run(1).empty());
  EXPECT_TRUE(Run(92).empty());
  // The in/out condition: 4 only outside, 2 only inside, 1 always.
  EXPECT_TRUE(Run(item, 3, -1, -1, -1, INOUT_INSIDE, INOUT_NONE, INOUT_OUTSIDE).empty());
  EXPECT_EQ(Run(item, 3, -1, -1, -1, INOUT_OUTSIDE, INOUT_NONE, INOUT_OUTSIDE).size(), 1u);
  EXPECT_TRUE(Run(item, 3, -1, -1, -1, INOUT_OUTSIDE, INOUT_NONE, INOUT_INSIDE).empty());
  // The turn runs the always-actions alone.
  item->GetActions()->AddHeadAction(MakeAction(105, WHEN_TURN, INOUT_ALWAYS));
  item->GetActions()->AddHeadAction(MakeAction(107, WHEN_TURN, INOUT_INSIDE));
  host.paused = true;
  item->OnPlayloopTurn();
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetPause 0"}));
}

TEST_F(ItemActions, PointerKindsSetLooksAndGoUpOnlyInside) {
  for (int kind : {2, 54, 131}) {
    item->SetPressed(0, 0, 0, 0);
    EXPECT_TRUE(Run(kind, 80, -1, -1, INOUT_OUTSIDE).empty());
    EXPECT_EQ(item->GetPressedLook(), 0);
    EXPECT_EQ(Run(kind, 80).size(), 1u);
    EXPECT_EQ(item->GetPressedLook(), 1) << kind;
  }
  EXPECT_EQ(Run(49, 215, 5).size(), 1u);
  EXPECT_EQ(item->GetPressedLook(), 15);
  EXPECT_EQ(Run(5, 3, 1, 0).size(), 1u);
  EXPECT_EQ(item->GetPressedLook(), 2);
  for (int kind : {6, 16, 17}) {
    EXPECT_TRUE(Run(kind, 1, -1, -1, INOUT_OUTSIDE).empty());
    EXPECT_EQ(Run(kind, 1).size(), 1u);
  }
  for (int kind : {35, 36, 40, 41, 42, 43, 44, 56, 70}) {
    EXPECT_EQ(Run(kind, 144).size(), 1u);
    EXPECT_EQ(item->GetPressedLook(), 10) << kind;
    EXPECT_EQ(Run(kind, 146).size(), 1u);
    EXPECT_EQ(item->GetPressedLook(), 1) << kind;
    EXPECT_EQ(Run(kind, 142).size(), 1u);
    EXPECT_EQ(item->GetPressedLook(), 1) << kind;
    EXPECT_TRUE(Run(kind, 143, -1, -1, INOUT_OUTSIDE).empty());
  }
  EXPECT_EQ(Run(70, 143).size(), 1u);
  EXPECT_EQ(item->GetPressedLook(), 10);
  EXPECT_EQ(Run(70, 145).size(), 1u);
  EXPECT_EQ(item->GetPressedLook(), 10);
  // The map layer's look stays whatever else asks.
  item->SetPressed(0, 0, 0, 0);
  Run(51, 4);
  EXPECT_EQ(item->GetPressedLook(), 3);
  Run(2, 80);
  Run(5, 1, 1, 1);
  EXPECT_EQ(item->GetPressedLook(), 3);
}

TEST_F(ItemActions, DraggingSendsTheStepsSinceTheLastPosition) {
  EXPECT_TRUE(Run(item, 7, 0, 0, -1, INOUT_OUTSIDE, INOUT_NONE, INOUT_ALWAYS, 15, 12).empty());
  EXPECT_TRUE(Run(item, 19).empty());
  Run(item, 8, -1, -1, -1, INOUT_INSIDE, INOUT_NONE, INOUT_ALWAYS, 10, 10);
  EXPECT_EQ(Run(item, 7, 0, 0, -1, INOUT_OUTSIDE, INOUT_NONE, INOUT_ALWAYS, 15, 12),
            (std::vector<Passed>{{7, 5, 2, -1, -1}}));
  EXPECT_EQ(Run(item, 7, 0, 0, -1, INOUT_OUTSIDE, INOUT_NONE, INOUT_ALWAYS, 12, 20),
            (std::vector<Passed>{{7, -3, 8, -1, -1}}));
  EXPECT_EQ(Run(item, 19, 4).size(), 1u);
  Run(item, 9);
  EXPECT_TRUE(Run(item, 7, 0, 0, -1, INOUT_OUTSIDE, INOUT_NONE, INOUT_ALWAYS, 30, 30).empty());
  EXPECT_TRUE(Run(item, 19).empty());
}

// The press that closes a window while grabbing its title has no release
// for the window: open again, it does not follow the mouse. Opening alone
// keeps a grab that the release is still to end.
TEST_F(ItemActions, AWindowClosedWhileGrabbedIsNotDraggedWhenItOpensAgain) {
  CScreenWindow* window = root->GetWindowByID(30);
  root->ActivateWindow(30, OVER_SINGLE);
  Run(item, 8, -1, -1, -1, INOUT_INSIDE, INOUT_NONE, INOUT_ALWAYS, 10, 10);
  root->ActivateWindow(30, OVER_FRONT);
  EXPECT_EQ(Run(item, 7, 0, 0, -1, INOUT_OUTSIDE, INOUT_NONE, INOUT_ALWAYS, 12, 10).size(), 1u);
  window->DeActivateWindow(30, OVER_SINGLE);
  root->ActivateWindow(30, OVER_SINGLE);
  EXPECT_TRUE(Run(item, 7, 0, 0, -1, INOUT_OUTSIDE, INOUT_NONE, INOUT_ALWAYS, 40, 50).empty());
  EXPECT_TRUE(Run(item, 19).empty());
  // A group closed around it lets go as well.
  AddWindow(31, 30);
  CItem* title = NewItemIn(31, -1);
  root->ActivateWindow(31, OVER_SINGLE);
  Run(title, 8, -1, -1, -1, INOUT_INSIDE, INOUT_NONE, INOUT_ALWAYS, 10, 10);
  root->DeActivateWindow(30, OVER_GROUP);
  EXPECT_FALSE(title->IsDragging());
}

TEST_F(ItemActions, HighlightAndBalloons) {
  // In a dialog: on only inside and unclaimed.
  Run(dialogItem, 11, -1, -1, -1, INOUT_INSIDE, INOUT_NONE);
  EXPECT_TRUE(dialogItem->IsHighlighted());
  Run(dialogItem, 11, -1, -1, -1, INOUT_INSIDE, INOUT_INSIDE);
  EXPECT_FALSE(dialogItem->IsHighlighted());
  Run(dialogItem, 11, -1, -1, -1, INOUT_INSIDE, INOUT_NONE);
  Run(dialogItem, 11, -1, -1, -1, INOUT_OUTSIDE, INOUT_NONE);
  EXPECT_FALSE(dialogItem->IsHighlighted());
  // In a window: a claimed inside turns it off, outside too.
  Run(item, 11, -1, -1, -1, INOUT_INSIDE, INOUT_NONE);
  EXPECT_TRUE(item->IsHighlighted());
  Run(item, 11, -1, -1, -1, INOUT_INSIDE, INOUT_INSIDE);
  EXPECT_FALSE(item->IsHighlighted());
  Run(item, 11, -1, -1, -1, INOUT_INSIDE, INOUT_OUTSIDE);
  EXPECT_TRUE(item->IsHighlighted());
  Run(item, 11, -1, -1, -1, INOUT_OUTSIDE, INOUT_NONE, INOUT_ALWAYS, 15, 15);
  EXPECT_FALSE(item->IsHighlighted());
  Run(item, 13, -1, -1, -1, INOUT_OUTSIDE);
  EXPECT_FALSE(item->IsHighlighted());
  Run(item, 13, -1, -1, -1, INOUT_NONE);
  EXPECT_TRUE(item->IsHighlighted());
  Run(item, 14);
  EXPECT_FALSE(item->IsHighlighted());
  item->SetHighlightLock(true);
  Run(item, 13);
  EXPECT_FALSE(item->IsHighlighted());

  EXPECT_EQ(Run(item, 33, 12, 7, -1, INOUT_INSIDE, INOUT_NONE, INOUT_ALWAYS, 300, 200),
            (std::vector<Passed>{{33, 300, 200, 12, 7}}));
  EXPECT_TRUE(Run(item, 33, 12, 7, -1, INOUT_INSIDE, INOUT_INSIDE).empty());
  EXPECT_TRUE(Run(item, 33, 12, 7, -1, INOUT_OUTSIDE).empty());
}

TEST_F(ItemActions, KindThirtyFourTogglesFromADialogUnlessTheEventWasJustSelected) {
  AddWindow(40);
  EXPECT_EQ(Run(item, 34, 40), (std::vector<Passed>{{34, 40, -1, -1, -1}}));
  EXPECT_EQ(item->GetPressedLook(), 1);
  EXPECT_FALSE(Open(40));
  EXPECT_TRUE(Run(dialogItem, 34, 40).empty());
  EXPECT_TRUE(Open(40));
  EXPECT_TRUE(Run(dialogItem, 34, 40, -1, -1, INOUT_OUTSIDE).empty());
  EXPECT_FALSE(Open(40));
  // A row whose event was just selected swallows one toggle.
  auto* row = NewItemIn(30, 1, 7);
  host.selectedEvent = 2;
  Run(row, 65, 5);
  EXPECT_EQ(row->m_selectMark, 1);
  EXPECT_EQ(host.selectedEvent, 5);
  Run(row, 34, 40);
  EXPECT_FALSE(Open(40));
  EXPECT_EQ(row->m_selectMark, 0);
  Run(row, 65, 5);
  EXPECT_EQ(row->m_selectMark, 0);
  Run(row, 34, 40);
  EXPECT_TRUE(Open(40));
  // Only message rows select events.
  host.Take();
  Run(item, 65, 6);
  EXPECT_TRUE(host.Take().empty());
}

TEST_F(ItemActions, SwitchesOnVariablesAndWithout) {
  // Without a variable the owner learns the item's number.
  EXPECT_EQ(Run(item, 21, 5), (std::vector<Passed>{{21, 5, 0, -1, -1}}));
  FakeVar* v = Var(item, 0);
  EXPECT_TRUE(Run(item, 21, 5).empty());
  EXPECT_EQ(v->m_value, 5);
  EXPECT_EQ(Run(item, 22, 0), (std::vector<Passed>{{22, 1, -1, -1, -1}}));
  EXPECT_EQ(item->GetOn(), 1);
  EXPECT_EQ(Run(item, 23, 1), (std::vector<Passed>{{23, 0, -1, -1, -1}}));
  EXPECT_EQ(item->GetOn(), 0);

  v->m_value = 0;
  Run(item, 24);
  EXPECT_EQ(v->m_value, 1);
  EXPECT_EQ(item->GetOn(), 1);
  v->m_value = 0.5;
  Run(item, 48);
  EXPECT_EQ(v->m_value, 0);
  EXPECT_EQ(item->GetOn(), 0);
  // A variable that cannot reach 1 leaves the flag as it was.
  v->m_max = 0.5;
  Run(item, 24);
  EXPECT_EQ(v->m_value, 0.5);
  EXPECT_EQ(item->GetOn(), 0);
  CItem* bare = NewItemIn(30, -1);
  Run(bare, 24);
  EXPECT_EQ(bare->GetOn(), 1);
  Run(bare, 48);
  EXPECT_EQ(bare->GetOn(), 0);
  Run(bare, 130, -1, 7);
  EXPECT_EQ(bare->GetOn(), 1);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetActiveLine 7"}));

  Run(bare, 45);
  FakeVar* w = Var(bare, 0);
  Run(bare, 45, -1, -1, -1, INOUT_OUTSIDE);
  EXPECT_EQ(w->m_value, 0);
  Run(bare, 45);
  EXPECT_EQ(w->m_value, 1);
}

TEST_F(ItemActions, FramesFromVariables) {
  Run(item, 25, 10, 10);  // no variables: nothing
  EXPECT_EQ(item->GetState(), 0);
  FakeVar* b = Var(item, 4, 0, 1000);
  FakeVar* a = Var(item, 3, -1000, 1000);
  auto frame = [&](double av, double bv, int p1, int p2, int p3) {
    a->m_value = av;
    b->m_value = bv;
    item->SetState(-5);
    Run(item, 25, p1, p2, p3);
    return item->GetState();
  };
  EXPECT_EQ(frame(3, 4, 10, 10, -1), 7);
  EXPECT_EQ(frame(4, 4, 10, 10, -1), 9);
  EXPECT_EQ(frame(4, 0, 10, 10, -1), 0);  // no limit: the first frame
  EXPECT_EQ(frame(-4, 4, 10, 10, -1), 0);
  EXPECT_EQ(frame(5.7, 1, 2, -1, -1), 3);
  EXPECT_EQ(frame(5.7, 1, 2, -1, 2), 2);
  EXPECT_EQ(frame(1, 1, 2, -1, -1), 0);
  EXPECT_EQ(frame(0.6, 1, -1, -1, 4), 2);
  EXPECT_EQ(frame(0.9, 1, -1, -1, 4), 4);
  EXPECT_EQ(frame(1e300, 1e-300, 10, 10, -1), 9);
  item->SetOn(0);
  EXPECT_EQ(frame(2, 1, -1, -1, -1), -5);
  EXPECT_EQ(item->GetOn(), 1);
  frame(0, 1, -1, -1, -1);
  EXPECT_EQ(item->GetOn(), 0);
  a->m_readable = false;
  EXPECT_EQ(frame(3, 4, 10, 10, -1), -5);
}

TEST_F(ItemActions, StatesFromTheValue) {
  Run(item, 50, 2);
  EXPECT_EQ(item->GetState(), 0);
  FakeVar* v = Var(item, 7.9);
  Run(item, 50, 2);
  EXPECT_EQ(item->GetState(), 5);
  Run(item, 50, 9);
  EXPECT_EQ(item->GetState(), 0);
  CItem* picture = NewItemIn(30, -1, 2);
  FakeVar* p = Var(picture, 3.5);
  Run(picture, 53);
  EXPECT_EQ(picture->GetState(), 3);
  EXPECT_EQ(picture->GetOn(), 1);
  p->m_value = 0;
  Run(picture, 53);
  EXPECT_EQ(picture->GetOn(), 0);
  EXPECT_EQ(picture->GetState(), 0);
  p->m_value = -3;
  Run(picture, 53);
  EXPECT_EQ(picture->GetState(), 0);
  v->m_value = 2;
  Run(item, 53);
  EXPECT_EQ(item->GetState(), 2);
  EXPECT_EQ(item->GetOn(), 0);  // only pictures of type 2 switch
  Run(item, 129, 2);
  EXPECT_EQ(item->GetState(), 1);
  EXPECT_EQ(item->GetOn(), 1);
  Run(item, 129, 3);
  EXPECT_EQ(item->GetState(), 0);
  EXPECT_EQ(item->GetOn(), 0);
  Run(item, 133);
  EXPECT_EQ(item->GetOn(), 1);
  host.listMode = 2;
  Run(item, 120);
  EXPECT_EQ(item->GetState(), 2);
  Run(item, 12, 2);
  EXPECT_EQ(item->GetPressedLook(), 18);
  Run(item, 12, 3);
  EXPECT_EQ(item->GetPressedLook(), 0);
}

TEST_F(ItemActions, LooksThatHoldOnlyWhileTheirConditionDoes) {
  struct Case {
    int kind, p1, look;
    std::function<void()> make;
  };
  AddWindow(50);
  const Case cases[] = {
      {87, 50, 1, [&] { root->ActivateWindow(50, OVER_SINGLE); }},
      {88, 1024, 5, [&] { host.screenWidth = 1024; }},
      {89, 2, 4, [&] { host.listMode = 2; }},
      {90, 3, 7, [&] { host.selectedChart = 3; }},
      {91, -1, 6, [&] { host.chartSwitch = true; }},
      {93, 2, 9, [&] { host.filters[2] = true; }},
      {94, -1, 11, [&] { host.paused = true; }},
      {108, 3, 12, [&] { host.pageIndex = 2; }},
      {114, 6, 13, [&] { host.tool = 6; }},
      {116, 2, 17, [&] { host.musicMode = 2; }},
      {136, 1, 20, [&] { host.kmOrTrip = 1; }},
  };
  // The chart by trips, so that the kilometre look shows only once chosen.
  host.kmOrTrip = 0;
  for (const Case& c : cases) {
    item->SetPressed(0, 0, 0, 0);
    Run(item, c.kind, c.p1);
    EXPECT_EQ(item->GetPressedLook(), 0) << c.kind;
    c.make();
    Run(item, c.kind, c.p1);
    EXPECT_EQ(item->GetPressedLook(), c.look) << c.kind;
  }
  item->SetPressed(0, 0, 0, 0);
  Run(item, 153, 1);
  EXPECT_EQ(item->GetPressedLook(), 0);
  English english;
  CWorldHost::Install(&english);
  Run(item, 153, 1);
  EXPECT_EQ(item->GetPressedLook(), 23);
  CWorldHost::Install(nullptr);
  item->SetPressed(0, 0, 0, 0);
  Run(item, 140);
  EXPECT_EQ(item->GetPressedLook(), 21);
  item->SetPressed(0, 0, 0, 0);
  host.musicMode = 1;
  Run(item, 135, 1);
  EXPECT_EQ(item->GetPressedLook(), 17);
  item->HighLightOn();
  EXPECT_FALSE(item->IsHighlighted());  // kind 135 locks the highlight
}

TEST_F(ItemActions, MapsFiltersToolsAndTheExhibition) {
  for (int kind : {27, 28, 29, 30}) Run(kind, -1, -1, -1, INOUT_OUTSIDE);
  Run(31, 1);
  Run(31, 0);
  Run(32, 2);
  Run(32, 2);
  Run(32, -1);
  Run(32, 3, -1, -1, INOUT_OUTSIDE);
  Run(38);
  Run(39);
  Run(39, -1, -1, -1, INOUT_OUTSIDE);
  Run(98, 1);
  Run(98, 2);
  Run(51, 7);
  EXPECT_EQ(host.Take(),
            (std::vector<std::string>{"SetDoLater 7", "SetDoLater 6", "SetDoLater 4", "SetDoLater 5",
                                      "ActivateTwoDMap 1", "ActivateTwoDMap 0", "SetViewFilter 2 1",
                                      "SetViewFilter 2 0", "TurnBuilding 1", "TurnBuilding 0", "SetExpoModus 1",
                                      "SetIsoCenter 45 30", "SetExpoModus 2", "ChangeThematicMapFilter 7"}));
  EXPECT_EQ(item->GetPressedLook(), 3);
  for (int kind : {99, 100, 101, 102, 103, 104}) {
    Run(kind, 3, -1, -1, INOUT_OUTSIDE);
    Run(kind, 3);
  }
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetExpoTask 3", "SetExpoState 1", "ExpoBusSetTakt 3",
                                                   "SetExpoState 3", "ExpoSetTimeRating", "SetExpoState 5",
                                                   "SetExpoStreetType 3", "SetExpoState 5", "SetExpoState 7"}));
}

TEST_F(ItemActions, StatisticsControls) {
  host.shownSeries[4] = true;
  Run(55, 4, -1, -1, INOUT_OUTSIDE);
  EXPECT_EQ(item->GetState(), 2);
  Run(55, 5, -1, -1, INOUT_OUTSIDE);
  EXPECT_EQ(item->GetState(), -1);
  host.kmOrTrip = 1;
  Run(55, 79, -1, -1, INOUT_OUTSIDE);
  EXPECT_EQ(item->GetState(), 2);
  EXPECT_TRUE(host.Take().empty());
  for (int kind : {55, 57, 58, 59, 60, 61, 62}) Run(kind, 9);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"StatToggle 9", "StatYearMax 9", "StatClearScroll",
                                                   "StatGroupAll 1", "StatGroupAll 0", "StatYearStep 1",
                                                   "StatYearStep -1"}));
  Run(63);
  Run(63);
  host.statView = 6;
  Run(63);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetStatChartSwitch 1", "SetStatChartSwitch 0",
                                                   "SetStatChartSwitch 0"}));
  item->SetPressed(0, 0, 0, 0);
  Run(137, 0);
  EXPECT_EQ(host.kmOrTrip, 0);
  EXPECT_EQ(item->GetPressedLook(), 20);
  Run(137, 1, -1, -1, INOUT_OUTSIDE);
  EXPECT_EQ(host.kmOrTrip, 0);
}

TEST_F(ItemActions, MessagesAndEvents) {
  EXPECT_EQ(Run(64, 0).size(), 1u);
  EXPECT_EQ(host.pageIndex, 0);
  Run(64, 9);
  EXPECT_EQ(host.pageIndex, 4);
  Run(64, 3);
  EXPECT_EQ(host.pageIndex, 2);
  EXPECT_EQ(item->GetPressedLook(), 12);
  EXPECT_TRUE(Run(64, 1, -1, -1, INOUT_OUTSIDE).empty());
  EXPECT_EQ(host.pageIndex, 2);

  AddWindow(239);
  root->ActivateWindow(239, OVER_SINGLE);
  host.Take();
  Run(66);
  EXPECT_FALSE(Open(239));
  Run(67);
  Run(68);
  Run(68);
  Run(79);
  Run(112);
  Run(124, 6);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"RemoveSelectedEvent", "SetWindow239Opened 0",
                                                   "GotoSelectedEvent", "SetEventListFlag 0", "SetEventListFlag 1",
                                                   "GotoActiveMessage", "GotoActiveMessage",
                                                   "GotoSelectedMessage 6"}));
  Run(123, 4);
  EXPECT_EQ(item->GetLevel(), 3);
  Run(123, 4);
  EXPECT_EQ(item->GetLevel(), 0);
  host.processed[5] = true;
  Run(152, 5, -1, -1, INOUT_OUTSIDE);
  EXPECT_EQ(item->GetLevel(), 3);
  item->SetPressed(0, 0, 0, 0);
  Run(122, 5);
  EXPECT_EQ(item->GetPressedLook(), 19);
}

TEST_F(ItemActions, PublicTransportLines) {
  AddWindow(120);
  for (int id : {122, 129}) AddWindow(id, 120);
  AddWindow(227);
  CItem* lineText = NewItemIn(227, -1, 7);
  FakeVar* lineVar = Var(lineText, 0);
  host.lines[2] = Object(1);
  host.net = Object(2);
  root->ActivateWindow(129, OVER_SINGLE);
  Run(69, 2, -1, -1, INOUT_OUTSIDE);
  EXPECT_TRUE(Open(227));
  EXPECT_FALSE(Open(129));
  EXPECT_EQ(host.selectedLine, Object(1));
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetActiveLine 2", "CentreOnLine", "SetSelectedLine 2"}));
  lineVar->m_owner = Object(3);
  Run(69, 8);
  EXPECT_EQ(lineVar->m_owner, nullptr);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetActiveLine 8", "SetSelectedLine 65535"}));

  // Kind 95 binds the line page's rows: the line, then the net.
  auto* rows = new CDialog;
  rows->Create(0, 0, 50, 50, DIALOG_GROUP, 2, root->GetWindowByID(129));
  root->AddDialog(rows, 129);
  std::vector<FakeVar*> rowVars;
  for (int i = 0; i < 4; ++i) rowVars.push_back(Var(NewItemIn(129, 2), 0));
  auto* netRows = new CDialog;
  netRows->Create(0, 0, 50, 50, DIALOG_GROUP, 3, root->GetWindowByID(129));
  root->AddDialog(netRows, 129);
  FakeVar* netVar = Var(NewItemIn(129, 3), 0);
  FakeVar* netVar2 = Var(NewItemIn(129, 3), 0);
  Run(95, 2);
  EXPECT_EQ(rowVars[0]->m_owner, Object(1));
  EXPECT_EQ(rowVars[1]->m_owner, Object(1));
  EXPECT_EQ(rowVars[2]->m_owner, Object(2));
  EXPECT_EQ(rowVars[3]->m_owner, Object(2));
  EXPECT_EQ(netVar->m_owner, Object(2));
  EXPECT_EQ(netVar2->m_owner, Object(2));
  host.Take();

  Run(109, -1, -1, -1, INOUT_OUTSIDE);
  Run(109);
  Run(110, 2);
  EXPECT_EQ(host.selectedLine, Object(1));
  EXPECT_EQ(host.Take(),
            (std::vector<std::string>{"RemoveSelectedLine", "SetSelectedLine 2", "SetAchtungWindowJaNein 83 109"}));
}

TEST_F(ItemActions, TheConfirmedFleetActionRunsNext) {
  host.saved.reset(MakeAction(2, WHEN_LEFT_DOWN, INOUT_INSIDE, 124));
  CActionList own;
  own.AddHeadAction(MakeAction(3, WHEN_LEFT_DOWN, INOUT_ALWAYS));
  own.AddHeadAction(MakeAction(117, WHEN_LEFT_DOWN, INOUT_ALWAYS));
  CActionSelection selected;
  selected.AddHeadAction(own.GetTail());
  selected.AddHeadAction(own.GetHead());
  CActionList up;
  item->ActionAuswertung(&up, &selected, 1, 1, INOUT_INSIDE, INOUT_INSIDE);
  ASSERT_EQ(up.GetCount(), 2);
  EXPECT_EQ(up.GetTail()->m_kind, 2);  // the saved one first
  EXPECT_EQ(up.GetTail()->m_p1, 124);
  EXPECT_EQ(up.GetHead()->m_kind, 3);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"ResetEinVerkauf", "SetFollowUpFlag"}));
  // A saved kind 117 would run itself forever: it is not inserted.
  host.saved.reset(MakeAction(117, WHEN_LEFT_DOWN, INOUT_ALWAYS));
  EXPECT_TRUE(Run(117).empty());
  host.saved.reset();
  EXPECT_TRUE(Run(117).empty());
}

TEST_F(ItemActions, LoadingSavingAndNewGames) {
  Run(71);
  host.saveAsks = 1;
  Run(71);
  Run(144);
  Run(72);
  host.loadSelected = 1;
  host.ticksAfterLoad = 100000 - 59999;
  Run(72);
  host.ticksAfterLoad = 100000 - 60000;
  Run(72);
  Run(146, -1, -1, -1, INOUT_OUTSIDE);
  host.loadSelected = 0;
  Run(146, -1, -1, -1, INOUT_OUTSIDE);
  Run(147, -1, -1, -1, INOUT_OUTSIDE);
  Run(111);
  Run(111, -1, -1, -1, INOUT_OUTSIDE);
  EXPECT_EQ(host.Take(),
            (std::vector<std::string>{"SetDoLater 2", "SetAchtungWindowJaNein 69 144", "SetDoLater 2",
                                      "SetAchtungWindow 68", "SetDoLater 1", "SetAchtungWindowJaNein 71 147",
                                      "SetAchtungWindowJaNein 70 145", "SetAchtungWindow 68", "SetDoLater 1",
                                      "SetDoLater 3"}));
  host.startupTicks = 100000 - 59999;
  Run(148, 82, 150);
  Run(148, 80, 150);
  host.startupTicks = 100000 - 60000;
  Run(148, 82, 150);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetDoLater 3", "SetAchtungWindowJaNein 80 150",
                                                   "SetAchtungWindowJaNein 82 150"}));

  AddWindow(161);
  Run(145, -1, -1, -1, INOUT_OUTSIDE);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"DeleteGame", "MakeLoadSaveGames 1", "ClearNameInput"}));
  Run(78);
  Run(83, 2);
  EXPECT_EQ(item->GetPressedLook(), 4);
  Run(106);
  Run(76, 2);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"OpenNameInput -1", "SetLoadSaveGameMode 2", "MakeLoadSaveGames 1",
                                                   "ClearNameInput", "AutoLoadGame", "SetPause 0",
                                                   "SetWindowMode 2"}));
  // The name field opens with its cursor where it was pressed: before the
  // character whose left half the press hit, behind the name past its end
  // (characters 10 pixels wide without a font).
  auto* field = new CItemText;
  field->Create(12, 40, 164, 19, 24, "", HO_LEFT, VO_CENTER, 3, 0, 0, 1, 2, 3, "");
  int n = -1;
  ASSERT_EQ(root->AddItem(field, 30, -1, &n), 0);
  host.name = "RINGSTADT";
  const int left = 10 + 12;
  for (const auto& [column, cursor] : {std::pair{0, 0}, {4, 0}, {14, 1}, {16, 2}, {86, 9}, {140, 9}, {-30, 0}}) {
    field->OverItem(10, 10, left + column, 50);
    Run(field, 78, -1, -1, -1, INOUT_INSIDE, INOUT_NONE, INOUT_ALWAYS, left + column, 50);
    EXPECT_EQ(host.nameCursor, cursor) << "pressed " << column << " pixels into the field";
  }
  host.Take();
  host.autoSaveResult = 0;
  Run(81);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"AutoSaveGame", "PlayAbspannVideo", "LeaveGame"}));
  // A game that could not be saved is not left: the interface asks again,
  // after the question now answered has closed, and yes (155) leaves unsaved.
  host.autoSaveResult = 1;
  Run(81);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"AutoSaveGame", "SetDoLater 10"}));
  Run(155);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"PlayAbspannVideo", "LeaveGame"}));
  Run(item, 155, -1, -1, -1, INOUT_OUTSIDE, INOUT_NONE, INOUT_OUTSIDE);
  EXPECT_TRUE(host.Take().empty()) << "only a click on the button leaves";
  // Yes to the load key's question loads the fast save later (deferred 9),
  // not the automatic savegame that kind 106 reads at once.
  Run(157);
  Run(item, 157, -1, -1, -1, INOUT_OUTSIDE, INOUT_NONE, INOUT_OUTSIDE);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetDoLater 9"}));
}

TEST_F(ItemActions, SavegameSlotsAreChosenOnlyWhenListed) {
  host.slots = {"Alpha", ""};
  auto choose = [&](int slot) {
    item->SetState(0);
    Run(item, 75, slot);
    EXPECT_EQ(item->GetState(), 1);
    return host.Take();
  };
  auto chosen = [](const std::string& name, int slot) {
    return std::vector<std::string>{"SetNameInput " + name, "DeaktivateEingabe",
                                    "SetSelectedLoadSaveName " + std::to_string(slot), "MakeLoadSaveGames 1"};
  };
  EXPECT_EQ(choose(0), chosen("Alpha", 0));
  EXPECT_EQ(choose(1), chosen("No File Selected", 1));
  EXPECT_EQ(choose(2), chosen("No File Selected", -1));
  EXPECT_EQ(choose(-1), chosen("No File Selected", -1));
  host.slots.assign(60, "Game");
  EXPECT_EQ(choose(49), chosen("Game", 49));
  EXPECT_EQ(choose(50), chosen("No File Selected", -1));

  host.selectedSlot = 3;
  Run(121, 3);
  EXPECT_EQ(item->GetState(), 0);
  host.selectedSlotValid = true;
  Run(121, 3);
  EXPECT_EQ(item->GetState(), 1);
  Run(121, 4);
  EXPECT_EQ(item->GetState(), 0);
}

TEST_F(ItemActions, GodModeCreditAndPause) {
  AddWindow(143);
  AddWindow(144);
  root->ActivateWindow(143, OVER_SINGLE);
  Run(82, 4);
  host.gameMode = 0;
  Run(82, 4);
  Run(84);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetAchtungWindowJaNein 80 84", "ToggleGottWertActive 4",
                                                   "SetGottActive"}));
  EXPECT_EQ(Open(143), false);
  EXPECT_EQ(Open(144), true);
  host.debugInfo = true;
  Run(143);
  host.debugInfo = false;
  Run(143, -1, -1, -1, INOUT_OUTSIDE);
  Run(85);
  Run(86);
  Run(96);
  Run(97);
  Run(105, -1, -1, -1, INOUT_OUTSIDE);
  Run(105, -1, -1, -1, INOUT_OUTSIDE);
  Run(107, -1, -1, -1, INOUT_OUTSIDE);
  Run(107);
  Run(52, 9);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetGameMode 1", "TakeCredit 10000000", "RepayCredit 10000000",
                                                   "SetBlocked 0", "SetBlocked 1", "SetPause 1", "SetPause 0",
                                                   "SetPause 0", "SetDataExchangeSelection 9"}));
}

TEST_F(ItemActions, RemovalBooksTheCostOnlyOfWhatWasRemoved) {
  for (int id : {223, 243, 244}) {
    AddWindow(id);
    root->ActivateWindow(id, OVER_SINGLE);
  }
  host.Take();
  host.removalCost = 7500;
  host.removeResult = 0;
  Run(134);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"ClearRemovalWord", "CheckForRemoveObjectSelected",
                                                   "RemoveSelectedObject",
                                                   "VarAddValue F.EXPENSES.BUILDINFRASTRUCTURE 7500",
                                                   "ResetSelectedBuildingList", "ResetSelectedBuildingList"}));
  EXPECT_TRUE(host.renderList.empty());
  // Closed already, each of the three windows empties the list again.
  host.removeResult = 1;
  Run(134);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"ClearRemovalWord", "CheckForRemoveObjectSelected",
                                                   "RemoveSelectedObject", "ResetSelectedBuildingList",
                                                   "ResetSelectedBuildingList", "ResetSelectedBuildingList"}));
  Run(80);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"ClearRemovalWord", "CheckForRemoveObjectSelected",
                                                   "RemoveBuildingSelectedBuildingList",
                                                   "ResetSelectedBuildingList", "ResetSelectedBuildingList",
                                                   "ResetSelectedBuildingList"}));
  Run(80, -1, -1, -1, INOUT_OUTSIDE);
  EXPECT_TRUE(host.Take().empty());
}

TEST_F(ItemActions, HelpMusicLanguageAndSettings) {
  AddWindow(215);
  AddWindow(242);
  root->ActivateWindow(215, OVER_SINGLE);
  host.helpEntry = 111;
  EXPECT_EQ(Run(132, 111, 150, 40).size(), 1u);
  EXPECT_EQ(item->GetPressedLook(), 16);
  EXPECT_FALSE(Open(242));
  host.helpEntry = 7;
  EXPECT_EQ(Run(132, 7, 150, 40).size(), 1u);
  EXPECT_TRUE(Open(242));
  EXPECT_FALSE(Open(215));
  EXPECT_EQ(host.Take().back(), "SetHelpEntry242 7");
  EXPECT_TRUE(Run(132, 7, 150, 40, INOUT_OUTSIDE).empty());

  // The window lays the entry out at the German or English height.
  CItemText* body = nullptr;
  for (int i = 0; i < 6; ++i) {
    auto* part = new CItemText;
    part->Create(0, 0, 1, 1, 26, "", HO_LEFT, VO_CENTER, 3, 823, 0, 1, 2, 3, nullptr);
    int n = -1;
    root->AddItem(part, 242, -1, &n);
    if (i == 2) body = part;
  }
  auto help = [&](int p4) {
    Run(item, 132, 7, 150, 40, INOUT_INSIDE, INOUT_NONE, INOUT_ALWAYS, 0, 0, p4);
    return body->GetYSize();
  };
  EXPECT_EQ(help(60), 40);
  EXPECT_STREQ(body->GetDynamicText(), "Body");
  English english;
  CWorldHost::Install(&english);
  EXPECT_EQ(help(60), 60);
  EXPECT_EQ(help(-1), 40);
  CWorldHost::Install(nullptr);
  EXPECT_EQ(help(-1), 40);
  // Entry 110 is the last one there is.
  host.helpEntry = 110;
  root->DeActivateWindow(242, OVER_SINGLE);
  Run(132, 110, 150, 40);
  EXPECT_TRUE(Open(242));
  host.Take();

  Run(113);
  Run(138);
  Run(139, 1, 2, 3);
  EXPECT_EQ(item->GetPressedLook(), 21);
  item->SetPressed(0, 0, 0, 0);
  Run(115, 2);
  host.win2000 = 0;
  Run(115, 3);
  EXPECT_EQ(item->GetPressedLook(), 17);
  Run(154, 1);
  EXPECT_EQ(item->GetPressedLook(), 23);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"PlayTutorialVideo", "StartTutorial", "ToggleBottomPanelPinned",
                                                   "SetMusicMode 2", "SetLanguage 1"}));

  item->SetPressed(0, 0, 0, 0);
  Run(141, -1, -1, -1, INOUT_OUTSIDE);
  EXPECT_EQ(item->GetPressedLook(), 0);
  item->HighLightOn();
  Run(142, -1, -1, -1, INOUT_OUTSIDE);
  EXPECT_EQ(item->GetPressedLook(), 22);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetHotlineOn"}));
  item->HighLightOff();
  EXPECT_TRUE(item->IsHighlighted());  // locked as it was
  CItem* other = NewItemIn(30, -1);
  Run(other, 141, -1, -1, -1, INOUT_OUTSIDE);
  EXPECT_EQ(other->GetPressedLook(), 22);

  zortest::Clock().Set(123456);
  CScreenWindow::m_NoZorvaListRefresh = 0;
  Run(150, -1, -1, -1, INOUT_OUTSIDE);
  EXPECT_EQ(CScreenWindow::m_NoZorvaListRefresh, 0u);
  Run(150);
  EXPECT_EQ(CScreenWindow::m_NoZorvaListRefresh, 123456u);
}

namespace {
// Counts the rebuilds of its list.
struct ListDialog : CDialog {
  int SetZorvaList(CZorvaList*, ZorvaList_Settings) override {
    ++rebuilds;
    return 0;
  }
  int rebuilds = 0;
};
}  // namespace

TEST_F(ItemActions, KindsTheItemCarriesOutDoNotGoUp) {
  Var(item, 0);
  for (int kind : {12, 24, 25, 45, 48, 50, 53, 129, 130, 133, 120, 8, 9, 11, 13, 14, 27, 31, 32, 51, 55, 57, 63, 65,
                   66, 68, 69, 95, 105, 117, 121, 123, 140, 141, 142, 150, 152, 153, 154})
    EXPECT_TRUE(Run(kind, 1).empty()) << kind;
  EXPECT_TRUE(Run(25, -1, -1, -1).empty());
  CItem* bare = NewItemIn(30, -1);
  for (int kind : {24, 25, 45, 48, 50, 53, 129, 133}) EXPECT_TRUE(Run(bare, kind, 1).empty()) << kind;
}

TEST_F(ItemActions, ListsAreRebuiltWhereTheyShowWhatChanged) {
  AddWindow(161);
  AddWindow(218);
  auto* saves = new ListDialog;
  saves->Create(0, 0, 10, 10, 3, 1, root->GetWindowByID(161));
  root->AddDialog(saves, 161);
  auto* events = new ListDialog;
  events->Create(0, 0, 10, 10, 21, 1, root->GetWindowByID(218));
  root->AddDialog(events, 218);
  Run(145);
  EXPECT_EQ(saves->rebuilds, 1);
  Run(83, 2);
  EXPECT_EQ(saves->rebuilds, 2);
  Run(66);
  EXPECT_EQ(events->rebuilds, 1);
  EXPECT_EQ(saves->rebuilds, 2);
}

TEST_F(ItemActions, AnItemOutsideAnyWindowStillLosesItsHighlight) {
  CItem loose;
  loose.Create(0, 0, 10, 10, 13, 0, -1);
  loose.HighLightOn();
  Run(&loose, 11, -1, -1, -1, INOUT_OUTSIDE);
  EXPECT_FALSE(loose.IsHighlighted());
  // Without a tree, kinds that reach windows do nothing.
  EXPECT_TRUE(Run(&loose, 34, 30).size() == 1u);
  Run(&loose, 66);
  Run(&loose, 84);
}
