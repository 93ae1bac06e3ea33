// The public-transport windows built on the generated game data: every
// picture they name exists in both languages, the windows stand where the
// game opens them, the page buttons turn the pages, and every editor and
// switch holds the variable its buttons change.
#include <set>
#include <string>
#include <vector>

#include "gui/dialog.h"
#include "gui/item_text.h"
#include "model/zor_var.h"
#include "windows/window_add_opnv.h"
#include "windows_scene.h"

using wintest::ForEachAction;
using wintest::ForEachItem;

namespace {

using namespace zorwin;

const std::vector<int> kPages = {kOpnvFinances, kOpnvPersonnel, kOpnvFares,   kOpnvFleet,
                                 kOpnvAdvertising, kOpnvServices, kOpnvLines};

struct OpnvWindows : wintest::Scene {
  void SetUp() override {
    Scene::SetUp();
    UseNamedVars();
    Build();
  }
  void Build() {
    CZorvaWindows windows(builder);
    windows.WindowAdd();
    windows.WindowAddOpnv();
    ASSERT_NE(Root(), nullptr);
  }
  // Every dialog of a window, newest first.
  std::vector<CDialog*> Dialogs(int window) {
    std::vector<CDialog*> out;
    if (CDialogList* list = Window(window)->GetDialogs()) list->ForEach([&](CDialog* d) { out.push_back(d); });
    return out;
  }
};

TEST_F(OpnvWindows, EveryWindowAndPageDrawsWithNoPictureMissingInEitherLanguage) {
  for (int language : {0, 1}) {
    SCOPED_TRACE(language == 0 ? "German" : "English");
    host.language = language;
    ReloadGameData();
    Build();
    resources.TrackRequests(true);
    std::set<int> named;
    for (int page : kPages) {
      Root()->ActivateWindow(kOpnvGroup, OVER_GROUP);
      Root()->ActivateWindow(page, OVER_GROUP);
      for (int id : {kOpnvGroup, page}) NamePictures(id, language, named);
      // Every look of the buttons, the campaign bars and the training bar.
      for (int look = 8; look >= 0; --look) {
        for (int id : {kOpnvGroup, page}) ForEachItemDeep(id, [&](CItem* i) { i->SetState(look); });
        RenderOpen();
      }
    }
    Root()->ActivateWindow(kBusLineList, OVER_SINGLE);
    Root()->ActivateWindow(kTramLineList, OVER_SINGLE);
    RenderOpen();
    ExpectNamedPicturesDrawn(named, language, "the public-transport windows");
  }
}

TEST_F(OpnvWindows, WindowsStandWhereTheGameOpensThemAndStartClosed) {
  struct Geometry {
    int id, x, y, w, h, parent;
  };
  const Geometry table[] = {{120, 411, 0, 388, 370, 1},  {123, 310, 300, 80, 28, 1}, {124, 51, 21, 337, 349, 120},
                            {126, 51, 21, 337, 349, 120}, {127, 51, 21, 337, 349, 120}, {125, 51, 21, 337, 349, 120},
                            {128, 51, 21, 337, 349, 120}, {129, 51, 21, 337, 349, 120}, {131, 160, 40, 150, 280, 1},
                            {132, 160, 40, 150, 160, 1},  {122, 51, 21, 337, 349, 120}};
  for (const Geometry& g : table) {
    SCOPED_TRACE(g.id);
    CScreenWindow* w = Window(g.id);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->GetPosX(), g.x);
    EXPECT_EQ(w->GetPosY(), g.y);
    EXPECT_EQ(w->GetSizeX(), g.w);
    EXPECT_EQ(w->GetSizeY(), g.h);
    EXPECT_EQ(w->GetTopWindow(), Window(g.parent));
    EXPECT_FALSE(host.IsWindowOpen(g.id));
  }
  // The small window holds nothing at all.
  int held = 0;
  CScreenWindow* empty = Window(kOpnvEmpty);
  if (empty->GetItems()) empty->GetItems()->ForEach([&](CItem*) { ++held; });
  if (empty->GetDialogs()) empty->GetDialogs()->ForEach([&](CDialog*) { ++held; });
  if (empty->GetActions()) empty->GetActions()->ForEach([&](CAction*) { ++held; });
  EXPECT_EQ(held, 0);
}

