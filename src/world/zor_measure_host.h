#pragma once
// The world's side of the service measures' host: the data exchange's
// values, their largest sizes and people, the demand model's city, the
// savegame being read, god mode, the measures windows' hint states and the
// message system.
#include "measures/measure_host.h"

class CZorvaWorld;

class CZorMeasureHost : public CMeasureHost {
 public:
  explicit CZorMeasureHost(CZorvaWorld& world) : m_world(world) {}
  double GetExchangeValue(const char* name) override;
  double GetExchangeMax(const char* name) override;
  int GetPeople() override;
  CSimCityModell* GetCityModel() override;
  bool IsLoading() override;
  bool GetDistrictResidents(int (&residents)[16][16]) override;
  bool IsGottWertActive(int n) override;
  void SetHinweisWindow(int window, int state) override;
  void ActivateMessage(int group, int entry, int x, int y, int xs, int ys) override;

 private:
  CZorvaWorld& m_world;
};
