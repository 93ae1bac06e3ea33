#include "iso/iso_tile.h"

#include <cstring>

#include "framework/qno_bytes.h"
#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "framework/qno_resource.h"
#include "framework/qno_sprite.h"
#include "iso/iso_blob.h"
#include "iso/iso_geometry.h"

namespace {

static_assert(CIsoTile::kHeaderSize == ISO_TILE_HEADER_SIZE && CIsoTile::kEntrySize == ISO_TILE_ENTRY_SIZE);
static_assert(CIsoTile::kAtHighestLayer == ISO_TILE_AT_HIGHEST_LAYER &&
              CIsoTile::kAtEntriesPerZoom == ISO_TILE_AT_ENTRIES_PER_ZOOM && CIsoTile::kAtSprite == ISO_ENTRY_AT_SPRITE &&
              CIsoTile::kAtZ == ISO_ENTRY_AT_Z && CIsoTile::kAtX == ISO_ENTRY_AT_X && CIsoTile::kAtY == ISO_ENTRY_AT_Y &&
              CIsoTile::kAtMicr == ISO_ENTRY_AT_MICR);
static_assert(CIsoGroup::kHeaderSize == ISO_GROUP_HEADER_SIZE && CIsoGroup::kEntrySize == ISO_GROUP_ENTRY_SIZE);

}  // namespace

CIsoTile* CIsoTile::Get(QnoResourceManager* resources, int resId) {
  if (!resources || resId < 1) return nullptr;
  return static_cast<CIsoTile*>(resources->GetResource(static_cast<unsigned>(resId), &ValidateIsoTile));
}


void CIsoTile::DrawSprite(QnoRenderBuffer* buffer, const void* sprite, int left, int top) {
  CIsoSprite::RenderClipped(buffer, sprite, left, top);
}

int CIsoTile::GetRenderSpriteXY(QnoResourceManager* resources, int x, int y, unsigned char layer, TIsoRichtung rot,
                                int& spriteId, int& sx, int& sy) const {
  return GetRenderSprite(resources, x, y, layer, rot, spriteId, sx, sy) ? 0 : 1;
}

const void* CIsoTile::GetRenderSprite(QnoResourceManager* resources, int x, int y, unsigned char layer,
                                      TIsoRichtung rot, int& spriteId, int& sx, int& sy) const {
  if (layer > GetHighestLayer()) return nullptr;
  const int zi = IsoZoomIndex();
  const uint32_t id = GetSpriteID(zi, rot, layer);
  if (id == 0) {
    QNO_ERROR0(QNO_SEV_ERROR, "Tile ResID == 0");
    return nullptr;
  }
  const void* sprite = CIsoSprite::FromResource(resources, id);
  if (!sprite) {
    QNO_ERROR1(QNO_SEV_FATAL, "Can't load Sprite with ResID %d", static_cast<int>(id));
    return nullptr;
  }
  spriteId = static_cast<int>(id);
  sx = x + GetXOffset(zi, rot, layer);
  sy = y - (GetYOffset(zi, rot, layer) + static_cast<int>(CIsoSprite::GetHeight(sprite)));
  return sprite;
}

int CIsoTile::Render(QnoRenderBuffer* buffer, QnoResourceManager* resources, int x, int y, unsigned char layer,
                     TIsoRichtung rot) const {
  if (layer > GetHighestLayer()) return -1;
  const int zi = IsoZoomIndex();
  const uint32_t id = GetSpriteID(zi, rot, layer);
  if (id == 0) {
    QNO_ERROR0(QNO_SEV_FATAL, "Tile ResID == 0");
    return -1;
  }
  const void* sprite = CIsoSprite::FromResource(resources, id);
  if (!sprite) return -1;
  const int h = static_cast<int>(CIsoSprite::GetHeight(sprite));
  DrawSprite(buffer, sprite, x + GetXOffset(zi, rot, layer), y - (GetYOffset(zi, rot, layer) + h));
  return h;
}

int CIsoTile::RenderFloor(QnoRenderBuffer* buffer, QnoResourceManager* resources, int x, int y,
                          TIsoRichtung rot) const {
  int height = 0;
  ForEachFloorSprite(resources, x, y, rot, [&](const void* sprite, int left, int top) {
    height = static_cast<int>(CIsoSprite::GetHeight(sprite));
    DrawSprite(buffer, sprite, left, top);
  });
  return height;
}

CIsoGroup* CIsoGroup::Get(QnoResourceManager* resources, int resId) {
  if (!resources || resId < 1) return nullptr;
  return static_cast<CIsoGroup*>(resources->GetResource(static_cast<unsigned>(resId), &ValidateIsoGroup));
}

int CIsoGroup::GetSizeX() const { return static_cast<int>(qno_rd32(this, ISO_GROUP_AT_WIDTH)); }
int CIsoGroup::GetSizeY() const { return static_cast<int>(qno_rd32(this, ISO_GROUP_AT_DEPTH)); }
int CIsoGroup::GetEntryCount() const { return static_cast<int>(qno_rd32(this, ISO_GROUP_AT_COUNT)); }

uint32_t CIsoGroup::GetDataResID(int zoomIndex, int rot) const {
  if (zoomIndex < 0 || zoomIndex > 1 || rot < 0 || rot > 3) return 0;
  return qno_rd32(this, ISO_GROUP_AT_MICR + 4 * static_cast<uint32_t>(zoomIndex * 4 + rot));
}

int CIsoGroup::FindObject(int x, int y, int layer) const {
  const int n = GetEntryCount();
  for (int i = 0; i < n; ++i) {
    const uint32_t at = kHeaderSize + static_cast<uint32_t>(i) * kEntrySize;
    if (static_cast<int>(qno_rd32(this, at)) == x && static_cast<int>(qno_rd32(this, at + 4)) == y &&
        static_cast<int>(qno_rd32(this, at + 8)) == layer)
      return static_cast<int>(qno_rd32(this, at + 12));
  }
  return -1;
}
