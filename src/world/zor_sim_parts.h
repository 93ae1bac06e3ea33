#pragma once
// What the world hands the demand simulation: its city model, the
// cause-effect network and the network's definition from the archives, and
// the route matrices over public transport's lines.
#include "sim/sim_line_data.h"
#include "sim/sim_world_links.h"

class CZorvaWorld;
class QnoResourceManager;

class CZorWorldSimParts : public CSimWeltParts, public CSimLineDataSource {
 public:
  // The resource id of the cause-effect network's definition text.
  static constexpr unsigned kDefinitionResource = 19396;

  // Without a world the city has no growth targets.
  explicit CZorWorldSimParts(QnoResourceManager* resources, CZorvaWorld* world = nullptr)
      : m_pResources(resources), m_pWorld(world) {}
  CSimCityModell* NewCityModell() override;
  // A route matrix that reads public transport's lines through these parts.
  CBusNetMatrix* NewBusNetMatrix() override;
  CCyberNet* NewCyberNet() override;
  bool ReadCyberNet(CCyberNet* net, FILE* file) override;
  void DeleteCyberNet(CCyberNet* net) override;
  // Null unless the blob is a text that ends inside its length.
  const char* CyberNetDefinition() override;
  // Public transport's new-matrix flag, cleared when it was set.
  bool TakeBusNetChanged() override;
  // Public transport's lines in service, as public transport walks them.
  void SimSetupLineDataCount() override;
  LineDataType* SimGetNextLineData() override;
  bool CyberNodeSize(CCyberNet* net, const char* name, double& size) override;
  // The data exchange's targets of jobs, homes and residents.
  bool GrowthTargets(int& jobs, int& homes, int& people) override;
  // The park management's walk over its car parks.
  CSimParkingDataSource* ParkingData() override;
  bool LoadingGame() override;
  int LoadVersion() override;
  // The world's loading indicator.
  void LoadProgress(FILE* file) override;

 private:
  QnoResourceManager* m_pResources;
  CZorvaWorld* m_pWorld;
};
