#include "framework/qno_display.h"

#include <algorithm>
#include <utility>

#include "framework/qno_bitmap.h"
#include "framework/qno_log.h"
#include "framework/qno_sprite.h"
#include "framework/zor_seams.h"

bool QnoIsSurface565(const SDL_Surface* surface) {
  if (!surface || !surface->format) return false;
  const SDL_PixelFormat* f = surface->format;
  return f->BitsPerPixel == 16 && f->Rmask == 0xF800 && f->Gmask == 0x07E0 && f->Bmask == 0x001F;
}

// ---------------------------------------------------------------- QnoRenderBuffer

int QnoRenderBuffer::Create(CZorvaWorld*, const QnoDisplayCreateStruct* cs, SDL_Surface* surface) {
  m_width = cs ? cs->screenWidth : 0;
  m_height = cs ? cs->screenHeight : 0;
  m_pitch = m_width * 2;
  m_size = static_cast<uint32_t>(m_height) * static_cast<uint32_t>(m_pitch);
  m_topDown = 1;
  m_bitsPerPixel = 16;
  m_colorFormat = QNO_COLOR_565;
  SetClipRect(0, 0, m_width, m_height);
  SetSurface(surface);
  EndWatch();
  return 0;
}

void QnoRenderBuffer::EndWatch() {
  if (m_touched == &m_watchBoxes) m_touched = nullptr;
  m_watch = 0;
}

bool QnoRenderBuffer::RedrawChangesNothing(const QnoDrawMark& mark, const QnoBox& box) const {
  return m_overlayRuns && mark.stretch != 0 && mark.folds == m_touchedFolds &&
         m_overlayRuns->RedrawChangesNothing(mark, box);
}

unsigned QnoRenderBuffer::StartWatch() {
  m_watchBoxes.clear();
  m_touched = &m_watchBoxes;
  m_overlayRuns = nullptr;
  m_watchPixels = m_surface ? m_surface->pixels : nullptr;
  // 0 names no watch.
  if (++m_watchSerial == 0) ++m_watchSerial;
  m_watch = m_watchSerial;
  return m_watch;
}

void QnoRenderBuffer::SetSurface(SDL_Surface* surface) {
  // What was drawn into another surface, or a surface of another size,
  // says nothing of this one.
  if (surface != m_surface || !surface || surface->w != m_width || surface->h != m_height ||
      surface->pitch != m_pitch)
    EndWatch();
  m_surface = nullptr;
  if (surface && !QnoIsSurface565(surface)) {
    QNO_ERROR(QNO_SEV_ERROR, "The screen surface is not 16-bit 565 (%d bits); nothing is drawn.",
              surface->format ? surface->format->BitsPerPixel : 0);
    return;
  }
  m_surface = surface;
  if (!surface) return;
  // The surface decides how much memory there is: a create record that
  // promised more would draw past it.
  const bool fullClip = m_clipLeft == 0 && m_clipTop == 0 && m_clipRight == m_width && m_clipBottom == m_height;
  m_width = surface->w;
  m_height = surface->h;
  m_pitch = surface->pitch;
  m_size = static_cast<uint32_t>(m_height) * static_cast<uint32_t>(m_pitch);
  if (fullClip)
    SetClipRect(0, 0, m_width, m_height);
  else
    SetClipRect(m_clipLeft, m_clipTop, m_clipRight, m_clipBottom);
}

int QnoRenderBuffer::FlipBuffer() {
  ++m_frameCount;
  const uint32_t now = kfx_GetTicks();
  if (now - m_lastFpsTick > 1000) {
    m_fps = m_frameCount;
    m_frameCount = 0;
    m_lastFpsTick = now;
  }
  if (!m_surface) return -1;
  // A memory surface has nothing to show.
  if (m_surface != SDL_GetVideoSurface()) return 0;
  return SDL_Flip(m_surface);
}

