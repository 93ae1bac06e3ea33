#pragma once
// The interface controller: the one game-screen controller on top of the
// overlay. It owns the interface's maps, the view filter, the render list of
// open windows and the vehicle lists, keeps the tool and selection record,
// runs deferred actions a few frames after they were asked for, handles the
// warning and question windows and draws the interface's layers.
#include <cstdint>

#include "framework/qno_event.h"
#include "iso/iso_geometry.h"
#include "iso/iso_sel_obj.h"
#include "ui/map_standins.h"
#include "ui/overlay.h"

class QnoResourceManager;
class QnoDisplay;
class QnoView;
class CIsoWelt;
class CIsoTile;
class CStrJunctionList;
class CScreenWindow;
class CBuildingList;
class CWorldObj;
class CStreetObj;
class CKreuzObj;
class COpnvLine;
class CBuildingObject;
class CZorvaList;
class CZorvaObject;
class CAction;
class CItem;
struct IsoViewRectType;

// Actions run a few frames after they were asked for, so that a frame with
// the wait cursor is drawn first.
enum DoLaterType : int {
  DOLATER_NONE = 0,
  DOLATER_LOAD = 1,
  DOLATER_SAVE = 2,
  DOLATER_NEW = 3,
  DOLATER_TURN_RIGHT = 4,
  DOLATER_TURN_LEFT = 5,
  DOLATER_ZOOM_IN = 6,
  DOLATER_ZOOM_OUT = 7,
  DOLATER_AUTOSAVE = 8,
  DOLATER_AUTOLOAD = 9,
};

class CUserInt : public Overlay {
 public:
  // Cursors shared by the interface.
  static constexpr int kCursorWait = 49733;
  static constexpr int kCursorWindow = 28489;
  static constexpr int kCursorPan = 28426;
  // The warning window and the yes/no question window.
  static constexpr int kWarningWindow = 220;
  static constexpr int kYesNoWindow = 247;
  // Warning texts by id (German, English); the last one reports a save
  // that failed.
  static constexpr int kAchtungCount = 85;
  static constexpr int kWarningNoGame = 68;
  static constexpr int kWarningSaveFailed = 84;
  static constexpr int kObjectNameCount = 70;

  CUserInt();
  ~CUserInt() override;

  // ---- creation, turn and lifecycle ----
  virtual int OnCreate(QnoResourceManager* resources, QnoDisplay* display, CZorvaWorld* world, CIsoWelt* iso,
                       CStrJunctionList* streets);
  int Destroy() override;
  // Deferred actions; every sixth frame the bus list, the open windows' turns
  // and both maps. The last step of every world turn.
  virtual int OnPlayloopTurn();
  void SetDoLater(DoLaterType type);
  int CheckForDoLater();
  static int framecount;

  // ---- input (the filter and shortcuts) ----
  using Overlay::InputFilter;
  // 0 when the event was consumed.
  virtual int InputFilter(QnoInteractionEvent* event, QnoView* view);

  // ---- rendering ----
  int Render(QnoDisplay* display) override;
  virtual int RenderWindow(QnoDisplay* display);
  virtual int RenderBalloonHelp(QnoDisplay* display);
  virtual int RenderBusListOverSmallMap(QnoDisplay* display);
  // The status line: money, population, date, indicators and the ticker.
  virtual void RenderStatusLayer(QnoDisplay* display);
  // Public-transport overlays drawn into the map: the whole net, one line's
  // streets in a colour, one line's stops.
  virtual void RenderOpnvNet(QnoDisplay* display);
  virtual void RenderOpnvLineStreet(QnoDisplay* display, COpnvLine* line, unsigned short colour);
  virtual void RenderOpnvLineHst(QnoDisplay* display, COpnvLine* line);

  // ---- the render list of open top-level windows, front first ----
  // 0 when the window went to the front; 1 when it stays where it is (a
  // window below 20 already open) or does not exist.
  int InsertIntoRenderList(CScreenWindow* window, int id);
  int RemoveFromRenderList(CScreenWindow* window, int id);
  // Moves an open window to the front without the below-20 rule.
  int BringToFront(CScreenWindow* window);
  // 0 when a window with that id is open, 1 otherwise.
  int IsWindowOpen(int id) const;
  CZorvaList* GetRenderList() { return m_pRenderList; }
  // Opens or closes a window of the tree by id; 0 when done.
  int ActivateWindow(int id, int over = 1);
  int DeActivateWindow(int id, int over = 0);
  int DisableSubMenues();
  int DisableStandardMenues();

  // ---- warnings, questions and balloon help ----
  // Shows the warning window with warning text number `id`.
  virtual void SetAchtungWindow(int id);
  // Asks the yes/no question `id` in window 247.
  virtual void SetAchtungWindowJaNein(int id);
  bool IsAchtungWindowJaNein(int id) const;
  // The answer action of the open question: yes gives its first action
  // that does not close, no its closing action; null when none.
  CAction* GetAchtungWindowJaNeinItemAction(CAction*& action, CItem*& item, bool yes);
  // The question's answer is taken: it is no longer pending.
  void ClearYesNo() { selObj.yesNoWarning = -1; }
  uint32_t GetAchtungTime() const { return m_AchtungTime; }
  // Warning text id in language 0 German, 1 English; null outside the table.
  static const char* GetAchtungText(int id, int language);
  void SetBalloonHelp(const char* text, int x, int y, int cost);
  void ResetBalloonHelp();
  const char* GetBalloonText() const { return m_BalloonText; }

