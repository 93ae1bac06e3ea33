#pragma once
// Small stand-ins for the parts of the demand model that the simulation
// world owns but does not build itself: a city model that hands out
// synthetic trips, locations, districts and public transport's lines.
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "sim/sim_bus_matrix.h"
#include "sim/sim_error.h"
#include "sim/sim_model_iface.h"
#include "sim/sim_line_data.h"
#include "sim/sim_network.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_trip.h"
#include "sim/sim_welt.h"
#include "sim/sim_world_links.h"

namespace simtest {

struct TripSpec {
  short from, to;
  unsigned size;
  ESimTransportationMode mode;
  short fromStop = 0, toStop = 0;
};

// Builds a chain of trips the way the city model does (last built first).
inline CSimTrip* MakeTrips(const std::vector<TripSpec>& specs) {
  CSimTrip* head = nullptr;
  for (const TripSpec& s : specs) {
    auto* t = new CSimTrip;
    t->SetCrossings(s.from, s.to);
    t->SetBusStops(s.fromStop, s.toStop);
    t->SetSize(s.size);
    t->SetTransportationMode(s.mode);
    t->SetNextPtr(head);
    head = t;
  }
  return head;
}

inline void FreeTrips(CSimTrip* t) {
  while (t) {
    CSimTrip* next = t->pNext();
    delete t;
    t = next;
  }
}

class TestCity : public CSimCityModell {
 public:
  bool Create(CSimLocationFactory*, CSimWelt* world) override {
    created = world != nullptr;
    return createResult;
  }
  void Destroy() override { destroyed = true; }
  bool StartNextIntervall(const CSimDate& date) override {
    steppedHours.push_back(date.TicksFromStart());
    return true;
  }
  CSimTrip* Trips(int hour) override {
    tripHours.push_back(hour);
    loadsBeforeTrips.push_back(loads);
    auto it = tripsByHour.find(hour);
    return it == tripsByHour.end() ? nullptr : MakeTrips(it->second);
  }
  void CalculateTripStats(CSimTrafficSlot* slot) override { statSlots.push_back(slot); }
  void CalculateParkingData() override { ++parkingCalls; }
  bool RegisterLocation(CSimLocation*, short) override { return true; }
  bool RemoveLocation(CSimLocation*) override { return true; }
  CSimDistrict* pDistrict(short) override { return nullptr; }
  bool Save(FILE* file) override { return std::fputs("CITY", file) >= 0; }
  bool Load(FILE* file) override {
    char buf[5] = {};
    if (std::fread(buf, 4, 1, file) != 1) return false;
    ++loads;
    if (throwOnLoad) throw CSimError::SetError("CSimAgentList::Load()", "kaputt");
    return std::string(buf) == "CITY";
  }

  bool createResult = true;
  bool created = false;
  bool destroyed = false;
  bool throwOnLoad = false;
  std::map<int, std::vector<TripSpec>> tripsByHour;
  std::vector<int> steppedHours;
  std::vector<int> tripHours;
  // How many blocks the city had read when each hour's trips were asked for.
  int loads = 0;
  std::vector<int> loadsBeforeTrips;
  std::vector<CSimTrafficSlot*> statSlots;
  int parkingCalls = 0;
};

// Public transport's lines as the route matrix reads them: the records in
// the order given, the inactive ones skipped.
class TestLines : public CSimLineDataSource {
 public:
  void SimSetupLineDataCount() override { cursor = 0; }
  LineDataType* SimGetNextLineData() override {
    while (cursor < lines.size()) {
      LineDataType& d = lines[cursor++];
      if (d.active || d.netType == LineDataType::kNetVirtual) return &d;
    }
    return nullptr;
  }
  // Appends an active line over `stops` with ride times `times` (seconds
  // from the previous stop; the first is ignored) and a headway in minutes.
  LineDataType& Add(int32_t type, int16_t number, std::vector<int16_t> stops, std::vector<int32_t> times,
                    int32_t headway) {
    LineDataType& d = lines.emplace_back();
    d.Reset(type);
    d.lineNumber = number;
    d.headway = headway;
    d.active = 1;
    d.stopsOneWay = static_cast<uint16_t>(stops.size());
    d.stopEntries = static_cast<uint16_t>(2 * stops.size());
    for (size_t i = 0; i < stops.size(); ++i) {
      d.stopIds[i] = stops[i];
      d.times[i] = i == 0 ? 30 : times[i];
      d.distances[i] = i == 0 ? 1 : 10 * times[i];
    }
    return d;
  }
  std::deque<LineDataType> lines;
  size_t cursor = 0;
};

class TestParts : public CSimWeltParts {
 public:
  CSimCityModell* NewCityModell() override {
    city = new TestCity;
    city->tripsByHour = trips;
    return city;
  }
  CBusNetMatrix* NewBusNetMatrix() override { return busLines ? new CBusNetMatrix(busLines) : nullptr; }
  CCyberNet* NewCyberNet() override { return reinterpret_cast<CCyberNet*>(&netToken); }
  bool ReadCyberNet(CCyberNet*, FILE* file) override {
    char buf[256] = {};
    readText = std::fgets(buf, sizeof buf, file) ? buf : "";
    return readSucceeds;
  }
  void DeleteCyberNet(CCyberNet*) override { ++netDeletes; }
  const char* CyberNetDefinition() override { return definition; }
  bool TakeBusNetChanged() override {
    bool c = busChanged;
    busChanged = false;
    return c;
  }

