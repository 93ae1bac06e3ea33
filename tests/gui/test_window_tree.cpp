#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "gui/item_text.h"
#include "gui/window_builder.h"
#include "gui_fakes.h"
#include "support/test_support.h"

namespace {
CWindowVar* MakeVar(EVarType type, const char* name) { return new FakeVar(type, name); }

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

TEST_F(Built, ShorthandButtonsAndHelp) {
  b.AddWindow(1, 0, 0, 800, 600, -1, WINDOW_ROOT, POSITION_FIXED, 0);
  b.AddButton(10, 10, 36, 36, 18635, 5, 2, 14, 50551);
  CItem* button = b.GetTopWindow()->GetItems()->GetItemByID(0);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GetResource(2), 50551);
  std::string kinds;
  button->GetActions()->ForEach([&](CAction* a) { kinds += std::to_string(a->m_kind) + " "; });
  EXPECT_EQ(kinds, "33 5 11 ");
  b.AddHilfeDynamic(0, 0, 1, 2, 3, 12345, 4);
  CItem* help = b.GetTopWindow()->GetItems()->GetItemByID(1);
  EXPECT_EQ(help->GetResID(), 40664);
  EXPECT_EQ(help->GetXSize(), 14);
  b.AddHilfe(0, 0, 7);
  CItem* hilfe = b.GetTopWindow()->GetItems()->GetItemByID(2);
  EXPECT_EQ(hilfe->GetResID(), 25863);
  EXPECT_EQ(hilfe->GetActions()->GetTail()->m_p2, 7);
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
