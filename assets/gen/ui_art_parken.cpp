// The pictures of the parking windows: the parking management's caption,
// its column of page buttons and its balance, fees and utilisation pages with
// the well of the car-park list, the button that confirms a fee change; the
// car-park window's caption, button column and its information, settings
// and parking-systems pages, and the utilisation bar of 18 frames. The pages
// carry light fields where the game writes its figures.
#include <string>

#include "gen/ui_paint.h"

namespace zorgen {

namespace {

constexpr Rgb8 kParkBlue{40, 90, 190};
constexpr Rgb8 kGreen{90, 190, 110};
constexpr Rgb8 kGold{230, 180, 40};

// The blue parking sign with its white P, centred at (x, y).
void ParkSign(cairo_t* cr, double x, double y, double size) {
  FillRect(cr, x - size / 2, y - size / 2, size, size, kParkBlue);
  Bevel(cr, x - size / 2, y - size / 2, size, size, true);
  Text(cr, kBold, size * 0.8, "P", x, y + size * 0.3, kWhite, Align::Centre);
}

// The caption with the close mark where the window's close button lies.
Image16 Caption(const UiArt& a, const Words& title, bool english, double closeX) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  CaptionStrip(cr, a.width, "", closeX);
  FillRect(cr, 6, 2, 16, a.height - 4, kCaptionBottom);
  ParkSign(cr, 14, a.height / 2.0, a.height - 6);
  Text(cr, kCondensedBold, 12, title.In(english), 30, a.height - 5, kTextLight);
  return c.ToImage();
}

// ---- the page buttons' icons, in a 36 x 36 design square

// Utilisation: a row of places, most of them taken.
void PlacesIcon(cairo_t* cr) {
  FillRect(cr, 4, 8, 28, 22, {70, 76, 88});
  for (int i = 0; i < 4; ++i) {
    Line(cr, 4 + 7 * i, 8, 4 + 7 * i, 30, 1, kWhite);
    if (i < 3) FillRect(cr, 5.5 + 7 * i, 12, 4.5, 12, i == 1 ? Rgb8{60, 120, 220} : kRed);
  }
  Line(cr, 32, 8, 32, 30, 1, kWhite);
}

// Balance: a pair of scales.
void ScalesIcon(cairo_t* cr) {
  FillRect(cr, 17, 6, 2, 24, {200, 204, 214});
  FillRect(cr, 10, 29, 16, 3, {200, 204, 214});
  Line(cr, 6, 10, 30, 10, 2, {200, 204, 214});
  Poly(cr, {{2, 20}, {10, 20}, {6, 11}}, kGold);
  Poly(cr, {{26, 20}, {34, 20}, {30, 11}}, kGreen);
}

// Fees: a ticket with a coin.
void FeeIcon(cairo_t* cr) {
  FillRect(cr, 5, 8, 22, 16, {240, 236, 220});
  Bevel(cr, 5, 8, 22, 16, true);
  Text(cr, kBold, 10, "P", 11, 20, kParkBlue, Align::Centre);
  Disc(cr, 25, 25, 7, kGold);
  Text(cr, kBold, 9, "\xE2\x82\xAC", 25, 28.5, {120, 80, 10}, Align::Centre);
}

// General information: an i in a disc.
void InfoIcon(cairo_t* cr) {
  Disc(cr, 18, 18, 14, {60, 120, 220});
  Text(cr, kBold, 20, "i", 18, 26, kWhite, Align::Centre);
}

// Settings: a slider with its knob over a P.
void SettingsIcon(cairo_t* cr) {
  ParkSign(cr, 18, 13, 16);
  FillRect(cr, 4, 27, 28, 3, {200, 204, 214});
  FillRect(cr, 19, 23, 5, 11, kAccent);
}

// Parking systems: the guidance sign with its arrow and free places.
void SystemsIcon(cairo_t* cr) {
  FillRect(cr, 17, 18, 2, 16, {150, 150, 160});
  FillRect(cr, 4, 4, 28, 16, kParkBlue);
  Bevel(cr, 4, 4, 28, 16, true);
  Text(cr, kBold, 11, "P", 10, 16, kWhite, Align::Centre);
  Poly(cr, {{16, 9}, {24, 9}, {24, 6}, {30, 12}, {24, 18}, {24, 15}, {16, 15}}, kWhite);
}

// ---- the parking management's pages

// The well of the car-park list with its column titles above it; the list
// stands at (17, 156), 298 x 116, its scroll bar in the last 15 pixels.
void ListWell(cairo_t* cr, bool english, std::initializer_list<Words> titles, std::initializer_list<double> at) {
  Rule(cr, 10, 327, 128);
  auto x = at.begin();
  for (const Words& t : titles) Text(cr, kCondensed, 9.5, t.In(english), *x++, 150, {190, 200, 225});
  Well(cr, 16, 155, 300, 118);
}

// A row's label at the left and the light field of its figure.
void Row(cairo_t* cr, const Words& w, bool english, int y, int fieldX, int fieldW, int fieldH) {
  PageLabel(cr, w, english, 14, y + 12);
  Field(cr, fieldX, y, fieldW, fieldH);
}

Image16 BalancePage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, {"Bilanz", "Balance"}, english)->cr();
  Row(cr, {"Einnahmen im Jahr", "Income this year"}, english, 34, 213, 82, 16);
  Row(cr, {"Ausgaben im Jahr", "Expenses this year"}, english, 56, 213, 82, 16);
  Row(cr, {"Bilanz", "Balance"}, english, 78, 213, 82, 16);
  ListWell(cr, english, {{"Parkplatz", "Car park"}, {"Bilanz", "Balance"}}, {20, 212});
  return c.ToImage();
}

