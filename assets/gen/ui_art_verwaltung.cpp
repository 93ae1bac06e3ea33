// The pictures of the administration and the windows around it: the
// caption, the column of page tabs and the five pages with their labels,
// the credit buttons, the research bars and state pictures; the windows of
// a park-and-ride station and of a building, the line-editing window of a
// stop and the window that turns a building before it is placed.
#include <cmath>
#include <string>

#include "gen/building_info_rows.h"
#include "gen/finance_rows.h"
#include "gen/ui_paint.h"

namespace zorgen {

namespace {

constexpr Rgb8 kGold{230, 180, 40};
constexpr Rgb8 kGreen{90, 190, 110};
constexpr Rgb8 kBlue{80, 150, 230};

Image16 Caption(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  CaptionStrip(cr, a.width, "", 357, 14);
  // a town hall beside the title
  Poly(cr, {{8, 9}, {15, 4}, {22, 9}}, kGold);
  FillRect(cr, 9, 10, 12, 7, {220, 220, 230});
  for (int i = 0; i < 3; ++i) FillRect(cr, 10.5 + i * 3.8, 11, 1.6, 6, {120, 130, 160});
  Text(cr, kCondensedBold, 12, english ? "City administration" : "Stadtverwaltung", 30, 15, kTextLight);
  return c.ToImage();
}

// ---- the tabs' icons, in a 36 x 36 design square

void NotesIcon(cairo_t* cr) {
  for (int i = 0; i < 3; ++i) {
    FillRect(cr, 6 + i * 3, 9 + i * 5, 22, 12, {120 + i * 20, 190, 120 + i * 10});
    Bevel(cr, 6 + i * 3, 9 + i * 5, 22, 12, true);
  }
  Disc(cr, 23, 25, 4, kGold);
}

void FlaskIcon(cairo_t* cr) {
  Poly(cr, {{14, 5}, {22, 5}, {22, 14}, {30, 30}, {6, 30}, {14, 14}}, {210, 230, 245});
  Poly(cr, {{11, 21}, {25, 21}, {30, 30}, {6, 30}}, kGreen);
  Disc(cr, 16, 25, 1.5, kWhite);
  Disc(cr, 21, 27, 1, kWhite);
}

void SpeedSignIcon(cairo_t* cr) {
  Disc(cr, 18, 18, 13, kRed);
  Disc(cr, 18, 18, 9.5, kWhite);
  Text(cr, kBold, 10, "30", 18, 22, kEdgeDark, Align::Centre);
}

void PercentIcon(cairo_t* cr) {
  FillRect(cr, 8, 5, 20, 26, {240, 236, 220});
  Text(cr, kBold, 14, "%", 18, 24, {180, 60, 50}, Align::Centre);
}

void GiftIcon(cairo_t* cr) {
  FillRect(cr, 7, 14, 22, 16, {60, 140, 220});
  FillRect(cr, 5, 10, 26, 5, {80, 160, 240});
  FillRect(cr, 16, 10, 4, 20, kGold);
  Disc(cr, 14, 8, 3, kGold);
  Disc(cr, 22, 8, 3, kGold);
}

// ---- the five pages

// A row's label at the left, for a field from y on.
void Row(cairo_t* cr, const Words& w, bool english, int y, bool bold = false) {
  PageLabel(cr, w, english, 14, y + 11, bold);
}

Image16 SubsidiesPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, {"Zusch\xC3\xBCsse", "Subsidies"}, english)->cr();
  ColumnTitle(cr, {"Betrag", "Amount"}, english, 114, 53, 44);
  ColumnTitle(cr, {"Anzahl", "Uses"}, english, 174, 53, 44);
  ColumnTitle(cr, {"Ausgaben", "Expenses"}, english, 237, 59, 44);
  Heading(cr, {"Fahrzeugkauf", "Vehicle purchase"}, english, 14, 56);
  const struct {
    int y;
    Words w;
  } rows[] = {{62, {"Wasserstoff-Pkw", "Hydrogen car"}},
              {91, {"Elektro-Pkw", "Electric car"}},
              {118, {"Microcar", "Microcar"}},
              {193, {"Telearbeit", "Teleworking"}},
              {221, {"Autoverzicht", "Car given up"}}};
  for (const auto& r : rows) {
    Row(cr, r.w, english, r.y + 2);
    Well(cr, 113, r.y - 1, 55, 18);
    Field(cr, 123, r.y, 35, 16);
    Field(cr, 174, r.y, 53, 16);
    Field(cr, 237, r.y, 59, 16);
  }
  Rule(cr, 10, a.width - 10, 150);
  Heading(cr, {"Weitere Zusch\xC3\xBCsse", "Other subsidies"}, english, 14, 178);
  return c.ToImage();
}

