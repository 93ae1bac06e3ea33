#include "sim/sim_network.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "sim/sim_error.h"

namespace {
// Delays are a diagnostic of the crossing; a saturated movement gets this
// many seconds rather than an infinite or negative figure.
constexpr int kMaxDelay = 600000;


int ClampDelay(double w) {
  if (!(w > 0.0)) return 0;  // also catches NaN
  if (w > kMaxDelay) return kMaxDelay;
  return static_cast<int>(w);
}

// Waiting time of a movement with flow q at capacity c.
int MovementDelay(double q, double c) {
  double x;
  if (c > 1e-9)
    x = q / c;
  else
    return q > 0.0 ? kMaxDelay + 10 : 10;
  double w;
  if (x < 0.9) {
    w = std::floor(3600.0 / (c * (1.0 - x)) + 0.5);
  } else if (x < 1.15) {
    double w1 = std::floor(3600.0 / (c * 0.1) + 0.5);
    double w2 = std::floor((2.0 / c + 0.15 - 1.15 / c) * 1800.0);
    w = std::floor(w1 + (w2 - w1) * 4.0 * (x - 0.9) + 0.5);
  } else {
    w = std::floor((2.0 / c + (x - 1.0) - x / c) * 1800.0);
  }
  return ClampDelay(w) + 10;
}
}  // namespace

short SimFlowToShort(int flow) {
  if (flow > SHRT_MAX) return SHRT_MAX;
  if (flow < SHRT_MIN) return SHRT_MIN;
  return static_cast<short>(flow);
}

// ---------------------------------------------------------------- crossing

bool CSimCrossing::Create(const short& id, ESimCrossingType type, int nwGoTime, int neGoTime) {
  m_nIn = m_nOut = 0;
  for (int i = 0; i < 4; ++i) m_in[i] = m_out[i] = nullptr;
  std::memset(m_delay, 0, sizeof m_delay);
  std::memset(m_flow, 0, sizeof m_flow);
  m_delaysValid = 0;
  m_type = type;
  m_nwGo = nwGoTime;
  m_neGo = neGoTime;
  m_main1 = 2;
  m_main2 = 1;
  m_intergreen = 7.0;
  m_followUpGap = 1.7;
  m_criticalGap = 3.6;
  m_saturationFlow = 1800;
  m_matrixIndex = -1;
  if (!IsKeyed()) SetKey(id);
  m_created = 1;
  return true;
}

bool CSimCrossing::Destroy() {
  if (m_nIn != 0 || m_nOut != 0) {
    SimSetError(3, "Fehler in CSimCrossing::Destroy()", "crossing %d, %d in, %d out", static_cast<int>(Key()), m_nIn,
                m_nOut);
    return false;
  }
  m_created = 0;
  return true;
}

bool CSimCrossing::AddInStreet(CSimStreet* street, const TSimDirection& side) {
  // The street being made has no id yet; its own line names it.
  const char* where = "Fehler in CSimCrossing::AddInStreet()";
  const int key = static_cast<int>(Key());
  if (!IsCreated()) return SimSetError(6, where, "crossing %d, side %d", key, side), false;
  if (!street) return SimSetError(2, where, "crossing %d, side %d", key, side), false;
  if (side < 0 || side >= 4) return SimSetError(16, where, "crossing %d, side %d", key, side), false;
  if (m_in[side])
    return SimSetError(23, where, "crossing %d, side %d held by street %d", key, side,
                       static_cast<int>(m_in[side]->Key())),
           false;
  m_in[side] = street;
  ++m_nIn;
  return true;
}

bool CSimCrossing::AddOutStreet(CSimStreet* street, const TSimDirection& side) {
  // The street being made has no id yet; its own line names it.
  const char* where = "Fehler in CSimCrossing::AddOutStreet()";
  const int key = static_cast<int>(Key());
  if (!IsCreated()) return SimSetError(6, where, "crossing %d, side %d", key, side), false;
  if (!street) return SimSetError(2, where, "crossing %d, side %d", key, side), false;
  if (side < 0 || side >= 4) return SimSetError(16, where, "crossing %d, side %d", key, side), false;
  if (m_out[side])
    return SimSetError(23, where, "crossing %d, side %d held by street %d", key, side,
                       static_cast<int>(m_out[side]->Key())),
           false;
  m_out[side] = street;
  ++m_nOut;
  return true;
}

bool CSimCrossing::RemoveInStreet(CSimStreet* street, const TSimDirection& side) {
  if (side >= 0 && side < 4 && street && m_in[side] == street) {
    m_in[side] = nullptr;
    --m_nIn;
  } else {
    SimSetError(24, "Fehler in CSimCrossing::RemoveInStreet()", "crossing %d, side %d, street %d",
                static_cast<int>(Key()), side, street ? static_cast<int>(street->Key()) : 0);
  }
  return false;
}

