#pragma once
// The isometric map: 128 x 128 cells seen through one view that scrolls by
// tiles and pixels, turns in four rotations and shows three zoom levels.
#include <cstdint>
#include <cstdio>

#include <utility>
#include <vector>

#include "framework/qno_sprite.h"
#include "iso/iso_geometry.h"
#include "iso/iso_host.h"
#include "iso/iso_info.h"
#include "iso/iso_layer_sprites.h"
#include "iso/iso_object.h"
#include "iso/iso_tile.h"
#include "worldbase/sim_location_types.h"
#include "worldbase/street_type.h"
#include "worldbase/zor_types.h"

class QnoResourceManager;
class QnoDisplay;
class QnoView;
class CWorldObj;
class CIsoVehicle;
class CStreetInfoList;
struct selObjType;
struct QnoInteractionEvent;

// The edge-panning band; display width - 40 and height - 150 of the
// screen the map was created on or changed to (760 and 450 for the
// default 800 x 600). The bottom limit holds while the bottom panel is
// shown and covers the map there; with the panel hidden the map reaches
// the screen's bottom edge and its band is as deep as the top one.
extern int panning_x_max;
extern int panning_y_max;

// Rebuilds the render lists of every cell after a zoom or a turn.
class CIsoUpdateRndLst {
 public:
  explicit CIsoUpdateRndLst(CIsoWelt* map) : m_pMap(map) {}
  virtual ~CIsoUpdateRndLst() = default;
  int Update();
  int UpdateZoom() { return Update(); }
  // Of the render lists only those whose order depends on the rotation go;
  // the sprite cache becomes the new rotation's.
  int UpdateRotate();
  int UpdateMove(signed char, signed char) { return 0; }

 private:
  CIsoWelt* m_pMap;
};

class CIsoWelt {
 public:
  // One cached sprite of a cell: id 0 is an empty slot; x, y the top-left
  // corner relative to the render origin of the last cache reset; sprite
  // the blob the id named when the slot was filled (blobs stay loaded as
  // long as the resource manager lives, so a frame draws it without a
  // lookup).
  struct SpriteSlot {
    int32_t id;
    int32_t x;
    int32_t y;
    void* sprite;
  };
  static constexpr int kSlotsPerCell = 6;
  // Fixed resources the renderers use.
  static constexpr int kOutsideGroundTile = 44316;
  static constexpr int kDistrictTileOdd = 44108;
  static constexpr int kDistrictTileEven = 44122;
  static constexpr int kStreetMarkTile = 49647;
  static constexpr int kHighlightTile = 49652;

  // A null host answers as a map without a game around it.
  CIsoWelt(CIsoHost* host, QnoResourceManager* resources, QnoDisplay* display);
  ~CIsoWelt();
  CIsoWelt(const CIsoWelt&) = delete;
  CIsoWelt& operator=(const CIsoWelt&) = delete;

  // ---- grid, view and coordinates
  int OnCreate();
  int Destroy();
  // Takes the map down before a load: a cell of plain ground stays, with
  // its sprite and lists, and OnCreate lays its ground again as on a new
  // cell; every other cell goes, as in Destroy. A load of a town rebuilds
  // only the cells its streets, rivers and buildings stood on.
  int DestroyForLoad();
  void CalcXYToIso(short x, short y, int* tileX, int* tileY);
  void CalcIsoToXY(short tileX, short tileY, int* x, int* y);
  void CalcViewRect();
  // What working out an unchanged view again does to the sound marks: the
  // objects of the sound rectangle are unmarked (fading their sounds), those
  // of the view lose their marks, and the sound rectangle's are marked again.
  void MarkSoundRectAgain();
  int CheckXYPixelIsoMove();
  int OnMoveLeft();
  int OnMoveRight();
  int OnMoveUp();
  int OnMoveDown();
  void ResetTiles();

