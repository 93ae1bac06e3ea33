#pragma once
// The state of the interface's debug keys and layers, kept for the life of
// the controller and cleared when a controller is made.
class CCyberNode;

struct CUserIntDebug {
  unsigned char pedestrians = 0;      // F5: the pedestrians' own debug drawing
  unsigned char removeAll = 0;        // K: the area removal removes everything
  unsigned char oldMatrix = 0;        // Y: the old cause-effect matrix is shown
  unsigned char tripDistribution = 0; // V: the trip-length curves are shown
  unsigned char netCheck = 0;         // T: the network checks run every frame
  // The selected node of the cause-effect view, its number and shown size.
  int cyberNodeNr = -1;
  CCyberNode* cyberNode = nullptr;
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
