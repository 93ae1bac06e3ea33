#pragma once
// The interface's tool and selection record. The map draws the interface's
// state from it, so it is declared with the map; the interface owns the one
// record and writes it.
#include <cstdint>

class CBuildingList;
class CWorldObj;
class COpnvLine;

// The selection and state record of the interface.
struct selObjType {
  unsigned char pause = 0;        // the game is paused or a start-up window waits
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
  int buildingRow = 0;                 // chosen catalogue row
  int buildingRichtung = 0;            // chosen direction 0..3
  int busStopOffsetX = 0, busStopOffsetY = 0;
  unsigned char busStopShowable = 0;
  CBuildingList* markedBuildings = nullptr;  // buildings to mark, or null
  CWorldObj* selectedObject = nullptr;
  // Highlights other parts of the game point the player to (tile rectangles,
  // -1 when none; blink clocks in milliseconds).
  int msgX = -1, msgY = -1, msgW = -1, msgH = -1;
  uint32_t msgBlink = 0;
  int listX = -1, listY = -1, listW = -1, listH = -1;
  uint32_t listBlink = 0, listStart = 0;
  // The street under the mouse and its cell, the selected junction's cell,
  // the selected public-transport line and the marker animation 0..3.
  CWorldObj* mouseStreet = nullptr;  // a street object (type 52)
  int mouseStreetX = -1, mouseStreetY = -1;
  CWorldObj* selectedJunction = nullptr;  // the junction's crossing object
  int junctionX = -1, junctionY = -1;
  COpnvLine* selectedLine = nullptr;
  int animCounter = 0;

  // ---- tools and the input filter ----
  int subtool = 0;
  int variant = 0;
  int objectType = 1;            // kind of object the tool places
  unsigned int toolCursor = 0;   // cursor resource set for the tool
  char toolName[60] = {};
  // Last variant of tools 10, 11 and 12; last subtool of tool 6 for its
  // variants 2, 8, 3, 1, 5 and 6.
  unsigned char lastVariant[3] = {1, 1, 1};
  unsigned char lastSubtool[6] = {1, 1, 1, 1, 1, 1};
  int buildingNumber = 0;        // catalogue number of the building to place
  int buildingResource = 0;      // its picture; 0 or below when none
  int stopWord[2] = {};          // stop kind state of the stop tool
  int leftDrag = 0;              // a left press on the map drags an area
  int rightPressed = 0;          // the right button, pressed on the map, is held
  uint32_t rightPressTime = 0;
  unsigned char removeAllTest = 0;
  unsigned char toolStage = 0;   // 1 once the event has passed the windows
  unsigned char overPanel = 0;
  unsigned char overPanelRaw = 0;
  unsigned char panelShown = 0;
  unsigned char panelPinned = 0;
  unsigned char itemTookClick = 0;
  unsigned char warningShown = 0;
  uint32_t warningTime = 0;
  int mouseX = 0, mouseY = 0;          // raw position of the last mouse move
  int mouseTileX = 0, mouseTileY = 0;  // tile under the mouse on the map
  int debugMouseX = 400, debugMouseY = 300;
  int reopenWindow = 0;                // opened again when line editing ends
  COpnvLine* editedLine = nullptr;
};
