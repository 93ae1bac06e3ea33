// The pictures of the indicator group: its caption and page buttons, the
// indicator page with its bars in thirteen and fourteen states, the
// statistics page with the chart's well, its tabs and controls, the seven
// series panels with a button per series in the series' chart colour, and
// the master-mode pages with their god switches.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

#include "gen/gauge_names.h"
#include "gen/ui_paint.h"

namespace zorgen {

namespace {

constexpr Rgb8 kHeading{250, 210, 40};
constexpr Rgb8 kLabel{220, 226, 240};
constexpr Rgb8 kRule{96, 110, 150};

// One series button: its German and English pictures, its width, its
// label and the colour the chart draws the series in.
struct SeriesArt {
  int de, en, width;
  Words label;
  Rgb8 colour;
};

const SeriesArt kSeriesArt[] = {
    {37357, 50667, 94, {"Einwohner", "Inhabitants"}, {234, 107, 72}},  // 0
    {37359, 50671, 94, {"Industrie-Jobs", "Industrial jobs"}, {246, 181, 128}},  // 1
    {37360, 50665, 94, {"B\xC3\xBC" "ro-Jobs", "Office jobs"}, {245, 183, 87}},  // 2
    {37361, 50670, 94, {"Freizeit", "Leisure"}, {255, 249, 157}},  // 3
    {37362, 50674, 94, {"Fahrten/Tag", "Trips/day"}, {169, 212, 109}},  // 4
    {37363, 50676, 94, {"Wegl\xC3\xA4" "nge", "Trip length"}, {120, 196, 112}},  // 5
    {37364, 50673, 94, {"Kosten/km", "Cost/km"}, {47, 180, 114}},  // 6
    {37365, 50678, 94, {"Strecke/Person", "Distance/person"}, {140, 204, 202}},  // 7
    {37366, 50668, 94, {"Energie", "Energy"}, {63, 187, 239}},  // 8
    {37367, 50666, 94, {"Emissionen", "Emissions"}, {102, 110, 176}},  // 9
    {44162, 50677, 94, {"Motorisierung", "Car ownership"}, {102, 110, 176}},  // 12
    {37407, 50728, 114, {"Stra\xC3\x9F" "ennetz", "Street network"}, {237, 107, 158}},  // 13
    {37406, 50722, 114, {"Pkw-km gesamt", "Car km, total"}, {175, 93, 156}},  // 14
    {49712, 50723, 114, {"Pkw-km/Person", "Car km/person"}, {142, 86, 155}},  // 15
    {37409, 50724, 114, {"Geschwindigkeit", "Speed"}, {106, 79, 154}},  // 16
    {37408, 50727, 114, {"Parksuchzeit", "Parking search"}, {102, 110, 176}},  // 17
    {37410, 50725, 114, {"Kosten/Pkw-km", "Cost/car km"}, {95, 138, 197}},  // 18
    {37411, 50726, 114, {"Parkpl\xC3\xA4" "tze", "Parking spaces"}, {63, 187, 239}},  // 19
    {37412, 50721, 114, {"Auslastung", "Utilisation"}, {60, 184, 181}},  // 20
    {37397, 50717, 114, {"Netzl\xC3\xA4" "nge", "Network length"}, {231, 101, 26}},  // 21
    {37401, 50719, 114, {"Fahrzeug-km", "Vehicle km"}, {160, 104, 0}},  // 22
    {39494, 50718, 114, {"Fahrgast-km", "Passenger km"}, {168, 164, 0}},  // 23
    {37405, 50716, 114, {"Geschwindigkeit", "Speed"}, {82, 132, 19}},  // 24
    {37404, 50715, 114, {"km/Person", "km/person"}, {0, 176, 59}},  // 25
    {37402, 50775, 114, {"Fahrpreis/km", "Fare/km"}, {0, 105, 63}},  // 26
    {37403, 50720, 114, {"Zugangszeit", "Access time"}, {0, 119, 158}},  // 27
    {37389, 50738, 114, {"Pkw", "Car"}, {150, 0, 24}},  // 28
    {37390, 50737, 114, {"Park&Ride", "Park&Ride"}, {155, 65, 14}},  // 29
    {37391, 50735, 114, {"Bus/Bahn", "Bus/rail"}, {160, 104, 0}},  // 30
    {37392, 50731, 114, {"Fu\xC3\x9F" "/Rad", "Walk/cycle"}, {168, 164, 0}},  // 31
    {37393, 50729, 114, {"Besetzung", "Occupancy"}, {82, 132, 19}},  // 32
    {39486, 50734, 114, {"Normale Pkw", "Standard cars"}, {0, 117, 36}},  // 33
    {37394, 50733, 114, {"Microcars", "Microcars"}, {0, 164, 158}},  // 34
    {37395, 50740, 114, {"Wasserstoff", "Hydrogen"}, {102, 110, 176}},  // 35
    {37396, 50739, 114, {"Elektro", "Electric"}, {142, 86, 155}},  // 36
    {37370, 50708, 114, {"Carsharing", "Car sharing"}, {102, 110, 176}},  // 37
    {37372, 50712, 114, {"PTA", "PTA"}, {102, 9, 123}},  // 39
    {37373, 50707, 114, {"Aktive Zielf\xC3\xBC" "hrung", "Active guidance"}, {226, 0, 127}},  // 40
    {37374, 50711, 114, {"Passive Zielf\xC3\xBC" "hrung", "Passive guidance"}, {152, 0, 83}},  // 41
    {37375, 50709, 114, {"Zorvanit\xC3\xA4" "tszentrale", "Zorvanta center"}, {108, 0, 14}},  // 42
    {39487, 50713, 114, {"Teleworking", "Teleworking"}, {106, 79, 154}},  // 43
    {37413, 50698, 94, {"km/Person", "km/person"}, {243, 158, 119}},  // 44
    {37414, 50702, 94, {"Reisezeiten", "Travel times"}, {234, 107, 72}},  // 45
    {37415, 50705, 94, {"Staus", "Traffic jams"}, {245, 183, 87}},  // 46
    {37426, 50694, 94, {"Ausgaben", "Costs"}, {168, 164, 0}},  // 47
    {37418, 50695, 94, {"Energie", "Energy"}, {58, 95, 11}},  // 48
    {37416, 50693, 94, {"Abgas", "Exhaust"}, {0, 84, 24}},  // 49
    {37417, 50699, 94, {"L\xC3\xA4" "rm", "Noise"}, {0, 105, 63}},  // 50
    {50851, 50852, 94, {"Energie/km", "Energy/km"}, {0, 164, 158}},  // 51
    {37419, 50700, 94, {"Raumtrennung", "Subdivision"}, {63, 187, 239}},  // 52
    {37420, 50697, 94, {"Fl\xC3\xA4" "chenbedarf", "Land used"}, {0, 105, 179}},  // 53
    {37421, 50696, 94, {"Erreichbarkeit", "Accessibility"}, {149, 149, 198}},  // 54
    {37422, 50701, 94, {"Komfort", "Comfort"}, {106, 79, 154}},  // 55
    {37423, 50706, 94, {"Sicherheit", "Safety"}, {102, 9, 123}},  // 56
    {39569, 50703, 94, {"Stadtbewertung", "City rating"}, {106, 79, 154}},  // 57
    {39570, 50704, 94, {"Wachstum", "Growth"}, {102, 9, 123}},  // 58
    {37376, 50683, 94, {"Bilanz", "Balance"}, {112, 45, 7}},  // 59
    {37377, 50684, 94, {"Konto", "Account"}, {168, 164, 0}},  // 60
    {37379, 50690, 94, {"Steuern", "Taxes"}, {158, 139, 117}},  // 61
    {37380, 50681, 94, {"Bu\xC3\x9F" "gelder", "Fines"}, {118, 100, 85}},  // 62
    {37381, 50680, 81, {"Kredite", "Loans"}, {122, 119, 0}},  // 63
    {37382, 50687, 81, {"\xC3\x96" "PNV", "Transit"}, {51, 42, 41}},  // 64
    {37384, 50689, 81, {"PTA", "PTA"}, {58, 95, 11}},  // 65
    {37383, 50682, 81, {"Carsharing", "Car sharing"}, {200, 164, 110}},  // 66
    {37432, 50692, 107, {"Passive Zielf.", "Passive guid."}, {140, 102, 54}},  // 67
    {37386, 50679, 107, {"Aktive Zielf.", "Active guid."}, {0, 47, 85}},  // 68
    {37387, 50688, 107, {"Parkraum", "Parking"}, {110, 0, 59}},  // 69
    {37388, 50686, 107, {"Zentrale", "Center"}, {106, 79, 154}},  // 70
};

void Label(cairo_t* cr, const char* text, double x, double baseline, double size = 9.5) {
  Text(cr, kCondensed, size, text, x, baseline, kLabel);
}

void Heading(cairo_t* cr, const char* text, double x, double baseline) {
  Text(cr, kCondensedBold, 12, text, x, baseline, kHeading);
}

void Rule(cairo_t* cr, double x1, double x2, double y) { Line(cr, x1, y + 0.5, x2, y + 0.5, 1, kRule); }

Image16 Caption(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  CaptionStrip(c.cr(), a.width, english ? "City rating and statistics" : "Stadtbewertung und Statistik", 463);
  return c.ToImage();
}

Image16 Column(const UiArt& a) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  for (int y : {45, 88, 131}) Well(cr, 8, y - 21 - 2, 40, 40);
  return c.ToImage();
}

// ---- page buttons, in the 36 x 36 design square

void BarsIcon(cairo_t* cr) {
  const Rgb8 colours[] = {{214, 72, 52}, {236, 176, 48}, {110, 196, 90}};
  for (int i = 0; i < 3; ++i) {
    FillRect(cr, 6, 7 + i * 9, 24, 6, kWell);
    FillRect(cr, 6, 7 + i * 9, 8 + i * 8, 6, colours[i]);
  }
}

void ChartIcon(cairo_t* cr) {
  FillRect(cr, 5, 5, 26, 26, {232, 236, 246});
  Line(cr, 7, 29, 29, 29, 1, kEdgeDark);
  Line(cr, 7, 29, 7, 7, 1, kEdgeDark);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_move_to(cr, 8, 25);
  cairo_line_to(cr, 14, 19);
  cairo_line_to(cr, 20, 22);
  cairo_line_to(cr, 28, 10);
  cairo_set_line_width(cr, 2.2);
  Set(cr, {200, 50, 44});
  cairo_stroke(cr);
  cairo_move_to(cr, 8, 16);
  cairo_line_to(cr, 16, 14);
  cairo_line_to(cr, 28, 20);
  Set(cr, {40, 110, 200});
  cairo_stroke(cr);
}

// A crown: the master mode.
void CrownIcon(cairo_t* cr) {
  Poly(cr, {{6, 27}, {6, 12}, {12, 19}, {18, 8}, {24, 19}, {30, 12}, {30, 27}}, kAccent);
  FillRect(cr, 6, 27, 24, 3, {200, 150, 30});
  for (double x : {6.0, 18.0, 30.0}) Disc(cr, x, x == 18.0 ? 8 : 12, 2, {214, 48, 40});
}

void ArrowIcon(cairo_t* cr, bool back) {
  if (back)
    Poly(cr, {{24, 8}, {10, 18}, {24, 28}}, kTextLight);
  else
    Poly(cr, {{12, 8}, {26, 18}, {12, 28}}, kTextLight);
}

// ---- bars and switches

// An indicator's bar: state s of n lit, from red for a poor rating to
// green for a good one.
Image16 RatingBar(const UiArt& a, int state, int steps) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  FillRect(cr, 0, 0, a.width, a.height, kWell);
  Bevel(cr, 0, 0, a.width, a.height, false);
  const double f = std::clamp(state / static_cast<double>(steps), 0.0, 1.0);
  const Rgb8 fill{static_cast<int>(220 - 130 * f), static_cast<int>(70 + 130 * f), static_cast<int>(50 + 30 * f)};
  const double w = (a.width - 2) * f;
  if (w > 0) {
    cairo_rectangle(cr, 1, 1, w, a.height - 2);
    Gradient(cr, 1, 1, w, a.height - 2, fill, {fill.r * 2 / 3, fill.g * 2 / 3, fill.b * 2 / 3});
  }
  for (int i = 1; i < steps; ++i) {
    const double x = 1 + (a.width - 2) * i / static_cast<double>(steps);
    Line(cr, x, 1, x, a.height - 1, 0.5, {0, 0, 0});
  }
  return c.ToImage();
}

