#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "gui/item_text.h"
#include "gui/window_builder.h"
#include "gui_fakes.h"
#include "support/test_support.h"

namespace {
CWindowVar* MakeVar(EVarType type, const char* name) { return new FakeVar(type, name); }

// The dialog types that reached the selection-list factory.
std::vector<int>& ListTypes() {
  static std::vector<int> types;
  return types;
}
CDialog* MakeList(EDialogType type) {
  ListTypes().push_back(type);
  return new CDialog;
}
bool NamesAnObject(const char* name) { return name && std::strncmp(name, "DX.", 3) == 0; }

// Dumps a window subtree: ids, geometry, items, actions, variables.
void Dump(CScreenWindow* w, std::ostringstream& out, int depth = 0) {
  const std::string pad(depth * 2, ' ');
  out << pad << "W" << w->GetID() << " " << w->GetPosX() << "," << w->GetPosY() << " " << w->GetSizeX() << "x"
      << w->GetSizeY() << " t" << w->GetType() << "\n";
  auto dumpItems = [&](CItemList* items, const std::string& p) {
    items->ForEach([&](CItem* i) {
      out << p << " I" << i->GetNr() << " type" << i->GetItemType() << " class" << i->GetClassCode() << " @"
          << i->GetXPos() << "," << i->GetYPos();
      i->GetActions()->ForEach([&](CAction* a) { out << " A" << a->m_kind << "/" << a->m_when << "/" << a->m_p1; });
      i->GetVars()->ForEach([&](CWindowVar* v) { out << " V" << v->GetName(); });
      out << "\n";
    });
  };
  w->GetActions()->ForEach([&](CAction* a) { out << pad << " WA" << a->m_kind << "\n"; });
  dumpItems(w->GetItems(), pad);
  w->GetDialogs()->ForEach([&](CDialog* d) {
    out << pad << " D" << d->GetID() << " type" << d->GetType();
    d->GetVars()->ForEach([&](CWindowVar* v) { out << " V" << v->GetName(); });
    out << "\n";
    dumpItems(d->GetItems(), pad + " ");
  });
  w->GetChildren()->ForEach([&](CScreenWindow* c) { Dump(c, out, depth + 1); });
}

struct Built : ::testing::Test {
  FakeHost host;
  CWindowBuilder b;
  void SetUp() override {
    b.SetVarFactory(&MakeVar);
    b.ResetCursors();
  }
  void TearDown() override { b.DestroyWindows(); }
};
}  // namespace

TEST_F(Built, BuildersProduceTheExpectedTree) {
  b.AddWindow(1, 0, 0, 800, 600, -1, WINDOW_ROOT, POSITION_FIXED, 0);
  b.AddWindow(110, 50, 40, 388, 400, 1, WINDOW_NORMAL, POSITION_CENTERED, 0);
  b.AddItem(-2, -1, 0, 0, 388, 21, 2, 28103, 0);
  b.AddAction(-2, -1, -2, 8, WHEN_LEFT_DOWN, INOUT_INSIDE, -1, -1, -1, "drag", -1);
  b.AddDialog(-2, 3, 10, 30, 120, 20, 5, "value");
  b.AddItem(-2, -2, 0, 0, 8, 14, 13, 25864, -1);
  b.AddAction(-2, -2, -2, 17, WHEN_LEFT_DOWN, INOUT_INSIDE, 1, -1, -1, "minus", -1);
  b.AddItem(-2, -2, 10, 0, 60, 14, 7, "@#var,INT,NULL,F.KONTO#", HO_CENTER, VO_CENTER, 3, 823, 0, 1, 2, 3, nullptr);
  b.AddVar(-2, -2, -1, VAR_INT, "NULL", "F.KONTO");
  b.AddVar(-2, -1, 0, VAR_FLOAT, "NULL", "X.ITEM");
  b.AddAction(-2, -1, -1, 6, WHEN_LEFT_DOWN, INOUT_INSIDE, 110, -1, -1, "close", -1);
  b.AddWindow(111, 5, 25, 300, 300, 110, WINDOW_SUBMENU, POSITION_FIXED, 0);

  std::ostringstream out;
  Dump(b.GetTopWindow(), out);
  EXPECT_EQ(out.str(),
            "W1 0,0 800x600 t2\n"
            "  W110 50,40 388x400 t2\n"
            "   WA6\n"
            "   I0 type2 class2 @0,0 A8/2/-1 VX.ITEM\n"
            "   D3 type5 VF.KONTO\n"
            "    I1 type7 class7 @10,0\n"
            "    I0 type13 class2 @0,0 A17/2/1\n"
            "    W111 5,25 300x300 t6\n");
  CScreenWindow* w111 = b.GetTopWindow()->GetWindowByID(111);
  ASSERT_NE(w111, nullptr);
  EXPECT_EQ(w111->GetRealPosX(), 55);
  EXPECT_EQ(w111->GetOffsetY(), 40);
}

