#pragma once
// The agent-based demand model of the city: the 16 x 16 districts, the list
// of agents (50 persons each), the city-wide counters of capacities and
// persons, the inverse travel times between districts, the averages of the
// agents' last trips, the trip-length distributions and the parameters of
// travel behaviour read every hour from the cause-effect network. The
// simulation world owns one, calls it once per simulated hour and takes
// from it the trips of the hour that a network slot assigns.
#include <cstdio>
#include <vector>

#include "sim/sim_date.h"
#include "sim/sim_district.h"
#include "sim/sim_trip.h"

// The kinds of map the thematic map shows; those of the districts have a
// map of 256 floats in the city model.
using TSimDistrictMapType = int;
constexpr TSimDistrictMapType QNO_MAP_I_BEVOELKERUNGSDICHTE = 2;          // residents
constexpr TSimDistrictMapType QNO_MAP_I_ARBEITSPLATZDICHTE = 3;           // jobs
constexpr TSimDistrictMapType QNO_MAP_I_LEHRSTEHENDE_WOHNUNGEN = 4;       // homes - residents
constexpr TSimDistrictMapType QNO_MAP_I_LEHRSTEHENDE_GEWERBEFLAECHE = 5;  // jobs - workers
constexpr TSimDistrictMapType QNO_MAP_V_OPNVNUTZER = 9;                   // bus share of the trips
constexpr TSimDistrictMapType QNO_MAP_V_PARKRAUM = 13;                    // parking quality
constexpr TSimDistrictMapType QNO_MAP_V_PKWERREICHBARKEIT = 14;           // car travel to the query district
constexpr TSimDistrictMapType QNO_MAP_NOT_USED1 = 18;                     // access grade from it
constexpr TSimDistrictMapType QNO_MAP_NOT_USED2 = 19;                     // distance class to it
constexpr TSimDistrictMapType QNO_MAP_NOT_USED3 = 20;                     // homes
constexpr TSimDistrictMapType QNO_MAP_NOT_USED4 = 21;                     // workers
constexpr TSimDistrictMapType QNO_MAP_NOT_USED5 = 22;                     // nothing

class CSimAgent;
class CSimAgentList;
class CSimStatisticServer;
class CSimLocationFactory;
class CSimTrafficSlot;
class CSimWelt;

class CSimCityModell {
 public:
  static constexpr int kGrid = 16;
  static constexpr int kDistricts = kGrid * kGrid;
  static constexpr int kPersonsPerAgent = 50;
  static constexpr int kTripLengthBins = 100;
  static constexpr int kTripLengthBinMetres = 400;
  static constexpr int kStatisticMaps = 11;
  // The neutral modal-split parameter: mode choice scales by parameter / 22.5.
  static constexpr float kNeutralModalSplit = 22.5f;
  // Persons per car on a car trip, until the cause-effect network says.
  static constexpr float kDefaultCarTripDivisor = 1.3f;

  CSimCityModell();
  // The operations that the simulation world calls are virtual so that the
  // world can be tested with a small city of its own.
  virtual ~CSimCityModell();
  CSimCityModell(const CSimCityModell&) = delete;
  CSimCityModell& operator=(const CSimCityModell&) = delete;

  virtual bool Create(CSimLocationFactory* factory, CSimWelt* world);
  virtual void Destroy();
  bool IsValid() const { return m_valid != 0; }

  // The hourly update; always true.
  virtual bool StartNextIntervall(const CSimDate& date);
  // A new chain of copies of the hour's trips (the trip built last comes
  // first), owned by the caller; null when there is none.
  virtual CSimTrip* Trips(int hour);
  // Every agent reads its trips' results from the computed slot.
  virtual void CalculateTripStats(CSimTrafficSlot* slot);
  // Spreads every district's parking demand over the car parks in reach,
  // writes their use and load back, and sets the districts' parking search
  // times and the parking map.
  virtual void CalculateParkingData();
  // The parking map's value of the district at (x, y): 1 - search time /
  // 360 s within 0.03..1, and 0 where nobody lives, works, learns or shops;
  // 0 before the first computation and outside the grid.
  float ParkingQuality(int x, int y) const;
  // The 256 distance weights of a car park in district `id` (kind 1: 1.2,
  // kind 2: 1.4, else 1.0 in its own district, three quarters of that in
  // the four edge neighbours, half in the four corners); all 0 for an id
  // outside 1..256.
  static void CalcDistMap(double* weights, short id, int kind);
  // The averages of the agents' last trips.
  void CalcStatisticData();

