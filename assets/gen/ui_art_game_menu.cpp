// The pictures of the start-up windows and the game menu: the title after
// the intro, the welcome windows, the full-screen pictures, the menu's
// caption and button column, its save, load and settings pages with their
// labels, and the buttons on them. The pages carry the words; the game
// writes the saved games and the typed name on their light sheets.
#include <cmath>

#include "gen/ui_paint.h"

namespace zorgen {

namespace {

// ---- pictures of a town

// A row of houses and towers along a street, the town the game is about.
void Skyline(cairo_t* cr, double w, double base, double scale) {
  const Rgb8 fronts[4] = {{92, 108, 150}, {70, 84, 124}, {110, 126, 168}, {60, 72, 108}};
  double x = 0;
  for (int i = 0; x < w; ++i) {
    const double bw = (18 + (i * 37 % 23)) * scale;
    const double bh = (30 + (i * 53 % 70)) * scale;
    FillRect(cr, x, base - bh, bw - 2 * scale, bh, fronts[i % 4]);
    for (double wy = base - bh + 5 * scale; wy < base - 6 * scale; wy += 8 * scale)
      for (double wx = x + 3 * scale; wx < x + bw - 6 * scale; wx += 6 * scale)
        if ((static_cast<int>(wx + wy) / 3) % 3 != 0) FillRect(cr, wx, wy, 2.5 * scale, 3.5 * scale, {250, 220, 120});
    x += bw;
  }
  FillRect(cr, 0, base, w, 14 * scale, kRoad);
  for (double dx = 6 * scale; dx < w; dx += 22 * scale)
    FillRect(cr, dx, base + 6 * scale, 11 * scale, 1.8 * scale, {240, 240, 240});
  // a bus and a car on the street
  FillRect(cr, w * 0.22, base + 1 * scale, 30 * scale, 6 * scale, {250, 210, 40});
  FillRect(cr, w * 0.62, base + 7 * scale, 14 * scale, 5 * scale, kRed);
}

void Sky(cairo_t* cr, double w, double h) {
  cairo_rectangle(cr, 0, 0, w, h);
  Gradient(cr, 0, 0, w, h, {26, 34, 64}, {120, 150, 200});
}

// A picture with the game's name over the town.
Image16 TownPicture(const UiArt& a, const char* subtitle, bool arrow) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Sky(cr, a.width, a.height);
  const double scale = a.width / 500.0;
  Skyline(cr, a.width, a.height * 0.82, scale * 1.4);
  Text(cr, kBold, 48 * scale, "ZORVANTA", a.width / 2.0, a.height * 0.28, kAccent, Align::Centre);
  Text(cr, kCondensed, 15 * scale, subtitle, a.width / 2.0, a.height * 0.28 + 26 * scale, kTextLight, Align::Centre);
  Bevel(cr, 0, 0, a.width, a.height, true);
  if (arrow) {
    // the continue corner: an arrow pointing on
    const double x = a.width - 30, y = a.height - 41;
    FillRect(cr, x, y, 30, 41, {38, 46, 70});
    Poly(cr, {{x + 8, y + 12}, {x + 22, y + 20.5}, {x + 8, y + 29}}, kAccent);
  }
  return c.ToImage();
}

// A welcome: caption, the town, a sheet with a few lines.
Image16 Welcome(const UiArt& a, bool english, double sheetBottom) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  CaptionStrip(cr, a.width, english ? "Welcome to Zorvanta" : "Willkommen in Zorvanta", -1);
  cairo_save(cr);
  cairo_rectangle(cr, 8, 27, a.width - 16, 110);
  cairo_clip(cr);
  Sky(cr, a.width, 140);
  Skyline(cr, a.width, 120, 0.8);
  cairo_restore(cr);
  Bevel(cr, 8, 27, a.width - 16, 110, false);
  Sheet(cr, 8, 145, a.width - 16, sheetBottom - 145);
  const char* de[] = {"Sie leiten den Verkehr einer wachsenden Stadt.",
                      "Bauen Sie Stra\xC3\x9F" "en, Bus- und Bahnlinien,",
                      "stellen Sie Ampeln und Tempo ein und halten Sie",
                      "die B\xC3\xBCrger mobil und die Kasse im Plus."};
  const char* en[] = {"You run the traffic of a growing town.", "Build streets, bus and tram lines,",
                      "set the lights and the speeds, and keep", "the people moving and the budget in the black."};
  for (int i = 0; i < 4; ++i) Text(cr, kCondensed, 12, english ? en[i] : de[i], 20, 170 + 19 * i, kTextDark);
  return c.ToImage();
}

// ---- the game menu

Image16 MenuCaption(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  CaptionStrip(c.cr(), a.width, english ? "Game menu" : "Spielmen\xC3\xBC", 322);
  return c.ToImage();
}

// The column of the page buttons and the exit, each in a well.
Image16 MenuColumn(const UiArt& a) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  for (int y : {45, 88, 131, 260}) Well(cr, 8, y - 21 - 2, 40, 40);
  Line(cr, 6, 225.5, 45, 225.5, 1, kEdgeDark);
  return c.ToImage();
}

