#pragma once
// The demand simulation's root: the clock of simulated hours, the chain of
// network time slots (editing, computing, computed, active) and the hourly
// step machine that computes one hour in frame-sized calls.
#include <cstdio>

#include "sim/sim_date.h"
#include "sim/sim_network.h"
#include "sim/sim_world_links.h"

class CSimTrafficSlot;
class CSimDistrict;

class CSimObject {
 public:
  virtual ~CSimObject() = default;
  virtual int StartNextIntervall(bool modelStep) = 0;
  virtual int AddCrossing(short id) = 0;
  virtual int AddStreet(const short& startId, const TSimDirection& startSide, const short& endId,
                        const TSimDirection& endSide, int length, short id) = 0;
  virtual void PrintData(FILE* file) = 0;
};

class CSimWelt : public CSimObject {
 public:
  explicit CSimWelt(CSimWeltParts* parts);
  ~CSimWelt() override;
  CSimWelt(const CSimWelt&) = delete;
  CSimWelt& operator=(const CSimWelt&) = delete;

  bool Create(CSimLocationFactory* factory);
  bool Destroy();
  // Lets the city's agents go before the buildings are taken down as a
  // whole: otherwise every building that goes sends its agents looking for
  // another home in a town that is going away, to be logged as having none.
  void ReleaseAgents();
  bool IsValid() const { return m_valid != 0; }

  int StartNextIntervall(bool modelStep) override;
  int Computate(int countdown);
  bool ActivateCalculatedSlot();
  int ComputateState() const { return m_state; }
  int ComputateSlotState(int& pass) const;
  CSimDate Date() const;
  void ResetDate();
  void PrintData(FILE* file) override;

  // Network editing, passed to the editing slot.
  int AddCrossing(short id) override;
  int AddStreet(const short& startId, const TSimDirection& startSide, const short& endId,
                const TSimDirection& endSide, int length, short id) override;
  bool RemoveStreet(const short& id);
  bool RelinkStreet(const short& id, const short& startId, const TSimDirection& startSide, const short& endId,
                    const TSimDirection& endSide, const int& length);
  bool RemoveCrossing(const short& id);
  bool MergeCrossings(short kept, short merged);
  bool GetCrossingsOfStreet(const short& id, short* start, short* end);
  bool SetCrossingType(short id, ESimCrossingType type);
  bool SetNW_GoTime(short id, int seconds);
  bool SetNE_GoTime(short id, int seconds);
  bool SetStreetCapacity(const short& id, const short& capacity);
  bool SetStreetLength(const short& id, const int& length);
  bool SetStreetVelocity(const short& id, const double& velocity);
  bool SetStreetVls(const short& id, bool on);
  bool IsCrossingValid(short id) const;
  double StreetVelocity(short id) const;
  // Whether `crossings` more crossings and `streets` more streets would
  // each get an id of their own.
  bool HasFreeIds(int crossings, int streets) const;

  // Queries on the active slot.
  int CarFlow(const short& street) const;
  int StreetCapacity(short street) const;
  int CrossingFlow(short crossing, short street) const;
  int CrossingCapacity(short crossing, short street) const;
  int StreetLength(short street) const;
  int StreetTravelTime(short street) const;
  CSimTrafficSlot* pTrafficSlot(int which = 0) const;
  CSimStreet* GetStreet(short id, int which) const;
  CSimCrossing* GetFirstCrossing(int which) const;

  bool RegisterLocation(CSimLocation* location, short districtId);
  bool RemoveLocation(CSimLocation* location);
  CSimDistrict* GetDistrict(int x, int y) const;
  CCyberNet* pCyberNet() const;
  // The size of the cause-effect network's node of that name; false when
  // the network has no such node.
  bool CyberNodeSize(const char* name, double& size) const;
  // The city's growth targets; false when the game sets none.
  bool GrowthTargets(int& jobs, int& homes, int& people) const;
  // The car parks' records (CSimWeltParts::ParkingData); null without.
  CSimParkingDataSource* ParkingData() const;
  // True while a savegame is being read.
  bool LoadingGame() const;
  // The version of the savegame being read.
  int LoadVersion() const;
  // A step of the game's loading indicator (CSimWeltParts::LoadProgress).
  void LoadProgress(FILE* file) const;
  // The first hour that a game computes (hour 6 of its first day).
  static constexpr int kFirstHour = 6;
  CSimCityModell* pCityModell() const { return m_city; }
  void CalculateTripStats();

  bool Save(FILE* file);
  bool Load(FILE* file);
  // The city model's state beyond the block (CSimCityModell::SaveState).
  uint32_t StateSize() const;
  bool SaveState(FILE* file) const;
  bool LoadState(FILE* file, uint32_t length);
  // The trips the active hour was computed with (CSimTrafficSlot::SaveTrips),
  // and such trips read back for the next Load, which computes the loaded
  // hour from them instead of from the loaded people's trips of the hour
  // (those may have changed with the hour's step of the city).
  uint32_t HourTripsSize() const;
  bool SaveHourTrips(FILE* file) const;
  bool TakeHourTrips(FILE* file, uint32_t length);

  // The slots by role, for the views and tests.
  CSimTrafficSlot* EditingSlot() const { return m_editing; }
  CSimTrafficSlot* ComputingSlot() const { return m_computing; }
  CSimTrafficSlot* ComputedSlot() const { return m_computed; }
  CSimTrafficSlot* ActiveSlot() const {
    FinishLoadedHour();
    return m_active;
  }
  // Whether the loaded hour's routing pass is still running in slices.
  bool LoadedHourPending() const { return m_loadedPending != 0; }

 private:
  // The hour that a load makes active has its routing pass run a slice per
  // Computate() call; whatever reads the active hour, and the start of the
  // next hour, first runs what is left of it.
  void FinishLoadedHour() const;
  bool EditingReady(const char* where) const;
  static CSimTrafficSlot* DeleteSlot(CSimTrafficSlot* slot);
  CSimTrafficSlot* SlotByRole(int which) const;

  // The ids of one kind: new ones count up from the highest given; once
  // every id up to the highest has been given, the ids that no hour holds
  // any more (a removed one stays taken for the rest of its hour) are given
  // again, searched from where the last search ended.
  struct IdSource {
    unsigned short highest = 0;
    unsigned short reuseFrom = 1;
  };
  // Whether a slot holds a crossing (street) under the id.
  bool IdInUse(short id, bool street) const;
  // The id for a new crossing (street), 0 when none is free.
  short NextId(IdSource& ids, bool street);
  // Counts free ids up to `enough`.
  int CountFreeIds(const IdSource& ids, bool street, int enough) const;

  CSimWeltParts* m_parts;
  unsigned char m_valid = 0;
  CSimTrafficSlot* m_editing = nullptr;
  CSimTrafficSlot* m_active = nullptr;
  CSimTrafficSlot* m_computed = nullptr;
  CSimTrafficSlot* m_computing = nullptr;
  IdSource m_crossingIds;
  IdSource m_streetIds;
  unsigned short m_slotIds = 0;
  CSimCityModell* m_city = nullptr;
  CCyberNet* m_cyberNet = nullptr;
  int m_state = 0;
  unsigned char m_modelStep = 0;
  int m_countdown = 0;
  mutable unsigned char m_loadedPending = 0;
  // The saved hour's trips taken for the next Load.
  CSimTrip* m_loadTrips = nullptr;
  CBusNetMatrix* m_firstMatrix = nullptr;
  CBusNetMatrix* m_secondMatrix = nullptr;
};
