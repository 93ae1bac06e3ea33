#pragma once
// One district of the 16 x 16 grid over the map (8 x 8 cells each): the
// locations that stand in it, the agents that have a destination in it, the
// capacities its locations offer, the persons its agents bring and the
// times that car routing reads. Ids run 1..256 as x + 16 y + 1.
#include "framework/zor_pointer_list.h"
#include "sim/sim_model_iface.h"

class CSimAgent;
class CSimAgentList;
class CSimCityModell;

class CSimDistrict {
 public:
  static constexpr int kInitialTime = 70;  // seconds of access and parking search

  CSimDistrict() = default;
  // The readers below are virtual so that the users of a district can be
  // tested with a small district of their own.
  virtual ~CSimDistrict();
  CSimDistrict(const CSimDistrict&) = delete;
  CSimDistrict& operator=(const CSimDistrict&) = delete;

  bool Create(short id, CSimCityModell* model);
  // Forgets the locations (they search their next best crossing) and the
  // agents (which it never owns).
  bool Destroy();
  bool IsValid() const { return m_valid != 0; }

  // Adds (subtracts) the location's capacities to the district and the city.
  bool AddLocation(CSimLocation* location);
  // Every agent of the district that used the location chooses again.
  bool RemoveLocation(CSimLocation* location);

  // Counts the agent's persons for the kind; refuses when homes or jobs are
  // too few and for kinds that are not counted.
  bool LinkAgent(ESimDestination kind, CSimAgent* agent);
  bool UnlinkAgent(ESimDestination kind, CSimAgent* agent);

  // A random location of the district that offers the kind (any location
  // for a kind without a capacity); null when none does.
  CSimLocation* pFindLocation(ESimDestination kind, int persons);
  // The location of the district whose cell is (x, y) and that offers the
  // kind; null when there is none.
  CSimLocation* pLocationAt(ESimDestination kind, int x, int y);
  bool CheckForEmptyDestination(ESimDestination kind, int persons) const;
  CSimLocation* GetHeadLocation() const;
  void pCopyOfLocationList(CLocationListT<CSimLocation>* target) const;
  int NrOfLocations() const;
  // The agents with a destination here; not owned.
  CSimAgentList* pAgentList() const { return m_pAgents; }

  virtual short ID() const;
  virtual int NrOfHomes() const;
  virtual int NrOfResidents() const;
  virtual int NrOfJobs() const;
  virtual int NrOfWorkers() const;
  virtual int NrOfShops() const;
  virtual int NrOfConsumers() const;
  virtual int NrOfLeisurePoints() const;
  virtual int NrOfLeisurers() const;
  virtual int NrOfSchoolSeats() const;
  virtual int NrOfScholars() const;
  int NrOfParking() const;
  int NrOfStudents() const;
  int NrOfUniversitySeats() const;
  int NrOfOthers() const;
  // The persons whose destination lies here: residents, workers, scholars,
  // students, consumers and private-trip persons.
  long NrOfPersons() const;
  int NrOfResSpace() const;
  int NrOfIndSpace() const;
  int NrOfComSpace() const;

  void SetParksuchzeit(int seconds) { m_Parksuchzeit = seconds; }
  virtual int Parksuchzeit() const { return m_Parksuchzeit; }
  virtual int Zugangszeit() const { return m_Zugangszeit; }

  // Sums the bus and car trips of the district's agents.
  void UpdateTripStats();
  int NrOfBusTrips() const { return m_BusTrips; }
  int NrOfCarTrips() const { return m_CarTrips; }

 private:
  // Throws unless the district is valid.
  void CheckValid(const char* where) const;
  // The counter of persons for a destination kind, null for another kind.
  unsigned* PersonCounter(ESimDestination kind);
  // Adds (sign 1) or subtracts (sign -1) the location's capacities.
  void CountLocation(const CSimLocation* location, int sign);
  static bool Offers(const CSimLocation* location, ESimDestination kind);
  // The district's own list of agents, made and dropped with the district.
  bool CreateAgentList();
  void DestroyAgentList();
  // Tells the agents of the district that the location is gone; they are
  // collected first, as an agent that must go leaves this list.
  void NotifyAgentsOfRemoval(CSimLocation* location);

  unsigned char m_valid = 0;
  CLocationListT<CSimLocation>* m_pLocations = nullptr;
  CSimAgentList* m_pAgents = nullptr;
  unsigned m_ResSpace = 0;
  unsigned m_IndSpace = 0;
  unsigned m_ComSpace = 0;
  unsigned m_Homes = 0;
  unsigned m_Residents = 0;
  unsigned m_Parking = 0;
  unsigned m_Jobs = 0;
  unsigned m_Workers = 0;
  unsigned m_SchoolSeats = 0;
  unsigned m_Scholars = 0;
  unsigned m_UniversitySeats = 0;
  unsigned m_Students = 0;
  unsigned m_Shops = 0;
  unsigned m_Consumers = 0;
  unsigned m_LeisurePoints = 0;
  unsigned m_Leisurers = 0;
  unsigned m_Others = 0;
  short m_ID = 0;
  int m_Parksuchzeit = kInitialTime;
  int m_Zugangszeit = kInitialTime;
  CSimCityModell* m_pCityModell = nullptr;
  int m_BusTrips = 0;
  int m_CarTrips = 0;
};
