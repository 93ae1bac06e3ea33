// The exhibition's windows: a chain of picture pages that explain the game
// to a visitor and lead through one of two short tasks, a bus line between
// two marked places or a marked street, with the line window and the two
// street windows of the kiosk. Windows 300-332 carry the German page (and
// most of them its English one); 400-423 are the English chain. The pages'
// buttons run the exhibition's own actions (kinds 98-103) and open the
// next page; god mode runs the task, its warnings and the rating.
#include <string>

#include "windows/window_rows.h"

namespace {

constexpr int kNone = CWindowRows::kNone;
constexpr int kFont = 823;
constexpr int kNextButton = 43889;

// Kinds of the actions these windows run.
constexpr int kOpen = 2, kClose = 6, kPressedWhileEquals = 12, kStepUp = 16, kStepDown = 17, kSet = 21,
              kToggle = 24, kStateFromVars = 25, kTheEnd = 81, kClearBlocked = 96,
              kExpoModus = 98, kExpoStopType = 99, kExpoHeadway = 100, kExpoRate = 101, kExpoStreetType = 103;

class CExpoPages {
 public:
  explicit CExpoPages(CWindowBuilder& b) : m_b(b), m(b) {}

  void Page(int id, int x, int y, int w, int h, bool centred = false) {
    m.Window(id, x, y, w, h, 1, WINDOW_NORMAL, centred ? POSITION_CENTERED : POSITION_FIXED);
  }
  void Menu(int id, int x, int y, int w, int h) { m.Window(id, x, y, w, h, 1, WINDOW_MENU); }
  // The page's picture; en is the English one, kNone when the page has only one.
  void Picture(int w, int h, int de, int en = kNone) {
    if (en == kNone)
      m.Picture(0, 0, w, h, 2, de);
    else
      m.Picture(0, 0, w, h, 2, de, en);
  }
  // A button picture; its actions follow.
  void Button(int x, int y, int w, int h, int picture = kNextButton) { m.Picture(x, y, w, h, 13, picture); }
  void Press(int kind, int p1 = kNone, int p2 = kNone) { m.Press(kind, p1, p2); }
  void Hover() { m.Hover(); }
  // A next button: opens `next` (kNone for none) and closes its own page.
  void Next(int x, int y, int own, int next) {
    Button(x, y, 26, 17);
    if (next != kNone) Press(kOpen, next, 1);
    Press(kClose, own);
    Hover();
  }
  // The passengers of the line, for the result pages.
  void Figure(int x, int y, int w, int h, const char* name) {
    const std::string markup = std::string("@#var,FLOAT,NULL,") + name + "#";
    m.Text(x, y, w, h, 7, markup.c_str(), "", HO_LEFT, kFont);
    m.Var(VAR_INT, name);
  }
  // The button that ends a visit.
  void EndButton() {
    Button(156, 238, 27, 16);
    Press(kTheEnd, 1);
    Hover();
  }
  void ResultPage(int id, int figureX, int de, int en) {
    Page(id, 236, 150, 327, 267);
    if (figureX != kNone) Figure(figureX, 51, 32, 10, "OPNV.LINE.PASSENGER");
    EndButton();
    Picture(327, 267, de, en);
  }
  // A street window of the kiosk: speeds, loads, direction, the 24-hour
  // chart and the traffic-guidance switch; with four speeds the bus lane.
  void StreetWindow(int id, int h, int dy, bool fourSpeeds, int direction, int de, int en);

