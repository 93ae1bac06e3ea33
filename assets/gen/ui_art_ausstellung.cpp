// The exhibition's pages: short, friendly cards that explain the game to a
// visitor in a minute and lead through the bus-line or the street task,
// each in German or in English; their choice and next buttons, the menus
// beside them, the line and street windows of the kiosk and the arrow over
// a free stop place. The game draws its buttons and figures over the
// places the cards leave free.
#include <string>
#include <vector>

#include "gen/ui_paint.h"

namespace zorgen {

namespace {

constexpr Rgb8 kLilac{200, 126, 232};
constexpr Rgb8 kInk{39, 48, 70};

// A card: its title and its text, in the card's one language; the text is
// wrapped to the card's width. `bottom` is where the text must end (the
// game's buttons lie below).
struct Card {
  uint32_t id;
  bool english;
  const char* title;
  const char* text;
  int bottom;
};

// The pages in their languages. German cards carry the 3xx windows, the
// English ones both the 3xx windows' English look and the 4xx chain.
const std::vector<Card>& Cards() {
  static const std::vector<Card> cards = {
      {43770, false, "Willkommen bei Zorvanta!",
       "Hier lenken Sie den Verkehr einer Stadt. In einer Minute zeigen wir Ihnen, wie: Sie bauen eine Buslinie "
       "oder eine Stra\xC3\x9F" "e und sehen, was die Stadt daraus macht.",
       140},
      {43796, true, "Welcome to Zorvanta!",
       "Here you run the traffic of a town. In one minute we show you how: build a bus line or a street and see "
       "what the town makes of it.",
       136},
      {43772, false, "So funktioniert es",
       "Die B\xC3\xBCrger fahren mit dem Auto, dem Bus, der Bahn oder dem Rad. Jede Stra\xC3\x9F" "e, Haltestelle "
       "und Linie, die Sie bauen, \xC3\xA4ndert ihre Wege. Ein gutes Angebot lockt Fahrg\xC3\xA4ste an, Staus "
       "und Umwege schrecken sie ab. Klicken Sie auf der Karte nur auf die lila Felder.",
       198},
      {43769, true, "How it works",
       "People travel by car, bus, tram or bike. Every street, stop and line you build changes their ways. A good "
       "service wins passengers; jams and detours drive them away. On the map, click only the lilac cells.",
       194},
      {43771, false, "Ihre Aufgabe",
       "W\xC3\xA4hlen Sie eine von zwei Aufgaben: eine Buslinie zwischen zwei Haltestellen, oder eine neue "
       "Stra\xC3\x9F" "e, deren Tempo Sie selbst festlegen.",
       170},
      {43768, true, "Your task",
       "Choose one of two tasks: a bus line between two stops, or a new street with a speed limit of your "
       "choice.",
       190},
      {43784, false, "Eine Buslinie",
       "Bauen Sie zwei Haltestellen auf die blinkenden lila Felder. Der Bus f\xC3\xA4hrt dann zwischen ihnen hin "
       "und her. Tipp: Die Pl\xC3\xA4tze oben links und unten rechts verbinden die meisten Menschen.",
       158},
      {43773, true, "A bus line",
       "Build two stops on the blinking lilac cells. The bus then runs back and forth between them. Hint: the "
       "places top left and bottom right join the most people.",
       158},
      {43785, false, "Haltestelle w\xC3\xA4hlen", "Rechts: ein Schild oder ein Wartedach.", 66},
      {43774, true, "Choose a stop", "On the right: a sign or a shelter.", 66},
      {43786, false, "Hier geht das nicht!", "Klicken Sie auf ein blinkendes lila Feld.", 96},
      {43775, true, "Not here!", "Please click a blinking lilac cell.", 96},
      {43787, false, "Die erste Haltestelle steht!",
       "Setzen Sie jetzt die zweite auf ein anderes lila Feld.", 78},
      {43776, true, "Your first stop is there!", "Now put the second one on another lilac cell.", 74},
      {43788, false, "Wie oft soll der Bus fahren?",
       "Alle 5, 10 oder 15 Minuten? Je \xC3\xB6" "fter er kommt, desto mehr steigen ein.", 96},
      {43777, true, "How often should the bus run?",
       "Every 5, 10 or 15 minutes? The more often it comes, the more people get on.", 114},
      {43789, false, "Ihr Bus f\xC3\xA4hrt!",
       "Oben sehen Sie den Takt, wie voll die Busse sind und wie viele Fahrg\xC3\xA4ste fahren. Mit den "
       "Pfeilen \xC3\xA4ndern Sie den Takt. In zwei Minuten sagen wir Ihnen, wie gut Ihre Linie ankommt.",
       154},
      {43778, true, "Your bus is running!",
       "Above you see the headway, how full the buses are and how many people ride. The arrows change the "
       "headway. In two minutes we tell you how well your line does.",
       172},
      {43790, false, "Aufgabe beenden?", "", 48},
      {43779, true, "Leave the task?", "", 48},
      {43804, false, "Eine neue Stra\xC3\x9F" "e",
       "Bauen Sie eine Stra\xC3\x9F" "e entlang der lila Felder. Sie verbindet zwei Stadtteile und nimmt den "
       "anderen Stra\xC3\x9F" "en Verkehr ab.",
       150},
      {43795, true, "A new street",
       "Build a street along the lilac cells. It joins two parts of the town and takes traffic off the other "
       "streets.",
       160},
      {43805, false, "Welche Stra\xC3\x9F" "e?",
       "Eine Hauptstra\xC3\x9F" "e passt \xC3\xBC" "berall, die vierspurige nur auf den langen Strecken.", 80},
      {43767, true, "Which street?",
       "A main street fits everywhere; the four-lane street only on the long runs.", 94},
      {43806, false, "Stra\xC3\x9F" "e w\xC3\xA4hlen", "Rechts: Hauptstra\xC3\x9F" "e oder vierspurig.", 66},
      {43797, true, "Choose a street", "On the right: main street or four lanes.", 66},
      {43807, false, "Passt hier nicht", "Nehmen Sie die Hauptstra\xC3\x9F" "e.", 66},
      {43798, true, "Does not fit here", "Take the main street.", 66},
      {43808, false, "Hier geht das nicht!", "Klicken Sie auf ein lila Feld.", 66},
      {43799, true, "Not here!", "Please click a lilac cell.", 66},
      {43810, false, "Die Stra\xC3\x9F" "e steht!", "Stellen Sie links das Tempo ein.", 66},
      {43801, true, "Your street is built!", "Set its speed on the left.", 66},
  };
  return cards;
}

// The rating pages: their verdict; bus pages have the passengers' field.
struct Rating {
  uint32_t id;
  bool english, bus;
  const char* title;
  const char* text;
};

const std::vector<Rating>& Ratings() {
  static const std::vector<Rating> ratings = {
      {44004, false, true, "Ihre Buslinie", "Ihr Bus f\xC3\xA4hrt seine Runden. Danke f\xC3\xBCr Ihren Besuch!"},
      {44000, true, true, "Your bus line", "Your bus makes its rounds. Thank you for your visit!"},
      {44003, false, true, "Gute Verbindung!",
       "Ihre Linie verbindet Wohnen und Arbeiten. Doch der Bus kommt selten: mit einem k\xC3\xBCrzeren Takt "
       "stiegen noch mehr Menschen um."},
      {43999, true, true, "A good link!",
       "Your line joins homes and work. But the bus comes rarely: with a shorter headway even more people would "
       "leave the car."},
      {44002, false, true, "Wenig Fahrg\xC3\xA4ste",
       "Ihr Bus f\xC3\xA4hrt, aber zwischen Orten, an denen wenige Menschen wohnen und arbeiten. Versuchen Sie "
       "die Pl\xC3\xA4tze oben links und unten rechts."},
      {43998, true, true, "Few passengers",
       "Your bus runs, but between places where few people live and work. Try the places top left and bottom "
       "right."},
      {44001, false, true, "Ausgezeichnet!",
       "Ihre Linie verbindet Wohnen und Arbeiten, und der Bus kommt oft. Viele lassen jetzt das Auto stehen."},
      {43997, true, true, "Excellent!",
       "Your line joins homes and work, and the bus comes often. Many people now leave their car at home."},
      {43947, false, false, "Ganz sch\xC3\xB6n schnell",
       "Bei hohem Tempo wird die Stra\xC3\x9F" "e laut und gef\xC3\xA4hrlich f\xC3\xBCr Fu\xC3\x9Fg\xC3\xA4nger "
       "und Radfahrer. Ein ruhigeres Tempo h\xC3\xA4lt die Stadt lebenswert."},
      {43948, true, false, "Rather fast",
       "At high speed a street gets loud and dangerous for people on foot and on bikes. A calmer speed keeps the "
       "town a good place to live."},
      {43949, false, false, "Gut gemacht!",
       "Die neue Stra\xC3\x9F" "e nimmt dem Zentrum Verkehr ab. Dort wird es ruhiger."},
      {43950, true, false, "Well done!", "The new street takes traffic out of the centre. It gets quieter there."},
      {43951, false, false, "Prima!",
       "Mit ruhigem Tempo bleibt die Stra\xC3\x9F" "e sicher und leise, und der Verkehr flie\xC3\x9Ft trotzdem."},
      {43952, true, false, "Great!", "At a calm speed the street stays safe and quiet, and the traffic still flows."},
      {43953, false, false, "Eine lange Umgehung!",
       "Sie lenkt den Durchgangsverkehr um die Wohnviertel herum. Die Anwohner danken es Ihnen."},
      {43954, true, false, "A long bypass!",
       "It takes through traffic around the homes. The people living there will thank you."},
  };
  return ratings;
}

// Lines of at most `width` pixels in the font set on cr.
std::vector<std::string> Wrap(cairo_t* cr, const std::string& text, double width) {
  std::vector<std::string> lines;
  std::string line, word;
  auto fits = [&](const std::string& s) {
    cairo_text_extents_t te;
    cairo_text_extents(cr, s.c_str(), &te);
    return te.x_advance <= width;
  };
  auto flush = [&] {
    if (word.empty()) return;
    const std::string joined = line.empty() ? word : line + " " + word;
    if (line.empty() || fits(joined)) {
      line = joined;
    } else {
      lines.push_back(line);
      line = word;
    }
    word.clear();
  };
  for (char ch : text) {
    if (ch == ' ') flush();
    else word += ch;
  }
  flush();
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// Writes the text on a light sheet from y to bottom, as large as it fits.
void SheetText(cairo_t* cr, const std::string& text, double x, double y, double w, double bottom) {
  if (text.empty()) return;
  Sheet(cr, x, y, w, bottom - y);
  for (double size = 13; size >= 8; size -= 0.5) {
    Text(cr, kCondensed, size, "", 0, 0, kInk);  // selects the face and size for measuring
    const std::vector<std::string> lines = Wrap(cr, text, w - 16);
    const double step = size * 1.3;
    if (y + 6 + step * static_cast<double>(lines.size()) > bottom && size > 8) continue;
    double base = y + 4 + step;
    for (const std::string& l : lines) {
      Text(cr, kCondensed, size, l, x + 8, base, kInk);
      base += step;
    }
    return;
  }
}

// A page's panel and caption with a lilac corner: the colour the visitor
// looks for on the map.
void PageTop(cairo_t* cr, const UiArt& a, const char* title) {
  Panel(cr, 0, 0, a.width, a.height);
  CaptionStrip(cr, a.width, title, -1);
  Poly(cr, {{a.width - 18.0, 0.0}, {a.width * 1.0, 0.0}, {a.width * 1.0, 18.0}}, kLilac);
}

Image16 CardPicture(const UiArt& a, const Card& card) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  PageTop(cr, a, card.title);
  SheetText(cr, card.text, 8, 27, a.width - 16, card.bottom);
  return c.ToImage();
}

Image16 RatingPicture(const UiArt& a, const Rating& r) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  PageTop(cr, a, r.title);
  double top = 30;
  if (r.bus) {
    // The game writes the passengers per hour in the field.
    const double field = r.english ? 151 : 97;
    PageLabel(cr, {"Fahrg\xC3\xA4ste:", "Passengers:"}, r.english, r.english ? 70 : 20, 60);
    Field(cr, field - 2, 49, 40, 14);
    PageLabel(cr, {"pro Stunde", "per hour"}, r.english, field + 44, 60);
    top = 72;
  }
  // A little town under the verdict: houses, a street and a bus or cars.
  const double base = 222;
  FillRect(cr, 8, base, a.width - 16, 10, kRoad);
  for (int i = 0; i < 7; ++i) {
    const double x = 16 + i * 44.0, h = 22 + (i * 13 % 30);
    FillRect(cr, x, base - h, 30, h, {92 + i * 6, 108, 150});
    Poly(cr, {{x - 3, base - h}, {x + 15, base - h - 12}, {x + 33, base - h}}, kRed);
  }
  FillRect(cr, r.bus ? 120 : 60, base + 1, r.bus ? 46 : 20, 8, r.bus ? kAccent : kLilac);
  SheetText(cr, r.text, 8, top, a.width - 16, 152);
  return c.ToImage();
}

// The line window: its caption and the titles over the game's figures.
Image16 LineWindow(const UiArt& a, bool english) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  CaptionStrip(cr, a.width, english ? "Your bus line" : "Ihre Buslinie", -1);
  const struct {
    double x, w;
    Words title;
  } columns[] = {{12, 60, {"Linie", "Line"}},
                 {79, 44, {"Takt", "Headway"}},
                 {129, 44, {"Belegt %", "Load %"}},
                 {180, 44, {"Fahrg\xC3\xA4ste", "Riders"}}};
  for (const auto& col : columns) {
    ColumnTitle(cr, col.title, english, col.x, col.w, 44);
    Field(cr, col.x, 53, col.w, 18);
  }
  return c.ToImage();
}

