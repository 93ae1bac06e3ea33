// Lays out the generated vehicle sprites as a contact sheet: one row per
// sprite kind with a picture of its own, the 16 directions the micro
// simulation turns vehicles to at zoom level 1, then the same at the farther
// zooms, each drawn centred on its cell point plus its offset as the game
// draws it; the line vehicles' interface pictures below. Scaled 2:1.
//   zor_vehiclesheet <gamedata dir> <output.png>
#include <cairo.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/qno_bitmap.h"
#include "framework/qno_resource.h"
#include "framework/qno_sprite.h"
#include "microsim/vehicle_sprites.h"

namespace {

constexpr int CELL0_W = 44, CELL0_H = 40, CELL1_W = 24, CELL1_H = 40, SHOWN = 16, SCALE = 2;
// The street art's asphalt and a lane line.
constexpr uint16_t ASPHALT = 0x5AEC, LANE = 0x7bcf;

struct Sheet {
  int w, h;
  std::vector<uint16_t> px;
  Sheet(int w_, int h_) : w(w_), h(h_), px(static_cast<size_t>(w_) * h_, 0xce79) {}
  void Rect(int x, int y, int rw, int rh, uint16_t c) {
    for (int j = y; j < y + rh; ++j)
      for (int i = x; i < x + rw; ++i) px[static_cast<size_t>(j) * w + i] = c;
  }
  bool Sprite(const void* s, int cx, int cy) {
    const int sw = static_cast<int>(CIsoSprite::GetWidth(s)), sh = static_cast<int>(CIsoSprite::GetHeight(s));
    const int left = cx - sw / 2, top = cy - sh / 2;
    if (left < 0 || top < 0 || left + sw > w || top + sh > h) return false;
    CIsoSprite::PutXYClipped16BitSprite(&px[static_cast<size_t>(top) * w + left], s, 0, 0, sw, sh, w * 2);
    return true;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <gamedata dir> <output.png>\n", argv[0]);
    return 2;
  }
  QnoResourceManager m;
  char path[1024];
  QnoMakeValidPathname(argv[1], "ZORVANTA", ".GLA", path, sizeof path);
  if (m.AddWadFile(path) != 0) {
    std::fprintf(stderr, "cannot open %s\n", path);
    return 1;
  }
  using namespace zorveh;
  const int rows = VEHICLE_DRAWN_KIND_COUNT;
  const int w = SHOWN * (CELL0_W + CELL1_W) + 8, h = rows * CELL0_H + 48;
  Sheet sheet(w, h);
  int missing = 0;
  for (int r = 0; r < rows; ++r) {
    const int kind = VEHICLE_DRAWN_KINDS[r];
    for (int column = 0; column < VEHICLE_DRAWN_COLUMNS; ++column) {
      const int cw = column ? CELL1_W : CELL0_W, ch = column ? CELL1_H : CELL0_H;
      const int x0 = column ? SHOWN * CELL0_W + 8 : 0;
      for (int i = 0; i < SHOWN; ++i) {
        const int x = x0 + i * cw, y = r * ch;
        sheet.Rect(x + 1, y + 1, cw - 2, ch - 2, ASPHALT);
        sheet.Rect(x + cw / 2, y + 1, 1, ch - 2, LANE);
        const int dir = i * VEHICLE_DIRECTIONS / SHOWN;
        const void* s = CIsoSprite::FromResource(&m, VehicleSpriteId(kind, column, VehicleEntry(dir)));
        const VehicleOffset off = VehicleSpriteOffset(kind, column);
        if (!s || !sheet.Sprite(s, x + cw / 2 + off.x, y + ch * 5 / 8 + off.y)) ++missing;
      }
    }
  }
  const uint32_t pictures[] = {VEHICLE_PICTURE_BUS, VEHICLE_PICTURE_BUS_H2, VEHICLE_PICTURE_BUS_LOWFLOOR,
                               VEHICLE_PICTURE_BUS_ELECTRIC, VEHICLE_PICTURE_TRAM};
  for (int i = 0; i < 5; ++i) {
    QnoBitmap* b = QnoBitmap::FromResource(&m, pictures[i]);
    if (!b) {
      ++missing;
      continue;
    }
    const int bx = 8 + i * (VEHICLE_PICTURE_WIDTH + 8), by = rows * CELL0_H + 8;
    const uint8_t* pixels = b->GetPixelPtr();
    const int rowBytes = b->GetRowBytes(), bh = b->GetSizeY();
    for (int y = 0; y < bh && y < VEHICLE_PICTURE_HEIGHT; ++y) {
      const uint8_t* row = pixels + static_cast<size_t>(b->IsBottomFirst() ? bh - 1 - y : y) * rowBytes;
      for (int x = 0; x < b->GetSizeX() && x < VEHICLE_PICTURE_WIDTH; ++x)
        sheet.px[static_cast<size_t>(by + y) * w + bx + x] = static_cast<uint16_t>(row[2 * x] | row[2 * x + 1] << 8);
    }
  }
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w * SCALE, h * SCALE);
  unsigned char* data = cairo_image_surface_get_data(out);
  const int stride = cairo_image_surface_get_stride(out);
  for (int y = 0; y < h * SCALE; ++y)
    for (int x = 0; x < w * SCALE; ++x) {
      const uint16_t p = sheet.px[static_cast<size_t>(y / SCALE) * w + x / SCALE];
      const uint32_t r = (p >> 11) * 255 / 31, g = ((p >> 5) & 63) * 255 / 63, b = (p & 31) * 255 / 31;
      reinterpret_cast<uint32_t*>(data + y * stride)[x] = r << 16 | g << 8 | b;
    }
  cairo_surface_mark_dirty(out);
  const bool ok = cairo_surface_write_to_png(out, argv[2]) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(out);
  if (missing) std::fprintf(stderr, "%d sprites or pictures missing or too large\n", missing);
  return ok && !missing ? 0 : 1;
}
