// The indicator group 140: its caption and page buttons, the indicator page
// 141 with a bar per rating, the master-mode pages 143, 144 and 145 where
// free play pins the god values, and the page 146. The bars read the
// indicators' "I." values and the editors the god mode's "GOTT." values,
// both bound after the builders ran.
#include "windows/window_add_indikatoren.h"

#include <string>

#include "framework/qno_log.h"
#include "gui/dialog.h"
#include "gui/item_text.h"
#include "windows/window_builders.h"
#include "windows/window_rows.h"

namespace zorwin {

namespace {

constexpr int kNone = CWindowRows::kNone;
constexpr int kHelpSmall = 40664;  // the small help button beside a bar
constexpr int kHelp = 25863;
constexpr int kGodOff = 42306, kGodOn = 42293;
constexpr int kFont = 823;

void Page(CWindowBuilder& b, CWindowRows& r, int id) {
  r.Window(id, 51, 21, 439, 302, kIndikatorGroup, WINDOW_NORMAL);
  b.DeActivateWindow(id);
}

// A button that opens the help window with entry, handing it the size and
// the German or English height.
void HelpButton(CWindowRows& r, int x, int y, int w, int h, int picture, int entry, int p2, int p3 = kNone,
                int p4 = kNone) {
  r.Picture(x, y, w, h, 13, picture);
  r.Act(132, WHEN_LEFT_DOWN, INOUT_INSIDE, entry, p2, p3, p4);
  r.Hover();
}

void AddGroup(CWindowBuilder& b, CWindowRows& r) {
  r.Window(kIndikatorGroup, 206, 50, 490, 323, 1, WINDOW_NORMAL);
  b.DeActivateWindow(kIndikatorGroup);
  r.Picture(0, 0, 490, 21, 2, 35897, 50107);
  r.Drag();
  r.Hover();
  r.HotArea(456, 1, 28, 19);
  r.Press(46, kIndikatorGroup);
  r.Hover();
  r.Picture(10, 45, 36, 36, 13, 35924);
  r.Hover();
  r.Press(44, kIndikatorPage, 1);
  r.Balloon(123);
  r.Act(87, WHEN_TURN, INOUT_ALWAYS, kIndikatorPage);
  r.Picture(10, 88, 36, 36, 13, 35925);
  r.Hover();
  r.Press(44, kStatistikPage, 1);
  r.Balloon(124);
  r.Picture(10, 131, 36, 36, 13, 42279);
  r.Hover();
  r.Press(44, kMasterEntry, 1);
  r.Balloon(125);
  for (int page : {kMasterEntry, kMasterUsers, kMasterTraffic}) r.Act(87, WHEN_TURN, INOUT_ALWAYS, page);
  r.Picture(0, 21, 51, 302, 2, 35900);
}

// The two hot areas at the top of a god page that turn between the two.
void GodTabs(CWindowRows& r) {
  r.HotArea(19, 21, 144, 18);
  r.Press(44, kMasterEntry, 1);
  r.HotArea(162, 21, 90, 18);
  r.Press(44, kMasterUsers, 1);
}

// A god value's switch: pins or frees god value n.
void GodSwitch(CWindowRows& r, int x, int y, int n) {
  r.TwoState(x, y, 7, 7, 30, kGodOff, kGodOn);
  r.Press(82, n);
}

void AddTrafficPage(CZorvaWindows& w, CWindowBuilder& b, CWindowRows& r) {
  Page(b, r, kMasterTraffic);
  GodTabs(r);
  const struct {
    int x, y, n;
  } switches[] = {{56, 66, 0}, {56, 129, 2}, {267, 158, 3}, {267, 179, 4}, {56, 217, 5}, {56, 268, 8}};
  for (const auto& s : switches) GodSwitch(r, s.x, s.y, s.n);
  const int helpY[] = {45, 104, 154, 175, 196};
  for (int k = 0; k < 5; ++k) HelpButton(r, 372, helpY[k], 16, 15, kHelp, 54 + k, 300);
  r.Picture(0, 0, 439, 302, 2, 42290, 50095);
  w.AddDialogGottWert(235, 63, "GOTT.00_VM_PKW", false, false, true);
  w.AddDialogGottWert(235, 80, "GOTT.01_VM_OPNV", false, false, true);
  w.AddDialogGottWert(235, 214, "GOTT.05_EW_WORKER", false, false, true);
  w.AddDialogGottWert(235, 231, "GOTT.06_EW_NOWORKER", false, false, true);
  w.AddDialogGottWert(235, 248, "GOTT.07_EW_PUPILS", false, false, true);
  w.AddDialogGottWert(205, 265, "GOTT.08_PEOPLE", false, true, true);
  w.WindowAddGottZielwahlSlider();
  w.AddDialogGottWert(294, 153, "GOTT.03_MOTORISIERUNGSGRAD", false, false, false);
  w.AddDialogGottWert(294, 174, "GOTT.04_FAHRTENTAG", true, false, false);
}

void AddUsersPage(CZorvaWindows& w, CWindowBuilder& b, CWindowRows& r) {
  Page(b, r, kMasterUsers);
  GodTabs(r);
  HelpButton(r, 372, 45, 16, 15, kHelp, 59, 300);
  for (int n = 9; n <= 16; ++n) GodSwitch(r, 56, 66 + (n - 9) * 17, n);
  r.Picture(0, 0, 439, 302, 2, 50841, 50094);
  const char* const shares[] = {"GOTT.09_NA_PTA", "GOTT.10_NA_MZ",  "GOTT.11_NA_PR",          "GOTT.12_NA_ARP",
                                "GOTT.13_NA_PAR", "GOTT.14_NA_CS", "GOTT.15_NA_TELEWORKER", "GOTT.16_NA_MICROCAR"};
  for (int k = 0; k < 8; ++k) w.AddDialogGottWert(235, 63 + 17 * k, shares[k], true, false, true);
}

// The indicator page: help buttons, then a bar per indicator.
void AddIndicatorPage(CWindowBuilder& b, CWindowRows& r) {
  Page(b, r, kIndikatorPage);
  const struct {
    int y, entry, p3, p4;
  } helps[] = {{45, 76, 265, 282},  {59, 77, 265, 257},  {73, 78, 195, 195},  {87, 79, 215, 185},
               {101, 80, 185, 180}, {144, 81, 285, 277}, {158, 82, 150, 150}, {172, 83, 330, 290},
               {186, 84, 120, 130}, {200, 85, 165, 151}, {243, 86, 140, 140}, {257, 87, 210, 210},
               {271, 88, 115, 90}};
  for (const auto& h : helps) HelpButton(r, 178, h.y, 14, 12, kHelpSmall, h.entry, h.entry == 84 ? 240 : 320, h.p3, h.p4);
  // The rating's and the growth's help say what their bars show at each
  // size of town: wider windows, as tall as their texts in either language.
  HelpButton(r, 408, 57, 16, 15, kHelp, 110, 240);
  HelpButton(r, 408, 128, 16, 15, kHelp, 109, 320);
  const struct {
    int x, y, w, h, picture, states;
    const char* name;
  } bars[] = {{98, 30, 74, 12, 35935, 12, "I.EFF"},
              {98, 48, 74, 8, 35934, 12, "I.EFF.KMPERPERSON"},
              {98, 62, 74, 8, 35934, 12, "I.EFF.TIMEPERKM"},
              {98, 76, 74, 8, 35934, 12, "I.EFF.TRAFFICJAM"},
              {98, 90, 74, 8, 35934, 12, "I.EFF.COSTPERAGENT"},
              {98, 104, 74, 8, 35934, 12, "I.EFF.ENERGIEPERKM"},
              {98, 129, 74, 12, 35935, 12, "I.QUALI"},
              {98, 147, 74, 8, 35934, 12, "I.QUALI.EMMISSIONPERPERSON"},
              {98, 161, 74, 8, 35934, 12, "I.QUALI.NOISE"},
              {98, 175, 74, 8, 35934, 12, "I.QUALI.ENERGIEPERPERSON"},
              {98, 189, 74, 8, 35934, 12, "I.QUALI.RAUMTRENNUNG"},
              {98, 203, 74, 8, 35934, 12, "I.QUALI.AREAPERPERSON"},
              {98, 228, 74, 12, 35935, 12, "I.ZORV"},
              {98, 246, 74, 8, 35934, 12, "I.ZORV.REACHTIMES"},
              {98, 260, 74, 8, 35934, 12, "I.ZORV.KOMFORT"},
              {98, 274, 74, 8, 35934, 12, "I.ZORV.SECURITY"},
              {261, 88, 144, 12, 35950, 13, "I.EQM"},
              {331, 150, 74, 12, 35935, 12, "I.GROWTH_MORE"}};
  for (const auto& bar : bars) {
    r.Picture(bar.x, bar.y, bar.w, bar.h, 13, bar.picture);
    r.Act(25, WHEN_TURN, INOUT_ALWAYS, kNone, kNone, bar.states);
    r.Var(VAR_INT, bar.name);
  }
  // The growth bar's value in figures, under the gauge's name.
  r.Text(258, 164, 40, 14, 7, "@#var,FLOAT,NULL,I.GROWTH_MORE#", "", HO_CENTER, kFont);
  r.Var(VAR_FLOAT, "I.GROWTH_MORE");
  r.Picture(0, 0, 439, 302, 2, 35898, 50106);
}

}  // namespace

}  // namespace zorwin

