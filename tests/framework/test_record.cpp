#include <gtest/gtest.h>

#include <fstream>
#include <limits>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/qno_log.h"
#include "framework/zor_record.h"
#include "support/test_support.h"

using zortest::ByteList;
using zortest::RecordFile;

namespace {

// Every width once, with values whose bytes are all different.
const ByteList kEveryWidth = {
    0x12,                                            // u8
    0x56, 0x34,                                      // u16 0x3456
    0xDE, 0xBC, 0x9A, 0x78,                          // u32 0x789ABCDE
    0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01,  // u64 0x0102030405060708
    0xFE,                                            // i8 -2
    0xFD, 0xFF,                                      // i16 -3
    0xFC, 0xFF, 0xFF, 0xFF,                          // i32 -4
    0xFB, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // i64 -5
    0x00, 0x00, 0xC0, 0x3F,                          // f32 1.5
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0xC0,  // f64 -2.5
};

void WriteEveryWidth(ZorRecordWriter& out) {
  out.U8(0x12);
  out.U16(0x3456);
  out.U32(0x789ABCDEu);
  out.U64(0x0102030405060708ull);
  out.I8(-2);
  out.I16(-3);
  out.I32(-4);
  out.I64(-5);
  out.F32(1.5f);
  out.F64(-2.5);
}

struct EveryWidth {
  uint8_t u8 = 1;
  uint16_t u16 = 1;
  uint32_t u32 = 1;
  uint64_t u64 = 1;
  int8_t i8 = 1;
  int16_t i16 = 1;
  int32_t i32 = 1;
  int64_t i64 = 1;
  float f32 = 1;
  double f64 = 1;
};

EveryWidth ReadEveryWidth(ZorRecordReader& in) {
  EveryWidth v;
  v.u8 = in.U8();
  v.u16 = in.U16();
  v.u32 = in.U32();
  v.u64 = in.U64();
  v.i8 = in.I8();
  v.i16 = in.I16();
  v.i32 = in.I32();
  v.i64 = in.I64();
  v.f32 = in.F32();
  v.f64 = in.F64();
  return v;
}

long Position(FILE* f) { return std::ftell(f); }

TEST(FieldRange, ValuesOutsideTheirRangeBecomeTheNearerEndAndAreListed) {
  ZorFieldRange range;
  int32_t below = -4, above = 9, inside = 2, edge = 3;
  range.Hold(below, 0, 3, "below");
  range.Hold(above, 0, 3, "above");
  range.Hold(inside, 0, 3, "inside");
  range.Hold(edge, 0, 3, "edge");
  EXPECT_EQ(below, 0);
  EXPECT_EQ(above, 3);
  EXPECT_EQ(inside, 2);
  EXPECT_EQ(edge, 3);
  int16_t district = 300;
  range.Hold(district, int16_t{1}, int16_t{256}, "district");
  EXPECT_EQ(district, 256);
  uint16_t width = 40;
  range.Hold(width, uint16_t{0}, uint16_t{16}, "width");
  EXPECT_EQ(width, 16);
  // Values in range, the ends among them, are not listed.
  const std::vector<ZorFieldRange::Change>& changes = range.Changes();
  ASSERT_EQ(changes.size(), 4u);
  EXPECT_STREQ(changes[0].field, "below");
  EXPECT_EQ(changes[0].was, -4.0);
  EXPECT_EQ(changes[0].now, 0.0);
  EXPECT_STREQ(changes[1].field, "above");
  EXPECT_EQ(changes[1].now, 3.0);
  EXPECT_STREQ(changes[2].field, "district");
  EXPECT_EQ(changes[2].was, 300.0);
  EXPECT_STREQ(changes[3].field, "width");
}

TEST(FieldRange, FloatsThatAreNoNumberTakeTheValueOfTheRangeNearestZero) {
  const float nan = std::nanf(""), inf = std::numeric_limits<float>::infinity();
  ZorFieldRange range;
  float share = nan, price = nan, debt = nan, load = inf, low = -inf, fine = 0.5f;
  range.Hold(share, 0.0f, 1.0f, "share");      // 0 is in the range
  range.Hold(price, 0.5f, 2.0f, "price");      // the range lies above 0
  range.Hold(debt, -9.0f, -1.0f, "debt");      // the range lies below 0
  range.Hold(load, 0.0f, 100.0f, "load");      // infinite: the upper end
  range.Hold(low, -5.0f, 5.0f, "low");
  range.Hold(fine, 0.0f, 1.0f, "fine");
  float small = nan;
  range.Hold(small, -1.0f, 0.5f, "small");  // 0 lies inside, below the upper end
  EXPECT_EQ(small, 0.0f);
  EXPECT_EQ(share, 0.0f);
  EXPECT_EQ(price, 0.5f);
  EXPECT_EQ(debt, -1.0f);
  EXPECT_EQ(load, 100.0f);
  EXPECT_EQ(low, -5.0f);
  EXPECT_EQ(fine, 0.5f);
  double quote = std::nan("");
  range.Hold(quote, -1e300, 1e300, "quote");
  EXPECT_EQ(quote, 0.0);
  ASSERT_EQ(range.Changes().size(), 7u);
  EXPECT_TRUE(std::isnan(range.Changes()[0].was));
  EXPECT_STREQ(range.Changes()[6].field, "quote");
}

}  // namespace

