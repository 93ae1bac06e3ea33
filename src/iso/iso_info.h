#pragma once
// One cell of the isometric map with its two layers, its render list, and
// the view quadrilateral with its row-by-row traversal.
#include <cstdint>

#include "framework/zor_block_pool.h"
#include "iso/iso_object.h"
#include "worldbase/zor_types.h"

class CIsoWelt;
class CWorldObj;
class QnoDisplay;

// A cell's sprite layers in ascending z order. An equal z goes right after
// the equal item the binary search meets.
class SortedList {
 public:
  ZOR_POOLED
  struct Item {
    int z;
    CIsoObject* object;
    int layer;
  };
  static constexpr int kGrowBy = 5;

  SortedList() = default;
  ~SortedList();
  SortedList(const SortedList&) = delete;
  SortedList& operator=(const SortedList&) = delete;

  void InsertItem(int z, CIsoObject* object, int layer);
  void Clear() { m_Count = 0; }
  int GetCount() const { return m_Count; }
  const Item& GetAt(int i) const { return m_pItems[i]; }

 private:
  Item* m_pItems = nullptr;
  int m_Count = 0;
  int m_Capacity = 0;
};

// A view quadrilateral of four corner tiles and the state of one traversal.
// Rows run from the first corner toward the third; the row starts climb
// toward the second corner, alternating between the axes.
struct IsoViewRectType {
  int32_t k0x = 0, k0y = 0;  // first corner
  int32_t k1x = 0, k1y = 0;  // second corner
  int32_t k2x = 0, k2y = 0;  // third corner
  int32_t k3x = 0, k3y = 0;  // fourth corner
  int32_t pixelX = 0, pixelY = 0;
  int32_t pixelStepX = 0, pixelStepY = 0;
  int32_t richtung = 0;  // the rotation the corners were computed for
  int32_t travRichtung = 0;
  uint8_t toggle = 0;
  int32_t rowStartY = 0, rowStartX = 0;
  int32_t rowStepX = 0, rowStepY = 0;
  int32_t stairStepX = 0, stairStepY = 0;
  int32_t rowsLeft = -1;
  int32_t cursorX = 0, cursorY = 0;
  int32_t tilesLeft = -2;  // -2: a new row is due
  uint8_t flag = 0;

  // Prepares a traversal for rotation r.
  void SetupTraversal(int r);
  // The next tile; false when the traversal is over. Tiles may lie outside
  // the grid: callers check.
  bool GetNextTile(int& x, int& y);
  // True at the first tile of a row (after the GetNextTile that gave it).
  bool IsRowStart() const { return m_rowStart; }

 private:
  bool m_rowStart = false;
};

class CIsoInfo {
 public:
  CIsoInfo(CIsoWelt* owner, int x, int y);
  virtual ~CIsoInfo();
  CIsoInfo(const CIsoInfo&) = delete;
  CIsoInfo& operator=(const CIsoInfo&) = delete;

  int DestroyAll();
  // Sets the layer's world object and a new sprite list headed by (resId,
  // dir); an earlier list of the layer is freed. 0 when the object's filter
  // tile was made, 1 when the object has none.
  int CreateTile(int resId, TIsoRichtung dir, CWorldObj* obj, TBaseType layer);
  int CreateGroup(int resId, TIsoRichtung dir, unsigned short x, unsigned short y, TBaseType layer);
  int Destroy(TBaseType layer);
  // Forgets the layer's world object, frees its sprites and group, and
  // drops the render list, which the caller makes again.
  void ClearLayer(int layer);
  // True when the cell holds plain ground and nothing else: one sprite on
  // the ground layer under a ground object (or, once forgotten, none), no
  // group, no filter tile and nothing on the upper layer.
  bool IsPlainGround();
  // A cell kept with its ground while the world's objects go forgets its
  // ground object, which may be freed before the ground is laid again.
  void ForgetGroundObject() { m_pWorldObj[ISO_LAYER_GROUND] = nullptr; }
  // Lays plain ground (resId, direction 0, under the ground object `obj`,
  // which has no filter icon) on a new cell or on one that holds plain
  // ground, whose sprite and lists are reused: the cell is then as a new
  // cell that got CreateTile. The render list is made from the sprite when
  // the cell is first read, so that cells never looked at cost nothing.
  void LayGround(int resId, CWorldObj* obj);