  // ---- cells and tiles
  // Inline: the renderers and the view ask for cells by the thousand.
  CIsoInfo* GetIsoInfo(int x, int y) const { return IsoInMap(x, y) ? m_pGrid[x * ISO_MAP_SIZE + y] : nullptr; }
  int SetIsoTileAt(int x, int y, TBaseType layer, CIsoRichtung dir, int resId, CWorldObj* obj);
  int SetStdBase(int x, int y, TBaseType layer, bool fixed);
  // Every cell of the box (corners included) whose ground shows the object
  // gets the standard ground back; cells that show something else keep it.
  void ClearGroundOf(const CWorldObj* obj, int x1, int y1, int x2, int y2);
  CWorldObj* GetIsoTileObject(int x, int y, TBaseType layer);
  TObjectType GetTypeAt(unsigned short x, unsigned short y, TBaseType layer);
  CIsoObjGroup* GetGroupAt(unsigned short x, unsigned short y, TBaseType layer);
  bool IsSameGroup(unsigned short x1, unsigned short y1, unsigned short x2, unsigned short y2, TBaseType layer);
  int GetGroupSize(int x, int y, TBaseType layer, int& w, int& d);
  int GetIsoGroupSize(int resId, TIsoRichtung dir, int& w, int& d);
  int GetGroupSize(SimLocationSizeType& size, int resId);
  // The footprint of a single tile resource: one cell, or 0 by 0 (and 1)
  // when the tile is missing or not a tile.
  int GetTileSize(SimLocationSizeType& size, int resId);
  int SetFilter();
  void InvalidateSpriteRenderList(int x, int y);
  int SetNewPaintTiles(int, int) { return 0; }
  int SetNewPaintTilesInX(int, int) { return 0; }
  int SetNewPaintTilesInY(int, int) { return 0; }
  int SetNewPaintTilesInXY(int, int) { return 0; }
  int SetAniNewPaint() { return 0; }
  CIsoUpdateRndLst* GetUpdateRndLst() { return &m_UpdateRndLst; }

  // ---- drawing and the sprite render cache
  bool MakeSpriteRenderList(int x, int y);
  // Drops the cache of every rotation.
  int ResetCompleteSpriteRenderList();
  // Takes the cache of the rotation g_IsoRichtung names after a turn: the
  // one kept from the last time the view showed it, unless a zoom, a reset
  // or new archives came since. Entries made for the rotation left only
  // are dropped.
  void TurnSpriteCache();
  int MakeCompleteSpriteRenderList();
  int Render(QnoDisplay* display);
  int RenderSpriteList_Diagonal(QnoDisplay* display);
  int RenderSpriteList_Left_Right(QnoDisplay* display);

  // ---- zoom, turn, panning and view services
  int OnZoomIn();
  int OnZoomOut();
  int UserIntZoomIn();
  int UserIntZoomOut();
  int UserIntTurnRight();
  int UserIntTurnLeft();
  int RefreshAfterModeChange();
  // Sets the edge-panning band from the display's size.
  void SetPanningBand();
  int Update();
  int TurnMicroSim();
  int SetIsoCenter(int x, int y);
  int SetXYBasePoint(int x, int y);
  int CheckIsoViewPort();
  void ResetMove();
  int VirtualMouseMove();
  int CheckPannungMode();
  int CheckPannungModeAgain();
  void ResetPanningMode();
  // The lowest mouse row above the bottom band.
  int PanningYMax(const selObjType& sel) const;
  // Whether the mouse at (mx, my) stands in the edge-panning band.
  bool InPanningBand(int mx, int my, const selObjType& sel) const;
  void FixeIsoKoorCalc(unsigned short x, unsigned short y, int& sx, int& sy);
  void FixeGroupRichtung(unsigned short x, unsigned short y, int& sx, int& sy);
  void MouseKoorToScreenKoor(int mx, int my, int* sx, int* sy);
  void ScreenKoorToIsoKoor(int px, int py, int* x, int* y);
  int MouseKoorToIsoKoor(int mx, int my, int* x, int* y);
  void CalcSoundRect();
  void CalcMicroViewRect();
  // Shows the micro view's street, junction and track tiles to the view
  // filter and places their layouts at the tiles' screen anchors; `place`
  // false leaves the layouts where they are (a view change lays them anew).
  int UpdateMicroSim(bool place = true);
  int OnButtonUp(int x, int y, int button);
  int OnButtonDown(int x, int y, int button);
  int OnMouseMove(int x, int y, int button);
  int SerializeGameStore(FILE* file);
  int SerializeGameLoad(FILE* file);

