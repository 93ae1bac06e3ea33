// Starts the real game in the current directory (its settings file points at
// the game data and sets the screen size and language), lays out a small
// town, opens the windows named on the command line over the main screen and
// writes the frame as a PNG:
//   zor_mainshot <output.png> [window id ...]
#include <SDL.h>
#include <cairo.h>

#include <cstdio>
#include <cstdlib>

#include "framework/qno_log.h"
#include "showcase_town.h"
#include "iso/iso_welt.h"
#include "ui/user_int.h"
#include "world/zor_frame_loop.h"
#include "world/zor_world.h"

namespace {

using showcase::Building;
using showcase::kOrigin;
using showcase::kTown;

bool WritePng(SDL_Surface* s, const char* path) {
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, s->w, s->h);
  unsigned char* data = cairo_image_surface_get_data(out);
  const int stride = cairo_image_surface_get_stride(out);
  for (int y = 0; y < s->h; ++y)
    for (int x = 0; x < s->w; ++x) {
      const uint16_t p = reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(s->pixels) + y * s->pitch)[x];
      const uint32_t r = (p >> 11) << 3, g = ((p >> 5) & 63) << 2, b = (p & 31) << 3;
      reinterpret_cast<uint32_t*>(data + y * stride)[x] = r << 16 | g << 8 | b;
    }
  cairo_surface_mark_dirty(out);
  const bool ok = cairo_surface_write_to_png(out, path) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(out);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <output.png> [window id ...]\n", argv[0]);
    return 2;
  }
  OpenErrorLog("errors.log");
  CZorvaWorld world;
  world.Create();
  world.OnStartup();
  for (const Building& b : kTown)
    world.CreateObject(OBJ_FIXED_BUILDING, b.resId, CIsoRichtung(b.dir), kOrigin + b.x, kOrigin + b.y,
                       static_cast<ESimLocationHeight>(0), nullptr, 0, nullptr, 0, -1);
  world.GetIsoWelt()->SetIsoCenter(kOrigin + 7, kOrigin + 6);
  // The game bar pinned and shown, as after a click on its pin button.
  if (CUserInt* ui = world.GetUserInt()) ui->selObj.panelPinned = ui->selObj.panelShown = 1;
  for (int i = 2; i < argc; ++i) world.ActivateWindow(std::atoi(argv[i]));
  CZorFrameLoop loop(&world);
  for (int i = 0; i < 10; ++i) loop.Iterate();
  SDL_Surface* screen = world.GetScreen();
  const bool ok = screen && CUserInt::topWindow && WritePng(screen, argv[1]);
  world.OnShutdown();
  world.Destroy();
  return ok ? 0 : 1;
}
