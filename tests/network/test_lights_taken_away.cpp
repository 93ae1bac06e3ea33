// Lights taken from a crossing go with their pictures: back to right before
// left no pole or stop line of the lights stays on the crossing's cells,
// nor in the game saved then.
#include <gtest/gtest.h>

#include "junction_scene.h"
#include "support/test_support.h"

namespace {

using namespace junctiontest;

int LightPictures(World& w, int x, int y) {
  return LayersAround(w, x, y, CStrJunction::kAmpelResID) + LayersAround(w, x, y, CStrStrasse::kAmpelStopResID) +
         LayersAround(w, x, y, CStrStrasse::kAmpelStopWideResID);
}

TEST(LightsTakenAway, RightBeforeLeftLeavesNoLightPictureOnACrossingOrTJunction) {
  g_ZorLoadVersion = 240;
  for (int arms : {4, 3}) {
    SCOPED_TRACE(testing::Message() << arms << " arms");
    zortest::ByteList saved;
    {
      World w{GameData{}};
      ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
      ASSERT_EQ(w.Build(5, 20, 10, 20), STR_BUILD_OK);
      if (arms == 4) {
        ASSERT_EQ(w.Build(10, 20, 15, 20), STR_BUILD_OK);
      }
      CStrJunction* k = w.At(10, 20);
      ASSERT_NE(k, nullptr);
      ASSERT_EQ(k->GetAnzLinkedStreets(), arms);
      CKreuzObj* control = k->GetKreuzObject();
      ASSERT_NE(control, nullptr);
      ASSERT_EQ(LightPictures(w, 10, 20), 0);
      for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(control->SetVarData("KR.AMPEL", Ampel_Ampel), 0);
        ASSERT_TRUE(k->HasAmpel());
        // A pole and a stop line on every arm.
        EXPECT_EQ(LightPictures(w, 10, 20), 2 * arms);
        ASSERT_EQ(control->SetVarData("KR.AMPEL", Ampel_Rvl), 0);
        EXPECT_EQ(k->GetAmpelType(), Ampel_Rvl);
        EXPECT_EQ(k->GetAmpelGroup(), nullptr);
        EXPECT_EQ(LightPictures(w, 10, 20), 0);
      }
      zortest::RecordFile f;
      ASSERT_EQ(w.net->SerializeGameStore(f.f()), 0);
      saved = f.Bytes();
      // Asked for right before left directly, a junction with lights keeps
      // them, pictures and all; taking the control away removes both.
      ASSERT_EQ(control->SetVarData("KR.AMPEL", Ampel_Ampel), 0);
      k->SetAmpelData(Ampel_Rvl, 90, 0.5f);
      EXPECT_TRUE(k->HasAmpel());
      EXPECT_EQ(LightPictures(w, 10, 20), 2 * arms);
      ASSERT_EQ(k->RemoveAmpel(), 0);
      EXPECT_EQ(LightPictures(w, 10, 20), 0);
    }
    // Read back: right before left, nothing drawn, the same record.
    World loaded{GameData{}};
    zortest::RecordFile in(saved);
    ASSERT_EQ(loaded.net->SerializeGameLoad(in.f()), 0);
    CStrJunction* j = loaded.At(10, 20);
    ASSERT_NE(j, nullptr);
    EXPECT_EQ(j->GetAnzLinkedStreets(), arms);
    EXPECT_EQ(j->GetAmpelType(), Ampel_Rvl);
    EXPECT_EQ(j->GetAmpelGroup(), nullptr);
    EXPECT_EQ(LightPictures(loaded, 10, 20), 0);
    zortest::RecordFile again;
    ASSERT_EQ(loaded.net->SerializeGameStore(again.f()), 0);
    EXPECT_EQ(again.Bytes(), saved);
  }
  g_ZorLoadVersion = 0;
}

}  // namespace