  // ---- groups, checks, per-turn work and input
  int SetIsoGroupAt(unsigned short x, unsigned short y, TBaseType layer, int resId, CWorldObj* obj);
  int SetIsoGroupTurnedAt(unsigned short x, unsigned short y, TBaseType layer, int resId, CWorldObj* obj,
                          CIsoRichtung direction);
  int SetAusgewieseneFlaecheAt(int x, int y, TBaseType layer, CIsoRichtung direction, int resId, CWorldObj* obj);
  int CheckForType(int x, int y, TBaseType layer, TObjectType type, TIsoRichtung direction, int resId,
                   ESimLocationHeight height);
  int CheckForEmptyNoObject(int x, int y, TBaseType layer, TIsoRichtung direction, int resId);
  int CheckForTypeEmptyResComInd(int x, int y, TIsoRichtung direction, int resId);
  // Whether a building of group resId turned to direction may stand at
  // (x, y): every cell of its footprint is on the map, its ground is plain
  // ground or a zone and nothing stands on it. The factory builds by this
  // rule and the placing tools show it before the click.
  bool CanPlaceBuilding(int x, int y, TIsoRichtung direction, int resId);
  int RemoveResComInd(int x, int y, TIsoRichtung direction, int resId);
  int DeleteIsoGroupAt(int x, int y, TBaseType layer, bool sameObjectOnly);
  int SetFilterGroup(int x, int y, TBaseType layer);
  int OnPlayloopTurn();
  int InputFilter(QnoInteractionEvent* event, QnoView* view);

  // ---- street and crossing graphics
  // Appends the graphics record of a street type; 0.
  int DefineStreet(int type, int straightId, int straightLayer, int curveId, int curveLayer, int crossId,
                   int crossLayer, int tId, int tLayer, int endId, int endLayer, unsigned short capacity);
  // The capacity of the type's record; 0 when it has none.
  int GetStreetGetCapacity(CStrassenType type);
  // The street-type records; null while none is defined.
  CStreetInfoList* GetStreetInfoList() const { return m_pStreetInfo; }
  // Place a straight piece, a bend (only for a bend id above 0), a junction
  // graphic (kind 1: the type's end piece, result 1; kind 3: crossing resId,
  // result 0) and a four-lane crossing group. obj is the street's world
  // object. Cells outside the map are left alone.
  int InsertStreetAt(int x, int y, CIsoRichtung dir, CStrassenType type, CWorldObj* obj);
  int SetKurveAt(int x, int y, CIsoRichtung dir, CWorldObj* obj, CStrassenType type);
  int InsertKreuzungAt(int x, int y, int resId, CIsoRichtung* dir, CWorldObj* obj, CStrassenType type,
                       unsigned char kind);
  int InsertKreuzungsGroupAt(int x, int y, int resId, CIsoRichtung* dir, CWorldObj* obj, CStrassenType type);

  // ---- overlays, selection and overlay rendering
  int RenderGroupAsMouseAt(int x, int y, CIsoGroup* group, TIsoRichtung direction, int zoomIndex);
  int RenderBuildingList();
  int RenderBuildingSelections();
  int RenderSelection(selObjType* sel, CIsoTile* marker);
  void RenderUserInt(QnoDisplay* display);
  int RenderTileAsMouseAt(int x, int y, int resId, TIsoRichtung dir);
  int Expo_RenderLilaBase(int x, int y, int resId);
  int SetSecondCarPos(CIsoVehicle* car, int x, int y);
  // How many micro-cell layouts drawn at each cell hold a vehicle, of every
  // map: the layouts count themselves in as their first vehicle comes and
  // out as their last goes. A replayed frame skips the objects of a cell
  // that draw only such vehicles while the count is 0.
  static void CountLayoutVehicles(int x, int y, int change) {
    if (IsoInMap(x, y)) s_LayoutVehicles[x][y] = static_cast<uint16_t>(s_LayoutVehicles[x][y] + change);
  }
  static int GetLayoutVehicles(int x, int y) { return IsoInMap(x, y) ? s_LayoutVehicles[x][y] : 0; }

