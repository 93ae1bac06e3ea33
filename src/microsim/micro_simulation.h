#pragma once
// The cellular micro simulation of the visible vehicles.
// Stand-in: only what the world's start-up and shutdown call.

class CMicroSimulation {
 public:
  virtual ~CMicroSimulation() = default;
  virtual int Create();
  virtual int Destroy();
};
