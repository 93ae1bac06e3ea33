// Single-cell tiles: the ground variants, the ground outside the map, the
// grounds under buildings, rivers and lakes, zoned areas, the overlay icons
// and the street tool's marks.
#include <cmath>
#include <functional>

#include "gen/iso_art.h"
#include "writers/iso_writers.h"

namespace zorgen {

namespace {

const Rgb GRASS = Hex(0x6f9d48);
const Rgb WATER = Hex(0x3f7fb8);
const Rgb BANK = Hex(0xb9a874);

// A canvas for one cell: the diamond's box has its top-left corner at
// (margin, top) and the cell's anchor at its bottom-left.
struct CellCanvas {
  IsoZoomGeometry geo;
  int margin, top;
  Canvas canvas;
  CellCanvas(int zoom, double headroom)
      : geo(ZoomGeometry(zoom)),
        margin(geo.XD()),
        top(static_cast<int>(std::ceil(headroom * geo.Vertical())) + 2),
        canvas(geo.TileWidth() + 2 * margin, top + geo.TileHeight() + 2) {}
  // The continuous top corner of the diamond.
  double TopX() const { return margin + geo.TileWidth() / 2.0; }
  double TopY() const { return top; }
  int AnchorX() const { return margin; }
  int AnchorY() const { return top + geo.TileHeight(); }
  IsoProjection Projection(int zoom, int rotation) const { return IsoProjection(zoom, rotation, 1, 1, TopX(), TopY()); }
};

// Puts one sprite and fills the tile entry that shows it.
bool PutCell(GameDataBuilder& out, uint32_t spriteId, const Image16& image, int anchorX, int anchorY, uint8_t z,
             IsoTileLayer* entry, bool cropBelowAnchor) {
  int left, bottom;
  const Image16 piece = CropVisible(image, 0, image.width, cropBelowAnchor ? anchorY : image.height, &left, &bottom);
  *entry = {spriteId, z, static_cast<int16_t>(left - anchorX), static_cast<int16_t>(anchorY - bottom), 0};
  return out.Put(spriteId, WriteSprite(piece));
}

void DiamondPath(cairo_t* cr, const CellCanvas& c, double inset) {
  const double cx = c.TopX(), cy = c.TopY() + c.geo.yd, hx = c.geo.XD() - inset * 2, hy = c.geo.yd - inset;
  cairo_new_path(cr);
  cairo_move_to(cr, cx, cy - hy);
  cairo_line_to(cr, cx + hx, cy);
  cairo_line_to(cr, cx, cy + hy);
  cairo_line_to(cr, cx - hx, cy);
  cairo_close_path(cr);
}

void Speckle(cairo_t* cr, const CellCanvas& c, ArtRandom& rnd, int count, Rgb colour, double size, double alpha) {
  const double w = c.geo.TileWidth(), h = c.geo.TileHeight();
  for (int i = 0; i < count; ++i) {
    const double x = c.margin + rnd.Range(0, w), y = c.top + rnd.Range(0, h);
    cairo_rectangle(cr, x, y, size, size * 0.7);
    SetColour(cr, colour, alpha);
    cairo_fill(cr);
  }
}

void Grass(cairo_t* cr, const CellCanvas& c, Rgb base, uint32_t seed, int variant) {
  cairo_rectangle(cr, 0, 0, c.canvas.Width(), c.canvas.Height());
  SetColour(cr, base);
  cairo_fill(cr);
  ArtRandom rnd(seed);
  const double s = std::max(1.0, c.geo.yd / 11.0);
  const int n = c.geo.yd * 3;
  Speckle(cr, c, rnd, n, base.Scaled(1.18), s, 0.8);
  Speckle(cr, c, rnd, n, base.Scaled(0.82), s, 0.8);
  switch (variant) {
    case 2: Speckle(cr, c, rnd, n / 2, base.Scaled(0.72), s * 2.5, 0.5); break;
    case 3: Speckle(cr, c, rnd, n / 2, Hex(0x9cc65c), s * 1.5, 0.9); break;
    case 4:
      Speckle(cr, c, rnd, n / 4, Hex(0xf4f0e0), s, 1);
      Speckle(cr, c, rnd, n / 4, Hex(0xf2d43c), s, 1);
      Speckle(cr, c, rnd, n / 6, Hex(0xd8504a), s, 1);
      break;
    case 5: Speckle(cr, c, rnd, n, base.Scaled(0.9).Mixed(Hex(0xa8b050), 0.3), s * 0.8, 1); break;
    case 8: Speckle(cr, c, rnd, n / 5, Hex(0x9a968a), s * 1.4, 1); break;
    case 10: Speckle(cr, c, rnd, n, Hex(0xa8a25a), s, 0.6); break;
    default: break;
  }
}

Rgb GroundBase(int variant) {
  static const double shade[12] = {1.0, 1.01, 0.99, 1.0, 1.0, 0.99, 1.0, 1.0, 1.01, 0.99, 1.01, 1.0};
  Rgb base = GRASS.Scaled(shade[variant % 12]);
  if (variant == 10) base = base.Mixed(Hex(0x9a9a52), 0.1);
  return base;
}

// ------------------------------------------------------------- water

// The water of a river or lake tile in model units of the unit cell, as a
// list of polygons; sides 0 +p, 1 +q, 2 -p, 3 -q.
using Shape = std::vector<std::vector<std::pair<double, double>>>;

Shape Channel(std::initializer_list<int> sides, double width) {
  Shape s;
  const double a = 0.5 - width / 2, b = 0.5 + width / 2;
  s.push_back({{a, a}, {b, a}, {b, b}, {a, b}});
  for (int side : sides) {
    switch (side) {
      case 0: s.push_back({{a, a}, {1.001, a}, {1.001, b}, {a, b}}); break;
      case 1: s.push_back({{a, a}, {b, a}, {b, 1.001}, {a, 1.001}}); break;
      case 2: s.push_back({{-0.001, a}, {b, a}, {b, b}, {-0.001, b}}); break;
      default: s.push_back({{a, -0.001}, {b, -0.001}, {b, b}, {a, b}}); break;
    }
  }
  return s;
}

constexpr double SHORE = 0.35;

Shape RiverShape(int variant) {
  const double e = 0.001;
  switch (variant) {
    case 0: return Channel({0, 2}, 0.42);
    case 1: return Channel({0, 1}, 0.42);
    case 2: return Channel({0, 1, 2}, 0.42);
    case 3: return Channel({0, 1, 2, 3}, 0.42);
    case 4: {
      Shape s = Channel({0}, 0.42);
      s.push_back({{0.22, 0.22}, {0.78, 0.22}, {0.78, 0.78}, {0.22, 0.78}});
      return s;
    }
    case 5: {
      Shape s = Channel({3}, 0.42);
      s.push_back({{-e, SHORE}, {1 + e, SHORE}, {1 + e, 1 + e}, {-e, 1 + e}});
      return s;
    }
    case 6: return {{{-e, SHORE}, {1 + e, SHORE}, {1 + e, 1 + e}, {-e, 1 + e}}};
    case 7: return {{{SHORE, SHORE}, {1 + e, SHORE}, {1 + e, 1 + e}, {SHORE, 1 + e}}};
    case 8: return {{{SHORE, -e}, {1 + e, -e}, {1 + e, 1 + e}, {-e, 1 + e}, {-e, SHORE}, {SHORE, SHORE}}};
    case 9:
    case 12: return {{{-e, -e}, {1 + e, -e}, {1 + e, 1 + e}, {-e, 1 + e}}};
    case 10: return Channel({0, 2}, 0.42);
    default: return Channel({0, 2}, 0.7);
  }
}

void PaintWater(cairo_t* cr, const CellCanvas& c, const IsoProjection& proj, int variant, uint32_t seed) {
  Grass(cr, c, GRASS, seed, 0);
  const Shape shape = RiverShape(variant);
  auto path = [&](const std::vector<std::pair<double, double>>& poly) {
    cairo_new_sub_path(cr);
    for (size_t i = 0; i < poly.size(); ++i) {
      double x, y;
      proj.Point(poly[i].first, poly[i].second, 0, &x, &y);
      i ? cairo_line_to(cr, x, y) : cairo_move_to(cr, x, y);
    }
    cairo_close_path(cr);
  };
  const double u = c.geo.yd;
  // bank, then the water over it
  cairo_new_path(cr);
  for (const auto& poly : shape) path(poly);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, std::max(1.5, u * 0.22));
  SetColour(cr, BANK);
  cairo_stroke(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  for (const auto& poly : shape) path(poly);
  cairo_pattern_t* pat = cairo_pattern_create_linear(c.margin, c.top, c.margin + c.geo.TileWidth(), c.AnchorY());
  const Rgb hi = WATER.Scaled(1.12), lo = WATER.Scaled(0.88);
  cairo_pattern_add_color_stop_rgb(pat, 0, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(pat, 1, lo.r, lo.g, lo.b);
  cairo_set_source(cr, pat);
  cairo_fill(cr);
  cairo_pattern_destroy(pat);
  // ripples inside the water
  ArtRandom rnd(seed);
  for (const auto& poly : shape) path(poly);
  cairo_clip(cr);
  for (int i = 0; i < 3 + c.geo.yd / 4; ++i) {
    double x, y;
    proj.Point(rnd.Range(0.1, 0.9), rnd.Range(0.1, 0.9), 0, &x, &y);
    cairo_move_to(cr, x - u * 0.3, y);
    cairo_line_to(cr, x + u * 0.3, y);
    cairo_set_line_width(cr, std::max(0.8, u / 14));
    SetColour(cr, Hex(0xbfe0f4), 0.8);
    cairo_stroke(cr);
  }
  if (variant == 10 || variant == 12) {
    const double s = variant == 10 ? 0.12 : 0.18;
    std::vector<std::pair<double, double>> isle;
    for (int i = 0; i < 12; ++i)
      isle.push_back({0.5 + s * std::cos(i * M_PI / 6) * (variant == 10 ? 1.8 : 1.0), 0.5 + s * std::sin(i * M_PI / 6)});
    cairo_new_path(cr);
    path(isle);
    SetColour(cr, BANK);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, std::max(1.0, u * 0.08));
    SetColour(cr, Hex(0x7ea24e));
    cairo_stroke(cr);
  }
  cairo_reset_clip(cr);
}

// ------------------------------------------------------------- overlays

struct FilterLook {
  Rgb colour;
  int symbol;  // 0 house, 1 block, 2 factory, 3 bag, 4 flag, 5 tree, 6 "P", 7 "H"
};

FilterLook LookOf(FilterKind kind) {
  switch (kind) {
    case FilterKind::ResidentialLow: return {Hex(0x7fcf6a), 0};
    case FilterKind::Residential: return {Hex(0x3f9a3c), 0};
    case FilterKind::OfficeLow: return {Hex(0x7fb0e8), 1};
    case FilterKind::Office: return {Hex(0x3a6cc0), 1};
    case FilterKind::Industry: return {Hex(0xd8a431), 2};
    case FilterKind::Shopping: return {Hex(0xc2509c), 3};
    case FilterKind::School: return {Hex(0xe87a34), 4};
    case FilterKind::Leisure: return {Hex(0x3fb7a4), 5};
    case FilterKind::Parking: return {Hex(0x8a94a8), 6};
    default: return {Hex(0xe8d23a), 7};
  }
}

void Symbol(cairo_t* cr, int symbol, double cx, double cy, double s) {
  cairo_new_path(cr);
  switch (symbol) {
    case 0:
      cairo_move_to(cr, cx - s, cy + s * 0.8);
      cairo_line_to(cr, cx - s, cy - s * 0.1);
      cairo_line_to(cr, cx, cy - s);
      cairo_line_to(cr, cx + s, cy - s * 0.1);
      cairo_line_to(cr, cx + s, cy + s * 0.8);
      break;
    case 1: cairo_rectangle(cr, cx - s * 0.55, cy - s, s * 1.1, s * 1.8); break;
    case 2:
      cairo_move_to(cr, cx - s, cy + s * 0.8);
      cairo_line_to(cr, cx - s, cy - s * 0.2);
      cairo_line_to(cr, cx - s * 0.33, cy - s * 0.8);
      cairo_line_to(cr, cx - s * 0.33, cy - s * 0.2);
      cairo_line_to(cr, cx + s * 0.33, cy - s * 0.8);
      cairo_line_to(cr, cx + s * 0.33, cy - s * 0.2);
      cairo_line_to(cr, cx + s, cy - s * 0.8);
      cairo_line_to(cr, cx + s, cy + s * 0.8);
      break;
    case 3:
      cairo_rectangle(cr, cx - s * 0.8, cy - s * 0.3, s * 1.6, s * 1.1);
      cairo_new_sub_path(cr);
      cairo_arc(cr, cx, cy - s * 0.3, s * 0.45, M_PI, 2 * M_PI);
      cairo_set_line_width(cr, s * 0.25);
      cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_stroke_preserve(cr);
      break;
    case 4:
      cairo_rectangle(cr, cx - s * 0.7, cy - s, s * 0.22, s * 1.9);
      cairo_move_to(cr, cx - s * 0.5, cy - s);
      cairo_line_to(cr, cx + s * 0.9, cy - s * 0.6);
      cairo_line_to(cr, cx - s * 0.5, cy - s * 0.15);
      break;
    case 5:
      cairo_arc(cr, cx, cy - s * 0.3, s * 0.75, 0, 2 * M_PI);
      cairo_rectangle(cr, cx - s * 0.15, cy, s * 0.3, s * 0.85);
      break;
    default: {
      if (cairo_font_face_t* face = LoadFontFace(FontPath("DejaVuSans-Bold.ttf"))) cairo_set_font_face(cr, face);
      cairo_set_font_size(cr, s * 2.2);
      cairo_text_extents_t te;
      const char* t = symbol == 6 ? "P" : "H";
      cairo_text_extents(cr, t, &te);
      cairo_move_to(cr, cx - te.x_advance / 2, cy + te.height / 2);
      cairo_text_path(cr, t);
    }
  }
  cairo_close_path(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
}

void PaintFilter(cairo_t* cr, const CellCanvas& c, FilterKind kind) {
  const FilterLook look = LookOf(kind);
  cairo_rectangle(cr, 0, 0, c.canvas.Width(), c.canvas.Height());
  SetColour(cr, look.colour.Scaled(0.8));
  cairo_fill(cr);
  DiamondPath(cr, c, std::max(1.0, c.geo.yd / 7.0));
  SetColour(cr, look.colour);
  cairo_fill(cr);
  if (c.geo.yd >= 11) Symbol(cr, look.symbol, c.TopX(), c.TopY() + c.geo.yd, c.geo.yd * 0.42);
}

void PaintZone(cairo_t* cr, const CellCanvas& c, int variant) {
  static const unsigned colours[3] = {0x3fcf58, 0x4f8fef, 0xf0b020};
  const Rgb colour = Hex(colours[variant / 4 % 3]);
  const int cls = variant % 4;
  const double u = c.geo.yd;
  DiamondPath(cr, c, std::max(1.0, u / 10));
  cairo_set_line_width(cr, std::max(1.2, u / 7.0));
  SetColour(cr, colour);
  const double dash[] = {u * 0.5, u * 0.25};
  cairo_set_dash(cr, dash, 2, 0);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
  // a dot pattern whose density tells the class
  for (int i = -6; i <= 6; ++i)
    for (int j = -3; j <= 3; ++j) {
      if ((i + j) % (cls == 1 ? 4 : cls == 2 ? 3 : 2)) continue;
      const double x = c.TopX() + i * u * 0.35, y = c.TopY() + u + j * u * 0.35;
      cairo_rectangle(cr, x, y, std::max(1.0, u / 9), std::max(1.0, u / 9));
      SetColour(cr, colour);
      cairo_fill(cr);
    }
}

// Variant 0 the street tool's yellow; 1 and 2 the debug layers' street
// (cyan) and track (magenta) marks.
void PaintHighlight(cairo_t* cr, const CellCanvas& c, uint8_t variant) {
  const uint32_t outer[3] = {0xffe24a, 0x33d6e8, 0xe040c8};
  const uint32_t inner[3] = {0xfff8c8, 0xd8fbff, 0xffd8f6};
  const double u = c.geo.yd;
  DiamondPath(cr, c, std::max(1.0, u / 9));
  cairo_set_line_width(cr, std::max(1.5, u / 5.0));
  SetColour(cr, Hex(outer[variant % 3]));
  cairo_stroke(cr);
  DiamondPath(cr, c, std::max(2.0, u / 3.2));
  cairo_set_line_width(cr, std::max(1.0, u / 12.0));
  SetColour(cr, Hex(inner[variant % 3]));
  cairo_stroke(cr);
}

// A cell marked as buildable (green) or refused (red): a light diamond with
// a dark rim; the refused one is crossed.
void PaintCellMark(cairo_t* cr, const CellCanvas& c, bool buildable) {
  const double u = c.geo.yd;
  DiamondPath(cr, c, std::max(1.0, u / 9));
  SetColour(cr, Hex(buildable ? 0x8fdc7a : 0xf08a7a));
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, std::max(1.0, u / 7.0));
  SetColour(cr, Hex(buildable ? 0x2f7a22 : 0x9a2218));
  cairo_stroke(cr);
  if (buildable) return;
  const double cx = c.TopX(), cy = c.TopY() + u, hx = c.geo.XD() / 2.5, hy = u / 2.5;
  cairo_new_path(cr);
  cairo_move_to(cr, cx - hx, cy - hy);
  cairo_line_to(cr, cx + hx, cy + hy);
  cairo_move_to(cr, cx + hx, cy - hy);
  cairo_line_to(cr, cx - hx, cy + hy);
  cairo_stroke(cr);
}

// The exhibition's mark: a lilac cell with a bright rim, to be clicked.
void PaintExpoMark(cairo_t* cr, const CellCanvas& c) {
  const double u = c.geo.yd;
  DiamondPath(cr, c, std::max(1.0, u / 9));
  SetColour(cr, Hex(0xc87ee8));
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, std::max(1.0, u / 6.0));
  SetColour(cr, Hex(0xff40ff));
  cairo_stroke(cr);
}

void PaintEdgeMark(cairo_t* cr, const IsoProjection& proj) {
  // an arrow from the cell's middle towards its +p side
  const std::pair<double, double> pts[] = {{0.55, 0.36}, {0.78, 0.36}, {0.78, 0.26}, {0.97, 0.5},
                                           {0.78, 0.74}, {0.78, 0.64}, {0.55, 0.64}};
  cairo_new_path(cr);
  for (size_t i = 0; i < std::size(pts); ++i) {
    double x, y;
    proj.Point(pts[i].first, pts[i].second, 0, &x, &y);
    i ? cairo_line_to(cr, x, y) : cairo_move_to(cr, x, y);
  }
  cairo_close_path(cr);
  SetColour(cr, Hex(0xfff06a));
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, std::max(1.0, proj.Unit() / 12));
  SetColour(cr, Hex(0x6a5a10));
  cairo_stroke(cr);
}