TEST_F(Built, RefusedTypesKeepTheCursorsAndDropMissingTargets) {
  b.AddWindow(1, 0, 0, 800, 600, -1, WINDOW_ROOT, POSITION_FIXED, 0);
  b.AddItem(-2, -1, 0, 0, 10, 10, 13, 100, 0);
  for (int refused : {3, 6, 8, 9, 12}) b.AddItem(-2, -1, 0, 0, 10, 10, refused, 1, 1);
  b.AddItem(-2, -1, 0, 0, 10, 10, 13, 100, 0, 0, 0);  // the four-picture overload takes 13
  EXPECT_EQ(b.m_CurItem, 1);
  b.AddItem(-2, -1, 0, 0, 10, 10, 5, 1, 0, 0, 0);  // but not 5
  EXPECT_EQ(b.m_CurItem, 1);
  b.AddAction(-2, -1, -2, 11, WHEN_MOVE, INOUT_ALWAYS, -1, -1, -1, nullptr, -1);
  EXPECT_EQ(b.GetTopWindow()->GetItems()->GetItemByID(1)->GetActions()->GetCount(), 1);

  // A refused window type still becomes current; calls for it are dropped.
  b.AddWindow(50, 0, 0, 10, 10, 1, WINDOW_NONE, POSITION_FIXED, 0);
  EXPECT_EQ(b.m_CurWindow, 50);
  b.AddItem(-2, -1, 0, 0, 10, 10, 1);
  b.AddAction(-2, -1, -1, 2, WHEN_LEFT_DOWN, INOUT_INSIDE, 1, -1, -1, nullptr, -1);
  EXPECT_EQ(b.GetTopWindow()->GetWindowByID(50), nullptr);
  EXPECT_EQ(b.m_CurItem, 1);
  // Windows hold no variables of their own.
  b.AddVar(1, -1, -1, VAR_INT, "NULL", "A");
  int vars = 0;
  b.GetTopWindow()->GetItems()->ForEach([&](CItem* i) { vars += i->GetVars()->GetCount(); });
  EXPECT_EQ(vars, 0);
}

namespace {
// An item's actions, newest first: kind/when/inout(p1,p2,p3;p4).
std::string Actions(CItem* item) {
  std::string s;
  item->GetActions()->ForEach([&](CAction* a) {
    s += std::to_string(a->m_kind) + "/" + std::to_string(a->m_when) + "/" + std::to_string(a->m_inout) + "(" +
         std::to_string(a->m_p1) + "," + std::to_string(a->m_p2) + "," + std::to_string(a->m_p3) + ";" +
         std::to_string(a->m_p4) + ") ";
  });
  return s;
}
}  // namespace

