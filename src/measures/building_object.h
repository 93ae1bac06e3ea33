#pragma once
// Buildings placed on the map: houses, shops, factories, schools and open
// spaces, and the traffic buildings of the measures. A building carries what
// the map needs (cell, direction, graphic, height); what the demand model
// needs lives in its location.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "framework/zor_pointer_list.h"
#include "measures/opnv_net.h"
#include "sim/sim_date.h"
#include "sim/sim_parking_data.h"
#include "worldbase/building_catalogue.h"
#include "worldbase/sim_location_types.h"
#include "worldbase/zor_world_obj.h"

class QnoResourceManager;
class CSimLocation;
class CParkManagement;
class CParkRide;
class ZorRecordWriter;
class ZorRecordReader;
class COpnvLine;
class CStreetObj;
class CStrJunction;
class CStrStrasse;
class CBuildingParkingObject;
class CSecondLayerObject;


// Size class of a car park: 1, 2 or 3.
using ToolBuildingParkingSize = int32_t;

// How near a street or crossing must come to a building's footprint for the
// building to have street access: a car park and a park-and-ride site are
// driven into from the street beside them, every other building is reached
// from within 3 cells. A street may not be taken from a building that would
// lose its access.
inline int StreetAccessDistance(int kind) {
  return kind == OBJ_CARPARK_OPEN || kind == OBJ_CARPARK_GARAGE || kind == OBJ_PARKRIDE ? 1 : 3;
}

// The buildings whose use is the car that reaches them from the street: car
// parks, park-and-ride sites and the car-sharing office and its outlets. The
// player places these only within their access distance of a street; every
// other building stands on any free land.
inline bool NeedsStreetAccess(int kind) {
  return (kind >= OBJ_CARPARK_OPEN && kind <= OBJ_CARPARK_GARAGE2) || kind == OBJ_PARKRIDE ||
         kind == OBJ_CARSHARING_CENTRE || kind == OBJ_CARSHARING_STATION;
}

// A building's placement, 32 bytes in savegames: eight little-endian words.
struct BuildingDataType {
  static constexpr int kRecordSize = 32;
  int32_t richtung = 0;  // 0-3
  int32_t x = 0;
  int32_t y = 0;
  int32_t reserved1 = 0;
  int32_t reserved2 = 0;
  int32_t objectType = 0;
  int32_t resId = 0;
  int32_t height = 0;

  void Write(ZorRecordWriter& out) const;
  // False when the record is cut short.
  bool Read(ZorRecordReader& in);
};

class CBuildingObject : public CWorldObj {
  ZOR_DECLARE_TYPE(CBuildingObject)
 public:
  // Its tiles are all it shows: it draws nothing over the map.
  bool RendersOnlyLayoutVehicles() const override { return true; }
  // The record's length field: name, placement, district and capacities.
  static constexpr uint32_t kRecordLength = 30 + BuildingDataType::kRecordSize + 2 + PotentialType::kRecordSize;

  // A location that outlives its building forgets it.
  ~CBuildingObject() override;
  using CWorldObj::Create;
  // A building's turn is its sound alone.
  bool HasCellTurn() const override { return false; }
  // Places the building's data; the object type becomes 17; 0.
  virtual int Create(int resId, int x, int y, CIsoRichtung* direction, ESimLocationHeight height);
  virtual int GetXPos() const { return m_Data.x; }
  virtual int GetYPos() const { return m_Data.y; }
  virtual int GetRichtung() const { return m_Data.richtung; }
  int GetRESid() const { return m_Data.resId; }
  int GetResID() const { return m_Data.resId; }
  const BuildingDataType& GetBuildingData() const { return m_Data; }
  // The size in cells: the location's, else by object type.
  int GetXSize() const;
  int GetYSize() const;
  // The size along the map's axes: swapped for the directions 1 and 3.
  int GetXSizeRichtung() const override;
  int GetYSizeRichtung() const override;
  // The height word of the location; 0 without one.
  virtual int GetHeight() const;
  // The district id of the location; -1 without one.
  virtual int GetDistrictID() const;
  void SetSimLocation(CSimLocation* location) override { m_pSimLocation = location; }
  CSimLocation* GetSimLocation() const override { return m_pSimLocation; }

