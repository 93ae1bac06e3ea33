#pragma once
// God mode's host as the god-mode tests script it: indicators of its own,
// the blocked state, the debug switch and the advice centre's quote in
// fields. The host contract tests hold its answers to the game's host.
#include "model/gott_modus.h"
#include "model/indikatoren.h"
#include "model/statistik.h"

struct ScriptedGottHost : CGottModusHost {
  CIndikatoren indikatoren;
  CStatistik statistik;
  int blocked = 0;
  bool debug = false;
  float adviceQuote = -1.0f;
  CStatistik* Statistik() override { return &statistik; }
  CIndikatoren* Indikatoren() override { return &indikatoren; }
  void SetBlocked(int state) override { blocked = state; }
  bool DebugInfo() override { return debug; }
  void SetAdviceCentreQuote(float percent) override { adviceQuote = percent; }
};
