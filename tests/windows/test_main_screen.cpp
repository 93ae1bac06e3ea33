// The main screen and its tool windows, built on the generated game data:
// every picture they ask for exists in both languages, the bar's buttons
// lead to their menus, and the menus, balloons and status fields sit where
// the game needs them.
#include <cstring>
#include <map>
#include <set>
#include <tuple>

#include "gui/balloon_help.h"
#include "gui/item_bitmap.h"
#include "windows_scene.h"

using wintest::ForEachAction;
using wintest::ForEachItem;
using wintest::ForEachWindow;

namespace {

// The windows of the main screen, its menus and the thematic map.
const std::set<int> kMainScreenWindows = {1,  6,  7,  8,  9,  11,  12,  13,  14,  20,  21,
                                          25, 28, 35, 36, 37, 200, 201, 202, 203, 204};

struct MainScreen : wintest::Scene {
  void SetUp() override {
    Scene::SetUp();
    CZorvaWindows(builder).WindowAdd();
    ASSERT_NE(Root(), nullptr);
  }

  CItem* ItemWithPicture(int window, int res) {
    CItem* found = nullptr;
    if (CScreenWindow* w = Window(window))
      ForEachItem(w, [&](CItem* i) {
        if (i->GetResource(0) == res) found = i;
      });
    return found;
  }
  // The action of that kind on the item; null when none.
  static CAction* ActionOf(CItem* item, EActionType kind) {
    CAction* found = nullptr;
    if (item)
      ForEachAction(item, [&](CAction* a) {
        if (a->m_kind == kind && !found) found = a;
      });
    return found;
  }
  // The hot area (type 1) of the root that holds (x, y) and carries a balloon.
  int BalloonAt(int x, int y) {
    int text = -1;
    ForEachItem(Root(), [&](CItem* i) {
      if (i->GetItemType() != 1 || x < i->GetXPos() || x >= i->GetXPos() + i->GetXSize() || y < i->GetYPos() ||
          y >= i->GetYPos() + i->GetYSize())
        return;
      if (CAction* a = ActionOf(i, 33)) text = a->m_p1;
    });
    return text;
  }

  // Opens every window and draws it in every look its pictures have: each
  // button normal, lit and pressed, the clock through the whole day, and
  // the legends that the layer buttons put up.
  void DrawEverything() {
    ForEachWindow(Root(), [&](CScreenWindow* w) { Root()->ActivateWindow(w->GetID(), OVER_SINGLE); });
    for (int hour = 5; hour <= 20; ++hour) {
      host.hour = hour;
      RenderOpen();
    }
    for (int look = 0; look <= 2; ++look) {
      ForEachWindow(Root(), [&](CScreenWindow* w) { ForEachItem(w, [&](CItem* i) { i->SetState(look); }); });
      RenderOpen();
    }
    ForEachWindow(Root(), [&](CScreenWindow* w) {
      ForEachItem(w, [&](CItem* i) {
        i->SetState(-1);
        if (CAction* legend = ActionOf(i, 54)) {
          resources.GetResource(static_cast<unsigned>(legend->m_p1));
          resources.GetResource(static_cast<unsigned>(legend->m_p2));
        }
      });
    });
  }
};

}  // namespace

TEST_F(MainScreen, EveryWindowDrawsWithNoPictureMissingInEitherLanguage) {
  std::set<int> built;
  ForEachWindow(Root(), [&](CScreenWindow* w) { built.insert(w->GetID()); });
  for (int id : kMainScreenWindows) EXPECT_TRUE(built.count(id)) << "window " << id;

  for (int language : {0, 1}) {
    SCOPED_TRACE(language == 0 ? "German" : "English");
    host.language = language;
    // Built afresh on an emptied manager, so that each language counts alone.
    ReloadGameData();
    CZorvaWindows(builder).WindowAdd();
    resources.TrackRequests(true);
    DrawEverything();
    resources.TrackRequests(false);

    EXPECT_TRUE(resources.MissingIds().empty()) << resources.MissingIds().size() << " missing, the first "
                                                << *resources.MissingIds().begin();
    // Every picture an item names in this language was asked for: the walk
    // reached all of them.
    const std::set<uint32_t>& asked = resources.RequestedIds();
    ForEachWindow(Root(), [&](CScreenWindow* w) {
      ForEachItem(w, [&](CItem* i) {
        const int picture = language == 1 && i->GetResource(2) > 0 ? i->GetResource(2) : i->GetResource(0);
        if (picture > 0) {
          EXPECT_TRUE(asked.count(static_cast<uint32_t>(picture))) << picture;
        }
      });
    });
    std::printf("language %d: %zu resource ids asked for, %zu missing\n", language, asked.size(),
                resources.MissingIds().size());
  }
}

