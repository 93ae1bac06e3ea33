// The building palette and the removal questions, built on the generated
// game data: every picture exists in both languages, the groups open one at
// a time, each building button chooses its tool with its price in the
// balloon, and the removal questions ask and answer.
#include <set>
#include <tuple>
#include <vector>

#include "gui/balloon_help.h"
#include "windows_scene.h"

using wintest::ForEachAction;
using wintest::ForEachItem;
using wintest::ForEachWindow;

namespace {

const std::vector<int> kPalette = {23, 57, 58, 31, 59, 34, 32, 33, 38};
const std::vector<int> kQuestions = {243, 244, 223};

struct Palette : wintest::Scene {
  void SetUp() override {
    Scene::SetUp();
    Build();
  }
  void Build() {
    CZorvaWindows windows(builder);
    windows.WindowAdd();
    windows.WindowAddFloaterGebaeude();
    windows.WindowAddEventBerater();
    ASSERT_NE(Root(), nullptr);
  }
  // The actions of a kind on the window's items, in the order of the items.
  std::vector<CAction*> Actions(int window, EActionType kind) {
    std::vector<CAction*> out;
    ForEachItem(Window(window), [&](CItem* i) {
      ForEachAction(i, [&](CAction* a) {
        if (a->m_kind == kind) out.push_back(a);
      });
    });
    return out;
  }
  static CAction* ActionOf(CItem* item, EActionType kind) {
    CAction* found = nullptr;
    ForEachAction(item, [&](CAction* a) {
      if (a->m_kind == kind && !found) found = a;
    });
    return found;
  }
  CItem* ItemWithPicture(int window, int res) {
    CItem* found = nullptr;
    ForEachItem(Window(window), [&](CItem* i) {
      if (i->GetResource(0) == res) found = i;
    });
    return found;
  }
};

TEST_F(Palette, EveryPaletteAndQuestionPictureDrawsInBothLanguages) {
  for (int language : {0, 1}) {
    SCOPED_TRACE(language == 0 ? "German" : "English");
    host.language = language;
    ReloadGameData();
    Build();
    resources.TrackRequests(true);
    std::vector<int> all = kPalette;
    all.insert(all.end(), kQuestions.begin(), kQuestions.end());
    for (int id : all) {
      ASSERT_NE(Window(id), nullptr) << id;
      Root()->ActivateWindow(id, OVER_SINGLE);
    }
    for (int look = 0; look <= 2; ++look) {
      for (int id : all) ForEachItem(Window(id), [&](CItem* i) { i->SetState(look); });
      RenderOpen();
    }
    resources.TrackRequests(false);
    EXPECT_TRUE(resources.MissingIds().empty()) << resources.MissingIds().size() << " missing, the first "
                                                << *resources.MissingIds().begin();
    const std::set<uint32_t>& asked = resources.RequestedIds();
    for (uint32_t id : {30076u, 30077u, 30078u, 28381u, 26597u, 26594u, 18699u})
      EXPECT_TRUE(asked.count(id)) << id;
    EXPECT_TRUE(asked.count(language == 0 ? 30069u : 50831u));
    EXPECT_FALSE(asked.count(language == 0 ? 50831u : 30069u));
    EXPECT_TRUE(asked.count(language == 0 ? 41475u : 50090u));
  }
}

TEST_F(Palette, TheMenuHangsAboveItsBarButtonAndItsGroupsBesideIt) {
  EXPECT_EQ(Window(23)->GetTopWindow(), Window(14));
  EXPECT_EQ(Window(23)->GetType(), WINDOW_MENU);
  EXPECT_LE(Window(23)->GetRealPosY() + Window(23)->GetSizeY(), Window(14)->GetRealPosY());
  for (int id : {57, 58}) {
    EXPECT_EQ(Window(id)->GetTopWindow(), Window(23));
    EXPECT_EQ(Window(id)->GetRealPosX(), Window(23)->GetRealPosX() + 46);
    EXPECT_EQ(Window(id)->GetType(), WINDOW_MENU);
  }
  for (int id : {31, 59, 34, 32, 33}) EXPECT_EQ(Window(id)->GetTopWindow(), Window(57)) << id;
  EXPECT_EQ(Window(38)->GetTopWindow(), Window(58));
  for (int id : {31, 59, 34, 32, 33, 38}) {
    EXPECT_EQ(Window(id)->GetType(), WINDOW_SUBMENU) << id;
    EXPECT_EQ(Window(id)->GetSizeX(), 118);
  }
  // Nothing of the palette is open after the build.
  for (CScreenWindow* w : host.renderList)
    for (int id : kPalette) EXPECT_NE(w->GetID(), id);
}

TEST_F(Palette, EachGroupOpensItselfAndClosesTheOtherAndRemovalLeavesBoth) {
  const int groups[][3] = {{30068, 57, 58}, {30069, 58, 57}};
  for (const auto& [res, group, other] : groups) {
    CItem* button = ItemWithPicture(23, res);
    ASSERT_NE(button, nullptr);
    ASSERT_NE(ActionOf(button, 2), nullptr);
    EXPECT_EQ(ActionOf(button, 2)->m_p1, group);
    ASSERT_NE(ActionOf(button, 6), nullptr);
    EXPECT_EQ(ActionOf(button, 6)->m_p1, other);
  }
  EXPECT_EQ(Actions(23, 2).size(), 2u);
  EXPECT_EQ(Actions(23, 6).size(), 3u) << "the close box and the two groups";
  EXPECT_EQ(ActionOf(ItemWithPicture(23, 19021), 6)->m_p1, 23);
  CItem* remove = ItemWithPicture(23, 18699);
  ASSERT_NE(remove, nullptr);
  CAction* tool = ActionOf(remove, 5);
  ASSERT_NE(tool, nullptr);
  EXPECT_EQ(tool->m_p1, 15);
  EXPECT_EQ(ActionOf(remove, 6), nullptr);
  EXPECT_EQ(ActionOf(remove, 2), nullptr);
  // Menu 58's close box has no highlight, menu 57's has.
  EXPECT_EQ(ActionOf(ItemWithPicture(58, 19021), 11), nullptr);
  EXPECT_NE(ActionOf(ItemWithPicture(57, 19021), 11), nullptr);
}

TEST_F(Palette, BuildingButtonsChooseTheirToolAndShowTheirPrice) {
  // window, picture: tool, subtool, variant, when, scope, balloon, price
  using Row = std::tuple<int, int, int, int, int, EActionWhen, EInOutType, int, int>;
  const Row rows[] = {
      {31, 26597, 6, 1, 1, WHEN_LEFT_UP, INOUT_ALWAYS, 99, 500000},
      {31, 26599, 6, 1, 3, WHEN_LEFT_UP, INOUT_ALWAYS, 101, 1500000},
      {34, 26598, 6, 2, 2, WHEN_LEFT_UP, INOUT_ALWAYS, 106, 1000000},
      {33, 26597, 6, 6, 1, WHEN_LEFT_UP, INOUT_ALWAYS, 111, 500000},
      {32, 26597, 6, 5, 1, WHEN_LEFT_UP, INOUT_INSIDE, 108, 500000},
      {32, 26599, 6, 5, 3, WHEN_LEFT_UP, INOUT_ALWAYS, 110, 1500000},
      {59, 26598, 6, 3, 2, WHEN_LEFT_UP, INOUT_ALWAYS, 103, 2500000},
      {38, 26594, 8, 1, 1, WHEN_LEFT_UP, INOUT_INSIDE, 114, 300000},
      {38, 26595, 8, 1, 2, WHEN_LEFT_UP, INOUT_INSIDE, 115, 750000},
      {38, 26596, 8, 1, 3, WHEN_LEFT_UP, INOUT_INSIDE, 116, 2500000},
      {58, 28131, 7, 1, -1, WHEN_LEFT_DOWN, INOUT_INSIDE, 93, 1500000},
      {58, 28132, 7, 2, -1, WHEN_LEFT_DOWN, INOUT_INSIDE, 94, 50000},
      {58, 28730, 7, 7, -1, WHEN_LEFT_DOWN, INOUT_INSIDE, 95, 1500000},
      {58, 49626, 7, 9, -1, WHEN_LEFT_UP, INOUT_ALWAYS, 96, 2750000},
      {58, 37574, 7, 8, -1, WHEN_LEFT_DOWN, INOUT_INSIDE, 98, 750000},
  };
  for (const auto& [window, res, t, sub, variant, when, scope, balloon, price] : rows) {
    SCOPED_TRACE(testing::Message() << "window " << window << " picture " << res);
    CItem* item = ItemWithPicture(window, res);
    ASSERT_NE(item, nullptr);
    CAction* tool = ActionOf(item, 5);
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(std::tuple(tool->m_p1, tool->m_p2, tool->m_p3), std::tuple(t, sub, variant));
    EXPECT_EQ(tool->m_when, when);
    EXPECT_EQ(tool->m_inout, scope);
    CAction* help = ActionOf(item, 33);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->m_p1, balloon);
    EXPECT_EQ(help->m_p2, price);
    EXPECT_NE(CBalloonHelp::GetText(balloon), nullptr);
    EXPECT_NE(ActionOf(item, 11), nullptr) << "lights up under the pointer";
  }
  // Every size menu offers three sizes before its background.
  for (int id : {31, 59, 34, 32, 33, 38}) EXPECT_EQ(Actions(id, 5).size(), 3u) << id;
}

TEST_F(Palette, TheRemovalQuestionsNameTheirCostAndAnswerYesWithTheirRemoval) {
  const std::pair<int, EActionType> yes[] = {{243, 80}, {244, 80}, {223, 134}};
  for (const auto& [id, kind] : yes) {
    SCOPED_TRACE(id);
    CScreenWindow* w = Window(id);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->GetSizeX(), 315);
    EXPECT_EQ(w->GetSizeY(), 100);
    CItem* yesButton = ItemWithPicture(id, 41484);
    CItem* noButton = ItemWithPicture(id, 41485);
    ASSERT_NE(yesButton, nullptr);
    ASSERT_NE(noButton, nullptr);
    EXPECT_NE(ActionOf(yesButton, kind), nullptr);
    CAction* no = ActionOf(noButton, 6);
    ASSERT_NE(no, nullptr);
    EXPECT_EQ(no->m_p1, id);
    EXPECT_EQ(yesButton->GetResource(2), 50609);
    EXPECT_EQ(noButton->GetResource(2), 50612);
  }
}

}  // namespace
