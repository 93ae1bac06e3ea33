// The pictures of the crossing and street windows: their backgrounds with
// the labels, the priority-direction picture, the control buttons, the
// speed buttons, the load bars and the direction arrows. The buttons that
// show a value have one look per value.
#include <cmath>

#include "gen/ui_paint.h"

namespace zorgen {

namespace {

void Label(cairo_t* cr, const char* text, double x, double y, Align align = Align::Left) {
  Text(cr, kCondensed, 10, text, x, y, kTextLight, align);
}

// ---- the crossing windows

// The background of the lights window; with timing, the lower part with
// the green times, the split, the cycle and the transit priority.
Image16 CrossingBackground(const UiArt& a, bool english, bool tJunction, bool timing) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  const Words title = tJunction ? Words{"Einm\xC3\xBCndung", "T junction"} : Words{"Kreuzung", "Crossing"};
  CaptionStrip(cr, a.width, title.In(english), 179);
  Well(cr, 10, 24, 76, 49);
  Label(cr, english ? "Priority" : "Vorfahrt", 48, 83, Align::Centre);
  Sheet(cr, 95, 85, 54, 14);
  Label(cr, english ? "Lights" : "Ampel", 158, 83, Align::Right);
  Label(cr, english ? "Cost:" : "Kosten:", 91, 96, Align::Right);
  if (!timing) return c.ToImage();
  Line(cr, 8, 101.5, a.width - 8, 101.5, 1, kEdgeDark);
  Label(cr, english ? "Cycle (s)" : "Umlaufzeit (s)", 12, 115);
  Sheet(cr, 156, 103, 39, 16);
  Label(cr, english ? "Main" : "Haupt", 35, 140, Align::Centre);
  Label(cr, english ? "Side" : "Neben", 177, 140, Align::Centre);
  Sheet(cr, 19, 147, 32, 12);
  Sheet(cr, 161, 147, 32, 12);
  FillRect(cr, 59, 152, 96, 3, kWell);
  Label(cr, english ? "Green time split" : "Gr\xC3\xBCnzeit-Aufteilung", 106, 140, Align::Centre);
  Label(cr, english ? "Transit priority" : "\xC3\x96PNV-Vorrang", 185, 181, Align::Right);
  return c.ToImage();
}

// The crossing as a plan: four arms (three at a T junction, the missing
// one by the picture's number), the priority arms drawn wide and yellow.
Image16 PriorityPlan(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  FillRect(cr, 0, 0, a.width, a.height, {54, 120, 74});
  const double cx = a.width / 2.0, cy = a.height / 2.0;
  const int priority = state < 3 ? state : (state - 3) % 3;
  const int missing = state < 3 ? -1 : (state - 3) / 3;
  // arms: 0 up, 1 right, 2 down, 3 left; 1 and 3 lie on one axis, 0 and 2 on the other
  const double ends[4][2] = {{cx, 0}, {a.width * 1.0, cy}, {cx, a.height * 1.0}, {0, cy}};
  for (int arm = 0; arm < 4; ++arm) {
    if (arm == missing) continue;
    const bool main = priority != 0 && (arm % 2 == (priority == 1 ? 1 : 0));
    Line(cr, cx, cy, ends[arm][0], ends[arm][1], main ? 12 : 9, kRoad);
    if (main) Line(cr, cx, cy, ends[arm][0], ends[arm][1], 2, kAccent);
  }
  FillRect(cr, cx - 6, cy - 6, 12, 12, kRoad);
  return c.ToImage();
}

// A control button: selected when the crossing's control is its own value.
Image16 ControlButton(const UiArt& a, int state, int own, const char* label) {
  return LabelButton(a, state == own ? 1 : 0, label, 10, state == own ? kAccent : kWell, true);
}

// The small box: none (0), an open box (1), ticked (2).
Image16 Mark(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  FillRect(cr, 0, 0, a.width, a.height, state == 0 ? Rgb8{34, 40, 60} : kWell);
  Bevel(cr, 0, 0, a.width, a.height, false);
  if (state == 2) {
    cairo_move_to(cr, 2.5, 5.5);
    cairo_line_to(cr, 5, 8.5);
    cairo_line_to(cr, 9.5, 2);
    cairo_set_line_width(cr, 1.8);
    Set(cr, kAccent);
    cairo_stroke(cr);
  }
  return c.ToImage();
}

// The way to the timing page: a small clock.
void ClockIcon(cairo_t* cr) {
  cairo_arc(cr, 18, 18, 12, 0, 2 * M_PI);
  Set(cr, kTextLight);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  Line(cr, 18, 18, 18, 9, 3, kAccent);
  Line(cr, 18, 18, 25, 18, 3, kAccent);
}

// ---- the street windows

// Background of a street window: caption, the speed row, the switches,
// the load bars' labels, and where there is room the 24-hour chart's frame.
Image16 StreetBackground(const UiArt& a, bool english, Words title, bool busLane, int chartY) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  const int dy = busLane ? 17 : 0;
  Panel(cr, 0, 0, a.width, a.height);
  CaptionStrip(cr, a.width, title.In(english), 184, 14);
  const int speedX = busLane ? 71 : 98;
  Label(cr, english ? "Speed" : "Tempo", speedX - 4, 37, Align::Right);
  Label(cr, english ? "Guidance" : "Verkehrslenkung", 160, 54, Align::Right);
  if (busLane) Label(cr, english ? "Bus lane" : "Busspur", 160, 71, Align::Right);
  Label(cr, english ? "Direction" : "Richtung", 12, 77 + dy);
  Well(cr, 10, 80 + dy, 101, 63);
  // The bars' labels stand over the bars (x 110 to 194), between the swap
  // button's lower edge (row 78) and the first bar (row 88), in a face small
  // enough for the longer German words to end by the bars' end, well clear
  // of the window's edge.
  Text(cr, kCondensed, 8, english ? "Load, direction 1" : "Auslastung Richtung 1", 112, 85 + dy, kTextLight);
  Text(cr, kCondensed, 8, english ? "Load, direction 2" : "Auslastung Richtung 2", 112, 118 + dy, kTextLight);
  // The chart's item stands at chartY: the game draws its zero line there and
  // the loads upwards, up to one and a half chart heights (54 rows), with the
  // hour mark reaching 58 rows up. The frame holds all of that; the hours and
  // the caption go below it. A mid-dark fill lets the black hour mark and the
  // yellow and orange lines show.
  if (chartY > 61 && chartY + 24 <= a.height) {
    constexpr Rgb8 kChart{64, 78, 104};
    FillRect(cr, 35, chartY - 61, 164, 66, kChart);
    Bevel(cr, 35, chartY - 61, 164, 66, false);
    for (int h : {5, 8, 11, 14, 17, 20}) {
      const double x = 39 + (h - 5) * 156 / 15.0 + 0.5;
      Line(cr, x, chartY + 5, x, chartY + 8, 1, kTextLight);
    }
    Text(cr, kCondensed, 9, "5", 39, chartY + 17, kTextLight, Align::Centre);
    Text(cr, kCondensed, 9, "20", 195, chartY + 17, kTextLight, Align::Centre);
    Label(cr, english ? "Load over 24 hours" : "Auslastung in 24 Stunden", 117, chartY + 17, Align::Centre);
  }
  return c.ToImage();
}