  // ---- windows around the game state ----
  virtual int SetAufloesung(int width, int height);
  int BoundingBox(int id, int maxDx, int maxDy, int x, int y);
  virtual int UpdateStreet24h(int hour);
  void ResetStreet24hData();
  virtual int ResetBeforeLoad(CStrJunctionList* streets);
  virtual int ActivateAfterLoad();
  int ActivateEventWindow() { return ActivateWindow(217, 1); }
  // The display name of object kind n in the current language; "" outside
  // the table.
  static const char* GetZorvaObjectName(int n);
  static const char* GetGltTexte(int i);
  void ToggleLeisteFix() { selObj.panelPinned = selObj.panelPinned ? 0 : 1; }
  int GetLeisteFix() const { return selObj.panelPinned; }

  // ---- vehicles shown by the micro simulation ----
  void AddBus(CZorvaObject* bus);
  void RemoveBus(CZorvaObject* bus);
  void AddCar(CZorvaObject* car);
  void RemoveCar(CZorvaObject* car);
  void AddFeet(CZorvaObject* feet);
  void RemoveFeet(CZorvaObject* feet);
  CZorvaList* GetBusList() { return m_pBusList; }
  CZorvaList* GetCarList() { return m_pCarList; }
  int CheckBusList();

  // ---- search spiral ----
  void InitSpirale(int cx, int cy, int radius, bool);
  bool GetNextSpiralWert(int& x, int& y);

  // ---- view filters ----
  // Filters 1..4 are stored, 0 is on exactly when none of them is, and any
  // n above 4 is off.
  int GetFilter(int n) const;
  void SetFilter(int n, bool on);

  // ---- the interface's sub-objects ----
  CTwoDMap* GetTwoDMap() { return m_pTwoDMap; }
  CSmallMap* GetSmallMap() { return m_pSmallMap; }
  CViewFilter* GetViewFilter() { return m_pViewFilter; }
  CIsoWelt* GetIsoWelt() { return m_pIsoWelt; }
  QnoResourceManager* GetResourceManager() { return m_pResourceManager; }

  // ---- placement checks and warnings of the object factory ----
  // Classifies a street cell for a stop: 0 fine, 1 on a bend, 2 before a
  // bend, 3 at a level crossing, 4 before a rail crossing, 6 or 7 before a
  // junction or an end piece.
  virtual int CheckStreetForHstBuild(CStreetObj* street, int x, int y);
  // The same for a rail cell.
  virtual int CheckRailForHstBuild(CStreetObj* rail, int x, int y);
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
  // True while a street or rail is being dragged.
  bool GetBuildStreetStatus() const { return m_BuildStreet != 0; }

  static unsigned char m_ActivateDebugInfo;
  static bool m_StaticCity;
  static selObjType selObj;
  static CScreenWindow* topWindow;

 protected:
  QnoResourceManager* GetCache() override;
  QnoDisplay* GetOverlayDisplay() override;
  // Draws a resource picture centred at (x, y).
  void DrawPicture(QnoDisplay* display, int resourceId, int x, int y);

 private:
  CSmallMap* m_pSmallMap = nullptr;
  CTwoDMap* m_pTwoDMap = nullptr;
  CViewFilter* m_pViewFilter = nullptr;
  CIsoTile* m_pSelectionTile = nullptr;
  CIsoWelt* m_pIsoWelt = nullptr;
  unsigned char m_BuildStreet = 0;
  CStrJunctionList* m_pStreetNet = nullptr;
  QnoResourceManager* m_pResourceManager = nullptr;
  QnoDisplay* m_pDisplay = nullptr;
  CZorvaList* m_pRenderList = nullptr;
  CZorvaList* m_pBusList = nullptr;
  CZorvaList* m_pCarList = nullptr;
  CZorvaList* m_pFeetList = nullptr;
  uint32_t m_AchtungTime = 0;
  // Warnings asked for so far, so that a caller sees whether an operation
  // gave its own.
  int m_AchtungCount = 0;
  bool m_PanKeyHeld = false;
  bool m_LeftPressedOnMap = false;
  bool m_MatrixDebug = false;

  // Balloon help.
  char* m_BalloonText = nullptr;
  int m_BalloonX = -1, m_BalloonY = -1;
  uint32_t m_BalloonSetTime = 0, m_BalloonSeenTime = 0;
  int m_BalloonCost = -1;

  // Bus-dot blinking: end of the current cycle and end of its shown part.
  uint32_t m_BusCycleEnd = 0, m_BusShownUntil = 0;
  // The exhibition markers' blink flag and its last switch.
  bool m_ExpoShow = true;
  uint32_t m_ExpoTime = 0;

  // Search spiral.
  int m_SpCx = 0, m_SpCy = 0, m_SpMax = 0, m_SpR = 0, m_SpX = 0, m_SpY = 0, m_SpStartX = 0, m_SpStartY = 0;
  int m_SpDx = 0, m_SpDy = 0;

  int m_RenderType = 0;
  unsigned char m_TileMask[128][128] = {};
  unsigned char m_TileMask2[128][128] = {};

  // ---- input filter and tools ----
};
