#pragma once
// The straight pieces of a street and the extra parts a piece carries: a
// bridge where it crosses water and a level crossing where a rail crosses
// it. Extra parts draw their own tiles in place of the plain street tiles,
// put back what they covered and tell the micro cells where they lie.
#include <cstdint>
#include <cstdio>
#include <utility>

#include "framework/zor_block_pool.h"
#include "framework/zor_list.h"
#include "worldbase/street_type.h"
#include "worldbase/zor_types.h"

class CIsoWelt;
class CIsoObjGroup;
class CWorldObj;
class CStrJunction;
class ZorRecordWriter;
class ZorRecordReader;

// One extra part of a piece; the generic behaviour places one tile group.
class CStrExtTeil : public CZorvaObject {
  ZOR_DECLARE_TYPE(CStrExtTeil)
 public:
  static constexpr int kRecordSize = 24;

  CStrExtTeil() = default;
  ~CStrExtTeil() override = default;

  int Create() override { return 0; }
  // Copies the other part's fields (of its own kind where both agree).
  int Create(CZorvaObject& other) override;
  int SerializeGameStore(FILE* file) override;
  int SerializeGameLoad(FILE* file) override;

  virtual int InsertIntoIsoWelt(CIsoWelt* iso, short& x, short& y, CWorldObj* obj, bool loading);
  virtual int RemoveFromIsoWelt(short& x, short& y);
  virtual int SetRichtung(CIsoRichtung& direction, CStrassenType type);
  virtual int GetEndKoor(short& x, short& y);
  virtual int Turn();
  virtual bool PointHitExtraTeil(short x, short y);
  virtual int StartMicroZellenCount(short& x, short& y);
  virtual int GetMicroStartKoor(short& x, short& y);
  virtual int GetMicroEndKoor(short& x, short& y);
  // Steps the micro-cell walk one tile toward the end; whether the new
  // tile still lies on the part.
  virtual bool GetMicroZellenPos(short& x, short& y);
  virtual int DeleteUnderneathMicroSim() { return 0; }
  virtual bool IsGradeCrossing() { return false; }
  virtual short GetMicroStartX() { return m_StartX; }
  virtual short GetMicroStartY() { return m_StartY; }
  virtual int RepairOldStreet(bool /*street*/) { return 0; }

  // Start tile and street type.
  int Create(short x, short y, CStrassenType type);
  // Sets the end tile and the extent end minus start.
  void SetEndPoint(short x, short y);
  // Whether the part lies within the piece from (x1, y1) to (x2, y2).
  bool IsInRange(short x1, short y1, short x2, short y2) const;
  bool operator==(const CStrExtTeil& o) const {
    return m_StartX == o.m_StartX && m_StartY == o.m_StartY && m_EndX == o.m_EndX && m_EndY == o.m_EndY;
  }

  short GetStartX() const { return m_StartX; }
  short GetStartY() const { return m_StartY; }
  short GetEndX() const { return m_EndX; }
  short GetEndY() const { return m_EndY; }
  short GetDeltaX() const { return m_DeltaX; }
  short GetDeltaY() const { return m_DeltaY; }
  int GetResID() const { return m_ResID; }
  CIsoRichtung GetRichtung() const { return m_Richtung; }
  CStrassenType GetType() const { return m_Type; }

  // The map that level crossings and bridges draw into and read from.
  static CIsoWelt* m_pIsoWelt;

 protected:
  void StoreBase(ZorRecordWriter& out) const;
  void LoadBase(ZorRecordReader& in);

  int16_t m_StartX = 0;
  int16_t m_StartY = 0;
  int16_t m_EndX = 0;
  int16_t m_EndY = 0;
  int16_t m_DeltaX = 0;
  int16_t m_DeltaY = 0;
  int32_t m_ResID = 0;
  CIsoRichtung m_Richtung;
  int16_t m_MicroX = 0;
  int16_t m_MicroY = 0;
  CStrassenType m_Type;
};

// A bridge over water; it remembers the ground it covers so that removal
// puts the river back.
class CStrBride : public CStrExtTeil {
  ZOR_DECLARE_TYPE(CStrBride)
 public:
  static constexpr int kRecordSize = CStrExtTeil::kRecordSize + 24;
  static constexpr int kStartUp = 42427;
  static constexpr int kDeck = 42426;
  static constexpr int kStartDown = 42425;
  static constexpr int kStartUp4 = 42458;
  static constexpr int kDeck4 = 42457;
  static constexpr int kStartDown4 = 42441;