// A load bar: the share of the capacity in ninths, red past the capacity.
Image16 LoadBar(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  FillRect(cr, 0, 0, a.width, a.height, kWell);
  Bevel(cr, 0, 0, a.width, a.height, false);
  const double share = std::min(state, 9) / 9.0;
  const Rgb8 fill = state > 9 ? kRed : state > 6 ? Rgb8{240, 170, 40} : Rgb8{70, 190, 90};
  if (state > 0) FillRect(cr, 1, 2, (a.width - 2) * share, a.height - 4, fill);
  for (int k = 1; k < 9; ++k) Line(cr, 1 + (a.width - 2) * k / 9.0, 1, 1 + (a.width - 2) * k / 9.0, 3, 1, kEdgeLight);
  return c.ToImage();
}

// The street seen from above with the way its first direction runs.
Image16 DirectionPicture(const UiArt& a, int state, bool fourLane) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  FillRect(cr, 0, 0, a.width, a.height, {54, 120, 74});
  const double cx = a.width / 2.0, cy = a.height / 2.0;
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, (state & 3) * M_PI / 2);
  const double half = fourLane ? 16 : 10;
  FillRect(cr, -60, -half, 120, 2 * half, kRoad);
  if (fourLane) FillRect(cr, -60, -1, 120, 2, kAccent);
  for (double x = -55; x < 55; x += 14) FillRect(cr, x, fourLane ? -9 : -0.8, 7, 1.6, kWhite);
  if (fourLane)
    for (double x = -55; x < 55; x += 14) FillRect(cr, x, 7.4, 7, 1.6, kWhite);
  // arrow 1 along the street, arrow 2 against it
  Poly(cr, {{14, -half / 2}, {2, -half / 2 - 5}, {2, -half / 2 + 5}}, kAccent);
  Line(cr, -14, -half / 2, 3, -half / 2, 2, kAccent);
  Poly(cr, {{-14, half / 2}, {-2, half / 2 - 5}, {-2, half / 2 + 5}}, kTextLight);
  Line(cr, 14, half / 2, -3, half / 2, 2, kTextLight);
  cairo_restore(cr);
  // Each arrow carries the number of the load bar it belongs to, upright
  // whichever way the street runs: the picture is a key to the bars, not
  // a switch.
  const double turn = (state & 3) * M_PI / 2;
  const struct {
    double x, y;
    const char* number;
    Rgb8 colour;
  } keys[] = {{24, -half / 2, "1", kAccent}, {-24, half / 2, "2", kTextLight}};
  for (const auto& k : keys) {
    const double x = cx + k.x * std::cos(turn) - k.y * std::sin(turn);
    const double y = cy + k.x * std::sin(turn) + k.y * std::cos(turn);
    Text(cr, kCondensedBold, 10, k.number, x, y + 4, k.colour, Align::Centre);
  }
  return c.ToImage();
}