Image16 FeesPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, {"Parkgeb\xC3\xBChren", "Parking fees"}, english)->cr();
  PageLabel(cr, {"Alle Geb\xC3\xBChren \xC3\xA4ndern um %", "Change all fees by %"}, english, 14, 48, true);
  PageLabel(cr, {"Pkw", "Cars"}, english, 14, 68);
  PageLabel(cr, {"Microcars", "Microcars"}, english, 14, 90);
  Field(cr, 212, 56, 37, 16);
  Field(cr, 212, 78, 37, 16);
  ListWell(cr, english,
           {{"Parkplatz", "Car park"}, {"Preis/h", "Price/h"}, {"Microcar -%", "Microcar -%"}},
           {20, 122, 178});
  return c.ToImage();
}

Image16 UtilisationPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, {"Parkraumauslastung", "Parking space utilization"}, english)->cr();
  PageLabel(cr, {"Nutzerquote in %", "User quota in %"}, english, 14, 48, true);
  Row(cr, {"Pkw", "Cars"}, english, 56, 230, 51, 15);
  Row(cr, {"Microcars", "Microcars"}, english, 78, 230, 52, 15);
  ListWell(cr, english,
           {{"Parkplatz", "Car park"}, {"Pl\xC3\xA4tze", "Places"}, {"Auslastung", "Use"}, {"Systeme", "Systems"}},
           {20, 70, 128, 189});
  return c.ToImage();
}

// ---- the car-park window

// The column of the three page buttons: a well behind each, 32 apart.
Image16 ButtonColumn(const UiArt& a) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  for (int i = 0; i < 3; ++i) Well(cr, 4, 19 + 32 * i, 30, 30);
  return c.ToImage();
}

// A page of the car-park window; the picture stands 2 pixels right of the
// page, so a figure at page x stands at picture x - 2.
Canvas* CarParkFrame(Canvas& c) {
  Panel(c.cr(), 0, 0, c.Width(), c.Height());
  return &c;
}

Image16 InfoPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = CarParkFrame(c)->cr();
  Text(cr, kCondensedBold, 10.5, english ? "No." : "Nr.", 6, 11, kHeading);
  Field(cr, 33, 0, 54, 14);
  const struct {
    int y;
    Words w;
  } rows[] = {{23, {"Einnahmen", "Income"}}, {42, {"Ausgaben", "Expenses"}}, {61, {"Bilanz", "Balance"}}};
  for (const auto& r : rows) Row(cr, r.w, english, r.y, 129, 84, 14);
  Rule(cr, 6, a.width - 6, 84);
  PageLabel(cr, {"Auslastung", "Utilization"}, english, 6, 98, true);
  const struct {
    int y;
    Words w;
  } bars[] = {{105, {"Pkw", "Cars"}}, {123, {"Microcars", "Microcars"}}};
  for (const auto& b : bars) {
    PageLabel(cr, b.w, english, 14, b.y + 12);
    Well(cr, 158, b.y - 1, 54, 17);
  }
  return c.ToImage();
}

