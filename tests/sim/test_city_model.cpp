// The city model without agents: travel times between districts, the
// target shares of the status groups, the shown trip-length group and the
// values a new model starts from.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <utility>

#include "framework/zor_record.h"
#include "sim/sim_city_model.h"
#include "sim/sim_district.h"
#include "sim/sim_error.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_welt.h"

namespace {

struct Model : testing::Test {
  CSimLocationFactory factory;
  CSimWelt world{nullptr};
  std::unique_ptr<CSimCityModell> city = std::make_unique<CSimCityModell>();
  void SetUp() override { ASSERT_TRUE(city->Create(&factory, &world)); }
};

TEST_F(Model, ANewModelCountsNothingAndStartsFromNeutralParameters) {
  EXPECT_EQ(city->Trips(7), nullptr);
  int w = -1, n = -1, s = -1;
  city->GetAgentReal(w, n, s);
  EXPECT_EQ(w + n + s, 0);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(city->ReisezeitMIV(), 0.0);
  EXPECT_EQ(city->NrOfMIVTrips(), 0);
  EXPECT_EQ(city->NrOfResidents(), 0u);
  // Mode choice scales by parameter / 22.5: neutral until the network says.
  EXPECT_FLOAT_EQ(city->ModalSplitAdjust(), 1.0f);
  EXPECT_FLOAT_EQ(city->CarTripDivisor(), 1.3f);
  int x = 0, y = 0;
  city->GetQueryDistrict(x, y);
  EXPECT_EQ(x, 8);
  EXPECT_EQ(y, 8);
  EXPECT_EQ(city->ReplanCount(), 20);
  EXPECT_EQ(city->TripLengthGroup(), 5);
}

TEST_F(Model, CreatingTwiceThrowsAndNullPartsAreRefused) {
  EXPECT_THROW(city->Create(&factory, &world), const char*);
  CSimCityModell other;
  EXPECT_FALSE(other.Create(nullptr, &world));
  EXPECT_EQ(SimLastError(), 2);
  EXPECT_FALSE(other.Create(&factory, nullptr));
  EXPECT_FALSE(other.IsValid());
  EXPECT_THROW(other.Destroy(), const char*);
  city->Destroy();
  EXPECT_FALSE(city->IsValid());
  EXPECT_FALSE(city->pDistrict(1)->IsValid());
}

TEST_F(Model, TheAirLineEstimateTakesOneAndAHalfTimesTheDistanceAtTwentyFourMetresASecond) {
  // 800 m x 1.5 = 1200 m, in 150 s.
  EXPECT_DOUBLE_EQ(CSimCityModell::AverageOneOverTravelTimeLuftLinie(1, 2), 24.0);
  EXPECT_DOUBLE_EQ(CSimCityModell::AverageOneOverTravelTimeLuftLinie(1, 17), 24.0);
  EXPECT_NEAR(CSimCityModell::AverageOneOverTravelTimeLuftLinie(1, 18), 24.0 / std::sqrt(2.0), 1e-4);
  // Corner to corner: 16970.6 m x 1.5 in 3182 s.
  EXPECT_NEAR(CSimCityModell::AverageOneOverTravelTimeLuftLinie(1, 256), 1.131371, 1e-5);
  EXPECT_DOUBLE_EQ(city->AverageOneOverTravelTime(5, 5, true), 3600.0);
  EXPECT_DOUBLE_EQ(city->AverageOneOverTravelTime(5, 5, false), 0.0);
  EXPECT_DOUBLE_EQ(city->AverageOneOverTravelTime(40, 41, true), 24.0);
  EXPECT_EQ(city->AverageOneOverTravelTime(0, 5, true), 0.0);
  EXPECT_EQ(SimLastError(), 1);
  EXPECT_EQ(city->AverageOneOverTravelTime(5, 257, true), 0.0);
}

TEST_F(Model, AMeasuredCarTripBlendsIntoTheCellAndItsNeighboursOnIds) {
  // 3600 / (0 + 5) = 720 in an empty cell, and the same again keeps it.
  city->NewCarData(20, 40, 0);
  EXPECT_FLOAT_EQ(static_cast<float>(city->AverageOneOverTravelTime(20, 40, false)), 720.0f);
  city->NewCarData(20, 40, 0);
  EXPECT_FLOAT_EQ(static_cast<float>(city->AverageOneOverTravelTime(20, 40, false)), 720.0f);
  // The destination cell is blended twice per trip: 4/5 of the old value
  // each time.
  city->NewCarData(20, 40, 3595);
  const float once = (4.0f * 720.0f + 1.0f) / 5.0f;
  EXPECT_FLOAT_EQ(static_cast<float>(city->AverageOneOverTravelTime(20, 40, false)), (4.0f * once + 1.0f) / 5.0f);
  // The eight neighbours of id 40 (39, 41, 23..25, 55..57) are measured now;
  // other origins and cells are not.
  for (short to : {23, 24, 25, 39, 41, 55, 56, 57}) EXPECT_GT(city->AverageOneOverTravelTime(20, to, false), 0.0) << to;
  EXPECT_EQ(city->AverageOneOverTravelTime(20, 42, false), 0.0);
  EXPECT_EQ(city->AverageOneOverTravelTime(21, 40, false), 0.0);
  // At the right edge of the grid the neighbourhood runs on into the next
  // row (id 16 is x = 15: id 17 is x = 0 one row down); below id 1 nothing.
  city->NewCarData(3, 16, 175);
  EXPECT_FLOAT_EQ(static_cast<float>(city->AverageOneOverTravelTime(3, 17, false)), 20.0f);
  city->NewCarData(3, 1, 175);
  EXPECT_FLOAT_EQ(static_cast<float>(city->AverageOneOverTravelTime(3, 1, false)), 20.0f);
  EXPECT_EQ(city->AverageOneOverTravelTime(3, 256, false), 0.0);
  // A measured cell is preferred to the air line.
  EXPECT_FLOAT_EQ(static_cast<float>(city->AverageOneOverTravelTime(3, 17, true)), 20.0f);
}

TEST_F(Model, TargetSharesAlwaysSumToAHundred) {
  city->SetAgentWorker_Target(70.0f);
  EXPECT_FLOAT_EQ(city->NoWorkerTarget(), 22.5f);
  EXPECT_FLOAT_EQ(city->StudentTarget(), 7.5f);
  int w = 0, n = 0, s = 0;
  city->GetAgent_Target(w, n, s);
  EXPECT_EQ(s, 7);
  EXPECT_EQ(n, 22);
  EXPECT_EQ(w, 71);
  city->SetAgentNoWorker_Target(50.0f);
  EXPECT_NEAR(city->WorkerTarget() + city->NoWorkerTarget() + city->StudentTarget(), 100.0f, 1e-3f);
  EXPECT_FLOAT_EQ(city->NoWorkerTarget(), 50.0f);
  city->SetAgentStudent_Target(20.0f);
  EXPECT_FLOAT_EQ(city->StudentTarget(), 20.0f);
  EXPECT_NEAR(city->WorkerTarget() + city->NoWorkerTarget(), 80.0f, 1e-3f);
  // With the other two at 0 the one set takes all.
  city->SetAgentWorker_Target(0.0f);
  city->SetAgentNoWorker_Target(0.0f);
  city->SetAgentStudent_Target(0.0f);
  EXPECT_FLOAT_EQ(city->StudentTarget(), 100.0f);
}

TEST_F(Model, TheShownTripLengthGroupCyclesThroughAllAndTheFiveGroups) {
  const int expected[] = {0, 1, 2, 3, 4, 5, 0};
  for (int e : expected) {
    city->ChangeAgentTripLengthGroup();
    EXPECT_EQ(city->TripLengthGroup(), e);
  }
  EXPECT_NE(city->pTripLengthDistribution(SIM_MODE_CAR), nullptr);
  EXPECT_NE(city->pTripLengthDistribution(SIM_MODE_CAR), city->pTripLengthDistribution(SIM_MODE_BUS));
  EXPECT_NE(city->pTripLengthDistribution(SIM_MODE_WALK), nullptr);
  EXPECT_EQ(city->pTripLengthDistribution(SIM_MODE_NONE), nullptr);
}

}  // namespace

