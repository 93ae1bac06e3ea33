#pragma once
// The macro street network of one simulated hour. A slot is edited while
// it is the world's editing slot, frozen with the hour's trips, computed in
// small steps (routing and assignment) and then read as the active hour.
#include <vector>

#include "sim/sim_date.h"
#include "sim/sim_network.h"
#include "sim/sim_routing.h"

class CBusNetMatrix;
class CSimWeltParts;
class CSimTrip;
class CSimLocation;

class CSimTrafficSlot : public CSimObjectBT {
 public:
  static constexpr int kTripsPerStep = 30;
  static constexpr int kPivotsPerSlice = 30;
  // A slice of the full pass stops after this many milliseconds, so that
  // one step never holds a frame back for long.
  static constexpr unsigned kMillisecondsPerSlice = 6;
  static constexpr int kMaxCarRouteCost = 9999;

  // The two pointers are the world's route-matrix fields; the slot may swap
  // what they hold. `parts` answers whether public transport changed.
  CSimTrafficSlot(CBusNetMatrix** first, CBusNetMatrix** second, CSimWeltParts* parts = nullptr);
  ~CSimTrafficSlot() override;

  bool Create(const short& id, const CSimDate& date, CSimTrafficSlot* copyFrom);
  bool Destroy();

  // Editing (mode 0 only).
  bool AddCrossing(const short& id, ESimCrossingType type, int nwGoTime, int neGoTime);
  bool AddStreet(const short& id, const short& startId, const TSimDirection& startSide, const short& endId,
                 const TSimDirection& endSide, const int& length, double velocity, short capacity);
  bool RemoveStreet(const short& id);
  bool RemoveCrossing(const short& id);
  bool RelinkStreet(const short& id, const short& startId, const TSimDirection& startSide, const short& endId,
                    const TSimDirection& endSide, const int& length);
  bool MergeCrossings(short& kept, short& merged);

  bool SetStreetCapacity(const short& id, const short& capacity);
  bool SetStreetVelocity(const short& id, const double& velocity);
  bool SetStreetLength(const short& id, const int& length);
  bool SetStreetVls(const short& id, bool on);
  bool SetCrossingType(short id, ESimCrossingType type);
  bool SetNW_GoTime(short id, int seconds);
  bool SetNE_GoTime(short id, int seconds);

  // Queries.
  CSimStreet* GetStreet(const short& id) const;
  CSimCrossing* GetCrossing(const short& id) const;
  CSimCrossing* GetFirstCrossing() const;
  bool IsCrossingValid(short id) const;
  double StreetVelocity(const short& id) const;
  int StreetTravelTime(const short& id) const;
  int StreetLength(const short& id) const;
  int CarFlow(const short& id, short* capacity) const;
  bool GetCrossingsOfStreet(const short& id, short& start, short& end) const;
  // Whether a crossing (street) of this hour has the id, made or removed:
  // a removed one keeps its id until the next hour.
  bool HoldsId(short id, bool street) const;
  int ID() const { return IsCreated() ? m_slotId : 0; }
  CSimDate Date() const;
  CSimDate* GetDatePointer() { return &m_date; }
  int Mode() const;

  // Computation.
  bool SwitchToComputateMode(CSimTrip* trips);
  int Computate();
  int GetSlotState(int& pass) const;
  void MacheUmlegung(int limit);
  void AddTraffic(int from, int to, Route* matrix, int n, int size);
  void WriteBackBusData();
  // A loaded hour keeps the passengers its lines were saved with: its pass
  // runs while the savegame is still being read, before the lines are back.
  void KeepLineData() { m_keepLineData = 1; }
  int Pass() const { return m_pass; }
  int AssignmentCalls() const { return m_assignCalls; }
  // The trips the hour was computed with, as its inputs, for a savegame: a
  // count, then each one's mode, crossings, stops and size in their order.
  // A load computes the hour again from them.
  static constexpr uint32_t kSavedTripBytes = 16;
  uint32_t TripsSize() const;
  bool SaveTrips(FILE* file) const;
  // Such a list of `length` bytes read back as a chain of trips (null for
  // none); false, and no chain, for bytes that are no such list.
  static bool LoadTrips(FILE* file, uint32_t length, CSimTrip** chain);
  static void FreeTrips(CSimTrip* chain);

  // Routing.
  void InitRouting(bool unused = true);
  bool CalcRoutingMatrix();
  bool CalcRoutingMatrix2(int pivots, unsigned milliseconds);
  Route* pRoute(short fromId, short toId);
  int NrOfRoutedCrossings() const { return m_routing.N(); }
  const CSimRoutingMatrix& Routing() const { return m_routing; }
  bool FindCarRoute(CSimLocation* from, CSimLocation* to, CSimTrip* trip);
  bool FindFeetRoute(CSimLocation* from, CSimLocation* to, CSimTrip* trip);
  bool FindBusRoute(short fromStop, short toStop, CSimTrip* trip, int accessTime, bool assign);
  // Whether public transport has given the slot a route matrix to ask.
  bool HasBusNetMatrix() const { return m_secondMatrix && *m_secondMatrix; }

 private:
  bool Editable(const char* where) const;
  CSimStreet* FindStreet(const short& id) const;
  // Adds `size` to the streets [first, last) of one route and to the turns
  // between them.
  void LoadStreets(const int* first, const int* last, int size);
  bool StreetIndexes(CSimTrip* trip, int& from, int& to);

  CBusNetMatrix** m_firstMatrix;
  CBusNetMatrix** m_secondMatrix;
  CSimWeltParts* m_parts;
  CBinaryTree* m_crossingTree = nullptr;
  CBinaryTree* m_streetTree = nullptr;
  // The streets of the tree by id (ids above 0), so that the per-street
  // questions of a save or a turn take no walk down the tree.
  std::vector<CSimStreet*> m_streetIndex;
  CSimCrossing* m_anchorCrossing = nullptr;
  CSimStreet* m_anchorStreet = nullptr;
  int m_mode = 0;
  CSimDate m_date;
  CSimTrip* m_trips = nullptr;
  CSimRoutingMatrix m_routing;
  unsigned char m_swapPending = 0;
  int m_assignCalls = 0;
  CSimTrip* m_nextTrip = nullptr;
  short m_slotId = 0;
  unsigned char m_initPending = 0;
  int m_pass = 0;
  unsigned char m_assignPending = 0;
  unsigned char m_matrixPending = 0;
  unsigned char m_finalPending = 0;
  unsigned char m_keepLineData = 0;
  // Routes of the current loading step, found before any of them is loaded
  // so that all of them see the same travel times.
  std::vector<int> m_stepStreets;
  std::vector<std::pair<size_t, int>> m_stepRoutes;
  // Set while the streets of m_stepStreets are the only ones loaded since
  // the last routing pass started.
  bool m_stepLoaded = false;
};
