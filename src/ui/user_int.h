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

  // ==== tools and input filter (user_int_tools.cpp, user_int_input.cpp) ====
  // The tool table: 24 tools of 30 entries, a cursor animation and a name
  // each, filled once at start-up; entries never defined stay zero.
  struct ToolEntry {
    unsigned int cursor;
    char name[60];
  };
  static constexpr int kToolCount = 24;
  static constexpr int kToolEntries = 30;
  static ToolEntry Tools[kToolCount][kToolEntries];
  // 0, or 1 (logged, nothing stored) for a tool or entry outside the table.
  static int DefineTool(int tool, int subtool, int cursor, const char* name);
  static int DefineTool(int tool, int cursor, const char* name) { return DefineTool(tool, 0, cursor, name); }
  // Empties the whole table.
  static void ClearTools();
  // The entry of a tool: the variant for tools 6 and 8, else the subtool;
  // anything outside the table counts as 0.
  static int GetSecoundToolIndex(int tool, int subtool, int variant);
  // Chooses a tool: 0 when chosen or a warning was shown, 1 otherwise.
  virtual int SetToolNr(int tool, int subtool, int variant);
  // Back to the selection tool with nothing selected; 0.
  int SetToolStandard();
  // 0 when the current tool matches every argument that is not -1.
  int IsToolSet(int tool, int subtool, int variant) const;
  // The cursor of the current tool's entry.
  unsigned int GetToolResID() const;
  // Shows the current tool's cursor again when another one is stored; 0.
  int RestoreCursorFromTool();
  // The keyboard shortcuts; 0 when the key was one.
  int CheckShortCuts(QnoInteractionEvent* event, QnoView* view);
  // The static-city flag the debug tools read.
  static unsigned char m_StaticCity;

 protected:
  // Drops the selection: marked buildings, the per-tile marks and the
  // words of the removal selection.
  void ClearToolSelection();
  // The building catalogue's picture, number and size for a kind; false
  // when the kind has no picture.
  virtual bool FindToolBuilding(int type, int index, int& resource, int& number, int& sizeX, int& sizeY);
  // Whether the city has its advice centre or car-sharing centre.
  virtual bool HasAdviceCentre();
  virtual bool HasCarsharingCentre();
  // Window handling reached by the tools and shortcuts.
  int OpenToolWindow(int id, int over = 1);
  int CloseToolWindow(int id, int over = 0);
  bool ToolWindowOpen(int id);
  // The map's actions of the tools whose targets are elsewhere.
  virtual int CheckSelStreet(int x, int y);

 public:
  // ==== end of tools and input filter ====
  static CScreenWindow* topWindow;

 private:
  bool m_Filter[5] = {};
  int m_RenderType = 0;
  unsigned char m_TileMask[128][128] = {};
  unsigned char m_TileMask2[128][128] = {};
  CTwoDMap m_TwoDMap;
};
