#pragma once
// The thirteen builders that create every window of the game in code, each
// as straight-line calls of the window builder's operations. The world runs
// them once at start-up, in the order of AddAll.
#include "gui/window_builder.h"

class CZorvaWindows {
 public:
  explicit CZorvaWindows(CWindowBuilder& builder) : m_builder(builder) {}

  // Runs every builder in the fixed order; 0.
  int AddAll();

  int WindowAdd();
  int WindowAddExpo();
  int WindowAddAk();
  int WindowAddOpnv();
  int WindowAddFloaterGebaeude();
  int WindowAddParken();
  int WindowAddParkhaus();
  int WindowAddKreuzung();
  int WindowAddStreet();
  int WindowAddIndikatoren();
  int WindowAddStatistik();
  int WindowAddEventBerater();
  int WindowAddLadenSpeichern();

 protected:
  // Every builder adds its windows through this one builder.
  CWindowBuilder& m_builder;
};
