#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "support/test_support.h"
#include "worldbase/zor_filter_icons.h"
#include "worldbase/zor_world_obj.h"

TEST(WorldObj, FreshAndCreatedState) {
  CWorldObj obj;
  EXPECT_EQ(obj.GetType(), OBJ_GROUND);
  EXPECT_TRUE(obj.IsVisible(0, 0));
  EXPECT_FALSE(obj.IsSoundVisible());
  EXPECT_EQ(obj.GetAllocCount(), 0);
  EXPECT_STREQ(obj.GetSoundName(), "");
  EXPECT_EQ(obj.GetFilterResID(), -1);
  EXPECT_FALSE(obj.IsFilter());
  obj.Create();
  EXPECT_EQ(obj.GetAllocCount(), 1);
  EXPECT_STREQ(obj.GetSoundName(), "Wind");
  EXPECT_EQ(obj.GetSoundPriority(), 2);
  EXPECT_STREQ(obj.GetTypeName(), "CWorldObj");
  EXPECT_EQ(obj.IsKindOf("CWorldObj"), 1);
}

TEST(WorldObj, UnknownNamesAreAnsweredWithOne) {
  CBaseObject ground;
  ground.Create();
  double v = 42.0;
  float f = 7.0f;
  char text[64] = "keep";
  EXPECT_EQ(ground.SetVarData("X.Y", 1.0), 1);
  EXPECT_EQ(ground.SetVarData("X.Y", "t"), 1);
  EXPECT_EQ(ground.GetVarData("X.Y", &v), 1);
  EXPECT_EQ(v, 42.0);
  EXPECT_EQ(ground.GetStep("X.Y", &f), 1);
  EXPECT_EQ(f, 0.0f);
  EXPECT_EQ(ground.SetStep("X.Y", 3.0f), 0);
  f = 7.0f;
  EXPECT_EQ(ground.GetVarMin("X.Y", &f), 1);
  EXPECT_EQ(ground.GetVarMax("X.Y", &f), 1);
  EXPECT_EQ(f, 7.0f);
  EXPECT_EQ(ground.GetVarData("X.Y", text), 1);
  EXPECT_STREQ(text, "keep");
  // An unregistered subclass answers with its registered ancestor.
  EXPECT_STREQ(ground.GetTypeName(), "CWorldObj");
}

TEST(WorldObj, SharedGroundCountsItsPlacements) {
  CBaseObject ground;
  for (int i = 0; i < 3; ++i) ground.Create();
  EXPECT_EQ(ground.GetAllocCount(), 3);
  EXPECT_EQ(ground.GetType(), OBJ_GROUND);
  ground.Destroy();
  EXPECT_EQ(ground.GetAllocCount(), 2);
}

TEST(WorldObj, CopyTakesKindFlagsSoundAndFilterButNotCount) {
  CWorldObj a;
  a.Create();
  a.SetType(OBJ_SCHOOL);
  a.SetSoundName("KINDER", 9);
  a.SetFilterResID(44123);
  a.SetSoundVisible(true);
  CWorldObj b;
  b.Create(a);
  EXPECT_EQ(b.GetType(), OBJ_SCHOOL);
  EXPECT_STREQ(b.GetSoundName(), "KINDER");
  EXPECT_EQ(b.GetFilterResID(), 44123);
  EXPECT_TRUE(b.IsSoundVisible());
  EXPECT_TRUE(b.IsFilter());
  EXPECT_EQ(b.GetAllocCount(), 0);
  EXPECT_EQ(b.GetSoundPriority(), 0);
}

TEST(WorldObj, HidingClearsSoundVisibility) {
  CWorldObj obj;
  obj.SetSoundVisible(true);
  obj.SetVisible(false, 0, 0);
  EXPECT_FALSE(obj.IsVisible(0, 0));
  EXPECT_FALSE(obj.IsSoundVisible());
  obj.SetVisible(true, 0, 0);
  EXPECT_FALSE(obj.IsSoundVisible());
}

TEST(WorldObj, LongSoundNamesAreCut) {
  CWorldObj obj;
  const std::string longName(100, 'S');
  EXPECT_EQ(std::strlen(obj.SetSoundName(longName.c_str(), 4)), 59u);
}