bool CSimCrossing::RemoveOutStreet(CSimStreet* street, const TSimDirection& side) {
  if (side >= 0 && side < 4 && street && m_out[side] == street) {
    m_out[side] = nullptr;
    --m_nOut;
  } else {
    SimSetError(24, "Fehler in CSimCrossing::RemoveOutStreet()", "crossing %d, side %d, street %d",
                static_cast<int>(Key()), side, street ? static_cast<int>(street->Key()) : 0);
  }
  return false;
}

bool CSimCrossing::ReportBadTurn(const TSimDirection& in, const TSimDirection& out) {
  SimSetError(12, "Fehler in CSimCrossing::AddCarFlow()", "crossing %d, side %d to side %d", static_cast<int>(Key()), in,
              out);
  return false;
}

bool CSimCrossing::ResetCarFlow() {
  std::memset(m_flow, 0, sizeof m_flow);
  m_delaysValid = 0;
  return true;
}

int CSimCrossing::CarFlow(const TSimDirection& in, const TSimDirection& out) const {
  if (in < 0 || in >= 4 || out < 0 || out >= 4) return 0;
  return m_flow[in][out];
}

CSimStreet* CSimCrossing::pInStreet(const TSimDirection& side) const {
  if (side < 0 || side >= 4)
    return SimSetError(12, "Fehler in CSimCrossing::pInStreet()", "crossing %d, side %d", static_cast<int>(Key()),
                       side),
           nullptr;
  return m_in[side];
}

CSimStreet* CSimCrossing::pOutStreet(const TSimDirection& side) const {
  if (side < 0 || side >= 4)
    return SimSetError(12, "Fehler in CSimCrossing::pOutStreet()", "crossing %d, side %d", static_cast<int>(Key()),
                       side),
           nullptr;
  return m_out[side];
}

bool CSimCrossing::SetCrossingType(ESimCrossingType type) {
  switch (type) {
    case SIM_CROSSING_PRIORITY:
      if (m_main1 > 3 || m_main2 < 0 || m_main2 > 3) return false;
      m_type = type;
      return true;
    case SIM_CROSSING_NONE:
    case SIM_CROSSING_SIGNAL:
    case SIM_CROSSING_OTHER:
      m_type = type;
      return true;
  }
  SimSetError(15, "Fehler in CSimCrossing::SetCrossingType()", "crossing %d, type %d", static_cast<int>(Key()),
              static_cast<int>(type));
  return false;
}

bool CSimCrossing::SetMainRoads(TSimDirection first, TSimDirection second) {
  if (first < 0 || first > 3 || second < 0 || second > 3 || first == second) return false;
  m_main1 = first;
  m_main2 = second;
  return true;
}

int CSimCrossing::InflowAt(int side) const {
  long long s = 0;
  for (int o = 0; o < 4; ++o) s += m_flow[side][o];
  return s > INT_MAX ? INT_MAX : static_cast<int>(s);
}

void CSimCrossing::UpdateDelays() {
  if (m_delaysValid) return;
  if (m_type == SIM_CROSSING_SIGNAL) {
    SignalDelays();
  } else if (m_type == SIM_CROSSING_NONE || m_type == SIM_CROSSING_PRIORITY) {
    const int gap = (m_main1 - m_main2 + 4) % 4;
    if (m_type == SIM_CROSSING_PRIORITY && gap == 2)
      MainRoadDelays();
    else
      UnsignalledDelays();
  } else {
    SimSetError(15, "Fehler in CSimCrossing::UpdateDelays()", "crossing %d, type %d", static_cast<int>(Key()),
                static_cast<int>(m_type));
  }
  m_delaysValid = 1;
}

void CSimCrossing::UnsignalledDelays() {
  auto capacity = [this](double q) { return 3600.0 / m_followUpGap * std::exp(-q * m_criticalGap / 3600.0); };
  for (int d = 0; d < 4; ++d) {
    m_delay[d][(d + 3) % 4] = 10;
    const double q1 = InflowAt((d + 3) % 4);
    m_delay[d][(d + 2) % 4] = MovementDelay(m_flow[d][(d + 2) % 4], capacity(q1));
    const double q2 = q1 + m_flow[(d + 2) % 4][d];
    const int w = MovementDelay(m_flow[d][(d + 1) % 4], capacity(q2));
    m_delay[d][(d + 1) % 4] = w;
    m_delay[d][d] = w;
  }
}

void CSimCrossing::SignalDelays() {
  const double cycle = m_nwGo + m_neGo + m_intergreen;
  for (int d = 0; d < 4; ++d) {
    const double green = (d % 2 == 0) ? m_neGo : m_nwGo;
    // At or above the saturation flow the textbook formula divides by zero
    // or turns negative; a nearly saturated approach keeps the figure finite.
    double s = 1.0 - InflowAt(d) / m_saturationFlow;
    if (s < 0.05) s = 0.05;
    int w = 0;
    if (cycle > 0.0) {
      const double r = 1.0 - green / cycle;
      w = ClampDelay(cycle * r * r / (2.0 * s));
    }
    for (int o = 0; o < 4; ++o) m_delay[d][o] = w;
  }
}

