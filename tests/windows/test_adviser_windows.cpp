// The event windows, the message list with its panels and the adviser,
// built on the generated game data: every picture they name exists in both
// languages, the buttons carry the actions their pictures promise, and the
// adviser's topic buttons put up the portrait of their adviser.
#include <set>
#include <vector>

#include "windows/window_add_advisers.h"
#include "windows_scene.h"

using wintest::ForEachAction;
using wintest::ForEachItem;

namespace {

// In the order in which the builder creates them.
const std::vector<int> kSpeakingWindows = {247, 243, 244, 223, 220, 217, 234, 248, 232, 233, 236, 218, 239, 240, 219};

struct AdviserWindows : wintest::Scene {
  void SetUp() override {
    Scene::SetUp();
    Build();
  }
  void Build() {
    CZorvaWindows windows(builder);
    windows.WindowAdd();
    windows.WindowAddEventBerater();
    ASSERT_NE(Root(), nullptr);
  }
  CItem* ItemWithPicture(int window, int res) {
    CItem* found = nullptr;
    ForEachItem(Window(window), [&](CItem* i) {
      if (i->GetResource(0) == res && !found) found = i;
    });
    return found;
  }
  CItem* ItemOfType(int window, EItemType type) {
    CItem* found = nullptr;
    ForEachItem(Window(window), [&](CItem* i) {
      if (i->GetItemType() == type && !found) found = i;
    });
    return found;
  }
  // The item's action kinds in the order they were added (the list holds
  // them newest first), without the hover highlight.
  static std::vector<int> Kinds(CItem* item) {
    std::vector<int> out;
    ForEachAction(item, [&](CAction* a) {
      if (a->m_kind != 11) out.insert(out.begin(), a->m_kind);
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
  void Press(int window, int x, int y) {
    CScreenWindow* w = Window(window);
    const int mx = w->GetRealPosX() + x, my = w->GetRealPosY() + y;
    QnoInteractionEvent down{QNO_EVENT_BUTTONDOWN, mx, my, 0};
    w->InputFilter(&down, nullptr, 0, 0, mx, my, INOUT_INSIDE);
    QnoInteractionEvent up{QNO_EVENT_BUTTONUP, mx, my, 0};
    w->InputFilter(&up, nullptr, 0, 0, mx, my, INOUT_INSIDE);
  }
};

const int kTopicY[zorwin::kAdviserCount] = {45, 88, 131, 180, 223};

TEST_F(AdviserWindows, EveryWindowAndPortraitDrawsWithNoPictureMissingInEitherLanguage) {
  for (int language : {0, 1}) {
    SCOPED_TRACE(language == 0 ? "German" : "English");
    host.language = language;
    ReloadGameData();
    Build();
    host.eventHasPlace = true;
    resources.TrackRequests(true);
    for (int id : kSpeakingWindows) {
      ASSERT_NE(Window(id), nullptr) << id;
      Root()->ActivateWindow(id, OVER_SINGLE);
    }
    for (int look = 0; look <= 2; ++look) {
      for (int id : kSpeakingWindows) ForEachItem(Window(id), [&](CItem* i) { i->SetState(look); });
      RenderOpen();
    }
    // Each adviser in turn, as the player picks the topics.
    for (int n = 0; n < zorwin::kAdviserCount; ++n) {
      Press(219, 20, kTopicY[n] + 10);
      RenderOpen();
    }
    resources.TrackRequests(false);
    EXPECT_TRUE(resources.MissingIds().empty()) << resources.MissingIds().size() << " missing, the first "
                                                << *resources.MissingIds().begin();
    const std::set<uint32_t>& asked = resources.RequestedIds();
    std::set<int> named;
    for (int id : kSpeakingWindows)
      ForEachItem(Window(id), [&](CItem* i) {
        const int picture = language == 1 && i->GetResource(2) > 0 ? i->GetResource(2) : i->GetResource(0);
        if (picture <= 0) return;
        named.insert(picture);
        EXPECT_TRUE(asked.count(static_cast<uint32_t>(picture))) << "window " << id << " picture " << picture;
      });
    const std::vector<uint32_t> portraits = language == 0 ? std::vector<uint32_t>{44205, 44207, 44206, 44204, 44208}
                                                          : std::vector<uint32_t>{50038, 50044, 50043, 50041, 50045};
    for (uint32_t p : portraits) EXPECT_TRUE(asked.count(p)) << "portrait " << p;
    std::printf("language %d: %zu pictures named by the windows, %zu ids asked for, %zu missing\n", language,
                named.size(), asked.size(), resources.MissingIds().size());
  }
}

TEST_F(AdviserWindows, WindowsStandWhereTheGameOpensThemAndStartClosed) {
  struct Geometry {
    int id, x, y, w, h, parent;
  };
  const Geometry table[] = {{217, 0, 0, 410, 198, 1},     {234, 250, 150, 410, 164, 1}, {248, 250, 150, 410, 164, 1},
                            {232, 150, 70, 500, 350, 1},  {233, 150, 150, 410, 220, 1}, {236, 150, 150, 410, 220, 1},
                            {218, 351, 0, 448, 136, 1},   {239, 0, 133, 448, 172, 218}, {240, 0, 133, 448, 136, 218},
                            {219, 250, 150, 378, 276, 1}};
  for (const Geometry& g : table) {
    SCOPED_TRACE(g.id);
    CScreenWindow* w = Window(g.id);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->GetPosX(), g.x);
    EXPECT_EQ(w->GetSizeX(), g.w);
    EXPECT_EQ(w->GetSizeY(), g.h);
    EXPECT_EQ(w->GetTopWindow(), Window(g.parent));
    EXPECT_FALSE(host.IsWindowOpen(g.id));
  }
  // The list's panels hang right below it.
  EXPECT_EQ(Window(239)->GetRealPosY(), Window(218)->GetRealPosY() + 133);
  // Panel 240 holds only its close area and its background.
  std::vector<int> types;
  ForEachItem(Window(240), [&](CItem* i) { types.push_back(i->GetItemType()); });
  EXPECT_EQ(types, (std::vector<int>{2, 1})) << "newest first";
  EXPECT_EQ(ActionOf(ItemOfType(240, 1), 46)->m_p1, 240);
}

TEST_F(AdviserWindows, ButtonsCarryWhatTheyPromise) {
  struct Row {
    int window, picture;
    std::vector<int> kinds;
    int balloon;
  };
  const Row rows[] = {
      {217, 37553, {79, 33}, 193},
      {217, 37552, {68, 33}, 194},
      {234, 43853, {107, 70, 2, 33, 46}, 195},
      {234, 43855, {81, 33, 46}, 196},
      {248, 43853, {111, 107, 70, 2, 33, 46}, 195},
      {232, 43851, {96, 33, 46}, 197},
      {233, 43853, {70, 2, 33, 107, 46, 143}, 195},
      {233, 43855, {81, 33, 46, 143}, 196},  // exit says exit, not new game
      {233, 43852, {96, 143, 107, 33, 46}, 198},
      {236, 43851, {96, 107, 33, 6}, 199},
      {218, 49487, {66, 33}, 200},
      {218, 37552, {68, 33}, 194},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "window " << r.window << " picture " << r.picture);
    CItem* button = ItemWithPicture(r.window, r.picture);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(Kinds(button), r.kinds);
    EXPECT_EQ(ActionOf(button, 33)->m_p1, r.balloon);
    // A button that closes closes its own window.
    if (CAction* close = ActionOf(button, 46)) {
      EXPECT_EQ(close->m_p1, r.window);
    }
  }
  // New game opens the load page of the game menu with its saved games.
  CAction* page = ActionOf(ItemWithPicture(234, 43853), 70);
  EXPECT_EQ(page->m_p1, 161);
  EXPECT_EQ(page->m_p2, 1);
}

TEST_F(AdviserWindows, TheMessageListScrollsItsEventsBoundToTheMessageList) {
  CDialog* list = Window(218)->GetDialogs()->GetDialogByID(1);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->GetType(), 21);
  EXPECT_EQ(list->GetPosX(), 13);
  EXPECT_EQ(list->GetSizeY(), 88);
  std::vector<std::vector<int>> kinds;
  list->GetItems()->ForEach([&](CItem* i) { kinds.insert(kinds.begin(), Kinds(i)); });
  EXPECT_EQ(kinds, (std::vector<std::vector<int>>{{16}, {17}, {119}}));
  // The event texts: the selected event's long text below the list, the
  // newest event's in the event window, the adviser's text in 219.
  EXPECT_NE(ItemOfType(239, 36), nullptr);
  EXPECT_NE(ItemOfType(217, 26), nullptr);
  EXPECT_NE(ItemOfType(236, 34), nullptr);
  EXPECT_NE(ItemOfType(219, 33), nullptr);
}

TEST_F(AdviserWindows, EachTopicButtonPutsUpItsAdvisersPortraitInEitherLanguage) {
  const int german[] = {44205, 44207, 44206, 44204, 44208};
  const int english[] = {50038, 50044, 50043, 50041, 50045};
  Root()->ActivateWindow(219, OVER_SINGLE);
  CItem* page = ItemOfType(219, 20);
  ASSERT_NE(page, nullptr);
  // Picked out of order, so that a button showing a neighbour's portrait fails.
  for (int n : {3, 1, 5, 2, 4}) {
    SCOPED_TRACE(n);
    Press(219, 20, kTopicY[n - 1] + 10);
    EXPECT_EQ(page->GetResource(0), german[n - 1]);
    EXPECT_EQ(page->GetResource(2), english[n - 1]);
    CItem* button = ItemWithPicture(219, std::vector<int>{44230, 44232, 44231, 44236, 44233}[n - 1]);
    EXPECT_EQ(ActionOf(button, 33)->m_p1, 200 + n);
    EXPECT_EQ(ActionOf(button, 108)->m_p1, n);
  }
}

}  // namespace
