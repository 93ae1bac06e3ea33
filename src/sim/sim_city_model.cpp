#include "sim/sim_city_model.h"

#include <cmath>

#include "framework/zor_seams.h"
#include "sim/sim_error.h"
#include "sim/sim_location.h"
#include "sim/sim_welt.h"

namespace {

// The air-line estimates between every two districts, (from - 1) x 256 +
// (to - 1), as floats: they depend on the grid alone and are worked out
// once for every model.
const std::vector<float>& AirLine() {
  static const std::vector<float> table = [] {
    constexpr int n = CSimCityModell::kDistricts;
    std::vector<float> t(static_cast<size_t>(n) * n);
    for (int a = 0; a < n; ++a)
      for (int b = 0; b < n; ++b)
        t[static_cast<size_t>(a * n + b)] = static_cast<float>(CSimCityModell::AverageOneOverTravelTimeLuftLinie(
            static_cast<short>(a + 1), static_cast<short>(b + 1)));
    return t;
  }();
  return table;
}

}  // namespace

CSimCityModell::CSimCityModell() = default;

CSimCityModell::~CSimCityModell() {
  if (m_valid) Destroy();
}

void CSimCityModell::CheckValid(const char* where) const {
  if (!m_valid) throw CSimError::SetError(where, "<IsValid() != true>");
}

void CSimCityModell::ResetCounters() {
  for (unsigned& g : m_Groups) g = 0;
  m_ResSpace = m_ComSpace = m_IndSpace = 0;
  m_Homes = m_Residents = m_Jobs = m_Workers = m_SchoolSeats = m_Scholars = 0;
  m_UniversitySeats = m_Students = m_Shops = m_Consumers = m_LeisurePoints = m_Leisurers = m_Parking = 0;
  m_CarTrips = m_BusTrips = m_FeetTrips = 0;
  m_ReisezeitMIV = m_ZugangszeitMIV = m_ParksuchzeitMIV = m_FahrzeitMIV = 0;
  m_ReisezeitBus = m_FahrzeitBus = m_ZugangszeitBus = m_UmsteigezeitBus = 0;
  m_StreckenlaengeMIV = m_GeschwindigkeitMIV = m_StreckenlaengeBus = m_GeschwindigkeitBus = 0;
  m_Raumwiderstaende = m_StreckenlaengeFeet = 0;
}

bool CSimCityModell::Create(CSimLocationFactory* factory, CSimWelt* world) {
  m_ReplanCount = 20;
  m_TripLengthGroup = 5;
  if (m_valid) throw CSimError::SetError("CSimCityModell::Create()", "<IsValid() == true>");
  if (!factory || !world) return SimSetError(2, "Fehler in CSimCityModell::Create()"), false;
  m_pLocationFactory = factory;
  m_pSimWelt = world;
  for (int x = 0; x < kGrid; ++x)
    for (int y = 0; y < kGrid; ++y)
      if (!m_Districts[x][y].Create(DistrictID(x, y), this)) SimSetError(1, "Fehler in CSimCityModell::Create()");
  m_Measured.clear();
  if (!CreateAgentParts()) return SimSetError(17, "Fehler in CSimCityModell::Create()"), false;
  ResetCounters();
  m_QueryX = m_QueryY = 8;
  m_TargetWorkers = 60.0f;
  m_TargetNoWorkers = 30.0f;
  m_TargetStudents = 10.0f;
  m_ModalSplit = kNeutralModalSplit;
  m_CarTripDivisor = kDefaultCarTripDivisor;
  m_valid = 1;
  return true;
}

void CSimCityModell::Destroy() {
  CheckValid("CSimCityModell::Destroy()");
  // The agents go first: leaving, they unlink from their districts.
  DestroyAgentParts();
  for (auto& column : m_Districts)
    for (CSimDistrict& d : column)
      if (d.IsValid()) d.Destroy();
  m_valid = 0;
}