  int Create(CZorvaObject& other) override;
  int SerializeGameStore(FILE* file) override;
  int SerializeGameLoad(FILE* file) override;
  int InsertIntoIsoWelt(CIsoWelt* iso, short& x, short& y, CWorldObj* obj, bool loading) override;
  int RemoveFromIsoWelt(short& x, short& y) override;
  // Puts the river back on every cell of the bridge (and, four-lane, beside
  // it) that shows plain ground: a neighbouring four-lane group that the
  // street removed after the bridge may have reset it.
  void RestoreRiver();
  int Turn() override;
  int StartMicroZellenCount(short& x, short& y) override;
  bool GetMicroZellenPos(short& x, short& y) override;
  int DeleteUnderneathMicroSim() override { return 0; }
  using CStrExtTeil::Create;

  int GetGroundResStart() const { return m_GroundResStart; }
  int GetGroundResEnd() const { return m_GroundResEnd; }
  int GetGroundResMitte() const { return m_GroundResMitte; }

 private:
  // Records resource and direction of the ground tiles under the bridge.
  void GetResCopy(CIsoWelt* iso);

  int32_t m_GroundRichtungEnd = 0;
  int32_t m_GroundRichtungStart = 0;
  int32_t m_GroundRichtungMitte = 0;
  int32_t m_GroundResStart = -1;
  int32_t m_GroundResEnd = -1;
  int32_t m_GroundResMitte = -1;
};

// A level crossing where a rail crosses the street; a rectangle of tiles
// drawn as one tile group.
class CGrdCrossing : public CStrExtTeil {
  ZOR_DECLARE_TYPE(CGrdCrossing)
 public:
  static constexpr int kRecordSize = CStrExtTeil::kRecordSize + 7;
  static constexpr int kResID = 21493;
  static constexpr int kResID4 = 39079;

  ~CGrdCrossing() override;
  int Destroy() override;
  int Create(CZorvaObject& other) override;
  int SerializeGameStore(FILE* file) override;
  int SerializeGameLoad(FILE* file) override;
  int InsertIntoIsoWelt(CIsoWelt* iso, short& x, short& y, CWorldObj* obj, bool loading) override;
  int RemoveFromIsoWelt(short& x, short& y) override;
  int SetRichtung(CIsoRichtung& direction, CStrassenType type) override;
  int Turn() override;
  bool PointHitExtraTeil(short x, short y) override;
  int GetMicroStartKoor(short& x, short& y) override;
  int GetMicroEndKoor(short& x, short& y) override;
  bool GetMicroZellenPos(short& x, short& y) override;
  int DeleteUnderneathMicroSim() override;
  bool IsGradeCrossing() override { return true; }
  short GetMicroStartX() override;
  short GetMicroStartY() override;
  int RepairOldStreet(bool street) override;

  // Start tile, type and the crossing's graphic.
  int Create(short x, short y, CStrassenType type);
  using CStrExtTeil::Create;
  // The tile where the group is anchored.
  void GetInsertPoint(short& x, short& y) const;
  // The cell where the street meets the track's first row: the cell the
  // crossing was laid from.
  void GetStreetCell(short& x, short& y) const;
  // The street tiles beside the rail on either side.
  void GetUpperStreetPos(short& x, short& y) const;
  void GetLowerStreetPos(short& x, short& y) const;
  // Both street tiles beside the rail hold plain ground: the street is gone.
  bool IsolatedGrdCrossings();
  signed char GetMX() const { return m_MX; }
  signed char GetMY() const { return m_MY; }
  bool IsOnRail() const { return m_OnRail != 0; }
  CIsoObjGroup* GetIsoGroup() const { return m_pIsoGroup; }

 private:
  int Width() const;
  int Depth() const;
  // The rectangle of cells the crossing covers, corners included; false
  // when it has no extent.
  bool Rect(int& x0, int& y0, int& x1, int& y1) const;
  void RebuildGroup(short anchorX, short anchorY);
  // With the start on the street cell: start, end and extents of the
  // crossing w by h tiles in its direction.
  void Lay(int w, int h, bool four);

  CIsoObjGroup* m_pIsoGroup = nullptr;
  int8_t m_MX = 0;
  int8_t m_MY = 0;
  uint8_t m_OnRail = 0;
};

// The extra parts of one piece, with the part that drawing, removal and the
// micro-cell walk work on.
class CStrExtTlList : public CList {
 public:
  CStrExtTlList() = default;
  CStrExtTlList(const CStrExtTlList&) = delete;
  CStrExtTlList& operator=(const CStrExtTlList&) = delete;

  using CList::Create;
  // A list without hash index.
  int Create() { return CList::Create(false, 2000); }
  int Destroy() override;