  CWindowBuilder& m_b;
  CWindowRows m;
};

void CExpoPages::StreetWindow(int id, int h, int dy, bool fourSpeeds, int direction, int de, int en) {
  Page(id, 90, 120, 211, 247);
  m_b.DeActivateWindow(id);
  m.HotArea(0, 0, 211, 23);
  m.Drag();
  m.Hover();
  m.StreetDirectionAndLoads(dy, direction);
  m_b.AddItem(-2, -1, 39, 220 + dy, 156, 36, 22, kNone, kNone);
  Picture(211, h, de, en);
  // The speed limits, left to right: 4, 1, 2 and, with four, 3.
  m.Dialog(1, fourSpeeds ? 71 : 98, 26, 25, fourSpeeds ? 106 : 79, 1, "ST.SPEED");
  m.DialogVar(VAR_FLOAT, "ST.SPEED");
  const int speeds[][2] = {{41494, 4}, {33811, 1}, {33812, 2}, {33810, 3}};
  for (int i = 0; i < (fourSpeeds ? 4 : 3); ++i) {
    Button(27 * i, 0, 25, 14, speeds[i][0]);
    m.Act(kPressedWhileEquals, WHEN_MOVE_FIRST, INOUT_ALWAYS, speeds[i][1]);
    Press(kSet, speeds[i][1]);
    Hover();
    m.Var(VAR_FLOAT, "ST.SPEED");
  }
  const char* switches[] = {"ST.VLS", "ST.BUSSPUR"};
  for (int i = 0; i < (fourSpeeds ? 2 : 1); ++i) {
    m.Dialog(1, 165, 44 + 17 * i, 12, 12, 1, switches[i]);
    m.DialogVar(VAR_INT, switches[i]);
    m.TwoState(0, 0, 12, 12, 2, 33720, 33721);
    Press(kToggle, 1);
    m.Act(kStateFromVars, WHEN_TURN, INOUT_ALWAYS);
    m.Var(VAR_INT, switches[i]);
  }
}

}  // namespace