  std::map<int, std::vector<TripSpec>> trips;
  TestCity* city = nullptr;
  CSimLineDataSource* busLines = nullptr;
  int netToken = 0;
  int netDeletes = 0;
  const char* definition = "NODE M1\n";
  bool readSucceeds = true;
  std::string readText;
  bool busChanged = false;
};

// A w x h grid of crossings (ids 1..w*h, row by row) joined by streets in
// both directions. Sides: 0 north, 1 east, 2 south, 3 west. `length(i)`
// gives the length of the i-th street pair, so tests can make routes unique.
template <class LengthFn>
void BuildGrid(CSimTrafficSlot& slot, int w, int h, LengthFn length) {
  for (int i = 1; i <= w * h; ++i) slot.AddCrossing(static_cast<short>(i), SIM_CROSSING_NONE, 30, 30);
  short id = 1;
  int pair = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const short c = static_cast<short>(y * w + x + 1);
      if (x + 1 < w) {
        const int len = length(pair++);
        slot.AddStreet(id++, c, 1, static_cast<short>(c + 1), 3, len, -1.0, 0);
        slot.AddStreet(id++, static_cast<short>(c + 1), 3, c, 1, len, -1.0, 0);
      }
      if (y + 1 < h) {
        const int len = length(pair++);
        slot.AddStreet(id++, c, 2, static_cast<short>(c + w), 0, len, -1.0, 0);
        slot.AddStreet(id++, static_cast<short>(c + w), 0, c, 2, len, -1.0, 0);
      }
    }
  }
}

// Textbook closure over the slot's streets with the same crossing penalty;
// the reference the routing is held to. Result [from][to], indexes in id order.
inline std::vector<std::vector<int>> ReferenceCosts(const CSimTrafficSlot& slot) {
  const CSimRoutingMatrix& r = slot.Routing();
  const int n = r.N();
  std::vector<std::vector<int>> c(n, std::vector<int>(n, Route::kNoRoute));
  for (int i = 0; i < n; ++i) c[i][i] = 0;
  for (int e = 0; e < r.NrOfStreets(); ++e) {
    CSimStreet* s = r.Street(e);
    const int a = s->pStartCrossing()->MatrixIndex(), b = s->pEndCrossing()->MatrixIndex();
    if (a != b && s->TravelTime() < c[a][b]) c[a][b] = s->TravelTime();
  }
  for (int k = 0; k < n; ++k)
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        if (i == k || j == k || c[i][k] >= Route::kNoRoute || c[k][j] >= Route::kNoRoute) continue;
        const int via = c[i][k] + c[k][j] + CSimRoutingMatrix::kCrossingPenalty;
        if (via < c[i][j]) c[i][j] = via;
      }
  return c;
}

}  // namespace simtest
