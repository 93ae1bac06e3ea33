#pragma once
// A car park's state as the demand model and the savegame see it: 76 bytes,
// little-endian, its fields at fixed offsets (given beside each field). The
// car park holds it, the demand model reads the places and prices through
// the walk below and writes the places in use and the loads back.
#include <cstdint>

class ZorRecordWriter;
class ZorRecordReader;
class ZorFieldRange;

struct ParkingDataType {
  static constexpr uint32_t kRecordSize = 76;

  int32_t sizeClass = 0;           // 0: 1, 2 or 3
  float price = 0.0f;              // 4: hourly price 0..2
  float microcarPrice = 0.0f;      // 8: hourly price of a microcar place
  float microcarReduction = 0.0f;  // 12: percent 0..100
  int32_t graphicRow = 0;          // 16: row of the display table
  int32_t places = 0;              // 20
  int32_t carPlaces = 0;           // 24
  int32_t microcarPlaces = 0;      // 28
  int32_t carPlacesUsed = 0;       // 32: written by the demand model
  int32_t microcarPlacesUsed = 0;  // 36: written by the demand model
  float microcarShare = 0.0f;      // 40: percent of the places
  float carLoad = 0.0f;            // 44: 0 or more, above 1 when overfull
  float microcarLoad = 0.0f;       // 48: share 0..1
  int32_t income = 0;              // 52: of the year
  int32_t expenses = 0;            // 56: of the year
  int32_t reservationOff = 1;      // 60: 1 without a reservation system
  int32_t guidanceOff = 1;         // 64: 1 without a guidance sign
  int16_t districtId = 0;          // 68: 1..256; two bytes padding follow
  int32_t number = 0;              // 72: unique within the game

  bool operator==(const ParkingDataType&) const = default;

  void Write(ZorRecordWriter& out) const;
  // Reads the 76 bytes; false when the record is cut short.
  bool Read(ZorRecordReader& in);
  // Holds every field to the range the game gives it (`range` lists what
  // it changed): a size class of 1..3, a district of 1..256, counts of 0 or
  // more with the car places within the places and the microcar places
  // within what is left of them, prices, reduction and share in their
  // windows' ranges, the on/off flags 0 or 1 and a graphic row of 0..2. The
  // car load is the demand placed over the car places: a car park that the
  // demand model fills past its places holds more than 1, so only its
  // lower end is 0; the microcar load is a share 0..1.
  void HoldToRange(ZorFieldRange& range);
};

// The walk over the car parks through which the demand model reads and
// writes their records; the park management answers it in the game.
class CSimParkingDataSource {
 public:
  virtual ~CSimParkingDataSource() = default;
  virtual void SimSetupParkingDataCount() = 0;
  // The next car park's record; null after the last.
  virtual ParkingDataType* SimGetNextParkingData() = 0;
};
