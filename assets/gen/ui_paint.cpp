// The drawing primitives every interface picture shares: the colour scheme,
// panels, bevels, sheets for texts, button faces and words in DejaVu faces.
#include "gen/ui_paint.h"

#include <algorithm>
#include <cmath>

#include "gen/generator.h"

namespace zorgen {

void Set(cairo_t* cr, Rgb8 c, double a) { SetRgb(cr, c.r, c.g, c.b, a); }

namespace {

// The words drawn into the picture being drawn, where their ink lies in
// its surface's pixels, and the words its drawing cut so far.
struct Lettering {
  cairo_surface_t* surface;
  double x0, y0, x1, y1;
  std::string text;
};
std::vector<Lettering> g_lettering;
std::vector<std::string> g_cutWords;

// The rectangle (x, y, w, h) of the context's space in its surface's pixels.
void ToDevice(cairo_t* cr, double& x0, double& y0, double& x1, double& y1) {
  cairo_user_to_device(cr, &x0, &y0);
  cairo_user_to_device(cr, &x1, &y1);
  if (x1 < x0) std::swap(x0, x1);
  if (y1 < y0) std::swap(y0, y1);
}

// Notes the words and whether their ink, at (left, baseline) in the
// context's space, leaves the picture being drawn.
void NoteLettering(cairo_t* cr, const std::string& text, const cairo_text_extents_t& te, double left, double baseline) {
  cairo_surface_t* target = cairo_get_target(cr);
  if (te.width <= 0 || te.height <= 0 || cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) return;
  double x0 = left + te.x_bearing, y0 = baseline + te.y_bearing;
  double x1 = x0 + te.width, y1 = y0 + te.height;
  ToDevice(cr, x0, y0, x1, y1);
  g_lettering.push_back({target, x0, y0, x1, y1, text});
  const double w = cairo_image_surface_get_width(target), h = cairo_image_surface_get_height(target);
  // Less than half a pixel past the edge shows nothing; a wide picture is a
  // window's or a page's background, whose sides the window's frame
  // covers, so its words keep two pixels from them.
  constexpr double kHalf = 0.5;
  const double sideMargin = w >= 150 ? 2 : -kHalf;
  if (x0 < sideMargin || y0 < -kHalf || x1 > w - sideMargin || y1 > h + kHalf) g_cutWords.push_back(text);
}

// A field drawn at (x, y, w, h) covers the words drawn before it where it
// overlaps their ink or comes closer than a pixel to it: a word must not
// run into the field beside it.
void NoteCoveredLettering(cairo_t* cr, double x, double y, double w, double h) {
  double x0 = x, y0 = y, x1 = x + w, y1 = y + h;
  ToDevice(cr, x0, y0, x1, y1);
  constexpr double kGap = 1, kHalf = 0.5;
  for (const Lettering& l : g_lettering)
    if (l.surface == cairo_get_target(cr) && std::min(x1, l.x1) - std::max(x0, l.x0) > -kGap &&
        std::min(y1, l.y1) - std::max(y0, l.y0) > kHalf)
      g_cutWords.push_back(l.text);
}

}  // namespace

std::vector<std::string> TakeCutWords() {
  std::vector<std::string> out;
  out.swap(g_cutWords);
  g_lettering.clear();
  return out;
}

void Gradient(cairo_t* cr, double /*x*/, double y, double /*w*/, double h, Rgb8 top, Rgb8 bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r / 255.0, top.g / 255.0, top.b / 255.0);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r / 255.0, bottom.g / 255.0, bottom.b / 255.0);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void FillRect(cairo_t* cr, double x, double y, double w, double h, Rgb8 c) {
  cairo_rectangle(cr, x, y, w, h);
  Set(cr, c);
  cairo_fill(cr);
}

void Bevel(cairo_t* cr, double x, double y, double w, double h, bool raised) {
  cairo_set_line_width(cr, 1);
  Set(cr, raised ? kEdgeLight : kEdgeDark);
  cairo_move_to(cr, x + 0.5, y + h - 0.5);
  cairo_line_to(cr, x + 0.5, y + 0.5);
  cairo_line_to(cr, x + w - 0.5, y + 0.5);
  cairo_stroke(cr);
  Set(cr, raised ? kEdgeDark : kEdgeLight);
  cairo_move_to(cr, x + w - 0.5, y + 0.5);
  cairo_line_to(cr, x + w - 0.5, y + h - 0.5);
  cairo_line_to(cr, x + 0.5, y + h - 0.5);
  cairo_stroke(cr);
}

