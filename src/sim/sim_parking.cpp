// Parking search times: twice a day the parking demand of every district is
// spread over the car parks within one district of it, car parks that fill
// up are accepted less, and from the result every car park's use and load,
// every district's search time and the parking map are written.
#include <algorithm>
#include <cmath>
#include <vector>

#include "sim/sim_city_model.h"
#include "sim/sim_parking_data.h"
#include "sim/sim_welt.h"

namespace {
constexpr int kIterations = 20;
constexpr int kReach = 9;
constexpr double kHours = 24.0;
constexpr double kNoPlaceSeconds = 360.0;

// A car park's work record. Its distance weights are 0 outside the nine
// districts around its own, so only those are kept.
struct Work {
  ParkingDataType* record;
  double c1, c2;
  double attractiveness;
  double acceptance = 1.0;
  int reach = 0;
  int district[kReach];
  double weight[kReach];
  double p1[kReach], p2[kReach];
  double l1[kReach] = {}, l2[kReach] = {};
  double u1 = 0.0, u2 = 0.0;
};
}  // namespace

void CSimCityModell::CalcDistMap(double* weights, short id, int kind) {
  std::fill(weights, weights + kDistricts, 0.0);
  if (id < 1 || id > kDistricts) return;
  const double w = kind == 1 ? 1.2 : kind == 2 ? 1.4 : 1.0;
  const int x0 = (id - 1) % kGrid, y0 = (id - 1) / kGrid;
  for (int x = std::max(0, x0 - 1); x <= std::min(kGrid - 1, x0 + 1); ++x)
    for (int y = std::max(0, y0 - 1); y <= std::min(kGrid - 1, y0 + 1); ++y)
      weights[x + kGrid * y] = w * (1.0 - (std::abs(x - x0) + std::abs(y - y0)) * 0.25);
}

float CSimCityModell::ParkingQuality(int x, int y) const {
  if (x < 0 || x >= kGrid || y < 0 || y >= kGrid) return 0.0f;
  return m_ParkingMap[kGrid * x + y];
}