  // ---- view state
  CIsoHost* GetHost() const { return m_pHost; }
  QnoResourceManager* GetResourceManager() const { return m_pResources; }
  QnoDisplay* GetDisplay() const { return m_pDisplay; }
  const IsoViewRectType& GetViewRect() const { return m_ViewRect; }
  const IsoViewRectType& GetMicroViewRect() const { return m_MicroViewRect; }
  const IsoViewRectType& GetSoundRect() const { return m_SoundRect; }
  int GetCenterX() const { return m_CenterX; }
  int GetCenterY() const { return m_CenterY; }
  int GetPixelOffsetX() const { return m_PixelOffsetX; }
  int GetPixelOffsetY() const { return m_PixelOffsetY; }
  void SetPixelOffset(int x, int y) {
    m_PixelOffsetX = x;
    m_PixelOffsetY = y;
  }
  int GetOriginX() const { return m_OriginX; }
  int GetOriginY() const { return m_OriginY; }
  int GetMouseTileX() const { return m_MouseTileX; }
  int GetMouseTileY() const { return m_MouseTileY; }
  bool IsPanning() const { return m_Panning != 0; }
  // Counts cache rebuilds; the drawing tests and benchmarks read it.
  uint32_t GetCacheBuildCount() const { return m_CacheBuilds; }

  // Sprites the last frame of the sprite-list renderers left out because
  // sprites drawn later in the same frame cover every pixel of them.
  uint32_t GetHiddenSpriteCount() const { return m_HiddenSprites; }
  // Cells the walk of the last frame of the sprite-list renderers took.
  size_t GetFrameCellCount() const { return m_FrameCells.size(); }
  // Frames of the sprite-list renderers drawn again from the last frame's
  // recorded steps.
  uint32_t GetReplayedFrameCount() const { return m_ReplayedFrames; }
  // Replayed frames drawn only where the screen changed since the last.
  uint32_t GetChangesOnlyFrameCount() const { return m_ChangesOnlyFrames; }

  // The ground sprites of a cell (slots 0 to 2) that the object sprites
  // (slots 3 to 5) of at most kMaxCovers cells hide; the covering cells are
  // kept with the build number their render list had, so that a cover made
  // again or dropped shows the ground again.
  static constexpr int kMaxCovers = 4;
  // Cells whose covers one frame works out at the smallest tiles.
  static constexpr uint32_t kCoverCellsPerFrame = 256;
  struct GroundCover {
    uint32_t known;  // the cover epoch it was worked out in (0: not known)
    uint8_t hidden;  // bit k: ground slot k lies under the covers
    uint8_t count;
    uint8_t cellX[kMaxCovers];
    uint8_t cellY[kMaxCovers];
    uint32_t build[kMaxCovers];
  };