// ---------------------------------------------------------------- districts

short CSimCityModell::DistrictID(int x, int y) {
  if (x < 0 || x >= kGrid || y < 0 || y >= kGrid) return SimSetError(1, "Fehler in CSimCiytModell::DistrictID()"), 0;
  return static_cast<short>(x + kGrid * y + 1);
}

bool CSimCityModell::District(short id, int& x, int& y) {
  if (id < 1 || id > kDistricts) return SimSetError(1, "Fehler in CSimCityModell::District()"), false;
  x = (id - 1) % kGrid;
  y = (id - 1) / kGrid;
  return true;
}

CSimDistrict* CSimCityModell::pDistrict(short id) {
  if (id < 1 || id > kDistricts) throw CSimError::SetError("CSimCityModell::pDistrict()", "district-ID invalid");
  return &m_Districts[(id - 1) % kGrid][(id - 1) / kGrid];
}

bool CSimCityModell::RegisterLocation(CSimLocation* location, short districtId) {
  if (!location) return SimSetError(2, "Fehler in CSimCityModell::RegisterLocation()"), false;
  int x, y;
  if (districtId != 0) {
    if (!District(districtId, x, y)) return SimSetError(1, "Fehler in CSimCityModell::RegisterLocation()"), false;
  } else {
    x = location->Position().PosX() / 8;
    y = location->Position().PosY() / 8;
  }
  if (districtId == 0 && (location->Position().PosX() < 0 || location->Position().PosY() < 0)) x = -1;
  if (x < 0 || x >= kGrid || y < 0 || y >= kGrid)
    return SimSetError(1, "Fehler in CSimCityModell::RegisterLocation()"), false;
  if (!m_Districts[x][y].AddLocation(location))
    return SimSetError(1, "Fehler in CSimCityModell::RegisterLocation()"), false;
  return true;
}

bool CSimCityModell::RemoveLocation(CSimLocation* location) {
  if (!location) return SimSetError(2, "Fehler in CSimCityModell::RemoveLocation()"), false;
  // Called from the player's removal of a building: a fault of the agents
  // that used the location is reported here and goes no further.
  try {
    const short id = location->GetDistrictID();
    if (id < 1 || id > kDistricts) return SimSetError(1, "Fehler in CSimCityModell::RemoveLocation()"), false;
    return pDistrict(id)->RemoveLocation(location);
  } catch (const char* text) {
    SimSetError(1, "Fehler in CSimCityModell::RemoveLocation()", "%s", text);
    return false;
  }
}

// ----------------------------------------------------------- travel times

double CSimCityModell::AverageOneOverTravelTimeLuftLinie(short a, short b) {
  int xa = 0, ya = 0, xb = 0, yb = 0;
  if (!District(a, xa, ya) || !District(b, xb, yb)) return 0.0;
  const float dx = static_cast<float>(xa - xb) * 800.0f;
  const float dy = static_cast<float>(ya - yb) * 800.0f;
  const float d = std::sqrt(dx * dx + dy * dy) * 1.5f;
  if (d == 0.0f) return 3600.0;
  float t = d * 0.125f;
  if (t == 0.0f) t = 1.0f;
  return 3600.0 / t;
}

double CSimCityModell::AverageOneOverTravelTime(short from, short to, bool airLineIfUnknown) const {
  if (from < 1 || from > kDistricts || to < 1 || to > kDistricts)
    return SimSetError(1, "Fehler in CSimCityModell::AverageTravelTime()"), 0.0;
  const float measured = Measured(from, to);
  if (measured != 0.0f) return measured;
  return airLineIfUnknown ? AirLine()[static_cast<size_t>((from - 1) * kDistricts + (to - 1))] : 0.0;
}

float* CSimCityModell::MeasuredRow(short from) {
  if (m_Measured.empty()) m_Measured.resize(static_cast<size_t>(kDistricts) * kDistricts);
  return &m_Measured[static_cast<size_t>((from - 1) * kDistricts)];
}

