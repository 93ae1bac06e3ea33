// The pictures of the event windows, the message list with its panels and
// the adviser window with its five advisers. The window backgrounds carry
// their captions, close boxes and the light sheets the game writes its
// messages on; the buttons are animations with a normal, a lit and a
// pressed look.
#include <cmath>

#include "gen/gauge_names.h"
#include "gen/ui_paint.h"

namespace zorgen {

namespace {

constexpr int kAdvisers = 5;

// A window's background: a panel, its caption and the sheet for its text.
Canvas* Frame(Canvas& c, const std::string& title, double closeX, double closeW = 14) {
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, c.Width(), c.Height());
  CaptionStrip(cr, c.Width(), title, closeX, closeW);
  return &c;
}

// A small symbol beside a caption or a heading: a bell for events.
void Bell(cairo_t* cr, double x, double y, double s, Rgb8 colour) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, s, s);
  cairo_move_to(cr, -6, 4);
  cairo_curve_to(cr, -6, -6, -4, -8, 0, -8);
  cairo_curve_to(cr, 4, -8, 6, -6, 6, 4);
  cairo_line_to(cr, 8, 6);
  cairo_line_to(cr, -8, 6);
  cairo_close_path(cr);
  Set(cr, colour);
  cairo_fill(cr);
  cairo_restore(cr);
  Disc(cr, x, y + 7.5 * s, 1.8 * s, colour);
}

// ---- buttons

// The jump button: an arrow into a target ring, the place on the map.
void JumpIcon(cairo_t* cr, double w, double h, Rgb8 ink) {
  const double cx = w - 10, cy = h / 2;
  cairo_arc(cr, cx, cy, 4.5, 0, 2 * M_PI);
  cairo_set_line_width(cr, 1.5);
  Set(cr, ink);
  cairo_stroke(cr);
  Disc(cr, cx, cy, 1.6, kRed);
  Line(cr, 6, cy, cx - 7, cy, 2, ink);
  Poly(cr, {{cx - 5, cy}, {cx - 9.5, cy - 3.5}, {cx - 9.5, cy + 3.5}}, ink);
}

Image16 JumpButton(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  ButtonFace(cr, a.width, a.height, state, 3);
  cairo_translate(cr, state == 2 ? 1 : 0, state == 2 ? 1 : 0);
  JumpIcon(cr, a.width, a.height, state == 1 ? kAccent : kTextLight);
  return c.ToImage();
}

// The automatic-display switch: a small box, ticked while lit or pressed.
Image16 SmallSwitch(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  FillRect(cr, 0, 0, a.width, a.height, state == 2 ? Rgb8{30, 36, 56} : kWell);
  Bevel(cr, 0, 0, a.width, a.height, false);
  if (state != 0) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 2.5, 5.5);
    cairo_line_to(cr, 4.5, 8);
    cairo_line_to(cr, 8.5, 2.5);
    cairo_set_line_width(cr, 1.6);
    Set(cr, kAccent);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  }
  return c.ToImage();
}

// The play button: a triangle pointing on.
Image16 PlayButton(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  ButtonFace(cr, a.width, a.height, state, 3);
  const double d = state == 2 ? 1 : 0;
  Poly(cr, {{9 + d, 4 + d}, {18 + d, 8.5 + d}, {9 + d, 13 + d}}, state == 1 ? kAccent : Rgb8{120, 220, 120});
  return c.ToImage();
}

// ---- the five advisers' topics

void GaugeIcon(cairo_t* cr) {
  cairo_arc(cr, 18, 22, 13, M_PI, 2 * M_PI);
  cairo_set_line_width(cr, 5);
  Set(cr, {60, 190, 80});
  cairo_stroke(cr);
  cairo_arc(cr, 18, 22, 13, 1.6 * M_PI, 2 * M_PI);
  Set(cr, {240, 200, 40});
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Line(cr, 18, 22, 27, 13, 2.5, kWhite);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  Disc(cr, 18, 22, 3, kWhite);
  Text(cr, kBold, 8, "km/h", 18, 32, kTextLight, Align::Centre);
}

