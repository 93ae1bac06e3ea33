// Car parks and parking management: places of the three sizes, prices and
// microcar places, the hour's money, the averages and shares, the price
// changes for every car park, and the records; microcar rental and the
// traffic displays.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "framework/qno_log.h"
#include "framework/zor_record.h"
#include "measures/miet_micro.h"
#include "measures/park_management.h"
#include "measures/traffic_display.h"
#include "model/data_exchange.h"
#include "support/test_support.h"

namespace {

using zortest::ByteList;
using zortest::RecordFile;

STime At(float fyear, int year = 0) {
  STime t;
  t.fyear = fyear;
  t.year = year;
  return t;
}

struct Parking : testing::Test {
  CParkManagement manager;
  std::vector<std::unique_ptr<CBuildingParkingObject>> parks;

  void SetUp() override { manager.Create(); }
  void TearDown() override { manager.Destroy(); }
  CBuildingParkingObject* Build(int size, short district = 18) {
    auto park = std::make_unique<CBuildingParkingObject>(&manager, static_cast<TObjectType>(OBJ_CARPARK_OPEN + size - 1));
    CIsoRichtung dir(0);
    park->Create(39431, 10, 10, &dir, SIM_HEIGHT_ANY, nullptr);
    park->SetDistrictID(district);
    EXPECT_EQ(manager.AddParking(park.get(), size, nullptr), 0);
    parks.push_back(std::move(park));
    return parks.back().get();
  }
  double Get(CWorldObj* o, const char* key) {
    double v = -99;
    EXPECT_EQ(o->GetVarData(key, &v), 0) << key;
    return v;
  }
};

TEST_F(Parking, NewCarParksOfEachSizeGetTheirPlacesNumbersAndDefaults) {
  CBuildingParkingObject* small = Build(1);
  CBuildingParkingObject* middle = Build(2);
  CBuildingParkingObject* large = Build(3);
  const struct {
    CBuildingParkingObject* park;
    int places, car, number, row;
  } rows[] = {{small, 60, 59, 1, 0}, {middle, 120, 119, 2, 1}, {large, 250, 249, 3, 2}};
  for (const auto& r : rows) {
    const ParkingDataType* p = r.park->GetParkingData();
    EXPECT_EQ(p->places, r.places);
    EXPECT_EQ(p->carPlaces, r.car);
    EXPECT_EQ(p->microcarPlaces, 0);  // places x 0.001 x 1.5 truncates to 0
    EXPECT_EQ(p->number, r.number);
    EXPECT_EQ(p->graphicRow, r.row);
    EXPECT_EQ(Get(r.park, "PH.PRICE"), 1.0);
    EXPECT_EQ(Get(r.park, "PH.PRICE.REDUCTIONMICROCAR"), 50.0);
    EXPECT_EQ(Get(r.park, "PH.PLS"), 0.0);
    EXPECT_EQ(Get(r.park, "PH.PRS"), 0.0);
    EXPECT_EQ(Get(r.park, "PH.NR"), r.number);
    EXPECT_EQ(Get(r.park, "BUILDING.TYPE"), OBJ_CARPARK_OPEN + r.row);
  }
  EXPECT_EQ(Get(&manager, "PRM.PLACES"), 430.0);
  EXPECT_EQ(manager.GetParkingCount(), 3);
  // A loaded car park keeps its own number and does not count its places
  // again: the saved block holds them.
  ParkingDataType saved = *large->GetParkingData();
  saved.number = 77;
  CBuildingParkingObject loaded(&manager, OBJ_CARPARK_GARAGE2);
  CIsoRichtung dir(0);
  loaded.Create(28031, 20, 20, &dir, SIM_HEIGHT_ANY, &saved);
  manager.AddParking(&loaded, 3, &saved);
  EXPECT_EQ(Get(&loaded, "PH.NR"), 77);
  EXPECT_EQ(Get(&manager, "PRM.PLACES"), 430.0);
  manager.RemoveParking(&loaded);
  manager.RemoveParking(small);
  EXPECT_EQ(Get(&manager, "PRM.PLACES"), 120.0);
  manager.RemoveParking(small);  // not listed any more: nothing changes
  EXPECT_EQ(Get(&manager, "PRM.PLACES"), 120.0);
}

TEST_F(Parking, MicrocarShareReductionPriceAndSystemsAsTheWindowSetsThem) {
  CBuildingParkingObject* park = Build(3);
  EXPECT_EQ(park->SetVarData("PH.PLACESQUOTEMICROCAR", 20.0), 0);
  EXPECT_EQ(park->GetParkingData()->carPlaces, 200);
  EXPECT_EQ(park->GetParkingData()->microcarPlaces, 75);
  EXPECT_EQ(Get(park, "PH.PLACESPKW"), 200.0);
  EXPECT_EQ(park->SetVarData("PH.PRICE", 3.0), 0);
  EXPECT_EQ(Get(park, "PH.PRICE"), 2.0);
  park->SetVarData("PH.PRICE", -1.0);
  EXPECT_EQ(Get(park, "PH.PRICE"), 0.0);
  park->SetVarData("PH.PRICE.REDUCTIONMICROCAR", 130.0);
  EXPECT_EQ(Get(park, "PH.PRICE.REDUCTIONMICROCAR"), 100.0);
  park->SetVarData("PH.PRICE", std::nan(""));
  EXPECT_EQ(Get(park, "PH.PRICE"), 0.0);
  // Switching guidance on twice costs twice; off costs nothing and gives
  // nothing back. The reservation system likewise.
  park->SetVarData("PH.PLS", 1.0);
  park->SetVarData("PH.PLS", 1.0);
  EXPECT_EQ(Get(park, "PH.EXPENSES"), 100000.0);
  park->SetVarData("PH.PLS", 0.0);
  EXPECT_EQ(Get(park, "PH.EXPENSES"), 100000.0);
  EXPECT_EQ(Get(park, "PH.PLS"), 0.0);
  park->SetVarData("PH.PRS", 1.0);
  EXPECT_EQ(Get(park, "PH.PRS"), 1.0);
  EXPECT_EQ(Get(park, "PH.EXPENSES"), 150000.0);
  EXPECT_EQ(park->SetVarData("PH.UNKNOWN", 1.0), 1);
  float v = 0;
  EXPECT_EQ(park->GetStep("PH.PRICE", &v), 0);
  EXPECT_FLOAT_EQ(v, 0.1f);
  EXPECT_EQ(park->GetVarMax("PH.PRICE", &v), 0);
  EXPECT_EQ(v, 2.0f);  // no host: the clamp's bound
  EXPECT_EQ(park->GetVarMax("PH.PLACESQUOTEMICROCAR", &v), 0);
  EXPECT_EQ(v, 100.0f);
}

TEST_F(Parking, AnHoursMoneyFollowsPricesLoadsAndSystems) {
  CBuildingParkingObject* park = Build(3);
  ParkingDataType& p = *park->GetParkingData();
  p.carPlaces = 100;
  p.microcarPlaces = 10;
  p.carLoad = 0.5f;
  p.microcarLoad = 1.0f;
  // A whole year at price 1: 50 cars and 10 microcars at half price.
  park->OnPlayloopTurn(At(1.0f), At(0.0f));
  EXPECT_EQ(p.income, (50 + 5) * CBuildingParkingObject::kPaidHoursPerYear);
  EXPECT_EQ(p.expenses, 75000 + 5000);
  // Dearer places earn more at the same load; a full reduction makes
  // microcars free.
  park->ResetBilanz();
  p.price = 2.0f;
  p.microcarReduction = 100.0f;
  park->OnPlayloopTurn(At(1.0f), At(0.0f));
  EXPECT_EQ(p.income, 100 * CBuildingParkingObject::kPaidHoursPerYear);
  // Guidance and reservation each make the upkeep dearer by 15 %.
  park->ResetBilanz();
  p.microcarPlaces = 0;
  p.guidanceOff = 0;
  p.reservationOff = 0;
  park->OnPlayloopTurn(At(1.0f), At(0.0f));
  EXPECT_EQ(p.expenses, 99187);
  // The display shows the load: 0.5 is the middle state of row 2.
  EXPECT_EQ(park->GetRESid(), CBuildingParkingObject::kDisplay[2][1]);
  p.carLoad = 0.9f;
  park->CalculateDarstellungFromUserQuote();
  EXPECT_EQ(park->GetRESid(), 27993);
  EXPECT_EQ(Get(park, "PH.AUSLASTUNG"), std::clamp(100.0 * 0.9f, 0.0, 100.0));
}

TEST_F(Parking, PriceChangesReachEveryCarParkWithinTheirBounds) {
  CBuildingParkingObject* a = Build(1);
  CBuildingParkingObject* b = Build(2);
  b->SetVarData("PH.PRICE", 1.9);
  EXPECT_EQ(manager.SetVarData("PRM.PRICE.CHANGEPKW", 10.7), 0);
  EXPECT_EQ(Get(&manager, "PRM.PRICE.CHANGEPKW"), 10.0);
  manager.SetVarData("PRM.PRICE.CHANGEPKW.OK", 0.0);
  EXPECT_FLOAT_EQ(a->GetParkingData()->price, 1.1f);
  EXPECT_FLOAT_EQ(b->GetParkingData()->price, 2.0f);
  EXPECT_EQ(Get(&manager, "PRM.PRICE.CHANGEPKW"), 0.0);
  manager.SetVarData("PRM.PRICE.CHANGEPKW", -100.0);
  manager.SetVarData("PRM.PRICE.CHANGEPKW.OK", 0.0);
  EXPECT_EQ(a->GetParkingData()->price, 0.0f);
  manager.SetVarData("PRM.PRICE.CHANGEMICROCAR", -70.0);
  manager.SetVarData("PRM.PRICE.CHANGEMICROCAR.OK", 0.0);
  EXPECT_EQ(a->GetParkingData()->microcarReduction, 0.0f);
  float v = 0;
  EXPECT_EQ(manager.GetVarMin("PRM.PRICE.CHANGEPKW", &v), 0);
  EXPECT_EQ(v, -100.0f);
  EXPECT_EQ(manager.GetVarMax("PRM.CENTER.PRICE.SHORTTIME", &v), 0);
  EXPECT_EQ(v, 7.0f);
  EXPECT_EQ(manager.GetStep("PRM.OUTSKIRTS.PRICE.LONGTIME", &v), 0);
  EXPECT_FLOAT_EQ(v, 0.1f);
  EXPECT_EQ(manager.SetVarData("PRM.PLACES", 5.0), 1);
}

TEST_F(Parking, TheTurnSumsSharesAveragesAndNeverDividesByZero) {
  // No car parks: nothing is divided by zero and the averages are numbers.
  manager.OnPlayloopTurn(At(0.1f), At(0.0f));
  for (const char* key : {"PRM.PRICE.PKW", "PRM.PRICE.MICROCAR", "PRM.USERQUOTE", "PRM.QUOTEPLS", "PRM.USERQUOTE.PKW"})
    EXPECT_EQ(Get(&manager, key), 0.0) << key;
  CBuildingParkingObject* a = Build(1);
  CBuildingParkingObject* b = Build(3);
  b->SetVarData("PH.PRS", 1.0);
  a->GetParkingData()->carLoad = 1.0f;
  manager.OnPlayloopTurn(At(0.1f), At(0.0f));
  // No car park has microcar places: the average microcar price is 0.
  EXPECT_EQ(Get(&manager, "PRM.PRICE.MICROCAR"), 0.0);
  EXPECT_FALSE(std::isnan(Get(&manager, "PRM.PRICE.MICROCAR")));
  EXPECT_FLOAT_EQ(Get(&manager, "PRM.QUOTERESERVATION"), 250.0 / 310.0);
  EXPECT_EQ(Get(&manager, "PRM.QUOTEPLS"), 0.0);
  EXPECT_FLOAT_EQ(Get(&manager, "PRM.USERQUOTE"), 100.0 * 59 / 308);
  b->SetVarData("PH.PLACESQUOTEMICROCAR", 20.0);
  b->SetVarData("PH.PRICE", 2.0);
  manager.OnPlayloopTurn(At(0.2f), At(0.1f));
  EXPECT_FLOAT_EQ(Get(&manager, "PRM.PRICE.MICROCAR"), 1.0);  // 2.0 less 50 %
  EXPECT_FLOAT_EQ(Get(&manager, "PRM.PRICE.PKW"), (59 * 1.0 + 200 * 2.0) / 259);
  EXPECT_EQ(Get(&manager, "PRM.INCOME"), a->GetParkingData()->income + b->GetParkingData()->income);
  EXPECT_EQ(Get(&manager, "PRM.EXPENSES"), a->GetParkingData()->expenses + b->GetParkingData()->expenses);
  // The year closes once: the balance moves to last year, all money to 0.
  const double balance = Get(&manager, "PRM.BILANZ");
  manager.ResetYearData(At(1.0f, 1), At(1.0f, 1));
  EXPECT_EQ(Get(&manager, "PRM.BILANZ"), balance);
  manager.ResetYearData(At(1.0f, 1), At(0.9f, 0));
  EXPECT_EQ(Get(&manager, "PRM.LASTYEAR.BILANZ"), balance);
  EXPECT_EQ(Get(&manager, "PRM.INCOME"), 0.0);
  EXPECT_EQ(b->GetParkingData()->expenses, 0);
}

TEST_F(Parking, TheDemandModelWalksEveryCarParksRecordOnce) {
  Build(1);
  Build(2);
  std::vector<int> numbers;
  manager.SimSetupParkingDataCount();
  while (ParkingDataType* p = manager.SimGetNextParkingData()) numbers.push_back(p->number);
  EXPECT_EQ(numbers, (std::vector<int>{2, 1}));
  EXPECT_EQ(manager.GetList("PRM.PLACELIST")->GetCount(), 2);
  EXPECT_NE(manager.GetList("PRM.DISPLAYLIST"), nullptr);
  EXPECT_EQ(manager.GetList("PRM.OTHER"), nullptr);
}

// The management's record after the length and name, as the container
// hands it on.
ByteList Payload(CParkManagement& m) {
  RecordFile file;
  char name[] = "ParkManagement";
  EXPECT_EQ(m.SerializeGameStore(file.f(), name), 0);
  ByteList bytes = file.Bytes();
  EXPECT_EQ(bytes.size(), 4u + CParkManagement::kRecordLength);
  uint32_t length = 0;
  std::memcpy(&length, bytes.data(), 4);
  EXPECT_EQ(length, 136u);
  return ByteList(bytes.begin() + 34, bytes.end());
}

TEST_F(Parking, TheManagementsRecordComesBackAndBadRecordsAreRefusedWithALogLine) {
  Build(3)->SetVarData("PH.PLACESQUOTEMICROCAR", 20.0);
  Build(1)->SetVarData("PH.PRS", 1.0);
  manager.OnPlayloopTurn(At(0.5f), At(0.0f));
  ByteList payload = Payload(manager);
  CParkManagement back;
  RecordFile good(payload);
  ASSERT_EQ(back.SerializeGameLoad(good.f()), 0);
  for (const char* key : {"PRM.PLACES", "PRM.PLACES.MICROCAR", "PRM.EXPENSES", "PRM.PRICE.PKW", "PRM.QUOTERESERVATION",
                          "PRM.USERQUOTE", "PRM.LASTYEAR.BILANZ"})
    EXPECT_EQ(Get(&back, key), Get(&manager, key)) << key;
  EXPECT_EQ(Payload(back), payload);

  OpenErrorLog("errors.log");
  CParkManagement other;
  ByteList noMark = payload;
  noMark[80] = 'X';
  ByteList nan = payload;
  const float bad = std::nanf("");
  std::memcpy(&nan[28], &bad, 4);
  ByteList zeroNumber = payload;
  std::memset(&zeroNumber[56], 0, 4);
  for (const ByteList& bytes : {ByteList(payload.begin(), payload.end() - 1), noMark, nan, zeroNumber}) {
    RecordFile f(bytes);
    EXPECT_EQ(other.SerializeGameLoad(f.f()), 1);
  }
  CloseErrorLog();
  EXPECT_EQ(Get(&other, "PRM.PLACES"), 0.0);
  const std::string log = zortest::ReadFile("errors.log");
  EXPECT_NE(log.find("cut short"), std::string::npos);
  EXPECT_NE(log.find("end mark"), std::string::npos);
  EXPECT_NE(log.find("out of range"), std::string::npos);
}

TEST_F(Parking, ACarParksRecordComesBackAndValuesOutOfRangeAreHeldToTheirRanges) {
  CBuildingParkingObject* park = Build(2);
  park->SetVarData("PH.PLACESQUOTEMICROCAR", 10.0);
  park->GetParkingData()->carLoad = 0.25f;
  RecordFile file;
  ASSERT_EQ(park->SerializeGameStore(file.f(), nullptr), 0);
  EXPECT_EQ(file.Bytes().size(), 4u + CBuildingObject::kRecordLength + ParkingDataType::kRecordSize);
  std::rewind(file.f());
  ZorRecordReader header(file.f());
  header.U32();
  char name[31] = {};
  header.Bytes(name, 30);
  EXPECT_STREQ(name, "BuildingParkingObject");
  BuildingDataType data;
  ParkingDataType back;
  short district = 0;
  ASSERT_EQ(CBuildingParkingObject::SerializeGameLoad(file.f(), &data, nullptr, &district, &back), 0);
  EXPECT_TRUE(back == *park->GetParkingData());
  ZorFieldRange sound;
  back.HoldToRange(sound);
  EXPECT_TRUE(sound.Changes().empty());
  EXPECT_TRUE(back == *park->GetParkingData());

  // An overfull car park, as the demand model leaves it when its last
  // round placed more than its places, is in range.
  {
    ParkingDataType overfull = back;
    overfull.carLoad = 1.84f;
    overfull.carPlacesUsed = overfull.carPlaces * 2;
    ZorFieldRange range;
    overfull.HoldToRange(range);
    EXPECT_TRUE(range.Changes().empty());
    EXPECT_EQ(overfull.carLoad, 1.84f);
  }
  // So is a car park without any places, in the first graphic row, with
  // guidance on.
  {
    ParkingDataType empty = back;
    empty.places = empty.carPlaces = empty.microcarPlaces = 0;
    empty.graphicRow = 0;
    empty.guidanceOff = 0;
    ZorFieldRange range;
    empty.HoldToRange(range);
    EXPECT_TRUE(range.Changes().empty());
  }
  // Places below 0 become none, and the car and microcar places with them.
  {
    ParkingDataType p = back;
    p.places = -5;
    ZorFieldRange range;
    p.HoldToRange(range);
    EXPECT_EQ(p.places, 0);
    EXPECT_EQ(p.carPlaces, 0);
    EXPECT_EQ(p.microcarPlaces, 1);
    ASSERT_EQ(range.Changes().size(), 3u);
    EXPECT_STREQ(range.Changes()[0].field, "places");
  }
  // Each value out of its range becomes the nearer end (a number that is
  // none the end nearest 0), and only that field changes.
  const struct {
    void (*spoil)(ParkingDataType&);
    const char* field;
    double now;
    float ParkingDataType::*floatField;
    int32_t ParkingDataType::*intField;
  } cases[] = {
      {[](ParkingDataType& p) { p.districtId = 0; }, "district id", 1, nullptr, nullptr},
      {[](ParkingDataType& p) { p.districtId = 257; }, "district id", 256, nullptr, nullptr},
      {[](ParkingDataType& p) { p.sizeClass = 4; }, "size class", 3, nullptr, &ParkingDataType::sizeClass},
      {[](ParkingDataType& p) { p.sizeClass = 0; }, "size class", 1, nullptr, &ParkingDataType::sizeClass},
      {[](ParkingDataType& p) { p.price = std::nanf(""); }, "price", 0, &ParkingDataType::price, nullptr},
      {[](ParkingDataType& p) { p.price = 2.5f; }, "price", 2, &ParkingDataType::price, nullptr},
      {[](ParkingDataType& p) { p.carPlaces = -1; }, "car places", 0, nullptr, &ParkingDataType::carPlaces},
      // 108 car places leave 13 places, 19.5 microcar places.
      {[](ParkingDataType& p) { p.microcarPlaces = 40; }, "microcar places", 19, nullptr,
       &ParkingDataType::microcarPlaces},
      {[](ParkingDataType& p) { p.carPlacesUsed = -3; }, "car places in use", 0, nullptr,
       &ParkingDataType::carPlacesUsed},
      {[](ParkingDataType& p) { p.carLoad = std::nanf(""); }, "car load", 0, &ParkingDataType::carLoad, nullptr},
      {[](ParkingDataType& p) { p.carLoad = -0.5f; }, "car load", 0, &ParkingDataType::carLoad, nullptr},
      {[](ParkingDataType& p) { p.microcarLoad = 1.5f; }, "microcar load", 1, &ParkingDataType::microcarLoad,
       nullptr},
      {[](ParkingDataType& p) { p.microcarReduction = 150.0f; }, "microcar reduction", 100,
       &ParkingDataType::microcarReduction, nullptr},
      {[](ParkingDataType& p) { p.microcarShare = -1.0f; }, "microcar share", 0, &ParkingDataType::microcarShare,
       nullptr},
      {[](ParkingDataType& p) { p.microcarPrice = -std::numeric_limits<float>::infinity(); }, "microcar price", 0,
       &ParkingDataType::microcarPrice, nullptr},
      {[](ParkingDataType& p) { p.guidanceOff = 7; }, "guidance flag", 1, nullptr, &ParkingDataType::guidanceOff},
      {[](ParkingDataType& p) { p.reservationOff = -2; }, "reservation flag", 0, nullptr,
       &ParkingDataType::reservationOff},
      {[](ParkingDataType& p) { p.reservationOff = 2; }, "reservation flag", 1, nullptr,
       &ParkingDataType::reservationOff},
      {[](ParkingDataType& p) { p.microcarPlacesUsed = -1; }, "microcar places in use", 0, nullptr,
       &ParkingDataType::microcarPlacesUsed},
      {[](ParkingDataType& p) { p.graphicRow = 3; }, "graphic row", 2, nullptr, &ParkingDataType::graphicRow},
  };
  ASSERT_EQ(back.places, 120);
  ASSERT_EQ(back.carPlaces, 108);
  for (const auto& c : cases) {
    const ParkingDataType p = zortest::HeldAlone(back, c.spoil, c.field, c.now);
    if (c.floatField) {
      EXPECT_EQ(p.*c.floatField, c.now) << c.field;
    }
    if (c.intField) {
      EXPECT_EQ(p.*c.intField, c.now) << c.field;
    }
    // The other fields keep their values.
    ParkingDataType expected = back;
    if (c.floatField) expected.*c.floatField = p.*c.floatField;
    if (c.intField) expected.*c.intField = p.*c.intField;
    if (!c.floatField && !c.intField) expected.districtId = p.districtId;
    EXPECT_TRUE(p == expected) << c.field;
  }
  // Car places beyond the places are held to them, and the microcar
  // places to what is then left.
  {
    ParkingDataType p = back;
    p.carPlaces = p.places + 10;
    ZorFieldRange range;
    p.HoldToRange(range);
    EXPECT_EQ(p.carPlaces, 120);
    EXPECT_EQ(p.microcarPlaces, 1);
    ASSERT_EQ(range.Changes().size(), 2u);
    EXPECT_STREQ(range.Changes()[0].field, "car places");
    EXPECT_STREQ(range.Changes()[1].field, "microcar places");
  }
  // A record cut short is not read.
  ByteList bytes = file.Bytes();
  RecordFile cut(ByteList(bytes.begin() + 34, bytes.end() - 2));
  EXPECT_EQ(CBuildingParkingObject::SerializeGameLoad(cut.f(), &data, nullptr, &district, &back), 1);
}

TEST(MicrocarRental, KeysRecordAndWhatCannotBeSet) {
  CMietMicro rental;
  double v = 0;
  EXPECT_EQ(rental.GetVarData("MS.PRICE.HOUR", &v), 0);
  EXPECT_EQ(v, 2.0);
  EXPECT_EQ(rental.SetVarData("MS.ADRADIO", 1.0), 0);
  EXPECT_EQ(rental.SetVarData("MS.PRICE.HOUR", 1.5), 0);
  EXPECT_EQ(rental.SetVarData("MS.NUMBER", 4.0), 1);
  EXPECT_EQ(rental.SetVarData("MS.USER", 4.0), 1);
  EXPECT_EQ(rental.GetBlock().expenses, 0);  // the radio costs nothing
  EXPECT_EQ(rental.GetBlock().adRadio, 1);
  float step = 0;
  EXPECT_EQ(rental.GetStep("MS.PRICE.HOUR", &step), 0);
  EXPECT_FLOAT_EQ(step, 0.05f);
  EXPECT_EQ(rental.GetStep("MS.ADRADIO", &step), 1);

  RecordFile file;
  char name[] = "MietMicro";
  ASSERT_EQ(rental.SerializeGameStore(file.f(), name), 0);
  ByteList bytes = file.Bytes();
  ASSERT_EQ(bytes.size(), 70u);
  bytes[34 + 12] = 6;  // six rental points
  CMietMicro back;
  RecordFile payload(ByteList(bytes.begin() + 34, bytes.end()));
  ASSERT_EQ(back.SerializeGameLoad(payload.f()), 0);
  double number = 0, quote = 0;
  back.GetVarData("MS.NUMBER", &number);
  back.GetVarData("MS.USERQUOTE", &quote);
  EXPECT_EQ(number, 6.0);
  EXPECT_EQ(quote, number);
  EXPECT_EQ(back.GetBlock().priceHour, 1.5f);
  EXPECT_EQ(back.GetBlock().adRadio, 1);
}

TEST(TrafficDisplays, KeysRecordAndNothingSettable) {
  CTrafficDisplay displays;
  displays.Create();
  EXPECT_NE(displays.GetDisplayList(), nullptr);
  double v = -1;
  for (const char* key : {"TDISPLAY.NUMBER", "TDISPLAY.QUOTE", "TDISPLAY.EXPENSES"}) {
    EXPECT_EQ(displays.GetVarData(key, &v), 0) << key;
    EXPECT_EQ(v, 0.0);
    EXPECT_EQ(displays.SetVarData(key, 3.0), 1) << key;
    float f = 0;
    EXPECT_EQ(displays.GetStep(key, &f), 1);
  }
  RecordFile file;
  char name[] = "TrafficDisplay";
  ASSERT_EQ(displays.SerializeGameStore(file.f(), name), 0);
  ByteList bytes = file.Bytes();
  ASSERT_EQ(bytes.size(), 46u);
  bytes[34 + 4] = 9;
  CTrafficDisplay back;
  RecordFile payload(ByteList(bytes.begin() + 34, bytes.end()));
  ASSERT_EQ(back.SerializeGameLoad(payload.f()), 0);
  EXPECT_EQ(back.GetBlock().quote, 9);
  // The data exchange hands the displays' names to the owner of "TD.".
  CDataExchange dx;
  ASSERT_EQ(dx.RegisterOwner("TD.", &back), 0);
  EXPECT_EQ(dx.GetVarValue("TDISPLAY.QUOTE"), 9.0);
  EXPECT_EQ(dx.GetObjectByName("TDISPLAY.NUMBER"), &back);
  EXPECT_EQ(dx.GetObjectByName("TDISPLAYQUOTE"), nullptr);
  displays.Destroy();
  EXPECT_EQ(displays.GetDisplayList(), nullptr);
}

TEST(TrafficDisplays, ASignIsListedAndCountedOnceAndLeavesOnlyWhenListed) {
  // The signs outlive the list that names them.
  CSecondLayerObject a, b;
  CTrafficDisplay displays;
  // Before Create a sign makes the list itself.
  EXPECT_EQ(displays.AddDisplay(nullptr), 1);
  ASSERT_EQ(displays.AddDisplay(&a), 0);
  ASSERT_NE(displays.GetDisplayList(), nullptr);
  EXPECT_EQ(displays.AddDisplay(&a), 1) << "listed already";
  EXPECT_EQ(displays.AddDisplay(&b), 0);
  EXPECT_EQ(displays.GetDisplayList()->GetCount(), 2);
  EXPECT_EQ(displays.GetBlock().number, 2);
  // The list does not number its signs.
  EXPECT_EQ(a.GetListNumber(), 0);
  EXPECT_EQ(b.GetListNumber(), 0);
  EXPECT_EQ(displays.RemoveDisplay(&a), 0);
  EXPECT_EQ(displays.RemoveDisplay(&a), 1) << "not listed any more";
  EXPECT_EQ(displays.RemoveDisplay(nullptr), 1);
  EXPECT_EQ(displays.GetBlock().number, 1);
  EXPECT_EQ(displays.GetDisplayList()->CheckZorvaInList(&b), 0);
  EXPECT_EQ(displays.GetDisplayList()->CheckZorvaInList(&a), 1);
  // A loaded count is put right by the signs put up again.
  RecordFile file;
  char name[] = "TrafficDisplay";
  ASSERT_EQ(displays.SerializeGameStore(file.f(), name), 0);
  ByteList bytes = file.Bytes();
  bytes[34] = 7;
  CTrafficDisplay back;
  back.Create();
  RecordFile payload(ByteList(bytes.begin() + 34, bytes.end()));
  ASSERT_EQ(back.SerializeGameLoad(payload.f()), 0);
  EXPECT_EQ(back.GetBlock().number, 7);
  ASSERT_EQ(back.AddDisplay(&b), 0);
  EXPECT_EQ(back.GetBlock().number, 1);
  EXPECT_EQ(back.RemoveDisplay(&b), 0);
  EXPECT_EQ(back.GetBlock().number, 0);
  CTrafficDisplay empty;
  EXPECT_EQ(empty.RemoveDisplay(&b), 1) << "no list yet";
}

}  // namespace
