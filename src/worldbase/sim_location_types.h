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

// A building kind's capacities as the catalogue keeps them: its graphic, its
// kind and footprint, and nine capacity fields (the fourth holds the work
// places, the sixth the leisure places).
struct PotentialType {
  static constexpr int kFields = 9;
  virtual ~PotentialType() = default;
  uint16_t sizeClass = 0;
  uint16_t number = 0;
  int32_t resId = 0;
  int32_t objectType = 0;
  int32_t graphic = 0;  // 1 a multi-cell group resource, 2 a single tile
  int32_t kind = 0;
  SimLocationSizeType size;
  uint16_t capacity[kFields] = {};  // fields 1 to 9
};
