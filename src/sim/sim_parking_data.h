#pragma once
// A car park's state as the demand model and the savegame see it: 76 bytes,
// little-endian, its fields at fixed offsets (given beside each field). The
// car park holds it, the demand model reads the places and prices through
// the walk below and writes the places in use and the loads back.
#include <cstdint>

class ZorRecordWriter;
class ZorRecordReader;

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
  float carLoad = 0.0f;            // 44: share 0..1
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
  // Null when the record may stand in a game, else what is wrong with it:
  // a size class outside 1..3, a district outside 1..256, negative places
  // or counts, places that do not hold the car and microcar places, or a
  // price, share or load that is no number or out of its range.
  const char* Refusal() const;
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
