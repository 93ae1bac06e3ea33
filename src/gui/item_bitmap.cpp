#include "gui/item_bitmap.h"

#include <algorithm>
#include <cmath>

#include "framework/qno_animation.h"
#include "framework/qno_display.h"
#include "framework/qno_sprite.h"
#include "framework/zor_seams.h"
#include "gui/gui_host.h"
#include "gui/render_resource.h"
#include "worldbase/zor_world_host.h"

namespace {
constexpr uint16_t kBarGreen = 0x0700;
constexpr uint16_t kBarRed = 0xF000;

struct IndicatorBar {
  const char* name;
  int leftEnd, rightStart, row, halfWidth;
};
// Columns of the indicator overview, offsets from the item's corner. The
// middle column's second row shows the land-use indicator of the first row
// per person of the built-up area, which has no name of its own.
constexpr IndicatorBar kIndicatorBars[] = {
    {"I.EFF.KMPERPERSON", 70, 99, 61, 36},          {"I.EFF.TIMEPERKM", 70, 99, 91, 36},
    {"I.ZORV.COSTPERAGENT", 70, 99, 121, 36},       {"I.ZORV.TRAFFICJAM", 70, 99, 151, 36},
    {"I.EFF.ENERGIEPERKM", 70, 99, 181, 36},        {"I.EFF.AREAPERPERSON", 212, 242, 61, 36},
    {"I.EFF.AREAPERPERSON", 212, 242, 91, 36},      {"I.QUALI.EMMISSIONPERPERSON", 212, 242, 121, 36},
    {"I.QUALI.NOISE", 212, 242, 151, 36},           {"I.QUALI.ENERGIEPERPERSON", 212, 242, 181, 36},
    {"I.ZORV.REACHTIMES", 354, 384, 61, 36},        {"I.ZORV.ZORVQUALITY", 354, 384, 91, 36},
    {"I.QUALI.SECURITY", 354, 384, 121, 36},        {"I.EQM", 211, 242, 260, 88},
    {"I.GROWTH", 68, 98, 327, 36},
};
constexpr double kUnknownIndicator = 0.4;

// Whether a button event of the item's own actions does anything.
bool ActsOnClick(CActionList* actions) {
  bool acts = false;
  if (actions)
    actions->ForEach([&](CAction* a) {
      const EActionWhen w = a->m_when;
      acts = acts || w == WHEN_LEFT_DOWN || w == WHEN_OTHER_DOWN || w == WHEN_LEFT_UP || w == WHEN_OTHER_UP ||
             w == WHEN_LEFT_HELD;
    });
  return acts;
}
}  // namespace

CItemBitmap::~CItemBitmap() { Destroy(); }

int CItemBitmap::Create(int x, int y, int w, int h, EItemType type, int res0, int res1, int res2, int res3) {
  CItem::Create(x, y, w, h, type, 0, -1);
  m_classCode = ITEM_CLASS_BITMAP;
  m_res[0] = res0;
  m_res[1] = res1;
  m_res[2] = res2;
  m_res[3] = res3;
  m_state = -1;
  return 0;
}

int CItemBitmap::Destroy() {
  delete m_motor;
  m_motor = nullptr;
  return CItem::Destroy();
}

void CItemBitmap::Reuse(std::vector<CAction*>& spare) {
  CItem::Reuse(spare);
  m_frame = 0;
}

int CItemBitmap::OnPlayloopTurn() {
  m_frame = 0;
  // A picture whose frame its variables give follows the game while its
  // window stays open: the turn reads them from their owners again.
  if (m_type == 19 && m_vars)
    m_vars->ForEach([](CWindowVar* v) {
      double ignored = 0;
      v->GetValue(&ignored, true);
    });
  return CItem::OnPlayloopTurn();
}

int CItemBitmap::Picture(int german, int english) const {
  const int en = m_res[english];
  return (CWorldHost::Get()->GetLanguage() == 1 && en > 0) ? en : m_res[german];
}

int CItemBitmap::ButtonFrame(QnoResourceManager* resources) {
  int frame = m_state != -1 ? m_state : ((m_highlight || m_on) ? 1 : 0);
  if (!m_highlightLock && m_pressed != 0) frame = 2;
  // 0 is no press; the time still to come is taken across the tick count's wrap.
  // A picture that shows a value and that no click acts on is no button:
  // shown pressed it would show another value (a street's direction turned
  // round) and look like a switch that springs back.
  const bool showsValueOnly = m_state != -1 && !ActsOnClick(m_actions);
  if (!m_highlightLock && !showsValueOnly && m_pressedUntil != 0 &&
      static_cast<int32_t>(m_pressedUntil - kfx_GetTicks()) > 0) {
    const int kind = CRenderResource::GetResourceKind(resources, Picture(0, 2));
    if (kind == 3 || kind == 6) frame = 2;
  }
  if (m_type == 19 && m_vars && m_vars->GetCount() > 0) {
    CWindowVar* a = m_vars->GetHead();
    CWindowVar* b = m_vars->GetTail();
    double va = 0, vb = 0;
    a->GetValue(&va, false);
    if (a != b) {
      b->GetValue(&vb, false);
      // A zero or negative divisor (an empty capacity) shows the first frame.
      const double f = vb > 0 ? std::trunc(va / vb * m_res[1]) : 0;
      frame = std::isfinite(f) ? static_cast<int>(std::clamp(f, -1e6, 1e6)) : 0;
    } else {
      frame = std::isfinite(va) ? static_cast<int>(std::clamp(std::trunc(va), -1e6, 1e6)) : 0;
    }
  }
  return frame;
}

