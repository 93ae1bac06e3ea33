#pragma once
// Drawing the map's isometric art with cairo. Objects are modelled in cell
// units (p along the map's x, q along y, h upwards) and projected for one of
// the four view rotations; light always falls from the upper left of the
// screen, so the left-hand walls are lit and the right-hand walls lie in
// shade whichever way the object is turned.
#include <cairo.h>

#include <functional>
#include <vector>

#include "gen/canvas.h"
#include "writers/blob_writers.h"

namespace zorgen {

// Tile geometry of one zoom index: half a tile's height YD; the diamond is
// 2 YD high and 4 YD - 2 wide, and neighbouring tiles stand 2 YD apart.
struct IsoZoomGeometry {
  int yd;
  int XD() const { return 2 * yd; }
  int TileWidth() const { return 4 * yd - 2; }
  int TileHeight() const { return 2 * yd; }
  // Screen pixels per unit of height.
  double Vertical() const { return 2.4 * yd; }
};
IsoZoomGeometry ZoomGeometry(int zoom);

struct Rgb {
  double r, g, b;
  Rgb Scaled(double k) const;
  Rgb Mixed(Rgb other, double t) const;
};
Rgb Hex(unsigned rgb);
void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0);

// The pixel spans of the tile diamond: row y covers [first, end).
struct Span {
  int first, end;
};
std::vector<Span> DiamondSpans(int zoom);
// Keeps only the pixels of an image inside the diamond whose box starts at
// (x0, y0) in the image.
void MaskToDiamond(Image16& image, int zoom, int x0, int y0);

// Small deterministic random numbers for varying the art.
class ArtRandom {
 public:
  explicit ArtRandom(uint32_t seed) : m_state(seed * 2654435761u + 12345u) {}
  uint32_t Next();
  double Unit() { return (Next() & 0xFFFFFF) / double(0x1000000); }
  double Range(double a, double b) { return a + (b - a) * Unit(); }
  int Pick(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

 private:
  uint32_t m_state;
};

// Projection of a footprint of width x depth cells, turned by `rotation`,
// into a canvas: cell (a', b') of the turned footprint has the top corner of
// its diamond at (ox + (a' - b') XD, oy + (a' + b') YD).
class IsoProjection {
 public:
  IsoProjection(int zoom, int rotation, int width, int depth, double ox, double oy);
  // Model point to the turned frame.
  void Turn(double p, double q, double* tp, double* tq) const;
  void Point(double p, double q, double h, double* x, double* y) const;
  int Zoom() const { return m_zoom; }
  const IsoZoomGeometry& Geometry() const { return m_geo; }
  double Unit() const { return m_geo.yd; }  // pixels of one YD, for line widths
  int TurnedWidth() const { return m_rotation % 2 ? m_depth : m_width; }
  int TurnedDepth() const { return m_rotation % 2 ? m_width : m_depth; }
  int Rotation() const { return m_rotation; }
  double OriginX() const { return m_ox; }
  double OriginY() const { return m_oy; }

 private:
  int m_zoom, m_rotation, m_width, m_depth;
  double m_ox, m_oy;
  IsoZoomGeometry m_geo;
};

// Windows on the walls of a box.
struct IsoWindows {
  int rows = 0;        // one band per storey
  double columns = 0;  // per cell of wall length
  Rgb colour{0.3, 0.4, 0.5};
  bool bands = false;  // continuous glass bands instead of single windows
};

// A model built of boxes, roofs and decals, drawn back to front.
class IsoScene {
 public:
  explicit IsoScene(const IsoProjection& proj) : m_proj(proj) {}

  using Windows = IsoWindows;
  // A flat polygon lying at height h (paths, markings, water).
  void Decal(std::vector<std::pair<double, double>> pts, double h, Rgb colour);
  void Box(double p0, double q0, double p1, double q1, double h0, double h1, Rgb wall, Rgb roof,
           Windows windows = {});
  // A gable roof over the rectangle with its ridge along p (alongP) or q.
  void Gable(double p0, double q0, double p1, double q1, double h, double rise, bool alongP, Rgb roof, Rgb wall);
  void Pyramid(double p0, double q0, double p1, double q1, double h, double rise, Rgb roof);
  void Tree(double p, double q, double size, Rgb leaves);
  void Conifer(double p, double q, double size, Rgb leaves);
  void Cylinder(double p, double q, double radius, double h0, double h1, Rgb colour);
  // A thin pole with an optional board on top, facing the viewer.
  void Pole(double p, double q, double h, Rgb colour);
  void Board(double p, double q, double h, double w, double bh, Rgb colour, Rgb ink, const char* text);
  void Car(double p, double q, bool alongP, Rgb colour);

  void Draw(cairo_t* cr) const;

 private:
  struct Item {
    double p0, q0, p1, q1;  // turned footprint, for ordering
    int level;              // decals first
    std::function<void(cairo_t*)> draw;
  };
  void Add(double p0, double q0, double p1, double q1, int level, std::function<void(cairo_t*)> draw);
  void Face(cairo_t* cr, const double (*pts)[3], int n, Rgb colour) const;

  IsoProjection m_proj;
  std::vector<Item> m_items;
};

// Crops the visible pixels of the columns [x0, x1) and rows above yEnd;
// the sprite's left edge and bottom row come back through the pointers.
// An image without visible pixels gives a 1 x 1 transparent one.
Image16 CropVisible(const Image16& image, int x0, int x1, int yEnd, int* left, int* bottom);

}  // namespace zorgen
