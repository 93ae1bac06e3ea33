// The vehicles of the street: cars, delivery vehicles, buses and the tram,
// each a small model of boxes drawn from 64 headings at the two nearer
// zooms, so that a vehicle keeps its shape and colours as it turns. The
// light matches the map's: walls facing the upper left of the screen are
// lit, walls facing the lower right lie in shade, roofs are brightest.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "gen/iso_art.h"
#include "gen/iso_paint.h"
#include "gen/vehicle_models.h"
#include "microsim/vehicle_sprites.h"

namespace zorgen {

namespace {

constexpr double PI = 3.14159265358979323846;

Rgb Shade(Rgb c, double k) { return {std::clamp(c.r * k, 0.0, 1.0), std::clamp(c.g * k, 0.0, 1.0), std::clamp(c.b * k, 0.0, 1.0)}; }

// Model (u forwards, v to the right, h up) to the canvas, with the ground
// middle of the vehicle at (ox, oy).
struct View {
  double xu, xv, yu, yv, yh;  // x = xu u + xv v; y = yu u + yv v - yh h
  double du, dv;              // towards the viewer: faces with n.d > 0 show
  double lu, lv;              // towards the light
  double ox = 0, oy = 0;
  void Point(double u, double v, double h, double* x, double* y) const {
    *x = ox + xu * u + xv * v;
    *y = oy + yu * u + yv * v - yh * h;
  }
  double Depth(double u, double v) const { return du * u + dv * v; }
};

// The view of a vehicle heading along the map angle `angle` (radians, from
// the map's +x towards +y) at a zoom: a map point (p, q, h) lies at
// ((p - q) xd, (p + q) yd - h vertical) like the map's cells.
View HeadingView(double angle, double xd, double yd, double vertical) {
  const double fp = std::cos(angle), fq = std::sin(angle);
  const double sp = -fq, sq = fp;  // right of the heading
  View v{};
  v.xu = (fp - fq) * xd, v.xv = (sp - sq) * xd;
  v.yu = (fp + fq) * yd, v.yv = (sp + sq) * yd;
  v.yh = vertical;
  v.du = fp + fq, v.dv = sp + sq;
  v.lu = fq - fp, v.lv = sq - sp;
  return v;
}

constexpr double LIGHT_MID = 0.84, LIGHT_AMP = 0.16, TOP_LIGHT = 1.08;

void Fill(cairo_t* cr, const View& view, const double (*pts)[3], int n, Rgb colour) {
  cairo_new_path(cr);
  for (int i = 0; i < n; ++i) {
    double x, y;
    view.Point(pts[i][0], pts[i][1], pts[i][2], &x, &y);
    i ? cairo_line_to(cr, x, y) : cairo_move_to(cr, x, y);
  }
  cairo_close_path(cr);
  SetColour(cr, colour);
  cairo_fill(cr);
}

// One box with its visible walls, bands and roof.
void DrawBox(cairo_t* cr, const View& view, const VehicleBox& b) {
  struct Wall {
    VehicleFace face;
    double nu, nv;
    double a[2], c[2];  // the wall's ends (u, v) from left to right seen from outside
  };
  const Wall walls[4] = {
      {VehicleFace::Front, 1, 0, {b.u1, b.v0}, {b.u1, b.v1}},
      {VehicleFace::Right, 0, 1, {b.u1, b.v1}, {b.u0, b.v1}},
      {VehicleFace::Back, -1, 0, {b.u0, b.v1}, {b.u0, b.v0}},
      {VehicleFace::Left, 0, -1, {b.u0, b.v0}, {b.u1, b.v0}},
  };
  for (const Wall& w : walls) {
    if (w.nu * view.du + w.nv * view.dv <= 1e-9) continue;
    const double light = LIGHT_MID + LIGHT_AMP * (w.nu * view.lu + w.nv * view.lv);
    const double quad[4][3] = {{w.a[0], w.a[1], b.h0}, {w.c[0], w.c[1], b.h0}, {w.c[0], w.c[1], b.h1}, {w.a[0], w.a[1], b.h1}};
    Fill(cr, view, quad, 4, Shade(b.body, light));
    for (const VehicleBand& band : b.bands) {
      if (!(band.faces & FaceBit(w.face))) continue;
      // A side wall's band runs from the back (t = 0) to the front (t = 1);
      // front and back bands from the left (t = 0) to the right.
      double t0 = band.t0, t1 = band.t1;
      double s0[2], s1[2];
      auto along = [&](double t, double* out) {
        if (w.face == VehicleFace::Right || w.face == VehicleFace::Left) {
          out[0] = b.u0 + (b.u1 - b.u0) * t, out[1] = w.a[1];
        } else {
          out[0] = w.a[0], out[1] = b.v0 + (b.v1 - b.v0) * t;
        }
      };
      along(t0, s0), along(t1, s1);
      const double h0 = b.h0 + (b.h1 - b.h0) * band.k0, h1 = b.h0 + (b.h1 - b.h0) * band.k1;
      const double q[4][3] = {{s0[0], s0[1], h0}, {s1[0], s1[1], h0}, {s1[0], s1[1], h1}, {s0[0], s0[1], h1}};
      Fill(cr, view, q, 4, Shade(band.colour, light));
    }
  }
  const double top[4][3] = {{b.u0, b.v0, b.h1}, {b.u1, b.v0, b.h1}, {b.u1, b.v1, b.h1}, {b.u0, b.v1, b.h1}};
  Fill(cr, view, top, 4, Shade(b.roof, TOP_LIGHT));
  for (const VehicleBand& band : b.bands) {
    if (!(band.faces & FaceBit(VehicleFace::Top))) continue;
    const double u0 = b.u0 + (b.u1 - b.u0) * band.t0, u1 = b.u0 + (b.u1 - b.u0) * band.t1;
    const double v0 = b.v0 + (b.v1 - b.v0) * band.k0, v1 = b.v0 + (b.v1 - b.v0) * band.k1;
    const double q[4][3] = {{u0, v0, b.h1}, {u1, v0, b.h1}, {u1, v1, b.h1}, {u0, v1, b.h1}};
    Fill(cr, view, q, 4, Shade(band.colour, TOP_LIGHT));
  }
}

// Boxes from the ground up, and on one level from the back to the front.
void DrawModel(cairo_t* cr, const View& view, const VehicleModel& model) {
  std::vector<const VehicleBox*> order;
  for (const VehicleBox& b : model.boxes) order.push_back(&b);
  std::stable_sort(order.begin(), order.end(), [&](const VehicleBox* a, const VehicleBox* b) {
    if (a->level != b->level) return a->level < b->level;
    return view.Depth((a->u0 + a->u1) / 2, (a->v0 + a->v1) / 2) < view.Depth((b->u0 + b->u1) / 2, (b->v0 + b->v1) / 2);
  });
  for (const VehicleBox* b : order) DrawBox(cr, view, *b);
}

// The drawn pixels cut out so that the box's middle lies at (cx, cy) (the
// ground middle plus the kind's offset); even sizes keep "centred" exact.
Image16 CutAround(const Image16& full, double cx, double cy) {
  int x0 = full.width, y0 = full.height, x1 = -1, y1 = -1;
  for (int y = 0; y < full.height; ++y)
    for (int x = 0; x < full.width; ++x)
      if (full.visible[static_cast<size_t>(y) * full.width + x])
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
  const int mx = static_cast<int>(std::lround(cx)), my = static_cast<int>(std::lround(cy));
  if (x1 < 0) return Image16(2, 2, 0, 0);
  // A clear line above and below: a first line that starts transparent but
  // shows pixels would make the writer put an empty line before it.
  const int hw = std::max({1, mx - x0, x1 + 1 - mx}), hh = std::max({1, my - y0, y1 + 1 - my}) + 1;
  Image16 out(2 * hw, 2 * hh, 0, 0);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      const int sx = mx - hw + x, sy = my - hh + y;
      if (sx < 0 || sy < 0 || sx >= full.width || sy >= full.height) continue;
      out.At(x, y) = full.pixels[static_cast<size_t>(sy) * full.width + sx];
      out.Visible(x, y) = full.visible[static_cast<size_t>(sy) * full.width + sx];
    }
  return out;
}

}  // namespace

