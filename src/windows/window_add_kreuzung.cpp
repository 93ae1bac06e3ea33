// The crossing windows: the traffic lights of the selected crossing (229)
// and the same with the lights' timing (230). Their variables are the
// selected crossing's "KR." values, bound when the player selects it; the
// interface also sets the type-20 background that shows the crossing's
// form.
#include <string>

#include "windows/window_rows.h"

namespace {

constexpr int kNone = CWindowRows::kNone;
constexpr int kLights = 229, kLightsTiming = 230;
constexpr int kFont = 823;

// Kinds of the actions these windows run.
constexpr int kOpen = 2, kClose = 6, kStepUp = 16, kStepDown = 17, kKnobFollows = 19, kSet = 21,
              kCloseGroup = 46, kToggle = 48, kStateFromValue = 50, kStateIsValue = 53, kOpenTiming = 131;
constexpr int kGrab = 8, kRelease = 9;

constexpr int kMark = 33830;

// A value of the crossing written in the standard font, centred.
void Value(CWindowBuilder& b, int dialog, int x, int y, int w, int h, const char* var, bool bind) {
  const std::string text = std::string("@#var,INT,NULL,") + var + "#";
  b.AddItem(-2, dialog, x, y, w, h, 7, text.c_str(), HO_CENTER, VO_CENTER, 3, kFont, 0, 1, 2, 3, "");
  if (bind) b.AddVar(-2, dialog, -2, VAR_INT, "NULL", var);
}

// What both windows share: caption, close area, cost, the priority
// direction with its two marks, the three lights buttons and the button to
// the partner window; `partner` adds that button's actions.
void Common(CWindowBuilder& b, CWindowRows& m, int id, int height, void (*partner)(CWindowRows&)) {
  b.AddWindow(id, 206, 70, 211, height, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  b.DeActivateWindow(id);
  m.HotArea(0, 0, 211, 20);
  m.Drag();
  m.Hover();
  m.HotArea(179, 3, 14, 13);
  m.Press(kCloseGroup, id);
  m.Hover();
  Value(b, -1, 95, 85, 54, 14, "KR.AMPEL.COST", true);
  // The two marks show the directions; the hot areas over them choose one.
  const struct {
    int y;
    const char* mark;
    int direction;
  } directions[] = {{28, "KR.RICHTUNG.1", 1}, {57, "KR.RICHTUNG.2", 2}};
  for (const auto& d : directions) {
    m.Picture(67, d.y, 12, 11, 13, kMark);
    m.Act(kStateFromValue, WHEN_TURN, INOUT_ALWAYS, 0);
    m.Var(VAR_INT, d.mark);
    m.HotArea(67, d.y, 12, 11);
    m.Press(kSet, d.direction);
    m.Var(VAR_INT, "KR.AMPEL.RICHTUNG");
  }
  m.Picture(11, 25, 74, 47, 13, 29686);
  m.Act(kStateFromValue, WHEN_TURN, INOUT_ALWAYS, 0);
  m.Var(VAR_INT, "KR.AMPEL.RICHTUNG");
  // Lights off (0), on (1), and the small box (2).
  const struct {
    int x, y, w, de, en, value;
  } lights[] = {{98, 26, 103, 29689, 50603, 0}, {98, 45, 103, 29690, 50604, 1}, {161, 86, 12, kMark, kNone, 2}};
  for (const auto& l : lights) {
    if (l.en == kNone)
      m.Picture(l.x, l.y, l.w, l.w == 12 ? 11 : 18, 13, l.de);
    else
      m.Picture(l.x, l.y, l.w, 18, 13, l.de, l.en);
    m.Press(kSet, l.value);
    m.Act(kStateFromValue, WHEN_TURN, INOUT_ALWAYS, 0);
    m.Var(VAR_INT, "KR.AMPEL");
  }
  m.Picture(178, 85, 24, 14, 13, 29688);
  partner(m);
}

void AddLights(CWindowBuilder& b, CWindowRows& m) {
  Common(b, m, kLights, 106, [](CWindowRows& r) { r.Press(kOpenTiming, kLightsTiming, 1); });
  b.AddItem(-2, -1, 0, 0, 211, 106, 20, kNone, kNone);
}

void AddLightsTiming(CWindowBuilder& b, CWindowRows& m) {
  Common(b, m, kLightsTiming, 191, [](CWindowRows& r) {
    r.Press(kClose, kLightsTiming);
    r.Press(kOpen, kLights, 1);
  });
  Value(b, -1, 19, 147, 32, 12, "KR.AMPEL.SVOR", true);
  Value(b, -1, 161, 147, 32, 12, "KR.AMPEL.SNEBEN", true);
  // Public transport first at the lights.
  b.AddItem(-2, -1, 191, 171, 12, 11, 2, 25849, 25850);
  m.Press(kToggle);
  m.Act(kStateIsValue, WHEN_TURN, INOUT_ALWAYS);
  m.Var(VAR_INT, "KR.AMPEL.OPNV");
  b.AddItem(-2, -1, 0, 0, 211, 191, 20, kNone, kNone);

  // The split of the green time between the main and the side street.
  constexpr int kSplit = 1;
  b.AddDialog(-2, kSplit, 59, 150, 94, 6, 4, "QUOTE");
  b.AddVar(-2, kSplit, -1, VAR_FLOAT, "NULL", "KR.AMPEL.QUOTE");
  b.AddItem(-2, kSplit, 0, -5, 11, 18, 13, 28545, kNone);
  b.AddAction(-2, kSplit, -2, kKnobFollows, WHEN_MOVE_FIRST, INOUT_ALWAYS, kNone, kNone, kNone, "knob", kNone);
  b.AddAction(-2, kSplit, -2, kGrab, WHEN_LEFT_DOWN, INOUT_INSIDE, kNone, kNone, kNone, "grab", kNone);
  b.AddAction(-2, kSplit, -2, kRelease, WHEN_LEFT_UP, INOUT_ALWAYS, kNone, kNone, kNone, "release", kNone);
  b.AddItem(-2, kSplit, 0, 0, 96, 6, 10, FILL_SOLID, 2000, 3000);
  b.AddVar(-2, kSplit, -2, VAR_FLOAT, "NULL", "KR.AMPEL.QUOTE");

  // The cycle time, stepped by one second.
  constexpr int kCycle = 2;
  b.AddDialog(-2, kCycle, 148, 103, 55, 16, 5, "TIME");
  b.AddVar(-2, kCycle, -1, VAR_INT, "NULL", "KR.AMPEL.TIME");
  b.AddItem(-2, kCycle, 0, 0, 8, 16, 13, 25864, kNone);
  b.AddAction(-2, kCycle, -2, kStepDown, WHEN_LEFT_DOWN, INOUT_INSIDE, 1, kNone, kNone, "down", kNone);
  b.AddAction(-2, kCycle, -2, 11, WHEN_MOVE, INOUT_ALWAYS, kNone, kNone, kNone, "hover", kNone);
  b.AddItem(-2, kCycle, 47, 0, 8, 16, 13, 25865, kNone);
  b.AddAction(-2, kCycle, -2, kStepUp, WHEN_LEFT_DOWN, INOUT_INSIDE, 1, kNone, kNone, "up", kNone);
  b.AddAction(-2, kCycle, -2, 11, WHEN_MOVE, INOUT_ALWAYS, kNone, kNone, kNone, "hover", kNone);
  Value(b, kCycle, 9, 1, 35, 14, "KR.AMPEL.TIME", false);
}

}  // namespace

int CZorvaWindows::WindowAddKreuzung() {
  CWindowRows m(m_builder);
  AddLights(m_builder, m);
  AddLightsTiming(m_builder, m);
  return 0;
}
