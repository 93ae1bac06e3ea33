#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>

#include "gui/balloon_help.h"
#include "gui/item_text.h"
#include "gui_fakes.h"
#include "support/test_support.h"

namespace {
// A stand-in object for bindings: only its address is used.
CWorldObj* Object(int n) {
  static char storage[4];
  return reinterpret_cast<CWorldObj*>(&storage[n]);
}

struct WindowActions : ::testing::Test {
  FakeHost host;
  CScreenWindow* root = nullptr;

  void SetUp() override {
    CItemText::SetMeasureContext(nullptr, nullptr);
    root = new CScreenWindow;
    root->Create(0, 0, 800, 600, 1, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
    root->SetActive(true);
  }
  void TearDown() override {
    root->Destroy();
    delete root;
  }
  CScreenWindow* Add(int id, int parent = 1, EScreenWindowType type = WINDOW_NORMAL, int x = 10, int y = 10,
                     int w = 100, int h = 80) {
    auto* c = new CScreenWindow;
    c->Create(x, y, w, h, id, 0, type, POSITION_FIXED, 0);
    EXPECT_EQ(root->AddWindow(c, parent), 0);
    return c;
  }
  void AddAll(std::initializer_list<int> ids, int parent = 1) {
    for (int id : ids) Add(id, parent);
  }
  bool Open(int id) { return host.IsWindowOpen(id); }
  std::vector<int> OpenOf(std::initializer_list<int> ids) {
    std::vector<int> open;
    for (int id : ids)
      if (Open(id)) open.push_back(id);
    return open;
  }
  // Runs one action through window id's interpreter.
  void Run(int id, EActionType kind, int p1 = -1, int p2 = -1, int p3 = -1, EInOutType hit = INOUT_INSIDE,
           EInOutType inout = INOUT_INSIDE, int x = 0, int y = 0) {
    CActionList list;
    list.AddHeadAction(MakeAction(kind, WHEN_LEFT_DOWN, inout, p1, p2, p3));
    EPosition zone = 0;
    root->GetWindowByID(id)->ActionAuswertung(&list, hit, x, y, &zone);
  }
  CItem* AddPicture(int window, EItemType type = 20) {
    auto* item = new CItem;
    item->Create(0, 0, 5, 5, type, 0, -1);
    int n = -1;
    EXPECT_EQ(root->AddItem(item, window, -1, &n), 0);
    return item;
  }
};
}  // namespace

TEST_F(WindowActions, GroupsOpenTheirFirstPageAndCloseTheOthers) {
  Add(80);
  AddAll({81, 82, 84, 85, 86, 87, 88, 89, 90, 91, 92}, 80);
  for (int id : {81, 86, 92}) root->GetWindowByID(id)->ActivateWindow(-1, OVER_SINGLE);
  EXPECT_EQ(root->ActivateWindow(80, OVER_GROUP), 0);
  EXPECT_EQ(OpenOf({80, 81, 82, 84, 85, 86, 87, 88, 89, 90, 91, 92}), (std::vector<int>{80, 90}));
  // Opened as the window alone, the group leaves its pages as they are.
  root->ActivateWindow(85, OVER_GROUP);
  root->GetWindowByID(80)->ActivateWindow(-1, OVER_SINGLE);
  EXPECT_EQ(OpenOf({80, 85, 90}), (std::vector<int>{80, 85, 90}));
  // The search from the root hands the group opening on, whatever was asked.
  for (int id : {80, 85, 90}) root->DeActivateWindow(id, OVER_SINGLE);
  root->ActivateWindow(80, OVER_SINGLE);
  EXPECT_EQ(OpenOf({80, 85, 90}), (std::vector<int>{80, 90}));

  // Closing with its group takes the pages along; bringing to front not.
  root->ActivateWindow(85, OVER_GROUP);
  EXPECT_EQ(root->DeActivateWindow(80, OVER_FRONT), 0);
  EXPECT_EQ(OpenOf({80, 85, 90}), (std::vector<int>{85, 90}));
  root->ActivateWindow(80, OVER_SINGLE);
  root->ActivateWindow(85, OVER_GROUP);
  root->DeActivateWindow(80, OVER_GROUP);
  EXPECT_TRUE(OpenOf({80, 81, 82, 84, 85, 86, 87, 88, 89, 90, 91, 92}).empty());
  EXPECT_FALSE(root->GetWindowByID(85)->IsActive());

  EXPECT_EQ(root->GetWindowByID(85)->ActivateWindow(-1, OVER_SINGLE), 0);
  EXPECT_EQ(root->GetWindowByID(85)->ActivateWindow(-1, OVER_FRONT), 0);
  EXPECT_EQ(root->ActivateWindow(999, OVER_GROUP), 1);
  EXPECT_EQ(root->DeActivateWindow(999, OVER_GROUP), 1);
}

TEST_F(WindowActions, GroupsThatCloseFirstAndTheirFollowUps) {
  Add(201);
  AddAll({202, 203, 204}, 201);
  host.pictures[36448] = {120, 90};
  CItem* tab = AddPicture(201);
  root->ActivateWindow(203, OVER_GROUP);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"ChangeThematicMapFilter 15"}));
  root->ActivateWindow(201, OVER_GROUP);
  EXPECT_EQ(OpenOf({201, 202, 203, 204}), (std::vector<int>{201, 202}));
  EXPECT_EQ(host.closedOrder, (std::vector<int>{203, 204}));
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"ChangeThematicMapFilter 1"}));
  EXPECT_EQ(tab->GetResource(0), 36448);
  EXPECT_EQ(tab->GetResource(2), 50020);
  EXPECT_EQ(root->GetWindowByID(201)->GetSizeX(), 120);

  Add(160);
  AddAll({161, 162, 163}, 160);
  root->ActivateWindow(160, OVER_GROUP);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetBlocked 1", "MakeLoadSaveGames 1"}));
  EXPECT_EQ(OpenOf({160, 161, 162, 163}), (std::vector<int>{160, 163}));
}

