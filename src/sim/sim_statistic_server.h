#pragma once
// The city model's table server: it draws an agent's plan of the day (an
// activity chain by status group, a departure hour for each step) and the
// transport mode of each trip, from fixed tables of shares.
#include "sim/sim_agent.h"
#include "sim/sim_trip.h"

class CSimCityModell;
class CSimLocation;

class CSimStatisticServer {
 public:
  // A row of a chain table: the activity digits ('1' work, '2' education,
  // '3' shopping, '4' leisure, '5' home) and the row's weight in percent.
  // The last row's text begins with 'E'.
  struct SChain {
    const char* text;
    double weight;
  };
  // The departures of one ordered pair of activities, percent per hour.
  struct STripShares {
    const char* label;
    double share[CSimAgent::kHours];
  };
  static constexpr int kDepartureRecords = 25;
  static constexpr int kDistanceClasses = 4;
  static constexpr int kAccessGrades = 3;
  static constexpr int kModeShares = 5;
  using ModeTable = double[kDistanceClasses][kAccessGrades][kModeShares];

  static const SChain m_EmployedWithCar[16];
  static const SChain m_EmployedWithoutCar[16];
  static const SChain m_UnemployedWithCar[19];
  static const SChain m_UnemployedWithoutCar[19];
  static const SChain m_Student[15];
  static const STripShares m_AllTrips[kDepartureRecords];
  static const ModeTable m_CarOwnerAgents;
  static const ModeTable m_CarFreeAgents;
  static const ModeTable m_StudentAgentsGeneral;
  static const ModeTable m_StudentAgentsEducation;

  // Fills the cumulative departure shares; a record whose shares do not sum
  // to 100 is reported and stays in use.
  explicit CSimStatisticServer(CSimCityModell* model);

  // Draws and builds the agent's plan of the day. When it cannot be built
  // the agent is destroyed and a CSimError text is thrown.
  void CreateTripList(CSimAgent* agent);
  // A departure hour for a step between two activities (digits 1 to 5);
  // 0 for other digits.
  int ActTime(unsigned short from, unsigned short to) const;
  ESimTransportationMode TransportMode(CSimLocation* from, CSimLocation* to, ESimStatusGroup group,
                                       bool education) const;

  // The chain table of a status group; null outside 0 to 4.
  static const SChain* ChainTable(ESimStatusGroup group);
  // The row of a chain table that a draw r picks: r counts tenths of a
  // percent over the weights the table actually holds, so rows of weight 0
  // are never picked. -1 for a table without rows.
  static int ChainRow(const SChain* table, int r);
  // The sum of a chain table's weights, in tenths of a percent.
  static int ChainTotal(const SChain* table);
  // The hour a draw r (0 to 999) gives for a departure record.
  int HourForDraw(int record, int r) const;
  // The mode-share row of a status group for a distance class (0..3) and an
  // access grade (1..3).
  static const double* ModeShares(ESimStatusGroup group, bool education, int distanceClass, int accessGrade);
  // The mode a draw r (0 to 99) picks from a mode-share row, its bus share
  // shifted by the factor m.
  static ESimTransportationMode ModeForDraw(const double* shares, double m, int r);

 private:
  CSimCityModell* m_pCityModell;
  double m_cumulative[kDepartureRecords][CSimAgent::kHours] = {};
};
