// The start-up windows, the game menu with its pages and the crossing and
// street windows, built on the generated game data: every picture they name
// exists in both languages, the windows stand where the game opens them,
// and the buttons carry the values their pictures promise.
#include <set>
#include <string>
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
    builder.SetVarFactory([](EVarType type, const char* name) -> CWindowVar* {
      auto* var = new CVar;
      var->Create(type, name, static_cast<CVarOwner*>(nullptr));
      return var;
    });
    CZorvaWindows windows(builder);
    windows.WindowAdd();
    windows.WindowAddKreuzung();
    windows.WindowAddStreet();
    windows.WindowAddLadenSpeichern();
    ASSERT_NE(Root(), nullptr);
  }
  // Every item of the window and of its dialogs.
  void ForEachElement(int window, const std::function<void(CItem*)>& f) {
    CScreenWindow* w = Window(window);
    ForEachItem(w, f);
    if (w->GetDialogs())
      w->GetDialogs()->ForEach([&](CDialog* d) {
        if (d->GetItems()) d->GetItems()->ForEach([&](CItem* i) { f(i); });
      });
  }
  // The parameter p1 of the items' actions of a kind, in the order built.
  std::vector<int> Values(int window, EActionType kind) {
    std::vector<int> out;
    ForEachElement(window, [&](CItem* i) {
      ForEachAction(i, [&](CAction* a) {
        if (a->m_kind == kind) out.insert(out.begin(), a->m_p1);
      });
    });
    return out;
  }
  // Every variable name bound in the window, its items and dialogs.
  std::set<std::string> Variables(int window) {
    std::set<std::string> names;
    auto take = [&](CWindowVarList* vars) {
      if (vars) vars->ForEach([&](CWindowVar* v) { names.insert(v->GetName()); });
    };
    CScreenWindow* w = Window(window);
    ForEachItem(w, [&](CItem* i) { take(i->GetVars()); });
    if (w->GetDialogs())
      w->GetDialogs()->ForEach([&](CDialog* d) {
        take(d->GetVars());
        if (d->GetItems()) d->GetItems()->ForEach([&](CItem* i) { take(i->GetVars()); });
      });
    return names;
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
      for (int id : all) ForEachElement(id, [&](CItem* i) { i->SetState(look); });
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
      ForEachElement(id, [&](CItem* i) {
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

TEST_F(GameMenuWindows, WindowsStandWhereTheGameOpensThemAndStartClosed) {
  struct Geometry {
    int id, x, y, w, h, parent;
    EPositionType position;
  };
  const Geometry table[] = {
      {237, 224, 50, 352, 350, 1, POSITION_FIXED},    {249, 224, 50, 500, 420, 1, POSITION_CENTERED},
      {333, 0, 0, 800, 600, 1, POSITION_CENTERED},    {334, 0, 0, 640, 480, 1, POSITION_CENTERED},
      {246, 224, 50, 352, 350, 1, POSITION_CENTERED}, {245, 231, 50, 337, 415, 1, POSITION_CENTERED},
      {160, 224, 75, 352, 305, 1, POSITION_CENTERED}, {162, 51, 21, 301, 284, 160, POSITION_FIXED},
      {161, 51, 21, 301, 284, 160, POSITION_FIXED},   {163, 51, 21, 301, 284, 160, POSITION_FIXED},
      {229, 206, 70, 211, 106, 1, POSITION_FIXED},    {230, 206, 70, 211, 191, 1, POSITION_FIXED},
      {192, 200, 220, 211, 154, 1, POSITION_FIXED},   {190, 200, 220, 211, 154, 1, POSITION_FIXED},
      {194, 200, 220, 211, 171, 1, POSITION_FIXED},   {195, 200, 220, 211, 264, 1, POSITION_FIXED}};
  for (const Geometry& g : table) {
    SCOPED_TRACE(g.id);
    CScreenWindow* w = Window(g.id);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->GetStandardPosX(), g.x);
    EXPECT_EQ(w->GetSizeX(), g.w);
    EXPECT_EQ(w->GetSizeY(), g.h);
    EXPECT_EQ(w->GetPositionType(), g.position);
    EXPECT_EQ(w->GetTopWindow(), Window(g.parent));
    EXPECT_FALSE(host.IsWindowOpen(g.id));
  }
  EXPECT_EQ(Window(192)->GetItems()->GetCount(), 0);
  EXPECT_EQ(Window(193)->GetItems()->GetCount(), 0);
}

TEST_F(GameMenuWindows, ButtonsCarryTheValuesTheyPromise) {
  // The menu's buttons open its pages; the load page chooses the game
  // modes free, master and scenarios; the settings set the screen width
  // and the language.
  EXPECT_EQ(Values(160, 70), (std::vector<int>{162, 161, 163}));
  EXPECT_EQ(Values(160, 148), (std::vector<int>{79}));
  EXPECT_EQ(Values(161, 83), (std::vector<int>{1, 0, 2}));
  EXPECT_EQ(Values(161, 89), (std::vector<int>{1, 0, 2}));
  EXPECT_EQ(Values(161, 148), (std::vector<int>{82}));
  EXPECT_EQ(Values(162, 71).size(), 1u);
  EXPECT_EQ(Values(161, 72).size(), 1u);
  EXPECT_EQ(Values(161, 146).size(), 1u);
  EXPECT_EQ(Values(163, 76), (std::vector<int>{1024, 640, 800}));
  EXPECT_EQ(Values(163, 154), (std::vector<int>{0, 1}));
  // Every start-up window leads on to the game menu's load page or the
  // second welcome, or closes itself.
  EXPECT_EQ(Values(237, 70), (std::vector<int>{161}));
  EXPECT_EQ(Values(245, 70), (std::vector<int>{161}));
  EXPECT_EQ(Values(246, 2), (std::vector<int>{245}));
  for (int id : {249, 333, 334}) EXPECT_EQ(Values(id, 6), (std::vector<int>{id})) << id;

  // The control buttons set 0, 1 and 2, the direction areas 1 and 2.
  for (int id : {229, 230}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(Values(id, 21), (std::vector<int>{1, 2, 0, 1, 2}));
    EXPECT_EQ(Variables(id).count("KR.AMPEL.RICHTUNG"), 1u);
    EXPECT_EQ(Variables(id).count("KR.AMPEL.COST"), 1u);
  }
  EXPECT_EQ(Values(229, 131), (std::vector<int>{230}));
  EXPECT_EQ(Values(230, 2), (std::vector<int>{229}));
  EXPECT_EQ(Variables(230).count("KR.AMPEL.QUOTE"), 1u);
  EXPECT_EQ(Variables(230).count("KR.AMPEL.TIME"), 1u);
  EXPECT_EQ(Variables(230).count("KR.AMPEL.OPNV"), 1u);
  EXPECT_EQ(Variables(229).count("KR.AMPEL.TIME"), 0u);

  // The speed buttons, left to right: 4, 1, 2 and, with the bus lane, 3.
  for (int id : {190, 191}) EXPECT_EQ(Values(id, 21), (std::vector<int>{4, 1, 2})) << id;
  for (int id : {194, 195}) EXPECT_EQ(Values(id, 21), (std::vector<int>{4, 1, 2, 3})) << id;
  const std::vector<std::pair<int, int>> partners = {{190, 191}, {191, 190}, {194, 195}, {195, 194}};
  for (const auto& [id, partner] : partners) {
    EXPECT_EQ(Values(id, 2), (std::vector<int>{partner})) << id;
    EXPECT_EQ(Variables(id).count("ST.BUSSPUR"), id >= 194 ? 1u : 0u) << id;
    EXPECT_EQ(Variables(id).count("ST.FLOW.2"), 1u) << id;
  }
}

}  // namespace