// A page: its heading, and the list's sheet with the scroll column where
// the saved games are listed.
void PageFrame(cairo_t* cr, double w, double h, const std::string& heading) {
  Panel(cr, 0, 0, w, h);
  Text(cr, kBold, 13, heading, 12, 22, kAccent);
}

void ListSheet(cairo_t* cr, double y, double h) {
  Sheet(cr, 11, y - 1, 166, h + 2);
  FillRect(cr, 161, y, 15, h, {200, 196, 182});
}

void NameSheet(cairo_t* cr) { Sheet(cr, 11, 243, 166, 21); }

Image16 SavePage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  PageFrame(cr, a.width, a.height, english ? "Save game" : "Spiel speichern");
  ListSheet(cr, 36, 200);
  NameSheet(cr);
  // Three short lines: the page's right edge is the window's frame.
  const Words lines[] = {{"Namen unten", "Type a name"}, {"eingeben, dann", "below, then"}, {"speichern.", "save."}};
  for (int i = 0; i < 3; ++i) Text(cr, kCondensed, 10, lines[i].In(english), 186, 214 + 13 * i, kTextLight);
  return c.ToImage();
}

Image16 LoadPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  PageFrame(cr, a.width, a.height, english ? "Load game / new game" : "Spiel laden / neues Spiel");
  ListSheet(cr, 55, 181);
  NameSheet(cr);
  Text(cr, kCondensed, 10, english ? "Saved games of:" : "Spielst\xC3\xA4nde aus:", 186, 49, kTextLight);
  Line(cr, 186, 129.5, 279, 129.5, 1, kEdgeDark);
  return c.ToImage();
}

Image16 SettingsPage(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  PageFrame(cr, a.width, a.height, english ? "Settings" : "Einstellungen");
  auto label = [cr](const char* text, double x, double y) { Text(cr, kCondensed, 11, text, x, y, kTextLight); };
  auto track = [cr](double y) {
    FillRect(cr, 165, y - 1, 101, 3, kWell);
    Bevel(cr, 165, y - 1, 101, 3, false);
  };
  label(english ? "Game speed" : "Spielgeschwindigkeit", 165, 50);
  track(65);
  Text(cr, kCondensed, 9, english ? "slow" : "langsam", 165, 84, {190, 200, 225});
  Text(cr, kCondensed, 9, english ? "fast" : "schnell", 266, 84, {190, 200, 225}, Align::Right);
  label(english ? "Resolution" : "Aufl\xC3\xB6sung", 12, 110);
  label(english ? "Language" : "Sprache", 165, 110);
  Line(cr, 12, 143.5, 289, 143.5, 1, kEdgeDark);
  label(english ? "Sound effects" : "Soundeffekte", 12, 164);
  Well(cr, 132, 153, 14, 13);
  label(english ? "Volume" : "Lautst\xC3\xA4rke", 165, 178);
  track(191);
  label(english ? "Music" : "Musik", 12, 227);
  Well(cr, 132, 216, 14, 13);
  label(english ? "Volume" : "Lautst\xC3\xA4rke", 165, 241);
  track(254);
  // The MIDI button stands at x 47: the word before it ends well short.
  label(english ? "as" : "als", 12, 259);
  return c.ToImage();
}

// ---- buttons

void DiskIcon(cairo_t* cr) {
  FillRect(cr, 7, 6, 22, 24, {70, 110, 200});
  FillRect(cr, 11, 6, 14, 8, {220, 224, 232});
  FillRect(cr, 20, 7, 3, 6, {70, 110, 200});
  FillRect(cr, 10, 19, 16, 11, {248, 245, 234});
  Line(cr, 12, 23, 24, 23, 1, kTextDark);
  Line(cr, 12, 26, 22, 26, 1, kTextDark);
}

void FolderIcon(cairo_t* cr) {
  Poly(cr, {{5, 10}, {14, 10}, {17, 13}, {31, 13}, {31, 29}, {5, 29}}, {230, 180, 60});
  Poly(cr, {{5, 29}, {9, 17}, {34, 17}, {31, 29}}, {250, 210, 90});
  Poly(cr, {{18, 4}, {24, 9}, {20, 9}, {20, 14}, {16, 14}, {16, 9}, {12, 9}}, kTextLight);
}

void GearIcon(cairo_t* cr) {
  cairo_save(cr);
  cairo_translate(cr, 18, 18);
  for (int i = 0; i < 8; ++i) {
    cairo_save(cr);
    cairo_rotate(cr, i * M_PI / 4);
    cairo_rectangle(cr, -3, -14, 6, 6);
    cairo_restore(cr);
  }
  Set(cr, {200, 206, 222});
  cairo_fill(cr);
  cairo_restore(cr);
  Disc(cr, 18, 18, 9.5, {200, 206, 222});
  Disc(cr, 18, 18, 4, {60, 72, 106});
}

