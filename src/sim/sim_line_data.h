#pragma once
// The line data record: everything one public-transport line keeps for the
// demand model and the savegame (route, stops, travel times, headway,
// fleet, hourly passengers), and the walk over the lines in service through
// which the demand model reads the records and writes the passengers back.
//
// The record is 6012 bytes in a savegame, little-endian, its fields at
// fixed offsets (given beside each field). In memory the stop objects are
// pointers; the file holds a zero word in their place and the loader looks
// the stops up again by their ids.
//
// Line numbers: a bus or tram line's number is unique among the bus and
// tram lines; virtual lines (walking links between stops) count their own
// numbers from 1 and keep them positive. A line is named by its net type
// together with its number, so a virtual line never shares the passengers
// of a bus or tram line with the same number.
#include <cstdint>

class ZorRecordWriter;
class ZorRecordReader;

struct LineDataType {
  static constexpr int kMaxStreets = 2000;
  static constexpr int kMaxStopEntries = 80;
  static constexpr int kMaxStopsOneWay = kMaxStopEntries / 2;
  static constexpr int kHours = 24;
  static constexpr uint32_t kRecordSize = 6012;
  // Savegames up to version 220: room for 1000 streets and 40 stop entries.
  static constexpr uint32_t kOldRecordSize = 3092;
  static constexpr int kOldMaxStreets = 1000;
  static constexpr int kOldMaxStopEntries = 40;
  // Net types (NetActiveType).
  static constexpr int32_t kNetBus = 1;
  static constexpr int32_t kNetTram = 2;
  static constexpr int32_t kNetVirtual = 3;
  static constexpr int32_t kNewLineHeadway = 30;

  // 0: directed street ids, the one-way route in 0..n-1, the way back in
  // n..2n-1.
  int16_t streetIds[kMaxStreets];
  // 4000: the directed street id at each stop entry.
  int16_t stopStreetIds[kMaxStopEntries];
  // 4160: the stops one way in 0..m-1, the same stops back in m..2m-1.
  int16_t stopIds[kMaxStopEntries];
  // 4320: the stop building of each entry (a zero word in the file).
  void* stopObjects[kMaxStopEntries];
  // 4640: 1 when the stop is added.
  uint8_t stopActive[kMaxStopEntries];
  // 4720: zero, mirrored with the stops.
  float reservedFloats[kMaxStopEntries];
  // 5040: distance from the previous stop entry in street length units.
  int32_t distances[kMaxStopEntries];
  // 5360: zero, mirrored with the stops.
  int16_t reservedShorts[kMaxStopEntries];
  // 5520: travel time from the previous stop entry in seconds.
  int32_t times[kMaxStopEntries];
  int16_t lineNumber;        // 5840
  uint16_t stopEntries;      // 5842: both ways (2m)
  uint16_t streetEntries;    // 5844: both ways (2n)
  uint16_t stopsOneWay;      // 5846: m
  uint16_t streetsOneWay;    // 5848: n
  uint16_t streetCursor;     // 5850
  float length;              // 5852: summed stop distances / 500
  float averageSpeed;        // 5856: length / summed travel time
  float exclusiveLength;     // 5860: at most the length
  int32_t headway;           // 5864: minutes, 2 to 60
  int32_t yearlyCost;        // 5868
  int32_t vehiclesNeeded;    // 5872
  int32_t normalBuses;       // 5876
  int32_t electricBuses;     // 5880
  int32_t hydrogenBuses;     // 5884
  int32_t lowFloorBuses;     // 5888
  int32_t trams;             // 5892
  float priorityShare;       // 5896: crossing priority share
  float serviceState;        // 5900: 0.6 checked, 1 enough, 0.5 short, 0 stopped
  uint8_t active;            // 5904: 1 in service; 3 bytes padding follow
  float reserved;            // 5908
  int32_t netType;           // 5912: 1 bus, 2 tram, 3 virtual
  int32_t passengers[kHours];  // 5916: by simulated hour of the day

  // Every field 0, then the headway of a new line and the net type.
  void Reset(int32_t type);

  // Whether the counts fit the arrays: m at most 40 and at most 2m + 1
  // stop entries (a dropped stop leaves an odd count); n at most 1000 and
  // at most 2n street entries; the walk cursor within the street list.
  bool CountsValid() const;

  // The 6012-byte record; stop objects are written as zero words.
  void Write(ZorRecordWriter& out) const;
  // Reads the 6012-byte record. Stop objects come back null. False when the
  // record is cut short or its counts are not valid (CountsValid): the
  // record is then left cleared for its net type.
  bool Read(ZorRecordReader& in);
  // Reads the 3092-byte record of savegames up to version 220 into a record
  // cleared for `type`: the first 1000 street entries and the first 40 stop
  // entries, and the single fields. False as for Read.
  bool ReadOld(ZorRecordReader& in, int32_t type);
};

// The lines in service, as public transport gives them to the demand model.
class CSimLineDataSource {
 public:
  virtual ~CSimLineDataSource() = default;
  // Restarts the walk at the first bus line.
  virtual void SimSetupLineDataCount() = 0;
  // The next record, or null at the end: the active bus lines, then the
  // active tram lines, then every virtual line. The records stay valid
  // until the lines change.
  virtual LineDataType* SimGetNextLineData() = 0;
};