using namespace zorwin;

int CZorvaWindows::AddDialogGottWert(int x, int y, const char* name, bool isFloat, bool wide, bool showCurrent) {
  const std::string type = isFloat ? "FLOAT" : "INT";
  const std::string current = std::string(name) + "AKTUELL";
  const std::string value = "@#var," + type + ",NULL," + name + "#";
  const std::string now = "@#var," + type + ",NULL," + current + "#";
  // A text item holds at most kTextSize - 1 characters; a cut markup token
  // would show its raw text instead of the value.
  if ((showCurrent ? now : value).size() >= static_cast<size_t>(CItemText::kTextSize)) {
    QNO_LOG("god value editor: the name %.40s... is too long for its texts", name);
    return 1;
  }
  const EVarType var = isFloat ? VAR_FLOAT : VAR_INT;
  CWindowRows r(m_builder);
  r.Dialog(1, x, y, wide ? 174 : 114, 14, DIALOG_VALUE_EDITOR, "GOTT");
  r.DialogVar(var, name);
  r.Picture(0, 0, 8, 14, 13, 42304);
  r.Press(17, 1);
  r.Hover();
  r.Picture(wide ? 77 : 47, 0, 8, 14, 13, 42303);
  r.Press(16, 1);
  r.Hover();
  r.Text(9, 0, wide ? 69 : 39, 14, 7, value.c_str(), "", HO_CENTER);
  if (showCurrent) {
    r.Text(wide ? 90 : 60, 0, wide ? 85 : 55, 14, 7, now.c_str(), "", HO_CENTER);
    r.Var(var, current.c_str());
  }
  return 0;
}