// A street window of the kiosk: titles beside its speed buttons, switches,
// direction, loads and the day's chart.
Image16 StreetWindow(const UiArt& a, bool english, bool fourSpeeds) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  CaptionStrip(cr, a.width, english ? "Your street" : "Ihre Stra\xC3\x9F" "e", -1);
  const double dy = fourSpeeds ? 17 : 0;
  PageLabel(cr, {"Tempo:", "Speed:"}, english, 10, 37, true);
  PageLabel(cr, {"Verkehrslenkung", "Traffic guidance"}, english, 60, 54);
  if (fourSpeeds) PageLabel(cr, {"Busspur", "Bus lane"}, english, 100, 71);
  PageLabel(cr, {"Auslastung", "Load"}, english, 114, 82 + dy);
  Well(cr, 10, 80 + dy, 101, 63);
  Well(cr, 109, 87 + dy, 86, 17);
  Well(cr, 109, 120 + dy, 86, 17);
  PageLabel(cr, {"24 Stunden", "24 hours"}, english, 39, 214 + dy);
  Well(cr, 38, 219 + dy, 158, 38);
  return c.ToImage();
}

Image16 MenuBody(const UiArt& a) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  FillRect(cr, 2, 2, a.width - 4, 11, kLilac);
  return c.ToImage();
}

