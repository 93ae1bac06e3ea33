#include <algorithm>

#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "sim/sim_city_model.h"
#include "sim/sim_error.h"
#include "sim/sim_statistic_server.h"

// Mode shares in percent by distance class (outermost), access grade and
// five columns: p0 and p4 walk, p1 rides the bus, p2 and p3 drive.
const CSimStatisticServer::ModeTable CSimStatisticServer::m_CarOwnerAgents = {
    {{19.0, 0.0, 10.0, 68.0, 3.0}, {19.0, 0.0, 10.0, 68.0, 3.0}, {20.0, 2.0, 10.0, 65.0, 3.0}},
    {{7.0, 5.0, 12.0, 73.0, 3.0}, {7.0, 3.0, 12.0, 75.0, 3.0}, {7.0, 0.0, 12.0, 78.0, 3.0}},
    {{1.0, 4.0, 12.0, 82.0, 1.0}, {1.0, 2.0, 12.0, 84.0, 1.0}, {1.0, 0.0, 12.0, 86.0, 1.0}},
    {{0.0, 3.0, 12.0, 85.0, 0.0}, {0.0, 0.0, 12.0, 88.0, 0.0}, {0.0, 0.0, 12.0, 88.0, 0.0}},
};
const CSimStatisticServer::ModeTable CSimStatisticServer::m_CarFreeAgents = {
    {{80.0, 5.0, 10.0, 0.0, 5.0}, {85.0, 0.0, 10.0, 0.0, 5.0}, {85.0, 0.0, 10.0, 0.0, 5.0}},
    {{38.0, 40.0, 12.0, 0.0, 10.0}, {41.0, 37.0, 12.0, 0.0, 10.0}, {43.0, 35.0, 12.0, 0.0, 10.0}},
    {{5.0, 70.0, 15.0, 0.0, 10.0}, {7.0, 68.0, 15.0, 0.0, 10.0}, {10.0, 65.0, 15.0, 0.0, 10.0}},
    {{0.0, 79.0, 20.0, 0.0, 1.0}, {0.0, 78.0, 20.0, 0.0, 2.0}, {0.0, 77.0, 20.0, 0.0, 3.0}},
};
const CSimStatisticServer::ModeTable CSimStatisticServer::m_StudentAgentsGeneral = {
    {{75.0, 5.0, 10.0, 0.0, 10.0}, {80.0, 0.0, 10.0, 0.0, 10.0}, {80.0, 0.0, 10.0, 0.0, 10.0}},
    {{38.0, 40.0, 12.0, 0.0, 10.0}, {41.0, 37.0, 12.0, 0.0, 10.0}, {43.0, 35.0, 12.0, 0.0, 10.0}},
    {{5.0, 60.0, 15.0, 0.0, 20.0}, {7.0, 58.0, 15.0, 0.0, 20.0}, {10.0, 55.0, 15.0, 0.0, 20.0}},
    {{0.0, 66.0, 20.0, 0.0, 14.0}, {0.0, 64.0, 20.0, 0.0, 16.0}, {0.0, 62.0, 20.0, 0.0, 18.0}},
};
const CSimStatisticServer::ModeTable CSimStatisticServer::m_StudentAgentsEducation = {
    {{70.0, 5.0, 10.0, 0.0, 15.0}, {75.0, 0.0, 10.0, 0.0, 15.0}, {75.0, 0.0, 10.0, 0.0, 15.0}},
    {{38.0, 30.0, 12.0, 0.0, 20.0}, {43.0, 20.0, 12.0, 0.0, 25.0}, {48.0, 10.0, 12.0, 0.0, 30.0}},
    {{5.0, 55.0, 15.0, 0.0, 25.0}, {10.0, 45.0, 15.0, 0.0, 30.0}, {15.0, 35.0, 15.0, 0.0, 35.0}},
    {{0.0, 55.0, 20.0, 0.0, 25.0}, {0.0, 50.0, 20.0, 0.0, 30.0}, {0.0, 45.0, 20.0, 0.0, 35.0}},
};

const double* CSimStatisticServer::ModeShares(ESimStatusGroup group, bool education, int distanceClass,
                                              int accessGrade) {
  const int dc = std::clamp(distanceClass, 0, kDistanceClasses - 1);
  const int ag = std::clamp(accessGrade, 1, kAccessGrades) - 1;
  switch (group) {
    case SIM_GROUP_EMPLOYED_CAR:
    case SIM_GROUP_UNEMPLOYED_CAR: return m_CarOwnerAgents[dc][ag];
    case SIM_GROUP_EMPLOYED_NO_CAR:
    case SIM_GROUP_UNEMPLOYED_NO_CAR: return m_CarFreeAgents[dc][ag];
    case SIM_GROUP_STUDENT: return education ? m_StudentAgentsEducation[dc][ag] : m_StudentAgentsGeneral[dc][ag];
  }
  return nullptr;
}

ESimTransportationMode CSimStatisticServer::ModeForDraw(const double* p, double m, int r) {
  double walk = p[0] + p[4];
  double bus = p[1];
  double car = p[2] + p[3];
  double delta = (m - 1.0) * bus;
  // The bus never takes every trip: at most 95 of 100.
  if (bus + delta > 100.0) delta = 100.0 - bus - 5.0;
  if (delta > car) {
    walk -= delta - car;
    car = 0.0;
  } else {
    car -= delta;
  }
  bus += delta;
  const double sum = walk + bus + car;
  if (sum > 100.1 || sum < 99.9) QNO_ERROR(QNO_SEV_WARNING, "Summenfehler");
  if (r < bus) return SIM_MODE_BUS;
  if (r < bus + car) return SIM_MODE_CAR;
  return SIM_MODE_WALK;
}

ESimTransportationMode CSimStatisticServer::TransportMode(CSimLocation* from, CSimLocation* to, ESimStatusGroup group,
                                                          bool education) const {
  const int dc = m_pCityModell->Entfernungsklasse(from, to);
  const int ag = m_pCityModell->Erschliessunggrad(from, to);
  const double* shares = ModeShares(group, education, dc, ag);
  if (!shares) throw CSimError::SetError("CSimStatisticServer::TransportMode()", "<unknown Status-Group>");
  return ModeForDraw(shares, m_pCityModell->ModalSplitAdjust(), zor_random() % 100);
}