int CZorvaWindows::WindowAddExpo() {
  CExpoPages p(m_builder);
  // The opening pages, centred; page 303 (402) offers the two tasks.
  const struct {
    int id, w, h, nextX, nextY, next, de, en;
  } openings[] = {{300, 383, 170, 349, 147, 302, 43770, 43796},
                  {302, 480, 230, 440, 204, 303, 43772, 43769}};
  for (const auto& o : openings) {
    p.Page(o.id, 50, 50, o.w, o.h, true);
    p.Next(o.nextX, o.nextY, o.id, o.next);
    p.Picture(o.w, o.h, o.de, o.en);
  }
  const struct {
    int id, w, h, y, busX, busW, streetX, streetW, busPicture, streetPicture, bus, street, de, en;
  } choices[] = {{303, 412, 227, 178, 49, 150, 49, 110, 43925, 43927, 304, 316, 43771, 43768},
                 {402, 399, 247, 198, 97, 55, 63, 84, 43924, 43926, 404, 413, 43768, kNone}};
  const struct {
    int id, w, h, nextX, nextY, next, picture;
  } englishOpenings[] = {{400, 375, 166, 333, 138, 401, 43796}, {401, 415, 225, 193, 202, 402, 43769}};
  auto choicePage = [&](const auto& c) {
    p.Page(c.id, 50, 50, c.w, c.h, true);
    p.Button(c.busX, c.y, c.busW, 15, c.busPicture);
    p.Press(kExpoModus, 1);
    p.Press(kOpen, c.bus, 1);
    p.Press(kClose, c.id, 1);
    p.Hover();
    p.Button(c.streetX, c.y + 18, c.streetW, 15, c.streetPicture);
    p.Press(kExpoModus, 2);
    p.Press(kOpen, c.street, 1);
    p.Press(kClose, c.id, 1);
    p.Hover();
    p.Picture(c.w, c.h, c.de, c.en);
  };
  choicePage(choices[0]);
  for (const auto& o : englishOpenings) {
    p.Page(o.id, 50, 50, o.w, o.h, true);
    p.Next(o.nextX, o.nextY, o.id, o.next);
    p.Picture(o.w, o.h, o.picture);
  }
  choicePage(choices[1]);

  // The bus task: the stop page opens the choice of stop over the middle
  // of its centred note. The button's actions run newest first: the menu
  // opens after the note and stands in front of it.
  const struct {
    int id, w, nextX, de, en;
  } stopPages[] = {{404, 321, 142, 43773, kNone}, {304, 341, 299, 43784, 43773}};
  for (const auto& s : stopPages) {
    p.Page(s.id, 229, 150, s.w, 194, true);
    p.Button(s.nextX, 164 + (s.id == 304 ? 1 : 0), 26, 17);
    p.Press(kOpen, 326, 1);
    p.Press(kOpen, 305, 1);
    p.Press(kClose, s.id);
    p.Hover();
    p.Picture(s.w, 194, s.de, s.en);
  }
  p.Page(305, 258, 150, 283, 70, true);
  p.Picture(283, 70, 43785, 43774);
  p.Menu(326, 377, 250, 46, 95);
  const int stops[][3] = {{16, 18692, 23}, {53, 19388, 25}};
  for (const auto& s : stops) {
    p.Button(5, s[0], 36, 36, s[1]);
    p.Hover();
    p.Press(kExpoStopType, s[2]);
    p.Press(kClose, 326);
    p.Press(kClose, 305);
    p.Press(kClearBlocked);
  }
  p.Picture(46, 95, 43928);
  // The notes after a wrong click and after the first stop.
  p.Page(306, 242, 150, 315, 100);
  p.Picture(315, 100, 43786, 43775);
  p.Page(407, 250, 150, 250, 102);
  p.Next(112, 78, 407, kNone);
  p.Picture(250, 102, 43776);
  p.Page(307, 250, 150, 287, 107);
  p.Next(251, 82, 307, kNone);
  p.Picture(287, 107, 43787, 43776);
  // The headway: every 5, 10 or 15 minutes.
  const struct {
    int id, h, y, xs[3], next, picture;
  } headways[] = {{308, 127, 100, {35, 60, 106}, 309, 43788}, {408, 145, 118, {46, 70, 104}, 403, 43777}};
  for (const auto& hw : headways) {
    p.Page(hw.id, -14, 150, hw.id == 308 ? 287 : 323, hw.h);
    for (int i = 0; i < 3; ++i) {
      p.Button(hw.xs[i], hw.y, 18, 17, 43904 + i);
      p.Hover();
      p.Press(kExpoHeadway, 5 * (i + 1));
      p.Press(kOpen, hw.next, 1);
      p.Press(kClose, hw.id);
    }
    p.Picture(hw.id == 308 ? 287 : 323, hw.h, hw.picture);
  }
  // The line window: its label, the user share and passengers, the headway.
  p.Page(311, 281, 70, 237, 84);
  p.m.Text(17, 56, 52, 14, 7, "Bus 1", "", HO_LEFT, kFont);
  p.m.HotArea(0, 0, 237, 21);
  p.m.Drag();
  p.Hover();
  p.Figure(129, 55, 42, 16, "OPNV.LINE.USERQUOTE");
  p.Figure(180, 55, 42, 16, "OPNV.LINE.PASSENGER");
  p.Picture(237, 84, 43934, 44012);
  p.m.Dialog(1, 79, 54, 44, 16, 1, "OPNV.LINE.TAKT");
  p.m.DialogVar(VAR_FLOAT, "OPNV.LINE.TAKT");
  p.Button(0, 0, 8, 18, 25864);
  p.Press(kStepDown, 1);
  p.Hover();
  p.Button(36, 0, 8, 18, 25865);
  p.m.Act(kStepUp, WHEN_LEFT_UP, INOUT_ALWAYS);
  p.m.Act(11, WHEN_MOVE_FIRST, INOUT_ALWAYS);
  p.Figure(9, 1, 24, 16, "OPNV.LINE.TAKT");
  // The pages before the rating: the line runs until the rating time is up.
  const struct {
    int id, w, h, x, y, picture;
  } waits[] = {{309, 344, 191, 299, 159, 43789}, {403, 358, 208, 167, 178, 43778}};
  for (const auto& w : waits) {
    p.Page(w.id, 250, 150, w.w, w.h);
    p.Button(w.x, w.y, 26, 17);
    p.Press(kExpoRate);
    p.Press(kClose, w.id, 1);
    p.Hover();
    p.Picture(w.w, w.h, w.picture);
  }
  const struct {
    int id, closes, de, en;
  } leaves[] = {{310, 316, 43790, 43779}, {411, 413, 43779, kNone}};
  for (const auto& l : leaves) {
    p.Page(l.id, 250, 150, 298, 50);
    p.Button(95, 76, 56, 16);
    p.Press(kClose, l.closes, 1);
    p.Press(kClose, l.id, 1);
    p.Picture(298, 50, l.de, l.en);
  }
  // The rating of the line: German figures left, English further right.
  const int ratings[][2] = {{44004, 44000}, {44003, 43999}, {44002, 43998}, {44001, 43997}};
  for (int i = 0; i < 4; ++i) p.ResultPage(312 + i, 97, ratings[i][0], ratings[i][1]);
  for (int i = 0; i < 4; ++i) p.ResultPage(420 + i, 151, ratings[i][0], ratings[i][1]);

  // The street task: two pages, then the choice of street type.
  const struct {
    int id, w, h, x, next, picture;
  } streetPages[] = {{316, 289, 180, 251, 318, 43804}, {413, 294, 190, 137, 415, 43795}};
  for (const auto& s : streetPages) {
    p.Page(s.id, 50, 50, s.w, s.h);
    p.Button(s.x, s.h - 26, 27, 16);
    p.Press(kClose, s.id, 1);
    p.Press(kOpen, s.next, 1);
    p.Hover();
    p.Picture(s.w, s.h, s.picture);
  }
  p.Page(317, 250, 150, 283, 70);
  p.Picture(283, 70, 43806, 43797);
  p.Menu(325, 377, 250, 46, 95);
  m_builder.DeActivateWindow(325);
  const int types[][3] = {{17, 18643, 2}, {54, 18686, 4}};
  for (const auto& t : types) {
    p.Button(5, t[0], 36, 36, t[1]);
    if (t[2] == 4) p.Press(kClearBlocked);
    p.Hover();
    p.Press(kExpoStreetType, t[2]);
    if (t[2] == 2) p.Press(kClearBlocked);
    p.Press(kClose, 325, 1);
    p.Press(kClose, 317, 1);
  }
  p.Picture(46, 95, 43928);
  const struct {
    int id, w, h, x, y, picture;
  } typePages[] = {{318, 317, 110, 147, 85, 43805}, {415, 305, 123, 139, 99, 43767}};
  for (const auto& t : typePages) {
    p.Page(t.id, 250, 150, t.w, t.h);
    p.Button(t.x, t.y, 26, 17);
    p.Press(kOpen, 317, 1);
    p.Press(kOpen, 325, 1);
    p.Press(kClose, t.id);
    p.Hover();
    p.Picture(t.w, t.h, t.picture);
  }
  // Short notes without a button: god mode closes them.
  const struct {
    int id, x, y, w, de, en;
  } notes[] = {{328, 285, 150, 229, 43807, 43798}, {327, 285, 150, 229, 43808, 43799},
               {319, 420, 200, 275, 43810, 43801}};
  for (const auto& n : notes) {
    p.Page(n.id, n.x, n.y, n.w, 69);
    p.Picture(n.w, 69, n.de, n.en);
  }
  // The rating of the street.
  for (int i = 0; i < 4; ++i) p.ResultPage(321 + i, kNone, 43947 + 2 * i, 43948 + 2 * i);
  p.StreetWindow(330, 247, 0, false, 33817, 43941, 44010);
  p.StreetWindow(332, 264, 17, true, 33816, 43940, 44011);
  return 0;
}