Image16 TaxesPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, {"Steuern", "Taxes"}, english)->cr();
  ColumnTitle(cr, {"Satz", "Rate"}, english, 170, 46, 40);
  ColumnTitle(cr, {"Einnahmen", "Income"}, english, 225, 70, 40);
  // Each rate's editor: its width from the arrow on the left to the arrow
  // on the right; the energy tax's rate has two decimals.
  const struct {
    int y;
    Words w;
    int editor;
  } rows[] = {{43, {"Einkommensteuer (%)", "Income tax (%)"}, 46},
              {71, {"Mehrwertsteuer (%)", "Value added tax (%)"}, 46},
              {127, {"Kfz-Steuer Pkw", "Car tax"}, 46},
              {155, {"Kfz-Steuer Microcar", "Microcar tax"}, 46},
              {183, {"Energiesteuer", "Energy tax"}, 54}};
  for (const auto& r : rows) {
    Row(cr, r.w, english, r.y + 2);
    Well(cr, 169, r.y - 1, r.editor + 2, 19);
    Field(cr, 179, r.y, r.editor - 18, 16);
    Field(cr, 225, r.y + 1, 70, 14);
  }
  Rule(cr, 10, a.width - 10, 100);
  Heading(cr, {"Fahrzeuge und Energie", "Vehicles and energy"}, english, 14, 120);
  return c.ToImage();
}

Image16 RegulationsPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, {"Verkehrsverordnungen", "Traffic regulations"}, english)->cr();
  Heading(cr, {"Verkehrs\xC3\xBC" "berwachung", "Traffic enforcement"}, english, 14, 52);
  ColumnTitle(cr, {"Wert", "Value"}, english, 145, 54, 66);
  ColumnTitle(cr, {"Im Jahr", "Per year"}, english, 221, 67, 66);
  Row(cr, {"Bu\xC3\x9Fgeld (Euro)", "Fine (euros)"}, english, 74);
  Row(cr, {"Politessen", "Traffic wardens"}, english, 115);
  for (int y : {72, 113}) {
    Well(cr, 144, y - 1, 56, 18);
    Field(cr, 154, y, 38, 16);
    Field(cr, 221, y + 1, 67, 14);
  }
  Text(cr, kCondensed, 9.5, english ? "fines in" : "Einnahmen", 221 + 33, 100, {190, 200, 225}, Align::Centre);
  Text(cr, kCondensed, 9.5, english ? "costs" : "Kosten", 221 + 33, 141, {190, 200, 225}, Align::Centre);
  // The rule goes under the wardens' caption, which belongs to the row above.
  Rule(cr, 10, a.width - 10, 146);
  Heading(cr, {"Tempolimit", "Speed limit"}, english, 14, 160);
  Row(cr, {"Innerorts (km/h)", "In town (km/h)"}, english, 181);
  Well(cr, 144, 178, 57, 18);
  Field(cr, 154, 179, 38, 16);
  return c.ToImage();
}

Image16 ResearchPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  const struct {
    int top;
    Words w;
  } areas[] = {{44, {"Abgasreinigung", "Exhaust cleaning"}},
               {115, {"Verbrauchssenkung", "Fuel economy"}},
               {186, {"Elektroantrieb", "Electric drive"}},
               {257, {"Wasserstoffantrieb", "Hydrogen drive"}},
               {328, {"Telearbeit", "Teleworking"}}};
  for (const auto& area : areas) {
    Heading(cr, area.w, english, 14, area.top - 8);
    Well(cr, 13, area.top - 2, 38, 38);
    for (int l = 0; l < 3; ++l) {
      const int y = area.top + 2 + 16 * l;
      const std::string stage = std::string(english ? "Stage " : "Stufe ") + std::to_string(l + 1);
      Text(cr, kCondensed, 9.5, stage, 60, y + 9, kLabel);
      Field(cr, 109, y, 67, 12);
      Well(cr, 185, y - 2, 82, 17);
      Well(cr, 269, y - 1, 14, 13);
    }
    if (area.top > 44) Rule(cr, 10, a.width - 10, area.top - 23);
  }
  return c.ToImage();
}

