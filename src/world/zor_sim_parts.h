#pragma once
// What the world hands the demand simulation: its city model, the
// cause-effect network and the network's definition from the archives.
#include "sim/sim_world_links.h"

class CZorvaWorld;
class QnoResourceManager;

class CZorWorldSimParts : public CSimWeltParts {
 public:
  // The resource id of the cause-effect network's definition text.
  static constexpr unsigned kDefinitionResource = 19396;

  // Without a world the city has no growth targets.
  explicit CZorWorldSimParts(QnoResourceManager* resources, CZorvaWorld* world = nullptr)
      : m_pResources(resources), m_pWorld(world) {}
  CSimCityModell* NewCityModell() override;
  CBusNetMatrix* NewBusNetMatrix() override { return nullptr; }
  CCyberNet* NewCyberNet() override;
  bool ReadCyberNet(CCyberNet* net, FILE* file) override;
  void DeleteCyberNet(CCyberNet* net) override;
  // Null unless the blob is a text that ends inside its length.
  const char* CyberNetDefinition() override;
  bool TakeBusNetChanged() override { return false; }
  bool CyberNodeSize(CCyberNet* net, const char* name, double& size) override;
  // The data exchange's targets of jobs, homes and residents.
  bool GrowthTargets(int& jobs, int& homes, int& people) override;
  bool LoadingGame() override;
  int LoadVersion() override;

 private:
  QnoResourceManager* m_pResources;
  CZorvaWorld* m_pWorld;
};