double VehicleHeadingAngle(int dir) { return (dir - zorveh::VEHICLE_DIR_PLUS_X) * 2 * PI / zorveh::VEHICLE_DIRECTIONS; }

Image16 DrawVehicleSprite(const VehicleModel& model, int column, int dir, int offsetX, int offsetY) {
  const IsoZoomGeometry g = ZoomGeometry(column);
  const int size = column == 0 ? 96 : 48;
  Canvas canvas(size, size);
  View view = HeadingView(VehicleHeadingAngle(dir), g.XD(), g.yd, g.Vertical());
  view.ox = size / 2.0, view.oy = size * 0.6;
  DrawModel(canvas.cr(), view, model);
  return CutAround(canvas.ToImage(), view.ox + offsetX, view.oy + offsetY);
}

Image16 DrawVehiclePicture(const VehicleModel& model, int width, int height) {
  // Seen from the right front, steeper than the map, scaled to the frame.
  Image16 best;
  for (double yd = 40; yd > 4; yd -= 1) {
    Canvas canvas(width, height);
    cairo_t* cr = canvas.cr();
    View view = HeadingView(-0.45, 2 * yd, yd, 5.0 * yd);
    double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
    for (const VehicleBox& b : model.boxes)
      for (double u : {b.u0, b.u1})
        for (double v : {b.v0, b.v1})
          for (double h : {b.h0, b.h1}) {
            double x, y;
            view.Point(u, v, h, &x, &y);
            x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
          }
    if (x1 - x0 > width - 4 || y1 - y0 > height - 4) continue;
    view.ox = width / 2.0 - (x0 + x1) / 2, view.oy = height / 2.0 - (y0 + y1) / 2;
    SetColour(cr, Hex(0xdfe3e6));
    cairo_paint(cr);
    SetColour(cr, Hex(0x8a9096));
    cairo_rectangle(cr, 0, height * 0.72, width, height * 0.28);
    cairo_fill(cr);
    DrawModel(cr, view, model);
    best = canvas.ToImage();
    break;
  }
  return best;
}

