#include "gen/iso_paint.h"

#include "gen/generator.h"

#include <algorithm>
#include <cmath>

namespace zorgen {

IsoZoomGeometry ZoomGeometry(int zoom) {
  static const int yd[3] = {23, 11, 6};
  return {yd[zoom < 0 ? 0 : zoom > 2 ? 2 : zoom]};
}

Rgb Rgb::Scaled(double k) const { return {std::min(1.0, r * k), std::min(1.0, g * k), std::min(1.0, b * k)}; }
Rgb Rgb::Mixed(Rgb o, double t) const { return {r + (o.r - r) * t, g + (o.g - g) * t, b + (o.b - b) * t}; }
Rgb Hex(unsigned rgb) { return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0}; }
void SetColour(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

std::vector<Span> DiamondSpans(int zoom) {
  const IsoZoomGeometry g = ZoomGeometry(zoom);
  std::vector<Span> rows(static_cast<size_t>(g.TileHeight()));
  for (int y = 0; y < g.TileHeight(); ++y) {
    const int r = y < g.yd ? y : g.TileHeight() - 1 - y;
    rows[static_cast<size_t>(y)] = {g.XD() - 2 - 2 * r, g.XD() + 2 * r};
  }
  return rows;
}

void MaskToDiamond(Image16& image, int zoom, int x0, int y0) {
  const std::vector<Span> spans = DiamondSpans(zoom);
  for (int y = 0; y < image.height; ++y) {
    const int r = y - y0;
    for (int x = 0; x < image.width; ++x) {
      const bool in = r >= 0 && r < static_cast<int>(spans.size()) && x - x0 >= spans[static_cast<size_t>(r)].first &&
                      x - x0 < spans[static_cast<size_t>(r)].end;
      if (!in) image.Visible(x, y) = 0;
    }
  }
}

uint32_t ArtRandom::Next() {
  m_state ^= m_state << 13;
  m_state ^= m_state >> 17;
  m_state ^= m_state << 5;
  return m_state;
}

IsoProjection::IsoProjection(int zoom, int rotation, int width, int depth, double ox, double oy)
    : m_zoom(zoom), m_rotation(rotation & 3), m_width(width), m_depth(depth), m_ox(ox), m_oy(oy),
      m_geo(ZoomGeometry(zoom)) {}

// The turns match the map's placement of group parts: in rotation r a part
// lands where the unturned footprint turned by r quarter turns puts it.
void IsoProjection::Turn(double p, double q, double* tp, double* tq) const {
  switch (m_rotation) {
    case 0: *tp = p, *tq = q; break;
    case 1: *tp = m_depth - q, *tq = p; break;
    case 2: *tp = m_width - p, *tq = m_depth - q; break;
    default: *tp = q, *tq = m_width - p; break;
  }
}

void IsoProjection::Point(double p, double q, double h, double* x, double* y) const {
  double tp, tq;
  Turn(p, q, &tp, &tq);
  *x = m_ox + (tp - tq) * m_geo.XD();
  *y = m_oy + (tp + tq) * m_geo.yd - h * m_geo.Vertical();
}

// ------------------------------------------------------------------ scene

namespace {

constexpr double LIT = 1.0, SHADE = 0.68, TOP = 1.08;

void Poly(cairo_t* cr, const std::vector<std::pair<double, double>>& pts) {
  cairo_new_path(cr);
  for (size_t i = 0; i < pts.size(); ++i)
    i ? cairo_line_to(cr, pts[i].first, pts[i].second) : cairo_move_to(cr, pts[i].first, pts[i].second);
  cairo_close_path(cr);
}

}  // namespace

void IsoScene::Add(double p0, double q0, double p1, double q1, int level, std::function<void(cairo_t*)> draw) {
  double a, b, c, d;
  m_proj.Turn(p0, q0, &a, &b);
  m_proj.Turn(p1, q1, &c, &d);
  m_items.push_back({std::min(a, c), std::min(b, d), std::max(a, c), std::max(b, d), level, std::move(draw)});
}

void IsoScene::Face(cairo_t* cr, const double (*pts)[3], int n, Rgb colour) const {
  std::vector<std::pair<double, double>> s;
  for (int i = 0; i < n; ++i) {
    double x, y;
    m_proj.Point(pts[i][0], pts[i][1], pts[i][2], &x, &y);
    s.push_back({x, y});
  }
  Poly(cr, s);
  SetColour(cr, colour);
  cairo_fill(cr);
}

void IsoScene::Decal(std::vector<std::pair<double, double>> pts, double h, Rgb colour) {
  double p0 = 1e9, q0 = 1e9, p1 = -1e9, q1 = -1e9;
  for (auto& [p, q] : pts) p0 = std::min(p0, p), q0 = std::min(q0, q), p1 = std::max(p1, p), q1 = std::max(q1, q);
  Add(p0, q0, p1, q1, 0, [this, pts, h, colour](cairo_t* cr) {
    std::vector<std::pair<double, double>> s;
    for (auto& [p, q] : pts) {
      double x, y;
      m_proj.Point(p, q, h, &x, &y);
      s.push_back({x, y});
    }
    Poly(cr, s);
    SetColour(cr, colour);
    cairo_fill(cr);
  });
}

void IsoScene::Box(double p0, double q0, double p1, double q1, double h0, double h1, Rgb wall, Rgb roof,
                   Windows win) {
  Add(p0, q0, p1, q1, 1, [=, this](cairo_t* cr) {
    // Work in the turned frame: the visible walls face +p' (right, shaded)
    // and +q' (left, lit).
    double a0, b0, a1, b1;
    m_proj.Turn(p0, q0, &a0, &b0);
    m_proj.Turn(p1, q1, &a1, &b1);
    if (a0 > a1) std::swap(a0, a1);
    if (b0 > b1) std::swap(b0, b1);
    IsoProjection flat(m_proj.Zoom(), 0, 1, 1, m_proj.OriginX(), m_proj.OriginY());
    auto pt = [&](double p, double q, double h) {
      double x, y;
      flat.Point(p, q, h, &x, &y);
      return std::pair<double, double>{x, y};
    };
    // Too small for single windows at the farthest zoom: glass tints the wall.
    const Rgb face = win.rows > 0 && m_proj.Zoom() == 2 ? wall.Mixed(win.colour, win.bands ? 0.45 : 0.25) : wall;
    Poly(cr, {pt(a0, b1, h0), pt(a1, b1, h0), pt(a1, b1, h1), pt(a0, b1, h1)});
    SetColour(cr, face.Scaled(LIT));
    cairo_fill(cr);
    Poly(cr, {pt(a1, b0, h0), pt(a1, b1, h0), pt(a1, b1, h1), pt(a1, b0, h1)});
    SetColour(cr, face.Scaled(SHADE));
    cairo_fill(cr);
    Poly(cr, {pt(a0, b0, h1), pt(a1, b0, h1), pt(a1, b1, h1), pt(a0, b1, h1)});
    SetColour(cr, roof.Scaled(TOP));
    cairo_fill(cr);
    if (win.rows > 0 && m_proj.Zoom() < 2) {
      const double storey = (h1 - h0) / win.rows;
      auto wallWindows = [&](bool left, double len) {
        const int cols = std::max(1, static_cast<int>(std::lround(len * win.columns)));
        for (int r = 0; r < win.rows; ++r) {
          const double wh0 = h0 + storey * (r + 0.3), wh1 = h0 + storey * (r + 0.78);
          const Rgb c = win.colour.Scaled(left ? 1.0 : 0.75);
          if (win.bands || (m_proj.Zoom() == 1 && cols > 3)) {
            const double m = 0.06;
            if (left) Poly(cr, {pt(a0 + m, b1, wh0), pt(a1 - m, b1, wh0), pt(a1 - m, b1, wh1), pt(a0 + m, b1, wh1)});
            else Poly(cr, {pt(a1, b0 + m, wh0), pt(a1, b1 - m, wh0), pt(a1, b1 - m, wh1), pt(a1, b0 + m, wh1)});
            SetColour(cr, c);
            cairo_fill(cr);
            continue;
          }
          for (int k = 0; k < cols; ++k) {
            const double s = len / cols;
            const double u0 = s * (k + 0.28), u1 = s * (k + 0.72);
            if (left) Poly(cr, {pt(a0 + u0, b1, wh0), pt(a0 + u1, b1, wh0), pt(a0 + u1, b1, wh1), pt(a0 + u0, b1, wh1)});
            else Poly(cr, {pt(a1, b0 + u0, wh0), pt(a1, b0 + u1, wh0), pt(a1, b0 + u1, wh1), pt(a1, b0 + u0, wh1)});
            SetColour(cr, c);
            cairo_fill(cr);
          }
        }
      };
      wallWindows(true, a1 - a0);
      wallWindows(false, b1 - b0);
    }
  });
}

void IsoScene::Gable(double p0, double q0, double p1, double q1, double h, double rise, bool alongP, Rgb roof,
                     Rgb wall) {
  Add(p0, q0, p1, q1, 1, [=, this](cairo_t* cr) {
    const double pm = (p0 + p1) / 2, qm = (q0 + q1) / 2;
    // Ridge end points, eaves and gable triangles in model coordinates;
    // each face is lit by where its outward normal points once turned.
    double r0[3], r1[3];
    if (alongP) r0[0] = p0, r0[1] = qm, r1[0] = p1, r1[1] = qm;
    else r0[0] = pm, r0[1] = q0, r1[0] = pm, r1[1] = q1;
    r0[2] = r1[2] = h + rise;
    struct Plane {
      double pts[4][3];
      int n;
      double np, nq;  // outward normal in the model
      bool gableEnd;
    };
    std::vector<Plane> planes;
    if (alongP) {
      planes.push_back({{{p0, q0, h}, {p1, q0, h}, {r1[0], r1[1], r1[2]}, {r0[0], r0[1], r0[2]}}, 4, 0, -1, false});
      planes.push_back({{{p0, q1, h}, {p1, q1, h}, {r1[0], r1[1], r1[2]}, {r0[0], r0[1], r0[2]}}, 4, 0, 1, false});
      planes.push_back({{{p0, q0, h}, {p0, q1, h}, {r0[0], r0[1], r0[2]}}, 3, -1, 0, true});
      planes.push_back({{{p1, q0, h}, {p1, q1, h}, {r1[0], r1[1], r1[2]}}, 3, 1, 0, true});
    } else {
      planes.push_back({{{p0, q0, h}, {p0, q1, h}, {r1[0], r1[1], r1[2]}, {r0[0], r0[1], r0[2]}}, 4, -1, 0, false});
      planes.push_back({{{p1, q0, h}, {p1, q1, h}, {r1[0], r1[1], r1[2]}, {r0[0], r0[1], r0[2]}}, 4, 1, 0, false});
      planes.push_back({{{p0, q0, h}, {p1, q0, h}, {r0[0], r0[1], r0[2]}}, 3, 0, -1, true});
      planes.push_back({{{p0, q1, h}, {p1, q1, h}, {r1[0], r1[1], r1[2]}}, 3, 0, 1, true});
    }
    // Turned normals: facing +q' is lit, +p' shaded; the others face away.
    auto turnedNormal = [&](double np, double nq, double* tp, double* tq) {
      double ap, aq, bp, bq;
      m_proj.Turn(0, 0, &ap, &aq);
      m_proj.Turn(np, nq, &bp, &bq);
      *tp = bp - ap, *tq = bq - aq;
    };
    std::stable_sort(planes.begin(), planes.end(), [&](const Plane& x, const Plane& y) {
      double xp, xq, yp, yq;
      turnedNormal(x.np, x.nq, &xp, &xq);
      turnedNormal(y.np, y.nq, &yp, &yq);
      return xp + xq < yp + yq;  // faces turned away first
    });
    for (const Plane& pl : planes) {
      double tp, tq;
      turnedNormal(pl.np, pl.nq, &tp, &tq);
      const double light = tq > 0.5 ? LIT : tp > 0.5 ? SHADE : tq < -0.5 ? 0.9 : 0.8;
      Face(cr, pl.pts, pl.n, (pl.gableEnd ? wall : roof).Scaled(light));
    }
  });
}

void IsoScene::Pyramid(double p0, double q0, double p1, double q1, double h, double rise, Rgb roof) {
  Add(p0, q0, p1, q1, 1, [=, this](cairo_t* cr) {
    const double apex[3] = {(p0 + p1) / 2, (q0 + q1) / 2, h + rise};
    double a0, b0, a1, b1;
    m_proj.Turn(p0, q0, &a0, &b0);
    m_proj.Turn(p1, q1, &a1, &b1);
    IsoProjection flat(m_proj.Zoom(), 0, 1, 1, m_proj.OriginX(), m_proj.OriginY());
    if (a0 > a1) std::swap(a0, a1);
    if (b0 > b1) std::swap(b0, b1);
    const double am = (a0 + a1) / 2, bm = (b0 + b1) / 2;
    auto face = [&](double xa, double ya, double xb, double yb, double light) {
      double x, y;
      std::vector<std::pair<double, double>> s;
      flat.Point(xa, ya, h, &x, &y), s.push_back({x, y});
      flat.Point(xb, yb, h, &x, &y), s.push_back({x, y});
      flat.Point(am, bm, apex[2], &x, &y), s.push_back({x, y});
      Poly(cr, s);
      SetColour(cr, roof.Scaled(light));
      cairo_fill(cr);
    };
    face(a0, b1, a1, b1, LIT);
    face(a1, b0, a1, b1, SHADE);
  });
}

void IsoScene::Tree(double p, double q, double size, Rgb leaves) {
  Add(p - size / 3, q - size / 3, p + size / 3, q + size / 3, 1, [=, this](cairo_t* cr) {
    double x, y, tx, ty;
    m_proj.Point(p, q, 0, &x, &y);
    m_proj.Point(p, q, size * 0.45, &tx, &ty);
    const double u = m_proj.Geometry().yd;
    // shadow, trunk, crown lit from the upper left
    cairo_save(cr);
    cairo_translate(cr, x + u * size * 0.35, y);
    cairo_scale(cr, 1.0, 0.5);
    cairo_arc(cr, 0, 0, u * size * 0.9, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColour(cr, Hex(0x2f4a22), 0.55);
    cairo_fill(cr);
    cairo_rectangle(cr, x - u * 0.06, ty, u * 0.12, y - ty);
    SetColour(cr, Hex(0x5a3e28));
    cairo_fill(cr);
    const double r = u * size * 0.95;
    const double cy = ty - r * 0.55;
    cairo_pattern_t* pat = cairo_pattern_create_radial(x - r * 0.4, cy - r * 0.45, r * 0.1, x, cy, r * 1.1);
    const Rgb hi = leaves.Scaled(1.35), lo = leaves.Scaled(0.6);
    cairo_pattern_add_color_stop_rgb(pat, 0, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(pat, 0.55, leaves.r, leaves.g, leaves.b);
    cairo_pattern_add_color_stop_rgb(pat, 1, lo.r, lo.g, lo.b);
    cairo_arc(cr, x, cy, r, 0, 2 * M_PI);
    cairo_set_source(cr, pat);
    cairo_fill(cr);
    cairo_pattern_destroy(pat);
  });
}

void IsoScene::Conifer(double p, double q, double size, Rgb leaves) {
  Add(p - size / 4, q - size / 4, p + size / 4, q + size / 4, 1, [=, this](cairo_t* cr) {
    double x, y;
    m_proj.Point(p, q, 0, &x, &y);
    const double u = m_proj.Geometry().yd;
    const double hgt = u * size * 3.2, w = u * size * 0.8;
    cairo_save(cr);
    cairo_translate(cr, x + w * 0.5, y);
    cairo_scale(cr, 1.0, 0.5);
    cairo_arc(cr, 0, 0, w, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColour(cr, Hex(0x2f4a22), 0.5);
    cairo_fill(cr);
    Poly(cr, {{x, y - hgt}, {x - w, y - hgt * 0.12}, {x, y}});
    SetColour(cr, leaves.Scaled(1.15));
    cairo_fill(cr);
    Poly(cr, {{x, y - hgt}, {x + w, y - hgt * 0.12}, {x, y}});
    SetColour(cr, leaves.Scaled(0.7));
    cairo_fill(cr);
  });
}

void IsoScene::Cylinder(double p, double q, double radius, double h0, double h1, Rgb colour) {
  Add(p - radius, q - radius, p + radius, q + radius, 1, [=, this](cairo_t* cr) {
    double x0, y0, x1, y1;
    m_proj.Point(p, q, h0, &x0, &y0);
    m_proj.Point(p, q, h1, &x1, &y1);
    const double rx = radius * m_proj.Geometry().XD() * 1.41, ry = rx / 2;
    cairo_pattern_t* pat = cairo_pattern_create_linear(x0 - rx, 0, x0 + rx, 0);
    const Rgb hi = colour.Scaled(1.15), lo = colour.Scaled(0.6);
    cairo_pattern_add_color_stop_rgb(pat, 0, colour.r, colour.g, colour.b);
    cairo_pattern_add_color_stop_rgb(pat, 0.3, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(pat, 1, lo.r, lo.g, lo.b);
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, x0, y0);
    cairo_scale(cr, 1, ry / rx);
    cairo_arc_negative(cr, 0, 0, rx, M_PI, 0);
    cairo_restore(cr);
    cairo_line_to(cr, x1 + rx, y1);
    cairo_line_to(cr, x1 - rx, y1);
    cairo_close_path(cr);
    cairo_set_source(cr, pat);
    cairo_fill(cr);
    cairo_pattern_destroy(pat);
    cairo_save(cr);
    cairo_translate(cr, x1, y1);
    cairo_scale(cr, 1, ry / rx);
    cairo_arc(cr, 0, 0, rx, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColour(cr, colour.Scaled(1.1));
    cairo_fill(cr);
  });
}

void IsoScene::Pole(double p, double q, double h, Rgb colour) {
  Add(p - 0.02, q - 0.02, p + 0.02, q + 0.02, 1, [=, this](cairo_t* cr) {
    double x0, y0, x1, y1;
    m_proj.Point(p, q, 0, &x0, &y0);
    m_proj.Point(p, q, h, &x1, &y1);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_set_line_width(cr, std::max(1.0, m_proj.Geometry().yd / 9.0));
    SetColour(cr, colour);
    cairo_stroke(cr);
  });
}

void IsoScene::Board(double p, double q, double h, double w, double bh, Rgb colour, Rgb ink, const char* text) {
  Add(p - 0.05, q - 0.05, p + 0.05, q + 0.05, 1, [=, this](cairo_t* cr) {
    double x, y;
    m_proj.Point(p, q, h, &x, &y);
    const double u = m_proj.Geometry().yd;
    const double bw = w * u, bhp = bh * u;
    RoundedRect(cr, x - bw / 2, y - bhp, bw, bhp, std::min(bw, bhp) * 0.15);
    SetColour(cr, colour);
    cairo_fill_preserve(cr);
    SetColour(cr, colour.Scaled(0.55));
    cairo_set_line_width(cr, std::max(0.8, u / 14));
    cairo_stroke(cr);
    if (text && m_proj.Zoom() < 2) {
      if (cairo_font_face_t* face = LoadFontFace(FontPath("DejaVuSans-Bold.ttf"))) cairo_set_font_face(cr, face);
      cairo_set_font_size(cr, bhp * 0.8);
      cairo_text_extents_t te;
      cairo_text_extents(cr, text, &te);
      cairo_move_to(cr, x - te.x_advance / 2, y - bhp * 0.2);
      SetColour(cr, ink);
      cairo_show_text(cr, text);
    }
  });
}

void IsoScene::Car(double p, double q, bool alongP, Rgb colour) {
  const double l = 0.17, w = 0.08;
  const double p0 = alongP ? p - l : p - w, p1 = alongP ? p + l : p + w;
  const double q0 = alongP ? q - w : q - l, q1 = alongP ? q + w : q + l;
  Box(p0, q0, p1, q1, 0.0, 0.05, colour, colour);
  const double k = 0.45;
  Box(alongP ? p - l * k : p0 + 0.01, alongP ? q0 + 0.01 : q - l * k, alongP ? p + l * k * 0.6 : p1 - 0.01,
      alongP ? q1 - 0.01 : q + l * k * 0.6, 0.05, 0.085, Hex(0x9fb4c4), colour.Scaled(0.9));
}

void IsoScene::Draw(cairo_t* cr) const {
  // Back to front: an item goes after every item that lies wholly behind it
  // (its far corner not beyond this one's near edge on one axis); ties keep
  // the order of creation, so roofs follow the walls they sit on.
  const size_t n = m_items.size();
  std::vector<bool> done(n, false);
  auto behind = [&](const Item& a, const Item& b) {  // a must be drawn before b
    if (a.level != b.level) return a.level < b.level;
    const double e = 1e-6;
    return (a.p1 <= b.p0 + e || a.q1 <= b.q0 + e) && !(b.p1 <= a.p0 + e || b.q1 <= a.q0 + e);
  };
  for (size_t drawn = 0; drawn < n; ++drawn) {
    size_t pick = n;
    for (size_t i = 0; i < n && pick == n; ++i) {
      if (done[i]) continue;
      bool free = true;
      for (size_t j = 0; j < n && free; ++j)
        if (!done[j] && j != i && behind(m_items[j], m_items[i])) free = false;
      if (free) pick = i;
    }
    if (pick == n)
      for (size_t i = 0; i < n; ++i)
        if (!done[i]) {
          pick = i;
          break;
        }
    done[pick] = true;
    cairo_save(cr);
    m_items[pick].draw(cr);
    cairo_restore(cr);
  }
}

Image16 CropVisible(const Image16& image, int x0, int x1, int yEnd, int* left, int* bottom) {
  x0 = std::max(0, x0), x1 = std::min(image.width, x1), yEnd = std::min(image.height, yEnd);
  int minX = x1, maxX = x0 - 1, minY = yEnd, maxY = -1;
  for (int y = 0; y < yEnd; ++y)
    for (int x = x0; x < x1; ++x)
      if (image.visible[static_cast<size_t>(y) * image.width + x]) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
  if (maxX < minX) {
    *left = x0, *bottom = yEnd;
    return Image16(1, 1, 0, 0);
  }
  Image16 out(maxX - minX + 1, maxY - minY + 1, 0, 0);
  for (int y = minY; y <= maxY; ++y)
    for (int x = minX; x <= maxX; ++x) {
      const size_t s = static_cast<size_t>(y) * image.width + x;
      out.At(x - minX, y - minY) = image.pixels[s];
      out.Visible(x - minX, y - minY) = image.visible[s];
    }
  *left = minX, *bottom = maxY + 1;
  return out;
}

}  // namespace zorgen
