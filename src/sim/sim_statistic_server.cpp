#include "sim/sim_statistic_server.h"

#include <cmath>

#include "framework/zor_seams.h"
#include "sim/sim_error.h"

// The chains of activities by status group, with their shares in percent.
const CSimStatisticServer::SChain CSimStatisticServer::m_EmployedWithCar[16] = {
    {"", 6.0},
    {"515", 45.0},
    {"51545", 7.0},
    {"51535", 6.0},
    {"51345", 3.0},
    {"51115", 7.0},
    {"535", 3.0},
    {"545", 3.0},
    {"5135", 3.0},
    {"51515", 4.0},
    {"5145", 2.0},
    {"51335", 5.0},
    {"513415", 4.0},
    {"525", 2.0},
    {"51445", 0.0},
    {"ENDE", 0.0},
};
const CSimStatisticServer::SChain CSimStatisticServer::m_EmployedWithoutCar[16] = {
    {"", 10.0},
    {"515", 60.0},
    {"51545", 4.0},
    {"51535", 4.0},
    {"51345", 4.0},
    {"51115", 2.0},
    {"535", 3.0},
    {"545", 2.0},
    {"5135", 2.0},
    {"51515", 3.0},
    {"5145", 0.0},
    {"51335", 0.0},
    {"513415", 2.0},
    {"525", 2.0},
    {"51445", 2.0},
    {"ENDE", 0.0},
};
const CSimStatisticServer::SChain CSimStatisticServer::m_UnemployedWithCar[19] = {
    {"", 16.0},
    {"553", 32.0},
    {"53545", 9.0},
    {"53535", 7.0},
    {"545", 5.0},
    {"5345", 4.0},
    {"54545", 2.0},
    {"54535", 2.0},
    {"5354545", 2.0},
    {"515", 2.0},
    {"534545", 2.0},
    {"53345", 9.0},
    {"5353545", 2.0},
    {"53445", 2.0},
    {"54335", 2.0},
    {"533535", 2.0},
    {"5435", 0.0},
    {"533545", 0.0},
    {"ENDE", 0.0},
};
const CSimStatisticServer::SChain CSimStatisticServer::m_UnemployedWithoutCar[19] = {
    {"", 24.0},
    {"553", 39.0},
    {"53545", 7.0},
    {"53535", 8.0},
    {"545", 8.0},
    {"5345", 0.0},
    {"54545", 1.0},
    {"54535", 2.0},
    {"5354545", 0.0},
    {"515", 2.0},
    {"534545", 0.0},
    {"53345", 2.0},
    {"5353545", 0.0},
    {"53445", 2.0},
    {"54335", 0.0},
    {"533535", 0.0},
    {"5435", 3.0},
    {"533545", 2.0},
    {"ENDE", 0.0},
};
const CSimStatisticServer::SChain CSimStatisticServer::m_Student[15] = {
    {"", 9.0},
    {"525", 46.0},
    {"52545", 13.0},
    {"52535", 6.0},
    {"515", 4.0},
    {"545", 4.0},
    {"52325", 4.0},
    {"5254545", 2.0},
    {"52525", 2.0},
    {"5253545", 2.0},
    {"51545", 3.0},
    {"52345", 2.0},
    {"52335", 2.0},
    {"5252545", 1.0},
    {"ENDE", 0.0},
};

