// The pictures of the public-transport windows: the group's caption, its
// column of page buttons, the seven pages with their labels, the buttons
// that book a purchase, start a line or lead to the fleet, and the campaign
// and staff-training bars. The pages carry light fields where the game
// writes its figures in the dark text colour.
#include <cmath>
#include <string>
#include <utility>

#include "gen/ui_paint.h"

namespace zorgen {

namespace {

constexpr Rgb8 kBusRed{200, 50, 44};
constexpr Rgb8 kTramYellow{240, 196, 40};

// ---- the seven pages

Image16 PersonnelPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, {"Personal", "Human resources"}, english)->cr();
  ColumnTitle(cr, {"Bestand", "Staff"}, english, 142, 42, 44);
  ColumnTitle(cr, {"Bedarf", "Needed"}, english, 197, 42, 44);
  ColumnTitle(cr, {"Quote %", "Quota %"}, english, 250, 45, 44);
  const struct {
    int y;
    Words w;
  } rows[] = {{50, {"Fahrer", "Drivers"}},
              {78, {"Werkstatt", "Mechanics"}},
              {106, {"Kundendienst", "Customer service"}}};
  for (const auto& r : rows) {
    PageLabel(cr, r.w, english, 14, r.y + 11);
    Field(cr, 140, r.y - 1, 46, 16);
    Field(cr, 197, r.y - 1, 42, 16);
    Field(cr, 258, r.y - 1, 29, 16);
  }
  Rule(cr, 10, a.width - 10, 127);
  PageLabel(cr, {"Personal gesamt", "Total staff"}, english, 14, 146, true);
  Field(cr, 142, 134, 42, 16);
  Field(cr, 197, 134, 42, 16);
  PageLabel(cr, {"Ausbildung", "Training level"}, english, 14, 168);
  Well(cr, 140, 154, 101, 21);
  PageLabel(cr, {"Personalkosten im Jahr", "Staff costs per year"}, english, 14, 197);
  Field(cr, 142, 185, 97, 16);
  return c.ToImage();
}

Image16 FleetPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, {"Fuhrpark", "Fleet"}, english)->cr();
  ColumnTitle(cr, {"Bestand", "Owned"}, english, 102, 37, 45);
  ColumnTitle(cr, {"Kauf / Verkauf", "Buy / sell"}, english, 254, 55, 45);
  const struct {
    int y;
    Words w;
  } buses[] = {{51, {"Standardbus", "Standard bus"}},
               {68, {"Niederflurbus", "Low-floor bus"}},
               {85, {"Wasserstoffbus", "Hydrogen bus"}},
               {102, {"Elektrobus", "Electric bus"}}};
  for (const auto& b : buses) {
    PageLabel(cr, b.w, english, 14, b.y + 12);
    Field(cr, 102, b.y, 37, 16);
    Field(cr, 262, b.y + 1, 39, 14);
  }
  Rule(cr, 10, a.width - 10, 126);
  PageLabel(cr, {"Alle Busse", "Buses in all"}, english, 14, 148, true);
  Field(cr, 92, 136, 47, 16);
  PageLabel(cr, {"Bedarf", "Needed"}, english, 14, 165);
  Field(cr, 102, 153, 37, 16);
  const struct {
    int y;
    Words w;
  } sums[] = {{136, {"Kosten", "Cost"}}, {153, {"Erl\xC3\xB6s", "Income"}}, {183, {"Summe", "Total"}}};
  for (const auto& s : sums) {
    Text(cr, kCondensed, 10.5, s.w.In(english), 228, s.y + 12, kLabel, Align::Right);
    Field(cr, 234, s.y, 75, 16);
  }
  Rule(cr, 234, 309, 175);
  Rule(cr, 10, a.width - 10, 232);
  Heading(cr, {"Stra\xC3\x9F" "enbahn", "Trams"}, english, 14, 250);
  PageLabel(cr, {"Bahnen", "Trams owned"}, english, 14, 268, true);
  Field(cr, 92, 256, 47, 16);
  Field(cr, 262, 257, 39, 14);
  PageLabel(cr, {"Bedarf", "Needed"}, english, 14, 285);
  Field(cr, 102, 273, 37, 16);
  Text(cr, kCondensed, 10.5, english ? "Price" : "Preis", 228, 285, kLabel, Align::Right);
  Field(cr, 234, 273, 75, 16);
  return c.ToImage();
}