Image16 GodSwitch(const UiArt& a, bool on) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  FillRect(cr, 0, 0, a.width, a.height, kEdgeDark);
  FillRect(cr, 1, 1, a.width - 2, a.height - 2, on ? kAccent : kWell);
  return c.ToImage();
}

// ---- pages

Canvas& PageFrame(Canvas& c, const char* heading) {
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, c.Width(), c.Height());
  Heading(cr, heading, 14, 18);
  return c;
}

Image16 IndicatorPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, english ? "Indicators" : "Indikatoren").cr();
  // The three groups 99 pixels apart, each a heading over its gauges' rows
  // 14 pixels apart.
  for (int k = 0; k < 3; ++k) {
    const GaugeGroup& g = kGaugeGroups[k];
    const int top = 30 + 99 * k;
    if (top > 30) Rule(cr, 10, 200, top - 9);
    Text(cr, kCondensedBold, 10.5, g.heading.In(english), 12, top + 11, kHeading);
    Well(cr, 97, top - 1, 76, 14);
    for (int i = 0; i < g.count; ++i) {
      const int y = top + 18 + 14 * i;
      Text(cr, kCondensed, 9, kGaugeNames[g.first + i].In(english), 12, y + 7, kLabel);
      Well(cr, 97, y - 1, 76, 10);
    }
  }
  Line(cr, 219.5, 30, 219.5, 290, 1, kRule);
  Text(cr, kCondensedBold, 12, kCityRating.In(english), 261, 80, kHeading);
  Well(cr, 260, 87, 146, 14);
  Label(cr, english ? "poor" : "schlecht", 261, 113, 8.5);
  Text(cr, kCondensed, 8.5, english ? "good" : "gut", 405, 113, kLabel, Align::Right);
  Text(cr, kCondensedBold, 11, kGrowthGauge.In(english), 261, 160, kHeading);
  Well(cr, 330, 149, 76, 14);
  // The bar's scale: its middle (0.5) is a city that stays as it is. The
  // page's text item writes the bar's value under the gauge's name.
  Line(cr, 368, 145, 368, 149, 1, kLabel);
  Field(cr, 258, 164, 40, 14);
  Label(cr, english ? "shrinks" : "schrumpft", 330, 174, 8.5);
  Text(cr, kCondensed, 8.5, english ? "grows" : "w\xC3\xA4" "chst", 406, 174, kLabel, Align::Right);
  Label(cr, english ? "0.5 (middle): the city stays as it is" : "0,5 (Mitte): die Stadt bleibt, wie sie ist", 261, 190,
        8.5);
  return c.ToImage();
}

