#include "gen/iso_rails.h"

#include <cmath>
#include <functional>
#include <vector>

#include "gen/net_model.h"

namespace zorgen {

namespace {

const Rgb MEADOW = Hex(0x6f9d48);
const Rgb GRAVEL = Hex(0x8f877a);
const Rgb GRAVEL_EDGE = Hex(0x7a7366);
const Rgb TIE = Hex(0x5e4a3a);
const Rgb STEEL = Hex(0xc4c2bc);
const Rgb STEEL_SHADE = Hex(0x6e6a64);
const Rgb TARMAC = Hex(0x5a5d62);
const Rgb WALK = Hex(0xc8c2b4);
const Rgb KERBSTONE = Hex(0x9a958a);
const Rgb WHITE = Hex(0xf2f0e6);
const Rgb SIGNAL_RED = Hex(0xd0302a);

// Half widths of the track in cells.
constexpr double kBed = 0.46;
constexpr double kTie = 0.31;
constexpr double kGauge = 0.15;

// A track's centre line: the point and unit heading at distance t.
struct TrackPath {
  double length;
  std::function<void(double t, NetVec* at, NetVec* heading)> eval;
};

TrackPath Straight(NetVec a, NetVec b) {
  const double len = std::hypot(b.p - a.p, b.q - a.q);
  const NetVec h{(b.p - a.p) / len, (b.q - a.q) / len};
  return {len, [a, h](double t, NetVec* at, NetVec* heading) {
            *at = a + h * t;
            *heading = h;
          }};
}

// A quarter circle about `centre` from angle a0 turning by +pi/2 (sweep 1) or
// -pi/2 (sweep -1).
TrackPath Quarter(NetVec centre, double radius, double a0, int sweep) {
  return {radius * M_PI / 2, [=](double t, NetVec* at, NetVec* heading) {
            const double a = a0 + sweep * t / radius;
            *at = {centre.p + radius * std::cos(a), centre.q + radius * std::sin(a)};
            *heading = {-std::sin(a) * sweep, std::cos(a) * sweep};
          }};
}

void StrokeOffset(cairo_t* cr, const TrackPath& path, double offset, double width, Rgb colour) {
  const int steps = std::max(2, static_cast<int>(path.length * 24));
  cairo_new_path(cr);
  for (int i = 0; i <= steps; ++i) {
    NetVec at, h;
    path.eval(path.length * i / steps, &at, &h);
    const NetVec p = at + RightOf(h) * offset;
    if (i == 0)
      cairo_move_to(cr, p.p, p.q);
    else
      cairo_line_to(cr, p.p, p.q);
  }
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  SetColour(cr, colour);
  cairo_stroke(cr);
}

void Bed(cairo_t* cr, const TrackPath& path) {
  StrokeOffset(cr, path, 0, 2 * kBed + 0.06, GRAVEL_EDGE);
  StrokeOffset(cr, path, 0, 2 * kBed, GRAVEL);
}

void TiesAndRails(cairo_t* cr, const TrackPath& path, int zoom, bool ties = true) {
  if (ties && zoom < 2) {
    const double pitch = zoom == 0 ? 0.12 : 0.16;
    for (double t = pitch / 2; t < path.length; t += pitch) {
      NetVec at, h;
      path.eval(t, &at, &h);
      const NetVec r = RightOf(h);
      const double w = 0.035;
      cairo_new_path(cr);
      const NetVec a = at + r * kTie - h * w, b = at + r * kTie + h * w, c = at - r * kTie + h * w,
                   d = at - r * kTie - h * w;
      cairo_move_to(cr, a.p, a.q);
      cairo_line_to(cr, b.p, b.q);
      cairo_line_to(cr, c.p, c.q);
      cairo_line_to(cr, d.p, d.q);
      cairo_close_path(cr);
      SetColour(cr, TIE);
      cairo_fill(cr);
    }
  }
  const double w = zoom == 2 ? 0.08 : zoom == 1 ? 0.05 : 0.035;
  for (double side : {-kGauge, kGauge}) {
    StrokeOffset(cr, path, side, w * 1.6, STEEL_SHADE);
    StrokeOffset(cr, path, side - w * 0.2, w, STEEL);
  }
}

void Meadow(cairo_t* cr, const NetPieceArt& n, int zoom) {
  const double W = n.width, D = n.depth;
  cairo_rectangle(cr, -0.5, -0.5, W + 1, D + 1);
  SetColour(cr, MEADOW);
  cairo_fill(cr);
  ArtRandom rnd(n.id * 7 + static_cast<uint32_t>(zoom));
  for (int i = 0; i < static_cast<int>(60 * W * D); ++i) {
    const double p = rnd.Range(0, W), q = rnd.Range(0, D), s = rnd.Range(0.015, 0.03);
    cairo_rectangle(cr, p, q, s, s);
    SetColour(cr, rnd.Unit() < 0.5 ? MEADOW.Scaled(1.16) : MEADOW.Scaled(0.84), 0.9);
    cairo_fill(cr);
  }
}

// The paths of a group: along p through the middle of its depth; the curve
// joins the +x side to the +y side; the T junction (4 x 3) runs its through
// track at q = 1 and a wye to the +y side at p = 2; the end stops short of
// the far side.
std::vector<TrackPath> Paths(const NetPieceArt& n) {
  const double W = n.width, D = n.depth, mid = D / 2;
  switch (n.variant) {
    case 1:  // curve about the far corner
      return {Quarter({W, D}, W - 1, -M_PI / 2, -1)};
    case 2:  // T junction: through track at q = 1, a wye to +y at p = 2
      return {Straight({0, 1}, {W, 1}), Quarter({1, 2}, 1, -M_PI / 2, 1), Quarter({3, 2}, 1, -M_PI / 2, -1),
              Straight({2, 2}, {2, D})};
    case 3:  // end: the track leaves towards -x
      return {Straight({0, mid}, {1.45, mid})};
    default:
      return {Straight({0, mid}, {W, mid})};
  }
}

void BufferStop(cairo_t* cr, const NetPieceArt& n) {
  const double mid = n.depth / 2.0;
  cairo_rectangle(cr, 1.45, mid - 0.34, 0.12, 0.68);
  SetColour(cr, Hex(0x3a3a3a));
  cairo_fill(cr);
  for (int i = 0; i < 4; ++i) {
    cairo_rectangle(cr, 1.47, mid - 0.3 + i * 0.15, 0.08, 0.15);
    SetColour(cr, i % 2 ? WHITE : SIGNAL_RED);
    cairo_fill(cr);
  }
}

// The street across a level crossing, along q at p0..p1.
void CrossingStreet(cairo_t* cr, const NetPieceArt& n, int zoom, double p0, double p1) {
  const double D = n.depth;
  cairo_rectangle(cr, p0 - 0.12, 0, p1 - p0 + 0.24, D);
  SetColour(cr, WALK);
  cairo_fill(cr);
  cairo_rectangle(cr, p0 - 0.02, 0, p1 - p0 + 0.04, D);
  SetColour(cr, KERBSTONE);
  cairo_fill(cr);
  cairo_rectangle(cr, p0, 0, p1 - p0, D);
  SetColour(cr, TARMAC);
  cairo_fill(cr);
  if (zoom == 2) return;
  // stop lines before the track and the centre line between them
  const double mid = D / 2, stop = kBed + 0.12;
  for (double q : {mid - stop - 0.04, mid + stop}) {
    cairo_rectangle(cr, p0 + 0.04, q, p1 - p0 - 0.08, 0.04);
    SetColour(cr, WHITE);
    cairo_fill(cr);
  }
  const double pm = (p0 + p1) / 2;
  for (double q : {0.05, mid + stop + 0.12}) {
    const double q1 = q == 0.05 ? mid - stop - 0.12 : D - 0.05;
    for (double s = q; s + 0.1 <= q1; s += 0.22) {
      cairo_rectangle(cr, pm - 0.02, s, 0.04, 0.1);
      SetColour(cr, WHITE);
      cairo_fill(cr);
    }
  }
  // a St Andrew's cross painted on each lane before the stop line
  if (zoom == 0)
    for (double q : {0.35, D - 0.35})
      for (double lane : {p0 + (pm - p0) / 2, pm + (p1 - pm) / 2}) {
        const double s = 0.1;
        cairo_new_path(cr);
        cairo_move_to(cr, lane - s, q - s);
        cairo_line_to(cr, lane + s, q + s);
        cairo_move_to(cr, lane + s, q - s);
        cairo_line_to(cr, lane - s, q + s);
        cairo_set_line_width(cr, 0.03);
        SetColour(cr, WHITE);
        cairo_stroke(cr);
      }
}

// Where the street runs over a level crossing.
void CrossingSpan(const NetPieceArt& n, double* p0, double* p1) {
  const bool four = n.arms[1] == ARM_FOURLANE;
  const double half = four ? 0.92 : NetHalfWidth(ARM_STREET) + 0.04;
  const double centre = four ? 2.0 : 1.5;
  *p0 = centre - half;
  *p1 = centre + half;
}

}  // namespace

void PaintRail(cairo_t* cr, const NetPieceArt& n, int zoom) {
  Meadow(cr, n, zoom);
  if (n.shape == NetShape::LevelCrossing) {
    const TrackPath track = Straight({0, n.depth / 2.0}, {static_cast<double>(n.width), n.depth / 2.0});
    Bed(cr, track);
    TiesAndRails(cr, track, zoom);
    double p0, p1;
    CrossingSpan(n, &p0, &p1);
    CrossingStreet(cr, n, zoom, p0, p1);
    // rubber panels between and beside the rails, the rails through them
    const double mid = n.depth / 2.0;
    cairo_rectangle(cr, p0, mid - kGauge - 0.12, p1 - p0, 2 * (kGauge + 0.12));
    SetColour(cr, Hex(0x46484c));
    cairo_fill(cr);
    cairo_save(cr);
    cairo_rectangle(cr, p0, 0, p1 - p0, n.depth);
    cairo_clip(cr);
    TiesAndRails(cr, track, zoom, false);
    cairo_restore(cr);
    return;
  }
  const std::vector<TrackPath> paths = Paths(n);
  for (const TrackPath& p : paths) Bed(cr, p);
  for (const TrackPath& p : paths) TiesAndRails(cr, p, zoom);
  if (n.variant == 3) BufferStop(cr, n);
}

void BuildRailUpper(IsoScene& s, const NetPieceArt& n, int a, int b) {
  if (n.shape != NetShape::LevelCrossing) return;
  double p0, p1;
  CrossingSpan(n, &p0, &p1);
  const double mid = n.depth / 2.0, gap = kBed + 0.16;
  auto inCell = [&](double p, double q) { return p >= a && p < a + 1 && q >= b && q < b + 1; };
  // a barrier on each side of the track, lowered across the lane arriving
  // there, with a warning cross on its post
  struct Bar {
    double p, q, toP;
  };
  const Bar bars[] = {{p1 + 0.08, mid - gap, (p0 + p1) / 2 - 0.02}, {p0 - 0.08, mid + gap, (p0 + p1) / 2 + 0.02}};
  for (const Bar& bar : bars) {
    if (!inCell(bar.p, bar.q)) continue;
    s.Box(bar.p - 0.03, bar.q - 0.03, bar.p + 0.03, bar.q + 0.03, 0, 0.14, Hex(0xe8e4dc), SIGNAL_RED);
    const double lo = std::min(bar.p, bar.toP), hi = std::max(bar.p, bar.toP);
    const int pieces = 6;
    for (int i = 0; i < pieces; ++i) {
      const double pa = lo + (hi - lo) * i / pieces, pb = lo + (hi - lo) * (i + 1) / pieces;
      const Rgb c = i % 2 ? WHITE : SIGNAL_RED;
      s.Box(pa, bar.q - 0.012, pb, bar.q + 0.012, 0.1, 0.12, c, c);
    }
    s.Pole(bar.p, bar.q + (bar.q < mid ? -0.08 : 0.08), 0.42, Hex(0x8a8c90));
    s.Board(bar.p, bar.q + (bar.q < mid ? -0.08 : 0.08), 0.36, 0.34, 0.3, WHITE, SIGNAL_RED, "X");
  }
}

}  // namespace zorgen
