#pragma once
// The size and height class of a simulation location, and the record of a
// building kind's capacities that the catalogue, the locations and the
// savegames share.
#include <cstdint>
#include <cstdio>

class ZorRecordWriter;
class ZorRecordReader;

// The height class of a location's buildings; 0 asks for no height.
enum ESimLocationHeight : int32_t { SIM_HEIGHT_ANY = 0 };

// What a location is, as the zoned areas tell: 1 residential, 2 commercial,
// 3 industrial; the buildings give their object type.
using ESimLocationType = int32_t;

// A footprint in cells.
struct SimLocationSizeType {
  uint16_t width = 0;
  uint16_t depth = 0;
};

// A building's capacities, 76 bytes in savegames (little-endian):
//   0 u16 first word        2 u16 height (the variant the catalogue compares)
//   4 i32 graphic resource  8 i32 object type   12 i32 graphic kind
//  16 i32 location type (1 residential, 2 commercial, 3 industrial)
//  20 i16 size x           22 i16 size y
//  24..67 u16 words: 24 homes, 28 and 32 work, 36 jobs, 40 and 42 parking,
//         44 leisure, 48 shops, 60 schools, 64 university; the others are
//         carried along unread
//  68 i32 carried along    72 four bytes without data (written as zeros)
struct PotentialType {
  static constexpr int kRecordSize = 76;
  // The nine capacity fields of the start-up tables, by their offsets.
  static constexpr int kFields = 9;
  static constexpr int kFieldOffset[kFields] = {24, 28, 32, 36, 40, 44, 48, 60, 64};
  static constexpr int kWordsFirst = 24;
  static constexpr int kWordsEnd = 68;

  uint16_t first = 0;
  uint16_t height = 0;
  int32_t resId = 0;
  int32_t objectType = 0;
  int32_t graphic = 0;  // 1 a multi-cell group resource, 2 a single tile
  int32_t locationType = 0;
  SimLocationSizeType size;
  uint16_t words[(kWordsEnd - kWordsFirst) / 2] = {};
  int32_t carried = 0;

  // The 16-bit word at a byte offset from 24 to 66; 0 for another offset.
  uint16_t Word(int offset) const;
  void SetWord(int offset, uint16_t value);
  // Capacity field i (0-based: field 1 is homes, field 9 university).
  uint16_t Field(int i) const { return Word(kFieldOffset[i]); }
  void SetField(int i, uint16_t value) { SetWord(kFieldOffset[i], value); }

  // Writes the 76 bytes; 0 when written, else 1.
  int SerializeGameStore(FILE* file) const;
  void Write(ZorRecordWriter& out) const;
  // Reads the 76 bytes (the last four are passed over); false when short.
  bool Read(ZorRecordReader& in);
};
