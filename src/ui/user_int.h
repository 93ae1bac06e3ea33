#pragma once
// The interface controller: the one game-screen controller on top of the
// overlay. It owns the interface's maps, the view filter, the render list of
// open windows and the vehicle lists, keeps the tool and selection record,
// runs deferred actions a few frames after they were asked for, handles the
// warning and question windows and draws the interface's layers.
#include <cstdint>
#include <memory>

#include "framework/qno_event.h"
#include "framework/zor_spiral.h"
#include "iso/iso_geometry.h"
#include "iso/iso_sel_obj.h"
#include "ui/overlay.h"
#include "ui/small_map.h"
#include "ui/two_d_map.h"
#include "ui/user_int_debug.h"
#include "ui/view_filter.h"
#include "worldbase/street_type.h"

class QnoResourceManager;
class QnoDisplay;
class QnoView;
class QnoBitmapFont;
class CIsoWelt;
class CIsoTile;
class CStrJunctionList;
class CStrPreviewRect;
class CStrSchJuncList;
class CStrJunction;
class CStrStrasse;
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
  // The save on quitting failed: ask whether to leave without it.
  DOLATER_ASK_QUIT_UNSAVED = 10,
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
  // The removal questions: one building, several, a stop.
  static constexpr int kRemoveOneQuestion = 243;
  static constexpr int kRemoveManyQuestion = 244;
  static constexpr int kRemoveStopQuestion = 223;
  // The questions that wait for an answer, which the mouse's presses go to
  // alone; they stay in front of every window opened after them.
  static constexpr int kQuestions[] = {kYesNoWindow, kRemoveOneQuestion, kRemoveManyQuestion, kRemoveStopQuestion};
  static bool IsQuestion(int id) {
    for (int q : kQuestions)
      if (q == id) return true;
    return false;
  }
  // The windows that end a game or a scenario: the goal reached, the years
  // over, the city bankrupt. Like the warnings they hold the mouse, and
  // they stay in front of every window opened after them.
  static constexpr int kEndWindows[] = {233, 234, 248};
  static bool IsEndWindow(int id) { return id == kEndWindows[0] || id == kEndWindows[1] || id == kEndWindows[2]; }
  // Warning texts by id (German, English); 84 reports a save that failed,
  // 85 to 88 explain the street tool's refusals, 89 a building placed on
  // land that is taken and 95 one placed out of a street's reach; 96 a
  // load refused for want of the file or of room to keep the running game;
  // 97 and 98 a track or a street too short beside its level crossing.
  static constexpr int kAchtungCount = 99;
  static constexpr int kWarningNoGame = 68;
  static constexpr int kWarningSaveFailed = 84;
  static constexpr int kWarningLoadFailed = 96;
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
  // While the map pans under a drag that rests at the screen's edge, the
  // drag's end follows the cell that now lies under the pointer, the cell
  // its release will take.
  void FollowPanningDrag();
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
  // A line whose route lies on one street: the pieces from the first stop's
  // to the last stop's.
  void RenderOpnvLineOneStreet(QnoDisplay* display, COpnvLine* line, unsigned short colour);
  // One street piece of a line between its end tiles, as a band of five
  // pixel lines offset by the line's number.
  void RenderOpnvPiece(QnoDisplay* display, int x1, int y1, int x2, int y2, int type, int lineId,
                       unsigned short colour);

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
  // Opens the window; a page of a closed group comes with its group, alone
  // among the group's pages, as its page button shows it.
  int ActivateWithGroup(int id);
  int DisableSubMenues();
  int DisableStandardMenues();

  // ---- warnings, questions and balloon help ----
  // Shows the warning window with warning text number `id`.
  virtual void SetAchtungWindow(int id);
  // Asks the yes/no question `id` in window 247; a kind of 0 or more becomes
  // the kind of every answer action of its item 0 that neither closes nor
  // hovers, so that yes runs it.
  virtual void SetAchtungWindowJaNein(int id, int kind = -1);
  // After the save on quitting failed: says so and asks again whether to
  // quit; yes leaves the game without saving.
  void AskQuitWithoutSave();
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
  // The selected street's load of each direction in the new hour, in
  // percent of that direction's capacity.
  virtual int UpdateStreet24h(int hour);
  void ResetStreet24hData();
  // All 24 stored hourly loads of the selected street, in percent of its
  // capacity (600 when it has none); nothing for a street without them.
  void GetStreet24hData();
  // The lines page lists the lines again and shows public transport's
  // figures: after a line was made or removed.
  void RefreshWindowLineChange();
  virtual int ResetBeforeLoad(CStrJunctionList* streets);
  // Clears every pointer the selection keeps into the world's objects.
  void ForgetWorldObjects();
  // The cause-effect view's selected node in the net as it stands, or null.
  static CCyberNode* SelectedCyberNode();
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
  // Shows (on) or hides the thematic map.
  void ActivateTwoDMap(bool on);
  // The thematic map and its colour key, drawn by the map window's items.
  void RenderTwoDMap(QnoDisplay* display, int x, int y);
  void RenderTwoDMapColorKey(QnoDisplay* display, int x, int y);
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
  // Whether cell i of a bus stop of that type (counted along its
  // direction from its first cell) stands on the street; the others stand
  // on land beside it.
  static bool IsStopStreetCell(int type, int i);
  // The warning that names why a stop cannot stand on a street or rail
  // cell of that classification; 0 for a cell that carries it.
  static int StopClassificationWarning(int classification);
  // Why an object of the kind, with picture resId, may not stand with its
  // first cell at (x, y) facing `dir`: 0 when it may, else the warning
  // that says why. The previews, the clicks and the factory all ask this
  // one rule. A sign stop first moves to its street's cell (the start of a
  // four-lane street's group) and takes the direction it faces there.
  int PlaceRefusal(int kind, int resId, int& x, int& y, int& dir);
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
  virtual bool GetBuildSurfaceStatus() const { return selObj.tool >= 10 && selObj.tool <= 12 && selObj.leftButton; }
  // True while a street or rail is being dragged.
  bool GetBuildStreetStatus() const { return selObj.streetDrag != 0; }

  // ---- building streets and tracks (user_int_build.cpp) ----
  // Builds a street between two cells without drag, costs or follow-up
  // checks; false when it was built.
  bool BuildStreet(int x1, int y1, int x2, int y2, CStrassenType type);
  // A left release over a window or the small map: the drag builds nothing.
  int MouseLeftUpOnWindow();
  // A building's window (221, 170, 224) closed: its building is unmarked
  // once none of them shows.
  void ClearBuildingMarker();
  // The game lost the keyboard and mouse: drags end, buttons count as up.
  void InputFocusLost();
  CStrPreviewRect* GetStrPreviewRect() { return m_pStrPreviewRect; }
  // The lengths of the street classes (summed street lengths / 100; the
  // four-lane street and tracks counted twice) and what a change between
  // two measurements costs: each changed class at its price per 100 length
  // units, summed, for building and removing alike; tracks apart.
  struct NetLengths {
    float side = 0, main = 0, four = 0, track = 0;
  };
  static NetLengths MeasureNetLengths(CStrJunctionList* streets, CStrJunctionList* rails);
  // The cost of the change at price class `priceClass` (0 building, 1
  // removal): every changed street class summed, the doubled two-strip
  // lengths halved; tracks apart.
  static void StreetChangeCosts(const NetLengths& before, const NetLengths& after, double* streets, double* tracks,
                                int priceClass = 0);

  static unsigned char m_ActivateDebugInfo;
  static bool m_StaticCity;
  // While set the city's growth target is the population + 50000.
  static bool m_MakeAgents;
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
  CIsoWelt* m_pIsoWelt = nullptr;
  unsigned char m_BuildStreet = 0;
  CStrPreviewRect* m_pStrPreviewRect = nullptr;
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
  uint32_t m_BusCycleStart = 0;
  // The exhibition markers' blink flag and its last switch.
  bool m_ExpoShow = true;
  uint32_t m_ExpoTime = 0;

  // Search spiral.
  ZorSquareSpiral m_Spiral;

  int m_RenderType = 0;
  unsigned char m_TileMask[128][128] = {};
  unsigned char m_TileMask2[128][128] = {};


  // ---- the street tools' join marking (user_int_select*.cpp) ----
 public:
  // What a street of the network is like at a tile, or what a new street
  // meets in one direction.
  enum ESelStreetFromTo : int {
    SEL_KEINE = 0,
    SEL_KREUZUNG = 1,
    SEL_ENDSTUECK = 2,
    SEL_LEER = 3,
    SEL_GERADE = 4,
    SEL_KURVE = 5
  };
  // One direction of a tile: the kind of network at the tile, the kind met
  // in that direction (0 when refused), and the join (7 plain, 6 across a
  // track or street).
  struct SelRichtung {
    uint8_t from, to, join;
  };
  // Directions 0 (y - 1), 1 (x + 1), 2 (y + 1), 3 (x - 1).
  static constexpr int kDirDx[4] = {0, 1, 0, -1};
  static constexpr int kDirDy[4] = {-1, 0, 1, 0};
  // Recomputes the whole marking for the current street type; (x, y) is
  // only stored. 0.
  int ResetSelStreet();
  const SelRichtung& GetSelRichtung(int x, int y, int dir) const;
  // The tile a new street leaving (x, y) in `dir` meets; false (and -1,
  // -1) when none.
  bool GetSelMeeting(int x, int y, int dir, int& mx, int& my) const;
  int GetSelStoredX() const;
  int GetSelStoredY() const;
  CStrJunction* GetJunctionAt(int x, int y) const;
  CStrJunction* GetSchJunctionAt(int x, int y) const;
  CStrJunction* GetSchienenJunctionAt(int x, int y) const { return GetSchJunctionAt(x, y); }
  CStrStrasse* GetStrasseAt(int x, int y) const;
  CStrStrasse* GetSchienenAt(int x, int y) const;
  static bool CalcSteigung(int x1, int y1, int x2, int y2, int& dx, int& dy);
  static bool StreetIsQuerRichtung(CStrStrasse* street, int x, int y, int dir);
  static bool StreetsAreQuer(CStrStrasse* s1, int x1, int y1, CStrStrasse* s2, int x2, int y2);
  static bool StreetsAreParallel(CStrStrasse* s1, int x1, int y1, CStrStrasse* s2, int x2, int y2);
  bool CheckSelStrasseSpaceForRailCrossing(int x, int y) const;
  bool CheckSelSchienenSpaceForRailCrossing(int x, int y) const;
  int SelStreetQuelleZielDif(int x, int y, int dir) const;
  static void SelStreetFT(char* out, ESelStreetFromTo kind);
  static void SelStreet(char* out, int code);
  CStrSchJuncList* GetRailNet() const;

 private:
  struct SelStreetTiles;
  struct SelWalk;
  // The ground type of a tile, street and crossing groups counted as
  // street pieces and junctions; 0 outside the map.
  int SelTileType(int x, int y) const;
  bool SelEmptyLand(int x, int y) const;
  int SelFirstCode(int x, int y, int type) const;
  void CheckSelStreetRichtung();
  void SelRichtungFirstWord(int x, int y);
  bool SelWalkDirection(int x, int y, int dir, bool track);
  bool SelFirstStep(SelWalk& w, int nx, int ny);
  bool CheckDStreetForLength(CStrStrasse* street, CStrJunction* junction, int x, int y, int dir) const;
  bool CheckForKurvenOverSizeFree(CStrStrasse* street, CStrJunction* junction, int x, int y, int dir) const;
  bool CheckSelSchienenKurveFreeTeil(int x1, int y1, int x2, int y2, int dir) const;
  // Keeps only directions whose drag the networks' own checks accept.
  void CheckSelDragsValid();
  void CheckStreetRemoveBauABNotValid();
  void CheckStreetRemoveWideNotValid(bool track);
  void CheckStreetRemoveBauDNotValid() { CheckStreetRemoveWideNotValid(false); }
  void CheckStreetRemoveSchienenNotValid() { CheckStreetRemoveWideNotValid(true); }
  void SelDropDirection(int x, int y, int dir);
  bool SelMeetingAccepts(int x, int y, int dir) const;
  // Joinable tiles left without a direction become code 18.
  void SelMarkEmptyAs18();
  struct SelTilesDeleter {
    void operator()(SelStreetTiles* tiles) const;
  };
  std::unique_ptr<SelStreetTiles, SelTilesDeleter> m_pSelTiles;
  int m_SelType = 0;

  // ---- removing streets and tracks (user_int_remove*.cpp) ----
 public:
  // The network's class lengths in hundreds of length units: side streets,
  // main streets, four-lane streets and tracks (the last two counted twice).
  // Closes the street and crossing windows whose street or crossing is gone.
  int CheckStreetCrossingWindow();
  static constexpr int kRemovalHighlightMs = 6000;

 private:
  // A stop stands on one of the street's tiles.
  bool StreetHasHst(CStrStrasse* street) const;
  void FollowUpNetChange();

  // ---- input filter and tools ----
  // (user_int_input.cpp, user_int_tools.cpp)
 public:
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
  // The building to place turns a quarter: right steps its direction
  // 0, 1, 2, 3, 0, left the other way; its footprint follows the direction.
  void TurnBuildingRight() { TurnBuilding(1); }
  void TurnBuildingLeft() { TurnBuilding(3); }
  // 0 when the current tool matches every argument that is not -1.
  int IsToolSet(int tool, int subtool, int variant) const;
  // The cursor of the current tool's entry.
  unsigned int GetToolResID() const;
  // Shows the current tool's cursor again when another one is stored; 0.
  int RestoreCursorFromTool();
  // The keyboard shortcuts; 0 when the key was one.
  int CheckShortCuts(QnoInteractionEvent* event, QnoView* view);

 protected:
  // Drops the selection: marked buildings, the per-tile marks and the
  // words of the removal selection.
  void ClearToolSelection();
  // The building catalogue's picture, number and size for a kind; false
  // when the kind has no picture.
  virtual bool FindToolBuilding(int type, int index, int& resource, int& number, int& sizeX, int& sizeY);
  void TurnBuilding(int quarters);
  // Whether the city has its advice centre or car-sharing centre.
  virtual bool HasAdviceCentre();
  virtual bool HasCarsharingCentre();
  // What the tools do on the map, and the inputs of the exhibition, the
  // small map and the debug tools. Each result follows the input-filter
  // convention where it ends the filter.
  virtual int CheckSelStreet(int x, int y);
  virtual int SelectObject(int x, int y, bool select);
  virtual int StartBuildStreet(int x, int y);
  virtual int BuildStreet(int x, int y);
  virtual int StopBuildStreet(int x, int y);
  virtual int DeleteStreet(int x, int y);
  virtual int BuildBuildingLayerObject(int x, int y);
  virtual int SelectFlaecheStartPoint(int x, int y);
  virtual int SelectFlaecheFinishPoint(int x, int y);
  virtual int BuildFlaeche(selObjType& sel);
  virtual int RemoveFlaeche(selObjType& sel);
  virtual int TestRemoveAll(selObjType& sel);
  virtual int CheckBuildingList();
  virtual int RemoveObject(int x, int y, int layer);
  virtual int RemoveBuildingSelection();
  virtual int BuildRemoveOpnvLine(int x, int y);
  // The cell of the stop the line tools and the stop remover point at from
  // screen point (sx, sy): the stop's own cell or the stop whose sign
  // stands there; tx and ty are left alone when no stop is there.
  void StopCellAt(int sx, int sy, int& tx, int& ty);
  // The line editor lets go of its line and unbinds the line window.
  void ForgetEditedLine();
  virtual int CheckBusStopTypeRichtungShow(int x, int y);
  virtual int CheckForMatrix(int x, int y);
  virtual int InputFilterDebugKeys(QnoInteractionEvent* event, QnoView* view);
  virtual int Expo_InputFilter(QnoInteractionEvent* event, QnoView* view);
  // 1 for the windows of the normal game that take no input in the exhibition.
  static int Expo_CheckWindowOK(int id);
  virtual int SmallMapInputFilter(QnoInteractionEvent* event, QnoView* view);
  // Whether the street network holds any street.
  virtual bool NetHasStreets();
  // Why what the placing tool holds may not stand with the cursor at
  // (x, y): 0 when it may, else the warning that says why (a street is
  // needed first, a second office, the kind's rule `PlaceRefusal`, or a
  // price the kind lacks or the city cannot pay).
  // (x, y) and `dir` become the first cell and direction it would take.
  int ToolPlaceRefusal(int& x, int& y, int& dir);
  // The kind the placing tool places with the picture, and its price;
  // false when the kind has none.
  int PlacedKind(int resId) const;
  bool PlacePrice(int resId, double& price);

  // ---- placing, selecting and removing objects (user_int_place*.cpp) ----
 public:
  // Empties the building selection of the removal rectangle.
  virtual int ResetSelectedBuildingList();
  // The yes of the building-removal question: forget every reference to
  // what goes, then remove the listed buildings and book what they cost.
  virtual int CheckForRemoveObjectSelected();
  virtual int RemoveBuildingSelectedBuildingList();
  // The world lets go of an object: the selection forgets it, so that a
  // building that went while its removal question was open is neither
  // drawn marked nor removed and paid for again.
  void ForgetObject(CWorldObj* gone);
  // The yes of the stop-removal question: removes the pending cell's
  // object; 0 when it went.
  int RemoveSelectedObject();
  // The stop chosen on the map (the selected object when it is a stop), or
  // null; its lines are the ones the line list marks.
  static CWorldObj* GetSelectedStop();
  // Forgets the chosen stop, as choosing it a second time does.
  static void ClearSelectedStop();
  // Takes away the map's highlight of the place of an event.
  static void ClearMessageMark() { selObj.msgX = selObj.msgY = selObj.msgW = selObj.msgH = -1; }
  // True when no street (type 0) or no stop (type 1, the last one met in
  // `found`) lies within `dist` cells around the footprint of the resource
  // (byResource) or of the map's group at (x, y).
  bool CheckForDistance(int resId, int x, int y, int dist, int type, int dir, bool byResource, CWorldObj*& found);
  // 0 when (px, py) lies on the walk from (x1, y1) to (x2, y2), 1 otherwise.
  static int CheckHit(int x1, int y1, int x2, int y2, int px, int py);

 protected:
  virtual void SetRiverCenter(int x, int y);
  virtual void SelectStreetObject(CWorldObj* object, int x, int y);
  int SelectStop(CWorldObj* stop);
  // The removal price of an object; false when the table has none for it.
  bool RemovalPrice(CWorldObj* object, double& price);
  // Makes the price the pending removal's when there is one and the city
  // can pay it; otherwise warns, closes the removal questions and is false.
  bool PendRemoval(bool priced, double price);
  // Whether a park-and-ride site finds this stop as its nearest within
  // three cells: the stop must stay while the site does.
  bool ServesParkRide(const CWorldObj* stop);

 public:
  // The map actions of the tools, numbered from 0 in the order they were
  // asked for; the last kMapCallLog of them are kept.
  struct MapCall {
    const char* name;
    int x, y;
  };
  static constexpr int kMapCallLog = 16;
  int GetMapCallCount() const { return m_MapCallCount; }
  int GetFirstKeptMapCall() const { return m_MapCallCount > kMapCallLog ? m_MapCallCount - kMapCallLog : 0; }
  // Call number i, one of the kept ones.
  const MapCall& GetMapCall(int i) const { return m_MapCalls[i % kMapCallLog]; }
  // The debug key and the static-city key: digits the shortcuts leave
  // free while they do not run.
  static constexpr int kDebugKey = '0';
  static constexpr int kStaticCityKey = '9';
  // The debug key that holds the cause-effect network (F3).
  static constexpr int kFreezeKey = 25;
  // The question the load key asks before its fast save replaces the game,
  // and the one before quitting, with the action kinds their yes runs.
  static constexpr int kQuestionReplaceGame = 71;
  static constexpr int kActionFastLoad = 157;
  static constexpr int kQuestionQuit = 79;
  static constexpr int kActionQuit = 81;
  // Yes to the question asked again after the save on quitting failed.
  static constexpr int kActionQuitUnsaved = 155;
  static constexpr int kWarningNoMoneyBuild = 3;
  static constexpr int kWarningNoStreet = 34;
  static constexpr int kWarningNoFreeLand = 89;
  // A track refused without a reason of its own; an object that needs a
  // street, a railway station that needs a track, the shelters of a stop
  // that need free land beside the street; a cell already taken.
  static constexpr int kWarningTrackNotPossible = 90;
  static constexpr int kWarningNeedsStreet = 91;
  static constexpr int kWarningNeedsTrack = 92;
  static constexpr int kWarningStopNeedsLand = 93;
  static constexpr int kWarningPlaceTaken = 94;
  // A car park, park-and-ride site or car-sharing building placed farther
  // from every street than its access allows (the text of warning 0, whose
  // id means no refusal to the placing rule).
  static constexpr int kWarningStreetTooFar = 95;

 protected:
  int RecordMapCall(const char* name, int x, int y, int result);

 private:
  // Steps of the stop tool: the kind's picture and size after a switch of
  // the form, the group size for the current direction, the direction a
  // bus stop faces at a street cell (-1 off a street; `shifted` set when
  // the cell is not the start of its four-lane group), and whether the stop
  // fits with its first cell at (x, y).
  void SwitchStopType(int type);
  void StopGroupSize();
  int StopRichtungAt(int x, int y, bool* shifted);
  // The rules of `PlaceRefusal` for bus stops and tram stops.
  int BusStopRefusal(int kind, int& x, int& y, int& dir);
  int TramStopRefusal(int resId, int x, int y, int dir);
  // Steps of the input filter.
  void UpdatePanel(int sx, int sy, int dx, int dy);
  bool PanelHit(int sx, int sy, int dx, int dy) const;
  // The exhibition's steps (user_int_expo.cpp): a left press on a map cell
  // by god mode's task step, and the map's selection and panning.
  void ExpoTaskClick(int tx, int ty);
  int ExpoMapInput(QnoInteractionEvent* e, int sx, int sy);
  // Hands the event to the open windows, front first; true when one took it.
  // In the exhibition only the windows its chain may use take part, those
  // of the main screen included.
  // With `only` set, no other window takes part.
  bool WindowsInput(QnoInteractionEvent* e, QnoView* view, int sx, int sy, bool exhibition = false, int only = 0);
  // The warning, the question (yes/no or removal) or the end window that
  // stands in front of the others, or 0 when none is open; with
  // `questionsOnly` the question in front, whether a warning or an end
  // window stands before it or not.
  int FrontWarningOrQuestion(bool questionsOnly = false) const;
  int KeyInput(QnoInteractionEvent* event, QnoView* view);
  int MapInput(QnoInteractionEvent* event, int sx, int sy);
  // A left release over a window or the panel ends any selection.
  void EndSelectionOnRelease();
  // The warning window goes on a press, or on a mouse move once it has been
  // seen; while a question hides it, it stays and its time starts again.
  void CloseWarningOnPressOrLateMove(const QnoInteractionEvent* e, bool hidden = false);
  void ShowWindowCursor(bool backup);
  void ShowToolCursor();
  void ToggleShortcutWindow(int id);
  // Opens window 247 with question `id` showing `text`; see
  // SetAchtungWindowJaNein.
  void AskYesNo(int id, const char* text, int kind);
  void ShowPage(int page);

  MapCall m_MapCalls[kMapCallLog] = {};
  int m_MapCallCount = 0;
  // The window pointer is shown because the mouse is over a window or the
  // panel; the tool cursor comes back when it leaves.
  bool m_WindowCursor = false;
  // A window under the mouse took the current event.
  bool m_PointerShown = false;
  // The last press went to a warning or a question; its release goes
  // nowhere else either.
  bool m_PressHeldByModal = false;
  // ---- end of input filter and tools ----

  // ---- debug keys, checks and layers (user_int_debug*.cpp) ----
 public:
  static CUserIntDebug m_Debug;
  // The consistency checks of the street and rail networks against the
  // demand model and the locations: 0 when they found nothing. The street
  // check logs the first street the demand model does not know.
  int CheckStreetNet();
  int CheckStreetSim();
  int CheckRailNet();
  int CheckLocations();
  // The message browser: the next or previous adviser message is shown.
  void BrowseMessage(bool next);
  // The two debug layers, drawn while the debug keys are on.
  void RenderDebugInfo(QnoDisplay* display);
  void RenderDebugInfoFront(QnoDisplay* display);

 private:
  // After the test-object keys: the object type and footprint of the
  // chosen building number and direction.
  void TestObjectChanged(bool newBuilding);
  void SelectTestObjectTool();
  void RestartScenario(int kind, int indicator, float value, int years);
  // Marks every street of a network (RenderStreetNet, RenderRailNet).
  void RenderStreetMarks(QnoDisplay* display, CStrJunctionList* net, bool rail);
  void RenderDebugBox(QnoDisplay* display, int x1, int y1, int x2, int y2, const char* text);
  // While the debug keys are on: a line in the screen's top right corner
  // that says so, over every window.
  void RenderDebugNotice(QnoDisplay* display, int language);
  void RenderCyberView(QnoDisplay* display);
  void RenderTripDistribution(QnoDisplay* display);
  // The panels (user_int_debug_panels.cpp). A line's box is as wide as
  // its text; panels that run down the screen advance y past their lines.
  int DebugLineWidth(const char* text);
  void RenderDebugLine(QnoDisplay* display, int x, int y, const char* text);
  void RenderCityInfo(QnoDisplay* display, int& y);
  void RenderDebugOpnvLineStreet(QnoDisplay* display, COpnvLine* line, int& y);
  // Marks every cell of the street: a track's mark for rails, the
  // highlight for a street a bus drives on.
  void RenderStreet(QnoDisplay* display, CStrStrasse* street, bool rail, bool highlight);
  void RenderDebugSelection(QnoDisplay* display, int x, int y);
  void RenderPriorityStreets(QnoDisplay* display);
  void RenderObjectInfo(QnoDisplay* display);
  void RenderStreetInfo(QnoDisplay* display, const QnoBitmapFont* font, int x, int y, CWorldObj* object);
  void RenderCrossingInfo(QnoDisplay* display, const QnoBitmapFont* font, int x, int y, CWorldObj* object);
  void RenderSchienenInfo(QnoDisplay* display, const QnoBitmapFont* font, int x, int y, CWorldObj* object);
  void RenderBuildingInfo(QnoDisplay* display, const QnoBitmapFont* font, int x, int y, CWorldObj* object);
  void RenderDebugOpnv(QnoDisplay* display);
};
