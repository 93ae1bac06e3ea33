#pragma once
// The world's answers to the interface's debug keys and layers.
#include "ui/ui_debug_host.h"

class CZorvaWorld;

class CZorDebugHost : public CUiDebugHost {
 public:
  explicit CZorDebugHost(CZorvaWorld& world) : m_world(world) {}

  CSimWelt* SimWelt() override;
  void SetGameModus(int mode) override;
  bool GetSzenario(int* kind, int* indicator, float* target, int* endYear) override;
  void SetSzenario(int kind, int indicator, float target, int years) override;
  void SwitchIndicatorOverride() override;
  void ChangeIndikatoren(float delta) override;
  void AddToAccount(double amount) override;
  bool MessageExists(int group, int entry) override;
  void ShowCheckMessage(int group, int entry) override;
  int ActivateMessage(int group, int entry) override;
  const char* WaitMessageShort() override;
  void CheckLocations() override;
  void CheckModel() override;
  CZorvaObject* CreateTestCar(int x, int y) override;
  void SetTestCarDirection(CZorvaObject* car, int direction) override;
  bool GetGrowthTargets(int* people, int* homes, int* jobs, int* hindernis) override;
  int GameSpeed() override;

 private:
  CZorvaWorld& m_world;
};

// Installs the debug host of the world, replacing any before it; null
// takes it away again.
void ZorInstallDebugHost(CZorvaWorld* world);
