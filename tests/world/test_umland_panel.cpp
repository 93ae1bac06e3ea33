// The surrounding region's panel on the game's own screen: each town's
// people in the region's font where the panel puts them, drawn through the
// interface's item for the region.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "framework/qno_display.h"
#include "framework/qno_font.h"
#include "gui/gui_host.h"
#include "measures/umland.h"
#include "support/scenario.h"
#include "world/zor_world.h"

namespace {

using zortest::Region;

TEST(UmlandPanel, EachTownsPeopleStandWhereThePanelPutsThem) {
  zortest::Scenario game;
  CZorvaWorld& world = game.World();
  CUmland* region = world.GetUmland();
  ASSERT_NE(region, nullptr);
  const int people[CUmland::kTowns] = {5000, 71234, 9, 250000};
  for (int i = 0; i < CUmland::kTowns; ++i) {
    char key[32];
    std::snprintf(key, sizeof key, "UMLAND.CITY.PEOPLE.%d", i);
    ASSERT_EQ(region->SetVarData(key, people[i]), 0);
  }
  QnoRenderBuffer* buffer = world.GetDisplay()->GetRenderBuffer();
  const QnoBitmapFont* font = QnoBitmapFont::FromResource(world.GetResourceManager(), CUmland::kFont);
  ASSERT_NE(font, nullptr) << "the game data holds the region's font";
  const Region panel{60, 50, 460, 300};
  const uint16_t white = 0xFFFF;
  auto pixels = [&] {
    std::vector<uint16_t> p;
    for (int y = panel.y0; y < panel.y1; ++y)
      for (int x = panel.x0; x < panel.x1; ++x) p.push_back(game.Pixel(x, y));
    return p;
  };

  buffer->FillRect(panel.x0, panel.y0, panel.x1, panel.y1, white);
  CGuiHost::Get()->RenderUmland(world.GetDisplay(), 70, 60);
  const std::vector<uint16_t> drawn = pixels();
  const uint16_t black = static_cast<uint16_t>(buffer->GetClosestColor(0, 0, 0));
  EXPECT_GT(game.CountPixels(panel, black), 4 * 40) << "four lines of text";

  // The same lines written one by one at the panel's places, and the larger
  // populations whole (no 16-bit wrap in the panel).
  buffer->FillRect(panel.x0, panel.y0, panel.x1, panel.y1, white);
  const int at[CUmland::kTowns][2] = {{170, 170}, {170, 240}, {310, 240}, {310, 170}};
  for (int i = 0; i < CUmland::kTowns; ++i) {
    char text[32];
    std::snprintf(text, sizeof text, "Einwohner %i", people[i]);
    buffer->RenderText(font, at[i][0], at[i][1], text, black);
  }
  EXPECT_EQ(drawn, pixels());

  // Other people, another panel; without a display or font nothing is drawn.
  region->SetVarData("UMLAND.CITY.PEOPLE.2", 10);
  buffer->FillRect(panel.x0, panel.y0, panel.x1, panel.y1, white);
  CGuiHost::Get()->RenderUmland(world.GetDisplay(), 70, 60);
  EXPECT_NE(drawn, pixels());
  buffer->FillRect(panel.x0, panel.y0, panel.x1, panel.y1, white);
  region->Render(world.GetDisplay(), nullptr, 70, 60);
  region->Render(nullptr, world.GetResourceManager(), 70, 60);
  EXPECT_EQ(game.CountPixels(panel, white), (panel.x1 - panel.x0) * (panel.y1 - panel.y0));
}

}  // namespace