Image16 SettingsPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = CarParkFrame(c)->cr();
  PageLabel(cr, {"Aufteilung der Pl\xC3\xA4tze", "Share of places"}, english, 6, 14, true);
  ColumnTitle(cr, {"Pkw", "Cars"}, english, 22, 32, 58);
  ColumnTitle(cr, {"Microcars", "Microcars"}, english, 174, 32, 58);
  Field(cr, 22, 66, 32, 12);
  Field(cr, 174, 66, 32, 12);
  Well(cr, 61, 68, 106, 9);
  Rule(cr, 6, a.width - 6, 100);
  Row(cr, {"Preis pro Stunde", "Price per hour"}, english, 113, 157, 55, 18);
  Row(cr, {"Microcar-Rabatt in %", "Microcar discount in %"}, english, 132, 157, 55, 18);
  return c.ToImage();
}

Image16 SystemsPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = CarParkFrame(c)->cr();
  const struct {
    int y;
    Words name, cost;
  } rows[] = {{39, {"Parkleitsystem", "Parking guidance"}, {"Kosten im Jahr", "Cost per year"}},
              {90, {"Reservierungssystem", "Reservation system"}, {"Kosten im Jahr", "Cost per year"}}};
  for (const auto& r : rows) {
    PageLabel(cr, r.name, english, 6, r.y - 8, true);
    Row(cr, r.cost, english, r.y, 120, 73, 14);
    Well(cr, 199, r.y, 14, 13);
  }
  return c.ToImage();
}

// The use of a car park in 18 steps: empty at 0, full at 17, green turning
// to red as it fills.
Image16 UtilisationBar(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  FillRect(cr, 0, 0, a.width, a.height, kWell);
  Bevel(cr, 0, 0, a.width, a.height, false);
  const double share = state / 17.0;
  const double w = (a.width - 4) * share;
  if (w > 0) {
    const Rgb8 fill{static_cast<int>(70 + 160 * share), static_cast<int>(190 - 130 * share), 60};
    cairo_rectangle(cr, 2, 2, w, a.height - 4);
    Gradient(cr, 2, 2, w, a.height - 4, fill, {fill.r / 2, fill.g / 2, fill.b / 2});
  }
  for (int i = 1; i < 4; ++i) Line(cr, 2 + (a.width - 4) * i / 4.0, 2, 2 + (a.width - 4) * i / 4.0, a.height - 2, 0.6,
                                   {0, 0, 0});
  return c.ToImage();
}

}  // namespace

bool DrawParkenArt(const UiArt& a, int state, Image16* out) {
  const Words management{"Parkraummanagement", "Parking management"};
  const Words carPark{"Parkplatz", "Car park"};
  switch (a.id) {
    case 28173: case 50208: *out = Caption(a, management, a.id == 50208, 357); return true;
    case 28172: *out = TabColumn(a, 3); return true;
    case 28177: *out = IconButton(a, state, PlacesIcon); return true;
    case 28176: *out = IconButton(a, state, ScalesIcon); return true;
    case 28179: *out = IconButton(a, state, FeeIcon); return true;
    case 50844: case 50218: *out = BalancePage(a, a.id == 50218); return true;
    case 50842: case 50217: *out = FeesPage(a, a.id == 50217); return true;
    case 50843: case 50215: *out = UtilisationPage(a, a.id == 50215); return true;
    case 28174: *out = LabelButton(a, state, "OK", 8, {}, false); return true;
    case 28502: case 50782: *out = Caption(a, carPark, a.id == 50782, 247); return true;
    case 28501: *out = ButtonColumn(a); return true;
    case 28403: *out = IconButton(a, state, InfoIcon); return true;
    case 28404: *out = IconButton(a, state, SettingsIcon); return true;
    case 28405: *out = IconButton(a, state, SystemsIcon); return true;
    case 28499: case 50780: *out = InfoPage(a, a.id == 50780); return true;
    case 28498: case 50779: *out = SettingsPage(a, a.id == 50779); return true;
    case 28500: case 50781: *out = SystemsPage(a, a.id == 50781); return true;
    case 28521: *out = UtilisationBar(a, state); return true;
    default: return false;
  }
}

}  // namespace zorgen
