// The game's bitmap fonts, rasterised from DejaVu with full hinting and no
// antialiasing: glyph pixels are ink or background, so crisp outlines read
// best at these sizes.
#include <cairo-ft.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gen/generator.h"

namespace zorgen {

namespace {

std::string Utf8Of(uint32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | cp >> 6);
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | cp >> 12);
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return s;
}

// Rounds a glyph's full-width bars: each row of ink that runs from the
// leftmost inked column to the rightmost loses its two end pixels, so a
// box-drawn "8" gets the pinched shape that tells it from a "B".
void RoundFullBars(Glyph& g, int height) {
  int left = g.width, right = -1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < g.width; ++x)
      if (g.ink[static_cast<size_t>(y) * g.width + x]) left = std::min(left, x), right = std::max(right, x);
  if (right - left < 2) return;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = g.ink.data() + static_cast<size_t>(y) * g.width;
    if (std::all_of(row + left, row + right + 1, [](uint8_t v) { return v != 0; })) row[left] = row[right] = 0;
  }
}

}  // namespace

bool RenderFont(const FontSpec& font, Bytes* out) {
  cairo_font_face_t* face = LoadFontFace(font.path);
  if (!face) return false;
  constexpr unsigned first = 32, last = 255;
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);

  // Metrics first, on a scratch surface.
  cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_A8, 8, 8);
  cairo_t* m = cairo_create(scratch);
  cairo_set_font_face(m, face);
  cairo_set_font_size(m, font.pixelSize);
  cairo_set_font_options(m, options);
  cairo_font_extents_t fe;
  cairo_font_extents(m, &fe);
  const int ascent = static_cast<int>(std::ceil(fe.ascent));
  const int height = ascent + static_cast<int>(std::ceil(fe.descent));

  std::vector<Glyph> glyphs;
  for (unsigned c = first; c <= last; ++c) {
    Glyph g;
    const uint32_t cp = Cp1252ToUnicode(static_cast<uint8_t>(c));
    if (cp == 0 || cp == 0xAD) {  // unused codes and the soft hyphen take no room
      glyphs.push_back(g);
      continue;
    }
    const std::string text = Utf8Of(cp);
    cairo_text_extents_t te;
    cairo_text_extents(m, text.c_str(), &te);
    // Ink left of the pen (j, y) widens the glyph instead of being cut.
    const int shift = te.width > 0 && te.x_bearing < 0 ? static_cast<int>(std::ceil(-te.x_bearing)) : 0;
    int advance = static_cast<int>(std::lround(te.x_advance)) + font.extraSpacing;
    g.width = std::max(1, advance + shift);
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, g.width, height);
    cairo_t* cr = cairo_create(s);
    cairo_set_font_face(cr, face);
    cairo_set_font_size(cr, font.pixelSize);
    cairo_set_font_options(cr, options);
    cairo_move_to(cr, shift, ascent);
    cairo_show_text(cr, text.c_str());
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    g.ink.assign(static_cast<size_t>(g.width) * height, 0);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < g.width; ++x) g.ink[static_cast<size_t>(y) * g.width + x] = data[y * stride + x] >= 128;
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    glyphs.push_back(std::move(g));
  }
  // At the smallest sizes the hinting may draw "8" exactly as "B".
  Glyph& eight = glyphs['8' - first];
  if (eight.width == glyphs['B' - first].width && eight.ink == glyphs['B' - first].ink) RoundFullBars(eight, height);
  cairo_destroy(m);
  cairo_surface_destroy(scratch);
  cairo_font_options_destroy(options);
  *out = WriteFont(first, last, height, glyphs);
  return true;
}

}  // namespace zorgen