// The departures of each ordered pair of activities, percent per hour of
// the day.
const CSimStatisticServer::STripShares CSimStatisticServer::m_AllTrips[kDepartureRecords] = {
    {"11", {0.1, 0.0, 0.0, 0.0, 0.0, 0.1, 0.8, 3.7, 5.6, 8.1, 8.8, 8.8, 7.4, 5.9, 7.0, 8.1, 9.2, 8.8, 6.8, 4.4, 2.9, 1.6, 1.2, 0.7}},
    {"12", {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 10.7, 30.6, 28.2, 13.1, 12.2, 5.0, 0.0, 0.1, 0.1, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}},
    {"13", {0.1, 0.0, 0.0, 0.0, 0.0, 0.1, 0.8, 3.7, 5.6, 8.1, 10.8, 8.8, 7.4, 5.9, 7.0, 6.1, 9.2, 8.8, 6.8, 4.4, 2.9, 1.6, 1.2, 0.7}},
    {"14", {0.1, 0.0, 0.0, 0.0, 0.0, 0.1, 0.8, 3.7, 5.6, 8.1, 8.8, 8.8, 7.4, 5.9, 7.0, 8.1, 9.2, 8.8, 6.8, 4.4, 2.9, 1.6, 1.2, 0.7}},
    {"15", {0.0, 0.0, 0.0, 0.0, 0.0, 0.2, 1.0, 1.1, 0.6, 0.5, 0.7, 1.3, 8.5, 8.3, 2.8, 4.6, 32.0, 15.0, 12.3, 5.4, 1.7, 1.6, 1.7, 0.7}},
    {"21", {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 2.1, 7.5, 8.8, 30.6, 35.1, 10.6, 5.3, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}},
    {"22", {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.1, 2.5, 10.8, 30.6, 35.1, 15.6, 5.3, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}},
    {"23", {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 5.1, 7.5, 8.8, 30.6, 45.1, 2.6, 0.3, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}},
    {"24", {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.1, 3.5, 9.8, 30.6, 45.1, 5.6, 5.3, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}},
    {"25", {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.1, 4.5, 9.8, 30.6, 43.1, 6.6, 5.3, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}},
    {"31", {0.0, 0.0, 0.0, 0.3, 0.6, 6.1, 22.3, 33.7, 9.3, 7.7, 0.7, 0.8, 1.4, 7.2, 3.9, 1.8, 1.2, 1.1, 0.2, 0.6, 0.3, 0.7, 0.1, 0.0}},
    {"32", {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.7, 35.6, 18.2, 13.1, 11.2, 15.0, 5.0, 0.1, 0.1, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}},
    {"33", {0.1, 0.0, 0.0, 0.0, 0.0, 0.1, 0.8, 3.7, 5.6, 8.1, 8.8, 8.8, 7.4, 5.9, 7.0, 8.1, 9.2, 8.8, 6.8, 4.4, 2.9, 1.6, 1.2, 0.7}},
    {"34", {0.1, 0.0, 0.0, 0.0, 0.0, 0.1, 0.8, 3.7, 5.6, 8.1, 8.8, 8.8, 7.4, 5.9, 7.0, 8.1, 9.2, 8.8, 6.8, 4.4, 2.9, 1.6, 1.2, 0.7}},
    {"35", {0.3, 0.0, 0.0, 0.0, 0.0, 0.0, 0.4, 1.3, 3.0, 3.4, 4.7, 5.5, 8.8, 7.2, 3.9, 4.7, 9.7, 15.1, 16.0, 7.6, 3.9, 2.0, 1.7, 0.8}},
    {"41", {0.0, 0.0, 0.0, 0.3, 0.6, 6.1, 22.3, 33.7, 9.3, 7.7, 0.7, 0.8, 1.4, 7.2, 3.9, 1.8, 1.2, 1.1, 0.2, 0.6, 0.3, 0.7, 0.1, 0.0}},
    {"42", {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 10.7, 35.6, 18.2, 13.1, 11.2, 10.0, 1.0, 0.1, 0.1, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}},
    {"43", {0.1, 0.0, 0.0, 0.0, 0.0, 0.1, 0.8, 3.7, 5.6, 8.1, 8.8, 8.8, 7.4, 5.9, 7.0, 8.1, 9.2, 8.8, 6.8, 4.4, 2.9, 1.6, 1.2, 0.7}},
    {"44", {0.1, 0.0, 0.0, 0.0, 0.0, 0.1, 0.8, 3.7, 5.6, 8.1, 8.8, 8.8, 7.4, 5.9, 7.0, 8.1, 9.2, 8.8, 6.8, 4.4, 2.9, 1.6, 1.2, 0.7}},
    {"45", {1.3, 0.2, 0.0, 0.0, 0.1, 0.1, 0.0, 0.3, 0.6, 0.6, 0.7, 1.2, 3.0, 1.4, 1.5, 1.4, 4.0, 8.8, 14.0, 12.3, 11.1, 11.7, 16.2, 9.5}},
    {"51", {0.0, 0.0, 0.0, 0.3, 0.6, 6.1, 22.3, 28.7, 9.3, 7.7, 5.7, 0.8, 1.4, 7.2, 3.9, 1.8, 1.2, 1.1, 0.2, 0.6, 0.3, 0.7, 0.1, 0.0}},
    {"52", {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.7, 35.6, 28.2, 13.1, 16.2, 5.0, 0.0, 0.1, 0.1, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}},
    {"53", {0.0, 0.0, 0.0, 0.1, 0.1, 0.7, 3.2, 16.0, 12.6, 7.8, 6.2, 4.7, 3.0, 4.9, 7.1, 7.8, 9.0, 9.0, 3.7, 2.1, 1.2, 0.4, 0.3, 0.1}},
    {"54", {0.1, 0.0, 0.0, 0.0, 0.0, 0.2, 1.0, 2.4, 3.1, 1.7, 2.7, 1.0, 1.7, 2.6, 5.8, 7.1, 4.1, 13.7, 14.0, 20.2, 13.0, 3.5, 1.8, 0.3}},
    {"55", {0.0, 0.0, 0.0, 0.0, 10.0, 10.0, 10.0, 10.0, 10.0, 10.0, 10.0, 10.0, 10.0, 10.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}},
};

