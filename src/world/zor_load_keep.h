#pragma once
// What a load tears down that the savegame does not hold: the interface's
// selection and tool, its open windows and what they show, the view, the
// remembered times of the turn and the random source. A load that turns
// out damaged puts the running game back from its own savegame and then
// this, so that the player goes on exactly where the load was asked for.
#include <cstdint>
#include <string>
#include <vector>

#include "iso/iso_sel_obj.h"
#include "model/data_exchange.h"
#include "sim/sim_date.h"

class CWorldObj;

// Where an object of the game is found again once the game has been put
// back: the map cell and layer it stands on, or the number of its line.
struct ZorObjectPlace {
  enum Kind : uint8_t { kNone, kCell, kLine };
  Kind kind = kNone;
  int x = -1, y = -1, layer = 0, type = 0;
};

struct ZorKeptPlay {
  uint64_t random = 0;
  // The turn's own clocks.
  STime lastHour{-1, -1, -1, -1.0f};
  STime lastDay{-1, -1, -1, -1.0f};
  int indikatorenCounter = -1;
  uint32_t startupWindowTime = 0, ticksAfterLoad = 0;
  // The view.
  int centerX = 64, centerY = 64, pixelX = 0, pixelY = 0;
  int32_t rotation = 0;
  int zoom = 0;
  // The interface: its state with the objects it points to, and the windows
  // open from the front down with the objects they show.
  selObjType sel;
  ZorObjectPlace selectedObject, mouseStreet, selectedJunction, selectedStreet, selectedCrossing, selectedLine,
      editedLine;
  struct Window {
    int id;
    ZorObjectPlace shows;
  };
  std::vector<Window> windows;
  // The windows not open that show an object: the pages of a group behind
  // the one in front, which the player turns to with the object.
  std::vector<Window> closed;
  // The game menu's name field, which closing the menu empties.
  std::string entryName;
  int entryCursor = 0;
  bool entryActive = false;
  // The measures' blocks: a load stamps their message times with its own.
  std::vector<std::vector<char>> measures;
  SDataExchangeBlock exchange{};
};