Image16 AdvertisingPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, {"Werbung", "Advertising"}, english)->cr();
  const Words sections[] = {{"F\xC3\xBCr die Fahrpreise", "For the fares"},
                            {"F\xC3\xBCr das Liniennetz", "For the line network"},
                            {"F\xC3\xBCr den Service", "For the service"}};
  const Words media[] = {{"Plakate", "Posters"}, {"Anzeigen", "Advertisements"}, {"Aktionstage", "Promotion days"}};
  const int firstY[] = {56, 151, 246};
  for (int s = 0; s < 3; ++s) {
    Heading(cr, sections[s], english, 14, firstY[s] - 12);
    ColumnTitle(cr, {"Fortschritt", "Progress"}, english, 207, 80, firstY[s] - 12);
    for (int n = 0; n < 3; ++n) {
      const int y = firstY[s] + n * 21;
      PageLabel(cr, media[n], english, 28, y + 10);
      Well(cr, 170, y - 1, 14, 13);
      Well(cr, 206, y - 2, 82, 17);
    }
    if (s < 2) Rule(cr, 10, a.width - 10, firstY[s] + 70);
  }
  return c.ToImage();
}

Image16 FaresPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, {"Fahrpreise", "Fares"}, english)->cr();
  const struct {
    int y;
    Words w;
  } rows[] = {{33, {"Grundpreis (Euro)", "Base fare (euros)"}},
              {62, {"Preis je Kilometer (Euro)", "Fare per kilometre (euros)"}},
              {91, {"Rabatt Monatskarte (%)", "Monthly ticket discount (%)"}}};
  for (const auto& r : rows) {
    PageLabel(cr, r.w, english, 14, r.y + 12);
    Field(cr, 223, r.y, 37, 16);
  }
  Rule(cr, 10, a.width - 10, 114);
  PageLabel(cr, {"Gesch\xC3\xA4tzte Einnahmen", "Estimated income"}, english, 14, 133, true);
  Field(cr, 215, 121, 88, 16);
  return c.ToImage();
}

Image16 ServicesPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, {"Fahrgastinformation", "Customer services"}, english)->cr();
  ColumnTitle(cr, {"Kosten im Jahr", "Cost per year"}, english, 206, 80, 42);
  const struct {
    int y;
    Words w;
  } rows[] = {{48, {"Dynamische Fahrgastanzeige", "Live departure boards"}},
              {77, {"Fahrplan im Internet", "Timetable on the internet"}},
              {107, {"Infoterminals", "Information terminals"}}};
  for (const auto& r : rows) {
    PageLabel(cr, r.w, english, 14, r.y + 11);
    Well(cr, 182, r.y, 14, 13);
    Field(cr, 206, r.y - 1, 80, 16);
  }
  return c.ToImage();
}

Image16 LinesPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, {"Liniennetz", "Line network"}, english)->cr();
  PageLabel(cr, {"Eine neue Linie einrichten:", "Set up a new line:"}, english, 14, 60);
  PageLabel(cr, {"Haltestellen nacheinander anklicken.", "Click its stops one after another."}, english, 14, 84);
  const struct {
    double x, w;
    Words w2;
  } columns[] = {{3, 63, {"Linie", "Line"}},
                 {68, 44, {"Takt", "Headway"}},
                 {114, 58, {"Fahrzeuge", "Vehicles"}},
                 {175, 37, {"Belegt %", "Load %"}},
                 {222, 40, {"Fahrg\xC3\xA4ste", "Riders"}}};
  for (const auto& col : columns) ColumnTitle(cr, col.w2, english, 14 + col.x, col.w, 110);
  Sheet(cr, 14, 115, 274, 127);
  for (int row = 1; row < 7; ++row) Line(cr, 15, 115 + row * 18 + 0.5, 287, 115 + row * 18 + 0.5, 1, {222, 216, 198});
  FillRect(cr, 288, 115, 15, 127, {40, 48, 72});
  Rule(cr, 10, a.width - 10, 256);
  PageLabel(cr, {"Freie Fahrzeuge", "Spare vehicles"}, english, 14, 270, true);
  Text(cr, kCondensed, 10.5, english ? "Buses" : "Busse", 122, 285, kLabel, Align::Right);
  Field(cr, 128, 273, 51, 16);
  Text(cr, kCondensed, 10.5, english ? "Trams" : "Bahnen", 238, 285, kLabel, Align::Right);
  Field(cr, 244, 273, 51, 16);
  PageLabel(cr, {"Fahrzeuge kaufen", "Buy vehicles"}, english, 14, 328);
  return c.ToImage();
}

