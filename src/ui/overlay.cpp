#include "ui/overlay.h"

#include "framework/qno_animation.h"
#include "framework/qno_display.h"
#include "framework/zor_seams.h"
#include "ui/ui_host.h"

CZorvaWorld* Overlay::m_pWorld = nullptr;

Overlay::Overlay() { m_pWorld = nullptr; }

Overlay::~Overlay() = default;

int Overlay::Create(CZorvaWorld* world, CUserInt* owner) {
  m_Owner = owner;
  m_pWorld = world;
  return 0;
}

int Overlay::Destroy() {
  m_Motor.reset();
  m_pWorld = nullptr;
  return 0;
}

QnoResourceManager* Overlay::GetCache() { return CUiHost::Get()->GetResourceManager(); }

QnoDisplay* Overlay::GetOverlayDisplay() { return CUiHost::Get()->GetDisplay(); }

bool Overlay::WorldNotReady() { return m_pWorld != nullptr && !CUiHost::Get()->IsReady(); }

int Overlay::SetSceneWindowDisplaySize(int width, int height) {
  m_SceneX = m_WindowX = m_DisplayX = width;
  m_SceneY = m_WindowY = m_DisplayY = height;
  m_Clip[0] = m_Clip[1] = 0;
  m_Clip[2] = width;
  m_Clip[3] = height;
  return 0;
}

void Overlay::SetCursorID(int id, int state) {
  if (id == 0) return;
  m_CursorID = static_cast<uint32_t>(id);
  m_CursorState = state;
  if (!m_Motor) {
    QnoResourceManager* resources = GetCache();
    if (!resources) return;
    m_Motor = std::make_unique<QnoAniMotor>(resources);
  }
  const uint32_t now = kfx_GetTicks();
  m_Motor->SetResourceID(static_cast<unsigned>(id), now);
  m_Motor->SetState(static_cast<unsigned>(state), now);
}

void Overlay::BackupCursor() {
  if (m_BackupCursorID == kNoBackup) m_BackupCursorID = m_CursorID;
}

void Overlay::RestoreCursor() {
  const uint32_t backup = m_BackupCursorID;
  m_BackupCursorID = kNoBackup;
  if (backup != kNoBackup && backup != 0) SetCursorID(static_cast<int>(backup), 0);
}

int Overlay::InputFilter(QnoInteractionEvent* event) {
  if (!event) return 1;
  const int x = event->x;
  const int y = event->y;
  switch (event->type) {
    case QNO_EVENT_MOUSEMOVE:
      m_RawMouseX = x;
      m_RawMouseY = y;
      m_PrevMouseX = m_MouseX;
      m_PrevMouseY = m_MouseY;
      m_MouseX = x;
      m_MouseY = y;
      if (!WorldNotReady()) OnMouseMove(x, y);
      return 1;
    case QNO_EVENT_BUTTONDOWN:
      m_MouseX = m_PrevMouseX = x;
      m_MouseY = m_PrevMouseY = y;
      return WorldNotReady() ? 1 : OnButtonDown(x, y);
    case QNO_EVENT_BUTTONUP:
      m_MouseFix = false;
      m_MouseX = m_PrevMouseX = x;
      m_MouseY = m_PrevMouseY = y;
      if (!WorldNotReady()) OnButtonUp(x, y);
      return 1;
    default:
      return 1;
  }
}

int Overlay::RenderCursor(void*) {
  if (!m_Motor) return 0;
  QnoDisplay* display = GetOverlayDisplay();
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  if (!buffer) return 1;
  const uint32_t now = kfx_GetTicks();
  int clip[4] = {0, 0, buffer->GetWidth(), buffer->GetHeight()};
  QnoAnimationContext context;
  context.manager = GetCache();
  context.renderBuffer = buffer;
  context.boundingRect = clip;
  context.tick = now;
  // The motor keeps the state SetCursorID entered: entering it again in
  // every frame would hold the animation on its first picture.
  QnoAnimation2D(&context, m_Motor.get(), m_MouseX, m_MouseY, 0.0f);
  return 0;
}