// ---- writing --------------------------------------------------------------------

TEST(RecordWriter, EveryWidthIsLittleEndian) {
  RecordFile file;
  ZorRecordWriter out(file.f());
  WriteEveryWidth(out);
  EXPECT_TRUE(out.Ok());
  EXPECT_EQ(file.Bytes(), kEveryWidth);
}

TEST(RecordWriter, FixedStringsAreCutAndPaddedWithATerminatingNul) {
  RecordFile file;
  ZorRecordWriter out(file.f());
  out.FixedString("ABC", 6);
  out.FixedString("ABCDEFG", 4);  // cut to three characters and the NUL
  out.FixedString(nullptr, 2);
  out.FixedString("XYZ", 0);  // no field at all
  out.FixedString("", 1);
  out.FixedString(std::string(70, 'q').c_str(), 72);  // padding longer than one step
  EXPECT_TRUE(out.Ok());
  ByteList expected = {'A', 'B', 'C', 0, 0, 0, 'A', 'B', 'C', 0, 0, 0, 0};
  expected.insert(expected.end(), 70, 'q');
  expected.insert(expected.end(), 2, 0);
  EXPECT_EQ(file.Bytes(), expected);
}

TEST(RecordWriter, HeaderCountsTheNameFieldAndCutsLongNames) {
  RecordFile file;
  ZorRecordWriter out(file.f());
  out.Header("NoSaveData", 0);
  out.Header("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefgh", 0x01020304);  // 34 characters
  EXPECT_TRUE(out.Ok());
  const ByteList expected = {
      0x1E, 0, 0, 0, 'N', 'o', 'S', 'a', 'v', 'e', 'D', 'a', 't', 'a', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      0,    0, 0, 0,  // 4 + 30 bytes
      0x22, 0x03, 0x02, 0x01, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P', 'Q', 'R',
      'S', 'T', 'U', 'V', 'W', 'X', 'Y', 'Z', 'a', 'b', 'c', 0};
  EXPECT_EQ(file.Bytes(), expected);
}

TEST(RecordWriter, PayloadTooLongForTheLengthFieldFails) {
  RecordFile file;
  ZorRecordWriter out(file.f());
  out.Header("X", 0xFFFFFFFFu - 30);  // just fits
  EXPECT_TRUE(out.Ok());
  out.Header("X", 0xFFFFFFFFu - 29);
  EXPECT_FALSE(out.Ok());
  EXPECT_EQ(file.Bytes().size(), 34u);
}

TEST(RecordWriter, FailureIsStickyAndNullFilesFailAtOnce) {
  ZorRecordWriter none(nullptr);
  EXPECT_FALSE(none.Ok());
  none.U32(1);
  none.FixedString("A", 3);
  EXPECT_FALSE(none.Ok());

  // A file opened for reading refuses writes.
  zortest::WriteFile("ro.bin", "");
  FILE* f = std::fopen("ro.bin", "rb");
  ASSERT_NE(f, nullptr);
  ZorRecordWriter out(f);
  EXPECT_TRUE(out.Ok());
  out.U16(7);
  EXPECT_FALSE(out.Ok());
  std::fclose(f);

  // After a failure nothing more reaches the file.
  RecordFile file;
  ZorRecordWriter w(file.f());
  w.U8(1);
  w.Header("X", 0xFFFFFFFFu);
  w.U8(2);
  w.Bytes("abc", 3);
  w.F64(1.0);
  EXPECT_FALSE(w.Ok());
  EXPECT_EQ(file.Bytes(), ByteList{1});
}

