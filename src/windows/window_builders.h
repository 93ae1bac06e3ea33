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
  // A god value's editor in the current window: a dialog with id 1 holding
  // the value (float or whole), its minus and plus buttons and its text;
  // wide for large values; with the value now in force beside it. 1 when
  // the name is too long for its texts (nothing is added).
  int AddDialogGottWert(int x, int y, const char* name, bool isFloat, bool wide, bool showCurrent);
  // The destination-choice slider of the current window.
  int WindowAddGottZielwahlSlider();
  int WindowAddEventBerater();
  int WindowAddLadenSpeichern();

 protected:
  // Every builder adds its windows through this one builder.
  CWindowBuilder& m_builder;
};