void CItemBitmap::DrawAnimated(QnoDisplay* display, QnoResourceManager* resources, int picture, int frame, int cx,
                               int cy) {
  const uint32_t now = kfx_GetTicks();
  if (!m_motor) m_motor = new QnoAniMotor(resources);
  if (m_changed[0]) {
    m_changed[0] = 0;
    if (picture > 0) m_motor->SetResourceID(static_cast<unsigned>(picture), now);
  }
  const int state = std::max(0, frame + m_level);
  // The frame is cleared at every turn; a look that ended with that turn
  // (frame 0 after a pressed 2) must still reach the motor, or the button
  // keeps showing the look it lost.
  if (state != m_frame || m_changed[1] || m_motor->GetState() != static_cast<unsigned>(state)) {
    m_changed[1] = 0;
    m_motor->SetState(static_cast<unsigned>(state), now);
    m_frame = state;
  }
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  if (!buffer || !m_motor->IsBound()) return;
  QnoAnimationContext ctx;
  ctx.manager = resources;
  ctx.renderBuffer = buffer;
  ctx.tick = now;
  QnoAnimation2D(&ctx, m_motor, cx, cy, 1.0f);
}

int CItemBitmap::Render(QnoDisplay* display, QnoResourceManager* resources, int x, int y) {
  CGuiHost* host = CGuiHost::Get();
  const int X = x + m_x, Y = y + m_y;
  const int cx = X + m_w / 2, cy = Y + m_h / 2;
  const int picture = Picture(0, 2);
  switch (m_type) {
    case 2:
    case 20:
    case 30: {
      if (m_type == 20 && picture <= 0) return 1;
      bool second = false;
      if (m_type == 30) {
        CAction* first = m_actions ? m_actions->GetHead() : nullptr;
        second = first && host->IsGottWertActive(first->m_p1);
      } else {
        second = m_on != 0;
      }
      const int alt = Picture(1, 3);
      CRenderResource::Render(display, resources, (second && m_res[1] > 0) ? alt : picture, cx, cy, m_type);
      break;
    }
    case 5: {
      const int alt = Picture(1, 3);
      CRenderResource::Render(display, resources, (m_on && m_res[1] > 0) ? alt : picture, X, Y, 5);
      break;
    }
    case 28:
      if (!host->CheckMessageForJump(0)) break;
      [[fallthrough]];
    case 13:
    case 37:
    case 38:
    case 19:
      DrawAnimated(display, resources, picture, ButtonFrame(resources), cx, cy);
      break;
    case 17: {
      const double f = std::trunc((host->GetSimHour() - 5) / 17 * 7);
      DrawAnimated(display, resources, picture, static_cast<int>(std::clamp(f, 0.0, 6.0)), cx, cy);
      break;
    }
    case 18: {
      const double f = std::trunc(host->GetSimYear() * 5);
      DrawAnimated(display, resources, picture, static_cast<int>(std::clamp(f, 0.0, 31.0)), cx, cy);
      break;
    }
    case 14:
      RenderIndicators(display, X, Y);
      break;
    case 15:
      host->RenderTwoDMap(display, cx, cy);
      break;
    case 16:
      // The key is drawn centred, with the maximum ending at its right edge.
      host->RenderTwoDMapColorKey(display, cx, cy);
      break;
    case 21:
      host->RenderStatistik(display, X, Y, m_w, m_h);
      break;
    case 22:
      RenderLoadChart(display, X, Y);
      break;
    case 25:
      host->RenderUmland(display, X, Y);
      break;
    case 35:
      if (m_shown) RenderKnob(display, x + m_reserved[0], y + m_reserved[1], m_reserved[2], m_reserved[3]);
      break;
    case 39:
      RenderTitleBar(display, resources, X, Y);
      break;
    default:
      break;
  }
  return 0;
}

void CItemBitmap::RenderBalken(QnoDisplay* display, float value, int leftEnd, int yLeft, int rightStart, int yRight,
                               int halfWidth, int height) {
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  if (!buffer) return;
  if (!std::isfinite(value)) value = 0.5f;
  value = std::clamp(value, 0.0f, 1.0f);
  if (value >= 0.5f) {
    const int w = static_cast<int>((value - 0.5f) * 2 * halfWidth);
    buffer->FillRect(rightStart, yRight, rightStart + w, yRight + height, kBarGreen);
  } else {
    const int w = static_cast<int>((0.5f - value) * 2 * halfWidth);
    buffer->FillRect(leftEnd - w, yLeft, leftEnd, yLeft + height, kBarRed);
  }
}

