// The exhibition's windows built on the generated game data: the visitor's
// way through both chains, walked by their buttons in both languages, draws
// every page and button with no picture missing; the opening pages stand in
// the middle of the screen, the headway pages half off its left edge, the
// short notes have no button, and only the two street windows exist.
#include <set>

#include "windows_scene.h"

namespace {

struct ExhibitionWindows : wintest::Scene {
  void Build() {
    ReloadGameData();
    UseNamedVars();
    CZorvaWindows windows(builder);
    windows.WindowAdd();
    windows.WindowAddExpo();
    ASSERT_NE(Root(), nullptr);
  }
  bool Open(int id) { return host.IsWindowOpen(id); }
};

// A button pressed on a page, and the page it leads to (0: none opens).
struct Step {
  int window, x, y, next;
};

TEST_F(ExhibitionWindows, BothChainsWalkedByTheirButtonsDrawWithNoPictureMissing) {
  // The German chain: the bus task, then again to the street task; the
  // English chain likewise. God mode opens the notes, the line window and
  // the ratings; they are opened by hand after the walk.
  const Step german[] = {{300, 355, 152, 302}, {302, 446, 210, 303}, {303, 60, 183, 304}, {304, 305, 170, 305},
                         {326, 20, 30, 0},     {308, 40, 105, 309},  {309, 305, 165, 0}};
  const Step germanStreet[] = {{300, 355, 152, 302}, {302, 446, 210, 303}, {303, 60, 201, 316},
                               {316, 260, 160, 318}, {318, 155, 90, 317},  {325, 20, 60, 0}};
  const Step english[] = {{400, 340, 143, 401}, {401, 200, 207, 402}, {402, 110, 203, 404}, {404, 150, 170, 305},
                          {326, 20, 70, 0},     {408, 50, 123, 403},  {403, 175, 183, 0}};
  const Step englishStreet[] = {{400, 340, 143, 401}, {401, 200, 207, 402}, {402, 70, 221, 413},
                                {413, 145, 170, 415}, {415, 145, 105, 317}, {325, 20, 25, 0}};
  const int byGodMode[] = {306, 307, 407, 311, 312, 313, 314, 315, 420, 421, 422, 423, 319,
                           321, 322, 323, 324, 327, 328, 330, 332, 310, 411};
  for (int language : {0, 1}) {
    SCOPED_TRACE(language == 0 ? "German" : "English");
    host.language = language;
    Build();
    resources.TrackRequests(true);
    std::set<int> named;
    auto walk = [&](const Step* first, const Step* last, int start) {
      Root()->ActivateWindow(start, OVER_SINGLE);
      for (const Step* s = first; s != last; ++s) {
        SCOPED_TRACE(s->window);
        ASSERT_TRUE(Open(s->window));
        NamePictures(s->window, language, named);
        RenderOpen();
        PressIn(s->window, s->x, s->y);
        if (s->next != 0) {
          EXPECT_TRUE(Open(s->next));
        }
        EXPECT_FALSE(Open(s->window)) << "each page closes on its way";
      }
    };
    walk(std::begin(german), std::begin(german) + 5, 300);
    Root()->ActivateWindow(308, OVER_SINGLE);
    walk(std::begin(german) + 5, std::end(german), 308);
    walk(std::begin(germanStreet), std::end(germanStreet), 300);
    walk(std::begin(english), std::begin(english) + 5, 400);
    walk(std::begin(english) + 5, std::end(english), 408);
    walk(std::begin(englishStreet), std::end(englishStreet), 400);
    for (int id : byGodMode) {
      Root()->ActivateWindow(id, OVER_SINGLE);
      NamePictures(id, language, named);
    }
    for (int look = 2; look >= 0; --look) {
      for (int id : byGodMode) ForEachItemDeep(id, [&](CItem* i) { i->SetState(look); });
      RenderOpen();
    }
    EXPECT_GE(named.size(), 40u);
    ExpectNamedPicturesDrawn(named, language, "the exhibition's windows");
  }
}

TEST_F(ExhibitionWindows, PagesStandWhereTheVisitorSeesThem) {
  Build();
  for (int id : {300, 302, 303, 304, 305, 400, 401, 402, 404}) {
    SCOPED_TRACE(id);
    CScreenWindow* w = Window(id);
    w->Reposition(800, 600);
    EXPECT_EQ(w->GetRealPosX(), 400 - w->GetSizeX() / 2) << "centred whatever its x";
    EXPECT_EQ(w->GetRealPosY(), 300 - w->GetSizeY() / 2);
  }
  // The pages are the exhibition's cards: their lilac corner shows.
  for (int id : {300, 400, 313, 421}) {
    SCOPED_TRACE(id);
    host.renderList.clear();
    Root()->ActivateWindow(id, OVER_SINGLE);
    RenderOpen();
    CScreenWindow* w = Window(id);
    EXPECT_EQ(Pixel(w->GetRealPosX() + w->GetSizeX() - 3, w->GetRealPosY() + 2), 0xCBFD) << std::hex
        << Pixel(w->GetRealPosX() + w->GetSizeX() - 3, w->GetRealPosY() + 2);
  }
  for (int id : {308, 408}) {
    Window(id)->Reposition(800, 600);
    EXPECT_EQ(Window(id)->GetRealPosX(), -14);
  }
  // The short notes are closed by the exhibition or the menu beside them.
  for (int id : {305, 306, 317, 319, 327, 328}) {
    SCOPED_TRACE(id);
    int withActions = 0;
    wintest::ForEachItem(Window(id),
                         [&](CItem* i) { withActions += i->GetActions() && i->GetActions()->GetCount() > 0; });
    EXPECT_EQ(withActions, 0);
  }
  // The street's windows start closed; the exhibition binds no third one.
  EXPECT_FALSE(Open(325));
  EXPECT_FALSE(Open(330));
  EXPECT_FALSE(Open(332));
  EXPECT_EQ(Window(329), nullptr);
  EXPECT_EQ(Window(331), nullptr);
}

}  // namespace
