#pragma once
// The root's side of the host interfaces through which the subsystems below
// it reach the world: each forwards to the world that owns it.
#include <vector>

#include "iso/iso_host.h"
#include "world/base/zor_world_host.h"

class CZorvaWorld;

class CZorWorldHost : public CWorldHost {
 public:
  explicit CZorWorldHost(CZorvaWorld& world) : m_world(world) {}
  int GetLanguage() override;
  int AddSound(const char* name, int priority) override;
  int FadeOutSound(const char* name) override;
  void SetWorldObjectListFilter(CWorldObj* object) override;
  bool GetShowMicroZellen() override;

 private:
  CZorvaWorld& m_world;
};

// The map's view of the game: the world's factory and lists, the street and
// rail networks, the buildings and the interface controller.
class CZorIsoHost : public CIsoHost {
 public:
  explicit CZorIsoHost(CZorvaWorld& world) : m_world(world) {}

  CWorldObj* CreateObject(TObjectType kind) override;
  CWorldObj* CreateObjectEmpty() override;
  int GetBaseResID(bool first) override;
  int RemoveObject(int x, int y, TBaseType layer) override;
  CList* GetObjectList() override;
  void TurnMicroSim() override;
  bool IsExpoMode() override;

  bool GetBuildingFootprint(CWorldObj* object, IsoFootprint& footprint) override;
  int GetLocationHeight(CWorldObj* object) override;
  int GetDistrictAt(int x, int y) override;
  void GetMarkedBuildings(std::vector<IsoFootprint>& out) override;
  int GetCatalogueResID(int row) override;
  bool IsCatalogueGroup(int row) override;

  selObjType* GetSelection() override;
  int GetFilter(int n) override;
  bool IsDebugInfo() override;
  unsigned char GetTileMask(int x, int y) override;
  unsigned char GetTileMask2(int x, int y) override;
  bool GetBuildSurfaceStatus() override;
  void GetMousePosition(int& x, int& y) override;
  void SetMousePosition(int x, int y) override;
  void ResetCursor() override;
  void BackupCursor() override;
  void SetCursorID(int id, int state) override;
  void RestoreCursor() override;
  void RenderOpnvNet(QnoDisplay* display) override;
  bool GetLineColor(COpnvLine* line, unsigned char& r, unsigned char& g, unsigned char& b) override;
  void RenderOpnvLineStreet(QnoDisplay* display, COpnvLine* line, unsigned short colour) override;
  void RenderOpnvLineHst(QnoDisplay* display, COpnvLine* line) override;
  void UpdateViewFilter(int x, int y) override;
  void UpdateViewRect(const IsoViewRectType& rect) override;

 private:
  CZorvaWorld& m_world;
};