void CSimCrossing::MainRoadDelays() {
  auto capacity = [this](double q) { return 3600.0 / m_followUpGap * std::exp(-q * m_criticalGap / 3600.0); };
  std::memset(m_delay, 0, sizeof m_delay);
  const double freeCap = 3600.0 / m_followUpGap;
  const int m1 = m_main1, m2 = m_main2;
  m_delay[m1][m2] = MovementDelay(m_flow[m1][m2], freeCap);
  m_delay[m2][m1] = MovementDelay(m_flow[m2][m1], freeCap);
  m_delay[m1][(m1 + 3) % 4] = MovementDelay(m_flow[m1][(m1 + 3) % 4], freeCap);
  m_delay[m2][(m2 + 3) % 4] = MovementDelay(m_flow[m2][(m2 + 3) % 4], freeCap);
  // The left turn from m1 yields to everything entering at m1's side.
  const int w = MovementDelay(m_flow[m2][m1], capacity(InflowAt(m1)));
  m_delay[m1][(m1 + 1) % 4] = w;
  m_delay[m1][m1] = w;
}

// ------------------------------------------------------------------ street

bool CSimStreet::Create(const short& id, CSimCrossing* start, const TSimDirection& startSide, CSimCrossing* end,
                        const TSimDirection& endSide, const int& length, double velocity, short capacity) {
  m_guidance = 0;
  const char* where = "Fehler in CSimStreet::Create()";
  const char* about = "street %d from crossing %d side %d to crossing %d side %d";
  const int a = start ? static_cast<int>(start->Key()) : 0, b = end ? static_cast<int>(end->Key()) : 0;
  if (IsCreated()) return SimSetError(6, where, about, id, a, startSide, b, endSide), false;
  if (IsKeyed() && Key() != id)
    return SimSetError(7, where, "street %d asked to be street %d", static_cast<int>(Key()), id), false;
  if (!start || !end) return SimSetError(2, where, about, id, a, startSide, b, endSide), false;
  if (startSide < 0 || startSide > 3 || endSide < 0 || endSide > 3)
    return SimSetError(16, where, about, id, a, startSide, b, endSide), false;
  if (!start->AddOutStreet(this, startSide)) return SimSetError(23, where, about, id, a, startSide, b, endSide), false;
  if (!end->AddInStreet(this, endSide)) {
    start->RemoveOutStreet(this, startSide);
    SimSetError(23, where, about, id, a, startSide, b, endSide);
    return false;
  }
  if (!IsKeyed()) SetKey(id);
  m_start = start;
  m_end = end;
  m_startSide = startSide;
  m_endSide = endSide;
  m_flow = 0;
  m_capacity = capacity == 0 ? kDefaultCapacity : capacity;
  m_velocity = velocity == -1.0 ? kDefaultVelocity : velocity;
  m_length = length;
  m_t0 = length / m_velocity;
  m_a = 1.0;
  m_b = 4.0;
  m_travelTimeValid = 0;
  m_created = 1;
  return true;
}

bool CSimStreet::Destroy() {
  if (m_start) m_start->RemoveOutStreet(this, m_startSide);
  if (m_end) m_end->RemoveInStreet(this, m_endSide);
  m_start = m_end = nullptr;
  m_created = 0;
  return true;
}

int CSimStreet::TravelTime() {
  if (m_travelTimeValid) return m_travelTime;
  if (m_capacity == 0) m_capacity = kDefaultCapacity;
  const double x = static_cast<double>(m_flow) / m_capacity;
  // The usual exponent 4 as two squarings: a street's time is computed
  // again after every loading step that uses it, and pow() is slow.
  const double x2 = x * x;
  double t = m_t0 * (1.0 + m_a * (m_b == 4.0 ? x2 * x2 : std::pow(x, m_b))) + 0.5;
  if (m_guidance) t *= 0.8;
  // A zero or negative velocity gives an infinite or undefined t0; such a
  // street, like a hopelessly jammed one, is simply too slow to use.
  if (!(t < kMaxTravelTime))
    m_travelTime = kMaxTravelTime;
  else if (t < 0.0)
    m_travelTime = 0;
  else
    m_travelTime = static_cast<int>(std::floor(t));
  m_travelTimeValid = 1;
  return m_travelTime;
}

void CSimStreet::ResetCarFlow() {
  m_flow = 0;
  m_travelTimeValid = 0;
}

int CSimStreet::StreetLength() const {
  if (!IsCreated())
    return SimSetError(8, "Fehler in CSimStreet::StreetLength()", "street %d", static_cast<int>(Key())), 0;
  return m_length;
}