void Decoration(IsoScene& s, int variant) {
  switch (variant) {
    case 6:
      s.Tree(0.45, 0.55, 0.28, Hex(0x4f8a34));
      s.Tree(0.62, 0.42, 0.2, Hex(0x5f9a3a));
      break;
    case 7: s.Tree(0.5, 0.5, 0.42, Hex(0x4c8c30)); break;
    case 9: s.Conifer(0.5, 0.5, 0.3, Hex(0x2f6a3a)); break;
    default:
      s.Tree(0.35, 0.5, 0.3, Hex(0x5a9436));
      s.Tree(0.68, 0.55, 0.34, Hex(0x468230));
      break;
  }
}

bool ProduceTile(GameDataBuilder& out, const IsoTileArt& t) {
  IsoTileContent content(t.layers);
  bool ok = true;
  for (int zoom = 0; zoom < ISO_ZOOM_COUNT; ++zoom)
    for (int rot = 0; rot < (t.turns ? ISO_TURN_COUNT : 1); ++rot) {
      const uint32_t seed = t.id * 7 + static_cast<uint32_t>(zoom);
      CellCanvas cell(zoom, t.layers > 1 ? 1.2 : 0.0);
      const IsoProjection proj = cell.Projection(zoom, rot);
      cairo_t* cr = cell.canvas.cr();
      uint8_t z = 0;
      switch (t.design) {
        case IsoDesign::Ground: Grass(cr, cell, GroundBase(t.variant), seed, t.variant); break;
        case IsoDesign::Outside:
          Grass(cr, cell, Hex(0x4a5a3e), seed, 0);
          break;
        case IsoDesign::River: PaintWater(cr, cell, proj, t.variant, seed); break;
        case IsoDesign::Filter: PaintFilter(cr, cell, static_cast<FilterKind>(t.variant)); break;
        case IsoDesign::Zone: PaintZone(cr, cell, t.variant), z = 1; break;
        case IsoDesign::MarkHighlight: PaintHighlight(cr, cell, t.variant), z = 1; break;
        case IsoDesign::MarkEdge: PaintEdgeMark(cr, proj), z = 1; break;
        case IsoDesign::MarkBuildable: PaintCellMark(cr, cell, true), z = 1; break;
        case IsoDesign::MarkRefused: PaintCellMark(cr, cell, false), z = 1; break;
        case IsoDesign::MarkExpo: PaintExpoMark(cr, cell), z = 1; break;
        default: break;
      }
      Image16 image = cell.canvas.ToImage();
      MaskToDiamond(image, zoom, cell.margin, cell.top);
      IsoTileLayer entry;
      ok &= PutCell(out, t.Sprite(zoom, rot, 0), image, cell.AnchorX(), cell.AnchorY(), z, &entry, true);
      IsoTileLayer deco;
      if (t.layers > 1) {
        CellCanvas upper(zoom, 1.2);
        IsoScene scene(upper.Projection(zoom, rot));
        Decoration(scene, t.variant);
        scene.Draw(upper.canvas.cr());
        ok &= PutCell(out, t.Sprite(zoom, rot, 1), upper.canvas.ToImage(), upper.AnchorX(), upper.AnchorY(), 6, &deco,
                      false);
      }
      for (int r = 0; r < ISO_TURN_COUNT; ++r) {
        if (t.turns && r != rot) continue;
        content.At(zoom, r, 0) = entry;
        if (t.layers > 1) content.At(zoom, r, 1) = deco;
      }
    }
  return ok && out.Put(t.id, WriteIsoTile(content));
}

}  // namespace

