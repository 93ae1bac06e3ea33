// The town's speed limit set by the council reaches every street of the
// network, and a raised limit gives every street back the speed it had.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>
#include <vector>

#include "model/stadt_verwaltung.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "world/town_fixture.h"

namespace {

using Ends = std::tuple<short, short, short, short>;

struct SpeedTown : towntest::Town {
  CStadtVerwaltung* sv = nullptr;
  // Each street's own speed, by its ends: faster than both limits, at the
  // default, between the limits and below both.
  std::map<Ends, double> own;
  void SetUp() override {
    Town::SetUp();
    // A street south from (63, 63), a fourth arm at (60, 63) and a wider
    // street on from (66, 63).
    ASSERT_EQ(Street(63, 63, 63, 70), STR_BUILD_OK);
    ASSERT_EQ(Street(60, 63, 56, 63), STR_BUILD_OK);
    CStrBuildLine wide(66, 63, 66, 70);
    ASSERT_EQ(world.GetStreetNet()->CreateStreet(&wide, STRASSE_2), STR_BUILD_OK);
    sv = world.GetStadtVerwaltung();
    ASSERT_NE(sv, nullptr);
    const double speeds[] = {17.0, -1.0, 13.0, 8.0, 2.0};
    int i = 0;
    for (CStrStrasse* s : Streets()) {
      const double v = speeds[i++ % 5];
      if (v > 0) s->SetVelocity(v);
      own[EndsOf(s)] = s->GetVelocity();
    }
    ASSERT_GE(own.size(), 5u);
  }
  static Ends EndsOf(CStrStrasse* s) {
    return {s->GetStartPosX(), s->GetStartPosY(), s->GetEndPosX(), s->GetEndPosY()};
  }
  // Every street runs at its own speed, or at the cap where that is lower.
  void ExpectCapped(double cap) {
    int n = 0;
    for (CStrStrasse* s : Streets()) {
      ASSERT_TRUE(own.count(EndsOf(s)));
      const double want = cap > 0 ? std::min(own[EndsOf(s)], cap) : own[EndsOf(s)];
      EXPECT_EQ(s->GetVelocity(), want) << "cap " << cap << " street " << std::get<0>(EndsOf(s)) << "/"
                                        << std::get<1>(EndsOf(s));
      EXPECT_EQ(s->GetVelocitySecond(), want);
      ++n;
    }
    EXPECT_EQ(n, static_cast<int>(own.size()));
  }
};

TEST_F(SpeedTown, EveryLimitCapsTheStreetsAndEveryRaiseGivesBackExactlyWhatItTook) {
  // 70 to 50 to 30, back to 50 (each street its own speed up to 50), 70,
  // and 30 to 70 at once.
  for (const auto& [town, cap] : {std::pair{50, 13.9}, {30, 8.0}, {50, 13.9}, {70, 0.0}, {30, 8.0}, {70, 0.0}}) {
    ASSERT_EQ(sv->SetVarData("SV.SPEED.TOWN", town), 0);
    EXPECT_EQ(sv->GetVarValue("SV.SPEED.TOWN"), town);
    ExpectCapped(cap);
  }
  // A speed chosen under the limit runs at it and comes back when it goes.
  sv->SetVarData("SV.SPEED.TOWN", 30);
  CStrStrasse* s = Streets().front();
  s->SetVelocity(17.0);
  own[EndsOf(s)] = 17.0;
  EXPECT_EQ(s->GetVelocity(), 8.0);
  sv->SetVarData("SV.SPEED.TOWN", 70);
  ExpectCapped(0.0);
}

TEST_F(SpeedTown, ALimitSavedAndLoadedIsRaisedAsIfTheGameHadGoneOn) {
  sv->SetVarData("SV.SPEED.TOWN", 30);
  ASSERT_EQ(world.SerializeGameStore("SaveGame/SPEED.GMD"), 0);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/SPEED.GMD"), 0);
  sv = world.GetStadtVerwaltung();
  EXPECT_EQ(sv->GetVarValue("SV.SPEED.TOWN"), 30.0);
  ExpectCapped(8.0);
  sv->SetVarData("SV.SPEED.TOWN", 50);
  ExpectCapped(13.9);
  // Saved under 50 and loaded twice: the limit is put on once, not twice.
  ASSERT_EQ(world.SerializeGameStore("SaveGame/SPEED.GMD"), 0);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/SPEED.GMD"), 0);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/SPEED.GMD"), 0);
  sv = world.GetStadtVerwaltung();
  ExpectCapped(13.9);
  sv->SetVarData("SV.SPEED.TOWN", 70);
  ExpectCapped(0.0);
}

TEST_F(SpeedTown, TheHalvesOfAStreetSplitUnderTheLimitGetItsSpeedBack) {
  sv->SetVarData("SV.SPEED.TOWN", 30);
  // The street from (60, 60) to (60, 63) is split at (60, 62).
  CStrStrasse* split = nullptr;
  for (CStrStrasse* s : Streets())
    if (EndsOf(s) == Ends{60, 60, 60, 63}) split = s;
  ASSERT_NE(split, nullptr);
  const double speed = own[EndsOf(split)];
  ASSERT_GT(speed, 8.0);
  ASSERT_EQ(Street(60, 62, 57, 62), STR_BUILD_OK);
  own.erase(Ends{60, 60, 60, 63});
  int halves = 0;
  for (CStrStrasse* s : Streets()) {
    if (own.count(EndsOf(s))) continue;
    // The new side street, built under the limit at its default speed.
    if (std::get<1>(EndsOf(s)) == 62 && std::get<3>(EndsOf(s)) == 62) {
      own[EndsOf(s)] = s->GetOwnVelocity();
      continue;
    }
    own[EndsOf(s)] = speed;
    ++halves;
  }
  EXPECT_EQ(halves, 2);
  ExpectCapped(8.0);
  sv->SetVarData("SV.SPEED.TOWN", 70);
  ExpectCapped(0.0);
}

}  // namespace
