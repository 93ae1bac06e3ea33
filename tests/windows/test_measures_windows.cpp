// The measures group built on the generated game data: every picture of the
// group, its six pages and four companion pages exists in both languages,
// four pages name their companions, the page buttons turn the pages and ask
// which page shows, and every editor and campaign switch holds the variable
// its buttons change.
#include <set>
#include <string>
#include <vector>

#include "gui/dialog.h"
#include "model/zor_var.h"
#include "windows/window_add_massnahmen.h"
#include "windows_scene.h"

using wintest::ForEachAction;
using wintest::ForEachItem;

namespace {

using namespace zorwin;

const std::vector<int> kPages = {kMeasureAssistant,      kMeasureAdvice,     kMeasurePassiveGuidance,
                                 kMeasureActiveGuidance, kMeasureCarsharing, kMeasureCampaigns};
const std::vector<int> kCompanions = {kMeasureAdviceHint, kMeasureCarsharingHint, kMeasureActiveGuidanceHint,
                                      kMeasureAssistantHint};

struct MeasuresWindows : wintest::Scene {
  void SetUp() override {
    Scene::SetUp();
    UseNamedVars();
    Build();
  }
  void Build() {
    CZorvaWindows windows(builder);
    windows.WindowAdd();
    windows.WindowAddAk();
    ASSERT_NE(Root(), nullptr);
  }
  // The dialogs of a window, oldest first.
  std::vector<CDialog*> Dialogs(int window) {
    std::vector<CDialog*> out;
    if (CDialogList* list = Window(window)->GetDialogs())
      list->ForEach([&](CDialog* d) { out.insert(out.begin(), d); });
    return out;
  }
  // The variables the items of a dialog show, in their order.
  static std::vector<std::string> ItemVars(CDialog* d) {
    std::vector<std::string> out;
    if (d->GetItems())
      d->GetItems()->ForEach([&](CItem* i) {
        if (i->GetVar()) out.insert(out.begin(), i->GetVar()->GetName());
      });
    return out;
  }
};

TEST_F(MeasuresWindows, EveryPageAndCompanionDrawsEveryLookWithNoPictureMissingInEitherLanguage) {
  for (int language : {0, 1}) {
    SCOPED_TRACE(language == 0 ? "German" : "English");
    host.language = language;
    ReloadGameData();
    Build();
    resources.TrackRequests(true);
    std::set<int> named;
    std::vector<int> windows = {kMeasuresGroup};
    windows.insert(windows.end(), kPages.begin(), kPages.end());
    windows.insert(windows.end(), kCompanions.begin(), kCompanions.end());
    for (int id : windows) {
      Root()->ActivateWindow(id, OVER_SINGLE);
      NamePictures(id, language, named);
    }
    // The campaign bars have nine looks, the buttons three.
    for (int look = 8; look >= -1; --look) {
      for (int id : windows) ForEachItemDeep(id, [&](CItem* i) { i->SetState(look); });
      RenderOpen();
    }
    ExpectNamedPicturesDrawn(named, language, "the measures windows");
    // The group's own pictures and the ten page backgrounds of the language.
    EXPECT_GE(named.size(), 24u);
  }
}

TEST_F(MeasuresWindows, FourPagesNameTheirCompanionsAndAllStartClosedOnTheGroup) {
  const struct {
    int id, link;
  } table[] = {{92, 0}, {85, 0}, {84, 85}, {88, 0}, {87, 88}, {89, 0}, {91, 0}, {90, 91}, {82, 0}, {81, 82}};
  for (const auto& t : table) {
    SCOPED_TRACE(t.id);
    ASSERT_NE(Window(t.id), nullptr);
    EXPECT_EQ(Window(t.id)->GetLink(), t.link);
    EXPECT_EQ(Window(t.id)->GetTopWindow(), Window(kMeasuresGroup));
    EXPECT_FALSE(host.IsWindowOpen(t.id));
  }
}

TEST_F(MeasuresWindows, PageButtonsTurnThePagesAskWhichPageShowsAndFourLookPressed) {
  Root()->ActivateWindow(kMeasuresGroup, OVER_GROUP);
  for (size_t n = 0; n < kPages.size(); ++n) {
    SCOPED_TRACE(kPages[n]);
    PressIn(kMeasuresGroup, 20, 45 + 43 * static_cast<int>(n) + 10);
    for (int page : kPages) EXPECT_EQ(host.IsWindowOpen(page), page == kPages[n]) << page;
    // Each page opened asks once which page shows.
    EXPECT_EQ(host.measureHintsAsked, static_cast<int>(n) + 1);
  }
  std::set<int> pressedLooks;
  ForEachItem(Window(kMeasuresGroup), [&](CItem* i) {
    ForEachAction(i, [&](CAction* a) {
      if (a->m_kind == 87) pressedLooks.insert(a->m_p1);
    });
  });
  EXPECT_EQ(pressedLooks, (std::set<int>{kMeasureAssistant, kMeasureAdvice, kMeasureActiveGuidance,
                                         kMeasureCarsharing}));
  PressIn(kMeasuresGroup, 360, 8);
  EXPECT_FALSE(host.IsWindowOpen(kMeasuresGroup));
}

TEST_F(MeasuresWindows, EveryEditorAndCampaignSwitchHoldsTheVariableItsButtonsChange) {
  // The number editors, oldest dialog first: the dialog's variable is the
  // one its buttons step, the value text shows the same.
  const struct {
    int window;
    std::vector<std::string> edited;
  } editors[] = {{kMeasureAssistant, {"PTA.PRICE.MONTH", "PTA.PRICE.ABFRAGE", "PTA.HANDY.SUB"}},
                 {kMeasureAdvice, {"MZ.PRICE.BERATUNG"}},
                 {kMeasurePassiveGuidance, {"PAR.PRICE.NEWCD", "PAR.SYSTEM.SUB"}},
                 {kMeasureActiveGuidance, {"AR.PRICE.MONTH", "AR.SYSTEM.SUB"}},
                 {kMeasureCarsharing, {"CS.PRICE.KM", "CS.PRICE.MONTH", "CS.PRICE.MONTH"}}};
  for (const auto& e : editors) {
    SCOPED_TRACE(e.window);
    const std::vector<CDialog*> dialogs = Dialogs(e.window);
    ASSERT_EQ(dialogs.size(), e.edited.size());
    for (size_t k = 0; k < dialogs.size(); ++k) {
      EXPECT_EQ(VarNames(dialogs[k]->GetVars()), std::vector<std::string>{e.edited[k]});
      const std::vector<std::string> shown = ItemVars(dialogs[k]);
      // The outlets' list shows its rows, not the price; the page's light
      // sheet lies under the whole width of its rows (281 from x 1).
      if (dialogs[k]->GetType() != 8) {
        EXPECT_EQ(shown, std::vector<std::string>{e.edited[k]});
      } else {
        Root()->ActivateWindow(e.window, OVER_SINGLE);
        RenderOpen();
        const int x = Window(e.window)->GetRealPosX() + dialogs[k]->GetPosX(), y = Window(e.window)->GetRealPosY() + 260;
        EXPECT_EQ(Pixel(x + 281, y), Pixel(x + 100, y));
      }
    }
  }
  // Page 89's two editors both carry id 1, each with its own variable.
  const std::vector<CDialog*> passive = Dialogs(kMeasurePassiveGuidance);
  EXPECT_EQ(passive[0]->GetID(), 1);
  EXPECT_EQ(passive[1]->GetID(), 1);

  // The campaign page's dialogs 1 to 5 belong to the advice centre, the
  // travel assistant, car sharing, active and passive route guidance, the
  // order in which the world binds them; each switch's bar reads its
  // progress.
  const std::vector<CDialog*> campaigns = Dialogs(kMeasureCampaigns);
  ASSERT_EQ(campaigns.size(), 5u);
  const char* prefixes[] = {"MZ.AD", "PTA.ADVERTISMENT.", "CS.ADVERTISMENT.", "AR.ADVERTISMENT.",
                            "PAR.ADVERTISMENT."};
  for (int d = 0; d < 5; ++d) {
    SCOPED_TRACE(prefixes[d]);
    EXPECT_EQ(campaigns[d]->GetID(), d + 1);
    const std::string p = prefixes[d];
    EXPECT_EQ(ItemVars(campaigns[d]),
              (std::vector<std::string>{p + "PRINT", p + "RADIO", p + "TELEVISION", p + "PRINT.PERCENTREADY",
                                        p + "RADIO.PERCENTREADY", p + "TELEVISION.PERCENTREADY"}));
  }
}

}  // namespace
