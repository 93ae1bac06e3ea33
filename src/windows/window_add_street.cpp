// The street windows: a street with three speed choices (190, its partner
// 191), one with four speed choices and a bus lane (194, its partner 195),
// and the two empty windows 192 and 193. Their variables are the selected
// street's "ST." values, bound when the player selects it; the interface
// sets the type-20 background that shows the street's kind.
#include "windows/window_rows.h"

namespace {

constexpr int kNone = CWindowRows::kNone;

// Kinds of the actions these windows run.
constexpr int kOpen = 2, kClose = 6, kPressedWhileEquals = 12, kSet = 21, kToggle = 24, kStateFromVars = 25;

struct StreetWindow {
  int id, partner, height;
  bool busLane;      // four speed choices and the bus-lane switch
  bool partnerHover; // the swap button lights under the pointer
  int chartY;        // the type-22 item of the extended windows; kNone for none
  int backgroundDE, backgroundEN;  // kNone: a type-20 item the interface fills
};

// A switch in a dialog of its own, bound to an INT of the street.
void Switch(CWindowBuilder& b, int dialog, int y, const char* var) {
  b.AddDialog(-2, dialog, 165, y, 12, 12, 1, var);
  b.AddVar(-2, dialog, -1, VAR_INT, "NULL", var);
  b.AddItem(-2, dialog, 0, 0, 12, 12, 2, 33720, 33721);
  b.AddAction(-2, dialog, -2, kToggle, WHEN_LEFT_DOWN, INOUT_INSIDE, 1, kNone, kNone, "toggle", kNone);
  b.AddAction(-2, dialog, -2, kStateFromVars, WHEN_TURN, INOUT_ALWAYS, kNone, kNone, kNone, "state", kNone);
  b.AddVar(-2, dialog, -2, VAR_INT, "NULL", var);
}

void AddStreetWindow(CWindowBuilder& b, CWindowRows& m, const StreetWindow& s) {
  const int dy = s.busLane ? 17 : 0;
  b.AddWindow(s.id, 200, 220, 211, s.height, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  b.DeActivateWindow(s.id);
  m.HotArea(0, 0, 211, 23);
  m.Drag();
  m.Hover();
  m.HotArea(181, 2, 20, 20);
  m.Press(kClose, s.id);
  m.Hover();
  // The swap to the partner window.
  m.Picture(145, 64 + dy, 53, 14, 13, 33815, 50656);
  m.Press(kClose, s.id);
  m.Press(kOpen, s.partner, 1);
  if (s.partnerHover) m.Hover();
  m.StreetDirectionAndLoads(dy, s.busLane ? 33816 : 33817);
  if (s.chartY != kNone) b.AddItem(-2, -1, 39, s.chartY, 156, 36, 22, kNone, kNone);
  if (s.backgroundDE == kNone)
    b.AddItem(-2, -1, 0, 0, 211, s.height, 20, kNone, kNone);
  else
    m.Picture(0, 0, 211, s.height, 2, s.backgroundDE, s.backgroundEN);

  // The speed limits, left to right: 4, 1, 2 and, with the bus lane, 3.
  constexpr int kSpeed = 1;
  const int speedX = s.busLane ? 71 : 98;
  const int speedH = s.busLane ? 106 : (s.chartY == kNone ? 81 : 79);
  b.AddDialog(-2, kSpeed, speedX, 26, 25, speedH, 1, "ST.SPEED");
  b.AddVar(-2, kSpeed, -1, VAR_FLOAT, "NULL", "ST.SPEED");
  const struct {
    int picture, value;
  } speeds[] = {{41494, 4}, {33811, 1}, {33812, 2}, {33810, 3}};
  const int choices = s.busLane ? 4 : 3;
  for (int i = 0; i < choices; ++i) {
    b.AddItem(-2, kSpeed, 27 * i, 0, 25, 14, 13, speeds[i].picture, kNone);
    b.AddAction(-2, kSpeed, -2, kPressedWhileEquals, WHEN_TURN, INOUT_ALWAYS, speeds[i].value, kNone, kNone, "look",
                kNone);
    b.AddAction(-2, kSpeed, -2, kSet, WHEN_LEFT_DOWN, INOUT_INSIDE, speeds[i].value, kNone, kNone, "speed", kNone);
    b.AddAction(-2, kSpeed, -2, 11, WHEN_MOVE, INOUT_ALWAYS, kNone, kNone, kNone, "hover", kNone);
    b.AddVar(-2, kSpeed, -2, VAR_FLOAT, "NULL", "ST.SPEED");
  }
  Switch(b, 2, 44, "ST.VLS");
  if (s.busLane) Switch(b, 2, 61, "ST.BUSSPUR");
}

}  // namespace

int CZorvaWindows::WindowAddStreet() {
  m_builder.AddWindow(192, 200, 220, 211, 154, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  m_builder.AddWindow(193, 200, 220, 211, 154, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  CWindowRows m(m_builder);
  const StreetWindow windows[] = {
      {190, 191, 154, false, true, kNone, kNone, kNone},
      {191, 190, 154, false, false, 220, kNone, kNone},
      {194, 195, 171, true, true, kNone, 33780, 50537},
      {195, 194, 264, true, true, 237, 33781, 50536},
  };
  for (const StreetWindow& s : windows) AddStreetWindow(m_builder, m, s);
  return 0;
}