  // In the district of the id, or of the location's cell when it is 0.
  virtual bool RegisterLocation(CSimLocation* location, short districtId);
  virtual bool RemoveLocation(CSimLocation* location);

  // A car trip's measured travel time between two districts.
  void NewCarData(short from, short to, int seconds);
  // 3600 / seconds of travel: measured, else (when asked) the air-line
  // estimate, else 0.
  double AverageOneOverTravelTime(short from, short to, bool airLineIfUnknown) const;
  static double AverageOneOverTravelTimeLuftLinie(short from, short to);

  // 0 (error 1) for x or y outside 0..15.
  static short DistrictID(int x, int y);
  // False (error 1) for an id outside 1..256.
  static bool District(short id, int& x, int& y);
  // Throws for an id outside 1..256.
  virtual CSimDistrict* pDistrict(short id);
  CSimDistrict* pDistrictAt(int x, int y) { return &m_Districts[x][y]; }

  // City counters; each Add and Remove returns true.
  bool AddHomes(unsigned n);
  bool RemoveHomes(unsigned n);
  unsigned NrOfHomes() const { return m_Homes; }
  bool AddResidents(unsigned n);
  bool RemoveResidents(unsigned n);
  unsigned NrOfResidents() const { return m_Residents; }
  bool AddJobs(unsigned n);
  bool RemoveJobs(unsigned n);
  unsigned NrOfJobs() const { return m_Jobs; }
  bool AddWorkers(unsigned n);
  bool RemoveWorkers(unsigned n);
  unsigned NrOfWorkers() const { return m_Workers; }
  bool AddSchoolSeats(unsigned n);
  bool RemoveSchoolSeats(unsigned n);
  unsigned NrOfSchoolSeats() const { return m_SchoolSeats; }
  bool AddScholars(unsigned n);
  bool RemoveScholars(unsigned n);
  unsigned NrOfScholars() const { return m_Scholars; }
  bool AddUniversitySeats(unsigned n);
  bool RemoveUniversitySeats(unsigned n);
  unsigned NrOfUniversitySeats() const { return m_UniversitySeats; }
  bool AddStudents(unsigned n);
  bool RemoveStudents(unsigned n);
  unsigned NrOfStudents() const { return m_Students; }
  bool AddShops(unsigned n);
  bool RemoveShops(unsigned n);
  unsigned NrOfShops() const { return m_Shops; }
  bool AddConsumers(unsigned n);
  bool RemoveConsumers(unsigned n);
  unsigned NrOfConsumers() const { return m_Consumers; }
  bool AddLeisurePoints(unsigned n);
  bool RemoveLeisurePoints(unsigned n);
  unsigned NrOfLeisurePoints() const { return m_LeisurePoints; }
  bool AddParking(unsigned n);
  bool RemoveParking(unsigned n);
  unsigned NrOfParking() const { return m_Parking; }
  bool AddLeisurers(unsigned n);
  bool RemoveLeisurers(unsigned n);
  unsigned NrOfLeisurers() const { return m_Leisurers; }
  // The spaces of the city's lots, summed over its locations.
  void AddSpaces(int residential, int industrial, int commercial);
  unsigned NrOfResSpace() const { return m_ResSpace; }
  unsigned NrOfIndSpace() const { return m_IndSpace; }
  unsigned NrOfComSpace() const { return m_ComSpace; }

  // Trips per hour of the whole city, in persons (cars for car trips).
  int NrOfMIVTrips() const;
  int NrOfBusTrips() const;
  int NrOfFeetTrips() const;

  double ReisezeitMIV() const { return m_ReisezeitMIV; }
  double ZugangszeitMIV() const { return m_ZugangszeitMIV; }
  double ParksuchzeitMIV() const { return m_ParksuchzeitMIV; }
  double FahrzeitMIV() const { return m_FahrzeitMIV; }
  double ReisezeitBus() const { return m_ReisezeitBus; }
  double FahrzeitBus() const { return m_FahrzeitBus; }
  double ZugangszeitBus() const { return m_ZugangszeitBus; }
  double UmsteigezeitBus() const { return m_UmsteigezeitBus; }
  double StreckenlaengeMIV() const { return m_StreckenlaengeMIV; }
  double GeschwindigkeitMIV() const { return m_GeschwindigkeitMIV; }
  double StreckenlaengeBus() const { return m_StreckenlaengeBus; }
  double GeschwindigkeitBus() const { return m_GeschwindigkeitBus; }
  double Raumwiderstaende() const { return m_Raumwiderstaende; }
  double StreckenlaengeFeet() const { return m_StreckenlaengeFeet; }

