// The parking windows built on the generated game data: every picture they
// name exists in both languages and every frame of the utilisation bar is
// drawn; the fee page's two dialogs with id 1 hold their own variables; the
// bars read the use over its maximum. The page buttons are pressed in the
// parking scenario.
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
    EXPECT_EQ(VarNames(fees[n]->GetVars()), expected[n].vars);
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
