#include <gtest/gtest.h>

#include <cstdio>

#include "iso/iso_river.h"
#include "support/test_support.h"

using zortest::ByteList;
using zortest::RecordFile;

namespace {

// A river made in the game, as the map places it.
struct River : CRiverObject {
  River(uint16_t x, uint16_t y, int direction, int resId) { Create(x, y, CIsoRichtung(direction), resId); }
};

// x 0x0102, y 0x0304, direction 3, resource id 0x11223344.
const ByteList kRiver = {0x02, 0x01, 0x04, 0x03, 0x03, 0x00, 0x00, 0x00, 0x44, 0x33, 0x22, 0x11};

}  // namespace

TEST(RiverRecord, TwelveBytesInFieldOrder) {
  RecordFile file;
  River river(0x0102, 0x0304, 3, 0x11223344);
  ASSERT_EQ(river.SerializeGameStore(file.f()), 0);
  EXPECT_EQ(file.Bytes(), kRiver);
  EXPECT_EQ(kRiver.size(), CRiverObject::kRecordSize);
  // A river without a tile keeps its -1.
  RecordFile none;
  CRiverObject fresh;
  ASSERT_EQ(fresh.SerializeGameStore(none.f()), 0);
  EXPECT_EQ(none.Bytes(), (ByteList{0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(RiverRecord, ReadsBackAndKeepsTheDirectionInRange) {
  RecordFile file(kRiver);
  CRiverObject river;
  ASSERT_EQ(river.SerializeGameLoad(file.f()), 0);
  EXPECT_EQ(river.GetX(), 0x0102);
  EXPECT_EQ(river.GetY(), 0x0304);
  EXPECT_EQ(river.GetRichtung(), 3);
  EXPECT_EQ(river.GetResID(), 0x11223344);
  EXPECT_EQ(std::ftell(file.f()), 12);

  // Only the two low bits of the stored direction count.
  ByteList turned = kRiver;
  turned[4] = 0x06;
  turned[7] = 0x80;
  file.Fill(turned);
  ASSERT_EQ(river.SerializeGameLoad(file.f()), 0);
  EXPECT_EQ(river.GetRichtung(), 2);

  // Store and load agree for values at the edges of their widths.
  RecordFile again;
  River edge(0xFFFF, 0, 1, -7);
  ASSERT_EQ(edge.SerializeGameStore(again.f()), 0);
  std::rewind(again.f());
  CRiverObject back;
  ASSERT_EQ(back.SerializeGameLoad(again.f()), 0);
  EXPECT_EQ(back.GetX(), 0xFFFF);
  EXPECT_EQ(back.GetY(), 0);
  EXPECT_EQ(back.GetRichtung(), 1);
  EXPECT_EQ(back.GetResID(), -7);
}

TEST(RiverRecord, TruncatedAtEveryByteChangesNothing) {
  for (size_t cut = 0; cut < kRiver.size(); ++cut) {
    RecordFile file(ByteList(kRiver.begin(), kRiver.begin() + static_cast<long>(cut)));
    River river(5, 6, 1, 77);
    EXPECT_EQ(river.SerializeGameLoad(file.f()), 1) << "cut at " << cut;
    EXPECT_EQ(river.GetX(), 5);
    EXPECT_EQ(river.GetY(), 6);
    EXPECT_EQ(river.GetRichtung(), 1);
    EXPECT_EQ(river.GetResID(), 77);
    EXPECT_LE(std::ftell(file.f()), static_cast<long>(cut));
  }
  CRiverObject river;
  EXPECT_EQ(river.SerializeGameLoad(nullptr), 1);
  EXPECT_EQ(river.SerializeGameStore(static_cast<FILE*>(nullptr)), 1);
}
