// The street network's map art: streets, bends, ends and junctions of every
// street type, bridges, level crossings, the layers merged onto street cells
// (lights, stop lines, signs, bus lanes), and the micro-cell layout of every
// piece that carries vehicles. Flat parts are drawn in the piece's model
// plane through the projection's affine map, so markings lie on the ground
// in every rotation; poles, railings and barriers stand up as scene objects.
#include <algorithm>
#include <cmath>

#include "gen/iso_art.h"
#include "gen/iso_rails.h"
#include "gen/net_model.h"
#include "writers/iso_writers.h"

namespace zorgen {

namespace {

const Rgb GRASS = Hex(0x6f9d48);
const Rgb PAVEMENT = Hex(0xc8c2b4);
const Rgb KERB = Hex(0x9a958a);
const Rgb ASPHALT = Hex(0x5a5d62);
const Rgb ASPHALT_MAIN = Hex(0x4e5156);
const Rgb PAINT = Hex(0xf2f0e6);
const Rgb MEDIAN = Hex(0x6a9a46);
const Rgb WATER = Hex(0x3f7fb8);
const Rgb DECK = Hex(0xb4b0a8);
const Rgb BUS = Hex(0x9a4a3a);

constexpr uint8_t Z_FLOOR = 0;
constexpr uint8_t Z_MARKING = 2;
constexpr uint8_t Z_UPPER = 6;
constexpr double HEADROOM = 1.0;

// A canvas for a whole piece in one zoom and rotation: the turned footprint's
// top corner at (ox, oy); cell (a', b') of the turned footprint has its top
// corner at (ox + (a' - b') XD, oy + (a' + b') YD).
struct PieceCanvas {
  IsoZoomGeometry geo;
  int tw, td, top;
  int ox, oy;
  Canvas canvas;
  PieceCanvas(const NetPieceArt& n, int zoom, int rotation)
      : geo(ZoomGeometry(zoom)),
        tw(rotation % 2 ? n.depth : n.width),
        td(rotation % 2 ? n.width : n.depth),
        top(static_cast<int>(std::ceil(HEADROOM * geo.Vertical())) + 4),
        ox((td + 1) * geo.XD()),
        oy(top),
        canvas((tw + td + 2) * geo.XD(), top + (tw + td) * geo.yd + 4) {}
  IsoProjection Projection(const NetPieceArt& n, int zoom, int rotation) const {
    return IsoProjection(zoom, rotation, n.width, n.depth, ox, oy);
  }
};

// Sets cairo's matrix so that model points (p, q) on the ground land where
// the projection puts them.
void ModelPlane(cairo_t* cr, const IsoProjection& proj) {
  double x0, y0, xp, yp, xq, yq;
  proj.Point(0, 0, 0, &x0, &y0);
  proj.Point(1, 0, 0, &xp, &yp);
  proj.Point(0, 1, 0, &xq, &yq);
  cairo_matrix_t m;
  cairo_matrix_init(&m, xp - x0, yp - y0, xq - x0, yq - y0, x0, y0);
  cairo_set_matrix(cr, &m);
}

void Quad(cairo_t* cr, NetVec a, NetVec b, NetVec c, NetVec d) {
  cairo_new_path(cr);
  cairo_move_to(cr, a.p, a.q);
  cairo_line_to(cr, b.p, b.q);
  cairo_line_to(cr, c.p, c.q);
  cairo_line_to(cr, d.p, d.q);
  cairo_close_path(cr);
}

// A band along an arm from t0 to t1 (distances from the edge, inwards),
// lateral offsets l0..l1 (right of inward positive).
void Band(cairo_t* cr, const NetArmGeo& a, double t0, double t1, double l0, double l1) {
  const NetVec r = RightOf(a.inward);
  const NetVec s = a.centre + a.inward * t0, e = a.centre + a.inward * t1;
  Quad(cr, s + r * l0, e + r * l0, e + r * l1, s + r * l1);
}

void Line(cairo_t* cr, NetVec a, NetVec b, double width, Rgb colour, double dash = 0, double gap = 0) {
  cairo_new_path(cr);
  cairo_move_to(cr, a.p, a.q);
  cairo_line_to(cr, b.p, b.q);
  cairo_set_line_width(cr, width);
  if (dash > 0) {
    const double d[] = {dash, gap};
    cairo_set_dash(cr, d, 2, gap / 2);
  }
  SetColour(cr, colour);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
}

void Speckles(cairo_t* cr, double W, double D, uint32_t seed, Rgb base, int count) {
  ArtRandom rnd(seed);
  for (int i = 0; i < count; ++i) {
    const double p = rnd.Range(0, W), q = rnd.Range(0, D), s = rnd.Range(0.015, 0.03);
    cairo_rectangle(cr, p, q, s, s);
    SetColour(cr, rnd.Unit() < 0.5 ? base.Scaled(1.16) : base.Scaled(0.84), 0.9);
    cairo_fill(cr);
  }
}

bool IsMain(const NetArmGeo& a) { return a.kind == ARM_MAIN; }

// How far along an arm its carriageway must reach to meet the arms across
// it (those running at right angles), and where their kerbs begin.
void Reach(const std::vector<NetArmGeo>& arms, const NetArmGeo& a, double hub, double* asphalt, double* pavement,
           double* kerbLine) {
  *asphalt = hub, *pavement = hub, *kerbLine = hub;
  bool crossed = false;
  for (const NetArmGeo& b : arms) {
    if (std::abs(b.inward.p * a.inward.p + b.inward.q * a.inward.q) > 0.5) continue;
    // b's middle line lies at this distance from a's edge.
    const double t = (b.centre.p - a.centre.p) * a.inward.p + (b.centre.q - a.centre.q) * a.inward.q;
    *asphalt = std::max(*asphalt, t + b.half);
    *pavement = std::max(*pavement, t + b.half + b.kerb);
    *kerbLine = crossed ? std::min(*kerbLine, t - b.half - b.kerb) : t - b.half - b.kerb;
    crossed = true;
  }
  if (!crossed) *kerbLine = hub;
}

// The corner a bend turns round and the radius of its middle line.
NetVec BendCorner(const NetArmGeo& a, const NetArmGeo& b) {
  return {a.inward.p != 0 ? a.centre.p : b.centre.p, a.inward.q != 0 ? a.centre.q : b.centre.q};
}

void Arc(cairo_t* cr, NetVec corner, double radius, double a0) {
  cairo_new_path(cr);
  cairo_arc(cr, corner.p, corner.q, std::max(0.001, radius), a0, a0 + M_PI / 2);
}

double StartAngle(NetVec corner, const NetArmGeo& a, const NetArmGeo& b) {
  const double a1 = std::atan2(a.centre.q - corner.q, a.centre.p - corner.p);
  const double a2 = std::atan2(b.centre.q - corner.q, b.centre.p - corner.p);
  // the quarter from the smaller angle, going positive
  double s = std::min(a1, a2);
  if (std::max(a1, a2) - s > M_PI) s = std::max(a1, a2);
  return s;
}

// The ground, carriageways and markings of a piece.
void PaintRoad(cairo_t* cr, const NetPieceArt& n, int zoom, bool water) {
  const double W = n.width, D = n.depth;
  cairo_rectangle(cr, -0.5, -0.5, W + 1, D + 1);
  SetColour(cr, water ? WATER : GRASS);
  cairo_fill(cr);
  if (!water) Speckles(cr, W, D, n.id * 3 + static_cast<uint32_t>(zoom), GRASS, static_cast<int>(60 * W * D));
  const std::vector<NetArmGeo> arms = NetArms(n);
  const int count = static_cast<int>(arms.size());
  const double hubP = NetLength(n) / 2, hubQ = D / 2;
  const bool bend = count == 2 && arms[0].inward.p * arms[1].inward.p + arms[0].inward.q * arms[1].inward.q > -0.5;
  const bool straight = count == 2 && !bend;
  const double lw = zoom == 0 ? 0.028 : zoom == 1 ? 0.05 : 0.08;  // a line of paint

  auto hubFor = [&](const NetArmGeo& a) { return std::abs(a.inward.p) > 0.5 ? hubP : hubQ; };
  if (straight) {
    // both arms are one street; draw it end to end
    const NetArmGeo& a = arms[0].side == 2 ? arms[0] : arms[1];
    const double len = n.width;
    SetColour(cr, KERB);
    Band(cr, a, 0, len, -a.half - a.kerb, a.half + a.kerb), cairo_fill(cr);
    SetColour(cr, PAVEMENT);
    Band(cr, a, 0, len, -a.half - a.kerb + 0.02, a.half + a.kerb - 0.02), cairo_fill(cr);
    SetColour(cr, IsMain(a) ? ASPHALT_MAIN : ASPHALT);
    Band(cr, a, 0, len, -a.half, a.half), cairo_fill(cr);
    const NetVec r = RightOf(a.inward);
    const NetVec s = a.centre, e = a.centre + a.inward * len;
    if (a.kind == ARM_FOURLANE) {
      cairo_rectangle(cr, 0, a.centre.q - 0.06, len, 0.12);
      SetColour(cr, KERB), cairo_fill(cr);
      cairo_rectangle(cr, 0, a.centre.q - 0.045, len, 0.09);
      SetColour(cr, MEDIAN), cairo_fill(cr);
      if (zoom < 2)
        for (double l : {-0.475, 0.475}) Line(cr, s + r * l, e + r * l, lw, PAINT, 0.14, 0.12);
      if (zoom < 2)
        for (double l : {-0.82, 0.82}) Line(cr, s + r * l, e + r * l, lw, PAINT);
    } else if (a.kind == ARM_ONEWAY) {
      if (zoom < 2)
        for (double t : {0.25, 0.75}) {
          // an arrow along +x
          cairo_new_path(cr);
          const double p = t * len, q = a.centre.q;
          cairo_move_to(cr, p - 0.12, q - 0.02), cairo_line_to(cr, p + 0.02, q - 0.02);
          cairo_line_to(cr, p + 0.02, q - 0.06), cairo_line_to(cr, p + 0.12, q);
          cairo_line_to(cr, p + 0.02, q + 0.06), cairo_line_to(cr, p + 0.02, q + 0.02);
          cairo_line_to(cr, p - 0.12, q + 0.02), cairo_close_path(cr);
          SetColour(cr, PAINT), cairo_fill(cr);
        }
    } else {
      // At the farthest zoom a line of paint would be a third of the street.
      if (IsMain(a) && zoom < 2) {
        for (double l : {-a.half + 0.035, a.half - 0.035}) Line(cr, s + r * l, e + r * l, lw, PAINT);
        Line(cr, s, e, lw, PAINT);
      } else if (zoom < 2) {
        Line(cr, s, e, lw, PAINT, 0.12, 0.1);
      }
    }
    return;
  }
  if (bend) {
    const NetVec corner = BendCorner(arms[0], arms[1]);
    const double radius = std::hypot(arms[0].centre.p - corner.p, arms[0].centre.q - corner.q);
    const double a0 = StartAngle(corner, arms[0], arms[1]);
    const NetArmGeo& a = arms[0];
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    auto ring = [&](double r0, double r1, Rgb colour) {
      Arc(cr, corner, (r0 + r1) / 2, a0);
      cairo_set_line_width(cr, r1 - r0);
      SetColour(cr, colour);
      cairo_stroke(cr);
    };
    ring(radius - a.half - a.kerb, radius + a.half + a.kerb, KERB);
    ring(radius - a.half - a.kerb + 0.02, radius + a.half + a.kerb - 0.02, PAVEMENT);
    ring(radius - a.half, radius + a.half, IsMain(a) ? ASPHALT_MAIN : ASPHALT);
    auto paint = [&](double r, double dash) {
      Arc(cr, corner, r, a0);
      cairo_set_line_width(cr, lw);
      if (dash > 0) {
        const double d[] = {dash, dash * 0.8};
        cairo_set_dash(cr, d, 2, 0);
      }
      SetColour(cr, PAINT);
      cairo_stroke(cr);
      cairo_set_dash(cr, nullptr, 0, 0);
    };
    if (a.kind == ARM_FOURLANE) {
      ring(radius - 0.06, radius + 0.06, KERB);
      ring(radius - 0.045, radius + 0.045, MEDIAN);
      if (zoom < 2) paint(radius - 0.475, 0.14), paint(radius + 0.475, 0.14), paint(radius - 0.82, 0), paint(radius + 0.82, 0);
    } else if (IsMain(a) && zoom < 2) {
      paint(radius - a.half + 0.035, 0), paint(radius + a.half - 0.035, 0), paint(radius, 0);
    } else if (a.kind == ARM_STREET && zoom < 2) {
      paint(radius, 0.12);
    }
    return;
  }
  // Ends and junctions: every arm runs in to the hub and across the arms
  // that cross it; an end closes in a turning circle.
  for (int pass = 0; pass < 3; ++pass) {
    for (const NetArmGeo& a : arms) {
      double asphalt, pavement, kerbLine;
      Reach(arms, a, hubFor(a), &asphalt, &pavement, &kerbLine);
      if (pass == 0) SetColour(cr, KERB), Band(cr, a, 0, pavement, -a.half - a.kerb, a.half + a.kerb);
      if (pass == 1) SetColour(cr, PAVEMENT), Band(cr, a, 0, pavement, -a.half - a.kerb + 0.02, a.half + a.kerb - 0.02);
      if (pass == 2) SetColour(cr, ASPHALT), Band(cr, a, 0, asphalt, -a.half, a.half);
      cairo_fill(cr);
    }
    if (count == 1) {
      const NetArmGeo& a = arms[0];
      const NetVec hub = a.centre + a.inward * hubFor(a);
      // The turning circle is wider than the street and stays inside the
      // piece with its pavement.
      const double asphalt = std::min(a.half + (a.kind == ARM_FOURLANE ? 0.1 : 0.16), hubFor(a) - 0.1);
      const double r = pass == 0 ? asphalt + a.kerb : pass == 1 ? asphalt + a.kerb - 0.02 : asphalt;
      cairo_new_path(cr);
      cairo_arc(cr, hub.p, hub.q, r, 0, 2 * M_PI);
      SetColour(cr, pass == 0 ? KERB : pass == 1 ? PAVEMENT : ASPHALT);
      cairo_fill(cr);
    }
  }
  // Rounded kerbs where two arms at right angles meet, so that turning
  // vehicles keep to the carriageway.
  for (const NetArmGeo& a : arms)
    for (const NetArmGeo& b : arms) {
      if (b.side != (a.side + 1) % 4) continue;
      const double sa = (b.centre - a.centre).p * RightOf(a.inward).p + (b.centre - a.centre).q * RightOf(a.inward).q;
      const double sb = (a.centre - b.centre).p * RightOf(b.inward).p + (a.centre - b.centre).q * RightOf(b.inward).q;
      const NetVec ua = RightOf(a.inward) * (sa < 0 ? -1.0 : 1.0), ub = RightOf(b.inward) * (sb < 0 ? -1.0 : 1.0);
      const NetVec edgeA = a.centre + ua * a.half, edgeB = b.centre + ub * b.half;
      const NetVec k = std::abs(a.inward.p) > 0.5 ? NetVec{edgeB.p, edgeA.q} : NetVec{edgeA.p, edgeB.q};
      const double radius = std::min(a.kerb, b.kerb);
      // the corner lies beyond both edges, between the two arms
      const NetVec outA = ua, outB = ub;
      cairo_save(cr);
      Quad(cr, k, k + outA * radius, k + outA * radius + outB * radius, k + outB * radius);
      cairo_clip_preserve(cr);
      SetColour(cr, ASPHALT), cairo_fill(cr);
      const NetVec c = k + (outA + outB) * radius;
      cairo_new_path(cr);
      cairo_arc(cr, c.p, c.q, radius, 0, 2 * M_PI);
      SetColour(cr, PAVEMENT), cairo_fill(cr);
      cairo_restore(cr);
    }
  for (const NetArmGeo& a : arms) {
    double asphalt, pavement, kerbLine;
    Reach(arms, a, hubFor(a), &asphalt, &pavement, &kerbLine);
    const NetVec r = RightOf(a.inward);
    const double stop = count == 1 ? hubFor(a) - 0.1 : kerbLine - 0.04;
    if (a.kind == ARM_FOURLANE) {
      if (stop > 0.05) {
        Band(cr, a, 0, stop - 0.02, -0.06, 0.06), SetColour(cr, KERB), cairo_fill(cr);
        Band(cr, a, 0, stop - 0.02, -0.045, 0.045), SetColour(cr, MEDIAN), cairo_fill(cr);
        if (zoom < 2)
          for (double l : {-0.475, 0.475})
            Line(cr, a.centre + r * l, a.centre + a.inward * stop + r * l, lw, PAINT, 0.14, 0.12);
      }
    } else if (a.kind != ARM_ONEWAY && stop > 0.1 && zoom < 2) {
      Line(cr, a.centre, a.centre + a.inward * stop, lw, PAINT, 0.12, 0.1);
    }
    // a zebra crossing where the arm meets the kerbs of the arms across it
    if (count > 2 && zoom < 2) {
      const double t1 = kerbLine - 0.02, t0 = t1 - (zoom == 0 ? 0.1 : 0.12);
      if (t0 > -0.05) {
        const double bar = zoom == 0 ? 0.035 : 0.07, step = bar * 2;
        for (double l = -a.half + bar; l + bar <= a.half - bar * 0.5; l += step) {
          Band(cr, a, std::max(0.0, t0), t1, l, l + bar);
          SetColour(cr, PAINT);
          cairo_fill(cr);
        }
      }
    }
  }
}

void PaintBridge(cairo_t* cr, const NetPieceArt& n, int zoom) {
  // water under the whole piece, then a deck carrying the street
  const double W = n.width, D = n.depth;
  cairo_rectangle(cr, -0.5, -0.5, W + 1, D + 1);
  SetColour(cr, WATER), cairo_fill(cr);
  ArtRandom rnd(n.id * 5 + static_cast<uint32_t>(zoom));
  for (int i = 0; i < static_cast<int>(8 * W * D); ++i) {
    const double p = rnd.Range(0, W), q = rnd.Range(0, D);
    Line(cr, {p - 0.08, q + 0.08}, {p + 0.08, q - 0.08}, zoom == 2 ? 0.05 : 0.025, Hex(0xbfe0f4));
  }
  const double half = NetHalfWidth(n.arms[0]) + NetKerbWidth(n.arms[0]) + 0.04;
  cairo_rectangle(cr, 0, D / 2 - half - 0.04, W, 2 * half + 0.08);
  SetColour(cr, Hex(0x2f5f8e)), cairo_fill(cr);  // the deck's shadow on the water
  cairo_rectangle(cr, 0, D / 2 - half, W, 2 * half);
  SetColour(cr, DECK), cairo_fill(cr);
  NetPieceArt street = n;
  street.shape = NetShape::Road;
  cairo_save(cr);
  cairo_rectangle(cr, 0, D / 2 - half + 0.03, W, 2 * half - 0.06);
  cairo_clip(cr);
  PaintRoad(cr, street, zoom, false);
  cairo_restore(cr);
}

// Poles, railings and barriers whose foot lies in cell (a, b).
void BuildUpper(IsoScene& s, const NetPieceArt& n, int a, int b) {
  const double D = n.depth;
  auto inCell = [&](double p, double q) { return p >= a && p < a + 1 && q >= b && q < b + 1; };
  if (n.shape == NetShape::Bridge) {
    const double half = NetHalfWidth(n.arms[0]) + NetKerbWidth(n.arms[0]) + 0.02;
    for (double q : {D / 2 - half, D / 2 + half}) {
      if (!inCell(a + 0.5, q)) continue;
      s.Box(a, q - 0.012, a + 1, q + 0.012, 0.06, 0.075, Hex(0xd8d4cc), Hex(0xe4e0d8));
      for (double p = a + 0.1; p < a + 1; p += 0.25) s.Box(p - 0.012, q - 0.012, p + 0.012, q + 0.012, 0, 0.07, Hex(0xd0ccc4), Hex(0xd0ccc4));
      if (n.variant != 1) s.Pole(n.variant == 0 ? a + 0.12 : a + 0.88, q, 0.42, Hex(0x4a5058));
    }
  } else if (n.shape == NetShape::LevelCrossing) {
    BuildRailUpper(s, n, a, b);
  }
}

// The layers merged onto a street cell next to a junction at +x.
void PaintLayer(cairo_t* cr, const NetPieceArt& n, int zoom, const IsoProjection& proj) {
  const double lw = zoom == 0 ? 0.05 : zoom == 1 ? 0.07 : 0.1;
  ModelPlane(cr, proj);
  switch (n.shape) {
    case NetShape::StopLine: {
      const double q0 = n.variant == 1 ? 0.51 : 0.08, q1 = n.variant == 1 ? 0.74 : 0.92;
      cairo_rectangle(cr, 0.9 - lw, q0, lw, q1 - q0);
      SetColour(cr, PAINT), cairo_fill(cr);
      break;
    }
    case NetShape::BusLane: {
      // the outer lane of the near half (variants 0-2) or of the far one
      const bool far = n.variant >= 3;
      const double q0 = far ? 0.5 : 0.13, q1 = far ? 0.87 : 0.5;
      const double p0 = n.variant == 1 || n.variant == 3 ? 0.3 : 0, p1 = n.variant == 2 || n.variant == 4 ? 0.7 : 1;
      cairo_rectangle(cr, p0, q0, p1 - p0, q1 - q0);
      SetColour(cr, BUS), cairo_fill(cr);
      const double edge = far ? q0 + 0.02 : q1 - 0.02;
      Line(cr, {p0, edge}, {p1, edge}, lw * 0.8, PAINT);
      if (zoom == 0 && n.variant != 2 && n.variant != 4) {
        // a bus symbol painted on the lane
        const double qm = (q0 + q1) / 2;
        cairo_rectangle(cr, 0.45, qm - 0.08, 0.2, 0.16);
        SetColour(cr, PAINT), cairo_fill(cr);
        cairo_rectangle(cr, 0.48, qm - 0.05, 0.06, 0.1);
        SetColour(cr, BUS), cairo_fill(cr);
      }
      break;
    }
    default: break;
  }
  cairo_identity_matrix(cr);
  double x, y;
  switch (n.shape) {
    case NetShape::Light: {
      IsoScene s(proj);
      s.Pole(0.88, 0.84, 0.5, Hex(0x3a3e44));
      s.Box(0.86, 0.82, 0.9, 0.86, 0.34, 0.52, Hex(0x2a2c30), Hex(0x2a2c30));
      s.Draw(cr);
      const double u = proj.Geometry().yd;
      // One picture stands for every phase, so its lenses are dark: a lit
      // lamp would claim a colour the light does not show at that moment.
      // Each lens keeps a faint tint of its colour, red on top.
      const Rgb lamps[3] = {Hex(0x4a2a28), Hex(0x4a3e24), Hex(0x243e2c)};
      for (int i = 0; i < 3; ++i) {
        proj.Point(0.88, 0.84, 0.49 - i * 0.055, &x, &y);
        cairo_arc(cr, x, y, std::max(0.6, u * 0.055), 0, 2 * M_PI);
        SetColour(cr, lamps[i]), cairo_fill(cr);
      }
      break;
    }
    case NetShape::PrioritySign:
    case NetShape::GiveWaySign: {
      IsoScene s(proj);
      s.Pole(0.88, 0.84, 0.36, Hex(0x8a8e94));
      s.Draw(cr);
      proj.Point(0.88, 0.84, 0.42, &x, &y);
      const double u = proj.Geometry().yd * 0.2;  // half the sign's size
      cairo_new_path(cr);
      if (n.shape == NetShape::PrioritySign) {
        cairo_move_to(cr, x, y - u), cairo_line_to(cr, x + u, y), cairo_line_to(cr, x, y + u), cairo_line_to(cr, x - u, y);
        cairo_close_path(cr);
        SetColour(cr, Hex(0xf4f2ec)), cairo_fill(cr);
        const double v = u * 0.62;
        cairo_move_to(cr, x, y - v), cairo_line_to(cr, x + v, y), cairo_line_to(cr, x, y + v), cairo_line_to(cr, x - v, y);
        cairo_close_path(cr);
        SetColour(cr, Hex(0xf0c020)), cairo_fill(cr);
      } else {
        cairo_move_to(cr, x - u, y - u * 0.7), cairo_line_to(cr, x + u, y - u * 0.7), cairo_line_to(cr, x, y + u);
        cairo_close_path(cr);
        SetColour(cr, Hex(0xd0302a)), cairo_fill(cr);
        const double v = u * 0.5;
        cairo_move_to(cr, x - v, y - v * 0.6), cairo_line_to(cr, x + v, y - v * 0.6), cairo_line_to(cr, x, y + v * 0.9);
        cairo_close_path(cr);
        SetColour(cr, Hex(0xf4f2ec)), cairo_fill(cr);
      }
      break;
    }
    default: break;
  }
}

// The bus lanes round a four-lane bend: both outer lanes.
void PaintBusBend(cairo_t* cr, const NetPieceArt& n) {
  const std::vector<NetArmGeo> arms = NetArms(n);
  const NetVec corner = BendCorner(arms[0], arms[1]);
  const double radius = std::hypot(arms[0].centre.p - corner.p, arms[0].centre.q - corner.q);
  const double a0 = StartAngle(corner, arms[0], arms[1]);
  for (double r : {radius - 0.68, radius + 0.68}) {
    Arc(cr, corner, r, a0);
    cairo_set_line_width(cr, 0.34);
    SetColour(cr, BUS);
    cairo_stroke(cr);
  }
}

struct Views {
  // [part][zoom][rotation][layer]
  std::vector<IsoTileLayer> entries;
  int layers;
  IsoTileLayer& At(int part, int zoom, int rot, int layer) {
    return entries[static_cast<size_t>(((part * ISO_ZOOM_COUNT + zoom) * ISO_TURN_COUNT + rot) * layers + layer)];
  }
};

bool PutSprite(GameDataBuilder& out, uint32_t id, const Image16& image, int x0, int x1, int yEnd, int anchorX,
               int anchorY, uint8_t z, IsoTileLayer* entry) {
  int left, bottom;
  const Image16 piece = CropVisible(image, x0, x1, yEnd, &left, &bottom);
  *entry = {id, z, static_cast<int16_t>(left - anchorX), static_cast<int16_t>(anchorY - bottom), 0};
  return out.Put(id, WriteSprite(piece));
}

bool DrawViews(GameDataBuilder& out, const NetPieceArt& n, Views& views) {
  bool ok = true;
  const bool layer = n.shape >= NetShape::Light && n.shape <= NetShape::BusLane;
  for (int zoom = 0; zoom < ISO_ZOOM_COUNT; ++zoom)
    for (int rot = 0; rot < ISO_TURN_COUNT; ++rot) {
      PieceCanvas pc(n, zoom, rot);
      const IsoProjection proj = pc.Projection(n, zoom, rot);
      cairo_t* cr = pc.canvas.cr();
      cairo_save(cr);
      if (layer) {
        PaintLayer(cr, n, zoom, proj);
      } else {
        ModelPlane(cr, proj);
        switch (n.shape) {
          case NetShape::Bridge: PaintBridge(cr, n, zoom); break;
          case NetShape::LevelCrossing:
          case NetShape::Rail: PaintRail(cr, n, zoom); break;
          case NetShape::BusBend: PaintBusBend(cr, n); break;
          default: PaintRoad(cr, n, zoom, false); break;
        }
      }
      cairo_restore(cr);
      const Image16 floor = pc.canvas.ToImage();
      const int XD = pc.geo.XD(), YD = pc.geo.yd;
      for (int b = 0; b < n.depth; ++b)
        for (int a = 0; a < n.width; ++a) {
          double tp, tq;
          proj.Turn(a + 0.5, b + 0.5, &tp, &tq);
          const int ta = static_cast<int>(std::floor(tp)), tb = static_cast<int>(std::floor(tq));
          const int topX = pc.ox + (ta - tb) * XD, topY = pc.oy + (ta + tb) * YD;
          const int x0 = topX - (XD - 1), anchorY = topY + 2 * YD;
          const int part = b * n.width + a;
          const bool upperOnly = n.shape == NetShape::Light || n.shape == NetShape::PrioritySign ||
                                 n.shape == NetShape::GiveWaySign;
          Image16 cell = floor;
          if (!upperOnly) MaskToDiamond(cell, zoom, x0, topY);
          ok &= PutSprite(out, n.Sprite(part, zoom, rot, 0), cell, 0, cell.width, upperOnly ? cell.height : anchorY,
                          x0, anchorY, upperOnly ? Z_UPPER : layer || n.shape == NetShape::BusBend ? Z_MARKING : Z_FLOOR,
                          &views.At(part, zoom, rot, 0));
          if (n.layers > 1) {
            PieceCanvas upper(n, zoom, rot);
            IsoScene scene(upper.Projection(n, zoom, rot));
            BuildUpper(scene, n, a, b);
            scene.Draw(upper.canvas.cr());
            const Image16 image = upper.canvas.ToImage();
            ok &= PutSprite(out, n.Sprite(part, zoom, rot, 1), image, 0, image.width, image.height, x0, anchorY, Z_UPPER,
                            &views.At(part, zoom, rot, 1));
          }
        }
    }
  return ok;
}

// The lane graph as a "Micr" record for one zoom and drawing rotation:
// offsets from the anchor the map gives a tile's cells (the top corner of
// its turned footprint, XD to the left).
MicroLayoutContent Layout(const NetPieceArt& n, const std::vector<NetCell>& graph, int zoom, int rot) {
  const IsoZoomGeometry geo = ZoomGeometry(zoom);
  const IsoProjection proj(zoom, rot, n.width, n.depth, geo.XD() - 1, 0);
  MicroLayoutContent layout;
  for (size_t i = 0; i < graph.size(); ++i) {
    const NetCell& g = graph[i];
    MicroCellContent c;
    c.id = static_cast<uint16_t>(i + 1);
    c.laneKind = g.kind;
    double x, y;
    proj.Point(g.at.p, g.at.q, 0, &x, &y);
    c.x = static_cast<int16_t>(std::lround(x));
    c.y = static_cast<int16_t>(std::lround(y));
    for (size_t k = 0; k < g.successors.size() && k < 4; ++k) c.successors[k] = static_cast<uint32_t>(g.successors[k] + 1);
    c.predecessor = g.predecessor < 0 ? 0 : static_cast<uint32_t>(g.predecessor + 1);
    layout.cells.push_back(c);
  }
  // Vehicles are drawn from the back of the picture to the front.
  std::vector<size_t> order(layout.cells.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const MicroCellContent &ca = layout.cells[a], &cb = layout.cells[b];
    return ca.y != cb.y ? ca.y < cb.y : ca.x < cb.x;
  });
  for (size_t i = 0; i + 1 < order.size(); ++i) layout.cells[order[i]].nextRender = layout.cells[order[i + 1]].id;
  layout.firstRender = order.empty() ? 0 : layout.cells[order[0]].id;
  return layout;
}

bool ProducePiece(GameDataBuilder& out, const NetPieceArt& n) {
  Views views{std::vector<IsoTileLayer>(static_cast<size_t>(n.Parts() * ISO_ZOOM_COUNT * ISO_TURN_COUNT * n.layers)),
              n.layers};
  bool ok = DrawViews(out, n, views);
  if (n.firstLayout) {
    for (int zoom = 0; zoom < NET_LAYOUT_ZOOMS; ++zoom) {
      const std::vector<NetCell> graph = NetLaneGraph(n, zoom == 0 ? 1.0 / 3 : 0.5);
      for (int rot = 0; rot < ISO_TURN_COUNT; ++rot) {
        const Bytes blob = WriteMicroLayout(Layout(n, graph, zoom, rot));
        if (blob.empty()) std::fprintf(stderr, "zor_gamedata: %u has too many micro cells\n", n.id);
        ok &= !blob.empty() && out.Put(n.Layout(zoom, rot), blob);
      }
    }
  }
  std::vector<IsoTileContent> parts(static_cast<size_t>(n.Parts()), IsoTileContent(n.layers));
  for (int part = 0; part < n.Parts(); ++part)
    for (int zoom = 0; zoom < ISO_ZOOM_COUNT; ++zoom)
      for (int rot = 0; rot < ISO_TURN_COUNT; ++rot)
        for (int l = 0; l < n.layers; ++l) {
          IsoTileLayer e = views.At(part, zoom, rot, l);
          if (!n.group && l == 0 && zoom < NET_LAYOUT_ZOOMS) e.dataId = n.Layout(zoom, rot);
          parts[static_cast<size_t>(part)].At(zoom, rot, l) = e;
        }
  if (!n.group) return ok && out.Put(n.id, WriteIsoTile(parts[0]));
  IsoGroupContent group;
  group.width = n.width;
  group.depth = n.depth;
  for (int zoom = 0; zoom < NET_LAYOUT_ZOOMS; ++zoom)
    for (int rot = 0; rot < ISO_TURN_COUNT; ++rot) group.microLayouts[zoom][rot] = n.Layout(zoom, rot);
  for (int b = 0; b < n.depth; ++b)
    for (int a = 0; a < n.width; ++a) {
      ok &= out.Put(n.Tile(a, b), WriteIsoTile(parts[static_cast<size_t>(b * n.width + a)]));
      group.entries.push_back({static_cast<uint32_t>(a), static_cast<uint32_t>(b), 0, n.Tile(a, b)});
    }
  return ok && out.Put(n.id, WriteIsoGroup(group));
}

}  // namespace

bool ProduceStreetArt(GameDataBuilder& out) {
  bool ok = true;
  for (const NetPieceArt& n : NetPieces()) ok &= ProducePiece(out, n);
  return ok;
}

}  // namespace zorgen
