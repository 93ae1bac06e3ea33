// The administration and the windows around it built on the generated game
// data: every picture they name exists in both languages, the windows stand
// where the game opens them, the tabs turn the pages with only the finances
// tab looking pressed, every item of a research row is bound to its area,
// and the help buttons name their entries.
#include <set>
#include <string>
#include <vector>

#include "framework/qno_font.h"
#include "gui/dialog.h"
#include "gui/item_text.h"
#include "model/finanzen.h"
#include "model/zor_var.h"
#include "windows/window_add_verwaltung.h"
#include "windows_scene.h"

using wintest::ForEachAction;
using wintest::ForEachItem;

namespace {

using namespace zorwin;

const std::vector<int> kPages = {kSubsidies, kTaxes, kRegulations, kResearch, kFinances};

struct AdministrationWindows : wintest::Scene {
  void SetUp() override {
    Scene::SetUp();
    UseNamedVars();
    CZorvaWindows(builder).WindowAdd();
    ASSERT_NE(Root(), nullptr);
  }
};

TEST_F(AdministrationWindows, EveryWindowDrawsEveryLookWithNoPictureMissingInEitherLanguage) {
  const int windows[] = {kTurnBuilding, kParkRideStation, kAdministration, kSubsidies, kTaxes, kRegulations,
                         kResearch,     kFinances,        kStopLineEdit,   kParkRideInfo, kBuildingInfo};
  for (int language : {0, 1}) {
    SCOPED_TRACE(language == 0 ? "German" : "English");
    host.language = language;
    ReloadGameData();
    CZorvaWindows(builder).WindowAdd();
    resources.TrackRequests(true);
    std::set<int> named;
    for (int id : windows) {
      Root()->ActivateWindow(id, OVER_SINGLE);
      NamePictures(id, language, named);
    }
    // The research bars have twelve looks, the state pictures four.
    for (int look = 11; look >= -1; --look) {
      for (int id : windows) ForEachItemDeep(id, [&](CItem* i) { i->SetState(look); });
      RenderOpen();
    }
    ExpectNamedPicturesDrawn(named, language, "the administration's windows");
  }
}

TEST_F(AdministrationWindows, WindowsStandWhereTheGameOpensThemAndStartClosed) {
  const struct {
    int id, x, y, w, h, parent;
  } table[] = {{228, 200, 150, 99, 69, 1},   {215, 197, 200, 264, 234, 1}, {242, 197, 200, 264, 234, 1},
               {213, 200, 220, 515, 200, 1}, {110, 206, 30, 388, 409, 1},  {112, 51, 21, 337, 388, 110},
               {113, 51, 21, 337, 388, 110}, {114, 51, 21, 337, 388, 110}, {115, 51, 21, 337, 388, 110},
               {116, 51, 21, 337, 388, 110}, {227, 150, 150, 139, 69, 1},  {224, 51, 21, 239, 117, 110},
               {221, 51, 21, 239, 207, 110}};
  for (const auto& g : table) {
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
}

TEST_F(AdministrationWindows, TabsTurnThePagesAndOnlyTheFinancesTabLooksPressed) {
  // The tabs from the top: finances, research, regulations, taxes, subsidies.
  const int order[] = {kFinances, kResearch, kRegulations, kTaxes, kSubsidies};
  Root()->ActivateWindow(kAdministration, OVER_GROUP);
  std::vector<CItem*> tabs;
  ForEachItem(Window(kAdministration), [&](CItem* i) {
    if (i->GetXPos() == 10) tabs.insert(tabs.begin(), i);
  });
  ASSERT_EQ(tabs.size(), 5u);
  for (int n = 0; n < 5; ++n) {
    SCOPED_TRACE(order[n]);
    PressIn(kAdministration, 20, 45 + 43 * n + 10);
    for (int page : kPages) EXPECT_EQ(host.IsWindowOpen(page), page == order[n]) << page;
    // The look that holds while a window is open belongs to the finances tab.
    int pressedLooks = 0;
    for (CItem* tab : tabs) ForEachAction(tab, [&](CAction* a) { pressedLooks += a->m_kind == 87; });
    EXPECT_EQ(pressedLooks, 1);
  }
  bool financesLook = false;
  ForEachAction(tabs[0], [&](CAction* a) { financesLook |= a->m_kind == 87 && a->m_p1 == kFinances; });
  EXPECT_TRUE(financesLook);
  PressIn(kAdministration, 360, 8);
  EXPECT_FALSE(host.IsWindowOpen(kAdministration));
}

TEST_F(AdministrationWindows, EveryItemOfAResearchRowIsBoundToItsArea) {
  // The five rows from the top, 71 pixels apart.
  const char* areas[] = {"SV.RES.EMISSION.", "SV.RES.REDUCTION.", "SV.RES.ENERGIE.", "SV.RES.H2.",
                         "SV.RES.TELEWORKING."};
  int bound[5] = {}, switches[5] = {};
  ForEachItem(Window(kResearch), [&](CItem* i) {
    if (!i->GetVars() || i->GetVars()->GetCount() == 0) return;
    const int row = (i->GetYPos() - 40) / 71;
    ASSERT_GE(row, 0);
    ASSERT_LT(row, 5);
    i->GetVars()->ForEach([&](CWindowVar* v) {
      EXPECT_EQ(std::string(v->GetName()).rfind(areas[row], 0), 0u) << v->GetName() << " at y " << i->GetYPos();
    });
    ++bound[row];
    ForEachAction(i, [&](CAction* a) { switches[row] += a->m_kind == 48; });
  });
  // A state picture, three costs, three bars and three switches per row.
  for (int row = 0; row < 5; ++row) {
    EXPECT_EQ(bound[row], 10) << areas[row];
    EXPECT_EQ(switches[row], 3) << areas[row];
  }
}

TEST_F(AdministrationWindows, HelpButtonsOpenTheTextHelpWithTheirEntries) {
  const struct {
    int page;
    std::vector<int> entries;
  } pages[] = {{kSubsidies, {47, 48, 49}},
               {kRegulations, {50, 51, 52}},
               {kResearch, {42, 43, 45, 44, 46}},
               {kFinances, {39, 40, 35, 36, 37, 33, 32, 38}}};
  for (const auto& p : pages) {
    std::vector<int> entries;
    ForEachItem(Window(p.page), [&](CItem* i) {
      ForEachAction(i, [&](CAction* a) {
        if (a->m_kind == 132) entries.insert(entries.begin(), a->m_p1);
      });
    });
    EXPECT_EQ(entries, p.entries) << p.page;
  }
}

// The figure between the repay and take-out buttons of the finances page
// is the amount those buttons move, written as the page's other amounts
// are in each language, and it fits its field.
TEST_F(AdministrationWindows, TheCreditAmountReadsAsAnAmountOfEachLanguage) {
  CItemText* field = nullptr;
  ForEachItem(Window(kFinances), [&](CItem* i) {
    if (i->GetXPos() == 162 && i->GetYPos() == 359) field = dynamic_cast<CItemText*>(i);
  });
  ASSERT_NE(field, nullptr);
  const struct {
    const char* text;
    char separator;
  } shown[] = {{field->GetText(), '.'}, {*field->GetEnglishText() ? field->GetEnglishText() : field->GetText(), ','}};
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(&resources, 823);
  ASSERT_NE(font, nullptr);
  for (const auto& s : shown) {
    SCOPED_TRACE(s.text);
    std::string digits;
    for (const char* c = s.text; *c; ++c) {
      if (*c == s.separator) continue;
      EXPECT_TRUE(*c >= '0' && *c <= '9') << "'" << *c << "'";
      digits += *c;
    }
    EXPECT_EQ(std::stod(digits), CFinanzen::kCreditStep);
    EXPECT_LE(display.GetRenderBuffer()->GetTextLength(font, s.text), field->GetXSize());
  }
  EXPECT_STREQ(shown[0].text, "10.000.000");
  EXPECT_STREQ(shown[1].text, "10,000,000");
}

// Each tax rate, at every value it takes, stands between its editor's two
// arrows and clear of them (their pictures reach a little beyond their
// items), the energy tax's two decimals included. The dialogs are listed
// newest first.
TEST_F(AdministrationWindows, EveryTaxRateStandsBetweenItsArrows) {
  constexpr int kClear = 4;
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(&resources, 823);
  ASSERT_NE(font, nullptr);
  const std::vector<std::vector<const char*>> widest = {
      {"0.49", "0.99", "0.94", "1"}, {"60", "55"}, {"200", "100"}, {"22", "14"}, {"30", "20"}};
  int n = 0;
  Window(kTaxes)->GetDialogs()->ForEach([&](CDialog* d) {
    if (n >= static_cast<int>(widest.size())) return;
    int minusRight = -1, plusLeft = -1;
    CItemText* text = nullptr;
    d->GetItems()->ForEach([&](CItem* i) {
      if (i->GetResource(0) == 25864) minusRight = i->GetXPos() + i->GetXSize();
      if (i->GetResource(0) == 25865) plusLeft = i->GetXPos();
      if (auto* t = dynamic_cast<CItemText*>(i)) text = t;
    });
    ASSERT_NE(text, nullptr);
    for (const char* value : widest[static_cast<size_t>(n)]) {
      const int width = display.GetRenderBuffer()->GetTextLength(font, value);
      const int left = text->GetXPos() + (text->GetXSize() - width) / 2;
      EXPECT_GE(left, minusRight + kClear) << d->GetID() << " " << value;
      EXPECT_LE(left + width, plusLeft - kClear) << d->GetID() << " " << value;
    }
    ++n;
  });
  EXPECT_EQ(n, 5);
}

}  // namespace