// ---- reading --------------------------------------------------------------------

TEST(RecordReader, ReadsEveryWidthBack) {
  RecordFile file(kEveryWidth);
  ZorRecordReader in(file.f());
  EXPECT_EQ(in.Left(), kEveryWidth.size());
  const EveryWidth v = ReadEveryWidth(in);
  EXPECT_TRUE(in.Ok());
  EXPECT_EQ(v.u8, 0x12);
  EXPECT_EQ(v.u16, 0x3456);
  EXPECT_EQ(v.u32, 0x789ABCDEu);
  EXPECT_EQ(v.u64, 0x0102030405060708ull);
  EXPECT_EQ(v.i8, -2);
  EXPECT_EQ(v.i16, -3);
  EXPECT_EQ(v.i32, -4);
  EXPECT_EQ(v.i64, -5);
  EXPECT_EQ(v.f32, 1.5f);
  EXPECT_EQ(v.f64, -2.5);
  EXPECT_EQ(in.Left(), 0u);
}

TEST(RecordReader, TruncatedAtEveryByteFailsWithZeroesAndReadsNothingPastTheEnd) {
  for (size_t cut = 0; cut < kEveryWidth.size(); ++cut) {
    RecordFile file(ByteList(kEveryWidth.begin(), kEveryWidth.begin() + static_cast<long>(cut)));
    ZorRecordReader in(file.f());
    const EveryWidth v = ReadEveryWidth(in);
    EXPECT_FALSE(in.Ok()) << "cut at " << cut;
    EXPECT_EQ(in.Left(), 0u);
    EXPECT_LE(Position(file.f()), static_cast<long>(cut));
    // The last field always falls past the cut and reads as zero.
    EXPECT_EQ(v.f64, 0.0) << "cut at " << cut;
    if (cut < 1) {
      EXPECT_EQ(v.u8, 0);
    }
    if (cut < 7) {
      EXPECT_EQ(v.u32, 0u);
    }
  }
}

TEST(RecordReader, FailureIsStickyEvenWhenBytesFollow) {
  RecordFile file(ByteList{1, 2, 3});
  ZorRecordReader in(file.f());
  EXPECT_EQ(in.U32(), 0u);  // four bytes wanted, three there
  EXPECT_FALSE(in.Ok());
  EXPECT_EQ(Position(file.f()), 0);
  EXPECT_EQ(in.U8(), 0);  // one byte would be there
  EXPECT_EQ(in.U16(), 0);
  char text[3] = {'x', 'x', 'x'};
  EXPECT_FALSE(in.FixedString(text, 3));
  EXPECT_EQ(text[0], 0);
  EXPECT_FALSE(in.Skip(0));
  EXPECT_FALSE(in.Fits(0, 1));
  EXPECT_EQ(Position(file.f()), 0);
}

TEST(RecordReader, BytesAreZeroedOnFailure) {
  RecordFile file(ByteList{'a', 'b'});
  ZorRecordReader in(file.f());
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_FALSE(in.Bytes(buffer, 3));
  EXPECT_EQ(std::string(buffer, 4), std::string("\0\0\0x", 4));
}

TEST(RecordReader, FixedStringEndsWithNulEvenWhenTheFieldDoesNot) {
  RecordFile file(ByteList{'A', 'B', 'C', 'D', 'E', 'F', 0, 'Z'});
  ZorRecordReader in(file.f());
  char a[4];
  char b[4];
  EXPECT_TRUE(in.FixedString(a, 4));
  EXPECT_TRUE(in.FixedString(b, 4));
  EXPECT_STREQ(a, "ABC");
  EXPECT_STREQ(b, "EF");
  EXPECT_TRUE(in.FixedString(nullptr, 0));
  EXPECT_TRUE(in.Ok());
  EXPECT_EQ(in.Left(), 0u);
}