bool ProduceVehicleArt(GameDataBuilder& out) {
  using namespace zorveh;
  bool ok = true;
  for (int slot = 0; slot < VEHICLE_DRAWN_KIND_COUNT; ++slot) {
    const int kind = VEHICLE_DRAWN_KINDS[slot];
    const VehicleModel model = VehicleModelOfKind(kind);
    for (int column = 0; column < VEHICLE_DRAWN_COLUMNS; ++column) {
      const VehicleOffset off = VehicleSpriteOffset(kind, column);
      for (int dir = 0; dir < VEHICLE_DIRECTIONS; ++dir) {
        const Image16 image = DrawVehicleSprite(model, column, dir, off.x, off.y);
        ok &= out.Put(VehicleSpriteId(kind, column, VehicleEntry(dir)), WriteSprite(image));
      }
    }
  }
  const std::pair<uint32_t, int> pictures[] = {
      {VEHICLE_PICTURE_BUS, VEHICLE_KIND_BUS},
      {VEHICLE_PICTURE_BUS_LOWFLOOR, VEHICLE_KIND_BUS_LOWFLOOR},
      {VEHICLE_PICTURE_BUS_H2, VEHICLE_KIND_BUS_H2},
      {VEHICLE_PICTURE_BUS_ELECTRIC, VEHICLE_KIND_BUS_ELECTRIC},
      {VEHICLE_PICTURE_TRAM, VEHICLE_KIND_TRAM},
  };
  for (const auto& [id, kind] : pictures) {
    const Image16 image = DrawVehiclePicture(VehicleModelOfKind(kind), VEHICLE_PICTURE_WIDTH, VEHICLE_PICTURE_HEIGHT);
    if (image.width == 0) {
      std::fprintf(stderr, "zor_gamedata: the picture of vehicle kind %d does not fit\n", kind);
      ok = false;
      continue;
    }
    ok &= out.Put(id, WriteQbmp16(image, KEY_565, true));
  }
  return ok;
}

}  // namespace zorgen