CSimStatisticServer::CSimStatisticServer(CSimCityModell* model) : m_pCityModell(model) {
  for (int r = 0; r < kDepartureRecords; ++r) {
    double sum = 0.0;
    for (int h = 0; h < CSimAgent::kHours; ++h) {
      sum += m_AllTrips[r].share[h];
      m_cumulative[r][h] = sum;
    }
    if (sum < 99.99 || sum > 100.01)
      SimSetError(1, "Fehler in CSimStatisticServer::CSimStatisticServer()", "record %s", m_AllTrips[r].label);
  }
}

const CSimStatisticServer::SChain* CSimStatisticServer::ChainTable(ESimStatusGroup group) {
  switch (group) {
    case SIM_GROUP_EMPLOYED_CAR: return m_EmployedWithCar;
    case SIM_GROUP_EMPLOYED_NO_CAR: return m_EmployedWithoutCar;
    case SIM_GROUP_UNEMPLOYED_CAR: return m_UnemployedWithCar;
    case SIM_GROUP_UNEMPLOYED_NO_CAR: return m_UnemployedWithoutCar;
    case SIM_GROUP_STUDENT: return m_Student;
  }
  return nullptr;
}

namespace {
// A weight in tenths of a percent.
int Tenths(double weight) { return static_cast<int>(std::lround(weight * 10.0)); }
}  // namespace

int CSimStatisticServer::ChainTotal(const SChain* table) {
  int total = 0;
  for (int i = 0; table[i].text[0] != 'E'; ++i) total += Tenths(table[i].weight);
  return total;
}

int CSimStatisticServer::ChainRow(const SChain* table, int r) {
  if (table[0].text[0] == 'E') return -1;
  int running = 0;
  int last = 0;
  for (int i = 0; table[i].text[0] != 'E'; ++i) {
    running += Tenths(table[i].weight);
    if (r < running) return i;
    last = i;
  }
  return last;
}

int CSimStatisticServer::HourForDraw(int record, int r) const {
  for (int h = 0; h < CSimAgent::kHours; ++h)
    if (m_cumulative[record][h] * 10.0 >= r) return h;
  return CSimAgent::kHours - 1;
}

int CSimStatisticServer::ActTime(unsigned short from, unsigned short to) const {
  if (from < 1 || from > 5 || to < 1 || to > 5) return 0;
  const int r = zor_random() % 1000;
  return HourForDraw((from - 1) * 5 + (to - 1), r);
}

namespace {
// The destination kind of an activity digit: 1..4 are their own kinds, 5 is
// home.
ESimDestination KindOfActivity(int digit) {
  return digit == 5 ? SIM_DEST_HOME : static_cast<ESimDestination>(digit);
}
}  // namespace

void CSimStatisticServer::CreateTripList(CSimAgent* agent) {
  if (!agent) throw CSimErrorNullPtr::SetError("CSimStatisticServer::CreateTripList()");
  const ESimStatusGroup group = agent->StatusGroup();
  const SChain* table = ChainTable(group);
  if (!table) throw CSimError::SetError("CSimStatisticServer::CreateTripList()", "<unknown Status-Group>");
  const int total = ChainTotal(table);
  const int row = ChainRow(table, total > 0 ? zor_random() % total : 0);
  if (row < 0) throw CSimError::SetError("CSimStatisticServer::CreateTripList()", "<Genereller Mist>");
  const char* chain = table[row].text;
  try {
    agent->ClearTrips();
    if (chain[0] != '\0') {
      int prev = chain[0] - '0';
      for (const char* c = chain + 1; *c; ++c) {
        const int cur = *c - '0';
        if (prev <= 0 || cur <= 0) continue;
        const int hour = ActTime(static_cast<unsigned short>(prev), static_cast<unsigned short>(cur));
        agent->AddTrip(hour, KindOfActivity(prev), 1, KindOfActivity(cur), 1);
        prev = cur;
      }
    }
    agent->UpdateDestinationList();
  } catch (const char* text) {
    CSimError::PrintError(text);
    try {
      agent->UpdateDestinationList();
    } catch (const char* again) {
      CSimError::PrintError(again);
    }
    try {
      agent->Destroy();
    } catch (const char* again) {
      CSimError::PrintError(again);
    }
    throw CSimError::SetError("CSimStatisticServer::CreateTripList()", "Kann keine Trip-Liste erstellen");
  }
}