TEST_F(Built, ShorthandButtonsAndHelp) {
  b.AddWindow(1, 0, 0, 800, 600, -1, WINDOW_ROOT, POSITION_FIXED, 0);
  b.AddButton(10, 10, 36, 36, 18635, 5, 2, 14, 50551);
  CItem* button = b.GetTopWindow()->GetItems()->GetItemByID(0);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GetResource(2), 50551);
  // Balloon 14 and kind 5 only while inside; the hover always.
  EXPECT_EQ(Actions(button), "33/1/2(14,-1,-1;-1) 5/2/2(2,-1,-1;-1) 11/1/1(-1,-1,-1;-1) ");
  // Kind 0 and balloon 0 add neither.
  b.AddButton(50, 10, 36, 36, 18635, 0, 2, 0, -1);
  EXPECT_EQ(Actions(b.GetTopWindow()->GetItems()->GetItemByID(1)), "11/1/1(-1,-1,-1;-1) ");

  b.AddHilfeDynamic(0, 0, 1, 2, 3, 12345, 4);
  CItem* help = b.GetTopWindow()->GetItems()->GetItemByID(2);
  EXPECT_EQ(help->GetResID(), 40664);
  EXPECT_EQ(help->GetXSize(), 14);
  EXPECT_EQ(help->GetYSize(), 12);
  EXPECT_EQ(Actions(help), "11/1/1(-1,-1,-1;-1) 132/2/2(1,2,3;4) ");
  // The big question mark is kept for picture 25863, on the window itself.
  b.AddHilfeDynamic(20, 30, 5, 6, 7, 25863, 8);
  CItem* big = b.GetTopWindow()->GetItems()->GetItemByID(3);
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(big->GetResID(), 25863);
  EXPECT_EQ(big->GetXSize(), 16);
  EXPECT_EQ(big->GetYSize(), 15);
  EXPECT_EQ(big->GetXPos(), 20);
  EXPECT_EQ(Actions(big), "11/1/1(-1,-1,-1;-1) 132/2/2(5,6,7;8) ");

  b.AddHilfe(0, 0, 7);
  CItem* hilfe = b.GetTopWindow()->GetItems()->GetItemByID(4);
  EXPECT_EQ(hilfe->GetResID(), 25863);
  EXPECT_EQ(hilfe->GetXSize(), 16);
  EXPECT_EQ(Actions(hilfe), "11/10/1(-1,-1,-1;-1) 49/2/2(215,7,-1;-1) ");
}