Image16 FinancesPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, {"Finanzen", "Finances"}, english)->cr();
  ColumnTitle(cr, {"Vorjahr", "Last year"}, english, 139, 71, 41);
  ColumnTitle(cr, {"Dieses Jahr", "This year"}, english, 220, 71, 41);
  const struct {
    int y;
    Words w;
    bool total;
  } rows[] = {{46, {"Fahrkarten Bus", "Bus tickets"}, false},
              {67, {"Fahrkarten Bahn", "Tram tickets"}, false},
              {88, {"Fahrzeugverkauf", "Vehicles sold"}, false},
              {109, {"Einnahmen", "Income"}, true},
              {153, {"Personal", "Staff"}, false},
              {174, {"Busse", "Buses"}, false},
              {195, {"Stra\xC3\x9F" "enbahnen", "Trams"}, false},
              {216, {"Infrastruktur", "Infrastructure"}, false},
              {237, {"Service", "Services"}, false},
              {258, {"Werbung", "Advertising"}, false},
              {279, {"Unterhalt", "Upkeep"}, false},
              {300, {"Ausgaben gesamt", "Total expenses"}, true},
              {321, {"Bilanz", "Balance"}, true}};
  for (const auto& r : rows) {
    PageLabel(cr, r.w, english, 14, r.y + 11, r.total);
    Field(cr, 139, r.y - 1, 71, 16);
    Field(cr, 220, r.y - 1, 71, 16);
  }
  Heading(cr, {"Ausgaben", "Expenses"}, english, 14, 143);
  Rule(cr, 10, a.width - 10, 129);
  Rule(cr, 10, a.width - 10, 316);
  return c.ToImage();
}

// ---- the group's frame

Image16 Caption(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  cairo_rectangle(cr, 0, 0, a.width, a.height);
  Gradient(cr, 0, 0, a.width, a.height, {96, 112, 156}, {52, 62, 92});
  Bevel(cr, 0, 0, a.width, a.height, true);
  // a small bus beside the title
  FillRect(cr, 8, 6, 15, 9, kBusRed);
  FillRect(cr, 10, 8, 11, 3, {200, 230, 250});
  Disc(cr, 11.5, 15.5, 1.8, kEdgeDark);
  Disc(cr, 19.5, 15.5, 1.8, kEdgeDark);
  Text(cr, kCondensedBold, 12, english ? "Public transport" : "\xC3\x96" "ffentlicher Nahverkehr", 30, 15, kTextLight);
  CloseMark(cr, 357, 3, 14, 13);
  return c.ToImage();
}

// ---- the page buttons' icons, in a 36 x 36 design square

void CoinsIcon(cairo_t* cr) {
  for (int i = 0; i < 4; ++i) {
    cairo_save(cr);
    cairo_translate(cr, 12, 27 - i * 4);
    cairo_scale(cr, 1, 0.45);
    cairo_arc(cr, 0, 0, 7, 0, 2 * M_PI);
    cairo_restore(cr);
    Set(cr, {230, 180, 40});
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 0.8);
    Set(cr, {150, 110, 20});
    cairo_stroke(cr);
  }
  const Rgb8 bars[3] = {{120, 200, 120}, {90, 180, 110}, {60, 160, 100}};
  for (int i = 0; i < 3; ++i) FillRect(cr, 21 + i * 4.5, 30 - 6 * (i + 1), 3.5, 6 * (i + 1), bars[i]);
}

