// The surrounding region: four towns that drift upward with the city and
// stay between an eighth and a quarter of it, their names and their record.
#include <gtest/gtest.h>

#include <string>

#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "measures/measure_test_host.h"
#include "measures/umland.h"
#include "support/test_support.h"

namespace {

class Umland : public ::testing::Test {
 protected:
  void SetUp() override {
    MeasureWorldHost::Install(&host);
    zor_srandom(17);
  }
  void TearDown() override { MeasureWorldHost::Install(nullptr); }
  MeasureWorldHost host;
  CUmland region;
};

double Town(CUmland& u, int i) {
  double v = -1;
  const std::string key = "UMLAND.CITY.PEOPLE." + std::to_string(i);
  EXPECT_EQ(u.GetVarData(key.c_str(), &v), 0) << key;
  return v;
}

}  // namespace

TEST_F(Umland, TownsFollowTheCityUpwardWithinAnEighthAndAQuarter) {
  for (int i = 0; i < 4; ++i) ASSERT_EQ(region.SetVarData(("UMLAND.CITY.PEOPLE." + std::to_string(i)).c_str(), 500), 0);
  region.OnPlayloopTurn(STime{}, STime{});
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Town(region, i), 0) << "a city of no one has no towns";

  host.people = 40000;
  double last[4] = {};
  bool drifted = false;
  for (int turn = 0; turn < 200; ++turn) {
    region.OnPlayloopTurn(STime{}, STime{});
    for (int i = 0; i < 4; ++i) {
      const double t = Town(region, i);
      ASSERT_GE(t, 5000);
      ASSERT_LE(t, 10000);
      ASSERT_GE(t, last[i]) << "the drift never lowers a town";
      drifted |= turn > 0 && t > last[i];
      last[i] = t;
    }
  }
  EXPECT_TRUE(drifted);
  // A shrinking city takes its towns down to a quarter of it.
  host.people = 20000;
  region.OnPlayloopTurn(STime{}, STime{});
  for (int i = 0; i < 4; ++i) EXPECT_LE(Town(region, i), 5000);
}

TEST_F(Umland, OnlyTheFourTownNamesAnswer) {
  ASSERT_EQ(region.SetVarData("UMLAND.CITY.PEOPLE.2", 1234), 0);
  EXPECT_EQ(Town(region, 2), 1234);
  double v = 0;
  for (const char* key : {"UMLAND.CITY.PEOPLE.4", "UMLAND.CITY.PEOPLE.", "UMLAND.CITY", "U.PEOPLE"}) {
    EXPECT_EQ(region.GetVarData(key, &v), 1) << key;
    EXPECT_EQ(region.SetVarData(key, 1.0), 1) << key;
  }
  float f = 0;
  EXPECT_EQ(region.GetStep("UMLAND.CITY.PEOPLE.0", &f), 1);
  EXPECT_EQ(region.GetVarMin("UMLAND.CITY.PEOPLE.0", &f), 1);
  EXPECT_EQ(region.GetVarMax("UMLAND.CITY.PEOPLE.0", &f), 1);
}

TEST_F(Umland, ALargeCityKeepsItsTownsAndTheRecordSaturates) {
  // A city of 400000: towns of 50000 and more, beyond 16 bits.
  host.people = 400000;
  region.OnPlayloopTurn(STime{}, STime{});
  for (int i = 0; i < 4; ++i) EXPECT_GE(Town(region, i), 50000);
  zortest::RecordFile file;
  ASSERT_EQ(region.SerializeGameStore(file.f(), nullptr), 0);
  const zortest::ByteList bytes = file.Bytes();
  ASSERT_EQ(bytes.size(), 4u + 38);
  EXPECT_EQ(bytes[0], 38);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[4])), "Umland");
  CUmland back;
  zortest::RecordFile payload(zortest::ByteList(bytes.begin() + 34, bytes.end()));
  ASSERT_EQ(back.SerializeGameLoad(payload.f(), 8, 240), 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Town(back, i), 32767) << "the record holds 16 bits at most";
  // The next turn brings the towns back to the city's size.
  back.OnPlayloopTurn(STime{}, STime{});
  for (int i = 0; i < 4; ++i) EXPECT_GE(Town(back, i), 50000);

  OpenErrorLog("umland-errors.log");
  CUmland refused;
  zortest::RecordFile longer(zortest::ByteList(bytes.begin() + 34, bytes.end()));
  EXPECT_EQ(refused.SerializeGameLoad(longer.f(), 10, 240), 1);
  CloseErrorLog();
  EXPECT_EQ(Town(refused, 0), 0);
  EXPECT_EQ(zortest::ReadFile("umland-errors.log"), "Umland: a record of 10 bytes is refused, 8 expected\n");
}