  int InsertTilesInNewRenderList();
  int CreateNewRenderList() { return InsertTilesInNewRenderList(); }
  // A turn or zoom changes every cell's list; each cell makes its list again
  // only when it is next read, so cells out of view cost nothing.
  static void MakeAllRenderListsStale() { ++s_ListGeneration; }
  // A turn alone: lists whose order is the same in every rotation stay.
  static void MakeTurnedRenderListsStale() { ++s_TurnGeneration; }
  // Counts the changes of any cell's world objects (of every map).
  static uint32_t GetObjectChanges() { return s_ObjectChanges; }
  // True while the list holds for every rotation at this zoom level.
  bool IsRenderListTurnFree() const { return m_TurnFree; }
  // True while the list is the one its objects make: a turn back to its
  // rotation would make the same.
  bool IsRenderListFromObjects() const { return m_FromObjects; }
  int InsertIntoRenderList(CIsoObject* object);
  int CreateFilterRenderList();
  int SetFilter();

  int MergeLayerFromIsoTile(int resId, CIsoRichtung dir, TBaseType layer);
  int MergeLayerFromIsoTile(int resId, TBaseType layer);
  int DeleteLayerFromIsoTile(int resId, TBaseType layer);
  // Deletes the layer of that id turned to `dir` (see CIsoObjLst::RemoveLayer).
  int DeleteLayerFromIsoTile(int resId, CIsoRichtung dir, TBaseType layer);
  int MergeLayerFromTGV(int resId, const CIsoRichtung& dir, TBaseType layer);
  int DeleteLayerFromTGV(int resId, const CIsoRichtung& dir, TBaseType layer);

  int GetResID(TBaseType layer);
  unsigned char GetRichtungsValue(TBaseType layer);
  TIsoRichtung GetRichtung(TBaseType layer);
  uint32_t GetDataResID(CIsoZoomStufe* zoom, CIsoRichtung* rot, TBaseType layer);
  TObjectType GetType(TBaseType layer) const;
  bool Is(TObjectType type, TBaseType layer) const;
  CWorldObj* GetWorldObject(TBaseType layer) const;
  // Asks the memory for the cell's world objects, which the walks over the
  // view read cell after cell.
  void PrefetchWorldObjects() const {
    for (const CWorldObj* o : m_pWorldObj)
      if (o) __builtin_prefetch(o);
  }
  CIsoObjGroup* GetGroupObj(TBaseType layer) const { return m_pGroup[layer]; }
  CIsoObjLst* GetIsoObjects(TBaseType layer) const { return m_pIsoObjects[layer]; }
  SortedList* GetRenderList() {
    FreshenRenderList();
    return m_pRenderList;
  }

  int Render(QnoDisplay* display, unsigned short x, unsigned short y, TIsoZoomStufe zoom, TIsoRichtung rot,
             TBaseType layer);
  // True when Render of the layer draws nothing but the vehicles of the
  // micro-cell layouts counted at the cell (no object, or one that says so).
  bool RendersOnlyLayoutVehicles(TBaseType layer) const;
  void SetVisible(bool visible, unsigned short x, unsigned short y);
  // What SetVisible(false) leaves of a cell that SetVisible(true) is about
  // to show again: only its objects' sound marks are dropped.
  void DropSoundVisible();
  bool IsVisible(unsigned short x, unsigned short y);
  bool GetVisibleFlag() const { return m_Visible != 0; }
  void SetSoundVisible(bool visible);
  bool IsSoundVisible() const;

  // The parts of the render-list walk, in drawing order: the floor layers
  // (z up to 4) while their ids are not 0, one middle layer (z 5), then the
  // rest while their ids are not 0.
  enum class RenderPart : uint8_t { Floor, Middle, Upper };

  // The whole walk over the current list, read in place: visit(part, id,
  // dir, layer) for each item; a visit that answers false ends the walk,
  // and so false is returned.
  template <class Visit>
  bool ForEachRenderItem(Visit&& visit) {
    const SortedList* list = GetRenderList();
    int at = 0, layer = 0;
    TIsoRichtung dir = ISO_RICHTUNG_0;
    for (int id; (id = TakeRenderItem(list, at, RenderPart::Floor, dir, layer)) != 0;)
      if (!visit(RenderPart::Floor, id, dir, layer)) return false;
    const int middle = TakeRenderItem(list, at, RenderPart::Middle, dir, layer);
    if (middle && !visit(RenderPart::Middle, middle, dir, layer)) return false;
    for (int id; (id = TakeRenderItem(list, at, RenderPart::Upper, dir, layer)) != 0;)
      if (!visit(RenderPart::Upper, id, dir, layer)) return false;
    return true;
  }

