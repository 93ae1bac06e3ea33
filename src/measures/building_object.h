#pragma once
// Buildings placed on the map and the catalogue they come from.
// Stand-in: only what the world, its object factory and the map use.
#include <cstdint>

#include "framework/zor_pointer_list.h"
#include "worldbase/sim_location_types.h"
#include "worldbase/zor_world_obj.h"

class QnoResourceManager;
class CSimLocation;
class CParkManagement;
class CParkRide;

// The parking record handed to car parks (76 bytes in savegames).
struct ParkingDataType {
  uint8_t bytes[76] = {};
};

// Size class of a car park: 1, 2 or 3.
using ToolBuildingParkingSize = int32_t;

class CBuildingObject : public CWorldObj {
  ZOR_DECLARE_TYPE(CBuildingObject)
 public:
  using CWorldObj::Create;
  // Places the building's data; 0 on success.
  virtual int Create(int resId, int x, int y, CIsoRichtung* direction, ESimLocationHeight height);
  virtual int GetXPos() const { return m_XPos; }
  virtual int GetYPos() const { return m_YPos; }
  virtual int GetRichtung() const { return m_Richtung.GetValue(); }
  // Width and depth in cells by object type.
  int GetXSize() const;
  int GetYSize() const;
  int GetResID() const { return m_ResID; }
  // The height class of the building's simulation location; 0 without one.
  virtual int GetHeight() const;
  // The district id of the building's simulation location; -1 without one.
  virtual int GetDistrictID() const;
  void SetSimLocation(CSimLocation* location) override { m_pSimLocation = location; }
  CSimLocation* GetSimLocation() const override { return m_pSimLocation; }

 protected:
  int m_XPos = -1;
  int m_YPos = -1;
  CIsoRichtung m_Richtung;
  int m_ResID = -1;
  CSimLocation* m_pSimLocation = nullptr;
};

// A zoned area (residential, commercial or industrial).
class CBuildingSpace : public CBuildingObject {};

// A building of the city: homes, offices, industry, shops, schools...
class CBuildingRCIObject : public CBuildingObject {};

class CBuildingParkingObject : public CBuildingObject {
 public:
  CBuildingParkingObject(CParkManagement* manager, TObjectType kind);
  using CBuildingObject::Create;
  virtual int Create(int resId, int x, int y, CIsoRichtung* direction, ESimLocationHeight height,
                     ParkingDataType* parking);
  void SetDistrictID(short id) { m_DistrictID = id; }
  int GetDistrictID() const override { return m_DistrictID; }

 protected:
  CParkManagement* m_pManager;
  short m_DistrictID = 0;
  ParkingDataType m_Parking;
};

// Transmitter masts, car-sharing outlets and the advice centre.
class CBuildingTrafficObject : public CBuildingObject {
 public:
  using CBuildingObject::Create;
  // Non-zero on failure.
  virtual int Create(TObjectType kind, int resId, int x, int y, CIsoRichtung* direction,
                     ESimLocationHeight height);
};

class CBuildingParkRideObject : public CBuildingTrafficObject {
 public:
  explicit CBuildingParkRideObject(CParkRide* manager) : m_pManager(manager) {}

 protected:
  CParkRide* m_pManager;
  uint8_t m_Station[32] = {};
};

// Objects on the upper layer of a cell: stops, signs, speed controls.
class CSecondLayerObject : public CBuildingObject {
 public:
  void SetStopID(unsigned int id) { m_StopID = id; }
  unsigned int GetStopID() const { return m_StopID; }

 protected:
  unsigned int m_StopID = 0;
};

// A walkable list of buildings (the interface's marked buildings).
class CBuildingList : public CZorvaList {
 public:
  CBuildingList() : CZorvaList(0) {}
  void SetupBuildingCount(ListRichtungsType direction) { SetupZorvaCount(direction); }
  CBuildingObject* GetNextBuilding() { return static_cast<CBuildingObject*>(GetNextZorva()); }
};

class CBuildingDataList {
 public:
  static void SetResourceManager(QnoResourceManager* manager);
  static void Destroy();
  static QnoResourceManager* GetResourceManager() { return m_pResourceManager; }
  // Group or tile resource id of catalogue row nr (below 1: none).
  static int GetBuildingResIDByListNr(int nr);
  // True when row nr is drawn as a multi-cell group.
  static bool IsTGV(int nr);

  // The building catalogue, filled once at start-up.
  static constexpr int kMaxRows = 149;
  // Appends a copy with its capacities scaled; 1 (and nothing added) when
  // the catalogue is full, else 0.
  static int AddBuildingPotential(const PotentialType* potential);
  // Fields 2 + 3 + 4: the work places of a row.
  static int MakeWorkFromData(const PotentialType* potential);
  // Field 1 / 12 + field 6: the leisure places of a row.
  static int MakeLeisureFromData(const PotentialType* potential);
  static int GetRowCount() { return m_RowCount; }
  // Row n, null out of range.
  static const PotentialType* GetPotentialByNr(int n);
  // Empties the catalogue.
  static void ClearRows() { m_RowCount = 0; }

 private:
  static QnoResourceManager* m_pResourceManager;
  static PotentialType m_Rows[kMaxRows];
  static int m_RowCount;
};
