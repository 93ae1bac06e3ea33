#pragma once
// Byte layouts of the map's resource blobs: the iso tile (one cell's sprites
// per zoom, rotation and sprite layer), the iso group (a multi-cell object:
// its size, its micro-cell layouts and the tile of each covered cell) and the
// "Micr" micro-cell layout (the lane graph vehicles drive along on a tile).
//
// All fields are little-endian and read through bounds-checked accessors, so
// a view never reads outside the blob even when built on one that was not
// validated: a field beyond the end reads as 0 (an entry as the empty entry).
// The validators check every field that decides where later reads land;
// hand them to QnoResourceManager::GetResource(id, validator).
#include <cstdint>

class QnoResourceManager;

// ---------------------------------------------------------------- iso tile

constexpr uint32_t ISO_TILE_HEADER_SIZE = 24;
constexpr uint32_t ISO_TILE_ENTRY_SIZE = 28;
constexpr uint32_t ISO_TILE_AT_HIGHEST_LAYER = 16;  // u8 L: layers 0..L
constexpr uint32_t ISO_TILE_AT_ENTRIES_PER_ZOOM = 17;  // u8 E, a multiple of 4
constexpr int ISO_ZOOM_INDEXES = 3;
constexpr int ISO_ROTATIONS = 4;

// Entry fields, relative to the entry.
constexpr uint32_t ISO_ENTRY_AT_SPRITE = 8;
constexpr uint32_t ISO_ENTRY_AT_Z = 13;
constexpr uint32_t ISO_ENTRY_AT_X = 14;
constexpr uint32_t ISO_ENTRY_AT_Y = 16;
constexpr uint32_t ISO_ENTRY_AT_MICR = 20;

// z values: up to this one a sprite layer belongs to the floor; exactly the
// middle one is the middle layer; above it the upper layers.
constexpr uint8_t ISO_Z_FLOOR_MAX = 4;
constexpr uint8_t ISO_Z_MIDDLE = 5;

struct IsoTileEntry {
  uint32_t spriteId = 0;  // run-length sprite; 0 = none
  uint8_t z = 0;          // draw-order key of the sprite layer
  int16_t x = 0;          // sprite's left edge right of the cell's anchor
  int16_t y = 0;          // sprite's bottom edge this far above the anchor
  uint32_t dataId = 0;    // micro-cell layout; meaningful in layer 0 only
};

// True when the header is there, E is a non-zero multiple of 4, every layer
// 0..L fits inside one rotation's E/4 entries (so no entry index can reach
// past the table) and all 3E entries lie inside the blob.
bool ValidateIsoTile(const uint8_t* data, uint32_t length);

class IsoTileBlob {
 public:
  IsoTileBlob() = default;
  IsoTileBlob(const uint8_t* data, uint32_t length) : m_data(data), m_length(length) {}
  // The tile resource `id` after validation; an empty view when it is
  // missing or fails.
  static IsoTileBlob FromResource(QnoResourceManager* manager, unsigned id);

  bool IsValid() const { return m_data && ValidateIsoTile(m_data, m_length); }
  bool Empty() const { return !m_data; }
  const uint8_t* Data() const { return m_data; }
  uint32_t Length() const { return m_length; }

  uint8_t HighestLayer() const;    // L
  uint8_t EntriesPerZoom() const;  // E
  // zoomIndex x E + rotation x E/4 + layer; -1 when any part is out of range.
  int EntryIndex(int zoomIndex, int rotation, int layer) const;
  // The entry, or the empty entry when the index is out of range.
  IsoTileEntry Entry(int zoomIndex, int rotation, int layer) const;

 private:
  const uint8_t* m_data = nullptr;
  uint32_t m_length = 0;
};

// ---------------------------------------------------------------- iso group

constexpr uint32_t ISO_GROUP_HEADER_SIZE = 64;
constexpr uint32_t ISO_GROUP_ENTRY_SIZE = 16;
constexpr uint32_t ISO_GROUP_AT_WIDTH = 4;
constexpr uint32_t ISO_GROUP_AT_DEPTH = 8;
constexpr uint32_t ISO_GROUP_AT_MICR = 12;  // u32[2][4] by zoom index 0..1, rotation
constexpr uint32_t ISO_GROUP_AT_COUNT = 60;
constexpr uint32_t ISO_GROUP_MAX_ENTRIES = 255;
// No group can be placed that is larger than the map.
constexpr uint32_t ISO_GROUP_MAX_SIZE = 128;
constexpr int ISO_GROUP_MICR_ZOOMS = 2;

struct IsoGroupPart {
  uint32_t x = 0;  // cell within the unturned group, 0..W-1
  uint32_t y = 0;  // 0..D-1
  uint32_t layer = 0;
  uint32_t tileId = 0;
};