TEST_F(WindowActions, ExhibitionModeKeepsItsListClosed) {
  Add(120);
  Add(300);
  host.gameMode = 3;
  EXPECT_EQ(root->ActivateWindow(120, OVER_GROUP), 0);
  EXPECT_FALSE(Open(120));
  EXPECT_EQ(root->ActivateWindow(300, OVER_GROUP), 0);
  EXPECT_TRUE(Open(300));
  host.debugInfo = true;
  root->ActivateWindow(120, OVER_GROUP);
  EXPECT_TRUE(Open(120));
  for (int id : {10, 14, 20, 21, 23, 25, 26, 28, 30, 59, 80, 92, 101, 103, 110, 112, 116, 120, 133, 140, 153, 160,
                 163, 170, 173, 190, 195, 200, 204, 210, 221, 223, 224, 227, 230, 242, 244})
    EXPECT_EQ(CScreenWindow::CheckExpoActivateWindow(id), 1) << id;
  for (int id : {1, 9, 15, 22, 24, 27, 29, 60, 93, 100, 104, 111, 117, 134, 154, 164, 174, 196, 205, 209, 222, 225,
                 226, 231, 241, 245, 300})
    EXPECT_EQ(CScreenWindow::CheckExpoActivateWindow(id), 0) << id;
}

TEST_F(WindowActions, HelpWindowsAndTheAdviserPair) {
  AddAll({215, 242, 218, 239});
  root->ActivateWindow(215, OVER_GROUP);
  root->ActivateWindow(242, OVER_GROUP);
  EXPECT_EQ(OpenOf({215, 242}), (std::vector<int>{242}));
  root->ActivateWindow(215, OVER_GROUP);
  EXPECT_EQ(OpenOf({215, 242}), (std::vector<int>{215}));

  root->ActivateWindow(218, OVER_GROUP);
  EXPECT_FALSE(Open(239));
  root->ActivateWindow(239, OVER_GROUP);
  EXPECT_TRUE(host.opened239);
  EXPECT_EQ(host.renderList[0]->GetID(), 218);  // 239 opening brings 218 forward
  root->DeActivateWindow(218, OVER_SINGLE);
  host.BringToFront(root->GetWindowByID(215));
  root->ActivateWindow(218, OVER_GROUP);
  EXPECT_TRUE(root->GetWindowByID(239)->IsActive());
  EXPECT_EQ(host.renderList[0]->GetID(), 239);
  EXPECT_EQ(host.renderList[1]->GetID(), 218);
  host.Take();
  root->DeActivateWindow(239, OVER_SINGLE);
  EXPECT_FALSE(host.opened239);
  root->DeActivateWindow(239, OVER_SINGLE);  // already closed: the flag is not touched again
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetWindow239Opened 0"}));
  root->DeActivateWindow(218, OVER_SINGLE);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"ClearAdviserSelection"}));
}

TEST_F(WindowActions, TheQuitQuestionAndTheSaveWindowHoldTheGame) {
  AddAll({160, 247, 30});
  // Opened from the root, the save window also re-reads the savegames.
  root->ActivateWindow(160, OVER_SINGLE);
  root->DeActivateWindow(160, OVER_SINGLE);
  EXPECT_EQ(host.Take(),
            (std::vector<std::string>{"SetBlocked 1", "MakeLoadSaveGames 1", "SetBlocked 0", "ClearNameEntry"}));
  root->ActivateWindow(30, OVER_SINGLE);
  EXPECT_TRUE(host.Take().empty());
  // Questions are asked the way the game asks them: the question is noted,
  // then window 247 opens. Another question neither holds the game nor lets
  // it go.
  host.tree = root;
  host.SetAchtungWindowJaNein(80, 150);
  ASSERT_EQ(host.yesNo, 80);
  root->DeActivateWindow(247, OVER_SINGLE);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetAchtungWindowJaNein 80 150"}));
  ASSERT_EQ(host.yesNo, -1);
  // The quit question holds the game as it opens. While it shows, closing the
  // save window does not let the game go; closing the question does.
  host.SetAchtungWindowJaNein(79, 81);
  ASSERT_EQ(host.yesNo, 79);
  root->GetWindowByID(160)->ActivateWindow(-1, OVER_SINGLE);
  root->DeActivateWindow(160, OVER_SINGLE);
  root->DeActivateWindow(247, OVER_SINGLE);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetAchtungWindowJaNein 79 81", "SetBlocked 1", "SetBlocked 1",
                                                   "ClearNameEntry", "SetBlocked 0"}));
  EXPECT_EQ(host.yesNo, -1);
}

TEST_F(WindowActions, BringingTheSavegameListForwardKeepsItsSelection) {
  Add(160);
  AddAll({161, 162}, 160);
  root->ActivateWindow(161, OVER_SINGLE);
  root->ActivateWindow(162, OVER_SINGLE);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"MakeLoadSaveGames 1", "MakeLoadSaveGames 0"}));
  root->GetWindowByID(161)->ActivateWindow(-1, OVER_FRONT);
  root->GetWindowByID(162)->ActivateWindow(-1, OVER_FRONT);
  EXPECT_TRUE(host.Take().empty());
  // Brought forward while closed, it opens with its effects.
  root->DeActivateWindow(161, OVER_SINGLE);
  root->GetWindowByID(161)->ActivateWindow(-1, OVER_FRONT);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"MakeLoadSaveGames 1"}));
}