TEST(RecordReader, EmptyReadsReportTheErrorState) {
  RecordFile file(ByteList{7});
  ZorRecordReader in(file.f());
  EXPECT_TRUE(in.Bytes(nullptr, 0));
  EXPECT_EQ(in.U16(), 0);
  EXPECT_FALSE(in.Bytes(nullptr, 0));
}

TEST(RecordReader, EmptyStreamIsReadableUntilTheFirstByte) {
  char none[1] = {0};
  FILE* f = fmemopen(none, 0, "rb");
  ASSERT_NE(f, nullptr);
  ZorRecordReader in(f);
  EXPECT_TRUE(in.Ok());
  EXPECT_EQ(in.Left(), 0u);
  EXPECT_TRUE(in.Skip(0));
  EXPECT_EQ(in.U8(), 0);
  EXPECT_FALSE(in.Ok());
  std::fclose(f);
}

TEST(RecordReader, NullFileReadsZeroes) {
  ZorRecordReader in(nullptr);
  EXPECT_FALSE(in.Ok());
  EXPECT_EQ(in.Left(), 0u);
  EXPECT_EQ(in.U32(), 0u);
  EXPECT_EQ(in.F64(), 0.0);
  EXPECT_FALSE(in.Skip(0));
  EXPECT_FALSE(in.Fits(0, 4));
  char name[ZorRecordReader::kNameSize] = {'x'};
  uint32_t payload = 3;
  EXPECT_FALSE(in.Header(name, &payload));
  EXPECT_EQ(payload, 0u);
  EXPECT_EQ(name[0], 0);
}

TEST(RecordReader, OtherReadersOfTheFileAreAccountedFor) {
  RecordFile file(ByteList{1, 0, 2, 0, 3, 0});
  ZorRecordReader in(file.f());
  EXPECT_EQ(in.U16(), 1);
  // Someone else (an object of a list) reads its own data in between.
  ZorRecordReader other(file.f());
  EXPECT_EQ(other.U16(), 2);
  EXPECT_EQ(in.Left(), 2u);
  EXPECT_EQ(in.U16(), 3);
  EXPECT_EQ(in.U8(), 0);
  EXPECT_FALSE(in.Ok());
}

TEST(RecordReader, ReaderStartsAtTheCurrentPosition) {
  RecordFile file(ByteList{9, 9, 9, 0x44, 0x33, 0x22, 0x11});
  std::fseek(file.f(), 3, SEEK_SET);
  ZorRecordReader in(file.f());
  EXPECT_EQ(in.Left(), 4u);
  EXPECT_EQ(in.U32(), 0x11223344u);
  EXPECT_TRUE(in.Ok());
}

TEST(RecordReader, WorksOnMemoryStreams) {
  unsigned char bytes[] = {0x78, 0x56, 0x34, 0x12, 0xAA};
  FILE* f = fmemopen(bytes, sizeof bytes, "rb");
  ASSERT_NE(f, nullptr);
  ZorRecordReader in(f);
  EXPECT_EQ(in.Left(), 5u);
  EXPECT_EQ(in.U32(), 0x12345678u);
  EXPECT_EQ(in.U16(), 0);
  EXPECT_FALSE(in.Ok());
  std::fclose(f);
}

TEST(RecordReader, SkipStaysInsideTheBound) {
  RecordFile file(ByteList{1, 2, 3, 4, 5});
  ZorRecordReader in(file.f());
  EXPECT_TRUE(in.Skip(0));
  EXPECT_TRUE(in.Skip(1));
  EXPECT_EQ(in.U8(), 2);
  EXPECT_TRUE(in.Skip(1));
  EXPECT_TRUE(in.Skip(2));
  EXPECT_EQ(in.Left(), 0u);
  EXPECT_TRUE(in.Ok());
  EXPECT_FALSE(in.Skip(1));
  EXPECT_FALSE(in.Ok());
  EXPECT_EQ(Position(file.f()), 5);

  RecordFile two(ByteList{1, 2});
  ZorRecordReader past(two.f());
  EXPECT_FALSE(past.Skip(3));
  EXPECT_EQ(Position(two.f()), 0);
}