// True when the header is there, W and D are at most 128 (0 is allowed: the
// map refuses to place such a group), N is at most 255 and all N entries lie
// inside the blob.
bool ValidateIsoGroup(const uint8_t* data, uint32_t length);

class IsoGroupBlob {
 public:
  IsoGroupBlob() = default;
  IsoGroupBlob(const uint8_t* data, uint32_t length) : m_data(data), m_length(length) {}
  static IsoGroupBlob FromResource(QnoResourceManager* manager, unsigned id);

  bool IsValid() const { return m_data && ValidateIsoGroup(m_data, m_length); }
  bool Empty() const { return !m_data; }

  uint32_t Width() const;
  uint32_t Depth() const;
  // Layout id for zoom index 0..1 and rotation 0..3; 0 for every other
  // zoom index (the farthest zoom has no micro simulation).
  uint32_t MicroLayoutId(int zoomIndex, int rotation) const;
  // The declared entry count, but never more entries than the blob holds.
  uint32_t PartCount() const;
  IsoGroupPart Part(uint32_t index) const;
  // Tile id of the entry with exactly this x, y and layer; -1 when none.
  int FindObject(int x, int y, int layer) const;

 private:
  const uint8_t* m_data = nullptr;
  uint32_t m_length = 0;
};

// ---------------------------------------------------------- micro layout

constexpr char MICR_MAGIC[4] = {'M', 'i', 'c', 'r'};
constexpr uint16_t MICR_VERSION = 13;
constexpr uint32_t MICR_HEADER_SIZE = 24;
constexpr uint32_t MICR_CELL_SIZE = 100;
constexpr uint32_t MICR_AT_VERSION = 4;
constexpr uint32_t MICR_AT_COUNT = 16;  // u32, only the low byte counts
constexpr uint32_t MICR_AT_FIRST_RENDER = 20;
constexpr int MICR_LINKS = 4;

// Cell fields, relative to the cell.
constexpr uint32_t MICR_CELL_AT_ID = 0;
constexpr uint32_t MICR_CELL_AT_LANE = 2;
constexpr uint32_t MICR_CELL_AT_X = 4;
constexpr uint32_t MICR_CELL_AT_Y = 6;
constexpr uint32_t MICR_CELL_AT_SUCCESSORS = 24;
constexpr uint32_t MICR_CELL_AT_PREDECESSOR = 40;
constexpr uint32_t MICR_CELL_AT_CONFLICTS = 44;
constexpr uint32_t MICR_CELL_AT_NEXT_RENDER = 60;
constexpr uint32_t MICR_CELL_AT_LOCKED = 64;
constexpr uint32_t MICR_CELL_AT_SUCCESSOR_COUNT = 67;

// Lane kinds.
constexpr uint8_t MICR_LANE_NONE = 0;
constexpr uint8_t MICR_LANE_SPECIAL = 99;
// 1, 4, 5 and 8 are outer lanes (a bus lane takes them).
bool MicroLaneIsOuter(uint8_t laneKind);

struct MicroCell {
  uint16_t id = 0;
  uint8_t laneKind = 0;
  int16_t x = 0;  // pixels from the tile's anchor
  int16_t y = 0;
  uint32_t successors[MICR_LINKS] = {};  // 0 = none
  uint32_t predecessor = 0;
  uint32_t conflicts[MICR_LINKS] = {};
  uint32_t nextRender = 0;  // 0 = end of the render chain
  uint8_t locked = 0;
  // As stored. It can disagree with the successor slots and exceed 4: a
  // loader counts the successors it resolves instead of trusting it.
  uint8_t successorCount = 0;
};

// True for the magic "Micr", version 13 and the header's cell count (its low
// byte) of 100-byte cells inside the blob.
bool ValidateMicroLayout(const uint8_t* data, uint32_t length);

class MicroLayoutBlob {
 public:
  MicroLayoutBlob() = default;
  MicroLayoutBlob(const uint8_t* data, uint32_t length) : m_data(data), m_length(length) {}
  static MicroLayoutBlob FromResource(QnoResourceManager* manager, unsigned id);

  bool IsValid() const { return m_data && ValidateMicroLayout(m_data, m_length); }
  bool Empty() const { return !m_data; }
  const uint8_t* Data() const { return m_data; }

  uint16_t Version() const;
  // The low byte of the stored count, but never more cells than the blob holds.
  uint32_t CellCount() const;
  uint32_t FirstRenderId() const;
  MicroCell Cell(uint32_t index) const;

 private:
  const uint8_t* m_data = nullptr;
  uint32_t m_length = 0;
};
