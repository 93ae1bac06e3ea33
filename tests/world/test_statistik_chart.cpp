// The statistics chart drawn on the game's own screen: the shown series
// as lines in their colours with darker markers, nothing for hidden ones.
#include <gtest/gtest.h>

#include "framework/qno_display.h"
#include "model/statistik.h"
#include "support/scenario.h"
#include "world/zor_world.h"

namespace {

using zortest::Region;

TEST(StatistikChart, ShownSeriesAreDrawnInTheirColoursOverTheVisibleRecordings) {
  zortest::Scenario game;
  CZorvaWorld& world = game.World();
  CStatistik* st = world.GetStatistik();
  ASSERT_NE(st, nullptr);
  for (int i = 0; i < 12; ++i) st->OnPlayloopTurn(STime{4 * i, 1, 0, 0.0f}, STime{});
  QnoRenderBuffer* buffer = world.GetDisplay()->GetRenderBuffer();
  const Region chart{100, 100, 500, 300};
  auto draw = [&] {
    buffer->FillRect(chart.x0 - 40, chart.y0 - 40, chart.x1 + 120, chart.y1 + 40, 0xFFFF);
    st->RenderStatistik(world.GetDisplay(), world.GetResourceManager(), chart.x0, chart.y0, 400, 200);
  };
  // Efficiency of travel, the indicator group: every series at 0.5.
  st->ChangeGruppe(5);
  draw();
  const uint32_t c = CStatistik::kLabels[44].colour;
  const uint16_t colour =
      static_cast<uint16_t>(buffer->GetClosestColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
  const uint16_t dark = static_cast<uint16_t>(
      buffer->GetClosestColor((c & 0xFF) / 2, ((c >> 8) & 0xFF) / 2, ((c >> 16) & 0xFF) / 2));
  EXPECT_EQ(game.CountPixels(chart, colour), 0) << "nothing is shown yet";
  st->Toggle(44);
  draw();
  EXPECT_GT(game.CountPixels(chart, colour), 300) << "a line twice across the chart";
  // Markers of 5 x 5 at the ten visible recordings, half under the line,
  // on the middle line of the indicator scale (0.5 of 200 pixels).
  EXPECT_GE(game.CountPixels(chart, dark), 10 * 10);
  EXPECT_EQ(game.Pixel(chart.x0 + 400, chart.y0 + 98), dark);
  EXPECT_EQ(game.Pixel(chart.x0, chart.y0 + 98), dark);
  EXPECT_NE(game.Pixel(chart.x0 + 200, chart.y0 + 90), dark);
}

}  // namespace
