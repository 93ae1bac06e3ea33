// Starts the real game in the current directory (its settings file points at
// the game data), lays out a small town through the world's own factory,
// runs a few frames and saves the screen:  zor_mapshot <output.bmp> [zoom level 1, 2 or 4]
// Run it under Xvfb to look at what a player would see.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "framework/qno_log.h"
#include "iso/iso_welt.h"
#include "world/zor_frame_loop.h"
#include "world/zor_world.h"

namespace {

struct Building {
  int resId, x, y, dir;
};

// The same little town the art preview draws, at the middle of the map.
constexpr Building kTown[] = {
    {37749, 1, 1, 0},  {18510, 2, 1, 1},  {11896, 3, 1, 2},  {11897, 4, 1, 3},  {11949, 1, 3, 0},
    {14023, 3, 3, 0},  {35759, 6, 1, 0},  {14073, 9, 1, 1},  {11871, 12, 1, 0}, {10302, 13, 1, 0},
    {18383, 14, 1, 0}, {39546, 12, 4, 0}, {10328, 9, 4, 0},  {16918, 5, 5, 0},  {26509, 1, 9, 0},
    {30008, 4, 9, 0},  {11878, 4, 10, 1}, {18332, 8, 8, 0},  {30540, 10, 8, 0}, {12555, 1, 5, 0},
    {12513, 6, 10, 0}, {30083, 6, 8, 0},  {29793, 8, 11, 0}, {25669, 12, 11, 0},
};
constexpr int kOrigin = 56;

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <output.bmp> [zoom level 1, 2 or 4]\n", argv[0]);
    return 2;
  }
  OpenErrorLog("errors.log");
  CZorvaWorld world;
  world.Create();
  world.OnStartup();
  int placed = 0;
  for (const Building& b : kTown)
    if (world.CreateObject(OBJ_FIXED_BUILDING, b.resId, CIsoRichtung(b.dir), kOrigin + b.x, kOrigin + b.y,
                           static_cast<ESimLocationHeight>(0), nullptr, 0, nullptr, 0, -1))
      ++placed;
  // The map starts at level 2; level 1 is the closest view.
  const int level = argc > 2 ? std::atoi(argv[2]) : 1;
  if (level == 1) world.GetIsoWelt()->UserIntZoomOut();
  if (level == 4) world.GetIsoWelt()->UserIntZoomIn();
  world.GetIsoWelt()->SetIsoCenter(kOrigin + 7, kOrigin + 6);
  CZorFrameLoop loop(&world);
  for (int i = 0; i < 10; ++i) loop.Iterate();
  const int saved = SDL_SaveBMP(world.GetScreen(), argv[1]);
  std::printf("%d of %d buildings placed\n", placed, static_cast<int>(sizeof kTown / sizeof kTown[0]));
  world.OnShutdown();
  world.Destroy();
  return saved == 0 && placed > 0 ? 0 : 1;
}
