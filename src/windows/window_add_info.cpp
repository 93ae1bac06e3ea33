// The small windows around the administration: turning a building before
// it is placed (228), the picture help (215) and the text help (242), the
// park-and-ride station (213) with its information window (224), the
// building information (221) and the line-editing window of a stop (227).
// Their figures are the station's "PRPLACE." and the selected building's
// "BUILDING." values, read through the data exchange.
#include <string>
#include <tuple>
#include <utility>

#include "windows/window_add_verwaltung.h"
#include "windows/window_rows.h"

namespace zorwin {

namespace {

constexpr int kFont = 823;
constexpr int kStationFont = 19671;

void Caption(CWindowRows& m, int w, int h) {
  m.HotArea(0, 0, w, h);
  m.Drag();
  m.Hover();
}

void CloseArea(CWindowRows& m, int x, int y, int w, int h, EActionType kind, int window) {
  m.HotArea(x, y, w, h);
  m.Press(kind, window);
  m.Hover();
}

// A figure bound to the INT it shows; some station figures end in a blank.
void Figure(CWindowRows& m, int x, int y, int w, int h, const char* name, int font, const char* tail = "") {
  const std::string markup = std::string("@#var,INT,NULL,") + name + "#" + tail;
  m.Text(x, y, w, h, 7, markup.c_str(), "", HO_CENTER, font);
}

void Bar(CWindowRows& m, int x, int y, int w, int h, const char* name) {
  m.Bar(x, y, w, h, 1, 2000, 65535);
  m.Var(VAR_FLOAT, name);
}

void AddParkRideStation(CWindowRows& m) {
  m.Window(kParkRideStation, 200, 220, 515, 200, 1, WINDOW_NORMAL);
  m.Close();
  Caption(m, 515, 23);
  CloseArea(m, 497, 0, 19, 23, 6, kParkRideStation);
  // The price per hour, stepped on the release of its buttons.
  m.Dialog(3, 274, 36, 51, 36, 5, "PRPLACE.PRICE.HOUR");
  m.DialogVar(VAR_FLOAT, "PRPLACE.PRICE.HOUR");
  const struct {
    int y, picture;
    EActionType kind;
  } steps[] = {{0, 19677, 16}, {16, 19678, 17}};
  for (const auto& s : steps) {
    m.Picture(33, s.y, 18, 14, 13, s.picture);
    m.Act(s.kind, WHEN_LEFT_UP, INOUT_ALWAYS);
    m.Act(11, WHEN_MOVE_FIRST, INOUT_ALWAYS);
  }
  m.Text(0, 8, 20, 20, 7, "@#var,FLOAT,NULL,PRPLACE.PRICE.HOUR#", "", HO_CENTER, kStationFont);
  // The station's figures.
  m.Dialog(2, 0, 18, 150, 150, 1, "PRPLACE");
  for (const char* name : {"PRPLACE.EXPENSES", "PRPLACE.INCOME", "PRPLACE.PKW", "PRPLACE.NUMBER", "PRPLACE.QUOTE",
                           "PRPLACE.USER", "PRPLACE.USERQUOTE"})
    m.DialogVar(VAR_INT, name);
  Figure(m, 114, 106, 34, 12, "PRPLACE.INCOME", kStationFont);
  Figure(m, 114, 133, 34, 12, "PRPLACE.EXPENSES", kStationFont);
  Figure(m, 114, 24, 34, 12, "PRPLACE.NUMBER", kStationFont, " ");
  Figure(m, 114, 76, 34, 12, "PRPLACE.QUOTE", kStationFont, " ");
  Figure(m, 114, 48, 34, 12, "PRPLACE.PKW", kStationFont, " ");
  // The list of stations with its two scroll rectangles.
  m.Dialog(1, 489, 45, 12, 126, 3, "PRPLACE.PLACELIST");
  m.DialogVar(VAR_FLOAT, "PRPLACE.PLACELIST");
  for (const auto& [y, kind] : {std::pair{0, 16}, std::pair{114, 17}}) {
    m.Rect(0, y, 12, 12, 1, 2000);
    m.Press(kind, 1);
    m.Hover();
  }
  // The three advertising switches.
  const struct {
    int id, y;
    const char* name;
  } ads[] = {{4, 72, "PRPLACE.ADMAGAZIN"}, {5, 99, "PRPLACE.ADRADIO"}, {6, 126, "PRPLACE.ADTELEVISION"}};
  for (const auto& a : ads) {
    m.Dialog(a.id, 291, a.y, 19, 22, 1, a.name);
    m.DialogVar(VAR_FLOAT, a.name);
  }
}

void AddStopLineEdit(CWindowRows& m) {
  m.Window(kStopLineEdit, 150, 150, 139, 69, 1, WINDOW_NORMAL);
  Caption(m, 139, 20);
  m.Picture(109, 5, 10, 10, 13, 25940);
  m.Press(46, kStopLineEdit);
  m.Press(35, 129, 1);
  m.Hover();
  // Remove the stop, the line information, add the stop at the line's end.
  const struct {
    int x, picture, tool, balloon;
  } tools[] = {{8, 25922, 19, 68}, {55, 25920, 16, 79}, {96, 25919, 17, 70}};
  for (const auto& t : tools) {
    m.Picture(t.x, 26, 36, 36, 13, t.picture);
    m.Press(5, t.tool);
    m.Hover();
    m.Act(114, WHEN_TURN, INOUT_ALWAYS, t.tool);
    m.Balloon(t.balloon);
  }
  m.Picture(0, 0, 139, 69, 2, 25915);
}

void AddParkRideInfo(CWindowRows& m) {
  m.Window(kParkRideInfo, 51, 21, 239, 117, kAdministration, WINDOW_NORMAL);
  m.Close();
  Caption(m, 239, 21);
  CloseArea(m, 209, 3, 12, 12, 46, kParkRideInfo);
  const struct {
    int x, y, w;
    const char* name;
  } figures[] = {{110, 55, 51, "PRPLACE.PLACES"},
                 {165, 55, 64, "PRPLACE.PLACESUSERQUOTE"},
                 {110, 69, 51, "PRPLACE.LINIEN"},
                 {165, 69, 64, "PRPLACE.LINIENUSED"}};
  for (const auto& f : figures) {
    Figure(m, f.x, f.y, f.w, 12, f.name, kFont);
    m.Var(VAR_INT, f.name);
  }
  Bar(m, 110, 95, 119, 12, "BUILDING.PKWREACH");
  m.Picture(0, 0, 239, 117, 2, 49914, 50072);
}

void AddBuildingInfo(CWindowRows& m) {
  m.Window(kBuildingInfo, 51, 21, 239, 207, kAdministration, WINDOW_NORMAL);
  m.Close();
  Caption(m, 239, 21);
  CloseArea(m, 209, 3, 12, 12, 46, kBuildingInfo);
  m.Text(89, 22, 141, 15, 27, "Building Type", "", HO_CENTER, kFont);
  m.Var(VAR_INT, "BUILDING.TYPE");
  // Capacity and use of each kind of place, one row each.
  int y = 55;
  for (const char* kind : {"RES", "WORK", "SHOPPING", "LEISURE", "EDUCATION"}) {
    const std::string capacity = std::string("BUILDING.") + kind, used = capacity + ".USED";
    Figure(m, 119, y, 53, 12, capacity.c_str(), kFont);
    m.Var(VAR_INT, capacity.c_str());
    Figure(m, 176, y, 53, 12, used.c_str(), kFont);
    m.Var(VAR_INT, used.c_str());
    y += 14;
  }
  Bar(m, 120, 157, 108, 11, "BUILDING.WOHNQUALITAET");
  Bar(m, 120, 171, 108, 11, "BUILDING.PKWREACH");
  Bar(m, 120, 185, 108, 11, "BUILDING.OPNVREACH");
  m.Picture(0, 0, 239, 207, 2, 39876, 50070);
}

}  // namespace

void AddHelpWindows(CWindowBuilder& b) {
  CWindowRows m(b);
  m.Window(kTurnBuilding, 200, 150, 99, 69, 1, WINDOW_NORMAL);
  m.Close();
  m.Picture(0, 0, 99, 21, 2, 26547);
  m.Drag();
  m.Hover();
  // Turn left (kind 39) and right (kind 38).
  for (const auto& [x, picture, kind] : {std::tuple{8, 26545, 39}, std::tuple{56, 26546, 38}}) {
    m.Picture(x, 26, 36, 36, 13, picture);
    m.Press(kind, 1);
    m.Hover();
  }
  m.Picture(0, 0, 99, 69, 2, 26543);

  m.Window(kHelpPicture, 197, 200, 264, 234, 1, WINDOW_NORMAL);
  CloseArea(m, 232, 4, 25, 12, 6, kHelpPicture);
  Caption(m, 264, 20);
  m.Picture(0, 0, 264, 234, 20, CWindowRows::kNone);

  m.Window(kHelpText, 197, 200, 264, 234, 1, WINDOW_NORMAL);
  CloseArea(m, 232, 4, 25, 12, 6, kHelpText);
  Caption(m, 264, 20);
  m.Text(0, 0, 264, 234, 26, "Text", "", HO_LEFT, 28387);
  m.Text(0, 0, 264, 234, 26, "Titel", "", HO_LEFT, 49713);
  m.Rect(0, 0, 0, 0, 1, 8361952);
  m.Picture(0, 0, 0, 0, 39, CWindowRows::kNone);
}

void AddAdministrationWindows(CWindowBuilder& b) {
  CWindowRows m(b);
  AddParkRideStation(m);
  AddAdministrationPages(b);
  AddStopLineEdit(m);
  AddParkRideInfo(m);
  AddBuildingInfo(m);
}

}  // namespace zorwin
