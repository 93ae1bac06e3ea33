#pragma once
// An agent: a group of persons (50 in every agent the city creates) who
// share one status group, one home and one plan of the day, with at most one
// trip in each of the 24 hours. Agents are listed in the city model and in
// the districts that hold one of their destinations.
#include <cstdint>
#include <cstdio>
#include <deque>
#include <unordered_map>
#include <vector>

#include "framework/zor_links.h"
#include "sim/sim_destination.h"
#include "sim/sim_model_iface.h"
#include "sim/sim_trip.h"

class CSimCityModell;
class CSimTrafficSlot;

enum ESimStatusGroup : int {
  SIM_GROUP_EMPLOYED_CAR = 0,
  SIM_GROUP_EMPLOYED_NO_CAR = 1,
  SIM_GROUP_UNEMPLOYED_CAR = 2,
  SIM_GROUP_UNEMPLOYED_NO_CAR = 3,
  SIM_GROUP_STUDENT = 4
};
constexpr int kSimStatusGroups = 5;

class CSimAgent {
 public:
  static constexpr int kHours = 24;
  // The persons an agent of the city stands for.
  static constexpr int kPersons = 50;
  // A saved agent claiming more persons than this is refused on loading.
  static constexpr int kMaxPersons = 100000;
  // The i32 that ends an agent's trips in its record.
  static constexpr int kTripsEnd = 25;
  // The word that ends an agent's trips in its record may name, instead of
  // 25, the buildings of the agent's destinations (see BuildingsWord).
  static constexpr uint32_t kBuildingsMark = 0xC0000000u;
  static constexpr int kBuildingsInWord = 5;

  CSimAgent() = default;
  // An agent that is still valid is destroyed first (and the fault logged).
  ~CSimAgent();
  CSimAgent(const CSimAgent&) = delete;
  CSimAgent& operator=(const CSimAgent&) = delete;

  // Errors are thrown as CSimError texts. Without a home district (used by
  // Load) the agent gets no destination.
  void Create(ESimStatusGroup group, int size, CSimCityModell* model, CSimDistrict* home);
  void Destroy();
  bool IsValid() const { return m_valid != 0; }

  // The three steps of re-planning, in this order.
  void ClearTrips();
  void AddTrip(int hour, ESimDestination fromKind, unsigned fromCount, ESimDestination toKind, unsigned toCount);
  void UpdateDestinationList();
  // Gives the trip of that hour its route data from the slot.
  void UpdateTripInfo(int hour, CSimTrafficSlot* slot);

  CSimTrip* pTrip(int hour) const;
  // A copy of the hour's trip mapped to crossings, owned by the caller;
  // null for an empty hour.
  CSimTrip* pCopyOfTrip(int hour) const;
  CSimDestination* pHomeDestination() const;
  CSimDestinationList* pDestinationList() const { return m_pDestinations; }
  CSimCityModell* pCityModell() const { return m_pCityModell; }
  // Moves the destinations off a location that leaves the city.
  void NotifyLocationRemoved(CSimLocation* location);

  int Size() const { return m_size; }
  ESimStatusGroup StatusGroup() const;

  void CalcStatisticData();
  int NrOfMIVTrips() const { return m_carTrips; }
  int NrOfBusTrips() const { return m_busTrips; }
  int NrOfFeetTrips() const { return m_walkTrips; }
  double ReisezeitMIV() const { return m_carTravel; }
  double ZugangszeitMIV() const { return m_carAccess; }
  double ParksuchzeitMIV() const { return m_carParking; }
  double FahrzeitMIV() const { return m_carDriving; }
  double ReisezeitBus() const { return m_busTravel; }
  double FahrzeitBus() const { return m_busRiding; }
  double ZugangszeitBus() const { return m_busAccess; }
  double UmsteigezeitBus() const { return m_busTransfer; }
  double StreckenlaengeMIV() const { return m_carLength; }
  double StreckenlaengeFeet() const { return m_walkLength; }
  double GeschwindigkeitMIV() const { return m_carSpeed; }
  double StreckenlaengeBus() const { return m_busLength; }
  double GeschwindigkeitBus() const { return m_busSpeed; }
  double Raumwiderstaende() const { return m_resistance; }

  bool CheckAgentIntegrity() const;
  void PrintData(FILE* file) const;

  // The agent's body of the savegame record (without the leading 'A').
  bool Save(FILE* file) const;
  // Throws a CSimError text for a record that cannot be restored; the file
  // stays in step wherever the record's own framing allows.
  void Load(FILE* file, CSimCityModell* model);