  // The number of non-owning building lists that hold the building.
  void IncrementListNumber() { ++m_ListNumber; }
  void DecrementListNumber();
  int GetListNumber() const { return m_ListNumber; }
  void SetSelected(bool on) { m_Selected = on ? 1 : 0; }
  bool GetSelected() const { return m_Selected != 0; }

  // The "BUILDING." keys; 0 for one of them, 1 for any other.
  int GetVarData(const char* name, double* value) override;
  using CWorldObj::GetVarData;
  // A building takes no values: 1.
  int SetVarData(const char*, const char*) override { return 1; }
  int SetVarData(const char*, double) override { return 1; }
  int SetStep(const char*, float) override { return 0; }
  int GetVarMin(const char* name, float* min) override;
  int GetVarMax(const char* name, float* max) override;

  // Writes the building's record under `name` ("BuildingObject" when none);
  // 1 when a write fails.
  int SerializeGameStore(FILE* file, char* name) override;
  // Reads a record's payload after its name; 1 when cut short.
  static int SerializeGameLoad(FILE* file, BuildingDataType* data, PotentialType* potential, short* district);

  // Car reach at the building's cell: how well the nearest street within 5
  // cells carries cars, 0 to 1; 0 without one.
  double CarReach() const;

 protected:
  // Writes the header, placement, district and capacities with the length
  // field `length`; the subclasses append their own data.
  bool WriteRecord(ZorRecordWriter& out, const char* name, uint32_t length);
  // The length and the name field: filled with 'A', the name over its start.
  void WriteRecordName(ZorRecordWriter& out, const char* name, uint32_t length);

  CSimLocation* m_pSimLocation = nullptr;
  BuildingDataType m_Data;
  int m_ListNumber = 0;
  uint8_t m_Selected = 0;
};

// A zoned area (residential, commercial or industrial).
class CBuildingSpace : public CBuildingObject {
 public:
  using CBuildingObject::Create;
  // The object type of the catalogue entry with that graphic (0 if none).
  int Create(int resId, int x, int y, CIsoRichtung* direction, ESimLocationHeight height) override;
};

// A building of the city: homes, offices, industry, shops, schools...
class CBuildingRCIObject : public CBuildingObject {
 public:
  using CBuildingObject::Create;
  // The object type of the catalogue entry with that graphic (0 if none).
  int Create(int resId, int x, int y, CIsoRichtung* direction, ESimLocationHeight height) override;
};

// A fixed building of the map (object type 11).
class CBuildingConcreteObject : public CBuildingObject {
 public:
  using CBuildingObject::Create;
  int Create(int resId, int x, int y, CIsoRichtung* direction, ESimLocationHeight height) override;
};

// A car park of one of three sizes: its places, prices, microcar places,
// guidance sign and reservation system, and its money of the year, all in
// its parking record; the park management lists it and lets it take its
// turn.
class CBuildingParkingObject : public CBuildingObject {
 public:
  // The sign's cost, booked each time guidance or reservation is switched on.
  static constexpr int kSystemCost = 50000;
  // Money of a place: hourly prices over the 1460 paid hours of a year, and
  // the yearly upkeep of a car and of a microcar place.
  static constexpr int kPaidHoursPerYear = 1460;
  static constexpr int kCarPlaceUpkeep = 750;
  static constexpr int kMicrocarPlaceUpkeep = 500;
  // The display's graphics by graphic row and load state (below 0.3, below
  // 0.6, above).
  static const int kDisplay[3][3];