void StarIcon(cairo_t* cr) {
  cairo_move_to(cr, 18, 4);
  for (int i = 1; i < 10; ++i) {
    const double r = i % 2 ? 6 : 14, t = -M_PI / 2 + i * M_PI / 5;
    cairo_line_to(cr, 18 + r * std::cos(t), 19 + r * std::sin(t));
  }
  cairo_close_path(cr);
  Set(cr, {250, 210, 40});
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1);
  Set(cr, {150, 110, 20});
  cairo_stroke(cr);
}

void LeafIcon(cairo_t* cr) {
  cairo_move_to(cr, 7, 29);
  cairo_curve_to(cr, 6, 12, 16, 5, 30, 6);
  cairo_curve_to(cr, 31, 20, 22, 30, 7, 29);
  Set(cr, {70, 180, 80});
  cairo_fill(cr);
  Line(cr, 7, 29, 24, 12, 1.6, {30, 110, 50});
  Line(cr, 14, 22, 14, 15, 1.2, {30, 110, 50});
  Line(cr, 19, 17, 24, 17, 1.2, {30, 110, 50});
}

void GrowthIcon(cairo_t* cr) {
  const Rgb8 bars[3] = {{120, 160, 220}, {90, 140, 210}, {60, 110, 200}};
  for (int i = 0; i < 3; ++i) FillRect(cr, 6 + i * 9, 30 - 7 * (i + 1), 7, 7 * (i + 1), bars[i]);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Line(cr, 5, 20, 14, 14, 2.2, {60, 190, 80});
  Line(cr, 14, 14, 20, 17, 2.2, {60, 190, 80});
  Line(cr, 20, 17, 29, 7, 2.2, {60, 190, 80});
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  Poly(cr, {{31, 4}, {31.5, 11}, {25, 8}}, {60, 190, 80});
}

void FlagIcon(cairo_t* cr) {
  for (int r = 3; r >= 1; --r) Disc(cr, 14, 26, r * 3.2, r % 2 ? kRed : kWhite);
  FillRect(cr, 13, 4, 2, 22, {220, 224, 232});
  Poly(cr, {{15, 4}, {30, 8.5}, {15, 13}}, {250, 210, 40});
}

// ---- the advisers

struct Look {
  Rgb8 skin, hair, clothes, accent;
  int hairStyle;  // 0 short, 1 long, 2 bun, 3 bald with a rim, 4 curly
  bool glasses;
  bool beard;
};

struct Adviser {
  uint32_t de, en;
  Words topic;
  const char* name;
  Words role;
  Look look;
  Icon icon;
};

// The first three advisers speak of the indicator window's three groups (the
// adviser slots follow the gauges 0-4, 5-9 and 10-12), so their headers carry
// the groups' names as the window and the adviser messages write them.
const Adviser* Advisers() {
  static const Adviser advisers[kAdvisers] = {
      {44205, 50038, kGaugeGroups[0].heading, "Dr. Jana Kessler",
       {"Verkehrsplanerin", "Transport planner"},
       {{241, 205, 180}, {120, 70, 40}, {50, 90, 160}, {250, 210, 40}, 2, true, false}, GaugeIcon},
      {44207, 50044, kGaugeGroups[1].heading, "Tom Brandt",
       {"Umweltberater", "Environmental adviser"},
       {{224, 180, 150}, {60, 50, 45}, {170, 60, 50}, {240, 240, 240}, 0, false, true}, LeafIcon},
      {44206, 50043, kGaugeGroups[2].heading, "Lale Y\xC4\xB1ld\xC4\xB1z",
       {"Mobilit\xC3\xA4tsberaterin", "Mobility adviser"},
       {{200, 150, 115}, {30, 26, 28}, {40, 140, 90}, {250, 220, 120}, 1, false, false}, StarIcon},
      {44204, 50041, {"Stadt & Wachstum", "City & growth"}, "Otto Rehm",
       {"B\xC3\xBCrgermeister", "Mayor"},
       {{236, 196, 170}, {190, 190, 196}, {60, 60, 80}, {200, 40, 40}, 3, true, false}, GrowthIcon},
      {44208, 50045, {"Spielziel", "Your goal"}, "Mara Lind",
       {"Spielleiterin", "Game host"},
       {{150, 100, 70}, {40, 30, 30}, {120, 80, 170}, {250, 210, 40}, 4, false, false}, FlagIcon},
  };
  return advisers;
}