void Well(cairo_t* cr, double x, double y, double w, double h) {
  NoteCoveredLettering(cr, x, y, w, h);
  FillRect(cr, x, y, w, h, kWell);
  Bevel(cr, x, y, w, h, false);
}

void Panel(cairo_t* cr, double x, double y, double w, double h) {
  cairo_rectangle(cr, x, y, w, h);
  Gradient(cr, x, y, w, h, kPanelTop, kPanelBottom);
  Bevel(cr, x, y, w, h, true);
}

void Text(cairo_t* cr, const char* font, double size, const std::string& text, double x, double baseline, Rgb8 c,
          Align align) {
  cairo_font_face_t* face = LoadFontFace(FontPath(font));
  if (face) cairo_set_font_face(cr, face);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t te;
  cairo_text_extents(cr, text.c_str(), &te);
  double left = x;
  if (align == Align::Centre) left = x - te.x_advance / 2;
  if (align == Align::Right) left = x - te.x_advance;
  cairo_move_to(cr, std::round(left), baseline);
  Set(cr, c);
  cairo_show_text(cr, text.c_str());
  NoteLettering(cr, text, te, std::round(left), baseline);
}

void Line(cairo_t* cr, double x1, double y1, double x2, double y2, double w, Rgb8 c) {
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  cairo_set_line_width(cr, w);
  Set(cr, c);
  cairo_stroke(cr);
}

void Disc(cairo_t* cr, double x, double y, double r, Rgb8 c) {
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  Set(cr, c);
  cairo_fill(cr);
}

void Poly(cairo_t* cr, std::initializer_list<std::pair<double, double>> pts, Rgb8 c) {
  bool first = true;
  for (const auto& [x, y] : pts) {
    if (first)
      cairo_move_to(cr, x, y);
    else
      cairo_line_to(cr, x, y);
    first = false;
  }
  cairo_close_path(cr);
  Set(cr, c);
  cairo_fill(cr);
}

void Sheet(cairo_t* cr, double x, double y, double w, double h) {
  NoteCoveredLettering(cr, x, y, w, h);
  cairo_rectangle(cr, x, y, w, h);
  Gradient(cr, x, y, w, h, {248, 245, 234}, {230, 225, 208});
  Bevel(cr, x, y, w, h, false);
}

void ButtonFace(cairo_t* cr, int w, int h, int state, double radius) {
  RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, radius);
  const Rgb8 top = state == 1 ? Rgb8{104, 120, 166} : state == 2 ? Rgb8{32, 38, 58} : Rgb8{86, 100, 140};
  const Rgb8 bottom = state == 1 ? Rgb8{60, 72, 106} : state == 2 ? Rgb8{52, 62, 92} : Rgb8{44, 52, 78};
  cairo_save(cr);
  Gradient(cr, 0, 0, w, h, top, bottom);
  cairo_restore(cr);
  RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, radius);
  cairo_set_line_width(cr, 1);
  Set(cr, state == 1 ? kAccent : state == 2 ? kEdgeDark : Rgb8{22, 28, 44});
  cairo_stroke(cr);
  if (state != 2 && w > 10 && h > 10) {
    cairo_move_to(cr, 2, h - 3);
    cairo_line_to(cr, 2, 2);
    cairo_line_to(cr, w - 3, 2);
    cairo_set_line_width(cr, 1);
    Set(cr, kEdgeLight, 0.8);
    cairo_stroke(cr);
  }
}

Image16 IconButton(const UiArt& a, int state, const Icon& icon, bool framed) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  const double side = std::min(a.width, a.height);
  if (framed) ButtonFace(cr, a.width, a.height, state, side > 20 ? 4 : 2);
  const double inset = framed ? (side > 20 ? 4 : 1.5) : 0;
  const double s = (side - 2 * inset) / 36.0;
  cairo_save(cr);
  cairo_translate(cr, (a.width - side) / 2 + inset + (state == 2 ? 1 : 0), (a.height - side) / 2 + inset + (state == 2 ? 1 : 0));
  cairo_scale(cr, s, s);
  icon(cr);
  cairo_restore(cr);
  if (!framed && state == 1) {
    RoundedRect(cr, 0.5, 0.5, a.width - 1, a.height - 1, 2);
    Set(cr, kAccent);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  return c.ToImage();
}