TEST_F(WindowActions, ClosingClearsTheSelectionsOfItsWindow) {
  AddAll({223, 243, 244, 220, 227, 190, 194, 229, 230, 221, 170, 224, 217});
  auto closeOf = [&](int id) {
    root->ActivateWindow(id, OVER_SINGLE);
    host.Take();
    root->DeActivateWindow(id, OVER_SINGLE);
    return host.Take();
  };
  EXPECT_EQ(closeOf(223), (std::vector<std::string>{"ResetSelectedBuildingList"}));
  EXPECT_EQ(closeOf(243), (std::vector<std::string>{"ResetSelectedBuildingList"}));
  root->ActivateWindow(244, OVER_SINGLE);
  EXPECT_TRUE(closeOf(243).empty());
  EXPECT_EQ(closeOf(220), (std::vector<std::string>{"ClearWarningHighlight"}));
  // The line window ends line editing; a tool chosen instead, which closes
  // the window on its way, stays.
  host.tool = 17;
  EXPECT_EQ(closeOf(227), (std::vector<std::string>{"SetToolStandard"}));
  for (int tool : {1, 15, 22, 23}) {
    host.tool = tool;
    EXPECT_TRUE(closeOf(227).empty()) << tool;
  }
  for (int id : {221, 170, 224}) EXPECT_EQ(closeOf(id), (std::vector<std::string>{"ClearBuildingMarker"})) << id;
  // The street stays selected while one of its windows is open.
  root->ActivateWindow(194, OVER_SINGLE);
  EXPECT_TRUE(closeOf(190).empty());
  root->ActivateWindow(190, OVER_SINGLE);
  EXPECT_TRUE(closeOf(194).empty());
  EXPECT_EQ(closeOf(190), (std::vector<std::string>{"ClearSelectedStreet"}));
  root->ActivateWindow(230, OVER_SINGLE);
  EXPECT_TRUE(closeOf(229).empty());
  EXPECT_EQ(closeOf(230), (std::vector<std::string>{"ClearSelectedCrossing"}));
  EXPECT_EQ(closeOf(217), (std::vector<std::string>{"ClearAdviserSelection"}));
}

namespace {
struct ListDialog : CDialog {
  int SetZorvaList(CZorvaList*, ZorvaList_Settings) override {
    ++rebuilds;
    return 0;
  }
  int rebuilds = 0;
};
}  // namespace

TEST_F(WindowActions, OpeningRefreshesListsAndVariables) {
  Add(30);
  auto* list = new ListDialog;
  list->Create(0, 0, 10, 10, 3, 1, root->GetWindowByID(30));
  root->AddDialog(list, 30);
  auto* var = new FakeVar(VAR_INT, "V");
  AddPicture(30, 13)->AddVar(var);
  root->ActivateWindow(30, OVER_SINGLE);
  EXPECT_EQ(list->rebuilds, 1);
  EXPECT_EQ(var->m_refreshes, 1);
  root->DeActivateWindow(30, OVER_SINGLE);
  EXPECT_EQ(list->rebuilds, 1);
  EXPECT_EQ(var->m_refreshes, 1);
}

TEST_F(WindowActions, OpeningAndClosingClearTheItemsLooks) {
  Add(30);
  CItem* item = AddPicture(30, 13);
  root->ActivateWindow(30, OVER_SINGLE);
  zortest::Clock().Set(5000);
  QnoInteractionEvent press = MakeEvent(QNO_EVENT_BUTTONDOWN, 12, 12, 0);
  CActionList up;
  item->InputFilter(&press, nullptr, &up, 10, 10, 12, 12, INOUT_INSIDE, INOUT_NONE);
  item->HighLightOn();
  ASSERT_NE(item->GetPressedUntil(), 0u);
  root->DeActivateWindow(30, OVER_SINGLE);
  EXPECT_EQ(item->GetPressedUntil(), 0u);
  EXPECT_FALSE(item->IsHighlighted());
  item->InputFilter(&press, nullptr, &up, 10, 10, 12, 12, INOUT_INSIDE, INOUT_NONE);
  item->HighLightOn();
  root->ActivateWindow(30, OVER_SINGLE);
  EXPECT_EQ(item->GetPressedUntil(), 0u);
  EXPECT_FALSE(item->IsHighlighted());
}

TEST_F(WindowActions, ClosedWindowsReturnHomeExceptStreetAndCrossingWindows) {
  CScreenWindow* w = Add(30, 1, WINDOW_NORMAL, 40, 50);
  CScreenWindow* street = Add(190, 1, WINDOW_NORMAL, 40, 50);
  for (CScreenWindow* x : {w, street}) {
    root->ActivateWindow(x->GetID(), OVER_SINGLE);
    x->SetPosX(90);
    x->SetPosY(95);
    root->DeActivateWindow(x->GetID(), OVER_SINGLE);
  }
  EXPECT_EQ(w->GetPosX(), 40);
  EXPECT_EQ(w->GetPosY(), 50);
  EXPECT_EQ(street->GetPosX(), 90);
  EXPECT_EQ(street->GetPosY(), 95);
  // Toggling it closed takes it home too.
  root->ToggleWindow(190);
  EXPECT_TRUE(Open(190));
  root->ToggleWindow(190);
  EXPECT_FALSE(Open(190));
  EXPECT_EQ(street->GetPosX(), 40);
}

TEST_F(WindowActions, ToggleOpensWithTheGroupAndClosesWithIt) {
  Add(110);
  AddAll({112, 113, 114, 115, 116}, 110);
  EXPECT_EQ(root->ToggleWindow(110), 0);
  EXPECT_EQ(OpenOf({110, 112, 113, 114, 115, 116}), (std::vector<int>{110, 116}));
  EXPECT_EQ(host.Take().front(), "DisableStandardMenues");
  EXPECT_EQ(root->ToggleWindow(110), 0);
  EXPECT_TRUE(OpenOf({110, 112, 113, 114, 115, 116}).empty());
  EXPECT_EQ(root->ToggleWindow(5), 1);
}

