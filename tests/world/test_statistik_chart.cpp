// The statistics chart drawn on the game's own screen: the shown series
// as lines in their colours with darker markers, nothing for hidden ones;
// and on the statistics page, at either screen size, its scale, newest
// value and years stay on the page and off the page's buttons.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/qno_display.h"
#include "gui/item.h"
#include "gui/screen_window.h"
#include "model/data_exchange.h"
#include "model/statistik.h"
#include "support/scenario.h"
#include "ui/user_int.h"
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

// The statistics page's chart is drawn alone over a colour nothing draws;
// none of what it drew, for any group with every series shown, zoomed or
// not, lies outside the page or under one of the page's buttons. The
// account runs from far above zero to far below it, so that the scale and
// the newest value take their longest texts and the newest stands at the
// chart's foot, beside the paging buttons.
TEST(StatistikChart, ItsLabelsStayOnThePageAndOffItsButtonsAtEitherScreenSize) {
  constexpr int kPage = 142;
  constexpr uint16_t kUntouched = (1 << 11) | (1 << 5) | 1;
  for (const char* size : {"", "AUFLOESUNG=2\nAUFLOESUNGX=1024\nAUFLOESUNGY=768\n"}) {
    zortest::Scenario game(size);
    SCOPED_TRACE(game.Width());
    CZorvaWorld& world = game.World();
    CStatistik* st = world.GetStatistik();
    ASSERT_NE(st, nullptr);
    for (int i = 0; i < 12; ++i) {
      st->OnPlayloopTurn(STime{4 * i, 1, 0, 0.0f}, STime{});
      ASSERT_EQ(world.GetDataExchange()->SetVarData("F.KONTO", i < 6 ? 99999999.0 : -123456789.0 + i), 0);
      st->UpdateWerte_Finanzen(STime{4 * i, 1, 0, 0.0f});
    }
    world.ActivateWindow(140);
    game.Do(zortest::Wait(40));
    ASSERT_TRUE(game.ClickIn(140, 28, 88 + 18));
    game.Do(zortest::Wait(40));
    ASSERT_TRUE(game.IsOpen(kPage));
    CScreenWindow* page = CUserInt::topWindow->GetWindowByID(kPage);
    const int px = page->GetRealPosX(), py = page->GetRealPosY();
    CItem* chart = nullptr;
    std::vector<CItem*> buttons;
    page->GetItems()->ForEach([&](CItem* i) {
      if (i->GetItemType() == 21) chart = i;
      if (i->GetItemType() == 13 || (i->GetItemType() == 1 && i->GetActions())) buttons.push_back(i);
    });
    ASSERT_NE(chart, nullptr);
    ASSERT_GE(buttons.size(), 14u);
    QnoRenderBuffer* buffer = world.GetDisplay()->GetRenderBuffer();
    for (int g = 0; g < CStatistik::kGroups; ++g)
      for (const bool zoom : {false, true}) {
        SCOPED_TRACE(testing::Message() << "group " << g << (zoom ? " zoomed" : ""));
        st->ChangeGruppe(g);
        st->GruppeAlleAn();
        if (zoom) st->ZoomIn(); else st->ZoomOut();
        buffer->FillRect(0, 0, game.Width(), game.Height(), kUntouched);
        chart->Render(world.GetDisplay(), world.GetResourceManager(), px, py);
        int drawn = 0, outside = 0, underButtons = 0;
        for (int y = 0; y < game.Height(); ++y)
          for (int x = 0; x < game.Width(); ++x) {
            if (game.Pixel(x, y) == kUntouched) continue;
            ++drawn;
            outside += x < px || x >= px + page->GetSizeX() || y < py || y >= py + page->GetSizeY();
            for (CItem* b : buttons) {
              const int bx = px + b->GetXPos(), by = py + b->GetYPos();
              if (x >= bx && x < bx + b->GetXSize() && y >= by && y < by + b->GetYSize()) {
                ++underButtons;
                break;
              }
            }
          }
        EXPECT_GT(drawn, 500);
        EXPECT_EQ(outside, 0);
        EXPECT_EQ(underButtons, 0);
      }
  }
}

}  // namespace