TEST(RecordReader, FitsChecksCountsWithoutOverflow) {
  RecordFile file(ByteList(12, 0));
  ZorRecordReader in(file.f());
  EXPECT_TRUE(in.Fits(2, 6));
  EXPECT_TRUE(in.Fits(12, 1));
  EXPECT_TRUE(in.Fits(0xFFFFFFFFu, 0));  // items without bytes always fit
  EXPECT_TRUE(in.Ok());
  EXPECT_FALSE(in.Fits(3, 5));
  EXPECT_FALSE(in.Ok());

  ZorRecordReader wide(file.f());
  // 2^61 items of 8 bytes wrap to 0 in 64 bits.
  EXPECT_FALSE(wide.Fits(uint64_t{1} << 61, 8));
  ZorRecordReader one(file.f());
  EXPECT_FALSE(one.Fits(13, 1));
}

// ---- record headers --------------------------------------------------------------

TEST(RecordReader, HeaderBoundsReadsToThePayload) {
  ByteList bytes = {0x22, 0, 0, 0, 'R', 'i', 'v', 'e', 'r'};
  bytes.resize(4 + 30, 0);
  for (uint8_t b : {0x0A, 0x0B, 0x0C, 0x0D, 0xEE}) bytes.push_back(b);
  RecordFile file(bytes);
  ZorRecordReader in(file.f());
  char name[ZorRecordReader::kNameSize];
  uint32_t payload = 99;
  ASSERT_TRUE(in.Header(name, &payload));
  EXPECT_STREQ(name, "River");
  EXPECT_EQ(payload, 4u);
  EXPECT_EQ(in.Left(), 4u);
  EXPECT_EQ(in.U32(), 0x0D0C0B0Au);
  // The byte after the record is there, but not inside the record.
  EXPECT_EQ(in.U8(), 0);
  EXPECT_FALSE(in.Ok());
  EXPECT_EQ(Position(file.f()), 38);
}

TEST(RecordReader, ReadsPastTheRecordByOthersLeaveNothing) {
  ByteList bytes = {0x1F, 0, 0, 0, 'R'};
  bytes.resize(34, 0);
  bytes.insert(bytes.end(), {0x11, 0x22, 0x33, 0x44});
  RecordFile file(bytes);
  ZorRecordReader in(file.f());
  char name[ZorRecordReader::kNameSize];
  uint32_t payload = 0;
  ASSERT_TRUE(in.Header(name, &payload));
  EXPECT_EQ(payload, 1u);
  // An object's own loader reads beyond the one-byte payload.
  ZorRecordReader object(file.f());
  EXPECT_EQ(object.U16(), 0x2211);
  EXPECT_EQ(in.Left(), 0u);
  EXPECT_EQ(in.U8(), 0);
  EXPECT_FALSE(in.Ok());
  EXPECT_EQ(Position(file.f()), 36);
}

TEST(RecordReader, HeaderNameFieldIsAlwaysTerminated) {
  ByteList bytes = {0x1E, 0, 0, 0};
  bytes.insert(bytes.end(), 30, 'N');
  RecordFile file(bytes);
  ZorRecordReader in(file.f());
  char name[ZorRecordReader::kNameSize];
  uint32_t payload = 1;
  ASSERT_TRUE(in.Header(name, &payload));
  EXPECT_EQ(std::string(name), std::string(29, 'N'));
  EXPECT_EQ(payload, 0u);
  EXPECT_EQ(in.Left(), 0u);
}

TEST(RecordReader, BadHeadersFailCleanly) {
  auto header = [](uint32_t length, size_t extra) {
    ByteList b = {static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length >> 16),
                  static_cast<uint8_t>(length >> 24), 'A', 'B'};
    b.resize(34 + extra, 0);
    return b;
  };
  auto read = [](const ByteList& bytes, char* name, uint32_t* payload) {
    RecordFile file(bytes);
    ZorRecordReader in(file.f());
    const bool ok = in.Header(name, payload);
    EXPECT_EQ(ok, in.Ok());
    EXPECT_LE(Position(file.f()), 34);
    return ok;
  };
  char name[ZorRecordReader::kNameSize];
  uint32_t payload = 5;
  EXPECT_TRUE(read(header(30, 0), name, &payload));
  EXPECT_TRUE(read(header(33, 3), name, &payload));
  EXPECT_EQ(payload, 3u);
  // Shorter than its own name field.
  EXPECT_FALSE(read(header(29, 10), name, &payload));
  EXPECT_EQ(payload, 0u);
  EXPECT_EQ(name[0], 0);
  // A payload beyond the file.
  EXPECT_FALSE(read(header(34, 3), name, &payload));
  EXPECT_FALSE(read(header(0xFFFFFFFFu, 3), name, &payload));
  // Truncated anywhere inside the header.
  const ByteList good = header(31, 1);
  for (size_t cut = 0; cut < 34; ++cut) {
    payload = 7;
    EXPECT_FALSE(read(ByteList(good.begin(), good.begin() + static_cast<long>(cut)), name, &payload)) << cut;
    EXPECT_EQ(payload, 0u);
    EXPECT_EQ(name[0], 0);
  }
}