TEST_F(WindowActions, EscAndTheRightButtonCloseWholeGroups) {
  Add(140);
  AddAll({141, 142, 143, 144, 145, 146}, 140);
  AddAll({147, 148, 149, 150, 151, 152, 153}, 142);
  Add(216);
  for (int id = 140; id <= 153; ++id) root->ActivateWindow(id, OVER_SINGLE);
  root->ActivateWindow(216, OVER_SINGLE);
  host.closedOrder.clear();
  EXPECT_EQ(root->CloseOnEscAndRightMouse(145), 0);
  EXPECT_EQ(host.closedOrder,
            (std::vector<int>{216, 140, 141, 142, 147, 148, 149, 150, 151, 152, 153, 146, 143, 144, 145}));
  EXPECT_TRUE(host.renderList.empty());

  Add(214);
  AddAll({101, 102, 103}, 214);
  AddAll({218, 239, 110, 112, 113, 30, 60, 131});
  auto closes = [&](int id) {
    for (int w : {214, 101, 102, 103, 218, 239, 110, 112, 113, 30, 60, 131}) root->ActivateWindow(w, OVER_SINGLE);
    host.closedOrder.clear();
    const int result = root->CloseOnEscAndRightMouse(id);
    return std::make_pair(result, host.closedOrder);
  };
  EXPECT_EQ(closes(102), std::make_pair(0, std::vector<int>{214, 101, 102, 103}));
  EXPECT_EQ(closes(218), std::make_pair(0, std::vector<int>{218, 239}));
  EXPECT_EQ(closes(30), std::make_pair(0, std::vector<int>{30}));
  EXPECT_EQ(closes(113).second, (std::vector<int>{110, 112, 113}));
  EXPECT_EQ(closes(110).second, (std::vector<int>{110, 112, 113}));
  EXPECT_EQ(closes(131), std::make_pair(0, std::vector<int>{131}));
  EXPECT_EQ(closes(60), std::make_pair(1, std::vector<int>{}));
  Add(160);
  AddAll({161, 162, 163}, 160);
  Add(201);
  AddAll({202, 203, 204}, 201);
  Add(170);
  AddAll({171, 172, 173}, 170);
  for (int group : {160, 201, 170}) {
    for (int id = group; id <= group + 3; ++id) root->ActivateWindow(id, OVER_SINGLE);
    host.closedOrder.clear();
    EXPECT_EQ(root->CloseOnEscAndRightMouse(group + 2), 0);
    EXPECT_EQ(host.closedOrder, (std::vector<int>{group, group + 1, group + 2, group + 3})) << group;
  }
  EXPECT_EQ(closes(1), std::make_pair(1, std::vector<int>{}));
  // Each window of a group closes by the same rule and is in its own group,
  // so closing every window that has a group closes every group whole.
  int withGroup = 0;
  for (int id = 0; id <= CScreenWindow::kWindowIdLimit; ++id) {
    const CScreenWindow::EscapeGroup g = CScreenWindow::EscapeGroupOf(id);
    if (g.count == 0) continue;
    ++withGroup;
    EXPECT_NE(std::find(g.ids, g.ids + g.count, id), g.ids + g.count) << id;
    for (int i = 0; i < g.count; ++i) EXPECT_TRUE(CScreenWindow::ClosesOnEscape(g.ids[i])) << id << " " << g.ids[i];
  }
  EXPECT_EQ(withGroup, 130);
  // Which windows Escape closes, and with how many others, as runs of ids
  // "first-last:group size".
  std::string runs;
  for (int id = 0, first = -1; id <= CScreenWindow::kWindowIdLimit + 1; ++id) {
    const int size = id <= CScreenWindow::kWindowIdLimit ? CScreenWindow::EscapeGroupOf(id).count : 0;
    const int before = id > 0 ? CScreenWindow::EscapeGroupOf(id - 1).count : 0;
    if (first >= 0 && (size != before || size == 0)) {
      runs.append(std::to_string(first));
      if (first != id - 1) runs.append("-").append(std::to_string(id - 1));
      runs.append(":").append(std::to_string(before)).append(" ");
      first = -1;
    }
    if (size > 0 && first < 0) first = id;
  }
  EXPECT_EQ(runs,
            "10:1 20-21:1 23:1 25-26:1 28:1 30-59:1 80-92:13 101-103:4 110:6 112-116:6 120-129:10 130-133:1 "
            "140-153:15 160-163:4 170-173:4 190-195:1 200:1 201-204:4 210-213:1 214:4 215:1 216:15 217:1 218:2 "
            "219-221:1 223-224:1 227-230:1 235-236:1 239:1 242-244:1 ");
}

TEST_F(WindowActions, MenusCloseOnlyAtHomeAndSubMenusAlways) {
  CScreenWindow* menu = Add(20, 1, WINDOW_MENU, 10, 10);
  CScreenWindow* sub = Add(21, 1, WINDOW_SUBMENU, 10, 10);
  CScreenWindow* plain = Add(23, 1, WINDOW_NORMAL, 10, 10);
  for (int id : {20, 21, 23}) root->ActivateWindow(id, OVER_SINGLE);
  EXPECT_FALSE(plain->CloseIfSubMenue());
  EXPECT_FALSE(plain->CloseIfStandardPosMenue());
  EXPECT_FALSE(menu->CloseIfSubMenue());
  EXPECT_TRUE(sub->CloseIfSubMenue());
  EXPECT_FALSE(Open(21));
  menu->SetPosX(11);
  EXPECT_FALSE(menu->CloseIfStandardPosMenue());
  EXPECT_TRUE(Open(20));
  root->CloseOnEscAndRightMouse(20);
  EXPECT_EQ(menu->GetPosX(), 10);
  root->ActivateWindow(20, OVER_SINGLE);
  EXPECT_TRUE(menu->CloseIfStandardPosMenue());
  EXPECT_FALSE(Open(20));
  EXPECT_TRUE(Open(23));
}

