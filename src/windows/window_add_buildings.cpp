// The building palette: the menu 23 above bar button 14 with the groups of
// town buildings (57) and traffic buildings (58), the size choices of each
// group and the removal tool. Each building button chooses its tool on
// release and shows its build price in its balloon.
#include "windows/window_rows.h"

namespace {

constexpr int kPalette = 23;
constexpr int kTownGroups = 57;
constexpr int kTrafficGroups = 58;
constexpr int kCarParks = 38;

// A menu button that opens a window (and closes another).
void OpenButton(CWindowRows& m, int y, int res, int opens, int closes, int balloon) {
  m.Picture(5, y, 36, 36, 13, res);
  m.Hover();
  m.Press(2, opens);
  if (closes != CWindowRows::kNone) m.Press(6, closes);
  m.Balloon(balloon);
}

// One size choice of a building group: small, medium, large.
struct SizeButton {
  int res;
  EInOutType releaseScope;
  int balloon;
  int priceEntry;
};

// A group's sub-menu: three size buttons choosing tool, subtool and size.
void SizeMenu(CWindowRows& m, int id, int y, int parent, int tool, int subtool, const SizeButton (&sizes)[3]) {
  m.Window(id, 44, y, 118, 46, parent, WINDOW_SUBMENU);
  for (int v = 1; v <= 3; ++v) {
    const SizeButton& s = sizes[v - 1];
    m.Picture(3 + 37 * (v - 1), 5, 36, 36, 13, s.res);
    m.Act(5, WHEN_LEFT_UP, s.releaseScope, tool, subtool, v);
    m.Balloon(s.balloon, CWindowRows::Price(s.priceEntry));
    m.Hover();
  }
  m.Picture(0, 0, 118, 46, 2, 28381);
}

constexpr int kSmall = 26597, kMedium = 26598, kLarge = 26599;

void TownMenus(CWindowRows& m) {
  const auto town = [&](int id, int y, int subtool, int balloon, int price, EInOutType first) {
    const SizeButton sizes[3] = {{kSmall, first, balloon, price},
                                 {kMedium, INOUT_ALWAYS, balloon + 1, price + 1},
                                 {kLarge, INOUT_ALWAYS, balloon + 2, price + 2}};
    SizeMenu(m, id, y, kTownGroups, 6, subtool, sizes);
  };
  town(31, 11, 1, 99, 16, INOUT_ALWAYS);   // shops
  town(59, 160, 3, 102, 28, INOUT_ALWAYS);  // parks
  town(34, 49, 2, 105, 19, INOUT_ALWAYS);   // schools
  town(32, 123, 5, 108, 22, INOUT_INSIDE);  // sports
  town(33, 86, 6, 111, 25, INOUT_ALWAYS);   // theatres
}

}  // namespace

int CZorvaWindows::WindowAddFloaterGebaeude() {
  CWindowRows m(m_builder);

  m.Window(kPalette, -5, -139, 46, 132, 14, WINDOW_MENU);
  m.MenuCaption(34, 6, kPalette);
  m.Picture(5, 17, 36, 36, 13, 30068);
  m.Hover();
  m.Press(2, kTownGroups);
  m.Press(6, kTrafficGroups);
  m.Balloon(85);
  m.Picture(5, 54, 36, 36, 13, 30069, 50831);
  m.Hover();
  m.Press(2, kTrafficGroups);
  m.Press(6, kTownGroups);
  m.Balloon(86);
  m.Picture(5, 91, 36, 36, 13, 18699);
  m.Hover();
  m.Press(5, 15);
  m.Balloon(87);
  m.Picture(0, 0, 46, 132, 2, 30076);
  m.Close();

  m.Window(kTownGroups, 46, -150, 46, 206, kPalette, WINDOW_MENU);
  m.MenuCaption(34, 6, kTownGroups);
  OpenButton(m, 17, 18695, 31, CWindowRows::kNone, 88);
  OpenButton(m, 54, 18696, 34, CWindowRows::kNone, 89);
  OpenButton(m, 91, 18697, 33, CWindowRows::kNone, 90);
  OpenButton(m, 128, 18698, 32, CWindowRows::kNone, 91);
  OpenButton(m, 165, 30079, 59, CWindowRows::kNone, 92);
  m.Picture(0, 0, 46, 206, 2, 30077);
  m.Close();

  m.Window(kTrafficGroups, 46, -153, 46, 247, kPalette, WINDOW_MENU);
  m.MenuCaption(34, 6, kTrafficGroups, false, false);
  m.Picture(5, 17, 36, 36, 13, 28131);
  m.Press(5, 7, 1);
  m.Hover();
  m.Balloon(93, CWindowRows::Price(33));
  m.Picture(5, 54, 36, 36, 13, 28132);
  m.Press(5, 7, 2);
  m.Balloon(94, CWindowRows::Price(34));
  m.Hover();
  m.Picture(5, 95, 36, 36, 13, 28730);
  m.Hover();
  m.Press(5, 7, 7);
  m.Balloon(95, CWindowRows::Price(31));
  m.Picture(5, 132, 36, 36, 13, 49626);
  m.Hover();
  m.Act(5, WHEN_LEFT_UP, INOUT_ALWAYS, 7, 9);
  m.Balloon(96, CWindowRows::Price(32));
  m.Picture(5, 169, 36, 36, 13, 18706);
  m.Hover();
  m.Press(2, kCarParks);
  m.Balloon(97);
  m.Picture(5, 206, 36, 36, 13, 37574);
  m.Hover();
  m.Press(5, 7, 8);
  m.Balloon(98, CWindowRows::Price(35));
  m.Picture(0, 0, 46, 247, 2, 30078);

  TownMenus(m);

  // The car parks' buttons choose on a release inside them; the multi-
  // storey car park is the third button but the price table's entry 37.
  const SizeButton parks[3] = {{26594, INOUT_INSIDE, 114, 36},
                               {26595, INOUT_INSIDE, 115, 38},
                               {26596, INOUT_INSIDE, 116, 37}};
  SizeMenu(m, kCarParks, 164, kTrafficGroups, 8, 1, parks);
  return 0;
}