// A head-and-shoulders portrait in a 100 x 100 design square.
void Portrait(cairo_t* cr, const Look& l) {
  // shoulders and collar
  cairo_move_to(cr, 8, 100);
  cairo_curve_to(cr, 10, 78, 26, 70, 50, 70);
  cairo_curve_to(cr, 74, 70, 90, 78, 92, 100);
  cairo_close_path(cr);
  Set(cr, l.clothes);
  cairo_fill(cr);
  Poly(cr, {{40, 70}, {50, 84}, {60, 70}}, l.accent);
  FillRect(cr, 43, 58, 14, 14, l.skin);
  // hair behind the head
  if (l.hairStyle == 1) {
    cairo_move_to(cr, 28, 74);
    cairo_curve_to(cr, 22, 40, 30, 16, 50, 16);
    cairo_curve_to(cr, 70, 16, 78, 40, 72, 74);
    cairo_close_path(cr);
    Set(cr, l.hair);
    cairo_fill(cr);
  }
  if (l.hairStyle == 2) Disc(cr, 50, 14, 9, l.hair);
  if (l.hairStyle == 4)
    for (int i = 0; i < 9; ++i) Disc(cr, 30 + i * 5, 22 + std::abs(i - 4) * 2.2, 8, l.hair);
  // the head
  cairo_save(cr);
  cairo_translate(cr, 50, 42);
  cairo_scale(cr, 1, 1.2);
  cairo_arc(cr, 0, 0, 19, 0, 2 * M_PI);
  cairo_restore(cr);
  Set(cr, l.skin);
  cairo_fill(cr);
  Disc(cr, 31, 44, 3.5, l.skin);
  Disc(cr, 69, 44, 3.5, l.skin);
  // hair on top
  if (l.hairStyle == 0 || l.hairStyle == 1 || l.hairStyle == 2) {
    cairo_move_to(cr, 31, 40);
    cairo_curve_to(cr, 30, 22, 40, 17, 52, 18);
    cairo_curve_to(cr, 64, 18, 71, 26, 69, 40);
    cairo_curve_to(cr, 62, 30, 48, 28, 31, 40);
    Set(cr, l.hair);
    cairo_fill(cr);
  } else if (l.hairStyle == 4) {
    for (int i = 0; i < 7; ++i) Disc(cr, 35 + i * 5, 26 - (i == 0 || i == 6 ? -4 : i == 1 || i == 5 ? -1 : 0), 6, l.hair);
  } else if (l.hairStyle == 3) {
    Disc(cr, 32, 38, 4, l.hair);
    Disc(cr, 68, 38, 4, l.hair);
  }
  // eyes, brows, nose and smile
  Disc(cr, 43, 42, 2.1, {40, 40, 50});
  Disc(cr, 57, 42, 2.1, {40, 40, 50});
  Line(cr, 39.5, 37, 46, 36, 1.4, l.hairStyle == 3 ? Rgb8{120, 120, 126} : l.hair);
  Line(cr, 54, 36, 60.5, 37, 1.4, l.hairStyle == 3 ? Rgb8{120, 120, 126} : l.hair);
  Line(cr, 50, 44, 48.5, 50, 1.2, {170, 120, 100});
  cairo_arc(cr, 50, 51, 6, 0.2 * M_PI, 0.8 * M_PI);
  cairo_set_line_width(cr, 1.6);
  Set(cr, {150, 60, 60});
  cairo_stroke(cr);
  if (l.beard) {
    cairo_move_to(cr, 33, 48);
    cairo_curve_to(cr, 34, 66, 44, 66, 50, 66);
    cairo_curve_to(cr, 56, 66, 66, 66, 67, 48);
    cairo_curve_to(cr, 62, 58, 56, 56, 50, 57);
    cairo_curve_to(cr, 44, 56, 38, 58, 33, 48);
    Set(cr, l.hair, 0.9);
    cairo_fill(cr);
  }
  if (l.glasses) {
    cairo_set_line_width(cr, 1.3);
    Set(cr, {30, 30, 40});
    cairo_arc(cr, 43, 42, 5, 0, 2 * M_PI);
    cairo_stroke(cr);
    cairo_arc(cr, 57, 42, 5, 0, 2 * M_PI);
    cairo_stroke(cr);
    Line(cr, 48, 42, 52, 42, 1.3, {30, 30, 40});
  }
}

