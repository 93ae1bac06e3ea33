#pragma once
// What the debug keys and the debug layers ask of the game model and the
// world above the interface: game mode and scenario, indicators, the
// account, the adviser messages, the test vehicle and the model checks. The
// world installs its implementation at start-up; without it every answer is
// that of a world with nothing loaded, logged once as a stand-in.
#include "framework/zor_stand_in.h"

class CSimWelt;
class CZorvaObject;

class CUiDebugHost {
 public:
  virtual ~CUiDebugHost() = default;

  // The installed host, never null.
  static CUiDebugHost* Get();
  // The caller keeps ownership; null restores the default.
  static void Install(CUiDebugHost* host);

  // The demand simulation; null when there is none.
  virtual CSimWelt* SimWelt() {
    ZOR_STAND_IN("CUiDebugHost");
    return nullptr;
  }

  // ---- game mode and scenario (god mode) ----
  virtual void SetGameModus(int /*mode*/) { ZOR_STAND_IN("CUiDebugHost"); }
  // The scenario's kind, indicator, target value and end year; false when
  // there is no god mode.
  virtual bool GetSzenario(int* /*kind*/, int* /*indicator*/, float* /*target*/, int* /*endYear*/) {
    ZOR_STAND_IN("CUiDebugHost");
    return false;
  }
  virtual void SetSzenario(int /*kind*/, int /*indicator*/, float /*target*/, int /*years*/) {
    ZOR_STAND_IN("CUiDebugHost");
  }

  // ---- indicators and the account ----
  virtual void SwitchIndicatorOverride() { ZOR_STAND_IN("CUiDebugHost"); }
  virtual void ChangeIndikatoren(float /*delta*/) { ZOR_STAND_IN("CUiDebugHost"); }
  virtual void AddToAccount(double /*amount*/) { ZOR_STAND_IN("CUiDebugHost"); }

  // ---- adviser messages ----
  virtual bool MessageExists(int /*group*/, int /*entry*/) {
    ZOR_STAND_IN("CUiDebugHost");
    return false;
  }
  // Shows the message with sample values.
  virtual void ShowCheckMessage(int /*group*/, int /*entry*/) { ZOR_STAND_IN("CUiDebugHost"); }
  // Raises the message as the game raises it; 1 when refused.
  virtual int ActivateMessage(int /*group*/, int /*entry*/) {
    ZOR_STAND_IN("CUiDebugHost");
    return 1;
  }
  // The short text of the waiting message; null when none waits.
  virtual const char* WaitMessageShort() {
    ZOR_STAND_IN("CUiDebugHost");
    return nullptr;
  }

  // ---- model checks ----
  virtual void CheckLocations() { ZOR_STAND_IN("CUiDebugHost"); }
  // Removes the placeholder rail objects, checks the agents and lets public
  // transport check its lines against the street network.
  virtual void CheckModel() { ZOR_STAND_IN("CUiDebugHost"); }

  // ---- the test vehicle ----
  // A car standing at the screen position; null when none can be made.
  // The caller owns it.
  virtual CZorvaObject* CreateTestCar(int /*x*/, int /*y*/) {
    ZOR_STAND_IN("CUiDebugHost");
    return nullptr;
  }
  virtual void SetTestCarDirection(CZorvaObject* /*car*/, int /*direction*/) { ZOR_STAND_IN("CUiDebugHost"); }

  // The growth targets of the game model: people, homes, jobs and the
  // growth hindrance; false when there is no game model.
  virtual bool GetGrowthTargets(int* /*people*/, int* /*homes*/, int* /*jobs*/, int* /*hindernis*/) {
    ZOR_STAND_IN("CUiDebugHost");
    return false;
  }

  // The game speed in milliseconds per simulation step.
  virtual int GameSpeed() {
    ZOR_STAND_IN("CUiDebugHost");
    return 0;
  }
};