void InfoIcon(cairo_t* cr) {
  Disc(cr, 18, 18, 12, {60, 120, 210});
  Disc(cr, 18, 11, 2.3, kWhite);
  FillRect(cr, 16, 15, 4, 11, kWhite);
}

void MegaphoneIcon(cairo_t* cr) {
  Poly(cr, {{8, 15}, {24, 7}, {24, 29}, {8, 21}}, {240, 120, 40});
  FillRect(cr, 5, 14, 4, 8, {200, 200, 210});
  FillRect(cr, 11, 21, 3, 8, {200, 200, 210});
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = -1; i <= 1; ++i) Line(cr, 27, 18 + i * 6, 31, 18 + i * 8, 1.6, kAccent);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void RouteIcon(cairo_t* cr) {
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_move_to(cr, 6, 28);
  cairo_line_to(cr, 14, 18);
  cairo_line_to(cr, 22, 22);
  cairo_line_to(cr, 30, 8);
  cairo_set_line_width(cr, 3);
  Set(cr, kBusRed);
  cairo_stroke(cr);
  cairo_move_to(cr, 6, 10);
  cairo_line_to(cr, 18, 14);
  cairo_line_to(cr, 30, 28);
  Set(cr, {60, 140, 220});
  cairo_stroke(cr);
  for (auto [x, y] : {std::pair{6.0, 28.0}, {14.0, 18.0}, {22.0, 22.0}, {30.0, 8.0}, {30.0, 28.0}, {6.0, 10.0}}) {
    Disc(cr, x, y, 2.8, kWhite);
    Disc(cr, x, y, 1.5, kEdgeDark);
  }
}

// A bus from the side, and a tram behind it.
void FleetIcon(cairo_t* cr) {
  FillRect(cr, 4, 8, 24, 10, kTramYellow);
  FillRect(cr, 6, 10, 20, 4, {200, 230, 250});
  Line(cr, 16, 8, 20, 3, 1, {120, 120, 130});
  FillRect(cr, 8, 15, 26, 12, kBusRed);
  for (int i = 0; i < 4; ++i) FillRect(cr, 10 + i * 6, 17, 4.5, 4, {200, 230, 250});
  Disc(cr, 13, 27.5, 2.8, kEdgeDark);
  Disc(cr, 29, 27.5, 2.8, kEdgeDark);
}

void TicketIcon(cairo_t* cr) {
  cairo_save(cr);
  cairo_translate(cr, 18, 18);
  cairo_rotate(cr, -0.3);
  FillRect(cr, -13, -8, 26, 16, {240, 236, 220});
  Disc(cr, -13, 0, 3, {70, 84, 120});
  Disc(cr, 13, 0, 3, {70, 84, 120});
  const double dash[] = {2.0, 2.0};
  cairo_set_dash(cr, dash, 2, 0);
  Line(cr, 4, -7, 4, 7, 1, {150, 150, 150});
  cairo_set_dash(cr, nullptr, 0, 0);
  Text(cr, kBold, 9, "\xE2\x82\xAC", -4, 3.5, {40, 120, 60}, Align::Centre);
  cairo_restore(cr);
}

void StaffIcon(cairo_t* cr) {
  Disc(cr, 18, 11, 6, {236, 196, 170});
  FillRect(cr, 11, 4, 14, 4, {40, 60, 110});
  FillRect(cr, 9, 7.5, 18, 1.5, {30, 40, 80});
  cairo_move_to(cr, 6, 33);
  cairo_curve_to(cr, 7, 22, 12, 19, 18, 19);
  cairo_curve_to(cr, 24, 19, 29, 22, 30, 33);
  cairo_close_path(cr);
  Set(cr, {50, 80, 150});
  cairo_fill(cr);
  Poly(cr, {{15, 19}, {18, 25}, {21, 19}}, kAccent);
}

