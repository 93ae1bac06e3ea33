#pragma once
// What the simulation world needs of the parts it owns but that live
// elsewhere: the city model, the public-transport route matrices and the
// cause-effect network. The game wires the real ones through
// CSimWeltParts; tests hand in small stand-ins.
#include <cstdio>

#include "sim/sim_city_model.h"
#include "sim/sim_date.h"

class CBusNetMatrix;
class CCyberNet;
class CSimParkingDataSource;

class CSimWeltParts {
 public:
  virtual ~CSimWeltParts() = default;
  virtual CSimCityModell* NewCityModell() = 0;
  // A route matrix over public transport's lines; null when the game has
  // no public transport to offer.
  virtual CBusNetMatrix* NewBusNetMatrix() = 0;
  // A network holding the four node templates, or null on failure.
  virtual CCyberNet* NewCyberNet() = 0;
  virtual bool ReadCyberNet(CCyberNet* net, FILE* file) = 0;
  virtual void DeleteCyberNet(CCyberNet* net) = 0;
  // The definition text (resource 19396), null when no archive has it.
  virtual const char* CyberNetDefinition() = 0;
  // Public transport's net-changed flag: true once per change.
  virtual bool TakeBusNetChanged() = 0;
  // The size of the named node of the network; false when it has none.
  // A world without a cause-effect network has no nodes.
  virtual bool CyberNodeSize(CCyberNet*, const char*, double&) { return false; }
  // The city's targets of jobs, homes and residents; false when no part of
  // the game sets them, and the city then does not grow.
  virtual bool GrowthTargets(int&, int&, int&) { return false; }
  // The walk over the car parks' records; null in a game without car parks.
  virtual CSimParkingDataSource* ParkingData() { return nullptr; }
  // True while a savegame is being read.
  virtual bool LoadingGame() { return false; }
  // The version of the savegame being read, or that of the savegames the
  // game writes.
  static constexpr int kCurrentVersion = 240;
  virtual int LoadVersion() { return kCurrentVersion; }
  // A step of the loading indicator while a savegame is read, with `file`
  // at the point reached; the game draws it at most every half second.
  virtual void LoadProgress(FILE*) {}
};
