#pragma once
// The surrounding region: four towns around the city whose populations
// follow the city's size with a random upward drift, each held between an
// eighth and a quarter of the city. The populations are 32-bit here and
// saturate at 16 bits in the record, so a city of any size keeps its towns.
#include <cstdint>

#include "measures/measure.h"
#include "sim/sim_date.h"

class QnoDisplay;
class QnoResourceManager;

class CUmland : public CMeasure {
 public:
  static constexpr int kTowns = 4;
  CUmland();

  using CMeasure::OnPlayloopTurn;
  // The drift of the four towns, in order.
  int OnPlayloopTurn(STime now, STime last) override;
  int GetTown(int i) const { return i >= 0 && i < kTowns ? m_Towns[i] : 0; }
  using CMeasure::Render;
  // The region's panel at (x, y): each town's "Einwohner" and its people
  // in the bitmap font kFont, towns 0 and 3 above, 1 and 2 below, 0 and 1
  // on the left. Nothing without a display or the font.
  void Render(QnoDisplay* display, QnoResourceManager* resources, int x, int y) const;

  static constexpr unsigned kFont = 28387;
  // Where each town's line stands, from the panel's corner.
  static constexpr int kTextAt[kTowns][2] = {{100, 110}, {100, 180}, {240, 180}, {240, 110}};

 private:
  static const SMeasureLayout& Layout();
  int32_t m_Towns[kTowns] = {};
};
