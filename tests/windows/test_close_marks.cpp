// Every window built on the generated game data, drawn as the game draws it:
// each button that closes its own window shows the red close mark with its
// white cross where the button lies, no window shows a close mark where
// nothing closes it, a caption that both languages share carries no
// word, and no item stands on the words its window's background letters.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "gui/dialog.h"
#include "windows_scene.h"

using wintest::ForEachAction;
using wintest::ForEachItem;

namespace {

struct Rect {
  int x, y, w, h;
  bool Holds(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

// The strip across the top of a window where its caption and close button
// lie.
constexpr int kCaptionHeight = 21;

// A button that closes its own window, in screen coordinates; in the
// caption when it starts within the caption strip and is no larger than a
// caption's close button (buttons further down carry their own faces).
struct CloseButton {
  Rect rect;
  bool inCaption;
};

// An action that closes the window `id` itself.
bool ClosesWindow(const CAction* a, int id) {
  switch (a->m_kind) {
    case 6:
    case 46:
    case 47:
      return a->m_p1 == id;
    case 10:
      return a->m_p1 == id || a->m_p1 == -1;
    default:
      return false;
  }
}

struct Rgb8 {
  int r, g, b;
};

struct CloseMarks : wintest::Scene {
  void SetUp() override {
    Scene::SetUp();
    UseNamedVars();
    host.pictures = &resources;
    CZorvaWindows windows(builder);
    windows.AddAll();
    ASSERT_NE(Root(), nullptr);
  }

  // Every item of window w and of its dialogs at any depth, with the
  // screen position its coordinates count from.
  static void ForEachItemAt(CScreenWindow* w, const std::function<void(CItem*, int, int)>& f) {
    ForEachItem(w, [&](CItem* i) { f(i, w->GetRealPosX(), w->GetRealPosY()); });
    std::function<void(CDialogList*, int, int)> dialogs = [&](CDialogList* list, int ox, int oy) {
      if (!list) return;
      list->ForEach([&](CDialog* d) {
        const int dx = ox + d->GetPosX(), dy = oy + d->GetPosY();
        if (d->GetItems()) d->GetItems()->ForEach([&](CItem* i) { f(i, dx, dy); });
        dialogs(d->GetDialogs(), dx, dy);
      });
    };
    dialogs(w->GetDialogs(), w->GetRealPosX(), w->GetRealPosY());
  }

  static std::vector<CloseButton> CloseButtons(CScreenWindow* w) {
    std::vector<CloseButton> out;
    ForEachItemAt(w, [&](CItem* item, int ox, int oy) {
      bool closes = false;
      ForEachAction(item, [&](CAction* a) { closes = closes || ClosesWindow(a, w->GetID()); });
      if (!closes) return;
      const Rect r{ox + item->GetXPos(), oy + item->GetYPos(), item->GetXSize(), item->GetYSize()};
      const bool inCaption = r.y - w->GetRealPosY() < kCaptionHeight && r.w <= 40 && r.h <= 24;
      out.push_back({r, inCaption});
    });
    return out;
  }

  Rgb8 Colour(int x, int y) const {
    const uint16_t p = Pixel(x, y);
    return {(p >> 11) << 3, ((p >> 5) & 63) << 2, (p & 31) << 3};
  }
  bool Red(int x, int y) const {
    const Rgb8 c = Colour(x, y);
    return c.r >= 140 && c.g <= 110 && c.b <= 110 && c.r >= 2 * std::max(c.g, c.b);
  }
  bool White(int x, int y) const {
    const Rgb8 c = Colour(x, y);
    return std::min({c.r, c.g, c.b}) >= 230;
  }

  // The close marks drawn within r (clipped to the screen): each a patch of
  // red at least 5 pixels square with white inside its bounds, the cross.
  std::vector<Rect> MarksIn(Rect r) {
    const int x0 = std::max(0, r.x), y0 = std::max(0, r.y);
    const int x1 = std::min(surface->w, r.x + r.w), y1 = std::min(surface->h, r.y + r.h);
    std::vector<Rect> marks;
    if (x1 <= x0 || y1 <= y0) return marks;
    const int W = x1 - x0, H = y1 - y0;
    std::vector<char> seen(static_cast<size_t>(W) * H, 0);
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        if (seen[(y - y0) * W + (x - x0)] || !Red(x, y)) continue;
        int lx = x, ly = y, hx = x, hy = y;
        std::vector<std::pair<int, int>> stack{{x, y}};
        seen[(y - y0) * W + (x - x0)] = 1;
        while (!stack.empty()) {
          const auto [cx, cy] = stack.back();
          stack.pop_back();
          lx = std::min(lx, cx), hx = std::max(hx, cx), ly = std::min(ly, cy), hy = std::max(hy, cy);
          for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
              const int nx = cx + dx, ny = cy + dy;
              if (nx < x0 || ny < y0 || nx >= x1 || ny >= y1) continue;
              char& s = seen[(ny - y0) * W + (nx - x0)];
              if (s || !Red(nx, ny)) continue;
              s = 1;
              stack.push_back({nx, ny});
            }
        }
        if (hx - lx + 1 < 5 || hy - ly + 1 < 5) continue;
        int whites = 0;
        for (int yy = ly + 1; yy < hy; ++yy)
          for (int xx = lx + 1; xx < hx; ++xx) whites += White(xx, yy) ? 1 : 0;
        if (whites >= 4) marks.push_back({lx, ly, hx - lx + 1, hy - ly + 1});
      }
    return marks;
  }

