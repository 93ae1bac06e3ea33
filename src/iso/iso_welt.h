#pragma once
// The isometric map of 128 x 128 cells.
// For now only what the world's start-up and turn call on it.
#include "world/zor_types.h"

// The zoom level of the map; the program starts with 1.
extern TIsoZoomStufe g_ZoomStufe;

class CZorvaWorld;
class QnoResourceManager;
class QnoDisplay;

class CIsoWelt {
 public:
  CIsoWelt(CZorvaWorld* world, QnoResourceManager* resources, QnoDisplay* display)
      : m_pWorld(world), m_pResources(resources), m_pDisplay(display) {}
  virtual ~CIsoWelt() = default;

  // View movement and the visible vehicles; every running turn.
  virtual int OnPlayloopTurn();
  // Lets the view follow the mouse while the game is held.
  virtual int VirtualMouseMove();
  virtual int SetIsoCenter(int x, int y);
  virtual int RefreshAfterModeChange();

 protected:
  CZorvaWorld* m_pWorld;
  QnoResourceManager* m_pResources;
  QnoDisplay* m_pDisplay;
};