Image16 StatisticsPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, english ? "Statistics" : "Statistik").cr();
  Well(cr, 90, 47, 257, 119);
  Label(cr, english ? "Range" : "Zeitraum", 11, 37, 9);
  return c.ToImage();
}

// A series panel lies over the statistics page's tabs: it draws the seven
// tabs along its top, its own lit, the others as buttons to press.
Image16 SeriesPanel(const UiArt& a, int own, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  const struct {
    int x, w;
    Words label;
  } tabs[] = {{0, 51, {"Stadt", "City"}},          {51, 37, {"Pkw", "Car"}},
              {88, 35, {"\xC3\x96PNV", "Transit"}}, {123, 42, {"Split", "Split"}},
              {165, 49, {"Nutzer", "Users"}},      {214, 41, {"Index", "Index"}},
              {255, 61, {"Finanzen", "Finance"}}};
  for (int k = 0; k < 7; ++k) {
    const bool lit = k == own;
    cairo_save(cr);
    cairo_translate(cr, tabs[k].x, 0);
    ButtonFace(cr, tabs[k].w, 15, lit ? 2 : 0, 2);
    cairo_restore(cr);
    Text(cr, lit ? kCondensedBold : kCondensed, 8.5, tabs[k].label.In(english), tabs[k].x + tabs[k].w / 2.0, 11,
         lit ? kAccent : kTextLight, Align::Centre);
  }
  Rule(cr, 0, a.width, 15);
  return c.ToImage();
}