TEST_F(MainScreen, GermanAndEnglishPicturesDifferWhereTheyCarryWords) {
  Root()->ActivateWindow(201, OVER_SINGLE);
  Root()->ActivateWindow(202, OVER_SINGLE);
  Root()->ActivateWindow(9, OVER_SINGLE);
  std::vector<uint16_t> shots[2];
  for (int language : {0, 1}) {
    host.language = language;
    Root()->SetChangedLanguage();
    SDL_FillRect(surface, nullptr, 0);
    RenderOpen();
    const uint16_t* p = static_cast<const uint16_t*>(surface->pixels);
    shots[language].assign(p, p + 800 * 600);
  }
  auto differs = [&](int x0, int y0, int w, int h) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x) n += shots[0][y * 800 + x] != shots[1][y * 800 + x];
    return n;
  };
  // the layer buttons of the city page (window 201 at 50, 50, the page at 279, 29)
  EXPECT_GT(differs(50 + 279 + 6, 50 + 29 + 26, 161, 16 * 5), 100);
  // the rating button's label; the map's frame itself has no words
  EXPECT_GT(differs(594, 498 + 38, 52, 13), 20);
  EXPECT_EQ(differs(50, 50, 270, 299), 0);
}

TEST_F(MainScreen, BarButtonsOpenTheirMenusRightAboveThem) {
  // window of the bar button, the window its press toggles
  const std::pair<int, int> buttons[] = {{6, 200}, {7, 20}, {13, 25}, {14, 23}, {11, 214}, {12, 110}, {8, 201},
                                         {9, 140}};
  for (const auto& [bar, target] : buttons) {
    SCOPED_TRACE(bar);
    CScreenWindow* w = Window(bar);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->IsActive());
    EXPECT_TRUE(host.IsWindowOpen(bar));
    ASSERT_EQ(w->GetItems()->GetCount(), 1);
    CAction* toggle = ActionOf(w->GetItems()->GetHead(), 34);
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(toggle->m_p1, target);
    EXPECT_EQ(toggle->m_when, WHEN_LEFT_DOWN);
    EXPECT_EQ(toggle->m_inout, INOUT_INSIDE);
  }
  // The menus of this screen hang below their button, start closed, and pop
  // up wholly on the screen with their lower edge above the button.
  for (const auto& [bar, menu] : std::vector<std::pair<int, int>>{{6, 200}, {7, 20}, {13, 25}, {11, 28}}) {
    SCOPED_TRACE(menu);
    CScreenWindow* m = Window(menu);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GetType(), WINDOW_MENU);
    EXPECT_FALSE(m->IsActive());
    EXPECT_FALSE(host.IsWindowOpen(menu));
    EXPECT_EQ(m->GetTopWindow(), Window(bar));
    EXPECT_GE(m->GetRealPosY(), 0);
    EXPECT_LE(m->GetRealPosY() + m->GetSizeY(), Window(bar)->GetRealPosY());
    EXPECT_LE(m->GetRealPosX() + m->GetSizeX(), 800);
  }
  // The stops button of the networks menu opens the stops menu beside it.
  CAction* stops = ActionOf(ItemWithPicture(20, 18692), 2);
  ASSERT_NE(stops, nullptr);
  EXPECT_EQ(stops->m_p1, 21);
  EXPECT_EQ(Window(21)->GetTopWindow(), Window(20));
  EXPECT_EQ(Window(21)->GetRealPosX(), Window(20)->GetRealPosX() + 46);
  // Only the root and the bar's buttons are open after the build.
  std::set<int> open;
  for (CScreenWindow* w : host.renderList) open.insert(w->GetID());
  EXPECT_EQ(open, (std::set<int>{1, 6, 7, 8, 9, 11, 12, 13, 14}));
}