TEST_F(Built, EachItemOverloadMakesItsOwnClass) {
  b.AddWindow(1, 0, 0, 800, 600, -1, WINDOW_ROOT, POSITION_FIXED, 0);
  b.AddWindow(110, 0, 0, 300, 300, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  CScreenWindow* w = b.GetTopWindow()->GetWindowByID(110);
  ASSERT_NE(w, nullptr);
  auto item = [&](int n) { return w->GetItems()->GetItemByID(n); };
  auto shape = [&](int n) {
    CItem* i = item(n);
    if (!i) return std::string("none");
    return "type" + std::to_string(i->GetItemType()) + " class" + std::to_string(i->GetClassCode()) + " @" +
           std::to_string(i->GetXPos()) + "," + std::to_string(i->GetYPos()) + " " + std::to_string(i->GetXSize()) +
           "x" + std::to_string(i->GetYSize());
  };
  b.AddItem(-2, -1, 1, 2, 30, 10, 1);
  b.AddItem(-2, -1, 0, 0, 30, 10, 2);  // the hot-area overload takes type 1 only
  b.AddItem(-2, -1, 3, 4, 40, 12, 4, FILL_SOLID, 0xFF0000);
  b.AddItem(-2, -1, 5, 6, 50, 8, 10, FILL_SOLID, 1, 2);
  b.AddItem(-2, -1, 7, 8, 60, 9, 11, FILL_SOLID, 1, 2);
  b.AddItem(-2, -1, 0, 0, 60, 9, 12, FILL_SOLID, 1, 2);  // no bar of type 12
  b.AddItem(-2, -1, 9, 10, 20, 20, 27, 100, 0);
  b.AddItem(-2, -1, 11, 12, 20, 20, 27, "text", HO_LEFT, VO_CENTER, 3, 823, 0, 1, 2, 3, nullptr);
  EXPECT_EQ(shape(0), "type1 class1 @1,2 30x10");
  EXPECT_EQ(shape(1), "type4 class4 @3,4 40x12");
  EXPECT_EQ(shape(2), "type10 class10 @5,6 50x8");
  EXPECT_EQ(shape(3), "type11 class10 @7,8 60x9");
  // Type 27 is a picture or a text as the overload says.
  EXPECT_EQ(shape(4), "type27 class2 @9,10 20x20");
  EXPECT_EQ(shape(5), "type27 class7 @11,12 20x20");
  EXPECT_EQ(shape(6), "none");
  EXPECT_EQ(b.m_CurItem, 5);
  // A second picture below 1 is none at all.
  EXPECT_EQ(item(4)->GetResource(1), -1);
}

TEST_F(Built, DialogTypesChooseAPlainDialogOrASelectionList) {
  ListTypes().clear();
  b.SetSelectionListFactory(&MakeList);
  b.AddWindow(1, 0, 0, 800, 600, -1, WINDOW_ROOT, POSITION_FIXED, 0);
  b.AddWindow(110, 0, 0, 300, 300, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  for (int type = 0; type <= 22; ++type) b.AddDialog(110, 100 + type, 0, 0, 10, 10, type, "dialog");
  EXPECT_EQ(ListTypes(), (std::vector<int>{3, 6, 7, 8, 9, 12, 13, 14, 18, 19, 21}));
  std::vector<int> made;
  CDialogList* dialogs = b.GetTopWindow()->GetWindowByID(110)->GetDialogs();
  for (int type = 0; type <= 22; ++type) {
    CDialog* d = dialogs->GetDialogByID(100 + type);
    if (!d) continue;
    made.push_back(type);
    EXPECT_EQ(d->GetType(), type);
  }
  EXPECT_EQ(made, (std::vector<int>{1, 3, 4, 5, 6, 7, 8, 9, 12, 13, 14, 18, 19, 20, 21}));
  // The refused type still became the current dialog.
  EXPECT_EQ(b.m_CurDialog, 122);
}

TEST_F(Built, ActionsKeepEveryParameterAndTheirOwnLabel) {
  b.AddWindow(1, 0, 0, 800, 600, -1, WINDOW_ROOT, POSITION_FIXED, 0);
  b.AddItem(-2, -1, 0, 0, 10, 10, 1);
  char label[] = "drag";
  b.AddAction(-2, -1, -2, 8, WHEN_LEFT_DOWN, INOUT_INSIDE, 1, 2, 3, label, 4);
  label[0] = 'X';
  CAction* a = b.GetTopWindow()->GetItems()->GetItemByID(0)->GetActions()->GetHead();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(Actions(b.GetTopWindow()->GetItems()->GetItemByID(0)), "8/2/2(1,2,3;4) ");
  EXPECT_EQ(a->m_reserved, -1);
  EXPECT_STREQ(a->GetName(), "drag");
  b.AddAction(-2, -1, -2, 11, WHEN_MOVE, INOUT_ALWAYS, -1, -1, -1, nullptr, -1);
  EXPECT_EQ(b.GetTopWindow()->GetItems()->GetItemByID(0)->GetActions()->GetHead()->GetName(), nullptr);
}

TEST_F(Built, EveryOperationAnswersZeroAndOnlyObjectNamesRefuseAVariable) {
  b.SetObjectLookup(&NamesAnObject);
  // Before the root exists nothing is made, yet the cursors move.
  EXPECT_EQ(b.AddWindow(110, 0, 0, 10, 10, 1, WINDOW_NORMAL, POSITION_FIXED, 0), 0);
  EXPECT_EQ(b.m_CurWindow, 110);
  EXPECT_EQ(b.AddDialog(-2, 3, 0, 0, 10, 10, 1, "d"), 0);
  EXPECT_EQ(b.m_CurDialog, 3);
  EXPECT_EQ(b.AddItem(-2, -1, 0, 0, 10, 10, 1), 0);
  EXPECT_EQ(b.AddItem(-2, -1, 0, 0, 10, 10, 2, 100, 0), 0);
  EXPECT_EQ(b.AddItem(-2, -1, 0, 0, 10, 10, 13, 100, 0, 0, 0), 0);
  EXPECT_EQ(b.AddItem(-2, -1, 0, 0, 10, 10, 10, FILL_SOLID, 1, 2), 0);
  EXPECT_EQ(b.AddItem(-2, -1, 0, 0, 10, 10, 7, "x", HO_LEFT, VO_CENTER, 3, 823, 0, 1, 2, 3, nullptr), 0);
  EXPECT_EQ(b.AddAction(-2, -1, -1, 6, WHEN_LEFT_DOWN, INOUT_INSIDE, 1, -1, -1, "close", -1), 0);
  EXPECT_EQ(b.AddVar(-2, -2, -1, VAR_INT, "NULL", "A"), 0);
  EXPECT_EQ(b.ActivateWindow(110), 0);
  EXPECT_EQ(b.DeActivateWindow(110), 0);
  EXPECT_EQ(b.m_CurItem, -1);
  EXPECT_EQ(b.GetTopWindow(), nullptr);

  // With the root: made, refused and dropped alike answer 0.
  EXPECT_EQ(b.AddWindow(1, 0, 0, 800, 600, -1, WINDOW_ROOT, POSITION_FIXED, 0), 0);
  EXPECT_EQ(b.AddWindow(110, 0, 0, 300, 300, 1, WINDOW_NORMAL, POSITION_FIXED, 0), 0);
  // A second root hangs below its parent as a normal window.
  EXPECT_EQ(b.AddWindow(120, 5, 5, 100, 100, 110, WINDOW_ROOT, POSITION_CENTERED, 7), 0);
  CScreenWindow* second = b.GetTopWindow()->GetWindowByID(120);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->GetType(), WINDOW_NORMAL);
  EXPECT_EQ(b.AddWindow(50, 0, 0, 10, 10, 1, WINDOW_NONE, POSITION_FIXED, 0), 0);
  EXPECT_EQ(b.AddWindow(51, 0, 0, 10, 10, 999, WINDOW_NORMAL, POSITION_FIXED, 0), 0);
  EXPECT_EQ(b.GetTopWindow()->GetWindowByID(51), nullptr);
  EXPECT_EQ(b.AddDialog(110, 1, 0, 0, 50, 50, 1, "d"), 0);
  EXPECT_EQ(b.AddDialog(110, 2, 0, 0, 50, 50, 2, "refused"), 0);
  EXPECT_EQ(b.AddDialog(999, 3, 0, 0, 50, 50, 1, "no window"), 0);
  EXPECT_EQ(b.AddItem(110, -1, 0, 0, 10, 10, 1), 0);
  EXPECT_EQ(b.AddItem(110, -1, 0, 0, 10, 10, 3), 0);
  EXPECT_EQ(b.AddItem(110, -1, 0, 0, 10, 10, 4, FILL_SOLID, 0xFFFFFF), 0);
  EXPECT_EQ(b.AddItem(110, -1, 0, 0, 10, 10, 2, 100, 0), 0);
  EXPECT_EQ(b.AddItem(110, -1, 0, 0, 10, 10, 3, 100, 0), 0);
  EXPECT_EQ(b.AddItem(110, -1, 0, 0, 10, 10, 13, 100, 0, 0, 0), 0);
  EXPECT_EQ(b.AddItem(110, -1, 0, 0, 10, 10, 10, FILL_SOLID, 1, 2), 0);
  EXPECT_EQ(b.AddItem(110, -1, 0, 0, 10, 10, 7, "x", HO_LEFT, VO_CENTER, 3, 823, 0, 1, 2, 3, nullptr), 0);
  EXPECT_EQ(b.AddItem(999, -1, 0, 0, 10, 10, 13, 100, 0, 0, 0), 0);
  EXPECT_EQ(b.AddItem(110, 1, 0, 0, 10, 10, 7, "x", HO_LEFT, VO_CENTER, 3, 823, 0, 1, 2, 3, nullptr), 0);
  EXPECT_EQ(b.m_CurItem, 0);
  EXPECT_EQ(b.GetTopWindow()->GetWindowByID(110)->GetItems()->GetCount(), 6);
  EXPECT_EQ(b.AddAction(110, -1, 0, 6, WHEN_LEFT_DOWN, INOUT_INSIDE, 110, -1, -1, "close", -1), 0);
  EXPECT_EQ(b.AddAction(110, -1, 99, 6, WHEN_LEFT_DOWN, INOUT_INSIDE, 110, -1, -1, "close", -1), 0);
  EXPECT_EQ(b.ActivateWindow(110), 0);
  EXPECT_EQ(b.DeActivateWindow(110), 0);
  EXPECT_EQ(b.AddButton(0, 0, 10, 10, 100, 5, 1, 3, -1), 0);
  EXPECT_EQ(b.AddBalloonHelp(4), 0);
  EXPECT_EQ(b.AddHilfe(0, 0, 1), 0);
  EXPECT_EQ(b.AddHilfeDynamic(0, 0, 1, 2, 3, 25863, 4), 0);

  // Variables: a missing target destroys the new variable; an object name
  // creates nothing and answers 1.
  const int destroyed = FakeVar::s_destroyed;
  EXPECT_EQ(b.AddVar(110, 1, -1, VAR_INT, "NULL", "X"), 0);
  EXPECT_EQ(FakeVar::s_destroyed, destroyed);
  EXPECT_EQ(b.AddVar(110, 7, -1, VAR_INT, "NULL", "Y"), 0);
  EXPECT_EQ(FakeVar::s_destroyed, destroyed + 1);
  EXPECT_EQ(b.AddVar(110, 1, -1, VAR_INT, "DX.PEOPLE", "Z"), 1);
  CDialog* d = b.GetTopWindow()->GetWindowByID(110)->GetDialogs()->GetDialogByID(1);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->GetVars()->GetCount(), 1);
  EXPECT_NE(d->GetVars()->GetVarByName("X"), nullptr);
}