// The adviser page beside the topic column: the adviser's portrait in a
// medallion with name and topic, and the sheet for the adviser's text, with
// a faint large portrait in its lower corner.
Image16 AdviserPage(const UiArt& a, const Adviser& who, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  Sheet(cr, 5, 34, a.width - 10, a.height - 39);
  cairo_save(cr);
  cairo_rectangle(cr, 6, 35, a.width - 12, a.height - 41);
  cairo_clip(cr);
  cairo_push_group(cr);
  cairo_translate(cr, a.width - 120, a.height - 118);
  cairo_scale(cr, 1.2, 1.2);
  Portrait(cr, who.look);
  cairo_pop_group_to_source(cr);
  cairo_paint_with_alpha(cr, 0.13);
  cairo_restore(cr);
  // the medallion
  Disc(cr, 20, 18, 17, kAccent);
  Disc(cr, 20, 18, 15.5, {200, 215, 235});
  cairo_save(cr);
  cairo_arc(cr, 20, 18, 15.5, 0, 2 * M_PI);
  cairo_clip(cr);
  cairo_translate(cr, 3, 2);
  cairo_scale(cr, 0.34, 0.34);
  Portrait(cr, who.look);
  cairo_restore(cr);
  Text(cr, kCondensedBold, 12, who.name, 44, 15, kTextLight);
  Text(cr, kCondensed, 10, who.role.In(english), 44, 28, {190, 200, 225});
  Text(cr, kCondensedBold, 11, who.topic.In(english), a.width - 10, 15, kAccent, Align::Right);
  return c.ToImage();
}

Image16 AdviserCaption(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  CaptionStrip(c.cr(), a.width, english ? "Your advisers" : "Ihre Berater", 348);
  return c.ToImage();
}

// The column of the five topic buttons, each in a well.
Image16 AdviserColumn(const UiArt& a) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  for (int y : {45, 88, 131, 180, 223}) Well(cr, 8, y - 21 - 2, 40, 40);
  // the last two topics are the city's and the game's: set apart by a rule
  Line(cr, 6, 154.5, 45, 154.5, 1, kEdgeDark);
  return c.ToImage();
}

Image16 TopicButton(const UiArt& a, int state, const Adviser& who) { return IconButton(a, state, who.icon); }

// ---- the event windows

// A light sheet with its text area; a heading above it where there is room.
Image16 EventBackground(const UiArt& a, Words title, Words heading, bool english, double sheetY, double sheetH,
                        double closeX) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Frame(c, title.In(english), closeX);
  Bell(cr, a.width - (closeX >= 0 ? 42 : 20), 10, 0.8, kAccent);
  if (heading.de) Text(cr, kBold, 12, heading.In(english), 22, sheetY - 8, kAccent);
  Sheet(cr, 12, sheetY, a.width - 24, sheetH);
  return c.ToImage();
}

Image16 EventWindow(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Frame(c, english ? "Event" : "Ereignis", 380);
  Bell(cr, 352, 10, 0.8, kAccent);
  Sheet(cr, 15, 30, a.width - 30, 135);
  Well(cr, 335, 174, 13, 13);
  Text(cr, kCondensed, 10, english ? "Show events automatically" : "Ereignisse automatisch zeigen", 330, 185,
       kTextLight, Align::Right);
  return c.ToImage();
}

