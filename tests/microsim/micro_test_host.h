#pragma once
// A scripted host for the movement tests: streets by sim id, a car mix of
// one sprite kind, one line stop, the hand-driven clock and a fixed seed.
#include <gtest/gtest.h>

#include <map>

#include "framework/zor_seams.h"
#include "iso/iso_geometry.h"
#include "micro_test_layouts.h"
#include "microsim/micro_host.h"
#include "microsim/micro_simulation.h"

namespace microtest {

class ScriptHost : public CMicroSimHost {
 public:
  std::map<uint16_t, double> velocity;
  std::map<uint16_t, int> flow;
  int sprite = 3;
  int sizeType = 0;
  bool stopHere = false;
  BinaryMicroSimObject* nextStop = nullptr;
  int linesTold = 0;
  // The sim id a line vehicle's line turns into at a branch; -1: none.
  int lineTurnsInto = -1;

  bool GetStreetVelocity(uint16_t simId, double& v) override {
    const auto it = velocity.find(simId);
    if (it == velocity.end()) return false;
    v = it->second;
    return true;
  }
  bool GetStreetFlow(uint16_t simId, int& f) override {
    const auto it = flow.find(simId);
    if (it == flow.end()) return false;
    f = it->second;
    return true;
  }
  bool GetNextCarPicture(SMicroCarPicture& out) override {
    out.resId = 500;
    out.sprite = sprite;
    out.sizeType = sizeType;
    out.offsets[1] = -3;
    out.offsets[3] = -2;
    return true;
  }
  bool IsIsoPosHst(CMicroOpnv*, int, int) override { return stopHere; }
  BinaryMicroSimObject* GetNextHstZelle(CMicroOpnv*, int, int, int) override { return nextStop; }
  int GetAbzwStreetID(CMicroOpnv*, bool& flag, bool) override {
    flag = false;
    return lineTurnsInto;
  }
  void VehicleDestroyed(CMicroOpnv*) override { ++linesTold; }
};

// Installs the host, the clock, the seed and zoom level 2 (zoom factor 2).
class MovementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CMicroSimHost::Install(&host);
    ZorSetClock(&clock);
    zor_srandom(1234);
    m_zoom = g_ZoomStufe;
    g_ZoomStufe = ISO_ZOOM_2;
    host.SetFrameTime(40);
    TestCar::s_alive = 0;
  }
  void TearDown() override {
    g_ZoomStufe = m_zoom;
    ZorSetClock(nullptr);
    CMicroSimHost::Install(nullptr);
  }

  ScriptHost host;
  ZorManualClock clock{1000};

 private:
  TIsoZoomStufe m_zoom = ISO_ZOOM_2;
};

// n cells along x, `spacing` pixels apart, each leading to the next; the
// last leads back to the first when `ring` is set. Sim id `simId`.
inline LayoutPtr Chain(int n, int spacing, bool ring, uint16_t simId = 7, uint8_t lane = 2) {
  std::vector<zorgen::MicroCellContent> cells;
  for (int i = 1; i <= n; ++i) {
    std::vector<uint32_t> succ;
    if (i < n) succ.push_back(static_cast<uint32_t>(i + 1));
    if (i == n && ring) succ.push_back(1);
    const uint32_t pred = i > 1 ? static_cast<uint32_t>(i - 1) : (ring ? static_cast<uint32_t>(n) : 0);
    cells.push_back(C(static_cast<uint16_t>(i), lane, static_cast<int16_t>((i - 1) * spacing), 0, succ, pred,
                      i < n ? static_cast<uint32_t>(i + 1) : 0));
  }
  LayoutPtr layout = Make(cells);
  if (layout) {
    layout->SetFirstSimID(simId);
    layout->SetScreenPos(100, 100);
  }
  return layout;
}

inline int CarsIn(CQnoMicroZelle& layout) {
  int n = 0;
  for (int i = 0; i < layout.GetCount(); ++i) n += layout.GetZelle(i)->m_pCar ? 1 : 0;
  return n;
}

// The index of the cell that holds `car`, -1 when none.
inline int CellOf(CQnoMicroZelle& layout, const CCar* car) {
  for (int i = 0; i < layout.GetCount(); ++i)
    if (layout.GetZelle(i)->m_pCar == car) return i;
  return -1;
}

// A new car placed at the cell's own point the way the movement places.
inline TestCar* Place(CQnoMicroZelle& layout, int cell) {
  auto* car = new TestCar;
  layout.GetZelle(cell)->m_Choice = 0;  // without the room check no branch is chosen
  EXPECT_EQ(layout.SetzeFahrzeug(layout.GetZelle(cell), car, 0, false, false, false), 0);
  return car;
}

}  // namespace microtest