// ---- buttons and bars

Image16 ProgressBar(const UiArt& a, int state, Rgb8 fill) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  FillRect(cr, 0, 0, a.width, a.height, kWell);
  Bevel(cr, 0, 0, a.width, a.height, false);
  const double w = (a.width - 4) * state / 8.0;
  if (w > 0) {
    cairo_rectangle(cr, 2, 2, w, a.height - 4);
    Gradient(cr, 2, 2, w, a.height - 4, fill, {fill.r / 2, fill.g / 2, fill.b / 2});
  }
  for (int i = 1; i < 8; ++i) Line(cr, 2 + (a.width - 4) * i / 8.0, 2, 2 + (a.width - 4) * i / 8.0, a.height - 2, 0.6,
                                   {0, 0, 0});
  return c.ToImage();
}

// The staff's training: six stars, lit up to the state.
Image16 TrainingBar(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  FillRect(cr, 0, 0, a.width, a.height, kWell);
  Bevel(cr, 0, 0, a.width, a.height, false);
  for (int i = 0; i < 6; ++i) {
    const double cx = 9 + i * 16, cy = a.height / 2.0;
    cairo_move_to(cr, cx, cy - 7);
    for (int k = 1; k < 10; ++k) {
      const double r = k % 2 ? 3 : 7, t = -M_PI / 2 + k * M_PI / 5;
      cairo_line_to(cr, cx + r * std::cos(t), cy + r * std::sin(t));
    }
    cairo_close_path(cr);
    Set(cr, i < state ? kAccent : Rgb8{70, 80, 104});
    cairo_fill(cr);
  }
  return c.ToImage();
}

}  // namespace

bool DrawOpnvArt(const UiArt& a, int state, Image16* out) {
  switch (a.id) {
    case 25861: *out = Caption(a, false); return true;
    case 50171: *out = Caption(a, true); return true;
    case 25857: *out = TabColumn(a, 7); return true;
    case 25855: case 50173: *out = PersonnelPage(a, a.id == 50173); return true;
    case 44385: case 50176: *out = FleetPage(a, a.id == 50176); return true;
    case 25856: case 50172: *out = AdvertisingPage(a, a.id == 50172); return true;
    case 25851: case 50179: *out = FaresPage(a, a.id == 50179); return true;
    case 25854: case 50175: *out = ServicesPage(a, a.id == 50175); return true;
    case 49513: case 50195: *out = LinesPage(a, a.id == 50195); return true;
    case 25852: case 50178: *out = FinancesPage(a, a.id == 50178); return true;
    case 18716: *out = IconButton(a, state, CoinsIcon); return true;
    case 18717: *out = IconButton(a, state, InfoIcon); return true;
    case 18718: *out = IconButton(a, state, MegaphoneIcon); return true;
    case 18719: *out = IconButton(a, state, RouteIcon); return true;
    case 18720: *out = IconButton(a, state, FleetIcon); return true;
    case 18721: *out = IconButton(a, state, TicketIcon); return true;
    case 18722: *out = IconButton(a, state, StaffIcon); return true;
    case 44383: *out = LabelButton(a, state, "Buchen", 10, {}, false); return true;
    case 50631: *out = LabelButton(a, state, "Confirm", 10, {}, false); return true;
    case 49522: *out = LabelButton(a, state, "Neue Linie", 9, {}, false); return true;
    case 50632: *out = LabelButton(a, state, "New line", 9, {}, false); return true;
    case 49523: *out = LabelButton(a, state, "Kaufen", 9, {}, false); return true;
    case 50633: *out = LabelButton(a, state, "Buy", 9, {}, false); return true;
    case 25869: *out = ProgressBar(a, state, {90, 200, 110}); return true;
    case 25870: *out = ProgressBar(a, state, {90, 160, 230}); return true;
    case 25871: *out = ProgressBar(a, state, {240, 170, 60}); return true;
    case 25872: *out = TrainingBar(a, state); return true;
    default: return false;
  }
}

}  // namespace zorgen