uint32_t QnoRenderBuffer::GetClosestColor(uint8_t r, uint8_t g, uint8_t b) const {
  return static_cast<uint32_t>((r & 0xF8) << 8 | (g & 0xFC) << 3 | b >> 3);
}

void QnoRenderBuffer::SetClipRect(int left, int top, int right, int bottom) {
  m_clipLeft = std::clamp(left, 0, m_width);
  m_clipTop = std::clamp(top, 0, m_height);
  m_clipRight = std::clamp(right, m_clipLeft, m_width);
  m_clipBottom = std::clamp(bottom, m_clipTop, m_height);
}

void QnoRenderBuffer::GetClipRect(int* left, int* top, int* right, int* bottom) const {
  if (left) *left = m_clipLeft;
  if (top) *top = m_clipTop;
  if (right) *right = m_clipRight;
  if (bottom) *bottom = m_clipBottom;
}

void QnoRenderBuffer::AddTouched(int left, int top, int right, int bottom) {
  left = std::max(left, m_clipLeft);
  top = std::max(top, m_clipTop);
  right = std::min(right, m_clipRight);
  bottom = std::min(bottom, m_clipBottom);
  if (left >= right || top >= bottom) return;
  if (m_touched->size() >= kMaxTouchedBoxes) {
    QnoBox all = m_touched->front();
    for (const QnoBox& b : *m_touched)
      all = {std::min(all.left, b.left), std::min(all.top, b.top), std::max(all.right, b.right),
             std::max(all.bottom, b.bottom)};
    m_touched->assign(1, all);
    ++m_touchedFolds;
  }
  m_touched->push_back({left, top, right, bottom});
}

void QnoRenderBuffer::FillRect(int x1, int y1, int x2, int y2, uint32_t pixel) {
  uint8_t* base = GetBuffer();
  if (!base) return;
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  x1 = std::max(x1, m_clipLeft);
  x2 = std::min(x2, m_clipRight);
  y1 = std::max(y1, m_clipTop);
  y2 = std::min(y2, m_clipBottom);
  if (x1 >= x2 || y1 >= y2) return;
  NoteTouched(x1, y1, x2, y2);
  const uint16_t p = static_cast<uint16_t>(pixel);
  for (int y = y1; y < y2; ++y) {
    uint16_t* row = reinterpret_cast<uint16_t*>(base + static_cast<ptrdiff_t>(y) * m_pitch);
    std::fill(row + x1, row + x2, p);
  }
}

void QnoRenderBuffer::FrameRect(int x1, int y1, int x2, int y2, uint32_t pixel) {
  uint8_t* base = GetBuffer();
  if (!base) return;
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const int left = std::max(x1, m_clipLeft);
  const int right = std::min(x2, m_clipRight - 1);
  const int top = std::max(y1, m_clipTop);
  const int bottom = std::min(y2, m_clipBottom - 1);
  if (left > right || top > bottom) return;
  NoteTouched(left, top, right + 1, bottom + 1);
  const uint16_t p = static_cast<uint16_t>(pixel);
  auto row = [&](int y) { return reinterpret_cast<uint16_t*>(base + static_cast<ptrdiff_t>(y) * m_pitch); };
  if (y1 == top) std::fill(row(y1) + left, row(y1) + right + 1, p);
  if (y2 == bottom) std::fill(row(y2) + left, row(y2) + right + 1, p);
  if (x1 == left)
    for (int y = top; y <= bottom; ++y) row(y)[x1] = p;
  if (x2 == right)
    for (int y = top; y <= bottom; ++y) row(y)[x2] = p;
}

// ---------------------------------------------------------------- QnoDisplay

QnoDisplay::~QnoDisplay() { delete m_renderBuffer; }

