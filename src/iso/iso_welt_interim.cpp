// Interim bodies of the map's per-turn work, input and overlay drawing,
// so that the map links before they are built. Whoever builds them
// removes the matching body here.
#include <cstdio>

#include "iso/iso_welt.h"

// Rivers are re-created through the world's object factory, which is not
// built yet: a record with rivers cannot be read back and is refused.
int CIsoWelt::SerializeGameLoad(FILE* file) {
  uint32_t count = 0;
  if (!file || std::fread(&count, 4, 1, file) != 1) return 1;
  for (int x = 0; x < ISO_MAP_SIZE; ++x)
    for (int y = 0; y < ISO_MAP_SIZE; ++y)
      if (CIsoInfo* cell = GetIsoInfo(x, y)) cell->SetVisible(false, static_cast<unsigned short>(x), static_cast<unsigned short>(y));
  return count == 0 ? 0 : 1;
}