// The arrow over a free stop place: it points down onto the cell.
Image16 Arrow(const UiArt& a) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  const double w = a.width, h = a.height;
  Poly(cr, {{w * 0.3, 0}, {w * 0.7, 0}, {w * 0.7, h * 0.5}, {w, h * 0.5}, {w * 0.5, h}, {0, h * 0.5},
            {w * 0.3, h * 0.5}},
       {255, 64, 255});
  return c.ToImage();
}

// The next button: a bright arrow pointing on.
Image16 NextButton(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  ButtonFace(cr, a.width, a.height, state, 3);
  const double x = a.width / 2.0 - 4 + (state == 2 ? 1 : 0), y = a.height / 2.0;
  Poly(cr, {{x, y - 5}, {x + 9, y}, {x, y + 5}}, state == 1 ? kAccent : kTextLight);
  return c.ToImage();
}

}  // namespace

bool DrawExpoArt(const UiArt& a, int state, Image16* out) {
  for (const Card& card : Cards())
    if (card.id == a.id) return *out = CardPicture(a, card), true;
  for (const Rating& r : Ratings())
    if (r.id == a.id) return *out = RatingPicture(a, r), true;
  switch (a.id) {
    case 43934: *out = LineWindow(a, false); return true;
    case 44012: *out = LineWindow(a, true); return true;
    case 43941: *out = StreetWindow(a, false, false); return true;
    case 44010: *out = StreetWindow(a, true, false); return true;
    case 43940: *out = StreetWindow(a, false, true); return true;
    case 44011: *out = StreetWindow(a, true, true); return true;
    case 43928: *out = MenuBody(a); return true;
    case PIC_EXPO_ARROW: *out = Arrow(a); return true;
    case 43889: *out = NextButton(a, state); return true;
    case 43924: *out = LabelButton(a, state, "Bus line", 9, {}, false); return true;
    case 43925: *out = LabelButton(a, state, "Eine Buslinie bauen", 10, {}, false); return true;
    case 43926: *out = LabelButton(a, state, "Build a street", 9, {}, false); return true;
    case 43927: *out = LabelButton(a, state, "Stra\xC3\x9F" "e bauen", 10, {}, false); return true;
    case 43904: *out = LabelButton(a, state, "5", 10, {}, false); return true;
    case 43905: *out = LabelButton(a, state, "10", 10, {}, false); return true;
    case 43906: *out = LabelButton(a, state, "15", 10, {}, false); return true;
    default: return false;
  }
}

}  // namespace zorgen