TEST_F(WindowActions, OpeningAndClosingKinds) {
  Add(30);
  Add(31, 30, WINDOW_SUBMENU);
  Add(32, 1, WINDOW_SUBMENU);
  Add(33, 31);
  Add(34);
  root->ActivateWindow(32, OVER_SINGLE);
  // Kind 2 from a sub-menu: it closes itself, then opens the window below
  // it (p2 -1) or from the root.
  Run(32, 2, 34, 0);
  EXPECT_EQ(OpenOf({32, 34}), (std::vector<int>{34}));
  root->ActivateWindow(31, OVER_SINGLE);
  root->DeActivateWindow(34, OVER_SINGLE);
  Run(31, 2, 34, -1);  // 34 is not below 31
  EXPECT_FALSE(Open(34));
  EXPECT_FALSE(Open(31));
  Run(30, 2, 33, -1);
  EXPECT_TRUE(Open(33));
  // The inside condition holds kinds back when the pointer is outside.
  Run(30, 6, 33, -1, -1, INOUT_OUTSIDE);
  EXPECT_TRUE(Open(33));
  Run(30, 6, 33);
  EXPECT_FALSE(Open(33));
  Run(30, 6, 34, -1, -1, INOUT_OUTSIDE, INOUT_OUTSIDE);
  EXPECT_FALSE(Open(34));
  // Kind 10 closes p1 looked up from the window, or the window itself.
  root->ActivateWindow(30, OVER_SINGLE);
  root->ActivateWindow(33, OVER_SINGLE);
  Run(30, 10, 33, -1, -1, INOUT_OUTSIDE, INOUT_ALWAYS);
  EXPECT_FALSE(Open(33));
  Run(30, 10, -1, -1, -1, INOUT_OUTSIDE, INOUT_ALWAYS);
  EXPECT_FALSE(Open(30));
  // Kind 34 toggles from the root, kind 47 closes without the children.
  Run(34, 34, 30, -1, -1, INOUT_OUTSIDE, INOUT_ALWAYS);
  EXPECT_TRUE(Open(30));
  root->ActivateWindow(31, OVER_SINGLE);
  Run(34, 47, 30);
  EXPECT_EQ(OpenOf({30, 31}), (std::vector<int>{31}));
  // Kind 5 chooses a tool and closes the menus.
  host.Take();
  Run(34, 5, 3, 2, 1);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetToolNr 3 2 1", "DisableStandardMenues"}));
}

TEST_F(WindowActions, KindFifteenClosesAChildWhenThePointerLeavesIt) {
  Add(30, 1, WINDOW_NORMAL, 100, 100, 200, 200);
  Add(31, 30, WINDOW_NORMAL, 10, 10, 50, 50);
  root->ActivateWindow(30, OVER_SINGLE);
  root->ActivateWindow(31, OVER_SINGLE);
  Run(30, 15, 31, -1, -1, INOUT_INSIDE, INOUT_INSIDE, 120, 120);
  EXPECT_TRUE(Open(31));
  Run(30, 15, 31, -1, -1, INOUT_INSIDE, INOUT_INSIDE, 160, 120);
  EXPECT_FALSE(Open(31));
}

TEST_F(WindowActions, PagesOfTheGroupsOpenedByTabs) {
  Add(80);
  AddAll({81, 84, 86, 87, 89, 90, 92}, 80);
  Add(170);
  AddAll({171, 172, 173}, 170);
  Add(214);
  AddAll({101, 102, 103}, 214);
  Add(110);
  AddAll({112, 113, 114, 115, 116}, 110);
  Run(1, 40, 87);
  EXPECT_EQ(OpenOf({80, 81, 84, 86, 87, 89, 90, 92}), (std::vector<int>{80, 87}));
  Run(1, 43, 173);
  EXPECT_EQ(OpenOf({170, 171, 172, 173}), (std::vector<int>{170, 173}));
  root->ActivateWindow(102, OVER_SINGLE);
  Run(1, 42, 101);
  EXPECT_EQ(OpenOf({214, 101, 102, 103}), (std::vector<int>{214, 101}));
  Run(1, 41, 113);
  EXPECT_EQ(OpenOf({110, 112, 113, 114, 115, 116}), (std::vector<int>{110, 113}));

  Add(201);
  AddAll({202, 203, 204}, 201);
  host.Take();
  Run(1, 36, 204);
  EXPECT_EQ(OpenOf({201, 202, 203, 204}), (std::vector<int>{201, 204}));
  // The page's own opening and the tab both set its layer.
  EXPECT_EQ(host.layer, 6);
  const auto calls = host.Take();
  EXPECT_EQ(calls.back(), "ChangeThematicMapFilter 6");
}

