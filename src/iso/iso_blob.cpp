#include "iso/iso_blob.h"

#include <cstring>

#include "framework/qno_bytes.h"
#include "framework/qno_resource.h"

namespace {

// Field reads that give 0 for anything past the end of the blob.
uint8_t Rd8(const uint8_t* d, uint32_t n, uint64_t at) { return d && qno_in_blob(at, 1, n) ? d[at] : 0; }
uint16_t Rd16(const uint8_t* d, uint32_t n, uint64_t at) {
  return d && qno_in_blob(at, 2, n) ? qno_rd16(d, static_cast<uint32_t>(at)) : 0;
}
uint32_t Rd32(const uint8_t* d, uint32_t n, uint64_t at) {
  return d && qno_in_blob(at, 4, n) ? qno_rd32(d, static_cast<uint32_t>(at)) : 0;
}

template <class View>
View ViewOf(QnoResourceManager* manager, unsigned id, QnoBlobValidator validate) {
  if (!manager) return View();
  const auto* data = static_cast<const uint8_t*>(manager->GetResource(id, validate));
  if (!data) return View();
  return View(data, manager->GetResourceLength(id));
}

}  // namespace

// ---------------------------------------------------------------- iso tile

bool ValidateIsoTile(const uint8_t* data, uint32_t length) {
  if (!data || length < ISO_TILE_HEADER_SIZE) return false;
  const uint32_t layers = data[ISO_TILE_AT_HIGHEST_LAYER] + 1u;
  const uint32_t perZoom = data[ISO_TILE_AT_ENTRIES_PER_ZOOM];
  if (perZoom == 0 || perZoom % ISO_ROTATIONS != 0) return false;
  if (layers > perZoom / ISO_ROTATIONS) return false;
  const uint64_t entries = uint64_t{ISO_ZOOM_INDEXES} * perZoom;
  return qno_in_blob(ISO_TILE_HEADER_SIZE, entries * ISO_TILE_ENTRY_SIZE, length);
}

IsoTileBlob IsoTileBlob::FromResource(QnoResourceManager* manager, unsigned id) {
  return ViewOf<IsoTileBlob>(manager, id, ValidateIsoTile);
}

uint8_t IsoTileBlob::HighestLayer() const { return Rd8(m_data, m_length, ISO_TILE_AT_HIGHEST_LAYER); }
uint8_t IsoTileBlob::EntriesPerZoom() const { return Rd8(m_data, m_length, ISO_TILE_AT_ENTRIES_PER_ZOOM); }

int IsoTileBlob::EntryIndex(int zoomIndex, int rotation, int layer) const {
  const int perZoom = EntriesPerZoom();
  const int perRotation = perZoom / ISO_ROTATIONS;
  if (zoomIndex < 0 || zoomIndex >= ISO_ZOOM_INDEXES || rotation < 0 || rotation >= ISO_ROTATIONS) return -1;
  if (layer < 0 || layer > HighestLayer() || layer >= perRotation) return -1;
  return zoomIndex * perZoom + rotation * perRotation + layer;
}

IsoTileEntry IsoTileBlob::Entry(int zoomIndex, int rotation, int layer) const {
  IsoTileEntry e;
  const int index = EntryIndex(zoomIndex, rotation, layer);
  if (index < 0) return e;
  const uint64_t at = ISO_TILE_HEADER_SIZE + uint64_t(index) * ISO_TILE_ENTRY_SIZE;
  if (!qno_in_blob(at, ISO_TILE_ENTRY_SIZE, m_length)) return e;
  e.spriteId = Rd32(m_data, m_length, at + ISO_ENTRY_AT_SPRITE);
  e.z = Rd8(m_data, m_length, at + ISO_ENTRY_AT_Z);
  e.x = static_cast<int16_t>(Rd16(m_data, m_length, at + ISO_ENTRY_AT_X));
  e.y = static_cast<int16_t>(Rd16(m_data, m_length, at + ISO_ENTRY_AT_Y));
  e.dataId = Rd32(m_data, m_length, at + ISO_ENTRY_AT_MICR);
  return e;
}

// ---------------------------------------------------------------- iso group

bool ValidateIsoGroup(const uint8_t* data, uint32_t length) {
  if (!data || length < ISO_GROUP_HEADER_SIZE) return false;
  if (qno_rd32(data, ISO_GROUP_AT_WIDTH) > ISO_GROUP_MAX_SIZE) return false;
  if (qno_rd32(data, ISO_GROUP_AT_DEPTH) > ISO_GROUP_MAX_SIZE) return false;
  const uint32_t count = qno_rd32(data, ISO_GROUP_AT_COUNT);
  if (count > ISO_GROUP_MAX_ENTRIES) return false;
  return qno_in_blob(ISO_GROUP_HEADER_SIZE, uint64_t{count} * ISO_GROUP_ENTRY_SIZE, length);
}

IsoGroupBlob IsoGroupBlob::FromResource(QnoResourceManager* manager, unsigned id) {
  return ViewOf<IsoGroupBlob>(manager, id, ValidateIsoGroup);
}

