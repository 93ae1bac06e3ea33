#pragma once
// The windows through which the game reports what happens in the town: the
// event windows, the message list with its two panels and the adviser. The
// message system fills their texts and opens them; WindowAddEventBerater
// adds them after the warning and the questions.
#include "gui/window_builder.h"

namespace zorwin {

constexpr int kEventWindow = 217;          // an event with its jump button
constexpr int kEventNewGameExit = 234;     // ends the game: new game or exit
constexpr int kEventNewGame = 248;         // ends the game: new game
constexpr int kEventPlay = 232;            // a scenario's opening: play
constexpr int kEventPlayOn = 233;          // new game, exit or play on
constexpr int kStandardMessageWindow = 236;
constexpr int kMessageList = 218;
constexpr int kMessagePanelText = 239;     // below the list: the selected event's text
constexpr int kMessagePanel = 240;
constexpr int kAdviserWindow = 219;
constexpr int kAdviserCount = 5;

// Adds the six event windows: 217, 234, 248, 232, 233 and 236.
void AddEventWindows(CWindowBuilder& b);
// Adds the message list 218 and its panels 239 and 240.
void AddMessageList(CWindowBuilder& b);
// Adds the adviser window 219 with its five topic buttons.
void AddAdviserWindow(CWindowBuilder& b);

}  // namespace zorwin