TEST_F(WindowActions, TheStatisticsTabsFollowTheGameMode) {
  Add(140);
  AddAll({141, 142, 143, 144, 145, 146}, 140);
  AddAll({147, 148, 149, 150, 151, 152, 153}, 142);
  const std::initializer_list<int> all = {140, 141, 142, 143, 144, 145, 146, 147, 148, 149,
                                          150, 151, 152, 153};
  Run(1, 44, 142);
  EXPECT_EQ(OpenOf(all), (std::vector<int>{140, 142, 147}));
  EXPECT_EQ(host.Take().back(), "ChangeStatistikGruppe 0");
  Run(1, 44, 143);
  EXPECT_EQ(OpenOf(all), (std::vector<int>{140, 143}));  // the statistics' pages went with 142
  root->ActivateWindow(142, OVER_SINGLE);
  root->ActivateWindow(149, OVER_SINGLE);
  Run(1, 44, 143);
  EXPECT_EQ(OpenOf(all), (std::vector<int>{140, 143}));
  Run(1, 44, 145);
  EXPECT_EQ(OpenOf(all), (std::vector<int>{140, 143}));
  host.gameMode = 0;
  Run(1, 44, 143);
  EXPECT_EQ(OpenOf(all), (std::vector<int>{140, 144}));
  Run(1, 44, 145);
  EXPECT_EQ(OpenOf(all), (std::vector<int>{140, 145}));
  Run(1, 44, 146);
  EXPECT_EQ(OpenOf(all), (std::vector<int>{140, 146}));
  root->ActivateWindow(142, OVER_SINGLE);
  root->ActivateWindow(147, OVER_SINGLE);
  Run(1, 44, 141);
  EXPECT_EQ(OpenOf(all), (std::vector<int>{140, 141}));
  Run(1, 44, 144);  // opens the group and nothing more
  EXPECT_EQ(OpenOf(all), (std::vector<int>{140, 141}));

  Run(1, 44, 142);
  host.Take();
  Run(1, 56, 150);
  EXPECT_EQ(OpenOf(all), (std::vector<int>{140, 142, 150}));
  EXPECT_EQ(host.Take().back(), "ChangeStatistikGruppe 4");
  const int groups[] = {0, 6, 5, 4, 2, 1, 3};
  for (int page = 147; page <= 153; ++page) {
    CScreenWindow::WindowStatistikGruppe(page);
    EXPECT_EQ(host.Take(), (std::vector<std::string>{"ChangeStatistikGruppe " + std::to_string(groups[page - 147])}));
  }
  CScreenWindow::WindowStatistikGruppe(146);
  CScreenWindow::WindowStatistikGruppe(154);
  EXPECT_TRUE(host.Take().empty());
}

TEST_F(WindowActions, AFleetPurchaseWaitsForConfirmationBeforeLeaving) {
  Add(120);
  AddAll({122, 123, 124, 125, 126, 127, 128, 129}, 120);
  root->ActivateWindow(120, OVER_SINGLE);
  root->ActivateWindow(126, OVER_SINGLE);
  // The question opens its window 247, and waits while it shows.
  Add(247);
  host.tree = root;
  host.fleetTrade = true;
  Run(1, 35, 124);
  EXPECT_EQ(OpenOf({122, 124, 126}), (std::vector<int>{122, 126}));
  ASSERT_NE(host.saved, nullptr);
  EXPECT_EQ(host.saved->m_kind, 35);
  EXPECT_EQ(host.saved->m_p1, 124);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SaveConfirmationAction 35", "SetConfirmationPending",
                                                   "SetAchtungWindowJaNein 81 117"}));
  // Confirmed while the question shows, the saved action runs through.
  root->GetWindowByID(120)->DeActivateWindow(-1, OVER_SINGLE);
  Run(1, 35, 124);
  EXPECT_EQ(OpenOf({120, 122, 124, 126}), (std::vector<int>{120, 124}));
  EXPECT_FALSE(host.pending);
  // Closing the group asks the same, only while the fleet page is open.
  root->ActivateWindow(126, OVER_SINGLE);
  Run(1, 46, 120);
  EXPECT_TRUE(Open(120));
  EXPECT_TRUE(host.pending);
  Run(1, 118);
  EXPECT_FALSE(host.pending);
  host.fleetTrade = false;
  Run(1, 46, 120);
  EXPECT_TRUE(OpenOf({120, 122, 123, 124, 125, 126, 127, 128, 129}).empty());
  // Other windows close with their group at once.
  Add(30);
  Add(31, 30);
  root->ActivateWindow(30, OVER_SINGLE);
  root->ActivateWindow(31, OVER_SINGLE);
  host.fleetTrade = true;
  root->ActivateWindow(126, OVER_SINGLE);
  Run(1, 46, 30);
  EXPECT_EQ(OpenOf({30, 31}), std::vector<int>{});
}

TEST_F(WindowActions, LineWindowsBindTheChosenLine) {
  Add(120);
  AddAll({122, 126, 129}, 120);
  Add(227);
  auto* rows = new CDialog;
  rows->Create(0, 0, 50, 50, DIALOG_GROUP, 1, root->GetWindowByID(227));
  root->AddDialog(rows, 227);
  auto* named = new FakeVar(VAR_INT, "OpnvLine");
  auto* other = new FakeVar(VAR_INT, "OpnvNet");
  rows->AddVar(named, -1);
  rows->AddVar(other, -1);
  CItem* lineItem = AddPicture(227, 7);
  auto* var = new FakeVar(VAR_INT, "OpnvLine");
  lineItem->AddVar(var);
  host.lines[3] = Object(1);
  root->ActivateWindow(129, OVER_SINGLE);
  Run(129, 4, 3);
  EXPECT_EQ(OpenOf({129, 227}), (std::vector<int>{227}));
  EXPECT_EQ(var->m_owner, Object(1));
  EXPECT_EQ(named->m_owner, Object(1));
  EXPECT_EQ(other->m_owner, nullptr);  // in a dialog only the line's own variable
  EXPECT_EQ(host.selectedLine, Object(1));
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetLineReopenWindow 129", "SetSelectedLine 3"}));
  Run(129, 4, 4);
  EXPECT_EQ(var->m_owner, nullptr);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetLineReopenWindow 129", "SetSelectedLine 65535"}));

  for (int id : {120, 122, 126}) root->ActivateWindow(id, OVER_SINGLE);
  Run(227, 37);
  EXPECT_TRUE(OpenOf({120, 122, 126, 227}).empty());
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetLineReopenWindow 129", "SetToolNr 20 -1 -1",
                                                   "SetSelectedLine 0", "SetToolStandard"}));
}

