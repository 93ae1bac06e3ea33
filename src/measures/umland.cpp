#include "measures/umland.h"

#include <cstdint>
#include <cstdio>
#include <iterator>

#include "framework/qno_display.h"
#include "framework/qno_font.h"
#include "framework/zor_seams.h"
#include "measures/measure_host.h"

const SMeasureLayout& CUmland::Layout() {
  using F = SMeasureField;
  static const F fields[] = {
      {"UMLAND.CITY.PEOPLE.0", F::kInt16, 0},
      {"UMLAND.CITY.PEOPLE.1", F::kInt16, 4},
      {"UMLAND.CITY.PEOPLE.2", F::kInt16, 8},
      {"UMLAND.CITY.PEOPLE.3", F::kInt16, 12},
  };
  static const SMeasureLayout layout{"Umland", fields, static_cast<int>(std::size(fields))};
  return layout;
}

CUmland::CUmland() : CMeasure(Layout(), m_Towns) {}

int CUmland::OnPlayloopTurn(STime, STime) {
  CMeasureHost* host = CMeasureHost::Get();
  for (int32_t& town : m_Towns) {
    auto people = [host] {
      const int p = host->GetPeople();
      return p > 0 ? static_cast<double>(p) : 0.0;
    };
    const int r = zor_random() % static_cast<int>(people() * 0.03125 + 1.0);
    const double drifted = static_cast<double>(town) + (r - r / 2);
    const double low = people() * 0.125;
    if (drifted < low) {
      town = static_cast<int32_t>(low);
    } else {
      const double high = people() * 0.25;
      town = static_cast<int32_t>(drifted > high ? high : drifted);
    }
  }
  return 0;
}

void CUmland::Render(QnoDisplay* display, QnoResourceManager* resources, int x, int y) const {
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  const QnoBitmapFont* font = resources ? QnoBitmapFont::FromResource(resources, kFont) : nullptr;
  if (!buffer || !font) return;
  const int black = static_cast<int>(buffer->GetClosestColor(0, 0, 0));
  for (int i = 0; i < kTowns; ++i) {
    char text[32];
    std::snprintf(text, sizeof text, "Einwohner %i", static_cast<int>(m_Towns[i]));
    buffer->RenderText(font, x + kTextAt[i][0], y + kTextAt[i][1], text, black);
  }
}
