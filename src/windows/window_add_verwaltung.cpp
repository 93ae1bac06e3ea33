// The administration 110 and its five pages: subsidies, taxes, traffic
// regulations, research and finances. Every figure is a live value of the
// council ("SV.") or of the finances ("F."), read through the data exchange;
// the step buttons change the value of the dialog that holds them.
#include <string>

#include "windows/window_add_verwaltung.h"
#include "windows/window_builders.h"
#include "windows/window_rows.h"

namespace zorwin {

namespace {

constexpr int kFont = 823;
constexpr int kMinus = 25864, kPlus = 25865;
constexpr int kPageW = 337, kPageH = 388;
constexpr int kWideTaxEditor = 54;

std::string Markup(const char* type, const std::string& name, const char* tail = "") {
  return std::string("@#var,") + type + ",NULL," + name + "#" + tail;
}

// A figure of the current window or dialog in the standard font.
void Figure(CWindowRows& m, int x, int y, int w, int h, const std::string& markup) {
  m.Text(x, y, w, h, 7, markup.c_str(), "", HO_CENTER, kFont);
}

// A figure bound to the INT it shows.
void IntFigure(CWindowRows& m, int x, int y, int w, int h, const std::string& name) {
  Figure(m, x, y, w, h, Markup("INT", name));
  m.Var(VAR_INT, name.c_str());
}

// The page's help button: the entry in the dynamic help window.
void Help(CWindowBuilder& b, int x, int y, int entry, int width) {
  b.AddHilfeDynamic(x, y, entry, width, CWindowRows::kNone, 25863, CWindowRows::kNone);
}

// A value editor: a dialog of type 5 holding the value, minus and plus on a
// press, and the value between them.
void Editor(CWindowRows& m, int id, int x, int y, int w, int h, EVarType type, const char* name, int plusX,
            int textW, const char* markupType) {
  m.Dialog(id, x, y, w, h, 5, name);
  m.DialogVar(type, name);
  m.Picture(0, 0, 8, 16, 13, kMinus);
  m.Press(17, 1);
  m.Hover();
  m.Picture(plusX, 0, 8, 16, 13, kPlus);
  m.Press(16, 1);
  m.Hover();
  Figure(m, 9, 1, textW, 14, Markup(markupType, name));
}

void Page(CWindowRows& m, int id) {
  m.Window(id, 51, 21, kPageW, kPageH, kAdministration, WINDOW_NORMAL);
  m.Close();
}

void AddFrame(CWindowRows& m) {
  m.Window(kAdministration, 206, 30, 388, 409, 1, WINDOW_NORMAL);
  m.Picture(0, 0, 388, 21, 2, 28103, 50228);
  m.Drag();
  m.Hover();
  m.HotArea(353, 1, 19, 19);
  m.Press(46, kAdministration);
  m.Hover();
  // The tabs from the top; only the finances tab shows itself pressed.
  const int pages[] = {kFinances, kResearch, kRegulations, kTaxes, kSubsidies};
  for (int k = 0; k < 5; ++k) {
    m.Picture(10, 45 + 43 * k, 36, 36, 13, 18700 + k);
    m.Hover();
    m.Press(41, pages[k], 1);
    m.Balloon(61 + k);
    if (pages[k] == kFinances) m.Act(87, WHEN_TURN, INOUT_ALWAYS, kFinances);
  }
  m.Picture(0, 21, 51, 388, 2, 28054);
}

void AddSubsidies(CWindowBuilder& b, CWindowRows& m) {
  Page(m, kSubsidies);
  Help(b, 301, 62, 47, 310);
  Help(b, 301, 193, 48, 310);
  Help(b, 301, 221, 49, 310);
  m.Var(VAR_INT, "SV.SUB.SELLINGCAR");
  const struct {
    const char* name;
    int y, numberH;
  } rows[] = {{"SV.SUB.BUYINGPKWH2", 62, 16},    {"SV.SUB.BUYINGPKWENERGIE", 91, 14},
              {"SV.SUB.BUYINGMICROCAR", 118, 16}, {"SV.SUB.TELEWORKING", 193, 16},
              {"SV.SUB.SELLINGCAR", 221, 16}};
  for (const auto& r : rows) IntFigure(m, 237, r.y + 1, 59, 14, std::string(r.name) + ".EXPENSES");
  m.Picture(0, 0, kPageW, kPageH, 2, 28053, 50257);
  int dialog = 1;
  for (const auto& r : rows) {
    Editor(m, dialog++, 114, r.y, 53, 16, VAR_INT, r.name, 44, 35, "INT");
    // The number of uses: a value without buttons.
    const std::string number = std::string(r.name) + ".NUMBER";
    m.Dialog(dialog++, 174, r.y, 53, r.numberH, 5, number.c_str());
    m.DialogVar(VAR_INT, number.c_str());
    Figure(m, 9, 1, 35, 14, Markup("INT", number));
  }
}

void AddTaxes(CWindowRows& m) {
  Page(m, kTaxes);
  // The energy tax's editor is wider: its rate has two decimals ("0.49"),
  // which the others' room between the arrows does not hold.
  const struct {
    const char* name;
    int y, h, w;
    EVarType type;
    const char* markup;
    const char* incomeMarkup;
  } taxes[] = {{"SV.TAX.GENERAL", 43, 17, 46, VAR_INT, "FLOAT", "FLOAT"},
               {"SV.TAX.MWST", 71, 16, 46, VAR_INT, "FLOAT", "FLOAT"},
               {"SV.TAX.KFZ.PKW", 127, 17, 46, VAR_INT, "INT", "FLOAT"},
               {"SV.TAX.KFZ.MICROCAR", 155, 18, 46, VAR_INT, "FLOAT", "FLOAT"},
               {"SV.TAX.ENERGIE", 183, 18, kWideTaxEditor, VAR_FLOAT, "FLOAT", "INT"}};
  for (const auto& t : taxes) {
    const std::string income = std::string(t.name) + ".INCOME";
    // The general tax's income text ends in two blanks.
    Figure(m, 225, t.y + 1, 70, 14, Markup(t.incomeMarkup, income, t.y == 43 ? "  " : ""));
    m.Var(VAR_INT, income.c_str());
  }
  m.Picture(0, 0, kPageW, kPageH, 2, 28052, 50258);
  int dialog = 1;
  for (const auto& t : taxes) Editor(m, dialog++, 170, t.y, t.w, t.h, t.type, t.name, t.w - 9, t.w - 18, t.markup);
}

void AddRegulations(CWindowBuilder& b, CWindowRows& m) {
  Page(m, kRegulations);
  Help(b, 295, 72, 50, 230);
  Help(b, 295, 113, 51, 230);
  Help(b, 295, 146, 52, 230);
  IntFigure(m, 221, 73, 67, 14, "SV.TICKET.INCOME");
  IntFigure(m, 221, 114, 67, 14, "SV.TICKET.PERSON.EXPENSES");
  m.Picture(0, 0, kPageW, kPageH, 2, 28051, 50259);
  Editor(m, 1, 145, 72, 54, 16, VAR_INT, "SV.TICKET", 44, 38, "INT");
  Editor(m, 2, 145, 113, 54, 16, VAR_INT, "SV.TICKET.PERSON", 44, 38, "INT");
  Editor(m, 4, 145, 179, 55, 16, VAR_INT, "SV.SPEED.TOWN", 44, 38, "INT");
}

void AddResearch(CWindowBuilder& b, CWindowRows& m) {
  Page(m, kResearch);
  const struct {
    const char* name;
    int help, top, switchY;
  } areas[] = {{"SV.RES.EMISSION", 42, 44, 47},
               {"SV.RES.REDUCTION", 43, 115, 118},
               {"SV.RES.ENERGIE", 45, 186, 188},
               {"SV.RES.H2", 44, 257, 259},
               {"SV.RES.TELEWORKING", 46, 328, 330}};
  for (const auto& a : areas) Help(b, 302, a.top - 19, a.help, 310);
  int k = 0;
  for (const auto& a : areas) {
    m.Picture(15, a.top, 34, 34, 19, 28107 + k++);
    m.Var(VAR_INT, (std::string(a.name) + ".PICSTURESTATE").c_str());
  }
  auto level = [](const char* area, int l) { return std::string(area) + "." + std::to_string(l); };
  for (const auto& a : areas)
    for (int l = 1; l <= 3; ++l) IntFigure(m, 109, a.top + 2 + 16 * (l - 1), 67, 11, level(a.name, l) + ".COST");
  // The duration bars: frame = done / needed x 11. The item's first variable
  // is the one bound last, so the needed duration is bound first.
  for (const auto& a : areas)
    for (int l = 1; l <= 3; ++l) {
      m.Pictures(186, a.top + 1 + 16 * (l - 1), 80, 15, 19, 28103 + l, 50772 - l, 11);
      m.Var(VAR_FLOAT, (level(a.name, l) + ".DURATION.MAX").c_str());
      m.Var(VAR_FLOAT, (level(a.name, l) + ".DURATION").c_str());
    }
  // The switches start and stop a stage and show whether it runs.
  for (const auto& a : areas)
    for (int l = 1; l <= 3; ++l) {
      m.Picture(270, a.switchY + 16 * (l - 1), 12, 11, 13, 25866);
      m.Press(48);
      m.Act(133, WHEN_TURN, INOUT_ALWAYS);
      m.Var(VAR_INT, level(a.name, l).c_str());
    }
  m.Picture(0, 0, kPageW, kPageH, 2, 28050, 50261);
}

void AddFinances(CWindowBuilder& b, CWindowRows& m) {
  Page(m, kFinances);
  const int helps[][2] = {{46, 39}, {67, 40}, {130, 35}, {151, 36}, {172, 37}, {193, 33}, {278, 32}, {299, 38}};
  for (const auto& h : helps) Help(b, 309, h[0], h[1], 310);
  // The credit the buttons beside it move, written as the language writes
  // amounts.
  m.Text(162, 359, 90, 13, 7, "10.000.000", "10,000,000", HO_CENTER, kFont);
  m.Picture(89, 358, 67, 15, 13, 42325, 50648);
  m.Press(86);
  m.Hover();
  m.Balloon(66);
  m.Picture(258, 358, 67, 15, 13, 42324, 50647);
  m.Press(85);
  m.Hover();
  m.Balloon(67);
  IntFigure(m, 115, 89, 89, 12, "F.LASTYEAR.INCOME");
  m.Picture(0, 0, kPageW, kPageH, 2, 28079, 50263);

  const char* thisYear[] = {"F.INCOME", "F.INCOME.ZORV", "F.INCOME.CITY", "F.EXPENSES",
                            "F.EXPENSES.BUILDINFRASTRUCTURE", "F.EXPENSES.PRESERVEINFRASTRUCTURE", "F.RES", "F.SUB",
                            "F.ZINSEN", "F.KONTO", "F.BILANZ", "F.KREDITE"};
  m.Dialog(1, 0, 0, 378, 360, 1, "F");
  for (const char* name : thisYear) m.DialogVar(VAR_INT, name);
  // Rows of both years: the figure's name after "F." and its line.
  const struct {
    const char* name;
    int y;
  } rows[] = {{"INCOME", 89},  {"INCOME.ZORV", 47}, {"INCOME.CITY", 68}, {"EXPENSES", 236},
              {"EXPENSES.BUILDINFRASTRUCTURE", 152}, {"EXPENSES.PRESERVEINFRASTRUCTURE", 131},
              {"RES", 173}, {"SUB", 194}, {"ZINSEN", 215}, {"BILANZ", 279}, {"KONTO", 300}, {"KREDITE", 331}};
  for (const auto& r : rows) Figure(m, 213, r.y, 89, 12, Markup("INT", std::string("F.") + r.name));

  const char* lastYear[] = {"F.LASTYEAR.INCOME", "F.LASTYEAR.INCOME.ZORV", "F.LASTYEAR.INCOME.CITY",
                            "F.LASTYEAR.EXPENSES", "F.LASTYEAR.EXPENSES.BUILDINFRASTRUCTURE",
                            "F.LASTYEAR.EXPENSES.PRESERVEINFRASTRUCTURE", "F.LASTYEAR.EXPENSES.ZORV.RUNNING",
                            "F.LASTYEAR.RES", "F.LASTYEAR.SUB", "F.LASTYEAR.ZINSEN", "F.LASTYEAR.KONTO",
                            "F.LASTYEAR.BILANZ", "F.LASTYEAR.KREDITE"};
  m.Dialog(2, 0, 0, 378, 360, 1, "F.LASTYEAR");
  for (const char* name : lastYear) m.DialogVar(VAR_INT, name);
  // Last year's income stands on the page itself.
  for (const auto& r : rows)
    if (r.y != 89) Figure(m, 115, r.y, 89, 12, Markup("INT", std::string("F.LASTYEAR.") + r.name));
}

}  // namespace

void AddAdministrationPages(CWindowBuilder& b) {
  CWindowRows m(b);
  AddFrame(m);
  AddSubsidies(b, m);
  AddTaxes(m);
  AddRegulations(b, m);
  AddResearch(b, m);
  AddFinances(b, m);
}

}  // namespace zorwin