TEST_F(Built, LongTextsAreCutSafely) {
  b.AddWindow(1, 0, 0, 800, 600, -1, WINDOW_ROOT, POSITION_FIXED, 0);
  const std::string longText(400, 'x');
  b.AddItem(-2, -1, 0, 0, 10, 10, 7, longText.c_str(), HO_LEFT, VO_CENTER, 3, 823, 0, 1, 2, 3, longText.c_str());
  auto* t = static_cast<CItemText*>(b.GetTopWindow()->GetItems()->GetHead());
  EXPECT_EQ(std::string(t->GetText()), std::string(254, 'x'));
  EXPECT_EQ(std::string(t->GetEnglishText()).size(), 254u);
}

TEST_F(Built, IdTableFollowsTheTreeAndGoesWithIt) {
  b.AddWindow(1, 0, 0, 800, 600, -1, WINDOW_ROOT, POSITION_FIXED, 0);
  b.AddWindow(20, 0, 0, 46, 96, 1, WINDOW_MENU, POSITION_FIXED, 0);
  b.AddWindow(35, 0, 0, 46, 96, 20, WINDOW_SUBMENU, POSITION_FIXED, 0);
  EXPECT_EQ(b.GetTopWindow()->GetChildren()->GetWindowByID(35)->GetID(), 35);
  EXPECT_EQ(b.GetTopWindow()->GetWindowByID(99), nullptr);
  EXPECT_NE(CScreenWindow::m_HashTable, nullptr);
  b.DestroyWindows();
  EXPECT_EQ(CScreenWindow::m_HashTable, nullptr);
}

