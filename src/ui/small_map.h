#pragma once
// The small map: the whole isometric map as a diamond in the bottom panel,
// turned with the view, with the visible part of the view framed. A left
// click centres the isometric view on the cell under the cursor. Its cell
// colours come from the view filter.
#include "framework/qno_event.h"
#include "iso/iso_info.h"
#include "ui/map_picture.h"
#include "ui/view_filter.h"

class QnoResourceManager;
class QnoDisplay;
class QnoRenderBuffer;
class QnoView;

// 0 show, 1 hide, 2 toggle.
enum DisplayStatus : int { DISPLAY_SHOW = 0, DISPLAY_HIDE = 1, DISPLAY_TOGGLE = 2 };

class CSmallMap {
 public:
  static constexpr int kToggleKey = 48;
  static constexpr int kTurnKey = 81;

  CSmallMap(CViewFilter* filter, QnoResourceManager* rm, QnoDisplay* display, TSimDistrictMapType layer);
  virtual ~CSmallMap();
  int Create(int x, int y, int w, int h);
  int Destroy();

  // The pixel of cell (x, y): px from the left edge, py counted up from
  // the bottom row; 0.
  int IsoKoorToScreenKoor(int x, int y, int* px, int* py) const;
  int RotateIsoKoor(int x, int y, int* rx, int* ry) const;
  int Render(QnoDisplay* display);
  int OnPlayloopTurn();
  void Update();
  int ChangeFilter(TSimDistrictMapType layer);
  int DisplayHideMap(DisplayStatus s);
  int MouseOverWindow(int mx, int my);
  // 0 when the event was consumed.
  int InputFilter(QnoInteractionEvent* e, QnoView* view);
  // Fills the diamond of both pictures with grass.
  static int SetBitmapEmtpy();

  static enumOK UpdateTile(int x, int y, TMap_ColorHeight* c);
  static enumOK UpdateTileTest(int x, int y, TMap_ColorHeight* c, enumTestType test);
  static enumOK UpdateViewRect(IsoViewRectType r);

  void SetWindowPos(int x, int y) {
    m_Window.x = x;
    m_Window.y = y;
  }
  int GetWindowPosX() const { return m_Window.x; }
  int GetWindowPosY() const { return m_Window.y; }
  int GetWidth() const { return m_Window.w; }
  int GetHeight() const { return m_Window.h; }
  int GetDirection() const { return m_Window.direction; }
  bool IsHidden() const { return m_Hidden != 0; }
  int GetMapIndex() const { return m_MapIndex; }
  // The pictures, for drawing and checks; rows counted from the bottom.
  static const CMapPicture& WorldPicture() { return m_Window.world; }
  static const CMapPicture& ScreenPicture() { return m_Window.screen; }

 private:
  struct Window {
    int x = 286, y = 468, w = 140, h = 72;
    int lastMouseX = 0, lastMouseY = 0;
    int left = 0, top = 0;
    CMapPicture world, screen;
    bool worldDirty = false, screenDirty = false;
    int direction = 0;
  };
  static void Blend(int x, int y, const TMap_ColorHeight* c);
  static void CellPixel(int x, int y, int direction, int* px, int* py);
  void RebuildWorld();
  static void RebuildScreen();

  int m_MapIndex = -1;
  int m_Hidden = 1;
  CViewFilter* m_pViewFilter = nullptr;
  QnoResourceManager* m_pResourceManager = nullptr;

  static QnoRenderBuffer* m_RenderBuffer;
  static IsoViewRectType m_ViewRectIso;
  static Window m_Window;
};
