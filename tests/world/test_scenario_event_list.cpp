// The player reads the game's events in the message list: a click on an
// event's text selects it, a click on the selected event's text opens the
// panel with its long text below the list (and a second one closes it);
// the panel comes back with the list until the player closes the panel
// itself. A message that carries a value shows it in its row and its text.
// Played through the frame loop on the real game at 800 x 600.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <string>

#include "gui/dialog.h"
#include "gui/gui_host.h"
#include "gui/item_text.h"
#include "gui/screen_window.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "model/data_exchange.h"
#include "model/message.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

constexpr int kList = 218;
constexpr int kPanel = 239;
// The text of the list's first two rows (the list dialog at 364, 26 on
// the screen, rows 17 pixels apart, their texts from x 95 on).
constexpr int kRowTextX = 364 + 95 + 60;
constexpr int kRowTextY[2] = {26 + 4 + 5, 26 + 17 + 4 + 5};
// The panel's close area.
constexpr int kPanelClose[2] = {351 + 417 + 6, 133 + 6 + 5};

bool Open(Scenario& game, int id) { return game.Ui().IsWindowOpen(id) == 0; }

TEST(ScenarioEventList, TheSelectedEventsTextOpensItsPanelWhichComesBackWithTheListUntilClosed) {
  std::filesystem::create_directories("SaveGame");
  Scenario game("LANGUAGE=0\n");
  CMessage* message = game.World().GetMessage();
  ASSERT_NE(message, nullptr);
  // Three of the indicators' messages, whose causes the game does not check
  // back; the newest stands first.
  for (int entry = 0; entry < 3; ++entry) ASSERT_EQ(message->AddMessage(7, entry), 0) << entry;
  ASSERT_EQ(message->GetMaxMessage(), 3);
  message->SelectEvent(2);

  game.Key(SDLK_e).Run({Frames(2)});
  ASSERT_TRUE(Open(game, kList));
  ASSERT_FALSE(Open(game, kPanel));

  // An event not selected: the click selects it and opens nothing.
  game.Click(kRowTextX, kRowTextY[1]).Run({Frames(1)});
  EXPECT_EQ(message->GetSelectedEvent(), 1);
  EXPECT_FALSE(Open(game, kPanel));
  // The selected event's text again: its panel opens with its long text.
  game.Click(kRowTextX, kRowTextY[1]).Run({Frames(1)});
  ASSERT_TRUE(Open(game, kPanel));
  ASSERT_NE(message->GetSelectedEventLongText(), nullptr);
  EXPECT_STREQ(CGuiHost::Get()->GetMessageText(36), message->GetSelectedEventLongText());
  EXPECT_STRNE(message->GetSelectedEventLongText(), message->GetMessageE(1));
  game.Shot("event-list-panel");
  // Another event's text selects it; the open panel shows its text.
  game.Click(kRowTextX, kRowTextY[0]).Run({Frames(1)});
  EXPECT_EQ(message->GetSelectedEvent(), 0);
  EXPECT_TRUE(Open(game, kPanel));
  EXPECT_STREQ(CGuiHost::Get()->GetMessageText(36), message->GetSelectedEventLongText());
  // Clicked once more, the selected event's text closes the panel.
  game.Click(kRowTextX, kRowTextY[0]).Run({Frames(1)});
  EXPECT_FALSE(Open(game, kPanel));
  game.Click(kRowTextX, kRowTextY[0]).Run({Frames(1)});
  ASSERT_TRUE(Open(game, kPanel));

  // The list closed and opened again by its key: the panel comes with it.
  game.Key(SDLK_e).Run({Frames(1)});
  EXPECT_FALSE(Open(game, kList));
  EXPECT_FALSE(Open(game, kPanel));
  game.Key(SDLK_e).Run({Frames(1)});
  EXPECT_TRUE(Open(game, kList));
  EXPECT_TRUE(Open(game, kPanel));

  // The player closes the panel: the list opens without it from then on.
  game.Click(kPanelClose[0], kPanelClose[1]).Run({Frames(1)});
  EXPECT_FALSE(Open(game, kPanel));
  EXPECT_TRUE(Open(game, kList));
  game.Key(SDLK_e).Key(SDLK_e).Run({Frames(1)});
  EXPECT_TRUE(Open(game, kList));
  EXPECT_FALSE(Open(game, kPanel));
}

// The game's own check of the lines finds a line in service that nobody
// rides: its message names the line by its number in the list's row, and
// the panel's long text names it too.
TEST(ScenarioEventList, ALinesMessageShowsTheLinesNumberInItsRowAndItsText) {
  std::filesystem::create_directories("SaveGame");
  Scenario game("LANGUAGE=0\n");
  CZorvaWorld& world = game.World();
  CMessage* message = world.GetMessage();
  Clock().Advance(400000);  // past the quiet time after the start
  // Two new lines; the first was changed a moment ago and waits for its
  // check, the second is put into service and found empty.
  COpnvLine* changed = world.GetOpnv()->CreateNewLine(NET_BUS);
  COpnvLine* empty = world.GetOpnv()->CreateNewLine(NET_BUS);
  ASSERT_TRUE(changed && empty);
  Clock().Advance(COpnvLine::kCheckDelay + 1);
  changed->SetVarData("OPNV.LINE.TAKT", 20);
  world.GetDataExchange()->CheckForLineCapacity();
  ASSERT_TRUE(empty->IsActive());
  ASSERT_EQ(message->GetMaxMessage(), 1);
  const std::string number = std::to_string(empty->GetID());
  ASSERT_NE(number, "0");
  const std::string row = "Linie " + number + ": kaum Fahrg\xE4ste";
  EXPECT_EQ(std::string(message->GetMessageE(0)), row);

  game.Key(SDLK_e).Run({Frames(2)});
  ASSERT_TRUE(Open(game, kList));
  CDialog* list = CUserInt::topWindow->GetWindowByID(kList)->GetDialogs()->GetDialogByID(1);
  ASSERT_NE(list, nullptr);
  std::string shown;
  list->GetItems()->ForEach([&](CItem* item) {
    if (auto* text = dynamic_cast<CItemText*>(item); text && item->GetXPos() == 95 && item->GetYPos() == 4)
      shown = text->GetText();
  });
  EXPECT_EQ(shown, row);
  // Selected and clicked again, its panel tells of the line by its number.
  ASSERT_EQ(message->GetSelectedEvent(), -1);
  game.Click(kRowTextX, kRowTextY[0]).Run({Frames(1)});
  ASSERT_FALSE(Open(game, kPanel));
  game.Click(kRowTextX, kRowTextY[0]).Run({Frames(1)});
  ASSERT_TRUE(Open(game, kPanel));
  const char* panel = CGuiHost::Get()->GetMessageText(36);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(std::string(panel).rfind("Die Linie " + number + " f\xE4hrt fast leer", 0), 0u) << panel;
  game.Shot("event-list-line-message");
}

}  // namespace