bool ProduceIsoTiles(GameDataBuilder& out) {
  bool ok = true;
  for (const IsoTileArt& t : IsoTiles()) ok &= ProduceTile(out, t);
  // The grounds under buildings.
  static const unsigned base[ISO_GROUND_STYLES] = {0x6a9a44, 0xb4aa98, 0x6a6c70, 0x8c8470};
  for (int style = 0; style < ISO_GROUND_STYLES; ++style)
    for (int zoom = 0; zoom < ISO_ZOOM_COUNT; ++zoom) {
      CellCanvas cell(zoom, 0);
      cairo_t* cr = cell.canvas.cr();
      if (style == static_cast<int>(IsoGround::Lawn)) {
        Grass(cr, cell, Hex(base[style]), 900u + static_cast<uint32_t>(zoom), 3);
      } else {
        Grass(cr, cell, Hex(base[style]), 950u + static_cast<uint32_t>(style * 3 + zoom), 0);
        if (style == static_cast<int>(IsoGround::Paving) && zoom < 2) {
          // a pattern of slabs
          const IsoProjection proj = cell.Projection(zoom, 0);
          for (int i = 1; i < 4; ++i) {
            double x0, y0, x1, y1;
            proj.Point(i / 4.0, 0, 0, &x0, &y0), proj.Point(i / 4.0, 1, 0, &x1, &y1);
            cairo_move_to(cr, x0, y0), cairo_line_to(cr, x1, y1);
            proj.Point(0, i / 4.0, 0, &x0, &y0), proj.Point(1, i / 4.0, 0, &x1, &y1);
            cairo_move_to(cr, x0, y0), cairo_line_to(cr, x1, y1);
          }
          cairo_set_line_width(cr, 1);
          SetColour(cr, Hex(base[style]).Scaled(0.86));
          cairo_stroke(cr);
        }
      }
      Image16 image = cell.canvas.ToImage();
      MaskToDiamond(image, zoom, cell.margin, cell.top);
      IsoTileLayer unused;
      ok &= PutCell(out, IsoGroundSprite(static_cast<IsoGround>(style), zoom), image, cell.AnchorX(), cell.AnchorY(), 0,
                    &unused, true);
    }
  ok &= out.Put(IsoBlankSprite(), WriteSprite(Image16(1, 1, 0, 0)));
  return ok;
}

}  // namespace zorgen