  // Behaviour parameters as last read from the cause-effect network.
  float TripScale() const { return m_TripScale; }
  float GravityParameter() const { return m_Gravity; }
  float ModalSplitParameter() const { return m_ModalSplit; }
  float CarOwnership() const { return m_CarOwnership; }
  float CarTripFactor() const { return m_CarTripFactor; }
  float CarOwnerDeduction() const { return m_CarOwnerDeduction; }
  float CarTripDivisor() const { return m_CarTripDivisor; }
  // Modal-split parameter / 22.5: 1 is neutral.
  float ModalSplitAdjust() const;
  // Reads the parameters from the world's cause-effect network; a node it
  // does not have leaves its parameter as it was.
  void ReadBehaviourParameters();

  CSimStatisticServer* pStatisticServer() const { return m_pStatisticServer; }
  CSimAgentList* pAgentList() const { return m_pAgents; }
  CSimTrafficSlot* pTrafficSlot(int i) const;
  CSimWelt* pSimWelt() const { return m_pSimWelt; }
  CSimLocationFactory* pLocationFactory() const { return m_pLocationFactory; }
  int NrOfAgents() const;
  void CreateTripList(CSimAgent* agent);

  void SetQueryDistrict(int x, int y);
  void GetQueryDistrict(int& x, int& y) const;
  // The 256 floats of a map type, cell [16 x + y] for the district (x, y);
  // null for a type without a map.
  float* GetPointerToStatisticMap(TSimDistrictMapType type);
  // Fills the map of the type from the districts and sets the maximum of
  // its colour scale; a type without a map changes nothing. The parking
  // map is the parking search times' and only gets its maximum.
  void UpdateStatisticMap(TSimDistrictMapType type, float& maximum);
  // The population per district ("Population.n") and the day's trips by
  // mode between districts ("FahrtenAuto.n", "FahrtenBus.n",
  // "FahrtenFuss.n"), each file written whole or not at all; false, with a
  // log line, when one could not be written.
  bool WriteRawData(int n);

  void GetGroupType(int& g0, int& g1, int& g2, int& g3, int& g4) const;
  // Counts the agents per status group.
  void CalculateAgentGroupDistribution();
  // Lets every agent go, each leaving its districts; the locations stay.
  void RemoveAllAgents();
  int ReplanCount() const { return m_ReplanCount; }

  void ChangeAgentTripLengthGroup();
  int TripLengthGroup() const { return m_TripLengthGroup; }
  // The 100 bins of 400 m for car (3), bus (1) or walking (0); null otherwise.
  const double* pTripLengthDistribution(ESimTransportationMode mode) const;
  void CalcTripLengthDistibution();

  void SetAgentWorker_Target(float percent);
  void SetAgentNoWorker_Target(float percent);
  void SetAgentStudent_Target(float percent);
  void GetAgent_Target(int& workers, int& nonWorkers, int& students) const;
  void GetAgentReal(int& workers, int& nonWorkers, int& students) const;
  float WorkerTarget() const { return m_TargetWorkers; }
  float NoWorkerTarget() const { return m_TargetNoWorkers; }
  float StudentTarget() const { return m_TargetStudents; }

  bool CheckAgentIntegrity();

  // Growth towards the data exchange's targets.
  // Newcomers move in only while the town has more jobs than six tenths of
  // its residents: otherwise no home, however empty, takes anyone.
  bool JobsLetPeopleMoveIn() const { return m_Jobs > m_Residents * 0.6; }
  bool CityBuildings();
  bool CityPopulationChange(const CSimDate& date);
  bool MorePeople(int persons, bool boost);
  bool CreateNewAgent(CSimDistrict* district);
  bool MoreHouses(int homes);
  bool LessHouses(int homes);
  bool MoreWork(int jobs);
  bool LessWork(int jobs);

  // Access grade of public transport and distance class of a trip.
  int Erschliessunggrad(CSimLocation* from, CSimLocation* to);
  int Erschliessunggrad(short fromDistrict, short toDistrict);
  int Entfernungsklasse(CSimLocation* from, CSimLocation* to);
  int Entfernungsklasse(short fromDistrict, short toDistrict);
  // Destination choice by the gravity rule; null when no location is found.
  CSimLocation* FindLocation(ESimDestination kind, CSimAgent* agent);