Image16 FinancesPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = PageFrame(c, {"Finanzen", "Finances"}, english)->cr();
  ColumnTitle(cr, {"Vorjahr", "Last year"}, english, 115, 89, 42);
  ColumnTitle(cr, {"Dieses Jahr", "This year"}, english, 213, 89, 42);
  for (const FinanceRow& r : kFinanceRows) {
    Row(cr, r.name, english, r.y, r.total);
    Field(cr, 115, r.y - 1, 89, 14);
    Field(cr, 213, r.y - 1, 89, 14);
  }
  Heading(cr, {"Ausgaben", "Expenses"}, english, 14, 124);
  Rule(cr, 10, a.width - 10, 110);
  Rule(cr, 10, a.width - 10, 258);
  Rule(cr, 10, a.width - 10, 320);
  Field(cr, 162, 358, 90, 15);
  return c.ToImage();
}

// ---- research: a bar of eleven steps and a state picture per area

Image16 ResearchBar(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  FillRect(cr, 0, 0, a.width, a.height, kWell);
  Bevel(cr, 0, 0, a.width, a.height, false);
  const double w = (a.width - 4) * std::min(state, 11) / 11.0;
  if (w > 0) {
    cairo_rectangle(cr, 2, 2, w, a.height - 4);
    Gradient(cr, 2, 2, w, a.height - 4, kBlue, {40, 75, 115});
  }
  // the stage's numeral at the left
  const int stage = a.id == 28104 || a.id == 50771 ? 1 : a.id == 28105 || a.id == 50770 ? 2 : 3;
  Text(cr, kCondensedBold, 9, std::string(stage, 'I'), 5, a.height - 4, kTextLight);
  return c.ToImage();
}

// The area's emblem with one lamp per level done.
Image16 ResearchState(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  cairo_rectangle(cr, 0, 0, a.width, a.height);
  Gradient(cr, 0, 0, a.width, a.height, kPanelTop, kPanelBottom);
  Bevel(cr, 0, 0, a.width, a.height, true);
  cairo_save(cr);
  cairo_translate(cr, 4, 1);
  cairo_scale(cr, 26.0 / 36, 26.0 / 36);
  switch (a.id) {
    case 28107:
      Poly(cr, {{8, 28}, {28, 28}, {24, 12}, {12, 12}}, {150, 150, 160});
      Disc(cr, 18, 8, 5, {200, 200, 210});
      break;
    case 28108: Disc(cr, 18, 18, 12, kGreen); Text(cr, kBold, 12, "-", 18, 23, kWhite, Align::Centre); break;
    case 28109: Poly(cr, {{20, 4}, {9, 20}, {17, 20}, {14, 32}, {27, 14}, {19, 14}}, kGold); break;
    case 28110: Disc(cr, 18, 18, 12, kBlue); Text(cr, kBold, 11, "H2", 18, 22, kWhite, Align::Centre); break;
    default: FillRect(cr, 6, 8, 24, 16, {200, 220, 240}); FillRect(cr, 12, 26, 12, 4, {150, 160, 180}); break;
  }
  cairo_restore(cr);
  for (int i = 0; i < 3; ++i) Disc(cr, 9 + i * 8, 30, 2.5, i < state ? kAccent : Rgb8{60, 70, 96});
  return c.ToImage();
}

// ---- the windows around the administration

// An information window's background: caption, labels and fields.
Image16 ParkRideInfo(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  CaptionStrip(cr, a.width, english ? "Park and ride" : "Park & Ride", 209, 12);
  ColumnTitle(cr, {"Anzahl", "Count"}, english, 110, 51, 50);
  ColumnTitle(cr, {"genutzt", "Used"}, english, 165, 64, 50);
  Row(cr, {"Stellpl\xC3\xA4tze", "Spaces"}, english, 55);
  Row(cr, {"Linien", "Lines"}, english, 69);
  for (int y : {55, 69}) {
    Field(cr, 110, y, 51, 12);
    Field(cr, 165, y, 64, 12);
  }
  Row(cr, {"Pkw-Erreichbarkeit", "Car access"}, english, 95);
  Well(cr, 109, 94, 121, 14);
  return c.ToImage();
}

