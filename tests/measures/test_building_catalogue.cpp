// The building catalogue's lookups and scaling, and the capacity record as
// savegames hold it.
#include <gtest/gtest.h>

#include "framework/zor_record.h"
#include "framework/zor_seams.h"
#include "support/test_support.h"
#include "worldbase/building_catalogue.h"

namespace {

using zortest::ByteList;
using zortest::RecordFile;

PotentialType Row(int resId, int type, int w, int d, int variant = 1, int graphic = 1) {
  PotentialType p;
  p.resId = resId;
  p.objectType = type;
  p.size.width = static_cast<uint16_t>(w);
  p.size.depth = static_cast<uint16_t>(d);
  p.height = static_cast<uint16_t>(variant);
  p.graphic = graphic;
  return p;
}

struct Catalogue : testing::Test {
  void SetUp() override { CBuildingDataList::ClearRows(); }
  void TearDown() override { CBuildingDataList::ClearRows(); }
  void Add(const PotentialType& p) { ASSERT_EQ(CBuildingDataList::AddBuildingPotential(&p), 0); }
};

TEST_F(Catalogue, CapacitiesAreScaledAndTheOtherWordsCopiedOrCleared) {
  PotentialType p = Row(500, 8, 2, 2);
  p.first = 9;
  p.locationType = 4;
  p.SetWord(24, 100);  // homes
  p.SetWord(40, 100);  // parking: x 2.5 x 0.8
  p.SetWord(42, 100);  // the second parking word: x 2.5
  p.SetWord(60, 3);    // 7.5 is cut to 7
  p.SetWord(26, 55);   // copied as it is
  p.SetWord(52, 55);   // not copied
  p.carried = 77;      // not copied
  Add(p);
  const PotentialType* row = CBuildingDataList::GetPotentialByNr(0);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->Word(24), 250);
  EXPECT_EQ(row->Word(40), 200);
  EXPECT_EQ(row->Word(42), 250);
  EXPECT_EQ(row->Word(60), 7);
  EXPECT_EQ(row->Word(26), 55);
  EXPECT_EQ(row->Word(52), 0);
  EXPECT_EQ(row->carried, 0);
  EXPECT_EQ(row->first, 9);
  EXPECT_EQ(row->height, 1);
  EXPECT_EQ(row->locationType, 4);
  EXPECT_EQ(row->size.width, 2);
}

TEST_F(Catalogue, LookupsOutsideTheCatalogueFindNothing) {
  Add(Row(500, 8, 1, 1));
  for (int n : {-1, 1, 149, 1 << 30}) {
    EXPECT_EQ(CBuildingDataList::GetPotentialByNr(n), nullptr) << n;
    EXPECT_EQ(CBuildingDataList::GetBuildingResIDByListNr(n), 0) << n;
    EXPECT_FALSE(CBuildingDataList::IsTGV(n)) << n;
    EXPECT_EQ(CBuildingDataList::GetXSizeByNr(n, ISO_RICHTUNG_0), 0) << n;
  }
  EXPECT_EQ(CBuildingDataList::GetNrByResID(501), -1);
  EXPECT_EQ(CBuildingDataList::GetPotential(501), nullptr);
  EXPECT_EQ(CBuildingDataList::GetNrByResID(500), 0);
}

TEST_F(Catalogue, AFootprintFitsAnEntryTurnedAndTheVariantAndKindMustMatch) {
  Add(Row(600, 9, 3, 2, 1));
  Add(Row(601, 9, 3, 2, 2, 2));  // a single tile: never a fit
  Add(Row(602, 10, 2, 3, 1));    // another type
  zor_srandom(5);
  for (int i = 0; i < 20; ++i) {
    TIsoRichtung dir = ISO_RICHTUNG_1;
    int resId = -1;
    EXPECT_EQ(CBuildingDataList::GetNrByData(OBJ_OFFICE, 2, 3, 0, dir, resId), 0);
    EXPECT_EQ(dir, ISO_RICHTUNG_3);
    EXPECT_EQ(resId, 600);
    EXPECT_EQ(CBuildingDataList::GetNrByData(OBJ_OFFICE, 3, 2, 1, dir, resId), 0);
    EXPECT_EQ(dir, ISO_RICHTUNG_0);
  }
  TIsoRichtung dir = ISO_RICHTUNG_1;
  int resId = -1;
  EXPECT_EQ(CBuildingDataList::GetNrByData(OBJ_OFFICE, 3, 2, 2, dir, resId), -1);
  EXPECT_EQ(dir, ISO_RICHTUNG_0);
  EXPECT_EQ(resId, 0);
  EXPECT_EQ(CBuildingDataList::GetNrByData(OBJ_OFFICE, 3, 3, 0, dir, resId), -1);
}

