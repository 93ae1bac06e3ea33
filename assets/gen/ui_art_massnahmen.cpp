// The pictures of the measures group: its caption and column of page
// buttons, the pages of the travel assistant, the advice centre, passive and
// active route guidance, car sharing and the campaigns with their labels,
// and the companion pages that tell the player what to build first. The
// pages carry light fields where the game writes its figures and sunken
// wells behind the step buttons.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "gen/ui_paint.h"

namespace zorgen {

namespace {

constexpr Rgb8 kPhone{60, 70, 90};
constexpr Rgb8 kScreen{120, 210, 240};
constexpr Rgb8 kCarGreen{70, 170, 90};

// ---- the pages of the five services

// A row of a page: a label, and a field where the game writes a figure or an
// editor's well (the step buttons at its edges, the value between).
struct Row {
  int y;
  Words label;
  int x, w;
  bool editor;
};

Image16 ServicePage(const UiArt& a, bool english, const Words& title, const std::vector<Row>& rows,
                    const std::vector<std::pair<int, Words>>& headings,
                    const std::function<void(cairo_t*)>& extra = {}) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, title, english)->cr();
  for (const Row& r : rows) {
    PageLabel(cr, r.label, english, 14, r.y + 12);
    if (r.editor) {
      Well(cr, r.x, r.y - 1, r.w, 20);
      Field(cr, r.x + 9, r.y, r.w - 18, 18);
    } else {
      Field(cr, r.x, r.y, r.w, 16);
    }
  }
  // A heading's rule goes above it only where no row stands: where the
  // rows leave no room the heading stands alone in the gap between them.
  for (const auto& [y, w] : headings) {
    const int rule = y - 14;
    bool clear = true;
    for (const Row& r : rows) clear = clear && (rule < r.y - 1 || rule > r.y + 20);
    if (clear) Rule(cr, 10, a.width - 10, rule);
    Heading(cr, w, english, 14, y);
  }
  if (extra) extra(cr);
  return c.ToImage();
}

const Words kIncome{"Einnahmen", "Income"};
const Words kCost{"Ausgaben", "Expenses"};
const Words kBalance{"Bilanz", "Balance"};

Image16 AssistantPage(const UiArt& a, bool english) {
  return ServicePage(a, english, {"Personal Travel Assistent", "Personal Travel Assistant"},
                     {{36, kIncome, 213, 82, false},
                      {66, kCost, 213, 82, false},
                      {96, kBalance, 213, 82, false},
                      {128, {"Nutzeranteil (%)", "Users (%)"}, 245, 50, false},
                      {158, {"Qualit\xC3\xA4t (%)", "Quality (%)"}, 245, 50, false},
                      {187, {"Grundgeb\xC3\xBChr im Monat", "Monthly fee"}, 244, 53, true},
                      {217, {"Preis je Abfrage", "Price per query"}, 244, 53, true},
                      {250, {"Kosten eines Handys", "Cost of a phone"}, 213, 82, false},
                      {279, {"Zuschuss je Handy", "Subsidy per phone"}, 244, 53, true}},
                     {{247, {"Handys", "Phones"}}});
}

Image16 AdvicePage(const UiArt& a, bool english) {
  return ServicePage(a, english, {"Zorvanit\xC3\xA4tszentrale", "Zorvanta center"},
                     {{36, kIncome, 213, 82, false},
                      {66, kCost, 213, 82, false},
                      {96, kBalance, 213, 82, false},
                      {128, {"Nutzeranteil (%)", "Users (%)"}, 245, 50, false},
                      {157, {"Preis je Beratung", "Price per consultation"}, 242, 55, true}},
                     {});
}

Image16 PassivePage(const UiArt& a, bool english) {
  return ServicePage(a, english, {"Passive Zielf\xC3\xBChrung", "Passive navigation"},
                     {{36, kIncome, 213, 82, false},
                      {66, kCost, 213, 82, false},
                      {96, kBalance, 213, 82, false},
                      {128, {"Nutzeranteil (%)", "Users (%)"}, 245, 50, false},
                      {157, {"Preis der neuen CD", "Price of the new CD"}, 244, 53, true},
                      {190, {"Kosten eines Systems", "Cost of a system"}, 213, 82, false},
                      {219, {"Zuschuss je System", "Subsidy per system"}, 244, 53, true}},
                     {{187, {"Navigationssysteme", "Navigation systems"}}});
}

Image16 ActivePage(const UiArt& a, bool english) {
  return ServicePage(a, english, {"Aktive Zielf\xC3\xBChrung", "Active navigation"},
                     {{36, kIncome, 213, 82, false},
                      {66, kCost, 213, 82, false},
                      {96, kBalance, 213, 82, false},
                      {127, {"Nutzeranteil (%)", "Users (%)"}, 245, 50, false},
                      {158, {"Abdeckung (%)", "Coverage (%)"}, 245, 50, false},
                      {187, {"Grundgeb\xC3\xBChr im Monat", "Monthly fee"}, 244, 53, true},
                      {220, {"Kosten eines Systems", "Cost of a system"}, 213, 81, false},
                      {249, {"Zuschuss je System", "Subsidy per system"}, 244, 53, true}},
                     {{217, {"Bordger\xC3\xA4te", "On-board units"}}});
}

