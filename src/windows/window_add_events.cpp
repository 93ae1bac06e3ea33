// The windows through which the game speaks to the player: the warning 220,
// the yes/no question 247, the removal questions 243, 244 and 223, then the
// event windows, the message list and the adviser. The warning's and the
// question's texts are filled by the message system when the interface opens
// them.
#include "windows/window_add_advisers.h"
#include "windows/window_rows.h"

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
  MessageText(b, 43, 18, 258, 58, 23, "Achtung Text");
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

// The removal questions: one building (243), several (244), a stop (223).
// Their cost line shows the pending removal's price; yes removes.
void AddRemovalQuestion(CWindowBuilder& b, int id, const char* de, const char* en, EActionType yes) {
  CWindowRows m(b);
  m.Window(id, 250, 150, 315, 100, 1, WINDOW_NORMAL);
  m.HotArea(0, 0, 315, 21);
  m.Drag();
  m.Hover();
  m.HotArea(285, 3, 14, 13);
  m.Press(46, id);
  m.Hover();
  m.Text(42, 12, 260, 18, 7, de, en, HO_LEFT);
  m.Text(42, 26, 260, 18, 7, "Die Kosten betragen Euro: @#var,QNO_VAR_STRING,NULL,BUILDING.REMOVECOST#!",
         "The costs are: @#var,QNO_VAR_STRING,NULL,BUILDING.REMOVECOST#!", HO_LEFT);
  m.Var(VAR_STRING, "BUILDING.REMOVECOST");
  m.Picture(95, 76, 56, 16, 13, 41485, 50612);
  m.Press(6, id);
  m.Hover();
  m.Picture(184, 76, 56, 16, 13, 41484, 50609);
  m.Press(yes);
  m.Hover();
  m.Picture(0, 0, 315, 100, 2, 41475, 50090);
}

}  // namespace

int CZorvaWindows::WindowAddEventBerater() {
  AddYesNo(m_builder);
  AddRemovalQuestion(m_builder, 243, "Wollen Sie das Geb\xE4ude wirklich abrei\xDF" "en !",
                     "Do you want to remove this building?", 80);
  AddRemovalQuestion(m_builder, 244, "Wollen Sie die Geb\xE4ude wirklich abrei\xDF" "en!",
                     "Do you want to remove these buildings!", 80);
  AddRemovalQuestion(m_builder, 223, "Wollen Sie die Haltestelle wirklich abrei\xDF" "en !",
                     "Remove bus/rail stop or station?", 134);
  AddWarning(m_builder);
  zorwin::AddEventWindows(m_builder);
  zorwin::AddMessageList(m_builder);
  zorwin::AddAdviserWindow(m_builder);
  // Only the closing effects of the crossing window run: it is closed already.
  m_builder.DeActivateWindow(229);
  return 0;
}
