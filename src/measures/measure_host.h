#pragma once
// What the service measures (park-and-ride, car sharing, the advice centre,
// route guidance and planning, the travel assistant and the surrounding
// region) ask of the layers above them: the game model's named values, their
// largest sizes and people, the demand model's city, whether a savegame is
// being read, god mode's pinned values, the hint states of the measures
// windows, the adviser's messages and the clock. The world installs its implementation
// while it lives, and tests install their own. Without one, each call says
// once in the log that no part of the game answered and does nothing
// (numbers answer 0, checks false).
#include "framework/zor_stand_in.h"

class CSimCityModell;

class CMeasureHost {
 public:
  virtual ~CMeasureHost() = default;

  // The installed host, never null: without one a default host answers.
  static CMeasureHost* Get();
  // The caller keeps ownership; null restores the default.
  static void Install(CMeasureHost* host);

  // A named value of the game model (the data exchange); 0 when unknown.
  virtual double GetExchangeValue(const char* /*name*/) {
    ZOR_STAND_IN("CMeasureHost");
    return 0.0;
  }
  // The largest size a node of the cause-effect network can take; 0 when
  // unknown.
  virtual double GetExchangeMax(const char* /*name*/) {
    ZOR_STAND_IN("CMeasureHost");
    return 0.0;
  }
  // The city's people as the data exchange counts them.
  virtual int GetPeople() {
    ZOR_STAND_IN("CMeasureHost");
    return 0;
  }
  // The residents of the 16 x 16 districts, [x / 8][y / 8]; false (and
  // nothing written) while there is no city model.
  virtual bool GetDistrictResidents(int (&/*residents*/)[16][16]) {
    ZOR_STAND_IN("CMeasureHost");
    return false;
  }
  // The demand model's city; null before it exists.
  virtual CSimCityModell* GetCityModel() {
    ZOR_STAND_IN("CMeasureHost");
    return nullptr;
  }
  // Whether a savegame is being read.
  virtual bool IsLoading() {
    ZOR_STAND_IN("CMeasureHost");
    return false;
  }
  // Whether god mode pins the god value with that number.
  virtual bool IsGottWertActive(int /*n*/) {
    ZOR_STAND_IN("CMeasureHost");
    return false;
  }
  // The hint state of a measures window: 1 shows its companion page.
  virtual void SetHinweisWindow(int /*window*/, int /*state*/) { ZOR_STAND_IN("CMeasureHost"); }
  // Raises an adviser message of that group and entry at a map rectangle.
  virtual void ActivateMessage(int /*group*/, int /*entry*/, int /*x*/, int /*y*/, int /*xs*/, int /*ys*/) {
    ZOR_STAND_IN("CMeasureHost");
  }
};