  // What m_SPOK holds for a cell: no entry, an entry for this rotation
  // only (made from a list that a turn replaces: items added one by one,
  // the overlay filter), or one that holds again when the view is turned
  // back to this rotation (made from the cell's objects).
  static constexpr uint8_t kEntryThisTurn = 1;
  static constexpr uint8_t kEntryKept = 2;
  // The render cache of one rotation. Each rotation keeps its own, so that
  // turning back to a rotation seen since the last zoom finds its entries
  // (a cell's change drops its entries in every rotation).
  struct RotationCache {
    SpriteSlot slots[ISO_MAP_SIZE][ISO_MAP_SIZE][kSlotsPerCell];
    uint8_t ok[ISO_MAP_SIZE][ISO_MAP_SIZE];
    GroundCover cover[ISO_MAP_SIZE][ISO_MAP_SIZE];
    uint32_t build[ISO_MAP_SIZE][ISO_MAP_SIZE];
  };
  // Per-cell caches of the renderers, indexed [x][y]: those of the
  // rotation the cache was last taken for.
  static SpriteSlot (*m_SpriteList)[ISO_MAP_SIZE][kSlotsPerCell];
  static uint8_t (*m_SPOK)[ISO_MAP_SIZE];
  static CIsoVehicle* m_CarSecondRender[ISO_MAP_SIZE][ISO_MAP_SIZE][4];
  static GroundCover (*m_GroundCover)[ISO_MAP_SIZE];
  // The build number of each cell's render list (0: never built).
  static uint32_t (*m_CellBuild)[ISO_MAP_SIZE];
  // The number of the last frame whose walk took the cell.
  static uint32_t m_FrameMark[ISO_MAP_SIZE][ISO_MAP_SIZE];
  // Covers are known only when worked out in the current epoch; a turn or
  // zoom, which makes every list again, starts a new one. Until the epoch
  // knows a cover, making a list has none behind it to forget.
  static uint32_t s_CoverEpoch;
  static bool s_CoversKnown;
  // The number of the last view rectangle that held the cell.
  static uint32_t m_ViewMark[ISO_MAP_SIZE][ISO_MAP_SIZE];
  static uint32_t s_ViewSerial;

 private:
  static uint16_t s_LayoutVehicles[ISO_MAP_SIZE][ISO_MAP_SIZE];
  // What a rotation's cache was made against, besides its cells.
  struct RotationState {
    bool valid;
    int32_t renderX, renderY;  // the render origin its slots are placed from
    uint32_t coverEpoch;
    bool coversKnown;
    const QnoResourceManager* resources;
    uint32_t generation;
  };
  static RotationCache s_Rotations[4];
  static RotationState s_RotationStates[4];
  // The rotation whose cache the per-cell pointers show.
  static int s_CacheRotation;
  // Numbers cover epochs across the rotations' caches.
  static uint32_t s_EpochSerial;
  // Points the per-cell caches at a rotation's.
  static void ShowRotationCache(int rotation);
  // Empties the cache of the rotation shown and places it from the view's
  // render origin now.
  void StartRotationCache();

 private:
  // What the two passes of a frame read for every cell, worked out once.
  struct FramePass;
  // One step of a recorded frame: a sprite at a screen point, or work done
  // again each time, named by one of the step marks instead of a sprite:
  // the user interface between the passes, a cell's world objects (those
  // that draw only the vehicles of the layouts counted at the cell have a
  // mark of their own).
  struct FrameStep {
    const void* sprite;
    int32_t x, y;
  };
  static const char kStepMarks[3];
  // True when a replayed frame's step of a cell's world objects would draw
  // nothing: objects that draw only counted layouts' vehicles, none
  // counted, no car drawn there a second time, the cell view off.
  bool CellStepDrawsNothing(const FrameStep& step, bool secondCars, bool cellView) const;
  // What a frame of the sprite-list renderers is drawn from besides the
  // per-cell caches: the view, the host's settings and the buffer.
  struct FrameKey {
    uint32_t cacheChanges;
    uint32_t objectChanges;
    int32_t view[8];
    int32_t originX, originY, offsetX, offsetY, renderX, renderY;
    int32_t zoom, rotation;
    bool diagonal, filter2, debug, vehicles;
    const void* display;
    const void* pixels;
    int32_t pitch, clip[4];
    bool operator==(const FrameKey&) const = default;
  };
  FrameKey MakeFrameKey(QnoDisplay* display, bool diagonal);
  struct RecordedFrame;
  void ReplayFrame(QnoDisplay* display, bool diagonal, RecordedFrame& frame);
  // Draws one step of a recorded frame that names work done again.
  void ReplayMark(QnoDisplay* display, bool diagonal, const FrameStep& step);
  int RenderSpriteLists(QnoDisplay* display, bool diagonal);
  int RenderPassGround(const FramePass& pass, int x, int y, bool inside);
  uint8_t HiddenGround(int x, int y);
  void FindGroundCover(int x, int y);
  void ForgetCoversBehind(int x, int y);
  // The steps along the map axes that lead towards the front of the screen.
  void FrontSteps(int& ex, int& ey);
  int RenderPassObjects(const FramePass& pass, int x, int y);
  // Asks memory for a frame cell's slots from firstSlot on (and, for the
  // ground pass, its ground cover) a few cells before the pass reaches it.
  void PrefetchSlots(std::pair<int, int> cell, int firstSlot);
  // A cell's world objects and the second positions of its cars.
  void DrawCellObjects(QnoDisplay* display, bool secondCars, int x, int y);
  void TilePoint(int x, int y, int& sx, int& sy);
  // viewShown: the view was worked out for the current level and rotation
  // just before, with nothing moved, built or shown since.
  void RefreshAfterViewChange(bool filter, bool viewShown = false);
  int SetZoomLevel(TIsoZoomStufe zoom);
  // A single cell for types below 4, else a 2 x 2 group; the group's result.
  int PlaceStreetPiece(int x, int y, int resId, CIsoRichtung dir, CWorldObj* obj, CStrassenType type);
  int PlaceFourLaneStraight(int x, int y, int resId, CIsoRichtung dir, CWorldObj* obj);
  // Merges a street layer tile onto the cell's layer 0 when layer is not 0.
  void MergeStreetLayer(int x, int y, int layer);

