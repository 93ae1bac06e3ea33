// The start-up windows, the game menu with its pages and the crossing and
// street windows, built on the generated game data: every picture they name
// exists in both languages, the windows stand where the game opens them,
// and the buttons carry the values their pictures promise.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "gui/dialog.h"
#include "gui/window_var.h"
#include "model/zor_var.h"
#include "windows_scene.h"

using wintest::ForEachAction;
using wintest::ForEachItem;

namespace {

const std::vector<int> kStartupAndMenu = {237, 249, 333, 334, 246, 245, 160, 162, 161, 163};
const std::vector<int> kCrossingAndStreet = {229, 230, 192, 193, 190, 191, 194, 195};
// The backgrounds the selection gives the windows whose background is a
// type-20 item: window, German and English picture.
const int kSelectionBackgrounds[][3] = {{229, 29683, 50760}, {230, 29684, 50761}, {229, 33828, 50767},
                                        {230, 33829, 50768}, {190, 33782, 50535}, {191, 33783, 50534},
                                        {190, 33784, 50533}, {191, 33785, 50532}};

struct GameMenuWindows : wintest::Scene {
  void SetUp() override {
    Scene::SetUp();
    Build();
  }
  void Build() {
    // Unbound variables of the game model, as the world makes them.
    UseNamedVars();
    CZorvaWindows windows(builder);
    windows.WindowAdd();
    windows.WindowAddKreuzung();
    windows.WindowAddStreet();
    windows.WindowAddLadenSpeichern();
    ASSERT_NE(Root(), nullptr);
  }
  // The parameter p1 of the items' actions of a kind, in the order built.
  std::vector<int> Values(int window, EActionType kind) {
    std::vector<int> out;
    ForEachItemDeep(window, [&](CItem* i) {
      ForEachAction(i, [&](CAction* a) {
        if (a->m_kind == kind) out.insert(out.begin(), a->m_p1);
      });
    });
    return out;
  }
};

TEST_F(GameMenuWindows, EveryWindowDrawsWithNoPictureMissingInEitherLanguage) {
  std::vector<int> all = kStartupAndMenu;
  all.insert(all.end(), kCrossingAndStreet.begin(), kCrossingAndStreet.end());
  for (int language : {0, 1}) {
    SCOPED_TRACE(language == 0 ? "German" : "English");
    host.language = language;
    ReloadGameData();
    Build();
    resources.TrackRequests(true);
    for (int id : all) {
      ASSERT_NE(Window(id), nullptr) << id;
      Root()->ActivateWindow(id, OVER_SINGLE);
    }
    // Each look of the buttons, and the values' pictures up to the load bars' last.
    for (int look = 0; look <= 16; ++look) {
      for (int id : all) ForEachItemDeep(id, [&](CItem* i) { i->SetState(look); });
      RenderOpen();
    }
    for (const auto& b : kSelectionBackgrounds) {
      Window(b[0])->SetReplaceBitmap(b[1], b[2]);
      RenderOpen();
    }
    resources.TrackRequests(false);
    EXPECT_TRUE(resources.MissingIds().empty()) << resources.MissingIds().size() << " missing, the first "
                                                << *resources.MissingIds().begin();
    const std::set<uint32_t>& asked = resources.RequestedIds();
    int named = 0;
    for (int id : all)
      ForEachItemDeep(id, [&](CItem* i) {
        const int picture = language == 1 && i->GetResource(2) > 0 ? i->GetResource(2) : i->GetResource(0);
        if (picture <= 0 || i->GetItemType() == 10 || i->GetItemType() == 11) return;
        ++named;
        EXPECT_TRUE(asked.count(static_cast<uint32_t>(picture))) << "window " << id << " picture " << picture;
      });
    for (const auto& b : kSelectionBackgrounds)
      EXPECT_TRUE(asked.count(static_cast<uint32_t>(b[1 + language]))) << "background " << b[1 + language];
    std::printf("language %d: %d pictures named by the windows, %zu missing\n", language, named,
                resources.MissingIds().size());
  }
}

// The crossing windows' direction areas set "KR.AMPEL.RICHTUNG" while the
// marks under them only show "KR.RICHTUNG.1" and "KR.RICHTUNG.2"; the speed
// buttons carry 4, 1, 2 and, with the bus lane, 3 from left to right.
TEST_F(GameMenuWindows, DirectionAreasAndSpeedButtonsCarryTheirValues) {
  for (int id : {229, 230}) {
    SCOPED_TRACE(id);
    std::vector<std::string> setBy, shownBy;
    ForEachItem(Window(id), [&](CItem* i) {
      if (i->GetXPos() != 67 || !i->GetVars()) return;
      std::string var;
      i->GetVars()->ForEach([&](CWindowVar* v) { var = v->GetName(); });
      bool sets = false;
      ForEachAction(i, [&](CAction* a) { sets = sets || a->m_kind == 21; });
      (sets ? setBy : shownBy).insert((sets ? setBy : shownBy).begin(), var);
    });
    EXPECT_EQ(setBy, (std::vector<std::string>{"KR.AMPEL.RICHTUNG", "KR.AMPEL.RICHTUNG"}));
    EXPECT_EQ(shownBy, (std::vector<std::string>{"KR.RICHTUNG.1", "KR.RICHTUNG.2"}));
    // The lights buttons set 0, 1, 2 after the direction areas' 1 and 2.
    EXPECT_EQ(Values(id, 21), (std::vector<int>{1, 2, 0, 1, 2}));
  }
  for (int id : {190, 191}) EXPECT_EQ(Values(id, 21), (std::vector<int>{4, 1, 2})) << id;
  for (int id : {194, 195}) EXPECT_EQ(Values(id, 21), (std::vector<int>{4, 1, 2, 3})) << id;
}


// The street windows with the 24-hour chart draw its zero line at the chart
// item's corner and the loads and the hour mark upwards from there (up to
// 22 rows over the chart's height). All of that lies on the chart's frame
// in the background: one even fill, unlike the panel around it. The load
// bars' labels end by the bars in both languages.
TEST_F(GameMenuWindows, TheStreetLoadChartLiesOnItsFrameAndTheLoadLabelsByTheBars) {
  host.pictures = &resources;
  const int charts[][3] = {{191, 33783, 50534}, {191, 33785, 50532}, {195, 0, 0}};
  for (int language : {0, 1}) {
    host.language = language;
    for (const auto& c : charts) {
      SCOPED_TRACE(testing::Message() << "window " << c[0] << " picture " << c[1 + language]);
      host.renderList.clear();
      CScreenWindow* w = Window(c[0]);
      ASSERT_NE(w, nullptr);
      Root()->ActivateWindow(c[0], OVER_SINGLE);
      if (c[1] > 0) w->SetReplaceBitmap(c[1], c[2]);
      CItem* chart = nullptr;
      ForEachItem(w, [&](CItem* i) {
        if (i->GetItemType() == 22) chart = i;
      });
      ASSERT_NE(chart, nullptr);
      SDL_FillRect(surface, nullptr, 0);
      RenderOpen();
      const int X = w->GetRealPosX() + chart->GetXPos(), Y = w->GetRealPosY() + chart->GetYPos();
      const int W = chart->GetXSize(), H = chart->GetYSize();
      // The hour mark's column (hour 12; no loads are shown).
      const int mark = X + static_cast<int>(7 * (W / 15.0));
      const uint16_t fill = Pixel(X + 3, Y);
      int odd = 0;
      for (int y = Y - 22 - H; y <= Y + 2; ++y)
        for (int x = X - 2; x <= X + W + 2; ++x)
          if (x != mark && Pixel(x, y) != fill) ++odd;
      EXPECT_EQ(odd, 0) << "pixels off the chart's fill in its drawing area";
      EXPECT_NE(Pixel(w->GetRealPosX() + 8, Y - H), fill) << "the frame's fill is the panel's";
      // The load bars' labels end by the bars' end (x 194), well clear of
      // the window's edge: from x 199 on nothing light shows in their rows.
      const int top = w->GetRealPosY() + (c[0] == 195 ? 17 : 0);
      int light = 0;
      for (auto [from, to] : {std::pair{79, 88}, std::pair{110, 121}})
        for (int y = top + from; y < top + to; ++y)
          for (int x = w->GetRealPosX() + 199; x < w->GetRealPosX() + 209; ++x)
            light += ((Pixel(x, y) >> 11) & 31) > 20 && ((Pixel(x, y) >> 5) & 63) > 40 ? 1 : 0;
      EXPECT_EQ(light, 0) << "light pixels near the window's edge beside the load bars";
    }
  }
}

}  // namespace
