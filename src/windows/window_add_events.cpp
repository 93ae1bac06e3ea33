// The windows through which the game speaks to the player: the warning 220
// and the yes/no question 247. Their texts are filled by the message system
// when the interface opens them.
#include "windows/window_builders.h"

namespace {

constexpr int kNone = -1;
constexpr int kWarning = 220;
constexpr int kYesNo = 247;
constexpr int kTextFont = 823;

// Adds an action to the builder's current item.
void Act(CWindowBuilder& b, EActionType kind, EActionWhen when, EInOutType inout, int p1 = kNone) {
  b.AddAction(-2, -1, -2, kind, when, inout, p1, kNone, kNone, "null", kNone);
}
void Hover(CWindowBuilder& b) { Act(b, 11, WHEN_MOVE, INOUT_ALWAYS); }
void Drag(CWindowBuilder& b) {
  Act(b, 8, WHEN_LEFT_DOWN, INOUT_INSIDE);
  Act(b, 7, WHEN_MOVE_FIRST, INOUT_ALWAYS);
  Act(b, 9, WHEN_LEFT_UP, INOUT_ALWAYS);
}
// A text item whose text the message system gives at run time.
void MessageText(CWindowBuilder& b, int x, int y, int w, int h, EItemType type, const char* placeholder) {
  b.AddItem(-2, -1, x, y, w, h, type, placeholder, HO_LEFT, VO_CENTER, 3, kTextFont, 0, 1, 2, 3, "");
}

void AddWarning(CWindowBuilder& b) {
  b.AddWindow(kWarning, 250, 150, 315, 80, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  b.AddItem(-2, -1, 0, 0, 315, 21, 1);
  Drag(b);
  Hover(b);
  b.AddItem(-2, -1, 285, 3, 14, 13, 1);
  Act(b, 46, WHEN_LEFT_DOWN, INOUT_INSIDE, kWarning);
  Hover(b);
  MessageText(b, 43, 11, 258, 53, 23, "Achtung Text");
  b.AddItem(-2, -1, 0, 0, 315, 80, 2, 37549, kNone, 50088, kNone);
}

// The yes button is the window's first item: the interface gives its
// actions the kind that a yes runs.
void AddYesNo(CWindowBuilder& b) {
  b.AddWindow(kYesNo, 250, 150, 287, 108, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  b.AddItem(-2, -1, 16, 83, 56, 16, 13, 41484, kNone, 50609, kNone);
  Hover(b);
  Act(b, 2, WHEN_LEFT_DOWN, INOUT_INSIDE);
  Act(b, 6, WHEN_LEFT_DOWN, INOUT_INSIDE, kYesNo);
  b.AddItem(-2, -1, 215, 83, 56, 16, 13, 41485, kNone, 50612, kNone);
  Act(b, 6, WHEN_LEFT_DOWN, INOUT_INSIDE, kYesNo);
  Hover(b);
  MessageText(b, 19, 14, 250, 58, 40, "TEST");
  b.AddItem(-2, -1, 0, 0, 287, 108, 2, 49889, kNone);
}

}  // namespace

int CZorvaWindows::WindowAddEventBerater() {
  AddYesNo(m_builder);
  AddWarning(m_builder);
  return 0;
}