TEST(WorldObj, NoSaveDataRecordIsThirtyFourBytes) {
  zortest::RecordFile file;
  CWorldObj obj;
  ASSERT_EQ(obj.SerializeGameStore(file.f(), nullptr), 0);
  const zortest::ByteList expected = {0x1E, 0x00, 0x00, 0x00, 'N', 'o', 'S', 'a', 'v', 'e', 'D', 'a', 't', 'a', 0, 0, 0,
                                      0,    0,    0,    0,    0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0, 0, 0};
  EXPECT_EQ(file.Bytes(), expected);
  EXPECT_EQ(obj.SerializeGameStore(static_cast<FILE*>(nullptr)), 1);
  EXPECT_EQ(obj.SerializeGameStore(static_cast<FILE*>(nullptr), nullptr), 1);
}

TEST(WorldObj, RecordHeaderCountsThePayloadAndCutsTheName) {
  zortest::RecordFile file;
  ASSERT_EQ(CWorldObj::WriteRecordHeader(file.f(), "BUILDINGPARKINGOBJECT_WITH_A_LONG_TAIL", 0x0102), 0);
  ASSERT_EQ(CWorldObj::WriteRecordHeader(file.f(), nullptr, 0), 0);
  zortest::ByteList expected = {0x20, 0x01, 0x00, 0x00, 'B', 'U', 'I', 'L', 'D', 'I', 'N', 'G', 'P', 'A', 'R', 'K', 'I',
                                'N',  'G',  'O',  'B',  'J', 'E', 'C', 'T', '_', 'W', 'I', 'T', 'H', '_', 'A', '_', 0};
  expected.insert(expected.end(), {0x1E, 0x00, 0x00, 0x00});
  expected.insert(expected.end(), 30, 0);
  EXPECT_EQ(file.Bytes(), expected);
  // A file that takes no bytes fails the header.
  zortest::WriteFile("ro.bin", "");
  FILE* ro = std::fopen("ro.bin", "rb");
  ASSERT_NE(ro, nullptr);
  EXPECT_EQ(CWorldObj::WriteRecordHeader(ro, "X", 0), 1);
  std::fclose(ro);
}

TEST(FilterIcons, TableByKindAndFilter) {
  EXPECT_EQ(ZorFilterIconFor(OBJ_RESIDENTIAL, 1, true, false, 5), 44112);
  EXPECT_EQ(ZorFilterIconFor(OBJ_RESIDENTIAL, 2, false, true, 5), 44111);
  EXPECT_EQ(ZorFilterIconFor(OBJ_OFFICE, 1, true, true, 5), 44103);
  EXPECT_EQ(ZorFilterIconFor(OBJ_OFFICE, 0, true, false, 5), 44102);
  EXPECT_EQ(ZorFilterIconFor(OBJ_INDUSTRY, 0, false, true, 5), 44108);
  EXPECT_EQ(ZorFilterIconFor(OBJ_SHOPPING, 0, true, false, 5), 44122);
  EXPECT_EQ(ZorFilterIconFor(OBJ_SCHOOL, 0, true, false, 5), 44123);
  EXPECT_EQ(ZorFilterIconFor(OBJ_SPORTS, 0, false, true, 5), 44106);
  EXPECT_EQ(ZorFilterIconFor(OBJ_CARPARK_GARAGE, 0, true, false, 5), 44110);
  EXPECT_EQ(ZorFilterIconFor(OBJ_CARPARK_GARAGE, 0, false, true, 5), -1);
  EXPECT_EQ(ZorFilterIconFor(OBJ_TRAMSTOP, 0, true, false, 5), 44115);
  EXPECT_EQ(ZorFilterIconFor(OBJ_SPEED_CONTROL, 0, false, true, 5), -1);
  EXPECT_EQ(ZorFilterIconFor(OBJ_STREET_PIECE, 0, true, true, 5), 5);
  EXPECT_EQ(ZorFilterIconFor(OBJ_STREET_PIECE, 0, false, false, 5), -1);
  EXPECT_EQ(ZorFilterIconFor(OBJ_RESIDENTIAL, 1, false, false, 5), -1);
}