TEST_F(WindowActions, TheTrafficLightPageNeedsALight) {
  Add(229, 1, WINDOW_SUBMENU);
  Add(230);
  root->ActivateWindow(229, OVER_SINGLE);
  Run(229, 131);
  EXPECT_FALSE(Open(229));  // a sub-menu closes itself first
  EXPECT_FALSE(Open(230));
  host.crossingLights = 1;
  Run(1, 131);
  EXPECT_EQ(host.Take().back(), "SetAchtungWindow 58");
  EXPECT_FALSE(Open(230));
  host.crossingLights = 2;
  root->ActivateWindow(229, OVER_SINGLE);
  Run(1, 131);
  EXPECT_EQ(OpenOf({229, 230}), (std::vector<int>{230}));
}

TEST_F(WindowActions, PicturesAdvisersBalloonsAndItemState) {
  Add(30);
  CItem* picture = AddPicture(30);
  CItem* other = AddPicture(30, 13);
  host.pictures[44208] = {60, 70};
  Run(30, 64, 9);  // beyond the five advisers: the last one
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetAdviser 5"}));
  EXPECT_EQ(picture->GetResource(0), 44208);
  EXPECT_EQ(picture->GetResource(2), 50045);
  EXPECT_EQ(picture->GetXSize(), 60);
  EXPECT_EQ(root->GetWindowByID(30)->GetSizeX(), 100);  // the window keeps its size
  EXPECT_EQ(other->GetResource(0), -1);
  Run(30, 64, 0);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{"SetAdviser 1"}));
  EXPECT_EQ(picture->GetResource(0), 44205);
  EXPECT_EQ(picture->GetXSize(), 60);  // picture unknown: the size stays
  Run(30, 64, 3);
  EXPECT_EQ(picture->GetResource(2), 50043);
  host.Take();

  host.pictures[11] = {33, 44};
  Run(30, 54, 11, 12);
  EXPECT_EQ(picture->GetXSize(), 33);
  EXPECT_EQ(root->GetWindowByID(30)->GetSizeX(), 100);
  EXPECT_EQ(picture->GetResource(0), 11);
  EXPECT_EQ(picture->GetResource(2), 12);

  Run(30, 26, 4, -1, -1, INOUT_OUTSIDE, INOUT_ALWAYS);
  CItem* first = root->GetWindowByID(30)->GetItems()->GetItemByID(0);
  EXPECT_EQ(first->GetState(), 4);

  Run(30, 33, 250, 40, 5);
  EXPECT_EQ(host.Take(), (std::vector<std::string>{std::string("SetBalloonHelp ") + CBalloonHelp::GetText(5) +
                                                   " 240 40 -1"}));

  // Kind 49 opens the help window with the topic's picture.
  Add(215);
  CItem* help = AddPicture(215);
  AddPicture(215, 7);
  AddPicture(215, 7);
  host.pictures[777] = {300, 200};
  Run(30, 49, 215, 777);
  EXPECT_TRUE(Open(215));
  EXPECT_EQ(help->GetResource(0), 777);
  EXPECT_EQ(help->GetResource(2), -1);
  CScreenWindow* w215 = root->GetWindowByID(215);
  EXPECT_EQ(w215->GetSizeX(), 300);
  EXPECT_EQ(w215->GetSizeY(), 200);
  CItem* second = static_cast<CItem*>(w215->GetItems()->GetHead()->GetNext());
  CItem* third = static_cast<CItem*>(second->GetNext());
  EXPECT_EQ(second->GetXSize(), 260);
  EXPECT_EQ(third->GetXPos(), 260);
}

TEST_F(WindowActions, DraggingMovesPairsAndGroupsTogether) {
  CScreenWindow* a = Add(190, 1, WINDOW_NORMAL, 10, 20);
  CScreenWindow* b = Add(191, 1, WINDOW_NORMAL, 10, 20);
  root->ActivateWindow(190, OVER_SINGLE);
  root->ActivateWindow(191, OVER_SINGLE);
  Run(191, 7, 5, -3, -1, INOUT_OUTSIDE, INOUT_ALWAYS);
  EXPECT_EQ(b->GetPosX(), 15);
  EXPECT_EQ(b->GetPosY(), 17);
  EXPECT_EQ(a->GetPosX(), 15);
  EXPECT_EQ(a->GetPosY(), 17);
  EXPECT_EQ(host.renderList[0], b);

  CScreenWindow* group = Add(80);
  CScreenWindow* page = Add(90, 80);
  root->ActivateWindow(80, OVER_SINGLE);
  root->ActivateWindow(90, OVER_SINGLE);
  host.BringToFront(a);
  Run(80, 7, 1, 1, -1, INOUT_OUTSIDE, INOUT_ALWAYS);
  EXPECT_EQ(host.renderList[0], page);
  EXPECT_EQ(host.renderList[1], group);

  CScreenWindow* events = Add(218);
  CScreenWindow* list = Add(239);
  root->ActivateWindow(218, OVER_SINGLE);
  root->ActivateWindow(239, OVER_SINGLE);
  host.BringToFront(a);
  Run(218, 7, 1, 1, -1, INOUT_OUTSIDE, INOUT_ALWAYS);
  EXPECT_EQ(host.renderList[0], list);
  EXPECT_EQ(host.renderList[1], events);
}

