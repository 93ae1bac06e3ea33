#include "gui/render_resource.h"

#include "framework/qno_bitmap.h"
#include "framework/qno_bytes.h"
#include "framework/qno_display.h"
#include "framework/qno_resource.h"
#include "framework/qno_sprite.h"

int CRenderResource::Render(QnoDisplay* display, QnoResourceManager* resources, int resourceId, int x, int y,
                            EItemType type, ERenderType, CIsoWelt*, TIsoRichtung, int) {
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  if (!buffer || !resources || resourceId < 0) return 0;
  const unsigned id = static_cast<unsigned>(resourceId);
  switch (type) {
    case 2:
    case 20:
    case 30:
      if (QnoBitmap* picture = QnoBitmap::FromResource(resources, id)) buffer->DrawBitmap(picture, x, y, 1);
      break;
    case 5:
      // Sprites come validated, and every copy is clipped, so a damaged run
      // count cannot write outside the buffer.
      if (void* sprite = CIsoSprite::FromResource(resources, id)) CIsoSprite::RenderClipped(buffer, sprite, x, y);
      break;
    default:
      // Map groups and tiles are drawn by the isometric map, which is not
      // given here; other types draw nothing.
      break;
  }
  return 0;
}

int CRenderResource::GetResourceKind(QnoResourceManager* resources, int resourceId) {
  if (!resources || resourceId < 0) return -1;
  const unsigned id = static_cast<unsigned>(resourceId);
  const uint8_t* blob = static_cast<const uint8_t*>(resources->GetResource(id));
  if (!blob || resources->GetResourceLength(id) < 6) return -1;
  return qno_rd16(blob, 4);
}