Image16 CarsharingPage(const UiArt& a, bool english) {
  // The outlets' list: a light sheet as wide as its rows (281 from the
  // list's x 1) and a groove for the slider between its arrows.
  return ServicePage(a, english, {"Carsharing", "Car sharing"},
                             {{34, kIncome, 213, 82, false},
                              {56, kCost, 213, 82, false},
                              {78, {"Fahrzeuge", "Cars"}, 253, 42, false},
                              {100, {"Nutzeranteil (%)", "Users (%)"}, 253, 42, false},
                              {121, {"Preis je km", "Price per km"}, 241, 56, true},
                              {143, {"Monatsbeitrag", "Monthly fee"}, 241, 56, true},
                              {166, {"Anteil der Bev\xC3\xB6lkerung (%)", "Share of the people (%)"}, 253, 42,
                               false}},
                             {{204, {"Stationen", "Outlets"}}}, [](cairo_t* cr) {
                               Field(cr, 17, 211, 283, 116);
                               Well(cr, 300, 227, 15, 84);
                             });
}

// ---- the campaigns: a section per service, three media each

Image16 CampaignsPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, {"Werbung", "Advertising"}, english)->cr();
  const struct {
    int y;
    Words w;
  } sections[] = {{54, {"Personal Travel Assistent", "Personal Travel Assistant"}},
                  {113, {"Zorvanit\xC3\xA4tszentrale", "Zorvanta center"}},
                  {172, {"Passive Zielf\xC3\xBChrung", "Passive navigation"}},
                  {231, {"Aktive Zielf\xC3\xBChrung", "Active navigation"}},
                  {290, {"Carsharing", "Car sharing"}}};
  const Words media[] = {{"Zeitung", "Print"}, {"Radio", "Radio"}, {"Fernsehen", "TV"}};
  const int mediaX[] = {37, 131, 223}, switchX[] = {103, 196, 289};
  for (const auto& s : sections) {
    Heading(cr, s.w, english, 14, s.y - 6);
    for (int k = 0; k < 3; ++k) {
      PageLabel(cr, media[k], english, mediaX[k], s.y + 10);
      Well(cr, switchX[k] - 1, s.y - 1, 14, 14);
      Well(cr, mediaX[k] - 1, s.y + 16, 82, 17);
    }
    if (s.y < 290) Rule(cr, 10, a.width - 10, s.y + 39);
  }
  return c.ToImage();
}

// ---- the companion pages: what to build before the service runs

Image16 HintPage(const UiArt& a, bool english, const Words& title, const std::vector<Words>& lines,
                 void (*icon)(cairo_t*)) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, title, english)->cr();
  Sheet(cr, 24, 60, a.width - 48, 150);
  cairo_save(cr);
  cairo_translate(cr, a.width / 2.0 - 36, 224);
  cairo_scale(cr, 2, 2);
  icon(cr);
  cairo_restore(cr);
  double y = 90;
  for (const Words& line : lines) {
    Text(cr, kCondensed, 11, line.In(english), a.width / 2.0, y, kTextDark, Align::Centre);
    y += 20;
  }
  return c.ToImage();
}

// ---- the page buttons' icons, in a 36 x 36 design square

void PhoneIcon(cairo_t* cr) {
  FillRect(cr, 11, 4, 14, 28, kPhone);
  FillRect(cr, 13, 8, 10, 14, kScreen);
  for (int i = 0; i < 3; ++i) FillRect(cr, 13 + i * 3.6, 25, 2.4, 2, {200, 200, 210});
  Line(cr, 24, 4, 27, 1, 1.2, kPhone);
}

// A counter with a person behind it.
void CentreIcon(cairo_t* cr) {
  Disc(cr, 18, 10, 5, {236, 196, 170});
  Poly(cr, {{9, 24}, {12, 16}, {24, 16}, {27, 24}}, {60, 120, 210});
  FillRect(cr, 4, 22, 28, 10, {200, 160, 100});
  Text(cr, kBold, 8, "i", 18, 30, kWhite, Align::Centre);
}

// A map with a route drawn on it.
void MapIcon(cairo_t* cr) {
  Poly(cr, {{4, 8}, {14, 5}, {22, 9}, {32, 6}, {32, 29}, {22, 32}, {14, 28}, {4, 31}}, {230, 226, 200});
  Line(cr, 14, 5, 14, 28, 0.8, {150, 150, 140});
  Line(cr, 22, 9, 22, 32, 0.8, {150, 150, 140});
  cairo_move_to(cr, 7, 26);
  cairo_curve_to(cr, 12, 14, 20, 24, 28, 11);
  cairo_set_line_width(cr, 2.2);
  Set(cr, kRed);
  cairo_stroke(cr);
  Disc(cr, 28, 11, 2.4, kRed);
}

