// The event windows, the message list with its panels and the adviser. The
// texts of their message items (event text, standard message, selected
// event, adviser text) come from the message system when they are drawn;
// the placeholders below only show while it has none.
#include "windows/window_add_advisers.h"

#include "windows/window_rows.h"

namespace zorwin {

namespace {

constexpr int kNone = CWindowRows::kNone;
constexpr int kCloseKind = 46;
constexpr int kHelpKind = 33;

// Balloon texts of these windows.
constexpr int kTipJump = 193, kTipAutoEvents = 194, kTipNewGame = 195, kTipExit = 196, kTipPlay = 197,
              kTipPlayOn = 198, kTipContinue = 199, kTipDeleteEvent = 200, kTipFirstTopic = 201;

// Pictures shared by several windows.
constexpr int kAutoEventsSwitch = 37552;
constexpr int kNewGameButton = 43853, kNewGameButtonEn = 50588;
constexpr int kExitButton = 43855, kExitButtonEn = 50589;
constexpr int kPlayButton = 43851;

// The message items: placeholder text in the standard font, left aligned.
void MessageText(CWindowRows& m, int x, int y, int w, int h, EItemType type, const char* placeholder) {
  m.Text(x, y, w, h, type, placeholder, "", HO_LEFT);
}

// The caption strip that drags the window.
void DragStrip(CWindowRows& m, int width) {
  m.HotArea(0, 0, width, 21);
  m.Drag();
  m.Hover();
}

// The caption strip with its close area.
void Caption(CWindowRows& m, int width, int window, int closeX) {
  DragStrip(m, width);
  m.HotArea(closeX, 3, 14, 13);
  m.Press(kCloseKind, window);
  m.Hover();
}

void CloseArea(CWindowRows& m, int x, int y, int w, int h, int window) {
  m.HotArea(x, y, w, h);
  m.Press(kCloseKind, window);
  m.Hover();
}

// The new-game choice: the load page of the game menu with its saved games.
void NewGameActions(CWindowRows& m) {
  m.Press(70, 161, 1);
  m.Press(2, 160, 1);
}

void AddEvent(CWindowRows& m) {
  m.Window(kEventWindow, 0, 0, 410, 198, 1, WINDOW_NORMAL);
  Caption(m, 410, kEventWindow, 380);
  MessageText(m, 23, 36, 364, 123, 26, "Eventtext");
  m.Picture(360, 173, 38, 15, 28, 37553);
  m.Press(79);
  m.Hover();
  m.Balloon(kTipJump);
  m.Picture(336, 175, 11, 11, 13, kAutoEventsSwitch);
  m.Press(68);
  m.Balloon(kTipAutoEvents);
  m.Picture(0, 0, 410, 198, 2, 39844, 50089);
}

void AddEventNewGameExit(CWindowRows& m) {
  const int id = kEventNewGameExit;
  m.Window(id, 250, 150, 410, 164, 1, WINDOW_NORMAL);
  DragStrip(m, 410);
  MessageText(m, 18, 31, 374, 99, 26, "Eventtext");
  // The scenario is over and the game goes on in the normal mode: closing
  // the window plays on, as its text says, rather than leaving the game
  // held and paused.
  m.HotArea(380, 3, 14, 13);
  m.Press(96);
  m.Press(107);
  m.Press(kCloseKind, id);
  m.Hover();
  m.Picture(285, 140, 96, 16, 13, kNewGameButton, kNewGameButtonEn);
  m.Press(107);
  m.Hover();
  NewGameActions(m);
  m.Balloon(kTipNewGame);
  m.Press(kCloseKind, id);
  m.Picture(29, 140, 96, 16, 13, kExitButton, kExitButtonEn);
  m.Hover();
  m.Press(81);
  m.Balloon(kTipExit);
  m.Press(kCloseKind, id);
  m.Picture(0, 0, 410, 164, 2, 43844, 50092);
}

void AddEventNewGame(CWindowRows& m) {
  const int id = kEventNewGame;
  m.Window(id, 250, 150, 410, 164, 1, WINDOW_NORMAL);
  DragStrip(m, 410);
  MessageText(m, 18, 31, 374, 99, 26, "Eventtext");
  m.Picture(160, 140, 96, 16, 13, kNewGameButton, kNewGameButtonEn);
  m.Press(111);
  m.Press(107);
  m.Hover();
  NewGameActions(m);
  m.Balloon(kTipNewGame);
  m.Press(kCloseKind, id);
  m.Picture(0, 0, 410, 164, 2, 49918);
}

void AddEventPlay(CWindowRows& m) {
  const int id = kEventPlay;
  m.Window(id, 150, 70, 500, 350, 1, WINDOW_NORMAL);
  DragStrip(m, 410);
  MessageText(m, 19, 55, 460, 244, 26, "Eventtext");
  m.Picture(238, 319, 26, 17, 13, kPlayButton);
  m.Hover();
  m.Press(96);
  m.Balloon(kTipPlay);
  m.Press(kCloseKind, id);
  m.Picture(0, 0, 500, 350, 2, 43833, 50091);
}

// Every choice here also switches to the free game mode (143). The exit
// button tells what it does in its balloon ("Exit game"), not "New game".
void AddEventPlayOn(CWindowRows& m) {
  const int id = kEventPlayOn;
  m.Window(id, 150, 150, 410, 220, 1, WINDOW_NORMAL);
  DragStrip(m, 410);
  MessageText(m, 22, 55, 367, 129, 26, "Eventtext");
  m.Picture(287, 196, 96, 16, 13, kNewGameButton, kNewGameButtonEn);
  m.Hover();
  NewGameActions(m);
  m.Balloon(kTipNewGame);
  m.Press(107);
  m.Press(kCloseKind, id);
  m.Press(143);
  m.Picture(158, 196, 96, 16, 13, kExitButton, kExitButtonEn);
  m.Hover();
  m.Press(81);
  m.Balloon(kTipExit);
  m.Press(kCloseKind, id);
  m.Press(143);
  m.Picture(28, 196, 96, 16, 13, 43852, 50749);
  m.Hover();
  m.Press(96);
  m.Press(143);
  m.Press(107);
  m.Balloon(kTipPlayOn);
  m.Press(kCloseKind, id);
  m.Picture(0, 0, 410, 220, 2, 43834, 50093);
}

void AddStandardMessage(CWindowRows& m) {
  const int id = kStandardMessageWindow;
  m.Window(id, 150, 150, 410, 220, 1, WINDOW_NORMAL);
  DragStrip(m, 410);
  MessageText(m, 22, 35, 367, 148, 34, "StandardMessage!");
  m.Picture(192, 196, 26, 17, 13, kPlayButton);
  m.Hover();
  m.Press(96);
  m.Press(107);
  m.Balloon(kTipContinue);
  m.Press(6, id);
  m.Picture(0, 0, 410, 220, 2, 44234);
}

}  // namespace

void AddEventWindows(CWindowBuilder& b) {
  CWindowRows m(b);
  AddEvent(m);
  AddEventNewGameExit(m);
  AddEventNewGame(m);
  AddEventPlay(m);
  AddEventPlayOn(m);
  AddStandardMessage(m);
}

void AddMessageList(CWindowBuilder& b) {
  CWindowRows m(b);
  m.Window(kMessageList, 351, 0, 448, 136, 1, WINDOW_NORMAL);
  DragStrip(m, 448);
  m.HotArea(418, 3, 25, 13);
  m.Press(kCloseKind, kMessageList);
  m.Hover();
  m.Picture(407, 119, 10, 9, 13, 49487);
  m.Press(66);
  m.Hover();
  m.Balloon(kTipDeleteEvent);
  m.Picture(96, 118, 11, 11, 13, kAutoEventsSwitch);
  m.Press(68);
  m.Balloon(kTipAutoEvents);
  m.Picture(0, 0, 448, 136, 2, 49484, 50075);

  // The list of events, newest first, with its scroll buttons and slider.
  constexpr int kList = 1;
  b.AddDialog(-2, kList, 13, 26, 422, 88, 21, "MESSAGELIST");
  b.AddVar(-2, kList, -1, VAR_FLOAT, "NULL", "MESSAGE");
  b.AddItem(-2, kList, 407, 0, 15, 16, 13, 25935, kNone);
  b.AddAction(-2, kList, -2, 16, WHEN_LEFT_DOWN, INOUT_INSIDE, 1, kNone, kNone, "up", kNone);
  b.AddAction(-2, kList, -2, 11, WHEN_MOVE, INOUT_ALWAYS, kNone, kNone, kNone, "hover", kNone);
  b.AddItem(-2, kList, 407, 72, 15, 16, 13, 25936, kNone);
  b.AddAction(-2, kList, -2, 17, WHEN_LEFT_DOWN, INOUT_INSIDE, 1, kNone, kNone, "down", kNone);
  b.AddAction(-2, kList, -2, 11, WHEN_MOVE, INOUT_ALWAYS, kNone, kNone, kNone, "hover", kNone);
  b.AddItem(-2, kList, 407, 16, 15, 56, 35, kNone, kNone);
  b.AddAction(-2, kList, -2, 119, WHEN_LEFT_HELD, INOUT_INSIDE, 1, kNone, kNone, "slider", kNone);

  m.Window(kMessagePanelText, 0, 133, 448, 172, kMessageList, WINDOW_NORMAL);
  CloseArea(m, 417, 6, 12, 11, kMessagePanelText);
  MessageText(m, 16, 20, 422, 141, 36, "Eventtext");
  m.Picture(0, 0, 448, 172, 2, 49485);

  m.Window(kMessagePanel, 0, 133, 448, 136, kMessageList, WINDOW_NORMAL);
  CloseArea(m, 417, 6, 12, 11, kMessagePanel);
  m.Picture(0, 0, 448, 136, 2, 49485);
}

void AddAdviserWindow(CWindowBuilder& b) {
  CWindowRows m(b);
  m.Window(kAdviserWindow, 250, 150, 378, 276, 1, WINDOW_NORMAL);
  m.Picture(0, 0, 378, 21, 2, 37539, 50062);
  m.Drag();
  m.Hover();
  CloseArea(m, 348, 3, 14, 13, kAdviserWindow);
  // The five topics: efficiency, quality, the third indicator group, city
  // rating and growth, game mode and scenario task.
  struct Topic {
    int y, de, en;
  };
  const Topic topics[kAdviserCount] = {
      {45, 44230, 50581}, {88, 44232, 50583}, {131, 44231, 50582}, {180, 44236, 50579}, {223, 44233, 50585}};
  for (int n = 1; n <= kAdviserCount; ++n) {
    const Topic& t = topics[n - 1];
    m.Picture(10, t.y, 36, 36, 13, t.de, t.en);
    m.Act(108, WHEN_TURN, INOUT_ALWAYS, n);
    m.Hover();
    m.Press(64, n);
    m.Act(kHelpKind, WHEN_MOVE, INOUT_INSIDE, kTipFirstTopic + n - 1);
  }
  MessageText(m, 60, 57, 303, 205,
              33, "Bis zu einer Stadtgr\xF6\xDF" "e von 15.000 Einwohnern w\xE4" "chst ihre Stadt immer!");
  m.Picture(0, 21, 51, 255, 2, 37538);
  m.Picture(51, 21, 327, 255, 20, 44205, 50038);
}

}  // namespace zorwin