int CZorvaWindows::WindowAddGottZielwahlSlider() {
  CWindowRows r(m_builder);
  r.Dialog(1, 228, 130, 94, 7, DIALOG_SLIDER, "GOTT");
  r.DialogVar(VAR_FLOAT, "GOTT.02_ZIELWAHL");
  r.Picture(0, -5, 11, 18, 13, 28545);
  r.Act(19, WHEN_MOVE_FIRST, INOUT_ALWAYS);
  r.Press(8);
  r.Act(9, WHEN_LEFT_UP, INOUT_ALWAYS);
  r.Bar(0, 0, 94, 7, FILL_SOLID, 0, 65535);
  r.Var(VAR_FLOAT, "GOTT.02_ZIELWAHL");
  return 0;
}

int CZorvaWindows::WindowAddIndikatoren() {
  CWindowRows r(m_builder);
  AddGroup(m_builder, r);
  Page(m_builder, r, kIndikatorEmpty);
  r.Picture(0, 0, 439, 302, 25, kNone);
  r.Picture(0, 0, 439, 302, 2, 39556, 50105);
  Page(m_builder, r, kMasterEntry);
  r.Picture(202, 258, 36, 36, 13, 41484, 50609);
  r.Hover();
  r.Press(148, 80, 84);
  r.Balloon(224);
  r.Act(87, WHEN_TURN, INOUT_ALWAYS, kIndikatorPage);
  r.Picture(0, 0, 439, 302, 2, 44037, 50096);
  AddTrafficPage(*this, m_builder, r);
  AddUsersPage(*this, m_builder, r);
  AddIndicatorPage(m_builder, r);
  return 0;
}