// A mast sending to a car.
void MastIcon(cairo_t* cr) {
  Line(cr, 11, 30, 15, 6, 1.6, {170, 170, 180});
  Line(cr, 19, 30, 15, 6, 1.6, {170, 170, 180});
  Line(cr, 12, 22, 18, 22, 1, {170, 170, 180});
  Disc(cr, 15, 6, 2.2, kRed);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int r : {5, 9}) {
    cairo_arc(cr, 15, 6, r, -0.6, 0.6);
    cairo_set_line_width(cr, 1.4);
    Set(cr, kAccent);
    cairo_stroke(cr);
  }
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  FillRect(cr, 20, 24, 13, 6, {60, 120, 210});
  Disc(cr, 23, 30, 1.8, kEdgeDark);
  Disc(cr, 30, 30, 1.8, kEdgeDark);
}

// Two cars sharing a key.
void SharedCarIcon(cairo_t* cr) {
  FillRect(cr, 4, 18, 20, 8, kCarGreen);
  FillRect(cr, 8, 13, 11, 6, kCarGreen);
  FillRect(cr, 9, 14, 9, 4, {200, 230, 250});
  Disc(cr, 8.5, 26.5, 2.5, kEdgeDark);
  Disc(cr, 19.5, 26.5, 2.5, kEdgeDark);
  Disc(cr, 27, 10, 4, kAccent);
  Disc(cr, 27, 10, 1.6, kPanelBottom);
  Line(cr, 27, 14, 27, 24, 2, kAccent);
  Line(cr, 27, 20, 30, 20, 2, kAccent);
}

void PosterIcon(cairo_t* cr) {
  FillRect(cr, 6, 5, 24, 22, {240, 236, 220});
  FillRect(cr, 9, 8, 18, 8, {240, 120, 40});
  for (int i = 0; i < 3; ++i) FillRect(cr, 9, 18 + i * 3, 18 - i * 4, 1.6, {120, 120, 130});
  FillRect(cr, 16, 27, 4, 6, {120, 100, 80});
}

}  // namespace

bool DrawMassnahmenArt(const UiArt& a, int state, Image16* out) {
  switch (a.id) {
    case 26652: case 50037: {
      Canvas c(a.width, a.height);
      CaptionStrip(c.cr(), a.width, a.id == 50037 ? "Mobility services" : "Mobilit\xC3\xA4tsdienste", 357);
      *out = c.ToImage();
      return true;
    }
    case 26651: *out = TabColumn(a, 6); return true;
    case 18709: *out = IconButton(a, state, PhoneIcon); return true;
    case 28261: *out = IconButton(a, state, CentreIcon); return true;
    case 18712: *out = IconButton(a, state, MapIcon); return true;
    case 18711: *out = IconButton(a, state, MastIcon); return true;
    case 18713: *out = IconButton(a, state, SharedCarIcon); return true;
    case 26589: *out = IconButton(a, state, PosterIcon); return true;
    case 26649: case 50034: *out = AssistantPage(a, a.id == 50034); return true;
    case 26647: case 50031: *out = AdvicePage(a, a.id == 50031); return true;
    case 26648: case 50033: *out = PassivePage(a, a.id == 50033); return true;
    case 26646: case 50029: *out = ActivePage(a, a.id == 50029); return true;
    case 26645: case 50027: *out = CarsharingPage(a, a.id == 50027); return true;
    case 26650: case 50036: *out = CampaignsPage(a, a.id == 50036); return true;
    case 33694: case 50028:
      *out = HintPage(a, a.id == 50028, {"Carsharing", "Car sharing"},
                      {{"Noch gibt es kein Carsharing.", "There is no car sharing yet."},
                       {"Bauen Sie eine Zentrale", "Build an office"},
                       {"und Stationen in der Stadt.", "and outlets in the city."}},
                      SharedCarIcon);
      return true;
    case 33695: case 50030:
      *out = HintPage(a, a.id == 50030, {"Aktive Zielf\xC3\xBChrung", "Active navigation"},
                      {{"Noch steht kein Sendemast.", "No transmitter mast stands yet."},
                       {"Bauen Sie Sendemasten,", "Build transmitter masts"},
                       {"damit die Autos geleitet werden.", "to guide the cars."}},
                      MastIcon);
      return true;
    case 33697: case 50035:
      *out = HintPage(a, a.id == 50035, {"Personal Travel Assistent", "Personal Travel Assistant"},
                      {{"Der Assistent braucht Daten:", "The assistant needs data:"},
                       {"Bauen Sie die Zorvanit\xC3\xA4tszentrale", "build the Zorvanta center"},
                       {"oder Sendemasten.", "or transmitter masts."}},
                      PhoneIcon);
      return true;
    case 33696: case 50032:
      *out = HintPage(a, a.id == 50032, {"Zorvanit\xC3\xA4tszentrale", "Zorvanta center"},
                      {{"Noch gibt es keine Zentrale.", "There is no center yet."},
                       {"Bauen Sie die Zorvanit\xC3\xA4tszentrale,", "Build the Zorvanta center"},
                       {"damit sie die B\xC3\xBCrger ber\xC3\xA4t.", "to advise the citizens."}},
                      CentreIcon);
      return true;
    default: return false;
  }
}

}  // namespace zorgen
