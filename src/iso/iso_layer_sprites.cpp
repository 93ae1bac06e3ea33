#include "iso/iso_layer_sprites.h"

#include "iso/iso_tile.h"

void CIsoLayerSprites::Grow() {
  std::vector<Layer> old;
  old.swap(m_table);
  m_table.assign(old.empty() ? kFirstCapacity : 2 * old.size(), Layer{});
  for (const Layer& e : old)
    if (e.key != 0) *Slot(e.key) = e;
}

const CIsoLayerSprites::Layer* CIsoLayerSprites::Add(QnoResourceManager* resources, int resId, int rot, int layer) {
  const uint32_t generation = resources ? resources->Generation() : 0;
  if (resources != m_resources || generation != m_generation) {
    m_table.clear();
    m_count = 0;
    m_resources = resources;
    m_generation = generation;
  }
  if (m_table.empty()) Grow();
  const int zoomIndex = IsoZoomIndex();
  const uint32_t key = Key(resId, zoomIndex, rot, layer);
  Layer* e = Slot(key);
  if (e->key == key) return e;
  // Kept at most half full, so that a search for a new key ends soon.
  if (2 * (m_count + 1) > m_table.size()) {
    Grow();
    e = Slot(key);
  }
  ++m_count;
  *e = Layer{key, false, 0, 0, 0, nullptr};
  if (const CIsoTile* tile = CIsoTile::Get(resources, resId)) {
    e->tile = true;
    int id = 0, sx = 0, sy = 0;
    if (const void* sprite = tile->GetRenderSprite(resources, 0, 0, static_cast<unsigned char>(layer),
                                                   static_cast<TIsoRichtung>(rot & 3), id, sx, sy)) {
      e->sprite = sprite;
      e->spriteId = id;
      e->dx = sx;
      e->dy = sy;
    }
  }
  return e;
}
