// The loading pictures: a panel with the game's name, a line of text in the
// player's language and the trough the game fills with its progress bar
// (columns 16 to 271, rows 55 to 71).
#include <cmath>

#include "gen/generator.h"

namespace zorgen {

namespace {

constexpr int W = 287, H = 80;

void Text(cairo_t* cr, const char* font, double size, const char* text, double cx, double baseline) {
  cairo_font_face_t* face = LoadFontFace(FontPath(font));
  if (face) cairo_set_font_face(cr, face);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t te;
  cairo_text_extents(cr, text, &te);
  cairo_move_to(cr, cx - te.x_advance / 2, baseline);
  cairo_show_text(cr, text);
}

Image16 DrawLoading(const char* line) {
  Canvas c(W, H);
  cairo_t* cr = c.cr();
  // panel
  cairo_pattern_t* bg = cairo_pattern_create_linear(0, 0, 0, H);
  cairo_pattern_add_color_stop_rgb(bg, 0, 58 / 255.0, 70 / 255.0, 100 / 255.0);
  cairo_pattern_add_color_stop_rgb(bg, 1, 30 / 255.0, 36 / 255.0, 54 / 255.0);
  cairo_rectangle(cr, 0, 0, W, H);
  cairo_set_source(cr, bg);
  cairo_fill(cr);
  cairo_pattern_destroy(bg);
  cairo_rectangle(cr, 0.5, 0.5, W - 1, H - 1);
  SetRgb(cr, 173, 179, 195);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_rectangle(cr, 2.5, 2.5, W - 5, H - 5);
  SetRgb(cr, 20, 24, 36);
  cairo_stroke(cr);
  // a small road motif left of the title
  for (int i = 0; i < 2; ++i) {
    const double x = i == 0 ? 38 : W - 38;
    cairo_arc(cr, x, 20, 7, 0, 2 * M_PI);
    SetRgb(cr, 250, 210, 40);
    cairo_fill(cr);
    cairo_arc(cr, x, 20, 3, 0, 2 * M_PI);
    SetRgb(cr, 30, 36, 54);
    cairo_fill(cr);
  }
  SetRgb(cr, 240, 242, 248);
  Text(cr, "DejaVuSans-Bold.ttf", 19, "ZORVANTA", W / 2.0, 27);
  SetRgb(cr, 173, 179, 195);
  Text(cr, "DejaVuSans.ttf", 11, line, W / 2.0, 46);
  // the trough of the progress bar
  cairo_rectangle(cr, 15, 54, 258, 18);
  SetRgb(cr, 12, 14, 22);
  cairo_fill(cr);
  cairo_rectangle(cr, 15.5, 54.5, 257, 17);
  SetRgb(cr, 110, 118, 140);
  cairo_stroke(cr);
  cairo_rectangle(cr, 16, 55, 256, 16);
  SetRgb(cr, 22, 26, 38);
  cairo_fill(cr);
  return c.ToImage();
}

}  // namespace

bool ProduceLoadingPictures(GameDataBuilder& out) {
  bool ok = out.Put(PIC_LOADING_DE, WriteQbmp16(DrawLoading("Die Stadt wird geladen \xe2\x80\xa6"), KEY_565, true));
  ok &= out.Put(PIC_LOADING_EN, WriteQbmp16(DrawLoading("Loading the city \xe2\x80\xa6"), KEY_565, true));
  return ok;
}

}  // namespace zorgen
