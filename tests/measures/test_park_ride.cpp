// Park-and-ride: stations and their places, the user quote from the
// cause-effect network, the keys the windows set, and the records.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "framework/qno_log.h"
#include "framework/zor_record.h"
#include "measures/measure_test_host.h"
#include "measures/park_ride.h"
#include "support/test_support.h"

namespace {

constexpr auto At = MeasureTime;

constexpr auto Get = MeasureValue;

struct ParkRide : testing::Test {
  MeasureTestHost host;
  CParkRide pr;
  CBuildingParkRideObject a{&pr}, b{&pr}, c{&pr};
  void SetUp() override {
    CMeasureHost::Install(&host);
    pr.Create();
  }
  void TearDown() override { CMeasureHost::Install(nullptr); }
};

TEST_F(ParkRide, StationsCountTheirPlacesAndTheQuoteIsTheNetworksWhileTheyStand) {
  host.values["W.M2"] = 37.8;
  pr.OnPlayloopTurn(At(0.1f), At(0.0f));
  EXPECT_EQ(Get(pr, "PR.USERQUOTE"), 0);
  for (CBuildingParkRideObject* s : {&a, &b, &c}) ASSERT_EQ(pr.AddParkRide(s), 0);
  EXPECT_EQ(Get(pr, "PR.PLACES"), 120);
  EXPECT_EQ(Get(pr, "PR.NUMBER"), 3);
  EXPECT_EQ(Get(b, "PRPLACE.PLACES"), 50);
  EXPECT_EQ(pr.RemoveParkRide(&b), 0);
  EXPECT_EQ(pr.RemoveParkRide(&b), 1);  // held no more: nothing changes
  EXPECT_EQ(Get(pr, "PR.PLACES"), 80);
  EXPECT_EQ(pr.Stations(), 2);
  pr.OnPlayloopTurn(At(0.2f), At(0.1f));
  EXPECT_EQ(Get(pr, "PR.USERQUOTE"), 37);
  // A station without a location has no users and no lines.
  ParkRideDataType used;
  used.userQuote = 0.45f;
  used.lines = 2;
  a.SetData(&used);
  EXPECT_FLOAT_EQ(static_cast<float>(Get(a, "PRPLACE.PLACESUSERQUOTE")), 45.0f);
  pr.OnPlayloopTurn(At(0.3f), At(0.2f));
  EXPECT_EQ(Get(a, "PRPLACE.USERQUOTE"), 0.0);
  EXPECT_EQ(Get(a, "PRPLACE.LINIEN"), 0.0);
  // Only the price, the switches (bytes) and the message keys take values;
  // the price starts above what the window offers.
  float f = 0;
  EXPECT_EQ(pr.GetVarMax("PR.PRICE.HOUR", &f), 0);
  EXPECT_EQ(f, 2.0f);
  EXPECT_EQ(Get(pr, "PR.PRICE.HOUR"), 6.0f);
  EXPECT_EQ(pr.SetVarData("PR.ADTELEVISION", 300), 0);
  EXPECT_EQ(Get(pr, "PR.ADTELEVISION"), 255);
  EXPECT_EQ(pr.SetVarData("PR.PLACES", 500), 1);
  EXPECT_EQ(a.SetVarData("PRPLACE.INCOME", 5.0), 1);
  // The station window asks the measure with "PRPLACE." names.
  EXPECT_EQ(pr.SetVarData("PRPLACE.PRICE.HOUR", 1.5), 0);
  EXPECT_FLOAT_EQ(static_cast<float>(Get(pr, "PR.PRICE.HOUR")), 1.5f);
  EXPECT_EQ(pr.GetStep("PRPLACE.PRICE.HOUR", &f), 0);
  EXPECT_FLOAT_EQ(f, 0.1f);
  EXPECT_EQ(pr.SetVarData("PRPLACE.ADRADIO", 1), 0);
  EXPECT_EQ(Get(pr, "PRPLACE.ADRADIO"), 1);
  EXPECT_EQ(Get(pr, "PRPLACE.NUMBER"), 2);
  EXPECT_EQ(pr.GetList("PRPLACE.PLACELIST"), pr.GetList("PR.PLACELIST"));
  EXPECT_NE(pr.GetList("PRPLACE.PLACELIST"), nullptr);
  EXPECT_EQ(pr.SetVarData("PRPLACE.PLACES", 500), 1);
  // Its cars are the stations' car places, read only as they are.
  EXPECT_EQ(Get(pr, "PRPLACE.PKW"), 2 * CParkRide::kPlacesPerStation);
  EXPECT_EQ(pr.SetVarData("PRPLACE.PKW", 7), 1);
  double v = 0;
  EXPECT_EQ(pr.GetVarData("PR.PKW", &v), 1) << "the measure's own names have no cars";
}

TEST_F(ParkRide, TheRecordComesBackInBothFormsAndBadOnesAreRefused) {
  pr.AddParkRide(&a);
  pr.AddParkRide(&b);
  pr.SetVarData("PR.PRICE.HOUR", 1.2);
  pr.SetVarData("PR.ADMAGAZIN", 1);
  host.values["W.M2"] = 12;
  pr.OnPlayloopTurn(At(0.1f), At(0.0f));
  zortest::RecordFile file;
  ASSERT_EQ(pr.SerializeGameStore(file.f(), nullptr), 0);
  const zortest::ByteList bytes = file.Bytes();
  ASSERT_EQ(bytes.size(), 4u + 74u);
  EXPECT_STREQ(reinterpret_cast<const char*>(&bytes[4]), "ParkRide");
  EXPECT_EQ(bytes[34 + 33], 1);
  const zortest::ByteList payload(bytes.begin() + 34, bytes.end());

  zortest::Clock().Set(4321);
  CParkRide back;
  back.Create();
  zortest::RecordFile in(payload);
  ASSERT_EQ(back.SerializeGameLoad(in.f(), 44, 200), 0);
  EXPECT_FLOAT_EQ(back.Block().priceHour, 1.2f);
  EXPECT_EQ(back.Block().adMagazin, 1);
  // The re-created stations count their places again; the message pacing
  // starts now from the quote.
  back.AddParkRide(&c);
  EXPECT_EQ(back.Block().places, 40);
  EXPECT_EQ(back.Block().stations, 1);
  EXPECT_EQ(back.Block().messageTime, 4321);
  EXPECT_EQ(back.Block().messageQuote, 12.0f);
  CParkRide old;
  zortest::RecordFile shorter(zortest::ByteList(payload.begin(), payload.end() - 8));
  EXPECT_EQ(old.SerializeGameLoad(shorter.f(), 36, 149), 0);
  EXPECT_FLOAT_EQ(old.Block().priceHour, 1.2f);

  zortest::ByteList nan = payload;
  const float bad = std::nanf("");
  std::memcpy(&nan[0], &bad, 4);
  OpenErrorLog("errors.log");
  CParkRide other;
  zortest::RecordFile oldForm(payload), nanBlock(nan);
  EXPECT_EQ(other.SerializeGameLoad(oldForm.f(), 44, 149), 1);
  EXPECT_EQ(other.SerializeGameLoad(nanBlock.f(), 44, 200), 1);
  CloseErrorLog();
  EXPECT_EQ(other.Block().priceHour, 6.0f);
  EXPECT_EQ(zortest::ReadFile("errors.log"),
            "ParkRide: a record of 44 bytes is refused, 36 expected\n"
            "ParkRide: a savegame whose field 0 is no number is refused\n");
}

TEST(ParkRideStation, AStationRecordComesBackAndItsValuesAreHeldToTheirRanges) {
  CBuildingParkRideObject site(nullptr);
  CIsoRichtung dir(0);
  site.Create(OBJ_PARKRIDE, 33149, 1, 2, &dir, SIM_HEIGHT_ANY);
  ParkRideDataType station;
  station.district = 17;
  station.lineQuote = 3.5;
  station.userQuote = 0.75f;
  site.SetData(&station);
  zortest::RecordFile file;
  ASSERT_EQ(site.SerializeGameStore(file.f(), nullptr), 0);
  const zortest::ByteList all = file.Bytes();
  const zortest::ByteList payload(all.begin() + 34, all.end());
  ParkRideDataType back;
  zortest::RecordFile in(payload);
  ASSERT_EQ(CBuildingParkRideObject::SerializeGameLoad(in.f(), nullptr, nullptr, nullptr, &back, 190), 0);
  EXPECT_EQ(back.district, 17);
  EXPECT_EQ(back.lineQuote, 3.5);
  ZorFieldRange sound;
  back.HoldToRange(sound);
  EXPECT_TRUE(sound.Changes().empty());

  const struct {
    void (*spoil)(ParkRideDataType&);
    const char* field;
    double now;
  } cases[] = {
      {[](ParkRideDataType& d) { d.lines = -1; }, "line count", 0},
      {[](ParkRideDataType& d) { d.district = 300; }, "district", 256},
      {[](ParkRideDataType& d) { d.district = -2; }, "district", 0},
      {[](ParkRideDataType& d) { d.userQuote = std::nanf(""); }, "user quote", 0},
      {[](ParkRideDataType& d) { d.lineQuote = std::numeric_limits<double>::infinity(); }, "line quote",
       std::numeric_limits<double>::max()},
  };
  for (const auto& c : cases) zortest::HeldAlone(back, c.spoil, c.field, c.now);
  // A station record cut short is not read.
  zortest::RecordFile cut(zortest::ByteList(payload.begin(), payload.end() - 3));
  EXPECT_EQ(CBuildingParkRideObject::SerializeGameLoad(cut.f(), nullptr, nullptr, nullptr, &back, 190), 1);
}

}  // namespace