Image16 BuildingInfo(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  CaptionStrip(cr, a.width, english ? "Building" : "Geb\xC3\xA4ude", 209, 12);
  Field(cr, 89, 22, 141, 15);
  Row(cr, {"Art", "Kind"}, english, 24);
  for (const BuildingInfoColumn& col : {kBuildingInfoPlaces, kBuildingInfoLoad})
    ColumnTitle(cr, col.title, english, col.x, col.w, 50);
  for (int i = 0; i < kBuildingInfoRowCount; ++i) {
    const int y = kBuildingInfoFirstRow + kBuildingInfoRowStep * i;
    Row(cr, kBuildingInfoRows[i], english, y - 1);
    for (const BuildingInfoColumn& col : {kBuildingInfoPlaces, kBuildingInfoLoad}) Field(cr, col.x, y, col.w, 12);
  }
  Text(cr, kCondensed, 8, kBuildingInfoLoadScale.In(english), a.width - 10, 132, kLabel, Align::Right);
  Rule(cr, 10, a.width - 10, 136);
  const Words bars[] = {{"Wohnqualit\xC3\xA4t", "Housing quality"},
                        {"Pkw-Erreichbarkeit", "Car access"},
                        {"\xC3\x96PNV-Erreichbarkeit", "Transit access"}};
  for (int i = 0; i < 3; ++i) {
    Text(cr, kCondensed, 9.5, bars[i].In(english), 14, 166 + 14 * i, kLabel);
    Well(cr, 119, 156 + 14 * i, 110, 13);
  }
  return c.ToImage();
}

// A small window's panel and caption. The line window of a stop serves
// both languages with one picture, so its caption names the line with a
// sign rather than a word: a line through three stops.
Image16 SmallWindow(const UiArt& a, bool lineSign) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  CaptionStrip(cr, a.width, "", -1);
  if (lineSign) {
    Line(cr, 30, 10.5, 74, 10.5, 3, kRed);
    for (double x : {30.0, 52.0, 74.0}) {
      Disc(cr, x, 10.5, 4, kEdgeDark);
      Disc(cr, x, 10.5, 2.5, kWhite);
    }
  }
  return c.ToImage();
}

Image16 SmallCaption(const UiArt& a) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  CaptionStrip(cr, a.width, "", -1);
  // two arrows round a house: turn before placing
  FillRect(cr, 44, 7, 11, 8, {220, 220, 230});
  Poly(cr, {{42, 8}, {49.5, 3}, {57, 8}}, kRed);
  return c.ToImage();
}

// The dynamic help's title bar comes in pieces laid side by side for the
// width of its text: the left end with the grip, a middle tile repeated, a
// centre piece over them and the right end with the close mark where the
// help's close button lies.
Image16 TitleBarPiece(const UiArt& a, bool leftEnd, bool closeEnd) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  cairo_rectangle(cr, 0, 0, a.width, a.height);
  Gradient(cr, 0, 0, a.width, a.height, kCaptionTop, kCaptionBottom);
  Line(cr, 0, 0.5, a.width, 0.5, 1, kEdgeLight);
  Line(cr, 0, a.height - 0.5, a.width, a.height - 0.5, 1, kEdgeDark);
  if (leftEnd) {
    Line(cr, 0.5, 0, 0.5, a.height, 1, kEdgeLight);
    for (int i = 0; i < 3; ++i) Line(cr, 8, 6.5 + i * 3.5, 18, 6.5 + i * 3.5, 1, kEdgeLight);
  }
  if (closeEnd) {
    Line(cr, a.width - 0.5, 0, a.width - 0.5, a.height, 1, kEdgeDark);
    CloseMark(cr, 11, 3, 14, 13);
  }
  return c.ToImage();
}

void TurnIcon(cairo_t* cr, bool left) {
  cairo_save(cr);
  if (left) {
    cairo_translate(cr, 36, 0);
    cairo_scale(cr, -1, 1);
  }
  cairo_arc(cr, 18, 20, 10, M_PI, 2 * M_PI);
  cairo_set_line_width(cr, 3);
  Set(cr, kAccent);
  cairo_stroke(cr);
  Poly(cr, {{23, 20}, {33, 20}, {28, 27}}, kAccent);
  FillRect(cr, 13, 22, 10, 8, {220, 220, 230});
  cairo_restore(cr);
}

