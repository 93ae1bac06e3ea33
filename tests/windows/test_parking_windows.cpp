// The parking windows built on the generated game data: every picture they
// name exists in both languages and every frame of the utilisation bar is
// drawn; the windows stand where the game opens them and start closed; the
// page buttons turn the pages with only their own pressed looks; the fee
// page's two dialogs with id 1 hold their own variables; the bars read the
// use over its maximum.
#include <set>
#include <string>
#include <vector>

#include "gui/dialog.h"
#include "gui/item_bitmap.h"
#include "model/zor_var.h"
#include "windows/window_add_parken.h"
#include "windows_scene.h"

using wintest::ForEachAction;
using wintest::ForEachItem;

namespace {

using namespace zorwin;

struct ParkingWindows : wintest::Scene {
  void SetUp() override {
    Scene::SetUp();
    UseNamedVars();
    Build();
  }
  void Build() {
    CZorvaWindows windows(builder);
    windows.WindowAdd();
    windows.WindowAddParken();
    windows.WindowAddParkhaus();
    ASSERT_NE(Root(), nullptr);
  }
  // The variable names of a list, oldest first.
  static std::vector<std::string> Names(CWindowVarList* vars) {
    std::vector<std::string> out;
    if (vars) vars->ForEach([&](CWindowVar* v) { out.insert(out.begin(), v->GetName()); });
    return out;
  }
  // The page buttons of a group window from the top, with the pages their
  // pressed looks follow.
  std::vector<std::pair<int, std::vector<int>>> PageButtons(int group, int x) {
    std::vector<std::pair<int, std::vector<int>>> out;
    ForEachItem(Window(group), [&](CItem* i) {
      if (i->GetXPos() != x) return;
      std::vector<int> looks;
      ForEachAction(i, [&](CAction* a) {
        if (a->m_kind == 87) looks.push_back(a->m_p1);
      });
      out.emplace_back(i->GetYPos(), looks);
    });
    std::sort(out.begin(), out.end());
    return out;
  }
};

TEST_F(ParkingWindows, BothWindowsDrawEveryLookWithNoPictureMissingInEitherLanguage) {
  const int windows[] = {kParkManagement, kParkBalance, kParkFees, kParkUtilisation,
                         kCarPark,        kCarParkInfo, kCarParkSettings, kCarParkSystems};
  for (int language : {0, 1}) {
    SCOPED_TRACE(language == 0 ? "German" : "English");
    host.language = language;
    ReloadGameData();
    Build();
    resources.TrackRequests(true);
    std::set<int> named;
    for (int id : windows) NamePictures(id, language, named);
    for (int page : {kParkBalance, kParkFees, kParkUtilisation, kCarParkInfo, kCarParkSettings, kCarParkSystems}) {
      const int group = page < kCarPark ? kParkManagement : kCarPark;
      Root()->ActivateWindow(group, OVER_GROUP);
      Root()->ActivateWindow(page, OVER_GROUP);
      // The utilisation bar has 18 frames, the buttons three looks.
      for (int look = 17; look >= -1; --look) {
        for (int id : {group, page}) ForEachItemDeep(id, [&](CItem* i) { i->SetState(look); });
        RenderOpen();
      }
    }
    ExpectNamedPicturesDrawn(named, language, "the parking windows");
    EXPECT_EQ(named.count(28521), 1u);
  }
}

TEST_F(ParkingWindows, WindowsStandWhereTheGameOpensThemAndThePageButtonsTurnThePages) {
  const struct {
    int id, x, y, w, h, parent;
  } table[] = {{214, 411, 0, 388, 320, 1},   {101, 51, 21, 337, 299, 214}, {102, 51, 21, 337, 299, 214},
               {103, 51, 21, 337, 299, 214}, {170, 206, 70, 279, 185, 1},  {171, 34, 19, 243, 166, 170},
               {172, 34, 19, 243, 166, 170}, {173, 34, 19, 243, 166, 170}};
  for (const auto& g : table) ExpectPlacedClosed(g.id, g.x, g.y, g.w, g.h, g.parent);
  // Utilisation, balance and fees from the top; the fees button has no
  // pressed look. In the car-park window: information, settings, systems.
  using Looks = std::vector<std::pair<int, std::vector<int>>>;
  EXPECT_EQ(PageButtons(kParkManagement, 10), (Looks{{45, {103}}, {88, {101}}, {131, {}}}));
  EXPECT_EQ(PageButtons(kCarPark, 6), (Looks{{40, {171}}, {72, {172}}, {104, {}}}));
  const struct {
    int group, x, y, page;
    std::vector<int> siblings;
  } presses[] = {{kParkManagement, 20, 141, kParkFees, {kParkBalance, kParkUtilisation}},
                 {kParkManagement, 20, 98, kParkBalance, {kParkFees, kParkUtilisation}},
                 {kParkManagement, 20, 55, kParkUtilisation, {kParkFees, kParkBalance}},
                 {kCarPark, 12, 110, kCarParkSystems, {kCarParkInfo, kCarParkSettings}},
                 {kCarPark, 12, 78, kCarParkSettings, {kCarParkInfo, kCarParkSystems}},
                 {kCarPark, 12, 46, kCarParkInfo, {kCarParkSettings, kCarParkSystems}}};
  for (const auto& p : presses) {
    SCOPED_TRACE(p.page);
    Root()->ActivateWindow(p.group, OVER_GROUP);
    PressIn(p.group, p.x, p.y);
    EXPECT_TRUE(host.IsWindowOpen(p.page));
    for (int sibling : p.siblings) EXPECT_FALSE(host.IsWindowOpen(sibling)) << sibling;
  }
  PressIn(kParkManagement, 360, 8);
  PressIn(kCarPark, 252, 8);
  for (int id : {214, 101, 102, 103, 170, 171, 172, 173}) EXPECT_FALSE(host.IsWindowOpen(id)) << id;
}

TEST_F(ParkingWindows, EveryDialogHoldsTheVariableItsButtonsChange) {
  // The fee page holds two dialogs with id 1: the car fee's editor and,
  // created after it, the list, which takes the list's scroll rows.
  std::vector<CDialog*> fees;
  Window(kParkFees)->GetDialogs()->ForEach([&](CDialog* d) { fees.insert(fees.begin(), d); });
  ASSERT_EQ(fees.size(), 3u);
  const struct {
    int id, type;
    std::vector<std::string> vars;
    int items;
  } expected[] = {{1, 5, {"PRM.PRICE.CHANGEPKW"}, 3},
                  {2, 5, {"PRM.PRICE.CHANGEMICROCAR"}, 3},
                  {1, 12, {"PRM.PLACELIST"}, 3}};
  for (size_t n = 0; n < fees.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(fees[n]->GetID(), expected[n].id);
    EXPECT_EQ(fees[n]->GetType(), expected[n].type);
    EXPECT_EQ(Names(fees[n]->GetVars()), expected[n].vars);
    int items = 0;
    fees[n]->GetItems()->ForEach([&](CItem*) { ++items; });
    EXPECT_EQ(items, expected[n].items);
  }
  // The list types of the balance and utilisation pages.
  EXPECT_EQ(Window(kParkBalance)->GetDialogs()->GetHead()->GetType(), 14);
  EXPECT_EQ(Window(kParkUtilisation)->GetDialogs()->GetHead()->GetType(), 13);
  // The settings page: price, microcar reduction and the places slider.
  std::vector<std::string> settings;
  Window(kCarParkSettings)->GetDialogs()->ForEach([&](CDialog* d) {
    settings.insert(settings.begin(), std::to_string(d->GetType()) + " " + d->GetFirstVar()->GetName());
  });
  EXPECT_EQ(settings, (std::vector<std::string>{"5 PH.PRICE", "5 PH.PRICE.REDUCTIONMICROCAR",
                                                "4 PH.PLACESQUOTEMICROCAR"}));
  EXPECT_EQ(Window(kCarParkSettings)->GetDialogs()->GetHead()->GetFirstVar()->GetVarType(), VAR_FLOAT);
  // The systems' switches toggle their variable.
  std::vector<std::string> switches;
  ForEachItem(Window(kCarParkSystems), [&](CItem* i) {
    bool toggles = false;
    ForEachAction(i, [&](CAction* a) { toggles |= a->m_kind == 48; });
    if (toggles) switches.insert(switches.begin(), i->GetVar()->GetName());
  });
  EXPECT_EQ(switches, (std::vector<std::string>{"PH.PLS", "PH.PRS"}));
}

TEST_F(ParkingWindows, TheUtilisationBarsShowTheUseOverItsMaximumInSeventeenSteps) {
  std::vector<CItemBitmap*> bars;
  ForEachItem(Window(kCarParkInfo), [&](CItem* i) {
    if (i->GetItemType() == 19) bars.insert(bars.begin(), static_cast<CItemBitmap*>(i));
  });
  ASSERT_EQ(bars.size(), 2u);
  EXPECT_STREQ(bars[0]->GetVar()->GetName(), "PH.AUSLASTUNG.PKW");
  EXPECT_STREQ(bars[1]->GetVar()->GetName(), "PH.AUSLASTUNG.MICROCAR");
  const struct {
    double use, max;
    int frame;
  } cases[] = {{0, 100, 0}, {50, 100, 8}, {99, 100, 16}, {100, 100, 17}, {40, 0, 0}};
  for (CItemBitmap* bar : bars)
    for (const auto& c : cases) {
      bar->GetVars()->GetHead()->SetValue(c.use);
      bar->GetVars()->GetTail()->SetValue(c.max);
      EXPECT_EQ(bar->ButtonFrame(&resources), c.frame) << c.use << " of " << c.max;
    }
}

}  // namespace
