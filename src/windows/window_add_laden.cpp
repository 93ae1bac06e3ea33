// The windows around starting, loading, saving and setting up a game: the
// title after the intro video (249), the welcome (237) and the welcome pair
// (246, 245), the two full-screen pictures (333, 334), and the game menu
// 160 with its save (162), load-and-new-game (161) and settings (163)
// pages. The lists of saved games are filled by the world when a page
// opens; the settings page's variables belong to the sound object, bound
// after the builders have run.
#include "windows/window_rows.h"

namespace {

constexpr int kNone = CWindowRows::kNone;
constexpr int kNameFont = 19671;

constexpr int kGameMenu = 160, kLoadPage = 161, kSavePage = 162, kSettingsPage = 163;
constexpr int kWelcome = 237, kTitle = 249, kFullScreen800 = 333, kFullScreen640 = 334;
constexpr int kWelcomeFirst = 246, kWelcomeSecond = 245;

// Kinds of the actions these windows run.
constexpr int kOpen = 2, kClose = 6, kToggle = 24, kBalloonKind = 33, kCloseGroup = 46, kOpenMenuPage = 70,
              kSave = 71, kLoad = 72, kWindowMode = 76, kNameInput = 78, kListMode = 83, kPressedWhileOpen = 87,
              kPressedWhileWidth = 88, kPressedWhileMode = 89, kPressedWhilePaused = 94, kPause = 105,
              kPauseOff = 107, kMusicMode = 115, kPressedWhileMusic = 116, kScrollTo = 119, kModePicture = 120,
              kStateWhileEquals = 129, kHighlightLock = 135, kTutorial = 138, kHotlineLook = 141,
              kHotlineStore = 142, kDelete = 146, kAsk = 148, kPressedWhileLanguage = 153, kLanguage = 154;
constexpr int kStepUp = 16, kStepDown = 17, kKnobFollows = 19, kGrab = 8, kRelease = 9;

// Warning texts the yes/no questions ask, with the kind a yes runs.
constexpr int kAskQuit = 79, kQuitSaving = 81, kAskNewGame = 82, kNewGame = 111;

constexpr int kScrollUp = 25935, kScrollDown = 25936, kKnob = 28545;

void AddWindow(CWindowBuilder& b, int id, int x, int y, int w, int h, int parent, EPositionType position) {
  b.AddWindow(id, x, y, w, h, parent, WINDOW_NORMAL, position, 0);
}

// The name field: the player's typed name, drawn as typed; a press opens
// the entry.
void NameField(CWindowRows& m, CWindowBuilder& b, const char* text) {
  b.AddItem(-2, -1, 12, 244, 164, 19, 24, text, HO_LEFT, VO_CENTER, 3, kNameFont, 0, 1, 2, 3, "");
  m.Press(kNameInput);
}

// A labelled button of the pages: hover, its kind, its balloon.
void PageButton(CWindowRows& m, int x, int y, int de, int en, int kind, int p1, int balloon) {
  m.Picture(x, y, 93, 21, 13, de, en);
  m.Hover();
  m.Press(kind, p1);
  m.Balloon(balloon);
}

// The list of saved games with its scroll buttons and slider.
void SaveGameList(CWindowBuilder& b, int y, int h) {
  constexpr int kList = 1;
  b.AddDialog(-2, kList, 12, y, 164, h, 19, "SAVEGAMELIST");
  b.AddItem(-2, kList, 149, 0, 15, 16, 13, kScrollUp, kNone);
  b.AddAction(-2, kList, -2, kStepUp, WHEN_LEFT_DOWN, INOUT_INSIDE, 1, kNone, kNone, "up", kNone);
  b.AddAction(-2, kList, -2, 11, WHEN_MOVE, INOUT_ALWAYS, kNone, kNone, kNone, "hover", kNone);
  b.AddItem(-2, kList, 149, h - 16, 15, 16, 13, kScrollDown, kNone);
  b.AddAction(-2, kList, -2, kStepDown, WHEN_LEFT_DOWN, INOUT_INSIDE, 1, kNone, kNone, "down", kNone);
  b.AddAction(-2, kList, -2, 11, WHEN_MOVE, INOUT_ALWAYS, kNone, kNone, kNone, "hover", kNone);
  b.AddItem(-2, kList, 149, 16, 15, h - 32, 35, kNone, kNone);
  b.AddAction(-2, kList, -2, kScrollTo, WHEN_LEFT_HELD, INOUT_INSIDE, 1, kNone, kNone, "slider", kNone);
}

// A slider of the settings page: a knob the pointer drags over a bar with
// the range 2000 to 3000; the variable, where there is one, is the dialog's
// and the bar's.
void Slider(CWindowBuilder& b, int dialog, EDialogType type, int y, EItemType bar, int balloon, const char* var) {
  b.AddDialog(-2, dialog, 165, y, 101, 1, type, "SLIDER");
  if (var) b.AddVar(-2, dialog, -1, VAR_FLOAT, "NULL", var);
  b.AddItem(-2, dialog, 0, -8, 11, 18, 13, kKnob, kNone);
  b.AddAction(-2, dialog, -2, kKnobFollows, WHEN_MOVE_FIRST, INOUT_ALWAYS, kNone, kNone, kNone, "knob", kNone);
  b.AddAction(-2, dialog, -2, kGrab, WHEN_LEFT_DOWN, INOUT_INSIDE, kNone, kNone, kNone, "grab", kNone);
  b.AddAction(-2, dialog, -2, kRelease, WHEN_LEFT_UP, INOUT_ALWAYS, kNone, kNone, kNone, "release", kNone);
  b.AddItem(-2, dialog, 0, 0, 101, 1, bar, FILL_SOLID, 2000, 3000);
  b.AddAction(-2, dialog, -2, kBalloonKind, WHEN_MOVE, INOUT_INSIDE, balloon, kNone, kNone, "balloon", kNone);
  if (var) b.AddVar(-2, dialog, -2, VAR_FLOAT, "NULL", var);
}

// The welcome's one button leads on to the load page of the game menu.
void AddStartupWindows(CWindowBuilder& b, CWindowRows& m) {
  AddWindow(b, kWelcome, 224, 50, 352, 350, 1, POSITION_FIXED);
  m.Picture(246, 319, 93, 21, 13, 49777, 50600);
  m.Hover();
  m.Press(kOpenMenuPage, kLoadPage, 1);
  m.Press(kClose, kWelcome);
  m.Balloon(206);
  m.Press(kPauseOff);
  m.Press(kTutorial);
  m.Picture(0, 0, 352, 350, 2, 49772, 50112);

  AddWindow(b, kTitle, 224, 50, 500, 420, 1, POSITION_CENTERED);
  m.HotArea(470, 379, 30, 41);
  m.Hover();
  m.Press(kPauseOff);
  m.Press(kClose, kTitle);
  m.Balloon(199);
  m.Picture(0, 0, 500, 420, 2, 50918, 50920);

  // The full-screen pictures close with a click anywhere.
  const struct {
    int id, w, h, picture;
  } full[] = {{kFullScreen800, 800, 600, 51677}, {kFullScreen640, 640, 480, 51676}};
  for (const auto& f : full) {
    AddWindow(b, f.id, 0, 0, f.w, f.h, 1, POSITION_CENTERED);
    m.HotArea(0, 0, 800, 600);
    m.Hover();
    m.Press(kPauseOff);
    m.Press(kClose, f.id);
    m.Picture(0, 0, f.w, f.h, 2, f.picture, f.picture);
  }

  AddWindow(b, kWelcomeFirst, 224, 50, 352, 350, 1, POSITION_CENTERED);
  m.Picture(246, 319, 93, 21, 13, 49777, 50600);
  m.Hover();
  m.Press(kOpen, kWelcomeSecond, 1);
  m.Press(kClose, kWelcomeFirst);
  m.Balloon(199);
  m.Picture(0, 0, 352, 350, 2, 49772, 50112);

  AddWindow(b, kWelcomeSecond, 231, 50, 337, 415, 1, POSITION_CENTERED);
  m.HotArea(298, 393, 36, 21);
  m.Press(kOpenMenuPage, kLoadPage, 1);
  m.Press(kClose, kWelcomeSecond);
  m.Balloon(199);
  m.Press(kPauseOff);
  m.Press(kTutorial);
  m.Picture(283, 398, 11, 11, 13, 37552);
  m.Press(kHotlineStore);
  m.Balloon(207);
  m.Act(kHotlineLook, WHEN_TURN, INOUT_ALWAYS);
  m.Picture(0, 0, 337, 415, 2, 50916, 50917);
}

void AddGameMenu(CWindowBuilder& b, CWindowRows& m) {
  AddWindow(b, kGameMenu, 224, 75, 352, 305, 1, POSITION_CENTERED);
  m.Picture(0, 0, 352, 21, 2, 38499, 50116);
  m.Drag();
  m.Hover();
  m.HotArea(322, 3, 14, 13);
  m.Press(kCloseGroup, kGameMenu);
  m.Hover();
  const struct {
    int y, picture, page, balloon;
  } pages[] = {{45, 39450, kSavePage, 208}, {88, 39471, kLoadPage, 206}, {131, 39445, kSettingsPage, 209}};
  for (const auto& p : pages) {
    m.Picture(10, p.y, 36, 36, 13, p.picture);
    m.Hover();
    m.Press(kOpenMenuPage, p.page, 1);
    m.Balloon(p.balloon);
    m.Act(kPressedWhileOpen, WHEN_TURN, INOUT_ALWAYS, p.page);
  }
  // Leaving asks first; a yes saves the game and quits.
  m.Picture(10, 260, 36, 36, 13, 41521);
  m.Hover();
  m.Press(kCloseGroup, kGameMenu);
  m.Press(kAsk, kAskQuit, kQuitSaving);
  m.Balloon(196);
  m.Picture(0, 21, 51, 284, 2, 38495);
}

void AddSavePage(CWindowBuilder& b, CWindowRows& m) {
  AddWindow(b, kSavePage, 51, 21, 301, 284, kGameMenu, POSITION_FIXED);
  NameField(m, b, "");
  PageButton(m, 186, 243, 39444, 50614, kSave, kNone, 208);
  m.Picture(0, 0, 301, 284, 2, 38494, 50124);
  SaveGameList(b, 36, 200);
}

void AddLoadPage(CWindowBuilder& b, CWindowRows& m) {
  AddWindow(b, kLoadPage, 51, 21, 301, 284, kGameMenu, POSITION_FIXED);
  NameField(m, b, "Rode");
  PageButton(m, 186, 243, 39443, 50611, kLoad, kNone, 206);
  // The game modes whose saved games the list shows: free, master, scenarios.
  const struct {
    int y, de, en, mode, balloon;
  } modes[] = {{54, 39440, 50608, 1, 211}, {76, 39441, 50610, 0, 212}, {98, 39442, 50617, 2, 213}};
  for (const auto& g : modes) {
    PageButton(m, 186, g.y, g.de, g.en, kListMode, g.mode, g.balloon);
    m.Act(kPressedWhileMode, WHEN_TURN, INOUT_ALWAYS, g.mode);
  }
  // A new game on an empty playing area, asked first.
  m.Picture(186, 137, 93, 21, 13, 44170, 50613);
  m.Hover();
  m.Press(kAsk, kAskNewGame, kNewGame);
  m.Balloon(214);
  PageButton(m, 186, 159, 49896, 50616, kDelete, kNone, 215);
  m.Picture(12, 34, 149, 19, 13, 49425, 50618);
  m.Act(kModePicture, WHEN_TURN, INOUT_ALWAYS);
  m.Act(kHighlightLock, WHEN_TURN, INOUT_ALWAYS);
  m.Picture(0, 0, 301, 284, 2, 38493, 50125);
  SaveGameList(b, 55, 181);
}

void AddSettingsPage(CWindowBuilder& b, CWindowRows& m) {
  AddWindow(b, kSettingsPage, 51, 21, 301, 284, kGameMenu, POSITION_FIXED);
  m.Picture(14, 55, 130, 21, 13, 44169, 50615);
  m.Hover();
  m.Press(kPause);
  m.Balloon(217);
  m.Act(kPressedWhilePaused, WHEN_TURN, INOUT_ALWAYS, 1);
  const struct {
    int x, w, picture, width, balloon;
  } modes[] = {{108, 51, 50903, 1024, 232}, {10, 45, 50901, 640, 218}, {59, 45, 50902, 800, 219}};
  for (const auto& r : modes) {
    m.Picture(r.x, 116, r.w, 21, 13, r.picture);
    m.Hover();
    m.Press(kWindowMode, r.width);
    m.Balloon(r.balloon);
    m.Act(kPressedWhileWidth, WHEN_TURN, INOUT_ALWAYS, r.width);
  }
  const struct {
    int x, picture, language, balloon;
  } languages[] = {{165, 50822, 0, 227}, {227, 50821, 1, 228}};
  for (const auto& l : languages) {
    m.Picture(l.x, 116, 57, 21, 13, l.picture);
    m.Hover();
    m.Press(kLanguage, l.language);
    m.Balloon(l.balloon);
    m.Act(kPressedWhileLanguage, WHEN_TURN, INOUT_ALWAYS, l.language);
  }
  // The sound effects' and the music's switches.
  const struct {
    int y;
    const char* var;
  } switches[] = {{154, "MW.WAVON"}, {217, "MW.MUSIKON"}};
  for (const auto& s : switches) {
    b.AddItem(-2, -1, 133, s.y, 12, 11, 2, 25849, 25850);
    m.Press(kToggle, 1);
    m.Act(kStateWhileEquals, WHEN_TURN, INOUT_ALWAYS, 1);
    m.Var(VAR_INT, s.var);
  }
  m.Picture(47, 248, 31, 14, 13, 49391);
  m.Hover();
  m.Press(kMusicMode, 2);
  m.Balloon(223);
  m.Act(kPressedWhileMusic, WHEN_TURN, INOUT_ALWAYS, 2);
  m.Picture(0, 0, 301, 284, 2, 50904, 50905);
  // The game speed is the slider's own; the volumes are the sound's.
  Slider(b, 3, 20, 65, 11, 216, nullptr);
  Slider(b, 1, 4, 191, 10, 220, "MW.WAVPERCENTAGE");
  Slider(b, 2, 4, 254, 10, 221, "MW.MUSIKPERCENTAGE");
}

}  // namespace

int CZorvaWindows::WindowAddLadenSpeichern() {
  CWindowRows m(m_builder);
  AddStartupWindows(m_builder, m);
  AddGameMenu(m_builder, m);
  AddSavePage(m_builder, m);
  AddLoadPage(m_builder, m);
  AddSettingsPage(m_builder, m);
  return 0;
}
