#pragma once
// Cairo helpers of the generator: drawing surfaces turned into 565 pictures,
// and DejaVu faces loaded through FreeType.
#include <cairo.h>

#include <string>

#include "writers/blob_writers.h"

namespace zorgen {

// An ARGB32 surface and its context; both released on destruction.
class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  cairo_t* cr() const { return m_cr; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // Pixels with at least half coverage become visible, in their own colour
  // (un-premultiplied); the rest transparent.
  Image16 ToImage() const;

 private:
  int m_width, m_height;
  cairo_surface_t* m_surface;
  cairo_t* m_cr;
};

// A font face from a TrueType file; null when it cannot be loaded.
cairo_font_face_t* LoadFontFace(const std::string& path);
void ReleaseFontFaces();

void SetRgb(cairo_t* cr, int r, int g, int b, double alpha = 1.0);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);

}  // namespace zorgen
