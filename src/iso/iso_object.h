#pragma once
// The sprite objects of a map cell's layer, their owning list, and the
// record a placed multi-cell group leaves in every cell it covers.
#include <cstdint>

#include "framework/zor_block_pool.h"
#include "framework/zor_list.h"
#include "worldbase/zor_types.h"

class CWorldObj;
class CIsoWelt;
class QnoResourceManager;

// The two layers of a map cell.
enum TBaseType : int32_t { ISO_LAYER_GROUND = 0, ISO_LAYER_UPPER = 1 };

// A zoom level as a value, for the micro-cell layout lookups.
class CIsoZoomStufe {
 public:
  CIsoZoomStufe() = default;
  explicit CIsoZoomStufe(int32_t value) : m_value(value) {}
  int32_t GetValue() const { return m_value; }

 private:
  int32_t m_value = ISO_ZOOM_2;
};

// One sprite object: a tile resource seen in one direction.
class CIsoObject : public CZorvaObject {
 public:
  ZOR_POOLED
  // The resources every object reads its tile from; set by the map.
  static QnoResourceManager* m_pResources;

  CIsoObject() = default;
  ~CIsoObject() override = default;

  using CZorvaObject::Create;
  virtual int Create(int resId, TIsoRichtung dir);
  virtual int Create(int resId, TIsoRichtung dir, CWorldObj* obj, unsigned short x, unsigned short y);

  int GetResID() const { return m_ResID; }
  TIsoRichtung GetRichtungsValue() const { return m_Richtung; }
  // z value of one sprite layer under the current zoom and the given view
  // rotation; 0 when the tile resource is missing. The zoom argument is
  // ignored: the current zoom counts.
  int GetZValue(TIsoZoomStufe zoom, TIsoRichtung rot, int layer) const;
  // Sprite-layer walk 0..L: -1 at the end or when the tile is missing.
  int GetFristLayer(TIsoZoomStufe zoom, TIsoRichtung rot);
  int GetNextLayer(TIsoZoomStufe zoom, TIsoRichtung rot);

  unsigned char GetOversize() const { return m_Oversize; }
  void SetOversize(unsigned char v) { m_Oversize = v; }
  unsigned char GetNewPaint() const { return m_NewPaint; }
  void SetNewPaint(unsigned char v) { m_NewPaint = v; }

 private:
  int m_ResID = -1;
  TIsoRichtung m_Richtung = ISO_RICHTUNG_0;
  unsigned char m_Oversize = 0;
  unsigned char m_NewPaint = 1;
  int m_LayerCursor = 0;
};

// The sprite objects of one cell layer: the head is the base sprite,
// merged sprites follow at the tail. Owns its objects and its filter tile.
class CIsoObjLst : public CList {
 public:
  ZOR_POOLED
  CIsoObjLst();
  ~CIsoObjLst() override;

  using CList::Create;
  // A new object at the head; returns it.
  virtual CIsoObject* Create(int resId, TIsoRichtung dir);
  virtual CIsoObject* Create(int resId, TIsoRichtung dir, CWorldObj* obj, unsigned short x, unsigned short y);
  int Destroy() override;

  CIsoObject* MergeLayerFromIsoTile(int resId);
  CIsoObject* MergeLayerFromIsoTile(int resId, CIsoRichtung dir);
  // 0 when the first object with that id was removed, 1 when none.
  int RemoveLayer(int resId);
  // The same for the first object with that id turned to `dir`: of two
  // like layers on a tile (a sign for each of two junctions) the one meant.
  int RemoveLayer(int resId, TIsoRichtung dir);

  int GetResID();
  TIsoRichtung GetRichtung();
  unsigned char GetRichtungsValue();
  uint32_t GetDataResID(CIsoZoomStufe* zoom, CIsoRichtung* rot);

  // Takes ownership; an earlier filter tile is freed.
  void CreateFilterList(CIsoObject* filter);
  void DeleteFilterList();
  CIsoObject* GetFilterTile() const { return m_pFilterTile; }

  unsigned char GetNewPaint() const { return m_NewPaint; }
  void SetNewPaint(unsigned char v) { m_NewPaint = v; }
  unsigned char GetOversize() const { return m_Oversize; }
  void SetOversize(unsigned char v) { m_Oversize = v; }

 private:
  CIsoObject* m_pFilterTile = nullptr;
  unsigned char m_NewPaint = 1;
  unsigned char m_Oversize = 0;
};

// A multi-cell object as placed on the map; every covered cell of the
// layer holds an equal copy.
class CIsoObjGroup {
 public:
  ZOR_POOLED
  // The map whose cells the overlay merges reach; set by the map.
  static CIsoWelt* m_pIsoWelt;

  CIsoObjGroup() = default;
  virtual ~CIsoObjGroup() = default;
  virtual void Destroy() {}

  // 1 when resId < 1 or the group resource is missing.
  int Create(int resId, TIsoRichtung dir, short x, short y);

  int GetTurnedSizeX() const;
  int GetTurnedSizeY() const;
  int GetSizeX() const { return m_SizeX; }
  int GetSizeY() const { return m_SizeY; }
  short GetStartPosX() const { return m_X; }
  short GetStartPosY() const { return m_Y; }
  TIsoRichtung GetRichtung() const { return m_Richtung; }
  int GetResID() const { return m_ResID; }
  uint32_t GetDataResID(unsigned char zoomIndex, TIsoRichtung rot) const;

  bool operator==(const CIsoObjGroup& o) const { return m_ResID == o.m_ResID && m_X == o.m_X && m_Y == o.m_Y; }
  bool operator!=(const CIsoObjGroup& o) const { return !(*this == o); }

  // Inclusive of x0 + W and y0 + D (unturned sizes).
  bool PointIn(short x, short y) const;
  void GetKoorBeside(short& x, short& y, signed char dx, signed char dy) const;

  // Merges (removes) group resource resId into (from) the footprint's cells.
  int MergeLayerFromTGV(int resId, CIsoRichtung dir, TBaseType layer);
  int DeleteLayerFromTGV(int resId, CIsoRichtung dir, TBaseType layer);

 private:
  int MergeOrDelete(int resId, CIsoRichtung dir, TBaseType layer, bool merge);

  int m_ResID = 0;
  TIsoRichtung m_Richtung = ISO_RICHTUNG_0;
  short m_X = 0;
  short m_Y = 0;
  uint32_t m_DataResID[3][4] = {};
  unsigned char m_SizeX = 0;
  unsigned char m_SizeY = 0;
};