// The state a savegame keeps beside the agents: a second model that reads
// it plans, chooses and parks as the first one; bytes that are no such
// record change nothing.
TEST(CityModelState, AnotherModelTakesOverTheMeasuredTimesParkingAndParameters) {
  CSimLocationFactory factory;
  CSimWelt world{nullptr};
  CSimCityModell first, second;
  ASSERT_TRUE(first.Create(&factory, &world));
  ASSERT_TRUE(second.Create(&factory, &world));
  first.NewCarData(3, 16, 175);
  first.NewCarData(256, 1, 40);
  first.NewCarData(1, 2, 40);  // measures the first cell, 1 to 1, too
  first.pDistrictAt(7, 7)->SetParksuchzeit(123);
  first.pDistrictAt(15, 0)->SetParksuchzeit(0);
  second.NewCarData(5, 5, 10);  // a measurement of its own, which the state replaces
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(first.SaveState(file));
  const long size = std::ftell(file);
  EXPECT_EQ(size, static_cast<long>(first.StateSize()));
  // The re-planning count and the seven parameters lead the record.
  std::rewind(file);
  ZorRecordWriter head(file);
  head.I32(7);
  for (float v : {1.5f, 2.0f, 25.0f, 500.0f, 0.5f, 0.25f, 1.7f}) head.F32(v);
  std::rewind(file);
  ASSERT_TRUE(second.LoadState(file, static_cast<uint32_t>(size)));
  EXPECT_EQ(second.ReplanCount(), 7);
  EXPECT_FLOAT_EQ(second.TripScale(), 1.5f);
  EXPECT_FLOAT_EQ(second.GravityParameter(), 2.0f);
  EXPECT_FLOAT_EQ(second.CarOwnership(), 500.0f);
  EXPECT_FLOAT_EQ(second.CarTripDivisor(), 1.7f);
  for (const auto& [from, to] : {std::pair<short, short>{3, 16}, {3, 1}, {256, 1}, {5, 5}, {1, 2}, {1, 1}})
    EXPECT_DOUBLE_EQ(second.AverageOneOverTravelTime(from, to, true), first.AverageOneOverTravelTime(from, to, true))
        << from << " to " << to;
  EXPECT_EQ(second.pDistrictAt(7, 7)->Parksuchzeit(), 123);
  EXPECT_EQ(second.pDistrictAt(15, 0)->Parksuchzeit(), 0);
  EXPECT_EQ(second.pDistrictAt(3, 3)->Parksuchzeit(), first.pDistrictAt(3, 3)->Parksuchzeit());

  // One byte short, or a count of cells the length does not hold: refused.
  CSimCityModell third;
  ASSERT_TRUE(third.Create(&factory, &world));
  third.NewCarData(5, 5, 10);
  const double own = third.AverageOneOverTravelTime(5, 5, true);
  std::rewind(file);
  EXPECT_FALSE(third.LoadState(file, static_cast<uint32_t>(size - 1)));
  std::rewind(file);
  EXPECT_FALSE(third.LoadState(file, 10));
  EXPECT_EQ(third.ReplanCount(), 20);
  EXPECT_DOUBLE_EQ(third.AverageOneOverTravelTime(5, 5, true), own);
  EXPECT_FLOAT_EQ(static_cast<float>(third.AverageOneOverTravelTime(3, 16, true)),
                  static_cast<float>(CSimCityModell::AverageOneOverTravelTimeLuftLinie(3, 16)));
  std::fclose(file);

  // Made anew, the model has measured nothing: its state holds no cell, and
  // a model that reads it forgets what it measured.
  third.Destroy();
  ASSERT_TRUE(third.Create(&factory, &world));
  EXPECT_EQ(third.AverageOneOverTravelTime(5, 5, false), 0.0);
  EXPECT_EQ(third.StateSize(), 4u + 7u * 4u + 256u * 8u + 4u);
  file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(third.SaveState(file));
  std::rewind(file);
  ASSERT_TRUE(second.LoadState(file, third.StateSize()));
  for (short to = 1; to <= CSimCityModell::kDistricts; ++to)
    ASSERT_EQ(second.AverageOneOverTravelTime(3, to, false), 0.0) << to;
  std::fclose(file);
  for (CSimCityModell* m : {&first, &second, &third}) m->Destroy();
}
