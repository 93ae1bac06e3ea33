// The public-transport windows: the group 120 with its seven pages (finances,
// fleet, lines, passenger information, personnel, advertising, fares), the
// bus and tram line lists 131 and 132 and the small empty window 123. Every
// value they show or change is a variable of public transport, bound after
// the builders ran; the buttons change it through the dialog that holds it.
#include "windows/window_add_opnv.h"

#include <iterator>
#include <string>

#include "windows/window_builders.h"
#include "windows/window_rows.h"

namespace zorwin {

namespace {

constexpr int kNone = CWindowRows::kNone;
constexpr int kFigures = 19671;      // the figures of the pages
constexpr int kFleetFigures = 28387;  // the fleet purchase's figures
constexpr int kMinus = 25864, kPlus = 25865;
constexpr int kHelp = 25863;
constexpr int kSwitchOff = 25849, kSwitchOn = 25850;
constexpr int kPageW = 337, kPageH = 349;

// Adds the rows of one window: items of the window itself or, after Dialog,
// of the newest dialog with that id.
class Rows {
 public:
  explicit Rows(CWindowBuilder& b) : m_b(b) {}

  void Window(int id, int x, int y, int w, int h, int parent, bool closed) {
    m_b.AddWindow(id, x, y, w, h, parent, WINDOW_NORMAL, POSITION_FIXED, 0);
    if (closed) m_b.DeActivateWindow(id);
    m_d = -1;
  }
  // A page of the group: right of the button column, below the caption.
  void Page(int id, bool closed) { Window(id, 51, 21, kPageW, kPageH, kOpnvGroup, closed); }
  void Dialog(int id, int x, int y, int w, int h, EDialogType type) {
    m_b.AddDialog(-2, id, x, y, w, h, type, "OPNV");
    m_d = id;
  }
  // A variable of the dialog itself.
  void DialogVar(EVarType type, const char* name) { m_b.AddVar(-2, m_d, -1, type, "NULL", name); }
  // A variable of the item just added.
  void Var(EVarType type, const char* name) { m_b.AddVar(-2, m_d, -2, type, "NULL", name); }

  void Picture(int x, int y, int w, int h, EItemType type, int de, int en = kNone) {
    if (en == kNone)
      m_b.AddItem(-2, m_d, x, y, w, h, type, de, kNone);
    else
      m_b.AddItem(-2, m_d, x, y, w, h, type, de, kNone, en, kNone);
  }
  // A picture with a second state picture: off and on.
  void TwoState(int x, int y, int w, int h, int first, int second) {
    m_b.AddItem(-2, m_d, x, y, w, h, 2, first, second);
  }
  void Rect(int x, int y, int w, int h) { m_b.AddItem(-2, m_d, x, y, w, h, 4, 1, 2000); }
  void Slider(int x, int y, int w, int h) { m_b.AddItem(-2, m_d, x, y, w, h, 35, kNone, kNone); }
  void Text(int x, int y, int w, int h, const char* text, int font, const char* en = "") {
    m_b.AddItem(-2, m_d, x, y, w, h, 7, text, HO_CENTER, VO_CENTER, 3, font, 0, 1, 2, 3, en);
  }
  // A figure: the variable's value through its markup token.
  void Figure(int x, int y, int w, int h, const char* markup, int font = kFigures) { Text(x, y, w, h, markup, font); }

  void Act(EActionType kind, EActionWhen when, EInOutType inout, int p1 = kNone, int p2 = kNone, int p3 = kNone) {
    m_b.AddAction(-2, m_d, -2, kind, when, inout, p1, p2, p3, "opnv", kNone);
  }
  // An action of the dialog itself.
  void DialogAct(EActionType kind, EActionWhen when, EInOutType inout) {
    m_b.AddAction(-2, m_d, -1, kind, when, inout, kNone, kNone, kNone, "opnv", kNone);
  }
  void Hover() { Act(11, WHEN_MOVE, INOUT_ALWAYS); }
  void Press(EActionType kind, int p1 = kNone, int p2 = kNone) { Act(kind, WHEN_LEFT_DOWN, INOUT_INSIDE, p1, p2); }
  void Balloon(int nr) { Act(33, WHEN_MOVE, INOUT_INSIDE, nr); }
  void Drag() {
    Act(8, WHEN_LEFT_DOWN, INOUT_INSIDE);
    Act(7, WHEN_MOVE_FIRST, INOUT_ALWAYS);
    Act(9, WHEN_LEFT_UP, INOUT_ALWAYS);
  }
  void Help(int x, int y, int entry, int width) { m_b.AddHilfeDynamic(x, y, entry, width, kNone, kHelp, kNone); }

