#pragma once
// The size and height class of a simulation location, as the map's
// placement checks and the object factory pass them on.
#include <cstdint>

// The height class of a location's buildings; 0 asks for no height.
enum ESimLocationHeight : int32_t { SIM_HEIGHT_ANY = 0 };

// A footprint in cells.
struct SimLocationSizeType {
  uint16_t width = 0;
  uint16_t depth = 0;
};
