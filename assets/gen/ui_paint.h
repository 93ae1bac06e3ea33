#pragma once
// The drawing primitives every interface picture shares. One colour scheme
// throughout: slate-blue panels, light bevels, a warm yellow for what the
// pointer is over, and light sheets under the texts the game writes.
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "gen/canvas.h"
#include "manifest.h"
#include "gen/words.h"

namespace zorgen {

// A colour of 0-255 a channel (the map art's `Rgb` counts 0-1).
struct Rgb8 {
  int r, g, b;
};

constexpr Rgb8 kPanelTop{70, 84, 120};
constexpr Rgb8 kPanelBottom{38, 46, 70};
constexpr Rgb8 kEdgeLight{150, 162, 196};
constexpr Rgb8 kEdgeDark{14, 18, 30};
constexpr Rgb8 kWell{20, 25, 38};
constexpr Rgb8 kAccent{250, 210, 40};
constexpr Rgb8 kTextLight{232, 236, 246};
constexpr Rgb8 kTextDark{39, 48, 70};
constexpr Rgb8 kWhite{255, 255, 255};
constexpr Rgb8 kRed{214, 48, 40};
constexpr Rgb8 kRoad{88, 92, 100};
constexpr Rgb8 kGrass{0, 159, 98};
constexpr Rgb8 kCaptionTop{96, 112, 156};
constexpr Rgb8 kCaptionBottom{52, 62, 92};
constexpr const char* kSans = "DejaVuSans.ttf";
constexpr const char* kBold = "DejaVuSans-Bold.ttf";
constexpr const char* kCondensed = "DejaVuSansCondensed.ttf";
constexpr const char* kCondensedBold = "DejaVuSansCondensed-Bold.ttf";

enum class Align { Left, Centre, Right };


void Set(cairo_t* cr, Rgb8 c, double a = 1.0);
void Gradient(cairo_t* cr, double x, double y, double w, double h, Rgb8 top, Rgb8 bottom);
void FillRect(cairo_t* cr, double x, double y, double w, double h, Rgb8 c);
// A one-pixel frame, light on the top and left when raised.
void Bevel(cairo_t* cr, double x, double y, double w, double h, bool raised);
// A sunken field where the game writes a value or draws a display.
void Well(cairo_t* cr, double x, double y, double w, double h);
void Panel(cairo_t* cr, double x, double y, double w, double h);
// A light sheet for a message: the game writes on it in the dark text colour.
void Sheet(cairo_t* cr, double x, double y, double w, double h);
void Text(cairo_t* cr, const char* font, double size, const std::string& text, double x, double baseline, Rgb8 c,
          Align align = Align::Left);
// The words Text drew since the last call that the picture cuts: their ink
// runs more than half a pixel past the picture's edge, comes within two
// pixels of the left or right side of a picture 150 pixels wide or more (a
// window's or a page's background, whose sides the window's frame
// covers), or lies under, or within a pixel of, a well or a sheet drawn
// after them. The list starts empty again, and so does the picture.
std::vector<std::string> TakeCutWords();
void Line(cairo_t* cr, double x1, double y1, double x2, double y2, double w, Rgb8 c);
void Disc(cairo_t* cr, double x, double y, double r, Rgb8 c);
void Poly(cairo_t* cr, std::initializer_list<std::pair<double, double>> pts, Rgb8 c);

// ---- the furniture of a window page: a yellow heading, light labels,
// thin rules and light fields where the game writes its figures.
constexpr Rgb8 kHeading{250, 210, 40};
constexpr Rgb8 kLabel{220, 226, 240};
constexpr Rgb8 kRule{96, 110, 150};
void Heading(cairo_t* cr, const Words& w, bool english, double x, double baseline);
void PageLabel(cairo_t* cr, const Words& w, bool english, double x, double baseline, bool bold = false);
// A column title centred over a field.
void ColumnTitle(cairo_t* cr, const Words& w, bool english, double x, double width, double baseline);
void Rule(cairo_t* cr, double x1, double x2, double y);
// A light field for one figure the game writes.
void Field(cairo_t* cr, double x, double y, double w, double h);
// The page's panel with its title; the canvas back for drawing on.
Canvas* PageFrame(Canvas& c, const Words& title, bool english);
// A group window's column of page tabs: a well behind each tab, 43 pixels
// apart from y 45 on.
Image16 TabColumn(const UiArt& a, int tabs);

// Icons are drawn into a 36 x 36 design square; smaller buttons scale it.
using Icon = std::function<void(cairo_t*)>;
// A raised button face; state 1 is lit with the accent, state 2 pressed in.
void ButtonFace(cairo_t* cr, int w, int h, int state, double radius);
Image16 IconButton(const UiArt& a, int state, const Icon& icon, bool framed = true);
// A button carrying a word: a label button of the bar, or a layer button.
Image16 LabelButton(const UiArt& a, int state, const std::string& label, double size, Rgb8 swatch, bool withSwatch);
Image16 CloseBox(const UiArt& a, int state);
// The small close box's red face with its cross, at (x, y); drawn into a
// picture that lies over the box.
void CloseBoxFace(cairo_t* cr, double x, double y, double w, double h, int state);
// A red close mark drawn into a window's background.
void CloseMark(cairo_t* cr, double x, double y, double w, double h);
// A window's caption strip with its title; the close mark at closeX, none
// when closeX is negative.
void CaptionStrip(cairo_t* cr, double w, const std::string& title, double closeX, double closeW = 14);

// The pictures of the event windows, the message list and the adviser;
// false when the id is none of theirs.
bool DrawAdviserArt(const UiArt& a, int state, Image16* out);
// The pictures of the public-transport windows; false when the id is none of
// theirs.
bool DrawOpnvArt(const UiArt& a, int state, Image16* out);
// The start-up windows and the game menu with its pages.
bool DrawGameMenuArt(const UiArt& a, int state, Image16* out);
// The crossing and street windows.
bool DrawCrossingArt(const UiArt& a, int state, Image16* out);
// The administration with its pages, the help, park-and-ride, building
// information, line-editing and building-turning windows.
bool DrawVerwaltungArt(const UiArt& a, int state, Image16* out);
// The indicator group with its indicator, statistics and master-mode pages.
bool DrawIndicatorArt(const UiArt& a, int state, Image16* out);
// The parking management group and the car-park window.
bool DrawParkenArt(const UiArt& a, int state, Image16* out);
// The measures group with its six pages and the companion pages.
bool DrawMassnahmenArt(const UiArt& a, int state, Image16* out);
// The exhibition's pages, buttons, menus, line and street windows and arrow.
bool DrawExpoArt(const UiArt& a, int state, Image16* out);

}  // namespace zorgen