  // The agent list's record; nothing else of the model is saved.
  virtual bool Save(FILE* file);
  // May throw a CSimError text.
  virtual bool Load(FILE* file);
  // What the agent list's record does not carry and the city goes on from:
  // the re-planning count, the behaviour parameters last read from the
  // cause-effect network, the districts' parking search times with their
  // map, and the measured car travel times (only the cells measured).
  // Without them a loaded city would plan, choose and park otherwise than
  // the saved one. The parameters are read when an interval starts, and the
  // network steps in between (at 7, 12 and 17 o'clock): read again at a
  // load they would scale the trips of the hours up to the next interval by
  // the stepped network instead. The size in bytes of what SaveState writes:
  uint32_t StateSize() const;
  bool SaveState(FILE* file) const;
  // Reads `length` bytes that SaveState wrote; false, with nothing taken
  // over, when they are not such a record.
  bool LoadState(FILE* file, uint32_t length);

 private:
  void CheckValid(const char* where) const;
  // The measured travel time of two ids 1..256; 0 where none is.
  float Measured(short from, short to) const {
    return m_Measured.empty() ? 0.0f : m_Measured[static_cast<size_t>((from - 1) * kDistricts + (to - 1))];
  }
  // The measured cells from the district of id from, made on first use.
  float* MeasuredRow(short from);
  // Sets `a` and moves `b` and `c` in proportion so that the three sum to 100.
  static void BalanceWerte(float& a, float& b, float& c);
  void ResetCounters();
  // The agent list and the statistic server, made and dropped with the model.
  bool CreateAgentParts();
  void DestroyAgentParts();
  // A random district of the grid.
  CSimDistrict* RandomDistrict();
  // Puts up (kind 1 jobs, else homes) until n is met or the attempts run out.
  int BuildSpace(int kind, int n);
  // Takes down (kind 1 jobs, else homes) in districts with more than
  // minJobs jobs until n is met or the attempts run out.
  void TakeDownSpace(int kind, int n, int minJobs);

  unsigned char m_valid = 0;
  CSimDistrict m_Districts[kGrid][kGrid];
  CSimAgentList* m_pAgents = nullptr;
  // The measured cells by (from - 1) x 256 + (to - 1), none while no trip
  // has been measured: a new model (each load makes one) neither clears nor
  // holds 256 x 256 floats for a town without cars.
  std::vector<float> m_Measured;
  CSimStatisticServer* m_pStatisticServer = nullptr;
  CSimLocationFactory* m_pLocationFactory = nullptr;
  CSimWelt* m_pSimWelt = nullptr;
  float m_TargetWorkers = 60.0f;
  float m_TargetNoWorkers = 30.0f;
  float m_TargetStudents = 10.0f;
  unsigned m_Groups[5] = {};
  int m_TripLengthGroup = 5;
  unsigned m_ResSpace = 0;
  unsigned m_ComSpace = 0;
  unsigned m_IndSpace = 0;
  unsigned m_Homes = 0;
  unsigned m_Residents = 0;
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
  unsigned m_Parking = 0;
  int m_CarTrips = 0;
  int m_BusTrips = 0;
  int m_FeetTrips = 0;
  double m_ReisezeitMIV = 0;
  double m_ZugangszeitMIV = 0;
  double m_ParksuchzeitMIV = 0;
  double m_FahrzeitMIV = 0;
  double m_ReisezeitBus = 0;
  double m_FahrzeitBus = 0;
  double m_ZugangszeitBus = 0;
  double m_UmsteigezeitBus = 0;
  double m_StreckenlaengeMIV = 0;
  double m_GeschwindigkeitMIV = 0;
  double m_StreckenlaengeBus = 0;
  double m_GeschwindigkeitBus = 0;
  double m_Raumwiderstaende = 0;
  double m_StreckenlaengeFeet = 0;
  float m_Maps[kStatisticMaps][kDistricts] = {};
  // The parking map by cell 16 x + y (the statistic map of its type).
  float m_ParkingMap[kDistricts] = {};
  int m_QueryX = 8;
  int m_QueryY = 8;
  // Neutral values until the first hourly read: 2.5 trips per person and
  // day, the gravity exponent 1, no change of car trips.
  float m_TripScale = 1.0f;
  float m_Gravity = 1.0f;
  float m_ModalSplit = kNeutralModalSplit;
  float m_CarOwnership = 450.0f;
  float m_CarTripFactor = 1.0f;
  float m_CarOwnerDeduction = 0.0f;
  float m_CarTripDivisor = kDefaultCarTripDivisor;
  double m_TripLength[3][kTripLengthBins] = {};
  int m_ReplanCount = 20;
};
