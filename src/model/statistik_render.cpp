// The statistics chart: the shown series of the current group as lines
// with markers over the visible recordings, the newest value, the scale's
// labels and the years below.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/qno_display.h"
#include "framework/qno_font.h"
#include "framework/qno_sprite.h"
#include "gui/text_markup.h"
#include "model/statistik.h"

namespace {

constexpr unsigned kFont = 28387;
constexpr int kMoneyGroup = 6;
constexpr int kIndicatorGroup = 5;
constexpr int kSplitFirst = 28, kSplitLast = 31;

void FormatWhole(long v, char* text, size_t size, int language) {
  std::snprintf(text, size, "%li", v);
  CTextMarkup::InsertTausenderPunkt(text, size, language);
}

}  // namespace

void CStatistik::FormatValue(double v, char* text, size_t size, int language) {
  if (v > 100.0 || v <= -100.0) {
    FormatWhole(static_cast<int>(v), text, size, language);
  } else {
    std::snprintf(text, size, "%#.3f", v);
    if (char* dot = std::strchr(text, '.'); dot && language == 0) *dot = ',';
  }
}

void CStatistik::RenderStatistik(QnoDisplay* display, QnoResourceManager* resources, int x, int y, int w, int h) {
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  if (!buffer || w <= 0 || h <= 0) return;
  const QnoBitmapFont* font = resources ? QnoBitmapFont::FromResource(resources, kFont) : nullptr;
  const int black = static_cast<int>(buffer->GetClosestColor(0, 0, 0));
  if (m_Series[0].pixel == 0)
    for (int i = 0; i < kSeries; ++i) {
      const uint32_t c = kLabels[i].colour;
      m_Series[i].pixel = static_cast<uint16_t>(buffer->GetClosestColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    }
  auto marker = [&](int i) {
    const uint32_t c = kLabels[i].colour;
    return static_cast<uint16_t>(
        buffer->GetClosestColor((c & 0xFF) / 2, ((c >> 8) & 0xFF) / 2, ((c >> 16) & 0xFF) / 2));
  };
  const int first = FirstVisible(), last = LastVisible();
  const int g = m_Gruppe;
  const bool money = g == kMoneyGroup;
  // The range of the shown series over the visible recordings.
  int firstShown = -1;
  double lo = 0, hi = 0;
  bool any = false;
  for (int i = GroupFirst(g); i <= GroupLast(g); ++i) {
    Series& s = m_Series[i];
    if (!s.shown) continue;
    if (firstShown < 0) firstShown = i;
    s.min = s.max = s.werte[first];
    for (int k = first; k <= last; ++k) {
      s.min = std::min(s.min, s.werte[k]);
      s.max = std::max(s.max, s.werte[k]);
    }
    lo = any ? std::min(lo, s.min) : s.min;
    hi = any ? std::max(hi, s.max) : s.max;
    any = true;
  }
  if (money) {
    lo = std::min(lo, 0.0);
    hi = std::max(hi, 0.0);
  }
  const bool zoom = m_Zoom && !money;
  auto scaleOf = [&](int i) {
    if (money || zoom) return hi - lo > 0 ? h / (hi - lo) : 1.0;
    if (g == kIndicatorGroup) return static_cast<double>(h);
    if (g != 3 && i >= kSplitFirst && i <= kSplitLast) return h / 100.0;
    return hi != 0 ? h / hi : 0.0;
  };
  auto py = [&](int i, double v) {
    const double scale = m_Series[i].scale;
    return static_cast<int>(money || zoom ? y + h - (v - lo) * scale : y + h - v * scale);
  };
  const int span = std::max(1, m_ShownSlots - 1);
  auto px = [&](int k) { return x + (k - first) * w / span; };
  char text[64];
  // The texts right of the chart, one column beside the newest value's
  // marker: each is centred on its height and kept between the unit above
  // the chart and the row of the years and paging buttons below it, which
  // starts four pixels under the chart's foot. The newest value is placed
  // first; a scale text that would cover a text already placed is left out.
  const int textH = font ? font->GetHeight() : 0;
  const int column = x + w + 10;
  int placedTop[4] = {}, placedBottom[4] = {};
  int placed = 0;
  auto beside = [&](int centre, const char* label) {
    const int top = std::clamp(centre - textH / 2, y - textH, y + h + 3 - textH);
    for (int k = 0; k < placed; ++k)
      if (top < placedBottom[k] && top + textH > placedTop[k]) return;
    buffer->RenderText(font, column, top, label, black);
    if (placed < 4) {
      placedTop[placed] = top;
      placedBottom[placed++] = top + textH;
    }
  };
  for (int i = GroupFirst(g); i <= GroupLast(g); ++i) {
    Series& s = m_Series[i];
    if (!s.shown) continue;
    s.scale = scaleOf(i);
    const uint16_t dot = marker(i);
    for (int k = first; k <= last; ++k) {
      const int X = px(k), Y = py(i, s.werte[k]);
      if (k > first) {
        const int X0 = px(k - 1), Y0 = py(i, s.werte[k - 1]);
        CIsoSprite::Line(buffer, X0, Y0, X, Y, s.pixel);
        CIsoSprite::Line(buffer, X0, Y0 + 1, X, Y + 1, s.pixel);
      }
      if (Y > 0) buffer->FillRect(X - 2, Y - 2, X + 3, Y + 3, dot);
    }
    if (i != firstShown || !font) continue;
    // The unit above the chart and the newest value beside it.
    const int unitWidth = buffer->GetTextLength(font, s.unit);
    buffer->RenderText(font, x + (w - unitWidth) / 2, y - 27, s.unit, black);
    const int newest = py(i, s.werte[last]);
    buffer->FillRect(x + w + 3, newest - 7, x + w + 8, newest + 7, black);
    buffer->FillRect(x + w + 4, newest - 6, x + w + 7, newest + 6, s.pixel);
    if (money) {
      FormatWhole(static_cast<long>(s.werte[last]), text, sizeof text, m_Language);
    } else {
      FormatValue(s.werte[last], text, sizeof text, m_Language);
    }
    beside(newest, text);
  }
  if (font && any) {
    if (zoom || money) {
      FormatWhole(static_cast<long>(hi), text, sizeof text, m_Language);
      beside(y, text);
      FormatWhole(static_cast<long>(lo), text, sizeof text, m_Language);
      beside(y + h, text);
    }
    if (money) {
      const int zero = static_cast<int>(y + h + lo * (hi - lo > 0 ? h / (hi - lo) : 1.0));
      CIsoSprite::Line(buffer, x, zero, x + w, zero, 0);
      if (lo != 0 && hi != 0) beside(zero, "0");
    } else if (g == kIndicatorGroup) {
      CIsoSprite::Line(buffer, x, y + h / 2, x + w, y + h / 2, static_cast<uint16_t>(black));
      beside(y + h, "0");
      beside(y, "1");
    } else if (!zoom) {
      beside(y + h, "0");
    }
  }
  // The years below the points.
  if (!font) return;
  int lastYear = -1;
  for (int k = first; k <= last; ++k) {
    const int year = m_Time[k].year;
    if (m_ShownSlots == kSlots && (k - first) % 3 != 0) continue;
    if (year == lastYear) continue;
    lastYear = year;
    std::snprintf(text, sizeof text, "%d", year + (m_ShownSlots == kSlots ? 1999 : m_FirstYear));
    buffer->RenderText(font, px(k) - 14, y + h + 6, text, black);
  }
}