void CItemBitmap::RenderIndicators(QnoDisplay* display, int X, int Y) {
  CGuiHost* host = CGuiHost::Get();
  for (const IndicatorBar& bar : kIndicatorBars) {
    double value = kUnknownIndicator;
    host->GetIndicator(bar.name, &value);
    RenderBalken(display, static_cast<float>(value), X + bar.leftEnd, Y + bar.row, X + bar.rightStart, Y + bar.row,
                 bar.halfWidth, 20);
  }
}

void CItemBitmap::RenderLoadChart(QnoDisplay* display, int X, int Y) {
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  if (!buffer) return;
  CGuiHost* host = CGuiHost::Get();
  const double step = m_w / 15.0;
  const int hour = static_cast<int>(std::clamp(host->GetSimHour(), 5.0, 20.0));
  const int hx = X + static_cast<int>((hour - 5) * step);
  CIsoSprite::Line(buffer, hx, Y - 22 - m_h, hx, Y, 0);
  const uint8_t colours[2][2][3] = {{{254, 255, 48}, {130, 130, 24}}, {{255, 150, 102}, {130, 80, 40}}};
  for (int dir = 0; dir < 2; ++dir) {
    const uint32_t line = buffer->GetClosestColor(colours[dir][0][0], colours[dir][0][1], colours[dir][0][2]);
    const uint32_t dot = buffer->GetClosestColor(colours[dir][1][0], colours[dir][1][1], colours[dir][1][2]);
    bool havePrev = false;
    int px = 0, py = 0;
    for (int h = 5; h <= 20; ++h) {
      const int value = host->GetStreet24hLoad(dir, h);
      if (value == -1) continue;
      const int rise = std::min(value * m_h / 100, m_h * 3 / 2);
      const int xx = X + static_cast<int>((h - 5) * step), yy = Y - rise;
      if (havePrev) CIsoSprite::Line(buffer, px, py, xx, yy, static_cast<uint16_t>(line));
      buffer->FillRect(xx - 2, yy - 2, xx + 3, yy + 3, dot);
      havePrev = true;
      px = xx;
      py = yy;
    }
  }
}

void CItemBitmap::RenderKnob(QnoDisplay* display, int X, int Y, int w, int h) {
  QnoRenderBuffer* b = display ? display->GetRenderBuffer() : nullptr;
  if (!b || w < 4 || h < 4) return;
  const int R = X + w, B = Y + h;
  b->FillRect(X, Y, R, B, b->GetClosestColor(107, 125, 183));
  b->FillRect(X, Y, R, Y + 2, b->GetClosestColor(126, 150, 225));
  b->FillRect(X, Y, X + 2, B, b->GetClosestColor(126, 150, 225));
  const uint32_t white = b->GetClosestColor(255, 255, 255);
  b->FillRect(X + 2, Y + 2, R - 1, Y + 3, white);
  b->FillRect(X + 2, Y + 2, X + 3, B - 1, white);
  b->FillRect(X, B - 1, R, B, b->GetClosestColor(41, 52, 76));
  b->FillRect(R - 1, Y, R, B, b->GetClosestColor(41, 52, 76));
}

void CItemBitmap::RenderTitleBar(QnoDisplay* display, QnoResourceManager* resources, int X, int Y) {
  const int count = std::max(0, (m_w - 70) / 80);
  CRenderResource::Render(display, resources, 49703, X + 17, Y + 9, 2);
  for (int i = 0; i < count; ++i) CRenderResource::Render(display, resources, 49701, X + 75 + i * 80, Y + 9, 2);
  CRenderResource::Render(display, resources, 49702, X + (m_w - 70) / 2 + 18, Y + 9, 2);
  CRenderResource::Render(display, resources, 49704, X + count * 80 + 52, Y + 9, 2);
  QnoRenderBuffer* b = display ? display->GetRenderBuffer() : nullptr;
  const int top = Y + 19, R = X + m_w, B = Y + m_h;
  if (!b || R - X < 4 || B - top < 4) return;
  b->FillRect(X, top, R, B, b->GetClosestColor(159, 176, 239));
  b->FillRect(X, top, X + 1, B, b->GetClosestColor(207, 208, 235));
  b->FillRect(X + 1, top, X + 2, B - 1, b->GetClosestColor(255, 255, 255));
  b->FillRect(X, B - 1, R, B, b->GetClosestColor(47, 55, 59));
  b->FillRect(R - 1, top, R, B, b->GetClosestColor(47, 55, 59));
  b->FillRect(X + 1, B - 2, R - 1, B - 1, b->GetClosestColor(111, 127, 176));
  b->FillRect(R - 2, top, R - 1, B - 1, b->GetClosestColor(111, 127, 176));
}
