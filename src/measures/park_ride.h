#pragma once
// Park-and-ride: car parks beside public transport. Each station knows the
// lines at its nearest stop and shows in its graphic how well they are
// used; the measure counts the stations and their places, holds the hourly
// price and the advertising switches, and takes its user quote from the
// cause-effect network.
#include <cstdint>
#include <cstdio>
#include <string>

#include "measures/building_object.h"
#include "measures/measure.h"
#include "sim/sim_date.h"

class ZorRecordWriter;
class ZorRecordReader;
class ZorFieldRange;

// A station's own state, 32 bytes in savegames after its building record.
struct ParkRideDataType {
  static constexpr uint32_t kRecordSize = 32;
  // Passengers of the lines at the nearest stop / 10000.
  float userQuote = 0.0f;
  int32_t income = 0;
  int32_t expenses = 0;
  int32_t balance = 0;
  int16_t district = 0;
  // The lines at the nearest stop and their average user quote.
  int32_t lines = 0;
  double lineQuote = 0.0;

  void Write(ZorRecordWriter& out) const;
  // False when the record is cut short.
  bool Read(ZorRecordReader& in);
  // Holds the quotes to numbers, the line count to 0 or more and the
  // district to 0..256 (`range` lists what it changed).
  void HoldToRange(ZorFieldRange& range);
};

class CBuildingParkRideObject : public CBuildingTrafficObject {
 public:
  // Savegames from this version on carry the station record.
  static constexpr int kStationVersion = 190;
  // The places of one station.
  static constexpr int kPlaces = 50;
  // The graphics by use: below 0.3, below 0.6, from 0.6 on.
  static constexpr int kResIDZ[3] = {33149, 33173, 33174};

  explicit CBuildingParkRideObject(CParkRide* manager) : m_pManager(manager) {}
  using CBuildingTrafficObject::Create;
  void SetData(const ParkRideDataType* station) {
    if (station) m_Station = *station;
  }
  const ParkRideDataType& GetData() const { return m_Station; }
  void SetDistrictID(short id) { m_Station.district = id; }
  CParkRide* GetManager() const { return m_pManager; }

  // The lines at the nearest stop, their passengers and user quotes; the
  // graphic follows the station's use. The measure runs it every hour.
  void CalculateDarstellungFromUserQuote();

  // The "PRPLACE." keys, then the building's.
  using CBuildingTrafficObject::GetVarData;
  int GetVarData(const char* key, double* value) override;
  int GetStep(const char*, float*) override { return 0; }
  int GetVarMin(const char*, float* min) override {
    *min = 0.0f;
    return 0;
  }
  int GetVarMax(const char*, float* max) override {
    *max = 1.0f;
    return 0;
  }

  // The building record under "BuildingParkRide", then the station record.
  int SerializeGameStore(FILE* file, char* name) override;
  // From kStationVersion on the station record follows (discarded without
  // a buffer), taken as read: the world's loader holds it to its ranges.
  // 1 when cut short.
  static int SerializeGameLoad(FILE* file, BuildingDataType* data, PotentialType* potential, short* district,
                               ParkRideDataType* station, int version);

 protected:
  CParkRide* m_pManager;
  ParkRideDataType m_Station;
};

// The measure's saved block, 44 bytes.
struct SParkRideBlock {
  float priceHour = 6.0f;
  int32_t users = 1;
  int32_t userQuote = 100;
  int32_t places = 0;
  int32_t income = 1;
  int32_t expenses = 1;
  int32_t quote = 100;
  int32_t stations = 0;
  uint8_t adRadio = 0;
  uint8_t adMagazin = 0;
  uint8_t adTelevision = 0;
  uint8_t padding = 0;
  int32_t messageTime = 0;
  float messageQuote = 0.0f;
};

class CParkRide : public CMeasure {
 public:
  // The places a station adds to the measure's count.
  static constexpr int kPlacesPerStation = 40;

  CParkRide();
  ~CParkRide() override;
  // Makes the station list; Destroy lets it go (not its stations).
  int Create() override;
  using CMeasure::Create;
  int Destroy() override;

  // A station more, at the head of the list; 0.
  virtual int AddParkRide(CBuildingTrafficObject* site);
  // A station less; 1 when the list did not hold it.
  virtual int RemoveParkRide(CBuildingTrafficObject* site);
  // The stations in the list; 0 without a list.
  int Stations() const;
  CZorvaList* GetList(const char* key) override;
  // The station window is bound to the measure and asks for its figures as
  // "PRPLACE." names: each is answered as the measure's "PR." name.
  int GetVarData(const char* key, double* value) override;
  int SetVarData(const char* key, double value) override;
  int GetStep(const char* key, float* step) override;
  int GetVarMin(const char* key, float* min) override;
  int GetVarMax(const char* key, float* max) override;

  const SParkRideBlock& Block() const { return m_Block; }

 protected:
  // A window's "PRPLACE." name as the measure's "PR." name; others as given.
  static std::string MeasureKey(const char* key);
  // Every station's use, then the user quote from the network.
  void CalculateUser(double elapsed) override;
  // The re-created stations count their places again; the message pacing
  // starts from now.
  void AfterLoad() override;

  SParkRideBlock m_Block;
  CBuildingList* m_pList = nullptr;
};
