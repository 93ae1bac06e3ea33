// One frame: the map, the interface, the loading indicator and the cursor.
#include "framework/qno_display.h"
#include "framework/zor_seams.h"
#include "framework/zor_util.h"
#include "gui/render_resource.h"
#include "iso/iso_welt.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

int resetSmallMap = 1;

namespace {
// How long after a video look-up the frame stays as it was.
constexpr uint32_t kVideoHoldMs = 3000;
// The loading picture's box and its progress bar inside it.
constexpr int kLoadingBoxW = 287;
constexpr int kLoadingBoxH = 80;
}  // namespace

int CZorvaWorld::Render(QnoDisplay* display) {
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  const int width = display ? display->GetScreenWidth() : m_ScreenWidth;
  const int height = display ? display->GetScreenHeight() : m_ScreenHeight;
  if (m_RenderEmpty == 1 && m_StartupPhase != 0) {
    if (buffer) buffer->FillRect(0, 0, width, height, 0);
    return 0;
  }
  if (resetSmallMap) {
    CSmallMap::SetBitmapEmtpy();
    resetSmallMap = 0;
  }
  const uint32_t now = kfx_GetTicks();
  if (m_StartupPhase > 1 || (m_LastVideoTime != -1 && now - static_cast<uint32_t>(m_LastVideoTime) < kVideoHoldMs)) {
    if (!m_StartupWindow) return 0;
    m_LastVideoTime = -1;
  }
  if (!buffer) return 0;
  if (m_pIsoWelt) {
    const int type = m_pUserInt ? m_pUserInt->GetRenderType() : 0;
    if (type == 1)
      m_pIsoWelt->RenderSpriteList_Diagonal(display);
    else if (type == 2)
      m_pIsoWelt->Render(display);
    else
      m_pIsoWelt->RenderSpriteList_Left_Right(display);
  }
  if (m_pUserInt) m_pUserInt->Render(display);
  if (m_Loading == 1) {
    const int bx = (width - kLoadingBoxW) / 2, by = (height - kLoadingBoxH) / 2;
    CRenderResource::Render(display, m_pResourceManager, m_Language == 1 ? kLoadingPictureEN : kLoadingPictureDE,
                            bx + 143, by + 40, 2);
    const int p = static_cast<int>(m_LoadProgress * 255.0f);
    buffer->FillRect(bx + 16, by + 55, bx + 16 + p, by + 71, buffer->GetClosestColor(0, 255, 0));
  }
  if (m_pUserInt) {
    QnoSortedList list(1);
    m_pUserInt->RenderPass(0, &list, nullptr, 0, 0);
  }
  return 0;
}