TEST_F(OpnvWindows, PageButtonsTurnThePagesAndTheCloseButtonShutsTheGroup) {
  // The buttons from the top: finances, fleet, lines, services, personnel,
  // advertising, fares.
  const int order[] = {kOpnvFinances, kOpnvFleet, kOpnvLines, kOpnvServices, kOpnvPersonnel, kOpnvAdvertising,
                       kOpnvFares};
  Root()->ActivateWindow(kOpnvGroup, OVER_GROUP);
  for (int n = 0; n < 7; ++n) {
    SCOPED_TRACE(order[n]);
    PressIn(kOpnvGroup, 20, 45 + 43 * n + 10);
    EXPECT_TRUE(host.IsWindowOpen(kOpnvGroup));
    for (int page : kPages) EXPECT_EQ(host.IsWindowOpen(page), page == order[n]) << page;
  }
  // The lines page's purchase button leads to the fleet.
  PressIn(kOpnvGroup, 20, 131 + 10);
  PressIn(kOpnvLines, 250, 320);
  EXPECT_TRUE(host.IsWindowOpen(kOpnvFleet));
  EXPECT_FALSE(host.IsWindowOpen(kOpnvLines));
  PressIn(kOpnvGroup, 360, 8);
  EXPECT_FALSE(host.IsWindowOpen(kOpnvGroup));
  for (int page : kPages) EXPECT_FALSE(host.IsWindowOpen(page)) << page;
}

TEST_F(OpnvWindows, EveryEditorAndSwitchHoldsTheVariableItsButtonsChange) {
  // Window 128 holds two dialogs with id 3: the internet switch and the
  // information terminals' switch each land in their own.
  std::vector<std::vector<std::string>> threes;
  for (CDialog* d : Dialogs(kOpnvServices))
    if (d->GetID() == 3) threes.insert(threes.begin(), VarNames(d->GetVars()));
  ASSERT_EQ(threes.size(), 2u);
  EXPECT_EQ(threes[0], std::vector<std::string>{"OPNV.SV.INTERNET"});
  EXPECT_EQ(threes[1], std::vector<std::string>{"OPNV.SV.INFOTERMINAL"});

  // Each number editor's dialog holds the variable of its value text.
  struct Editor {
    int window, dialog;
    std::vector<std::string> vars;
  };
  const Editor editors[] = {
      {kOpnvFares, 1, {"OPNV.PRICE.BASE"}},
      {kOpnvFares, 2, {"OPNV.PRICE.KM"}},
      {kOpnvFares, 3, {"OPNV.PRICE.ESTIMATEDINCOME", "OPNV.PRICE.REDUCTIONTICKETMONTH"}},
      {kOpnvPersonnel, 2, {"OPNV.PERS.MECHANICS", "OPNV.PERS.MECHANICS.NEEDED", "OPNV.PERS.MECHANICS.QUOTE"}},
      {kOpnvFleet, 1, {"OPNV.FP.BUS.NORMAL.BUYSELL"}},
      {kOpnvFleet, 5, {"OPNV.FP.TRAM.BUYSELL"}},
      {kOpnvAdvertising, 6, {"OPNV.ADVERTISEMENT.NET.NR3"}},
      {kOpnvLines, 1, {"OPNV.LINES"}},
      {kTramLineList, 1, {"OPNV.NET.TRAM.LINE.SETACTIVELINE", "OPNV.NET.TRAMLINES"}}};
  for (const Editor& e : editors) {
    SCOPED_TRACE(std::to_string(e.window) + "/" + std::to_string(e.dialog));
    CDialog* found = nullptr;
    for (CDialog* d : Dialogs(e.window))
      if (d->GetID() == e.dialog && !found) found = d;
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(VarNames(found->GetVars()), e.vars);
    // The last of them is the one the buttons step.
    EXPECT_EQ(std::string(found->GetFirstVar()->GetName()), e.vars.back());
  }
  // The finances page binds this year's and last year's 13 figures each.
  const std::vector<CDialog*> finances = Dialogs(kOpnvFinances);
  ASSERT_EQ(finances.size(), 1u);
  EXPECT_EQ(VarNames(finances[0]->GetVars()).size(), 26u);
}

TEST_F(OpnvWindows, TheTramListIsLabelledAsTrams) {
  auto heading = [&](int id) {
    CItemText* text = nullptr;
    ForEachItem(Window(id), [&](CItem* i) {
      if (!text) text = dynamic_cast<CItemText*>(i);
    });
    return text;
  };
  ASSERT_NE(heading(kBusLineList), nullptr);
  ASSERT_NE(heading(kTramLineList), nullptr);
  EXPECT_STREQ(heading(kBusLineList)->GetText(), "Bus");
  EXPECT_STREQ(heading(kTramLineList)->GetText(), "Stra\xDF" "enbahn");
  EXPECT_STREQ(heading(kTramLineList)->GetEnglishText(), "Tram");
  // The lists open the line window for the chosen line.
  for (int id : {kBusLineList, kTramLineList}) {
    bool opensLine = false;
    for (CDialog* d : Dialogs(id))
      if (d->GetActions()) d->GetActions()->ForEach([&](CAction* a) { opensLine |= a->m_kind == 4; });
    EXPECT_TRUE(opensLine) << id;
  }
}

}  // namespace
