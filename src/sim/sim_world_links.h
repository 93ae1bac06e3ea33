#pragma once
// What the simulation world needs of the parts it owns but that live
// elsewhere: the city model, the public-transport route matrices and the
// cause-effect network. The game wires the real ones through
// CSimWeltParts; tests hand in small stand-ins.
#include <cstdio>

#include "sim/sim_date.h"

class CSimTrip;
class CSimTrafficSlot;
class CSimDistrict;
class CSimLocation;
class CSimLocationFactory;
class CSimWelt;
class CCyberNet;

class CSimCityModell {
 public:
  virtual ~CSimCityModell() = default;
  virtual bool Create(CSimLocationFactory* factory, CSimWelt* world) = 0;
  virtual void Destroy() = 0;
  // The hourly update; the date carries the hour of day only.
  virtual bool StartNextIntervall(const CSimDate& date) = 0;
  // A new chain of the hour's trips, owned by the caller from then on.
  virtual CSimTrip* Trips(int hour) = 0;
  virtual void CalculateTripStats(CSimTrafficSlot* slot) = 0;
  virtual void CalculateParkingData() = 0;
  virtual bool RegisterLocation(CSimLocation* location, short districtId) = 0;
  virtual bool RemoveLocation(CSimLocation* location) = 0;
  // The district with that id (1..256); throws for another id.
  virtual CSimDistrict* pDistrict(short id) = 0;
  virtual bool Save(FILE* file) = 0;
  // May throw a CSimError text.
  virtual bool Load(FILE* file) = 0;
};

class CBusNetMatrix {
 public:
  virtual ~CBusNetMatrix() = default;
  virtual bool Create() = 0;
  virtual void Destroy() = 0;
  // One slice of the closure; true while work remains.
  virtual bool CalcBusNetMatrix(int stops, unsigned milliseconds) = 0;
  // Rebuilds the matrix from public transport's line data.
  virtual bool SetupMatrix() = 0;
  virtual void ClearLineLoads() = 0;
  virtual void WriteBackBusData(int hour) = 0;
  virtual bool FindBusRoute(short fromStop, short toStop, CSimTrip* trip, int accessTime, bool assign) = 0;
};

class CSimWeltParts {
 public:
  virtual ~CSimWeltParts() = default;
  virtual CSimCityModell* NewCityModell() = 0;
  // Null when public transport has no matrix to offer.
  virtual CBusNetMatrix* NewBusNetMatrix() = 0;
  // A network holding the four node templates, or null on failure.
  virtual CCyberNet* NewCyberNet() = 0;
  virtual bool ReadCyberNet(CCyberNet* net, FILE* file) = 0;
  virtual void DeleteCyberNet(CCyberNet* net) = 0;
  // The definition text (resource 19396), null when no archive has it.
  virtual const char* CyberNetDefinition() = 0;
  // Public transport's net-changed flag: true once per change.
  virtual bool TakeBusNetChanged() = 0;
};
