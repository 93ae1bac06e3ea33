#pragma once
// The interface's maps and view filter.
#include "iso/iso_geometry.h"

struct IsoViewRectType;

// The thematic map of the interface.
class CTwoDMap {
 public:
  virtual ~CTwoDMap() = default;
  virtual int UpdateAll();
  // The map's share of the interface turn.
  virtual int OnPlayloopTurn() { return 0; }
};

// The small map of the interface.
class CSmallMap {
 public:
  virtual ~CSmallMap() = default;
  static int SetBitmapEmtpy();
  virtual int OnPlayloopTurn() { return 0; }
  // Stand-in: keeps only its window position.
  void SetWindowPos(int x, int y) {
    m_x = x;
    m_y = y;
  }
  int GetWindowPosX() const { return m_x; }
  int GetWindowPosY() const { return m_y; }
  int GetWidth() const { return 140; }
  int GetHeight() const { return 72; }
  // The pixel of cell (x, y) in the current view rotation: px from the left
  // edge, py counted up from the bottom row; 0.
  int IsoKoorToScreenKoor(int x, int y, int* px, int* py) const;

 private:
  int m_x = 286;
  int m_y = 468;
};

class CViewFilter {
 public:
  virtual ~CViewFilter() = default;
  static int Deactivate();
  // The map's view rectangle changed; the small maps follow it.
  static void UpdateViewRect(const IsoViewRectType& rect);
  // A visible map cell changed or came into view.
  static void Update(int x, int y);
};
