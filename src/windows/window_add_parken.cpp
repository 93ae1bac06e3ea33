// The parking windows. The group 214 shows the parking management's money,
// its fee changes for every car park and the car parks' use, each page with
// the list of the car parks; the car-park window 170 shows the figures of the
// one car park it is bound to when the player selects it, its prices, its
// share of microcar places and its two parking systems. Every value is a
// variable of the object the world binds the window to: "PRM." names of the
// parking management, "PH." names of a car park.
#include "windows/window_add_parken.h"

#include <string>
#include <utility>

#include "windows/window_builders.h"
#include "windows/window_rows.h"

namespace zorwin {

namespace {

constexpr int kFont = 823;
constexpr int kHelpButton = 25863;
constexpr int kMinus = 25864, kPlus = 25865;
constexpr int kListUp = 25935, kListDown = 25936;
constexpr int kClose = 19021;
constexpr int kSwitch = 25866;
constexpr int kKnob = 28545;
constexpr int kUtilisationBar = 28521;  // 18 frames: 0 empty to 17 full
constexpr int kConfirm = 28174;

std::string Markup(const char* type, const char* name) { return std::string("@#var,") + type + ",NULL," + name + "#"; }

// A figure in the standard font showing `markupType` markup of the variable
// the item is bound to as `varType`; the two differ where a whole number is
// shown with decimals.
void Figure(CWindowRows& m, int x, int y, int w, int h, const char* name, const char* markupType = "INT",
            EVarType varType = VAR_INT) {
  m.Text(x, y, w, h, 7, Markup(markupType, name).c_str(), "", HO_CENTER, kFont);
  m.Var(varType, name);
}

// The help button of a figure: the dynamic help with entry `entry`.
void Help(CWindowBuilder& b, int x, int y, int entry, int width) {
  b.AddHilfeDynamic(x, y, entry, width, CWindowRows::kNone, kHelpButton, CWindowRows::kNone);
}

// A page button of a group: opens page `page` by action `kind`, names it in
// its balloon and, where `pressedLook`, looks pressed while the page is open.
void PageButton(CWindowRows& m, int x, int y, int size, int picture, EActionType kind, int page, int balloon,
                bool pressedLook) {
  m.Picture(x, y, size, size, 13, picture);
  m.Hover();
  m.Press(kind, page, 1);
  m.Balloon(balloon);
  if (pressedLook) m.Act(87, WHEN_TURN, INOUT_ALWAYS, page);
}

// A value editor: a dialog of type 5 holding the variable, minus and plus
// stepping it and the value between them in `markupType` markup.
void Editor(CWindowRows& m, int id, int x, int y, int w, int buttonH, EVarType type, const char* name,
            const char* markupType) {
  m.Dialog(id, x, y, w, 18, 5, name);
  m.DialogVar(type, name);
  m.Picture(0, 0, 8, buttonH, 13, kMinus);
  m.Press(17, 1);
  m.Hover();
  m.Picture(45, 0, 8, buttonH, 13, kPlus);
  m.Press(16, 1);
  m.Hover();
  m.Text(9, 2, 35, 14, 7, Markup(markupType, name).c_str(), "", HO_CENTER, kFont);
}

// The list of the car parks at the foot of every page of 214, of list type
// `listType`, with its scroll buttons and slider.
void PlaceList(CWindowRows& m, EDialogType listType) {
  m.Dialog(1, 17, 156, 298, 116, listType, "PRM.PLACELIST");
  m.DialogVar(VAR_FLOAT, "PRM.PLACELIST");
  m.Picture(283, 0, 15, 16, 13, kListUp);
  m.Press(16, 1);
  m.Hover();
  m.Picture(283, 100, 15, 16, 13, kListDown);
  m.Press(17, 1);
  m.Hover();
  m.Picture(283, 16, 15, 83, 35, CWindowRows::kNone);
  m.Act(119, WHEN_LEFT_HELD, INOUT_INSIDE, 1);
}

void ManagementPage(CWindowRows& m, int id) { m.Window(id, 51, 21, 337, 299, kParkManagement, WINDOW_NORMAL); }
void CarParkPage(CWindowRows& m, int id) { m.Window(id, 34, 19, 243, 166, kCarPark, WINDOW_NORMAL); }

// A group's frame: the caption (drag), the close button and, after the
// page buttons the caller adds, the column behind them.
void GroupCaption(CWindowRows& m, int id, int w, int captionH, int caption, int captionEn, int closeX, int closeY,
                  int closeSize) {
  m.Picture(0, 0, w, captionH, 2, caption, captionEn);
  m.Drag();
  m.Hover();
  m.Picture(closeX, closeY, closeSize, closeSize, 13, kClose);
  m.Press(46, id);
  m.Hover();
}

void AddManagementFrame(CWindowRows& m) {
  m.Window(kParkManagement, 411, 0, 388, 320, 1, WINDOW_NORMAL);
  GroupCaption(m, kParkManagement, 388, 21, 28173, 50208, 353, 1, 19);
  // Fees, balance and utilisation from the bottom; the fees button alone
  // does not look pressed while its page is open.
  PageButton(m, 10, 131, 36, 28179, 42, kParkFees, 117, false);
  PageButton(m, 10, 88, 36, 28176, 42, kParkBalance, 118, true);
  PageButton(m, 10, 45, 36, 28177, 42, kParkUtilisation, 122, true);
  m.Picture(0, 21, 51, 299, 2, 28172);
}

void AddBalance(CWindowBuilder& b, CWindowRows& m) {
  ManagementPage(m, kParkBalance);
  for (int row = 0; row < 3; ++row) Help(b, 301, 34 + 22 * row, 102 + row, 310);
  Figure(m, 213, 34, 82, 16, "PRM.INCOME");
  Figure(m, 213, 56, 82, 16, "PRM.EXPENSES");
  Figure(m, 213, 78, 82, 16, "PRM.BILANZ");
  m.Picture(0, 0, 337, 299, 2, 50844, 50218);
  PlaceList(m, 14);
}

void AddFees(CWindowBuilder& b, CWindowRows& m) {
  ManagementPage(m, kParkFees);
  Help(b, 301, 56, 105, 310);
  Help(b, 301, 78, 106, 310);
  // The confirm buttons hand the changes to every car park.
  for (const auto& [y, name] : {std::pair{57, "PRM.PRICE.CHANGEPKW.OK"}, std::pair{79, "PRM.PRICE.CHANGEMICROCAR.OK"}}) {
    m.Picture(264, y, 22, 14, 13, kConfirm);
    m.Press(21, 1);
    m.Hover();
    m.Var(VAR_INT, name);
  }
  m.Picture(0, 0, 337, 299, 2, 50842, 50217);
  // The changes are whole percentages held as INT and shown with decimals.
  Editor(m, 1, 204, 55, 53, 18, VAR_INT, "PRM.PRICE.CHANGEPKW", "FLOAT");
  Editor(m, 2, 204, 77, 77, 18, VAR_INT, "PRM.PRICE.CHANGEMICROCAR", "FLOAT");
  // A second dialog 1: the list, created after the car fee's editor, is the
  // newest dialog 1 and takes the rows after it.
  PlaceList(m, 12);
}

void AddUtilisation(CWindowBuilder& b, CWindowRows& m) {
  ManagementPage(m, kParkUtilisation);
  Help(b, 301, 56, 100, 320);
  Help(b, 301, 78, 101, 320);
  Figure(m, 230, 56, 51, 15, "PRM.USERQUOTE.PKW");
  Figure(m, 230, 78, 52, 15, "PRM.USERQUOTE.MICROCAR");
  m.Picture(0, 0, 337, 299, 2, 50843, 50215);
  PlaceList(m, 13);
}

void AddCarParkFrame(CWindowRows& m) {
  m.Window(kCarPark, 206, 70, 279, 185, 1, WINDOW_NORMAL);
  GroupCaption(m, kCarPark, 279, 19, 28502, 50782, 247, 3, 14);
  PageButton(m, 6, 72, 26, 28404, 43, kCarParkSettings, 120, true);
  PageButton(m, 6, 40, 26, 28403, 43, kCarParkInfo, 121, true);
  PageButton(m, 6, 104, 26, 28405, 43, kCarParkSystems, 119, false);
  m.Picture(0, 19, 36, 166, 2, 28501);
}

void AddInfo(CWindowBuilder& b, CWindowRows& m) {
  CarParkPage(m, kCarParkInfo);
  Figure(m, 35, 0, 54, 14, "PH.NR");
  Figure(m, 131, 23, 84, 14, "PH.INCOME");
  Figure(m, 131, 42, 84, 14, "PH.EXPENSES");
  Figure(m, 131, 61, 84, 14, "PH.BILANZ");
  // The bars' frame is the use's share of its maximum in 17 steps. The
  // item reads its first variable over its last, and a variable bound later
  // stands before the ones bound earlier: the maximum is bound first.
  for (const auto& [y, kind] : {std::pair{105, "PKW"}, std::pair{123, "MICROCAR"}}) {
    const std::string use = std::string("PH.AUSLASTUNG.") + kind;
    m.TwoState(161, y, 52, 15, 19, kUtilisationBar, 17);
    m.Var(VAR_FLOAT, (use + ".MAX").c_str());
    m.Var(VAR_FLOAT, use.c_str());
  }
  const int helps[][2] = {{22, 90}, {41, 91}, {60, 92}, {105, 96}, {123, 97}};
  for (const auto& h : helps) Help(b, 220, h[0], h[1], 310);
  m.Picture(2, 0, 243, 166, 2, 28499, 50780);
}

void AddSettings(CWindowBuilder& b, CWindowRows& m) {
  CarParkPage(m, kCarParkSettings);
  Figure(m, 24, 66, 32, 12, "PH.PLACESPKW");
  Figure(m, 176, 66, 32, 12, "PH.PLACESMICROCAR");
  Help(b, 220, 65, 95, 310);
  Help(b, 220, 114, 93, 310);
  Help(b, 220, 133, 94, 310);
  m.Picture(2, 0, 243, 166, 2, 28498, 50779);
  Editor(m, 1, 160, 113, 53, 16, VAR_FLOAT, "PH.PRICE", "FLOAT");
  Editor(m, 2, 160, 132, 53, 16, VAR_INT, "PH.PRICE.REDUCTIONMICROCAR", "INT");
  // The share of microcar places: a knob dragged along a bar.
  m.Dialog(3, 64, 69, 104, 7, 4, "PH.PLACESQUOTEMICROCAR");
  m.DialogVar(VAR_FLOAT, "PH.PLACESQUOTEMICROCAR");
  m.Picture(0, -5, 11, 18, 13, kKnob);
  m.Act(19, WHEN_MOVE_FIRST, INOUT_ALWAYS);
  m.Press(8);
  m.Act(9, WHEN_LEFT_UP, INOUT_ALWAYS);
  m.Bar(0, 0, 104, 7, 1, 2000, 3000);
  m.Var(VAR_FLOAT, "PH.PLACESQUOTEMICROCAR");
}

void AddSystems(CWindowBuilder& b, CWindowRows& m) {
  CarParkPage(m, kCarParkSystems);
  // The guidance sign and the reservation system: their yearly cost, held
  // as INT and shown with decimals, and the switch that shows the state.
  for (const auto& [y, name] : {std::pair{39, "PH.PLS"}, std::pair{90, "PH.PRS"}}) {
    Figure(m, 122, y, 73, 14, (std::string(name) + ".COST").c_str(), "FLOAT", VAR_INT);
    m.Picture(203, y + 1, 12, 11, 13, kSwitch);
    m.Press(48);
    m.Act(50, WHEN_TURN, INOUT_ALWAYS, 0);
    m.Var(VAR_INT, name);
  }
  Help(b, 220, 38, 98, 310);
  Help(b, 220, 89, 99, 310);
  m.Picture(2, 0, 243, 166, 2, 28500, 50781);
}

}  // namespace

void AddParkManagementWindows(CWindowBuilder& b) {
  CWindowRows m(b);
  AddManagementFrame(m);
  AddBalance(b, m);
  AddFees(b, m);
  AddUtilisation(b, m);
  // Closing the measures group here runs only its closing effects.
  for (int id : {kParkManagement, 80, kParkBalance}) b.DeActivateWindow(id);
}

void AddCarParkWindows(CWindowBuilder& b) {
  CWindowRows m(b);
  AddCarParkFrame(m);
  AddInfo(b, m);
  AddSettings(b, m);
  AddSystems(b, m);
  for (int id : {kCarPark, kCarParkInfo}) b.DeActivateWindow(id);
}

}  // namespace zorwin

int CZorvaWindows::WindowAddParken() {
  zorwin::AddParkManagementWindows(m_builder);
  return 0;
}

int CZorvaWindows::WindowAddParkhaus() {
  zorwin::AddCarParkWindows(m_builder);
  return 0;
}
