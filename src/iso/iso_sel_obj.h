#pragma once
// The interface's tool and selection record. The map draws the interface's
// state from it, so it is declared with the map; the interface owns the one
// record and writes it.
#include <cstdint>

class CBuildingList;
class CWorldObj;
class COpnvLine;
class CZorvaObject;

// The selection and state record of the interface.
struct selObjType {
  unsigned char pause = 0;        // the game is paused or a start-up window waits
  unsigned char cyberFreeze = 0;  // the cause-effect network is held: no period runs
  unsigned char welcome[2] = {};  // set when the welcome window is answered
  int tool = 0;                   // the current tool; 2 builds streets
  unsigned char rightButton = 0;  // the right mouse button is held
  unsigned char streetDrag = 0;   // a street preview is being dragged

  // ---- what the map's input, turn, previews and overlays read ----
  unsigned char mouseCaptured = 0;  // an interface area holds the mouse
  unsigned char leftButton = 0;
  // Selection rectangle of the area and building tools.
  int startX = -1, startY = -1, endX = -1, endY = -1;
  int width = 0, depth = 0;
  int buildingRichtung = 0;            // chosen direction 0..3
  int busStopOffsetX = 0, busStopOffsetY = 0;
  unsigned char busStopShowable = 0;
  // The building to place may not stand where the pointer is: its cell
  // marks are the refused ones and lie over its picture, not under it.
  unsigned char placeRefused = 0;
  CBuildingList* markedBuildings = nullptr;  // buildings to mark, or null
  CWorldObj* selectedObject = nullptr;
  // Highlights other parts of the game point the player to (tile rectangles,
  // -1 when none; blink clocks in milliseconds).
  int msgX = -1, msgY = -1, msgW = -1, msgH = -1;
  uint32_t msgBlink = 0;
  int listX = -1, listY = -1, listW = -1, listH = -1;
  uint32_t listBlink = 0, listStart = 0;
  // The important building a refused street removal would cut off: its
  // tile rectangle, shown until `importantUntil`, since `importantStart`.
  int importantX = -1, importantY = -1, importantW = -1, importantH = -1;
  uint32_t importantUntil = 0, importantStart = 0;
  // The street under the mouse and its cell, the selected junction's cell,
  // the selected public-transport line and the marker animation 0..3.
  CWorldObj* mouseStreet = nullptr;  // a street object (type 52)
  int mouseStreetX = -1, mouseStreetY = -1;
  CWorldObj* selectedJunction = nullptr;  // the junction's crossing object
  int junctionX = -1, junctionY = -1;
  COpnvLine* selectedLine = nullptr;
  int animCounter = 0;

  // ---- tools, windows and the interface turn ----
  int leftDrag = 0;       // a left press on the map drags an area (tools 10-13)
  int rightPressed = 0;   // the right button, pressed on the map, is held
  uint32_t rightPressTime = 0;
  unsigned char overPanel = 0;     // the last mouse event lay over the bottom panel
  unsigned char overPanelRaw = 0;  // the same before the game-started test
  unsigned char filter[5] = {};    // view filters 1-4 (index 0 unused)
  int buildingResID = 0;           // picture of the building to place; <= 0 none
  unsigned char removeAllTest = 0;
  int objectType = 1;  // object type to place
  uint32_t cursorId = 0;  // the cursor set for the current tool
  int subtool = 0;
  int variant = 0;
  char toolName[60] = {};
  unsigned char rememberedVariants[3] = {1, 1, 1};       // tools 10, 11, 12
  unsigned char rememberedSubtools[6] = {1, 1, 1, 1, 1, 1};  // tool 6 by variant
  CWorldObj* selectedStreet = nullptr;  // shown in the street windows
  short selectedStreetId = -1;
  int streetLoad[2][24] = {};  // per hour, percent of capacity; -1 none
  CWorldObj* selectedCrossing = nullptr;  // shown in the crossing windows
  short selectedCrossingId = -1;
  unsigned char toolStage = 0;     // the event has passed the windows
  unsigned char warningShown = 0;  // the warning window is shown
  int reopenWindow = 0;            // opened again when line editing ends
  int doLater = 0;                 // deferred action; 0 none
  int countdown = -1;              // frames before it runs; -1 idle
  unsigned char panelPinned = 0;
  unsigned char panelShown = 0;
  int rawMouseX = 0, rawMouseY = 0;
  unsigned char itemTookClick = 0;
  int twoWords[2] = {200, 200};
  int mouseTileX = -1, mouseTileY = -1;
  CZorvaObject* ownedObject = nullptr;  // destroyed with the interface
  int debugMouseX = 400, debugMouseY = 300;
  unsigned char windowFlag = 0;  // 1 while the message text below the event list was opened last
  int yesNoWarning = -1;  // the open yes/no question; -1 none

  // ---- the tools' own words ----
  int buildingNumber = 0;        // catalogue number of the building to place
  int stopWord[2] = {};          // stop kind state of the stop tool
  COpnvLine* editedLine = nullptr;  // the line the line editor works on
  uint16_t editedLineId = 65535;     // its number; 65535 none
  int editedLineKind = 1;            // the editor's line kind: 1 bus, 2 tram
  // The removal waiting for the player's yes: its cell (-1 none), layer
  // (0 buildings, 1 stops), price, and whether it is a stop.
  int removeX = -1, removeY = -1, removeLayer = 0;
  double removePrice = 0;
  unsigned char removeStop = 0;
};
