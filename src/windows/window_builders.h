#pragma once
// The thirteen builders that create every window of the game in code, each
// as straight-line calls of the window builder's operations. The world runs
// them once at start-up, in the order of AddAll.
#include <utility>

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
  template <class... A>
  int AddWindow(A&&... a) { return m_builder.AddWindow(std::forward<A>(a)...); }
  template <class... A>
  int AddDialog(A&&... a) { return m_builder.AddDialog(std::forward<A>(a)...); }
  template <class... A>
  int AddItem(A&&... a) { return m_builder.AddItem(std::forward<A>(a)...); }
  template <class... A>
  int AddAction(A&&... a) { return m_builder.AddAction(std::forward<A>(a)...); }
  template <class... A>
  int AddVar(A&&... a) { return m_builder.AddVar(std::forward<A>(a)...); }

  CWindowBuilder& m_builder;
};
