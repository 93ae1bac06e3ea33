// Iso tiles from arbitrary bytes, served as resource 1 beside a sprite with
// id 2: what validates is read entry by entry through both views and drawn
// layer by layer in every zoom and direction.
#include <cstdint>
#include <cstring>
#include <vector>

#include "../framework/fuzz_support.h"
#include "framework/qno_sprite.h"
#include "iso/iso_blob.h"
#include "iso/iso_geometry.h"
#include "iso/iso_tile.h"

namespace {

// A 4 x 2 sprite of one run per line; the first run's skip word is the
// upper half of the colour tag.
std::vector<uint8_t> Sprite() {
  std::vector<uint8_t> s(QNO_SPRITE_LINES_AT + 2, 0);
  qno_wr32(s.data(), 4, 4);
  qno_wr32(s.data(), 8, 2);
  qno_wr32(s.data(), 12, QNO_SPRITE_TAG_565);
  const uint16_t runs[] = {4, 0xF800, 0x07E0, 0x001F, 0xFFFF, 0, 0, 0, 4, 0xF800, 0x07E0, 0x001F, 0xFFFF, 0, 0};
  for (uint16_t w : runs) s.push_back(static_cast<uint8_t>(w)), s.push_back(static_cast<uint8_t>(w >> 8));
  if (!CIsoSprite::Validate(s.data(), static_cast<uint32_t>(s.size()))) __builtin_trap();
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint32_t n = static_cast<uint32_t>(size);
  if (!ValidateIsoTile(data, n)) return 0;
  static const std::vector<uint8_t> sprite = Sprite();
  QnoResourceManager* m = zorfuzz::Serve({{1, std::vector<uint8_t>(data, data + size)}, {2, sprite}});
  if (!m) return 0;
  const IsoTileBlob view = IsoTileBlob::FromResource(m, 1);
  const CIsoTile* tile = CIsoTile::Get(m, 1);
  if (view.Empty() || !tile) __builtin_trap();  // it validated
  QnoRenderBuffer& rb = zorfuzz::Buffer();
  for (TIsoZoomStufe zoom : {ISO_ZOOM_1, ISO_ZOOM_2, ISO_ZOOM_4}) {
    g_ZoomStufe = zoom;
    for (int rot = 0; rot < ISO_ROTATIONS; ++rot) {
      for (int layer = 0; layer <= tile->GetHighestLayer(); ++layer) {
        const IsoTileEntry e = view.Entry(IsoZoomIndex(), rot, layer);
        if (e.spriteId != tile->GetSpriteID(IsoZoomIndex(), rot, layer)) __builtin_trap();
        tile->GetZValue(IsoZoomIndex(), rot, layer);
        tile->GetDataResID(IsoZoomIndex(), rot, layer);
        int id = 0, sx = 0, sy = 0;
        tile->GetRenderSpriteXY(m, 30, 30, static_cast<unsigned char>(layer), static_cast<TIsoRichtung>(rot), id, sx, sy);
        tile->Render(&rb, m, 30, 30, static_cast<unsigned char>(layer), static_cast<TIsoRichtung>(rot));
      }
      tile->RenderFloor(&rb, m, 20, 40, static_cast<TIsoRichtung>(rot));
    }
  }
  g_ZoomStufe = ISO_ZOOM_1;
  if (std::memcmp(view.Data(), data, size) != 0) __builtin_trap();
  return 0;
}