  // The savegame version being read: trips carry their statistics from
  // version 120 on and their mode from 130 on.
  static void SetLoadVersion(int version) { s_loadVersion = version; }
  static int LoadVersion() { return s_loadVersion; }

 private:
  void CheckValid(const char* place) const;
  void ZeroStatistics();
  void DeleteTrips();
  // Finds (or takes over, or chooses) the destination of a trip end.
  CSimDestination* TakeDestination(ESimDestination kind, unsigned count, CSimTrip* trip);
  void ReleaseDestination(CSimDestination* destination, const char* place);

  // The end of the trips' word that names the cell of each destination's
  // building within its district, six bits a destination (x mod 8 in the
  // upper three, y mod 8 in the lower three) under kBuildingsMark; 25 when
  // there are more than five destinations or a building lies outside the
  // district of its destination. Any loader reads a value outside 0..23 as
  // the end of the trips.
  int32_t BuildingsWord() const;
  // Puts the loaded destinations back into the buildings the word names;
  // a word without the mark, or a cell without such a building, leaves a
  // destination where the load put it.
  void RestoreBuildings(int32_t word);

  static int s_loadVersion;

  unsigned char m_valid = 0;
  int m_size = 0;
  ESimStatusGroup m_group = SIM_GROUP_EMPLOYED_CAR;
  CSimTrip* m_trips[kHours] = {};
  CSimCityModell* m_pCityModell = nullptr;
  CSimDestinationList* m_pDestinations = nullptr;
  CSimDestinationList* m_pPrevDestinations = nullptr;
  int m_carTrips = 0;
  int m_busTrips = 0;
  int m_walkTrips = 0;
  double m_carTravel = 0.0;
  double m_carAccess = 0.0;
  double m_carParking = 0.0;
  double m_carDriving = 0.0;
  double m_busTravel = 0.0;
  double m_busRiding = 0.0;
  double m_busAccess = 0.0;
  double m_busTransfer = 0.0;
  double m_carLength = 0.0;
  double m_walkLength = 0.0;
  double m_carSpeed = 0.0;
  double m_busLength = 0.0;
  double m_busSpeed = 0.0;
  double m_resistance = 0.0;
};

class CSimAgentListElement {
 public:
  // Refuses a null agent and one that is not valid (thrown texts).
  explicit CSimAgentListElement(CSimAgent* agent);
  CSimAgent* pAgent() const { return m_pAgent; }

 private:
  friend struct ZorLinkFields<CSimAgentListElement>;
  CSimAgent* m_pAgent;
  CSimAgentListElement* m_prev = nullptr;
  CSimAgentListElement* m_next = nullptr;
};

// A list of agents, newest in front, with one iterator. The elements live
// in the list's own storage and are reused, and every agent's elements are
// indexed, so taking an agent out costs the same however long the list is.
// The list owns its agents only where an operation says so.
class CSimAgentList {
 public:
  CSimAgentList() = default;
  ~CSimAgentList();
  CSimAgentList(const CSimAgentList&) = delete;
  CSimAgentList& operator=(const CSimAgentList&) = delete;

  // Refuses an agent that is not valid (thrown text); true.
  bool InsertAgent(CSimAgent* agent);
  // The agent's front-most element leaves the list; with destroy the agent
  // is destroyed and deleted. An agent not in the list: sim error 1, false.
  bool RemoveAgent(CSimAgent* agent, bool destroy);
  bool RemoveFirstAgent(bool destroy);
  // Empties the list; with destroy every agent is destroyed and deleted.
  void Destroy(bool destroy);
  int NrOfElements() const { return m_links.GetCount(); }
  bool Contains(const CSimAgent* agent) const;

  bool ResetIterator();
  CSimAgent* pNextAgent();

  // The agent section of the savegame: 'A' and an agent body for each valid
  // agent in list order, then 'E'.
  bool Save(FILE* file) const;
  // Empties the list (without deleting agents) and reads the section, in
  // the saved order; the result is the number of agents that could not be
  // restored. An unknown tag throws.
  int Load(FILE* file, CSimCityModell* model);

 private:
  using Links = CZorvaLinks<CSimAgentListElement, ZorLinkFields<CSimAgentListElement>>;
  CSimAgentListElement* NewElement(CSimAgent* agent);
  // Links the agent in front of the list or at its end.
  bool Link(CSimAgent* agent, bool front);
  void Release(CSimAgentListElement* element, bool destroy);

  Links m_links;
  CSimAgentListElement* m_pIterator = nullptr;
  std::deque<CSimAgentListElement> m_storage;
  std::vector<CSimAgentListElement*> m_free;
  // Each agent's elements, the front-most last.
  std::unordered_map<const CSimAgent*, std::vector<CSimAgentListElement*>> m_index;
};