// A stop sign with a mark: minus removes, plus adds.
void StopIcon(cairo_t* cr, char mark) {
  Disc(cr, 14, 14, 9, {250, 210, 40});
  Text(cr, kBold, 11, "H", 14, 18, {30, 110, 60}, Align::Centre);
  FillRect(cr, 13, 23, 2, 10, {150, 150, 160});
  Disc(cr, 27, 26, 7, mark == '+' ? kGreen : kRed);
  FillRect(cr, 23, 25, 8, 2, kWhite);
  if (mark == '+') FillRect(cr, 26, 22, 2, 8, kWhite);
}

void LinesIcon(cairo_t* cr) {
  Line(cr, 5, 28, 31, 8, 3, kRed);
  Line(cr, 5, 10, 31, 28, 3, kBlue);
  Disc(cr, 18, 18, 4, kWhite);
  Disc(cr, 18, 18, 2, kEdgeDark);
}

void StepIcon(cairo_t* cr, bool up) {
  if (up)
    Poly(cr, {{8, 26}, {18, 10}, {28, 26}}, kTextLight);
  else
    Poly(cr, {{8, 10}, {18, 26}, {28, 10}}, kTextLight);
}

}  // namespace

bool DrawVerwaltungArt(const UiArt& a, int state, Image16* out) {
  switch (a.id) {
    case 28103: case 50228: *out = Caption(a, a.id == 50228); return true;
    case 28054: *out = TabColumn(a, 5); return true;
    case 18700: *out = IconButton(a, state, NotesIcon); return true;
    case 18701: *out = IconButton(a, state, FlaskIcon); return true;
    case 18702: *out = IconButton(a, state, SpeedSignIcon); return true;
    case 18703: *out = IconButton(a, state, PercentIcon); return true;
    case 18704: *out = IconButton(a, state, GiftIcon); return true;
    case 28053: case 50257: *out = SubsidiesPage(a, a.id == 50257); return true;
    case 28052: case 50258: *out = TaxesPage(a, a.id == 50258); return true;
    case 28051: case 50259: *out = RegulationsPage(a, a.id == 50259); return true;
    case 28050: case 50261: *out = ResearchPage(a, a.id == 50261); return true;
    case 28079: case 50263: *out = FinancesPage(a, a.id == 50263); return true;
    case 42325: *out = LabelButton(a, state, "Zur\xC3\xBC" "ckzahlen", 9, {}, false); return true;
    case 50648: *out = LabelButton(a, state, "Repay", 9, {}, false); return true;
    case 42324: *out = LabelButton(a, state, "Aufnehmen", 9, {}, false); return true;
    case 50647: *out = LabelButton(a, state, "Take out", 9, {}, false); return true;
    case 28104: case 28105: case 28106: case 50771: case 50770: case 50769: *out = ResearchBar(a, state); return true;
    case 28107: case 28108: case 28109: case 28110: case 28111: *out = ResearchState(a, state); return true;
    case 49914: case 50072: *out = ParkRideInfo(a, a.id == 50072); return true;
    case 39876: case 50070: *out = BuildingInfo(a, a.id == 50070); return true;
    case 25915: *out = SmallWindow(a, true); return true;
    case 26543: *out = SmallWindow(a, false); return true;
    case 26547: *out = SmallCaption(a); return true;
    case 25940: *out = CloseBox(a, state); return true;
    case 49703: *out = TitleBarPiece(a, true, false); return true;
    case 49701: case 49702: *out = TitleBarPiece(a, false, false); return true;
    case 49704: *out = TitleBarPiece(a, false, true); return true;
    case 25922: *out = IconButton(a, state, [](cairo_t* cr) { StopIcon(cr, '-'); }); return true;
    case 25919: *out = IconButton(a, state, [](cairo_t* cr) { StopIcon(cr, '+'); }); return true;
    case 25920: *out = IconButton(a, state, LinesIcon); return true;
    case 26545: *out = IconButton(a, state, [](cairo_t* cr) { TurnIcon(cr, true); }); return true;
    case 26546: *out = IconButton(a, state, [](cairo_t* cr) { TurnIcon(cr, false); }); return true;
    case 19677: *out = IconButton(a, state, [](cairo_t* cr) { StepIcon(cr, true); }); return true;
    case 19678: *out = IconButton(a, state, [](cairo_t* cr) { StepIcon(cr, false); }); return true;
    default: return false;
  }
}

}  // namespace zorgen