TEST_F(Catalogue, RandomDrawsServeOnlyHomesOfficesAndIndustry) {
  Add(Row(700, 8, 1, 1));
  Add(Row(701, 13, 1, 1));
  zor_srandom(11);
  EXPECT_EQ(CBuildingDataList::GetNrByData(0, OBJ_SCHOOL, 0), -1);
  EXPECT_EQ(CBuildingDataList::GetNrByData(0, OBJ_OFFICE, 0), -1);  // none in the catalogue
  for (int i = 0; i < 20; ++i) EXPECT_EQ(CBuildingDataList::GetNrByData(0, OBJ_RESIDENTIAL, 0), 0);
  int index = 5;
  EXPECT_EQ(CBuildingDataList::GetRESidByData(0, OBJ_RESIDENTIAL, 0, 0, &index), 700);
  EXPECT_EQ(index, 0);
  // A wanted resource id that the draw does not give: nothing.
  EXPECT_EQ(CBuildingDataList::GetRESidByData(0, OBJ_RESIDENTIAL, 0, 2000, &index), 0);
  EXPECT_EQ(index, -1);
  CBuildingDataList::ClearRows();
  EXPECT_EQ(CBuildingDataList::GetNrByData(0, OBJ_RESIDENTIAL, 0), -1);
}

TEST_F(Catalogue, TheFirstEntryOfATypeAndVariant) {
  Add(Row(800, 12, 1, 1, 1));
  Add(Row(801, 12, 2, 2, 2));
  int index = 9;
  EXPECT_EQ(CBuildingDataList::GetBuildingResIDByType(OBJ_SHOPPING, 2, &index), 801);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(CBuildingDataList::GetBuildingResIDByType(OBJ_SHOPPING, 0, &index), 800);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(CBuildingDataList::GetBuildingResIDByType(OBJ_SHOPPING, 3, &index), 0);
  EXPECT_EQ(index, -1);
}

TEST_F(Catalogue, SizesWithoutGraphicsAreOneForATileAndNothingForAGroup) {
  Add(Row(900, 4, 1, 1, 1, 2));
  Add(Row(901, 8, 2, 3, 1, 1));
  CBuildingDataList::SetResourceManager(nullptr);
  EXPECT_EQ(CBuildingDataList::GetXSizeByNr(0, ISO_RICHTUNG_1), 1);
  EXPECT_EQ(CBuildingDataList::GetYSizeByNr(0, ISO_RICHTUNG_0), 1);
  EXPECT_EQ(CBuildingDataList::GetXSizeByNr(1, ISO_RICHTUNG_0), 0);
}

TEST(PotentialRecord, WritesSeventySixBytesWithAnEmptyTailAndReadsThemBack) {
  PotentialType p = Row(12345, 9, 2, 3, 2);
  p.first = 0xBEEF;
  p.locationType = 5;
  for (int offset = 24; offset < 68; offset += 2) p.SetWord(offset, static_cast<uint16_t>(offset * 3));
  p.carried = -7;
  RecordFile file;
  ASSERT_EQ(p.SerializeGameStore(file.f()), 0);
  const ByteList bytes = file.Bytes();
  ASSERT_EQ(bytes.size(), 76u);
  EXPECT_EQ(bytes[0], 0xEF);
  EXPECT_EQ(bytes[1], 0xBE);
  EXPECT_EQ(bytes[4], 12345 & 0xFF);
  EXPECT_EQ(bytes[20], 2);
  EXPECT_EQ(bytes[22], 3);
  EXPECT_EQ(bytes[60], (60 * 3) & 0xFF);
  for (int i = 72; i < 76; ++i) EXPECT_EQ(bytes[static_cast<size_t>(i)], 0) << i;
  std::rewind(file.f());
  ZorRecordReader in(file.f());
  PotentialType back;
  ASSERT_TRUE(back.Read(in));
  EXPECT_EQ(back.first, p.first);
  EXPECT_EQ(back.resId, 12345);
  EXPECT_EQ(back.locationType, 5);
  EXPECT_EQ(back.carried, -7);
  for (int offset = 24; offset < 68; offset += 2) EXPECT_EQ(back.Word(offset), p.Word(offset)) << offset;
}

TEST(PotentialRecord, AShortRecordIsRefusedAndLeavesTheTargetAsItWas) {
  ByteList bytes(75, 0x11);
  RecordFile file(bytes);
  ZorRecordReader in(file.f());
  PotentialType target = Row(42, 8, 1, 1);
  EXPECT_FALSE(target.Read(in));
  EXPECT_EQ(target.resId, 42);
  EXPECT_EQ(target.Word(24), 0);
}

}  // namespace