  CBuildingParkingObject(CParkManagement* manager, TObjectType kind);
  ~CBuildingParkingObject() override;
  using CBuildingObject::Create;
  // As a building, keeping the factory's object type; a given record is
  // taken (SetData), else places, money and prices start at 0.
  virtual int Create(int resId, int x, int y, CIsoRichtung* direction, ESimLocationHeight height,
                     ParkingDataType* parking);
  // Removes the sign, then the object.
  int Destroy() override;

  // Takes every field of the record.
  using CWorldObj::SetData;
  void SetData(const ParkingDataType* parking);
  ParkingDataType* GetParkingData() { return &m_Parking; }
  const ParkingDataType* GetParkingData() const { return &m_Parking; }
  // Places and car places n, microcar places 0.
  void SetParkingPlaces(int n);
  void SetDistrictID(short id) { m_Parking.districtId = id; }
  int GetDistrictID() const override { return m_Parking.districtId; }
  void SetID(int n) { m_Parking.number = n; }
  int GetID() const { return m_Parking.number; }
  void ResetBilanz();

  // price + price x percent / 100, kept within 0..2.
  void PriceChangePkw(float percent);
  // reduction + points, kept within 0..100.
  void PriceChangeMicrocar(float points);

  // Guidance sign: SetPLS places one next to the nearest crossing (0 when
  // placed); CheckForPLS tries again where guidance is on without a sign;
  // RemovePLS switches guidance off and takes the sign away;
  // DestroyPLSObject lets the street forget the car park and, unless the
  // sign is kept (it is going already), takes the sign off the map.
  int SetPLS();
  int CheckForPLS();
  int RemovePLS();
  void DestroyPLSObject(bool keepSign);
  CSecondLayerObject* GetPLS() const { return m_pSign; }
  CStrStrasse* GetPLSStreet() const { return m_pSignStreet; }
  // A sign removed with its street or by the player.
  void ForgetPLS(CSecondLayerObject* sign);

  // The hour's money: income from the places in use at their prices,
  // upkeep dearer by 15 % for each of guidance and reservation.
  int OnPlayloopTurn(STime now, STime last);
  using CWorldObj::OnPlayloopTurn;
  // The display's state from the load; a new graphic goes on the map.
  void CalculateDarstellungFromUserQuote();
  // The combined load of car and microcar places, 0..1; 0 without places.
  double Load() const;

  // The "PH." keys; others go to the building.
  int GetVarData(const char* name, double* value) override;
  using CBuildingObject::GetVarData;
  int SetVarData(const char* name, double value) override;
  using CBuildingObject::SetVarData;
  int GetStep(const char* name, float* step) override;
  int GetVarMin(const char* name, float* min) override;
  int GetVarMax(const char* name, float* max) override;

  // The building record under "BuildingParkingObject", then the parking
  // record; the loader reads both.
  int SerializeGameStore(FILE* file, char* name) override;
  static int SerializeGameLoad(FILE* file, BuildingDataType* data, PotentialType* potential, short* district,
                               ParkingDataType* parking);

 protected:
  CParkManagement* m_pManager;
  ParkingDataType m_Parking;
  CSecondLayerObject* m_pSign = nullptr;
  CStrStrasse* m_pSignStreet = nullptr;
};

// Transmitter masts, car-sharing outlets and the advice centre.
class CBuildingTrafficObject : public CBuildingObject {
 public:
  explicit CBuildingTrafficObject(int id = 0) : m_ID(id) {}
  using CBuildingObject::Create;
  // The object type is the given one; non-zero on failure.
  virtual int Create(TObjectType kind, int resId, int x, int y, CIsoRichtung* direction, ESimLocationHeight height);
  void SetID(int id) { m_ID = id; }
  int GetID() const { return m_ID; }

 protected:
  int m_ID;
};

