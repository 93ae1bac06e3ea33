#pragma once
// The building catalogue: one capacity record per kind of building, filled
// once at start-up from the start-up tables. A newly placed building's
// location takes its capacities from here, and the city's growth picks the
// buildings it puts up from here.
#include "worldbase/sim_location_types.h"
#include "worldbase/zor_types.h"

class QnoResourceManager;

class CBuildingDataList {
 public:
  static constexpr int kMaxRows = 149;

  static void SetResourceManager(QnoResourceManager* manager) { m_pResourceManager = manager; }
  static QnoResourceManager* GetResourceManager() { return m_pResourceManager; }
  // Deletes every entry and forgets the resource manager.
  static void Destroy();
  // Deletes every entry; the resource manager stays.
  static void ClearRows() { m_RowCount = 0; }
  static int GetRowCount() { return m_RowCount; }

  // Appends a copy with its capacities scaled; 1 (and nothing added) when
  // the catalogue is full, else 0.
  static int AddBuildingPotential(const PotentialType* potential);
  // Entry n; null when n is not an entry's number.
  static const PotentialType* GetPotentialByNr(int n);
  // The first entry with that resource id; null if none.
  static const PotentialType* GetPotential(int resId);
  // The resource id of entry n; 0 when n is out of range.
  static int GetBuildingResIDByListNr(int n);
  // The number of the first entry with that resource id; -1 if none.
  static int GetNrByResID(int resId);
  // True when entry n is drawn as a multi-cell group.
  static bool IsTGV(int n);
  // The size of entry n along the map's x and y for a direction: a group's
  // size words (swapped for directions 1 and 3), 1 for a single tile, 0 for
  // anything else, a missing graphic or an entry that does not exist.
  static int GetXSizeByNr(int n, TIsoRichtung direction);
  static int GetYSizeByNr(int n, TIsoRichtung direction);

  // A random group entry of the object type (and variant, when above 0)
  // that fills xSize by ySize: direction 0 when it fits as it is, 3 when
  // turned. Its number, with the direction and resource id; -1 (and 0, 0)
  // when none fits.
  static int GetNrByData(TObjectType type, int xSize, int ySize, int variant, TIsoRichtung& direction, int& resId);
  // A random entry of the object type, only for the types 8, 9 and 10;
  // -1 for another type, an empty catalogue or when every draw misses.
  static int GetNrByData(int amount, TObjectType type, int size);
  // The resource id of the entry that GetNrByData(amount, type, size)
  // draws, with its number in *index (when given). When `wanted` is not 0
  // and differs from the entry's resource id, or nothing is drawn: 0 and -1.
  static int GetRESidByData(int amount, TObjectType type, int size, int wanted, int* index);
  // The first entry of the object type whose variant equals the given one
  // (any variant when it is below 1): its resource id and number; 0 and -1
  // when there is none.
  static int GetBuildingResIDByType(TObjectType type, int variant, int* index);

  // The work places of a record: the words at 28, 32 and 36.
  static int MakeWorkFromData(const PotentialType* potential);
  // The leisure places of a record: homes / 12 plus the word at 44.
  static int MakeLeisureFromData(const PotentialType* potential);

 private:
  static int SizeWord(int n, TIsoRichtung direction, bool alongX);

  static QnoResourceManager* m_pResourceManager;
  static PotentialType m_Rows[kMaxRows];
  static int m_RowCount;
};