Image16 MasterEntryPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, english ? "Master mode" : "Mastermodus").cr();
  const char* lines[] = {english ? "In master mode you set the figures of the town" : "Im Mastermodus legen Sie Gr\xC3\xB6\xC3\x9F" "en der Stadt",
                         english ? "yourself: traffic, people and the users of the" : "selbst fest: Verkehr, Bev\xC3\xB6lkerung und die Nutzer",
                         english ? "measures. The game then runs as free play." : "der Ma\xC3\x9Fnahmen. Das Spiel l\xC3\xA4uft dann als freies Spiel."};
  for (int i = 0; i < 3; ++i) Label(cr, lines[i], 24, 60 + 16 * i, 10);
  return c.ToImage();
}

// The tabs at the top of the two god pages, the chosen one lit.
void GodTabs(cairo_t* cr, bool english, bool users) {
  const struct {
    int x, w;
    Words w2;
  } tabs[] = {{19, 144, {"Verkehr & Einwohner", "Traffic & people"}}, {162, 90, {"Nutzer", "Users"}}};
  for (int i = 0; i < 2; ++i) {
    cairo_save(cr);
    cairo_translate(cr, tabs[i].x, 21);
    ButtonFace(cr, tabs[i].w, 18, (i == 1) == users ? 2 : 0, 2);
    cairo_restore(cr);
    Text(cr, kCondensedBold, 9.5, tabs[i].w2.In(english), tabs[i].x + tabs[i].w / 2.0, 34,
         (i == 1) == users ? kAccent : kTextLight, Align::Centre);
  }
}

