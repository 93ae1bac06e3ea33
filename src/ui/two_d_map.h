#pragma once
// The thematic map: the whole isometric map as a 128 x 128 picture shown
// at twice its size in its own window, one layer at a time: the built
// city, street types, street loads, public-transport reach, the demand
// model's district statistics and the indicators' cell maps, with the net
// laid over the statistic layers, the public-transport lines over the two
// public-transport layers, a colour key and the visible part of the view.
// A click centres the isometric view there.
#include <cstdint>
#include <vector>

#include "framework/qno_event.h"
#include "iso/iso_info.h"
#include "ui/map_picture.h"
#include "ui/small_map.h"
#include "ui/view_filter.h"

class QnoResourceManager;
class QnoDisplay;
class QnoRenderBuffer;
class QnoView;
class COpnvLine;

class CTwoDMap {
 public:
  static constexpr int kLayerCount = 24;
  // Layers 1-23 are offered; anything else shows layer 0, the bare net.
  static constexpr int kFirstNotOffered = 24;
  static constexpr int kKeyWidth = 152;
  static constexpr int kKeyHeight = 12;
  static constexpr int kFontFigures = 28387;
  static constexpr int kRebuildKey = 51;
  static constexpr int kClearKey = 52;

  CTwoDMap(CViewFilter* filter, QnoResourceManager* rm, QnoDisplay* display, TSimDistrictMapType layer);
  virtual ~CTwoDMap();
  int Create(int x, int y, int w, int h, int centreColumn, int centreRow, float zoom);
  int Destroy();

  // Chooses a layer: a number outside 0-23 selects layer 0 (the net only,
  // no key); builds palette, frame colour and key and rebuilds at once.
  int ChangeFilter(TSimDistrictMapType layer);
  TSimDistrictMapType GetFilter() const;
  // The layer's name in the layer table; null for layer 0 and outside.
  static const char* GetFilterName(TSimDistrictMapType layer);
  void Update();
  int UpdateAll();
  int OnPlayloopTurn();
  int Render(QnoDisplay* display, int x, int y);
  int RenderColorKey(QnoDisplay* display, int x, int y);
  int DisplayHideMap(DisplayStatus s);
  // 2 outside, 0 in the title strip, 1 below it.
  int MouseOverWindow(int mx, int my);
  // 0 when the event was consumed.
  int InputFilter(QnoInteractionEvent* e, QnoView* view);

  static enumOK UpdateTile(int x, int y, TMap_ColorHeight* c);
  static enumOK UpdateViewRect(IsoViewRectType r);
  static enumOK UpdateTileTest(int x, int y, TMap_ColorHeight* c, enumTestType test);

  bool IsHidden() const { return m_Hidden != 0; }
  int GetMapIndex() const { return m_MapIndex; }
  uint16_t GetPaletteEntry(int i) const { return m_Palette[i & 0xFF]; }
  uint16_t GetFrameColor() const { return m_FrameColor; }
  float GetMaximum() const { return m_Maximum; }
  // The pictures; rows counted from the bottom. In the world picture cell
  // (x, y) is row y, column 127 - x.
  static const CMapPicture& WorldPicture() { return m_Window.world; }
  static const CMapPicture& ScreenPicture() { return m_Window.screen; }
  static const CMapPicture& KeyPicture() { return m_Window.key; }
  // The cell shown under a screen position inside the map, by the view's
  // rotation; false outside the picture.
  bool ScreenToCell(int mx, int my, int* cx, int* cy) const;
  // The screen picture's pixel (column, row from the bottom) that shows
  // the top-left corner of cell (x, y)'s block, by the view's rotation.
  static void CellToScreen(int x, int y, int* column, int* row);
  // How many times the world picture was rebuilt.
  static int GetWorldBuilds() { return m_WorldBuilds; }

 private:
  struct Window {
    int x = 0, y = 0, w = 256, h = 256;
    float zoom = 2.0f;
    int centreColumn = 64, centreRow = 64;
    int lastMouseX = 0, lastMouseY = 0;
    int left = 0, top = 0;
    int hit = 2;
    CMapPicture world, screen, key;
    // The world picture's column shown in each screen column.
    std::vector<int> columnBlock;
    bool worldDirty = false, screenDirty = false;
    int direction = 0;
  };
  struct ViewRect {
    int x[4] = {}, y[4] = {};
  };

  void BuildPalette(int layer);
  void BuildKey();
  void RebuildWorld();
  void RebuildScreen();
  void DrawDistrictMap(const float* map, float maximum);
  void DrawNet();
  void DrawLines();
  void DrawLine(COpnvLine* line);
  void DrawCells(const int* xs, const int* ys, int count, uint16_t pixel);
  void DrawFrame();
  // Sets the query district to the one of cell (a, b); true when it changed.
  bool SetQueryDistrictAt(int a, int b);
  uint16_t Colour(int r, int g, int b) const;

  int m_MapIndex = -1;
  int m_Hidden = 1;
  CViewFilter* m_pViewFilter = nullptr;
  QnoResourceManager* m_pResourceManager = nullptr;
  uint16_t m_Palette[256] = {};
  uint16_t m_FrameColor = 0;
  float m_Maximum = 0.0f;

  static QnoRenderBuffer* m_RenderBuffer;
  static ViewRect m_ViewRect;
  static Window m_Window;
  static int m_WorldBuilds;
};
