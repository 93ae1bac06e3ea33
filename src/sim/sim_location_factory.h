#pragma once
// The factory of the demand model's locations: one for each placed
// building, registered with the city model and at the nearest street
// crossing, removed again with the building. It also puts up and takes
// down buildings when the city model asks a district for more or less space.
#include <vector>

#include "framework/zor_pointer_list.h"
#include "worldbase/sim_location_types.h"
#include "worldbase/zor_types.h"

class CZorvaWorld;
class CSimWelt;
class CSimLocation;
class CWorldObj;

// What the factory asks of the game world: its crossings, its stops and
// its map. The world installs its own; tests hand in theirs.
class CSimLocationHost {
 public:
  virtual ~CSimLocationHost() = default;
  // The id of the crossing nearest to the cell other than `excluded` (0
  // excludes none); 0 when there is none.
  virtual short GetNearestCrossing(int x, int y, short excluded) = 0;
  virtual int RegisterLocationAtCrossing(CSimLocation* location, short crossing) = 0;
  virtual int RemoveLocationFromCrossing(short crossing, CSimLocation* location) = 0;
  // Up to `most` stops within `radius` of the cells (x, y) + size: their ids
  // and distances, nearest first; the count.
  virtual int FindNearestHst(int x, int y, int xSize, int ySize, int radius, int most, short* ids,
                             int* distances) = 0;
  // False while the world has no map.
  virtual bool HasMap() = 0;
  // The object type on the cell's ground layer, and its location.
  virtual TObjectType GetTypeAt(int x, int y) = 0;
  virtual CSimLocation* GetLocationAt(int x, int y) = 0;
  // A place for the building `resId` over the lot's block: 0 with the cell,
  // the direction and the locations it replaces; 1 when none fits.
  virtual int SearchEmptySpaceFor(TObjectType kind, CSimLocation* lot, int resId, ESimLocationHeight height,
                                  CLocationListT<CSimLocation>* replaced, TIsoRichtung* direction, int* x,
                                  int* y) = 0;
  virtual int RemoveObjectAt(int x, int y) = 0;
  // Places a building through the world's factory; null when refused.
  virtual CWorldObj* CreateBuilding(TObjectType kind, int resId, TIsoRichtung direction, int x, int y) = 0;
  // 0 when a street lies within `distance` cells of the location.
  virtual int CheckLocationForStreetDistance(CSimLocation* location, int distance, SimLocationSizeType* size) = 0;
  virtual bool CheckResComIndForOnlyOne(TObjectType kind, CSimLocation* location, ESimLocationHeight height) = 0;
};

// What a district needs more or less of: 1 work places, any other value homes.
using ESimSpaceNeeded = int;

class CSimLocationFactory {
 public:
  // Stops within this distance (100 a cell) count as near, three at most.
  static constexpr int kHstRadius = 1500;

  virtual ~CSimLocationFactory();
  // False when already created; stores both and becomes valid.
  virtual bool Create(CZorvaWorld* world, CSimWelt* simulation);
  // Removes every location; false (error 8) when not created.
  virtual bool Destroy();
  bool IsValid() const { return m_valid != 0; }
  void SetHost(CSimLocationHost* host) { m_pHost = host; }
  CSimLocationHost* GetHost() const { return m_pHost; }

  // Makes the location of a placed building: its capacities come from the
  // given record or, without one, from the catalogue entry (by resource id
  // when `catalogueNr` is below 0, else that entry). Null when the factory
  // is not created, no building is given or the catalogue has no entry; the
  // building is then left without a location.
  virtual CSimLocation* CreateNewLocation(const int& resId, const int& catalogueNr, const TObjectType& kind,
                                          const CIsoRichtung& direction, const int& x, const int& y,
                                          const SimLocationSizeType& size, const ESimLocationHeight& height,
                                          CWorldObj* building, const short& value, PotentialType* potential);
  // Takes the location from its crossing, the city model and the list, and
  // deletes it (its building is unlinked).
  virtual void RemoveLocation(CSimLocation* location);
  int GetLocationCount() const { return static_cast<int>(m_locations.size()); }
  CSimLocation* GetLocation(int i) const { return m_locations[static_cast<size_t>(i)]; }

  // With false: the nearest crossing, the old one told when it changes;
  // with true: the nearest other than the current, which is going away.
  short ChangeNearestCrossing(CSimLocation* location, bool best);
  void FindNearestHst(CSimLocation* location);
  void CheckAllLocationsForNearestHst();
  int CheckLocationInFactoryList(const CSimLocation* location) const;
  // Walks the list and logs every location that is not valid or whose
  // building does not name it as its location back; 0.
  int CheckLocationForError() const;

  int MoreSpaceNeeded() { return 0; }
  // Puts up buildings on the district's zoned lots; what was not met stays
  // in amount. 1 without a world or a map.
  int MoreSpaceNeeded2(const int& districtId, const ESimSpaceNeeded& kind, int& amount);
  // Takes down low buildings of the district; 1 without a world or a map.
  int LessSpaceNeeded2(const int& districtId, const ESimSpaceNeeded& kind, int& amount);
  int SetBuilding(TObjectType type, int resId, CSimLocation* lot, int x, int y, TIsoRichtung direction,
                  CLocationListT<CSimLocation>* replaced);
  // Turns isolated single lots far from streets into buildings.
  int CheckResIndComOnlyOneTile();

  // The cells of district d (1..256): x from x0 to x0 + 7, y likewise.
  static int DistrictX0(int d) { return 8 * ((d - 1) % 16); }
  static int DistrictY0(int d) { return 8 * ((d - 1) / 16); }
  static short DistrictOf(int x, int y) { return static_cast<short>(x / 8 + 16 * (y / 8) + 1); }

 protected:
  unsigned char m_valid = 0;
  CZorvaWorld* m_pWorld = nullptr;
  CSimWelt* m_pSimWelt = nullptr;
  CSimLocationHost* m_pHost = nullptr;
  // Newest first.
  std::vector<CSimLocation*> m_locations;
};
