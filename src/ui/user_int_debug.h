#pragma once
// The state of the interface's debug keys and layers, kept for the life of
// the controller and cleared when a controller is made.
class CCyberNode;

struct CUserIntDebug {
  // Where the layers' panels stand. A line is a box of kLineBox pixels
  // high with its text two pixels in, kLinePad wider than its text; the
  // lines of a panel follow each other kLineHeight apart.
  static constexpr int kLineHeight = 16, kLineBox = 14, kLinePad = 4;
  // The cursor column along the right edge.
  static constexpr int kColumnX1 = 707, kColumnX2 = 799, kColumnY = 20;
  // The join marking at the cursor, down the left edge.
  static constexpr int kSelectionX = 2, kSelectionY = 80;
  // The selected object.
  static constexpr int kInfoX = 360, kInfoY = 80;
  // The box of the priority streets, and its lower edge for a stop's id.
  static constexpr int kPriorityX1 = 200, kPriorityY1 = 200, kPriorityX2 = 350, kPriorityY2 = 240, kStopBoxY2 = 220;
  // The lines and buses of public transport.
  static constexpr int kOpnvX = 2, kOpnvY = 272;
  // The back layer's city totals and the selected line's streets.
  static constexpr int kCityX = 2, kCityY = 44;
  // The computation's boxes, the agents' flag and the largest line.
  static constexpr int kComputeY = 544, kStateY = 560;
  static constexpr int kMakeAgentsX = 305, kMakeAgentsY = 60;
  static constexpr int kMaxStreetX = 225, kMaxStreetY = 16;
  // No panel line is drawn from here down: the status boxes stand there.
  static constexpr int kPanelBottom = 540;

  unsigned char pedestrians = 0;      // F5: the pedestrians' own debug drawing
  unsigned char removeAll = 0;        // K: the area removal removes everything
  unsigned char oldMatrix = 0;        // Y: the old cause-effect matrix is shown
  unsigned char tripDistribution = 0; // V: the trip-length curves are shown
  unsigned char netCheck = 0;         // T: the network checks run every frame
  // The selected node of the cause-effect view by its place in the net's
  // list (a load replaces the nodes, so no pointer is kept), and its shown
  // size.
  int cyberNodeNr = -1;
  float cyberNodeSize = 0.0f;
  // The test vehicle (the selection record's owned object): its screen
  // place and direction 0..63.
  int testCarX = 400, testCarY = 300, testCarDirection = 0;
  // The message browser's group and entry; the group and entry of the
  // message key.
  int browseGroup = 0, browseEntry = 0;
  int raiseGroup = 0, raiseNumber = 0;
  // The indicator and target value last given to a scenario.
  int indicator = 0;
  float indicatorValue = 0.5f;
  // The result of the last network checks: 0 when they found nothing.
  int lastStreetNet = 0, lastStreetSim = 0, lastRailNet = 0, lastLocations = 0;
};