struct GodRow {
  int y;
  Words w;
  int sheetX, sheetW;
};

void GodRows(cairo_t* cr, bool english, std::initializer_list<GodRow> rows) {
  for (const GodRow& r : rows) {
    Label(cr, r.w.In(english), 68, r.y + 11, 9.5);
    if (r.sheetW > 0) Sheet(cr, r.sheetX, r.y, r.sheetW, 14);
  }
}

Image16 TrafficPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  GodTabs(cr, english, false);
  Text(cr, kCondensed, 8.5, english ? "set" : "gesetzt", 262, 57, kLabel, Align::Centre);
  Text(cr, kCondensed, 8.5, english ? "in force" : "aktuell", 322, 57, kLabel, Align::Centre);
  GodRows(cr, english,
          {{63, {"Pkw-Verkehr", "Car traffic"}, 244, 39},
           {80, {"Bus- und Bahnverkehr", "Bus and rail traffic"}, 244, 39},
           {126, {"Zielwahl nah / fern", "Destinations near / far"}, 0, 0},
           {214, {"Berufst\xC3\xA4tige", "Employed"}, 244, 39},
           {231, {"Nicht Berufst\xC3\xA4tige", "Not employed"}, 244, 39},
           {248, {"Sch\xC3\xBCler", "Pupils"}, 244, 39},
           {265, {"Einwohner", "Inhabitants"}, 214, 69}});
  Label(cr, english ? "Cars per 1,000 adults" : "Pkw pro 1000 Erwachsene", 68, 164, 9.5);
  Label(cr, english ? "Trips per day" : "Fahrten pro Tag", 68, 185, 9.5);
  Sheet(cr, 303, 153, 39, 14);
  Sheet(cr, 303, 174, 39, 14);
  Well(cr, 226, 128, 98, 11);
  for (int y : {63, 80, 214, 231, 248}) Sheet(cr, 295, y, 55, 14);
  Sheet(cr, 295, 265, 85, 14);
  return c.ToImage();
}

Image16 UsersPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  GodTabs(cr, english, true);
  const Words names[] = {{"Reiseassistent (PTA)", "Travel assistant (PTA)"},
                         {"Zorvanit\xC3\xA4tszentrale", "Zorvanta center"},
                         {"Park & Ride", "Park & ride"},
                         {"Aktive Zielf\xC3\xBChrung", "Active guidance"},
                         {"Passive Zielf\xC3\xBChrung", "Passive guidance"},
                         {"Carsharing", "Car sharing"},
                         {"Telearbeit", "Teleworking"},
                         {"Microcars", "Microcars"}};
  Text(cr, kCondensed, 8.5, english ? "share set" : "Anteil gesetzt", 262, 57, kLabel, Align::Centre);
  Text(cr, kCondensed, 8.5, english ? "in force" : "aktuell", 322, 57, kLabel, Align::Centre);
  for (int k = 0; k < 8; ++k) {
    Label(cr, names[k].In(english), 68, 63 + 17 * k + 11, 9.5);
    Sheet(cr, 244, 63 + 17 * k, 39, 14);
    Sheet(cr, 295, 63 + 17 * k, 55, 14);
  }
  return c.ToImage();
}

