// The city model's state that the agent list's record does not carry, kept
// in a record of its own in the savegame's object list.
#include <climits>
#include <cstdint>
#include <utility>
#include <vector>

#include "framework/qno_log.h"
#include "framework/zor_record.h"
#include "sim/sim_city_model.h"

namespace {

// The re-planning count and the seven behaviour parameters.
constexpr uint32_t kFixedPart = 4 + 7 * 4;
// Per district its parking search time and the parking map's cell.
constexpr uint32_t kParkingPart = CSimCityModell::kDistricts * (4 + 4);
// Per measured cell its index (from - 1) x 256 + (to - 1) and its value.
constexpr uint32_t kMeasuredEntry = 2 + 4;
// The ranges the loaded values are held to: a re-planning count a city of
// millions stays below, the behaviour parameters (sizes of nodes whose
// ranges lie between -21 and 644, each taken to a value of 0 or more), and
// a measured cell's value, 3600 / (seconds + 5) at most 720.
constexpr int32_t kMaxReplanCount = 1 << 20;
constexpr float kMaxParameter = 10000.0f;
constexpr float kMaxMeasured = 3600.0f;

uint32_t MeasuredCells(const std::vector<float>& measured) {
  uint32_t n = 0;
  for (float cell : measured) n += cell != 0.0f ? 1u : 0u;
  return n;
}

}  // namespace

uint32_t CSimCityModell::StateSize() const {
  return kFixedPart + kParkingPart + 4 + MeasuredCells(m_Measured) * kMeasuredEntry;
}

bool CSimCityModell::SaveState(FILE* file) const {
  ZorRecordWriter out(file);
  out.I32(m_ReplanCount);
  for (float v : {m_TripScale, m_Gravity, m_ModalSplit, m_CarOwnership, m_CarTripFactor, m_CarOwnerDeduction,
                  m_CarTripDivisor})
    out.F32(v);
  for (int id = 0; id < kDistricts; ++id) {
    const int x = id % kGrid, y = id / kGrid;
    out.I32(m_Districts[x][y].Parksuchzeit());
    out.F32(m_ParkingMap[kGrid * x + y]);
  }
  out.U32(MeasuredCells(m_Measured));
  for (size_t cell = 0; cell < m_Measured.size(); ++cell)
    if (m_Measured[cell] != 0.0f) {
      out.U16(static_cast<uint16_t>(cell));
      out.F32(m_Measured[cell]);
    }
  return out.Ok();
}

bool CSimCityModell::LoadState(FILE* file, uint32_t length) {
  if (length < kFixedPart + kParkingPart + 4) return false;
  ZorRecordReader in(file);
  int32_t replan = in.I32();
  float parameters[7];
  for (float& v : parameters) v = in.F32();
  std::vector<int32_t> seconds(kDistricts);
  std::vector<float> map(kDistricts);
  for (int id = 0; id < kDistricts; ++id) {
    seconds[static_cast<size_t>(id)] = in.I32();
    map[static_cast<size_t>(id)] = in.F32();
  }
  const uint32_t measured = in.U32();
  if (!in.Ok() || length != kFixedPart + kParkingPart + 4 + uint64_t{measured} * kMeasuredEntry) return false;
  std::vector<std::pair<uint16_t, float>> cells(measured);
  for (auto& [cell, value] : cells) {
    cell = in.U16();
    value = in.F32();
  }
  if (!in.Ok()) return false;
  // Each value is held to its range, as a field of any record: no count
  // below 0, no value that is no number.
  ZorFieldRange range;
  range.Hold(replan, 0, kMaxReplanCount, "re-planning count");
  static const char* const kParameterNames[7] = {"trip scale",         "gravity",           "modal split",
                                                 "car ownership",      "car trip factor",   "car owner deduction",
                                                 "persons per car"};
  for (int i = 0; i < 7; ++i) range.Hold(parameters[i], i == 6 ? 0.01f : 0.0f, kMaxParameter, kParameterNames[i]);
  for (int32_t& s : seconds) range.Hold(s, 0, INT32_MAX, "parking search time");
  for (float& v : map) range.Hold(v, 0.0f, 1.0f, "parking map");
  for (auto& cell : cells) range.Hold(cell.second, 0.0f, kMaxMeasured, "measured travel time");
  for (const ZorFieldRange::Change& c : range.Changes())
    QNO_LOG("The city model's state: %s %g held to %g", c.field, c.was, c.now);
  m_ReplanCount = replan;
  m_TripScale = parameters[0];
  m_Gravity = parameters[1];
  m_ModalSplit = parameters[2];
  m_CarOwnership = parameters[3];
  m_CarTripFactor = parameters[4];
  m_CarOwnerDeduction = parameters[5];
  m_CarTripDivisor = parameters[6];
  for (int id = 0; id < kDistricts; ++id) {
    const int x = id % kGrid, y = id / kGrid;
    m_Districts[x][y].SetParksuchzeit(seconds[static_cast<size_t>(id)]);
    m_ParkingMap[kGrid * x + y] = map[static_cast<size_t>(id)];
  }
  m_Measured.clear();
  for (const auto& [cell, value] : cells)
    MeasuredRow(static_cast<short>(cell / kDistricts + 1))[cell % kDistricts] = value;
  return true;
}
