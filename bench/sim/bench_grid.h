#pragma once
// What the demand-model benchmarks share: a grid network of crossings and
// two-way streets, and the process's peak resident memory.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sim/sim_welt.h"

// The next number of the benchmarks' own linear congruential sequence.
inline unsigned NextGridRandom(unsigned& state) { return (state = state * 1103515245u + 12345u) >> 8; }

// Adds w x h crossings and, between neighbours, streets in both directions
// 150..550 m long, drawn from `state`, which the caller may draw on further.
inline void AddGridStreets(CSimWelt& world, int w, int h, unsigned& state) {
  for (int i = 0; i < w * h; ++i) world.AddCrossing(0);
  for (int y = 0; y < h; ++y)
    for (int c = 0; c < w; ++c) {
      const short id = static_cast<short>(y * w + c + 1);
      if (c + 1 < w) {
        const int len = 150 + static_cast<int>(NextGridRandom(state) % 400);
        world.AddStreet(id, 1, static_cast<short>(id + 1), 3, len, 0);
        world.AddStreet(static_cast<short>(id + 1), 3, id, 1, len, 0);
      }
      if (y + 1 < h) {
        const int len = 150 + static_cast<int>(NextGridRandom(state) % 400);
        world.AddStreet(id, 2, static_cast<short>(id + w), 0, len, 0);
        world.AddStreet(static_cast<short>(id + w), 0, id, 2, len, 0);
      }
    }
}

// The process's peak resident memory in kB, 0 when it cannot be read.
inline long PeakRssKb() {
  FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return 0;
  char line[256];
  long kb = 0;
  while (std::fgets(line, sizeof line, f))
    if (std::strncmp(line, "VmHWM:", 6) == 0) kb = std::atol(line + 6);
  std::fclose(f);
  return kb;
}