  CIsoHost* m_pHost;
  QnoResourceManager* m_pResources;
  QnoDisplay* m_pDisplay;
  IsoViewRectType m_ViewRect;
  int32_t m_CenterX = 64;
  int32_t m_CenterY = 64;
  int32_t m_PixelOffsetX = 0;
  int32_t m_PixelOffsetY = 0;
  int32_t m_MouseTileX = 0;
  int32_t m_MouseTileY = 0;
  int32_t m_RightButtonX = 0;
  int32_t m_RightButtonY = 0;
  uint8_t m_RightDrag = 0;
  uint8_t m_DragCursorShown = 0;
  int32_t m_OriginX = 0;
  int32_t m_OriginY = 0;
  IsoViewRectType m_MicroViewRect;
  // The tiles of the micro view that a turn visits, in the walk's order:
  // every tile whose ground object turns on each of its cells, and the
  // first tile of every other object (whose turn does its sound once).
  // Gathered again when the micro view, the rotation or a cell's objects
  // change. Each tile keeps its ground object as gathered: the walk reads
  // it from there while no cell's objects changed, and from the cell after
  // a change made during the walk.
  struct TurnTile {
    CWorldObj* object;
    unsigned short x, y;
  };
  std::vector<TurnTile> m_TurnTiles;
  struct TurnTilesKey {
    int32_t corners[8];
    int32_t rotation;
    uint32_t objectChanges;
    bool operator==(const TurnTilesKey&) const = default;
  };
  TurnTilesKey MakeTurnTilesKey() const;
  void GatherTurnTiles();
  TurnTilesKey m_TurnTilesKey{};
  bool m_TurnTilesValid = false;
  // The street and track tiles of the micro view with their objects and
  // screen anchors, gathered before they are placed, kept for their room.
  struct MicroTile {
    CWorldObj* object;
    int ax, ay;
    unsigned short x, y;
  };
  std::vector<MicroTile> m_MicroTiles;
  // The map cells of a walk over the view, in its order (x * ISO_MAP_SIZE
  // + y), gathered before they are visited: the cells and their world
  // objects lie scattered in memory, so each is asked of memory a few cells
  // before its visit and the waits overlap.
  std::vector<uint16_t> m_WalkCells;
  // The walk's cells in the map, into m_WalkCells.
  void GatherWalk(IsoViewRectType walk);
  // visit(x, y, cell) for each cell of m_WalkCells in order; `cell` is the
  // map's CIsoInfo there, null where the map has none.
  template <class Visit>
  void VisitWalkCells(Visit&& visit) {
    constexpr size_t kCellAhead = 8, kObjectsAhead = 4;
    const size_t n = m_WalkCells.size();
    for (size_t i = 0; i < n; ++i) {
      if (i + kCellAhead < n) __builtin_prefetch(m_pGrid[m_WalkCells[i + kCellAhead]]);
      if (i + kObjectsAhead < n)
        if (const CIsoInfo* ahead = m_pGrid[m_WalkCells[i + kObjectsAhead]]) ahead->PrefetchWorldObjects();
      const int at = m_WalkCells[i];
      visit(at / ISO_MAP_SIZE, at % ISO_MAP_SIZE, m_pGrid[at]);
    }
  }
  IsoViewRectType m_SoundRect;
  CIsoInfo* m_pGrid[ISO_MAP_SIZE * ISO_MAP_SIZE];
  // The cells DestroyForLoad kept for OnCreate to lay ground on again.
  bool m_GroundKept[ISO_MAP_SIZE * ISO_MAP_SIZE] = {};
  uint8_t m_Panning = 0;
  int32_t m_RenderOriginX = 0;
  int32_t m_RenderOriginY = 0;
  int32_t m_DragDeltaX = 0;
  int32_t m_DragDeltaY = 0;
  int32_t m_LastDragX = 0;
  int32_t m_LastDragY = 0;
  CIsoUpdateRndLst m_UpdateRndLst;
  CStreetInfoList* m_pStreetInfo = nullptr;
  uint32_t m_CacheBuilds = 0;
  // The sprites of the tile layers the cache was made from.
  CIsoLayerSprites m_LayerSprites;
  uint32_t m_HiddenSprites = 0;
  // Cells whose ground covers a frame may still work out.
  uint32_t m_CoverBudget = 0;
  // The first build number of the frame being drawn.
  uint32_t m_FrameFirstBuild = 0;
  // The front steps of FrontSteps and the rotation they hold for.
  int m_FrontRotation = -1;
  int m_FrontX = 1, m_FrontY = 1;
  uint32_t m_Frame = 0;
  // The cells of the frame being drawn, in walk order.
  std::vector<std::pair<int, int>> m_FrameCells;
  // The last frame's drawing steps and what it was drawn from, one for
  // each rotation. A frame with the same key is drawn from the steps: same
  // view, settings and buffer, and no change to any per-cell cache since
  // (every change counts in the shared counter the key holds). Only a
  // frame that changed no cache, left no ground cover for later and drew
  // no tool marks or district floors is kept.
  // A frame drawn again a second time is drawn from then on from its
  // sprites' pixels that no later sprite draws over (runs), unless a
  // sprite of another format than the buffer's makes that impossible.
  struct RecordedFrame {
    std::vector<FrameStep> steps;
    FrameKey key{};
    bool valid = false;
    uint32_t hidden = 0;
    uint32_t replays = 0;
    enum class Runs : uint8_t { NotYet, Made, Impossible } made = Runs::NotYet;
    // The user interface between the passes has drawn nothing in the
    // frames replayed so far: the runs are not cut at it.
    bool quietInterface = true;
    QnoVisibleRuns runs;
  };
  RecordedFrame m_Recorded[4];
  // Set when a frame left a cell's ground cover for a later frame.
  bool m_FrameUnsettled = false;
  // Counts changes to the per-cell caches of every map (they are shared).
  static uint32_t s_CacheChanges;
  uint32_t m_ReplayedFrames = 0;
  uint32_t m_ChangesOnlyFrames = 0;

  friend class CIsoWeltTestAccess;

  // ---- overlay helpers (iso_overlay.cpp)
 public:
  // Screen anchor of cell (x, y) for drawing a tile at zoom index zoomIndex.
  void CellAnchor(int x, int y, int zoomIndex, int& sx, int& sy);

 private:
  void MarkBuilding(const IsoFootprint& building);
  // The marked buildings of the frame being drawn, kept between frames.
  std::vector<IsoFootprint> m_MarkedBuildings;
  void RenderHighlight(int x, int y, int w, int h, uint32_t& blink, uint32_t now);
  // The building a placing tool holds, drawn at the selection's start
  // (stops moved by their offset (ox, oy), and only where they fit).
  void RenderBuildingAsMouse(const selObjType& sel, int ox, int oy);
};