TEST_F(MainScreen, StatusFieldsCarryTheirBalloonsWhereTheStatusLineWritesThem) {
  // The status line writes at y = H - 43, the account at W - 355, the
  // population at W - 218 and the date at W - 79 (800 x 600).
  EXPECT_EQ(BalloonAt(800 - 355, 600 - 43 + 6), 229);
  EXPECT_EQ(BalloonAt(800 - 218, 600 - 43 + 6), 230);
  EXPECT_EQ(BalloonAt(680, 600 - 43 + 6), 1);
  EXPECT_EQ(BalloonAt(500, 586), 231);
  // a click on the ticker jumps to its message
  CItem* ticker = nullptr;
  ForEachItem(Root(), [&](CItem* i) {
    if (i->GetItemType() == 1 && ActionOf(i, 112)) ticker = i;
  });
  ASSERT_NE(ticker, nullptr);
  EXPECT_EQ(ActionOf(ticker, 112)->m_when, WHEN_LEFT_DOWN);
  EXPECT_LE(ticker->GetXPos(), 800 - 377);
  CItem* year = ItemWithPicture(1, 28432);
  ASSERT_NE(year, nullptr);
  EXPECT_LE(year->GetXPos(), 800 - 79);
  EXPECT_GT(year->GetXPos() + year->GetXSize(), 800 - 79 + 30);
  EXPECT_EQ(ActionOf(year, 33)->m_p1, 2);

  // The clock is the time display: its look follows the simulation hour.
  auto* clock = dynamic_cast<CItemBitmap*>(ItemWithPicture(1, 24557));
  ASSERT_NE(clock, nullptr);
  EXPECT_EQ(clock->GetItemType(), 17);
  Root()->ActivateWindow(1, OVER_SINGLE);
  std::vector<int> looks;
  for (double hour : {5.0, 9.0, 13.0, 17.0, 20.0}) {
    host.hour = hour;
    clock->Render(&display, &resources, 0, 0);
    looks.push_back(clock->GetCurrentFrame());
  }
  EXPECT_EQ(looks, (std::vector<int>{0, 1, 3, 4, 6}));
}

TEST_F(MainScreen, BuildingToolsShowTheStartupPricesInTheirBalloons) {
  auto price = [&](int window, int res) {
    CAction* a = ActionOf(ItemWithPicture(window, res), 33);
    return a ? a->m_p2 : -2;
  };
  EXPECT_EQ(price(20, 18641), 25000);
  EXPECT_EQ(price(20, 18643), 50000);
  EXPECT_EQ(price(20, 18686), 75000);
  EXPECT_EQ(price(20, 18688), 300000);
  EXPECT_EQ(price(20, 18644), -1);
  EXPECT_EQ(price(21, 50860), 40000);
  EXPECT_EQ(price(21, 19388), 160000);
  EXPECT_EQ(price(21, 18690), 1500000);
  EXPECT_EQ(price(200, 18635), 7500);
  EXPECT_EQ(price(200, 18772), 1000);
  EXPECT_EQ(price(35, 26591), 5000);
  EXPECT_EQ(price(35, 26592), 10000);
  EXPECT_EQ(price(36, 26591), 7500);
  EXPECT_EQ(price(36, 26592), 15000);
}

TEST(Prices, ClassesAndTheEdgesOfTheTable) {
  delete CPreise::SetPreise();
  EXPECT_EQ(CPreise::GetPreis(5, 2), 2500);
  EXPECT_EQ(CPreise::GetPreis(32, 0), 2750000);
  EXPECT_EQ(CPreise::GetPreis(16, 2), 0);
  EXPECT_EQ(CPreise::GetPreis(14, 1), 16000);
  EXPECT_EQ(CPreise::GetPreis(43, 0), 2250000);
  EXPECT_EQ(CPreise::GetPreis(44, 0), 0);
  EXPECT_EQ(CPreise::GetPreis(-1, 0), 0);
  EXPECT_EQ(CPreise::GetPreis(5, 3), 0);
}

TEST_F(MainScreen, ZoneToolsChooseOnReleaseAndTheOtherToolsOnPress) {
  int onRelease = 0, onPress = 0;
  for (int id : {20, 21, 35, 36, 37, 200}) {
    ForEachItem(Window(id), [&](CItem* i) {
      ForEachAction(i, [&](CAction* a) {
        if (a->m_kind != 5) return;
        const bool zone = a->m_p1 >= 10 && a->m_p1 <= 12;
        EXPECT_EQ(a->m_when, zone ? WHEN_LEFT_UP : WHEN_LEFT_DOWN) << "tool " << a->m_p1 << " in " << id;
        EXPECT_EQ(a->m_inout, INOUT_INSIDE);
        (zone ? onRelease : onPress)++;
      });
    });
  }
  EXPECT_EQ(onRelease, 8);  // 2 + 2 densities, industry, and its three variants
  EXPECT_EQ(onPress, 10);   // 5 network tools, 4 stop tools, zone removal
}