  // The minus button steps the dialog's variable down on a press; the plus
  // button up on the release.
  void Minus(int x, int y, int w, int h) {
    Picture(x, y, w, h, 13, kMinus);
    Press(17, 1);
    Hover();
  }
  void Plus(int x, int y, int w, int h) {
    Picture(x, y, w, h, 13, kPlus);
    Act(16, WHEN_LEFT_UP, INOUT_ALWAYS);
    Act(11, WHEN_MOVE_FIRST, INOUT_ALWAYS);
  }

 private:
  CWindowBuilder& m_b;
  int m_d = -1;
};

std::string Markup(const char* name) { return std::string("@#var,INT,NULL,") + name + "#"; }

// A figure and the variable it shows, both of the item.
void BoundFigure(Rows& r, int x, int y, int w, int h, const char* name, int font) {
  r.Figure(x, y, w, h, Markup(name).c_str(), font);
  r.Var(VAR_INT, name);
}

void AddGroup(Rows& r) {
  r.Window(kOpnvGroup, 411, 0, 388, 370, 1, true);
  r.Picture(0, 0, 388, 21, 2, 25861, 50171);
  r.Drag();
  r.Hover();
  r.Picture(353, 1, 19, 19, 13, 19021);
  r.Press(46, kOpnvGroup);
  r.Hover();
  // The page buttons; finances, fleet and lines look pressed while open.
  r.Picture(10, 88, 36, 36, 13, 18720);
  r.Hover();
  r.Press(35, kOpnvFleet, 1);
  r.Act(87, WHEN_TURN, INOUT_ALWAYS, kOpnvFleet);
  r.Balloon(77);
  r.Picture(10, 45, 36, 36, 13, 18716);
  r.Hover();
  r.Press(35, kOpnvFinances, 1);
  r.Balloon(78);
  r.Act(87, WHEN_TURN, INOUT_ALWAYS, kOpnvFinances);
  r.Picture(10, 131, 36, 36, 13, 18719);
  r.Hover();
  r.Press(35, kOpnvLines, 1);
  r.Balloon(79);
  r.Act(87, WHEN_TURN, INOUT_ALWAYS, kOpnvLines);
  const struct {
    int y, picture, page, balloon;
  } others[] = {{174, 18717, kOpnvServices, 80}, {217, 18722, kOpnvPersonnel, 81},
                {260, 18718, kOpnvAdvertising, 82}, {303, 18721, kOpnvFares, 83}};
  for (const auto& o : others) {
    r.Picture(10, o.y, 36, 36, 13, o.picture);
    r.Hover();
    r.Press(35, o.page, 1);
    r.Balloon(o.balloon);
  }
  r.Picture(0, 21, 51, 349, 2, 25857);
  r.Picture(0, 0, 388, 21, 2, 25861, 50171);
}

// One staff row: the staff, the staff needed and the quota to set.
void AddStaffRow(Rows& r, int dialog, int y, int staffX, const char* name) {
  const std::string needed = std::string(name) + ".NEEDED", quote = std::string(name) + ".QUOTE";
  r.Dialog(dialog, 0, 0, kPageW, kPageH, 1);
  r.DialogVar(VAR_INT, name);
  r.DialogVar(VAR_INT, needed.c_str());
  r.DialogVar(VAR_INT, quote.c_str());
  r.Figure(staffX, y, 42, 14, Markup(name).c_str());
  r.Figure(197, y, 42, 14, Markup(needed.c_str()).c_str());
  r.Figure(259, y, 28, 14, Markup(quote.c_str()).c_str());
  r.Minus(250, y - 1, 8, 17);
  r.Plus(287, y - 1, 8, 17);
}

void AddPersonnel(Rows& r) {
  r.Page(kOpnvPersonnel, true);
  r.Help(244, 157, 68, 260);
  r.Picture(0, 0, kPageW, kPageH, 2, 25855, 50173);
  AddStaffRow(r, 1, 50, 142, "OPNV.PERS.DRIVER");
  AddStaffRow(r, 2, 78, 142, "OPNV.PERS.MECHANICS");
  AddStaffRow(r, 3, 106, 140, "OPNV.PERS.SERVICE");
  r.Dialog(5, 0, 0, kPageW, kPageH, 1);
  r.DialogVar(VAR_INT, "OPNV.PERS");
  r.DialogVar(VAR_INT, "OPNV.PERS.NEEDED");
  r.DialogVar(VAR_INT, "OPNV.PERS.COST");
  r.Figure(142, 135, 42, 14, "@#var,INT,NULL,OPNV.PERS#");
  r.Figure(197, 135, 42, 14, "@#var,INT,NULL,OPNV.PERS.NEEDED#");
  r.Figure(142, 186, 97, 14, "@#var,INT,NULL,OPNV.PERS.COST#");
  r.Picture(141, 155, 99, 19, 13, 25872);
  r.Act(25, WHEN_TURN, INOUT_ALWAYS, kNone, kNone, 6);
  r.Var(VAR_FLOAT, "OPNV.PERS.QUALI");
}

// The purchase or sale of one kind of vehicle: a small number editor.
void AddTradeEditor(Rows& r, int dialog, int y, int textY, const char* name) {
  r.Dialog(dialog, 254, y, 55, 14, 1);
  r.DialogVar(VAR_INT, name);
  r.Minus(0, 0, 8, 14);
  r.Plus(47, 0, 8, 14);
  r.Figure(9, textY, 37, 14, Markup(name).c_str(), kFleetFigures);
}

// The button that books an entered purchase or sale.
void AddTradeButton(Rows& r, int y, const char* name) {
  r.Picture(234, y, 75, 16, 13, 44383, 50631);
  r.Var(VAR_INT, name);
  r.Press(45);
  r.Act(11, WHEN_MOVE_FIRST, INOUT_ALWAYS);
}

void AddFleet(Rows& r) {
  r.Page(kOpnvFleet, true);
  for (const int entry : {71, 72, 73, 74}) r.Help(148, 52 + (entry - 71) * 17, entry, 310);
  r.Help(148, 257, 75, 310);
  AddTradeButton(r, 204, "OPNV.FP.BUS.BUYSELL.OK");
  BoundFigure(r, 234, 136, 75, 16, "OPNV.FP.BUS.BUYSELL.COST", kFleetFigures);
  BoundFigure(r, 234, 153, 75, 16, "OPNV.FP.BUS.BUYSELL.INCOME", kFleetFigures);
  BoundFigure(r, 234, 183, 75, 16, "OPNV.FP.BUS.BUYSELL.TOTAL", kFleetFigures);
  BoundFigure(r, 102, 51, 37, 16, "OPNV.FP.BUS.NORMAL", kFigures);
  BoundFigure(r, 102, 68, 37, 16, "OPNV.FP.BUS.LOWFLOOR", kFigures);
  BoundFigure(r, 102, 85, 37, 16, "OPNV.FP.BUS.H2", kFigures);
  BoundFigure(r, 102, 102, 37, 16, "OPNV.FP.BUS.ENERGIE", kFigures);
  BoundFigure(r, 92, 136, 47, 16, "OPNV.FP.BUS", kFigures);
  BoundFigure(r, 102, 153, 37, 16, "OPNV.FP.BUS.NEEDED", kFigures);
  AddTradeButton(r, 294, "OPNV.FP.TRAM.BUYSELL.OK");
  BoundFigure(r, 234, 273, 75, 16, "OPNV.FP.TRAM.BUYSELL.PRICE", kFleetFigures);
  BoundFigure(r, 92, 256, 47, 16, "OPNV.FP.TRAM", kFigures);
  BoundFigure(r, 102, 273, 37, 16, "OPNV.FP.TRAM.NEEDED", kFigures);
  r.Picture(0, 0, kPageW, kPageH, 2, 44385, 50176);
  AddTradeEditor(r, 1, 52, 1, "OPNV.FP.BUS.NORMAL.BUYSELL");
  AddTradeEditor(r, 2, 69, 1, "OPNV.FP.BUS.LOWFLOOR.BUYSELL");
  AddTradeEditor(r, 3, 86, 1, "OPNV.FP.BUS.H2.BUYSELL");
  AddTradeEditor(r, 4, 103, 1, "OPNV.FP.BUS.ENERGIE.BUYSELL");
  AddTradeEditor(r, 5, 257, 0, "OPNV.FP.TRAM.BUYSELL");
}

void AddAdvertising(Rows& r) {
  r.Page(kOpnvAdvertising, false);
  r.Help(301, 34, 65, 260);
  r.Help(301, 129, 66, 260);
  r.Help(301, 224, 67, 260);
  r.Picture(0, 0, kPageW, kPageH, 2, 25856, 50172);
  // Three campaigns of each kind, each a switch and the campaign's progress.
  const char* kinds[] = {"PRICE", "NET", "SERVICE"};
  const int firstY[] = {56, 151, 246};
  int dialog = 1;
  for (int k = 0; k < 3; ++k)
    for (int n = 1; n <= 3; ++n, ++dialog) {
      const std::string name = std::string("OPNV.ADVERTISEMENT.") + kinds[k] + ".NR" + std::to_string(n);
      const int y = firstY[k] + (n - 1) * 21;
      r.Dialog(dialog, 0, 0, kPageW, kPageH, 1);
      r.DialogVar(VAR_INT, name.c_str());
      r.TwoState(171, y, 12, 11, kSwitchOff, kSwitchOn);
      r.Press(24, 1);
      r.Act(25, WHEN_TURN, INOUT_ALWAYS);
      r.Var(VAR_INT, name.c_str());
      r.Picture(207, y - 1, 80, 15, 13, 25868 + n);
      r.Act(25, WHEN_TURN, INOUT_ALWAYS, kNone, kNone, 8);
      r.Var(VAR_FLOAT, (name + ".PERCENTREADY").c_str());
    }
}

// A fare: a number editor over the whole page.
void AddFare(Rows& r, int dialog, int y, EVarType type, const char* name) {
  r.Dialog(dialog, 0, 0, kPageW, kPageH, 1);
  if (type == VAR_INT) r.DialogVar(VAR_INT, "OPNV.PRICE.ESTIMATEDINCOME");
  r.DialogVar(type, name);
  r.Minus(214, y, 8, 17);
  r.Plus(260, y, 8, 17);
  r.Figure(223, y, 37, 16, Markup(name).c_str());
}

void AddFares(Rows& r) {
  r.Page(kOpnvFares, true);
  r.Help(300, 34, 70, 260);
  r.Picture(0, 0, kPageW, kPageH, 2, 25851, 50179);
  AddFare(r, 1, 33, VAR_FLOAT, "OPNV.PRICE.BASE");
  AddFare(r, 2, 62, VAR_FLOAT, "OPNV.PRICE.KM");
  AddFare(r, 3, 91, VAR_INT, "OPNV.PRICE.REDUCTIONTICKETMONTH");
  r.Figure(215, 122, 88, 14, "@#var,INT,NULL,OPNV.PRICE.ESTIMATEDINCOME#");
}

// A service switch lit while the service runs.
void AddServiceSwitch(Rows& r, int dialog, int y, const char* name) {
  r.Dialog(dialog, 0, 0, kPageW, kPageH, 1);
  r.DialogVar(VAR_INT, name);
  r.TwoState(183, y, 12, 11, kSwitchOff, kSwitchOn);
  r.Press(24, 1);
  r.Hover();
  r.Act(133, WHEN_TURN, INOUT_ALWAYS);
  r.Var(VAR_INT, name);
}

void AddServices(Rows& r) {
  r.Page(kOpnvServices, false);
  r.Help(298, 48, 62, 310);
  r.Help(298, 77, 63, 310);
  r.Help(298, 107, 64, 310);
  r.Picture(0, 0, kPageW, kPageH, 2, 25854, 50175);
  AddServiceSwitch(r, 2, 49, "OPNV.SV.DYNAMICTABLE");
  // Two dialogs share the id 3: each switch lands in the one made just
  // before it.
  AddServiceSwitch(r, 3, 78, "OPNV.SV.INTERNET");
  AddServiceSwitch(r, 3, 108, "OPNV.SV.INFOTERMINAL");
  r.Dialog(1, 0, 0, kPageW, kPageH, 1);
  for (const char* name : {"OPNV.SV.INTERNET.COST", "OPNV.SV.INFOTERMINAL.COST", "OPNV.SV.DYNAMICTABLE.COST"})
    r.DialogVar(VAR_INT, name);
  r.Figure(206, 48, 80, 14, "@#var,INT,NULL,OPNV.SV.DYNAMICTABLE.COST#");
  r.Figure(206, 77, 80, 14, "@#var,INT,NULL,OPNV.SV.INTERNET.COST#");
  r.Figure(206, 107, 80, 14, "@#var,INT,NULL,OPNV.SV.INFOTERMINAL.COST#");
}

void AddLines(Rows& r) {
  r.Page(kOpnvLines, true);
  r.Help(301, 69, 61, 260);
  r.Picture(243, 316, 54, 16, 13, 49523, 50633);
  r.Hover();
  r.Press(35, kOpnvFleet, 1);
  r.Balloon(84);
  r.Picture(243, 48, 54, 16, 13, 49522, 50632);
  r.Press(37);
  r.Hover();
  r.Picture(0, 0, kPageW, kPageH, 2, 49513, 50195);
  r.Dialog(1, 14, 115, 303, 127, 7);
  r.DialogVar(VAR_FLOAT, "OPNV.LINES");
  r.Picture(288, 0, 15, 16, 13, 25935);
  r.Press(16, 1);
  r.Hover();
  r.Picture(288, 111, 15, 16, 13, 25936);
  r.Press(17, 1);
  r.Hover();
  r.Slider(288, 16, 15, 95);
  r.Act(119, WHEN_LEFT_HELD, INOUT_INSIDE, 1);
  r.Dialog(2, 0, 0, kPageW, kPageH, 1);
  BoundFigure(r, 128, 274, 51, 14, "OPNV.FREEBUS", kFigures);
  BoundFigure(r, 244, 274, 51, 14, "OPNV.FREETRAM", kFigures);
}

// A list of the lines of one kind. The heading names the kind the list
// holds: the tram list says trams.
void AddLineList(Rows& r, int id, int h, const char* de, const char* en, const char* activeLine,
                 const char* lines) {
  r.Window(id, 160, 40, 150, h, 1, true);
  r.Text(0, 0, 150, 20, de, kFigures, en);
  r.Dialog(1, 0, 40, 150, 180, 3);
  r.DialogAct(4, WHEN_LEFT_DOWN, INOUT_INSIDE);
  r.DialogVar(VAR_FLOAT, activeLine);
  r.DialogVar(VAR_FLOAT, lines);
  r.Rect(130, 0, 20, 20);
  r.Press(16, 1);
  r.Hover();
  r.Rect(130, 160, 20, 20);
  r.Press(17, 1);
  r.Hover();
}

// The finances of this and last year: the figures in two columns.
void AddFinances(Rows& r) {
  r.Page(kOpnvFinances, false);
  r.Picture(0, 0, kPageW, kPageH, 2, 25852, 50178);
  r.Dialog(1, 0, 0, kPageW, kPageH, 1);
  // The same thirteen figures in two orders: the rows as they stand on the
  // page, and the dialog's variables in the order the window binds them.
  static const char* const kRows[] = {"INCOME.TICKET.BUS",   "INCOME.TICKET.TRAM",   "INCOME.SELLING",
                                      "INCOME",              "COST.PERS",            "COST.BUS",
                                      "COST.TRAM",           "COST.INFRASTRUCTURE",  "COST.SERVICE",
                                      "COST.ADVERTISEMENT",  "COST.PRESERVE",        "COST",
                                      "BILANZ"};
  static const int kRowY[] = {46, 67, 88, 109, 153, 174, 195, 216, 237, 258, 279, 300, 321};
  static const char* const kBound[] = {"INCOME",         "INCOME.TICKET.BUS", "INCOME.TICKET.TRAM", "INCOME.SELLING",
                                       "COST.BUS",       "COST.TRAM",         "COST.PERS",          "COST.INFRASTRUCTURE",
                                       "COST.SERVICE",   "COST.ADVERTISEMENT", "COST.PRESERVE",     "COST",
                                       "BILANZ"};
  for (const char* year : {"OPNV.F.", "OPNV.F.LY."})
    for (const char* row : kBound) r.DialogVar(VAR_INT, (std::string(year) + row).c_str());
  const struct {
    const char* prefix;
    int x;
  } columns[] = {{"OPNV.F.", 220}, {"OPNV.F.LY.", 139}};
  for (const auto& c : columns)
    for (size_t i = 0; i < std::size(kRows); ++i)
      r.Figure(c.x, kRowY[i], 71, 14, Markup((std::string(c.prefix) + kRows[i]).c_str()).c_str());
}

}  // namespace

void AddOpnvWindows(CWindowBuilder& b) {
  Rows r(b);
  AddGroup(r);
  r.Window(kOpnvEmpty, 310, 300, 80, 28, 1, false);
  AddPersonnel(r);
  AddFleet(r);
  AddAdvertising(r);
  AddFares(r);
  AddServices(r);
  AddLines(r);
  AddLineList(r, kBusLineList, 280, "Bus", "", "OPNV.NET.BUS.LINE.SETACTIVELINE", "OPNV.NET.BUSLINES");
  AddLineList(r, kTramLineList, 160, "Stra\xDF" "enbahn", "Tram", "OPNV.NET.TRAM.LINE.SETACTIVELINE",
              "OPNV.NET.TRAMLINES");
  AddFinances(r);
}

}  // namespace zorwin

int CZorvaWindows::WindowAddOpnv() {
  zorwin::AddOpnvWindows(m_builder);
  return 0;
}