Image16 LabelButton(const UiArt& a, int state, const std::string& label, double size, Rgb8 swatch, bool withSwatch) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  ButtonFace(cr, a.width, a.height, state, 2);
  double x = 5;
  if (withSwatch) {
    FillRect(cr, 4, 3, 10, a.height - 6, swatch);
    cairo_rectangle(cr, 4.5, 3.5, 9, a.height - 7);
    cairo_set_line_width(cr, 1);
    Set(cr, kEdgeDark);
    cairo_stroke(cr);
    x = 19;
  }
  const double base = a.height / 2.0 + size * 0.36 + (state == 2 ? 1 : 0);
  const Rgb8 ink = state == 1 ? kAccent : kTextLight;
  if (withSwatch)
    Text(cr, kCondensed, size, label, x, base, ink);
  else
    Text(cr, kCondensedBold, size, label, a.width / 2.0 + (state == 2 ? 1 : 0), base, ink, Align::Centre);
  return c.ToImage();
}

void CloseMark(cairo_t* cr, double x, double y, double w, double h) {
  cairo_rectangle(cr, x, y, w, h);
  Set(cr, kRed);
  cairo_fill(cr);
  Bevel(cr, x, y, w, h, true);
  Line(cr, x + 3, y + 3, x + w - 3, y + h - 3, 1.4, kWhite);
  Line(cr, x + w - 3, y + 3, x + 3, y + h - 3, 1.4, kWhite);
}

// The caption strip across the top with its title; the close mark where the
// window has its close area.
void CaptionStrip(cairo_t* cr, double w, const std::string& title, double closeX, double closeW) {
  cairo_rectangle(cr, 0, 0, w, 21);
  Gradient(cr, 0, 0, w, 21, kCaptionTop, kCaptionBottom);
  Bevel(cr, 0, 0, w, 21, true);
  for (int i = 0; i < 3; ++i) Line(cr, 8, 6.5 + i * 3.5, 18, 6.5 + i * 3.5, 1, kEdgeLight);
  Text(cr, kCondensedBold, 12, title, 26, 15, kTextLight);
  if (closeX >= 0) CloseMark(cr, closeX, 3, closeW, 13);
}

void CloseBoxFace(cairo_t* cr, double x, double y, double w, double h, int state) {
  cairo_rectangle(cr, x, y, w, h);
  Set(cr, state == 1 ? Rgb8{240, 80, 70} : state == 2 ? Rgb8{150, 30, 24} : kRed);
  cairo_fill(cr);
  Line(cr, x + 2, y + 2, x + w - 2, y + h - 2, 1.4, kWhite);
  Line(cr, x + w - 2, y + 2, x + 2, y + h - 2, 1.4, kWhite);
}

Image16 CloseBox(const UiArt& a, int state) {
  Canvas c(a.width, a.height);
  CloseBoxFace(c.cr(), 0, 0, a.width, a.height, state);
  return c.ToImage();
}

// ---- page furniture

void Heading(cairo_t* cr, const Words& w, bool english, double x, double baseline) {
  Text(cr, kCondensedBold, 12, w.In(english), x, baseline, kHeading);
}

void PageLabel(cairo_t* cr, const Words& w, bool english, double x, double baseline, bool bold) {
  Text(cr, bold ? kCondensedBold : kCondensed, 10.5, w.In(english), x, baseline, kLabel);
}

void ColumnTitle(cairo_t* cr, const Words& w, bool english, double x, double width, double baseline) {
  Text(cr, kCondensed, 9.5, w.In(english), x + width / 2, baseline, {190, 200, 225}, Align::Centre);
}

void Rule(cairo_t* cr, double x1, double x2, double y) { Line(cr, x1, y + 0.5, x2, y + 0.5, 1, kRule); }

void Field(cairo_t* cr, double x, double y, double w, double h) { Sheet(cr, x, y, w, h); }

Canvas* PageFrame(Canvas& c, const Words& title, bool english) {
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, c.Width(), c.Height());
  Heading(cr, title, english, 14, 22);
  Rule(cr, 10, c.Width() - 10, 28);
  return &c;
}

Image16 TabColumn(const UiArt& a, int tabs) {
  Canvas c(a.width, a.height);
  cairo_t* cr = c.cr();
  Panel(cr, 0, 0, a.width, a.height);
  for (int i = 0; i < tabs; ++i) Well(cr, 8, 45 + i * 43 - 21 - 2, 40, 40);
  return c.ToImage();
}

}  // namespace zorgen