void CSimCityModell::NewCarData(short from, short to, int seconds) {
  if (from < 1 || from > kDistricts || to < 1 || to > kDistricts)
    return SimSetError(1, "Fehler in CSimCityModell::NewCarData()");
  const float v = static_cast<float>(3600.0 / (seconds + 5));
  auto blend = [v](float& cell) { cell = cell > 0.0f ? (4.0f * cell + v) / 5.0f : v; };
  float* row = MeasuredRow(from);
  blend(row[to - 1]);
  // The neighbourhood is taken on ids: at the grid's left and right edges it
  // runs on into the next row, and the cell itself is blended once more.
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) {
      const int column = to - 1 + dx + kGrid * dy;
      if (column >= 0 && column < kDistricts) blend(row[column]);
    }
}

// ----------------------------------------------------------------- counters

#define ZOR_CITY_COUNTER(name, field)              \
  bool CSimCityModell::Add##name(unsigned n) {     \
    field += n;                                    \
    return true;                                   \
  }                                                \
  bool CSimCityModell::Remove##name(unsigned n) {  \
    field -= n;                                    \
    return true;                                   \
  }
ZOR_CITY_COUNTER(Homes, m_Homes)
ZOR_CITY_COUNTER(Residents, m_Residents)
ZOR_CITY_COUNTER(Jobs, m_Jobs)
ZOR_CITY_COUNTER(Workers, m_Workers)
ZOR_CITY_COUNTER(SchoolSeats, m_SchoolSeats)
ZOR_CITY_COUNTER(Scholars, m_Scholars)
ZOR_CITY_COUNTER(UniversitySeats, m_UniversitySeats)
ZOR_CITY_COUNTER(Students, m_Students)
ZOR_CITY_COUNTER(Shops, m_Shops)
ZOR_CITY_COUNTER(Consumers, m_Consumers)
ZOR_CITY_COUNTER(LeisurePoints, m_LeisurePoints)
ZOR_CITY_COUNTER(Parking, m_Parking)
ZOR_CITY_COUNTER(Leisurers, m_Leisurers)
#undef ZOR_CITY_COUNTER

void CSimCityModell::AddSpaces(int residential, int industrial, int commercial) {
  m_ResSpace += static_cast<unsigned>(residential);
  m_IndSpace += static_cast<unsigned>(industrial);
  m_ComSpace += static_cast<unsigned>(commercial);
}

int CSimCityModell::NrOfMIVTrips() const {
  // A divisor the network has not set sensibly counts as the default.
  const float divisor = m_CarTripDivisor > 0.0f ? m_CarTripDivisor : kDefaultCarTripDivisor;
  return static_cast<int>(std::ceil(m_CarTrips * 50.0f * m_TripScale / divisor));
}

int CSimCityModell::NrOfBusTrips() const { return static_cast<int>(std::ceil(m_BusTrips * 50.0f * m_TripScale)); }

int CSimCityModell::NrOfFeetTrips() const { return static_cast<int>(std::ceil(m_FeetTrips * 50.0f * m_TripScale)); }

// ------------------------------------------------------- behaviour parameters

float CSimCityModell::ModalSplitAdjust() const { return m_ModalSplit / kNeutralModalSplit; }

