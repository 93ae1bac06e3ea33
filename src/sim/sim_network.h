#pragma once
// The macro street network of one simulated hour: crossings and the one-way
// streets between them. Both live in the id trees of a time slot.
#include <climits>
#include <cstdint>

#include "sim/sim_binary_tree.h"

// A side of a crossing, 0 to 3.
typedef int TSimDirection;

enum ESimCrossingType : int { SIM_CROSSING_NONE = 0, SIM_CROSSING_PRIORITY = 1, SIM_CROSSING_SIGNAL = 2, SIM_CROSSING_OTHER = 3 };

// Flows are counted in 32 bits: a single busy street easily carries more
// than 32767 vehicles once agents of 50 persons are loaded on it. Whoever
// keeps them in 16 bits saturates them on the way out.
short SimFlowToShort(int flow);

class CSimObjectBT : public CBinaryTreeNode {
 public:
  bool IsCreated() const { return m_created != 0; }

 protected:
  unsigned char m_created = 0;
};

class CSimStreet;

// a + b held inside the int range: flows add up without wrapping.
inline int SimSaturatingAdd(int a, int b) {
  const long long s = static_cast<long long>(a) + b;
  if (s > INT_MAX) return INT_MAX;
  if (s < INT_MIN) return INT_MIN;
  return static_cast<int>(s);
}

class CSimCrossing : public CSimObjectBT {
 public:
  bool Create(const short& id, ESimCrossingType type, int nwGoTime, int neGoTime);
  bool Destroy();

  bool AddInStreet(CSimStreet* street, const TSimDirection& side);
  bool AddOutStreet(CSimStreet* street, const TSimDirection& side);
  bool RemoveInStreet(CSimStreet* street, const TSimDirection& side);
  bool RemoveOutStreet(CSimStreet* street, const TSimDirection& side);

  // Inline: loading a step adds the flow of every turn of every route.
  bool AddCarFlow(const TSimDirection& in, const TSimDirection& out, const int& size) {
    if (in < 0 || in >= 4 || out < 0 || out >= 4 || !m_in[in] || !m_out[out]) return ReportBadTurn(in, out);
    m_flow[in][out] = SimSaturatingAdd(m_flow[in][out], size);
    m_delaysValid = 0;
    return true;
  }
  bool ResetCarFlow();
  int CarFlow(const TSimDirection& in, const TSimDirection& out) const;

  int ID() const { return IsCreated() ? static_cast<int>(Key()) : 0; }
  CSimStreet* pInStreet(const TSimDirection& side) const;
  CSimStreet* pOutStreet(const TSimDirection& side) const;
  int NrOfInStreets() const { return m_nIn; }
  int NrOfOutStreets() const { return m_nOut; }

  bool SetCrossingType(ESimCrossingType type);
  ESimCrossingType CrossingType() const { return m_type; }
  void SetNW_GoTime(int seconds) { m_nwGo = seconds; }
  void SetNE_GoTime(int seconds) { m_neGo = seconds; }
  int NW_GoTime() const { return m_nwGo; }
  int NE_GoTime() const { return m_neGo; }
  bool SetMainRoads(TSimDirection first, TSimDirection second);
  TSimDirection MainRoad(int which) const { return which == 0 ? m_main1 : m_main2; }

  // Recomputes the delay table from the turning flows when a flow changed
  // since the last time.
  void UpdateDelays();
  bool DelaysValid() const { return m_delaysValid != 0; }
  int Delay(const TSimDirection& in, const TSimDirection& out) const { return m_delay[in & 3][out & 3]; }

  int MatrixIndex() const { return m_matrixIndex; }
  void SetMatrixIndex(int index) { m_matrixIndex = index; }

 private:
  // Logs a turn between sides that have no street; false.
  bool ReportBadTurn(const TSimDirection& in, const TSimDirection& out);
  int InflowAt(int side) const;
  void UnsignalledDelays();
  void SignalDelays();
  void MainRoadDelays();

  uint16_t m_nIn = 0;
  uint16_t m_nOut = 0;
  CSimStreet* m_in[4] = {};
  CSimStreet* m_out[4] = {};
  int m_delay[4][4] = {};
  int m_flow[4][4] = {};
  unsigned char m_delaysValid = 0;
  ESimCrossingType m_type = SIM_CROSSING_NONE;
  int m_nwGo = 30;
  int m_neGo = 30;
  TSimDirection m_main1 = 2;
  TSimDirection m_main2 = 1;
  double m_intergreen = 7.0;
  double m_followUpGap = 1.7;
  double m_criticalGap = 3.6;
  int m_saturationFlow = 1800;
  int m_matrixIndex = -1;
};

class CSimStreet : public CSimObjectBT {
 public:
  static constexpr double kDefaultVelocity = static_cast<float>(13.9);
  static constexpr short kDefaultCapacity = 1200;
  // Travel times are capped here: nothing at or above it can be routed,
  // and the cap keeps a jammed street from overflowing the int.
  static constexpr int kMaxTravelTime = 600000;

  bool Create(const short& id, CSimCrossing* start, const TSimDirection& startSide, CSimCrossing* end,
              const TSimDirection& endSide, const int& length, double velocity, short capacity);
  bool Destroy();

  int TravelTime();
  void AddCarFlow(const int& size) {
    m_flow = SimSaturatingAdd(m_flow, size);
    m_travelTimeValid = 0;
  }
  void ResetCarFlow();

  int CarFlow() const { return m_flow; }
  short Capacity() const { return m_capacity; }
  void SetCapacity(short capacity) { m_capacity = capacity; }
  int StreetLength() const;
  void SetStreetLength(int length) { m_length = length; }
  double Velocity() const { return m_velocity; }
  void SetVelocity(double velocity) { m_velocity = velocity; }
  bool Vls() const { return m_guidance != 0; }
  void SetVls(bool on) { m_guidance = on ? 1 : 0; }
  double FreeFlowTime() const { return m_t0; }

  int ID() const { return IsCreated() ? static_cast<int>(Key()) : 0; }
  CSimCrossing* pStartCrossing() const { return m_start; }
  CSimCrossing* pEndCrossing() const { return m_end; }
  TSimDirection StartSide() const { return m_startSide; }
  TSimDirection EndSide() const { return m_endSide; }

 private:
  CSimCrossing* m_start = nullptr;
  CSimCrossing* m_end = nullptr;
  TSimDirection m_startSide = 0;
  TSimDirection m_endSide = 0;
  int m_flow = 0;
  short m_capacity = 0;
  int m_length = 0;
  int m_travelTime = 0;
  double m_t0 = 0.0;
  double m_a = 1.0;
  double m_b = 4.0;
  double m_velocity = 0.0;
  unsigned char m_travelTimeValid = 0;
  unsigned char m_guidance = 0;
};
