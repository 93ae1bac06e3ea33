#pragma once
// A city model without inhabitants: the world runs its hours on it until
// the agent model is part of the build. It plans no trips and has nothing
// to save.
#include "sim/sim_world_links.h"

class CSimEmptyCityModell : public CSimCityModell {
 public:
  bool Create(CSimLocationFactory*, CSimWelt*) override { return true; }
  void Destroy() override {}
  bool StartNextIntervall(const CSimDate&) override { return true; }
  CSimTrip* Trips(int) override { return nullptr; }
  void CalculateTripStats(CSimTrafficSlot*) override {}
  void CalculateParkingData() override {}
  bool RegisterLocation(CSimLocation*, short) override { return false; }
  bool RemoveLocation(CSimLocation*) override { return false; }
  CSimDistrict* pDistrict(short) override { return nullptr; }
  bool Save(FILE*) override { return true; }
  bool Load(FILE*) override { return true; }
};
