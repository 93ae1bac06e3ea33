#pragma once
// Parking management: the car parks of the town with their places, prices,
// microcar places, guidance signs and reservation systems; their money of
// the year, their averages and shares, and the walk over their records
// through which the demand model lets cars park.
#include <cstdint>

#include "framework/zor_pointer_list.h"
#include "measures/building_object.h"
#include "measures/measure.h"
#include "sim/sim_date.h"
#include "sim/sim_parking_data.h"

class CBuildingParkingObject;
class CSecondLayerObject;
class CStrJunction;
class CStrStrasse;

// What car parks need of the world for their signs and displays: the
// street network's crossings, the object factory and the map.
class CParkingHost {
 public:
  virtual ~CParkingHost() = default;
  virtual CStrJunction* JunctionByID(unsigned short id) = 0;
  // A street-side object of the type and graphic at the cell, turned to
  // `direction`; null when none could be made.
  virtual CSecondLayerObject* CreateSign(int type, int resId, int x, int y, int direction) = 0;
  // Whether the street is still one of the network's; a car park's sign
  // street may have gone with the street network's changes.
  virtual bool HasStreet(CStrStrasse* street) = 0;
  // Takes the sign off the map (its Destroy runs).
  virtual void RemoveSign(CSecondLayerObject* sign) = 0;
  // Puts the building's new graphic on the map.
  virtual void ChangeGraphic(CBuildingObject* building, int resId) = 0;
  // The highest hourly price a window offers: half the maximum of the
  // network's car price node.
  virtual float PriceMax() = 0;
};

class CParkManagement : public CMeasure, public CSimParkingDataSource {
 public:
  // The record's length field: the name, the 76-byte block and the end mark.
  static constexpr uint32_t kBlockSize = 76;
  static constexpr uint32_t kRecordLength = 30 + kBlockSize + 30;
  static constexpr const char* kEndMark = "PARKMANAGEMENTENDE";
  // Places of a new car park by size class 1..3.
  static constexpr int kPlaces[3] = {60, 120, 250};

  CParkManagement();
  ~CParkManagement() override;
  // The car park and display lists.
  int Create() override;
  using CWorldObj::Create;
  // Empties and deletes both lists; the objects belong to the world.
  int Destroy() override;
  void SetHost(CParkingHost* host) { m_pHost = host; }
  CParkingHost* GetHost() const { return m_pHost; }

  // A loaded car park (with its record) joins under its own number; a new
  // one gets the default record of its size class and the next number, and
  // its places count. Both join at the head of the list; 0.
  virtual int AddParking(CBuildingParkingObject* building, ToolBuildingParkingSize size, ParkingDataType* parking);
  // Its places leave the count and it leaves the list; 0.
  virtual int RemoveParking(CBuildingParkingObject* building);
  int AddParkDisplay(CSecondLayerObject* sign);
  virtual int RemoveParkDisplay(CSecondLayerObject* sign);
  // Every car park with guidance on and no sign tries to place one.
  void CheckForPLS();

  void SimSetupParkingDataCount() override;
  ParkingDataType* SimGetNextParkingData() override;
  // "PRM.PLACELIST" the car parks, "PRM.DISPLAYLIST" the displays.
  CZorvaList* GetList(const char* key) override;
  int GetParkingCount() const;

  // Every car park's turn, then the shares, sums and averages.
  int OnPlayloopTurn(STime now, STime last) override;
  using CMeasure::OnPlayloopTurn;
  // At a change of year: the balance, and every car park's money, to 0.
  int ResetYearData(STime now, STime last) override;
  void ResetBilanz() override;
  // Sums and averages over the car parks.
  void CalculateDataFromParkBuildings();

  int GetVarData(const char* key, double* value) override;
  using CMeasure::GetVarData;
  int SetVarData(const char* key, double value) override;
  using CMeasure::SetVarData;
  int GetStep(const char* key, float* step) override;
  int GetVarMin(const char* key, float* min) override;
  int GetVarMax(const char* key, float* max) override;

  // u32 136, the 30-byte name, the block, the 30-byte end mark; 1 when a
  // write fails.
  int SerializeGameStore(FILE* file, char* name) override;
  using CMeasure::SerializeGameStore;
  // Reads the block and the end mark after the container read the length
  // and name; 1 (logged) when it is cut short, the end mark is missing or a
  // value is no number or out of range, which leaves the block as it was.
  int SerializeGameLoad(FILE* file) override;

 private:
  struct Block {
    int32_t income = 0;
    int32_t expenses = 0;
    int32_t places = 0;
    int32_t placesPR = 0;
    int32_t placesMicrocar = 0;
    int32_t placesCar = 0;
    int32_t lastBalance = 0;
    float priceCar = 0.0f;
    float priceMicrocar = 0.0f;
    float userQuoteCar = 0.0f;
    float userQuoteMicrocar = 0.0f;
    float userQuote = 0.0f;
    int32_t reservationExpenses = 0;
    int32_t displayExpenses = 0;
    int32_t nextNumber = 1;
    float quoteReservation = 0.0f;
    float quoteGuidance = 0.0f;
    // The pending price changes for cars (percent) and microcars (points).
    int32_t changePkw = 0;
    int32_t changeMicrocar = 0;
  };
  // The block's fields in record order.
  template <class F>
  static void EachField(Block& b, F&& f);
  // The car park and display lists, where they are missing.
  void MakeLists();

  Block m_Block;
  CBuildingList* m_pParkings = nullptr;
  CBuildingList* m_pDisplays = nullptr;
  CParkingHost* m_pHost = nullptr;
};