TEST_F(Built, VariablesBindToWorldObjects) {
  b.AddWindow(1, 0, 0, 800, 600, -1, WINDOW_ROOT, POSITION_FIXED, 0);
  b.AddWindow(90, 0, 0, 300, 300, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  b.AddItem(-2, -1, 0, 0, 10, 10, 7, "x", HO_LEFT, VO_CENTER, 3, 823, 0, 1, 2, 3, nullptr);
  b.AddVar(-2, -1, -2, VAR_INT, "NULL", "PTA.A");
  b.AddDialog(-2, 1, 0, 0, 50, 50, 1, "d");
  b.AddVar(-2, -2, -1, VAR_INT, "NULL", "PTA.B");
  b.AddVar(-2, -2, -1, VAR_INT, "NULL", "PTA.C");
  auto* owner = reinterpret_cast<CWorldObj*>(0x1000);
  CScreenWindow* root = b.GetTopWindow();
  EXPECT_EQ(root->SetVarWorldObject(90, -2, -2, owner, "PTA.C"), 0);
  CScreenWindow* w = root->GetWindowByID(90);
  CDialog* d = w->GetDialogs()->GetHead();
  EXPECT_EQ(static_cast<FakeVar*>(d->GetVars()->GetVarByName("PTA.C"))->m_owner, owner);
  EXPECT_EQ(static_cast<FakeVar*>(d->GetVars()->GetVarByName("PTA.B"))->m_owner, nullptr);
  // The window's own items are bound without the name filter.
  EXPECT_EQ(static_cast<FakeVar*>(w->GetItems()->GetHead()->GetVar())->m_owner, owner);
  EXPECT_EQ(root->GetVarWorldObject(90), owner);
  EXPECT_EQ(root->SetVarWorldObject(91, -2, -2, owner, nullptr), 1);
}