void ExitIcon(cairo_t* cr) {
  FillRect(cr, 8, 5, 14, 26, {150, 100, 60});
  Disc(cr, 19, 18, 1.4, kAccent);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Line(cr, 20, 18, 31, 18, 2.5, kRed);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  Poly(cr, {{33, 18}, {27, 13}, {27, 23}}, kRed);
}

// The plate that names the game mode whose saved games the list shows.
Image16 ModePlate(const UiArt& a, int state, bool english) {
  static const Words modes[4] = {
      {"Mastermodus", "Master mode"},
      {"Freies Spiel", "Free game"},
      {"Szenarien", "Scenarios"},
      {"Ausstellung", "Exhibition"}};
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  FillRect(cr, 0, 0, a.width, a.height, kWell);
  Bevel(cr, 0, 0, a.width, a.height, false);
  Text(cr, kCondensedBold, 11, modes[state & 3].In(english), a.width / 2.0, 14, kAccent, Align::Centre);
  return c.ToImage();
}

struct Label {
  uint32_t id;
  const char* text;
};

const Label kLabels[] = {
    {49777, "Spiel laden"}, {50600, "Load game"},  {39444, "Speichern"},    {50614, "Save"},
    {39443, "Laden"},       {50611, "Load"},       {39440, "Freies Spiel"}, {50608, "Free game"},
    {39441, "Mastermodus"}, {50610, "Master mode"}, {39442, "Szenarien"},   {50617, "Scenarios"},
    {44170, "Neues Spiel"}, {50613, "New game"},   {49896, "L\xC3\xB6schen"}, {50616, "Delete"},
    {44169, "Pause"},       {50615, "Pause"},      {50901, "640"},          {50902, "800"},
    {50903, "1024"},        {50822, "Deutsch"},    {50821, "English"},      {49391, "MIDI"},
};

}  // namespace

bool DrawGameMenuArt(const UiArt& a, int state, Image16* out) {
  for (const Label& l : kLabels)
    if (a.id == l.id) return *out = LabelButton(a, state, l.text, a.height < 20 ? 9 : 11, {}, false), true;
  switch (a.id) {
    case 50918: *out = TownPicture(a, "Verkehr, Stadt und Politik", true); return true;
    case 50920: *out = TownPicture(a, "Traffic, town and policy", true); return true;
    case 51677:
    case 51676: *out = TownPicture(a, "Zorvanta", false); return true;
    case 49772: *out = Welcome(a, false, 310); return true;
    case 50112: *out = Welcome(a, true, 310); return true;
    case 50916:
    case 50917: {
      const bool english = a.id == 50917;
      Canvas c(a.width, a.height);
      cairo_t* cr = c.cr();
      Panel(cr, 0, 0, a.width, a.height);
      CaptionStrip(cr, a.width, english ? "Before you start" : "Bevor Sie beginnen", -1);
      Sheet(cr, 8, 28, a.width - 16, 357);
      const char* de[] = {"Die rechte Maustaste schiebt die Karte.",
                          "Die Leiste unten \xC3\xB6" "ffnet alle Werkzeuge.",
                          "Ein Klick auf Stra\xC3\x9F" "e oder Kreuzung", "zeigt ihre Einstellungen.",
                          "Das Spielmen\xC3\xBC speichert und l\xC3\xA4" "dt."};
      const char* en[] = {"The right mouse button moves the map.", "The bar at the bottom opens every tool.",
                          "A click on a street or a crossing", "shows its settings.", "The game menu saves and loads."};
      for (int i = 0; i < 5; ++i) Text(cr, kCondensed, 12, english ? en[i] : de[i], 20, 60 + 22 * i, kTextDark);
      Text(cr, kCondensed, 10, english ? "Do not show again" : "Nicht mehr zeigen", 279, 407, kTextLight,
           Align::Right);
      Text(cr, kCondensedBold, 11, english ? "On" : "Weiter", 316, 407, kAccent, Align::Centre);
      *out = c.ToImage();
      return true;
    }
    case 38499: *out = MenuCaption(a, false); return true;
    case 50116: *out = MenuCaption(a, true); return true;
    case 38495: *out = MenuColumn(a); return true;
    case 38494: *out = SavePage(a, false); return true;
    case 50124: *out = SavePage(a, true); return true;
    case 38493: *out = LoadPage(a, false); return true;
    case 50125: *out = LoadPage(a, true); return true;
    case 50904: *out = SettingsPage(a, false); return true;
    case 50905: *out = SettingsPage(a, true); return true;
    case 49425: *out = ModePlate(a, state, false); return true;
    case 50618: *out = ModePlate(a, state, true); return true;
    case 39450: *out = IconButton(a, state, DiskIcon); return true;
    case 39471: *out = IconButton(a, state, FolderIcon); return true;
    case 39445: *out = IconButton(a, state, GearIcon); return true;
    case 41521: *out = IconButton(a, state, ExitIcon); return true;
    default: return false;
  }
}

}  // namespace zorgen
