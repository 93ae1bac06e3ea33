#pragma once
// The interface controller: input, tools, windows and the interface layers.
// Stand-in: only what the world's start-up, turn and frame loop use.
#include <cstdint>

#include "framework/qno_event.h"
#include "iso/iso_geometry.h"
#include "iso/iso_sel_obj.h"
#include "ui/overlay.h"

class QnoResourceManager;
class QnoDisplay;
class QnoView;
class CIsoWelt;
class CStrJunctionList;
class CScreenWindow;
class CBuildingList;
class CWorldObj;
class CStreetObj;
class CKreuzObj;
class COpnvLine;
class CBuildingObject;
struct IsoViewRectType;

// The thematic map of the interface.
class CTwoDMap {
 public:
  virtual ~CTwoDMap() = default;
  virtual int UpdateAll();
};

// The small map of the interface.
class CSmallMap {
 public:
  static int SetBitmapEmtpy();
};

class CViewFilter {
 public:
  static int Deactivate();
  // The map's view rectangle changed; the small maps follow it.
  static void UpdateViewRect(const IsoViewRectType& rect);
  // A visible map cell changed or came into view.
  static void Update(int x, int y);
};

class CUserInt : public Overlay {
 public:
  virtual int OnCreate(QnoResourceManager* resources, QnoDisplay* display, CZorvaWorld* world, CIsoWelt* iso,
                       CStrJunctionList* streets);
  virtual int Destroy();
  // 0 when the event was consumed.
  virtual int InputFilter(QnoInteractionEvent* event, QnoView* view);
  virtual int Render(QnoDisplay* display);
  // Deferred actions, windows and maps; the last step of every turn.
  virtual int OnPlayloopTurn();
  virtual int SetAufloesung(int width, int height);
  virtual int UpdateStreet24h(int hour);
  virtual int ResetBeforeLoad(CStrJunctionList* streets);
  // The state of view filter n: filters 1..4 are stored, 0 is on exactly
  // when none of them is, and any n above 4 is off.
  int GetFilter(int n) const;
  void SetFilter(int n, bool on);

  CTwoDMap* GetTwoDMap() { return &m_TwoDMap; }

  // ---- placement checks and warnings of the object factory ----
  // Classifies a street cell for a stop: 0 fine, 1 on a bend, 2 before a
  // bend, 3 at a level crossing, 4 before a rail crossing, 6 or 7 before a
  // junction or an end piece.
  virtual int CheckStreetForHstBuild(CStreetObj* street, int x, int y);
  // The same for a rail cell.
  virtual int CheckRailForHstBuild(CStreetObj* rail, int x, int y);
  // Shows the warning window with warning text number `text`.
  virtual void SetAchtungWindow(int text);
  // Public-transport overlays drawn into the map: the whole net, one line's
  // streets in a colour, one line's stops.
  virtual void RenderOpnvNet(QnoDisplay* display);
  virtual void RenderOpnvLineStreet(QnoDisplay* display, COpnvLine* line, unsigned short colour);
  virtual void RenderOpnvLineHst(QnoDisplay* display, COpnvLine* line);
  static bool InWorld(int x, int y) { return IsoInMap(x, y); }
  // How the map draws itself: 1 diagonal sprite lists, 2 the plain map,
  // anything else sprite lists row by row.
  int GetRenderType() const { return m_RenderType; }
  void SetRenderType(int type) { m_RenderType = type; }
  // The street tool's per-tile marks: a kind per tile, and direction bits.
  unsigned char GetTileMask(int x, int y) const;
  unsigned char GetTileMask2(int x, int y) const;
  void SetTileMask(int x, int y, unsigned char kind, unsigned char bits);
  // The building on a cell, null when none.
  virtual CBuildingObject* GetBuildingAt(int x, int y, int layer);
  // True while an area tool (10 to 12) is dragged with the left button.
  virtual bool GetBuildSurfaceStatus() const { return false; }
  static unsigned char m_ActivateDebugInfo;
  selObjType selObj;
  static CScreenWindow* topWindow;

 private:
  bool m_Filter[5] = {};
  int m_RenderType = 0;
  unsigned char m_TileMask[128][128] = {};
  unsigned char m_TileMask2[128][128] = {};
  CTwoDMap m_TwoDMap;
};
