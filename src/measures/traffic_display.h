#pragma once
// Traffic information displays: how many there are, their quote and their
// expenses, saved with the other singletons, and the list of the guidance
// signs on the map; no turn and no year change. The signs are not saved:
// their streets put them up again after a load, and the count follows the
// list, so that a loaded game counts each sign once.
#include <cstdint>

#include "measures/building_object.h"
#include "measures/measure.h"
#include "sim/sim_date.h"

class CTrafficDisplay : public CMeasure {
 public:
  struct Block {
    int32_t number = 0;
    int32_t quote = 0;
    int32_t expenses = 0;
  };

  CTrafficDisplay();
  ~CTrafficDisplay() override;
  // Makes (and Destroy deletes) the list of displays, which owns none.
  int Create() override;
  using CWorldObj::Create;
  int Destroy() override;
  CBuildingList* GetDisplayList() const { return m_pDisplays; }
  // A guidance sign put up joins the list and the count; 1 when it is
  // null or listed already.
  int AddDisplay(CSecondLayerObject* sign);
  // A guidance sign taken away leaves the list and the count; 1 when it
  // was not listed.
  int RemoveDisplay(CSecondLayerObject* sign);
  // No value is set, stepped or bounded here: 1.
  int SetVarData(const char*, double) override { return 1; }
  using CMeasure::SetVarData;
  const Block& GetBlock() const { return m_Block; }

 private:
  Block m_Block;
  CBuildingList* m_pDisplays = nullptr;
};
