#include "writers/iso_writers.h"

namespace zorgen {

Bytes WriteIsoTile(const IsoTileContent& tile) {
  // E = 4 x layers must fit the header's byte.
  if (tile.layerCount < 1 || tile.layerCount * ISO_TURNS > 255) return {};
  if (tile.layers.size() != static_cast<size_t>(ISO_ZOOMS * ISO_TURNS * tile.layerCount)) return {};
  ByteWriter w;
  w.Zeros(16);
  w.U8(tile.layerCount - 1);
  w.U8(tile.layerCount * ISO_TURNS);
  w.Zeros(6);
  for (const IsoTileLayer& e : tile.layers) {
    w.Zeros(8);
    w.U32(e.spriteId);
    w.U8(0);
    w.U8(e.z);
    w.U16(static_cast<uint16_t>(e.x));
    w.U16(static_cast<uint16_t>(e.y));
    w.U16(0);
    w.U32(e.dataId);
    w.Zeros(4);
  }
  return std::move(w.Data());
}

Bytes WriteIsoGroup(const IsoGroupContent& group) {
  if (group.entries.size() > 255) return {};
  ByteWriter w;
  w.U32(0);
  w.U32(group.width);
  w.U32(group.depth);
  for (const auto& zoom : group.microLayouts)
    for (uint32_t id : zoom) w.U32(id);
  w.Zeros(16);
  w.U32(static_cast<uint32_t>(group.entries.size()));
  for (const IsoGroupEntry& e : group.entries) {
    w.U32(e.x);
    w.U32(e.y);
    w.U32(e.layer);
    w.U32(e.tileId);
  }
  return std::move(w.Data());
}

Bytes WriteMicroLayout(const MicroLayoutContent& layout) {
  if (layout.cells.size() > 255) return {};
  ByteWriter w;
  w.Raw("Micr", 4);
  w.U16(13);
  w.U16(0);
  w.Zeros(8);
  w.U32(static_cast<uint32_t>(layout.cells.size()));
  w.U32(layout.firstRender);
  for (const MicroCellContent& c : layout.cells) {
    const size_t start = w.Size();
    w.U16(c.id);
    w.U8(c.laneKind);
    w.U8(0);
    w.U16(static_cast<uint16_t>(c.x));
    w.U16(static_cast<uint16_t>(c.y));
    w.Zeros(16);
    int successors = 0;
    for (uint32_t s : c.successors) {
      w.U32(s);
      successors += s != 0;
    }
    w.U32(c.predecessor);
    for (uint32_t k : c.conflicts) w.U32(k);
    w.U32(c.nextRender);
    w.U8(c.locked);
    w.Zeros(2);
    w.U8(successors);
    w.Zeros(100 - (w.Size() - start));
  }
  return std::move(w.Data());
}

}  // namespace zorgen