  // The same walk a step at a time with the cell's cursor, for a renderer
  // that reads the floors in one pass and the rest in another: a tile
  // resource id (0: the part is over), with the layer's direction and
  // sprite layer through the references. The first call gives the first
  // item's layer even when it is no floor; the upper part starts over after
  // the last item.
  int GetFirstRenderID(TIsoRichtung& dir, int& layer) {
    FreshenRenderList();
    m_RenderCursor = 0;
    if (m_pRenderList && m_pRenderList->GetCount() > 0) layer = m_pRenderList->GetAt(0).layer;
    return TakeItem(RenderPart::Floor, dir, layer);
  }
  int GetNextFloorRenderID(TIsoRichtung& dir, int& layer) {
    FreshenRenderList();
    return TakeItem(RenderPart::Floor, dir, layer);
  }
  int GetMiddleRenderID(TIsoRichtung& dir, int& layer) {
    FreshenRenderList();
    return TakeItem(RenderPart::Middle, dir, layer);
  }
  int GetNextRenderID(TIsoRichtung& dir, int& layer) {
    FreshenRenderList();
    if (!m_pRenderList || m_RenderCursor >= m_pRenderList->GetCount()) {
      m_RenderCursor = 0;
      return 0;
    }
    return TakeItem(RenderPart::Upper, dir, layer);
  }

  unsigned char GetX() const { return m_X; }
  unsigned char GetY() const { return m_Y; }

 private:
  // Builds the render list again from the tile's objects after a layer went.
  int RenewRenderList();
  // One step of the walk: the item at `at` when it belongs to `part` (a
  // floor: z up to 4; the middle: z 5; the upper part: any), its tile
  // resource id with the layer's direction and sprite layer through the
  // references, and `at` moved past it. 0 and nothing moved at the end of
  // the list or of the part.
  static int TakeRenderItem(const SortedList* list, int& at, RenderPart part, TIsoRichtung& dir, int& layer) {
    if (!list || at >= list->GetCount()) return 0;
    const SortedList::Item& item = list->GetAt(at);
    if (part == RenderPart::Floor ? item.z > 4 : part == RenderPart::Middle && item.z != 5) return 0;
    ++at;
    dir = item.object->GetRichtungsValue();
    layer = item.layer;
    return item.object->GetResID();
  }

  // A step of the walk from the cell's cursor.
  int TakeItem(RenderPart part, TIsoRichtung& dir, int& layer) {
    int at = m_RenderCursor;
    const int id = TakeRenderItem(m_pRenderList, at, part, dir, layer);
    m_RenderCursor = static_cast<uint16_t>(at);
    return id;
  }
  // Inserts the object's layers; false when their z depends on the rotation.
  bool InsertObjectLayers(CIsoObject* object);
  void InvalidateCache();
  // The list of the objects' layers in the current direction and zoom.
  void MakeRenderList();
  void FreshenRenderList() {
    if (m_ListGeneration != s_ListGeneration || (m_TurnGeneration != s_TurnGeneration && !m_TurnFree))
      MakeRenderList();
  }
  // Notes the list as made for the current generations.
  void MarkRenderListFresh(bool turnFree, bool fromObjects) {
    m_ListGeneration = s_ListGeneration;
    m_TurnGeneration = s_TurnGeneration;
    m_TurnFree = turnFree;
    m_FromObjects = fromObjects;
  }

  CWorldObj* m_pWorldObj[2] = {};
  CIsoObjLst* m_pIsoObjects[2] = {};
  CIsoObjGroup* m_pGroup[2] = {};
  SortedList* m_pRenderList = nullptr;
  // The generation of lists m_pRenderList belongs to; older ones are stale.
  static uint32_t s_ListGeneration;
  static uint32_t s_TurnGeneration;
  static uint32_t s_ObjectChanges;
  uint32_t m_ListGeneration = 0;
  uint32_t m_TurnGeneration = 0;
  uint16_t m_RenderCursor = 0;
  unsigned char m_X = 0;
  unsigned char m_Y = 0;
  CIsoWelt* m_pOwner = nullptr;
  unsigned char m_Visible = 0;
  // The list was made from the objects alone, and every layer of them has
  // the same z in each rotation: the same list in every rotation.
  bool m_TurnFree = false;
  bool m_FromObjects = false;
};
