#pragma once
// The street network's answers to the micro simulation: the street that
// carries a sim id, found through the junction list's index by sim id.
// A line vehicle whose line names no stop cell stops in the street's own.
// A street's speed is read once a turn (see GetTurn) and kept by sim id for
// the rest of the turn; before the first turn it is read at every call.
#include <vector>

#include "microsim/micro_host.h"

class CStrJunctionList;
class CStrStrasse;

class CStrMicroHost : public CMicroSimHost {
 public:
  bool GetStreetVelocity(uint16_t simId, double& velocity) override;
  bool GetStreetFlow(uint16_t simId, int& flow) override;
  // The stop cell of tile (x, y) on the street that carries simId there.
  BinaryMicroSimObject* GetStreetHstZelle(int x, int y, uint16_t simId) override;

 protected:
  // The street network in use; null while there is none.
  virtual CStrJunctionList* GetStreets() = 0;

 private:
  CStrStrasse* Street(uint16_t simId);

  struct SVelocity {
    uint32_t turn = 0;  // the turn it was read in; 0 = never
    bool found = false;
    double velocity = 0.0;
  };
  void Remember(uint16_t simId, const SVelocity& known);
  std::vector<SVelocity> m_Velocities;  // by sim id
};