int QnoDisplay::Create(CZorvaWorld* world, const QnoDisplayCreateStruct* cs, SDL_Surface* surface) {
  if (!m_renderBuffer) m_renderBuffer = new QnoRenderBuffer;
  m_renderBuffer->Create(world, cs, surface);
  if (cs) {
    m_screenWidth = cs->screenWidth;
    m_screenHeight = cs->screenHeight;
    m_create6 = cs->reserved6;
    m_create7 = cs->reserved7;
    m_viewWidth = cs->viewWidth;
    m_viewHeight = cs->viewHeight;
    m_bitsPerPixel = cs->bitsPerPixel;
    m_flags = cs->flags;
    m_scaleX = cs->scaleX;
    m_scaleY = cs->scaleY;
    m_create12 = cs->word12;
    m_create13 = cs->word13;
  } else {
    m_viewWidth = 640;
    m_viewHeight = 480;
    m_bitsPerPixel = 8;
    m_flags = 244;
    m_scaleX = m_scaleY = 1.0f;
  }
  if (m_bitsPerPixel == 0) m_bitsPerPixel = 8;
  RecomputeSizes();
  QNO_LOG("Display was opened successfully.\n");
  QNO_LOG("OpenWindow was successful.\n");
  m_startTick = kfx_GetTicks();
  return 0;
}

void QnoDisplay::RecomputeSizes() {
  QNO_LOG("this=%p.\n", static_cast<void*>(this));
  m_screenWidth &= ~3;
  if (m_viewWidth == 0 || (m_flags & 16)) m_viewWidth = m_screenWidth;
  if (m_viewHeight == 0 || (m_flags & 32)) m_viewHeight = m_screenHeight;
  m_viewWidth &= ~3;
  m_viewX = (m_screenWidth - m_viewWidth) / 2;
  m_viewY = (m_screenHeight - m_viewHeight) / 2;
  if ((m_flags & 64) || m_scaleX == 0.0f) {
    m_virtualWidth = m_viewWidth;
    m_scaleX = 1.0f;
  } else {
    if (m_virtualWidth == 0) m_virtualWidth = m_viewWidth;
    m_virtualWidth &= ~3;
    m_scaleX = m_virtualWidth ? static_cast<float>(m_viewWidth) / static_cast<float>(m_virtualWidth) : 1.0f;
  }
  if ((m_flags & 128) || m_scaleY == 0.0f) {
    m_virtualHeight = m_viewHeight;
    m_scaleY = 1.0f;
  } else {
    if (m_virtualHeight == 0) m_virtualHeight = m_viewHeight;
    m_scaleY = m_virtualHeight ? static_cast<float>(m_viewHeight) / static_cast<float>(m_virtualHeight) : 1.0f;
  }
}

// ---------------------------------------------------------------- QnoView

QnoView::QnoView() : m_display(new QnoDisplay) { m_display->SetView(this); }

QnoView::~QnoView() { delete m_display; }

int QnoView::Open(CZorvaWorld* world, const QnoDisplayCreateStruct* cs, SDL_Surface* surface) {
  m_display->Create(world, cs, surface);
  return 0;
}

SDL_Surface* QnoView::OpenScreen(CZorvaWorld* world, int width, int height, bool fullscreen, bool hardware) {
  Uint32 flags = hardware ? (SDL_HWSURFACE | SDL_DOUBLEBUF) : SDL_SWSURFACE;
  if (fullscreen) flags |= SDL_FULLSCREEN;
  SDL_Surface* screen = SDL_SetVideoMode(width, height, 16, flags);
  if (!screen) {
    QNO_ERROR(QNO_SEV_ERROR, "SDL_SetVideoMode: %s", SDL_GetError());
    return nullptr;
  }
  if (!QnoIsSurface565(screen)) {
    QNO_ERROR(QNO_SEV_ERROR, "The video mode is not 16-bit 565.");
    return nullptr;
  }
  QnoDisplayCreateStruct cs;
  cs.screenWidth = cs.viewWidth = screen->w;
  cs.screenHeight = cs.viewHeight = screen->h;
  cs.bitsPerPixel = 16;
  Open(world, &cs, screen);
  return screen;
}
