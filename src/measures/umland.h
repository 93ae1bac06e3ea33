#pragma once
// The surrounding region: four towns around the city whose populations
// follow the city's size with a random upward drift, each held between an
// eighth and a quarter of the city. The populations are 32-bit here and
// saturate at 16 bits in the record, so a city of any size keeps its towns.
#include <cstdint>

#include "measures/measure.h"
#include "sim/sim_date.h"

class CUmland : public CMeasure {
 public:
  static constexpr int kTowns = 4;
  CUmland();

  using CMeasure::OnPlayloopTurn;
  // The drift of the four towns, in order.
  int OnPlayloopTurn(STime now, STime last) override;
  int GetTown(int i) const { return i >= 0 && i < kTowns ? m_Towns[i] : 0; }

 private:
  static const SMeasureLayout& Layout();
  int32_t m_Towns[kTowns] = {};
};