  bool StartAtKoor(short x, short y);
  int InsertIntoIsoWelt(CIsoWelt* iso, short& x, short& y, CWorldObj* obj, bool loading);
  int RemoveFromIsoWelt(short& x, short& y);
  int GetEndKoor(short& x, short& y);
  int StartMicroZellenCount(short& x, short& y);
  int GetMicroStartKoor(short& x, short& y);
  int GetMicroEndKoor(short& x, short& y);
  bool GetMicroZellenPos(short& x, short& y);
  bool IsGradeCrossing();
  int DeleteUnderneathMicroSim();
  int GetType();
  void GetUpperStreetPos(short& x, short& y);
  void GetlowerStreetPos(short& x, short& y);
  CStrExtTeil* GetAktTeil() const { return m_pAktTeil; }

  bool PointHitExtraTeil(short x, short y);
  bool IsInRange(short x1, short y1, short x2, short y2);
  bool IsMember(const CStrExtTeil* part);
  int Turn();
  int RepairOdlStreet(bool street);
  bool RemoveIsolatedGrdCrossings();
  // A new list holding copies of every part (made by their type names).
  CStrExtTlList* Clone();

 private:
  CStrExtTeil* m_pAktTeil = nullptr;
};

// One straight piece of a street along one axis of the grid.
class CStrStrassenTeil : public CZorvaObject {
  ZOR_DECLARE_TYPE(CStrStrassenTeil)
 public:
  ZOR_POOLED
 public:
  static constexpr int kRecordSize = 15;

  CStrStrassenTeil() = default;
  explicit CStrStrassenTeil(CIsoWelt* iso) { m_pIsoWelt = iso; }
  // Coordinates and a copy of the other piece's extra parts, no links.
  explicit CStrStrassenTeil(const CStrStrassenTeil* other);
  CStrStrassenTeil(const CStrStrassenTeil&) = delete;
  CStrStrassenTeil& operator=(const CStrStrassenTeil&) = delete;
  ~CStrStrassenTeil() override;

  int Destroy() override;
  int SerializeGameStore(FILE* file) override;
  int SerializeGameLoad(FILE* file) override;
  virtual int Create(short sx, short sy, short ex, short ey, CStrExtTlList* parts, bool testRail,
                     CStrassenType type);
  virtual int FixeKurvenOff(signed char& dx, signed char& dy, bool atStart);
  using CZorvaObject::Create;

  void CalcM(signed char& dx, signed char& dy) const;
  void CalcM(short& dx, short& dy) const;
  int CalcLaenge() const;
  void CalcRichtung(CIsoRichtung& direction) const;
  void CalcStartAndEndPos(short& sx, short& sy, short& ex, short& ey, signed char& mx, signed char& my,
                          CIsoRichtung& direction) const;
  short GetStartX() const { return m_StartX; }
  short GetStartY() const { return m_StartY; }
  short GetEndX() const { return m_EndX; }
  short GetEndY() const { return m_EndY; }
  void GetXY(short& sx, short& sy, short& ex, short& ey) const {
    sx = m_StartX;
    sy = m_StartY;
    ex = m_EndX;
    ey = m_EndY;
  }
  void SetStart(short x, short y) {
    m_StartX = x;
    m_StartY = y;
  }
  void SetEnd(short x, short y) {
    m_EndX = x;
    m_EndY = y;
  }
  void MoveStartPoint(short dx, short dy);
  void MoveEndPoint(short dx, short dy);
  // Exchanges start and end and turns the extra parts.
  int Turn();

  bool PointHitStreet(short x, short y) const;
  bool Hit(CStrStrassenTeil* other, short& x, short& y) const;
  bool JunctionHitStreet(CStrJunction* junction, short& x, short& y) const;
  bool HasExtraTeilAt(short x, short y) const;
  // Copies of every part of other that this piece does not hold yet.
  int AddExtraTeilList(CStrExtTlList* other);
  bool RemoveIsolatedGrdCrossings() { return false; }

  CStrExtTlList* GetExtraTeilList() const { return m_pExtraTeilList; }
  // Takes the extra parts off the piece for a while, and puts them back
  // (the piece must hold none then).
  CStrExtTlList* DetachExtraTeilList() { return std::exchange(m_pExtraTeilList, nullptr); }
  void AttachExtraTeilList(CStrExtTlList* parts) { m_pExtraTeilList = parts; }
  bool HitRiver() const { return m_HitRiver != 0; }
  bool HitTrain() const { return m_HitTrain != 0; }

  static CIsoWelt* m_pIsoWelt;

 protected:
  bool Check_HitRiver(CStrassenType type);
  bool Check_HitTrain(CStrassenType type);
  // Deletes the extra parts, if any.
  void DropExtraTeilList();

  uint8_t m_HitRiver = 0;
  uint8_t m_HitTrain = 0;
  int16_t m_StartX = 0;
  int16_t m_StartY = 0;
  int16_t m_EndX = 0;
  int16_t m_EndY = 0;
  int16_t m_Reserved1 = -1;
  int16_t m_Reserved2 = -1;
  CStrExtTlList* m_pExtraTeilList = nullptr;
};
