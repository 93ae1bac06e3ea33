#pragma once
// The street network's answers to the micro simulation: the street that
// carries a sim id, found through the junction list's index by sim id.
#include "microsim/micro_host.h"

class CStrJunctionList;
class CStrStrasse;

class CStrMicroHost : public CMicroSimHost {
 public:
  bool GetStreetVelocity(uint16_t simId, double& velocity) override;
  bool GetStreetFlow(uint16_t simId, int& flow) override;

 protected:
  // The street network in use; null while there is none.
  virtual CStrJunctionList* GetStreets() = 0;

 private:
  CStrStrasse* Street(uint16_t simId);
};