TEST_F(MainScreen, LayerButtonsChooseTheirLayerAndLegendInBothLanguages) {
  std::set<int> layers;
  for (int page : {202, 203, 204}) {
    ForEachItem(Window(page), [&](CItem* i) {
      CAction* layer = ActionOf(i, 51);
      if (!layer) return;
      layers.insert(layer->m_p1);
      CAction* legend = ActionOf(i, 54);
      ASSERT_NE(legend, nullptr);
      EXPECT_GT(legend->m_p1, 0);
      EXPECT_GT(legend->m_p2, 0);
      EXPECT_NE(legend->m_p1, legend->m_p2);
      EXPECT_GT(i->GetResource(2), 0) << "an English button for layer " << layer->m_p1;
    });
  }
  EXPECT_EQ(layers, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15, 16, 17}));
}

TEST_F(MainScreen, ButtonsLightUpAndExplainThemselves) {
  std::map<int, int> balloonUses;
  for (int id : kMainScreenWindows) {
    ForEachItem(Window(id), [&](CItem* i) {
      SCOPED_TRACE(testing::Message() << "window " << id << " picture " << i->GetResource(0));
      CAction* hover = ActionOf(i, 11);
      CAction* balloon = ActionOf(i, 33);
      if (balloon) {
        ++balloonUses[balloon->m_p1];
        const char* text = CBalloonHelp::GetText(balloon->m_p1);
        ASSERT_NE(text, nullptr);
        EXPECT_GT(std::strlen(text), 2u);
      }
      if (i->GetItemType() != 13) return;
      // every button but the bar's pin lights up under the pointer
      if (i->GetResource(0) != 49828) {
        EXPECT_NE(hover, nullptr);
      }
      // every button that does more than move or close its menu says what
      const bool chrome = i->GetResource(0) == 19022 || i->GetResource(0) == 19021;
      EXPECT_EQ(balloon != nullptr, !chrome);
    });
  }
  // Each text names one button; only parking management is offered twice,
  // on the bar and in the parking menu.
  for (const auto& [text, uses] : balloonUses) EXPECT_EQ(uses, text == 40 ? 2 : 1) << "balloon " << text;
  EXPECT_EQ(balloonUses.size(), 63u);  // texts 0-60 but 37, and the three status fields
}

TEST_F(MainScreen, MenusCloseThemselvesAndFitTheirPictures) {
  for (int id : {20, 21, 25, 28, 200}) {
    SCOPED_TRACE(id);
    CScreenWindow* w = Window(id);
    // the close box closes its own menu
    CAction* close = nullptr;
    ForEachItem(w, [&](CItem* i) {
      if (i->GetResource(0) == 19021)
        ForEachAction(i, [&](CAction* a) {
          if (a->m_kind == 6 || a->m_kind == 47) close = a;
        });
    });
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->m_p1, id);
    // the background picture covers the whole menu, and the buttons stand
    // inside it one below the other without overlapping
    CItem* background = w->GetItems()->GetItemByID(w->GetItems()->GetCount() - 1);
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->GetItemType(), 2);
    EXPECT_EQ(background->GetXSize(), w->GetSizeX());
    EXPECT_EQ(background->GetYSize(), w->GetSizeY());
    int lastBottom = 15;  // below the caption
    // whatever closes a window from inside a menu closes that menu
    ForEachItem(w, [&](CItem* i) {
      ForEachAction(i, [&](CAction* a) {
        if (a->m_kind == 6 || a->m_kind == 46 || a->m_kind == 47) {
          EXPECT_EQ(a->m_p1, id);
        }
      });
    });
    for (int n = 2; n < w->GetItems()->GetCount() - 1; ++n) {
      CItem* b = w->GetItems()->GetItemByID(n);
      EXPECT_EQ(b->GetXSize(), 36);
      EXPECT_EQ(b->GetYSize(), 36);
      EXPECT_GE(b->GetYPos(), lastBottom) << "button " << n;
      EXPECT_LE(b->GetXPos() + b->GetXSize(), w->GetSizeX());
      lastBottom = b->GetYPos() + b->GetYSize();
    }
    EXPECT_LE(lastBottom, w->GetSizeY());
  }
  // The menus on the bar end seven pixels above their button.
  for (int id : {20, 25, 28, 200}) EXPECT_EQ(Window(id)->GetPosY() + Window(id)->GetSizeY(), -7) << id;
  // Each density menu shows its background behind its two buttons.
  for (int id : {35, 36}) {
    CItem* background = Window(id)->GetItems()->GetItemByID(2);
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->GetXSize(), Window(id)->GetSizeX());
    EXPECT_EQ(background->GetYSize(), Window(id)->GetSizeY());
    for (int n : {0, 1}) {
      EXPECT_EQ(Window(id)->GetItems()->GetItemByID(n)->GetXSize(), 36);
      EXPECT_EQ(Window(id)->GetItems()->GetItemByID(n)->GetYSize(), 36);
    }
  }
}