struct Labelled {
  uint32_t id;
  const char* text;
};

const Labelled kSpeeds[] = {{41494, "10"}, {33811, "30"}, {33812, "50"}, {33810, "70"}};

}  // namespace

bool DrawCrossingArt(const UiArt& a, int state, Image16* out) {
  for (const Labelled& s : kSpeeds)
    if (a.id == s.id) return *out = LabelButton(a, state, s.text, 9, {}, false), true;
  const struct {
    uint32_t id;
    bool english, tJunction, timing;
  } crossings[] = {{29683, false, false, false}, {50760, true, false, false}, {29684, false, false, true},
                   {50761, true, false, true},   {33828, false, true, false}, {50767, true, true, false},
                   {33829, false, true, true},   {50768, true, true, true}};
  for (const auto& k : crossings)
    if (a.id == k.id) return *out = CrossingBackground(a, k.english, k.tJunction, k.timing), true;
  const Words side{"Nebenstra\xC3\x9F" "e", "Side street"}, main{"Hauptstra\xC3\x9F" "e", "Main street"},
      four{"Vierspurige Stra\xC3\x9F" "e", "Four-lane road"};
  const struct {
    uint32_t id;
    bool english;
    Words title;
    bool busLane;
    int chartY;
  } streets[] = {{33782, false, side, false, -1}, {50535, true, side, false, -1}, {33783, false, side, false, 220},
                 {50534, true, side, false, 220}, {33784, false, main, false, -1}, {50533, true, main, false, -1},
                 {33785, false, main, false, 220}, {50532, true, main, false, 220}, {33780, false, four, true, -1},
                 {50537, true, four, true, -1},   {33781, false, four, true, 237}, {50536, true, four, true, 237}};
  for (const auto& s : streets)
    if (a.id == s.id) return *out = StreetBackground(a, s.english, s.title, s.busLane, s.chartY), true;
  switch (a.id) {
    case 29686: *out = PriorityPlan(a, state); return true;
    case 29689: *out = ControlButton(a, state, 0, "Rechts vor links"); return true;
    case 50603: *out = ControlButton(a, state, 0, "Right before left"); return true;
    case 29690: *out = ControlButton(a, state, 1, "Vorfahrtstra\xC3\x9F" "e"); return true;
    case 50604: *out = ControlButton(a, state, 1, "Priority road"); return true;
    case 33830: *out = Mark(a, state); return true;
    case 29688: *out = IconButton(a, state, ClockIcon); return true;
    case 33808:
    case 33809: *out = LoadBar(a, state); return true;
    case 33817: *out = DirectionPicture(a, state, false); return true;
    case 33816: *out = DirectionPicture(a, state, true); return true;
    case 33815: *out = LabelButton(a, state, "Mehr", 9, {}, false); return true;
    case 50656: *out = LabelButton(a, state, "More", 9, {}, false); return true;
    default: return false;
  }
}

}  // namespace zorgen