TEST(RecordReader, HeaderInsideARecordIsBoundByIt) {
  // An outer record of 30 + 38 bytes holding an inner record that claims
  // more than the outer one has left.
  ByteList bytes = {0x44, 0, 0, 0, 'O'};
  bytes.resize(34, 0);
  const ByteList inner = {0x23, 0, 0, 0, 'I'};
  bytes.insert(bytes.end(), inner.begin(), inner.end());
  bytes.resize(34 + 38 + 10, 0);
  RecordFile file(bytes);
  ZorRecordReader in(file.f());
  char name[ZorRecordReader::kNameSize];
  uint32_t payload = 0;
  ASSERT_TRUE(in.Header(name, &payload));
  EXPECT_EQ(payload, 38u);
  EXPECT_FALSE(in.Header(name, &payload));  // 5 bytes wanted, 4 left in the outer record
}

// ---- whole files ------------------------------------------------------------------

TEST(WriteFile, WritesTheBytesAndReplacesAnOldFile) {
  zortest::WriteFile("out.txt", "an older and longer text");
  EXPECT_TRUE(ZorWriteFile("out.txt", "abc\0d", 5));
  EXPECT_EQ(zortest::ReadFile("out.txt"), std::string("abc\0d", 5));
  EXPECT_TRUE(ZorWriteFile("empty.txt", nullptr, 0));
  EXPECT_EQ(zortest::ReadFile("empty.txt"), "");
}

TEST(WriteFile, FailuresAreReportedAndLogged) {
  OpenErrorLog("errors.log");
  EXPECT_FALSE(ZorWriteFile("no/such/folder/out.txt", "x", 1));
  EXPECT_FALSE(ZorWriteFile(nullptr, "x", 1));
  CloseErrorLog();
  const std::string log = zortest::ReadFile("errors.log");
  EXPECT_NE(log.find("Unable to create no/such/folder/out.txt.new"), std::string::npos);
}

TEST(WriteFile, OnAFullDiskTheOldFileStaysWhole) {
  OpenErrorLog("errors.log");
  const std::string old = "KEEP=1\n";
  zortest::WriteFile("settings.txt", old);
  const std::string big(64 * 1024, 'x');
  {
    zortest::DiskLimit full(4096);
    EXPECT_FALSE(ZorWriteFile("settings.txt", big.data(), big.size()));
  }
  EXPECT_EQ(zortest::ReadFile("settings.txt"), old);
  EXPECT_FALSE(std::ifstream("settings.txt.new").good()) << "the part written is removed";
  // Room again: the write goes through and replaces the file whole.
  EXPECT_TRUE(ZorWriteFile("settings.txt", big.data(), big.size()));
  EXPECT_EQ(zortest::ReadFile("settings.txt"), big);
  CloseErrorLog();
  EXPECT_NE(zortest::ReadFile("errors.log").find("Unable to write settings.txt"), std::string::npos);
}

