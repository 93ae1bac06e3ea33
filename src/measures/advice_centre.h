#pragma once
// The travel advice centre.
// Stand-in for the measure's own fields, keys and steps: the common
// pattern alone, with no block, and what the world's start-up calls on it.
#include "framework/zor_pointer_list.h"
#include "sim/sim_date.h"
#include "measures/measure.h"

class CBuildingTrafficObject;

class CZorviZentrale : public CMeasure {
 public:
  CZorviZentrale() : CMeasure(kMeasureWithoutBlock, nullptr) {}
  // 1 (refused) when the city already has its centre, else 0.
  virtual int AddZorviZentrale(CBuildingTrafficObject* centre);
  virtual int RemoveZorviZentrale(CBuildingTrafficObject* centre);
  CBuildingTrafficObject* GetZentrale() const { return m_pZentrale; }

 protected:
  CBuildingTrafficObject* m_pZentrale = nullptr;
};
