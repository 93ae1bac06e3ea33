// The main screen: the root window 1 with the game bar, the bar's buttons,
// the tool menus they open, and the thematic map with its three layer pages.
// Every window of the game hangs below window 1, so this builder runs first.
#include "windows/window_add_verwaltung.h"
#include "windows/window_rows.h"

namespace {

constexpr int kNone = CWindowRows::kNone;
using MainScreenBuilder = CWindowRows;

int Price(int n) { return CWindowRows::Price(n); }

void AddRoot(MainScreenBuilder& m) {
  m.Window(1, 0, 0, 0, 0, -1, WINDOW_ROOT);
  // the status row: time of day, the bar toggle and the year
  m.Picture(653, 557, 54, 15, 17, 24557);
  m.Picture(366, 577, 21, 17, 13, 49828);
  m.Press(139);
  m.Act(140, WHEN_TURN, INOUT_ALWAYS);
  m.Balloon(0);
  m.Picture(708, 557, 80, 15, 2, 28432);
  m.Balloon(2);
  // rotate and zoom, along the small map's lower left edge
  const struct {
    int x, y, w, h, res;
    EActionType kind;
    int balloon;
  } view[] = {{252, 511, 28, 16, 22089, 29, 3},
              {272, 520, 23, 18, 22088, 28, 4},
              {292, 530, 23, 18, 22087, 27, 5},
              {310, 540, 23, 16, 22090, 30, 6}};
  for (const auto& v : view) {
    m.Picture(v.x, v.y, v.w, v.h, 13, v.res);
    m.Hover();
    m.Press(v.kind);
    m.Balloon(v.balloon);
  }
  // the four view filters, each pressed while its filter is on
  const struct {
    int x, y, res, filter, balloon;
  } filters[] = {{222, 532, 22091, 1, 7}, {242, 542, 22092, 3, 8}, {262, 552, 22093, 4, 9}, {282, 562, 22094, 2, 10}};
  for (const auto& f : filters) {
    m.Picture(f.x, f.y, 16, 11, 13, f.res);
    m.Hover();
    m.Press(32, f.filter);
    m.Balloon(f.balloon);
    m.Act(93, WHEN_TURN, INOUT_ALWAYS, f.filter);
  }
  m.Picture(393, 580, 15, 13, 13, 39446);
  m.Hover();
  m.Press(34, 160);
  m.Balloon(11);
  // balloon areas over the status line: time, inhabitants, account, event line
  m.HotArea(653, 557, 54, 15);
  m.Balloon(1);
  m.HotArea(542, 557, 110, 15);
  m.Balloon(230);
  m.HotArea(416, 557, 125, 15);
  m.Balloon(229);
  m.HotArea(416, 579, 310, 15);
  m.Balloon(231);
  m.Picture(727, 579, 15, 15, 13, 22095);
  m.Hover();
  m.Press(34, 218);
  m.Balloon(12);
  m.Picture(745, 580, 41, 13, 13, 37555, 50624);
  m.Hover();
  m.Press(34, 219);
  m.Balloon(13);
  m.Press(64, 1);
  // the ticker: a click jumps to the message it shows
  m.HotArea(417, 580, 308, 13);
  m.Press(112);
  m.Hover();
  m.Picture(0, 460, 800, 140, 2, 50868);
  m.Open();
}

void AddMapButtons(MainScreenBuilder& m) {
  m.Window(8, 198, 563, 40, 23, 1, WINDOW_NORMAL);
  m.Picture(0, 0, 40, 23, 13, 22098);
  m.Hover();
  m.Press(34, 201, 1);
  m.Press(31);
  m.Balloon(14);
  m.Open();

  m.Window(9, 594, 498, 52, 51, 1, WINDOW_NORMAL);
  m.Picture(0, 0, 52, 51, 13, 22005, 50595);
  m.Hover();
  m.Press(34, 140, 1);
  m.Balloon(15);
  m.Open();
}

struct Layer {
  int layer;
  int buttonDE, buttonEN;
  int legendDE, legendEN;
  int balloon;
};

// One page of the thematic map: tabs to the other pages, the colour key, a
// button per layer, the page picture and the legend the buttons choose.
void AddLayerButtons(MainScreenBuilder& m, const Layer* layers, int count) {
  for (int i = 0; i < count; ++i) {
    const Layer& l = layers[i];
    m.Picture(6, 26 + 17 * i, 161, 16, 13, l.buttonDE, l.buttonEN);
    m.Hover();
    m.Press(51, l.layer);
    m.Press(54, l.legendDE, l.legendEN);
    m.Balloon(l.balloon);
  }
}

void AddThematicMap(MainScreenBuilder& m) {
  m.Window(201, 50, 50, 460, 299, 1, WINDOW_NORMAL);
  m.HotArea(0, 0, 460, 21);
  m.Drag();
  m.Hover();
  m.HotArea(430, 3, 12, 12);
  m.Press(46, 201);
  m.Hover();
  m.Picture(14, 30, 256, 256, 15, kNone);
  m.Picture(0, 0, 460, 299, 2, 36438);
  m.Close();

  // the city page
  m.Window(202, 279, 29, 173, 258, 201, WINDOW_NORMAL);
  m.HotArea(71, 0, 49, 15);
  m.Press(36, 204, 1);
  m.Picture(11, 153, 152, 12, 16, kNone);
  const Layer city[] = {{1, 36453, 50557, 36448, 50020, 16},
                        {2, 36456, 50552, 36441, 50013, 17},
                        {3, 36474, 50551, 49792, 50023, 18},
                        {4, 36454, 50556, 36440, 50012, 19},
                        {5, 36455, 50554, 36440, 50012, 20}};
  AddLayerButtons(m, city, 5);
  m.HotArea(119, 0, 54, 15);
  m.Press(36, 203, 1);
  m.Picture(0, 0, 173, 117, 2, 36450, 50024);
  m.Picture(0, 118, 173, 140, 20, 36448, 50020);

  // the traffic page
  m.Window(204, 279, 29, 173, 258, 201, WINDOW_NORMAL);
  m.HotArea(0, 0, 71, 15);
  m.Press(36, 202, 1);
  m.Picture(11, 220, 152, 12, 16, kNone);
  m.HotArea(119, 0, 54, 15);
  m.Press(36, 203, 1);
  const Layer traffic[] = {{6, 36457, 50572, 36447, 50019, 21},  {7, 36458, 50571, 36446, 50018, 22},
                           {8, 36460, 50566, 36439, 50011, 23},  {9, 36459, 50567, 36445, 50017, 24},
                           {10, 36461, 50561, 36439, 50011, 25}, {11, 36462, 50562, 36439, 50011, 26},
                           {13, 36464, 50569, 36439, 50011, 27}, {14, 36465, 50570, 36444, 50016, 28}};
  AddLayerButtons(m, traffic, 8);
  m.Picture(0, 0, 173, 186, 2, 36452, 50026);
  m.Picture(0, 187, 173, 71, 20, 36447, 50019);

  // the environment page
  m.Window(203, 279, 29, 173, 258, 201, WINDOW_NORMAL);
  m.HotArea(71, 0, 49, 15);
  m.Press(36, 204, 1);
  m.Picture(11, 120, 152, 12, 16, kNone);
  m.HotArea(0, 0, 71, 15);
  m.Press(36, 202, 1);
  const Layer environment[] = {{15, 36471, 50558, 36442, 50014, 29},
                               {16, 36472, 50559, 36443, 50015, 30},
                               {17, 36473, 50748, 36449, 50022, 31}};
  AddLayerButtons(m, environment, 3);
  m.Picture(0, 0, 173, 84, 2, 36451, 50025);
  m.Picture(0, 85, 173, 73, 20, kNone);
}

// A bar button that opens or toggles a window.
void AddBarButton(MainScreenBuilder& m, int id, int x, int h, int res, int target, int balloon, bool alwaysBalloon) {
  m.Window(id, x, 505, 36, h, 1, WINDOW_NORMAL);
  m.Picture(0, 0, 36, h, 13, res);
  m.Hover();
  m.Press(34, target);
  if (alwaysBalloon)
    m.BalloonAlways(balloon);
  else
    m.Balloon(balloon);
}

void AddServiceMenus(MainScreenBuilder& m) {
  AddBarButton(m, 14, 540, 37, 18765, 23, 32, false);
  m.Open();
  AddBarButton(m, 13, 660, 36, 18763, 25, 33, true);
  m.Open();

  m.Window(25, -5, -103, 46, 96, 13, WINDOW_MENU);
  m.MenuCaption(34, 6, 25);
  m.Picture(5, 18, 36, 36, 13, 18708);
  m.Hover();
  m.Press(2, 120, 1);
  m.Press(35, 122, 1);
  m.Press(6, 25);
  m.Balloon(34);
  m.Picture(5, 55, 36, 36, 13, 26588);
  m.Hover();
  m.Press(2, 80, 1);
  m.Press(40, 84, 1);
  m.Press(6, 25);
  m.Balloon(35);
  m.Picture(0, 0, 46, 96, 2, 18527);
  m.Close();

  AddBarButton(m, 7, 495, 36, 18762, 20, 36, true);
  m.Open();
  AddBarButton(m, 11, 705, 36, 18761, 214, 40, true);
  m.Open();

  m.Window(28, -5, -139, 46, 132, 11, WINDOW_MENU);
  m.MenuCaption(34, 6, 28, true);
  m.Picture(5, 17, 36, 36, 13, 18705);
  m.Hover();
  m.Press(2, 213, 1);
  m.Press(6, 28);
  m.BalloonAlways(38);
  m.Picture(5, 54, 36, 36, 13, 18707);
  m.Hover();
  m.Press(2, 211, 1);
  m.Press(6, 28);
  m.BalloonAlways(39);
  m.Picture(5, 91, 36, 36, 13, 18706);
  m.Hover();
  m.Press(2, 214, 1);
  m.Press(2, 101, 1);
  m.BalloonAlways(40);
  m.Picture(0, 0, 46, 132, 2, 18533);
  m.Close();

  m.Window(12, 750, 505, 36, 37, 1, WINDOW_NORMAL);
  m.Picture(0, 0, 36, 37, 13, 18760);
  m.Hover();
  m.Press(34, 110, 1);
  m.Press(2, 116, 1);
  m.BalloonAlways(41);
  m.Open();
}

// A tool button of a menu: the tool on press with its balloon and price.
void AddToolButton(MainScreenBuilder& m, int y, int res, int tool, int subtool, int balloon, int price) {
  m.Picture(5, y, 36, 36, 13, res);
  m.Hover();
  m.Press(5, tool, subtool);
  m.BalloonAlways(balloon, price);
}

void AddNetworkMenus(MainScreenBuilder& m) {
  m.Window(20, -6, -250, 46, 243, 7, WINDOW_MENU);
  m.MenuCaption(34, 6, 20);
  AddToolButton(m, 17, 18641, 2, 1, 42, Price(5));
  AddToolButton(m, 54, 18643, 2, 2, 43, Price(6));
  AddToolButton(m, 91, 18686, 2, 4, 44, Price(7));
  m.Picture(5, 128, 36, 36, 13, 18692);
  m.Hover();
  m.Press(2, 21, 1);
  m.BalloonAlways(45);
  AddToolButton(m, 165, 18688, 2, 9, 46, Price(9));
  AddToolButton(m, 202, 18644, 9, kNone, 47, kNone);
  m.Picture(0, 0, 46, 243, 2, 18534);
  m.Close();

  m.Window(21, 46, 0, 46, 168, 20, WINDOW_MENU);
  m.MenuCaption(34, 47, 21);
  AddToolButton(m, 16, 50860, 5, 1, 48, Price(13));
  AddToolButton(m, 53, 19388, 5, 2, 49, Price(14));
  AddToolButton(m, 90, 18690, 5, 4, 50, Price(15));
  AddToolButton(m, 127, 18693, 23, kNone, 51, kNone);
  m.Picture(0, 0, 46, 168, 2, 18529);
  m.Close();
}

void AddZoneMenus(MainScreenBuilder& m) {
  AddBarButton(m, 6, 450, 37, 18764, 200, 52, true);
  m.Open();

  m.Window(200, -5, -176, 46, 169, 6, WINDOW_MENU);
  m.MenuCaption(33, 6, 200);
  m.Picture(5, 17, 36, 36, 13, 18638);
  m.Hover();
  m.Press(2, 35);
  m.Balloon(53);
  m.Picture(5, 54, 36, 36, 13, 18639);
  m.Hover();
  m.Press(2, 36);
  m.Balloon(54);
  m.Picture(5, 91, 36, 36, 13, 18635);
  m.Hover();
  m.Release(5, 12, 1);
  m.Balloon(55, Price(4));
  m.Picture(5, 128, 36, 36, 13, 18772);
  m.Hover();
  m.Press(5, 13, 1);
  m.Balloon(56, 1000);
  m.Picture(0, 0, 46, 169, 2, 18675);
  m.Close();

  // residential density: the first button's highlight follows the pointer
  // from the first move on
  m.Window(35, 44, 11, 81, 46, 200, WINDOW_SUBMENU);
  m.Picture(3, 5, 36, 36, 13, 26591);
  m.Act(11, WHEN_MOVE, INOUT_ALWAYS, 1);
  m.Release(5, 10, 1);
  m.Balloon(57, Price(0));
  m.Picture(40, 5, 36, 36, 13, 26592);
  m.Hover();
  m.Release(5, 10, 2);
  m.Balloon(58, Price(1));
  m.Picture(0, 0, 81, 46, 2, 28380);

  // commercial density
  m.Window(36, 44, 48, 81, 46, 200, WINDOW_SUBMENU);
  m.Picture(3, 5, 36, 36, 13, 26591);
  m.Release(5, 11, 1);
  m.Hover();
  m.Balloon(59, Price(2));
  m.Picture(40, 5, 36, 36, 13, 26592);
  m.Release(5, 11, 2);
  m.Balloon(60, Price(3));
  m.Hover();
  m.Picture(0, 0, 81, 46, 2, 28380);

  m.Window(37, 45, 107, 36, 36, 200, WINDOW_SUBMENU);
  for (int v = 1; v <= 3; ++v) {
    m.HotArea(0, 12 * (v - 1), 36, 12);
    m.Release(5, 12, v);
  }
}

}  // namespace

int CZorvaWindows::WindowAdd() {
  MainScreenBuilder m(m_builder);
  AddRoot(m);
  zorwin::AddHelpWindows(m_builder);
  AddMapButtons(m);
  AddThematicMap(m);
  AddServiceMenus(m);
  AddNetworkMenus(m);
  AddZoneMenus(m);
  zorwin::AddAdministrationWindows(m_builder);
  return 0;
}
