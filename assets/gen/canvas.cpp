#include "canvas.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <map>

namespace zorgen {

Canvas::Canvas(int width, int height)
    : m_width(width),
      m_height(height),
      m_surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      m_cr(cairo_create(m_surface)) {}

Canvas::~Canvas() {
  cairo_destroy(m_cr);
  cairo_surface_destroy(m_surface);
}

Image16 Canvas::ToImage() const {
  cairo_surface_flush(m_surface);
  const unsigned char* data = cairo_image_surface_get_data(m_surface);
  const int stride = cairo_image_surface_get_stride(m_surface);
  Image16 out(m_width, m_height, 0, 0);
  for (int y = 0; y < m_height; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + y * stride);
    for (int x = 0; x < m_width; ++x) {
      const uint32_t p = row[x];
      const int a = p >> 24;
      if (a < 128) continue;
      auto un = [&](int c) { return std::min(255, c * 255 / a); };
      uint16_t v = Rgb565(un((p >> 16) & 0xFF), un((p >> 8) & 0xFF), un(p & 0xFF));
      if (v == KEY_565) v = Rgb565(0xF0, 0, 0xF0);  // never the key colour
      out.At(x, y) = v;
      out.Visible(x, y) = 1;
    }
  }
  return out;
}

namespace {

struct Faces {
  FT_Library library = nullptr;
  std::map<std::string, std::pair<FT_Face, cairo_font_face_t*>> byPath;
};
Faces& faces() {
  static Faces f;
  return f;
}

}  // namespace

cairo_font_face_t* LoadFontFace(const std::string& path) {
  Faces& f = faces();
  auto it = f.byPath.find(path);
  if (it != f.byPath.end()) return it->second.second;
  if (!f.library && FT_Init_FreeType(&f.library) != 0) return nullptr;
  FT_Face face;
  if (FT_New_Face(f.library, path.c_str(), 0, &face) != 0) return nullptr;
  cairo_font_face_t* cf = cairo_ft_font_face_create_for_ft_face(face, 0);
  f.byPath[path] = {face, cf};
  return cf;
}

void ReleaseFontFaces() {
  Faces& f = faces();
  for (auto& [path, p] : f.byPath) cairo_font_face_destroy(p.second);
  // Cairo's caches hold the faces until reset; only then may FreeType go.
  cairo_debug_reset_static_data();
  for (auto& [path, p] : f.byPath) FT_Done_Face(p.first);
  f.byPath.clear();
  if (f.library) FT_Done_FreeType(f.library);
  f.library = nullptr;
}

void SetRgb(cairo_t* cr, int r, int g, int b, double alpha) {
  cairo_set_source_rgba(cr, r / 255.0, g / 255.0, b / 255.0, alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

}  // namespace zorgen
