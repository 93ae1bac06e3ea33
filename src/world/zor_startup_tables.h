#pragma once
// The fixed tables the world fills at start-up: the graphics and capacities
// of the street types, the rows of the building catalogue and the rows of
// the interface's tool table.
#include <cstdint>

struct StreetTypeRow {
  int type;
  int straight, bend, crossing, tJunction, end;
  unsigned short capacity;
};
constexpr int kStreetTypeRows = 4;
extern const StreetTypeRow kStreetTypes[kStreetTypeRows];

// One building kind: its graphic, object type, size class, graphic flag (1 a
// group resource, 2 a single tile), kind number and capacity fields 1 to 8.
struct CatalogueRow {
  int resId;
  int objectType;
  int sizeClass;
  int graphic;
  int kind;
  int capacity[8];
};
constexpr int kCatalogueRows = 141;
extern const CatalogueRow kCatalogue[kCatalogueRows];

// One tool of the interface: tool and subtool number, the cursor animation
// shown while it is active, and its name; in the order they are defined.
struct ToolRow {
  int tool, subtool;
  int cursorResId;
  const char* name;
};
constexpr int kToolRows = 47;
extern const ToolRow kTools[kToolRows];