  // The pictures the help buttons put up in help window 215 (none of the
  // game's buttons does today; the window stays empty and closed).
  std::vector<int> HelpPictures() {
    std::set<int> pictures;
    wintest::ForEachWindow(Root(), [&](CScreenWindow* w) {
      ForEachItemAt(w, [&](CItem* i, int, int) {
        ForEachAction(i, [&](CAction* a) {
          if (a->m_kind == 49 && a->m_p1 == 215 && a->m_p2 > 0) pictures.insert(a->m_p2);
        });
      });
    });
    return {pictures.begin(), pictures.end()};
  }

  // Window w alone on a cleared screen.
  void DrawAlone(CScreenWindow* w) {
    SDL_FillRect(surface, nullptr, 0);
    w->Render(&display, &resources, -1, -1);
  }
};

// The backgrounds the game puts up in windows that are built with none:
// the street and crossing windows take the picture for the selected form.
struct Background {
  int window, picture, english;
};
const Background kBackgrounds[] = {{190, 33782, 50535}, {190, 33784, 50533}, {191, 33783, 50534},
                                   {191, 33785, 50532}, {229, 33828, 50767}, {229, 29683, 50760},
                                   {230, 33829, 50768}, {230, 29684, 50761}};

// Windows shown only with a picture or a layout given at run time: the
// street and crossing windows, the help window (with the picture of the
// help asked for) and the dynamic help (laid out for its text).
bool ShownOnlyWhenGiven(int id) {
  return id == 215 || id == 242 || std::any_of(std::begin(kBackgrounds), std::end(kBackgrounds),
                                                [id](const Background& b) { return b.window == id; });
}

// Draws every window of the game in both languages as the player can see
// it, the ones given a background or a layout at run time in each of them,
// and hands each drawing to `check` with a description of what was drawn.
void ForEachDrawing(CloseMarks& t, const std::function<void(CScreenWindow*, const std::string&)>& check) {
  for (int language : {0, 1}) {
    t.host.language = language;
    const std::string in = language ? " (English)" : " (German)";
    auto draw = [&](CScreenWindow* w, const std::string& how) {
      t.DrawAlone(w);
      char what[64];
      std::snprintf(what, sizeof what, "window %d", w->GetID());
      check(w, what + how + in);
    };
    wintest::ForEachWindow(t.Root(), [&](CScreenWindow* w) {
      if (!ShownOnlyWhenGiven(w->GetID())) draw(w, "");
    });
    for (const Background& b : kBackgrounds) {
      t.Window(b.window)->SetReplaceBitmap(b.picture, b.english);
      draw(t.Window(b.window), " on picture " + std::to_string(language ? b.english : b.picture));
    }
    for (int picture : t.HelpPictures()) {
      t.Window(215)->SetReplaceBitmap(picture, -1);
      draw(t.Window(215), " on picture " + std::to_string(picture));
    }
    for (int width : {150, 151, 300, 420}) {
      t.Window(242)->SetDynamicHilfe(width, 60, "Titel", "Text");
      draw(t.Window(242), " laid out " + std::to_string(width) + " wide");
    }
  }
}

// Close buttons that no picture of ours can show: the park-and-ride
// station (213) draws no picture under its caption, and panel 240 draws the
// picture it shares with panel 239 centred in a shorter item, so that
// picture's close mark lands 18 rows above 240's button.
bool NoPictureCanShow(int id) { return id == 213 || id == 240; }

std::string At(const Rect& r) {
  char buf[64];
  std::snprintf(buf, sizeof buf, " at (%d,%d) %dx%d", r.x, r.y, r.w, r.h);
  return buf;
}

TEST_F(CloseMarks, EveryCloseButtonInACaptionShowsTheMarkWhereItLies) {
  int checked = 0;
  ForEachDrawing(*this, [&](CScreenWindow* w, const std::string& what) {
    for (const CloseButton& b : CloseButtons(w)) {
      if (!b.inCaption || NoPictureCanShow(w->GetID())) continue;
      ++checked;
      const auto marks = MarksIn(b.rect);
      const bool seen = std::any_of(marks.begin(), marks.end(), [&](const Rect& m) {
        return b.rect.Holds(m.x + m.w / 2, m.y + m.h / 2);
      });
      EXPECT_TRUE(seen) << "no close mark on the close button" << At(b.rect) << " of " << what;
    }
  });
  // Both languages' caption close buttons: the test looked at them all.
  EXPECT_GE(checked, 80);
}

TEST_F(CloseMarks, NoCaptionShowsAMarkWhereNothingCloses) {
  ForEachDrawing(*this, [&](CScreenWindow* w, const std::string& what) {
    const auto buttons = CloseButtons(w);
    for (const Rect& m : MarksIn({w->GetRealPosX(), w->GetRealPosY(), w->GetSizeX(), kCaptionHeight})) {
      const bool works = std::any_of(buttons.begin(), buttons.end(), [&](const CloseButton& b) {
        return b.rect.Holds(m.x + m.w / 2, m.y + m.h / 2);
      });
      EXPECT_TRUE(works) << "a close mark" << At(m) << " that closes nothing in the caption of " << what;
    }
  });
}

// A window whose background has no English version shows the same picture
// in both languages, so its caption may carry no word of either: the
// caption's lettering colour, (232, 236, 246), appears nowhere in its
// title strip, right of the grip and clear of the window's ends. The
// exhibition's pages are not shared: each language has a chain of its own.
constexpr uint16_t kCaptionLettering = ((232 >> 3) << 11) | ((236 >> 2) << 5) | (246 >> 3);
constexpr int kTitleLeft = 24, kTitleTop = 2, kTitleBottom = 19;

int LetteringInTitle(CloseMarks& t, CScreenWindow* w) {
  t.DrawAlone(w);
  const int x0 = w->GetRealPosX(), y0 = w->GetRealPosY();
  int count = 0;
  for (int y = std::max(0, y0 + kTitleTop); y < std::min(t.surface->h, y0 + kTitleBottom); ++y)
    for (int x = std::max(0, x0 + kTitleLeft); x < std::min(t.surface->w, x0 + w->GetSizeX() - kTitleLeft); ++x)
      count += t.Pixel(x, y) == kCaptionLettering ? 1 : 0;
  return count;
}

// The picture item that fills window w from its corner, null when none.
CItem* Background(CScreenWindow* w) {
  CItem* found = nullptr;
  ForEachItem(w, [&](CItem* i) {
    if (i->GetItemType() == 2 && i->GetXPos() == 0 && i->GetYPos() == 0 && i->GetXSize() == w->GetSizeX() &&
        i->GetYSize() == w->GetSizeY() && i->GetResource(0) > 0)
      found = i;
  });
  return found;
}

TEST_F(CloseMarks, ABackgroundBothLanguagesShareLettersNoCaption) {
  std::vector<int> checked;
  wintest::ForEachWindow(Root(), [&](CScreenWindow* w) {
    if (w->GetID() >= 300 && w->GetID() < 500) return;
    CItem* background = Background(w);
    if (!background || background->GetResource(2) > 0) return;
    checked.push_back(w->GetID());
    for (int language : {0, 1}) {
      host.language = language;
      EXPECT_EQ(LetteringInTitle(*this, w), 0) << "window " << w->GetID() << " on picture "
                                               << background->GetResource(0) << (language ? " in English" : " in German");
    }
  });
  host.language = 0;
  // The line window of a stop, the standard message and the game's end
  // among them.
  for (int id : {227, 236, 248}) EXPECT_NE(std::find(checked.begin(), checked.end(), id), checked.end()) << id;
}

// The windows with a picture for each language letter their captions: the
// check above sees lettering where there is some.
TEST_F(CloseMarks, ACaptionWithItsOwnEnglishPictureShowsLettering) {
  for (int id : {218, 221, 224}) {
    ASSERT_NE(Window(id), nullptr) << id;
    for (int language : {0, 1}) {
      host.language = language;
      EXPECT_GT(LetteringInTitle(*this, Window(id)), 20) << "window " << id << (language ? " in English" : " in German");
    }
  }
  host.language = 0;
}

// The words of a background are lettered in light, blue-grey tones (the
// labels' (220, 226, 240), the light texts' (232, 236, 246)) or in the
// headings' yellow (250, 210, 40) on the dark panels; a pixel mostly inside
// a glyph stays close to that colour. The cream of the list sheets is no
// lettering: its blue lies below its red.
bool Lettered(uint16_t p) {
  const int r = (p >> 11) << 3, g = ((p >> 5) & 63) << 2, b = (p & 31) << 3;
  const bool light = std::min({r, g, b}) >= 170 && b >= r;
  const bool yellow = r >= 220 && g >= 180 && g <= 230 && b <= 90;
  return light || yellow;
}
constexpr uint16_t kUntouched = (1 << 11) | (1 << 5) | 1;

// The screen pixels of the background's lettering in window w.
std::vector<std::pair<int, int>> LetteringOf(CloseMarks& t, CScreenWindow* w, CItem* background) {
  SDL_FillRect(t.surface, nullptr, 0);
  background->Render(&t.display, &t.resources, w->GetRealPosX(), w->GetRealPosY());
  std::vector<std::pair<int, int>> lettered;
  for (int y = 0; y < t.surface->h; ++y)
    for (int x = 0; x < t.surface->w; ++x)
      if (Lettered(t.Pixel(x, y))) lettered.emplace_back(x, y);
  return lettered;
}

// The lettered pixels that item i, drawn alone from (ox, oy), paints over.
int PaintedOver(CloseMarks& t, CItem* i, int ox, int oy, const std::vector<std::pair<int, int>>& lettered) {
  SDL_FillRect(t.surface, nullptr, kUntouched);
  i->Render(&t.display, &t.resources, ox, oy);
  int count = 0;
  for (const auto& [x, y] : lettered) count += t.Pixel(x, y) != kUntouched ? 1 : 0;
  return count;
}

// The exhibition's page chains show in one language each: 300 to 399 in
// German, 400 to 499 in English.
bool ShownIn(int id, int language) {
  if (id >= 300 && id < 400) return language == 0;
  if (id >= 400 && id < 500) return language == 1;
  return true;
}

TEST_F(CloseMarks, NoItemStandsOnTheWordsOfItsBackground) {
  int windows = 0;
  for (int language : {0, 1}) {
    host.language = language;
    wintest::ForEachWindow(Root(), [&](CScreenWindow* w) {
      CItem* background = Background(w);
      if (!background || !ShownIn(w->GetID(), language)) return;
      ++windows;
      const std::vector<std::pair<int, int>> lettering = LetteringOf(*this, w, background);
      ForEachItemAt(w, [&](CItem* i, int ox, int oy) {
        if (i == background) return;
        EXPECT_LE(PaintedOver(*this, i, ox, oy, lettering), 2)
            << "item of type " << i->GetItemType() << " at (" << i->GetXPos() << "," << i->GetYPos() << ") picture "
            << i->GetResource(language ? 2 : 0) << " over the words of window " << w->GetID()
            << (language ? " in English" : " in German");
      });
    });
  }
  host.language = 0;
  EXPECT_GE(windows, 100);
}

}  // namespace