// Objects on or beside a street cell, on the map's upper layer: bus stops
// (object types 23-26), tram stops (28), parking guidance signs (29, 30), the
// further signs (31, 32), speed controls (40) and the generic street-side
// object (46). A stop keeps the lines that serve it, a guidance sign its car
// park, a speed control the street it watches.
class CSecondLayerObject : public CBuildingObject {
 public:
  // The length field counts the name and the placement, not the id.
  static constexpr uint32_t kRecordLength = 30 + BuildingDataType::kRecordSize;

  ~CSecondLayerObject() override;
  using CBuildingObject::Create;
  // Places the object's data with the given graphic and makes the empty
  // line list; the object type becomes that of the catalogue entry with
  // this graphic (0 if none); 0.
  int Create(int resId, int x, int y, CIsoRichtung* direction, ESimLocationHeight height) override;
  // A speed control switches its street's control off, a guidance sign
  // lets its car park forget it, every line serving a stop drops it; then
  // the line list goes.
  int Destroy() override;

  // The lines serving a stop (not owned). AddLine: 1 without a list, 0 when
  // the line is listed already, else the list's answer. RemoveLine: 1
  // without a list, else the list's answer.
  int AddLine(COpnvLine* line);
  int RemoveLine(COpnvLine* line);
  // Empties the line list.
  void ClearLineList();
  CZorvaList* GetLineList() { return m_pLineList; }

  // The street (or, under a tram stop, the rail) under the stop and its
  // cell; null and (-1, -1) when there is none.
  CStreetObj* GetStreet(int* x, int* y);
  // The length along the street from the junction to the stop's street
  // cell; -1 when the stop stands on no street.
  int GetLengthFromJunction(CStrJunction* junction, short direction);

  void VLSSetStreet(CStrStrasse* street) { m_pStreet = street; }
  CStrStrasse* GetVLSStreet() const { return m_pStreet; }
  void SetParking(CBuildingParkingObject* parking) { m_pParking = parking; }
  CBuildingParkingObject* GetParking() const { return m_pParking; }
  // The stop number public transport gave the stop; 0 for other objects.
  void SetID(unsigned int id) { m_ID = id; }
  unsigned int GetID() const { return m_ID; }
  void SetNetType(NetActiveType type) { m_NetType = type; }
  NetActiveType GetNetType() const { return m_NetType; }

  // "SecondLayerObject": the placement and the id.
  int SerializeGameStore(FILE* file, char* name) override;
  static int SerializeGameLoad(FILE* file, BuildingDataType* data, unsigned int* id);

 protected:
  CStrStrasse* m_pStreet = nullptr;
  CZorvaList* m_pLineList = nullptr;
  CBuildingParkingObject* m_pParking = nullptr;
  unsigned int m_ID = 0;
  NetActiveType m_NetType = NET_BUS;
};

// A list of buildings that does not own them. Built with 1 it empties
// itself when destroyed and leaves the buildings' list numbers alone; with
// any other value every add raises the added building's list number.
class CBuildingList : public CZorvaList {
 public:
  explicit CBuildingList(InitializingType init = 0) : CZorvaList(0), m_Init(init) {}
  ~CBuildingList() override;
  using CZorvaList::Create;
  // Creates the list with that building at its head.
  int Create(CBuildingObject* building);
  int Destroy();
  int AddTailBuilding(CBuildingObject* building, int key = -1);
  int AddHeadBuilding(CBuildingObject* building, int key = -1);
  CBuildingObject* RemoveHeadBuilding();
  CBuildingObject* RemoveTailBuilding();
  int RemoveBuilding(CBuildingObject* building);
  void SetupBuildingCount(ListRichtungsType direction = 0) { SetupZorvaCount(direction); }
  CBuildingObject* GetNextBuilding() { return static_cast<CBuildingObject*>(GetNextZorva()); }
  // Adds every building of this list at the head of the other; true.
  bool Copy(CBuildingList* other);

 private:
  bool Counts() const { return m_Init != 1; }
  InitializingType m_Init;
};
