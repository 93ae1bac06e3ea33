// The indicator group built on the generated game data: every picture its
// windows name exists in both languages and in every look, the windows
// stand where the game opens them, each god-value editor keeps its own
// variables, and the series panels offer each series once with a balloon
// text of its own.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/qno_animation.h"
#include "gui/balloon_help.h"
#include "gui/dialog.h"
#include "gui/item_bitmap.h"
#include "gui/item_text.h"
#include "model/zor_var.h"
#include "windows/window_add_indikatoren.h"
#include "windows_scene.h"

using wintest::ForEachAction;
using wintest::ForEachItem;

namespace {

using namespace zorwin;

const int kPages[] = {kIndikatorPage, kStatistikPage, kMasterEntry, kMasterTraffic, kMasterUsers, kIndikatorEmpty};

struct IndicatorWindows : wintest::Scene {
  void SetUp() override {
    Scene::SetUp();
    UseNamedVars();
    Build();
  }
  void Build() {
    CZorvaWindows windows(builder);
    windows.WindowAdd();
    windows.WindowAddIndikatoren();
    windows.WindowAddStatistik();
    ASSERT_NE(Root(), nullptr);
  }
  std::vector<CDialog*> Dialogs(int window) {
    std::vector<CDialog*> out;
    if (CDialogList* list = Window(window)->GetDialogs()) list->ForEach([&](CDialog* d) { out.insert(out.begin(), d); });
    return out;  // oldest first
  }
  // Every item of a window and of its dialogs.
};

TEST_F(IndicatorWindows, EveryPageAndPanelDrawsWithNoPictureMissingInEitherLanguage) {
  for (int language : {0, 1}) {
    SCOPED_TRACE(language == 0 ? "German" : "English");
    host.language = language;
    ReloadGameData();
    Build();
    resources.TrackRequests(true);
    std::set<int> named;
    std::vector<int> shown(std::begin(kPages), std::end(kPages));
    shown.insert(shown.end(), std::begin(kSeriesPanels), std::end(kSeriesPanels));
    for (int page : shown) {
      const int parent = page >= 147 ? kStatistikPage : kIndikatorGroup;
      Root()->ActivateWindow(kIndikatorGroup, OVER_GROUP);
      Root()->ActivateWindow(parent, OVER_SINGLE);
      Root()->ActivateWindow(page, OVER_SINGLE);
      ASSERT_TRUE(host.IsWindowOpen(page)) << page;
      for (int id : {kIndikatorGroup, parent, page}) NamePictures(id, language, named);
      // Every look: the bars' fourteen states, the buttons' three.
      for (int look = 13; look >= 0; --look) {
        for (int id : {kIndikatorGroup, parent, page}) ForEachItemDeep(id, [&](CItem* i) { i->SetState(look); });
        RenderOpen();
      }
      Root()->DeActivateWindow(kIndikatorGroup, OVER_GROUP);
    }
    ExpectNamedPicturesDrawn(named, language, "the indicator windows");
  }
}

TEST_F(IndicatorWindows, WindowsStandWhereTheGameOpensThemAndStartClosed) {
  struct Geometry {
    int id, x, y, w, h, parent;
  };
  std::vector<Geometry> table = {{140, 206, 50, 490, 323, 1}, {142, 51, 21, 439, 303, 140}};
  for (int page : {141, 143, 144, 145, 146}) table.push_back({page, 51, 21, 439, 302, 140});
  for (int panel : kSeriesPanels) table.push_back({panel, 60, 191, 316, 103, 142});
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
  // The group opens on its indicator page; the tabs turn to the statistics
  // with the first panel, and a panel's tab to that panel alone.
  Root()->ActivateWindow(kIndikatorGroup, OVER_GROUP);
  EXPECT_TRUE(host.IsWindowOpen(kIndikatorPage));
  PressIn(kIndikatorGroup, 28, 88 + 18);
  EXPECT_FALSE(host.IsWindowOpen(kIndikatorPage));
  EXPECT_TRUE(host.IsWindowOpen(kStatistikPage));
  EXPECT_TRUE(host.IsWindowOpen(147));
  PressIn(kStatistikPage, 290, 198);  // the tab of panel 149
  for (int panel : kSeriesPanels) EXPECT_EQ(host.IsWindowOpen(panel), panel == 149) << panel;
  PressIn(kIndikatorGroup, 28, 45 + 18);
  EXPECT_TRUE(host.IsWindowOpen(kIndikatorPage));
  EXPECT_FALSE(host.IsWindowOpen(kStatistikPage));
  EXPECT_FALSE(host.IsWindowOpen(149));
  PressIn(kIndikatorGroup, 470, 10);
  for (int id : {140, 141, 142}) EXPECT_FALSE(host.IsWindowOpen(id)) << id;
}

TEST_F(IndicatorWindows, APageButtonLosesItsPressedLookOnScreenWhenItsPageCloses) {
  // The indicator button looks pressed while its page is open; the turn
  // that ends the look also clears the frame drawn last, and the picture
  // must still go back to its normal look.
  auto* button = dynamic_cast<CItemBitmap*>(Window(kIndikatorGroup)->GetItems()->GetItemByID(2));
  ASSERT_NE(button, nullptr);
  ASSERT_EQ(button->GetResource(0), 35924);
  auto turnAndDraw = [&] {
    for (CScreenWindow* w : std::vector<CScreenWindow*>(host.renderList)) w->OnPlayloopTurn();
    RenderOpen();
  };
  Root()->ActivateWindow(kIndikatorGroup, OVER_GROUP);
  turnAndDraw();
  ASSERT_NE(button->GetMotor(), nullptr);
  EXPECT_EQ(button->GetMotor()->GetState(), 2u);
  PressIn(kIndikatorGroup, 28, 88 + 18);  // the statistics
  ASSERT_FALSE(host.IsWindowOpen(kIndikatorPage));
  turnAndDraw();
  EXPECT_EQ(button->GetMotor()->GetState(), 0u);
  turnAndDraw();
  EXPECT_EQ(button->GetMotor()->GetState(), 0u);
}

TEST_F(IndicatorWindows, EachGodEditorKeepsItsOwnValueAndShowsTheValueInForceWhereItShould) {
  // Oldest first: the editors in the order the page adds them.
  const std::vector<std::vector<std::string>> traffic = {
      {"GOTT.00_VM_PKW"},     {"GOTT.01_VM_OPNV"},  {"GOTT.05_EW_WORKER"},          {"GOTT.06_EW_NOWORKER"},
      {"GOTT.07_EW_PUPILS"},  {"GOTT.08_PEOPLE"},   {"GOTT.02_ZIELWAHL"},           {"GOTT.03_MOTORISIERUNGSGRAD"},
      {"GOTT.04_FAHRTENTAG"}};
  std::vector<std::vector<std::string>> seen;
  for (CDialog* d : Dialogs(kMasterTraffic)) {
    EXPECT_EQ(d->GetID(), 1);
    seen.push_back(VarNames(d->GetVars()));
  }
  EXPECT_EQ(seen, traffic);
  EXPECT_EQ(Dialogs(kMasterUsers).size(), 8u);

  // Each editor's texts: its own value, and the value in force beside it
  // except for car ownership and trips per day.
  for (int page : {kMasterTraffic, kMasterUsers})
    for (CDialog* d : Dialogs(page)) {
      const std::string name = VarNames(d->GetVars()).front();
      SCOPED_TRACE(name);
      std::vector<std::string> texts, itemVars;
      int minus = 0, plus = 0;
      d->GetItems()->ForEach([&](CItem* i) {
        if (auto* t = dynamic_cast<CItemText*>(i)) texts.insert(texts.begin(), t->GetText());
        for (const std::string& v : VarNames(i->GetVars())) itemVars.push_back(v);
        ForEachAction(i, [&](CAction* a) {
          minus += a->m_kind == 17 && a->m_p1 == 1;
          plus += a->m_kind == 16 && a->m_p1 == 1;
        });
      });
      if (name == "GOTT.02_ZIELWAHL") {
        EXPECT_EQ(d->GetType(), 4);
        EXPECT_EQ(itemVars, std::vector<std::string>{name});  // the bar shows the same value
        continue;
      }
      EXPECT_EQ(d->GetType(), 5);
      EXPECT_EQ(minus, 1);
      EXPECT_EQ(plus, 1);
      const std::string type = page == kMasterUsers || name == "GOTT.04_FAHRTENTAG" ? "FLOAT" : "INT";
      const bool current = name != "GOTT.03_MOTORISIERUNGSGRAD" && name != "GOTT.04_FAHRTENTAG";
      std::vector<std::string> want = {"@#var," + type + ",NULL," + name + "#"};
      if (current) want.push_back("@#var," + type + ",NULL," + name + "AKTUELL#");
      EXPECT_EQ(texts, want);
      EXPECT_EQ(itemVars, current ? std::vector<std::string>{name + "AKTUELL"} : std::vector<std::string>{});
    }

  // A name whose texts would not fit is refused, and nothing is added.
  CZorvaWindows windows(builder);
  builder.m_CurWindow = kMasterUsers;
  const size_t before = Dialogs(kMasterUsers).size();
  EXPECT_EQ(windows.AddDialogGottWert(0, 0, std::string(240, 'G').c_str(), true, false, true), 1);
  EXPECT_EQ(Dialogs(kMasterUsers).size(), before);
  EXPECT_EQ(windows.AddDialogGottWert(0, 0, std::string(200, 'G').c_str(), true, false, true), 0);
  EXPECT_EQ(Dialogs(kMasterUsers).size(), before + 1);
}

TEST_F(IndicatorWindows, EverySeriesHasOneButtonAndEachButtonItsOwnBalloon) {
  std::map<int, int> buttons;  // series -> count
  std::map<int, std::set<int>> balloonsOfPanel;
  std::set<std::string> ratingTexts;
  for (int panel : kSeriesPanels)
    ForEachItem(Window(panel), [&](CItem* i) {
      int series = -1, balloon = -1;
      ForEachAction(i, [&](CAction* a) {
        if (a->m_kind == 55) series = a->m_p1;
        if (a->m_kind == 33) balloon = a->m_p1;
      });
      if (series < 0) return;
      ++buttons[series];
      const char* text = CBalloonHelp::GetText(balloon);
      ASSERT_NE(text, nullptr) << series;
      EXPECT_STRNE(text, "") << series;
      EXPECT_TRUE(balloonsOfPanel[panel].insert(balloon).second) << "panel " << panel << " repeats " << balloon;
      if (panel == 149) {
        EXPECT_TRUE(ratingTexts.insert(text).second) << "\"" << text << "\" twice";
      }
    });
  EXPECT_EQ(buttons.size(), 68u);
  for (int s = 0; s <= 70; ++s) EXPECT_EQ(buttons.count(s) ? buttons[s] : 0, s == 10 || s == 11 || s == 38 ? 0 : 1) << s;
  EXPECT_EQ(ratingTexts.size(), 15u);
}

}  // namespace
