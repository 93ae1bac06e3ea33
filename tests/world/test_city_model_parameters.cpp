// The city model reads its parameters of travel behaviour from the nodes of
// the cause-effect network each hour, through the parts the world hands the
// simulation: a node it does not find leaves its parameter as it was, and
// the persons per car never divide by 0.
#include <gtest/gtest.h>

#include <string>

#include "cybernet/cyber_net.h"
#include "sim/sim_city_model.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_welt.h"
#include "support/test_support.h"
#include "world/zor_sim_parts.h"

namespace {

// The world's parts with a definition of its own instead of the archives'.
class Parts : public CZorWorldSimParts {
 public:
  explicit Parts(std::string text) : CZorWorldSimParts(nullptr), m_text(std::move(text)) {}
  const char* CyberNetDefinition() override { return m_text.c_str(); }

 private:
  std::string m_text;
};

std::string Node(const char* name, double value, double maxSize) {
  return std::string("NodeBegin BasicNode Name ") + name + " Value " + std::to_string(value) + " MinSize 0 MaxSize " +
         std::to_string(maxSize) + " NodeEnd\n";
}

struct Running {
  explicit Running(const std::string& definition) : parts(definition), world(&parts) {
    created = world.Create(&factory);
  }
  CSimCityModell& City() { return *world.pCityModell(); }
  Parts parts;
  CSimLocationFactory factory;
  CSimWelt world;
  bool created = false;
};

TEST(CityParameters, AreReadFromTheNodesOfTheNetworkAtTheHourlyUpdate) {
  Running r(Node("M6", 0.5, 10) + Node("M3", 0.5, 4) + Node("M7", 0.5, 800) + Node("M2", 0.5, 20) +
            Node("M4", 0.5, 40) + Node("M12", 0.25, 8) + Node("M1", 0.5, 60));
  ASSERT_TRUE(r.created);
  double m12 = 0.0;
  ASSERT_TRUE(r.parts.CyberNodeSize(r.world.pCyberNet(), "M12", m12));
  EXPECT_DOUBLE_EQ(m12, 2.0);
  double none = -1.0;
  EXPECT_FALSE(r.parts.CyberNodeSize(r.world.pCyberNet(), "M99", none));
  EXPECT_EQ(none, -1.0);

  ASSERT_TRUE(r.City().StartNextIntervall(CSimDate(6)));
  EXPECT_FLOAT_EQ(r.City().TripScale(), 2.0f);  // 5 trips a day / 2.5
  EXPECT_FLOAT_EQ(r.City().GravityParameter(), 2.0f);
  EXPECT_FLOAT_EQ(r.City().CarOwnership(), 400.0f);
  EXPECT_FLOAT_EQ(r.City().CarOwnerDeduction(), 0.1f);
  EXPECT_FLOAT_EQ(r.City().CarTripFactor(), 1.2f);
  EXPECT_FLOAT_EQ(r.City().CarTripDivisor(), 2.0f);
  EXPECT_FLOAT_EQ(r.City().ModalSplitAdjust(), 30.0f / 22.5f);
}

TEST(CityParameters, PersonsPerCarOfZeroOrAMissingNodeKeepTheDivisorAndMissingModalSplitStaysNeutral) {
  Running zero(Node("M12", 0.0, 8) + Node("M6", 0.25, 10));
  ASSERT_TRUE(zero.created);
  ASSERT_TRUE(zero.City().StartNextIntervall(CSimDate(6)));
  EXPECT_FLOAT_EQ(zero.City().CarTripDivisor(), 1.3f);
  EXPECT_FLOAT_EQ(zero.City().ModalSplitAdjust(), 1.0f);
  EXPECT_FLOAT_EQ(zero.City().TripScale(), 1.0f);

  Running missing(Node("X", 0.5, 1));
  ASSERT_TRUE(missing.created);
  ASSERT_TRUE(missing.City().StartNextIntervall(CSimDate(6)));
  EXPECT_FLOAT_EQ(missing.City().CarTripDivisor(), 1.3f);
  EXPECT_FLOAT_EQ(missing.City().ModalSplitAdjust(), 1.0f);
  // Car trips per hour stay a finite count.
  EXPECT_EQ(missing.City().NrOfMIVTrips(), 0);
}

TEST(CityParameters, TheGameNetworkStartsAtNeutralCarOccupancyAndModalSplit) {
  Running game(zortest::ReadFile(zortest::SourceDir() + "/assets/text/19396.txt"));
  ASSERT_TRUE(game.created);
  ASSERT_TRUE(game.City().StartNextIntervall(CSimDate(6)));
  EXPECT_GT(game.City().CarTripDivisor(), 0.0f);
  EXPECT_NEAR(game.City().ModalSplitAdjust(), 1.0f, 0.2f);
  EXPECT_NEAR(game.City().TripScale(), 1.0f, 0.2f);
}

}  // namespace