TEST_F(WindowActions, ADraggedWindowStaysWholeOnTheScreen) {
  CScreenWindow* w = Add(190, 1, WINDOW_NORMAL, 10, 20, 100, 80);
  root->ActivateWindow(190, OVER_SINGLE);
  Run(190, 7, -50, -40, -1, INOUT_OUTSIDE, INOUT_ALWAYS);
  EXPECT_EQ(w->GetRealPosX(), 0);
  EXPECT_EQ(w->GetRealPosY(), 0);
  Run(190, 7, 1000, 1000, -1, INOUT_OUTSIDE, INOUT_ALWAYS);
  EXPECT_EQ(w->GetRealPosX(), 700);
  EXPECT_EQ(w->GetRealPosY(), 520);
  // Within the screen a drag moves by exactly the pointer's steps.
  Run(190, 7, -30, -7, -1, INOUT_OUTSIDE, INOUT_ALWAYS);
  EXPECT_EQ(w->GetRealPosX(), 670);
  EXPECT_EQ(w->GetRealPosY(), 513);
  // On a larger screen the same place is no longer its edge.
  host.screenWidth = 1024;
  host.screenHeight = 768;
  Run(190, 7, 200, 100, -1, INOUT_OUTSIDE, INOUT_ALWAYS);
  EXPECT_EQ(w->GetRealPosX(), 870);
  EXPECT_EQ(w->GetRealPosY(), 613);
  // A page is kept on the screen by where it shows, not by its place in
  // its group.
  CScreenWindow* group = Add(80, 1, WINDOW_NORMAL, 300, 200, 200, 100);
  CScreenWindow* page = Add(90, 80, WINDOW_NORMAL, 20, 30, 150, 60);
  root->ActivateWindow(80, OVER_SINGLE);
  root->ActivateWindow(90, OVER_SINGLE);
  Run(90, 7, -1000, -1000, -1, INOUT_OUTSIDE, INOUT_ALWAYS);
  EXPECT_EQ(page->GetRealPosX(), 0);
  EXPECT_EQ(page->GetRealPosY(), 0);
  EXPECT_EQ(group->GetRealPosX(), 300);
}

TEST_F(WindowActions, TheDynamicHelpWindowTakesItsSizeFromTheText) {
  CScreenWindow* w = Add(242);
  // Items in list order: the last one added comes first.
  auto* close = new CItem;
  close->Create(0, 0, 1, 1, 13, 0, -1);
  auto* bottom = new CItem;
  bottom->Create(0, 0, 1, 7, 2, 0, -1);
  auto* body = new CItemText;
  body->Create(0, 0, 1, 1, 26, "", HO_LEFT, VO_CENTER, 3, 28387, 0, 1, 2, 3, nullptr);
  auto* title = new CItemText;
  title->Create(0, 0, 1, 1, 26, "", HO_LEFT, VO_CENTER, 3, 49713, 0, 1, 2, 3, nullptr);
  auto* caption = new CItem;
  caption->Create(0, 0, 1, 1, 2, 0, -1);
  int n = -1;
  for (CItem* i : {close, bottom, static_cast<CItem*>(body), static_cast<CItem*>(title), caption})
    root->AddItem(i, 242, -1, &n);
  // Five items only: nothing is laid out.
  w->SetDynamicHilfe(150, 50, "T", "B");
  EXPECT_EQ(w->GetSizeX(), 100);
  auto* frame = new CItem;
  frame->Create(0, 0, 1, 1, 2, 0, -1);
  root->AddItem(frame, 242, -1, &n);

  w->SetDynamicHilfe(150, 50, "Title", "Body");
  EXPECT_EQ(w->GetSizeX(), 150);
  EXPECT_EQ(frame->GetXSize(), 150);
  EXPECT_EQ(close->GetXPos(), 115);
  EXPECT_EQ(close->GetXSize(), 35);
  EXPECT_EQ(close->GetYSize(), 19);
  EXPECT_EQ(bottom->GetXSize(), 115);
  EXPECT_EQ(bottom->GetYSize(), 7);
  EXPECT_EQ(title->GetXPos(), 13);
  EXPECT_EQ(title->GetYPos(), 24);
  EXPECT_EQ(title->GetXSize(), 122);
  EXPECT_EQ(body->GetXPos(), 13);
  EXPECT_EQ(body->GetYPos(), 47);
  EXPECT_EQ(body->GetYSize(), 50);
  EXPECT_EQ(w->GetSizeY(), 111);
  EXPECT_EQ(frame->GetYSize(), 111);
  EXPECT_STREQ(body->GetDynamicText(), "Body");
  EXPECT_STREQ(title->GetDynamicText(), "Title");
  EXPECT_EQ(caption->GetXPos(), 2);
  EXPECT_EQ(caption->GetYPos(), 23);
  EXPECT_EQ(caption->GetXSize(), title->GetWidth("Title") + 54);

  w->SetDynamicHilfe(151, 20, "Title", "Body");
  EXPECT_EQ(w->GetSizeX(), 230);
  EXPECT_EQ(body->GetXSize(), 202);
  EXPECT_EQ(w->GetSizeY(), 81);
  w->SetDynamicHilfe(231, 20, "Title", "Body");
  EXPECT_EQ(w->GetSizeX(), 310);

  // Without a text item as the body, the text does not change the size.
  CScreenWindow* plain = Add(243);
  auto* plainBody = new CItem;
  plainBody->Create(0, 0, 1, 1, 26, 0, -1);
  auto* plainTitle = new CItemText;
  plainTitle->Create(0, 0, 1, 1, 26, "", HO_LEFT, VO_CENTER, 3, 49713, 0, 1, 2, 3, nullptr);
  for (int i = 0; i < 6; ++i) {
    CItem* part = i == 2 ? plainBody : (i == 3 ? static_cast<CItem*>(plainTitle) : nullptr);
    if (!part) {
      part = new CItem;
      part->Create(0, 0, 1, 1, 2, 0, -1);
    }
    root->AddItem(part, 243, -1, &n);
  }
  plain->SetDynamicHilfe(150, 50, "Title", "Body");
  EXPECT_EQ(plain->GetSizeY(), 140);
  EXPECT_EQ(plainTitle->GetDynamicText(), nullptr);
}