Image16 MessageList(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Frame(c, english ? "Events - newest first" : "Ereignisse - neueste zuerst", 418, 25);
  Sheet(cr, 12, 25, 424, 90);
  FillRect(cr, 420, 26, 15, 88, {200, 196, 182});
  for (int row = 0; row < 5; ++row) Line(cr, 14, 26 + 16.5 + row * 16, 419, 26 + 16.5 + row * 16, 1, {222, 216, 198});
  Well(cr, 95, 117, 13, 13);
  Text(cr, kCondensed, 10, english ? "Auto display" : "Automatisch", 90, 128, kTextLight, Align::Right);
  Text(cr, kCondensed, 10, english ? "Delete marked event" : "Markiertes Ereignis l\xC3\xB6schen", 402, 128,
       kTextLight, Align::Right);
  return c.ToImage();
}

// The panel below the list: a sheet for the selected event's long text and
// a close mark; it carries no words, so one picture serves both languages.
Image16 MessagePanel(const UiArt& a) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  Sheet(cr, 12, 18, a.width - 24, a.height - 26);
  CloseMark(cr, 417, 6, 12, 11);
  Bell(cr, 22, 9, 0.6, kAccent);
  return c.ToImage();
}

const Words kGameOver{"Das Spiel ist zu Ende", "The game is over"};
const Words kNoHeading{nullptr, nullptr};
// The caption of a picture that both languages show: its bell alone.
const Words kNoTitle{"", ""};

}  // namespace

bool DrawAdviserArt(const UiArt& a, int state, Image16* out) {
  for (int i = 0; i < kAdvisers; ++i) {
    const Adviser& who = Advisers()[i];
    if (a.id == who.de || a.id == who.en) return *out = AdviserPage(a, who, a.id == who.en), true;
  }
  static const uint32_t topics[kAdvisers][2] = {
      {44230, 50581}, {44232, 50583}, {44231, 50582}, {44236, 50579}, {44233, 50585}};
  for (int i = 0; i < kAdvisers; ++i)
    if (a.id == topics[i][0] || a.id == topics[i][1]) return *out = TopicButton(a, state, Advisers()[i]), true;
  switch (a.id) {
    case 39844: *out = EventWindow(a, false); return true;
    case 50089: *out = EventWindow(a, true); return true;
    case 43844: *out = EventBackground(a, kGameOver, kNoHeading, false, 27, 107, 380); return true;
    case 50092: *out = EventBackground(a, kGameOver, kNoHeading, true, 27, 107, 380); return true;
    case 49918: *out = EventBackground(a, kNoTitle, kNoHeading, false, 27, 107, -1); return true;
    case 43833:
    case 50091:
      *out = EventBackground(a, {"Szenario", "Scenario"}, {"Ihre Aufgabe", "Your task"}, a.id == 50091, 50, 258, -1);
      return true;
    case 43834:
    case 50093:
      *out = EventBackground(a, {"Ziel erreicht", "Goal reached"},
                             {"Wie m\xC3\xB6" "chten Sie weiterspielen?", "How would you like to go on?"},
                             a.id == 50093, 50, 138, -1);
      return true;
    case 44234: *out = EventBackground(a, kNoTitle, kNoHeading, false, 30, 158, -1); return true;
    case 49484: *out = MessageList(a, false); return true;
    case 50075: *out = MessageList(a, true); return true;
    case 49485: *out = MessagePanel(a); return true;
    case 37539: *out = AdviserCaption(a, false); return true;
    case 50062: *out = AdviserCaption(a, true); return true;
    case 37538: *out = AdviserColumn(a); return true;
    case 37553: *out = JumpButton(a, state); return true;
    case 37552: *out = SmallSwitch(a, state); return true;
    case 43853: *out = LabelButton(a, state, "Neues Spiel", 10, {}, false); return true;
    case 50588: *out = LabelButton(a, state, "New game", 10, {}, false); return true;
    case 43855: *out = LabelButton(a, state, "Beenden", 10, {}, false); return true;
    case 50589: *out = LabelButton(a, state, "Exit", 10, {}, false); return true;
    case 43852: *out = LabelButton(a, state, "Weiterspielen", 10, {}, false); return true;
    case 50749: *out = LabelButton(a, state, "Play on", 10, {}, false); return true;
    case 43851: *out = PlayButton(a, state); return true;
    case 49487: *out = CloseBox(a, state); return true;
    default: return false;
  }
}

}  // namespace zorgen