Image16 RatingOverviewPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  PageFrame(c, english ? "City rating" : "Stadtbewertung");
  return c.ToImage();
}

const SeriesArt* FindSeries(uint32_t id, bool* english) {
  for (const SeriesArt& s : kSeriesArt)
    if (static_cast<uint32_t>(s.de) == id || static_cast<uint32_t>(s.en) == id) {
      *english = static_cast<uint32_t>(s.en) == id;
      return &s;
    }
  return nullptr;
}

}  // namespace

bool DrawIndicatorArt(const UiArt& a, int state, Image16* out) {
  bool english = false;
  if (const SeriesArt* s = FindSeries(a.id, &english)) {
    *out = LabelButton(a, state, s->label.In(english), 8, s->colour, true);
    return true;
  }
  // The range buttons are narrow: their words a size smaller.
  auto label = [&](const char* text) { *out = LabelButton(a, state, text, a.width <= 49 ? 7 : 8, {}, false); };
  switch (a.id) {
    case 35897: case 50107: *out = Caption(a, a.id == 50107); return true;
    case 35900: *out = Column(a); return true;
    case 35924: *out = IconButton(a, state, BarsIcon); return true;
    case 35925: *out = IconButton(a, state, ChartIcon); return true;
    case 42279: *out = IconButton(a, state, CrownIcon); return true;
    case 35898: case 50106: *out = IndicatorPage(a, a.id == 50106); return true;
    case 35899: case 50104: *out = StatisticsPage(a, a.id == 50104); return true;
    case 39556: case 50105: *out = RatingOverviewPage(a, a.id == 50105); return true;
    case 44037: case 50096: *out = MasterEntryPage(a, a.id == 50096); return true;
    case 42290: case 50095: *out = TrafficPage(a, a.id == 50095); return true;
    case 50841: case 50094: *out = UsersPage(a, a.id == 50094); return true;
    case 35935: case 35934: *out = RatingBar(a, state, 12); return true;
    case 35950: *out = RatingBar(a, state, 13); return true;
    case 42306: *out = GodSwitch(a, false); return true;
    case 42293: *out = GodSwitch(a, true); return true;
    case 37324: case 50783: *out = SeriesPanel(a, 0, a.id == 50783); return true;
    case 37323: case 50788: *out = SeriesPanel(a, 1, a.id == 50788); return true;
    case 37322: case 50787: *out = SeriesPanel(a, 2, a.id == 50787); return true;
    case 37321: case 50789: *out = SeriesPanel(a, 3, a.id == 50789); return true;
    case 37320: case 50786: *out = SeriesPanel(a, 4, a.id == 50786); return true;
    case 37319: case 50785: *out = SeriesPanel(a, 5, a.id == 50785); return true;
    case 37318: case 50784: *out = SeriesPanel(a, 6, a.id == 50784); return true;
    case 37443: label("5 Quartale"); return true;
    case 50743: label("5 quarters"); return true;
    case 37445: label("10 Quartale"); return true;
    case 50742: label("10 quarters"); return true;
    case 37446: label("30 Quartale"); return true;
    case 50745: label("30 quarters"); return true;
    case 37455: label("Zoom"); return true;
    case 37456: label("Jetzt"); return true;
    case 50747: label("Now"); return true;
    case 37447: label("Alle an"); return true;
    case 50746: label("All on"); return true;
    case 37444: label("Alle aus"); return true;
    case 50744: label("All off"); return true;
    case 49819: case 50732: label("km"); return true;
    case 49820: label("Wege"); return true;
    case 50741: label("Trips"); return true;
    case 37449: *out = IconButton(a, state, [](cairo_t* cr) { ArrowIcon(cr, true); }); return true;
    case 37448: *out = IconButton(a, state, [](cairo_t* cr) { ArrowIcon(cr, false); }); return true;
    default: return false;
  }
}

}  // namespace zorgen
