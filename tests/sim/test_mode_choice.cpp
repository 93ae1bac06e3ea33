// The table server's draws: activity chains by status group, departure
// hours, and the transport mode with the bus share shifted by the
// cause-effect network's factor.
#include <gtest/gtest.h>

#include <map>

#include "sim/sim_error.h"
#include "sim/sim_statistic_server.h"

namespace {

using Server = CSimStatisticServer;

const Server::SChain* const kTables[] = {Server::m_EmployedWithCar, Server::m_EmployedWithoutCar,
                                         Server::m_UnemployedWithCar, Server::m_UnemployedWithoutCar,
                                         Server::m_Student};

TEST(ChainTables, ChainsStartAtHomeAndHoldOnlyActivityDigits) {
  for (const Server::SChain* t : kTables) {
    int rows = 0;
    for (; t[rows].text[0] != 'E'; ++rows) {
      const char* c = t[rows].text;
      if (!*c) continue;
      EXPECT_EQ(c[0], '5') << c;
      for (const char* p = c; *p; ++p) EXPECT_TRUE(*p >= '1' && *p <= '5') << c;
    }
    EXPECT_GT(rows, 10);
  }
  // Each table's weights make up the whole day's population.
  for (const Server::SChain* t : kTables) EXPECT_EQ(Server::ChainTotal(t), 1000);
}

TEST(ChainTables, EveryRowIsDrawnInProportionToItsWeightAndRowsOfWeightZeroNever) {
  for (const Server::SChain* t : kTables) {
    const int total = Server::ChainTotal(t);
    std::map<int, int> hits;
    for (int r = 0; r < total; ++r) ++hits[Server::ChainRow(t, r)];
    for (int i = 0; t[i].text[0] != 'E'; ++i) {
      const int expected = static_cast<int>(t[i].weight * 10 + 0.5);
      EXPECT_EQ(hits[i], expected) << t[i].text;
    }
  }
  // The first draw is the first row; the last draw is the last row of
  // weight above 0, not the row before the end.
  EXPECT_EQ(Server::ChainRow(Server::m_UnemployedWithoutCar, 0), 0);
  EXPECT_STREQ(Server::m_UnemployedWithoutCar[Server::ChainRow(Server::m_UnemployedWithoutCar, 999)].text, "533545");
  EXPECT_STREQ(Server::m_EmployedWithCar[Server::ChainRow(Server::m_EmployedWithCar, 999)].text, "525");
  // A table whose weights leave a remainder: the draw runs over the half
  // it holds, and the row of weight 0 before the end is never picked.
  const Server::SChain half[] = {{"515", 30.0}, {"525", 20.0}, {"535", 0.0}, {"ENDE", 0.0}};
  ASSERT_EQ(Server::ChainTotal(half), 500);
  std::map<int, int> hits;
  for (int r = 0; r < 500; ++r) ++hits[Server::ChainRow(half, r)];
  EXPECT_EQ(hits[0], 300);
  EXPECT_EQ(hits[1], 200);
  EXPECT_EQ(hits[2], 0);
  const Server::SChain empty[] = {{"ENDE", 0.0}};
  EXPECT_EQ(Server::ChainRow(empty, 0), -1);
}

TEST(DepartureHours, CumulativeSharesPickTheHourAndOddDigitsGiveMidnight) {
  Server server(nullptr);
  // "55": 10 % in each of the hours 4 to 13.
  const int homeToHome = 24;
  EXPECT_EQ(server.HourForDraw(homeToHome, 0), 0);
  EXPECT_EQ(server.HourForDraw(homeToHome, 1), 4);
  EXPECT_EQ(server.HourForDraw(homeToHome, 100), 4);
  EXPECT_EQ(server.HourForDraw(homeToHome, 101), 5);
  EXPECT_EQ(server.HourForDraw(homeToHome, 200), 5);
  EXPECT_EQ(server.HourForDraw(homeToHome, 901), 13);
  EXPECT_EQ(server.HourForDraw(homeToHome, 999), 13);
  // "12": nothing before 6, then 10.7 % in hour 6.
  EXPECT_EQ(server.HourForDraw(1, 107), 6);
  EXPECT_EQ(server.HourForDraw(1, 108), 7);
  EXPECT_EQ(server.ActTime(0, 3), 0);
  EXPECT_EQ(server.ActTime(3, 6), 0);
  for (int i = 0; i < 200; ++i) {
    const int h = server.ActTime(5, 5);
    EXPECT_TRUE(h >= 4 && h <= 13) << h;
  }
}

TEST(DepartureHours, EveryRecordSumsToAHundredSoTheServerReportsNothing) {
  for (const auto& record : Server::m_AllTrips) {
    double sum = 0;
    for (double s : record.share) sum += s;
    EXPECT_NEAR(sum, 100.0, 0.01) << record.label;
  }
  const TSimErrorID before = SimLastError();
  SimSetError(0, "before the server");
  Server server(nullptr);
  EXPECT_EQ(SimLastError(), 0);
  SimSetError(before, "after the server");
}

TEST(ModeShares, EveryRowSumsToAHundredAndTheGroupPicksItsTable) {
  for (auto* table : {&Server::m_CarOwnerAgents, &Server::m_CarFreeAgents, &Server::m_StudentAgentsGeneral,
                      &Server::m_StudentAgentsEducation})
    for (auto& byGrade : *table)
      for (auto& row : byGrade) {
        double sum = 0;
        for (double p : row) sum += p;
        EXPECT_DOUBLE_EQ(sum, 100.0);
      }
  EXPECT_EQ(Server::ModeShares(SIM_GROUP_UNEMPLOYED_CAR, true, 2, 3), Server::m_CarOwnerAgents[2][2]);
  EXPECT_EQ(Server::ModeShares(SIM_GROUP_EMPLOYED_NO_CAR, false, 0, 1), Server::m_CarFreeAgents[0][0]);
  EXPECT_EQ(Server::ModeShares(SIM_GROUP_STUDENT, false, 3, 2), Server::m_StudentAgentsGeneral[3][1]);
  EXPECT_EQ(Server::ModeShares(SIM_GROUP_STUDENT, true, 3, 2), Server::m_StudentAgentsEducation[3][1]);
  EXPECT_EQ(Server::ModeShares(static_cast<ESimStatusGroup>(7), false, 0, 1), nullptr);
}

// The draws 0 to 99 that give each mode.
std::map<ESimTransportationMode, int> Split(const double* row, double m) {
  std::map<ESimTransportationMode, int> n;
  for (int r = 0; r < 100; ++r) ++n[Server::ModeForDraw(row, m, r)];
  return n;
}

TEST(ModeShares, TheNeutralFactorFollowsTheRow) {
  // A car owner within one district and with a good bus: no bus, 78 by car.
  auto n = Split(Server::m_CarOwnerAgents[0][0], 1.0);
  EXPECT_EQ(n[SIM_MODE_BUS], 0);
  EXPECT_EQ(n[SIM_MODE_CAR], 78);
  EXPECT_EQ(n[SIM_MODE_WALK], 22);
  EXPECT_EQ(Server::ModeForDraw(Server::m_CarOwnerAgents[0][0], 1.0, 77), SIM_MODE_CAR);
  EXPECT_EQ(Server::ModeForDraw(Server::m_CarOwnerAgents[0][0], 1.0, 78), SIM_MODE_WALK);
  n = Split(Server::m_CarFreeAgents[2][0], 1.0);
  EXPECT_EQ(n[SIM_MODE_BUS], 70);
  EXPECT_EQ(n[SIM_MODE_CAR], 15);
}

TEST(ModeShares, AShiftAboveAHundredStopsAtNinetyFiveAndTakesFromTheCarFirst) {
  // Bus 60, car 20, walking 20: twice the bus would be 120.
  const double row[5] = {10, 60, 20, 0, 10};
  auto n = Split(row, 2.0);
  EXPECT_EQ(n[SIM_MODE_BUS], 95);
  EXPECT_EQ(n[SIM_MODE_CAR], 0);
  EXPECT_EQ(n[SIM_MODE_WALK], 5);
  // Half the bus share goes to the car.
  n = Split(row, 0.5);
  EXPECT_EQ(n[SIM_MODE_BUS], 30);
  EXPECT_EQ(n[SIM_MODE_CAR], 50);
  // A factor of 0 gives the whole bus share to the car, also without a car.
  n = Split(Server::m_CarFreeAgents[3][0], 0.0);
  EXPECT_EQ(n[SIM_MODE_BUS], 0);
  EXPECT_EQ(n[SIM_MODE_CAR], 99);
}

}  // namespace