void CSimCityModell::CalculateParkingData() {
  // Supply, demand and the step of demand placed per iteration, by id - 1.
  double supply[kDistricts], demand[kDistricts], step[kDistricts];
  for (int x = 0; x < kGrid; ++x)
    for (int y = 0; y < kGrid; ++y) {
      const CSimDistrict& d = m_Districts[x][y];
      const int i = x + kGrid * y;
      supply[i] = d.NrOfParking() * kHours;
      demand[i] = 10.0 * d.NrOfResidents() + 8.0 * d.NrOfWorkers() + 2.0 * d.NrOfConsumers() + 3.0 * d.NrOfLeisurers();
      step[i] = std::max(0.0, 0.05 * (demand[i] - 0.8 * supply[i]));
    }
  // The share of microcars in percent; none without the node.
  double share = 0.0;
  if (m_pSimWelt && m_pSimWelt->CyberNodeSize("K12.2", share) && std::isfinite(share))
    share = std::clamp(share / 100.0, 0.0, 1.0);
  else
    share = 0.0;

  std::vector<Work> parks;
  if (CSimParkingDataSource* source = m_pSimWelt ? m_pSimWelt->ParkingData() : nullptr) {
    source->SimSetupParkingDataCount();
    while (ParkingDataType* p = source->SimGetNextParkingData()) {
      p->carPlacesUsed = p->microcarPlacesUsed = 0;
      p->carLoad = p->microcarLoad = 0.0f;
      Work w;
      w.record = p;
      w.c1 = static_cast<double>(std::max(0, p->carPlaces) * 24);
      w.c2 = static_cast<double>(std::max(0, p->microcarPlaces) * 24);
      w.attractiveness = p->carPlaces / (p->price + 0.3);
      const int kind = (p->reservationOff == 0) + (p->guidanceOff == 0);
      double weights[kDistricts];
      CalcDistMap(weights, p->districtId, kind);
      for (int i = 0; i < kDistricts; ++i)
        if (weights[i] != 0.0 && w.reach < kReach) w.district[w.reach] = i, w.weight[w.reach++] = weights[i];
      parks.push_back(w);
    }
  }

  // The demand that the car parks offer to take, summed per district in the
  // car parks' order.
  std::vector<double> offered(kDistricts);
  for (int iteration = 0; iteration < kIterations; ++iteration) {
    std::fill(offered.begin(), offered.end(), 0.0);
    for (Work& w : parks)
      for (int k = 0; k < w.reach; ++k) {
        w.p1[k] = w.p2[k] = w.attractiveness * w.acceptance * w.weight[k];
        offered[w.district[k]] += w.p1[k];
      }
    for (Work& w : parks)
      for (int k = 0; k < w.reach; ++k) {
        const int i = w.district[k];
        const double q = step[i], total = offered[i];
        if (q <= 0.0) {
          w.p1[k] = w.p2[k] = 0.0;
        } else if (total > 0.0) {
          // Each kind takes its share of the step; a kind without a share
          // takes nothing.
          w.p1[k] = share < 1.0 ? w.p1[k] * q * (1.0 - share) / total : 0.0;
          w.p2[k] = share > 0.0 ? w.p2[k] * q * share / total : 0.0;
        }
      }
    for (Work& w : parks) {
      w.u1 = w.u2 = 0.0;
      for (int k = 0; k < w.reach; ++k) {
        w.l1[k] += w.p1[k];
        w.l2[k] += w.p2[k];
        w.u1 += w.l1[k];
        w.u2 += w.l2[k];
      }
      if (w.c1 < 1.0 || w.u1 / w.c1 > 1.0)
        w.acceptance = 0.0;
      else
        w.acceptance = 1.0 / (1.0 + std::exp(30.0 * (w.u1 / w.c1 - 0.8)));
    }
  }

  double weightSum[kDistricts] = {}, weightedTime[kDistricts] = {};
  for (Work& w : parks) {
    ParkingDataType* p = w.record;
    // A car park without car places takes no demand: no time, no load.
    const double load1 = w.c1 >= 1.0 ? w.u1 / w.c1 : 0.0;
    const double t = 360.0 * load1 * load1;
    p->carPlacesUsed = static_cast<int32_t>(w.u1 / kHours);
    p->microcarPlacesUsed = std::min(static_cast<int32_t>(2.0 * w.u2 / kHours), std::max(0, p->microcarPlaces));
    p->carLoad = static_cast<float>(load1);
    p->microcarLoad = w.c2 < 1.0 ? 0.0f : static_cast<float>(std::min(1.0, 3.5 * w.u2 / w.c2));
    if (p->districtId >= 1 && p->districtId <= kDistricts) supply[p->districtId - 1] += w.c1 - w.u1;
    for (int k = 0; k < w.reach; ++k) {
      const double used = w.l1[k] + w.l2[k];
      weightSum[w.district[k]] += used;
      weightedTime[w.district[k]] += used * t;
    }
  }

  for (int x = 0; x < kGrid; ++x)
    for (int y = 0; y < kGrid; ++y) {
      const int i = x + kGrid * y;
      const double s = supply[i], d = demand[i];
      double seconds;
      if (weightSum[i] > 0.0)
        seconds = weightedTime[i] / weightSum[i];
      else if (d <= 0.0)
        seconds = 0.0;
      else if (s <= 0.0)
        // Demand where no place is free searches as long as where demand
        // is twice the places, never the best time.
        seconds = kNoPlaceSeconds;
      else if (d <= s)
        seconds = 90.0 * d / s;
      else
        seconds = 90.0 + 270.0 * (d - s) / s;
      CSimDistrict& district = m_Districts[x][y];
      district.SetParksuchzeit(static_cast<int>(std::min(seconds, 2147483647.0)));
      float v = 0.0f;
      if (district.NrOfPersons() != 0) {
        v = static_cast<float>(1.0 - seconds / 360.0);
        v = std::min(std::max(v, 0.01f), 1.0f);
        v = std::max(v, 0.03f);
      }
      m_ParkingMap[kGrid * x + y] = v;
    }
}