void CSimCityModell::ReadBehaviourParameters() {
  if (!m_pSimWelt) return;
  double v = 0.0;
  if (m_pSimWelt->CyberNodeSize("M6", v)) m_TripScale = static_cast<float>(v / 2.5);
  if (m_pSimWelt->CyberNodeSize("M3", v)) m_Gravity = static_cast<float>(v);
  if (m_pSimWelt->CyberNodeSize("M1", v)) m_ModalSplit = static_cast<float>(v);
  if (m_pSimWelt->CyberNodeSize("M7", v)) m_CarOwnership = static_cast<float>(v);
  if (m_pSimWelt->CyberNodeSize("M2", v)) m_CarOwnerDeduction = static_cast<float>(v / 100.0);
  if (m_pSimWelt->CyberNodeSize("M4", v)) m_CarTripFactor = static_cast<float>((v + 100.0) / 100.0);
  // Persons per car divide the car trips: a value of 0 or below (or none
  // that is a number) keeps the divisor it had.
  if (m_pSimWelt->CyberNodeSize("M12", v) && v > 0.0 && std::isfinite(v)) m_CarTripDivisor = static_cast<float>(v);
}

CSimTrafficSlot* CSimCityModell::pTrafficSlot(int i) const { return m_pSimWelt ? m_pSimWelt->pTrafficSlot(i) : nullptr; }

// ------------------------------------------------------------- query, groups

void CSimCityModell::SetQueryDistrict(int x, int y) {
  m_QueryX = x;
  m_QueryY = y;
}

void CSimCityModell::GetQueryDistrict(int& x, int& y) const {
  x = m_QueryX;
  y = m_QueryY;
}

void CSimCityModell::GetGroupType(int& g0, int& g1, int& g2, int& g3, int& g4) const {
  g0 = static_cast<int>(m_Groups[0]);
  g1 = static_cast<int>(m_Groups[1]);
  g2 = static_cast<int>(m_Groups[2]);
  g3 = static_cast<int>(m_Groups[3]);
  g4 = static_cast<int>(m_Groups[4]);
}

void CSimCityModell::ChangeAgentTripLengthGroup() { m_TripLengthGroup = m_TripLengthGroup >= 5 ? 0 : m_TripLengthGroup + 1; }

const double* CSimCityModell::pTripLengthDistribution(ESimTransportationMode mode) const {
  switch (mode) {
    case SIM_MODE_CAR:
      return m_TripLength[0];
    case SIM_MODE_BUS:
      return m_TripLength[1];
    case SIM_MODE_WALK:
      return m_TripLength[2];
    default:
      return nullptr;
  }
}

// ------------------------------------------------------------- target shares

void CSimCityModell::BalanceWerte(float& a, float& b, float& c) {
  const float s = b + c;
  if (s == 0.0f) {
    a = 100.0f;
    return;
  }
  const float r = 100.0f - (a + b + c);
  b += b / s * r;
  c += c / s * r;
}

void CSimCityModell::SetAgentWorker_Target(float v) {
  m_TargetWorkers = v;
  BalanceWerte(m_TargetWorkers, m_TargetNoWorkers, m_TargetStudents);
}

void CSimCityModell::SetAgentNoWorker_Target(float v) {
  m_TargetNoWorkers = v;
  BalanceWerte(m_TargetNoWorkers, m_TargetStudents, m_TargetWorkers);
}

void CSimCityModell::SetAgentStudent_Target(float v) {
  m_TargetStudents = v;
  BalanceWerte(m_TargetStudents, m_TargetWorkers, m_TargetNoWorkers);
}

void CSimCityModell::GetAgent_Target(int& workers, int& nonWorkers, int& students) const {
  students = static_cast<int>(m_TargetStudents);
  nonWorkers = static_cast<int>(m_TargetNoWorkers);
  workers = 100 - (students + nonWorkers);
}

void CSimCityModell::GetAgentReal(int& workers, int& nonWorkers, int& students) const {
  const unsigned n = m_Groups[0] + m_Groups[1] + m_Groups[2] + m_Groups[3] + m_Groups[4];
  if (n == 0) {
    workers = nonWorkers = students = 0;
    return;
  }
  const double total = n;
  students = static_cast<int>(m_Groups[4] / total * 100.0);
  nonWorkers = static_cast<int>((m_Groups[2] + m_Groups[3]) / total * 100.0);
  workers = 100 - (students + nonWorkers);
}