TEST(RecordReader, MemoryStreamsAreBoundedByTheirBytesAndShareTheirPosition) {
  const std::string bytes = std::string("\x01\x02\x03\x04\x05\x06", 6);
  ZorMemoryStream outer(bytes.data(), bytes.size());
  ASSERT_NE(outer.f(), nullptr);
  long size = 0;
  EXPECT_TRUE(ZorMemoryStream::SizeOf(outer.f(), size));
  EXPECT_EQ(size, 6);
  {
    // Readers one after another go on where the last one stopped, and the
    // bound holds for each.
    ZorRecordReader first(outer.f());
    EXPECT_EQ(first.U16(), 0x0201);
    EXPECT_EQ(first.Left(), 4u);
    ZorRecordReader second(outer.f());
    EXPECT_EQ(second.U8(), 3);
    EXPECT_TRUE(second.Skip(1));
    EXPECT_EQ(second.U32(), 0u) << "only two bytes are left";
    EXPECT_FALSE(second.Ok());
    ZorRecordReader third(outer.f());
    EXPECT_EQ(third.U16(), 0x0605);
    EXPECT_EQ(third.Left(), 0u);
    EXPECT_EQ(third.U8(), 0);
    EXPECT_FALSE(third.Ok());
  }
  // A second stream open at the same time keeps its own size; once closed,
  // its file is no memory stream any more.
  const std::string small = "ab";
  FILE* inner = nullptr;
  {
    ZorMemoryStream other(small.data(), small.size());
    inner = other.f();
    ASSERT_TRUE(ZorMemoryStream::SizeOf(inner, size));
    EXPECT_EQ(size, 2);
    ZorRecordReader in(inner);
    EXPECT_EQ(in.U16(), 0x6261);
    EXPECT_EQ(in.U8(), 0);
    EXPECT_FALSE(in.Ok());
  }
  EXPECT_TRUE(ZorMemoryStream::SizeOf(outer.f(), size));
  EXPECT_EQ(size, 6);
  EXPECT_FALSE(ZorMemoryStream::SizeOf(nullptr, size));
  ZorMemoryStream none(nullptr, 0);
  EXPECT_EQ(none.f(), nullptr);
  EXPECT_FALSE(ZorRecordReader(none.f()).Ok());
}

// Fields go straight into and out of a stream's buffer where it has the room
// or the bytes. Buffers of a few bytes put every buffer edge inside some
// field: the bytes written and the values read back stay the same, and a
// field cut by the end of a memory stream still takes nothing.
TEST(RecordCodec, FieldsAcrossTheStreamsBufferEdgesKeepTheirBytes) {
  for (size_t room : {size_t{1}, size_t{3}, size_t{5}, size_t{8}, size_t{13}, size_t{64}}) {
    std::string written;
    {
      RecordFile file;
      std::vector<char> buffer(room);
      ASSERT_EQ(std::setvbuf(file.f(), buffer.data(), _IOFBF, room), 0);
      ZorRecordWriter out(file.f());
      for (int i = 0; i < 3; ++i) {
        WriteEveryWidth(out);
        out.Header("RECORD", 7);
      }
      ASSERT_TRUE(out.Ok());
      std::fflush(file.f());
      const ByteList bytes = file.Bytes();
      written.assign(bytes.begin(), bytes.end());
    }
    std::string expected;
    for (int i = 0; i < 3; ++i) {
      expected.append(kEveryWidth.begin(), kEveryWidth.end());
      expected.append("\x25\0\0\0RECORD", 10);
      expected.append(24, '\0');
    }
    ASSERT_EQ(written, expected) << "buffer of " << room;

    ZorMemoryStream stream(written.data(), written.size() - 1);
    ASSERT_EQ(std::setvbuf(stream.f(), nullptr, _IOFBF, room), 0);
    ZorRecordReader in(stream.f());
    for (int i = 0; i < 3; ++i) {
      const EveryWidth v = ReadEveryWidth(in);
      EXPECT_EQ(v.u16, 0x3456) << room << " " << i;
      EXPECT_EQ(v.u64, 0x0102030405060708ull) << room << " " << i;
      EXPECT_EQ(v.i64, -5) << room << " " << i;
      EXPECT_EQ(v.f64, -2.5) << room << " " << i;
      EXPECT_EQ(in.U32(), 37u);
      char name[ZorRecordReader::kNameSize];
      // The last name field lacks its final byte: it fails and takes
      // nothing, so the bytes before it are still there.
      const bool whole = i < 2;
      EXPECT_EQ(in.Bytes(name, sizeof name), whole) << room;
      if (whole) {
        EXPECT_STREQ(name, "RECORD");
      }
    }
    EXPECT_FALSE(in.Ok());
    ZorRecordReader after(stream.f());
    EXPECT_EQ(after.Left(), ZorRecordReader::kNameSize - 1) << room;
  }
}
