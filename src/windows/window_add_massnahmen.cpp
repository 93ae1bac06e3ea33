// The measures group 80: a column of six page buttons and the pages of the
// travel assistant 90, the advice centre 81, passive 89 and active 87 route
// guidance, car sharing 84 and the campaigns 92. Pages 81, 84, 87 and 90
// name a companion page (82, 85, 88, 91) that is drawn and takes the input
// in their place while the service has nothing built; the world sets and
// clears the flag. Every figure is a variable of its measure, bound after
// the builders ran; the step buttons change the variable of their dialog.
#include "windows/window_add_massnahmen.h"

#include <string>

#include "windows/window_builders.h"
#include "windows/window_rows.h"

namespace zorwin {

namespace {

constexpr int kNone = CWindowRows::kNone;
constexpr int kFont = 823;
constexpr int kHelpPicture = 25863;
constexpr int kMinus = 25864, kPlus = 25865;
constexpr int kSwitch = 25866;
constexpr int kPageW = 337, kPageH = 349;
// The help window is 250 pixels high for every entry of these pages.
constexpr int kHelpHeight = 250;

std::string Markup(const char* type, const std::string& name) {
  return std::string("@#var,") + type + ",NULL," + name + "#";
}

void Help(CWindowBuilder& b, int x, int y, int entry) {
  b.AddHilfeDynamic(x, y, entry, kHelpHeight, kNone, kHelpPicture, kNone);
}

// A live figure of the measure, bound to the variable it shows.
void Figure(CWindowRows& m, int x, int y, int w, int h, const char* type, const std::string& name) {
  m.Text(x, y, w, h, 7, Markup(type, name).c_str(), "", HO_CENTER, kFont);
  m.Var(type[0] == 'F' ? VAR_FLOAT : VAR_INT, name.c_str());
}

// The minus button steps the dialog's variable down on a press, the plus
// button up on the release; the value stands between them.
void StepButtons(CWindowRows& m, int minusX, int plusX, int y, int h) {
  m.Picture(minusX, y, 8, h, 13, kMinus);
  m.Press(17, 1);
  m.Hover();
  m.Picture(plusX, y, 8, h, 13, kPlus);
  m.Act(16, WHEN_LEFT_UP, INOUT_ALWAYS);
  m.Act(11, WHEN_MOVE_FIRST, INOUT_ALWAYS);
}

// A number editor over the whole page: the buttons and the value at page
// coordinates.
void PageEditor(CWindowRows& m, int id, const char* name, int minusX, int plusX, int y, int buttonH, int textX, int textW,
                const char* textType) {
  m.Dialog(id, 0, 0, kPageW, kPageH, 1, name);
  m.DialogVar(VAR_FLOAT, name);
  StepButtons(m, minusX, plusX, y, buttonH);
  Figure(m, textX, y + 1, textW, 16, textType, name);
}

// A small number editor: 53 x 18 with the buttons at its edges.
void SmallEditor(CWindowRows& m, int id, const char* name, int x, int y, const char* textType) {
  m.Dialog(id, x, y, 53, 18, 1, name);
  m.DialogVar(VAR_FLOAT, name);
  StepButtons(m, 0, 45, 0, 18);
  Figure(m, 9, 1, 36, 16, textType, name);
}

void Page(CWindowRows& m, int id, int link, bool closed) {
  m.Window(id, 51, 21, kPageW, kPageH, kMeasuresGroup, WINDOW_NORMAL, link);
  if (closed) m.Close();
}

// A companion page: its help button and its picture.
void AddHint(CWindowBuilder& b, CWindowRows& m, int id, int help, int de, int en) {
  Page(m, id, 0, false);
  Help(b, 301, 1, help);
  m.Picture(0, 0, kPageW, kPageH, 2, de, en);
}

void AddGroup(CWindowRows& m) {
  m.Window(kMeasuresGroup, 411, 0, 388, 370, 1, WINDOW_NORMAL);
  m.Close();
  m.Picture(0, 0, 388, 21, 2, 26652, 50037);
  m.Drag();
  m.Hover();
  m.Picture(353, 1, 19, 19, 13, 19021);
  m.Press(46, kMeasuresGroup);
  m.Hover();
  // The page buttons from the top; passive route guidance and the campaigns
  // show no pressed look for their open page.
  const struct {
    int picture, page, balloon;
    bool pressedLook;
  } buttons[] = {{18709, kMeasureAssistant, 71, true},          {28261, kMeasureAdvice, 72, true},
                 {18712, kMeasurePassiveGuidance, 73, false},   {18711, kMeasureActiveGuidance, 74, true},
                 {18713, kMeasureCarsharing, 75, true},         {26589, kMeasureCampaigns, 76, false}};
  int y = 45;
  for (const auto& button : buttons) {
    m.Picture(10, y, 36, 36, 13, button.picture);
    m.Hover();
    m.Press(40, button.page, 1);
    m.Balloon(button.balloon);
    if (button.pressedLook) m.Act(87, WHEN_TURN, INOUT_ALWAYS, button.page);
    y += 43;
  }
  m.Picture(0, 21, 51, 349, 2, 26651);
}

// One measure's three campaign switches and their progress bars.
void AddCampaignRow(CWindowRows& m, int id, int y, const std::string& print, const std::string& radio,
                    const std::string& television) {
  m.Dialog(id, 0, 0, kPageW, kPageH, 1, "ADVERTISMENT");
  const std::string switches[] = {print, radio, television};
  const int switchX[] = {103, 196, 289};
  for (int k = 0; k < 3; ++k) {
    m.Picture(switchX[k], y, 12, 12, 13, kSwitch);
    m.Press(24);
    m.Act(50, WHEN_TURN, INOUT_ALWAYS, 0);
    m.Var(VAR_INT, switches[k].c_str());
  }
  const int barX[] = {37, 131, 223};
  const int bars[] = {25869, 25870, 25871};
  for (int k = 0; k < 3; ++k) {
    m.Picture(barX[k], y + 17, 80, 15, 13, bars[k]);
    m.Act(25, WHEN_TURN, INOUT_ALWAYS, kNone, kNone, 8);
    m.Var(VAR_FLOAT, (switches[k] + ".PERCENTREADY").c_str());
  }
}

void AddCampaigns(CWindowBuilder& b, CWindowRows& m) {
  Page(m, kMeasureCampaigns, 0, true);
  for (int k = 0; k < 5; ++k) Help(b, 301, 35 + 59 * k, 27 + k);
  m.Picture(0, 0, kPageW, kPageH, 2, 26650, 50036);
  AddCampaignRow(m, 1, 113, "MZ.ADPRINT", "MZ.ADRADIO", "MZ.ADTELEVISION");
  // Dialogs 2 to 5: the other four, in the order the world binds them.
  const struct {
    const char* prefix;
    int y;
  } rows[] = {{"PTA", 54}, {"CS", 290}, {"AR", 231}, {"PAR", 172}};
  int dialog = 2;
  for (const auto& row : rows) {
    const std::string p = std::string(row.prefix) + ".ADVERTISMENT.";
    AddCampaignRow(m, dialog++, row.y, p + "PRINT", p + "RADIO", p + "TELEVISION");
  }
}

void AddCarsharing(CWindowBuilder& b, CWindowRows& m) {
  AddHint(b, m, kMeasureCarsharingHint, 5, 33694, 50028);
  Page(m, kMeasureCarsharing, kMeasureCarsharingHint, false);
  const int helps[][3] = {{301, 1, 5}, {301, 34, 7}, {301, 56, 6}, {301, 122, 9}, {301, 144, 8}, {277, 192, 10}};
  for (const auto& h : helps) Help(b, h[0], h[1], h[2]);
  Figure(m, 213, 34, 82, 16, "INT", "CS.INCOME");
  Figure(m, 213, 56, 82, 16, "INT", "CS.EXPENSES");
  Figure(m, 253, 78, 42, 16, "INT", "CS.PKW");
  Figure(m, 253, 100, 42, 16, "FLOAT", "CS.USERQUOTE");
  Figure(m, 253, 166, 42, 16, "FLOAT", "CS.USERQUOTEPEOPLE");
  m.Picture(0, 0, kPageW, kPageH, 2, 26645, 50027);
  PageEditor(m, 1, "CS.PRICE.KM", 241, 289, 121, 18, 250, 38, "FLOAT");
  PageEditor(m, 2, "CS.PRICE.MONTH", 241, 289, 143, 18, 250, 38, "INT");
  // The outlets' list: its rows come with the list the world hands it.
  m.Dialog(3, 17, 211, 298, 116, 8, "CS.PLACELIST");
  m.DialogVar(VAR_FLOAT, "CS.PRICE.MONTH");
  m.Picture(283, 0, 15, 16, 13, 25935);
  m.Press(16, 1);
  m.Hover();
  m.Picture(283, 100, 15, 16, 13, 25936);
  m.Press(17, 1);
  m.Hover();
  m.Picture(283, 16, 15, 84, 35, kNone);
  m.Act(119, WHEN_LEFT_HELD, INOUT_INSIDE, 1);
}

void AddActiveGuidance(CWindowBuilder& b, CWindowRows& m) {
  AddHint(b, m, kMeasureActiveGuidanceHint, 0, 33695, 50030);
  Page(m, kMeasureActiveGuidance, kMeasureActiveGuidanceHint, true);
  const int helps[][2] = {{1, 0}, {36, 2}, {66, 1}, {128, 4}, {158, 89}, {188, 3}};
  for (const auto& h : helps) Help(b, 301, h[0], h[1]);
  Figure(m, 213, 36, 82, 16, "INT", "AR.INCOME");
  Figure(m, 213, 66, 82, 16, "INT", "AR.COST");
  Figure(m, 213, 96, 82, 16, "INT", "AR.BILANZ");
  Figure(m, 245, 127, 50, 16, "FLOAT", "AR.USERQUOTE");
  Figure(m, 245, 158, 50, 16, "INT", "AR.QUALITY");
  Figure(m, 213, 220, 81, 16, "INT", "AR.SYSTEM.COST");
  m.Picture(0, 0, kPageW, kPageH, 2, 26646, 50029);
  PageEditor(m, 1, "AR.PRICE.MONTH", 244, 289, 187, 18, 253, 36, "INT");
  PageEditor(m, 2, "AR.SYSTEM.SUB", 244, 289, 249, 18, 253, 36, "INT");
}

void AddPassiveGuidance(CWindowBuilder& b, CWindowRows& m) {
  Page(m, kMeasurePassiveGuidance, 0, true);
  Help(b, 301, 1, 16);
  Help(b, 301, 66, 18);
  Help(b, 301, 128, 21);
  Figure(m, 213, 36, 82, 16, "INT", "PAR.INCOME");
  Figure(m, 213, 66, 82, 16, "INT", "PAR.COST");
  Figure(m, 213, 96, 82, 16, "INT", "PAR.BILANZ");
  Figure(m, 245, 128, 50, 16, "FLOAT", "PAR.USERQUOTE");
  Figure(m, 213, 190, 82, 16, "INT", "PAR.SYSTEM.COST");
  m.Picture(0, 0, kPageW, kPageH, 2, 26648, 50033);
  // Both editors carry dialog id 1: each lands in the dialog made just
  // before it.
  SmallEditor(m, 1, "PAR.PRICE.NEWCD", 244, 157, "INT");
  SmallEditor(m, 1, "PAR.SYSTEM.SUB", 244, 219, "INT");
}

void AddAssistant(CWindowBuilder& b, CWindowRows& m) {
  AddHint(b, m, kMeasureAssistantHint, 23, 33697, 50035);
  m.Close();
  Page(m, kMeasureAssistant, kMeasureAssistantHint, true);
  const int helps[][2] = {{1, 23}, {36, 24}, {128, 25}, {158, 26}};
  for (const auto& h : helps) Help(b, 301, h[0], h[1]);
  Figure(m, 213, 36, 82, 16, "INT", "PTA.INCOME");
  Figure(m, 213, 66, 82, 16, "INT", "PTA.COST");
  Figure(m, 213, 96, 82, 16, "INT", "PTA.BILANZ");
  Figure(m, 245, 128, 50, 16, "FLOAT", "PTA.USERQUOTE");
  Figure(m, 245, 158, 50, 16, "INT", "PTA.QUALITY");
  m.Text(213, 250, 82, 15, 7, Markup("INT", "PTA.HANDY.COST").c_str(), "", HO_CENTER, kFont);
  m.Var(VAR_INT, "PTA.HANDY.COST");
  m.Picture(0, 0, kPageW, kPageH, 2, 26649, 50034);
  SmallEditor(m, 1, "PTA.PRICE.MONTH", 244, 187, "INT");
  // The query price is shown with its fraction; the item's variable is the
  // whole one, as for the other prices.
  m.Dialog(2, 244, 217, 53, 18, 1, "PTA.PRICE.ABFRAGE");
  m.DialogVar(VAR_FLOAT, "PTA.PRICE.ABFRAGE");
  StepButtons(m, 0, 45, 0, 18);
  m.Text(9, 1, 36, 16, 7, Markup("FLOAT", "PTA.PRICE.ABFRAGE").c_str(), "", HO_CENTER, kFont);
  m.Var(VAR_INT, "PTA.PRICE.ABFRAGE");
  m.Dialog(3, 244, 279, 53, 18, 1, "PTA.HANDY.SUB");
  m.DialogVar(VAR_FLOAT, "PTA.HANDY.SUB");
  StepButtons(m, 0, 45, 0, 18);
  Figure(m, 9, 1, 36, 16, "INT", "PTA.HANDY.SUB");
}

void AddAdvice(CWindowBuilder& b, CWindowRows& m) {
  AddHint(b, m, kMeasureAdviceHint, 11, 33696, 50032);
  Page(m, kMeasureAdvice, kMeasureAdviceHint, false);
  const int helps[][2] = {{1, 11}, {36, 13}, {66, 12}, {128, 14}, {158, 15}};
  for (const auto& h : helps) Help(b, 301, h[0], h[1]);
  Figure(m, 213, 36, 82, 16, "INT", "MZ.INCOME");
  Figure(m, 213, 66, 82, 16, "INT", "MZ.COST");
  Figure(m, 213, 96, 82, 16, "INT", "MZ.BILANZ");
  Figure(m, 245, 128, 50, 16, "FLOAT", "MZ.USERQUOTE");
  m.Picture(0, 0, kPageW, kPageH, 2, 26647, 50031);
  m.Dialog(1, 0, 0, kPageW, kPageH, 1, "MZ.PRICE.BERATUNG");
  m.DialogVar(VAR_FLOAT, "MZ.PRICE.BERATUNG");
  StepButtons(m, 243, 288, 157, 16);
  Figure(m, 252, 157, 36, 16, "FLOAT", "MZ.PRICE.BERATUNG");
}

}  // namespace

void AddMeasuresWindows(CWindowBuilder& b) {
  CWindowRows m(b);
  AddGroup(m);
  AddCampaigns(b, m);
  AddCarsharing(b, m);
  AddActiveGuidance(b, m);
  AddPassiveGuidance(b, m);
  AddAssistant(b, m);
  AddAdvice(b, m);
}

}  // namespace zorwin

int CZorvaWindows::WindowAddAk() {
  zorwin::AddMeasuresWindows(m_builder);
  return 0;
}
