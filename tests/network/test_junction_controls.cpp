// The lights and signs of a junction as its streets change: a junction with
// lights or signs takes a new arm into its control, one without control
// stays without, and a street dragged from a shifted dead end tells the
// preview where it starts.
#include <gtest/gtest.h>

#include "junction_scene.h"
#include "network/str_ampel.h"

namespace {

using namespace junctiontest;

// A T junction at (10, 20) of a street along x = 10 and an arm east.
CStrJunction* BuildT(World& w) {
  EXPECT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  EXPECT_EQ(w.Build(10, 20, 20, 20), STR_BUILD_OK);
  CStrJunction* j = w.At(10, 20);
  EXPECT_NE(j, nullptr);
  EXPECT_EQ(j ? j->GetAnzLinkedStreets() : 0, 3);
  return j;
}

TEST(JunctionControls, LightsTakeInAFourthArmWithItsLight) {
  World w{GameData{}};
  CStrJunction* j = BuildT(w);
  ASSERT_NE(j, nullptr);
  ASSERT_EQ(j->SetAmpelData(Ampel_Ampel, 80, 0.5f), 0);
  ASSERT_NE(j->GetAmpelGroup(), nullptr);
  EXPECT_EQ(LayersAround(w, 10, 20, CStrJunction::kAmpelResID), 3);
  // Each light stands at its stop line.
  EXPECT_EQ(LayersAround(w, 10, 20, CStrStrasse::kAmpelStopResID), 3);
  ASSERT_EQ(w.Build(0, 20, 10, 20), STR_BUILD_OK);
  ASSERT_EQ(w.At(10, 20), j);
  ASSERT_EQ(j->GetAnzLinkedStreets(), 4);
  EXPECT_EQ(j->GetAmpelType(), Ampel_Ampel);
  CStrStrasse* arm = w.StreetBetween(0, 20, 10, 20);
  ASSERT_NE(arm, nullptr);
  ASSERT_NE(j->GetAmpelGroup(), nullptr);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(j->GetAmpelGroup()->HasStreet(j->GetStreetByNR(i))) << i;
  EXPECT_EQ(LayersAround(w, 10, 20, CStrJunction::kAmpelResID), 4);
  EXPECT_EQ(LayersAround(w, 10, 20, CStrStrasse::kAmpelStopResID), 4);
}

TEST(JunctionControls, SignsStaySignsAndAJunctionWithoutControlStaysWithout) {
  for (bool signs : {true, false}) {
    SCOPED_TRACE(signs ? "signs" : "no control");
    World w{GameData{}};
    CStrJunction* j = BuildT(w);
    ASSERT_NE(j, nullptr);
    if (signs) {
      ASSERT_EQ(j->SetAmpelData(Ampel_Vorfahrt, 0, 0.0f), 0);
    }
    const int priority = LayersAround(w, 10, 20, CStrJunction::kVorfahrtResID);
    const int yield = LayersAround(w, 10, 20, CStrJunction::kWartepflichtResID);
    EXPECT_EQ(priority + yield, signs ? 3 : 0);
    ASSERT_EQ(w.Build(0, 20, 10, 20), STR_BUILD_OK);
    ASSERT_EQ(j->GetAnzLinkedStreets(), 4);
    EXPECT_EQ(j->GetAmpelType(), signs ? Ampel_Vorfahrt : Ampel_Rvl);
    EXPECT_FALSE(j->HasAmpel());
    EXPECT_EQ(LayersAround(w, 10, 20, CStrJunction::kAmpelResID), 0);
    EXPECT_EQ(LayersAround(w, 10, 20, CStrJunction::kVorfahrtResID) +
                  LayersAround(w, 10, 20, CStrJunction::kWartepflichtResID),
              signs ? 4 : 0);
  }
}

// A drag whose preview shifts the second dead end only: the preview is told
// the street starts at that end.
class SecondShift : public CStrBuildRequest {
 public:
  SecondShift(CStrJunction* end, short x1, short y1, short x2, short y2) : m_end(end), m_x1(x1), m_y1(y1), m_x2(x2), m_y2(y2) {}
  void GetStreetBuildRect(short* x1, short* y1, short* x2, short* y2) override {
    *x1 = m_x1;
    *y1 = m_y1;
    *x2 = m_x2;
    *y2 = m_y2;
  }
  bool DecStreetLength() override { return true; }
  void GetDecOffset(short* dx, short* dy) override {
    *dx = 0;
    *dy = -1;
  }
  CStrJunction* GetSecDecOffset() override { return m_end; }
  void StartAtJunction(CStrJunction* j) override { started = j; }
  CStrJunction* started = nullptr;

 private:
  CStrJunction* m_end;
  short m_x1, m_y1, m_x2, m_y2;
};

TEST(JunctionControls, ADragFromAShiftedSecondEndStartsAtThatEnd) {
  World w;
  ASSERT_EQ(w.Build(10, 10, 10, 20), STR_BUILD_OK);
  CStrJunction* end = w.At(10, 20);
  ASSERT_NE(end, nullptr);
  SecondShift drag(end, 10, 19, 20, 19);
  ASSERT_EQ(w.net->CreateStreet(&drag, STRASSE_1), STR_BUILD_OK);
  EXPECT_EQ(drag.started, end);
  EXPECT_NE(w.StreetBetween(10, 10, 20, 19), nullptr);
  EXPECT_EQ(w.net->JunctionsIndexedAt(10, 20), std::vector<CStrJunction*>{});
  ExpectConsistent(w);
}

}  // namespace
