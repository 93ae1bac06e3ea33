#pragma once
// What the world hands the demand simulation: its city model, the
// cause-effect network and the network's definition from the archives.
#include "sim/sim_world_links.h"

class QnoResourceManager;

class CZorWorldSimParts : public CSimWeltParts {
 public:
  // The resource id of the cause-effect network's definition text.
  static constexpr unsigned kDefinitionResource = 19396;

  explicit CZorWorldSimParts(QnoResourceManager* resources) : m_pResources(resources) {}
  CSimCityModell* NewCityModell() override;
  CBusNetMatrix* NewBusNetMatrix() override { return nullptr; }
  CCyberNet* NewCyberNet() override;
  bool ReadCyberNet(CCyberNet* net, FILE* file) override;
  void DeleteCyberNet(CCyberNet* net) override;
  // Null unless the blob is a text that ends inside its length.
  const char* CyberNetDefinition() override;
  bool TakeBusNetChanged() override { return false; }

 private:
  QnoResourceManager* m_pResources;
};