uint32_t IsoGroupBlob::Width() const { return Rd32(m_data, m_length, ISO_GROUP_AT_WIDTH); }
uint32_t IsoGroupBlob::Depth() const { return Rd32(m_data, m_length, ISO_GROUP_AT_DEPTH); }

uint32_t IsoGroupBlob::MicroLayoutId(int zoomIndex, int rotation) const {
  if (zoomIndex < 0 || zoomIndex >= ISO_GROUP_MICR_ZOOMS || rotation < 0 || rotation >= ISO_ROTATIONS) return 0;
  return Rd32(m_data, m_length, ISO_GROUP_AT_MICR + 4u * (zoomIndex * ISO_ROTATIONS + rotation));
}

uint32_t IsoGroupBlob::PartCount() const {
  uint32_t count = Rd32(m_data, m_length, ISO_GROUP_AT_COUNT);
  if (count > ISO_GROUP_MAX_ENTRIES) count = ISO_GROUP_MAX_ENTRIES;
  const uint32_t room = m_length > ISO_GROUP_HEADER_SIZE ? (m_length - ISO_GROUP_HEADER_SIZE) / ISO_GROUP_ENTRY_SIZE : 0;
  return count < room ? count : room;
}

IsoGroupPart IsoGroupBlob::Part(uint32_t index) const {
  IsoGroupPart p;
  if (index >= PartCount()) return p;
  const uint64_t at = ISO_GROUP_HEADER_SIZE + uint64_t{index} * ISO_GROUP_ENTRY_SIZE;
  p.x = Rd32(m_data, m_length, at);
  p.y = Rd32(m_data, m_length, at + 4);
  p.layer = Rd32(m_data, m_length, at + 8);
  p.tileId = Rd32(m_data, m_length, at + 12);
  return p;
}

int IsoGroupBlob::FindObject(int x, int y, int layer) const {
  const uint32_t n = PartCount();
  for (uint32_t i = 0; i < n; ++i) {
    const IsoGroupPart p = Part(i);
    if (p.x == static_cast<uint32_t>(x) && p.y == static_cast<uint32_t>(y) && p.layer == static_cast<uint32_t>(layer))
      return static_cast<int>(p.tileId);
  }
  return -1;
}

// ---------------------------------------------------------- micro layout

bool MicroLaneIsOuter(uint8_t laneKind) { return laneKind == 1 || laneKind == 4 || laneKind == 5 || laneKind == 8; }

bool ValidateMicroLayout(const uint8_t* data, uint32_t length) {
  if (!data || length < MICR_HEADER_SIZE) return false;
  if (std::memcmp(data, MICR_MAGIC, sizeof MICR_MAGIC) != 0) return false;
  if (qno_rd16(data, MICR_AT_VERSION) != MICR_VERSION) return false;
  const uint32_t count = data[MICR_AT_COUNT];
  return qno_in_blob(MICR_HEADER_SIZE, uint64_t{count} * MICR_CELL_SIZE, length);
}

MicroLayoutBlob MicroLayoutBlob::FromResource(QnoResourceManager* manager, unsigned id) {
  return ViewOf<MicroLayoutBlob>(manager, id, ValidateMicroLayout);
}

uint16_t MicroLayoutBlob::Version() const { return Rd16(m_data, m_length, MICR_AT_VERSION); }

uint32_t MicroLayoutBlob::CellCount() const {
  const uint32_t count = Rd8(m_data, m_length, MICR_AT_COUNT);
  const uint32_t room = m_length > MICR_HEADER_SIZE ? (m_length - MICR_HEADER_SIZE) / MICR_CELL_SIZE : 0;
  return count < room ? count : room;
}

uint32_t MicroLayoutBlob::FirstRenderId() const { return Rd32(m_data, m_length, MICR_AT_FIRST_RENDER); }

MicroCell MicroLayoutBlob::Cell(uint32_t index) const {
  MicroCell c;
  if (index >= CellCount()) return c;
  // CellCount counts only cells that lie whole inside the blob: the fields
  // of this one are read without checking each against the blob's end.
  const uint8_t* d = m_data + MICR_HEADER_SIZE + size_t{index} * MICR_CELL_SIZE;
  c.id = qno_rd16(d, MICR_CELL_AT_ID);
  c.laneKind = d[MICR_CELL_AT_LANE];
  c.x = static_cast<int16_t>(qno_rd16(d, MICR_CELL_AT_X));
  c.y = static_cast<int16_t>(qno_rd16(d, MICR_CELL_AT_Y));
  for (int i = 0; i < MICR_LINKS; ++i) {
    c.successors[i] = qno_rd32(d, MICR_CELL_AT_SUCCESSORS + 4u * i);
    c.conflicts[i] = qno_rd32(d, MICR_CELL_AT_CONFLICTS + 4u * i);
  }
  c.predecessor = qno_rd32(d, MICR_CELL_AT_PREDECESSOR);
  c.nextRender = qno_rd32(d, MICR_CELL_AT_NEXT_RENDER);
  c.locked = d[MICR_CELL_AT_LOCKED];
  c.successorCount = d[MICR_CELL_AT_SUCCESSOR_COUNT];
  return c;
}