TEST_F(MainScreen, TheMenusOfferEachToolOnce) {
  std::multiset<std::tuple<int, int, int>> tools;
  for (int id : kMainScreenWindows)
    ForEachItem(Window(id), [&](CItem* i) {
      ForEachAction(i, [&](CAction* a) {
        if (a->m_kind == 5) tools.insert({a->m_p1, a->m_p2, a->m_p3});
      });
    });
  const std::multiset<std::tuple<int, int, int>> offered = {
      {2, 1, -1},  {2, 2, -1},  {2, 4, -1},  {2, 9, -1}, {9, -1, -1}, {5, 1, -1}, {5, 2, -1},
      {5, 4, -1},  {23, -1, -1}, {12, 1, -1}, {12, 2, -1}, {12, 3, -1}, {13, 1, -1}, {10, 1, -1},
      {10, 2, -1}, {11, 1, -1}, {11, 2, -1}, {12, 1, -1}};
  EXPECT_EQ(tools, offered);
}

TEST_F(MainScreen, ThematicMapPagesStackTheirButtonsAboveTheirLegend) {
  for (int page : {202, 203, 204}) {
    SCOPED_TRACE(page);
    CScreenWindow* w = Window(page);
    CItem *header = nullptr, *legend = nullptr, *key = nullptr;
    std::vector<CItem*> buttons;
    ForEachItem(w, [&](CItem* i) {
      if (i->GetItemType() == 2) header = i;
      if (i->GetItemType() == 20) legend = i;
      if (i->GetItemType() == 16) key = i;
      if (i->GetItemType() == 13) buttons.push_back(i);
    });
    ASSERT_TRUE(header && legend && key);
    EXPECT_EQ(header->GetYPos(), 0);
    EXPECT_LE(header->GetYSize() + 1 + legend->GetYSize(), w->GetSizeY());
    EXPECT_EQ(legend->GetYPos(), header->GetYSize() + 1);
    // the colour key lies in the legend, in the slot its pictures leave at rows 33-47
    EXPECT_GE(key->GetYPos(), legend->GetYPos() + 33);
    EXPECT_LE(key->GetYPos() + key->GetYSize(), legend->GetYPos() + 48);
    std::sort(buttons.begin(), buttons.end(), [](CItem* a, CItem* b) { return a->GetYPos() < b->GetYPos(); });
    int bottom = 25;
    for (CItem* b : buttons) {
      EXPECT_GE(b->GetYPos(), bottom);
      bottom = b->GetYPos() + b->GetYSize();
    }
    EXPECT_LE(bottom, header->GetYSize());
  }
}

TEST_F(MainScreen, TheWarningAndTheQuestionDrawWithNoPictureMissingInEitherLanguage) {
  for (int language : {0, 1}) {
    SCOPED_TRACE(language == 0 ? "German" : "English");
    host.language = language;
    ReloadGameData();
    CZorvaWindows(builder).WindowAdd();
    CZorvaWindows(builder).WindowAddEventBerater();
    ASSERT_NE(Window(220), nullptr);
    ASSERT_NE(Window(247), nullptr);
    resources.TrackRequests(true);
    for (int id : {220, 247}) Root()->ActivateWindow(id, OVER_SINGLE);
    for (int look = 0; look <= 2; ++look) {
      for (int id : {220, 247}) ForEachItem(Window(id), [&](CItem* i) { i->SetState(look); });
      RenderOpen();
    }
    resources.TrackRequests(false);
    EXPECT_TRUE(resources.MissingIds().empty()) << resources.MissingIds().size() << " missing, the first "
                                                << *resources.MissingIds().begin();
    const std::set<uint32_t>& asked = resources.RequestedIds();
    const std::set<uint32_t> pictures = language == 0 ? std::set<uint32_t>{37549, 49889, 41484, 41485}
                                                      : std::set<uint32_t>{50088, 49889, 50609, 50612};
    for (uint32_t id : pictures) EXPECT_TRUE(asked.count(id)) << id;
  }
}
